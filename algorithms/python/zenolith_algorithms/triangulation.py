"""Triangulations: Delaunay in the plane and in space, constrained Delaunay
triangulations and polygons with holes, quality meshes, Voronoi diagrams and
exact point location.

Built on the geometry library's triangulations over its filtered
exact-predicate kernel: every decision (which side, inside a circle or not)
is exact, so the result is a valid triangulation on any finite input, grids,
cocircular and duplicate points included. Constructions (Voronoi vertices,
points where constraints cross, Steiner points of a refinement) are rounded
to doubles.

Arrays in, arrays out, in scipy.spatial's names and layouts where it has
the same thing: ``points``, ``simplices``, ``neighbors``, ``convex_hull``,
``vertex_to_simplex``, ``find_simplex``. What differs, and why:

- nothing is joggled and nothing is dropped: there is no ``coplanar`` list;
  exact duplicates are merged into one vertex, and ``duplicates`` maps every
  input point to the point representing it;
- input spanning fewer dimensions than the space (collinear points in the
  plane, coplanar ones in space) gives a lower-dimensional triangulation
  (``dimension`` says which) instead of an error;
- indices are ``numpy.intp`` (64-bit), not 32-bit.
"""

from __future__ import annotations

import math
import operator
from typing import TYPE_CHECKING, Any, ClassVar, Literal, Sequence, TypeAlias

import numpy as np
import numpy.typing as npt

import zenolith_core  # noqa: F401  (registers the core classes before the native module)

from . import _triangulation as _native
from ._arguments import points_argument

__all__ = [
    "Delaunay2",
    "Delaunay3",
    "ConstrainedDelaunay2",
    "Voronoi",
    "AlphaShape2",
    "AlphaShape3",
    "triangulate_polygon",
    "refine",
]

if TYPE_CHECKING:
    _IndexArray: TypeAlias = npt.NDArray[np.intp]
    _FloatArray: TypeAlias = npt.NDArray[np.float64]
    _BoolArray: TypeAlias = npt.NDArray[np.bool_]


def _frozen(a: np.ndarray[Any, Any]) -> Any:
    a.flags.writeable = False
    return a


def _answer(found: _IndexArray) -> _IndexArray | int:
    return int(found) if found.ndim == 0 else found


class _Triangulation:
    """What every triangulation has: its points and simplices as arrays,
    exact point location, pickling and drawing."""

    #: The dimension of the space (2 or 3).
    ndim: ClassVar[int]
    _native_class: ClassVar[Any]

    def __init__(self, points: npt.ArrayLike = ()) -> None:
        self._native: Any = self._new_native(points_argument(points, self.ndim))
        # how it was built, replayed on unpickling: ("insert", start, stop), ...
        self._recipe: list[tuple[Any, ...]] = [("insert", 0, len(self._native.duplicates()))]
        self._cache: dict[str, Any] = {}

    @classmethod
    def _new_native(cls, points: Any) -> Any:
        return cls._native_class(points)

    # ---- arrays ---------------------------------------------------------

    def _arrays(self) -> tuple[_IndexArray, _IndexArray, _IndexArray, _IndexArray]:
        if "arrays" not in self._cache:
            self._cache["arrays"] = tuple(_frozen(a) for a in self._native.arrays())
        return self._cache["arrays"]  # type: ignore[no-any-return]

    def _cached(self, name: str) -> Any:
        if name not in self._cache:
            self._cache[name] = _frozen(getattr(self._native, name)())
        return self._cache[name]

    @property
    def points(self) -> _FloatArray:
        """The points, float64 ``(N, ndim)``: the input in its order, then any
        the triangulation made itself (where constraints cross, Steiner points
        of a refinement). Read-only."""
        return self._cached("points")  # type: ignore[no-any-return]

    @property
    def npoints(self) -> int:
        """The number of points (``len(points)``)."""
        return len(self.points)

    @property
    def dimension(self) -> int:
        """The affine dimension the points span: -1 (no points), 0 (one
        distinct point), 1 (collinear), 2 (coplanar in space), or ``ndim``."""
        return int(self._native.dimension)

    @property
    def simplices(self) -> _IndexArray:
        """The simplices as point indices, ``(M, dimension + 1)``: triangles
        counter-clockwise in the plane, positively oriented tetrahedra in
        space; edges (or triangles in space) when the points span less.
        ``(0, ndim + 1)`` below dimension 1. Read-only."""
        return self._arrays()[0]

    @property
    def nsimplex(self) -> int:
        """The number of simplices."""
        return len(self.simplices)

    @property
    def neighbors(self) -> _IndexArray:
        """``neighbors[s, i]``: the simplex across from vertex ``i`` of
        simplex ``s``, -1 on the hull. Same shape as ``simplices``."""
        return self._arrays()[1]

    @property
    def vertex_to_simplex(self) -> _IndexArray:
        """For each point, a simplex it is a vertex of (-1 below dimension
        1)."""
        return self._arrays()[2]

    @property
    def convex_hull(self) -> _IndexArray:
        """The facets of the hull, ``(K, dimension)``: in the plane its edges
        in counter-clockwise order (each runs from a vertex to the next); in
        space its triangles, counter-clockwise seen from outside; for
        collinear points the two ends ``(2, 1)``."""
        return self._arrays()[3]

    @property
    def duplicates(self) -> _IndexArray:
        """For each point, the index of the point whose vertex represents it:
        itself, or the first of the equal points it duplicates. Simplices
        only use representatives; ``points[duplicates]`` equals
        ``points``."""
        return self._cached("duplicates")  # type: ignore[no-any-return]

    @property
    def edges(self) -> _IndexArray:
        """Every edge once, ``(E, 2)``, the smaller index first."""
        return self._cached("edges")  # type: ignore[no-any-return]

    # ---- queries --------------------------------------------------------

    def find_simplex(self, points: npt.ArrayLike) -> _IndexArray | int:
        """The simplex holding each point, -1 outside the triangulation (and
        off it when it spans less than the space). Exact: a point on an edge
        or a vertex gets one of the simplices it lies on. One point gives an
        int, an ``(N, ndim)`` array an array of N."""
        return _answer(self._native.find_simplex(points))

    def insert(self, points: npt.ArrayLike) -> None:
        """Add points (indices ``npoints``, ``npoints + 1``, ...); equal
        points share a vertex. The arrays read before stay as they were."""
        start = self.npoints
        self._native.insert(points_argument(points, self.ndim))
        self._cache.clear()
        self._recipe.append(("insert", start, self.npoints))

    # ---- pickling, printing, drawing -----------------------------------

    def __reduce__(self) -> tuple[Any, ...]:
        return (_rebuild, (type(self), np.array(self.points), self._recipe))

    def _replay(self, points: _FloatArray, recipe: list[tuple[Any, ...]]) -> None:
        for step in recipe[1:]:
            if step[0] == "insert":
                self._native.insert(points[step[1]:step[2]])
            else:
                self._step(step)
        self._recipe = list(recipe)
        self._cache.clear()

    def _step(self, step: tuple[Any, ...]) -> None:
        raise ValueError(f"cannot replay {step[0]!r} on a {type(self).__name__}")

    def __repr__(self) -> str:
        return (f"{type(self).__name__}({self.npoints} points, {self.nsimplex} simplices, "
                f"dimension {self.dimension})")

    def _drawing_segments_(self) -> _FloatArray:
        """The edges' ends, for :class:`zenolith.Drawing`."""
        return self.points[self.edges]

    def _repr_svg_(self) -> str:
        """A picture of the edges (spatial ones seen along z), for notebooks."""
        from zenolith import Drawing

        drawing = Drawing(title=repr(self))
        drawing.add(self, stroke="#1f77b4")
        return drawing.svg()


def _rebuild(cls: type[_Triangulation], points: _FloatArray, recipe: list[tuple[Any, ...]]) -> _Triangulation:
    start, stop = recipe[0][1], recipe[0][2]
    tri = cls.__new__(cls)
    tri._native = cls._new_native(points[start:stop])
    tri._cache = {}
    tri._replay(points, recipe)
    return tri


class _Delaunay(_Triangulation):
    def nearest_vertex(self, points: npt.ArrayLike) -> _IndexArray | int:
        """The index of a point nearest to each query point (one of them when
        several are equally near), -1 when there are no points."""
        return _answer(self._native.nearest_vertex(points))

    def voronoi(self) -> Voronoi:
        """The Voronoi diagram, the dual of this triangulation."""
        return Voronoi(self)

    def alpha_shape(self) -> _AlphaShape:
        """The alpha shapes of these points (:class:`AlphaShape2` or
        :class:`AlphaShape3`), point indices unchanged."""
        return (AlphaShape2 if self.ndim == 2 else AlphaShape3)(self.points)


class Delaunay2(_Delaunay):
    """The Delaunay triangulation of points in the plane.

    ``points``: an ``(N, 2)`` array-like of finite numbers (or a list of
    core ``Point2``). Built with the GIL released, inserting in spatial
    order; the no-point-inside-a-circumcircle property holds exactly.
    Raises ``ValueError`` naming the row of a NaN or an infinity, and for a
    wrong shape; ``TypeError`` for what is not numbers.
    """

    ndim = 2
    _native_class = _native.Delaunay2


class Delaunay3(_Delaunay):
    """The Delaunay triangulation of points in space: positively oriented
    tetrahedra, no point inside a circumsphere (exactly), never a flat
    tetrahedron. ``points``: an ``(N, 3)`` array-like; see :class:`Delaunay2`."""

    ndim = 3
    _native_class = _native.Delaunay3


class ConstrainedDelaunay2(_Triangulation):
    """A planar triangulation that contains given segments as edges and is
    Delaunay elsewhere.

    ``segments``: an ``(S, 2)`` integer array of point indices. Constraints
    may cross each other and pass through points: the crossing points
    become new points (appended to ``points``, rounded to doubles) and the
    constraints are split there. ``inside`` marks the triangles inside the
    constraints by the even-odd rule, so rings given as constraints bound a
    polygon with holes (see :func:`triangulate_polygon`).
    """

    ndim = 2
    _native_class = _native.ConstrainedDelaunay2

    @classmethod
    def _new_native(cls, points: Any) -> Any:
        return _native.ConstrainedDelaunay2(points, np.empty((0, 2), np.intp))

    def __init__(self, points: npt.ArrayLike = (), segments: npt.ArrayLike | None = None) -> None:
        super().__init__(points)
        if segments is not None:
            self.constrain(segments)

    def constrain(self, segments: npt.ArrayLike) -> None:
        """Add constraints: an ``(S, 2)`` integer array of point indices.
        Raises ``TypeError`` for non-integer input, ``ValueError`` naming
        the row of an index out of range, and ``ValueError`` when two
        constraints cross at a point beyond the doubles (the triangulation
        is then left as it was)."""
        ends = _segments_argument(segments, self.npoints)
        before = self.points
        try:
            self._native.constrain(ends)
        except BaseException as error:
            # the library may have stopped half-way (a crossing point beyond
            # the doubles raises): rebuild the triangulation as it was
            self._native = _rebuild(type(self), before, self._recipe)._native
            if isinstance(error, ValueError):
                raise ValueError(f"segments: two constraints cross at a point beyond the doubles ({error})") from None
            raise
        self._cache.clear()
        self._recipe.append(("constrain", ends))

    def _step(self, step: tuple[Any, ...]) -> None:
        if step[0] == "constrain":
            self._native.constrain(step[1])
        elif step[0] == "refine":
            self._native = self._native.refined(*step[1])
        else:
            super()._step(step)

    @property
    def constrained_edges(self) -> _IndexArray:
        """The constrained edges (split where constraints cross or pass
        through points), ``(C, 2)``, the smaller index first."""
        return self._cached("constrained_edges")  # type: ignore[no-any-return]

    def _domain(self) -> tuple[_BoolArray, _IndexArray]:
        if "domain" not in self._cache:
            self._cache["domain"] = tuple(_frozen(a) for a in self._native.domain())
        return self._cache["domain"]  # type: ignore[no-any-return]

    @property
    def is_constrained(self) -> _BoolArray:
        """``is_constrained[s, i]``: the edge across from vertex ``i`` of
        simplex ``s`` is a constraint. Same shape as ``simplices``."""
        return self._domain()[0]

    @property
    def nesting_levels(self) -> _IndexArray:
        """For each simplex, how many constraints a path from outside the
        triangulation must cross to reach it."""
        return self._domain()[1]

    @property
    def inside(self) -> _BoolArray:
        """The simplices inside the constraints by the even-odd rule (an odd
        nesting level): the inside of a polygon with holes."""
        return self.nesting_levels % 2 == 1  # type: ignore[no-any-return]

    @property
    def enclosed(self) -> _BoolArray:
        """The simplices separated from the outside by at least one
        constraint (holes included)."""
        return self.nesting_levels >= 1

    def __repr__(self) -> str:
        return (f"ConstrainedDelaunay2({self.npoints} points, {len(self.constrained_edges)} constrained edges, "
                f"{self.nsimplex} simplices)")


def _segments_argument(segments: npt.ArrayLike, n: int) -> _IndexArray:
    ends = np.asarray(segments)
    if ends.size == 0:
        return np.empty((0, 2), np.intp)
    if ends.dtype.kind not in "iu":
        raise TypeError(f"segments: expected integer point indices, got an array of dtype {ends.dtype}")
    if ends.ndim != 2 or ends.shape[1] != 2:
        raise ValueError(f"segments: expected an (S, 2) array of point indices, got an array of shape {ends.shape}")
    bad = np.flatnonzero(((ends < 0) | (ends >= n)).any(axis=1))
    if len(bad):
        row = int(bad[0])
        raise ValueError(f"segments[{row}]: indices {ends[row].tolist()} out of range for {n} points")
    return np.ascontiguousarray(ends, dtype=np.intp)


def _ring(ring: npt.ArrayLike, name: str) -> _FloatArray:
    xy = np.asarray(ring, dtype=np.float64)
    if xy.ndim != 2 or xy.shape[1] != 2 or len(xy) < 3:
        raise ValueError(f"{name}: expected a ring of at least 3 points, shape (N, 2), got shape {xy.shape}")
    if len(xy) > 3 and np.array_equal(xy[0], xy[-1]):
        xy = xy[:-1]  # a closed ring (GeoJSON style): its last point repeats the first
    return xy


def triangulate_polygon(exterior: npt.ArrayLike, holes: Sequence[npt.ArrayLike] = ()) -> ConstrainedDelaunay2:
    """The constrained Delaunay triangulation of a polygon with holes.

    ``exterior`` and each hole are rings of ``(N, 2)`` points in either
    orientation (a last point repeating the first is dropped). Their edges
    become constraints; ``inside`` of the result marks the triangles of the
    polygon (even-odd rule), and ``simplices[inside]`` triangulates it.
    Rings that cross are split where they cross, not refused.
    """
    rings = [_ring(exterior, "exterior")] + [_ring(h, f"holes[{k}]") for k, h in enumerate(holes)]
    points = np.concatenate(rings)
    segments, start = [], 0
    for ring in rings:
        k = np.arange(start, start + len(ring))
        segments.append(np.column_stack([k, np.roll(k, -1)]))
        start += len(ring)
    return ConstrainedDelaunay2(points, np.concatenate(segments))


_DOMAINS = {"inside": 0, "enclosed": 1, "convex_hull": 2}


def refine(cdt: ConstrainedDelaunay2, max_edge: float | None = None, min_angle: float = 20.7,
           domain: Literal["inside", "enclosed", "convex_hull"] = "inside",
           max_points: int = 1_000_000) -> ConstrainedDelaunay2:
    """A quality mesh of a constrained triangulation's domain, as a new
    :class:`ConstrainedDelaunay2` (``cdt`` is left as it was).

    Points are added (Delaunay refinement) until no triangle of the domain
    has an angle below ``min_angle`` degrees or, with ``max_edge``, an edge
    longer than that; constraints are split as needed and stay edges.
    ``domain``: the triangles ``inside`` the constraints (even-odd rule: a
    polygon with holes), those ``enclosed`` by them (holes included), or the
    whole ``convex_hull`` (whose edges then become constraints). The result's
    ``inside``/``enclosed`` mark the meshed triangles.

    Refinement is guaranteed to end for ``min_angle`` up to 20.7 degrees
    (the default) and nearly always does up to about 33; larger bounds are
    refused with ``ValueError``, as is a ``max_edge`` that would need more
    than :data:`MAX_TRIANGLES` triangles and coordinates beyond 1e150 in
    magnitude (their squared lengths overflow). A refinement that would add
    more than ``max_points`` points (a sliver of a domain can need
    billions), or stops adding any (where the doubles run out, near the
    underflow), ends with ``ValueError`` too. Angles of the input smaller than the bound
    stay, with small triangles around them. A long refinement is interrupted
    by Ctrl-C (``KeyboardInterrupt``).
    """
    if not isinstance(cdt, ConstrainedDelaunay2):
        raise TypeError(f"cdt: expected a ConstrainedDelaunay2, got {type(cdt).__name__}")
    if domain not in _DOMAINS:
        raise ValueError(f"domain: expected 'inside', 'enclosed' or 'convex_hull', got {domain!r}")
    angle = float(min_angle)
    if not 0.0 <= angle <= 34.0:
        raise ValueError(f"min_angle: expected degrees between 0 and 34, got {min_angle!r}")
    size = 0.0 if max_edge is None else float(max_edge)
    if not (math.isfinite(size) and (max_edge is None or size > 0.0)):
        raise ValueError(f"max_edge: expected a positive finite length or None, got {max_edge!r}")
    if len(cdt.points) and float(np.abs(cdt.points).max()) > 1e150:
        raise ValueError("cdt: coordinates beyond 1e150 in magnitude cannot be refined (squared lengths overflow)")
    if max_edge is not None:
        _check_mesh_size(cdt, size, domain)
    limit = operator.index(max_points)
    if limit < 0:
        raise ValueError(f"max_points: expected a count >= 0, got {max_points!r}")
    args = (math.sin(math.radians(angle)) ** 2, size, _DOMAINS[domain], limit)
    out = ConstrainedDelaunay2.__new__(ConstrainedDelaunay2)
    out._native = cdt._native.refined(*args)
    out._recipe = [*cdt._recipe, ("refine", args)]
    out._cache = {}
    return out


#: The most triangles a refinement may be asked for (about 13 GB of mesh).
MAX_TRIANGLES = 1 << 27


def _check_mesh_size(cdt: ConstrainedDelaunay2, max_edge: float, domain: str) -> None:
    """Refuses an edge bound that would need more than MAX_TRIANGLES
    triangles to cover the domain (each at most an equilateral one of side
    max_edge) instead of running out of memory."""
    if cdt.dimension < 2:
        return
    meshed = cdt.inside if domain == "inside" else cdt.enclosed if domain == "enclosed" else slice(None)
    a, b, c = (cdt.points[cdt.simplices[meshed][:, k]] for k in range(3))
    area = 0.5 * float(np.abs((b[:, 0] - a[:, 0]) * (c[:, 1] - a[:, 1]) - (b[:, 1] - a[:, 1]) * (c[:, 0] - a[:, 0])).sum())
    with np.errstate(all="ignore"):
        needed = area / (math.sqrt(3.0) / 4.0 * max_edge * max_edge) if max_edge > 1e-150 else math.inf
    if not needed <= MAX_TRIANGLES:
        raise ValueError(f"max_edge: {max_edge!r} would need about {needed:.3g} triangles to cover the domain "
                         f"(area {area:.6g}); at most {MAX_TRIANGLES} are made")


class Voronoi:
    """The Voronoi diagram of a Delaunay triangulation (its dual), also from
    :meth:`Delaunay2.voronoi` or :meth:`Delaunay3.voronoi`; without one, the
    empty planar diagram. Raises ``ValueError`` for points in space that
    span less than space.

    Voronoi vertex ``s`` is the circumcentre of simplex ``s`` (rounded to
    doubles). Each Voronoi edge separates the regions of the points of one
    Delaunay facet: ``edges[e]`` holds the indices of its two Voronoi
    vertices, the second -1 for a ray (both -1 for a line, between collinear
    points); ``directions[e]`` points along a ray away from its vertex (or
    along a line, which passes through the midpoint of its two
    ``edge_points``), NaN for a finite edge; ``edge_points[e]`` is the
    facet's points (two in the plane: scipy's ``ridge_points``, three in
    space). ``regions[i]`` are the Voronoi vertices of point i's region:
    counter-clockwise in the plane, ascending in space, with -1 last when
    the region is unbounded.
    """

    def __init__(self, triangulation: _Delaunay | None = None) -> None:
        if triangulation is None:
            triangulation = Delaunay2()
        if not isinstance(triangulation, _Delaunay):
            raise TypeError(f"triangulation: expected a Delaunay2 or Delaunay3, got {type(triangulation).__name__}")
        vertices, edges, directions, edge_points, region_offsets, region_vertices = triangulation._native.voronoi()
        #: The dimension of the space.
        self.ndim = triangulation.ndim
        #: The Voronoi vertices, ``(V, ndim)``: vertex s is simplex s's circumcentre.
        self.vertices: _FloatArray = _frozen(vertices)
        #: Each edge's two Voronoi vertices, ``(E, 2)``, -1 for an end at infinity.
        self.edges: _IndexArray = _frozen(edges)
        #: Along each ray or line, ``(E, ndim)``; NaN for finite edges.
        self.directions: _FloatArray = _frozen(directions)
        #: The points whose regions each edge separates, ``(E, ndim)``.
        self.edge_points: _IndexArray = _frozen(edge_points)
        #: ``region_vertices[region_offsets[i]:region_offsets[i + 1]]`` is ``regions[i]``.
        self.region_offsets: _IndexArray = _frozen(region_offsets)
        #: Every region's Voronoi vertices, one region after the other.
        self.region_vertices: _IndexArray = _frozen(region_vertices)

    @property
    def ridge_points(self) -> _IndexArray:
        """scipy's name for ``edge_points`` (in the plane)."""
        return self.edge_points

    @property
    def ridge_vertices(self) -> _IndexArray:
        """scipy's name for ``edges`` (in the plane)."""
        return self.edges

    @property
    def regions(self) -> list[_IndexArray]:
        """Each point's region as Voronoi vertex indices (-1 last when
        unbounded); duplicate points share their representative's."""
        return np.split(self.region_vertices, self.region_offsets[1:-1])

    @property
    def bounded(self) -> _BoolArray:
        """Which points have a bounded region."""
        last = self.region_offsets[1:] - 1
        empty = self.region_offsets[1:] == self.region_offsets[:-1]
        ends = self.region_vertices[np.maximum(last, 0)] if len(self.region_vertices) else np.full(len(last), -1)
        return ~empty & (ends >= 0)  # type: ignore[no-any-return]

    def region_polygon(self, i: int) -> _FloatArray:
        """The bounded region of point ``i`` in the plane as a
        counter-clockwise ``(k, 2)`` polygon. Raises ``ValueError`` when it
        is unbounded and ``IndexError`` for an index out of range (negative
        ones count from the end)."""
        if self.ndim != 2:
            raise ValueError("region_polygon: only planar Voronoi regions are polygons")
        n = len(self.region_offsets) - 1
        i = operator.index(i)
        if not -n <= i < n:
            raise IndexError(f"region_polygon: point {i} is out of range for {n} points")
        i %= n
        ring = self.region_vertices[self.region_offsets[i]:self.region_offsets[i + 1]]
        if len(ring) == 0 or ring[-1] < 0:
            raise ValueError(f"region_polygon: the region of point {i} is unbounded")
        return self.vertices[ring]

    def areas(self) -> _FloatArray:
        """The area of each point's region in the plane (shoelace formula on
        the rounded vertices); ``inf`` where it is unbounded."""
        if self.ndim != 2:
            raise ValueError("areas: only planar Voronoi regions have areas")
        out = np.full(len(self.region_offsets) - 1, np.inf)
        bounded = self.bounded
        if not bounded.any():
            return out
        starts, stops = self.region_offsets[:-1], self.region_offsets[1:]
        # each vertex of a region with the next one of the same region
        following = np.arange(1, len(self.region_vertices) + 1)
        following[stops[bounded] - 1] = starts[bounded]
        xy = self.vertices[np.maximum(self.region_vertices, 0)]
        nxt = xy[np.minimum(following, len(xy) - 1)]
        with np.errstate(over="ignore", invalid="ignore"):  # huge regions: inf, as computed
            cross = xy[:, 0] * nxt[:, 1] - nxt[:, 0] * xy[:, 1]
            nonempty = stops > starts  # consecutive starts: each sum ends where the next region begins
            sums = np.add.reduceat(cross, starts[nonempty])
        area = np.zeros(len(out))
        area[nonempty] = 0.5 * sums
        out[bounded] = area[bounded]
        return out

    def __repr__(self) -> str:
        return f"Voronoi({len(self.vertices)} vertices, {len(self.edges)} edges, {len(self.region_offsets) - 1} regions)"

    def _drawing_segments_(self) -> _FloatArray:
        """The finite edges' ends, for :class:`zenolith.Drawing`."""
        finite = self.edges[(self.edges >= 0).all(axis=1)]
        return self.vertices[finite]


class _AlphaShape:
    """The alpha shapes of a point set, for every alpha at once."""

    ndim: ClassVar[int]
    _native_class: ClassVar[Any]

    def __init__(self, points: npt.ArrayLike = ()) -> None:
        self._native: Any = self._native_class(points_argument(points, self.ndim))
        self._cache: dict[str, Any] = {}

    @property
    def points(self) -> _FloatArray:
        """The points, float64 ``(N, ndim)``. Read-only."""
        if "points" not in self._cache:
            self._cache["points"] = _frozen(self._native.points())
        return self._cache["points"]  # type: ignore[no-any-return]

    @property
    def duplicates(self) -> _IndexArray:
        """For each point, the point whose vertex represents it (see
        :attr:`Delaunay2.duplicates`)."""
        return _frozen(self._native.duplicates())  # type: ignore[no-any-return]

    @property
    def dimension(self) -> int:
        """The affine dimension the points span; below ``ndim`` every shape
        is empty."""
        return int(self._native.dimension)

    @property
    def spectrum(self) -> _FloatArray:
        """The alpha values at which the shape changes, ascending (squared
        radii, rounded to doubles)."""
        if "spectrum" not in self._cache:
            self._cache["spectrum"] = _frozen(self._native.spectrum())
        return self._cache["spectrum"]  # type: ignore[no-any-return]

    def optimal_alpha(self, components: int = 1) -> float:
        """The smallest alpha whose shape has at most ``components`` solid
        parts with every point on it or inside (``inf`` when none does)."""
        return float(self._native.optimal_alpha(components))

    def simplices(self, alpha: float) -> _IndexArray:
        """The simplices of the shape for ``alpha`` (a squared radius): the
        Delaunay triangles (tetrahedra) whose circumscribing circle (sphere)
        has a squared radius at most alpha, compared exactly, without
        dangling parts. Raises ``ValueError`` for a negative or non-finite
        alpha."""
        return self._native.at(alpha)[0]  # type: ignore[no-any-return]

    def boundary(self, alpha: float) -> _IndexArray:
        """The boundary of the shape for ``alpha``: in the plane its edges
        ``(K, 2)``, each with the shape on its left; in space its triangles
        ``(K, 3)``, counter-clockwise seen from outside."""
        return self._native.at(alpha)[1]  # type: ignore[no-any-return]

    def __reduce__(self) -> tuple[Any, ...]:
        return (type(self), (np.array(self.points),))

    def __repr__(self) -> str:
        return f"{type(self).__name__}({len(self.points)} points, {len(self.spectrum)} alpha values)"


class AlphaShape2(_AlphaShape):
    """The alpha shapes of points in the plane (regularized: no dangling
    edges or points), with exact comparisons of squared radii.

    ``points``: an ``(N, 2)`` array-like of finite numbers. Alpha is a
    squared radius: ``simplices(alpha)`` are the triangles of the shape,
    ``boundary(alpha)`` its edges; ``optimal_alpha()`` the smallest alpha
    giving one solid part holding every point.
    """

    ndim = 2
    _native_class = _native.AlphaShape2


class AlphaShape3(_AlphaShape):
    """The alpha shapes of points in space (regularized), with exact
    comparisons of squared radii; see :class:`AlphaShape2`. ``boundary`` gives
    outward-oriented triangles."""

    ndim = 3
    _native_class = _native.AlphaShape3
