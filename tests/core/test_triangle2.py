import math

import pytest

import zenolith_core as z

Tr, P, T = z.Triangle2, z.Point2, z.AffTransformation2
NAN = math.nan


def tri(*pts):
    return Tr(*(P(*p) for p in pts))


T0 = ((0, 0), (4, 0), (0, 4))


def test_iteration_and_repr():
    t = tri(*T0)
    a, b, c = t
    assert (a, b, c) == (P(0, 0), P(4, 0), P(0, 4))
    assert repr(tri((0, 0), (1, 0), (0, 1))) == \
        "Triangle2((0.000000, 0.000000), (1.000000, 0.000000), (0.000000, 1.000000))"


def test_counterclockwise_triangle():
    t = tri(*T0)
    assert t.orientation() == 1 and t.area() == 8.0 and not t.is_degenerate()
    cases = {(1, 1): (1, 1), (2, 0): (0, 0), (4, 0): (0, 0), (2, 2): (0, 0), (0, 3): (0, 0),
             (5, 5): (-1, -1), (-1, 1): (-1, -1), (6, 0): (-1, -1)}
    for p, (oriented, bounded) in cases.items():
        q = P(*p)
        assert t.oriented_side(q) == oriented and t.bounded_side(q) == bounded, p
        assert t.has_on_positive_side(q) is (oriented == 1)
        assert t.has_on_negative_side(q) is (oriented == -1)
        assert t.has_on_boundary(q) is (bounded == 0)
        assert t.has_on_bounded_side(q) is (bounded == 1)
        assert t.has_on_unbounded_side(q) is (bounded == -1)


def test_opposite_reverses_orientation_not_inside():
    o = tri(*T0).opposite()
    assert o == tri((0, 0), (0, 4), (4, 0))
    assert o.orientation() == -1 and o.area() == -8.0
    assert o.oriented_side(P(1, 1)) == -1 and o.bounded_side(P(1, 1)) == 1
    assert o.oriented_side(P(5, 5)) == 1


def test_degenerate_triangle():
    d = tri((0, 0), (1, 0), (2, 0))
    assert d.is_degenerate() and d.orientation() == 0 and d.area() == 0.0
    assert d.bounded_side(P(10, 0)) == 1  # all three orientations are 0
    assert d.bounded_side(P(0, 1)) == -1
    for p in [(10, 0), (0, 1), (1, 0), (-3, 7)]:
        assert d.oriented_side(P(*p)) == 0
    assert tri((1, 1), (1, 1), (1, 1)).bounded_side(P(1, 1)) == 1


def test_nan_vertex_answers_without_error():
    t = tri((NAN, 0), (4, 0), (0, 4))
    assert t.orientation() == 0 and t.is_degenerate()
    assert t.oriented_side(P(1, 1)) == 0
    assert t != t  # no vertex of t equals its own vertex 0


def test_area_formula():
    t = tri((0.1, 0.2), (0.7, 0.3), (0.4, 0.9))
    exact = ((0.7 - 0.1) * (0.9 - 0.2) - (0.4 - 0.1) * (0.3 - 0.2)) * 0.5
    assert math.isclose(t.area(), exact, rel_tol=1e-15)  # the first product may be fused


def test_bbox():
    b = tri((3, -1), (1, 2), (2, 5)).bbox()
    assert (b.xmin, b.ymin, b.xmax, b.ymax) == (1.0, -1.0, 3.0, 5.0)


def test_cyclic_equality():
    t = tri(*T0)
    assert t == tri((4, 0), (0, 4), (0, 0)) and t == tri((0, 4), (0, 0), (4, 0))
    assert t != tri((0, 0), (0, 4), (4, 0))
    # The first vertex that matches decides, with no retry: w is u rotated,
    # but vertex 0 of w matches u at k = 0 and vertex 1 then differs.
    u = tri((0, 0), (1, 1), (0, 0))
    w = tri((0, 0), (0, 0), (1, 1))
    assert w != u and not w == u
    assert tri((1, 1), (0, 0), (0, 0)) == u  # its vertex 0 first matches u at k = 1
    with pytest.raises(TypeError):
        t == z.Segment2(P(0, 0), P(1, 1))
    with pytest.raises(TypeError):
        hash(t)


def test_transform():
    t = tri(*T0).transform(T(2.0))
    assert t == tri((0, 0), (8, 0), (0, 8)) and t.area() == 32.0
    m = tri(*T0).transform(T(z.Line2(1, 0, -1)))  # mirror in x = 1
    assert m == tri((2, 0), (-2, 0), (2, 4)) and m.orientation() == -1
