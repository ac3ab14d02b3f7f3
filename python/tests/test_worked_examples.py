"""One worked example per capability, checked against independent numbers:
published property data, closed forms, published charts and tables."""
import math

import pytest

import vantaro as vt

R = 8.314462618  # kJ/(kmol K)


def test_flash_low_pressure_density_is_ideal(gas):
    # At 1 kPa every gas is ideal: rho = P M / (R T).
    state = gas.flash(T=300.0, P=1.0)
    assert state.phases == ["vapour"] and state.vapour_fraction == 1.0
    assert state.density == pytest.approx(1.0 * gas.mol_weight / (R * 300.0), rel=1e-3)


def test_propane_boiling_point_and_heat_of_vaporisation():
    # CRC Handbook: normal boiling point 231.04 K, enthalpy of vaporisation
    # there 19.04 kJ/mol.
    with vt.Workspace(["propane"]) as ws:
        propane = vt.Stream(ws, [1.0])
        bubble, dew = propane.bubble_point(P=101.325), propane.dew_point(P=101.325)
        assert bubble.T == pytest.approx(231.04, abs=0.5)
        assert dew.H - bubble.H == pytest.approx(19040.0, rel=0.03)
        # Half way in enthalpy at the same pressure: half vaporised (lever rule).
        half = propane.flash(P=101.325, H=(bubble.H + dew.H) / 2)
        assert half.vapour_fraction == pytest.approx(0.5, abs=1e-3)
        assert half.T == pytest.approx(bubble.T, abs=0.05)


def test_water_boils_as_in_the_steam_tables():
    # IAPWS steam tables at 101.325 kPa: 373.12 K; hfg = 2256.5 kJ/kg,
    # 40651 kJ/kmol at 18.015 kg/kmol. Vapour-pressure K-values, enthalpies
    # by Lee-Kesler with water from the steam formulation.
    with vt.Workspace(["water"]) as ws:
        water = vt.Stream(ws, [1.0], method=vt.VAPOUR_PRESSURE, hmethod=vt.LEE_KESLER)
        bubble, dew = water.bubble_point(P=101.325), water.dew_point(P=101.325)
        assert bubble.T == pytest.approx(373.12, abs=0.2)
        assert dew.H - bubble.H == pytest.approx(40651.0, rel=0.005)


def test_transport_properties():
    # Methane at 300 K, low pressure: 0.01118 cP (NIST webbook). Liquid
    # n-decane at 300 K, 1 atm: 0.820 cP (CRC), its viscosity coefficients
    # fitted as a petroleum fraction.
    with vt.Workspace(["methane"]) as ws:
        state = vt.Stream(ws, [1.0]).flash(T=300.0, P=101.325)
        assert state.transport("vapour").viscosity == pytest.approx(0.01118, rel=0.03)
    with vt.Workspace(["n-decane"], viscosity_kind=1) as ws:
        liquid = vt.Stream(ws, [1.0]).flash(T=300.0, P=101.325).transport("liquid")
        assert liquid.viscosity == pytest.approx(0.820, rel=0.10)
        assert liquid.surface_tension == pytest.approx(23.37, rel=0.05)  # Mulero et al. 2012


def test_sonic_velocity():
    # Methane at 300 K and 1 atm: 449.7 m/s (Younglove & Ely 1987). Air as an
    # ideal gas: c = sqrt(gamma P / rho) with gamma = Cp / (Cp - R).
    with vt.Workspace(["methane"]) as ws:
        assert vt.Stream(ws, [1.0]).sonic_velocity(P=101.325, T=300.0) == \
            pytest.approx(449.7, rel=0.005)
    rho, cp = 1.177, 29.1
    gamma = cp / (cp - 8.3142)
    assert vt.sonic_velocity_ideal_gas(101.325, rho, cp) == \
        pytest.approx(math.sqrt(gamma * 101325.0 / rho), rel=1e-9)


def test_choke_pressure_of_nitrogen_is_the_ideal_gas_one():
    # Nearly ideal and at constant temperature through the expansion: the
    # flux G = rho c chokes at P = G sqrt(R T / (gamma M)).
    with vt.Workspace(["nitrogen"]) as ws:
        n2 = vt.Stream(ws, [1.0])
        relief = n2.flash(T=300.0, P=1000.0)
        area, flux = 0.01, 1000.0  # m2, kg/(m2 s)
        choke = n2.choke_pressure(area=area, mass_flow=flux * area * 3600, H=relief.H,
                                  P_start=101.325, T_estimate=300.0)
        ideal = flux * math.sqrt(R * 1000 * 300.0 / (1.4 * 28.0134)) / 1000
        assert choke.P == pytest.approx(ideal, rel=0.01)
        assert choke.mach == pytest.approx(1.0, abs=1e-3)
        assert choke.density * choke.velocity == pytest.approx(flux, rel=1e-3)


@pytest.mark.parametrize("method, closed_form", [
    # Fully rough limits: von Karman (Chen's), and Round (1980) at Re -> infinity.
    ("chen", lambda e: (-2 * math.log10(e / 3.7)) ** -2),
    ("round", lambda e: (1.8 * math.log10(1 / (0.135 * e))) ** -2),
])
def test_fully_turbulent_friction_factor(method, closed_form):
    assert vt.friction_factor(4.026, 0.0018, method) == \
        pytest.approx(closed_form(0.0018 / 4.026), rel=1e-3)


def test_isothermal_gas_line_is_the_textbook_equation():
    # Isothermal flow of an ideal gas:
    #   p1^2 - p2^2 = G^2 (R T / M) (f L / D + 2 ln(p1 / p2)),
    # with the engine's friction factor and fittings' equivalent length.
    mw, t, p2 = 19.5, 300.0, 1.5
    rho = lambda bar: bar * 1e5 * mw / (R * 1000 * t)  # noqa: E731
    end = lambda bar: vt.PipeEnd(pref=bar, mw=mw, density=rho(bar), viscosity=0.0115,  # noqa
                                 cp=37.5)
    pipe = vt.Pipe(length=150, diameter=7.981, kfit=1.5, ldfit=60)
    line = vt.pipe_upstream_pressure(pipe, 30000, p2, upstream=end(3.0), downstream=end(p2),
                                     tolerance=1e-9)
    d = 7.981 * 0.0254
    flux = 30000 / 3600 / (math.pi / 4 * d * d)
    c = flux ** 2 * R * 1000 * t / mw
    p1 = 1.5 * p2 * 1e5
    for _ in range(100):
        p1 = math.sqrt((p2 * 1e5) ** 2 + c * (line.friction_factor * (150 + line.leq) / d +
                                              2 * math.log(p1 / (p2 * 1e5))))
    assert line.p1 == pytest.approx(p1 / 1e5, rel=1e-6)
    # The gas cools in adiabatic flow, so it is denser and loses less.
    adiabatic = vt.pipe_upstream_pressure(pipe, 30000, p2, "adiabatic", upstream=end(3.0),
                                          downstream=end(p2), tolerance=1e-9)
    assert p2 < adiabatic.p1 < line.p1


def test_two_phase_march_carries_the_liquid_column():
    # A slow liquid up a 20 m riser: the drop is the static head rho g h.
    with vt.Workspace(["n-decane"], viscosity_kind=1) as ws:
        decane = vt.Stream(ws, [1.0])
        state = decane.flash(T=300.0, P=150.0)
        head = state.density * 9.80665 * 20 / 1e5
        for model in ("beggs-brill", "dukler", "orkiszewski"):
            line = vt.pipe_upstream_pressure(vt.Pipe(20, 2.067, rise=20), 500, 1.5, model,
                                             stream=decane, H=state.H, segments=5)
            assert line.dp_elevation == pytest.approx(head, rel=0.002), model
            assert line.p1 - 1.5 == pytest.approx(head, rel=0.002), model
            assert len(line.pressures) == 6 and line.pressures[-1] == 1.5


@pytest.mark.parametrize("gas, liquid, regime", [
    # Mandhane, Gregory & Aziz (1974), well inside each region (ft/s).
    (0.5, 0.05, "stratified"), (100, 0.1, "annular"), (1, 20, "dispersed bubble"),
    (10, 3, "slug"),
])
def test_flow_regime_map(gas, liquid, regime):
    found, scores = vt.flow_regime(gas, liquid)
    assert found == regime
    assert sum(scores.values()) == pytest.approx(1.0)


@pytest.mark.parametrize("q, a, path, crane", [
    # Crane TP-410 (2009), combining flow in a 90-degree tee: run
    # K = 1.55 q - q^2; branch K = 0.55 (1 + (q/a)^2 - 2 (1 - q)^2) for q > 0.4.
    (0.5, 1.0, "run", 1.55 * 0.5 - 0.25),
    (0.5, 1.0, "branch", 0.55 * (1 + 0.25 - 2 * 0.25)),
    (0.8, 1.0, "branch", 0.55 * (1 + 0.64 - 2 * 0.04)),
])
def test_tee_matches_crane(q, a, path, crane):
    assert vt.tee_k(a, q, 3, path=path, combining=True).k == pytest.approx(crane, abs=0.01)


def test_contraction():
    # No contraction loses nothing; a square-edged entrance from a large
    # vessel loses about half a velocity head (Crane TP-410).
    for angle in (15, 45, 90):
        assert vt.contraction_k(1.0, angle) == pytest.approx(0.0, abs=0.01)
    assert vt.contraction_k(0.0, 90) == pytest.approx(0.5, abs=0.1)


def test_heat_transfer():
    # Water in a 50 mm tube at 2 m/s: Re = v D rho / mu, Pr = cp mu / k and
    # Dittus-Boelter with the heating constants, Nu = 0.0243 Re^0.8 Pr^0.4.
    re = vt.reynolds(2.0, 0.05, 998.0, 1.0)
    pr = vt.prandtl(4.18, 1.0, 0.6)
    assert (re, pr) == (pytest.approx(99800.0), pytest.approx(4180 * 0.001 / 0.6))
    h = vt.htc_internal(2.0, 1.0, 0.6, 4.18, 998.0, 300.0, 320.0, 0.05)
    assert h == pytest.approx(0.0243 * re ** 0.8 * pr ** 0.4 * 0.6 / 0.05, rel=1e-9)
    # API 520 Part I, KSH at 600 psig and 700 degF.
    assert vt.superheat_coefficient(700, 600) == pytest.approx(0.87)


def test_sparse_solve():
    entries = [(0, 0, 4), (0, 1, -2), (0, 2, 1), (1, 0, 3), (1, 1, 6), (1, 2, -4),
               (2, 0, 2), (2, 1, 1), (2, 2, 8)]
    assert vt.solve_sparse(entries, [3, 3, 28]) == pytest.approx([1, 2, 3])
    # The transposed system, checked by its residual.
    x = vt.solve_sparse(entries, [1, 2, 3], transpose=True)
    residual = [sum(v * x[r] for r, c, v in entries if c == col) - b
                for col, b in enumerate([1, 2, 3])]
    assert residual == pytest.approx([0, 0, 0], abs=1e-12)


def test_formatting():
    # 300 K in degF with one decimal; exponents with three digits.
    assert vt.ext_format(300, "%.1f", 1.8, -459.67) == "80.3"
    assert vt.ext_format(1.5e-10, "%.2e") == "1.50e-010"
    assert vt.format_sig_figs(0.5, 3) == "0.500"


def test_component_data_and_kij():
    lib = vt.Components()
    propane = lib["propane"]
    # Hankinson & Thomson (1979): V* of propane 0.2001 m3/kmol.
    assert vt.pure_vchar(propane.liqden, propane.omegasrk, propane.mw, propane.tc, propane.pc,
                         propane.omega) == pytest.approx(0.2001, rel=0.01)
    a, b = vt.visc_param(0, propane.mw, propane.tc, propane.pc / 100, propane.vc,
                         propane.vstar, propane.omega, propane.omegasrk, propane.tb,
                         propane.liqden)
    assert a is not None and b is not None
    # Methane-carbon dioxide: a kij near 0.1 in both equations of state.
    for method in (1, 2):
        assert vt.builtin_kij(lib["methane"], lib["carbon dioxide"], method) == \
            pytest.approx(0.1, abs=0.03)
