// Benchmarks of the workspace family.
#include <benchmark/benchmark.h>

#include <vector>

#include "workspace/mixture.h"
#include "workspace/workspace.h"

namespace {

void BM_OpenClose20(benchmark::State& state) {
    const int n = 20;
    std::vector<CompRecord> recs(n);
    for (int i = 0; i < n; ++i) {
        recs[i].code = i + 1;
        recs[i].mw = 16.0 + 14.0 * i;
        recs[i].pc = 4600.0 - 100.0 * i;
        recs[i].tc = 190.0 + 20.0 * i;
        recs[i].omega = 0.01 + 0.02 * i;
        recs[i].omegasrk = VANTARO_MISSING;
    }
    std::vector<double> kij(n * n, 0.0);
    for (auto _ : state) {
        vt::OpenProps(n, recs.data(), kij.data(), kij.data());
        vt::CloseProps();
    }
}
BENCHMARK(BM_OpenClose20);

}  // namespace
