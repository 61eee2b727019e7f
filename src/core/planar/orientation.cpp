#include "core/conventions.hpp"
#include "core/fast_entry.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

// No constructor and no comparisons: results compare by identity, so ask
// left_turn(), right_turn() or collinear() (README, "Deliberate behaviours").
// No constructor: rebuilt by `orientation` on three points that give it.
template <>
py::tuple reduce(const OrientationResult& o) {
    const Point2 a{K::Point_2(0.0, 0.0)}, b{K::Point_2(1.0, 0.0)},
        c{K::Point_2(0.0, static_cast<double>(o.value))};
    return py::make_tuple(py::module_::import("zenolith_core").attr("orientation"),
                          py::make_tuple(a, b, c));
}

template <>
void register_class(py::class_<OrientationResult> cls) {
    cls.def("left_turn", [](const OrientationResult& o) { return o.value == 1; })
        .def("right_turn", [](const OrientationResult& o) { return o.value == -1; })
        .def("collinear", [](const OrientationResult& o) { return o.value == 0; })
        .def("__repr__", [](const OrientationResult& o) {
            return o.value == -1 ? "Right turn" : o.value == 1 ? "Left turn" : "Collinear";
        });
}

// The kernel compares the two rounded products (q-p)x(r-p) directly: a NaN
// anywhere makes neither larger, which reads as collinear.
void register_orientation(py::module_& m) {
    auto orientation = [](const Point2& p1, const Point2& p2, const Point2& p3) {
        return OrientationResult{sign_int(CGAL::orientation(p1.v, p2.v, p3.v))};
    };
    m.def("orientation", orientation, "Returns orientation of three Point2 objects", py::arg("p1"),
          py::arg("p2"), py::arg("p3"));
    fast::function(m, "orientation", orientation);
}

}  // namespace zenolith
