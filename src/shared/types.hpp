// The value types behind every Python class of the module.
//
// Each wrapper holds exactly one kernel object (OrientationResult: one int)
// and nothing else: no base class, no virtuals, plain copyable aggregates
// (and the name of their Python class).
// They are all declared here, together, so that any binding may take or
// return any class, whatever its place in the registration order.
#pragma once

#include <CGAL/Simple_cartesian.h>

#include <type_traits>

namespace zenolith {

using K = CGAL::Simple_cartesian<double>;

// A value class: its Python name and the one kernel object it holds.
#define ZENOLITH_VALUE(Name, Held)                       \
    struct Name {                                        \
        static constexpr const char* name = #Name;       \
        Held v;                                          \
    }

// ---- planar -------------------------------------------------------------
ZENOLITH_VALUE(Point2, K::Point_2);
ZENOLITH_VALUE(Vector2, K::Vector_2);
struct OrientationResult {  // 1 left turn, 0 collinear, -1 right turn
    static constexpr const char* name = "OrientationResult";
    int value;
};
ZENOLITH_VALUE(Bbox2, CGAL::Bbox_2);
ZENOLITH_VALUE(Direction2, K::Direction_2);
ZENOLITH_VALUE(Line2, K::Line_2);
ZENOLITH_VALUE(Segment2, K::Segment_2);
ZENOLITH_VALUE(Ray2, K::Ray_2);
ZENOLITH_VALUE(Triangle2, K::Triangle_2);
ZENOLITH_VALUE(Circle2, K::Circle_2);
ZENOLITH_VALUE(IsoRectangle2, K::Iso_rectangle_2);
ZENOLITH_VALUE(WeightedPoint2, K::Weighted_point_2);
ZENOLITH_VALUE(AffTransformation2, K::Aff_transformation_2);  // shared immutable rep

// ---- spatial ------------------------------------------------------------
ZENOLITH_VALUE(Bbox3, CGAL::Bbox_3);
ZENOLITH_VALUE(Point3, K::Point_3);
ZENOLITH_VALUE(Vector3, K::Vector_3);
ZENOLITH_VALUE(Direction3, K::Direction_3);
ZENOLITH_VALUE(Plane3, K::Plane_3);
ZENOLITH_VALUE(Line3, K::Line_3);
ZENOLITH_VALUE(Segment3, K::Segment_3);
ZENOLITH_VALUE(Ray3, K::Ray_3);
ZENOLITH_VALUE(Triangle3, K::Triangle_3);
ZENOLITH_VALUE(Sphere3, K::Sphere_3);
ZENOLITH_VALUE(Tetrahedron3, K::Tetrahedron_3);
ZENOLITH_VALUE(IsoCuboid3, K::Iso_cuboid_3);
ZENOLITH_VALUE(Circle3, K::Circle_3);

// All of them, in the module's registration order: the one list of the
// classes. The core creates, binds and pickles them from it: a new class is
// its definition above, its entry here and its own source file.
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
struct held { static constexpr const char* name = "held"; using type = void; };
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
