"""Convex hulls and polygons: exact hulls in the plane and in space, simple
polygons with exact predicates over arrays, polygons with holes and their
Boolean operations, and GeoJSON-style interchange.

Every decision is exact (the geometry library's filtered exact predicates;
the Boolean operations run on exact constructions and round each output
coordinate once, to one of the two doubles around the exact value). Shapely users will find
``contains``, ``intersection``, ``union``, ``difference``,
``symmetric_difference`` and ``__geo_interface__`` where they expect them.
"""

from __future__ import annotations

from collections.abc import Iterable, Mapping, Sequence
from typing import TYPE_CHECKING, Any, NamedTuple, TypeAlias, Union

import numpy as np
import numpy.typing as npt

import zenolith_core as zc

from . import _polygons as _native
from ._arguments import points_argument

if TYPE_CHECKING:
    from zenolith import Segments2

    _IndexArray: TypeAlias = npt.NDArray[np.intp]
    _FloatArray: TypeAlias = npt.NDArray[np.float64]

__all__ = [
    "ConvexHull",
    "convex_hull",
    "Polygon2",
    "PolygonWithHoles2",
    "from_geo",
]


class ConvexHull(NamedTuple):
    """The convex hull of a point set, as indices of its points.

    ``vertices``: in the plane (or for coplanar points in space) the
    extreme points counter-clockwise, starting at the smallest index (for
    points in space, seen from the positive side of z, else y, else x); in
    space the extreme points in ascending order; the two ends for collinear
    points, the point for one. ``faces``: in space the triangles
    ``(F, 3)``, counter-clockwise seen from outside; in the plane the edges
    ``(H, 2)``, each from a vertex to the next. ``dimension``: the affine
    dimension the points span (-1 for none).
    """

    vertices: _IndexArray
    faces: _IndexArray
    dimension: int


def _dimension_of(points: Any) -> int:
    if isinstance(points, (list, tuple)) and points and isinstance(points[0], (zc.Point3, zc.Point2)):
        return 3 if isinstance(points[0], zc.Point3) else 2
    if isinstance(points, (zc.Point3, zc.Point2)):
        return 3 if isinstance(points, zc.Point3) else 2
    shape = np.shape(points)
    return 3 if shape and shape[-1] == 3 else 2


def convex_hull(points: npt.ArrayLike) -> ConvexHull:
    """The exact convex hull of ``(N, 2)`` or ``(N, 3)`` points (or a list
    of core points), correct on every finite input: collinear and coplanar
    points give the lower-dimensional hull, equal points count once (the
    smallest index stands for them). See :class:`ConvexHull`.

    Raises ``ValueError`` naming the row of a NaN or an infinity, or for a
    wrong shape; ``TypeError`` for what is not numbers.
    """
    points = points_argument(points, 2)
    if _dimension_of(points) == 3:
        vertices, faces, dimension = _native.convex_hull_3(points)
        if dimension == 2:
            faces = np.column_stack([vertices, np.roll(vertices, -1)]) if len(vertices) > 1 else faces
        return ConvexHull(vertices, faces, int(dimension))
    vertices, dimension = _native.convex_hull_2(points)
    edges = np.column_stack([vertices, np.roll(vertices, -1)]) if len(vertices) > 1 else np.empty((0, 2), np.intp)
    return ConvexHull(vertices, edges, int(dimension))


def _ring(vertices: Any, name: str) -> _FloatArray:
    """An (N, 2) finite float64 ring of at least 3 vertices; a last vertex
    repeating the first (a closed GeoJSON ring) is dropped."""
    if isinstance(vertices, Polygon2):
        return vertices.vertices
    if isinstance(vertices, (list, tuple)) and vertices and isinstance(vertices[0], zc.Point2):
        other = next((p for p in vertices if not isinstance(p, zc.Point2)), None)
        if other is not None:
            raise TypeError(f"{name}: expected a list of Point2, got one holding a {type(other).__name__}")
        vertices = [[p.x, p.y] for p in vertices]
    try:
        xy = np.array(vertices, dtype=np.float64)
    except (TypeError, ValueError) as e:
        raise TypeError(f"{name}: expected an (N, 2) array of vertex coordinates, got {type(vertices).__name__}") from e
    if xy.ndim != 2 or xy.shape[1] != 2:
        raise ValueError(f"{name}: expected an (N, 2) array of vertex coordinates, got shape {xy.shape}")
    bad = np.flatnonzero(~np.isfinite(xy).all(axis=1))
    if len(bad):
        raise ValueError(f"{name}[{bad[0]}]: expected finite coordinates, got a NaN or an infinity")
    if len(xy) > 1 and np.array_equal(xy[0], xy[-1]):
        xy = xy[:-1]
    if len(xy) < 3:
        raise ValueError(f"{name}: a polygon needs at least 3 vertices, got {len(xy)}")
    xy.flags.writeable = False
    return xy


class Polygon2:
    """A polygon given by its vertices in order, an ``(N, 2)`` array-like
    (or a list of core ``Point2``) of at least 3 finite vertices; a last
    vertex repeating the first is dropped. It need not be simple: ``is_simple``
    says whether it is, and what needs a simple polygon (``orientation``,
    the Boolean operations) refuses it with ``ValueError``.

    ``bounded_side``, ``contains`` and ``squared_distance`` take arrays of
    points and run over them with the GIL released; point location is
    exact (a point on an edge is on the boundary, decided exactly) and uses
    a structure built on first use and kept with the polygon.
    """

    def __init__(self, vertices: npt.ArrayLike | Sequence[zc.Point2]) -> None:
        self._vertices = _ring(vertices, "vertices")
        self._locator: Any = None

    @property
    def vertices(self) -> _FloatArray:
        """The vertices, float64 ``(N, 2)``, read-only."""
        return self._vertices

    def __len__(self) -> int:
        """The number of vertices."""
        return len(self._vertices)

    @property
    def area(self) -> float:
        """The signed area: positive counter-clockwise. Computed exactly and
        rounded once, so its sign is exact (for a polygon that is not
        simple, the signed sum of its loops)."""
        return float(_native.area(self._vertices))

    @property
    def is_simple(self) -> bool:
        """No two edges meet except neighbours at their common vertex (and
        no vertex repeats). Exact."""
        return bool(_native.is_simple(self._vertices))

    @property
    def is_convex(self) -> bool:
        """Whether the polygon is convex. Exact."""
        return bool(_native.is_convex(self._vertices))

    @property
    def orientation(self) -> int:
        """1 counter-clockwise, -1 clockwise (exact). Raises ``ValueError``
        for a polygon that is not simple."""
        self._require_simple("orientation")
        return int(_native.orientation(self._vertices))

    def _require_simple(self, what: str) -> None:
        if not self.is_simple:
            raise ValueError(f"{what}: the polygon is not simple ({_why_not_simple(self._vertices)})")

    def bbox(self) -> zc.Bbox2:
        """The bounding box of the vertices."""
        lo, hi = self._vertices.min(axis=0), self._vertices.max(axis=0)
        return zc.Bbox2(float(lo[0]), float(lo[1]), float(hi[0]), float(hi[1]))

    def reversed(self) -> Polygon2:
        """The same polygon with its vertices in the opposite order."""
        return Polygon2(self._vertices[::-1])

    def bounded_side(self, points: npt.ArrayLike) -> npt.NDArray[np.int8] | int:
        """For each point: 1 inside, 0 on the boundary, -1 outside (the
        even-odd rule for a polygon that is not simple). Exact. One point
        gives an int."""
        if self._locator is None:
            self._locator = _native.Locator(self._vertices)
        sides = self._locator.bounded_side(points)
        return int(sides) if sides.ndim == 0 else sides

    def contains(self, points: npt.ArrayLike, boundary: bool = True) -> npt.NDArray[np.bool_] | bool:
        """Whether each point lies in the polygon; points on its boundary
        count unless ``boundary=False`` (shapely's ``contains_xy`` leaves
        them out). Exact."""
        sides = np.asarray(self.bounded_side(points))
        inside = sides >= 0 if boundary else sides > 0
        return bool(inside) if inside.ndim == 0 else inside

    def squared_distance(self, points: npt.ArrayLike) -> _FloatArray | float:
        """The squared distance from each point to the polygon's boundary
        (the kernel's point-segment formula in doubles)."""
        d = _native.squared_distance(self._vertices, points)
        return float(d) if d.ndim == 0 else d

    @property
    def edges(self) -> Segments2:
        """The edges as a ``zenolith.Segments2`` array, edge i from vertex i
        to vertex i + 1 (the last back to the first)."""
        from zenolith import Segments2

        return Segments2(np.stack([self._vertices, np.roll(self._vertices, -1, axis=0)], axis=1))

    @property
    def __geo_interface__(self) -> dict[str, Any]:
        """GeoJSON: a Polygon whose ring is closed (the first vertex
        repeated), in the polygon's own orientation."""
        return {"type": "Polygon", "coordinates": [_closed(self._vertices)]}

    def __reduce__(self) -> tuple[Any, ...]:
        return (Polygon2, (np.array(self._vertices),))

    def __eq__(self, other: object) -> bool:
        """Same vertices in the same order from the same start."""
        if not isinstance(other, Polygon2):
            return NotImplemented
        return bool(np.array_equal(self._vertices, other._vertices))

    __hash__ = None  # type: ignore[assignment]

    def __repr__(self) -> str:
        return f"Polygon2({len(self)} vertices)"

    def _drawing_segments_(self) -> _FloatArray:
        """The edges' ends, for ``zenolith.Drawing``."""
        return np.stack([self._vertices, np.roll(self._vertices, -1, axis=0)], axis=1)

    def _repr_svg_(self) -> str:
        """A picture of the polygon, for notebooks."""
        return _picture(self)

    # the Boolean operations, with a polygon with holes of this one
    def intersection(self, other: PolygonLike) -> list[PolygonWithHoles2]:
        """The parts common to both (see :meth:`PolygonWithHoles2.intersection`)."""
        return PolygonWithHoles2(self).intersection(other)

    def union(self, other: PolygonLike) -> list[PolygonWithHoles2]:
        """The union (see :meth:`PolygonWithHoles2.union`)."""
        return PolygonWithHoles2(self).union(other)

    def difference(self, other: PolygonLike) -> list[PolygonWithHoles2]:
        """This polygon without the other (see :meth:`PolygonWithHoles2.difference`)."""
        return PolygonWithHoles2(self).difference(other)

    def symmetric_difference(self, other: PolygonLike) -> list[PolygonWithHoles2]:
        """What lies in exactly one (see :meth:`PolygonWithHoles2.symmetric_difference`)."""
        return PolygonWithHoles2(self).symmetric_difference(other)

    def minkowski_sum(self, other: PolygonLike) -> PolygonWithHoles2:
        """The Minkowski sum (see :meth:`PolygonWithHoles2.minkowski_sum`)."""
        return PolygonWithHoles2(self).minkowski_sum(other)


def _closed(xy: _FloatArray) -> list[list[float]]:
    ring: list[list[float]] = xy.tolist()
    return ring + ring[:1]


def _why_not_simple(xy: _FloatArray) -> str:
    """What makes a ring not simple, for messages."""
    _, first, counts = np.unique(xy, axis=0, return_index=True, return_counts=True)
    if (counts > 1).any():
        k = int(first[np.flatnonzero(counts > 1)[0]])
        return f"vertex {k} at {xy[k].tolist()} repeats"
    return "two of its edges cross or touch"


def _picture(obj: Any) -> str:
    from zenolith import Drawing

    return Drawing(title=repr(obj)).add(obj, stroke="#1f77b4").svg()


#: The largest coordinate magnitude the Boolean operations and Minkowski
#: sums take: beyond it the interval filters of the library's exact
#: constructions overflow, which its arrangement code does not survive.
EXACT_REACH = 1e50


class PolygonWithHoles2:
    """A simple polygon with simple holes inside it, for the Boolean
    operations. ``exterior`` and each hole: a :class:`Polygon2` or an
    ``(N, 2)`` array-like.

    The rings are checked: a ring that is not simple (a bow tie, a repeated
    vertex) is refused with ``ValueError`` naming it and the problem. A
    clockwise exterior or a counter-clockwise hole is accepted and stored
    reoriented (exterior counter-clockwise, holes clockwise). Holes that
    leave the exterior or overlap each other are refused by the Boolean
    operations, which check the whole shape.
    """

    _exterior: Polygon2
    _holes: list[Polygon2]

    def __init__(self, exterior: PolygonLike, holes: Iterable[Polygon2 | npt.ArrayLike] = ()) -> None:
        if isinstance(exterior, PolygonWithHoles2):
            self._exterior, self._holes = exterior._exterior, list(exterior._holes)
            return
        outer = Polygon2(_ring(exterior, "exterior"))
        if not outer.is_simple:
            raise ValueError(f"exterior: the ring is not simple ({_why_not_simple(outer.vertices)})")
        self._exterior = outer if outer.orientation > 0 else outer.reversed()
        self._holes = []
        for k, hole in enumerate(holes):
            ring = Polygon2(_ring(hole, f"holes[{k}]"))
            if not ring.is_simple:
                raise ValueError(f"holes[{k}]: the ring is not simple ({_why_not_simple(ring.vertices)})")
            self._holes.append(ring if ring.orientation < 0 else ring.reversed())

    @property
    def exterior(self) -> Polygon2:
        """The outer ring, counter-clockwise."""
        return self._exterior

    @property
    def holes(self) -> list[Polygon2]:
        """The holes, each clockwise."""
        return list(self._holes)

    @property
    def area(self) -> float:
        """The area: the exterior's less the holes' (each exact-signed,
        rounded)."""
        return self._exterior.area + sum(h.area for h in self._holes)

    def bbox(self) -> zc.Bbox2:
        """The bounding box of the exterior."""
        return self._exterior.bbox()

    def bounded_side(self, points: npt.ArrayLike) -> npt.NDArray[np.int8] | int:
        """For each point: 1 inside, 0 on the exterior or a hole's boundary,
        -1 outside or inside a hole. Exact."""
        sides = np.asarray(self._exterior.bounded_side(points)).copy()
        for hole in self._holes:
            in_hole = np.asarray(hole.bounded_side(points))
            sides = np.where(sides < 0, sides, np.where(in_hole > 0, -1, np.where(in_hole == 0, 0, sides)))
        sides = sides.astype(np.int8)
        return int(sides) if sides.ndim == 0 else sides

    def contains(self, points: npt.ArrayLike, boundary: bool = True) -> npt.NDArray[np.bool_] | bool:
        """Whether each point lies in the shape (boundary included unless
        ``boundary=False``). Exact."""
        sides = np.asarray(self.bounded_side(points))
        inside = sides >= 0 if boundary else sides > 0
        return bool(inside) if inside.ndim == 0 else inside

    def _rings(self) -> tuple[_FloatArray, list[_FloatArray]]:
        return (np.ascontiguousarray(self._exterior.vertices),
                [np.ascontiguousarray(h.vertices) for h in self._holes])

    def _exact_operand(self, other: PolygonLike, what: str) -> PolygonWithHoles2:
        """The other operand of an exact construction, both within the
        magnitude the library's exact constructions handle."""
        second = other if isinstance(other, PolygonWithHoles2) else PolygonWithHoles2(other)
        reach = max(float(np.abs(self._exterior.vertices).max()), float(np.abs(second._exterior.vertices).max()))
        if not reach <= EXACT_REACH:
            raise ValueError(f"{what}: a coordinate of magnitude {reach:.3g} is beyond {EXACT_REACH:g}, where the "
                             "exact constructions' floating-point filters overflow")
        return second

    def _boolean(self, operation: str, other: PolygonLike) -> list[PolygonWithHoles2]:
        second = self._exact_operand(other, operation)
        return [_from_checked(outer, holes) for outer, holes in _native.boolean(operation, self._rings(), second._rings())]

    def intersection(self, other: PolygonLike) -> list[PolygonWithHoles2]:
        """The parts common to both, as polygons with holes (exact; the
        output coordinates rounded once). Raises ``ValueError`` when a hole
        of either leaves its exterior or overlaps another, and for
        coordinates beyond :data:`EXACT_REACH` in magnitude."""
        return self._boolean("intersection", other)

    def union(self, other: PolygonLike) -> list[PolygonWithHoles2]:
        """The union: one polygon with holes where they overlap or touch,
        else both. Exact, rounded once; ``ValueError`` as for
        :meth:`intersection`."""
        return self._boolean("union", other)

    def difference(self, other: PolygonLike) -> list[PolygonWithHoles2]:
        """This shape without the other. Exact, rounded once; ``ValueError``
        as for :meth:`intersection`."""
        return self._boolean("difference", other)

    def symmetric_difference(self, other: PolygonLike) -> list[PolygonWithHoles2]:
        """What lies in exactly one of the two. Exact, rounded once;
        ``ValueError`` as for :meth:`intersection`."""
        return self._boolean("symmetric_difference", other)

    def minkowski_sum(self, other: PolygonLike) -> PolygonWithHoles2:
        """The Minkowski sum {a + b : a in this shape, b in the other}, holes
        and all (the library's reduced convolution over exact constructions,
        rounded once); with a small convex polygon centred on the origin, an
        outward offset with corners of that shape. ``ValueError`` as for
        :meth:`intersection`."""
        second = self._exact_operand(other, "minkowski_sum")
        ((outer, holes),) = _native.minkowski_sum(self._rings(), second._rings())
        return _from_checked(outer, holes)

    @property
    def __geo_interface__(self) -> dict[str, Any]:
        """GeoJSON: a Polygon with closed rings, exterior counter-clockwise
        and holes clockwise (the right-hand rule of RFC 7946)."""
        return {"type": "Polygon",
                "coordinates": [_closed(self._exterior.vertices)] + [_closed(h.vertices) for h in self._holes]}

    def __reduce__(self) -> tuple[Any, ...]:
        return (PolygonWithHoles2, (self._exterior, self._holes))

    def __eq__(self, other: object) -> bool:
        """Equal rings in the same order."""
        if not isinstance(other, PolygonWithHoles2):
            return NotImplemented
        return self._exterior == other._exterior and self._holes == other._holes

    __hash__ = None  # type: ignore[assignment]

    def __repr__(self) -> str:
        return f"PolygonWithHoles2({len(self._exterior)} vertices, {len(self._holes)} holes)"

    def _drawing_segments_(self) -> _FloatArray:
        """Every ring's edges, for ``zenolith.Drawing``."""
        return np.concatenate([r._drawing_segments_() for r in [self._exterior, *self._holes]])

    def _repr_svg_(self) -> str:
        """A picture of the shape, for notebooks."""
        return _picture(self)


def _from_checked(exterior: _FloatArray, holes: list[_FloatArray]) -> PolygonWithHoles2:
    """A result of the library: its rings are simple and oriented (exactly;
    rounding each coordinate once is not checked again)."""
    shape = PolygonWithHoles2.__new__(PolygonWithHoles2)
    shape._exterior = _trusted(exterior)
    shape._holes = [_trusted(h) for h in holes]
    return shape


def _trusted(ring: _FloatArray) -> Polygon2:
    """A Polygon2 over a fresh finite (N, 2) float64 array of the library,
    without the checks of its constructor (a result can have a thousand)."""
    polygon = Polygon2.__new__(Polygon2)
    ring.flags.writeable = False
    polygon._vertices = ring
    polygon._locator = None
    return polygon


#: What the Boolean operations take: a polygon, a polygon with holes, an
#: (N, 2) vertex array, or anything with ``__geo_interface__``.
PolygonLike: TypeAlias = Union[Polygon2, PolygonWithHoles2, npt.ArrayLike]


def _polygon_part(rings: Any) -> tuple[Any, list[Any]]:
    if not isinstance(rings, Sequence) or len(rings) < 1:
        raise ValueError("a GeoJSON polygon needs at least its exterior ring")
    return rings[0], list(rings[1:])


def from_geo(obj: Any) -> PolygonWithHoles2 | list[PolygonWithHoles2]:
    """A polygon from GeoJSON: an object with ``__geo_interface__`` (a
    shapely geometry, for one) or a GeoJSON-like mapping. A ``Polygon``
    gives a :class:`PolygonWithHoles2`, a ``MultiPolygon`` a list of them.
    Raises ``ValueError`` for other geometry types and for rings the
    polygon classes refuse."""
    geo = getattr(obj, "__geo_interface__", obj)
    if not isinstance(geo, Mapping):
        raise TypeError(f"expected an object with __geo_interface__ or a GeoJSON mapping, got {type(obj).__name__}")
    kind = geo.get("type")
    coordinates = geo.get("coordinates")
    if kind == "Polygon" and isinstance(coordinates, Sequence) and len(coordinates) >= 1:
        return PolygonWithHoles2(coordinates[0], list(coordinates[1:]))
    if kind == "MultiPolygon" and isinstance(coordinates, Sequence):
        return [PolygonWithHoles2(_polygon_part(part)[0], _polygon_part(part)[1]) for part in coordinates]
    raise ValueError(f"expected a GeoJSON Polygon or MultiPolygon with coordinates, got type {kind!r}")

