// Beggs-Brill two-phase segment: H. D. Beggs and J. P. Brill, "A Study of
// Two-Phase Flow in Inclined Pipes", J. Pet. Tech. 25 (May 1973) 607-617,
// with the holdup correction factors of G. A. Payne et al., "Evaluation of
// Inclined-Pipe Two-Phase Liquid Holdup and Pressure-Loss Correlations Using
// Experimental Data", J. Pet. Tech. 31 (Sept. 1979) 1198-1208.
#include <algorithm>
#include <cmath>

#include "heat/groups.h"
#include "hydraulics/friction.h"
#include "hydraulics/twophase_detail.h"

namespace vt {

using namespace twophase;

namespace {

// Map boundaries L1 (segregated/intermittent) and L2 (intermittent/
// distributed) of the 1973 map, in terms of x = ln(lambda).
double BoundarySegregated(double x) {
    return ClippedExp(-4.62 - 3.757 * x - 0.481 * x * x - 0.0207 * x * x * x);
}
double BoundaryDistributed(double x) {
    const double x2 = x * x;
    return ClippedExp(1.061 - 4.602 * x - 1.609 * x2 - 0.179 * x2 * x + 0.000635 * x2 * x2 * x);
}

// Horizontal holdup HL(0) = a lambda^b / Fr^c of each regime.
double HorizontalHoldup(int32_t code, double lambda, double fr, double ql) {
    switch (code) {
        case kRegimeSinglePhase:
            return ql != 0.0 ? 1.0 : 0.0;
        case kRegimeSegregated:
            return 0.98 * std::pow(lambda, 0.4846) / std::pow(fr, 0.0868);
        case kRegimeIntermittent:
            return 0.845 * std::pow(lambda, 0.5351) / std::pow(fr, 0.0173);
        case kRegimeDistributed:
            return 1.065 * std::pow(lambda, 0.5824) / std::pow(fr, 0.0609);
        default:
            return 0.0;
    }
}

// Inclination coefficient C = (1 - lambda) ln(e lambda^f NLv^g Fr^h).
double InclinationCoefficient(int32_t code, bool uphill, double lambda, double nlv, double fr) {
    double z;
    if (uphill && code == kRegimeSegregated)
        z = 0.011 * std::pow(nlv, 3.539) / (std::pow(lambda, 3.768) * std::pow(fr, 1.614));
    else if (uphill && code == kRegimeIntermittent)
        z = 2.96 * std::pow(lambda, 0.305) * std::pow(fr, 0.0978) / std::pow(nlv, 0.4473);
    else if (!uphill && (code == kRegimeSegregated || code == kRegimeDistributed ||
                         code == kRegimeIntermittent))
        z = 4.7 * std::pow(nlv, 0.1244) / (std::pow(lambda, 0.3692) * std::pow(fr, 0.5056));
    else
        return 0.0;
    return (1.0 - lambda) * GuardedLn(z);
}

// Two-phase friction multiplier e^S of y = lambda / HL^2; between y = 1 and
// the point where the two forms meet (ln y = 0.1827524, just above 1.2) the
// linear form replaces the fit, whose denominator vanishes at y = 1.0167.
double FrictionMultiplier(double y) {
    if ((y > 0.0 && std::log(y) > 0.1827524) || y < 1.0) {
        const double l = GuardedLn(y);
        const double l2 = l * l;
        const double s = l / (-0.0523 + 3.182 * l - 0.8725 * l2 + 0.01853 * l2 * l2);
        return ClippedExp(s);
    }
    return 2.2 * y - 1.2;
}

}  // namespace

int32_t FroudeNumber(double vm, double dia, double* fr) {
    *fr = vm * vm / (kInch * dia * kGravity);
    return 1;
}

int32_t BeggsBrillRegime(double qv, double ql, double vm, double dia, double* lambda, double* fr,
                         int32_t* code) {
    FroudeNumber(vm, dia, fr);
    *lambda = ql / (qv + ql);
    if (*lambda == 0.0 || *lambda == 1.0) {
        *code = kRegimeSinglePhase;
        return 1;
    }
    const double x = GuardedLn(*lambda);
    const double b1 = BoundarySegregated(*lambda < 0.0001 ? std::log(0.0001) : x);
    const double b2 = *lambda < 0.012296 ? b1 : BoundaryDistributed(x);
    if (*fr < b1)
        *code = kRegimeSegregated;
    else if (*fr > b1 && *fr > b2)
        *code = kRegimeDistributed;
    else if (*fr > b1 && *fr <= b2)
        *code = kRegimeIntermittent;
    else
        *code = kRegimeUndetermined;  // on the segregated boundary, or not comparable
    return 1;
}

double BeggsBrillSegment(int32_t variant, double pest, const SegmentCall& call,
                         const SegmentNodes& nd, SegmentResult& out, int32_t* regime,
                         int32_t holdupCorrection) {
    const PipeSegment& pipe = *call.pipe;
    const double d = Diameter(pipe), area = Area(pipe);
    const double qv = 0.5 * (nd.qv[0] + nd.qv[1]);
    const double ql = 0.5 * (nd.ql[0] + nd.ql[1]);
    const double q = qv + ql;
    if (!(q > 0.0)) return NoFlow(call, out);
    const double vm = q / area;

    const double rhoL = PhaseMean(nd.rho[4], nd.rho[9], nd.ql[0], nd.ql[1]);
    const double sigmaL = PhaseMean(nd.sigma[4], nd.sigma[9], nd.ql[0], nd.ql[1]);
    const double rhoG = PhaseMean(nd.rho[0], nd.rho[5], nd.qv[0], nd.qv[1]);
    const double muM = 0.5 * (nd.mu[3] + nd.mu[8]);
    const double theta = Inclination(pipe);
    const bool uphill = pipe.rise >= 0.0;

    double lambda = 0.0, fr = 0.0;
    int32_t code = kRegimeUndetermined;
    BeggsBrillRegime(qv, ql, vm, pipe.dia, &lambda, &fr, &code);
    *regime = code;
    lambda = std::max(lambda, 1e-20);

    const double vsg = qv > 0.0 ? qv / area : 0.0;
    // Liquid velocity number in field units: ft/s, lb/ft3, dyn/cm.
    const double nlv = ql > 0.0 && sigmaL > 0.0
                           ? 1.938 * (ql / area / 0.3048) * std::pow(0.0624 * rhoL / sigmaL, 0.25)
                           : 0.0;

    double h0 = HorizontalHoldup(code, lambda, fr, ql);
    h0 = lambda > h0 ? lambda : std::min(1.0, h0);

    // Inclination correction; a horizontal pipe keeps its horizontal holdup
    // whatever C is (C is infinite when NLv is 0 in intermittent flow).
    const double s18 = std::sin(1.8 * theta);
    const double shape = s18 - 0.333 * s18 * s18 * s18;
    const double c = InclinationCoefficient(code, uphill, lambda, nlv, fr);
    const double psi = shape == 0.0 ? 1.0 : 1.0 + std::max(0.0, c) * shape;
    double h = std::max(0.0, psi) * h0;
    if (qv > 0.0 && ql > 0.0 && holdupCorrection != 0) h *= uphill ? 0.924 : 0.685;
    h = h > 0.0 ? std::min(1.0, h) : lambda;
    out.holdup = h;

    double rhoS, rhoN;
    if (Missing(rhoL))
        rhoS = rhoG;
    else if (Missing(rhoG))
        rhoS = rhoL;
    else
        rhoS = h * rhoL + (1.0 - h) * rhoG;
    if (qv > 0.0 && ql > 0.0)
        rhoN = (qv * rhoG + ql * rhoL) / q;
    else if (qv > 0.0)
        rhoN = rhoG;
    else
        rhoN = rhoL;
    if (!Missing(rhoL)) {
        rhoS = std::min(rhoS, rhoL);
        rhoN = std::min(rhoN, rhoL);
    }

    const double multiplier = FrictionMultiplier(lambda / (h * h));
    Reynolds(vm, d, rhoN, muM, &out.re);
    double fn = 0.0;
    FrictionFactor(call.friction, out.re, pipe.dia, pipe.rough, &fn);
    out.fric = fn * std::max(1.0, multiplier);
    FittingEquivalentLength(call.friction, SegmentK(call), SegmentLD(call), pipe.dia, pipe.roughft,
                            out.fric, &out.leq);

    const double ls = SegmentLength(call);
    out.dpfric = out.fric * 0.5 * rhoN * vm * vm * (ls * pipe.lenmult + out.leq) / d * 1e-5;
    out.dpelev = StaticHead(rhoS, theta, ls, call.elevation);

    const double pd = call.pd;
    double pu;
    if (variant == kBeggsBrillKineticEnergy) {
        const double ek = std::min(0.95, rhoN * vm * vsg * 1e-5 / (0.5 * (pest + pd)));
        pu = pd + (out.dpfric + out.dpelev) / (1.0 - ek);
        out.dpacc = pu - pd - out.dpfric - out.dpelev;
    } else if (variant == kBeggsBrillDensityChange) {
        // Homogeneous momentum change G^2 (1/rho_down - 1/rho_up); the mass
        // flux is the downstream mixture density times the downstream
        // volume flow of both phases.
        const double rhoDown = nd.rho[3], rhoUp = nd.rho[8];
        out.dpacc = 0.0;
        if (!Missing(rhoDown) && !Missing(rhoUp)) {
            const double g = rhoDown * (nd.qv[0] + nd.ql[0]) / area;
            out.dpacc = (1.0 / rhoDown - 1.0 / rhoUp) * g * g * 1e-5;
        }
        pu = pd + out.dpfric + out.dpelev + out.dpacc;
    } else {
        out.dpacc = 0.0;
        pu = pd + out.dpfric + out.dpelev;
    }
    // A downhill recovery larger than the downstream pressure does not make
    // the upstream pressure negative.
    return Clip(pu, 0.01, 1000.0);
}

}  // namespace vt
