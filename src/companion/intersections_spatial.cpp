// Spatial pairs of flat objects (points, lines, segments, rays, planes,
// triangles): which meet (exact predicates) and what their intersection is.
#include <CGAL/intersection_3.h>

#include "meet.hpp"

namespace zenolith::companion {

void add_spatial_intersections(PairTables& t) {
    add_meeting<Point3, Point3>(t);
    add_meeting<Point3, Line3>(t);
    add_meeting<Point3, Segment3>(t);
    add_meeting<Point3, Ray3>(t);
    add_meeting<Point3, Plane3>(t);
    add_meeting<Point3, Triangle3>(t);
    add_meeting<Line3, Line3>(t);
    add_meeting<Line3, Segment3>(t);
    add_meeting<Line3, Ray3>(t);
    add_meeting<Line3, Plane3>(t);
    add_meeting<Line3, Triangle3>(t);
    add_meeting<Segment3, Segment3>(t);
    add_meeting<Segment3, Ray3>(t);
    add_meeting<Segment3, Plane3>(t);
    add_meeting<Segment3, Triangle3>(t);
    add_meeting<Ray3, Ray3>(t);
    add_meeting<Ray3, Plane3>(t);
    add_meeting<Ray3, Triangle3>(t);
    add_meeting<Plane3, Plane3>(t);
    add_meeting<Plane3, Triangle3>(t);
    add_meeting<Triangle3, Triangle3>(t);
}

}  // namespace zenolith::companion
