"""Drawing: SVG pictures of core objects, and the matplotlib adapter."""

import contextlib
import math
import re
import shutil
import subprocess
import sys

import numpy as np
import pytest
from hypothesis import example, given, settings, strategies as st

import zenolith
import zenolith_core as z
from helpers import parse_svg
from zenolith import Drawing

P, P3 = z.Point2, z.Point3
NS = "{http://www.w3.org/2000/svg}"
NAN, INF = math.nan, math.inf


def parse(drawing):
    return parse_svg(drawing.svg())


def shapes(root, tag):
    return [e for e in root.iter(NS + tag)]


def points_attr(element):
    return [tuple(float(v) for v in pair.split(",")) for pair in element.get("points").split()]


def test_coordinates_after_the_y_flip_and_the_view_box():
    # 10 world units = 100 px; world y = 0 is the bottom row of pixels
    d = Drawing(view=(0, 0, 10, 10), size=100, background=None)
    d.add(P(2, 3))
    d.add(z.Triangle2(P(0, 0), P(10, 0), P(0, 10)))
    d.add(z.Circle2(P(5, 5), 4.0))
    d.add(z.Line2(0, 1, -5))                       # y = 5, running left to right
    d.add(z.Ray2(P(5, 5), z.Vector2(0, 1)), arrow=False)  # upwards, clipped at the top
    d.add(P3(7, 1, 99))                            # seen from above: z is dropped
    root = parse(d)
    assert (root.get("width"), root.get("height")) == ("100", "100")
    dots = [(float(c.get("cx")), float(c.get("cy"))) for c in shapes(root, "circle") if c.get("r") == "3"]
    assert dots == [(20, 70), (70, 90)]
    assert points_attr(shapes(root, "polygon")[0]) == [(0, 100), (100, 100), (0, 0)]
    (circle,) = [c for c in shapes(root, "circle") if c.get("r") != "3"]
    assert [circle.get(k) for k in ("cx", "cy", "r")] == ["50", "50", "20"]
    lines = [points_attr(e) for e in shapes(root, "polyline")]
    assert lines[0][0] == (0, 50) and lines[0][-1][0] > 90  # shortened under its arrowhead
    assert lines[1] == [(50, 50), (50, 0)]
    titles = [t.text for t in root.iter(NS + "title")]
    assert titles[0] == "Point2(2.000000, 3.000000)"


def test_projection_onto_a_plane_keeps_true_lengths():
    # Seen from -y: x to the right, z up. The plane's base2 is (0, 0, 2), so
    # its to_2d halves z; the picture must not.
    plane = z.Plane3(0, -2, 0, 0)
    assert plane.to_2d(P3(2, 9, 3)) == P(2, 1.5)
    d = Drawing(P3(2, 9, 3), plane=plane, view=(0, 0, 10, 10), size=100)
    (dot,) = [c for c in parse(d).iter(NS + "circle")]
    assert (float(dot.get("cx")), float(dot.get("cy"))) == (20, 70)
    # A sphere's outline keeps its radius; a circle seen edge-on is a segment.
    s1, s2 = z.Sphere3(P3(0, 0, 0), 4.0), z.Sphere3(P3(3, 0, 0), 4.0)
    d = Drawing(s1, z.Circle3(s1, s2), plane=plane, view=(-5, -5, 5, 5), size=100)
    root = parse(d)
    assert shapes(root, "circle")[0].get("r") == "20"
    ring = np.array(points_attr(shapes(root, "polygon")[0]))
    assert np.allclose(ring[:, 0], 65) and ring[:, 1].min() == pytest.approx(50 - 10 * math.sqrt(1.75), abs=0.01)


def test_fitted_view_box():
    assert Drawing(z.Segment2(P(0, 0), P(10, 5)), margin=0.1).view == (-1, -1, 11, 6)
    # a lone point, a horizontal segment and a lone line still get an area
    for obj in (P(3, 4), z.Segment2(P(0, 1), P(4, 1)), z.Line2(1, 1, 0), P(1e20, 1e20)):
        xmin, ymin, xmax, ymax = Drawing(obj).view
        assert xmin < xmax and ymin < ymax
    # lines do not stretch the view of bounded objects
    assert Drawing(P(0, 0), P(1, 1), z.Line2(1, 1, -1e9), margin=0).view == (0, 0, 1, 1)
    assert Drawing().view == (-1, -1, 1, 1)


def test_far_away_coordinates_stay_near_the_canvas():
    d = Drawing(view=(0, 0, 1, 1), size=100)
    d.add(z.Segment2(P(0.5, 0.5), P(1e300, 1e300)), z.Triangle2(P(0, 0), P(1e308, 0), P(0, 1e308)))
    d.add(P(1e300, 0), z.Ray2(P(-1e300, 0.5), P(0, 0.5)))
    geometry = {"cx", "cy", "r", "points", "x", "y"}
    values = " ".join(v for e in parse(d).iter() for k, v in e.attrib.items() if k in geometry)
    numbers = [abs(float(v)) for v in re.split(r"[ ,]", values)]
    assert numbers and max(numbers) < 1000
    # cut exactly where the segment meets the widened view: still on y = x
    d = Drawing(z.Segment2(P(-1e300, -1e300), P(1e300, 1e300)), view=(0, 0, 10, 10), size=100)
    (line,) = shapes(parse(d), "polyline")
    assert [x + y for x, y in points_attr(line)] == [100, 100]


def test_outlines_far_beyond_the_view():
    # corners 1e200 apart overflow a turn computed in doubles; the exact hull
    # still covers the view, cut at the widened box
    t = z.Tetrahedron3(P3(-1e200, -1e200, 0), P3(1e200, -3e199, 0), P3(-7e199, 1e200, 0), P3(0, 1, 1))
    d = Drawing(t, z.Triangle2(P(100, 100), P(101, 100), P(100, 101)), view=(-5, -5, 5, 5), size=100)
    outline, *others = shapes(parse(d), "polygon")
    assert sorted(points_attr(outline)) == [(-50, -50), (-50, 150), (150, -50), (150, 150)]
    assert not others  # a polygon wholly outside is dropped, without an error


def test_a_circle_seen_from_very_close():
    # a unit circle near (1, 0) through a view 2e-6 wide: its boundary is the
    # vertical line through the middle of the picture, filled on the left
    eps = 1e-6
    d = Drawing(z.Circle2(P(0, 0), 1.0), view=(1 - eps, -eps, 1 + eps, eps), size=100)
    root = parse(d)
    assert not any(c.get("r") for c in shapes(root, "circle"))
    (fill,) = shapes(root, "polygon")
    (xmin, _), (xmax, _) = np.min(points_attr(fill), axis=0), np.max(points_attr(fill), axis=0)
    assert xmax == 50 and xmin < 0
    arc = [x for line in shapes(root, "polyline") for x, _ in points_attr(line)]
    assert arc and all(x == 50 for x in arc)
    assert not list(parse(Drawing(z.Circle2(P(0, 0), 1.0), view=(2, 2, 2 + eps, 2 + eps))).iter(NS + "polygon"))


@pytest.mark.parametrize("text, written", [
    ('<b> & "quotes"', '<b> & "quotes"'),
    ("tab\tnew\nline\r'", "tab\tnew\nline\r'"),
    ("a\x00b\x01c\x1b[31m\x7f", "a\ufffdb\ufffdc\ufffd[31m\x7f"),
    ("\ud800\udfff \ufffe\uffff \U0001f600", "\ufffd\ufffd \ufffd\ufffd \U0001f600"),
])
def test_any_text_is_written_as_the_text_it_is(text, written, tmp_path):
    d = Drawing(P(0, 0), z.Segment2(P(0, 0), P(1, 1)), title=text, background=text)
    d.add(P(1, 0), label=text, stroke='red" onload="x' + text)
    root = parse(d)
    label, title = root.iter(NS + "text")
    assert label.text == title.text == root.find(NS + "rect").get("fill") == written
    assert label.get("fill") == 'red" onload="x' + written
    d.save(tmp_path / "t.svg")  # a lone surrogate does not stop the UTF-8 file
    assert parse_svg((tmp_path / "t.svg").read_text(encoding="utf-8")).find(NS + "rect").get("fill") == written


@pytest.mark.skipif(shutil.which("rsvg-convert") is None,
                    reason="rsvg-convert (Debian package librsvg2-bin) is not installed")
def test_a_real_renderer_paints_where_the_coordinates_say(tmp_path):
    image = pytest.importorskip("matplotlib.image")
    d = Drawing(view=(0, 0, 10, 10), size=100)
    d.add(z.Triangle2(P(1, 1), P(6, 1), P(1, 6)), stroke="#ff0000", fill="#ff0000")
    d.add(P(8, 8), stroke="#0000ff", point_size=4)
    d.save(tmp_path / "t.svg")
    parse_svg((tmp_path / "t.svg").read_text(encoding="utf-8"))
    subprocess.run(["rsvg-convert", "-o", str(tmp_path / "t.png"), str(tmp_path / "t.svg")], check=True)
    rgb = (image.imread(tmp_path / "t.png")[..., :3] * 255).round().astype(int)
    assert rgb.shape == (100, 100, 3)

    def at(x, y):  # world coordinates -> the pixel's colour
        return tuple(rgb[int(100 - 10 * y), int(10 * x)])

    assert at(2, 2) == (255, 0, 0)      # inside the triangle: near the bottom left
    assert at(5, 5) == (255, 255, 255)  # beyond its hypotenuse
    assert at(2, 8) == (255, 255, 255)  # above it: y points up
    assert at(8, 8) == (0, 0, 255)      # the point


def sample_objects():
    p, q, r, s = P3(0, 0, 0), P3(1, 0, 0), P3(0, 1, 0), P3(0, 0, 1)
    sphere = z.Sphere3(p, 1.0)
    return [
        P(1, 2), z.Vector2(1, 2), z.Direction2(1, 2), z.Line2(1, 2, 3), z.Segment2(P(0, 0), P(1, 1)),
        z.Ray2(P(0, 0), P(1, 1)), z.Triangle2(P(0, 0), P(1, 0), P(0, 1)), z.Circle2(P(0, 0), 1.0),
        z.IsoRectangle2(P(0, 0), P(1, 2)), z.WeightedPoint2(P(1, 1), 2.0), z.Bbox2(0, 0, 1, 1),
        p, z.Vector3(1, 2, 3), z.Direction3(1, 2, 3), z.Plane3(1, 1, 1, 0), z.Plane3(1, 1, 0, 0),
        z.Line3(p, q), z.Segment3(p, q), z.Ray3(p, q), z.Triangle3(p, q, r), sphere,
        z.Tetrahedron3(p, q, r, s), z.IsoCuboid3(p, P3(1, 2, 3)), z.Bbox3(0, 0, 0, 1, 1, 1),
        z.Circle3(sphere, z.Plane3(0, 0, 1, 0)), np.array([[0, 0], [1, 2]]), np.zeros((3, 3)),
    ]


@pytest.mark.parametrize("obj", sample_objects(), ids=lambda o: type(o).__name__)
def test_every_drawable_class(obj):
    d = Drawing(plane=z.Plane3(1, -2, 3, 1)).add(obj, label="x")
    assert len(d) == 1 and parse(d) is not None
    assert parse(Drawing(obj)) is not None


@pytest.mark.parametrize("obj, name", [
    (P(NAN, 0), "Point2(nan"),
    (z.Segment2(P(0, 0), P(INF, 1)), "Segment2("),
    (z.Circle2(P(0, 0), NAN), "Circle2("),
    (z.Circle2(P(0, 0), -1.0), "squared radius is negative"),
    (z.Sphere3(P3(0, INF, 0), 1.0), "Sphere3("),
    (z.Triangle3(P3(0, 0, 0), P3(1, 0, NAN), P3(0, 1, 0)), "Triangle3("),
    (z.Bbox2(), "Bbox2("),
    (z.Line2(0, 0, 1), "degenerate line"),
    (z.Direction2(0, 0), "no direction"),
    (np.array([[0.0, 0.0], [NAN, 1.0]]), "array of 2 points"),
])
def test_non_finite_objects_are_refused_by_name(obj, name):
    d = Drawing(P(0, 0))
    with pytest.raises(ValueError, match=re.escape(name)):
        d.add(P(1, 1), obj)
    assert len(d) == 1  # nothing of the failed call was added


def test_bad_arguments():
    with pytest.raises(TypeError, match="path must be a str"):
        Drawing().save(1)  # would have written to file descriptor 1, then closed it
    with pytest.raises(TypeError, match="view must be"):
        Drawing(view=memoryview(bytes(48)).cast("d", [3, 2]))
    with pytest.raises(TypeError, match="cannot draw AffTransformation2"):
        Drawing(z.AffTransformation2())
    with pytest.raises(ValueError, match=r"shape \(2, 4\)"):
        Drawing(np.zeros((2, 4)))
    with pytest.raises(ValueError, match="opacity"):
        Drawing().add(P(0, 0), opacity=2)
    with pytest.raises(TypeError, match="colour"):
        Drawing().add(P(0, 0), colour="red")
    with pytest.raises(ValueError, match="degenerate plane"):
        Drawing(plane=z.Plane3(0, 0, 0, 1))
    with pytest.raises(ValueError, match="view box"):
        Drawing(view=(0, 0, 0, 1))
    with pytest.raises(ValueError, match="not finite"):
        Drawing(P(-1e308, 0), P(1e308, 0)).svg()
    for plane in (3, P3(0, 0, 1), "xy"):
        with pytest.raises(TypeError, match=f"plane must be a Plane3 or None, got {type(plane).__name__}"):
            Drawing(plane=plane)
    for obj in (None, 2.5, "points"):
        with pytest.raises(TypeError, match=f"cannot draw {type(obj).__name__}: expected one of Point2"):
            Drawing(obj)
    with pytest.raises(TypeError, match="title must be a str or None, got int"):
        Drawing().title = 3


@pytest.mark.parametrize("name", ["margin", "size", "opacity", "width", "point_size"])
def test_numbers_out_of_range_are_refused_by_name(name):
    make = (lambda v: Drawing(**{name: v})) if name in ("margin", "size") else (lambda v: Drawing().add(P(0, 0), **{name: v}))
    for value in (NAN, INF, -INF, -1.0, 1e308, 10**400) + ((0, 0.0) if name == "size" else ()):
        with pytest.raises(ValueError, match=f"{name} must be a finite number from 0 .*, got {re.escape(repr(value))}"):
            make(value)
    for value in ("1", None, True):
        with pytest.raises(TypeError, match=f"{name} must be a number, got {type(value).__name__}"):
            make(value)
    make(np.float32(0.5))  # any real number type


EXTREME = [0.0, -0.0, 0.5, 1.0, -1.0, 3.0, 1e-300, 5e-324, 1e154, 1e300, -1e300, 1e307, -1e307,
           1e308, -1e308, 1.7e308, -1.7e308]
coordinate = st.one_of(st.sampled_from(EXTREME), st.floats(allow_nan=False, allow_infinity=False))
MAKERS = {  # a class and how many coordinates make one
    "point": (lambda c: P(*c), 2), "segment": (lambda c: z.Segment2(P(*c[:2]), P(*c[2:])), 4),
    "ray": (lambda c: z.Ray2(P(*c[:2]), P(*c[2:])), 4), "line": (lambda c: z.Line2(*c), 3),
    "triangle": (lambda c: z.Triangle2(P(*c[:2]), P(*c[2:4]), P(*c[4:])), 6),
    "circle": (lambda c: z.Circle2(P(*c[:2]), c[2] * c[2]), 3),
    "ray3": (lambda c: z.Ray3(P3(*c[:3]), P3(*c[3:])), 6),
    "tetrahedron": (lambda c: z.Tetrahedron3(P3(*c[:3]), P3(*c[3:6]), P3(*c[6:9]), P3(*c[9:])), 12),
}


@st.composite
def scenes(draw):
    objects = []
    for kind in draw(st.lists(st.sampled_from(sorted(MAKERS)), min_size=1, max_size=4)):
        make, n = MAKERS[kind]
        objects.append(make(draw(st.lists(coordinate, min_size=n, max_size=n))))
    corners = st.tuples(*[coordinate] * 4).map(lambda v: (min(v[0], v[2]), min(v[1], v[3]), max(v[0], v[2]), max(v[1], v[3])))
    return objects, draw(st.none() | corners)


@settings(max_examples=300, deadline=None)
@given(scene=scenes())
@example(scene=([z.Ray2(P(-1.7e308, 0.5), P(0, 0.5))], (5e307, 0, 1.5e308, 1e308)))  # a far source
@example(scene=([P(0.9e308, 0.5)], (-1.7e308, 0, 7e306, 1)))  # a difference beyond the largest double
@example(scene=([z.Segment2(P(0, 0), P(1e307, 1e307))], (0, 0, 1, 1)))  # a label far out of view
@example(scene=([z.Circle2(P(1e307, 0), 1.0)], (0, 0, 1, 1)))  # a disc far out of view
def test_extreme_coordinates_never_reach_the_document_as_non_finite_numbers(scene):
    # Whatever the coordinates, a drawing either has no box to show (a given
    # or fitted one that is not finite, empty or too small) or writes a
    # document of finite numbers.
    objects, view = scene
    try:
        d = Drawing(view=view)
    except ValueError:
        return
    for obj in objects:
        with contextlib.suppress(ValueError):  # an object that is not finite itself
            d.add(obj, label="x")
    try:
        text = d.svg()
    except ValueError as error:
        assert re.search(r"box.* is (not finite|empty)|is too small to draw", str(error)), error
        return
    parse_svg(text)


def test_save_and_notebook_display(tmp_path):
    d = Drawing(z.Circle2(P(0, 0), 1.0))
    d.save(tmp_path / "c.svg")
    assert (tmp_path / "c.svg").read_text(encoding="utf-8") == d._repr_svg_() == d.svg()
    parse_svg(d._repr_svg_())


def test_plot_on_matplotlib_axes():
    matplotlib = pytest.importorskip("matplotlib")
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    fig, ax = plt.subplots()
    tri = z.Triangle2(P(0, 0), P(4, 0), P(0, 3))
    assert zenolith.plot([tri, P(1, 1), z.Line2(1, -1, 0)], ax, stroke="red", label="t") is ax
    # the triangle and the line's arrowhead, the point, the line
    assert len(ax.patches) == 2 and len(ax.collections) == 1 and len(ax.lines) == 1
    (line,) = ax.lines
    xmin, xmax = ax.get_xlim()
    assert min(line.get_xdata()) >= xmin - 1e-9 and max(line.get_xdata()) <= xmax + 1e-9
    assert ax.texts[0].get_text() == "t"
    zenolith.plot(Drawing(z.Sphere3(P3(0, 0, 0), 1.0), plane=z.Plane3(1, 1, 1, 0)), ax)
    fig.canvas.draw()
    plt.close(fig)
    with pytest.raises(TypeError, match="ax must be matplotlib Axes or None, got Figure"):
        zenolith.plot(tri, fig)
    with pytest.raises(TypeError, match="plane must be a Plane3 or None, got Point3"):
        zenolith.plot(tri, plane=P3(0, 0, 1))
    with pytest.raises(TypeError, match="cannot draw NoneType"):
        zenolith.plot(None)


def test_plot_without_matplotlib_says_what_to_install(monkeypatch):
    monkeypatch.setitem(sys.modules, "matplotlib", None)
    monkeypatch.delitem(sys.modules, "zenolith.drawing._matplotlib", raising=False)
    monkeypatch.delattr(zenolith.drawing, "_matplotlib", raising=False)
    with pytest.raises(ImportError, match="pip install matplotlib"):
        zenolith.plot(P(0, 0))


def test_solids_and_planes_in_projection():
    o, x, y, zz = P3(0, 0, 0), P3(4, 0, 0), P3(0, 4, 0), P3(0, 0, 4)
    d = Drawing(z.Tetrahedron3(o, x, y, zz), z.IsoCuboid3(o, P3(1, 2, 3)), view=(-5, -5, 5, 5), size=100)
    root = parse(d)
    outlines = [sorted(points_attr(e)) for e in shapes(root, "polygon")]
    # seen from above, the apex falls on a corner: a triangle and a rectangle
    assert outlines == [[(50, 10), (50, 50), (90, 50)], [(50, 30), (50, 50), (60, 30), (60, 50)]]
    assert len(shapes(root, "polyline")) == 6 + 12  # every edge
    # a plane seen edge-on is a line across the view, face-on it covers it
    root = parse(Drawing(z.Plane3(1, 0, 0, -2), z.Plane3(0, 0, 1, 0), view=(-5, -5, 5, 5), size=100))
    (line,) = shapes(root, "polyline")
    assert sorted(points_attr(line)) == [(70, 0), (70, 100)]
    assert [(r.get("width"), r.get("height")) for r in shapes(root, "rect")][-1] == ("100", "100")


def test_styles():
    d = Drawing(view=(0, 0, 1, 1), background=None)
    d.add(z.Circle2(P(0, 0), 1.0))                      # palette colour, tinted fill
    d.add(z.Circle2(P(0, 0), 1.0), P(1, 1), fill="none", opacity=0.5, label="first only")
    d.add(z.Triangle2(P(0, 0), P(1, 0), P(0, 1)), stroke="#123456", fill="#abcdef")
    root = parse(d)
    c1, c2, _, tri = [e for e in root.iter() if e.tag in (NS + "circle", NS + "polygon")]
    assert c1.get("fill") == c1.get("stroke") == "#1f77b4" and c1.get("fill-opacity") == "0.25"
    assert c2.get("fill") == "none" and c2.get("stroke") == "#d62728"
    assert (tri.get("stroke"), tri.get("fill"), tri.get("fill-opacity")) == ("#123456", "#abcdef", "1")
    groups = [g for g in root if g.tag == NS + "g"]
    assert [g.get("opacity") for g in groups] == [None, "0.5", "0.5", None]
    assert [t.text for t in root.iter(NS + "text")] == ["first only"]
