"""Spreading work over processes with the module's objects as inputs and
outputs: the circumscribed circle of each of many triangles and how many
sample points lie inside it, computed in one process, then in a pool of
worker processes, then (when dask's distributed scheduler is installed) on a
local dask cluster of worker processes, which is how the same code runs on
many machines. Values travel by pickle, exactly, so all three agree bit for
bit.

    make parallel            # or: .venv/bin/python examples/parallel.py
"""

from __future__ import annotations

import argparse
import concurrent.futures
import functools
import random
import time
from collections.abc import Callable, Sequence

# The module's stubs may be absent; with them, the ignore is unused.
import zenolith_core as z  # type: ignore[import-not-found, import-untyped, unused-ignore]

Result = list[tuple[z.Circle2, int]]


def circumcircles(triangles: Sequence[z.Triangle2], points: Sequence[z.Point2]) -> Result:
    """Each triangle's circumscribed circle and the number of points strictly inside it."""
    result: Result = []
    for t in triangles:
        circle = z.Circle2(t.vertex(0), t.vertex(1), t.vertex(2))
        inside = sum(1 for p in points if circle.has_on_bounded_side(p))
        result.append((circle, int(inside)))
    return result


def make_input(count: int, samples: int, seed: int) -> tuple[list[z.Triangle2], list[z.Point2]]:
    rng = random.Random(seed)

    def point() -> z.Point2:
        return z.Point2(rng.uniform(-100.0, 100.0), rng.uniform(-100.0, 100.0))

    triangles = [z.Triangle2(point(), point(), point()) for _ in range(count)]
    return triangles, [point() for _ in range(samples)]


def chunks(items: Sequence[z.Triangle2], size: int) -> list[Sequence[z.Triangle2]]:
    return [items[i : i + size] for i in range(0, len(items), size)]


def in_pool(parts: list[Sequence[z.Triangle2]], points: list[z.Point2], workers: int) -> Result:
    job = functools.partial(circumcircles, points=points)
    with concurrent.futures.ProcessPoolExecutor(workers) as pool:
        return [pair for part in pool.map(job, parts) for pair in part]


def on_dask(parts: list[Sequence[z.Triangle2]], points: list[z.Point2], workers: int) -> Result | None:
    try:
        from distributed import Client, LocalCluster
    except ImportError:
        return None
    # distributed leaves these two untyped.
    cluster = LocalCluster(  # type: ignore[no-untyped-call, unused-ignore]
        n_workers=workers, threads_per_worker=1, processes=True, dashboard_address=None
    )
    with cluster, Client(cluster) as client:  # type: ignore[no-untyped-call, unused-ignore]
        shared = client.scatter(points, broadcast=True)
        futures = client.map(circumcircles, parts, points=shared)
        return [pair for part in client.gather(futures) for pair in part]


def same(a: Result, b: Result) -> bool:
    """Equal circles, orientations and counts (equality compares the exact doubles)."""
    return len(a) == len(b) and all(
        c == d and c.orientation() == d.orientation() and m == n for (c, m), (d, n) in zip(a, b)
    )


def timed(run: Callable[[], Result | None]) -> tuple[Result | None, float]:
    start = time.perf_counter()
    result = run()
    return result, time.perf_counter() - start


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--triangles", type=int, default=2000)
    parser.add_argument("--points", type=int, default=400)
    parser.add_argument("--workers", type=int, default=2)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()

    triangles, points = make_input(args.triangles, args.points, args.seed)
    parts = chunks(triangles, max(1, len(triangles) // (4 * args.workers)))

    here, t_here = timed(lambda: circumcircles(triangles, points))
    assert here is not None
    print(f"{len(triangles)} triangles, {len(points)} sample points")
    print(f"  one process:        {t_here:6.2f} s")
    biggest = max(here, key=lambda pair: pair[1])
    print(f"  fullest circle: {biggest[0]} holds {biggest[1]} points")

    pooled, t_pool = timed(lambda: in_pool(parts, points, args.workers))
    assert pooled is not None and same(here, pooled), "the process pool disagrees"
    print(f"  process pool ({args.workers}):   {t_pool:6.2f} s, identical results")

    dasked, t_dask = timed(lambda: on_dask(parts, points, args.workers))
    if dasked is None:
        print("  dask cluster: skipped (pip install 'dask[distributed]' to run it)")
    else:
        assert same(here, dasked), "the dask cluster disagrees"
        print(f"  dask cluster ({args.workers}):   {t_dask:6.2f} s (cluster start included), identical results")


if __name__ == "__main__":
    main()
