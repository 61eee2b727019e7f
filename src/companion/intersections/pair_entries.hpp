// The two entries every intersecting pair gets: do_intersect decided by the
// exact-predicate kernel, and intersection constructed in that kernel (its
// case analysis uses the exact predicates, its coordinates are computed in
// doubles) and handed back as core objects.
#pragma once

#include <CGAL/version.h>

#include <utility>
#include <vector>

#include "companion/exact/exact_kernel.hpp"
#include "companion/io/class_tables.hpp"

namespace zenolith::companion {

namespace detail {

// A value of the exact-predicate kernel as the core object of the same
// numbers.
template <class T>
py::object as_core(const T& x) {
    const auto v = from_exact(x);
    return py::cast(core_class_t<std::decay_t<decltype(v)>>{v});
}

// The visitor that turns any alternative of an intersection result into a
// core object; a polygon (the kernel's vector of points) becomes a list of
// points.
struct AsCoreObject {
    using result_type = py::object;  // for boost::apply_visitor
    template <class T>
    py::object operator()(const T& x) const {
        return as_core(x);
    }
    template <class T>
    py::object operator()(const std::vector<T>& points) const {
        py::list out;
        for (const T& p : points) out.append(as_core(p));
        return std::move(out);
    }
};

// The result is an optional variant: boost's before kernel 6.0, std's since.
template <class Result>
py::object intersection_result(const Result& r) {
    if (!r) return py::none();
#if CGAL_VERSION_NR >= 1060000000
    return std::visit(AsCoreObject{}, *r);
#else
    return boost::apply_visitor(AsCoreObject{}, *r);
#endif
}

}  // namespace detail

// The kernel values of a pair's two objects, refused by the finiteness rule
// under the names the caller gave them.
template <class A, class B>
std::pair<const decltype(A::v)&, const decltype(B::v)&> finite_pair(py::handle a, py::handle b,
                                                                    bool swapped) {
    return {finite_value<A>(a, swapped ? "b" : "a"), finite_value<B>(b, swapped ? "a" : "b")};
}

template <class A, class B>
py::object decide_intersection(py::handle a, py::handle b, bool swapped) {
    const auto [x, y] = finite_pair<A, B>(a, b, swapped);
    return py::bool_(CGAL::do_intersect(to_exact(x), to_exact(y)));
}

template <class A, class B>
py::object construct_intersection(py::handle a, py::handle b, bool swapped) {
    const auto [x, y] = finite_pair<A, B>(a, b, swapped);
    return detail::intersection_result(CGAL::intersection(to_exact(x), to_exact(y)));
}

// Registers do_intersect and intersection for a pair the kernel constructs.
template <class A, class B>
void add_intersection(Tables& t) {
    t.pairs("do_intersect").add<A, B>(&decide_intersection<A, B>);
    t.pairs("intersection").add<A, B>(&construct_intersection<A, B>);
}

// Registers do_intersect alone, for a pair the kernel only decides.
template <class A, class B>
void add_decision_only(Tables& t) {
    t.pairs("do_intersect").add<A, B>(&decide_intersection<A, B>);
}

void add_planar_intersections(Tables& t);
void add_spatial_intersections(Tables& t);
void add_solid_intersections(Tables& t);
void add_pair_distances(Tables& t);
void add_object_against_points(Tables& t);

}  // namespace zenolith::companion
