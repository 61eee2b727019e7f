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

import enum
import operator
from collections.abc import Iterator, Sequence
from typing import Any, Union, overload

import numpy as np

import numpy.typing as npt
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
from .objects import ObjectArray, as_object_array
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

# The three pair operations are the native functions themselves: they
# dispatch on the argument classes in one table lookup (their overloads are
# in the module's stub, their documentation in their docstrings).
do_intersect = _intersections.do_intersect
intersection = _intersections.intersection
squared_distance = _intersections.squared_distance


class IntersectionKind(enum.IntEnum):
    """What one row's intersection is, in :attr:`RowIntersections.kinds`."""

    NONE = 0  #: the two do not meet
    POINT = 1
    SEGMENT = 2
    RAY = 3
    LINE = 4
    TRIANGLE = 5
    POLYGON = 6  #: a list of points, the corners in order
    PLANE = 7
    CIRCLE = 8
    SPHERE = 9
    BOX = 10  #: an IsoRectangle2, IsoCuboid3, Bbox2 or Bbox3


class RowIntersections:
    """The intersections of many pairs, row by row (what :func:`intersection`
    returns when either argument holds many objects).

    * ``points``: ``(N, d)`` float64, the intersection point of each row
      whose result is a point, NaN elsewhere;
    * ``kinds``: ``(N,)`` int8, an :class:`IntersectionKind` per row;
    * ``others``: ``{row: result}`` for the rows whose result is neither
      nothing nor a point (a segment, a polygon as a list of points, ...).

    ``result[i]`` is row ``i``'s result as :func:`intersection` gives it for
    the two objects of that row (``None``, a core point, or the object of
    ``others``); iterating yields them all.
    """

    __slots__ = ("points", "kinds", "others")

    def __init__(self, points: npt.ArrayLike | None = None, kinds: npt.ArrayLike | None = None,
                 others: dict[int, Intersection] | None = None) -> None:
        """Holds the three parts as given (a single row as one row of one;
        no arguments: no rows).

        Raises ``ValueError`` when ``kinds`` is not one integer code per row
        of ``points`` (``(N, 2)`` or ``(N, 3)``), ``TypeError`` when
        ``others`` is not a dict holding a result for every row whose kind
        is neither none nor point.
        """
        codes = np.atleast_1d(np.asarray(np.zeros(0, np.int8) if kinds is None else kinds))
        if codes.size == 0:
            codes = codes.astype(np.int8)
        rows = np.asarray(np.zeros((0, 2)) if points is None else points, dtype=np.float64)
        if rows.ndim == 1:
            rows = rows[None]
        others = {} if others is None else others
        if codes.ndim != 1 or codes.dtype.kind not in "iu" or (
                len(codes) and not (codes.min() >= 0 and codes.max() <= max(IntersectionKind))):
            raise ValueError("RowIntersections: kinds must be one IntersectionKind code per row")
        if rows.ndim != 2 or rows.shape[1] not in (2, 3) or len(rows) != len(codes):
            raise ValueError(f"RowIntersections: expected points of shape ({len(codes)}, 2 or 3), got {rows.shape}")
        if not isinstance(others, dict) or len(others) != np.count_nonzero(codes > IntersectionKind.POINT) or not all(
                isinstance(i, int) and 0 <= i < len(codes) and codes[i] > IntersectionKind.POINT for i in others):
            raise TypeError("RowIntersections: others must be a dict holding the result of every row "
                            "that is neither none nor a point, and of those rows only")
        self.points: FloatArray = rows
        self.kinds: npt.NDArray[np.int8] = codes.astype(np.int8)
        self.others: dict[int, Intersection] = others

    def __len__(self) -> int:
        return len(self.kinds)

    def __getitem__(self, i: int) -> Intersection:
        """Row ``i``'s result (negative ``i`` counts from the end).

        Raises ``IndexError`` beyond the rows, ``TypeError`` for an index
        that is not an integer.
        """
        kind = int(self.kinds[i])
        if kind == IntersectionKind.NONE:
            return None
        if kind == IntersectionKind.POINT:
            row = self.points[i]
            return Point2(float(row[0]), float(row[1])) if len(row) == 2 else Point3(
                float(row[0]), float(row[1]), float(row[2]))
        return self.others[operator.index(i) % len(self)]

    def __iter__(self) -> Iterator[Intersection]:
        return (self[i] for i in range(len(self)))

    @property
    def hits(self) -> BoolArray:
        """One bool per row: whether the row's two objects meet."""
        hits: BoolArray = self.kinds != IntersectionKind.NONE
        return hits

    def __repr__(self) -> str:
        counts = np.bincount(self.kinds.ravel().astype(np.intp), minlength=len(IntersectionKind))
        parts = ", ".join(f"{k.name.lower()}: {counts[k]}" for k in IntersectionKind if counts[k])
        return f"RowIntersections({len(self)} rows; {parts or 'none'})"

    def __reduce__(self) -> tuple[type[RowIntersections], tuple[FloatArray, npt.NDArray[np.int8], dict[int, Intersection]]]:
        return (RowIntersections, (self.points, self.kinds, self.others))


@overload
def closest_point(obj: Line2 | Segment2 | Ray2 | Triangle2, p: Point2) -> Point2: ...
@overload
def closest_point(obj: Line3 | Segment3 | Ray3 | Plane3 | Triangle3, p: Point3) -> Point3: ...
@overload
def closest_point(obj: Projectable | ObjectArray[Any] | Sequence[Projectable], p: PointArray) -> FloatArray: ...
def closest_point(
    obj: Projectable | ObjectArray[Any] | Sequence[Projectable], p: Point2 | Point3 | PointArray
) -> Point2 | Point3 | FloatArray:
    """The point of ``obj`` nearest to ``p``.

    ``obj`` is a line, segment, ray or triangle (planar or spatial) or a
    plane, or many of them (a typed object array such as
    ``zenolith.Segments3``, or a list of core objects), row by row against
    as many points or one. For one object and a core point ``p`` the result
    is a core point; otherwise an array holding one nearest point per row.
    In space and onto a ``Line2`` this is the kernel's projection; onto a
    planar segment, ray or triangle it is the point of the supporting line
    clamped to the object (the point itself inside a triangle).
    """
    rows: FloatArray = _intersections.closest_point_points(obj, p)
    if rows.ndim == 1 and isinstance(p, Point2):
        return Point2(float(rows[0]), float(rows[1]))
    if rows.ndim == 1 and isinstance(p, Point3):
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


__all__ = [
    "do_intersect",
    "intersection",
    "squared_distance",
    "closest_point",
    "supported_pairs",
    "all_pairs",
    "IntersectionKind",
    "RowIntersections",
]


# ---- every intersecting pair of two sets --------------------------------------

#: Index pairs ``(i, j)``, one per row of a ``(K, 2)`` array.
IndexPairs = npt.NDArray[np.int64]


def _object_array(x: object, name: str) -> ObjectArray[Any]:
    """``x`` as a typed object array: as it is, or built from a list of core
    objects of one class."""
    objects = as_object_array(x)
    if objects is None:
        raise TypeError(
            f"{name}: expected a typed object array (zenolith.Segments2, zenolith.Triangles3, ...) "
            f"or a non-empty list of core objects of one class, got {type(x).__name__}")
    return objects


def _bounds(x: ObjectArray[Any], name: str) -> tuple[FloatArray, FloatArray]:
    """Lower and upper corners ``(N, d)`` of boxes that hold each row's
    object (unbounded where the object is); non-finite rows are refused."""
    a = x.array
    if not np.isfinite(a).all():
        finite = np.isfinite(a.reshape(len(a), -1)).all(axis=1)
        raise ValueError(f"{name}[{int(np.argmin(finite))}]: expected finite coordinates, got a NaN or an infinity")
    cls = type(x).item_class
    inf = np.inf
    if cls in (Circle2, Sphere3):
        radius = np.sqrt(np.maximum(a[:, -1], 0.0))  # widened below by the rounding of the root
        radius = np.nextafter(radius + np.spacing(radius), inf)[:, None]
        center = a[:, :-1]
        return np.nextafter(center - radius, -inf), np.nextafter(center + radius, inf)
    if cls in (Ray2, Ray3):  # unbounded in the direction the second point goes
        source, second = a[:, 0], a[:, 1]
        return np.where(second < source, -inf, source), np.where(second > source, inf, source)
    if cls in (Line2, Line3):
        p, q = a[:, 0], a[:, 1]
        return np.where(p != q, -inf, p), np.where(p != q, inf, p)
    if cls is Plane3:
        return np.full((len(a), 3), -inf), np.full((len(a), 3), inf)
    if a.ndim == 2:  # weighted points: where their point is
        return a[:, :2], a[:, :2]
    lo, hi = a[:, 0], a[:, 0]  # the corners' (or vertices') extremes, one vertex at a time
    for k in range(1, a.shape[1]):  # (numpy's reductions over a short axis are slow)
        lo, hi = np.minimum(lo, a[:, k]), np.maximum(hi, a[:, k])
    return lo, hi


def all_pairs(a: ObjectArray[Any] | Sequence[GeometricObject], b: ObjectArray[Any] | Sequence[GeometricObject] | None = None,
              predicate: str = "do_intersect") -> IndexPairs:
    """Every pair ``(i, j)`` of an object of ``a`` and an object of ``b``
    that intersect, as a ``(K, 2)`` int64 array sorted by ``i``, then ``j``.

    ``a`` and ``b`` are typed object arrays (``zenolith.Segments2``,
    ``zenolith.Triangles3``, ...) or lists of core objects of one class;
    without ``b``, the pairs ``i < j`` within ``a``. The objects' boxes are
    sorted and swept along x to find the pairs whose boxes overlap, and each
    such pair is then decided exactly by :func:`do_intersect`
    (``predicate="do_intersect"``); ``predicate="boxes"`` returns the
    overlapping boxes' pairs without deciding (circles and spheres get a box
    a rounding wider than theirs, rays, lines and planes an unbounded one).

    >>> import numpy as np, zenolith
    >>> a = zenolith.Segments2(np.array([[[0, 0], [2, 2]], [[5, 5], [6, 6]]]))
    >>> b = zenolith.Segments2(np.array([[[0, 2], [2, 0]]]))
    >>> zenolith.all_pairs(a, b).tolist()
    [[0, 0]]

    Raises ``ValueError`` for a non-finite row (naming it) or an unknown
    ``predicate``, ``TypeError`` for a pair :func:`do_intersect` does not
    take.
    """
    if predicate not in ("do_intersect", "boxes"):
        raise ValueError(f"all_pairs: predicate must be 'do_intersect' or 'boxes', got {predicate!r}")
    first = _object_array(a, "a")
    second = first if b is None else _object_array(b, "b")
    if predicate == "do_intersect" and (first.item_class, second.item_class) not in _DECIDED:
        raise TypeError(
            f"all_pairs: do_intersect does not support the pair ({first.item_class.__name__}, "
            f"{second.item_class.__name__}); zenolith.supported_pairs('do_intersect') lists the supported pairs")
    lo_a, hi_a = _bounds(first, "a")
    if b is None:
        pairs: IndexPairs = _native.box_pairs(lo_a, hi_a)
    else:
        lo_b, hi_b = _bounds(second, "b")
        if lo_a.shape[1] != lo_b.shape[1]:
            raise TypeError(f"all_pairs: a holds {lo_a.shape[1]}D objects and b {lo_b.shape[1]}D ones")
        pairs = _native.box_pairs(lo_a, hi_a, lo_b, hi_b)
    if predicate == "boxes" or len(pairs) == 0:
        return pairs
    meet: BoolArray = do_intersect(first[pairs[:, 0]], second[pairs[:, 1]])
    kept: IndexPairs = pairs[meet]
    return kept


_DECIDED = frozenset(
    pair for a, b in _intersections._testing.supported()["do_intersect"] for pair in ((a, b), (b, a)))
