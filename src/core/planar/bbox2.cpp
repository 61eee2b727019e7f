#include <boost/math/special_functions/next.hpp>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

// 32-bit negation that wraps for INT_MIN, as the hardware does, instead of
// overflowing.
int negated(int d) { return static_cast<int>(0u - static_cast<unsigned>(d)); }

struct Interval {
    double lo, hi;
};

Interval scaled_interval(double lo, double hi, double factor) {
    const double c = (lo + hi) * 0.5;
    const double h = ((hi - lo) * 0.5) * factor;
    return {c - h, c + h};
}

// Doubles in order as integers: adjacent doubles are adjacent integers, both
// zeros are 0, and a negative double is the negation of its magnitude.
std::int64_t ordinal(double v) {
    std::int64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits < 0 ? -(bits & std::numeric_limits<std::int64_t>::max()) : bits;
}

double from_ordinal(std::int64_t k) {
    const std::uint64_t magnitude = k < 0 ? 0 - static_cast<std::uint64_t>(k) : k;
    const std::uint64_t bits = k < 0 ? magnitude | (std::uint64_t{1} << 63) : magnitude;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// Boost.Math's float_advance(v, n), in constant time: the double n steps
// above v (below for negative n), crossing zero as one value. A zero reached
// from a negative start is -0.0, as the stepping gives it; n = 0 returns v.
// Failures are left to Boost itself so that they read the same whatever n:
// a non-finite v, and a step past the largest finite double.
double advanced(double v, int n) {
    using boost::math::float_advance;
    constexpr double max = std::numeric_limits<double>::max();
    if (!std::isfinite(v)) return float_advance(v, 0);
    const std::int64_t k = ordinal(v) + n;
    if (k > ordinal(max)) return float_advance(max, 1);
    if (k < -ordinal(max)) return float_advance(-max, -1);
    return k == 0 ? std::copysign(0.0, v) : from_ordinal(k);
}

// Every bound moves `dist` representable doubles outward (inward when
// negative). All four new bounds are computed before any is stored: when
// one of them fails, the error escapes and the box is intact.
void dilate(Bbox2& b, int dist) {
    const int inward = negated(dist);
    const double xmin = advanced(b.v.xmin(), inward);
    const double ymin = advanced(b.v.ymin(), inward);
    const double xmax = advanced(b.v.xmax(), dist);
    const double ymax = advanced(b.v.ymax(), dist);
    b.v = CGAL::Bbox_2(xmin, ymin, xmax, ymax);
}

// About the centre, each step rounded on its own; no shortcut for factor 1
// and no sign test (a negative factor swaps minimum and maximum).
void scale(Bbox2& b, double factor) {
    const auto [xmin, xmax] = scaled_interval(b.v.xmin(), b.v.xmax(), factor);
    const auto [ymin, ymax] = scaled_interval(b.v.ymin(), b.v.ymax(), factor);
    b.v = CGAL::Bbox_2(xmin, ymin, xmax, ymax);
}

}  // namespace

// The default box is the empty one (+inf, +inf, -inf, -inf), neutral for
// +; dilate and scale change the box in place and return None, as the
// kernel's members do (README, "Deliberate behaviours").
template <>
py::tuple reduce(const Bbox2& b) {
    return call<Bbox2>(b.v.xmin(), b.v.ymin(), b.v.xmax(), b.v.ymax());
}

template <>
void register_class(py::class_<Bbox2> cls) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    cls.def(py::init([=] { return Bbox2{CGAL::Bbox_2(inf, inf, -inf, -inf)}; }))
        .def(py::init([](double xmin, double ymin, double xmax, double ymax) {
                 return Bbox2{CGAL::Bbox_2(xmin, ymin, xmax, ymax)};
             }),
             py::arg("xmin"), py::arg("ymin"), py::arg("xmax"), py::arg("ymax"))
        .def_property_readonly("xmin", [](const Bbox2& b) { return b.v.xmin(); })
        .def_property_readonly("ymin", [](const Bbox2& b) { return b.v.ymin(); })
        .def_property_readonly("xmax", [](const Bbox2& b) { return b.v.xmax(); })
        .def_property_readonly("ymax", [](const Bbox2& b) { return b.v.ymax(); })
        .def("dimension", [](const Bbox2&) { return 2; })
        .def("min", [](const Bbox2& b, int i) { return b.v.min(named_or_last(i, 1)); }, py::arg("i"))
        .def("max", [](const Bbox2& b, int i) { return b.v.max(named_or_last(i, 1)); }, py::arg("i"))
        .def("dilate", &dilate, py::arg("dist"))
        .def("scale", &scale, py::arg("factor"))
        .def("do_overlap", [](const Bbox2& a, const Bbox2& b) { return CGAL::do_overlap(a.v, b.v); },
             py::arg("other"))
        .def("__add__", [](const Bbox2& a, const Bbox2& b) { return Bbox2{a.v + b.v}; })
        .def("__iadd__", [](Bbox2& a, const Bbox2& b) {
            a.v += b.v;
            return a;
        });
    bind_kernel_equality(cls);
    cls.def("__repr__", [](const Bbox2& b) {
        return call_text("Bbox2", {b.v.xmin(), b.v.ymin(), b.v.xmax(), b.v.ymax()});
    });
}

}  // namespace zenolith
