// Benchmarks of the slowest stream-property calls found by fuzzing and
// random sweeps. The target is about 50 ms per call for up to 24 components
// on one core of the development machine.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "../tests/support/component_table.h"
#include "thermo/flash.h"
#include "vantaro/vantaro.h"

namespace {

using vt::MISSING;

struct Case {
    std::vector<std::string> names;
    std::vector<double> z;
    bool zeroKij;
    int method, hmethod;
    double t, p, vf, h, s, tguess;
    double tol[4];
};

void RunProp3(benchmark::State& state, const Case& c) {
    vt::test::OpenTable(c.names, c.zeroKij);
    const size_t n = c.z.size();
    std::vector<double> y(n), x(n), xw(n), xl(n);
    double frac[5], h[5], s[5], cp[5], v[5], mw[5];
    int32_t ph[3];
    int32_t status = 0;
    for (auto _ : state) {
        double t = c.t, p = c.p;
        frac[0] = c.vf;
        h[3] = c.h;
        s[3] = c.s;
        status = Prop3(c.method, c.hmethod, &t, &p, c.z.data(), y.data(), x.data(), xw.data(),
                       xl.data(), ph, frac, h, s, cp, v, mw, c.tguess, c.tol);
        benchmark::DoNotOptimize(t);
    }
    state.counters["status"] = status;
    vt::CloseProps();
}

// The search that never ended at a zero tolerance, at the finest one it now accepts.
void BM_Prop3EntropyEightComponentsFinestTolerance(benchmark::State& state) {
    RunProp3(state, {{"methane", "ethane", "propane", "n-butane", "n-hexane", "n-decane",
                      "nitrogen", "water"},
                     {0.5, 0.1, 0.08, 0.07, 0.06, 0.05, 0.04, 0.1},
                     true, 1, 1, MISSING, 2000.0, MISSING, MISSING, -50.0, MISSING,
                     {1e-9, 0.1, 1e-9, 1e-4}});
}
BENCHMARK(BM_Prop3EntropyEightComponentsFinestTolerance)->Unit(benchmark::kMillisecond);

// The smallest reproduction: a retrograde dew point of methanol and ethylene.
void BM_Prop3RetrogradeDewFinestTolerance(benchmark::State& state) {
    RunProp3(state, {{"methanol", "ethylene"}, {0.5, 0.5}, true, 1, 0, MISSING,
                     119.74043399516259, -1.0, MISSING, MISSING, MISSING,
                     {1e-9, 0.1, 0.001, 1e-4}});
}
BENCHMARK(BM_Prop3RetrogradeDewFinestTolerance)->Unit(benchmark::kMillisecond);

// A dew point above 3000 kPa from an estimate near absolute zero: the walk
// steps at least 5 K.
void BM_Prop3HighPressureDewColdEstimate(benchmark::State& state) {
    RunProp3(state, {{"methane", "ethane", "propane", "n-butane", "n-hexane"},
                     {0.8, 0.08, 0.06, 0.04, 0.02},
                     false, 1, 1, MISSING, 5000.0, 1.0, MISSING, MISSING, 30.0,
                     {0.01, 0.1, 0.001, 1e-4}});
}
BENCHMARK(BM_Prop3HighPressureDewColdEstimate)->Unit(benchmark::kMillisecond);

// 22 components, vapour-pressure K-values, a retrograde dew point that walks
// into 56 K where every flash runs to its iteration cap with the split's
// fallback search at each iteration (1.3 s before that search was
// rewritten).
void BM_Prop3TwentyTwoComponentsColdRetrograde(benchmark::State& state) {
    RunProp3(state,
             {{"toluene", "methane", "helium", "hydrogen sulfide", "i-butane", "ethylene",
               "benzene", "n-hexane", "ethanol", "methanol", "n-octane", "i-pentane", "propane",
               "triethylene glycol", "ethane", "carbon dioxide", "n-decane", "water", "oxygen",
               "diethylene glycol", "n-pentane", "ethylene glycol"},
              {0.114555313202807, 0.14274052051534716, 0.13285494694513625,
               0.0037914624928852571, 0.12364664511016549, 0.1463575100157353,
               0.057327924999016407, 0.001617427611016572, 0, 0.012870305480621175,
               0.060226927435328939, 0.00018421313285033115, 0, 0.00028137986118539031,
               0.0015591418416443642, 0.057108845456839565, 0.032746002881171292,
               5.235293150054835e-05, 2.2910895308890592e-05, 0.00030869626123609267, 0,
               0.11174747293020412},
              false, 3, 0, 56.090596894345033, MISSING, -1.0, MISSING, MISSING, MISSING,
              {9.7e-09, 2.97e-08, 7.38e-08, 4.66e-08}});
}
BENCHMARK(BM_Prop3TwentyTwoComponentsColdRetrograde)->Unit(benchmark::kMillisecond);

// The split's fallback search on 24 components with K-values spread over
// the whole clipped range, at the flash's final tolerance.
void BM_SplitFallbackTwentyFourExtreme(benchmark::State& state) {
    std::vector<std::string> names;
    for (int i = 0; i < 24; ++i) names.push_back(vt::test::ComponentNames()[i]);
    vt::test::OpenTable(names);
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<double> z(24, 1.0 / 24), k1(24), k2(24), x0(24), x1(24), x2(24);
    for (int i = 0; i < 24; ++i) {
        k1[i] = std::exp(228.0 * u(rng));
        k2[i] = std::exp(228.0 * u(rng));
    }
    double* c[4] = {x0.data(), x1.data(), x2.data(), z.data()};
    for (auto _ : state) {
        double b1, b2;
        vt::SplitBisect(vt::g_ws, c, k1.data(), k2.data(), &b1, &b2, 1e-15);
        benchmark::DoNotOptimize(b1);
        benchmark::DoNotOptimize(b2);
    }
    vt::CloseProps();
}
BENCHMARK(BM_SplitFallbackTwentyFourExtreme)->Unit(benchmark::kMicrosecond);

}  // namespace
