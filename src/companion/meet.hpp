// The two entries every intersecting pair gets: do_intersect decided by the
// exact-predicate kernel, and intersection constructed in that kernel (its
// case analysis uses the exact predicates, its coordinates are computed in
// doubles) and handed back as core objects.
#pragma once

#include <CGAL/version.h>

#include <string>
#include <vector>

#include "exact_kernel.hpp"
#include "pair_table.hpp"

namespace zenolith::companion {

namespace meet_detail {

// One alternative of an intersection result as a core object.
inline py::object wrap(const K::Point_2& x) { return py::cast(Point2{x}); }
inline py::object wrap(const K::Segment_2& x) { return py::cast(Segment2{x}); }
inline py::object wrap(const K::Ray_2& x) { return py::cast(Ray2{x}); }
inline py::object wrap(const K::Line_2& x) { return py::cast(Line2{x}); }
inline py::object wrap(const K::Triangle_2& x) { return py::cast(Triangle2{x}); }
inline py::object wrap(const K::Iso_rectangle_2& x) { return py::cast(IsoRectangle2{x}); }
inline py::object wrap(const CGAL::Bbox_2& x) { return py::cast(Bbox2{x}); }
inline py::object wrap(const K::Point_3& x) { return py::cast(Point3{x}); }
inline py::object wrap(const K::Segment_3& x) { return py::cast(Segment3{x}); }
inline py::object wrap(const K::Ray_3& x) { return py::cast(Ray3{x}); }
inline py::object wrap(const K::Line_3& x) { return py::cast(Line3{x}); }
inline py::object wrap(const K::Plane_3& x) { return py::cast(Plane3{x}); }
inline py::object wrap(const K::Triangle_3& x) { return py::cast(Triangle3{x}); }
inline py::object wrap(const K::Tetrahedron_3& x) { return py::cast(Tetrahedron3{x}); }
inline py::object wrap(const K::Sphere_3& x) { return py::cast(Sphere3{x}); }
inline py::object wrap(const K::Circle_3& x) { return py::cast(Circle3{x}); }
inline py::object wrap(const K::Iso_cuboid_3& x) { return py::cast(IsoCuboid3{x}); }
inline py::object wrap(const CGAL::Bbox_3& x) { return py::cast(Bbox3{x}); }

// Converts any alternative back to the core's kernel; a polygon (the
// kernel's vector of points) becomes a list of points.
struct Wrap {
    using result_type = py::object;  // for boost::apply_visitor
    template <class T>
    py::object operator()(const T& x) const {
        return wrap(from_exact(x));
    }
    template <class T>
    py::object operator()(const std::vector<T>& points) const {
        py::list out;
        for (const T& p : points) out.append(wrap(from_exact(p)));
        return std::move(out);
    }
};

// The result is an optional variant: boost's before kernel 6.0, std's since.
template <class Result>
py::object to_python(const Result& r) {
    if (!r) return py::none();
#if CGAL_VERSION_NR >= 1060000000
    return std::visit(Wrap{}, *r);
#else
    return boost::apply_visitor(Wrap{}, *r);
#endif
}

}  // namespace meet_detail

template <class A, class B>
py::object meets(py::handle a, py::handle b) {
    const auto& x = finite_value<A>(a, "do_intersect");
    const auto& y = finite_value<B>(b, "do_intersect");
    return py::bool_(CGAL::do_intersect(to_exact(x), to_exact(y)));
}

template <class A, class B>
py::object meet(py::handle a, py::handle b) {
    const auto& x = finite_value<A>(a, "intersection");
    const auto& y = finite_value<B>(b, "intersection");
    return meet_detail::to_python(CGAL::intersection(to_exact(x), to_exact(y)));
}

// Registers do_intersect and intersection for a pair the kernel constructs.
template <class A, class B>
void add_meeting(PairTables& t) {
    t.do_intersect.add<A, B>(&meets<A, B>);
    t.intersection.add<A, B>(&meet<A, B>);
}

// Registers do_intersect alone, for a pair the kernel only decides.
template <class A, class B>
void add_decision(PairTables& t) {
    t.do_intersect.add<A, B>(&meets<A, B>);
}

}  // namespace zenolith::companion
