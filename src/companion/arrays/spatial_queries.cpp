// Spatial objects against arrays of points, and a plane's 2D coordinates.
#include "companion/arrays/kernel_signs.hpp"
#include "companion/arrays/object_queries.hpp"
#include "companion/registrations.hpp"
#include "shared/triangles.hpp"

namespace zenolith::companion {

namespace {

struct To2d {
    K::Point_2 operator()(const K::Plane_3& h, const K::Point_3& p) const { return h.to_2d(p); }
};
struct To3d {
    K::Point_3 operator()(const K::Plane_3& h, const K::Point_2& p) const { return h.to_3d(p); }
};

}  // namespace

void register_spatial_queries(Tables& t) {
    using I8 = std::int8_t;
    add_query<Plane3, 3, I8, Call<&plane_side>>(t.objects("oriented_side"));
    add_query<Sphere3, 3, I8, OrientedSide>(t.objects("oriented_side"));
    add_query<Tetrahedron3, 3, I8, OrientedSide>(t.objects("oriented_side"));

    add_query<Sphere3, 3, I8, BoundedSide>(t.objects("bounded_side"));
    add_query<Tetrahedron3, 3, I8, BoundedSide>(t.objects("bounded_side"));
    add_query<IsoCuboid3, 3, I8, BoundedSide>(t.objects("bounded_side"));

    add_query<Line3, 3, bool, HasOn>(t.objects("has_on"));
    add_query<Plane3, 3, bool, HasOn>(t.objects("has_on"));
    add_query<Segment3, 3, bool, HasOn>(t.objects("has_on"));
    add_query<Ray3, 3, bool, HasOn>(t.objects("has_on"));
    add_query<Triangle3, 3, bool, Call<&triangle_has_on>>(t.objects("has_on"));
    add_query<Sphere3, 3, bool, HasOn>(t.objects("has_on"));
    add_query<Circle3, 3, bool, HasOn>(t.objects("has_on"));

    add_query<Line3, 3, double, Projection, 3>(t.objects("projection"));
    add_query<Plane3, 3, double, Projection, 3>(t.objects("projection"));

    add_query<Plane3, 3, double, To2d, 2>(t.objects("to_2d"));
    add_query<Plane3, 2, double, To3d, 3>(t.objects("to_3d"));
}

}  // namespace zenolith::companion
