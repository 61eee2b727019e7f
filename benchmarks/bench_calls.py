"""Per-call cost of the core's bindings, side by side with the same operation
written in pure Python (a __slots__ class) and with the cheapest CPython
builtin of the same shape (the floor for a call into C).

The three statements of an operation are timed in interleaved rounds in one
process and the median of each is kept, so that a noisy neighbour moves all
three alike. Printed per operation: ns per call, the module's cost as a
multiple of pure Python (mod/py, lower is better) and of the floor
(mod/floor), and the geometric means of both ratios. It measures; it does
not judge."""

from __future__ import annotations

import argparse
import math
import statistics
import timeit

import zenolith_core as z


class PyVector:
    __slots__ = ("x", "y")

    def __init__(self, x, y):
        self.x = float(x)
        self.y = float(y)

    def __mul__(self, s):
        return PyVector(self.x * s, self.y * s)

    def __neg__(self):
        return PyVector(-self.x, -self.y)


class PyPoint:
    __slots__ = ("x", "y")

    def __init__(self, x=0.0, y=0.0):
        self.x = float(x)
        self.y = float(y)

    def __sub__(self, q):
        return PyVector(self.x - q.x, self.y - q.y)

    def __add__(self, v):
        return PyPoint(self.x + v.x, self.y + v.y)

    def __eq__(self, q):
        return self.x == q.x and self.y == q.y

    def __lt__(self, q):
        return self.x < q.x or (self.x == q.x and self.y < q.y)


class PyPoint3:
    __slots__ = ("x", "y", "z")

    def __init__(self, x=0.0, y=0.0, z=0.0):
        self.x = float(x)
        self.y = float(y)
        self.z = float(z)


class PySegment:
    __slots__ = ("s", "t")

    def __init__(self, s, t):
        self.s = s
        self.t = t

    def squared_length(self):
        dx, dy = self.t.x - self.s.x, self.t.y - self.s.y
        return dx * dx + dy * dy


def py_orientation(p, q, r):
    a = (q.x - p.x) * (r.y - p.y)
    b = (q.y - p.y) * (r.x - p.x)
    return 1 if a > b else (-1 if a < b else 0)


def py_squared_distance(x1, y1, x2, y2):
    return (x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2)


SETUP = dict(
    z=z, math=math, PyPoint=PyPoint, PyPoint3=PyPoint3, PyVector=PyVector, PySegment=PySegment,
    py_orientation=py_orientation, py_squared_distance=py_squared_distance,
    p=z.Point2(1.0, 2.0), q=z.Point2(3.0, 5.0), r=z.Point2(-1.0, 4.0), v=z.Vector2(0.5, 0.25),
    s=z.Segment2(z.Point2(1.0, 2.0), z.Point2(3.0, 5.0)),
    pp=PyPoint(1.0, 2.0), pq=PyPoint(3.0, 5.0), pr=PyPoint(-1.0, 4.0), pv=PyVector(0.5, 0.25),
    ps=PySegment(PyPoint(1.0, 2.0), PyPoint(3.0, 5.0)),
    c1=complex(1.0, 2.0), c2=complex(3.0, 5.0),
)

# (operation, module statement, pure-Python statement, floor statement)
CASES = [
    ("Point2(1.0, 2.0)", "z.Point2(1.0, 2.0)", "PyPoint(1.0, 2.0)", "complex(1.0, 2.0)"),
    ("Point2(1, 2)", "z.Point2(1, 2)", "PyPoint(1, 2)", "complex(1, 2)"),
    ("Point3(1.0, 2.0, 3.0)", "z.Point3(1.0, 2.0, 3.0)", "PyPoint3(1.0, 2.0, 3.0)",
     "complex(1.0, 2.0)"),
    ("p.x", "p.x", "pp.x", "c1.real"),
    ("p - q", "p - q", "pp - pq", "c1 - c2"),
    ("p + v", "p + v", "pp + pv", "c1 + c2"),
    ("v * 2.0", "v * 2.0", "pv * 2.0", "c1 * 2.0"),
    ("p == q", "p == q", "pp == pq", "c1 == c2"),
    ("p < q", "p < q", "pp < pq", "1.0 < 2.0"),
    ("-v", "-v", "-pv", "-c1"),
    ("s.squared_length()", "s.squared_length()", "ps.squared_length()", "c1.conjugate()"),
    ("orientation(p, q, r)", "z.orientation(p, q, r)", "py_orientation(pp, pq, pr)",
     "max(1.0, 2.0, 3.0)"),
    ("squared_distance(...)", "z.squared_distance(1.0, 2.0, 3.0, 5.0)",
     "py_squared_distance(1.0, 2.0, 3.0, 5.0)", "math.hypot(1.0, 2.0, 3.0, 5.0)"),
]


def measure(statements, rounds):
    """Median ns per call of each statement, timed in interleaved rounds."""
    timers = [timeit.Timer(s, globals=SETUP) for s in statements]
    numbers = [max(1, t.autorange()[0] // 10) for t in timers]
    samples = [[] for _ in timers]
    for _ in range(rounds):
        for timer, number, out in zip(timers, numbers, samples):
            out.append(timer.timeit(number) / number * 1e9)
    return [statistics.median(s) for s in samples]


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--rounds", type=int, default=31, help="interleaved timing rounds")
    args = parser.parse_args()
    header = (f"{'operation':<24}{'module':>10}{'python':>10}{'floor':>10}"
              f"{'mod/py':>9}{'mod/floor':>11}")
    print(header)
    print("-" * len(header))
    to_py, to_floor = [], []
    for name, ours, python, floor in CASES:
        t_ours, t_py, t_floor = measure((ours, python, floor), args.rounds)
        to_py.append(t_ours / t_py)
        to_floor.append(t_ours / t_floor)
        print(f"{name:<24}{t_ours:>8.1f}ns{t_py:>8.1f}ns{t_floor:>8.1f}ns"
              f"{to_py[-1]:>8.2f}x{to_floor[-1]:>10.2f}x")
    print("-" * len(header))
    print(f"{'geometric mean':<54}{math.exp(statistics.fmean(map(math.log, to_py))):>8.2f}x"
          f"{math.exp(statistics.fmean(map(math.log, to_floor))):>10.2f}x")
    print("\nmod/py: the module's cost as a multiple of pure Python (below 1: faster);"
          " mod/floor: as a multiple of the cheapest builtin of the same shape.")


if __name__ == "__main__":
    main()
