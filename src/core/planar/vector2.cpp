#include "shared/affine.hpp"
#include "core/conventions.hpp"
#include "core/fast_entry.hpp"
#include "core/pickling.hpp"
#include "core/registrations.hpp"

namespace zenolith {

// No comparisons: a Vector2 keeps Python's identity equality and hash, so
// two vectors with the same coordinates are different keys, unlike Vector3
// (README, "Deliberate behaviours").
template <>
py::tuple reduce(const Vector2& v) { return call<Vector2>(v.v.x(), v.v.y()); }

template <>
void register_class(py::class_<Vector2> cls) {
    auto from_floats = [](double x, double y) { return Vector2{K::Vector_2(x, y)}; };
    auto x = [](const Vector2& a) { return a.v.x(); };
    auto y = [](const Vector2& a) { return a.v.y(); };
    auto plus = [](const Vector2& a, const Vector2& b) { return Vector2{a.v + b.v}; };
    auto minus = [](const Vector2& a, const Vector2& b) { return Vector2{a.v - b.v}; };
    auto scaled = [](const Vector2& a, double s) { return Vector2{a.v * s}; };
    auto negated = [](const Vector2& a) { return Vector2{-a.v}; };
    cls.def(py::init(from_floats), py::arg("x"), py::arg("y"))
        .def_property_readonly("x", x)
        .def_property_readonly("y", y)
        .def("__add__", plus)
        .def("__sub__", minus)
        .def("__mul__", scaled)
        .def("__rmul__", scaled)
        .def("__neg__", negated)
        .def(
            "transform",
            [](const Vector2& a, const AffTransformation2& t) { return Vector2{map_vector(t.v, a.v)}; },
            py::arg("t"))
        .def("__repr__",
             [](const Vector2& a) { return call_text("Vector2", {a.v.x(), a.v.y()}); });
    fast::constructor(cls, from_floats);
    fast::property(cls, "x", x);
    fast::property(cls, "y", y);
    fast::method(cls, "__add__", plus);
    fast::method(cls, "__sub__", minus);
    fast::method(cls, "__mul__", scaled);
    fast::method(cls, "__rmul__", scaled);
    fast::method(cls, "__neg__", negated);
}

}  // namespace zenolith
