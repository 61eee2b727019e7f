// Degenerate operands as the simpler objects they are (see
// degenerate_operands.cpp). The entries ask may_be_simpler first: a cheap
// test on the kernel value, so that proper objects never pay for the
// reduction, which goes through Python objects.
#pragma once

#include <pybind11/pybind11.h>

#include <optional>

#include "companion/exact/exact_kernel.hpp"

namespace zenolith::companion {

namespace py = pybind11;

// Whether a finite value may be degenerate in a way degenerate_operands.cpp
// simplifies or refuses; false for the classes that have no such way.
template <class T>
bool may_be_simpler(const T&) {
    return false;
}
inline bool may_be_simpler(const K::Segment_2& s) { return s.source() == s.target(); }
inline bool may_be_simpler(const K::Segment_3& s) { return s.source() == s.target(); }
inline bool may_be_simpler(const K::Ray_2& r) { return r.source() == r.second_point(); }
inline bool may_be_simpler(const K::Ray_3& r) { return r.source() == r.second_point(); }
inline bool may_be_simpler(const K::Line_2& l) { return l.a() == 0 && l.b() == 0; }
inline bool may_be_simpler(const K::Line_3& l) { return l.to_vector() == CGAL::NULL_VECTOR; }
inline bool may_be_simpler(const K::Plane_3& h) { return h.a() == 0 && h.b() == 0 && h.c() == 0; }
inline bool may_be_simpler(const K::Triangle_2& t) {
    return CGAL::collinear(to_exact(t[0]), to_exact(t[1]), to_exact(t[2]));
}
inline bool may_be_simpler(const K::Triangle_3& t) {
    return CGAL::collinear(to_exact(t[0]), to_exact(t[1]), to_exact(t[2]));
}
inline bool may_be_simpler(const K::Tetrahedron_3& t) {
    return CGAL::coplanar(to_exact(t[0]), to_exact(t[1]), to_exact(t[2]), to_exact(t[3]));
}
// a box with a zero extent (or an empty one: the reduction tells them apart)
inline bool may_be_simpler(const K::Iso_rectangle_2& b) {
    return !(b.xmin() < b.xmax() && b.ymin() < b.ymax());
}
inline bool may_be_simpler(const K::Iso_cuboid_3& b) {
    return !(b.xmin() < b.xmax() && b.ymin() < b.ymax() && b.zmin() < b.zmax());
}
inline bool may_be_simpler(const CGAL::Bbox_2& b) {
    return !(b.xmin() < b.xmax() && b.ymin() < b.ymax());
}
inline bool may_be_simpler(const CGAL::Bbox_3& b) {
    return !(b.xmin() < b.xmax() && b.ymin() < b.ymax() && b.zmin() < b.zmax());
}

// Whether a box is empty (a minimum above its maximum, as in the empty box
// Bbox2() holds): it holds no point, so it meets nothing. The kernel's
// pairs disagree on it (a triangle meets the rectangle of its sorted
// bounds, then no intersection is constructed), so the entries answer first.
template <class T>
bool holds_no_point(const T&) {
    return false;
}
inline bool holds_no_point(const CGAL::Bbox_2& b) { return b.xmin() > b.xmax() || b.ymin() > b.ymax(); }
inline bool holds_no_point(const CGAL::Bbox_3& b) {
    return b.xmin() > b.xmax() || b.ymin() > b.ymax() || b.zmin() > b.zmax();
}

// `op` ("do_intersect", "intersection", "squared_distance") of the simpler
// objects that degenerate operands are (a segment of two equal ends is its
// point, a flat triangle the segment of its extremes); nothing when both
// operands are proper, or when the operation does not take the simpler pair.
std::optional<py::object> with_simpler_operands(const char* op, py::handle a, py::handle b);

// The simpler object a degenerate one is, None for a proper one; a Line2
// with a = b = 0 or a Plane3 with a = b = c = 0 holds no point and raises
// ValueError under the name `op`. For finite objects only.
py::object simpler_operand(const char* op, py::handle obj);

// `op`_points (do_intersect_points, squared_distance_points) of the simpler
// object a degenerate `obj` is against `points`; nothing for a proper one.
std::optional<py::object> with_simpler_object(const char* op, py::handle obj, py::handle points);

}  // namespace zenolith::companion
