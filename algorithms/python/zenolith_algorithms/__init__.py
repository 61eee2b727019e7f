"""zenolith_algorithms: zenolith's algorithm families, on the geometry
library's GPL-3.0-or-later algorithm packages.

This package is GPL-3.0-or-later: a program that distributes it must be
GPL-compatible. It installs only on request (``pip install
'zenolith[algorithms]'``); every name in ``__all__`` is also reachable as an
attribute of :mod:`zenolith`, imported on first use, while ``import zenolith``
alone never loads it.
"""

from __future__ import annotations

# A family whose extension takes or returns zenolith_core's classes imports
# zenolith_core before it (the classes must be registered in pybind11's
# shared internals first), in the family's own Python module.
from ._about import library_version
from .mesh import ClosestPoints, RayHitLists, RayHits, TriangleMesh
from .polygons import ConvexHull, Polygon2, PolygonWithHoles2, convex_hull, from_geo
from .triangulation import (
    AlphaShape2,
    AlphaShape3,
    ConstrainedDelaunay2,
    Delaunay2,
    Delaunay3,
    Voronoi,
    refine,
    triangulate_polygon,
)

__all__ = [
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
]
