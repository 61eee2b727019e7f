"""Spatial objects seen on a plane: the orthographic projection of drawings."""

from __future__ import annotations

from typing import Any

import numpy as np

import zenolith_core as zc

from ._viewbox import XY, points


def xyz(p: Any) -> list[float]:
    """The coordinates of a core point, vector or direction in space."""
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
        if not isinstance(plane, zc.Plane3):
            raise TypeError(f"plane must be a Plane3 or None, got {type(plane).__name__}")
        if plane.is_degenerate():
            raise ValueError(f"cannot project onto {plane!r}: a degenerate plane (a = b = c = 0) has no frame")
        base = points([xyz(plane.base1()), xyz(plane.base2())])
        with np.errstate(all="ignore"):
            self.axes = base / np.linalg.norm(base, axis=1, keepdims=True)
        self.origin = np.array(xyz(plane.point()))
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
