// Friction factor: the three regimes, both turbulent correlations against the
// Colebrook equation (the Moody chart), the fittings' equivalent length and
// the export's guards.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "hydraulics/friction.h"
#include "vantaro/vantaro.h"

namespace {

double Darcy(int method, double re, double d, double eps) {
    double f = -1;
    EXPECT_EQ(vt::FrictionFactor(method, re, d, eps, &f), 1);
    return f;
}

// Colebrook (1939), solved by fixed-point iteration: the implicit equation
// behind the Moody chart.
double Colebrook(double re, double relRough) {
    double x = 8.0;  // 1/sqrt(f)
    for (int i = 0; i < 200; ++i) x = -2.0 * std::log10(relRough / 3.7 + 2.51 * x / re);
    return 1.0 / (x * x);
}

TEST(Friction, RegimesAndTheirBoundaries) {
    const struct { int method; double re, d, eps, f, tol; } cases[] = {
        // Laminar whatever the code.
        {0, 1000, 1, 0, 0.064, 1e-12}, {1, 1000, 1, 0, 0.064, 1e-12}, {7, 1000, 1, 0, 0.064, 1e-12},
        {0, 10, 1, 0, 4.0, 0},  // Fanning 1.6 capped at 1
        {0, 3000, 1, 0, 0.04356, 5e-5}, {1, 3000, 1, 0, 0.04356, 5e-5}, {0, 1e5, 1, 0, 0.01760, 5e-5},
        {1, 1e5, 1, 0, 0.01801, 5e-5}, {0, 1e5, 4, 0.0018, 0.02029, 5e-5}, {1, 1e5, 4, 0.0018, 0.02019, 5e-5},
        {2, 1e5, 1, 0, 0.0, 0}, {-1, 1e5, 1, 0, 0.0, 0}, {2, 4000, 1, 0.001, 0.0, 0},  // turbulent from 4000
        {1, 2099.999, 1, 0, 64 / 2099.999, 1e-12},  // 2100 starts the transition form
    };
    for (const auto& c : cases)
        EXPECT_NEAR(Darcy(c.method, c.re, c.d, c.eps), c.f, c.tol) << "method " << c.method << " Re " << c.re;
    EXPECT_GT(Darcy(1, 2100, 1, 0), 64 / 2100.0);
    EXPECT_EQ(Darcy(2, 3999.9, 1, 0.001), Darcy(0, 3999.9, 1, 0.001));  // transition: no code
    // A NaN Reynolds number falls into the turbulent branch.
    EXPECT_TRUE(std::isnan(Darcy(0, std::numeric_limits<double>::quiet_NaN(), 1, 0.001)));
}

// Chen is within 0.5 % of Colebrook; Round's simpler form within 5 % up to
// Re = 1e6 and e/D = 0.01 and within 11 % beyond; the transition form
// (Zigrang-Sylvester) within 0.2 %, also where the chart extends Colebrook
// into the transition zone.
TEST(Friction, CorrelationsFollowColebrookAcrossTheMoodyChart) {
    for (double rr : {0.0, 1e-5, 1e-4, 1e-3, 1e-2, 0.05}) {
        for (double re : {5e3, 1e4, 1e5, 1e6, 1e7, 1e8}) {
            const double ref = Colebrook(re, rr);
            EXPECT_NEAR(Darcy(1, re, 1, rr), ref, 0.005 * ref) << "Chen Re " << re << " e/D " << rr;
            EXPECT_NEAR(Darcy(0, re, 1, rr), ref, (re <= 1e6 && rr <= 0.01 ? 0.05 : 0.11) * ref)
                << "Round Re " << re << " e/D " << rr;
        }
        for (double re : {2100.0, 2500.0, 3000.0, 3999.0})
            if (rr <= 1e-2) {
                EXPECT_NEAR(Darcy(0, re, 1, rr), Colebrook(re, rr), 0.002 * Colebrook(re, rr)) << re << " " << rr;
            }
    }
}

TEST(Friction, PublishedMoodyValues) {
    // Smooth pipe (Colebrook / Prandtl-Karman): 0.0180 at 1e5, 0.0116 at 1e6.
    EXPECT_NEAR(Darcy(1, 1e5, 1, 0), 0.0180, 0.0001);
    EXPECT_NEAR(Darcy(1, 1e6, 1, 0), 0.0116, 0.0001);
    // Complete turbulence, von Karman: 1/sqrt(f) = -2 log10(e/3.7D);
    // e/D = 0.001 -> 0.01962. Commercial steel, 4 in: e = 0.0018 in, fully
    // rough f ~ 0.0163 (Crane TP-410 gives 0.017).
    const struct {
        int method;
        double d, eps, f, tol;
    } cases[] = {{1, 1, 0.001, 0.01962, 0.0001}, {1, 1, 0.001, 0.01963, 5e-6}, {0, 1, 0.001, 0.02061, 5e-6},
                 {1, 4.026, 0.0018, 0.0163, 0.0003}};
    for (const auto& c : cases) {
        double f = 0;
        EXPECT_EQ(TurbulentFrictionFactor(c.method, c.d, c.eps, &f), 1);
        EXPECT_NEAR(f, c.f, c.tol) << c.method << " " << c.d;
    }
}

TEST(Friction, TurbulentFrictionFactorGuards) {
    EXPECT_EQ(TurbulentFrictionFactor(0, 1, 0.001, nullptr), 0);
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const struct {
        int method;
        double d, eps;
    } bad[] = {{2, 1, 0.001}, {0, 0, 0.001}, {0, -1, 0.001}, {1, nan, 0.001}, {1, inf, 0.001}, {1, 1, -0.001},
               {1, 1, nan}, {1, 1e-308, 1e308}};  // the last finite, but the correlation overflows
    for (const auto& b : bad) {
        double f = 0;
        EXPECT_EQ(TurbulentFrictionFactor(b.method, b.d, b.eps, &f), 0);
        EXPECT_EQ(f, VANTARO_MISSING);
    }
}

TEST(Friction, FittingEquivalentLengthAndLogarithmGuard) {
    double leq = 0;
    EXPECT_EQ(vt::FittingEquivalentLength(1, 0.5, 30, 4, 0.0018, 0.02, &leq), 1);
    EXPECT_NEAR(leq, 5.025, 5e-4);
    EXPECT_EQ(vt::FittingEquivalentLength(0, 2.0, 0, 10, 0.0018, 0.02, &leq), 1);  // K only: L = K D / f
    EXPECT_DOUBLE_EQ(leq, 2.0 * 0.254 / 0.02);
    EXPECT_EQ(vt::GuardedLog10(0.0), -1000.0);
    EXPECT_EQ(vt::GuardedLn(-2.0), -1000.0);
    EXPECT_DOUBLE_EQ(vt::GuardedLog10(100.0), 2.0);
}

}  // namespace
