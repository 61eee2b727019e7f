#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

// A ray stores its source and a second point; its direction is always
// derived by subtraction, never normalised.
template <>
py::tuple reduce(const Ray2& r) {
    return call<Ray2>(Point2{r.v.rep().source()}, Point2{r.v.rep().second_point()});
}

template <>
void register_class(py::class_<Ray2> cls) {
    cls.def(py::init([](const Point2& p, const Point2& q) { return Ray2{K::Ray_2(p.v, q.v)}; }),
            py::arg("p"), py::arg("q"))
        .def(py::init([](const Point2& p, const Direction2& d) { return Ray2{K::Ray_2(p.v, d.v)}; }),
             py::arg("p"), py::arg("d"))
        .def(py::init([](const Point2& p, const Vector2& v) { return Ray2{K::Ray_2(p.v, v.v)}; }),
             py::arg("p"), py::arg("v"))
        .def(py::init([](const Point2& p, const Line2& l) { return Ray2{K::Ray_2(p.v, l.v)}; }),
             py::arg("p"), py::arg("l"))
        .def("source", [](const Ray2& r) { return Point2{r.v.source()}; })
        .def("point", [](const Ray2& r, double i) { return Point2{r.v.point(i)}; }, py::arg("i"))
        .def("direction", [](const Ray2& r) { return Direction2{r.v.direction()}; })
        .def("to_vector", [](const Ray2& r) { return Vector2{r.v.to_vector()}; })
        .def("supporting_line", [](const Ray2& r) { return Line2{r.v.supporting_line()}; })
        .def("opposite", [](const Ray2& r) { return Ray2{r.v.opposite()}; })
        .def("is_degenerate", [](const Ray2& r) { return r.v.is_degenerate(); })
        .def("is_horizontal", [](const Ray2& r) { return r.v.is_horizontal(); })
        .def("is_vertical", [](const Ray2& r) { return r.v.is_vertical(); })
        .def(
            "has_on", [](const Ray2& r, const Point2& p) { return r.v.has_on(p.v); }, py::arg("p"))
        .def(
            "collinear_has_on",
            [](const Ray2& r, const Point2& p) { return r.v.collinear_has_on(p.v); }, py::arg("p"));
    bind_kernel_equality(cls);
    cls.def("__repr__", [](const Ray2& r) {
        const auto d = r.v.to_vector();
        return "Ray2(source=" + point_text(r.v.source()) + ", direction=" +
               tuple_text({d.x(), d.y()}) + ")";
    });
}

}  // namespace zenolith
