#include "../module/affine.hpp"
#include "../module/conventions.hpp"
#include "../module/registrations.hpp"

namespace zenolith {

namespace {

Vector2 scaled(const Vector2& a, double s) { return Vector2{a.v * s}; }

}  // namespace

// No comparisons: a Vector2 keeps Python's identity equality and hash, so
// two vectors with the same coordinates are different keys, unlike Vector3
// (README, "Deliberate behaviours").
void register_vector2(py::class_<Vector2> cls) {
    cls.def(py::init([](double x, double y) { return Vector2{K::Vector_2(x, y)}; }),
             py::arg("x"), py::arg("y"))
        .def_property_readonly("x", [](const Vector2& a) { return a.v.x(); })
        .def_property_readonly("y", [](const Vector2& a) { return a.v.y(); })
        .def("__add__", [](const Vector2& a, const Vector2& b) { return Vector2{a.v + b.v}; })
        .def("__sub__", [](const Vector2& a, const Vector2& b) { return Vector2{a.v - b.v}; })
        .def("__mul__", &scaled)
        .def("__rmul__", &scaled)
        .def("__neg__", [](const Vector2& a) { return Vector2{-a.v}; })
        .def(
            "transform",
            [](const Vector2& a, const AffTransformation2& t) { return Vector2{map_vector(t.v, a.v)}; },
            py::arg("t"))
        .def("__repr__",
             [](const Vector2& a) { return call_text("Vector2", {a.v.x(), a.v.y()}); });
}

}  // namespace zenolith
