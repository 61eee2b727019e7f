#include "core/conventions.hpp"
#include "core/fast_entry.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

double coordinate(const Point2& p, int i) { return planar_cartesian(p.v, i); }

}  // namespace

template <>
py::tuple reduce(const Point2& p) { return call<Point2>(p.v.x(), p.v.y()); }

template <>
void register_class(py::class_<Point2> cls) {
    auto from_floats = [](double x, double y) { return Point2{K::Point_2(x, y)}; };
    auto from_ints = [](int x, int y) { return Point2{K::Point_2(x, y)}; };
    auto x = [](const Point2& p) { return p.v.x(); };
    auto y = [](const Point2& p) { return p.v.y(); };
    auto minus_point = [](const Point2& p, const Point2& q) { return Vector2{p.v - q.v}; };
    auto plus_vector = [](const Point2& p, const Vector2& d) { return Point2{p.v + d.v}; };
    auto minus_vector = [](const Point2& p, const Vector2& d) { return Point2{p.v - d.v}; };
    cls.def(py::init([] { return Point2{K::Point_2(0.0, 0.0)}; }))
        .def(py::init(from_floats), py::arg("x"), py::arg("y"))
        .def(py::init(from_ints), py::arg("x"), py::arg("y"))
        .def(py::init([](const WeightedPoint2& wp) { return Point2{wp.v.point()}; }),
             py::arg("wp"))
        .def_property_readonly("x", x)
        .def_property_readonly("y", y)
        .def_property_readonly("hx", [](const Point2& p) { return p.v.x(); })
        .def_property_readonly("hy", [](const Point2& p) { return p.v.y(); })
        .def_property_readonly("hw", [](const Point2&) { return 1.0; })
        .def("cartesian", &coordinate, py::arg("i"))
        .def(
            "homogeneous", [](const Point2& p, int i) { return planar_homogeneous(p.v, i); },
            py::arg("i"))
        .def("dimension", [](const Point2&) { return 2; })
        .def("bbox", [](const Point2& p) { return Bbox2{p.v.bbox()}; })
        .def("__getitem__", &coordinate, py::arg("i"))
        .def("__iter__", [](const Point2& p) { return iterate(p.v.x(), p.v.y()); })
        .def("__sub__", minus_point)
        .def("__add__", plus_vector)
        .def("__sub__", minus_vector);
    bind_inplace_translation<Point2, Vector2>(cls);
    bind_kernel_equality(cls);
    bind_order(cls);
    cls.def(
           "transform",
           [](const Point2& p, const AffTransformation2& t) { return Point2{t.v.transform(p.v)}; },
           py::arg("t"))
        .def("__repr__", [](const Point2& p) { return call_text("Point2", {p.v.x(), p.v.y()}); });
    fast::constructor(cls, from_floats, from_ints);
    fast::property(cls, "x", x);
    fast::property(cls, "y", y);
    fast::method(cls, "__sub__", minus_point, minus_vector);
    fast::method(cls, "__add__", plus_vector);
}

}  // namespace zenolith
