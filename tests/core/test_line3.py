import math

import pytest

import zenolith_core as z
from helpers import same_float

L, P, V, D = z.Line3, z.Point3, z.Vector3, z.Direction3
NAN = math.nan
O = P(0, 0, 0)


def xyz(o):
    return (o.x, o.y, o.z)


@pytest.mark.parametrize("make", [
    lambda a, b: L(a, b),
    lambda a, b: L(q=b, p=a),
    lambda a, b: L(a, b - a),
    lambda a, b: L(p=a, v=b - a),
    lambda a, b: L(a, D(b - a)),
    lambda a, b: L(p=a, d=D(b - a)),
    lambda a, b: L(z.Segment3(a, b)),
    lambda a, b: L(s=z.Segment3(a, b)),
    lambda a, b: L.from_ray(z.Ray3(a, b)),
    lambda a, b: L.from_ray(r=z.Ray3(a, b)),
])
def test_constructors_store_point_and_unnormalised_vector(make):
    line = make(P(1, 1, 1), P(1, 1, 4))
    assert line.point(0) == P(1, 1, 1)
    assert xyz(line.to_vector()) == (0.0, 0.0, 3.0)
    d = line.direction()
    assert type(d) is D and (d.dx, d.dy, d.dz) == (0.0, 0.0, 3.0)


def test_constructor_refusals():
    for bad in [(), (O,), (O, z.Point2(1, 1)), (z.Ray3(O, P(1, 0, 0)),), (O, None), (1, 2)]:
        with pytest.raises(TypeError):
            L(*bad)


def test_point_parameter_rounds_product_and_sum_apart():
    line = L(O, V(2, 0, 0))
    assert line.point(0.5) == P(1, 0, 0) and line.point(i=-1) == P(-2, 0, 0)
    assert line.point(3) == P(6, 0, 0)  # an int converts to the float parameter
    p, v, t = (0.1, 0.2, 0.3), (0.7, 0.11, 3.0), 0.3
    got = L(P(*p), V(*v)).point(t)
    assert xyz(got) == tuple(pc + t * vc for pc, vc in zip(p, v))
    with pytest.raises(TypeError):
        line.point()


def test_projection():
    line = L(O, V(2, 0, 0))
    assert xyz(line.projection(P(3, 4, 5))) == (3.0, 0.0, 0.0)
    assert xyz(L(P(1, 1, 0), V(1, 1, 0)).projection(P(0, 2, 0))) == (1.0, 1.0, 0.0)
    assert xyz(L(O, V(1, 1, 1)).projection(P(1, 2, 3))) == (2.0, 2.0, 2.0)
    degenerate = L(P(1, 1, 1), P(1, 1, 1))
    assert all(math.isnan(c) for c in xyz(degenerate.projection(O)))


@pytest.mark.parametrize("line, point, on", [
    (L(O, V(2, 0, 0)), (7, 0, 0), True),
    (L(O, V(2, 0, 0)), (-3, 0, 0), True),
    (L(O, V(2, 0, 0)), (7, 1, 0), False),
    (L(O, V(2, 0, 0)), (7, 0, 1), False),
    (L(O, V(0, 0, 1)), (0, 1, 5), False),  # only the last cross term differs
    (L(O, V(1, 1, 1)), (-2, -2, -2), True),
    (L(O, V(2, 0, 0)), (0, 0, NAN), True),  # NaN comparisons count as equal
    (L(P(1, 1, 1), P(1, 1, 1)), (5, -7, 9), True),  # degenerate: every point
])
def test_has_on(line, point, on):
    assert line.has_on(P(*point)) is on and line.has_on(p=P(*point)) is on


def test_degeneracy_perpendicular_plane_opposite():
    assert L(P(1, 1, 1), P(1, 1, 1)).is_degenerate() and L(O, D(0, 0, 0)).is_degenerate()
    assert not L(O, V(0, 0, 1e-300)).is_degenerate()
    h = L(O, V(2, 0, 0)).perpendicular_plane(P(3, 4, 5))
    assert type(h) is z.Plane3 and (h.a, h.b, h.c, h.d) == (2.0, 0.0, 0.0, -6.0)
    o = L(P(1, 2, 3), V(1, 0, -2)).opposite()
    assert o.point(0) == P(1, 2, 3)
    assert all(same_float(a, b) for a, b in zip(xyz(o.to_vector()), (-1.0, -0.0, 2.0)))


@pytest.mark.parametrize("a, b, eq", [
    (L(O, P(2, 0, 0)), L(P(5, 0, 0), V(1, 0, 0)), True),
    (L(O, P(2, 0, 0)), L(O, P(-1, 0, 0)), False),  # same points, opposite orientation
    (L(O, P(2, 0, 0)).opposite(), L(O, P(-1, 0, 0)), True),
    (L(O, D(-1, 0, 0)), L(O, P(-1, 0, 0)), True),
    (L(O, V(1, 1, 0)), L(P(2, 2, 0), V(3, 3, 0)), True),
    (L(O, V(0, 0, 1)), L(P(1, 0, 0), V(0, 0, 1)), False),  # parallel, apart
    (L(O, V(1, 0, 0)), L(O, V(0, 0, 0)), False),
])
def test_equality(a, b, eq):
    assert (a == b) is eq and (b == a) is eq and (a != b) is (not eq)


def test_same_object_errors_and_repr():
    line = L(P(NAN, 0, 0), V(1, NAN, 0))
    assert line == line and not line != line
    for other in (z.Plane3(0, 0, 1, 0), z.Segment3(O, P(1, 0, 0)), None):
        with pytest.raises(TypeError):
            L(O, V(1, 0, 0)) == other
    with pytest.raises(TypeError):
        hash(L(O, V(1, 0, 0)))
    with pytest.raises(AttributeError):
        L(O, V(1, 0, 0)).p = O
    assert repr(L(P(1, 2, 3), P(1, 2, 5))) == "Line3(direction=(0.000000, 0.000000, 2.000000))"
    # only the direction prints: parallel lines look alike
    assert repr(L(O, V(0, 0, 1))) == repr(L(P(1, 0, 0), V(0, 0, 1)))
