// Benchmarks of the numerics family: the sparse solve on the 5-point
// Laplacian of a 100 x 100 grid (order 10 000, Dirichlet boundary).
#include <benchmark/benchmark.h>

#include <vector>

#include "vantaro/tnx/matrix.h"
#include "vantaro/vantaro.h"

namespace {

constexpr int kSide = 100;
constexpr int kOrder = kSide * kSide;

std::vector<SparseEntry> Laplacian5() {
    std::vector<SparseEntry> e;
    e.reserve(5 * kOrder);
    for (int r = 0; r < kSide; ++r)
        for (int c = 0; c < kSide; ++c) {
            const int i = r * kSide + c;
            e.push_back({i, i, 4.0});
            if (r > 0) e.push_back({i, i - kSide, -1.0});
            if (r < kSide - 1) e.push_back({i, i + kSide, -1.0});
            if (c > 0) e.push_back({i, i - 1, -1.0});
            if (c < kSide - 1) e.push_back({i, i + 1, -1.0});
        }
    return e;
}

// The export, as a host calls it (default column ordering).
void BM_SolveLinearEquations_Laplacian10000(benchmark::State& state) {
    const std::vector<SparseEntry> e = Laplacian5();
    std::vector<double> b(kOrder, 1.0), x(kOrder);
    for (auto _ : state) {
        const int32_t ok = SolveLinearEquations(static_cast<int32_t>(e.size()), kOrder, e.data(), b.data(),
                                                x.data(), 0);
        if (ok != 1) state.SkipWithError("solve failed");
        benchmark::DoNotOptimize(x.data());
    }
}
BENCHMARK(BM_SolveLinearEquations_Laplacian10000)->Unit(benchmark::kMillisecond)->Repetitions(5);

// The same system through the matrix class with each fill-in setting.
void BM_SparseMatrixFillIn_Laplacian10000(benchmark::State& state) {
    const std::vector<SparseEntry> e = Laplacian5();
    std::vector<double> b(kOrder, 1.0), x(kOrder);
    TNX::sparseMatrix m(static_cast<int>(e.size()), kOrder, kOrder);
    for (const auto& t : e) m.SetAt(t.row, t.column, t.value);
    m.SetFillIn(static_cast<int>(state.range(0)));
    TNX::dynarray<double> rb(b.data(), kOrder), rx(x.data(), kOrder);
    for (auto _ : state) {
        if (!m.Solve(rb, rx, false)) state.SkipWithError("solve failed");
        benchmark::DoNotOptimize(x.data());
    }
    state.counters["factor_nz"] = static_cast<double>(m.FactorNonZeros());
}
BENCHMARK(BM_SparseMatrixFillIn_Laplacian10000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
