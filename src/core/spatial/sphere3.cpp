#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

// An int second argument reaches the (center, orientation) constructor in
// the first overload pass: Sphere3(c, 2) is the sphere of radius 0.
template <>
py::tuple reduce(const Sphere3& s) { return by_center<Sphere3, Point3>(s, degenerate_sphere); }

template <>
void register_class(py::class_<Sphere3> cls) {
    cls.def(py::init([](const Point3& center, double squared_radius, int orientation) {
                return Sphere3{K::Sphere_3(center.v, squared_radius, orientation_code(orientation))};
            }),
            py::arg("center"), py::arg("squared_radius"), py::arg("orientation") = 1)
        .def(py::init([](const Point3& p, const Point3& q, const Point3& r, const Point3& s) {
                 return Sphere3{K::Sphere_3(p.v, q.v, r.v, s.v)};
             }),
             py::arg("p"), py::arg("q"), py::arg("r"), py::arg("s"))
        .def(py::init([](const Point3& p, const Point3& q, const Point3& r, int orientation) {
                 return Sphere3{K::Sphere_3(p.v, q.v, r.v, orientation_code(orientation))};
             }),
             py::arg("p"), py::arg("q"), py::arg("r"), py::arg("orientation") = 1)
        .def(py::init([](const Point3& p, const Point3& q, int orientation) {
                 return Sphere3{K::Sphere_3(p.v, q.v, orientation_code(orientation))};
             }),
             py::arg("p"), py::arg("q"), py::arg("orientation") = 1)
        .def(py::init([](const Point3& center, int orientation) {
                 return Sphere3{K::Sphere_3(center.v, orientation_code(orientation))};
             }),
             py::arg("center"), py::arg("orientation") = 1)
        .def_static(
            "from_circle", [](const Circle3& c) { return Sphere3{c.v.diametral_sphere()}; },
            py::arg("c"))
        .def(
            "has_on_circle", [](const Sphere3& s, const Circle3& c) { return s.v.has_on(c.v); },
            py::arg("c"))
        .def("center", [](const Sphere3& s) { return Point3{s.v.center()}; })
        .def("squared_radius", [](const Sphere3& s) { return s.v.squared_radius(); })
        .def("orientation", [](const Sphere3& s) { return sign_int(s.v.orientation()); })
        .def("is_degenerate", [](const Sphere3& s) { return s.v.is_degenerate(); });
    bind_side_tests<Point3>(cls);
    cls.def(
           "has_on", [](const Sphere3& s, const Point3& p) { return s.v.has_on(p.v); }, py::arg("p"))
        .def("opposite", [](const Sphere3& s) { return Sphere3{s.v.opposite()}; })
        // Interval arithmetic with outward rounding; the rounding mode is
        // restored by every interval operation.
        .def("bbox", [](const Sphere3& s) { return Bbox3{s.v.bbox()}; });
    bind_kernel_equality(cls);
    cls.def("__repr__", [](const Sphere3& s) {
        return "Sphere3(center=" + point_text(s.v.center()) +
               ", squared_radius=" + number_text(s.v.squared_radius()) + ")";
    });
}

}  // namespace zenolith
