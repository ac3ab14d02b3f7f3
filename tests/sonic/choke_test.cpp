// Choke pressure through the export: the closed form of a nearly ideal gas,
// a flashing liquid, the stall at the bubble point, a stream that never
// chokes, the guards.
#include <gtest/gtest.h>

#include <cmath>

#include "../support/component_table.h"
#include "../support/stream.h"

namespace vt {
namespace {

using test::Evaluate;
using test::Sonic;

class ChokeTest : public ::testing::Test {
protected:
    void TearDown() override { ::CloseProps(); }
};

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
                EXPECT_EQ(r.status, 1);
                EXPECT_NEAR(r.p, closed, 0.003 * closed) << g << " " << dir << " " << p0;
                EXPECT_NEAR(r.mach, 1.0, 1e-6);
                EXPECT_NEAR(r.rho * r.vel, g, 1e-9 * g);
            }
}

// A liquid that flashes chokes below its bubble point, at a speed far below
// either phase's own sound speed.
TEST_F(ChokeTest, FlashingLiquidChokesBelowItsBubblePoint) {
    test::OpenTable({"propane", "n-butane"});
    const std::vector<double> z = {0.9, 0.1};
    const test::Stream in = Evaluate(z, 300.0, 2000.0);
    ASSERT_EQ(in.frac[0], 0.0);
    const Choke r = RunChoke(z, 1.0, 5000.0 * 3600.0, in.h[3], 2000.0, 300.0, 0);
    ASSERT_EQ(r.status, 1);
    EXPECT_LT(r.p, Evaluate(z, 300.0, MISSING, 0.0).p - 50.0);
    const test::Stream at = Evaluate(z, MISSING, r.p, MISSING, in.h[3]);
    EXPECT_GT(at.frac[0], 0.01);
    EXPECT_NEAR(r.rho, at.Density(), 1e-6 * r.rho);
    const double c = r.vel / r.mach;
    EXPECT_LT(c, 0.5 * Sonic(at.y, at.t + 1.0, r.p));
    EXPECT_LT(c, 0.2 * Sonic(z, 300.0, 2000.0));
}

// The Mach number jumps where the liquid starts to flash: a flux that is
// subsonic in the liquid and supersonic in the mixture just below its bubble
// point chokes there, exactly sonic, at the flashing mixture's speed.
TEST_F(ChokeTest, StallAtTheBubblePointIsExactlySonic) {
    test::OpenTable({"propane", "n-butane"});
    const std::vector<double> z = {0.9, 0.1};
    const double hin = Evaluate(z, 300.0, 2000.0).h[3];
    const Choke r = RunChoke(z, 1.0, 20000.0 * 3600.0, hin, 2000.0, 300.0, 0);
    ASSERT_EQ(r.status, 1);
    EXPECT_EQ(r.mach, 1.0);
    const test::Stream at = Evaluate(z, MISSING, r.p, MISSING, hin);
    EXPECT_NEAR(r.p, Evaluate(z, at.t, MISSING, 0.0).p, 0.5);
    EXPECT_NEAR(r.vel, Sonic(z, MISSING, r.p - 0.5, hin), 0.1 * r.vel);
    EXPECT_LT(r.vel, 0.1 * Sonic(z, 300.0, 2000.0));
    EXPECT_LT(r.vel * r.rho, 20000.0);
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
    const struct {
        bool open;
        int method;
        double area, flow, hin, p;
    } cases[] = {
        {false, 1, 0.1, 1e4, hin, 1000},  // no workspace
        {true, 1, 0.0, 1e4, hin, 1000},   {true, 1, NAN, 1e4, hin, 1000}, {true, 1, 0.1, -1.0, hin, 1000},
        {true, 1, 0.1, INFINITY, hin, 1000}, {true, 1, 0.1, 1e4, NAN, 1000}, {true, 1, 0.1, 1e4, hin, 0.0},
        {true, 1, 0.1, 1e4, hin, NAN},
        {true, 7, 0.1, 1e4, hin, 1000},  // every property evaluation fails
    };
    for (const auto& k : cases) {
        if (k.open && g_ws.ncomp == 0) test::OpenTable(test::kGasNames);
        const Choke r = RunChoke(z, k.area, k.flow, k.hin, k.p, 300.0, 1, 0, k.method);
        EXPECT_TRUE(r.status == 0 && (r.p == k.p || (std::isnan(r.p) && std::isnan(k.p)))) << k.area << " " << k.p;
        EXPECT_TRUE(r.rho == MISSING && r.vel == MISSING && r.mach == MISSING) << k.area << " " << k.flow;
    }
}

}  // namespace
}  // namespace vt
