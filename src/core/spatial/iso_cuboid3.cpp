#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

namespace {

// r = i rem 8 names corners 0..6; 7 and every negative remainder name the
// maximum corner.
Point3 vertex(const IsoCuboid3& c, int i) { return Point3{c.v.vertex(rem_index(i, 8))}; }

}  // namespace

// The constructors from two corners, from numbers and from a box sort each
// axis (a < b ? a : b), as the kernel's two-corner constructor does; the
// six-point one stores its arguments as given, even inverted.
// As for the rectangle: the six-point constructor keeps every coordinate.
template <>
py::tuple reduce(const IsoCuboid3& c) {
    const Point3 lo{c.v.min()}, hi{c.v.max()};
    if (lo.v.x() < hi.v.x() && lo.v.y() < hi.v.y() && lo.v.z() < hi.v.z())
        return call<IsoCuboid3>(lo, hi);
    return call<IsoCuboid3>(lo, hi, lo, hi, lo, hi);
}

template <>
void register_class(py::class_<IsoCuboid3> cls) {
    cls.def(py::init([](const Point3& p, const Point3& q) {
                return IsoCuboid3{K::Iso_cuboid_3(p.v, q.v)};
            }),
            py::arg("p"), py::arg("q"))
        .def(py::init([](const Point3& left, const Point3& right, const Point3& bottom,
                         const Point3& top, const Point3& far, const Point3& close) {
                 return IsoCuboid3{
                     K::Iso_cuboid_3(left.v, right.v, bottom.v, top.v, far.v, close.v)};
             }),
             py::arg("left"), py::arg("right"), py::arg("bottom"), py::arg("top"), py::arg("far"),
             py::arg("close"))
        .def(py::init([](double min_x, double min_y, double min_z, double max_x, double max_y,
                         double max_z) {
                 return IsoCuboid3{K::Iso_cuboid_3(K::Point_3(min_x, min_y, min_z),
                                                   K::Point_3(max_x, max_y, max_z))};
             }),
             py::arg("min_x"), py::arg("min_y"), py::arg("min_z"), py::arg("max_x"),
             py::arg("max_y"), py::arg("max_z"))
        .def(py::init([](const Bbox3& b) {
                 return IsoCuboid3{K::Iso_cuboid_3(K::Point_3(b.v.xmin(), b.v.ymin(), b.v.zmin()),
                                                   K::Point_3(b.v.xmax(), b.v.ymax(), b.v.zmax()))};
             }),
             py::arg("bbox"))
        .def("vertex", &vertex, py::arg("i"))
        .def("__getitem__", &vertex, py::arg("i"))
        .def("__iter__",
             [](const IsoCuboid3& c) {
                 return iterate(vertex(c, 0), vertex(c, 1), vertex(c, 2), vertex(c, 3), vertex(c, 4),
                                vertex(c, 5), vertex(c, 6), vertex(c, 7));
             })
        .def("min", [](const IsoCuboid3& c) { return Point3{c.v.min()}; })
        .def("max", [](const IsoCuboid3& c) { return Point3{c.v.max()}; })
        .def("xmin", [](const IsoCuboid3& c) { return c.v.xmin(); })
        .def("ymin", [](const IsoCuboid3& c) { return c.v.ymin(); })
        .def("zmin", [](const IsoCuboid3& c) { return c.v.zmin(); })
        .def("xmax", [](const IsoCuboid3& c) { return c.v.xmax(); })
        .def("ymax", [](const IsoCuboid3& c) { return c.v.ymax(); })
        .def("zmax", [](const IsoCuboid3& c) { return c.v.zmax(); })
        .def(
            "min_coord",
            [](const IsoCuboid3& c, int i) { return c.v.min_coord(named_or_last(i, 2)); },
            py::arg("i"))
        .def(
            "max_coord",
            [](const IsoCuboid3& c, int i) { return c.v.max_coord(named_or_last(i, 2)); },
            py::arg("i"))
        .def("is_degenerate", [](const IsoCuboid3& c) { return c.v.is_degenerate(); });
    bind_bounded_side_tests<Point3>(cls);
    cls.def("volume", [](const IsoCuboid3& c) { return c.v.volume(); })
        .def("bbox", [](const IsoCuboid3& c) { return Bbox3{c.v.bbox()}; });
    bind_kernel_equality(cls);
    cls.def("__repr__", [](const IsoCuboid3& c) {
        return keyword_text("IsoCuboid3", {{"xmin", c.v.xmin()},
                                           {"ymin", c.v.ymin()},
                                           {"zmin", c.v.zmin()},
                                           {"xmax", c.v.xmax()},
                                           {"ymax", c.v.ymax()},
                                           {"zmax", c.v.zmax()}});
    });
}

}  // namespace zenolith
