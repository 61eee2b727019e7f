import math

import pytest

import zenolith_core as z
from helpers import same_float

P, V = z.Point3, z.Vector3
INF, NAN = math.inf, math.nan


def xyz(o):
    return (o.x, o.y, o.z)


class Both:
    def __index__(self):
        return 1

    def __float__(self):
        return 2.5


def test_constructor_overloads_in_order():
    assert xyz(V()) == (0.0, 0.0, 0.0) and repr(V()) == "Vector3(0.000000, 0.000000, 0.000000)"
    assert V() == V(0, 0, 0)
    assert xyz(V(P(1, 1, 1), P(2, 3, 4))) == (1.0, 2.0, 3.0)
    assert xyz(V(b=P(0, 0, 0), a=P(1, 2, 3))) == (-1.0, -2.0, -3.0)
    assert xyz(V(Both(), Both(), Both())) == (1.0, 1.0, 1.0)  # int overload, first pass
    assert xyz(V(1.5, Both(), 3)) == (1.5, 2.5, 3.0)  # float overload with conversion
    assert V(1, 2, 3) == V(1.0, 2.0, 3.0) and V(2**40, 0, 0).x == 2.0**40
    with pytest.raises(TypeError) as info:
        V(1, 2)
    text = str(info.value)
    # no arguments, two points, three floats, three ints
    assert text.index("a: zenolith_core.Point3") < text.index("x: typing.SupportsFloat") \
        < text.index("x: typing.SupportsInt")


def test_index_rules_and_iteration():
    v = V(1, 2, 3)
    assert (v.hx, v.hy, v.hz, v.hw) == (1.0, 2.0, 3.0, 1.0) and v.dimension() == 3
    a, b, c = V(-0.0, 1, 2)
    assert same_float(a, -0.0) and (b, c) == (1.0, 2.0)
    assert list(v) == [1.0, 2.0, 3.0]


def test_squared_length_sums_left_to_right():
    assert V(1, 2, 2).squared_length() == 9.0
    x, y, zz = 0.1, 0.2, 0.3
    assert V(x, y, zz).squared_length() == (x * x + y * y) + zz * zz
    assert V(1e200, 0, 0).squared_length() == INF
    assert math.isnan(V(INF, 0, NAN).squared_length())


def test_scalar_and_vector_products():
    a = V(1, 2, 3)
    dot = a * V(4, 5, 6)
    assert type(dot) is float and dot == 32.0
    assert math.isclose(V(0.1, 0.2, 0.3) * V(0.3, 0.2, 0.1), 0.1 * 0.3 + 0.2 * 0.2 + 0.3 * 0.1)
    for scaled in (a * 2, 2 * a, a * 2.0, 2.0 * a):
        assert type(scaled) is V and xyz(scaled) == (2.0, 4.0, 6.0)
    m = a * -0.0
    assert all(same_float(c, -0.0) for c in xyz(m))
    assert xyz(True * a) == (1.0, 2.0, 3.0)
    for bad in (None, "2", P(1, 1, 1), 2**1024):
        with pytest.raises(TypeError):
            a * bad


def test_division_is_plain_ieee():
    q = V(1, 0, -2) / 0
    assert q.x == INF and math.isnan(q.y) and q.z == -INF
    h = V(1, -0.0, 3) / -2
    assert xyz(h) == (-0.5, 0.0, -1.5) and same_float(h.y, 0.0)
    assert xyz(V(1, 2, 3) / 0.5) == (2.0, 4.0, 6.0)
    with pytest.raises(TypeError):
        V(1, 2, 3) / V(1, 1, 1)
    with pytest.raises(TypeError):
        2 / V(1, 2, 3)


def test_addition_negation_direction():
    assert xyz(V(1, 2, 3) + V(0.5, -2, 0)) == (1.5, 0.0, 3.0)
    assert xyz(V(1, 2, 3) - V(1, 2, 4)) == (0.0, 0.0, -1.0)
    n = -V(0, 0, 0)
    assert all(same_float(c, -0.0) for c in xyz(n))
    d = V(2, 0, -4).direction()
    assert type(d) is z.Direction3 and (d.dx, d.dy, d.dz) == (2.0, 0.0, -4.0)
    with pytest.raises(TypeError):
        V(1, 2, 3) + P(1, 2, 3)
    with pytest.raises(TypeError):
        V(1, 2, 3) - 1


def test_in_place_addition_falls_back_to_a_new_object():
    v = V(1, 2, 3)
    alias = v
    v += V(1, 1, 1)
    assert xyz(v) == (2.0, 3.0, 4.0) and xyz(alias) == (1.0, 2.0, 3.0)


def test_equality_hash_and_assignment():
    assert V(0.0, 1, 2) == V(-0.0, 1, 2)
    assert V(1, 2, 3) != V(1, 2, 3.5)
    n = V(0, NAN, 0)
    assert not n == n and n != n  # IEEE comparison, no same-object shortcut
    for other in (None, 1, P(1, 2, 3), z.Vector2(1, 2)):
        with pytest.raises(TypeError):
            V(1, 2, 3) == other
    with pytest.raises(TypeError):
        hash(V())
    with pytest.raises(TypeError):
        V(1, 2, 3) < V(1, 2, 4)
    with pytest.raises(AttributeError):
        V().z = 1.0


def test_repr():
    assert repr(V(1, 0, -0.5)) == "Vector3(1.000000, 0.000000, -0.500000)"
    assert repr(-V(0, 0, 0)) == "Vector3(-0.000000, -0.000000, -0.000000)"
