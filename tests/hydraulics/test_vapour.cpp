// Vapour lines: the isothermal and adiabatic upstream pressure against the
// textbook ideal-gas equations, the records' exits and the exports' guards.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <numbers>

#include "heat/groups.h"
#include "hydraulics/friction.h"
#include "hydraulics/vapour.h"
#include "vantaro/vantaro.h"

namespace {

constexpr double kMissing = VANTARO_MISSING;
constexpr double kR = 8314.2;  // J/(kmol K)
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

// An ideal-gas stream state of molecular weight mw at temperature t, pressure p (bar).
StreamState Gas(double p, double mw = 20.0, double t = 320.0, double cp = 38.0,
                double visc = 0.011) {
    StreamState s{};
    s.pref = p;
    s.vfrac = 1.0;
    s.mixmw = s.vapmw = s.liqmw = mw;
    s.mixden = s.vapden = p * 1e5 * mw / (kR * t);
    s.liqden = 600.0;
    s.mixvisc = s.vapvisc = visc;
    s.mixcp = s.vapcp = cp;
    return s;
}

PipeSegment Pipe(double len, double dia = 7.981, double kfit = 0.0, double ldfit = 0.0) {
    return PipeSegment{len, dia, 0.0, kfit, ldfit, 0.0018, 0.0018, 1.0};
}

// Address of a temporary that lives to the end of the full expression.
template <class T>
const T* Ptr(const T& x) {
    return &x;
}

// The mass-flux area uses the rounded constant of the flow equations, the
// velocities the exact circle; they differ by 4e-8 relative.
double Area(double dia) { return 0.0005067075 * dia * dia; }
double Velocity(double w, double rho, double dia) {
    const double d = 0.0254 * dia;
    return w / (rho * 3600.0) / (std::numbers::pi / 4 * d * d);
}

// Reynolds number and Darcy factor the routines use at given end densities.
double LineFriction(double w, double rho1, double rho2, double dia, double visc, int method = 1) {
    const double g = w / 3600.0 / Area(dia);
    const double v = 0.5 * (g / rho1 + g / rho2);
    double re = 0, f = 0;
    vt::Reynolds(v, 0.0254 * dia, 0.5 * (rho1 + rho2), visc, &re);
    vt::FrictionFactor(method, re, dia, 0.0018, &f);
    return f;
}

TEST(Vapour, IsothermalMatchesTextbookIdealGasEquation) {
    // Isothermal flow of an ideal gas (e.g. Crane TP-410, eq. 1-6; Perry 6-114):
    //   P1^2 - P2^2 = G^2 (R T / M) (f L / D + 2 ln(P1 / P2)).
    // Pick P1, solve the equation for L, and ask the engine for P1 back.
    const double mw = 20.0, t = 320.0, dia = 7.981, p2 = 1.5;
    for (double p1 : {1.6, 3.0, 6.0})
        for (double w : {5000.0, 20000.0}) {
            const double rho1 = p1 * 1e5 * mw / (kR * t), rho2 = p2 * 1e5 * mw / (kR * t);
            const double f = LineFriction(w, rho1, rho2, dia, 0.011);
            const double g = w / 3600.0 / Area(dia), d = 0.0254 * dia;
            const double a = 1e5 * p1, b = 1e5 * p2;
            const double len =
                d / f * ((a * a - b * b) * mw / (g * g * kR * t) - 2.0 * std::log(a / b));
            ASSERT_GT(len, 0.0);
            FlowResult r{};
            EXPECT_EQ(IsoVapDp(1, p2, w, Ptr(Gas(p1 * 1.3)), Ptr(Gas(p2 * 0.7)), Ptr(Pipe(len)), &r,
                               1, kMissing, 1e-10),
                      -1);
            EXPECT_NEAR(r.p, p1, 1e-6 * p1) << "w " << w << " L " << len;
            EXPECT_EQ(r.regime, 0);
            EXPECT_NEAR(r.fric, f, 1e-6 * f);
            EXPECT_NEAR(r.vout, Velocity(w, rho2, dia), 1e-12 * r.vout);
            EXPECT_NEAR(r.vin, Velocity(w, rho1, dia), 1e-6 * r.vin);
            EXPECT_EQ(r.dpacc, kMissing);
            EXPECT_EQ(r.dpfric, kMissing);
            EXPECT_EQ(r.dpelev, kMissing);
            EXPECT_EQ(r.holdup, 0.0);
            EXPECT_EQ(r.leq, 0.0);
        }
}

// Fanno flow: 4 fF L*/D at Mach m for ratio of specific heats k.
double Fanno(double m, double k) {
    return (1 - m * m) / (k * m * m) +
           (k + 1) / (2 * k) * std::log((k + 1) * m * m / (2 + (k - 1) * m * m));
}

TEST(Vapour, AdiabaticMatchesFannoFlow) {
    // An ideal gas with k = 1.4 from Mach m1 to m2 in an adiabatic pipe: the
    // Fanno relations give the end states and the length; the engine must
    // return the upstream pressure.
    const double k = 1.4, cp = k / (k - 1) * 8.3142, mw = 20.0, t0 = 400.0, dia = 6.065;
    const double p1 = 6.0;  // bar
    for (auto [m1, m2] : {std::pair{0.2, 0.3}, {0.3, 0.6}, {0.5, 0.8}}) {
        const double t1 = t0 / (1 + (k - 1) / 2 * m1 * m1), t2 = t0 / (1 + (k - 1) / 2 * m2 * m2);
        const double rho1 = p1 * 1e5 * mw / (kR * t1);
        const double a1 = std::sqrt(k * kR * t1 / mw), a2 = std::sqrt(k * kR * t2 / mw);
        const double g = rho1 * m1 * a1;
        const double rho2 = g / (m2 * a2), p2 = rho2 * kR * t2 / mw / 1e5;
        const double w = g * Area(dia) * 3600.0;
        const double f = LineFriction(w, rho1, rho2, dia, 0.012);
        const double len = 0.0254 * dia / f * (Fanno(m1, k) - Fanno(m2, k));
        StreamState up = Gas(p1, mw, t1, cp, 0.012), down = Gas(p2, mw, t2, cp, 0.012);
        FlowResult r{};
        EXPECT_EQ(AdiaVapDp(1, p2, w, &up, &down, Ptr(Pipe(len, dia)), &r, 1, kMissing, 1e-10), -1);
        EXPECT_NEAR(r.p, p1, 1e-6 * p1) << "M " << m1 << " -> " << m2;
        EXPECT_NEAR(r.vin, m1 * a1, 1e-5 * r.vin);
        EXPECT_NEAR(r.vout, m2 * a2, 1e-7 * r.vout);
        EXPECT_EQ(r.regime, 0);
        // The isothermal answer of the same line differs, but brackets it.
        FlowResult iso{};
        EXPECT_EQ(IsoVapDp(1, p2, w, &up, &down, Ptr(Pipe(len, dia)), &iso, 1, kMissing, 1e-10),
                  -1);
        EXPECT_GT(r.p, p2 + 0.2 * (iso.p - p2));
        EXPECT_LT(r.p, p2 + 2.0 * (iso.p - p2));
    }
}

TEST(Vapour, ShortSlowLineAdiabaticCloseToIsothermal) {
    FlowResult iso{}, adia{};
    const StreamState up = Gas(3.0), down = Gas(2.0);
    EXPECT_EQ(
        IsoVapDp(0, 2.0, 2000, &up, &down, Ptr(Pipe(20, 7.981, 0.5, 30)), &iso, 1, kMissing, 1e-8),
        -1);
    EXPECT_EQ(AdiaVapDp(0, 2.0, 2000, &up, &down, Ptr(Pipe(20, 7.981, 0.5, 30)), &adia, 1, kMissing,
                        1e-8),
              -1);
    EXPECT_GT(iso.p, 2.0);
    EXPECT_NEAR(adia.p - 2.0, iso.p - 2.0, 0.01 * (iso.p - 2.0));
    EXPECT_GT(adia.leq, 0.0);
}

TEST(Vapour, ConstantDensityIsDarcyWeisbach) {
    // Rescale flag 0, both ends at one density, small drop: the friction
    // term is Darcy-Weisbach; the kinetic term G^2/rho ln(P1/P2) is tiny.
    const StreamState s = Gas(10.0);
    const double w = 10000, dia = 7.981, len = 200;
    FlowResult r{};
    EXPECT_EQ(IsoVapDp(1, 10.0, w, &s, &s, Ptr(Pipe(len, dia)), &r, 0, kMissing, 1e-12), -1);
    const double rho = s.mixden, v = Velocity(w, rho, dia);
    const double f = LineFriction(w, rho, rho, dia, 0.011);
    const double dw = f * len / (0.0254 * dia) * rho * v * v / 2 / 1e5;  // bar
    EXPECT_NEAR(r.p - 10.0, dw, 0.001 * dw);
    EXPECT_NEAR(r.vout, v, 1e-12 * v);
    // Any flag but 1 uses the records' densities.
    FlowResult r2{};
    EXPECT_EQ(IsoVapDp(1, 10.0, w, &s, &s, Ptr(Pipe(len, dia)), &r2, 2, kMissing, 1e-12), -1);
    EXPECT_EQ(r2.p, r.p);
}

TEST(Vapour, DensityAtPressure) {
    const double mw[3] = {20, 20, 80}, rho[3] = {7.5, 7.5, 650};
    double out[3];
    // All vapour: density proportional to pressure.
    EXPECT_EQ(vt::DensityAtPressure(1000, 1.0, mw, rho, 5.0, 10.0, out), 1);
    EXPECT_DOUBLE_EQ(out[0], 15.0);
    EXPECT_DOUBLE_EQ(out[1], 15.0);
    EXPECT_DOUBLE_EQ(out[2], 650.0);
    // No vapour volume: the three densities come back unchanged.
    const double rho2[3] = {640, 7.5, 650};
    EXPECT_EQ(vt::DensityAtPressure(1000, 0.0, mw, rho2, 5.0, 10.0, out), 1);
    EXPECT_EQ(out[0], 640.0);
    EXPECT_EQ(out[1], 7.5);
    // Half the moles as vapour: 50 kmol/h -> 25 kmol vapour (500 kg) and 25
    // kmol liquid (2000 kg, 3.0769 m3/h); vapour 66.667 m3/h at 5 bar, 33.333 at 10.
    const double mw3[3] = {50, 20, 80};
    EXPECT_EQ(vt::DensityAtPressure(2500, 0.5, mw3, rho, 5.0, 10.0, out), 1);
    EXPECT_DOUBLE_EQ(out[1], 15.0);
    EXPECT_NEAR(out[0], 2500.0 / (500.0 / 15.0 + 2000.0 / 650.0), 1e-9);
}

TEST(Vapour, RescaleFlagOneDoublesUpstreamDensityWithPressure) {
    // vin at the result comes from the upstream state rescaled to p.
    const StreamState up = Gas(4.0), down = Gas(2.0);
    FlowResult r{};
    EXPECT_EQ(IsoVapDp(1, 2.0, 30000, &up, &down, Ptr(Pipe(300)), &r, 1, kMissing, 1e-9), -1);
    const double rhoAtP = up.mixden * r.p / 4.0;
    EXPECT_NEAR(r.vin, Velocity(30000, rhoAtP, 7.981), 1e-12 * r.vin);
    EXPECT_NEAR(vt::StateDensityAt(up, 30000, 8.0), 2 * up.mixden, 1e-12);
}

TEST(Vapour, ZeroPipeExit) {
    const StreamState up = Gas(3.0), down = Gas(2.0);
    for (auto routine : {IsoVapDp, AdiaVapDp}) {
        FlowResult r{};
        r.vin = 123.0;
        EXPECT_EQ(routine(1, 2.0, 5000, &up, &down, Ptr(Pipe(0.0)), &r, 1, kMissing, 1e-6), -1);
        EXPECT_EQ(r.p, 2.0);
        EXPECT_EQ(r.regime, -32767);
        EXPECT_EQ(r.re, kMissing);
        EXPECT_EQ(r.fric, kMissing);
        EXPECT_EQ(r.dpacc, 0.0);
        EXPECT_EQ(r.leq, 0.0);
        EXPECT_EQ(r.vin, 123.0);  // not written
        EXPECT_NEAR(r.vout, Velocity(5000, down.mixden, 7.981), 1e-12);
    }
    // A pipe with fittings only is not a zero pipe.
    FlowResult r{};
    EXPECT_EQ(IsoVapDp(1, 2.0, 5000, &up, &down, Ptr(Pipe(0.0, 7.981, 1.0)), &r, 1, kMissing, 1e-6),
              -1);
    EXPECT_EQ(r.regime, 0);
    EXPECT_GT(r.p, 2.0);
}

TEST(Vapour, AtOrAbove1000BarNothingIsComputed) {
    const StreamState up = Gas(1000.0), down = Gas(1000.0);
    FlowResult r{};
    r.re = r.fric = r.leq = r.vout = 7.0;
    EXPECT_EQ(IsoVapDp(1, 1000.0, 5000, &up, &down, Ptr(Pipe(100)), &r, 1, kMissing, 1e-6), -1);
    EXPECT_EQ(r.p, 1000.0);
    EXPECT_EQ(r.holdup, 0.0);
    EXPECT_EQ(r.regime, 0);
    EXPECT_EQ(r.re, 7.0);
    EXPECT_EQ(r.fric, 7.0);
    EXPECT_EQ(r.leq, 7.0);
    EXPECT_EQ(r.vout, 7.0);
    EXPECT_NEAR(r.vin, Velocity(5000, up.mixden, 7.981), 1e-12);
}

TEST(Vapour, ZeroFlowGivesNoDrop) {
    const StreamState up = Gas(3.0), down = Gas(2.0);
    for (auto routine : {IsoVapDp, AdiaVapDp}) {
        FlowResult r{};
        EXPECT_EQ(routine(1, 2.0, 0.0, &up, &down, Ptr(Pipe(100)), &r, 1, kMissing, 1e-6), -1);
        EXPECT_EQ(r.p, 2.0);
        EXPECT_EQ(r.vin, 0.0);
        EXPECT_EQ(r.regime, 0);
    }
}

TEST(Vapour, MissingEstimateIsOneAndAHalfTimesP2) {
    const StreamState up = Gas(3.0), down = Gas(2.0);
    FlowResult a{}, b{}, c{};
    EXPECT_EQ(IsoVapDp(1, 2.0, 20000, &up, &down, Ptr(Pipe(300)), &a, 1, kMissing, 1e-3), -1);
    EXPECT_EQ(IsoVapDp(1, 2.0, 20000, &up, &down, Ptr(Pipe(300)), &b, 1, 3.0, 1e-3), -1);
    EXPECT_EQ(a.p, b.p);  // same path, bit for bit
    // An unusable estimate is treated as missing.
    EXPECT_EQ(IsoVapDp(1, 2.0, 20000, &up, &down, Ptr(Pipe(300)), &c, 1, -5.0, 1e-3), -1);
    EXPECT_EQ(a.p, c.p);
}

TEST(Vapour, AdiabaticWithoutRootInBracketIsNotAnAnswer) {
    // k close to 1 and far beyond sonic at the outlet: the adiabatic equation
    // has no root in the isothermal bracket. P2 is written, status 0.
    const StreamState up = Gas(5.0, 20, 320, 9.0), down = Gas(1.01325, 20, 320, 9.0);
    FlowResult iso{}, r{};
    EXPECT_EQ(IsoVapDp(1, 1.01325, 50000, &up, &down, Ptr(Pipe(1.0)), &iso, 1, kMissing, 1e-6), -1);
    EXPECT_GT(iso.p, 2.0);
    EXPECT_EQ(AdiaVapDp(1, 1.01325, 50000, &up, &down, Ptr(Pipe(1.0)), &r, 1, kMissing, 1e-6), 0);
    EXPECT_EQ(r.p, 1.01325);
    EXPECT_EQ(r.regime, 0);
}

TEST(Vapour, AnswerBeyond1000BarIsCutAndReported) {
    const StreamState up = Gas(5.0), down = Gas(1.01325);
    FlowResult r{};
    EXPECT_EQ(IsoVapDp(1, 1.01325, 1e6, &up, &down, Ptr(Pipe(10000)), &r, 1, kMissing, 1e-6), 0);
    EXPECT_EQ(r.p, 1000.0);
}

TEST(Vapour, BadInputIsRefusedWithoutCrash) {
    const StreamState up = Gas(3.0), down = Gas(2.0);
    const PipeSegment pipe = Pipe(100);
    auto refused = [](const FlowResult& r) {
        return r.p == kMissing && r.regime == -32767 && r.re == kMissing && r.vin == kMissing;
    };
    for (auto routine : {IsoVapDp, AdiaVapDp}) {
        FlowResult r{};
        EXPECT_EQ(routine(1, 2.0, 5000, nullptr, &down, &pipe, &r, 1, kMissing, 1e-6), 0);
        EXPECT_TRUE(refused(r));
        EXPECT_EQ(routine(1, 2.0, 5000, &up, nullptr, &pipe, &r, 1, kMissing, 1e-6), 0);
        EXPECT_EQ(routine(1, 2.0, 5000, &up, &down, nullptr, &r, 1, kMissing, 1e-6), 0);
        EXPECT_EQ(routine(1, 2.0, 5000, &up, &down, &pipe, nullptr, 1, kMissing, 1e-6), 0);

        struct Bad {
            const char* what;
            int method;
            double p2, w, tol;
            PipeSegment pipe;
        } bad[] = {
            {"method", 2, 2.0, 5000, 1e-6, pipe},
            {"p2 zero", 1, 0.0, 5000, 1e-6, pipe},
            {"p2 nan", 1, kNan, 5000, 1e-6, pipe},
            {"flow negative", 1, 2.0, -5000, 1e-6, pipe},
            {"flow inf", 1, 2.0, INFINITY, 1e-6, pipe},
            {"tolerance zero", 1, 2.0, 5000, 0.0, pipe},
            {"tolerance nan", 1, 2.0, 5000, kNan, pipe},
            {"length negative", 1, 2.0, 5000, 1e-6, Pipe(-1)},
            {"diameter zero", 1, 2.0, 5000, 1e-6, Pipe(100, 0.0)},
            {"diameter nan", 1, 2.0, 5000, 1e-6, Pipe(100, kNan)},
            {"L/D negative", 1, 2.0, 5000, 1e-6, Pipe(100, 8, 0, -5)},
            {"K nan", 1, 2.0, 5000, 1e-6, Pipe(100, 8, kNan)},
        };
        for (const auto& b : bad) {
            r = FlowResult{};
            EXPECT_EQ(routine(b.method, b.p2, b.w, &up, &down, &b.pipe, &r, 1, kMissing, b.tol), 0)
                << b.what;
            EXPECT_TRUE(refused(r)) << b.what;
        }
        // Unusable stream states.
        StreamState s = down;
        s.mixvisc = 0.0;
        EXPECT_EQ(routine(1, 2.0, 5000, &up, &s, &pipe, &r, 1, kMissing, 1e-6), 0);
        s = down;
        s.mixden = -1.0;
        EXPECT_EQ(routine(1, 2.0, 5000, &up, &s, &pipe, &r, 0, kMissing, 1e-6), 0);
        s = up;
        s.vapden = 0.0;  // rescaled density becomes infinite
        EXPECT_EQ(routine(1, 2.0, 5000, &s, &down, &pipe, &r, 1, kMissing, 1e-6), 0);
        EXPECT_TRUE(refused(r));
    }
    // The adiabatic routine needs gas heat capacities above R.
    StreamState s = down;
    s.mixcp = 8.3142;
    FlowResult r{};
    EXPECT_EQ(AdiaVapDp(1, 2.0, 5000, &up, &s, &pipe, &r, 1, kMissing, 1e-6), 0);
    EXPECT_TRUE(refused(r));
}

TEST(Vapour, FloatingPointFlagsClearedExceptOnZeroPipe) {
    const StreamState up = Gas(3.0), down = Gas(2.0);
    FlowResult r{};
    std::feraiseexcept(FE_INEXACT | FE_DIVBYZERO);
    EXPECT_EQ(IsoVapDp(1, 2.0, 5000, &up, &down, Ptr(Pipe(100)), &r, 1, kMissing, 1e-6), -1);
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
    std::feraiseexcept(FE_DIVBYZERO);
    EXPECT_EQ(AdiaVapDp(1, 2.0, 5000, &up, &down, Ptr(Pipe(100)), &r, 1, kMissing, 1e-6), -1);
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
    std::feraiseexcept(FE_DIVBYZERO);
    EXPECT_EQ(IsoVapDp(1, 2.0, 5000, &up, &down, Ptr(Pipe(0)), &r, 1, kMissing, 1e-6), -1);
    EXPECT_NE(std::fetestexcept(FE_DIVBYZERO), 0);
    std::feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace
