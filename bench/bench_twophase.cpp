// Benchmarks of the two-phase march: a natural gas-condensate stream with
// free water (Peng-Robinson) through 10 segments with 2 extra passes, by
// Beggs-Brill and Dukler on a horizontal line and by Orkiszewski on a
// vertical one; each with and without the node temperature estimate.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "../tests/support/component_table.h"
#include "hydraulics/twophase_driver.h"
#include "props/prop3.h"

namespace {

const std::vector<std::string> kNames = {"nitrogen", "carbon dioxide", "methane", "ethane",
                                         "propane",  "n-butane",       "n-pentane", "n-hexane",
                                         "n-heptane", "n-decane",      "water"};
const std::vector<double> kZ = {0.01, 0.02, 0.70, 0.08, 0.05, 0.03, 0.02, 0.02, 0.02, 0.02, 0.03};
const double kTol[4] = {0.01, 0.1, 0.001, 1e-4};

// The table with fitted liquid-viscosity coefficients, as a host opens it.
void OpenFitted() {
    const int n = static_cast<int>(kNames.size());
    std::vector<CompRecord> recs;
    for (const auto& name : kNames) {
        CompRecord c = vt::test::Component(name);
        ViscParam(0, c.mw, c.tc, c.pc / 100.0, c.vc, c.vstar, c.omega, c.omegasrk, c.tb,
                  c.liqden, &c.visca, &c.viscb);
        recs.push_back(c);
    }
    std::vector<double> pr(n * n, 0.0), srk(n * n, 0.0);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            GetKijHardWired(1, recs[i].code, recs[i].family, recs[j].code, recs[j].family,
                            &pr[i * n + j]);
            GetKijHardWired(2, recs[i].code, recs[i].family, recs[j].code, recs[j].family,
                            &srk[i * n + j]);
        }
    vt::OpenProps(n, recs.data(), pr.data(), srk.data());
}

void March(benchmark::State& state, int32_t method, double rise, bool estimate) {
    OpenFitted();
    // The relieving state: 320 K and 15 bar; the line ends at 2 bar.
    std::vector<double> y(kZ.size()), x(kZ.size()), xw(kZ.size()), xl(kZ.size());
    int32_t ph[3];
    double frac[5], h[5], s[5], cp[5], v[5], mw[5], t = 320.0, p = 1500.0;
    frac[0] = h[3] = s[3] = vt::MISSING;
    vt::Prop3(vt::g_ws, 1, 1, &t, &p, kZ.data(), y.data(), x.data(), xw.data(), xl.data(), ph, frac,
              h, s, cp, v, mw, vt::MISSING, kTol);
    const int32_t n = 10;
    std::vector<double> pn(n + 1), hn(n + 1, h[3]), tn(n + 1), vn(n + 1);
    PipeSegment pipe{100.0, 7.981, rise, 2.0, 30.0, 0.0018, 0.0018, 1.0};
    vt::TwoPhaseCase c{1, method, n, 1, 1, &pipe, 10000.0, pn.data(), hn.data(), kZ.data(),
                       tn.data(), vn.data(), kTol, 0, 2, 0};
    FlowResult r{};
    for (auto _ : state) {
        std::fill(pn.begin(), pn.end(), 0.0);
        pn[n] = 2.0;
        if (vt::TwoPhaseMarch(vt::g_ws, c, r, estimate) != vt::kTwoPhaseOk)
            state.SkipWithError("march failed");
        benchmark::ClobberMemory();
    }
    state.counters["p_up_bar"] = r.p;
    vt::CloseProps();
}

void BM_TwoPhaseBeggsBrill(benchmark::State& s) { March(s, vt::kTwoPhaseBeggsBrill, 0.0, false); }
void BM_TwoPhaseBeggsBrillEstimate(benchmark::State& s) {
    March(s, vt::kTwoPhaseBeggsBrill, 0.0, true);
}
void BM_TwoPhaseDukler(benchmark::State& s) { March(s, vt::kTwoPhaseDukler, 0.0, false); }
void BM_TwoPhaseDuklerEstimate(benchmark::State& s) { March(s, vt::kTwoPhaseDukler, 0.0, true); }
void BM_TwoPhaseOrkiszewskiVertical(benchmark::State& s) {
    March(s, vt::kTwoPhaseOrkiszewski, 100.0, false);
}
void BM_TwoPhaseOrkiszewskiVerticalEstimate(benchmark::State& s) {
    March(s, vt::kTwoPhaseOrkiszewski, 100.0, true);
}

BENCHMARK(BM_TwoPhaseBeggsBrill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoPhaseBeggsBrillEstimate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoPhaseDukler)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoPhaseDuklerEstimate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoPhaseOrkiszewskiVertical)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoPhaseOrkiszewskiVerticalEstimate)->Unit(benchmark::kMillisecond);

}  // namespace
