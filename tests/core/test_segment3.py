import math

import pytest

import zenolith_core as z
from helpers import same_float

S, P, V = z.Segment3, z.Point3, z.Vector3
NAN = math.nan


def test_ends_index_rule_and_iteration():
    s = S(p=P(0, 0, 0), q=P(1, 2, 3))
    src, tgt = P(0, 0, 0), P(1, 2, 3)
    assert s.source() == src and s.target() == tgt
    a, b = s
    assert (a, b) == (src, tgt) and list(s) == [src, tgt]


@pytest.mark.parametrize("p, q, lo", [
    ((1, 0, 0), (0, 5, 5), (0, 5, 5)),  # x decides
    ((0, 1, 9), (0, 2, 0), (0, 1, 9)),  # y decides
    ((0, 0, 2), (0, 0, 1), (0, 0, 1)),  # z decides
    ((NAN, 3, 0), (1, 4, 0), (NAN, 3, 0)),  # x undecided: y decides
])
def test_min_max(p, q, lo):
    s = S(P(*p), P(*q))
    hi = q if lo == p else p
    assert repr(s.min()) == repr(P(*lo)) and repr(s.max()) == repr(P(*hi))


def test_full_tie_min_is_target_max_is_source():
    s = S(P(0.0, 1, 1), P(-0.0, 1, 1))  # no coordinate decides; the zeros tell the ends apart
    assert same_float(s.min().x, -0.0) and same_float(s.max().x, 0.0)


def test_lengths_vectors_and_lines():
    s = S(P(0, 0, 0), P(1, 2, 3))
    assert s.squared_length() == 14.0
    assert s.to_vector() == V(1, 2, 3)
    assert s.direction() == z.Direction3(2, 4, 6)
    l = S(P(1, 1, 1), P(2, 3, 5)).supporting_line()
    assert l.point(0.0) == P(1, 1, 1) and l.to_vector() == V(1, 2, 4)
    assert s.opposite() == S(P(1, 2, 3), P(0, 0, 0))
    assert s.opposite() != s and s.opposite().opposite() == s


def test_degenerate_segment():
    s = S(P(1, 1, 1), P(1, 1, 1))
    assert s.is_degenerate() and s.squared_length() == 0.0 and s.to_vector() == V(0, 0, 0)
    assert not S(P(1, 1, 1), P(1, 1, -1)).is_degenerate()
    assert s.has_on(P(1, 1, 1))
    assert not s.has_on(P(2, 2, 2)) and not s.has_on(P(0, 0, 0))


@pytest.mark.parametrize("p, on", [
    ((0, 0, 0), True), ((2, 4, 6), True), ((1, 2, 3), True), ((0.5, 1, 1.5), True),
    ((3, 6, 9), False), ((-1, -2, -3), False),  # collinear, beyond either end
    ((1, 2, 4), False), ((1, 3, 3), False), ((2, 2, 3), False),  # off the line, each plane
    ((1, 2, 3 + 2**-50), False),  # off by a hair: no tolerance
])
def test_has_on(p, on):
    assert S(P(0, 0, 0), P(2, 4, 6)).has_on(P(*p)) is on
    assert S(P(2, 4, 6), P(0, 0, 0)).has_on(P(*p)) is on


def test_has_on_when_x_is_constant():
    # x ties: the yz determinant alone sees the offset, and y or z decides the order
    s = S(P(0, 0, 0), P(0, 2, 2))
    assert s.has_on(P(0, 1, 1)) and not s.has_on(P(0, 1, 2))
    assert not s.has_on(P(0, 3, 3)) and not s.has_on(P(0, -1, -1))
    t = S(P(0, 0, 0), P(0, 0, 2))
    assert t.has_on(P(0, 0, 1)) and not t.has_on(P(0, 0, 3)) and not t.has_on(P(0, 0, -1))


def test_bbox():
    b = S(P(1, 0, 7), P(0, 5, 5)).bbox()
    assert (b.xmin, b.ymin, b.zmin, b.xmax, b.ymax, b.zmax) == (0, 0, 5, 1, 5, 7)


def test_equality_and_repr():
    p, q = P(0, 0, 0), P(1, 2, 3)
    assert S(p, q) == S(P(0, 0, 0), P(1, 2, 3)) and S(p, q) != S(q, p)
    assert S(P(0, 0, -0.0), q) == S(p, q)
    n = S(P(NAN, 0, 0), q)
    assert n == n and not n != n  # the same object is equal to itself
    assert n != S(P(NAN, 0, 0), q)
    assert repr(S(p, q)) == "Segment3((0.000000, 0.000000, 0.000000), (1.000000, 2.000000, 3.000000))"
    assert repr(S(P(-0.0, 1e-7, 1e20), q)).startswith(
        "Segment3((-0.000000, 0.000000, 100000000000000000000.000000), ")
    for other in (z.Ray3(p, q), None, 1):
        with pytest.raises(TypeError):
            S(p, q) == other
    with pytest.raises(TypeError):
        hash(S(p, q))
