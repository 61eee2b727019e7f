#include "shared/affine.hpp"
#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

// Through the source and the stored second point.
Line2 from_ray(const Ray2& r) { return Line2{K::Line_2(r.v)}; }

}  // namespace

template <>
py::tuple reduce(const Line2& l) { return call<Line2>(l.v.a(), l.v.b(), l.v.c()); }

template <>
void register_class(py::class_<Line2> cls) {
    cls.def(py::init([](double a, double b, double c) { return Line2{K::Line_2(a, b, c)}; }),
            py::arg("a"), py::arg("b"), py::arg("c"))
        // Oriented from p towards q. The kernel's two-point rule: a horizontal
        // line gets (0, +-1, -+py) and a vertical one (-+1, 0, +-px) exactly;
        // equal points give (0, 0, 0); otherwise a = py - qy, b = qx - px,
        // c = -px*a - py*b. A NaN coordinate fails the equality tests and
        // falls through to the last branch. Segments and rays use the same
        // rule through their two stored points.
        .def(py::init([](const Point2& p, const Point2& q) { return Line2{K::Line_2(p.v, q.v)}; }),
             py::arg("p"), py::arg("q"))
        .def(py::init([](const Point2& p, const Direction2& d) { return Line2{K::Line_2(p.v, d.v)}; }),
             py::arg("p"), py::arg("d"))
        .def(py::init([](const Point2& p, const Vector2& v) { return Line2{K::Line_2(p.v, v.v)}; }),
             py::arg("p"), py::arg("v"))
        .def(py::init([](const Segment2& s) { return Line2{K::Line_2(s.v)}; }), py::arg("s"))
        .def(py::init(&from_ray), py::arg("r"))
        .def_static("from_ray", &from_ray, py::arg("r"))
        .def_property_readonly("a", [](const Line2& l) { return l.v.a(); })
        .def_property_readonly("b", [](const Line2& l) { return l.v.b(); })
        .def_property_readonly("c", [](const Line2& l) { return l.v.c(); })
        .def("point", [](const Line2& l, double i) { return Point2{l.v.point(i)}; }, py::arg("i"))
        .def(
            "projection", [](const Line2& l, const Point2& p) { return Point2{l.v.projection(p.v)}; },
            py::arg("p"))
        .def("x_at_y", [](const Line2& l, double y) { return l.v.x_at_y(y); }, py::arg("y"))
        .def("y_at_x", [](const Line2& l, double x) { return l.v.y_at_x(x); }, py::arg("x"))
        .def("is_degenerate", [](const Line2& l) { return l.v.is_degenerate(); })
        .def("is_horizontal", [](const Line2& l) { return l.v.is_horizontal(); })
        .def("is_vertical", [](const Line2& l) { return l.v.is_vertical(); })
        .def(
            "oriented_side",
            [](const Line2& l, const Point2& p) { return sign_int(l.v.oriented_side(p.v)); },
            py::arg("p"))
        .def(
            "has_on", [](const Line2& l, const Point2& p) { return l.v.has_on(p.v); }, py::arg("p"))
        .def(
            "has_on_positive_side",
            [](const Line2& l, const Point2& p) { return l.v.has_on_positive_side(p.v); },
            py::arg("p"))
        .def(
            "has_on_negative_side",
            [](const Line2& l, const Point2& p) { return l.v.has_on_negative_side(p.v); },
            py::arg("p"))
        .def("to_vector", [](const Line2& l) { return Vector2{l.v.to_vector()}; })
        .def("direction", [](const Line2& l) { return Direction2{l.v.direction()}; })
        .def("opposite", [](const Line2& l) { return Line2{l.v.opposite()}; })
        .def(
            "perpendicular",
            [](const Line2& l, const Point2& p) { return Line2{l.v.perpendicular(p.v)}; },
            py::arg("p"));
    bind_kernel_equality(cls);
    cls.def("__repr__",
            [](const Line2& l) {
                return keyword_text("Line2", {{"a", l.v.a()}, {"b", l.v.b()}, {"c", l.v.c()}});
            })
        .def(
            "transform",
            [](const Line2& l, const AffTransformation2& t) { return Line2{map_line(t.v, l.v)}; },
            py::arg("t"));
}

}  // namespace zenolith
