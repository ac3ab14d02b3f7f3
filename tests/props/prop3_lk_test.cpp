// Enthalpy method 3 (Lee-Kesler) through the Prop3 export: water and steam
// against steam tables, agreement with the equation-of-state departures for
// a dilute gas, expansions of a natural gas, and specification searches.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../support/component_table.h"
#include "thermo/lee_kesler.h"
#include "vantaro/vantaro.h"

namespace vt {
namespace {

const double kTol[4] = {0.01, 0.1, 0.001, 1e-4};

struct State {
    int32_t status;
    double t, p;
    int32_t ph[3];
    double frac[5], h[5], s[5], cp[5], v[5], mw[5];
};

State Eval(int method, int hmethod, double t, double p, std::vector<double> z, double vf = MISSING,
           double hs = MISSING, double ss = MISSING) {
    const size_t n = z.size();
    std::vector<double> y(n), x(n), xw(n), xl(n);
    State o{};
    o.t = t, o.p = p;
    o.frac[0] = vf, o.h[3] = hs, o.s[3] = ss;
    o.status = ::Prop3(method, hmethod, &o.t, &o.p, z.data(), y.data(), x.data(), xw.data(),
                       xl.data(), o.ph, o.frac, o.h, o.s, o.cp, o.v, o.mw, MISSING, kTol);
    return o;
}

class Prop3LeeKeslerTest : public ::testing::Test {
protected:
    void TearDown() override { vt::CloseProps(); }
};

// Pure water takes the steam values alone: enthalpy on the ideal-gas scale
// (steam-table value less 36537 kJ/kmol), entropy on the steam-table scale.
TEST_F(Prop3LeeKeslerTest, WaterAndSteamAgainstSteamTables) {
    test::OpenTable({"water"});
    std::ifstream in(std::string(VANTARO_SOURCE_DIR) + "/tests/data/steam_table.csv");
    ASSERT_TRUE(in.good());
    std::string line;
    std::getline(in, line);  // source
    std::getline(in, line);  // header
    int rows = 0;
    while (std::getline(in, line)) {
        std::stringstream ss(line);
        std::string c[5];
        for (auto& cell : c) std::getline(ss, cell, ',');
        const double t = std::stod(c[0]), p = std::stod(c[1]);
        const State o = Eval(1, 3, t, p, {1.0});
        ASSERT_EQ(o.status, 0) << line;
        const int slot = c[2] == "liquid" ? 1 : 0;
        ASSERT_EQ(o.frac[slot], 1.0) << line;
        EXPECT_NEAR((o.h[3] + kSteamEnthalpyOffset) / 18.02, std::stod(c[3]), 1.5) << line;
        EXPECT_NEAR(o.s[3] / 18.02 / std::stod(c[4]), 1.0, 0.01) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 9);
    // Boiling at one atmosphere: an enthalpy halfway between the saturated
    // liquid and vapour (2256.4 kJ/kg apart) is met at the equation of
    // state's saturation temperature with half the water vaporised.
    const State liq = Eval(1, 3, 373.15, 200.0, {1.0});
    const double hmid = liq.h[3] + 0.5 * 2256.4 * 18.02;
    const State b = Eval(1, 3, MISSING, 101.325, {1.0}, MISSING, hmid);
    EXPECT_EQ(b.status, 0);
    EXPECT_NEAR(b.t, 373.12, 0.2);
    EXPECT_NEAR(b.frac[0], 0.5, 0.01);
}

// At low pressure every enthalpy method is the ideal gas: the Lee-Kesler
// entropy carries the ideal-gas pressure term once, as the cubic departures
// do.
TEST_F(Prop3LeeKeslerTest, DiluteGasAgreesWithTheOtherMethods) {
    test::OpenTable({"methane", "ethane", "propane", "nitrogen", "carbon dioxide"});
    const std::vector<double> z = {0.85, 0.07, 0.03, 0.02, 0.03};
    for (double p : {5.0, 20.0}) {
        const State ig = Eval(1, 0, 600.0, p, z);
        for (int hm : {1, 2, 3}) {
            const State o = Eval(1, hm, 600.0, p, z);
            EXPECT_NEAR(o.h[3], ig.h[3], 0.1 * p) << hm << " " << p;
            EXPECT_NEAR(o.s[3], ig.s[3] - 8.31432 * std::log(p), 0.01) << hm << " " << p;
            EXPECT_NEAR(o.cp[3], ig.cp[3], 0.01) << hm << " " << p;
        }
    }
}

// A dilute humid gas: water's entropy sits on the steam-table scale with
// enthalpy method 3, a constant per mole of water, so S(3) - S(1) is
// proportional to the water fraction. Counting water's ideal mixing term a
// second time (through the steam entropy at its partial pressure) would add
// -R xw ln xw and break the proportion (by 14 kJ/(kmol K) per mole of water
// between 5 and 30 % water). At 200 kPa the steam entropy fit's low-pressure
// offset (ln(p/100 + 0.001)) stays below 0.2.
TEST_F(Prop3LeeKeslerTest, DiluteHumidGasMixingEntropyOnce) {
    test::OpenTable({"methane", "water"});
    double perMole[3];
    const double xws[3] = {0.05, 0.3, 0.7};
    for (int k = 0; k < 3; ++k) {
        const std::vector<double> z = {1.0 - xws[k], xws[k]};
        const State a = Eval(1, 1, 600.0, 200.0, z), b = Eval(1, 3, 600.0, 200.0, z);
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
        const State a = Eval(1, hm, 300.0, 10000.0, z);
        const State jt = Eval(1, hm, MISSING, 500.0, z, MISSING, a.h[3]);
        const State is = Eval(1, hm, MISSING, 500.0, z, MISSING, MISSING, a.s[3]);
        ASSERT_EQ(jt.status, 0);
        ASSERT_EQ(is.status, 0);
        EXPECT_NEAR(jt.h[3], a.h[3], kTol[1]);
        EXPECT_NEAR(is.s[3], a.s[3], kTol[2]);
        drop[k][0] = 300.0 - jt.t;
        drop[k][1] = 300.0 - is.t;
    }
    EXPECT_NEAR(drop[1][0] / drop[0][0], 1.0, 0.08);
    EXPECT_NEAR(drop[1][1] / drop[0][1], 1.0, 0.03);
    EXPECT_GT(drop[1][0], 40.0);
    EXPECT_GT(drop[1][1], 100.0);
}

// Enthalpy, entropy and vapour-fraction specifications of a wet
// hydrocarbon stream with free water meet their targets.
TEST_F(Prop3LeeKeslerTest, SpecificationsWithFreeWater) {
    test::OpenTable({"methane", "propane", "n-hexane", "water"});
    const std::vector<double> z = {0.6, 0.1, 0.1, 0.2};
    for (int method : {1, 3}) {
        const State a = Eval(method, 3, 320.0, 3000.0, z);
        ASSERT_EQ(a.status, 0);
        EXPECT_GT(a.frac[2], 0.15) << method;  // free water
        const State ph = Eval(method, 3, MISSING, 3000.0, z, MISSING, a.h[3]);
        const State ps = Eval(method, 3, 320.0, MISSING, z, MISSING, MISSING, a.s[3]);
        EXPECT_EQ(ph.status, 0);
        EXPECT_NEAR(ph.t, 320.0, 0.05) << method;
        EXPECT_EQ(ps.status, 0);
        EXPECT_NEAR(ps.p / 3000.0, 1.0, 1e-3) << method;
        const State vf = Eval(method, 3, MISSING, 1000.0, z, 0.5);
        EXPECT_EQ(vf.status, 0);
        EXPECT_NE(vf.h[3], MISSING);
    }
}

}  // namespace
}  // namespace vt
