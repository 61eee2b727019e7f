#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

Direction3 opposite(const Direction3& d) { return Direction3{-d.v}; }

}  // namespace

// Never normalised; equality is the kernel's: equal cross products and
// equal component signs (NaN counting as zero).
template <>
py::tuple reduce(const Direction3& d) { return call<Direction3>(d.v.dx(), d.v.dy(), d.v.dz()); }

template <>
void register_class(py::class_<Direction3> cls) {
    cls.def(py::init([](double x, double y, double z) { return Direction3{K::Direction_3(x, y, z)}; }),
            py::arg("x"), py::arg("y"), py::arg("z"))
        .def(py::init([](const Vector3& v) { return Direction3{v.v.direction()}; }), py::arg("v"))
        .def(py::init([](const Segment3& s) { return Direction3{s.v.direction()}; }), py::arg("s"))
        .def(py::init([](const Line3& l) { return Direction3{l.v.direction()}; }), py::arg("l"))
        .def(py::init([](const Ray3& r) { return Direction3{r.v.direction()}; }), py::arg("r"))
        .def_property_readonly("dx", [](const Direction3& d) { return d.v.dx(); })
        .def_property_readonly("dy", [](const Direction3& d) { return d.v.dy(); })
        .def_property_readonly("dz", [](const Direction3& d) { return d.v.dz(); })
        .def(
            "delta", [](const Direction3& d, int i) { return d.v.delta(named_or_last(i, 2)); },
            py::arg("i"))
        .def("vector", [](const Direction3& d) { return Vector3{d.v.vector()}; })
        .def("opposite", &opposite)
        .def("__neg__", &opposite);
    bind_kernel_equality(cls);
    cls.def("__repr__", [](const Direction3& d) {
        return call_text("Direction3", {d.v.dx(), d.v.dy(), d.v.dz()});
    });
}

}  // namespace zenolith
