// Ideal-gas properties, water correlations, phase volumes and the
// property dispatcher.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "../support/component_table.h"
#include "correlations/liquid_density.h"
#include "thermo/eos.h"
#include "thermo/flash.h"
#include "thermo/phase_props.h"

namespace vt {
namespace {

using test::OpenTable;

struct PhasePropsTest : ::testing::Test { void TearDown() override { vt::CloseProps(); } };

// Ideal-gas properties of x at t: the requested ones (MISSING on entry) are
// written, Cp first as the result, then H.
struct IgProps {
    double result, cp, h, s;
};
IgProps Ideal(double t, const double* x, bool cp, bool h, bool s) {
    IgProps p{0, cp ? MISSING : 0.0, h ? MISSING : 0.0, s ? MISSING : 0.0};
    p.result = IdealGasProps(vt::g_ws, t, x, &p.cp, &p.h, &p.s);
    return p;
}

// Ideal-gas Cp and S at 298.15 K (NIST-JANAF / WebBook; n-butane's S0 310.23
// from Chen, Wilhoit & Zwolinski 1975); H is the integral of Cp; the mixing
// entropy is -R sum x ln x.
TEST_F(PhasePropsTest, IdealGasAgainstTabulatedValues) {
    OpenTable({"methane", "water", "n-butane"});
    const struct { double cp, s; } cases[] = {{35.69, 186.25}, {33.58, 188.83}, {98.49, 310.23}};
    for (int i = 0; i < 3; ++i) {
        const auto x = test::Pure(3, i);
        const IgProps p = Ideal(298.15, x.data(), true, true, true);
        EXPECT_TRUE(p.result == p.cp && std::fabs(p.cp / cases[i].cp - 1.0) < 0.005) << i << " " << p.cp;
        EXPECT_NEAR(p.s, cases[i].s, 0.5) << i;
    }
    const double x[] = {0.3, 0.2, 0.5}, half[] = {0.5, 0.0, 0.5}, a[] = {1.0, 0.0, 0.0}, b[] = {0.0, 0.0, 1.0};
    const IgProps h1 = Ideal(300.0, x, false, true, false);
    EXPECT_TRUE(h1.result == h1.h && h1.cp == 0.0);  // only H requested: H is the result
    double integral = 0.0;
    for (int k = 0; k < 200; ++k) integral += Ideal(300.0 + (k + 0.5), x, true, false, false).result;
    EXPECT_NEAR(Ideal(500.0, x, false, true, false).h - h1.h, integral, 1e-3 * integral);
    auto s = [&](const double* x) { return Ideal(300.0, x, false, false, true).s; };
    EXPECT_NEAR(s(half) - 0.5 * (s(a) + s(b)), 8.31432 * std::log(2.0), 1e-9);
    const IgProps none = Ideal(300.0, a, false, false, false);
    EXPECT_TRUE(none.result == 0.0 && none.cp == 0.0 && none.h == 0.0 && none.s == 0.0);
}

// IAPWS-IF97 liquid and steam volumes and saturation temperatures (the
// saturation pressure is checked against IF97 with the flash).
TEST(WaterCorrelations, AgainstSteamTables) {
    for (auto [t, p, rho, tol] : {std::tuple{298.15, 101.325, 997.05, 0.002}, {373.15, 101.325, 958.35, 0.002},
                                  {600.0, 12345.0, 649.4, 0.005}, {723.15, 10000.0, 1.0 / 0.02975, 0.02}})
        EXPECT_NEAR(WaterMolarVolume(t, p) / (18.015 / rho), 1.0, tol) << t;
    for (auto [p, t] : {std::pair{101.325, 373.124}, {1000.0, 453.03}, {15000.0, 615.31}})
        EXPECT_NEAR(WaterTsat(p), t, 0.3) << p;
    EXPECT_TRUE(std::isfinite(WaterTsat(0.0)));
}

TEST_F(PhasePropsTest, BerthelotAndWaterMixtureVolumes) {
    OpenTable({"methane", "ethane"});
    double x0[] = {0.9, 0.1}, x1[] = {0, 0}, v[4];
    double* c[4] = {x0, x1, x1, x0};
    BerthelotVolume(vt::g_ws, 300.0, 1.0, c, v);
    EXPECT_NEAR(v[0] / (8.31432 * 300.0), 1.0, 1e-4);  // ideal gas at low pressure
    EXPECT_TRUE(v[3] == v[0] && v[1] == MISSING && v[2] == MISSING);
    BerthelotVolume(vt::g_ws, 150.0, 50000.0, c, v);  // deep in the liquid region: Z limited to 0.3
    EXPECT_DOUBLE_EQ(v[0], 8.31432 * 0.3 * 150.0 / 50000.0);
    // Liquid water always takes the water correlation (996.5 kg/m3 at 300 K,
    // IAPWS, where COSTALD would give about 1260), mixed by volume with the
    // COSTALD hydrocarbons; above hexane's critical temperature COSTALD has no
    // density and the mixture none at all.
    OpenTable({"n-hexane", "water"});
    const double water[] = {0.0, 1.0}, mix[] = {0.6, 0.4}, hexane[] = {1.0, 0.0};
    const double expect = 1.0 / (0.6 / LiquidDensity(vt::g_ws, 1, 300.0, 500.0, hexane) + 0.4 * WaterMolarVolume(300.0, 500.0));
    EXPECT_DOUBLE_EQ(LiquidMolarDensity(vt::g_ws, 1, 300.0, 500.0, water), 1.0 / WaterMolarVolume(300.0, 500.0));
    EXPECT_NEAR(LiquidMolarDensity(vt::g_ws, 1, 300.0, 500.0, mix), expect, 1e-12 * expect);
    EXPECT_EQ(LiquidMolarDensity(vt::g_ws, 1, 520.0, 5000.0, mix), 0.0);
    EXPECT_NEAR(LiquidMolarDensity(vt::g_ws, 2, 300.0, 500.0, water) * 18.01528, 996.5, 5.0);
    OpenTable({"n-hexane", "propane"});  // a table without water: all through COSTALD
    EXPECT_EQ(LiquidMolarDensity(vt::g_ws, 1, 300.0, 500.0, mix), LiquidDensity(vt::g_ws, 1, 300.0, 500.0, mix));
}

// Phase volumes (EOS vapour, COSTALD liquid, an empty absent phase the
// ideal-gas root), the enthalpy methods and the combined values; the
// departures make the liquid the lower-enthalpy phase; unusable methods and
// states give MISSING.
TEST_F(PhasePropsTest, VolumesAndTheDispatcher) {
    OpenTable({"propane", "n-butane"});
    double x0[] = {0.641, 0.359}, x1[] = {0.354, 0.646}, x2[] = {0.0, 0.0}, z[] = {0.5, 0.5}, v[5];
    double* c[4] = {x0, x1, x2, z};
    const int32_t st[3] = {kVapour, kLiquid, 0};
    const double betas[3] = {0.5, 0.5, 0.0};
    EosVolumes(vt::g_ws, 1, 300.0, 500.0, st, c, betas, v);
    EXPECT_TRUE(v[0] == EosPar(vt::g_ws, 1)[kVmol] && v[2] == EosPar(vt::g_ws, 1)[kVmol + 2]);
    EXPECT_DOUBLE_EQ(v[1], 1.0 / LiquidDensity(vt::g_ws, 1, 300.0, 500.0, x1));
    EXPECT_NEAR(v[2], 8.31432 * 300.0 / 500.0, 1e-9);
    double h[5], s[5], cp[5];
    for (int hm : {0, 1, 2}) {
        PhaseProperties(vt::g_ws, 1, hm, 300.0, 500.0, c, st, betas, h, s, cp, v);
        EXPECT_NEAR(h[3], 0.5 * h[0] + 0.5 * h[1], 1e-9) << hm;
        EXPECT_NEAR(v[3], 0.5 * v[0] + 0.5 * v[1], 1e-12);
        EXPECT_TRUE(hm == 0 || h[1] < h[0] - 10000.0) << hm;
    }
    PhaseProperties(vt::g_ws, 0, 0, 300.0, 500.0, c, st, betas, h, s, cp, v);  // ideal gas: no liquid volume
    EXPECT_TRUE(v[1] == MISSING && std::fabs(v[3] - 0.5 * v[0]) < 1e-12);
    PhaseProperties(vt::g_ws, 1, 7, 300.0, 500.0, c, st, betas, h, s, cp, v);
    EXPECT_EQ(h[0], MISSING);
    PhaseProperties(vt::g_ws, 1, 1, std::nan(""), 500.0, c, st, betas, h, s, cp, v);
    EXPECT_TRUE(v[3] == MISSING && h[3] == MISSING);
    PhaseProperties(vt::g_ws, 1, 1, 300.0, -1.0, c, st, betas, h, s, cp, v);
    EXPECT_EQ(cp[0], MISSING);
    // Absent and unset phases are skipped; the vapour departure is small and
    // negative at 500 kPa.
    const int32_t st2[3] = {kVapour, kStateUnset, 0};
    const double b2[3] = {1.0, 0.0, 0.0};
    EosEnthalpies(vt::g_ws, 1, 300.0, 500.0, st2, c, b2, h, s, cp);
    EXPECT_TRUE(h[1] == 0.0 && h[2] == 0.0 && h[3] == h[0]);
    const double dep = h[0] - Ideal(300.0, x0, false, true, false).h;
    EXPECT_TRUE(dep < 0.0 && dep > -1000.0);
}

// The engine's entropy is referred to 1 kPa: a dilute n-butane vapour at
// 298.15 K and 101.325 kPa has S0 - R ln(101.325) once the (small) real-gas
// departure at 101.325 kPa is taken out by evaluating at 0.1 kPa.
TEST_F(PhasePropsTest, ButaneEntropyOnThePressureScale) {
    OpenTable({"n-butane"});
    double y[] = {1.0}, none[] = {0.0}, h[5], s[5], cp[5], v[5];
    double* c[4] = {y, none, none, y};
    const int32_t st[3] = {kVapour, 0, 0};
    const double betas[3] = {1.0, 0.0, 0.0}, r = 8.31432, p = 0.1;
    for (int hm : {1, 2}) {
        PhaseProperties(vt::g_ws, hm, hm, 298.15, p, c, st, betas, h, s, cp, v);
        EXPECT_NEAR(s[3] + r * std::log(p / 101.325), 310.23 - r * std::log(101.325), 0.1) << hm;
    }
}

}  // namespace
}  // namespace vt
