"""Typed use of zenolith-algorithms, read by mypy --strict in
tests/algorithms/test_algorithms.py and never run. Every line with an ignore
comment must stay a type error, which the checker's unused-ignore warning
enforces."""

from typing import assert_type

import zenolith
import zenolith_algorithms
from zenolith import library_version

assert_type(zenolith_algorithms.library_version(), str)
assert_type(zenolith.library_version(), str)
assert_type(library_version(), str)

# What the checker must reject.
zenolith.library_versions()  # type: ignore[attr-defined]
zenolith.library_version(1)  # type: ignore[call-arg]

# The triangulations, through zenolith too.
import numpy as np
import numpy.typing as npt

from zenolith_algorithms.triangulation import ConstrainedDelaunay2, Voronoi

tri = zenolith.Delaunay2(np.zeros((3, 2)))
assert_type(tri.simplices, npt.NDArray[np.intp])
assert_type(tri.find_simplex([0.0, 0.0]), npt.NDArray[np.intp] | int)
assert_type(tri.voronoi(), Voronoi)
assert_type(zenolith.refine(zenolith.triangulate_polygon([[0, 0], [1, 0], [0, 1]]), min_angle=25), ConstrainedDelaunay2)
assert_type(zenolith.AlphaShape3(np.zeros((4, 3))).optimal_alpha(), float)
zenolith.refine(tri)  # type: ignore[arg-type]
zenolith.refine(zenolith.ConstrainedDelaunay2(), domain="outside")  # type: ignore[arg-type]

# Hulls and polygons.
from zenolith_algorithms.polygons import ConvexHull, PolygonWithHoles2

assert_type(zenolith.convex_hull(np.zeros((3, 2))), ConvexHull)
assert_type(zenolith.convex_hull(np.zeros((3, 2))).vertices, npt.NDArray[np.intp])
square = zenolith.Polygon2([[0, 0], [1, 0], [1, 1], [0, 1]])
assert_type(square.area, float)
assert_type(square.contains([0.5, 0.5]), npt.NDArray[np.bool_] | bool)
assert_type(square.intersection(square), list[PolygonWithHoles2])
assert_type(zenolith.from_geo(square), PolygonWithHoles2 | list[PolygonWithHoles2])
square.area = 2.0  # type: ignore[misc]

# Triangle meshes.
from zenolith_algorithms.mesh import RayHits, TriangleMesh

tet = zenolith.TriangleMesh(np.eye(3), [[0, 1, 2]])
assert_type(tet, TriangleMesh)
assert_type(tet.ray_first_hit([0, 0, 0], [[1, 1, 1]]), RayHits)
assert_type(tet.closest_point([[0, 0, 0]]).squared_distance, npt.NDArray[np.float64])
assert_type(tet.volume, float)
assert_type(tet.self_intersections(), npt.NDArray[np.int64])
tet.do_intersect(tet)  # type: ignore[arg-type]
tet.volume = 1.0  # type: ignore[misc]
