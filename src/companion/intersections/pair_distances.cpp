// Squared distances between two core objects, within a few units in the
// last place of the exact value. The kernel's formulas run over intervals
// (exact rationals where those cannot decide a branch or come out too
// wide; see rounded_evaluation.hpp): in doubles they lose every digit on
// nearly degenerate input (a segment's own endpoint at 7.5e-31 from it) and
// overflow into NaN at large and tiny magnitudes. Between two planar
// objects that are not points the kernel's formula is wrong even in exact
// arithmetic for nearly collinear, overlapping segments (0.0 where the exact
// answer is 0.263), so the answer is derived from the closest corners
// instead.
#include <CGAL/squared_distance_2.h>
#include <CGAL/squared_distance_3.h>

#include <optional>
#include <type_traits>
#include <vector>

#include "companion/exact/exact_kernel.hpp"
#include "companion/intersections/pair_distances.hpp"
#include "companion/intersections/pair_entries.hpp"

namespace zenolith::companion {

namespace {

using XK = RationalKernel;

// The distance of the simpler objects degenerate operands are (a line
// without direction is its point; a planar line or a plane without normal is
// refused): the kernel's formulas divide by the length of a direction.
// Non-finite operands are computed as written.
template <class A, class B>
std::optional<py::object> simpler_distance(py::handle a, py::handle b) {
    const auto& x = a.cast<const A&>().v;
    const auto& y = b.cast<const B&>().v;
    if (!finite(x) || !finite(y) || !(may_be_simpler(x) || may_be_simpler(y))) return std::nullopt;
    return with_simpler_operands("squared_distance", a, b);
}

template <class A, class B>
py::object kernel_distance(py::handle a, py::handle b, bool) {
    if (auto r = simpler_distance<A, B>(a, b)) return *r;
    return py::float_(rounded_squared_distance(a.cast<const A&>().v, b.cast<const B&>().v));
}

// Where the distance from a convex planar object to a disjoint one is
// reached: two disjoint convex sets in the plane are closest at a corner of
// one of them (a line has none; two disjoint lines are parallel).
std::vector<XK::Point_2> corners(const XK::Segment_2& s) { return {s.source(), s.target()}; }
std::vector<XK::Point_2> corners(const XK::Ray_2& r) { return {r.source()}; }
std::vector<XK::Point_2> corners(const XK::Line_2&) { return {}; }
std::vector<XK::Point_2> corners(const XK::Triangle_2& t) { return {t[0], t[1], t[2]}; }

// 0 when the two meet (exact predicates), else the least exact distance from
// a corner of one to the other, rounded to double once. Distances compute
// non-finite input as written: the kernel's formula then.
template <class A, class B>
double exact_planar_distance(const A& a, const B& b) {
    if (!finite(a) || !finite(b)) return CGAL::squared_distance(a, b);
    if (CGAL::do_intersect(to_exact(a), to_exact(b))) return 0.0;
    const auto x = to_rationals(a);
    const auto y = to_rationals(b);
    std::optional<XK::FT> best;
    auto closest = [&best](const std::vector<XK::Point_2>& points, const auto& other) {
        for (const XK::Point_2& p : points) {
            XK::FT d = CGAL::squared_distance(p, other);
            if (!best || d < *best) best = std::move(d);
        }
    };
    closest(corners(x), y);
    closest(corners(y), x);
    if constexpr (std::is_same_v<A, K::Line_2> && std::is_same_v<B, K::Line_2>) {
        if (!best) best = CGAL::squared_distance(x.point(), y);
    }
    return nearest_double(*best);
}

template <class A, class B>
py::object planar_distance(py::handle a, py::handle b, bool) {
    if (auto r = simpler_distance<A, B>(a, b)) return *r;
    return py::float_(exact_planar_distance(a.cast<const A&>().v, b.cast<const B&>().v));
}

// squared_distance row by row: a float64 array. Non-finite rows are
// computed as written, as the pair's entry computes them.
template <class A, class B, auto Entry, auto Measure>
struct DistanceRows {
    static constexpr bool finite_only = false;
    py::array_t<double> out;
    double* o;

    explicit DistanceRows(const Broadcast& shape) : out(result_array<double>(shape)), o(out.mutable_data()) {}
    void non_finite(py::ssize_t i, const decltype(A::v)& u, const decltype(B::v)& v) { o[i] = Measure(u, v); }
    bool row(py::ssize_t i, const decltype(A::v)& u, const decltype(B::v)& v) {
        if (may_be_simpler(u) || may_be_simpler(v)) return false;
        o[i] = Measure(u, v);
        return true;
    }
    static py::object entry(py::handle a, py::handle b, bool swapped) { return Entry(a, b, swapped); }
    void store(py::ssize_t i, const py::object& r) { o[i] = r.cast<double>(); }
    py::object result() { return std::move(out); }
};

template <class A, class B>
double kernel_measure(const decltype(A::v)& x, const decltype(B::v)& y) {
    return rounded_squared_distance(x, y);
}

template <class A, class B>
void add_kernel(Tables& t) {
    t.pairs("squared_distance").add<A, B>(&kernel_distance<A, B>);
    t.pairs("squared_distance").add_rows<A, B>(
        &pair_rows<A, B, DistanceRows<A, B, &kernel_distance<A, B>, &kernel_measure<A, B>>>);
}

template <class A, class B>
void add_planar(Tables& t) {
    t.pairs("squared_distance").add<A, B>(&planar_distance<A, B>);
    t.pairs("squared_distance").add_rows<A, B>(
        &pair_rows<A, B, DistanceRows<A, B, &planar_distance<A, B>,
                                      &exact_planar_distance<decltype(A::v), decltype(B::v)>>>);
}

}  // namespace

void add_pair_distances(Tables& t) {
    add_kernel<Point2, Point2>(t);
    add_kernel<Point2, Line2>(t);
    add_kernel<Point2, Segment2>(t);
    add_kernel<Point2, Ray2>(t);
    add_kernel<Point2, Triangle2>(t);
    add_planar<Line2, Line2>(t);
    add_planar<Line2, Segment2>(t);
    add_planar<Line2, Ray2>(t);
    add_planar<Line2, Triangle2>(t);
    add_planar<Segment2, Segment2>(t);
    add_planar<Segment2, Ray2>(t);
    add_planar<Segment2, Triangle2>(t);
    add_planar<Ray2, Ray2>(t);
    add_planar<Ray2, Triangle2>(t);
    add_planar<Triangle2, Triangle2>(t);

    add_kernel<Point3, Point3>(t);
    add_kernel<Point3, Line3>(t);
    add_kernel<Point3, Segment3>(t);
    add_kernel<Point3, Ray3>(t);
    add_kernel<Point3, Plane3>(t);
    add_kernel<Point3, Triangle3>(t);
    add_kernel<Point3, Tetrahedron3>(t);
    add_kernel<Line3, Line3>(t);
    add_kernel<Line3, Segment3>(t);
    add_kernel<Line3, Ray3>(t);
    add_kernel<Line3, Plane3>(t);
    add_kernel<Segment3, Segment3>(t);
    add_kernel<Segment3, Ray3>(t);
    add_kernel<Segment3, Plane3>(t);
    add_kernel<Ray3, Ray3>(t);
    add_kernel<Ray3, Plane3>(t);
    add_kernel<Plane3, Plane3>(t);
    add_kernel<Triangle3, Triangle3>(t);
}

}  // namespace zenolith::companion
