// zenolith_algorithms._triangulation: the native triangulations behind
// zenolith_algorithms.triangulation, which documents them.
#include "triangulation/registrations.hpp"

PYBIND11_MODULE(_triangulation, m) {
    m.doc() = "Native triangulations (use zenolith_algorithms.triangulation instead).";
    zenolith::triangulation::register_delaunay2(m);
    zenolith::triangulation::register_delaunay3(m);
    zenolith::triangulation::register_constrained2(m);
    zenolith::triangulation::register_alpha_shapes(m);
}
