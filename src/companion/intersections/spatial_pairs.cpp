// Spatial pairs of flat objects (points, lines, segments, rays, planes,
// triangles): which meet (exact predicates) and what their intersection is.
#include <CGAL/intersection_3.h>

#include "companion/intersections/pair_entries.hpp"

namespace zenolith::companion {

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
