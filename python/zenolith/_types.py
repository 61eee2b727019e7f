"""Type aliases shared by the public functions of zenolith."""

from __future__ import annotations

from typing import Union

import numpy as np
import numpy.typing as npt

from zenolith_core import Point2, Point3, Vector2, Vector3

#: 2D points: an ``(N, 2)`` array-like of real numbers, one point as a
#: length-2 sequence, or a core ``Point2`` (a ``Vector2`` reads the same way).
Points2Like = Union[Point2, Vector2, npt.ArrayLike]

#: 3D points: an ``(N, 3)`` array-like, one length-3 sequence, or a ``Point3``
#: (or ``Vector3``).
Points3Like = Union[Point3, Vector3, npt.ArrayLike]

#: Signs -1 / 0 / 1, one per row (0-d when every input was a single point).
SignArray = npt.NDArray[np.int8]

#: Booleans, one per row (0-d when every input was a single point).
BoolArray = npt.NDArray[np.bool_]

#: Doubles, one per row (0-d when every input was a single point).
FloatArray = npt.NDArray[np.float64]

__all__ = ["Points2Like", "Points3Like", "SignArray", "BoolArray", "FloatArray"]
