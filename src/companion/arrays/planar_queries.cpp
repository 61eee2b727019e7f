// Planar objects against arrays of points.
#include "companion/arrays/kernel_signs.hpp"
#include "companion/arrays/object_queries.hpp"
#include "companion/registrations.hpp"

namespace zenolith::companion {

void register_planar_queries(Tables& t) {
    using I8 = std::int8_t;
    add_query<Line2, 2, I8, OrientedSide>(t.objects("oriented_side"));
    add_query<Circle2, 2, I8, OrientedSide>(t.objects("oriented_side"));
    add_query<Triangle2, 2, I8, OrientedSide>(t.objects("oriented_side"));

    add_query<Circle2, 2, I8, BoundedSide>(t.objects("bounded_side"));
    add_query<Triangle2, 2, I8, Call<&triangle_bounded_side_sign>>(t.objects("bounded_side"));
    add_query<IsoRectangle2, 2, I8, BoundedSide>(t.objects("bounded_side"));

    add_query<Line2, 2, bool, HasOn>(t.objects("has_on"));
    add_query<Segment2, 2, bool, HasOn>(t.objects("has_on"));
    add_query<Ray2, 2, bool, HasOn>(t.objects("has_on"));

    add_query<Line2, 2, double, Projection, 2>(t.objects("projection"));
}

}  // namespace zenolith::companion
