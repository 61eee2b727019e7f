"""Instances come only from constructors and never change class: Python code
that reaches pybind11's allocator directly, pickles with the old protocols or
reassigns __class__ gets a TypeError (each case runs in a child interpreter,
so a crash fails the test instead of the session)."""

from helpers import SAMPLES, run_child


def survives(code):
    out = run_child(SAMPLES + code)
    assert out.returncode == 0, out.stderr[-3000:]
    return out.stdout


def test_reduce_and_old_pickle_protocols_raise_type_error_or_round_trip():
    survives("""
import copy, pickle
def refused_or_works(f):
    try:
        f()
    except TypeError:
        pass
for s in SAMPLES:
    for proto in range(pickle.HIGHEST_PROTOCOL + 1):
        def round_trip():
            again = pickle.loads(pickle.dumps(s, protocol=proto))
            assert type(again) is type(s) and repr(again) == repr(s)
        refused_or_works(round_trip)
        refused_or_works(lambda: s.__reduce_ex__(proto))
    refused_or_works(s.__reduce__)
    refused_or_works(lambda: copy.copy(s))
    try:
        type(s).__base__()
    except TypeError as e:
        assert "cannot create" in str(e)
    else:
        raise AssertionError("the base class made an instance")
""")


def test_new_cannot_bypass_the_constructors():
    out = survives("""
base = z.Point2.__base__
class Sub(z.Point2):
    pass
class Bare(base):
    pass
for cls in [type(s) for s in SAMPLES] + [Sub]:
    for target in (cls, base, Bare):
        try:
            cls.__new__(target)
        except TypeError:
            pass
        else:
            raise AssertionError(f"{cls.__name__}.__new__({target.__name__}) made an instance")
try:
    Bare()
except TypeError:
    pass
# construction itself, subclasses included, is unchanged
print(repr(Sub(1, 2)), Sub(1, 2) == z.Point2(1, 2), repr(z.Point2(3, 4)))
""")
    assert out.split() == ["Point2(1.000000,", "2.000000)", "True", "Point2(3.000000,", "4.000000)"]


def test_class_assignment_between_classes_is_refused():
    survives("""
classes = [type(s) for s in SAMPLES]
for s in SAMPLES:
    for cls in classes:
        if cls is type(s):
            continue
        for assign in (lambda: setattr(s, "__class__", cls),
                       lambda: object.__setattr__(s, "__class__", cls),
                       lambda: object.__dict__["__class__"].__set__(s, cls)):
            try:
                assign()
            except TypeError:
                pass
            else:
                raise AssertionError(f"{type(s).__name__} became {cls.__name__}")
""")
