// Dukler constant-slip two-phase segment: A. E. Dukler, M. Wicks and
// R. G. Cleveland, "Frictional Pressure Drop in Two-Phase Flow: B. An
// Approach through Similarity Analysis", AIChE J. 10 (1964) 44-51 (holdup
// chart, two-phase Reynolds number and friction multiplier), with the static
// head of O. Flanigan, "Effect of Uphill Flow on Pressure Drop in Design of
// Two-Phase Gathering Systems", Oil Gas J. 56 (10 March 1958) 132-141.
#include <algorithm>
#include <cmath>

#include "hydraulics/friction.h"
#include "hydraulics/twophase_detail.h"

namespace vt {

using namespace twophase;

namespace {

// The holdup chart: rows of no-slip liquid fraction, columns of two-phase
// Reynolds number.
constexpr int kRows = 9, kCols = 11;
constexpr double kLambda[kRows] = {1e-30, 0.0005, 0.001, 0.005, 0.01, 0.05, 0.1, 0.5, 1.0};
constexpr double kRe[kCols] = {100, 500, 1000, 2500, 5000, 10000, 25000, 50000, 100000, 200000, 1e6};
// The chart gives no value at lambda = 0.005, Re = 200000. It is filled by
// log-log interpolation between its neighbours in the same column,
// 0.0015 (lambda = 0.001) and 0.017 (lambda = 0.01): that column is smooth
// (H/lambda between 1.3 and 1.7), whereas along the row the chart bends
// sharply between 1e5 and 1e6 (every neighbouring row halves its holdup from
// 1e5 to 2e5), so interpolating along the row would overstate it.
constexpr double kMissingEntry = 0.00818570;  // exp(ln 0.0015 + 0.69897 ln(0.017/0.0015))
constexpr double kHoldup[kRows][kCols] = {
    {1e-30, 1e-30, 1e-30, 1e-30, 1e-30, 1e-30, 1e-30, 1e-30, 1e-30, 1e-30, 1e-30},
    {0.15, 0.05, 0.02, 0.01, 0.006, 0.004, 0.003, 0.002, 0.0012, 0.0007, 0.0005},
    {0.34, 0.14, 0.074, 0.04, 0.024, 0.017, 0.01, 0.006, 0.003, 0.0015, 0.001},
    {0.52, 0.3, 0.2, 0.14, 0.11, 0.082, 0.05, 0.031, 0.017, kMissingEntry, 0.005},
    {0.57, 0.35, 0.27, 0.2, 0.15, 0.12, 0.09, 0.06, 0.034, 0.017, 0.01},
    {0.62, 0.48, 0.4, 0.32, 0.3, 0.25, 0.2, 0.15, 0.11, 0.064, 0.05},
    {0.69, 0.52, 0.46, 0.39, 0.38, 0.33, 0.27, 0.21, 0.17, 0.11, 0.1},
    {0.9, 0.8, 0.79, 0.78, 0.74, 0.72, 0.68, 0.65, 0.6, 0.55, 0.5},
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
};

// Index i of the interval [x[i], x[i+1]] holding v (v within the table).
int Interval(const double* x, int count, double v) {
    for (int i = 0; i < count - 2; ++i)
        if (v <= x[i + 1]) return i;
    return count - 2;
}

// ln-linear interpolation of y between (x0, y0) and (x1, y1) at x.
double LogInterp(double x, double x0, double x1, double y0, double y1) {
    const double t = (GuardedLn(x) - GuardedLn(x0)) / (GuardedLn(x1) - GuardedLn(x0));
    return ClippedExp(GuardedLn(y0) + t * (GuardedLn(y1) - GuardedLn(y0)));
}

// Dukler's two-phase friction multiplier of the no-slip liquid fraction.
double FrictionRatio(double lambda) {
    const double y = -std::log(lambda > 0.0 ? lambda : 1e-30);
    const double y2 = y * y;
    const double fr = 1.0 + y / (1.281 - 0.478 * y + 0.444 * y2 - 0.094 * y2 * y + 0.00843 * y2 * y2);
    return std::max(1.0, fr);
}

// Holdup, Reynolds number and two-phase density of one node or of the
// segment mean: Dukler's Reynolds number depends on the holdup it selects,
// so the two are iterated together.
struct Pass {
    double holdup, re, rhoK;
};
Pass DuklerPass(double lambda, double vm, double d, double rhoG, double rhoL, double muG,
                double muL) {
    lambda = Clip(lambda, 0.0, 1.0);
    if (lambda >= 1.0) return {1.0, d * vm * rhoL / (muL * 0.001), rhoL};
    if (!(lambda > 0.0)) return {0.0, d * vm * rhoG / (muG * 0.001), rhoG};
    const double muN = muL * lambda + muG * (1.0 - lambda);
    double h = lambda, hnew = lambda, re = 0.0, rhoK = 0.0;
    for (int it = 0; it < 50; ++it) {
        rhoK = rhoG * (1.0 - lambda) * (1.0 - lambda) / (1.0 - h) + rhoL * lambda * lambda / h;
        re = d * vm * rhoK / (muN * 0.001);
        hnew = DuklerHoldup(lambda, re);
        if (std::fabs(hnew - h) < 1e-8) break;
        h = hnew <= 0.0 ? 0.5 * h : hnew > 1.0 ? 0.5 * (1.0 + h) : hnew;
    }
    return {Clip(hnew, 0.0, 1.0), re, rhoK};
}

// No-slip liquid fraction of a pair of flows (0 without any flow).
double NoSlipLiquid(double qv, double ql) { return qv + ql > 0.0 ? ql / (qv + ql) : 0.0; }

}  // namespace

double DuklerHoldup(double lambda, double re) {
    lambda = Clip(lambda, 1e-30, 1.0);
    re = Clip(re, 100.0, 1e6);
    const int i = Interval(kLambda, kRows, lambda);
    const int j = Interval(kRe, kCols, re);
    const double lo = LogInterp(re, kRe[j], kRe[j + 1], kHoldup[i][j], kHoldup[i][j + 1]);
    const double hi = LogInterp(re, kRe[j], kRe[j + 1], kHoldup[i + 1][j], kHoldup[i + 1][j + 1]);
    return LogInterp(lambda, kLambda[i], kLambda[i + 1], lo, hi);
}

int32_t MomentumFluxDrop(const double rho[10], const double holdup[2], const double vsg[2],
                         const double vsl[2], double* out) {
    double m[2];
    for (int k = 0; k < 2; ++k) {
        const double h = holdup[k], rv = rho[5 * k], rl = rho[5 * k + 4];
        if (h <= 1e-10)
            m[k] = vsg[k] * vsg[k] * rv;
        else if (1.0 - h <= 1e-10)
            m[k] = vsl[k] * vsl[k] * rl;
        else
            m[k] = vsg[k] * vsg[k] * rv / (1.0 - h) + vsl[k] * vsl[k] * rl / h;
    }
    *out = m[0] > m[1] ? (m[0] - m[1]) * 1e-5 : 0.0;
    return 1;
}

double DuklerSegment(const SegmentCall& call, const SegmentNodes& nd, SegmentResult& out,
                     int32_t* regime, int32_t mode) {
    const PipeSegment& pipe = *call.pipe;
    const double d = Diameter(pipe), area = Area(pipe);
    const double qv = 0.5 * (nd.qv[0] + nd.qv[1]);
    const double ql = 0.5 * (nd.ql[0] + nd.ql[1]);
    if (!(qv + ql > 0.0)) return NoFlow(call, out);
    const double vm = (qv + ql) / area;

    double lambdaMap = 0.0, fr = 0.0;
    int32_t code = kRegimeUndetermined;
    BeggsBrillRegime(qv, ql, vm, pipe.dia, &lambdaMap, &fr, &code);
    *regime = code;

    // Holdup at the downstream node, the upstream node and the segment mean.
    Pass pass[3];
    for (int k = 0; k < 2; ++k)
        pass[k] = DuklerPass(NoSlipLiquid(nd.qv[k], nd.ql[k]), vm, d, nd.rho[5 * k],
                             nd.rho[5 * k + 4], nd.mu[5 * k], nd.mu[5 * k + 4]);
    const double rhoL = PhaseMean(nd.rho[4], nd.rho[9], nd.ql[0], nd.ql[1]);
    const double muL = PhaseMean(nd.mu[4], nd.mu[9], nd.ql[0], nd.ql[1]);
    const double rhoG = PhaseMean(nd.rho[0], nd.rho[5], nd.qv[0], nd.qv[1]);
    const double muG = PhaseMean(nd.mu[0], nd.mu[5], nd.qv[0], nd.qv[1]);
    const double lambda = Clip(NoSlipLiquid(qv, ql), 0.0, 1.0);
    pass[2] = DuklerPass(lambda, vm, d, rhoG, rhoL, muG, muL);
    const double rhoK = pass[2].rhoK;
    out.re = pass[2].re;

    double fn = 0.0;
    FrictionFactor(call.friction, out.re, pipe.dia, pipe.rough, &fn);
    out.fric = FrictionRatio(lambda) * fn;
    FittingEquivalentLength(call.friction, SegmentK(call), SegmentLD(call), pipe.dia, pipe.roughft,
                            out.fric, &out.leq);
    const double ls = SegmentLength(call);
    out.dpfric = 0.5 * out.fric * (ls * pipe.lenmult + out.leq) * vm * vm * rhoK / d * 1e-5;

    const double theta = Inclination(pipe);
    if (mode == kDuklerTwoPhaseDensity) {
        out.dpelev = StaticHead(rhoK, theta, ls, call.elevation);
        out.holdup = lambda;
    } else if (Missing(rhoL)) {
        out.dpelev = StaticHead(rhoG, theta, ls, call.elevation);
        out.holdup = 0.0;
    } else {
        // Flanigan: the liquid head times a factor that falls with the
        // superficial gas velocity (here in m/s).
        const double flanigan = 1.0 / (1.0 + std::pow(qv / area, 1.006));
        out.dpelev = StaticHead(flanigan * rhoL, theta, ls, call.elevation);
        out.holdup = pass[2].holdup;
    }

    out.dpacc = 0.0;
    if (out.dpfric + out.dpelev != 0.0) {
        const double holdups[2] = {pass[0].holdup, pass[1].holdup};
        const double vsg[2] = {nd.qv[0] / area, std::max(0.0, nd.qv[1] / area)};
        const double vsl[2] = {nd.ql[0] / area, nd.ql[1] > 0.0 ? nd.ql[1] / area : 0.0};
        MomentumFluxDrop(nd.rho, holdups, vsg, vsl, &out.dpacc);
    }
    return Clip(call.pd + out.dpfric + out.dpelev + out.dpacc, 0.01, 1000.0);
}

}  // namespace vt
