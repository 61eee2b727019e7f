import pytest

import zenolith_core as z

NAN = float("nan")


def orient(*pts):
    return z.orientation(*(z.Point2(*p) for p in pts))


@pytest.mark.parametrize("pts, text, turns", [
    (((0, 0), (1, 0), (0, 1)), "Left turn", (True, False, False)),
    (((0, 0), (0, 1), (1, 0)), "Right turn", (False, True, False)),
    (((0, 0), (1, 1), (2, 2)), "Collinear", (False, False, True)),
    (((1, 1), (1, 1), (5, 7)), "Collinear", (False, False, True)),
    (((0, 0), (1, 0), (NAN, 1)), "Collinear", (False, False, True)),
    (((NAN, 0), (1, 0), (0, 1)), "Collinear", (False, False, True)),
    (((0, 0), (float("inf"), 0), (0, 1)), "Left turn", (True, False, False)),
])
def test_orientation(pts, text, turns):
    r = orient(*pts)
    assert type(r) is z.OrientationResult
    assert repr(r) == text
    assert (r.left_turn(), r.right_turn(), r.collinear()) == turns


def test_products_are_compared_after_rounding():
    # (1+2^-30)^2 rounds to 1+2^-29 = (1+2^-29)*1: collinear in double
    # arithmetic, although the exact determinant is 2^-60.
    e = 2.0**-30
    assert orient((0, 0), (1 + e, 1 + 2 * e), (1, 1 + e)).collinear()
    assert orient((0, 0), (1 + 2 * e, 1 + e), (1 + e, 1)).collinear()


def test_keywords_and_errors():
    p, q, r = z.Point2(0, 0), z.Point2(1, 0), z.Point2(0, 1)
    assert z.orientation(p3=r, p2=q, p1=p).left_turn()
    assert z.orientation.__doc__.endswith("Returns orientation of three Point2 objects\n")
    with pytest.raises(TypeError):
        z.orientation(p, q, None)
    with pytest.raises(TypeError):
        z.orientation(p, q, (0, 1))


def test_result_class():
    r = orient((0, 0), (1, 0), (0, 1))
    assert r != orient((0, 0), (1, 0), (0, 1))  # identity equality only
    assert r == r and hash(r) == hash(r)
    with pytest.raises(TypeError, match=r"zenolith_core\.OrientationResult: No constructor defined!"):
        z.OrientationResult()
