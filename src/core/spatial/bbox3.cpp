#include <limits>

#include "core/conventions.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

// A plain box: bounds and a repr, no operations, and (without __eq__)
// Python's identity equality and hash. The interface gives it nothing more;
// use IsoCuboid3 to compute with boxes (README, "Deliberate behaviours").
template <>
py::tuple reduce(const Bbox3& b) {
    return call<Bbox3>(b.v.xmin(), b.v.ymin(), b.v.zmin(), b.v.xmax(), b.v.ymax(), b.v.zmax());
}

template <>
void register_class(py::class_<Bbox3> cls) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    cls.def(py::init([=] { return Bbox3{CGAL::Bbox_3(inf, inf, inf, -inf, -inf, -inf)}; }))
        .def(py::init([](double xmin, double ymin, double zmin, double xmax, double ymax, double zmax) {
                 return Bbox3{CGAL::Bbox_3(xmin, ymin, zmin, xmax, ymax, zmax)};
             }),
             py::arg("xmin"), py::arg("ymin"), py::arg("zmin"), py::arg("xmax"), py::arg("ymax"),
             py::arg("zmax"))
        .def_property_readonly("xmin", [](const Bbox3& b) { return b.v.xmin(); })
        .def_property_readonly("ymin", [](const Bbox3& b) { return b.v.ymin(); })
        .def_property_readonly("zmin", [](const Bbox3& b) { return b.v.zmin(); })
        .def_property_readonly("xmax", [](const Bbox3& b) { return b.v.xmax(); })
        .def_property_readonly("ymax", [](const Bbox3& b) { return b.v.ymax(); })
        .def_property_readonly("zmax", [](const Bbox3& b) { return b.v.zmax(); })
        .def("__repr__", [](const Bbox3& b) {
            return call_text("Bbox3", {b.v.xmin(), b.v.ymin(), b.v.zmin(), b.v.xmax(), b.v.ymax(),
                                       b.v.zmax()});
        });
}

}  // namespace zenolith
