// zenolith_algorithms._mesh: triangle meshes over the library's AABB tree,
// behind zenolith_algorithms.mesh, which documents them.
#include "mesh/registrations.hpp"

PYBIND11_MODULE(_mesh, m) {
    m.doc() = "Native triangle meshes (use zenolith_algorithms.mesh instead).";
    zenolith::mesh::register_mesh(m);
    zenolith::mesh::register_queries(m);
    zenolith::mesh::register_pairs(m);
}
