import math

import pytest

import zenolith_core as z
from helpers import same_float

NAN = float("nan")

def test_constructors():
    assert (z.Point2().x, z.Point2().y) == (0.0, 0.0)
    assert same_float(z.Point2().x, 0.0)
    p = z.Point2(x=1.5, y=-2)
    assert (p.x, p.y) == (1.5, -2.0)
    assert z.Point2(y=4, x=3) == z.Point2(3.0, 4.0)
    assert type(z.Point2(3, 4).x) is float


def test_coordinate_accessors_and_index_rules():
    p = z.Point2(1.5, -2.5)
    assert (p.hx, p.hy, p.hw) == (1.5, -2.5, 1.0)
    assert p.cartesian(i=0) == 1.5
    assert p.dimension() == 2
    assert callable(p.dimension)


def test_iteration_stops_after_two_coordinates():
    p = z.Point2(3, -0.0)
    x, y = p
    assert (x, y) == (3.0, 0.0) and same_float(y, -0.0)
    assert list(p) == [3.0, -0.0] and tuple(p) == (3.0, -0.0)


def test_bbox_is_the_degenerate_box_of_the_point():
    b = z.Point2(1, 2).bbox()
    assert (b.xmin, b.ymin, b.xmax, b.ymax) == (1.0, 2.0, 1.0, 2.0)


def test_arithmetic():
    p, v = z.Point2(1, 2), z.Vector2(3, 4)
    d = p - p
    assert type(d) is z.Vector2 and (d.x, d.y) == (0.0, 0.0)
    assert p + v == z.Point2(4, 6)
    assert (p + v) - v == p
    w = z.Point2(4, 6) - p
    assert type(w) is z.Vector2 and (w.x, w.y) == (3.0, 4.0)
    q = z.Point2(0.1, 0.0) + z.Vector2(0.2, -0.0)
    assert q.x == 0.1 + 0.2 and same_float(q.y, 0.0)
    r = z.Point2(-0.0, -0.0) - z.Vector2(0.0, 0.0)
    assert same_float(r.x, -0.0) and same_float(r.y, -0.0)
    with pytest.raises(TypeError):
        v + p


def test_equality():
    assert z.Point2(0.0, 1) == z.Point2(-0.0, 1)
    assert not (z.Point2(0, 1) != z.Point2(-0.0, 1))
    assert z.Point2(1, 2) != z.Point2(1, 2.5)
    p = z.Point2(NAN, 1)
    assert not (p == p) and p != p


@pytest.mark.parametrize("a, b, lt", [
    ((1, 5), (2, 0), True),
    ((2, 0), (1, 5), False),
    ((1, 5), (1, 6), True),
    ((1, 6), (1, 5), False),
    ((1, 5), (1, 5), False),
    ((NAN, 1), (0, 2), True),  # x undecided: y decides
    ((0, 2), (NAN, 1), False),
    ((NAN, NAN), (NAN, NAN), False),
    ((1, NAN), (1, 2), False),
    ((-0.0, 1), (0.0, 2), True),
])
def test_lexicographic_order(a, b, lt):
    p, q = z.Point2(*a), z.Point2(*b)
    assert (p < q) is lt
    assert (q > p) is lt
    assert (p >= q) is (not lt)
    assert (q <= p) is (not lt)


def test_order_with_nan_is_applied_literally():
    p, q = z.Point2(NAN, NAN), z.Point2(NAN, NAN)
    assert p <= q and p >= q and not p == q
    s = z.Point2(1, 1)
    assert not s < s and not s > s and s <= s and s >= s


def test_repr():
    assert repr(z.Point2(1, 2.5)) == "Point2(1.000000, 2.500000)"
    assert repr(z.Point2(1, -0.0)) == "Point2(1.000000, -0.000000)"
    assert repr(z.Point2()) == "Point2(0.000000, 0.000000)"
    assert str(z.Point2(-1e-9, math.inf)) == "Point2(-0.000000, inf)"
