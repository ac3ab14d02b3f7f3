// Enthalpy method 3 (Lee-Kesler) against method 1 (Peng-Robinson
// departures): the same pressure-enthalpy search of a natural gas, each to
// the enthalpy its own method gives at 250 K and 3000 kPa (two phases).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "../tests/support/component_table.h"
#include "props/prop3.h"
#include "thermo/lee_kesler.h"

namespace {

const std::vector<std::string> kGas = {"nitrogen", "carbon dioxide", "methane", "ethane",
                                       "propane",  "n-butane",       "n-pentane"};
const std::vector<double> kGasZ = {0.02, 0.03, 0.80, 0.07, 0.045, 0.025, 0.01};
const double kTol[4] = {0.01, 0.1, 0.001, 1e-4};

struct Arrays {
    std::vector<double> z, y, x, xw, xl;
    int32_t ph[3];
    double frac[5], h[5], s[5], cp[5], v[5], mw[5];
};

int32_t Run(Arrays& a, int hmethod, double t, double p, double hs) {
    a.frac[0] = vt::MISSING;
    a.h[3] = hs;
    a.s[3] = vt::MISSING;
    return vt::Prop3(vt::g_ws, 1, hmethod, &t, &p, a.z.data(), a.y.data(), a.x.data(), a.xw.data(),
                     a.xl.data(), a.ph, a.frac, a.h, a.s, a.cp, a.v, a.mw, vt::MISSING, kTol);
}

void GasPH(benchmark::State& state, int hmethod) {
    vt::test::OpenTable(kGas);
    Arrays a;
    const size_t n = kGasZ.size();
    a.z = kGasZ;
    a.y.resize(n), a.x.resize(n), a.xw.resize(n), a.xl.resize(n);
    if (Run(a, hmethod, 250.0, 3000.0, vt::MISSING) != 0) state.SkipWithError("TP failed");
    const double target = a.h[3];
    if (Run(a, hmethod, vt::MISSING, 3000.0, target) != 0) state.SkipWithError("PH failed");
    for (auto _ : state) benchmark::DoNotOptimize(Run(a, hmethod, vt::MISSING, 3000.0, target));
    vt::CloseProps();
}

void BM_Prop3GasPH_PengRobinsonDepartures(benchmark::State& state) { GasPH(state, 1); }
BENCHMARK(BM_Prop3GasPH_PengRobinsonDepartures);

void BM_Prop3GasPH_LeeKesler(benchmark::State& state) { GasPH(state, 3); }
BENCHMARK(BM_Prop3GasPH_LeeKesler);

// One phase's departures, vapour and liquid.
void BM_LkDeparture(benchmark::State& state) {
    vt::test::OpenTable(kGas);
    const bool liquid = state.range(0) != 0;
    double h, cp, s;
    for (auto _ : state) {
        vt::LkDeparture(vt::g_ws, liquid ? 180.0 : 300.0, 3000.0, kGasZ.data(), &h, &cp, &s,
                        liquid ? 1 : 0, 0.0);
        benchmark::DoNotOptimize(h);
    }
    vt::CloseProps();
}
BENCHMARK(BM_LkDeparture)->Arg(0)->Arg(1);

}  // namespace
