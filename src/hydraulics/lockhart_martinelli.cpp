// Lockhart-Martinelli two-phase segment: R. W. Lockhart and R. C.
// Martinelli, "Proposed Correlation of Data for Isothermal Two-Phase,
// Two-Component Flow in Pipes", Chem. Eng. Prog. 45 (1949) 39-48. The
// multipliers phi_G and phi_L of the four flow mechanisms are quartic fits
// of ln(phi) in ln(X) to the published curves. Friction only: the method
// has no static head and no acceleration term.
#include <cmath>

#include "heat/groups.h"
#include "hydraulics/friction.h"
#include "hydraulics/twophase_detail.h"

namespace vt {

using namespace twophase;

namespace {

// ln(phi_G) = a + bG t + cG t^2 - dG t^3 - eG t^4 and
// ln(phi_L) = a - bL t + cL t^2 - dL t^3 - eL t^4, t = ln X.
struct MultiplierFit {
    double a, bG, cG, dG, eG, bL, cL, dL, eL;
};
constexpr MultiplierFit kBothTurbulent{1.44, 0.492, 0.0577, 0.000352, 0.000432,
                                       0.508, 0.0579, 0.000376, 0.000444};
constexpr MultiplierFit kGasLaminar{1.25, 0.542, 0.067, 0.00212, 0.000583,
                                    0.458, 0.067, 0.00213, 0.000585};
constexpr MultiplierFit kLiquidLaminar{1.24, 0.516, 0.072, 0.00126, 0.000706,
                                       0.484, 0.072, 0.00127, 0.00071};
constexpr MultiplierFit kBothLaminar{0.979, 0.555, 0.096, 0.00244, 0.00144,
                                     0.444, 0.096, 0.00245, 0.00144};

constexpr double kLaminarRe = 2100.0;  // a phase flowing alone is laminar up to here

const MultiplierFit& Mechanism(double reG, double reL) {
    const bool gasTurbulent = reG > kLaminarRe, liquidTurbulent = reL > kLaminarRe;
    if (gasTurbulent && liquidTurbulent) return kBothTurbulent;
    if (liquidTurbulent) return kGasLaminar;
    if (gasTurbulent) return kLiquidLaminar;
    return kBothLaminar;
}

// Friction drop (bar) of one phase flowing alone at superficial velocity v;
// writes the phase's effective length (pipe plus fittings), m.
double PhaseAlone(const SegmentCall& call, double v, double rho, double mu, double* length) {
    const PipeSegment& pipe = *call.pipe;
    const double d = Diameter(pipe);
    double re = 0.0, f = 0.0, leq = 0.0;
    Reynolds(v, d, rho, mu, &re);
    FrictionFactor(call.friction, re, pipe.dia, pipe.rough, &f);
    FittingEquivalentLength(call.friction, SegmentK(call), SegmentLD(call), pipe.dia, pipe.roughft,
                            f, &leq);
    *length = SegmentLength(call) * pipe.lenmult + leq;
    return f * 0.5 * rho * v * v * *length / d * 1e-5;
}

}  // namespace

double LockhartMartinelliSegment(const SegmentCall& call, const SegmentNodes& nd,
                                 SegmentResult& out) {
    const PipeSegment& pipe = *call.pipe;
    const double d = Diameter(pipe), area = Area(pipe);
    const double qv = 0.5 * (nd.qv[0] + nd.qv[1]);
    const double ql = 0.5 * (nd.ql[0] + nd.ql[1]);
    if (!(qv + ql > 0.0)) return NoFlow(call, out);
    const double vm = (qv + ql) / area;
    out.holdup = ql / (qv + ql);

    const double rhoL = PhaseMean(nd.rho[4], nd.rho[9], nd.ql[0], nd.ql[1]);
    const double muL = PhaseMean(nd.mu[4], nd.mu[9], nd.ql[0], nd.ql[1]);
    const double rhoG = PhaseMean(nd.rho[0], nd.rho[5], nd.qv[0], nd.qv[1]);
    const double muG = PhaseMean(nd.mu[0], nd.mu[5], nd.qv[0], nd.qv[1]);
    const double rhoM = 0.5 * (nd.rho[3] + nd.rho[8]);
    const double muM = 0.5 * (nd.mu[3] + nd.mu[8]);

    const double vsg = qv > 0.0 ? qv / area : 0.0;
    const double vsl = ql > 0.0 ? ql / area : 0.0;
    double dpTwoPhase;
    if (!(qv > 0.0)) {
        double lengthL = 0.0;
        dpTwoPhase = PhaseAlone(call, vsl, rhoL, muL, &lengthL);
    } else if (!(ql > 0.0)) {
        double lengthG = 0.0;
        dpTwoPhase = PhaseAlone(call, vsg, rhoG, muG, &lengthG);
    } else {
        double lengthG = 0.0, lengthL = 0.0, reG = 0.0, reL = 0.0;
        const double dpG = PhaseAlone(call, vsg, rhoG, muG, &lengthG);
        const double dpL = PhaseAlone(call, vsl, rhoL, muL, &lengthL);
        Reynolds(vsg, d, rhoG, muG, &reG);
        Reynolds(vsl, d, rhoL, muL, &reL);
        // Martinelli parameter X^2: the ratio of the two phases' friction
        // gradients when each flows alone.
        const double x = std::sqrt(std::fabs((dpL / lengthL) / (dpG / lengthG)));
        const double t = GuardedLn(x), t2 = t * t, t3 = t2 * t, t4 = t2 * t2;
        const MultiplierFit& m = Mechanism(reG, reL);
        const double phiG = ClippedExp(m.a + m.bG * t + m.cG * t2 - m.dG * t3 - m.eG * t4);
        const double phiL = ClippedExp(m.a - m.bL * t + m.cL * t2 - m.dL * t3 - m.eL * t4);
        dpTwoPhase = std::max(phiG * phiG * dpG, phiL * phiL * dpL);
    }

    // Reported for the summary only: the mixture's own Reynolds number,
    // friction factor and fittings length.
    Reynolds(vm, d, rhoM, muM, &out.re);
    FrictionFactor(call.friction, out.re, pipe.dia, pipe.rough, &out.fric);
    FittingEquivalentLength(call.friction, SegmentK(call), SegmentLD(call), pipe.dia, pipe.roughft,
                            out.fric, &out.leq);

    out.dpfric = dpTwoPhase;
    out.dpelev = 0.0;
    out.dpacc = 0.0;
    return Clip(call.pd + dpTwoPhase, 0.01, 1000.0);
}

}  // namespace vt
