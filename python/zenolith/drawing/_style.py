"""How an object is painted: the style options shared by ``Drawing.add`` and
``plot``, checked once here."""

from __future__ import annotations

import math
from dataclasses import dataclass
from typing import TypedDict

#: The colours given in turn to objects added without a stroke colour.
PALETTE = ("#1f77b4", "#d62728", "#2ca02c", "#ff7f0e", "#9467bd", "#8c564b", "#e377c2", "#17becf")

#: Opacity of the default fill: a tint of the stroke colour.
TINT = 0.25


class StyleOptions(TypedDict, total=False):
    """Keyword options for painting objects.

    * ``stroke``: outline and dot colour (any SVG / CSS colour; default: the
      next colour of a fixed palette);
    * ``fill``: fill colour of circles, triangles, rectangles, boxes and solids
      (default: a light tint of the stroke colour; ``"none"`` for no fill);
    * ``opacity``: 0 to 1, applied to the whole object (default 1);
    * ``width``: stroke width in pixels (default 1.5);
    * ``point_size``: radius in pixels of the dots drawn for points
      (default 3; the same at any zoom);
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
        for name, high in (("opacity", 1.0), ("width", math.inf), ("point_size", math.inf)):
            value = getattr(self, name)
            if isinstance(value, bool) or not isinstance(value, (int, float)):
                raise TypeError(f"{name} must be a number, got {type(value).__name__}")
            if not (0.0 <= value <= high and math.isfinite(value)):
                raise ValueError(f"{name} must be a finite number from 0 to {high}, got {value!r}")
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
