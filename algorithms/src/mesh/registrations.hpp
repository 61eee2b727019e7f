// What each source of the family registers on the module.
#pragma once

#include <pybind11/pybind11.h>

namespace zenolith::mesh {

void register_mesh(pybind11::module_& m);
void register_queries(pybind11::module_& m);
void register_pairs(pybind11::module_& m);

}  // namespace zenolith::mesh
