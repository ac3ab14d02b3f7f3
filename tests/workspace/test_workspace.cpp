#include <cmath>
#include <cstring>
#include <vector>

#include "fixtures.h"
#include "platform/alloc.h"
#include "workspace/workspace.h"

using namespace vt_test;
using vt::g_ws;

namespace {

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

// Peng-Robinson b = 0.077796 R Tc / Pc (methane: 0.0268 m3/kmol in
// textbook tables), SRK b = 0.08664 R Tc / Pc, ac = 0.457235 (R Tc)^2 / Pc
// and its roots; the powers with decimal exponents, not exact fractions;
// the constant slots of both blocks.
TEST_F(WorkspaceTest, OpensCopiesAndPrecomputesConstants) {
    Open({Methane(), Propane()});
    ASSERT_TRUE(g_ws.ncomp == 2 && g_ws.cd[1].code == 3);
    const double rtc = 8.31432 * 190.564;
    EXPECT_NEAR(g_ws.prinfo[0]->b, 0.0268, 5e-5);
    EXPECT_NEAR(g_ws.srkinfo[0]->b, 0.08664 * rtc / 4599.2, 1e-15);
    EXPECT_NEAR(g_ws.acrootsPR[0], std::sqrt(0.457235 * rtc * rtc / 4599.2), 1e-9);
    EXPECT_NEAR(g_ws.acotrootsSRK[1], std::sqrt(g_ws.srkinfo[1]->ac / 369.89), 1e-12);
    EXPECT_DOUBLE_EQ(g_ws.mw13[0], std::pow(16.04246, 0.33333));
    EXPECT_DOUBLE_EQ(g_ws.pc23[1], std::pow(4251.2, 0.66667));
    EXPECT_DOUBLE_EQ(g_ws.tc16[1], std::pow(369.89, 0.16667));
    EXPECT_TRUE(g_ws.prpar[vt::kDdiff] == -0.41421 - 2.41421 && g_ws.prpar[vt::kWprod] == -0.41421 * 2.41421);
    EXPECT_TRUE(g_ws.srkpar[vt::kUsum] == 1.0 && g_ws.srkpar[vt::kRgasSlot] == 8.31432);
}

// The Peng-Robinson slope m switches to the 1978 polynomial at omega 0.49;
// SRK's m takes the SRK acentric factor for codes up to 6.
TEST_F(WorkspaceTest, SlopeRulesOfBothEquations) {
    CompRecord a = Propane(), b = Propane();
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
        CompRecord r = Propane();
        r.code = c.code, r.omega = 0.3, r.omegasrk = c.omegasrk;
        Open({r});
        EXPECT_DOUBLE_EQ(vt::SrkAcentric(c.method, 0), c.expected) << "code " << c.code << " method " << c.method;
    }
    CompRecord neg = Methane();  // a negative critical pressure gives finite roots
    neg.pc = -4599.2;
    Open({neg});
    EXPECT_TRUE(g_ws.prinfo[0]->ac < 0.0 && std::isfinite(g_ws.acrootsPR[0]) && std::isfinite(g_ws.acotrootsSRK[0]));
}

TEST_F(WorkspaceTest, SecondOpenReplacesFirstAndCopiesTheHostsArrays) {
    std::vector<CompRecord> first = {Methane(), Propane(), Water()}, second = {Nitrogen(), Water()};
    std::vector<double> k1(9, 0.7), pr = {0.0, 0.25, 0.26, 0.0}, srk = {0.0, 0.35, 0.36, 0.0};
    OpenProps(3, first.data(), k1.data(), k1.data());
    OpenProps(2, second.data(), pr.data(), srk.data());
    ASSERT_EQ(g_ws.ncomp, 2);
    EXPECT_EQ(g_ws.cd[0].code, 59);
    EXPECT_TRUE(g_ws.kijpr[0][1] == 0.25 && g_ws.kijpr[1][0] == 0.26 && g_ws.kijsrk[1][0] == 0.36);
    pr[1] = 9.0;  // the host's arrays no longer reach the engine
    second[0].tc = 1.0;
    EXPECT_TRUE(g_ws.kijpr[0][1] == 0.25 && g_ws.cd[0].tc == 126.192);
    const double b = g_ws.prinfo[1]->b;  // the same state as opening the second set alone
    CloseProps();
    OpenProps(2, second.data(), pr.data(), srk.data());
    EXPECT_DOUBLE_EQ(g_ws.prinfo[1]->b, b);
}

TEST_F(WorkspaceTest, EmptyTableRepeatedCloseAndBadArguments) {
    CloseProps();
    CloseProps();
    OpenProps(0, nullptr, nullptr, nullptr);
    EXPECT_EQ(g_ws.ncomp, 0);
    ASSERT_NE(g_ws.prpar, nullptr);
    EXPECT_TRUE(g_ws.prpar[vt::kOmegaA] == 0.457235 && g_ws.srkpar[vt::kOmegaA] == 0.42747);
    double x[1] = {0.5}, r = -1;
    EXPECT_EQ(MolWeight(x, &r), 1);
    EXPECT_EQ(r, 0.0);
    // Bad arguments leave the open workspace untouched.
    Open({Methane()});
    const CompRecord rec = Propane();
    const double k = 0;
    OpenProps(-1, &rec, &k, &k);
    OpenProps(1, nullptr, &k, &k);
    OpenProps(1, &rec, nullptr, &k);
    OpenProps(1, &rec, &k, nullptr);
    ASSERT_EQ(g_ws.ncomp, 1);
    EXPECT_EQ(g_ws.cd[0].code, 1);
}

// Every allocation of OpenProps can fail: the message names the right label
// and index, the partial workspace is released at once (the exports then see
// an empty table instead of null arrays behind a count of n), and closing
// again is harmless. Allocations for 3 components: table, 2 x (rows + 3
// rows), 60 work vectors, 2 x (block, infos, 2 root vectors, 3 x (info +
// aij)), vp_parm, 8 named vectors = 98.
TEST_F(WorkspaceTest, AllocationFailureAtEveryStep) {
    const int n = 3, count = 98;
    std::vector<CompRecord> recs = {Methane(), Propane(), Water()};
    std::vector<double> kij(n * n, 0.0);
    const struct { long k; const char* label; int index; } expected[] = {
        {1, "cd", -1},         {2, "kijpr", -1},           {3, "kijpr[i]", 0},         {5, "kijpr[i]", 2},
        {6, "kijsrk", -1},     {9, "kijsrk[i]", 2},        {10, "kijsrk[i]", 2},       {69, "kijsrk[i]", 2},
        {70, "prpar", -1},     {71, "prinfo", -1},         {72, "acrootsPR", -1},      {73, "acotrootsPR", -1},
        {74, "prinfo[i]", 0},  {75, "prinfo[i]->aij", 0},  {79, "prinfo[i]->aij", 2},  {80, "srkpar", -1},
        {89, "srkinfo[i]->aij", 2}, {90, "vp_parm", -1},   {91, "molev", -1},          {98, "tc16", -1},
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
        EXPECT_EQ(msgs.captions.back(), "Vantaro");
        EXPECT_EQ(g_ws.ncomp, 0) << "k = " << k;
        EXPECT_EQ(vt::platform::LiveAllocations(), baseline_) << "k = " << k;
        if (e < std::size(expected) && expected[e].k == k) {
            EXPECT_EQ(msgs.texts.back(), std::string("Memory Allocation Error While Initialising Flash!\nObject = ") +
                                             expected[e].label + "\nIndex  = " + std::to_string(expected[e].index));
            ++e;
            const double x[3] = {0.2, 0.3, 0.5};
            double r = -1, kk = -1, t = 300, p = 500, a[3], f[5], q[5];
            const double tol[4] = {0.01, 0.1, 0.001, 1e-4};
            std::fill(f, f + 5, VANTARO_MISSING), std::fill(q, q + 5, VANTARO_MISSING);
            int32_t ph[3];
            EXPECT_TRUE(MolWeight(x, &r) == 1 && r == 0.0);
            EXPECT_EQ(EstimateKij(1, 0, 1, &kk), 0);
            EXPECT_EQ(Prop3(1, 1, &t, &p, x, a, a, a, a, ph, f, q, q, q, q, q, VANTARO_MISSING, tol), 4);
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
        CompRecord bad = Methane();
        bad.tc = c.tc, bad.pc = c.pc;
        Open({Propane(), bad});
        ASSERT_EQ(msgs.texts.size(), 1u);
        EXPECT_EQ(msgs.texts[0], std::string("Parameter Precalculation Error While Initialising Flash!\nObject = ") +
                                     c.label + "\nIndex  = 1");
        msgs.texts.clear();
    }
    Open({Propane(), Methane()});  // valid components raise no message
    EXPECT_TRUE(msgs.texts.empty());
}

}  // namespace
