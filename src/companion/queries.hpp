// Queries of one core object against an array of points, each row computed
// by the same kernel call as the object's own method. Every query is bound
// under "<query>_<Class>" (e.g. "has_on_Segment2"); the Python front picks
// the function by the object's class.
#pragma once

#include <cstdint>
#include <type_traits>

#include "array_io.hpp"

namespace zenolith::companion {

// The kernel's side enums are -1 / 0 / 1.
inline constexpr auto oriented_side = [](const auto& shape, const auto& p) {
    return static_cast<std::int8_t>(shape.oriented_side(p));
};
inline constexpr auto bounded_side = [](const auto& shape, const auto& p) {
    return static_cast<std::int8_t>(shape.bounded_side(p));
};
inline constexpr auto has_on = [](const auto& shape, const auto& p) { return shape.has_on(p); };
inline constexpr auto projection = [](const auto& shape, const auto& p) {
    return shape.projection(p);
};

// Binds name(obj, points) -> f(obj.v, point) per row: a result array of Out
// (Out = double: f gives a point of dimension W, W coordinates per row).
template <class Shape, int D, class Out, int W = 1, class F>
void def_query(py::module_& m, const char* name, F f) {
    m.def(
        name,
        [f](const Shape& obj, py::handle points) {
            const Points<D> p(points, "points");
            const auto shape = obj.v;  // a copy: the loop runs without the GIL
            const auto row = [&](py::ssize_t i) { return f(shape, point_at(p, i)); };
            if constexpr (std::is_same_v<Out, double>) {
                return map_points<W>(Broadcast(p), row);
            } else {
                return map_rows<Out>(Broadcast(p), row);
            }
        },
        py::arg("obj"), py::arg("points"));
}

}  // namespace zenolith::companion
