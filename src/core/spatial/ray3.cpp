#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

// A source and a second point; the direction is their difference, never
// normalised.
template <>
py::tuple reduce(const Ray3& r) {
    return call<Ray3>(Point3{r.v.rep().source()}, Point3{r.v.rep().second_point()});
}

template <>
void register_class(py::class_<Ray3> cls) {
    cls.def(py::init([](const Point3& p, const Point3& q) { return Ray3{K::Ray_3(p.v, q.v)}; }),
            py::arg("p"), py::arg("q"))
        .def(py::init([](const Point3& p, const Direction3& d) { return Ray3{K::Ray_3(p.v, d.v)}; }),
             py::arg("p"), py::arg("d"))
        .def(py::init([](const Point3& p, const Vector3& v) { return Ray3{K::Ray_3(p.v, v.v)}; }),
             py::arg("p"), py::arg("v"))
        .def(py::init([](const Point3& p, const Line3& l) { return Ray3{K::Ray_3(p.v, l.v)}; }),
             py::arg("p"), py::arg("l"))
        .def("source", [](const Ray3& r) { return Point3{r.v.source()}; })
        .def("point", [](const Ray3& r, double i) { return Point3{r.v.point(i)}; }, py::arg("i"))
        .def("direction", [](const Ray3& r) { return Direction3{r.v.direction()}; })
        .def("to_vector", [](const Ray3& r) { return Vector3{r.v.to_vector()}; })
        .def("supporting_line", [](const Ray3& r) { return Line3{r.v.supporting_line()}; })
        .def("opposite", [](const Ray3& r) { return Ray3{r.v.opposite()}; })
        .def("is_degenerate", [](const Ray3& r) { return r.v.is_degenerate(); })
        .def(
            "has_on", [](const Ray3& r, const Point3& p) { return r.v.has_on(p.v); }, py::arg("p"));
    bind_kernel_equality(cls);
    cls.def("__repr__", [](const Ray3& r) {
        return "Ray3(source=" + point_text(r.v.source()) + ", direction=" +
               point_text(r.v.to_vector()) + ")";
    });
}

}  // namespace zenolith
