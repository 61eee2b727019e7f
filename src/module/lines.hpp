// The planar line through two points, used by Line2's constructors and by
// the supporting lines of segments and rays.
#pragma once

#include "types.hpp"

namespace zenolith {

// Oriented from p towards q. The kernel's two-point rule: a horizontal line
// gets (0, +-1, -+py) and a vertical one (-+1, 0, +-px) exactly; equal points
// give (0, 0, 0); otherwise a = py - qy, b = qx - px, c = -px*a - py*b. A NaN
// coordinate fails the equality tests and falls through to the last branch.
inline K::Line_2 line_through(const K::Point_2& p, const K::Point_2& q) { return K::Line_2(p, q); }

}  // namespace zenolith
