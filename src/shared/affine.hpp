// How planar affine transformations act, in one place.
//
// The kernel's transformation is a handle to one of five representations.
// Four of them behave soundly; where the kernel's own answer is wrong, the
// functions below give the sound one instead:
//  - a reflection reports a zero translation in its matrix, maps vectors and
//    directions with its translation included, calls itself even, and its
//    inverse forgets the translation;
//  - a scaling by a negative factor leaves directions unchanged;
//  - the product (reflection) * (scaling) gets its translation wrong;
//  - a reflection in a nearly horizontal line takes the line's x-axis
//    intercept -c/a as its reference point, which overflows, so that every
//    point it maps becomes NaN or infinite.
// Every binding that applies, compares, inverts or composes transformations
// goes through these functions, so all of them see the same real matrix.
#pragma once

#include <cmath>

#include "shared/types.hpp"

namespace zenolith {

using Transformation = K::Aff_transformation_2;

// The kernel's reflection, which keeps its matrix but not the line it was
// made from; this one remembers the line too, so that a copy made in another
// process (pickling) is rebuilt from the very same line, bit for bit.
class Reflection_in_line : public CGAL::Reflection_repC2<K> {
public:
    explicit Reflection_in_line(const K::Line_2& l) : CGAL::Reflection_repC2<K>(l), line_(l) {}
    const K::Line_2& line() const { return line_; }

private:
    K::Line_2 line_;
};

// The kernel's reflection with a finite reference point, the line's y-axis
// intercept (0, -c/b), in place of its overflowing x-axis intercept. Its
// matrix entries are the kernel's own; points and vectors go through the
// kernel's formula with the other reference point.
class Reflection_about_y_intercept final : public Reflection_in_line {
public:
    explicit Reflection_about_y_intercept(const K::Line_2& l)
        : Reflection_in_line(l), t_(0.0, -l.c() / l.b()) {}

    using CGAL::Reflection_repC2<K>::transform;
    K::Point_2 transform(const K::Point_2& p) const override { return reflect(p); }
    K::Vector_2 transform(const K::Vector_2& v) const override { return reflect(v); }

private:
    template <class P>
    P reflect(const P& p) const {
        const double c = cartesian(0, 0), s = cartesian(0, 1);
        return P(c * p.x() + s * p.y() - c * t_.x() - s * t_.y() + t_.x(),
                 s * p.x() - c * p.y() - s * t_.x() + c * t_.y() + t_.y());
    }

    K::Vector_2 t_;
};

// The reflection in l: the kernel's own, unless its reference point overflows
// for a line with finite coefficients while the y-axis intercept does not.
// (The kernel then maps every point to a non-finite result, so every finite
// result it gives is kept bit for bit.)
inline Transformation reflection(const K::Line_2& l) {
    const bool overflows = l.a() != 0 && !std::isfinite(l.c() / l.a()) && std::isfinite(l.a()) &&
                           std::isfinite(l.c()) && std::isfinite(l.c() / l.b());
    CGAL::Handle_for_virtual<CGAL::Aff_transformation_rep_baseC2<K>> rep;
    if (overflows)
        rep.initialize_with(Reflection_about_y_intercept(l));
    else
        rep.initialize_with(Reflection_in_line(l));
    Transformation t;
    rep.swap(t);
    return t;
}

// The line a reflection made by reflection() reflects in; null for any
// other transformation.
inline const K::Line_2* reflection_line(const Transformation& t) {
    const auto* r = dynamic_cast<const Reflection_in_line*>(t.Ptr());
    return r ? &r->line() : nullptr;
}

inline bool about_y_intercept(const Transformation& t) {
    return t.is_reflection() && dynamic_cast<const Reflection_about_y_intercept*>(t.Ptr());
}

// The reflection's real matrix as a general transformation: its linear part
// is right in the kernel; its translation is the image of the origin.
inline Transformation reflection_as_matrix(const Transformation& t) {
    const K::Point_2 o = t.transform(K::Point_2(0.0, 0.0));
    return Transformation(t.cartesian(0, 0), t.cartesian(0, 1), o.x(),
                          t.cartesian(1, 0), t.cartesian(1, 1), o.y());
}

// Entry m(i, j), indices passed through unchecked as the kernel does.
inline double matrix_entry(const Transformation& t, int i, int j) {
    return t.is_reflection() ? reflection_as_matrix(t).cartesian(i, j) : t.cartesian(i, j);
}

// Vectors (and directions) move by the linear part only, whatever the kind.
inline K::Vector_2 map_vector(const Transformation& t, const K::Vector_2& v) {
    if (!t.is_reflection()) return t.transform(v);
    return K::Vector_2(t.cartesian(0, 0) * v.x() + t.cartesian(0, 1) * v.y(),
                       t.cartesian(1, 0) * v.x() + t.cartesian(1, 1) * v.y());
}

inline K::Direction_2 map_direction(const Transformation& t, const K::Direction_2& d) {
    if (t.is_reflection()) return map_vector(t, d.vector()).direction();
    // A negative factor turns every vector around, and so its direction;
    // other factors keep the stored components, as the kernel does.
    if (t.is_scaling() && t.cartesian(0, 0) < 0) return -d;
    return t.transform(d);
}

// The image of point(0) through the image of the direction (b, -a).
inline K::Line_2 map_line(const Transformation& t, const K::Line_2& l) {
    return K::Line_2(t.transform(l.point(0)), map_direction(t, l.direction()));
}

// A reflection reverses orientation; everything else as the kernel says.
inline bool is_even(const Transformation& t) { return !t.is_reflection() && t.is_even(); }

// A reflection is its own inverse.
inline Transformation inverse(const Transformation& t) {
    return t.is_reflection() ? reflection_as_matrix(t) : t.inverse();
}

// a * b applies b first. Only the product of a reflection with a scaling on
// its right, and any product with a reflection about its y-axis intercept
// (whose reference point the kernel's products cannot see), are computed from
// the reflection's real matrix; every other pair keeps the kernel's own
// product and representation.
inline Transformation compose(const Transformation& a, const Transformation& b) {
    if (about_y_intercept(a)) return compose(reflection_as_matrix(a), b);
    if (about_y_intercept(b)) return compose(a, reflection_as_matrix(b));
    if (a.is_reflection() && b.is_scaling()) return reflection_as_matrix(a) * b;
    return a * b;
}

// The nine entries in row-major order, compared until the first difference.
inline bool equal(const Transformation& a, const Transformation& b) {
    const Transformation& ra = a.is_reflection() ? reflection_as_matrix(a) : a;
    const Transformation& rb = b.is_reflection() ? reflection_as_matrix(b) : b;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (ra.cartesian(i, j) != rb.cartesian(i, j)) return false;
    return true;
}

}  // namespace zenolith
