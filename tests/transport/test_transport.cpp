// Transport properties against published data: gas and liquid viscosity,
// surface tension, thermal conductivity and water viscosity. Reference values
// are measured or recommended data (NIST Chemistry WebBook / REFPROP
// correlations, IAPWS releases, CRC Handbook), not values this code printed.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <string>
#include <vector>

#include "../support/component_table.h"
#include "props/liquid_density.h"
#include "transport/transport.h"
#include "transport/water_viscosity.h"
#include "vantaro/vantaro.h"

namespace {

using vt::MISSING;

class Transport : public testing::Test {
protected:
    void SetUp() override {
        vt::test::OpenTable(names);
        n = static_cast<int>(names.size());
    }
    void TearDown() override { vt::CloseProps(); }
    int Index(const std::string& name) const {
        for (int i = 0; i < n; ++i)
            if (names[i] == name) return i;
        throw std::runtime_error(name);
    }
    std::vector<double> Pure(const std::string& name) const { return vt::test::Pure(n, Index(name)); }
    // Fills visca/viscb of every component with ViscParam, as a host does.
    void FitViscosityParameters(int kind) {
        for (int i = 0; i < n; ++i) {
            CompRecord& c = vt::g_ws.cd[i];
            ::ViscParam(kind, c.mw, c.tc, c.pc / 100.0, c.vc, c.vstar, c.omega, c.omegasrk, c.tb,
                        c.liqden, &c.visca, &c.viscb);
        }
    }
    // Liquid mass density at 1 atm from the compressed-liquid COSTALD routine.
    double Density(const std::string& name, double T) const {
        const CompRecord& c = vt::g_ws.cd[Index(name)];
        double rho = 0;
        vt::CompressedLiquidDensity(T, 101.325, c.tc, c.pc, c.vstar, c.omegasrk, c.omega, &rho);
        return rho * c.mw;
    }

    std::vector<std::string> names{"methane", "nitrogen",        "carbon dioxide", "n-hexane",
                                   "n-heptane", "n-decane",      "toluene",        "methanol",
                                   "water",     "ethylene glycol", "propane",       "n-octane"};
    int n = 0;
};

TEST_F(Transport, GasViscosityAtLowPressure) {
    // NIST WebBook, 300 K, 0.1 MPa (cP)
    const struct {
        const char* name;
        double mu;
    } data[] = {{"methane", 0.01118}, {"nitrogen", 0.01790}, {"carbon dioxide", 0.01502}, {"propane", 0.00825}};
    for (const auto& d : data) {
        double mu = 0;
        EXPECT_EQ(ViscVapour(Pure(d.name).data(), 300.0, &mu), -1);
        EXPECT_NEAR(mu / d.mu, 1.0, 0.05) << d.name;
    }
}

TEST_F(Transport, GasViscosityIsContinuousAtTheCriticalTemperature) {
    const auto x = Pure("nitrogen");
    const double tc = vt::g_ws.cd[Index("nitrogen")].tc;
    double below = 0, at = 0, above = 0;
    ViscVapour(x.data(), tc * (1 - 1e-9), &below);
    ViscVapour(x.data(), tc, &at);
    ViscVapour(x.data(), tc * (1 + 1e-9), &above);
    EXPECT_NEAR(below / at, 1.0, 1e-8);
    EXPECT_NEAR(above / at, 1.0, 1e-8);
    // The upper branch rises faster than the lower branch right above Tc:
    // d ln f / d ln Tr = 1 just above Tc (0.965 below).
    double lo = 0, hi = 0;
    ViscVapour(x.data(), tc * 0.99, &lo);
    ViscVapour(x.data(), tc * 1.01, &hi);
    EXPECT_NEAR(std::log(hi / at) / std::log(1.01), 1.0, 0.02);
    EXPECT_NEAR(std::log(at / lo) / -std::log(0.99), 0.965, 1e-6);
}

TEST_F(Transport, SurfaceTensionOfPureLiquids) {
    // IAPWS (water), Mulero et al. J. Phys. Chem. Ref. Data 41 (2012) 043105
    // (methanol, n-hexane, toluene), dyn/cm at 298.15 K.
    const struct {
        const char* name;
        double sigma, tol;
    } data[] = {{"water", 71.97, 0.01}, {"methanol", 22.07, 0.03}, {"n-hexane", 17.89, 0.03}, {"n-decane", 23.37, 0.05}};
    for (const auto& d : data) {
        double s = 0;
        EXPECT_EQ(SurfTenLiquid(Pure(d.name).data(), 298.15, &s), -1);
        EXPECT_NEAR(s / d.sigma, 1.0, d.tol) << d.name;
    }
}

TEST_F(Transport, SurfaceTensionMixing) {
    // Water and glycol combine as a mass-weighted mean of sigma^(1/4);
    // hydrocarbons linearly; components above Tc add nothing.
    const double T = 320.0;
    auto sigma = [&](std::vector<double> x) {
        double s = 0;
        SurfTenLiquid(x.data(), T, &s);
        return s;
    };
    const double sw = sigma(Pure("water")), sg = sigma(Pure("ethylene glycol"));
    const double sh = sigma(Pure("n-hexane")), sd = sigma(Pure("n-decane"));
    std::vector<double> x(n, 0.0);
    x[Index("water")] = 0.5;
    x[Index("ethylene glycol")] = 0.5;
    const double mw = vt::g_ws.cd[Index("water")].mw, mg = vt::g_ws.cd[Index("ethylene glycol")].mw;
    const double q = (0.5 * mw * std::pow(sw, 0.25) + 0.5 * mg * std::pow(sg, 0.25)) / (0.5 * mw + 0.5 * mg);
    EXPECT_NEAR(sigma(x), q * q * q * q, 1e-9 * sw);
    std::fill(x.begin(), x.end(), 0.0);
    x[Index("n-hexane")] = 0.3;
    x[Index("n-decane")] = 0.6;
    x[Index("methane")] = 0.1;  // supercritical at 320 K
    EXPECT_NEAR(sigma(x), 0.3 * sh + 0.6 * sd, 1e-9 * sh);
}

TEST_F(Transport, SurfaceTensionAboveEveryCriticalTemperatureIsMissing) {
    std::vector<double> x(n, 0.0);
    x[Index("methane")] = 0.5;
    x[Index("nitrogen")] = 0.5;
    double s = 0;
    EXPECT_EQ(SurfTenLiquid(x.data(), 250.0, &s), -1);
    EXPECT_EQ(s, MISSING);
    EXPECT_EQ(SurfTenLiquid(Pure("water").data(), 700.0, &s), -1);
    EXPECT_EQ(s, MISSING);
}

TEST_F(Transport, LiquidThermalConductivity) {
    // IAPWS 2011 (water), NIST WebBook (n-heptane, toluene, methanol), 300 K, W/(m K)
    const struct {
        const char* name;
        double k, tol;
    } data[] = {{"water", 0.6103, 0.01}, {"n-heptane", 0.1226, 0.05}, {"n-hexane", 0.1199, 0.06}, {"methanol", 0.2003, 0.15}};
    for (const auto& d : data) {
        double k = 0;
        EXPECT_EQ(ThermCondLiquid(Pure(d.name).data(), 300.0, &k), -1);
        EXPECT_NEAR(k / d.k, 1.0, d.tol) << d.name;
    }
    double k = 0;
    ThermCondLiquid(Pure("water").data(), 300.0, &k);
    // The cube-root rule with the exponent 0.3333 returns k^0.9999 for a pure liquid.
    EXPECT_NEAR(k, std::pow(0.005245 * 300 - 0.3838 - 6.396e-06 * 300 * 300, 0.9999), 1e-12);
}

TEST_F(Transport, LiquidThermalConductivityMixingAndSupercriticalComponents) {
    std::vector<double> x(n, 0.0);
    x[Index("n-hexane")] = 0.5;
    x[Index("n-decane")] = 0.5;
    double kh = 0, kd = 0, km = 0;
    ThermCondLiquid(Pure("n-hexane").data(), 320.0, &kh);
    ThermCondLiquid(Pure("n-decane").data(), 320.0, &kd);
    ThermCondLiquid(x.data(), 320.0, &km);
    kh = std::pow(kh, 1.0 / 0.9999);  // the pure values themselves
    kd = std::pow(kd, 1.0 / 0.9999);
    const double c = 0.5 * std::pow(kh, 0.3333) + 0.5 * std::pow(kd, 0.3333);
    EXPECT_NEAR(km, c * c * c, 1e-12);
    // Nitrogen far above Tc is evaluated at Tr = 0.99999 and stays finite.
    double kn = 0;
    EXPECT_EQ(ThermCondLiquid(Pure("nitrogen").data(), 400.0, &kn), -1);
    EXPECT_TRUE(std::isfinite(kn));
    EXPECT_GT(kn, 0.0);
}

TEST_F(Transport, GasThermalConductivityLowAndHighDensity) {
    // NIST WebBook at 300 K: low pressure, and 10 MPa (methane 73.2 kg/m3,
    // nitrogen 110.9 kg/m3), W/(m K).
    const struct {
        const char* name;
        double rho, k, tol;
    } data[] = {{"methane", 0.6443, 0.03420, 0.03}, {"nitrogen", 1.1233, 0.02598, 0.03},
                {"carbon dioxide", 1.773, 0.01681, 0.03}, {"methane", 73.2, 0.0436, 0.06},
                {"nitrogen", 110.9, 0.0309, 0.06}};
    for (const auto& d : data) {
        double k = 0;
        EXPECT_EQ(ThermCondVapour(Pure(d.name).data(), 300.0, d.rho, &k), -1);
        EXPECT_NEAR(k / d.k, 1.0, d.tol) << d.name << " " << d.rho;
    }
}

TEST_F(Transport, GasThermalConductivityDensityBranches) {
    const auto x = Pure("methane");
    const double M = vt::g_ws.cd[Index("methane")].mw, vc = vt::g_ws.cd[Index("methane")].vc;
    auto k = [&](double rhoR) {
        double v = 0;
        ThermCondVapour(x.data(), 300.0, rhoR / vc * M, &v);
        return v;
    };
    const double k0 = k(0.0);
    EXPECT_GT(k(0.1), k0);
    // The three Stiel-Thodos branches join closely at reduced densities 0.5 and 2.
    EXPECT_NEAR(k(0.5 - 1e-9) / k(0.5), 1.0, 0.01);
    EXPECT_NEAR(k(2.0 - 1e-9) / k(2.0), 1.0, 0.01);
    double v = 0;
    EXPECT_EQ(ThermCondVapour(x.data(), 300.0, -1.0, &v), -1);
    EXPECT_EQ(v, MISSING);
}

TEST(WaterViscosity, RegionsAndPublishedValues) {
    // IAPWS 2008 viscosity (cP): liquid at 0.1 MPa and on the saturation line,
    // steam at 0.1 MPa.
    const struct {
        double T, P, v, mu, tol;
        int region;
    } data[] = {
        {293.15, 101.325, 0.018, 1.0016, 0.01, 3},  // liquid above saturation pressure
        {300.0, 3.5, 0.01808, 0.8538, 0.01, 2},     // liquid below it
        {350.0, 40.0, 0.01850, 0.3688, 0.02, 2},
        {400.0, 100.0, 33.0, 0.01330, 0.02, 4},     // steam
        {500.0, 1000.0, 4.0, 0.01700, 0.03, 5},     // steam near saturation line
        {700.0, 10000.0, 0.5, 0.0262, 0.05, 6},     // supercritical steam
    };
    for (const auto& d : data) {
        SCOPED_TRACE(testing::Message() << d.T << " K " << d.P << " kPa");
        EXPECT_EQ(vt::WaterViscosityRegion(d.T, d.P, d.v), d.region);
        EXPECT_NEAR(vt::WaterViscosity(d.T, d.P, d.v) / d.mu, 1.0, d.tol);
    }
}

TEST(WaterViscosity, EdgeCases) {
    EXPECT_EQ(vt::WaterViscosity(1000.0, 1000.0, 0.018), MISSING);
    EXPECT_EQ(vt::WaterViscosity(300.0, 90000.0, 0.018), MISSING);
    EXPECT_EQ(vt::WaterViscosity(300.0, -1.0, 0.018), MISSING);
    EXPECT_EQ(vt::WaterViscosityRegion(273.16, 101.325, 0.018), 8);
    EXPECT_DOUBLE_EQ(vt::WaterViscosity(273.16, 101.325, 0.018), (17500.0 - 0.5 * 101.325 / 100.0) * 1e-4);
    // Region 7: the 300-375 degC table; outside it missing.
    EXPECT_EQ(vt::WaterViscosityRegion(600.0, 20000.0, 0.025), 7);
    EXPECT_NEAR(vt::WaterViscosity(598.15, 20000.0, 0.025), (930 + 735) / 2.0 * 1e-4, 1e-6);
    EXPECT_EQ(vt::WaterViscosityRegion(620.0, 20000.0, 0.1), 7);
    EXPECT_EQ(vt::WaterViscosityRegion(500.0, 5000.0, 0.1), 7);  // below 300 degC: off the table
    EXPECT_EQ(vt::WaterViscosity(500.0, 5000.0, 0.1), MISSING);
    for (double bad : {NAN, INFINITY}) {
        EXPECT_EQ(vt::WaterViscosity(bad, 1000.0, 0.018), MISSING);
        EXPECT_EQ(vt::WaterViscosity(400.0, bad, 0.018), MISSING);
        EXPECT_TRUE(std::isfinite(vt::WaterViscosity(300.0, 101.325, bad)));  // steam side
    }
}

// At 300 degC the compressed-liquid correlation (region 3, up to 573.15 K)
// meets the table (region 7, above it) only with the pressures in Pa in its
// correction term: 905, 1010 and 1080 uP at 100, 500 and 800 bar.
TEST(WaterViscosity, LiquidCorrelationMeetsTheTableAt300C) {
    for (double bar : {100.0, 200.0, 500.0, 800.0}) {
        const double below = vt::WaterViscosity(573.15, bar * 100.0, 0.025);
        const double above = vt::WaterViscosity(573.15 + 1e-6, bar * 100.0, 0.025);
        EXPECT_EQ(vt::WaterViscosityRegion(573.15, bar * 100.0, 0.025), 3);
        EXPECT_EQ(vt::WaterViscosityRegion(573.15 + 1e-6, bar * 100.0, 0.025), 7);
        EXPECT_NEAR(below / above, 1.0, 0.005) << bar;
    }
}

TEST(WaterViscosity, PressureCorrectionOfTheLiquid) {
    // The liquid correction is 1 + 1.0467e-11 (T - 305 K)(P - Psat) with the
    // pressures in Pa: +3.2 % at 473.15 K and 20 MPa (IAPWS 2008: +3.3 %),
    // a slight decrease below 305 K.
    const double sat = vt::WaterViscosity(473.15, 1554.9, 0.0208);
    const double hi = vt::WaterViscosity(473.15, 20000.0, 0.0208);
    EXPECT_NEAR(hi / sat, 1.032, 0.002);
    EXPECT_LT(vt::WaterViscosity(290.0, 50000.0, 0.018), vt::WaterViscosity(290.0, 101.325, 0.018));
}

TEST_F(Transport, LiquidViscosityOfWaterUsesTheWaterFormulas) {
    std::vector<double> x(n, 0.0);
    x[Index("water")] = 0.9995;
    x[Index("n-hexane")] = 0.0005;
    FitViscosityParameters(0);
    double mu = 0;
    const double rho = 996.5;  // kg/m3
    double M = 0;
    MolWeight(x.data(), &M);
    EXPECT_EQ(ViscLiquid(x.data(), 101.325, 300.0, rho, &mu), -1);
    EXPECT_DOUBLE_EQ(mu, vt::WaterViscosity(300.0, 101.325, M / rho));
    EXPECT_NEAR(mu, 0.8538, 0.01);
    // below 273.15 K the water formulas are asked at 273.15 K
    EXPECT_EQ(ViscLiquid(x.data(), 101.325, 260.0, rho, &mu), -1);
    EXPECT_DOUBLE_EQ(mu, vt::WaterViscosity(273.15, 101.325, M / rho));
    // 0.998 water goes through corresponding states
    x[Index("water")] = 0.998;
    x[Index("n-hexane")] = 0.002;
    MolWeight(x.data(), &M);
    double cs = 0;
    EXPECT_EQ(ViscLiquid(x.data(), 101.325, 300.0, rho, &cs), -1);
    EXPECT_NE(cs, vt::WaterViscosity(300.0, 101.325, M / rho));
}

// ViscParam then ViscLiquid reproduce the estimation method at its own eight
// fitting temperatures (Letsou-Stiel for a defined compound).
TEST_F(Transport, FittedParametersReproduceLetsouStiel) {
    FitViscosityParameters(0);
    for (const char* name : {"n-hexane", "n-decane", "toluene", "methanol", "propane"}) {
        const CompRecord& c = vt::g_ws.cd[Index(name)];
        const auto x = Pure(name);
        double sumSq = 0, worst = 0;
        for (int k = 0; k < 8; ++k) {
            const double T = c.tc * (0.35 + k * (c.tb / c.tc - 0.35) / 8.0);
            const double Tr = T / c.tc, pb = c.pc / 100.0;
            const double xi = 0.176 * std::pow(c.tc / (std::pow(pb, 4) * std::pow(c.mw, 3)), 0.16667);
            const double ls = (0.001 * (2.648 - 3.725 * Tr + 1.309 * Tr * Tr) +
                               c.omega * 0.001 * (7.425 - 13.39 * Tr + 5.933 * Tr * Tr)) /
                              xi;
            double mu = 0;
            ViscLiquid(x.data(), 101.325, T, Density(name, T), &mu);
            const double dev = mu / ls - 1.0;
            sumSq += dev * dev;
            worst = std::max(worst, std::fabs(dev));
        }
        EXPECT_LT(std::sqrt(sumSq / 8.0), 0.06) << name;
        EXPECT_LT(worst, 0.10) << name;
    }
}

// Petroleum-fraction route (Twu and Walther) against measured viscosities
// at 300 K (NIST WebBook / CRC Handbook, cP).
TEST_F(Transport, LiquidViscosityOfHydrocarbonsAt300K) {
    FitViscosityParameters(1);
    const struct {
        const char* name;
        double mu;
    } data[] = {{"n-hexane", 0.295}, {"n-decane", 0.820}, {"toluene", 0.551}, {"n-octane", 0.500}};
    for (const auto& d : data) {
        double mu = 0;
        EXPECT_EQ(ViscLiquid(Pure(d.name).data(), 101.325, 300.0, Density(d.name, 300.0), &mu), -1);
        EXPECT_NEAR(mu / d.mu, 1.0, 0.10) << d.name;
    }
    // A mixture lies between its components.
    std::vector<double> x(n, 0.0);
    x[Index("n-hexane")] = 0.5;
    x[Index("n-decane")] = 0.5;
    double mh = 0, md = 0, mm = 0;
    ViscLiquid(Pure("n-hexane").data(), 101.325, 300.0, Density("n-hexane", 300.0), &mh);
    ViscLiquid(Pure("n-decane").data(), 101.325, 300.0, Density("n-decane", 300.0), &md);
    ViscLiquid(x.data(), 101.325, 300.0, 0.5 * (Density("n-hexane", 300.0) + Density("n-decane", 300.0)), &mm);
    EXPECT_GT(mm, mh);
    EXPECT_LT(mm, md);
}

TEST(ViscParam, BranchSelection) {
    const CompRecord c = vt::test::Component("n-hexane");
    auto fit = [&](int32_t kind, double tb) {
        double a = 0, b = 0;
        EXPECT_EQ(ViscParam(kind, c.mw, c.tc, c.pc / 100.0, c.vc, c.vstar, c.omega, c.omegasrk, tb,
                            c.liqden, &a, &b),
                  -1);
        return std::pair{a, b};
    };
    // A defined compound always takes Letsou-Stiel: tb only sets the range.
    EXPECT_NE(fit(0, 300.0), fit(1, 300.0));
    EXPECT_EQ(fit(0, 269.9), fit(1, 269.9));
    EXPECT_EQ(fit(1, 320.0), fit(0x10001, 320.0));  // only the low 16 bits count
    // 335 K is still Ely-Hanley, 335.01 K Twu: the fits jump.
    const auto eh = fit(1, 335.0), eh2 = fit(1, 334.99), twu = fit(1, 335.01);
    EXPECT_NEAR(eh.second, eh2.second, 0.01);
    EXPECT_GT(std::fabs(twu.second - eh.second), 0.05);
}

TEST(ViscParam, DegenerateInputGivesMissing) {
    double a = 1, b = 1;
    // tb = 0.35 tc: all eight points coincide, nothing to fit.
    EXPECT_EQ(ViscParam(0, 86.0, 500.0, 30.0, 0.37, 0.37, 0.3, 0.3, 175.0, 660.0, &a, &b), -1);
    EXPECT_EQ(a, MISSING);
    EXPECT_EQ(b, MISSING);
    EXPECT_EQ(ViscParam(1, NAN, 500.0, 30.0, 0.37, 0.37, 0.3, 0.3, 340.0, 660.0, &a, &b), -1);
    EXPECT_EQ(a, MISSING);
    EXPECT_EQ(ViscParam(1, 86.0, 500.0, 30.0, 0.37, 0.37, 0.3, 0.3, 340.0, 660.0, nullptr, &b), -1);
}

TEST_F(Transport, ExportsGuardTheirArguments) {
    const double absent[] = {MISSING, 0.5};
    double out = 0;
    // Absent composition: 0 and MISSING, without touching the FP flags.
    std::feraiseexcept(FE_INEXACT);
    EXPECT_EQ(ViscVapour(absent, 300, &out), 0);
    EXPECT_EQ(out, MISSING);
    EXPECT_EQ(ViscLiquid(absent, 100, 300, 600, &out), 0);
    EXPECT_EQ(SurfTenLiquid(absent, 300, &out), 0);
    EXPECT_EQ(ThermCondLiquid(absent, 300, &out), 0);
    EXPECT_EQ(ThermCondVapour(absent, 300, 1, &out), 0);
    EXPECT_TRUE(std::fetestexcept(FE_INEXACT));
    // A computation clears them.
    EXPECT_EQ(ViscVapour(Pure("methane").data(), 300, &out), -1);
    EXPECT_FALSE(std::fetestexcept(FE_ALL_EXCEPT));
    // Null pointers.
    EXPECT_EQ(ViscVapour(nullptr, 300, &out), 0);
    EXPECT_EQ(out, MISSING);
    EXPECT_EQ(ViscVapour(Pure("methane").data(), 300, nullptr), 0);
    EXPECT_EQ(ThermCondVapour(nullptr, 300, 1, &out), 0);
}

TEST_F(Transport, BadInputNeverCrashesAndGivesMissing) {
    FitViscosityParameters(0);
    const std::vector<double> zero(n, 0.0);
    const auto hex = Pure("n-hexane");
    double out = 0;
    // An all-zero composition has no pseudo-critical constants.
    EXPECT_EQ(ViscVapour(zero.data(), 300, &out), -1);
    EXPECT_EQ(out, MISSING);
    EXPECT_EQ(ViscLiquid(zero.data(), 100, 300, 600, &out), -1);
    EXPECT_EQ(out, MISSING);
    EXPECT_EQ(ThermCondVapour(zero.data(), 300, 1, &out), -1);
    EXPECT_EQ(out, MISSING);
    EXPECT_EQ(SurfTenLiquid(zero.data(), 300, &out), -1);
    EXPECT_EQ(out, MISSING);
    for (double bad : {NAN, INFINITY, -INFINITY}) {
        EXPECT_EQ(ViscVapour(hex.data(), bad, &out), -1);
        EXPECT_EQ(out, MISSING);
        EXPECT_EQ(ViscLiquid(hex.data(), 100, bad, 650, &out), -1);
        EXPECT_EQ(out, MISSING);
        EXPECT_EQ(ViscLiquid(hex.data(), 100, 300, bad, &out), -1);
        EXPECT_EQ(out, MISSING);
        EXPECT_EQ(ThermCondVapour(hex.data(), 300, bad, &out), -1);
        EXPECT_EQ(out, MISSING);
        EXPECT_EQ(ThermCondLiquid(hex.data(), bad, &out), -1);
        EXPECT_EQ(out, MISSING);
    }
    EXPECT_EQ(ViscLiquid(hex.data(), 100, 300, 0.0, &out), -1);
    EXPECT_EQ(out, MISSING);
    EXPECT_EQ(ViscLiquid(hex.data(), 100, 300, -5.0, &out), -1);
    EXPECT_EQ(out, MISSING);
}

}  // namespace
