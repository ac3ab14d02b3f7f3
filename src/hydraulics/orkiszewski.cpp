// Orkiszewski vertical two-phase segment: J. Orkiszewski, "Predicting
// Two-Phase Pressure Drops in Vertical Pipe", J. Pet. Tech. 19 (June 1967)
// 829-838. Bubble flow after Griffith (slip velocity 0.8 ft/s), slug flow
// after Griffith and Wallis ("Two-Phase Slug Flow", J. Heat Transfer 83
// (1961) 307-320) with Orkiszewski's liquid distribution coefficient, mist
// flow and the slug-mist transition after Duns and Ros ("Vertical Flow of
// Gas and Liquid Mixtures in Wells", 6th World Pet. Congress, 1963).
//
// The method works in field units: ft, s, lb (mass), lbf/ft2, cP; with
// g = 32.17 ft/s2 the pound-force and the pound-mass per ft2 coincide.
#include <algorithm>
#include <cmath>

#include "hydraulics/friction.h"
#include "hydraulics/twophase_detail.h"

namespace vt {

using namespace twophase;

namespace {

constexpr double kG = 32.17;                // ft/s2 (and the conversion constant gc)
constexpr double kLbfPerFt2PerBar = 2088.576;  // 144 x 14.504
constexpr double kFt3PerM3 = 35.3147;
constexpr double kLbPerKg = 2.2046;
constexpr double kLbFt3PerKgM3 = 0.0624;
constexpr double kLbmS2PerDynCm = 0.0022046;  // surface tension, dyn/cm to lbm/s2
constexpr double kFtPerM = 3.2808;
constexpr double kBubbleSlip = 0.8;  // ft/s, Griffith's slip velocity of bubble flow
constexpr double kMaxKineticFactor = 0.95;

// Reynolds number 1488 d v rho / mu in field units (ft, ft/s, lb/ft3, cP).
double FieldReynolds(double d, double v, double rho, double mu) { return 1488.0 * d * v * rho / mu; }

// The segment in field units.
struct Field {
    double d, ap, ls;         // diameter, area, segment length (ft, ft2, ft)
    double ql, qg, qt, vm;    // volume flows (ft3/s) and mixture velocity (ft/s)
    double w;                 // mass flow, lb/s
    double rhoL, rhoG, rhoM;  // lb/ft3
    double sigma;             // liquid surface tension, lbm/s2
    double muL, muG;          // cP
    double lambdaG;           // no-slip gas fraction
};

// Density and friction gradient of a regime: lb/ft3 and lbf/ft2 per ft,
// with the Reynolds number, Darcy factor and roughness (in) of its friction.
struct Gradient {
    double rho, tau, re, f, rough;
};

Gradient Friction(int32_t method, const PipeSegment& pipe, double d, double v, double rho,
                  double mu, double rough) {
    Gradient g{0.0, 0.0, FieldReynolds(d, v, rho, mu), 0.0, rough};
    FrictionFactor(method, g.re, pipe.dia, rough, &g.f);
    return g;
}

Gradient SinglePhase(int32_t method, const PipeSegment& pipe, const Field& s) {
    const bool gas = s.qg != 0.0;
    const double rho = gas ? s.rhoG : s.rhoL;
    Gradient g = Friction(method, pipe, s.d, s.vm, rho, gas ? s.muG : s.muL, pipe.rough);
    g.rho = rho;
    g.tau = g.f * rho * s.vm * s.vm / (2.0 * kG * s.d);
    return g;
}

Gradient Bubble(int32_t method, const PipeSegment& pipe, const Field& s) {
    const double a = s.qt / (kBubbleSlip * s.ap);
    const double hg =
        0.5 * (1.0 + a - std::sqrt(std::fabs((1.0 + a) * (1.0 + a) - 4.0 * s.qg / (kBubbleSlip * s.ap))));
    const double vl = s.ql / ((1.0 - hg) * s.ap);
    Gradient g = Friction(method, pipe, s.d, vl, s.rhoL, s.muL, pipe.rough);
    g.rho = (1.0 - hg) * s.rhoL + hg * s.rhoG;
    g.tau = g.f * s.rhoL * vl * vl / (2.0 * kG * s.d);
    return g;
}

Gradient Slug(int32_t method, const PipeSegment& pipe, const Field& s) {
    const double vb = BubbleRiseVelocity(s.d, s.vm, s.rhoL, s.muL);
    const double bubbleFlow = vb * s.ap;
    const double rho0 = (s.w + s.rhoL * bubbleFlow) / (s.qt + bubbleFlow);
    const double gamma =
        LiquidDistributionCoefficient(s.d, s.vm, s.muL, vb, s.qt, s.ap, s.rhoL, rho0);
    Gradient g = Friction(method, pipe, s.d, s.vm, s.rhoL, s.muL, pipe.rough);
    g.rho = rho0 + gamma * s.rhoL;
    g.tau = g.f * s.rhoL * s.vm * s.vm / (2.0 * kG * s.d) *
            ((s.ql + bubbleFlow) / (s.qt + bubbleFlow) + gamma);
    return g;
}

// Mist flow: the gas core flows over a liquid film whose roughness follows
// the film's Weber number (Duns and Ros), at gas velocity v.
Gradient Mist(int32_t method, const PipeSegment& pipe, const Field& s, double v) {
    double e = 0.001;  // no surface tension: the film roughness vanishes
    if (s.sigma > 0.0) {
        const double weber = s.rhoG * v * v / s.sigma;  // 1/ft
        const double n = 4.52e-7 * std::pow(s.muL * v / s.sigma, 2) * s.rhoG / s.rhoL;
        e = n < 0.005 ? 34.0 / (weber * s.d) : 174.8 * std::pow(n, 0.302) / (weber * s.d);
        e = Clip(e, 0.001, 0.5);
    }
    Gradient g = Friction(method, pipe, s.d, v, s.rhoG, s.muG, e * pipe.dia);
    g.rho = (1.0 - s.lambdaG) * s.rhoL + s.lambdaG * s.rhoG;
    g.tau = g.f * s.rhoM * v * v / (2.0 * kG * s.d);
    return g;
}

// Regime boundaries of the Duns-Ros map in the gas velocity number NGV.
struct Boundaries {
    double ngv, lb, ls, lm;
};

Boundaries MapBoundaries(const Field& s) {
    Boundaries b;
    // Without surface tension the gas velocity number is unbounded (mist).
    b.ngv = s.sigma > 0.0 ? (s.qg / s.ap) * std::pow(s.rhoL / (kG * s.sigma), 0.25)
                          : HUGE_VAL;
    b.lb = std::max(0.13, 1.071 - 0.2218 * s.vm * s.vm / s.d);
    const double x = b.ngv * s.ql / s.qg;
    b.ls = 50.0 + 36.0 * x;
    b.lm = 75.0 + 84.0 * std::pow(x, 0.75);
    return b;
}

int32_t Regime(const Field& s, const Boundaries& b) {
    if (s.lambdaG <= b.lb) return kRegimeBubble;
    if (!(s.sigma > 0.0)) return kRegimeMist;
    if (b.ngv < b.ls) return kRegimeSlug;
    if (b.ngv <= b.lm) return kRegimeTransition;
    return kRegimeMist;
}

}  // namespace

double BubbleRiseVelocity(double d, double vm, double rhoL, double muL) {
    const double sqrtD = std::sqrt(d);
    const double nre = FieldReynolds(d, vm, rhoL, muL);  // liquid at the mixture velocity
    const double term = 4.958e-5 * nre;
    double vb = 2.0;
    for (int it = 0; it < 25; ++it) {
        const double nb = FieldReynolds(d, vb, rhoL, muL);  // bubble Reynolds number
        double next;
        if (nb <= 3000.0) {
            next = (3.097 + term) * sqrtD;
        } else if (nb >= 8000.0) {
            next = (1.985 + term) * sqrtD;
        } else {
            // Between the two, the published form with the half applied to
            // the whole sum; it joins both outer forms.
            const double f = (1.423 + term) * sqrtD;
            next = 0.5 * (f + std::sqrt(f * f + 13.59 * muL / (rhoL * sqrtD)));
        }
        const bool settled = std::fabs(next - vb) < 0.01;
        vb = next;
        if (settled) break;
    }
    return vb;
}

double LiquidDistributionCoefficient(double d, double vm, double muL, double vb, double qt,
                                     double ap, double rhoL, double rhoSlug0) {
    // Orkiszewski's oil-continuous relations (base-10 logarithms), with his
    // lower bounds: -0.065 vm below 10 ft/s; above, the bound that keeps the
    // slug density positive.
    const double lmu = GuardedLog10(muL + 1.0), ld = GuardedLog10(d), lv = GuardedLog10(vm);
    if (vm <= 10.0) {
        const double g = 0.0127 * lmu / std::pow(d, 1.415) - 0.284 + 0.167 * lv + 0.113 * ld;
        return std::max(-0.065 * vm, g);
    }
    const double g = 0.0274 * lmu / std::pow(d, 1.371) + 0.161 + 0.569 * ld -
                     lv * (0.01 * lmu / std::pow(d, 1.571) + 0.397 + 0.63 * ld);
    const double bound = -(vb * ap / (qt + vb * ap)) * (1.0 - rhoSlug0 / rhoL);
    return std::max(bound, g);
}

double OrkiszewskiSegment(const SegmentCall& call, const SegmentNodes& nd, SegmentResult& out,
                          int32_t* regime) {
    const PipeSegment& pipe = *call.pipe;
    const double qlm = 0.5 * (nd.ql[0] + nd.ql[1]);
    const double qvm = 0.5 * (nd.qv[0] + nd.qv[1]);
    if (!(qlm + qvm > 0.0)) return NoFlow(call, out);

    Field s;
    s.d = pipe.dia / 12.0;
    s.ap = std::numbers::pi / 4.0 * s.d * s.d;
    s.ls = SegmentLength(call) / 0.3048;
    s.ql = qlm * kFt3PerM3;
    s.qg = qvm * kFt3PerM3;
    s.qt = s.ql + s.qg;
    s.vm = s.qt / s.ap;
    s.w = (nd.qv[1] + nd.ql[1]) * nd.rho[8] * kLbPerKg;
    const double rhoL = PhaseMean(nd.rho[4], nd.rho[9], nd.ql[0], nd.ql[1]);
    const double rhoG = PhaseMean(nd.rho[0], nd.rho[5], nd.qv[0], nd.qv[1]);
    s.rhoL = (Missing(rhoL) ? 997.01 : rhoL) * kLbFt3PerKgM3;
    s.rhoG = (Missing(rhoG) ? 1.1839 : rhoG) * kLbFt3PerKgM3;
    s.rhoM = 0.5 * (nd.rho[3] + nd.rho[8]) * kLbFt3PerKgM3;
    const double sigma = PhaseMean(nd.sigma[4], nd.sigma[9], nd.ql[0], nd.ql[1]);
    s.sigma = sigma > 0.0 ? sigma * kLbmS2PerDynCm : 0.0;
    s.muL = PhaseMean(nd.mu[4], nd.mu[9], nd.ql[0], nd.ql[1]);
    s.muG = PhaseMean(nd.mu[0], nd.mu[5], nd.qv[0], nd.qv[1]);
    s.lambdaG = s.qg / s.qt;

    const int32_t method = call.friction;
    Gradient g;
    if (!(qlm > 0.0) || !(qvm > 0.0)) {
        *regime = kRegimeSinglePhase;
        g = SinglePhase(method, pipe, s);
    } else {
        const Boundaries b = MapBoundaries(s);
        *regime = Regime(s, b);
        switch (*regime) {
            case kRegimeBubble:
                g = Bubble(method, pipe, s);
                break;
            case kRegimeSlug:
                g = Slug(method, pipe, s);
                break;
            case kRegimeMist:
                g = Mist(method, pipe, s, s.qg / s.ap);
                break;
            default: {
                // Transition: slug and mist weighted by the position between
                // the boundaries; the mist part at the gas velocity qG/lambdaG.
                const double span = b.lm - b.ls;
                const double a = span > 0.0 ? (b.lm - b.ngv) / span : 0.0;
                const double c = span > 0.0 ? (b.ngv - b.ls) / span : 1.0;
                const Gradient slug = Slug(method, pipe, s);
                g = Mist(method, pipe, s, s.qg / (s.lambdaG * s.ap));
                g.rho = a * slug.rho + c * g.rho;
                g.tau = a * slug.tau + c * g.tau;
            }
        }
    }
    out.re = g.re;
    out.fric = g.f;
    FittingEquivalentLength(method, SegmentK(call), SegmentLD(call), pipe.dia, g.rough, g.f,
                            &out.leq);

    // The segment is a vertical column whatever its rise.
    const double dpe = g.rho * s.ls;                                     // lbf/ft2
    const double dpf = g.tau * (s.ls * pipe.lenmult + kFtPerM * out.leq);  // lbf/ft2

    // Acceleration: the kinetic-energy factor of the expanding gas,
    // Ek = w qG / (g Ap^2 P), at the mean pressure of the segment, found by
    // successive substitution on the upstream pressure.
    const double pd = kLbfPerFt2PerBar * call.pd;  // lbf/ft2
    double pu = pd, dp = dpf + dpe;
    for (int it = 0; it < 100; ++it) {
        double ek = 0.0;
        if (it > 0) ek = std::min(kMaxKineticFactor, s.w * s.qg / (kG * s.ap * s.ap * 0.5 * (pu + pd)));
        dp = (dpf + dpe) / (1.0 - ek);
        const double next = pd + dp;
        const bool settled = std::fabs(next - pu) <= 1.0;
        pu = next;
        if (settled) break;
    }
    out.dpfric = dpf / kLbfPerFt2PerBar;
    out.dpelev = dpe / kLbfPerFt2PerBar;
    out.dpacc = dp / kLbfPerFt2PerBar - out.dpfric - out.dpelev;
    out.holdup = MISSING;
    return Clip(call.pd + dp / kLbfPerFt2PerBar, 0.01, 1000.0);
}

}  // namespace vt
