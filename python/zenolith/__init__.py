"""zenolith: geometry over whole arrays, exact predicates, intersections and
distances, drawing and mesh files, on top of the value classes of :mod:`zenolith_core`.

Every function takes and returns the core's classes (``Point2``,
``Triangle3``, ``AffTransformation2``, ...) and numpy arrays of coordinates.
"""

from __future__ import annotations

import importlib
import importlib.metadata
from typing import TYPE_CHECKING

from . import exact, meshio
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
from .intersections import (
    IntersectionKind,
    RowIntersections,
    all_pairs,
    closest_point,
    do_intersect,
    intersection,
    squared_distance,
    supported_pairs,
)
from .objects import (
    Bboxes2,
    Bboxes3,
    Circles2,
    IsoCuboids3,
    IsoRectangles2,
    Lines2,
    Lines3,
    ObjectArray,
    Planes3,
    Rays2,
    Rays3,
    Segments2,
    Segments3,
    Spheres3,
    Tetrahedra3,
    Triangles2,
    Triangles3,
    WeightedPoints2,
    as_object_array,
)

try:
    #: The installed distribution's version (``pip show zenolith``).
    __version__: str = importlib.metadata.version("zenolith")
except importlib.metadata.PackageNotFoundError:  # imported from a source tree
    __version__ = "0+unknown"

__all__ = [
    "exact",
    "meshio",
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
    "supported_pairs",
    "ObjectArray",
    "as_object_array",
    "Segments2",
    "Segments3",
    "Rays2",
    "Rays3",
    "Lines2",
    "Lines3",
    "Triangles2",
    "Triangles3",
    "Tetrahedra3",
    "IsoRectangles2",
    "IsoCuboids3",
    "Bboxes2",
    "Bboxes3",
    "Circles2",
    "Spheres3",
    "Planes3",
    "WeightedPoints2",
]

# The names of the GPL-licensed distribution zenolith-algorithms (its
# __all__), reachable as zenolith.<name>. They are imported on first access
# only: `import zenolith` itself must never load GPL code.
_ALGORITHM_NAMES = (
    "library_version",
    "Delaunay2",
    "Delaunay3",
    "ConstrainedDelaunay2",
    "Voronoi",
    "AlphaShape2",
    "AlphaShape3",
    "triangulate_polygon",
    "refine",
    "ConvexHull",
    "convex_hull",
    "Polygon2",
    "PolygonWithHoles2",
    "from_geo",
    "TriangleMesh",
    "RayHits",
    "RayHitLists",
    "ClosestPoints",
)

if TYPE_CHECKING:
    # For the type checker only; absent when the extra is not installed.
    from zenolith_algorithms import *  # type: ignore[import-not-found, unused-ignore]  # noqa: F403


def _algorithms_attribute(name: str) -> object:
    """Resolve ``zenolith.<name>`` for a name of zenolith-algorithms: import
    that package on first access and return its attribute.

    Raises ImportError naming the extra when zenolith-algorithms is not
    installed, and AttributeError for any other unknown name.
    """
    if name not in _ALGORITHM_NAMES:
        raise AttributeError(f"module {__name__!r} has no attribute {name!r}")
    try:
        algorithms = importlib.import_module("zenolith_algorithms")
    except ModuleNotFoundError as e:
        if e.name != "zenolith_algorithms":
            raise  # installed, but something it needs is missing: say that instead
        raise ImportError(
            f"zenolith.{name} comes from the GPL-licensed distribution zenolith-algorithms, "
            "which is not installed; install it with: pip install 'zenolith[algorithms]'",
            name="zenolith_algorithms",
        ) from e
    value: object = getattr(algorithms, name)
    globals()[name] = value  # later accesses skip this function
    return value


if not TYPE_CHECKING:
    # Hidden from the type checker, which sees the names themselves above and
    # keeps reporting misspelt attributes.
    __getattr__ = _algorithms_attribute
