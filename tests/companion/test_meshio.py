"""zenolith.meshio: bit-exact round trips through every format, the file
variants the readers accept, and malformed files reported with their line
(or byte) and reason, quickly and without allocating from their counts."""

import pickle
import struct
import time
import tracemalloc

import numpy as np
import pytest

from zenolith import meshio
from zenolith.meshio import MeshFileError, read_mesh, write_mesh

FORMATS = [("off", False), ("obj", False), ("ply", False), ("ply", True), ("stl", False), ("stl", True)]
SQUARE = [[0.0, 0.0, 0.0], [1.0, 0.0, 0.0], [1.0, 1.0, 0.0], [0.0, 1.0, 0.0]]


def cube():
    v = np.array([[x, y, z] for x in (0.0, 1.0) for y in (0.0, 1.0) for z in (0.0, 1.0)])
    # the faces use the vertices first in index order, so STL keeps the numbering
    f = np.array([[0, 1, 2], [1, 3, 2], [4, 5, 6], [5, 7, 6], [0, 4, 1], [1, 4, 5],
                  [2, 3, 6], [3, 7, 6], [0, 2, 4], [2, 6, 4], [1, 5, 3], [3, 5, 7]])
    return v, f


def soup(single=False):
    """Random bit patterns (subnormals, huge values, ...) and awkward doubles."""
    rng = np.random.default_rng(7)
    if single:
        v = rng.integers(0, 2**32, (40, 3), dtype=np.uint32).view(np.float32).astype(np.float64)
    else:
        v = rng.integers(0, 2**64, (40, 3), dtype=np.uint64).view(np.float64)
        v[:7, 0] = [0.1, -0.0, 1e-300, 1e300, 2.0**-1074, -1.7976931348623157e308, 1 / 3]
    return np.where(np.isfinite(v), v, 0.5), rng.integers(0, 40, (60, 3))


def bits(a):
    return np.ascontiguousarray(a, dtype=np.float64).view(np.uint64)


@pytest.mark.parametrize("fmt, binary", FORMATS)
def test_round_trips_keep_every_bit(tmp_path, fmt, binary):
    path = tmp_path / f"m.{fmt.upper()}"  # the suffix counts in any case
    for v, f in (cube(), soup(single=fmt == "stl" and binary)):
        write_mesh(path, v, f, binary=binary)
        rv, rf = read_mesh(path)
        assert rv.dtype == np.float64 and rf.dtype == np.int64 and rv.flags.writeable
        if fmt == "stl":  # separate triangles: compare their corners
            assert np.array_equal(bits(rv[rf]), bits(v[f]))
        else:
            assert np.array_equal(bits(rv), bits(v)) and np.array_equal(rf, f)
    # a closed mesh comes back as it was, STL included
    write_mesh(path, *cube(), binary=binary)
    rv, rf = read_mesh(path)
    assert np.array_equal(rv, cube()[0]) and np.array_equal(rf, cube()[1])
    write_mesh(path, np.empty((0, 3)), [], binary=binary)
    assert [a.shape for a in read_mesh(path)] == [(0, 3), (0, 3)]


def test_stl_merges_equal_points_and_binary_stl_holds_floats(tmp_path):
    path = tmp_path / "m.stl"
    v = np.array([[0.0, 0, 0], [1, 0, 0], [0, 1, 0], [-0.0, 0, 0], [0.1, 0, 0]])
    f = np.array([[0, 1, 2], [3, 2, 4]])  # vertex 3 is vertex 0 but for the sign of zero
    write_mesh(path, v, f)
    rv, rf = read_mesh(path)
    assert rv.tolist() == [[0, 0, 0], [1, 0, 0], [0, 1, 0], [0.1, 0, 0]] and rf.tolist() == [[0, 1, 2], [0, 2, 3]]
    write_mesh(path, v, f, binary=True)
    assert read_mesh(path)[0][3, 0] == np.float32(0.1)
    v[2, 1] = 1e300
    with pytest.raises(ValueError, match=r"vertices\[2\].*32-bit"):
        write_mesh(path, v, f, binary=True)


def test_binary_stl_may_begin_with_solid(tmp_path):
    path = tmp_path / "m.stl"
    corners = np.array(SQUARE[:3], dtype="<f4")
    data = b"solid, but binary".ljust(80) + struct.pack("<I", 1) + bytes(12) + corners.tobytes() + bytes(2)
    path.write_bytes(data)
    v, f = read_mesh(path)
    assert v.tolist() == SQUARE[:3] and f.tolist() == [[0, 1, 2]]
    path.write_bytes(data[:-1])
    with pytest.raises(MeshFileError, match="byte 80: the header counts 1 triangles"):
        read_mesh(path)


PLY_HEAD = "ply\nformat ascii 1.0\ncomment hand made\n"


@pytest.mark.parametrize("name, text", [
    ("a.off", "# by hand\nOFF # header\n\n4 2 0 # counts\n0 0 0 255 0 0\n1 0 0\n1 1 0\n\n0 1 0\n"
              "3 0 1 2 7 7 7\n3 0 2 3\n"),
    ("a.off", "COFF 4 2 0\r\n0 0 0 1 1 1 1\r\n1 0 0 1 1 1 1\r\n1 1 0 1 1 1 1\r\n0 1 0 1 1 1 1\r\n"
              "3 0 1 2\r\n3 0 2 3\r\n"),
    ("a.obj", "mtllib a_1.mtl\no sq\nv 0 0 0\nv 1 0 0 1\nvt 0 0\nvn 0 0 1\nv 1 1 0\ns off\n"
              "f 1/1/1 2//1 3/1\nv 0 1 0 # last\nusemtl m_1\nf -4 -2 -1\nl 1 2\n"),
    ("a.ply", PLY_HEAD + "element tag 1\nproperty list uchar int ids\nelement vertex 4\nproperty int x\n"
              "property uchar red\nproperty list uchar float extra\nproperty float y\nproperty double z\n"
              "element face 2\nproperty list uchar uint vertex_index\nproperty int flags\nend_header\n"
              "2 5 6\n0 9 0 0 0\n1 9 2 0.5 0.5 0 0\n1 9 1 7 1 0\n0 9 0 1 0\n3 0 1 2 0\n3 0 2 3 0\n"),
    ("a.stl", "SOLID a\nFACET NORMAL 0 0 1\nOUTER LOOP\nVERTEX 0 0 0\nVERTEX 1 0 0\nVERTEX 1 1 0\nENDLOOP\n"
              "ENDFACET\nENDSOLID\nsolid b\n facet normal 0 0 1\n  outer loop\n   vertex 0 0 0\n"
              "   vertex 1 1 0\n   vertex 0 1 0\n  endloop\n endfacet\nendsolid b\n"),
])
def test_text_variants(tmp_path, name, text):
    path = tmp_path / name
    path.write_bytes(text.encode())
    v, f = read_mesh(path)
    assert v.tolist() == SQUARE and f.tolist() == [[0, 1, 2], [0, 2, 3]]


PENTAGON = [[0, 0, 0], [1, 0, 0], [2, 1, 0], [1, 2, 0], [0, 1, 0]]
POLYGONS = {  # a quad, then a pentagon
    "off": "OFF\n5 2 0\n" + "".join(f"{x} {y} {z}\n" for x, y, z in PENTAGON) + "4 0 1 2 4\n5 0 1 2 3 4\n",
    "obj": "# pentagon\nv 0 0 0\nv 1 0 0\nv 2 1 0\nv 1 2 0\nv 0 1 0\n\nf 1 2 3 5\nf 1 2 3 4 5\n",
    "ply": "ply\nformat ascii 1.0\nelement vertex 5\nproperty float x\nproperty float y\nproperty float z\n"
           "element face 2\nproperty list uchar int vertex_indices\nend_header\n0 0 0\n1 0 0\n2 1 0\n1 2 0\n"
           "0 1 0\n4 0 1 2 4\n5 0 1 2 3 4\n",
}
FAN = [[0, 1, 2], [0, 2, 4], [0, 1, 2], [0, 2, 3], [0, 3, 4]]


@pytest.mark.parametrize("fmt", POLYGONS)
def test_polygons_are_fanned_or_refused(tmp_path, fmt):
    path = tmp_path / f"p.{fmt}"
    path.write_text(POLYGONS[fmt])
    assert read_mesh(path)[1].tolist() == FAN
    with pytest.raises(MeshFileError, match="face of 4 vertices: polygons='error'") as err:
        read_mesh(path, polygons="error")
    assert err.value.line == {"off": 8, "obj": 8, "ply": 15}[fmt]


def binary_ply(order, faces):
    """A PLY with lists before, inside and after the mesh's own properties."""
    e = "<" if order == "little" else ">"
    head = (f"ply\nformat binary_{order}_endian 1.0\nobj_info x\nelement tag 2\nproperty list uchar float rgba\n"
            "property int id\nelement vertex 5\nproperty uchar flag\nproperty double z\n"
            "property list ushort short junk\nproperty float y\nproperty int x\nelement face "
            f"{len(faces)}\nproperty short pre\nproperty list int uint vertex_index\n"
            "property list uchar uchar tex\nelement edge 1\nproperty list uchar int ends\nend_header\n")
    body = struct.pack(e + "B4fi", 4, 1, 2, 3, 4, 7) + struct.pack(e + "Bi", 0, 8)
    for i, (x, y, z) in enumerate(PENTAGON):
        body += struct.pack(f"{e}BdH{i}hfi", 1, z, i, *range(i), y, x)
    for face in faces:
        body += struct.pack(f"{e}hi{len(face)}IB2B", -1, len(face), *face, 2, 9, 9)
    return head.encode() + body + struct.pack(e + "B2i", 2, 0, 1)


@pytest.mark.parametrize("order", ["little", "big"])
@pytest.mark.parametrize("faces, triangles", [
    ([[0, 1, 2, 4], [1, 2, 3, 4]], [[0, 1, 2], [0, 2, 4], [1, 2, 3], [1, 3, 4]]),  # one layout
    ([[0, 1, 2, 4], [2, 3, 4]], [[0, 1, 2], [0, 2, 4], [2, 3, 4]]),  # lengths vary
])
def test_binary_ply_skips_what_it_does_not_need(tmp_path, order, faces, triangles):
    path = tmp_path / "b.ply"
    data = binary_ply(order, faces)
    path.write_bytes(data)
    v, f = read_mesh(path)
    assert v.tolist() == PENTAGON and f.tolist() == triangles
    for cut in (1, 8, 30, 60):  # every truncation is an error, never a shorter mesh
        path.write_bytes(data[:-cut])
        with pytest.raises(MeshFileError, match="byte"):
            read_mesh(path)


def ply_binary_faces(body, count="char"):
    head = ("ply\nformat binary_little_endian 1.0\nelement vertex 3\nproperty float x\nproperty float y\n"
            f"property float z\nelement face 2\nproperty list {count} int vertex_indices\nend_header\n")
    return head.encode() + np.array(SQUARE[:3], "<f4").tobytes() + body


A_TRIANGLE = "v 0 0 0\nv 1 0 0\nv 0 1 0\n"
OFF3 = "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n"
PLY3 = ("ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
        "element face 1\nproperty list uchar int vertex_indices\nend_header\n0 0 0\n1 0 0\n0 1 0\n")
FACE1 = f"face 1 at byte {len(ply_binary_faces(b'')) + 13}: "  # after vertices and one triangle
FACET = "facet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nvertex 0 1 0\nendloop\nendfacet\n"


@pytest.mark.parametrize("name, data, line, words", [
    ("a.off", "", 1, "empty file"),
    ("a.off", "OFF\n3 1 0\n0 0 0\n1 0 0\n", 4, "ends after 2 of 3 vertices"),
    ("a.off", "OFF\n3 1\n0 0 0\n1 0\n0 1 0\n3 0 1 2\n", 4, "3 coordinates, found 2"),
    ("a.off", "OFF\n3 1 0\n0 0 0\n1 x 0\n0 1 0\n3 0 1 2\n", 4, "number, found 'x'"),
    ("a.off", "OFF\n3 1 0\n0 0 0\n1 1_0 0\n0 1 0\n3 0 1 2\n", 4, "number, found '1_0'"),
    ("a.off", "OFF\n3 1 0\n0 0 0\n1 -inf 0\n0 1 0\n3 0 1 2\n", 4, "-inf is not finite"),
    ("a.off", OFF3 + "3 0 1 3\n", 6, "index 3 is out of range for 3"),
    ("a.off", OFF3 + "3 0 1 2.0\n", 6, "integer, found '2.0'"),
    ("a.off", OFF3 + "2 0 1\n", 6, "at least 3"),
    ("a.off", OFF3 + "0\n", 6, "empty face"),
    ("a.off", OFF3 + "4 0 1 2\n", 6, "lists only 3"),
    ("a.off", OFF3 + "3 0 1 2\n3 0 1 2\n", 7, "after the last of 1 faces"),
    ("a.off", "4OFF\n1 0 0\n0 0 0 1\n", 1, "unsupported OFF header"),
    ("a.obj", "v 0 0 0\nv 1 0\n", 2, "3 coordinates after 'v', found 2"),
    ("a.obj", A_TRIANGLE + "f 1 2 0\n", 4, "start at 1"),
    ("a.obj", A_TRIANGLE + "f 1 2 4\n", 4, "index 4 is out of range for 3"),
    ("a.obj", "v 0 0 0\nv 1 0 0\nf -1 -2 -3\nv 0 1 0\n", 3, "before the first vertex"),
    ("a.obj", A_TRIANGLE + "f 1/1/1/1 2 3\n", 4, "i/t/n"),
    ("a.obj", A_TRIANGLE + "f 1 2\n", 4, "at least 3"),
    ("a.obj", A_TRIANGLE + "f 1 2 \\\n 3\n", 4, "continuation"),
    ("a.ply", "plyx\n", 1, "not a PLY file"),
    ("a.ply", "ply\nformat ascii 2.0\n", 2, "expected 'format"),
    ("a.ply", "ply\nformat ascii 1.0\nelement vertex 1\nproperty real x\n", 4, "PLY types"),
    ("a.ply", PLY3.replace("property float z\n", ""), 3, "property 'z'"),
    ("a.ply", PLY3.split("end_header")[0], 9, "expected 'end_header'"),
    ("a.ply", PLY3.replace("1 0 0\n", "1 0\n"), 11, "found only 2 values"),
    ("a.ply", PLY3.replace("1 0 0\n", "1 0 0 0\n"), 11, "expected 3 values, found 4"),
    ("a.ply", PLY3 + "4 0 1 2\n", 13, "list of 4 values runs past"),
    ("a.ply", PLY3 + "3 0 1 7\n", 13, "index 7 is out of range"),
    ("a.ply", PLY3, 12, "ends after 0 of 1 'face'"),
    ("a.stl", "solid\n" + FACET.replace("vertex 0 1 0\n", ""), 6, "expected 'vertex', found 'endloop'"),
    ("a.stl", "solid\n" + FACET.replace("vertex 1 0 0", "vertex 1 0 0 9") + "endsolid\n", 5, "vertex x y z"),
    ("a.stl", "solid\n" + FACET, 8, "expected 'endsolid'"),
    ("a.stl", "solid x\nendsolid x\n" + FACET, 3, "expected 'solid', found 'facet'"),
    ("a.stl", b"xyz", None, "too short for a binary STL"),
    ("a.stl", bytes(133), None, "byte 80: the header counts 0 triangles"),
    ("a.ply", ply_binary_faces(struct.pack("<b3ib3i", 3, 0, 1, 2, 3, 0, 1, 3)),
     None, FACE1 + "vertex index 3 is out of range"),
    ("a.ply", ply_binary_faces(struct.pack("<b3ib", 3, 0, 1, 2, -1)), None, FACE1 + "negative list length -1"),
    ("a.ply", ply_binary_faces(struct.pack("<b3ib2i", 3, 0, 1, 2, 3, 0, 1)), None, FACE1 + "the file ends"),
    ("a.ply", ply_binary_faces(struct.pack("<b3ib3ix", 3, 0, 1, 2, 3, 0, 1, 2)), None, "1 bytes after the last"),
])
def test_malformed_files_name_line_and_reason(tmp_path, name, data, line, words):
    path = tmp_path / name
    path.write_bytes(data.encode() if isinstance(data, str) else data)
    with pytest.raises(MeshFileError) as err:
        read_mesh(path)
    assert err.value.line == line and words in err.value.reason
    where = f"{path}, line {line}: " if line else f"{path}: "
    assert str(err.value) == where + err.value.reason
    assert isinstance(err.value, ValueError) and pickle.loads(pickle.dumps(err.value)).line == line


@pytest.mark.parametrize("name, data", [
    ("a.off", b"OFF\n99999999999999 1 0\n0 0 0\n"),
    ("a.off", OFF3.encode() + b"4000000000 0 1 2\n"),
    ("a.ply", PLY3.replace("vertex 3", "vertex 999999999999").encode()),
    ("a.ply", PLY3.replace("ascii", "binary_little_endian").replace("vertex 3", "vertex 999999999999")
     .encode()),
    ("a.ply", ply_binary_faces(struct.pack("<I", 2**32 - 1) + bytes(8), count="uint")),
    ("a.stl", bytes(80) + struct.pack("<I", 2**32 - 1) + bytes(50)),
])
def test_huge_counts_fail_fast_without_allocating(tmp_path, name, data):
    path = tmp_path / name
    path.write_bytes(data)
    tracemalloc.start()
    start = time.perf_counter()
    try:
        with pytest.raises(MeshFileError):
            read_mesh(path)
        peak = tracemalloc.get_traced_memory()[1]
    finally:
        tracemalloc.stop()
    assert peak < 1 << 20 and time.perf_counter() - start < 1


@pytest.mark.parametrize("args, kwargs, error, words", [
    (([[0, 0, np.nan]], [[0, 0, 0]]), {}, ValueError, "vertices[0]: coordinate nan is not finite"),
    (([[0, 0, 0], [1, 1, 1]], [[0, 1, 1], [0, 1, 2]]), {}, ValueError, "faces[1]: vertex index 2 is out of range"),
    (([[0, 0]], [[0, 0, 0]]), {}, ValueError, "vertices: expected shape (V, 3), got (1, 2)"),
    (([[0, 0, 0]], [[0.0, 0, 0]]), {}, ValueError, "faces: expected integer"),
    (([["a", "b", "c"]], []), {}, ValueError, "vertices: expected real numbers"),
    (([[0, 0, 0]], [[0, 0, 0]]), {"binary": True}, ValueError, "OFF is a text format"),
    (([[0, 0, 0]], [[0, 0, 0]]), {"format": "vrml"}, ValueError, "one of 'off', 'obj', 'ply', 'stl'"),
    (([[0, 0, 0]], [[0, 0, 0]]), {"format": 3}, TypeError, "format: expected a str"),
])
def test_writer_refuses_bad_input_before_creating_the_file(tmp_path, args, kwargs, error, words):
    path = tmp_path / "m.off"
    with pytest.raises(error) as err:
        write_mesh(path, *args, **kwargs)
    assert words in str(err.value) and not path.exists()


def test_format_path_and_option_errors(tmp_path):
    with pytest.raises(ValueError, match=r"\.off, \.obj, \.ply or \.stl"):
        read_mesh(tmp_path / "m.vrml")
    with pytest.raises(ValueError, match="polygons: expected 'fan' or 'error'"):
        read_mesh(tmp_path / "m.off", polygons="skip")
    with pytest.raises(TypeError, match="path: expected a str"):
        read_mesh(b"m.off")
    with pytest.raises(FileNotFoundError):
        read_mesh(tmp_path / "missing.off")
    write_mesh(tmp_path / "m.mesh", *cube(), format="OBJ")
    assert read_mesh(tmp_path / "m.mesh", "obj")[1].tolist() == cube()[1].tolist()
    assert set(meshio.__all__) >= {"MeshFileError", "read_mesh", "write_mesh"}
