// Planar pairs: which meet (exact predicates) and what their intersection is.
#include <CGAL/intersection_2.h>
// Boxes against boxes, rectangles, segments and triangles are not in the
// collective header.
#include <CGAL/Intersections_2/Bbox_2_Bbox_2.h>
#include <CGAL/Intersections_2/Bbox_2_Segment_2.h>
#include <CGAL/Intersections_2/Bbox_2_Triangle_2.h>

#include "meet.hpp"

namespace zenolith::companion {

// The kernel's own box-rectangle functions do not compile (a dependent type
// name without `typename`); a box is the rectangle of the same bounds, which
// is also what those functions would have built.
namespace {
EK::Iso_rectangle_2 as_rectangle(const CGAL::Bbox_2& b) {
    return EK::Iso_rectangle_2(b.xmin(), b.ymin(), b.xmax(), b.ymax());
}
}  // namespace

template <>
py::object meets<IsoRectangle2, Bbox2>(py::handle a, py::handle b) {
    const auto& x = finite_value<IsoRectangle2>(a, "do_intersect");
    const auto& y = finite_value<Bbox2>(b, "do_intersect");
    return py::bool_(CGAL::do_intersect(to_exact(x), as_rectangle(y)));
}

template <>
py::object meet<IsoRectangle2, Bbox2>(py::handle a, py::handle b) {
    const auto& x = finite_value<IsoRectangle2>(a, "intersection");
    const auto& y = finite_value<Bbox2>(b, "intersection");
    return meet_detail::to_python(CGAL::intersection(to_exact(x), as_rectangle(y)));
}

void add_planar_intersections(PairTables& t) {
    add_meeting<Point2, Point2>(t);
    add_meeting<Point2, Line2>(t);
    add_meeting<Point2, Segment2>(t);
    add_meeting<Point2, Ray2>(t);
    add_meeting<Point2, Triangle2>(t);
    add_meeting<Point2, IsoRectangle2>(t);
    add_meeting<Point2, Circle2>(t);
    add_meeting<Point2, Bbox2>(t);
    add_meeting<Line2, Line2>(t);
    add_meeting<Line2, Segment2>(t);
    add_meeting<Line2, Ray2>(t);
    add_meeting<Line2, Triangle2>(t);
    add_meeting<Line2, IsoRectangle2>(t);
    add_decision<Line2, Circle2>(t);
    add_decision<Line2, Bbox2>(t);
    add_meeting<Segment2, Segment2>(t);
    add_meeting<Segment2, Ray2>(t);
    add_meeting<Segment2, Triangle2>(t);
    add_meeting<Segment2, IsoRectangle2>(t);
    add_decision<Segment2, Circle2>(t);
    add_meeting<Segment2, Bbox2>(t);
    add_meeting<Ray2, Ray2>(t);
    add_meeting<Ray2, Triangle2>(t);
    add_meeting<Ray2, IsoRectangle2>(t);
    add_decision<Ray2, Circle2>(t);
    add_decision<Ray2, Bbox2>(t);
    add_meeting<Triangle2, Triangle2>(t);
    add_meeting<Triangle2, IsoRectangle2>(t);
    add_decision<Triangle2, Circle2>(t);
    add_meeting<Triangle2, Bbox2>(t);
    add_meeting<IsoRectangle2, IsoRectangle2>(t);
    add_decision<IsoRectangle2, Circle2>(t);
    add_meeting<IsoRectangle2, Bbox2>(t);
    add_decision<Circle2, Circle2>(t);
    add_decision<Circle2, Bbox2>(t);
    add_meeting<Bbox2, Bbox2>(t);
}

}  // namespace zenolith::companion
