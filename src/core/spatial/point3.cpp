#include "core/conventions.hpp"
#include "core/fast_entry.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

double coordinate(const Point3& p, int i) { return spatial_cartesian(p.v, i); }

}  // namespace

template <>
py::tuple reduce(const Point3& p) { return call<Point3>(p.v.x(), p.v.y(), p.v.z()); }

template <>
void register_class(py::class_<Point3> cls) {
    auto from_floats = [](double x, double y, double z) { return Point3{K::Point_3(x, y, z)}; };
    auto from_ints = [](int x, int y, int z) { return Point3{K::Point_3(x, y, z)}; };
    auto x = [](const Point3& p) { return p.v.x(); };
    auto y = [](const Point3& p) { return p.v.y(); };
    auto z = [](const Point3& p) { return p.v.z(); };
    auto minus_point = [](const Point3& p, const Point3& q) { return Vector3{p.v - q.v}; };
    auto plus_vector = [](const Point3& p, const Vector3& d) { return Point3{p.v + d.v}; };
    auto minus_vector = [](const Point3& p, const Vector3& d) { return Point3{p.v - d.v}; };
    cls.def(py::init([] { return Point3{K::Point_3(0.0, 0.0, 0.0)}; }))
        .def(py::init(from_floats), py::arg("x"), py::arg("y"), py::arg("z"))
        .def(py::init(from_ints), py::arg("x"), py::arg("y"), py::arg("z"))
        .def_property_readonly("x", x)
        .def_property_readonly("y", y)
        .def_property_readonly("z", z)
        .def_property_readonly("hx", [](const Point3& p) { return p.v.x(); })
        .def_property_readonly("hy", [](const Point3& p) { return p.v.y(); })
        .def_property_readonly("hz", [](const Point3& p) { return p.v.z(); })
        .def_property_readonly("hw", [](const Point3&) { return 1.0; })
        .def("cartesian", &coordinate, py::arg("i"))
        .def(
            "homogeneous", [](const Point3& p, int i) { return spatial_homogeneous(p.v, i); },
            py::arg("i"))
        .def("dimension", [](const Point3&) { return 3; })
        .def("bbox", [](const Point3& p) { return Bbox3{p.v.bbox()}; })
        .def("__getitem__", &coordinate, py::arg("i"))
        .def("__iter__", [](const Point3& p) { return iterate(p.v.x(), p.v.y(), p.v.z()); })
        .def("__sub__", minus_point)
        .def("__add__", plus_vector)
        .def("__sub__", minus_vector);
    bind_inplace_translation<Point3, Vector3>(cls);
    bind_kernel_equality(cls);
    bind_order(cls);
    cls.def("__repr__", [](const Point3& p) {
        return call_text("Point3", {p.v.x(), p.v.y(), p.v.z()});
    });
    fast::constructor(cls, from_floats, from_ints);
    fast::property(cls, "x", x);
    fast::property(cls, "y", y);
    fast::property(cls, "z", z);
    fast::method(cls, "__sub__", minus_point, minus_vector);
    fast::method(cls, "__add__", plus_vector);
}

}  // namespace zenolith
