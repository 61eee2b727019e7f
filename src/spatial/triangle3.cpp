#include "../module/conventions.hpp"
#include "../module/registrations.hpp"

namespace zenolith {

namespace {

using Tri = K::Triangle_3;

Point3 vertex(const Triangle3& t, int i) { return Point3{t.v.vertex(cyclic_index(i, 3))}; }

}  // namespace

void register_triangle3(py::module_& m) {
    using T = Triangle3;
    py::class_<T> cls(m, "Triangle3");
    cls.def(py::init([](const Point3& p, const Point3& q, const Point3& r) {
                return T{Tri(p.v, q.v, r.v)};
            }),
            py::arg("p"), py::arg("q"), py::arg("r"))
        .def("vertex", &vertex, py::arg("i"))
        .def("__getitem__", &vertex, py::arg("i"))
        .def("__iter__", [](const T& t) {
            return iterate(Point3{t.v.vertex(0)}, Point3{t.v.vertex(1)}, Point3{t.v.vertex(2)});
        })
        .def("supporting_plane", [](const T& t) { return Plane3{t.v.supporting_plane()}; })
        .def("is_degenerate", [](const T& t) { return t.v.is_degenerate(); })
        // Exact, by Cramer numerators without division: a point that is on
        // the triangle only up to rounding is not on it.
        .def(
            "has_on", [](const T& t, const Point3& p) { return t.v.has_on(p.v); }, py::arg("p"))
        .def("squared_area", [](const T& t) { return t.v.squared_area(); })
        .def("bbox", [](const T& t) { return Bbox3{t.v.bbox()}; });
    bind_kernel_equality_same_object_first(cls);
    cls.def("__repr__", [](const T& t) {
        return "Triangle3(" + point_text(t.v.vertex(0)) + ", " + point_text(t.v.vertex(1)) + ", " +
               point_text(t.v.vertex(2)) + ")";
    });
}

}  // namespace zenolith
