// Transport properties against published data (tests/data/transport.csv,
// tests/data/water_viscosity.csv: measured or recommended values, not values
// this code printed), the mixing rules, the branch joins and the guards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "../support/component_table.h"
#include "correlations/liquid_density.h"
#include "transport/transport.h"
#include "transport/water_viscosity.h"
#include "vantaro/vantaro.h"

namespace {

using vt::MISSING;

const std::vector<std::string> kNames = {"methane",  "nitrogen", "carbon dioxide", "n-hexane",
                                         "n-heptane", "n-decane", "toluene",        "methanol",
                                         "water",     "propane",  "ethylene glycol", "n-octane"};

int Index(const std::string& name) {
    return static_cast<int>(std::find(kNames.begin(), kNames.end(), name) - kNames.begin());
}
const CompRecord& Rec(const std::string& name) { return vt::g_ws.cd[Index(name)]; }

// A mixture of the named components, e.g. Mix({{"n-hexane", 0.5}, {"n-decane", 0.5}}).
std::vector<double> Mix(std::initializer_list<std::pair<const char*, double>> parts) {
    std::vector<double> x(kNames.size(), 0.0);
    for (const auto& [name, f] : parts) x.at(Index(name)) = f;
    return x;
}
std::vector<double> Pure(const std::string& name) { return Mix({{name.c_str(), 1.0}}); }

// Liquid mass density at 1 atm from the compressed-liquid COSTALD routine.
double Density(const std::string& name, double T) {
    const CompRecord& c = Rec(name);
    double rho = 0;
    vt::CompressedLiquidDensity(T, 101.325, c.tc, c.pc, c.vstar, c.omegasrk, c.omega, &rho);
    return rho * c.mw;
}

double LiquidMu(const std::vector<double>& x, double T, double rho) {
    double mu = 0;
    EXPECT_EQ(ViscLiquid(x.data(), 101.325, T, rho, &mu), -1);
    return mu;
}

class Transport : public testing::Test {
protected:
    void SetUp() override { vt::test::OpenTable(kNames); }
    void TearDown() override { vt::CloseProps(); }
};

TEST_F(Transport, PureFluidsAgainstPublishedData) {
    vt::test::FitViscosity(1);  // liquid viscosity by the petroleum-fraction route (Twu)
    for (const vt::test::CsvRow& r : vt::test::ReadCsv("tests/data/transport.csv")) {
        const std::string prop = r.Str("property"), name = r.Str("name");
        const auto x = Pure(name);
        double v = 0;
        int32_t st = 0;
        if (prop == "gas_mu") st = ViscVapour(x.data(), r["t"], &v);
        else if (prop == "sigma") st = SurfTenLiquid(x.data(), r["t"], &v);
        else if (prop == "liq_k") st = ThermCondLiquid(x.data(), r["t"], &v);
        else if (prop == "gas_k") st = ThermCondVapour(x.data(), r["t"], r["arg"], &v);
        else if (prop == "liq_mu") st = ViscLiquid(x.data(), 101.325, r["t"], Density(name, r["t"]), &v);
        EXPECT_TRUE(st == -1 && std::fabs(v / r["value"] - 1.0) <= r["tol"]) << prop << " " << name << " " << v;
    }
    // A liquid mixture's viscosity lies between its components'.
    const double mm = LiquidMu(Mix({{"n-hexane", 0.5}, {"n-decane", 0.5}}), 300.0,
                               0.5 * (Density("n-hexane", 300.0) + Density("n-decane", 300.0)));
    EXPECT_TRUE(mm > LiquidMu(Pure("n-hexane"), 300.0, Density("n-hexane", 300.0)) &&
                mm < LiquidMu(Pure("n-decane"), 300.0, Density("n-decane", 300.0))) << mm;
}

// The gas correlations join across their branches: viscosity at Tc
// (d ln f / d ln Tr = 1 just above, 0.965 below); conductivity at the
// Stiel-Thodos reduced densities 0.5 and 2 (a negative density has none).
TEST_F(Transport, GasBranchesJoin) {
    const auto n2 = Pure("nitrogen"), c1 = Pure("methane");
    auto mu = [&](double tr) {
        double v = 0;
        ViscVapour(n2.data(), Rec("nitrogen").tc * tr, &v);
        return v;
    };
    EXPECT_NEAR(mu(1 - 1e-9) / mu(1), 1.0, 1e-8);
    EXPECT_NEAR(mu(1 + 1e-9) / mu(1), 1.0, 1e-8);
    EXPECT_NEAR(std::log(mu(1.01) / mu(1)) / std::log(1.01), 1.0, 0.02);
    EXPECT_NEAR(std::log(mu(1) / mu(0.99)) / -std::log(0.99), 0.965, 1e-6);
    auto k = [&](double rhoR) {
        double v = 0;
        EXPECT_EQ(ThermCondVapour(c1.data(), 300.0, rhoR / Rec("methane").vc * Rec("methane").mw, &v), -1);
        return v;
    };
    EXPECT_GT(k(0.1), k(0.0));
    EXPECT_NEAR(k(0.5 - 1e-9) / k(0.5), 1.0, 0.01);
    EXPECT_NEAR(k(2.0 - 1e-9) / k(2.0), 1.0, 0.01);
    EXPECT_EQ(k(-1.0), MISSING);
}

// Surface tension: water and glycol combine as a mass-weighted mean of
// sigma^(1/4), hydrocarbons linearly; components above Tc add nothing, and a
// liquid of such components only has none. Liquid conductivity: nitrogen far
// above Tc is evaluated at Tr = 0.99999 and stays finite.
TEST_F(Transport, LiquidMixingRules) {
    auto sigma = [&](std::vector<double> x, double t = 320.0) {
        double s = 0;
        EXPECT_EQ(SurfTenLiquid(x.data(), t, &s), -1);
        return s;
    };
    const double sw = sigma(Pure("water")), sg = sigma(Pure("ethylene glycol"));
    const double mw = Rec("water").mw, mg = Rec("ethylene glycol").mw;
    const double q = (mw * std::pow(sw, 0.25) + mg * std::pow(sg, 0.25)) / (mw + mg);
    EXPECT_NEAR(sigma(Mix({{"water", 0.5}, {"ethylene glycol", 0.5}})), q * q * q * q, 1e-9 * sw);
    EXPECT_NEAR(sigma(Mix({{"n-hexane", 0.3}, {"n-decane", 0.6}, {"methane", 0.1}})),
                0.3 * sigma(Pure("n-hexane")) + 0.6 * sigma(Pure("n-decane")), 1e-9 * sw);
    EXPECT_EQ(sigma(Mix({{"methane", 0.5}, {"nitrogen", 0.5}}), 250.0), MISSING);
    EXPECT_EQ(sigma(Pure("water"), 700.0), MISSING);
    double kn = 0;
    EXPECT_TRUE(ThermCondLiquid(Pure("nitrogen").data(), 400.0, &kn) == -1 && std::isfinite(kn) && kn > 0.0);
}

TEST(WaterViscosity, PublishedValuesRegionsAndEdges) {
    for (const vt::test::CsvRow& d : vt::test::ReadCsv("tests/data/water_viscosity.csv")) {
        SCOPED_TRACE(testing::Message() << d["t"] << " K " << d["p"] << " kPa");
        EXPECT_EQ(vt::WaterViscosityRegion(d["t"], d["p"], d["v"]), d["region"]);
        EXPECT_NEAR(vt::WaterViscosity(d["t"], d["p"], d["v"]) / d["mu"], 1.0, d["tol"]);
    }
    // The liquid correction is 1 + 1.0467e-11 (T - 305 K)(P - Psat) with the
    // pressures in Pa: +3.2 % at 473.15 K and 20 MPa (IAPWS 2008: +3.3 %),
    // a slight decrease below 305 K.
    EXPECT_NEAR(vt::WaterViscosity(473.15, 20000.0, 0.0208) / vt::WaterViscosity(473.15, 1554.9, 0.0208), 1.032, 0.002);
    EXPECT_LT(vt::WaterViscosity(290.0, 50000.0, 0.018), vt::WaterViscosity(290.0, 101.325, 0.018));
    // At 300 degC the compressed-liquid correlation (region 3, up to 573.15 K)
    // meets the 300-375 degC table (region 7) only with the pressures in Pa.
    for (double bar : {100.0, 200.0, 500.0, 800.0}) {
        const double p = bar * 100.0, above = 573.15 + 1e-6;
        EXPECT_TRUE(vt::WaterViscosityRegion(573.15, p, 0.025) == 3 && vt::WaterViscosityRegion(above, p, 0.025) == 7);
        EXPECT_NEAR(vt::WaterViscosity(573.15, p, 0.025) / vt::WaterViscosity(above, p, 0.025), 1.0, 0.005) << bar;
    }
    for (auto [t, p] : {std::pair{1000.0, 1000.0}, {300.0, 90000.0}, {300.0, -1.0}, {500.0, 5000.0},
                        {NAN, 1000.0}, {INFINITY, 1000.0}, {400.0, NAN}, {400.0, INFINITY}})
        EXPECT_EQ(vt::WaterViscosity(t, p, t == 500.0 ? 0.1 : 0.018), MISSING) << t << " " << p;
    // Below 300 degC off the table (region 7); the triple point (region 8).
    EXPECT_TRUE(vt::WaterViscosityRegion(500, 5000, 0.1) == 7 && vt::WaterViscosityRegion(273.16, 101.325, 0.018) == 8);
    EXPECT_DOUBLE_EQ(vt::WaterViscosity(273.16, 101.325, 0.018), (17500.0 - 0.5 * 101.325 / 100.0) * 1e-4);
    EXPECT_NEAR(vt::WaterViscosity(598.15, 20000.0, 0.025), (930 + 735) / 2.0 * 1e-4, 1e-6);  // table
    EXPECT_TRUE(std::isfinite(vt::WaterViscosity(300.0, 101.325, NAN)));  // steam side
}

// A liquid of 99.95 % water takes the water formulas (at 273.15 K below
// it); 99.8 % water goes through corresponding states.
TEST_F(Transport, WaterFormulasAndLetsouStielFits) {
    vt::test::FitViscosity(0);
    const double rho = 996.5;  // kg/m3
    for (double xw : {0.9995, 0.998}) {
        const auto x = Mix({{"water", xw}, {"n-hexane", 1.0 - xw}});
        double M = 0;
        MolWeight(x.data(), &M);
        const double mu = LiquidMu(x, 300.0, rho), water = vt::WaterViscosity(300.0, 101.325, M / rho);
        EXPECT_EQ(mu == water, xw > 0.999) << xw;
        if (xw < 0.999) continue;
        EXPECT_NEAR(mu, 0.8538, 0.01);
        EXPECT_DOUBLE_EQ(LiquidMu(x, 260.0, rho), vt::WaterViscosity(273.15, 101.325, M / rho));
    }
    // ViscParam then ViscLiquid reproduce the estimation method at its own eight
    // fitting temperatures (Letsou-Stiel for a defined compound).
    for (const char* name : {"n-hexane", "n-decane", "toluene", "methanol", "propane"}) {
        const CompRecord& c = Rec(name);
        double sumSq = 0, worst = 0;
        for (int k = 0; k < 8; ++k) {
            const double T = c.tc * (0.35 + k * (c.tb / c.tc - 0.35) / 8.0), Tr = T / c.tc;
            const double xi = 0.176 * std::pow(c.tc / (std::pow(c.pc / 100.0, 4) * std::pow(c.mw, 3)), 0.16667);
            const double ls = (0.001 * (2.648 - 3.725 * Tr + 1.309 * Tr * Tr) +
                               c.omega * 0.001 * (7.425 - 13.39 * Tr + 5.933 * Tr * Tr)) / xi;
            const double dev = LiquidMu(Pure(name), T, Density(name, T)) / ls - 1.0;
            sumSq += dev * dev;
            worst = std::max(worst, std::fabs(dev));
        }
        EXPECT_TRUE(std::sqrt(sumSq / 8.0) < 0.06 && worst < 0.10) << name << " " << worst;
    }
}

TEST(ViscParam, BranchSelectionAndDegenerateInput) {
    const CompRecord c = vt::test::Component("n-hexane");
    auto fit = [&](int32_t kind, double tb, double mw = 0) {
        double a = 0, b = 0;
        EXPECT_EQ(ViscParam(kind, mw ? mw : c.mw, c.tc, c.pc / 100.0, c.vc, c.vstar, c.omega, c.omegasrk, tb,
                            c.liqden, &a, &b), -1);
        return std::pair{a, b};
    };
    // A defined compound always takes Letsou-Stiel: tb only sets the range.
    // Only the low 16 bits of the kind count.
    EXPECT_TRUE(fit(0, 300) != fit(1, 300) && fit(0, 269.9) == fit(1, 269.9) && fit(1, 320) == fit(0x10001, 320));
    // 335 K is still Ely-Hanley, 335.01 K Twu: the fits jump.
    const double b335 = fit(1, 335.0).second;
    EXPECT_TRUE(std::fabs(b335 - fit(1, 334.99).second) < 0.01 && std::fabs(fit(1, 335.01).second - b335) > 0.05);
    // tb = 0.35 tc: all eight points coincide, nothing to fit; NaN input.
    EXPECT_TRUE(fit(0, 0.35 * c.tc) == std::pair(MISSING, MISSING) && fit(1, 340.0, NAN).first == MISSING);
    double b = 1;
    EXPECT_EQ(ViscParam(1, 86.0, 500.0, 30.0, 0.37, 0.37, 0.3, 0.3, 340.0, 660.0, nullptr, &b), -1);
}

// Absent compositions and null pointers give 0 and MISSING; unusable
// numbers give -1 and MISSING.
TEST_F(Transport, ExportsGuardTheirArguments) {
    vt::test::FitViscosity(0);
    const double absent[] = {MISSING, 0.5};
    const std::vector<double> zero(kNames.size(), 0.0), hex = Pure("n-hexane");
    double out = 0;
    EXPECT_EQ(ViscLiquid(absent, 100, 300, 600, &out) + SurfTenLiquid(absent, 300, &out) +
                  ThermCondLiquid(absent, 300, &out) + ThermCondVapour(absent, 300, 1, &out) +
                  ViscVapour(absent, 300, &out), 0);
    EXPECT_TRUE(out == MISSING && ViscVapour(nullptr, 300, &out) == 0 && out == MISSING);
    EXPECT_EQ(ViscVapour(hex.data(), 300, nullptr) + ThermCondVapour(nullptr, 300, 1, &out), 0);
    // Each call's status and output, in turn (&& evaluates left to right).
    auto refused = [&](int32_t st) { return st == -1 && out == MISSING; };
    // An all-zero composition has no pseudo-critical constants.
    EXPECT_TRUE(refused(ViscVapour(zero.data(), 300, &out)) && refused(ViscLiquid(zero.data(), 100, 300, 600, &out)));
    EXPECT_TRUE(refused(ThermCondVapour(zero.data(), 300, 1, &out)) && refused(SurfTenLiquid(zero.data(), 300, &out)));
    for (double bad : {NAN, INFINITY, -INFINITY}) {
        EXPECT_TRUE(refused(ViscVapour(hex.data(), bad, &out)) && refused(ThermCondLiquid(hex.data(), bad, &out)));
        EXPECT_TRUE(refused(ViscLiquid(hex.data(), 100, bad, 650, &out)) &&
                    refused(ViscLiquid(hex.data(), 100, 300, bad, &out))) << bad;
        EXPECT_TRUE(refused(ThermCondVapour(hex.data(), 300, bad, &out))) << bad;
    }
    for (double rho : {0.0, -5.0}) EXPECT_TRUE(refused(ViscLiquid(hex.data(), 100, 300, rho, &out))) << rho;
}

}  // namespace
