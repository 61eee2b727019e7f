"""What the benchmarks against peer libraries share: best-of-N timing in
wall-clock and CPU time, the line that reports a goal, and the compiling of
the bare C++ programs that measure the library's own floor."""

from __future__ import annotations

import shutil
import subprocess
import time
from pathlib import Path
from typing import Any, Callable

ROOT = Path(__file__).resolve().parent.parent
#: How the bare C++ programs are compiled: as the extensions are, less LTO.
BARE_FLAGS = ["-std=c++17", "-O3", "-DNDEBUG", "-DCGAL_NDEBUG", "-ffp-contract=off"]


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


def bare_binary(stem: str) -> Path | None:
    """benchmarks/<stem>.cpp compiled into build/bench/<stem> when the source
    is newer than the binary; None (and a note why) when it cannot be built."""
    source, binary = ROOT / "benchmarks" / f"{stem}.cpp", ROOT / "build" / "bench" / stem
    if binary.exists() and binary.stat().st_mtime >= source.stat().st_mtime:
        return binary
    compiler = shutil.which("g++")
    if compiler is None:
        print("bare C++ floor not measured: no g++")
        return None
    binary.parent.mkdir(parents=True, exist_ok=True)
    command = [compiler, *BARE_FLAGS, "-o", str(binary), str(source), "-lgmp", "-lmpfr"]
    print("compiling:", " ".join(command), flush=True)
    done = subprocess.run(command, capture_output=True, text=True)
    if done.returncode != 0:
        binary.unlink(missing_ok=True)
        print(f"bare C++ floor not measured: the compile failed\n{done.stderr[-3000:]}")
        return None
    return binary
