// Orientation of whole arrays of points, the kernel's double formula per
// row: exactly what the core's orientation gives for the same numbers.
#include "array_io.hpp"
#include "registrations.hpp"

namespace zenolith::companion {

namespace {

py::array_t<std::int8_t> orientation2(py::handle p, py::handle q, py::handle r) {
    const Points<2> a(p, "p"), b(q, "q"), c(r, "r");
    return map_rows<std::int8_t>(Broadcast(a, b, c), [&](py::ssize_t i) {
        const double *u = a[i], *v = b[i], *w = c[i];
        return static_cast<std::int8_t>(CGAL::orientation(
            K::Point_2(u[0], u[1]), K::Point_2(v[0], v[1]), K::Point_2(w[0], w[1])));
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

}  // namespace

void register_orientation(py::module_& m) {
    m.def("orientation2", &orientation2, py::arg("p"), py::arg("q"), py::arg("r"));
    m.def("orientation3", &orientation3, py::arg("p"), py::arg("q"), py::arg("r"), py::arg("s"));
}

}  // namespace zenolith::companion
