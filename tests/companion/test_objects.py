"""Object arrays: each row is the core object built from its numbers by hand,
and transform / bbox over rows equal the per-object core results bit for bit."""

import copy
import functools
import math
import pickle

import numpy as np
import pytest

import zenolith as zl
import zenolith_core as z
from helpers import parse_svg

P2, P3 = z.Point2, z.Point3

# every class, with the core object a row stands for, written out by hand
BY_HAND = {
    zl.Segments2: lambda r: z.Segment2(P2(*r[0]), P2(*r[1])),
    zl.Segments3: lambda r: z.Segment3(P3(*r[0]), P3(*r[1])),
    zl.Rays2: lambda r: z.Ray2(P2(*r[0]), P2(*r[1])),
    zl.Rays3: lambda r: z.Ray3(P3(*r[0]), P3(*r[1])),
    zl.Lines2: lambda r: z.Line2(P2(*r[0]), P2(*r[1])),
    zl.Lines3: lambda r: z.Line3(P3(*r[0]), P3(*r[1])),
    zl.Triangles2: lambda r: z.Triangle2(*(P2(*v) for v in r)),
    zl.Triangles3: lambda r: z.Triangle3(*(P3(*v) for v in r)),
    zl.Tetrahedra3: lambda r: z.Tetrahedron3(*(P3(*v) for v in r)),
    zl.IsoRectangles2: lambda r: z.IsoRectangle2(P2(*r[0]), P2(*r[1])),
    zl.IsoCuboids3: lambda r: z.IsoCuboid3(P3(*r[0]), P3(*r[1])),
    zl.Bboxes2: lambda r: z.Bbox2(*r[0], *r[1]),
    zl.Bboxes3: lambda r: z.Bbox3(*r[0], *r[1]),
    zl.Circles2: lambda r: z.Circle2(P2(r[0], r[1]), r[2]),
    zl.Spheres3: lambda r: z.Sphere3(P3(r[0], r[1], r[2]), r[3]),
    zl.Planes3: lambda r: z.Plane3(*r),
    zl.WeightedPoints2: lambda r: z.WeightedPoint2(P2(r[0], r[1]), r[2]),
}
CLASSES = list(BY_HAND)
UNBOUNDED = {zl.Rays2, zl.Rays3, zl.Lines2, zl.Lines3, zl.Planes3}
SPECIAL = np.array([0.0, -0.0, 1.0, -1.0, 2.0, math.inf, -math.inf, math.nan])


def same(a, b):
    """The same core object to the last bit: their pickles (the core's
    reducers hold every stored number) are equal."""
    return type(a) is type(b) and pickle.dumps(a) == pickle.dumps(b)


def random_rows(cls, n, seed, special=True):
    """Normal numbers, some rounded to small ints (ties, equal corners), and
    with `special` also signed zeros, infinities and NaN."""
    rng = np.random.default_rng(seed)
    if special == "tiny":  # ties of signed zeros and NaN decide the boxes
        return rng.choice([0.0, -0.0, 1.0, -1.0, math.nan], size=(n, *cls.item_shape))
    a = rng.normal(size=(n, *cls.item_shape)) * 10
    a = np.where(rng.random(a.shape) < 0.3, np.round(a / 5), a)  # small ints, zeros of both signs
    if special:
        a = np.where(rng.random(a.shape) < 0.15, rng.choice(SPECIAL, a.shape), a)
    return a


def test_object_array_base_is_abstract_and_generic():
    with pytest.raises(TypeError, match="cannot be instantiated"):
        zl.ObjectArray(np.zeros((1, 2, 2)))
    assert zl.ObjectArray[z.Segment2] is not None
    assert set(zl.objects.__all__) == {"ObjectArray", "as_object_array", *(c.__name__ for c in CLASSES)} <= set(
        zl.__all__)
    assert all(issubclass(c, zl.ObjectArray) and not hasattr(c(np.zeros((0, *c.item_shape))), "__dict__")
               for c in CLASSES)


@pytest.mark.parametrize("cls", CLASSES, ids=lambda c: c.__name__)
def test_rows_are_the_core_objects_built_by_hand(cls):
    rows = random_rows(cls, 60, seed=len(cls.__name__))
    a = cls(rows)
    assert a.array is rows and a.to_array() is rows and len(a) == 60  # no copy
    built = [BY_HAND[cls](r) for r in rows.tolist()]
    assert all(same(x, y) for x, y in zip(a, built, strict=True))
    assert same(a[-1], built[-1]) and same(a[7], built[7])
    with pytest.raises(IndexError, match="60 rows"):
        a[60]
    mask = rows.reshape(60, -1)[:, 0] > 0
    for key in (slice(3, 50, 4), [5, -1, 5], np.flatnonzero(mask), mask, []):
        part = a[key]
        assert type(part) is cls and np.array_equal(part.array, rows[key], equal_nan=True)
    for clone in (pickle.loads(pickle.dumps(a)), copy.copy(a), copy.deepcopy(a)):
        assert type(clone) is cls and np.array_equal(clone.array, rows, equal_nan=True)
    assert copy.copy(a).array is rows and copy.deepcopy(a).array is not rows
    assert repr(a).startswith(f"{cls.__name__}(60 rows: [") and len(repr(cls(rows[:0]))) < 30
    assert cls.from_objects([]).array.shape == (0, *cls.item_shape)


@pytest.mark.parametrize("cls", CLASSES, ids=lambda c: c.__name__)
def test_from_objects_round_trips(cls):
    rows = random_rows(cls, 40, seed=3, special=False)
    if cls in (zl.IsoRectangles2, zl.IsoCuboids3):
        rows = np.sort(rows, axis=1) + 0.0  # min then max, no negative zeros
    back = cls.from_objects(list(cls(rows))).array
    if cls is zl.Lines2:  # the same line, its two stored points recomputed
        a, b, c = (rows[:, 0, 1] - rows[:, 1, 1], rows[:, 1, 0] - rows[:, 0, 0],
                   rows[:, 0, 0] * rows[:, 1, 1] - rows[:, 0, 1] * rows[:, 1, 0])
        for k in (0, 1):
            assert np.allclose((a * back[:, k, 0] + b * back[:, k, 1] + c) / np.hypot(a, b), 0, atol=1e-9)
    elif cls is zl.Lines3:  # the same base point, the second point up to rounding
        assert np.array_equal(back[:, 0], rows[:, 0]) and np.allclose(back, rows, rtol=1e-12, atol=1e-12)
    else:
        assert np.array_equal(back, rows)
    other = next(c for c in CLASSES if c.item_class is not cls.item_class)
    with pytest.raises(TypeError, match=f"{other.item_class.__name__} at index 1"):
        cls.from_objects([cls(rows)[0], other(np.zeros((1, *other.item_shape)))[0]])
    for junk in (3, "ab", rows, cls(rows)[0]):
        with pytest.raises(TypeError, match="sequence of"):
            cls.from_objects(junk)


@pytest.mark.parametrize("arr, error, message", [
    (np.zeros((3, 2, 3)), ValueError, r"shape \(N, 2, 2\), got shape \(3, 2, 3\)"),
    (np.zeros((2, 2)), ValueError, r"shape \(N, 2, 2\), got shape \(2, 2\)"),
    (5.0, ValueError, r"got shape \(\)"),
    ([[[1, 2], [3]]], ValueError, "array-like of real numbers"),
    (np.zeros((1, 2, 2), dtype=complex), ValueError, "dtype complex128"),
    (np.zeros((1, 2, 2), dtype=object), ValueError, "dtype object"),
    (np.array([[["1", "2"], ["3", "4"]]]), ValueError, "dtype <U1"),
    (np.zeros((1, 2, 2), dtype="datetime64[s]"), ValueError, "datetime64"),
    ([z.Segment2(P2(0, 0), P2(1, 1))], TypeError, r"Segments2.from_objects\(seq\)"),
    (z.Segment2(P2(0, 0), P2(1, 1)), TypeError, "got a Segment2"),
    (np.ma.masked_array(np.zeros((1, 2, 2))), TypeError, r"filled\(value\)"),
    (zl.Rays2(np.zeros((1, 2, 2))), TypeError, "got a Rays2"),
])
def test_bad_input_is_refused_with_the_argument_named(arr, error, message):
    with pytest.raises(error, match=message) as caught:
        zl.Segments2(arr)
    assert "arr" in str(caught.value)


def test_conversions_and_what_is_kept():
    ints = np.arange(8).reshape(2, 2, 2)
    a = zl.Segments2(ints[:, :, ::-1])  # ints, strided: a float64 copy
    assert a.array.dtype == np.float64 and a.array.flags.c_contiguous and a.array[0, 0, 0] == 1.0
    nan = zl.Circles2([[math.nan, math.inf, -1.0]])  # stored, not refused
    assert math.isnan(nan[0].center().x) and nan[0].squared_radius() == -1.0
    assert zl.Segments2(a).array is a.array
    for key in (True, 1.5, (0, 1), None, [[0]], ["a"]):
        with pytest.raises((TypeError, IndexError)):
            a[key]


MOVES = [z.AffTransformation2(z.Vector2(1.5, -2.0)), z.AffTransformation2(-3.0),
         z.AffTransformation2(0.6, 0.8), z.AffTransformation2(z.Line2(1.0, 2.0, -3.0)),
         z.AffTransformation2(2.0, -1.0, 0.5, 0.25, 3.0, -1.0)]


@pytest.mark.parametrize("cls", [zl.Segments2, zl.Triangles2, zl.Rays2, zl.IsoRectangles2], ids=lambda c: c.__name__)
@pytest.mark.parametrize("t", MOVES, ids=range(len(MOVES)))
def test_transform_equals_the_core_per_row(cls, t):
    a = cls(random_rows(cls, 60, seed=11))
    moved = zl.transform(t, a)
    assert type(moved) is cls
    # the core binds no Ray2.transform: the kernel's moves source and second point
    core = (lambda r: z.Ray2(r.source().transform(t), r.point(1.0).transform(t))) if cls is zl.Rays2 else \
        (lambda x: x.transform(t))
    assert all(same(m, core(x)) for m, x in zip(moved, a, strict=True))


def test_transform_refuses_other_object_arrays():
    with pytest.raises(TypeError, match="Segments2, Triangles2, Rays2, IsoRectangles2"):
        zl.transform(MOVES[0], zl.Circles2(np.zeros((1, 3))))


def _fold_min(a, b):
    return b if b < a else a  # std::min


def _fold_max(a, b):
    return b if a < b else a  # std::max


def _sum3(x, y):
    """Bbox3 + Bbox3 as the kernel adds (the core binds no + for Bbox3)."""
    return z.Bbox3(*(_fold_min(getattr(x, k), getattr(y, k)) for k in ("xmin", "ymin", "zmin")),
                   *(_fold_max(getattr(x, k), getattr(y, k)) for k in ("xmax", "ymax", "zmax")))


def _bounds(box):
    names = ("xmin", "ymin", "xmax", "ymax") if isinstance(box, z.Bbox2) else \
        ("xmin", "ymin", "zmin", "xmax", "ymax", "zmax")
    return tuple(float.hex(getattr(box, k)) for k in names)


@pytest.mark.parametrize("cls", [c for c in CLASSES if c not in UNBOUNDED], ids=lambda c: c.__name__)
@pytest.mark.parametrize("seed", range(30))
def test_bbox_is_the_sum_of_the_rows_boxes(cls, seed):
    # unsorted rectangle corners, boxes with min > max, NaN and signed zeros;
    # seed 0 has none (the one-pass path)
    a = cls(random_rows(cls, 25, seed=seed, special=seed > 0) if seed < 4 else random_rows(cls, 3, seed, "tiny"))
    boxes = [x if isinstance(x, (z.Bbox2, z.Bbox3)) else x.bbox() for x in a]
    want = functools.reduce((lambda x, y: x + y) if isinstance(boxes[0], z.Bbox2) else _sum3, boxes)
    assert _bounds(a.bbox()) == _bounds(want) == _bounds(zl.bbox(a))
    empty = cls(np.zeros((0, *cls.item_shape))).bbox()
    assert _bounds(empty) == _bounds(type(empty)())


@pytest.mark.parametrize("cls", sorted(UNBOUNDED, key=lambda c: c.__name__), ids=lambda c: c.__name__)
def test_unbounded_rows_have_no_bbox(cls):
    with pytest.raises(TypeError, match="unbounded"):
        zl.bbox(cls(np.zeros((1, *cls.item_shape))))


@pytest.mark.parametrize("cls", CLASSES, ids=lambda c: c.__name__)
def test_svg_picture_skips_rows_it_cannot_draw(cls):
    rows = random_rows(cls, 30, seed=5)
    rows[0] = 1.0  # at least one drawable row in most classes
    parse_svg(cls(rows)._repr_svg_())


def test_svg_picture_is_capped():
    big = zl.Segments2(np.random.default_rng(0).normal(size=(zl.objects.SVG_ROWS + 5, 2, 2)))
    svg = big._repr_svg_()
    assert f"the first {zl.objects.SVG_ROWS} drawn" in svg
