"""Whole-array operations per element, side by side with (a) a Python loop
over the core's per-object calls, (b) the equivalent numpy expression,
(c) shapely 2's vectorised functions where one does the same job, and, for
orientation, (d) a bare C++ loop through the extension (the floor). Then the
throughput of two threads against one. Then zenolith.exact against the
double predicates: random arrays (the filter decides), fully degenerate
arrays (every row computed exactly), and one call.

Prints ns per element and the ratios; it measures, it does not judge (these
machines are noisy: read the ratios, not the absolute times). Every column
of the table runs on one thread and is timed in CPU time of the process, so
other work on a shared machine weighs less; the thread comparison is timed
on the wall clock."""

from __future__ import annotations

import argparse
import threading
import time
import timeit
from typing import Callable

import numpy as np
import shapely

import zenolith as zl
import zenolith_core as z
from zenolith import _native, exact


def best_time(fn: Callable[[], object], repeat: int,
              clock: Callable[[], float] = time.process_time) -> float:
    """The fastest of `repeat` runs, in seconds of `clock`."""
    best = float("inf")
    for _ in range(repeat):
        start = clock()
        fn()
        best = min(best, clock() - start)
    return best


def np_orientation(p, q, r):
    # the kernel's formula: the two products compared, never subtracted
    a = (q[:, 0] - p[:, 0]) * (r[:, 1] - p[:, 1])
    b = (q[:, 1] - p[:, 1]) * (r[:, 0] - p[:, 0])
    return (a > b).astype(np.int8) - (a < b)


def np_bounded_side_triangle(tri, x):
    # a counterclockwise triangle: inside when left of all three edges
    s = [np_orientation(np.broadcast_to(tri[i], x.shape), np.broadcast_to(tri[(i + 1) % 3], x.shape), x)
         for i in range(3)]
    inside = (s[0] > 0) & (s[1] > 0) & (s[2] > 0)
    outside = (s[0] < 0) | (s[1] < 0) | (s[2] < 0)
    return inside.astype(np.int8) - outside


def cases(n: int, rng: np.random.Generator):
    """(name, ours, python loop over core objects, numpy, shapely, bare C++)."""
    p, q, r = (rng.normal(size=(n, 2)) for _ in range(3))
    p3, q3 = rng.normal(size=(n, 3)), rng.normal(size=(n, 3))
    tri_xy = np.array([[-1.0, -1.0], [1.0, -1.0], [0.0, 1.0]])
    tri = z.Triangle2(*(z.Point2(*v) for v in tri_xy))
    polygon = shapely.Polygon(tri_xy)
    shapely.prepare(polygon)
    plane = z.Plane3(1.0, 2.0, -0.5, 0.25)
    t = z.AffTransformation2(0.6, -0.8, 1.0, 0.8, 0.6, 2.0)
    m = np.array([[0.6, -0.8, 1.0], [0.8, 0.6, 2.0]])
    # the core objects of the Python loops exist before the clock starts
    pts = zl.points2(p)
    qts, rts = zl.points2(q), zl.points2(r)
    pts3, qts3 = zl.points3(p3), zl.points3(q3)
    rings = shapely.linearrings(np.stack([p, q, r], axis=1))
    x, y = p[:, 0], p[:, 1]
    return [
        ("orientation (2D)",
         lambda: zl.orientation(p, q, r),
         lambda: [z.orientation(a, b, c) for a, b, c in zip(pts, qts, rts)],
         lambda: np_orientation(p, q, r),
         lambda: shapely.is_ccw(rings),
         lambda: _native._testing.orientation2_bare(p, q, r)),
        ("bounded_side(Triangle2, points)",
         lambda: zl.bounded_side(tri, p),
         lambda: [tri.bounded_side(a) for a in pts],
         lambda: np_bounded_side_triangle(tri_xy, p),
         lambda: shapely.contains_xy(polygon, x, y),
         None),
        ("oriented_side(Plane3, points)",
         lambda: zl.oriented_side(plane, p3),
         lambda: [plane.oriented_side(a) for a in pts3],
         lambda: np.sign(1.0 * p3[:, 0] + 2.0 * p3[:, 1] + -0.5 * p3[:, 2] + 0.25).astype(np.int8),
         None, None),
        ("squared_distance (3D)",
         lambda: zl.squared_distance(p3, q3),
         lambda: [(a - b).squared_length() for a, b in zip(pts3, qts3)],
         lambda: (lambda d: d[:, 0] * d[:, 0] + d[:, 1] * d[:, 1] + d[:, 2] * d[:, 2])(p3 - q3),
         lambda: shapely.distance(shapely.points(p3), shapely.points(q3)),
         None),
        ("transform (AffTransformation2)",
         lambda: zl.transform(t, p),
         lambda: [a.transform(t) for a in pts],
         lambda: np.stack([m[0, 0] * x + m[0, 1] * y + m[0, 2], m[1, 0] * x + m[1, 1] * y + m[1, 2]], 1),
         None, None),
        ("bbox (2D)",
         lambda: zl.bbox(p),
         lambda: sum((a.bbox() for a in pts[1:]), pts[0].bbox()),
         lambda: (p.min(axis=0), p.max(axis=0)),
         lambda: shapely.bounds(shapely.multipoints(p)),
         None),
        ("lexicographic_order (2D)",
         lambda: zl.lexicographic_order(p),
         lambda: sorted(range(n), key=pts.__getitem__),
         lambda: np.lexsort((y, x)),
         None, None),
        ("points2 (build core objects)",
         lambda: zl.points2(p),
         lambda: [z.Point2(a, b) for a, b in p.tolist()],
         None,
         lambda: shapely.points(p),
         None),
    ]


def measure_threads(n: int, repeat: int) -> float:
    """Throughput of two threads on two halves against one thread doing both."""
    p = np.random.default_rng(7).normal(size=(n, 2))
    tri = z.Triangle2(z.Point2(-1, -1), z.Point2(1, -1), z.Point2(0, 1))
    halves = [p[: n // 2], p[n // 2:]]

    def one() -> None:
        for h in halves:
            zl.bounded_side(tri, h)

    def two() -> None:
        threads = [threading.Thread(target=zl.bounded_side, args=(tri, h)) for h in halves]
        for th in threads:
            th.start()
        for th in threads:
            th.join()

    return best_time(one, repeat, time.perf_counter) / best_time(two, repeat, time.perf_counter)


def per_call(fn: Callable[[], object], repeat: int) -> float:
    """Best CPU time of one call of fn, in seconds (calls batched to ~0.2 s)."""
    timer = timeit.Timer(fn, timer=time.process_time)
    number, _ = timer.autorange()
    return min(timer.repeat(repeat=repeat, number=number)) / number


def row(name: str, base: float, other: float, unit: float, label: str) -> None:
    print(f"{name:<34}{base / unit:>11.1f}{other / unit:>11.1f} {label:<4}{other / base:>8.2f}x")


def near_edges(tri: z.Triangle2, m: int, rng: np.random.Generator) -> np.ndarray:
    """m points on the triangle's edges, each rounded to doubles: most lie a
    rounding off the edge, where the floating-point filter cannot decide."""
    corners = np.array([list(tri.vertex(k)) for k in range(3)])
    k = rng.integers(0, 3, m)
    t = rng.uniform(0, 1, (m, 1))
    return corners[k] + t * (corners[(k + 1) % 3] - corners[k])


def exact_section(n: int, repeat: int) -> None:
    print(f"{'exact (double / exact)':<34}{'double':>11}{'exact':>11}{'':5}{'ratio':>8}")
    rng = np.random.default_rng(7)
    p2, q2, r2 = (rng.uniform(-1, 1, (n, 2)) for _ in range(3))
    row(f"orientation, {n} random triples",
        best_time(lambda: zl.orientation(p2, q2, r2), repeat),
        best_time(lambda: exact.orientation(p2, q2, r2), repeat), n / 1e9, "ns")
    p3, q3, r3, s3 = (rng.uniform(-1, 1, (n, 3)) for _ in range(4))
    row(f"orientation 3D, {n} random",
        best_time(lambda: zl.orientation(p3, q3, r3, s3), repeat),
        best_time(lambda: exact.orientation(p3, q3, r3, s3), repeat), n / 1e9, "ns")
    # Exactly collinear triples p, 2p, 4p with full mantissas: r - p = 3p
    # rounds, so the filter cannot decide and every row is computed exactly.
    m = max(n // 10, 1)
    d = rng.uniform(-1, 1, (m, 2))
    d2, d4 = 2 * d, 4 * d
    row(f"orientation, {m} collinear triples",
        best_time(lambda: zl.orientation(d, d2, d4), repeat),
        best_time(lambda: exact.orientation(d, d2, d4), repeat), m / 1e9, "ns")
    # p, 2p, 4p and any fourth point: coplanar, and again beyond the filter
    e, f = rng.uniform(-1, 1, (m, 3)), rng.uniform(-1, 1, (m, 3))
    e2, e4 = 2 * e, 4 * e
    row(f"orientation 3D, {m} coplanar",
        best_time(lambda: zl.orientation(e, e2, e4, f), repeat),
        best_time(lambda: exact.orientation(e, e2, e4, f), repeat), m / 1e9, "ns")
    # Object predicates over random points, then over points a rounding away
    # from the triangle's edges (t times an edge's end, rounded).
    tri = z.Triangle2(z.Point2(-0.9, -0.8), z.Point2(0.95, -0.7), z.Point2(0.1, 0.9))
    for label, pts in [(f"{n} random", p2), (f"{m} near an edge", near_edges(tri, m, rng))]:
        rows = len(pts)
        row(f"bounded_side(Triangle2), {label}",
            best_time(lambda: zl.bounded_side(tri, pts), repeat),
            best_time(lambda: exact.bounded_side(tri, pts), repeat), rows / 1e9, "ns")
    plane = z.Plane3(0.3, -0.7, 0.2, 0.1)
    row(f"oriented_side(Plane3), {n} random",
        best_time(lambda: zl.oriented_side(plane, p3), repeat),
        best_time(lambda: exact.oriented_side(plane, p3), repeat), n / 1e9, "ns")
    circle = z.Circle2(z.Point2(0.1, 0.2), 0.5)
    row(f"bounded_side(Circle2), {n} random",
        best_time(lambda: zl.bounded_side(circle, p2), repeat),
        best_time(lambda: exact.bounded_side(circle, p2), repeat), n / 1e9, "ns")
    p, q, r = z.Point2(1.0, 2.0), z.Point2(3.0, 5.0), z.Point2(-1.0, 4.0)
    row("orientation(p, q, r), one call",
        per_call(lambda: z.orientation(p, q, r), repeat),
        per_call(lambda: exact.orientation(p, q, r), repeat), 1e-9, "ns")
    print("double: the core's orientation (per call) or zl.orientation (arrays);"
          " ratio: exact / double.")


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("-n", type=int, default=1_000_000, help="elements per array")
    parser.add_argument("--repeat", type=int, default=5, help="runs per measurement (best kept)")
    parser.add_argument("--loop-n", type=int, default=100_000,
                        help="elements timed in the Python loop (it is slow; ns/element scales)")
    args = parser.parse_args()
    n = args.n
    rng = np.random.default_rng(2024)
    print(f"whole-array operations, CPU ns per element over {n} elements (best of {args.repeat})")
    head = f"{'operation':34} {'zenolith':>9} {'py loop':>9} {'numpy':>9} {'shapely':>9} {'C++ bare':>9}"
    print(head + f"   {'x loop':>7} {'x numpy':>7} {'x shapely':>9} {'/bare':>6}")
    loop_cases = {c[0]: c for c in cases(args.loop_n, np.random.default_rng(2024))}
    for name, ours, loop, numpy_, shap, bare in cases(n, rng):
        t_ours = best_time(ours, args.repeat) / n * 1e9
        t_loop = best_time(loop_cases[name][2], 1) / args.loop_n * 1e9
        t_np = best_time(numpy_, args.repeat) / n * 1e9 if numpy_ else None
        t_sh = best_time(shap, args.repeat) / n * 1e9 if shap else None
        t_bare = best_time(bare, args.repeat) / n * 1e9 if bare else None

        def cell(v: float | None) -> str:
            return f"{v:9.2f}" if v is not None else f"{'-':>9}"

        def ratio(v: float | None, width: int) -> str:
            return f"{v / t_ours:{width}.1f}" if v is not None else f"{'-':>{width}}"

        bare_ratio = f"{t_ours / t_bare:6.2f}" if t_bare else f"{'-':>6}"
        print(f"{name:34} {cell(t_ours)} {cell(t_loop)} {cell(t_np)} {cell(t_sh)} {cell(t_bare)}"
              f"   {ratio(t_loop, 7)} {ratio(t_np, 7)} {ratio(t_sh, 9)} {bare_ratio}")
    print("x loop / x numpy / x shapely: times faster than that column; /bare: times slower than "
          "the bare C++ loop")
    print(f"threads: two threads give {measure_threads(n, args.repeat):.2f}x the throughput of one "
          "(bounded_side over two halves)")
    print()
    exact_section(n, args.repeat)


if __name__ == "__main__":
    main()
