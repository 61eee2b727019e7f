#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

// An oriented plane a*x + b*y + c*z + d = 0, stored as constructed. Lines,
// rays and segments reduce to three points; the 2D frame is the kernel's.
template <>
py::tuple reduce(const Plane3& h) { return call<Plane3>(h.v.a(), h.v.b(), h.v.c(), h.v.d()); }

template <>
void register_class(py::class_<Plane3> cls) {
    cls.def(py::init([](double a, double b, double c, double d) {
                return Plane3{K::Plane_3(a, b, c, d)};
            }),
            py::arg("a"), py::arg("b"), py::arg("c"), py::arg("d"))
        .def(py::init([](const Point3& p, const Point3& q, const Point3& r) {
                 return Plane3{K::Plane_3(p.v, q.v, r.v)};
             }),
             py::arg("p"), py::arg("q"), py::arg("r"))
        .def(py::init([](const Point3& p, const Vector3& v) { return Plane3{K::Plane_3(p.v, v.v)}; }),
             py::arg("p"), py::arg("v"))
        .def(py::init(
                 [](const Point3& p, const Direction3& d) { return Plane3{K::Plane_3(p.v, d.v)}; }),
             py::arg("p"), py::arg("d"))
        .def(py::init([](const Line3& l, const Point3& p) { return Plane3{K::Plane_3(l.v, p.v)}; }),
             py::arg("l"), py::arg("p"))
        .def_static(
            "from_ray", [](const Ray3& r, const Point3& p) { return Plane3{K::Plane_3(r.v, p.v)}; },
            py::arg("r"), py::arg("p"))
        .def_static(
            "from_segment",
            [](const Segment3& s, const Point3& p) { return Plane3{K::Plane_3(s.v, p.v)}; },
            py::arg("s"), py::arg("p"))
        .def_property_readonly("a", [](const Plane3& h) { return h.v.a(); })
        .def_property_readonly("b", [](const Plane3& h) { return h.v.b(); })
        .def_property_readonly("c", [](const Plane3& h) { return h.v.c(); })
        .def_property_readonly("d", [](const Plane3& h) { return h.v.d(); })
        // A circle lies in the plane when its supporting plane is the same
        // point set, orientation aside (or, with radius 0, holds its center).
        .def(
            "has_on_circle", [](const Plane3& h, const Circle3& c) { return h.v.has_on(c.v); },
            py::arg("c"))
        .def(
            "perpendicular_line",
            [](const Plane3& h, const Point3& p) { return Line3{h.v.perpendicular_line(p.v)}; },
            py::arg("p"))
        .def(
            "projection",
            [](const Plane3& h, const Point3& p) { return Point3{h.v.projection(p.v)}; },
            py::arg("p"))
        .def("opposite", [](const Plane3& h) { return Plane3{h.v.opposite()}; })
        .def("point", [](const Plane3& h) { return Point3{h.v.point()}; })
        .def("orthogonal_vector", [](const Plane3& h) { return Vector3{h.v.orthogonal_vector()}; })
        .def("orthogonal_direction",
             [](const Plane3& h) { return Direction3{h.v.orthogonal_direction()}; })
        .def("base1", [](const Plane3& h) { return Vector3{h.v.base1()}; })
        .def("base2", [](const Plane3& h) { return Vector3{h.v.base2()}; })
        .def(
            "to_2d", [](const Plane3& h, const Point3& p) { return Point2{h.v.to_2d(p.v)}; },
            py::arg("p"))
        .def(
            "to_3d", [](const Plane3& h, const Point2& p) { return Point3{h.v.to_3d(p.v)}; },
            py::arg("p"))
        .def(
            "oriented_side",
            [](const Plane3& h, const Point3& p) { return sign_int(h.v.oriented_side(p.v)); },
            py::arg("p"))
        .def(
            "has_on", [](const Plane3& h, const Point3& p) { return h.v.has_on(p.v); }, py::arg("p"))
        .def(
            "has_on_line", [](const Plane3& h, const Line3& l) { return h.v.has_on(l.v); },
            py::arg("l"))
        .def(
            "has_on_positive_side",
            [](const Plane3& h, const Point3& p) { return h.v.has_on_positive_side(p.v); },
            py::arg("p"))
        .def(
            "has_on_negative_side",
            [](const Plane3& h, const Point3& p) { return h.v.has_on_negative_side(p.v); },
            py::arg("p"))
        .def("is_degenerate", [](const Plane3& h) { return h.v.is_degenerate(); });
    bind_kernel_equality(cls);
    cls.def("__repr__", [](const Plane3& h) {
        return keyword_text("Plane3",
                            {{"a", h.v.a()}, {"b", h.v.b()}, {"c", h.v.c()}, {"d", h.v.d()}});
    });
}

}  // namespace zenolith
