import pytest

import zenolith_core as z

W, P = z.WeightedPoint2, z.Point2


def test_constructors_and_repr():
    assert repr(W()) == "WeightedPoint2(point=(0.000000, 0.000000), weight=0.000000)"
    for w in (W(P(1, 2)), W(1.0, 2.0), W(1, 2), W(x=1, y=2)):
        assert (w.x(), w.y(), w.weight()) == (1.0, 2.0, 0.0)
    w = W(P(1, 2), 0.5)
    assert repr(w) == "WeightedPoint2(point=(1.000000, 2.000000), weight=0.500000)"
    assert W(p=P(1, 2), w=-3).weight() == -3.0
    assert repr(W(P(0, 0), float("nan"))).endswith("weight=nan)") or "nan" in repr(W(P(0, 0), float("nan")))
    with pytest.raises(TypeError):
        W(P(1, 2), P(1, 2))


def test_accessors_are_methods():
    w = W(P(1.5, -2), 9)
    assert callable(w.x) and w.x() == 1.5
    assert (w.hx(), w.hy(), w.hw(), w.dimension()) == (1.5, -2.0, 1.0, 2)
    assert w.point() == P(1.5, -2) and type(w.point()) is P
    assert w.cartesian(0) == w[0] == 1.5
    assert w.cartesian(1) == w.cartesian(7) == w[-1] == -2.0
    assert w.homogeneous(0) == 1.5 and w.homogeneous(1) == -2.0
    assert w.homogeneous(2) == w.homogeneous(-1) == w.homogeneous(9) == 1.0
    assert list(w) == [1.5, -2.0]
    x, y = w
    assert (x, y) == (1.5, -2.0)


def test_equality_ignores_weights():
    assert W(P(1, 2), 5.0) == W(P(1, 2), -3.0)
    assert not (W(P(1, 2), 5.0) != W(P(1, 2), -3.0))
    assert W(P(1, 2)) != W(P(1, 3))
    with pytest.raises(TypeError):
        W(P(1, 2)) == P(1, 2)
    with pytest.raises(TypeError):
        hash(W())


def test_bbox_transform_and_point_conversion():
    b = W(P(1, 2), 9.0).bbox()
    assert (b.xmin, b.ymin, b.xmax, b.ymax) == (1.0, 2.0, 1.0, 2.0)
    t = W(P(1, 0), 4.0).transform(z.AffTransformation2(3))
    assert t.point() == P(3, 0) and t.weight() == 4.0
    p = P(W(P(7, 8), 2.0))
    assert type(p) is P and p == P(7, 8)
    assert P(wp=W(1.0, 2.0)) == P(1, 2)
