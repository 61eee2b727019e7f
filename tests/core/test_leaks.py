"""Calls that allocate (new results, exceptions, failed overload matches)
must release everything: the resident size stays flat over many rounds."""

import gc
import os

import pytest

import zenolith_core as z

P2, P3 = z.Point2, z.Point3


def resident_bytes():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def one_round():
    p, q, r = P2(0, 0), P2(1.5, 0), P2(0, 2)
    repr(z.orientation(p, q, r))
    v = z.Vector3(1.0, 2.0, 3.0)  # the fast entries: constructors, operators, properties
    (-(v * 2.0) + v).x, P3(1.0, 2.0, 3.0) - P3(0, 0, 0), p < q, P2(1.0, 2.0).x
    (q - p).transform(z.AffTransformation2(z.Line2(p, r)) * z.AffTransformation2(2.0))
    t = z.Triangle2(p, q, r)
    t.bbox(), list(t), t.transform(z.AffTransformation2(1.0, 0.0))
    z.Circle2(p, q, r).bbox()
    b = z.Bbox2(0, 0, 1, 1)
    b.dilate(3)
    b += z.Bbox2(-1, -1, 0, 0)
    s1, s2 = z.Sphere3(P3(0, 0, 0), 1.0), z.Sphere3(P3(1, 0, 0), 1.0)
    c = z.Circle3(s1, s2)
    c.bbox(), c.supporting_plane().base2(), s1.bbox(), repr(c)
    z.Plane3(P3(1, 0, 0), P3(0, 1, 0), P3(0, 0, 1)).to_2d(P3(1, 1, 1))
    list(z.IsoCuboid3(P3(0, 0, 0), P3(1, 1, 1)))
    for bad in (lambda: z.Circle3(s1, z.Sphere3(P3(9, 0, 0), 1.0)),  # ValueError path
                lambda: z.Bbox2().dilate(1),  # Boost error translated
                lambda: p == 1,  # no overload matches
                lambda: z.Point2(None, 1)):
        try:
            bad()
        except (TypeError, ValueError):
            pass


@pytest.mark.skipif(not os.path.exists("/proc/self/statm"), reason="needs /proc")
def test_no_growth_over_many_rounds():
    for _ in range(2000):  # warm up caches and allocator pools
        one_round()
    gc.collect()
    before = resident_bytes()
    for _ in range(20000):
        one_round()
    gc.collect()
    grown = resident_bytes() - before
    # a leak of even one small object per round would add megabytes
    assert grown < 1_000_000, f"resident size grew by {grown} bytes"
