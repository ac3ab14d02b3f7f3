// The matrix classes: the dense matrix template, its views, the result and
// lazy matrices and the array underneath; the sparse solve through the
// SolveLinearEquations export where the behaviour is visible there, through
// the sparse matrix class otherwise.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "../support/csv.h"
#include "platform/alloc.h"
#include "vantaro/tnx/matrix.h"
#include "vantaro/vantaro.h"

namespace {

using TNX::Matrix;

// A 2 x 3 matrix with m(i, j) = 10 i + j.
Matrix<double> Sample() {
    Matrix<double> m(2, 3);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j) m(i, j) = 10.0 * i + j;
    return m;
}

TEST(Matrix, StoresColumnByColumnAndViewsWriteThrough) {
    Matrix<double> m = Sample();
    const double expected[] = {0, 10, 1, 11, 2, 12};
    for (int k = 0; k < 6; ++k) EXPECT_TRUE(m.Array()[k] == expected[k] && m(k) == expected[k]) << k;
    EXPECT_TRUE(m.Height() == 2 && m.Width() == 3 && m[1][2] == 12.0);
    TNX::Vector<double> c = m.Column(2), r = m.Row(1);
    EXPECT_TRUE(c.Length() == 2 && c.Stride() == 1 && c(1) == 12.0);
    EXPECT_TRUE(r.Length() == 3 && r.Stride() == 2 && r(0) == 10.0 && r(2) == 12.0);
    r[1] = -7.0;
    EXPECT_EQ(m(1, 1), -7.0);
    TNX::Vector<double> alias(r);  // copies of a view view the same storage
    alias = 3.0;
    EXPECT_TRUE(m(1, 0) == 3.0 && m(1, 2) == 3.0 && m(0, 2) == 2.0);
    Matrix<double> ones = Sample();
    ones = 1.0;
    (m += ones) -= ones;
    m -= ones;
    EXPECT_TRUE(m(1, 2) == 2.0 && m(0, 0) == -1.0);
}

// A view writes through to the caller's storage; copies (of views too) own
// their elements; assigning a different count reallocates an owning target,
// the same count into a view writes through. Owned storage is freed, viewed
// storage is not; impossible shapes and failed allocations throw, and a
// failed reallocation keeps the target.
TEST(Matrix, OwnershipImpossibleShapesAndFailedAllocations) {
    const long live = vt::platform::LiveAllocations();
    {
        double store[6] = {1, 2, 3, 4, 5, 6};
        Matrix<double> v(3, 2, store), copy(v), other(5, 5);
        v(0, 1) = 40.0;
        copy(0, 0) = -1.0;
        EXPECT_TRUE(!v.Data().ownData && store[3] == 40.0 && copy.Data().ownData && store[0] == 1.0);
        other = Sample();
        EXPECT_TRUE(other.Data().size == 6 && other.Width() == 3 && other(1, 1) == 11.0);
        v = other;
        EXPECT_EQ(store[5], 12.0);
    }
    EXPECT_EQ(vt::platform::LiveAllocations(), live);
    EXPECT_THROW(Matrix<double>(-1, 3), std::bad_array_new_length);
    EXPECT_THROW(Matrix<double>(70000, 70000), std::bad_array_new_length);
    vt::platform::FailAllocationAt(1);
    EXPECT_THROW(Matrix<double>(3, 3), std::bad_alloc);
    vt::platform::FailAllocationAt(0);
    Matrix<double> m = Sample(), target(4, 4);
    vt::platform::FailAllocationAt(1);
    EXPECT_THROW(target = m, std::bad_alloc);
    vt::platform::FailAllocationAt(0);
    EXPECT_TRUE(target.Data().size == 16 && target.Height() == 4 && vt::platform::LiveAllocations() == live + 2);
}

TEST(RMatrix, FlagsInfoAndBoundsCheckedStore) {
    TNX::RMatrix r(2, 3);
    r.SetValue(1, 2, 4.5);
    EXPECT_TRUE(r(1, 2) == 4.5 && r.Array()[5] == 4.5 && r.isOK() && r.getInfo() == 0);
    for (auto [i, j] : {std::pair{2, 0}, {0, 3}, {-1, 0}, {0, -1}}) {
        TNX::RMatrix t(2, 3);
        t.SetValue(i, j, 1.0);
        EXPECT_FALSE(t.isOK()) << i << "," << j;
    }
    r.setInfo(-3);
    r.setBad();
    TNX::RMatrix copy(r), assigned;
    assigned = r;  // copies keep the flags
    for (const TNX::RMatrix* m : {&copy, &assigned})
        EXPECT_TRUE(!m->isOK() && m->getInfo() == -3 && m->Height() == 2 && (*m)(1, 2) == 4.5);
}

#ifndef NDEBUG
// The array's assertions fire on caller errors in builds that keep them.
TEST(MatrixDeathTest, AssertionsNameTheBrokenPrecondition) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Matrix<double> m = Sample(), small(1, 2);
    double store[2] = {};
    Matrix<double> view(1, 2, store);
    EXPECT_DEATH(m(6), "i>=0 && i<size");
    EXPECT_DEATH(m(-1, 0), "i>=0 && i<size");
    EXPECT_DEATH(m += small, "size == d.size");
    EXPECT_DEATH(view = m, "ownData");
}
#else
// Without the assertions the same errors stay harmless.
TEST(Matrix, CallerErrorsStaySafeWithoutAssertions) {
    Matrix<double> m = Sample(), small(1, 2);
    small = 1.0;
    m += small;
    EXPECT_EQ(m(1, 2), 12.0) << "sizes differ: unchanged";
    double store[2] = {7, 8};
    {
        Matrix<double> view(1, 2, store);
        view = m;  // detaches instead of freeing the caller's storage
        EXPECT_TRUE(view(1, 2) == 12.0 && view.Data().ownData);
    }
    EXPECT_TRUE(store[0] == 7.0 && store[1] == 8.0);
}
#endif

using Entries = std::vector<SparseEntry>;
using Vec = std::vector<double>;

// max |b - A x| (or b - A^T x) from the entries, in long double.
double MaxResidual(const Entries& e, const Vec& x, const Vec& b, bool transpose = false) {
    std::vector<long double> r(b.begin(), b.end());
    for (const auto& t : e)
        r[transpose ? t.column : t.row] -= static_cast<long double>(t.value) * x[transpose ? t.row : t.column];
    long double m = 0;
    for (long double v : r) m = std::max(m, std::fabs(v));
    return static_cast<double>(m);
}

int32_t Solve(const Entries& e, int n, Vec b, Vec& x, int option = 0) {
    x.assign(n, -99.0);
    return SolveLinearEquations(static_cast<int32_t>(e.size()), n, e.data(), b.data(), x.data(), option);
}

// A = [[4,-2,1],[3,6,-4],[2,1,8]]: A (1,2,3) = (3,3,28), A^T (1,2,3) = (16,13,17).
const Entries kA3 = {{0, 0, 4}, {0, 1, -2}, {0, 2, 1}, {1, 0, 3}, {1, 1, 6},
                     {1, 2, -4}, {2, 0, 2}, {2, 1, 1}, {2, 2, 8}};

// Each system of tests/data/sparse_systems.csv: solvable ones give the
// known solution, the others return 0 and leave both vectors alone. The
// right-hand side is only read.
TEST(SolveLinearEquations, KnownSystemsSolveOrAreRefused) {
    for (const vt::test::CsvRow& c : vt::test::ReadCsv("tests/data/sparse_systems.csv")) {
        SCOPED_TRACE(c.Str("name"));
        const int n = static_cast<int>(c["n"]);
        Entries e;
        for (const std::string& t : vt::test::Split(c.Str("entries"))) {
            const size_t i = t.find(':'), j = t.find(':', i + 1);
            e.push_back({std::stoi(t.substr(0, i)), std::stoi(t.substr(i + 1, j - i - 1)), std::stod(t.substr(j + 1))});
        }
        const Vec b0 = vt::test::Numbers(c.Str("b")), want = vt::test::Numbers(c.Str("x"));
        Vec b = b0, x(n, -99.0);
        const int32_t r = SolveLinearEquations(static_cast<int32_t>(e.size()), n, e.data(), b.data(), x.data(),
                                               static_cast<int32_t>(c["option"]));
        EXPECT_TRUE(r == (want.empty() ? 0 : 1) && !std::memcmp(b.data(), b0.data(), b.size() * sizeof(double))) << r;
        for (int i = 0; i < n; ++i) {
            const double w = want.empty() ? -99.0 : want[i];
            EXPECT_NEAR(x[i], w, 1e-13 * (w != 0 ? std::abs(w) : 1.0)) << i;
        }
    }
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
            e.push_back({i, j, val(g)});
            sum += std::abs(e.back().value);
        }
        e.push_back({i, i, (sum + 1.0) * (val(g) < 0 ? -1.0 : 1.0)});
    }
    return e;
}

TEST(SolveLinearEquations, RandomDiagonallyDominantOrder2000AndInPlace) {
    const int n = 2000;
    const Entries e = RandomDominant(n, 2026, 60);
    std::mt19937 g(11);
    std::uniform_real_distribution<double> val(-100.0, 100.0);
    Vec b(n), x[2];
    for (double& v : b) v = val(g);
    for (int option : {0, 1}) {
        ASSERT_EQ(Solve(e, n, b, x[option], option), 1) << option;
        EXPECT_LE(MaxResidual(e, x[option], b, option == 1) / 100.0, 1e-10) << "option " << option;
    }
    // The matrix is not symmetric: the transposed solution does not solve A x = b.
    EXPECT_GT(MaxResidual(e, x[1], b), 1e-3);
    Vec v = {3, 3, 28};  // both vectors one array
    ASSERT_EQ(SolveLinearEquations(9, 3, kA3.data(), v.data(), v.data(), 0), 1);
    EXPECT_NEAR(MaxResidual(kA3, v, {3, 3, 28}), 0.0, 1e-13);
}

// Bad arguments return 0 and leave both vectors alone: no unknowns, a
// negative count, null arrays, fewer entries than unknowns (refused before
// anything of order n is allocated). A failed allocation at any step
// refuses the same way and leaks nothing.
TEST(SolveLinearEquations, GuardsArgumentsAndSurvivesFailedAllocations) {
    Vec b = {3, 3, 28}, x(3, -99.0);
    const Vec untouchedX(3, -99.0), untouchedB = b;
    const SparseEntry* a = kA3.data();
    for (auto [nnz, n, e, bb, xx] : {std::tuple{9, 0, a, b.data(), x.data()}, {9, -3, a, b.data(), x.data()},
                                     {-1, 3, a, b.data(), x.data()}, {9, 3, nullptr, b.data(), x.data()},
                                     {0, 3, nullptr, b.data(), x.data()}, {9, 3, a, nullptr, x.data()},
                                     {9, 3, a, b.data(), nullptr}, {9, INT32_MAX, a, b.data(), x.data()}})
        EXPECT_EQ(SolveLinearEquations(nnz, n, e, bb, xx, 0), 0) << nnz << " " << n;
    EXPECT_TRUE(x == untouchedX && b == untouchedB);
    const long live = vt::platform::LiveAllocations();
    bool sawFailure = false;
    for (int k = 1; k <= 12; ++k) {
        vt::platform::FailAllocationAt(k);
        const int32_t r = Solve(kA3, 3, {3, 3, 28}, x);
        vt::platform::FailAllocationAt(0);
        sawFailure |= r == 0;
        EXPECT_TRUE(r == 0 ? x == untouchedX : std::fabs(x[2] - 3.0) < 1e-14) << k;
        EXPECT_EQ(vt::platform::LiveAllocations(), live) << k;
    }
    EXPECT_TRUE(sawFailure);
}


TNX::sparseMatrix Filled(const Entries& e, int n, int capacity) {
    TNX::sparseMatrix m(capacity, n, n);
    for (const auto& t : e) EXPECT_TRUE(m.SetAt(t.row, t.column, t.value));
    return m;
}

bool SolveA3(TNX::sparseMatrix& m, Vec& x, int bSize = 3, bool nullX = false) {
    Vec b = {3, 3, 28};
    x.assign(3, -99.0);
    TNX::dynarray<double> rb(b.data(), bSize), rx(x.data(), 3), none;
    return m.Solve(rb, nullX ? none : rx, false);
}

// Every fill-in setting solves the system; the backward error, the factor's
// size and the column permutation are reported.
TEST(SparseMatrix, EveryFillInSettingSolvesTheSameSystem) {
    const int n = 300;
    const Entries e = RandomDominant(n, 5);
    Vec b(n, 1.0);
    for (int setting : {0, 1, 7}) {
        TNX::sparseMatrix m = Filled(e, n, static_cast<int>(e.size()));
        m.SetFillIn(setting);
        Vec x(n, 0.0);
        TNX::dynarray<double> rb(b.data(), n), rx(x.data(), n);
        ASSERT_TRUE(m.Solve(rb, rx, false)) << setting;
        EXPECT_LE(MaxResidual(e, x, b), 1e-12) << setting;
        EXPECT_TRUE(m.BackwardError() > -1.0 && m.BackwardError() < 1e-15 && m.FactorNonZeros() >= n) << setting;
        ASSERT_EQ(m.Ip().size, n);
        std::vector<int> seen(n, 0);
        for (int j = 0; j < n; ++j) ++seen.at(m.Ip()(j));
        EXPECT_EQ(seen, std::vector<int>(n, 1));
    }
}

// Short vectors, a count handed out by reference and set beyond the stored
// arrays, an index poked in through the accessor, a rejected entry (which
// invalidates the matrix), a negative capacity, a non-square matrix: no
// solve, the solution vector untouched.
TEST(SparseMatrix, RejectedEntriesShortVectorsAndTamperedCounts) {
    Vec x;
    TNX::sparseMatrix m = Filled(kA3, 3, 9);
    EXPECT_FALSE(SolveA3(m, x, 2) || SolveA3(m, x, 3, true));
    m.Nz() = 1000;
    EXPECT_FALSE(SolveA3(m, x));
    m.Nz() = 9;
    m.Irn()(0) = 17;
    EXPECT_TRUE(!SolveA3(m, x) && x == Vec(3, -99.0));
    m.Irn()(0) = 0;
    EXPECT_TRUE(SolveA3(m, x));
    EXPECT_FALSE(m.SetAt(3, 0, 1.0) || m.IsValid() || SolveA3(m, x));
    EXPECT_TRUE(m.Nz() == 9 && x == Vec(3, -99.0));
    TNX::RMatrix dense(3, 3);
    m.KickAss(dense);
    EXPECT_FALSE(dense.isOK());
    TNX::sparseMatrix negative(-1, 2, 2), notSquare(2, 2, 3);
    notSquare.SetAt(0, 0, 1);
    notSquare.SetAt(1, 1, 1);
    EXPECT_FALSE(negative.IsValid() || SolveA3(notSquare, x));
}

// The backward error stays a number when the right-hand side lies near the
// top of the double range.
TEST(SparseMatrix, BackwardErrorOfAHugeRightHandSide) {
    for (double big : {DBL_MAX, -DBL_MAX, 1e300}) {
        TNX::sparseMatrix m = Filled({{0, 0, 60.0}, {1, 1, 0.5}}, 2, 2);
        double b[2] = {big, 100.0}, x[2] = {0.0, 0.0};
        TNX::dynarray<double> rb(b, 2), rx(x, 2);
        ASSERT_TRUE(m.Solve(rb, rx, false)) << big;
        EXPECT_TRUE(std::fabs(x[0] / (big / 60.0) - 1) < 1e-15 && std::fabs(x[1] - 200.0) < 1e-12 && m.BackwardError() >= 0.0 && m.BackwardError() < 1e-15)
            << big << " " << x[0] << " " << m.BackwardError();
    }
}

TEST(SparseMatrix, GrowsAndCopiesDeeply) {
    TNX::sparseMatrix a = Filled(kA3, 3, 2);  // room for 2: grows
    EXPECT_TRUE(a.Nz() == 9 && a.Irn()(4) == 1 && a.Jcn()(5) == 2 && a.Data()(5) == -4.0);
    TNX::sparseMatrix b(a), c(1, 1, 1);
    b.SetAt(0, 0, 1.0);  // (0,0) becomes 5 in the copy only
    c = b;
    c = c;  // self-assignment keeps the entries
    b.Data()(0) = 100.0;
    EXPECT_TRUE(a.Nz() == 9 && c.Nz() == 10 && c.Nr() == 3 && c.Data()(0) == 4.0 && a.Data()(0) == 4.0);
    TNX::RMatrix da(3, 3), dc(3, 3);
    a.KickAss(da);
    c.KickAss(dc);
    EXPECT_TRUE(da(0, 0) == 4.0 && dc(0, 0) == 5.0 && dc(2, 1) == 1.0);
}

}  // namespace
