"""zenolith: geometry over whole arrays, exact predicates, intersections and
distances, and drawing, on top of the value classes of :mod:`zenolith_core`.

Every function takes and returns the core's classes (``Point2``,
``Triangle3``, ``AffTransformation2``, ...) and numpy arrays of coordinates.
"""

from __future__ import annotations

from .arrays import orientation
from .drawing import Drawing, plot

__all__ = [
    "orientation",
    "Drawing",
    "plot",
]
