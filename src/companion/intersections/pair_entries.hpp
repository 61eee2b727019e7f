// The two entries every intersecting pair gets: do_intersect decided by the
// exact-predicate kernel, and intersection constructed over intervals or
// exact rationals (its case analysis decided exactly, its coordinates
// rounded once; see rounded_evaluation.hpp) and handed back as core objects.
#pragma once

#include <CGAL/version.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <type_traits>
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

// The point an intersection result holds, or nullptr.
template <class Point>
struct PointIn {
    using result_type = const Point*;  // for boost::apply_visitor
    template <class T>
    const Point* operator()(const T& x) const {
        if constexpr (std::is_same_v<T, Point>) return &x;
        else return nullptr;
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

// A cheaper decision for a pair that has one: certain or nothing, and only
// certain for proper operands (see quick_meet in line_plane_points.hpp).
template <class A, class B>
struct QuickMeet {
    static constexpr bool exists = false;
};

template <class A, class B>
std::optional<bool> quick_meet(const decltype(A::v)& x, const decltype(B::v)& y) {
    if constexpr (QuickMeet<A, B>::exists) return QuickMeet<A, B>()(x, y);
    else return std::nullopt;
}

template <class A, class B>
py::object decide_intersection(py::handle a, py::handle b, bool swapped) {
    const auto [x, y] = finite_pair<A, B>(a, b, swapped);
    if (const auto quick = quick_meet<A, B>(x, y)) return py::bool_(*quick);
    if (holds_no_point(x) || holds_no_point(y)) return py::bool_(false);
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

// The point where two proper values that meet have their single common
// point, when a formula cheaper than the kernel's construction finds it
// (nothing otherwise, and by default); a pair that has one specialises this.
template <class A, class B>
struct CrossingPoint {
    static constexpr bool exists = false;
};

// The kernel's intersection of two proper values that meet, constructed over
// intervals or rationals and rounded (an optional variant of core-kernel
// values). Throws NotRepresentable for a coordinate beyond the doubles, and
// the kernel's Failure_exception where it fails.
template <class A, class B>
auto rounded_intersection(const decltype(A::v)& x, const decltype(B::v)& y) {
    const auto general = [&]() {
        return evaluate_rounded<true, intersection_bits>(
            [&](const auto& to) {
                const auto [u, v] = Operands<A, B>()(to, x, y);
                return CGAL::intersection(u, v);
            },
            [](const auto& result) { return static_cast<bool>(result); });
    };
    using Result = decltype(general());
    if constexpr (CrossingPoint<A, B>::exists) {
        if (const auto p = CrossingPoint<A, B>()(x, y)) return Result(typename Result::value_type(*p));
    }
    return general();
}

// The intersection of two proper values that meet; None where the kernel,
// even in exact arithmetic, constructs nothing or fails.
template <class A, class B>
std::optional<py::object> constructed(const decltype(A::v)& x, const decltype(B::v)& y,
                                      const char* first, const char* second) {
    try {
        auto r = rounded_intersection<A, B>(x, y);
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
    const auto quick = quick_meet<A, B>(x, y);
    if (!quick) {
        if (holds_no_point(x) || holds_no_point(y)) return py::none();
        if (may_be_simpler(x) || may_be_simpler(y)) {
            if (auto r = with_simpler_operands("intersection", a, b)) return *r;
        }
    }
    if (!(quick ? *quick : meet<A, B>(x, y))) return py::none();
    const char* first = swapped ? B::name : A::name;
    const char* second = swapped ? A::name : B::name;
    if (auto r = constructed<A, B>(x, y, first, second)) return *r;
    throw py::value_error(std::string("intersection of ") + first + " and " + second +
                          ": they meet, but the kernel constructs no intersection for them");
}

// ---- many pairs at once ----------------------------------------------------

// The pair operations over rows (see Rows: typed object arrays, lists of
// core objects, one object that broadcasts, points). A row of two proper
// finite values is computed without the GIL by the same functions as the
// pair's own entry (on several threads for long arrays: see row_threads); the rare rows it leaves (degenerate operands, a
// construction that is not a point, a failure) are handed to the pair's own
// entry afterwards, on core objects of the same values, so every row is the
// per-pair answer bit for bit.
template <class A, class B, class Policy>
py::object pair_rows(py::handle a, py::handle b, bool swapped) {
    const Rows<A> x(a, swapped ? "b" : "a");
    const Rows<B> y(b, swapped ? "a" : "b");
    const Broadcast shape(x, y);
    Policy out(shape);
    const int threads = row_threads(shape.n);
    // per part: the rows left to the pair's entry, and the first non-finite row
    std::vector<std::vector<py::ssize_t>> left(static_cast<std::size_t>(threads));
    std::vector<py::ssize_t> first_infinite(static_cast<std::size_t>(threads), -1);
    run_parts(shape.n, threads, [&](py::ssize_t begin, py::ssize_t end, int part) {
        auto& deferred = left[static_cast<std::size_t>(part)];
        auto& infinite = first_infinite[static_cast<std::size_t>(part)];
        for (py::ssize_t i = begin; i < end; ++i) {
            const auto u = x.value(i);
            const auto v = y.value(i);
            if (!(finite(u) && finite(v))) {
                if (Policy::finite_only) {
                    if (infinite < 0) infinite = i;
                    continue;
                }
                out.non_finite(i, u, v);
            } else if (!out.row(i, u, v)) {
                deferred.push_back(i);
            }
        }
    });
    py::ssize_t infinite_row = -1;
    for (py::ssize_t i : first_infinite) {
        if (i >= 0) {
            infinite_row = i;  // the parts are in row order
            break;
        }
    }
    std::vector<py::ssize_t> deferred;
    for (const auto& part : left) deferred.insert(deferred.end(), part.begin(), part.end());
    if (infinite_row >= 0) {
        const bool first = !finite(x.value(infinite_row));
        raise_not_finite(first ? x.name() : y.name(),
                         (first ? x.single() : y.single()) ? -1 : infinite_row);
    }
    for (py::ssize_t i : deferred) {
        check_signals_at(i);
        try {
            try {
                out.store(i, Policy::entry(x.object(i), y.object(i), swapped));
            } catch (const py::builtin_exception& e) {  // as a Python exception, to name the row
                e.set_error();
                throw py::error_already_set();
            }
        } catch (py::error_already_set& e) {
            if (shape.scalar) throw;
            const std::string message = "row " + std::to_string(i) + ": " + std::string(py::str(e.value()));
            PyErr_SetString(e.type().ptr(), message.c_str());
            throw py::error_already_set();
        }
    }
    return out.result();
}

// do_intersect row by row: a bool array.
template <class A, class B>
struct DecideRows {
    static constexpr bool finite_only = true;
    py::array_t<bool> out;
    bool* o;

    explicit DecideRows(const Broadcast& shape) : out(result_array<bool>(shape)), o(out.mutable_data()) {}
    template <class U, class V>
    void non_finite(py::ssize_t, const U&, const V&) {}
    bool row(py::ssize_t i, const decltype(A::v)& u, const decltype(B::v)& v) {
        if (const auto quick = quick_meet<A, B>(u, v)) {
            o[i] = *quick;
            return true;
        }
        if (may_be_simpler(u) || may_be_simpler(v)) return false;
        o[i] = meet<A, B>(u, v);
        return true;
    }
    static py::object entry(py::handle a, py::handle b, bool swapped) {
        return decide_intersection<A, B>(a, b, swapped);
    }
    void store(py::ssize_t i, const py::object& r) { o[i] = r.cast<bool>(); }
    py::object result() { return std::move(out); }
};

// The dimension of the objects of a core class.
template <class T>
constexpr int dimension_of = 3;
template <> constexpr int dimension_of<Point2> = 2;
template <> constexpr int dimension_of<Line2> = 2;
template <> constexpr int dimension_of<Segment2> = 2;
template <> constexpr int dimension_of<Ray2> = 2;
template <> constexpr int dimension_of<Triangle2> = 2;
template <> constexpr int dimension_of<IsoRectangle2> = 2;
template <> constexpr int dimension_of<Circle2> = 2;
template <> constexpr int dimension_of<Bbox2> = 2;

// The kind code of each intersection result (zenolith.IntersectionKind).
enum class ResultKind : std::int8_t {
    none = 0, point, segment, ray, line, triangle, polygon, plane, circle, sphere, box
};
ResultKind result_kind(py::handle r);

// intersection row by row: a point per row (NaN where the result is not a
// point), the kind of each row's result, and the results that are not
// points as core objects by row.
template <class A, class B>
struct IntersectRows {
    static constexpr bool finite_only = true;
    static constexpr int D = dimension_of<A>;
    using Point = std::conditional_t<D == 2, K::Point_2, K::Point_3>;
    py::array_t<double> points;
    py::array_t<std::int8_t> kinds;
    double* p;
    std::int8_t* k;
    py::dict others;

    explicit IntersectRows(const Broadcast& shape)
        : points(result_array<double>(shape, {D})), kinds(result_array<std::int8_t>(shape)),
          p(points.mutable_data()), k(kinds.mutable_data()) {}

    void write(py::ssize_t i, ResultKind kind, const Point* at = nullptr) {
        k[i] = static_cast<std::int8_t>(kind);
        for (int c = 0; c < D; ++c) p[D * i + c] = at ? at->cartesian(c) : std::numeric_limits<double>::quiet_NaN();
    }
    template <class U, class V>
    void non_finite(py::ssize_t, const U&, const V&) {}
    bool row(py::ssize_t i, const decltype(A::v)& u, const decltype(B::v)& v) {
        const auto quick = quick_meet<A, B>(u, v);
        if (!quick && (may_be_simpler(u) || may_be_simpler(v))) return false;
        if (!(quick ? *quick : meet<A, B>(u, v))) {
            write(i, ResultKind::none);
            return true;
        }
        try {
            const auto r = rounded_intersection<A, B>(u, v);
            if (!r) return false;
#if CGAL_VERSION_NR >= 1060000000
            const Point* at = std::visit(detail::PointIn<Point>{}, *r);
#else
            const Point* at = boost::apply_visitor(detail::PointIn<Point>{}, *r);
#endif
            if (!at) return false;
            write(i, ResultKind::point, at);
            return true;
        } catch (...) {  // the pair's own entry raises what it raises
            return false;
        }
    }
    static py::object entry(py::handle a, py::handle b, bool swapped) {
        return construct_intersection<A, B>(a, b, swapped);
    }
    void store(py::ssize_t i, const py::object& r) {
        const ResultKind kind = result_kind(r);
        if (kind == ResultKind::point) {
            const Point at = r.cast<const core_class_t<Point>&>().v;
            write(i, kind, &at);
            return;
        }
        write(i, kind);
        if (kind != ResultKind::none) others[py::int_(i)] = r;
    }
    py::object result() {
        return py::module_::import("zenolith.intersections").attr("RowIntersections")(points, kinds, others);
    }
};

// Registers do_intersect and intersection for a pair the kernel constructs.
template <class A, class B>
void add_intersection(Tables& t) {
    t.pairs("do_intersect").add<A, B>(&decide_intersection<A, B>);
    t.pairs("do_intersect").add_rows<A, B>(&pair_rows<A, B, DecideRows<A, B>>);
    t.pairs("intersection").add<A, B>(&construct_intersection<A, B>);
    t.pairs("intersection").add_rows<A, B>(&pair_rows<A, B, IntersectRows<A, B>>);
}

// Registers do_intersect alone, for a pair the kernel only decides.
template <class A, class B>
void add_decision_only(Tables& t) {
    t.pairs("do_intersect").add<A, B>(&decide_intersection<A, B>);
    t.pairs("do_intersect").add_rows<A, B>(&pair_rows<A, B, DecideRows<A, B>>);
}

void add_planar_intersections(Tables& t);
void add_spatial_intersections(Tables& t);
void add_solid_intersections(Tables& t);
void add_pair_distances(Tables& t);
void add_object_against_points(Tables& t);

}  // namespace zenolith::companion
