#include "shared/affine.hpp"
#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

// Exact only for maps that preserve angles: the image of (1, 0) sets the
// scale, and an odd map (a reflection included) reverses the orientation.
K::Circle_2 orthogonal_image(const K::Circle_2& c, const K::Aff_transformation_2& t) {
    const K::Vector_2 u = map_vector(t, K::Vector_2(1.0, 0.0));
    const double scale = u.squared_length();
    return K::Circle_2(t.transform(c.center()), scale * c.squared_radius(),
                       is_even(t) ? c.orientation() : CGAL::opposite(c.orientation()));
}

}  // namespace

template <>
py::tuple reduce(const Circle2& c) { return by_center<Circle2, Point2>(c, degenerate_circle); }

template <>
void register_class(py::class_<Circle2> cls) {
    cls.def(py::init([](const Point2& center, double squared_radius, int orientation) {
                return Circle2{
                    K::Circle_2(center.v, squared_radius, orientation_code(orientation))};
            }),
            py::arg("center"), py::arg("squared_radius"), py::arg("orientation") = 1)
        .def(py::init([](const Point2& p, const Point2& q, const Point2& r) {
                 return Circle2{K::Circle_2(p.v, q.v, r.v)};
             }),
             py::arg("p"), py::arg("q"), py::arg("r"))
        .def(py::init([](const Point2& p, const Point2& q, int orientation) {
                 return Circle2{K::Circle_2(p.v, q.v, orientation_code(orientation))};
             }),
             py::arg("p"), py::arg("q"), py::arg("orientation") = 1)
        .def(py::init([](const Point2& center, int orientation) {
                 return Circle2{K::Circle_2(center.v, orientation_code(orientation))};
             }),
             py::arg("center"), py::arg("orientation") = 1)
        .def("center", [](const Circle2& c) { return Point2{c.v.center()}; })
        .def("squared_radius", [](const Circle2& c) { return c.v.squared_radius(); })
        .def("orientation", [](const Circle2& c) { return sign_int(c.v.orientation()); })
        .def("is_degenerate", [](const Circle2& c) { return c.v.is_degenerate(); });
    bind_side_tests<Point2>(cls);
    cls.def("opposite", [](const Circle2& c) { return Circle2{c.v.opposite()}; })
        // Interval arithmetic with outward rounding; every interval operation
        // restores the rounding mode it switched.
        .def("bbox", [](const Circle2& c) { return Bbox2{c.v.bbox()}; });
    bind_kernel_equality(cls);
    cls.def("__repr__",
            [](const Circle2& c) {
                return "Circle2(center=" + point_text(c.v.center()) +
                       ", squared_radius=" + number_text(c.v.squared_radius()) + ")";
            })
        .def(
            "orthogonal_transform",
            [](const Circle2& c, const AffTransformation2& t) {
                return Circle2{orthogonal_image(c.v, t.v)};
            },
            py::arg("t"));
}

}  // namespace zenolith
