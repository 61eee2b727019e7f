"""Typed use of zenolith_core, read by mypy --strict in tests/test_typing.py
and never run. The inferred types pin which overload a call selects; every
line with an ignore comment must stay a type error, which the checker's
unused-ignore warning enforces."""

from typing import assert_type

from zenolith_core import (
    AffTransformation2,
    Circle2,
    IsoCuboid3,
    Line2,
    Point2,
    Point3,
    Ray2,
    Segment2,
    Vector2,
    orientation,
    squared_distance,
)

p, q = Point2(1, 2), Point2(3.5, 4.0)
assert_type(q - p, Vector2)
assert_type(q - Vector2(1, 1), Point2)
assert_type(p.transform(AffTransformation2(Vector2(1, 0))), Point2)
assert_type(orientation(p, q, Point2()).left_turn(), bool)
assert_type(Line2.from_ray(Ray2(p, q)), Line2)
assert_type(Circle2(p, q, r=Point2(0, 5)).squared_radius(), float)
assert_type(squared_distance(0, 0, 3, 4), float)

x, y = p
source, target = Segment2(p, q)
assert_type(target, Point2)
assert_type(list(IsoCuboid3(Point3(0, 0, 0), Point3(1, 1, 1))), list[Point3])
assert_type(p[0] + x + y, float)
p += Vector2(1, 1)

# What the checker must reject.
Point2("1", 2)  # type: ignore[call-overload]
p.x = 3.0  # type: ignore[misc]
Vector2(1, 2) * Vector2(3, 4)  # type: ignore[operator]
Segment2(p, q).vertex(1.0)  # type: ignore[arg-type]
orientation(p, q)  # type: ignore[call-arg]
