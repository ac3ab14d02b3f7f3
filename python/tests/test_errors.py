"""Bad input raises VantaroError with the engine's status and meaning (or,
for what the package refuses itself, no status); nothing crashes."""
import dataclasses
import math

import pytest

import vantaro as vt

LINE = vt.Pipe(length=100, diameter=7.981)
END = vt.PipeEnd(pref=1.5, mw=19.5, density=1.1, viscosity=0.0112, cp=37.2)

# (case, call on a natural-gas Stream, status, export); status None: refused
# by the package before the engine is called.
CASES = [
    ("T, P and H", lambda s: s.flash(T=300, P=100, H=0), 4, "Prop3"),
    ("T alone", lambda s: s.flash(T=300), 4, "Prop3"),
    ("NaN temperature", lambda s: s.flash(T=math.nan, P=100), 4, "Prop3"),
    ("unknown method", lambda s: vt.Stream(s.workspace, s.z, method=9).flash(T=300, P=100),
     4, "Prop3"),
    ("vf without an equation of state",
     lambda s: vt.Stream(s.workspace, s.z, method=0).flash(P=100, vf=0.5), 4, "Prop3"),
    ("T sought at P <= 0", lambda s: s.flash(P=-1, H=0), 1, "Prop3"),
    ("P sought at T <= 0", lambda s: s.flash(T=-5, vf=0), 2, "Prop3"),
    ("dew point above the cricondenbar", lambda s: s.dew_point(P=8000), 3, "Prop3"),
    ("composition too short", lambda s: vt.Stream(s.workspace, [1.0]), None, None),
    ("unknown name in a composition", lambda s: vt.Stream(s.workspace, {"argon": 1}), None,
     None),
    ("tolerance block of 3", lambda s: vt.Stream(s.workspace, s.z, tol=(1, 1, 1)), None, None),
    ("kij index out of range", lambda s: s.workspace.estimate_kij(0, 99), 0, "EstimateKij"),
    ("sonic velocity at no density", lambda s: vt.sonic_velocity_ideal_gas(100, 0, 29), 0,
     "SonicVelocity"),
    ("choke through no area", lambda s: s.choke_pressure(area=0, mass_flow=1e4, H=0,
                                                         P_start=100), 0, "PressureChoke"),
    ("friction at zero diameter", lambda s: vt.friction_factor(0, 0.0018), 0,
     "TurbulentFrictionFactor"),
    ("unknown friction method", lambda s: vt.friction_factor(4, 0.0018, "moody"), None, None),
    ("negative pipe length", lambda s: vt.pipe_upstream_pressure(
        vt.Pipe(-1, 8), 1e4, 1.5, upstream=END, downstream=END), 0, "IsoVapDp"),
    ("zero downstream pressure", lambda s: vt.pipe_upstream_pressure(
        LINE, 1e4, 0, "adiabatic", upstream=END, downstream=END), 0, "AdiaVapDp"),
    ("liquid without its block", lambda s: vt.pipe_upstream_pressure(
        LINE, 1e4, 1.5, upstream=vt.PipeEnd(1.5, 19.5, 1.1, 0.01, 37, vfrac=0.5),
        downstream=END), None, None),
    ("two-phase negative flow", lambda s: vt.pipe_upstream_pressure(
        LINE, -1, 1.5, "dukler", stream=s, H=0), 0, "NewTwoPhaseDp"),
    ("two-phase rise above the length", lambda s: vt.pipe_upstream_pressure(
        vt.Pipe(10, 4, rise=20), 1e4, 1.5, "beggs-brill", stream=s, H=0), 0, "NewTwoPhaseDp"),
    ("unknown two-phase model", lambda s: vt.pipe_upstream_pressure(
        LINE, 1e4, 1.5, "homogeneous", stream=s, H=0), None, None),
    ("enthalpies for the wrong node count", lambda s: vt.pipe_upstream_pressure(
        LINE, 1e4, 1.5, "dukler", stream=s, H=[0, 0], segments=3), None, None),
    ("regime at a negative velocity", lambda s: vt.flow_regime(-1, 1), None, "Mandhane"),
    ("tee of junction type 9", lambda s: vt.tee_k(0.5, 0.5, 9), None, "getK13"),
    ("tee at a NaN flow ratio", lambda s: vt.tee_k(0.5, math.nan, 3, path="run"), None,
     "getK23"),
    ("contraction ratio 2", lambda s: vt.contraction_k(2, 30), 0,
     "ContractionLossCoefficientBenedict"),
    ("film coefficient at negative velocity",
     lambda s: vt.htc_internal(-1, 1, 0.6, 4.18, 998, 300, 320, 0.05), 0, "HtcInternal"),
    ("film coefficient at 0 K", lambda s: vt.htc_external(1, 0, 300, 0.2), 0, "HtcExternal"),
    ("film coefficient in oil", lambda s: vt.htc_external(1, 300, 320, 0.2, "oil"), None, None),
    ("superheat of NaN", lambda s: vt.superheat_coefficient(math.nan, 100), None,
     "SuperheatCoefficient"),
    ("singular matrix", lambda s: vt.solve_sparse([(0, 0, 1), (1, 0, 1)], [1, 1]), 0,
     "SolveLinearEquations"),
    ("entry outside the matrix", lambda s: vt.solve_sparse([(0, 5, 1)], [1, 1]), 0,
     "SolveLinearEquations"),
    ("ten significant digits", lambda s: vt.format_sig_figs(1.0, 10), 0, "FormatSigFigs"),
    ("characteristic volume of no density",
     lambda s: vt.pure_vchar(-1, 0.15, 44, 370, 4250, 0.15), None, "PureVchar"),
    ("unknown component", lambda s: vt.Components()["unobtainium"], None, None),
]


@pytest.mark.parametrize("call, status, export", [c[1:] for c in CASES],
                         ids=[c[0] for c in CASES])
def test_bad_input_raises(gas, call, status, export):
    with pytest.raises(vt.VantaroError) as e:
        call(gas)
    assert (e.value.status, e.value.export) == (status, export)
    assert e.value.text


def test_failed_search_still_reports_its_state(gas):
    with pytest.raises(vt.VantaroError) as e:
        gas.dew_point(P=8000)
    state = e.value.result
    assert state.status == 3 and state.P == 8000 and state.overall.fraction == 1
    with pytest.raises(vt.VantaroError) as e:
        gas.choke_pressure(area=0, mass_flow=1e4, H=0, P_start=100)
    assert e.value.result.P == 100 and e.value.result.mach is None


def test_one_workspace_at_a_time():
    with vt.Workspace(["methane"]) as first:
        with pytest.raises(vt.VantaroError, match="another Workspace is open"):
            vt.Workspace(["ethane"]).open()
        assert first.is_open
        stream = vt.Stream(first, [1.0])
    with pytest.raises(vt.VantaroError, match="not open"):
        stream.flash(T=300, P=100)
    with vt.Workspace(["ethane"]) as second:  # the first one is closed now
        assert vt.Stream(second, [1.0]).flash(T=300, P=100).phases == ["vapour"]


def test_non_numbers_never_crash(gas):
    """NaN and infinity in every argument of the scalar wrappers: a number,
    None or VantaroError, never a crash or another exception."""
    calls = [
        (vt.friction_factor, (4.0, 0.0018)), (vt.contraction_k, (0.5, 30.0)),
        (vt.tee_k, (0.5, 0.5)), (vt.flow_regime, (10.0, 1.0)),
        (vt.reynolds, (2.0, 0.05, 998.0, 1.0)),
        (vt.grashof, (300.0, 320.0, 1.0, 1.0, 998.0, 990.0)),
        (vt.htc_internal, (2.0, 1.0, 0.6, 4.18, 998.0, 300.0, 320.0, 0.05)),
        (vt.htc_external, (1.0, 300.0, 320.0, 0.2)), (vt.superheat_coefficient, (650.0, 700.0)),
        (vt.sonic_velocity_ideal_gas, (100.0, 1.0, 29.0)),
        (vt.ext_format, (1.0, "%g")), (vt.format_sig_figs, (1.0, 3)),
        (lambda t, p: gas.flash(T=t, P=p), (300.0, 100.0)),
        (lambda p, h: gas.flash(P=p, H=h), (100.0, 0.0)),
        (lambda t, d: gas.vapour_thermal_conductivity(t, d), (300.0, 1.0)),
        (lambda t, p, d: gas.liquid_viscosity(t, p, d), (300.0, 100.0, 600.0)),
        (lambda p, t: gas.sonic_velocity(P=p, T=t), (100.0, 300.0)),
        (lambda a, w, h, p: gas.choke_pressure(area=a, mass_flow=w, H=h, P_start=p),
         (0.01, 1e4, 0.0, 100.0)),
        (lambda w, p2: vt.pipe_upstream_pressure(LINE, w, p2, upstream=END, downstream=END),
         (1e4, 1.5)),
        (lambda w, p2: vt.pipe_upstream_pressure(LINE, w, p2, "beggs-brill", stream=gas,
                                                 H=0.0, segments=2), (1e4, 1.5)),
    ]
    for fn, args in calls:
        for i in range(len(args)):
            if not isinstance(args[i], float):
                continue  # only the numbers that cross the interface as doubles
            for bad in (math.nan, math.inf, -math.inf):
                try:
                    fn(*args[:i], bad, *args[i + 1:])
                except vt.VantaroError:
                    pass


def test_failed_open_raises_the_engine_message():
    """A component the equations of state cannot take (Tc = 0): the engine's
    message becomes the error, a message handler sees it too, and the
    workspace stays closed."""
    lib = vt.Components()
    bad = dataclasses.replace(lib["methane"], tc=0.0)
    seen = []
    vt.set_message_handler(lambda caption, text: seen.append((caption, text)))
    try:
        with pytest.raises(vt.VantaroError, match="Precalculation Error") as e:
            vt.Workspace([bad, lib["ethane"]], fit_viscosity=False).open()
    finally:
        vt.set_message_handler(None)
    assert e.value.export == "OpenProps"
    assert seen == [("Vantaro", e.value.text)]
    with vt.Workspace(["ethane"]) as ws:
        assert ws.is_open


def test_threads_share_the_engine_safely(gas):
    """The engine is not thread-safe (ctypes lets threads into it at once);
    the package serialises its calls, so concurrent searches give the serial
    answers."""
    import threading
    h = gas.flash(T=250.0, P=5000.0).H
    pressures = [4000.0 - 200 * k for k in range(12)]
    serial = [gas.flash(P=p, H=h).T for p in pressures]
    outcomes = []

    def work():
        for _ in range(10):
            try:
                outcomes.append([gas.flash(P=p, H=h).T for p in pressures] == serial)
            except vt.VantaroError as e:
                outcomes.append(e)
    threads = [threading.Thread(target=work) for _ in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert outcomes == [True] * 40
