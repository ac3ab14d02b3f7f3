// The cubic solver and the root choice of the mixture solve.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "../support/component_table.h"
#include "thermo/eos.h"

namespace vt {
namespace {

double Poly(const double* c, double z) { return ((z + c[0]) * z + c[1]) * z + c[2]; }

TEST(CubicRoots, TripleRootIsReportedAsDouble) {
    const double c[] = {-3.0, 3.0, -1.0};  // (Z - 1)^3
    double r[3];
    EXPECT_EQ(CubicRoots(c, r), 2);
    for (double v : r) EXPECT_DOUBLE_EQ(v, 1.0);
}

TEST(CubicRoots, ThreeRealRootsLargestSmallestMiddle) {
    const double c[] = {-6.0, 11.0, -6.0};  // (Z - 1)(Z - 2)(Z - 3)
    double r[3];
    ASSERT_EQ(CubicRoots(c, r), 3);
    // The angle constants carry 8 digits.
    EXPECT_NEAR(r[0], 3.0, 1e-6);
    EXPECT_NEAR(r[1], 1.0, 1e-6);
    EXPECT_NEAR(r[2], 2.0, 1e-6);
}

TEST(CubicRoots, OneRealRootWithTheComplexPair) {
    const double c[] = {-2.0, 1.0, -2.0};  // (Z - 2)(Z^2 + 1)
    double r[3];
    ASSERT_EQ(CubicRoots(c, r), 1);
    EXPECT_NEAR(r[0], 2.0, 1e-12);
    EXPECT_NEAR(r[1], 0.0, 1e-12);  // real part of +-i
    EXPECT_NEAR(r[2], 0.8660254 * 2.0 / std::sqrt(3.0), 1e-7);  // |Im| scaled by the constant
}

TEST(CubicRoots, IllConditionedCubicsStayAccurate) {
    struct Case {
        double a, b, c;  // the roots
        double tol;
    } cases[] = {
        {0.3, 0.3, 0.3, 1e-4},           // triple root away from 1, rounded coefficients
        {1.0, 1.000001, 0.2, 1e-5},      // two nearly equal roots
        {0.002, 0.0021, 0.95, 1e-6},     // liquid-like pair close together
        {1e-3, 0.5, 0.9, 1e-7},
    };
    for (const Case& k : cases) {
        const double c[] = {-(k.a + k.b + k.c), k.a * k.b + k.a * k.c + k.b * k.c, -k.a * k.b * k.c};
        double r[3];
        const int nr = CubicRoots(c, r);
        double want[] = {k.a, k.b, k.c};
        std::sort(want, want + 3);
        if (nr == 1) {
            // A near-multiple pair may come back as a complex pair: its real
            // part and the real root must still be close.
            const double got[] = {r[0], r[1], r[1]};
            double g[3] = {got[0], got[1], got[2]};
            std::sort(g, g + 3);
            for (int i = 0; i < 3; ++i) EXPECT_NEAR(g[i], want[i], k.tol) << k.b;
            EXPECT_LT(std::fabs(r[2]), k.tol);
        } else {
            double g[3] = {r[0], r[1], r[2]};
            std::sort(g, g + 3);
            for (int i = 0; i < 3; ++i) EXPECT_NEAR(g[i], want[i], k.tol) << k.b;
            for (double v : r) EXPECT_LT(std::fabs(Poly(c, v)), 1e-7);
        }
    }
}

class RootChoiceTest : public ::testing::Test {
protected:
    void TearDown() override { vt::CloseProps(); }
};

// A compressed liquid has one real root below 0.1; a vapour solve then
// takes the largest of the three values the solver returns.
TEST_F(RootChoiceTest, SmallSingleVapourRootIsReplaced) {
    test::OpenTable({"n-decane"});
    const double x[] = {1.0};
    EosSetState(1, 300.0, 1000.0);
    double a, b, v, z, s[1];
    EosMixSolve(1, &a, &b, &v, &z, 1, x, s);
    const double liquid = z;
    double r[3];
    ASSERT_EQ(CubicRoots(EosPar(1) + kCubic, r), 1);
    EXPECT_LT(r[0], 0.1);
    EXPECT_DOUBLE_EQ(liquid, r[0]);
    EosMixSolve(1, &a, &b, &v, &z, 0, x, s);
    EXPECT_DOUBLE_EQ(z, std::max({r[0], r[1], r[2]}));
    EXPECT_DOUBLE_EQ(v, z / EosPar(1)[kSlotBP]);
}

TEST_F(RootChoiceTest, TwoPhaseRegionGivesBothRoots) {
    test::OpenTable({"propane"});
    const double x[] = {1.0};
    EosSetState(1, 300.0, 997.6);  // at the vapour pressure: three roots
    double a, b, v, zl, zv, s[1];
    EosMixSolve(1, &a, &b, &v, &zl, 1, x, s);
    EosMixSolve(1, &a, &b, &v, &zv, 0, x, s);
    double r[3];
    ASSERT_EQ(CubicRoots(EosPar(1) + kCubic, r), 3);
    EXPECT_DOUBLE_EQ(zv, r[0]);
    EXPECT_DOUBLE_EQ(zl, r[1]);
    EXPECT_GT(zl, EosPar(1)[kBcub]);
}

}  // namespace
}  // namespace vt
