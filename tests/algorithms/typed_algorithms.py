"""Typed use of zenolith-algorithms, read by mypy --strict in
tests/algorithms/test_algorithms.py and never run. Every line with an ignore
comment must stay a type error, which the checker's unused-ignore warning
enforces."""

from typing import assert_type

import zenolith
import zenolith_algorithms
from zenolith import library_version

assert_type(zenolith_algorithms.library_version(), str)
assert_type(zenolith.library_version(), str)
assert_type(library_version(), str)

# What the checker must reject.
zenolith.library_versions()  # type: ignore[attr-defined]
zenolith.library_version(1)  # type: ignore[call-arg]
