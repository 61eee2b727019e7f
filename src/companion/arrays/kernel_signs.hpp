// A few of the kernel's sign tests written without branches. On scattered
// data the kernel's nested comparisons mispredict about every other row,
// which costs several times the arithmetic. Each function here rounds the
// same values in the same order as the kernel and compares them the same
// way (a NaN compares neither way and gives 0); the array tests hold them to
// the core's per-object results.
#pragma once

#include <cstdint>

#include "shared/types.hpp"

namespace zenolith::companion {

// 1 when a > b, -1 when a < b, else 0: the kernel's compare of doubles.
inline std::int8_t compare_sign(double a, double b) {
    return static_cast<std::int8_t>((a > b) - (a < b));
}

// The kernel's planar orientation: the two products of the 2x2 determinant
// of (q - p, r - p), compared and never subtracted.
inline std::int8_t orientation_sign(const K::Point_2& p, const K::Point_2& q,
                                    const K::Point_2& r) {
    return compare_sign((q.x() - p.x()) * (r.y() - p.y()), (r.x() - p.x()) * (q.y() - p.y()));
}

// The sign of the plane's value a x + b y + c z + d, summed left to right.
inline std::int8_t plane_side(const K::Plane_3& h, const K::Point_3& p) {
    return compare_sign(h.a() * p.x() + h.b() * p.y() + h.c() * p.z() + h.d(), 0.0);
}

// A triangle's bounded side: inside when the three edge orientations agree,
// outside when they disagree and none is 0. The rest (a point on an edge's
// line) is the kernel's own call.
inline std::int8_t triangle_bounded_side_sign(const K::Triangle_2& t, const K::Point_2& p) {
    const std::int8_t o1 = orientation_sign(t.vertex(0), t.vertex(1), p);
    const std::int8_t o2 = orientation_sign(t.vertex(1), t.vertex(2), p);
    const std::int8_t o3 = orientation_sign(t.vertex(2), t.vertex(0), p);
    const bool agree = (o1 == o2) & (o1 == o3);
    if (agree | ((o1 != 0) & (o2 != 0) & (o3 != 0))) return static_cast<std::int8_t>(2 * agree - 1);
    return static_cast<std::int8_t>(t.bounded_side(p));
}

}  // namespace zenolith::companion
