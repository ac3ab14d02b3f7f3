// The workspace: opening and closing the component table, the precomputed
// equation-of-state constants, allocation and precalculation failures; the
// built-in interaction parameters; the mixture sums and the 2-D table
// interpolation.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../support/component_table.h"
#include "../support/messages.h"
#include "../support/stream.h"
#include "platform/alloc.h"
#include "vantaro/vantaro.h"
#include "workspace/mixture.h"
#include "workspace/workspace.h"

namespace {

using vt::g_ws;
using vt::test::Component;
using vt::test::Messages;
constexpr double M = VANTARO_MISSING;

// Opens the named components of the library with all kij zero.
void Open(const std::vector<CompRecord>& recs) {
    std::vector<double> kij(recs.size() * recs.size(), 0.0);
    OpenProps(static_cast<int32_t>(recs.size()), recs.data(), kij.data(), kij.data());
}
const CompRecord kMethane = Component("methane"), kPropane = Component("propane"), kWater = Component("water");

class WorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        CloseProps();
        baseline_ = vt::platform::LiveAllocations();
    }
    void TearDown() override {
        vt::platform::FailAllocationAt(0);
        CloseProps();
        EXPECT_EQ(vt::platform::LiveAllocations(), baseline_) << "workspace leaked";
    }
    long baseline_ = 0;
};

// Co-volumes against textbook tables (methane: Peng-Robinson 0.0268, SRK
// 0.02985 m3/kmol); the powers with decimal exponents, not exact fractions.
// The Peng-Robinson slope m switches to the 1978 polynomial at omega 0.49;
// SRK's m takes the SRK acentric factor for codes up to 6.
TEST_F(WorkspaceTest, ConstantsAndSlopeRulesOfBothEquations) {
    Open({kMethane, kPropane});
    ASSERT_TRUE(g_ws.ncomp == 2 && g_ws.cd[1].code == 3);
    EXPECT_TRUE(std::fabs(g_ws.prinfo[0]->b - 0.0268) < 5e-5 && std::fabs(g_ws.srkinfo[0]->b - 0.02985) < 5e-5);
    EXPECT_DOUBLE_EQ(g_ws.mw13[0], std::pow(16.04246, 0.33333));
    EXPECT_DOUBLE_EQ(g_ws.pc23[1], std::pow(4251.2, 0.66667));
    EXPECT_DOUBLE_EQ(g_ws.tc16[1], std::pow(369.89, 0.16667));
    CompRecord a = kPropane, b = kPropane;
    a.omega = 0.49, b.omega = 0.4899;
    Open({a, b});
    const double w = 0.49, v = 0.4899, s = 0.1532;
    EXPECT_DOUBLE_EQ(g_ws.prinfo[0]->m, 0.379642 + 1.48503 * w - 0.164423 * w * w + 0.016666 * w * w * w);
    EXPECT_DOUBLE_EQ(g_ws.prinfo[1]->m, 0.37464 + 1.54226 * v - 0.26992 * v * v);
    EXPECT_NEAR(g_ws.srkinfo[1]->m, 0.48 + 1.57 * s - 0.17 * s * s, 1e-15);
    const struct { int code; double omegasrk; int method; double expected; } cases[] = {
        {5, 0.2, 2, 0.2},  {7, 0.2, 2, 0.3},  {5, VANTARO_MISSING, 2, 0.3},  // code <= 6: the SRK value
        {61, 0.2, 2, 0.32445}, {61, VANTARO_MISSING, 2, 0.3},                // water
        {57, 0.2, 2, 0.0}, {62, 0.2, 2, 0.0},                                 // hydrogen, helium
        {5, 0.2, 1, 0.3},  {5, 0.2, 3, 0.3},                                  // other methods: omega
    };
    for (const auto& c : cases) {
        CompRecord r = kPropane;
        r.code = c.code, r.omega = 0.3, r.omegasrk = c.omegasrk;
        Open({r});
        EXPECT_DOUBLE_EQ(vt::SrkAcentric(vt::g_ws, c.method, 0), c.expected) << "code " << c.code << " method " << c.method;
    }
    CompRecord neg = kMethane;  // a negative critical pressure gives finite roots
    neg.pc = -4599.2;
    Open({neg});
    EXPECT_TRUE(g_ws.prinfo[0]->ac < 0.0 && std::isfinite(g_ws.acrootsPR[0]) && std::isfinite(g_ws.acotrootsSRK[0]));
}

TEST_F(WorkspaceTest, ReopeningEmptyTableRepeatedCloseAndBadArguments) {
    std::vector<CompRecord> first = {kMethane, kPropane, kWater}, second = {Component("nitrogen"), kWater};
    std::vector<double> k1(9, 0.7), pr = {0.0, 0.25, 0.26, 0.0}, srk = {0.0, 0.35, 0.36, 0.0};
    OpenProps(3, first.data(), k1.data(), k1.data());
    OpenProps(2, second.data(), pr.data(), srk.data());
    ASSERT_TRUE(g_ws.ncomp == 2 && g_ws.cd[0].code == 59);
    EXPECT_TRUE(g_ws.kijpr[0][1] == 0.25 && g_ws.kijpr[1][0] == 0.26 && g_ws.kijsrk[1][0] == 0.36);
    pr[1] = 9.0;  // the host's arrays no longer reach the engine
    second[0].tc = 1.0;
    EXPECT_TRUE(g_ws.kijpr[0][1] == 0.25 && g_ws.cd[0].tc == 126.192);
    const double b = g_ws.prinfo[1]->b;  // the same state as opening the second set alone
    CloseProps();
    OpenProps(2, second.data(), pr.data(), srk.data());
    EXPECT_DOUBLE_EQ(g_ws.prinfo[1]->b, b);
    CloseProps();
    CloseProps();
    OpenProps(0, nullptr, nullptr, nullptr);
    ASSERT_TRUE(g_ws.ncomp == 0 && g_ws.prpar != nullptr);
    EXPECT_TRUE(g_ws.prpar[vt::kOmegaA] == 0.457235 && g_ws.srkpar[vt::kOmegaA] == 0.42747);
    // Bad arguments leave the open workspace untouched.
    Open({kMethane});
    const CompRecord rec = kPropane;
    const double k = 0;
    OpenProps(-1, &rec, &k, &k);
    OpenProps(1, nullptr, &k, &k);
    OpenProps(1, &rec, nullptr, &k);
    OpenProps(1, &rec, &k, nullptr);
    EXPECT_TRUE(g_ws.ncomp == 1 && g_ws.cd[0].code == 1);
}

// Every allocation of OpenProps can fail: the message names the right label
// and index, the partial workspace is released at once (the exports then see
// an empty table instead of null arrays behind a count of n), and closing
// again is harmless. Allocations for 3 components: table, 2 x (rows + 3
// rows), 60 work vectors, 2 x (block, infos, 2 root vectors, 3 x (info +
// aij)), vp_parm, 8 named vectors = 98.
TEST_F(WorkspaceTest, AllocationFailureAtEveryStep) {
    const int n = 3, count = 98;
    std::vector<CompRecord> recs = {kMethane, kPropane, kWater};
    std::vector<double> kij(n * n, 0.0);
    const struct { long k; const char* label; int index; } expected[] = {
        {1, "cd", -1},     {2, "kijpr", -1},       {3, "kijpr[i]", 0},     {5, "kijpr[i]", 2},
        {6, "kijsrk", -1}, {10, "kijsrk[i]", 2},   {69, "kijsrk[i]", 2},   {70, "prpar", -1},
        {72, "acrootsPR", -1}, {75, "prinfo[i]->aij", 0}, {89, "srkinfo[i]->aij", 2}, {98, "tc16", -1},
    };  // the work vectors (10 to 69) have no label of their own
    Messages msgs;
    size_t e = 0;
    for (long k = 1; k <= count + 1; ++k) {
        const size_t before = msgs.texts.size();
        vt::platform::FailAllocationAt(k);
        OpenProps(n, recs.data(), kij.data(), kij.data());
        if (k > count) {  // one past the last allocation: no failure, no message
            EXPECT_EQ(msgs.texts.size(), before);
            break;
        }
        ASSERT_EQ(msgs.texts.size(), before + 1) << "k = " << k;
        const bool released = g_ws.ncomp == 0 && vt::platform::LiveAllocations() == baseline_;
        EXPECT_TRUE(msgs.captions.back() == "Vantaro" && released) << "k = " << k;
        if (e < std::size(expected) && expected[e].k == k) {
            EXPECT_EQ(msgs.texts.back(), std::string("Memory Allocation Error While Initialising Flash!\nObject = ") +
                                             expected[e].label + "\nIndex  = " + std::to_string(expected[e].index));
            ++e;
            const double x[3] = {0.2, 0.3, 0.5};
            double r = -1, kk = -1;
            EXPECT_TRUE(MolWeight(x, &r) == 1 && r == 0.0 && EstimateKij(1, 0, 1, &kk) == 0);
            EXPECT_EQ(vt::test::Evaluate({0.2, 0.3, 0.5}, 300.0, 500.0).status, 4);
        }
        CloseProps();
        ASSERT_EQ(vt::platform::LiveAllocations(), baseline_) << "k = " << k;
    }
    EXPECT_EQ(e, std::size(expected));
}

TEST_F(WorkspaceTest, PrecalculationFaultIsReported) {
    const struct { double tc, pc; const char* label; } cases[] = {
        {0.0, 4599.2, "acotrootPR[i]"},     // ac = 0, ac/tc = 0/0
        {190.564, 0.0, "prinfo[i]->am"},    // infinite co-volume
        {NAN, 4599.2, "prinfo[i]->am"},
    };
    Messages msgs;
    for (const auto& c : cases) {
        CompRecord bad = kMethane;
        bad.tc = c.tc, bad.pc = c.pc;
        Open({kPropane, bad});
        ASSERT_EQ(msgs.texts.size(), 1u);
        EXPECT_EQ(msgs.texts[0], std::string("Parameter Precalculation Error While Initialising Flash!\nObject = ") +
                                     c.label + "\nIndex  = 1");
        msgs.texts.clear();
    }
    Open({kPropane, kMethane});  // valid components raise no message
    EXPECT_TRUE(msgs.texts.empty());
}

TEST(GetKijHardWiredTest, RulesInOrder) {
    for (const vt::test::CsvRow& r : vt::test::ReadCsv("tests/data/kij_rules.csv")) {
        double k = -99;
        GetKijHardWired(1, static_cast<int>(r["c1"]), static_cast<int>(r["f1"]), static_cast<int>(r["c2"]),
                        static_cast<int>(r["f2"]), &k);
        EXPECT_DOUBLE_EQ(k, r["kij"]) << r.Str("why");
    }
}

using EstimateKijTest = WorkspaceTest;
using MixtureTest = WorkspaceTest;

double Est(int method, int i, int j, int32_t* status = nullptr) {
    double k = -99;
    const int32_t s = EstimateKij(method, i, j, &k);
    if (status) *status = s;
    return k;
}

// Out-of-range and equal indices; between saturated hydrocarbons the
// critical-volume rule with decimal exponents (equal volumes give a small
// positive kij).
TEST_F(EstimateKijTest, IndexRulesCriticalVolumesWaterAndSpecialPairs) {
    CompRecord a = kMethane;
    a.vc = 0.3;
    Open({a, a, kPropane});
    int32_t s = 5;
    EXPECT_TRUE(Est(1, 0, 0, &s) == -99 && s == -1);  // i = j leaves kij
    EXPECT_TRUE(Est(1, -1, 0, &s) == 0.0 && s == 0 && Est(1, 0, 3, &s) == 0.0 && s == 0);
    EXPECT_NEAR(Est(1, 0, 1), 1.0 - std::pow(0.3, 0.00034), 1e-15);
    EXPECT_GT(Est(1, 0, 1), 0.0);
    EXPECT_NEAR(Est(2, 0, 2), 1.0 - 2 * std::pow(0.06, 0.16667) / (std::pow(0.3, 0.333) + std::pow(0.2, 0.333)), 1e-15);
    CloseProps();
    EXPECT_TRUE(Est(1, 0, 1, &s) == 0.0 && s == 0);  // no workspace: out of range
    Open({kMethane, kPropane, kWater, Component("hydrogen sulfide"), Component("carbon dioxide"),
          Component("methanol"), Component("ethylene glycol"), Component("diethylene glycol"),
          Component("triethylene glycol")});
    // H2S correlations in tb and liqden of the second component.
    auto x = [](const CompRecord& c) { return std::pow(1.8 * c.tb, 2) * c.liqden / 1000.0; };
    auto api = [](const CompRecord& c) { return std::pow(141500.0 / c.liqden - 131.5, 2) + 1; };
    const CompRecord &h2s = g_ws.cd[3], &c3 = g_ws.cd[1];
    EXPECT_NEAR(Est(1, 1, 3), 0.059 + 4.5e-8 * x(h2s) - 9.27e-14 * x(h2s) * x(h2s) - 43.18 / api(h2s), 1e-15);
    EXPECT_NEAR(Est(1, 3, 1), 0.0883 - 2.06e-8 * x(c3) - 4e-14 * x(c3) * x(c3) + 2.252 / api(c3), 1e-15);
    const struct { int method, i, j; double k; } cases[] = {
        {1, 0, 2, 0.5},  {1, 2, 1, 0.48}, {1, 4, 2, 0.0445}, {2, 2, 4, 0.0392}, {3, 4, 2, M},  // method 3: none
        {1, 5, 2, -0.18}, {2, 2, 5, -0.09}, {3, 5, 2, -99},  // methanol/water, method 3: unchanged
        {1, 6, 2, -0.1}, {1, 2, 7, 0.25}, {2, 8, 2, -0.5531}, {1, 4, 5, M},  // no rule
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(Est(c.method, c.i, c.j), c.k) << c.method << " " << c.i << " " << c.j;
}

// Mole-fraction sums without normalisation (fractions summing to 2 give
// twice the value); an absent composition (MISSING first) gives 0 and
// MISSING, a MISSING element further on is summed like a number.
TEST_F(MixtureTest, UnnormalisedSumsAndMissingConstants) {
    Open({kMethane, kPropane, kWater});
    const double x[3] = {1.0, 0.6, 0.4}, absent[3] = {M, 0.5, 0.5}, later[3] = {0.0, M, 0.0}, pure[3] = {0, 1, 0};
    double r = 0;
    EXPECT_TRUE(MolWeight(x, &r) == 1 && std::fabs(r - (16.04246 + 0.6 * 44.09562 + 0.4 * 18.01528)) < 1e-9);
    EXPECT_TRUE(PseudoPc(x, &r) == 1 && std::fabs(r - (4599.2 + 0.6 * 4251.2 + 0.4 * 22064.0)) < 1e-9);
    EXPECT_TRUE(PseudoTc(later, &r) == 1 && std::fabs(r - M * 369.89) < 1e-6);
    EXPECT_TRUE(PseudoTc(absent, &r) == 0 && r == M && vt::MixVc(vt::g_ws, pure, &r) == 1 && std::fabs(r - 0.2) < 1e-15);
    EXPECT_TRUE(MolWeight(nullptr, &r) == 0 && r == M && PseudoTc(x, nullptr) == 0);
    // A zero fraction skips a MISSING constant; the internal sum stops at a
    // MISSING fraction.
    CompRecord odd = kPropane;
    odd.mw = M;
    Open({kMethane, odd});
    const double first[2] = {1.0, 0.0}, y[2] = {0.5, M}, z[2] = {0.25, 0.75};
    EXPECT_TRUE(MolWeight(first, &r) == 1 && std::fabs(r - 16.04246) < 1e-12 && vt::MixMw(vt::g_ws, y) == M);
    EXPECT_DOUBLE_EQ(vt::MixMw(vt::g_ws, z), 0.25 * 16.04246 + 0.75 * M);
}

TEST(Interp2Test, NodesInteriorAndOutside) {
    const double xs[3] = {0.0, 1.0, 3.0}, ys[3] = {10.0, 20.0, 40.0};
    // z(x, y) = 2 x + y / 10 at the nodes, row by row with row length 3: a
    // bilinear function is reproduced everywhere inside, nodes exactly.
    double z[9];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) z[3 * i + j] = 2 * xs[i] + ys[j] / 10;
    for (auto [x, y] : {std::pair{0.0, 10.0}, {1.0, 20.0}, {3.0, 40.0}, {0.5, 15.0}, {2.0, 30.0}, {3.0, 25.0},
                        {0.25, 40.0}, {1.0, 33.0}})
        EXPECT_NEAR(vt::Interp2(x, y, 3, 3, xs, ys, z), 2 * x + y / 10, 1e-12) << x << "," << y;
    EXPECT_TRUE(vt::Interp2(1.0, 20.0, 3, 3, xs, ys, z) == z[4] && vt::Interp2(3.0, 40.0, 3, 3, xs, ys, z) == z[8]);
    for (auto [x, y] : {std::pair{-1e-9, 20.0}, {3.0000001, 20.0}, {1.0, 9.999}, {1.0, 40.001}})
        EXPECT_EQ(vt::Interp2(x, y, 3, 3, xs, ys, z), M) << x << "," << y;
    EXPECT_NEAR(vt::Interp2(2.0, 15.0, 3, 2, xs, ys, z), 4.0 + 1.5, 1e-12);  // ny = 2 reads no third column
}

}  // namespace
