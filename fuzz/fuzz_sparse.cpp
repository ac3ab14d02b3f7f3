// libFuzzer target: the sparse solve. SolveLinearEquations with fuzzed
// orders, entry lists (repeated, outside the matrix, non-finite), right-hand
// sides, aliased vectors and null pointers; and the exported matrix classes
// behind it (TNX::sparseMatrix with SetAt, Solve, KickAss, copies). A solved
// system must satisfy its equations; a refused one leaves the solution
// vector untouched.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "fuzz_common.h"
#include "vantaro/tnx/matrix.h"

using namespace vantaro_fuzz;

namespace {

constexpr double kCanary = 7.25;

// Normwise backward error of x for A x = b (or A^T x = b).
double BackwardError(int n, const std::vector<SparseEntry>& e, const std::vector<double>& b,
                     const std::vector<double>& x, bool transpose) {
    std::vector<double> r(b.begin(), b.begin() + n), rowAbs(n, 0.0);
    for (const SparseEntry& s : e) {
        const int i = transpose ? s.column : s.row, j = transpose ? s.row : s.column;
        r[i] -= s.value * x[j];
        rowAbs[i] += std::fabs(s.value);
    }
    double rmax = 0.0, amax = 0.0, xmax = 0.0, bmax = 0.0;
    for (int i = 0; i < n; ++i) {
        rmax = std::max(rmax, std::fabs(r[i]));
        amax = std::max(amax, rowAbs[i]);
        xmax = std::max(xmax, std::fabs(x[i]));
        bmax = std::max(bmax, std::fabs(b[i]));
    }
    // x cannot resolve better than the smallest denormal (an answer that
    // underflows leaves b as the residual), so a residual within a few of
    // those times |A| passes; near the top of the double range the check
    // itself overflows and says nothing.
    const double scale = amax * xmax + bmax;
    const double floor = (4.0 * n * amax + 1.0) * std::numeric_limits<double>::denorm_min();
    if (!std::isfinite(scale) || !std::isfinite(rmax) || rmax <= floor) return 0.0;
    return scale > 0.0 ? rmax / scale : rmax;
}

void Export(Input& in) {
    const int n = in.Byte() % 16 == 0 ? in.Int(-2, 0) : in.Int(1, 40);
    const int nnz = in.Byte() % 16 == 0 ? -1 : in.Int(0, 160);
    const int size = std::max(n, 1);
    std::vector<SparseEntry> e(std::max(nnz, 0));
    const bool diagonal = in.Byte() % 2;  // mostly regular systems
    for (size_t k = 0; k < e.size(); ++k) {
        const bool onDiag = diagonal && k < static_cast<size_t>(size);
        e[k].row = onDiag ? static_cast<int>(k) : in.Int(-1, size);
        e[k].column = onDiag ? static_cast<int>(k) : in.Int(-1, size);
        e[k].value = in.Double(-10, 10) + (onDiag ? 50.0 : 0.0);
    }
    std::vector<double> b(size), x(size, kCanary);
    for (double& v : b) v = in.Double(-100, 100);
    const std::vector<double> b0 = b;
    const bool alias = in.Byte() % 8 == 0;
    const int option = in.Int(-1, 2);
    const int nulls = in.Byte() % 16;
    const int32_t st = Timed("SolveLinearEquations", PickMode(in), [&] {
        return SolveLinearEquations(nnz, n, nulls == 1 ? nullptr : e.data(),
                                    nulls == 2 ? nullptr : b.data(),
                                    nulls == 3 ? nullptr : (alias ? b.data() : x.data()), option);
    });
    FUZZ_PROMISE(st == 0 || st == 1, "SolveLinearEquations returns 1 or 0");
    if (alias) x = b;
    if (st == 0) {
        if (!alias)
            for (double v : x) FUZZ_PROMISE(v == kCanary, "a refused solve leaves vectorB untouched");
        else
            FUZZ_PROMISE(std::memcmp(b.data(), b0.data(), b.size() * sizeof(double)) == 0,
                         "a refused solve leaves vectorB untouched");
        return;
    }
    for (double v : x) FUZZ_PROMISE(std::isfinite(v), "a solution is finite");
    const double err = BackwardError(n, e, b0, x, option == 1);
    if (!(err < 1e-9)) {
        std::string text;
        char item[128];
        std::snprintf(item, sizeof item, "order %d, %d entries, option %d: backward error %.3g\n", n,
                      nnz, option, err);
        text = item;
        for (const SparseEntry& s : e) {
            std::snprintf(item, sizeof item, "  (%d, %d) %.17g\n", s.row, s.column, s.value);
            text += item;
        }
        for (int i = 0; i < n; ++i) {
            std::snprintf(item, sizeof item, "  b %.17g x %.17g\n", b0[i], x[i]);
            text += item;
        }
        Broken("a solved system satisfies its equations", text.c_str());
    }
}

void Classes(Input& in) {
    const int rows = in.Int(-1, 24), cols = in.Byte() % 8 ? rows : in.Int(-1, 24);
    TNX::sparseMatrix a(in.Int(-1, 64), rows, cols);
    for (int k = in.Int(0, 80); k > 0; --k) {
        const int i = in.Int(-1, rows), j = in.Int(-1, cols);
        a.SetAt(i, j, in.Double(-10, 10) + (i == j ? 40.0 : 0.0));
    }
    TNX::sparseMatrix copy(a);
    if (in.Byte() % 2) copy = a;
    const int n = rows > 0 ? rows : 1;
    TNX::dynarray<double> rhs(n), x(n);
    for (int i = 0; i < n; ++i) rhs(i) = in.Double(-100, 100);
    const bool transpose = in.Byte() % 2;
    const bool solved = Timed("sparseMatrix::Solve", FpMode::Masked,
                              [&] { return copy.Solve(rhs, x, transpose); });
    if (solved) {
        std::vector<SparseEntry> e(copy.Nz());
        std::vector<double> b(n), sol(n);
        for (int k = 0; k < copy.Nz(); ++k) e[k] = {copy.Irn()(k), copy.Jcn()(k), copy.Data()(k)};
        for (int i = 0; i < n; ++i) {
            b[i] = rhs(i);
            sol[i] = x(i);
            FUZZ_PROMISE(std::isfinite(sol[i]), "a solution is finite");
        }
        char detail[96];
        const double err = BackwardError(n, e, b, sol, transpose);
        std::snprintf(detail, sizeof detail, "sparseMatrix order %d: backward error %.3g", n, err);
        FUZZ_PROMISE(err < 1e-9, detail);
    }
    TNX::RMatrix dense;
    copy.KickAss(dense);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    for (int calls = 0; in.More() && calls < 8; ++calls) {
        if (in.Byte() % 4) Export(in);
        else Classes(in);
    }
    return 0;
}
