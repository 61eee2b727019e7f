#include "../module/conventions.hpp"
#include "../module/registrations.hpp"

namespace zenolith {

namespace {

using Tri = K::Triangle_2;

// 0..2 name themselves, larger indices wrap, negative ones become
// (i rem 3) + 3, where 3 names vertex 2.
Point2 vertex(const Triangle2& t, int i) { return Point2{t.v.vertex(cyclic_index(i, 3))}; }

}  // namespace

void register_triangle2(py::module_& m) {
    using T = Triangle2;
    py::class_<T> cls(m, "Triangle2");
    cls.def(py::init([](const Point2& p, const Point2& q, const Point2& r) {
                return T{Tri(p.v, q.v, r.v)};
            }),
            py::arg("p"), py::arg("q"), py::arg("r"))
        .def("vertex", &vertex, py::arg("i"))
        .def("__getitem__", &vertex, py::arg("i"))
        .def("__iter__", [](const T& t) {
            return iterate(Point2{t.v.vertex(0)}, Point2{t.v.vertex(1)}, Point2{t.v.vertex(2)});
        })
        .def("is_degenerate", [](const T& t) { return t.v.is_degenerate(); })
        .def("orientation", [](const T& t) { return sign_int(t.v.orientation()); });
    bind_side_tests<Point2>(cls);
    cls.def("opposite", [](const T& t) { return T{t.v.opposite()}; })
        .def("area", [](const T& t) { return t.v.area(); })
        .def("bbox", [](const T& t) { return Bbox2{t.v.bbox()}; });
    // Equal up to a cyclic shift, judged from the first vertex that matches.
    bind_kernel_equality(cls);
    cls.def("__repr__",
            [](const T& t) {
                return "Triangle2(" + point_text(t.v.vertex(0)) + ", " + point_text(t.v.vertex(1)) +
                       ", " + point_text(t.v.vertex(2)) + ")";
            })
        .def(
            "transform", [](const T& t, const AffTransformation2& a) { return T{t.v.transform(a.v)}; },
            py::arg("t"));
}

}  // namespace zenolith
