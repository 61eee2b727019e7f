"""Triangulations checked by their defining properties with exact
predicates (zenolith.exact): orientation, neighbours, empty circles and
spheres, the hull, point location; constrained edges, refined meshes,
Voronoi regions, pickling and bad input."""

import gc
import math
import os
import pickle

import numpy as np
import pytest

import zenolith
from zenolith import exact
from zenolith_algorithms.triangulation import (
    AlphaShape2,
    AlphaShape3,
    ConstrainedDelaunay2,
    Delaunay2,
    Delaunay3,
    refine,
    triangulate_polygon,
)

RNG = np.random.default_rng(7)


def _circle_points():
    # exactly cocircular: every integer point at distance 5 from the origin
    return np.array([(x, y) for x in range(-5, 6) for y in range(-5, 6) if x * x + y * y == 25], float)


PLANAR = {
    "random": RNG.random((300, 2)),
    "grid": np.stack(np.meshgrid(np.arange(12.0), np.arange(9.0)), -1).reshape(-1, 2),
    "cocircular": _circle_points(),
    "duplicates": np.repeat(RNG.random((40, 2)), 3, axis=0)[RNG.permutation(120)],
    "tiny and huge": np.concatenate([RNG.random((30, 2)) * 1e-300, RNG.random((30, 2)) * 1e300]),
}
SPATIAL = {
    "random": RNG.random((200, 3)),
    "grid": np.stack(np.meshgrid(*[np.arange(5.0)] * 3), -1).reshape(-1, 3),
    "cospherical": np.array([(x, y, z) for x in range(-3, 4) for y in range(-3, 4) for z in range(-3, 4)
                             if x * x + y * y + z * z == 9], float),
    "duplicates": np.repeat(RNG.random((40, 3)), 2, axis=0),
}


def _check_common(t, points):
    """Every point represented; neighbours name each other across a shared
    facet; the hull is the set of facets without a neighbour."""
    assert np.array_equal(t.points, points)
    assert np.array_equal(t.points[t.duplicates], t.points)
    assert set(np.unique(t.simplices)) == set(np.unique(t.duplicates))
    s, n = t.simplices, t.neighbors
    for c, i in zip(*np.nonzero(n >= 0)):
        other = n[c, i]
        assert c in n[other]
        assert set(s[c]) - {s[c, i]} == set(s[other]) - {s[other, list(n[other]).index(c)]}
    open_facets = {frozenset(set(s[c]) - {s[c, i]}) for c, i in zip(*np.nonzero(n < 0))}
    assert open_facets == {frozenset(f) for f in t.convex_hull}
    assert all(t.duplicates[v] in s[t.vertex_to_simplex[v]] for v in range(len(points)))


@pytest.mark.parametrize("name", PLANAR)
def test_delaunay2_is_a_valid_delaunay_triangulation(name):
    p = PLANAR[name]
    t = Delaunay2(p)
    assert t.dimension == 2
    _check_common(t, p)
    a, b, c = (p[t.simplices[:, k]] for k in range(3))
    assert (exact.orientation(a, b, c) == 1).all()
    # no neighbour's far vertex strictly inside a circumcircle (locally, hence globally, Delaunay)
    cells, sides = np.nonzero(t.neighbors >= 0)
    far = [set(t.simplices[t.neighbors[c, i]]) - set(t.simplices[c]) for c, i in zip(cells, sides)]
    d = p[[f.pop() for f in far]]
    assert (exact.side_of_oriented_circle(a[cells], b[cells], c[cells], d) != 1).all()
    # the hull: a closed counter-clockwise chain with every point on its inner side
    hull = t.convex_hull
    assert np.array_equal(hull[:, 1], np.roll(hull[:, 0], -1))
    for u, v in hull:
        assert (exact.orientation(p[u], p[v], p) >= 0).all()
    assert len(t.edges) == len({frozenset(e) for e in t.edges}) == len(hull) + (3 * t.nsimplex - len(hull)) // 2


@pytest.mark.parametrize("name", SPATIAL)
def test_delaunay3_is_a_valid_delaunay_triangulation(name):
    p = SPATIAL[name]
    t = Delaunay3(p)
    assert t.dimension == 3
    _check_common(t, p)
    a, b, c, d = (p[t.simplices[:, k]] for k in range(4))
    assert (exact.orientation(a, b, c, d) == 1).all()  # never a flat tetrahedron, grids included
    cells, sides = np.nonzero(t.neighbors >= 0)
    far = [set(t.simplices[t.neighbors[c, i]]) - set(t.simplices[c]) for c, i in zip(cells, sides)]
    e = p[[f.pop() for f in far]]
    assert (exact.side_of_oriented_sphere(a[cells], b[cells], c[cells], d[cells], e) != 1).all()
    for u, v, w in t.convex_hull:  # outward: every point on the inner side
        assert (exact.orientation(p[u], p[v], p[w], p) <= 0).all()


@pytest.mark.parametrize(("cls", "points", "dimension", "shape", "hull"), [
    (Delaunay2, np.empty((0, 2)), -1, (0, 3), (0, 2)),
    (Delaunay2, [], -1, (0, 3), (0, 2)),
    (Delaunay2, [[1.0, 2.0]] * 3, 0, (0, 3), (0, 2)),
    (Delaunay2, [[0, 0], [3, 3], [1, 1], [2, 2], [1, 1]], 1, (3, 2), (2, 1)),
    (Delaunay3, [[0, 0, 0], [1, 1, 1], [2, 2, 2]], 1, (2, 2), (2, 1)),
    (Delaunay3, np.column_stack([RNG.random((50, 2)), np.full(50, 0.5)]), 2, (None, 3), (None, 2)),
])
def test_input_spanning_less_gives_a_lower_dimensional_triangulation(cls, points, dimension, shape, hull):
    t = cls(points)
    assert t.dimension == dimension
    assert t.simplices.shape[1] == shape[1] and shape[0] in (None, t.nsimplex)
    assert t.convex_hull.shape[1] == hull[1] and hull[0] in (None, len(t.convex_hull))
    assert t.neighbors.shape == t.simplices.shape
    if dimension >= 1:
        assert set(np.unique(t.simplices)) == set(np.unique(t.duplicates))
        assert (t.find_simplex(t.points) >= 0).all()
    q = np.zeros((4, cls.ndim)) + 0.25
    assert t.find_simplex(q).shape == (4,) and t.nearest_vertex(q).shape == (4,)


def test_find_simplex_and_nearest_vertex_agree_with_exact_tests():
    p = PLANAR["grid"]
    t = Delaunay2(p)
    # on vertices, on edges, inside, just outside, far away
    q = np.concatenate([p[:5], (p[:5] + p[1:6]) / 2, RNG.random((200, 2)) * 14 - 1, [[-1e-300, 0.0], [1e300, 1]]])
    found = t.find_simplex(q)
    for x, s in zip(q, found):
        if s >= 0:
            a, b, c = p[t.simplices[s]]
            assert min(exact.orientation(a, b, x), exact.orientation(b, c, x), exact.orientation(c, a, x)) >= 0
        else:
            assert min(exact.orientation(p[u], p[v], x) for u, v in t.convex_hull) < 0
    assert isinstance(t.find_simplex([0.5, 0.5]), int)
    q = q[:-1]  # distances to 1e300 overflow
    near = t.nearest_vertex(q)
    best = ((q[:, None, :] - p[None]) ** 2).sum(-1).min(axis=1)
    assert np.array_equal(((q - p[near]) ** 2).sum(-1), best)


def test_insert_and_pickling_rebuild_the_same_triangulation():
    p = RNG.random((100, 2))
    t = Delaunay2(p[:60])
    simplices = t.simplices
    t.insert(p[60:])
    assert t.npoints == 100 and simplices.shape != t.simplices.shape  # arrays read before stay
    for obj in (t, Delaunay3(SPATIAL["grid"]), triangulate_polygon([[0, 0], [4, 0], [4, 4], [0, 4]])):
        back = pickle.loads(pickle.dumps(obj))
        assert type(back) is type(obj)
        for name in ("points", "simplices", "neighbors", "convex_hull", "duplicates"):
            assert np.array_equal(getattr(back, name), getattr(obj, name))
    with pytest.raises(ValueError):
        t.simplices[0, 0] = 1  # read-only: the arrays are shared with later reads


def _square_with_hole():
    return triangulate_polygon([[0, 0], [4, 0], [4, 4], [0, 4], [0, 0]], holes=[[[1, 1], [1, 2], [2, 2], [2, 1]]])


def _areas(t, mask):
    a, b, c = (t.points[t.simplices[mask][:, k]] for k in range(3))
    return 0.5 * ((b[:, 0] - a[:, 0]) * (c[:, 1] - a[:, 1]) - (b[:, 1] - a[:, 1]) * (c[:, 0] - a[:, 0]))


def test_polygon_with_hole_and_crossing_constraints():
    t = _square_with_hole()
    assert t.npoints == 8  # the closing point of the exterior is dropped
    ring = {frozenset(e) for e in [(0, 1), (1, 2), (2, 3), (3, 0), (4, 5), (5, 6), (6, 7), (7, 4)]}
    assert {frozenset(e) for e in t.constrained_edges} == ring
    assert _areas(t, t.inside).sum() == 15.0 and _areas(t, t.enclosed).sum() == 16.0
    assert t.is_constrained.sum() == 2 * 8 - 4  # hull edges are seen from one side only
    # two crossing constraints: their crossing point becomes point 4
    x = ConstrainedDelaunay2([[0, 0], [2, 2], [0, 2], [2, 0]], [[0, 1], [2, 3]])
    assert np.array_equal(x.points[4], [1.0, 1.0])
    assert {frozenset(e) for e in x.constrained_edges} == {frozenset((k, 4)) for k in range(4)}
    with pytest.raises(ValueError, match=r"segments\[1\]: indices \[2, 9\] out of range for 5 points"):
        x.constrain([[0, 1], [2, 9]])
    with pytest.raises(TypeError, match="integer point indices"):
        x.constrain([[0.0, 1.0]])


@pytest.mark.parametrize(("max_edge", "min_angle", "domain"), [
    (0.4, 20.7, "inside"), (None, 30.0, "inside"), (1.0, 25.0, "enclosed"),
])
def test_refined_meshes_meet_their_bounds(max_edge, min_angle, domain):
    t = _square_with_hole()
    m = refine(t, max_edge=max_edge, min_angle=min_angle, domain=domain)
    meshed = m.inside if domain == "inside" else m.enclosed
    assert _areas(m, meshed).sum() == pytest.approx(15.0 if domain == "inside" else 16.0, rel=1e-12)
    tri = m.points[m.simplices[meshed]]
    sides = np.linalg.norm(tri - np.roll(tri, 1, axis=1), axis=2)
    if max_edge is not None:
        assert sides.max() <= max_edge * (1 + 1e-12)
    # smallest angle from the law of cosines
    a, b, c = sides[:, 0], sides[:, 1], sides[:, 2]
    cosines = np.stack([(b**2 + c**2 - a**2) / (2 * b * c), (a**2 + c**2 - b**2) / (2 * a * c),
                        (a**2 + b**2 - c**2) / (2 * a * b)])
    assert np.degrees(np.arccos(np.clip(cosines, -1, 1))).min() >= min_angle - 1e-9
    assert m.npoints > t.npoints and t.npoints == 8  # the original is left as it was
    back = pickle.loads(pickle.dumps(m))
    assert np.array_equal(back.points, m.points) and np.array_equal(back.simplices, m.simplices)
    with pytest.raises(ValueError, match="min_angle"):
        refine(t, min_angle=40)
    with pytest.raises(ValueError, match="max_points = 10 "):  # a budget instead of running for ever
        refine(t, max_edge=0.01, max_points=10)


def test_voronoi_of_a_grid_has_unit_cells():
    p = PLANAR["grid"]
    v = Delaunay2(p).voronoi()
    interior = (p[:, 0] > 0) & (p[:, 0] < 11) & (p[:, 1] > 0) & (p[:, 1] < 8)
    assert np.array_equal(v.bounded, interior)
    assert (v.areas()[interior] == 1.0).all() and np.isinf(v.areas()[~interior]).all()
    # every finite Voronoi edge is equidistant from its two points; rays point away from the hull
    finite = (v.edges >= 0).all(axis=1)
    mid = v.vertices[v.edges[finite]].mean(axis=1)
    a, b = p[v.ridge_points[finite, 0]], p[v.ridge_points[finite, 1]]
    assert np.allclose(((mid - a) ** 2).sum(1), ((mid - b) ** 2).sum(1))
    rays = v.edges[:, 1] < 0
    assert np.isnan(v.directions[finite]).all() and (v.edges[rays, 0] >= 0).all()
    v3 = Delaunay3(SPATIAL["random"]).voronoi()
    assert len(v3.vertices) == Delaunay3(SPATIAL["random"]).nsimplex and len(v3.regions) == 200
    with pytest.raises(ValueError, match="spanning 3"):
        Delaunay3([[0, 0, 0], [1, 0, 0], [0, 1, 0]]).voronoi()


@pytest.mark.parametrize(("points", "error", "text"), [
    ([[0, 0], [1, 0], [np.nan, 1]], ValueError, r"points\[2\]: expected finite coordinates"),
    ([[0, 0, 0]], ValueError, "expected 2D points"),
    ("points", TypeError, "points"),
    ([["a", "b"]], ValueError, "points"),
])
def test_bad_input_is_refused_clearly(points, error, text):
    with pytest.raises(error, match=text):
        Delaunay2(points)


def test_triangulations_draw():
    t = triangulate_polygon([[0, 0], [4, 0], [4, 4], [0, 4]])
    drawing = zenolith.Drawing().add(t).add(Delaunay2(PLANAR["random"]).voronoi())
    assert len(drawing) == 2 and "<path" in drawing.svg()
    assert "<svg" in Delaunay3(SPATIAL["grid"])._repr_svg_()
    assert zenolith.Delaunay2 is Delaunay2 and math.isfinite(t.points.sum())


def _once(faces, ndim):
    """The facets that belong to exactly one of the simplices."""
    count = {}
    for s in faces:
        for i in range(ndim + 1):
            key = frozenset(s) - {s[i]}
            count[key] = count.get(key, 0) + 1
    return {key for key, n in count.items() if n == 1}


@pytest.mark.parametrize("ndim", [2, 3])
def test_alpha_shapes_are_subcomplexes_with_their_boundary(ndim):
    p = PLANAR["random"] if ndim == 2 else SPATIAL["random"]
    shape = (AlphaShape2 if ndim == 2 else AlphaShape3)(p)
    delaunay = (Delaunay2 if ndim == 2 else Delaunay3)(p)
    assert {frozenset(s) for s in shape.simplices(1e9)} == {frozenset(s) for s in delaunay.simplices}
    assert {frozenset(f) for f in shape.boundary(1e9)} == {frozenset(f) for f in delaunay.convex_hull}
    for alpha in (shape.spectrum[len(shape.spectrum) // 3], shape.optimal_alpha()):
        simplices, boundary = shape.simplices(alpha), shape.boundary(alpha)
        assert {frozenset(f) for f in boundary} == _once(simplices, ndim)
        # oriented with the shape on the inner side
        inner = {frozenset(s): s for s in simplices}
        for f in boundary:
            s = next(v for key, v in inner.items() if set(f) < key)
            far = p[list(set(s) - set(f))[0]]
            assert exact.orientation(*p[f], far) == (1 if ndim == 2 else -1)
    assert set(np.unique(shape.simplices(shape.optimal_alpha()))) == set(range(len(p)))
    assert pickle.loads(pickle.dumps(shape)).spectrum.tolist() == shape.spectrum.tolist()
    with pytest.raises(ValueError, match="alpha"):
        shape.simplices(-1.0)


@pytest.mark.skipif(not os.path.exists("/proc/self/statm"), reason="needs /proc")
def test_memory_is_released_with_the_triangulation():
    def resident():
        with open("/proc/self/statm") as f:
            return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")

    def round_():
        t = Delaunay2(RNG.random((2000, 2)))
        t.simplices, t.edges, t.voronoi().areas(), t.find_simplex(RNG.random((100, 2)))
        Delaunay3(RNG.random((500, 3))).voronoi()
        refine(_square_with_hole(), max_edge=0.3)
        AlphaShape3(RNG.random((300, 3))).boundary(0.1)
        with pytest.raises(ValueError):
            Delaunay2([[0, 0], [1, np.inf]])

    for _ in range(5):
        round_()
    gc.collect()
    before = resident()
    for _ in range(40):
        round_()
    gc.collect()
    # one round holds a few megabytes: losing any of it each round would show
    assert resident() - before < 3_000_000


def test_a_failed_constraint_leaves_the_triangulation_as_it_was():
    # a ring whose crossing edges meet where the library's doubles overflow
    ring = [[1947895907176116.0, 2.796315364669371e-161], [-6.45265267439771e+307, -1.489060635278608e+154],
            [-1.2174410006361616e+308, -3.572926294373042e+159], [-2.5266078570475227e+153, -1.8025379212725908e+160],
            [-6.89573753846092e+307, -2.8e-322]]
    t = ConstrainedDelaunay2(ring)
    before = t.simplices.copy()
    with pytest.raises(ValueError, match="cross at a point beyond the doubles"):
        t.constrain([[k, (k + 1) % 5] for k in range(5)])
    assert np.array_equal(t.simplices, before) and len(t.constrained_edges) == 0
    t.constrain([[0, 1]])  # still usable
    assert len(t.constrained_edges) == 1
