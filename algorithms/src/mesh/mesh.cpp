// The mesh's arrays, checked once, and the measure that needs exact
// arithmetic (the enclosed volume); the rest of the measures are numpy
// expressions in zenolith_algorithms.mesh.
#include "mesh/mesh.hpp"

#include <CGAL/Mpzf.h>

#include <limits>
#include <string>

#include "companion/io/owned_results.hpp"
#include "mesh/registrations.hpp"

namespace zenolith::mesh {

Mesh::Mesh(py::handle vertices, py::handle faces, bool allow_degenerate)
    : xyz_(companion::read_points<3>(vertices, "vertices").xyz), allow_degenerate_(allow_degenerate) {
    const auto f = py::array_t<Index, py::array::c_style | py::array::forcecast>::ensure(faces);
    if (!f || f.ndim() != 2 || f.shape(1) != 3) {
        throw py::value_error("faces: expected an (F, 3) array of vertex indices, got " +
                              (f ? "an array of shape " + companion::detail::shape_text(f) : std::string("something else")));
    }
    const Index n = static_cast<Index>(nvertices());
    tri_.assign(f.data(), f.data() + f.size());
    for (std::size_t k = 0; k < tri_.size(); k += 3) {
        const Index a = tri_[k], b = tri_[k + 1], c = tri_[k + 2];
        const auto row = "faces[" + std::to_string(k / 3) + "]: ";
        for (const Index i : {a, b, c}) {
            if (i < 0 || i >= n) {
                throw py::value_error(row + "index " + std::to_string(i) + " out of range for " + std::to_string(n) + " vertices");
            }
        }
        if (!allow_degenerate && (a == b || b == c || c == a)) {
            throw py::value_error(row + "repeats a vertex (" + std::to_string(a) + ", " + std::to_string(b) + ", " +
                                  std::to_string(c) + "); pass allow_degenerate=True to keep such faces");
        }
    }
}

py::array_t<double> Mesh::vertices(py::handle self) const {
    py::array_t<double> a({static_cast<py::ssize_t>(nvertices()), py::ssize_t{3}}, xyz_.data(), self);
    py::detail::array_proxy(a.ptr())->flags &= ~py::detail::npy_api::NPY_ARRAY_WRITEABLE_;
    return a;
}

py::array_t<Index> Mesh::faces(py::handle self) const {
    py::array_t<Index> a({static_cast<py::ssize_t>(nfaces()), py::ssize_t{3}}, tri_.data(), self);
    py::detail::array_proxy(a.ptr())->flags &= ~py::detail::npy_api::NPY_ARRAY_WRITEABLE_;
    return a;
}

namespace {

// The signed volume: the sum over the faces of det(a, b, c) / 6, each
// product of doubles and the sum exact in Mpzf, rounded once; its sign is
// exact. The volume of a closed mesh; for an open one, the volume of the
// cone from the origin over it.
double volume(const Mesh& m) {
    py::gil_scoped_release nogil;
    CGAL::Mpzf sum(0);
    for (std::size_t f = 0; f < m.nfaces(); ++f) {
        const double* a = m.vertex(m.face(f)[0]);
        const double* b = m.vertex(m.face(f)[1]);
        const double* c = m.vertex(m.face(f)[2]);
        const auto z = [](double x) { return CGAL::Mpzf(x); };
        const CGAL::Mpzf cx = z(b[1]) * z(c[2]) - z(b[2]) * z(c[1]);
        const CGAL::Mpzf cy = z(b[2]) * z(c[0]) - z(b[0]) * z(c[2]);
        const CGAL::Mpzf cz = z(b[0]) * z(c[1]) - z(b[1]) * z(c[0]);
        sum = sum + z(a[0]) * cx + z(a[1]) * cy + z(a[2]) * cz;
    }
    const double rounded = CGAL::to_double(sum) / 6;
    const int sign = CGAL::sign(sum);
    // a rounding never flips the sign, but an underflow could lose it
    return sign == 0 ? 0.0 : rounded != 0.0 ? rounded : sign * std::numeric_limits<double>::denorm_min();
}

}  // namespace

void register_mesh(py::module_& m) {
    py::class_<Mesh>(m, "Mesh")
        .def(py::init<py::handle, py::handle, bool>(), py::arg("vertices"), py::arg("faces"), py::arg("allow_degenerate") = false)
        .def_property_readonly("vertices", [](py::handle self) { return self.cast<const Mesh&>().vertices(self); })
        .def_property_readonly("faces", [](py::handle self) { return self.cast<const Mesh&>().faces(self); })
        .def_property_readonly("allow_degenerate", [](const Mesh& mesh) { return mesh.allow_degenerate(); })
        .def("volume", [](const Mesh& mesh) { return volume(mesh); });
}

}  // namespace zenolith::mesh
