"""Fitting loss coefficients: tees and contractions."""
import ctypes
from collections import namedtuple

from . import _native as nt
from ._native import MISSING
from .errors import VantaroError

TeeK = namedtuple("TeeK", "k in_range hi lo")
TeeK.__doc__ = """A tee loss coefficient on the velocity head of the common leg,
whether it lies strictly inside the chart's bounds, and the bounds (hi, lo)."""

_NO_CHART = 9e99


def tee_k(a, q, junction=3, *, path="branch", combining=False, mode=1, area_floor=True):
    """Loss coefficient of a tee from the fitted design charts (getK13 for
    path "branch": branch to common leg; getK23 for "run": straight run to
    common leg). a = branch area / common-leg area (charts 0.1 to 1); q =
    branch flow / total flow (0 to 1); junction 0, 1, 2, 3 = branch at 30, 45,
    60, 90 degrees, 4 to 6 obtuse (135 degrees); combining False = dividing
    flow (common leg in); mode 1 single chart, other = the q-weighted blend of
    two charts where the case has one; area_floor raises a below 0.1 to 0.1.
    Raises VantaroError when there is no chart (junction outside 0-6, a or q
    not a number)."""
    name = {"branch": "getK13", "run": "getK23"}.get(path)
    if name is None:
        raise VantaroError(f"unknown tee path '{path}' (branch or run)")
    k, hi, lo = nt.c_double(MISSING), nt.c_double(MISSING), nt.c_double(MISSING)
    status = nt.c_int32(0)
    nt.export(name)(nt.arg(a), nt.arg(q), int(junction), 1 if combining else 0,
                    ctypes.byref(k), int(mode), 1 if area_floor else 0, ctypes.byref(status),
                    ctypes.byref(hi), ctypes.byref(lo))
    if k.value == _NO_CHART:
        raise VantaroError("no chart: the junction type must be 0-6 and a, q numbers",
                           export=name)
    return TeeK(k.value, status.value == 1, nt.out(hi.value), nt.out(lo.value))


def contraction_k(ratio, angle):
    """Loss coefficient of a contraction with area ratio 0 <= ratio <= 1
    (small over large) and included angle 0 <= angle <= 180 degrees
    (ContractionLossCoefficientBenedict)."""
    k = nt.c_double(MISSING)
    if nt.export("ContractionLossCoefficientBenedict")(nt.arg(ratio), nt.arg(angle),
                                                       ctypes.byref(k)) != -1:
        raise VantaroError("the ratio must lie in [0, 1] and the angle in [0, 180] degrees", 0,
                           "ContractionLossCoefficientBenedict")
    return k.value
