"""How the families' Python fronts pass arguments to their native code."""

from __future__ import annotations

from typing import Any

import numpy as np
import numpy.typing as npt


def points_argument(points: npt.ArrayLike, ndim: int) -> Any:
    """An empty list or tuple is zero points of `ndim` coordinates; anything
    else goes to the native reader, which checks shape, dtype and
    finiteness."""
    if isinstance(points, (list, tuple)) and len(points) == 0:
        return np.empty((0, ndim))
    return points
