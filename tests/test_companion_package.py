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
    ((np.zeros((2, 2)), np.zeros((3, 2)), [0, 1]), ValueError, "p has 2 points, q has 3"),
    ((z.Segment2(z.Point2(0, 0), z.Point2(1, 1)), [1, 0], [0, 1]), TypeError, "got Segment2"),
])
def test_errors_name_the_argument(args, error, text):
    with pytest.raises(error, match=None) as info:
        zenolith.orientation(*args)
    assert text in str(info.value)
