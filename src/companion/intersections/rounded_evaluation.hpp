// Constructions that cannot go wrong where doubles do. A kernel computation
// (an intersection, a squared distance) runs first over intervals, whose
// comparisons either decide exactly or refuse, and whose bounds overflow to
// infinity and underflow soundly instead of into NaN or a wrong branch; when
// an interval comparison cannot decide, or a result is not within a few
// units in the last place (a bound each caller chooses), the same
// computation runs over exact rationals.
// Either way the answer is rounded to doubles once, at the end.
#pragma once

#include <CGAL/FPU.h>
#include <CGAL/Interval_nt.h>
#include <CGAL/Gmpq.h>
#include <CGAL/Simple_cartesian.h>

#include <mpfr.h>

#include <cmath>
#include <limits>
#include <optional>

#include "companion/exact/exact_kernel.hpp"

namespace zenolith::companion {

// GMP's rationals, rounded to double by MPFR (see nearest_double).
using Rational = CGAL::Gmpq;
using IntervalKernel = CGAL::Simple_cartesian<CGAL::Interval_nt<false>>;
using RationalKernel = CGAL::Simple_cartesian<Rational>;

inline const CGAL::Cartesian_converter<K, IntervalKernel> to_intervals{};
inline const CGAL::Cartesian_converter<K, RationalKernel> to_rationals{};

// The double nearest a rational (ties to even), subnormals included; beyond
// the largest double, an infinity. (GMP's own conversion truncates, and a
// quotient of two huge integers would overflow to inf / inf.)
inline double nearest_double(const Rational& x) {
    const mpfr_exp_t emin = mpfr_get_emin();
    mpfr_set_emin(-1073);  // the exponent range of doubles, subnormals included
    MPFR_DECL_INIT(y, 53);
    const int sign_of_error = mpfr_set_q(y, x.mpq(), MPFR_RNDN);
    mpfr_subnormalize(y, sign_of_error, MPFR_RNDN);
    const double d = mpfr_get_d(y, MPFR_RNDN);
    mpfr_set_emin(emin);
    return d;
}

// Thrown when an exact result has a coordinate beyond the largest double.
struct NotRepresentable {};

namespace rounding {

// Thrown when an interval is too wide to stand for its value.
struct TooWide {};

// The double of an interval whose width is at most 2^-Bits of its larger
// bound: its middle, within half that width of the exact value. An exact
// zero is an interval of two zeros (and gives +0, as exact arithmetic
// does); one that merely contains zero is too wide: nothing.
template <int Bits>
std::optional<double> tight_value(const CGAL::Interval_nt<false>& x) {
    const double lo = x.inf(), hi = x.sup();
    if (lo == hi) return lo + 0.0;
    const double top = std::fmax(std::fabs(lo), std::fabs(hi));
    const bool tight = std::isfinite(lo) && std::isfinite(hi) && (lo > 0 || hi < 0) &&
                       hi - lo <= std::ldexp(top, -Bits);
    if (!tight) return std::nullopt;
    return lo + (hi - lo) / 2;
}

// The same as a converter for the kernel's Cartesian_converter, which has
// no way to say "too wide" but an exception.
template <int Bits>
struct FromInterval {
    double operator()(const CGAL::Interval_nt<false>& x) const {
        if (const auto d = tight_value<Bits>(x)) return *d;
        throw TooWide{};
    }
};

// The double nearest an exact rational. A value beyond the largest double is
// infinity for a measure (a squared distance) and NotRepresentable for a
// construction (a point must have finite coordinates).
template <bool Construction>
struct FromRational {
    double operator()(const Rational& x) const {
        const double d = nearest_double(x);
        if (Construction && !std::isfinite(d)) throw NotRepresentable{};
        return d;
    }
};

}  // namespace rounding

// compute(to_intervals) with the rounding mode upward for as long as it
// runs; nothing when an interval comparison cannot decide.
template <class Compute>
auto over_intervals(const Compute& compute) -> std::optional<decltype(compute(to_intervals))> {
    CGAL::Protect_FPU_rounding<true> upward;
    try {
        return compute(to_intervals);
    } catch (const CGAL::Uncertain_conversion_exception&) {
        return std::nullopt;
    }
}

// A decision (a bool, a sign) decide(to) over intervals, else over exact
// rationals: exact either way, nothing to round.
template <class Decide>
auto decide_exactly(const Decide& decide) {
    if (auto answer = over_intervals(decide)) return *answer;
    return decide(to_rationals);
}

// compute(to) over intervals, else over rationals, rounded to the core's
// kernel; `to` converts the core's values into the kernel computed in.
// `Construction` says what a value beyond the largest double is (see
// FromRational); `Bits` how tight an interval must be to be taken (see
// FromInterval); `accept` may refuse an interval result that intervals
// cannot be trusted with (an intersection the kernel declares empty when a
// bound overflowed). The rounding mode is upward only while intervals
// compute.
template <bool Construction, int Bits, class Compute, class Accept>
auto evaluate_rounded(const Compute& compute, const Accept& accept) {
    const auto approximate = over_intervals(compute);
    if (approximate && accept(*approximate)) {
        try {
            return CGAL::Cartesian_converter<IntervalKernel, K, rounding::FromInterval<Bits>>()(
                *approximate);
        } catch (const rounding::TooWide&) {
        }
    }
    return CGAL::Cartesian_converter<RationalKernel, K, rounding::FromRational<Construction>>()(
        compute(to_rationals));
}

template <bool Construction, int Bits, class Compute>
auto evaluate_rounded(const Compute& compute) {
    return evaluate_rounded<Construction, Bits>(compute, [](const auto&) { return true; });
}

}  // namespace zenolith::companion
