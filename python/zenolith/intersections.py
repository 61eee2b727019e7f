"""Intersections and distances between two objects, or between one object
and a whole array of points.

* :func:`do_intersect` answers "do these two meet?" exactly: the kernel's
  exact predicates decide, so objects that touch in a single point of double
  coordinates are reported as meeting.
* :func:`intersection` answers "where?": ``None`` exactly when
  :func:`do_intersect` is False, else the core object the kernel constructs
  (a point, a segment, a triangle, a list of points for a polygon, a
  ``Circle3``, ...). The case is decided exactly and each coordinate is
  within 2^-41 of the exact one (intervals, with exact rationals where they
  cannot decide); a coordinate beyond the largest double raises
  ``OverflowError``.
* :func:`squared_distance` answers "how far apart?", within 2^-48 of the
  exact squared distance (32 units in the last place at worst), and
  :func:`closest_point` gives the point of an object nearest to a point.

Degenerate operands are the simpler objects they are: a segment or ray of
two equal points, or a ``Line3`` without direction, is its point; a flat
triangle, box or tetrahedron is the segment, point or triangle it covers.
A ``Line2`` with ``a = b = 0`` or a ``Plane3`` with ``a = b = c = 0`` holds
no point and raises ``ValueError``.

:func:`supported_pairs` lists the pairs each operation takes (the
repository's ``docs/intersections.md`` adds each pair's result types). A
pair that is not supported raises ``TypeError``; the arguments may come in
either order.

Against an array of points (any ``(N, 2)`` / ``(N, 3)`` array-like, or one
point), the same operations run in a C++ loop without the GIL and follow
the shape rules of :mod:`zenolith.arrays`.
"""

from __future__ import annotations

from typing import Union, overload

import numpy.typing as npt
import zenolith_core as core
from zenolith_core import (
    Bbox2,
    Bbox3,
    Circle2,
    Circle3,
    IsoCuboid3,
    IsoRectangle2,
    Line2,
    Line3,
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

from . import _intersections, _native
from ._types import BoolArray, FloatArray

#: The planar objects the pair operations know.
Planar = Union[Point2, Line2, Segment2, Ray2, Triangle2, IsoRectangle2, Circle2, Bbox2]
#: The spatial objects the pair operations know.
Spatial = Union[
    Point3, Line3, Segment3, Ray3, Plane3, Triangle3, Sphere3, Tetrahedron3, IsoCuboid3, Bbox3
]
#: Any object the pair operations know.
GeometricObject = Union[Planar, Spatial]
#: The objects :func:`closest_point` projects onto.
Projectable = Union[Line2, Segment2, Ray2, Triangle2, Line3, Segment3, Ray3, Plane3, Triangle3]
#: What :func:`intersection` returns: nothing, a core object, or the corners of
#: a polygon in order.
Intersection = Union[
    None,
    Point2,
    Segment2,
    Ray2,
    Line2,
    Triangle2,
    IsoRectangle2,
    Bbox2,
    list[Point2],
    Point3,
    Segment3,
    Ray3,
    Line3,
    Plane3,
    Triangle3,
    Sphere3,
    Circle3,
    IsoCuboid3,
    Bbox3,
    list[Point3],
]

#: An array of points, or one point as a sequence (an object is not points).
PointArray = npt.ArrayLike

# Every class of the core: an argument of one of these is an object, anything
# else is read as points.
_CORE_CLASSES = tuple(c for c in vars(core).values() if isinstance(c, type))
_CORE_TYPES = frozenset(_CORE_CLASSES)


def _is_object(x: object) -> bool:
    # The set lookup decides a core object at once; isinstance over the
    # classes (a few microseconds) only runs for what is not one of them.
    return type(x) in _CORE_TYPES or isinstance(x, _CORE_CLASSES)


def _object_and_points(a: object, b: object, op: str) -> tuple[object, object]:
    """Orders the arguments as (object, points); refuses two arrays."""
    if _is_object(a):
        return a, b
    if _is_object(b):
        return b, a
    raise TypeError(
        f"{op}() needs an object and points, got {type(a).__name__} and {type(b).__name__}"
    )


@overload
def do_intersect(a: GeometricObject, b: GeometricObject) -> bool: ...
@overload
def do_intersect(a: GeometricObject, b: PointArray) -> BoolArray: ...
@overload
def do_intersect(a: PointArray, b: GeometricObject) -> BoolArray: ...
def do_intersect(
    a: GeometricObject | PointArray, b: GeometricObject | PointArray
) -> bool | BoolArray:
    """Whether ``a`` and ``b`` share at least one point, decided exactly.

    With two objects: a ``bool``. With an object and an array of points: one
    bool per point (0-d for a single point given as a sequence). Triangles,
    rectangles, boxes, tetrahedra and iso-cuboids count with their interior;
    circles and spheres as the kernel takes them per pair (a point meets
    them only on the curve or surface; ``docs/intersections.md`` in the
    repository lists which).

    Raises ``ValueError`` for infinite or NaN coordinates, ``TypeError`` for a
    pair the kernel does not decide.
    """
    if type(a) in _CORE_TYPES and type(b) in _CORE_TYPES:  # the common case, first
        return _intersections.do_intersect(a, b)
    if _is_object(a) and _is_object(b):
        return _intersections.do_intersect(a, b)
    obj, points = _object_and_points(a, b, "do_intersect")
    result: BoolArray = _intersections.do_intersect_points(obj, points)
    return result


def intersection(a: GeometricObject, b: GeometricObject) -> Intersection:
    """Where ``a`` and ``b`` meet: ``None`` when they do not, else what the
    kernel constructs.

    The result is a core object (``Point2``, ``Segment2``, ``Triangle3``,
    ``Line3``, ``Circle3``, ...) or, where the intersection is a polygon, the
    list of its corners in order. ``None`` exactly when :func:`do_intersect`
    is False; which case occurs is decided exactly, and each coordinate is
    within 2^-41 of the exact intersection's (see the module's help).

    Raises ``ValueError`` for infinite or NaN coordinates and for a
    ``Line2``/``Plane3`` without direction, ``OverflowError`` when a
    coordinate of the result is beyond the largest double, ``TypeError`` for
    a pair the kernel does not construct (:func:`supported_pairs`).
    """
    result: Intersection = _intersections.intersection(a, b)
    return result


@overload
def squared_distance(a: GeometricObject, b: GeometricObject) -> float: ...
@overload
def squared_distance(a: GeometricObject, b: PointArray) -> FloatArray: ...
@overload
def squared_distance(a: PointArray, b: GeometricObject) -> FloatArray: ...
@overload
def squared_distance(a: PointArray, b: PointArray) -> FloatArray: ...
def squared_distance(
    a: GeometricObject | PointArray, b: GeometricObject | PointArray
) -> float | FloatArray:
    """The squared Euclidean distance between ``a`` and ``b``.

    With two objects: a ``float``, 0.0 when they meet. With an object and an
    array of points: one distance per point. With two arrays of points: the
    row-wise distances of :func:`zenolith.arrays.squared_distance`.

    The result is within 2^-48 of the exact squared distance of the given
    doubles (32 units in the last place at worst, in practice one or two),
    also for a point a rounding away from a segment's line or a triangle's
    plane; between two planar lines, segments, rays or triangles it is
    derived exactly and rounded once (the kernel's own formula fails on
    nearly collinear, overlapping segments). A point and a tetrahedron use
    the kernel's double formula. Degenerate operands are the simpler objects
    they are; a ``Line2`` or ``Plane3`` without direction raises
    ``ValueError``.
    """
    if type(a) in _CORE_TYPES and type(b) in _CORE_TYPES:  # the common case, first
        return _intersections.squared_distance(a, b)
    if _is_object(a) and _is_object(b):
        return _intersections.squared_distance(a, b)
    if not (_is_object(a) or _is_object(b)):
        return _native.point_pairs_squared_distance(a, b)
    obj, points = _object_and_points(a, b, "squared_distance")
    result: FloatArray = _intersections.squared_distance_points(obj, points)
    return result


@overload
def closest_point(obj: Line2 | Segment2 | Ray2 | Triangle2, p: Point2) -> Point2: ...
@overload
def closest_point(obj: Line3 | Segment3 | Ray3 | Plane3 | Triangle3, p: Point3) -> Point3: ...
@overload
def closest_point(obj: Projectable, p: PointArray) -> FloatArray: ...
def closest_point(obj: Projectable, p: Point2 | Point3 | PointArray) -> Point2 | Point3 | FloatArray:
    """The point of ``obj`` nearest to ``p``.

    ``obj`` is a line, segment, ray or triangle (planar or spatial) or a
    plane. For a core point ``p`` the result is a core point; for an array of
    points, an array of the same shape holding one nearest point per row.
    In space and onto a ``Line2`` this is the kernel's projection; onto a
    planar segment, ray or triangle it is the point of the supporting line
    clamped to the object (the point itself inside a triangle).
    """
    rows: FloatArray = _intersections.closest_point_points(obj, p)
    if isinstance(p, Point2):
        return Point2(float(rows[0]), float(rows[1]))
    if isinstance(p, Point3):
        return Point3(float(rows[0]), float(rows[1]), float(rows[2]))
    return rows


def supported_pairs(op: str) -> list[tuple[str, str]]:
    """The pairs of class names that ``op`` takes, each listed in one order
    (either order works): ``op`` is ``"do_intersect"``, ``"intersection"`` or
    ``"squared_distance"``.

    >>> ("Ray3", "Triangle3") in supported_pairs("intersection")
    True

    Raises ``ValueError`` for any other ``op``.
    """
    if op not in ("do_intersect", "intersection", "squared_distance"):
        raise ValueError(
            f"supported_pairs: expected 'do_intersect', 'intersection' or 'squared_distance', got {op!r}")
    tables: dict[str, list[tuple[type, type]]] = _intersections._testing.supported()
    return [(a.__name__, b.__name__) for a, b in tables[op]]


__all__ = ["do_intersect", "intersection", "squared_distance", "closest_point", "supported_pairs"]
