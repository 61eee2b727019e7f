"""A short tour of zenolith: build planar and spatial objects with
zenolith_core, ask the kernel about them, and print what it computes; then
the companion package: whole arrays in one call, exact predicates,
intersections and distances, and a picture of some of it.

    python examples/tour.py [OUT.svg]     (the picture; default: ./tour.svg)
"""

from __future__ import annotations

import argparse
import math
import pathlib
import time
from collections.abc import Callable
from fractions import Fraction

import numpy as np

import zenolith
import zenolith_core as z
from zenolith import exact


def section(title: str) -> None:
    print(f"\n== {title} ==")


def planar_basics() -> None:
    section("points, vectors and orientation")
    a, b, c = z.Point2(0, 0), z.Point2(4, 0), z.Point2(1, 3)
    ab = b - a
    print("b - a =", ab, "| 2 * (b - a) =", 2 * ab, "| -(b - a) =", -ab)
    x, y = c
    print(f"c unpacks to x={x}, y={y}; c[0]={c[0]}, c.homogeneous(2)={c.homogeneous(2)}")
    print("lexicographic order:", sorted([c, b, a, z.Point2(1, -1)]))
    for p, q, r in [(a, b, c), (a, c, b), (a, z.Point2(1, 1), z.Point2(2, 2))]:
        print(f"orientation({p}, {q}, {r}) -> {z.orientation(p, q, r)}")


def polygon_walk() -> None:
    section("a polygon walk")
    polygon = [z.Point2(0, 0), z.Point2(4, 0), z.Point2(4, 3), z.Point2(2, 1), z.Point2(0, 3)]
    perimeter = 0.0
    for i, p in enumerate(polygon):
        q = polygon[(i + 1) % len(polygon)]
        r = polygon[(i + 2) % len(polygon)]
        perimeter += z.Segment2(p, q).squared_length() ** 0.5
        kind = "convex" if z.orientation(p, q, r).left_turn() else "reflex"
        print(f"vertex {q}: {kind}")
    print(f"perimeter = {perimeter:.6f}")
    box = z.Bbox2()
    for p in polygon:
        box += p.bbox()
    print("bounding box:", box)


def lines_and_shapes() -> None:
    section("lines, triangles and circles")
    line = z.Line2(z.Point2(0, 1), z.Point2(2, 3))
    print("line through (0, 1) and (2, 3):", line)
    print("projection of (3, 0):", line.projection(z.Point2(3, 0)))
    tri = z.Triangle2(z.Point2(0, 0), z.Point2(4, 0), z.Point2(0, 4))
    for p in [z.Point2(1, 1), z.Point2(2, 2), z.Point2(5, 5)]:
        side = {1: "inside", 0: "on the boundary", -1: "outside"}[tri.bounded_side(p)]
        print(f"{p} is {side} of the triangle (area {tri.area()})")
    circle = z.Circle2(z.Point2(0, 0), z.Point2(2, 0), z.Point2(0, 2))
    print("circle through three points:", circle, "box:", circle.bbox())


def transformations() -> None:
    section("affine transformations")
    quarter = z.AffTransformation2(1.0, 0.0)  # sine 1, cosine 0
    shift = z.AffTransformation2(z.Vector2(1, 0))
    mirror = z.AffTransformation2(z.Line2(0, 1, -1))  # the line y = 1
    p = z.Point2(1, 0)
    print("quarter turn of", p, "->", quarter(p))
    print("shift after turn:", (shift * quarter)(p), "| turn after shift:", (quarter * shift)(p))
    print("mirror in y = 1 of", p, "->", mirror(p), "| of the vector (0, 1):",
          mirror.transform_vector(z.Vector2(0, 1)), "| odd:", mirror.is_odd())
    square = z.IsoRectangle2(z.Point2(0, 0), z.Point2(2, 1))
    print("rectangle", square, "turned:", square.transform(quarter))


def spatial() -> None:
    section("space")
    p, q, r = z.Point3(1, 0, 0), z.Point3(0, 1, 0), z.Point3(0, 0, 1)
    plane = z.Plane3(p, q, r)
    print("plane through the unit points:", plane)
    on = z.Point3(0.25, 0.25, 0.5)
    print("its frame:", on, "->", plane.to_2d(on), "->", plane.to_3d(plane.to_2d(on)))
    tet = z.Tetrahedron3(z.Point3(0, 0, 0), p, q, r)
    print("tetrahedron volume:", tet.volume(), "| (0.1, 0.1, 0.1) inside:",
          tet.has_on_bounded_side(z.Point3(0.1, 0.1, 0.1)))
    s1 = z.Sphere3(z.Point3(0, 0, 0), 1.0)
    s2 = z.Sphere3(z.Point3(1, 0, 0), 1.0)
    ring = z.Circle3(s1, s2)
    print("two unit spheres meet in", ring, "on", ring.supporting_plane())
    print("ring length:", round(math.sqrt(ring.approximate_squared_length()), 6))
    try:
        z.Circle3(s1, z.Sphere3(z.Point3(5, 0, 0), 1.0))
    except ValueError as e:
        print("far apart:", e)


# ---- the companion package: zenolith ----------------------------------------

# The planar scene the companion sections share, and the picture draws.
TRIANGLE = z.Triangle2(z.Point2(0, 0), z.Point2(4, 0), z.Point2(0, 4))
CROSSING = (z.Segment2(z.Point2(-1, -1), z.Point2(5, 2)), z.Segment2(z.Point2(-1, 2), z.Point2(5, -1)))
OUTSIDE = z.Point2(4, 3)


def best_time(work: Callable[[], object], repeat: int = 5) -> float:
    """The fastest of a few runs, in seconds: the least disturbed by other work."""
    best = math.inf
    for _ in range(repeat):
        start = time.perf_counter()
        work()
        best = min(best, time.perf_counter() - start)
    return best


def whole_arrays() -> None:
    """Side and orientation tests over 100,000 points, and what one call saves."""
    section("zenolith: whole arrays in one call")
    points = np.random.default_rng(2024).uniform(-1.0, 5.0, (100_000, 2))
    sides = zenolith.bounded_side(TRIANGLE, points)
    inside, boundary = int(np.count_nonzero(sides == 1)), int(np.count_nonzero(sides == 0))
    print(f"{len(points):,} random points in [-1, 5]^2 against the triangle (0, 0), (4, 0), (0, 4):")
    print(f"  {inside:,} inside, {boundary} on the boundary, {len(points) - inside - boundary:,} outside"
          f" ({inside / len(points):.2%}; the area ratio is 8/36 = {8 / 36:.2%})")
    # A single point broadcasts against the array: one orientation call per edge.
    a, b, c = TRIANGLE
    left = np.logical_and.reduce([zenolith.orientation(u, v, points) == 1 for u, v in ((a, b), (b, c), (c, a))])
    print(f"  left of all three edges (three orientation calls): {int(np.count_nonzero(left)):,}")
    # Per point, against a Python loop over core calls on objects built beforehand.
    objects = zenolith.points2(points[:5_000])
    same = [TRIANGLE.bounded_side(p) for p in objects] == sides[:5_000].tolist()
    per_array = best_time(lambda: zenolith.bounded_side(TRIANGLE, points)) / len(points)
    per_loop = best_time(lambda: [TRIANGLE.bounded_side(p) for p in objects]) / len(objects)
    print(f"  per point, one array call is {per_loop / per_array:.0f}x faster than a Python loop"
          f" over Triangle2.bounded_side on the first {len(objects):,} (same answers: {same})")


def exact_predicates() -> None:
    """Nearly collinear and nearly cocircular points, where doubles get the sign wrong."""
    section("zenolith.exact: the right sign for every finite input")
    q, r = z.Point2(12, 12), z.Point2(24, 24)
    x = 0.5 + 47 * math.ulp(0.5)
    p = z.Point2(x, math.nextafter(x, 1.0))  # one unit in the last place above the line y = x
    det = (Fraction(q.x) - Fraction(p.x)) * (Fraction(r.y) - Fraction(p.y)) \
        - (Fraction(q.y) - Fraction(p.y)) * (Fraction(r.x) - Fraction(p.x))
    print(f"p = ({p.x!r}, {p.y!r}) is one double above the line y = x; q = (12, 12), r = (24, 24):")
    print(f"  orientation(p, q, r) in doubles: {z.orientation(p, q, r)}; exact: {exact.orientation(p, q, r)}"
          f" (the determinant, in fractions: {float(det):+.3g})")
    # The same question for a 256 x 256 grid of neighbouring doubles from (0.5, 0.5) on.
    i, j = np.meshgrid(np.arange(256), np.arange(256), indexing="ij")
    grid = 0.5 + math.ulp(0.5) * np.column_stack([i.ravel(), j.ravel()])
    double, right = zenolith.orientation(grid, q, r), exact.orientation(grid, q, r)
    wrong_way = int(np.count_nonzero((double == -right) & (right != 0)))
    print(f"  for {len(grid):,} such points: doubles call {int(np.count_nonzero(double == 0)):,} collinear"
          f" (exactly {int(np.count_nonzero(right == 0))} are) and turn {wrong_way} the wrong way")
    a, b, c, t = z.Point2(1, 0), z.Point2(0, 1), z.Point2(-1, 0), z.Point2(0.6, 0.8)
    excess = Fraction(t.x) ** 2 + Fraction(t.y) ** 2 - 1
    print(f"is (0.6, 0.8) on the unit circle through (1, 0), (0, 1), (-1, 0)?"
          f" 0.6**2 + 0.8**2 = {0.6**2 + 0.8**2!r}")
    print(f"  the core's Circle2 says oriented_side = {z.Circle2(a, b, c).oriented_side(t)} (on it);"
          f" exact.side_of_oriented_circle = {exact.side_of_oriented_circle(a, b, c, t)} (outside):")
    print(f"  the doubles nearest 0.6 and 0.8 give x^2 + y^2 - 1 = {float(excess):+.3g}; the centre gets"
          f" {exact.side_of_oriented_circle(a, b, c, z.Point2(0, 0))} (inside)")


def intersections_and_distances() -> None:
    """Where two objects meet, and how far apart a point and a triangle are."""
    section("zenolith: intersections and distances")
    s1, s2 = CROSSING
    print(f"segments (-1, -1)-(5, 2) and (-1, 2)-(5, -1): do_intersect {zenolith.do_intersect(s1, s2)},"
          f" intersection {zenolith.intersection(s1, s2)}")
    tri = z.Triangle3(z.Point3(0, 0, 0), z.Point3(2, 0, 2), z.Point3(0, 2, 2))
    plane = z.Plane3(0, 0, 1, -1)  # z = 1
    print(f"triangle (0, 0, 0), (2, 0, 2), (0, 2, 2) and the plane z = 1: {zenolith.intersection(tri, plane)}")
    print(f"p = (4, 3) and the planar triangle: squared distance"
          f" {zenolith.squared_distance(TRIANGLE, OUTSIDE)}, closest point {zenolith.closest_point(TRIANGLE, OUTSIDE)}")
    far = z.Point3(2, 2, 0)
    print(f"(2, 2, 0) and the spatial triangle: squared distance {zenolith.squared_distance(tri, far):.6f}"
          f" (16/3), closest point {zenolith.closest_point(tri, far)}")


def picture(path: pathlib.Path) -> None:
    """The planar scene of the sections above, written as an SVG picture to ``path``."""
    section("zenolith.Drawing: a picture")
    sample = np.random.default_rng(7).uniform(-1.0, 5.0, (300, 2))
    inside = zenolith.bounded_side(TRIANGLE, sample) >= 0
    s1, s2 = CROSSING
    crossing = zenolith.intersection(s1, s2)
    nearest = zenolith.closest_point(TRIANGLE, OUTSIDE)
    assert isinstance(crossing, z.Point2)
    drawing = zenolith.Drawing(title="random points, two crossing segments, a closest point")
    drawing.add(TRIANGLE, stroke="#2ca02c", label="triangle")
    drawing.add(sample[inside], stroke="#2ca02c", point_size=1.5)
    drawing.add(sample[~inside], stroke="#999999", point_size=1.5)
    drawing.add(s1, s2, stroke="#1f77b4")
    drawing.add(crossing, stroke="#d62728", point_size=4, label="intersection")
    drawing.add(z.Segment2(OUTSIDE, nearest), stroke="#ff7f0e", arrow=False)
    drawing.add(OUTSIDE, stroke="#ff7f0e", point_size=4, label="p")
    drawing.add(nearest, stroke="#ff7f0e", point_size=4, label="closest to p")
    try:
        drawing.save(path)
    except OSError as error:
        raise SystemExit(f"cannot write the picture to {path}: {error.strerror}") from None
    print(f"{len(drawing)} objects drawn to {path.resolve()}")


def main() -> None:
    """Run every section; the one optional argument is where the picture goes."""
    parser = argparse.ArgumentParser(description="A tour of zenolith_core and the zenolith companion.")
    parser.add_argument("out", nargs="?", default="tour.svg", type=pathlib.Path,
                        help="where to write the picture (default: tour.svg in the current directory)")
    args = parser.parse_args()
    planar_basics()
    polygon_walk()
    lines_and_shapes()
    transformations()
    spatial()
    whole_arrays()
    exact_predicates()
    intersections_and_distances()
    picture(args.out)


if __name__ == "__main__":
    main()
