// Which points a spatial triangle holds, shared by Triangle3.has_on and the
// companion's array loops.
#pragma once

#include <cmath>

#include "types.hpp"

namespace zenolith {

inline bool is_finite(const K::Point_3& p) {
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(p.z());
}

// Exact, by Cramer numerators without division: a point that is on the
// triangle only up to rounding is not on it. A flat triangle would pass
// every point there (all numerators and the determinant are 0), so it holds
// exactly the points of the segments between its vertices instead
// (README, "Deliberate behaviours").
inline bool triangle_has_on(const K::Triangle_3& t, const K::Point_3& p) {
    if (!t.is_degenerate() || !is_finite(t.vertex(0)) || !is_finite(t.vertex(1)) ||
        !is_finite(t.vertex(2)))
        return t.has_on(p);
    for (int i = 0; i < 3; ++i)
        if (K::Segment_3(t.vertex(i), t.vertex(i + 1)).has_on(p)) return true;
    return false;
}

}  // namespace zenolith
