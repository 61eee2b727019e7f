// Exact rational coordinates, for the few distances that must be derived
// exactly. Boost's rationals, whichever exact type the installed kernel
// prefers: their conversion to double rounds to nearest, where a quotient of
// two huge integers would overflow to inf / inf.
#pragma once

#include <CGAL/Cartesian_converter.h>
#include <CGAL/Simple_cartesian.h>
#include <CGAL/boost_mp.h>

#include <boost/multiprecision/cpp_int.hpp>

#include "../module/types.hpp"

namespace zenolith::companion {

using Rational = boost::multiprecision::cpp_rational;
using XK = CGAL::Simple_cartesian<Rational>;
// core kernel -> rational kernel (exact: every double is a rational)
inline const CGAL::Cartesian_converter<K, XK> to_rational{};

// The squared distance from a point to an object, within a few units in the
// last place of the exact value for finite input: the kernel's formula in
// interval arithmetic where that is tight enough, in exact rationals
// otherwise (the double formula alone cancels near the object's line or
// plane). Defined for the objects of the array operations.
template <class T, class P>
double point_squared_distance(const T& obj, const P& p);

}  // namespace zenolith::companion
