// The companion's native module: the core module is imported first so that
// its classes are registered in pybind11's shared internals, then every
// family of operations adds its functions and its entries of the class-keyed
// tables, which are bound last.
#include <pybind11/pybind11.h>

#include <memory>

#include "companion/registrations.hpp"

namespace py = pybind11;
using namespace zenolith::companion;

PYBIND11_MODULE(_native, m) {
    m.doc() = "Native loops of the zenolith package (use the zenolith module instead).";
    py::module_::import("zenolith_core");
    py::module_ testing = m.def_submodule("_testing", "Hooks for zenolith's tests and benchmarks.");

    auto tables = std::make_shared<Tables>();
    register_orientation(m, testing);
    register_conversions(m);
    register_point_sets(m);
    register_transformations(m);
    register_box_pairs(m);
    register_planar_queries(*tables);
    register_spatial_queries(*tables);
    register_exact(m, *tables);

    bind_tables(m, tables);
}
