// Lee-Kesler departures: the two fluids against independent evaluations and
// the printed tables, phase departures against heats of vaporization, the
// mixing rules, the low-temperature extrapolation and the water blend.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../support/component_table.h"
#include "steam/ifc67.h"
#include "thermo/lee_kesler.h"
#include "thermo/phase_props.h"

namespace vt {
namespace {

using test::OpenTable;

constexpr double kR = 1.98717 * 4.18392;  // R of the departures, kJ/(kmol K)

std::vector<std::vector<std::string>> ReadCsv(const std::string& name) {
    std::ifstream in(std::string(VANTARO_SOURCE_DIR) + "/tests/data/" + name);
    EXPECT_TRUE(in.good()) << name;
    std::vector<std::vector<std::string>> rows;
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (header) {
            header = false;
            continue;
        }
        std::vector<std::string> row;
        std::stringstream ss(line);
        std::string cell;
        while (std::getline(ss, cell, ',')) row.push_back(cell);
        rows.push_back(row);
    }
    return rows;
}

class LeeKeslerTest : public ::testing::Test {
protected:
    void TearDown() override { vt::CloseProps(); }
};

lk::Departures Solve(const lk::Fluid& f, double tr, double pr, bool liquid) {
    bool ok = false;
    const double vr = lk::ReducedVolume(f, tr, pr, liquid, 0.0, &ok);
    EXPECT_TRUE(ok) << tr << " " << pr;
    lk::Departures d = lk::FluidDepartures(f, tr, pr, vr);
    d.z = vr;  // callers compare the volume as well
    return d;
}

// Each fluid alone, both roots where both exist (Tr 0.9), against states
// evaluated independently; the printed Z tables to their four digits.
TEST_F(LeeKeslerTest, FluidsAgainstIndependentValuesAndTables) {
    for (const auto& r : ReadCsv("lee_kesler_fluids.csv")) {
        const lk::Fluid& f = r[0] == "r" ? lk::kReference : lk::kSimple;
        const double tr = std::stod(r[1]), pr = std::stod(r[2]);
        const lk::Departures d = Solve(f, tr, pr, r[3] == "liq");
        const std::string at = r[0] + " " + r[1] + " " + r[2] + " " + r[3];
        EXPECT_NEAR(d.z / std::stod(r[4]), 1.0, 1e-8) << at;  // Vr
        EXPECT_NEAR(d.h, std::stod(r[6]), 1e-7) << at;
        EXPECT_NEAR(d.s, std::stod(r[7]), 1e-7) << at;
        EXPECT_NEAR(d.cp, std::stod(r[8]), 1e-7) << at;
        EXPECT_NEAR(pr * d.z / tr, std::stod(r[5]), 1e-8) << at;
    }
    for (const auto& r : ReadCsv("lee_kesler_z_table.csv")) {
        const double tr = std::stod(r[0]), pr = std::stod(r[1]);
        const double z0 = pr * Solve(lk::kSimple, tr, pr, false).z / tr;
        const double zr = pr * Solve(lk::kReference, tr, pr, false).z / tr;
        EXPECT_NEAR(z0, std::stod(r[2]), 5e-5) << r[0] << " " << r[1];
        EXPECT_NEAR((zr - z0) / lk::kOmegaReference, std::stod(r[3]), 5e-5) << r[0] << " " << r[1];
    }
    // A vapour asked for where the fluid has only its liquid root gets that
    // root, not a volume inside the loop.
    bool ok = false;
    const double v = lk::ReducedVolume(lk::kSimple, 0.6, 0.5, false, 0.0, &ok);
    EXPECT_TRUE(ok);
    EXPECT_LT(v, 0.2);
}

// A pure component's departures in engine units at the states of the
// fluid table: the interpolation of the two fluids at its omega, R Tc
// scaling, and the entropy on the ideal-gas scale (-R ln P[kPa] added).
TEST_F(LeeKeslerTest, PureComponentDeparturesInEngineUnits) {
    OpenTable({"propane"});
    const CompRecord& c = g_ws.cd[0];
    const double f = c.omega / lk::kOmegaReference, x[1] = {1.0};
    const auto rows = ReadCsv("lee_kesler_fluids.csv");
    for (size_t k = 0; k + 1 < rows.size(); k += 2) {  // simple fluid, then reference
        const auto &r0 = rows[k], &rr = rows[k + 1];
        auto mix = [&](int col) {
            const double a = std::stod(r0[col]), b = std::stod(rr[col]);
            return a + f * (b - a);
        };
        const double t = std::stod(r0[1]) * c.tc, p = std::stod(r0[2]) * c.pc;
        double h, cp, s;
        LkDeparture(t, p, x, &h, &cp, &s, r0[3] == "liq", 0.0);
        const std::string at = r0[1] + " " + r0[2];
        EXPECT_NEAR(h, mix(6) * 1.98717 * 1.8 * 2.3244 * c.tc, 1e-6 * c.tc) << at;
        EXPECT_NEAR(s, (mix(7) - std::log(p)) * kR, 1e-5) << at;
        EXPECT_NEAR(cp, mix(8) * kR, 1e-5) << at;
    }
}

// Vapour minus liquid departure at the normal boiling point is the heat of
// vaporization.
TEST_F(LeeKeslerTest, HeatsOfVaporizationAtTheNormalBoilingPoint) {
    for (const auto& r : ReadCsv("heats_of_vaporization.csv")) {
        OpenTable({r[0]});
        const double tb = g_ws.cd[0].tb, x[1] = {1.0};
        double hv, hl, cp, s;
        LkDeparture(tb, 101.325, x, &hv, &cp, &s, 0, 0.0);
        LkDeparture(tb, 101.325, x, &hl, &cp, &s, 1, 0.0);
        EXPECT_NEAR((hv - hl) / 1000.0 / std::stod(r[1]), 1.0, 0.02) << r[0];
        vt::CloseProps();
    }
}

// Pseudo-critical constants: a pure component gives its own; a code-19
// component is left out and the rest renormalised; a phase of it alone is an
// ideal gas.
TEST_F(LeeKeslerTest, MixingRules) {
    CompRecord excluded = test::Component("n-decane");
    excluded.code = 19;
    const CompRecord recs[] = {test::Component("methane"), test::Component("propane"), excluded};
    const double kij[9] = {};
    vt::OpenProps(3, recs, kij, kij);
    double tc, pc, vc, om;
    const double pure[] = {0.0, 1.0, 0.0};
    LkMixing(pure, &tc, &pc, &vc, &om);
    EXPECT_NEAR(tc, recs[1].tc, 1e-9);
    EXPECT_NEAR(pc, recs[1].pc, 1e-6);
    EXPECT_NEAR(om, recs[1].omega, 1e-12);
    double tc2, pc2, vc2, om2;
    const double with19[] = {0.5, 0.3, 0.2}, without[] = {0.625, 0.375, 0.0};
    LkMixing(with19, &tc, &pc, &vc, &om);
    LkMixing(without, &tc2, &pc2, &vc2, &om2);
    EXPECT_NEAR(tc, tc2, 1e-9);
    EXPECT_NEAR(pc, pc2, 1e-6);
    EXPECT_NEAR(om, om2, 1e-12);
    EXPECT_GT(tc, recs[0].tc);
    EXPECT_LT(tc, recs[1].tc);
    const double only19[] = {0.0, 0.0, 1.0};
    double h, cp, s;
    LkDeparture(300.0, 500.0, only19, &h, &cp, &s, 0, 0.0);
    EXPECT_EQ(h, 0.0);
    EXPECT_EQ(cp, 0.0);
    EXPECT_NEAR(s, -kR * std::log(500.0), 1e-9);
}

// Below Tr = 0.15 the departures of Tr = 0.15 are carried to T with the
// departure heat capacity, and the total heat capacity stays at its value
// there.
TEST_F(LeeKeslerTest, ExtrapolationBelowTrPointFifteen) {
    OpenTable({"n-octane"});
    const double tx = 0.15 * g_ws.cd[0].tc, t = 0.1 * g_ws.cd[0].tc, x[1] = {1.0};
    double hx, cpx, sx, h, cp, s;
    LkDeparture(tx, 500.0, x, &hx, &cpx, &sx, 1, 0.0);
    LkDeparture(t, 500.0, x, &h, &cp, &s, 1, 0.0);
    auto cpIdeal = [&](double tt) {
        double c = MISSING, hh = 0.0, ss = 0.0;
        return IdealGasProps(tt, x, &c, &hh, &ss);
    };
    EXPECT_NEAR(h, hx + (t - tx) * cpx, 1e-6 * std::fabs(hx));
    EXPECT_NEAR(s, sx + std::log(t / tx) * cpx, 1e-9 * std::fabs(sx));
    EXPECT_NEAR(cp + cpIdeal(t), cpx + cpIdeal(tx), 1e-9 * cpx);
    EXPECT_GT(cpx, 0.0);
}

// The water share: a phase of 99.95 % water takes the steam values alone
// (the rest of the phase does not matter), one without water none of them.
TEST_F(LeeKeslerTest, WaterBlend) {
    OpenTable({"methane", "n-decane", "water"});
    const double wetLight[] = {0.0005, 0.0, 0.9995}, wetHeavy[] = {0.0, 0.0005, 0.9995};
    for (int liquid : {0, 1}) {
        double h1, c1, s1, h2, c2, s2;
        LkDeparture(360.0, 50.0, wetLight, &h1, &c1, &s1, liquid, 0.0);
        LkDeparture(360.0, 50.0, wetHeavy, &h2, &c2, &s2, liquid, 0.0);
        EXPECT_DOUBLE_EQ(h1, h2);
        EXPECT_DOUBLE_EQ(s1, s2);
        EXPECT_DOUBLE_EQ(c1, c2);
    }
    // Without water in the phase the water-free table gives the same values.
    const double dry3[] = {0.7, 0.3, 0.0};
    double h1, c1, s1;
    LkDeparture(400.0, 3000.0, dry3, &h1, &c1, &s1, 0, 0.0);
    vt::CloseProps();
    OpenTable({"methane", "n-decane"});
    const double dry2[] = {0.7, 0.3};
    double h2, c2, s2;
    LkDeparture(400.0, 3000.0, dry2, &h2, &c2, &s2, 0, 0.0);
    EXPECT_DOUBLE_EQ(h1, h2);
    EXPECT_DOUBLE_EQ(s1, s2);
    EXPECT_DOUBLE_EQ(c1, c2);
}

// The steam values are continuous where their evaluation changes: water
// vapour crossing 275 K (below it IFC-67 is read at or under saturation, not
// as compressed water), liquid entropy across 273.15 K, and the near-critical
// liquid on its own root (saturated liquid 350 and 360 C: 1670.9, 1761.5 kJ/kg).
TEST_F(LeeKeslerTest, SteamValuesAtTheirSeams) {
    for (double xw : {0.001, 0.05}) {
        const WaterBlendValues a = WaterBlend(274.999, 5000.0, xw, false);
        const WaterBlendValues b = WaterBlend(275.0, 5000.0, xw, false);
        EXPECT_NEAR(a.h, b.h, 0.1) << xw;
        EXPECT_NEAR(a.cp, b.cp, 0.01) << xw;
    }
    EXPECT_NEAR(WaterLiquidEntropy(273.149, 200.0), WaterLiquidEntropy(273.151, 200.0), 1e-3);
    EXPECT_NEAR(WaterLiquidEntropy(263.15, 200.0), -75.8 * std::log(273.15 / 263.15), 0.1);
    const struct {
        double t, h;
    } sat[] = {{623.15, 1670.9}, {628.15, 1670.9 + 0.5 * 90.6}, {633.15, 1761.5}};
    for (const auto& k : sat) {
        const WaterBlendValues w = WaterBlend(k.t, 20000.0, 1.0, true);
        EXPECT_NEAR((w.h + kSteamEnthalpyOffset) / 18.02, k.h, 4.0) << k.t;
        EXPECT_GT(w.cp, 0.0) << k.t;
    }
}

}  // namespace
}  // namespace vt
