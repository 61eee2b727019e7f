import math

import pytest

import zenolith_core as z

Tr, P, H = z.Triangle3, z.Point3, z.Plane3
NAN = math.nan


def tri(*pts):
    return Tr(*(P(*p) for p in pts))


T0 = ((0, 0, 0), (4, 0, 0), (0, 4, 0))
T1 = ((2, 0, 0), (0, 2, 0), (0, 0, 2))


def test_iteration_and_repr():
    a, b, c = tri(*T0)
    assert (a, b, c) == tuple(P(*p) for p in T0) and len(list(tri(*T0))) == 3
    assert repr(tri((0, 0, 0), (1, 0, 0), (0, 1, 0))) == (
        "Triangle3((0.000000, 0.000000, 0.000000), (1.000000, 0.000000, 0.000000), "
        "(0.000000, 1.000000, 0.000000))")


def test_supporting_plane_follows_vertex_order():
    h = tri((0, 0, 0), (1, 0, 0), (0, 1, 0)).supporting_plane()
    assert (h.a, h.b, h.c, h.d) == (0.0, 0.0, 1.0, 0.0)
    g = tri((0, 0, 0), (0, 1, 0), (1, 0, 0)).supporting_plane()
    assert (g.a, g.b, g.c) == (0.0, 0.0, -1.0) and g != h
    pts = (P(1, 2, 3), P(4, -1, 2), P(0, 5, -2))
    s, w = Tr(*pts).supporting_plane(), H(*pts)
    assert (s.a, s.b, s.c, s.d) == (w.a, w.b, w.c, w.d) == (18.0, 16.0, 6.0, -68.0)


@pytest.mark.parametrize("pts, degenerate", [
    (((0, 0, 0), (1, 1, 1), (2, 2, 2)), True),
    (((0, 0, 0), (0, 0, 1), (0, 0, 2)), True),  # the xy products are all zero
    (((1, 1, 1), (1, 1, 1), (5, 0, 2)), True),
    (((0, 0, 0), (1, 1, 0), (2, 2, 1)), False),  # only the xz products differ
    (((0, 0, 0), (0, 0, 1), (0, 1, 0)), False),  # only the yz products differ
    (T0, False),
])
def test_is_degenerate(pts, degenerate):
    t = tri(*pts)
    assert t.is_degenerate() is degenerate
    assert (t.squared_area() == 0.0) is degenerate


def test_squared_area():
    assert tri((0, 0, 0), (1, 0, 0), (0, 1, 0)).squared_area() == 0.25
    assert tri((0, 0, 0), (2, 0, 0), (0, 0, 3)).squared_area() == 9.0
    assert tri(*T1).squared_area() == 12.0


@pytest.mark.parametrize("pts, p, on", [
    (T0, (0, 0, 0), True), (T0, (4, 0, 0), True), (T0, (2, 0, 0), True), (T0, (2, 2, 0), True),
    (T0, (1, 1, 0), True), (T0, (1, 1, 1), False), (T0, (3, 3, 0), False), (T0, (-1, 1, 0), False),
    (T0, (2, 2 + 2**-40, 0), False), (T0, (1, 1, 2**-40), False),  # no tolerance either way
    (T1, (1, 1, 0), True), (T1, (1, 0.5, 0.5), True), (T1, (1, 1, 1), False), (T1, (2, 2, -2), False),
])
def test_has_on(pts, p, on):
    assert tri(*pts).has_on(P(*p)) is on
    assert tri(*reversed(pts)).has_on(P(*p)) is on  # the other orientation: D changes sign


def test_degenerate_triangle_holds_only_its_hull():
    # Collinear vertices make every Cramer numerator and D zero; such a
    # triangle holds the points between its vertices and nothing else.
    d = tri((0, 0, 0), (1, 0, 0), (2, 0, 0))
    assert d.has_on(P(1, 0, 0)) and d.has_on(P(2, 0, 0))
    assert not d.has_on(P(3, 0, 0)) and not d.has_on(P(100, 5, 7)) and not d.has_on(P(0, 1, 0))
    assert not tri((1, 1, 1), (1, 1, 1), (1, 1, 1)).has_on(P(9, 9, 9))
    assert tri((1, 1, 1), (1, 1, 1), (1, 1, 1)).has_on(P(1, 1, 1))
    assert tri((0, 0, 0), (2, 2, 2), (1, 1, 1)).has_on(P(0.5, 0.5, 0.5))  # hull, any vertex order


def test_bbox():
    b = tri((3, -1, 0), (1, 2, 9), (2, 5, -4)).bbox()
    assert (b.xmin, b.ymin, b.zmin, b.xmax, b.ymax, b.zmax) == (1, -1, -4, 3, 5, 9)


def test_cyclic_equality():
    t = tri(*T0)
    assert t == tri(T0[1], T0[2], T0[0]) == tri(T0[2], T0[0], T0[1])
    assert t != tri(T0[0], T0[2], T0[1]) and not t == tri(*reversed(T0))
    u = tri((0, 0, 0), (1, 1, 1), (0, 0, 0))  # a repeated vertex
    assert tri((1, 1, 1), (0, 0, 0), (0, 0, 0)) == u and tri((1, 1, 1), (0, 0, 0), (1, 1, 1)) != u
    n = tri((NAN, 0, 0), (1, 0, 0), (0, 1, 0))
    assert n == n and n != tri((NAN, 0, 0), (1, 0, 0), (0, 1, 0))
    with pytest.raises(TypeError):
        t == z.Segment3(P(0, 0, 0), P(1, 1, 1))
    with pytest.raises(TypeError):
        hash(t)
