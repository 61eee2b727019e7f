"""Typed object arrays: a float64 array whose rows are core objects of one class.

A raw ``(N, 2, 3)`` array could hold segments, rays or lines in space; the
row-wise operations of zenolith need to know which. An object array says
it, with no copy and no Python object per row::

    import numpy as np
    import zenolith as zl

    segs = zl.Segments3(np.random.default_rng(1).normal(size=(1000, 2, 3)))
    segs[0]              # Segment3(...): row 0 as a core object
    segs[segs.array[:, 0, 2] > 0]    # the segments starting above z = 0
    segs.bbox()          # Bbox3 of all rows

The classes, their row layouts and the core object each row stands for:

=================  ============  ==============================================
class              shape         row ``r`` as a core object
=================  ============  ==============================================
``Segments2``      ``(N, 2, 2)`` ``Segment2(Point2(*r[0]), Point2(*r[1]))``
``Segments3``      ``(N, 2, 3)`` ``Segment3(Point3(*r[0]), Point3(*r[1]))``
``Rays2``          ``(N, 2, 2)`` ``Ray2(p, q)``: source, second point
``Rays3``          ``(N, 2, 3)`` ``Ray3(p, q)``
``Lines2``         ``(N, 2, 2)`` ``Line2(p, q)``: two points, directed p to q
``Lines3``         ``(N, 2, 3)`` ``Line3(p, q)``
``Triangles2``     ``(N, 3, 2)`` ``Triangle2(p, q, r)``
``Triangles3``     ``(N, 3, 3)`` ``Triangle3(p, q, r)``
``Tetrahedra3``    ``(N, 4, 3)`` ``Tetrahedron3(p0, p1, p2, p3)``
``IsoRectangles2`` ``(N, 2, 2)`` ``IsoRectangle2(p, q)``: opposite corners
``IsoCuboids3``    ``(N, 2, 3)`` ``IsoCuboid3(p, q)``: opposite corners
``Bboxes2``        ``(N, 2, 2)`` ``Bbox2(xmin, ymin, xmax, ymax)`` from
                                 ``[[xmin, ymin], [xmax, ymax]]``
``Bboxes3``        ``(N, 2, 3)`` ``Bbox3(xmin, ymin, zmin, xmax, ymax, zmax)``
``Circles2``       ``(N, 3)``    ``Circle2(Point2(cx, cy), squared_radius)``
``Spheres3``       ``(N, 4)``    ``Sphere3(Point3(cx, cy, cz), squared_radius)``
``Planes3``        ``(N, 4)``    ``Plane3(a, b, c, d)``
``WeightedPoints2`` ``(N, 3)``   ``WeightedPoint2(Point2(x, y), weight)``
=================  ============  ==============================================

Points are plain ``(N, 2)`` / ``(N, 3)`` arrays everywhere in zenolith and
have no wrapper.
"""

from __future__ import annotations

import itertools
import operator
from collections.abc import Callable, Iterable, Iterator
from dataclasses import dataclass
from typing import TYPE_CHECKING, Any, ClassVar, Generic, Self, SupportsIndex, TypeVar, cast, overload

import numpy as np
import numpy.typing as npt

from zenolith_core import (
    Bbox2,
    Bbox3,
    Circle2,
    IsoCuboid3,
    IsoRectangle2,
    Line2,
    Line3,
    Plane3,
    Point2,
    Point3,
    Ray2,
    Ray3,
    Segment2,
    Segment3,
    Sphere3,
    Tetrahedron3,
    Triangle2,
    Triangle3,
    WeightedPoint2,
)

from . import _native
from ._types import FloatArray

_T = TypeVar("_T")

#: Rows drawn by an object array's inline SVG picture (a notebook shows it
#: on its own; more would only make the page hang).
SVG_ROWS = 10_000

# rows turned into core objects at a time while iterating
_BLOCK = 4096

_REAL_KINDS = "biuf"  # bool, signed and unsigned ints, floats


@dataclass(frozen=True)
class _Kind:
    """How rows of one class become core objects and back, and how their
    boxes are found."""

    #: one row, as the nested lists of floats ``tolist()`` gives -> a core object
    make: Callable[[Any], Any]
    #: a core object -> its row as nested lists (None: ``_native.to_array`` reads the class)
    row: Callable[[Any], Any] | None = None
    #: a block of rows -> a list of core objects, in C++ (None: ``make`` per row)
    many: Callable[[FloatArray], list[Any]] | None = None
    #: "vertices" (each row's points, folded in order), "corners" (two
    #: corners sorted as the core's two-corner constructor sorts them),
    #: "boxes" (min corner, max corner as stored), "points" (x, y of a
    #: weighted point), "round" (each object's own bbox, computed by the
    #: core), or None (unbounded)
    bounds: str | None = None


def _xyz(p: Any) -> list[float]:
    return list(p)


# ---- the row machinery ---------------------------------------------------------

class _RowArray(Generic[_T]):
    """What every object array does with its rows (see :class:`ObjectArray`).

    It lives in a private base of its own because ``ObjectArray`` cannot be
    instantiated: the package's fuzz test calls every method a public class
    defines on an instance of that class.
    """

    __slots__ = ()
    _array: FloatArray
    _kind: ClassVar[_Kind]
    item_class: ClassVar[type]
    item_shape: ClassVar[tuple[int, ...]]

    if TYPE_CHECKING:  # the constructor is ObjectArray's, which holds the slot

        def __init__(self, arr: npt.ArrayLike) -> None: ...

    @property
    def array(self) -> FloatArray:
        """The rows: a float64, C-contiguous array of shape ``(N, *item_shape)``.

        The array given to the constructor itself when it already was one
        (changes made to either show in both)."""
        return self._array

    def to_array(self) -> FloatArray:
        """The rows as a float64 array of shape ``(N, *item_shape)`` (the held array, not a copy)."""
        return self._array

    def __len__(self) -> int:
        """The number of rows N."""
        return int(self._array.shape[0])

    @overload
    def __getitem__(self, key: SupportsIndex) -> _T: ...
    @overload
    def __getitem__(self, key: slice | npt.ArrayLike) -> Self: ...
    def __getitem__(self, key: SupportsIndex | slice | npt.ArrayLike) -> _T | Self:
        """Row ``key`` as a core object (an int; negative counts from the end),
        or the same class over ``array[key]`` for a slice, a 1-D array or list
        of ints, or a bool mask of length N (a slice shares the memory).

        Raises ``IndexError`` for an int out of range (naming N), an index
        array out of range, of another rank, or a mask of another length, and
        ``TypeError`` for any other key (a bool, a float, a tuple, None).
        """
        cls = type(self)
        if isinstance(key, slice):
            return cls(self._array[key])
        if isinstance(key, np.ndarray) and key.ndim == 0:
            key = key[()]  # a 0-d array indexes as its scalar
        if not isinstance(key, (bool, np.bool_, np.ndarray, list, tuple)) and hasattr(type(key), "__index__"):
            i = operator.index(key)  # type: ignore[arg-type]
            n = len(self)
            if not -n <= i < n:
                raise IndexError(f"{cls.__name__} index {i} out of range for {n} rows")
            return self._make(self._array[i].tolist())
        if isinstance(key, (list, np.ndarray)):
            try:
                index = np.asarray(key) if len(key) else np.empty(0, np.intp)
            except (TypeError, ValueError, OverflowError):  # a ragged or odd list
                index = np.empty(0, object)
            if index.dtype.kind in "biu":
                if index.ndim != 1:
                    raise IndexError(
                        f"{cls.__name__}: an index array or mask must be 1-D, got shape {index.shape}"
                    )
                return cls(self._array[index])
        raise TypeError(
            f"{cls.__name__} indices must be an int, a slice, a 1-D array of ints or a bool mask, "
            f"got {type(key).__name__}"
        )

    def __iter__(self) -> Iterator[_T]:
        """The rows as core objects, in order."""
        for start in range(0, len(self), _BLOCK):
            yield from self._objects(self._array[start : start + _BLOCK])

    def __repr__(self) -> str:
        """The class, the number of rows and the first row's numbers (six
        significant digits)."""
        n = len(self)
        text = f"{type(self).__name__}({n} row{'' if n == 1 else 's'}"
        if n:
            text += f": {_short(self._array[0].tolist())}{', ...' if n > 1 else ''}"
        return text + ")"

    def __reduce__(self) -> tuple[type[Self], tuple[FloatArray]]:
        """Pickled as the class and its array (``copy.copy`` then shares the
        array, ``copy.deepcopy`` copies it)."""
        return (type(self), (self._array,))

    def _make(self, row: Any) -> _T:
        return type(self)._kind.make(row)  # type: ignore[no-any-return]

    @classmethod
    def _objects(cls, block: FloatArray) -> list[_T]:
        kind = cls._kind
        if kind.many is not None:
            return kind.many(block)
        return [kind.make(r) for r in block.tolist()]

    def _repr_svg_(self) -> str | None:
        """A picture of the rows (the first :data:`SVG_ROWS` of them, said
        in the title), for notebooks; rows that cannot be drawn (NaN or
        infinite numbers, a negative squared radius, a degenerate line or
        plane) are left out. None for a class a drawing cannot show."""
        from .drawing import Drawing
        from .drawing._extract import DRAWABLE

        if self.item_class not in DRAWABLE:
            return None
        n = len(self)
        shown = self._array[:SVG_ROWS]
        title = f"{type(self).__name__}: {n} row{'' if n == 1 else 's'}"
        if n > SVG_ROWS:
            title += f", the first {SVG_ROWS} drawn"
        drawing = Drawing(title=title)
        finite = np.isfinite(shown).all(axis=tuple(range(1, shown.ndim)))
        objects: list[Any] = self._objects(np.ascontiguousarray(shown[finite]))
        try:
            drawing.add(*objects, stroke="#1f77b4")
        except ValueError:  # a few rows the drawing refuses: add the others one by one
            for obj in objects:
                try:
                    drawing.add(obj, stroke="#1f77b4")
                except ValueError:
                    pass
        return drawing.svg()

    def bbox(self) -> Bbox2 | Bbox3:
        """The bounding box of all rows (see the concrete classes)."""
        raise TypeError(f"{type(self).__name__} has no bounding box: its objects are unbounded")

    def _bounds(self) -> tuple[list[float], list[float]]:
        """The min and max corners of the sum of the rows' own boxes, folded
        from the first row on as the core's ``+`` folds them."""
        kind, a = type(self)._kind, self._array
        if kind.bounds is None:
            raise TypeError(f"{type(self).__name__} has no bounding box: its objects are unbounded")
        if kind.bounds == "points":
            return _corners(_native.bbox(a[:, :2]))
        if kind.bounds == "round":
            # the core rounds these boxes outward in interval arithmetic:
            # taken from it, object by object
            boxes = [_corners(obj.bbox()) for obj in cast(Iterable[Any], self)]
            d = 2 if isinstance(self, _Bounded2) else 3
            lo = np.array([b[0] for b in boxes], dtype=np.float64).reshape(-1, d)
            hi = np.array([b[1] for b in boxes], dtype=np.float64).reshape(-1, d)
            return _fold(lo, hi)
        if kind.bounds == "boxes":
            return _fold(a[:, 0], a[:, 1])
        vertices = _sorted_corners(a) if kind.bounds == "corners" else a
        if not np.isnan(vertices).any():
            # without NaN, folding all vertices at once gives the same box
            # (ties, signed zeros included, keep the first in both orders)
            return _corners(_native.bbox(vertices.reshape(-1, a.shape[-1])))
        # with NaN the order of the fold decides: each object's box first
        with np.errstate(invalid="ignore"):
            lo, hi = vertices[:, 0], vertices[:, 0]
            for k in range(1, vertices.shape[1]):
                v = vertices[:, k]
                lo = np.where(v < lo, v, lo)  # std::min(lo, v)
                hi = np.where(hi < v, v, hi)  # std::max(hi, v)
        return _fold(lo, hi)


def _short(row: Any) -> str:
    if isinstance(row, list):
        return "[" + ", ".join(_short(v) for v in row) + "]"
    return f"{row:.6g}"


def _corners(box: Bbox2 | Bbox3) -> tuple[list[float], list[float]]:
    if isinstance(box, Bbox2):
        return [box.xmin, box.ymin], [box.xmax, box.ymax]
    return [box.xmin, box.ymin, box.zmin], [box.xmax, box.ymax, box.zmax]


def _fold(lo: FloatArray, hi: FloatArray) -> tuple[list[float], list[float]]:
    """The corners of the sum of the boxes ``(lo[i], hi[i])``: the min of the
    min corners and the max of the max corners, each folded as the core's
    ``+`` folds points' boxes."""
    return _corners(_native.bbox(lo))[0], _corners(_native.bbox(hi))[1]


def _sorted_corners(a: FloatArray) -> FloatArray:
    """Each row's two corners as the core's two-corner constructor stores
    them: per coordinate ``p < q ? (p, q) : (q, p)`` (so NaN and signed
    zeros land where the core puts them)."""
    p, q = a[:, 0], a[:, 1]
    with np.errstate(invalid="ignore"):
        less = p < q
    return np.stack([np.where(less, p, q), np.where(less, q, p)], axis=1)


# ---- the public contract -------------------------------------------------------

class ObjectArray(_RowArray[_T]):
    """Rows of core objects of one class (``item_class``), held as a float64
    array of shape ``(N, *item_shape)``: the base of :class:`Segments2`,
    :class:`Triangles3` and the other classes of :mod:`zenolith.objects`.
    Not instantiable itself (``TypeError``).

    ``Cls(arr)``: ``arr`` is any array-like of real numbers of shape
    ``(N, *item_shape)`` (N may be 0), converted with
    ``np.ascontiguousarray(arr, dtype=np.float64)``: an array that already
    is float64 and C-contiguous is not copied, and the object array then
    shares its memory (changes to either show in both); an unaligned one is
    copied. NaN and infinities are kept as given, as the core objects keep
    them; operations that need finite numbers refuse those rows.

    Raises ``ValueError`` for a wrong rank or shape (naming the expected
    and the given shape) and for numbers that are not real (object, str,
    complex, datetime dtypes), ``TypeError`` for a masked array, a core
    object, a list of core objects (use ``Cls.from_objects(seq)``) or an
    object array of another class, and ``MemoryError`` when the float64 copy
    cannot be allocated.

    ``len(a)``, ``a[i]`` (a core object), ``a[slice]``, ``a[int array]`` and
    ``a[bool mask]`` (the same class), iteration over core objects,
    ``a.array`` / ``a.to_array()``, ``Cls.from_objects(seq)``, ``a.bbox()``,
    pickling and copying; the indexing raises ``IndexError`` out of range.
    """

    __slots__ = ("_array",)
    #: The core class of one row.
    item_class: ClassVar[type]
    #: The shape of one row.
    item_shape: ClassVar[tuple[int, ...]]

    def __init__(self, arr: npt.ArrayLike) -> None:
        """Wraps ``arr``, of shape ``(N, *item_shape)`` (see the class)."""
        cls = type(self)
        if not hasattr(cls, "item_shape"):
            raise TypeError(
                f"{cls.__name__} cannot be instantiated itself: use one of its classes "
                "(Segments2, Triangles3, ...)"
            )
        self._array = _read(cls, arr)

    @classmethod
    def from_objects(cls, seq: Iterable[_T]) -> Self:
        """An object array of the rows of core objects of ``item_class``
        (an empty sequence gives N = 0).

        Raises ``TypeError`` naming the index and the classes when an item
        is not an ``item_class`` object, or when ``seq`` is not a sequence.
        """
        if not hasattr(cls, "item_shape"):
            raise TypeError(f"{cls.__name__}.from_objects: use one of its classes (Segments2, Triangles3, ...)")
        item = cls.item_class.__name__
        what = f"{cls.__name__}.from_objects: seq must be a sequence of {item} objects"
        if (
            isinstance(seq, (str, bytes))
            or (isinstance(seq, np.ndarray) and seq.dtype != object)
            or type(seq).__module__ == "zenolith_core"
        ):
            raise TypeError(f"{what}, got {_describe(seq)}")
        try:
            items = list(seq)
        except (TypeError, NotImplementedError):  # the latter: a memoryview of several dimensions
            raise TypeError(f"{what}, got {_describe(seq)}") from None
        for i, obj in enumerate(items):
            if not isinstance(obj, cls.item_class):
                raise TypeError(f"{what}, got a {type(obj).__name__} at index {i}")
        if not items:
            return cls(np.empty((0, *cls.item_shape)))
        row = cls._kind.row
        if row is None:
            return cls(_native.to_array(items))
        return cls(np.array([row(obj) for obj in items], dtype=np.float64))


def _describe(value: object) -> str:
    if isinstance(value, np.ndarray):
        return f"an array of dtype {value.dtype}"
    return f"a {type(value).__name__}"


def _read(cls: type[ObjectArray[Any]], arr: object) -> FloatArray:
    """``arr`` as the float64, C-contiguous array of an object array of ``cls``."""
    name = cls.__name__
    expected = f"(N, {', '.join(map(str, cls.item_shape))})" if cls.item_shape else "(N,)"
    if isinstance(arr, ObjectArray):
        if isinstance(arr, cls):
            return arr._array
        raise TypeError(
            f"{name}: arr must be an array of shape {expected}, got a {type(arr).__name__} "
            f"(rows of {arr.item_class.__name__}, not {cls.item_class.__name__})"
        )
    if type(arr).__module__ == "zenolith_core":
        raise TypeError(
            f"{name}: arr must be an array of shape {expected}, got a {type(arr).__name__}; "
            f"for core objects use {name}.from_objects(seq)"
        )
    if isinstance(arr, np.ma.MaskedArray):
        raise TypeError(
            f"{name}: arr is a masked array, whose mask would be ignored: "
            "pass arr.filled(value) or arr.compressed() reshaped"
        )
    try:
        a = np.asarray(arr)
    except (TypeError, ValueError, OverflowError, IndexError, NotImplementedError, RecursionError) as error:
        # what numpy could not read as numbers (a ragged list, a lying sequence)
        raise ValueError(f"{name}: arr must be an array-like of real numbers of shape {expected}: {error}") from None
    # a list of core objects is a likely mistake: said so (its first items are enough)
    if a.dtype.kind == "O" and any(type(x).__module__ == "zenolith_core" for x in itertools.islice(a.flat, 1000)):
        raise TypeError(f"{name}: arr holds core objects; use {name}.from_objects(seq)")
    if a.dtype.kind not in _REAL_KINDS:
        raise ValueError(f"{name}: arr must hold real numbers, got an array of dtype {a.dtype}")
    if a.ndim != 1 + len(cls.item_shape) or a.shape[1:] != cls.item_shape:
        raise ValueError(f"{name}: arr must have shape {expected}, got shape {a.shape}")
    out = np.ascontiguousarray(a, dtype=np.float64)
    if not out.flags.aligned:  # the native loops read doubles in place
        out = out.copy()
    return out


# ---- by dimension: the bounding box ----------------------------------------------

class _Bounded2(ObjectArray[_T]):
    __slots__ = ()

    def bbox(self) -> Bbox2:
        """The ``Bbox2`` of all rows: exactly the sum with ``+`` of the rows'
        own ``bbox()``, from the first row on (so NaN gives what that sum
        gives); the empty box ``Bbox2()`` for no rows."""
        lo, hi = self._bounds()
        return Bbox2(lo[0], lo[1], hi[0], hi[1])


class _Bounded3(ObjectArray[_T]):
    __slots__ = ()

    def bbox(self) -> Bbox3:
        """The ``Bbox3`` of all rows: exactly the sum of the rows' own
        ``bbox()`` (each bound folded with ``std::min``/``std::max`` from the
        first row on, as the kernel adds boxes); the empty box ``Bbox3()``
        for no rows."""
        lo, hi = self._bounds()
        return Bbox3(lo[0], lo[1], lo[2], hi[0], hi[1], hi[2])


# ---- the classes -----------------------------------------------------------------

class Segments2(_Bounded2[Segment2]):
    """Planar segments: ``(N, 2, 2)`` rows (source, target), each
    ``Segment2(Point2(*r[0]), Point2(*r[1]))``. See :class:`ObjectArray`."""

    __slots__ = ()
    item_class = Segment2
    item_shape = (2, 2)
    _kind = _Kind(make=lambda r: Segment2(Point2(*r[0]), Point2(*r[1])), many=_native.segments2, bounds="vertices")


class Segments3(_Bounded3[Segment3]):
    """Spatial segments: ``(N, 2, 3)`` rows (source, target), each
    ``Segment3(Point3(*r[0]), Point3(*r[1]))``. See :class:`ObjectArray`."""

    __slots__ = ()
    item_class = Segment3
    item_shape = (2, 3)
    _kind = _Kind(make=lambda r: Segment3(Point3(*r[0]), Point3(*r[1])), many=_native.segments3, bounds="vertices")


class Rays2(ObjectArray[Ray2]):
    """Planar rays: ``(N, 2, 2)`` rows (source, second point), each
    ``Ray2(Point2(*r[0]), Point2(*r[1]))``. ``from_objects`` reads
    ``source()`` and ``point(1)`` (the second point, exactly). Unbounded:
    ``bbox()`` raises ``TypeError``. See :class:`ObjectArray`."""

    __slots__ = ()
    item_class = Ray2
    item_shape = (2, 2)
    _kind = _Kind(
        make=lambda r: Ray2(Point2(*r[0]), Point2(*r[1])), row=lambda o: [_xyz(o.source()), _xyz(o.point(1.0))]
    )


class Rays3(ObjectArray[Ray3]):
    """Spatial rays: ``(N, 2, 3)`` rows (source, second point), each
    ``Ray3(Point3(*r[0]), Point3(*r[1]))``; as :class:`Rays2`."""

    __slots__ = ()
    item_class = Ray3
    item_shape = (2, 3)
    _kind = _Kind(
        make=lambda r: Ray3(Point3(*r[0]), Point3(*r[1])), row=lambda o: [_xyz(o.source()), _xyz(o.point(1.0))]
    )


class Lines2(ObjectArray[Line2]):
    """Planar lines: ``(N, 2, 2)`` rows of two points, each
    ``Line2(Point2(*r[0]), Point2(*r[1]))``, directed from the first to the
    second. ``from_objects`` stores ``point(0)`` and ``point(1)`` of each
    line: the same oriented line comes back, but its coefficients are
    recomputed from those points and may differ from the original ones by
    rounding. Unbounded: ``bbox()`` raises ``TypeError``. See
    :class:`ObjectArray`."""

    __slots__ = ()
    item_class = Line2
    item_shape = (2, 2)
    _kind = _Kind(
        make=lambda r: Line2(Point2(*r[0]), Point2(*r[1])), row=lambda o: [_xyz(o.point(0.0)), _xyz(o.point(1.0))]
    )


class Lines3(ObjectArray[Line3]):
    """Spatial lines: ``(N, 2, 3)`` rows of two points, each
    ``Line3(Point3(*r[0]), Point3(*r[1]))``. ``from_objects`` stores
    ``point(0)`` (the base point) and ``point(1)`` (base + vector, rounded),
    so the direction vector that comes back may differ by rounding; as
    :class:`Lines2`."""

    __slots__ = ()
    item_class = Line3
    item_shape = (2, 3)
    _kind = _Kind(
        make=lambda r: Line3(Point3(*r[0]), Point3(*r[1])), row=lambda o: [_xyz(o.point(0.0)), _xyz(o.point(1.0))]
    )


class Triangles2(_Bounded2[Triangle2]):
    """Planar triangles: ``(N, 3, 2)`` rows of three vertices, each
    ``Triangle2(p, q, r)``. See :class:`ObjectArray`."""

    __slots__ = ()
    item_class = Triangle2
    item_shape = (3, 2)
    _kind = _Kind(
        make=lambda r: Triangle2(Point2(*r[0]), Point2(*r[1]), Point2(*r[2])), many=_native.triangles2, bounds="vertices"
    )


class Triangles3(_Bounded3[Triangle3]):
    """Spatial triangles: ``(N, 3, 3)`` rows of three vertices, each
    ``Triangle3(p, q, r)``. See :class:`ObjectArray`."""

    __slots__ = ()
    item_class = Triangle3
    item_shape = (3, 3)
    _kind = _Kind(
        make=lambda r: Triangle3(Point3(*r[0]), Point3(*r[1]), Point3(*r[2])), many=_native.triangles3, bounds="vertices"
    )


class Tetrahedra3(_Bounded3[Tetrahedron3]):
    """Tetrahedra: ``(N, 4, 3)`` rows of four vertices, each
    ``Tetrahedron3(p0, p1, p2, p3)``. See :class:`ObjectArray`."""

    __slots__ = ()
    item_class = Tetrahedron3
    item_shape = (4, 3)
    _kind = _Kind(
        make=lambda r: Tetrahedron3(Point3(*r[0]), Point3(*r[1]), Point3(*r[2]), Point3(*r[3])),
        row=lambda o: [_xyz(v) for v in o],
        bounds="vertices",
    )


class IsoRectangles2(_Bounded2[IsoRectangle2]):
    """Axis-aligned rectangles: ``(N, 2, 2)`` rows of two opposite corners
    (normally min then max), each ``IsoRectangle2(Point2(*r[0]),
    Point2(*r[1]))``, which sorts the coordinates. ``from_objects`` stores
    ``min()`` and ``max()``: a rectangle whose corners hold NaN, or zeros of
    both signs on one axis, may come back with those two swapped (the
    constructor sorts them again), and one built unsorted from four points
    cannot be stored at all. See :class:`ObjectArray`."""

    __slots__ = ()
    item_class = IsoRectangle2
    item_shape = (2, 2)
    _kind = _Kind(
        make=lambda r: IsoRectangle2(Point2(*r[0]), Point2(*r[1])),
        row=lambda o: [_xyz(o.min()), _xyz(o.max())],
        bounds="corners",
    )


class IsoCuboids3(_Bounded3[IsoCuboid3]):
    """Axis-aligned cuboids: ``(N, 2, 3)`` rows of two opposite corners,
    each ``IsoCuboid3(Point3(*r[0]), Point3(*r[1]))``; as
    :class:`IsoRectangles2`."""

    __slots__ = ()
    item_class = IsoCuboid3
    item_shape = (2, 3)
    _kind = _Kind(
        make=lambda r: IsoCuboid3(Point3(*r[0]), Point3(*r[1])),
        row=lambda o: [_xyz(o.min()), _xyz(o.max())],
        bounds="corners",
    )


class Bboxes2(_Bounded2[Bbox2]):
    """Planar boxes: ``(N, 2, 2)`` rows ``[[xmin, ymin], [xmax, ymax]]``,
    each ``Bbox2(xmin, ymin, xmax, ymax)``, bounds stored as given (a row
    with min > max stays so). See :class:`ObjectArray`."""

    __slots__ = ()
    item_class = Bbox2
    item_shape = (2, 2)
    _kind = _Kind(
        make=lambda r: Bbox2(r[0][0], r[0][1], r[1][0], r[1][1]),
        row=lambda o: [[o.xmin, o.ymin], [o.xmax, o.ymax]],
        bounds="boxes",
    )


class Bboxes3(_Bounded3[Bbox3]):
    """Spatial boxes: ``(N, 2, 3)`` rows ``[[xmin, ymin, zmin], [xmax,
    ymax, zmax]]``, each ``Bbox3(xmin, ymin, zmin, xmax, ymax, zmax)``; as
    :class:`Bboxes2`."""

    __slots__ = ()
    item_class = Bbox3
    item_shape = (2, 3)
    _kind = _Kind(
        make=lambda r: Bbox3(*r[0], *r[1]),
        row=lambda o: [[o.xmin, o.ymin, o.zmin], [o.xmax, o.ymax, o.zmax]],
        bounds="boxes",
    )


class Circles2(_Bounded2[Circle2]):
    """Circles: ``(N, 3)`` rows ``(cx, cy, squared_radius)``, each
    ``Circle2(Point2(cx, cy), squared_radius)``, counterclockwise.
    ``from_objects`` keeps the center and squared radius, not the
    orientation. ``bbox()`` asks the core for each circle's box (it rounds
    outward), a Python loop. See :class:`ObjectArray`."""

    __slots__ = ()
    item_class = Circle2
    item_shape = (3,)
    _kind = _Kind(
        make=lambda r: Circle2(Point2(r[0], r[1]), r[2]),
        row=lambda o: [*o.center(), o.squared_radius()],
        bounds="round",
    )


class Spheres3(_Bounded3[Sphere3]):
    """Spheres: ``(N, 4)`` rows ``(cx, cy, cz, squared_radius)``, each
    ``Sphere3(Point3(cx, cy, cz), squared_radius)``; as :class:`Circles2`."""

    __slots__ = ()
    item_class = Sphere3
    item_shape = (4,)
    _kind = _Kind(
        make=lambda r: Sphere3(Point3(r[0], r[1], r[2]), r[3]),
        row=lambda o: [*o.center(), o.squared_radius()],
        bounds="round",
    )


class Planes3(ObjectArray[Plane3]):
    """Planes: ``(N, 4)`` rows ``(a, b, c, d)``, each ``Plane3(a, b, c, d)``
    (coefficients stored as given). Unbounded: ``bbox()`` raises
    ``TypeError``. See :class:`ObjectArray`."""

    __slots__ = ()
    item_class = Plane3
    item_shape = (4,)
    _kind = _Kind(make=lambda r: Plane3(*r), row=lambda o: [o.a, o.b, o.c, o.d])


class WeightedPoints2(_Bounded2[WeightedPoint2]):
    """Weighted points: ``(N, 3)`` rows ``(x, y, weight)``, each
    ``WeightedPoint2(Point2(x, y), weight)``; ``bbox()`` is the box of the
    points (the weights play no part). See :class:`ObjectArray`."""

    __slots__ = ()
    item_class = WeightedPoint2
    item_shape = (3,)
    _kind = _Kind(make=lambda r: WeightedPoint2(Point2(r[0], r[1]), r[2]), many=_native.weighted_points2, bounds="points")


__all__ = [
    "ObjectArray",
    "as_object_array",
    "Segments2",
    "Segments3",
    "Rays2",
    "Rays3",
    "Lines2",
    "Lines3",
    "Triangles2",
    "Triangles3",
    "Tetrahedra3",
    "IsoRectangles2",
    "IsoCuboids3",
    "Bboxes2",
    "Bboxes3",
    "Circles2",
    "Spheres3",
    "Planes3",
    "WeightedPoints2",
]


def _object_array_classes() -> dict[type, type[ObjectArray[Any]]]:
    """The object array class of each core class that has one."""
    found: dict[type, type[ObjectArray[Any]]] = {}
    todo: list[type[ObjectArray[Any]]] = [ObjectArray]
    while todo:
        cls = todo.pop()
        todo.extend(cls.__subclasses__())
        item = cls.__dict__.get("item_class")
        if isinstance(item, type):
            found[item] = cls
    return found


_BY_ITEM = _object_array_classes()


def as_object_array(x: object) -> ObjectArray[Any] | None:
    """``x`` as an object array: itself when it is one; a list or tuple of
    core objects of one class that has an object array, converted with
    ``from_objects``; ``None`` for anything else (points, plain arrays).

    Raises ``TypeError`` for a list that starts with such an object but
    mixes classes (naming the index).
    """
    if isinstance(x, ObjectArray):
        return x
    if isinstance(x, (list, tuple)) and x and type(x[0]) in _BY_ITEM:
        return _BY_ITEM[type(x[0])].from_objects(x)
    return None
