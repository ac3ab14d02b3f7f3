// The two-phase march through the export NewTwoPhaseDp: a gas line against
// IsoVapDp, the static head of a vertical line against its holdup, the
// damped passes, and the guards.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "../support/component_table.h"
#include "../support/stream.h"
#include "hydraulics/twophase_driver.h"
#include "vantaro/vantaro.h"

namespace {

using vt::test::Evaluate;
using vt::test::kTol;
constexpr double kMissing = VANTARO_MISSING;
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

const std::vector<std::string> kNames = {"nitrogen",  "carbon dioxide", "methane",   "ethane",
                                         "propane",   "n-butane",       "n-pentane", "n-hexane",
                                         "n-heptane", "n-decane",       "water"};
// A gas condensate with free water, and a dry gas.
const std::vector<double> kWet = {0.01, 0.02, 0.70, 0.08, 0.05, 0.03, 0.02, 0.02, 0.02, 0.02, 0.03};
const std::vector<double> kDry = {0.0, 0.0, 0.90, 0.07, 0.03, 0, 0, 0, 0, 0, 0};

// A line from a relief valve's outlet to a header: the stream's enthalpy
// is that of the relieving state (320 K, 15 bar) at every node.
struct Line {
    int32_t friction = 1, method = VANTARO_TWOPHASE_BEGGS_BRILL, n = 10, passes = 2, elevation = 0;
    PipeSegment pipe{100.0, 7.981, 0.0, 0.0, 0.0, 0.0018, 0.0018, 1.0};
    double w = 10000.0;
    std::vector<double> z = kWet, p, h, t, v;
    FlowResult r{};

    explicit Line(double hspec = kMissing, double p2 = 2.0) {
        Resize(hspec == kMissing ? Evaluate(z, 320.0, 1500.0).h[3] : hspec, p2);
    }
    void Resize(double hspec, double p2) {
        p.assign(n + 1, 0.0);
        p[n] = p2;
        h.assign(n + 1, hspec);
        t.assign(n + 1, kMissing);
        v.assign(n + 1, kMissing);
    }
    int32_t Run() {
        return NewTwoPhaseDp(friction, method, n, 0, 1, 1, &pipe, &r, w, p.data(), h.data(), z.data(), t.data(),
                             v.data(), nullptr, kTol, 0, elevation, passes, 0);
    }
    bool Invalid() const { return r.p == kMissing && r.regime == -32767; }
};

class TwoPhaseMarch : public ::testing::Test {
protected:
    void SetUp() override {
        vt::test::OpenTable(kNames);
        vt::test::FitViscosity(0);
    }
    void TearDown() override { CloseProps(); }
};

TEST_F(TwoPhaseMarch, GasLineAgreesWithIsoVapDp) {
    // A dry gas through 300 m of 6 in: the march (Beggs-Brill, single phase)
    // against the isothermal gas-line formula with the end states the march
    // found. The march ends 0.6 % higher: after three damped passes the
    // upstream node of each segment is flashed about a quarter of the
    // segment's drop below the answer (0.5 %; 20 passes leave 0.1 %), its
    // Reynolds number comes from local rather than end-averaged states, and
    // the single-phase friction multiplier is 1.0006.
    Line line(Evaluate(kDry, 300.0, 500.0).h[3], 5.0);
    line.z = kDry;
    line.pipe = PipeSegment{300.0, 6.065, 0.0, 0.0, 0.0, 0.0018, 0.0018, 1.0};
    line.w = 12000.0;
    ASSERT_TRUE(line.Run() == -1 && line.r.regime == vt::kRegimeSinglePhase && line.r.holdup < 1e-15);
    auto state = [&](int i) {
        const vt::test::Stream s = Evaluate(kDry, line.t[i] + 273.15, 100.0 * line.p[i]);
        StreamState st{};
        st.pref = line.p[i], st.vfrac = 1.0, st.mixmw = st.vapmw = st.liqmw = s.mw[3];
        st.mixden = st.vapden = s.Density(), st.liqden = 600.0;
        ViscVapour(kDry.data(), line.t[i] + 273.15, &st.mixvisc);
        st.vapvisc = st.mixvisc;
        return st;
    };
    const StreamState up = state(0), down = state(line.n);
    FlowResult iso{};
    ASSERT_EQ(IsoVapDp(1, 5.0, line.w, &up, &down, &line.pipe, &iso, 1, kMissing, 1e-10), -1);
    const double dpMarch = line.r.p - 5.0, dpIso = iso.p - 5.0;
    EXPECT_TRUE(dpMarch > 1.0 && std::fabs(dpMarch - dpIso) < 0.01 * dpIso) << dpMarch << " " << dpIso;
    // The gas is warmer upstream.
    const double t0 = line.t[0], tn = line.t[line.n];
    EXPECT_TRUE(std::fabs(line.r.fric / iso.fric - 1) < 0.01 && t0 > tn && t0 < tn + 2.0) << line.r.fric << " " << t0;
}

TEST_F(TwoPhaseMarch, VerticalLineAddsTheStaticHeadOfItsHoldup) {
    for (int32_t method : {VANTARO_TWOPHASE_BEGGS_BRILL, VANTARO_TWOPHASE_DUKLER, VANTARO_TWOPHASE_DUKLER_DENSITY,
                           VANTARO_TWOPHASE_LOCKHART_MARTINELLI, VANTARO_TWOPHASE_ORKISZEWSKI}) {
        SCOPED_TRACE(method);
        Line flat, vertical;
        flat.method = vertical.method = method;
        flat.w = vertical.w = 6000.0;
        vertical.pipe.rise = vertical.pipe.len;
        ASSERT_TRUE(flat.Run() == -1 && vertical.Run() == -1);
        if (method == VANTARO_TWOPHASE_LOCKHART_MARTINELLI || method == VANTARO_TWOPHASE_ORKISZEWSKI) {
            // No static head at all, or the full column whatever the rise.
            EXPECT_EQ(vertical.r.p, flat.r.p);
            continue;
        }
        EXPECT_TRUE(flat.r.dpelev == 0.0 && vertical.r.dpelev > 0.0);
        EXPECT_NEAR(vertical.r.p - flat.r.p, vertical.r.dpelev, 0.1 * vertical.r.dpelev);
        if (method != VANTARO_TWOPHASE_BEGGS_BRILL) continue;
        // The head is that of the slip density of the reported holdup:
        // phase densities at the line's mean state.
        const double pm = 0.5 * (vertical.p[0] + vertical.p[vertical.n]);
        const double tm = 0.5 * (vertical.t[0] + vertical.t[vertical.n]) + 273.15;
        const vt::test::Stream s = Evaluate(kWet, tm, 100.0 * pm);
        const double hl = vertical.r.holdup;
        EXPECT_NEAR(vertical.r.dpelev, (hl * s.Density(4) + (1 - hl) * s.Density(0)) * 9.80665 * 100.0 * 1e-5,
                    0.03 * vertical.r.dpelev);
    }
}

TEST_F(TwoPhaseMarch, EachPassFlashesAtTheMeanOfEstimateAndAnswer) {
    // Two passes from estimate e end where one pass from (e + a1) / 2 ends,
    // a1 being the answer of one pass from e.
    Line one, two, again;
    for (Line* l : {&one, &two, &again}) {
        l->n = 1;
        l->Resize(l->h[0], 2.0);
        l->p[0] = 2.5;
        l->passes = l == &two ? 1 : 0;
    }
    ASSERT_TRUE(one.Run() == -1 && two.Run() == -1);
    again.p[0] = 0.5 * (2.5 + one.p[0]);
    EXPECT_TRUE(again.Run() == -1 && two.p[0] == again.p[0] && two.t[0] == again.t[0] && one.p[0] != two.p[0]);
    // Lockhart-Martinelli reports the no-slip liquid fraction of the segment.
    again.method = VANTARO_TWOPHASE_LOCKHART_MARTINELLI;
    again.p[0] = 2.2;
    ASSERT_EQ(again.Run(), -1);
    const vt::test::Stream d = Evaluate(kWet, again.t[1] + 273.15, 200.0);
    const vt::test::Stream u = Evaluate(kWet, again.t[0] + 273.15, 220.0);
    const double ql = d.frac[4] * d.v[4] / d.mw[3] + u.frac[4] * u.v[4] / u.mw[3];
    const double qv = d.frac[0] * d.v[0] / d.mw[3] + u.frac[0] * u.v[0] / u.mw[3];
    EXPECT_NEAR(again.r.holdup, ql / (ql + qv), 1e-6);
}

// Liquid lines of n-hexane and free water in laminar flow, where the drop
// at a given volumetric flow is proportional to the viscosity: the blend
// takes the hexane's viscosity above 65 % hexane by volume, the water's
// below 35 %, and mu_hexane exp(3.6 (1 - phi)) between.
TEST_F(TwoPhaseMarch, LiquidBlendViscosityOfHydrocarbonAndWater) {
    auto line = [&](double xw, double* phi) {
        std::vector<double> z(kNames.size(), 0.0);
        z[7] = 1.0 - xw, z[10] = xw;
        const vt::test::Stream s = Evaluate(z, 300.0, 2000.0);
        const double v1 = s.frac[1] > 0 ? s.frac[1] * s.v[1] : 0.0, v2 = s.frac[2] > 0 ? s.frac[2] * s.v[2] : 0.0;
        *phi = v1 / (v1 + v2);
        Line l(s.h[3], 20.0);
        l.z = z, l.method = VANTARO_TWOPHASE_BEGGS_BRILL, l.pipe.dia = 1.049;
        l.w = 0.02 * s.Density();  // 0.02 m3/h: Re below 1000
        EXPECT_EQ(l.Run(), -1) << xw;
        return l.r.p - 20.0;
    };
    double phi;
    const double hexane = line(0.0, &phi), water = line(1.0, &phi);
    ASSERT_GT(water / hexane, 2.0);
    for (double xw : {0.15, 0.75, 0.88, 0.95}) {
        const double dp = line(xw, &phi);
        const double mu = phi > 0.65 ? 1.0 : phi < 0.35 ? water / hexane : std::exp(3.6 * (1.0 - phi));
        EXPECT_NEAR(dp / hexane, mu, 0.01 * mu) << xw << " phi " << phi;
    }
}

// An unknown method code only flashes the nodes at the given pressures.
TEST_F(TwoPhaseMarch, UnknownMethodAndBadArguments) {
    Line line;
    line.method = 9;
    for (int i = 0; i < line.n; ++i) line.p[i] = 3.0 - 0.1 * i;
    const std::vector<double> entry = line.p;
    line.r.regime = 77;
    EXPECT_TRUE(line.Run() == -1 && line.p == entry && line.r.p == entry[0] && line.r.regime == 77);
    EXPECT_EQ(line.r.dpfric + line.r.dpelev + line.r.dpacc + line.r.leq, 0.0);
    for (int i = 0; i <= line.n; ++i) EXPECT_GT(line.v[i], 0.0);
    EXPECT_GT(line.t[0], line.t[line.n]);  // less cooling at the higher pressure
    // Bad arguments give 0 and the result marked as not computed.
    const std::pair<const char*, void (*)(Line&)> cases[] = {
        {"n < 0", [](Line& l) { l.n = -1; }},          {"friction method", [](Line& l) { l.friction = 2; }},
        {"negative flow", [](Line& l) { l.w = -1.0; }}, {"rise beyond length", [](Line& l) { l.pipe.rise = 100.5; }},
        {"NaN flow", [](Line& l) { l.w = kNan; }},      {"downstream pressure", [](Line& l) { l.p[l.n] = 0.0; }},
        {"NaN enthalpy", [](Line& l) { l.h[3] = kNan; }}, {"zero diameter", [](Line& l) { l.pipe.dia = 0.0; }},
    };
    for (const auto& [what, spoil] : cases) {
        Line line;
        spoil(line);
        EXPECT_TRUE(line.Run() == 0 && line.Invalid()) << what;
    }
    line = Line();  // null pointers: the result, when there is one, marked as not computed
    EXPECT_EQ(NewTwoPhaseDp(1, 2, line.n, 0, 1, 1, &line.pipe, nullptr, line.w, line.p.data(), line.h.data(),
                            line.z.data(), line.t.data(), line.v.data(), nullptr, kTol, 0, 0, 0, 0), 0);
    EXPECT_EQ(NewTwoPhaseDp(1, 2, line.n, 0, 1, 1, &line.pipe, &line.r, line.w, nullptr, line.h.data(),
                            line.z.data(), line.t.data(), line.v.data(), nullptr, kTol, 0, 0, 0, 0), 0);
    EXPECT_TRUE(line.Invalid());
    CloseProps();  // without a workspace no node can be flashed
    Line closed(0.0);
    EXPECT_TRUE(closed.Run() == 0 && closed.Invalid());
}

TEST_F(TwoPhaseMarch, DegenerateLines) {
    // No segment: the downstream node is flashed, nothing else.
    Line zero;
    zero.n = 0;
    zero.Resize(zero.h[0], 2.0);
    EXPECT_TRUE(zero.Run() == -1 && zero.r.p == 2.0 && zero.r.regime == -32767 && !zero.r.dpfric && zero.v[0] > 0);
    // No flow: no pressure change, velocities 0, temperatures flashed.
    Line still;
    still.w = 0.0;
    ASSERT_TRUE(still.Run() == -1 && still.r.regime == -32767);
    for (int i = 0; i <= still.n; ++i)
        EXPECT_TRUE(still.p[i] == 2.0 && still.v[i] == 0.0 && std::fabs(still.t[i] - still.t[still.n]) < 1e-6) << i;
    // Negative extra passes count as none; unusable estimates start from the
    // pressure found at the downstream node of their segment.
    Line once, negative, unusable, given;
    once.passes = unusable.passes = given.passes = 0;
    negative.passes = -5;
    for (int i = 0; i < unusable.n; ++i) unusable.p[i] = i % 2 ? kNan : -3.0;
    ASSERT_TRUE(once.Run() == -1 && negative.Run() == -1 && unusable.Run() == -1);
    EXPECT_EQ(negative.p, once.p);
    for (int i = 0; i < given.n; ++i) given.p[i] = unusable.p[i + 1];
    EXPECT_TRUE(given.Run() == -1 && unusable.p == given.p);
}

}  // namespace
