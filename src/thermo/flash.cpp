// Successive substitution on ln K with dominant-eigenvalue acceleration,
// phase removal and merge rules, and the final relabelling of the phases.
#include "thermo/flash.h"

#include <cmath>
#include <initializer_list>

#include "correlations/liquid_density.h"
#include "numerics/guards.h"
#include "platform/constants.h"
#include "thermo/eos.h"
#include "workspace/mixture.h"
#include "workspace/workspace.h"

namespace vt {

namespace {

constexpr double kZAbsent = 1e-30;
constexpr double kVpLiquidVolume = 0.018;  // m3/kmol, liquid volume of the vapour-pressure model
constexpr double kLnKWaterOut = 115.15;

void SwapContents(double* a, double* b, int n) {
    for (int i = 0; i < n; ++i) {
        const double t = a[i];
        a[i] = b[i];
        b[i] = t;
    }
}

template <class T>
void SwapValues(T& a, T& b) {
    const T t = a;
    a = b;
    b = t;
}

// Vapour-pressure model K-values of the present liquid slots; per-slot
// compressibility and volume in vp_parm (Z of slot k at k, volume at 3 + k).
void VpEvaluate(const Workspace& ws, double t, double p, double* const* comps,
                const int32_t* states, double* lnK1, double* lnK2) {
    double* vp = ws.vp_parm;
    const double rt = kRgasEos * t;
    const int n = ws.ncomp;
    const double* z = comps[3];
    vp[3] = rt / p;
    vp[0] = 1.0;
    for (int k = 0; k < 3; ++k) {
        if (states[k] == kVapour) {
            vp[3 + k] = rt / p;
            vp[k] = 1.0;
        } else if (states[k] != kAbsent) {
            vp[k] = p * vp[3 + k] / rt;
            if (k == 0) continue;
            double* lnk = k == 1 ? lnK1 : lnK2;
            const double* x = comps[k];
            for (int i = 0; i < n; ++i)
                if (z[i] >= kZAbsent && x[i] >= kZAbsent)
                    lnk[i] = SafeLn(ClippedExp(LeeKeslerLnPsat(ws, i, t)) / p);
        }
    }
}

void VpKUpdate(const Workspace& ws, int32_t freeWater, double t, double p, double* const* comps,
               double* lnK1, double* lnK2, int32_t* states) {
    const int n = ws.ncomp;
    const double* z = comps[3];
    if (lnK1[0] == MISSING) {
        bool water = false, pure = false;
        for (int i = 0; i < n; ++i) {
            if (z[i] >= kZAbsent && ws.cd[i].code == kCodeWater) water = true;
            if (z[i] == 1.0) pure = true;
        }
        const bool second = water && !pure && n >= 2;
        if (!second) states[2] = kAbsent;
        // Both per-phase values of every slot start afresh: a slot that the
        // evaluation skips (pure water) must not keep those of an earlier call.
        double* vp = ws.vp_parm;
        vp[3] = kRgasEos * t / p;
        vp[0] = 1.0;
        vp[4] = vp[5] = kVpLiquidVolume;
        vp[1] = vp[2] = p * kVpLiquidVolume / (kRgasEos * t);
        for (int i = 0; i < n; ++i) {
            if (!(z[i] >= kZAbsent)) continue;
            lnK1[i] = InitLnK(ws, 3, i, t, p, 1);
            if (second) lnK2[i] = InitLnK(ws, 3, i, t, p, 2);
        }
        return;
    }
    const int w = freeWater;
    if (w < 0 || w >= n) {
        VpEvaluate(ws, t, p, comps, states, lnK1, lnK2);
        return;
    }
    // Free water: K-values of the water-free phases, then the water
    // component and the dilution of the others by the water in each liquid.
    double* const* dry = ws.flash.dry;
    double* c[4] = {comps[0], comps[1], comps[2], comps[3]};
    int32_t st[3] = {states[0], states[1], states[2]};
    double xw[3] = {0.0, 0.0, 0.0};
    bool any = false;
    for (int k = 0; k < 3; ++k) {
        if (states[k] == kAbsent) continue;
        SplitWaterAt(ws, w, comps[k], &xw[k], dry[k]);
        c[k] = dry[k];
        if (xw[k] >= 0.999999) st[k] = kAbsent;
        else any = true;
    }
    if (any) VpEvaluate(ws, t, p, c, st, lnK1, lnK2);
    for (int k = 1; k < 3; ++k) {
        if (states[k] == kAbsent) continue;
        double* lnk = k == 1 ? lnK1 : lnK2;
        if (xw[k] > 1e-100) lnk[w] += WaterLnK(t, p, xw[k], xw[0]);
        for (int i = 0; i < n; ++i) {
            if (i == w) continue;
            if (xw[k] >= 1.0 - 1e-6) {
                lnk[i] = kLnKWaterOut;
            } else if (1.0 - xw[0] > 1e-6) {
                if (xw[k] > 1e-6 && states[0] == kVapour) lnk[i] += std::log(1.0 - xw[k]);
            } else if (states[0] == kLiquid) {
                lnk[i] = -kLnKWaterOut;
            }
        }
    }
}

}  // namespace

// Water vapour pressure from a ninth-order fit in T with a reciprocal term.
double WaterPsat(double t) {
    double poly = 0.0;
    static constexpr double c[] = {10.4592,    -0.00404897, -4.1752e-5,  3.6851e-7,
                                   -1.0152e-9, 8.6531e-13,  9.03668e-16, -1.9969e-18,
                                   7.79287e-22, 1.91482e-25};
    for (int k = 9; k >= 0; --k) poly = poly * t + c[k];
    const double e = Clip(poly - 3968.06 / (t - 39.5735), -70.0, 70.0);
    return 1000.0 * ClippedExp(e);
}

double WaterLnK(double t, double p, double xw, double xw0) {
    if (1.0 - xw > 1e-6) {
        double r = 4179.2 / t + SafeLn(xw) - 6.6867;
        if (1e-100 < xw0 && 1.0 - xw0 > 1e-30) r -= SafeLn(p * xw0 / WaterPsat(t));
        return r;
    }
    double r = SafeLn(WaterPsat(t) / p) + SafeLn(xw);
    if (xw0 > 0.0) r -= SafeLn(xw0);
    return r;
}

void KUpdate(const Workspace& ws, int method, int32_t freeWater, double t, double p,
             double* const* comps, double* lnK1, double* lnK2, int32_t* states) {
    const int n = ws.ncomp;
    if (lnK1[0] == MISSING)
        for (int i = 0; i < n; ++i) comps[2][i] = comps[3][i];
    if (method == 1 || method == 2)
        EosLnK(ws, method, t, p, comps, states, lnK1, lnK2);
    else if (method == 3)
        VpKUpdate(ws, freeWater, t, p, comps, lnK1, lnK2, states);
}

void SwapPhases(const Workspace& ws, int method, double* const* comps, int32_t* states,
                double* betas, int a, int b, double* extra) {
    const int n = ws.ncomp;
    SwapValues(states[a], states[b]);
    SwapValues(betas[a], betas[b]);
    SwapContents(comps[a], comps[b], n);
    if (extra) SwapValues(extra[a], extra[b]);
    if (method == 3) {
        double* vp = ws.vp_parm;
        SwapValues(vp[a], vp[b]);
        SwapValues(vp[3 + a], vp[3 + b]);
        return;
    }
    double* par = EosPar(ws, method);
    for (int slot : {kBmix, kAmix, kVmol, kZfac}) SwapValues(par[slot + a], par[slot + b]);
    CompBlock** info = EosInfo(ws, method);
    for (int i = 0; i < n; ++i) {
        SwapValues(info[i]->sumax[a], info[i]->sumax[b]);
        SwapValues(info[i]->lnphi[a], info[i]->lnphi[b]);
    }
}

namespace {

// Every fraction of a within tol of b's.
bool CompositionsWithin(const Workspace& ws, const double* a, const double* b, double tol) {
    for (int i = 0; i < ws.ncomp; ++i)
        if (std::fabs(a[i] - b[i]) > tol) return false;
    return true;
}

}  // namespace

// Adds phase `from` to phase `into`: fractions summed, compositions mixed so
// that the material balance is kept.
void MergePhase(const Workspace& ws, double* const* comps, int32_t* states, double* betas, int into,
                int from) {
    const double sum = betas[into] + betas[from];
    if (sum > 0.0)
        for (int i = 0; i < ws.ncomp; ++i)
            comps[into][i] = (betas[into] * comps[into][i] + betas[from] * comps[from][i]) / sum;
    states[from] = kAbsent;
    betas[into] = sum;
    betas[from] = 0.0;
}

namespace {

// Merges slot m into slot k when the two present phases are alike by
// `close` and agree in composition within 0.001.
template <class Close>
void MergeIdentical(const Workspace& ws, double* const* comps, int32_t* states, double* betas,
                    Close close) {
    for (int k = 0; k < 2; ++k)
        for (int m = k + 1; m < 3; ++m) {
            if (states[k] == kAbsent || states[m] == kAbsent || !close(k, m)) continue;
            if (!CompositionsWithin(ws, comps[k], comps[m], 0.001)) continue;
            MergePhase(ws, comps, states, betas, k, m);
        }
}

void RebuildReference(const int32_t* states, double* betas) {
    if (states[0] != kAbsent) betas[0] = 1.0 - betas[1] - betas[2];
    else if (states[1] != kAbsent) betas[1] = 1.0 - betas[0] - betas[2];
    else betas[2] = 1.0;
}

// Orders the slots by ascending mass density (slot 0 the lightest); a
// vapour that moves down is relabelled liquid.
void SortByDensity(const Workspace& ws, int method, double* const* comps, int32_t* states,
                   double* betas, double* rho, bool keepEmpty) {
    for (int k = 0; k < 2; ++k)
        for (int m = 2; m > k; --m) {
            if (keepEmpty && rho[k] == 1e30) continue;
            if (rho[m] < rho[k]) {
                if (states[k] == kVapour) states[k] = kLiquid;
                SwapPhases(ws, method, comps, states, betas, k, m, rho);
            }
        }
}

void FinishEos(const Workspace& ws, int method, double t, double p, double* const* comps,
               int32_t* states, double* betas) {
    double* par = EosPar(ws, method);
    const int n = ws.ncomp;
    const CompRecord* cd = ws.cd;
    for (int k = 0; k < 3; ++k)
        if (betas[k] == 0.0) states[k] = kAbsent;
    MergeIdentical(ws, comps, states, betas, [&](int k, int m) {
        return std::fabs(par[kZfac + k] - par[kZfac + m]) <= 1e-4 || states[k] == states[m];
    });
    double rho[3];
    for (int k = 0; k < 3; ++k) {
        rho[k] = 1e30;
        if (states[k] == kAbsent) continue;
        if (par[kVmol + k] <= 0.0) {
            par[kVmol + k] = 1e-10;
            states[k] = kAbsent;
            continue;
        }
        rho[k] = CompositionMolWeight(ws, comps[k]) / par[kVmol + k];
    }
    RebuildReference(states, betas);
    SortByDensity(ws, method, comps, states, betas, rho, false);
    if (states[0] == kAbsent) return;

    // Vapour test on the lightest phase: its isothermal compressibility
    // from the cubic, against that of an ideal gas (1/P).
    const double rt = par[kRgasSlot] * t;
    const double Z = par[kZfac], B = p * par[kBmix] / rt, A = p * par[kAmix] / (rt * rt);
    double d, q;
    if (method == 2) {
        d = Z * (3.0 * Z * Z - 2.0 * Z + A - B - B * B);
        q = 1.0 - ((2.0 * B * B + B - A) * Z + 2.0 * A * B) / d;
    } else {
        d = Z * (3.0 * Z * Z - 2.0 * (1.0 - B) * Z + A - 2.0 * B - 3.0 * B * B);
        q = 1.0 + ((A - 6.0 * B * B - 2.0 * B) * Z + B * Z * Z - (2.0 * A - 2.0 * B - 6.0 * B * B) * B) / d;
    }
    if (std::fabs(d) <= 1e-30) q = 1.0;
    else q /= p;
    if (Z >= 0.3 && q >= 0.75 / p) {
        states[0] = kVapour;
        return;
    }
    states[0] = kLiquid;
    const double* x0 = comps[0];
    double* x1 = comps[1];
    double l0 = 0, h0 = 0, w0 = 0, w1 = 0, c0 = 0, c1 = 0;
    for (int i = 0; i < n; ++i) {
        if (cd[i].tb <= 230.0) l0 += x0[i];
        else h0 += x0[i];
        if (IsWaterLike(cd[i].code)) {
            w0 += x0[i];
            w1 += x1[i];
        } else if (cd[i].family == 0) {
            c0 += x0[i];
            c1 += x1[i];
        }
    }
    const bool st1 = states[1] != kAbsent, st2 = states[2] != kAbsent;
    auto liquidDown = [&] {
        SwapPhases(ws, method, comps, states, betas, 1, 2);
        SwapPhases(ws, method, comps, states, betas, 0, 1);
    };
    if (Z >= 0.75 && h0 <= l0) {
    } else if (!st1 && !st2) {
        SwapPhases(ws, method, comps, states, betas, 0, 1);
    } else if (!st2 && (c0 < w0 || c1 < w1)) {
        liquidDown();
    } else if (q >= 0.1 / p) {
        if (!st2 && h0 > l0) liquidDown();
    } else {
        // Two liquids of one kind: merge slot 0 into slot 1.
        const double sum = betas[0] + betas[1];
        if (sum > 0.0)
            for (int i = 0; i < n; ++i) x1[i] = (betas[0] * x0[i] + betas[1] * x1[i]) / sum;
        double* s = ws.eos.sumax;
        EosMixSolve(ws, method, &par[kAmix + 1], &par[kBmix + 1], &par[kVmol + 1], &par[kZfac + 1],
                    1, x1, s);
        CompBlock** info = EosInfo(ws, method);
        for (int i = 0; i < n; ++i) info[i]->sumax[1] = s[i];
        states[0] = kAbsent;
        betas[1] += betas[0];
        betas[0] = 0.0;
    }
    if (states[0] == kAbsent && states[2] != kAbsent) {
        double* s = ws.eos.sumax;
        EosMixSolve(ws, method, &par[kAmix], &par[kBmix], &par[kVmol], &par[kZfac], 0, comps[0], s);
        CompBlock** info = EosInfo(ws, method);
        for (int i = 0; i < n; ++i) info[i]->sumax[0] = s[i];
    }
}

// Standard-condition density of a liquid by ideal mixing of the
// components' standard liquid densities.
double IdealMixDensity(const Workspace& ws, const double* x) {
    double m = 0.0, v = 0.0;
    for (int i = 0; i < ws.ncomp; ++i) {
        const double xm = x[i] * ws.cd[i].mw;
        m += xm;
        v += xm / ws.cd[i].liqden;
    }
    return m / v;
}

void FinishVp(const Workspace& ws, int32_t freeWater, double* const* comps, int32_t* states,
              double* betas) {
    double* vp = ws.vp_parm;
    const int w = freeWater;
    if (w >= 0 && w < ws.ncomp)
        for (int k = 0; k < 3; ++k)
            if (comps[k][w] > 0.8 && states[k] != kVapour) {
                vp[3 + k] = kVpLiquidVolume;
                vp[k] = MISSING;
            }
    for (int k = 0; k < 3; ++k)
        if (betas[k] == 0.0) states[k] = kAbsent;
    MergeIdentical(ws, comps, states, betas,
                   [&](int k, int m) { return std::fabs(vp[k] - vp[m]) <= 1e-4; });
    double rho[3];
    for (int k = 0; k < 3; ++k) {
        rho[k] = 1e30;
        if (states[k] != kAbsent && vp[3 + k] <= 0.0) {
            vp[3 + k] = 1e-10;
            states[k] = kAbsent;
        }
        if (states[k] == kAbsent) {
            betas[k] = 0.0;
            continue;
        }
        rho[k] = CompositionMolWeight(ws, comps[k]) / vp[3 + k];
    }
    RebuildReference(states, betas);
    SortByDensity(ws, 3, comps, states, betas, rho, true);
    if (states[2] == kAbsent && states[0] == kLiquid) {
        if (states[1] != kAbsent) SwapPhases(ws, 3, comps, states, betas, 1, 2);
        SwapPhases(ws, 3, comps, states, betas, 0, 1);
    }
    if (states[1] != kAbsent && states[2] != kAbsent &&
        IdealMixDensity(ws, comps[2]) < IdealMixDensity(ws, comps[1]))
        SwapPhases(ws, 3, comps, states, betas, 1, 2);
}

}  // namespace

void FlashFinish(const Workspace& ws, int method, int32_t freeWater, double t, double p,
                 double* const* comps, int32_t* states, double* betas) {
    if (method == 3)
        FinishVp(ws, freeWater, comps, states, betas);
    else
        FinishEos(ws, method, t, p, comps, states, betas);
}

namespace {

// Single-phase result of the degenerate cases: the feed as slot 0.
void SinglePhaseFeed(const Workspace& ws, double* const* comps, const double* z, int32_t* states,
                     double* betas) {
    for (int i = 0; i < ws.ncomp; ++i) {
        comps[0][i] = z[i];
        comps[1][i] = comps[2][i] = 0.0;
    }
    states[0] = kVapour;
    states[1] = states[2] = kAbsent;
    betas[0] = 1.0;
    betas[1] = betas[2] = 0.0;
}

double SumOf(const double* x, int n) {
    double s = 0.0;
    for (int i = 0; i < n; ++i) s += x[i];
    return s;
}

// Equation-of-state (or vapour-pressure model) values of slot k for its
// composition.
void RefreshSlot(const Workspace& ws, int method, double t, double p, double* const* comps,
                 const int32_t* states, int k) {
    if (method == 3) {
        double* vp = ws.vp_parm;
        if (states[k] == kVapour) {
            vp[k] = 1.0;
            vp[3 + k] = kRgasEos * t / p;
        } else {
            vp[k] = p * vp[3 + k] / (kRgasEos * t);
        }
        return;
    }
    EosSetState(ws, method, t, p);
    double* par = EosPar(ws, method);
    EosMixSolve(ws, method, &par[kAmix + k], &par[kBmix + k], &par[kVmol + k], &par[kZfac + k],
                states[k] == kLiquid ? 1 : 0, comps[k], ws.eos.sumax);
}

// One phase left: it is the feed (the material balance exactly).
void SinglePhaseIsFeed(const Workspace& ws, int method, double t, double p, double* const* cs,
                       const int32_t* states, double* betas, int only) {
    const int n = ws.ncomp;
    const double zs = SumOf(cs[3], n);
    for (int i = 0; i < n; ++i) cs[only][i] = cs[3][i] / zs;
    for (int k = 0; k < 3; ++k) betas[k] = k == only ? 1.0 : 0.0;
    RefreshSlot(ws, method, t, p, cs, states, only);
}

double ExpLnK(double v) { return ClippedExp(v, kLnKLimit); }

// Step-change statistics of one liquid slot over an iteration.
struct StepStats {
    double max = 0.0, min = 0.0, s1 = 0.0, s2 = 0.0, m = 0.0;
};

double Spread(double mx, double mn) {
    return ClippedExp(mx < kLnKLimit ? mx : kLnKLimit) -
           ClippedExp(mn > -kLnKLimit ? mn : -kLnKLimit);
}

// Thresholds of the successive substitution.
constexpr double kTraceFeed = 1e-7;      // feed fraction left out of the initial estimates
constexpr double kPresent = 1e-12;       // fraction from which a component counts in a phase
constexpr double kNoChange = 1e-4;       // ln K step spread (or Z difference) taken as none
constexpr double kLiquidsAlike = 1e-4;   // composition difference of two liquids taken as one
constexpr double kVanishing = 1e-6;      // phase fraction of a vanishing phase
constexpr double kThirdPhase = 0.01;     // phase fraction below which a third phase may go
constexpr double kNearlyAll = 0.99;      // phase fraction of a phase holding nearly all
constexpr int kWatchFrom = 30;           // iteration from which a three-phase split may drop one
constexpr int kDropSmallestAfter = 125;  // iteration after which the smallest phase goes
constexpr int kVanishAfter = 3;          // iterations before a vanishing phase may go
constexpr int kCautiousUntil = 50;       // three phases: cautious acceleration before this
constexpr int kBoldFrom = 25;            // one phase nearly all: bolder acceleration after this
constexpr int kEarlyUntil = 8;           // iterations with the doubled step limit (three phases)
constexpr double kCapCautious = 3.0;     // acceleration factor caps
constexpr double kCapNormal = 10.0;
constexpr double kCapBold = 30.0;
constexpr double kStepLimit = 6.0;   // largest accelerated ln K step
constexpr double kTinySum = 1e-100;  // floor of the eigenvalue sums

// One flash: its arguments and the iteration's working arrays.
struct FlashRun {
    FlashRun(const Workspace& w, int m, int32_t fw, double tt, double pp, double* const* comps,
             double* z, int32_t* st, double* b)
        : ws(w),
          method(m),
          freeWater(fw),
          t(tt),
          p(pp),
          n(w.ncomp),
          cs{comps[0], comps[1], comps[2], z},
          states(st),
          betas(b),
          lnK1(w.flash.lnK1),
          lnK2(w.flash.lnK2),
          dl1(w.flash.step1),
          dl2(w.flash.step2),
          prev1(w.flash.prev1),
          prev2(w.flash.prev2) {}

    const Workspace& ws;
    int method;
    int32_t freeWater;
    double t, p;
    int n;
    double* cs[4];  // x0, x1, x2 and the working feed
    int32_t* states;
    double* betas;
    double *lnK1, *lnK2, *dl1, *dl2, *prev1, *prev2;
    double acc[3] = {1.0, 1.0, 1.0};  // acceleration factors of the liquids
    StepStats st[3];                  // this iteration's ln K steps of the liquids
    double maxd = 0.0, mind = 0.0;    // ... and of liquid 1 against liquid 2

    double* LnK(int ph) const { return ph == 1 ? lnK1 : lnK2; }
    double* Prev(int ph) const { return ph == 1 ? prev1 : prev2; }
    double* Step(int ph) const { return ph == 1 ? dl1 : dl2; }
    bool Has(int k) const { return states[k] != kAbsent; }
};

enum class Next { kStep, kRestart, kDone };

// Method 0: the feed as one liquid in slot 0.
void FeedAsOneLiquid(const Workspace& ws, double* const* comps, int32_t* states, double* betas) {
    for (int i = 0; i < ws.ncomp; ++i) {
        comps[0][i] = comps[3][i];
        comps[1][i] = comps[2][i] = MISSING;
    }
    states[0] = kLiquid;
    states[1] = states[2] = kAbsent;
    betas[0] = 1.0;
    betas[1] = betas[2] = 0.0;
}

// The working feed z (negative and non-finite fractions as absent); false
// when the method, state or feed cannot be flashed.
bool WorkingFeed(const Workspace& ws, int method, double t, double p, const double* zin,
                 double* z) {
    double zsum = 0.0;
    for (int i = 0; i < ws.ncomp; ++i) {
        z[i] = std::isfinite(zin[i]) && zin[i] > 0.0 ? zin[i] : 0.0;
        zsum += z[i];
    }
    return method >= 1 && method <= 3 && std::isfinite(t) && t > 0.0 && std::isfinite(p) &&
           p > 0.0 && std::isfinite(zsum) && zsum > 0.0;
}

// Empty phases and ln K, and the three slots assumed present.
void ClearIterates(FlashRun& r) {
    for (int i = 0; i < r.n; ++i) {
        r.cs[0][i] = r.cs[1][i] = r.cs[2][i] = 0.0;
        r.lnK1[i] = r.lnK2[i] = r.dl1[i] = r.dl2[i] = 0.0;
    }
    r.states[0] = kVapour;
    r.states[1] = kLiquid;
    r.states[2] = r.n > 1 ? kLiquid : kAbsent;
}

// Initial ln K from the feed without its traces, and starting fractions.
void InitialEstimates(FlashRun& r) {
    double* zt = r.ws.flash.feedTrimmed;
    for (int i = 0; i < r.n; ++i) zt[i] = r.cs[3][i] < kTraceFeed ? 0.0 : r.cs[3][i];
    double* ci[4] = {r.cs[0], r.cs[1], r.cs[2], zt};
    r.lnK1[0] = MISSING;
    KUpdate(r.ws, r.method, r.freeWater, r.t, r.p, ci, r.lnK1, r.lnK2, r.states);
    if (r.lnK1[0] == MISSING) r.lnK1[0] = 0.0;  // first component too small to estimate
    double* betas = r.betas;
    if (r.states[2] == kLiquid) {
        betas[0] = betas[2] = 0.33;
    } else {
        betas[0] = 0.5;
        betas[2] = 0.0;
    }
    betas[1] = 0.0;
}

// The estimates leave one phase: the feed is that phase, the others follow
// from the ln K. False when there is a split to iterate.
bool OnePhaseFromEstimates(FlashRun& r) {
    int32_t* states = r.states;
    double* betas = r.betas;
    double *x0 = r.cs[0], *x1 = r.cs[1], *x2 = r.cs[2];
    const double* z = r.cs[3];
    const double *lnK1 = r.lnK1, *lnK2 = r.lnK2;
    if (states[1] == kAbsent && states[2] == kAbsent) {
        states[0] = kVapour;
        betas[0] = 1.0;
        betas[1] = betas[2] = 0.0;
        for (int i = 0; i < r.n; ++i) {
            x0[i] = z[i];
            x1[i] = x0[i] / ExpLnK(lnK1[i]);
            x2[i] = x0[i] / ExpLnK(lnK2[i]);
        }
    } else if (states[0] == kAbsent && states[2] == kAbsent) {
        states[1] = kLiquid;
        betas[0] = betas[2] = 0.0;
        betas[1] = 1.0;
        for (int i = 0; i < r.n; ++i) {
            x1[i] = z[i];
            x0[i] = ExpLnK(lnK1[i]) * x1[i];
            x2[i] = x0[i] / ExpLnK(lnK2[i]);
        }
    } else if (states[0] == kAbsent && states[2] != kAbsent && states[1] == kAbsent) {
        states[2] = kLiquid;
        betas[0] = betas[1] = 0.0;
        betas[2] = 1.0;
        for (int i = 0; i < r.n; ++i) {
            x2[i] = z[i];
            x0[i] = ExpLnK(lnK2[i]) * x2[i];
            x1[i] = x0[i] / ExpLnK(lnK1[i]);
        }
    } else {
        return false;
    }
    return true;
}

// A vapour slot holding the aqueous phase: exchange slots 0 and 2.
void AqueousOutOfVapourSlot(FlashRun& r) {
    const int n = r.n;
    bool swap = !r.Has(0) && r.Has(2);
    if (r.Has(0) && r.Has(2))
        for (int i = 0; i < n && !swap; ++i)
            swap = r.lnK1[i] < -kLnKLimit && r.lnK2[i] < -kLnKLimit;
    if (!swap) return;
    SwapValues(r.betas[0], r.betas[2]);
    SwapValues(r.states[0], r.states[2]);
    SwapContents(r.cs[0], r.cs[2], n);
    for (int i = 0; i < n; ++i) {
        r.lnK1[i] -= r.lnK2[i];
        r.lnK2[i] = -r.lnK2[i];
        r.dl1[i] -= r.dl2[i];
        r.dl2[i] = -r.dl2[i];
    }
    r.acc[1] = r.acc[2] = 1.0;
}

// New ln K from the split's compositions, the previous ones kept.
void SubstitutionStep(FlashRun& r) {
    for (int i = 0; i < r.n; ++i) {
        r.prev1[i] = r.lnK1[i];
        r.prev2[i] = r.lnK2[i];
    }
    KUpdate(r.ws, r.method, r.freeWater, r.t, r.p, r.cs, r.lnK1, r.lnK2, r.states);
}

// The ln K steps of each present liquid and their statistics.
void StepStatistics(FlashRun& r, int it) {
    const int n = r.n;
    const double* z = r.cs[3];
    for (StepStats& s : r.st) s = StepStats{};
    for (int ph = 1; ph <= 2; ++ph) {
        if (!r.Has(ph)) continue;
        double* lnk = r.LnK(ph);
        const double* prev = r.Prev(ph);
        double* dl = r.Step(ph);
        const double* x = r.cs[ph];
        int counted = 0;
        for (int i = 0; i < n; ++i)
            if (z[i] < kPresent || std::fabs(lnk[i]) > kLnKLimit) ++counted;
        const bool all = counted == n;
        StepStats& s = r.st[ph];
        for (int i = 0; i < n; ++i) {
            bool usable;
            if (all) {
                usable = z[i] >= kZAbsent;
                if (usable) lnk[i] = Clip(lnk[i], -kLnKLimit, kLnKLimit);
            } else {
                usable = z[i] >= kPresent && std::fabs(lnk[i]) <= kLnKLimit;
            }
            if (!usable || !(z[i] >= kZAbsent)) {
                dl[i] = 0.0;
                continue;
            }
            const double d = lnk[i] - prev[i];
            if (x[i] >= kPresent) {
                if (d > s.max) s.max = d;
                if (d < s.min) s.min = d;
                if (it != 1) {
                    s.s1 += dl[i] * dl[i];
                    s.s2 += dl[i] * d;
                    if (std::fabs(d) > s.m) s.m = std::fabs(d);
                }
            }
            dl[i] = d;
        }
    }
}

// Three phases: the two liquids watched against each other; alike liquids
// merge, and a phase that stays small goes. True when the phase set changed.
bool ThreePhaseWatch(FlashRun& r, int it) {
    r.maxd = r.mind = 0.0;
    if (!(r.Has(0) && r.Has(1) && r.Has(2))) return false;
    const double *z = r.cs[3], *x1 = r.cs[1], *x2 = r.cs[2];
    int32_t* states = r.states;
    double* betas = r.betas;
    bool alike = true;
    for (int i = 0; i < r.n; ++i) {
        if (z[i] >= kPresent && std::fabs(r.lnK1[i] - r.lnK2[i]) <= kLnKLimit &&
            x1[i] >= kPresent && x2[i] >= kPresent) {
            const double dd = r.dl1[i] - r.dl2[i];
            if (dd > r.maxd) r.maxd = dd;
            if (dd < r.mind) r.mind = dd;
        }
        if (std::fabs(x1[i] - x2[i]) > kLiquidsAlike) alike = false;
    }
    if (alike) {
        const int gone = betas[1] < betas[2] ? 1 : 2;
        MergePhase(r.ws, r.cs, states, betas, 3 - gone, gone);
    }
    if (it < kWatchFrom) return alike;
    const StepStats* st = r.st;
    if (!(st[2].min < -kNoChange || r.maxd > kNoChange || betas[2] >= kThirdPhase)) {
        states[2] = kAbsent;
        return true;
    }
    if (!(st[1].max > kNoChange || st[2].max > kNoChange || betas[0] >= kThirdPhase)) {
        states[0] = kAbsent;
        return true;
    }
    if (!(st[1].min < -kNoChange || r.mind < -kNoChange || betas[1] >= kThirdPhase)) {
        states[1] = kAbsent;
        return true;
    }
    if (it > kDropSmallestAfter)
        for (int k = 2; k >= 0; --k)
            if (betas[k] < kVanishing) {
                states[k] = kAbsent;
                return true;
            }
    return alike;
}

// The ln K no longer move, or too few phases are left to split.
bool Converged(const FlashRun& r) {
    const bool s0 = r.Has(0), s1 = r.Has(1), s2 = r.Has(2);
    const double sp1 = Spread(r.st[1].max, r.st[1].min), sp2 = Spread(r.st[2].max, r.st[2].min);
    const double sp12 = Spread(r.maxd, r.mind);
    return (sp12 <= kNoChange && !s0) || (sp2 <= kNoChange && !s1) ||
           (sp1 <= kNoChange && (!s2 || (sp2 <= kNoChange && sp12 <= kNoChange))) ||
           (!s0 && (!s1 || !s2)) || (!s1 && !s2);
}

// Removes a phase whose fraction vanishes while its ln K hold still. True
// when the vapour slot is (now) empty: no acceleration this iteration.
bool RemoveVanishingPhase(FlashRun& r, int it) {
    const bool s0 = r.Has(0), s1 = r.Has(1), s2 = r.Has(2);
    const double* betas = r.betas;
    const StepStats* st = r.st;
    const bool vanishing = (s1 && betas[1] < kVanishing) || (s2 && betas[2] < kVanishing);
    if (s0 && betas[0] < kVanishing && st[1].max <= kNoChange && st[2].max <= kNoChange &&
        it > kVanishAfter && !vanishing) {
        r.states[0] = kAbsent;
        return true;
    }
    if (s1 && betas[1] < kVanishing && st[1].min >= -kNoChange && r.mind >= -kNoChange &&
        it > kVanishAfter)
        r.states[1] = kAbsent;
    else if (betas[2] < kVanishing && st[2].min >= -kNoChange && r.maxd <= kNoChange)
        r.states[2] = kAbsent;
    return !r.Has(0);
}

// Dominant-eigenvalue acceleration of each liquid's ln K.
void Accelerate(FlashRun& r, int it) {
    const double* betas = r.betas;
    const double* z = r.cs[3];
    const bool three = r.Has(1) && r.Has(2);
    const bool nearlyOne = betas[0] > kNearlyAll || betas[1] > kNearlyAll || betas[2] > kNearlyAll;
    for (int ph = 1; ph <= 2; ++ph) {
        if (!r.Has(ph)) continue;
        StepStats& s = r.st[ph];
        if (std::fabs(s.s1) < kTinySum) s.s1 = kTinySum;
        if (std::fabs(s.s2) < kTinySum) s.s2 = kTinySum;
        const double lambda = std::fmax(std::fabs(1.0 - s.s2 / s.s1), kTinySum);
        double cap = kCapNormal, mult = 1.0;
        if (three && it < kCautiousUntil) {
            cap = kCapCautious;
            mult = 2.0;
        } else if (nearlyOne && it > kBoldFrom) {
            cap = kCapBold;
        }
        double fmax = kStepLimit / (s.m + 1e-5);
        if (it < kEarlyUntil) fmax *= mult;
        double f = r.acc[ph] / lambda;
        if (fmax < f) f = fmax;
        if (cap < f) f = cap;
        r.acc[ph] = f;
        double* lnk = r.LnK(ph);
        const double* prev = r.Prev(ph);
        const double* dl = r.Step(ph);
        const double* x = r.cs[ph];
        // The factor is estimated from, and its step limit set by, the
        // components present in the phase (x >= 1e-12). A component
        // practically absent from it takes the plain substitution step:
        // its ln K may sit on an absence marker that the split cannot
        // reproduce (e.g. 115.15 against the split's exp limit of 50),
        // and an extrapolated step would throw it far outside the ln K
        // range.
        for (int i = 0; i < r.n; ++i)
            if (z[i] >= kZAbsent) lnk[i] = prev[i] + (x[i] >= kPresent ? f : 1.0) * dl[i];
    }
}

// One iteration: split, new ln K, phase-set changes, acceleration.
Next Iterate(FlashRun& r, int it) {
    PhaseSplit(r.ws, r.cs, r.lnK1, r.lnK2, r.states, r.betas);
    AqueousOutOfVapourSlot(r);
    SubstitutionStep(r);
    StepStatistics(r, it);
    if (it == 1) return Next::kStep;
    if (ThreePhaseWatch(r, it)) return Next::kRestart;
    if (Converged(r)) return Next::kDone;
    if (RemoveVanishingPhase(r, it)) return Next::kStep;
    Accelerate(r, it);
    return Next::kStep;
}

// Successive substitution up to the iteration limit; a changed phase set
// gets a fresh iteration budget.
void SuccessiveSubstitution(FlashRun& r) {
    for (int it = 1; it <= kFlashMaxIter;) {
        const Next next = Iterate(r, it);
        if (next == Next::kDone) return;
        it = next == Next::kRestart ? 1 : it + 1;
    }
}

// The only present slot, or -1 when there are more (or none).
int LonePhase(const int32_t* states) {
    int present = 0, only = 0;
    for (int k = 0; k < 3; ++k)
        if (states[k] != kAbsent) {
            ++present;
            only = k;
        }
    return present == 1 ? only : -1;
}

// Fractions of the present phases normalised; all in absent slots: the
// material in slot 0. A single phase is the feed.
void NormaliseFractions(FlashRun& r) {
    int32_t* states = r.states;
    double* betas = r.betas;
    double sum = 0.0;
    for (int k = 0; k < 3; ++k) {
        if (states[k] == kAbsent) betas[k] = 0.0;
        sum += betas[k];
    }
    if (sum != 0.0)
        for (int k = 0; k < 3; ++k) betas[k] /= sum;
    if (sum == 0.0 || !(r.Has(0) || r.Has(1) || r.Has(2))) {
        states[0] = kVapour;
        states[1] = states[2] = kAbsent;
    }
    const int only = LonePhase(states);
    if (only >= 0) SinglePhaseIsFeed(r.ws, r.method, r.t, r.p, r.cs, states, betas, only);
}

}  // namespace

void Flash(const Workspace& ws, int method, int32_t freeWater, double t, double p,
           double* const* comps, int32_t* states, double* betas) {
    if (method == 0) return FeedAsOneLiquid(ws, comps, states, betas);
    double* z = ws.flash.feed;
    if (!WorkingFeed(ws, method, t, p, comps[3], z))
        return SinglePhaseFeed(ws, comps, z, states, betas);
    FlashRun r(ws, method, freeWater, t, p, comps, z, states, betas);
    ClearIterates(r);
    InitialEstimates(r);
    if (!OnePhaseFromEstimates(r)) SuccessiveSubstitution(r);
    NormaliseFractions(r);
    FlashFinish(ws, method, freeWater, t, p, r.cs, states, betas);
    // Merging in the finish may leave one phase of a not fully converged
    // split: it is the feed as well.
    const int only = LonePhase(states);
    if (only >= 0) SinglePhaseIsFeed(ws, method, t, p, r.cs, states, betas, only);
}

}  // namespace vt
