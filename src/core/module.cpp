// The module body: its docstring, squared_distance, then every class and
// `orientation` in their fixed registration order (the order of the module
// dictionary is part of the interface), then every class's bindings, then
// the reducers that let their values be pickled and copied, and last the
// guards on how instances of those classes are made.
#include "core/interpreter_symbols.hpp"

#include <pybind11/pybind11.h>

#include "core/instances.hpp"
#include "core/registrations.hpp"

namespace py = pybind11;
using namespace zenolith;

namespace {

// Two separately rounded squares and one addition, x term first; the build
// forbids contraction, so this equals the kernel's squared_distance.
double squared_distance(double x1, double y1, double x2, double y2) {
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    return dx * dx + dy * dy;
}

}  // namespace

PYBIND11_MODULE(zenolith_core, m) {
    m.doc() = "CGAL Python bindings \u2014 call CGAL C++ functions from Python";
    m.def("squared_distance", &squared_distance, py::arg("x1"), py::arg("y1"), py::arg("x2"),
          py::arg("y2"));

    // Every class object first, in registration order, so that the signature
    // of every binding below names Python classes, whichever class it mentions.
    // `orientation` sits right after OrientationResult in the module's order.
    py::class_<Point2> point2(m, "Point2");
    py::class_<Vector2> vector2(m, "Vector2");
    py::class_<OrientationResult> orientation_result(m, "OrientationResult");
    register_orientation(m);
    py::class_<Bbox2> bbox2(m, "Bbox2");
    py::class_<Direction2> direction2(m, "Direction2");
    py::class_<Line2> line2(m, "Line2");
    py::class_<Segment2> segment2(m, "Segment2");
    py::class_<Ray2> ray2(m, "Ray2");
    py::class_<Triangle2> triangle2(m, "Triangle2");
    py::class_<Circle2> circle2(m, "Circle2");
    py::class_<IsoRectangle2> iso_rectangle2(m, "IsoRectangle2");
    py::class_<WeightedPoint2> weighted_point2(m, "WeightedPoint2");
    py::class_<AffTransformation2> aff_transformation2(m, "AffTransformation2");

    py::class_<Bbox3> bbox3(m, "Bbox3");
    py::class_<Point3> point3(m, "Point3");
    py::class_<Vector3> vector3(m, "Vector3");
    py::class_<Direction3> direction3(m, "Direction3");
    py::class_<Plane3> plane3(m, "Plane3");
    py::class_<Line3> line3(m, "Line3");
    py::class_<Segment3> segment3(m, "Segment3");
    py::class_<Ray3> ray3(m, "Ray3");
    py::class_<Triangle3> triangle3(m, "Triangle3");
    py::class_<Sphere3> sphere3(m, "Sphere3");
    py::class_<Tetrahedron3> tetrahedron3(m, "Tetrahedron3");
    py::class_<IsoCuboid3> iso_cuboid3(m, "IsoCuboid3");
    py::class_<Circle3> circle3(m, "Circle3");

    // Then each class's bindings, in its own table order.
    register_point2(point2);
    register_vector2(vector2);
    register_orientation_result(orientation_result);
    register_bbox2(bbox2);
    register_direction2(direction2);
    register_line2(line2);
    register_segment2(segment2);
    register_ray2(ray2);
    register_triangle2(triangle2);
    register_circle2(circle2);
    register_iso_rectangle2(iso_rectangle2);
    register_weighted_point2(weighted_point2);
    register_aff_transformation2(aff_transformation2);

    register_bbox3(bbox3);
    register_point3(point3);
    register_vector3(vector3);
    register_direction3(direction3);
    register_plane3(plane3);
    register_line3(line3);
    register_segment3(segment3);
    register_ray3(ray3);
    register_triangle3(triangle3);
    register_sphere3(sphere3);
    register_tetrahedron3(tetrahedron3);
    register_iso_cuboid3(iso_cuboid3);
    register_circle3(circle3);

    register_pickling(m);

    guard_instances();
}
