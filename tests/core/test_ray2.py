import math

import pytest

import zenolith_core as z

R, P, V, D, L = z.Ray2, z.Point2, z.Vector2, z.Direction2, z.Line2
NAN = math.nan


def test_constructors():
    assert repr(R(P(1, 1), P(4, 5))) == "Ray2(source=(1.000000, 1.000000), direction=(3.000000, 4.000000))"
    assert repr(R(P(1, 1), D(3, 4))) == repr(R(P(1, 1), V(3, 4))) == repr(R(P(1, 1), P(4, 5)))
    r = R(P(1, 2), L(1, 1, 0))
    assert r.point(1) == P(2, 1)
    assert repr(r) == "Ray2(source=(1.000000, 2.000000), direction=(1.000000, -1.000000))"
    assert R(p=P(0, 0), q=P(1, 0)) == R(p=P(0, 0), v=V(1, 0))
    with pytest.raises(TypeError):
        R(P(0, 0), 1.0)


def test_point_parameter():
    r = R(P(0, 0), P(2, 4))
    assert r.point(0.5) == P(1, 2) and r.point(-1) == P(-2, -4) and r.point(0) == P(0, 0)
    s = R(P(0.1, 0.2), P(0.7, 0.3))
    assert s.point(1) == P(0.7, 0.3)  # the stored point itself, no rounding
    assert s.point(2) == P(0.1 + (0.7 - 0.1) * 2, 0.2 + (0.3 - 0.2) * 2)
    assert s.point(i=1) == P(0.7, 0.3)


def test_derived_objects():
    r = R(P(1, 1), P(4, 5))
    assert (r.to_vector().x, r.to_vector().y) == (3.0, 4.0)
    assert r.direction() == D(3, 4)
    assert repr(r.opposite()) == "Ray2(source=(1.000000, 1.000000), direction=(-3.000000, -4.000000))"
    assert r.source() == P(1, 1)
    l = r.supporting_line()
    assert l == L(P(1, 1), P(4, 5))


def test_degenerate_ray():
    r = R(P(1, 1), V(0, 0))
    assert r.is_degenerate() and r.is_horizontal() and r.is_vertical()
    assert r.has_on(P(1, 1)) and not r.has_on(P(2, 2))
    assert r.collinear_has_on(P(-5, 9))
    l = r.supporting_line()
    assert (l.a, l.b, l.c) == (0.0, 0.0, 0.0)
    assert r.direction() == D(0, 0)


def test_has_on():
    r = R(P(0, 0), P(1, 1))
    assert r.has_on(P(5, 5)) and r.has_on(P(0, 0)) and r.has_on(P(0.5, 0.5))
    assert not r.has_on(P(-1, -1)) and not r.has_on(P(1, 0))
    h = R(P(0, 0), P(-2, 0))
    assert h.has_on(P(-7, 0)) and not h.has_on(P(7, 0))


@pytest.mark.parametrize("src, second, p, expected", [
    ((0, 0), (1, 1), (-1, 7), False),
    ((0, 0), (1, 1), (3, -9), True),  # only x is examined
    ((0, 0), (-1, 1), (3, -9), False),
    ((0, 0), (-1, 1), (-3, 9), True),
    ((0, 0), (0, 1), (9, 2), True),  # vertical: y decides
    ((0, 0), (0, 1), (9, -2), False),
    ((0, 0), (0, -1), (9, -2), True),
    ((0, 0), (0, -1), (9, 2), False),
    ((0, 0), (NAN, 1), (9, -2), False),  # x undecided: y decides
    ((0, 0), (NAN, NAN), (9, -2), True),
])
def test_collinear_has_on(src, second, p, expected):
    assert R(P(*src), P(*second)).collinear_has_on(P(*p)) is expected


def test_equality_by_source_and_direction():
    a = R(P(0, 0), P(1, 1))
    assert a == R(P(0, 0), V(5, 5))
    assert a != R(P(0, 0), V(-1, -1))
    assert a != R(P(0, 1), V(1, 1))
    assert R(P(0, 0), V(0, 0)) == R(P(0, 0), V(-0.0, 0))
    with pytest.raises(TypeError):
        a == z.Segment2(P(0, 0), P(1, 1))
    with pytest.raises(TypeError):
        hash(a)
