// zenolith._intersections: which pairs meet and where, how far apart two
// objects are, and one object against whole arrays of points, all as entries
// of the module's class-keyed tables. Its kernel headers are the heaviest of
// the companion, so it is an extension of its own.
#include <CGAL/exceptions.h>
#include <pybind11/pybind11.h>

#include <exception>
#include <memory>
#include <string>

#include "companion/intersections/pair_entries.hpp"

namespace py = pybind11;
using namespace zenolith::companion;

PYBIND11_MODULE(_intersections, m) {
    m.doc() = "Intersections and distances of zenolith (use zenolith.intersections instead).";
    py::module_::import("zenolith_core");

    auto tables = std::make_shared<Tables>();
    add_planar_intersections(*tables);
    add_spatial_intersections(*tables);
    add_solid_intersections(*tables);
    add_pair_distances(*tables);
    add_object_against_points(*tables);

    bind_tables(m, tables);

    // A kernel function that stops on one of its own checks (degenerate input
    // the simpler-object rules do not cover) is a ValueError naming the
    // check, not a RuntimeError.
    py::register_local_exception_translator([](std::exception_ptr p) {
        try {
            if (p) std::rethrow_exception(p);
        } catch (const CGAL::Failure_exception& e) {
            PyErr_SetString(PyExc_ValueError,
                            ("the kernel refused this input (" + e.expression() + " in " +
                             e.filename() + ")").c_str());
        }
    });
}
