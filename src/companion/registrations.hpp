// One registration function per family of operations of zenolith._native,
// each defined in its family's own source file.
#pragma once

#include <pybind11/pybind11.h>

namespace zenolith::companion {

namespace py = pybind11;

void register_orientation(py::module_& m);

}  // namespace zenolith::companion
