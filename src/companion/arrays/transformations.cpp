// Planar affine transformations over arrays of points and vectors, through
// the same rules as Point2.transform and Vector2.transform (a reflection's
// vectors move by its linear part only).
#include "shared/affine.hpp"
#include "companion/io/array_readers.hpp"
#include "companion/registrations.hpp"

namespace zenolith::companion {

namespace {

py::array_t<double> transform_points(const AffTransformation2& t, py::handle points) {
    const Points<2> p(points, "points");
    const Transformation m = t.v;  // a copy: the loop runs without the GIL
    return map_points<2>(Broadcast(p), [&](py::ssize_t i) { return m.transform(point_at(p, i)); });
}

py::array_t<double> transform_vectors(const AffTransformation2& t, py::handle vectors) {
    const Points<2> v(vectors, "vectors");
    const Transformation m = t.v;
    return map_points<2>(Broadcast(v), [&](py::ssize_t i) {
        return map_vector(m, K::Vector_2(v[i][0], v[i][1]));
    });
}

}  // namespace

void register_transformations(py::module_& m) {
    m.def("transform", &transform_points, py::arg("t"), py::arg("points"));
    m.def("transform_vectors", &transform_vectors, py::arg("t"), py::arg("vectors"));
}

}  // namespace zenolith::companion
