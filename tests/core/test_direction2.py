import itertools
import math

import pytest

import zenolith_core as z
from helpers import same_float

NAN = math.nan
D = z.Direction2


def test_constructors():
    assert repr(D(3, 4)) == "Direction2(3.000000, 4.000000)"  # ints: conversion pass
    assert repr(D(z.Vector2(-1, 0.5))) == "Direction2(-1.000000, 0.500000)"
    s = z.Segment2(z.Point2(1, 1), z.Point2(4, 5))
    assert repr(D(s)) == "Direction2(3.000000, 4.000000)"
    r = z.Ray2(z.Point2(1, 1), z.Point2(0, 3))
    assert (D(r).dx, D(r).dy) == (-1.0, 2.0)
    assert (D(2, 0).dx, D(2, 0).dy) == (2.0, 0.0)  # never normalised
    with pytest.raises(TypeError):
        D(z.Point2(1, 1))


def test_delta_and_vector():
    d = D(3, -4)
    v = d.vector()
    assert type(v) is z.Vector2 and (v.x, v.y) == (3.0, -4.0)
    o = -D(0, 0)
    assert same_float(o.dx, -0.0) and same_float(o.dy, -0.0)
    assert repr(D(1, -2).opposite()) == repr(-D(1, -2)) == "Direction2(-1.000000, 2.000000)"


# One direction per quadrant and on each axis, in increasing angle.
CIRCLE = [(1, 0), (1, 1), (0, 1), (-1, 1), (-1, 0), (-1, -1), (0, -1), (1, -1)]


def test_angular_order_runs_once_around():
    for (i, a), (j, b) in itertools.product(enumerate(CIRCLE), repeat=2):
        da, db = D(*a), D(*b)
        assert (da < db) is (i < j), (a, b)
        assert (da > db) is (i > j)
        assert (da <= db) is (i <= j)
        assert (da >= db) is (i >= j)
        assert (da == db) is (i == j)


@pytest.mark.parametrize("a, b, lt, eq", [
    ((1, 0), (5, 0), False, True),
    ((1, 1), (-1, -1), True, False),
    ((1, 0), (-1, 0), True, False),
    ((2, 1), (1, 2), True, False),  # same quadrant: cross products decide
    ((0, 0), (0, 0), False, True),  # zero directions equal each other
    ((0, 0), (1, 0), False, False),  # zero: quadrant 1, products 0: equal angle, not equal
    ((-0.0, 1), (0.0, 1), False, True),
    ((NAN, 1), (-1, 1), False, False),  # NaN dx counts as negative: quadrant 2
    ((1, NAN), (1, -1), False, False),  # NaN dy: quadrant 4
])
def test_order_and_equality_rules(a, b, lt, eq):
    da, db = D(*a), D(*b)
    assert (da < db) is lt
    assert (da == db) is eq and (da != db) is (not eq)


def test_identity_shortcut_with_nan():
    d = D(NAN, 1)
    assert d == d and not d != d
    assert d <= d and d >= d and not d < d
    # sign(NaN) counts as 0 and a NaN product is neither less nor greater
    assert D(NAN, 1) == D(NAN, 1) and D(NAN, 1) == D(0, 1)
    assert D(NAN, 1) != D(0, -1)


@pytest.mark.parametrize("d, d1, d2, expected", [
    ((0, 1), (1, 0), (-1, 0), True),
    ((0, 1), (-1, 0), (1, 0), False),
    ((0, -1), (-1, 0), (1, 0), True),  # turning ccw from west to east passes south
    ((0, 1), (1, 0), (1, 0), True),  # d1 = d2: everything but d1 itself
    ((1, 0), (1, 0), (1, 0), False),
    ((3, 0), (1, 0), (1, 0), False),
    ((1, -1), (1, 0), (2, 0), True),
    ((1, 0), (0, 1), (0, -1), False),  # d1 < d2 < ... d equal to start of turn
    ((-1, 0), (-1, 0), (0, -1), False),  # strictly after d1
    ((0, -1), (-1, 0), (0, -1), False),  # strictly before d2
])
def test_counterclockwise_in_between(d, d1, d2, expected):
    assert D(*d).counterclockwise_in_between(D(*d1), D(*d2)) is expected
    assert D(*d).counterclockwise_in_between(d1=D(*d1), d2=D(*d2)) is expected


def test_comparisons_and_hash():
    with pytest.raises(TypeError):
        D(1, 0) == z.Vector2(1, 0)
    with pytest.raises(TypeError):
        D(1, 0) < None
    with pytest.raises(TypeError):
        hash(D(1, 0))
