"""Hulls against an exact reference in fractions.Fraction, polygon
predicates against exact crossing numbers, Boolean operations by area
identities (and against shapely where installed), and the refusals."""

import math
import pickle
from fractions import Fraction

import numpy as np
import pytest

import zenolith
import zenolith_core as zc
from zenolith import exact
from zenolith_algorithms.polygons import Polygon2, PolygonWithHoles2, convex_hull, from_geo
from zenolith_algorithms.triangulation import Delaunay3

RNG = np.random.default_rng(11)
ULP = math.ulp(0.5)


def _turn(p, q, r):
    (px, py), (qx, qy), (rx, ry) = ([Fraction(c) for c in v] for v in (p, q, r))
    d = (qx - px) * (ry - py) - (qy - py) * (rx - px)
    return (d > 0) - (d < 0)


def _exact_hull(points):
    """The extreme points, counter-clockwise from the lexicographically
    smallest, each as the smallest index of its coordinates (monotone chain
    in exact arithmetic)."""
    first = {}
    for i, p in enumerate(map(tuple, points.tolist())):
        first.setdefault(p, i)
    pts = sorted(first)
    if len(pts) < 3:
        return [first[p] for p in pts]

    def chain(seq):
        out = []
        for p in seq:
            while len(out) >= 2 and _turn(out[-2], out[-1], p) <= 0:
                out.pop()
            out.append(p)
        return out[:-1]

    ring = chain(pts) + chain(pts[::-1])
    return [first[p] for p in ring] if len(ring) > 1 else [first[pts[0]], first[pts[-1]]]


PLANAR = {
    "random": RNG.random((500, 2)),
    "near the diagonal": np.array([[0.5 + i * ULP, 0.5 + j * ULP] for i in range(-8, 9) for j in range(-8, i + 1)]
                                  + [[-11.5, -11.5], [24.0, 24.0]]),
    "2^-53 grid": 0.5 + ULP * RNG.integers(0, 6, (300, 2)),
    "duplicates": np.repeat(RNG.random((50, 2)), 3, axis=0)[RNG.permutation(150)],
    "collinear": np.column_stack([np.arange(10.0), 2 * np.arange(10.0)])[RNG.permutation(10)],
    "circle": np.column_stack([np.cos(t := RNG.random(400) * 2 * np.pi), np.sin(t)]),
}


@pytest.mark.parametrize("name", PLANAR)
def test_planar_hull_is_the_exact_one(name):
    p = PLANAR[name]
    hull = convex_hull(p)
    expected = _exact_hull(p)
    got = hull.vertices.tolist()
    assert sorted(got) == sorted(expected)
    if len(expected) >= 3:  # the same cyclic order, starting at the smallest index
        k = expected.index(min(expected))
        assert got == expected[k:] + expected[:k]
        assert hull.dimension == 2 and np.array_equal(hull.faces[:, 1], np.roll(hull.faces[:, 0], -1))
    assert convex_hull(np.empty((0, 2))).dimension == -1 and convex_hull([[1.0, 1.0]] * 3).vertices.tolist() == [0]


def test_spatial_hull_faces_outward_and_agree_with_delaunay():
    ball = RNG.normal(size=(20000, 3))
    ball *= (RNG.random((20000, 1)) ** (1 / 3)) / np.linalg.norm(ball, axis=1, keepdims=True)
    for p in (ball, RNG.random((300, 3)), np.stack(np.meshgrid(*[np.arange(4.0)] * 3), -1).reshape(-1, 3)):
        hull = convex_hull(p)
        assert hull.dimension == 3
        assert set(hull.vertices) == set(hull.faces.ravel())
        for a, b, c in p[hull.faces[:200]]:  # every point on the inner side of each face
            assert (exact.orientation(a, b, c, p) <= 0).all()
        corners = {v for f in Delaunay3(p).convex_hull for v in f}
        # the Delaunay hull keeps points on hull faces; the hull only the extreme ones
        assert set(hull.vertices) <= corners
        if len(p) != 64:
            assert set(hull.vertices) == corners  # random points: none on a face
    flat = np.column_stack([RNG.random((50, 2)), np.full(50, 0.25)])
    hull = convex_hull(flat)
    assert hull.dimension == 2 and sorted(hull.vertices) == sorted(_exact_hull(flat[:, :2]))
    line = convex_hull([[0, 0, 0], [3, 3, 3], [1, 1, 1], [3, 3, 3]])
    assert line.dimension == 1 and sorted(line.vertices.tolist()) == [0, 1]


def _crossing_side(poly, q):
    """1 inside, 0 on the boundary, -1 outside: exact crossing number."""
    x, y = (Fraction(c) for c in q)
    inside = False
    ring = [[Fraction(c) for c in v] for v in poly.tolist()]
    for (ax, ay), (bx, by) in zip(ring, ring[1:] + ring[:1]):
        if min(ax, bx) <= x <= max(ax, bx) and min(ay, by) <= y <= max(ay, by) \
                and (bx - ax) * (y - ay) == (by - ay) * (x - ax):
            return 0
        if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
            inside = not inside
    return 1 if inside else -1


def test_bounded_side_is_exact_on_and_near_the_boundary():
    k = np.arange(40)
    star = np.column_stack([np.cos(2 * np.pi * k / 40), np.sin(2 * np.pi * k / 40)]) * np.where(k % 2, 7, 13)[:, None]
    star = np.round(star)  # integer vertices: edge midpoints are exact
    poly = Polygon2(star)
    mids = (star + np.roll(star, -1, axis=0)) / 2
    near = np.concatenate([star + ULP * 8, mids + [0, 1e-15], mids - [1e-15, 0]])
    q = np.concatenate([star, mids, near, RNG.random((300, 2)) * 30 - 15, [[0, 0], [13, 0], [13.5, 0]]])
    got = poly.bounded_side(q)
    assert got.tolist() == [_crossing_side(star, p) for p in q]
    assert np.array_equal(poly.contains(q), got >= 0) and np.array_equal(poly.contains(q, boundary=False), got > 0)
    assert poly.bounded_side([0.0, 0.0]) == 1 and poly.is_simple and not poly.is_convex
    d = poly.squared_distance(q[:5])
    assert d.shape == (5,) and (d == 0).all()


def test_polygon_measures_and_interchange():
    square = Polygon2([[0, 0], [0, 2], [2, 2], [2, 0], [0, 0]])  # clockwise, closed
    assert len(square) == 4 and square.area == -4.0 and square.orientation == -1
    assert square.reversed().area == 4.0 and square.bbox() == zc.Bbox2(0, 0, 2, 2)
    tiny = Polygon2([[0, 0], [1e-200, 0], [0, 1e-200]])
    assert tiny.area > 0  # its exact sign survives the underflow
    assert len(square.edges) == 4 and pickle.loads(pickle.dumps(square)) == square
    shape = PolygonWithHoles2(square, [[[0.5, 0.5], [1.5, 0.5], [1.5, 1.5], [0.5, 1.5]]])
    assert shape.exterior.orientation == 1 and shape.holes[0].orientation == -1 and shape.area == 3.0
    assert from_geo(shape.__geo_interface__) == shape == pickle.loads(pickle.dumps(shape))
    assert shape.contains([[1, 1], [0.25, 0.25], [0.5, 1], [3, 3]]).tolist() == [False, True, True, False]
    multi = from_geo({"type": "MultiPolygon", "coordinates": [shape.__geo_interface__["coordinates"]] * 2})
    assert len(multi) == 2
    assert "<path" in zenolith.Drawing().add(shape).svg()


def _star(n, r1, r2, turn=0.0, shift=(0, 0), scale=1):
    k = np.arange(2 * n)
    r = np.where(k % 2, r2, r1)
    a = np.pi * k / n + turn
    return np.round(np.column_stack([r * np.cos(a), r * np.sin(a)]) * scale) + shift


def test_boolean_operations_keep_the_area_identities():
    a = PolygonWithHoles2(_star(12, 10, 4, scale=100), [_star(6, 2, 1, scale=100)])
    b = Polygon2(_star(9, 9, 5, turn=0.2, shift=(300, -200), scale=100))
    inter = sum(p.area for p in a.intersection(b))
    union = sum(p.area for p in a.union(b))
    assert inter > 0 and union + inter == pytest.approx(a.area + b.area, rel=1e-12)
    assert sum(p.area for p in a.difference(b)) == pytest.approx(a.area - inter, rel=1e-12)
    assert sum(p.area for p in a.symmetric_difference(b)) == pytest.approx(union - inter, rel=1e-12)
    far = Polygon2(_star(5, 3, 1, shift=(1e4, 0)))
    assert a.intersection(far) == [] and len(a.union(far)) == 2
    shapely = pytest.importorskip("shapely", reason="shapely is not installed")
    theirs = shapely.Polygon(a.exterior.vertices, [h.vertices for h in a.holes]).intersection(shapely.Polygon(b.vertices))
    assert theirs.area == pytest.approx(inter, rel=1e-9)


@pytest.mark.parametrize(("make", "error", "text"), [
    (lambda: PolygonWithHoles2([[0, 0], [2, 2], [2, 0], [0, 2]]), ValueError, "exterior: the ring is not simple"),
    (lambda: PolygonWithHoles2([[0, 0], [2, 0], [1, 1], [2, 2], [0, 2], [1, 1]]), ValueError, "vertex 2 at"),
    (lambda: Polygon2([[0, 0], [1, 1]]), ValueError, "at least 3 vertices"),
    (lambda: Polygon2([[0, 0], [1, 1], [np.inf, 0]]), ValueError, r"vertices\[2\]: expected finite"),
    (lambda: Polygon2("abc"), (TypeError, ValueError), "vertices"),
    (lambda: PolygonWithHoles2([[0, 0], [4, 0], [4, 4], [0, 4]], [[[3, 3], [6, 3], [6, 6], [3, 6]]]).union(
        Polygon2([[0, 0], [1, 0], [0, 1]])), ValueError, "holes must lie inside"),
    (lambda: from_geo({"type": "Point", "coordinates": [0, 0]}), ValueError, "Polygon"),
])
def test_bad_polygons_are_refused_with_the_reason(make, error, text):
    with pytest.raises(error, match=text):
        make()


def test_minkowski_sum_of_convex_polygons_is_their_hull_of_sums():
    square = Polygon2([[0, 0], [2, 0], [2, 2], [0, 2]])
    diamond = Polygon2([[1, 0], [0, 1], [-1, 0], [0, -1]])
    total = square.minkowski_sum(diamond)
    sums = (square.vertices[:, None, :] + diamond.vertices[None, :, :]).reshape(-1, 2)
    hull = sums[convex_hull(sums).vertices]
    assert total.holes == [] and total.area == Polygon2(hull).area == 4 + 4 * 2 * 1 + 2
    assert sorted(map(tuple, total.exterior.vertices.tolist())) == sorted(map(tuple, hull.tolist()))
    ring = PolygonWithHoles2([[0, 0], [10, 0], [10, 10], [0, 10]], [[[3, 3], [3, 7], [7, 7], [7, 3]]])
    assert len(ring.minkowski_sum(diamond).holes) == 1  # a small offset keeps the hole, smaller
    with pytest.raises(ValueError, match="beyond 1e"):  # the library's sum ends the process there
        square.minkowski_sum([[1.0, -2.0], [1e-160, 1e308], [-4.4e16, 12.0]])
    with pytest.raises(ValueError, match="beyond 1e"):
        square.intersection([[1.0, -2.0], [1e-160, 1e120], [-4.4e16, 12.0]])
