import pytest

import zenolith_core as z
from helpers import same_float


def test_constructor_converts_in_one_pass():
    assert (z.Vector2(1, 2).x, z.Vector2(1, 2).y) == (1.0, 2.0)
    assert z.Vector2(True, 2**40).y == 2.0**40
    assert z.Vector2(y=1, x=2).x == 2.0
    with pytest.raises(TypeError):
        z.Vector2()
    with pytest.raises(TypeError):
        z.Vector2(1.0)


def test_arithmetic_and_scalars():
    a, b = z.Vector2(1, 2), z.Vector2(0.5, -4)
    assert repr(a + b) == "Vector2(1.500000, -2.000000)"
    assert repr(a - b) == "Vector2(0.500000, 6.000000)"
    assert repr(a * 3) == repr(3 * a) == "Vector2(3.000000, 6.000000)"
    assert repr(a * True) == "Vector2(1.000000, 2.000000)"
    assert repr(a * 0.1) == repr(z.Vector2(1 * 0.1, 2 * 0.1))
    n = -z.Vector2(0, 0)
    assert same_float(n.x, -0.0) and same_float(n.y, -0.0)
    assert repr(n) == "Vector2(-0.000000, -0.000000)"
    m = a * -0.0
    assert same_float(m.x, -0.0)
    inf = a * float("inf")
    assert inf.x == float("inf")
    for bad in (b, None, "2"):
        with pytest.raises(TypeError):
            a * bad
    with pytest.raises(TypeError):
        a / 2
    with pytest.raises(TypeError):
        a @ b


def test_identity_semantics():
    a = z.Vector2(1, 2)
    assert a == a and a != z.Vector2(1, 2)
    assert hash(a) == hash(a)
    with pytest.raises(TypeError):
        a < z.Vector2(1, 2)
