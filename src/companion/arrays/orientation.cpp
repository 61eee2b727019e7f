// Orientation of whole arrays of points, the kernel's double formula per
// row: exactly what the core's orientation gives for the same numbers.
#include <algorithm>

#include "companion/arrays/kernel_signs.hpp"
#include "companion/io/array_readers.hpp"
#include "companion/registrations.hpp"

namespace zenolith::companion {

namespace {

py::array_t<std::int8_t> orientation2(py::handle p, py::handle q, py::handle r) {
    const Points<2> a(p, "p"), b(q, "q"), c(r, "r");
    return map_rows<std::int8_t>(Broadcast(a, b, c), [&](py::ssize_t i) {
        return orientation_sign(point_at(a, i), point_at(b, i), point_at(c, i));
    });
}

py::array_t<std::int8_t> orientation3(py::handle p, py::handle q, py::handle r, py::handle s) {
    const Points<3> a(p, "p"), b(q, "q"), c(r, "r"), d(s, "s");
    return map_rows<std::int8_t>(Broadcast(a, b, c, d), [&](py::ssize_t i) {
        const double *u = a[i], *v = b[i], *w = c[i], *x = d[i];
        return static_cast<std::int8_t>(CGAL::orientation(
            K::Point_3(u[0], u[1], u[2]), K::Point_3(v[0], v[1], v[2]),
            K::Point_3(w[0], w[1], w[2]), K::Point_3(x[0], x[1], x[2])));
    });
}

// The floor for the benchmark: the same formula over three C-ordered (N, 2)
// float64 arrays, with no argument rules, broadcasting or kernel objects.
py::array_t<std::int8_t> orientation2_bare(const Doubles& p, const Doubles& q, const Doubles& r) {
    const py::ssize_t n = std::min({p.size(), q.size(), r.size()}) / 2;
    py::array_t<std::int8_t> out(n);
    std::int8_t* o = out.mutable_data();
    const double *a = p.data(), *b = q.data(), *c = r.data();
    {
        py::gil_scoped_release nogil;
        for (py::ssize_t i = 0; i < n; ++i) {
            const double *u = a + 2 * i, *v = b + 2 * i, *w = c + 2 * i;
            o[i] = orientation_sign({u[0], u[1]}, {v[0], v[1]}, {w[0], w[1]});
        }
    }
    return out;
}

}  // namespace

void register_orientation(py::module_& m, py::module_& testing) {
    m.def("orientation2", &orientation2, py::arg("p"), py::arg("q"), py::arg("r"));
    m.def("orientation3", &orientation3, py::arg("p"), py::arg("q"), py::arg("r"), py::arg("s"));
    testing.def("orientation2_bare", &orientation2_bare, py::arg("p"), py::arg("q"), py::arg("r"));
}

}  // namespace zenolith::companion
