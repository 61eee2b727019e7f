#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

double coordinate(const WeightedPoint2& w, int i) { return planar_cartesian(w.v.point(), i); }

}  // namespace

// Every accessor is a method here, unlike Point2's properties, and the
// weight plays no part in equality: both are fixed by the interface
// (README, "Deliberate behaviours").
template <>
py::tuple reduce(const WeightedPoint2& w) {
    return call<WeightedPoint2>(Point2{w.v.point()}, w.v.weight());
}

template <>
void register_class(py::class_<WeightedPoint2> cls) {
    // Zeroed explicitly: the kernel's default constructor may leave the
    // coordinates uninitialised.
    cls.def(py::init(
                [] { return WeightedPoint2{K::Weighted_point_2(K::Point_2(0.0, 0.0), 0.0)}; }))
        .def(py::init(
                 [](const Point2& p) { return WeightedPoint2{K::Weighted_point_2(p.v, 0.0)}; }),
             py::arg("p"))
        .def(py::init([](const Point2& p, double w) {
                 return WeightedPoint2{K::Weighted_point_2(p.v, w)};
             }),
             py::arg("p"), py::arg("w"))
        .def(py::init([](double x, double y) {
                 return WeightedPoint2{K::Weighted_point_2(K::Point_2(x, y), 0.0)};
             }),
             py::arg("x"), py::arg("y"))
        .def("point", [](const WeightedPoint2& w) { return Point2{w.v.point()}; })
        .def("weight", [](const WeightedPoint2& w) { return w.v.weight(); })
        .def("hx", [](const WeightedPoint2& w) { return w.v.x(); })
        .def("hy", [](const WeightedPoint2& w) { return w.v.y(); })
        .def("hw", [](const WeightedPoint2&) { return 1.0; })
        .def("x", [](const WeightedPoint2& w) { return w.v.x(); })
        .def("y", [](const WeightedPoint2& w) { return w.v.y(); })
        .def(
            "homogeneous",
            [](const WeightedPoint2& w, int i) { return planar_homogeneous(w.v.point(), i); },
            py::arg("i"))
        .def("cartesian", &coordinate, py::arg("i"))
        .def("__getitem__", &coordinate, py::arg("i"))
        .def("__iter__", [](const WeightedPoint2& w) { return iterate(w.v.x(), w.v.y()); })
        .def("dimension", [](const WeightedPoint2&) { return 2; })
        .def("bbox", [](const WeightedPoint2& w) { return Bbox2{w.v.point().bbox()}; });
    bind_equality(cls, [](const WeightedPoint2& a, const WeightedPoint2& b) {
        return a.v.point() == b.v.point();
    });
    cls.def("__repr__",
            [](const WeightedPoint2& w) {
                return "WeightedPoint2(point=" + point_text(w.v.point()) +
                       ", weight=" + number_text(w.v.weight()) + ")";
            })
        .def(
            "transform",
            [](const WeightedPoint2& w, const AffTransformation2& t) {
                return WeightedPoint2{
                    K::Weighted_point_2(t.v.transform(w.v.point()), w.v.weight())};
            },
            py::arg("t"));
}

}  // namespace zenolith
