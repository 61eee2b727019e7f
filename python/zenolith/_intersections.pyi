# The intersections family's native entries, looked up by the classes of
# their arguments; zenolith.intersections carries the prose and overloads.
from types import ModuleType
from typing import Any

import numpy as np
import numpy.typing as npt

_Bools = npt.NDArray[np.bool_]
_Floats = npt.NDArray[np.float64]

# supported(): every table and the classes (or pairs) it takes
_testing: ModuleType

# one object against points
def do_intersect_points(obj: object, points: object) -> _Bools: ...
def squared_distance_points(obj: object, points: object) -> _Floats: ...
def closest_point_points(obj: object, points: object) -> _Floats: ...

# two objects, looked up by the pair of classes
def do_intersect(a: object, b: object) -> bool: ...
def intersection(a: object, b: object) -> Any: ...
def squared_distance(a: object, b: object) -> float: ...
