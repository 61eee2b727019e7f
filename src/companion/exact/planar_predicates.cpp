// Exact planar predicates: the kernel's filtered predicates over the given
// doubles, so every sign is the sign of exact arithmetic on them.
#include <algorithm>
#include <cmath>

#include "companion/exact/predicate_bindings.hpp"
#include "companion/exact/static_filters.hpp"
#include "companion/registrations.hpp"

namespace zenolith::companion::exact {

namespace {

using EP2 = EK::Point_2;

// The kernel's semi-static filter for planar orientation (same determinant,
// same error bound, same range guards), written without branches on the data:
// on random input the kernel's own version spends half its time in
// mispredicted branches. What it cannot decide, ties included, goes to the
// kernel's predicate, which filters again and computes exactly.
CGAL::Orientation orientation_2(const EP2& p, const EP2& q, const EP2& r) {
    const double pqx = q.x() - p.x(), pqy = q.y() - p.y();
    const double prx = r.x() - p.x(), pry = r.y() - p.y();
    const double det = CGAL::determinant(pqx, pqy, prx, pry);
    const double maxx = std::max(std::fabs(pqx), std::fabs(prx));
    const double maxy = std::max(std::fabs(pqy), std::fabs(pry));
    const double lo = std::min(maxx, maxy), hi = std::max(maxx, maxy);
    if (lo >= 1e-146 && hi < 1e153) {  // no underflow in eps, no overflow in det
        const double eps = 8.8872057372592798e-16 * lo * hi;
        if (std::fabs(det) > eps) return det > 0 ? CGAL::POSITIVE : CGAL::NEGATIVE;
    }
    return CGAL::orientation(p, q, r);
}

CGAL::Bounded_side circle_bounded_side(const EK::Circle_2& c, const EP2& p) {
    const double center[2] = {c.center().x(), c.center().y()};
    const double point[2] = {p.x(), p.y()};
    if (auto side = ball_side<2>(center, c.squared_radius(), point)) {
        return static_cast<CGAL::Bounded_side>(*side);
    }
    return c.bounded_side(p);
}

// A triangle whose vertices are collinear has no interior: it consists of
// the points of the segments between its vertices.
bool flat_holds(const EK::Triangle_2& t, const EP2& p) {
    for (int i = 0; i < 3; ++i)
        if (EK::Segment_2(t.vertex(i), t.vertex(i + 1)).has_on(p)) return true;
    return false;
}

// The kernel's rule for a proper triangle (outside where p lies on the far
// side of an edge, on the boundary where it lies on an edge's line, else
// inside), from three orientations through the filter above: the kernel's
// own triangle predicates filter them dynamically, at several times the
// cost on random rows.
CGAL::Bounded_side triangle_bounded_side(const EK::Triangle_2& t, const EP2& p,
                                         CGAL::Orientation turn) {
    bool boundary = false;
    for (int i = 0; i < 3; ++i) {
        const CGAL::Orientation side = orientation_2(t.vertex(i), t.vertex(i + 1), p);
        if (side == -turn) return CGAL::ON_UNBOUNDED_SIDE;
        boundary = boundary || side == CGAL::COLLINEAR;
    }
    return boundary ? CGAL::ON_BOUNDARY : CGAL::ON_BOUNDED_SIDE;
}

CGAL::Bounded_side triangle_bounded_side_exact(const EK::Triangle_2& t, const EP2& p) {
    const CGAL::Orientation turn = orientation_2(t.vertex(0), t.vertex(1), t.vertex(2));
    if (turn != CGAL::COLLINEAR) return triangle_bounded_side(t, p, turn);
    return flat_holds(t, p) ? CGAL::ON_BOUNDARY : CGAL::ON_UNBOUNDED_SIDE;
}

// Inside is the triangle's own turn, outside the opposite; a flat triangle
// keeps the kernel's answer.
CGAL::Oriented_side triangle_oriented_side_exact(const EK::Triangle_2& t, const EP2& p) {
    const CGAL::Orientation turn = orientation_2(t.vertex(0), t.vertex(1), t.vertex(2));
    if (turn == CGAL::COLLINEAR) return t.oriented_side(p);
    switch (triangle_bounded_side(t, p, turn)) {
        case CGAL::ON_BOUNDED_SIDE: return turn;
        case CGAL::ON_UNBOUNDED_SIDE: return -turn;
        default: return CGAL::ON_ORIENTED_BOUNDARY;
    }
}

}  // namespace

void register_exact_planar(py::module_& m, Tables& t) {
    def_points<2, AsOrientation>(m, "orientation", {"p", "q", "r"}, &orientation_2);
    def_points<2, AsInt>(m, "side_of_oriented_circle", {"p", "q", "r", "t"},
                         [](const EP2& p, const EP2& q, const EP2& r, const EP2& t) {
                             return CGAL::side_of_oriented_circle(p, q, r, t);
                         });
    def_points<2, AsInt>(m, "side_of_bounded_circle", {"p", "q", "r", "t"},
                         [](const EP2& p, const EP2& q, const EP2& r, const EP2& t) {
                             return CGAL::side_of_bounded_circle(p, q, r, t);
                         });
    def_points<2, AsInt>(m, "compare_xy", {"p", "q"},
                         [](const EP2& p, const EP2& q) { return CGAL::compare_xy(p, q); });
    def_shared_point_predicates<2>(m);

    ObjectTable& oriented_side = object_table(t, "oriented_side");
    add_object<Line2, 2, AsInt, OrientedSide>(oriented_side);
    add_object<Circle2, 2, AsInt, OrientedSide>(oriented_side);
    add_object<Triangle2, 2, AsInt, Call<&triangle_oriented_side_exact>>(oriented_side);
    ObjectTable& bounded_side = object_table(t, "bounded_side");
    add_object<Circle2, 2, AsInt, Call<&circle_bounded_side>>(bounded_side);
    add_object<Triangle2, 2, AsInt, Call<&triangle_bounded_side_exact>>(bounded_side);
    add_object<IsoRectangle2, 2, AsInt, BoundedSide>(bounded_side);
    ObjectTable& has_on = object_table(t, "has_on");
    add_object<Line2, 2, AsBool, HasOn>(has_on);
    add_object<Segment2, 2, AsBool, HasOn>(has_on);
    add_object<Ray2, 2, AsBool, HasOn>(has_on);
}

}  // namespace zenolith::companion::exact
