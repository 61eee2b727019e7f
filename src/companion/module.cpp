// The companion's native module: the core module is imported first so that
// its classes are registered in pybind11's shared internals, then every
// family of operations adds its functions.
#include <pybind11/pybind11.h>

#include "registrations.hpp"

namespace py = pybind11;
using namespace zenolith::companion;

PYBIND11_MODULE(_native, m) {
    m.doc() = "Native loops of the zenolith package (use the zenolith module instead).";
    py::module_::import("zenolith_core");

    register_orientation(m);
    register_conversions(m);
    register_point_sets(m);
    register_transformations(m);
    register_planar_queries(m);
    register_spatial_queries(m);
    register_exact(m);
    register_intersections(m);
}
