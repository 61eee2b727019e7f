#include <boost/math/special_functions/next.hpp>

#include <limits>

#include "../module/conventions.hpp"
#include "../module/registrations.hpp"

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

// Every bound moves `dist` representable doubles outward (inward when
// negative). All four new bounds are computed before any is stored: when
// stepping one of them fails, Boost's error escapes and the box is intact.
void dilate(Bbox2& b, int dist) {
    using boost::math::float_advance;
    const int inward = negated(dist);
    const double xmin = float_advance(b.v.xmin(), inward);
    const double ymin = float_advance(b.v.ymin(), inward);
    const double xmax = float_advance(b.v.xmax(), dist);
    const double ymax = float_advance(b.v.ymax(), dist);
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
void register_bbox2(py::class_<Bbox2> cls) {
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
