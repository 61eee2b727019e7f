#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

// 0..3 name themselves, larger indices wrap, negative ones become
// (i rem 4) + 4, where 4 names vertex 3.
Point3 vertex(const Tetrahedron3& t, int i) { return Point3{t.v.vertex(cyclic_index(i, 4))}; }

}  // namespace

template <>
py::tuple reduce(const Tetrahedron3& t) {
    return call<Tetrahedron3>(Point3{t.v.vertex(0)}, Point3{t.v.vertex(1)}, Point3{t.v.vertex(2)},
                              Point3{t.v.vertex(3)});
}

template <>
void register_class(py::class_<Tetrahedron3> cls) {
    cls.def(py::init([](const Point3& p0, const Point3& p1, const Point3& p2, const Point3& p3) {
                return Tetrahedron3{K::Tetrahedron_3(p0.v, p1.v, p2.v, p3.v)};
            }),
            py::arg("p0"), py::arg("p1"), py::arg("p2"), py::arg("p3"))
        .def("vertex", &vertex, py::arg("i"))
        .def("__getitem__", &vertex, py::arg("i"))
        .def("__iter__",
             [](const Tetrahedron3& t) {
                 return iterate(Point3{t.v.vertex(0)}, Point3{t.v.vertex(1)}, Point3{t.v.vertex(2)},
                                Point3{t.v.vertex(3)});
             })
        .def("is_degenerate", [](const Tetrahedron3& t) { return t.v.is_degenerate(); })
        .def("orientation", [](const Tetrahedron3& t) { return sign_int(t.v.orientation()); });
    // Exact, by Cramer numerators; a flat tetrahedron has every point on its
    // oriented boundary.
    bind_side_tests<Point3>(cls);
    cls.def("volume", [](const Tetrahedron3& t) { return t.v.volume(); })
        .def("bbox", [](const Tetrahedron3& t) { return Bbox3{t.v.bbox()}; });
    // Same orientation and the same set of vertices, in any order.
    bind_kernel_equality(cls);
    cls.def("__repr__", [](const Tetrahedron3& t) {
        return "Tetrahedron3(" + point_text(t.v.vertex(0)) + ", " + point_text(t.v.vertex(1)) +
               ", " + point_text(t.v.vertex(2)) + ", " + point_text(t.v.vertex(3)) + ")";
    });
}

}  // namespace zenolith
