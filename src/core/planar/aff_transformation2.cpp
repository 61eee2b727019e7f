#include "shared/affine.hpp"
#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

Point2 transform_point(const AffTransformation2& t, const Point2& p) {
    return Point2{t.v.transform(p.v)};
}

double entry(const AffTransformation2& t, int i, int j) { return matrix_entry(t.v, i, j); }

}  // namespace

// Vectors, directions and lines are mapped, and matrices read, compared,
// inverted and composed through affine.hpp, which mends the kernel's
// reflection and scaling faults (README, "Deliberate behaviours").
// Each representation through the constructor that makes it: the kernel's
// stored numbers are read back exactly by cartesian() for the four kinds
// other than a reflection, which is rebuilt from the line it was made from.
template <>
py::tuple reduce(const AffTransformation2& a) {
    const Transformation& t = a.v;
    if (t.is_translation())
        return call<AffTransformation2>(Vector2{K::Vector_2(t.cartesian(0, 2), t.cartesian(1, 2))});
    if (t.is_scaling()) return call<AffTransformation2>(t.cartesian(0, 0));
    if (t.is_rotation()) return call<AffTransformation2>(t.cartesian(1, 0), t.cartesian(0, 0));
    if (t.is_reflection()) {
        const K::Line_2* l = reflection_line(t);
        if (!l) no_exact_rebuild("AffTransformation2");
        return call<AffTransformation2>(Line2{*l});
    }
    return call<AffTransformation2>(t.cartesian(0, 0), t.cartesian(0, 1), t.cartesian(0, 2),
                                    t.cartesian(1, 0), t.cartesian(1, 1), t.cartesian(1, 2));
}

template <>
void register_class(py::class_<AffTransformation2> cls) {
    cls.def(py::init([] { return AffTransformation2{Transformation()}; }))
        .def(py::init([](const Vector2& v) {
                 return AffTransformation2{Transformation(CGAL::TRANSLATION, v.v)};
             }),
             py::arg("v"))
        .def(py::init([](double s) { return AffTransformation2{Transformation(CGAL::SCALING, s)}; }),
             py::arg("s"))
        .def(py::init([](const Line2& l) { return AffTransformation2{reflection(l.v)}; }),
             py::arg("l"))
        .def(py::init([](double sine, double cosine) {
                 return AffTransformation2{Transformation(CGAL::ROTATION, sine, cosine)};
             }),
             py::arg("sine"), py::arg("cosine"))
        .def(py::init([](double m00, double m01, double m02, double m10, double m11, double m12) {
                 return AffTransformation2{Transformation(m00, m01, m02, m10, m11, m12)};
             }),
             py::arg("m00"), py::arg("m01"), py::arg("m02"), py::arg("m10"), py::arg("m11"),
             py::arg("m12"))
        .def(py::init([](double m00, double m01, double m10, double m11) {
                 return AffTransformation2{Transformation(m00, m01, m10, m11)};
             }),
             py::arg("m00"), py::arg("m01"), py::arg("m10"), py::arg("m11"))
        .def("transform_point", &transform_point, py::arg("p"))
        .def(
            "transform_vector",
            [](const AffTransformation2& t, const Vector2& v) { return Vector2{map_vector(t.v, v.v)}; },
            py::arg("v"))
        .def(
            "transform_direction",
            [](const AffTransformation2& t, const Direction2& d) {
                return Direction2{map_direction(t.v, d.v)};
            },
            py::arg("d"))
        .def(
            "transform_line",
            [](const AffTransformation2& t, const Line2& l) { return Line2{map_line(t.v, l.v)}; },
            py::arg("l"))
        .def("__call__", &transform_point, py::arg("p"))
        .def("inverse", [](const AffTransformation2& t) { return AffTransformation2{inverse(t.v)}; })
        .def("is_even", [](const AffTransformation2& t) { return is_even(t.v); })
        .def("is_odd", [](const AffTransformation2& t) { return !is_even(t.v); })
        .def("is_scaling", [](const AffTransformation2& t) { return t.v.is_scaling(); })
        .def("is_translation", [](const AffTransformation2& t) { return t.v.is_translation(); })
        .def("is_rotation", [](const AffTransformation2& t) { return t.v.is_rotation(); })
        .def("is_reflection", [](const AffTransformation2& t) { return t.v.is_reflection(); })
        .def("cartesian", &entry, py::arg("i"), py::arg("j"))
        .def("homogeneous", &entry, py::arg("i"), py::arg("j"))
        .def("__mul__", [](const AffTransformation2& a, const AffTransformation2& b) {
            return AffTransformation2{compose(a.v, b.v)};
        });
    // No __ne__ of its own: Python negates __eq__.
    bind_eq(cls, [](const AffTransformation2& a, const AffTransformation2& b) {
        return equal(a.v, b.v);
    });
    // The linear part only: the text is part of the fixed interface, so the
    // translation stays out of it and is read with cartesian(i, 2) instead
    // (README, "Deliberate behaviours").
    cls.def("__repr__", [](const AffTransformation2& t) {
        return keyword_text("AffTransformation2", {{"m00", t.v.cartesian(0, 0)},
                                                   {"m01", t.v.cartesian(0, 1)},
                                                   {"m10", t.v.cartesian(1, 0)},
                                                   {"m11", t.v.cartesian(1, 1)}});
    });
}

}  // namespace zenolith
