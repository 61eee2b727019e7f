"""Whole-array geometry: the core's per-object operations over numpy arrays.

Every function here computes, row by row, exactly what the core's per-object
call computes for the same numbers (bit for bit, NaN and infinities
included), in a C++ loop that releases the GIL, so threads scale.

Shape rules, shared by every function:

* points are ``(N, 2)`` or ``(N, 3)`` array-likes of real numbers (any dtype
  numpy converts to float64, any strides); one point may be given as a
  length-2/3 sequence or a core point object and broadcasts against the
  others;
* the result has length ``N``, or is 0-d when every input is a single point;
* a wrong rank, trailing dimension, dtype or length raises ``ValueError``,
  an object of the wrong class ``TypeError``.
"""

from __future__ import annotations

from collections.abc import Buffer, Sequence
from typing import Any, TypeVar, Union, overload

import numpy as np
import numpy.typing as npt

from zenolith_core import (
    AffTransformation2,
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
    Vector2,
    Vector3,
    WeightedPoint2,
)

from . import _native
from ._types import BoolArray, FloatArray, Points2Like, Points3Like, SignArray
from .objects import (
    Bboxes2,
    Bboxes3,
    Circles2,
    IsoCuboids3,
    IsoRectangles2,
    ObjectArray,
    as_object_array,
    Rays2,
    Segments2,
    Segments3,
    Spheres3,
    Tetrahedra3,
    Triangles2,
    Triangles3,
    WeightedPoints2,
    _sorted_corners,
)

#: A permutation: indices into the rows of an array.
IndexArray = npt.NDArray[np.intp]

#: The core objects :func:`to_array` turns into coordinates.
ArrayItem = Union[
    Point2, Point3, Vector2, Vector3, WeightedPoint2, Segment2, Segment3, Triangle2, Triangle3
]

# ---- conversions -------------------------------------------------------------


def to_array(seq: Sequence[ArrayItem]) -> FloatArray:
    """Coordinates of a sequence of core objects of one class, as float64.

    Points and vectors give shape ``(N, d)``, weighted points ``(N, 3)``
    (x, y, weight), segments ``(N, 2, d)`` (source, target) and triangles
    ``(N, 3, d)`` (the three vertices in order). A sequence mixing classes,
    or holding anything else, raises ``TypeError``; an empty one
    ``ValueError`` (it has no shape to give). A memoryview or other buffer
    is read as the numpy array it holds.
    """
    items: object = seq
    if isinstance(seq, Buffer) and not isinstance(seq, np.ndarray):
        # a memoryview of objects or of several dimensions cannot be indexed
        # item by item; numpy reads any buffer it understands whole
        try:
            items = np.asarray(memoryview(seq))
        except (TypeError, ValueError, NotImplementedError) as error:
            raise TypeError(f"to_array: cannot read a {type(seq).__name__} as an array: {error}") from None
    return _native.to_array(items)


def points2(arr: npt.ArrayLike) -> list[Point2]:
    """A new ``Point2`` for every row of an ``(N, 2)`` array (one for a ``(2,)`` row)."""
    return _native.points2(arr)


def points3(arr: npt.ArrayLike) -> list[Point3]:
    """A new ``Point3`` for every row of an ``(N, 3)`` array (one for a ``(3,)`` row)."""
    return _native.points3(arr)


def vectors2(arr: npt.ArrayLike) -> list[Vector2]:
    """A new ``Vector2`` for every row of an ``(N, 2)`` array (one for a ``(2,)`` row)."""
    return _native.vectors2(arr)


def vectors3(arr: npt.ArrayLike) -> list[Vector3]:
    """A new ``Vector3`` for every row of an ``(N, 3)`` array (one for a ``(3,)`` row)."""
    return _native.vectors3(arr)


def weighted_points2(arr: npt.ArrayLike) -> list[WeightedPoint2]:
    """A new ``WeightedPoint2`` for every row ``x, y, weight`` of an ``(N, 3)`` array."""
    return _native.weighted_points2(arr)


def segments2(arr: npt.ArrayLike) -> list[Segment2]:
    """A new ``Segment2`` for every ``(source, target)`` of an ``(N, 2, 2)`` array."""
    return _native.segments2(arr)


def segments3(arr: npt.ArrayLike) -> list[Segment3]:
    """A new ``Segment3`` for every ``(source, target)`` of an ``(N, 2, 3)`` array."""
    return _native.segments3(arr)


def triangles2(arr: npt.ArrayLike) -> list[Triangle2]:
    """A new ``Triangle2`` for every three vertices of an ``(N, 3, 2)`` array."""
    return _native.triangles2(arr)


def triangles3(arr: npt.ArrayLike) -> list[Triangle3]:
    """A new ``Triangle3`` for every three vertices of an ``(N, 3, 3)`` array."""
    return _native.triangles3(arr)


# ---- predicates and measures over point tuples -------------------------------


@overload
def orientation(p: Points2Like, q: Points2Like, r: Points2Like) -> SignArray: ...
@overload
def orientation(p: Points3Like, q: Points3Like, r: Points3Like, s: Points3Like) -> SignArray: ...
def orientation(
    p: Points2Like | Points3Like,
    q: Points2Like | Points3Like,
    r: Points2Like | Points3Like,
    s: Points3Like | None = None,
) -> SignArray:
    """Orientation of point triples in the plane (or quadruples in space).

    With three arguments: 1 where ``p, q, r`` make a left turn, -1 for a right
    turn, 0 when collinear (the core's ``orientation``, as int8). With four
    3D arguments: the sign of the orientation of the tetrahedron
    ``p, q, r, s`` (1 positive, -1 negative, 0 coplanar).

    The double formula of the kernel: near-degenerate input can get a wrong
    sign; use :func:`zenolith.exact.orientation` where that matters.
    """
    if s is None:
        return _native.orientation2(p, q, r)
    return _native.orientation3(p, q, r, s)


def squared_distance(p: Points2Like | Points3Like, q: Points2Like | Points3Like) -> FloatArray:
    """Squared distances between the rows of ``p`` and ``q`` (2D or 3D).

    Each element is ``(p - q).squared_length()`` of the core's points: the
    differences, each square rounded on its own, added x first (in the plane
    the same number as the core's ``squared_distance(x1, y1, x2, y2)``).
    """
    return _native.point_pairs_squared_distance(p, q)


@overload
def bbox(points: Segments2 | Triangles2 | IsoRectangles2 | Bboxes2 | Circles2 | WeightedPoints2) -> Bbox2: ...
@overload
def bbox(points: Segments3 | Triangles3 | Tetrahedra3 | IsoCuboids3 | Bboxes3 | Spheres3) -> Bbox3: ...
@overload
def bbox(points: Points2Like | Points3Like) -> Bbox2 | Bbox3: ...
def bbox(points: Points2Like | Points3Like | ObjectArray[Any]) -> Bbox2 | Bbox3:
    """The bounding box of 2D points (a ``Bbox2``) or 3D points (a ``Bbox3``),
    or of the rows of an object array (:mod:`zenolith.objects`).

    The same box as adding up the points' own ``bbox()`` with ``+`` from the
    first point on, so NaN coordinates give what that sum gives. No points
    give the empty box ``Bbox2()`` / ``Bbox3()``. An object array gives
    ``points.bbox()``: the sum of its rows' own ``bbox()`` the same way
    (``TypeError`` for rays, lines and planes, which are unbounded).
    """
    objects = as_object_array(points)
    if objects is not None:
        return objects.bbox()
    return _native.bbox(points)


def lexicographic_order(points: Points2Like | Points3Like) -> IndexArray:
    """The permutation that sorts 2D or 3D points lexicographically (x, then y, then z).

    Exactly ``sorted(range(n), key=lambda i: pts[i])`` over the core's points
    ``pts``: ties keep their input order, and a point with a NaN coordinate
    compares as the core's ``<`` compares it. That order is not total with
    NaN, so the result is the one Python's own sort gives: the same
    comparisons are made in the same sequence.
    """
    return _native.lexicographic_order(points)


# ---- transformations ---------------------------------------------------------


#: The object arrays :func:`transform` moves.
_Movable = TypeVar("_Movable", Segments2, Triangles2, Rays2, IsoRectangles2)


@overload
def transform(t: AffTransformation2, points: _Movable) -> _Movable: ...
@overload
def transform(t: AffTransformation2, points: Points2Like) -> FloatArray: ...
def transform(
    t: AffTransformation2, points: Points2Like | Segments2 | Triangles2 | Rays2 | IsoRectangles2
) -> FloatArray | Segments2 | Triangles2 | Rays2 | IsoRectangles2:
    """The images of 2D points under ``t``, each as ``Point2.transform(t)`` gives it.

    ``points`` may also be a ``Segments2``, ``Triangles2``, ``Rays2`` or
    ``IsoRectangles2``: the result is a new object array of the same class
    whose row ``i`` is ``points[i].transform(t)`` bit for bit (every point
    of a row moved, as the kernel moves a ray's source and second point,
    though the core binds no ``Ray2.transform``; a rectangle's two corners
    first sorted as the core stores them, then moved, so its rows are the
    corners the core's transformed rectangle is built from). Another object
    array raises ``TypeError``.
    """
    _expect("transform", (AffTransformation2,), t)
    objects = as_object_array(points)  # a list of core segments, ... moves as their object array
    if objects is not None:
        if not isinstance(objects, (Segments2, Triangles2, Rays2, IsoRectangles2)):
            raise TypeError(
                "transform: expected 2D points or one of Segments2, Triangles2, Rays2, IsoRectangles2, "
                f"got {type(objects).__name__}"
            )
        rows = objects.array
        if isinstance(objects, IsoRectangles2):
            rows = _sorted_corners(rows)
        moved = _native.transform(t, rows.reshape(-1, 2)).reshape(rows.shape)
        return type(objects)(moved)
    return _native.transform(t, points)


def transform_vectors(t: AffTransformation2, vectors: Points2Like) -> FloatArray:
    """The images of 2D vectors under ``t``, each as ``Vector2.transform(t)`` gives it.

    Vectors move by the linear part of ``t`` only (a reflection's translation
    does not move them).
    """
    _expect("transform_vectors", (AffTransformation2,), t)
    return _native.transform_vectors(t, vectors)


# ---- one object against many points ------------------------------------------

def _expect(query: str, classes: tuple[type, ...], obj: object) -> None:
    """TypeError unless ``obj`` is an instance of one of ``classes``."""
    if not isinstance(obj, classes):
        names = ", ".join(c.__name__ for c in classes)
        raise TypeError(f"{query}: expected one of {names}, got {type(obj).__name__}")


def oriented_side(
    obj: Line2 | Circle2 | Triangle2 | Plane3 | Sphere3 | Tetrahedron3,
    points: Points2Like | Points3Like,
) -> SignArray:
    """``obj.oriented_side(p)`` for every point: 1 positive side, -1 negative, 0 on it.

    ``obj`` is a ``Line2``, ``Circle2`` or ``Triangle2`` (2D points), or a
    ``Plane3``, ``Sphere3`` or ``Tetrahedron3`` (3D points).
    """
    return _native.oriented_side(obj, points)


def bounded_side(
    obj: Circle2 | Triangle2 | IsoRectangle2 | Sphere3 | Tetrahedron3 | IsoCuboid3,
    points: Points2Like | Points3Like,
) -> SignArray:
    """``obj.bounded_side(p)`` for every point: 1 inside, -1 outside, 0 on the boundary.

    ``obj`` is a ``Circle2``, ``Triangle2`` or ``IsoRectangle2`` (2D points),
    or a ``Sphere3``, ``Tetrahedron3`` or ``IsoCuboid3`` (3D points).
    """
    return _native.bounded_side(obj, points)


def has_on(
    obj: Line2 | Segment2 | Ray2 | Line3 | Plane3 | Segment3 | Ray3 | Triangle3 | Sphere3 | Circle3,
    points: Points2Like | Points3Like,
) -> BoolArray:
    """``obj.has_on(p)`` for every point.

    ``obj`` is a ``Line2``, ``Segment2`` or ``Ray2`` (2D points), or a
    ``Line3``, ``Plane3``, ``Segment3``, ``Ray3``, ``Triangle3``, ``Sphere3``
    (its surface) or ``Circle3`` (3D points): the classes
    :func:`zenolith.exact.has_on` takes.
    """
    return _native.has_on(obj, points)


def projection(obj: Line2 | Line3 | Plane3, points: Points2Like | Points3Like) -> FloatArray:
    """``obj.projection(p)`` for every point, as coordinates (``(N, 2)`` or ``(N, 3)``)."""
    return _native.projection(obj, points)


def to_2d(plane: Plane3, points: Points3Like) -> FloatArray:
    """``plane.to_2d(p)`` for every 3D point: the plane's own 2D coordinates, ``(N, 2)``."""
    return _native.to_2d(plane, points)


def to_3d(plane: Plane3, points: Points2Like) -> FloatArray:
    """``plane.to_3d(p)`` for every 2D point of the plane's coordinates: ``(N, 3)``."""
    return _native.to_3d(plane, points)


__all__ = [
    "to_array",
    "points2",
    "points3",
    "vectors2",
    "vectors3",
    "segments2",
    "segments3",
    "triangles2",
    "triangles3",
    "weighted_points2",
    "orientation",
    "squared_distance",
    "transform",
    "transform_vectors",
    "oriented_side",
    "bounded_side",
    "has_on",
    "projection",
    "to_2d",
    "to_3d",
    "bbox",
    "lexicographic_order",
]
