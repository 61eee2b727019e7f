// One registration function per family of operations of zenolith._native,
// each defined in its family's own sources (the intersections family is its
// own extension, zenolith._intersections). Operations on one core object go
// into the module's class-keyed tables; the rest are plain functions.
#pragma once

#include <pybind11/pybind11.h>

#include "companion/io/class_tables.hpp"

namespace zenolith::companion {

namespace py = pybind11;

// arrays/
void register_orientation(py::module_& m, py::module_& testing);
void register_conversions(py::module_& m);
void register_point_sets(py::module_& m);
void register_transformations(py::module_& m);
void register_box_pairs(py::module_& m);
void register_planar_queries(Tables& t);
void register_spatial_queries(Tables& t);
// exact/
void register_exact(py::module_& m, Tables& t);

}  // namespace zenolith::companion
