// Boolean operations on polygons with holes: the library's Boolean set
// operations over exact constructions (see exact_shapes.hpp for what comes
// in and goes out).
#include <iterator>
#include <string>
#include <vector>

#include "polygons/exact_shapes.hpp"
#include "polygons/registrations.hpp"

namespace zenolith::polygons {
namespace {

// operation: "intersection", "union", "difference" or "symmetric_difference".
py::list boolean(const std::string& operation, py::handle a, py::handle b) {
    const Shape first = shape_of(a, "a"), second = shape_of(b, "b");
    std::vector<Shape> out;
    {
        py::gil_scoped_release nogil;
        auto into = std::back_inserter(out);
        if (operation == "intersection") {
            CGAL::intersection(first, second, into);
        } else if (operation == "union") {
            Shape joined;
            if (CGAL::join(first, second, joined)) {
                out.push_back(joined);
            } else {
                out = {first, second};
            }
        } else if (operation == "difference") {
            CGAL::difference(first, second, into);
        } else {
            CGAL::symmetric_difference(first, second, into);
        }
    }
    return to_python(out);
}

}  // namespace

void register_booleans(py::module_& m) {
    m.def("boolean", &boolean, py::arg("operation"), py::arg("a"), py::arg("b"));
}

}  // namespace zenolith::polygons
