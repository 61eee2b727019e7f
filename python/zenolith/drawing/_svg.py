"""Writing figures as a standalone SVG document.

The canvas maps the view box onto pixels with the y axis turned upwards, so
a counterclockwise triangle is counterclockwise on screen. Coordinates are
transformed here rather than by an SVG transform, so stroke widths, dots,
arrowheads and text keep their pixel sizes.
"""

from __future__ import annotations

import math
import re
from collections.abc import Callable, Sequence
from typing import Any

import numpy as np

from ._shapes import Cover, Disc, Dots, Edges, Figure, Path, Shape
from ._style import Style
from ._viewbox import XY, View

#: Label text size and offset from its anchor, in pixels.
FONT_SIZE = 12.0
LABEL_OFFSET = (5.0, -5.0)

#: The height of the band above the view that holds a drawing's title.
TITLE_BAND = FONT_SIZE + 12.0


#: What XML 1.0 does not allow in a document at all: control characters other
#: than tab, newline and carriage return, lone surrogates, U+FFFE and U+FFFF.
_NOT_XML = re.compile("[\x00-\x08\x0b\x0c\x0e-\x1f\ud800-\udfff\ufffe\uffff]")

#: Markup characters, and the white space an XML parser would turn into
#: spaces in an attribute value (or a carriage return into a newline).
_REFERENCES = {"&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;", "\t": "&#9;", "\n": "&#10;", "\r": "&#13;"}
_MARKUP = re.compile("[&<>\"\t\n\r]")


def xml(text: str) -> str:
    """Any text as XML character data or a double-quoted attribute value:
    the characters XML cannot hold become U+FFFD, markup becomes references,
    so the parsed document gives the text back (less what XML cannot hold)."""
    return _MARKUP.sub(lambda m: _REFERENCES[m.group()], _NOT_XML.sub("\ufffd", text))


def num(v: float) -> str:
    """A pixel coordinate: two decimals at most, no trailing zeros."""
    if not math.isfinite(v):
        raise ValueError(f"cannot write {v!r} as an SVG number")
    text = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


class Canvas:
    """World coordinates to pixels: the view fills the canvas, y points up."""

    def __init__(self, view: View, size: float, top: float = 0.0) -> None:
        self.view = view
        self.scale = size / max(view.width, view.height)
        if not math.isfinite(self.scale) or self.scale <= 0.0:
            raise ValueError(f"the view box {view} is too small to draw")
        self.top = top  # a band above the view, for the title
        self.width = view.width * self.scale
        self.height = view.height * self.scale + top

    def xy(self, pts: XY) -> XY:
        """Pixel coordinates of world points near the view.

        Differences are taken of halves (exact but for subnormal numbers,
        and then off by far less than a pixel): a point near the view minus
        a view corner can exceed the largest double when the view spans much
        of it, the pixel coordinate cannot. Whatever still is not finite
        raises ``ValueError`` rather than reach the document.
        """
        pts = np.asarray(pts, dtype=np.float64).reshape(-1, 2)
        half = 0.5 * pts
        twice = 2.0 * self.scale
        with np.errstate(all="ignore"):
            x = (half[:, 0] - 0.5 * self.view.xmin) * twice
            y = (0.5 * self.view.ymax - half[:, 1]) * twice + self.top
            xy = np.column_stack([x, y])
        if not np.all(np.isfinite(xy)):
            raise ValueError(f"cannot draw in pixels: coordinates too far from the view box {self.view}")
        return xy


def _attrs(**values: str | float) -> str:
    return "".join(f' {k.replace("_", "-")}="{xml(v) if isinstance(v, str) else num(v)}"' for k, v in values.items())


def _point_list(xy: XY) -> str:
    return " ".join(f"{num(x)},{num(y)}" for x, y in xy)


def arrowhead(xy: XY, width: float) -> tuple[XY, XY] | None:
    """The triangle of an arrowhead at the last point of a pixel polyline, and
    the polyline shortened so that its stroke ends inside the head."""
    tip, tail = xy[-1], xy[-2]
    d = tip - tail
    length = float(np.hypot(*d))
    if length == 0.0:
        return None
    d /= length
    size = 6.0 + 2.0 * width
    normal = np.array([-d[1], d[0]])
    base = tip - size * d
    head = np.stack([tip, base + 0.4 * size * normal, base - 0.4 * size * normal])
    line = xy.copy()
    if length > size:
        line[-1] = tip - 0.5 * size * d
    return head, line


def _dots(shape: Dots, style: Style, canvas: Canvas) -> list[str]:
    # point clouds can be large: one plain format per dot
    r = num(style.point_size)
    dots = "".join(f'<circle cx="{x:.2f}" cy="{y:.2f}" r="{r}"/>' for x, y in canvas.xy(shape.xy).tolist())
    return [f"<g{_attrs(fill=style.stroke, stroke='none')}>{dots}</g>"]


def _path(shape: Path, style: Style, canvas: Canvas) -> list[str]:
    xy = canvas.xy(shape.xy)
    fill, fill_opacity = style.fill_paint if shape.filled else ("none", 0.0)
    stroke = style.stroke if shape.stroked else "none"
    out = []
    if shape.oriented and style.arrow and len(xy) >= 2 and (made := arrowhead(xy, style.width)) is not None:
        head, xy = made
        out.append(f"<polygon{_attrs(points=_point_list(head), fill=style.stroke)}/>")
    tag = "polygon" if shape.closed else "polyline"
    paint = _attrs(fill=fill, fill_opacity=fill_opacity, stroke=stroke, stroke_width=style.width)
    return [f'<{tag}{_attrs(points=_point_list(xy))}{paint} stroke-linejoin="round"/>', *out]


def _edges(shape: Edges, style: Style, canvas: Canvas) -> list[str]:
    ends = canvas.xy(shape.xy.reshape(-1, 2)).reshape(-1, 4).tolist()
    d = "".join(f"M{x0:.2f} {y0:.2f}L{x1:.2f} {y1:.2f}" for x0, y0, x1, y1 in ends)
    paint = _attrs(fill="none", stroke=style.stroke, stroke_width=style.width)
    return [f'<path d="{d}"{paint} stroke-linecap="round"/>']


def _disc(shape: Disc, style: Style, canvas: Canvas) -> list[str]:
    fill, fill_opacity = style.fill_paint
    (cx, cy), = canvas.xy(shape.center)
    return [f"<circle{_attrs(cx=cx, cy=cy, r=shape.radius * canvas.scale, fill=fill, fill_opacity=fill_opacity, stroke=style.stroke, stroke_width=style.width)}/>"]


def _cover(shape: Cover, style: Style, canvas: Canvas) -> list[str]:
    fill, fill_opacity = style.fill_paint
    area = _attrs(x=0, y=canvas.top, width=canvas.width, height=canvas.height - canvas.top)
    return [f"<rect{area}{_attrs(fill=fill, fill_opacity=fill_opacity)}/>"]


#: The elements of each shape a view leaves (lines come already cut to paths).
_WRITERS: dict[type[Shape], Callable[[Any, Style, Canvas], list[str]]] = {
    Dots: _dots, Path: _path, Edges: _edges, Disc: _disc, Cover: _cover,
}


def _shape(shape: Shape, style: Style, canvas: Canvas) -> list[str]:
    write = _WRITERS.get(type(shape))
    if write is None:
        raise TypeError(f"cannot write {shape!r} as SVG")
    return write(shape, style, canvas)


def _label(figure: Figure, style: Style, canvas: Canvas) -> list[str]:
    anchor = figure.label_anchor(canvas.view)
    if not style.label or anchor is None:
        return []
    (x, y), = canvas.xy(anchor)
    return [_text(x + LABEL_OFFSET[0], y + LABEL_OFFSET[1], style.label, style.stroke)]


def _text(x: float, y: float, text: str, colour: str, bold: bool = False) -> str:
    weight = ' font-weight="bold"' if bold else ""
    at = _attrs(x=x, y=y, fill=colour, font_size=FONT_SIZE)
    return f'<text{at} font-family="sans-serif"{weight}>{xml(text)}</text>'


def document(items: Sequence[tuple[Figure, Style, str]], canvas: Canvas, background: str | None,
             title: str | None = None) -> str:
    """The SVG document of (figure, style, name) items, painted in order (each
    object's name shows as a tooltip), with the drawing's title on top."""
    w, h = num(canvas.width), num(canvas.height)
    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        f'<svg xmlns="http://www.w3.org/2000/svg"{_attrs(width=w, height=h, viewBox=f"0 0 {w} {h}")}>',
    ]
    if background is not None:
        lines.append(f"<rect{_attrs(width='100%', height='100%', fill=background)}/>")
    for figure, style, name in items:
        body = [part for seen in figure.visible(canvas.view) for part in _shape(seen, style, canvas)]
        opacity = _attrs(opacity=style.opacity) if style.opacity < 1.0 else ""
        lines.append(f"<g{opacity}><title>{xml(name)}</title>")
        lines += body + _label(figure, style, canvas)
        lines.append("</g>")
    if title:
        lines.append(_text(6.0, TITLE_BAND - 8.0, title, "black", bold=True))
    lines.append("</svg>")
    return "\n".join(lines) + "\n"
