#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

// 0..2 name themselves, larger indices wrap, negative ones become
// (i rem 3) + 3, where 3 names vertex 2.
Point2 vertex(const Triangle2& t, int i) { return Point2{t.v.vertex(cyclic_index(i, 3))}; }

}  // namespace

template <>
py::tuple reduce(const Triangle2& t) {
    return call<Triangle2>(Point2{t.v.vertex(0)}, Point2{t.v.vertex(1)}, Point2{t.v.vertex(2)});
}

template <>
void register_class(py::class_<Triangle2> cls) {
    cls.def(py::init([](const Point2& p, const Point2& q, const Point2& r) {
                return Triangle2{K::Triangle_2(p.v, q.v, r.v)};
            }),
            py::arg("p"), py::arg("q"), py::arg("r"))
        .def("vertex", &vertex, py::arg("i"))
        .def("__getitem__", &vertex, py::arg("i"))
        .def("__iter__", [](const Triangle2& t) {
            return iterate(Point2{t.v.vertex(0)}, Point2{t.v.vertex(1)}, Point2{t.v.vertex(2)});
        })
        .def("is_degenerate", [](const Triangle2& t) { return t.v.is_degenerate(); })
        .def("orientation", [](const Triangle2& t) { return sign_int(t.v.orientation()); });
    bind_side_tests<Point2>(cls);
    cls.def("opposite", [](const Triangle2& t) { return Triangle2{t.v.opposite()}; })
        .def("area", [](const Triangle2& t) { return t.v.area(); })
        .def("bbox", [](const Triangle2& t) { return Bbox2{t.v.bbox()}; });
    // Equal up to a cyclic shift, judged from the first vertex that matches.
    bind_kernel_equality(cls);
    cls.def("__repr__",
            [](const Triangle2& t) {
                return "Triangle2(" + point_text(t.v.vertex(0)) + ", " + point_text(t.v.vertex(1)) +
                       ", " + point_text(t.v.vertex(2)) + ")";
            })
        .def(
            "transform",
            [](const Triangle2& self, const AffTransformation2& t) {
                return Triangle2{self.v.transform(t.v)};
            },
            py::arg("t"));
}

}  // namespace zenolith
