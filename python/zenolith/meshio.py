"""Reading and writing triangle meshes as arrays.

A mesh is two arrays: vertices, float64 of shape ``(V, 3)``, and faces,
int64 of shape ``(F, 3)`` holding 0-based vertex indices.
:func:`read_mesh` and :func:`write_mesh` move them to and from four formats:

* **OFF**: an optional ``OFF`` header (``COFF``, ``NOFF``, ``CNOFF`` and
  ``STOFF`` too, whose extra vertex columns are ignored; ``4OFF``, ``nOFF``
  and binary OFF are refused), the counts ``V F E``, then ``V`` vertex lines
  ``x y z [...]`` and ``F`` face lines ``k i1 ... ik [colour ...]``.
  ``#`` starts a comment anywhere; blank lines are skipped.
* **OBJ**: ``v x y z [...]`` and ``f`` lines whose entries are ``i``,
  ``i/t``, ``i//n`` or ``i/t/n``; indices count from 1, and negative ones
  count back from the last vertex defined so far. Every other statement
  (``vn``, ``vt``, ``o``, ``g``, ``usemtl``, ``l``, ...) is ignored; ``\\``
  line continuations are refused.
* **PLY**: ASCII (one element per line), binary little and big endian.
  The ``vertex`` element needs scalar ``x``, ``y``, ``z`` of any type; the
  ``face`` element needs a list ``vertex_indices`` (or ``vertex_index``) of
  integers. Other properties and other elements are skipped.
* **STL**: binary and ASCII (several ``solid`` blocks are read as one mesh).
  A file whose size is exactly that of a binary STL of the triangle count in
  its header is binary, even when its header begins with ``solid``. STL
  stores separate triangles: vertices with equal coordinates (``-0.0``
  equal to ``0.0``) become one vertex, numbered in order of first
  appearance, so a mesh whose faces first use its vertices in index order
  reads back with the same vertex order.

Faces of more than three vertices are split into a fan ``(v0, vi, vi+1)``,
which is right for convex faces; ``polygons="error"`` refuses them instead.

These readers are zenolith's own, written so that a bad file says where and
why: the geometry library's readers report only success or failure. A
malformed file raises :class:`MeshFileError` (a ``ValueError``) naming the
line (text) or the byte offset (binary) and the reason; a missing or
unreadable file raises ``OSError`` as usual. Non-finite coordinates are
refused, and no count read from a file allocates anything before the file
is known to hold that much data.

The writers keep every double exactly: text formats print the shortest
representation that reads back to the same bits, binary PLY stores doubles.
Binary STL holds 32-bit floats, so it rounds coordinates to the nearest
float (and refuses those too large for one). Inputs are checked before the
file is opened, so a refused mesh leaves no file behind.
"""

from __future__ import annotations

import os
import re
import struct
from dataclasses import dataclass, field
from typing import Callable, Iterable, NoReturn, TypeAlias

import numpy as np
import numpy.typing as npt

from ._types import FloatArray

#: Vertex indices: int64, faces of shape ``(F, 3)``.
IndexArray: TypeAlias = npt.NDArray[np.int64]

_FORMATS = ("off", "obj", "ply", "stl")


class MeshFileError(ValueError):
    """A malformed mesh file.

    ``path`` is the file, ``line`` the 1-based line of the fault in a text
    file (``None`` for binary files, whose ``reason`` names the byte offset)
    and ``reason`` what was expected and what was found.
    """

    # class-level defaults: an instance made without __init__ (by
    # ``MeshFileError.__new__``) still has all three, and pickles
    path: str = ""
    line: int | None = None
    reason: str = "malformed"

    def __init__(self, path: str, line: int | None = None, reason: str = "malformed") -> None:
        self.path, self.line, self.reason = path, line, reason
        where = path if line is None else f"{path}, line {line}"
        super().__init__(f"{where}: {reason}")

    def __reduce__(self) -> tuple[type[MeshFileError], tuple[str, int | None, str]]:
        return type(self), (self.path, self.line, self.reason)


def read_mesh(path: str | os.PathLike[str], format: str | None = None, *,
              polygons: str = "fan") -> tuple[FloatArray, IndexArray]:
    """Read a triangle mesh: vertices ``(V, 3)`` float64, faces ``(F, 3)`` int64.

    ``format`` is ``"off"``, ``"obj"``, ``"ply"`` or ``"stl"``; ``None`` takes
    it from the file's suffix (in any case). ``polygons="fan"`` splits a face
    of ``k > 3`` vertices into the ``k - 2`` triangles ``(v0, vi, vi+1)``,
    right for convex faces; ``polygons="error"`` refuses such a face.

    Raises :class:`MeshFileError` for a malformed file, ``OSError`` when it
    cannot be read, ``ValueError`` for an unknown format and ``TypeError``
    for a path that is not text.
    """
    name, fmt = _target(path, format)
    if not isinstance(polygons, str) or polygons not in ("fan", "error"):
        raise ValueError(f"polygons: expected 'fan' or 'error', got {polygons!r}")
    with open(name, "rb") as fh:
        data = fh.read()
    return _READERS[fmt](name, data, polygons == "fan")


def write_mesh(path: str | os.PathLike[str], vertices: npt.ArrayLike, faces: npt.ArrayLike,
               format: str | None = None, *, binary: bool = False) -> None:
    """Write a triangle mesh: vertices ``(V, 3)`` numbers, faces ``(F, 3)`` integers.

    ``format`` is chosen as in :func:`read_mesh`. OFF and OBJ are text only;
    PLY and STL are written as text, or as little-endian binary with
    ``binary=True``. Coordinates must be finite and indices in ``[0, V)``;
    anything else raises ``ValueError`` naming the row before the file is
    opened.
    """
    name, fmt = _target(path, format)
    if binary and fmt in ("off", "obj"):
        raise ValueError(f"{fmt.upper()} is a text format: binary=True is only for 'ply' and 'stl'")
    v, f = _checked(vertices, faces)
    payload = _WRITERS[fmt](v, f, binary)
    with open(name, "wb") as fh:
        fh.write(payload)


def _target(path: str | os.PathLike[str], format: str | None) -> tuple[str, str]:
    """The file name as text and the format, checked."""
    name = os.fspath(path)
    if not isinstance(name, str):
        raise TypeError(f"path: expected a str or os.PathLike[str], got {type(path).__name__}")
    accepted = ", ".join(repr(f) for f in _FORMATS)
    if format is None:
        suffix = os.path.splitext(name)[1].lower().lstrip(".")
        if suffix not in _FORMATS:
            raise ValueError(f"cannot tell the mesh format of {name!r} from its suffix: expected "
                             f".off, .obj, .ply or .stl, or pass format= (one of {accepted})")
        return name, suffix
    if not isinstance(format, str):
        raise TypeError(f"format: expected a str or None, got {type(format).__name__}")
    if format.lower() not in _FORMATS:
        raise ValueError(f"format: expected one of {accepted} or None, got {format!r}")
    return name, format.lower()


# --------------------------------------------------------------------------
# Shared reading machinery


class _Bad(Exception):
    """A fault in record ``record`` of a block; the caller knows where it is."""

    def __init__(self, record: int, reason: str) -> None:
        super().__init__(record, reason)
        self.record, self.reason = record, reason


def _show(token: bytes) -> str:
    text = token.decode("ascii", "backslashreplace")
    return repr(text if len(text) <= 40 else text[:37] + "...")


_SPACE = np.zeros(256, dtype=bool)
_SPACE[list(b" \t\n\r\x0b\x0c")] = True  # exactly what bytes.split() splits on


class _Text:
    """A text file split into tokens once, with per-line token counts, so that
    the readers work on whole blocks of lines with numpy instead of a Python
    loop per line; the line of any token is recovered for error messages."""

    def __init__(self, path: str, data: bytes, comments: bool) -> None:
        self.path = path
        if b"\n" not in data and b"\r" in data:  # old Mac line ends
            data = data.replace(b"\r", b"\n")
        chars = np.frombuffer(data, dtype=np.uint8)
        newlines = np.flatnonzero(chars == 10)
        if comments and b"#" in data:
            chars = _drop_comments(chars, newlines)
            data = chars.tobytes()
            newlines = np.flatnonzero(chars == 10)
        space = _SPACE[chars]
        start = ~space
        start[1:] &= space[:-1]
        starts = np.flatnonzero(start)
        self.tokens: list[bytes] = data.split()
        self.objects = np.array(self.tokens, dtype=object)
        # ends[i]: tokens on lines 0..i; a last line without a newline counts too
        ends = np.searchsorted(starts, newlines)
        if len(data) and data[-1] != 10:
            ends = np.append(ends, len(starts))
        self.ends: IndexArray = ends.astype(np.int64)
        self.count: IndexArray = np.diff(self.ends, prepend=0)
        self.first: IndexArray = self.ends - self.count
        self.nlines = max(len(self.ends), 1)
        self.underscores = b"_" in data

    def line_of(self, token: int) -> int:
        return int(np.searchsorted(self.ends, token, side="right")) + 1

    def fail(self, token: int, reason: str) -> NoReturn:
        raise MeshFileError(self.path, self.line_of(token), reason)

    def fail_line(self, line: int, reason: str) -> NoReturn:
        """``line`` is 0-based, as in ``count`` and ``first``."""
        raise MeshFileError(self.path, int(line) + 1, reason)

    def content(self, start: int = 0) -> IndexArray:
        """The 0-based lines from ``start`` on that hold tokens."""
        lines = np.flatnonzero(self.count[start:]) + start
        return lines.astype(np.int64)

    def floats(self, index: IndexArray) -> FloatArray:
        """The tokens at ``index`` as doubles; a token that is no number fails."""
        picked = self.objects[index]
        try:
            values = np.fromiter(map(float, picked), dtype=np.float64, count=len(picked))
            if not (self.underscores and b"_" in b"".join(picked)):
                return values
        except ValueError:
            pass
        for j, tok in enumerate(picked):
            try:
                if b"_" not in tok:
                    float(tok)
                    continue
            except ValueError:
                pass
            self.fail(int(index[j]), f"expected a number, found {_show(tok)}")
        raise AssertionError("unreachable")  # pragma: no cover

    def ints(self, index: IndexArray, tokens: Iterable[bytes] | None = None) -> IndexArray:
        """The tokens at ``index`` (or ``tokens``, derived from them) as int64."""
        picked = list(self.objects[index] if tokens is None else tokens)
        try:
            values = np.fromiter(map(int, picked), dtype=np.int64, count=len(picked))
            if not (self.underscores and b"_" in b"".join(picked)):
                return values
        except (ValueError, OverflowError):
            pass
        for j, tok in enumerate(picked):
            try:
                if b"_" not in tok and -2**63 <= int(tok) < 2**63:
                    continue
            except ValueError:
                pass
            self.fail(int(index[j]), f"expected an integer, found {_show(self.tokens[index[j]])}")
        raise AssertionError("unreachable")  # pragma: no cover

    def rows(self, lines: IndexArray, skip: int, width: int) -> IndexArray:
        """Token indices of columns ``skip .. skip+width-1`` of ``lines``, flat."""
        cols = np.arange(skip, skip + width, dtype=np.int64)
        return (self.first[lines][:, None] + cols).ravel()


def _drop_comments(chars: npt.NDArray[np.uint8], newlines: IndexArray) -> npt.NDArray[np.uint8]:
    """Remove every ``#`` and the rest of its line, keeping the line breaks."""
    hashes = np.flatnonzero(chars == 35)
    line = np.searchsorted(newlines, hashes)
    first = np.ones(len(hashes), dtype=bool)
    first[1:] = line[1:] != line[:-1]
    hashes, line = hashes[first], line[first]
    ends = np.append(newlines, len(chars))[line]
    edge = np.zeros(len(chars) + 1, dtype=np.int8)
    edge[hashes] = 1
    edge[ends] -= 1
    inside = np.cumsum(edge[:-1], dtype=np.int8).astype(bool)
    kept: npt.NDArray[np.uint8] = chars[~inside]
    return kept


def _ragged(starts: IndexArray, lengths: IndexArray) -> IndexArray:
    """Concatenated ranges ``starts[i] .. starts[i] + lengths[i] - 1``."""
    offsets = np.cumsum(lengths) - lengths
    total = int(lengths.sum())
    index: IndexArray = np.arange(total, dtype=np.int64) + np.repeat(starts - offsets, lengths)
    return index


def _first_true(mask: npt.NDArray[np.bool_]) -> int | None:
    hits = np.flatnonzero(mask)
    return int(hits[0]) if hits.size else None


def _fewer_than_three(k: int) -> str:
    return "empty face" if k == 0 else f"face of {k} vertices: a face needs at least 3"


def _triangulate(flat: IndexArray, lengths: IndexArray, nverts: int, fan: bool) -> IndexArray:
    """Triangles from faces given as their concatenated index lists.

    Raises ``_Bad`` for the first faulty face: fewer than 3 vertices, an
    index out of range, or more than 3 vertices when not fanning.
    """
    faults: list[tuple[int, str]] = []
    r = _first_true(lengths < 3)
    if r is not None:
        faults.append((r, _fewer_than_three(int(lengths[r]))))
    offsets = np.cumsum(lengths) - lengths
    j = _first_true((flat < 0) | (flat >= nverts))
    if j is not None:
        r = int(np.searchsorted(offsets, j, side="right")) - 1
        faults.append((r, f"vertex index {int(flat[j])} is out of range for {nverts} vertices"))
    if not fan:
        r = _first_true(lengths > 3)
        if r is not None:
            faults.append((r, f"face of {int(lengths[r])} vertices: polygons='error' accepts "
                              "only triangles"))
    if faults:
        raise _Bad(*min(faults))
    if not len(lengths) or (lengths == 3).all():
        return flat.reshape(-1, 3)
    ntri = lengths - 2
    base = np.repeat(offsets, ntri)
    step = np.arange(int(ntri.sum()), dtype=np.int64) - np.repeat(np.cumsum(ntri) - ntri, ntri) + 1
    return np.stack([flat[base], flat[base + step], flat[base + step + 1]], axis=1)


def _first_nonfinite(vertices: FloatArray) -> tuple[int, str] | None:
    r = _first_true(~np.isfinite(vertices).all(axis=1))
    if r is None:
        return None
    bad = next(x for x in vertices[r].tolist() if not np.isfinite(x))
    return r, f"coordinate {bad!r} is not finite"


def _check_finite_text(text: _Text, vertices: FloatArray, lines: IndexArray) -> None:
    fault = _first_nonfinite(vertices)
    if fault is not None:
        text.fail_line(int(lines[fault[0]]), fault[1])


def _empty() -> tuple[FloatArray, IndexArray]:
    return np.empty((0, 3), dtype=np.float64), np.empty((0, 3), dtype=np.int64)


# --------------------------------------------------------------------------
# OFF

_OFF_HEADER = re.compile(rb"(ST)?C?N?OFF")


def _read_off(path: str, data: bytes, fan: bool) -> tuple[FloatArray, IndexArray]:
    text = _Text(path, data, comments=True)
    lines = text.content()
    if not len(lines):
        raise MeshFileError(path, 1, "empty file: expected 'OFF' and the counts 'V F E'")
    head = int(lines[0])
    keyword = text.tokens[text.first[head]]
    skip, rest = 0, lines[1:]
    if _OFF_HEADER.fullmatch(keyword.upper()):
        if text.count[head] > 1:  # counts on the header line
            if text.tokens[text.first[head] + 1].upper() == b"BINARY":
                text.fail_line(head, "binary OFF is not supported; expected a text OFF file")
            skip, rest = 1, lines
        elif not len(rest):
            text.fail_line(head, "file ends before the counts 'V F E'")
        head = int(rest[0])
    elif b"OFF" in keyword.upper():
        text.fail_line(head, f"unsupported OFF header {_show(keyword)}: expected OFF, COFF, NOFF, "
                             "CNOFF or STOFF (3D coordinates, text)")
    else:
        rest = lines
    ncounts = int(text.count[head]) - skip
    if ncounts not in (2, 3):
        text.fail_line(head, f"expected the counts 'V F E', found {ncounts} values")
    counts = text.ints(text.first[head] + skip + np.arange(ncounts, dtype=np.int64))
    if (counts < 0).any():
        text.fail_line(head, f"negative count {int(counts.min())}")
    nv, nf = int(counts[0]), int(counts[1])
    body = rest[1:]
    if len(body) < nv + nf:
        have = len(body)
        where = (f"{have} of {nv} vertices" if have < nv else f"{have - nv} of {nf} faces")
        raise MeshFileError(path, text.nlines, f"file ends after {where}")
    if len(body) > nv + nf:
        text.fail_line(int(body[nv + nf]), f"unexpected data after the last of {nf} faces "
                                           "(do the counts match the file?)")

    vlines, flines = body[:nv], body[nv:]
    r = _first_true(text.count[vlines] < 3)
    if r is not None:
        text.fail_line(int(vlines[r]), f"expected 3 coordinates, found {int(text.count[vlines[r]])}")
    vertices = text.floats(text.rows(vlines, 0, 3)).reshape(-1, 3)
    _check_finite_text(text, vertices, vlines)

    k = text.ints(text.first[flines])
    listed = text.count[flines] - 1
    r = _first_true((k < 3) | (k > listed))
    if r is not None:
        reason = (_fewer_than_three(int(k[r])) if k[r] < 3 else
                  f"face of {int(k[r])} vertices lists only {int(listed[r])}")
        text.fail_line(int(flines[r]), reason)
    flat = text.ints(_ragged(text.first[flines] + 1, k))
    try:
        return vertices, _triangulate(flat, k, nv, fan)
    except _Bad as bad:
        text.fail_line(int(flines[bad.record]), bad.reason)


# --------------------------------------------------------------------------
# OBJ


def _read_obj(path: str, data: bytes, fan: bool) -> tuple[FloatArray, IndexArray]:
    text = _Text(path, data, comments=True)
    lines = text.content()
    if b"\\" in data:
        last = text.objects[text.ends[lines] - 1]
        r = _first_true(np.array([t.endswith(b"\\") for t in last], dtype=bool))
        if r is not None:
            text.fail_line(int(lines[r]), "line continuation '\\' is not supported")
    keyword = text.objects[text.first[lines]]
    vlines = lines[keyword == b"v"]
    flines = lines[(keyword == b"f") | (keyword == b"fo")]

    r = _first_true(text.count[vlines] < 4)
    if r is not None:
        text.fail_line(int(vlines[r]), f"expected 3 coordinates after 'v', found "
                                       f"{int(text.count[vlines[r]]) - 1}")
    vertices = text.floats(text.rows(vlines, 1, 3)).reshape(-1, 3)
    _check_finite_text(text, vertices, vlines)
    nv = len(vertices)

    k = text.count[flines] - 1
    r = _first_true(k < 3)
    if r is not None:
        text.fail_line(int(flines[r]), _fewer_than_three(int(k[r])))
    index = _ragged(text.first[flines] + 1, k)
    entries: Iterable[bytes] | None = None
    picked = text.objects[index]
    if b"/" in data:
        j = _first_true(np.array([t.count(b"/") > 2 for t in picked], dtype=bool))
        if j is not None:
            text.fail(int(index[j]), f"expected a face entry i, i/t, i//n or i/t/n, "
                                     f"found {_show(picked[j])}")
        entries = [t.partition(b"/")[0] for t in picked]
    raw = text.ints(index, entries)
    # a negative index counts back from the last vertex defined before its face
    before = np.repeat(np.searchsorted(vlines, flines), k)
    resolved = np.where(raw > 0, raw - 1, before + raw)
    j = _first_true((raw == 0) | (raw > nv) | (resolved < 0))
    if j is not None:
        value = int(raw[j])
        reason = ("vertex index 0: OBJ indices start at 1" if value == 0 else
                  f"vertex index {value} is out of range for {nv} vertices" if value > 0 else
                  f"relative vertex index {value} reaches before the first vertex "
                  f"({int(before[j])} defined so far)")
        text.fail(int(index[j]), reason)
    try:
        return vertices, _triangulate(resolved, k, nv, fan)
    except _Bad as bad:
        text.fail_line(int(flines[bad.record]), bad.reason)


# --------------------------------------------------------------------------
# PLY

_PLY_TYPES = {
    b"char": "i1", b"int8": "i1", b"uchar": "u1", b"uint8": "u1",
    b"short": "i2", b"int16": "i2", b"ushort": "u2", b"uint16": "u2",
    b"int": "i4", b"int32": "i4", b"uint": "u4", b"uint32": "u4",
    b"float": "f4", b"float32": "f4", b"double": "f8", b"float64": "f8",
}
_PLY_ORDER = {b"ascii": "", b"binary_little_endian": "<", b"binary_big_endian": ">"}
_FACE_LISTS = (b"vertex_indices", b"vertex_index")


@dataclass
class _Property:
    name: bytes
    type: str  # numpy type code without byte order; for lists the item type
    count_type: str | None  # None for scalars


@dataclass
class _Element:
    name: bytes
    count: int
    line: int
    props: list[_Property] = field(default_factory=list)


@dataclass
class _Records:
    """What was read of one element: wanted scalars and lists (raw types)."""

    end: int  # byte offset (binary) or content-line position (ASCII) after it
    scalars: dict[bytes, npt.NDArray[np.generic]]
    lists: dict[bytes, tuple[npt.NDArray[np.generic], IndexArray]]
    where: Callable[[int], tuple[int | None, str]]  # record -> (line, prefix)


def _ply_header(path: str, data: bytes) -> tuple[str, list[_Element], int, int]:
    """Format (byte order, '' for ASCII), elements, body offset and header lines."""
    order: str | None = None
    elements: list[_Element] = []
    pos = lineno = 0

    def fail(reason: str) -> NoReturn:
        raise MeshFileError(path, lineno, reason)

    while True:
        nl = data.find(b"\n", pos)
        line = data[pos:] if nl < 0 else data[pos:nl]
        pos = len(data) if nl < 0 else nl + 1
        lineno += 1
        words = line.split()
        if lineno == 1:
            if words != [b"ply"]:
                fail(f"not a PLY file: expected 'ply', found {_show(line[:20])}")
        elif not words or words[0] in (b"comment", b"obj_info"):
            pass
        elif words[0] == b"format":
            if order is not None:
                fail("a second 'format' line")
            if len(words) != 3 or words[1] not in _PLY_ORDER or words[2] not in (b"1.0", b"1"):
                fail("expected 'format ascii|binary_little_endian|binary_big_endian 1.0', "
                     f"found {_show(line.strip())}")
            order = _PLY_ORDER[words[1]]
        elif words[0] == b"element":
            if len(words) != 3 or not words[2].isdigit():
                fail(f"expected 'element <name> <count>', found {_show(line.strip())}")
            if any(e.name == words[1] for e in elements):
                fail(f"a second element {_show(words[1])}")
            elements.append(_Element(words[1], int(words[2]), lineno))
        elif words[0] == b"property":
            if not elements:
                fail("'property' before any 'element'")
            elements[-1].props.append(_ply_property(words, fail))
        elif words == [b"end_header"]:
            break
        else:
            fail(f"unknown header line {_show(line.strip())}")
        if nl < 0:
            fail("file ends inside the header: expected 'end_header'")
    if order is None:
        fail("no 'format' line in the header")
    return order, elements, pos, lineno


def _ply_property(words: list[bytes], fail: Callable[[str], NoReturn]) -> _Property:
    if len(words) == 3 and words[1] in _PLY_TYPES:
        return _Property(words[2], _PLY_TYPES[words[1]], None)
    if len(words) == 5 and words[1] == b"list" and words[2] in _PLY_TYPES and words[3] in _PLY_TYPES:
        count_type = _PLY_TYPES[words[2]]
        if count_type[0] == "f":
            fail(f"list count type must be an integer type, found {_show(words[2])}")
        return _Property(words[4], _PLY_TYPES[words[3]], count_type)
    fail(f"expected 'property <type> <name>' or 'property list <count type> <type> <name>' "
         f"with PLY types, found {_show(b' '.join(words))}")


def _read_ply(path: str, data: bytes, fan: bool) -> tuple[FloatArray, IndexArray]:
    order, elements, body, header_lines = _ply_header(path, data)
    vertex = next((e for e in elements if e.name == b"vertex"), None)
    face = next((e for e in elements if e.name == b"face"), None)
    if vertex is None:
        raise MeshFileError(path, header_lines, "no 'vertex' element in the header")
    for axis in (b"x", b"y", b"z"):
        prop = next((p for p in vertex.props if p.name == axis), None)
        if prop is None or prop.count_type is not None:
            raise MeshFileError(path, vertex.line, f"the vertex element needs a scalar property "
                                                   f"'{axis.decode()}'")
    face_list = b""
    if face is not None:
        prop = next((p for p in face.props if p.name in _FACE_LISTS), None)
        if prop is None or prop.count_type is None or prop.type[0] == "f":
            raise MeshFileError(path, face.line, "the face element needs a list of integers "
                                                 "'vertex_indices' (or 'vertex_index')")
        face_list = prop.name

    text = None if order else _Text(path, data, comments=False)
    lines = text.content(header_lines) if text is not None else np.empty(0, np.int64)
    got: dict[bytes, _Records] = {}
    pos = body if text is None else 0  # a byte offset, or a position in lines
    for el in elements:
        want = {b"x", b"y", b"z"} if el is vertex else {face_list} if el is face else set()
        if text is None:
            got[el.name] = _ply_binary(path, data, pos, el, order, want)
        else:
            got[el.name] = _ply_ascii(text, lines, pos, el, want)
        pos = got[el.name].end
    if text is None:
        if data[pos:].strip():
            raise MeshFileError(path, None, f"byte {pos}: {len(data) - pos} bytes after the last "
                                            "element (do the counts match the file?)")
    elif pos < len(lines):
        text.fail_line(int(lines[pos]), "unexpected data after the last element "
                                        "(do the counts match the file?)")

    rec = got[b"vertex"]
    vertices = np.stack([rec.scalars[a].astype(np.float64) for a in (b"x", b"y", b"z")], axis=1)
    fault = _first_nonfinite(vertices)
    if fault is not None:
        line, prefix = rec.where(fault[0])
        raise MeshFileError(path, line, prefix + fault[1])
    if face is None:
        return vertices, np.empty((0, 3), dtype=np.int64)
    rec = got[b"face"]
    flat, lengths = rec.lists[face_list]
    try:
        return vertices, _triangulate(flat.astype(np.int64), lengths, len(vertices), fan)
    except _Bad as bad:
        line, prefix = rec.where(bad.record)
        raise MeshFileError(path, line, prefix + bad.reason) from None


def _ply_ascii(text: _Text, lines: IndexArray, pos: int, el: _Element,
               want: set[bytes]) -> _Records:
    """One element, one record per line, walked property by property over
    all its records at once."""
    if len(lines) - pos < el.count:
        raise MeshFileError(text.path, text.nlines, f"file ends after {len(lines) - pos} of "
                                                    f"{el.count} '{el.name.decode('ascii', 'replace')}' elements")
    mine = lines[pos:pos + el.count]
    records = _Records(pos + el.count, {}, {}, lambda r: (int(mine[r]) + 1, ""))
    if not want:
        return records
    at = text.first[mine]
    stop = at + text.count[mine]

    def check(faulty: npt.NDArray[np.bool_], reason: Callable[[int], str]) -> None:
        r = _first_true(faulty)
        if r is not None:
            text.fail_line(int(mine[r]), reason(r))

    def short(r: int) -> str:
        return f"found only {int(text.count[mine[r]])} values for the properties the header declares"

    for prop in el.props:
        check(at >= stop, short)
        if prop.count_type is None:
            if prop.name in want:
                records.scalars[prop.name] = text.floats(at)
            at = at + 1
            continue
        n = text.ints(at)
        check(n < 0, lambda r: f"negative list length {int(n[r])}")
        at = at + 1 + n
        check(at > stop, lambda r: f"a list of {int(n[r])} values runs past the end of the line")
        if prop.name in want:
            records.lists[prop.name] = (text.ints(_ragged(at - n, n)), n)
    check(at < stop, lambda r: f"expected {int(at[r] - text.first[mine[r]])} values, "
                               f"found {int(text.count[mine[r]])}")
    return records


def _ply_binary(path: str, data: bytes, pos: int, el: _Element, order: str,
                want: set[bytes]) -> _Records:
    """One element of a binary body."""
    avail = len(data) - pos
    name = el.name.decode("ascii", "replace")
    # a record is never smaller than its scalars and list counts: refuse
    # counts the file cannot hold before walking or allocating anything
    least = sum(np.dtype(p.count_type or p.type).itemsize for p in el.props)
    if el.count * least > avail:
        raise MeshFileError(path, None, f"byte {pos}: {el.count} '{name}' elements need at least "
                                        f"{el.count * least} bytes, only {avail} remain")
    if el.count == 0 or not el.props:
        return _Records(pos, {b: np.empty(0) for b in want},
                        {b: (np.empty(0), np.empty(0, np.int64)) for b in want},
                        lambda r: (None, ""))
    return (_ply_strided(data, pos, el, order, want, name)
            or _ply_walk(path, data, pos, el, order, want, name))


def _ply_strided(data: bytes, pos: int, el: _Element, order: str, want: set[bytes],
                 name: str) -> _Records | None:
    """The element as one strided view when every record has the list
    lengths of the first (a triangle mesh's faces), else None."""
    lengths: dict[int, int] = {}
    at = pos
    for i, p in enumerate(el.props):
        if p.count_type is not None:
            unpack = struct.Struct(order + np.dtype(p.count_type).char)
            if at + unpack.size > len(data):
                return None
            lengths[i] = unpack.unpack_from(data, at)[0]
            if lengths[i] < 0:
                return None
            at += unpack.size + lengths[i] * np.dtype(p.type).itemsize
        else:
            at += np.dtype(p.type).itemsize
    if at > len(data):
        return None
    fields: list[tuple[str, str] | tuple[str, str, tuple[int]]] = []
    for i, p in enumerate(el.props):
        if p.count_type is None:
            fields.append((f"s{i}", order + p.type))
        else:
            fields += [(f"c{i}", order + p.count_type), (f"l{i}", order + p.type, (lengths[i],))]
    layout = np.dtype(fields)
    size = layout.itemsize
    if el.count * size > len(data) - pos:
        return None
    table = np.frombuffer(data, dtype=layout, count=el.count, offset=pos)
    if not all((table[f"c{i}"] == n).all() for i, n in lengths.items()):
        return None
    rec = _Records(pos + el.count * size, {}, {},
                   lambda r: (None, f"{name} {r} at byte {pos + r * size}: "))
    for i, p in enumerate(el.props):
        if p.name in want and p.count_type is None:
            rec.scalars[p.name] = table[f"s{i}"]
        elif p.name in want:
            rec.lists[p.name] = (table[f"l{i}"].reshape(-1),
                                 np.full(el.count, lengths[i], dtype=np.int64))
    return rec


def _ply_walk(path: str, data: bytes, pos: int, el: _Element, order: str,
              want: set[bytes], name: str) -> _Records:
    """Records of varying layout, one at a time (the caller has checked that
    the file can hold ``el.count`` of the smallest possible record)."""
    end = len(data)
    starts: list[int] = []
    scalar_at: dict[bytes, list[int]] = {}
    list_at: dict[bytes, tuple[list[int], list[int]]] = {}
    for p in el.props:
        if p.name in want:
            if p.count_type is None:
                scalar_at[p.name] = []
            else:
                list_at[p.name] = ([], [])
    steps = [(p.name, np.dtype(p.type).itemsize,
              None if p.count_type is None else struct.Struct(order + np.dtype(p.count_type).char))
             for p in el.props]

    def fail(r: int, reason: str) -> NoReturn:
        raise MeshFileError(path, None, f"{name} {r} at byte {starts[r]}: {reason}")

    for r in range(el.count):
        starts.append(pos)
        for prop, size, unpack in steps:
            if unpack is None:
                if prop in scalar_at:
                    scalar_at[prop].append(pos)
                pos += size
                continue
            if pos + unpack.size > end:
                fail(r, "the file ends inside it")
            n = unpack.unpack_from(data, pos)[0]
            if n < 0:
                fail(r, f"negative list length {n}")
            pos += unpack.size
            if prop in list_at:
                list_at[prop][0].append(pos)
                list_at[prop][1].append(n)
            pos += n * size
        if pos > end:
            fail(r, "the file ends inside it")

    rec = _Records(pos, {}, {}, lambda r: (None, f"{name} {r} at byte {starts[r]}: "))
    types = {p.name: np.dtype(order + p.type) for p in el.props}
    for prop, offsets in scalar_at.items():
        rec.scalars[prop] = _gather(data, np.array(offsets, dtype=np.int64), types[prop])
    for prop, (firsts, counts) in list_at.items():
        n = np.array(counts, dtype=np.int64)
        size = types[prop].itemsize
        items = np.repeat(np.array(firsts, dtype=np.int64), n) + _ragged(np.zeros_like(n), n) * size
        rec.lists[prop] = (_gather(data, items, types[prop]), n)
    return rec


def _gather(data: bytes, offsets: IndexArray, dtype: np.dtype[np.generic]) -> npt.NDArray[np.generic]:
    """Values of type ``dtype`` stored at the given byte offsets."""
    raw = np.frombuffer(data, dtype=np.uint8)
    cells = raw[offsets[:, None] + np.arange(dtype.itemsize)]
    return np.ascontiguousarray(cells).view(dtype).reshape(-1)


# --------------------------------------------------------------------------
# STL

_STL_RECORD = np.dtype([("normal", "<f4", (3,)), ("corners", "<f4", (3, 3)), ("attr", "<u2")])
_STL_FACET = (b"facet", b"outer", b"vertex", b"vertex", b"vertex", b"endloop", b"endfacet")


def _read_stl(path: str, data: bytes, fan: bool) -> tuple[FloatArray, IndexArray]:
    size = len(data)
    count = int.from_bytes(data[80:84], "little") if size >= 84 else -1
    if size >= 84 and 84 + 50 * count == size:
        return _stl_binary(path, data, count)
    if data[:256].lstrip()[:5].lower() == b"solid" and b"\0" not in data:
        return _stl_text(_Text(path, data, comments=False))
    if size < 84:
        raise MeshFileError(path, None, f"a file of {size} bytes is too short for a binary STL "
                                        "(84-byte header) and does not begin with 'solid'")
    raise MeshFileError(path, None, f"byte 80: the header counts {count} triangles, which take "
                                    f"{84 + 50 * count} bytes in a binary STL; the file has {size}")


def _stl_binary(path: str, data: bytes, count: int) -> tuple[FloatArray, IndexArray]:
    table = np.frombuffer(data, dtype=_STL_RECORD, count=count, offset=84)
    corners = table["corners"].reshape(-1, 3).astype(np.float64)
    fault = _first_nonfinite(corners)
    if fault is not None:
        t = fault[0] // 3
        raise MeshFileError(path, None, f"triangle {t} at byte {84 + 50 * t}: {fault[1]}")
    return _merge(corners)


def _stl_text(text: _Text) -> tuple[FloatArray, IndexArray]:
    lines = text.content()
    keywords = text.objects[text.first[lines]]
    vlines: IndexArray | None = None
    n = len(lines)
    if n >= 2 and (n - 2) % 7 == 0 and keywords[0] == b"solid" and keywords[-1] == b"endsolid":
        facets = keywords[1:-1].reshape(-1, 7)
        if all((facets[:, j] == kw).all() for j, kw in enumerate(_STL_FACET)):
            vlines = lines[1:-1].reshape(-1, 7)[:, 2:5].reshape(-1)
    if vlines is None:  # several solids, capitals, or a fault to find
        vlines = _stl_walk(text, lines, keywords)
    r = _first_true(text.count[vlines] != 4)
    if r is not None:
        text.fail_line(int(vlines[r]), f"expected 'vertex x y z', found "
                                       f"{int(text.count[vlines[r]])} words")
    corners = text.floats(text.rows(vlines, 1, 3)).reshape(-1, 3)
    _check_finite_text(text, corners, vlines)
    return _merge(corners)


def _stl_walk(text: _Text, lines: IndexArray, keywords: npt.NDArray[np.object_]) -> IndexArray:
    """The vertex lines of a text STL, checking its structure line by line."""
    vertex_lines: list[int] = []
    state = -1  # -1: before 'solid', 0..6: the next word of a facet, else 'endsolid'
    for line, written in zip(lines.tolist(), keywords):
        word = written.lower()
        if state == -1:
            expected: tuple[bytes, ...] = (b"solid",)
        elif state == 0:
            expected = (b"facet", b"endsolid")
        else:
            expected = (_STL_FACET[state],)
        if word not in expected:
            text.fail_line(line, "expected " + " or ".join(f"'{e.decode()}'" for e in expected)
                           + f", found {_show(written)}")
        if word == b"vertex":
            vertex_lines.append(line)
        state = {b"solid": 0, b"endsolid": -1, b"endfacet": 0}.get(word, state + 1)
    if state != -1:
        missing = b"endsolid" if state == 0 else _STL_FACET[state]
        raise MeshFileError(text.path, text.nlines,
                            f"file ends inside a solid: expected '{missing.decode()}'")
    return np.array(vertex_lines, dtype=np.int64)


def _merge(points: FloatArray) -> tuple[FloatArray, IndexArray]:
    """One vertex per distinct point (``-0.0`` equal to ``0.0``), numbered in
    order of first appearance, and each point's vertex as faces ``(-1, 3)``.

    Points are grouped by sorting a 64-bit hash of their bits; every group is
    then checked point by point, and an exact sort takes over in the (never
    yet seen) case of two different points sharing a hash.
    """
    n = len(points)
    if n == 0:
        return _empty()
    keys = [np.ascontiguousarray(points[:, j] + 0.0).view(np.uint64) for j in range(3)]
    with np.errstate(over="ignore"):
        h = (keys[0] * np.uint64(0x9E3779B97F4A7C15) ^ keys[1] * np.uint64(0xC2B2AE3D27D4EB4F)
             ^ keys[2] * np.uint64(0x165667B19E3779F9))
    h ^= h >> np.uint64(29)
    order = np.argsort(h)
    hs = h[order]
    new = np.empty(n, dtype=bool)
    new[0] = True
    np.not_equal(hs[1:], hs[:-1], out=new[1:])
    later = np.flatnonzero(~new)
    a, b = order[later], order[later - 1]
    if not all((k[a] == k[b]).all() for k in keys):
        order = np.lexsort(keys[::-1])
        new[1:] = np.zeros(n - 1, dtype=bool)
        for k in keys:
            ks = k[order]
            new[1:] |= ks[1:] != ks[:-1]
    starts = np.flatnonzero(new)
    first = np.minimum.reduceat(order, starts)
    group = np.cumsum(new) - 1
    rank = np.empty(len(first), dtype=np.int64)
    rank[np.argsort(first)] = np.arange(len(first), dtype=np.int64)
    index = np.empty(n, dtype=np.int64)
    index[order] = rank[group]
    return points[np.sort(first)], index.reshape(-1, 3)


# --------------------------------------------------------------------------
# Writing


def _checked(vertices: npt.ArrayLike, faces: npt.ArrayLike) -> tuple[FloatArray, IndexArray]:
    v = np.asarray(vertices)
    if v.dtype.kind not in "iuf":
        raise ValueError(f"vertices: expected real numbers, got dtype {v.dtype}")
    if v.ndim != 2 or v.shape[1] != 3:
        raise ValueError(f"vertices: expected shape (V, 3), got {v.shape}")
    v = np.ascontiguousarray(v, dtype=np.float64)
    fault = _first_nonfinite(v)
    if fault is not None:
        raise ValueError(f"vertices[{fault[0]}]: {fault[1]}")
    f = np.asarray(faces)
    if f.size == 0 and f.shape in ((0,), (0, 3)):
        return v, np.empty((0, 3), dtype=np.int64)
    if f.dtype.kind not in "iu":
        raise ValueError(f"faces: expected integer vertex indices, got dtype {f.dtype}")
    if f.ndim != 2 or f.shape[1] != 3:
        raise ValueError(f"faces: expected shape (F, 3), got {f.shape}")
    r = _first_true(((f < 0) | (f >= len(v))).any(axis=1))
    if r is not None:
        bad = next(i for i in f[r].tolist() if not 0 <= i < len(v))
        raise ValueError(f"faces[{r}]: vertex index {bad} is out of range for {len(v)} vertices")
    return v, np.ascontiguousarray(f, dtype=np.int64)


def _lines(template: str, values: npt.NDArray[np.generic]) -> str:
    """``template`` filled once per row of ``values``; ``%r`` of a float is
    the shortest text that reads back to the same double. Rows go in blocks,
    so the repeated template stays small next to the text it makes."""
    rows = values.reshape(len(values), values[0].size if len(values) else 0)
    block = 1 << 16
    return "".join((template * len(part)) % tuple(part.reshape(-1).tolist())
                   for part in (rows[i:i + block] for i in range(0, len(rows), block)))


def _write_off(v: FloatArray, f: IndexArray, binary: bool) -> bytes:
    return (f"OFF\n{len(v)} {len(f)} 0\n" + _lines("%r %r %r\n", v)
            + _lines("3 %d %d %d\n", f)).encode("ascii")


def _write_obj(v: FloatArray, f: IndexArray, binary: bool) -> bytes:
    return (_lines("v %r %r %r\n", v) + _lines("f %d %d %d\n", f + 1)).encode("ascii")


def _write_ply(v: FloatArray, f: IndexArray, binary: bool) -> bytes:
    if len(v) > 2**31 - 1:
        raise ValueError(f"vertices: PLY's 32-bit indices hold at most {2**31 - 1} vertices, "
                         f"got {len(v)}")
    header = ("ply\nformat " + ("binary_little_endian" if binary else "ascii") + " 1.0\n"
              f"element vertex {len(v)}\nproperty double x\nproperty double y\nproperty double z\n"
              f"element face {len(f)}\nproperty list uchar int vertex_indices\nend_header\n")
    if not binary:
        return (header + _lines("%r %r %r\n", v) + _lines("3 %d %d %d\n", f)).encode("ascii")
    records = np.empty(len(f), dtype=[("n", "u1"), ("i", "<i4", (3,))])
    records["n"] = 3
    records["i"] = f
    return header.encode("ascii") + v.astype("<f8").tobytes() + records.tobytes()


def _normals(corners: FloatArray) -> FloatArray:
    """Unit normals of triangles ``(F, 3, 3)``; zero where there is none."""
    with np.errstate(all="ignore"):
        n = np.cross(corners[:, 1] - corners[:, 0], corners[:, 2] - corners[:, 0])
        n = n / np.sqrt((n * n).sum(axis=1))[:, None]
    n[~np.isfinite(n).all(axis=1)] = 0.0
    return n


def _write_stl(v: FloatArray, f: IndexArray, binary: bool) -> bytes:
    if not binary:
        # each vertex is formatted once, not once per triangle using it
        rows = np.empty((len(f), 4), dtype=object)
        rows[:, 0] = _lines("%r %r %r\n", _normals(v[f])).splitlines()
        rows[:, 1:] = np.array(_lines("%r %r %r\n", v).splitlines(), dtype=object)[f]
        facet = ("facet normal %s\n outer loop\n  vertex %s\n  vertex %s\n  vertex %s\n"
                 " endloop\nendfacet\n")
        return ("solid mesh\n" + _lines(facet, rows) + "endsolid mesh\n").encode("ascii")
    with np.errstate(over="ignore"):
        v32 = v.astype(np.float32)
    r = _first_true(~np.isfinite(v32).all(axis=1))
    if r is not None:
        raise ValueError(f"vertices[{r}]: {v[r].tolist()} does not fit binary STL's 32-bit floats")
    if len(f) >= 2**32:
        raise ValueError(f"faces: binary STL holds at most {2**32 - 1} triangles, got {len(f)}")
    records = np.zeros(len(f), dtype=_STL_RECORD)
    records["corners"] = v32[f]
    records["normal"] = _normals(v32[f].astype(np.float64))
    header = b"binary STL written by zenolith".ljust(80)
    return header + len(f).to_bytes(4, "little") + records.tobytes()


_READERS: dict[str, Callable[[str, bytes, bool], tuple[FloatArray, IndexArray]]] = {
    "off": _read_off, "obj": _read_obj, "ply": _read_ply, "stl": _read_stl}
_WRITERS: dict[str, Callable[[FloatArray, IndexArray, bool], bytes]] = {
    "off": _write_off, "obj": _write_obj, "ply": _write_ply, "stl": _write_stl}

__all__ = ["IndexArray", "MeshFileError", "read_mesh", "write_mesh"]
