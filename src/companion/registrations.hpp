// One registration function per family of operations of zenolith._native,
// each defined in its family's own source file.
#pragma once

#include <pybind11/pybind11.h>

namespace zenolith::companion {

namespace py = pybind11;

void register_orientation(py::module_& m);
void register_conversions(py::module_& m);
void register_point_sets(py::module_& m);
void register_transformations(py::module_& m);
void register_planar_queries(py::module_& m);
void register_spatial_queries(py::module_& m);
void register_exact(py::module_& m);
void register_intersections(py::module_& m);

}  // namespace zenolith::companion
