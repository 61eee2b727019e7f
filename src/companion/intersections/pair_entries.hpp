// The two entries every intersecting pair gets: do_intersect decided by the
// exact-predicate kernel, and intersection constructed over intervals or
// exact rationals (its case analysis decided exactly, its coordinates
// rounded once; see rounded_evaluation.hpp) and handed back as core objects.
#pragma once

#include <CGAL/version.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "companion/exact/exact_kernel.hpp"
#include "companion/intersections/degenerate_operands.hpp"
#include "companion/intersections/planar_lines.hpp"
#include "companion/intersections/rounded_evaluation.hpp"
#include "companion/io/class_tables.hpp"

namespace zenolith::companion {

namespace detail {

// A value of the core's kernel as the core object that holds it.
template <class T>
py::object as_core(const T& x) {
    return py::cast(core_class_t<T>{x});
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

// The two operands of a pair as values of one kernel (`to` converts the
// core's values into it); a pair whose operands need adapting first
// specialises this.
template <class A, class B>
struct Operands {
    template <class To>
    auto operator()(const To& to, const decltype(A::v)& x, const decltype(B::v)& y) const {
        return std::make_pair(to(x), to(y));
    }
};

// Whether two finite values meet, decided by the exact predicates; a pair
// the kernel decides wrongly specialises this.
template <class A, class B>
struct Meet {
    bool operator()(const decltype(A::v)& x, const decltype(B::v)& y) const {
        const auto [u, v] = Operands<A, B>()(to_exact, x, y);
        return CGAL::do_intersect(u, v);
    }
};

// Whether the kernel's construction finds a common point, decided over
// intervals or exact rationals: for a pair whose own decision is wrong.
template <class X, class Y>
bool meet_by_construction(const X& x, const Y& y) {
    return decide_exactly(
        [&](const auto& to) { return static_cast<bool>(CGAL::intersection(to(x), to(y))); });
}

template <class A, class B>
bool meet(const decltype(A::v)& x, const decltype(B::v)& y) {
    return Meet<A, B>()(x, y);
}

template <class A, class B>
py::object decide_intersection(py::handle a, py::handle b, bool swapped) {
    const auto [x, y] = finite_pair<A, B>(a, b, swapped);
    if (may_be_simpler(x) || may_be_simpler(y)) {
        if (auto r = with_simpler_operands("do_intersect", a, b)) return *r;
    }
    return py::bool_(meet<A, B>(x, y));
}

// Intersection coordinates are taken from intervals no wider than 2^-40 of
// their value (their middle is then within 2^-41, in practice within an
// ulp or two); intervals of the usual constructions are a few dozen units
// in the last place wide, so a tighter bound would send ordinary input to
// the rationals, at about a hundred times the cost.
constexpr int intersection_bits = 40;

// The intersection of two proper values that meet; None where the kernel,
// even in exact arithmetic, constructs nothing or fails.
template <class A, class B>
std::optional<py::object> constructed(const decltype(A::v)& x, const decltype(B::v)& y,
                                      const char* first, const char* second) {
    try {
        auto r = evaluate_rounded<true, intersection_bits>(
            [&](const auto& to) {
                const auto [u, v] = Operands<A, B>()(to, x, y);
                return CGAL::intersection(u, v);
            },
            [](const auto& result) { return static_cast<bool>(result); });
        if (r) return detail::intersection_result(r);
    } catch (const NotRepresentable&) {
        const std::string message = std::string("intersection of ") + first + " and " + second +
                                    ": a coordinate of the result is beyond the largest double";
        PyErr_SetString(PyExc_OverflowError, message.c_str());
        throw py::error_already_set();
    } catch (const CGAL::Failure_exception&) {
    }
    return std::nullopt;
}

// None exactly when the two do not meet: the exact decision comes first, so
// a construction can never contradict it.
template <class A, class B>
py::object construct_intersection(py::handle a, py::handle b, bool swapped) {
    const auto [x, y] = finite_pair<A, B>(a, b, swapped);
    if (may_be_simpler(x) || may_be_simpler(y)) {
        if (auto r = with_simpler_operands("intersection", a, b)) return *r;
    }
    if (!meet<A, B>(x, y)) return py::none();
    const char* first = swapped ? B::name : A::name;
    const char* second = swapped ? A::name : B::name;
    if (auto r = constructed<A, B>(x, y, first, second)) return *r;
    throw py::value_error(std::string("intersection of ") + first + " and " + second +
                          ": they meet, but the kernel constructs no intersection for them");
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
