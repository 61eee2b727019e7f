"""Triangle meshes: queries against brute force over zenolith's exact
row-wise pairs, inside tests against exact voxel membership, volumes
against rational arithmetic, and bad input."""

from __future__ import annotations

import gc
import itertools
import math
import pickle
from fractions import Fraction

import numpy as np
import pytest

import zenolith
from zenolith_core import Line3, Plane3, Point3, Ray3, Segment3, Sphere3, Triangle3
from zenolith_algorithms.mesh import TriangleMesh


def voxel_mesh(cells: set[tuple[int, int, int]]) -> TriangleMesh:
    """The outward-oriented boundary of unit cubes at integer corners: two
    triangles per exposed cube face, vertices shared."""
    index: dict[tuple[int, int, int], int] = {}
    faces = []
    for cell in sorted(cells):
        for axis, step in itertools.product(range(3), (-1, 1)):
            nb = list(cell)
            nb[axis] += step
            if tuple(nb) in cells:
                continue
            u, w = [a for a in range(3) if a != axis]
            base = list(cell)
            base[axis] += step > 0
            corners = []
            for du, dw in ((0, 0), (1, 0), (1, 1), (0, 1)):
                p = list(base)
                p[u] += du
                p[w] += dw
                corners.append(index.setdefault(tuple(p), len(index)))
            # counter-clockwise seen from outside: u, w, axis is right-handed or not
            if (step > 0) != ((axis + 1) % 3 == u):
                corners.reverse()
            faces += [[corners[0], corners[1], corners[2]], [corners[0], corners[2], corners[3]]]
    vertices = np.array(sorted(index, key=index.__getitem__), float)
    return TriangleMesh(vertices, faces)


L_SHAPE = {(0, 0, 0), (1, 0, 0), (2, 0, 0), (0, 1, 0), (0, 2, 0), (0, 0, 1), (2, 2, 0), (2, 1, 0)}


def exact_side(cells: set[tuple[int, int, int]], p: np.ndarray) -> int:
    """1 inside, 0 on the surface, -1 outside: from the cells whose closure holds p."""
    options = [(math.floor(c) - 1, math.floor(c)) if c == math.floor(c) else (math.floor(c),) for c in p]
    occupied = [cell in cells for cell in itertools.product(*options)]
    return 1 if all(occupied) else -1 if not any(occupied) else 0


def test_measures_of_closed_meshes():
    m = voxel_mesh(L_SHAPE)
    assert m.is_closed and m.is_outward_oriented and len(m.boundary_edges) == 0
    assert m.volume == len(L_SHAPE) and m.area == pytest.approx(sum(1 for _ in m.faces) / 2)
    flipped = TriangleMesh(m.vertices, m.faces[:, ::-1])
    assert flipped.volume == -len(L_SHAPE) and not flipped.is_outward_oriented
    opened = TriangleMesh(m.vertices, m.faces[1:])
    assert not opened.is_closed and len(opened.boundary_edges) == 3
    np.testing.assert_array_equal(np.abs(m.face_normals).sum(axis=1), 1.0)
    b = m.bbox
    assert (b.xmin, b.ymin, b.zmin, b.xmax, b.ymax, b.zmax) == (0, 0, 0, 3, 3, 2)


@pytest.mark.parametrize("seed", range(3))
def test_volume_is_the_divergence_sum_rounded(seed):
    rng = np.random.default_rng(seed)
    scale = 10.0 ** rng.integers(-90, 90)
    v = rng.normal(size=(40, 3)) * scale
    f = rng.integers(0, 40, size=(60, 3))
    f = f[(f[:, 0] != f[:, 1]) & (f[:, 1] != f[:, 2]) & (f[:, 0] != f[:, 2])]
    exact = Fraction(0)
    for a, b, c in v[f].tolist():
        a, b, c = ([Fraction(x) for x in p] for p in (a, b, c))
        exact += a[0] * (b[1] * c[2] - b[2] * c[1]) + a[1] * (b[2] * c[0] - b[0] * c[2]) + a[2] * (b[0] * c[1] - b[1] * c[0])
    got = TriangleMesh(v, f).volume
    assert got == pytest.approx(float(exact / 6), rel=1e-15) and np.sign(got) == np.sign(exact)


def test_inside_tests_are_exact_on_lattice_points():
    m = voxel_mesh(L_SHAPE)
    # every quarter-lattice point of the box around the shape: most lie on
    # the planes, edges and vertices of the surface and on rays along them
    grid = np.stack(np.meshgrid(*[np.arange(-0.5, 3.75, 0.25)] * 3, indexing="ij"), -1).reshape(-1, 3)
    truth = np.array([exact_side(L_SHAPE, p) for p in grid])
    np.testing.assert_array_equal(m.bounded_side(grid), truth)
    np.testing.assert_array_equal(m.contains(grid, threads=2), truth >= 0)
    with pytest.raises(ValueError, match="closed mesh"):
        TriangleMesh(m.vertices, m.faces[1:]).contains(grid)


def brute_first_hit(m: TriangleMesh, origin, direction):
    tris = m.triangle_objects()
    ray = Ray3(Point3(*origin), Point3(*(np.array(origin) + direction)))
    met = np.flatnonzero(zenolith.do_intersect(ray, tris))
    if len(met) == 0:
        return None
    o = np.array(origin)
    best = math.inf
    for f in met:
        found = zenolith.intersection(ray, m.triangle_objects()[int(f)])
        ends = [found] if isinstance(found, Point3) else [found.source(), found.target()]
        best = min(best, *(math.dist(o, list(e)) for e in ends))
    return best


def test_rays_against_brute_force_and_through_vertices_and_edges():
    m = voxel_mesh(L_SHAPE)
    rng = np.random.default_rng(1)
    targets = np.concatenate([m.vertices, m.vertices[m.edges].mean(axis=1), rng.uniform(-1, 4, (40, 3))])
    origins = rng.integers(-4, 8, size=(len(targets), 3)).astype(float)
    origins[: len(m.vertices) // 2, 2] = 7  # some straight down the lattice lines
    directions = targets - origins
    h = m.ray_first_hit(origins, directions, threads=1)
    n_exact = len(targets) - 40
    for i in range(len(targets)):
        expected = brute_first_hit(m, origins[i], directions[i])
        assert h.hit[i] == (expected is not None), i
        if expected is not None:
            assert h.distance[i] == pytest.approx(expected, rel=1e-12, abs=1e-12)
            assert zenolith.squared_distance(Point3(*h.point[i]), m.triangle_objects()[int(h.face[i])]) < 1e-20
    # aimed exactly at a vertex or an edge point of the surface: never a miss
    assert h.hit[:n_exact].all()
    lists = m.ray_hits(origins, directions)
    assert (np.diff(lists.offsets) >= h.hit).all()
    firsts = lists.distances[lists.offsets[:-1][h.hit]]
    np.testing.assert_array_equal(firsts, h.distance[h.hit])
    # rays in the plane of a face: entering it across an edge, through a
    # corner only, and starting on it
    bottom = TriangleMesh(m.vertices, [f for f in m.faces if (m.vertices[f][:, 2] == 0).all()])
    along = bottom.ray_first_hit([[-1, 0.5, 0], [-1, -1, 0], [0.5, 0.5, 0], [-1, 2.5, 0]],
                                 [[1, 0, 0], [1, 1, 0], [1, 0, 0], [1, 0.5, 0]])
    np.testing.assert_array_equal(along.distance, [1, math.sqrt(2), 0, math.hypot(1, 0.5)])
    np.testing.assert_array_equal(along.point, [[0, 0.5, 0], [0, 0, 0], [0.5, 0.5, 0], [0, 3, 0]])
    # one origin against many directions, and a zero direction misses
    one = m.ray_first_hit([-1.0, 0.5, 0.5], [[1, 0, 0], [0, 0, 0], [-1, 0, 0]])
    assert one.hit.tolist() == [True, False, False] and one.distance[0] == 1.0 and one.face[2] == -1


def test_closest_points_against_brute_force():
    m = voxel_mesh(L_SHAPE)
    rng = np.random.default_rng(2)
    q = rng.uniform(-2, 5, (200, 3))
    c = m.closest_point(q)
    tris = m.triangle_objects()
    for i in range(0, 200, 7):
        d = zenolith.squared_distance(Point3(*q[i]), tris)
        assert c.squared_distance[i] == pytest.approx(d.min(), rel=1e-12, abs=1e-15)
        assert d[c.face[i]] == pytest.approx(d.min(), rel=1e-12, abs=1e-15)
    np.testing.assert_allclose(((c.point - q) ** 2).sum(axis=1), c.squared_distance, rtol=1e-12)
    np.testing.assert_array_equal(m.squared_distance(q), c.squared_distance)


def test_objects_against_brute_force():
    m = voxel_mesh(L_SHAPE)
    tris = m.triangle_objects()
    objects = [
        Segment3(Point3(-1, 0.5, 0.5), Point3(0, 0.5, 0.5)),  # touches a face at its end
        Segment3(Point3(0.5, 0.5, 0.5), Point3(0.6, 0.5, 0.5)),  # inside, meets nothing
        Ray3(Point3(1.5, 1.5, -1), Point3(1.5, 1.5, 0)),  # through the notch
        Line3(Point3(0, 0, 0), Point3(1, 1, 1)),
        Triangle3(Point3(-1, -1, 0.5), Point3(5, -1, 0.5), Point3(-1, 5, 0.5)),
        Triangle3(Point3(0, 0, 3), Point3(1, 1, 3), Point3(2, 2, 3)),  # flat: its longest side
        Plane3(0, 0, 1, -1),
        Sphere3(Point3(3, 3, 1), 0.5),
        Point3(3, 1, 0.5),
    ]
    for obj in objects:
        expected = np.flatnonzero(zenolith.do_intersect(obj, tris))
        if isinstance(obj, Triangle3) and zenolith.exact.collinear(*[obj.vertex(i) for i in range(3)]):
            expected = np.flatnonzero(zenolith.do_intersect(Segment3(Point3(0, 0, 3), Point3(2, 2, 3)), tris))
        np.testing.assert_array_equal(m.intersecting_faces(obj), expected, err_msg=repr(obj))
        assert m.do_intersect(obj) == (len(expected) > 0)
    with pytest.raises(ValueError, match="degenerate"):
        m.do_intersect(Plane3(0, 0, 0, 1))
    with pytest.raises(TypeError):
        m.do_intersect(m)  # type: ignore[arg-type]


def test_two_meshes_and_self_intersections():
    cube = voxel_mesh({(0, 0, 0)})
    assert len(cube.self_intersections()) == 0 and not cube.is_self_intersecting
    moved = TriangleMesh(cube.vertices + 0.5, cube.faces)
    far = TriangleMesh(cube.vertices + 2, cube.faces)
    touching = TriangleMesh(cube.vertices + [1, 0, 0], cube.faces)
    assert cube.intersects(moved) and cube.intersects(touching) and not cube.intersects(far)
    pairs = cube.intersecting_pairs(moved)
    tris_a, tris_b = cube.triangle_objects(), moved.triangle_objects()
    expected = [[i, j] for i in range(cube.nfaces) for j in range(moved.nfaces)
                if zenolith.do_intersect(tris_a[i], tris_b[j])]
    assert pairs.tolist() == expected
    # both cubes in one mesh cross each other; a face folded onto its
    # neighbour and a repeated face are self-intersections too
    both = TriangleMesh(np.concatenate([cube.vertices, moved.vertices]),
                        np.concatenate([cube.faces, moved.faces + len(cube.vertices)]))
    found = {tuple(p) for p in both.self_intersections().tolist()}
    assert found == {(i, j + cube.nfaces) for i, j in expected}
    v = np.array([[0, 0, 0], [1, 0, 0], [0, 1, 0], [0.5, 0.5, 0], [0.2, 0.2, 0]], float)
    assert TriangleMesh(v, [[0, 1, 2], [0, 1, 4]]).self_intersections().tolist() == [[0, 1]]
    assert TriangleMesh(v, [[0, 1, 2], [2, 1, 0]]).self_intersections().tolist() == [[0, 1]]
    assert TriangleMesh(v, [[0, 1, 2], [1, 3, 0]]).self_intersections().tolist() == [[0, 1]]


def test_bad_input_empty_meshes_pickling_and_memory():
    v = np.array([[0, 0, 0], [1, 0, 0], [0, 1, 0]], float)
    with pytest.raises(ValueError, match=r"vertices\[1\]"):
        TriangleMesh([[0, 0, 0], [np.nan, 0, 0], [0, 1, 0]], [[0, 1, 2]])
    with pytest.raises(ValueError, match=r"faces\[1\]: index 3"):
        TriangleMesh(v, [[0, 1, 2], [0, 1, 3]])
    with pytest.raises(ValueError, match=r"faces\[0\]: repeats"):
        TriangleMesh(v, [[0, 1, 1]])
    assert TriangleMesh(v, [[0, 1, 1]], allow_degenerate=True).nfaces == 1
    with pytest.raises(TypeError, match="integer"):
        TriangleMesh(v, [[0.0, 1.0, 2.0]])
    with pytest.raises(ValueError, match="threads"):
        TriangleMesh(v, [[0, 1, 2]]).closest_point([0, 0, 0], threads=0)
    m = TriangleMesh(v, [[0, 1, 2]])
    with pytest.raises(ValueError, match="read-only"):
        m.vertices[0, 0] = 5.0
    empty = TriangleMesh()
    assert empty.ray_first_hit([0, 0, 0], [[1, 0, 0]]).hit.tolist() == [False]
    assert empty.contains([[0, 0, 0]]).tolist() == [False] and empty.closest_point([[1, 2, 3]]).face.tolist() == [-1]
    assert empty.volume == 0 and len(empty.self_intersections()) == 0
    # a soup of separate triangles shares its equal corners
    soup = TriangleMesh.from_triangles(voxel_mesh({(0, 0, 0)}).triangles() * -1.0)
    assert soup.nvertices == 8 and soup.is_closed and soup.volume == -1.0
    with pytest.raises(ValueError, match=r"triangles\[0\]"):
        TriangleMesh.from_triangles([[[0, 0, np.inf], [1, 0, 0], [0, 1, 0]]])
    copy = pickle.loads(pickle.dumps(m))
    np.testing.assert_array_equal(copy.faces, m.faces)
    assert copy.ray_first_hit([0.2, 0.2, 1], [0, 0, -1]).hit
    # the tree goes with the mesh
    import resource

    big = voxel_mesh({(i, j, 0) for i in range(60) for j in range(60)})
    before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    for _ in range(20):
        TriangleMesh(big.vertices, big.faces).closest_point([0.5, 0.5, 3.0])
        gc.collect()
    assert resource.getrusage(resource.RUSAGE_SELF).ru_maxrss - before < 50_000  # kB


@pytest.mark.parametrize("scale", [2.0**-1000, 2.0**-500, 2.0**500, 2.0**1020])
def test_decisions_do_not_change_when_everything_is_scaled_by_a_power_of_two(scale):
    # the scaled problem is the same problem exactly: the same faces hit and
    # the same sides, though origins dwarf directions (or the reverse) and
    # squares of the coordinates overflow or underflow
    m = voxel_mesh(L_SHAPE)
    rng = np.random.default_rng(3)
    q = rng.uniform(-1, 4, (2000, 3))
    d = rng.normal(size=(2000, 3)) * 10.0 ** rng.integers(-300, 300, (2000, 1))
    grid = np.stack(np.meshgrid(*[np.arange(-0.5, 3.75, 0.25)] * 3, indexing="ij"), -1).reshape(-1, 3)
    scaled = TriangleMesh(m.vertices * scale, m.faces)
    a, b = m.ray_first_hit(q, d), scaled.ray_first_hit(q * scale, d)
    np.testing.assert_array_equal(a.face, b.face)
    np.testing.assert_allclose(b.distance[b.hit] / scale, a.distance[a.hit], rtol=1e-14)
    np.testing.assert_array_equal(scaled.bounded_side(grid * scale), m.bounded_side(grid))
    c = scaled.closest_point(q * scale)
    np.testing.assert_allclose(c.point / scale, m.closest_point(q).point, rtol=1e-14, atol=1e-14)
