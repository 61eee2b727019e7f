"""Convex hulls, point-in-polygon and Boolean operations, side by side with
scipy.spatial and shapely on the same data:

1. planar convex hull of points uniform in the unit disk, on the unit
   circle and on an integer grid: scipy's ConvexHull(p).vertices and
   shapely's convex_hull of a MultiPoint against zenolith's convex_hull(p),
   and the corners each gets wrong (see 3);
2. spatial convex hull of points uniform in the unit ball and on the unit
   sphere: scipy's ConvexHull(p) (vertices and simplices) against
   zenolith's (and whether both find the same extreme points);
3. planar hulls of near-degenerate inputs (points a few ulps off a line,
   a random subset of a grid with spacing 2^-53, points rounded onto a long
   diagonal), each library's extreme points checked against an exact
   monotone chain in rational arithmetic: missing extreme points plus
   reported points that are not extreme (scipy's precision errors are
   printed as such);
4. containment of random points in a star polygon: shapely's prepared
   contains_xy against zenolith's contains(q, boundary=False), then points
   on and a few ulps off the boundary of that star and of a polygon with
   large integer coordinates, each answer checked against an exact
   rational crossing test;
5. intersection and union of two star polygons: shapely's against
   zenolith's, with the areas compared.

Timings are the best of a few runs (these machines are noisy: read the
ratios, not the absolute times), in wall-clock and CPU time. Hulls and
Boolean operations run on one thread and are judged on CPU time;
containment of many points runs on several threads in zenolith, so it is
judged on wall-clock time (its CPU time is printed beside). It measures and
prints each goal's ratio and each wrong-answer count; it does not fail."""

from __future__ import annotations

import argparse
import sys
from fractions import Fraction
from typing import Any

import numpy as np
import numpy.typing as npt

try:
    import scipy.spatial
    import shapely
except ImportError:
    sys.exit("bench_polygons needs scipy and shapely: pip install -r requirements-bench.txt -r requirements-dev.txt")

from zenolith_algorithms.polygons import PolygonWithHoles2, Polygon2, convex_hull
from peers import best_times, goal

Floats = npt.NDArray[np.float64]

ULP_HALF = 2.0 ** -53  # the spacing of doubles in [0.5, 1)


def timing_rows(title: str, rows: list[tuple[str, float, float]], unit: str = "s") -> None:
    """Prints each route's times and the ratio of each to zenolith's (the
    last row), peer / zenolith: above 1 where zenolith is faster."""
    scale = 1e3 if unit == "ms" else 1.0
    _, ow, oc = rows[-1]
    print(title)
    print(f"{'route':<34}{'wall ' + unit:>10}{'this/zen':>10}{'CPU ' + unit:>10}{'this/zen':>10}")
    for name, w, c in rows:
        print(f"{name:<34}{w * scale:>10.3f}{w / ow:>9.2f}x{c * scale:>10.3f}{c / oc:>9.2f}x")


# --- the routes ------------------------------------------------------------

def scipy_hull(points: Floats) -> Any:
    hull = scipy.spatial.ConvexHull(points)
    hull.vertices, hull.simplices  # noqa: B018 (make sure both arrays are read)
    return hull


def shapely_hull(points: Floats) -> Any:
    return shapely.convex_hull(shapely.multipoints(points))


def shapely_hull_points(geometry: Any) -> set[tuple[float, float]]:
    """The corners of a shapely hull (a polygon, a line or a point)."""
    coords = shapely.get_coordinates(geometry)
    return {(float(x), float(y)) for x, y in coords}


# --- exact references ------------------------------------------------------

def orient(a: tuple[Fraction, Fraction], b: tuple[Fraction, Fraction], c: tuple[Fraction, Fraction]) -> int:
    d = (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0])
    return (d > 0) - (d < 0)


def exact_hull(points: Floats) -> set[tuple[float, float]]:
    """The extreme points (corners only, not points inside an edge) by a
    monotone chain in exact integer arithmetic: each double is m 2^e with m
    an integer of 53 bits, so scaling all of them by one power of two makes
    integers of them (which scale leaves every orientation's sign alone)."""
    unique = np.unique(points, axis=0)  # sorted by x, then y: exact comparisons
    if len(unique) < 3:
        return {(float(x), float(y)) for x, y in unique}
    mantissa, exponent = np.frexp(unique)
    whole = (mantissa * 2.0 ** 53).astype(np.int64).tolist()
    shift = (exponent - exponent.min()).tolist()
    xs = [m << s for (m, _), (s, _) in zip(whole, shift)]
    ys = [m << s for (_, m), (_, s) in zip(whole, shift)]

    def chain(order: range) -> list[int]:
        out: list[int] = []
        for k in order:
            while len(out) >= 2:
                i, j = out[-2], out[-1]
                if (xs[j] - xs[i]) * (ys[k] - ys[i]) - (ys[j] - ys[i]) * (xs[k] - xs[i]) > 0:
                    break
                out.pop()
            out.append(k)
        return out

    count = len(unique)
    corners = chain(range(count))[:-1] + chain(range(count - 1, -1, -1))[:-1]
    return {(float(unique[k, 0]), float(unique[k, 1])) for k in corners}


def wrong_corners(found: set[tuple[float, float]], truth: set[tuple[float, float]]) -> int:
    """Extreme points missed plus reported points that are not extreme."""
    return len(truth - found) + len(found - truth)


def exact_sides(ring: Floats, points: Floats) -> npt.NDArray[np.int8]:
    """1 inside, 0 on the boundary, -1 outside, exactly: comparisons of
    doubles are exact, so they pick the edges worth a rational test (those
    whose box holds the point) and settle the crossings of the others."""
    a, b = ring, np.roll(ring, -1, axis=0)
    lo, hi = np.minimum(a, b), np.maximum(a, b)
    out = np.empty(len(points), np.int8)
    for i, (px, py) in enumerate(points):
        in_box = (lo[:, 0] <= px) & (px <= hi[:, 0]) & (lo[:, 1] <= py) & (py <= hi[:, 1])
        q = (Fraction(px), Fraction(py))
        on_edge = any(orient((Fraction(a[k, 0]), Fraction(a[k, 1])), (Fraction(b[k, 0]), Fraction(b[k, 1])), q) == 0
                      for k in np.flatnonzero(in_box))
        if on_edge:
            out[i] = 0
            continue
        # the ray from the point towards +x; an edge counts when its ends
        # lie on either side of y = py (half-open: above against not above)
        crosses = (a[:, 1] > py) != (b[:, 1] > py)
        right = crosses & (px < lo[:, 0])
        count = int(right.sum())
        for k in np.flatnonzero(crosses & (lo[:, 0] <= px) & (px <= hi[:, 0])):
            s, e = (a[k], b[k]) if b[k, 1] > a[k, 1] else (b[k], a[k])
            turn = orient((Fraction(s[0]), Fraction(s[1])), (Fraction(e[0]), Fraction(e[1])), q)
            count += turn > 0  # left of the upward edge: the crossing is to the right
        out[i] = 1 if count % 2 else -1
    return out


# --- inputs ----------------------------------------------------------------

def disk(rng: np.random.Generator, n: int) -> Floats:
    r, t = np.sqrt(rng.random(n)), rng.random(n) * 2 * np.pi
    return np.column_stack([r * np.cos(t), r * np.sin(t)])


def circle(rng: np.random.Generator, n: int) -> Floats:
    t = rng.random(n) * 2 * np.pi
    return np.column_stack([np.cos(t), np.sin(t)])


def grid(m: int) -> Floats:
    axes = np.meshgrid(np.arange(m, dtype=np.float64), np.arange(m, dtype=np.float64), indexing="ij")
    return np.ascontiguousarray(np.stack(axes, axis=-1).reshape(-1, 2))


def sphere(rng: np.random.Generator, n: int) -> Floats:
    g = rng.normal(size=(n, 3))
    return g / np.linalg.norm(g, axis=1)[:, None]


def ball(rng: np.random.Generator, n: int) -> Floats:
    return sphere(rng, n) * np.cbrt(rng.random(n))[:, None]


def star(n: int, inner: float = 0.5, turn: float = 0.0, shift: tuple[float, float] = (0.0, 0.0)) -> Floats:
    """n vertices at angles 2 pi k / n + turn, radii alternately 1 and inner."""
    k = np.arange(n)
    r = np.where(k % 2 == 0, 1.0, inner)
    t = 2 * np.pi * k / n + turn
    return np.column_stack([r * np.cos(t) + shift[0], r * np.sin(t) + shift[1]])


def near_line(m: int) -> Floats:
    """0.5 + i ulp, 0.5 + j ulp for j <= i < m, with two far points on y = x
    (the lower triangle of a tiny grid on the diagonal: most of its points
    lie a few ulps off the line through the far points)."""
    ij = [(i, j) for i in range(m) for j in range(i + 1)]
    tiny = np.array([(0.5 + i * ULP_HALF, 0.5 + j * ULP_HALF) for i, j in ij])
    return np.vstack([tiny, [[-11.5, -11.5], [24.0, 24.0]]])


def tiny_grid(rng: np.random.Generator, m: int, count: int) -> Floats:
    """`count` distinct random nodes of the m x m grid of spacing 2^-53 at
    (0.5, 0.5): long rows and columns of collinear points on the hull."""
    cells = rng.choice(m * m, size=min(count, m * m), replace=False)
    return np.column_stack([0.5 + (cells // m) * ULP_HALF, 0.5 + (cells % m) * ULP_HALF])


def diagonal(rng: np.random.Generator, count: int) -> Floats:
    """Points of y = x / 3 + 1 / 7 between x = -11.5 and 24 rounded to
    doubles, moved by up to 2 ulps in y: all within a few ulps of one line."""
    x = np.sort(rng.uniform(-11.5, 24.0, count))
    y = x / 3 + 1 / 7
    steps = rng.integers(-2, 3, count)
    for _ in range(2):
        y = np.where(steps > 0, np.nextafter(y, np.inf), np.where(steps < 0, np.nextafter(y, -np.inf), y))
        steps = steps - np.sign(steps)
    return np.column_stack([x, y])


def ulps_off(points: Floats, rng: np.random.Generator, most: int = 2) -> Floats:
    """Each point, and copies moved by 1..most ulps in x or y either way."""
    out = [points]
    for k in range(1, most + 1):
        for axis in (0, 1):
            for direction in (np.inf, -np.inf):
                moved = points.copy()
                for _ in range(k):
                    moved[:, axis] = np.nextafter(moved[:, axis], direction)
                out.append(moved)
    return np.vstack(out)


def comb(teeth: int, scale: float) -> Floats:
    """A comb of integer vertices with slanted teeth, scaled up so that its
    coordinates need most of a double's 53 bits (the edge midpoints stay
    exact: integers below 2^51 halved)."""
    s = int(scale)
    top: list[tuple[int, int]] = []
    for k in range(teeth):
        x0 = 4 * k * s
        top += [(x0, 3 * s), (x0 + s, 7 * s + k), (x0 + 3 * s - 1, 3 * s + 1)]
    ring = [(0, 0), (4 * teeth * s, 0), (4 * teeth * s, 3 * s)] + top[::-1]
    return np.array(ring, dtype=np.float64)


# --- sections --------------------------------------------------------------

def planar_section(name: str, points: Floats, repeat: int) -> tuple[float, float]:
    """scipy / zenolith and shapely / zenolith in CPU time; `name` says
    which points, and how many."""
    sw, sc, s_hull = best_times(lambda: scipy_hull(points), repeat)
    hw, hc, h_hull = best_times(lambda: shapely_hull(points), repeat)
    zw, zc, z_hull = best_times(lambda: convex_hull(points), repeat)
    timing_rows(f"planar convex hull of {name} (best of {repeat})",
                [("scipy.spatial ConvexHull", sw, sc), ("shapely convex_hull", hw, hc), ("zenolith", zw, zc)])
    truth = exact_hull(points)
    found = {"scipy": {tuple(p) for p in points[s_hull.vertices].tolist()}, "shapely": shapely_hull_points(h_hull),
             "zenolith": {tuple(p) for p in points[z_hull.vertices].tolist()}}
    sizes = ", ".join(f"{k} {len(v)}" for k, v in found.items())
    wrong = ", ".join(f"{k} {wrong_corners(v, truth)}" for k, v in found.items())
    print(f"hull corners: exact {len(truth)}, {sizes}; wrong against exact arithmetic: {wrong}")
    return sc / zc, hc / zc


def spatial_section(name: str, points: Floats, repeat: int) -> float:
    """zenolith / scipy in CPU time."""
    sw, sc, s_hull = best_times(lambda: scipy_hull(points), repeat)
    zw, zc, z_hull = best_times(lambda: convex_hull(points), repeat)
    timing_rows(f"spatial convex hull of {len(points)} points {name}, vertices and triangles (best of {repeat})",
                [("scipy.spatial ConvexHull", sw, sc), ("zenolith", zw, zc)])
    same = np.array_equal(np.sort(s_hull.vertices), np.sort(z_hull.vertices))
    print(f"extreme points: scipy {len(s_hull.vertices)}, zenolith {len(z_hull.vertices)}, the same ones: "
          f"{'yes' if same else 'NO'}; triangles: scipy {len(s_hull.simplices)}, zenolith {len(z_hull.faces)}")
    return zc / sc


def degenerate_section(cases: list[tuple[str, Floats]]) -> int:
    """Prints each library's wrong corners per case; returns zenolith's total."""
    print("planar hulls of near-degenerate inputs: wrong corners against exact arithmetic "
          "(extreme points missed + non-extreme points reported)")
    print(f"{'input':<58}{'corners':>8}{'scipy':>10}{'shapely':>10}{'zenolith':>10}")
    total = 0
    for name, points in cases:
        truth = exact_hull(points)
        try:
            s_count = str(wrong_corners({tuple(p) for p in points[scipy_hull(points).vertices].tolist()}, truth))
        except scipy.spatial.QhullError:
            s_count = "error"
        h_count = wrong_corners(shapely_hull_points(shapely_hull(points)), truth)
        z_count = wrong_corners({tuple(p) for p in points[convex_hull(points).vertices].tolist()}, truth)
        total += z_count
        print(f"{name + f' ({len(points)} points)':<58}{len(truth):>8}{s_count:>10}{h_count:>10}{z_count:>10}")
    return total


def containment_section(ring: Floats, queries: Floats, repeat: int) -> float:
    """zenolith / shapely in wall-clock time, both warmed up (zenolith's
    point locator and shapely's prepared geometry built before timing)."""
    ours = Polygon2(ring)
    theirs = shapely.Polygon(ring)
    shapely.prepare(theirs)
    x, y = queries[:, 0], queries[:, 1]
    z_in = np.asarray(ours.contains(queries, boundary=False))  # warm-up, as is the next
    s_in = shapely.contains_xy(theirs, x, y)
    sw, sc, _ = best_times(lambda: shapely.contains_xy(theirs, x, y), repeat)
    zw, zc, _ = best_times(lambda: ours.contains(queries, boundary=False), repeat)
    timing_rows(f"containment of {len(queries)} random points in a {len(ring)}-vertex star, boundary left out "
                f"(best of {repeat})", [("shapely prepared contains_xy", sw, sc), ("zenolith contains", zw, zc)],
                unit="ms")
    print(f"points inside: shapely {int(s_in.sum())}, zenolith {int(z_in.sum())}, "
          f"answered differently: {int((s_in != z_in).sum())}")
    return zw / sw


def boundary_section(cases: list[tuple[str, Floats, Floats]]) -> int:
    """Wrong answers against an exact crossing test for points on and near
    the boundary; returns zenolith's total."""
    print("containment of points on and a few ulps off the boundary: wrong answers against exact arithmetic")
    print(f"{'points':<54}{'in/on/out':>16}{'shapely contains':>18}{'intersects':>12}"
          f"{'zenolith side':>15}{'contains':>10}")
    total = 0
    for name, ring, points in cases:
        truth = exact_sides(ring, points)
        theirs = shapely.Polygon(ring)
        shapely.prepare(theirs)
        x, y = points[:, 0], points[:, 1]
        s_contains = int((shapely.contains_xy(theirs, x, y) != (truth > 0)).sum())
        s_intersects = int((shapely.intersects_xy(theirs, x, y) != (truth >= 0)).sum())
        ours = Polygon2(ring)
        z_side = int((np.asarray(ours.bounded_side(points)) != truth).sum())
        z_contains = int((np.asarray(ours.contains(points, boundary=False)) != (truth > 0)).sum())
        total += z_side + z_contains
        split = f"{int((truth > 0).sum())}/{int((truth == 0).sum())}/{int((truth < 0).sum())}"
        print(f"{name + f' ({len(points)})':<54}{split:>16}{s_contains:>18}{s_intersects:>12}"
              f"{z_side:>15}{z_contains:>10}")
    return total


def shapely_area_parts(geometry: Any) -> tuple[float, int, int]:
    """Area, polygons and holes of a shapely result."""
    parts = shapely.get_parts(geometry)
    return float(shapely.area(geometry)), len(parts), int(sum(shapely.get_num_interior_rings(parts)))


def boolean_section(first: Floats, second: Floats, repeat: int) -> tuple[dict[str, float], float]:
    """zenolith / shapely in CPU time per operation, and the largest
    relative difference of the result areas."""
    ours_a, ours_b = PolygonWithHoles2(first), PolygonWithHoles2(second)
    theirs_a, theirs_b = shapely.Polygon(first), shapely.Polygon(second)
    ratios: dict[str, float] = {}
    worst = 0.0
    for op in ("intersection", "union"):
        sw, sc, s_out = best_times(lambda: getattr(shapely, op)(theirs_a, theirs_b), repeat)
        zw, zc, z_out = best_times(lambda: getattr(ours_a, op)(ours_b), repeat)
        timing_rows(f"{op} of two {len(first)}-vertex stars, the second turned and moved (best of {repeat})",
                    [("shapely", sw, sc), ("zenolith", zw, zc)], unit="ms")
        s_area, s_parts, s_holes = shapely_area_parts(s_out)
        z_area = sum(p.area for p in z_out)
        z_holes = sum(len(p.holes) for p in z_out)
        diff = abs(z_area - s_area) / abs(s_area)
        worst = max(worst, diff)
        print(f"result: shapely {s_parts} polygons with {s_holes} holes, area {s_area:.15g}; zenolith "
              f"{len(z_out)} polygons with {z_holes} holes, area {z_area:.15g} (relative difference {diff:.1e})")
        ratios[op] = zc / sc
    return ratios, worst


# --- main ------------------------------------------------------------------

def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quick", action="store_true",
                        help="smaller sizes: 10^5 hull points, a 300^2 grid, 10^5 queries")
    parser.add_argument("-n", type=int, help="planar hull points (10^6; quick 10^5)")
    parser.add_argument("--grid", type=int, help="planar grid side (1000; quick 300)")
    parser.add_argument("--spatial", type=int, help="spatial hull points (10^6; quick 10^5)")
    parser.add_argument("--queries", type=int, help="containment queries (10^6; quick 10^5)")
    parser.add_argument("--vertices", type=int, default=1000, help="star polygon vertices (even)")
    parser.add_argument("--repeat", type=int, default=3, help="runs per timing (best kept)")
    args = parser.parse_args()
    n = args.n or (100_000 if args.quick else 1_000_000)
    side = args.grid or (300 if args.quick else 1000)
    spatial = args.spatial or (100_000 if args.quick else 1_000_000)
    count = args.queries or (100_000 if args.quick else 1_000_000)
    vertices = args.vertices + args.vertices % 2
    repeat = args.repeat
    rng = np.random.default_rng(2025)

    planar: dict[str, tuple[float, float]] = {}
    for name, points in ((f"{n} points uniform in the unit disk", disk(rng, n)),
                         (f"{n} points on the unit circle", circle(rng, n)),
                         (f"the {side}^2 integer grid ({side * side} points)", grid(side))):
        planar[name] = planar_section(name, points, repeat)
        print()
    spatial_ratios: dict[str, float] = {}
    for name, points in (("uniform in the unit ball", ball(rng, spatial)),
                         ("on the unit sphere", sphere(rng, spatial))):
        spatial_ratios[name] = spatial_section(name, points, repeat)
        print()
    hull_wrong = degenerate_section([
        ("a few ulps off y = x, two far points on it", near_line(40)),
        ("random nodes of a 2^-53-spaced 64^2 grid", tiny_grid(rng, 64, 1500)),
        ("within 2 ulps of y = x/3 + 1/7", diagonal(rng, 2000)),
    ])
    print()

    ring = star(vertices)
    lo, hi = ring.min(axis=0), ring.max(axis=0)
    queries = lo + rng.random((count, 2)) * (hi - lo)
    contained = containment_section(ring, queries, repeat)
    print()
    edges = rng.integers(0, len(ring), 300)
    t = rng.random(300)[:, None]
    on_star = ring[edges] + t * (np.roll(ring, -1, axis=0)[edges] - ring[edges])
    teeth = comb(40, 2.0 ** 43)
    midpoints = (teeth + np.roll(teeth, -1, axis=0)) / 2
    side_wrong = boundary_section([
        ("star vertices and 1-2 ulps off them", ring, ulps_off(ring[::10], rng)),
        ("star edge points rounded, 1-2 ulps off them", ring, ulps_off(on_star, rng)),
        ("comb vertices and edge midpoints, 1-2 ulps off", teeth, ulps_off(np.vstack([teeth, midpoints]), rng)),
    ])
    print()
    booleans, area_diff = boolean_section(ring, star(vertices, turn=0.01, shift=(0.05, 0.03)), repeat)
    print()

    for name, (s_ratio, h_ratio) in planar.items():
        goal(f"planar hull of {name}: scipy / zenolith (CPU)", s_ratio, 1)
        goal(f"planar hull of {name}: shapely / zenolith (CPU)", h_ratio, 1)
    for name, ratio in spatial_ratios.items():
        goal(f"spatial hull of {spatial} points {name}: zenolith / scipy (CPU)", ratio, 1, at_most=True)
    print(f"goal: wrong hull corners of zenolith on near-degenerate inputs = 0 "
          f"(got {hull_wrong}: {'met' if hull_wrong == 0 else 'NOT met'})")
    goal(f"containment of {count} points: zenolith / shapely prepared (wall)", contained, 1, at_most=True)
    print(f"goal: wrong containment answers of zenolith on and near the boundary = 0 "
          f"(got {side_wrong}: {'met' if side_wrong == 0 else 'NOT met'})")
    for op, ratio in booleans.items():
        goal(f"{op} of two {vertices}-vertex stars: zenolith / shapely (CPU)", ratio, 1.5, at_most=True)
    print(f"goal: relative area difference of the Boolean results <= 1e-9 "
          f"(got {area_diff:.1e}: {'met' if area_diff <= 1e-9 else 'NOT met'})")


if __name__ == "__main__":
    main()
