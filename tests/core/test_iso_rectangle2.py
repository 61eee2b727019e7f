import math

import pytest

import zenolith_core as z
from helpers import same_float

R, P, T = z.IsoRectangle2, z.Point2, z.AffTransformation2
NAN = math.nan


def stored(r):
    return (r.xmin(), r.ymin(), r.xmax(), r.ymax())


def test_sorting_constructors():
    r = R(P(2, 0), P(0, 1))
    assert stored(r) == (0.0, 0.0, 2.0, 1.0)
    assert r == R(0, 0, 2, 1) == R(2.0, 1.0, 0.0, 0.0)
    assert r == R(z.Bbox2(2, 1, 0, 0)) == R(bbox=z.Bbox2(0, 0, 2, 1))
    assert R(min_x=2, min_y=1, max_x=0, max_y=0) == r
    n = R(P(NAN, 0), P(1, 1))  # NaN < 1 fails: the smaller is taken from q
    assert n.xmin() == 1.0 and math.isnan(n.xmax())


def test_four_point_constructor_keeps_order():
    r = R(P(0, 9), P(4, 9), P(9, 1), P(9, 3))
    assert stored(r) == (0.0, 1.0, 4.0, 3.0)
    inv = R(P(4, 0), P(0, 0), P(0, 0), P(0, 1))
    assert stored(inv) == (4.0, 0.0, 0.0, 1.0)
    assert inv.area() == -4.0
    b = inv.bbox()
    assert (b.xmin, b.ymin, b.xmax, b.ymax) == (0.0, 0.0, 4.0, 1.0)
    assert inv.bounded_side(P(2, 0.5)) == -1


def test_accessors_and_iteration():
    r = R(P(0, 0), P(2, 1))
    assert list(r) == [P(0, 0), P(2, 0), P(2, 1), P(0, 1)]
    assert r.min() == P(0, 0) and r.max() == P(2, 1)
    assert r.area() == 2.0 and not r.is_degenerate()
    d = R(P(1, 1), P(1, 5))
    assert d.is_degenerate() and d.area() == 0.0
    assert repr(r) == "IsoRectangle2(xmin=0.000000, ymin=0.000000, xmax=2.000000, ymax=1.000000)"


@pytest.mark.parametrize("p, side", [
    ((1, 0.5), 1), ((1, 0), 0), ((0, 0.5), 0), ((2, 1), 0), ((0, 0), 0), ((3, 0.5), -1),
    ((1, 1.5), -1), ((2, 2), -1), ((NAN, 0.5), -1), ((0, NAN), -1),
])
def test_bounded_side(p, side):
    r = R(P(0, 0), P(2, 1))
    q = P(*p)
    assert r.bounded_side(q) == side
    assert r.has_on_boundary(q) is (side == 0)
    assert r.has_on_bounded_side(q) is (side == 1)
    assert r.has_on_unbounded_side(q) is (side == -1)


def test_transform_maps_the_two_corners():
    r = R(P(0, 0), P(2, 1))
    q = r.transform(T(1.0, 0.0))
    assert stored(q) == (-1.0, 0.0, 0.0, 2.0)
    s = r.transform(T(-1.0))
    assert stored(s)[:2] == (-2.0, -1.0) and same_float(s.xmax(), -0.0) and same_float(s.ymax(), -0.0)
    assert repr(s) == "IsoRectangle2(xmin=-2.000000, ymin=-1.000000, xmax=-0.000000, ymax=-0.000000)"


def test_equality():
    assert R(P(0, 0), P(1, 1)) != R(P(0, 0), P(1, 2))
    with pytest.raises(TypeError):
        R(P(0, 0), P(1, 1)) == z.Bbox2(0, 0, 1, 1)
    with pytest.raises(TypeError):
        hash(R(P(0, 0), P(1, 1)))
