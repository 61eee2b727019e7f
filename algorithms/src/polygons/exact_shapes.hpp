// Polygons with holes over exact constructions, shared by the Boolean
// operations and the Minkowski sums: reading checked rings into exact
// polygons (the caller checks each ring: simple, no repeated vertex, outer
// counter-clockwise, holes clockwise; the holes' placement is checked here,
// since the library's own checks are compiled out), and writing results
// back with each coordinate rounded once.
#pragma once

#include <CGAL/Boolean_set_operations_2.h>
#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <CGAL/Polygon_2.h>
#include <CGAL/Polygon_with_holes_2.h>

#include <cmath>
#include <string>
#include <vector>

#include "companion/io/owned_results.hpp"

namespace zenolith::polygons {

namespace py = pybind11;
using companion::as_array;
using Epeck = CGAL::Exact_predicates_exact_constructions_kernel;
using Polygon = CGAL::Polygon_2<Epeck>;
using Shape = CGAL::Polygon_with_holes_2<Epeck>;
using Traits = CGAL::Gps_segment_traits_2<Epeck>;

// An (N, 2) float64 C-contiguous array of a checked ring (the caller's
// promise; only its shape and finiteness are read again).
inline Polygon polygon_of(py::handle ring, const std::string& name) {
    const auto rows = companion::read_points<2>(ring, name.c_str());
    Polygon out;
    for (std::size_t i = 0; i < rows.xyz.size(); i += 2) out.push_back(Epeck::Point_2(rows.xyz[i], rows.xyz[i + 1]));
    return out;
}

// A polygon with holes from (exterior, [holes...]).
inline Shape shape_of(py::handle pair, const char* name) {
    const auto parts = py::reinterpret_borrow<py::sequence>(pair);
    const auto holes = py::reinterpret_borrow<py::sequence>(parts[1]);
    Shape out(polygon_of(parts[0], std::string(name) + ".exterior"));
    for (std::size_t k = 0; k < holes.size(); ++k) {
        out.add_hole(polygon_of(holes[k], std::string(name) + ".holes[" + std::to_string(k) + "]"));
    }
    if (holes.size() > 0) {
        py::gil_scoped_release nogil;
        if (!CGAL::is_valid_polygon_with_holes(out, Traits())) {
            py::gil_scoped_acquire gil;
            throw py::value_error(std::string(name) +
                                  ": its holes must lie inside the exterior and neither cross nor overlap "
                                  "it or each other");
        }
    }
    return out;
}

// An exact coordinate as a double next to it (less than one unit in the
// last place away): its interval approximation where that already lies
// between two neighbouring doubles, else the exact value rounded to nearest
// (costly: it evaluates the whole construction exactly).
inline double rounded(const Epeck::FT& x) {
    const auto& approx = x.approx();
    if (std::nextafter(approx.inf(), approx.sup()) >= approx.sup()) return approx.inf();
    return CGAL::to_double(x.exact());
}

// A ring's vertices, each coordinate rounded once.
inline std::vector<double> rounded(const Polygon& p) {
    std::vector<double> out;
    out.reserve(2 * p.size());
    for (const auto& v : p.vertices()) {
        out.push_back(rounded(v.x()));
        out.push_back(rounded(v.y()));
    }
    return out;
}

// [(exterior, [holes...]), ...] of the results.
inline py::list to_python(const std::vector<Shape>& shapes) {
    std::vector<std::vector<std::vector<double>>> rings;
    {
        py::gil_scoped_release nogil;
        for (const Shape& s : shapes) {
            std::vector<std::vector<double>> these{rounded(s.outer_boundary())};
            for (const Polygon& h : s.holes()) these.push_back(rounded(h));
            rings.push_back(std::move(these));
        }
    }
    py::list out;
    for (auto& these : rings) {
        py::list holes;
        for (std::size_t k = 1; k < these.size(); ++k) {
            const auto n = static_cast<py::ssize_t>(these[k].size() / 2);
            holes.append(as_array(std::move(these[k]), {n, 2}));
        }
        const auto n = static_cast<py::ssize_t>(these[0].size() / 2);
        out.append(py::make_tuple(as_array(std::move(these[0]), {n, 2}), holes));
    }
    return out;
}

}  // namespace zenolith::polygons
