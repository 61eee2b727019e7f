// The module body: its docstring, squared_distance, then every class and
// `orientation` in their fixed registration order (the order of the module
// dictionary is part of the interface).
#include <pybind11/pybind11.h>

#include "registrations.hpp"

namespace py = pybind11;
using namespace zenolith;

namespace {

// Two separately rounded squares and one addition, x term first; the build
// forbids contraction, so this equals the kernel's squared_distance.
double squared_distance(double x1, double y1, double x2, double y2) {
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    return dx * dx + dy * dy;
}

}  // namespace

PYBIND11_MODULE(zenolith_core, m) {
    m.doc() = "CGAL Python bindings \u2014 call CGAL C++ functions from Python";
    m.def("squared_distance", &squared_distance, py::arg("x1"), py::arg("y1"), py::arg("x2"),
          py::arg("y2"));

    register_point2(m);
    register_vector2(m);
    register_orientation_result(m);
    register_orientation(m);
    register_bbox2(m);
    register_direction2(m);
    register_line2(m);
    register_segment2(m);
    register_ray2(m);
    register_triangle2(m);
    register_circle2(m);
    register_iso_rectangle2(m);
    register_weighted_point2(m);
    register_aff_transformation2(m);

    register_bbox3(m);
    register_point3(m);
    register_vector3(m);
    register_direction3(m);
    register_plane3(m);
    register_line3(m);
    register_segment3(m);
    register_ray3(m);
    register_triangle3(m);
    register_sphere3(m);
    register_tetrahedron3(m);
    register_iso_cuboid3(m);
    register_circle3(m);
}
