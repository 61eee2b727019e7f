import math

import pytest

import zenolith_core as z
from helpers import same_float

D, P, V = z.Direction3, z.Point3, z.Vector3
NAN = math.nan


def comps(d):
    return (d.dx, d.dy, d.dz)


def test_constructors_keep_components_unnormalised():
    assert comps(D(2, 0, 0)) == (2.0, 0.0, 0.0)  # ints through the conversion pass
    assert comps(D(z=3, y=-0.5, x=2**40)) == (2.0**40, -0.5, 3.0)
    assert comps(D(V(1, -2, 0.25))) == (1.0, -2.0, 0.25)
    assert comps(D(v=V(0, 0, 0))) == (0.0, 0.0, 0.0)
    a, b = P(1, 1, 1), P(1, 1, 4)
    assert comps(D(z.Segment3(a, b))) == (0.0, 0.0, 3.0)
    assert comps(D(z.Ray3(a, b))) == (0.0, 0.0, 3.0)
    assert comps(D(z.Line3(a, P(1, 1, 6)))) == (0.0, 0.0, 5.0)
    assert comps(D(l=z.Line3(a, V(0, 7, 0)))) == (0.0, 7.0, 0.0)
    for bad in [(), (1, 2), (P(1, 2, 3),), (None,), ("1", 2, 3)]:
        with pytest.raises(TypeError):
            D(*bad)


def test_vector_opposite_negation():
    v = D(1, 2, 3).vector()
    assert type(v) is V and (v.x, v.y, v.z) == (1.0, 2.0, 3.0)
    assert comps(D(1, 2, 3).opposite()) == comps(-D(1, 2, 3)) == (-1.0, -2.0, -3.0)
    o = -D(0, 0, 0)
    assert all(same_float(c, -0.0) for c in comps(o))
    assert -D(0, 0, 1) == D(0, 0, -1)


@pytest.mark.parametrize("a, b, eq", [
    ((1, 2, 3), (2, 4, 6), True),
    ((1, 0, 0), (2, 0, 0), True),
    ((1, 0, 0), (-1, 0, 0), False),  # parallel but opposite: the signs differ
    ((1, 2, 3), (-1, -2, -3), False),
    ((1, 2, 3), (1, 2, -3), False),
    ((1, 1, 0), (1, 2, 0), False),
    ((0, 1, 1), (0, 1, 2), False),  # only the b, c product differs
    ((0, 0, 0), (0, 0, 0), True),
    ((0, 0, 0), (0, 0, 1), False),  # products all vanish, signs do not
    ((0, 0, 0), (-1, 0, 0), False),
    ((-0.0, 1, 0), (0.0, 1, -0.0), True),  # signed zeros have sign zero
    ((0.1, 0.2, 0.3), (0.2, 0.4, 0.6), True),
    ((NAN, 1, 0), (0, 1, 0), True),  # NaN products count as equal, NaN sign is zero
    ((NAN, 1, 0), (0, -1, 0), False),
])
def test_equality_rule(a, b, eq):
    da, db = D(*a), D(*b)
    assert (da == db) is eq and (db == da) is eq and (da != db) is (not eq)


def test_equal_directions_keep_their_own_numbers():
    a, b = D(1, 0, 0), D(2, 0, 0)
    assert a == b and a.dx != b.dx and repr(a) != repr(b)


def test_same_object_and_type_errors():
    d = D(NAN, NAN, NAN)
    assert d == d and not d != d
    for other in (V(1, 0, 0), None, 1, z.Direction2(1, 0)):
        with pytest.raises(TypeError):
            D(1, 0, 0) == other
    with pytest.raises(TypeError):
        D(1, 0, 0) < D(2, 0, 0)
    with pytest.raises(TypeError):
        hash(D(1, 0, 0))
    with pytest.raises(AttributeError):
        D(1, 0, 0).dx = 2.0


def test_repr():
    assert repr(D(0, 3, -4)) == "Direction3(0.000000, 3.000000, -4.000000)"
    assert repr(-D(0, 0, 0)) == "Direction3(-0.000000, -0.000000, -0.000000)"
