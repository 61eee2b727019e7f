"""Intersections and distances between two objects and against arrays of
points: every supported pair against the documented table, hand-checked
cases, and exact rational references on near-degenerate input."""

import math
import pathlib
import re
from fractions import Fraction

import numpy as np
import pytest

import zenolith
import zenolith_core as z
from zenolith import _intersections

P2, P3 = z.Point2, z.Point3
DOCS = pathlib.Path(__file__).resolve().parents[2] / "docs" / "intersections.md"


# Every object of the first set contains the origin (the circle and the
# sphere pass through it); every object of the second set lies far from all
# of the first set, lines and planes included.
NEAR = {
    "Point2": P2(0, 0),
    "Line2": z.Line2(P2(-1, -1), P2(1, 1)),
    "Segment2": z.Segment2(P2(-1, 1), P2(1, -1)),
    "Ray2": z.Ray2(P2(0, 0), P2(1, -2)),
    "Triangle2": z.Triangle2(P2(-1, -1), P2(2, 0), P2(0, 2)),
    "IsoRectangle2": z.IsoRectangle2(P2(-1, -1), P2(1, 1)),
    "Circle2": z.Circle2(P2(1, 0), 1.0),
    "Bbox2": z.Bbox2(-1, -1, 1, 1),
    "Point3": P3(0, 0, 0),
    "Line3": z.Line3(P3(0, 0, 0), P3(1, 1, 0)),
    "Segment3": z.Segment3(P3(-1, 1, 0), P3(1, -1, 0)),
    "Ray3": z.Ray3(P3(0, 0, 0), P3(1, -2, 0)),
    "Plane3": z.Plane3(0, 0, 1, 0),
    "Triangle3": z.Triangle3(P3(-1, -1, 0), P3(2, 0, 0), P3(0, 2, 0)),
    "Sphere3": z.Sphere3(P3(1, 0, 0), 1.0),
    "Tetrahedron3": z.Tetrahedron3(P3(-1, -1, -1), P3(4, -1, -1), P3(-1, 4, -1), P3(-1, -1, 4)),
    "IsoCuboid3": z.IsoCuboid3(P3(-1, -1, -1), P3(1, 1, 1)),
    "Bbox3": z.Bbox3(-1, -1, -1, 1, 1, 1),
}
FAR = {
    "Point2": P2(10, 20),
    "Line2": z.Line2(P2(0, 30), P2(1, 31)),
    "Segment2": z.Segment2(P2(10, 20), P2(11, 21)),
    "Ray2": z.Ray2(P2(10, 21), P2(10, 22)),
    "Triangle2": z.Triangle2(P2(10, 20), P2(11, 20), P2(10, 21)),
    "IsoRectangle2": z.IsoRectangle2(P2(10, 20), P2(11, 21)),
    "Circle2": z.Circle2(P2(11, 21), 0.25),
    "Bbox2": z.Bbox2(10, 20, 11, 21),
    "Point3": P3(10, 20, 21),
    "Line3": z.Line3(P3(10, 20, 21), P3(11, 20, 21)),
    "Segment3": z.Segment3(P3(10, 20, 21), P3(11, 21, 21)),
    "Ray3": z.Ray3(P3(10, 20, 21), P3(10, 21, 21)),
    "Plane3": z.Plane3(0, 0, 1, -30),
    "Triangle3": z.Triangle3(P3(10, 20, 21), P3(11, 20, 21), P3(10, 21, 22)),
    "Sphere3": z.Sphere3(P3(11, 21, 21), 0.25),
    "Tetrahedron3": z.Tetrahedron3(P3(10, 20, 21), P3(11, 20, 21), P3(10, 21, 21), P3(10, 20, 22)),
    "IsoCuboid3": z.IsoCuboid3(P3(10, 20, 21), P3(11, 21, 22)),
    "Bbox3": z.Bbox3(10, 20, 21, 11, 21, 22),
}


def documented_pairs():
    """{(a, b): (do_intersect, intersection result names, distance)} from the docs."""
    table = {}
    for line in DOCS.read_text().splitlines():
        m = re.match(r"\| `(\w+)` \| `(\w+)` \| ([^|]+) \| ([^|]+) \| ([^|]+) \|$", line)
        if m:
            a, b, meets, result, dist = (g.strip() for g in m.groups())
            table[a, b] = (meets, set(re.findall(r"`([^`]+)`", result)), dist)
    return table


TABLE = documented_pairs()
SUPPORTED = {op: {(a.__name__, b.__name__) for a, b in _intersections._testing.supported()[op]}
             for op in ("do_intersect", "intersection", "squared_distance")}


def test_the_documented_table_is_the_supported_table():
    for op, column in [("do_intersect", 0), ("intersection", 1), ("squared_distance", 2)]:
        documented = {pair for pair, row in TABLE.items() if row[column] not in ("-", set())}
        assert {tuple(sorted(p)) for p in SUPPORTED[op]} == {tuple(sorted(p)) for p in documented}, op


def result_name(r):
    return f"list[{type(r[0]).__name__}]" if isinstance(r, list) else type(r).__name__


@pytest.mark.parametrize("pair", sorted(TABLE), ids="-".join)
def test_every_pair_near_and_far(pair):
    a_name, b_name = pair
    meets, results, dist = TABLE[pair]
    a, b, b_far = NEAR[a_name], NEAR[b_name], FAR[b_name]
    for x, y in [(a, b), (b, a)]:
        assert zenolith.do_intersect(x, y) is True
    assert zenolith.do_intersect(a, b_far) is False and zenolith.do_intersect(b_far, a) is False
    if results:
        got = zenolith.intersection(a, b)
        assert result_name(got) in results
        assert zenolith.intersection(b_far, a) is None
    if dist != "-":
        assert zenolith.squared_distance(a, b) == zenolith.squared_distance(b, a) == 0.0
        far = zenolith.squared_distance(a, b_far)
        assert far == zenolith.squared_distance(b_far, a) and far > 1.0


# Hand-checked cases: (a, b, intersection, squared distance or None).
S2, S3 = z.Segment2, z.Segment3
CASES = [
    (S2(P2(0, 0), P2(2, 2)), S2(P2(0, 2), P2(2, 0)), P2(1, 1), 0.0),  # crossing
    (S2(P2(0, 0), P2(1, 1)), S2(P2(1, 1), P2(2, 0)), P2(1, 1), 0.0),  # touching at an end
    (S2(P2(0, 0), P2(1, 0)), S2(P2(0, 1), P2(1, 1)), None, 1.0),  # parallel
    (S2(P2(0, 0), P2(2, 0)), S2(P2(1, 0), P2(3, 0)), S2(P2(1, 0), P2(2, 0)), 0.0),  # overlap
    (S2(P2(1, 1), P2(1, 1)), S2(P2(0, 0), P2(2, 2)), P2(1, 1), 0.0),  # degenerate: a point
    (S2(P2(0, 0), P2(1, 0)), S2(P2(3, 0), P2(5, 0)), None, 4.0),  # collinear, apart
    (z.Line2(P2(0, 0), P2(1, 0)), z.Line2(P2(0, 2), P2(1, 2)), None, 4.0),
    (z.Ray2(P2(0, 0), P2(1, 0)), z.Ray2(P2(2, 0), P2(1, 0)), S2(P2(0, 0), P2(2, 0)), 0.0),
    (z.IsoRectangle2(P2(0, 0), P2(2, 2)), z.IsoRectangle2(P2(1, 1), P2(3, 3)),
     z.IsoRectangle2(P2(1, 1), P2(2, 2)), None),
    (z.Triangle2(P2(0, 0), P2(4, 0), P2(0, 4)), S2(P2(1, 1), P2(1, 1)), P2(1, 1), 0.0),
    (z.Ray3(P3(0.25, 0.25, 5), P3(0.25, 0.25, 4)),
     z.Triangle3(P3(0, 0, 0), P3(1, 0, 0), P3(0, 1, 0)), P3(0.25, 0.25, 0), None),
    (z.Plane3(0, 0, 1, 0), z.Plane3(1, 0, 0, -2), z.Line3, 0.0),
    (z.Plane3(0, 0, 1, 0), z.Plane3(0, 0, 2, -6), None, 9.0),  # parallel
    (z.Plane3(0, 0, 1, -1), z.Sphere3(P3(0, 0, 0), 4.0), z.Circle3(P3(0, 0, 1), 3.0, z.Plane3(0, 0, 1, -1)), None),
    (z.Plane3(0, 0, 1, -2), z.Sphere3(P3(0, 0, 0), 4.0), P3(0, 0, 2), None),  # tangent
    (z.Sphere3(P3(0, 0, 0), 1.0), z.Sphere3(P3(2, 0, 0), 1.0), P3(1, 0, 0), None),
    (S3(P3(0, 0, 0), P3(2, 0, 0)), S3(P3(1, -1, 1), P3(1, 1, 1)), None, 1.0),  # skew
]


@pytest.mark.parametrize("a, b, expected, dist", CASES)
def test_hand_checked_cases(a, b, expected, dist):
    got = zenolith.intersection(a, b)
    if isinstance(expected, type):
        assert isinstance(got, expected)
    else:
        assert got == expected
    assert zenolith.do_intersect(a, b) is (expected is not None)
    if dist is not None:
        assert zenolith.squared_distance(a, b) == zenolith.squared_distance(b, a) == dist


def test_polygon_results_are_lists_of_corners():
    # Two triangles of a six-pointed star meet in a hexagon.
    up = z.Triangle2(P2(0, 0), P2(6, 0), P2(3, 6))
    down = z.Triangle2(P2(0, 4), P2(3, -2), P2(6, 4))
    hexagon = zenolith.intersection(up, down)
    assert isinstance(hexagon, list) and len(hexagon) == 6
    assert all(isinstance(p, P2) and zenolith.do_intersect(p, up) for p in hexagon)
    cube = z.IsoCuboid3(P3(0, 0, 0), P3(1, 1, 1))
    section = zenolith.intersection(z.Plane3(1, 1, 1, -1.5), cube)
    assert isinstance(section, list) and len(section) == 6


@pytest.mark.parametrize("call", [zenolith.do_intersect, zenolith.intersection, zenolith.squared_distance])
def test_unsupported_pairs_name_both_classes(call):
    with pytest.raises(TypeError, match=r"\(Circle2, Point3\).*zenolith.supported_pairs"):
        call(NEAR["Circle2"], NEAR["Point3"])
    with pytest.raises(TypeError, match="Direction2"):
        call(z.Direction2(1, 0), NEAR["Point2"])


def test_non_finite_input_is_refused_by_the_exact_operations():
    bad = S2(P2(0, 0), P2(math.inf, 1))
    # one message everywhere, naming the argument as the caller gave it
    for call in (zenolith.do_intersect, zenolith.intersection):
        for args, name in (((bad, NEAR["Segment2"]), "a"), ((NEAR["Triangle2"], bad), "b")):
            with pytest.raises(ValueError, match=f"^{name}: expected finite coordinates"):
                call(*args)
    with pytest.raises(ValueError, match=r"^points\[1\]: expected finite"):
        zenolith.do_intersect(NEAR["Triangle2"], [[0, 0], [math.nan, 0]])
    assert math.isnan(zenolith.squared_distance(P2(math.nan, 0), NEAR["Segment2"]))


# ---- exactness ---------------------------------------------------------------

F = Fraction


def orient2(a, b, c):
    return (F(b[0]) - F(a[0])) * (F(c[1]) - F(a[1])) - (F(b[1]) - F(a[1])) * (F(c[0]) - F(a[0]))


def orient3(a, b, c, d):
    u, v, w = ([F(p[k]) - F(a[k]) for k in range(3)] for p in (b, c, d))
    return (u[0] * (v[1] * w[2] - v[2] * w[1]) - u[1] * (v[0] * w[2] - v[2] * w[0])
            + u[2] * (v[0] * w[1] - v[1] * w[0]))


def segments_meet(a, b, c, d):
    o1, o2, o3, o4 = orient2(a, b, c), orient2(a, b, d), orient2(c, d, a), orient2(c, d, b)
    if o1 == o2 == 0:  # collinear: overlapping projections
        k = 0 if a[0] != b[0] or c[0] != d[0] else 1
        return max(min(a[k], b[k]), min(c[k], d[k])) <= min(max(a[k], b[k]), max(c[k], d[k]))
    return o1 * o2 <= 0 and o3 * o4 <= 0


def f_point_segment(p, a, b):
    p, a, b = ([F(x) for x in v] for v in (p, a, b))
    d = [y - x for x, y in zip(a, b)]
    t = sum((x - y) * e for x, y, e in zip(p, a, d))
    n = sum(e * e for e in d)
    c = a if n == 0 or t <= 0 else b if t >= n else [x + e * t / n for x, e in zip(a, d)]
    return sum((x - y) ** 2 for x, y in zip(p, c))


def f_segment_segment(a, b, c, d):
    if segments_meet(a, b, c, d):
        return F(0)
    return min(f_point_segment(a, c, d), f_point_segment(b, c, d),
               f_point_segment(c, a, b), f_point_segment(d, a, b))


def f_point_triangle(p, a, b, c):
    p, a, b, c = ([F(x) for x in v] for v in (p, a, b, c))
    sub = lambda u, v: [x - y for x, y in zip(u, v)]
    dot = lambda u, v: sum(x * y for x, y in zip(u, v))
    cross = lambda u, v: [u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]]
    n = cross(sub(b, a), sub(c, a))
    h = dot(n, sub(p, a))
    q = [x - e * h / dot(n, n) for x, e in zip(p, n)]
    if all(dot(n, cross(sub(v, u), sub(q, u))) >= 0 for u, v in [(a, b), (b, c), (c, a)]):
        return h * h / dot(n, n)
    return min(f_point_segment(p, a, b), f_point_segment(p, b, c), f_point_segment(p, c, a))


def ulps(got, exact):
    want = float(exact)
    return abs(got - want) / math.ulp(want) if want else abs(got) / math.ulp(0.0)


def test_nearly_collinear_overlapping_segments_against_fractions():
    # The kernel's own planar formula gets these wrong by orders of magnitude.
    rng = np.random.default_rng(3)
    worst = 0.0
    for _ in range(300):
        a = rng.uniform(-10, 10, 2)
        b = a + rng.uniform(-10, 10, 2)
        c = a + 0.3 * (b - a) + rng.normal(0, 1, 2) * 10.0 ** rng.integers(-16, -6)
        d = a + 1.4 * (b - a) + rng.normal(0, 1, 2) * 10.0 ** rng.integers(-16, -6)
        pts = [tuple(map(float, v)) for v in (a, b, c, d)]
        got = zenolith.squared_distance(S2(P2(*pts[0]), P2(*pts[1])), S2(P2(*pts[2]), P2(*pts[3])))
        worst = max(worst, ulps(got, f_segment_segment(*pts)))
    assert worst <= 1


def test_random_distances_against_fractions():
    # Point distances are the kernel's double formulas: the cross product of
    # point-to-line distances cancels, so they are accurate relative to the
    # objects' size, not to the result; the derived ones are rounded once.
    rng = np.random.default_rng(5)
    for _ in range(300):
        p, a, b, c = rng.uniform(-5, 5, (4, 3)).tolist()
        seg = S2(P2(*a[:2]), P2(*b[:2]))
        exact = f_point_segment(p[:2], a[:2], b[:2])
        assert math.isclose(zenolith.squared_distance(P2(*p[:2]), seg), exact, rel_tol=1e-11)
        tri = z.Triangle3(P3(*a), P3(*b), P3(*c))
        assert math.isclose(zenolith.squared_distance(tri, P3(*p)), f_point_triangle(p, a, b, c),
                            rel_tol=1e-12)
        s2 = S2(P2(*c[:2]), P2(*p[:2]))
        assert ulps(zenolith.squared_distance(seg, s2), f_segment_segment(a[:2], b[:2], c[:2], p[:2])) <= 1


def test_do_intersect_is_exact_on_near_touching_input():
    rng = np.random.default_rng(11)
    for _ in range(300):
        # An end point on (or a rounding away from) the other segment.
        a, b, c = rng.uniform(-1, 1, (3, 2))
        q = a + rng.uniform(0.1, 0.9) * (b - a)
        pts = [tuple(map(float, v)) for v in (a, b, c, q)]
        s, t = S2(P2(*pts[0]), P2(*pts[1])), S2(P2(*pts[2]), P2(*pts[3]))
        expected = segments_meet(*pts)
        assert zenolith.do_intersect(s, t) is expected
        assert (zenolith.intersection(s, t) is not None) is expected
    tri = [(0.1, 0.2, 0.3), (1.7, 0.4, -0.2), (0.3, 1.9, 0.7)]
    T = z.Triangle3(*(P3(*v) for v in tri))
    for _ in range(300):
        # A segment from above the triangle to a point rounded near its plane.
        w = rng.dirichlet([1, 1, 1]) * 0.8 + 0.2 / 3
        q = tuple(float(sum(wk * v[k] for wk, v in zip(w, tri))) for k in range(3))
        above = (0.5, 0.5, 3.0)
        expected = orient3(*tri, q) * orient3(*tri, above) <= 0
        seg = S3(P3(*above), P3(*q))
        assert zenolith.do_intersect(seg, T) is expected
        assert (zenolith.intersection(seg, T) is not None) is expected


def test_circles_and_spheres_are_decided_exactly():
    # 0.1**2 + 0.2**2 rounds: the point is not exactly on the circle.
    r2 = 0.1 * 0.1 + 0.2 * 0.2
    on = F(0.1) ** 2 + F(0.2) ** 2 == F(r2)
    assert zenolith.do_intersect(P2(0.1, 0.2), z.Circle2(P2(0, 0), r2)) is on
    assert zenolith.do_intersect(P3(0.1, 0.2, 0), z.Sphere3(P3(0, 0, 0), r2)) is on


# ---- arrays -----------------------------------------------------------------

ROWS = _intersections._testing.supported()


@pytest.mark.parametrize("op", ["squared_distance", "do_intersect", "closest_point"])
def test_arrays_agree_with_the_per_object_calls(op):
    rng = np.random.default_rng(2)
    call = getattr(zenolith, op)
    for cls in ROWS[op + "_points"]:
        obj = NEAR[cls.__name__]
        dim, point = (2, P2) if cls.__name__.endswith("2") else (3, P3)
        pts = rng.uniform(-2, 2, (50, dim))
        pts[:5] = 0.0  # on every object
        got = call(obj, pts)
        assert got.shape[0] == 50
        for row, value in zip(pts.tolist(), got):
            one = call(obj, point(*row))
            if op == "closest_point":
                assert list(one) == value.tolist()
            else:
                assert one == value
        assert call(obj, pts[0].tolist()).shape == ((dim,) if op == "closest_point" else ())


def test_closest_points_lie_at_the_distance():
    rng = np.random.default_rng(4)
    for cls in ROWS["closest_point_points"]:
        obj = NEAR[cls.__name__]
        dim = 2 if cls.__name__.endswith("2") else 3
        pts = rng.uniform(-3, 3, (100, dim))
        near = zenolith.closest_point(obj, pts)
        d = np.einsum("ij,ij->i", pts - near, pts - near)
        assert np.allclose(d, zenolith.squared_distance(obj, pts), rtol=1e-12, atol=1e-15)


def test_array_arguments_follow_the_shape_rules():
    with pytest.raises(ValueError, match="points: expected 3D points"):
        zenolith.squared_distance(NEAR["Triangle3"], np.zeros((4, 2)))
    with pytest.raises(TypeError, match="closest_point"):
        zenolith.closest_point(NEAR["Sphere3"], np.zeros((4, 3)))
    # either order
    pts = np.array([[3.0, 0.0], [0.0, 0.0]])
    assert zenolith.squared_distance(pts, NEAR["Segment2"]).tolist() == \
        zenolith.squared_distance(NEAR["Segment2"], pts).tolist()
    assert zenolith.squared_distance(P2(1, 1), P2(4, 5)) == 25.0
    # two arrays of points: row by row
    q = np.array([[1.0, 2.0, 2.0], [0.0, 0.0, 0.0]])
    assert zenolith.squared_distance(q, np.zeros((2, 3))).tolist() == [9.0, 0.0]
    assert zenolith.squared_distance(P2(0, 0), pts).tolist() == [9.0, 0.0]


# ---- extreme magnitudes and degenerate input ---------------------------------

def build(name, pts, s):
    """The object of class `name` from the points `pts` (tuples) at scale `s`;
    None when its numbers are not finite (a squared radius beyond the doubles)."""
    P = P2 if name.endswith("2") else P3
    p = [P(*v) for v in pts]
    if name.startswith("Point"):
        return p[0]
    if name in ("Circle2", "Sphere3"):
        r2 = sum((x - y) * (x - y) for x, y in zip(pts[0], pts[1]))
        return getattr(z, name)(p[0], r2) if math.isfinite(r2) else None
    if name in ("Bbox2", "Bbox3"):
        lo = [min(c) for c in zip(pts[0], pts[1])]
        hi = [max(c) for c in zip(pts[0], pts[1])]
        return getattr(z, name)(*lo, *hi)
    if name == "Plane3":
        return z.Plane3(*p[:3])
    return getattr(z, name)(*p[:{"Triangle2": 3, "Triangle3": 3, "Tetrahedron3": 4}.get(name, 2)])


def repr_full(obj):
    """Every coordinate of an object, in full."""
    return f"{type(obj).__name__}{zenolith.to_array([obj]).tolist() if isinstance(obj, (z.Segment3, z.Triangle3, P3, P2)) else obj}"


def random_points(rng, dim, s):
    """Four points at scale s, often on a common small grid (so that objects
    touch, share corners or are degenerate), otherwise anywhere."""
    if rng.random() < 0.6:
        pts = rng.integers(-2, 3, (4, dim)) * s
    else:
        pts = rng.uniform(-2, 2, (4, dim)) * s
    if rng.random() < 0.2:
        pts[1] = pts[0]
    return [tuple(float(c) for c in v) for v in pts]


@pytest.mark.parametrize("scale", [1e-300, 1e-200, 1e-100, 1e-10, 1.0, 1e10, 1e100, 1e200, 1e300])
def test_intersection_is_none_exactly_when_they_do_not_meet(scale):
    rng = np.random.default_rng(int(math.log10(scale)) + 400)
    for a_name, b_name in sorted(SUPPORTED["intersection"]):
        dim = 2 if a_name.endswith("2") else 3
        for _ in range(25):
            a = build(a_name, random_points(rng, dim, scale), scale)
            b = build(b_name, random_points(rng, dim, scale), scale)
            if a is None or b is None:
                continue
            try:
                meets = zenolith.do_intersect(a, b)
            except ValueError:  # a line or plane whose coefficients overflow
                continue
            try:
                got = zenolith.intersection(a, b)
            except OverflowError:
                assert meets, (a, b)
                continue
            assert (got is not None) is meets, (repr_full(a), repr_full(b), got)
            corners = got if isinstance(got, list) else [got]
            for c in corners:
                if isinstance(c, (P2, P3)):
                    assert all(math.isfinite(x) for x in c), (a, b, got)


def test_reported_intersections_at_extreme_magnitudes():
    s = 1e46  # used to kill the process with a floating-point signal
    got = zenolith.intersection(z.Triangle3(P3(0, 0, 0), P3(s, 0, 0), P3(0, s, 0)),
                                z.Triangle3(P3(.1 * s, .1 * s, -s), P3(.2 * s, .1 * s, s), P3(.1 * s, .3 * s, s)))
    assert isinstance(got, S3) and got.source()[2] == got.target()[2] == 0.0
    # used to read an empty kernel result (a segmentation fault)
    cube = z.IsoCuboid3(P3(0, 0, 0), P3(-0.0, 1e-110, 5e-324))
    plane = z.Plane3(P3(1e-320, 1e-110, -2e-200), P3(3e-150, 1e-300, -1e-110), P3(-1e-110, -0.0, -5e-324))
    assert (zenolith.intersection(cube, plane) is None) is not zenolith.do_intersect(cube, plane)
    # a ray leaving the triangle's plane from outside the triangle
    ray = z.Ray3(P3(2, -9, -18), P3(12.666666666666666, 16.333333333333332, 7.333333333333333))
    tri = z.Triangle3(P3(13, 17, 8), P3(12, 15, 6), P3(15, -8, -17))
    assert zenolith.do_intersect(ray, tri) is False and zenolith.intersection(ray, tri) is None
    # a square, not four copies of the origin
    e = 1e-100
    square = zenolith.intersection(z.IsoCuboid3(P3(0, 0, 0), P3(e, e, e)), z.Plane3(0, 0, 1, -0.5e-100))
    assert sorted(tuple(p) for p in square) == [(0, 0, e / 2), (0, e, e / 2), (e, 0, e / 2), (e, e, e / 2)]
    # an intersection beyond the largest double
    with pytest.raises(OverflowError, match="intersection of Line2 and Line2"):
        zenolith.intersection(z.Line2(P2(0, 0), P2(1, 5e-324)), z.Line2(P2(0, 1), P2(1, 1)))


def test_degenerate_operands_are_the_points_and_segments_they_are():
    tet = z.Tetrahedron3(P3(0, 0, 0), P3(1, 0, 0), P3(0, 1, 0), P3(0, 0, 1))
    point = S3(P3(0, 0, 0), P3(0, 0, 0))  # used to stop on a kernel assertion
    assert zenolith.intersection(tet, point) == P3(0, 0, 0)
    flat_box = z.IsoCuboid3(P3(-2, -1, 0), P3(-1, -1, 1))
    beside = z.Line3(P3(-2, -2, -1), z.Vector3(0, 1, 3))  # the kernel said they meet
    assert zenolith.do_intersect(flat_box, beside) is False
    assert zenolith.do_intersect(z.Bbox3(-2, -1, 0, -1, -1, 1), beside) is False
    flat_tet = z.Tetrahedron3(P3(0, 0, 0), P3(0, 0, 0), P3(2, 0, 0), P3(0, 2, 0))
    assert zenolith.intersection(flat_tet, S3(P3(1, 1, -1), P3(0.5, 0.5, 1))) == P3(0.75, 0.75, 0)
    behind = z.Ray3(P3(-2, -1, 2), P3(-2, -1, 0)), z.Ray3(P3(-1, 0, 2), P3(0, 1, 0))  # lines meet behind
    assert zenolith.do_intersect(*behind) is False and zenolith.intersection(*behind) is None
    with pytest.raises(ValueError, match="a Line2 with a = b = 0 is not a line"):
        zenolith.intersection(z.Line2(P2(1, 1), P2(1, 1)), z.IsoRectangle2(P2(0, 0), P2(2, 2)))


def f_point_line(p, a, d, ray=False):
    """From the point a along the direction d (a line, or a ray)."""
    p, a, d = ([F(x) for x in v] for v in (p, a, d))
    t = sum((x - y) * e for x, y, e in zip(p, a, d)) / sum(e * e for e in d)
    t = max(t, F(0)) if ray else t
    return sum((x - y - e * t) ** 2 for x, y, e in zip(p, a, d))


def f_segment_segment3(a, b, c, d):
    """The least squared distance between two spatial segments: the lines'
    closest pair when it lies on both, else the least end-to-segment one."""
    a, b, c, d = ([F(x) for x in v] for v in (a, b, c, d))
    u = [y - x for x, y in zip(a, b)]
    v = [y - x for x, y in zip(c, d)]
    w = [x - y for x, y in zip(a, c)]
    dot = lambda p, q: sum(x * y for x, y in zip(p, q))
    uu, uv, vv, uw, vw = dot(u, u), dot(u, v), dot(v, v), dot(u, w), dot(v, w)
    den = uu * vv - uv * uv
    best = min(f_point_segment(a, c, d), f_point_segment(b, c, d), f_point_segment(c, a, b),
               f_point_segment(d, a, b))
    if den:
        s, t = (uv * vw - vv * uw) / den, (uu * vw - uv * uw) / den
        if 0 <= s <= 1 and 0 <= t <= 1:
            best = min(best, sum((x + s * e - y - t * g) ** 2 for x, e, y, g in zip(a, u, c, v)))
    return best


def near_degenerate(rng, dim):
    """Four points: a segment, and two points a rounding away from its line."""
    s = 10.0 ** rng.integers(-150, 150)  # squares within the doubles
    a, b = rng.uniform(-1, 1, (2, dim)) * s
    c = a + rng.uniform(-0.5, 1.5) * (b - a) + rng.normal(0, 1, dim) * s * 10.0 ** rng.integers(-17, -8)
    d = a + rng.uniform(-0.5, 1.5) * (b - a)
    return [tuple(float(x) for x in v) for v in (a, b, c, d)]


def test_point_and_segment_distances_are_within_the_stated_bound():
    # The kernel's formulas in doubles were off by up to 10^20 ulps here, and
    # NaN at large and tiny magnitudes.
    assert zenolith.squared_distance(S2(P2(-0.29738037775508497, 0.2666187929798345), P2(-9, 20)),
                                     P2(-9, 20)) == 0.0
    assert zenolith.squared_distance(S3(P3(1e299, 1e299, 1e299), P3(-1e299, -1e299, -1e299)), P3(0, 0, 0)) == 0.0
    rng = np.random.default_rng(8)
    for _ in range(200):
        for dim, P in [(2, P2), (3, P3)]:
            a, b, c, d = near_degenerate(rng, dim)
            seg = (S2 if dim == 2 else S3)(P(*a), P(*b))
            line = (z.Line2 if dim == 2 else z.Line3)(P(*a), P(*b))
            ray = (z.Ray2 if dim == 2 else z.Ray3)(P(*a), P(*b))
            cases = [(seg, f_point_segment(c, a, b)),
                     (ray, f_point_line(c, a, [F(y) - F(x) for x, y in zip(a, b)], ray=True))]
            if dim == 3:  # its point and its direction (rounded); a planar line holds coefficients
                cases.append((line, f_point_line(c, tuple(line.point(0)), tuple(line.to_vector()))))
            for obj, exact in cases:
                assert ulps(zenolith.squared_distance(obj, P(*c)), exact) <= 32, (obj, c)
                assert ulps(float(zenolith.squared_distance(obj, np.array([c]))[0]), exact) <= 32
        a, b, c, d = near_degenerate(rng, 3)
        e = tuple(x + y for x, y in zip(c, d))
        assert ulps(zenolith.squared_distance(S3(P3(*a), P3(*b)), S3(P3(*c), P3(*d))),
                    f_segment_segment3(a, b, c, d)) <= 32, (a, b, c, d)
        tri = z.Triangle3(P3(*a), P3(*b), P3(*e))
        assert ulps(zenolith.squared_distance(tri, P3(*c)), f_point_triangle(c, a, b, e)) <= 32


def test_degenerate_operands_of_distances():
    # lines, rays and planes without direction used to kill the interpreter
    # (a division by zero in the exact fallback), degenerate planar objects
    # were at distance 0 from everything
    origin, still = P3(0, 0, 0), z.Vector3(0, 0, 0)
    assert zenolith.squared_distance(z.Line3(origin, still), z.Ray3(P3(1, 2, 2), P3(2, 2, 2))) == 9.0
    assert zenolith.squared_distance(z.Line3(origin, still), np.array([[1.0, 2.0, 2.0]])).tolist() == [9.0]
    dot = S2(P2(0.5, 0.25), P2(0.5, 0.25))
    assert zenolith.squared_distance(dot, z.Line2(P2(1, 2), P2(2, 0))) == zenolith.squared_distance(
        P2(0.5, 0.25), z.Line2(P2(1, 2), P2(2, 0))) > 1.5
    assert zenolith.squared_distance(z.Triangle2(P2(0, 0), P2(0, 0), P2(0, 0)), P2(3, -1)) == 10.0
    for call in (lambda: zenolith.squared_distance(z.Plane3(0, 0, 0, 0), z.Plane3(2, 0, -2, 1)),
                 lambda: zenolith.squared_distance(z.Plane3(0, 0, 0, 0), np.zeros((2, 3))),
                 lambda: zenolith.do_intersect(z.Plane3(0, 0, 0, 0), [[1.0, 2.0, 3.0]])):
        with pytest.raises(ValueError, match="is not a plane"):
            call()
    with pytest.raises(ValueError, match="is not a line"):
        zenolith.squared_distance(z.Line2(0.0, 0.0, 1.0), z.Triangle2(P2(0, 0), P2(1, 0), P2(0, 1)))
