// zenolith._intersections: which pairs meet and where, how far apart two
// objects are, and one object against whole arrays of points, all as entries
// of the module's class-keyed tables. Its kernel headers are the heaviest of
// the companion, so it is an extension of its own.
//
// Its do_intersect, intersection and squared_distance are zenolith's own
// (zenolith.intersections re-exports them): the dispatch on the argument
// classes happens here, once, so a call between two objects costs one table
// lookup more than the kernel call.
#include <CGAL/exceptions.h>
#include <pybind11/pybind11.h>

#include <exception>
#include <memory>
#include <string>

#include "companion/intersections/pair_entries.hpp"

namespace py = pybind11;
using namespace zenolith::companion;

namespace zenolith::companion {

ResultKind result_kind(py::handle r) {
    if (r.is_none()) return ResultKind::none;
    if (PyList_Check(r.ptr())) return ResultKind::polygon;
    const ArgumentKind kind = argument_kind(r);
    const std::type_info* t = kind.cls;
    const auto is = [t](const std::type_info& a, const std::type_info& b) { return t && (*t == a || *t == b); };
    if (is(typeid(Point2), typeid(Point3))) return ResultKind::point;
    if (is(typeid(Segment2), typeid(Segment3))) return ResultKind::segment;
    if (is(typeid(Ray2), typeid(Ray3))) return ResultKind::ray;
    if (is(typeid(Line2), typeid(Line3))) return ResultKind::line;
    if (is(typeid(Triangle2), typeid(Triangle3))) return ResultKind::triangle;
    if (is(typeid(Plane3), typeid(Plane3))) return ResultKind::plane;
    if (is(typeid(Circle3), typeid(Circle2))) return ResultKind::circle;
    if (is(typeid(Sphere3), typeid(Sphere3))) return ResultKind::sphere;
    return ResultKind::box;  // IsoRectangle2, IsoCuboid3, Bbox2, Bbox3
}

}  // namespace zenolith::companion

namespace {

// Two arrays of points: the plain row-wise distances of zenolith.arrays.
py::object point_pairs_distance(py::handle a, py::handle b) {
    return py::module_::import("zenolith._native").attr("point_pairs_squared_distance")(a, b);
}

constexpr const char* do_intersect_doc = R"(do_intersect($self, a, b)
--

Whether ``a`` and ``b`` share at least one point, decided exactly.

Two core objects: a ``bool``. One object and an array of points: one bool
per point (0-d for a single point given as a sequence). Many objects on
either side (a typed object array such as ``zenolith.Triangles3``, or a list
of core objects) against one object, as many objects, or points: one bool
per row, the leading dimensions broadcast as in numpy (one against N, N
against N), each row exactly the answer for that row's two objects.

Triangles, rectangles, boxes, tetrahedra and iso-cuboids count with their
interior; circles and spheres as the kernel takes them per pair (a point
meets them only on the curve or surface; ``docs/intersections.md`` in the
repository lists which).

Raises ``ValueError`` for infinite or NaN coordinates (naming the row),
``TypeError`` for a pair the kernel does not decide
(``zenolith.supported_pairs('do_intersect')``).
)";

constexpr const char* intersection_doc = R"(intersection($self, a, b)
--

Where ``a`` and ``b`` meet: ``None`` when they do not, else what the kernel
constructs.

The result is a core object (``Point2``, ``Segment2``, ``Triangle3``,
``Line3``, ``Circle3``, ...) or, where the intersection is a polygon, the
list of its corners in order. ``None`` exactly when ``do_intersect`` is
False; which case occurs is decided exactly, and each coordinate is within
2^-41 of the exact intersection's.

With many objects on either side (a typed object array or a list of core
objects, broadcasting as in ``do_intersect``): a
``zenolith.RowIntersections`` holding ``points`` (one point per row, NaN
where the row's result is not a point), ``kinds`` (an
``IntersectionKind`` code per row: 0 none, 1 point, 2 segment, ...) and
``others`` (the rows whose result is not a point, as core objects), each row
exactly the result for that row's two objects.

Raises ``ValueError`` for infinite or NaN coordinates and for a
``Line2``/``Plane3`` without direction, ``OverflowError`` when a coordinate
of the result is beyond the largest double (naming the row), ``TypeError``
for a pair the kernel does not construct
(``zenolith.supported_pairs('intersection')``).
)";

constexpr const char* squared_distance_doc = R"(squared_distance($self, a, b)
--

The squared Euclidean distance between ``a`` and ``b``.

Two objects: a ``float``, 0.0 when they meet. An object and an array of
points: one distance per point. Two arrays of points: the row-wise
distances of ``zenolith.arrays.squared_distance``. Many objects on either
side (a typed object array or a list of core objects, broadcasting as in
``do_intersect``): one distance per row, each exactly the pair's.

The result is within 2^-48 of the exact squared distance of the given
doubles (32 units in the last place at worst, in practice one or two), also
for a point a rounding away from a segment's line or a triangle's plane;
between two planar lines, segments, rays or triangles it is derived exactly
and rounded once. A point and a tetrahedron use the kernel's double formula.
Degenerate operands are the simpler objects they are; a ``Line2`` or
``Plane3`` without direction raises ``ValueError``.
)";

}  // namespace

PYBIND11_MODULE(_intersections, m) {
    m.doc() = "Intersections and distances of zenolith (use zenolith.intersections instead).";
    py::module_::import("zenolith_core");
    py::options options;
    options.disable_function_signatures();  // the docstrings give theirs

    auto tables = std::make_shared<Tables>();
    add_planar_intersections(*tables);
    add_spatial_intersections(*tables);
    add_solid_intersections(*tables);
    add_pair_distances(*tables);
    add_object_against_points(*tables);

    PairTable& meets = tables->pairs("do_intersect");
    meets.set_points_table(&tables->objects("do_intersect_points", "do_intersect"));
    meets.set_doc(do_intersect_doc);
    tables->pairs("intersection").set_doc(intersection_doc);
    PairTable& distance = tables->pairs("squared_distance");
    distance.set_points_table(&tables->objects("squared_distance_points", "squared_distance"));
    distance.set_both_points(&point_pairs_distance);
    distance.set_doc(squared_distance_doc);

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
