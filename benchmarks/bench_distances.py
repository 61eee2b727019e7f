"""Squared distances from one spatial triangle to many points, per point:
zenolith's array call against the same formula vectorised with numpy and
a Python loop over zenolith's per-object call. Prints ns/point and the
ratios; the machines are noisy, read the ratios, not the times."""

from __future__ import annotations

import argparse
import timeit

import numpy as np
import numpy.typing as npt

import zenolith
import zenolith_core as z

Floats = npt.NDArray[np.float64]


def numpy_squared_distance(a: Floats, b: Floats, c: Floats, p: Floats) -> Floats:
    """Squared distance from the triangle abc to every row of p: the
    closest-point region test (vertex, edge or face), vectorised."""
    ab, ac, ap = b - a, c - a, p - a
    d1, d2 = ap @ ab, ap @ ac
    bp = p - b
    d3, d4 = bp @ ab, bp @ ac
    cp = p - c
    d5, d6 = cp @ ab, cp @ ac
    va = d3 * d6 - d5 * d4
    vb = d5 * d2 - d1 * d6
    vc = d1 * d4 - d3 * d2
    with np.errstate(divide="ignore", invalid="ignore"):
        denom = 1.0 / (va + vb + vc)
        v, w = vb * denom, vc * denom
        closest = a + v[:, None] * ab + w[:, None] * ac  # inside the face
        # edge ab
        t = d1 / (d1 - d3)
        m = (vc <= 0) & (d1 >= 0) & (d3 <= 0)
        closest[m] = a + t[m, None] * ab
        # edge ac
        t = d2 / (d2 - d6)
        m = (vb <= 0) & (d2 >= 0) & (d6 <= 0)
        closest[m] = a + t[m, None] * ac
        # edge bc
        t = (d4 - d3) / ((d4 - d3) + (d5 - d6))
        m = (va <= 0) & (d4 - d3 >= 0) & (d5 - d6 >= 0)
        closest[m] = b + t[m, None] * (c - b)
    # vertices
    closest[(d1 <= 0) & (d2 <= 0)] = a
    closest[(d3 >= 0) & (d4 <= d3)] = b
    closest[(d6 >= 0) & (d5 <= d6)] = c
    diff = p - closest
    result: Floats = np.einsum("ij,ij->i", diff, diff)
    return result


def per_point(total: float, n: int) -> float:
    return total / n * 1e9


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--points", type=int, default=1_000_000)
    parser.add_argument("--loop-points", type=int, default=20_000,
                        help="points for the Python loop (it is timed on fewer)")
    parser.add_argument("--repeat", type=int, default=5)
    args = parser.parse_args()

    rng = np.random.default_rng(7)
    pts = rng.uniform(-2.0, 2.0, size=(args.points, 3))
    a, b, c = np.array([0.0, 0.0, 0.0]), np.array([1.0, 0.1, 0.2]), np.array([0.3, 1.0, -0.1])
    tri = z.Triangle3(z.Point3(*a), z.Point3(*b), z.Point3(*c))

    ours = zenolith.squared_distance(tri, pts)
    ref = numpy_squared_distance(a, b, c, pts)
    worst = float(np.max(np.abs(ours - ref) / np.maximum(ref, 1e-300)))
    print(f"largest relative difference zenolith vs numpy: {worst:.2e}")

    def best(stmt: str, n: int, env: dict[str, object]) -> float:
        return per_point(min(timeit.repeat(stmt, globals=env, number=1, repeat=args.repeat)), n)

    env: dict[str, object] = dict(zenolith=zenolith, numpy_squared_distance=numpy_squared_distance,
                                  tri=tri, pts=pts, a=a, b=b, c=c)
    t_ours = best("zenolith.squared_distance(tri, pts)", args.points, env)
    t_numpy = best("numpy_squared_distance(a, b, c, pts)", args.points, env)
    few = [z.Point3(*row) for row in pts[: args.loop_points].tolist()]
    env["few"] = few
    t_loop = best("[zenolith.squared_distance(tri, p) for p in few]", len(few), env)

    print(f"squared_distance(Triangle3, points), {args.points} points")
    print(f"{'route':<44}{'ns/point':>12}{'vs zenolith':>14}")
    for name, t in [
        ("zenolith.squared_distance(tri, array)", t_ours),
        ("numpy, same formula vectorised", t_numpy),
        ("Python loop of squared_distance(tri, p)", t_loop),
    ]:
        print(f"{name:<44}{t:>12.1f}{t / t_ours:>13.1f}x")
    print(f"goal: numpy / zenolith >= 0.5 (got {t_numpy / t_ours:.1f}); "
          f"loop / zenolith >= 50 (got {t_loop / t_ours:.0f})")


if __name__ == "__main__":
    main()
