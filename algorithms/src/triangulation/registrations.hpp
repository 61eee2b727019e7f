// What each source of the family registers on the module.
#pragma once

#include <pybind11/pybind11.h>

namespace zenolith::triangulation {

void register_delaunay2(pybind11::module_& m);
void register_delaunay3(pybind11::module_& m);
void register_constrained2(pybind11::module_& m);
void register_alpha_shapes(pybind11::module_& m);

}  // namespace zenolith::triangulation
