// zenolith._native.exact: the exact predicates, planar then spatial; the
// public names and prose live in the Python module zenolith.exact.
#include "companion/exact/predicate_bindings.hpp"
#include "companion/registrations.hpp"

namespace zenolith::companion {

void register_exact(py::module_& m, Tables& t) {
    py::module_ sub = m.def_submodule("exact", "Exact predicates (use zenolith.exact instead).");
    exact::register_exact_planar(sub, t);
    exact::register_exact_spatial(sub, t);
}

}  // namespace zenolith::companion
