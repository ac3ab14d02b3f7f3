// Benchmarks of the sonic routines by Peng-Robinson: the sonic velocity of a
// natural gas at given T and of a two-phase stream, and the choke pressure of
// a natural-gas relief stream in a tail pipe.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "../tests/support/component_table.h"
#include "props/prop3.h"
#include "sonic/choke.h"
#include "sonic/sonic.h"

namespace {

const std::vector<std::string> kGas = {"nitrogen", "carbon dioxide", "methane", "ethane",
                                       "propane",  "n-butane",       "n-pentane"};
const std::vector<double> kGasZ = {0.02, 0.03, 0.80, 0.07, 0.045, 0.025, 0.01};
const std::vector<std::string> kCondensate = {"methane", "ethane",   "propane",
                                              "n-butane", "n-hexane", "n-decane"};
const std::vector<double> kCondensateZ = {0.70, 0.10, 0.06, 0.05, 0.05, 0.04};
const double kTol[4] = {0.01, 0.1, 0.001, 1e-4};

// Overall enthalpy, molecular weight and vapour fraction at (t, p).
struct State {
    double h, mw, vf;
};

State At(std::vector<double>& z, double t, double p) {
    const size_t n = z.size();
    std::vector<double> y(n), x(n), xw(n), xl(n);
    int32_t ph[3];
    double frac[5], h[5], s[5], cp[5], v[5], mw[5];
    for (int k = 0; k < 5; ++k) frac[k] = h[k] = s[k] = vt::MISSING;
    vt::Prop3(vt::g_ws, 1, 1, &t, &p, z.data(), y.data(), x.data(), xw.data(), xl.data(), ph, frac,
              h, s, cp, v, mw, vt::MISSING, kTol);
    return {h[3], mw[3], frac[0]};
}

void SonicAt(benchmark::State& state, const std::vector<std::string>& names,
             std::vector<double> z, double t, double p, bool twoPhase) {
    vt::test::OpenTable(names);
    const State s = At(z, t, p);
    if ((s.vf > 0.0 && s.vf < 1.0) != twoPhase) state.SkipWithError("not the phase intended");
    double c = 0.0;
    for (auto _ : state) {
        vt::SonicVelocity(vt::g_ws, 1, 1, p, t, vt::MISSING, z.data(), s.mw, 0.0, 0.0, &c, kTol);
        benchmark::DoNotOptimize(c);
    }
    state.counters["c_m_s"] = c;
    vt::CloseProps();
}

void BM_SonicVelocityGasT(benchmark::State& state) {
    SonicAt(state, kGas, kGasZ, 300.0, 3000.0, false);
}
BENCHMARK(BM_SonicVelocityGasT);

void BM_SonicVelocityTwoPhase(benchmark::State& state) {
    SonicAt(state, kCondensate, kCondensateZ, 300.0, 3000.0, true);
}
BENCHMARK(BM_SonicVelocityTwoPhase);

// Relief at 300 K and 3000 kPa, 50 t/h through a 6 in tail pipe (0.01864 m2)
// to atmosphere: the choke pressure sought above the outlet pressure.
void BM_PressureChokeGasRelief(benchmark::State& state) {
    vt::test::OpenTable(kGas);
    std::vector<double> z = kGasZ;
    const State s = At(z, 300.0, 3000.0);
    double p = 0.0, rho, vel, mach;
    const double t = 300.0;
    for (auto _ : state) {
        p = 101.325;
        if (vt::PressureChoke(vt::g_ws, 1, 1, 0.01864, 50000.0, s.h, &p, &t, z.data(), kTol, &rho,
                              &vel, &mach, 0, 1) != vt::kChokeFound)
            state.SkipWithError("no choke pressure");
    }
    state.counters["p_kPa"] = p;
    vt::CloseProps();
}
BENCHMARK(BM_PressureChokeGasRelief)->Unit(benchmark::kMicrosecond);

}  // namespace
