// Benchmarks of the vapour-line exports on a 100 m line.
#include <benchmark/benchmark.h>

#include <utility>

#include "vantaro/vantaro.h"

namespace {

// A natural-gas tail pipe: 100 m of 8 in schedule 40 with a few fittings,
// 20 t/h discharging at 1.5 bar, the states given at the two ends.
struct Line {
    StreamState up{}, down{};
    PipeSegment pipe{100.0, 7.981, 0.0, 1.5, 60.0, 0.0018, 0.0018, 1.0};
    Line() {
        for (auto [s, p] : {std::pair{&up, 3.0}, {&down, 1.5}}) {
            s->pref = p;
            s->vfrac = 1.0;
            s->mixmw = s->vapmw = s->liqmw = 19.5;
            s->mixden = s->vapden = p * 1e5 * 19.5 / (8314.2 * 320.0);
            s->liqden = 600.0;
            s->mixvisc = 0.0115;
            s->mixcp = 37.5;
        }
    }
};

using VapourExport = int32_t (*)(int32_t, double, double, const StreamState*, const StreamState*,
                                 const PipeSegment*, FlowResult*, int32_t, double, double);

void BM_VapourLine100m(benchmark::State& state, VapourExport routine) {
    const Line l;
    FlowResult r{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            routine(1, 1.5, 20000.0, &l.up, &l.down, &l.pipe, &r, 1, VANTARO_MISSING, 1e-6));
        benchmark::DoNotOptimize(r.p);
    }
}
BENCHMARK_CAPTURE(BM_VapourLine100m, IsoVapDp, IsoVapDp);
BENCHMARK_CAPTURE(BM_VapourLine100m, AdiaVapDp, AdiaVapDp);

}  // namespace
