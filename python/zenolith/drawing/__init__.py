"""Pictures of geometry: SVG documents (shown inline by Jupyter) and plots on
matplotlib axes.

::

    import zenolith, zenolith_core as z
    d = zenolith.Drawing(title="a triangle and a point")
    d.add(z.Triangle2(z.Point2(0, 0), z.Point2(4, 0), z.Point2(0, 3)), label="T")
    d.add(z.Point2(1, 1), stroke="black")
    d.save("triangle.svg")          # or show d in a notebook
    zenolith.plot(d)                 # the same on matplotlib axes

Planar objects are drawn as they are, with y pointing up. Spatial objects
are projected orthographically onto a plane: the xy-plane seen from above,
or any ``Plane3`` seen from its positive side, in the frame of its
``base1`` and ``base2`` (see :class:`Drawing`).
"""

from __future__ import annotations

import dataclasses
import os
from typing import TYPE_CHECKING, Protocol, Union, Unpack, runtime_checkable

import numpy as np
import numpy.typing as npt

import zenolith_core as zc

from . import _svg
from ._extract import DRAWABLE, figure_of
from ._projection import Projection
from ._shapes import Figure
from ._style import MAX_PIXELS, PALETTE, Style, StyleOptions, make_style, number
from ._viewbox import View, check_view, fit

if TYPE_CHECKING:
    from matplotlib.axes import Axes

@runtime_checkable
class SupportsDrawing(Protocol):
    """An object drawn as its edges (a triangulation, a mesh)."""

    def _drawing_segments_(self) -> npt.NDArray[np.float64]:
        """The ends of the segments to draw, shape (K, 2, 2) or (K, 2, 3)."""
        ...


#: What can be drawn: a core object (points, vectors, directions, lines,
#: segments, rays, triangles, circles, rectangles, boxes, planes, spheres,
#: tetrahedra, cuboids, circles in space), an array-like of 2D or 3D points,
#: or an object drawn as its edges (a triangulation).
Drawable = Union[
    zc.Point2, zc.Vector2, zc.Direction2, zc.Line2, zc.Segment2, zc.Ray2, zc.Triangle2, zc.Circle2,
    zc.IsoRectangle2, zc.WeightedPoint2, zc.Bbox2, zc.Point3, zc.Vector3, zc.Direction3, zc.Plane3,
    zc.Line3, zc.Segment3, zc.Ray3, zc.Triangle3, zc.Sphere3, zc.Tetrahedron3, zc.IsoCuboid3,
    zc.Bbox3, zc.Circle3, SupportsDrawing, npt.ArrayLike,
]

#: A view box: a ``Bbox2``, an ``IsoRectangle2`` or ``(xmin, ymin, xmax, ymax)``.
ViewLike = Union[zc.Bbox2, zc.IsoRectangle2, tuple[float, float, float, float]]


def _view(view: ViewLike) -> View:
    if isinstance(view, zc.Bbox2):
        box = View(view.xmin, view.ymin, view.xmax, view.ymax)
    elif isinstance(view, zc.IsoRectangle2):
        box = View(view.xmin(), view.ymin(), view.xmax(), view.ymax())
    else:
        try:
            xmin, ymin, xmax, ymax = (float(v) for v in view)
        except (TypeError, ValueError, NotImplementedError):  # the last: a memoryview's iteration
            raise TypeError(f"view must be a Bbox2, an IsoRectangle2 or (xmin, ymin, xmax, ymax), got {view!r}") from None
        box = View(xmin, ymin, xmax, ymax)
    check_view(box, "the view box")
    return box


class Drawing:
    """A picture of core objects, written as SVG.

    ``Drawing(*objects, plane=None, view=None, margin=0.05, size=400,
    background="white", title=None)``:

    * ``plane``: the ``Plane3`` that spatial objects are projected onto,
      seen from its positive side, with ``base1()`` pointing right and
      ``base2()`` up (as ``Plane3.to_2d`` reads them, but at true lengths).
      Default: the xy-plane seen from above (x right, y up).
    * ``view``: the part of the plane shown (a ``Bbox2``, an
      ``IsoRectangle2`` or ``(xmin, ymin, xmax, ymax)``); by default the
      bounding box of everything drawn, widened on each side by ``margin``
      (from 0 to 1e6) times its larger side. Lines are drawn across the
      whole view, rays from their source to its edge.
    * ``size``: the larger side of the picture in pixels, above 0 and at
      most 1e6.
    * ``background``: a colour, or None for a transparent picture.
    * ``title``: a text written above the picture (an attribute too).

    Any text (title, labels, colours) is written as the text it is, with
    the characters XML cannot hold (most control characters) replaced by
    U+FFFD. A parameter of the wrong type raises ``TypeError``, a number out
    of its range (NaN and infinities included) ``ValueError``.

    Objects given here are added with the default style; :meth:`add` adds
    more with a style. Points are dots of constant size, segments, rays,
    lines, vectors and directions carry arrowheads (their orientation),
    circles, triangles, rectangles, boxes and solids are filled. A sphere is
    drawn as its outline, a circle in space as the ellipse it is seen as, a
    plane as the line it is seen as when edge-on, and as the whole picture
    otherwise.
    """

    def __init__(
        self,
        *objects: Drawable,
        plane: zc.Plane3 | None = None,
        view: ViewLike | None = None,
        margin: float = 0.05,
        size: float = 400.0,
        background: str | None = "white",
        title: str | None = None,
    ) -> None:
        self._margin = number("margin", margin, 0.0, 1e6)
        self._size = number("size", size, 0.0, MAX_PIXELS, low_open=True)
        if background is not None and not isinstance(background, str):
            raise TypeError(f"background must be a str or None, got {type(background).__name__}")
        self._projection = Projection(plane)
        self._view = None if view is None else _view(view)
        self._background = background
        self.title = title
        self._items: list[tuple[Figure, Style, str]] = []
        self._colours = 0
        if objects:
            self.add(*objects)

    def add(self, *objects: Drawable, **style: Unpack[StyleOptions]) -> Drawing:
        """Add objects, all painted in one style (see ``StyleOptions``); a
        label is written beside the first. Returns the drawing, so calls chain.

        Raises ``TypeError`` for an object that cannot be drawn and
        ``ValueError`` naming an object with NaN or infinite coordinates (or
        a negative squared radius, or a degenerate line or plane); nothing
        is added then.
        """
        checked = make_style(style, PALETTE[self._colours % len(PALETTE)])
        figures = [figure_of(obj, self._projection) for obj in objects]
        if "stroke" not in style:
            self._colours += 1  # the next default colour, once this call succeeded
        titles = [repr(obj) if isinstance(obj, DRAWABLE) or hasattr(type(obj), "_drawing_segments_") else "points"
                  for obj in objects]
        unlabelled = dataclasses.replace(checked, label=None)
        for k, (figure, title) in enumerate(zip(figures, titles)):
            self._items.append((figure, checked if k == 0 else unlabelled, title))
        return self

    @property
    def title(self) -> str | None:
        """The text written above the picture (None: no title)."""
        return self._title

    @title.setter
    def title(self, title: str | None) -> None:
        if title is not None and not isinstance(title, str):
            raise TypeError(f"title must be a str or None, got {type(title).__name__}")
        self._title = title

    def __len__(self) -> int:
        """The number of objects drawn."""
        return len(self._items)

    @property
    def plane(self) -> zc.Plane3 | None:
        """The plane spatial objects are projected onto (None: the xy-plane)."""
        return self._projection.plane

    @property
    def view(self) -> tuple[float, float, float, float]:
        """The view box ``(xmin, ymin, xmax, ymax)``: given, or fitted to the objects."""
        v = self._fitted()
        return (v.xmin, v.ymin, v.xmax, v.ymax)

    def _fitted(self) -> View:
        return self._view if self._view is not None else fit([f for f, _, _ in self._items], self._margin)

    def svg(self) -> str:
        """The picture as a standalone SVG document."""
        canvas = _svg.Canvas(self._fitted(), self._size, _svg.TITLE_BAND if self.title else 0.0)
        return _svg.document(self._items, canvas, self._background, self.title)

    def save(self, path: str | os.PathLike[str]) -> None:
        """Write the SVG document to ``path`` (UTF-8).

        Raises ``TypeError`` unless ``path`` is a ``str`` or a path-like
        object (an int would be taken as an open file descriptor).
        """
        if not isinstance(path, (str, os.PathLike)):
            raise TypeError(f"path must be a str or a path-like object, got {type(path).__name__}")
        with open(path, "w", encoding="utf-8") as out:
            out.write(self.svg())

    def _repr_svg_(self) -> str:
        return self.svg()

    def _styled(self) -> list[tuple[Figure, Style]]:
        """The drawn figures and their styles, in painting order."""
        return [(f, s) for f, s, _ in self._items]


def plot(
    objects: Drawing | Drawable | list[Drawable] | tuple[Drawable, ...],
    ax: Axes | None = None,
    *,
    plane: zc.Plane3 | None = None,
    **style: Unpack[StyleOptions],
) -> Axes:
    """Draw objects on matplotlib axes (default: the current axes) and return them.

    ``objects`` is one object, a list or tuple of objects, or a whole
    :class:`Drawing` (drawn with its own styles and plane). Objects are drawn
    as :class:`Drawing` draws them, in the style given by the keywords;
    lines and rays are cut where the objects and what the axes already show
    end, and the aspect ratio is set equal.
    Needs matplotlib, which zenolith does not install. Raises ``TypeError``
    for ``ax`` other than matplotlib axes or None, and as :class:`Drawing`
    and :meth:`Drawing.add` do.
    """
    try:
        from . import _matplotlib
    except ImportError as error:
        raise ImportError(
            "zenolith.plot needs matplotlib, which is not installed (pip install matplotlib); "
            "zenolith.Drawing writes SVG pictures without it"
        ) from error
    if isinstance(objects, Drawing):
        if style or plane is not None:
            raise TypeError("a Drawing is plotted with its own styles and plane")
        drawing = objects
    else:
        batch = list(objects) if isinstance(objects, (list, tuple)) else [objects]
        drawing = Drawing(plane=plane).add(*batch, **style)
    axes = _matplotlib.draw(drawing._styled(), drawing._fitted(), ax)
    if drawing.title:
        axes.set_title(drawing.title)
    return axes
