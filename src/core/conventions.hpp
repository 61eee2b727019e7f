// Rules shared by every binding: how numbers print, how the kernel's sign
// enums reach Python, the index rules that several classes follow, and the
// small templates that bind whole families of identical operators.
#pragma once

#include "core/interpreter_symbols.hpp"

#include <pybind11/pybind11.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "core/fast_entry.hpp"
#include "shared/types.hpp"

namespace zenolith {

namespace py = pybind11;

// ---- repr ---------------------------------------------------------------

// Every number in a repr is printed as std::to_string prints a double:
// fixed notation, six decimals, never an exponent. Reprs are part of the
// fixed interface; repr is not a round trip (README, "Deliberate
// behaviours").
inline std::string number_text(double v) { return std::to_string(v); }

// "Name(a, b, ...)" with each number in the repr format.
inline std::string call_text(const char* name, std::initializer_list<double> values) {
    std::string s = name;
    s += '(';
    const char* sep = "";
    for (double v : values) {
        s += sep;
        s += number_text(v);
        sep = ", ";
    }
    s += ')';
    return s;
}

// "(a, b, ...)": a coordinate tuple inside a larger repr.
inline std::string tuple_text(std::initializer_list<double> values) { return call_text("", values); }

// "Name(k1=a, k2=b, ...)": the keyword form of a repr.
inline std::string keyword_text(const char* name,
                                std::initializer_list<std::pair<const char*, double>> fields) {
    std::string s = name;
    s += '(';
    const char* sep = "";
    for (const auto& [key, v] : fields) {
        s += sep;
        s += key;
        s += '=';
        s += number_text(v);
        sep = ", ";
    }
    s += ')';
    return s;
}

inline std::string point_text(const K::Point_2& p) { return tuple_text({p.x(), p.y()}); }
inline std::string point_text(const K::Point_3& p) { return tuple_text({p.x(), p.y(), p.z()}); }
inline std::string point_text(const K::Vector_3& v) { return tuple_text({v.x(), v.y(), v.z()}); }

// ---- kernel enums -------------------------------------------------------

// Orientation, Oriented_side and Bounded_side are all -1 / 0 / 1 enums.
template <class Enum>
inline int sign_int(Enum e) {
    return static_cast<int>(e);
}

// ---- index rules (written in C terms: % keeps the dividend's sign) ------
// None of them raises: every int names some item, as in the kernel's own
// accessors (README, "Deliberate behaviours").

// 0 .. last-1 name themselves; every other index, negative ones included,
// names `last` (a point's cartesian(i): 0 -> x, anything else -> y).
inline int named_or_last(int i, int last) { return (i >= 0 && i < last) ? i : last; }

// A planar point's cartesian(i): 0 gives x, every other index y.
inline double planar_cartesian(const K::Point_2& p, int i) {
    return p.cartesian(named_or_last(i, 1));
}

// A planar point's homogeneous(i): x, y, then 1 for every other index.
inline double planar_homogeneous(const K::Point_2& p, int i) {
    const int k = named_or_last(i, 2);
    return k == 2 ? 1.0 : p.cartesian(k);
}

// A spatial point's or vector's cartesian(i): 0 -> x, 1 -> y, else z.
template <class V>
double spatial_cartesian(const V& v, int i) {
    return v.cartesian(named_or_last(i, 2));
}

// homogeneous(i): x, y, z, then 1 for every other index.
template <class V>
double spatial_homogeneous(const V& v, int i) {
    const int k = named_or_last(i, 3);
    return k == 3 ? 1.0 : v.cartesian(k);
}

// i above n-1 wraps to i mod n; a negative i becomes (i rem n) + n, which can
// reach n itself and then names the last item (triangle, tetrahedron).
inline int cyclic_index(int i, int n) {
    if (i > n - 1) i %= n;
    if (i < 0) i = i % n + n;
    return i < n ? i : n - 1;
}

// r = i rem n; 0 .. n-1 name themselves, every negative r names the last
// item (even/odd for segments with n = 2, rectangles 4, cuboids 8).
inline int rem_index(int i, int n) {
    int r = i % n;
    return r >= 0 ? r : n - 1;
}

// An orientation argument of circles and spheres: any negative number means
// clockwise, everything else (0 included) counterclockwise.
inline CGAL::Orientation orientation_code(int o) {
    return o < 0 ? CGAL::CLOCKWISE : CGAL::COUNTERCLOCKWISE;
}

// ---- operator families --------------------------------------------------
// Operators are ordinary methods (no operator marker): a foreign operand
// raises TypeError instead of returning NotImplemented.

// __eq__ alone; Python's default != then negates it.
template <class T, class Eq>
void bind_eq(py::class_<T>& cls, Eq eq) {
    auto equal = [eq](const T& a, const T& b) { return eq(a, b); };
    cls.def("__eq__", equal);
    fast::method(cls, "__eq__", equal);
}

// __eq__ and __ne__, the latter the exact negation of the former.
template <class T, class Eq>
void bind_equality(py::class_<T>& cls, Eq eq) {
    bind_eq(cls, eq);
    auto unequal = [eq](const T& a, const T& b) { return !eq(a, b); };
    cls.def("__ne__", unequal);
    fast::method(cls, "__ne__", unequal);
}

// Equality as the kernel defines it for the held objects.
//
// Whether an object holding a NaN equals itself is the kernel's answer too.
// For directions, lines, planes, spatial segments, rays and triangles,
// tetrahedra, spheres, cuboids and spatial circles the kernel's operator==
// first asks whether both operands are the same object, so the same Python
// object is always equal to itself. Points, vectors, boxes and the other
// planar objects compare coordinates only, and a NaN makes them unequal to
// themselves, as IEEE says.
template <class T>
void bind_kernel_equality(py::class_<T>& cls) {
    bind_equality(cls, [](const T& a, const T& b) { return a.v == b.v; });
}

// The kernel's order through its operator< (lexicographic for points,
// angular for directions); the other three follow by swapping operands and
// negating, as the kernel does it.
template <class T>
void bind_order(py::class_<T>& cls) {
    auto lt = [](const T& a, const T& b) { return a.v < b.v; };
    auto gt = [](const T& a, const T& b) { return b.v < a.v; };
    auto le = [](const T& a, const T& b) { return !(b.v < a.v); };
    auto ge = [](const T& a, const T& b) { return !(a.v < b.v); };
    cls.def("__lt__", lt).def("__gt__", gt).def("__le__", le).def("__ge__", ge);
    fast::method(cls, "__lt__", lt);
    fast::method(cls, "__gt__", gt);
    fast::method(cls, "__le__", le);
    fast::method(cls, "__ge__", ge);
}

// In-place + and -: the wrapper itself changes, and the result is a new
// object holding a copy of the changed value, because every binding returns
// by value (README, "Deliberate behaviours").
template <class T, class Operand>
void bind_inplace_translation(py::class_<T>& cls) {
    cls.def("__iadd__", [](T& self, const Operand& d) {
        self.v = self.v + d.v;
        return self;
    });
    cls.def("__isub__", [](T& self, const Operand& d) {
        self.v = self.v - d.v;
        return self;
    });
}

// Side predicates, each the kernel member of the same name taking the point
// wrapper Pt as `p`.
template <class Pt, class T>
void bind_bounded_side(py::class_<T>& cls) {
    cls.def(
        "bounded_side", [](const T& o, const Pt& p) { return sign_int(o.v.bounded_side(p.v)); },
        py::arg("p"));
}

template <class Pt, class T>
void bind_boundary_tests(py::class_<T>& cls) {
    cls.def(
           "has_on_boundary", [](const T& o, const Pt& p) { return o.v.has_on_boundary(p.v); },
           py::arg("p"))
        .def(
            "has_on_bounded_side",
            [](const T& o, const Pt& p) { return o.v.has_on_bounded_side(p.v); }, py::arg("p"))
        .def(
            "has_on_unbounded_side",
            [](const T& o, const Pt& p) { return o.v.has_on_unbounded_side(p.v); }, py::arg("p"));
}

// Bounded objects without orientation (rectangles, cuboids): bounded_side,
// has_on_boundary, has_on_bounded_side, has_on_unbounded_side.
template <class Pt, class T>
void bind_bounded_side_tests(py::class_<T>& cls) {
    bind_bounded_side<Pt>(cls);
    bind_boundary_tests<Pt>(cls);
}

// Oriented bounded objects: oriented_side, bounded_side,
// has_on_positive_side, has_on_negative_side, then the three boundary tests.
template <class Pt, class T>
void bind_side_tests(py::class_<T>& cls) {
    cls.def(
        "oriented_side", [](const T& o, const Pt& p) { return sign_int(o.v.oriented_side(p.v)); },
        py::arg("p"));
    bind_bounded_side<Pt>(cls);
    cls.def(
           "has_on_positive_side",
           [](const T& o, const Pt& p) { return o.v.has_on_positive_side(p.v); }, py::arg("p"))
        .def(
            "has_on_negative_side",
            [](const T& o, const Pt& p) { return o.v.has_on_negative_side(p.v); }, py::arg("p"));
    bind_boundary_tests<Pt>(cls);
}

// __iter__ over a fixed list of items that then stops (__getitem__ alone
// never raises IndexError, so the fallback protocol would never end).
template <class... Items>
py::iterator iterate(Items&&... items) {
    return py::iter(py::make_tuple(std::forward<Items>(items)...));
}

}  // namespace zenolith
