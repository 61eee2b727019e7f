// Planar pairs: which meet (exact predicates) and what their intersection is.
#include <CGAL/intersection_2.h>
// Boxes against boxes, rectangles, segments and triangles are not in the
// collective header.
#include <CGAL/Intersections_2/Bbox_2_Bbox_2.h>
#include <CGAL/Intersections_2/Bbox_2_Segment_2.h>
#include <CGAL/Intersections_2/Bbox_2_Triangle_2.h>

#include "companion/exact/static_filters.hpp"
#include "companion/intersections/pair_entries.hpp"

namespace zenolith::companion {

// The kernel's own box-rectangle functions do not compile (a dependent type
// name without `typename`); a box is the rectangle of the same bounds, which
// is also what those functions would have built.
namespace {
K::Iso_rectangle_2 as_rectangle(const CGAL::Bbox_2& b) {
    return K::Iso_rectangle_2(b.xmin(), b.ymin(), b.xmax(), b.ymax());
}
}  // namespace

template <>
struct Operands<IsoRectangle2, Bbox2> {
    template <class To>
    auto operator()(const To& to, const K::Iso_rectangle_2& x, const CGAL::Bbox_2& y) const {
        return std::make_pair(to(x), to(as_rectangle(y)));
    }
};

// Two segments cross when each one's ends lie strictly on either side of
// the other's line: decided by orientation filters where they prove all
// four signs (which also proves both segments proper), else by the kernel.
template <>
struct QuickMeet<Segment2, Segment2> {
    static constexpr bool exists = true;
    std::optional<bool> operator()(const K::Segment_2& x, const K::Segment_2& y) const {
        const auto side = [](const K::Segment_2& s, const K::Point_2& p) {
            return exact::orientation_sign(s.source().x(), s.source().y(), s.target().x(), s.target().y(), p.x(), p.y());
        };
        const auto c = side(x, y.source()), d = side(x, y.target());
        if (!c || !d) return std::nullopt;
        if (*c == *d) return false;
        const auto a = side(y, x.source()), b = side(y, x.target());
        if (!a || !b) return std::nullopt;
        return *a != *b;
    }
};

void add_planar_intersections(Tables& t) {
    add_intersection<Point2, Point2>(t);
    add_intersection<Point2, Line2>(t);
    add_intersection<Point2, Segment2>(t);
    add_intersection<Point2, Ray2>(t);
    add_intersection<Point2, Triangle2>(t);
    add_intersection<Point2, IsoRectangle2>(t);
    add_intersection<Point2, Circle2>(t);
    add_intersection<Point2, Bbox2>(t);
    add_intersection<Line2, Line2>(t);
    add_intersection<Line2, Segment2>(t);
    add_intersection<Line2, Ray2>(t);
    add_intersection<Line2, Triangle2>(t);
    add_intersection<Line2, IsoRectangle2>(t);
    add_decision_only<Line2, Circle2>(t);
    add_decision_only<Line2, Bbox2>(t);
    add_intersection<Segment2, Segment2>(t);
    add_intersection<Segment2, Ray2>(t);
    add_intersection<Segment2, Triangle2>(t);
    add_intersection<Segment2, IsoRectangle2>(t);
    add_decision_only<Segment2, Circle2>(t);
    add_intersection<Segment2, Bbox2>(t);
    add_intersection<Ray2, Ray2>(t);
    add_intersection<Ray2, Triangle2>(t);
    add_intersection<Ray2, IsoRectangle2>(t);
    add_decision_only<Ray2, Circle2>(t);
    add_decision_only<Ray2, Bbox2>(t);
    add_intersection<Triangle2, Triangle2>(t);
    add_intersection<Triangle2, IsoRectangle2>(t);
    add_decision_only<Triangle2, Circle2>(t);
    add_intersection<Triangle2, Bbox2>(t);
    add_intersection<IsoRectangle2, IsoRectangle2>(t);
    add_decision_only<IsoRectangle2, Circle2>(t);
    add_intersection<IsoRectangle2, Bbox2>(t);
    add_decision_only<Circle2, Circle2>(t);
    add_decision_only<Circle2, Bbox2>(t);
    add_intersection<Bbox2, Bbox2>(t);
}

}  // namespace zenolith::companion
