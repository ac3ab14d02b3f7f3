#include "numerics/sparse_lu.h"

#include <algorithm>
#include <Eigen/OrderingMethods>
#include <Eigen/SparseCore>
#include <Eigen/SparseLU>
#include <cmath>
#include <limits>
#include <type_traits>
#include <vector>

namespace vt {
namespace {

using SpMat = Eigen::SparseMatrix<double, Eigen::ColMajor, int>;
using Vec = Eigen::VectorXd;

// 2^-e for the binary exponent e of m (m in [2^(e-1), 2^e)): scaling by it
// is exact and brings m into [0.5, 1).
double PowerOfTwoScale(double m) {
    int e = 0;
    std::frexp(m, &e);
    return std::ldexp(1.0, -e);
}

// Row scales R, then column scales C of R A, each a power of two, so that
// every row and column of R A C has its largest magnitude in [0.5, 1).
// False when a row or column holds no non-zero (structurally singular).
bool Equilibrate(const SpMat& a, Vec& r, Vec& c) {
    const int n = static_cast<int>(a.rows());
    Vec rowMax = Vec::Zero(n), colMax = Vec::Zero(n);
    for (int j = 0; j < n; ++j)
        for (SpMat::InnerIterator it(a, j); it; ++it)
            rowMax[it.row()] = std::max(rowMax[it.row()], std::abs(it.value()));
    r.resize(n);
    for (int i = 0; i < n; ++i) {
        if (!(rowMax[i] > 0.0)) return false;
        r[i] = PowerOfTwoScale(rowMax[i]);
    }
    for (int j = 0; j < n; ++j)
        for (SpMat::InnerIterator it(a, j); it; ++it)
            colMax[j] = std::max(colMax[j], std::abs(it.value()) * r[it.row()]);
    c.resize(n);
    for (int j = 0; j < n; ++j) {
        if (!(colMax[j] > 0.0)) return false;
        c[j] = PowerOfTwoScale(colMax[j]);
    }
    return true;
}

// Factorises the equilibrated matrix s and solves s y = bs. A zero pivot,
// or one below n * epsilon times the largest, means singular to working
// precision.
template <class Ordering>
bool FactorAndSolve(const SpMat& s, const Vec& bs, Vec& y, int* colPerm, LuStats& stats) {
    Eigen::SparseLU<SpMat, Ordering> lu;
    lu.analyzePattern(s);
    lu.factorize(s);
    if (lu.info() != Eigen::Success) return false;

    // The diagonal of U is kept in the supernodes of the L store.
    const auto& store = lu.matrixL().m_mapL;
    using Store = std::decay_t<decltype(store)>;
    const Eigen::Index n = s.cols();
    double smallest = std::numeric_limits<double>::infinity(), largest = 0.0;
    for (Eigen::Index j = 0; j < n; ++j) {
        double pivot = 0.0;
        for (typename Store::InnerIterator it(store, j); it; ++it)
            if (it.index() == j) {
                pivot = std::abs(it.value());
                break;
            }
        smallest = std::min(smallest, pivot);
        largest = std::max(largest, pivot);
    }
    const double eps = std::numeric_limits<double>::epsilon();
    if (!(smallest > static_cast<double>(n) * eps * largest)) return false;

    y = lu.solve(bs);
    if (lu.info() != Eigen::Success) return false;
    stats.factorNz = static_cast<long long>(lu.nnzL()) + static_cast<long long>(lu.nnzU());
    if (colPerm)
        for (Eigen::Index j = 0; j < n; ++j) colPerm[j] = lu.colsPermutation().indices()[j];
    return true;
}

}  // namespace

bool SparseLuSolve(int n, int nz, const int* rows, const int* cols, const double* vals,
                   const double* b, double* x, bool transpose, LuOrdering ordering, int* colPerm,
                   LuStats& stats) {
    stats = LuStats{};
    // A non-singular matrix has an entry in every column.
    if (n <= 0 || nz < n) return false;

    std::vector<Eigen::Triplet<double, int>> entries;
    entries.reserve(static_cast<size_t>(nz));
    for (int k = 0; k < nz; ++k)
        entries.emplace_back(transpose ? cols[k] : rows[k], transpose ? rows[k] : cols[k], vals[k]);
    SpMat a(n, n);
    a.setFromTriplets(entries.begin(), entries.end());  // repeated entries add up
    entries = {};
    a.prune([](int, int, double v) { return v != 0.0; });
    a.makeCompressed();
    if (!Eigen::Map<const Vec>(a.valuePtr(), a.nonZeros()).allFinite()) return false;  // sums overflowed

    Vec r, c;
    if (!Equilibrate(a, r, c)) return false;
    const SpMat s = r.asDiagonal() * a * c.asDiagonal();
    const Eigen::Map<const Vec> bv(b, n);
    const Vec bs = r.cwiseProduct(bv);

    Vec y;
    const bool ok = ordering == LuOrdering::Natural
                        ? FactorAndSolve<Eigen::NaturalOrdering<int>>(s, bs, y, colPerm, stats)
                        : FactorAndSolve<Eigen::COLAMDOrdering<int>>(s, bs, y, colPerm, stats);
    if (!ok) return false;
    const Vec sol = c.cwiseProduct(y);
    if (!sol.allFinite()) return false;

    // Normwise backward error of the unscaled system, with b and x divided
    // by the larger of their norms (and 1) so that values near the top of
    // the double range do not overflow it; infinity when it still does.
    Vec rowSum = Vec::Zero(n);
    for (int j = 0; j < n; ++j)
        for (SpMat::InnerIterator it(a, j); it; ++it) rowSum[it.row()] += std::abs(it.value());
    const double scale =
        std::max({1.0, sol.lpNorm<Eigen::Infinity>(), bv.lpNorm<Eigen::Infinity>()});
    const Vec xs = sol / scale;
    const Vec residual = bv / scale - a * xs;
    const double denom =
        rowSum.maxCoeff() * xs.lpNorm<Eigen::Infinity>() + bv.lpNorm<Eigen::Infinity>() / scale;
    const double rnorm = residual.lpNorm<Eigen::Infinity>();
    stats.backwardError = denom > 0.0 ? rnorm / denom : 0.0;
    if (std::isnan(stats.backwardError)) stats.backwardError = HUGE_VAL;

    Eigen::Map<Vec>(x, n) = sol;
    return true;
}

}  // namespace vt
