#!/usr/bin/env python3
"""Flashes a natural gas at its relieving state, then expands it at constant
enthalpy (a valve, a relief device) step by step to atmospheric pressure and
prints the state at every step: temperature, vapour fraction, density, heat
capacity, vapour viscosity and sonic velocity.

    python3 examples/isenthalpic_expansion.py [--t K] [--p kPa] [--hmethod 0-3]

Run from a clone after building the engine (cmake --preset default &&
cmake --build --preset default), or with the package installed
(pip install ./python); VANTARO_LIBRARY may name the library.
"""
import argparse
import sys
from pathlib import Path

try:
    import vantaro
except ImportError:  # not installed: the package beside this script's repository
    sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "python"))
    import vantaro

GAS = {"methane": 0.85, "ethane": 0.06, "propane": 0.03, "n-butane": 0.01,
       "nitrogen": 0.02, "carbon dioxide": 0.03}
PRESSURES = [10000, 8000, 6000, 4000, 3000, 2000, 1500, 1000, 700, 500, 300, 200, 101.325]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--t", type=float, default=300.0, help="relieving temperature, K")
    parser.add_argument("--p", type=float, default=10000.0, help="relieving pressure, kPa")
    parser.add_argument("--hmethod", type=int, default=vantaro.PR_DEPARTURES,
                        help="enthalpy method: 0 ideal gas, 1 Peng-Robinson, 3 Lee-Kesler")
    args = parser.parse_args()

    with vantaro.Workspace(list(GAS)) as ws:
        gas = vantaro.Stream(ws, GAS, method=vantaro.PENG_ROBINSON, hmethod=args.hmethod)
        relief = gas.flash(T=args.t, P=args.p)
        print(f"Natural gas, {gas.mol_weight:.3f} kg/kmol (engine {vantaro.version()}), "
              f"at {relief.T:.2f} K and {relief.P:.0f} kPa: H = {relief.H:.1f} kJ/kmol, "
              f"density {relief.density:.2f} kg/m3")
        print(f"Isenthalpic expansion (Peng-Robinson flash, enthalpy method {args.hmethod}):")
        header = ("P_kPa", "T_K", "vapour_frac", "density_kg_m3", "Cp_kJ_kmolK",
                  "visc_vap_cP", "sonic_m_s")
        print("  ".join(f"{h:>13}" for h in header))
        for p in (p for p in PRESSURES if p <= args.p):
            state = gas.flash(P=p, H=relief.H, tguess=relief.T)
            visc = state.transport("vapour").viscosity if state.vapour.present else None
            row = (p, state.T, state.vapour_fraction, state.density, state.Cp, visc,
                   state.sonic_velocity())
            print("  ".join(f"{v:13.5g}" if v is not None else f"{'-':>13}" for v in row))


if __name__ == "__main__":
    main()
