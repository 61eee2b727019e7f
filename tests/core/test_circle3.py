import math
from fractions import Fraction

import pytest

import zenolith_core as z

C, P, V, H, S = z.Circle3, z.Point3, z.Vector3, z.Plane3, z.Sphere3
NAN, INF = math.nan, math.inf
O = P(0, 0, 0)


def state(c):
    m, h = c.center(), c.supporting_plane()
    return ((m.x, m.y, m.z), c.squared_radius(), (h.a, h.b, h.c, h.d))


def test_stored_parts_constructors():
    assert state(C(O, 4.0, H(0, 0, 1, 0))) == ((0, 0, 0), 4.0, (0, 0, 1, 0))
    assert state(C(O, 4, H(0, 0, 3, 1))) == ((0, 0, 0), 4.0, (0, 0, 3, 1))  # stored, not normalised
    assert state(C(P(1, 2, 3), 2.0, V(0, 0, 2))) == ((1, 2, 3), 2.0, (0, 0, 2, -6))
    assert state(C(center=P(1, 2, 3), sq_r=2, n=V(1, 0, 0))) == ((1, 2, 3), 2.0, (1, 0, 0, -1))
    assert state(C(O, 1.0, V(0, 0, 0)))[2] == (0, 0, 0, 0)
    assert state(C(O, -1.0, H(0, 0, 0, 5)))[1:] == (-1.0, (0, 0, 0, 5))  # no check at all
    for bad in ((O, 4.0, None), (O, "4", H(0, 0, 1, 0)), (H(0, 0, 1, 0), H(0, 0, 1, 0)), (O, O)):
        with pytest.raises(TypeError):
            C(*bad)


def test_three_points():
    c = C(O, P(2, 0, 0), P(0, 2, 0))
    assert state(c) == ((1, 1, 0), 2.0, (0, 0, 4, 0))
    assert c == C(P(1, 1, 0), 2.0, H(0, 0, 1, 0)) == C(P(0, 2, 0), P(2, 0, 0), O)  # plane up to sign
    t = C(P(1, 0, 0), P(0, 1, 0), P(0, 0, 1))
    assert all(math.isclose(v, 1 / 3) for v in state(t)[0]) and math.isclose(t.squared_radius(), 2 / 3)
    collinear = [(O, P(1, 1, 1), P(2, 2, 2)), (O, O, O), (O, O, P(1, 2, 3)), (P(1, 0, 0), O, P(-1, 0, 0))]
    for pts in collinear:
        with pytest.raises(ValueError, match="^the points are collinear$"):
            C(*pts)


@pytest.mark.parametrize("s1, s2, expected", [
    ((O, 1.0), (P(1, 0, 0), 1.0), ((0.5, 0, 0), 0.75, (2, 0, 0, -1))),
    ((O, 2.0), (P(0, 2, 0), 2.0), ((0, 1, 0), 1.0, (0, 4, 0, -4))),
    ((O, 1.0), (P(2, 0, 0), 1.0), ((1, 0, 0), 0.0, (1, 0, 0, -1))),  # touching from outside
    ((O, 4.0), (P(1, 0, 0), 1.0), ((2, 0, 0), 0.0, (1, 0, 0, -2))),  # touching from inside
    ((P(3, 4, 5), 0.0), (P(3, 4, 5), 0.0), ((3, 4, 5), 0.0, (1, 0, 0, -3))),
])
def test_two_spheres(s1, s2, expected):
    c = C(S(*s1, -1), S(*s2, -1))
    assert state(c) == expected
    assert c.diametral_sphere().orientation() == 1
    assert state(C(s1=S(*s1), s2=S(*s2))) == expected


@pytest.mark.parametrize("s1, s2, message", [
    ((O, 1.0), (P(3, 0, 0), 1.0), "the spheres do not intersect"),
    ((O, 100.0), (P(1, 0, 0), 1.0), "the spheres do not intersect"),  # one inside the other
    ((O, 1.0), (O, 2.0), "the spheres do not intersect"),
    ((O, NAN), (P(1, 0, 0), 1.0), "the spheres do not intersect"),
    ((O, NAN), (O, NAN), "the spheres do not intersect"),
    ((O, 1.0), (O, 1.0), "the spheres coincide"),
])
def test_two_spheres_without_a_circle(s1, s2, message):
    with pytest.raises(ValueError, match=f"^{message}$"):
        C(S(*s1), S(*s2))


@pytest.mark.parametrize("sphere, plane, expected", [
    ((P(0, 0, 1), 2.0), (0, 0, 1, 0), ((0, 0, 0), 1.0, (0, 0, 1, 0))),
    ((P(0, 0, 1), 2.0), (0, 0, -2, 0), ((0, 0, 0), 1.0, (0, 0, -2, 0))),
    ((P(0, 0, 1), 1.0), (0, 0, 1, 0), ((0, 0, 0), 0.0, (1, 0, 0, 0))),  # tangent plane
    ((P(2, 0, 1), 1.0), (0, 0, 1, 0), ((2, 0, 0), 0.0, (1, 0, 0, -2))),
])
def test_sphere_and_plane(sphere, plane, expected):
    s, h = S(*sphere, -1), H(*plane)
    for c in (C(s, h), C(h, s), C(s=s, plane=h), C(plane=h, s=s)):
        assert state(c) == expected and c.diametral_sphere().orientation() == 1


@pytest.mark.parametrize("sphere, plane", [
    ((P(0, 0, 5), 1.0), (0, 0, 1, 0)), ((O, NAN), (0, 0, 1, 0)),
    ((O, 1.0), (0, 0, 0, 0)), ((O, 1.0), (0, 0, 0, 1)), ((O, 1.0), (0, 0, 1, NAN)),
])
def test_plane_missing_the_sphere(sphere, plane):
    s, h = S(*sphere), H(*plane)
    for args in ((s, h), (h, s)):
        with pytest.raises(ValueError, match="^the plane does not intersect the sphere$"):
            C(*args)


def test_measures_and_repr():
    c = C(O, 1.0, H(0, 0, 1, 0))
    assert (c.area_divided_by_pi(), c.approximate_area(), c.squared_length_divided_by_pi_square(),
            c.approximate_squared_length()) == (1.0, 3.141592653589793, 4.0, 39.47841760435743)
    d = C(O, 0.1, H(0, 0, 1, 0))
    assert d.approximate_area() == 0.1 * 3.141592653589793
    assert d.approximate_squared_length() == 0.1 * 39.47841760435743
    assert repr(C(O, 4.0, H(0, 0, 1, 0))) == \
        "Circle3(center=(0.000000, 0.000000, 0.000000), squared_radius=4.000000)"


@pytest.mark.parametrize("plane, p, on", [
    ((0, 0, 1, 0), (2, 0, 0), True), ((0, 0, 1, 0), (0, -2, 0), True),
    ((0, 0, 1, 0), (0, 0, 2), False), ((0, 0, 1, 0), (1, 0, 0), False),
    ((0, 0, 1, 0), (2, 2**-24, 0), False),  # no tolerance on the radius
    ((1, 1, 0, 0), (2**0.5, -(2**0.5), 0), False), ((1, 1, 0, 0), (0, 0, 2), True),
    ((NAN, 0, 0, 0), (2, 0, 0), True),  # a NaN plane value is not off the plane
])
def test_has_on(plane, p, on):
    assert C(O, 4.0, H(*plane)).has_on(P(*p)) is on


@pytest.mark.parametrize("m, r2, plane", [
    ((0.1, 0.2, 0.3), 0.7, (1, 2, 3, 0)), ((1e3, -2, 1 / 3), 1 / 7, (0.1, -0.7, 0.3, 5)),
    ((0.3, -0.3, 7), 0.1, (0, 0, 1, 0)), ((1, 1, 1), 2.0, (1, 1, 0, 0)),
])
def test_bbox_contains_the_exact_circle(m, r2, plane):
    b = C(P(*m), r2, H(*plane)).bbox()
    a2 = [Fraction(v) ** 2 for v in plane[:3]]
    n = sum(a2)
    for k, (lo, hi) in enumerate(((b.xmin, b.xmax), (b.ymin, b.ymax), (b.zmin, b.zmax))):
        h2 = Fraction(r2) * (n - a2[k]) / n  # squared half-extent along this axis
        c, lo, hi = Fraction(m[k]), Fraction(lo), Fraction(hi)
        assert lo <= c <= hi and (c - lo) ** 2 >= h2 and (hi - c) ** 2 >= h2
        h = math.sqrt(float(h2))
        assert float(hi - lo) <= 2 * h * (1 + 1e-14) + 4 * math.ulp(abs(m[k]) + h)


def test_bbox_exact_cases_and_rounding_mode():
    b = C(O, 4.0, H(0, 0, 1, 0)).bbox()
    assert (b.xmin, b.ymin, b.zmin, b.xmax, b.ymax, b.zmax) == (-2, -2, 0, 2, 2, 0)
    p = C(P(1, 2, 3), 0.0, H(0, 0, 0, 0)).bbox()  # zero radius: the center, plane unused
    assert (p.xmin, p.ymin, p.zmin, p.xmax, p.ymax, p.zmax) == (1, 2, 3, 1, 2, 3)
    for i in range(2000):
        C(P(0.1 * i, -0.3, 1 / 3), 0.1 + i, H(1, 0.3, -2, 0)).bbox()
    assert 0.1 + 0.2 == 0.30000000000000004 and 1.0 / 3.0 == 0.3333333333333333
    assert -1.0 / 3.0 == -0.3333333333333333 and 1e16 + 1.0 == 1e16


def test_equality():
    c = C(O, 4.0, H(0, 0, 1, 0))
    assert c == C(O, 4.0, H(0, 0, -2, 0)) and c == C(O, 4.0, V(0, 0, -5))
    for other in (H(0, 1, 0, 0), H(1, 0, 1, 0), H(0, 0, 1, 1)):
        assert c != C(O, 4.0, other)
    assert c != C(O, 4.5, H(0, 0, 1, 0)) and c != C(P(0, 0, 1), 4.0, H(0, 0, 1, -1))
    t = C(O, 2.0, H(2, 2, 0, -2))
    assert t == C(O, 2.0, H(-1, -1, 0, 1))
    assert t != C(O, 2.0, H(1, 2, 0, -1)) and t != C(O, 2.0, H(1, 1, 0, 1))
    n = C(P(NAN, 0, 0), 1.0, H(0, 0, 1, 0))
    assert n == n and n != C(P(NAN, 0, 0), 1.0, H(0, 0, 1, 0))  # only the same object
    with pytest.raises(TypeError):
        c == S(O, 4.0)
    with pytest.raises(TypeError):
        hash(c)


def test_plane_has_on_circle_ignores_orientation_and_scale():
    c = C(P(1, 1, 1), 2.0, H(1, 2, 3, -6))
    h = c.supporting_plane()
    assert h.has_on_circle(c) and h.opposite().has_on_circle(c) and H(-2, -4, -6, 12).has_on_circle(c=c)
    assert not H(1, 2, 3, 0).has_on_circle(c) and not H(0, 2, 3, -5).has_on_circle(c)
    t = C(P(1, 0, 0), P(0, 1, 0), P(0, 0, 1))
    assert t.supporting_plane().has_on_circle(t) and t.supporting_plane().opposite().has_on_circle(t)
    d = C(P(1, 2, 3), 0.0, H(1, 0, 0, -1))  # zero radius: only the center counts
    assert H(0, 0, 1, -3).has_on_circle(d) and not H(0, 0, 1, 0).has_on_circle(d)
