// Ideal-gas properties, water correlations, phase volumes and the
// property dispatcher.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "../support/component_table.h"
#include "props/liquid_density.h"
#include "thermo/eos.h"
#include "thermo/flash.h"
#include "thermo/phase_props.h"

namespace vt {
namespace {

using test::OpenTable;

class PhasePropsTest : public ::testing::Test {
protected:
    void TearDown() override { vt::CloseProps(); }
};

// Ideal-gas Cp and S at 298.15 K (NIST-JANAF / WebBook; n-butane's S0 310.23
// from Chen, Wilhoit & Zwolinski 1975).
TEST_F(PhasePropsTest, IdealGasAgainstTabulatedValues) {
    OpenTable({"methane", "water", "n-butane"});
    const struct {
        int i;
        double cp, s;
    } cases[] = {{0, 35.69, 186.25}, {1, 33.58, 188.83}, {2, 98.49, 310.23}};
    for (const auto& k : cases) {
        std::vector<double> x(3, 0.0);
        x[k.i] = 1.0;
        double cp = MISSING, h = MISSING, s = MISSING;
        const double r = IdealGasProps(298.15, x.data(), &cp, &h, &s);
        EXPECT_DOUBLE_EQ(r, cp);  // Cp first when requested
        EXPECT_NEAR(cp / k.cp, 1.0, 0.005) << k.i;
        if (k.s > 0) {
            EXPECT_NEAR(s, k.s, 0.5) << k.i;
        }
    }
    // H is the integral of Cp.
    const double x[] = {0.3, 0.2, 0.5};
    double cp, h1 = MISSING, h2 = MISSING, s;
    cp = 0.0, s = 0.0;  // only H requested: H is the result
    const double r1 = IdealGasProps(300.0, x, &cp, &h1, &s);
    EXPECT_DOUBLE_EQ(r1, h1);
    EXPECT_EQ(cp, 0.0);
    cp = 0.0, s = 0.0;
    IdealGasProps(500.0, x, &cp, &h2, &s);
    double integral = 0.0;
    for (int k = 0; k < 200; ++k) {
        double c = MISSING, hh = 0.0, ss = 0.0;
        integral += IdealGasProps(300.0 + (k + 0.5), x, &c, &hh, &ss);
    }
    EXPECT_NEAR(h2 - h1, integral, 1e-3 * integral);
    // Mixing entropy: -R sum x ln x.
    double c = 0, hm = 0, sm = MISSING;
    const double pure[] = {1.0, 0.0, 0.0}, half[] = {0.5, 0.0, 0.5};
    IdealGasProps(300.0, half, &c, &hm, &sm);
    double sa = MISSING, sb = MISSING;
    const double pureb[] = {0.0, 0.0, 1.0};
    IdealGasProps(300.0, pure, &c, &hm, &sa);
    IdealGasProps(300.0, pureb, &c, &hm, &sb);
    EXPECT_NEAR(sm - 0.5 * (sa + sb), 8.31432 * std::log(2.0), 1e-9);
}

TEST_F(PhasePropsTest, IdealGasWithNothingRequested) {
    OpenTable({"methane"});
    const double x[] = {1.0};
    double cp = 5.0, h = 6.0, s = 7.0;
    EXPECT_EQ(IdealGasProps(300.0, x, &cp, &h, &s), 0.0);
    EXPECT_EQ(cp, 0.0);
    EXPECT_EQ(h, 0.0);
    EXPECT_EQ(s, 0.0);
}

// IAPWS-IF97 saturated liquid and steam values.
TEST(WaterCorrelations, AgainstSteamTables) {
    EXPECT_NEAR(WaterMolarVolume(298.15, 101.325) / (18.015 / 997.05), 1.0, 0.002);
    EXPECT_NEAR(WaterMolarVolume(373.15, 101.325) / (18.015 / 958.35), 1.0, 0.002);
    EXPECT_NEAR(WaterMolarVolume(600.0, 12345.0) / (18.015 / 649.4), 1.0, 0.005);
    EXPECT_NEAR(WaterMolarVolume(723.15, 10000.0) / (0.02975 * 18.015), 1.0, 0.02);  // steam
    EXPECT_NEAR(WaterTsat(101.325), 373.124, 0.3);
    EXPECT_NEAR(WaterTsat(1000.0), 453.03, 0.3);
    EXPECT_NEAR(WaterTsat(15000.0), 615.31, 0.3);  // upper branch
    EXPECT_NEAR(WaterPsat(373.15) / 101.418, 1.0, 0.002);
    EXPECT_NEAR(WaterPsat(298.15) / 3.1699, 1.0, 0.002);
    EXPECT_NEAR(WaterPsat(500.0) / 2639.2, 1.0, 0.002);
    EXPECT_TRUE(std::isfinite(WaterTsat(0.0)));
}

TEST_F(PhasePropsTest, BerthelotVolume) {
    OpenTable({"methane", "ethane"});
    double x0[] = {0.9, 0.1}, x1[] = {0, 0}, x2[] = {0, 0};
    double* c[4] = {x0, x1, x2, x0};
    double v[4];
    BerthelotVolume(300.0, 1.0, c, v);
    EXPECT_NEAR(v[0] * 1.0 / (8.31432 * 300.0), 1.0, 1e-4);  // ideal gas at low pressure
    EXPECT_EQ(v[3], v[0]);
    EXPECT_EQ(v[1], MISSING);
    EXPECT_EQ(v[2], MISSING);
    BerthelotVolume(150.0, 50000.0, c, v);  // deep in the liquid region: Z limited to 0.3
    EXPECT_DOUBLE_EQ(v[0], 8.31432 * 0.3 * 150.0 / 50000.0);
}

TEST_F(PhasePropsTest, LiquidMolarDensityWithFreeWater) {
    OpenTable({"n-hexane", "water"});
    test::SetFreeWater();
    const double water[] = {0.0, 1.0};
    EXPECT_DOUBLE_EQ(LiquidMolarDensity(1, 300.0, 500.0, water), 1.0 / WaterMolarVolume(300.0, 500.0));
    const double mix[] = {0.6, 0.4};
    const double hexane[] = {1.0, 0.0};
    const double rhoHex = LiquidDensity(1, 300.0, 500.0, hexane);
    const double expect = 1.0 / (0.6 / rhoHex + 0.4 * WaterMolarVolume(300.0, 500.0));
    EXPECT_NEAR(LiquidMolarDensity(1, 300.0, 500.0, mix), expect, 1e-12 * expect);
    // Above hexane's critical temperature COSTALD has no density: none at all.
    EXPECT_EQ(LiquidMolarDensity(1, 520.0, 5000.0, mix), 0.0);
    // Without a free-water index (the equation-of-state methods) the table's
    // water still takes the water correlation: liquid water at 300 K is
    // 996.5 kg/m3 (IAPWS), where COSTALD would give about 1260.
    g_ws.iwater = -3;
    EXPECT_NEAR(LiquidMolarDensity(1, 300.0, 500.0, mix), expect, 1e-12 * expect);
    EXPECT_NEAR(LiquidMolarDensity(2, 300.0, 500.0, water) * 18.01528, 996.5, 5.0);
    // A table without water: the whole liquid goes through COSTALD.
    OpenTable({"n-hexane", "propane"});
    g_ws.iwater = -3;
    EXPECT_EQ(LiquidMolarDensity(1, 300.0, 500.0, mix), LiquidDensity(1, 300.0, 500.0, mix));
}

TEST_F(PhasePropsTest, EosVolumesUseCostaldForLiquids) {
    OpenTable({"propane", "n-butane"});
    double x0[] = {0.641, 0.359}, x1[] = {0.354, 0.646}, x2[] = {0.0, 0.0}, z[] = {0.5, 0.5};
    double* c[4] = {x0, x1, x2, z};
    const int32_t st[3] = {kVapour, kLiquid, 0};
    const double betas[3] = {0.5, 0.5, 0.0};
    double v[4];
    EosVolumes(1, 300.0, 500.0, st, c, betas, v);
    EXPECT_DOUBLE_EQ(v[0], EosPar(1)[kVmol]);
    EXPECT_DOUBLE_EQ(v[1], 1.0 / LiquidDensity(1, 300.0, 500.0, x1));
    EXPECT_EQ(v[2], EosPar(1)[kVmol + 2]);  // empty absent phase: the ideal-gas root
    EXPECT_NEAR(v[2], 8.31432 * 300.0 / 500.0, 1e-9);
    EXPECT_DOUBLE_EQ(v[3], 0.5 * v[0] + 0.5 * v[1]);
}

TEST_F(PhasePropsTest, DispatcherMethods) {
    OpenTable({"propane", "n-butane"});
    double x0[] = {0.641, 0.359}, x1[] = {0.354, 0.646}, x2[] = {0.0, 0.0}, z[] = {0.5, 0.5};
    double* c[4] = {x0, x1, x2, z};
    const int32_t st[3] = {kVapour, kLiquid, 0};
    const double betas[3] = {0.5, 0.5, 0.0};
    double h[5], s[5], cp[5], v[5];
    for (int hm : {0, 1, 2}) {
        PhaseProperties(1, hm, 300.0, 500.0, c, st, betas, h, s, cp, v);
        EXPECT_NEAR(h[3], 0.5 * h[0] + 0.5 * h[1], 1e-9) << hm;
        EXPECT_NEAR(v[3], 0.5 * v[0] + 0.5 * v[1], 1e-12);
        if (hm > 0) {
            // Heat of vaporisation of the liquid into the vapour: the
            // departures make the liquid the lower-enthalpy phase.
            EXPECT_LT(h[1], h[0] - 10000.0);
        }
    }
    // Ideal gas: no departure, equal H for equal compositions.
    PhaseProperties(0, 0, 300.0, 500.0, c, st, betas, h, s, cp, v);
    EXPECT_EQ(v[1], MISSING);
    EXPECT_NEAR(v[3], 0.5 * v[0], 1e-12);
    PhaseProperties(1, 7, 300.0, 500.0, c, st, betas, h, s, cp, v);
    EXPECT_EQ(h[0], MISSING);
    PhaseProperties(1, 1, std::nan(""), 500.0, c, st, betas, h, s, cp, v);
    EXPECT_EQ(v[3], MISSING);
    EXPECT_EQ(h[3], MISSING);
    PhaseProperties(1, 1, 300.0, -1.0, c, st, betas, h, s, cp, v);
    EXPECT_EQ(cp[0], MISSING);
}

// The engine's entropy is referred to 1 kPa: a dilute n-butane vapour at
// 298.15 K and 101.325 kPa has S0 - R ln(101.325) once the (small) real-gas
// departure at 101.325 kPa is taken out by evaluating at 0.1 kPa.
TEST_F(PhasePropsTest, ButaneEntropyOnThePressureScale) {
    OpenTable({"n-butane"});
    double y[] = {1.0}, none[] = {0.0};
    double* c[4] = {y, none, none, y};
    const int32_t st[3] = {kVapour, 0, 0};
    const double betas[3] = {1.0, 0.0, 0.0}, r = 8.31432, p = 0.1;
    double h[5], s[5], cp[5], v[5];
    for (int hm : {1, 2}) {
        PhaseProperties(hm, hm, 298.15, p, c, st, betas, h, s, cp, v);
        EXPECT_NEAR(s[3] + r * std::log(p / 101.325), 310.23 - r * std::log(101.325), 0.1) << hm;
    }
}

TEST_F(PhasePropsTest, EnthalpiesSkipAbsentAndUnsetPhases) {
    OpenTable({"propane", "n-butane"});
    double x0[] = {0.641, 0.359}, x1[] = {0.354, 0.646}, x2[] = {0.5, 0.5}, z[] = {0.5, 0.5};
    double* c[4] = {x0, x1, x2, z};
    const int32_t st[3] = {kVapour, kStateUnset, 0};
    const double betas[3] = {1.0, 0.0, 0.0};
    double h[4], s[4], cp[4];
    EosEnthalpies(1, 300.0, 500.0, st, c, betas, h, s, cp);
    EXPECT_EQ(h[1], 0.0);
    EXPECT_EQ(h[2], 0.0);
    EXPECT_DOUBLE_EQ(h[3], h[0]);
    // The vapour departure is small and negative at 500 kPa.
    double hig = MISSING, sx = 0, cx = 0;
    IdealGasProps(300.0, x0, &cx, &hig, &sx);
    EXPECT_LT(h[0] - hig, 0.0);
    EXPECT_GT(h[0] - hig, -1000.0);
}

}  // namespace
}  // namespace vt
