// Enthalpy method 3 (Lee-Kesler) through the Prop3 export: water and steam
// against steam tables, agreement with the equation-of-state departures for
// a dilute gas, expansions of a natural gas, and specification searches;
// the search step and the small helpers of the property driver.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../support/component_table.h"
#include "../support/stream.h"
#include "props/search.h"
#include "thermo/flash.h"
#include "thermo/lee_kesler.h"
#include "thermo/phase_props.h"
#include "vantaro/vantaro.h"
#include "workspace/mixture.h"

namespace vt {
namespace {

using test::Stream;

// Prop3 by equation of state `method` with enthalpy method hm.
Stream Eval(int method, int hm, double t, double p, std::vector<double> z, double vf = MISSING, double h = MISSING,
            double s = MISSING) {
    return test::Evaluate(z, t, p, vf, h, s, method, hm);
}

class Prop3LeeKeslerTest : public ::testing::Test {
protected:
    void TearDown() override { vt::CloseProps(); }
};

// Pure water takes the steam values alone: enthalpy on the ideal-gas scale
// (steam-table value less 36537 kJ/kmol), entropy on the steam-table scale.
// Boiling at one atmosphere: an enthalpy halfway between the saturated
// liquid and vapour (2256.4 kJ/kg apart) is met at the equation of state's
// saturation temperature with half the water vaporised.
TEST_F(Prop3LeeKeslerTest, WaterAndSteamAgainstSteamTables) {
    test::OpenTable({"water"});
    const auto rows = test::ReadCsv("tests/data/steam_table.csv");
    ASSERT_EQ(rows.size(), 9u);
    for (const test::CsvRow& r : rows) {
        const Stream o = Eval(1, 3, r["T_K"], r["P_kPa"], {1.0});
        SCOPED_TRACE(r.Str("T_K") + " K " + r.Str("P_kPa") + " kPa");
        ASSERT_TRUE(o.status == 0 && o.frac[r.Str("phase") == "liquid" ? 1 : 0] == 1.0);
        EXPECT_NEAR((o.h[3] + kSteamEnthalpyOffset) / 18.02, r["h_kJ_kg"], 1.5);
        EXPECT_NEAR(o.s[3] / 18.02 / r["s_kJ_kgK"], 1.0, 0.01);
    }
    const double hmid = Eval(1, 3, 373.15, 200.0, {1.0}).h[3] + 0.5 * 2256.4 * 18.02;
    const Stream b = Eval(1, 3, MISSING, 101.325, {1.0}, MISSING, hmid);
    EXPECT_EQ(b.status, 0);
    EXPECT_NEAR(b.t, 373.12, 0.2);
    EXPECT_NEAR(b.frac[0], 0.5, 0.01);
}

// At low pressure every enthalpy method is the ideal gas: the Lee-Kesler
// entropy carries the ideal-gas pressure term once, as the cubic departures
// do.
TEST_F(Prop3LeeKeslerTest, DiluteGasAndHumidGas) {
    test::OpenTable({"methane", "ethane", "propane", "nitrogen", "carbon dioxide"});
    const std::vector<double> z = {0.85, 0.07, 0.03, 0.02, 0.03};
    for (double p : {5.0, 20.0}) {
        const Stream ig = Eval(1, 0, 600.0, p, z);
        for (int hm : {1, 2, 3}) {
            const Stream o = Eval(1, hm, 600.0, p, z);
            EXPECT_NEAR(o.h[3], ig.h[3], 0.1 * p) << hm << " " << p;
            EXPECT_NEAR(o.s[3], ig.s[3] - 8.31432 * std::log(p), 0.01) << hm << " " << p;
            EXPECT_NEAR(o.cp[3], ig.cp[3], 0.01) << hm << " " << p;
        }
    }
    // A dilute humid gas: water's entropy sits on the steam-table scale with
    // enthalpy method 3, a constant per mole of water, so S(3) - S(1) is
    // proportional to the water fraction. Counting water's ideal mixing term a
    // second time (through the steam entropy at its partial pressure) would add
    // -R xw ln xw and break the proportion (by 14 kJ/(kmol K) per mole of water
    // between 5 and 30 % water). At 200 kPa the steam entropy fit's low-pressure
    // offset (ln(p/100 + 0.001)) stays below 0.2.
    test::OpenTable({"methane", "water"});
    double perMole[3];
    const double xws[3] = {0.05, 0.3, 0.7};
    for (int k = 0; k < 3; ++k) {
        const std::vector<double> z = {1.0 - xws[k], xws[k]};
        const Stream a = Eval(1, 1, 600.0, 200.0, z), b = Eval(1, 3, 600.0, 200.0, z);
        ASSERT_EQ(b.frac[0], 1.0);
        perMole[k] = (b.s[3] - a.s[3]) / xws[k];
    }
    EXPECT_NEAR(perMole[1], perMole[0], 0.25);
    EXPECT_NEAR(perMole[2], perMole[0], 0.25);
}

// A natural gas from 10 MPa and 300 K to 500 kPa: Lee-Kesler and
// Peng-Robinson departures give temperature drops within a few per cent of
// each other (the throttle about 6 %, the isentrope about 1 %).
TEST_F(Prop3LeeKeslerTest, NaturalGasExpansionsBesidePengRobinson) {
    test::OpenTable({"methane", "ethane", "propane", "n-butane", "nitrogen", "carbon dioxide"});
    const std::vector<double> z = {0.85, 0.06, 0.03, 0.01, 0.02, 0.03};
    double drop[2][2];
    for (int k = 0; k < 2; ++k) {
        const int hm = k == 0 ? 1 : 3;
        const Stream a = Eval(1, hm, 300.0, 10000.0, z);
        const Stream jt = Eval(1, hm, MISSING, 500.0, z, MISSING, a.h[3]);
        const Stream is = Eval(1, hm, MISSING, 500.0, z, MISSING, MISSING, a.s[3]);
        ASSERT_TRUE(jt.status == 0 && is.status == 0);
        EXPECT_TRUE(std::fabs(jt.h[3] - a.h[3]) <= test::kTol[1] && std::fabs(is.s[3] - a.s[3]) <= test::kTol[2]) << hm;
        drop[k][0] = 300.0 - jt.t;
        drop[k][1] = 300.0 - is.t;
    }
    EXPECT_NEAR(drop[1][0] / drop[0][0], 1.0, 0.08);
    EXPECT_NEAR(drop[1][1] / drop[0][1], 1.0, 0.03);
    EXPECT_TRUE(drop[1][0] > 40.0 && drop[1][1] > 100.0);
}

// Enthalpy, entropy and vapour-fraction specifications of a wet
// hydrocarbon stream with free water meet their targets.
TEST_F(Prop3LeeKeslerTest, SpecificationsWithFreeWater) {
    test::OpenTable({"methane", "propane", "n-hexane", "water"});
    const std::vector<double> z = {0.6, 0.1, 0.1, 0.2};
    for (int method : {1, 3}) {
        const Stream a = Eval(method, 3, 320.0, 3000.0, z);
        ASSERT_EQ(a.status, 0);
        EXPECT_GT(a.frac[2], 0.15) << method;  // free water
        const Stream ph = Eval(method, 3, MISSING, 3000.0, z, MISSING, a.h[3]);
        const Stream ps = Eval(method, 3, 320.0, MISSING, z, MISSING, MISSING, a.s[3]);
        EXPECT_TRUE(ph.status == 0 && ps.status == 0) << method;
        EXPECT_TRUE(std::fabs(ph.t - 320.0) < 0.05 && std::fabs(ps.p / 3000.0 - 1.0) < 1e-3) << method << " " << ph.t;
        const Stream vf = Eval(method, 3, MISSING, 1000.0, z, 0.5);
        EXPECT_TRUE(vf.status == 0 && vf.h[3] != MISSING) << method;
    }
}

// One step from x with value f against the target: {x, lo, hi, xprev, fprev}
// before and after.
TEST(Search, StepsCompositionsAndClampedFractions) {
    struct Step {
        double x, lo, hi, xp, fp;
    };
    const struct { Step in; double f, target, step, dir; Step out; } cases[] = {
        // Not bracketed: a fixed step in the direction of the target.
        {{423.0, 0.0, 4000.0, 0.0, -1e30}, 0.2, 0.5, 70.0, 1.0, {493.0, 423.0, 4000.0, 423.0, 0.2}},
        {{423.0, 0.0, 4000.0, 0.0, -1e30}, 0.2, 0.5, 70.0, -1.0, {353.0, 0.0, 423.0, 423.0, 0.2}},
        // f = x - 450 crossed between 423 and 493: the secant lands on 450 and
        // the better point is kept (|-27| < |43|).
        {{493.0, 423.0, 4000.0, 423.0, -27.0}, 43.0, 0.0, 70.0, 1.0, {450.0, 423.0, 493.0, 423.0, -27.0}},
        // A secant point outside the central 98 %: bisection.
        {{493.0, 423.0, 4000.0, 423.0, -0.1}, 500.0, 0.0, 70.0, 1.0, {458.0, 423.0, 493.0, 423.0, -0.1}},
        // A plateau equal to the target, as before: x rises by the step, the
        // previous point is not replaced.
        {{300.0, 0.0, 4000.0, 250.0, 1.0}, 1.0, 1.0, 40.0, 1.0, {340.0, 300.0, 4000.0, 250.0, 1.0}},
    };
    for (const auto& c : cases) {
        Step s = c.in;
        SearchStep(&s.x, c.f, c.target, &s.lo, &s.hi, &s.xp, &s.fp, c.step, c.dir);
        EXPECT_NEAR(s.x, c.out.x, 1e-12) << c.in.x << " f " << c.f;
        EXPECT_TRUE(s.lo == c.out.lo && s.hi == c.out.hi && s.xp == c.out.xp && s.fp == c.out.fp)
            << c.in.x << " f " << c.f;
    }
    test::OpenTable({"methane", "ethane", "propane"});
    const double a[] = {0.5, 0.3, 0.2}, c[] = {0.5, 0.3, 0.2 * 1.006}, d[] = {0.5, 0.3, 0.2 * 1.004};
    const double pure[] = {1.0, 0.0, 0.0}, nearly[] = {1.0 - 1e-9, 1e-9, 0.0};
    // Ratios within half a per cent; the same pure phase.
    EXPECT_TRUE(IsTrivialSplit(vt::g_ws, a, a) && !IsTrivialSplit(vt::g_ws, c, a) && IsTrivialSplit(vt::g_ws, d, a));
    EXPECT_EQ(IsTrivialSplit(vt::g_ws, pure, nearly), 1);
    EXPECT_NEAR(CompositionMolWeight(vt::g_ws, a), 0.5 * 16.04246 + 0.3 * 30.06904 + 0.2 * 44.09562, 1e-12);
    vt::CloseProps();
    for (auto [in, out] :
         {std::pair{1.00005, 1.0}, {1.0002, MISSING}, {-0.00005, -0.00005}, {-0.0002, MISSING}, {0.4, 0.4}})
        EXPECT_EQ(ClampPhaseFraction(in, 0.0001), out) << in;
}

// A bracket whose ends are a liquid and a vapour of the same composition:
// the blend of the two meets an enthalpy between theirs.
TEST_F(Prop3LeeKeslerTest, BoundaryInterpolationBlendsTheTwoEnds) {
    test::OpenTable({"propane", "n-butane"});
    std::vector<double> z = {0.5, 0.5}, y(2), x(2), xw(2), xl(2);
    double* c[5] = {y.data(), x.data(), xw.data(), z.data(), xl.data()};
    int32_t ph[3];
    double frac[5], h[5], s[5], cp[5], v[5], t = 299.0, p = 500.0, end[2];
    for (int k = 0; k < 2; ++k) {  // enthalpies of the two ends
        Flash(vt::g_ws, 1, FreeWaterComponent(vt::g_ws, 1), k ? 320.0 : 280.0, p, c, ph, frac);
        PhaseProperties(vt::g_ws, 1, 1, k ? 320.0 : 280.0, p, c, ph, frac, h, s, cp, v);
        end[k] = h[3];
    }
    const double target = end[0] + 0.3 * (end[1] - end[0]);
    EXPECT_EQ(BoundaryInterpolation(vt::g_ws, 1, kNoWater, 1, &t, &p, target, c, ph, frac, h, s, cp, v, 280.0, 320.0, 1, 1), 1);
    EXPECT_NEAR(h[3], target, 0.1);
    EXPECT_TRUE(ph[0] != 0 && ph[1] != 0 && std::fabs(frac[0] + frac[1] + frac[2] - 1.0) < 1e-12);
}

}  // namespace
}  // namespace vt
