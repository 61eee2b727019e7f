"""zenolith: geometry over whole arrays, exact predicates, intersections and
distances, and drawing, on top of the value classes of :mod:`zenolith_core`.

Every function takes and returns the core's classes (``Point2``,
``Triangle3``, ``AffTransformation2``, ...) and numpy arrays of coordinates.
"""

from __future__ import annotations

from . import exact
from .arrays import (
    bbox,
    bounded_side,
    has_on,
    lexicographic_order,
    orientation,
    oriented_side,
    points2,
    points3,
    projection,
    segments2,
    segments3,
    to_2d,
    to_3d,
    to_array,
    transform,
    transform_vectors,
    triangles2,
    triangles3,
    vectors2,
    vectors3,
    weighted_points2,
)
from .drawing import Drawing, plot
from .intersections import closest_point, do_intersect, intersection, squared_distance

__all__ = [
    "exact",
    "bbox",
    "bounded_side",
    "has_on",
    "lexicographic_order",
    "orientation",
    "oriented_side",
    "points2",
    "points3",
    "projection",
    "segments2",
    "segments3",
    "to_2d",
    "to_3d",
    "to_array",
    "transform",
    "transform_vectors",
    "triangles2",
    "triangles3",
    "vectors2",
    "vectors3",
    "weighted_points2",
    "Drawing",
    "plot",
    "do_intersect",
    "intersection",
    "squared_distance",
    "closest_point",
]
