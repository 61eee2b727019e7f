"""Triangle meshes: building the AABB tree, first-hit rays and closest
points, side by side with trimesh, a numpy Moller-Trumbore and a bare C++
program on the same data:

1. two meshes: an icosphere (an icosahedron subdivided 7 times with shared
   vertices, 327,680 faces on the unit sphere) and a soup of 3*10^5 small
   random triangles in the unit cube;
2. building: zenolith's TriangleMesh(v, f).build_tree() against trimesh's
   Trimesh(v, f, process=False) with its rtree-based RayMeshIntersector and
   the index forced (mesh.triangles_tree);
3. first hits of 10^6 rays from outside each mesh towards random points in
   or near it: zenolith's ray_first_hit(threads=1) against trimesh's
   intersects_location(multiple_hits=False) and a vectorised numpy
   Moller-Trumbore (every ray against every triangle), the peers on a
   sample of the same rays and compared per ray (with the rays of the
   sample whose answers differ); then the 10^6 rays with threads=2 against
   threads=1, in wall-clock time, with the machine's load average beside;
4. closest points of 10^5 random points near each mesh (within 0.1 of the
   sphere; in the soup's cube grown by 0.1): closest_point(threads=1)
   against trimesh.proximity.closest_point on a sample, compared per point;
5. the same building, rays and points from a bare C++ program on one
   thread calling the library as it comes (its stock tree traits and its
   closest-point search; benchmarks/bare_mesh.cpp, compiled into build/bench/
   when its source is newer than the binary): zenolith's tree replaces the
   ray and distance functors (exact hits and no overflow on huge
   coordinates) and searches closest points nearest first;
6. rays aimed exactly at vertices of an icosphere, and at vertices, edge
   midpoints and points of the diagonals of a cube whose faces are
   triangulated unit grids, from origins chosen so that the direction is
   exact (the ray passes through its target in exact arithmetic, and the
   target is its first point on the mesh): the rays each route answers with
   no hit or a first hit elsewhere.

Timings are the best of a few runs (these machines are noisy: read the
ratios, not the absolute times; the long runs of 10^6 rays are kept to two),
in wall-clock and CPU time; a peer on a sample is timed once, after an
untimed warm-up call that fills its lazy caches (face normals, the vertex
k-d tree), and extrapolated per ray or point. The whole run takes about
three minutes on two cores, most of it the 10^6 rays through the soup.
The goals are judged on CPU time per ray, per point or per build
(everything compared runs on one thread, numpy's BLAS included), the
thread speed-up on wall-clock time. It measures and prints each goal's
ratio; it does not fail."""

from __future__ import annotations

import argparse
import os
import subprocess
import sys
import tempfile
from pathlib import Path
from typing import Any, Callable, NamedTuple

# Everything compared runs on one thread: without this, OpenBLAS spreads the
# peers' larger dot products over every core (set before numpy loads it).
os.environ.setdefault("OPENBLAS_NUM_THREADS", "1")

import numpy as np  # noqa: E402
import numpy.typing as npt  # noqa: E402

try:
    import trimesh
    import trimesh.proximity
    from trimesh.ray.ray_triangle import RayMeshIntersector
except ImportError:
    sys.exit("bench_mesh needs trimesh and rtree: pip install -r requirements-bench.txt")

from zenolith_algorithms.mesh import TriangleMesh
from peers import bare_binary, best_times, goal

Floats = npt.NDArray[np.float64]
Ints = npt.NDArray[np.int64]
Bools = npt.NDArray[np.bool_]


# A first hit this close to the aimed-at point is a hit of it: the routes
# round their constructions to doubles, the next surface is far away.
TARGET_TOLERANCE = 1e-9
# Two routes' distances this close (relative) count as the same answer.
SAME_DISTANCE = 1e-9


class Scene(NamedTuple):
    """A mesh and its queries."""

    name: str
    vertices: Floats
    faces: Ints
    origins: Floats
    directions: Floats
    points: Floats


class Timed(NamedTuple):
    """One route's best wall-clock and CPU seconds over `items` items."""

    wall: float
    cpu: float
    items: int


# --- meshes and queries ----------------------------------------------------

def icosphere(subdivisions: int) -> tuple[Floats, Ints]:
    """The unit sphere as an icosahedron whose triangles are split in four
    `subdivisions` times, new vertices pushed onto the sphere; every edge's
    midpoint is made once and shared by the two faces beside it. Faces are
    counter-clockwise seen from outside: 20 * 4^subdivisions of them."""
    t = (1.0 + 5.0 ** 0.5) / 2.0
    v = np.array([[-1, t, 0], [1, t, 0], [-1, -t, 0], [1, -t, 0], [0, -1, t], [0, 1, t],
                  [0, -1, -t], [0, 1, -t], [t, 0, -1], [t, 0, 1], [-t, 0, -1], [-t, 0, 1]], dtype=np.float64)
    f = np.array([[0, 11, 5], [0, 5, 1], [0, 1, 7], [0, 7, 10], [0, 10, 11], [1, 5, 9], [5, 11, 4],
                  [11, 10, 2], [10, 7, 6], [7, 1, 8], [3, 9, 4], [3, 4, 2], [3, 2, 6], [3, 6, 8],
                  [3, 8, 9], [4, 9, 5], [2, 4, 11], [6, 2, 10], [8, 6, 7], [9, 8, 1]], dtype=np.int64)
    v /= np.linalg.norm(v, axis=1, keepdims=True)
    for _ in range(subdivisions):
        nv, nf = len(v), len(f)
        # Edges (0,1), (1,2), (2,0) of every face, keyed by their sorted ends:
        # one new vertex per distinct key.
        a, b = f, np.roll(f, -1, axis=1)
        key = (np.minimum(a, b) * nv + np.maximum(a, b)).T.ravel()
        keys, inverse = np.unique(key, return_inverse=True)
        lo, hi = np.divmod(keys, nv)
        mid = v[lo] + v[hi]
        mid /= np.linalg.norm(mid, axis=1, keepdims=True)
        m01, m12, m20 = (inverse.reshape(3, nf) + nv)
        c0, c1, c2 = f.T
        f = np.concatenate([np.stack(rows, axis=1) for rows in
                            ((c0, m01, m20), (m01, c1, m12), (m20, m12, c2), (m01, m12, m20))])
        v = np.concatenate([v, mid])
    return v, f


def triangle_soup(n: int, size: float, rng: np.random.Generator) -> tuple[Floats, Ints]:
    """n triangles with corners at most `size` from their centres in each
    coordinate, centres uniform where that keeps them in the unit cube; no
    vertex is shared."""
    centres = rng.uniform(size, 1.0 - size, (n, 1, 3))
    corners = centres + rng.uniform(-size, size, (n, 3, 3))
    return corners.reshape(-1, 3), np.arange(3 * n, dtype=np.int64).reshape(n, 3)


def unit_vectors(n: int, rng: np.random.Generator) -> Floats:
    """n directions uniform on the unit sphere."""
    u = rng.normal(size=(n, 3))
    return u / np.linalg.norm(u, axis=1, keepdims=True)


def sphere_scene(subdivisions: int, rays: int, points: int, rng: np.random.Generator) -> Scene:
    """Rays from distance 3 towards points uniform in the ball of radius 1.1
    (some of them miss); query points within 0.1 of the sphere."""
    v, f = icosphere(subdivisions)
    origins = 3.0 * unit_vectors(rays, rng)
    targets = 1.1 * unit_vectors(rays, rng) * rng.random((rays, 1)) ** (1 / 3)
    queries = unit_vectors(points, rng) * rng.uniform(0.9, 1.1, (points, 1))
    return Scene(f"icosphere ({len(f)} faces)", v, f, origins, targets - origins, queries)


def soup_scene(n: int, rays: int, points: int, rng: np.random.Generator) -> Scene:
    """Rays from distance 2 of the cube's centre towards points uniform in
    the cube grown by 0.05; query points uniform in the cube grown by 0.1."""
    v, f = triangle_soup(n, 0.01, rng)
    origins = 0.5 + 2.0 * unit_vectors(rays, rng)
    targets = rng.uniform(-0.05, 1.05, (rays, 3))
    queries = rng.uniform(-0.1, 1.1, (points, 3))
    return Scene(f"soup ({n} random triangles)", v, f, origins, targets - origins, queries)


def grid_cube(n: int) -> tuple[Floats, Ints]:
    """The surface of the cube [0, n]^3, each face cut into n x n unit
    squares and each square into two triangles along a diagonal that
    alternates like a chessboard; integer vertices, shared, faces
    counter-clockwise seen from outside."""
    i, j = (g.ravel() for g in np.meshgrid(np.arange(n), np.arange(n), indexing="ij"))
    square = np.stack([np.stack([i, j], 1), np.stack([i + 1, j], 1),
                       np.stack([i + 1, j + 1], 1), np.stack([i, j + 1], 1)], axis=1)  # (n^2, 4, 2)
    even = ((i + j) % 2 == 0)[:, None]
    # Even squares are cut along corners 0-2, odd ones along 1-3.
    first = np.where(even, [[0, 1, 2]], [[0, 1, 3]])
    second = np.where(even, [[0, 2, 3]], [[1, 2, 3]])
    corners = np.concatenate([np.take_along_axis(square, first[:, :, None], 1),
                              np.take_along_axis(square, second[:, :, None], 1)])  # (2n^2, 3, 2)
    triangles = []
    for axis in range(3):
        for side in (0, n):
            t = np.empty(corners.shape[:2] + (3,), dtype=np.int64)
            t[..., axis] = side
            t[..., (axis + 1) % 3] = corners[..., 0]
            t[..., (axis + 2) % 3] = corners[..., 1]
            triangles.append(t if side else t[:, ::-1])
    rows = np.concatenate(triangles).reshape(-1, 3)
    vertices, faces = np.unique(rows, axis=0, return_inverse=True)
    return vertices.astype(np.float64), faces.reshape(-1, 3).astype(np.int64)


def grid_cube_targets(n: int) -> tuple[Floats, Ints, Ints]:
    """Points of each face of grid_cube(n): its vertices, the midpoints of
    its grid edges and the points at a quarter, a half and three quarters of
    every square's diagonal, all exact in doubles. Returned with the axis
    normal to the face they were taken from and its side (-1 or +1)."""
    k = np.arange(n + 1.0)
    c = np.arange(n) + 0.5
    vertices = np.stack(np.meshgrid(k, k, indexing="ij"), -1).reshape(-1, 2)
    across = np.stack(np.meshgrid(c, k, indexing="ij"), -1).reshape(-1, 2)
    edges = np.concatenate([across, across[:, ::-1]])
    i, j = (g.ravel() for g in np.meshgrid(np.arange(n), np.arange(n), indexing="ij"))
    even = (i + j) % 2 == 0
    diagonal = []
    for s in (0.25, 0.5, 0.75):
        # along 0-2 from (i, j) to (i+1, j+1); along 1-3 from (i+1, j) to (i, j+1)
        diagonal.append(np.stack([np.where(even, i + s, i + 1 - s), j + s], 1))
    flat = np.concatenate([vertices, edges, *diagonal])
    targets, axes, sides = [], [], []
    for axis in range(3):
        for side in (0, n):
            p = np.empty((len(flat), 3))
            p[:, axis] = side
            p[:, (axis + 1) % 3] = flat[:, 0]
            p[:, (axis + 2) % 3] = flat[:, 1]
            targets.append(p)
            axes.append(np.full(len(flat), axis))
            sides.append(np.full(len(flat), 1 if side else -1))
    return np.concatenate(targets), np.concatenate(axes), np.concatenate(sides)


def exact_rays_at_vertices(vertices: Floats, per_target: int,
                           rng: np.random.Generator) -> tuple[Floats, Floats, Floats]:
    """Rays through mesh vertices from outside a convex mesh around the
    origin: each origin coordinate is the vertex's times a random factor in
    [1.5, 2], so the difference (the direction) is exact (Sterbenz), the
    origin is at least 1.5 times as far out as the vertex, and the direction
    is within 20 degrees of pointing straight inwards."""
    targets = np.repeat(vertices, per_target, axis=0)
    origins = targets * rng.uniform(1.5, 2.0, targets.shape)
    directions = targets - origins
    assert np.array_equal(origins + directions, targets) and np.array_equal(targets - directions, origins)
    return origins, directions, targets


def exact_rays_at_cube(n: int, per_target: int, rng: np.random.Generator) -> tuple[Floats, Floats, Floats]:
    """Rays through the points of grid_cube_targets(n), each from an origin
    1 to 4 units outside its face's plane and up to 3 units aside (whole
    units): origins and directions are small multiples of 1/4, exact, and
    the ray meets nothing of the cube before it reaches its target."""
    targets, axes, sides = grid_cube_targets(n)
    targets = np.repeat(targets, per_target, axis=0)
    axes, sides = np.repeat(axes, per_target), np.repeat(sides, per_target)
    offsets = rng.integers(-3, 4, targets.shape).astype(np.float64)
    rows = np.arange(len(targets))
    offsets[rows, axes] = sides * rng.integers(1, 5, len(targets))
    origins = targets + offsets
    return origins, -offsets, targets


# --- the peers -------------------------------------------------------------

def trimesh_build(vertices: Floats, faces: Ints) -> RayMeshIntersector:
    """trimesh's mesh as given (no merging or repair) and its rtree ray
    index, built now rather than on the first query."""
    mesh = trimesh.Trimesh(vertices, faces, process=False)
    intersector = RayMeshIntersector(mesh)
    intersector.mesh.triangles_tree  # noqa: B018 (forces the rtree index)
    return intersector


def trimesh_first_hits(intersector: RayMeshIntersector, origins: Floats, directions: Floats,
                       batch: int = 64) -> tuple[Bools, Floats]:
    """Whether each ray hits and where, in batches: trimesh gathers every
    candidate triangle of all the rays of one call in memory at once, and a
    long ray through a large mesh has tens of thousands."""
    n = len(origins)
    hit = np.zeros(n, dtype=bool)
    where = np.full((n, 3), np.nan)
    for s in range(0, n, batch):
        locations, index_ray, _ = intersector.intersects_location(
            origins[s:s + batch], directions[s:s + batch], multiple_hits=False)
        if len(index_ray):
            hit[s + index_ray] = True
            where[s + index_ray] = locations
    return hit, where


def moller_trumbore(triangles: Floats, origins: Floats, directions: Floats,
                    block: int = 1 << 21) -> tuple[Ints, Floats]:
    """The first triangle each ray hits (-1 if none) and the ray parameter
    there (inf if none): every ray against every triangle, as many rays at a
    time as keep the arrays near `block` elements, the textbook test with
    closed bounds and no tolerance (a zero determinant is no hit)."""
    v0 = triangles[:, 0]
    e1x, e1y, e1z = (triangles[:, 1] - v0).T.copy()
    e2x, e2y, e2z = (triangles[:, 2] - v0).T.copy()
    v0x, v0y, v0z = v0.T.copy()
    n = len(origins)
    face = np.full(n, -1, dtype=np.int64)
    param = np.full(n, np.inf)
    rows = max(1, block // len(triangles))
    with np.errstate(divide="ignore", invalid="ignore", over="ignore"):
        for s in range(0, n, rows):
            ox, oy, oz = (origins[s:s + rows, k:k + 1] for k in range(3))
            dx, dy, dz = (directions[s:s + rows, k:k + 1] for k in range(3))
            px, py, pz = dy * e2z - dz * e2y, dz * e2x - dx * e2z, dx * e2y - dy * e2x
            det = e1x * px + e1y * py + e1z * pz
            inv = 1.0 / det
            tx, ty, tz = ox - v0x, oy - v0y, oz - v0z
            u = (tx * px + ty * py + tz * pz) * inv
            qx, qy, qz = ty * e1z - tz * e1y, tz * e1x - tx * e1z, tx * e1y - ty * e1x
            v = (dx * qx + dy * qy + dz * qz) * inv
            t = (e2x * qx + e2y * qy + e2z * qz) * inv
            ok = (det != 0) & (u >= 0) & (v >= 0) & (u + v <= 1) & (t >= 0)
            t = np.where(ok, t, np.inf)
            first = np.argmin(t, axis=1)
            best = t[np.arange(len(t)), first]
            face[s:s + rows] = np.where(np.isfinite(best), first, -1)
            param[s:s + rows] = best
    return face, param


def moller_trumbore_points(triangles: Floats, origins: Floats, directions: Floats) -> tuple[Bools, Floats]:
    """Whether each ray hits and where, by moller_trumbore."""
    face, param = moller_trumbore(triangles, origins, directions)
    hit = face >= 0
    where = np.full(origins.shape, np.nan)
    where[hit] = origins[hit] + param[hit, None] * directions[hit]
    return hit, where


# --- printing --------------------------------------------------------------

def per_item_rows(title: str, unit: str, rows: list[tuple[str, Timed]]) -> dict[str, float]:
    """Prints each route's time per item and its ratio to zenolith's (the
    first row), this / zenolith: above 1 where zenolith is faster. Returns
    those ratios in CPU time by route name."""
    _, ours = rows[0]
    ow, oc = ours.wall / ours.items, ours.cpu / ours.items
    print(title)
    print(f"{'route':<36}{unit + 's':>10}{'wall us/' + unit:>14}{'this/zen':>10}"
          f"{'CPU us/' + unit:>13}{'this/zen':>10}")
    ratios = {}
    for name, t in rows:
        w, c = t.wall / t.items, t.cpu / t.items
        ratios[name] = c / oc
        print(f"{name:<36}{t.items:>10}{w * 1e6:>14.3f}{w / ow:>9.1f}x{c * 1e6:>13.3f}{c / oc:>9.1f}x")
    return ratios


def timed(fn: Callable[[], Any], repeat: int, items: int) -> tuple[Timed, Any]:
    """best_times of fn over `items` items, and its last result."""
    wall, cpu, result = best_times(fn, repeat)
    return Timed(wall, cpu, items), result


def distances_differ(a: Floats, b: Floats) -> Bools:
    """Where two routes' distances are not the same answer (inf for no hit
    on both sides is the same answer)."""
    both = np.isfinite(a) & np.isfinite(b)
    with np.errstate(invalid="ignore"):
        close = np.abs(a - b) <= SAME_DISTANCE * (1.0 + np.abs(a))
    return np.where(both, ~close, np.isfinite(a) != np.isfinite(b))


# --- sections --------------------------------------------------------------

class Measured(NamedTuple):
    """What one scene's sections leave for the bare C++ comparison and the
    goals."""

    mesh: Any
    build: Timed
    rays: Timed
    points: Timed
    hits: int
    squared_sum: float
    ratios: dict[str, float | None]


def build_section(scene: Scene, repeat: int) -> tuple[Any, Timed, RayMeshIntersector, float]:
    """zenolith's mesh, its build time, trimesh's intersector and trimesh /
    zenolith in CPU time."""
    def ours() -> Any:
        mesh = TriangleMesh(scene.vertices, scene.faces)
        mesh.build_tree()
        return mesh

    t_ours, mesh = timed(ours, repeat, 1)
    t_peer, intersector = timed(lambda: trimesh_build(scene.vertices, scene.faces), 1, 1)
    print(f"building, {scene.name}: zenolith best of {repeat}, trimesh once")
    print(f"{'route':<36}{'wall s':>10}{'this/zen':>10}{'CPU s':>10}{'this/zen':>10}")
    for name, t in (("zenolith TriangleMesh.build_tree", t_ours), ("trimesh rtree ray index", t_peer)):
        print(f"{name:<36}{t.wall:>10.3f}{t.wall / t_ours.wall:>9.2f}x{t.cpu:>10.3f}{t.cpu / t_ours.cpu:>9.2f}x")
    return mesh, t_ours, intersector, t_peer.cpu / t_ours.cpu


def ray_section(scene: Scene, mesh: Any, intersector: RayMeshIntersector, repeat: int,
                trimesh_sample: int, mt_sample: int) -> tuple[Timed, Any, dict[str, float]]:
    o, d = scene.origins, scene.directions
    n = len(o)
    t_ours, h = timed(lambda: mesh.ray_first_hit(o, d, threads=1), repeat, n)

    k = min(trimesh_sample, n)
    trimesh_first_hits(intersector, o[:8], d[:8])  # untimed warm-up: face normals
    t_tri, (tri_hit, tri_where) = timed(lambda: trimesh_first_hits(intersector, o[:k], d[:k]), 1, k)
    tri_distance = np.where(tri_hit, np.linalg.norm(tri_where - o[:k], axis=1), np.inf)

    m = min(mt_sample, n)
    triangles = scene.vertices[scene.faces]
    t_mt, (mt_face, mt_param) = timed(lambda: moller_trumbore(triangles, o[:m], d[:m]), 1, m)
    mt_distance = np.where(mt_face >= 0, mt_param * np.linalg.norm(d[:m], axis=1), np.inf)

    ratios = per_item_rows(
        f"first hits of rays from outside, {scene.name}, one thread "
        f"(zenolith best of {repeat}, peers once on the first rays)", "ray",
        [("zenolith ray_first_hit", t_ours), ("trimesh intersects_location", t_tri),
         ("numpy Moller-Trumbore", t_mt)])
    distance = np.asarray(h.distance)
    print(f"rays hitting: zenolith {int(np.count_nonzero(h.hit))} of {n}; answered differently "
          f"(hit or not, or the first hit's distance): trimesh "
          f"{int(distances_differ(distance[:k], tri_distance).sum())} of {k}, Moller-Trumbore "
          f"{int(distances_differ(distance[:m], mt_distance).sum())} of {m}")
    return t_ours, h, ratios


def thread_section(scene: Scene, mesh: Any, single: Timed, repeat: int) -> tuple[float, tuple[float, ...]]:
    """threads=1 / threads=2 in wall-clock time on the same rays, and the
    load average just before."""
    load = os.getloadavg()
    o, d = scene.origins, scene.directions
    two, _ = timed(lambda: mesh.ray_first_hit(o, d, threads=2), repeat, len(o))
    speedup = single.wall / two.wall
    print(f"the same {len(o)} rays on two threads (best of {repeat}): wall {two.wall:.3f} s against "
          f"{single.wall:.3f} s on one, {speedup:.2f}x faster (CPU {two.cpu:.3f} s against "
          f"{single.cpu:.3f} s); load average before: {load[0]:.2f} {load[1]:.2f} {load[2]:.2f}")
    return speedup, load


def closest_section(scene: Scene, mesh: Any, intersector: RayMeshIntersector, repeat: int,
                    trimesh_sample: int) -> tuple[Timed, Any, float]:
    q = scene.points
    n = len(q)
    t_ours, c = timed(lambda: mesh.closest_point(q, threads=1), repeat, n)
    k = min(trimesh_sample, n)
    tmesh = intersector.mesh
    trimesh.proximity.closest_point(tmesh, q[:8])  # untimed warm-up: the vertex k-d tree
    t_tri, (_, tri_distance, _) = timed(lambda: trimesh.proximity.closest_point(tmesh, q[:k]), 1, k)
    ratios = per_item_rows(
        f"closest points, {scene.name}, one thread (zenolith best of {repeat}, trimesh once on the "
        f"first points)", "point",
        [("zenolith closest_point", t_ours), ("trimesh proximity.closest_point", t_tri)])
    ours = np.sqrt(np.asarray(c.squared_distance)[:k])
    differ = distances_differ(ours, tri_distance)
    # trimesh takes two faces whose squared distances differ by less than 1e-8
    # as equally near and picks one by its normal, which close to the surface
    # can be the farther face: a farther answer is that, a nearer one our miss
    farther = int(np.count_nonzero(differ & (tri_distance > ours)))
    print(f"distances differing from trimesh's: {int(differ.sum())} of {k} "
          f"(trimesh's farther: {farther}, nearer: {int(differ.sum()) - farther})")
    return t_ours, c, ratios["trimesh proximity.closest_point"]


def bare_section(binary: Path, scene: Scene, ours: Measured, repeat: int, ray_repeat: int,
                 workdir: Path) -> tuple[float, float, float] | None:
    """zenolith / bare C++ in CPU time for building, rays and points (the
    zenolith timings from the sections above); None when the program
    failed."""
    files = {"vertices": scene.vertices, "faces": scene.faces.astype(np.int64),
             "rays": np.hstack([scene.origins, scene.directions]), "points": scene.points}
    paths = []
    for name, array in files.items():
        path = workdir / f"{name}.bin"
        np.ascontiguousarray(array).tofile(path)
        paths.append(str(path))
    done = subprocess.run([str(binary), *paths, str(repeat), str(ray_repeat)], capture_output=True, text=True)
    if done.returncode != 0:
        print(f"bare C++ program failed on the {scene.name}: {done.stderr.strip()}")
        return None
    fields = done.stdout.split()
    bw, bc, rw, rc, pw, pc = map(float, fields[:6])
    hits, squared_sum = int(fields[6]), float(fields[7])
    print(f"the same calls from bare C++ on one thread, {scene.name} (best of {repeat}, rays of {ray_repeat})")
    print(f"{'what':<36}{'bare wall s':>12}{'this/bare':>10}{'bare CPU s':>12}{'this/bare':>10}")
    ratios = []
    for what, w, c, t in (("build", bw, bc, ours.build), (f"{ours.rays.items} rays", rw, rc, ours.rays),
                          (f"{ours.points.items} closest points", pw, pc, ours.points)):
        print(f"{'zenolith / bare, ' + what:<36}{w:>12.3f}{t.wall / w:>9.2f}x{c:>12.3f}{t.cpu / c:>9.2f}x")
        ratios.append(t.cpu / c)
    if hits != ours.hits:
        print(f"rays hitting differ: bare C++ {hits}, zenolith {ours.hits}")
    if abs(squared_sum - ours.squared_sum) > 1e-9 * abs(squared_sum):
        print(f"summed squared distances differ: bare C++ {squared_sum!r}, zenolith {ours.squared_sum!r}")
    return ratios[0], ratios[1], ratios[2]


def target_misses(hit: Bools, where: Floats, targets: Floats) -> int:
    """Rays whose first hit is missing or not at their target."""
    off = np.linalg.norm(np.where(hit[:, None], where, np.inf) - targets, axis=1)
    return int(np.count_nonzero(~(off <= TARGET_TOLERANCE * (1.0 + np.linalg.norm(targets, axis=1)))))


def exact_section(big_sphere: Any, big_vertices: Floats, subdivisions: int, cube: int,
                  rng: np.random.Generator) -> tuple[int, int, int]:
    """Misses of rays aimed exactly at vertices, edges and diagonals: the
    totals of zenolith, trimesh and the Moller-Trumbore."""
    sets = []
    v, f = icosphere(subdivisions)
    sets.append((f"icosphere ({len(f)} faces), every vertex twice", v, f,
                 exact_rays_at_vertices(v, 2, rng)))
    v, f = grid_cube(cube)
    sets.append((f"grid cube {cube}^3 ({len(f)} faces), vertices, edge midpoints, diagonals, twice each",
                 v, f, exact_rays_at_cube(cube, 2, rng)))
    print("rays aimed exactly at points of the mesh: those missed or hit first elsewhere")
    print(f"{'rays':<78}{'count':>8}{'zenolith':>10}{'trimesh':>9}{'M-T':>7}")
    totals = [0, 0, 0]
    for name, v, f, (o, d, targets) in sets:
        h = TriangleMesh(v, f).ray_first_hit(o, d)
        ours = target_misses(np.asarray(h.hit), np.asarray(h.point), targets)
        theirs = target_misses(*trimesh_first_hits(trimesh_build(v, f), o, d), targets)
        mt = target_misses(*moller_trumbore_points(v[f], o, d), targets)
        for i, count in enumerate((ours, theirs, mt)):
            totals[i] += count
        print(f"{name:<78}{len(o):>8}{ours:>10}{theirs:>9}{mt:>7}")
    o, d, targets = exact_rays_at_vertices(big_vertices, 1, rng)
    h = big_sphere.ray_first_hit(o, d)
    ours = target_misses(np.asarray(h.hit), np.asarray(h.point), targets)
    totals[0] += ours
    print(f"{'icosphere of the sections above, every vertex once (zenolith only)':<78}{len(o):>8}{ours:>10}"
          f"{'-':>9}{'-':>7}")
    return totals[0], totals[1], totals[2]


# --- main ------------------------------------------------------------------

def main() -> None:
    """Runs every section on both meshes, then prints the goals."""
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quick", action="store_true",
                        help="smaller sizes: a 5-times subdivided icosphere, 2*10^4 triangles, "
                             "10^5 rays, 10^4 points")
    parser.add_argument("--subdivisions", type=int, help="icosphere subdivisions (7; quick 5)")
    parser.add_argument("--soup", type=int, help="random triangles (300000; quick 20000)")
    parser.add_argument("--rays", type=int, help="rays per mesh (10^6; quick 10^5)")
    parser.add_argument("--points", type=int, help="closest-point queries per mesh (10^5; quick 10^4)")
    parser.add_argument("--trimesh-rays", type=int, default=100, help="trimesh's sample of the rays")
    parser.add_argument("--mt-rays", type=int, default=200, help="the Moller-Trumbore's sample of the rays")
    parser.add_argument("--trimesh-points", type=int, default=10_000, help="trimesh's sample of the points")
    parser.add_argument("--repeat", type=int, default=3,
                        help="runs per zenolith and bare C++ timing of builds and points (best kept)")
    parser.add_argument("--ray-repeat", type=int, default=2,
                        help="runs per zenolith and bare C++ timing of the rays (best kept; each is long)")
    args = parser.parse_args()
    subdivisions = args.subdivisions if args.subdivisions is not None else (5 if args.quick else 7)
    soup = args.soup or (20_000 if args.quick else 300_000)
    rays = args.rays or (100_000 if args.quick else 1_000_000)
    points = args.points or (10_000 if args.quick else 100_000)
    repeat, ray_repeat = args.repeat, args.ray_repeat

    rng = np.random.default_rng(2025)
    scenes = [sphere_scene(subdivisions, rays, points, rng), soup_scene(soup, rays, points, rng)]
    print(f"samples: trimesh {min(args.trimesh_rays, rays)} rays and {min(args.trimesh_points, points)} points, "
          f"Moller-Trumbore {min(args.mt_rays, rays)} rays, of {rays} rays and {points} points per mesh\n")

    measured: list[Measured] = []
    for scene in scenes:
        mesh, t_build, intersector, build_ratio = build_section(scene, repeat)
        print()
        t_rays, h, ray_ratios = ray_section(scene, mesh, intersector, ray_repeat, args.trimesh_rays, args.mt_rays)
        print()
        speedup, load = thread_section(scene, mesh, t_rays, ray_repeat)
        print()
        t_points, c, point_ratio = closest_section(scene, mesh, intersector, repeat, args.trimesh_points)
        print()
        del intersector
        measured.append(Measured(
            mesh, t_build, t_rays, t_points, int(np.count_nonzero(h.hit)),
            float(np.sum(np.asarray(c.squared_distance))),
            {"build": build_ratio, "trimesh rays": ray_ratios["trimesh intersects_location"],
             "M-T rays": ray_ratios["numpy Moller-Trumbore"], "threads": speedup, "load": load[0],
             "points": point_ratio, "bare build": None, "bare rays": None, "bare points": None}))
        del h, c

    binary = bare_binary("bare_mesh")
    if binary is not None:
        with tempfile.TemporaryDirectory(prefix="bench_mesh") as tmp:
            for scene, ours in zip(scenes, measured):
                floor = bare_section(binary, scene, ours, repeat, ray_repeat, Path(tmp))
                print()
                if floor is not None:
                    ours.ratios.update(zip(("bare build", "bare rays", "bare points"), floor))

    misses = exact_section(measured[0].mesh, scenes[0].vertices, 4, 8, rng)
    print()
    for scene, ours in zip(scenes, measured):
        r = ours.ratios
        goal(f"building, {scene.name}: trimesh / zenolith", r["build"], 5)
        goal(f"first-hit rays, {scene.name}, per ray: trimesh / zenolith", r["trimesh rays"], 100)
        goal(f"first-hit rays, {scene.name}, per ray: numpy Moller-Trumbore / zenolith", r["M-T rays"], 100)
        goal(f"{rays} rays, {scene.name}, wall: one thread / two (load average {r['load']:.2f})",
             r["threads"], 1.7)
        goal(f"closest points, {scene.name}, per point: trimesh / zenolith", r["points"], 10)
        goal(f"building, {scene.name}: zenolith / bare C++", r["bare build"], 1.3, at_most=True)
        goal(f"{rays} rays, {scene.name}: zenolith / bare C++", r["bare rays"], 1.3, at_most=True)
        goal(f"{points} closest points, {scene.name}: zenolith / bare C++", r["bare points"], 1.3, at_most=True)
    print(f"goal: rays aimed exactly at vertices, edges and diagonals missed by zenolith = 0 "
          f"(got {misses[0]}: {'met' if misses[0] == 0 else 'NOT met'}; trimesh's: {misses[1]}, "
          f"the Moller-Trumbore's: {misses[2]})")


if __name__ == "__main__":
    main()
