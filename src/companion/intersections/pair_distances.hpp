// The squared distance between two kernel values, shared by the pair entries
// and the rows of one object against many points.
#pragma once

#include "companion/intersections/rounded_evaluation.hpp"
#include "shared/finite.hpp"

namespace zenolith::companion {

// Distances are taken from intervals no wider than 2^-50 of their value:
// within four units in the last place of the exact squared distance (the
// rationals round to nearest). Non-finite input is computed as written, by
// the kernel's formula in doubles.
template <class A, class B>
double rounded_squared_distance(const A& a, const B& b) {
    if (!finite(a) || !finite(b)) return CGAL::squared_distance(a, b);
    return evaluate_rounded<false, 50>(
        [&](const auto& to) { return CGAL::squared_distance(to(a), to(b)); });
}

}  // namespace zenolith::companion
