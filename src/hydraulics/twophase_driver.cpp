#include "hydraulics/twophase_driver.h"

#include <algorithm>
#include <cmath>

#include "hydraulics/friction.h"
#include "hydraulics/twophase_detail.h"
#include "hydraulics/vapour.h"
#include "platform/constants.h"
#include "props/prop3.h"
#include "transport/transport.h"
#include "workspace/workspace.h"

namespace vt {

using namespace twophase;

namespace {

bool Finite(double x) { return std::isfinite(x); }
bool Positive(double x) { return std::isfinite(x) && x > 0.0; }
bool NonNegative(double x) { return std::isfinite(x) && x >= 0.0; }

// The state of the stream at one node, as the segment methods need it.
struct Node {
    double t;  // K
    double rho[5], mu[5], sigma[5];
    double qv, ql;     // m3/s
    double velocity;   // m/s
};

// Density of a phase slot from the flash: MISSING when the phase has no
// molar volume.
double SlotDensity(const double* mw, const double* v, int k) {
    if (v[k] == MISSING || !(v[k] > 0.0) || !(mw[k] > 0.0)) return MISSING;
    return mw[k] / v[k];
}

// Viscosity of a hydrocarbon or aqueous liquid blend (Woelflin's emulsion
// rule): the continuous liquid's own viscosity outside the inversion band,
// the hydrocarbon liquid's thickened by exp(3.6 (1 - phi)) within it
// (phi: hydrocarbon share of the liquid volume).
double LiquidBlendViscosity(double v1, double v2, double mu1, double mu2) {
    const double vl = v1 + v2;
    if (!(vl > 0.0)) return MISSING;
    const double phi = v1 / vl;
    if (phi == 1.0 || phi > 0.65) return mu1;
    if (phi == 0.0 || phi < 0.35) return mu2;
    return mu1 * ClippedExp(3.6 * (1.0 - phi));
}

// Flashes the stream at pressure pbar (bar) and molar enthalpy h and
// evaluates the node's property set. False when the flash gives no usable
// state (no positive mixture density, or a present phase without a
// viscosity).
bool EvaluateNode(const Workspace& ws, const TwoPhaseCase& c, double pbar, double h, double tguess,
                  double area, Node& node) {
    int32_t phases[3] = {0, 0, 0};
    double frac[5], hh[5], s[5], cp[5], v[5], mw[5];
    std::fill(frac, frac + 5, MISSING);
    std::fill(hh, hh + 5, MISSING);
    std::fill(s, s + 5, MISSING);
    std::fill(cp, cp + 5, MISSING);
    std::fill(v, v + 5, MISSING);
    std::fill(mw, mw + 5, MISSING);
    hh[3] = h;
    double t = MISSING, pkpa = 100.0 * pbar;
    // The flash's status is not needed: every status but "invalid" leaves a
    // state consistent with the (T, P) it ends at, and that state is used.
    const int32_t st = Prop3(ws, c.thermo, c.hmethod, &t, &pkpa, c.z, ws.molev, ws.mole1, ws.molew,
                             ws.molem, phases, frac, hh, s, cp, v, mw, tguess, c.tol);
    if (st == kProp3Invalid || !Positive(t)) return false;
    const double rho3 = SlotDensity(mw, v, kOverallSlot);
    if (!Positive(rho3)) return false;

    node.t = t;
    for (int k = 0; k < 5; ++k) {
        node.rho[k] = SlotDensity(mw, v, k);
        node.mu[k] = MISSING;
        node.sigma[k] = MISSING;
    }
    const double* comps[3] = {ws.molev, ws.mole1, ws.molew};
    double vol[3] = {0.0, 0.0, 0.0};  // phase volume per kmol of feed
    for (int k = 0; k < 3; ++k) {
        if (node.rho[k] == MISSING) continue;
        if (k == kVapourSlot) {
            ViscVapour(ws, comps[k], t, &node.mu[k]);
        } else {
            ViscLiquid(ws, comps[k], pkpa, t, node.rho[k], &node.mu[k]);
            SurfTenLiquid(ws, comps[k], t, &node.sigma[k]);
            if (!Finite(node.sigma[k])) node.sigma[k] = MISSING;
        }
        if (frac[k] > 0.0) {
            vol[k] = frac[k] * v[k];
            if (!Positive(node.mu[k])) return false;
        }
    }
    const double vl = vol[1] + vol[2], vtot = vol[0] + vl;
    node.mu[4] = LiquidBlendViscosity(vol[1], vol[2], node.mu[1], node.mu[2]);
    node.mu[3] = vtot > 0.0 ? ((vl > 0.0 ? node.mu[4] * vl : 0.0) +
                               (vol[0] > 0.0 ? node.mu[0] * vol[0] : 0.0)) /
                                  vtot
                            : MISSING;
    // A liquid without a surface tension (every component above its
    // critical temperature) leaves the blend without one.
    const bool sigma1 = !(vol[1] > 0.0) || node.sigma[1] != MISSING;
    const bool sigma2 = !(vol[2] > 0.0) || node.sigma[2] != MISSING;
    node.sigma[4] = vl > 0.0 && sigma1 && sigma2
                        ? ((vol[1] > 0.0 ? vol[1] * node.sigma[1] : 0.0) +
                           (vol[2] > 0.0 ? vol[2] * node.sigma[2] : 0.0)) /
                              vl
                        : MISSING;

    const double kmolPerS = c.w / (3600.0 * mw[kOverallSlot]);
    node.qv = frac[0] > 0.0 && node.rho[0] != MISSING ? frac[0] * kmolPerS * v[0] : 0.0;
    node.ql = frac[4] > 0.0 && node.rho[4] != MISSING ? frac[4] * kmolPerS * v[4] : 0.0;
    node.velocity = c.w / 3600.0 / (rho3 * area);
    return Positive(node.mu[3]);
}

SegmentNodes Pair(const Node& down, const Node& up) {
    SegmentNodes s;
    s.qv[0] = down.qv;
    s.qv[1] = up.qv;
    s.ql[0] = down.ql;
    s.ql[1] = up.ql;
    for (int k = 0; k < 5; ++k) {
        s.rho[k] = down.rho[k];
        s.rho[5 + k] = up.rho[k];
        s.mu[k] = down.mu[k];
        s.mu[5 + k] = up.mu[k];
        s.sigma[k] = down.sigma[k];
        s.sigma[5 + k] = up.sigma[k];
    }
    return s;
}

// Runs the chosen method on one segment; false when the code names none.
bool RunMethod(const TwoPhaseCase& c, double pest, const SegmentCall& call,
               const SegmentNodes& nodes, SegmentResult& out, int32_t* regime, double* pu) {
    switch (c.method) {
        case kTwoPhaseBeggsBrill:
            *pu = BeggsBrillSegment(kBeggsBrillKineticEnergy, pest, call, nodes, out, regime,
                                    c.holdupCorrection);
            return true;
        case kTwoPhaseBeggsBrillNoAcceleration:
            *pu = BeggsBrillSegment(kBeggsBrillNoAcceleration, pest, call, nodes, out, regime,
                                    c.holdupCorrection);
            return true;
        case kTwoPhaseBeggsBrillDensityChange:
            *pu = BeggsBrillSegment(kBeggsBrillDensityChange, pest, call, nodes, out, regime,
                                    c.holdupCorrection);
            return true;
        case kTwoPhaseDukler:
            *pu = DuklerSegment(call, nodes, out, regime, kDuklerFlanigan);
            return true;
        case kTwoPhaseDuklerDensity:
            *pu = DuklerSegment(call, nodes, out, regime, kDuklerTwoPhaseDensity);
            return true;
        case kTwoPhaseOrkiszewski:
            *pu = call.pipe->rise >= 0.0 ? OrkiszewskiSegment(call, nodes, out, regime)
                                         : DuklerSegment(call, nodes, out, regime, kDuklerFlanigan);
            return true;
        case kTwoPhaseLockhartMartinelli:
            *pu = LockhartMartinelliSegment(call, nodes, out);
            return true;
        default:
            return false;
    }
}

bool ValidCase(const TwoPhaseCase& c) {
    if (c.friction != kFrictionRound && c.friction != kFrictionChen) return false;
    if (c.n < 0 || !NonNegative(c.w) || !Positive(c.p[c.n])) return false;
    const PipeSegment& pipe = *c.pipe;
    if (!NonNegative(pipe.len) || !Positive(pipe.dia) || !Finite(pipe.kfit) ||
        !NonNegative(pipe.ldfit) || !NonNegative(pipe.rough) || !NonNegative(pipe.roughft) ||
        !NonNegative(pipe.lenmult) || !Finite(pipe.rise))
        return false;
    // A pipe cannot rise by more than its length.
    return std::fabs(pipe.rise) <= pipe.len * (1.0 + 1e-9);
}

int32_t Refuse(FlowResult& res) {
    MarkFlowResultInvalid(res);
    return kTwoPhaseFailed;
}

// The summary of a march that computed no segment: no drops, nothing to
// average.
int32_t NothingComputed(const TwoPhaseCase& c, FlowResult& res) {
    res.p = c.p[0];
    res.dpacc = res.dpfric = res.dpelev = 0.0;
    res.leq = 0.0;
    res.holdup = 0.0;
    res.re = res.fric = MISSING;
    res.regime = -32767;
    return kTwoPhaseOk;
}

}  // namespace

int32_t TwoPhaseMarch(const Workspace& ws, const TwoPhaseCase& c, FlowResult& res,
                      bool useTemperatureEstimate) {
    if (!ValidCase(c)) return Refuse(res);
    const int32_t n = c.n;
    const double area = Area(*c.pipe);

    Node down{}, up{};
    if (!EvaluateNode(ws, c, c.p[n], c.h[n], MISSING, area, down)) return Refuse(res);
    c.t[n] = down.t - 273.15;
    c.v[n] = down.velocity;
    if (n == 0) return NothingComputed(c, res);

    // Without flow there is no pressure change along the pipe; the nodes
    // are still flashed for their temperatures.
    if (c.w == 0.0) {
        for (int32_t i = n; i >= 1; --i) {
            c.p[i - 1] = c.p[i];
            if (!EvaluateNode(ws, c, c.p[i - 1], c.h[i - 1],
                              useTemperatureEstimate ? down.t : MISSING, area, up))
                return Refuse(res);
            c.t[i - 1] = up.t - 273.15;
            c.v[i - 1] = 0.0;
            down = up;
        }
        return NothingComputed(c, res);
    }

    const int32_t passes = std::clamp(c.extraPasses, 0, kMaxExtraPasses) + 1;
    double sumAcc = 0.0, sumFric = 0.0, sumElev = 0.0, sumLeq = 0.0;
    double sumHoldup = 0.0, sumRe = 0.0, sumF = 0.0;
    bool holdupMissing = false;
    for (int32_t i = n; i >= 1; --i) {
        // An estimate that is no pressure starts from the downstream node.
        double& pu = c.p[i - 1];
        if (!Positive(pu)) pu = c.p[i];
        pu = std::min(pu, 1000.0);
        double g = pu;
        SegmentResult seg{};
        bool segmentComputed = false;
        for (int32_t pass = 0; pass < passes; ++pass) {
            g = 0.5 * (g + pu);  // a half step towards the method's last answer
            pu = g;
            const double tguess = useTemperatureEstimate ? (pass == 0 ? down.t : up.t) : MISSING;
            if (!EvaluateNode(ws, c, g, c.h[i - 1], tguess, area, up)) return Refuse(res);
            c.t[i - 1] = up.t - 273.15;
            c.v[i - 1] = up.velocity;
            const SegmentNodes nodes = Pair(down, up);
            const SegmentCall call{c.friction, c.p[i], n, c.pipe, c.elevation};
            double answer = 0.0;
            if (!RunMethod(c, g, call, nodes, seg, &res.regime, &answer)) continue;
            if (!std::isfinite(answer)) return Refuse(res);
            pu = answer;
            segmentComputed = true;
        }
        if (segmentComputed) {
            sumAcc += seg.dpacc;
            sumFric += seg.dpfric;
            sumElev += seg.dpelev;
            sumLeq += seg.leq;
            if (seg.holdup == MISSING) holdupMissing = true;
            sumHoldup += seg.holdup;
            sumRe += seg.re;
            sumF += seg.fric;
        }
        down = up;
    }

    res.p = c.p[0];
    res.dpacc = sumAcc;
    res.dpfric = sumFric;
    res.dpelev = sumElev;
    res.leq = sumLeq;
    res.holdup = holdupMissing ? MISSING : sumHoldup / n;
    res.re = sumRe / n;
    res.fric = sumF / n;
    return kTwoPhaseOk;
}

int32_t NewTwoPhaseDp(const Workspace& ws, const TwoPhaseCase& c, FlowResult& res) {
    return TwoPhaseMarch(ws, c, res, false);
}

}  // namespace vt
