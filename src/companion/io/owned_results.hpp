// Reading finite points into plain vectors, and handing plain vectors to
// numpy without a copy: for operations that work on whole point sets with
// the GIL released (the algorithm families), rather than row by row.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <string>
#include <utility>
#include <vector>

#include "companion/io/array_readers.hpp"
#include "shared/finite.hpp"

namespace zenolith::companion {

// The finite points of an argument, D coordinates a row: an (N, D)
// array-like, one point (`single`), or a list of core points. A NaN or an
// infinity is a ValueError naming its row.
struct PointRows {
    std::vector<double> xyz;
    bool single = false;
};

// A NaN or an infinity among the points is a ValueError naming its row.
template <int D>
void require_finite(const companion::Points<D>& p) {
    for (py::ssize_t i = 0; i < p.size(); ++i) {
        for (int k = 0; k < D; ++k) {
            if (!finite(p[i][k])) raise_not_finite(p.name(), p.single() ? -1 : i);
        }
    }
}

template <int D>
PointRows read_points(py::handle obj, const char* name) {
    companion::Points<D> p(obj, name);
    require_finite(p);
    const py::ssize_t n = p.size();
    PointRows out{std::vector<double>(static_cast<std::size_t>(n * D)), p.single()};
    for (py::ssize_t i = 0; i < n; ++i) {
        for (int k = 0; k < D; ++k) out.xyz[static_cast<std::size_t>(i * D + k)] = p[i][k];
    }
    return out;
}

// The shape of a result with a row for each of n query rows and `tail`
// trailing dimensions; without the row dimension when the query was one
// single point.
inline std::vector<py::ssize_t> row_shape(py::ssize_t n, bool single, std::initializer_list<py::ssize_t> tail = {}) {
    std::vector<py::ssize_t> shape;
    if (!single) shape.push_back(n);
    shape.insert(shape.end(), tail);
    return shape;
}

// A numpy array of the given shape over a vector's memory, which it takes
// over (no copy): results are built as plain vectors with the GIL released,
// then handed to Python.
template <class T>
py::array_t<T> as_array(std::vector<T>&& values, std::vector<py::ssize_t> shape) {
    auto* owner = new std::vector<T>(std::move(values));
    py::capsule keep(owner, [](void* p) { delete static_cast<std::vector<T>*>(p); });
    return py::array_t<T>(std::move(shape), owner->data(), keep);
}

}  // namespace zenolith::companion
