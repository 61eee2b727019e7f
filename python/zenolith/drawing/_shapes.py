"""The shapes a picture is made of: a few planar primitives in world
coordinates, each knowing what it needs to be seen and what of it a view
shows, and the figure that groups the shapes of one object.

Nothing here knows about SVG or matplotlib; both writers read the same
shapes, so a picture and a plot of the same objects agree. A new primitive
is one class here and one entry in each writer.
"""

from __future__ import annotations

import math
from abc import ABC, abstractmethod
from dataclasses import dataclass

import numpy as np

from ._viewbox import XY, View, clip_polygon, clip_segment, points, span, widened


def _nothing() -> XY:
    return np.empty((0, 2))


class Shape(ABC):
    """A planar primitive in world coordinates."""

    @abstractmethod
    def finite(self) -> bool:
        """Whether every number that places the shape is finite."""

    @abstractmethod
    def extent(self, alone: bool = False) -> XY:
        """The points that must be in view for the shape to be seen.

        Lines reach every view by themselves and need none, unless nothing
        bounded is drawn (``alone``): then the view is fitted to their points.
        """

    @abstractmethod
    def visible(self, view: View) -> list[Shape]:
        """What of the shape can be seen in the view, with coordinates that
        stay near it: lines and rays end at its edges; bounded shapes are cut
        at a box well beyond them, so that a far-away vertex never reaches a
        renderer as a huge number and no cut is in sight."""


@dataclass(frozen=True)
class Dots(Shape):
    """Points, drawn as dots of the same screen size at any zoom."""

    xy: XY

    def finite(self) -> bool:
        return bool(np.all(np.isfinite(self.xy)))

    def extent(self, alone: bool = False) -> XY:
        return self.xy

    def visible(self, view: View) -> list[Shape]:
        box = widened(view)
        x, y = self.xy[:, 0], self.xy[:, 1]
        near = (box.xmin <= x) & (x <= box.xmax) & (box.ymin <= y) & (y <= box.ymax)
        return [Dots(self.xy[near])] if near.any() else []


@dataclass(frozen=True)
class Path(Shape):
    """A polyline through ``xy``, or a polygon when closed.

    ``oriented`` paths run from their first point to their last (segments,
    vectors) and may end in an arrowhead.
    """

    xy: XY
    closed: bool = False
    filled: bool = False
    stroked: bool = True
    oriented: bool = False

    def finite(self) -> bool:
        return bool(np.all(np.isfinite(self.xy)))

    def extent(self, alone: bool = False) -> XY:
        return self.xy

    def visible(self, view: View) -> list[Shape]:
        return self.clipped(widened(view))

    def clipped(self, box: View) -> list[Shape]:
        """The part inside the box: a polygon stays one polygon, a polyline
        falls into the pieces of its segments (the last keeps the arrowhead)."""
        if self.closed:
            xy = clip_polygon(self.xy, box)
            return [Path(xy, True, self.filled, self.stroked)] if len(xy) else []
        pieces: list[Shape] = []
        last = len(self.xy) - 2
        for k in range(last + 1):
            ends = clip_segment(self.xy[k].tolist(), self.xy[k + 1].tolist(), box)
            if ends is not None:
                pieces.append(Path(ends, stroked=self.stroked, oriented=self.oriented and k == last))
        return pieces


@dataclass(frozen=True)
class Edges(Shape):
    """Many unoriented segments, ``xy`` of shape (K, 2, 2): the edges of a
    triangulation or a mesh, written as one element however many there are."""

    xy: XY

    def finite(self) -> bool:
        return bool(np.all(np.isfinite(self.xy)))

    def extent(self, alone: bool = False) -> XY:
        return self.xy.reshape(-1, 2)

    def visible(self, view: View) -> list[Shape]:
        box = widened(view)
        x, y = self.xy[:, :, 0], self.xy[:, :, 1]
        near = ((x.max(axis=1) >= box.xmin) & (x.min(axis=1) <= box.xmax)
                & (y.max(axis=1) >= box.ymin) & (y.min(axis=1) <= box.ymax))
        inside = near & ((box.xmin <= x) & (x <= box.xmax) & (box.ymin <= y) & (y <= box.ymax)).all(axis=1)
        # the few that reach beyond the box are cut at it, one by one
        cut = [ends for s in self.xy[near & ~inside].tolist()
               if (ends := clip_segment(s[0], s[1], box)) is not None]
        kept = np.concatenate([self.xy[inside], np.array(cut).reshape(-1, 2, 2)])
        return [Edges(kept)] if len(kept) else []


@dataclass(frozen=True)
class Disc(Shape):
    """A filled circle of the given radius in world units."""

    center: XY
    radius: float

    def finite(self) -> bool:
        return bool(np.all(np.isfinite(self.center))) and math.isfinite(self.radius)

    def extent(self, alone: bool = False) -> XY:
        return np.stack([self.center - self.radius, self.center + self.radius])

    def visible(self, view: View) -> list[Shape]:
        box = widened(view)
        (x, y), r = self.center.tolist(), self.radius
        if x + r < box.xmin or x - r > box.xmax or y + r < box.ymin or y - r > box.ymax:
            return []  # its centre might be too far away for a pixel coordinate
        huge = r > 1e3 * max(view.width, view.height)
        return self._near(box) if huge else [self]

    def _near(self, box: View) -> list[Shape]:
        """A disc far larger than the box, as polygons: the arc of its boundary
        near the box (stroked) and a band inside that arc (filled). Its centre
        and radius in pixels would be numbers no renderer draws faithfully."""
        mid = np.array([(box.xmin + box.xmax) / 2, (box.ymin + box.ymax) / 2])
        reach = math.hypot(box.width, box.height) / 2
        r, away = self.radius, float(np.hypot(*(mid - self.center)))
        if away - reach >= r:
            return []
        if away + reach <= r:  # the box is inside
            corners = points([[box.xmin, box.ymin], [box.xmax, box.ymin], [box.xmax, box.ymax], [box.xmin, box.ymax]])
            return [Path(corners, closed=True, filled=True, stroked=False)]
        towards = math.atan2(*(mid - self.center)[::-1])
        spread = min(math.pi, 4.0 * reach / r)
        t = np.linspace(towards - spread, towards + spread, 257)
        ring = np.column_stack([np.cos(t), np.sin(t)])
        arc = self.center + r * ring
        band = np.concatenate([arc, (self.center + (r - 3.0 * reach) * ring)[::-1]])
        fill = clip_polygon(band, box)
        shapes: list[Shape] = [Path(fill, closed=True, filled=True, stroked=False)] if len(fill) else []
        return shapes + Path(arc).clipped(box)


@dataclass(frozen=True)
class Unbounded(Shape):
    """A line through ``origin`` along ``direction`` (unit length), or the ray
    that starts there; drawn as far as the view box reaches."""

    origin: XY
    direction: XY
    ray: bool
    oriented: bool

    def finite(self) -> bool:
        return bool(np.all(np.isfinite(self.origin)) and np.all(np.isfinite(self.direction)))

    def extent(self, alone: bool = False) -> XY:
        return self.origin.reshape(1, 2) if self.ray or alone else _nothing()

    def visible(self, view: View) -> list[Shape]:
        ends = span(self.origin, self.direction, self.ray, view)
        return [] if ends is None else [Path(ends, oriented=self.oriented)]


@dataclass(frozen=True)
class Cover(Shape):
    """The whole view: the picture of a plane seen face-on."""

    def finite(self) -> bool:
        return True

    def extent(self, alone: bool = False) -> XY:
        return _nothing()

    def visible(self, view: View) -> list[Shape]:
        return [self]


@dataclass(frozen=True)
class Figure:
    """One object as shapes, with the point its label is written at."""

    shapes: tuple[Shape, ...]
    anchor: XY

    def finite(self) -> bool:
        """Whether the anchor and every shape are finite."""
        return bool(np.all(np.isfinite(self.anchor))) and all(s.finite() for s in self.shapes)

    def visible(self, view: View) -> list[Shape]:
        """What of the shapes the view shows, in painting order."""
        return [seen for shape in self.shapes for seen in shape.visible(view)]

    def label_anchor(self, view: View) -> XY | None:
        """Where the label goes, or None when that is far out of the view
        (as far as shapes are cut there, see ``Shape.visible``)."""
        box = widened(view)
        x, y = self.anchor.tolist()
        return self.anchor if box.xmin <= x <= box.xmax and box.ymin <= y <= box.ymax else None
