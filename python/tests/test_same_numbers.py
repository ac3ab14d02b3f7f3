"""The Pythonic layer gives exactly the numbers of the flat exports it wraps
(bit for bit: the same call with the same arguments)."""
import ctypes

import pytest

import vantaro as vt
from vantaro import MISSING

OUT = object()  # where the export's result pointer goes


def call_raw(raw, name, *args):
    """Calls an export with a double result pointer at OUT (appended when
    absent) and returns that result."""
    r = ctypes.c_double(MISSING)
    args = list(args) if OUT in args else list(args) + [OUT]
    getattr(raw, name)(*[ctypes.byref(r) if a is OUT else a for a in args])
    return r.value


SCALARS = [
    (lambda: vt.friction_factor(4.026, 0.0018, "chen"), "TurbulentFrictionFactor",
     (1, 4.026, 0.0018)),
    (lambda: vt.contraction_k(0.5, 30), "ContractionLossCoefficientBenedict", (0.5, 30.0)),
    (lambda: vt.reynolds(2, 0.05, 998, 1), "Reynolds", (2.0, 0.05, 998.0, 1.0)),
    (lambda: vt.prandtl(4.18, 1, 0.6), "Prandtl", (4.18, 1.0, 0.6)),
    (lambda: vt.grashof(300, 320, 0.1, 1, 998, 990), "Grashof",
     (300.0, 320.0, 0.1, 1.0, 998.0, 990.0)),
    (lambda: vt.htc_internal(2, 1, 0.6, 4.18, 998, 320, 300, 0.05), "HtcInternal",
     (2.0, 1.0, 0.6, 4.18, 998.0, 320.0, 300.0, 0.05, 0.0)),
    (lambda: vt.htc_external(3, 290, 350, 0.2, "water"), "HtcExternal",
     (3.0, 290.0, 350.0, 0.2, 0, OUT, 1)),
    (lambda: vt.htc_external(0, 290, 350, 0.2, orientation=1), "HtcExternal",
     (0.0, 290.0, 350.0, 0.2, 1, OUT, 0)),
    (lambda: vt.sonic_velocity_ideal_gas(101.325, 1.2, 29.1), "SonicVelocity",
     (0, 0, 101.325, MISSING, MISSING, None, MISSING, 1.2, 29.1, OUT, None)),
]


@pytest.mark.parametrize("wrapped, name, args", SCALARS, ids=[c[1] for c in SCALARS])
def test_scalar_exports(raw, wrapped, name, args):
    assert wrapped() == call_raw(raw, name, *args)


def test_tee_paths_and_superheat(raw):
    for path, name in (("branch", "getK13"), ("run", "getK23")):
        k, st, hi, lo = ctypes.c_double(), ctypes.c_int32(), ctypes.c_double(), ctypes.c_double()
        getattr(raw, name)(0.5, 0.4, 3, 1, ctypes.byref(k), 2, 1, ctypes.byref(st),
                           ctypes.byref(hi), ctypes.byref(lo))
        assert vt.tee_k(0.5, 0.4, 3, path=path, combining=True, mode=2) == \
            (k.value, st.value == 1, hi.value, lo.value)
    assert vt.superheat_coefficient(650, 700) == raw.SuperheatCoefficient(650.0, 700.0)


def test_stream_averages_and_transport(gas_ws, gas, raw):
    z = (ctypes.c_double * len(gas_ws))(*gas.z)
    assert gas.mol_weight == call_raw(raw, "MolWeight", z)
    assert gas.pseudo_pc == call_raw(raw, "PseudoPc", z)
    assert gas.pseudo_tc == call_raw(raw, "PseudoTc", z)
    state = gas.flash(T=280.0, P=2000.0)
    y = (ctypes.c_double * len(gas_ws))(*state.raw["y"])
    tr = state.transport("vapour")
    assert tr.viscosity == call_raw(raw, "ViscVapour", y, 280.0)
    assert tr.thermal_conductivity == call_raw(raw, "ThermCondVapour", y, 280.0, state.density)
    assert gas_ws.estimate_kij("methane", "propane") == call_raw(raw, "EstimateKij", 1, 0, 2)


def raw_prop3(raw, n, z, t, p, h=MISSING, vf=MISSING):
    D = ctypes.c_double
    t, p = D(t), D(p)
    y, x, xw, xl = ((D * n)() for _ in range(4))
    flags = (ctypes.c_int32 * 3)()
    frac, hh, s, cp, v, mw = ((D * 5)(*[MISSING] * 5) for _ in range(6))
    frac[0], hh[3] = vf, h
    status = raw.Prop3(1, 1, ctypes.byref(t), ctypes.byref(p), (D * n)(*z), y, x, xw, xl, flags,
                       frac, hh, s, cp, v, mw, MISSING, (D * 4)(*vt.DEFAULT_TOL))
    return status, t.value, p.value, {
        "phases": list(flags), "frac": list(frac), "h": list(hh), "s": list(s), "cp": list(cp),
        "v": list(v), "molwt": list(mw), "y": list(y), "x": list(x), "xw": list(xw),
        "xl": list(xl)}


def test_flashes(gas_ws, gas, raw):
    n, z = len(gas_ws), gas.z
    tp = gas.flash(T=200.0, P=3000.0)
    assert (0, tp.T, tp.P, tp.raw) == raw_prop3(raw, n, z, 200.0, 3000.0)
    ph = gas.flash(P=500.0, H=tp.H)
    assert (0, ph.T, ph.P, ph.raw) == raw_prop3(raw, n, z, MISSING, 500.0, h=tp.H)
    bubble = gas.bubble_point(P=3000.0)
    assert (0, bubble.T, bubble.P, bubble.raw) == raw_prop3(raw, n, z, MISSING, 3000.0, vf=0.0)
    # The Phase view reads the same slots.
    for k, name in enumerate(vt.PHASES):
        slot = tp.phase(name)
        assert slot.fraction == tp.raw["frac"][k]
        assert slot.H == (None if tp.raw["h"][k] == MISSING else tp.raw["h"][k])
    assert tp.density == tp.raw["molwt"][3] / tp.raw["v"][3]
    assert list(tp.liquid.composition.values()) == tp.raw["x"]


def test_sonic_and_choke(gas_ws, gas, raw):
    D = ctypes.c_double
    n = len(gas_ws)
    z, tol = (D * n)(*gas.z), (D * 4)(*vt.DEFAULT_TOL)
    state = gas.flash(T=300.0, P=1000.0)
    assert gas.sonic_velocity(P=1000.0, T=300.0) == call_raw(
        raw, "SonicVelocity", 1, 1, 1000.0, 300.0, MISSING, z, state.mw, state.density,
        state.Cp, OUT, tol)
    assert state.sonic_velocity() == call_raw(
        raw, "FastSonicVelocity", 1, 1, 1000.0, 300.0, state.vapour_fraction, state.S, z,
        state.mw, state.density, state.Cp, OUT, tol)
    p, t, rho, vel, mach = D(101.325), D(300.0), D(), D(), D()
    status = raw.PressureChoke(1, 1, 0.02, 40000.0, state.H, ctypes.byref(p), ctypes.byref(t),
                               z, tol, ctypes.byref(rho), ctypes.byref(vel), ctypes.byref(mach),
                               0, 1)
    assert status == 1
    assert gas.choke_pressure(area=0.02, mass_flow=40000.0, H=state.H, P_start=101.325,
                              T_estimate=300.0) == (p.value, rho.value, vel.value, mach.value)


def test_pipes(gas_ws, gas, raw):
    pipe = vt.Pipe(length=120, diameter=7.981, rise=5, kfit=1.5, ldfit=60)
    up = vt.PipeEnd(pref=3.0, mw=19.5, density=2.2, viscosity=0.0115, cp=37.5)
    down = vt.PipeEnd(pref=1.5, mw=19.5, density=1.1, viscosity=0.0112, cp=37.2)
    for model, name in (("isothermal", "IsoVapDp"), ("adiabatic", "AdiaVapDp")):
        r = vt._native.FlowResult()
        assert getattr(raw, name)(1, 1.5, 20000.0, up.record(), down.record(), pipe.record(),
                                  ctypes.byref(r), 1, MISSING, 1e-6) == -1
        got = vt.pipe_upstream_pressure(pipe, 20000, 1.5, model, upstream=up, downstream=down,
                                        friction="chen")
        assert (got.p1, got.leq, got.reynolds, got.friction_factor, got.v_in, got.v_out) == \
            (r.p, r.leq, r.re, r.fric, r.vin, r.vout)
    # The two-phase march: the same node profile and summary.
    D, n = ctypes.c_double, 4
    h = gas.flash(T=300.0, P=2000.0).H
    r = vt._native.FlowResult()
    p, t, v = (D * (n + 1))(*[0.0] * n, 1.5), (D * (n + 1))(), (D * (n + 1))()
    assert raw.NewTwoPhaseDp(0, 2, n, 0, 1, 1, pipe.record(), ctypes.byref(r), 20000.0, p,
                             (D * (n + 1))(*[h] * (n + 1)), (D * len(gas_ws))(*gas.z), t, v,
                             None, (D * 4)(*vt.DEFAULT_TOL), 0, 0, 2, 0) == -1
    got = vt.pipe_upstream_pressure(pipe, 20000, 1.5, "beggs-brill", stream=gas, H=h,
                                    segments=n)
    assert (got.pressures, got.temperatures, got.velocities) == (list(p), list(t), list(v))
    assert (got.p1, got.dp_friction, got.dp_elevation, got.dp_acceleration, got.regime) == \
        (r.p, r.dpfric, r.dpelev, r.dpacc, r.regime)
