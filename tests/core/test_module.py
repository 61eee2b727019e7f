"""The module frame: docstring, registration order, import behaviour,
squared_distance and the interpreter version gate."""

import glob
import importlib
import os
import subprocess
import sys

import pytest

import zenolith_core as z

# The full registration order of the module body.
REGISTRATION_ORDER = [
    "squared_distance",
    "Point2", "Vector2", "OrientationResult", "orientation", "Bbox2", "Direction2",
    "Line2", "Segment2", "Ray2", "Triangle2", "Circle2", "IsoRectangle2",
    "WeightedPoint2", "AffTransformation2",
    "Bbox3", "Point3", "Vector3", "Direction3", "Plane3", "Line3", "Segment3", "Ray3",
    "Triangle3", "Sphere3", "Tetrahedron3", "IsoCuboid3", "Circle3",
]


def test_docstring():
    assert z.__doc__ == "CGAL Python bindings \u2014 call CGAL C++ functions from Python"


def test_module_dictionary_follows_registration_order():
    added = [k for k in vars(z) if not k.startswith("__")]
    assert added == REGISTRATION_ORDER
    assert list(vars(z))[:6] == [
        "__name__", "__doc__", "__package__", "__loader__", "__spec__", "__file__"]


def test_second_import_returns_the_cached_module():
    saved = sys.modules.pop("zenolith_core")
    try:
        again = importlib.import_module("zenolith_core")
        assert again is saved
        assert again.Point2 is saved.Point2  # the body did not run again
    finally:
        sys.modules["zenolith_core"] = saved


@pytest.mark.parametrize("args, expected", [
    ((0, 0, 3, 4), 25.0),
    ((0.0, 0.0, 3.0, 4.0), 25.0),
    ((1, 1, 1, 1), 0.0),
    ((-0.0, 0.0, 0.0, -0.0), 0.0),
    ((0.1, 0.2, 0.3, 0.4), (0.1 - 0.3) * (0.1 - 0.3) + (0.2 - 0.4) * (0.2 - 0.4)),
    ((1e200, 0, -1e200, 0), float("inf")),
])
def test_squared_distance(args, expected):
    got = z.squared_distance(*args)
    assert type(got) is float and got == expected


def test_squared_distance_rounds_each_product_separately():
    # x*x + y*y with one rounding per operation; a fused multiply-add would
    # keep the low bits of the first square and give a different last bit.
    x, y = 1.1680807910822022, 1.5823100485111739  # fused in either order: ...568
    assert z.squared_distance(x, y, 0, 0) == 3.8681178241146563 == x * x + y * y
    assert z.squared_distance(x1=1, y1=1, x2=1, y2=1) == 0.0
    assert z.squared_distance(float("nan"), 0, 0, 0) != z.squared_distance(float("nan"), 0, 0, 0)


def test_squared_distance_arguments():
    with pytest.raises(TypeError, match=r"^squared_distance\(\): incompatible function arguments"):
        z.squared_distance(0, 0, 0)
    with pytest.raises(TypeError):
        z.squared_distance(0, 0, 0, None)
    with pytest.raises(TypeError):
        z.squared_distance(0, 0, 0, 2**1024)  # too large for a double


def _python313():
    candidates = []
    try:
        root = subprocess.run(["pyenv", "root"], capture_output=True, text=True).stdout.strip()
        if root:
            candidates += sorted(glob.glob(os.path.join(root, "versions", "3.13*", "bin", "python3.13")))
    except OSError:
        pass
    candidates += sorted(glob.glob(os.path.expanduser("~/.pyenv/versions/3.13*/bin/python3.13")))
    candidates += ["/usr/bin/python3.13", "/usr/local/bin/python3.13"]
    for c in candidates:
        if os.access(c, os.X_OK):
            return c
    return None


def test_version_gate_refuses_another_interpreter():
    py313 = _python313()
    if py313 is None:
        pytest.skip("no CPython 3.13 on this machine to load the module with")
    script = (
        "import importlib.machinery, importlib.util, sys\n"
        "loader = importlib.machinery.ExtensionFileLoader('zenolith_core', sys.argv[1])\n"
        "found = importlib.util.spec_from_file_location('zenolith_core', sys.argv[1], loader=loader)\n"
        "try:\n"
        "    importlib.util.module_from_spec(found)\n"
        "except ImportError as e:\n"
        "    print('ImportError:' + str(e)); print('VERSION:' + sys.version)\n"
        "else:\n"
        "    print('loaded')\n"
    )
    out = subprocess.run([py313, "-c", script, z.__file__], capture_output=True, text=True,
                         env={k: v for k, v in os.environ.items() if k != "PYTHONPATH"})
    lines = out.stdout.splitlines()
    assert lines and lines[0].startswith("ImportError:"), out
    version = out.stdout.split("VERSION:", 1)[1].rstrip("\n")
    assert lines[0] == (
        "ImportError:Python version mismatch: module was compiled for Python 3.12, "
        f"but the interpreter version is incompatible: {version}.")
