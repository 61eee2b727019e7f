#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

// vertex(i), point(i), s[i]: even indices give the source, odd the target.
Point2 end(const Segment2& s, int i) { return Point2{s.v.vertex(rem_index(i, 2))}; }

}  // namespace

// Parameters are positional only, except transform's.
template <>
py::tuple reduce(const Segment2& s) {
    return call<Segment2>(Point2{s.v.source()}, Point2{s.v.target()});
}

template <>
void register_class(py::class_<Segment2> cls) {
    cls.def(py::init(
        [](const Point2& p, const Point2& q) { return Segment2{K::Segment_2(p.v, q.v)}; }))
        .def("source", [](const Segment2& s) { return Point2{s.v.source()}; })
        .def("target", [](const Segment2& s) { return Point2{s.v.target()}; })
        .def("min", [](const Segment2& s) { return Point2{s.v.min()}; })
        .def("max", [](const Segment2& s) { return Point2{s.v.max()}; })
        .def("vertex", &end)
        .def("point", &end)
        .def("__getitem__", &end)
        .def("__iter__", [](const Segment2& s) {
            return iterate(Point2{s.v.source()}, Point2{s.v.target()});
        })
        .def("squared_length", [](const Segment2& s) { return s.v.squared_length(); })
        .def("direction", [](const Segment2& s) { return Direction2{s.v.direction()}; })
        .def("to_vector", [](const Segment2& s) { return Vector2{s.v.to_vector()}; })
        .def("opposite", [](const Segment2& s) { return Segment2{s.v.opposite()}; })
        .def("supporting_line", [](const Segment2& s) { return Line2{s.v.supporting_line()}; })
        .def("is_degenerate", [](const Segment2& s) { return s.v.is_degenerate(); })
        .def("is_horizontal", [](const Segment2& s) { return s.v.is_horizontal(); })
        .def("is_vertical", [](const Segment2& s) { return s.v.is_vertical(); })
        .def("has_on", [](const Segment2& s, const Point2& p) { return s.v.has_on(p.v); })
        .def("collinear_has_on",
             [](const Segment2& s, const Point2& p) { return s.v.collinear_has_on(p.v); })
        .def("bbox", [](const Segment2& s) { return Bbox2{s.v.bbox()}; });
    bind_kernel_equality(cls);
    cls.def("__repr__",
            [](const Segment2& s) {
                return "Segment2(" + point_text(s.v.source()) + ", " + point_text(s.v.target()) + ")";
            })
        .def(
            "transform",
            [](const Segment2& s, const AffTransformation2& t) {
                return Segment2{
                    K::Segment_2(t.v.transform(s.v.source()), t.v.transform(s.v.target()))};
            },
            py::arg("t"));
}

}  // namespace zenolith
