// The kernel decides where two planar lines (or rays, segments on them)
// meet through a helper that declares "no intersection" when the quotient
// giving the common point is not finite. In doubles that is its convention
// for a point beyond the largest double; over the intervals of the exact
// predicates' filter it turns an overflowing bound into a certain "no", so
// lines that meet far away, or whose coefficients are large, were decided
// as disjoint. Over intervals, this overload makes such a quotient
// undecided instead: the filter then falls back to exact rationals, where
// every quotient is finite. Every unit that instantiates the kernel's
// planar line intersections over intervals includes this header (it is
// included by pair_entries.hpp), so that all of them agree.
#pragma once

#include <CGAL/Interval_nt.h>
#include <CGAL/Simple_cartesian.h>
#include <CGAL/Uncertain.h>

namespace CGAL {

inline bool construct_if_finite(Simple_cartesian<Interval_nt<false>>::Point_2& pt,
                                Interval_nt<false> x, Interval_nt<false> y, Interval_nt<false> w,
                                const Simple_cartesian<Interval_nt<false>>&) {
    const Interval_nt<false> xw = x / w, yw = y / w;
    if (!is_finite(xw) || !is_finite(yw)) throw Uncertain_conversion_exception("a quotient overflowed");
    pt = Simple_cartesian<Interval_nt<false>>::Point_2(xw, yw);
    return true;
}

}  // namespace CGAL
