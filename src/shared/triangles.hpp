// Which points a spatial triangle holds, shared by Triangle3.has_on and the
// companion's array loops.
#pragma once

#include "shared/finite.hpp"
#include "shared/types.hpp"

namespace zenolith {

// Exact, by Cramer numerators without division: a point that is on the
// triangle only up to rounding is not on it. A flat triangle would pass
// every point there (all numerators and the determinant are 0), so it holds
// exactly the points of the segments between its vertices instead
// (README, "Deliberate behaviours").
inline bool triangle_has_on(const K::Triangle_3& t, const K::Point_3& p) {
    if (!t.is_degenerate() || !finite(t))
        return t.has_on(p);
    for (int i = 0; i < 3; ++i)
        if (K::Segment_3(t.vertex(i), t.vertex(i + 1)).has_on(p)) return true;
    return false;
}

}  // namespace zenolith
