"""Rules every binding shares: overload choice and argument conversion,
comparison and hashing, attribute assignment, in-place operators, repr
number formatting and the TypeError texts."""

import math

import pytest

import zenolith_core as z
from helpers import FloatLike, FloatRaises, IndexLike, IndexRaises, same_float

INT32_MAX = 2**31 - 1
INT32_MIN = -(2**31)


def test_int_arguments_select_the_int_constructor_first():
    # Both numeric constructors store doubles; the observable difference is
    # which arguments each accepts. A float index shows the int caster
    # refusing floats in both passes.
    assert z.Point2(3, 4) == z.Point2(3.0, 4.0)
    assert z.Point2(True, False) == z.Point2(1.0, 0.0)
    assert z.Point2(3, 4.5) == z.Point2(3.0, 4.5)  # mix: float overload, converted
    assert z.Point2(INT32_MAX, INT32_MIN) == z.Point2(2147483647.0, -2147483648.0)
    assert z.Point2(2**31, 0).x == 2147483648.0  # beyond 32 bits: float overload
    assert z.Point2(2**40, -(2**53) - 1).y == -9007199254740992.0  # rounded to double
    assert z.Point2(IndexLike(5), IndexLike(-6)) == z.Point2(5.0, -6.0)
    assert z.Point2(FloatLike(1.5), FloatLike(-0.0)).y == 0.0
    assert math.copysign(1, z.Point2(FloatLike(1.5), FloatLike(-0.0)).y) == -1


class Both:
    """An index of 1 and a float of 2.5: the value stored tells which
    constructor took it."""

    def __index__(self):
        return 1

    def __float__(self):
        return 2.5


def test_overload_pass_is_visible_through_index_and_float():
    assert z.Point2(Both(), Both()) == z.Point2(1, 1)  # int overload, first pass
    assert z.Point2(Both(), 0.5) == z.Point2(2.5, 0.5)  # float overload, second pass
    assert z.Point2(Both(), 2**31) == z.Point2(2.5, 2**31)
    assert z.Vector2(Both(), Both()).x == 2.5  # a single overload converts at once


def test_float_subclass_is_a_float():
    class F(float):
        pass

    assert z.Point2(F(1.25), F(2)).x == 1.25
    assert z.Vector2(F(0.5), 1).x == 0.5


@pytest.mark.parametrize("args", [
    (None, 1.0), (1.0, None), ("1", 2), (1, 2, 3), (2**1024, 0),
    (FloatRaises(), 0.0), (IndexRaises(), 0), (1j, 0), ([1], 2),
])
def test_unconvertible_arguments_raise_type_error(args):
    with pytest.raises(TypeError, match=r"^__init__\(\): incompatible constructor arguments"):
        z.Point2(*args)


@pytest.mark.parametrize("bad", [1.0, 0.0, 2**31, INT32_MIN - 1, 2**64, None, "0", FloatLike(0)])
def test_int_parameter_refuses_floats_and_values_beyond_32_bits(bad):
    p = z.Point2(1, 2)
    with pytest.raises(TypeError):
        p.cartesian(bad)
    with pytest.raises(TypeError):
        p[bad]


def test_int_parameter_accepts_index_objects_and_bools():
    p = z.Point2(1, 2)
    assert p.cartesian(IndexLike(0)) == 1.0
    assert p[True] == 2.0 and p[False] == 1.0
    assert p[INT32_MAX] == 2.0 and p[INT32_MIN] == 2.0


def test_incompatible_arguments_message():
    with pytest.raises(TypeError) as info:
        z.Point2(1, 2).cartesian("a")
    text = str(info.value)
    assert text.startswith(
        "cartesian(): incompatible function arguments. The following argument types are supported:\n")
    assert "\nInvoked with: Point2(1.000000, 2.000000), 'a'" in text
    with pytest.raises(TypeError, match=r"^zenolith_core\.OrientationResult: No constructor defined!$"):
        z.OrientationResult()


@pytest.mark.parametrize("other", [None, 1, 1.0, "Point2(1.000000, 2.000000)", (1, 2), z.Vector2(1, 2)])
@pytest.mark.parametrize("op", ["__eq__", "__ne__", "__lt__", "__gt__", "__le__", "__ge__"])
def test_comparisons_with_other_types_raise(op, other):
    p = z.Point2(1, 2)
    with pytest.raises(TypeError):
        getattr(p, op)(other)


def test_operator_syntax_raises_too():
    p = z.Point2(1, 2)
    with pytest.raises(TypeError):
        p == 1  # noqa: B015
    with pytest.raises(TypeError):
        p != None  # noqa: E711
    with pytest.raises(TypeError):
        p < "x"  # noqa: B015
    with pytest.raises(TypeError):
        p + p
    with pytest.raises(TypeError):
        z.Vector2(1, 2) * z.Vector2(1, 2)


def test_classes_with_equality_are_unhashable():
    for cls_name in [n for n, c in vars(z).items() if isinstance(c, type)]:
        cls = getattr(z, cls_name)
        if "__eq__" in cls.__dict__:
            assert cls.__hash__ is None, cls_name
    with pytest.raises(TypeError):
        hash(z.Point2())
    with pytest.raises(TypeError):
        {z.Point2()}
    v = z.Vector2(1, 2)  # no __eq__: identity equality and hash
    assert hash(v) == hash(v) and v == v and v != z.Vector2(1, 2)


def test_no_instance_attributes():
    p = z.Point2(1, 2)
    for name in ["x", "hw", "z", "anything"]:
        with pytest.raises(AttributeError):
            setattr(p, name, 1.0)
    with pytest.raises(AttributeError):
        p.__dict__
    with pytest.raises(AttributeError):
        z.Vector2(1, 2).x = 3


def test_unbound_getters_refuse_none():
    with pytest.raises(TypeError):
        z.Point2.x.fget(None)
    with pytest.raises(TypeError):
        z.Point2.cartesian(None, 0)
    with pytest.raises(TypeError):
        z.OrientationResult.left_turn(None)


def test_in_place_operators_rebind_to_a_new_object():
    p = z.Point2(1, 2)
    alias = p
    p += z.Vector2(3, 4)
    assert p is not alias
    assert p == z.Point2(4, 6) and alias == z.Point2(4, 6)  # the first object changed too
    p -= z.Vector2(1, 1)
    assert p == z.Point2(3, 5) and alias == z.Point2(4, 6)
    with pytest.raises(TypeError):
        p += p


@pytest.mark.parametrize("value, text", [
    (1.0, "1.000000"), (-0.0, "-0.000000"), (0.0000004, "0.000000"), (-0.0000004, "-0.000000"),
    (0.0000006, "0.000001"), (0.0000005, "0.000000"), (2.5, "2.500000"), (1e-7, "0.000000"), (5e-324, "0.000000"),
    (1e20, "100000000000000000000.000000"), (123456.1234565, "123456.123457"),
    (float("inf"), "inf"), (float("-inf"), "-inf"),
    (1.7976931348623157e308, "%f" % 1.7976931348623157e308),  # all 309 digits
])
def test_repr_number_format(value, text):
    assert repr(z.Point2(value, 0.0)) == f"Point2({text}, 0.000000)"
    assert str(z.Vector2(0.0, value)) == f"Vector2(0.000000, {text})"


def test_repr_of_nan():
    # NaN prints as the C library prints it; a sign may precede it.
    assert repr(z.Point2(float("nan"), 1.0)) in ("Point2(nan, 1.000000)", "Point2(-nan, 1.000000)")


def test_results_are_new_objects():
    p = z.Point2(1, 2)
    zero = z.Vector2(0, 0)
    assert (p + zero) is not p and (p + zero) == p
    assert same_float((-zero).x, -0.0)


# ---- index rules -----------------------------------------------------------
# No index parameter raises: each accessor follows one of three rules, and
# each rule is one table of (index, item it names) per item count. Every
# accessor is one line in the list of the rule it follows.

LAST, FIRST = INT32_MAX, INT32_MIN

# 0 .. n-1 name themselves; every other index, negative ones included, names
# the last item (a point's cartesian(i): 0 gives x, anything else y).
NAMED_OR_LAST = {
    2: [(0, 0), (1, 1), (2, 1), (5, 1), (7, 1), (-1, 1), (-3, 1), (LAST, 1), (FIRST, 1)],
    3: [(0, 0), (1, 1), (2, 2), (3, 2), (5, 2), (7, 2), (-1, 2), (-3, 2), (LAST, 2), (FIRST, 2)],
    4: [(0, 0), (1, 1), (2, 2), (3, 3), (4, 3), (100, 3), (-1, 3), (LAST, 3), (FIRST, 3)],
}

# Indices above n-1 wrap (i mod n); a negative one becomes (i rem n) + n,
# where n itself names the last item.
CYCLIC = {
    3: [(0, 0), (1, 1), (2, 2), (3, 0), (4, 1), (5, 2), (LAST, 1),
        (-1, 2), (-2, 1), (-3, 2), (-4, 2), (-5, 1), (-6, 2), (FIRST, 1)],
    4: [(0, 0), (1, 1), (2, 2), (3, 3), (4, 0), (5, 1), (7, 3), (8, 0), (LAST, 3),
        (-1, 3), (-2, 2), (-3, 1), (-4, 3), (-5, 3), (-8, 3), (FIRST, 3)],
}

# r = i rem n names item r; every negative remainder names the last item.
REMAINDER = {
    2: [(0, 0), (1, 1), (2, 0), (3, 1), (7, 1), (-1, 1), (-2, 0), (LAST - 1, 0), (LAST, 1),
        (FIRST, 0)],
    4: [(0, 0), (1, 1), (2, 2), (3, 3), (4, 0), (5, 1), (-1, 3), (-2, 3), (-3, 3), (-4, 0),
        (-5, 3), (LAST, 3), (FIRST, 0)],
    8: [(0, 0), (1, 1), (2, 2), (3, 3), (4, 4), (5, 5), (6, 6), (7, 7), (8, 0), (9, 1), (15, 7),
        (-1, 7), (-3, 7), (-7, 7), (-8, 0), (-9, 7), (-16, 0), (LAST, 7), (FIRST, 0)],
}

P2, P3 = z.Point2, z.Point3
RECT_CORNERS = [P2(0, 0), P2(2, 0), P2(2, 1), P2(0, 1)]
CUBOID_CORNERS = [P3(*c) for c in [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0),
                                   (0, 1, 1), (0, 0, 1), (1, 0, 1), (1, 1, 1)]]
TRIANGLE2 = [P2(0, 0), P2(4, 0), P2(0, 4)]
TRIANGLE3 = [P3(0, 0, 0), P3(4, 0, 0), P3(0, 4, 0)]
TETRAHEDRON = [P3(0, 0, 0), P3(1, 0, 0), P3(0, 1, 0), P3(0, 0, 1)]

# One line per class and accessor: (accessor, object, its items in order).
FOLLOW_NAMED_OR_LAST = [
    ("cartesian", P2(1.5, -2.5), [1.5, -2.5]),
    ("__getitem__", P2(1.5, -2.5), [1.5, -2.5]),
    ("homogeneous", P2(1.5, -2.5), [1.5, -2.5, 1.0]),
    ("cartesian", z.WeightedPoint2(P2(1.5, -2.5), 7.0), [1.5, -2.5]),
    ("__getitem__", z.WeightedPoint2(P2(1.5, -2.5), 7.0), [1.5, -2.5]),
    ("homogeneous", z.WeightedPoint2(P2(1.5, -2.5), 7.0), [1.5, -2.5, 1.0]),
    ("min", z.Bbox2(1, 2, 3, 4), [1.0, 2.0]),
    ("max", z.Bbox2(1, 2, 3, 4), [3.0, 4.0]),
    ("delta", z.Direction2(3, -4), [3.0, -4.0]),
    ("min_coord", z.IsoRectangle2(P2(1, 2), P2(3, 5)), [1.0, 2.0]),
    ("max_coord", z.IsoRectangle2(P2(1, 2), P2(3, 5)), [3.0, 5.0]),
    ("cartesian", P3(1, 2, 3), [1.0, 2.0, 3.0]),
    ("__getitem__", P3(1, 2, 3), [1.0, 2.0, 3.0]),
    ("homogeneous", P3(1, 2, 3), [1.0, 2.0, 3.0, 1.0]),
    ("cartesian", z.Vector3(1, 2, 3), [1.0, 2.0, 3.0]),
    ("__getitem__", z.Vector3(1, 2, 3), [1.0, 2.0, 3.0]),
    ("homogeneous", z.Vector3(1, 2, 3), [1.0, 2.0, 3.0, 1.0]),
    ("delta", z.Direction3(1, 2, 3), [1.0, 2.0, 3.0]),
    ("min_coord", z.IsoCuboid3(P3(1, 2, 3), P3(4, 5, 6)), [1.0, 2.0, 3.0]),
    ("max_coord", z.IsoCuboid3(P3(1, 2, 3), P3(4, 5, 6)), [4.0, 5.0, 6.0]),
]

FOLLOW_CYCLIC = [
    ("vertex", z.Triangle2(*TRIANGLE2), TRIANGLE2),
    ("__getitem__", z.Triangle2(*TRIANGLE2), TRIANGLE2),
    ("vertex", z.Triangle3(*TRIANGLE3), TRIANGLE3),
    ("__getitem__", z.Triangle3(*TRIANGLE3), TRIANGLE3),
    ("vertex", z.Tetrahedron3(*TETRAHEDRON), TETRAHEDRON),
    ("__getitem__", z.Tetrahedron3(*TETRAHEDRON), TETRAHEDRON),
]

FOLLOW_REMAINDER = [
    ("vertex", z.Segment2(P2(1, 2), P2(3, 4)), [P2(1, 2), P2(3, 4)]),
    ("point", z.Segment2(P2(1, 2), P2(3, 4)), [P2(1, 2), P2(3, 4)]),
    ("__getitem__", z.Segment2(P2(1, 2), P2(3, 4)), [P2(1, 2), P2(3, 4)]),
    ("vertex", z.Segment3(P3(0, 0, 0), P3(1, 2, 3)), [P3(0, 0, 0), P3(1, 2, 3)]),
    ("point", z.Segment3(P3(0, 0, 0), P3(1, 2, 3)), [P3(0, 0, 0), P3(1, 2, 3)]),
    ("__getitem__", z.Segment3(P3(0, 0, 0), P3(1, 2, 3)), [P3(0, 0, 0), P3(1, 2, 3)]),
    ("vertex", z.IsoRectangle2(P2(0, 0), P2(2, 1)), RECT_CORNERS),
    ("__getitem__", z.IsoRectangle2(P2(0, 0), P2(2, 1)), RECT_CORNERS),
    ("vertex", z.IsoCuboid3(P3(0, 0, 0), P3(1, 1, 1)), CUBOID_CORNERS),
    ("__getitem__", z.IsoCuboid3(P3(0, 0, 0), P3(1, 1, 1)), CUBOID_CORNERS),
]



def _ids(lines):
    return [f"{type(obj).__name__}.{accessor}" for accessor, obj, _ in lines]


def _follows(rule, accessor, obj, items):
    at = getattr(obj, accessor)
    for i, k in rule[len(items)]:
        assert at(i) == items[k], (i, k)
    assert at(IndexLike(1)) == items[1]
    for bad in (1.0, 2**31, INT32_MIN - 1, None, "0"):
        with pytest.raises(TypeError):
            at(bad)


@pytest.mark.parametrize("accessor, obj, items", FOLLOW_NAMED_OR_LAST, ids=_ids(FOLLOW_NAMED_OR_LAST))
def test_named_or_last_index_rule(accessor, obj, items):
    _follows(NAMED_OR_LAST, accessor, obj, items)


@pytest.mark.parametrize("accessor, obj, items", FOLLOW_CYCLIC, ids=_ids(FOLLOW_CYCLIC))
def test_cyclic_index_rule(accessor, obj, items):
    _follows(CYCLIC, accessor, obj, items)


@pytest.mark.parametrize("accessor, obj, items", FOLLOW_REMAINDER, ids=_ids(FOLLOW_REMAINDER))
def test_remainder_index_rule(accessor, obj, items):
    _follows(REMAINDER, accessor, obj, items)
