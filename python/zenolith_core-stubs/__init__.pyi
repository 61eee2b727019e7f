"""Planar and spatial kernel objects in double precision: the type stubs of
zenolith_core, with a one-line description of every class and binding."""

# Typed as the runtime dispatches: comparisons accept only their own class
# (anything else raises TypeError), and an int overload listed after a float
# one stays, since exact ints select it at run time.

from collections.abc import Iterator
from typing import ClassVar, overload, type_check_only

@type_check_only
class _Pybind11Type(type):
    """The metaclass every class of the module has at run time."""

def squared_distance(x1: float, y1: float, x2: float, y2: float) -> float:
    """The squared distance between the points (x1, y1) and (x2, y2): dx*dx + dy*dy, each square rounded on its own."""

class Point2(metaclass=_Pybind11Type):
    """A point (x, y) in the plane; ordered lexicographically, x first."""

    @overload
    def __init__(self) -> None:
        """The origin (0.0, 0.0)."""
    @overload
    def __init__(self, x: float, y: float) -> None:
        """The point (x, y)."""
    @overload
    def __init__(self, x: int, y: int) -> None:  # type: ignore[overload-cannot-match]
        """The point (x, y), each int converted exactly to double."""
    @overload
    def __init__(self, wp: WeightedPoint2) -> None:
        """The bare point of the weighted point (its x and y); the weight is dropped."""
    @property
    def x(self) -> float:
        """The x coordinate."""
    @property
    def y(self) -> float:
        """The y coordinate."""
    @property
    def hx(self) -> float:
        """The homogeneous x coordinate (equal to x)."""
    @property
    def hy(self) -> float:
        """The homogeneous y coordinate (equal to y)."""
    @property
    def hw(self) -> float:
        """Always 1.0."""
    def cartesian(self, i: int) -> float:
        """x when i is 0, y for every other value."""
    def homogeneous(self, i: int) -> float:
        """x when i is 0, y when i is 1, 1.0 for every other value."""
    def dimension(self) -> int:
        """Always 2."""
    def bbox(self) -> Bbox2:
        """The degenerate box with xmin = xmax = x and ymin = ymax = y."""
    def __getitem__(self, i: int) -> float:
        """Same rule as cartesian: x when i is 0, y for every other value."""
    def __iter__(self) -> Iterator[float]:
        """The coordinates x, y, then stops, so a point unpacks into two floats."""
    @overload
    def __sub__(self, other: Point2, /) -> Vector2:
        """The vector from the argument to this point: (x − x′, y − y′)."""
    @overload
    def __sub__(self, other: Vector2, /) -> Point2:
        """The translated point (x − vx, y − vy); second overload of __sub__."""
    def __add__(self, other: Vector2, /) -> Point2:
        """The translated point (x + vx, y + vy)."""
    def __iadd__(self, other: Vector2, /) -> Point2:
        """Sets this point to (x + vx, y + vy) and returns a copy of it."""
    def __isub__(self, other: Vector2, /) -> Point2:  # type: ignore[misc]
        """Sets this point to (x − vx, y − vy) and returns a copy of it."""
    def __eq__(self, other: Point2, /) -> bool:  # type: ignore[override]
        """Both coordinates equal (IEEE: 0.0 == -0.0, NaN never equal)."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Point2, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __lt__(self, other: Point2, /) -> bool:
        """Lexicographic order: x decides, y breaks a tie."""
    def __gt__(self, other: Point2, /) -> bool:
        """Lexicographic order: other < self."""
    def __le__(self, other: Point2, /) -> bool:
        """Lexicographic order: not (other < self)."""
    def __ge__(self, other: Point2, /) -> bool:
        """Lexicographic order: not (self < other)."""
    def transform(self, t: AffTransformation2) -> Point2:
        """The image of the point under t."""
    def __repr__(self) -> str:
        """Text such as Point2(1.000000, 2.500000), every number with six decimals."""

class Vector2(metaclass=_Pybind11Type):
    """A planar displacement (x, y); compares by identity, not by value."""

    def __init__(self, x: float, y: float) -> None:
        """The vector (x, y); the only constructor."""
    @property
    def x(self) -> float:
        """The x coordinate."""
    @property
    def y(self) -> float:
        """The y coordinate."""
    def __add__(self, other: Vector2, /) -> Vector2:
        """(x + x′, y + y′)."""
    def __sub__(self, other: Vector2, /) -> Vector2:
        """(x − x′, y − y′)."""
    def __mul__(self, other: float, /) -> Vector2:
        """The vector scaled by s: (x*s, y*s)."""
    def __rmul__(self, other: float, /) -> Vector2:
        """The vector scaled by s, for s * v: (x*s, y*s)."""
    def __neg__(self) -> Vector2:
        """(−x, −y)."""
    def transform(self, t: AffTransformation2) -> Vector2:
        """The image of the vector under t: the linear part only, translations leave it unchanged."""
    def __repr__(self) -> str:
        """Text such as Vector2(1.000000, -2.000000), every number with six decimals."""

class OrientationResult(metaclass=_Pybind11Type):
    """The answer of orientation(): left turn, right turn or collinear; ask it with its three methods."""

    def left_turn(self) -> bool:
        """The three points turn left (counterclockwise)."""
    def right_turn(self) -> bool:
        """The three points turn right (clockwise)."""
    def collinear(self) -> bool:
        """The three points lie on one line (also for equal points or NaN)."""
    def __repr__(self) -> str:
        """'Left turn', 'Right turn' or 'Collinear'."""

def orientation(p1: Point2, p2: Point2, p3: Point2) -> OrientationResult:
    """Whether p1, p2, p3 make a left turn, a right turn or lie on one line, from the two rounded cross products compared directly."""

class Bbox2(metaclass=_Pybind11Type):
    """An axis-aligned box with double bounds; the empty box is (+inf, +inf, -inf, -inf) and bounds are stored as given."""

    @overload
    def __init__(self) -> None:
        """The empty box (+∞, +∞, −∞, −∞)."""
    @overload
    def __init__(self, xmin: float, ymin: float, xmax: float, ymax: float) -> None:
        """The box with these bounds, stored unchanged."""
    @property
    def xmin(self) -> float:
        """The lower x bound."""
    @property
    def ymin(self) -> float:
        """The lower y bound."""
    @property
    def xmax(self) -> float:
        """The upper x bound."""
    @property
    def ymax(self) -> float:
        """The upper y bound."""
    def dimension(self) -> int:
        """Always 2."""
    def min(self, i: int) -> float:
        """xmin when i is 0, ymin for every other value."""
    def max(self, i: int) -> float:
        """xmax when i is 0, ymax for every other value."""
    def dilate(self, dist: int) -> None:
        """Moves every bound outward by dist representable doubles, in place; OverflowError beyond the largest double."""
    def scale(self, factor: float) -> None:
        """Scales the box about its centre, in place."""
    def do_overlap(self, other: Bbox2) -> bool:
        """Whether the two closed boxes intersect."""
    def __add__(self, other: Bbox2, /) -> Bbox2:
        """The smallest box containing both boxes (the empty box is neutral)."""
    def __iadd__(self, other: Bbox2, /) -> Bbox2:
        """Grows this box to the union in place and returns a copy of it."""
    def __eq__(self, other: Bbox2, /) -> bool:  # type: ignore[override]
        """All four bounds equal (IEEE equality)."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Bbox2, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as Bbox2(0.000000, 0.000000, 2.000000, 1.000000), every number with six decimals."""

class Direction2(metaclass=_Pybind11Type):
    """A planar direction, a vector up to a positive factor; ordered by angle counterclockwise from the positive x axis."""

    @overload
    def __init__(self, x: float, y: float) -> None:
        """The direction (x, y)."""
    @overload
    def __init__(self, v: Vector2) -> None:
        """The direction of v."""
    @overload
    def __init__(self, s: Segment2) -> None:
        """The direction from the segment's source to its target."""
    @overload
    def __init__(self, r: Ray2) -> None:
        """The direction of the ray."""
    @property
    def dx(self) -> float:
        """The x component."""
    @property
    def dy(self) -> float:
        """The y component."""
    def delta(self, arg0: int, /) -> float:
        """dx when the index is 0, dy for every other value."""
    def counterclockwise_in_between(self, d1: Direction2, d2: Direction2) -> bool:
        """Whether this direction is met strictly after d1 and strictly before d2 when turning counterclockwise from d1."""
    def vector(self) -> Vector2:
        """The vector (dx, dy)."""
    def opposite(self) -> Direction2:
        """(−dx, −dy)."""
    def __neg__(self) -> Direction2:
        """(−dx, −dy), the same function as opposite."""
    def __eq__(self, other: Direction2, /) -> bool:  # type: ignore[override]
        """Same direction: the components have equal signs and are proportional (a zero direction equals only zero directions)."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Direction2, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __lt__(self, other: Direction2, /) -> bool:
        """Smaller angle counterclockwise from the positive x axis."""
    def __gt__(self, other: Direction2, /) -> bool:
        """Larger angle counterclockwise from the positive x axis."""
    def __le__(self, other: Direction2, /) -> bool:
        """Angle not larger (counterclockwise from the positive x axis)."""
    def __ge__(self, other: Direction2, /) -> bool:
        """Angle not smaller (counterclockwise from the positive x axis)."""
    def __repr__(self) -> str:
        """Text such as Direction2(3.000000, 4.000000), every number with six decimals."""
    def transform(self, t: AffTransformation2) -> Direction2:
        """The image of the direction under t's linear part (a negative scaling reverses it)."""

class Line2(metaclass=_Pybind11Type):
    """An oriented planar line a*x + b*y + c = 0; its positive side is on the left."""

    @overload
    def __init__(self, a: float, b: float, c: float) -> None:
        """The line a*x + b*y + c = 0, coefficients stored as given."""
    @overload
    def __init__(self, p: Point2, q: Point2) -> None:
        """The line through p and q, directed from p to q (exact coefficients for horizontal and vertical lines)."""
    @overload
    def __init__(self, p: Point2, d: Direction2) -> None:
        """The line through p with direction d."""
    @overload
    def __init__(self, p: Point2, v: Vector2) -> None:
        """The line through p along v."""
    @overload
    def __init__(self, s: Segment2) -> None:
        """The supporting line of the segment, directed from source to target."""
    @overload
    def __init__(self, r: Ray2) -> None:
        """The supporting line of the ray, directed along it."""
    @staticmethod
    def from_ray(r: Ray2) -> Line2:
        """The supporting line of the ray, directed along it; called on the class."""
    @property
    def a(self) -> float:
        """The coefficient a."""
    @property
    def b(self) -> float:
        """The coefficient b."""
    @property
    def c(self) -> float:
        """The coefficient c."""
    def point(self, i: float) -> Point2:
        """A point of the line at parameter i; point(0) is the line's base point."""
    def projection(self, p: Point2) -> Point2:
        """The orthogonal projection of p onto the line."""
    def x_at_y(self, y: float) -> float:
        """The x where the line meets height y: (-b*y - c) / a (infinite or NaN for a horizontal line)."""
    def y_at_x(self, x: float) -> float:
        """The y where the line meets abscissa x: (-a*x - c) / b (infinite or NaN for a vertical line)."""
    def is_degenerate(self) -> bool:
        """a == 0 and b == 0: no line at all."""
    def is_horizontal(self) -> bool:
        """a = 0."""
    def is_vertical(self) -> bool:
        """b = 0."""
    def oriented_side(self, p: Point2) -> int:
        """1 on the positive (left) side, -1 on the negative side, 0 on the line."""
    def has_on(self, p: Point2) -> bool:
        """The value at p is neither less nor greater than 0."""
    def has_on_positive_side(self, p: Point2) -> bool:
        """The value at p is greater than 0."""
    def has_on_negative_side(self, p: Point2) -> bool:
        """The value at p is less than 0."""
    def to_vector(self) -> Vector2:
        """The direction vector (b, -a)."""
    def direction(self) -> Direction2:
        """The direction (b, -a)."""
    def opposite(self) -> Line2:
        """The same line with the opposite orientation: (-a, -b, -c)."""
    def perpendicular(self, p: Point2) -> Line2:
        """The line through p perpendicular to this one: (−b, a, b·px − a·py)."""
    def __eq__(self, other: Line2, /) -> bool:  # type: ignore[override]
        """Same oriented line: proportional coefficients with a positive factor."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Line2, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as Line2(a=1.000000, b=-1.000000, c=0.000000), every number with six decimals."""
    def transform(self, t: AffTransformation2) -> Line2:
        """The image of the line under t, keeping its orientation."""

class Segment2(metaclass=_Pybind11Type):
    """A planar segment from its source to its target."""

    def __init__(self, arg0: Point2, arg1: Point2, /) -> None:
        """The segment from the first point (source) to the second (target)."""
    def source(self) -> Point2:
        """The source."""
    def target(self) -> Point2:
        """The target."""
    def min(self) -> Point2:
        """The lexicographically smaller end point."""
    def max(self) -> Point2:
        """The lexicographically larger end point."""
    def vertex(self, arg0: int, /) -> Point2:
        """The source for an even index, the target for an odd one."""
    def point(self, arg0: int, /) -> Point2:
        """Same as vertex(i)."""
    def __getitem__(self, other: int, /) -> Point2:
        """Same as vertex(i)."""
    def __iter__(self) -> Iterator[Point2]:
        """The source, then the target."""
    def squared_length(self) -> float:
        """The squared length (sx - tx)^2 + (sy - ty)^2."""
    def direction(self) -> Direction2:
        """The direction of the vector target − source."""
    def to_vector(self) -> Vector2:
        """The vector target − source, (tx − sx, ty − sy)."""
    def opposite(self) -> Segment2:
        """The segment from the target to the source."""
    def supporting_line(self) -> Line2:
        """The line through source and target, oriented from source to target."""
    def is_degenerate(self) -> bool:
        """Source equals target (both coordinates equal)."""
    def is_horizontal(self) -> bool:
        """Both ends have the same y."""
    def is_vertical(self) -> bool:
        """Both ends have the same x."""
    def has_on(self, arg0: Point2, /) -> bool:
        """The point lies on the closed segment."""
    def collinear_has_on(self, arg0: Point2, /) -> bool:
        """The point, assumed to lie on the supporting line, lies within the segment's extent."""
    def bbox(self) -> Bbox2:
        """The box (min(sx, tx), min(sy, ty), max(sx, tx), max(sy, ty))."""
    def __eq__(self, other: Segment2, /) -> bool:  # type: ignore[override]
        """Source equals source and target equals target."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Segment2, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as Segment2((0.000000, 0.000000), (1.000000, 2.500000)), every number with six decimals."""
    def transform(self, t: AffTransformation2) -> Segment2:
        """The segment from t(source) to t(target)."""

class Ray2(metaclass=_Pybind11Type):
    """A planar ray from its source through a second point."""

    @overload
    def __init__(self, p: Point2, q: Point2) -> None:
        """Source p, second point q."""
    @overload
    def __init__(self, p: Point2, d: Direction2) -> None:
        """The ray from p in direction d."""
    @overload
    def __init__(self, p: Point2, v: Vector2) -> None:
        """The ray from p along v."""
    @overload
    def __init__(self, p: Point2, l: Line2) -> None:
        """The ray from p in the direction of the line l, (b, -a)."""
    def source(self) -> Point2:
        """The source."""
    def point(self, i: float) -> Point2:
        """The point at parameter i: the source at 0, the second point at 1, behind the source below 0."""
    def direction(self) -> Direction2:
        """The direction of (qx − sx, qy − sy)."""
    def to_vector(self) -> Vector2:
        """The vector (qx − sx, qy − sy)."""
    def supporting_line(self) -> Line2:
        """The line through the ray, directed along it."""
    def opposite(self) -> Ray2:
        """The ray with the same source and the opposite direction."""
    def is_degenerate(self) -> bool:
        """The second point equals the source (both coordinates equal)."""
    def is_horizontal(self) -> bool:
        """The source and the second point have the same y."""
    def is_vertical(self) -> bool:
        """The source and the second point have the same x."""
    def has_on(self, p: Point2) -> bool:
        """The point lies on the closed ray."""
    def collinear_has_on(self, p: Point2) -> bool:
        """The point, assumed to lie on the supporting line, is not behind the source."""
    def __eq__(self, other: Ray2, /) -> bool:  # type: ignore[override]
        """Same source and same direction (second points may differ)."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Ray2, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as Ray2(source=(1.000000, 1.000000), direct..., every number with six decimals."""

class Triangle2(metaclass=_Pybind11Type):
    """A planar triangle; the order of its vertices gives its orientation (counterclockwise is positive)."""

    def __init__(self, p: Point2, q: Point2, r: Point2) -> None:
        """The triangle with vertices p, q, r in this order."""
    def vertex(self, i: int) -> Point2:
        """Vertex i mod 3; for negative i, (i rem 3) + 3 with 3 meaning vertex 2 (so -3 gives vertex 2)."""
    def __getitem__(self, i: int) -> Point2:
        """Same as vertex(i)."""
    def __iter__(self) -> Iterator[Point2]:
        """The three vertices in order."""
    def is_degenerate(self) -> bool:
        """The three vertices are collinear."""
    def orientation(self) -> int:
        """1 counterclockwise, -1 clockwise, 0 degenerate."""
    def oriented_side(self, p: Point2) -> int:
        """1 on the positive side (inside a counterclockwise triangle), -1 on the negative side, 0 on the boundary or for a degenerate triangle."""
    def bounded_side(self, p: Point2) -> int:
        """1 inside, 0 on the boundary, -1 outside (a degenerate triangle holds its whole line)."""
    def has_on_positive_side(self, p: Point2) -> bool:
        """oriented_side(p) == 1."""
    def has_on_negative_side(self, p: Point2) -> bool:
        """oriented_side(p) == -1."""
    def has_on_boundary(self, p: Point2) -> bool:
        """bounded_side(p) == 0."""
    def has_on_bounded_side(self, p: Point2) -> bool:
        """bounded_side(p) == 1 (inside)."""
    def has_on_unbounded_side(self, p: Point2) -> bool:
        """bounded_side(p) == -1 (outside)."""
    def opposite(self) -> Triangle2:
        """The triangle (v0, v2, v1), with the opposite orientation."""
    def area(self) -> float:
        """The signed area: positive for a counterclockwise triangle."""
    def bbox(self) -> Bbox2:
        """The smallest box containing the three vertices."""
    def __eq__(self, other: Triangle2, /) -> bool:  # type: ignore[override]
        """Equal up to a cyclic shift of the vertices (not a reversal)."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Triangle2, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as Triangle2((0.000000, 0.000000), (1.00000..., every number with six decimals."""
    def transform(self, t: AffTransformation2) -> Triangle2:
        """The triangle of the images of the three vertices."""

class Circle2(metaclass=_Pybind11Type):
    """A planar circle stored by centre and squared radius, with an orientation (counterclockwise by default)."""

    @overload
    def __init__(self, center: Point2, squared_radius: float, orientation: int = 1) -> None:
        """The circle with this center and squared radius; a negative orientation makes it clockwise, any other counterclockwise."""
    @overload
    def __init__(self, p: Point2, q: Point2, r: Point2) -> None:
        """The circle through p, q and r, oriented like them (0 for collinear points)."""
    @overload
    def __init__(self, p: Point2, q: Point2, orientation: int = 1) -> None:
        """The circle with diameter pq; a negative orientation makes it clockwise, any other counterclockwise."""
    @overload
    def __init__(self, center: Point2, orientation: int = 1) -> None:
        """The circle of squared radius 0 at center (an int second argument lands here, not as a squared radius)."""
    def center(self) -> Point2:
        """The center."""
    def squared_radius(self) -> float:
        """The squared radius."""
    def orientation(self) -> int:
        """The stored orientation, −1, 0 or 1."""
    def is_degenerate(self) -> bool:
        """The squared radius equals 0."""
    def oriented_side(self, p: Point2) -> int:
        """bounded_side(p) times the orientation: 1 on the positive side, -1 on the negative side, 0 on the circle."""
    def bounded_side(self, p: Point2) -> int:
        """1 inside, 0 on the circle, -1 outside (squared distance to the center against the squared radius)."""
    def has_on_positive_side(self, p: Point2) -> bool:
        """Inside when the orientation is 1, outside otherwise."""
    def has_on_negative_side(self, p: Point2) -> bool:
        """Outside when the orientation is 1, inside otherwise."""
    def has_on_boundary(self, p: Point2) -> bool:
        """bounded_side(p) == 0."""
    def has_on_bounded_side(self, p: Point2) -> bool:
        """p lies inside the circle."""
    def has_on_unbounded_side(self, p: Point2) -> bool:
        """p lies outside the circle."""
    def opposite(self) -> Circle2:
        """Same center and squared radius, orientation negated (0 stays 0)."""
    def bbox(self) -> Bbox2:
        """A box that contains the circle, computed with outward rounding."""
    def __eq__(self, other: Circle2, /) -> bool:  # type: ignore[override]
        """Equal centers, equal squared radii and equal orientations."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Circle2, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as Circle2(center=(1.000000, 1.000000), squared_radius=2.000000), every number with six decimals."""
    def orthogonal_transform(self, t: AffTransformation2) -> Circle2:
        """The image under a transformation that preserves angles (exact only for those)."""

class IsoRectangle2(metaclass=_Pybind11Type):
    """An axis-aligned rectangle given by its lower-left and upper-right corners."""

    @overload
    def __init__(self, p: Point2, q: Point2) -> None:
        """The rectangle with opposite corners p and q, coordinates sorted."""
    @overload
    def __init__(self, left: Point2, right: Point2, bottom: Point2, top: Point2) -> None:
        """The rectangle with xmin from left, xmax from right, ymin from bottom, ymax from top, unsorted."""
    @overload
    def __init__(self, min_x: float, min_y: float, max_x: float, max_y: float) -> None:
        """The rectangle with corners (min_x, min_y) and (max_x, max_y), coordinates sorted."""
    @overload
    def __init__(self, bbox: Bbox2) -> None:
        """The rectangle of the box, coordinates sorted."""
    def vertex(self, i: int) -> Point2:
        """Vertex r = i rem 4 (C remainder): 0, 1, 2 as numbered counterclockwise from the lower-left corner, any other r vertex 3."""
    def __getitem__(self, i: int) -> Point2:
        """Same as vertex(i)."""
    def __iter__(self) -> Iterator[Point2]:
        """The four vertices counterclockwise from the lower-left one."""
    def min(self) -> Point2:
        """The lower-left corner (xmin, ymin)."""
    def max(self) -> Point2:
        """The upper-right corner (xmax, ymax)."""
    def xmin(self) -> float:
        """The lower x bound."""
    def ymin(self) -> float:
        """The lower y bound."""
    def xmax(self) -> float:
        """The upper x bound."""
    def ymax(self) -> float:
        """The upper y bound."""
    def min_coord(self, i: int) -> float:
        """xmin when i is 0, ymin for every other value."""
    def max_coord(self, i: int) -> float:
        """xmax when i is 0, ymax for every other value."""
    def is_degenerate(self) -> bool:
        """xmin = xmax or ymin = ymax."""
    def bounded_side(self, p: Point2) -> int:
        """1 strictly inside, 0 on the boundary, -1 outside."""
    def has_on_boundary(self, p: Point2) -> bool:
        """bounded_side(p) == 0."""
    def has_on_bounded_side(self, p: Point2) -> bool:
        """p lies strictly inside."""
    def has_on_unbounded_side(self, p: Point2) -> bool:
        """p lies outside."""
    def area(self) -> float:
        """(xmax - xmin) * (ymax - ymin)."""
    def bbox(self) -> Bbox2:
        """The box of the two stored corners."""
    def __eq__(self, other: IsoRectangle2, /) -> bool:  # type: ignore[override]
        """All four stored values equal."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: IsoRectangle2, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as IsoRectangle2(xmin=0.000000, ymin=0.0000..., every number with six decimals."""
    def transform(self, t: AffTransformation2) -> IsoRectangle2:
        """The rectangle spanned by the images of the two corners (exact for translations and scalings)."""

class WeightedPoint2(metaclass=_Pybind11Type):
    """A planar point with a weight (the squared radius of its power circle)."""

    @overload
    def __init__(self) -> None:
        """The point (0.0, 0.0) with weight 0.0."""
    @overload
    def __init__(self, p: Point2) -> None:
        """The point p with weight 0.0."""
    @overload
    def __init__(self, p: Point2, w: float) -> None:
        """The point p with weight w."""
    @overload
    def __init__(self, x: float, y: float) -> None:
        """The point (x, y) with weight 0.0."""
    def point(self) -> Point2:
        """The bare point (x, y)."""
    def weight(self) -> float:
        """The weight."""
    def hx(self) -> float:
        """The homogeneous x coordinate (equal to x)."""
    def hy(self) -> float:
        """The homogeneous y coordinate (equal to y)."""
    def hw(self) -> float:
        """Always 1.0 (the homogeneous weight of the point, not the point's weight)."""
    def x(self) -> float:
        """The x coordinate."""
    def y(self) -> float:
        """The y coordinate."""
    def homogeneous(self, i: int) -> float:
        """x when i is 0, y when i is 1, 1.0 for every other value."""
    def cartesian(self, i: int) -> float:
        """x when i is 0, y for every other value."""
    def __getitem__(self, i: int) -> float:
        """Same as cartesian(i)."""
    def __iter__(self) -> Iterator[float]:
        """The coordinates x, y of the point (not the weight), then stops."""
    def dimension(self) -> int:
        """Always 2."""
    def bbox(self) -> Bbox2:
        """The degenerate box with xmin = xmax = x and ymin = ymax = y; the weight plays no part."""
    def __eq__(self, other: WeightedPoint2, /) -> bool:  # type: ignore[override]
        """The points are equal; the weights are not compared."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: WeightedPoint2, /) -> bool:  # type: ignore[override]
        """Not ==: the points differ."""
    def __repr__(self) -> str:
        """Text such as WeightedPoint2(point=(1.000000, 2.000000), weight=0.500000), every number with six decimals."""
    def transform(self, t: AffTransformation2) -> WeightedPoint2:
        """The image of the point under t, with the weight unchanged."""

class AffTransformation2(metaclass=_Pybind11Type):
    """A planar affine transformation: identity, translation, scaling, reflection, rotation or a general matrix."""

    @overload
    def __init__(self) -> None:
        """The identity."""
    @overload
    def __init__(self, v: Vector2) -> None:
        """The translation by v."""
    @overload
    def __init__(self, s: float) -> None:
        """The uniform scaling by s about the origin."""
    @overload
    def __init__(self, l: Line2) -> None:
        """The reflection in the line l."""
    @overload
    def __init__(self, sine: float, cosine: float) -> None:
        """The rotation about the origin with this sine and cosine, used exactly as given."""
    @overload
    def __init__(self, m00: float, m01: float, m02: float, m10: float, m11: float, m12: float) -> None:
        """The map (x, y) -> (m00*x + m01*y + m02, m10*x + m11*y + m12)."""
    @overload
    def __init__(self, m00: float, m01: float, m10: float, m11: float) -> None:
        """The linear map (x, y) -> (m00*x + m01*y, m10*x + m11*y)."""
    def transform_point(self, p: Point2) -> Point2:
        """The image of the point p."""
    def transform_vector(self, v: Vector2) -> Vector2:
        """The image of the vector v under the linear part (no translation)."""
    def transform_direction(self, d: Direction2) -> Direction2:
        """The image of the direction d under the linear part."""
    def transform_line(self, l: Line2) -> Line2:
        """The image of the line l, keeping its orientation."""
    def __call__(self, p: Point2) -> Point2:
        """The image of the point p: t(p) is t.transform_point(p)."""
    def inverse(self) -> AffTransformation2:
        """The inverse transformation (infinite or NaN entries for a singular one)."""
    def is_even(self) -> bool:
        """Preserves orientation (a positive determinant of the linear part)."""
    def is_odd(self) -> bool:
        """Not is_even(): reverses orientation or is singular."""
    def is_scaling(self) -> bool:
        """Built as a scaling."""
    def is_translation(self) -> bool:
        """Built as a translation."""
    def is_rotation(self) -> bool:
        """Built as a rotation."""
    def is_reflection(self) -> bool:
        """Built as a reflection."""
    def cartesian(self, i: int, j: int) -> float:
        """The matrix entry m(i, j); row 2 is (0, 0, 1)."""
    def homogeneous(self, i: int, j: int) -> float:
        """The matrix entry m(i, j), the same as cartesian(i, j)."""
    def __mul__(self, other: AffTransformation2, /) -> AffTransformation2:
        """The composition: (self * other)(p) is self(other(p))."""
    def __eq__(self, other: AffTransformation2, /) -> bool:  # type: ignore[override]
        """Equal matrices."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __repr__(self) -> str:
        """Text such as AffTransformation2(m00=1.000000, m01=0.0..., every number with six decimals."""

class Bbox3(metaclass=_Pybind11Type):
    """A spatial axis-aligned box with double bounds and no operations; compute with IsoCuboid3."""

    @overload
    def __init__(self) -> None:
        """The empty box (+∞, +∞, +∞, −∞, −∞, −∞)."""
    @overload
    def __init__(self, xmin: float, ymin: float, zmin: float, xmax: float, ymax: float, zmax: float) -> None:
        """The box with these six bounds, stored as given."""
    @property
    def xmin(self) -> float:
        """The lower x bound."""
    @property
    def ymin(self) -> float:
        """The lower y bound."""
    @property
    def zmin(self) -> float:
        """The lower z bound."""
    @property
    def xmax(self) -> float:
        """The upper x bound."""
    @property
    def ymax(self) -> float:
        """The upper y bound."""
    @property
    def zmax(self) -> float:
        """The upper z bound."""
    def __repr__(self) -> str:
        """Text such as Bbox3(0.000000, 0.000000, 0.000000, 1.00..., every number with six decimals."""

class Point3(metaclass=_Pybind11Type):
    """A point (x, y, z) in space; ordered lexicographically, x first."""

    @overload
    def __init__(self) -> None:
        """The origin (0.0, 0.0, 0.0)."""
    @overload
    def __init__(self, x: float, y: float, z: float) -> None:
        """The point (x, y, z)."""
    @overload
    def __init__(self, x: int, y: int, z: int) -> None:  # type: ignore[overload-cannot-match]
        """The point (x, y, z), each int converted exactly to double."""
    @property
    def x(self) -> float:
        """The x coordinate."""
    @property
    def y(self) -> float:
        """The y coordinate."""
    @property
    def z(self) -> float:
        """The z coordinate."""
    @property
    def hx(self) -> float:
        """The homogeneous x coordinate (equal to x)."""
    @property
    def hy(self) -> float:
        """The homogeneous y coordinate (equal to y)."""
    @property
    def hz(self) -> float:
        """The homogeneous z coordinate (equal to z)."""
    @property
    def hw(self) -> float:
        """Always 1.0."""
    def cartesian(self, i: int) -> float:
        """x for i == 0, y for i == 1, z for every other i."""
    def homogeneous(self, i: int) -> float:
        """x, y, z for i == 0, 1, 2; 1.0 for every other i."""
    def dimension(self) -> int:
        """Always 3."""
    def bbox(self) -> Bbox3:
        """The degenerate box at the point."""
    def __getitem__(self, i: int) -> float:
        """Same as cartesian(i)."""
    def __iter__(self) -> Iterator[float]:
        """The coordinates x, y, z, then stops, so a point unpacks into three floats."""
    @overload
    def __sub__(self, other: Point3, /) -> Vector3:
        """The vector from q to this point: (x − q.x, y − q.y, z − q.z)."""
    @overload
    def __sub__(self, other: Vector3, /) -> Point3:
        """The point translated by -v."""
    def __add__(self, other: Vector3, /) -> Point3:
        """The point translated by v."""
    def __iadd__(self, other: Vector3, /) -> Point3:
        """Translates this point by v in place and returns a copy of it."""
    def __isub__(self, other: Vector3, /) -> Point3:  # type: ignore[misc]
        """Translates this point by -v in place and returns a copy of it."""
    def __eq__(self, other: Point3, /) -> bool:  # type: ignore[override]
        """All three coordinates equal (IEEE)."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Point3, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __lt__(self, other: Point3, /) -> bool:
        """Lexicographic order: x, then y, then z."""
    def __gt__(self, other: Point3, /) -> bool:
        """Lexicographic order: other < self."""
    def __le__(self, other: Point3, /) -> bool:
        """Lexicographic order: not (other < self)."""
    def __ge__(self, other: Point3, /) -> bool:
        """Lexicographic order: not (self < other)."""
    def __repr__(self) -> str:
        """Text such as Point3(1.000000, 2.500000, -3.000000), every number with six decimals."""

class Vector3(metaclass=_Pybind11Type):
    """A spatial displacement (x, y, z), compared by value."""

    @overload
    def __init__(self) -> None:
        """The null vector (0.0, 0.0, 0.0)."""
    @overload
    def __init__(self, a: Point3, b: Point3) -> None:
        """The vector from a to b: (b.x − a.x, b.y − a.y, b.z − a.z)."""
    @overload
    def __init__(self, x: float, y: float, z: float) -> None:
        """The vector (x, y, z)."""
    @overload
    def __init__(self, x: int, y: int, z: int) -> None:  # type: ignore[overload-cannot-match]
        """The vector (x, y, z), each int converted exactly to double."""
    def squared_length(self) -> float:
        """x*x + y*y + z*z."""
    def __truediv__(self, scalar: float) -> Vector3:
        """The vector divided by scalar (infinite or NaN for 0)."""
    @overload
    def __mul__(self, w: Vector3) -> float:
        """The scalar product with w."""
    @overload
    def __mul__(self, other: float, /) -> Vector3:
        """The vector scaled by s."""
    def __eq__(self, other: Vector3, /) -> bool:  # type: ignore[override]
        """All three components equal (IEEE)."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Vector3, /) -> bool:  # type: ignore[override]
        """Not ==."""
    @property
    def x(self) -> float:
        """The x coordinate."""
    @property
    def y(self) -> float:
        """The y coordinate."""
    @property
    def z(self) -> float:
        """The z coordinate."""
    @property
    def hx(self) -> float:
        """The homogeneous x coordinate (equal to x)."""
    @property
    def hy(self) -> float:
        """The homogeneous y coordinate (equal to y)."""
    @property
    def hz(self) -> float:
        """The homogeneous z coordinate (equal to z)."""
    @property
    def hw(self) -> float:
        """Always 1.0."""
    def cartesian(self, i: int) -> float:
        """x for i == 0, y for i == 1, z for every other i."""
    def homogeneous(self, i: int) -> float:
        """x, y, z for i == 0, 1, 2; 1.0 for every other i."""
    def dimension(self) -> int:
        """Always 3."""
    def __getitem__(self, i: int) -> float:
        """Same as cartesian(i)."""
    def __iter__(self) -> Iterator[float]:
        """The coordinates x, y, z, then stops."""
    def __add__(self, other: Vector3, /) -> Vector3:
        """(x + w.x, y + w.y, z + w.z)."""
    def __sub__(self, other: Vector3, /) -> Vector3:
        """(x − w.x, y − w.y, z − w.z)."""
    def __rmul__(self, other: float, /) -> Vector3:
        """The vector scaled by s, for s * v."""
    def __neg__(self) -> Vector3:
        """(−x, −y, −z)."""
    def direction(self) -> Direction3:
        """The direction of the vector."""
    def __repr__(self) -> str:
        """Text such as Vector3(1.000000, 0.000000, -0.500000), every number with six decimals."""

class Direction3(metaclass=_Pybind11Type):
    """A spatial direction, a vector up to a positive factor."""

    @overload
    def __init__(self, x: float, y: float, z: float) -> None:
        """The direction (x, y, z)."""
    @overload
    def __init__(self, v: Vector3) -> None:
        """The direction of v."""
    @overload
    def __init__(self, s: Segment3) -> None:
        """The direction from the segment's source to its target."""
    @overload
    def __init__(self, l: Line3) -> None:
        """The direction of the line."""
    @overload
    def __init__(self, r: Ray3) -> None:
        """The direction of the ray."""
    @property
    def dx(self) -> float:
        """The x component."""
    @property
    def dy(self) -> float:
        """The y component."""
    @property
    def dz(self) -> float:
        """The z component."""
    def delta(self, i: int) -> float:
        """dx for i == 0, dy for i == 1, dz for every other i."""
    def vector(self) -> Vector3:
        """The vector (dx, dy, dz), unnormalised."""
    def opposite(self) -> Direction3:
        """(−dx, −dy, −dz)."""
    def __neg__(self) -> Direction3:
        """The opposite direction."""
    def __eq__(self, other: Direction3, /) -> bool:  # type: ignore[override]
        """Same direction: proportional with a positive factor."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Direction3, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as Direction3(0.000000, 3.000000, -4.000000), every number with six decimals."""

class Plane3(metaclass=_Pybind11Type):
    """An oriented plane a*x + b*y + c*z + d = 0; its positive side is where the normal (a, b, c) points."""

    @overload
    def __init__(self, a: float, b: float, c: float, d: float) -> None:
        """The plane a*x + b*y + c*z + d = 0, coefficients stored as given."""
    @overload
    def __init__(self, p: Point3, q: Point3, r: Point3) -> None:
        """The plane through p, q, r, oriented so that they turn counterclockwise seen from its positive side."""
    @overload
    def __init__(self, p: Point3, v: Vector3) -> None:
        """The plane through p with normal v (its positive side)."""
    @overload
    def __init__(self, p: Point3, d: Direction3) -> None:
        """The plane through p with normal direction d."""
    @overload
    def __init__(self, l: Line3, p: Point3) -> None:
        """The plane through the line l and the point p."""
    @staticmethod
    def from_ray(r: Ray3, p: Point3) -> Plane3:
        """The plane through the ray's source, its second point and p; called on the class."""
    @staticmethod
    def from_segment(s: Segment3, p: Point3) -> Plane3:
        """The plane through the segment's source, its target and p; called on the class."""
    @property
    def a(self) -> float:
        """The coefficient a."""
    @property
    def b(self) -> float:
        """The coefficient b."""
    @property
    def c(self) -> float:
        """The coefficient c."""
    @property
    def d(self) -> float:
        """The coefficient d."""
    def has_on_circle(self, c: Circle3) -> bool:
        """The circle lies in this plane."""
    def perpendicular_line(self, p: Point3) -> Line3:
        """The line through p along the normal (a, b, c)."""
    def projection(self, p: Point3) -> Point3:
        """The orthogonal projection of p onto the plane."""
    def opposite(self) -> Plane3:
        """The same plane with the opposite orientation: (-a, -b, -c, -d)."""
    def point(self) -> Point3:
        """A point of the plane, the base point of its 2D frame."""
    def orthogonal_vector(self) -> Vector3:
        """The normal vector (a, b, c)."""
    def orthogonal_direction(self) -> Direction3:
        """The normal direction (a, b, c)."""
    def base1(self) -> Vector3:
        """The first vector of the plane's 2D frame (not normalised)."""
    def base2(self) -> Vector3:
        """The second vector of the plane's 2D frame: the normal times base1."""
    def to_2d(self, p: Point3) -> Point2:
        """The coordinates of p (projected) in the plane's frame: point(), base1(), base2()."""
    def to_3d(self, p: Point2) -> Point3:
        """The point point() + p.x * base1() + p.y * base2()."""
    def oriented_side(self, p: Point3) -> int:
        """1 on the positive side (where the normal points), -1 on the negative side, 0 on the plane."""
    def has_on(self, p: Point3) -> bool:
        """a*x + b*y + c*z + d == 0 at p."""
    def has_on_line(self, l: Line3) -> bool:
        """The line lies in the plane."""
    def has_on_positive_side(self, p: Point3) -> bool:
        """p lies on the side the normal points to."""
    def has_on_negative_side(self, p: Point3) -> bool:
        """p lies on the side away from the normal."""
    def is_degenerate(self) -> bool:
        """a == b == c == 0: no plane at all (d is not looked at)."""
    def __eq__(self, other: Plane3, /) -> bool:  # type: ignore[override]
        """Same oriented plane: proportional coefficients with a positive factor."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Plane3, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as Plane3(a=0.000000, b=0.000000, c=1.000000, d=0.000000), every number with six decimals."""

class Line3(metaclass=_Pybind11Type):
    """A spatial line through a point along a direction."""

    @overload
    def __init__(self, p: Point3, q: Point3) -> None:
        """The line through p and q, directed from p to q."""
    @overload
    def __init__(self, p: Point3, d: Direction3) -> None:
        """The line through p with direction d."""
    @overload
    def __init__(self, p: Point3, v: Vector3) -> None:
        """The line through p along v."""
    @overload
    def __init__(self, s: Segment3) -> None:
        """The supporting line of the segment, directed from source to target."""
    @staticmethod
    def from_ray(r: Ray3) -> Line3:
        """The supporting line of the ray, directed along it; called on the class."""
    def projection(self, p: Point3) -> Point3:
        """Orthogonal projection of p onto the line."""
    def point(self, i: float) -> Point3:
        """The point base + i * vector (i is a real parameter)."""
    def is_degenerate(self) -> bool:
        """The direction vector is zero."""
    def has_on(self, p: Point3) -> bool:
        """p lies on the line."""
    def perpendicular_plane(self, p: Point3) -> Plane3:
        """The plane through p whose normal is the line's direction vector."""
    def opposite(self) -> Line3:
        """The same line with the opposite direction."""
    def to_vector(self) -> Vector3:
        """The direction vector."""
    def direction(self) -> Direction3:
        """The direction of the line."""
    def __eq__(self, other: Line3, /) -> bool:  # type: ignore[override]
        """Same oriented line."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Line3, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as Line3(direction=(1.000000, 2.000000, 3.000000)), every number with six decimals."""

class Segment3(metaclass=_Pybind11Type):
    """A spatial segment from its source to its target."""

    def __init__(self, p: Point3, q: Point3) -> None:
        """The segment from p (source) to q (target)."""
    def source(self) -> Point3:
        """The source."""
    def target(self) -> Point3:
        """The target."""
    def min(self) -> Point3:
        """The lexicographically smaller end point."""
    def max(self) -> Point3:
        """The lexicographically larger end point."""
    def vertex(self, i: int) -> Point3:
        """The source for an even i, the target for an odd one."""
    def point(self, i: int) -> Point3:
        """Same as vertex(i)."""
    def __getitem__(self, i: int) -> Point3:
        """Same as vertex(i)."""
    def __iter__(self) -> Iterator[Point3]:
        """The source, then the target."""
    def squared_length(self) -> float:
        """The squared length."""
    def to_vector(self) -> Vector3:
        """The vector target - source."""
    def direction(self) -> Direction3:
        """The direction from source to target."""
    def opposite(self) -> Segment3:
        """The segment from target to source."""
    def supporting_line(self) -> Line3:
        """The line through source and target, directed from source to target."""
    def is_degenerate(self) -> bool:
        """Source equals target."""
    def has_on(self, p: Point3) -> bool:
        """p lies on the closed segment, tested exactly."""
    def bbox(self) -> Bbox3:
        """The smallest box containing both end points."""
    def __eq__(self, other: Segment3, /) -> bool:  # type: ignore[override]
        """Equal sources and equal targets."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Segment3, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as Segment3((0.000000, 0.000000, 0.000000),..., every number with six decimals."""

class Ray3(metaclass=_Pybind11Type):
    """A spatial ray from its source through a second point."""

    @overload
    def __init__(self, p: Point3, q: Point3) -> None:
        """The ray from p through q."""
    @overload
    def __init__(self, p: Point3, d: Direction3) -> None:
        """The ray from p in direction d."""
    @overload
    def __init__(self, p: Point3, v: Vector3) -> None:
        """The ray from p along v."""
    @overload
    def __init__(self, p: Point3, l: Line3) -> None:
        """The ray from p in the direction of the line l."""
    def source(self) -> Point3:
        """The source."""
    def point(self, i: float) -> Point3:
        """The point at parameter i: the source at 0, the second point at 1, behind the source below 0."""
    def direction(self) -> Direction3:
        """The direction of the ray."""
    def to_vector(self) -> Vector3:
        """The vector from the source to the second point."""
    def supporting_line(self) -> Line3:
        """The line through the ray, directed along it."""
    def opposite(self) -> Ray3:
        """The ray from the same source in the opposite direction."""
    def is_degenerate(self) -> bool:
        """The second point equals the source."""
    def has_on(self, p: Point3) -> bool:
        """p lies on the closed ray."""
    def __eq__(self, other: Ray3, /) -> bool:  # type: ignore[override]
        """Same source and same direction (second points may differ)."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Ray3, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as Ray3(source=(0.000000, 0.000000, 0.00000..., every number with six decimals."""

class Triangle3(metaclass=_Pybind11Type):
    """A triangle in space given by three vertices."""

    def __init__(self, p: Point3, q: Point3, r: Point3) -> None:
        """The triangle with vertices p, q, r in this order."""
    def vertex(self, i: int) -> Point3:
        """Vertex i mod 3; for negative i, (i rem 3) + 3 with 3 meaning vertex 2."""
    def __getitem__(self, i: int) -> Point3:
        """Same as vertex(i)."""
    def __iter__(self) -> Iterator[Point3]:
        """The three vertices in order."""
    def supporting_plane(self) -> Plane3:
        """The plane through the three vertices, oriented by their order."""
    def is_degenerate(self) -> bool:
        """The three vertices are collinear."""
    def has_on(self, p: Point3) -> bool:
        """p lies in the closed triangle."""
    def squared_area(self) -> float:
        """The squared area."""
    def bbox(self) -> Bbox3:
        """The smallest box containing the three vertices."""
    def __eq__(self, other: Triangle3, /) -> bool:  # type: ignore[override]
        """Equal up to a cyclic shift of the vertices (not a reversal)."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Triangle3, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as Triangle3((0.000000, 0.000000, 0.000000)..., every number with six decimals."""

class Sphere3(metaclass=_Pybind11Type):
    """A sphere stored by centre and squared radius, with an orientation (counterclockwise by default)."""

    @overload
    def __init__(self, center: Point3, squared_radius: float, orientation: int = 1) -> None:
        """The sphere with this center and squared radius; a negative orientation makes it clockwise, any other counterclockwise."""
    @overload
    def __init__(self, p: Point3, q: Point3, r: Point3, s: Point3) -> None:
        """The sphere through p, q, r, s, oriented like them."""
    @overload
    def __init__(self, p: Point3, q: Point3, r: Point3, orientation: int = 1) -> None:
        """The smallest sphere through p, q and r."""
    @overload
    def __init__(self, p: Point3, q: Point3, orientation: int = 1) -> None:
        """The sphere with diameter pq."""
    @overload
    def __init__(self, center: Point3, orientation: int = 1) -> None:
        """The sphere of squared radius 0 at center."""
    @staticmethod
    def from_circle(c: Circle3) -> Sphere3:
        """The sphere that has the circle as a great circle; called on the class."""
    def has_on_circle(self, c: Circle3) -> bool:
        """The circle lies on the sphere."""
    def center(self) -> Point3:
        """The center."""
    def squared_radius(self) -> float:
        """The squared radius."""
    def orientation(self) -> int:
        """The stored orientation: 1, -1 or 0."""
    def is_degenerate(self) -> bool:
        """The squared radius is 0."""
    def oriented_side(self, p: Point3) -> int:
        """bounded_side(p) times the orientation."""
    def bounded_side(self, p: Point3) -> int:
        """1 inside, 0 on the sphere, -1 outside."""
    def has_on_positive_side(self, p: Point3) -> bool:
        """oriented_side(p) == 1."""
    def has_on_negative_side(self, p: Point3) -> bool:
        """oriented_side(p) == -1."""
    def has_on_boundary(self, p: Point3) -> bool:
        """p lies on the sphere."""
    def has_on_bounded_side(self, p: Point3) -> bool:
        """p lies inside the sphere."""
    def has_on_unbounded_side(self, p: Point3) -> bool:
        """p lies outside the sphere."""
    def has_on(self, p: Point3) -> bool:
        """p lies on the sphere (same as has_on_boundary)."""
    def opposite(self) -> Sphere3:
        """The same sphere with the opposite orientation."""
    def bbox(self) -> Bbox3:
        """A box that contains the sphere, rounded outward."""
    def __eq__(self, other: Sphere3, /) -> bool:  # type: ignore[override]
        """Equal centers, squared radii and orientations."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Sphere3, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as Sphere3(center=(0.000000, 0.000000, 0.00..., every number with six decimals."""

class Tetrahedron3(metaclass=_Pybind11Type):
    """A tetrahedron given by four vertices; their order gives its orientation and the sign of its volume."""

    def __init__(self, p0: Point3, p1: Point3, p2: Point3, p3: Point3) -> None:
        """The tetrahedron with vertices p0, p1, p2, p3 in this order."""
    def vertex(self, i: int) -> Point3:
        """Vertex i mod 4; for negative i, (i rem 4) + 4, where 4 means vertex 3."""
    def __getitem__(self, i: int) -> Point3:
        """Same as vertex(i)."""
    def __iter__(self) -> Iterator[Point3]:
        """The four vertices in order."""
    def is_degenerate(self) -> bool:
        """The four vertices are coplanar."""
    def orientation(self) -> int:
        """1 positive, -1 negative, 0 degenerate."""
    def oriented_side(self, p: Point3) -> int:
        """orientation() * bounded_side(p), 0 for a degenerate tetrahedron."""
    def bounded_side(self, p: Point3) -> int:
        """1 inside, 0 on the boundary, -1 outside."""
    def has_on_positive_side(self, p: Point3) -> bool:
        """oriented_side(p) == 1."""
    def has_on_negative_side(self, p: Point3) -> bool:
        """oriented_side(p) == -1."""
    def has_on_boundary(self, p: Point3) -> bool:
        """p lies on the boundary (always for a degenerate tetrahedron)."""
    def has_on_bounded_side(self, p: Point3) -> bool:
        """p lies inside."""
    def has_on_unbounded_side(self, p: Point3) -> bool:
        """p lies outside."""
    def volume(self) -> float:
        """The signed volume: positive for a positively oriented tetrahedron."""
    def bbox(self) -> Bbox3:
        """The smallest box containing the four vertices."""
    def __eq__(self, other: Tetrahedron3, /) -> bool:  # type: ignore[override]
        """Same vertices with the same orientation, in any order."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Tetrahedron3, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as Tetrahedron3((0.000000, 0.000000, 0.0000..., every number with six decimals."""

class IsoCuboid3(metaclass=_Pybind11Type):
    """An axis-aligned cuboid given by its minimal and maximal corners."""

    @overload
    def __init__(self, p: Point3, q: Point3) -> None:
        """The cuboid with opposite corners p and q, coordinates sorted."""
    @overload
    def __init__(self, left: Point3, right: Point3, bottom: Point3, top: Point3, far: Point3, close: Point3) -> None:
        """The cuboid with min corner (left.x, bottom.y, far.z) and max corner (right.x, top.y, close.z), unsorted."""
    @overload
    def __init__(self, min_x: float, min_y: float, min_z: float, max_x: float, max_y: float, max_z: float) -> None:
        """The cuboid with corners (min_x, min_y, min_z) and (max_x, max_y, max_z), coordinates sorted."""
    @overload
    def __init__(self, bbox: Bbox3) -> None:
        """The cuboid of the box, coordinates sorted."""
    def vertex(self, i: int) -> Point3:
        """Corner i rem 8 (C remainder): 0 is (xmin, ymin, zmin), 2 (xmax, ymax, zmin), 7 and every negative rest (xmax, ymax, zmax)."""
    def __getitem__(self, i: int) -> Point3:
        """Same as vertex(i)."""
    def __iter__(self) -> Iterator[Point3]:
        """The eight vertices in index order, vertex(0) to vertex(7)."""
    def min(self) -> Point3:
        """The min corner."""
    def max(self) -> Point3:
        """The max corner."""
    def xmin(self) -> float:
        """The lower x bound."""
    def ymin(self) -> float:
        """The lower y bound."""
    def zmin(self) -> float:
        """The lower z bound."""
    def xmax(self) -> float:
        """The upper x bound."""
    def ymax(self) -> float:
        """The upper y bound."""
    def zmax(self) -> float:
        """The upper z bound."""
    def min_coord(self, i: int) -> float:
        """xmin, ymin, zmin for i == 0, 1 and every other i."""
    def max_coord(self, i: int) -> float:
        """xmax, ymax, zmax for i == 0, 1 and every other i."""
    def is_degenerate(self) -> bool:
        """Flat along at least one axis."""
    def bounded_side(self, p: Point3) -> int:
        """1 strictly inside, 0 on the boundary, -1 outside."""
    def has_on_boundary(self, p: Point3) -> bool:
        """p lies on the boundary."""
    def has_on_bounded_side(self, p: Point3) -> bool:
        """p lies strictly inside."""
    def has_on_unbounded_side(self, p: Point3) -> bool:
        """p lies outside."""
    def volume(self) -> float:
        """(xmax - xmin) * (ymax - ymin) * (zmax - zmin)."""
    def bbox(self) -> Bbox3:
        """The box of the cuboid."""
    def __eq__(self, other: IsoCuboid3, /) -> bool:  # type: ignore[override]
        """Equal min corners and equal max corners."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: IsoCuboid3, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as IsoCuboid3(xmin=0.000000, ymin=0.000000,..., every number with six decimals."""

class Circle3(metaclass=_Pybind11Type):
    """A circle in space: a centre, a squared radius and the plane it lies in."""

    @overload
    def __init__(self, center: Point3, sq_r: float, plane: Plane3) -> None:
        """The circle with this center and squared radius in the plane (the plane is taken as given)."""
    @overload
    def __init__(self, center: Point3, sq_r: float, n: Vector3) -> None:
        """The circle with this center and squared radius in the plane through center with normal n."""
    @overload
    def __init__(self, p: Point3, q: Point3, r: Point3) -> None:
        """The circle through p, q and r; ValueError for collinear points."""
    @overload
    def __init__(self, s1: Sphere3, s2: Sphere3) -> None:
        """The intersection of two spheres; ValueError where they do not meet in a circle."""
    @overload
    def __init__(self, s: Sphere3, plane: Plane3) -> None:
        """The intersection of the sphere s with the plane; ValueError where they do not meet in a circle."""
    @overload
    def __init__(self, plane: Plane3, s: Sphere3) -> None:
        """The intersection of the plane with the sphere s; ValueError where they do not meet in a circle."""
    def center(self) -> Point3:
        """The center."""
    def squared_radius(self) -> float:
        """The squared radius."""
    def supporting_plane(self) -> Plane3:
        """The plane the circle lies in."""
    def diametral_sphere(self) -> Sphere3:
        """The sphere that has the circle as a great circle."""
    def area_divided_by_pi(self) -> float:
        """The squared radius."""
    def approximate_area(self) -> float:
        """pi times the squared radius."""
    def squared_length_divided_by_pi_square(self) -> float:
        """4 times the squared radius."""
    def approximate_squared_length(self) -> float:
        """The squared circumference: 4*pi^2 times the squared radius."""
    def has_on(self, p: Point3) -> bool:
        """p lies on the circle: on its sphere and in its plane."""
    def bbox(self) -> Bbox3:
        """A box that contains the circle."""
    def __eq__(self, other: Circle3, /) -> bool:  # type: ignore[override]
        """Equal centers and squared radii, and planes equal up to a non-zero factor of either sign."""
    __hash__: ClassVar[None]  # type: ignore[assignment]
    def __ne__(self, other: Circle3, /) -> bool:  # type: ignore[override]
        """Not ==."""
    def __repr__(self) -> str:
        """Text such as Circle3(center=(0.000000, 0.000000, 0.00..., every number with six decimals."""

