"""Streams: flashes and properties (Prop3), mixture averages, transport
properties, sonic velocity and choke pressure.

Units are the engine's: temperature K, pressure kPa (absolute), molar
enthalpy kJ/kmol, molar entropy and heat capacity kJ/(kmol K), molar volume
m3/kmol, molecular weight kg/kmol, density kg/m3, viscosity cP, thermal
conductivity W/(m K), surface tension dyn/cm, velocity m/s.
"""
import ctypes
from collections import namedtuple
from dataclasses import dataclass

from . import _native as nt
from ._native import MISSING
from .errors import VantaroError

# Thermodynamic method codes (`method`).
NO_EOS, PENG_ROBINSON, SOAVE_REDLICH_KWONG, VAPOUR_PRESSURE = 0, 1, 2, 3
# Enthalpy method codes (`hmethod`): ideal gas, departures of Peng-Robinson or
# Soave-Redlich-Kwong, Lee-Kesler departures.
IDEAL_GAS, PR_DEPARTURES, SRK_DEPARTURES, LEE_KESLER = 0, 1, 2, 3

#: Tolerance block: T bracket K, enthalpy kJ/kmol, entropy kJ/(kmol K),
#: lever-rule slack.
DEFAULT_TOL = (0.01, 0.1, 0.001, 1e-4)

#: The five phase slots of every result, in the engine's order.
PHASES = ("vapour", "liquid", "aqueous", "overall", "combined_liquid")

PROP3_STATUS = {
    1: "temperature not found",
    2: "pressure not found",
    3: "no solution at these conditions (a single-phase split where a vapour fraction "
       "was asked for, or a state beyond the critical point)",
    4: "invalid specification or argument: give T and P, or one of them with exactly one "
       "of vf, H, S (vf needs a method other than 0)",
    -32767: "lever-rule fraction rejected: the enthalpy or entropy lies outside what the "
            "phase split can reach",
}

Transport = namedtuple("Transport", "viscosity thermal_conductivity surface_tension")
Transport.__doc__ = """Transport properties of one phase: viscosity cP, thermal
conductivity W/(m K), surface tension dyn/cm (None for a vapour, or when
no component lies below its critical temperature)."""

ChokeResult = namedtuple("ChokeResult", "P density velocity mach")
ChokeResult.__doc__ = """Choke pressure kPa, and the density kg/m3, velocity m/s
and Mach number there (None where the engine has no value)."""


@dataclass(frozen=True)
class Phase:
    """One phase slot of a flash result. present: the engine's phase flag
    (overall: always; combined liquid: when any liquid is present). At a
    bubble point the vapour slot holds the incipient vapour (fraction 0), at
    a dew point the liquid slots the incipient liquid. composition: name ->
    mole fraction, None when the engine blanked it. H kJ/kmol, S and Cp
    kJ/(kmol K), V m3/kmol, mw kg/kmol; None when not available."""
    name: str
    present: bool
    fraction: float
    composition: dict
    H: float
    S: float
    Cp: float
    V: float
    mw: float

    @property
    def density(self):
        """Mass density, kg/m3 (mw / V)."""
        if self.mw is None or self.V is None or self.V <= 0:
            return None
        return self.mw / self.V


class FlashResult:
    """The state of a stream after a flash: status, T (K), P (kPa), the five
    phase slots (vapour, liquid, aqueous, overall, combined_liquid) as Phase
    objects, and shortcuts for the overall stream (H, S, Cp, V, mw, density,
    vapour_fraction). `raw` holds the engine's arrays as lists (MISSING kept)."""

    def __init__(self, stream, status, T, P, flags, frac, h, s, cp, v, mw, y, x, xw, xl):
        self.stream = stream
        self.status = status
        self.T = T
        self.P = P
        self.raw = {"phases": list(flags), "frac": list(frac), "h": list(h), "s": list(s),
                    "cp": list(cp), "v": list(v), "molwt": list(mw), "y": list(y),
                    "x": list(x), "xw": list(xw), "xl": list(xl)}
        names = stream.workspace.names
        comps = (y, x, xw, stream.z, xl)
        for k, name in enumerate(PHASES):
            comp = list(comps[k])
            if k < 3:
                present = bool(flags[k])
            else:  # the overall stream, and the combined liquid when there is liquid
                present = k == 3 or frac[4] > 0
            setattr(self, name, Phase(
                name, present, nt.out(frac[k]),
                None if MISSING in comp else dict(zip(names, comp)),
                nt.out(h[k]), nt.out(s[k]), nt.out(cp[k]), nt.out(v[k]), nt.out(mw[k])))

    def __repr__(self):
        return (f"FlashResult(T={self.T:.6g} K, P={self.P:.6g} kPa, phases={self.phases}, "
                f"vapour_fraction={self.vapour_fraction}, H={self.H})")

    def phase(self, name):
        if name not in PHASES:
            raise VantaroError(f"unknown phase '{name}' (one of {', '.join(PHASES)})")
        return getattr(self, name)

    @property
    def phases(self):
        """Names of the phases present: vapour, liquid, aqueous."""
        return [name for name in PHASES[:3] if getattr(self, name).present]

    @property
    def vapour_fraction(self):
        return self.vapour.fraction

    H = property(lambda self: self.overall.H, doc="overall molar enthalpy, kJ/kmol")
    S = property(lambda self: self.overall.S, doc="overall molar entropy, kJ/(kmol K)")
    Cp = property(lambda self: self.overall.Cp, doc="overall molar heat capacity, kJ/(kmol K)")
    V = property(lambda self: self.overall.V, doc="overall molar volume, m3/kmol")
    mw = property(lambda self: self.overall.mw, doc="molecular weight, kg/kmol")
    density = property(lambda self: self.overall.density, doc="overall density, kg/m3")

    def transport(self, phase="vapour"):
        """Transport properties of one phase at this state, from its own
        composition and density: vapour viscosity and conductivity
        (ViscVapour, ThermCondVapour), or for a liquid slot the viscosity,
        conductivity and surface tension (ViscLiquid, ThermCondLiquid,
        SurfTenLiquid)."""
        ph = self.phase(phase)
        if phase == "overall":
            raise VantaroError("transport properties are per phase, not of the overall stream")
        if ph.composition is None or ph.density is None:
            raise VantaroError(f"no {phase} phase at this state")
        part = Stream(self.stream.workspace, list(ph.composition.values()),
                      method=self.stream.method, hmethod=self.stream.hmethod,
                      tol=self.stream.tol)
        if phase == "vapour":
            return Transport(part.vapour_viscosity(self.T),
                             part.vapour_thermal_conductivity(self.T, ph.density), None)
        return Transport(part.liquid_viscosity(self.T, self.P, ph.density),
                         part.liquid_thermal_conductivity(self.T), part.surface_tension(self.T))

    def sonic_velocity(self):
        """Sonic velocity, m/s, at this state (FastSonicVelocity: one flash
        at a perturbed pressure and this state's entropy)."""
        st = self.stream
        st.workspace.require_open()
        c = nt.c_double(MISSING)
        status = nt.export("FastSonicVelocity")(
            st.method, st.hmethod, self.P, self.T, nt.arg(self.vapour_fraction), nt.arg(self.S),
            st._z, nt.arg(self.mw), nt.arg(self.density), nt.arg(self.Cp), ctypes.byref(c),
            st._tol)
        if status != 1:
            raise VantaroError("no sonic velocity at this state", status, "FastSonicVelocity")
        return c.value


class Stream:
    """A stream of composition z in an open Workspace.

    z: mole fractions in the workspace's order, or a mapping name -> mole
    fraction. method: 0 no equation of state, 1 Peng-Robinson (default), 2
    Soave-Redlich-Kwong, 3 vapour-pressure K-values with free water. hmethod:
    0 ideal gas, 1 or 2 departures of that equation of state, 3 Lee-Kesler;
    by default the departures that go with `method`. tol: the tolerance block
    (T bracket K, enthalpy kJ/kmol, entropy kJ/(kmol K), lever-rule slack).
    """

    def __init__(self, workspace, z, method=PENG_ROBINSON, hmethod=None, tol=DEFAULT_TOL):
        self.workspace = workspace
        self._z = workspace.composition(z)
        self.z = list(self._z)
        self.method = int(method)
        if hmethod is None:
            hmethod = {NO_EOS: IDEAL_GAS, SOAVE_REDLICH_KWONG: SRK_DEPARTURES}.get(
                self.method, PR_DEPARTURES)
        self.hmethod = int(hmethod)
        tol = tuple(float(t) for t in tol)
        if len(tol) != 4:
            raise VantaroError("tol needs four values: T bracket, enthalpy, entropy, slack")
        self.tol = tol
        self._tol = nt.doubles(4, tol)

    # --- flashes -------------------------------------------------------------

    def flash(self, *, T=None, P=None, H=None, S=None, vf=None, tguess=None):
        """Phase split and properties (Prop3). Give T and P; or one of them
        and exactly one of vf (vapour fraction; 0 bubble point, 1 dew point, a
        negative value the retrograde crossing), H (kJ/kmol) or S
        (kJ/(kmol K)), and the other is searched. tguess: a temperature
        estimate, K. Raises VantaroError when the specification is not met
        (its `result` holds the state the search ended at, except for an
        invalid specification)."""
        ws = self.workspace
        ws.require_open()
        n = len(ws)
        t, p = nt.c_double(nt.arg(T)), nt.c_double(nt.arg(P))
        y, x, xw, xl = (nt.doubles(n) for _ in range(4))
        flags = (nt.c_int32 * 3)()
        frac, h, s, cp, v, mw = (nt.doubles(5, fill=MISSING) for _ in range(6))
        frac[0], h[3], s[3] = nt.arg(vf), nt.arg(H), nt.arg(S)
        status = nt.export("Prop3")(self.method, self.hmethod, ctypes.byref(t), ctypes.byref(p),
                                    self._z, y, x, xw, xl, flags, frac, h, s, cp, v, mw,
                                    nt.arg(tguess), self._tol)
        if status == 4:
            raise VantaroError(PROP3_STATUS[4], status, "Prop3")
        result = FlashResult(self, status, t.value, p.value, flags, frac, h, s, cp, v, mw,
                             y, x, xw, xl)
        if status != 0:
            raise VantaroError(PROP3_STATUS.get(status, "failed"), status, "Prop3", result)
        return result

    def bubble_point(self, *, P=None, T=None):
        """The bubble point at pressure P (kPa; T sought) or at temperature T
        (K; P sought)."""
        return self.flash(T=T, P=P, vf=0.0)

    def dew_point(self, *, T=None, P=None):
        """The dew point at temperature T (K; P sought) or at pressure P
        (kPa; T sought)."""
        return self.flash(T=T, P=P, vf=1.0)

    # --- mixture averages ------------------------------------------------------

    def _average(self, name):
        self.workspace.require_open()
        r = nt.c_double(MISSING)
        nt.export(name)(self._z, ctypes.byref(r))
        return nt.out(r.value)

    mol_weight = property(lambda self: self._average("MolWeight"),
                          doc="mole-fraction-weighted molecular weight, kg/kmol (MolWeight)")
    pseudo_pc = property(lambda self: self._average("PseudoPc"),
                         doc="mole-fraction-weighted critical pressure, kPa (PseudoPc)")
    pseudo_tc = property(lambda self: self._average("PseudoTc"),
                         doc="mole-fraction-weighted critical temperature, K (PseudoTc)")

    # --- transport properties of the composition as a whole ----------------------

    def _transport(self, name, *args):
        self.workspace.require_open()
        r = nt.c_double(MISSING)
        nt.export(name)(self._z, *(nt.arg(a) for a in args), ctypes.byref(r))
        return nt.out(r.value)

    def vapour_viscosity(self, T):
        """Low-pressure vapour viscosity at T (K), cP (ViscVapour)."""
        return self._transport("ViscVapour", T)

    def liquid_viscosity(self, T, P, density):
        """Liquid viscosity, cP, at T (K), P (kPa) and the liquid's density
        (kg/m3) (ViscLiquid)."""
        return self._transport("ViscLiquid", P, T, density)

    def surface_tension(self, T):
        """Liquid surface tension at T (K), dyn/cm; None when no component
        lies below its critical temperature (SurfTenLiquid)."""
        return self._transport("SurfTenLiquid", T)

    def liquid_thermal_conductivity(self, T):
        """Liquid thermal conductivity at T (K), W/(m K) (ThermCondLiquid)."""
        return self._transport("ThermCondLiquid", T)

    def vapour_thermal_conductivity(self, T, density):
        """Vapour thermal conductivity at T (K) and the vapour's density
        (kg/m3), W/(m K) (ThermCondVapour)."""
        return self._transport("ThermCondVapour", T, density)

    # --- sonic flow ----------------------------------------------------------------

    def sonic_velocity(self, *, P, T=None, H=None):
        """Isentropic sonic velocity, m/s, at P (kPa) and T (K) or at the
        overall molar enthalpy H (kJ/kmol) (SonicVelocity)."""
        if (T is None) == (H is None):
            raise VantaroError("give T or H (not both)", export="SonicVelocity")
        state = self.flash(T=T, P=P) if T is not None else self.flash(P=P, H=H)
        c = nt.c_double(MISSING)
        status = nt.export("SonicVelocity")(
            self.method, self.hmethod, nt.arg(P), nt.arg(T), nt.arg(H), self._z,
            nt.arg(state.mw), nt.arg(state.density), nt.arg(state.Cp), ctypes.byref(c),
            self._tol)
        if status != 1:
            raise VantaroError("no sonic velocity at this state", status, "SonicVelocity")
        return c.value

    def choke_pressure(self, *, area, mass_flow, H, P_start, T_estimate=None, above=True,
                       precise=False):
        """The pressure (kPa) at which mass_flow (kg/h) through area (m2),
        expanded at the overall molar enthalpy H (kJ/kmol), reaches its sonic
        velocity (PressureChoke). The search starts at P_start (kPa) and
        seeks above it (above=False: below it); T_estimate (K) seeds every
        trial state; precise tightens the Mach tolerance from 1e-4 to 1e-6.
        Returns a ChokeResult; raises VantaroError when no choke pressure is
        found (its `result`: the outputs at the starting pressure)."""
        self.workspace.require_open()
        p, t = nt.c_double(nt.arg(P_start)), nt.c_double(nt.arg(T_estimate))
        rho, vel, mach = (nt.c_double(MISSING) for _ in range(3))
        status = nt.export("PressureChoke")(
            self.method, self.hmethod, nt.arg(area), nt.arg(mass_flow), nt.arg(H),
            ctypes.byref(p), ctypes.byref(t), self._z, self._tol, ctypes.byref(rho),
            ctypes.byref(vel), ctypes.byref(mach), 1 if precise else 0, 1 if above else 0)
        result = ChokeResult(p.value, nt.out(rho.value), nt.out(vel.value), nt.out(mach.value))
        if status != 1:
            raise VantaroError("no choke pressure found", status, "PressureChoke", result)
        return result


def sonic_velocity_ideal_gas(P, density, Cp):
    """Ideal-gas sonic velocity sqrt(gamma P / rho), m/s, with gamma =
    Cp / (Cp - 8.3142): P kPa, density kg/m3, Cp kJ/(kmol K). Needs no
    workspace (SonicVelocity with method 0)."""
    c = nt.c_double(MISSING)
    status = nt.export("SonicVelocity")(NO_EOS, IDEAL_GAS, nt.arg(P), MISSING, MISSING, None,
                                        MISSING, nt.arg(density), nt.arg(Cp), ctypes.byref(c),
                                        None)
    if status != 1:
        raise VantaroError("no ideal-gas sonic velocity: P and density must be positive, Cp "
                           "finite", status, "SonicVelocity")
    return c.value
