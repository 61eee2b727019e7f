"""Triangle meshes: ray casting, closest points, inside tests, intersecting
faces and measures, over the geometry library's AABB tree.

A :class:`TriangleMesh` holds float64 vertices ``(V, 3)`` and int64 faces
``(F, 3)``, copied and checked once and read-only afterwards, so the search
tree built from them on first use always answers for the arrays it shows.
Every hit or miss, every inside test and every intersection test is decided
exactly (the library's filtered exact predicates): a ray through a vertex
or along an edge hits, a point on a face is on the boundary. Hit points,
closest points and distances are constructed in doubles.

Queries take arrays and answer arrays, with the GIL released and the rows
split over threads (``threads=None``: every core, up to 8, for 256 rows or
more; an int to choose).

Reading and writing mesh files (OFF, OBJ, PLY, STL) is in
:mod:`zenolith.meshio` (LGPL, plain arrays); :meth:`TriangleMesh.from_file`
and :meth:`TriangleMesh.save` call it. This module is GPL-3.0-or-later, as
the library's AABB tree and box intersection are.
"""

from __future__ import annotations

import os
from typing import TYPE_CHECKING, Any, NamedTuple, TypeAlias, Union

import numpy as np
import numpy.typing as npt

import zenolith_core  # noqa: F401  (registers the core classes before the native module)
from zenolith_core import Bbox3, IsoCuboid3, Line3, Plane3, Point3, Ray3, Segment3, Sphere3, Triangle3

from . import _mesh as _native
from ._arguments import points_argument

__all__ = ["TriangleMesh", "RayHits", "RayHitLists", "ClosestPoints"]

if TYPE_CHECKING:
    from zenolith import Triangles3

    _IndexArray: TypeAlias = npt.NDArray[np.int64]
    _FloatArray: TypeAlias = npt.NDArray[np.float64]
    _BoolArray: TypeAlias = npt.NDArray[np.bool_]
    _SideArray: TypeAlias = npt.NDArray[np.int8]

#: The core objects a mesh can be tested against.
MeshQuery = Union[Point3, Segment3, Ray3, Line3, Triangle3, Plane3, Sphere3, IsoCuboid3, Bbox3]


class RayHits(NamedTuple):
    """The first face each ray meets (one row per ray; 0-d and ``(3,)``
    fields for one ray)."""

    #: Whether the ray meets the mesh.
    hit: _BoolArray
    #: Euclidean distance from the origin to the hit point; ``inf`` for a miss.
    distance: _FloatArray
    #: The face met first; -1 for a miss.
    face: _IndexArray
    #: The hit point ``(N, 3)``; NaN for a miss.
    point: _FloatArray


class RayHitLists(NamedTuple):
    """Every face each ray meets, nearest first, in compressed rows: the
    hits of ray ``i`` are ``faces[offsets[i]:offsets[i + 1]]``."""

    #: ``(N + 1,)`` row starts.
    offsets: _IndexArray
    #: The faces met, ray after ray, nearest first.
    faces: _IndexArray
    #: Their distances from the ray's origin (a face the ray runs along: its nearest point).
    distances: _FloatArray


class ClosestPoints(NamedTuple):
    """The closest point of the mesh to each query point."""

    #: The closest points ``(N, 3)`` (NaN for an empty mesh).
    point: _FloatArray
    #: The faces they lie on (-1 for an empty mesh).
    face: _IndexArray
    #: Their squared distances from the query points (``inf`` for an empty mesh).
    squared_distance: _FloatArray


def _threads(threads: int | None) -> int:
    if threads is None:
        return 0
    if isinstance(threads, bool) or not isinstance(threads, (int, np.integer)) or threads < 1:
        raise ValueError(f"threads: expected None or a positive int, got {threads!r}")
    return int(threads)


def _faces_argument(faces: npt.ArrayLike) -> Any:
    f = np.asarray(faces)
    if f.size == 0:
        return np.empty((0, 3), np.int64)
    if f.dtype.kind not in "iu":
        raise TypeError(f"faces: expected integer vertex indices, got an array of dtype {f.dtype}")
    if f.dtype.kind == "u" and f.size and f.max() > np.iinfo(np.int64).max:
        raise ValueError("faces: an index beyond int64")
    return f


def _xyz(p: Point3) -> list[float]:
    return [float(c) for c in p]


def _query(obj: object) -> tuple[str, list[float]]:
    """The native kind and numbers of a core object. Degenerate objects
    become what they are (a flat triangle its longest side, a point-like
    segment a point); a line, ray or plane without a direction is refused."""
    if isinstance(obj, Point3):
        return "box", _xyz(obj) * 2
    if isinstance(obj, Segment3):
        if obj.source() == obj.target():
            return _query(obj.source())
        return "segment", _xyz(obj.source()) + _xyz(obj.target())
    if isinstance(obj, (Ray3, Line3)):
        if obj.point(0) == obj.point(1):
            raise ValueError(f"{type(obj).__name__}: a degenerate {type(obj).__name__} (no direction) meets no mesh; got {obj!r}")
        return ("ray" if isinstance(obj, Ray3) else "line"), _xyz(obj.point(0)) + _xyz(obj.point(1))
    if isinstance(obj, Triangle3):
        from zenolith.exact import collinear

        corners = [obj.vertex(i) for i in range(3)]
        if collinear(*corners):
            ordered = sorted(corners, key=_xyz)
            return _query(Segment3(ordered[0], ordered[-1]))
        return "triangle", [c for p in corners for c in _xyz(p)]
    if isinstance(obj, Plane3):
        if obj.a == 0 and obj.b == 0 and obj.c == 0:
            raise ValueError(f"Plane3: a degenerate plane (a = b = c = 0) meets no mesh; got {obj!r}")
        return "plane", [obj.a, obj.b, obj.c, obj.d]
    if isinstance(obj, Sphere3):
        return "sphere", _xyz(obj.center()) + [obj.squared_radius()]
    if isinstance(obj, IsoCuboid3):
        return "box", _xyz(obj.min()) + _xyz(obj.max())
    if isinstance(obj, Bbox3):
        if not (obj.xmin <= obj.xmax and obj.ymin <= obj.ymax and obj.zmin <= obj.zmax):
            return "box", [0.0, 0.0, 0.0, -1.0, -1.0, -1.0]  # empty: meets nothing
        return "box", [obj.xmin, obj.ymin, obj.zmin, obj.xmax, obj.ymax, obj.zmax]
    raise TypeError(
        "expected a Point3, Segment3, Ray3, Line3, Triangle3, Plane3, Sphere3, IsoCuboid3 or Bbox3, "
        f"got {type(obj).__name__}"
    )


class TriangleMesh:
    """A triangle mesh: vertices, faces, measures and exact queries over an
    AABB tree.

    ``vertices``: an ``(V, 3)`` array-like of finite numbers (``ValueError``
    naming the row of a NaN or an infinity); ``faces``: an ``(F, 3)``
    integer array of vertex indices (``ValueError`` naming a face with an
    index out of range, or repeating a vertex unless ``allow_degenerate``;
    ``TypeError`` for non-integer indices). Both are copied: the mesh never
    changes, and :attr:`vertices` and :attr:`faces` are read-only views.

    The AABB tree is built on the first query (or by :meth:`build_tree`),
    kept with the mesh and freed with it. Faces may be oriented either way
    for the ray, distance and intersection queries; :meth:`contains` needs
    a closed mesh (:attr:`is_closed`); :attr:`volume` is signed by the
    faces' orientation.
    """

    __slots__ = ("_m", "_edge_data", "__weakref__")

    def __init__(self, vertices: npt.ArrayLike = (), faces: npt.ArrayLike = (), *, allow_degenerate: bool = False) -> None:
        self._m = _native.Mesh(points_argument(vertices, 3), _faces_argument(faces), bool(allow_degenerate))
        self._edge_data: tuple[Any, ...] | None = None

    @classmethod
    def from_triangles(cls, triangles: npt.ArrayLike | Triangles3 | list[Triangle3]) -> TriangleMesh:
        """A mesh from separate triangles (a soup): ``(F, 3, 3)`` corners, a
        :class:`zenolith.Triangles3` or a list of core ``Triangle3``. Corners
        with exactly equal coordinates (``-0.0`` and ``0.0`` alike) become
        one vertex, numbered in order of first appearance, so that triangles
        sharing corners share vertices (and edges) as in a mesh; a triangle
        with two equal corners is kept (``allow_degenerate``)."""
        from zenolith import Triangles3

        if isinstance(triangles, list) and triangles and isinstance(triangles[0], Triangle3):
            triangles = Triangles3.from_objects(triangles)
        corners = np.asarray(triangles.array if isinstance(triangles, Triangles3) else triangles, dtype=np.float64)
        if corners.size == 0:
            return cls()
        if corners.ndim != 3 or corners.shape[1:] != (3, 3):
            raise ValueError(f"triangles: expected an (F, 3, 3) array of corners, got an array of shape {corners.shape}")
        bad = ~np.isfinite(corners).all(axis=(1, 2))
        if bad.any():
            raise ValueError(f"triangles[{int(np.argmax(bad))}]: expected finite coordinates, got a NaN or an infinity")
        flat = corners.reshape(-1, 3) + 0.0  # -0.0 + 0.0 is 0.0
        _, first, inverse = np.unique(flat, axis=0, return_index=True, return_inverse=True)
        order = np.argsort(first)  # unique rows in order of first appearance
        rank = np.empty_like(order)
        rank[order] = np.arange(len(order))
        return cls(flat[first[order]], rank[inverse.ravel()].reshape(-1, 3), allow_degenerate=True)

    # --- files -------------------------------------------------------------

    @classmethod
    def from_file(cls, path: str | os.PathLike[str], format: str | None = None, *, polygons: str = "fan",
                  allow_degenerate: bool = False) -> TriangleMesh:
        """Reads an OFF, OBJ, PLY or STL file (:func:`zenolith.meshio.read_mesh`:
        ``format`` from the suffix when None; faces of more than three
        corners split into fans, or refused with ``polygons="error"``). A
        malformed file raises :class:`zenolith.meshio.MeshFileError` naming
        the line and the reason."""
        from zenolith import meshio

        vertices, faces = meshio.read_mesh(path, format, polygons=polygons)
        return cls(vertices, faces, allow_degenerate=allow_degenerate)

    def save(self, path: str | os.PathLike[str], format: str | None = None, *, binary: bool = False) -> None:
        """Writes the mesh as OFF, OBJ, PLY or STL (:func:`zenolith.meshio.write_mesh`):
        every coordinate reads back bit for bit."""
        from zenolith import meshio

        meshio.write_mesh(path, self.vertices, self.faces, format, binary=binary)

    # --- arrays and measures -------------------------------------------------

    @property
    def vertices(self) -> _FloatArray:
        """The ``(V, 3)`` vertex coordinates (read-only)."""
        result: _FloatArray = self._m.vertices
        return result

    @property
    def faces(self) -> _IndexArray:
        """The ``(F, 3)`` vertex indices of the faces (read-only)."""
        result: _IndexArray = self._m.faces
        return result

    @property
    def nvertices(self) -> int:
        """The number of vertices."""
        return len(self.vertices)

    @property
    def nfaces(self) -> int:
        """The number of faces."""
        return len(self.faces)

    @property
    def allow_degenerate(self) -> bool:
        """Whether faces repeating a vertex were accepted."""
        return bool(self._m.allow_degenerate)

    @property
    def bbox(self) -> Bbox3:
        """The vertices' bounding box (of the used and unused vertices alike;
        ``Bbox3(inf, inf, inf, -inf, -inf, -inf)`` without vertices)."""
        v = self.vertices
        if len(v) == 0:
            return Bbox3(np.inf, np.inf, np.inf, -np.inf, -np.inf, -np.inf)
        lo, hi = v.min(axis=0), v.max(axis=0)
        return Bbox3(*lo.tolist(), *hi.tolist())

    def triangles(self) -> _FloatArray:
        """The faces' corners as an ``(F, 3, 3)`` array."""
        return self.vertices[self.faces]

    def triangle_objects(self) -> Triangles3:
        """The faces as a :class:`zenolith.Triangles3` object array."""
        from zenolith import Triangles3

        return Triangles3(self.triangles())

    def _cross(self) -> Any:
        # the faces' (b - a) x (c - a) in long double, whose exponent range
        # holds these products of huge and tiny coordinates alike
        t = self.triangles().astype(np.longdouble)
        return np.cross(t[:, 1] - t[:, 0], t[:, 2] - t[:, 0]).reshape(-1, 3)

    @property
    def face_normals(self) -> _FloatArray:
        """Unit normals ``(F, 3)`` by the right-hand rule of each face's
        corner order (computed in long double, so that tiny and huge faces
        neither underflow nor overflow); zero for a face of no area."""
        n = self._cross()
        length = np.sqrt((n * n).sum(axis=1, keepdims=True))
        safe = np.where(length > 0, length, 1)
        result: _FloatArray = np.where(length > 0, n / safe, 0).astype(np.float64)
        return result

    @property
    def face_areas(self) -> _FloatArray:
        """The faces' areas ``(F,)`` (in long double, rounded to doubles)."""
        n = self._cross()
        result: _FloatArray = (np.sqrt((n * n).sum(axis=1)) / 2).astype(np.float64)
        return result

    @property
    def area(self) -> float:
        """The surface area (the faces' areas summed in long double)."""
        n = self._cross()
        return float(np.sum(np.sqrt((n * n).sum(axis=1))) / 2)

    @property
    def volume(self) -> float:
        """The signed enclosed volume of a closed mesh: positive when its
        faces turn counter-clockwise seen from outside. The sum of the faces'
        cones from the origin evaluated exactly and rounded once, so its sign
        is exact. For an open mesh it depends on the origin."""
        return float(self._m.volume())

    def _edges(self) -> tuple[Any, ...]:
        # (edges, count of faces per edge, whether each edge is used as often
        # in one direction as in the other), computed once
        if self._edge_data is None:
            f = self.faces
            e = f[:, [0, 1, 1, 2, 2, 0]].reshape(-1, 2)
            e = e[e[:, 0] != e[:, 1]]
            lo, hi = e.min(axis=1), e.max(axis=1)
            n = max(self.nvertices, 1)
            keys, inverse, counts = np.unique(lo * n + hi, return_inverse=True, return_counts=True)
            forward = np.bincount(inverse.ravel(), weights=e[:, 0] < e[:, 1], minlength=len(keys))
            edges = np.column_stack([keys // n, keys % n]).astype(np.int64).reshape(-1, 2)
            edges.flags.writeable = False
            self._edge_data = (edges, counts, bool(np.all(2 * forward == counts)))
        return self._edge_data

    @property
    def edges(self) -> _IndexArray:
        """The undirected edges ``(E, 2)``, each ``(i, j)`` with ``i < j``,
        sorted (read-only)."""
        result: _IndexArray = self._edges()[0]
        return result

    @property
    def boundary_edges(self) -> _IndexArray:
        """The edges used by an odd number of faces (one, on an open
        boundary), sorted as :attr:`edges`."""
        edges, counts, _ = self._edges()
        result: _IndexArray = edges[counts % 2 == 1]
        return result

    @property
    def is_closed(self) -> bool:
        """Whether every edge is used by an even number of faces (two, on a
        manifold): then every point off the surface is inside or outside,
        as :meth:`contains` needs. An empty mesh is closed."""
        return len(self.boundary_edges) == 0

    @property
    def is_outward_oriented(self) -> bool:
        """Whether the mesh is closed, consistently oriented (every edge
        walked as often in each direction) and its volume positive (exact
        sign): the faces turn counter-clockwise seen from outside."""
        return self.nfaces > 0 and self.is_closed and bool(self._edges()[2]) and self.volume > 0

    # --- queries over the tree -----------------------------------------------

    def build_tree(self) -> None:
        """Builds the AABB tree now (otherwise the first query does)."""
        _native.build_tree(self._m)

    def ray_first_hit(self, origins: npt.ArrayLike, directions: npt.ArrayLike, *, threads: int | None = None) -> RayHits:
        """The first face each ray meets: ``origins`` and ``directions`` are
        ``(N, 3)`` (or one row, ``(3,)`` or ``(1, 3)``, shared by every row of the other). Hits
        are decided exactly, also through vertices and edges; a ray starting
        on a face hits it at distance 0; a zero direction meets nothing (a
        miss). Where two faces are hit at the same distance either may be
        given."""
        return RayHits(*_native.first_hits(self._m, origins, directions, _threads(threads)))

    def ray_hits(self, origins: npt.ArrayLike, directions: npt.ArrayLike, *, threads: int | None = None) -> RayHitLists:
        """Every face each ray meets, nearest first (see :class:`RayHitLists`;
        rays as in :meth:`ray_first_hit`)."""
        return RayHitLists(*_native.all_hits(self._m, origins, directions, _threads(threads)))

    def closest_point(self, points: npt.ArrayLike, *, threads: int | None = None) -> ClosestPoints:
        """The closest point of the mesh to each of ``points`` (``(N, 3)``
        or one ``(3,)``), the face it lies on and the squared distance."""
        return ClosestPoints(*_native.closest_points(self._m, points_argument(points, 3), _threads(threads)))

    def squared_distance(self, points: npt.ArrayLike, *, threads: int | None = None) -> _FloatArray:
        """The squared distance from each point to the mesh."""
        return self.closest_point(points, threads=threads).squared_distance

    def bounded_side(self, points: npt.ArrayLike, *, threads: int | None = None) -> _SideArray:
        """For a closed mesh: 1 inside, 0 on the surface, -1 outside, for
        each point, exactly. Inside means crossing the surface an odd number
        of times on the way out (the even-odd rule; nested shells alternate),
        counted exactly by a ray whose passes through edges and vertices are
        resolved by a symbolic perturbation. ``ValueError`` for an open mesh."""
        if not self.is_closed:
            raise ValueError(
                f"bounded_side and contains need a closed mesh; this one has {len(self.boundary_edges)} boundary edges"
            )
        result: _SideArray = _native.bounded_side(self._m, points_argument(points, 3), _threads(threads))
        return result

    def contains(self, points: npt.ArrayLike, *, threads: int | None = None) -> _BoolArray:
        """Whether each point is inside the closed mesh or on its surface
        (see :meth:`bounded_side`)."""
        return self.bounded_side(points, threads=threads) >= 0

    def do_intersect(self, obj: MeshQuery) -> bool:
        """Whether the mesh meets a core object (exactly): a point, segment,
        ray, line, triangle, plane, sphere (the solid ball), iso-cuboid or
        box (solid). A line, ray or plane without a direction is a
        ``ValueError``."""
        kind, numbers = _query(obj)
        return bool(_native.object_faces(self._m, kind, numbers, True))

    def intersecting_faces(self, obj: MeshQuery) -> _IndexArray:
        """The faces that meet a core object (see :meth:`do_intersect`), ascending."""
        kind, numbers = _query(obj)
        result: _IndexArray = _native.object_faces(self._m, kind, numbers, False)
        return result

    # --- two meshes and self-intersection ------------------------------------

    def intersecting_pairs(self, other: TriangleMesh) -> _IndexArray:
        """The pairs ``(face of self, face of other)`` whose triangles meet
        (touching counts), ``(K, 2)`` sorted: the library's box-intersection
        sweep, then exact triangle tests."""
        if not isinstance(other, TriangleMesh):
            raise TypeError(f"other: expected a TriangleMesh, got {type(other).__name__}")
        result: _IndexArray = _native.pairs_between(self._m, other._m)
        return result

    def intersects(self, other: TriangleMesh) -> bool:
        """Whether the surfaces of two meshes meet (touching counts; one
        mesh wholly inside the other does not)."""
        return len(self.intersecting_pairs(other)) > 0

    def self_intersections(self) -> _IndexArray:
        """The pairs ``(f, g)``, ``f < g``, of faces that meet beyond the
        vertices and edge they share (by index), ``(K, 2)`` sorted: faces
        crossing or touching each other, folded onto a neighbour, or
        repeated. Empty for a mesh fit for 3D printing's first check."""
        result: _IndexArray = _native.self_pairs(self._m)
        return result

    @property
    def is_self_intersecting(self) -> bool:
        """Whether :meth:`self_intersections` finds any pair."""
        return len(self.self_intersections()) > 0

    # --- Python protocols ----------------------------------------------------

    def __repr__(self) -> str:
        return f"TriangleMesh({self.nvertices} vertices, {self.nfaces} faces)"

    def __reduce__(self) -> tuple[Any, ...]:
        return (_rebuild, (np.array(self.vertices), np.array(self.faces), self.allow_degenerate))

    def _drawing_segments_(self) -> _FloatArray:
        """The edges' ends ``(E, 2, 3)``, for :class:`zenolith.Drawing`."""
        return self.vertices[self.edges]

    def _repr_svg_(self) -> str:
        """A picture of the edges seen along z, for notebooks."""
        from zenolith import Drawing

        drawing = Drawing(title=repr(self))
        drawing.add(self, stroke="#1f77b4")
        return drawing.svg()


def _rebuild(vertices: _FloatArray, faces: _IndexArray, allow_degenerate: bool) -> TriangleMesh:
    return TriangleMesh(vertices, faces, allow_degenerate=allow_degenerate)
