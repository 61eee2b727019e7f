// Queries of one core object against an array of points, each row computed
// by the same kernel call as the object's own method, registered in the
// module's class-keyed tables under the query's name.
#pragma once

#include <type_traits>

#include "companion/io/array_readers.hpp"
#include "companion/io/class_tables.hpp"
#include "companion/io/kernel_calls.hpp"
#include "companion/io/object_rows.hpp"

namespace zenolith::companion {

// f(object, point) per row, for one object or many (a typed object array
// or a list of core objects, row by row, broadcasting as points do): a
// result array of Out, or, for Out = double, a point of dimension W per row
// (W coordinates).
template <class Shape, int D, class Out, int W, class F>
py::object query_rows(py::handle obj, py::handle points) {
    const Rows<Shape> shapes(obj, "obj");
    const Points<D> p(points, "points");
    const Broadcast b(shapes, p);
    if constexpr (std::is_same_v<Out, double>) {
        return map_points<W>(b, [&](py::ssize_t i) { return F{}(shapes.value(i), point_at(p, i)); });
    } else {
        return map_rows<Out>(b, [&](py::ssize_t i) {
            return static_cast<Out>(F{}(shapes.value(i), point_at(p, i)));
        });
    }
}

template <class Shape, int D, class Out, class F, int W = 1>
void add_query(ObjectTable& t) {
    t.add<Shape>(&query_rows<Shape, D, Out, W, F>, true);
}

}  // namespace zenolith::companion
