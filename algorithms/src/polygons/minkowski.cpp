// Minkowski sums of polygons with holes: the library's reduced-convolution
// sum over exact constructions (see exact_shapes.hpp for what comes in and
// goes out).
#include <CGAL/minkowski_sum_2.h>

#include <vector>

#include "polygons/exact_shapes.hpp"
#include "polygons/registrations.hpp"

namespace zenolith::polygons {
namespace {

py::list minkowski_sum(py::handle a, py::handle b) {
    const Shape first = shape_of(a, "a"), second = shape_of(b, "b");
    std::vector<Shape> out;
    {
        py::gil_scoped_release nogil;
        out.push_back(CGAL::minkowski_sum_2(first, second));
    }
    return to_python(out);
}

}  // namespace

void register_minkowski(py::module_& m) {
    m.def("minkowski_sum", &minkowski_sum, py::arg("a"), py::arg("b"));
}

}  // namespace zenolith::polygons
