"""Convex hulls that break with double arithmetic, and stay right with
zenolith.exact.

The monotone-chain convex hull decides everything with one predicate: does
the chain turn left? On points that are nearly collinear, the core's
``orientation`` (plain doubles) answers some of those questions wrongly, and
the hull comes out with extra vertices, missing ones, or not even convex.
``zenolith.exact.orientation`` answers every question exactly, and this
program checks that with ``fractions.Fraction`` arithmetic.

Run: python examples/robust_hull.py
"""

from __future__ import annotations

import random
from collections.abc import Callable, Sequence
from fractions import Fraction

import zenolith_core as z
from zenolith import exact

Turn = Callable[[z.Point2, z.Point2, z.Point2], int]


def core_turn(p: z.Point2, q: z.Point2, r: z.Point2) -> int:
    o = z.orientation(p, q, r)
    return 1 if o.left_turn() else -1 if o.right_turn() else 0


def exact_turn(p: z.Point2, q: z.Point2, r: z.Point2) -> int:
    o = exact.orientation(p, q, r)
    return 1 if o.left_turn() else -1 if o.right_turn() else 0


def fraction_turn(p: z.Point2, q: z.Point2, r: z.Point2) -> int:
    """The orientation determinant in exact rational arithmetic."""
    px, py = Fraction(p.x), Fraction(p.y)
    d = (Fraction(q.x) - px) * (Fraction(r.y) - py) - (Fraction(q.y) - py) * (Fraction(r.x) - px)
    return (d > 0) - (d < 0)


def convex_hull(points: Sequence[z.Point2], turn: Turn) -> list[z.Point2]:
    """Andrew's monotone chain: the hull's vertices counterclockwise, without
    points in the middle of an edge."""
    pts = sorted({(p.x, p.y) for p in points})
    ordered = [z.Point2(x, y) for x, y in pts]
    if len(ordered) < 3:
        return ordered

    def chain(seq: Sequence[z.Point2]) -> list[z.Point2]:
        out: list[z.Point2] = []
        for p in seq:
            while len(out) >= 2 and turn(out[-2], out[-1], p) <= 0:
                out.pop()
            out.append(p)
        return out[:-1]

    return chain(ordered) + chain(ordered[::-1])


def is_strictly_convex(hull: Sequence[z.Point2]) -> bool:
    """Every consecutive triple turns left, in exact arithmetic."""
    n = len(hull)
    return n >= 3 and all(fraction_turn(hull[i], hull[(i + 1) % n], hull[(i + 2) % n]) > 0
                          for i in range(n))


def points_outside(hull: Sequence[z.Point2], points: Sequence[z.Point2]) -> int:
    """How many points lie strictly outside the hull, in exact arithmetic."""
    edges = [(hull[i - 1], hull[i]) for i in range(len(hull))]
    return sum(any(fraction_turn(a, b, p) < 0 for a, b in edges) for p in points)


def report(title: str, points: Sequence[z.Point2], shown: int = 8) -> bool:
    """Builds the hull three ways, prints them, and tells whether the exact
    predicate gave the right hull while the double one did not."""
    print(f"== {title}: {len(points)} points")
    reference = convex_hull(points, fraction_turn)
    results = {"core orientation (doubles)": convex_hull(points, core_turn),
               "zenolith.exact.orientation": convex_hull(points, exact_turn)}
    right = {}
    for name, hull in results.items():
        right[name] = [(p.x, p.y) for p in hull] == [(p.x, p.y) for p in reference]
        print(f"  {name}: {len(hull)} vertices, convex: {is_strictly_convex(hull)}, "
              f"points left outside: {points_outside(hull, points)}, "
              f"same as exact rational arithmetic: {right[name]}")
        for p in hull[:shown]:
            print(f"      ({p.x!r}, {p.y!r})")
        if len(hull) > shown:
            print(f"      ... {len(hull) - shown} more")
    print(f"  Fraction arithmetic: {len(reference)} vertices\n")
    return right["zenolith.exact.orientation"] and not right["core orientation (doubles)"]


def nearly_straight_line(n: int, seed: int = 4) -> list[z.Point2]:
    """Points of the line y = 0.1 x + 0.3, each rounded to doubles."""
    rng = random.Random(seed)
    return [z.Point2(x, 0.1 * x + 0.3) for x in (rng.uniform(0, 10) for _ in range(n))]


def tiny_grid(n: int) -> list[z.Point2]:
    """An n x n grid of neighbouring doubles at (0.5, 0.5), spacing 2**-53,
    and two far points on its diagonal line y = x."""
    u = 2.0 ** -53
    grid = [z.Point2(0.5 + i * u, 0.5 + j * u) for i in range(n) for j in range(n)]
    return grid + [z.Point2(12, 12), z.Point2(24, 24)]


def main() -> None:
    shown_right = [report("nearly straight line y = 0.1 x + 0.3", nearly_straight_line(10000)),
                   report("grid of spacing 2**-53 near (0.5, 0.5)", tiny_grid(64))]
    for ok in shown_right:
        assert ok, "the double hull happened to be right this time"
    print("Only the exact predicate gave the right hull in both cases.")


if __name__ == "__main__":
    main()
