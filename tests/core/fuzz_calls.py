"""Every binding of every class and module function, and the special methods
every object inherits (reduction, allocation, class assignment, a second
__init__, in-place chains), a trip through pickle and deepcopy, called with random arguments of many kinds:
nothing may crash, hang, or raise anything but the documented exception
types. New classes are picked up without edits.

test_fuzz.py runs this file in child interpreters, one per batch of targets
(ZENOLITH_FUZZ_BATCH="i/n"); each call is written to ZENOLITH_FUZZ_LAST_CALL
before it is made, so that a crash is reported with its arguments."""

import copy
import math
import pickle

import pytest
from hypothesis import given, settings
from hypothesis import strategies as st

import zenolith_core as z
from fuzzing import BATCH, build_pool, calling, examples, fuzz_settings, in_this_batch, text
from helpers import PYBIND_EXTRAS, FloatLike, FloatRaises, IndexLike, IndexRaises

ALLOWED = (TypeError, ValueError, OverflowError, AttributeError)
CLASSES = [c for c in vars(z).values() if isinstance(c, type)]
FUNCTIONS = [f for n, f in vars(z).items() if not n.startswith("__") and not isinstance(f, type)]

# Bindings whose cost grows with an argument's size get only small ones.
SMALL_ARGUMENTS = {("Bbox2", "dilate")}

# Sized so that the default run stays well under a minute on two cores; set
# ZENOLITH_FUZZ_EXAMPLES higher for a deeper run. The inherited special
# methods share one implementation across classes and get half as many.
EXAMPLES = examples(16)
FUZZ_SETTINGS = fuzz_settings(EXAMPLES)


class BadRepr:
    """An argument that cannot even be printed in an error message."""

    def __repr__(self):
        raise ZeroDivisionError("no repr")


def _rows():
    rows = []
    for n in range(10):
        rows.append([i + 1.5 for i in range(n)])
        rows.append([(i * 7) % 5 - 2 for i in range(n)])  # ints, some repeated
        rows.append([(-1.0) ** i * (i + 0.25) for i in range(n)])
        rows.append([round(3 * math.sin(1.7 * i + n), 3) for i in range(n)])  # general position
    return rows


POOL = build_pool(CLASSES, FUNCTIONS, _rows(), ALLOWED)
INSTANCES = [obj for objs in POOL.values() for obj in objs]

SCALARS = st.one_of(
    st.integers(min_value=-(2**70), max_value=2**70),
    st.sampled_from([0, 1, -1, 2, 2**31 - 1, 2**31, -(2**31), -(2**31) - 1, 2**63, 2**64, 2**1024]),
    st.floats(allow_nan=True, allow_infinity=True),
    st.sampled_from([0.0, -0.0, math.inf, -math.inf, math.nan, 5e-324, 1.7976931348623157e308]),
    st.booleans(),
    st.none(),
    st.text(max_size=3),
    st.sampled_from([FloatLike(2.5), FloatLike(math.nan), FloatRaises(), IndexLike(3),
                     IndexLike(2**40), IndexRaises(), BadRepr(), object(), [], (1, 2), 1j]),
)
SMALL_SCALARS = st.one_of(st.integers(min_value=-64, max_value=64), st.booleans(),
                          st.floats(allow_nan=True), st.none())
KEYWORDS = ["x", "y", "i", "p", "q", "t", "v", "wp", "p1", "scalar", "factor", "dist"]


def _arguments(owner, name):
    scalars = SMALL_SCALARS if (getattr(owner, "__name__", ""), name) in SMALL_ARGUMENTS else SCALARS
    values = st.one_of(scalars, st.sampled_from(INSTANCES)) if INSTANCES else scalars
    free = st.lists(values, max_size=5)
    own = POOL.get(owner) or []
    if own:  # mostly called on a real instance of its own class
        bound = st.tuples(st.sampled_from(own), st.lists(values, max_size=4))
        free = st.one_of(free, bound.map(lambda t: [t[0], *t[1]]), bound.map(lambda t: [t[0], *t[1]]))
    kwargs = st.one_of(st.just({}), st.dictionaries(st.sampled_from(KEYWORDS), values, max_size=2))
    return st.tuples(free, kwargs)


def _reinit(obj, *args, **kwargs):
    obj.__init__(*args, **kwargs)


def _assign_class(obj, model=None, *_, **__):
    if isinstance(obj, tuple(CLASSES)):  # leave the shared argument helpers alone
        obj.__class__ = model if isinstance(model, type) else type(model)


def _add_in_place(obj, *operands, **_):
    for operand in operands:
        obj += operand
        obj -= operand


def _travel(obj, protocol=None, *_, **__):
    """Pickled at a random protocol and deep-copied: may succeed, or refuse a
    value it cannot rebuild exactly with one of the documented errors."""
    if isinstance(obj, tuple(CLASSES)):
        valid = type(protocol) is int and 0 <= protocol <= pickle.HIGHEST_PROTOCOL
        pickle.loads(pickle.dumps(obj, protocol if valid else None))
        return copy.deepcopy(obj)


def _inherited(cls):
    """What every instance inherits besides its bindings."""

    def allocate(model=None, *args, **kwargs):
        bare = cls.__new__(model if isinstance(model, type) else type(model), *args, **kwargs)
        return repr(bare)  # an instance no constructor built: refused, never read

    yield "__reduce__", cls.__reduce__
    yield "__reduce_ex__", cls.__reduce_ex__
    yield "__new__", allocate
    yield "__class__=", _assign_class
    yield "__init__ again", _reinit
    yield "+= chain", _add_in_place
    yield "pickle and copy", _travel


# CPython's own methods let the errors of the argument helpers through
# (a failing __index__), where the module's bindings turn them into TypeError.
INHERITED = {name for name, _ in _inherited(object)}
HELPER_ERRORS = (ZeroDivisionError,)


def _all_targets():
    for cls in CLASSES:
        for name, target in _inherited(cls):
            yield pytest.param(cls, name, target, id=f"{cls.__name__}.{name}")
        for name, attr in list(cls.__dict__.items()):
            if name in PYBIND_EXTRAS:
                continue
            if name == "__init__":
                yield pytest.param(cls, name, cls, id=f"{cls.__name__}()")
            elif isinstance(attr, property):
                yield pytest.param(cls, name, attr.fget, id=f"{cls.__name__}.{name}")
            else:
                yield pytest.param(cls, name, getattr(cls, name), id=f"{cls.__name__}.{name}")
    for f in FUNCTIONS:
        yield pytest.param(None, f.__name__, f, id=f.__name__)


def _targets():
    return in_this_batch(list(_all_targets()))


@pytest.mark.parametrize("owner, name, target", _targets())
def test_binding_survives_random_arguments(owner, name, target):
    @settings(FUZZ_SETTINGS, max_examples=max(1, EXAMPLES // 2) if name in INHERITED else EXAMPLES)
    @given(call=_arguments(owner, name))
    def run(call):
        args, kwargs = call
        target_id = name if owner is None else f"{owner.__name__}{'()' if name == '__init__' else '.' + name}"
        allowed = ALLOWED + HELPER_ERRORS if name in INHERITED else ALLOWED
        with calling(target_id, f"{target_id}(*{text(args)}, **{text(kwargs)})"):
            try:
                result = target(*args, **kwargs)
            except allowed:
                return
            repr(result)

    run()


@pytest.mark.skipif(BATCH != 0, reason="runs in the first batch")
def test_every_class_can_be_made_or_obtained():
    missing = [cls.__name__ for cls, objs in POOL.items() if not objs]
    assert not missing


@pytest.mark.skipif(BATCH != 0, reason="runs in the first batch")
def test_reading_every_attribute_of_every_instance():
    for obj in INSTANCES:
        for name in dir(obj):
            try:
                attr = getattr(obj, name)
                if callable(attr) and not name.startswith("__"):
                    attr()
            except ALLOWED:
                pass
