import math

import pytest

import zenolith_core as z
from helpers import same_float

L, P, V, D, T = z.Line2, z.Point2, z.Vector2, z.Direction2, z.AffTransformation2
NAN = math.nan


def coeffs(l):
    return (l.a, l.b, l.c)


def same_coeffs(l, expected):
    return all(same_float(x, y) for x, y in zip(coeffs(l), expected))


@pytest.mark.parametrize("p, q, expected", [
    ((0, 0), (1, 0), (0.0, 1.0, -0.0)),
    ((1, 0), (0, 0), (0.0, -1.0, 0.0)),
    ((0, 0), (0, 1), (-1.0, 0.0, 0.0)),
    ((0, 1), (0, 0), (1.0, 0.0, -0.0)),
    ((0, 0), (1, 1), (-1.0, 1.0, 0.0)),
    ((2, 3), (2, 3), (0.0, 0.0, 0.0)),
    ((1, 5), (3, 5), (0.0, 1.0, -5.0)),
    ((3, 5), (1, 5), (0.0, -1.0, 5.0)),
    ((4, 1), (4, 7), (-1.0, 0.0, 4.0)),
    ((4, 7), (4, 1), (1.0, 0.0, -4.0)),
    ((1, 2), (4, 6), (-4.0, 3.0, -(1 * -4.0) - 2 * 3.0)),
    ((NAN, 1), (2, 1), (0.0, -1.0, 1.0)),  # horizontal, NaN x: neither < nor =
    ((1, NAN), (1, 3), (1.0, 0.0, -1.0)),  # vertical, NaN y: last branch
])
def test_two_point_rule(p, q, expected):
    pp, qq = P(*p), P(*q)
    for line in (L(pp, qq), L(z.Segment2(pp, qq)), L(z.Ray2(pp, qq)), L.from_ray(z.Ray2(pp, qq)),
                 z.Segment2(pp, qq).supporting_line(), z.Ray2(pp, qq).supporting_line()):
        assert same_coeffs(line, expected), (line, expected)


def test_general_two_point_rule_with_nan_falls_through():
    l = L(P(NAN, NAN), P(1, 2))
    assert math.isnan(l.a) and math.isnan(l.b) and math.isnan(l.c)


def test_point_direction_rule_and_repr():
    l = L(P(1, 2), D(3, 4))
    assert coeffs(l) == (-4.0, 3.0, 1 * 4.0 - 2 * 3.0)
    assert coeffs(L(P(1, 2), V(3, 4))) == coeffs(l)
    assert repr(L(P(0, 0), P(1, 0))) == "Line2(a=0.000000, b=1.000000, c=-0.000000)"
    assert repr(L(1, 2, 3)) == "Line2(a=1.000000, b=2.000000, c=3.000000)"
    assert coeffs(L(a=1, b=-0.0, c=2)) == (1.0, 0.0, 2.0)


def test_point_parameter():
    l = L(0, 1, -2)
    assert l.point(0) == P(1, 2) and l.point(1) == P(2, 2) and l.point(0.5) == P(1.5, 2)
    v = L(2, 0, -4)  # x = 2
    assert v.point(0) == P(2, 1) and v.point(3) == P(2, -5)
    g = L(1, -1, 0)
    assert g.has_on(g.point(0)) and g.has_on(g.point(-7))
    d = L(0, 0, 1).point(1)
    assert math.isinf(d.x) or math.isnan(d.x)


def test_projection_and_axis_values():
    assert L(1, -1, 0).projection(P(3, 4)) == P(3.5, 3.5)
    assert L(0, 2, -4).projection(P(7, 9)) == P(7, 2)
    assert L(2, 0, -4).projection(P(7, 9)) == P(2, 9)
    l = L(1, 2, -4)
    assert l.x_at_y(1) == 2.0 and l.y_at_x(2) == 1.0
    assert math.isinf(L(0, 1, -2).x_at_y(3)) or math.isnan(L(0, 1, -2).x_at_y(3))
    pr = L(0, 0, 1).projection(P(1, 1))
    assert not math.isfinite(pr.y)


def test_predicates_and_sides():
    assert L(0, 0, 5).is_degenerate() and L(P(1, 1), P(1, 1)).is_degenerate()
    assert L(0, 1, 2).is_horizontal() and not L(0, 1, 2).is_vertical()
    assert L(-0.0, 1, 2).is_horizontal() and L(1, 0, 2).is_vertical()
    l = L(P(0, 0), P(1, 0))
    assert l.oriented_side(P(0, 1)) == 1 and l.has_on_positive_side(P(0, 1))
    assert l.oriented_side(P(0, -1)) == -1 and l.has_on_negative_side(P(0, -1))
    assert l.oriented_side(P(5, 0)) == 0 and l.has_on(P(5, 0))
    assert l.oriented_side(P(NAN, 1)) == 0  # 0 * NaN poisons the value
    assert l.oriented_side(P(0, NAN)) == 0 and l.has_on(P(0, NAN))
    assert not l.has_on_positive_side(P(0, NAN)) and not l.has_on_negative_side(P(0, NAN))


def test_derived_objects():
    l = L(1, 2, 3)
    assert (l.to_vector().x, l.to_vector().y) == (2.0, -1.0)
    assert l.direction() == D(2, -1)
    assert coeffs(l.opposite()) == (-1.0, -2.0, -3.0)
    per = l.perpendicular(P(1, 1))
    assert coeffs(per) == (-2.0, 1.0, 2 * 1 - 1 * 1)
    assert per.has_on(P(1, 1))


@pytest.mark.parametrize("a, b, eq", [
    ((1, 2, 3), (2, 4, 6), True),
    ((1, 2, 3), (-1, -2, -3), False),
    ((0, 1, 0), (0, 2, 0), True),  # b path
    ((0, 1, 0), (0, -1, 0), False),
    ((0, 1, 1), (0, 1, 2), False),
    ((1, 0, 1), (3, 0, 3), True),
    ((1, 1, 0), (1, 2, 0), False),
    ((0, 0, 1), (0, 0, 2), True),  # degenerate: everything but signs cancels
    ((NAN, 1, 0), (NAN, 1, 0), True),  # NaN a: b path, NaN products neither < nor >
])
def test_equality(a, b, eq):
    assert (L(*a) == L(*b)) is eq and (L(*a) != L(*b)) is (not eq)


def test_same_object_and_type_errors():
    l = L(NAN, NAN, NAN)
    assert l == l and not l != l
    with pytest.raises(TypeError):
        L(1, 2, 3) == z.Segment2(P(0, 0), P(1, 1))
    with pytest.raises(TypeError):
        hash(L(1, 2, 3))


def test_from_ray_is_static():
    r = z.Ray2(P(1, 2), P(3, 7))
    assert coeffs(L.from_ray(r)) == coeffs(L(r))
    assert coeffs(L(0, 0, 0).from_ray(r)) == coeffs(L(r))


@pytest.mark.parametrize("t, p, q", [
    (T(V(2, 3)), (2, 4), (3, 4)),
    (T(1.0, 0.0), (-1, 0), (-1, 1)),  # quarter turn: east becomes north
    (T(-1.0), (0, -1), (-1, -1)),  # point reflection: east becomes west
    (T(L(1, 0, -2)), (4, 1), (3, 1)),  # mirror in x = 2: east becomes west
    (T(L(0, 1, -2)), (0, 3), (1, 3)),  # mirror in y = 2: the line y = 1 goes to y = 3, still east
])
def test_transform_keeps_the_image_orientation(t, p, q):
    line = L(P(0, 1), P(1, 1))  # y = 1, heading east
    image = line.transform(t)
    assert image == L(P(*p), P(*q)), image
    assert t.transform_line(line) == image
    # every image point lies on the image line
    for i in (-2, 0, 3):
        assert image.has_on(t.transform_point(line.point(i)))
