import itertools
import math
import random

import pytest

import zenolith_core as z
from helpers import same_float

T, P, V, D, L = z.AffTransformation2, z.Point2, z.Vector2, z.Direction2, z.Line2
ANGLE = 0.7


def kinds():
    """One transformation of each representation kind."""
    return {
        "general": T(1.5, -0.25, 3.0, 0.5, 2.0, -1.0),
        "translation": T(V(3, -2)),
        "scaling": T(-1.75),
        "reflection": T(L(1, -2, 3)),  # a line that misses the origin
        "rotation": T(math.sin(ANGLE), math.cos(ANGLE)),
    }


def close(a, b, tol=1e-9):
    return all(math.isclose(x, y, rel_tol=tol, abs_tol=tol) for x, y in zip(a, b))


def xy(obj):
    return (obj.x, obj.y) if hasattr(obj, "x") and not callable(obj.x) else (obj.dx, obj.dy)


def same_angle(d, e):
    """Directions compared by angle, to rounding (their lengths may differ)."""
    diff = math.atan2(d.dy, d.dx) - math.atan2(e.dy, e.dx)
    return abs(math.remainder(diff, 2 * math.pi)) < 1e-9


def matrix(t):
    return [[t.cartesian(i, j) for j in range(3)] for i in range(3)]


def test_constructor_overloads():
    assert repr(T()) == "AffTransformation2(m00=1.000000, m01=0.000000, m10=0.000000, m11=1.000000)"
    s = T(2)  # int: no exact match in the first pass, scaling in the second
    assert s.is_scaling() and s.cartesian(0, 0) == 2.0
    r = T(1, 0)  # ints: rotation
    assert r.is_rotation() and r.transform_point(P(1, 0)) == P(0, 1)
    assert repr(T(0.0, 1.0)) == "AffTransformation2(m00=1.000000, m01=-0.000000, m10=0.000000, m11=1.000000)"
    assert T(V(3, 4)).is_translation()
    assert T(L(0, 1, -1)).is_reflection()
    g = T(1, 2, 3, 4, 5, 6)
    assert matrix(g) == [[1, 2, 3], [4, 5, 6], [0, 0, 1]]
    lin = T(m00=1, m01=2, m10=3, m11=4)
    assert matrix(lin) == [[1, 2, 0], [3, 4, 0], [0, 0, 1]]
    assert T(s=0.5).is_scaling() and T(sine=0, cosine=1).is_rotation()
    for bad in [(1, 2, 3), (1, 2, 3, 4, 5), (None,), ("1",), (P(0, 0),)]:
        with pytest.raises(TypeError):
            T(*bad)


def test_kind_predicates_report_the_representation():
    for name, t in kinds().items():
        assert t.is_translation() is (name == "translation")
        assert t.is_scaling() is (name == "scaling")
        assert t.is_rotation() is (name == "rotation")
        assert t.is_reflection() is (name == "reflection")
    pure = T(1.0, 0.0, 5.0, 0.0, 1.0, 7.0)
    assert not pure.is_translation() and pure == T(V(5, 7))
    assert T(V(0, 0)) == T(1) == T()


def test_evenness():
    k = kinds()
    assert k["general"].is_even() and not k["general"].is_odd()
    assert k["translation"].is_even() and k["rotation"].is_even()
    assert k["scaling"].is_even() and T(0.0).is_even()  # scalings always answer even
    singular = T(1.0, 2.0, 2.0, 4.0)
    assert not singular.is_even() and singular.is_odd()
    assert T(-1.0, 0.0, 0.0, 1.0).is_odd()
    # a reflection reverses orientation
    r = k["reflection"]
    assert r.is_odd() and not r.is_even() and r.is_reflection()


@pytest.mark.parametrize("name", list(kinds()))
def test_matrix_entries_describe_the_point_mapping(name):
    t = kinds()[name]
    m = matrix(t)
    assert m[2] == [0.0, 0.0, 1.0]
    rng = random.Random(name)
    for _ in range(20):
        x, y = rng.uniform(-10, 10), rng.uniform(-10, 10)
        q = t.transform_point(P(x, y))
        assert close((q.x, q.y), (m[0][0] * x + m[0][1] * y + m[0][2], m[1][0] * x + m[1][1] * y + m[1][2]))
        v = t.transform_vector(V(x, y))
        assert close((v.x, v.y), (m[0][0] * x + m[0][1] * y, m[1][0] * x + m[1][1] * y))
        d = t.transform_direction(D(x, y))
        assert same_angle(d, D(v.x, v.y))  # the direction of the mapped vector
    assert [[t.homogeneous(i, j) for j in range(3)] for i in range(3)] == m


def test_entries_of_each_kind():
    r = T(0.6, 0.8)
    assert matrix(r)[:2] == [[0.8, -0.6, 0.0], [0.6, 0.8, 0.0]]
    assert matrix(T(V(3, 4)))[:2] == [[1, 0, 3], [0, 1, 4]]
    assert matrix(T(-2.5))[:2] == [[-2.5, 0, 0], [0, -2.5, 0]]
    # reflection in y = 1: linear part (1, 0; 0, -1), translation (0, 2)
    f = matrix(T(L(0, 1, -1)))
    assert f[0] == [1.0, 0.0, 0.0] and f[1] == [0.0, -1.0, 2.0]
    # indices outside 0..2 are not an error
    for t in kinds().values():
        for i, j in [(5, 5), (-1, 0), (0, 9), (3, 3)]:
            assert isinstance(t.cartesian(i, j), float)
    with pytest.raises(TypeError):
        T().cartesian(0.0, 0)


def test_reflection_maps_points_fully_and_vectors_linearly():
    r = T(L(0, 1, -1))  # y = 1
    assert r.transform_point(P(1, 0)) == P(1, 2)
    assert r(P(1, 0)) == P(1, 2)
    v = r.transform_vector(V(1, 0))
    assert (v.x, v.y) == (1.0, 0.0)
    d = r.transform_direction(D(1, 0))
    assert d == D(1, 0)
    up = r.transform_direction(D(0, 1))
    assert up == D(0, -1)
    assert V(1, 0).transform(r).x == 1.0 and D(0, 1).transform(r) == D(0, -1)
    v0 = T(L(0, 1, 0)).transform_vector(V(1, 0))
    assert v0.x == 1.0 and same_float(v0.y, -0.0)


def test_reflection_matrix_equality_and_inverse():
    r1 = T(L(1, 0, -1))  # x = 1
    r0 = T(L(1, 0, 0))  # x = 0
    assert r1.transform_point(P(0, 0)) == P(2, 0)
    assert r1.cartesian(0, 2) == 2.0 and r1.cartesian(1, 2) == 0.0
    assert r1.homogeneous(0, 2) == 2.0
    assert repr(r1) == "AffTransformation2(m00=-1.000000, m01=-0.000000, m10=-0.000000, m11=1.000000)"
    assert not r1 == r0 and r1 != r0
    assert r1 == T(-1.0, 0.0, 2.0, 0.0, 1.0, 0.0)
    rng = random.Random(3)
    for line in [L(1, 0, -1), L(1, -2, 3), L(0, 1, -1), L(3, 4, 5)]:
        r = T(line)
        inv = r.inverse()
        for _ in range(10):
            p = P(rng.uniform(-5, 5), rng.uniform(-5, 5))
            back = inv.transform_point(r.transform_point(p))
            assert close((back.x, back.y), (p.x, p.y))


def test_negative_scaling_turns_directions_around():
    s = T(-1.0)
    v = s.transform_vector(V(1, 0))
    assert v.x == -1.0 and same_float(v.y, -0.0)
    d = s.transform_direction(D(1, 0))
    assert d == D(-1, 0) and d.dx == -1.0
    assert D(3, 4).transform(T(-2.0)) == D(-3, -4)
    kept = T(2.0).transform_direction(D(3, 4))  # positive factor: stored components kept
    assert (kept.dx, kept.dy) == (3.0, 4.0)
    assert (T(0.0).transform_direction(D(3, 4)).dx, T(0.0).transform_direction(D(3, 4)).dy) == (3.0, 4.0)


def test_translation_and_rotation_mappings():
    t = T(V(3, 4))
    assert t.transform_vector(V(1, 1)).x == 1.0 and t.transform_vector(V(1, 1)).y == 1.0
    w = V(1, 1)
    assert w.transform(T()) is not w
    assert P(1, 2).transform(T(V(1, 1))) == P(2, 3)
    q = T(1.0, 0.0)
    assert q.transform_direction(D(1, 0)) == D(0, 1)
    tt = T(V(1, 0))
    rr = T(1.0, 0.0)
    assert (tt * rr).transform_point(P(1, 0)) == P(1, 1)
    assert (rr * tt).transform_point(P(1, 0)) == P(0, 2)
    assert (tt * tt).is_translation()
    assert not any(f() for f in ((tt * rr).is_translation, (tt * rr).is_rotation,
                                 (tt * rr).is_scaling, (tt * rr).is_reflection))
    assert (rr * rr).is_rotation() and (T(2.0) * T(3.0)).is_scaling()
    assert (T(2.0) * T(3.0)).cartesian(0, 0) == 6.0


@pytest.mark.parametrize("left, right", list(itertools.product(list(kinds()), repeat=2)))
def test_composition_applies_the_right_operand_first(left, right):
    a, b = kinds()[left], kinds()[right]
    ab = a * b
    rng = random.Random(f"{left}*{right}")
    for _ in range(25):
        x, y = rng.uniform(-100, 100), rng.uniform(-100, 100)
        p = P(x, y)
        assert close(xy(ab.transform_point(p)), xy(a.transform_point(b.transform_point(p))))
        v = V(x, y)
        assert close(xy(ab.transform_vector(v)), xy(a.transform_vector(b.transform_vector(v))))
        d = D(x, y)
        got, want = ab.transform_direction(d), a.transform_direction(b.transform_direction(d))
        assert same_angle(got, want)
    assert ab.is_odd() is (a.is_odd() != b.is_odd())


def test_reflection_times_scaling_translation():
    r = T(L(0, 1, -1))  # y = 1
    s = T(2.0)
    assert (r * s).transform_point(P(1, 1)) == P(2, 0)
    assert (r * s).cartesian(1, 2) == 2.0


@pytest.mark.parametrize("name", list(kinds()))
def test_inverse_undoes_every_kind(name):
    t = kinds()[name]
    inv = t.inverse()
    rng = random.Random(name)
    for _ in range(10):
        p = P(rng.uniform(-50, 50), rng.uniform(-50, 50))
        assert close(xy(inv.transform_point(t.transform_point(p))), (p.x, p.y))


def test_inverse_representations_and_singular_matrices():
    assert T(V(1, 2)).inverse().is_translation()
    assert T(V(1, 2)).inverse() == T(V(-1, -2))
    assert T(4.0).inverse().is_scaling() and T(4.0).inverse().cartesian(0, 0) == 0.25
    assert T(0.6, 0.8).inverse().is_rotation() and T(0.6, 0.8).inverse().cartesian(1, 0) == -0.6
    inv = T(1.0, 2.0, 2.0, 4.0).inverse()
    assert not all(math.isfinite(inv.cartesian(i, j)) for i in range(2) for j in range(2))
    assert math.isinf(T(0.0).inverse().cartesian(0, 0))


def test_equality_rules():
    assert T() == T(1.0)
    assert T(V(0, 0)) == T()
    n = T(math.nan, 0, 0, 1)
    assert not n == n and n != n
    assert T(-0.0, 0, 0, 1) == T(0.0, 0, 0, 1)
    with pytest.raises(TypeError):
        T() == 1
    with pytest.raises(TypeError):
        T() * P(1, 1)
    with pytest.raises(TypeError):
        hash(T())


def test_call_accepts_points_only():
    with pytest.raises(TypeError):
        T(V(1, 0))(V(1, 0))
    assert T(V(1, 0))(p=P(0, 0)) == P(1, 0)


def test_degenerate_input_raises_nothing():
    bad = T(L(0, 0, 1))  # no line at all
    q = bad.transform_point(P(1, 1))
    assert math.isnan(q.x) or math.isinf(q.x)
    bad.inverse()
    T(2.0, 2.0).transform_point(P(1, 0))  # not on the unit circle: also scales


def test_reflection_in_a_nearly_horizontal_line_maps_to_finite_points():
    # The line y = 1 with a = 5e-324: its x-axis intercept -c/a overflows.
    r = T(L(5e-324, 1.0, -1.0))
    assert r.is_reflection() and r.is_odd()
    s = -2 * 5e-324  # the exact m01, the sine of twice the line's angle
    assert (r.cartesian(0, 0), r.cartesian(0, 1), r.cartesian(1, 1)) == (1.0, s, -1.0)
    assert xy(r(P(0.0, 0.0))) == (-s, 2.0)
    assert xy(r(P(3.0, 5.0))) == (3.0 - 4 * s, -3.0)
    assert (r.cartesian(0, 2), r.cartesian(1, 2)) == (-s, 2.0)
    assert r.transform_line(L(0.0, 1.0, 0.0)).has_on(P(7.0, 2.0))
    for name, other in kinds().items():  # products and inverse see the same point mapping
        for ab, first, second in ((r * other, other, r), (other * r, r, other)):
            p = P(1.5, -2.5)
            assert close(xy(ab(p)), xy(second(first(p)))), name
    assert close(xy(r.inverse()(r(P(1.5, -2.5)))), (1.5, -2.5))
    # where the intercept is merely large, the kernel's formula stays, as rounded
    a, b, c = 1e-300, 1.0, -1.0
    sq = b * b + a * a
    sin, cos = 2 * -a * b / sq, 2 * (b * b / sq) - 1
    tx, ty = -(c / a), -0.0
    x, y = 3.0, 5.0
    want = (cos * x + sin * y - cos * tx - sin * ty + tx, sin * x - cos * y - sin * tx + cos * ty + ty)
    assert xy(T(L(a, b, c))(P(x, y))) == want
