import math

import pytest
from hypothesis import given, settings
from hypothesis import strategies as st

import zenolith_core as z
from helpers import same_float

INF, NAN = math.inf, math.nan
TINY = 5e-324  # smallest subnormal
MAX = 1.7976931348623157e308


def bounds(b):
    return (b.xmin, b.ymin, b.xmax, b.ymax)


def test_empty_box_is_neutral_for_union():
    e = z.Bbox2()
    assert bounds(e) == (INF, INF, -INF, -INF)
    assert repr(e) == "Bbox2(inf, inf, -inf, -inf)"
    b = z.Bbox2(0, -1, 2.5, 3)
    assert e + b == b and b + e == b
    assert e == z.Bbox2()


def test_bounds_are_stored_unchanged():
    b = z.Bbox2(xmin=5, ymin=-0.0, xmax=1, ymax=NAN)
    assert b.xmin == 5.0 and same_float(b.ymin, -0.0) and math.isnan(b.ymax)
    assert b != b and not b == b  # NaN bound: unequal to itself
    assert b.dimension() == 2
    assert b.max(0) == 1.0 and math.isnan(b.max(1))


def test_union_takes_left_bound_when_comparison_fails():
    a = z.Bbox2(NAN, 0, NAN, 1)
    b = z.Bbox2(-1, -1, 2, 2)
    u = a + b
    assert math.isnan(u.xmin) and math.isnan(u.xmax)  # b < NaN and NaN < b are false
    v = b + a
    assert (v.xmin, v.xmax) == (-1.0, 2.0)
    w = z.Bbox2(0.0, 0, 0.0, 0) + z.Bbox2(-0.0, 0, -0.0, 0)
    assert same_float(w.xmin, 0.0) and same_float(w.xmax, 0.0)


def test_in_place_union_changes_the_box_and_rebinds():
    b = z.Bbox2(0, 0, 1, 1)
    alias = b
    b += z.Bbox2(-1, 0.5, 0.5, 3)
    assert b is not alias and bounds(alias) == bounds(b) == (-1.0, 0.0, 1.0, 3.0)


def test_dilate_steps_representable_values():
    b = z.Bbox2(0, 0, 1, 1)
    b.dilate(1)
    assert bounds(b) == (-TINY, -TINY, 1.0000000000000002, 1.0000000000000002)
    b.dilate(-1)
    assert bounds(b) == (0.0, 0.0, 1.0, 1.0)
    c = z.Bbox2(-1, 2, 3, 4)
    c.dilate(0)
    assert bounds(c) == (-1.0, 2.0, 3.0, 4.0)
    d = z.Bbox2(0, 0, 0, 0)
    d.dilate(3)
    assert bounds(d) == (-3 * TINY, -3 * TINY, 3 * TINY, 3 * TINY)
    d.dilate(-5)  # back across zero
    assert bounds(d) == (2 * TINY, 2 * TINY, -2 * TINY, -2 * TINY)
    e = z.Bbox2(1, 1, 2, 2)
    e.dilate(-(2**30))  # big steps go binade by binade, not one by one
    assert bounds(e) == (1 + 2**-22, 1 + 2**-22, 2 - 2**-22, 2 - 2**-22)
    n = z.Bbox2(2.2250738585072014e-308, 0, 1, 1)  # smallest normal, stepping into subnormals
    n.dilate(1)
    assert n.xmin == 2.2250738585072014e-308 - TINY


def stepped(v, n):
    """The definition of dilation: |n| single steps to the adjacent double."""
    for _ in range(abs(n)):
        v = math.nextafter(v, INF if n > 0 else -INF)
    if math.isinf(v):
        raise OverflowError
    return v


# Zeros of both signs, subnormals, the smallest normals, the top binade.
EDGES = [0.0, -0.0, TINY, -TINY, 7 * TINY, 2.2250738585072014e-308, -2.2250738585072014e-308,
         1.0, -0.75, 1.5e308, -1.5e308, MAX, -MAX, math.nextafter(MAX, 0), -math.nextafter(MAX, 0)]
BOUNDS = st.one_of(st.sampled_from(EDGES), st.floats(allow_nan=False, allow_infinity=False))


@settings(max_examples=300, deadline=None)
@given(box=st.lists(BOUNDS, min_size=4, max_size=4), dist=st.integers(-300, 300))
def test_dilate_equals_stepping_one_value_at_a_time(box, dist):
    b = z.Bbox2(*box)
    try:
        expected = [stepped(box[0], -dist), stepped(box[1], -dist),
                    stepped(box[2], dist), stepped(box[3], dist)]
    except OverflowError:
        with pytest.raises(OverflowError, match=r"^Error in function float_next<double>\(double\): "
                                                r"Overflow Error$"):
            b.dilate(dist)
        expected = box  # all or nothing
    else:
        b.dilate(dist)
    assert all(same_float(got, want) for got, want in zip(bounds(b), expected))


@settings(max_examples=100, deadline=None)
@given(box=st.lists(BOUNDS, min_size=4, max_size=4),
       dist=st.integers(-(2**31) + 1, 2**31 - 2))
def test_far_dilation_ends_one_step_from_the_one_before(box, dist):
    b, before = z.Bbox2(*box), z.Bbox2(*box)
    try:
        before.dilate(dist)
        b.dilate(dist + 1)
    except OverflowError:
        return
    # (equal as numbers: the sign of a zero depends on where the walk began)
    assert bounds(b) == tuple(stepped(v, n) for v, n in zip(bounds(before), (-1, -1, 1, 1)))


def test_dilate_takes_constant_time_and_returns_to_signed_zeros():
    n = 2**31 - 1  # one step at a time this would take minutes
    b = z.Bbox2(0.0, -0.0, 0.0, 1.0)
    b.dilate(n)
    assert bounds(b) == (-n * TINY, -n * TINY, n * TINY, 1 + n * 2**-52)
    b.dilate(-n)  # a zero reached from below is -0.0, from above 0.0
    assert [same_float(v, w) for v, w in zip(bounds(b), (-0.0, -0.0, 0.0, 1.0))] == [True] * 4


def test_dilate_by_the_smallest_int_moves_every_bound_down():
    # -dist wraps to -2**31 in 32 bits, so the lower bounds move down as well
    b = z.Bbox2(-1.0, -0.5, 1.0, 2.0)
    b.dilate(-(2**31))
    assert bounds(b) == (-1 - 2**-21, -0.5 - 2**-22, 1 - 2**-22, 2 - 2**-21)


@pytest.mark.parametrize("box", [(0, 0, MAX, 1), (-MAX, 0, 1, 1), (0, 0, math.nextafter(MAX, 0), 1)])
@pytest.mark.parametrize("dist", [2, 2**31 - 1])
def test_dilating_past_the_largest_double_overflows_whatever_the_steps(box, dist):
    b = z.Bbox2(*box)
    with pytest.raises(OverflowError, match=r"^Error in function float_next<double>\(double\): "
                                            r"Overflow Error$"):
        b.dilate(dist)
    assert bounds(b) == box


@pytest.mark.parametrize("box", [(INF, 0, 1, 1), (0, 0, 1, -INF), (NAN, 0, 1, 1), (0, NAN, 1, 1)])
@pytest.mark.parametrize("dist", [0, 1, -1])
def test_dilate_refuses_non_finite_bounds_and_keeps_the_box(box, dist):
    b = z.Bbox2(*box)
    before = repr(b)
    with pytest.raises(ValueError) as info:
        b.dilate(dist)
    assert str(info.value).startswith(
        "Error in function float_advance<double>(double, int): Argument val must be finite, but got ")
    assert repr(b) == before


def test_dilating_the_empty_box_raises():
    with pytest.raises(ValueError, match=r"got inf$"):
        z.Bbox2().dilate(0)


def test_dilate_overflow_is_all_or_nothing():
    b = z.Bbox2(0, 0, MAX, 1)
    with pytest.raises(OverflowError) as info:
        b.dilate(1)
    assert str(info.value) == "Error in function float_next<double>(double): Overflow Error"
    # xmin and ymin would have moved before xmax failed: they did not.
    assert bounds(b) == (0.0, 0.0, MAX, 1.0)
    c = z.Bbox2(-MAX, 0, 1, 1)
    with pytest.raises(OverflowError, match=r"^Error in function float_(next|prior)<double>\(double\): "
                                            r"Overflow Error$"):
        c.dilate(1)
    assert bounds(c) == (-MAX, 0.0, 1.0, 1.0)


def test_dilate_argument_is_a_32_bit_int():
    b = z.Bbox2(0, 0, 1, 1)
    for bad in (1.0, 2**31, None):
        with pytest.raises(TypeError):
            b.dilate(bad)
    assert b.dilate(dist=0) is None


def test_scale_by_the_written_steps():
    b = z.Bbox2(0, 0, 2, 4)
    assert b.scale(0.5) is None
    assert bounds(b) == (0.5, 1.0, 1.5, 3.0)
    b = z.Bbox2(0, 0, 2, 4)
    b.scale(-1)
    assert bounds(b) == (2.0, 4.0, 0.0, 0.0)
    # factor 1 still recomputes: c = (lo+hi)*0.5, h = ((hi-lo)*0.5)*1, c-h, c+h
    lo, hi = 0.1, 0.7
    c, h = (lo + hi) * 0.5, ((hi - lo) * 0.5) * 1.0
    b = z.Bbox2(lo, lo, hi, hi)
    b.scale(1)
    assert bounds(b) == (c - h, c - h, c + h, c + h)
    assert (c - h, c + h) != (lo, hi)  # rounding moved the bounds
    e = z.Bbox2()
    e.scale(2)
    assert all(math.isnan(v) for v in bounds(e))


@pytest.mark.parametrize("other, expected", [
    ((1, 1, 2, 2), True),  # touching corner
    ((1, 0, 2, 1), True),  # touching edge
    ((1.5, 0, 2, 1), False),
    ((-3, -3, -2, -2), False),
    ((0, 1.5, 1, 2), False),
    ((0.2, 0.2, 0.3, 0.3), True),
    ((NAN, NAN, NAN, NAN), True),  # comparisons with NaN never exclude
])
def test_do_overlap(other, expected):
    a = z.Bbox2(0, 0, 1, 1)
    assert a.do_overlap(z.Bbox2(*other)) is expected
    assert z.Bbox2(*other).do_overlap(a) is expected


def test_repr_and_hash():
    assert repr(z.Bbox2(0, -0.0, 1.5, 2)) == "Bbox2(0.000000, -0.000000, 1.500000, 2.000000)"
    with pytest.raises(TypeError):
        hash(z.Bbox2())
    with pytest.raises(TypeError):
        z.Bbox2() == z.Bbox3()
