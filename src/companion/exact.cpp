// zenolith._native.exact: the exact predicates, planar then spatial; the
// public names and prose live in the Python module zenolith.exact.
#include "exact_predicates.hpp"
#include "registrations.hpp"

namespace zenolith::companion {

void register_exact(py::module_& m) {
    py::module_ sub = m.def_submodule("exact", "Exact predicates (use zenolith.exact instead).");
    exact::register_exact_planar(sub);
    exact::register_exact_spatial(sub);
}

}  // namespace zenolith::companion
