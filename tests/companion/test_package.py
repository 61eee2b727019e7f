"""The companion package: installed beside the core, sharing its classes,
reading arguments by the common shape rules."""

import numpy as np
import pytest

import zenolith
import zenolith_core as z
from zenolith import _native


def test_core_objects_cross_over_as_themselves():
    # The native part knows the core's classes: a core point is read as a
    # point, not refused as an unknown type.
    p, q, r = z.Point2(0, 0), z.Point2(1, 0), z.Point2(0, 1)
    assert zenolith.orientation(p, q, r) == z.orientation(p, q, r).left_turn()
    assert _native.__file__.endswith(".so")


def test_shape_rules():
    pts = np.array([[0.0, 0.0], [1.0, 1.0], [2.0, 2.5]])
    got = zenolith.orientation([0, 0], [1, 0], pts)  # single points broadcast
    assert got.dtype == np.int8 and got.shape == (3,)
    assert got.tolist() == [0, 1, 1]
    assert zenolith.orientation((0, 0), z.Point2(1, 0), [0, 1]).shape == ()
    # non-contiguous and integer input
    assert zenolith.orientation(pts[::2], pts[::2], np.arange(4).reshape(2, 2)).tolist() == [0, 0]


@pytest.mark.parametrize("args, error, text", [
    (([0, 0, 0], [1, 0], [0, 1]), ValueError, "p: expected 2D points"),
    ((np.zeros((3, 3)), [1, 0], [0, 1]), ValueError, "shape (3, 3)"),
    ((["a", "b"], [1, 0], [0, 1]), ValueError, "dtype <U1"),
    ((np.zeros((2, 2)), np.zeros((3, 2)), [0, 1]), ValueError, "p has 2 rows, q has 3"),
    ((z.Segment2(z.Point2(0, 0), z.Point2(1, 1)), [1, 0], [0, 1]), TypeError, "got Segment2"),
])
def test_errors_name_the_argument(args, error, text):
    with pytest.raises(error, match=None) as info:
        zenolith.orientation(*args)
    assert text in str(info.value)


@pytest.mark.parametrize("bad", [None, object(), "ab", b"ab"])
def test_what_is_neither_an_object_nor_numbers_is_a_type_error(bad):
    seg = z.Segment2(z.Point2(0, 0), z.Point2(1, 1))
    for call in (lambda: zenolith.orientation(bad, [1, 0], [0, 1]),
                 lambda: zenolith.has_on(seg, bad),
                 lambda: zenolith.exact.has_on(seg, bad),
                 lambda: zenolith.squared_distance(seg, bad)):
        with pytest.raises(TypeError, match=f"got {type(bad).__name__}"):
            call()
    with pytest.raises(TypeError, match=f"has_on: expected one of Line2, .*got {type(bad).__name__}"):
        zenolith.has_on(bad, [0, 0])


def test_double_and_exact_forms_take_the_same_classes():
    tables = _native._testing.supported()
    for op in ("oriented_side", "bounded_side", "has_on"):
        assert tables[op] == tables["exact." + op], op
        for cls in tables[op]:  # one wording for every refusal
            other = z.Direction2(1, 0)
            with pytest.raises(TypeError, match=f"^{op}: expected one of .*{cls.__name__}.*got Direction2"):
                getattr(zenolith, op)(other, [0, 0])
            with pytest.raises(TypeError, match=f"^{op}: expected one of .*{cls.__name__}.*got Direction2"):
                getattr(zenolith.exact, op)(other, [0, 0])


def test_spheres_and_circles_in_space_answer_has_on_as_the_core_does():
    s = z.Sphere3(z.Point3(0, 0, 0), 1.0)
    c = z.Circle3(z.Point3(0, 0, 0), 1.0, z.Plane3(0, 0, 1, 0))
    pts = np.array([[1.0, 0, 0], [0, 1, 0], [0, 0, 1], [0.6, 0.8, 0], [0.5, 0.5, 0.5]])
    for obj in (s, c):
        expected = [obj.has_on(z.Point3(*row)) for row in pts.tolist()]
        assert zenolith.has_on(obj, pts).tolist() == expected


def test_version_and_supported_pairs_need_nothing_outside_the_package():
    import importlib.metadata
    assert zenolith.__version__ == importlib.metadata.version("zenolith")
    pairs = zenolith.supported_pairs("intersection")
    assert ("Ray3", "Triangle3") in pairs and ("Sphere3", "Line3") not in pairs
    with pytest.raises(ValueError, match="supported_pairs"):
        zenolith.supported_pairs("union")
