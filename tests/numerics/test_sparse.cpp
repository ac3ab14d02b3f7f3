// The sparse solve: through the SolveLinearEquations export where the
// behaviour is visible there, through the sparse matrix class otherwise.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/alloc.h"
#include "vantaro/tnx/matrix.h"
#include "vantaro/vantaro.h"

namespace {

using Entries = std::vector<SparseEntry>;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// b - A x (or b - A^T x) from the entries, in long double.
std::vector<double> Residual(const Entries& e, const std::vector<double>& x, const std::vector<double>& b,
                             bool transpose = false) {
    std::vector<long double> r(b.begin(), b.end());
    for (const auto& t : e) {
        if (transpose)
            r[t.column] -= static_cast<long double>(t.value) * x[t.row];
        else
            r[t.row] -= static_cast<long double>(t.value) * x[t.column];
    }
    return std::vector<double>(r.begin(), r.end());
}

double MaxAbs(const std::vector<double>& v) {
    double m = 0;
    for (double a : v) m = std::max(m, std::abs(a));
    return m;
}

int32_t Solve(const Entries& e, int n, std::vector<double> b, std::vector<double>& x, int option = 0) {
    x.assign(n, -99.0);
    return SolveLinearEquations(static_cast<int32_t>(e.size()), n, e.data(), b.data(), x.data(), option);
}

// A = [[4,-2,1],[3,6,-4],[2,1,8]]: A (1,2,3) = (3,3,28), A^T (1,2,3) = (16,13,17).
const Entries kA3 = {{0, 0, 4}, {0, 1, -2}, {0, 2, 1}, {1, 0, 3}, {1, 1, 6},
                     {1, 2, -4}, {2, 0, 2}, {2, 1, 1}, {2, 2, 8}};

struct KnownCase {
    const char* name;
    int n;
    Entries entries;
    std::vector<double> b;
    int option;
    std::vector<double> x;
};

class KnownSystems : public ::testing::TestWithParam<KnownCase> {};

TEST_P(KnownSystems, SolvesToTheKnownSolution) {
    const KnownCase& c = GetParam();
    std::vector<double> b = c.b, x(c.n, -99.0);
    ASSERT_EQ(SolveLinearEquations(static_cast<int32_t>(c.entries.size()), c.n, c.entries.data(),
                                   b.data(), x.data(), c.option),
              1);
    EXPECT_EQ(b, c.b) << "the right-hand side is only read";
    for (int i = 0; i < c.n; ++i)
        EXPECT_NEAR(x[i], c.x[i], 1e-13 * (c.x[i] != 0 ? std::abs(c.x[i]) : 1.0)) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Sparse, KnownSystems,
    ::testing::Values(
        KnownCase{"scalar", 1, {{0, 0, 4}}, {8}, 0, {2}},
        KnownCase{"dense3", 3, kA3, {3, 3, 28}, 0, {1, 2, 3}},
        KnownCase{"dense3_transposed", 3, kA3, {16, 13, 17}, 1, {1, 2, 3}},
        KnownCase{"option_2_is_not_transpose", 3, kA3, {3, 3, 28}, 2, {1, 2, 3}},
        // 4 at (0,0) given as 1.5 + 2.5, and -2 at (0,1) as -3 + 1.
        KnownCase{"repeated_entries_add",
                  3,
                  {{0, 0, 1.5}, {0, 1, -3}, {0, 2, 1}, {1, 0, 3}, {1, 1, 6}, {1, 2, -4},
                   {2, 0, 2}, {2, 1, 1}, {2, 2, 8}, {0, 0, 2.5}, {0, 1, 1}},
                  {3, 3, 28}, 0, {1, 2, 3}},
        KnownCase{"needs_row_exchange", 2, {{0, 1, 1}, {1, 0, 1}}, {2, 3}, 0, {3, 2}},
        KnownCase{"explicit_zero_entries", 2, {{0, 0, 2}, {0, 1, 0}, {1, 1, 5}, {1, 0, 0}}, {4, 10}, 0, {2, 2}},
        // Equations and unknowns on wildly different scales are not singular.
        KnownCase{"badly_scaled", 2, {{0, 0, 1}, {1, 1, 1e-20}}, {1, 1e-20}, 0, {1, 1}},
        KnownCase{"rows_on_different_scales", 2, {{0, 0, 1e15}, {0, 1, 2e15}, {1, 0, 3e-10}, {1, 1, 1e-10}},
                  {5e15, 5e-10}, 0, {1, 2}},
        KnownCase{"unknowns_on_different_scales", 2, {{0, 0, 1}, {0, 1, 1e12}, {1, 0, 1}, {1, 1, -1e12}},
                  {4, 2}, 0, {3, 1e-12}},
        // Lower bidiagonal: transposing turns it into an upper one.
        KnownCase{"bidiagonal_transposed", 3, {{0, 0, 1}, {1, 0, 2}, {1, 1, 1}, {2, 1, 2}, {2, 2, 1}},
                  {5, 8, 3}, 1, {1, 2, 3}},
        KnownCase{"bidiagonal", 3, {{0, 0, 1}, {1, 0, 2}, {1, 1, 1}, {2, 1, 2}, {2, 2, 1}},
                  {5, 8, 3}, 0, {5, -2, 7}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SolveLinearEquations, SolvesInPlaceWhenBothVectorsAreOneArray) {
    std::vector<double> v = {3, 3, 28};
    ASSERT_EQ(SolveLinearEquations(9, 3, kA3.data(), v.data(), v.data(), 0), 1);
    EXPECT_NEAR(v[0], 1, 1e-14);
    EXPECT_NEAR(v[1], 2, 1e-14);
    EXPECT_NEAR(v[2], 3, 1e-14);
}

// Random sparse, strictly diagonally dominant by rows (and hence
// non-singular): 6 off-diagonal entries a row at random columns, anywhere
// (band 0) or within `band` of the diagonal. A random pattern without a band
// fills in to a nearly dense factor, so the large case keeps one.
Entries RandomDominant(int n, unsigned seed, int band = 0) {
    std::mt19937 g(seed);
    std::uniform_int_distribution<int> col(band > 0 ? -band : 0, band > 0 ? band : n - 1);
    std::uniform_real_distribution<double> val(-1.0, 1.0);
    Entries e;
    for (int i = 0; i < n; ++i) {
        double sum = 0;
        for (int k = 0; k < 6; ++k) {
            const int j = band > 0 ? i + col(g) : col(g);
            if (j == i || j < 0 || j >= n) continue;
            const double v = val(g);
            sum += std::abs(v);
            e.push_back({i, j, v});
        }
        e.push_back({i, i, (sum + 1.0) * (val(g) < 0 ? -1.0 : 1.0)});
    }
    return e;
}

TEST(SolveLinearEquations, RandomDiagonallyDominantOrder2000) {
    const int n = 2000;
    const Entries e = RandomDominant(n, 2026, 60);
    std::mt19937 g(11);
    std::uniform_real_distribution<double> val(-100.0, 100.0);
    std::vector<double> b(n), x[2];
    for (double& v : b) v = val(g);
    for (int option : {0, 1}) {
        ASSERT_EQ(Solve(e, n, b, x[option], option), 1) << option;
        const double rel = MaxAbs(Residual(e, x[option], b, option == 1)) / MaxAbs(b);
        EXPECT_LE(rel, 1e-10) << "option " << option;
    }
    // The matrix is not symmetric: the transposed solution does not solve A x = b.
    EXPECT_GT(MaxAbs(Residual(e, x[1], b, false)), 1e-3);
}

// -Laplace(u) = 1 on the unit square, u = 0 on the edges, 5-point stencil on
// a 49 x 49 interior grid (h = 1/50). The series solution gives
// u(1/2, 1/2) = sum over odd m, n of 16 (-1)^((m+n)/2-1) / (pi^4 m n (m^2+n^2))
// = 0.0736713533; the discrete centre value agrees to O(h^2).
TEST(SolveLinearEquations, PoissonOnTheUnitSquareMatchesTheSeriesSolution) {
    const int side = 49, n = side * side;
    const double h = 1.0 / (side + 1);
    Entries e;
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            const int i = r * side + c;
            e.push_back({i, i, 4.0 / (h * h)});
            if (r > 0) e.push_back({i, i - side, -1.0 / (h * h)});
            if (r < side - 1) e.push_back({i, i + side, -1.0 / (h * h)});
            if (c > 0) e.push_back({i, i - 1, -1.0 / (h * h)});
            if (c < side - 1) e.push_back({i, i + 1, -1.0 / (h * h)});
        }
    std::vector<double> x;
    ASSERT_EQ(Solve(e, n, std::vector<double>(n, 1.0), x), 1);
    EXPECT_NEAR(x[(side / 2) * side + side / 2], 0.0736713533, 0.0736713533 * 2e-3);
}

struct FailCase {
    const char* name;
    int n;
    Entries entries;
    std::vector<double> b;
};

class FailingSystems : public ::testing::TestWithParam<FailCase> {};

TEST_P(FailingSystems, ReturnZeroAndLeaveBothVectors) {
    const FailCase& c = GetParam();
    std::vector<double> b = c.b, x(c.n, -99.0);
    EXPECT_EQ(SolveLinearEquations(static_cast<int32_t>(c.entries.size()), c.n, c.entries.data(),
                                   b.data(), x.data(), 0),
              0);
    EXPECT_EQ(x, std::vector<double>(c.n, -99.0));
    EXPECT_EQ(0, std::memcmp(b.data(), c.b.data(), b.size() * sizeof(double))) << "b only read";
}

INSTANTIATE_TEST_SUITE_P(
    Sparse, FailingSystems,
    ::testing::Values(
        FailCase{"rank_one_2x2", 2, {{0, 0, 1}, {0, 1, 2}, {1, 0, 2}, {1, 1, 4}}, {1, 2}},
        FailCase{"rank_two_3x3", 3,
                 {{0, 0, 1}, {0, 1, 2}, {0, 2, 3}, {1, 0, 4}, {1, 1, 5}, {1, 2, 6},
                  {2, 0, 7}, {2, 1, 8}, {2, 2, 9}},
                 {1, 2, 3}},
        FailCase{"scaled_rank_deficient", 2, {{0, 0, 1e-30}, {0, 1, 2e-30}, {1, 0, 3e20}, {1, 1, 6e20}}, {1, 1}},
        FailCase{"empty_column", 2, {{0, 0, 1}, {1, 0, 1}}, {1, 1}},
        FailCase{"empty_row", 2, {{0, 0, 1}, {0, 1, 1}}, {1, 1}},
        FailCase{"entries_cancel", 2, {{0, 0, 1}, {1, 1, 1}, {1, 1, -1}}, {1, 1}},
        // Every row and column has an entry, but rows 0 and 1 only meet column 0.
        FailCase{"no_full_matching", 3, {{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {2, 1, 1}, {2, 2, 1}}, {1, 1, 1}},
        FailCase{"no_entries", 3, {}, {1, 1, 1}},
        FailCase{"row_outside", 2, {{0, 0, 1}, {1, 1, 1}, {2, 0, 1}}, {1, 1}},
        FailCase{"column_outside", 2, {{0, 0, 1}, {1, 1, 1}, {0, 2, 1}}, {1, 1}},
        FailCase{"negative_index", 2, {{0, 0, 1}, {1, 1, 1}, {-1, 0, 1}}, {1, 1}},
        FailCase{"nan_value", 2, {{0, 0, 1}, {1, 1, 1}, {0, 1, kNaN}}, {1, 1}},
        FailCase{"infinite_value", 2, {{0, 0, kInf}, {1, 1, 1}}, {1, 1}},
        FailCase{"nan_right_hand_side", 2, {{0, 0, 1}, {1, 1, 1}}, {kNaN, 1}},
        FailCase{"element_overflows_when_summed", 2, {{0, 0, 1e308}, {0, 0, 1e308}, {1, 1, 1}}, {1, 1}},
        // Solvable, but the solution overflows.
        FailCase{"solution_overflows", 1, {{0, 0, 1e-300}}, {1e300}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SolveLinearEquations, GuardsArgumentsWithoutTouchingVectors) {
    std::vector<double> b = {3, 3, 28}, x(3, -99.0);
    const auto untouched = [&] { return x == std::vector<double>(3, -99.0) && b == std::vector<double>{3, 3, 28}; };
    EXPECT_EQ(SolveLinearEquations(9, 0, kA3.data(), b.data(), x.data(), 0), 0);
    EXPECT_EQ(SolveLinearEquations(9, -3, kA3.data(), b.data(), x.data(), 0), 0);
    EXPECT_EQ(SolveLinearEquations(-1, 3, kA3.data(), b.data(), x.data(), 0), 0);
    EXPECT_EQ(SolveLinearEquations(9, 3, nullptr, b.data(), x.data(), 0), 0);
    EXPECT_EQ(SolveLinearEquations(0, 3, nullptr, b.data(), x.data(), 0), 0);
    EXPECT_EQ(SolveLinearEquations(9, 3, kA3.data(), nullptr, x.data(), 0), 0);
    EXPECT_EQ(SolveLinearEquations(9, 3, kA3.data(), b.data(), nullptr, 0), 0);
    EXPECT_TRUE(untouched());
    // Fewer entries than unknowns cannot make a non-singular matrix: refused
    // before anything of order n is allocated.
    EXPECT_EQ(SolveLinearEquations(9, INT32_MAX, kA3.data(), b.data(), x.data(), 0), 0);
    EXPECT_TRUE(untouched());
}

TEST(SolveLinearEquations, FailedAllocationsReportZeroAndLeakNothing) {
    const long live = vt::platform::LiveAllocations();
    bool sawFailure = false;
    for (int k = 1; k <= 12; ++k) {
        std::vector<double> b = {3, 3, 28}, x(3, -99.0);
        vt::platform::FailAllocationAt(k);
        const int32_t r = SolveLinearEquations(9, 3, kA3.data(), b.data(), x.data(), 0);
        vt::platform::FailAllocationAt(0);
        if (r == 0) {
            sawFailure = true;
            EXPECT_EQ(x, std::vector<double>(3, -99.0)) << k;
        } else {
            EXPECT_NEAR(x[2], 3.0, 1e-14);
        }
        EXPECT_EQ(vt::platform::LiveAllocations(), live) << k;
    }
    EXPECT_TRUE(sawFailure);
}

// ---- the sparse matrix class --------------------------------------------------

TNX::sparseMatrix Filled(const Entries& e, int n, int capacity) {
    TNX::sparseMatrix m(capacity, n, n);
    for (const auto& t : e) EXPECT_TRUE(m.SetAt(t.row, t.column, t.value));
    return m;
}

TEST(SparseMatrix, EveryFillInSettingSolvesTheSameSystem) {
    const int n = 300;
    const Entries e = RandomDominant(n, 5);
    std::vector<double> b(n, 1.0);
    for (int setting : {0, 1, 7}) {
        TNX::sparseMatrix m = Filled(e, n, static_cast<int>(e.size()));
        m.SetFillIn(setting);
        std::vector<double> x(n, 0.0);
        TNX::dynarray<double> rb(b.data(), n), rx(x.data(), n);
        ASSERT_TRUE(m.Solve(rb, rx, false)) << setting;
        EXPECT_LE(MaxAbs(Residual(e, x, b)), 1e-12) << setting;
        EXPECT_GT(m.BackwardError(), -1.0);
        EXPECT_LT(m.BackwardError(), 1e-15);
        EXPECT_GE(m.FactorNonZeros(), static_cast<long long>(n));
        // Ip is a permutation of the columns.
        ASSERT_EQ(m.Ip().size, n);
        std::vector<int> seen(n, 0);
        for (int j = 0; j < n; ++j) ++seen.at(m.Ip()(j));
        EXPECT_EQ(seen, std::vector<int>(n, 1));
    }
}

TEST(SparseMatrix, ARejectedEntryInvalidatesTheMatrix) {
    TNX::sparseMatrix m = Filled(kA3, 3, 9);
    EXPECT_FALSE(m.SetAt(3, 0, 1.0));
    EXPECT_FALSE(m.IsValid());
    EXPECT_EQ(m.Nz(), 9);
    std::vector<double> b = {3, 3, 28}, x(3, -99.0);
    TNX::dynarray<double> rb(b.data(), 3), rx(x.data(), 3);
    EXPECT_FALSE(m.Solve(rb, rx, false));
    EXPECT_EQ(x, std::vector<double>(3, -99.0));
    TNX::RMatrix dense(3, 3);
    m.KickAss(dense);
    EXPECT_FALSE(dense.isOK());

    TNX::sparseMatrix negative(-1, 2, 2), notSquare(2, 2, 3);
    EXPECT_FALSE(negative.IsValid());
    notSquare.SetAt(0, 0, 1);
    notSquare.SetAt(1, 1, 1);
    EXPECT_FALSE(notSquare.Solve(rb, rx, false));
}

TEST(SparseMatrix, RefusesShortVectorsAndTamperedCounts) {
    TNX::sparseMatrix m = Filled(kA3, 3, 9);
    std::vector<double> b = {3, 3, 28}, x(3, -99.0);
    TNX::dynarray<double> shortB(b.data(), 2), rx(x.data(), 3), nullX;
    EXPECT_FALSE(m.Solve(shortB, rx, false));
    TNX::dynarray<double> rb(b.data(), 3);
    EXPECT_FALSE(m.Solve(rb, nullX, false));
    // The count is handed out by reference: a count beyond the stored
    // arrays must not be read past them.
    m.Nz() = 1000;
    EXPECT_FALSE(m.Solve(rb, rx, false));
    m.Nz() = 9;
    m.Irn()(0) = 17;  // an index poked in through the accessor
    EXPECT_FALSE(m.Solve(rb, rx, false));
    EXPECT_EQ(x, std::vector<double>(3, -99.0));
    m.Irn()(0) = 0;
    EXPECT_TRUE(m.Solve(rb, rx, false));
}

TEST(SparseMatrix, GrowsAndCopiesDeeply) {
    TNX::sparseMatrix a = Filled(kA3, 3, 2);  // room for 2: grows
    EXPECT_EQ(a.Nz(), 9);
    EXPECT_EQ(a.Irn()(4), 1);
    EXPECT_EQ(a.Jcn()(5), 2);
    EXPECT_EQ(a.Data()(5), -4.0);
    TNX::sparseMatrix b(a);
    b.SetAt(0, 0, 1.0);  // (0,0) becomes 5 in the copy only
    EXPECT_EQ(a.Nz(), 9);
    EXPECT_EQ(b.Nz(), 10);
    TNX::sparseMatrix c(1, 1, 1);
    c = b;
    EXPECT_EQ(c.Nz(), 10);
    EXPECT_EQ(c.Nr(), 3);
    b.Data()(0) = 100.0;
    EXPECT_EQ(c.Data()(0), 4.0);
    EXPECT_EQ(a.Data()(0), 4.0);
    c = c;  // self-assignment keeps the entries
    EXPECT_EQ(c.Nz(), 10);
    TNX::RMatrix da(3, 3), dc(3, 3);
    a.KickAss(da);
    c.KickAss(dc);
    EXPECT_EQ(da(0, 0), 4.0);
    EXPECT_EQ(dc(0, 0), 5.0);
    EXPECT_EQ(dc(2, 1), 1.0);
}

TEST(SparseMatrix, LogsOneLinePerSolveWhenAsked) {
    char path[] = "/tmp/vantaro_sparse_log_XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    {
        TNX::sparseMatrix m = Filled(kA3, 3, 9);
        m.SetLogging(path);
        std::vector<double> b = {3, 3, 28}, x(3);
        TNX::dynarray<double> rb(b.data(), 3), rx(x.data(), 3);
        m.Solve(rb, rx, false);
        m.Solve(rb, rx, true);
    }
    std::ifstream in(path);
    std::string l1, l2, l3;
    std::getline(in, l1);
    std::getline(in, l2);
    EXPECT_FALSE(std::getline(in, l3));
    EXPECT_NE(l1.find("order 3"), std::string::npos) << l1;
    EXPECT_NE(l1.find("solved"), std::string::npos) << l1;
    EXPECT_NE(l2.find("transpose 1"), std::string::npos) << l2;
    std::remove(path);
}

}  // namespace
