"""The view box: the part of the picture plane a drawing shows, fitted around
the shapes, and the clipping of coordinates to a box.

Everything here works on plain planar coordinates; the shapes decide what
of them to fit and to clip (see ``Shape.extent`` and ``Shape.visible``).
"""

from __future__ import annotations

import math
import sys
from collections.abc import Sequence
from dataclasses import dataclass
from fractions import Fraction
from typing import TYPE_CHECKING

import numpy as np
import numpy.typing as npt

if TYPE_CHECKING:
    from ._shapes import Figure

#: Planar coordinates: one point ``(2,)`` or ``(N, 2)`` points.
XY = npt.NDArray[np.float64]


def points(rows: Sequence[Sequence[float]]) -> XY:
    """Rows of coordinates as an ``(N, dimension)`` array of doubles."""
    return np.array(rows, dtype=np.float64).reshape(len(rows), -1)


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


def fit(figures: list[Figure], margin: float) -> View:
    """The smallest box around every bounded shape, widened by ``margin`` times
    its larger side on each side.

    Lines count only when nothing else is drawn (then their own points are
    shown), an empty drawing shows the square [-1, 1]²; a box that would be
    flat gets some height (or width) so that its picture is not empty.
    """
    shapes = [s for f in figures for s in f.shapes]
    parts = [e for s in shapes if len(e := s.extent())]
    if not parts:
        parts = [e for s in shapes if len(e := s.extent(alone=True))]
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


#: The largest double: no finite coordinate lies beyond it.
_FAR = sys.float_info.max


def widened(view: View) -> View:
    """The view with half its larger side added all round: shapes are cut
    there, so that no cut is in sight. Sides that would pass the largest
    double stop there (no finite point lies beyond), so they stay finite."""
    pad = 0.5 * max(view.width, view.height)
    return View(max(view.xmin - pad, -_FAR), max(view.ymin - pad, -_FAR),
                min(view.xmax + pad, _FAR), min(view.ymax + pad, _FAR))


def span(origin: XY, direction: XY, ray: bool, view: View) -> XY | None:
    """The ends of the part of the line origin + t·direction (only t >= 0 for
    a ray) inside the view (Liang-Barsky); None when it misses the view.

    Computed in exact rationals and rounded once: with the origin far away,
    t and origin + t·direction in doubles would put the ends anywhere on the
    line (or at infinity), not on the view's edges.
    """
    o = [Fraction(v) for v in origin.tolist()]
    d = [Fraction(v) for v in direction.tolist()]
    lo: Fraction | None = Fraction(0) if ray else None
    hi: Fraction | None = None
    for p, dp, vmin, vmax in zip(o, d, (view.xmin, view.ymin), (view.xmax, view.ymax)):
        if dp == 0:
            if not vmin <= p <= vmax:
                return None
            continue
        t0, t1 = sorted(((Fraction(vmin) - p) / dp, (Fraction(vmax) - p) / dp))
        lo, hi = t0 if lo is None else max(lo, t0), t1 if hi is None else min(hi, t1)
    if lo is None or hi is None or lo > hi:  # no direction at all, or a miss
        return None
    return points([[float(a + t * b) for a, b in zip(o, d)] for t in (lo, hi)])


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


def clip_segment(p: list[float], q: list[float], view: View) -> XY | None:
    """The part of segment pq inside the view; None when it misses the view."""
    for axis, bound, below in _edges(view):
        p_in, q_in = _inside(p, axis, bound, below), _inside(q, axis, bound, below)
        if not (p_in or q_in):
            return None
        if not p_in:
            p = _cut(p, q, axis, bound)
        elif not q_in:
            q = _cut(p, q, axis, bound)
    return points([p, q])


def clip_polygon(xy: XY, view: View) -> XY:
    """The part of a polygon inside the view (Sutherland-Hodgman); no rows
    when the polygon misses the view."""
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
    return points(pts) if pts else np.empty((0, 2))
