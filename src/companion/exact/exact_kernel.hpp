// The kernel with exact predicates over double coordinates and the exact
// conversions between its objects and the core's. Both kernels store plain
// doubles, so a conversion copies coordinates and never rounds.
#pragma once

#include <CGAL/Cartesian_converter.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>

#include <pybind11/pybind11.h>

#include "shared/finite.hpp"
#include "shared/types.hpp"

namespace zenolith::companion {

// Predicates decided by a floating-point filter with an exact fallback (GMP
// in this module's build); constructions computed in doubles as in the
// core's kernel.
using EK = CGAL::Exact_predicates_inexact_constructions_kernel;

// core kernel -> exact-predicate kernel, e.g. to_exact(p.v)
inline const CGAL::Cartesian_converter<K, EK> to_exact{};
// exact-predicate kernel -> core kernel, e.g. Point2{from_exact(q)}
inline const CGAL::Cartesian_converter<EK, K> from_exact{};

}  // namespace zenolith::companion
