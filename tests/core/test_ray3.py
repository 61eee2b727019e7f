import math

import pytest

import zenolith_core as z

R, P, V, D, L = z.Ray3, z.Point3, z.Vector3, z.Direction3, z.Line3
NAN = math.nan


def test_constructors_set_the_second_point():
    text = "Ray3(source=(1.000000, 1.000000, 1.000000), direction=(2.000000, 0.000000, 0.000000))"
    o = P(1, 1, 1)
    assert repr(R(o, P(3, 1, 1))) == text
    assert repr(R(o, D(2, 0, 0))) == text  # not normalised
    assert repr(R(o, V(2, 0, 0))) == text
    assert repr(R(o, L(P(5, 5, 5), V(2, 0, 0)))) == text
    for kw in ({"q": P(3, 1, 1)}, {"d": D(2, 0, 0)}, {"v": V(2, 0, 0)}, {"l": L(o, V(2, 0, 0))}):
        assert R(p=o, **kw).point(1.0) == P(3, 1, 1)
    for bad in ((o, 1.0), (o, None), (o, z.Segment3(o, o)), (o,)):
        with pytest.raises(TypeError):
            R(*bad)


def test_point_parameter():
    r = R(P(1, 1, 1), P(3, 1, 1))
    assert r.point(0.0) == P(1, 1, 1) and r.point(1.0) == P(3, 1, 1)
    assert r.point(0.5) == P(2, 1, 1) and r.point(-1.0) == P(-1, 1, 1)
    assert r.point(1) == P(3, 1, 1) and r.point(i=2) == P(5, 1, 1)
    s, q = (0.2, 1 / 3, 0.7), (0.9, 0.9, 0.1)
    t = R(P(*s), P(*q))
    assert t.point(1.0) == P(*q)  # the stored point, though s + (q - s) rounds elsewhere
    assert t.point(2.0) == P(*(a + (b - a) * 2.0 for a, b in zip(s, q)))
    inf = R(P(1, 0, 0), P(math.inf, 0, 0))
    assert inf.point(0.0) == P(1, 0, 0)  # the source itself, not 1 + inf * 0
    with pytest.raises(TypeError):
        r.point("1")


def test_derived_objects():
    r = R(P(1, 2, 3), P(2, 4, 7))
    assert r.source() == P(1, 2, 3) and r.to_vector() == V(1, 2, 4)
    assert r.direction() == D(1, 2, 4)
    l = r.supporting_line()
    assert l.point(0.0) == P(1, 2, 3) and l.to_vector() == V(1, 2, 4)
    o = r.opposite()
    assert o.source() == P(1, 2, 3) and o.point(1.0) == P(0, 0, -1)
    assert o != r and o.opposite() == r


@pytest.mark.parametrize("p, on", [
    ((0, 0, 0), True), ((1, 2, 3), True), ((0.5, 1, 1.5), True), ((10, 20, 30), True),
    ((-1, -2, -3), False), ((1, 2, 4), False), ((2, 2, 3), False), ((1, 2, 3 + 2**-50), False),
])
def test_has_on(p, on):
    assert R(P(0, 0, 0), P(1, 2, 3)).has_on(P(*p)) is on


def test_has_on_axis_ray_and_degenerate_ray():
    r = R(P(1, 1, 1), P(3, 1, 1))
    assert r.has_on(P(10, 1, 1)) and r.has_on(P(1, 1, 1)) and not r.has_on(P(0, 1, 1))
    d = R(P(1, 1, 1), V(0, 0, 0))
    assert d.is_degenerate() and not r.is_degenerate()
    assert d.has_on(P(1, 1, 1)) and not d.has_on(P(2, 1, 1)) and not d.has_on(P(0, 1, 1))


def test_equality_compares_source_and_direction():
    o = P(0, 0, 0)
    r = R(o, V(1, 0, 0))
    assert r == R(o, P(5, 0, 0)) and not r != R(o, P(5, 0, 0))
    assert r != R(P(0, 0, 1), P(5, 0, 1))
    assert r != R(o, P(-1, 0, 0)) and r.opposite() == R(o, P(-1, 0, 0))
    assert R(o, P(1, 1, 0)) == R(o, D(2, 2, 0)) and R(o, P(1, 1, 0)) != R(o, P(2, 2, 1))
    n = R(P(NAN, 0, 0), P(1, 0, 0))
    assert n == n  # the same object
    assert n != R(P(NAN, 0, 0), P(1, 0, 0))
    with pytest.raises(TypeError):
        r == z.Segment3(o, P(1, 0, 0))
    with pytest.raises(TypeError):
        hash(r)
