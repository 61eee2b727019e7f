import math

import pytest

import zenolith_core as z
from helpers import same_float

Q, P, B = z.IsoCuboid3, z.Point3, z.Bbox3
NAN = math.nan


def stored(q):
    return (q.xmin(), q.ymin(), q.zmin(), q.xmax(), q.ymax(), q.zmax())


def test_ordering_constructors():
    q = Q(P(1, 5, 0), P(0, 2, 3))
    assert stored(q) == (0, 2, 0, 1, 5, 3)
    assert q.min() == P(0, 2, 0) and q.max() == P(1, 5, 3) and q.volume() == 9.0
    assert q == Q(1, 5, 0, 0, 2, 3) == Q(1.0, 5.0, 0.0, 0.0, 2.0, 3.0)  # ints: conversion pass
    assert q == Q(B(1, 5, 0, 0, 2, 3)) == Q(bbox=B(0, 2, 0, 1, 5, 3))
    assert q == Q(min_x=1, min_y=5, min_z=0, max_x=0, max_y=2, max_z=3)
    n = Q(P(NAN, 0, 0), P(1, 1, 1))  # NaN < 1 fails: the min comes from the second point
    assert n.xmin() == 1.0 and math.isnan(n.xmax())
    t = Q(P(0.0, 0, 0), P(-0.0, 1, 1))  # a tie also takes the min from the second point
    assert same_float(t.xmin(), -0.0) and same_float(t.xmax(), 0.0)
    with pytest.raises(TypeError):
        Q(P(0, 0, 0), 1.0)


def test_six_point_constructor_keeps_order():
    a, b = P(0, 9, 9), P(4, 9, 9)
    q = Q(a, b, P(9, 1, 9), P(9, 3, 9), P(9, 9, 2), P(9, 9, 7))
    assert stored(q) == (0, 1, 2, 4, 3, 7)
    inv = Q(b, a, P(9, 1, 9), P(9, 3, 9), P(9, 9, 2), P(9, 9, 7))
    assert stored(inv) == (4, 1, 2, 0, 3, 7) and inv.volume() == -40.0
    bb = inv.bbox()
    assert (bb.xmin, bb.ymin, bb.zmin, bb.xmax, bb.ymax, bb.zmax) == (0, 1, 2, 4, 3, 7)
    assert all(inv.bounded_side(P(*p)) == -1 for p in [(2, 2, 4), (0, 1, 2), (4, 3, 7)])


CORNERS = [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0), (0, 1, 1), (0, 0, 1), (1, 0, 1), (1, 1, 1)]


def test_iteration_coordinates_and_repr():
    q = Q(P(0, 0, 0), P(1, 1, 1))
    assert list(q) == [P(*c) for c in CORNERS]
    assert repr(Q(P(1, 5, 0), P(0, 2, 3))) == ("IsoCuboid3(xmin=0.000000, ymin=2.000000, zmin=0.000000, "
                                              "xmax=1.000000, ymax=5.000000, zmax=3.000000)")


@pytest.mark.parametrize("p, side", [
    ((0.5, 0.5, 0.5), 1), ((1, 0.5, 0.5), 0), ((0.5, 0, 0.5), 0), ((0.5, 0.5, 1), 0), ((1, 1, 1), 0),
    ((2, 0.5, 0.5), -1), ((0.5, -1, 0.5), -1), ((0.5, 0.5, 1 + 2**-52), -1), ((-1e-300, 0.5, 0.5), -1),
    ((NAN, 0.5, 0.5), 0),  # no comparison with NaN holds, so it is not outside either
])
def test_bounded_side(p, side):
    q, x = Q(P(0, 0, 0), P(1, 1, 1)), P(*p)
    assert q.bounded_side(x) == side
    assert q.has_on_boundary(x) is (side == 0)
    assert q.has_on_bounded_side(x) is (side == 1)
    assert q.has_on_unbounded_side(x) is (side == -1)


@pytest.mark.parametrize("hi, degenerate, volume", [
    ((2, 3, 4), False, 24.0), ((2, 3, 0), True, 0.0), ((0, 3, 4), True, 0.0), ((2, 0, 4), True, 0.0),
])
def test_degenerate_and_volume(hi, degenerate, volume):
    q = Q(P(0, 0, 0), P(*hi))
    assert q.is_degenerate() is degenerate and q.volume() == volume


def test_equality():
    q = Q(P(0, 0, 0), P(1, 1, 1))
    assert q == Q(P(1, 1, 1), P(0, 0, 0)) and q != Q(P(0, 0, 0), P(1, 1, 2))
    n = Q(P(0, 0, 0), P(1, 1, NAN))
    assert n == n and n != Q(P(0, 0, 0), P(1, 1, NAN))  # only the same object
    with pytest.raises(TypeError):
        q == B(0, 0, 0, 1, 1, 1)
    with pytest.raises(TypeError):
        hash(q)
