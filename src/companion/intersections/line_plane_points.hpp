// Where a line, ray or segment crosses a plane or a triangle it meets, as
// one formula: the point b + t d of the linear object at t = n.(a - b) / n.d,
// for the plane's normal n through its point a, from the linear object's
// point b nearer the plane (its source, or its second point or target:
// the shorter the step, the less the rounding of t moves the point). The
// kernel's general construction finds the same point through its case
// analysis (several orientation tests, a variant of results) at several
// times the cost. It runs over intervals, then, when an interval is too
// wide (a ray at a grazing angle, a coordinate near zero), with exact
// numerators (Mpzf, a few times faster than rationals); it answers the case
// of a single crossing point and leaves every other to the kernel.
#pragma once

#include <CGAL/FPU.h>
#include <CGAL/Interval_nt.h>
#include <CGAL/Mpzf.h>

#include <array>
#include <cmath>
#include <optional>

#include "companion/intersections/rounded_evaluation.hpp"
#include "shared/types.hpp"

namespace zenolith::companion {

namespace crossing {

template <class N>
using V = std::array<N, 3>;

template <class N>
V<N> at(const K::Point_3& p) { return {N(p.x()), N(p.y()), N(p.z())}; }
template <class N>
V<N> at(const K::Vector_3& v) { return {N(v.x()), N(v.y()), N(v.z())}; }
template <class N>
V<N> minus(const V<N>& a, const V<N>& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
template <class N>
N dot(const V<N>& a, const V<N>& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
template <class N>
V<N> cross(const V<N>& a, const V<N>& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// A linear object as its two points (a line: its point, and its point plus
// its direction, exactly as the direction), and its direction.
template <class N>
struct Linear {
    V<N> first, second, d;
};
template <class N>
Linear<N> linear(const K::Line_3& l) {
    const V<N> p = at<N>(l.point()), d = at<N>(l.to_vector());
    return {p, p, d};  // one point: a line has no second point of its own
}
template <class N>
Linear<N> linear(const K::Ray_3& r) {
    const V<N> s = at<N>(r.source()), q = at<N>(r.second_point());
    return {s, q, minus(q, s)};
}
template <class N>
Linear<N> linear(const K::Segment_3& s) {
    const V<N> p = at<N>(s.source()), q = at<N>(s.target());
    return {p, q, minus(q, p)};
}

// A plane as its normal and n . a for a point a of it.
template <class N>
struct Flat {
    V<N> n;
    N offset;
};
template <class N>
Flat<N> flat(const K::Triangle_3& t) {
    const V<N> a = at<N>(t[0]);
    const V<N> n = cross(minus(at<N>(t[1]), a), minus(at<N>(t[2]), a));
    return {n, dot(n, a)};
}
template <class N>
Flat<N> flat(const K::Plane_3& h) { return {{N(h.a()), N(h.b()), N(h.c())}, -N(h.d())}; }

// b + t d from the point b of `line`, whose value n . b is `at_b`.
template <class N>
V<N> step(const V<N>& b, const N& at_b, const Flat<N>& plane, const V<N>& d, const N& across) {
    const N t = (plane.offset - at_b) / across;
    return {b[0] + t * d[0], b[1] + t * d[1], b[2] + t * d[2]};
}

using I = CGAL::Interval_nt<false>;

inline bool certainly_nonzero(const I& x) { return x.inf() > 0 || x.sup() < 0; }

}  // namespace crossing

// The crossing point of a linear object and a flat one that meet, each
// coordinate within 2^-(Bits+1) of the exact one, or exact rounded to the
// nearest double; nothing when the linear object lies in the plane (or in
// a parallel one). Throws NotRepresentable for a coordinate beyond the
// largest double.
template <int Bits, class L, class F>
std::optional<K::Point_3> crossing_point(const L& l, const F& f) {
    using namespace crossing;
    {
        CGAL::Protect_FPU_rounding<true> upward;
        const Linear<I> line = linear<I>(l);
        const Flat<I> plane = flat<I>(f);
        const I across = dot(plane.n, line.d);
        if (certainly_nonzero(across)) {
            const I at_first = dot(plane.n, line.first), at_second = dot(plane.n, line.second);
            // the point nearer the plane: the smaller |n.(a - b)| (either when unsure)
            const I gap_first = CGAL::abs(plane.offset - at_first), gap_second = CGAL::abs(plane.offset - at_second);
            const bool from_second = gap_second.sup() < gap_first.inf();
            const V<I> p = from_second ? step(line.second, at_second, plane, line.d, across)
                                       : step(line.first, at_first, plane, line.d, across);
            try {
                const rounding::FromInterval<Bits> to_double;
                return K::Point_3(to_double(p[0]), to_double(p[1]), to_double(p[2]));
            } catch (const rounding::TooWide&) {
            }
        }
    }
    // Exactly: across = n . d and the numerators of b + t d over the
    // common denominator `across` are polynomials in the doubles, exact in
    // Mpzf; their quotients then come out of intervals a few units in the
    // last place wide, however much the exact sums cancelled.
    const Linear<CGAL::Mpzf> line = linear<CGAL::Mpzf>(l);
    const Flat<CGAL::Mpzf> plane = flat<CGAL::Mpzf>(f);
    const CGAL::Mpzf across = dot(plane.n, line.d);
    if (CGAL::is_zero(across)) return std::nullopt;
    const CGAL::Mpzf gap = plane.offset - dot(plane.n, line.first);
    std::array<CGAL::Mpzf, 3> over;  // the coordinates times `across`
    for (int k = 0; k < 3; ++k) over[k] = line.first[k] * across + gap * line.d[k];
    try {
        CGAL::Protect_FPU_rounding<true> upward;
        const I below(CGAL::to_interval(across));
        // Mpzf's intervals are not to be trusted near the subnormals: a
        // quotient that small (or beyond the doubles) is the rationals' job
        const auto quotient = [&below](const CGAL::Mpzf& x) {
            const double d = rounding::FromInterval<Bits>()(I(CGAL::to_interval(x)) / below);
            if (d != 0 && std::fabs(d) < 0x1p-960) throw rounding::TooWide{};
            return d;
        };
        return K::Point_3(quotient(over[0]), quotient(over[1]), quotient(over[2]));
    } catch (const rounding::TooWide&) {
    }
    const rounding::FromRational<true> to_double;
    const auto quotient = [&](const CGAL::Mpzf& x) { return to_double(Rational(x) / Rational(across)); };
    return K::Point_3(quotient(over[0]), quotient(over[1]), quotient(over[2]));
}

}  // namespace zenolith::companion
