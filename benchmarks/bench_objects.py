"""Typed object arrays, side by side with numpy:

1. ray-triangle, row by row: zenolith's do_intersect and intersection over
   Rays3 / Triangles3 against a vectorised numpy Moller-Trumbore (hit mask
   and hit points), on random triangles with rays aimed at them (about half
   through the interior, half beside it), so both branches run;
2. exactness on grazing rays (through vertices and edges, one ulp off an
   edge, starting on an edge, lying in the triangle's plane): rows that
   numpy and zenolith get wrong, against an exact test in fractions.Fraction;
3. all_pairs of two random segment sets against numpy box prefilters (a
   sweep over sorted x ranges, and a uniform grid) followed by zenolith's
   exact row-wise do_intersect on their candidates;
4. the per-call cost of the pair functions through the package against the
   native functions and a trivial core call of the same shape.

Array timings are the best of a few runs (these machines are noisy: read
the ratios, not the absolute times), in CPU time, and for ray-triangle also
in wall-clock time (long row-wise pair loops use several threads, numpy
one); per-call timings the median of
interleaved rounds. It measures and prints each goal's ratio; it does not
fail."""

from __future__ import annotations

import argparse
import math
import statistics
import time
import timeit
from fractions import Fraction
from typing import Callable

import numpy as np
import numpy.typing as npt

import zenolith as zl
import zenolith_core as z
from zenolith import _intersections

Floats = npt.NDArray[np.float64]


def best_time(fn: Callable[[], object], repeat: int) -> float:
    """The fastest of `repeat` runs, in CPU seconds of the process."""
    return best_times(fn, repeat)[1]


def best_times(fn: Callable[[], object], repeat: int) -> tuple[float, float]:
    """The fastest of `repeat` runs in wall-clock seconds, and in CPU seconds
    of the process (all its threads: long row-wise pair loops use several)."""
    wall = cpu = float("inf")
    for _ in range(repeat):
        start, start_cpu = time.perf_counter(), time.process_time()
        fn()
        wall = min(wall, time.perf_counter() - start)
        cpu = min(cpu, time.process_time() - start_cpu)
    return wall, cpu


# --- ray-triangle ----------------------------------------------------------

def numpy_moller_trumbore(rays: Floats, tris: Floats) -> tuple[np.ndarray, Floats]:
    """Hit mask and hit points (NaN elsewhere) of rays (N, 2, 3) (source,
    second point) against triangles (N, 3, 3): Moller-Trumbore without an
    epsilon, on coordinate columns (faster in numpy than rows and cross)."""
    r = rays.transpose(1, 2, 0)
    g = tris.transpose(1, 2, 0)
    ox, oy, oz = (np.ascontiguousarray(c) for c in r[0])
    dx, dy, dz = r[1][0] - ox, r[1][1] - oy, r[1][2] - oz
    ax, ay, az = (np.ascontiguousarray(c) for c in g[0])
    e1x, e1y, e1z = g[1][0] - ax, g[1][1] - ay, g[1][2] - az
    e2x, e2y, e2z = g[2][0] - ax, g[2][1] - ay, g[2][2] - az
    px, py, pz = dy * e2z - dz * e2y, dz * e2x - dx * e2z, dx * e2y - dy * e2x
    det = e1x * px + e1y * py + e1z * pz
    tx, ty, tz = ox - ax, oy - ay, oz - az
    qx, qy, qz = ty * e1z - tz * e1y, tz * e1x - tx * e1z, tx * e1y - ty * e1x
    with np.errstate(divide="ignore", invalid="ignore"):
        inv = 1.0 / det
        u = (tx * px + ty * py + tz * pz) * inv
        v = (dx * qx + dy * qy + dz * qz) * inv
        t = (e2x * qx + e2y * qy + e2z * qz) * inv
        hit = (det != 0) & (u >= 0) & (v >= 0) & (u + v <= 1) & (t >= 0)
    points = np.full((len(t), 3), np.nan)
    th = t[hit]
    points[hit, 0] = ox[hit] + th * dx[hit]
    points[hit, 1] = oy[hit] + th * dy[hit]
    points[hit, 2] = oz[hit] + th * dz[hit]
    return hit, points


def aimed_rays(n: int, rng: np.random.Generator) -> tuple[Floats, Floats]:
    """n random triangles and n rays from random sources through a point of
    the triangle's plane: inside the triangle for the first half of the rows
    (random barycentrics), beside it for the second half (one negative)."""
    centres = rng.uniform(-1.0, 1.0, (n, 1, 3))
    tris = centres + rng.normal(scale=0.2, size=(n, 3, 3))
    w = rng.dirichlet([1.0, 1.0, 1.0], n)
    h = n // 2
    w[h:] = w[h:] * 1.6 - np.array([0.2, 0.2, 0.2])
    w[h:, 0] = -rng.uniform(0.05, 0.5, n - h)
    w[h:] /= w[h:].sum(axis=1, keepdims=True)
    targets = np.einsum("ik,ikj->ij", w, tris)
    sources = rng.uniform(-3.0, 3.0, (n, 3))
    return np.stack([sources, targets], axis=1), tris


def ray_triangle_section(n: int, repeat: int) -> tuple[float, float, float, float]:
    rng = np.random.default_rng(2024)
    ray_rows, tri_rows = aimed_rays(n, rng)
    rays, tris = zl.Rays3(ray_rows), zl.Triangles3(tri_rows)
    hit = zl.do_intersect(rays, tris)
    found = zl.intersection(rays, tris)
    np_hit, np_points = numpy_moller_trumbore(ray_rows, tri_rows)
    both = hit & np_hit
    rel = np.abs(found.points[both] - np_points[both]).max(axis=1) / np.maximum(
        np.abs(found.points[both]).max(axis=1), 1e-300)
    w_di, t_di = best_times(lambda: zl.do_intersect(rays, tris), repeat)
    w_in, t_in = best_times(lambda: zl.intersection(rays, tris), repeat)
    w_np, t_np = best_times(lambda: numpy_moller_trumbore(ray_rows, tri_rows), repeat)

    print(f"ray-triangle, {n} rows ({hit.mean():.0%} hit), ns per row (best of {repeat}): wall clock, "
          f"and CPU time of all threads")
    print(f"{'route':<46}{'wall':>8}{'numpy/this':>12}{'CPU':>8}{'numpy/this':>12}")
    for name, w, t in [("zenolith.do_intersect(Rays3, Triangles3)", w_di, t_di),
                       ("zenolith.intersection(Rays3, Triangles3)", w_in, t_in),
                       ("numpy Moller-Trumbore (mask and points)", w_np, t_np)]:
        print(f"{name:<46}{w / n * 1e9:>8.1f}{w_np / w:>11.2f}x{t / n * 1e9:>8.1f}{t_np / t:>11.2f}x")
    print(f"rows decided differently by numpy and zenolith: {int((hit != np_hit).sum())}; "
          f"largest relative gap between their common hit points: {rel.max():.1e}")
    return w_np / w_di, w_np / w_in, t_np / t_di, t_np / t_in


# --- exact reference ----------------------------------------------------------

Vec = tuple[Fraction, Fraction, Fraction]


def _vec(p: Floats) -> Vec:
    return (Fraction(p[0]), Fraction(p[1]), Fraction(p[2]))


def _sub(u: Vec, v: Vec) -> Vec:
    return (u[0] - v[0], u[1] - v[1], u[2] - v[2])


def _dot(u: Vec, v: Vec) -> Fraction:
    return u[0] * v[0] + u[1] * v[1] + u[2] * v[2]


def _cross(u: Vec, v: Vec) -> Vec:
    return (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])


def _inside(p: Vec, a: Vec, b: Vec, c: Vec, n: Vec) -> bool:
    """p, in the plane of abc (normal n), lies in the closed triangle."""
    return all(_dot(n, _cross(_sub(v, u), _sub(p, u))) >= 0
               for u, v in ((a, b), (b, c), (c, a)))


def _ray_meets_segment(s: Vec, d: Vec, e0: Vec, e1: Vec, n: Vec) -> bool:
    """Ray s + t d (t >= 0) against segment e0 e1, both in a plane of normal n."""
    f, w = _sub(e1, e0), _sub(e0, s)
    den = _dot(_cross(d, f), n)
    if den != 0:
        t = _dot(_cross(w, f), n) / den
        u = _dot(_cross(w, d), n) / den
        return t >= 0 and 0 <= u <= 1
    if _dot(_cross(w, d), n) != 0:  # parallel, apart
        return False
    return _dot(_sub(e0, s), d) >= 0 or _dot(_sub(e1, s), d) >= 0


def exact_ray_triangle(ray: Floats, tri: Floats) -> bool:
    """Whether the ray (source, second point) meets the closed, non-degenerate
    triangle, in rational arithmetic on the doubles as given."""
    s, q = _vec(ray[0]), _vec(ray[1])
    a, b, c = _vec(tri[0]), _vec(tri[1]), _vec(tri[2])
    n = _cross(_sub(b, a), _sub(c, a))
    d = _sub(q, s)
    side = _dot(n, _sub(s, a))
    if d == (0, 0, 0):  # a ray of two equal points is its point
        return side == 0 and _inside(s, a, b, c, n)
    den = _dot(n, d)
    if den == 0:
        if side != 0:
            return False
        return _inside(s, a, b, c, n) or any(
            _ray_meets_segment(s, d, u, v, n) for u, v in ((a, b), (b, c), (c, a)))
    t = -side / den
    if t < 0:
        return False
    p = (s[0] + t * d[0], s[1] + t * d[1], s[2] + t * d[2])
    return _inside(p, a, b, c, n)


def grazing_cases(m: int, rng: np.random.Generator) -> list[tuple[str, Floats, Floats]]:
    """(label, rays, triangles) of m rows each. Dyadic triangles (21-bit
    coordinates) make edge points k/1024 of the way along an edge exact in
    doubles; sources are full random doubles."""
    def dyadic(size: tuple[int, ...]) -> Floats:
        return rng.integers(-2**20, 2**20, size).astype(float) / 2**20

    def edge_points(tris: Floats) -> Floats:
        i = rng.integers(0, 3, m)
        k = rng.integers(1, 1024, (m, 1)) / 1024
        u, v = tris[np.arange(m), i], tris[np.arange(m), (i + 1) % 3]
        return u + k * (v - u)

    cases = []
    tris = rng.uniform(-1, 1, (m, 3, 3))
    corners = tris[np.arange(m), rng.integers(0, 3, m)]
    cases.append(("through a vertex", np.stack([rng.uniform(-3, 3, (m, 3)), corners], 1), tris))
    tris = dyadic((m, 3, 3))
    on_edge = edge_points(tris)
    cases.append(("through an edge point", np.stack([rng.uniform(-3, 3, (m, 3)), on_edge], 1), tris))
    # one ulp off the edge point in one coordinate, either way
    nudged = on_edge.copy()
    axis = rng.integers(0, 3, m)
    rows = np.arange(m)
    nudged[rows, axis] = np.nextafter(nudged[rows, axis], np.where(rng.random(m) < 0.5, -np.inf, np.inf))
    cases.append(("one ulp off an edge point", np.stack([rng.uniform(-3, 3, (m, 3)), nudged], 1), tris))
    tris = dyadic((m, 3, 3))
    start = edge_points(tris)
    cases.append(("starting on an edge", np.stack([start, start + rng.uniform(-1, 1, (m, 3))], 1), tris))
    # in the plane: source and second point at dyadic barycentrics, so exact
    tris = dyadic((m, 3, 3))
    e1, e2 = tris[:, 1] - tris[:, 0], tris[:, 2] - tris[:, 0]

    def in_plane() -> Floats:
        a, b = (rng.integers(-256, 512, (m, 1)) / 256 for _ in range(2))
        return tris[:, 0] + a * e1 + b * e2

    cases.append(("in the triangle's plane", np.stack([in_plane(), in_plane()], 1), tris))
    return cases


def exactness_section(m: int) -> int:
    rng = np.random.default_rng(11)
    print(f"exactness on grazing rays, {m} rows per case, against fractions.Fraction")
    print(f"{'case':<30}{'exact hits':>11}{'numpy wrong':>13}{'zenolith wrong':>16}")
    total_np = total_zl = 0
    failures = []
    for label, ray_rows, tri_rows in grazing_cases(m, rng):
        truth = np.array([exact_ray_triangle(r, t) for r, t in zip(ray_rows, tri_rows)])
        ours = zl.do_intersect(zl.Rays3(ray_rows), zl.Triangles3(tri_rows))
        kinds = zl.intersection(zl.Rays3(ray_rows), zl.Triangles3(tri_rows)).kinds
        np_hit, _ = numpy_moller_trumbore(ray_rows, tri_rows)
        wrong_zl = (ours != truth) | ((kinds != 0) != truth)
        n_np, n_zl = int((np_hit != truth).sum()), int(wrong_zl.sum())
        total_np += n_np
        total_zl += n_zl
        failures += [(label, ray_rows[i], tri_rows[i], bool(truth[i])) for i in np.flatnonzero(wrong_zl)[:3]]
        print(f"{label:<30}{int(truth.sum()):>11}{n_np:>13}{n_zl:>16}")
    for label, r, t, expected in failures:
        print(f"  zenolith wrong ({label}), exact answer {expected}: ray {r.tolist()!r} "
              f"triangle {t.tolist()!r}")
    return total_zl


# --- all_pairs ----------------------------------------------------------------

def random_segments(n: int, rng: np.random.Generator, longest: float) -> Floats:
    start = rng.uniform(0.0, 1.0, (n, 2))
    length = rng.uniform(0.0, longest, n)
    angle = rng.uniform(0.0, 2 * math.pi, n)
    end = start + length[:, None] * np.stack([np.cos(angle), np.sin(angle)], 1)
    return np.stack([start, end], axis=1)


def boxes(segs: Floats) -> tuple[Floats, Floats]:
    return segs.min(axis=1), segs.max(axis=1)


def numpy_sweep_candidates(a: Floats, b: Floats, chunk: int = 2048) -> tuple[np.ndarray, np.ndarray]:
    """Pairs of overlapping boxes: b sorted by xmin, each a's window of b
    (xmin within [a.xmin - widest b, a.xmax]) found by searchsorted, the
    windows expanded in chunks of a and filtered on x and y."""
    alo, ahi = boxes(a)
    blo, bhi = boxes(b)
    order = np.argsort(blo[:, 0], kind="stable")
    blo, bhi = blo[order], bhi[order]
    widest = float((bhi[:, 0] - blo[:, 0]).max())
    first = np.searchsorted(blo[:, 0], alo[:, 0] - widest, "left")
    last = np.searchsorted(blo[:, 0], ahi[:, 0], "right")
    out_i, out_j = [], []
    for c0 in range(0, len(a), chunk):
        f, l = first[c0:c0 + chunk], last[c0:c0 + chunk]
        counts = l - f
        i = np.repeat(np.arange(c0, c0 + len(f)), counts)
        starts = np.cumsum(counts) - counts
        j = np.arange(counts.sum()) - np.repeat(starts - f, counts)
        keep = ((bhi[j, 0] >= alo[i, 0]) & (bhi[j, 1] >= alo[i, 1]) & (blo[j, 1] <= ahi[i, 1]))
        out_i.append(i[keep])
        out_j.append(j[keep])
    return np.concatenate(out_i), order[np.concatenate(out_j)]


def numpy_grid_candidates(a: Floats, b: Floats) -> tuple[np.ndarray, np.ndarray]:
    """Pairs of overlapping boxes through a uniform grid of cells as wide as
    the largest box (so a box covers at most 2 x 2 cells): entries joined on
    the cell by sort and searchsorted, each pair kept only in the cell that
    holds the lower-left corner of the two boxes' overlap."""
    alo, ahi = boxes(a)
    blo, bhi = boxes(b)
    origin = np.minimum(alo.min(axis=0), blo.min(axis=0))
    size = max(float((ahi - alo).max()), float((bhi - blo).max()), 1e-12)
    width = int(np.ceil((max(ahi.max(), bhi.max()) - origin.min()) / size)) + 2

    def entries(lo: Floats, hi: Floats) -> tuple[np.ndarray, np.ndarray]:
        c0 = ((lo - origin) // size).astype(np.int64)
        c1 = ((hi - origin) // size).astype(np.int64)
        ids, cells = [], []
        for dx in (0, 1):
            for dy in (0, 1):
                m = (c0[:, 0] + dx <= c1[:, 0]) & (c0[:, 1] + dy <= c1[:, 1])
                ids.append(np.flatnonzero(m))
                cells.append((c0[m, 0] + dx) * width + c0[m, 1] + dy)
        return np.concatenate(ids), np.concatenate(cells)

    ia, ca = entries(alo, ahi)
    ib, cb = entries(blo, bhi)
    order = np.argsort(cb, kind="stable")
    ib, cb = ib[order], cb[order]
    first = np.searchsorted(cb, ca, "left")
    counts = np.searchsorted(cb, ca, "right") - first
    k = np.repeat(np.arange(len(ia)), counts)
    starts = np.cumsum(counts) - counts
    pos = np.arange(counts.sum()) - np.repeat(starts - first, counts)
    i, j, cell = ia[k], ib[pos], ca[k]
    keep = ((alo[i, 0] <= bhi[j, 0]) & (blo[j, 0] <= ahi[i, 0])
            & (alo[i, 1] <= bhi[j, 1]) & (blo[j, 1] <= ahi[i, 1]))
    i, j, cell = i[keep], j[keep], cell[keep]
    corner = ((np.maximum(alo[i], blo[j]) - origin) // size).astype(np.int64)
    own = corner[:, 0] * width + corner[:, 1] == cell
    return i[own], j[own]


def decide(a: zl.Segments2, b: zl.Segments2, i: np.ndarray, j: np.ndarray) -> np.ndarray:
    """The candidates that intersect, exactly, as sorted (K, 2) pairs."""
    m = zl.do_intersect(a[i], b[j])
    pairs = np.stack([i[m], j[m]], axis=1).astype(np.int64)
    return pairs[np.lexsort((pairs[:, 1], pairs[:, 0]))]


def same_pairs(x: np.ndarray, y: np.ndarray) -> bool:
    return x.shape == y.shape and bool((x == y).all())


def all_pairs_section(n: int, longest: float, repeat: int) -> tuple[float, float]:
    rng = np.random.default_rng(5)
    ra, rb = random_segments(n, rng, longest), random_segments(n, rng, longest)
    a, b = zl.Segments2(ra), zl.Segments2(rb)
    ours = zl.all_pairs(a, b)
    cand = zl.all_pairs(a, b, predicate="boxes")
    sweep, grid = numpy_sweep_candidates(ra, rb), numpy_grid_candidates(ra, rb)
    box_pairs = np.lexsort((cand[:, 1], cand[:, 0]))
    agree = all(same_pairs(decide(a, b, *c), ours) for c in (sweep, grid)) and same_pairs(
        cand[box_pairs], cand) and len(sweep[0]) == len(grid[0]) == len(cand)

    timed = {
        "ours": best_times(lambda: zl.all_pairs(a, b), repeat),
        "boxes": best_times(lambda: zl.all_pairs(a, b, predicate="boxes"), repeat),
        "sweep": best_times(lambda: numpy_sweep_candidates(ra, rb), repeat),
        "grid": best_times(lambda: numpy_grid_candidates(ra, rb), repeat),
        "decide": best_times(lambda: decide(a, b, *grid), repeat),
    }

    print(f"all_pairs of two sets of {n} segments in the unit square (length uniform up to "
          f"{longest}, any direction): {len(cand)} box candidates, {len(ours)} intersecting pairs; "
          f"ms, wall clock and CPU time of all threads")
    print(f"{'route':<52}{'wall':>8}{'this/zenolith':>15}{'CPU':>8}{'this/zenolith':>15}")
    rows = [("zenolith.all_pairs(a, b)", ("ours",)),
            ("  of which: boxes only (predicate='boxes')", ("boxes",)),
            ("numpy sweep + exact do_intersect(a[i], b[j])", ("sweep", "decide")),
            ("  of which: numpy sweep candidates", ("sweep",)),
            ("numpy grid + exact do_intersect(a[i], b[j])", ("grid", "decide")),
            ("  of which: numpy grid candidates", ("grid",)),
            ("  of which: exact do_intersect(a[i], b[j])", ("decide",))]
    for name, parts in rows:
        w, c = (sum(timed[p][k] for p in parts) for k in (0, 1))
        print(f"{name:<52}{w * 1e3:>8.1f}{w / timed['ours'][0]:>14.1f}x{c * 1e3:>8.1f}{c / timed['ours'][1]:>14.1f}x")
    print(f"same pair sets (zenolith, numpy sweep, numpy grid; box candidates too): "
          f"{'yes' if agree else 'NO'}")
    best = min(("sweep", "grid"), key=lambda p: timed[p][0])
    return ((timed[best][0] + timed["decide"][0]) / timed["ours"][0],
            (timed[best][1] + timed["decide"][1]) / timed["ours"][1])


# --- per call --------------------------------------------------------------

def per_call_section(rounds: int) -> float:
    env = dict(zl=zl, z=z, native=_intersections,
               do_intersect=zl.do_intersect, squared_distance=zl.squared_distance,
               p=z.Point3(1.0, 2.0, 3.0), q=z.Point3(3.0, 5.0, -1.0),
               ray=z.Ray3(z.Point3(0.2, 0.3, -1.0), z.Point3(0.2, 0.3, 1.0)),
               tri=z.Triangle3(z.Point3(0.0, 0.0, 0.0), z.Point3(1.0, 0.0, 0.0), z.Point3(0.0, 1.0, 0.0)))
    # (label, statement, the statement it is compared with, or None)
    cases = [
        ("zenolith.do_intersect(ray, tri)", "zl.do_intersect(ray, tri)", "native.do_intersect(ray, tri)"),
        ("do_intersect(ray, tri), name imported", "do_intersect(ray, tri)", "native.do_intersect(ray, tri)"),
        ("_intersections.do_intersect(ray, tri)", "native.do_intersect(ray, tri)", None),
        ("zenolith.squared_distance(p, q)", "zl.squared_distance(p, q)", "native.squared_distance(p, q)"),
        ("squared_distance(p, q), name imported", "squared_distance(p, q)", "native.squared_distance(p, q)"),
        ("_intersections.squared_distance(p, q)", "native.squared_distance(p, q)", None),
        ("core p == q (two Point3: the floor)", "p == q", None),
        ("core squared_distance(x1, y1, x2, y2)", "z.squared_distance(1.0, 2.0, 3.0, 5.0)", None),
        ("attribute zenolith.do_intersect alone", "zl.do_intersect", "native.do_intersect"),
        ("attribute _intersections.do_intersect alone", "native.do_intersect", None),
    ]
    statements = sorted({c[1] for c in cases})
    timers = [timeit.Timer(s, globals=env) for s in statements]
    numbers = [max(1, t.autorange()[0] // 10) for t in timers]
    samples: list[list[float]] = [[] for _ in timers]
    for _ in range(rounds):
        for timer, number, out in zip(timers, numbers, samples):
            out.append(timer.timeit(number) / number * 1e9)
    t = {s: statistics.median(x) for s, x in zip(statements, samples)}
    floor = t["p == q"]
    print(f"per call, median ns of {rounds} interleaved rounds")
    print(f"{'call':<46}{'ns':>8}{'/ native':>10}{'/ p == q':>10}")
    for label, stmt, native in cases:
        own = f"{t[stmt] / t[native]:>9.2f}x" if native else f"{'-':>10}"
        print(f"{label:<46}{t[stmt]:>8.1f}{own}{t[stmt] / floor:>9.2f}x")
    print("the package's pair functions are the native functions themselves "
          f"(do_intersect: {zl.do_intersect is _intersections.do_intersect}, "
          f"squared_distance: {zl.squared_distance is _intersections.squared_distance}); "
          "the core has no squared_distance of two Point3 (its own takes four floats)")
    return max(t["zl.do_intersect(ray, tri)"] / t["native.do_intersect(ray, tri)"],
               t["zl.squared_distance(p, q)"] / t["native.squared_distance(p, q)"])


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("-n", type=int, default=1_000_000, help="ray-triangle rows")
    parser.add_argument("--grazing", type=int, default=1000, help="rows per grazing case")
    parser.add_argument("--segments", type=int, default=100_000, help="segments per set")
    parser.add_argument("--longest", type=float, default=0.01, help="longest segment")
    parser.add_argument("--repeat", type=int, default=3, help="runs per array timing (best kept)")
    parser.add_argument("--rounds", type=int, default=21, help="interleaved per-call rounds")
    args = parser.parse_args()

    mt = ray_triangle_section(args.n, args.repeat)
    print()
    wrong = exactness_section(args.grazing)
    print()
    pairs_wall, pairs_cpu = all_pairs_section(args.segments, args.longest, args.repeat)
    print()
    front = per_call_section(args.rounds)
    print()
    print(f"goal: numpy Moller-Trumbore / zenolith >= 3 (wall clock: got {mt[0]:.2f} for do_intersect, "
          f"{mt[1]:.2f} for intersection; CPU time of all threads: {mt[2]:.2f} and {mt[3]:.2f})")
    print(f"goal: zenolith wrong on grazing rays = 0 (got {wrong})")
    print(f"goal: best numpy prefilter + exact / zenolith.all_pairs >= 10 (wall clock: got {pairs_wall:.1f}; "
          f"CPU time of all threads: {pairs_cpu:.1f})")
    print(f"goal: zenolith.<f>(...) / native per call = 1.0 (got {front:.2f} at worst)")


if __name__ == "__main__":
    main()
