// Benchmarks of the thermodynamic core: TP flashes by Peng-Robinson.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "../tests/support/component_table.h"
#include "thermo/flash.h"

namespace {

// A gas condensate: C1, C2, C3, nC4, nC6, nC10.
const std::vector<std::string> kCondensate = {"methane", "ethane",   "propane",
                                              "n-butane", "n-hexane", "n-decane"};
const std::vector<double> kCondensateZ = {0.70, 0.10, 0.06, 0.05, 0.05, 0.04};

void RunFlash(benchmark::State& state, const std::vector<std::string>& names,
              std::vector<double> z, int method, double t, double p, int expectPhases) {
    vt::test::OpenTable(names);
    const int32_t freeWater = vt::FreeWaterComponent(vt::g_ws, method);
    const size_t n = names.size();
    std::vector<double> x0(n), x1(n), x2(n);
    double* c[4] = {x0.data(), x1.data(), x2.data(), z.data()};
    int32_t st[3];
    double b[3];
    vt::Flash(vt::g_ws, method, freeWater, t, p, c, st, b);
    const int phases = (st[0] != 0) + (st[1] != 0) + (st[2] != 0);
    if (phases != expectPhases) state.SkipWithError("unexpected phase count");
    for (auto _ : state) {
        vt::Flash(vt::g_ws, method, freeWater, t, p, c, st, b);
        benchmark::DoNotOptimize(b);
    }
    vt::CloseProps();
}

void BM_FlashCondensateTwoPhasePR(benchmark::State& state) {
    RunFlash(state, kCondensate, kCondensateZ, 1, 280.0, 5000.0, 2);
}
BENCHMARK(BM_FlashCondensateTwoPhasePR);

void BM_FlashCondensateGasPR(benchmark::State& state) {
    RunFlash(state, kCondensate, kCondensateZ, 1, 450.0, 5000.0, 1);
}
BENCHMARK(BM_FlashCondensateGasPR);

void BM_FlashThreePhaseWaterPR(benchmark::State& state) {
    std::vector<std::string> names = kCondensate;
    names.push_back("water");
    RunFlash(state, names, {0.56, 0.08, 0.05, 0.04, 0.04, 0.03, 0.20}, 1, 300.0, 3000.0, 3);
}
BENCHMARK(BM_FlashThreePhaseWaterPR);

}  // namespace
