#include "core/conventions.hpp"
#include "core/fast_entry.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

double component(const Vector3& v, int i) { return spatial_cartesian(v.v, i); }

}  // namespace

// The registration order is unusual and is kept: the two-point constructor,
// the scalar product and equality come before the numeric constructors, so
// v * w with a vector w is the scalar product and v * 2 scales.
template <>
py::tuple reduce(const Vector3& v) { return call<Vector3>(v.v.x(), v.v.y(), v.v.z()); }

template <>
void register_class(py::class_<Vector3> cls) {
    auto dot = [](const Vector3& v, const Vector3& w) { return v.v * w.v; };
    auto from_floats = [](double x, double y, double z) { return Vector3{K::Vector_3(x, y, z)}; };
    auto x = [](const Vector3& v) { return v.v.x(); };
    auto y = [](const Vector3& v) { return v.v.y(); };
    auto z = [](const Vector3& v) { return v.v.z(); };
    auto plus = [](const Vector3& v, const Vector3& w) { return Vector3{v.v + w.v}; };
    auto minus = [](const Vector3& v, const Vector3& w) { return Vector3{v.v - w.v}; };
    auto scaled = [](const Vector3& v, double s) { return Vector3{v.v * s}; };
    auto negated = [](const Vector3& v) { return Vector3{-v.v}; };
    cls.def(py::init([] { return Vector3{K::Vector_3(0.0, 0.0, 0.0)}; }))
        .def(py::init([](const Point3& a, const Point3& b) { return Vector3{K::Vector_3(a.v, b.v)}; }),
             py::arg("a"), py::arg("b"))
        .def("squared_length", [](const Vector3& v) { return v.v.squared_length(); })
        .def(
            "__truediv__", [](const Vector3& v, double scalar) { return Vector3{v.v / scalar}; },
            py::arg("scalar"))
        .def("__mul__", dot, py::arg("w"));
    bind_kernel_equality(cls);
    cls.def(py::init(from_floats), py::arg("x"), py::arg("y"), py::arg("z"))
        .def(py::init([](int x, int y, int z) { return Vector3{K::Vector_3(x, y, z)}; }), py::arg("x"),
             py::arg("y"), py::arg("z"))
        .def_property_readonly("x", x)
        .def_property_readonly("y", y)
        .def_property_readonly("z", z)
        .def_property_readonly("hx", [](const Vector3& v) { return v.v.x(); })
        .def_property_readonly("hy", [](const Vector3& v) { return v.v.y(); })
        .def_property_readonly("hz", [](const Vector3& v) { return v.v.z(); })
        .def_property_readonly("hw", [](const Vector3&) { return 1.0; })
        .def("cartesian", &component, py::arg("i"))
        .def(
            "homogeneous", [](const Vector3& v, int i) { return spatial_homogeneous(v.v, i); },
            py::arg("i"))
        .def("dimension", [](const Vector3&) { return 3; })
        .def("__getitem__", &component, py::arg("i"))
        .def("__iter__", [](const Vector3& v) { return iterate(v.v.x(), v.v.y(), v.v.z()); })
        .def("__add__", plus)
        .def("__sub__", minus)
        .def("__mul__", scaled)
        .def("__rmul__", scaled)
        .def("__neg__", negated)
        .def("direction", [](const Vector3& v) { return Direction3{v.v.direction()}; })
        .def("__repr__", [](const Vector3& v) {
            return call_text("Vector3", {v.v.x(), v.v.y(), v.v.z()});
        });
    fast::constructor(cls, from_floats);
    fast::property(cls, "x", x);
    fast::property(cls, "y", y);
    fast::property(cls, "z", z);
    fast::method(cls, "__add__", plus);
    fast::method(cls, "__sub__", minus);
    fast::method(cls, "__mul__", dot, scaled);
    fast::method(cls, "__rmul__", scaled);
    fast::method(cls, "__neg__", negated);
}

}  // namespace zenolith
