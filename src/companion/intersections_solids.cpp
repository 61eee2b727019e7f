// Spatial pairs with a solid or a box (spheres, tetrahedra, iso-cuboids,
// boxes): which meet (exact predicates) and what their intersection is.
#include <CGAL/intersection_3.h>

#include "meet.hpp"

namespace zenolith::companion {

void add_solid_intersections(PairTables& t) {
    add_meeting<Sphere3, Point3>(t);
    add_decision<Sphere3, Line3>(t);
    add_decision<Sphere3, Segment3>(t);
    add_decision<Sphere3, Ray3>(t);
    add_meeting<Sphere3, Plane3>(t);
    add_decision<Sphere3, Triangle3>(t);
    add_meeting<Sphere3, Sphere3>(t);
    add_decision<Sphere3, Tetrahedron3>(t);
    add_decision<Sphere3, IsoCuboid3>(t);
    add_decision<Sphere3, Bbox3>(t);
    add_meeting<Tetrahedron3, Point3>(t);
    add_meeting<Tetrahedron3, Line3>(t);
    add_meeting<Tetrahedron3, Segment3>(t);
    add_meeting<Tetrahedron3, Ray3>(t);
    add_meeting<Tetrahedron3, Plane3>(t);
    add_meeting<Tetrahedron3, Triangle3>(t);
    add_decision<Tetrahedron3, Tetrahedron3>(t);
    add_decision<Tetrahedron3, IsoCuboid3>(t);
    add_decision<Tetrahedron3, Bbox3>(t);
    add_meeting<IsoCuboid3, Point3>(t);
    add_meeting<IsoCuboid3, Line3>(t);
    add_meeting<IsoCuboid3, Segment3>(t);
    add_meeting<IsoCuboid3, Ray3>(t);
    add_meeting<IsoCuboid3, Plane3>(t);
    add_meeting<IsoCuboid3, Triangle3>(t);
    add_meeting<IsoCuboid3, IsoCuboid3>(t);
    add_meeting<IsoCuboid3, Bbox3>(t);
    add_meeting<Bbox3, Point3>(t);
    add_meeting<Bbox3, Line3>(t);
    add_meeting<Bbox3, Segment3>(t);
    add_meeting<Bbox3, Ray3>(t);
    add_meeting<Bbox3, Plane3>(t);
    add_meeting<Bbox3, Triangle3>(t);
    add_meeting<Bbox3, Bbox3>(t);
}

}  // namespace zenolith::companion
