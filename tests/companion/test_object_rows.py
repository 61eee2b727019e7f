"""Many objects at once: every row-wise result is the per-pair call on that
row's two objects, bit for bit; broadcasting repeats the one object;
all_pairs is the brute-force pair set; ray-triangle against exact rationals."""

import pickle
from fractions import Fraction

import numpy as np
import pytest

import zenolith as zl
import zenolith_core as z

P2, P3 = z.Point2, z.Point3
WRAPPERS = {cls.item_class: cls for cls in (
    zl.Segments2, zl.Segments3, zl.Rays2, zl.Rays3, zl.Lines2, zl.Lines3, zl.Triangles2, zl.Triangles3,
    zl.Tetrahedra3, zl.IsoRectangles2, zl.IsoCuboids3, zl.Bboxes2, zl.Bboxes3, zl.Circles2, zl.Spheres3,
    zl.Planes3)}
DIM = {z.Point2: 2, z.Point3: 3}


def rows_of(cls, n, rng):
    """n random rows of class cls: small integers (touching, coplanar and
    degenerate objects) mixed with real numbers."""
    if cls in DIM:
        shape = (DIM[cls],)
    else:
        shape = WRAPPERS[cls].item_shape
    ints = rng.integers(-2, 3, size=(n, *shape)).astype(float)
    reals = rng.normal(size=(n, *shape))
    a = np.where(rng.random((n, 1) + (1,) * (len(shape) - 1)) < 0.6, ints, reals)
    if cls in (z.Circle2, z.Sphere3):
        a[:, -1] = np.abs(a[:, -1]) + 0.5
    if cls in (z.Line2, z.Line3):  # a line of two equal points has no direction
        a[:, 1] += (a[:, 0] == a[:, 1]).all(axis=1)[:, None]
    if cls is z.Plane3:
        a[:, 0] += (a[:, :3] == 0).all(axis=1)
    return a if cls in DIM else WRAPPERS[cls](a)


def obj_at(rows, cls, i):
    if cls in DIM:
        return cls(*map(float, rows[i]))
    return rows[i]


def bits(r):
    """A result as exact bytes (core objects pickle their doubles)."""
    if isinstance(r, list):
        return tuple(map(bits, r))
    if isinstance(r, float):
        return r.hex()
    return pickle.dumps(r)


def pairs(op):
    """The pairs of `op` whose both classes come in arrays (two point arrays
    are zenolith.arrays.squared_distance's plain formula, not the pair's)."""
    return [(a, b) for a, b in zl._intersections._testing.supported()[op]
            if (a in WRAPPERS or a in DIM) and (b in WRAPPERS or b in DIM) and not (a in DIM and b in DIM)]


@pytest.mark.parametrize("op", ["do_intersect", "intersection", "squared_distance"])
def test_every_row_is_the_per_pair_result(op):
    rng = np.random.default_rng(5)
    call = getattr(zl, op)
    for A, B in pairs(op):
        a, b = rows_of(A, 40, rng), rows_of(B, 40, rng)
        got = call(a, b)
        for i in range(40):
            x, y = obj_at(a, A, i), obj_at(b, B, i)
            expected = call(x, y)
            row = got[i] if op == "intersection" else got[i].item()
            assert bits(row) == bits(expected), (A.__name__, B.__name__, i, row, expected)


def test_broadcasting_repeats_the_one_object_in_either_order():
    rng = np.random.default_rng(6)
    rays, tris = rows_of(z.Ray3, 50, rng), rows_of(z.Triangle3, 50, rng)
    one = tris[3]
    same = zl.Triangles3(np.repeat(tris.array[3:4], 50, axis=0))
    for op in (zl.do_intersect, zl.squared_distance):
        if op is zl.squared_distance:
            rays, same_rays = rows_of(z.Point3, 50, rng), None
        assert np.array_equal(op(rays, one), op(rays, same), equal_nan=True)
        assert np.array_equal(op(one, rays), op(rays, same), equal_nan=True)
    r, s = zl.intersection(rays, one), zl.intersection(rays, same)
    assert list(map(bits, r)) == list(map(bits, s))
    assert np.array_equal(zl.do_intersect(list(tris), one), zl.do_intersect(tris, one))
    # an array of one row repeats too, and keeps its length
    assert zl.do_intersect(tris[:1], rays).shape == (50,)


def test_object_arrays_against_points_row_by_row():
    rng = np.random.default_rng(7)
    segs, pts = rows_of(z.Segment3, 30, rng), rng.normal(size=(30, 3))
    cp = zl.closest_point(segs, pts)
    on = zl.has_on(segs, cp)
    for i in range(30):
        assert bits(P3(*cp[i])) == bits(zl.closest_point(segs[i], P3(*pts[i])))
        assert on[i] == segs[i].has_on(P3(*cp[i]))
    circles, p2 = rows_of(z.Circle2, 30, rng), rng.integers(-2, 3, size=(30, 2)).astype(float)
    sides = zl.bounded_side(circles, p2)
    assert [int(s) for s in sides] == [circles[i].bounded_side(P2(*p2[i])) for i in range(30)]


@pytest.mark.parametrize("make, dim", [(zl.Segments2, 2), (zl.Triangles3, 3), (zl.Circles2, 2), (zl.Rays2, 2)])
def test_all_pairs_is_the_brute_force_set(make, dim):
    rng = np.random.default_rng(8)
    cls = make.item_class
    a, b = rows_of(cls, 40, rng), rows_of(cls, 30, rng)
    brute = {(i, j) for i in range(40) for j in range(30) if zl.do_intersect(a[i], b[j])}
    assert {tuple(p) for p in zl.all_pairs(a, b).tolist()} == brute
    within = {(i, j) for i in range(40) for j in range(i + 1, 40) if zl.do_intersect(a[i], a[j])}
    assert {tuple(p) for p in zl.all_pairs(list(a)).tolist()} == within
    boxes = {tuple(p) for p in zl.all_pairs(a, b, predicate="boxes").tolist()}
    assert brute <= boxes


def orient(a, b, c, d):
    u, v, w = ([q[k] - a[k] for k in range(3)] for q in (b, c, d))
    return (u[0] * (v[1] * w[2] - v[2] * w[1]) - u[1] * (v[0] * w[2] - v[2] * w[0])
            + u[2] * (v[0] * w[1] - v[1] * w[0]))


def test_ray_triangle_is_exact_through_edges_and_vertices():
    """Rays through a vertex, an edge point (dyadic, so exactly on it) and one
    ulp beside it: decided and constructed as exact rationals say."""
    rng = np.random.default_rng(9)
    rays, tris, cases = [], [], []
    for _ in range(300):
        t = rng.integers(-8, 9, size=(3, 3)).astype(float) / 4
        if orient(*(list(map(Fraction, v)) for v in t), [Fraction(0)] * 3) == 0 and not np.any(
                np.cross(t[1] - t[0], t[2] - t[0])):
            continue
        w = rng.integers(0, 5) / 4
        target = t[0] + w * (t[1] - t[0])  # on the edge (exact: dyadic)
        target[2] = np.nextafter(target[2], np.inf) if rng.random() < 0.3 else target[2]
        src = target + rng.integers(-8, 9, size=3) / 2
        rays.append([src, target])
        tris.append(t)
    R, T = zl.Rays3(np.array(rays)), zl.Triangles3(np.array(tris))
    hits, res = zl.do_intersect(R, T), zl.intersection(R, T)
    for i in range(len(R)):
        s, q = (list(map(Fraction, v)) for v in R.array[i])
        a, b, c = (list(map(Fraction, v)) for v in T.array[i])
        o_s, o_q = orient(a, b, c, s), orient(a, b, c, q)
        if o_s == o_q or o_s == 0:
            continue  # parallel to the plane, or starting on it: the kernel's own cases
        t = o_s / (o_s - o_q)
        p = [s[k] + t * (q[k] - s[k]) for k in range(3)]
        sides = [orient(s, q, a, b), orient(s, q, b, c), orient(s, q, c, a)]
        meets = t >= 0 and not (max(sides) > 0 > min(sides))
        assert hits[i] == meets, i
        if meets and not all(x == 0 for x in sides):
            assert res.kinds[i] == zl.IntersectionKind.POINT
            for k in range(3):  # within 2^-41 of the exact coordinate (or rounded among the subnormals)
                error = abs(Fraction(res.points[i, k]) - p[k])
                assert error <= max(abs(p[k]) * Fraction(1, 2**41), Fraction(1, 2**1075))


@pytest.mark.parametrize("call, args, error, words", [
    (zl.do_intersect, lambda: (zl.Segments2(np.array([[[0, 0], [1, 1]], [[0, np.nan], [1, 1]]])),
                               z.Segment2(P2(0, 0), P2(1, 0))), ValueError, "a[1]: expected finite"),
    (zl.do_intersect, lambda: (zl.Segments2(np.zeros((3, 2, 2))), zl.Segments2(np.zeros((2, 2, 2)))),
     ValueError, "has 3 rows, b has 2"),
    (zl.intersection, lambda: (zl.Rays3(np.zeros((2, 2, 3))), zl.Circles2(np.ones((2, 3)))),
     TypeError, "many Circle2"),
    (zl.squared_distance, lambda: ([z.Segment2(P2(0, 0), P2(1, 0)), z.Point2(0, 0)], P2(0, 0)),
     TypeError, "at index 1"),
    (zl.do_intersect, lambda: (z.Triangle3(P3(0, 0, 0), P3(1, 0, 0), P3(0, 1, 0)), np.zeros((2, 4))),
     ValueError, "points"),
    (zl.intersection, lambda: (zl.Lines2(np.array([[[0, 0], [1, 1]], [[2, 2], [2, 2]]])),
                               zl.Lines2(np.array([[[0, 1], [1, 0]]] * 2))), ValueError, "row 1:"),
    (zl.all_pairs, lambda: (zl.Segments2(np.zeros((2, 2, 2))), zl.Planes3(np.ones((2, 4)))), TypeError,
     "does not support"),
    (zl.all_pairs, lambda: (zl.Segments2(np.array([[[0, 0], [1, np.inf]]])),), ValueError, "a[0]"),
    (zl.all_pairs, lambda: (np.zeros((2, 2, 2)),), TypeError, "typed object array"),
])
def test_bad_input_is_named(call, args, error, words):
    with pytest.raises(error, match=None) as info:
        call(*args())
    assert words in str(info.value)


def test_lists_of_core_objects_read_as_their_arrays():
    raw = np.array([[0.0, 0.0], [1.0, 2.0]])
    pts = zl.points2(raw)
    seg = z.Segment2(P2(0, 0), P2(2, 4))
    assert zl.do_intersect(seg, pts).tolist() == [True, True]
    assert np.array_equal(zl.squared_distance(seg, pts), zl.squared_distance(seg, raw))
    assert zl.bbox(pts) == zl.bbox(raw) and zl.lexicographic_order(pts).tolist() == [0, 1]
    segs = [seg, z.Segment2(P2(1, 0), P2(0, 1))]
    t = z.AffTransformation2(0.6, 0.8)
    assert [s.transform(t) for s in segs] == list(zl.transform(t, segs))
    with pytest.raises(TypeError, match="zenolith.to_array"):
        zl.orientation(np.array(segs, dtype=object), raw, raw)


def test_long_arrays_split_over_threads_give_the_same_rows():
    """Past 2^16 rows the loop runs in parts: the same answers as short runs,
    the rows left to the per-pair entry (degenerate ones) and the first
    non-finite row found in whichever part they lie."""
    rng = np.random.default_rng(11)
    n = 150_000
    tris = rng.normal(size=(n, 3, 3))
    tris[100_000] = tris[100_000, [0, 0, 1]]  # flat: handed to the per-pair entry
    rays = np.stack([rng.normal(size=(n, 3)) * 3, tris.mean(axis=1)], axis=1)
    R, T = zl.Rays3(rays), zl.Triangles3(tris)
    whole, parts = zl.intersection(R, T), [zl.intersection(R[i:i + 50_000], T[i:i + 50_000]) for i in range(0, n, 50_000)]
    assert np.array_equal(whole.kinds, np.concatenate([p.kinds for p in parts]))
    assert np.array_equal(whole.points, np.concatenate([p.points for p in parts]), equal_nan=True)
    assert bits(whole[100_000]) == bits(zl.intersection(R[100_000], T[100_000]))
    tris[120_000, 1, 2] = np.nan
    tris[90_000, 0, 0] = np.inf
    with pytest.raises(ValueError, match=r"b\[90000\]"):
        zl.do_intersect(R, zl.Triangles3(tris))


def test_an_empty_box_meets_nothing():
    """A box with a minimum above its maximum holds no point (the kernel said a
    triangle meets it, then constructed nothing)."""
    empty = z.Bbox2(1.8, 0.5, 0.0, 0.8)
    tri = z.Triangle2(P2(1, 1), P2(1, -2), P2(-2, 0))
    assert zl.do_intersect(tri, empty) is False and zl.intersection(tri, empty) is None
    assert not zl.do_intersect(empty, np.array([[1.0, 0.6], [0.5, 0.6]])).any()


def test_the_box_sweep_finds_every_overlap_at_mixed_scales():
    """Boxes from tiny to spanning everything (dealt into many strips or
    all), in 2D and 3D: the candidate pairs are exactly the overlapping boxes."""
    rng = np.random.default_rng(10)
    for dim in (2, 3):
        def boxes(n):
            lo = rng.random((n, dim)) * 10
            return np.stack([lo, lo + rng.random((n, dim)) * 10.0 ** rng.integers(-3, 2, size=(n, 1))], axis=1)
        a, b = boxes(300), boxes(200)
        overlap = ((a[:, None, 0] <= b[None, :, 1]) & (b[None, :, 0] <= a[:, None, 1])).all(axis=2)
        make = zl.IsoRectangles2 if dim == 2 else zl.IsoCuboids3
        got = zl.all_pairs(make(a), make(b), predicate="boxes")
        assert got.tolist() == np.argwhere(overlap).tolist()
        own = zl.all_pairs(make(a), predicate="boxes")
        inner = ((a[:, None, 0] <= a[None, :, 1]) & (a[None, :, 0] <= a[:, None, 1])).all(axis=2)
        assert own.tolist() == [[i, j] for i, j in np.argwhere(inner).tolist() if i < j]
