// Liquid density (COSTALD) and Lee-Kesler vapour pressure against published
// data, and the characteristic-volume back-calculation.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../support/component_table.h"
#include "correlations/liquid_density.h"
#include "vantaro/vantaro.h"

namespace vt {
namespace {

using test::Component;
using test::OpenTable;

struct LiquidDensityTest : ::testing::Test { void TearDown() override { vt::CloseProps(); } };

TEST(ReducedCorrelations, CriticalPointsLimitsAndClipping) {
    // Hankinson-Thomson: V_R(0) = 1 at the critical point; finite inside the clipping limits.
    for (double tr : {0.251, 0.5, 0.9999, 1.0}) {
        double vr0 = 0, vrd = 0;
        CostaldReducedVolumes(tr, &vr0, &vrd);
        EXPECT_TRUE(std::isfinite(vr0) && std::isfinite(vrd) && vr0 > 0.0 && (tr < 1.0 || vr0 == 1.0)) << tr;
    }
    // Lee-Kesler: Pr = 1 at the critical point, capped at 5; Pr = 10^-(1 + omega)
    // at Tr = 0.7 (the definition of the acentric factor); ln 0 guarded.
    for (double w : {-0.2, 0.0, 0.2, 0.5, 1.0}) {
        EXPECT_TRUE(std::fabs(LeeKeslerReducedPsat(1.0, w) - 1.0) < 1e-3 && LeeKeslerReducedPsat(2.0, w) == 5.0) << w;
    }
    EXPECT_NEAR(std::log10(LeeKeslerReducedPsat(0.7, 0.2)), -1.2, 0.01);
    EXPECT_GT(LeeKeslerReducedPsat(0.0, 0.1), 0.0);
    // Methane at its normal boiling point: 422.4 kg/m3 (NIST) / 16.043;
    // clipped to Tr in [0.25, 0.9999], equal within rounding.
    EXPECT_NEAR(ReferenceLiquidDensity(111.67 / 190.564) / (422.4 / 16.04246), 1.0, 0.015);
    const double low = ReferenceLiquidDensity(0.251), high = ReferenceLiquidDensity(0.9999);
    EXPECT_NEAR(ReferenceLiquidDensity(0.05), low, 1e-12 * low);
    EXPECT_NEAR(ReferenceLiquidDensity(1.5), high, 1e-12 * high);
}

// Against measured vapour pressures; ln pc at T = tc within a few tenths of
// a percent; ln Pr clipped at -10 at a very low temperature.
TEST_F(LiquidDensityTest, VapourPressuresAndDensitiesAgainstPublishedData) {
    for (const test::CsvRow& c : test::ReadCsv("tests/data/vapour_pressure.csv")) {
        OpenTable({c.Str("name")});
        EXPECT_NEAR(std::exp(LeeKeslerLnPsat(vt::g_ws, 0, c["t"])) / c["psat"], 1.0, 0.02) << c.Str("name");
    }
    OpenTable({"propane"});
    const CompRecord p = Component("propane");
    EXPECT_NEAR(LeeKeslerLnPsat(vt::g_ws, 0, p.tc), std::log(p.pc), 0.003);
    EXPECT_DOUBLE_EQ(LeeKeslerLnPsat(vt::g_ws, 0, 20.0), -10.0 + std::log(p.pc));
    // Saturated and compressed densities against published data; below the
    // vapour pressure (propane at 300 K: about 1000 kPa) nothing changes.
    const double x[] = {1.0};
    for (const test::CsvRow& c : test::ReadCsv("tests/data/liquid_density.csv")) {
        OpenTable({c.Str("name")});
        EXPECT_NEAR(LiquidDensity(vt::g_ws, 1, c["t"], c["p"], x) * g_ws.cd[0].mw / c["rho"], 1.0, c["tol"]) << c.Str("name");
    }
    OpenTable({"propane"});
    EXPECT_DOUBLE_EQ(LiquidDensity(vt::g_ws, 1, 300.0, 900.0, x), LiquidDensity(vt::g_ws, 1, 300.0, 1.0, x));
}

// Unknown methods give MISSING, no liquid (above tc, nothing present) 0;
// components below 1e-5 leave every mixture sum.
TEST_F(LiquidDensityTest, DegenerateInputsTracesGlycolsAndSplitWater) {
    OpenTable({"propane", "n-hexane"});
    const double x[] = {0.5, 0.5}, pure[] = {1.0, 0.0}, none[] = {0.0, 0.0}, nan[] = {std::nan(""), MISSING};
    EXPECT_TRUE(LiquidDensity(vt::g_ws, 0, 300.0, 100.0, x) == MISSING && LiquidDensity(vt::g_ws, 4, 300.0, 100.0, x) == MISSING);
    EXPECT_TRUE(LiquidDensity(vt::g_ws, 1, 400.0, 5000.0, pure) == 0.0 && LiquidDensity(vt::g_ws, 1, 300.0, 100.0, none) == 0.0 &&
                LiquidDensity(vt::g_ws, 2, 300.0, 100.0, nan) == 0.0);
    OpenTable({"propane", "n-decane"});
    const double trace[] = {1.0, 0.99e-5}, some[] = {1.0, 1e-5};
    const double rhoPure = LiquidDensity(vt::g_ws, 1, 250.0, 500.0, pure);
    EXPECT_TRUE(rhoPure == LiquidDensity(vt::g_ws, 1, 250.0, 500.0, trace) && rhoPure != LiquidDensity(vt::g_ws, 1, 250.0, 500.0, some));
    // The glycols' own constants leave the table unchanged; SplitWaterAt
    // separates the given water component (none: nothing separated).
    OpenTable({"water", "ethylene glycol", "triethylene glycol"});
    const double g[] = {0.5, 0.2, 0.3};
    EXPECT_GT(LiquidDensity(vt::g_ws, 1, 300.0, 101.325, g), 0.0);
    EXPECT_TRUE(g_ws.cd[1].omegasrk == Component("ethylene glycol").omegasrk &&
                g_ws.cd[1].vstar == Component("ethylene glycol").vstar);
    OpenTable({"propane", "water", "n-hexane"});
    const double wet[] = {0.2, 0.5, 0.3}, water[] = {0.0, 1.0, 0.0};
    double w = -1, dry[3];
    SplitWaterAt(vt::g_ws, 1, wet, &w, dry);
    EXPECT_TRUE(w == 0.5 && std::fabs(dry[0] - 0.4) < 1e-15 && dry[1] == 0.0 && std::fabs(dry[2] - 0.6) < 1e-15);
    SplitWaterAt(vt::g_ws, 1, water, &w, dry);
    EXPECT_TRUE(w == 1.0 && dry[0] == 0.0 && dry[1] == 0.0 && dry[2] == 0.0);
    SplitWaterAt(vt::g_ws, kNoWater, wet, &w, dry);
    EXPECT_TRUE(w == 0.0 && dry[1] == 0.5);
}

// PureVchar inverts LiquidDensity: the density of a pure component at the
// measurement temperature gives back its characteristic volume; from each
// hydrocarbon's standard (60 F) liquid density it recovers the
// Hankinson-Thomson volume the library carries within half a per cent.
TEST(PureVchar, RoundTripVolumesReferenceTemperatureAndBadArguments) {
    for (const char* name : {"ethane", "propane", "n-butane", "n-pentane", "n-hexane", "n-octane", "n-decane",
                             "propylene", "benzene", "toluene", "methane", "nitrogen"}) {
        OpenTable({name});
        const CompRecord c = g_ws.cd[0];
        const double tref = c.tc >= 288.7055 ? 288.70555 : 0.6 * c.tc, x[] = {1.0};
        double vstar = 0;
        const double liqden = LiquidDensity(vt::g_ws, 1, tref, 101.325, x) * c.mw;
        EXPECT_EQ(::PureVchar(liqden, c.omegasrk, c.mw, c.tc, c.pc, tref, c.omega, &vstar), -1);
        EXPECT_NEAR(vstar / c.vstar, 1.0, 0.003) << name;
        if (tref != 288.70555) continue;  // no standard liquid density
        ::PureVchar(c.liqden, c.omegasrk, c.mw, c.tc, c.pc, 288.70555, c.omega, &vstar);
        EXPECT_NEAR(vstar / c.vstar, 1.0, 0.005) << name;
    }
    vt::CloseProps();
    // The measurement temperature matters only below tc = 288.7055 K; bad
    // arguments give MISSING, an unreachable density still ends (Zc fallback).
    const CompRecord c = Component("propane");
    auto vchar = [&](double liqden, double mw, double tc, double pc, double tref) {
        double v = 1.0;
        EXPECT_EQ(::PureVchar(liqden, c.omegasrk, mw, tc, pc, tref, c.omega, &v), -1);
        return v;
    };
    EXPECT_EQ(vchar(506.69, c.mw, 300.0, c.pc, 200.0), vchar(506.69, c.mw, 300.0, c.pc, 250.0));
    EXPECT_NE(vchar(506.69, c.mw, 280.0, c.pc, 200.0), vchar(506.69, c.mw, 280.0, c.pc, 250.0));
    EXPECT_EQ(::PureVchar(500, 0.15, 44, 370, 4250, 288, 0.15, nullptr), -1);
    for (auto [rho, mw, pc] : {std::tuple{std::nan(""), 44.0, 4250.0}, {500.0, 0.0, 4250.0}, {500.0, 44.0, -4250.0}})
        EXPECT_EQ(vchar(rho, mw, 370, pc, 288), VANTARO_MISSING) << rho << " " << mw << " " << pc;
    EXPECT_TRUE(std::isfinite(vchar(1e-300, 44, 370, 4250, 288)));
}

}  // namespace
}  // namespace vt
