#include "../module/conventions.hpp"
#include "../module/registrations.hpp"

namespace zenolith {

namespace {

using P = K::Point_3;
using Cub = K::Iso_cuboid_3;

// From two opposite corners, each axis sorted (a < b ? a : b).
Cub spanned(const P& p, const P& q) { return Cub(p, q); }

// r = i rem 8 names corners 0..6; 7 and every negative remainder name the
// maximum corner.
Point3 vertex(const IsoCuboid3& c, int i) { return Point3{c.v.vertex(rem_index(i, 8))}; }

}  // namespace

void register_iso_cuboid3(py::module_& m) {
    using C = IsoCuboid3;
    py::class_<C> cls(m, "IsoCuboid3");
    cls.def(py::init([](const Point3& p, const Point3& q) { return C{spanned(p.v, q.v)}; }),
            py::arg("p"), py::arg("q"))
        // Stored as given, even inverted.
        .def(py::init([](const Point3& left, const Point3& right, const Point3& bottom,
                         const Point3& top, const Point3& far, const Point3& close) {
                 return C{Cub(left.v, right.v, bottom.v, top.v, far.v, close.v)};
             }),
             py::arg("left"), py::arg("right"), py::arg("bottom"), py::arg("top"), py::arg("far"),
             py::arg("close"))
        .def(py::init([](double min_x, double min_y, double min_z, double max_x, double max_y,
                         double max_z) {
                 return C{spanned(P(min_x, min_y, min_z), P(max_x, max_y, max_z))};
             }),
             py::arg("min_x"), py::arg("min_y"), py::arg("min_z"), py::arg("max_x"),
             py::arg("max_y"), py::arg("max_z"))
        .def(py::init([](const Bbox3& b) {
                 return C{spanned(P(b.v.xmin(), b.v.ymin(), b.v.zmin()),
                                  P(b.v.xmax(), b.v.ymax(), b.v.zmax()))};
             }),
             py::arg("bbox"))
        .def("vertex", &vertex, py::arg("i"))
        .def("__getitem__", &vertex, py::arg("i"))
        .def("__iter__",
             [](const C& c) {
                 return iterate(vertex(c, 0), vertex(c, 1), vertex(c, 2), vertex(c, 3), vertex(c, 4),
                                vertex(c, 5), vertex(c, 6), vertex(c, 7));
             })
        .def("min", [](const C& c) { return Point3{c.v.min()}; })
        .def("max", [](const C& c) { return Point3{c.v.max()}; })
        .def("xmin", [](const C& c) { return c.v.xmin(); })
        .def("ymin", [](const C& c) { return c.v.ymin(); })
        .def("zmin", [](const C& c) { return c.v.zmin(); })
        .def("xmax", [](const C& c) { return c.v.xmax(); })
        .def("ymax", [](const C& c) { return c.v.ymax(); })
        .def("zmax", [](const C& c) { return c.v.zmax(); })
        .def(
            "min_coord", [](const C& c, int i) { return c.v.min_coord(named_or_last(i, 2)); },
            py::arg("i"))
        .def(
            "max_coord", [](const C& c, int i) { return c.v.max_coord(named_or_last(i, 2)); },
            py::arg("i"))
        .def("is_degenerate", [](const C& c) { return c.v.is_degenerate(); });
    bind_bounded_side_tests<Point3>(cls);
    cls.def("volume", [](const C& c) { return c.v.volume(); })
        .def("bbox", [](const C& c) { return Bbox3{c.v.bbox()}; });
    bind_kernel_equality_same_object_first(cls);
    cls.def("__repr__", [](const C& c) {
        return keyword_text("IsoCuboid3", {{"xmin", c.v.xmin()},
                                           {"ymin", c.v.ymin()},
                                           {"zmin", c.v.zmin()},
                                           {"xmax", c.v.xmax()},
                                           {"ymax", c.v.ymax()},
                                           {"zmax", c.v.zmax()}});
    });
}

}  // namespace zenolith
