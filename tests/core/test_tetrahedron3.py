import math

import pytest

import zenolith_core as z

Te, P = z.Tetrahedron3, z.Point3
NAN = math.nan

U = ((0, 0, 0), (1, 0, 0), (0, 1, 0), (0, 0, 1))


def tet(*pts):
    return Te(*(P(*p) for p in pts))


def test_iteration_repr_and_bbox():
    a, b, c, d = tet(*U)
    assert (a, b, c, d) == tuple(P(*p) for p in U) and len(list(tet(*U))) == 4
    assert repr(tet(*U)) == (
        "Tetrahedron3((0.000000, 0.000000, 0.000000), (1.000000, 0.000000, 0.000000), "
        "(0.000000, 1.000000, 0.000000), (0.000000, 0.000000, 1.000000))")
    bb = tet((3, -1, 0), (1, 2, 9), (2, 5, -4), (2, 2, 2)).bbox()
    assert (bb.xmin, bb.ymin, bb.zmin, bb.xmax, bb.ymax, bb.zmax) == (1, -1, -4, 3, 5, 9)
    with pytest.raises(TypeError):
        tet(*U).vertex(1.0)


def test_orientation_and_volume():
    t = tet(*U)
    assert t.orientation() == 1 and t.volume() == 1 / 6 and not t.is_degenerate()
    s = tet(U[0], U[2], U[1], U[3])
    assert s.orientation() == -1 and s.volume() == -1 / 6
    assert tet((0, 0, 0), (2, 0, 0), (0, 3, 0), (0, 0, 4)).volume() == 4.0


@pytest.mark.parametrize("p, bounded", [
    ((0.1, 0.1, 0.1), 1), ((0.25, 0.25, 0.5 - 2**-40), 1),
    ((0, 0, 0), 0), ((1, 0, 0), 0), ((0.25, 0.25, 0), 0), ((0, 0.5, 0.5), 0), ((0.25, 0.25, 0.5), 0),
    ((1, 1, 1), -1), ((-0.1, 0.1, 0.1), -1), ((0.25, 0.25, 0.5 + 2**-40), -1),
    ((0.125, 0.125, -2**-40), -1),
])
def test_sides(p, bounded):
    q = P(*p)
    for t, o in ((tet(*U), 1), (tet(U[0], U[2], U[1], U[3]), -1), (tet(U[1], U[2], U[0], U[3]), 1)):
        assert t.bounded_side(q) == bounded and t.oriented_side(q) == o * bounded
        assert t.has_on_bounded_side(q) is (bounded == 1)
        assert t.has_on_unbounded_side(q) is (bounded == -1)
        assert t.has_on_boundary(q) is (bounded == 0)
        assert t.has_on_positive_side(q) is (o * bounded == 1)
        assert t.has_on_negative_side(q) is (o * bounded == -1)


def test_flat_tetrahedron():
    t = tet((0, 0, 0), (1, 0, 0), (0, 1, 0), (1, 1, 0))
    assert t.is_degenerate() and t.orientation() == 0 and t.volume() == 0.0
    assert t.bounded_side(P(0.2, 0.2, 0)) == 0 and t.bounded_side(P(0, 0, 1)) == -1
    for p in [(0.2, 0.2, 0), (0, 0, 1), (5, 5, -5)]:
        q = P(*p)
        assert t.oriented_side(q) == 0 and t.has_on_boundary(q)
        assert not t.has_on_positive_side(q) and not t.has_on_negative_side(q)
    n = tet((NAN, 0, 0), *U[1:])
    assert n.orientation() == 0 and n.is_degenerate()


def test_equality_ignores_vertex_order_not_orientation():
    t = tet(*U)
    assert t == tet(U[1], U[2], U[0], U[3]) == tet(U[3], U[2], U[1], U[0])  # even permutations
    assert t != tet(U[0], U[2], U[1], U[3])  # the same vertices, the other orientation
    assert t != tet((0, 0, 0), (2, 0, 0), (0, 1, 0), (0, 0, 1))
    # flat ones compare their sorted vertex sets with repeats merged
    a = tet((0, 0, 0), (0, 0, 0), (1, 0, 0), (0, 1, 0))
    assert a == tet((1, 0, 0), (0, 1, 0), (0, 0, 0), (1, 0, 0))
    assert a != tet((0, 0, 0), (1, 0, 0), (0, 1, 0), (1, 1, 0))
    n = tet((NAN, 0, 0), *U[1:])
    assert n == n  # the same object
    with pytest.raises(TypeError):
        t == z.Triangle3(*(P(*p) for p in U[:3]))
    with pytest.raises(TypeError):
        hash(t)
