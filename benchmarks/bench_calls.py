"""Per-call cost of the module's bindings, side by side with the same
operation written in pure Python (a __slots__ class) and with the cheapest
CPython builtin of the same shape. Prints ns/call and the two ratios; it
measures, it does not judge (machines here are noisy: read the ratios)."""

import argparse
import math
import timeit

import zenolith_core as z


class PyVector:
    __slots__ = ("x", "y")

    def __init__(self, x, y):
        self.x = float(x)
        self.y = float(y)


class PyPoint:
    __slots__ = ("x", "y")

    def __init__(self, x=0.0, y=0.0):
        self.x = float(x)
        self.y = float(y)

    def __sub__(self, q):
        return PyVector(self.x - q.x, self.y - q.y)

    def __add__(self, v):
        return PyPoint(self.x + v.x, self.y + v.y)


def py_orientation(p, q, r):
    a = (q.x - p.x) * (r.y - p.y)
    b = (q.y - p.y) * (r.x - p.x)
    return 1 if a > b else (-1 if a < b else 0)


def py_squared_distance(x1, y1, x2, y2):
    return (x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2)


SETUP = dict(
    z=z, math=math, PyPoint=PyPoint, PyVector=PyVector,
    py_orientation=py_orientation, py_squared_distance=py_squared_distance,
    p=z.Point2(1.0, 2.0), q=z.Point2(3.0, 5.0), r=z.Point2(-1.0, 4.0), v=z.Vector2(0.5, 0.25),
    pp=PyPoint(1.0, 2.0), pq=PyPoint(3.0, 5.0), pr=PyPoint(-1.0, 4.0), pv=PyVector(0.5, 0.25),
    c1=complex(1.0, 2.0), c2=complex(3.0, 5.0),
)

# (operation, module statement, pure-Python statement, builtin statement)
CASES = [
    ("Point2(1.0, 2.0)", "z.Point2(1.0, 2.0)", "PyPoint(1.0, 2.0)", "complex(1.0, 2.0)"),
    ("Point2(1, 2)", "z.Point2(1, 2)", "PyPoint(1, 2)", "complex(1, 2)"),
    ("p.x", "p.x", "pp.x", "c1.real"),
    ("p - q", "p - q", "pp - pq", "c1 - c2"),
    ("p + v", "p + v", "pp + pv", "c1 + c2"),
    ("orientation(p, q, r)", "z.orientation(p, q, r)", "py_orientation(pp, pq, pr)",
     "max(1.0, 2.0, 3.0)"),
    ("squared_distance(...)", "z.squared_distance(1.0, 2.0, 3.0, 5.0)",
     "py_squared_distance(1.0, 2.0, 3.0, 5.0)", "math.hypot(1.0, 2.0, 3.0, 5.0)"),
]


def ns_per_call(stmt, repeat):
    timer = timeit.Timer(stmt, globals=SETUP)
    number, _ = timer.autorange()
    return min(timer.repeat(repeat=repeat, number=number)) / number * 1e9


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--repeat", type=int, default=5, help="timing rounds; the best is kept")
    args = parser.parse_args()
    header = f"{'operation':<24}{'module':>10}{'python':>10}{'builtin':>10}{'py/mod':>9}{'mod/blt':>9}"
    print(header)
    print("-" * len(header))
    for name, ours, python, builtin in CASES:
        t_ours, t_py, t_blt = (ns_per_call(s, args.repeat) for s in (ours, python, builtin))
        print(f"{name:<24}{t_ours:>8.1f}ns{t_py:>8.1f}ns{t_blt:>8.1f}ns"
              f"{t_py / t_ours:>8.2f}x{t_ours / t_blt:>8.2f}x")
    print("\npy/mod: how many times faster the module is than pure Python;"
          " mod/blt: how many times a builtin of the same shape the module costs.")


if __name__ == "__main__":
    main()
