"""How an object is painted: the style options shared by ``Drawing.add`` and
``plot``, checked once here."""

from __future__ import annotations

import math
import numbers
from dataclasses import dataclass
from typing import TypedDict

#: The colours given in turn to objects added without a stroke colour.
PALETTE = ("#1f77b4", "#d62728", "#2ca02c", "#ff7f0e", "#9467bd", "#8c564b", "#e377c2", "#17becf")

#: Opacity of the default fill: a tint of the stroke colour.
TINT = 0.25

#: The largest size in pixels a drawing takes (picture, stroke width, dot):
#: anything larger is a mistake, and far larger ones overflow.
MAX_PIXELS = 1e6


def number(name: str, value: object, low: float, high: float, low_open: bool = False) -> float:
    """``value`` as a float from ``low`` (excluded when ``low_open``) to ``high``.

    ``TypeError`` for anything but a real number (bools included),
    ``ValueError`` naming the parameter and the value otherwise (NaN too).
    """
    if isinstance(value, bool) or not isinstance(value, numbers.Real):
        raise TypeError(f"{name} must be a number, got {type(value).__name__}")
    try:
        v = float(value)
    except OverflowError:  # a huge int or Fraction
        v = math.inf
    if not ((low < v if low_open else low <= v) and v <= high):
        bound = f"from {low:g}{' (excluded)' if low_open else ''} to {high:g}"
        raise ValueError(f"{name} must be a finite number {bound}, got {value!r}")
    return v


class StyleOptions(TypedDict, total=False):
    """Keyword options for painting objects.

    * ``stroke``: outline and dot colour (any SVG / CSS colour; default: the
      next colour of a fixed palette);
    * ``fill``: fill colour of circles, triangles, rectangles, boxes and solids
      (default: a light tint of the stroke colour; ``"none"`` for no fill);
    * ``opacity``: 0 to 1, applied to the whole object (default 1);
    * ``width``: stroke width in pixels, 0 to 1e6 (default 1.5);
    * ``point_size``: radius in pixels of the dots drawn for points, 0 to
      1e6 (default 3; the same at any zoom);
    * ``label``: a text written beside the object;
    * ``arrow``: draw arrowheads on segments, rays, lines, vectors and
      directions (default True).
    """

    stroke: str
    fill: str
    opacity: float
    width: float
    point_size: float
    label: str
    arrow: bool


@dataclass(frozen=True)
class Style:
    """The options of one object, defaults filled in and checked."""

    stroke: str
    fill: str | None = None
    opacity: float = 1.0
    width: float = 1.5
    point_size: float = 3.0
    label: str | None = None
    arrow: bool = True

    def __post_init__(self) -> None:
        for name in ("stroke", "fill", "label"):
            value = getattr(self, name)
            if value is not None and not isinstance(value, str):
                raise TypeError(f"{name} must be a str, got {type(value).__name__}")
        if not self.stroke or self.fill == "":
            raise ValueError("a colour must not be empty")
        for name, high in (("opacity", 1.0), ("width", MAX_PIXELS), ("point_size", MAX_PIXELS)):
            object.__setattr__(self, name, number(name, getattr(self, name), 0.0, high))
        if not isinstance(self.arrow, bool):
            raise TypeError(f"arrow must be a bool, got {type(self.arrow).__name__}")

    @property
    def fill_paint(self) -> tuple[str, float]:
        """The colour and opacity that filled shapes are painted with."""
        if self.fill is None:
            return self.stroke, TINT
        if self.fill == "none":
            return "none", 0.0
        return self.fill, 1.0


def make_style(options: StyleOptions, default_stroke: str) -> Style:
    """A checked style from keyword options; unknown keywords raise TypeError."""
    unknown = set(options) - StyleOptions.__optional_keys__
    if unknown:
        raise TypeError(f"unknown style option(s): {', '.join(sorted(unknown))}")
    merged: StyleOptions = {"stroke": default_stroke, **options}
    return Style(**merged)
