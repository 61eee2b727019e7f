#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

// vertex(i), point(i), s[i]: even indices give the source, odd the target.
Point3 end(const Segment3& s, int i) { return Point3{s.v.vertex(rem_index(i, 2))}; }

}  // namespace

template <>
py::tuple reduce(const Segment3& s) {
    return call<Segment3>(Point3{s.v.source()}, Point3{s.v.target()});
}

template <>
void register_class(py::class_<Segment3> cls) {
    cls.def(py::init([](const Point3& p, const Point3& q) { return Segment3{K::Segment_3(p.v, q.v)}; }),
            py::arg("p"), py::arg("q"))
        .def("source", [](const Segment3& s) { return Point3{s.v.source()}; })
        .def("target", [](const Segment3& s) { return Point3{s.v.target()}; })
        .def("min", [](const Segment3& s) { return Point3{s.v.min()}; })
        .def("max", [](const Segment3& s) { return Point3{s.v.max()}; })
        .def("vertex", &end, py::arg("i"))
        .def("point", &end, py::arg("i"))
        .def("__getitem__", &end, py::arg("i"))
        .def("__iter__", [](const Segment3& s) {
            return iterate(Point3{s.v.source()}, Point3{s.v.target()});
        })
        .def("squared_length", [](const Segment3& s) { return s.v.squared_length(); })
        .def("to_vector", [](const Segment3& s) { return Vector3{s.v.to_vector()}; })
        .def("direction", [](const Segment3& s) { return Direction3{s.v.direction()}; })
        .def("opposite", [](const Segment3& s) { return Segment3{s.v.opposite()}; })
        .def("supporting_line", [](const Segment3& s) { return Line3{s.v.supporting_line()}; })
        .def("is_degenerate", [](const Segment3& s) { return s.v.is_degenerate(); })
        // Exact: collinear by three 2x2 determinants, then ordered along
        // the first coordinate on which source and point differ.
        .def(
            "has_on", [](const Segment3& s, const Point3& p) { return s.v.has_on(p.v); },
            py::arg("p"))
        .def("bbox", [](const Segment3& s) { return Bbox3{s.v.bbox()}; });
    bind_kernel_equality(cls);
    cls.def("__repr__", [](const Segment3& s) {
        return "Segment3(" + point_text(s.v.source()) + ", " + point_text(s.v.target()) + ")";
    });
}

}  // namespace zenolith
