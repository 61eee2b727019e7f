#include "shared/affine.hpp"
#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

Direction2 opposite(const Direction2& d) { return Direction2{-d.v}; }

}  // namespace

// The kernel's direction rules throughout: quadrant then cross products for
// the angular order, sign pattern then cross product for equality.
template <>
py::tuple reduce(const Direction2& d) { return call<Direction2>(d.v.dx(), d.v.dy()); }

template <>
void register_class(py::class_<Direction2> cls) {
    cls.def(py::init([](double x, double y) { return Direction2{K::Direction_2(x, y)}; }), py::arg("x"),
            py::arg("y"))
        .def(py::init([](const Vector2& v) { return Direction2{v.v.direction()}; }), py::arg("v"))
        .def(py::init([](const Segment2& s) { return Direction2{s.v.direction()}; }), py::arg("s"))
        .def(py::init([](const Ray2& r) { return Direction2{r.v.direction()}; }), py::arg("r"))
        .def_property_readonly("dx", [](const Direction2& d) { return d.v.dx(); })
        .def_property_readonly("dy", [](const Direction2& d) { return d.v.dy(); })
        // Positional only: unlike Direction3.delta, the interface names no
        // parameter here.
        .def("delta", [](const Direction2& d, int i) { return d.v.delta(named_or_last(i, 1)); })
        .def(
            "counterclockwise_in_between",
            [](const Direction2& d, const Direction2& d1, const Direction2& d2) {
                return d.v.counterclockwise_in_between(d1.v, d2.v);
            },
            py::arg("d1"), py::arg("d2"))
        .def("vector", [](const Direction2& d) { return Vector2{d.v.vector()}; })
        .def("opposite", &opposite)
        .def("__neg__", &opposite);
    bind_kernel_equality(cls);
    bind_order(cls);
    cls.def("__repr__",
            [](const Direction2& d) { return call_text("Direction2", {d.v.dx(), d.v.dy()}); })
        .def(
            "transform",
            [](const Direction2& d, const AffTransformation2& t) {
                return Direction2{map_direction(t.v, d.v)};
            },
            py::arg("t"));
}

}  // namespace zenolith
