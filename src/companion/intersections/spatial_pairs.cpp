// Spatial pairs of flat objects (points, lines, segments, rays, planes,
// triangles): which meet (exact predicates) and what their intersection is.
#include <CGAL/intersection_3.h>

#include "companion/intersections/pair_entries.hpp"

namespace zenolith::companion {

// The kernel decides that two rays meet when their supporting lines meet
// behind both sources (rays from (-2, -1, 2) down the z axis and from
// (-1, 0, 2) along (1, 1, -2)); its construction is right.
template <>
struct Meet<Ray3, Ray3> {
    bool operator()(const K::Ray_3& x, const K::Ray_3& y) const { return meet_by_construction(x, y); }
};

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
