"""The same figures as the SVG writer draws, as matplotlib artists.

Importing this module imports matplotlib: :func:`zenolith.plot` imports it
only when called, so matplotlib stays optional.
"""

from __future__ import annotations

from collections.abc import Callable, Sequence
from typing import Any, NamedTuple

import matplotlib.pyplot as plt
from matplotlib.axes import Axes
from matplotlib.colors import to_rgba
from matplotlib.patches import Circle, FancyArrowPatch, Polygon, Rectangle

from ._shapes import Cover, Disc, Dots, Edges, Figure, Path, Shape
from ._style import Style
from ._viewbox import View

#: matplotlib sizes are in points; the SVG writer's in pixels at 96 per inch.
POINTS_PER_PIXEL = 0.75


class _Paint(NamedTuple):
    """A style in matplotlib's terms: colours with the opacity folded in."""

    style: Style
    edge: tuple[float, float, float, float]
    face: str | tuple[float, float, float, float]
    width: float

    @classmethod
    def of(cls, style: Style) -> _Paint:
        fill, tint = style.fill_paint
        edge = to_rgba(style.stroke, style.opacity)
        face = "none" if fill == "none" else to_rgba(fill, tint * style.opacity)
        return cls(style, edge, face, style.width * POINTS_PER_PIXEL)


def _dots(ax: Axes, shape: Dots, paint: _Paint, view: View, z: float) -> None:
    diameter = 2.0 * paint.style.point_size * POINTS_PER_PIXEL
    ax.scatter(shape.xy[:, 0], shape.xy[:, 1], s=diameter**2, color=paint.edge, linewidths=0, zorder=z + 0.5)


def _disc(ax: Axes, shape: Disc, paint: _Paint, view: View, z: float) -> None:
    ax.add_patch(Circle((float(shape.center[0]), float(shape.center[1])), shape.radius,
                        facecolor=paint.face, edgecolor=paint.edge, linewidth=paint.width, zorder=z))


def _cover(ax: Axes, shape: Cover, paint: _Paint, view: View, z: float) -> None:
    ax.add_patch(Rectangle((view.xmin, view.ymin), view.width, view.height,
                           facecolor=paint.face, edgecolor="none", zorder=z))


def _edges(ax: Axes, shape: Edges, paint: _Paint, view: View, z: float) -> None:
    from matplotlib.collections import LineCollection

    ax.add_collection(LineCollection(list(shape.xy), colors=[paint.edge], linewidths=paint.width, zorder=z))


def _path(ax: Axes, shape: Path, paint: _Paint, view: View, z: float) -> None:
    if shape.closed:
        ax.add_patch(Polygon(shape.xy, closed=True, facecolor=paint.face if shape.filled else "none",
                             edgecolor=paint.edge if shape.stroked else "none", linewidth=paint.width,
                             joinstyle="round", zorder=z))
        return
    ax.plot(shape.xy[:, 0], shape.xy[:, 1], color=paint.edge, linewidth=paint.width, zorder=z)
    if shape.oriented and paint.style.arrow:
        (x0, y0), (x1, y1) = shape.xy[-2:].tolist()
        ax.add_patch(FancyArrowPatch((x0, y0), (x1, y1), arrowstyle="-|>", color=paint.edge, linewidth=0,
                                     mutation_scale=(8.0 + 2.0 * paint.style.width) * POINTS_PER_PIXEL * 1.5,
                                     shrinkA=0, shrinkB=0, zorder=z))


#: The artists of each shape a view leaves (lines come already cut to paths).
_PLOTTERS: dict[type[Shape], Callable[[Axes, Any, _Paint, View, float], None]] = {
    Dots: _dots, Path: _path, Edges: _edges, Disc: _disc, Cover: _cover,
}


def _shape(ax: Axes, shape: Shape, style: Style, view: View, z: float) -> None:
    paint = _Paint.of(style)
    plot_shape = _PLOTTERS.get(type(shape))
    if plot_shape is None:
        raise TypeError(f"cannot plot {shape!r}")
    plot_shape(ax, shape, paint, view, z)


def draw(items: Sequence[tuple[Figure, Style]], view: View, ax: Axes | None) -> Axes:
    """Add the figures to ``ax`` (the current axes when None), in order."""
    if ax is None:
        ax = plt.gca()
    elif not isinstance(ax, Axes):
        raise TypeError(f"ax must be matplotlib Axes or None, got {type(ax).__name__}")
    if ax.has_data():
        lim = ax.dataLim
        view = View(min(view.xmin, lim.x0), min(view.ymin, lim.y0), max(view.xmax, lim.x1), max(view.ymax, lim.y1))
    for k, (figure, style) in enumerate(items):
        z = 2.0 + k / (len(items) + 1)
        for seen in figure.visible(view):
            _shape(ax, seen, style, view, z)
        anchor = figure.label_anchor(view)
        if style.label and anchor is not None:
            x, y = anchor.tolist()
            ax.annotate(style.label, (x, y), xytext=(4, 4), textcoords="offset points",
                        color=style.stroke, alpha=style.opacity, zorder=z + 0.5)
    ax.update_datalim([(view.xmin, view.ymin), (view.xmax, view.ymax)])
    ax.set_aspect("equal")
    ax.autoscale_view()
    return ax
