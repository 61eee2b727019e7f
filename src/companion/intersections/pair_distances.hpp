// The squared distance between two kernel values, shared by the pair entries
// and the rows of one object against many points.
#pragma once

#include <algorithm>
#include <optional>
#include <type_traits>

#include "companion/intersections/rounded_evaluation.hpp"
#include "shared/finite.hpp"

namespace zenolith::companion {

// Distances are taken from intervals no wider than 2^-distance_bits of
// their value (see rounded_squared_distance below).
constexpr int distance_bits = 47;

namespace detail {

// The lesser of two values; over intervals the interval of the lesser,
// which needs no decision.
inline CGAL::Interval_nt<false> least(const CGAL::Interval_nt<false>& a, const CGAL::Interval_nt<false>& b) {
    return {std::min(a.inf(), b.inf()), std::min(a.sup(), b.sup())};
}
inline const Rational& least(const Rational& a, const Rational& b) { return b < a ? b : a; }

// The squared distance from p to the plane of t (normal n): (n.(p - t0))^2 / n.n.
template <class Kernel, class Vector>
typename Kernel::FT plane_part(const typename Kernel::Point_3& p, const typename Kernel::Triangle_3& t,
                               const Vector& n) {
    const auto h = n * (p - t[0]);
    return h * h / n.squared_length();
}

// Over intervals, the plane part comes out too wide for one point in six
// near a triangle in general position (the normal's products cancel); then
// only this part is computed in rationals, from the doubles the intervals
// hold exactly, instead of the whole distance.
template <>
inline CGAL::Interval_nt<false> plane_part<IntervalKernel>(const IntervalKernel::Point_3& p,
                                                           const IntervalKernel::Triangle_3& t,
                                                           const IntervalKernel::Vector_3& n) {
    const auto h = n * (p - t[0]);
    const CGAL::Interval_nt<false> d = h * h / n.squared_length();
    if (d.sup() - d.inf() <= std::ldexp(d.sup(), -distance_bits) && d.inf() > 0) return d;
    const auto exact = [](const IntervalKernel::Point_3& q) {
        return RationalKernel::Point_3(q.x().inf(), q.y().inf(), q.z().inf());
    };
    const RationalKernel::Point_3 a = exact(t[0]), b = exact(t[1]), c = exact(t[2]), x = exact(p);
    const auto m = CGAL::cross_product(b - a, c - a);
    const Rational g = m * (x - a);
    const Rational q = g * g / m.squared_length();
    CGAL::Protect_FPU_rounding<true> nearest(CGAL_FE_TONEAREST);
    return CGAL::Interval_nt<false>(CGAL::to_interval(q));
}

// The squared distance from p to the triangle t: to its plane where p lies
// over it, else to the nearest edge among those p lies beyond (the nearest
// point of a convex polygon is seen from outside, so it is on an edge whose
// line separates; one or two edges instead of three). The kernel's own
// formula compares the distances to two edges, which tie exactly for every
// point beyond a corner: over intervals that comparison cannot decide, and a
// third of random points went to the rationals.
template <class Kernel>
typename Kernel::FT point_triangle(const typename Kernel::Point_3& p,
                                   const typename Kernel::Triangle_3& t) {
    using Segment = typename Kernel::Segment_3;
    const auto edge = [&](int k) { return CGAL::squared_distance(p, Segment(t[k], t[k + 1])); };
    const auto n = CGAL::cross_product(t[1] - t[0], t[2] - t[0]);
    if (n == CGAL::NULL_VECTOR) return least(edge(0), least(edge(1), edge(2)));  // a flat triangle
    std::optional<typename Kernel::FT> nearest;
    for (int k = 0; k < 3; ++k) {
        // n x (edge k) points into the triangle
        if (CGAL::cross_product(n, t[k + 1] - t[k]) * (p - t[k]) < 0) {
            nearest = nearest ? least(*nearest, edge(k)) : edge(k);
        }
    }
    if (nearest) return *nearest;
    return plane_part<Kernel>(p, t, n);
}

template <class Kernel, class A, class B>
typename Kernel::FT squared_distance_in(const A& a, const B& b) {
    return CGAL::squared_distance(a, b);
}
template <class Kernel>
typename Kernel::FT squared_distance_in(const typename Kernel::Point_3& p,
                                        const typename Kernel::Triangle_3& t) {
    return point_triangle<Kernel>(p, t);
}
template <class Kernel>
typename Kernel::FT squared_distance_in(const typename Kernel::Triangle_3& t,
                                        const typename Kernel::Point_3& p) {
    return point_triangle<Kernel>(p, t);
}

}  // namespace detail

// Distances are taken from intervals no wider than 2^-47 of their value:
// within 2^-48 of the exact squared distance, 32 units in the last place at
// worst (and in practice within one or two; the rationals round to
// nearest). The intervals of these formulas are 8 to 30 units wide; a bound
// of 2^-49 sent a third of random rows to the rationals, at 50 to 200 times
// the cost, while 2^-47 sends one in a hundred or fewer. Non-finite input
// is computed as written, by the kernel's formula in doubles.
//
// A point and a tetrahedron keep the kernel's formula in doubles: its
// faces tie as the triangle's edges do, and the faces' plane distances come
// out of intervals too wide to take for half of all rows.
template <class A, class B>
double rounded_squared_distance(const A& a, const B& b) {
    constexpr bool tetrahedron =
        std::is_same_v<A, K::Tetrahedron_3> || std::is_same_v<B, K::Tetrahedron_3>;
    if (tetrahedron || !finite(a) || !finite(b)) return CGAL::squared_distance(a, b);
    return evaluate_rounded<false, distance_bits>([&](const auto& to) {
        using Kernel = typename std::decay_t<decltype(to(a))>::R;
        return detail::squared_distance_in<Kernel>(to(a), to(b));
    });
}

}  // namespace zenolith::companion
