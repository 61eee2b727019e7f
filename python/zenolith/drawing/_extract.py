"""Each core object reduced to shapes: planar objects as they are, spatial
objects through a projection, arrays of points as dots."""

from __future__ import annotations

import math
from collections.abc import Callable
from typing import Any

import numpy as np

import zenolith_core as zc

from .. import exact
from ._projection import Projection, xyz
from ._shapes import Cover, Disc, Dots, Edges, Figure, Path, Shape, Unbounded
from ._viewbox import XY, points


def _xy(p: Any) -> list[float]:
    return [float(p.x), float(p.y)]


# ---- planar objects ----------------------------------------------------------

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
    with np.errstate(all="ignore"):  # an overflowed direction is refused as not finite
        unit = direction / length
    return _one(Unbounded(origin, unit, ray, oriented), origin)


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
    return _polygon(points([[xmin, ymin], [xmax, ymin], [xmax, ymax], [xmin, ymax]]))


_PLANAR: dict[type, Callable[[Any, Projection], Figure]] = {
    zc.Point2: lambda p, _: _dots(points([_xy(p)])),
    zc.WeightedPoint2: lambda p, _: _dots(points([_xy(p.point())])),
    zc.Vector2: lambda v, _: _arrow(np.zeros(2), np.array(_xy(v))),
    zc.Direction2: lambda d, _: _arrow(np.zeros(2), np.array(_unit([float(d.dx), float(d.dy)], d))),
    zc.Segment2: lambda s, _: _arrow(np.array(_xy(s.source())), np.array(_xy(s.target()))),
    zc.Line2: _line2,
    zc.Ray2: lambda r, _: _unbounded(np.array(_xy(r.source())), np.array(_xy(r.to_vector())), ray=True),
    zc.Triangle2: lambda t, _: _polygon(points([_xy(t.vertex(i)) for i in range(3)])),
    zc.Circle2: lambda c, _: _disc(np.array(_xy(c.center())), float(c.squared_radius()), c),
    zc.IsoRectangle2: lambda r, _: _polygon(points([_xy(r.vertex(i)) for i in range(4)])),
    zc.Bbox2: lambda b, _: _box2(b.xmin, b.ymin, b.xmax, b.ymax),
}


# ---- spatial objects ---------------------------------------------------------

def _hull(xy: XY) -> XY:
    """Convex hull of a few planar points, counterclockwise (monotone chain).

    Turns are decided exactly: in doubles, corners far apart make the
    determinant overflow, and nearly collinear corners (a face seen edge-on)
    can turn the wrong way, so the outline would depend on rounding.
    """
    pts = [zc.Point2(x, y) for x, y in sorted({(float(x), float(y)) for x, y in xy})]
    if len(pts) < 3:
        return points([[p.x, p.y] for p in pts])

    def half(seq: list[zc.Point2]) -> list[zc.Point2]:
        out: list[zc.Point2] = []
        for p in seq:
            while len(out) >= 2 and not exact.orientation(out[-2], out[-1], p).left_turn():
                out.pop()
            out.append(p)
        return out[:-1]

    return points([[p.x, p.y] for p in half(pts) + half(pts[::-1])])


def _solid(corners: list[list[float]], edges: list[tuple[int, int]], proj: Projection) -> Figure:
    """A polyhedron: its filled outline, then every edge."""
    xy = proj.points(points(corners))
    # corners that are not finite have no exact turns; figure_of refuses them
    outline = _hull(xy) if np.all(np.isfinite(xy)) else xy
    shapes: list[Shape] = [Path(outline, closed=True, filled=True, stroked=False)]
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
    return _unbounded(proj.points(points([xyz(origin)]))[0], proj.vector(xyz(vector)), ray)


def _circle3(c: zc.Circle3, proj: Projection) -> Figure:
    """A circle in space: seen at an angle it is an ellipse, edge-on a segment."""
    radius = _radius(float(c.squared_radius()), c)
    support = c.supporting_plane()
    if support.is_degenerate():
        raise ValueError(f"cannot draw {c!r}: its supporting plane is degenerate")
    frame = points([xyz(support.base1()), xyz(support.base2())])
    t = np.linspace(0.0, 2.0 * math.pi, 129)[:-1]
    with np.errstate(all="ignore"):
        frame /= np.linalg.norm(frame, axis=1, keepdims=True)
        ring = np.array(xyz(c.center())) + radius * (np.cos(t)[:, None] * frame[0] + np.sin(t)[:, None] * frame[1])
    xy = proj.points(ring)
    return _one(Path(xy, closed=True, filled=True), proj.points(points([xyz(c.center())]))[0])


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
    zc.Point3: lambda p, proj: _dots(proj.points(points([xyz(p)]))),
    zc.Vector3: lambda v, proj: _vector3(xyz(v), proj),
    zc.Direction3: lambda d, proj: _vector3(_unit([float(d.dx), float(d.dy), float(d.dz)], d), proj),
    zc.Segment3: lambda s, proj: _arrow(*proj.points(points([xyz(s.source()), xyz(s.target())]))),
    zc.Line3: lambda line, proj: _line3(line.point(0.0), line.to_vector(), False, proj),
    zc.Ray3: lambda r, proj: _line3(r.source(), r.to_vector(), True, proj),
    zc.Triangle3: lambda t, proj: _polygon(proj.points(points([xyz(t.vertex(i)) for i in range(3)]))),
    zc.Tetrahedron3: lambda t, proj: _solid([xyz(t.vertex(i)) for i in range(4)], _TETRAHEDRON_EDGES, proj),
    zc.IsoCuboid3: lambda c, proj: _cuboid(xyz(c.min()), xyz(c.max()), proj),
    zc.Bbox3: lambda b, proj: _cuboid([b.xmin, b.ymin, b.zmin], [b.xmax, b.ymax, b.zmax], proj),
    zc.Sphere3: lambda s, proj: _disc(proj.points(points([xyz(s.center())]))[0], float(s.squared_radius()), s),
    zc.Circle3: _circle3,
    zc.Plane3: _plane3,
}

_EXTRACT = {**_PLANAR, **_SPATIAL}

#: The core classes a drawing accepts.
DRAWABLE: tuple[type, ...] = tuple(_EXTRACT)


def _segment_set(obj: Any, proj: Projection) -> Figure:
    """An object drawn as many segments (a triangulation, a mesh): its
    ``_drawing_segments_()`` gives their ends, shape (K, 2, 2) or (K, 2, 3)."""
    ends = np.asarray(obj._drawing_segments_(), dtype=np.float64)
    if ends.shape[1:] not in ((2, 2), (2, 3)):
        raise ValueError(f"cannot draw {obj!r}: its segments have shape {ends.shape}, not (K, 2, 2) or (K, 2, 3)")
    if ends.shape[2] == 3:
        ends = proj.points(ends.reshape(-1, 3)).reshape(-1, 2, 2)
    return Figure((Edges(ends),) if len(ends) else (), ends[0, 0] if len(ends) else np.zeros(2))


def _point_set(obj: object, proj: Projection) -> tuple[Figure, str]:
    """An array-like of points: ``(N, 2)``, ``(N, 3)`` or one point."""
    try:
        xy = np.asarray(obj, dtype=np.float64)
    except (TypeError, ValueError):
        xy = np.empty(())
    if xy.ndim == 0:  # not an array at all: None, a number, something else
        names = ", ".join(t.__name__ for t in DRAWABLE)
        raise TypeError(
            f"cannot draw {type(obj).__name__}: expected one of {names}, or an (N, 2) or (N, 3) array of points"
        )
    if xy.ndim == 1:
        xy = xy.reshape(1, -1)
    if xy.ndim != 2 or xy.shape[1] not in (2, 3):
        raise ValueError(f"cannot draw an array of shape {xy.shape}: expected (N, 2) or (N, 3) points")
    what = f"an array of {xy.shape[0]} points"
    if xy.shape[1] == 3:
        xy = proj.points(xy)
    return Figure((Dots(xy),) if len(xy) else (), xy[0] if len(xy) else np.zeros(2)), what


def figure_of(obj: object, proj: Projection) -> Figure:
    """The shapes of one core object or array of points.

    Raises ``TypeError`` for anything else, and ``ValueError`` naming the
    object when it has no finite picture (NaN or infinite coordinates, a
    negative squared radius, a degenerate line or plane).
    """
    extract = _EXTRACT.get(type(obj))
    if extract is None and hasattr(type(obj), "_drawing_segments_"):
        figure, what = _segment_set(obj, proj), repr(obj)
    elif extract is None:
        figure, what = _point_set(obj, proj)
    else:
        figure, what = extract(obj, proj), repr(obj)
    if not figure.finite():
        raise ValueError(f"cannot draw {what}: its coordinates are not all finite (NaN or infinity)")
    return figure
