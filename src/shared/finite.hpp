// The one finiteness rule. A NaN or an infinity has no exact value, so no
// exact answer exists for it: every operation that decides exactly (the
// exact predicates, do_intersect, intersection) refuses such input with the
// one message below, naming the argument and, in arrays, its first bad row.
// Operations in double arithmetic compute non-finite input as written.
#pragma once

#include <pybind11/pybind11.h>

#include <cmath>
#include <string>

#include "shared/types.hpp"

namespace zenolith {

inline bool finite(double x) { return std::isfinite(x); }
inline bool finite(const K::Point_2& p) { return finite(p.x()) && finite(p.y()); }
inline bool finite(const K::Vector_2& v) { return finite(v.x()) && finite(v.y()); }
inline bool finite(const K::Direction_2& d) { return finite(d.dx()) && finite(d.dy()); }
inline bool finite(const K::Point_3& p) { return finite(p.x()) && finite(p.y()) && finite(p.z()); }
inline bool finite(const K::Vector_3& v) { return finite(v.x()) && finite(v.y()) && finite(v.z()); }
inline bool finite(const K::Direction_3& d) {
    return finite(d.dx()) && finite(d.dy()) && finite(d.dz());
}
inline bool finite(const K::Line_2& l) { return finite(l.a()) && finite(l.b()) && finite(l.c()); }
inline bool finite(const K::Plane_3& h) {
    return finite(h.a()) && finite(h.b()) && finite(h.c()) && finite(h.d());
}
inline bool finite(const K::Line_3& l) { return finite(l.point()) && finite(l.to_vector()); }
inline bool finite(const K::Segment_2& s) { return finite(s.source()) && finite(s.target()); }
inline bool finite(const K::Segment_3& s) { return finite(s.source()) && finite(s.target()); }
inline bool finite(const K::Ray_2& r) { return finite(r.source()) && finite(r.second_point()); }
inline bool finite(const K::Ray_3& r) { return finite(r.source()) && finite(r.second_point()); }
inline bool finite(const K::Triangle_2& t) {
    return finite(t.vertex(0)) && finite(t.vertex(1)) && finite(t.vertex(2));
}
inline bool finite(const K::Triangle_3& t) {
    return finite(t.vertex(0)) && finite(t.vertex(1)) && finite(t.vertex(2));
}
inline bool finite(const K::Tetrahedron_3& t) {
    return finite(t.vertex(0)) && finite(t.vertex(1)) && finite(t.vertex(2)) &&
           finite(t.vertex(3));
}
// Axis-parallel boxes: their min and max corners determine every vertex.
inline bool finite(const K::Iso_rectangle_2& r) { return finite(r.min()) && finite(r.max()); }
inline bool finite(const K::Iso_cuboid_3& c) { return finite(c.min()) && finite(c.max()); }
inline bool finite(const CGAL::Bbox_2& b) {
    return finite(b.xmin()) && finite(b.ymin()) && finite(b.xmax()) && finite(b.ymax());
}
inline bool finite(const CGAL::Bbox_3& b) {
    return finite(b.xmin()) && finite(b.ymin()) && finite(b.zmin()) && finite(b.xmax()) &&
           finite(b.ymax()) && finite(b.zmax());
}
inline bool finite(const K::Circle_2& c) {
    return finite(c.center()) && finite(c.squared_radius());
}
inline bool finite(const K::Sphere_3& s) {
    return finite(s.center()) && finite(s.squared_radius());
}
inline bool finite(const K::Circle_3& c) {
    return finite(c.center()) && finite(c.squared_radius()) && finite(c.supporting_plane());
}

// "p: expected finite coordinates, got a NaN or an infinity"; with a row
// index (>= 0) the argument is named as "p[3]".
[[noreturn]] inline void raise_not_finite(const char* name, long long row = -1) {
    std::string where = name;
    if (row >= 0) where += "[" + std::to_string(row) + "]";
    throw pybind11::value_error(where + ": expected finite coordinates, got a NaN or an infinity");
}

// Refuses a kernel object of the core (e.g. `p.v`) with a NaN or an infinity.
template <class T>
void require_finite(const T& obj, const char* name) {
    if (!finite(obj)) raise_not_finite(name);
}

}  // namespace zenolith
