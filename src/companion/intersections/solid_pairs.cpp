// Spatial pairs with a solid or a box (spheres, tetrahedra, iso-cuboids,
// boxes): which meet (exact predicates) and what their intersection is.
#include <CGAL/intersection_3.h>

#include "companion/intersections/pair_entries.hpp"

namespace zenolith::companion {

namespace {

// Whether the line p + t v meets the box [lo, hi], over any number type
// whose comparisons are exact or refuse. Each slab bounds t by a fraction
// kept with a positive denominator; a slab the line runs parallel to bounds
// nothing when the line lies in it. (The kernel's own test keeps such a slab
// as the fraction 0/0 when the line lies on its boundary, and then finds a
// line that passes beside a flat box meeting it.)
template <class FT>
bool line_meets_box(const FT (&p)[3], const FT (&v)[3], const FT (&lo)[3], const FT (&hi)[3]) {
    bool bounded = false;
    FT low_num(0), low_den(1), high_num(0), high_den(1);  // low_num / low_den <= t <= high_num / high_den
    for (int k = 0; k < 3; ++k) {
        if (v[k] == 0) {
            if (p[k] < lo[k] || p[k] > hi[k]) return false;
            continue;
        }
        const bool down = v[k] < 0;
        const FT d = down ? -v[k] : v[k];
        const FT near = down ? p[k] - hi[k] : lo[k] - p[k];
        const FT far = down ? p[k] - lo[k] : hi[k] - p[k];
        if (!bounded) {
            low_num = near, low_den = d, high_num = far, high_den = d;
            bounded = true;
            continue;
        }
        if (near * low_den > low_num * d) low_num = near, low_den = d;
        if (far * high_den < high_num * d) high_num = far, high_den = d;
    }
    return !bounded || low_num * high_den <= high_num * low_den;
}

// Over intervals, else over rationals.
bool line_meets_box(const K::Line_3& l, const CGAL::Bbox_3& b) {
    const K::Point_3 p = l.point();
    const K::Vector_3 v = l.to_vector();
    return decide_exactly([&](const auto& to) {
        using FT = decltype(to(0.0));
        const FT ps[3] = {to(p.x()), to(p.y()), to(p.z())}, vs[3] = {to(v.x()), to(v.y()), to(v.z())};
        const FT lo[3] = {to(b.xmin()), to(b.ymin()), to(b.zmin())};
        const FT hi[3] = {to(b.xmax()), to(b.ymax()), to(b.zmax())};
        return line_meets_box(ps, vs, lo, hi);
    });
}

}  // namespace

template <>
struct Meet<IsoCuboid3, Line3> {
    bool operator()(const K::Iso_cuboid_3& c, const K::Line_3& l) const {
        return line_meets_box(l, c.bbox());
    }
};

template <>
struct Meet<Bbox3, Line3> {
    bool operator()(const CGAL::Bbox_3& b, const K::Line_3& l) const { return line_meets_box(l, b); }
};

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
