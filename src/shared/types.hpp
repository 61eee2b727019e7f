// The value types behind every Python class of the module.
//
// Each wrapper holds exactly one kernel object (OrientationResult: one int)
// and nothing else: no base class, no virtuals, plain copyable aggregates.
// They are all declared here, together, so that any binding may take or
// return any class, whatever its place in the registration order.
#pragma once

#include <CGAL/Simple_cartesian.h>

#include <type_traits>

namespace zenolith {

using K = CGAL::Simple_cartesian<double>;

// ---- planar -------------------------------------------------------------
struct Point2 { K::Point_2 v; };
struct Vector2 { K::Vector_2 v; };
struct OrientationResult { int value; };  // 1 left turn, 0 collinear, -1 right turn
struct Bbox2 { CGAL::Bbox_2 v; };
struct Direction2 { K::Direction_2 v; };
struct Line2 { K::Line_2 v; };
struct Segment2 { K::Segment_2 v; };
struct Ray2 { K::Ray_2 v; };
struct Triangle2 { K::Triangle_2 v; };
struct Circle2 { K::Circle_2 v; };
struct IsoRectangle2 { K::Iso_rectangle_2 v; };
struct WeightedPoint2 { K::Weighted_point_2 v; };
struct AffTransformation2 { K::Aff_transformation_2 v; };  // shared immutable rep

// ---- spatial ------------------------------------------------------------
struct Bbox3 { CGAL::Bbox_3 v; };
struct Point3 { K::Point_3 v; };
struct Vector3 { K::Vector_3 v; };
struct Direction3 { K::Direction_3 v; };
struct Plane3 { K::Plane_3 v; };
struct Line3 { K::Line_3 v; };
struct Segment3 { K::Segment_3 v; };
struct Ray3 { K::Ray_3 v; };
struct Triangle3 { K::Triangle_3 v; };
struct Sphere3 { K::Sphere_3 v; };
struct Tetrahedron3 { K::Tetrahedron_3 v; };
struct IsoCuboid3 { K::Iso_cuboid_3 v; };
struct Circle3 { K::Circle_3 v; };

// All of them, in the module's registration order.
template <class... T>
struct type_list {};
using value_types =
    type_list<Point2, Vector2, OrientationResult, Bbox2, Direction2, Line2, Segment2, Ray2,
              Triangle2, Circle2, IsoRectangle2, WeightedPoint2, AffTransformation2, Bbox3, Point3,
              Vector3, Direction3, Plane3, Line3, Segment3, Ray3, Triangle3, Sphere3, Tetrahedron3,
              IsoCuboid3, Circle3>;

template <class T, class List>
struct listed;
template <class T, class... U>
struct listed<T, type_list<U...>> : std::disjunction<std::is_same<T, U>...> {};

template <class T>
struct is_value_type : listed<T, value_types> {};

// The value class that holds a kernel object of type T: core_class_t<K::Segment_3>
// is Segment3. A type no class holds does not compile.
namespace detail {
template <class W, class = void>
struct held { using type = void; };
template <class W>
struct held<W, std::void_t<decltype(W::v)>> { using type = decltype(W::v); };

template <class T, class... W>
struct first_holding;
template <class T, class W, class... Rest>
struct first_holding<T, W, Rest...>
    : std::conditional_t<std::is_same_v<typename held<W>::type, T>, std::enable_if<true, W>,
                         first_holding<T, Rest...>> {};

template <class T, class List>
struct core_class;
template <class T, class... W>
struct core_class<T, type_list<W...>> : first_holding<T, W...> {};
}  // namespace detail

template <class T>
using core_class_t = typename detail::core_class<T, value_types>::type;

}  // namespace zenolith

// Every translation unit that sees the value types converts them the same way.
#include "shared/value_caster.hpp"
