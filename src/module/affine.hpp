// How planar affine transformations act, in one place.
//
// The kernel's transformation is a handle to one of five representations.
// Four of them behave soundly; where the kernel's own answer is wrong, the
// functions below give the sound one instead:
//  - a reflection reports a zero translation in its matrix, maps vectors and
//    directions with its translation included, calls itself even, and its
//    inverse forgets the translation;
//  - a scaling by a negative factor leaves directions unchanged;
//  - the product (reflection) * (scaling) gets its translation wrong.
// Every binding that applies, compares, inverts or composes transformations
// goes through these functions, so all of them see the same real matrix.
#pragma once

#include "types.hpp"

namespace zenolith {

using Transformation = K::Aff_transformation_2;

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
// its right is computed from the reflection's real matrix; every other pair
// keeps the kernel's own product and representation.
inline Transformation compose(const Transformation& a, const Transformation& b) {
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
