// Spatial objects against arrays of points, and a plane's 2D coordinates.
#include "../module/triangles.hpp"
#include "branchless.hpp"
#include "queries.hpp"
#include "registrations.hpp"

namespace zenolith::companion {

void register_spatial_queries(py::module_& m) {
    using I8 = std::int8_t;
    def_query<Plane3, 3, I8>(m, "oriented_side_Plane3", &plane_side);
    def_query<Sphere3, 3, I8>(m, "oriented_side_Sphere3", oriented_side);
    def_query<Tetrahedron3, 3, I8>(m, "oriented_side_Tetrahedron3", oriented_side);

    def_query<Sphere3, 3, I8>(m, "bounded_side_Sphere3", bounded_side);
    def_query<Tetrahedron3, 3, I8>(m, "bounded_side_Tetrahedron3", bounded_side);
    def_query<IsoCuboid3, 3, I8>(m, "bounded_side_IsoCuboid3", bounded_side);

    def_query<Line3, 3, bool>(m, "has_on_Line3", has_on);
    def_query<Segment3, 3, bool>(m, "has_on_Segment3", has_on);
    def_query<Ray3, 3, bool>(m, "has_on_Ray3", has_on);
    def_query<Plane3, 3, bool>(m, "has_on_Plane3", has_on);
    def_query<Triangle3, 3, bool>(m, "has_on_Triangle3", &triangle_has_on);

    def_query<Line3, 3, double, 3>(m, "projection_Line3", projection);
    def_query<Plane3, 3, double, 3>(m, "projection_Plane3", projection);

    def_query<Plane3, 3, double, 2>(m, "to_2d_Plane3",
                                    [](const K::Plane_3& h, const K::Point_3& p) { return h.to_2d(p); });
    def_query<Plane3, 2, double, 3>(m, "to_3d_Plane3",
                                    [](const K::Plane_3& h, const K::Point_2& p) { return h.to_3d(p); });
}

}  // namespace zenolith::companion
