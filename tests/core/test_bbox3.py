import math

import pytest

import zenolith_core as z
from helpers import same_float

INF, NAN = math.inf, math.nan


def bounds(b):
    return (b.xmin, b.ymin, b.zmin, b.xmax, b.ymax, b.zmax)


def test_empty_box():
    e = z.Bbox3()
    assert bounds(e) == (INF, INF, INF, -INF, -INF, -INF)
    assert repr(e) == "Bbox3(inf, inf, inf, -inf, -inf, -inf)"


def test_bounds_are_stored_unchanged():
    b = z.Bbox3(1, 2, 3, 4, 5, 6)  # ints reach the float constructor by conversion
    assert bounds(b) == (1.0, 2.0, 3.0, 4.0, 5.0, 6.0) and type(b.zmax) is float
    assert repr(b) == "Bbox3(1.000000, 2.000000, 3.000000, 4.000000, 5.000000, 6.000000)"
    inverted = z.Bbox3(5, 0, 0, 1, 1, 1)  # xmin > xmax is kept, not reordered
    assert bounds(inverted) == (5.0, 0.0, 0.0, 1.0, 1.0, 1.0)
    odd = z.Bbox3(xmin=-0.0, ymin=-1e-7, zmin=2**40, xmax=0.5, ymax=-INF, zmax=NAN)
    assert same_float(odd.xmin, -0.0) and odd.zmin == 2.0**40 and math.isnan(odd.zmax)
    assert repr(odd).startswith(
        "Bbox3(-0.000000, -0.000000, 1099511627776.000000, 0.500000, -inf, ")


@pytest.mark.parametrize("args", [(1, 2, 3), (1, 2, 3, 4, 5, 6, 7), (None, 0, 0, 1, 1, 1),
                                  ("1", 0, 0, 1, 1, 1), (2**1024, 0, 0, 1, 1, 1)])
def test_constructor_refuses_bad_arguments(args):
    with pytest.raises(TypeError, match=r"^__init__\(\): incompatible constructor arguments"):
        z.Bbox3(*args)


def test_identity_equality_and_hash():
    a, b = z.Bbox3(1, 2, 3, 4, 5, 6), z.Bbox3(1, 2, 3, 4, 5, 6)
    assert a == a and a != b and not a == b
    assert hash(a) == hash(a) and len({a, b}) == 2
    assert (a == 1) is False  # default object equality, no TypeError
    with pytest.raises(TypeError):
        a < b


def test_read_only_and_no_operations():
    b = z.Bbox3(0, 0, 0, 1, 1, 1)
    for name in ("xmin", "zmax", "other"):
        with pytest.raises(AttributeError):
            setattr(b, name, 2.0)
    for name in ("dimension", "dilate", "scale", "do_overlap", "__add__", "__getitem__"):
        assert not hasattr(b, name)
    with pytest.raises(TypeError):
        b + b
