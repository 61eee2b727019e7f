// Floating-point filters for the side predicates of planes, circles and
// spheres: the sign of the value computed in doubles wherever an error
// bound proves it, else nothing (the caller asks the kernel, which filters
// again with intervals and computes exactly). The kernel filters these with
// interval arithmetic only, switching the rounding mode twice a row, at 8
// to 20 times the cost of the double predicate.
#pragma once

#include <algorithm>
#include <cmath>
#include <optional>

namespace zenolith::companion::exact {

// The sign of sum + d with sum = a0 b0 + a1 b1 + ... computed in order,
// given the computed sum of the terms' magnitudes. The rounding error of n
// products and n additions is below n u (u = 2^-53) times that sum (over
// twice as much is allowed for); a product that underflows errs by 2^-1075
// at most, which the lower guard makes negligible; the upper guard keeps
// every partial sum finite.
inline std::optional<int> certain_sign(double value, double magnitude) {
    if (!(magnitude >= 1e-290 && magnitude < 1e300)) return std::nullopt;
    if (std::fabs(value) <= 1e-15 * magnitude) return std::nullopt;
    return value > 0 ? 1 : -1;
}

// The sign of a x + b y + c z + d: which side of the plane (a, b, c, d) the
// point (x, y, z) lies on.
inline std::optional<int> plane_side(double a, double b, double c, double d, double x, double y,
                                     double z) {
    const double value = a * x + b * y + c * z + d;
    const double magnitude = std::fabs(a * x) + std::fabs(b * y) + std::fabs(c * z) + std::fabs(d);
    return certain_sign(value, magnitude);
}

// The sign of r2 - |p - center|^2 over D coordinates: 1 inside the circle or
// sphere, -1 outside. Each difference and square rounds once, so the sum of
// squares is within 4 u of its exact value, all its terms being positive.
template <int D>
std::optional<int> ball_side(const double* center, double r2, const double* p) {
    double squared = 0;
    for (int k = 0; k < D; ++k) {
        const double delta = p[k] - center[k];
        squared += delta * delta;
    }
    return certain_sign(r2 - squared, r2 + squared);
}

// The orientation of three points in the plane (1 left turn, -1 right
// turn) where the kernel's own filter bound proves it: 8.89e-16 times the
// larger coordinate difference per axis, while those lie in [1e-146, 1e153].
// Collinear is never certain.
inline std::optional<int> orientation_sign(double px, double py, double qx, double qy, double rx, double ry) {
    const double pqx = qx - px, pqy = qy - py, prx = rx - px, pry = ry - py;
    const double mx = std::max(std::fabs(pqx), std::fabs(prx)), my = std::max(std::fabs(pqy), std::fabs(pry));
    if (!(std::min(mx, my) >= 1e-146 && std::max(mx, my) < 1e153)) return std::nullopt;
    const double det = pqx * pry - prx * pqy;
    const double eps = 8.8872057372592798e-16 * mx * my;
    if (det > eps) return 1;
    if (det < -eps) return -1;
    return std::nullopt;
}

}  // namespace zenolith::companion::exact
