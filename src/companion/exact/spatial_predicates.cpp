// Exact spatial predicates: the kernel's filtered predicates over the given
// doubles, so every sign is the sign of exact arithmetic on them.
#include <algorithm>
#include <cmath>

#include "companion/exact/predicate_bindings.hpp"
#include "companion/exact/static_filters.hpp"
#include "companion/registrations.hpp"

namespace zenolith::companion::exact {

namespace {

using EP3 = EK::Point_3;

// The kernel's semi-static filter for spatial orientation (same determinant,
// same error bound, same range guards), without branches on the data, as
// for planar orientation. Undecided cases go to the kernel's predicate.
CGAL::Orientation orientation_3(const EP3& p, const EP3& q, const EP3& r, const EP3& s) {
    const double pqx = q.x() - p.x(), pqy = q.y() - p.y(), pqz = q.z() - p.z();
    const double prx = r.x() - p.x(), pry = r.y() - p.y(), prz = r.z() - p.z();
    const double psx = s.x() - p.x(), psy = s.y() - p.y(), psz = s.z() - p.z();
    const double det = CGAL::determinant(pqx, pqy, pqz, prx, pry, prz, psx, psy, psz);
    const double maxx = std::max({std::fabs(pqx), std::fabs(prx), std::fabs(psx)});
    const double maxy = std::max({std::fabs(pqy), std::fabs(pry), std::fabs(psy)});
    const double maxz = std::max({std::fabs(pqz), std::fabs(prz), std::fabs(psz)});
    const double lo = std::min({maxx, maxy, maxz}), hi = std::max({maxx, maxy, maxz});
    if (lo >= 1e-97 && hi < 1e102) {  // no underflow in eps, no overflow in det
        const double eps = 5.1107127829973299e-15 * maxx * maxy * maxz;
        if (std::fabs(det) > eps) return det > 0 ? CGAL::POSITIVE : CGAL::NEGATIVE;
    }
    return CGAL::orientation(p, q, r, s);
}

CGAL::Oriented_side plane_oriented_side(const EK::Plane_3& h, const EP3& p) {
    if (auto s = plane_side(h.a(), h.b(), h.c(), h.d(), p.x(), p.y(), p.z())) {
        return static_cast<CGAL::Oriented_side>(*s);
    }
    return h.oriented_side(p);
}

bool plane_has_on(const EK::Plane_3& h, const EP3& p) {
    return plane_oriented_side(h, p) == CGAL::ON_ORIENTED_BOUNDARY;
}

CGAL::Bounded_side sphere_bounded_side(const EK::Sphere_3& s, const EP3& p) {
    const double center[3] = {s.center().x(), s.center().y(), s.center().z()};
    const double point[3] = {p.x(), p.y(), p.z()};
    if (auto side = ball_side<3>(center, s.squared_radius(), point)) {
        return static_cast<CGAL::Bounded_side>(*side);
    }
    return s.bounded_side(p);
}

// A triangle whose vertices are collinear holds exactly the points of the
// segments between its vertices (as the core's Triangle3 does), not every
// point of its line.
bool triangle_has_on_exact(const EK::Triangle_3& t, const EP3& p) {
    if (!t.is_degenerate()) return t.has_on(p);
    for (int i = 0; i < 3; ++i)
        if (EK::Segment_3(t.vertex(i), t.vertex(i + 1)).has_on(p)) return true;
    return false;
}

// A tetrahedron whose vertices are coplanar has no interior: its boundary is
// the union of its four (flat) faces, and every other point, elsewhere in
// its plane included, is outside.
CGAL::Bounded_side tetrahedron_bounded_side_exact(const EK::Tetrahedron_3& t, const EP3& p) {
    if (!t.is_degenerate()) return t.bounded_side(p);
    for (int i = 0; i < 4; ++i)
        if (triangle_has_on_exact(EK::Triangle_3(t.vertex(i + 1), t.vertex(i + 2), t.vertex(i + 3)), p))
            return CGAL::ON_BOUNDARY;
    return CGAL::ON_UNBOUNDED_SIDE;
}

// A line with a zero direction vector is the single point it was given, not
// every point of space.
bool line_has_on_exact(const EK::Line_3& l, const EP3& p) {
    if (l.to_vector() == CGAL::NULL_VECTOR) return l.point() == p;
    return l.has_on(p);
}

}  // namespace

void register_exact_spatial(py::module_& m, Tables& t) {
    def_points<3, AsInt>(m, "orientation", {"p", "q", "r", "s"}, &orientation_3);
    def_points<3, AsInt>(m, "side_of_oriented_sphere", {"p", "q", "r", "s", "t"},
                         [](const EP3& p, const EP3& q, const EP3& r, const EP3& s, const EP3& t) {
                             return CGAL::side_of_oriented_sphere(p, q, r, s, t);
                         });
    def_points<3, AsInt>(m, "side_of_bounded_sphere", {"p", "q", "r", "s", "t"},
                         [](const EP3& p, const EP3& q, const EP3& r, const EP3& s, const EP3& t) {
                             return CGAL::side_of_bounded_sphere(p, q, r, s, t);
                         });
    def_points<3, AsBool>(m, "coplanar", {"p", "q", "r", "s"},
                          [](const EP3& p, const EP3& q, const EP3& r, const EP3& s) {
                              return CGAL::coplanar(p, q, r, s);
                          });
    def_points<3, AsInt>(m, "compare_z", {"p", "q"},
                         [](const EP3& p, const EP3& q) { return CGAL::compare_z(p, q); });
    def_shared_point_predicates<3>(m);

    ObjectTable& oriented_side = object_table(t, "oriented_side");
    add_object<Plane3, 3, AsInt, Call<&plane_oriented_side>>(oriented_side);
    add_object<Sphere3, 3, AsInt, OrientedSide>(oriented_side);
    add_object<Tetrahedron3, 3, AsInt, OrientedSide>(oriented_side);
    ObjectTable& bounded_side = object_table(t, "bounded_side");
    add_object<Sphere3, 3, AsInt, Call<&sphere_bounded_side>>(bounded_side);
    add_object<Tetrahedron3, 3, AsInt, Call<&tetrahedron_bounded_side_exact>>(bounded_side);
    add_object<IsoCuboid3, 3, AsInt, BoundedSide>(bounded_side);
    ObjectTable& has_on = object_table(t, "has_on");
    add_object<Line3, 3, AsBool, Call<&line_has_on_exact>>(has_on);
    add_object<Plane3, 3, AsBool, Call<&plane_has_on>>(has_on);
    add_object<Segment3, 3, AsBool, HasOn>(has_on);
    add_object<Ray3, 3, AsBool, HasOn>(has_on);
    add_object<Triangle3, 3, AsBool, Call<&triangle_has_on_exact>>(has_on);
    add_object<Sphere3, 3, AsBool, HasOn>(has_on);
    add_object<Circle3, 3, AsBool, HasOn>(has_on);
}

}  // namespace zenolith::companion::exact
