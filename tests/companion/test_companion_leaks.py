"""Repeated calls of every family of zenolith (array operations, exact
predicates, intersections per pair and against point arrays, drawing to SVG
text) must release everything they allocate, results, exact numbers and
exceptions alike: the resident size stays flat over many rounds."""

import gc
import os

import numpy as np
import pytest

import zenolith
import zenolith_core as z
from zenolith import _intersections, exact
from helpers import SAMPLES

P2, P3 = z.Point2, z.Point3

# Objects that all pass through or around the origin, so that most pairs
# meet and the intersections are constructed; the shared samples lie apart
# and give the pairs that do not.
MEETING = [
    P2(0, 0), z.Line2(P2(-1, -1), P2(1, 1)), z.Segment2(P2(-1, 0), P2(1, 0)), z.Ray2(P2(0, -1), P2(0, 1)),
    z.Triangle2(P2(-1, -1), P2(2, 0), P2(0, 2)), z.IsoRectangle2(P2(-1, -1), P2(1, 1)),
    z.Circle2(P2(0, 0), 1.0), z.Bbox2(-1, -1, 1, 1),
    P3(0, 0, 0), z.Line3(P3(-1, -1, -1), P3(1, 1, 1)), z.Segment3(P3(-1, 0, 0), P3(1, 0, 0)),
    z.Ray3(P3(0, -1, 0), P3(0, 1, 0)), z.Plane3(1, 1, 1, 0), z.Triangle3(P3(-1, -1, 0), P3(2, 0, 0), P3(0, 2, 0)),
    z.Sphere3(P3(0, 0, 0), 1.0), z.Tetrahedron3(P3(-1, -1, -1), P3(2, 0, 0), P3(0, 2, 0), P3(0, 0, 2)),
    z.IsoCuboid3(P3(-1, -1, -1), P3(1, 1, 1)), z.Bbox3(-1, -1, -1, 1, 1, 1),
    z.Circle3(P3(1, 0, 0), P3(0, 1, 0), P3(0, 0, 1)),
]
_namespace = {}
exec(SAMPLES, _namespace)
OBJECTS = MEETING + _namespace["SAMPLES"]
BY_CLASS = {}
for _obj in OBJECTS:
    BY_CLASS.setdefault(type(_obj), []).append(_obj)

TABLES = _intersections._testing.supported()
PAIRS = [(a, b) for cls_a, cls_b in {pair for op in ("do_intersect", "intersection", "squared_distance")
                                     for pair in TABLES[op]}
         for a in BY_CLASS[cls_a] for b in BY_CLASS[cls_b]]
ALONG_POINTS = [obj for op in ("do_intersect_points", "squared_distance_points", "closest_point_points")
                for cls in TABLES[op] for obj in BY_CLASS[cls]]

PTS2 = np.array([[0.0, 0.0], [0.5, -0.25], [3.0, 1.0], [0.1, 0.1], [0.2, 0.2], [0.3, 0.3]])
PTS3 = np.array([[0.0, 0.0, 0.0], [0.5, -0.25, 1.0], [3.0, 1.0, 2.0], [0.1, 0.1, 0.1], [0.2, 0.2, 0.2],
                 [0.3, 0.3, 0.3]])
NAN2 = np.array([[0.0, np.nan]])
HUGE = np.broadcast_to(np.zeros(2), (2**40, 2))
T = z.AffTransformation2(z.Line2(1, 2, 3)) * z.AffTransformation2(2.0)


def refused(*calls):
    for f in calls:
        try:
            f()
        except (TypeError, ValueError, OverflowError, MemoryError):
            pass
        else:
            raise AssertionError(f"expected an error from {f}")


def arrays_round():
    a = zenolith.arrays
    for pts, objs in ((PTS2, MEETING[:8]), (PTS3, MEETING[8:])):
        a.orientation(pts, pts[::-1], pts[1]) if len(pts[0]) == 2 else a.orientation(pts, pts, pts[::-1], pts[0])
        a.squared_distance(pts, pts[::-1]), a.bbox(pts), a.lexicographic_order(pts)
        a.points2(PTS2), a.points3(PTS3), a.to_array(a.points2(PTS2)), a.vectors2(PTS2), a.vectors3(PTS3)
        for f in (a.oriented_side, a.bounded_side, a.has_on, a.projection):
            for obj in objs:
                try:
                    f(obj, pts)
                except TypeError:  # a class this query does not take
                    pass
    plane = MEETING[12]
    a.to_2d(plane, PTS3), a.to_3d(plane, PTS2), a.transform(T, PTS2), a.transform_vectors(T, PTS2)
    a.segments2(np.zeros((3, 2, 2))), a.segments3(np.zeros((3, 2, 3))), a.triangles3(np.zeros((2, 3, 3)))
    a.weighted_points2(PTS3)
    refused(lambda: a.points2(HUGE), lambda: a.orientation(PTS2, [[1, 2, 3]], PTS2),
            lambda: a.to_array([P2(0, 0), P3(0, 0, 0)]), lambda: a.bbox(np.ma.masked_array(PTS2)),
            lambda: a.transform(None, PTS2), lambda: a.points3("abc"), lambda: a.segments2([[1, 2], [3]]))


def exact_round():
    e = exact
    p, q, r, s = (P3(*row) for row in PTS3[2:])
    e.orientation(P2(0.1, 0.1), P2(0.2, 0.2), P2(0.3, 0.3))  # decided exactly, not by the filter
    e.orientation(PTS2, PTS2[::-1], PTS2[2]), e.orientation(p, q, r, s), e.coplanar(p, q, r, s)
    e.side_of_oriented_circle(PTS2, PTS2[1], PTS2[2], PTS2[3]), e.side_of_bounded_sphere(p, q, r, s, p)
    e.collinear(PTS3, PTS3[3], PTS3[4]), e.are_ordered_along_line(PTS2, PTS2[3], PTS2[5])
    e.compare_xy(PTS2, PTS2[::-1]), e.compare_lexicographically(p, q), e.equal(PTS3, PTS3)
    for obj in OBJECTS:
        for f in (e.oriented_side, e.bounded_side, e.has_on):
            try:
                f(obj, PTS2 if type(obj).__name__.endswith("2") else PTS3)
            except TypeError:
                pass
    refused(lambda: e.orientation(PTS2, NAN2, PTS2), lambda: e.equal(P2(0, float("inf")), P2(0, 0)),
            lambda: e.coplanar(p, q, r, None), lambda: e.has_on(P2(0, 0), PTS2))


def intersections_round():
    for a, b in PAIRS:
        for f in (zenolith.do_intersect, zenolith.intersection, zenolith.squared_distance):
            try:
                f(a, b)
            except TypeError:  # a pair this operation does not take
                pass
    for obj in ALONG_POINTS:
        pts = PTS2 if type(obj).__name__.endswith("2") else PTS3
        for f in (zenolith.do_intersect, zenolith.squared_distance, zenolith.closest_point):
            try:
                f(obj, pts)
            except TypeError:
                pass
    refused(lambda: zenolith.intersection(z.Line2(1e-310, 1, -1), z.Line2(0, 1, 0)),  # beyond the doubles
            lambda: zenolith.do_intersect(P2(0, float("nan")), MEETING[1]),
            lambda: zenolith.intersection(MEETING[0], MEETING[8]), lambda: zenolith.do_intersect(MEETING[1], NAN2))


def drawing_round():
    d = zenolith.Drawing(*MEETING[:8], title="<all> & \x01", size=300)
    d.add(*MEETING[8:], PTS3, label="spatial", stroke="#ff0000")
    d.svg()
    zenolith.Drawing(*OBJECTS[:12], plane=MEETING[12], view=(-2, -2, 2, 2)).svg()
    refused(lambda: d.add(P2(float("nan"), 0)), lambda: d.add(P2(0, 0), colour="red"),
            lambda: zenolith.Drawing(size=-1), lambda: zenolith.Drawing(plane=z.Plane3(0, 0, 0, 1)))


# Under a second each; every round makes from dozens to hundreds of calls.
ROUNDS = {arrays_round: 600, exact_round: 600, intersections_round: 120, drawing_round: 100}
FAMILIES = list(ROUNDS)


def resident_bytes():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


@pytest.mark.skipif(not os.path.exists("/proc/self/statm"), reason="needs /proc")
@pytest.mark.parametrize("family", FAMILIES, ids=lambda f: f.__name__.removesuffix("_round"))
def test_no_growth_over_many_rounds(family):
    for _ in range(30):  # warm up caches and allocator pools
        family()
    gc.collect()
    before = resident_bytes()
    rounds = ROUNDS[family]
    for _ in range(rounds):
        family()
    gc.collect()
    grown = resident_bytes() - before
    # each round makes hundreds of calls: a leak of one small object per
    # call would add megabytes
    assert grown < 500_000, f"resident size grew by {grown} bytes over {rounds} rounds"
