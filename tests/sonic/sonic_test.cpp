// Sonic velocity through the exports: published sound speeds, the
// equation of state's own thermodynamic sound speed, the ideal-gas formula,
// two-phase and liquid states, the second tries, the guards. Choke pressure:
// the closed form of a nearly ideal gas, a flashing liquid, the stall at the
// bubble point, a stream that never chokes, the guards.
#include <gtest/gtest.h>

#include <cmath>

#include "../support/component_table.h"
#include "../support/stream.h"

namespace vt {
namespace {

using test::Evaluate;
using test::kTol;
using test::Sonic;

class SonicTest : public ::testing::Test {
protected:
    void TearDown() override { ::CloseProps(); }
};

// Cubic equations, not reference equations: both within 1.5 % of the
// published speeds up to 10 MPa.
TEST_F(SonicTest, PublishedSoundSpeeds) {
    const auto rows = test::ReadCsv("tests/data/sound_speeds.csv");
    ASSERT_EQ(rows.size(), 15u);
    for (const test::CsvRow& r : rows) {
        test::OpenTable(test::Split(r.Str("names")));
        std::vector<double> z = test::Numbers(r.Str("z"));
        double mw = 0.0, c = 0.0;
        ::MolWeight(z.data(), &mw);
        for (int method : {1, 2}) {
            EXPECT_EQ(::SonicVelocity(method, method, r["P_kPa"], r["T_K"], MISSING, z.data(), mw, 0, 0, &c, kTol), 1);
            EXPECT_NEAR(c, r["c_m_s"], 0.015 * r["c_m_s"])
                << r.Str("fluid") << " " << r["T_K"] << " K " << r["P_kPa"] << " kPa, method " << method;
        }
    }
}

// The finite difference, from (T, P), from (P, H) and from a given base
// state, within 0.5 % of the analytic Peng-Robinson speed of an independent
// implementation (tests/data/pr_sound_speeds.csv).
TEST_F(SonicTest, FiniteDifferenceMatchesTheEquationOfState) {
    for (const test::CsvRow& r : test::ReadCsv("tests/data/pr_sound_speeds.csv")) {
        test::OpenTable(test::Split(r.Str("names")), /*zeroKij=*/true);
        const std::vector<double> z = test::Numbers(r.Str("z"));
        const double t = r["t"], p = r["p"], exact = r["c"];
        const test::Stream base = Evaluate(z, t, p);
        ASSERT_EQ(base.status, 0);
        const double byT = Sonic(z, t, p), byH = Sonic(z, MISSING, p, base.h[3]);
        double fast = 0.0;
        ASSERT_EQ(::FastSonicVelocity(1, 1, p, t, base.frac[0], base.s[3], z.data(), base.mw[3], base.Density(), 0.0,
                                      &fast, kTol), 1);
        SCOPED_TRACE(r.Str("names") + " " + r.Str("p"));
        for (double c : {byT, byH}) EXPECT_NEAR(c, exact, 0.005 * exact);
        EXPECT_NEAR(fast, byT, 1e-6 * byT);
    }
}

// Method or enthalpy method 0: the ideal-gas formula from the caller's
// density and heat capacity without a workspace (air at 300 K: 343.8 m/s);
// a heat capacity below R counts by its absolute value.
TEST_F(SonicTest, IdealGasFormulaNeedsNoWorkspace) {
    const double below = std::sqrt(std::fabs(4.0 / (4.0 - 8.3142)) * 101325.0 / 1.2);
    for (auto [method, hmethod] : {std::pair{0, 0}, {0, 1}, {1, 0}}) {
        double c = 0.0;
        EXPECT_EQ(::SonicVelocity(method, hmethod, 101.325, 300.0, MISSING, nullptr, 29.0, 1.2, 29.1, &c, nullptr), 1);
        EXPECT_NEAR(c, 343.8, 0.05);
        ::FastSonicVelocity(method, hmethod, 101.325, 300.0, 1.0, 0.0, nullptr, 29.0, 1.2, 4.0, &c, nullptr);
        EXPECT_DOUBLE_EQ(c, below);
    }
}

// Phase change lowers the equilibrium speed of a two-phase mixture below
// Wood's frozen-mixture speed of its phases (each evaluated alone, just off
// saturation so that it stays single).
TEST_F(SonicTest, TwoPhaseBelowTheFrozenMixture) {
    test::OpenTable({"propane", "n-butane"});
    const std::vector<double> z = {0.5, 0.5};
    const test::Stream mix = Evaluate(z, MISSING, 500.0, 0.1);
    ASSERT_EQ(mix.status, 0);
    const double c = Sonic(z, mix.t, 500.0);
    const double cv = Sonic(mix.y, mix.t + 1.0, 500.0), cl = Sonic(mix.x, mix.t - 1.0, 500.0);
    const double rv = mix.Density(0), rl = mix.Density(1);
    const double alpha = mix.frac[0] * mix.v[0] / mix.v[3];
    const double wood = 1.0 / std::sqrt(mix.Density() * (alpha / (rv * cv * cv) + (1.0 - alpha) / (rl * cl * cl)));
    EXPECT_TRUE(c > 1.0 && c < wood && c < 0.5 * cv) << c;
    EXPECT_GT(cl, 2.0 * cv);
}

// c^-2 = rho kT - T alpha^2/cp per kg, from the model's own isothermal
// compressibility, expansivity and heat capacity (at pressures where the
// doubling is small against the liquid's bulk modulus).
TEST_F(SonicTest, LiquidAgreesWithItsCompressibility) {
    test::OpenTable({"n-hexane"});
    const std::vector<double> z = {1.0};
    const double t = 298.15;
    for (double p : {101.325, 1000.0}) {
        const test::Stream s = Evaluate(z, t, p), sp = Evaluate(z, t, 2.0 * p), st = Evaluate(z, t + 1.0, p);
        ASSERT_EQ(s.frac[0], 0.0);
        const double rho = s.Density(), kT = (sp.Density() - rho) / (rho * p * 1000.0);
        const double alpha = (rho - st.Density()) / rho, cp = s.cp[3] / s.mw[3] * 1000.0;
        const double expected = 1.0 / std::sqrt(rho * kT - t * alpha * alpha / cp);
        EXPECT_NEAR(Sonic(z, t, p), expected, 0.02 * expected) << p;
    }
}

// Saturated steam condenses when expanded: the compression is used, and the
// result continues the superheated values (the expansion would give about
// 9 % less). A dry mixture just inside its dew point leaves the two-phase
// region when expanded by 0.5 %: the compression by 0.1 % keeps it inside.
TEST_F(SonicTest, SecondTriesStayInThePhaseRegion) {
    test::OpenTable({"water"});
    const double tdew = Evaluate({1.0}, MISSING, 500.0, 1.0).t;
    EXPECT_NEAR(Sonic({1.0}, tdew + 0.05, 500.0), Sonic({1.0}, tdew + 3.0, 500.0), 0.005 * 500.0);
    test::OpenTable({"n-pentane", "n-hexane"});
    const std::vector<double> z = {0.5, 0.5};
    const double tdew2 = Evaluate(z, MISSING, 200.0, 1.0).t;
    const double inside = Sonic(z, tdew2 - 0.01, 200.0);
    EXPECT_NEAR(Sonic(z, tdew2 - 0.001, 200.0), inside, 0.003 * inside);
}

// A perturbed density equal to the base density gives the 1e20 sentinel.
TEST_F(SonicTest, EqualDensitiesGiveUnboundedSpeed) {
    test::OpenTable(test::kGasNames);
    std::vector<double> z = test::kGasZ;
    const test::Stream base = Evaluate(z, 300.0, 1000.0);
    // The density the 1 % expansion will find, given as the base density.
    const test::Stream expanded = Evaluate(z, MISSING, 990.0, MISSING, MISSING, base.s[3]);
    double c = 0.0;
    EXPECT_EQ(::FastSonicVelocity(1, 1, 1000.0, MISSING, 1.0, base.s[3], z.data(), base.mw[3],
                                  base.mw[3] / expanded.v[0], 0.0, &c, kTol), 1);
    EXPECT_EQ(c, 1e20);
}

TEST_F(SonicTest, UnusableArgumentsGiveMissing) {
    std::vector<double> z = test::kGasZ;
    double c = 7.0;
    EXPECT_EQ(::SonicVelocity(1, 1, 1000.0, 300.0, MISSING, z.data(), 20.0, 0, 0, nullptr, kTol), 0);
    EXPECT_EQ(::SonicVelocity(1, 1, 1000.0, 300.0, MISSING, z.data(), 20.0, 0, 0, &c, kTol), 0);  // no workspace
    EXPECT_EQ(c, MISSING);
    test::OpenTable(test::kGasNames);
    for (const test::CsvRow& k : test::ReadCsv("tests/data/sonic_guards.csv")) {
        if (k.Str("export") != "sonic") continue;
        const double* zp = k["nullz"] ? nullptr : z.data();
        const int method = static_cast<int>(k["method"]);
        double fast = c = 7.0;
        EXPECT_EQ(::SonicVelocity(method, 1, k["p"], k["t"], k["hin"], zp, k["mw"], k["rho"], k["cp"], &c, kTol), 0);
        EXPECT_EQ(::FastSonicVelocity(method, 1, k["p"], 300.0, k["vf"], k["s"], zp, k["mw"], k["rho"], k["cp"], &fast,
                                      kTol), 0);
        EXPECT_TRUE(c == MISSING && fast == MISSING) << k.Str("why");
    }
}

using ChokeTest = SonicTest;

struct Choke {
    int32_t status;
    double p, rho, vel, mach;
};

Choke RunChoke(std::vector<double> z, double area, double flow, double hin, double p0, double t, int dir,
               int precise = 0, int method = 1) {
    Choke r{0, p0, 7.0, 7.0, 7.0};
    r.status = ::PressureChoke(method, method, area, flow, hin, &r.p, &t, z.data(), test::kTol, &r.rho, &r.vel,
                               &r.mach, precise, dir);
    return r;
}

// Isenthalpic, so T stays at its inlet value, and Mach 1 where
// G = rho c = P sqrt(gamma M/(R T)); from below and above, either direction.
TEST_F(ChokeTest, NearlyIdealGasMeetsTheClosedForm) {
    test::OpenTable({"nitrogen"});
    const std::vector<double> z = {1.0};
    const double t = 300.0, hin = Evaluate(z, t, 101.325).h[3];
    const CompRecord& n2 = g_ws.cd[0];
    const double cpig = n2.igb + t * (2 * n2.igc + t * (3 * n2.igd + t * (4 * n2.ige + t * 5 * n2.igf)));
    const double gamma = cpig / (cpig - 8.31432);
    for (double g : {200.0, 1000.0})
        for (int dir : {1, 0})
            for (double p0 : {20.0, 400.0}) {
                const double closed = g * std::sqrt(8314.32 * t / (gamma * n2.mw)) / 1000.0;
                const Choke r = RunChoke(z, 0.01, g * 0.01 * 3600.0, hin, p0, t, dir, 1);
                EXPECT_NEAR(r.p, closed, 0.003 * closed) << g << " " << dir << " " << p0;
                EXPECT_TRUE(r.status == 1 && std::fabs(r.mach - 1.0) < 1e-6 && std::fabs(r.rho * r.vel / g - 1) < 1e-9);
            }
}

// A liquid that flashes chokes below its bubble point, at a speed far below
// either phase's own sound speed. The Mach number jumps where the liquid
// starts to flash: a flux that is subsonic in the liquid and supersonic in
// the mixture just below its bubble point chokes there, exactly sonic, at
// the flashing mixture's speed.
TEST_F(ChokeTest, FlashingLiquidAndTheStallAtTheBubblePoint) {
    test::OpenTable({"propane", "n-butane"});
    const std::vector<double> z = {0.9, 0.1};
    const test::Stream in = Evaluate(z, 300.0, 2000.0);
    ASSERT_EQ(in.frac[0], 0.0);
    const double cin = Sonic(z, 300.0, 2000.0);
    Choke r = RunChoke(z, 1.0, 5000.0 * 3600.0, in.h[3], 2000.0, 300.0, 0);
    ASSERT_EQ(r.status, 1);
    EXPECT_LT(r.p, Evaluate(z, 300.0, MISSING, 0.0).p - 50.0);
    test::Stream at = Evaluate(z, MISSING, r.p, MISSING, in.h[3]);
    EXPECT_GT(at.frac[0], 0.01);
    EXPECT_NEAR(r.rho, at.Density(), 1e-6 * r.rho);
    EXPECT_TRUE(r.vel / r.mach < 0.5 * Sonic(at.y, at.t + 1.0, r.p) && r.vel / r.mach < 0.2 * cin) << r.vel / r.mach;
    r = RunChoke(z, 1.0, 20000.0 * 3600.0, in.h[3], 2000.0, 300.0, 0);
    ASSERT_EQ(r.status, 1);
    EXPECT_EQ(r.mach, 1.0);
    at = Evaluate(z, MISSING, r.p, MISSING, in.h[3]);
    EXPECT_NEAR(r.p, Evaluate(z, at.t, MISSING, 0.0).p, 0.5);
    EXPECT_NEAR(r.vel, Sonic(z, MISSING, r.p - 0.5, in.h[3]), 0.1 * r.vel);
    EXPECT_TRUE(r.vel < 0.1 * cin && r.vel * r.rho < 20000.0);
}

// Never sonic: status 0, the pressure left alone, the outputs describing
// the starting state.
TEST_F(ChokeTest, NeverSonicLeavesThePressure) {
    test::OpenTable(test::kGasNames);
    const std::vector<double> z = test::kGasZ;
    const double hin = Evaluate(z, 300.0, 1000.0).h[3];
    const double rho = Evaluate(z, MISSING, 1000.0, MISSING, hin).Density();
    for (int dir : {1, 0}) {
        const Choke r = RunChoke(z, 1.0, 1.0, hin, 1000.0, 300.0, dir);
        EXPECT_TRUE(r.status == 0 && r.p == 1000.0 && r.mach > 0.0 && r.mach < 1e-4) << dir;
        EXPECT_NEAR(r.rho, rho, 1e-4 * r.rho);
    }
}

TEST_F(ChokeTest, UnusableArgumentsFailWithThePressureUnchanged) {
    std::vector<double> z = test::kGasZ;
    double p = 1000.0, t = 300.0, rho = 7, vel = 7, mach = 7;
    const double hin = -3000.0;
    EXPECT_EQ(::PressureChoke(1, 1, 0.1, 1e4, hin, &p, &t, z.data(), test::kTol, &rho, nullptr, &mach, 0, 1), 0);
    EXPECT_EQ(rho, 7.0);  // a missing output: nothing written
    EXPECT_EQ(::PressureChoke(1, 1, 0.1, 1e4, hin, &p, &t, nullptr, test::kTol, &rho, &vel, &mach, 0, 1), 0);
    EXPECT_EQ(rho, MISSING);
    for (const test::CsvRow& k : test::ReadCsv("tests/data/sonic_guards.csv")) {
        if (k.Str("export") != "choke") continue;
        if (k["open"] && g_ws.ncomp == 0) test::OpenTable(test::kGasNames);
        const Choke r = RunChoke(z, k["area"], k["flow"], k["hin"], k["p"], k["t"], 1, 0, static_cast<int>(k["method"]));
        EXPECT_TRUE(r.status == 0 && (r.p == k["p"] || (std::isnan(r.p) && std::isnan(k["p"])))) << k.Str("why");
        EXPECT_TRUE(r.rho == MISSING && r.vel == MISSING && r.mach == MISSING) << k.Str("why");
    }
}

}  // namespace
}  // namespace vt
