"""Every public function and class of zenolith called with random arguments:
nothing may crash, hang, or raise anything but the exception types the
package documents.

The targets are found by introspection: the names in ``__all__`` of the
package and of its public modules (a module without ``__all__``: the
functions and classes it defines), and every public method and property of
those classes, called on an instance after a few other random calls. The
arguments follow each function's annotations (its overloads included) most
of the time, and are anything at all the rest: core objects of every class,
degenerate and at extreme magnitudes, numpy arrays of every dtype, rank and
layout, buffers, ragged lists, absurd sizes, wrong keywords.

Allowed outcomes: a result (which must have a repr; an SVG document must
parse, with finite numbers), or TypeError, ValueError (documented throughout
the package), OverflowError (a number beyond the doubles, in an argument or
in a constructed result), MemoryError (an array too large to read), an error
the arguments' own methods raised, OSError where a parameter is a path, and
any other exception the callable's docstring names.

test_companion_fuzz.py runs this file in child interpreters, one per batch of
targets; each call is written, as Python that repeats it, to
ZENOLITH_FUZZ_LAST_CALL before it is made."""

import array
import builtins
import collections.abc
import copyreg
import decimal
import enum
import fractions
import importlib
import inspect
import math
import os
import pkgutil
import re
import sys
import types
import typing

import numpy as np
import numpy.typing as npt
import pytest
from hypothesis import given, settings
from hypothesis import strategies as st

import zenolith
import zenolith_core as z
from fuzzing import BATCH, build_pool, calling, examples, found, fuzz_settings, in_this_batch, text
from helpers import parse_svg

pytestmark = pytest.mark.filterwarnings("ignore")  # numpy's casting warnings are not outcomes

EXAMPLES = examples(12)
FUZZ_SETTINGS = fuzz_settings(EXAMPLES)


# ---- arguments with a source text ----------------------------------------------

class ArgumentError(Exception):
    """Raised by the helper arguments' own methods; letting it through is fine."""


class FloatLike:
    def __init__(self, v):
        self.v = v

    def __float__(self):
        return self.v

    def __repr__(self):
        return f"FloatLike({self.v!r})"


class IndexLike(FloatLike):
    def __index__(self):
        return self.v

    def __repr__(self):
        return f"IndexLike({self.v!r})"


class Raises:
    """Every conversion a library might try raises ArgumentError."""

    def _raise(self, *_):
        raise ArgumentError("the argument's own method")

    __float__ = __index__ = __int__ = __len__ = __iter__ = __getitem__ = _raise
    __array__ = __fspath__ = __bool__ = _raise

    def __repr__(self):
        return "Raises()"


class BadRepr:
    def __repr__(self):
        raise ArgumentError("no repr")


class LyingSequence:
    """Claims three items, has one."""

    def __len__(self):
        return 3

    def __getitem__(self, i):
        if i == 0:
            return [1.0, 2.0]
        raise IndexError(i)

    def __repr__(self):
        return "LyingSequence()"


HELPERS = {c.__name__: c for c in (FloatLike, IndexLike, Raises, BadRepr, LyingSequence)}
NAMESPACE = {"np": np, "z": z, "zenolith": zenolith, "array": array, "inf": math.inf, "nan": math.nan,
             "fractions": fractions, "decimal": decimal, **HELPERS}


class Arg:
    """An argument and the Python source that makes it again."""

    __slots__ = ("value", "src")

    def __init__(self, value, src):
        self.value, self.src = value, src

    def __repr__(self):
        return self.src


def made(src):
    return Arg(eval(src, NAMESPACE), src)


def source(v):
    """Python source that rebuilds `v` exactly (floats by repr, core objects
    by their pickling reducers)."""
    if isinstance(v, Arg):
        return v.src
    if isinstance(v, (list, tuple)):
        inner = ", ".join(source(x) for x in v)
        return f"[{inner}]" if isinstance(v, list) else f"({inner}{',' if len(v) == 1 else ''})"
    if isinstance(v, dict):
        return "{" + ", ".join(f"{source(k)}: {source(x)}" for k, x in v.items()) + "}"
    if type(v) in copyreg.dispatch_table and type(v).__module__ == "zenolith_core":
        try:
            make, args = copyreg.dispatch_table[type(v)](v)[:2]
            return f"z.{make.__name__}({', '.join(source(a) for a in args)})"
        except Exception:  # a value its reducer refuses: named, not rebuilt
            return f"no_exact_source({text(v)!r})"
    return text(v)


def unwrap(v):
    if isinstance(v, Arg):
        return v.value
    if type(v) is list:
        return [unwrap(x) for x in v]
    if type(v) is tuple:
        return tuple(unwrap(x) for x in v)
    if type(v) is dict:
        return {k: unwrap(x) for k, x in v.items()}
    return v


# ---- core objects -----------------------------------------------------------

CLASSES = [c for c in vars(z).values() if isinstance(c, type)]
FUNCTIONS = [f for n, f in vars(z).items() if not n.startswith("__") and not isinstance(f, type)]
POOL_ERRORS = (TypeError, ValueError, OverflowError, AttributeError)

ORDINARY = [1.5, -2.0, 0.0, 3.0, 0.25, -1.0, 2.5, 4.0, -0.5]
EXTREME = [0.0, -0.0, 5e-324, -1e-320, 2.2250738585072014e-308, 1e-160, -1e154, 1e308,
           -1.7976931348623157e308, math.inf, -math.inf, math.nan]


def _rows(values, offsets):
    rows = []
    for n in range(10):
        for k in offsets:
            rows.append([values[(k + 5 * i) % len(values)] for i in range(n)])
    return rows


def _pool():
    ordinary = _rows(ORDINARY, range(3)) + [[(i * 7) % 5 - 2 for i in range(n)] for n in range(10)]
    extreme = _rows(EXTREME, range(0, 12, 2)) + [[v] * n for v in EXTREME for n in (2, 3, 4, 6)]
    # numbers alike make degenerate objects (points repeated, zero radii);
    # extremes make objects at the ends of the doubles, NaN and infinities
    # where a class stores them as given
    ordinary = build_pool(CLASSES, FUNCTIONS, ordinary, POOL_ERRORS, per_class=8, key=source, rounds=2)
    extreme = build_pool(CLASSES, FUNCTIONS, extreme, POOL_ERRORS, per_class=10, key=source, rounds=2)
    return ({cls: [Arg(obj, source(obj)) for obj in objs] for cls, objs in ordinary.items()},
            {cls: [Arg(obj, source(obj)) for obj in objs] for cls, objs in extreme.items()})


ORDINARY_POOL, EXTREME_POOL = _pool()
POOL = {cls: ORDINARY_POOL[cls] + EXTREME_POOL[cls] for cls in CLASSES}
INSTANCES = [obj for objs in POOL.values() for obj in objs]
REBUILT = [obj for obj in INSTANCES if not obj.src.startswith("no_exact_source")]


# ---- arrays and array-likes -------------------------------------------------

DTYPES = [
    "float32", "float16", "longdouble", "int8", "int16", "int32", "int64", "uint8", "uint64", "bool",
    "complex128", "complex64", "object", "<U4", "S4", "datetime64[s]", "timedelta64[ms]", ">f8", ">i4"]
FLOATS = st.one_of(st.integers(-4, 4).map(float), st.sampled_from(EXTREME), st.integers(-4, 4).map(float), st.floats())


@st.composite
def _ndarray(draw):
    rank = draw(st.sampled_from([0, 1, 2, 2, 2, 3, 3]))
    shape = tuple(draw(st.sampled_from(options)) for options in
                  [[0, 1, 2, 3, 5], [2, 3, 2, 3, 1, 0], [2, 3, 2, 3, 2, 3, 1, 0, 4]][3 - rank:])
    size = math.prod(shape)
    dtype = draw(st.one_of(st.just("float64"), st.sampled_from(DTYPES)))
    if dtype.startswith(("datetime", "timedelta")):
        base = f"np.arange({size}).reshape({shape}).astype({dtype!r})"
    elif dtype == "object" and draw(st.booleans()):
        objs = [draw(st.sampled_from(REBUILT)) for _ in range(size)]
        base = f"np.array([{', '.join(map(source, objs))}] + [None], dtype=object)[:-1].reshape({shape})"
    else:
        values = [draw(FLOATS) for _ in range(size)]
        base = f"np.array({values!r}, dtype=float).reshape({shape})"
        if dtype != "float64":
            base += f".astype({dtype!r})"
    layouts = ["{}"] * 4 + ["np.asfortranarray({})", "np.broadcast_to({0}, {0}.shape)",
                            "np.ma.masked_array({0}, mask=np.arange({0}.size).reshape({0}.shape) % 2 == 0)",
                            "np.ma.masked_array({})", "memoryview({})", "{}.tolist()", "np.asarray({})[()]"]
    if rank:
        layouts += ["{}[::-1]", "np.repeat({}, 2, axis=-1)[..., ::2]", "np.flip({})", "tuple({}.tolist())",
                    "np.broadcast_to({0}[:1], {0}.shape)",
                    "np.frombuffer(b'\\0' + {0}.astype('<f8').tobytes(), '<f8', offset=1).reshape({0}.shape)"]
    src = draw(st.sampled_from(layouts)).format(base)
    try:
        return made(src)
    except Exception:  # a layout this dtype cannot take
        return made(base)


HUGE = [f"np.broadcast_to(np.zeros({item}), ({n}, {', '.join(map(str, item))}))".replace(",)", ")")
        for n in ("2**40", "2**56") for item in [(2,), (3,), (2, 2), (2, 3), (3, 2), (3, 3)]]
HUGE += ["np.broadcast_to(np.zeros(3, dtype=np.float32), (2**40, 3))",
         "np.broadcast_to(np.zeros((1, 3), dtype=bool), (2**40, 3))",
         "np.broadcast_to(np.zeros(2, dtype=object), (2**40, 2))"]
ODD_LIKES = [
    "[[1.0, 2.0], [3.0]]", "[[1.0, 2.0], None]", "[[[1, 2]], [3, 4]]", "[[1.0, 2.0, 3.0], [4.0, 5.0]]",
    "[[2**1024, 0]]", "[[1, 2], [3, 2**64]]", "[[True, False]]", "[['1', '2']]", "[[1+2j, 0]]", "[]",
    "[[]]", "()", "iter([[1.0, 2.0]])", "(r for r in [[1.0, 2.0, 3.0]])", "range(3)", "range(2**62)",
    "'12'", "b'12'", "bytearray(48)", "array.array('d', [1, 2, 3])", "{1: 2}", "{1.0, 2.0}",
    "memoryview(b'abcdefgh').cast('d')", "memoryview(bytes(48)).cast('d', [3, 2])",
    "memoryview(bytes(48)).cast('B', [3, 16])", "memoryview(np.zeros((2, 3)))[::2]",
    "(lambda l: l.append(l) or l)([])", "[[nan, inf]]", "[[1e308, -1e308], [5e-324, -0.0]]",
    "np.float64(2.0)", "np.array(1.5)", "np.array([[1, 2]], dtype=np.uint64) - 5",
    "np.zeros((2, 0))", "np.zeros((0, 3))", "np.zeros((0, 2, 3))", "np.arange(12.0).reshape(4, 3)[:, ::-2]",
    "np.zeros((3, 2)).view([('x', 'f8'), ('y', 'f8')])", "np.zeros(6).view('c16')",
    "np.ma.masked_array(np.zeros((2, 2)), mask=True)", "np.ma.masked", "np.array([[1.0, 2.0]]).T", "LyingSequence()",
    "Raises()", "[Raises(), Raises()]", "[[FloatLike(1.0), FloatLike(nan)]]"] + HUGE
ARRAYS = st.one_of(_ndarray(), _ndarray(), st.sampled_from(ODD_LIKES).map(made),
                   st.lists(st.sampled_from(INSTANCES), max_size=4))

SCALARS = st.one_of(
    st.sampled_from(EXTREME), st.floats(), st.integers(-(2**70), 2**70),
    st.sampled_from([0, 1, -1, 2, 3, 2**31, 2**63, 2**64, 2**1024, True, False, None]),
    st.text(max_size=4),
    st.sampled_from(["", "white", "#ff000080", "x" * 2000, "<&\"'>", "\x00\x01\ud800", "\u2028\uffff"]),
    st.sampled_from(["FloatLike(2.5)", "FloatLike(nan)", "IndexLike(3)", "IndexLike(2**40)", "Raises()",
                     "BadRepr()", "object()", "1j", "b''", "...", "z.Point2", "print",
                     "fractions.Fraction(1, 3)", "fractions.Fraction(10**400, 3)", "decimal.Decimal('nan')",
                     "np.float64(nan)", "np.int64(-1)", "np.bool_(True)", "np.datetime64('2020')",
                     "np.float32(1e38) * np.float32(10)", "zenolith.drawing.Drawing()"]).map(made),
)
WILD = st.one_of(SCALARS, SCALARS, st.sampled_from(INSTANCES), ARRAYS,
                 st.lists(st.one_of(SCALARS, st.sampled_from(INSTANCES)), max_size=4).map(tuple))
WRONG_KEYWORDS = ["x", "p", "points", "obj", "arr", "a", "ax", "plane", "view", "size", "stroke",
                  "label", "s", "t", "style", "objects", "self", "kwargs", ""]

# Paths: only ever inside the scratch directory the child runs in. An int
# is not offered: open() would take it as a file descriptor to write to.
PATHS = st.sampled_from(["'out.svg'", "'sub/dir/out.svg'", "'.'", "''", "'a\\x00b'", "b'out.svg'",
                         "__import__('pathlib').Path('p.svg')", "None", "1.5", "Raises()",
                         "object()", "['out.svg']"]).map(made)


# ---- strategies from annotations ---------------------------------------------

def _is_path(hint):
    parts = typing.get_args(hint) if typing.get_origin(hint) in (typing.Union, types.UnionType) else (hint,)
    return any(p is os.PathLike or typing.get_origin(p) is os.PathLike for p in parts)


def _hints(fn):
    """The parameters of `fn` (self skipped) with their annotations, each
    evaluated where it was written; one that cannot be resolved counts as Any."""
    params = list(inspect.signature(fn).parameters.values())
    if params and params[0].name == "self":
        params = params[1:]
    hints = []
    for p in params:
        hint = p.annotation
        if isinstance(hint, str):
            try:
                hint = eval(hint, getattr(fn, "__globals__", {}))
            except Exception:  # a name imported for the type checker only
                hint = typing.Optional[Unresolved] if re.search(r"\bNone\b", hint) else None
        hints.append((p, None if hint is p.empty else hint))
    return hints


class Unresolved:
    """An annotation that names what this interpreter does not have."""


def _takes_path(fn):
    return any(_is_path(h) for _, h in _hints(fn))


def for_hint(hint):
    """Values of the annotated type, now and then anything at all."""
    if _is_path(hint):
        return PATHS
    return st.one_of(_typed(hint), _typed(hint), _typed(hint), WILD)


def _typed(hint):
    origin, args = typing.get_origin(hint), typing.get_args(hint)
    if hint is None or hint is typing.Any:
        return WILD
    if hint is type(None):
        return st.none()
    if hint is npt.ArrayLike or hint is collections.abc.Buffer:
        return ARRAYS
    if origin in (typing.Union, types.UnionType):
        return st.one_of([_typed(a) for a in args])
    if hint in POOL:
        return st.one_of(st.sampled_from(ORDINARY_POOL[hint]), st.sampled_from(POOL[hint])) if POOL[hint] else WILD
    if isinstance(hint, type) and hint.__module__.startswith("zenolith."):
        return instances(hint)
    if origin is tuple:
        if len(args) == 2 and args[1] is Ellipsis:
            return st.lists(_typed(args[0]), max_size=4).map(tuple)
        return st.tuples(*[_typed(a) for a in args])
    if origin in (list, collections.abc.Sequence):
        return st.one_of(st.lists(_typed(args[0]), max_size=4), ARRAYS)
    if hint is bool:
        return st.booleans()
    if hint is int:
        return st.one_of(st.integers(-3, 3), SCALARS)
    if hint is float:
        return st.one_of(FLOATS, st.floats(0, 1e7), st.integers(-(2**70), 2**70))
    if hint is str:
        return st.one_of(st.text(max_size=6), st.sampled_from(["red", "#00ff00", "none", "\x1b\x7f<x/>"]))
    return WILD


def _form(fn, mixed):
    """Calls that follow one signature: (args, kwargs), with values of the
    annotated types (`mixed`: now and then anything). A parameter with a
    default is sometimes left out or given by name; the ones after it then go
    by name."""
    parts = []
    for p, hint in _hints(fn):
        value = for_hint(hint) if mixed or _is_path(hint) else _typed(hint)
        if p.kind is p.VAR_POSITIONAL:
            parts.append(st.lists(value, max_size=4).map(lambda v: ("*", v)))
        elif p.kind is p.VAR_KEYWORD:
            if typing.get_origin(hint) is typing.Unpack:  # keywords of a TypedDict
                fields = typing.get_type_hints(typing.get_args(hint)[0])
                optional = {k: for_hint(h) for k, h in fields.items()}
                parts.append(st.fixed_dictionaries({}, optional=optional).map(lambda d: ("**", d)))
        elif p.kind is p.KEYWORD_ONLY:
            parts.append(st.one_of(st.just(("-",)), value.map(lambda v, n=p.name: ("=", n, v))))
        else:
            choices = [value.map(lambda v, n=p.name: ("pos", n, v))]
            if p.default is not p.empty:
                choices += [st.just(("-",)), value.map(lambda v, n=p.name: ("=", n, v))]
            parts.append(st.one_of(choices))

    def assemble(drawn):
        args, kwargs, named = [], {}, False
        for part in drawn:
            if part[0] == "pos" and not named:
                args.append(part[2])
            elif part[0] in ("pos", "="):
                kwargs[part[1]] = part[2]
                named = True
            elif part[0] == "*" and not named:
                args += part[1]
            elif part[0] == "**":
                kwargs.update(part[1])
            elif part[0] == "-":
                named = True
        return args, kwargs

    return st.tuples(*parts).map(assemble)


def _spoiled(call):
    """Spoils a call now and then: one more argument, a wrong keyword."""
    return st.tuples(call, st.integers(0, 9), WILD, st.sampled_from(WRONG_KEYWORDS)).map(
        lambda t: (t[0][0] + [t[2]], t[0][1]) if t[1] == 8 else
                  (t[0][0], {**t[0][1], t[3]: t[2]}) if t[1] == 9 else t[0])


def arguments(fn):
    forms = [fn] + list(typing.get_overloads(fn)) if inspect.isfunction(fn) else [fn]
    typed = st.one_of([_form(f, mixed=False) for f in forms])
    mixed = st.one_of([_form(f, mixed=True) for f in forms])
    calls = [typed, typed, mixed, _spoiled(typed)]
    if not _takes_path(fn):  # never a random value where a file name goes
        calls.append(st.tuples(st.lists(WILD, max_size=5), st.just({})))
    return st.one_of(calls)


_CONSTRUCTORS = {}


def constructor_calls(cls):
    if cls not in _CONSTRUCTORS:
        _CONSTRUCTORS[cls] = st.deferred(lambda: arguments(cls.__init__))
    return _CONSTRUCTORS[cls]


def instances(cls):
    """Instances of a class of ours, each made by a random constructor call
    (a default instance where that call is refused)."""
    return constructor_calls(cls).map(lambda call: construct(cls, call, []))


# ---- targets ----------------------------------------------------------------

def _modules():
    yield zenolith
    for info in pkgutil.iter_modules(zenolith.__path__):
        if not info.name.startswith("_"):
            yield importlib.import_module(f"zenolith.{info.name}")
    # the GPL-licensed families, where installed
    try:
        algorithms = importlib.import_module("zenolith_algorithms")
    except ImportError:
        return
    for info in pkgutil.iter_modules(algorithms.__path__):
        if not info.name.startswith("_"):
            yield importlib.import_module(f"zenolith_algorithms.{info.name}")


def _public(module):
    names = getattr(module, "__all__", None)
    if names is None:
        names = [n for n, v in vars(module).items()
                 if not n.startswith("_") and getattr(v, "__module__", None) == module.__name__]
    for name in names:
        value = getattr(module, name)
        if callable(value) and getattr(value, "__module__", "").startswith("zenolith"):
            yield value


def _name(obj):
    return f"{obj.__module__}.{obj.__qualname__}"


def _members(cls):
    """Public methods and properties of a class of ours, protocol methods
    (``__len__``, ``_repr_svg_``) included; an enum's are the standard
    library's."""
    if isinstance(cls, enum.EnumMeta):
        return
    seen = set()
    for base in cls.__mro__:
        if not getattr(base, "__module__", "").startswith("zenolith"):
            continue
        if base is not cls and not _has_default(cls):
            break  # members of bases need an instance to be called on
        for name, attr in vars(base).items():
            public = not name.startswith("_") or (name.endswith("_") and name != "__init__")
            if not public or name in seen or not (inspect.isfunction(attr) or isinstance(attr, property)):
                continue
            seen.add(name)
            # a member inherited from a base of ours is called on the first
            # class that has it, not on every one
            if base is cls or id(attr) not in _INHERITED:
                _INHERITED.add(id(attr))
                yield name, attr


_INHERITED = set()


#: What a class refusing a call without arguments is made from, if it takes it.
TRIANGLE = [[0.0, 0.0], [1.0, 0.0], [0.0, 1.0]]


def _has_default(cls):
    """Whether the class makes an instance without arguments, or from
    TRIANGLE."""
    for args in ((), (TRIANGLE,)):
        try:
            cls(*args)
            return True
        except Exception:
            pass
    return False


PUBLIC = list({id(v): v for m in _modules() for v in _public(m)}.values())


def _documented(*owners):
    """Exception types named in the docstrings of `owners`."""
    names = set()
    for owner in owners:
        names |= set(re.findall(r"\b([A-Z]\w*(?:Error|Exception))\b", inspect.getdoc(owner) or ""))
    return tuple(getattr(builtins, n) for n in sorted(names) if isinstance(getattr(builtins, n, None), type))


ALLOWED = (TypeError, ValueError, OverflowError, MemoryError, ArgumentError)


class Target:
    """One callable: a function, a constructor (`cls` set, `member` None), or
    a method, property getter (`member` "name") or setter ("name=")."""

    def __init__(self, id, call, arguments, owners, cls=None, member=None):
        self.id, self.call, self.arguments, self.cls, self.member = id, call, arguments, cls, member
        fn = call.__init__ if isinstance(call, type) else call
        self.allowed = ALLOWED + _documented(call, *owners) + ((OSError,) if _takes_path(fn) else ())

    def line(self, args, kwargs):
        """The call as a line of Python (`obj` the instance of a member)."""
        inner = ", ".join([source(a) for a in args] + [
            f"{k}={source(v)}" if k.isidentifier() else f"**{{{k!r}: {source(v)}}}" for k, v in kwargs.items()])
        if self.member is None:
            return f"{_name(self.call)}({inner})"
        if self.member.endswith("="):
            return (f"obj.{self.member[:-1]} = {inner}" if len(args) == 1 and not kwargs else
                    f"type(obj).{self.member[:-1]}.fset(obj, {inner})")
        if isinstance(inspect.getattr_static(self.cls, self.member), property):
            return f"obj.{self.member}"
        return f"obj.{self.member}({inner})"

    def __call__(self, obj, args, kwargs):
        args, kwargs = unwrap(args), unwrap(kwargs)
        return self.call(*args, **kwargs) if self.member is None else self.call(obj, *args, **kwargs)


def _targets():
    for value in PUBLIC:
        if not isinstance(value, type):
            yield Target(_name(value), value, arguments(value), ())
            continue
        cls = value
        yield Target(f"{_name(cls)}()", cls, constructor_calls(cls), (cls.__init__,), cls)
        for name, attr in _members(cls):
            if isinstance(attr, property):
                yield Target(f"{_name(cls)}.{name}", attr.fget, st.just(([], {})), (cls,), cls, name)
                if attr.fset:
                    yield Target(f"{_name(cls)}.{name}=", attr.fset, arguments(attr.fset), (cls,), cls, name + "=")
            else:
                yield Target(f"{_name(cls)}.{name}", attr, arguments(attr), (cls,), cls, name)


TARGETS = list(_targets())
CONSTRUCTORS = {t.cls: t for t in TARGETS if t.cls and t.member is None}
MEMBERS = {cls: [t for t in TARGETS if t.cls is cls and t.member] for cls in CONSTRUCTORS}


# ---- running calls ----------------------------------------------------------

HEADER = "import numpy as np, zenolith, zenolith_core as z\nfrom math import inf, nan\n"


def reproducer(lines):
    body = "\n".join(lines)
    helpers = [n for n in HELPERS if re.search(rf"\b{n}\(", body)]
    extra = f"from fuzz_companion import {', '.join(helpers)}  # in tests/companion\n" if helpers else ""
    extra += "import array\n" if "array.array" in body else ""
    extra += "import fractions, decimal\n" if re.search(r"\b(fractions|decimal)\.", body) else ""
    return HEADER + extra + body


def _check(result):
    text(result)
    if isinstance(result, str) and "<svg" in result[:300]:
        parse_svg(result)  # a document every viewer reads, with finite numbers only


def call(target, obj, args, kwargs, lines):
    """Makes one call, appending it to `lines`; an outcome not allowed fails
    (or, in a collecting run, is written down)."""
    lines.append(target.line(args, kwargs))
    with calling(target.id, reproducer(lines)):
        try:
            result = target(obj, args, kwargs)
            _check(result)
            return result
        except target.allowed:
            return None
        except Exception as error:
            kind = f"{type(error).__name__}: {text(error)[:300]}"
            if not found(target.id, kind, reproducer(lines)):
                raise AssertionError(f"{kind}\nin the call\n{reproducer(lines)}") from error
        finally:
            if "matplotlib.pyplot" in sys.modules:
                sys.modules["matplotlib.pyplot"].close("all")


def construct(cls, call_args, lines):
    """An instance from a random constructor call, a default one where that
    call is refused; the construction is appended to `lines`."""
    args, kwargs = call_args
    target = CONSTRUCTORS[cls]
    made_lines = []
    obj = call(target, None, args, kwargs, made_lines)
    if not isinstance(obj, cls):
        made_lines = []
        obj = call(target, None, [], {}, made_lines)
    if not isinstance(obj, cls):  # a class that needs an argument: a small triangle's vertices
        made_lines = []
        obj = call(target, None, [TRIANGLE], {}, made_lines)
    lines.append(f"obj = {made_lines[-1]}")
    return Arg(obj, made_lines[-1])


def _example(target):
    if target.member is None:
        return st.tuples(target.arguments, st.just(None), st.just([]))
    # a member: on an instance made at random, after a few other calls
    others = st.one_of([st.tuples(st.just(t), t.arguments) for t in MEMBERS[target.cls]])
    return st.tuples(target.arguments, constructor_calls(target.cls), st.lists(others, max_size=3))


@pytest.mark.parametrize("target", in_this_batch([pytest.param(t, id=t.id) for t in TARGETS]))
def test_public_name_survives_random_arguments(target):
    @settings(FUZZ_SETTINGS)
    @given(example=_example(target))
    def run(example):
        (args, kwargs), construction, before = example
        lines = []
        obj = None if construction is None else construct(target.cls, construction, lines).value
        for step, (a, k) in before:
            call(step, obj, a, k, lines)
        call(target, obj, args, kwargs, lines)

    run()


@pytest.mark.skipif(BATCH != 0, reason="runs in the first batch")
def test_every_public_name_and_core_class_is_reached():
    assert not [cls.__name__ for cls, objs in POOL.items() if not objs]
    names = {t.id for t in TARGETS}
    assert {"zenolith.arrays.points2", "zenolith.exact.orientation",
            "zenolith.drawing.Drawing()", "zenolith.drawing.Drawing.svg", "zenolith.drawing.Drawing.title=",
            "zenolith.drawing.plot"} <= names
    assert {"do_intersect", "intersection", "squared_distance"} <= {n.rsplit(".", 1)[-1] for n in names}
