"""Heat transfer: dimensionless groups, film coefficients and the steam
superheat correction factor."""
import ctypes
import math

from . import _native as nt
from ._native import MISSING
from .errors import VantaroError


def _group(name, *args):
    r = nt.c_double(MISSING)
    nt.export(name)(*(nt.arg(a) for a in args), ctypes.byref(r))
    return r.value


def reynolds(velocity, diameter, density, viscosity):
    """Reynolds number from velocity m/s, diameter m, density kg/m3 and
    viscosity cP (Reynolds; plain arithmetic: a zero viscosity gives inf)."""
    return _group("Reynolds", velocity, diameter, density, viscosity)


def prandtl(heat_capacity, viscosity, conductivity):
    """Prandtl number from heat capacity kJ/(kg K), viscosity cP and thermal
    conductivity W/(m K) (Prandtl)."""
    return _group("Prandtl", heat_capacity, viscosity, conductivity)


def grashof(t1, t2, length, viscosity, density1, density2):
    """Grashof number between temperatures t1 and t2 (K) with the densities
    (kg/m3) at each, a length m and viscosity cP (Grashof; equal temperatures
    give NaN)."""
    return _group("Grashof", t1, t2, length, viscosity, density1, density2)


def htc_internal(velocity, viscosity, conductivity, heat_capacity, density, t_fluid, t_wall,
                 diameter):
    """Inside film coefficient W/(m2 K) by Dittus-Boelter (heating when the
    wall is hotter): velocity m/s, viscosity cP, conductivity W/(m K), heat
    capacity kJ/(kg K), density kg/m3, temperatures K, diameter m
    (HtcInternal)."""
    h = nt.c_double(MISSING)
    args = (velocity, viscosity, conductivity, heat_capacity, density, t_fluid, t_wall,
            diameter, 0.0)
    if nt.export("HtcInternal")(*(nt.arg(a) for a in args), ctypes.byref(h)) != -1:
        raise VantaroError("no film coefficient: velocity must not be negative; viscosity, "
                           "conductivity, heat capacity and diameter positive; all finite", 0,
                           "HtcInternal")
    return h.value


def htc_external(velocity, t_ambient, t_surface, diameter, medium="air", orientation=0):
    """Outside film coefficient W/(m2 K) of a pipe of outer diameter m at
    surface temperature t_surface (K) in air or water (medium) at t_ambient
    (K) moving at velocity m/s; in a still medium natural convection, whose
    fit orientation (0 or other) selects (HtcExternal)."""
    codes = {"air": 0, "water": 1}
    if medium not in codes:
        raise VantaroError(f"unknown medium '{medium}' (air or water)")
    h = nt.c_double(MISSING)
    status = nt.export("HtcExternal")(nt.arg(velocity), nt.arg(t_ambient), nt.arg(t_surface),
                                      nt.arg(diameter), int(orientation), ctypes.byref(h),
                                      codes[medium])
    if status != -1:
        raise VantaroError("no film coefficient: the velocity must not be negative, the "
                           "temperatures and diameter positive, and the state within the "
                           "property fits", 0, "HtcExternal")
    return h.value


def superheat_coefficient(temperature_f, pressure_psig):
    """Superheat correction factor KSH of steam relief valves at the relieving
    temperature (degF) and set pressure (psig), the inputs clamped to the
    table's 300-1200 degF and 15-3000 psig (SuperheatCoefficient)."""
    if math.isnan(float(temperature_f)) or math.isnan(float(pressure_psig)):
        raise VantaroError("temperature and pressure must be numbers",
                           export="SuperheatCoefficient")
    return nt.export("SuperheatCoefficient")(float(temperature_f), float(pressure_psig))
