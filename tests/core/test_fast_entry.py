"""The hottest bindings serve exactly typed positional calls without pybind11's
dispatcher. Every such call must give what the dispatcher gives: the same
overload, the same result bit for bit, the same errors. Subclass instances,
float subclasses, ints and keywords always take the dispatcher, so each case
is called both ways and compared."""

import copyreg
import math
import struct

import pytest
from hypothesis import given, settings
from hypothesis import strategies as st

import zenolith_core as z


class P2(z.Point2):
    pass


class V2(z.Vector2):
    pass


class P3(z.Point3):
    pass


class V3(z.Vector3):
    pass


class F(float):
    pass


class I(int):
    pass


SUB = {z.Point2: P2, z.Vector2: V2, z.Point3: P3, z.Vector3: V3}


def slow(value):
    """The same value as an argument the fast entries never serve."""
    if type(value) is float:
        return F(value)
    if type(value) is int:
        return I(value)
    cls = SUB[type(value)]
    return cls(*(getattr(value, c) for c in "xyz" if hasattr(value, c)))


def bits(x):
    """A result as comparable data: its type and every number's bits. Which
    NaN an operation on two NaNs returns depends on the operand order the
    compiler picked for each copy of the code (IEEE leaves it open), so NaNs
    compare as NaN."""
    if type(x) is float:
        return "nan" if math.isnan(x) else struct.pack("<d", x)
    if type(x) in (bool, z.OrientationResult):
        return repr(x)
    return type(x).__name__, [bits(getattr(x, c)) for c in "xyz" if hasattr(x, c)]


coords = st.floats(allow_nan=True, allow_infinity=True) | st.sampled_from([0.0, -0.0, math.nan])
ints = st.integers(-(2**31), 2**31 - 1) | st.integers(-(2**70), 2**70)
p2 = st.builds(z.Point2, coords, coords)
v2 = st.builds(z.Vector2, coords, coords)
p3 = st.builds(z.Point3, coords, coords, coords)
v3 = st.builds(z.Vector3, coords, coords, coords)

# (name, strategy of (callable, arguments)): each fast entry, every overload it serves.
CALLS = {
    "Point2.x/y": st.tuples(st.sampled_from([lambda p: p.x, lambda p: p.y]), st.tuples(p2)),
    "Point3.x/y/z": st.tuples(st.sampled_from([lambda p: p.x, lambda p: p.z]), st.tuples(p3)),
    "Vector2/3.x": st.tuples(st.just(lambda v: v.x), st.tuples(v2 | v3)),
    "Point2 - Point2/Vector2": st.tuples(st.just(lambda a, b: a - b), st.tuples(p2, p2 | v2)),
    "Point3 -+ Vector3": st.tuples(st.sampled_from([lambda a, b: a - b, lambda a, b: a + b]),
                                   st.tuples(p3, v3)),
    "Vector2 ops": st.tuples(st.sampled_from([lambda a, b: a + b, lambda a, b: a - b]),
                             st.tuples(v2, v2)),
    "Vector3 * Vector3/float": st.tuples(st.just(lambda a, b: a * b), st.tuples(v3, v3 | coords)),
    "scaling": st.tuples(st.sampled_from([lambda a, s: a * s, lambda a, s: s * a, lambda a, s: -a]),
                         st.tuples(v2 | v3, coords)),
    "comparisons": st.tuples(
        st.sampled_from([lambda a, b: a == b, lambda a, b: a != b, lambda a, b: a < b,
                         lambda a, b: a > b, lambda a, b: a <= b, lambda a, b: a >= b]),
        st.tuples(p2, p2) | st.tuples(p3, p3)),
    "orientation": st.tuples(st.just(z.orientation), st.tuples(p2, p2, p2)),
    "constructors": st.tuples(st.sampled_from([z.Point2, z.Vector2]), st.tuples(coords, coords))
    | st.tuples(st.sampled_from([z.Point3, z.Vector3]), st.tuples(coords, coords, coords)),
    # ints that fit the int overload, and larger ones that fall to the float overload
    "int constructors": st.tuples(st.just(z.Point2), st.tuples(ints, ints))
    | st.tuples(st.just(z.Point3), st.tuples(ints, ints, ints)),
}


@pytest.mark.parametrize("case", CALLS, ids=list(CALLS))
@settings(max_examples=150, deadline=None)
@given(data=st.data())
def test_fast_calls_match_the_dispatcher(case, data):
    f, args = data.draw(CALLS[case])
    fast = bits(f(*args))
    for i in range(len(args)):  # each argument in turn taken off the fast path
        assert bits(f(*args[:i], slow(args[i]), *args[i + 1:])) == fast, (case, args, i)


def test_calls_the_fast_entries_do_not_serve_go_to_the_dispatcher():
    p, q, v = z.Point2(1.0, 2.0), z.Point2(3.0, 5.0), z.Vector2(0.5, 0.25)
    # keywords, ints, other overloads, and a second __init__ (ignored as before)
    assert repr(z.Point2(x=1.0, y=2.0)) == repr(z.Point2(1, 2)) == repr(p)
    assert repr(z.orientation(p1=p, p2=q, p3=z.Point2(0, 0))) == repr(z.orientation(p, q, z.Point2(0, 0)))
    assert repr(z.Vector3(z.Point3(0, 0, 0), z.Point3(1, 2, 3))) == "Vector3(1.000000, 2.000000, 3.000000)"
    p.__init__(7.0, 8.0)
    assert (p.x, p.y) == (1.0, 2.0)
    # wrong types raise the dispatcher's own error, naming every overload
    for call in (lambda: p - None, lambda: p - 1.0, lambda: z.orientation(p, q, v),
                 lambda: z.Point2(1.0, None), lambda: z.Point2(1.0, 2.0, 3.0), lambda: v * "2",
                 lambda: z.Point2.x.fget(None), lambda: p < v):
        with pytest.raises(TypeError, match="incompatible"):
            call()
    # an instance that no constructor built is refused, fast entry or not
    bare = z.Point2.__new__(z.Point2)
    for call in (lambda: bare.x, lambda: p - bare, lambda: z.orientation(p, q, bare), lambda: bare == p):
        with pytest.raises(TypeError, match="not initialized"):
            call()


def test_subclass_constructors_may_reenter_the_fast_entries():
    log = []

    class Logged(z.Point2):
        def __init__(self, x, y):
            log.append(z.Point2(x, y).x)  # a fast call while this one is under way
            super().__init__(x, y)
            log.append(self.y + (self - z.Point2(0.0, 0.0)).x)

    a = Logged(1.5, 2.5)
    assert log == [1.5, 4.0] and type(a) is Logged and repr(a) == "Point2(1.500000, 2.500000)"


def test_every_comparison_entry_matches_the_dispatcher():
    """==, !=, <, >, <=, >= come from shared templates for every class that has
    them; each is called on samples, then with a subclass instance rebuilt
    from the same arguments (the pickling reducer's), which the dispatcher
    serves."""
    from helpers import SAMPLES

    names = {}
    exec(SAMPLES, names)
    samples = names["SAMPLES"] + [z.Point2(math.nan, 1.0), z.Direction2(-1, 0), z.Line2(2, 4, 6)]
    for a in samples:
        cls = type(a)
        ops = [op for op in ("__eq__", "__ne__", "__lt__", "__gt__", "__le__", "__ge__") if op in cls.__dict__]
        if not ops:
            continue
        make, args = copyreg.dispatch_table[cls](a)[:2]
        if make is not cls:
            continue
        sub = type("Sub", (cls,), {})(*args)
        for b in [s for s in samples if type(s) is cls]:
            for op in ops:
                assert getattr(a, op)(b) == getattr(sub, op)(b), (a, op, b)
                assert getattr(a, op)(a) == getattr(sub, op)(sub), (a, op)
