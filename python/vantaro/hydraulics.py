"""Pipe hydraulics: friction factor, the upstream pressure of vapour and
two-phase lines, and the flow-regime map.

Units are the engine's hydraulic ones: pressure bar (absolute), mass flow
kg/h, lengths m, pipe diameter and roughness inches, density kg/m3,
viscosity cP, molar heat capacity kJ/(kmol K), velocity m/s, node
temperatures degC.
"""
import ctypes
from dataclasses import dataclass

from . import _native as nt
from ._native import MISSING
from .errors import VantaroError

FRICTION_METHODS = {"round": 0, "chen": 1}

#: Two-phase methods of the march (NewTwoPhaseDp), by name.
TWO_PHASE_METHODS = {
    "beggs-brill": 2,
    "dukler": 3,
    "orkiszewski": 4,
    "lockhart-martinelli": 5,
    "beggs-brill-no-acceleration": 6,
    "beggs-brill-density": 7,
    "dukler-density": 8,
}

#: The six horizontal flow regimes of the Mandhane map, in the engine's order.
REGIMES = ("dispersed bubble", "elongated bubble", "slug", "stratified", "wave", "annular")


def _friction_code(method):
    if isinstance(method, str):
        try:
            return FRICTION_METHODS[method.lower()]
        except KeyError:
            raise VantaroError(f"unknown friction method '{method}' (round or chen)") from None
    return int(method)


def friction_factor(diameter, roughness, method="round"):
    """Darcy friction factor in the zone of complete turbulence of a pipe
    whose diameter and absolute roughness are in the same unit
    (TurbulentFrictionFactor; method "round" or "chen")."""
    f = nt.c_double(MISSING)
    if nt.export("TurbulentFrictionFactor")(_friction_code(method), nt.arg(diameter),
                                            nt.arg(roughness), ctypes.byref(f)) != 1:
        raise VantaroError("no friction factor: the diameter must be positive and the "
                           "roughness finite and not negative (method round or chen)", 0,
                           "TurbulentFrictionFactor")
    return f.value


@dataclass
class Pipe:
    """A pipe: length m, internal diameter in, rise (outlet minus inlet
    elevation) m, fittings' fixed loss coefficient kfit and L/D ldfit,
    absolute roughness in (roughness_fittings, for the fittings' turbulent
    factor, defaults to it), and a multiplier on the length."""
    length: float
    diameter: float
    rise: float = 0.0
    kfit: float = 0.0
    ldfit: float = 0.0
    roughness: float = 0.0018
    roughness_fittings: float = None
    length_multiplier: float = 1.0

    def record(self):
        rough = nt.arg(self.roughness)
        fit = rough if self.roughness_fittings is None else nt.arg(self.roughness_fittings)
        return nt.PipeSegment(nt.arg(self.length), nt.arg(self.diameter), nt.arg(self.rise),
                              nt.arg(self.kfit), nt.arg(self.ldfit), rough, fit,
                              nt.arg(self.length_multiplier))


@dataclass
class PipeEnd:
    """The flowing stream at one end of a vapour line, as obtained at the
    pressure pref (bar): molecular weight kg/kmol, density kg/m3, viscosity cP
    and molar heat capacity kJ/(kmol K) of the mixture, and the vapour mole
    fraction. vapour and liquid blocks (mw, density) default to the mixture
    and to none."""
    pref: float
    mw: float
    density: float
    viscosity: float
    cp: float
    vfrac: float = 1.0
    vapour_mw: float = None
    vapour_density: float = None
    liquid_mw: float = None
    liquid_density: float = None

    @classmethod
    def from_flash(cls, state):
        """The end of a line from a flash result: its overall molecular
        weight, density and heat capacity, the vapour's viscosity (ViscVapour)
        and composition-weighted blocks."""
        vapour = state.vapour if state.vapour.present else None
        liquid = state.combined_liquid if state.combined_liquid.present else None
        return cls(pref=state.P / 100.0, mw=state.mw, density=state.density,
                   viscosity=state.transport("vapour").viscosity if vapour else None,
                   cp=state.Cp, vfrac=state.vapour_fraction,
                   vapour_mw=vapour.mw if vapour else None,
                   vapour_density=vapour.density if vapour else None,
                   liquid_mw=liquid.mw if liquid else None,
                   liquid_density=liquid.density if liquid else None)

    def record(self):
        a = nt.arg
        if self.vfrac is not None and self.vfrac < 1 and (self.liquid_mw is None or
                                                          self.liquid_density is None):
            raise VantaroError("a stream with liquid (vfrac < 1) needs liquid_mw and "
                               "liquid_density")
        vmw = self.mw if self.vapour_mw is None else self.vapour_mw
        vden = self.density if self.vapour_density is None else self.vapour_density
        return nt.StreamState(a(self.pref), a(self.vfrac),
                              a(self.mw), a(self.density), a(self.viscosity), a(self.cp), MISSING,
                              a(vmw), a(vden), MISSING, MISSING, MISSING,
                              a(self.liquid_mw), a(self.liquid_density), MISSING, MISSING, MISSING)


@dataclass
class PipeResult:
    """The answer for a line: p1 upstream pressure (bar); the friction,
    static-head and acceleration parts of the drop (bar; None from the vapour
    models); liquid holdup; equivalent length of the fittings (m); Reynolds
    number and Darcy friction factor; upstream and downstream velocities
    (m/s; None from the two-phase march); the engine's regime code (0 for a
    vapour line, the flow regime of the last segment of a two-phase line,
    None when there was nothing to compute). For a two-phase line also the
    node pressures (bar), temperatures (degC) and mixture velocities (m/s),
    node 0 upstream."""
    p1: float
    dp_friction: float
    dp_elevation: float
    dp_acceleration: float
    holdup: float
    leq: float
    reynolds: float
    friction_factor: float
    v_in: float
    v_out: float
    regime: int
    pressures: list = None
    temperatures: list = None
    velocities: list = None

    @classmethod
    def from_record(cls, r, nodes=None):
        o = nt.out
        result = cls(o(r.p), o(r.dpfric), o(r.dpelev), o(r.dpacc), o(r.holdup), o(r.leq),
                     o(r.re), o(r.fric), o(r.vin), o(r.vout),
                     None if r.regime == -32767 else r.regime)
        if nodes:
            result.pressures, result.temperatures, result.velocities = (
                [o(v) for v in a] for a in nodes)
        return result


def _empty_result():
    r = nt.FlowResult(*([MISSING] * 10))
    r.regime = -32767
    return r


def pipe_upstream_pressure(pipe, mass_flow, p2, model="isothermal", *, upstream=None,
                           downstream=None, stream=None, H=None, friction="round",
                           rescale=True, p1_estimate=None, tolerance=1e-6, segments=10,
                           passes=2, elevation=0, holdup_correction=False):
    """The pressure at the upstream end of a pipe (bar) from the downstream
    pressure p2 (bar) and the mass flow (kg/h); returns a PipeResult.

    model "isothermal" or "adiabatic" (IsoVapDp, AdiaVapDp): a vapour line
    between two PipeEnd states `upstream` and `downstream`; rescale scales
    their densities to the actual pressures; p1_estimate (bar) seeds the
    iteration; tolerance is relative on p1.

    model "beggs-brill", "dukler", "orkiszewski", "lockhart-martinelli",
    "beggs-brill-no-acceleration", "beggs-brill-density" or "dukler-density"
    (or the code 2-8) (NewTwoPhaseDp): a gas-liquid line, cut into `segments`
    equal segments and marched upstream from p2, each node flashed at its
    pressure and the molar enthalpy H (kJ/kmol; one value, or one per node
    from upstream to downstream) with the methods of `stream`; passes extra
    passes per segment; elevation 0 static head both ways, 1 no recovery
    downhill, 2 none; holdup_correction applies Beggs-Brill's uphill and
    downhill factors; p1_estimate (bar) seeds the node pressures along a
    straight line to p2 (without it each node starts from its downstream
    neighbour).

    friction: "round" or "chen". Raises VantaroError when the engine cannot
    compute the line (its `result` holds what it wrote)."""
    seg = pipe.record()
    code = _friction_code(friction)
    result = _empty_result()
    if model in ("isothermal", "adiabatic"):
        if upstream is None or downstream is None:
            raise VantaroError("a vapour line needs the upstream and downstream PipeEnd")
        name = "IsoVapDp" if model == "isothermal" else "AdiaVapDp"
        up, down = upstream.record(), downstream.record()
        status = nt.export(name)(code, nt.arg(p2), nt.arg(mass_flow), ctypes.byref(up),
                                 ctypes.byref(down), ctypes.byref(seg), ctypes.byref(result),
                                 1 if rescale else 0, nt.arg(p1_estimate), nt.arg(tolerance))
        answer = PipeResult.from_record(result)
        if status != -1:
            raise VantaroError("the line cannot be computed (an invalid input, no answer "
                               "below 1000 bar, or no adiabatic root)", status, name, answer)
        return answer
    method = TWO_PHASE_METHODS.get(model, model)
    if not isinstance(method, int):
        raise VantaroError(f"unknown model '{model}' (isothermal, adiabatic, or one of "
                           f"{', '.join(TWO_PHASE_METHODS)})")
    if stream is None or H is None:
        raise VantaroError("a two-phase line needs the stream and its enthalpy H")
    stream.workspace.require_open()
    n = int(segments)
    if n < 0:
        raise VantaroError("segments must not be negative")
    hs = list(H) if isinstance(H, (list, tuple)) else [H] * (n + 1)
    if len(hs) != n + 1:
        raise VantaroError(f"H needs one enthalpy per node ({n + 1})")
    if p1_estimate is None:
        pressures = nt.doubles(n + 1, fill=0.0)  # no estimates: each starts downstream
    else:
        p1, p2f = float(p1_estimate), float(p2)
        pressures = nt.doubles(n + 1, [p1 + (p2f - p1) * i / max(n, 1) for i in range(n + 1)])
    pressures[n] = nt.arg(p2)
    temperatures, velocities = nt.doubles(n + 1, fill=MISSING), nt.doubles(n + 1, fill=MISSING)
    status = nt.export("NewTwoPhaseDp")(
        code, method, n, 0, stream.method, stream.hmethod, ctypes.byref(seg),
        ctypes.byref(result), nt.arg(mass_flow), pressures, nt.doubles(n + 1, hs), stream._z,
        temperatures, velocities, None, stream._tol, 0, int(elevation), int(passes),
        1 if holdup_correction else 0)
    answer = PipeResult.from_record(result, (pressures, temperatures, velocities))
    answer.v_in = answer.v_out = None  # not written by the march
    if status != -1:
        raise VantaroError("the two-phase line cannot be computed (an invalid input, or a "
                           "node whose flash gives no usable state)", status, "NewTwoPhaseDp",
                           answer)
    return answer


def flow_regime(gas_velocity, liquid_velocity):
    """The Mandhane horizontal flow-regime map at superficial gas and liquid
    velocities in ft/s: (regime, scores), the scores of the six regimes
    (summing to 1) by name and the regime with the largest (Mandhane)."""
    scores = nt.doubles(6, fill=MISSING)
    nt.export("Mandhane")(nt.arg(gas_velocity), nt.arg(liquid_velocity), scores)
    if scores[0] == MISSING:
        raise VantaroError("the velocities must be positive and finite", export="Mandhane")
    by_name = dict(zip(REGIMES, scores))
    return max(by_name, key=by_name.get), by_name
