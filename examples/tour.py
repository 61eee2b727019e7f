"""A short tour of zenolith_core: build a few planar objects, ask the kernel
about them, and print what it computes."""

import zenolith_core as z


def section(title):
    print(f"\n== {title} ==")


def main():
    section("points and vectors")
    a, b, c = z.Point2(0, 0), z.Point2(4, 0), z.Point2(1, 3)
    print("a, b, c =", a, b, c)
    ab = b - a
    print("b - a =", ab, "| 2 * (b - a) =", 2 * ab, "| -(b - a) =", -ab)
    print("a + (c - a) == c:", a + (c - a) == c)
    x, y = c
    print(f"c unpacks to x={x}, y={y}; c[0]={c[0]}, c.homogeneous(2)={c.homogeneous(2)}")
    print("lexicographic order:", sorted([c, b, a, z.Point2(1, -1)]))

    section("orientation")
    for p, q, r in [(a, b, c), (a, c, b), (a, z.Point2(1, 1), z.Point2(2, 2))]:
        print(f"orientation({p}, {q}, {r}) -> {z.orientation(p, q, r)}")

    section("a polygon walk")
    polygon = [z.Point2(0, 0), z.Point2(4, 0), z.Point2(4, 3), z.Point2(2, 1), z.Point2(0, 3)]
    perimeter = 0.0
    for i, p in enumerate(polygon):
        q = polygon[(i + 1) % len(polygon)]
        r = polygon[(i + 2) % len(polygon)]
        perimeter += z.squared_distance(p.x, p.y, q.x, q.y) ** 0.5
        kind = "convex" if z.orientation(p, q, r).left_turn() else "reflex"
        print(f"vertex {q}: {kind}")
    print(f"perimeter = {perimeter:.6f}")

    section("moving a point in place")
    walker = z.Point2(0, 0)
    for step in [z.Vector2(1, 0), z.Vector2(0, 2), z.Vector2(-0.5, 0.5)]:
        walker += step
    print("after three steps:", walker)


if __name__ == "__main__":
    main()
