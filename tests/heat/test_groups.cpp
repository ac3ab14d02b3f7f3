// Dimensionless groups through the exports.
#include <gtest/gtest.h>

#include <cmath>

#include "vantaro/vantaro.h"

namespace {

TEST(Groups, ReynoldsPrandtlAndGrashof) {
    double x = 0, g2 = 0, gr = 0;
    EXPECT_EQ(Reynolds(1.0, 0.1, 1000.0, 1.0, &x), -1);
    EXPECT_DOUBLE_EQ(x, 100000.0);
    EXPECT_EQ(Reynolds(1000.0, 1.0, 0.1, 1.0, &x), -1);  // the first three only multiply
    EXPECT_DOUBLE_EQ(x, 100000.0);
    // Water at 20 C: cp 4.18 kJ/(kg K), 1.0 cP, 0.6 W/(m K) -> Pr 6.97.
    EXPECT_EQ(Prandtl(4.18, 1.0, 0.6, &x), -1);
    EXPECT_NEAR(x, 6.9667, 1e-4);
    // For an ideal gas rho ~ 1/T, so beta = 1/T1 and Gr = g (1/T1) dT L^3 / nu^2.
    // Swapping the temperatures alone changes nothing; swapping the pairs
    // refers beta and density to the other state.
    const double t1 = 300, t2 = 320, rho1 = 1.177, rho2 = rho1 * t1 / t2, mu = 0.01846, l = 0.1;
    const double nu = mu * 1e-3 / rho1;
    EXPECT_EQ(Grashof(t1, t2, l, mu, rho1, rho2, &gr), -1);
    EXPECT_NEAR(gr, 9.81 / t1 * (t2 - t1) * l * l * l / (nu * nu), 1e-9 * gr);
    EXPECT_EQ(Grashof(t2, t1, l, mu, rho1, rho2, &g2), -1);
    EXPECT_DOUBLE_EQ(g2, gr);
    EXPECT_EQ(Grashof(t2, t1, l, mu, rho2, rho1, &g2), -1);
    EXPECT_NEAR(g2, 9.81 / t2 * (t2 - t1) * l * l * l * rho2 * rho2 / (mu * mu * 1e-6), 1e-9 * g2);
}

TEST(Groups, NoCheckingButNoCrash) {
    double x = 0;
    EXPECT_EQ(Grashof(300, 300, 0.1, 0.018, 1.2, 1.2, &x), -1);
    EXPECT_TRUE(std::isnan(x));
    EXPECT_EQ(Reynolds(1, 1, 1, 0, &x), -1);
    EXPECT_TRUE(std::isinf(x));
    EXPECT_EQ(Reynolds(1, 1, 1, 1, nullptr), 0);
    EXPECT_EQ(Prandtl(1, 1, 1, nullptr), 0);
    EXPECT_EQ(Grashof(1, 2, 1, 1, 1, 1, nullptr), 0);
}

}  // namespace
