#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"
#include "shared/triangles.hpp"

namespace zenolith {

namespace {

Point3 vertex(const Triangle3& t, int i) { return Point3{t.v.vertex(cyclic_index(i, 3))}; }

}  // namespace

template <>
py::tuple reduce(const Triangle3& t) {
    return call<Triangle3>(Point3{t.v.vertex(0)}, Point3{t.v.vertex(1)}, Point3{t.v.vertex(2)});
}

template <>
void register_class(py::class_<Triangle3> cls) {
    cls.def(py::init([](const Point3& p, const Point3& q, const Point3& r) {
                return Triangle3{K::Triangle_3(p.v, q.v, r.v)};
            }),
            py::arg("p"), py::arg("q"), py::arg("r"))
        .def("vertex", &vertex, py::arg("i"))
        .def("__getitem__", &vertex, py::arg("i"))
        .def("__iter__", [](const Triangle3& t) {
            return iterate(Point3{t.v.vertex(0)}, Point3{t.v.vertex(1)}, Point3{t.v.vertex(2)});
        })
        .def("supporting_plane", [](const Triangle3& t) { return Plane3{t.v.supporting_plane()}; })
        .def("is_degenerate", [](const Triangle3& t) { return t.v.is_degenerate(); })
        .def(
            "has_on", [](const Triangle3& t, const Point3& p) { return triangle_has_on(t.v, p.v); }, py::arg("p"))
        .def("squared_area", [](const Triangle3& t) { return t.v.squared_area(); })
        .def("bbox", [](const Triangle3& t) { return Bbox3{t.v.bbox()}; });
    bind_kernel_equality(cls);
    cls.def("__repr__", [](const Triangle3& t) {
        return "Triangle3(" + point_text(t.v.vertex(0)) + ", " + point_text(t.v.vertex(1)) + ", " +
               point_text(t.v.vertex(2)) + ")";
    });
}

}  // namespace zenolith
