// One core object against a whole array of points: squared distances within
// a few units in the last place (pair_distances.hpp), closest points in the
// kernel's double formulas, and do_intersect decided by the exact
// predicates; each loop runs with the GIL released.
#include <CGAL/Intersections_2/Bbox_2_Point_2.h>
#include <CGAL/Intersections_2/Circle_2_Point_2.h>
#include <CGAL/Intersections_2/Iso_rectangle_2_Point_2.h>
#include <CGAL/Intersections_2/Line_2_Point_2.h>
#include <CGAL/Intersections_2/Point_2_Point_2.h>
#include <CGAL/Intersections_2/Point_2_Ray_2.h>
#include <CGAL/Intersections_2/Point_2_Segment_2.h>
#include <CGAL/Intersections_2/Point_2_Triangle_2.h>
#include <CGAL/Intersections_3/Bbox_3_Point_3.h>
#include <CGAL/Intersections_3/Iso_cuboid_3_Point_3.h>
#include <CGAL/Intersections_3/Line_3_Point_3.h>
#include <CGAL/Intersections_3/Plane_3_Point_3.h>
#include <CGAL/Intersections_3/Point_3_Point_3.h>
#include <CGAL/Intersections_3/Point_3_Ray_3.h>
#include <CGAL/Intersections_3/Point_3_Segment_3.h>
#include <CGAL/Intersections_3/Point_3_Sphere_3.h>
#include <CGAL/Intersections_3/Point_3_Tetrahedron_3.h>
#include <CGAL/Intersections_3/Point_3_Triangle_3.h>
#include <CGAL/squared_distance_2.h>
#include <CGAL/squared_distance_3.h>

#include <string>

#include "companion/intersections/pair_distances.hpp"
#include "companion/intersections/pair_entries.hpp"
#include "companion/io/array_readers.hpp"

namespace zenolith::companion {

namespace {

// ---- closest points ------------------------------------------------------

// The point of source + t d (0 <= t, and t <= 1 when bounded) closest to p.
K::Point_2 clamp_along(const K::Point_2& source, const K::Vector_2& d, const K::Point_2& p,
                       bool bounded) {
    const double t = (p - source) * d;
    if (t <= 0) return source;
    const double n = d.squared_length();
    if (bounded && t >= n) return source + d;
    return source + (t / n) * d;
}

K::Point_2 closest(const K::Line_2& l, const K::Point_2& p) { return l.projection(p); }
K::Point_2 closest(const K::Segment_2& s, const K::Point_2& p) {
    if (s.source() == s.target()) return s.source();
    return clamp_along(s.source(), s.to_vector(), p, true);
}
K::Point_2 closest(const K::Ray_2& r, const K::Point_2& p) {
    return clamp_along(r.source(), r.to_vector(), p, false);
}
// The point itself inside, else the closest point of the nearest edge.
K::Point_2 closest(const K::Triangle_2& t, const K::Point_2& p) {
    if (!t.is_degenerate() && !t.has_on_unbounded_side(p)) return p;
    K::Point_2 best = closest(K::Segment_2(t[0], t[1]), p);
    for (int k = 1; k < 3; ++k) {
        const K::Point_2 c = closest(K::Segment_2(t[k], t[k + 1]), p);
        if (CGAL::squared_distance(c, p) < CGAL::squared_distance(best, p)) best = c;
    }
    return best;
}
// In space the kernel projects onto every one of these.
template <class T>
K::Point_3 closest(const T& obj, const K::Point_3& p) {
    return K().construct_projected_point_3_object()(obj, p);
}

// ---- the row loops -------------------------------------------------------

template <class A, int D>
py::object distance_rows(py::handle obj, py::handle points) {
    const auto v = obj.cast<const A&>().v;  // a copy: read without the GIL
    if (finite(v) && may_be_simpler(v)) {  // a degenerate object as the simpler one it is
        if (auto r = with_simpler_object("squared_distance", obj, points)) return *r;
    }
    const Points<D> p(points, "points");
    return map_rows<double>(Broadcast(p), [&](py::ssize_t i) {
        return rounded_squared_distance(v, point_at(p, i));
    });
}

template <class A, int D>
py::object closest_rows(py::handle obj, py::handle points) {
    const Rows<A> objects(obj, "obj");
    const Points<D> p(points, "points");
    return map_points<D>(Broadcast(objects, p),
                         [&](py::ssize_t i) { return closest(objects.value(i), point_at(p, i)); });
}

template <class A, int D>
py::object meets_rows(py::handle obj, py::handle points) {
    const auto& value = finite_value<A>(obj, "obj");
    if (may_be_simpler(value)) {
        if (auto r = with_simpler_object("do_intersect", obj, points)) return *r;
    }
    const auto v = to_exact(value);
    const bool empty = holds_no_point(value);
    const Points<D> p(points, "points");
    py::ssize_t infinite_row = -1;
    auto out = map_rows<bool>(Broadcast(p), [&](py::ssize_t i) {
        const auto q = point_at(p, i);
        if (!finite(q)) {
            if (infinite_row < 0) infinite_row = i;
            return false;
        }
        return !empty && CGAL::do_intersect(v, to_exact(q));
    });
    if (infinite_row >= 0) raise_not_finite("points", p.single() ? -1 : infinite_row);
    return std::move(out);
}

template <class A, int D>
void add_distance_row(Tables& t) {
    t.objects("squared_distance_points", "squared_distance").add<A>(&distance_rows<A, D>);
}
template <class A, int D>
void add_closest_row(Tables& t) {
    t.objects("closest_point_points", "closest_point").add<A>(&closest_rows<A, D>, true);
}
template <class A, int D>
void add_meets_row(Tables& t) {
    t.objects("do_intersect_points", "do_intersect").add<A>(&meets_rows<A, D>);
}

}  // namespace

void add_object_against_points(Tables& t) {
    add_distance_row<Point2, 2>(t);
    add_distance_row<Line2, 2>(t);
    add_distance_row<Segment2, 2>(t);
    add_distance_row<Ray2, 2>(t);
    add_distance_row<Triangle2, 2>(t);
    add_distance_row<Point3, 3>(t);
    add_distance_row<Line3, 3>(t);
    add_distance_row<Segment3, 3>(t);
    add_distance_row<Ray3, 3>(t);
    add_distance_row<Plane3, 3>(t);
    add_distance_row<Triangle3, 3>(t);
    add_distance_row<Tetrahedron3, 3>(t);

    add_closest_row<Line2, 2>(t);
    add_closest_row<Segment2, 2>(t);
    add_closest_row<Ray2, 2>(t);
    add_closest_row<Triangle2, 2>(t);
    add_closest_row<Line3, 3>(t);
    add_closest_row<Segment3, 3>(t);
    add_closest_row<Ray3, 3>(t);
    add_closest_row<Plane3, 3>(t);
    add_closest_row<Triangle3, 3>(t);

    add_meets_row<Point2, 2>(t);
    add_meets_row<Line2, 2>(t);
    add_meets_row<Segment2, 2>(t);
    add_meets_row<Ray2, 2>(t);
    add_meets_row<Triangle2, 2>(t);
    add_meets_row<IsoRectangle2, 2>(t);
    add_meets_row<Circle2, 2>(t);
    add_meets_row<Bbox2, 2>(t);
    add_meets_row<Point3, 3>(t);
    add_meets_row<Line3, 3>(t);
    add_meets_row<Segment3, 3>(t);
    add_meets_row<Ray3, 3>(t);
    add_meets_row<Plane3, 3>(t);
    add_meets_row<Triangle3, 3>(t);
    add_meets_row<Sphere3, 3>(t);
    add_meets_row<Tetrahedron3, 3>(t);
    add_meets_row<IsoCuboid3, 3>(t);
    add_meets_row<Bbox3, 3>(t);
}

}  // namespace zenolith::companion
