// Planar objects against arrays of points.
#include "branchless.hpp"
#include "queries.hpp"
#include "registrations.hpp"

namespace zenolith::companion {

void register_planar_queries(py::module_& m) {
    using I8 = std::int8_t;
    def_query<Line2, 2, I8>(m, "oriented_side_Line2", oriented_side);
    def_query<Circle2, 2, I8>(m, "oriented_side_Circle2", oriented_side);
    def_query<Triangle2, 2, I8>(m, "oriented_side_Triangle2", oriented_side);

    def_query<Circle2, 2, I8>(m, "bounded_side_Circle2", bounded_side);
    def_query<Triangle2, 2, I8>(m, "bounded_side_Triangle2", &triangle_bounded_side);
    def_query<IsoRectangle2, 2, I8>(m, "bounded_side_IsoRectangle2", bounded_side);

    def_query<Line2, 2, bool>(m, "has_on_Line2", has_on);
    def_query<Segment2, 2, bool>(m, "has_on_Segment2", has_on);
    def_query<Ray2, 2, bool>(m, "has_on_Ray2", has_on);

    def_query<Line2, 2, double, 2>(m, "projection_Line2", projection);
}

}  // namespace zenolith::companion
