// Lee-Kesler departures: the two fluids against independent evaluations and
// the printed tables, phase departures against heats of vaporization, the
// mixing rules, the low-temperature extrapolation and the water blend.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../support/component_table.h"
#include "steam/ifc67.h"
#include "thermo/lee_kesler.h"
#include "thermo/phase_props.h"

namespace vt {
namespace {

using test::CsvRow;
using test::OpenTable;
using test::ReadCsv;

constexpr double kR = 1.98717 * 4.18392;  // R of the departures, kJ/(kmol K)

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
TEST_F(LeeKeslerTest, FluidsTablesAndPureComponentsInEngineUnits) {
    for (const CsvRow& r : ReadCsv("tests/data/lee_kesler_fluids.csv")) {
        const lk::Departures d = Solve(r.Str("fluid") == "r" ? lk::kReference : lk::kSimple, r["Tr"], r["Pr"],
                                       r.Str("root") == "liq");
        SCOPED_TRACE(r.Str("fluid") + " " + r.Str("Tr") + " " + r.Str("Pr") + " " + r.Str("root"));
        EXPECT_NEAR(d.z / r["Vr"], 1.0, 1e-8);
        EXPECT_NEAR(r["Pr"] * d.z / r["Tr"], r["Z"], 1e-8);
        for (auto [got, col] : {std::pair{d.h, "H_RTc"}, {d.s, "S_R"}, {d.cp, "Cp_R"}})
            EXPECT_NEAR(got, r[col], 1e-7) << col;
    }
    for (const CsvRow& r : ReadCsv("tests/data/lee_kesler_z_table.csv")) {
        const double tr = r["Tr"], pr = r["Pr"];
        const double z0 = pr * Solve(lk::kSimple, tr, pr, false).z / tr;
        const double zr = pr * Solve(lk::kReference, tr, pr, false).z / tr;
        const double z1 = (zr - z0) / lk::kOmegaReference;
        EXPECT_TRUE(std::fabs(z0 - r["Z0"]) < 5e-5 && std::fabs(z1 - r["Z1"]) < 5e-5) << tr << " " << pr << ": " << z1;
    }
    // A vapour asked for where the fluid has only its liquid root gets that
    // root, not a volume inside the loop.
    bool ok = false;
    EXPECT_TRUE(lk::ReducedVolume(lk::kSimple, 0.6, 0.5, false, 0.0, &ok) < 0.2 && ok);
    // A pure component's departures in engine units at the states of the
    // fluid table: the interpolation of the two fluids at its omega, R Tc
    // scaling, and the entropy on the ideal-gas scale (-R ln P[kPa] added).
    OpenTable({"propane"});
    const CompRecord& c = g_ws.cd[0];
    const double f = c.omega / lk::kOmegaReference, x[1] = {1.0};
    const auto rows = ReadCsv("tests/data/lee_kesler_fluids.csv");
    for (size_t k = 0; k + 1 < rows.size(); k += 2) {  // simple fluid, then reference
        auto mix = [&](const char* col) { return rows[k][col] + f * (rows[k + 1][col] - rows[k][col]); };
        const double t = rows[k]["Tr"] * c.tc, p = rows[k]["Pr"] * c.pc;
        double h, cp, s;
        LkDeparture(vt::g_ws, t, p, x, &h, &cp, &s, rows[k].Str("root") == "liq", 0.0);
        EXPECT_NEAR(h, mix("H_RTc") * 1.98717 * 1.8 * 2.3244 * c.tc, 1e-6 * c.tc) << t << " " << p;
        EXPECT_NEAR(s, (mix("S_R") - std::log(p)) * kR, 1e-5) << t << " " << p;
        EXPECT_NEAR(cp, mix("Cp_R") * kR, 1e-5) << t << " " << p;
    }
}

// Vapour minus liquid departure at the normal boiling point is the heat of
// vaporization.
TEST_F(LeeKeslerTest, HeatsOfVaporizationAndMixingRules) {
    for (const CsvRow& r : ReadCsv("tests/data/heats_of_vaporization.csv")) {
        OpenTable({r.Str("component")});
        const double tb = g_ws.cd[0].tb, x[1] = {1.0};
        double hv, hl, cp, s;
        LkDeparture(vt::g_ws, tb, 101.325, x, &hv, &cp, &s, 0, 0.0);
        LkDeparture(vt::g_ws, tb, 101.325, x, &hl, &cp, &s, 1, 0.0);
        EXPECT_NEAR((hv - hl) / 1000.0 / r["dHvap_kJ_mol"], 1.0, 0.02) << r.Str("component");
    }
    // Pseudo-critical constants: a pure component gives its own; a code-19
    // component is left out and the rest renormalised; a phase of it alone is an
    // ideal gas.
    CompRecord excluded = test::Component("n-decane");
    excluded.code = 19;
    const CompRecord recs[] = {test::Component("methane"), test::Component("propane"), excluded};
    const double kij[9] = {};
    vt::OpenProps(3, recs, kij, kij);
    double tc, pc, vc, om, tc2, pc2, vc2, om2;
    const double pure[] = {0.0, 1.0, 0.0}, with19[] = {0.5, 0.3, 0.2}, without[] = {0.625, 0.375, 0.0};
    LkMixing(vt::g_ws, pure, &tc, &pc, &vc, &om);
    EXPECT_TRUE(std::fabs(tc - recs[1].tc) < 1e-9 && std::fabs(pc - recs[1].pc) < 1e-6 &&
                std::fabs(om - recs[1].omega) < 1e-12) << tc << " " << pc << " " << om;
    LkMixing(vt::g_ws, with19, &tc, &pc, &vc, &om);
    LkMixing(vt::g_ws, without, &tc2, &pc2, &vc2, &om2);
    EXPECT_TRUE(std::fabs(tc - tc2) < 1e-9 && std::fabs(pc - pc2) < 1e-6 && std::fabs(om - om2) < 1e-12);
    EXPECT_TRUE(tc > recs[0].tc && tc < recs[1].tc);
    const double only19[] = {0.0, 0.0, 1.0};
    double h, cp, s;
    LkDeparture(vt::g_ws, 300.0, 500.0, only19, &h, &cp, &s, 0, 0.0);
    EXPECT_TRUE(h == 0.0 && cp == 0.0 && std::fabs(s + kR * std::log(500.0)) < 1e-9);
}

// Below Tr = 0.15 the departures of Tr = 0.15 are carried to T with the
// departure heat capacity, and the total heat capacity stays at its value
// there.
TEST_F(LeeKeslerTest, ExtrapolationBelowTrPointFifteen) {
    OpenTable({"n-octane"});
    const double tx = 0.15 * g_ws.cd[0].tc, t = 0.1 * g_ws.cd[0].tc, x[1] = {1.0};
    double hx, cpx, sx, h, cp, s;
    LkDeparture(vt::g_ws, tx, 500.0, x, &hx, &cpx, &sx, 1, 0.0);
    LkDeparture(vt::g_ws, t, 500.0, x, &h, &cp, &s, 1, 0.0);
    auto cpIdeal = [&](double tt) {
        double c = MISSING, hh = 0.0, ss = 0.0;
        return IdealGasProps(vt::g_ws, tt, x, &c, &hh, &ss);
    };
    EXPECT_NEAR(h, hx + (t - tx) * cpx, 1e-6 * std::fabs(hx));
    EXPECT_NEAR(s, sx + std::log(t / tx) * cpx, 1e-9 * std::fabs(sx));
    EXPECT_TRUE(cpx > 0.0 && std::fabs(cp + cpIdeal(t) - cpx - cpIdeal(tx)) < 1e-9 * cpx) << cp;
}

// The water share: a phase of 99.95 % water takes the steam values alone
// (the rest of the phase does not matter); without water in the phase the
// water-free table gives the same values.
TEST_F(LeeKeslerTest, WaterBlend) {
    OpenTable({"methane", "n-decane", "water"});
    const double wetLight[] = {0.0005, 0.0, 0.9995}, wetHeavy[] = {0.0, 0.0005, 0.9995}, dry3[] = {0.7, 0.3, 0.0};
    double a[3], b[3];
    for (int liquid : {0, 1}) {
        LkDeparture(vt::g_ws, 360.0, 50.0, wetLight, &a[0], &a[1], &a[2], liquid, 0.0);
        LkDeparture(vt::g_ws, 360.0, 50.0, wetHeavy, &b[0], &b[1], &b[2], liquid, 0.0);
        EXPECT_TRUE(a[0] == b[0] && a[1] == b[1] && a[2] == b[2]) << liquid;
    }
    LkDeparture(vt::g_ws, 400.0, 3000.0, dry3, &a[0], &a[1], &a[2], 0, 0.0);
    OpenTable({"methane", "n-decane"});
    LkDeparture(vt::g_ws, 400.0, 3000.0, dry3, &b[0], &b[1], &b[2], 0, 0.0);
    EXPECT_TRUE(a[0] == b[0] && a[1] == b[1] && a[2] == b[2]);
}

// The steam values are continuous where their evaluation changes: water
// vapour crossing 275 K (below it IFC-67 is read at or under saturation, not
// as compressed water), liquid entropy across 273.15 K, and the near-critical
// liquid on its own root (saturated liquid 350 and 360 C: 1670.9, 1761.5 kJ/kg).
TEST_F(LeeKeslerTest, SteamValuesAtTheirSeams) {
    for (double xw : {0.001, 0.05}) {
        const WaterBlendValues a = WaterBlend(274.999, 5000.0, xw, false), b = WaterBlend(275.0, 5000.0, xw, false);
        EXPECT_NEAR(a.h, b.h, 0.1) << xw;
        EXPECT_NEAR(a.cp, b.cp, 0.01) << xw;
    }
    EXPECT_NEAR(WaterLiquidEntropy(273.149, 200.0), WaterLiquidEntropy(273.151, 200.0), 1e-3);
    EXPECT_NEAR(WaterLiquidEntropy(263.15, 200.0), -75.8 * std::log(273.15 / 263.15), 0.1);
    for (auto [t, h] : {std::pair{623.15, 1670.9}, {628.15, 1670.9 + 0.5 * 90.6}, {633.15, 1761.5}}) {
        const WaterBlendValues w = WaterBlend(t, 20000.0, 1.0, true);
        EXPECT_NEAR((w.h + kSteamEnthalpyOffset) / 18.02, h, 4.0) << t;
        EXPECT_GT(w.cp, 0.0) << t;
    }
}

}  // namespace
}  // namespace vt
