"""Delaunay triangulations, side by side with scipy.spatial on the same data:

1. planar Delaunay of uniform random points in the unit square: scipy's
   Delaunay(p) with .simplices and .neighbors against zenolith's
   Delaunay2(p) with the same two arrays (and whether both give the same
   triangles, which random points make unique);
2. planar Delaunay of an integer grid, with the flat triangles of each;
3. point location of random queries in the triangulation of 1: scipy's
   find_simplex against zenolith's (queries only: a first, untimed call
   lets scipy compute its barycentric transforms once), and the queries
   they answer with different triangles;
4. spatial Delaunay of uniform random points in the unit cube (and whether
   both give the same tetrahedra);
5. spatial Delaunay of an integer grid, with the flat tetrahedra of each
   (exact orientation zero);
6. the building of 1 and 4 against the same library calls made from a bare
   C++ program (benchmarks/bare_triangulation.cpp, compiled into
   build/bench/ when its source is newer than the binary).

Timings are the best of a few runs (these machines are noisy: read the
ratios, not the absolute times), in wall-clock and CPU time; the goals are
judged on CPU time (everything measured runs on one thread). It measures
and prints each goal's ratio; it does not fail."""

from __future__ import annotations

import argparse
import subprocess
import sys
import tempfile
from pathlib import Path
from typing import Any

import numpy as np
import numpy.typing as npt

try:
    import scipy.spatial
except ImportError:
    sys.exit("bench_triangulation needs scipy: pip install -r requirements-bench.txt")

from zenolith_algorithms.triangulation import Delaunay2, Delaunay3
from peers import bare_binary, best_times, goal

Floats = npt.NDArray[np.float64]
Ints = npt.NDArray[np.int64]



# --- the two sides ---------------------------------------------------------

def scipy_delaunay(points: Floats) -> tuple[Any, np.ndarray, np.ndarray]:
    tri = scipy.spatial.Delaunay(points)
    return tri, tri.simplices, tri.neighbors


def zenolith_delaunay(points: Floats) -> tuple[Any, Ints, Ints]:
    tri = Delaunay2(points) if points.shape[1] == 2 else Delaunay3(points)
    return tri, tri.simplices, tri.neighbors


def timing_rows(title: str, scipy_t: tuple[float, float], ours_t: tuple[float, float], unit: str = "s") -> float:
    """Prints both routes' times and returns scipy / zenolith in CPU time."""
    scale = 1e3 if unit == "ms" else 1.0
    print(title)
    print(f"{'route':<28}{'wall ' + unit:>10}{'scipy/this':>12}{'CPU ' + unit:>10}{'scipy/this':>12}")
    for name, (w, c) in (("scipy.spatial", scipy_t), ("zenolith", ours_t)):
        print(f"{name:<28}{w * scale:>10.3f}{scipy_t[0] / w:>11.1f}x{c * scale:>10.3f}{scipy_t[1] / c:>11.1f}x")
    return scipy_t[1] / ours_t[1]


# --- checks ----------------------------------------------------------------

def canonical(simplices: np.ndarray) -> Ints:
    """The simplices as sorted rows in sorted order: equal for two
    triangulations with the same simplices, whatever their numbering."""
    rows = np.sort(simplices.astype(np.int64), axis=1)
    return rows[np.lexsort(rows.T[::-1])]


def same_simplices(a: np.ndarray, b: np.ndarray) -> bool:
    return a.shape == b.shape and bool(np.array_equal(canonical(a), canonical(b)))


def flat_count(points: Floats, simplices: np.ndarray) -> int:
    """Simplices of exact orientation zero, on integer coordinates: the
    determinant of (b - a, c - a[, d - a]) in int64 is exact for the small
    integers of a grid (numpy's float64 one would be too, every intermediate
    being an integer far below 2^53)."""
    ip = points.astype(np.int64)
    s = simplices.astype(np.int64)
    a = ip[s[:, 0]]
    e = [ip[s[:, k]] - a for k in range(1, s.shape[1])]
    if len(e) == 2:
        det = e[0][:, 0] * e[1][:, 1] - e[0][:, 1] * e[1][:, 0]
    else:
        u, v, w = e
        det = (u[:, 0] * (v[:, 1] * w[:, 2] - v[:, 2] * w[:, 1])
               - u[:, 1] * (v[:, 0] * w[:, 2] - v[:, 2] * w[:, 0])
               + u[:, 2] * (v[:, 0] * w[:, 1] - v[:, 1] * w[:, 0]))
    return int((det == 0).sum())


def grid(m: int, dim: int) -> Floats:
    """The m^dim integer grid, float64 coordinates."""
    axes = np.meshgrid(*([np.arange(m, dtype=np.float64)] * dim), indexing="ij")
    return np.ascontiguousarray(np.stack(axes, axis=-1).reshape(-1, dim))


# --- sections --------------------------------------------------------------

def random_section(points: Floats, repeat: int) -> tuple[float, tuple[float, float, int], Any, Any]:
    """scipy / zenolith in CPU time, zenolith's (wall, CPU, simplices),
    and both triangulations."""
    n, dim = points.shape
    sw, sc, (s_tri, s_simp, _) = best_times(lambda: scipy_delaunay(points), repeat)
    zw, zc, (z_tri, z_simp, _) = best_times(lambda: zenolith_delaunay(points), repeat)
    shape = "square" if dim == 2 else "cube"
    kind = "planar" if dim == 2 else "spatial"
    ratio = timing_rows(f"{kind} Delaunay of {n} uniform random points in the unit {shape}, "
                        f"construction with simplices and neighbors (best of {repeat})", (sw, sc), (zw, zc))
    print(f"simplices: scipy {len(s_simp)}, zenolith {len(z_simp)}; the same ones: "
          f"{'yes' if same_simplices(s_simp, z_simp) else 'NO'}")
    return ratio, (zw, zc, len(z_simp)), s_tri, (z_tri, z_simp)


def grid_section(m: int, dim: int, repeat: int) -> tuple[float, int, int]:
    points = grid(m, dim)
    sw, sc, (_, s_simp, _) = best_times(lambda: scipy_delaunay(points), repeat)
    zw, zc, (_, z_simp, _) = best_times(lambda: zenolith_delaunay(points), repeat)
    kind = "planar" if dim == 2 else "spatial"
    ratio = timing_rows(f"{kind} Delaunay of the {m}^{dim} integer grid ({len(points)} points), "
                        f"construction with simplices and neighbors (best of {repeat})", (sw, sc), (zw, zc))
    s_flat, z_flat = flat_count(points, s_simp), flat_count(points, z_simp)
    name = "triangles" if dim == 2 else "tetrahedra"
    print(f"{name}: scipy {len(s_simp)} ({s_flat} flat), zenolith {len(z_simp)} ({z_flat} flat)")
    return ratio, s_flat, z_flat


def location_section(s_tri: Any, ours: tuple[Any, Ints], queries: Floats, repeat: int) -> float:
    z_tri, z_simp = ours
    s_found, z_found = s_tri.find_simplex(queries), z_tri.find_simplex(queries)  # untimed warm-up
    sw, sc, _ = best_times(lambda: s_tri.find_simplex(queries), repeat)
    zw, zc, _ = best_times(lambda: z_tri.find_simplex(queries), repeat)
    ratio = timing_rows(f"point location of {len(queries)} random queries in the unit square, in the "
                        f"triangulation above (best of {repeat})", (sw, sc), (zw, zc), unit="ms")
    inside = (s_found >= 0) & (z_found >= 0)
    s_rows = np.sort(s_tri.simplices[s_found[inside]].astype(np.int64), axis=1)
    z_rows = np.sort(z_simp[z_found[inside]], axis=1)
    differ = int((s_rows != z_rows).any(axis=1).sum())
    one_side = int(((s_found >= 0) != (z_found >= 0)).sum())
    print(f"queries outside the hull: scipy {int((s_found < 0).sum())}, zenolith {int((z_found < 0).sum())}; "
          f"answered with different triangles: {differ}, inside for one side only: {one_side}")
    return ratio


def bare_section(binary: Path, points: Floats, ours: tuple[float, float, int], repeat: int,
                 workdir: Path) -> float | None:
    """zenolith (its timing from the random section) / bare C++ for
    building and reading the arrays, CPU time; None when the program
    failed."""
    n, dim = points.shape
    data = workdir / f"points{dim}.bin"
    np.ascontiguousarray(points, dtype=np.float64).tofile(data)
    done = subprocess.run([str(binary), str(dim), str(data), str(repeat)], capture_output=True, text=True)
    if done.returncode != 0:
        print(f"bare C++ program failed on {dim}D input: {done.stderr.strip()}")
        return None
    bw, bc, cells = done.stdout.split()
    bw_, bc_ = float(bw), float(bc)
    zw, zc, z_count = ours
    kind = "planar" if dim == 2 else "spatial"
    print(f"{kind} Delaunay of {n} random points, construction with simplices and neighbors "
          f"(best of {repeat})")
    print(f"{'route':<28}{'wall s':>10}{'this/bare':>12}{'CPU s':>10}{'this/bare':>12}")
    for name, w, c in (("bare C++", bw_, bc_), ("zenolith", zw, zc)):
        print(f"{name:<28}{w:>10.3f}{w / bw_:>11.2f}x{c:>10.3f}{c / bc_:>11.2f}x")
    if int(cells) != z_count:
        print(f"simplex counts differ: bare C++ {cells}, zenolith {z_count}")
    return zc / bc_


# --- main ------------------------------------------------------------------

def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quick", action="store_true",
                        help="smaller sizes: 10^5 points, a 300^2 grid, a 30^3 grid")
    parser.add_argument("-n", type=int, help="planar random points (10^6; quick 10^5)")
    parser.add_argument("--grid", type=int, help="planar grid side (1000; quick 300)")
    parser.add_argument("--queries", type=int, default=100_000, help="point location queries")
    parser.add_argument("--spatial", type=int, help="spatial random points (10^6; quick 10^5)")
    parser.add_argument("--spatial-grid", type=int, help="spatial grid side (50; quick 30)")
    parser.add_argument("--repeat", type=int, default=3, help="runs per timing (best kept)")
    args = parser.parse_args()
    n = args.n or (100_000 if args.quick else 1_000_000)
    side = args.grid or (300 if args.quick else 1000)
    spatial = args.spatial or (100_000 if args.quick else 1_000_000)
    spatial_side = args.spatial_grid or (30 if args.quick else 50)
    repeat = args.repeat

    rng = np.random.default_rng(2025)
    planar_points = rng.random((n, 2))
    queries = rng.random((args.queries, 2))
    spatial_points = rng.random((spatial, 3))

    planar, ours2, s_tri, ours = random_section(planar_points, repeat)
    print()
    located = location_section(s_tri, ours, queries, repeat)
    del s_tri, ours
    print()
    planar_grid, _, _ = grid_section(side, 2, repeat)
    print()
    space, ours3 = random_section(spatial_points, repeat)[:2]
    print()
    space_grid, s_flat, z_flat = grid_section(spatial_side, 3, repeat)
    print()
    floor2 = floor3 = None
    binary = bare_binary("bare_triangulation")
    if binary is not None:
        with tempfile.TemporaryDirectory(prefix="bench_triangulation") as tmp:
            floor2 = bare_section(binary, planar_points, ours2, repeat, Path(tmp))
            print()
            floor3 = bare_section(binary, spatial_points, ours3, repeat, Path(tmp))
    print()
    goal(f"planar Delaunay of {n} random points: scipy / zenolith", planar, 8)
    goal(f"planar Delaunay of the {side}^2 grid: scipy / zenolith", planar_grid, 15)
    goal(f"point location of {args.queries} queries among {n} points: scipy / zenolith", located, 30)
    goal(f"spatial Delaunay of {spatial} random points: scipy / zenolith", space, 5)
    print(f"goal: flat tetrahedra of zenolith on the {spatial_side}^3 grid = 0 "
          f"(got {z_flat}: {'met' if z_flat == 0 else 'NOT met'}; scipy's: {s_flat}); "
          f"scipy / zenolith there: {space_grid:.2f}")
    goal(f"planar build of {n} points: zenolith / bare C++", floor2, 2, at_most=True)
    goal(f"spatial build of {spatial} points: zenolith / bare C++", floor3, 2, at_most=True)


if __name__ == "__main__":
    main()
