"""What the benchmarks against peer libraries share: best-of-N timing in
wall-clock and CPU time, and the line that reports a goal."""

from __future__ import annotations

import time
from typing import Any, Callable


def best_times(fn: Callable[[], Any], repeat: int) -> tuple[float, float, Any]:
    """The fastest of `repeat` runs in wall-clock and in CPU seconds, and the
    last run's result (freed only after the next run's clock has stopped, so
    that no run times the freeing of another's)."""
    wall = cpu = float("inf")
    result = None
    for _ in range(max(1, repeat)):
        result = None
        start, start_cpu = time.perf_counter(), time.process_time()
        result = fn()
        wall = min(wall, time.perf_counter() - start)
        cpu = min(cpu, time.process_time() - start_cpu)
    return wall, cpu, result


def goal(text: str, ratio: float | None, target: float, at_most: bool = False) -> None:
    """Prints whether a measured ratio meets its goal (never fails)."""
    if ratio is None:
        print(f"goal: {text} (not measured)")
        return
    met = ratio <= target if at_most else ratio >= target
    sign = "<=" if at_most else ">="
    print(f"goal: {text} {sign} {target:g} (got {ratio:.2f}: {'met' if met else 'NOT met'})")
