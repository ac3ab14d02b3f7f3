#include "props/prop3.h"

#include <cmath>
#include <initializer_list>

#include "correlations/liquid_density.h"
#include "numerics/guards.h"
#include "platform/constants.h"
#include "platform/fpenv.h"
#include "props/search.h"
#include "thermo/eos.h"
#include "thermo/flash.h"
#include "thermo/lnk_at.h"
#include "thermo/phase_props.h"
#include "workspace/mixture.h"
#include "workspace/workspace.h"

namespace vt {

namespace {

constexpr int kMaxSteps = 100000;

// Perturbations of the fall-backs: temperature (K) and pressure (kPa).
constexpr double kNudgeT = 0.01;
constexpr double kNudgeP = 0.1;
// Component material-balance error that triggers the repair.
constexpr double kBalanceTol = 1e-5;
// Vapour-fraction finish: a jump of the fraction at the remembered state
// that marks a trivial split, and a miss that counts as far off.
constexpr double kVfJump = 0.03;
constexpr double kVfFar = 0.5;

// The state of one Prop3 call: its arguments and the search bookkeeping.
struct Driver {
    int method, hmethod;
    int32_t freeWater;  // free-water component of the K-value method
    const double* z;
    double *y, *x, *xw, *xl;
    int32_t* ph;
    double *frac, *h, *s, *cp, *v, *molwt;
    const double* tol;
    double* cs[5];  // vapour, liquid, aqueous, feed, combined liquid
    int n;
    int pure;       // index of the pure component, -1 for a mixture
    bool water;     // the feed contains the water component
    double t, p;    // current state
    bool vfspec;    // a vapour-fraction specification
    bool bubble, dew, hspec, sspec;
    double tolvf;   // vapour-fraction tolerance
    double spec;    // vapour-fraction specification, MISSING when none
    double target;  // enthalpy or entropy specification
};

void FlashAt(const Workspace& ws, Driver& d) {
    Flash(ws, d.method, d.freeWater, d.t, d.p, d.cs, d.ph, d.frac);
}

void Properties(const Workspace& ws, Driver& d) {
    PhaseProperties(ws, d.method, d.hmethod, d.t, d.p, d.cs, d.ph, d.frac, d.h, d.s, d.cp, d.v);
}

double SumZPc(const Workspace& ws, const Driver& d) {
    double s = 0.0;
    for (int i = 0; i < d.n; ++i) s += d.z[i] * ws.cd[i].pc;
    return s;
}

void SwapLiquidSlots(const Workspace& ws, Driver& d) {
    SwapPhases(ws, d.method, d.cs, d.ph, d.frac, 2, 1, d.v);
    for (double* a : {d.h, d.s, d.cp}) {
        const double t = a[1];
        a[1] = a[2];
        a[2] = t;
    }
}

void Slot3(Driver& d) {
    for (double* a : {d.h, d.s, d.cp, d.v}) {
        a[3] = 0.0;
        for (int k = 0; k < 3; ++k)
            if (d.frac[k] != 0.0) a[3] += d.frac[k] * a[k];
    }
}

// Both saturated phases of a pure component at the current state: the
// vapour and the liquid root, each of the feed's composition.
void SaturatedPhases(const Workspace& ws, Driver& d) {
    for (int i = 0; i < d.n; ++i) d.y[i] = d.x[i] = d.z[i];
    d.ph[0] = kVapour;
    d.ph[1] = kLiquid;
    d.ph[2] = kAbsent;
    const double keep[3] = {d.frac[0], d.frac[1], d.frac[2]};
    d.frac[0] = d.frac[1] = 0.5;
    d.frac[2] = 0.0;
    Properties(ws, d);
    d.frac[0] = keep[0];
    d.frac[1] = keep[1];
    d.frac[2] = keep[2];
}

// Lever rule between the vapour and the liquid slot.
int32_t LeverRule(const Workspace& ws, Driver& d) {
    const double* q = d.hspec ? d.h : d.s;
    if (d.pure >= 0) SaturatedPhases(ws, d);
    if (q[1] == 0.0) SwapLiquidSlots(ws, d);
    const double target = d.target;
    double lambda = (target - q[1]) / (q[0] - q[1]);
    if (lambda < 0.0) lambda = 0.0;
    if (lambda > 1.0 + d.tol[3] || !std::isfinite(lambda)) return kProp3LeverRejected;
    const double old = d.frac[0];
    d.frac[0] = lambda;
    if (old >= 1.0) {
        d.frac[1] = 1.0 - lambda;
        d.frac[2] = 0.0;
    } else {
        const double scale = (1.0 - lambda) / (1.0 - old);
        d.frac[1] *= scale;
        d.frac[2] *= scale;
    }
    if (d.frac[0] > 0.0) d.ph[0] = kVapour;
    if (d.frac[1] > 0.0 && d.ph[1] == kAbsent) d.ph[1] = kLiquid;
    if (d.pure < 0) Slot3(d);
    return kProp3Ok;
}

void Normalise(double* c, int n) {
    double sum = 0.0;
    bool missing = false;
    for (int i = 0; i < n; ++i) {
        if (c[i] == MISSING) missing = true;
        if (c[i] < 0.0 && c[i] != MISSING) c[i] = 0.0;
        if (c[i] != MISSING) sum += c[i];
    }
    if (missing || !(sum > 0.0)) return;
    for (int i = 0; i < n; ++i) c[i] /= sum;
}

double WaterFraction(const Workspace& ws, const Driver& d, const double* c) {
    double w = 0.0;
    for (int i = 0; i < d.n; ++i)
        if (ws.cd[i].code == kCodeWater) w += c[i];
    return w;
}

// The aqueous slot holds the water-rich, denser liquid.
void OrderLiquids(const Workspace& ws, Driver& d) {
    if (!d.water || d.n < 2) return;
    const bool liqOnly = d.frac[1] != 0.0 && (d.ph[2] == kAbsent || d.frac[2] == 0.0);
    bool swap = false;
    if (liqOnly) {
        const double w = WaterFraction(ws, d, d.x);
        double hc = 0.0;
        for (int i = 0; i < d.n; ++i)
            if (ws.cd[i].family == 0) hc += d.x[i];
        if (w > hc && (hc >= 1e-6 || w >= 0.5)) swap = true;
    } else if (d.frac[1] != 0.0 && d.frac[2] != 0.0 && d.ph[1] != kAbsent && d.ph[2] != kAbsent) {
        if (WaterFraction(ws, d, d.x) > WaterFraction(ws, d, d.xw)) swap = true;
    }
    if (!swap && d.ph[2] != kAbsent && d.frac[2] != 0.0) {
        const double mw1 = MixMw(ws, d.x), mw2 = MixMw(ws, d.xw);
        if (mw1 != MISSING && mw2 != MISSING && mw1 > 0.0 && mw2 > 0.0 &&
            d.v[2] / mw2 > d.v[1] / mw1)
            swap = true;
    }
    if (swap) SwapLiquidSlots(ws, d);
}

// Finishing: the outputs made consistent with the final state.
int32_t Finish(const Workspace& ws, Driver& d, int32_t status) {
    const int n = d.n;
    if (status == kProp3Ok && d.pure >= 0) {
        if (d.spec != MISSING) d.frac[0] = std::fabs(d.spec);
        d.frac[2] = 0.0;
        d.frac[1] = 1.0 - d.frac[0];
        d.ph[0] = d.frac[0] != 0.0 ? kVapour : kAbsent;
        d.ph[1] = d.frac[1] != 0.0 ? kLiquid : kAbsent;
        d.ph[2] = kAbsent;
        const CompRecord& c = ws.cd[d.pure];
        for (int i = 0; i < n; ++i) {
            if (d.ph[0]) d.y[i] = d.z[i];
            if (d.ph[1]) d.x[i] = d.z[i];
        }
        Properties(ws, d);
        if (d.t > c.tc && d.frac[0] == 0.0) {
            // Above the critical temperature the single phase is a vapour.
            const int k = c.code == kCodeWater ? kAqueousSlot : kLiquidSlot;
            for (double* a : {d.frac, d.h, d.s, d.cp, d.v}) {
                const double t = a[0];
                a[0] = a[k];
                a[k] = t;
            }
            const int32_t f = d.ph[0];
            d.ph[0] = d.ph[k] ? kVapour : kAbsent;
            d.ph[k] = f;
            for (int i = 0; i < n; ++i) d.y[i] = d.z[i];
        }
        Slot3(d);
    }
    for (double* c : {d.y, d.x, d.xw, d.xl}) Normalise(c, n);
    if (d.hspec) d.h[3] = d.target;
    if (d.sspec) d.s[3] = d.target;
    OrderLiquids(ws, d);
    d.molwt[0] = CompositionMolWeight(ws, d.y);
    d.molwt[1] = CompositionMolWeight(ws, d.x);
    d.molwt[2] = CompositionMolWeight(ws, d.xw);
    d.molwt[3] = CompositionMolWeight(ws, d.z);
    d.frac[3] = 1.0;
    d.frac[4] = d.frac[1] + d.frac[2];
    if (d.frac[4] > 0.0) {
        for (int i = 0; i < n; ++i) {
            const double a = d.frac[1] != 0.0 ? d.x[i] * d.frac[1] : 0.0;
            const double b = d.frac[2] != 0.0 ? d.xw[i] * d.frac[2] : 0.0;
            d.xl[i] = (a + b) / d.frac[4];
        }
        for (double* a : {d.h, d.s, d.cp, d.v, d.molwt}) {
            const double a1 = d.frac[1] != 0.0 ? a[1] * d.frac[1] : 0.0;
            const double a2 = d.frac[2] != 0.0 ? a[2] * d.frac[2] : 0.0;
            a[4] = (a1 + a2) / d.frac[4];
        }
    } else {
        for (int i = 0; i < n; ++i) d.xl[i] = MISSING;
        for (double* a : {d.h, d.s, d.cp, d.v, d.molwt}) a[4] = MISSING;
    }
    auto blank = [&](int k, double* c) {
        for (int i = 0; i < n; ++i) c[i] = MISSING;
        for (double* a : {d.h, d.s, d.cp, d.v}) a[k] = MISSING;
    };
    if (d.frac[0] == 0.0 && !d.bubble) blank(0, d.y);
    if (d.frac[1] == 0.0 && !d.dew) blank(1, d.x);
    if (d.frac[2] == 0.0 && !d.dew) blank(2, d.xw);
    if (d.h[1] == MISSING && d.h[2] == MISSING) {
        for (int i = 0; i < n; ++i) d.xl[i] = MISSING;
        for (double* a : {d.h, d.s, d.cp, d.v}) a[4] = MISSING;
    }
    platform::ClearFpFlags();
    return status;
}

// K from a ln K of LnKAt: 0 below -200, 1e100 from 200 on.
double KFromLnKAt(double l) {
    if (l < -200.0) return 0.0;
    if (l >= 200.0) return 1e100;
    return ClippedExp(l);
}

// When the phase fractions no longer balance the feed (off by more than
// 1e-5 in a component), rebuilds the compositions from equilibrium ratios
// of the liquids against the vapour at the current state.
void RepairMaterialBalance(const Workspace& ws, Driver& d) {
    const int n = d.n;
    bool off = false;
    for (int i = 0; i < n && !off; ++i) {
        double m = 0.0;
        for (int k = 0; k < 3; ++k)
            if (d.ph[k] && d.frac[k] != 0.0) m += d.frac[k] * d.cs[k][i];
        off = std::fabs(m - d.z[i]) > kBalanceTol;
    }
    if (!off) return;
    double* l1 = ws.prop3.lnK1;
    double* l2 = ws.prop3.lnK2;
    LnKAt(ws, d.method, d.freeWater, d.t, d.p, d.x, d.y, l1, nullptr, 2);
    LnKAt(ws, d.method, d.freeWater, d.t, d.p, d.xw, d.y, l2, nullptr, 2);
    for (int i = 0; i < n; ++i) {
        const double k1 = KFromLnKAt(l1[i]), k2 = KFromLnKAt(l2[i]);
        double den = d.frac[0];
        if (k1 != 0.0 && d.frac[1] != 0.0) den += d.frac[1] / k1;
        if (k2 != 0.0 && d.frac[2] != 0.0) den += d.frac[2] / k2;
        d.y[i] = den != 0.0 ? d.z[i] / den : 0.0;
        if (k1 != 0.0) d.x[i] = d.y[i] / k1;
        if (k2 != 0.0) d.xw[i] = d.y[i] / k2;
    }
    Normalise(d.y, n);
    Normalise(d.x, n);
    Normalise(d.xw, n);
    Properties(ws, d);
}

// Perturbation fall-back: the phase the specification needs but the best point lacks, taken
// from a slightly perturbed state, shares the amount of its partner phase.
int32_t PhaseFromPerturbation(const Workspace& ws, Driver& d, bool overT, double lower,
                              double upper, double bestT, double bestP) {
    d.t = bestT;
    d.p = bestP;
    FlashAt(ws, d);
    Properties(ws, d);
    const int32_t best[3] = {d.ph[0], d.ph[1], d.ph[2]};
    int newPhase;
    double tp = d.t, pp = d.p;
    if (d.hspec) {
        if (!best[0] || (best[1] && best[2])) {
            newPhase = 0;
            if (overT) tp = upper + kNudgeT;
            else pp = d.p - kNudgeP;
        } else if (!best[1]) {
            newPhase = 1;
            if (overT) tp = lower - kNudgeT;
            else pp = d.p + kNudgeP;
        } else if (!best[2]) {
            newPhase = 2;
            if (overT) tp = lower - kNudgeT;
            else pp = d.p + kNudgeP;
        } else {
            return kProp3Ok;
        }
    } else {
        if (!best[0]) newPhase = 0, tp = d.t + kNudgeT;
        else if (!best[1]) newPhase = 1, tp = d.t - kNudgeT;
        else if (!best[2]) newPhase = 2, tp = d.t - kNudgeT;
        else return kProp3Ok;
    }
    // Perturbed state.
    d.t = tp;
    d.p = pp;
    FlashAt(ws, d);
    Properties(ws, d);
    const int32_t pert[3] = {d.ph[0], d.ph[1], d.ph[2]};
    const bool appeared = pert[newPhase] != kAbsent;
    double keep[4] = {d.h[newPhase], d.s[newPhase], d.cp[newPhase], d.v[newPhase]};
    double* scratch = ws.prop3.phase;
    for (int i = 0; i < d.n; ++i) scratch[i] = d.cs[newPhase][i];
    int partner = -1, third = -1;
    for (int k = 0; k < 3; ++k) {
        if (!best[k]) continue;
        if (!pert[k]) partner = k;
        else if (k != newPhase && k != partner) third = k;
    }
    if (partner < 0)
        for (int k = 2; k >= 0; --k)
            if (best[k]) {
                partner = k;
                break;
            }
    if (third == partner) third = -1;
    // Back to the best point.
    d.t = bestT;
    d.p = bestP;
    FlashAt(ws, d);
    Properties(ws, d);
    if (!appeared) {
        if (newPhase != 2) return kProp3Ok;  // nothing to take over: the best point stands
        // No aqueous phase either way: the vapour fraction between the
        // vapour and the liquid slot.
        if (!d.ph[0] || !d.ph[1]) return kProp3Ok;
        const double* q = d.hspec ? d.h : d.s;
        const double lambda = (d.target - q[1]) / (q[0] - q[1]);
        if (!std::isfinite(lambda)) return kProp3Ok;
        const double old = d.frac[0];
        d.frac[0] = lambda;
        const double scale = old < 1.0 ? (1.0 - lambda) / (1.0 - old) : 0.0;
        d.frac[1] *= scale;
        d.frac[2] *= scale;
        Slot3(d);
        RepairMaterialBalance(ws, d);
        return kProp3Ok;
    }
    if (partner < 0 || !d.ph[partner]) return kProp3Ok;
    const double* q = d.hspec ? d.h : d.s;
    double target = d.target;
    if (third >= 0 && d.ph[third] && d.frac[third] < 1.0)
        target = (target - d.frac[third] * q[third]) / (1.0 - d.frac[third]);
    const double qNew = d.hspec ? keep[0] : keep[1];
    const double lambda =
        ClampPhaseFraction((target - q[partner]) / (qNew - q[partner]), d.tol[3]);
    if (lambda == MISSING || !std::isfinite(lambda)) return kProp3LeverRejected;
    const double sum = (d.ph[newPhase] ? d.frac[newPhase] : 0.0) + d.frac[partner];
    d.frac[newPhase] = lambda * sum;
    d.frac[partner] = (1.0 - lambda) * sum;
    d.ph[newPhase] = newPhase == 0 ? kVapour : kLiquid;
    d.h[newPhase] = keep[0];
    d.s[newPhase] = keep[1];
    d.cp[newPhase] = keep[2];
    d.v[newPhase] = keep[3];
    for (int i = 0; i < d.n; ++i) d.cs[newPhase][i] = scratch[i];
    Slot3(d);
    return kProp3Ok;
}

// Whether a mixture's vapour fraction reaches the specification `want` at
// the current state: within tolvf there, or enclosed by the vapour fractions
// one search tolerance (at least 0.01 K in temperature) to either side, as
// across a two-phase region narrower than the bracket. The current state is
// flashed again before returning.
bool SpecWithinReach(const Workspace& ws, Driver& d, bool overT, double tolx, double want,
                     double tolvf) {
    const double vf = d.frac[0];
    if (std::fabs(vf - want) < tolvf) return true;
    const double t = d.t, p = d.p;
    double lo = vf, hi = vf;
    for (double side : {-1.0, 1.0}) {
        if (overT) d.t = t + side * std::fmax(tolx, kNudgeT);
        else d.p = ClippedExp(std::log(p) + side * tolx);
        FlashAt(ws, d);
        lo = std::fmin(lo, d.frac[0]);
        hi = std::fmax(hi, d.frac[0]);
    }
    d.t = t;
    d.p = p;
    FlashAt(ws, d);
    return lo - tolvf <= want && want <= hi + tolvf;
}

// Vapour-fraction finish: the specification when the bracket closed
// without meeting it.
int32_t VapourFractionFinish(const Workspace& ws, Driver& d, bool met2, double t2, double p2,
                             bool overT, double tolx, double tolvf) {
    int32_t status = kProp3Ok;
    const double want = std::fabs(d.spec);
    const int n = d.n;
    if (met2 && (t2 != d.t || p2 != d.p)) {
        const double before = d.frac[0];
        d.t = t2;
        d.p = p2;
        FlashAt(ws, d);
        if (d.pure < 0 && IsTrivialSplit(ws, d.y, d.x) && std::fabs(d.frac[0] - before) >= kVfJump)
            status = kProp3NoSolution;
    }
    int present = 0;
    for (int i = 0; i < n; ++i)
        if (d.z[i] > 1e-30) ++present;
    if (d.water && (d.ph[1] == kLiquid || d.ph[2] == kLiquid) && present == 2 && want < 1.0) {
        // Split the material-balance liquid on its own into two liquids.
        double* feed = ws.prop3.splitFeed;
        double* c0 = ws.prop3.sub[0];
        double* c1 = ws.prop3.sub[1];
        double* c2 = ws.prop3.sub[2];
        for (int i = 0; i < n; ++i) feed[i] = (d.z[i] - want * d.y[i]) / (1.0 - want);
        double* sub[4] = {c0, c1, c2, feed};
        int32_t st[3];
        double b[3];
        Flash(ws, d.method, d.freeWater, d.t - kNudgeT, d.p, sub, st, b);
        int slot = 1;
        double bl[3] = {0.0, 0.0, 0.0};
        for (int k = 0; k < 3 && slot <= 2; ++k) {
            if (!st[k]) continue;
            for (int i = 0; i < n; ++i) d.cs[slot][i] = sub[k][i];
            d.ph[slot] = kLiquid;
            bl[slot] = b[k];
            ++slot;
        }
        if (slot == 2) d.ph[2] = kAbsent;
        d.frac[0] = want;
        d.frac[1] = bl[1] * (1.0 - want);
        d.frac[2] = bl[2] * (1.0 - want);
    }
    if (d.pure < 0 && (!met2 || std::fabs(d.frac[0] - want) > kVfFar)) {
        if (d.p >= SumZPc(ws, d)) {
            status = kProp3NoSolution;
        } else {
            if (want >= 1.0) d.t += kNudgeT;
            else if (d.spec <= 0.0) d.t -= kNudgeT;
            FlashAt(ws, d);
        }
    }
    // A mixture whose vapour fraction does not reach the specification near
    // the final state (the bracket closed on a jump between other phase
    // states, or the remembered two-phase state lies elsewhere): no solution
    // found. The equilibrium at the final state is reported as it is rather
    // than forced to the specification.
    if (d.pure < 0 && status == kProp3Ok && !SpecWithinReach(ws, d, overT, tolx, want, tolvf)) {
        Properties(ws, d);
        return kProp3NoSolution;
    }
    // Force the specification.
    const double prev = d.frac[0];
    d.frac[0] = want;
    if (prev >= 1.0) {
        d.frac[1] = 1.0 - want - d.frac[2];
        for (int i = 0; i < n; ++i) {
            const double xi = d.ph[1] && d.x[i] != MISSING ? d.x[i] * d.frac[1] : 0.0;
            const double wi = d.ph[2] && d.xw[i] != MISSING ? d.xw[i] * d.frac[2] : 0.0;
            d.y[i] = d.z[i] - xi - wi;
        }
        Normalise(d.y, n);
    } else {
        const double scale = (1.0 - want) / (1.0 - prev);
        d.frac[1] *= scale;
        d.frac[2] *= scale;
        const int big = d.frac[2] >= d.frac[1] ? 2 : 1;
        const int other = 3 - big;
        if (d.frac[big] > 0.0) {
            for (int i = 0; i < n; ++i) {
                const double yi = d.ph[0] ? d.y[i] * d.frac[0] : 0.0;
                const double oi = d.ph[other] ? d.cs[other][i] * d.frac[other] : 0.0;
                d.cs[big][i] = (d.z[i] - yi - oi) / d.frac[big];
            }
            Normalise(d.cs[big], n);
        }
    }
    if (d.frac[0] > 0.0 && !d.ph[0]) d.ph[0] = kVapour;
    Properties(ws, d);
    if (d.pure >= 0) {
        const CompRecord& c = ws.cd[d.pure];
        if ((overT && d.p > c.pc) || d.t > c.tc) status = kProp3NoSolution;
    }
    return status;
}

bool Finite(double v) { return std::isfinite(v); }

// Properties at a bubble or dew point: the incipient phase (vapour at a
// bubble point, liquid at a dew point) is evaluated with its composition
// even when the flash reports it absent; its fraction stays 0.
void IncipientProperties(const Workspace& ws, Driver& d) {
    const int k = d.bubble ? 0 : (d.dew ? 1 : -1);
    const bool lift = k >= 0 && d.ph[k] == kAbsent && CompositionMolWeight(ws, d.cs[k]) > 0.0;
    if (lift) d.ph[k] = k == 0 ? kVapour : kLiquid;
    Properties(ws, d);
    if (lift) d.ph[k] = kAbsent;
}

// A search that failed before any state was evaluated: no phase.
void NothingEvaluated(Driver& d) {
    for (int k = 0; k < 3; ++k) {
        d.ph[k] = kAbsent;
        d.frac[k] = 0.0;
        d.h[k] = d.s[k] = d.cp[k] = d.v[k] = MISSING;
    }
    d.h[3] = d.s[3] = d.cp[3] = d.v[3] = MISSING;
    for (int i = 0; i < d.n; ++i) d.y[i] = d.x[i] = d.xw[i] = MISSING;
}

// Whether the arguments make one of the accepted specifications: T and P,
// or one of them and one of the vapour fraction, enthalpy and entropy, all
// finite, with usable methods, feed and search tolerances.
bool ValidSpecification(const Workspace& ws, int32_t method, int32_t hmethod, double t, double p,
                        const double* z, const double* frac, const double* h, const double* s,
                        const double* tol) {
    const int n = ws.ncomp;
    const bool tGiven = t != MISSING, pGiven = p != MISSING;
    const bool fv = frac[0] != MISSING, fh = h[3] != MISSING, fs = s[3] != MISSING;
    const int nspec = fv + fh + fs;
    if (fv && method == 0) return false;
    if (tGiven && pGiven) {
        if (nspec != 0) return false;
    } else if (tGiven || pGiven) {
        if (nspec != 1) return false;
    } else {
        return false;
    }
    if ((tGiven && !Finite(t)) || (pGiven && !Finite(p)) || (fv && !Finite(frac[0])) ||
        (fh && !Finite(h[3])) || (fs && !Finite(s[3])))
        return false;
    if (method < 0 || method > 3 || n <= 0) return false;
    // An unknown enthalpy method gives nothing at all.
    if (hmethod < 0 || hmethod > 3) return false;
    double zsum = 0.0;
    for (int i = 0; i < n; ++i) {
        if (z[i] == MISSING || !Finite(z[i])) return false;
        zsum += z[i];
    }
    if (!(zsum > 0.0)) return false;
    // The tolerances the search will use must be positive numbers (the
    // lever-rule slack may be 0).
    const auto positive = [](double v) { return Finite(v) && v > 0.0; };
    if (!(tGiven && pGiven)) {
        if (!tGiven && !positive(tol[0])) return false;
        if ((fh || fs) && !(Finite(tol[3]) && tol[3] >= 0.0)) return false;
        if ((fh && !positive(tol[1])) || (fs && !positive(tol[2]))) return false;
    }
    return true;
}

// Vapour-fraction tolerance: finer for a feed of nearly one component.
constexpr double kTolVf = 1e-4, kTolVfMostly = 1e-5, kTolVfNearlyPure = 1e-6;
constexpr double kMostly = 0.95, kNearlyPure = 0.99;
// A feed fraction this close to 1 makes the feed a pure component.
constexpr double kPureFeed = 1e-8;

// The driver state of a valid call: arguments, specification, feed
// character and the free-water component.
Driver Prepare(const Workspace& ws, int32_t method, int32_t hmethod, const double* z, double* y,
               double* x, double* xw, double* xl, int32_t* phases, double* frac, double* h,
               double* s, double* cp, double* v, double* molwt, const double* tol) {
    const int n = ws.ncomp;
    const bool fv = frac[0] != MISSING, fh = h[3] != MISSING, fs = s[3] != MISSING;
    Driver d{};
    d.method = method;
    d.hmethod = hmethod;
    d.z = z;
    d.y = y, d.x = x, d.xw = xw, d.xl = xl;
    d.ph = phases;
    d.frac = frac, d.h = h, d.s = s, d.cp = cp, d.v = v, d.molwt = molwt;
    d.tol = tol;
    d.cs[0] = y, d.cs[1] = x, d.cs[2] = xw, d.cs[3] = const_cast<double*>(z), d.cs[4] = xl;
    d.n = n;
    d.vfspec = fv;
    d.spec = fv ? frac[0] : MISSING;
    d.bubble = fv && frac[0] == 0.0;
    // A dew point at either crossing: 1, or -1 for the retrograde one.
    d.dew = fv && std::fabs(frac[0]) == 1.0;
    d.hspec = fh;
    d.sspec = fs;
    d.target = fh ? h[3] : (fs ? s[3] : MISSING);
    d.pure = n == 1 ? 0 : -1;
    d.water = false;
    for (int i = 0; i < n; ++i) {
        if (d.pure < 0 && std::fabs(z[i] - 1.0) < kPureFeed) d.pure = i;
        if (ws.cd[i].code == kCodeWater && z[i] > 0.0) d.water = true;
    }
    d.freeWater = FreeWaterComponent(ws, method);
    d.tolvf = kTolVf;
    for (int i = 0; i < n; ++i)
        if (z[i] > kMostly) {
            d.tolvf = z[i] > kNearlyPure ? kTolVfNearlyPure : kTolVfMostly;
            break;
        }
    return d;
}

// The one-dimensional search: in T (P given) or in ln P (T given).
struct Search {
    bool overT;
    double xv, step, lowLimit, highLimit, lower, upper, dir, tolx;
    double xprev, fprev;
    double bestDev, bestT, bestP;  // enthalpy or entropy: the closest state so far
    bool met2;                     // vapour fraction: a two-phase state was met, at (t2, p2)
    double t2, p2;
    double want, tolq;
    bool evaluated;
};

// Temperature search: start, steps, limits and bracket (K).
constexpr double kTStart = 423.0, kTStep = 70.0;
constexpr double kTGuessOffset = 20.0, kTGuessStep = 40.0;  // start from an estimate
constexpr double kTRetrogradeStep = 35.0;
constexpr double kHighPressure = 3000.0;  // kPa: vapour-fraction searches start colder above
constexpr double kTLowLimitHighP = 37.0, kTLowerHighP = 35.0;
constexpr double kTMinFineStep = 5.0, kTFineSteps = 30.0;
constexpr double kTPropertyStep = 115.0;  // enthalpy and entropy searches
constexpr double kTLowLimit = 1.0, kTHighLimit = 3000.0, kTUpper = 4000.0;
// Pressure search (kPa, searched in ln P).
constexpr double kPStart = 100.0, kPStepFactor = 1.5, kPLowLimit = 0.7, kPHighLimit = 320000.0;
constexpr double kPsatLowT = 5.0;  // K: the vapour pressures there may lower the limit
constexpr double kLnPBound = 50.0, kLnPTol = 1e-4;
// Sentinel of "no previous value" in the step rule.
constexpr double kNoPrevious = 1e30;

// The search in T (P given) or ln P (T given): start, step, limits,
// tolerances. False when the given T or P is not positive.
bool SetUpSearch(const Workspace& ws, Driver& d, bool overT, double tguess, Search& sr) {
    sr = Search{};
    sr.overT = overT;
    if (overT) {
        if (!(d.p > 0.0)) return false;
        sr.xv = kTStart;
        sr.step = kTStep;
        const bool highP = d.p > kHighPressure && d.vfspec;
        sr.lowLimit = highP ? kTLowLimitHighP : kTLowLimit;
        // An estimate is used only when its start lies within the limits.
        if (tguess != MISSING && Finite(tguess) && tguess + kTGuessOffset >= sr.lowLimit &&
            tguess + kTGuessOffset <= kTHighLimit) {
            sr.xv = tguess + kTGuessOffset;
            sr.step = kTGuessStep;
        }
        if (d.vfspec && d.spec < 0.0) sr.step = kTRetrogradeStep;
        sr.lower = 0.0;
        if (highP) {
            // Finer steps where two-phase regions are narrow, but not below
            // 5 K: from a cold start a thirtieth of it would walk towards
            // 3000 K in thousands of flashes.
            sr.step = std::fmax(sr.xv / kTFineSteps, kTMinFineStep);
            sr.lower = kTLowerHighP;
        }
        if (d.hspec || d.sspec) sr.step = kTPropertyStep;
        sr.highLimit = kTHighLimit;
        sr.upper = kTUpper;
        sr.dir = 1.0;
        sr.tolx = std::fmax(d.tol[0], kProp3MinTolerance);
    } else {
        if (!(d.t > 0.0)) return false;
        sr.xv = std::log(kPStart);
        sr.step = std::log(kPStepFactor);
        sr.lowLimit = std::log(kPLowLimit);
        // The components' vapour pressures at 3000 K do not raise the upper
        // limit: the Lee-Kesler correlation diverges far above Tc (its Tr^6
        // term) and would lift it to the clip, where an equation of state
        // still "finds" dew and bubble points of mixtures above their
        // cricondentherm.
        sr.highLimit = std::log(kPHighLimit);
        for (int i = 0; i < d.n; ++i) sr.lowLimit = std::fmin(sr.lowLimit, LeeKeslerLnPsat(ws, i, kPsatLowT));
        sr.lower = -kLnPBound;
        sr.upper = kLnPBound;
        sr.dir = -1.0;
        sr.tolx = kLnPTol;
    }
    sr.xprev = sr.xv;
    sr.fprev = -kNoPrevious;
    sr.bestDev = 1e6;
    sr.bestT = sr.bestP = MISSING;
    sr.want = d.vfspec ? std::fabs(d.spec) : 0.0;
    sr.tolq = std::fmax(d.hspec ? d.tol[1] : d.tol[2], kProp3MinTolerance);
    return true;
}

// Bracket width below which a vapour-fraction search stops at a met state.
constexpr double kVfBracket = 0.01;
// Fraction of the tolerance a mixture's enthalpy or entropy bracket may
// narrow to before it is taken as closed.
constexpr double kMixtureBracket = 0.01;

// One vapour-fraction step at the flashed current state; true when the
// search is over (status set).
bool VapourFractionStep(const Workspace& ws, Driver& d, Search& sr, int32_t* status) {
    const double vf = d.frac[0];
    double f = d.spec < 0.0 ? -vf : vf;
    if (vf > 0.0 && vf < 1.0) {
        sr.met2 = true;
        sr.t2 = d.t;
        sr.p2 = d.p;
    }
    const double dev = std::fabs(vf - sr.want);
    const double width = sr.upper - sr.lower;
    if (sr.met2 && dev < d.tolvf && width <= kVfBracket) {
        d.frac[0] = sr.want;
        d.frac[1] = 1.0 - sr.want - d.frac[2];
        IncipientProperties(ws, d);
        return true;
    }
    if (!((width > sr.tolx || dev >= d.tolvf / 2.0) && width > sr.tolx / 10.0)) {
        *status = VapourFractionFinish(ws, d, sr.met2, sr.t2, sr.p2, sr.overT, sr.tolx, d.tolvf);
        return true;
    }
    if (vf == 0.0 && sr.fprev == -kNoPrevious) sr.fprev = kNoPrevious;
    if ((d.spec == 0.0 || sr.want == 1.0) && sr.met2 && (vf == 0.0 || vf == 1.0)) f = d.spec;
    SearchStep(&sr.xv, f, d.spec, &sr.lower, &sr.upper, &sr.xprev, &sr.fprev, sr.step, sr.dir);
    return false;
}

// The enthalpy or entropy bracket closed without meeting the target: the
// lever rule, the blend across a property jump or the perturbation
// fall-back, from the closest state met.
int32_t PropertyBracketClosed(const Workspace& ws, Driver& d, const Search& sr) {
    if (d.pure >= 0) return d.p <= SumZPc(ws, d) ? LeverRule(ws, d) : kProp3Ok;
    if (sr.bestT != MISSING && (sr.bestT != d.t || sr.bestP != d.p)) {
        d.t = sr.bestT;
        d.p = sr.bestP;
        FlashAt(ws, d);
        Properties(ws, d);
    }
    if (IsTrivialSplit(ws, d.y, d.x) || (!d.water && d.ph[0] && (d.ph[1] || d.ph[2])))
        return LeverRule(ws, d);
    if (sr.bestDev >= sr.tolq) {
        const double bt = d.t, bp = d.p;
        if (!BoundaryInterpolation(ws, d.method, d.freeWater, d.hmethod, &d.t, &d.p, d.target, d.cs,
                                   d.ph, d.frac, d.h, d.s, d.cp, d.v, sr.lower, sr.upper,
                                   d.hspec ? 1 : 0, sr.overT ? 1 : 0))
            return PhaseFromPerturbation(ws, d, sr.overT, sr.lower, sr.upper, bt, bp);
    }
    return kProp3Ok;
}

// One enthalpy or entropy step at the flashed current state; true when the
// search is over (status set).
bool PropertyStep(const Workspace& ws, Driver& d, Search& sr, int32_t* status) {
    Properties(ws, d);
    const double q = d.hspec ? d.h[3] : d.s[3];
    const double dev = std::fabs(q - d.target);
    if (dev < sr.tolq) return true;
    if (d.pure < 0 && dev < sr.bestDev) {
        sr.bestDev = dev;
        sr.bestT = d.t;
        sr.bestP = d.p;
    }
    const double width = sr.upper - sr.lower;
    if (width >= sr.tolx || (d.pure < 0 && width >= kMixtureBracket * sr.tolx)) {
        SearchStep(&sr.xv, q, d.target, &sr.lower, &sr.upper, &sr.xprev, &sr.fprev, sr.step,
                   sr.dir);
        return false;
    }
    *status = PropertyBracketClosed(ws, d, sr);
    return true;
}

// Steps until the specification is met or the bracket closes; at the limits
// or the step cap the unknown was not found, and the last state stands.
int32_t RunSearch(const Workspace& ws, Driver& d, Search& sr) {
    const int32_t notFound = sr.overT ? kProp3NoTemperature : kProp3NoPressure;
    for (int k = 0; k < kMaxSteps; ++k) {
        if (sr.upper <= sr.lowLimit || sr.lower >= sr.highLimit) break;
        if (sr.overT)
            d.t = sr.xv;
        else
            d.p = ClippedExp(sr.xv);
        FlashAt(ws, d);
        sr.evaluated = true;
        int32_t status = kProp3Ok;
        const bool over =
            d.vfspec ? VapourFractionStep(ws, d, sr, &status) : PropertyStep(ws, d, sr, &status);
        if (over) return status;
    }
    if (sr.evaluated)
        Properties(ws, d);
    else NothingEvaluated(d);
    return notFound;
}

// One flash and the properties at the given T and P.
int32_t EvaluateAtTP(const Workspace& ws, Driver& d, double t, double p) {
    if (!(t > 0.0) || !(p > 0.0)) return kProp3Invalid;
    d.t = t;
    d.p = p;
    FlashAt(ws, d);
    Properties(ws, d);
    return Finish(ws, d, kProp3Ok);
}

// The T (P given) or P (T given) that meets the specification, written back.
int32_t SearchForUnknown(const Workspace& ws, Driver& d, double* t, double* p, double tguess) {
    const bool overT = *p != MISSING;
    if (overT)
        d.p = *p;
    else
        d.t = *t;
    Search sr;
    if (!SetUpSearch(ws, d, overT, tguess, sr)) {
        NothingEvaluated(d);
        return Finish(ws, d, overT ? kProp3NoTemperature : kProp3NoPressure);
    }
    // A mixture's enthalpy search reports the vapour fraction it finds.
    if (overT && d.pure < 0 && d.hspec) d.frac[0] = MISSING;
    const int32_t status = RunSearch(ws, d, sr);
    *t = d.t;
    *p = d.p;
    return Finish(ws, d, status);
}

}  // namespace

int32_t Prop3(const Workspace& ws, int32_t method, int32_t hmethod, double* t, double* p,
              const double* z, double* y, double* x, double* xw, double* xl, int32_t* phases,
              double* frac, double* h, double* s, double* cp, double* v, double* molwt,
              double tguess, const double* tol) {
    if (!ValidSpecification(ws, method, hmethod, *t, *p, z, frac, h, s, tol)) return kProp3Invalid;
    Driver d = Prepare(ws, method, hmethod, z, y, x, xw, xl, phases, frac, h, s, cp, v, molwt, tol);
    if (*t != MISSING && *p != MISSING) return EvaluateAtTP(ws, d, *t, *p);
    return SearchForUnknown(ws, d, t, p, tguess);
}

}  // namespace vt
