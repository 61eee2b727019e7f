"""Small utilities shared by the test files."""

import math
import struct


def bits(x):
    """The exact bit pattern of a float: tells -0.0 from 0.0 and NaNs apart."""
    return struct.pack("<d", x)


def same_float(a, b):
    """Equal to the last bit, signed zeros distinguished, NaN equal to NaN."""
    if math.isnan(a) and math.isnan(b):
        return True
    return bits(a) == bits(b)


def coords(obj, n=2):
    return tuple(obj[i] for i in range(n))


class FloatLike:
    def __init__(self, v):
        self.v = v

    def __float__(self):
        return self.v


class IndexLike:
    def __init__(self, v):
        self.v = v

    def __index__(self):
        return self.v


class FloatRaises:
    def __float__(self):
        raise ZeroDivisionError("no float here")


class IndexRaises:
    def __index__(self):
        raise ZeroDivisionError("no index here")


# Class attributes pybind11 adds by itself, not bindings of ours.
PYBIND_EXTRAS = ("__doc__", "__module__", "__hash__", "_pybind11_conduit_v1_")


def run_child(code):
    """Runs `code` in a fresh interpreter, so that a crash fails one test
    with its output instead of ending the whole session."""
    import subprocess
    import sys

    return subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, timeout=600)


# One instance of every class, as source text for child interpreters.
SAMPLES = """
import zenolith_core as z
P2, Q2, R2 = z.Point2(1, 2), z.Point2(3, 4), z.Point2(5, 0)
P3, Q3, R3, S3 = z.Point3(1, 2, 3), z.Point3(0, 0, 0), z.Point3(1, 0, 0), z.Point3(0, 1, 0)
SAMPLES = [
    P2, z.Vector2(1, 2), z.orientation(P2, Q2, R2), z.Bbox2(0, 0, 1, 1), z.Direction2(1, 2),
    z.Line2(1, 2, 3), z.Segment2(P2, Q2), z.Ray2(P2, Q2), z.Triangle2(P2, Q2, R2),
    z.Circle2(P2, Q2, R2), z.IsoRectangle2(P2, Q2), z.WeightedPoint2(P2, 1.0),
    z.AffTransformation2(z.Line2(1, 2, 3)), z.Bbox3(0, 0, 0, 1, 1, 1), P3, z.Vector3(1, 2, 3),
    z.Direction3(1, 2, 3), z.Plane3(1, 2, 3, 4), z.Line3(P3, Q3), z.Segment3(P3, Q3),
    z.Ray3(P3, Q3), z.Triangle3(P3, Q3, R3), z.Sphere3(Q3, 2.0, 1), z.Tetrahedron3(P3, Q3, R3, S3),
    z.IsoCuboid3(Q3, P3), z.Circle3(Q3, R3, S3),
]
assert sorted(type(s).__name__ for s in SAMPLES) == sorted(
    n for n, c in vars(z).items() if isinstance(c, type))
"""


# Attributes of an SVG document that hold numbers (lengths may end in "%").
SVG_NUMBERS = {"x", "y", "cx", "cy", "r", "width", "height", "points", "viewBox",
               "stroke-width", "opacity", "fill-opacity", "font-size"}


def parse_svg(text):
    """Parses an SVG document with the standard library's XML parser, as a
    viewer would, and checks that every number placing its shapes is finite.
    Returns the root element."""
    import re
    import xml.etree.ElementTree as ET

    root = ET.fromstring(text.encode("utf-8"))
    assert root.tag == "{http://www.w3.org/2000/svg}svg", root.tag
    for element in root.iter():
        for name in SVG_NUMBERS & element.attrib.keys():
            values = re.split(r"[ ,]+", element.get(name).removesuffix("%").strip())
            assert all(math.isfinite(float(v)) for v in values), (element.tag, name, element.get(name))
    return root
