// How zenolith.exact binds its predicates. A predicate over points is bound
// twice under one name: first for core points (the per-object form, returning
// the Python value the core's same-named operation returns), then for arrays
// of points under the shared shape rules (an int8 or bool array). pybind11
// tries the per-object form first, so a call on core points costs one
// dispatch. A predicate of an object at points goes into the module's
// class-keyed tables, with both forms in one entry.
//
// Both forms refuse a NaN or an infinity with a ValueError naming the
// argument (per object) or the argument and its first bad row (arrays).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "companion/exact/exact_kernel.hpp"
#include "companion/io/array_readers.hpp"
#include "companion/io/class_tables.hpp"
#include "companion/io/kernel_calls.hpp"  // the kernel's own side predicates, shared with the double loops

namespace zenolith::companion {

// The first point argument of a predicate that exists in the plane and in
// space under one name: the array form of dimension D accepts it only when
// its points have that dimension (undecidable input goes to the planar form,
// whose reader reports the fault).
template <int D>
struct RoutedPoints {
    py::object obj;
};

}  // namespace zenolith::companion

namespace pybind11::detail {
template <int D>
struct type_caster<zenolith::companion::RoutedPoints<D>> {
    PYBIND11_TYPE_CASTER(zenolith::companion::RoutedPoints<D>, const_name("points"));
    bool load(handle src, bool) {
        object converted;
        const int d = zenolith::companion::probe_point_dimension(src, converted);
        if ((d == 3) != (D == 3)) return false;
        value.obj = converted ? converted : reinterpret_borrow<object>(src);
        return true;
    }
};
}  // namespace pybind11::detail

namespace zenolith::companion::exact {

// How a kernel answer reaches Python: per object, and as an array element.
struct AsInt {  // signs and comparisons: -1 / 0 / 1
    using Element = std::int8_t;
    template <class S>
    int operator()(S s) const { return static_cast<int>(s); }
};
struct AsBool {
    using Element = bool;
    bool operator()(bool b) const { return b; }
};
struct AsOrientation {  // the core's OrientationResult
    using Element = std::int8_t;
    OrientationResult operator()(CGAL::Orientation o) const { return {static_cast<int>(o)}; }
};

template <int D>
using CorePoint = std::conditional_t<D == 2, Point2, Point3>;

template <int D>
auto exact_point(const double* r) {
    if constexpr (D == 2) {
        return EK::Point_2(r[0], r[1]);
    } else {
        return EK::Point_3(r[0], r[1], r[2]);
    }
}

template <int D>
bool finite_row(const double* r) {
    bool ok = true;
    for (int k = 0; k < D; ++k) ok &= finite(r[k]);
    return ok;
}

// f over the rows of the point arguments (broadcast, GIL released), each row
// as an exact-kernel point. Rows with a NaN or an infinity are skipped in the
// loop, and the first of them is reported once the GIL is held again.
template <class Answer, int D, std::size_t N, class F, std::size_t... I>
auto over_rows(const std::array<Points<D>, N>& a, const F& f, std::index_sequence<I...>) {
    using T = typename Answer::Element;
    const Broadcast b(a[I]...);
    py::ssize_t bad = -1;
    auto out = map_rows<T>(b, [&](py::ssize_t i) -> T {
        if (!(finite_row<D>(a[I][i]) && ...)) {
            if (bad < 0) bad = i;
            return T{};
        }
        return static_cast<T>(f(exact_point<D>(a[I][i])...));
    });
    if (bad >= 0) {
        for (const auto& x : a)
            if (!finite_row<D>(x[bad])) raise_not_finite(x.name(), x.single() ? -1 : bad);
    }
    return out;
}

template <class Pt, std::size_t>
using PointRef = const Pt&;

// The type of array argument I: routed by dimension for the first argument
// of a predicate shared by both dimensions, any object otherwise.
template <bool Routed, int D, std::size_t I>
using ArrayArg = std::conditional_t<Routed && I == 0, RoutedPoints<D>, py::handle>;

inline py::handle handle_of(py::handle h) { return h; }
template <int D>
py::handle handle_of(const RoutedPoints<D>& r) { return r.obj; }

template <int D, class Answer, bool Routed, class F, std::size_t... I>
void def_points(py::module_& m, const char* name, std::array<const char*, sizeof...(I)> names,
                F f, std::index_sequence<I...> seq) {
    m.def(
        name,
        [names, f](PointRef<CorePoint<D>, I>... p) {
            (require_finite(p.v, names[I]), ...);
            return Answer{}(f(to_exact(p.v)...));
        },
        py::arg(names[I])...);
    m.def(
        name,
        [names, f, seq](ArrayArg<Routed, D, I>... a) {
            const std::array<Points<D>, sizeof...(I)> pts{Points<D>(handle_of(a), names[I])...};
            return over_rows<Answer>(pts, f, seq);
        },
        py::arg(names[I])...);
}

// Binds the predicate f over points of dimension D, named by `names`
// (p, q, ...). Routed: the name exists in both dimensions, and the array
// form is chosen by the dimension of the first argument.
template <int D, class Answer, bool Routed = false, class F, std::size_t N>
void def_points(py::module_& m, const char* name, const char* const (&names)[N], F f) {
    std::array<const char*, N> list{};
    for (std::size_t k = 0; k < N; ++k) list[k] = names[k];
    def_points<D, Answer, Routed>(m, name, list, f, std::make_index_sequence<N>{});
}

// F(exact object, exact point) for one core class Obj of dimension D, as
// name(obj, p): per object for a core point, else over an array of points
// against the one object.
template <class Obj, int D, class Answer, class F>
py::object object_rows(py::handle obj, py::handle p) {
    const auto& o = finite_value<Obj>(obj, "obj");
    if (py::isinstance<CorePoint<D>>(p)) {
        const auto& q = finite_value<CorePoint<D>>(p, "p");
        return py::cast(Answer{}(F{}(to_exact(o), to_exact(q))));
    }
    const auto e = to_exact(o);
    const std::array<Points<D>, 1> pts{Points<D>(p, "p")};
    return over_rows<Answer>(
        pts, [&](const auto& q) { return F{}(e, q); }, std::index_sequence<0>{});
}

// The table of zenolith.exact's predicate `op` of an object at points,
// bound as exact.<op>(obj, p).
inline ObjectTable& object_table(Tables& t, const char* op) {
    return t.objects(std::string("exact.") + op, op, "p");
}

template <class Obj, int D, class Answer, class F>
void add_object(ObjectTable& t) {
    t.add<Obj>(&object_rows<Obj, D, Answer, F>);
}

// The predicates that exist in the plane and in space under one name, for
// points of dimension D; the array form is chosen by the first argument.
template <int D>
void def_shared_point_predicates(py::module_& m) {
    constexpr bool routed = true;
    def_points<D, AsBool, routed>(m, "collinear", {"p", "q", "r"},
                                  [](const auto& p, const auto& q, const auto& r) {
                                      return CGAL::collinear(p, q, r);
                                  });
    def_points<D, AsBool, routed>(m, "equal", {"p", "q"},
                                  [](const auto& p, const auto& q) { return p == q; });
    def_points<D, AsInt, routed>(m, "compare_x", {"p", "q"}, [](const auto& p, const auto& q) {
        return CGAL::compare_x(p, q);
    });
    def_points<D, AsInt, routed>(m, "compare_y", {"p", "q"}, [](const auto& p, const auto& q) {
        return CGAL::compare_y(p, q);
    });
    def_points<D, AsInt, routed>(
        m, "compare_lexicographically", {"p", "q"},
        [](const auto& p, const auto& q) { return CGAL::compare_lexicographically(p, q); });
    def_points<D, AsBool, routed>(m, "are_ordered_along_line", {"p", "q", "r"},
                                  [](const auto& p, const auto& q, const auto& r) {
                                      return CGAL::are_ordered_along_line(p, q, r);
                                  });
    def_points<D, AsBool, routed>(m, "collinear_are_ordered_along_line", {"p", "q", "r"},
                                  [](const auto& p, const auto& q, const auto& r) {
                                      return CGAL::collinear_are_ordered_along_line(p, q, r);
                                  });
}

void register_exact_planar(py::module_& m, Tables& t);
void register_exact_spatial(py::module_& m, Tables& t);

}  // namespace zenolith::companion::exact
