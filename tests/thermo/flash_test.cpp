// Flash: two-phase splits against an independent implementation
// (eos_reference.py), the equilibrium conditions every split must meet,
// three phases with water, single phases, degenerate input and the
// split solvers; equilibrium ratios at given compositions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "../support/component_table.h"
#include "../support/stream.h"
#include "correlations/liquid_density.h"
#include "steam/ifc67.h"
#include "thermo/eos.h"
#include "thermo/flash.h"
#include "thermo/lnk_at.h"

namespace vt {
namespace {

using test::OpenTable;

struct FlashResult {
    std::vector<double> x[3];
    int32_t st[3];
    double b[3];
};

FlashResult RunFlash(int method, double t, double p, std::vector<double> z) {
    const int n = g_ws.ncomp;
    FlashResult r{{std::vector<double>(n), std::vector<double>(n), std::vector<double>(n)}, {}, {}};
    double* c[4] = {r.x[0].data(), r.x[1].data(), r.x[2].data(), z.data()};
    Flash(vt::g_ws, method, FreeWaterComponent(vt::g_ws, method), t, p, c, r.st, r.b);
    return r;
}

// Material balance, phase fractions, normalised compositions, and (for the
// equations of state) equal fugacities of every component between the
// present phases, from a fresh evaluation.
void ExpectEquilibrium(int method, double t, double p, const std::vector<double>& z, FlashResult& r,
                       double fugTol) {
    const int n = g_ws.ncomp;
    double bsum = 0.0;
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(r.b[k] >= 0.0 && r.b[k] <= 1.0 && (r.st[k] != 0 || r.b[k] == 0.0)) << k;
        bsum += r.b[k];
        EXPECT_NEAR(r.st[k] ? std::accumulate(r.x[k].begin(), r.x[k].end(), 0.0) : 1.0, 1.0, 1e-12) << "slot " << k;
    }
    EXPECT_NEAR(bsum, 1.0, 1e-12);
    for (int i = 0; i < n; ++i) {
        double m = 0.0;
        for (int k = 0; k < 3; ++k)
            if (r.st[k]) m += r.b[k] * r.x[k][i];
        EXPECT_NEAR(m, z[i], 1e-10) << "material balance, component " << i;
    }
    if (method == 3) return;
    std::vector<double> l1(n, 0.0), l2(n, 0.0), zz = z;
    double* c[4] = {r.x[0].data(), r.x[1].data(), r.x[2].data(), zz.data()};
    int32_t st[3] = {r.st[0], r.st[1], r.st[2]};
    EosLnK(vt::g_ws, method, t, p, c, st, l1.data(), l2.data());
    const int ref = r.st[0] ? 0 : (r.st[1] ? 1 : 2);
    for (int k = ref + 1; k < 3; ++k)
        for (int i = 0; i < n && r.st[k]; ++i) {
            const double xa = r.x[ref][i], xb = r.x[k][i];
            if (xa < 1e-12 || xb < 1e-12) continue;
            EXPECT_NEAR(std::log(xa) + EosInfo(vt::g_ws, method)[i]->lnphi[ref], std::log(xb) + EosInfo(vt::g_ws, method)[i]->lnphi[k],
                        fugTol)
                << "fugacity, component " << i << " slots " << ref << k;
        }
}

struct FlashTest : ::testing::Test { void TearDown() override { vt::CloseProps(); } };

TEST_F(FlashTest, TwoPhaseAgainstIndependentImplementation) {
    for (const test::CsvRow& row : test::ReadCsv("tests/data/flash_reference.csv")) {
        const auto names = test::Split(row.Str("names"));
        const auto z = test::Numbers(row.Str("z")), y = test::Numbers(row.Str("y")), x = test::Numbers(row.Str("x"));
        const int method = static_cast<int>(row["method"]);
        SCOPED_TRACE(row.Str("names") + " method " + row.Str("method"));
        OpenTable(names, /*zeroKij=*/true);
        FlashResult r = RunFlash(method, row["t"], row["p"], z);
        ASSERT_TRUE(r.st[0] == kVapour && r.st[1] == kLiquid && r.st[2] == 0);
        const double* par = EosPar(vt::g_ws, method);
        for (auto [got, col] : {std::pair{r.b[0], "beta"}, {par[kZfac], "zv"}, {par[kZfac + 1], "zl"}})
            EXPECT_NEAR(got, row[col], 1e-5) << col;
        for (size_t i = 0; i < z.size(); ++i) {
            EXPECT_NEAR(r.x[0][i], y[i], 1e-5) << names[i];
            EXPECT_NEAR(r.x[1][i], x[i], 1e-5) << names[i];
        }
        ExpectEquilibrium(method, row["t"], row["p"], z, r, 2e-4);
    }
}

// Supercritical gas and a compressed liquid stay one phase, the feed's
// composition in the vapour or liquid slot; so does pure water.
TEST_F(FlashTest, SinglePhaseStates) {
    const struct {
        std::vector<std::string> names;
        std::vector<double> z;
        double t, p;
        int slot;
    } cases[] = {{{"methane", "ethane"}, {0.9, 0.1}, 300.0, 5000.0, 0},
                 {{"n-hexane", "n-decane"}, {0.4, 0.6}, 300.0, 5000.0, 1},
                 {{"water", "propane"}, {1.0, 0.0}, 400.0, 101.325, 0},
                 {{"water", "propane"}, {1.0, 0.0}, 300.0, 101.325, 1}};
    for (const auto& c : cases)
        for (int method : {1, 2}) {
            OpenTable(c.names);
            FlashResult r = RunFlash(method, c.t, c.p, c.z);
            EXPECT_TRUE(r.st[2] == 0 && r.st[1 - c.slot] == 0 && r.b[c.slot] == 1.0) << c.names[0] << " " << c.t;
            EXPECT_NEAR(r.x[c.slot][0], c.z[0], 1e-12);
        }
}

// Hydrocarbons and water: vapour, hydrocarbon liquid and aqueous liquid,
// the lightest phase in slot 0 and the water-rich one in slot 2; methane
// and water alone give the vapour and one water-rich liquid.
TEST_F(FlashTest, ThreePhasesWithWater) {
    const std::vector<double> z = {0.40, 0.10, 0.15, 0.10, 0.25};
    for (int method : {1, 2, 3}) {
        OpenTable({"methane", "propane", "n-hexane", "n-decane", "water"});
        for (double t : {300.0, 350.0}) {
            FlashResult r = RunFlash(method, t, 2000.0, z);
            ASSERT_TRUE(r.st[0] == kVapour && r.st[1] == kLiquid && r.st[2] == kLiquid) << method;
            // A nearly pure aqueous phase, little water in the hydrocarbon
            // liquid, a methane-rich vapour.
            EXPECT_TRUE(r.x[2][4] > 0.99 && r.x[1][4] < 0.05 && r.x[0][0] > 0.75 && std::fabs(r.b[2] - 0.25) < 0.02)
                << method;
            ExpectEquilibrium(method, t, 2000.0, z, r, 2e-4);
        }
    }
    OpenTable({"methane", "water"});
    for (int method : {1, 2}) {
        FlashResult r = RunFlash(method, 320.0, 3000.0, {0.6, 0.4});
        ASSERT_TRUE(r.st[0] == kVapour && (r.st[1] != 0) + (r.st[2] != 0) == 1) << method;
        EXPECT_GT((r.st[1] ? r.x[1] : r.x[2])[1], 0.99);
        ExpectEquilibrium(method, 320.0, 3000.0, {0.6, 0.4}, r, 2e-4);
    }
}

// The free-water model's own saturation pressure against the IFC-67
// saturation line (itself checked against IAPWS-IF97); pure liquid water
// against a vapour of water fraction 0.4: the water K-value ln(y/x) +
// WaterLnK is ln(Psat/P) (Raoult).
TEST(WaterPsat, AgreesWithTheSteamTables) {
    for (double t = 275.0; t <= 500.0; t += 5.0) {
        const double ps = SaturationPressure(t) * 22120.0;
        EXPECT_NEAR(WaterPsat(t), ps, 0.005 * ps) << t;
        EXPECT_NEAR(std::log(0.4) + WaterLnK(t, 200.0, 1.0, 0.4), std::log(WaterPsat(t) / 200.0), 1e-12) << t;
    }
}

// Vapour-pressure model with free water, a permanent gas and water: water
// condenses as a nearly pure aqueous liquid whenever its partial pressure
// in the feed exceeds its vapour pressure, and not when it falls short.
// The gas does not dissolve in the aqueous slot, so y_w = Psat_w/P and the
// vapour fraction is z_gas/(1 - y_w). Besides a grid of states, the reported
// ones (methane and water 50/50 at 1000 kPa, nearly all the water condensed)
// and states whose iteration passes through a vanished aqueous phase
// (fraction 0 beside the vapour alone) before the water condenses again.
TEST_F(FlashTest, FreeWaterCondensesWheneverItsPartialPressureExceedsPsat) {
    struct State { const char* gas; double zw, t, p, tol; };
    std::vector<State> states = {
        {"methane", 0.5, 325.2, 1000.0, 2e-4}, {"methane", 0.5, 328.0, 1000.0, 2e-4},
        {"methane", 0.5, 329.0, 1000.0, 2e-4}, {"ethane", 0.8, 385.0, 200.0, 2e-3},
        {"ethane", 0.8, 385.0, 500.0, 2e-3},   {"ethane", 0.8, 415.0, 1000.0, 2e-3},
        {"ethane", 0.5, 392.5, 500.0, 2e-3},   {"ethane", 0.5, 420.0, 1000.0, 2e-3},
        {"ethane", 0.5, 447.5, 3500.0, 2e-3},  {"hydrogen", 0.05, 410.0, 20000.0, 2e-3}};
    for (const char* gas : {"methane", "nitrogen"})
        for (double zw : {0.01, 0.1, 0.5, 0.9})
            for (double t = 280.0; t <= 360.0; t += 5.0)
                for (double p : {200.0, 500.0, 1000.0, 2000.0, 3500.0, 5000.0}) states.push_back({gas, zw, t, p, 2e-4});
    int condensed = 0, dry = 0;
    for (const State& k : states) {
        OpenTable({k.gas, "water"});
        const std::vector<double> z = {1.0 - k.zw, k.zw};
        FlashResult r = RunFlash(3, k.t, k.p, z);
        const double ps = WaterPsat(k.t);
        SCOPED_TRACE(testing::Message() << k.gas << " zw " << k.zw << " T " << k.t << " P " << k.p);
        ExpectEquilibrium(3, k.t, k.p, z, r, 0.0);
        ASSERT_TRUE(r.st[0] == kVapour && r.st[1] == 0);
        if (&k - states.data() < 10 || k.zw * k.p > 1.05 * ps) {  // the listed states all condense
            ++condensed;
            ASSERT_EQ(r.st[2], kLiquid);
            EXPECT_GT(r.x[2][1], 0.999999);
            EXPECT_NEAR(r.x[0][1], ps / k.p * r.x[2][1], 1e-4 * ps / k.p);
            EXPECT_NEAR(r.b[0], (1.0 - k.zw) / (1.0 - ps / k.p), k.tol);
        } else if (k.zw * k.p < 0.95 * ps) {
            ++dry;
            EXPECT_TRUE(r.st[2] == 0 && r.b[0] == 1.0);
        }
    }
    EXPECT_TRUE(condensed > 510 && dry > 20) << condensed << " " << dry;
}

// Nothing of an earlier call reaches the next: the same flashes repeated in
// the other order, with the scratch storage and the vapour-pressure model's
// per-phase values spoiled in between, give bit-identical results.
TEST_F(FlashTest, ResultsDoNotDependOnEarlierCalls) {
    OpenTable({"methane", "n-hexane", "water"});
    const struct { int method; double t, p; std::vector<double> z; } calls[] = {
        {3, 325.2, 1000.0, {0.5, 0.0, 0.5}}, {3, 330.0, 2000.0, {0.4, 0.35, 0.25}},
        {1, 330.0, 2000.0, {0.4, 0.35, 0.25}}, {2, 300.0, 3000.0, {0.6, 0.0, 0.4}}};
    std::vector<FlashResult> first;
    for (const auto& c : calls) first.push_back(RunFlash(c.method, c.t, c.p, c.z));
    for (int k = 3; k >= 0; --k) {
        for (int v = 0; v < kWork1; ++v)
            for (int i = 0; i < g_ws.ncomp; ++i) g_ws.work1[v][i] = 0.123 * (v + 1);
        for (int s = 0; s < 6; ++s) g_ws.vp_parm[s] = -7.0;
        FlashResult r = RunFlash(calls[k].method, calls[k].t, calls[k].p, calls[k].z);
        for (int j = 0; j < 3; ++j)
            EXPECT_TRUE(r.st[j] == first[k].st[j] && r.b[j] == first[k].b[j] && r.x[j] == first[k].x[j]) << k;
    }
}

// Through the property driver: enthalpies of methane/water states taken at
// (T, P) and searched for again at P. The enthalpy is continuous in T only
// when the flash condenses the water at every temperature, so every search
// must come back to its temperature.
TEST_F(FlashTest, PressureEnthalpySearchesReturnToTheirTemperature) {
    OpenTable({"methane", "water"});
    const std::vector<double> z = {0.5, 0.5};
    const double tol[4] = {0.01, 0.1, 0.001, 1e-6};
    for (double p : {200.0, 1000.0, 5000.0})
        for (double t0 = 280.0; t0 <= 360.0; t0 += 5.0) {
            const test::Stream a = test::Evaluate(z, t0, p, MISSING, MISSING, MISSING, 3, 1, tol);
            ASSERT_EQ(a.status, 0);
            EXPECT_LT(a.frac[0], 0.9) << t0 << " " << p;  // the water has condensed
            const test::Stream b = test::Evaluate(z, MISSING, p, MISSING, a.h[3], MISSING, 3, 1, tol);
            EXPECT_EQ(b.status, 0) << t0 << " " << p;
            EXPECT_NEAR(b.t, t0, 0.05) << p;
            EXPECT_NEAR(b.frac[0], a.frac[0], 1e-4) << t0 << " " << p;
        }
}

// Method 0, unusable conditions and unusable feeds give the feed as one
// vapour phase (method 0: the liquid slots MISSING), and nothing is written
// past the arrays; negative and MISSING fractions count as absent.
TEST_F(FlashTest, DegenerateInputGivesTheFeedAsOnePhase) {
    OpenTable({"methane", "propane", "water"});
    const struct { int method; double t, p; std::vector<double> z; } cases[] = {
        {1, std::nan(""), 500.0, {0.5, 0.3, 0.2}}, {2, 300.0, INFINITY, {0.5, 0.3, 0.2}},
        {3, 300.0, 500.0, {MISSING, MISSING, MISSING}}, {0, 300.0, 500.0, {0.5, 0.3, 0.2}}};
    for (const auto& k : cases) {
        std::vector<double> x0(4, 7.0), x1(4, 7.0), x2(4, 7.0), z = k.z;  // guard elements at [3]
        double* c[4] = {x0.data(), x1.data(), x2.data(), z.data()};
        int32_t st[3];
        double b[3];
        Flash(vt::g_ws, k.method, FreeWaterComponent(vt::g_ws, k.method), k.t, k.p, c, st, b);
        EXPECT_TRUE(st[0] == (k.method == 0 ? 1 : kVapour) && st[1] == 0 && st[2] == 0 && b[0] == 1.0) << k.method;
        EXPECT_TRUE(x1[1] == (k.method == 0 ? MISSING : 0.0) && x0[3] == 7.0 && x1[3] == 7.0 && x2[3] == 7.0);
    }
    FlashResult r = RunFlash(1, 300.0, 2000.0, {0.6, -0.1, MISSING});
    EXPECT_TRUE(r.st[0] == kVapour && r.x[0][1] == 0.0 && r.x[0][2] == 0.0);
}

TEST_F(FlashTest, RachfordRice2AnalyticSolutionsAndLimits) {
    test::OpenTable({"propane", "n-butane"});
    const double z[] = {0.5, 0.5}, z2[] = {0.2, 0.8};
    double k[] = {2.0, 0.5}, up[] = {3.0, 1.5}, down[] = {0.9, 0.2};
    EXPECT_NEAR(RachfordRice2(vt::g_ws, z, k), 0.5, 1e-12);
    EXPECT_EQ(RachfordRice2(vt::g_ws, z, up), 1.0);  // all K > 1: vapour
    EXPECT_EQ(RachfordRice2(vt::g_ws, z, down), 0.0);
    // A K far below the rounding unit still counts at beta near 1: liquid
    // 1 (K ~ 0) and liquid 2, 0.2 + 370 beta = 1480 (1 - beta).
    double tiny[] = {1.87e-22, 1851.0};
    EXPECT_NEAR(RachfordRice2(vt::g_ws, z2, tiny), 1479.8 / 1850.0, 1e-9);
}

TEST_F(FlashTest, PhaseSplitThreePhaseSolutionAndBisection) {
    test::OpenTable({"methane", "n-hexane", "water"});
    double x0[3], x1[3], x2[3], z[] = {0.4, 0.35, 0.25};
    double* c[4] = {x0, x1, x2, z};
    // K1 = x0/x1, K2 = x0/x2.
    const double k1v[] = {20.0, 0.05, 2.0}, k2v[] = {1e4, 1e3, 0.04};
    double l1[3], l2[3];
    for (int i = 0; i < 3; ++i) l1[i] = std::log(k1v[i]), l2[i] = std::log(k2v[i]);
    const int32_t st[3] = {kVapour, kLiquid, kLiquid};
    double b[3] = {0.33, 0.0, 0.33};
    EXPECT_EQ(PhaseSplit(vt::g_ws, c, l1, l2, st, b), 0);
    EXPECT_NEAR(b[0] + b[1] + b[2], 1.0, 1e-12);
    for (int i = 0; i < 3; ++i) {
        EXPECT_GT(b[i], 0.0);
        EXPECT_NEAR(x0[i] / x1[i], k1v[i], 1e-9 * k1v[i]);
        EXPECT_NEAR(x0[i] / x2[i], k2v[i], 1e-9 * k2v[i]);
        EXPECT_NEAR(b[0] * x0[i] + b[1] * x1[i] + b[2] * x2[i], z[i], 1e-12);
    }
    double bb1, bb2;
    // Without a root inside [0, 1] the bisection ends where the residual
    // points: no hydrocarbon liquid, vapour and free water with y_w = K2 x_w.
    test::OpenTable({"methane", "water"});
    double w[] = {0.99, 0.01};
    c[3] = w;
    const double k1[] = {std::exp(4.03), std::exp(-0.0091)}, k2[] = {std::exp(50.0), 7.1e-4};
    SplitBisect(vt::g_ws, c, k1, k2, &bb1, &bb2, 1e-12);
    EXPECT_LT(bb1, 1e-9);
    EXPECT_NEAR(bb2, 1.0 - 0.99 / (1.0 - 7.1e-4), 1e-6);
}

// Liquids within 0.001 of each other become one liquid of the mixed
// composition, so that the material balance holds.
TEST_F(FlashTest, FlashFinishMergesIdenticalLiquids) {
    test::OpenTable({"propane", "n-decane"});
    double x0[] = {0.95, 0.05}, x1[] = {0.3, 0.7}, x2[] = {0.3008, 0.6992}, z[] = {0.5, 0.5};
    double* c[4] = {x0, x1, x2, z};
    int32_t st[3] = {kVapour, kLiquid, kLiquid};
    double l1[2] = {0, 0}, l2[2] = {0, 0}, b[3] = {0.3, 0.3, 0.4};
    EosLnK(vt::g_ws, 1, 350.0, 1000.0, c, st, l1, l2);  // fills the phase volumes
    FlashFinish(vt::g_ws, 1, kNoWater, 350.0, 1000.0, c, st, b);
    EXPECT_TRUE(st[0] == kVapour && st[1] == kLiquid && st[2] == 0 && std::fabs(b[1] - 0.7) < 1e-12);
    EXPECT_NEAR(x1[0], (0.3 * 0.3 + 0.4 * 0.3008) / 0.7, 1e-15);
}

using LnKAtTest = FlashTest;

// Identical compositions: 0 for a component absent from both, no derivative
// for mode <= 2; one side missing a component uses the 1e-30 floor.
TEST_F(LnKAtTest, IdenticalCompositionsAndTheFloor) {
    test::OpenTable({"methane", "propane", "n-hexane", "nitrogen"});
    const double x[] = {0.2, 0.3, 0.5, 0.0}, xa[] = {0.0, 0.0, 1.0, 0.0}, xb[] = {0.9, 0.0, 0.1, 0.0};
    double out[4];
    for (int method : {1, 2}) {
        double dout[4] = {7, 7, 7, 7};
        LnKAt(vt::g_ws, method, FreeWaterComponent(vt::g_ws, method), 320.0, 1500.0, x, x, out, dout, 2);
        EXPECT_TRUE(dout[0] == 7.0 && dout[3] == 7.0 && out[3] == 0.0) << method;
    }
    LnKAt(vt::g_ws, 1, FreeWaterComponent(vt::g_ws, 1), 320.0, 1500.0, xa, xb, out, nullptr, 0);
    EXPECT_NEAR(out[0], std::log(0.9 / 1e-30), 1e-9);
    LnKAt(vt::g_ws, 1, FreeWaterComponent(vt::g_ws, 1), 320.0, 1500.0, xb, xa, out, nullptr, 0);
    EXPECT_NEAR(out[0], std::log(1e-30 / 0.9), 1e-9);
}

// At a converged two-phase split the ratios at the phase compositions are the
// split's own equilibrium ratios, ln(y/x), for every method.
TEST_F(LnKAtTest, ConvergedSplitReproducesItsEquilibriumRatios) {
    test::OpenTable({"methane", "propane", "n-hexane"});
    for (int method : {1, 2, 3}) {
        std::vector<double> y(3), x(3), aq(3), z = {0.5, 0.2, 0.3};
        double* c[4] = {y.data(), x.data(), aq.data(), z.data()};
        int32_t st[3];
        double b[3], out[3];
        Flash(vt::g_ws, method, FreeWaterComponent(vt::g_ws, method), 320.0, 1500.0, c, st, b);
        ASSERT_TRUE(st[0] != 0 && st[1] != 0 && b[0] > 0.05 && b[1] > 0.05) << method;
        LnKAt(vt::g_ws, method, FreeWaterComponent(vt::g_ws, method), 320.0, 1500.0, x.data(), y.data(), out, nullptr, 0);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(out[i], std::log(y[i] / x[i]), 1e-3) << "method " << method << " component " << i;
    }
}

// d lnK/d(1/T) of a pure component at its vapour pressure is -dH_vap/R
// (Clausius-Clapeyron), with dH_vap from the departure functions; propane's
// is about 14.8 kJ/mol near 300 K (NIST).
TEST_F(LnKAtTest, TemperatureDerivativeIsTheHeatOfVaporisation) {
    test::OpenTable({"propane"});
    const double x[] = {1.0}, t = 300.0, p = 1000.0;
    double out[1], dout[1], a, b, v, z, s[1], h[2], cp, sd;
    LnKAt(vt::g_ws, 1, FreeWaterComponent(vt::g_ws, 1), t, p, x, x, out, dout, 3);
    EosSetState(vt::g_ws, 1, t, p);
    for (int liquid : {0, 1}) {
        EosMixSolve(vt::g_ws, 1, &a, &b, &v, &z, liquid, x, s);
        EosDeparture(vt::g_ws, 1, &cp, &h[liquid], &sd, v, a, b, x);
    }
    const double dh = h[0] - h[1];
    EXPECT_NEAR(dout[0], -dh / 8.31432, 0.002 * dh / 8.31432);
    EXPECT_NEAR(dh / 14800.0, 1.0, 0.08);
}

// The three-phase split's fallback search finds the point a plain nested
// bisection to 1e-15 finds (the textbook form, written out here), over
// K-values from mild to the extremes the flash clips them to; at the coarse
// tolerance of the flash's first fallback it lands within ten times that
// tolerance of it (a nested bisection at that tolerance can miss it by far
// more: its inner searches are as coarse as its outer one).

// sum (x0 - x1) and sum (x0 - x2) at (b1, b2), x0 = z / (b1/K1 + b0 + b2/K2).
void Residuals(const std::vector<double>& z, const std::vector<double>& k1,
               const std::vector<double>& k2, double b1, double b2, double* g1, double* g2) {
    const double b0 = std::clamp(1.0 - b1 - b2, 0.0, 1.0);
    *g1 = *g2 = 0.0;
    for (size_t i = 0; i < z.size(); ++i) {
        if (!(z[i] > 0.0)) continue;
        const double den = std::max(b1 / k1[i] + b0 + b2 / k2[i], 1e-100);
        const double x0 = z[i] / den;
        *g1 += x0 - x0 / k1[i];
        *g2 += x0 - x0 / k2[i];
    }
}

// Bisection of b2 in [0, 1 - b1] on the sign of G2 inside a bisection of b1
// in [0, 1] on the sign of G1.
void NestedBisection(const std::vector<double>& z, const std::vector<double>& k1,
                     const std::vector<double>& k2, double tol, double* b1, double* b2) {
    const auto inner = [&](double x1) {
        double lo = 0.0, hi = 1.0 - x1, g1, g2;
        while (hi - lo > tol) {
            const double mid = 0.5 * (lo + hi);
            Residuals(z, k1, k2, x1, mid, &g1, &g2);
            (g2 > 0.0 ? hi : lo) = mid;
        }
        return 0.5 * (lo + hi);
    };
    double lo = 0.0, hi = 1.0, g1, g2;
    while (hi - lo > tol) {
        const double mid = 0.5 * (lo + hi);
        Residuals(z, k1, k2, mid, inner(mid), &g1, &g2);
        (g1 > 0.0 ? hi : lo) = mid;
    }
    *b1 = 0.5 * (lo + hi);
    *b2 = inner(*b1);
}

TEST_F(FlashTest, SplitSearchFindsTheNestedBisectionsPoint) {
    const int n = 12;
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) names.push_back(test::ComponentNames()[i]);
    test::OpenTable(names);
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    // Spread of ln K: mild, wide, and out to the flash's clipping of K.
    for (double spread : {2.0, 10.0, 60.0, 228.0}) {
        for (int trial = 0; trial < 40; ++trial) {
            std::vector<double> z(n), k1(n), k2(n);
            for (int i = 0; i < n; ++i) {
                z[i] = u(rng) < 0.2 ? 0.0 : u(rng);
                k1[i] = std::exp(spread * (2.0 * u(rng) - 1.0));
                k2[i] = std::exp(spread * (2.0 * u(rng) - 1.0));
            }
            z[0] += 0.1;
            std::vector<double> x0(n), x1(n), x2(n);
            double* c[4] = {x0.data(), x1.data(), x2.data(), z.data()};
            // The exact point, and the search at the tolerance of the
            // flash's final fallback and of its coarse first one.
            double r1, r2;
            NestedBisection(z, k1, k2, 1e-15, &r1, &r2);
            double h1, h2;
            Residuals(z, k1, k2, r1, r2, &h1, &h2);
            for (double tol : {1e-15, 1e-3}) {
                double b1, b2;
                SplitBisect(vt::g_ws, c, k1.data(), k2.data(), &b1, &b2, tol);
                // Within the tolerance of the same sign change, or (where G1
                // is flat around it: a phase with next to no material) at a
                // point with the same residuals.
                double g1, g2;
                Residuals(z, k1, k2, b1, b2, &g1, &g2);
                const double scale = 1e-9 * (1.0 + std::fabs(h1) + std::fabs(h2));
                const double near = tol < 1e-9 ? 1e-9 : 10 * tol;
                const bool samePoint = std::fabs(b1 - r1) <= near && std::fabs(b2 - r2) <= near;
                const bool sameResidual = std::fabs(g1 - h1) <= scale && std::fabs(g2 - h2) <= scale;
                EXPECT_TRUE(samePoint || sameResidual)
                    << "spread " << spread << " trial " << trial << " tol " << tol << ": (" << b1
                    << ", " << b2 << ") against (" << r1 << ", " << r2 << ")";
            }
        }
    }
}

}  // namespace
}  // namespace vt
