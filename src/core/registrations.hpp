// How the module body reaches every class: each class's source file defines
// register_class for its own class (its bindings, in its table's order) and
// reduce for its own values (core/pickling.hpp). The list of the classes and
// their order is value_types in shared/types.hpp, and nothing else.
#pragma once

#include <pybind11/pybind11.h>

#include "shared/types.hpp"

namespace zenolith {

namespace py = pybind11;

// Adds the bindings of T to its class object, which the module body created
// together with every other class first, so that each signature rendered
// here can name any class.
template <class T>
void register_class(py::class_<T> cls);

// The module function `orientation`, which follows its result class in the
// module's order.
void register_orientation(py::module_& m);

}  // namespace zenolith
