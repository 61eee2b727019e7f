"""Exact predicates: answers that are right for every finite input.

The core computes its predicates in plain double arithmetic, so points that
are nearly collinear, nearly cocircular or nearly on an object can get the
wrong sign. Every function here returns the sign that exact arithmetic on the
given doubles returns. A fast floating-point filter decides almost every
call; only when it cannot, the answer is computed exactly (with GMP). The
cost is therefore close to the double version on ordinary data and higher
only on (nearly) degenerate input, where the double answer is unreliable.

Each function is a drop-in replacement for the core operation of the same
name and returns what it returns:

* on core objects (``Point2``, ``Triangle3``, ...): an ``OrientationResult``
  for :func:`orientation` of three ``Point2``, the int -1 / 0 / 1 for signs,
  sides and comparisons, a bool for tests;
* on arrays of points (``(N, 2)`` / ``(N, 3)`` array-likes, single points
  broadcasting, exactly as in :mod:`zenolith.arrays`): an int8 or bool
  array of length ``N``, 0-d when every argument is a single point.

A NaN or infinite coordinate has no exact value: it raises ``ValueError``
naming the argument (``"q: ..."``) or, in arrays, the argument and its first
bad row (``"q[41]: ..."``).

Degenerate objects get the exact answer to the same question. A triangle
whose vertices are collinear (and a tetrahedron whose vertices are coplanar)
has no interior: :func:`bounded_side` answers 0 on the segments (faces)
between its vertices and -1 everywhere else, and :func:`oriented_side`
answers 0 everywhere, as it has no positive or negative side. A flat
``Triangle3`` holds the points of the segments between its vertices, as in
the core, and a ``Line3`` with a zero direction holds only its point.
"""

from __future__ import annotations

from typing import Any, TypeAlias, Union, overload

from zenolith_core import (
    Circle2,
    Circle3,
    IsoCuboid3,
    IsoRectangle2,
    Line2,
    Line3,
    OrientationResult,
    Plane3,
    Point2,
    Point3,
    Ray2,
    Ray3,
    Segment2,
    Segment3,
    Sphere3,
    Tetrahedron3,
    Triangle2,
    Triangle3,
)

from . import _native
from ._types import BoolArray, Points2Like, Points3Like, SignArray

_exact = _native.exact
_orientation = _exact.orientation

#: Core objects with an oriented side (``obj.oriented_side(p)`` in the core).
OrientedObject: TypeAlias = Union[Line2, Triangle2, Circle2, Plane3, Sphere3, Tetrahedron3]
#: Core objects with a bounded side (``obj.bounded_side(p)`` in the core).
BoundedObject: TypeAlias = Union[Triangle2, Circle2, IsoRectangle2, Sphere3, Tetrahedron3, IsoCuboid3]
#: Core objects with ``obj.has_on(p)`` in the core.
HasOnObject: TypeAlias = Union[
    Line2, Segment2, Ray2, Line3, Plane3, Segment3, Ray3, Triangle3, Sphere3, Circle3
]
#: Planar and spatial point arguments.
PointsLike: TypeAlias = Union[Points2Like, Points3Like]

# Each function lists its per-object signatures first: a core point is also a
# valid array argument (mixed with arrays it is one point), so the signatures
# overlap, which the type checker is told once in pyproject.toml; at run time
# core objects always take the per-object form.


@overload
def orientation(p: Point2, q: Point2, r: Point2) -> OrientationResult: ...
@overload
def orientation(p: Point3, q: Point3, r: Point3, s: Point3) -> int: ...
@overload
def orientation(p: Points2Like, q: Points2Like, r: Points2Like) -> SignArray: ...
@overload
def orientation(p: Points3Like, q: Points3Like, r: Points3Like, s: Points3Like) -> SignArray: ...
def orientation(p: Any, q: Any, r: Any, s: Any = None) -> Any:
    """Exact orientation of three planar points, or of four points in space.

    Three ``Point2``: an ``OrientationResult`` exactly like the core's
    ``orientation`` (``left_turn()``, ``right_turn()``, ``collinear()``),
    but right for nearly collinear points. Four ``Point3``: 1 when ``s`` is
    on the positive side of the plane through ``p, q, r`` (the tetrahedron
    ``p, q, r, s`` is positively oriented), -1 on the negative side, 0 when
    the four are coplanar. Arrays: the signs (1 left turn / positive, -1,
    0) as int8.
    """
    if s is None:
        return _orientation(p, q, r)
    return _orientation(p, q, r, s)


@overload
def side_of_oriented_circle(p: Point2, q: Point2, r: Point2, t: Point2) -> int: ...
@overload
def side_of_oriented_circle(p: Points2Like, q: Points2Like, r: Points2Like, t: Points2Like) -> SignArray: ...
def side_of_oriented_circle(p: Any, q: Any, r: Any, t: Any) -> Any:
    """Side of ``t`` with respect to the oriented circle through ``p, q, r``.

    1 on the positive side (inside a counterclockwise circle, outside a
    clockwise one), -1 on the negative side, 0 on the circle. When ``p, q,
    r`` are collinear the circle is their line, and the answer is the
    side of that line.
    """
    return _exact.side_of_oriented_circle(p, q, r, t)


@overload
def side_of_bounded_circle(p: Point2, q: Point2, r: Point2, t: Point2) -> int: ...
@overload
def side_of_bounded_circle(p: Points2Like, q: Points2Like, r: Points2Like, t: Points2Like) -> SignArray: ...
def side_of_bounded_circle(p: Any, q: Any, r: Any, t: Any) -> Any:
    """Whether ``t`` is inside (1), on (0) or outside (-1) the circle
    through ``p, q, r``, whatever their order. Collinear ``p, q, r`` bound
    no disc: the answer is then 0."""
    return _exact.side_of_bounded_circle(p, q, r, t)


@overload
def side_of_oriented_sphere(p: Point3, q: Point3, r: Point3, s: Point3, t: Point3) -> int: ...
@overload
def side_of_oriented_sphere(
    p: Points3Like, q: Points3Like, r: Points3Like, s: Points3Like, t: Points3Like
) -> SignArray: ...
def side_of_oriented_sphere(p: Any, q: Any, r: Any, s: Any, t: Any) -> Any:
    """Side of ``t`` with respect to the oriented sphere through ``p, q, r,
    s``: 1 on the positive side (inside when ``orientation(p, q, r, s)`` is
    positive), -1 on the negative side, 0 on the sphere. Coplanar ``p, q, r,
    s``: the side of their plane."""
    return _exact.side_of_oriented_sphere(p, q, r, s, t)


@overload
def side_of_bounded_sphere(p: Point3, q: Point3, r: Point3, s: Point3, t: Point3) -> int: ...
@overload
def side_of_bounded_sphere(
    p: Points3Like, q: Points3Like, r: Points3Like, s: Points3Like, t: Points3Like
) -> SignArray: ...
def side_of_bounded_sphere(p: Any, q: Any, r: Any, s: Any, t: Any) -> Any:
    """Whether ``t`` is inside (1), on (0) or outside (-1) the sphere through
    ``p, q, r, s``, whatever their order. Coplanar ``p, q, r, s`` bound no
    ball: the answer is then 0."""
    return _exact.side_of_bounded_sphere(p, q, r, s, t)


@overload
def collinear(p: Point2, q: Point2, r: Point2) -> bool: ...
@overload
def collinear(p: Point3, q: Point3, r: Point3) -> bool: ...
@overload
def collinear(p: PointsLike, q: PointsLike, r: PointsLike) -> BoolArray: ...
def collinear(p: Any, q: Any, r: Any) -> Any:
    """Whether ``p, q, r`` lie exactly on one line (planar or spatial
    points; arrays take their dimension from ``p``)."""
    return _exact.collinear(p, q, r)


@overload
def coplanar(p: Point3, q: Point3, r: Point3, s: Point3) -> bool: ...
@overload
def coplanar(p: Points3Like, q: Points3Like, r: Points3Like, s: Points3Like) -> BoolArray: ...
def coplanar(p: Any, q: Any, r: Any, s: Any) -> Any:
    """Whether ``p, q, r, s`` lie exactly in one plane."""
    return _exact.coplanar(p, q, r, s)


@overload
def oriented_side(obj: OrientedObject, p: Point2 | Point3) -> int: ...
@overload
def oriented_side(obj: OrientedObject, p: PointsLike) -> SignArray: ...
def oriented_side(obj: Any, p: Any) -> Any:
    """Exact ``obj.oriented_side(p)``: 1 on the positive side of ``obj``, -1
    on the negative side, 0 on its boundary. ``obj`` is a ``Line2``,
    ``Triangle2``, ``Circle2``, ``Plane3``, ``Sphere3`` or ``Tetrahedron3``;
    ``p`` one point or an array of points tested against it. A flat
    triangle or tetrahedron has no sides: 0 everywhere."""
    return _exact.oriented_side(obj, p)


@overload
def bounded_side(obj: BoundedObject, p: Point2 | Point3) -> int: ...
@overload
def bounded_side(obj: BoundedObject, p: PointsLike) -> SignArray: ...
def bounded_side(obj: Any, p: Any) -> Any:
    """Exact ``obj.bounded_side(p)``: 1 inside ``obj``, 0 on its boundary, -1
    outside. ``obj`` is a ``Triangle2``, ``Circle2``, ``IsoRectangle2``,
    ``Sphere3``, ``Tetrahedron3`` or ``IsoCuboid3``. A flat triangle or
    tetrahedron has no inside: 0 on the segments (faces) between its
    vertices, -1 elsewhere."""
    return _exact.bounded_side(obj, p)


@overload
def has_on(obj: HasOnObject, p: Point2 | Point3) -> bool: ...
@overload
def has_on(obj: HasOnObject, p: PointsLike) -> BoolArray: ...
def has_on(obj: Any, p: Any) -> Any:
    """Exact ``obj.has_on(p)``: whether ``p`` lies exactly on ``obj`` (a
    ``Line2``, ``Segment2``, ``Ray2``, ``Line3``, ``Plane3``, ``Segment3``,
    ``Ray3``, ``Triangle3``, ``Sphere3`` (its surface) or ``Circle3``). A
    point interpolated along a segment is almost never exactly on it."""
    return _exact.has_on(obj, p)


@overload
def equal(p: Point2, q: Point2) -> bool: ...
@overload
def equal(p: Point3, q: Point3) -> bool: ...
@overload
def equal(p: PointsLike, q: PointsLike) -> BoolArray: ...
def equal(p: Any, q: Any) -> Any:
    """Whether ``p`` and ``q`` are the same point (0.0 and -0.0 are equal)."""
    return _exact.equal(p, q)


@overload
def compare_x(p: Point2, q: Point2) -> int: ...
@overload
def compare_x(p: Point3, q: Point3) -> int: ...
@overload
def compare_x(p: PointsLike, q: PointsLike) -> SignArray: ...
def compare_x(p: Any, q: Any) -> Any:
    """-1, 0 or 1 as the x of ``p`` is smaller than, equal to or larger
    than the x of ``q``."""
    return _exact.compare_x(p, q)


@overload
def compare_y(p: Point2, q: Point2) -> int: ...
@overload
def compare_y(p: Point3, q: Point3) -> int: ...
@overload
def compare_y(p: PointsLike, q: PointsLike) -> SignArray: ...
def compare_y(p: Any, q: Any) -> Any:
    """-1, 0 or 1 comparing the y coordinates of ``p`` and ``q``."""
    return _exact.compare_y(p, q)


@overload
def compare_z(p: Point3, q: Point3) -> int: ...
@overload
def compare_z(p: Points3Like, q: Points3Like) -> SignArray: ...
def compare_z(p: Any, q: Any) -> Any:
    """-1, 0 or 1 comparing the z coordinates of ``p`` and ``q``."""
    return _exact.compare_z(p, q)


@overload
def compare_xy(p: Point2, q: Point2) -> int: ...
@overload
def compare_xy(p: Points2Like, q: Points2Like) -> SignArray: ...
def compare_xy(p: Any, q: Any) -> Any:
    """-1, 0 or 1 comparing planar points by x, then by y."""
    return _exact.compare_xy(p, q)


@overload
def compare_lexicographically(p: Point2, q: Point2) -> int: ...
@overload
def compare_lexicographically(p: Point3, q: Point3) -> int: ...
@overload
def compare_lexicographically(p: PointsLike, q: PointsLike) -> SignArray: ...
def compare_lexicographically(p: Any, q: Any) -> Any:
    """-1, 0 or 1 comparing points by x, then y (then z in space)."""
    return _exact.compare_lexicographically(p, q)


@overload
def are_ordered_along_line(p: Point2, q: Point2, r: Point2) -> bool: ...
@overload
def are_ordered_along_line(p: Point3, q: Point3, r: Point3) -> bool: ...
@overload
def are_ordered_along_line(p: PointsLike, q: PointsLike, r: PointsLike) -> BoolArray: ...
def are_ordered_along_line(p: Any, q: Any, r: Any) -> Any:
    """Whether ``p, q, r`` are exactly collinear and ``q`` lies between
    ``p`` and ``r`` (ends included)."""
    return _exact.are_ordered_along_line(p, q, r)


@overload
def collinear_are_ordered_along_line(p: Point2, q: Point2, r: Point2) -> bool: ...
@overload
def collinear_are_ordered_along_line(p: Point3, q: Point3, r: Point3) -> bool: ...
@overload
def collinear_are_ordered_along_line(p: PointsLike, q: PointsLike, r: PointsLike) -> BoolArray: ...
def collinear_are_ordered_along_line(p: Any, q: Any, r: Any) -> Any:
    """Whether ``q`` lies between ``p`` and ``r`` (ends included), for
    points already known to be collinear: only coordinates are compared,
    collinearity is not tested."""
    return _exact.collinear_are_ordered_along_line(p, q, r)


__all__ = [
    "orientation",
    "side_of_oriented_circle",
    "side_of_bounded_circle",
    "side_of_oriented_sphere",
    "side_of_bounded_sphere",
    "collinear",
    "coplanar",
    "oriented_side",
    "bounded_side",
    "has_on",
    "equal",
    "compare_x",
    "compare_y",
    "compare_z",
    "compare_xy",
    "compare_lexicographically",
    "are_ordered_along_line",
    "collinear_are_ordered_along_line",
]
