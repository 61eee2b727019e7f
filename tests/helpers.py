"""Small utilities shared by the test files."""

import math
import struct


def bits(x):
    """The exact bit pattern of a float: tells -0.0 from 0.0 and NaNs apart."""
    return struct.pack("<d", x)


def same_float(a, b):
    """Equal to the last bit, signed zeros distinguished, NaN equal to NaN."""
    if math.isnan(a) and math.isnan(b):
        return True
    return bits(a) == bits(b)


def coords(obj, n=2):
    return tuple(obj[i] for i in range(n))


class FloatLike:
    def __init__(self, v):
        self.v = v

    def __float__(self):
        return self.v


class IndexLike:
    def __init__(self, v):
        self.v = v

    def __index__(self):
        return self.v


class FloatRaises:
    def __float__(self):
        raise ZeroDivisionError("no float here")


class IndexRaises:
    def __index__(self):
        raise ZeroDivisionError("no index here")


# Class attributes pybind11 adds by itself, not bindings of ours.
PYBIND_EXTRAS = ("__doc__", "__module__", "__hash__", "_pybind11_conduit_v1_")
