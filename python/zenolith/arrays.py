"""Whole-array geometry: the core's per-object operations over numpy arrays.

Every function here computes, row by row, exactly what the core's per-object
call computes for the same numbers (bit for bit, NaN and infinities
included), in a C++ loop that releases the GIL.

Shape rules, shared by every function:

* points are ``(N, 2)`` or ``(N, 3)`` array-likes of real numbers (any dtype
  numpy converts to float64, any strides); one point may be given as a
  length-2/3 sequence or a core point object and broadcasts against the
  others;
* the result has length ``N``, or is 0-d when every input is a single point;
* a wrong rank, trailing dimension, dtype or length raises ``ValueError``,
  an object of the wrong class ``TypeError``.
"""

from __future__ import annotations

from typing import overload

from . import _native
from ._types import Points2Like, Points3Like, SignArray


@overload
def orientation(p: Points2Like, q: Points2Like, r: Points2Like) -> SignArray: ...
@overload
def orientation(p: Points3Like, q: Points3Like, r: Points3Like, s: Points3Like) -> SignArray: ...
def orientation(
    p: Points2Like | Points3Like,
    q: Points2Like | Points3Like,
    r: Points2Like | Points3Like,
    s: Points3Like | None = None,
) -> SignArray:
    """Orientation of point triples in the plane (or quadruples in space).

    With three arguments: 1 where ``p, q, r`` make a left turn, -1 for a right
    turn, 0 when collinear (the core's ``orientation``, as int8). With four
    3D arguments: the sign of the orientation of the tetrahedron
    ``p, q, r, s`` (1 positive, -1 negative, 0 coplanar).

    The double formula of the kernel: near-degenerate input can get a wrong
    sign; use :func:`zenolith.exact.orientation` where that matters.
    """
    if s is None:
        return _native.orientation2(p, q, r)
    return _native.orientation3(p, q, r, s)


__all__ = ["orientation"]
