// A triangle mesh as the family's sources share it: the vertex coordinates
// and the faces' vertex indices, copied and checked once on construction
// and never changed afterwards, so that the search tree built from them on
// first use can never describe other arrays than the ones it answers for.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace zenolith::mesh {

namespace py = pybind11;
using Index = std::int64_t;

// The AABB tree and the triangles it is built over (queries.cpp).
struct Tree;

class Mesh {
public:
    // vertices: (V, 3) finite numbers; faces: (F, 3) integer indices in
    // range; a face repeating an index only with `allow_degenerate`.
    Mesh(py::handle vertices, py::handle faces, bool allow_degenerate);

    std::size_t nvertices() const { return xyz_.size() / 3; }
    std::size_t nfaces() const { return tri_.size() / 3; }
    const double* vertex(Index i) const { return &xyz_[static_cast<std::size_t>(3 * i)]; }
    const Index* face(std::size_t f) const { return &tri_[3 * f]; }
    bool allow_degenerate() const { return allow_degenerate_; }

    // Read-only numpy views of the stored arrays, kept alive by `self`.
    py::array_t<double> vertices(py::handle self) const;
    py::array_t<Index> faces(py::handle self) const;

    // The tree, built on the first call (by one thread, the others wait).
    // Call with the GIL held: it is released while the tree is built.
    const Tree& tree() const;

private:
    std::vector<double> xyz_;
    std::vector<Index> tri_;
    bool allow_degenerate_ = false;
    mutable std::mutex mutex_;
    mutable std::shared_ptr<const Tree> tree_;  // shared_ptr: Tree is incomplete here
};

}  // namespace zenolith::mesh
