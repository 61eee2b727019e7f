#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

// Counterclockwise from the minimum corner; r = i rem 4, and every negative
// remainder names vertex 3.
Point2 vertex(const IsoRectangle2& r, int i) { return Point2{r.v.vertex(rem_index(i, 4))}; }

}  // namespace

// The constructors from two corners, from numbers and from a box sort each
// coordinate pair (a < b ? a : b), as the kernel's two-corner constructor
// does; the four-point one stores its arguments as given, even inverted.
// The two-point constructor sorts each coordinate with `<`, which swaps a
// stored pair such as (0.0, -0.0) or one holding a NaN; the four-point one
// takes every coordinate as given.
template <>
py::tuple reduce(const IsoRectangle2& r) {
    const Point2 lo{r.v.min()}, hi{r.v.max()};
    if (lo.v.x() < hi.v.x() && lo.v.y() < hi.v.y()) return call<IsoRectangle2>(lo, hi);
    return call<IsoRectangle2>(lo, hi, lo, hi);
}

template <>
void register_class(py::class_<IsoRectangle2> cls) {
    cls.def(py::init([](const Point2& p, const Point2& q) {
                return IsoRectangle2{K::Iso_rectangle_2(p.v, q.v)};
            }),
            py::arg("p"), py::arg("q"))
        .def(py::init([](const Point2& left, const Point2& right, const Point2& bottom,
                         const Point2& top) {
                 return IsoRectangle2{K::Iso_rectangle_2(left.v, right.v, bottom.v, top.v)};
             }),
             py::arg("left"), py::arg("right"), py::arg("bottom"), py::arg("top"))
        .def(py::init([](double min_x, double min_y, double max_x, double max_y) {
                 return IsoRectangle2{
                     K::Iso_rectangle_2(K::Point_2(min_x, min_y), K::Point_2(max_x, max_y))};
             }),
             py::arg("min_x"), py::arg("min_y"), py::arg("max_x"), py::arg("max_y"))
        .def(py::init([](const Bbox2& b) {
                 return IsoRectangle2{K::Iso_rectangle_2(K::Point_2(b.v.xmin(), b.v.ymin()),
                                                         K::Point_2(b.v.xmax(), b.v.ymax()))};
             }),
             py::arg("bbox"))
        .def("vertex", &vertex, py::arg("i"))
        .def("__getitem__", &vertex, py::arg("i"))
        .def("__iter__",
             [](const IsoRectangle2& r) {
                 return iterate(vertex(r, 0), vertex(r, 1), vertex(r, 2), vertex(r, 3));
             })
        .def("min", [](const IsoRectangle2& r) { return Point2{r.v.min()}; })
        .def("max", [](const IsoRectangle2& r) { return Point2{r.v.max()}; })
        .def("xmin", [](const IsoRectangle2& r) { return r.v.xmin(); })
        .def("ymin", [](const IsoRectangle2& r) { return r.v.ymin(); })
        .def("xmax", [](const IsoRectangle2& r) { return r.v.xmax(); })
        .def("ymax", [](const IsoRectangle2& r) { return r.v.ymax(); })
        .def(
            "min_coord",
            [](const IsoRectangle2& r, int i) { return r.v.min_coord(named_or_last(i, 1)); },
            py::arg("i"))
        .def(
            "max_coord",
            [](const IsoRectangle2& r, int i) { return r.v.max_coord(named_or_last(i, 1)); },
            py::arg("i"))
        .def("is_degenerate", [](const IsoRectangle2& r) { return r.v.is_degenerate(); });
    bind_bounded_side_tests<Point2>(cls);
    cls.def("area", [](const IsoRectangle2& r) { return r.v.area(); })
        .def("bbox", [](const IsoRectangle2& r) { return Bbox2{r.v.bbox()}; });
    bind_kernel_equality(cls);
    cls.def("__repr__",
            [](const IsoRectangle2& r) {
                return keyword_text("IsoRectangle2", {{"xmin", r.v.xmin()},
                                                      {"ymin", r.v.ymin()},
                                                      {"xmax", r.v.xmax()},
                                                      {"ymax", r.v.ymax()}});
            })
        // The images of the two stored corners, sorted again.
        .def(
            "transform",
            [](const IsoRectangle2& r, const AffTransformation2& t) {
                return IsoRectangle2{
                    K::Iso_rectangle_2(t.v.transform(r.v.min()), t.v.transform(r.v.max()))};
            },
            py::arg("t"));
}

}  // namespace zenolith
