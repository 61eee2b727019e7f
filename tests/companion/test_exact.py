"""zenolith.exact against exact rational arithmetic on degenerate and nearly
degenerate input, arrays against the per-object form, and the refusal of
non-finite input."""

import math
import random
from fractions import Fraction as F

import numpy as np
import pytest

import zenolith_core as z
from zenolith import exact


def sign(x):
    return (x > 0) - (x < 0)


def det(m):
    """Exact determinant by cofactor expansion (m holds Fractions)."""
    if len(m) == 1:
        return m[0][0]
    return sum((-1) ** j * m[0][j] * det([row[:j] + row[j + 1:] for row in m[1:]])
               for j in range(len(m)))


def sub(a, b):
    return [F(x) - F(y) for x, y in zip(a, b)]


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def cross(u, v):
    return [u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]]


# ---- reference predicates on tuples of floats, in exact arithmetic ---------

def orient(*pts):
    return sign(det([sub(x, pts[0]) for x in pts[1:]]))


def lifted(pts, t):
    """Rows (x - t, |x - t|^2) of the in-circle / in-sphere determinants."""
    return [sub(x, t) + [dot(sub(x, t), sub(x, t))] for x in pts]


def in_circle(p, q, r, t):
    return sign(det(lifted([p, q, r], t)))


def in_sphere(p, q, r, s, t):
    return -sign(det(lifted([p, q, r, s], t)))


def collinear(p, q, r):
    u, v = sub(q, p), sub(r, p)
    return all(u[i] * v[j] == u[j] * v[i] for i in range(len(p)) for j in range(i))


def coord_order(p, q, r):
    """q between p and r, decided on the first axis where p and q differ."""
    for a, b, c in zip(p, q, r):
        if a != b:
            return (c >= b) if a < b else (c <= b)
    return True


def on_segment(a, b, p):
    return collinear(a, p, b) and coord_order(a, p, b)


def cmp(a, b):
    return (a > b) - (a < b)


POINT_PREDICATES = {
    # name: (dimension, number of points, reference)
    "orientation2": (2, 3, orient),
    "orientation3": (3, 4, orient),
    "side_of_oriented_circle": (2, 4, in_circle),
    "side_of_bounded_circle": (2, 4, lambda p, q, r, t: in_circle(p, q, r, t) * orient(p, q, r)),
    "side_of_oriented_sphere": (3, 5, in_sphere),
    "side_of_bounded_sphere": (3, 5, lambda p, q, r, s, t: in_sphere(p, q, r, s, t) * orient(p, q, r, s)),
    "collinear2": (2, 3, collinear),
    "collinear3": (3, 3, collinear),
    "coplanar": (3, 4, lambda *x: orient(*x) == 0),
    "equal2": (2, 2, lambda p, q: p == q),
    "equal3": (3, 2, lambda p, q: p == q),
    "compare_x2": (2, 2, lambda p, q: cmp(p[0], q[0])),
    "compare_y3": (3, 2, lambda p, q: cmp(p[1], q[1])),
    "compare_z": (3, 2, lambda p, q: cmp(p[2], q[2])),
    "compare_xy": (2, 2, lambda p, q: cmp(p, q)),
    "compare_lexicographically3": (3, 2, lambda p, q: cmp(p, q)),
    "are_ordered_along_line2": (2, 3, lambda p, q, r: collinear(p, q, r) and coord_order(p, q, r)),
    "are_ordered_along_line3": (3, 3, lambda p, q, r: collinear(p, q, r) and coord_order(p, q, r)),
    "collinear_are_ordered_along_line3": (3, 3, coord_order),
}


# ---- inputs concentrated on degenerate configurations ----------------------

def dyadic(rng):
    return rng.randint(-64, 64) / 16


POINT_SCALES = [1, 1, 1, 2.0 ** 1000, 2.0 ** 500, 2.0 ** -1000, 2.0 ** -1060]
# objects are built from products of up to three coordinates: no overflow
OBJECT_SCALES = [1, 1, 1, 2.0 ** 300, 2.0 ** -1000, 2.0 ** -1060]


def configuration(rng, dim, n, scales):
    """n points: exactly on a line, plane, circle or sphere, or rounded onto a
    line, then possibly nudged by one ulp and scaled to huge, tiny or
    subnormal magnitudes (scaling by a power of two keeps exact relations
    until the subnormal range)."""
    base = [dyadic(rng) for _ in range(dim)]
    u = [rng.randint(-4, 4) / 4 for _ in range(dim)]
    v = [rng.randint(-4, 4) / 4 for _ in range(dim)]
    mode = rng.choice(["line", "plane", "round", "rounded", "random", "repeat"])
    pts = []
    for _ in range(n):
        if mode == "line":
            s, t = rng.randint(-3, 3), 0
        elif mode == "plane":
            s, t = rng.randint(-3, 3), rng.randint(-3, 3)
        if mode in ("line", "plane"):
            pts.append([b + s * x + t * y for b, x, y in zip(base, u, v)])
        elif mode == "round":  # integer points on a circle / sphere of radius 5 or 3
            c = rng.choice([(3, 4), (4, 3), (5, 0), (0, 5)] if dim == 2 else
                           [(3, 0, 0), (0, 3, 0), (0, 0, 3), (2, 2, 1), (2, 1, 2), (1, 2, 2)])
            pts.append([b + rng.choice((-1, 1)) * k for b, k in zip(base, c)])
        elif mode == "rounded":  # interpolated along a line: off it by rounding
            t = rng.random() * 4 - 2
            pts.append([b + t * (x + 0.1) for b, x in zip(base, u)])
        elif mode == "random":
            pts.append([rng.uniform(-2, 2) for _ in range(dim)])
        else:
            pts.append(list(rng.choice(pts)) if pts and rng.random() < 0.6 else
                       [dyadic(rng) for _ in range(dim)])
    if rng.random() < 0.5:
        p = rng.choice(pts)
        k = rng.randrange(dim)
        p[k] = math.nextafter(p[k], rng.choice((-math.inf, math.inf)))
    scale = rng.choice(scales)
    return [tuple(x * scale for x in p) for p in pts]


CASES = 400


def cases(dim, n, seed, scales=POINT_SCALES):
    rng = random.Random(seed)
    return [configuration(rng, dim, n, scales) for _ in range(CASES)]


def point(c):
    return z.Point2(*c) if len(c) == 2 else z.Point3(*c)


def native_value(x):
    return x.left_turn() - x.right_turn() if isinstance(x, z.OrientationResult) else x


@pytest.mark.parametrize("key", sorted(POINT_PREDICATES))
def test_point_predicates_agree_with_rationals(key):
    dim, n, reference = POINT_PREDICATES[key]
    function = getattr(exact, key.rstrip("23"))
    configs = cases(dim, n, key)
    got = [native_value(function(*map(point, c))) for c in configs]
    want = [reference(*c) for c in configs]
    bad = [(c, g, w) for c, g, w in zip(configs, got, want) if g != w]
    assert not bad, f"{len(bad)} disagreements, first: {bad[0]}"
    # the array form agrees element by element, single points broadcasting
    arrays = [np.array([c[k] for c in configs]) for k in range(n)]
    assert function(*arrays).tolist() == got
    assert function(*arrays[:-1], point(configs[0][-1])).tolist() == [
        native_value(function(*map(point, c[:-1]), point(configs[0][-1]))) for c in configs]


# ---- objects: each built from degenerate configurations, with its exact rule -

def triangle_side(v, p):
    """bounded side of a triangle (or a flat one: its segments) / tetrahedron."""
    o = orient(*v)
    if o == 0:
        faces = [[v[i], v[j]] for i in range(3) for j in range(i)] if len(v) == 3 else \
            [[v[i] for i in range(4) if i != k] for k in range(4)]
        return 0 if any(on_triangle3(f, p) if len(f) == 3 else on_segment(*f, p)
                        for f in faces) else -1
    signs = [orient(*(v[:i] + [p] + v[i + 1:])) * o for i in range(len(v))]
    return -1 if min(signs) < 0 else (0 if min(signs) == 0 else 1)


def on_triangle3(v, p):
    a, b, c = v
    n = cross(sub(b, a), sub(c, a))
    if not any(n):
        return any(on_segment(x, y, p) for x, y in ((a, b), (b, c), (c, a)))
    return orient(a, b, c, p) == 0 and all(
        dot(cross(sub(y, x), sub(p, x)), n) >= 0 for x, y in ((a, b), (b, c), (c, a)))


def on_ray(s, q, p):
    return p == s or (collinear(s, q, p) and dot(sub(p, s), sub(q, s)) > 0)


def box_side(lo, hi, p):
    inside = all(a < x < b for a, x, b in zip(lo, p, hi))
    within = all(a <= x <= b for a, x, b in zip(lo, p, hi))
    return 1 if inside else (0 if within else -1)


def sphere_side(center, r2, p):
    return sign(F(r2) - dot(sub(p, center), sub(p, center)))


def plane_value(coeffs, p):
    return sign(sum(F(a) * F(x) for a, x in zip(coeffs, list(p) + [1])))


def make(kind, pts):
    """The object, its predicate, and the exact answer for the last point."""
    P = [point(c) for c in pts]
    p, c = pts[-1], pts
    if kind == "line2":
        l = z.Line2(P[0], P[1])
        return l, "oriented_side", plane_value((l.a, l.b, l.c), p)
    if kind == "triangle2":
        return z.Triangle2(*P[:3]), "bounded_side", triangle_side(c[:3], p)
    if kind == "triangle2_oriented":
        return z.Triangle2(*P[:3]), "oriented_side", triangle_side(c[:3], p) * orient(*c[:3])
    if kind in ("circle2", "sphere3", "circle2_bounded", "sphere3_bounded"):
        r2 = sum((a - b) ** 2 for a, b in zip(c[1], c[0]))
        o = random.Random(str(c)).choice((1, -1))
        obj = (z.Circle2 if kind.startswith("circle2") else z.Sphere3)(P[0], r2, o)
        if kind.endswith("_bounded"):
            return obj, "bounded_side", sphere_side(c[0], r2, p)
        return obj, "oriented_side", sphere_side(c[0], r2, p) * o
    if kind == "rectangle":
        return z.IsoRectangle2(P[0], P[1]), "bounded_side", box_side(
            *zip(*[sorted(a) for a in zip(c[0], c[1])]), p)
    if kind == "cuboid":
        return z.IsoCuboid3(P[0], P[1]), "bounded_side", box_side(
            *zip(*[sorted(a) for a in zip(c[0], c[1])]), p)
    if kind in ("segment2", "segment3"):
        return (z.Segment2 if kind == "segment2" else z.Segment3)(P[0], P[1]), "has_on", \
            on_segment(c[0], c[1], p)
    if kind in ("ray2", "ray3"):
        return (z.Ray2 if kind == "ray2" else z.Ray3)(P[0], P[1]), "has_on", on_ray(c[0], c[1], p)
    if kind == "line3":
        v = z.Vector3(*(b - a for a, b in zip(c[0], c[1])))
        V = [F(v.x), F(v.y), F(v.z)]
        want = p == c[0] if not any(V) else not any(cross(sub(p, c[0]), V))
        return z.Line3(P[0], v), "has_on", want
    if kind == "plane3":
        h = z.Plane3(*P[:3])
        return h, "has_on", plane_value((h.a, h.b, h.c, h.d), p) == 0
    if kind == "plane3_oriented":
        h = z.Plane3(*P[:3])
        return h, "oriented_side", plane_value((h.a, h.b, h.c, h.d), p)
    if kind == "triangle3":
        return z.Triangle3(*P[:3]), "has_on", on_triangle3(c[:3], p)
    if kind == "tetrahedron":
        return z.Tetrahedron3(*P[:4]), "bounded_side", triangle_side(c[:4], p)
    if kind == "circle3":
        h = z.Plane3(*P[1:4])
        r2 = sum((a - b) ** 2 for a, b in zip(c[1], c[0]))
        want = sphere_side(c[0], r2, p) == 0 and plane_value((h.a, h.b, h.c, h.d), p) == 0
        return z.Circle3(P[0], r2, h), "has_on", want
    raise AssertionError(kind)


OBJECTS = {"line2": (2, 3), "triangle2": (2, 4), "triangle2_oriented": (2, 4), "circle2": (2, 3),
           "rectangle": (2, 3), "segment2": (2, 3), "ray2": (2, 3), "sphere3": (3, 3),
           "cuboid": (3, 3), "segment3": (3, 3), "ray3": (3, 3), "line3": (3, 3),
           "plane3": (3, 4), "plane3_oriented": (3, 4), "circle2_bounded": (2, 3),
           "sphere3_bounded": (3, 3), "triangle3": (3, 4), "tetrahedron": (3, 5), "circle3": (3, 5)}


@pytest.mark.parametrize("kind", sorted(OBJECTS))
def test_object_predicates_agree_with_rationals(kind):
    dim, n = OBJECTS[kind]
    bad = []
    for c in cases(dim, n, kind, OBJECT_SCALES):
        obj, name, want = make(kind, c)
        got = getattr(exact, name)(obj, point(c[-1]))
        if got != want:
            bad.append((obj, c[-1], got, want))
        assert getattr(exact, name)(obj, np.array([c[-1], c[-1]])).tolist() == [got, got]
    assert not bad, f"{len(bad)} disagreements, first: {bad[0]}"


def test_results_have_the_core_types():
    p, q, r = z.Point2(0, 0), z.Point2(1, 0), z.Point2(0, 1)
    assert repr(exact.orientation(p, q, r)) == repr(z.orientation(p, q, r)) == "Left turn"
    assert type(exact.side_of_oriented_circle(p, q, r, p)) is int
    assert type(exact.collinear(p, q, r)) is bool
    assert exact.orientation(p, q, np.array([0.0, 1.0])).shape == ()
    assert exact.orientation([p.x, p.y], q, [[0, 1], [2, 0]]).dtype == np.int8
    assert exact.collinear(np.zeros((2, 3)), [1, 1, 1], [2, 2, 2]).tolist() == [True, True]


def test_the_core_gets_these_wrong():
    # points interpolated along a segment are almost never exactly on it
    s = z.Segment2(z.Point2(0.1, 0.2), z.Point2(0.7, 0.9))
    pts = [z.Point2(0.1 + t * 0.6, 0.2 + t * 0.7) for t in np.linspace(0, 1, 101)[1:-1]]
    double = sum(s.has_on(p) for p in pts)
    assert double > 0 and sum(exact.has_on(s, p) for p in pts) < double


@pytest.mark.parametrize("call, text", [
    (lambda: exact.orientation(z.Point2(0, 0), z.Point2(math.nan, 0), z.Point2(0, 1)), "q: expected finite"),
    (lambda: exact.orientation([0, 0], [[0, 1], [1, math.inf]], [0, 1]), "q[1]: expected finite"),
    (lambda: exact.orientation([0, 0], [1, 0], [0, math.nan]), "r: expected finite"),
    (lambda: exact.has_on(z.Line2(0, 0, math.inf), z.Point2(0, 0)), "obj: expected finite"),
    (lambda: exact.has_on(z.Line2(1, 0, 0), [[0, 0], [0, 0], [math.nan, 0]]), "p[2]: expected finite"),
    (lambda: exact.coplanar(*[[0, 0, 0]] * 3, [[0, 0, 0], [0, -math.inf, 0]]), "s[1]: expected finite"),
    (lambda: exact.collinear([0, 0, 0], [1, 1], [2, 2]), "q: expected 3D points"),
    (lambda: exact.collinear(np.zeros((3, 2)), np.zeros((4, 2)), [2, 2]), "p has 3 rows, q has 4"),
])
def test_errors_name_the_argument(call, text):
    with pytest.raises(ValueError) as info:
        call()
    assert text in str(info.value)


def test_objects_of_other_classes_are_refused():
    with pytest.raises(TypeError):
        exact.oriented_side(z.Segment2(z.Point2(0, 0), z.Point2(1, 0)), z.Point2(0, 0))


def test_degenerate_objects_get_the_exact_answer():
    # The kernel's rules, meant for proper objects, call every point of a flat
    # triangle's line "inside" and put all of space on a zero-direction line.
    P2, P3 = z.Point2, z.Point3
    flat = z.Triangle2(P2(0, 0), P2(1, 1), P2(2, 2))
    assert flat.bounded_side(P2(5, 5)) == 1
    assert [exact.bounded_side(flat, P2(t, t)) for t in (5, 1.5, 0)] == [-1, 0, 0]
    assert exact.oriented_side(flat, P2(0, 3)) == 0
    tet = z.Tetrahedron3(P3(0, 0, 0), P3(1, 0, 0), P3(0, 1, 0), P3(1, 1, 0))
    assert exact.bounded_side(tet, [[0.5, 0.5, 0], [2, 2, 0], [0.5, 0.5, 1]]).tolist() == [0, -1, -1]
    point_line = z.Line3(P3(1, 2, 3), z.Vector3(0, 0, 0))
    assert point_line.has_on(P3(7, 8, 9))
    assert not exact.has_on(point_line, P3(7, 8, 9)) and exact.has_on(point_line, P3(1, 2, 3))
