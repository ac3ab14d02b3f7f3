// Equilibrium ratios at given compositions.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "../support/component_table.h"
#include "props/liquid_density.h"
#include "thermo/eos.h"
#include "thermo/flash.h"
#include "thermo/lnk_at.h"

namespace vt {
namespace {

struct LnKAtTest : ::testing::Test { void TearDown() override { vt::CloseProps(); } };

// Identical compositions give the ratio of the liquid- and vapour-root
// fugacity coefficients (0 for a component absent from both; no derivative
// for mode <= 2), or Lee-Kesler's Psat/P for method 3; one side missing a
// component uses the 1e-30 floor.
TEST_F(LnKAtTest, IdenticalCompositionsAndTheFloor) {
    test::OpenTable({"methane", "propane", "n-hexane", "nitrogen"});
    const double x[] = {0.2, 0.3, 0.5, 0.0}, xa[] = {0.0, 0.0, 1.0, 0.0}, xb[] = {0.9, 0.0, 0.1, 0.0};
    double out[4];
    for (int method : {1, 2}) {
        double dout[4] = {7, 7, 7, 7}, a, b, v, z, s[4], phiL[4], phiV[4];
        LnKAt(method, 320.0, 1500.0, x, x, out, dout, 2);
        for (double d : dout) EXPECT_EQ(d, 7.0);
        EosSetState(method, 320.0, 1500.0);
        EosPhaseLnPhi(method, x, 1, &a, &b, &v, &z, s, phiL);
        EosPhaseLnPhi(method, x, 0, &a, &b, &v, &z, s, phiV);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(out[i], phiL[i] - phiV[i], 1e-12) << i;
        EXPECT_EQ(out[3], 0.0);
    }
    LnKAt(3, 320.0, 1500.0, x, x, out, nullptr, 0);
    EXPECT_NEAR(out[1], LeeKeslerLnPsat(1, 320.0) - std::log(1500.0), 1e-12);
    LnKAt(1, 320.0, 1500.0, xa, xb, out, nullptr, 0);
    EXPECT_NEAR(out[0], std::log(0.9 / 1e-30), 1e-9);
    LnKAt(1, 320.0, 1500.0, xb, xa, out, nullptr, 0);
    EXPECT_NEAR(out[0], std::log(1e-30 / 0.9), 1e-9);
}

// At a converged two-phase split the ratios at the phase compositions are the
// split's own equilibrium ratios, ln(y/x), for every method.
TEST_F(LnKAtTest, ConvergedSplitReproducesItsEquilibriumRatios) {
    test::OpenTable({"methane", "propane", "n-hexane"});
    for (int method : {1, 2, 3}) {
        std::vector<double> y(3), x(3), aq(3), z = {0.5, 0.2, 0.3};
        double* c[4] = {y.data(), x.data(), aq.data(), z.data()};
        int32_t st[3];
        double b[3], out[3];
        Flash(method, 320.0, 1500.0, c, st, b);
        ASSERT_TRUE(st[0] != 0 && st[1] != 0 && b[0] > 0.05 && b[1] > 0.05) << method;
        LnKAt(method, 320.0, 1500.0, x.data(), y.data(), out, nullptr, 0);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(out[i], std::log(y[i] / x[i]), 1e-3) << "method " << method << " component " << i;
    }
}

// d lnK/d(1/T) of a pure component at its vapour pressure is -dH_vap/R
// (Clausius-Clapeyron), with dH_vap from the departure functions; propane's
// is about 14.8 kJ/mol near 300 K (NIST).
TEST_F(LnKAtTest, TemperatureDerivativeIsTheHeatOfVaporisation) {
    test::OpenTable({"propane"});
    const double x[] = {1.0}, t = 300.0, p = 1000.0;
    double out[1], dout[1], a, b, v, z, s[1], h[2], cp, sd;
    LnKAt(1, t, p, x, x, out, dout, 3);
    EosSetState(1, t, p);
    for (int liquid : {0, 1}) {
        EosMixSolve(1, &a, &b, &v, &z, liquid, x, s);
        EosDeparture(1, &cp, &h[liquid], &sd, v, a, b, x);
    }
    const double dh = h[0] - h[1];
    EXPECT_NEAR(dout[0], -dh / 8.31432, 0.002 * dh / 8.31432);
    EXPECT_NEAR(dh / 14800.0, 1.0, 0.08);
}

TEST_F(LnKAtTest, FreeWaterUsesTheWaterCorrelation) {
    test::OpenTable({"methane", "n-hexane", "water"});
    test::SetFreeWater();
    const double xa[] = {0.001, 0.009, 0.99}, xb[] = {0.95, 0.03, 0.02}, dry[] = {0.1, 0.9, 0.0};
    double out[3] = {0, 0, 5.0}, dout[3] = {0, 0, 6.0};
    LnKAt(3, 330.0, 800.0, xa, xb, out, dout, 3);
    const double w = WaterLnK(330.0, 800.0, 0.99, 0.02);
    EXPECT_NEAR(out[2], w + std::log(0.02 / 0.99), 1e-12);
    EXPECT_NEAR(dout[2], (w - WaterLnK(330.0001, 800.0, 0.99, 0.02)) * 330.0 * 330.0 / 0.0001, 1e-6);
    out[2] = 5.0, dout[2] = 6.0;  // water absent from the liquid: its values are left as they were
    LnKAt(3, 330.0, 800.0, dry, xb, out, dout, 3);
    EXPECT_TRUE(out[2] == 5.0 && dout[2] == 6.0);
}

}  // namespace
}  // namespace vt
