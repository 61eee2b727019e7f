"""A short tour of zenolith_core: build planar and spatial objects, ask the
kernel about them, and print what it computes."""

import math

import zenolith_core as z


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


def main() -> None:
    planar_basics()
    polygon_walk()
    lines_and_shapes()
    transformations()
    spatial()


if __name__ == "__main__":
    main()
