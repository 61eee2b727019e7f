import math
from fractions import Fraction

import pytest

import zenolith_core as z

C, P, T, L = z.Circle2, z.Point2, z.AffTransformation2, z.Line2
NAN = math.nan


def test_int_second_argument_is_an_orientation():
    c = C(P(0, 0), 4)
    assert c.squared_radius() == 0.0 and c.orientation() == 1
    c = C(P(0, 0), -4)
    assert c.squared_radius() == 0.0 and c.orientation() == -1
    assert C(P(0, 0), 4, 1).squared_radius() == 4.0  # three args: conversion pass
    assert C(P(0, 0), 4.0).squared_radius() == 4.0
    assert C(P(0, 0), squared_radius=4).squared_radius() == 4.0
    assert C(P(1, 2)).squared_radius() == 0.0 and C(P(1, 2)).orientation() == 1
    with pytest.raises(TypeError):
        C(P(0, 0), 4.0, 1.0)
    with pytest.raises(TypeError):
        C(P(0, 0), 4.0, 2**31)


@pytest.mark.parametrize("given, stored", [(1, 1), (0, 1), (5, 1), (-1, -1), (-7, -1), (-(2**31), -1)])
def test_orientation_mapping(given, stored):
    assert C(P(0, 0), 4.0, given).orientation() == stored
    assert C(P(0, 0), P(2, 0), given).orientation() == stored
    assert C(P(0, 0), given).orientation() == stored


def test_side_predicates():
    c = C(P(0, 0), 4.0)
    assert c.orientation() == 1
    assert (c.bounded_side(P(1, 1)), c.oriented_side(P(1, 1)), c.has_on_positive_side(P(1, 1))) == (1, 1, True)
    assert c.bounded_side(P(2, 0)) == 0 and c.has_on_boundary(P(2, 0))
    assert c.bounded_side(P(3, 0)) == -1 and c.has_on_unbounded_side(P(3, 0))
    cw = C(P(0, 0), 4.0, -1)
    assert cw.oriented_side(P(1, 1)) == -1 and cw.has_on_negative_side(P(1, 1))
    assert cw.bounded_side(P(1, 1)) == 1 and cw.has_on_bounded_side(P(1, 1))
    assert cw.has_on_positive_side(P(3, 0))
    n = C(P(0, 0), NAN)
    assert n.bounded_side(P(0, 0)) == 0 and n.has_on_boundary(P(0, 0))
    assert not n.has_on_bounded_side(P(0, 0)) and not n.has_on_unbounded_side(P(0, 0))
    neg = C(P(0, 0), -1.0)
    assert neg.bounded_side(P(0, 0)) == -1


def test_constructions():
    d = C(P(0, 0), P(2, 0))
    assert d.center() == P(1, 0) and d.squared_radius() == 1.0
    s = C(P(3, 3), P(3, 3))
    assert s.center() == P(3, 3) and s.squared_radius() == 0.0 and s.is_degenerate()
    t = C(P(0, 0), P(2, 0), P(0, 2))
    assert t.center() == P(1, 1) and t.squared_radius() == 2.0 and t.orientation() == 1
    assert C(P(0, 0), P(0, 2), P(2, 0)).orientation() == -1
    assert repr(t) == "Circle2(center=(1.000000, 1.000000), squared_radius=2.000000)"


def test_collinear_points_give_orientation_zero():
    c = C(P(0, 0), P(1, 1), P(2, 2))
    assert c.orientation() == 0
    assert not math.isfinite(c.center().x) and not math.isfinite(c.squared_radius())
    for p in [(0, 0), (5, 1), (-3, 2)]:
        q = P(*p)
        assert c.oriented_side(q) == 0
        assert c.has_on_positive_side(q) == c.has_on_unbounded_side(q)
    assert c.opposite().orientation() == 0


def test_equality_and_opposite():
    c = C(P(0, 0), 4.0)
    assert c == C(P(0, 0), 4.0, 0) == C(P(0, 0), 4.0, 5)
    assert c != C(P(0, 0), 4.0, -7)
    assert c.opposite() != c and c.opposite().opposite() == c
    n = C(P(0, 0), NAN)
    assert n != n
    with pytest.raises(TypeError):
        c == P(0, 0)
    with pytest.raises(TypeError):
        hash(c)


def _contains_exactly(box, cx, cy, r2):
    """The box contains the exact circle: every bound is at least the exact
    radius away from the center."""
    r2 = Fraction(r2)
    for lo, hi, c in ((box.xmin, box.xmax, cx), (box.ymin, box.ymax, cy)):
        c = Fraction(c)
        if (c - Fraction(lo)) ** 2 < r2 or (Fraction(hi) - c) ** 2 < r2:
            return False
        if Fraction(lo) > c or Fraction(hi) < c:
            return False
    return True


@pytest.mark.parametrize("cx, cy, r2", [
    (1, 1, 4.0), (0.1, 0.7, 0.1), (1e10, -3.3, 2.0), (0.3, 0.3, 1e-300), (-7.25, 0.1, 12345.678),
    (1 / 3, 2 / 3, 1 / 7),
])
def test_bbox_contains_the_exact_circle(cx, cy, r2):
    b = C(P(cx, cy), r2).bbox()
    assert _contains_exactly(b, cx, cy, r2)
    s = math.sqrt(r2)
    assert b.xmin <= cx - s and b.xmax >= cx + s
    # outward rounding costs at most a few units in the last place
    assert b.xmax - b.xmin <= 2 * s + 8 * math.ulp(max(abs(cx) + s, 1e-300))


def test_bbox_special_radii():
    b = C(P(1, 1), 4.0).bbox()
    assert (b.xmin, b.ymin, b.xmax, b.ymax) == (-1.0, -1.0, 3.0, 3.0)
    z0 = C(P(2, 3), 0.0).bbox()
    assert (z0.xmin, z0.ymin, z0.xmax, z0.ymax) == (2.0, 3.0, 2.0, 3.0)
    for r2 in (-1.0, NAN):
        n = C(P(0, 0), r2).bbox()
        assert all(math.isnan(v) for v in (n.xmin, n.ymin, n.xmax, n.ymax))


def test_float_arithmetic_still_rounds_to_nearest_after_boxes():
    for i in range(2000):
        C(P(0.1 * i, -0.3), 0.1 + i).bbox()
    assert 0.1 + 0.2 == 0.30000000000000004
    assert 1.0 / 3.0 == 0.3333333333333333
    assert -1.0 / 3.0 == -0.3333333333333333
    assert 2.0 / 3.0 == 0.6666666666666666
    assert math.sqrt(2.0) == 1.4142135623730951
    assert 1e16 + 1.0 == 1e16  # ties to even, not upward


def test_orthogonal_transform():
    c = C(P(1, 0), 1.0)
    s = c.orthogonal_transform(T(2.0))
    assert s.center() == P(2, 0) and s.squared_radius() == 4.0 and s.orientation() == 1
    mirror = c.orthogonal_transform(T(1.0, 0.0, 0.0, -1.0))
    assert mirror.orientation() == -1
    r = c.orthogonal_transform(T(1.0, 0.0))  # quarter turn
    assert r.center() == P(0, 1) and r.squared_radius() == 1.0 and r.orientation() == 1


def test_orthogonal_transform_by_reflections():
    # a reflection is odd and keeps lengths: orientation flips, radius kept
    c = C(P(1, 1), 1.0)
    m0 = c.orthogonal_transform(T(L(0, 1, 0)))  # y = 0
    assert m0.center() == P(1, -1) and m0.squared_radius() == 1.0 and m0.orientation() == -1
    m1 = c.orthogonal_transform(T(L(0, 1, -1)))  # y = 1
    assert m1.center() == P(1, 1) and m1.squared_radius() == 1.0 and m1.orientation() == -1
    m2 = C(P(0, 0), 9.0, -1).orthogonal_transform(T(L(1, -1, 4)))
    assert m2.orientation() == 1 and math.isclose(m2.squared_radius(), 9.0)
