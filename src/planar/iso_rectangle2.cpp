#include "../module/conventions.hpp"
#include "../module/registrations.hpp"

namespace zenolith {

namespace {

using P = K::Point_2;
using Rect = K::Iso_rectangle_2;

// From two opposite corners, each coordinate pair sorted (a < b ? a : b).
Rect spanned(const P& p, const P& q) { return Rect(p, q); }

// Counterclockwise from the minimum corner; r = i rem 4, and every negative
// remainder names vertex 3.
Point2 vertex(const IsoRectangle2& r, int i) {
    const Rect& b = r.v;
    switch (rem_index(i, 4)) {
        case 0: return Point2{P(b.xmin(), b.ymin())};
        case 1: return Point2{P(b.xmax(), b.ymin())};
        case 2: return Point2{P(b.xmax(), b.ymax())};
        default: return Point2{P(b.xmin(), b.ymax())};
    }
}

}  // namespace

void register_iso_rectangle2(py::module_& m) {
    using R = IsoRectangle2;
    py::class_<R> cls(m, "IsoRectangle2");
    cls.def(py::init([](const Point2& p, const Point2& q) { return R{spanned(p.v, q.v)}; }),
            py::arg("p"), py::arg("q"))
        // Stored as given, even inverted.
        .def(py::init([](const Point2& left, const Point2& right, const Point2& bottom,
                         const Point2& top) { return R{Rect(left.v, right.v, bottom.v, top.v)}; }),
             py::arg("left"), py::arg("right"), py::arg("bottom"), py::arg("top"))
        .def(py::init([](double min_x, double min_y, double max_x, double max_y) {
                 return R{spanned(P(min_x, min_y), P(max_x, max_y))};
             }),
             py::arg("min_x"), py::arg("min_y"), py::arg("max_x"), py::arg("max_y"))
        .def(py::init([](const Bbox2& b) {
                 return R{spanned(P(b.v.xmin(), b.v.ymin()), P(b.v.xmax(), b.v.ymax()))};
             }),
             py::arg("bbox"))
        .def("vertex", &vertex, py::arg("i"))
        .def("__getitem__", &vertex, py::arg("i"))
        .def("__iter__",
             [](const R& r) { return iterate(vertex(r, 0), vertex(r, 1), vertex(r, 2), vertex(r, 3)); })
        .def("min", [](const R& r) { return Point2{r.v.min()}; })
        .def("max", [](const R& r) { return Point2{r.v.max()}; })
        .def("xmin", [](const R& r) { return r.v.xmin(); })
        .def("ymin", [](const R& r) { return r.v.ymin(); })
        .def("xmax", [](const R& r) { return r.v.xmax(); })
        .def("ymax", [](const R& r) { return r.v.ymax(); })
        .def("min_coord", [](const R& r, int i) { return r.v.min_coord(named_or_last(i, 1)); },
             py::arg("i"))
        .def("max_coord", [](const R& r, int i) { return r.v.max_coord(named_or_last(i, 1)); },
             py::arg("i"))
        .def("is_degenerate", [](const R& r) { return r.v.is_degenerate(); });
    bind_bounded_side_tests<Point2>(cls);
    cls.def("area", [](const R& r) { return r.v.area(); })
        .def("bbox", [](const R& r) { return Bbox2{r.v.bbox()}; });
    bind_kernel_equality(cls);
    cls.def("__repr__",
            [](const R& r) {
                return keyword_text("IsoRectangle2", {{"xmin", r.v.xmin()},
                                                      {"ymin", r.v.ymin()},
                                                      {"xmax", r.v.xmax()},
                                                      {"ymax", r.v.ymax()}});
            })
        .def(
            "transform",
            [](const R& r, const AffTransformation2& t) {
                return R{spanned(t.v.transform(r.v.min()), t.v.transform(r.v.max()))};
            },
            py::arg("t"));
}

}  // namespace zenolith
