// Degenerate operands as the simpler objects they are. The kernel's
// intersections assume proper objects: given a segment of two equal ends, a
// spatial line without direction or a flat triangle, some decide wrongly (a
// line without direction meets a box it lies outside of), some construct
// nothing for objects that meet, and some stop on an internal error. Such an
// object is a point or a segment, and is decided and constructed as one.

#include <algorithm>
#include <optional>
#include <string>

#include "companion/intersections/pair_entries.hpp"

namespace zenolith::companion {

namespace {

// The point or segment of three collinear corners: their two extremes.
template <class Point, class Segment, class Triangle>
py::object flat_triangle(const Triangle& t) {
    const auto [lo, hi] = std::minmax({t[0], t[1], t[2]});
    if (lo == hi) return py::cast(core_class_t<Point>{lo});
    return py::cast(core_class_t<Segment>{Segment(lo, hi)});
}

// The point or segment of a box with no more than one nonzero extent; None
// for a rectangle or a box proper, and for an empty one (a minimum above
// its maximum).
template <class Point, class Segment, int D, class Box>
py::object flat_box(const Box& b) {
    int extents = 0;
    for (int k = 0; k < D; ++k) {
        if (b.min_coord(k) > b.max_coord(k)) return py::none();
        extents += b.min_coord(k) < b.max_coord(k);
    }
    if (extents > 1) return py::none();
    Point lo, hi;
    if constexpr (D == 2) {
        lo = Point(b.min_coord(0), b.min_coord(1));
        hi = Point(b.max_coord(0), b.max_coord(1));
    } else {
        lo = Point(b.min_coord(0), b.min_coord(1), b.min_coord(2));
        hi = Point(b.max_coord(0), b.max_coord(1), b.max_coord(2));
    }
    if (extents == 0) return py::cast(core_class_t<Point>{lo});
    return py::cast(core_class_t<Segment>{Segment(lo, hi)});
}

// A tetrahedron whose corners are coplanar is the convex hull of them: the
// triangle of three when the fourth lies on it, the segment of the two
// extremes when all four are collinear (or their point). None for a proper
// tetrahedron and for four corners in convex position (a quadrilateral, no
// core class).
py::object flat_tetrahedron(const K::Tetrahedron_3& t) {
    const auto p = [&t](int k) { return to_exact(t[k]); };
    if (!may_be_simpler(t)) return py::none();
    bool collinear = true;
    for (int k = 0; k < 4; ++k) {
        const K::Triangle_3 rest(t[(k + 1) % 4], t[(k + 2) % 4], t[(k + 3) % 4]);
        const EK::Triangle_3 exact_rest = to_exact(rest);
        if (exact_rest.is_degenerate()) continue;
        collinear = false;
        if (exact_rest.has_on(p(k))) return py::cast(Triangle3{rest});
    }
    if (!collinear) return py::none();
    const auto [lo, hi] = std::minmax({t[0], t[1], t[2], t[3]});
    if (lo == hi) return py::cast(Point3{lo});
    return py::cast(Segment3{K::Segment_3(lo, hi)});
}

[[noreturn]] void refuse(const char* op, const char* what) {
    throw py::value_error(std::string(op) + ": " + what);
}

}  // namespace

py::object simpler_operand(const char* op, py::handle obj) {
    if (py::isinstance<Segment2>(obj)) {
        const auto& s = obj.cast<const Segment2&>().v;
        if (may_be_simpler(s)) return py::cast(Point2{s.source()});
    } else if (py::isinstance<Segment3>(obj)) {
        const auto& s = obj.cast<const Segment3&>().v;
        if (may_be_simpler(s)) return py::cast(Point3{s.source()});
    } else if (py::isinstance<Ray2>(obj)) {
        const auto& r = obj.cast<const Ray2&>().v;
        if (may_be_simpler(r)) return py::cast(Point2{r.source()});
    } else if (py::isinstance<Ray3>(obj)) {
        const auto& r = obj.cast<const Ray3&>().v;
        if (may_be_simpler(r)) return py::cast(Point3{r.source()});
    } else if (py::isinstance<Line3>(obj)) {
        const auto& l = obj.cast<const Line3&>().v;
        if (may_be_simpler(l)) return py::cast(Point3{l.point()});
    } else if (py::isinstance<Line2>(obj)) {
        const auto& l = obj.cast<const Line2&>().v;
        if (may_be_simpler(l)) refuse(op, "a Line2 with a = b = 0 is not a line");
    } else if (py::isinstance<Plane3>(obj)) {
        const auto& h = obj.cast<const Plane3&>().v;
        if (may_be_simpler(h)) refuse(op, "a Plane3 with a = b = c = 0 is not a plane");
    } else if (py::isinstance<IsoRectangle2>(obj)) {
        return flat_box<K::Point_2, K::Segment_2, 2>(obj.cast<const IsoRectangle2&>().v);
    } else if (py::isinstance<Bbox2>(obj)) {
        const auto& b = obj.cast<const Bbox2&>().v;
        return flat_box<K::Point_2, K::Segment_2, 2>(
            K::Iso_rectangle_2({b.xmin(), b.ymin()}, {b.xmax(), b.ymax()}, 0));
    } else if (py::isinstance<IsoCuboid3>(obj)) {
        return flat_box<K::Point_3, K::Segment_3, 3>(obj.cast<const IsoCuboid3&>().v);
    } else if (py::isinstance<Bbox3>(obj)) {
        const auto& b = obj.cast<const Bbox3&>().v;
        return flat_box<K::Point_3, K::Segment_3, 3>(
            K::Iso_cuboid_3({b.xmin(), b.ymin(), b.zmin()}, {b.xmax(), b.ymax(), b.zmax()}, 0));
    } else if (py::isinstance<Tetrahedron3>(obj)) {
        return flat_tetrahedron(obj.cast<const Tetrahedron3&>().v);
    } else if (py::isinstance<Triangle2>(obj)) {
        const auto& t = obj.cast<const Triangle2&>().v;
        if (may_be_simpler(t)) return flat_triangle<K::Point_2, K::Segment_2>(t);
    } else if (py::isinstance<Triangle3>(obj)) {
        const auto& t = obj.cast<const Triangle3&>().v;
        if (may_be_simpler(t)) return flat_triangle<K::Point_3, K::Segment_3>(t);
    }
    return py::none();
}

std::optional<py::object> with_simpler_operands(const char* op, py::handle a, py::handle b) {
    const py::object x = simpler_operand(op, a), y = simpler_operand(op, b);
    if (x.is_none() && y.is_none()) return std::nullopt;
    const py::object same_op = py::module_::import("zenolith._intersections").attr(op);
    try {
        return same_op(x.is_none() ? a : py::handle(x), y.is_none() ? b : py::handle(y));
    } catch (py::error_already_set& e) {
        // a pair of simpler objects the operation does not take (a flat
        // triangle's segment against a triangle, for a distance): the
        // kernel's function of the given pair handles it
        if (!e.matches(PyExc_TypeError)) throw;
        return std::nullopt;
    }
}

std::optional<py::object> with_simpler_object(const char* op, py::handle obj, py::handle points) {
    const py::object x = simpler_operand(op, obj);
    if (x.is_none()) return std::nullopt;
    return py::module_::import("zenolith._intersections").attr((std::string(op) + "_points").c_str())(x, points);
}

}  // namespace zenolith::companion
