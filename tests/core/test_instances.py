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


def test_instances_without_a_constructor_are_refused_by_every_binding():
    out = survives("""
import pickle
base = z.Point2.__base__
class Bare(base):
    pass
for cls in [type(s) for s in SAMPLES]:
    bare = cls.__new__(cls)  # allocated, never built
    for use in (repr, pickle.dumps, lambda o: z.orientation(P2, Q2, o)):
        try:
            use(bare)
        except TypeError as e:
            assert "not initialized" in str(e) or type(bare) is not z.Point2, e
        else:
            raise AssertionError(f"an unbuilt {cls.__name__} was used")
    for target in (base, Bare):
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
# Subclasses construct as before, through their own __new__ too.
class Sub(z.Point2):
    pass
class Tagged(z.Point2):
    def __new__(cls, *args):
        self = super().__new__(cls)
        self.tag = len(args)
        return self
t = Tagged(1, 2)
print(repr(Sub(1, 2)), Sub(1, 2) == z.Point2(1, 2), repr(t), t.tag)
""")
    assert out.split() == ["Point2(1.000000,", "2.000000)", "True", "Point2(1.000000,", "2.000000)", "2"]


def test_a_class_cannot_mix_a_module_class_with_another_bound_class():
    out = survives("""
class Mixin:
    pass
class Fine(Mixin, z.Point2):
    pass
for first, second in [(z.Point2, z.Tetrahedron3), (z.Vector2, z.Point2), (Fine, z.Circle3)]:
    try:
        type("Mixed", (first, second), {})
    except TypeError as e:
        assert "another bound class" in str(e), e
    else:
        raise AssertionError(f"{first.__name__} and {second.__name__} were combined")
print(repr(Fine(1, 2)))
""")
    assert out.split() == ["Point2(1.000000,", "2.000000)"]


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
