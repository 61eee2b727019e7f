"""A gallery of pictures drawn with zenolith.Drawing, written as SVG files
into docs/gallery/ (or the directory given as the first argument).

    python examples/gallery.py [OUTPUT_DIR]
"""

from __future__ import annotations

import base64
import math
import pathlib
import struct
import sys
import zlib
import xml.etree.ElementTree as ET
from collections.abc import Callable
from fractions import Fraction

import numpy as np

import zenolith_core as z
from zenolith import Drawing

Orientation = Callable[[z.Point2, z.Point2, z.Point2], int]


# ---- convex hull: double against exact predicates ------------------------------

def double_orientation(p: z.Point2, q: z.Point2, r: z.Point2) -> int:
    """The kernel's orientation, evaluated in doubles."""
    turn = z.orientation(p, q, r)
    return 1 if turn.left_turn() else -1 if turn.right_turn() else 0


def exact_orientation(p: z.Point2, q: z.Point2, r: z.Point2) -> int:
    """The same sign, computed exactly: every double is a rational number."""
    px, py, qx, qy, rx, ry = (Fraction(v) for v in (p.x, p.y, q.x, q.y, r.x, r.y))
    det = (qx - px) * (ry - py) - (qy - py) * (rx - px)
    return (det > 0) - (det < 0)


def convex_hull(points: list[z.Point2], orientation: Orientation) -> list[z.Point2]:
    """Andrew's monotone chain: counterclockwise, collinear points dropped."""
    pts = sorted(points, key=lambda p: (p.x, p.y))

    def chain(seq: list[z.Point2]) -> list[z.Point2]:
        out: list[z.Point2] = []
        for p in seq:
            while len(out) >= 2 and orientation(out[-2], out[-1], p) <= 0:
                out.pop()
            out.append(p)
        return out[:-1]

    return chain(pts) + chain(pts[::-1])


def inside(p: z.Point2, hull: list[z.Point2]) -> bool:
    """Whether p lies in the convex polygon (or on it), decided exactly."""
    return all(exact_orientation(a, b, p) >= 0 for a, b in zip(hull, hull[1:] + hull[:1]))


def side_by_side(drawings: list[Drawing], gap: float = 12.0) -> str:
    """One SVG document holding several pictures in a row."""
    parts, x, height = [], 0.0, 0.0
    for d in drawings:
        body = d.svg().split("\n", 1)[1]  # without the XML declaration
        root = ET.fromstring(body)
        parts.append(body.replace("<svg ", f'<svg x="{x:g}" ', 1))
        x += float(root.get("width", 0)) + gap
        height = max(height, float(root.get("height", 0)))
    head = f'<svg xmlns="http://www.w3.org/2000/svg" width="{x - gap:g}" height="{height:g}">'
    return "\n".join(['<?xml version="1.0" encoding="UTF-8"?>', head, *parts, "</svg>\n"])


def hull_picture(out: pathlib.Path) -> None:
    """Points a few units in the last place below the diagonal y = x, and two
    far points on it. Exactly, the hull is a long thin triangle holding every
    point; with double predicates the far points seem to see the near ones on
    the diagonal, and the "hull" collapses. The pictures magnify the grid: one
    unit is one step between neighbouring doubles near (0.5, 0.5)."""
    ulp = math.ulp(0.5)
    far = [z.Point2(-11.5, -11.5), z.Point2(24.0, 24.0)]
    grid = [z.Point2(0.5 + i * ulp, 0.5 + j * ulp) for i in range(-8, 9) for j in range(-8, i + 1)]

    def magnified(p: z.Point2) -> z.Point2:
        return z.Point2((p.x - 0.5) / ulp, (p.y - 0.5) / ulp)

    panels = []
    for name, orientation in (("double", double_orientation), ("exact", exact_orientation)):
        hull = convex_hull(grid + far, orientation)
        ring = [magnified(p) for p in hull]
        left_out = [magnified(p) for p in grid if not inside(p, hull)]
        verdict = f"{len(left_out)} points outside" if left_out else "every point inside"
        d = Drawing(view=(-10.0, -10.0, 10.0, 10.0), size=340, title=f"{name} predicates: {verdict}")
        for k in range(1, len(ring) - 1):
            d.add(z.Triangle2(ring[0], ring[k], ring[k + 1]), stroke="none", fill="#f8d0d0")
        for a, b in zip(ring, ring[1:] + ring[:1]):
            d.add(z.Segment2(a, b), stroke="#d62728", width=2.0, arrow=False)
        d.add(*(magnified(p) for p in grid if inside(p, hull)), stroke="#777777", point_size=2.5)
        if left_out:
            d.add(*left_out, stroke="#ff7f0e", point_size=2.5)
        panels.append(d)
    (out / "hull.svg").write_text(side_by_side(panels), encoding="utf-8")


# ---- an affine map applied to a shape ----------------------------------------------

def affine_picture(out: pathlib.Path) -> None:
    """A triangle and a square, rotated by 30 degrees, scaled by 1.5 and
    moved; grey arrows lead each vertex to its image."""
    angle = math.radians(30.0)
    move = z.AffTransformation2(z.Vector2(6.0, 1.0))
    turn = z.AffTransformation2(math.sin(angle), math.cos(angle))
    grow = z.AffTransformation2(1.5)
    t = move * grow * turn  # the right operand first: turn, grow, then move
    tri = z.Triangle2(z.Point2(0, 0), z.Point2(2, 0), z.Point2(0.5, 1.5))
    box = z.IsoRectangle2(z.Point2(-2, -1), z.Point2(-0.5, 0.5))
    square = [box.vertex(i) for i in range(4)]
    moved_square = [t(p) for p in square]
    d = Drawing(size=480, title="turned by 30°, scaled by 1.5, moved by (6, 1)")
    d.add(tri, box, stroke="#1f77b4", label="before")
    d.add(tri.transform(t), stroke="#d62728", label="after")
    # the image of the square is no longer axis-parallel: two filled halves and its four sides
    d.add(z.Triangle2(*moved_square[:3]), z.Triangle2(moved_square[0], *moved_square[2:]),
          stroke="#f5c9c9", width=0.5, fill="#f5c9c9")  # stroked in the fill colour: no seam
    d.add(*(z.Segment2(a, b) for a, b in zip(moved_square, moved_square[1:] + moved_square[:1])),
          stroke="#d62728", arrow=False)
    for p in [tri.vertex(i) for i in range(3)] + square:
        d.add(z.Segment2(p, t(p)), stroke="#aaaaaa", width=1.0)
    d.save(out / "affine.svg")


# ---- circles through three points ---------------------------------------------------

def midpoint(p: z.Point2, q: z.Point2) -> z.Point2:
    return z.Point2((p.x + q.x) / 2, (p.y + q.y) / 2)


def circles_picture(out: pathlib.Path) -> None:
    """Circles through three points, with the perpendicular bisectors of the
    triangle's sides: all three meet at the circle's center."""
    d = Drawing(view=(-4.0, -3.0, 6.0, 5.0), size=480)
    triples = [
        (z.Point2(-2, 0), z.Point2(1, -1), z.Point2(0, 2)),
        (z.Point2(2, 3), z.Point2(4.5, 2.5), z.Point2(3, 4.5)),
    ]
    for k, (p, q, r) in enumerate(triples):
        colour = ("#1f77b4", "#2ca02c")[k]
        circle = z.Circle2(p, q, r)
        d.add(circle, stroke=colour)
        for a, b in ((p, q), (q, r), (r, p)):
            bisector = z.Segment2(a, b).supporting_line().perpendicular(midpoint(a, b))
            d.add(bisector, stroke=colour, width=0.75, opacity=0.6, arrow=False)
        d.add(p, q, r, stroke="black")
        d.add(circle.center(), stroke=colour, label="center")
    d.save(out / "circles.svg")


# ---- two spheres and the circle where they meet --------------------------------------

def spheres_picture(out: pathlib.Path) -> None:
    """Two spheres seen from the side (looking along +y: x to the right, z up).
    Their intersection is a circle standing in the radical plane, seen
    edge-on as a segment; a second, tilted view shows it as an ellipse."""
    a = z.Sphere3(z.Point3(0, 0, 0), 4.0)
    b = z.Sphere3(z.Point3(3, 0, 1), 9.0)
    meet = z.Circle3(a, b)
    for name, plane in (("side", z.Plane3(0, -1, 0, 0)), ("tilted", z.Plane3(1, -3, 2, 0))):
        d = Drawing(plane=plane, size=420, title=f"seen {'from the side' if name == 'side' else 'at an angle'}")
        d.add(a, stroke="#1f77b4", label="sphere 1")
        d.add(b, stroke="#2ca02c", label="sphere 2")
        d.add(meet.supporting_plane(), stroke="#888888", width=0.75, fill="none")
        d.add(meet, stroke="#d62728", width=2.5, fill="#d6272860", label="circle")
        d.add(a.center(), b.center(), stroke="black")
        d.save(out / f"spheres_{name}.svg")


# ---- a point cloud against a triangle ---------------------------------------------

def classify_picture(out: pathlib.Path) -> None:
    """Random points coloured by the side of a triangle they are on; a row of
    them lies on the line of its lower side, partly on the boundary."""
    tri = z.Triangle2(z.Point2(-0.8, -0.6), z.Point2(0.9, -0.6), z.Point2(-0.1, 0.9))
    rng = np.random.default_rng(7)
    row = np.column_stack([np.linspace(-1.0, 1.0, 41), np.full(41, -0.6)])
    cloud = np.concatenate([rng.uniform(-1.0, 1.0, size=(1500, 2)), row])
    sides = np.array([tri.bounded_side(z.Point2(x, y)) for x, y in cloud.tolist()])
    counts = {side: int((sides == side).sum()) for side in (1, 0, -1)}
    d = Drawing(size=420, title=f"{counts[1]} inside, {counts[0]} on the boundary, {counts[-1]} outside")
    d.add(tri, stroke="black", fill="#ffe08a")
    d.add(cloud[sides < 0], stroke="#9e9e9e", point_size=1.6)
    d.add(cloud[sides > 0], stroke="#1f77b4", point_size=1.6)
    d.add(cloud[sides == 0], stroke="#d62728", point_size=2.5)
    d.save(out / "classify.svg")


# ---- a polygon with a hole, meshed; a Voronoi diagram ------------------------------

def triangulation_picture(out: pathlib.Path) -> None:
    """A polygon with a hole as a constrained Delaunay triangulation, refined
    into a quality mesh (no angle below 25 degrees); and the Voronoi diagram
    of random points over their Delaunay triangulation. Needs the
    GPL-licensed zenolith-algorithms (skipped without it)."""
    try:
        from zenolith_algorithms.triangulation import Delaunay2, refine, triangulate_polygon
    except ImportError:
        print("triangulation.svg skipped: zenolith-algorithms is not installed")
        return
    t = 2 * np.pi * np.arange(24) / 24
    outer = np.column_stack([np.cos(t) * (4 + np.cos(5 * t)), np.sin(t) * (4 + np.cos(5 * t))])
    hole = [[-1.0, -1.0], [1.5, -0.5], [0.5, 1.5]]
    mesh = refine(triangulate_polygon(outer, holes=[hole]), min_angle=25.0, max_edge=0.9)
    left = Drawing(size=340, title=f"refined: {int(mesh.inside.sum())} triangles, no angle below 25°")
    for a, b, c in mesh.points[mesh.simplices[mesh.inside]]:
        left.add(z.Triangle2(z.Point2(*a), z.Point2(*b), z.Point2(*c)), stroke="#1f77b4", width=0.75, fill="#dbe9f6")
    points = np.random.default_rng(3).random((60, 2)) * 8 - 4
    delaunay = Delaunay2(points)
    right = Drawing(view=(-4.5, -4.5, 4.5, 4.5), size=340, title="Delaunay (grey) and Voronoi (red)")
    right.add(delaunay, stroke="#999999", width=0.75)
    voronoi = delaunay.voronoi()
    right.add(voronoi, stroke="#d62728", width=1.25)
    for (e0, _), d in zip(voronoi.edges[voronoi.edges[:, 1] < 0], voronoi.directions[voronoi.edges[:, 1] < 0]):
        right.add(z.Ray2(z.Point2(*voronoi.vertices[e0]), z.Vector2(*d)), stroke="#d62728", width=1.25, arrow=False)
    right.add(points, stroke="#000000", point_size=2.5)
    (out / "triangulation.svg").write_text(side_by_side([left, right]), encoding="utf-8")


# ---- Boolean operations; points in a polygon -----------------------------------------

def polygons_picture(out: pathlib.Path) -> None:
    """The intersection of a polygon with a hole and a star, computed exactly;
    and points inside a star (exact containment) with their convex hull.
    Needs the GPL-licensed zenolith-algorithms (skipped without it)."""
    try:
        from zenolith_algorithms.polygons import Polygon2, PolygonWithHoles2, convex_hull
        from zenolith_algorithms.triangulation import triangulate_polygon
    except ImportError:
        print("polygons.svg skipped: zenolith-algorithms is not installed")
        return

    def star(n: int, r1: float, r2: float, turn: float = 0.0, shift: tuple[float, float] = (0.0, 0.0)) -> np.ndarray:
        k = np.arange(2 * n)
        angle = np.pi * k / n + turn
        r = np.where(k % 2, r2, r1)
        return np.column_stack([r * np.cos(angle) + shift[0], r * np.sin(angle) + shift[1]])

    a = PolygonWithHoles2(star(7, 4.0, 2.2), [star(5, 1.2, 0.6)])
    b = Polygon2(star(5, 3.5, 1.5, 0.3, (2.0, 1.0)))
    left = Drawing(view=(-5.0, -5.0, 6.5, 5.5), size=340, title="intersection, exact")
    left.add(a, stroke="#1f77b4").add(b, stroke="#2ca02c")
    for part in a.intersection(b):
        # painted through a triangulation of the part (holes left out)
        cdt = triangulate_polygon(part.exterior.vertices, [h.vertices for h in part.holes])
        for tri in cdt.points[cdt.simplices[cdt.inside]]:
            left.add(z.Triangle2(*(z.Point2(*v) for v in tri)), stroke="none", fill="#f4a6a6")
        left.add(part, stroke="#d62728", width=2.5)
    shape = Polygon2(star(6, 4.0, 1.8))
    points = np.random.default_rng(5).uniform(-4.5, 4.5, (600, 2))
    inside = shape.contains(points)
    right = Drawing(view=(-5.0, -5.0, 5.0, 5.0), size=340, title="contains (exact) and the convex hull")
    right.add(shape, stroke="#1f77b4")
    right.add(points[inside], stroke="#2ca02c", point_size=2.5).add(points[~inside], stroke="#999999", point_size=2.0)
    hull = convex_hull(points[inside])
    right.add(Polygon2(points[inside][hull.vertices]), stroke="#ff7f0e", width=1.5)
    (out / "polygons.svg").write_text(side_by_side([left, right]), encoding="utf-8")


# ---- a triangle mesh, ray-cast ------------------------------------------------------

def png(rgb: np.ndarray) -> bytes:
    """An 8-bit RGB image (H, W, 3) as PNG bytes."""
    height, width, _ = rgb.shape
    raw = b"".join(b"\x00" + row.tobytes() for row in rgb.astype(np.uint8))

    def chunk(tag: bytes, data: bytes) -> bytes:
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def knotted_torus(n: int = 240, m: int = 48) -> tuple[np.ndarray, np.ndarray]:
    """A closed torus with ridges winding around it: an (n x m) grid of
    vertices, two triangles per cell, outward oriented."""
    u, v = np.meshgrid(2 * np.pi * np.arange(n) / n, 2 * np.pi * np.arange(m) / m, indexing="ij")
    r = 0.45 + 0.06 * np.cos(7 * u + 3 * v)
    xyz = np.stack([(1.2 + r * np.cos(v)) * np.cos(u), (1.2 + r * np.cos(v)) * np.sin(u), r * np.sin(v)], -1)
    i, j = np.meshgrid(np.arange(n), np.arange(m), indexing="ij")
    a, b, c, d = i * m + j, ((i + 1) % n) * m + j, ((i + 1) % n) * m + (j + 1) % m, i * m + (j + 1) % m
    faces = np.concatenate([np.stack([a, b, c], -1).reshape(-1, 3), np.stack([a, c, d], -1).reshape(-1, 3)])
    return xyz.reshape(-1, 3), faces


def mesh_picture(out: pathlib.Path) -> None:
    """A ray-cast picture of a closed mesh: one ray per pixel from a camera,
    shaded by the hit face's normal and darkened with depth; the rays'
    first hits come from the mesh's AABB tree. Needs the GPL-licensed
    zenolith-algorithms (skipped without it)."""
    try:
        from zenolith_algorithms.mesh import TriangleMesh
    except ImportError:
        print("mesh.svg skipped: zenolith-algorithms is not installed")
        return
    mesh = TriangleMesh(*knotted_torus())
    size = 360
    eye = np.array([0.0, -4.2, 3.0])
    forward = -eye / np.linalg.norm(eye)
    right = np.cross(forward, [0.0, 0.0, 1.0])
    right /= np.linalg.norm(right)
    up = np.cross(right, forward)
    s, t = np.meshgrid(np.linspace(-0.45, 0.45, size), np.linspace(0.45, -0.45, size))
    directions = forward + s[..., None] * right + t[..., None] * up
    hits = mesh.ray_first_hit(eye, directions.reshape(-1, 3))
    normals = mesh.face_normals[np.maximum(hits.face, 0)]
    light = np.array([-0.4, -0.6, 0.7]) / np.linalg.norm([-0.4, -0.6, 0.7])
    shade = 0.25 + 0.75 * np.clip(normals @ light, 0, 1)
    near, far = hits.distance[hits.hit].min(), hits.distance[hits.hit].max()
    depth = np.where(hits.hit, 1 - 0.5 * (hits.distance - near) / (far - near), 0)
    tone = np.clip(shade * depth, 0, 1)[:, None] * np.array([70, 140, 230]) + 20
    rgb = np.where(hits.hit[:, None], tone, 255).reshape(size, size, 3)
    title = (f"{mesh.nfaces} faces, {size * size} rays: first hits, "
             f"volume {mesh.volume:.3f}, closed {mesh.is_closed}")
    image = base64.b64encode(png(rgb)).decode("ascii")
    (out / "mesh.svg").write_text(
        "\n".join([
            '<?xml version="1.0" encoding="UTF-8"?>',
            f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size + 24}">',
            f'<text x="{size / 2:g}" y="16" text-anchor="middle" font-family="sans-serif" font-size="12">{title}</text>',
            f'<image x="0" y="24" width="{size}" height="{size}" href="data:image/png;base64,{image}"/>',
            "</svg>\n",
        ]),
        encoding="utf-8",
    )


PICTURES = [hull_picture, affine_picture, circles_picture, spheres_picture, classify_picture, triangulation_picture,
            polygons_picture, mesh_picture]


def main(argv: list[str]) -> None:
    out = pathlib.Path(argv[1]) if len(argv) > 1 else pathlib.Path(__file__).resolve().parent.parent / "docs" / "gallery"
    out.mkdir(parents=True, exist_ok=True)
    for picture in PICTURES:
        picture(out)
    for path in sorted(out.glob("*.svg")):
        print(path)


if __name__ == "__main__":
    main(sys.argv)
