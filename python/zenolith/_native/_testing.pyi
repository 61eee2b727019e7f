# Hooks for zenolith's tests and benchmarks, not part of the public API.
from typing import Any

import numpy as np
import numpy.typing as npt

def supported() -> dict[str, list[Any]]: ...
def orientation2_bare(p: object, q: object, r: object) -> npt.NDArray[np.int8]: ...
