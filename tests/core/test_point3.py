import math

import pytest

import zenolith_core as z
from helpers import IndexLike, same_float

P, V = z.Point3, z.Vector3
NAN = math.nan


def xyz(o):
    return (o.x, o.y, o.z)


class Both:
    """Index 1, float 2.5: the stored value tells which constructor took it."""

    def __index__(self):
        return 1

    def __float__(self):
        return 2.5


def test_constructor_overloads():
    o = P()
    assert all(same_float(c, 0.0) for c in xyz(o))
    assert o == P(0, 0, 0) and repr(o) == "Point3(0.000000, 0.000000, 0.000000)"
    assert xyz(P(Both(), Both(), Both())) == (1.0, 1.0, 1.0)  # int overload, first pass
    assert xyz(P(Both(), Both(), 0.5)) == (2.5, 2.5, 0.5)  # float overload, conversion
    assert xyz(P(2**31, -(2**31), 2**31 - 1)) == (2.0**31, -(2.0**31), 2.0**31 - 1)
    assert xyz(P(z=3, y=2, x=1)) == (1.0, 2.0, 3.0)
    assert same_float(P(1, -0.0, 2).y, -0.0)
    for bad in [(1, 2), (1, 2, None), (1, 2, "3"), (2**1024, 0, 0)]:
        with pytest.raises(TypeError):
            P(*bad)


def test_index_rules_at_their_edges():
    p = P(1, 2, 3)
    assert (p.hx, p.hy, p.hz, p.hw) == (1.0, 2.0, 3.0, 1.0)
    assert p.cartesian(i=IndexLike(1)) == 2.0 and p.dimension() == 3


def test_iteration_yields_three_coordinates():
    p = P(4, -0.0, NAN)
    x, y, zz = p
    assert x == 4.0 and same_float(y, -0.0) and math.isnan(zz)
    assert len(list(p)) == 3 and list(P(1, 2, 3)) == [1.0, 2.0, 3.0]


def test_bbox_is_degenerate_box_of_the_point():
    b = P(1, -0.0, 3).bbox()
    assert type(b) is z.Bbox3
    assert repr(b) == "Bbox3(1.000000, -0.000000, 3.000000, 1.000000, -0.000000, 3.000000)"


def test_arithmetic_overloads():
    d = P(1, 2, 3) - P(1, 1, 1)
    assert type(d) is V and xyz(d) == (0.0, 1.0, 2.0)
    q = P(1, 2, 3) - V(1, 1, 1)
    assert type(q) is P and xyz(q) == (0.0, 1.0, 2.0)
    r = P(0.1, -0.0, 0) + V(0.2, -0.0, 1)
    assert r.x == 0.1 + 0.2 and same_float(r.y, -0.0) and r.z == 1.0
    assert same_float((P(0, 0, 0) - P(0, 0, 0)).x, 0.0)
    for bad in (P(1, 1, 1), 1, None):
        with pytest.raises(TypeError):
            P(1, 2, 3) + bad
    with pytest.raises(TypeError):
        V(1, 1, 1) + P(1, 2, 3)  # no reflected addition
    with pytest.raises(TypeError):
        P(1, 2, 3) - z.Point2(1, 2)


def test_in_place_operators_change_the_object_and_rebind():
    p = P(1, 2, 3)
    alias = p
    p += V(1, 0, 0)
    assert p is not alias and xyz(alias) == xyz(p) == (2.0, 2.0, 3.0)
    p -= V(0, 0, 3)
    assert xyz(p) == (2.0, 2.0, 0.0) and xyz(alias) == (2.0, 2.0, 3.0)


@pytest.mark.parametrize("a, b, lt", [
    ((1, 5, 0), (2, 0, 0), True),
    ((1, 2, 3), (1, 2, 3), False),
    ((1, 2, 3), (1, 2, 4), True),
    ((1, 3, 0), (1, 2, 9), False),
    ((NAN, 1, 0), (0, 2, 0), True),  # unordered x: y decides
    ((NAN, 2, 5), (0, 2, 4), False),  # ... then z
    ((-0.0, 0.0, 1), (0.0, -0.0, 2), True),
])
def test_lexicographic_order(a, b, lt):
    p, q = P(*a), P(*b)
    assert (p < q) is lt and (q > p) is lt
    assert (p >= q) is (not lt) and (q <= p) is (not lt)


def test_equality_and_hash():
    assert P(0.0, 1, 2) == P(-0.0, 1, 2) and not P(0.0, 1, 2) != P(-0.0, 1, 2)
    assert P(1, 2, 3) != P(1, 2, 3.5)
    n = P(NAN, 0, 0)
    assert not n == n and n != n and n <= n  # no same-object shortcut for points
    for other in ("Point3(1.000000, 2.000000, 3.000000)", None, 1, V(1, 2, 3)):
        with pytest.raises(TypeError):
            P(1, 2, 3) == other
        with pytest.raises(TypeError):
            P(1, 2, 3) < other
    with pytest.raises(TypeError):
        hash(P())
    with pytest.raises(AttributeError):
        P().x = 1.0


def test_repr():
    assert repr(P(1, 2.5, -3)) == "Point3(1.000000, 2.500000, -3.000000)"
    assert str(P(-1e-9, 1e20, math.inf)) == (
        "Point3(-0.000000, 100000000000000000000.000000, inf)")
