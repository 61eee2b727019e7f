import math

import pytest

import zenolith_core as z
from helpers import same_float

H, P, V, D, L = z.Plane3, z.Point3, z.Vector3, z.Direction3, z.Line3
INF, NAN = math.inf, math.nan


def coeffs(h):
    return (h.a, h.b, h.c, h.d)


def xyz(o):
    return (o.x, o.y, o.z)


def same(values, expected):
    return all(same_float(a, b) for a, b in zip(values, expected, strict=True))


@pytest.mark.parametrize("p, q, r, expected", [
    ((0, 0, 0), (1, 0, 0), (0, 1, 0), (0.0, 0.0, 1.0, -0.0)),  # normal (P - R) x (Q - R)
    ((0, 0, 0), (0, 1, 0), (1, 0, 0), (0.0, 0.0, -1.0, 0.0)),
    ((1, 0, 0), (0, 1, 0), (0, 0, 1), (1.0, 1.0, 1.0, -1.0)),
    ((0, 0, 0), (1, 1, 1), (2, 2, 2), (0.0, 0.0, 0.0, -0.0)),  # collinear: degenerate
])
def test_three_point_rule_and_its_variants(p, q, r, expected):
    p, q, r = P(*p), P(*q), P(*r)
    for h in (H(p, q, r), H(r=r, q=q, p=p), H(L(p, q), r), H(l=L(p, q - p), p=r),
              H.from_segment(z.Segment3(p, q), r), H.from_ray(ray := z.Ray3(p, q), r),
              H.from_segment(s=z.Segment3(p, q), p=r), H(0, 0, 0, 0).from_ray(r=ray, p=r)):
        assert same(coeffs(h), expected), (h, expected)


def test_coefficient_and_normal_constructors():
    assert same(coeffs(H(0, 0, 1, -0.0)), (0.0, 0.0, 1.0, -0.0))  # ints: conversion pass
    assert coeffs(H(P(1, 2, 3), V(0, 0, 2))) == (0.0, 0.0, 2.0, -6.0)
    assert coeffs(H(p=P(1, 2, 3), d=D(0, 0, 2))) == (0.0, 0.0, 2.0, -6.0)
    assert same(coeffs(H(P(0, 0, 0), V(0, 0, 1))), (0.0, 0.0, 1.0, -0.0))
    assert coeffs(H(P(1, 1, 1), V(1, 2, 3))) == (1.0, 2.0, 3.0, -6.0)
    for bad in [(), (1, 2, 3), (P(0, 0, 0), P(1, 0, 0)), (P(0, 0, 0), P(1, 0, 0), z.Point2(0, 1)),
                (None, 0, 0, 0)]:
        with pytest.raises(TypeError):
            H(*bad)


def test_derived_objects_of_plane_z_equals_one():
    h = H(0, 0, 1, -1)
    assert xyz(h.point()) == (0.0, 0.0, 1.0)
    assert xyz(h.base1()) == (1.0, 0.0, 0.0) and xyz(h.base2()) == (0.0, 1.0, 0.0)
    assert xyz(h.projection(P(3, 4, 5))) == (3.0, 4.0, 1.0)
    assert type(h.to_2d(P(3, 4, 1))) is z.Point2
    assert h.to_2d(P(3, 4, 1)) == z.Point2(3, 4) == h.to_2d(P(3, 4, 9))
    assert h.to_3d(z.Point2(3, 4)) == P(3, 4, 1)
    assert xyz(h.orthogonal_vector()) == (0.0, 0.0, 1.0)
    assert h.orthogonal_direction() == D(0, 0, 5)
    assert same(coeffs(H(0, 0, 1, 0).opposite()), (-0.0, -0.0, -1.0, -0.0))
    line = H(0, 0, 2, 0).perpendicular_line(P(1, 2, 3))
    assert line.point(0) == P(1, 2, 3) and xyz(line.to_vector()) == (0.0, 0.0, 2.0)
    assert xyz(H(1, 1, 1, -3).projection(P(0, 0, 0))) == (1.0, 1.0, 1.0)


def test_frame_round_trip_on_a_tilted_plane():
    h = H(1, 2, 3, -6)
    for p in (P(1, 1, 1), P(6, 0, 0), P(2, 0.5, 1)):
        back = h.to_3d(h.to_2d(p))
        assert all(math.isclose(a, b, abs_tol=1e-12) for a, b in zip(xyz(back), xyz(p)))


@pytest.mark.parametrize("plane, expected", [
    ((1, 1, 1, 0), (-0.0, 0.0, 0.0)),  # three-way tie: x axis, -d/a is -0.0
    ((0, 2, 0, -4), (0.0, 2.0, 0.0)),
    ((1, -3, 3, 6), (0.0, 2.0, 0.0)),  # |b| = |c|: y before z
    ((-2, 1, 2, 4), (2.0, 0.0, 0.0)),  # |a| = |c|: x before z
    ((0, 0, 4, -8), (0.0, 0.0, 2.0)),
    ((0, 0, 0, 5), (-INF, 0.0, 0.0)),  # degenerate: no error
])
def test_point_tie_rule(plane, expected):
    assert same(xyz(H(*plane).point()), expected)


@pytest.mark.parametrize("plane, base1", [
    ((0, 5, 7, 1), (1, 0, 0)),
    ((-0.0, 1, 1, 0), (1, 0, 0)),
    ((2, 0, 3, 1), (0, 1, 0)),
    ((2, 3, 0, 1), (0, 0, 1)),
    ((1, 1, 1, 0), (0, -1, 1)),  # |a| smallest (ties included)
    ((2, 1, 3, 0), (-3, 0, 2)),  # |b| smallest
    ((2, 3, 1, 0), (-3, 2, 0)),
    ((2, -3, -1, 0), (3, 2, 0)),
])
def test_base_vectors(plane, base1):
    h = H(*plane)
    a, b, c, _ = plane
    u, v, w = base1
    assert xyz(h.base1()) == base1
    assert xyz(h.base2()) == (b * w - c * v, c * u - a * w, a * v - b * u)


@pytest.mark.parametrize("point, side", [
    ((0, 0, 5), 1), ((0, 0, 1), 0), ((7, -3, 1), 0), ((0, 0, -2), -1), ((0, 0, INF), 1),
    ((NAN, 0, 1), 0), ((0, 0, NAN), 0),  # a NaN plane value counts as on the plane
])
def test_sides(point, side):
    h, p = H(0, 0, 1, -1), P(*point)
    assert h.oriented_side(p) == side and type(h.oriented_side(p=p)) is int
    assert h.has_on(p) is (side == 0)
    assert h.has_on_positive_side(p) is (side == 1)
    assert h.has_on_negative_side(p) is (side == -1)


def test_degenerate_plane():
    h = H(0, 0, 0, 5)
    assert h.is_degenerate() and not H(0, 0, 1e-300, 5).is_degenerate()
    assert all(math.isnan(c) for c in xyz(h.projection(P(1, 2, 3))))


@pytest.mark.parametrize("line, on", [
    (L(P(0, 0, 1), V(1, 0, 0)), True),
    (L(P(5, 5, 1), P(-1, 2, 1)), True),
    (L(P(0, 0, 1), V(0, 0, 1)), False),  # crosses the plane at its own point
    (L(P(0, 0, 2), V(1, 0, 0)), False),
    (L(P(0, 0, 1), V(0, 0, 0)), True),
])
def test_has_on_line(line, on):
    assert H(0, 0, 1, -1).has_on_line(line) is on


@pytest.mark.skipif(not hasattr(z, "Circle3"), reason="needs Circle3")
def test_has_on_circle_ignores_orientation():
    support = H(0, 0, 1, -1)
    c = z.Circle3(P(0, 0, 1), 4.0, support)
    assert support.has_on_circle(c) and support.opposite().has_on_circle(c)
    assert H(0, 0, 3, -3).has_on_circle(c)
    assert not H(0, 0, 1, -2).has_on_circle(c) and not H(1, 0, 0, 0).has_on_circle(c)
    dot = z.Circle3(P(0, 0, 1), 0.0, support)  # a point circle lies in any plane through it
    assert H(1, 0, 0, 0).has_on_circle(dot) and not H(1, 0, 0, -1).has_on_circle(dot)


@pytest.mark.parametrize("a, b, eq", [
    ((0, 0, 2, -2), (0, 0, 1, -1), True),
    ((0, 0, 1, -1), (0, 0, -1, 1), False),  # same points, opposite orientation
    ((1, 2, 3, 4), (2, 4, 6, 8), True),
    ((1, 2, 3, 4), (2, 4, 6, 9), False),
    ((0, 0, 1, -1), (0, 0, 1, -2), False),
    ((0, 1, 0, 3), (0, 2, 0, 6), True),
    ((0, 1, 0, 3), (0, 2, 0, 5), False),
    ((1, 0, 0, 0), (1, -0.0, 0, -0.0), True),
    ((1, 1, 0, 0), (1, 2, 0, 0), False),
])
def test_equality(a, b, eq):
    ha, hb = H(*a), H(*b)
    assert (ha == hb) is eq and (hb == ha) is eq and (ha != hb) is (not eq)


def test_same_object_errors_and_repr():
    h = H(1, 0, 0, NAN)
    assert h == h and not h != h
    for other in (L(P(0, 0, 0), V(1, 0, 0)), None, 0):
        with pytest.raises(TypeError):
            H(0, 0, 1, 0) == other
    with pytest.raises(TypeError):
        hash(H(0, 0, 1, 0))
    with pytest.raises(AttributeError):
        H(0, 0, 1, 0).a = 2.0
    assert repr(H(0, 0, 1, 0)) == "Plane3(a=0.000000, b=0.000000, c=1.000000, d=0.000000)"
    assert repr(H(P(0, 0, 0), P(1, 0, 0), P(0, 1, 0))) == (
        "Plane3(a=0.000000, b=0.000000, c=1.000000, d=-0.000000)")
