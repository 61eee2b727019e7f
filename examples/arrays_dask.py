"""Classify tens of millions of points against a convex polyhedron with
zenolith's array operations, spread over a local dask cluster of worker
processes: the same code runs on a real cluster by pointing the Client at it.

The polyhedron is the octahedron |x| + |y| + |z| <= 1, given by its eight
planes; a point is inside when it is on no plane's positive side. Points are
drawn uniformly in the cube [-1, 1]^3, so about 1/6 of them are inside.

Workers receive plain numbers (plane coefficients and coordinate blocks) and
build the core objects themselves.

    python examples/arrays_dask.py --points 20000000 --workers 2
"""

from __future__ import annotations

import argparse
import time

import dask.array as da
import numpy as np
import numpy.typing as npt
from distributed import Client, LocalCluster

import zenolith as zl
import zenolith_core as z

#: a x + b y + c z + d = 0 for each face of the octahedron, outward normals
PLANES = np.array(
    [[sx, sy, sz, -1.0] for sx in (1.0, -1.0) for sy in (1.0, -1.0) for sz in (1.0, -1.0)]
)


def inside_block(block: npt.NDArray[np.float64], planes: npt.NDArray[np.float64]) -> npt.NDArray[np.bool_]:
    """True for the points of one block that lie on no plane's positive side."""
    inside = np.ones(len(block), dtype=bool)
    for a, b, c, d in planes.tolist():
        inside &= zl.oriented_side(z.Plane3(a, b, c, d), block) <= 0
    return inside


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--points", type=int, default=20_000_000)
    parser.add_argument("--chunk", type=int, default=1_000_000, help="points per block")
    parser.add_argument("--workers", type=int, default=2, help="worker processes")
    args = parser.parse_args()

    # (dask's constructors carry no annotations)
    cluster = LocalCluster(  # type: ignore[no-untyped-call]
        n_workers=args.workers, threads_per_worker=1, processes=True)
    with cluster, Client(cluster) as client:  # type: ignore[no-untyped-call]
        # the coordinates are drawn in the workers, block by block
        rng = da.random.default_rng(2024)  # type: ignore[no-untyped-call]
        points = rng.uniform(-1.0, 1.0, size=(args.points, 3), chunks=(args.chunk, 3))
        inside = points.map_blocks(inside_block, PLANES, dtype=bool, drop_axis=1)
        start = time.perf_counter()
        count = int(inside.sum().compute())
        elapsed = time.perf_counter() - start
        print(f"{count} of {args.points} points inside: fraction {count / args.points:.5f} "
              f"(the volume ratio is 1/6 = {1 / 6:.5f})")
        print(f"{elapsed:.2f} s on {len(client.scheduler_info()['workers'])} worker processes "
              f"({elapsed / args.points * 1e9:.1f} ns per point, drawing included)")


if __name__ == "__main__":
    main()
