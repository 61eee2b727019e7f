"""Whole-array operations: every element equals the core's per-object call on
the same numbers, bit for bit (signed zeros, NaN, infinities included)."""

import math
import threading

import numpy as np
import pytest
from hypothesis import given, settings, strategies as st

import zenolith as zl
import zenolith_core as z

SPECIAL = [0.0, -0.0, 1.0, -1.0, 0.5, 2.0, 3.0, 1e-300, -1e300, 5e-324,
           math.inf, -math.inf, math.nan]
coordinate = st.one_of(
    st.sampled_from(SPECIAL),
    st.integers(-3, 3).map(float),
    st.floats(-10, 10),
    st.floats(allow_nan=True, allow_infinity=True),
)
FAST = settings(max_examples=60, deadline=None)


@st.composite
def rows(draw, d, min_size=0, max_size=10):
    """Points as an (N, d) array; some rows lie (up to rounding) on the line
    through two earlier ones, so near-degenerate configurations are common."""
    out = [list(r) for r in draw(st.lists(st.tuples(*[coordinate] * d),
                                          min_size=min_size, max_size=max_size))]
    for i in range(2, len(out)):
        if draw(st.booleans()):
            a, b = out[draw(st.integers(0, i - 1))], out[draw(st.integers(0, i - 1))]
            t = draw(st.floats(-2, 2))
            out[i] = [x + t * (y - x) for x, y in zip(a, b)]
    return np.array(out, dtype=float).reshape(-1, d)


def point(r):
    return z.Point2(*r) if len(r) == 2 else z.Point3(*r)


def points(a):
    return [point(r) for r in a]


def numbers(value):
    """A per-object result as plain numbers: points and vectors by coordinates."""
    if isinstance(value, z.Vector2):
        return [value.x, value.y]
    if isinstance(value, (z.Point2, z.Point3, z.Vector3)):
        return list(value)
    return value


def assert_same(got, expected):
    """Equal to the last bit (signed zeros told apart); a NaN equals any NaN,
    as the sign of a NaN an operation makes is not fixed by the arithmetic."""
    expected = np.array([numbers(e) for e in expected]).reshape(got.shape)
    if got.dtype == np.float64:
        expected = expected.astype(np.float64)
        nan = np.isnan(got)
        assert np.array_equal(nan, np.isnan(expected)), (got, expected)
        assert got[~nan].tobytes() == expected[~nan].tobytes(), (got, expected)
    else:
        assert got.tolist() == expected.tolist()


P2, P3 = z.Point2, z.Point3
# (query, object from its first k points, k, dimension of the queried points)
QUERIES = [
    (zl.oriented_side, lambda p: z.Line2(p[0], p[1]), 2, 2),
    (zl.oriented_side, lambda p: z.Circle2(p[0], p[1], p[2]), 3, 2),
    (zl.oriented_side, lambda p: z.Triangle2(p[0], p[1], p[2]), 3, 2),
    (zl.oriented_side, lambda p: z.Plane3(p[0], p[1], p[2]), 3, 3),
    (zl.oriented_side, lambda p: z.Sphere3(p[0], p[1], p[2], p[3]), 4, 3),
    (zl.oriented_side, lambda p: z.Tetrahedron3(p[0], p[1], p[2], p[3]), 4, 3),
    (zl.bounded_side, lambda p: z.Circle2(p[0], p[1], p[2]), 3, 2),
    (zl.bounded_side, lambda p: z.Triangle2(p[0], p[1], p[2]), 3, 2),
    (zl.bounded_side, lambda p: z.IsoRectangle2(p[0], p[1]), 2, 2),
    (zl.bounded_side, lambda p: z.Sphere3(p[0], p[1], p[2], p[3]), 4, 3),
    (zl.bounded_side, lambda p: z.Tetrahedron3(p[0], p[1], p[2], p[3]), 4, 3),
    (zl.bounded_side, lambda p: z.IsoCuboid3(p[0], p[1]), 2, 3),
    (zl.has_on, lambda p: z.Line2(p[0], p[1]), 2, 2),
    (zl.has_on, lambda p: z.Segment2(p[0], p[1]), 2, 2),
    (zl.has_on, lambda p: z.Ray2(p[0], p[1]), 2, 2),
    (zl.has_on, lambda p: z.Line3(p[0], p[1]), 2, 3),
    (zl.has_on, lambda p: z.Segment3(p[0], p[1]), 2, 3),
    (zl.has_on, lambda p: z.Ray3(p[0], p[1]), 2, 3),
    (zl.has_on, lambda p: z.Plane3(p[0], p[1], p[2]), 3, 3),
    (zl.has_on, lambda p: z.Triangle3(p[0], p[1], p[2]), 3, 3),
    (zl.projection, lambda p: z.Line2(p[0], p[1]), 2, 2),
    (zl.projection, lambda p: z.Line3(p[0], p[1]), 2, 3),
    (zl.projection, lambda p: z.Plane3(p[0], p[1], p[2]), 3, 3),
    (zl.to_2d, lambda p: z.Plane3(p[0], p[1], p[2]), 3, 3),
]


@pytest.mark.parametrize("query, make, k, d", QUERIES,
                         ids=[f"{q.__name__}-{i}" for i, (q, *_) in enumerate(QUERIES)])
@FAST
@given(data=st.data())
def test_queries_equal_the_object_method(query, make, k, d, data):
    # The object is built from the first rows, so many queried points sit on
    # its vertices or near its boundary.
    pts = data.draw(rows(d, min_size=k))
    obj = make([point(r) for r in pts[:k]])
    expected = [getattr(obj, query.__name__)(point(r)) for r in pts]
    assert_same(query(obj, pts), expected)


@FAST
@given(pts=rows(3, min_size=3), flat=rows(2))
def test_to_3d_is_the_planes_own(pts, flat):
    plane = z.Plane3(*(point(r) for r in pts[:3]))
    assert_same(zl.to_3d(plane, flat), [plane.to_3d(point(r)) for r in flat])


@FAST
@given(n=st.integers(0, 20), d=st.sampled_from([2, 3]), data=st.data())
def test_orientation_and_squared_distance(n, d, data):
    a, b, c, e = (data.draw(rows(d, min_size=n, max_size=n)) for _ in range(4))
    if d == 2:
        signs = [r.left_turn() - r.right_turn() for r in map(z.orientation, *map(points, (a, b, c)))]
        assert_same(zl.orientation(a, b, c), signs)
        assert_same(zl.squared_distance(a, b),
                    [z.squared_distance(*p, *q) for p, q in zip(a.tolist(), b.tolist())])
    else:
        tets = map(z.Tetrahedron3, *map(points, (a, b, c, e)))
        assert_same(zl.orientation(a, b, c, e), [t.orientation() for t in tets])
        assert_same(zl.squared_distance(a, b),
                    [(p - q).squared_length() for p, q in zip(points(a), points(b))])


transformations = st.one_of(
    st.tuples(coordinate, coordinate).map(lambda v: z.AffTransformation2(z.Vector2(*v))),
    coordinate.map(z.AffTransformation2),
    st.tuples(coordinate, coordinate, coordinate).map(lambda c: z.AffTransformation2(z.Line2(*c))),
    st.tuples(coordinate, coordinate).map(lambda sc: z.AffTransformation2(*sc)),
    st.tuples(*[coordinate] * 6).map(lambda m: z.AffTransformation2(*m)),
    st.tuples(*[coordinate] * 4).map(lambda m: z.AffTransformation2(*m)),
)


@FAST
@given(t=st.one_of(transformations, st.tuples(transformations, transformations).map(
    lambda ab: ab[0] * ab[1])), pts=rows(2))
def test_transformations_follow_the_mended_rules(t, pts):
    assert_same(zl.transform(t, pts), [point(r).transform(t) for r in pts])
    assert_same(zl.transform_vectors(t, pts), [z.Vector2(*r).transform(t) for r in pts])


@FAST
@given(d=st.sampled_from([2, 3]), data=st.data())
def test_bbox_is_the_union_of_the_points_boxes(d, data):
    # Bbox2's + in the plane; in space the same rule written out (Python's
    # min and max keep the first argument on ties and NaN, as the kernel's do)
    pts = data.draw(rows(d, min_size=1))
    boxes = [point(r).bbox() for r in pts]
    names = ["xmin", "ymin", "zmin", "xmax", "ymax", "zmax"] if d == 3 else \
        ["xmin", "ymin", "xmax", "ymax"]
    got = zl.bbox(pts)
    assert type(got) is type(boxes[0])
    if d == 2:
        union = boxes[0]
        for b in boxes[1:]:
            union = union + b
        expected = [getattr(union, n) for n in names]
    else:
        expected = [getattr(boxes[0], n) for n in names]
        for b in boxes[1:]:
            expected = [min(expected[k], getattr(b, names[k])) for k in range(3)] + \
                [max(expected[k], getattr(b, names[k])) for k in range(3, 6)]
    assert_same(np.array([getattr(got, n) for n in names]), expected)


def python_order(pts):
    objs = points(pts)
    return sorted(range(len(objs)), key=objs.__getitem__)


@FAST
@given(d=st.sampled_from([2, 3]), data=st.data())
def test_lexicographic_order_small(d, data):
    pts = data.draw(rows(d, max_size=40))
    assert zl.lexicographic_order(pts).tolist() == python_order(pts)


@pytest.mark.parametrize("n", [63, 64, 65, 300, 1000, 4000])
def test_lexicographic_order_with_nan_takes_pythons_comparisons(n):
    # With NaN the core's < is no order at all: only the same comparisons in
    # the same sequence (runs, merges, galloping) give the same permutation.
    rng = np.random.default_rng(n)
    for d in (2, 3):
        for nan_share in (0.0, 0.05, 0.5):
            pts = rng.integers(0, 4, size=(n, d)).astype(float)
            pts[rng.random((n, d)) < nan_share] = math.nan
            # long presorted and reversed stretches make runs and galloping
            pts[: n // 3] = np.sort(pts[: n // 3], axis=0)
            pts[n // 3: n // 2] = np.sort(pts[n // 3: n // 2], axis=0)[::-1]
            assert zl.lexicographic_order(pts).tolist() == python_order(pts)


@FAST
@given(data=st.data())
def test_conversions_round_trip(data):
    for build, item, read in [
        (zl.points2, (2,), list), (zl.points3, (3,), list),
        (zl.vectors2, (2,), lambda v: [v.x, v.y]), (zl.vectors3, (3,), list),
        (zl.weighted_points2, (3,), lambda w: [w.x(), w.y(), w.weight()]),
        (zl.segments2, (2, 2), lambda s: [list(p) for p in s]),
        (zl.segments3, (2, 3), lambda s: [list(p) for p in s]),
        (zl.triangles2, (3, 2), lambda t: [list(p) for p in t]),
        (zl.triangles3, (3, 3), lambda t: [list(p) for p in t]),
    ]:
        size = int(np.prod(item))
        arr = data.draw(rows(size, min_size=1)).reshape(-1, *item)
        objs = build(arr)
        assert_same(arr, [read(o) for o in objs])
        assert zl.to_array(objs).tobytes() == arr.tobytes()


def test_broadcasting_strides_and_dtypes():
    grid = np.arange(12).reshape(6, 2)  # ints
    every_other = grid[::2]  # not contiguous
    line = z.Line2(z.Point2(0, 0), z.Point2(1, 1))
    assert zl.oriented_side(line, every_other).tolist() == [1, 1, 1]
    assert zl.oriented_side(line, z.Point2(0, 1)).shape == ()
    assert zl.projection(line, (2, 0)).tolist() == [1.0, 1.0]
    assert zl.squared_distance(z.Point3(0, 0, 0), np.ones((4, 3), np.float32)).tolist() == [3.0] * 4
    assert zl.squared_distance([0, 0], [3, 4]).shape == ()
    assert zl.lexicographic_order(np.zeros((0, 2))).tolist() == []
    empty = zl.bbox(np.zeros((0, 3)))
    assert (empty.xmin, empty.xmax) == (math.inf, -math.inf)
    assert zl.to_array(zl.points2(grid)).tolist() == grid.tolist()


def test_to_array_reads_a_buffer_as_the_array_it_holds():
    objs = np.array([z.Point2(1, 2), z.Segment2(z.Point2(0, 0), z.Point2(1, 1)).target()], dtype=object)
    assert zl.to_array(memoryview(objs)).tolist() == zl.to_array(objs).tolist() == [[1, 2], [1, 1]]
    # numbers are not core objects: the array's own error, whatever holds them
    for buffer, numbers in [(memoryview(np.zeros((2, 2))), np.zeros((2, 2))), (memoryview(np.zeros(3)), np.zeros(3)),
                            (bytearray(b"ab"), np.frombuffer(b"ab", np.uint8))]:
        with pytest.raises(TypeError) as expected:
            zl.to_array(numbers)
        with pytest.raises(TypeError) as got:
            zl.to_array(buffer)
        assert str(got.value) == str(expected.value)


SEG = z.Segment2(z.Point2(0, 0), z.Point2(1, 1))


@pytest.mark.parametrize("call, error, text", [
    (lambda: zl.oriented_side(SEG, [0, 0]), TypeError,
     "oriented_side: expected one of Line2, Circle2, Triangle2, Plane3, Sphere3, Tetrahedron3, "
     "got Segment2"),
    (lambda: zl.has_on(SEG, np.zeros((2, 3))), ValueError, "points: expected 2D points"),
    (lambda: zl.transform(SEG, [0, 0]), TypeError, "got Segment2"),
    (lambda: zl.squared_distance(np.zeros((2, 2)), np.zeros((3, 2))), ValueError,
     "p has 2 rows, q has 3"),
    (lambda: zl.squared_distance([0, 0], [0, 0, 0]), ValueError, "q: expected 2D points"),
    (lambda: zl.bbox(np.zeros((2, 4))), ValueError, "2D or 3D points"),
    (lambda: zl.lexicographic_order(SEG), TypeError, "got Segment2"),
    (lambda: zl.segments2(np.zeros((4, 3, 2))), ValueError, "shape (N, 2, 2), got an array of shape (4, 3, 2)"),
    (lambda: zl.points2(z.Point2(0, 0)), TypeError, "got Point2"),
    (lambda: zl.points3([["a", "b", "c"]]), ValueError, "dtype <U1"),
    (lambda: zl.to_array([z.Point2(0, 0), z.Vector2(0, 0)]), TypeError,
     "got Point2 at index 0 and Vector2 at index 1"),
    (lambda: zl.to_array([SEG.source(), 1.0]), TypeError, "float at index 1"),
    (lambda: zl.to_array([z.Line2(1, 2, 3)]), TypeError, "got Line2 at index 0"),
    (lambda: zl.to_array([]), ValueError, "empty"),
    (lambda: zl.to_array(np.zeros((2, 2))), TypeError, "got ndarray"),
])
def test_errors(call, error, text):
    with pytest.raises(error) as info:
        call()
    assert text in str(info.value)


def test_threads_give_the_single_thread_results():
    rng = np.random.default_rng(1)
    pts = rng.normal(size=(200_000, 2))
    pts[::97] = math.nan
    tri = z.Triangle2(z.Point2(-1, -1), z.Point2(1, -1), z.Point2(0, 1))
    jobs = [lambda: zl.bounded_side(tri, pts), lambda: zl.lexicographic_order(pts[:20_000])]
    expected = [job() for job in jobs]
    results = {}

    def run(k):
        results[k] = jobs[k % 2]()

    threads = [threading.Thread(target=run, args=(k,)) for k in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    for k in range(4):
        assert np.array_equal(results[k], expected[k % 2])


HUGE = np.broadcast_to(np.zeros(2), (2**40, 2))  # its float64 copy cannot be allocated


@pytest.mark.parametrize("call", [
    lambda a: zl.bbox(a),
    lambda a: zl.orientation(a, a, a),
    lambda a: zl.lexicographic_order(a),
    lambda a: zl.squared_distance(z.Segment2(z.Point2(0, 0), z.Point2(1, 1)), a),
    lambda a: zl.exact.orientation(a, a, a),
    lambda a: zl.transform(z.AffTransformation2(z.Vector2(1, 1)), a),
], ids=["bbox", "orientation", "lexicographic_order", "squared_distance", "exact", "transform"])
def test_inputs_too_large_to_copy_raise_memory_error(call):
    with pytest.raises(MemoryError):  # used to crash the interpreter
        call(HUGE)
    masked = np.ma.masked_array(np.zeros((3, 2)), mask=[[1, 0], [0, 0], [0, 0]])
    with pytest.raises(TypeError, match="masked array"):
        call(masked)


def test_misaligned_float64_arrays_are_read_as_copies():
    """A float64 buffer at an odd address (read with an offset) gives the same
    rows as the aligned array (it used to be read with misaligned loads)."""
    good = np.random.default_rng(3).normal(size=(5, 3))
    odd = np.frombuffer(b"\0" + good.tobytes(), dtype="<f8", offset=1).reshape(5, 3)
    assert not odd.flags.aligned
    assert np.array_equal(zl.exact.coplanar(odd, odd[::-1], good, good[::-1]),
                          zl.exact.coplanar(good, good[::-1], good, good[::-1]))
    assert np.array_equal(zl.squared_distance(odd, good[0]), zl.squared_distance(good, good[0]))
