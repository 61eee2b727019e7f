// What each source of the family registers on the module.
#pragma once

#include <pybind11/pybind11.h>

namespace zenolith::polygons {

void register_hulls(pybind11::module_& m);
void register_polygon(pybind11::module_& m);
void register_booleans(pybind11::module_& m);
void register_minkowski(pybind11::module_& m);

}  // namespace zenolith::polygons
