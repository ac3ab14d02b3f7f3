// The cubic solver and the root choice of the mixture solve.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "../support/component_table.h"
#include "thermo/eos.h"

namespace vt {
namespace {

// Roots in the solver's order: three real roots largest, smallest, middle
// (the angle constants carry 8 digits); a triple root reported as a double
// one; one real root with the real part and the scaled |Im| of the pair.
TEST(CubicRoots, CountAndOrder) {
    const struct { double c[3]; int n; double r[3], tol; } cases[] = {
        {{-3.0, 3.0, -1.0}, 2, {1.0, 1.0, 1.0}, 1e-15},                            // (Z - 1)^3
        {{-6.0, 11.0, -6.0}, 3, {3.0, 1.0, 2.0}, 1e-6},                            // (Z - 1)(Z - 2)(Z - 3)
        {{-2.0, 1.0, -2.0}, 1, {2.0, 0.0, 0.8660254 * 2.0 / std::sqrt(3.0)}, 1e-7},  // (Z - 2)(Z^2 + 1)
    };
    for (const auto& k : cases) {
        double r[3];
        EXPECT_EQ(CubicRoots(k.c, r), k.n);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(r[i], k.r[i], k.tol) << k.n << " " << i;
    }
}

TEST(CubicRoots, IllConditionedCubicsStayAccurate) {
    const struct {
        double a, b, c, tol;  // the roots
    } cases[] = {
        {0.3, 0.3, 0.3, 1e-4},        // triple root away from 1, rounded coefficients
        {1.0, 1.000001, 0.2, 1e-5},   // two nearly equal roots
        {0.002, 0.0021, 0.95, 1e-6},  // liquid-like pair close together
        {1e-3, 0.5, 0.9, 1e-7},
    };
    for (const auto& k : cases) {
        const double c[] = {-(k.a + k.b + k.c), k.a * k.b + k.a * k.c + k.b * k.c, -k.a * k.b * k.c};
        double r[3], want[] = {k.a, k.b, k.c};
        const int nr = CubicRoots(c, r);
        // A near-multiple pair may come back as a complex pair: its real part
        // and the real root must still be close.
        double g[3] = {r[0], r[1], nr == 1 ? r[1] : r[2]};
        std::sort(want, want + 3);
        std::sort(g, g + 3);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(g[i], want[i], k.tol) << k.b;
        if (nr == 1) {
            EXPECT_LT(std::fabs(r[2]), k.tol);
        }
        for (int i = 0; i < 3 && nr == 3; ++i) EXPECT_LT(std::fabs(((r[i] + c[0]) * r[i] + c[1]) * r[i] + c[2]), 1e-7);
    }
}

struct RootChoiceTest : ::testing::Test { void TearDown() override { vt::CloseProps(); } };

// A compressed liquid has one real root below 0.1, and a vapour solve then
// takes the largest of the three values the solver returns; at the vapour
// pressure the solve gives both roots.
TEST_F(RootChoiceTest, LiquidAndVapourRoots) {
    const double x[] = {1.0};
    double a, b, v, zl, zv, s[1], r[3];
    test::OpenTable({"n-decane"});
    EosSetState(1, 300.0, 1000.0);
    EosMixSolve(1, &a, &b, &v, &zl, 1, x, s);
    ASSERT_EQ(CubicRoots(EosPar(1) + kCubic, r), 1);
    EXPECT_LT(r[0], 0.1);
    EXPECT_DOUBLE_EQ(zl, r[0]);
    EosMixSolve(1, &a, &b, &v, &zv, 0, x, s);
    EXPECT_DOUBLE_EQ(zv, std::max({r[0], r[1], r[2]}));
    EXPECT_DOUBLE_EQ(v, zv / EosPar(1)[kSlotBP]);
    test::OpenTable({"propane"});
    EosSetState(1, 300.0, 997.6);
    EosMixSolve(1, &a, &b, &v, &zl, 1, x, s);
    EosMixSolve(1, &a, &b, &v, &zv, 0, x, s);
    ASSERT_EQ(CubicRoots(EosPar(1) + kCubic, r), 3);
    EXPECT_DOUBLE_EQ(zv, r[0]);
    EXPECT_DOUBLE_EQ(zl, r[1]);
    EXPECT_GT(zl, EosPar(1)[kBcub]);
}

}  // namespace
}  // namespace vt
