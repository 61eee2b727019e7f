# The intersections family's native entries, looked up by the classes of
# their arguments. do_intersect, intersection and squared_distance are
# zenolith's own (zenolith.intersections re-exports them), typed here.
from collections.abc import Sequence
from types import ModuleType
from typing import Any, overload

import numpy as np
import numpy.typing as npt

from zenolith.intersections import GeometricObject, Intersection, PointArray, RowIntersections
from zenolith.objects import ObjectArray

_Bools = npt.NDArray[np.bool_]
_Floats = npt.NDArray[np.float64]
# many objects at once: a typed object array or a list of core objects
_Many = ObjectArray[Any] | Sequence[GeometricObject]

# supported(): every table and the classes (or pairs) it takes
_testing: ModuleType

# one object against points
def do_intersect_points(obj: object, points: object) -> _Bools: ...
def squared_distance_points(obj: object, points: object) -> _Floats: ...
def closest_point_points(obj: object, points: object) -> _Floats: ...

@overload
def do_intersect(a: GeometricObject, b: GeometricObject) -> bool: ...
@overload
def do_intersect(a: GeometricObject, b: _Many | PointArray) -> _Bools: ...
@overload
def do_intersect(a: _Many | PointArray, b: GeometricObject | _Many | PointArray) -> _Bools: ...
@overload
def intersection(a: GeometricObject, b: GeometricObject) -> Intersection: ...
@overload
def intersection(a: GeometricObject, b: _Many | PointArray) -> RowIntersections: ...
@overload
def intersection(a: _Many | PointArray, b: GeometricObject | _Many | PointArray) -> RowIntersections: ...
@overload
def squared_distance(a: GeometricObject, b: GeometricObject) -> float: ...
@overload
def squared_distance(a: GeometricObject, b: _Many | PointArray) -> _Floats: ...
@overload
def squared_distance(a: _Many | PointArray, b: GeometricObject | _Many | PointArray) -> _Floats: ...
