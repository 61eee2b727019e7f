import math
from fractions import Fraction

import pytest

import zenolith_core as z

S, P, C, H = z.Sphere3, z.Point3, z.Circle3, z.Plane3
NAN = math.nan
O = P(0, 0, 0)


def state(s):
    c = s.center()
    return (c.x, c.y, c.z, s.squared_radius(), s.orientation())


@pytest.mark.parametrize("args, kw, expected", [
    ((O, 2), {}, (0, 0, 0, 0.0, 1)),  # an int second argument is an orientation
    ((O, -2), {}, (0, 0, 0, 0.0, -1)),
    ((O, 2.0), {}, (0, 0, 0, 2.0, 1)),
    ((O, 4, -1), {}, (0, 0, 0, 4.0, -1)),  # no match without conversion: radius converted
    ((O, 2**31), {}, (0, 0, 0, 2147483648.0, 1)),  # too big for an orientation
    ((O,), {"squared_radius": 4}, (0, 0, 0, 4.0, 1)),
    ((P(1, 2, 3),), {}, (1, 2, 3, 0.0, 1)),
    ((O, P(2, 0, 0)), {}, (1, 0, 0, 1.0, 1)),  # diameter
    ((O, P(2, 0, 0), -1), {}, (1, 0, 0, 1.0, -1)),
    ((O, P(2, 0, 0), P(0, 2, 0)), {}, (1, 1, 0, 2.0, 1)),  # circumcircle in the plane
    ((O, P(2, 0, 0), P(0, 2, 0), -3), {}, (1, 1, 0, 2.0, -1)),
    ((O, P(1, 0, 0), P(0, 1, 0), P(0, 0, 1)), {}, (0.5, 0.5, 0.5, 0.75, 1)),
    ((O, P(0, 1, 0), P(1, 0, 0), P(0, 0, 1)), {}, (0.5, 0.5, 0.5, 0.75, -1)),
])
def test_constructor_choice(args, kw, expected):
    assert state(S(*args, **kw)) == expected


@pytest.mark.parametrize("args", [(O, 4.0, 1.0), (O, 4.0, 2**31), (O, "1"), (O, None), ()])
def test_constructor_refusals(args):
    with pytest.raises(TypeError):
        S(*args)


@pytest.mark.parametrize("given, stored", [
    (1, 1), (0, 1), (7, 1), (2**31 - 1, 1), (-1, -1), (-(2**31), -1)])
def test_orientation_code(given, stored):
    q, r = P(2, 0, 0), P(0, 2, 0)
    for s in (S(O, 4.0, given), S(O, given), S(O, q, given), S(O, q, r, given)):
        assert s.orientation() == stored


def test_degenerate_point_sets():
    flat = S(O, P(1, 0, 0), P(0, 1, 0), P(2, 3, 0))
    assert flat.orientation() == 0 and not all(math.isfinite(v) for v in state(flat)[:3])
    assert all(flat.oriented_side(P(*p)) == 0 for p in [(0, 0, 0), (9, 9, 9), (0.1, 0.1, 5)])
    line = S(O, P(1, 1, 1), P(2, 2, 2))
    assert not all(math.isfinite(v) for v in state(line)[:3])


@pytest.mark.parametrize("p, bounded", [
    ((1, 0, 0), 1), ((2, 0, 0), 0), ((0, 0, -2), 0), ((3, 0, 0), -1),
    ((2, 2**-24, 0), -1), ((2 - 2**-51, 0, 0), 1),  # one unit in the last place decides
])
def test_side_predicates(p, bounded):
    q = P(*p)
    for o in (1, -1):
        s = S(O, 4.0, o)
        assert s.bounded_side(q) == bounded and s.oriented_side(q) == o * bounded
        assert s.has_on_bounded_side(q) is (bounded == 1)
        assert s.has_on_unbounded_side(q) is (bounded == -1)
        assert s.has_on_boundary(q) is s.has_on(q) is (bounded == 0)
        assert s.has_on_positive_side(q) is (o * bounded == 1)
        assert s.has_on_negative_side(q) is (o * bounded == -1)


def test_nan_and_zero_radius():
    n = S(O, NAN)
    assert n.bounded_side(O) == 0 and n.oriented_side(O) == 0
    assert not n.has_on_bounded_side(O) and not n.has_on_unbounded_side(O)
    assert not n.has_on_positive_side(O) and not n.has_on_negative_side(O)
    d = S(P(1, 2, 3))
    assert d.is_degenerate() and d.has_on(P(1, 2, 3)) and not S(O, 1.0).is_degenerate()


def test_equality_opposite_and_repr():
    s = S(O, 4.0)
    assert s == S(O, 4.0, 0) == S(O, 4.0, 9) and s != S(O, 4.0, -1) and s != S(O, 4.5)
    assert s.opposite() != s and s.opposite().opposite() == s and s.opposite().orientation() == -1
    n = S(P(NAN, 0, 0), 1.0)
    assert n == n and n != S(P(NAN, 0, 0), 1.0)  # only the same object
    assert repr(S(P(1, 2, 3), 4.0)) == \
        "Sphere3(center=(1.000000, 2.000000, 3.000000), squared_radius=4.000000)"
    assert repr(S(O, 4.0, -1)) == repr(S(O, 4.0))  # orientation not shown
    with pytest.raises(TypeError):
        s == C(O, 4.0, H(0, 0, 1, 0))
    with pytest.raises(TypeError):
        hash(s)


@pytest.mark.parametrize("c, r2", [
    ((0.1, 0.7, -0.3), 0.1), ((1e10, -3.3, 0.5), 2.0), ((0.3, 0.3, 0.3), 1e-300),
    ((-7.25, 0.1, 1 / 3), 12345.678), ((1 / 3, 2 / 3, 1 / 7), 1 / 7),
])
def test_bbox_contains_the_exact_sphere(c, r2):
    b = S(P(*c), r2).bbox()
    r2q, s = Fraction(r2), math.sqrt(r2)
    for lo, hi, x in ((b.xmin, b.xmax, c[0]), (b.ymin, b.ymax, c[1]), (b.zmin, b.zmax, c[2])):
        lo, hi, xq = Fraction(lo), Fraction(hi), Fraction(x)
        assert lo <= xq <= hi and (xq - lo) ** 2 >= r2q and (hi - xq) ** 2 >= r2q
        assert float(hi - lo) <= 2 * s + 8 * math.ulp(abs(x) + s)  # outward by a few ulps only


def test_bbox_exact_radii_and_rounding_mode():
    b = S(P(1, 0, -1), 4.0).bbox()
    assert (b.xmin, b.ymin, b.zmin, b.xmax, b.ymax, b.zmax) == (-1, -2, -3, 3, 2, 1)
    p = S(P(1, 2, 3), 0.0).bbox()
    assert (p.xmin, p.ymin, p.zmin, p.xmax, p.ymax, p.zmax) == (1, 2, 3, 1, 2, 3)
    for i in range(2000):
        S(P(0.1 * i, -0.3, 1 / 3), 0.1 + i).bbox()
    assert 0.1 + 0.2 == 0.30000000000000004 and 1.0 / 3.0 == 0.3333333333333333
    assert -1.0 / 3.0 == -0.3333333333333333 and math.sqrt(2.0) == 1.4142135623730951
    assert 1e16 + 1.0 == 1e16  # ties to even, not upward


def test_circles_on_spheres():
    s = S(P(0, 0, 1), 2.0)
    c = C(s, H(0, 0, 1, 0))  # center (0, 0, 0), squared radius 1
    assert s.has_on_circle(c) and s.has_on_circle(c=c)
    assert not s.has_on_circle(C(O, 0.5, H(0, 0, 1, 0)))  # right plane, wrong radius
    assert not s.has_on_circle(C(O, 1.0, H(1, 0, 0, 0)))  # center not the projection
    assert S(P(0, 0, -1), 2.0).has_on_circle(c) and not S(P(0, 0, 1), 2.5).has_on_circle(c)
    f = S.from_circle(c)
    assert f == c.diametral_sphere() and state(f) == (0, 0, 0, 1.0, 1)
    m = C(S(O, 1.0, -1), S(P(1, 0, 0), 1.0, -1))
    assert S.from_circle(c=m).orientation() == 1
    with pytest.raises(TypeError):
        S.from_circle(s)
