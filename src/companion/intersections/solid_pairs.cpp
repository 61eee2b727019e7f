// Spatial pairs with a solid or a box (spheres, tetrahedra, iso-cuboids,
// boxes): which meet (exact predicates) and what their intersection is.
#include <CGAL/intersection_3.h>

#include "companion/intersections/pair_entries.hpp"

namespace zenolith::companion {

void add_solid_intersections(Tables& t) {
    add_intersection<Sphere3, Point3>(t);
    add_decision_only<Sphere3, Line3>(t);
    add_decision_only<Sphere3, Segment3>(t);
    add_decision_only<Sphere3, Ray3>(t);
    add_intersection<Sphere3, Plane3>(t);
    add_decision_only<Sphere3, Triangle3>(t);
    add_intersection<Sphere3, Sphere3>(t);
    add_decision_only<Sphere3, Tetrahedron3>(t);
    add_decision_only<Sphere3, IsoCuboid3>(t);
    add_decision_only<Sphere3, Bbox3>(t);
    add_intersection<Tetrahedron3, Point3>(t);
    add_intersection<Tetrahedron3, Line3>(t);
    add_intersection<Tetrahedron3, Segment3>(t);
    add_intersection<Tetrahedron3, Ray3>(t);
    add_intersection<Tetrahedron3, Plane3>(t);
    add_intersection<Tetrahedron3, Triangle3>(t);
    add_decision_only<Tetrahedron3, Tetrahedron3>(t);
    add_decision_only<Tetrahedron3, IsoCuboid3>(t);
    add_decision_only<Tetrahedron3, Bbox3>(t);
    add_intersection<IsoCuboid3, Point3>(t);
    add_intersection<IsoCuboid3, Line3>(t);
    add_intersection<IsoCuboid3, Segment3>(t);
    add_intersection<IsoCuboid3, Ray3>(t);
    add_intersection<IsoCuboid3, Plane3>(t);
    add_intersection<IsoCuboid3, Triangle3>(t);
    add_intersection<IsoCuboid3, IsoCuboid3>(t);
    add_intersection<IsoCuboid3, Bbox3>(t);
    add_intersection<Bbox3, Point3>(t);
    add_intersection<Bbox3, Line3>(t);
    add_intersection<Bbox3, Segment3>(t);
    add_intersection<Bbox3, Ray3>(t);
    add_intersection<Bbox3, Plane3>(t);
    add_intersection<Bbox3, Triangle3>(t);
    add_intersection<Bbox3, Bbox3>(t);
}

}  // namespace zenolith::companion
