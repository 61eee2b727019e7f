"""What a picture is made of: each core object reduced to a few planar
primitives in world coordinates, spatial objects projected onto a plane, and
the view box that the primitives are fitted into and clipped to.

Nothing here knows about SVG or matplotlib; both writers read the same
primitives, so a picture and a plot of the same objects agree.
"""

from __future__ import annotations

import math
from collections.abc import Callable, Sequence
from dataclasses import dataclass
from fractions import Fraction
from typing import Any, Union

import numpy as np
import numpy.typing as npt

import zenolith_core as zc

#: Planar coordinates: one point ``(2,)`` or ``(N, 2)`` points.
XY = npt.NDArray[np.float64]


@dataclass(frozen=True)
class Dots:
    """Points, drawn as dots of the same screen size at any zoom."""

    xy: XY


@dataclass(frozen=True)
class Path:
    """A polyline through ``xy``, or a polygon when closed.

    ``oriented`` paths run from their first point to their last (segments,
    vectors) and may end in an arrowhead.
    """

    xy: XY
    closed: bool = False
    filled: bool = False
    stroked: bool = True
    oriented: bool = False


@dataclass(frozen=True)
class Disc:
    """A filled circle of the given radius in world units."""

    center: XY
    radius: float


@dataclass(frozen=True)
class Unbounded:
    """A line through ``origin`` along ``direction`` (unit length), or the ray
    that starts there; drawn as far as the view box reaches."""

    origin: XY
    direction: XY
    ray: bool
    oriented: bool


@dataclass(frozen=True)
class Cover:
    """The whole view: the picture of a plane seen face-on."""


Shape = Union[Dots, Path, Disc, Unbounded, Cover]


@dataclass(frozen=True)
class Figure:
    """One object as shapes, with the point its label is written at."""

    shapes: tuple[Shape, ...]
    anchor: XY


@dataclass(frozen=True)
class View:
    """An axis-parallel box of the plane: what a picture shows."""

    xmin: float
    ymin: float
    xmax: float
    ymax: float

    @property
    def width(self) -> float:
        return self.xmax - self.xmin

    @property
    def height(self) -> float:
        return self.ymax - self.ymin


def _points(rows: Sequence[Sequence[float]]) -> XY:
    return np.array(rows, dtype=np.float64).reshape(len(rows), -1)


def _xy(p: Any) -> list[float]:
    return [float(p.x), float(p.y)]


def _xyz(p: Any) -> list[float]:
    return [float(p.x), float(p.y), float(p.z)]


class Projection:
    """Orthographic projection of space onto a plane.

    Coordinates are taken in the plane's own frame (``Plane3.point()`` as the
    origin, ``base1`` and ``base2`` as the axes, as ``Plane3.to_2d`` does),
    with both axes scaled to unit length: ``base1`` and ``base2`` are not
    normalised, and ``to_2d`` alone would stretch the picture unevenly. The
    plane is seen from its positive side. Without a plane: the xy-plane,
    seen from above (z is dropped, x and y are kept exactly).
    """

    def __init__(self, plane: zc.Plane3 | None = None) -> None:
        self.plane = plane
        self.origin: XY
        self.axes: XY
        if plane is None:
            self.origin = np.zeros(3)
            self.axes = np.eye(3)[:2]
            return
        if plane.is_degenerate():
            raise ValueError(f"cannot project onto {plane!r}: a degenerate plane (a = b = c = 0) has no frame")
        base = _points([_xyz(plane.base1()), _xyz(plane.base2())])
        with np.errstate(all="ignore"):
            self.axes = base / np.linalg.norm(base, axis=1, keepdims=True)
        self.origin = np.array(_xyz(plane.point()))
        if not (np.all(np.isfinite(self.axes)) and np.all(np.isfinite(self.origin))):
            raise ValueError(f"cannot project onto {plane!r}: its frame is not finite")

    @property
    def normal(self) -> XY:
        """The unit vector towards the viewer."""
        n: XY = np.cross(self.axes[0], self.axes[1])
        return n

    def points(self, xyz: XY) -> XY:
        """Project ``(N, 3)`` points."""
        with np.errstate(all="ignore"):
            xy: XY = (xyz - self.origin) @ self.axes.T
        return xy

    def vector(self, v: list[float]) -> XY:
        """Project a direction or displacement (no origin involved)."""
        with np.errstate(all="ignore"):
            xy: XY = self.axes @ np.array(v)
        return xy


# ---- planar objects -----------------------------------------------------------

def _one(shape: Shape, anchor: XY) -> Figure:
    return Figure((shape,), anchor)


def _dots(xy: XY) -> Figure:
    return _one(Dots(xy), xy[0])


def _arrow(tail: XY, head: XY) -> Figure:
    return _one(Path(np.stack([tail, head]), oriented=True), head)


def _polygon(xy: XY) -> Figure:
    return _one(Path(xy, closed=True, filled=True), xy[0])


def _unbounded(origin: XY, direction: XY, ray: bool, oriented: bool = True) -> Figure:
    """A line or ray; one that runs straight at the viewer is only a dot."""
    length = math.hypot(float(direction[0]), float(direction[1]))
    if length == 0.0:
        return _dots(origin.reshape(1, 2))
    return _one(Unbounded(origin, direction / length, ray, oriented), origin)


def _unit(v: list[float], obj: object) -> list[float]:
    length = math.hypot(*v)
    if length == 0.0 or not math.isfinite(length):
        raise ValueError(f"cannot draw {obj!r}: it has no direction to point along")
    return [c / length for c in v]


def _radius(squared: float, obj: object) -> float:
    if squared < 0.0:
        raise ValueError(f"cannot draw {obj!r}: its squared radius is negative")
    return math.sqrt(squared)  # NaN and infinity pass on to the finiteness check


def _disc(center: XY, squared_radius: float, obj: object) -> Figure:
    return _one(Disc(center, _radius(squared_radius, obj)), center)


def _line2(line: zc.Line2, _: Projection) -> Figure:
    if line.is_degenerate():
        raise ValueError(f"cannot draw {line!r}: a degenerate line (a = b = 0) has no points")
    return _unbounded(np.array(_xy(line.point(0.0))), np.array(_xy(line.to_vector())), ray=False)


def _box2(xmin: float, ymin: float, xmax: float, ymax: float) -> Figure:
    return _polygon(_points([[xmin, ymin], [xmax, ymin], [xmax, ymax], [xmin, ymax]]))


_PLANAR: dict[type, Callable[[Any, Projection], Figure]] = {
    zc.Point2: lambda p, _: _dots(_points([_xy(p)])),
    zc.WeightedPoint2: lambda p, _: _dots(_points([_xy(p.point())])),
    zc.Vector2: lambda v, _: _arrow(np.zeros(2), np.array(_xy(v))),
    zc.Direction2: lambda d, _: _arrow(np.zeros(2), np.array(_unit([float(d.dx), float(d.dy)], d))),
    zc.Segment2: lambda s, _: _arrow(np.array(_xy(s.source())), np.array(_xy(s.target()))),
    zc.Line2: _line2,
    zc.Ray2: lambda r, _: _unbounded(np.array(_xy(r.source())), np.array(_xy(r.to_vector())), ray=True),
    zc.Triangle2: lambda t, _: _polygon(_points([_xy(t.vertex(i)) for i in range(3)])),
    zc.Circle2: lambda c, _: _disc(np.array(_xy(c.center())), float(c.squared_radius()), c),
    zc.IsoRectangle2: lambda r, _: _polygon(_points([_xy(r.vertex(i)) for i in range(4)])),
    zc.Bbox2: lambda b, _: _box2(b.xmin, b.ymin, b.xmax, b.ymax),
}


# ---- spatial objects ------------------------------------------------------------

def _hull(xy: XY) -> XY:
    """Convex hull of a few planar points, counterclockwise (monotone chain)."""
    pts = sorted({(float(x), float(y)) for x, y in xy})
    if len(pts) < 3:
        return _points(pts)

    def half(seq: list[tuple[float, float]]) -> list[tuple[float, float]]:
        out: list[tuple[float, float]] = []
        for p in seq:
            while len(out) >= 2 and (
                (out[-1][0] - out[-2][0]) * (p[1] - out[-2][1]) - (out[-1][1] - out[-2][1]) * (p[0] - out[-2][0])
            ) <= 0:
                out.pop()
            out.append(p)
        return out[:-1]

    return _points(half(pts) + half(pts[::-1]))


def _solid(corners: list[list[float]], edges: list[tuple[int, int]], proj: Projection) -> Figure:
    """A polyhedron: its filled outline, then every edge."""
    xy = proj.points(_points(corners))
    shapes: list[Shape] = [Path(_hull(xy), closed=True, filled=True, stroked=False)]
    shapes += [Path(xy[[i, j]]) for i, j in edges]
    return Figure(tuple(shapes), xy[0])


def _cuboid(lo: list[float], hi: list[float], proj: Projection) -> Figure:
    # corner k takes the maximum on axis a when bit a of k is set
    corners = [[hi[a] if k >> a & 1 else lo[a] for a in range(3)] for k in range(8)]
    edges = [(k, k | 1 << a) for k in range(8) for a in range(3) if not k >> a & 1]
    return _solid(corners, edges, proj)


_TETRAHEDRON_EDGES = [(0, 1), (0, 2), (0, 3), (1, 2), (1, 3), (2, 3)]


def _vector3(v: list[float], proj: Projection) -> Figure:
    tail = proj.points(np.zeros((1, 3)))[0]
    return _arrow(tail, tail + proj.vector(v))


def _line3(origin: Any, vector: Any, ray: bool, proj: Projection) -> Figure:
    return _unbounded(proj.points(_points([_xyz(origin)]))[0], proj.vector(_xyz(vector)), ray)


def _circle3(c: zc.Circle3, proj: Projection) -> Figure:
    """A circle in space: seen at an angle it is an ellipse, edge-on a segment."""
    radius = _radius(float(c.squared_radius()), c)
    support = c.supporting_plane()
    if support.is_degenerate():
        raise ValueError(f"cannot draw {c!r}: its supporting plane is degenerate")
    frame = _points([_xyz(support.base1()), _xyz(support.base2())])
    t = np.linspace(0.0, 2.0 * math.pi, 129)[:-1]
    with np.errstate(all="ignore"):
        frame /= np.linalg.norm(frame, axis=1, keepdims=True)
        ring = np.array(_xyz(c.center())) + radius * (np.cos(t)[:, None] * frame[0] + np.sin(t)[:, None] * frame[1])
    xy = proj.points(ring)
    return _one(Path(xy, closed=True, filled=True), proj.points(_points([_xyz(c.center())]))[0])


def _plane3(h: zc.Plane3, proj: Projection) -> Figure:
    """A plane covers the whole picture, unless it is seen edge-on: then it is
    the line where it meets the picture's plane."""
    n = np.array([float(h.a), float(h.b), float(h.c)])
    norm = float(np.linalg.norm(n))
    if norm == 0.0:
        raise ValueError(f"cannot draw {h!r}: a degenerate plane (a = b = c = 0) has no points")
    if abs(float(n @ proj.normal)) > 1e-12 * norm:
        return Figure((Cover(),), np.zeros(2))
    # the plane, in picture coordinates: a'x + b'y + c' = 0
    a, b = proj.axes @ n
    c = float(n @ proj.origin) + float(h.d)
    foot = -c / (a * a + b * b) * np.array([a, b])
    return _unbounded(foot, np.array([b, -a]), ray=False, oriented=False)


_SPATIAL: dict[type, Callable[[Any, Projection], Figure]] = {
    zc.Point3: lambda p, proj: _dots(proj.points(_points([_xyz(p)]))),
    zc.Vector3: lambda v, proj: _vector3(_xyz(v), proj),
    zc.Direction3: lambda d, proj: _vector3(_unit([float(d.dx), float(d.dy), float(d.dz)], d), proj),
    zc.Segment3: lambda s, proj: _arrow(*proj.points(_points([_xyz(s.source()), _xyz(s.target())]))),
    zc.Line3: lambda line, proj: _line3(line.point(0.0), line.to_vector(), False, proj),
    zc.Ray3: lambda r, proj: _line3(r.source(), r.to_vector(), True, proj),
    zc.Triangle3: lambda t, proj: _polygon(proj.points(_points([_xyz(t.vertex(i)) for i in range(3)]))),
    zc.Tetrahedron3: lambda t, proj: _solid([_xyz(t.vertex(i)) for i in range(4)], _TETRAHEDRON_EDGES, proj),
    zc.IsoCuboid3: lambda c, proj: _cuboid(_xyz(c.min()), _xyz(c.max()), proj),
    zc.Bbox3: lambda b, proj: _cuboid([b.xmin, b.ymin, b.zmin], [b.xmax, b.ymax, b.zmax], proj),
    zc.Sphere3: lambda s, proj: _disc(proj.points(_points([_xyz(s.center())]))[0], float(s.squared_radius()), s),
    zc.Circle3: _circle3,
    zc.Plane3: _plane3,
}

_EXTRACT = {**_PLANAR, **_SPATIAL}

#: The core classes a drawing accepts.
DRAWABLE: tuple[type, ...] = tuple(_EXTRACT)


def _point_set(obj: object, proj: Projection) -> tuple[Figure, str]:
    """An array-like of points: ``(N, 2)``, ``(N, 3)`` or one point."""
    try:
        xy = np.asarray(obj, dtype=np.float64)
    except (TypeError, ValueError):
        names = ", ".join(t.__name__ for t in DRAWABLE)
        raise TypeError(
            f"cannot draw {type(obj).__name__}: expected one of {names}, or an (N, 2) or (N, 3) array of points"
        ) from None
    if xy.ndim == 1:
        xy = xy.reshape(1, -1)
    if xy.ndim != 2 or xy.shape[1] not in (2, 3):
        raise ValueError(f"cannot draw an array of shape {xy.shape}: expected (N, 2) or (N, 3) points")
    what = f"an array of {xy.shape[0]} points"
    if xy.shape[1] == 3:
        xy = proj.points(xy)
    return Figure((Dots(xy),) if len(xy) else (), xy[0] if len(xy) else np.zeros(2)), what


def _arrays(figure: Figure) -> list[npt.NDArray[np.float64]]:
    out = [figure.anchor]
    for s in figure.shapes:
        if isinstance(s, (Dots, Path)):
            out.append(s.xy)
        elif isinstance(s, Disc):
            out += [s.center, np.array([s.radius])]
        elif isinstance(s, Unbounded):
            out += [s.origin, s.direction]
    return out


def figure_of(obj: object, proj: Projection) -> Figure:
    """The shapes of one core object or array of points.

    Raises ``TypeError`` for anything else, and ``ValueError`` naming the
    object when it has no finite picture (NaN or infinite coordinates, a
    negative squared radius, a degenerate line or plane).
    """
    extract = _EXTRACT.get(type(obj))
    if extract is None:
        figure, what = _point_set(obj, proj)
    else:
        figure, what = extract(obj, proj), repr(obj)
    for a in _arrays(figure):
        if not np.all(np.isfinite(a)):
            raise ValueError(f"cannot draw {what}: its coordinates are not all finite (NaN or infinity)")
    return figure


# ---- the view box ---------------------------------------------------------------

def _extent(shape: Shape) -> XY | None:
    """The points a shape needs to be seen; lines reach the view by themselves."""
    if isinstance(shape, (Dots, Path)):
        return shape.xy
    if isinstance(shape, Disc):
        return np.stack([shape.center - shape.radius, shape.center + shape.radius])
    if isinstance(shape, Unbounded) and shape.ray:
        return shape.origin.reshape(1, 2)
    return None


def fit(figures: list[Figure], margin: float) -> View:
    """The smallest box around every bounded shape, widened by ``margin`` times
    its larger side on each side.

    Lines count only when nothing else is drawn (then their own points are
    shown), an empty drawing shows the square [-1, 1]²; a box that would be
    flat gets some height (or width) so that its picture is not empty.
    """
    shapes = [s for f in figures for s in f.shapes]
    parts = [e for s in shapes if (e := _extent(s)) is not None and len(e)]
    if not parts:
        parts = [s.origin.reshape(1, 2) for s in shapes if isinstance(s, Unbounded)]
    if not parts:
        return View(-1.0, -1.0, 1.0, 1.0)
    xy = np.concatenate(parts)
    lo, hi = xy.min(axis=0), xy.max(axis=0)
    with np.errstate(all="ignore"):
        side = float(np.max(hi - lo))
        if side == 0.0:
            side = max(1.0, float(np.max(np.abs(lo))) * 1e-6)
        pad = np.maximum(margin * side, np.where(hi - lo > 0.0, 0.0, 0.05 * side))
        view = View(*(lo - pad).tolist(), *(hi + pad).tolist())
    check_view(view, "the objects' bounding box")
    return view


def check_view(view: View, what: str) -> None:
    """Refuse a view that cannot be drawn: not finite, empty or too wide."""
    if not all(math.isfinite(v) for v in (view.xmin, view.ymin, view.xmax, view.ymax, view.width, view.height)):
        raise ValueError(f"{what} is not finite: {view}; give the view box yourself")
    if not (view.width > 0.0 and view.height > 0.0):
        raise ValueError(f"{what} is empty: {view}")


def _span(origin: XY, direction: XY, lo: float, hi: float, view: View) -> tuple[float, float] | None:
    """The range of t in [lo, hi] for which origin + t·direction lies in the
    view (Liang-Barsky); None when it misses the view."""
    for p, d, vmin, vmax in zip(origin.tolist(), direction.tolist(), (view.xmin, view.ymin), (view.xmax, view.ymax)):
        if d == 0.0:
            if not vmin <= p <= vmax:
                return None
            continue
        t0, t1 = sorted(((vmin - p) / d, (vmax - p) / d))
        lo, hi = max(lo, t0), min(hi, t1)
    return None if lo > hi else (lo, hi)


def _edges(view: View) -> list[tuple[int, float, bool]]:
    """The view's four sides as (axis, bound, whether the inside is below)."""
    return [(0, view.xmin, False), (0, view.xmax, True), (1, view.ymin, False), (1, view.ymax, True)]


def _inside(p: list[float], axis: int, bound: float, below: bool) -> bool:
    return p[axis] <= bound if below else p[axis] >= bound


def _cut(p: list[float], q: list[float], axis: int, bound: float) -> list[float]:
    """The point of segment pq whose coordinate on ``axis`` is ``bound``.

    Computed in exact rationals and rounded once: with a vertex far away,
    p + t·(q - p) in doubles would lose every digit that matters in view.
    """
    t = (Fraction(bound) - Fraction(p[axis])) / (Fraction(q[axis]) - Fraction(p[axis]))
    cut = [bound, bound]
    cut[1 - axis] = float(Fraction(p[1 - axis]) + t * (Fraction(q[1 - axis]) - Fraction(p[1 - axis])))
    return cut


def _clip_segment(p: list[float], q: list[float], view: View) -> XY | None:
    for axis, bound, below in _edges(view):
        p_in, q_in = _inside(p, axis, bound, below), _inside(q, axis, bound, below)
        if not (p_in or q_in):
            return None
        if not p_in:
            p = _cut(p, q, axis, bound)
        elif not q_in:
            q = _cut(p, q, axis, bound)
    return _points([p, q])


def _clip_polygon(xy: XY, view: View) -> XY:
    """The part of a polygon inside the view (Sutherland-Hodgman)."""
    pts = xy.tolist()
    for axis, bound, below in _edges(view):
        out: list[list[float]] = []
        for i, q in enumerate(pts):
            p = pts[i - 1]
            if _inside(q, axis, bound, below) != _inside(p, axis, bound, below):
                out.append(_cut(p, q, axis, bound))
            if _inside(q, axis, bound, below):
                out.append(q)
        pts = out
    return _points(pts)


def _widened(view: View) -> View:
    pad = 0.5 * max(view.width, view.height)
    return View(view.xmin - pad, view.ymin - pad, view.xmax + pad, view.ymax + pad)


def _huge_disc(disc: Disc, box: View) -> list[Shape]:
    """A disc far larger than the box, as polygons: the arc of its boundary
    near the box (stroked) and a band inside that arc (filled). Its centre
    and radius in pixels would be numbers no renderer draws faithfully."""
    mid = np.array([(box.xmin + box.xmax) / 2, (box.ymin + box.ymax) / 2])
    reach = math.hypot(box.width, box.height) / 2
    r, away = disc.radius, float(np.hypot(*(mid - disc.center)))
    if away - reach >= r:
        return []
    if away + reach <= r:  # the box is inside
        corners = _points([[box.xmin, box.ymin], [box.xmax, box.ymin], [box.xmax, box.ymax], [box.xmin, box.ymax]])
        return [Path(corners, closed=True, filled=True, stroked=False)]
    towards = math.atan2(*(mid - disc.center)[::-1])
    spread = min(math.pi, 4.0 * reach / r)
    t = np.linspace(towards - spread, towards + spread, 257)
    ring = np.column_stack([np.cos(t), np.sin(t)])
    arc = disc.center + r * ring
    band = np.concatenate([arc, (disc.center + (r - 3.0 * reach) * ring)[::-1]])
    fill = _clip_polygon(band, box)
    shapes: list[Shape] = [Path(fill, closed=True, filled=True, stroked=False)] if len(fill) else []
    return shapes + _clip_open(Path(arc), box)


def _clip_open(path: Path, box: View) -> list[Shape]:
    """An open polyline cut into the pieces of its segments inside the box."""
    pieces: list[Shape] = []
    last = len(path.xy) - 2
    for k in range(last + 1):
        ends = _clip_segment(path.xy[k].tolist(), path.xy[k + 1].tolist(), box)
        if ends is not None:
            pieces.append(Path(ends, stroked=path.stroked, oriented=path.oriented and k == last))
    return pieces


def visible(shape: Shape, view: View) -> list[Shape]:
    """What of a shape can be seen in the view, with coordinates that stay near
    it: lines and rays end at its edges; paths are cut at a box well beyond
    them, so that a far-away vertex never reaches a renderer as a huge
    number and no cut is in sight."""
    if isinstance(shape, Unbounded):
        span = _span(shape.origin, shape.direction, 0.0 if shape.ray else -math.inf, math.inf, view)
        if span is None:
            return []
        return [Path(shape.origin + np.outer(span, shape.direction), oriented=shape.oriented)]
    box = _widened(view)
    if isinstance(shape, Dots):
        x, y = shape.xy[:, 0], shape.xy[:, 1]
        near = (box.xmin <= x) & (x <= box.xmax) & (box.ymin <= y) & (y <= box.ymax)
        return [Dots(shape.xy[near])] if near.any() else []
    if isinstance(shape, Disc):
        huge = shape.radius > 1e3 * max(view.width, view.height)
        return _huge_disc(shape, box) if huge else [shape]
    if not isinstance(shape, Path):
        return [shape]
    if shape.closed:
        xy = _clip_polygon(shape.xy, box)
        return [Path(xy, True, shape.filled, shape.stroked)] if len(xy) else []
    return _clip_open(shape, box)
