"""The same figures as the SVG writer draws, as matplotlib artists.

Importing this module imports matplotlib: :func:`zenolith.plot` imports it
only when called, so matplotlib stays optional.
"""

from __future__ import annotations

from collections.abc import Sequence

import matplotlib.pyplot as plt
from matplotlib.axes import Axes
from matplotlib.colors import to_rgba
from matplotlib.patches import Circle, FancyArrowPatch, Polygon, Rectangle

from ._figure import Cover, Disc, Dots, Figure, Path, Shape, View, visible
from ._style import Style

#: matplotlib sizes are in points; the SVG writer's in pixels at 96 per inch.
POINTS_PER_PIXEL = 0.75


def _shape(ax: Axes, shape: Shape, style: Style, view: View, z: float) -> None:
    edge = to_rgba(style.stroke, style.opacity)
    fill, tint = style.fill_paint
    face = "none" if fill == "none" else to_rgba(fill, tint * style.opacity)
    width = style.width * POINTS_PER_PIXEL
    if isinstance(shape, Dots):
        diameter = 2.0 * style.point_size * POINTS_PER_PIXEL
        ax.scatter(shape.xy[:, 0], shape.xy[:, 1], s=diameter**2, color=edge, linewidths=0, zorder=z + 0.5)
    elif isinstance(shape, Disc):
        ax.add_patch(Circle((float(shape.center[0]), float(shape.center[1])), shape.radius,
                            facecolor=face, edgecolor=edge, linewidth=width, zorder=z))
    elif isinstance(shape, Cover):
        ax.add_patch(Rectangle((view.xmin, view.ymin), view.width, view.height,
                               facecolor=face, edgecolor="none", zorder=z))
    elif not isinstance(shape, Path):
        raise TypeError(f"cannot plot {shape!r}")  # lines reach here already cut to paths
    elif shape.closed:
        ax.add_patch(Polygon(shape.xy, closed=True, facecolor=face if shape.filled else "none",
                             edgecolor=edge if shape.stroked else "none", linewidth=width,
                             joinstyle="round", zorder=z))
    else:
        ax.plot(shape.xy[:, 0], shape.xy[:, 1], color=edge, linewidth=width, zorder=z)
        if shape.oriented and style.arrow:
            (x0, y0), (x1, y1) = shape.xy[-2:].tolist()
            ax.add_patch(FancyArrowPatch((x0, y0), (x1, y1), arrowstyle="-|>", color=edge, linewidth=0,
                                         mutation_scale=(8.0 + 2.0 * style.width) * POINTS_PER_PIXEL * 1.5,
                                         shrinkA=0, shrinkB=0, zorder=z))


def draw(items: Sequence[tuple[Figure, Style]], view: View, ax: Axes | None) -> Axes:
    """Add the figures to ``ax`` (the current axes when None), in order."""
    if ax is None:
        ax = plt.gca()
    if ax.has_data():
        lim = ax.dataLim
        view = View(min(view.xmin, lim.x0), min(view.ymin, lim.y0), max(view.xmax, lim.x1), max(view.ymax, lim.y1))
    for k, (figure, style) in enumerate(items):
        z = 2.0 + k / (len(items) + 1)
        for shape in figure.shapes:
            for seen in visible(shape, view):
                _shape(ax, seen, style, view, z)
        if style.label:
            x, y = figure.anchor.tolist()
            ax.annotate(style.label, (x, y), xytext=(4, 4), textcoords="offset points",
                        color=style.stroke, alpha=style.opacity, zorder=z + 0.5)
    ax.update_datalim([(view.xmin, view.ymin), (view.xmax, view.ymax)])
    ax.set_aspect("equal")
    ax.autoscale_view()
    return ax
