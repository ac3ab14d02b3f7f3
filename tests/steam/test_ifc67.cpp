// IFC-67 water and steam: the formulation's own check values (saturation
// line, reduced volume, enthalpy and heat capacity of each subregion), the
// subregion chosen for each phase code at its boundaries, and the published
// IAPWS-IF97 verification values, which IFC-67 meets within a few tenths of a
// percent away from the critical point.
#include <gtest/gtest.h>

#include <cmath>

#include "../support/csv.h"
#include "steam/ifc67.h"
#include "workspace/workspace.h"

namespace {

constexpr double kTc = 647.3, kPc = 22120.0, kVc = 0.00317, kMw = 18.02;
constexpr double kH = 1263.569608, kCp = 1.9520618;

TEST(Ifc67, FormulationCheckValuesAndRegions) {
    for (const vt::test::CsvRow& c : vt::test::ReadCsv("tests/data/ifc67_check.csv")) {
        SCOPED_TRACE(testing::Message() << c.Str("kind") << " " << c["t"] << " K " << c.Str("p") << " kPa phase "
                                        << c.Str("phase"));
        if (c.Str("kind") == "sat") {
            EXPECT_NEAR(vt::SaturationPressure(c["t"]) / c["chi"], 1.0, 1e-9);
            continue;
        }
        const int phase = static_cast<int>(c["phase"]);
        EXPECT_EQ(vt::WaterRegion(c["t"] / kTc, c["p"] / kPc, phase), c["region"]);
        if (c.Str("kind") == "region") continue;
        EXPECT_NEAR(vt::SteamMolarVolume(c["t"], c["p"], phase) / (c["chi"] * kVc * kMw), 1.0, 1e-6);
        EXPECT_NEAR(vt::WaterEnthalpy(c["t"], c["p"], phase) / (c["eps"] * kH), 1.0, 1e-7);
        EXPECT_NEAR(vt::WaterHeatCapacity(c["t"], c["p"], phase) / (c["cp"] * kCp), 1.0, 1e-6);
    }
    EXPECT_DOUBLE_EQ(vt::SaturationPressure(kTc), 1.0);
    for (auto [t, beta] : {std::pair{650.0, 0.905847487347}, {700.0, 1.377807265524}, {800.0, 3.013156367999}})
        EXPECT_NEAR(vt::ifc67::BoundaryL(t / kTc), beta, 1e-10) << t;
    // The selection boundary reaches 100 MPa at 590 degC and sits 4.9 kPa
    // above the published parabola at 350 degC.
    for (auto [t, beta] : {std::pair{863.15, 4.520795660036167}, {623.15, 0.747739602169982}})
        EXPECT_NEAR(vt::ifc67::SelectionBoundaryL(t / kTc), beta, 1e-12) << t;
}

// IFC-67 has its own zero (triple-point liquid) which matches IF97's within
// a fraction of a kJ/kg, so enthalpies compare directly. Region 3 states,
// given as (T, rho), are evaluated at IF97's pressure.
TEST(Ifc67, AgreesWithIapwsIf97) {
    for (const vt::test::CsvRow& c : vt::test::ReadCsv("tests/data/if97_verification.csv")) {
        SCOPED_TRACE(testing::Message() << c.Str("kind") << " " << c["t"] << " K " << c["p"] << " MPa");
        const double P = c["p"] * 1000.0;
        if (c.Str("kind") == "sat") {
            EXPECT_NEAR(vt::SaturationPressure(c["t"]) * kPc / P, 1.0, c["tolv"]);
            continue;
        }
        const int phase = static_cast<int>(c["phase"]);
        EXPECT_NEAR(vt::SteamMolarVolume(c["t"], P, phase) / kMw / c["v"], 1.0, c["tolv"]);
        EXPECT_NEAR(vt::WaterEnthalpy(c["t"], P, phase) / kMw / c["h"], 1.0, c["tolh"]);
        if (c.Has("cp")) {
            EXPECT_NEAR(vt::WaterHeatCapacity(c["t"], P, phase) / kMw / c["cp"], 1.0, c["tolcp"]);
        }
    }
}

TEST(Ifc67, OutsideEveryRegionAndContinuityAcrossSubregions) {
    // Volume and heat capacity MISSING, enthalpy 0; a volume at a
    // non-finite pressure is missing or not finite.
    EXPECT_TRUE(vt::WaterHeatCapacity(1100, 100, 0) == vt::MISSING && vt::WaterEnthalpy(1100, 100, 0) == 0.0);
    for (auto [t, p, phase] : {std::tuple{1100.0, 100.0, 0}, {600.0, 12000.0, 3}, {600.0, 0.0, 0}})
        EXPECT_EQ(vt::SteamMolarVolume(t, p, phase), vt::MISSING) << t << " " << p << " " << phase;
    for (double bad : {NAN, INFINITY, -INFINITY}) {
        EXPECT_TRUE(vt::SteamMolarVolume(bad, 1000, 0) == vt::MISSING &&
                    vt::WaterHeatCapacity(bad, 1000, 1) == vt::MISSING);
        EXPECT_TRUE(vt::WaterEnthalpy(bad, 1000, 1) == 0.0 && !(vt::SteamMolarVolume(640, bad, 0) > 0.0)) << bad;
    }
    // The subregions join: 1 and 4 at 623.15 K, 2 and 3 on the L-line.
    EXPECT_NEAR(vt::WaterEnthalpy(623.15, 20000, 1) / kMw, 1647.18, 0.05);         // region 1
    EXPECT_NEAR(vt::WaterEnthalpy(623.15 + 1e-9, 20000, 1) / kMw, 1647.07, 0.05);  // region 4
    const double PL = vt::ifc67::BoundaryL(700 / kTc) * kPc;                       // 30.477 MPa
    const auto g = vt::ifc67::Region2(700 / kTc, PL / kPc);
    EXPECT_NEAR((g.g - 700 / kTc * g.gt) * kH / kMw, 2618.13, 0.05);
    const double v3 = vt::ifc67::NearCriticalVolume(700, PL, false);
    const auto f = vt::ifc67::Region3(700 / kTc, v3 / kVc, false);
    EXPECT_NEAR((f.f - 700 / kTc * f.ft - v3 / kVc * f.fc) * kH / kMw, 2618.27, 0.05);
}

}  // namespace
