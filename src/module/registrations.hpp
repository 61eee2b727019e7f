// One registration function per class (and per module function), each
// defined in its class's own source file.
#pragma once

#include <pybind11/pybind11.h>

namespace zenolith {

namespace py = pybind11;

// planar
void register_point2(py::module_& m);
void register_vector2(py::module_& m);
void register_orientation_result(py::module_& m);
void register_orientation(py::module_& m);
void register_bbox2(py::module_& m);
void register_direction2(py::module_& m);
void register_line2(py::module_& m);
void register_segment2(py::module_& m);
void register_ray2(py::module_& m);
void register_triangle2(py::module_& m);
void register_circle2(py::module_& m);
void register_iso_rectangle2(py::module_& m);
void register_weighted_point2(py::module_& m);
void register_aff_transformation2(py::module_& m);

// spatial
void register_bbox3(py::module_& m);
void register_point3(py::module_& m);
void register_vector3(py::module_& m);
void register_direction3(py::module_& m);
void register_plane3(py::module_& m);
void register_line3(py::module_& m);
void register_segment3(py::module_& m);
void register_ray3(py::module_& m);
void register_triangle3(py::module_& m);
void register_sphere3(py::module_& m);
void register_tetrahedron3(py::module_& m);
void register_iso_cuboid3(py::module_& m);
void register_circle3(py::module_& m);

}  // namespace zenolith
