// How a class's values are pickled and copied: each class defines its own
// reducer, an explicit specialization of `reduce` in its own source file,
// and register_pickling() hands every one of them to copyreg.
#pragma once

#include <pybind11/pybind11.h>

#include <optional>
#include <string>
#include <utility>

#include "core/conventions.hpp"
#include "shared/types.hpp"

namespace zenolith {

// The class and the arguments of the public constructor (or module function)
// that rebuilds the value bit for bit: what pickle calls on loading.
template <class T>
py::tuple reduce(const T& value);

// Registers the reducer of every value class with copyreg.
void register_pickling();

// (class, args): pickle's call of the constructor of T.
template <class T, class... Args>
py::tuple call(Args&&... args) {
    return py::make_tuple(py::type::of<T>(), py::make_tuple(std::forward<Args>(args)...));
}

// ValueError: no constructor of the module rebuilds this value exactly.
[[noreturn]] void no_exact_rebuild(const std::string& what);

// Circles and spheres of orientation 0 (from collinear or coplanar points):
// the constructor call that rebuilds one bit for bit, if any.
std::optional<py::tuple> degenerate_circle(const Circle2& c);
std::optional<py::tuple> degenerate_sphere(const Sphere3& s);

// A circle or sphere by center, squared radius and orientation, unless the
// orientation is 0.
template <class W, class PointW>
py::tuple by_center(const W& w, std::optional<py::tuple> (*degenerate)(const W&)) {
    const auto& s = w.v;
    if (s.orientation() != CGAL::ZERO)
        return call<W>(PointW{s.center()}, s.squared_radius(), sign_int(s.orientation()));
    if (auto r = degenerate(w)) return *r;
    no_exact_rebuild(py::type::of<W>().attr("__name__").template cast<std::string>() +
                     " of orientation 0");
}

}  // namespace zenolith
