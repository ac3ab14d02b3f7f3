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
        {{-0.9541, 0.0038992, -3.99e-6}, 3, {0.95, 0.002, 0.0021}, 1e-6},             // a liquid-like close pair
    };
    for (const auto& k : cases) {
        double r[3];
        EXPECT_EQ(CubicRoots(k.c, r), k.n);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(r[i], k.r[i], k.tol) << k.n << " " << i;
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
