// Benchmarks of the stream-property driver: TP, PH, PS, bubble and dew
// points by Peng-Robinson.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "../tests/support/component_table.h"
#include "props/prop3.h"

namespace {

// A natural gas (7 components) and a gas condensate.
const std::vector<std::string> kGas = {"nitrogen", "carbon dioxide", "methane", "ethane",
                                       "propane",  "n-butane",       "n-pentane"};
const std::vector<double> kGasZ = {0.02, 0.03, 0.80, 0.07, 0.045, 0.025, 0.01};
const std::vector<std::string> kCondensate = {"methane", "ethane",   "propane",
                                              "n-butane", "n-hexane", "n-decane"};
const std::vector<double> kCondensateZ = {0.70, 0.10, 0.06, 0.05, 0.05, 0.04};

struct Arrays {
    std::vector<double> y, x, xw, xl;
    int32_t ph[3];
    double frac[5], h[5], s[5], cp[5], v[5], mw[5];
};

const double kTol[4] = {0.01, 0.1, 0.001, 1e-4};

int32_t Run(Arrays& a, std::vector<double>& z, double t, double p, double vf, double hs,
            double ss) {
    a.frac[0] = vf;
    a.h[3] = hs;
    a.s[3] = ss;
    return vt::Prop3(vt::g_ws, 1, 1, &t, &p, z.data(), a.y.data(), a.x.data(), a.xw.data(),
                     a.xl.data(), a.ph, a.frac, a.h, a.s, a.cp, a.v, a.mw, vt::MISSING, kTol);
}

template <class F>
void Bench(benchmark::State& state, const std::vector<std::string>& names, std::vector<double> z,
           F call) {
    vt::test::OpenTable(names);
    Arrays a;
    a.y.resize(z.size()), a.x.resize(z.size()), a.xw.resize(z.size()), a.xl.resize(z.size());
    if (call(a, z) != 0) state.SkipWithError("Prop3 failed");
    for (auto _ : state) benchmark::DoNotOptimize(call(a, z));
    vt::CloseProps();
}

void BM_Prop3GasTP(benchmark::State& state) {
    Bench(state, kGas, kGasZ, [](Arrays& a, std::vector<double>& z) {
        return Run(a, z, 220.0, 3000.0, vt::MISSING, vt::MISSING, vt::MISSING);
    });
}
BENCHMARK(BM_Prop3GasTP);

void BM_Prop3GasPH(benchmark::State& state) {
    Bench(state, kGas, kGasZ, [](Arrays& a, std::vector<double>& z) {
        return Run(a, z, vt::MISSING, 3000.0, vt::MISSING, -2000.0, vt::MISSING);
    });
}
BENCHMARK(BM_Prop3GasPH);

void BM_Prop3GasPS(benchmark::State& state) {
    Bench(state, kGas, kGasZ, [](Arrays& a, std::vector<double>& z) {
        return Run(a, z, vt::MISSING, 3000.0, vt::MISSING, vt::MISSING, 150.0);
    });
}
BENCHMARK(BM_Prop3GasPS);

void BM_Prop3GasBubbleT(benchmark::State& state) {
    Bench(state, kGas, kGasZ, [](Arrays& a, std::vector<double>& z) {
        return Run(a, z, vt::MISSING, 3000.0, 0.0, vt::MISSING, vt::MISSING);
    });
}
BENCHMARK(BM_Prop3GasBubbleT);

void BM_Prop3CondensateDewT(benchmark::State& state) {
    Bench(state, kCondensate, kCondensateZ, [](Arrays& a, std::vector<double>& z) {
        return Run(a, z, vt::MISSING, 3000.0, 1.0, vt::MISSING, vt::MISSING);
    });
}
BENCHMARK(BM_Prop3CondensateDewT);

}  // namespace
