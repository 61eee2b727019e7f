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
#include <type_traits>

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

namespace crossing {

// Three doubles, for the filtered determinants below.
struct D3 {
    double x, y, z;
};
inline D3 operator-(const D3& a, const D3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline D3 cross(const D3& a, const D3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double dot(const D3& a, const D3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline D3 magnitudes(const D3& a) { return {std::fabs(a.x), std::fabs(a.y), std::fabs(a.z)}; }
// (plain comparisons: the inputs are finite, and fmax would be a call)
inline double larger(double a, double b) { return a > b ? a : b; }
inline D3 larger(const D3& a, const D3& b) { return {larger(a.x, b.x), larger(a.y, b.y), larger(a.z, b.z)}; }
inline D3 d3(const K::Point_3& p) { return {p.x(), p.y(), p.z()}; }
inline D3 d3(const K::Vector_3& v) { return {v.x(), v.y(), v.z()}; }

// The error bound of determinants of vectors that are each one rounded
// difference of doubles, whose components are at most m per axis: the
// kernel's own orientation filter bound, 5.11e-15 times the product of the
// maxima while those lie in [1e-97, 1e102] (it holds for the expansion
// along any row or column, and for any larger m); a negative bound where
// underflow or overflow would void it.
inline double determinant_bound(const D3& m) {
    const double hi = larger(m.x, larger(m.y, m.z));
    const double lo = m.x < m.y ? (m.x < m.z ? m.x : m.z) : (m.y < m.z ? m.y : m.z);
    if (!(lo >= 1e-97 && hi <= 1e102)) return -1;
    return 5.1107127829973299e-15 * m.x * m.y * m.z;
}

// -1, 1, or 0 when the bound does not prove the sign (a negative bound
// proves nothing, and the caller checks it).
inline int sign_beyond(double value, double bound) { return (value > bound) - (value < -bound); }

}  // namespace crossing

// The crossing point of a line, ray or segment and a triangle's plane in
// doubles, when a forward error bound proves every coordinate within
// 2^-(Bits+1) of the exact one; nothing otherwise. The two determinants
// t = n.(a - b) / n.d is made of get a running error bound from their
// terms' magnitudes; t's error follows, then each coordinate's b + t d
// through two more roundings. From the linear object's point nearer the
// plane, as the interval stage does.
template <int Bits, class L>
std::optional<K::Point_3> crossing_in_doubles(const L& l, const K::Triangle_3& tri) {
    using namespace crossing;
    constexpr double u = 0x1p-53;
    const D3 a = d3(tri[0]), ab = d3(tri[1]) - a, ac = d3(tri[2]) - a;
    const D3 n = cross(ab, ac);
    D3 base, d, gap;
    if constexpr (std::is_same_v<L, K::Line_3>) {
        base = d3(l.point());
        d = d3(l.to_vector());
        gap = a - base;
    } else {
        const D3 s = d3(l.source()), q = d3(l.point(1));
        d = q - s;
        const D3 as = a - s, aq = a - q;
        const bool from_q = std::fabs(dot(n, aq)) < std::fabs(dot(n, as));
        base = from_q ? q : s;
        gap = from_q ? aq : as;
    }
    const double num = dot(n, gap), den = dot(n, d);
    // Each term of (ab x ac) . w errs by at most 8 roundings of its
    // magnitude (the three rounded differences, two products, a difference,
    // a product, the sum), so the sum by 10 u times the sum of magnitudes
    // (allowing for that sum's own rounding); products below 2^-1022 could
    // err absolutely, which the guard excludes.
    const D3 norm = {std::fabs(ab.y) * std::fabs(ac.z) + std::fabs(ab.z) * std::fabs(ac.y),
                     std::fabs(ab.z) * std::fabs(ac.x) + std::fabs(ab.x) * std::fabs(ac.z),
                     std::fabs(ab.x) * std::fabs(ac.y) + std::fabs(ab.y) * std::fabs(ac.x)};
    const double m_num = dot(norm, magnitudes(gap)), m_den = dot(norm, magnitudes(d));
    if (!(m_num >= 0x1p-700 && m_den >= 0x1p-700 && m_num < 0x1p900 && m_den < 0x1p900)) return std::nullopt;
    const double e_num = 10 * u * m_num, e_den = 10 * u * m_den;
    if (!(std::fabs(den) > 1024 * e_den)) return std::nullopt;
    const double t = num / den;
    if (!std::isfinite(t)) return std::nullopt;
    // |t - num/den| for the exact num and den, then t's own rounding
    const double e_t = (e_num + std::fabs(t) * e_den) / (std::fabs(den) - e_den) * (1 + 4 * u) +
                       (1 + 4 * u) * u * std::fabs(t);
    const double tolerance = std::ldexp(1.0, -(Bits + 2));
    double p[3];
    const double base_k[3] = {base.x, base.y, base.z}, d_k[3] = {d.x, d.y, d.z};
    for (int k = 0; k < 3; ++k) {
        const double step = t * d_k[k];
        p[k] = base_k[k] + step;
        const double error =
            (1 + 8 * u) * ((e_t + 2 * u * std::fabs(t)) * std::fabs(d_k[k]) * (1 + 2 * u) + u * std::fabs(p[k]));
        const bool normal = (step == 0 || std::fabs(step) >= 0x1p-900) && std::fabs(p[k]) >= 0x1p-900;
        if (!normal || !(error <= tolerance * std::fabs(p[k])) || !std::isfinite(p[k])) {
            return std::nullopt;
        }
    }
    return K::Point_3(p[0], p[1], p[2]);
}

// The crossing point of a linear object and a flat one that meet, each
// coordinate within 2^-(Bits+1) of the exact one, or exact rounded to the
// nearest double; nothing when the linear object lies in the plane (or in
// a parallel one). Throws NotRepresentable for a coordinate beyond the
// largest double.
template <int Bits, class L, class F>
std::optional<K::Point_3> crossing_point(const L& l, const F& f) {
    using namespace crossing;
    if constexpr (std::is_same_v<F, K::Triangle_3>) {
        if (const auto p = crossing_in_doubles<Bits>(l, f)) return p;
    }
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
            const auto x = rounding::tight_value<Bits>(p[0]), y = rounding::tight_value<Bits>(p[1]),
                       z = rounding::tight_value<Bits>(p[2]);
            if (x && y && z) return K::Point_3(*x, *y, *z);
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
    {
        CGAL::Protect_FPU_rounding<true> upward;
        const I below(CGAL::to_interval(across));
        // Mpzf's intervals are not to be trusted near the subnormals: a
        // quotient that small (or beyond the doubles) is the rationals' job
        const auto quotient = [&below](const CGAL::Mpzf& x) -> std::optional<double> {
            const auto d = rounding::tight_value<Bits>(I(CGAL::to_interval(x)) / below);
            if (d && *d != 0 && std::fabs(*d) < 0x1p-960) return std::nullopt;
            return d;
        };
        const auto x = quotient(over[0]), y = quotient(over[1]), z = quotient(over[2]);
        if (x && y && z) return K::Point_3(*x, *y, *z);
    }
    const rounding::FromRational<true> to_double;
    const auto quotient = [&](const CGAL::Mpzf& x) { return to_double(Rational(x) / Rational(across)); };
    return K::Point_3(quotient(over[0]), quotient(over[1]), quotient(over[2]));
}


// Whether a line, ray or segment meets a triangle, where floating-point
// filters prove every sign the answer needs; nothing otherwise (touching an
// edge, a vertex or the plane, nearly so, or lying in the plane: the kernel
// then decides). A certain answer also proves both objects proper (the
// triangle not flat, the linear object with a direction), so it is what
// the kernel decides for them. The linear object crosses the triangle's
// plane where its parameter allows (a segment's ends on opposite sides, a
// ray heading towards the plane, a line not parallel to it), and the
// triangle there when its line turns the same way around the three edges.
template <class L>
std::optional<bool> quick_meet(const L& l, const K::Triangle_3& t) {
    using namespace crossing;
    // Every determinant first, then the decision: the branches taken then
    // are the few the answer needs (a third faster on random rows).
    const D3 a = d3(t[0]), b = d3(t[1]), c = d3(t[2]);
    const D3 ab = b - a, ac = c - a;
    const D3 n = cross(ab, ac);
    D3 s, d, qa{0, 0, 0};  // a point of the linear object, its direction, and q - a for its second point q
    if constexpr (std::is_same_v<L, K::Line_3>) {
        s = d3(l.point());
        d = d3(l.to_vector());
    } else {
        s = d3(l.source());
        const D3 q = d3(l.point(1));  // a ray's second point, a segment's target
        d = q - s;
        qa = q - a;
    }
    const D3 as = a - s, bs = b - s, cs = c - s;
    // the plane's side of s and q, and of the direction (s - a is -(a - s) exactly)
    const double plane_bound = determinant_bound(
        larger(larger(magnitudes(ab), magnitudes(ac)), larger(magnitudes(as), larger(magnitudes(qa), magnitudes(d)))));
    const int side_s = sign_beyond(-dot(n, as), plane_bound);
    const int side_q = sign_beyond(dot(n, qa), plane_bound);
    const int toward = sign_beyond(-dot(n, d), plane_bound);  // n.(s - q): the sign of side_s - side_q
    // the turns of the linear object's line around the three edges
    const double edge_bound =
        determinant_bound(larger(magnitudes(d), larger(magnitudes(as), larger(magnitudes(bs), magnitudes(cs)))));
    const int e1 = sign_beyond(dot(d, cross(as, bs)), edge_bound);
    const int e2 = sign_beyond(dot(d, cross(bs, cs)), edge_bound);
    const int e3 = sign_beyond(dot(d, cross(cs, as)), edge_bound);
    if (plane_bound < 0 || edge_bound < 0) return std::nullopt;
    if constexpr (std::is_same_v<L, K::Line_3>) {
        if (toward == 0) return std::nullopt;  // parallel to the plane, or unsure
    } else if constexpr (std::is_same_v<L, K::Segment_3>) {
        if (side_s == 0 || side_q == 0) return std::nullopt;
        if (side_s == side_q) return false;
    } else {
        if (side_s == 0) return std::nullopt;
        if (side_q != -side_s) {  // on the same side, or unsure: heading towards the plane?
            if (toward == 0) return std::nullopt;
            if (toward != side_s) return false;
        }
    }
    if (e1 == 0 || e2 == 0 || e3 == 0) return std::nullopt;
    return e1 == e2 && e2 == e3;
}

}  // namespace zenolith::companion
