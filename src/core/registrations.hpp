// One registration function per class (and per module function), each
// defined in its class's own source file. A class's function receives the
// class object the module body created for it, so that every signature it
// renders can name any other class.
#pragma once

#include <pybind11/pybind11.h>

#include "shared/types.hpp"

namespace zenolith {

namespace py = pybind11;

// planar
void register_point2(py::class_<Point2> cls);
void register_vector2(py::class_<Vector2> cls);
void register_orientation_result(py::class_<OrientationResult> cls);
void register_orientation(py::module_& m);
void register_bbox2(py::class_<Bbox2> cls);
void register_direction2(py::class_<Direction2> cls);
void register_line2(py::class_<Line2> cls);
void register_segment2(py::class_<Segment2> cls);
void register_ray2(py::class_<Ray2> cls);
void register_triangle2(py::class_<Triangle2> cls);
void register_circle2(py::class_<Circle2> cls);
void register_iso_rectangle2(py::class_<IsoRectangle2> cls);
void register_weighted_point2(py::class_<WeightedPoint2> cls);
void register_aff_transformation2(py::class_<AffTransformation2> cls);

// spatial
void register_bbox3(py::class_<Bbox3> cls);
void register_point3(py::class_<Point3> cls);
void register_vector3(py::class_<Vector3> cls);
void register_direction3(py::class_<Direction3> cls);
void register_plane3(py::class_<Plane3> cls);
void register_line3(py::class_<Line3> cls);
void register_segment3(py::class_<Segment3> cls);
void register_ray3(py::class_<Ray3> cls);
void register_triangle3(py::class_<Triangle3> cls);
void register_sphere3(py::class_<Sphere3> cls);
void register_tetrahedron3(py::class_<Tetrahedron3> cls);
void register_iso_cuboid3(py::class_<IsoCuboid3> cls);
void register_circle3(py::class_<Circle3> cls);

// copyreg reducers for every class above (pickle, copy)
void register_pickling(py::module_& m);

}  // namespace zenolith
