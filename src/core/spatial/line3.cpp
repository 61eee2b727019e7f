#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

// A point P and a direction vector V, never normalised.
// The stored point: the kernel's point() is computed, point + 0 * vector,
// which is NaN along an infinite vector.
template <>
py::tuple reduce(const Line3& l) {
    return call<Line3>(Point3{l.v.rep().point()}, Vector3{l.v.rep().to_vector()});
}

template <>
void register_class(py::class_<Line3> cls) {
    cls.def(py::init([](const Point3& p, const Point3& q) { return Line3{K::Line_3(p.v, q.v)}; }),
            py::arg("p"), py::arg("q"))
        .def(py::init([](const Point3& p, const Direction3& d) { return Line3{K::Line_3(p.v, d.v)}; }),
             py::arg("p"), py::arg("d"))
        .def(py::init([](const Point3& p, const Vector3& v) { return Line3{K::Line_3(p.v, v.v)}; }),
             py::arg("p"), py::arg("v"))
        .def(py::init([](const Segment3& s) { return Line3{K::Line_3(s.v)}; }), py::arg("s"))
        .def_static(
            "from_ray", [](const Ray3& r) { return Line3{K::Line_3(r.v)}; }, py::arg("r"))
        .def(
            "projection", [](const Line3& l, const Point3& p) { return Point3{l.v.projection(p.v)}; },
            py::arg("p"))
        .def("point", [](const Line3& l, double i) { return Point3{l.v.point(i)}; }, py::arg("i"))
        .def("is_degenerate", [](const Line3& l) { return l.v.is_degenerate(); })
        .def(
            "has_on", [](const Line3& l, const Point3& p) { return l.v.has_on(p.v); }, py::arg("p"))
        .def(
            "perpendicular_plane",
            [](const Line3& l, const Point3& p) { return Plane3{l.v.perpendicular_plane(p.v)}; },
            py::arg("p"))
        .def("opposite", [](const Line3& l) { return Line3{l.v.opposite()}; })
        .def("to_vector", [](const Line3& l) { return Vector3{l.v.to_vector()}; })
        .def("direction", [](const Line3& l) { return Direction3{l.v.direction()}; });
    bind_kernel_equality(cls);
    // Only the direction vector is printed, not the point: the text is part
    // of the fixed interface, which callers may already parse
    // (README, "Deliberate behaviours").
    cls.def("__repr__", [](const Line3& l) {
        return "Line3(direction=" + point_text(l.v.to_vector()) + ")";
    });
}

}  // namespace zenolith
