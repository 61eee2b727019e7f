// Spatial pairs of flat objects (points, lines, segments, rays, planes,
// triangles): which meet (exact predicates) and what their intersection is.
#include <CGAL/intersection_3.h>

#include "companion/intersections/line_plane_points.hpp"
#include "companion/intersections/pair_entries.hpp"

namespace zenolith::companion {

// The kernel decides that two rays meet when their supporting lines meet
// behind both sources (rays from (-2, -1, 2) down the z axis and from
// (-1, 0, 2) along (1, 1, -2)); its construction is right.
template <>
struct Meet<Ray3, Ray3> {
    bool operator()(const K::Ray_3& x, const K::Ray_3& y) const { return meet_by_construction(x, y); }
};

// A line, ray or segment that meets a plane or a triangle without lying in
// it crosses it in one point (see line_plane_points.hpp).
template <class A, class B>
struct LinePlaneCrossing {
    static constexpr bool exists = true;
    std::optional<K::Point_3> operator()(const decltype(A::v)& x, const decltype(B::v)& y) const {
        return crossing_point<intersection_bits>(x, y);
    }
};
template <> struct CrossingPoint<Line3, Plane3> : LinePlaneCrossing<Line3, Plane3> {};
template <> struct CrossingPoint<Ray3, Plane3> : LinePlaneCrossing<Ray3, Plane3> {};
template <> struct CrossingPoint<Segment3, Plane3> : LinePlaneCrossing<Segment3, Plane3> {};
template <> struct CrossingPoint<Line3, Triangle3> : LinePlaneCrossing<Line3, Triangle3> {};
template <> struct CrossingPoint<Ray3, Triangle3> : LinePlaneCrossing<Ray3, Triangle3> {};
template <> struct CrossingPoint<Segment3, Triangle3> : LinePlaneCrossing<Segment3, Triangle3> {};

// ... and whether it meets a triangle, by floating-point filters first.
template <class A>
struct LineTriangleQuickMeet {
    static constexpr bool exists = true;
    std::optional<bool> operator()(const decltype(A::v)& x, const K::Triangle_3& y) const { return quick_meet(x, y); }
};
template <> struct QuickMeet<Line3, Triangle3> : LineTriangleQuickMeet<Line3> {};
template <> struct QuickMeet<Ray3, Triangle3> : LineTriangleQuickMeet<Ray3> {};
template <> struct QuickMeet<Segment3, Triangle3> : LineTriangleQuickMeet<Segment3> {};

void add_spatial_intersections(Tables& t) {
    add_intersection<Point3, Point3>(t);
    add_intersection<Point3, Line3>(t);
    add_intersection<Point3, Segment3>(t);
    add_intersection<Point3, Ray3>(t);
    add_intersection<Point3, Plane3>(t);
    add_intersection<Point3, Triangle3>(t);
    add_intersection<Line3, Line3>(t);
    add_intersection<Line3, Segment3>(t);
    add_intersection<Line3, Ray3>(t);
    add_intersection<Line3, Plane3>(t);
    add_intersection<Line3, Triangle3>(t);
    add_intersection<Segment3, Segment3>(t);
    add_intersection<Segment3, Ray3>(t);
    add_intersection<Segment3, Plane3>(t);
    add_intersection<Segment3, Triangle3>(t);
    add_intersection<Ray3, Ray3>(t);
    add_intersection<Ray3, Plane3>(t);
    add_intersection<Ray3, Triangle3>(t);
    add_intersection<Plane3, Plane3>(t);
    add_intersection<Plane3, Triangle3>(t);
    add_intersection<Triangle3, Triangle3>(t);
}

}  // namespace zenolith::companion
