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
    return ClippedExp(mx < kLnKLimit ? mx : kLnKLimit) - ClippedExp(mn > -kLnKLimit ? mn : -kLnKLimit);
}

}  // namespace

void Flash(const Workspace& ws, int method, int32_t freeWater, double t, double p,
           double* const* comps, int32_t* states, double* betas) {
    const int n = ws.ncomp;
    double* x0 = comps[0];
    double* x1 = comps[1];
    double* x2 = comps[2];
    const double* zin = comps[3];
    if (method == 0) {
        for (int i = 0; i < n; ++i) {
            x0[i] = zin[i];
            x1[i] = x2[i] = MISSING;
        }
        states[0] = kLiquid;
        states[1] = states[2] = kAbsent;
        betas[0] = 1.0;
        betas[1] = betas[2] = 0.0;
        return;
    }
    // Working feed: negative and non-finite fractions count as absent.
    double* z = ws.flash.feed;
    double zsum = 0.0;
    for (int i = 0; i < n; ++i) {
        z[i] = std::isfinite(zin[i]) && zin[i] > 0.0 ? zin[i] : 0.0;
        zsum += z[i];
    }
    const bool sane = method >= 1 && method <= 3 && std::isfinite(t) && t > 0.0 &&
                      std::isfinite(p) && p > 0.0 && std::isfinite(zsum) && zsum > 0.0;
    if (!sane) {
        SinglePhaseFeed(ws, comps, z, states, betas);
        return;
    }
    double* cs[4] = {x0, x1, x2, z};
    double* lnK1 = ws.flash.lnK1;
    double* lnK2 = ws.flash.lnK2;
    double* dl1 = ws.flash.step1;
    double* dl2 = ws.flash.step2;
    double* prev1 = ws.flash.prev1;
    double* prev2 = ws.flash.prev2;
    for (int i = 0; i < n; ++i) {
        x0[i] = x1[i] = x2[i] = 0.0;
        lnK1[i] = lnK2[i] = dl1[i] = dl2[i] = 0.0;
    }
    states[0] = kVapour;
    states[1] = kLiquid;
    states[2] = n > 1 ? kLiquid : kAbsent;
    double acc[3] = {1.0, 1.0, 1.0};

    // Initial estimates from the feed without its traces.
    double* zt = ws.flash.feedTrimmed;
    for (int i = 0; i < n; ++i) zt[i] = z[i] < 1e-7 ? 0.0 : z[i];
    double* ci[4] = {x0, x1, x2, zt};
    lnK1[0] = MISSING;
    KUpdate(ws, method, freeWater, t, p, ci, lnK1, lnK2, states);
    if (lnK1[0] == MISSING) lnK1[0] = 0.0;  // first component too small to estimate

    if (states[2] == kLiquid) {
        betas[0] = betas[2] = 0.33;
    } else {
        betas[0] = 0.5;
        betas[2] = 0.0;
    }
    betas[1] = 0.0;

    bool shortcut = true;
    if (states[1] == kAbsent && states[2] == kAbsent) {
        states[0] = kVapour;
        betas[0] = 1.0;
        betas[1] = betas[2] = 0.0;
        for (int i = 0; i < n; ++i) {
            x0[i] = z[i];
            x1[i] = x0[i] / ExpLnK(lnK1[i]);
            x2[i] = x0[i] / ExpLnK(lnK2[i]);
        }
    } else if (states[0] == kAbsent && states[2] == kAbsent) {
        states[1] = kLiquid;
        betas[0] = betas[2] = 0.0;
        betas[1] = 1.0;
        for (int i = 0; i < n; ++i) {
            x1[i] = z[i];
            x0[i] = ExpLnK(lnK1[i]) * x1[i];
            x2[i] = x0[i] / ExpLnK(lnK2[i]);
        }
    } else if (states[0] == kAbsent && states[2] != kAbsent && states[1] == kAbsent) {
        states[2] = kLiquid;
        betas[0] = betas[1] = 0.0;
        betas[2] = 1.0;
        for (int i = 0; i < n; ++i) {
            x2[i] = z[i];
            x0[i] = ExpLnK(lnK2[i]) * x2[i];
            x1[i] = x0[i] / ExpLnK(lnK1[i]);
        }
    } else {
        shortcut = false;
    }

    for (int it = 1; !shortcut && it <= kFlashMaxIter; ++it) {
        PhaseSplit(ws, cs, lnK1, lnK2, states, betas);

        // A vapour slot holding the aqueous phase: exchange slots 0 and 2.
        bool swap = states[0] == kAbsent && states[2] != kAbsent;
        if (states[0] != kAbsent && states[2] != kAbsent)
            for (int i = 0; i < n && !swap; ++i)
                swap = lnK1[i] < -kLnKLimit && lnK2[i] < -kLnKLimit;
        if (swap) {
            SwapValues(betas[0], betas[2]);
            SwapValues(states[0], states[2]);
            SwapContents(x0, x2, n);
            for (int i = 0; i < n; ++i) {
                lnK1[i] -= lnK2[i];
                lnK2[i] = -lnK2[i];
                dl1[i] -= dl2[i];
                dl2[i] = -dl2[i];
            }
            acc[1] = acc[2] = 1.0;
        }

        for (int i = 0; i < n; ++i) {
            prev1[i] = lnK1[i];
            prev2[i] = lnK2[i];
        }
        KUpdate(ws, method, freeWater, t, p, cs, lnK1, lnK2, states);

        StepStats st[3];
        for (int ph = 1; ph <= 2; ++ph) {
            if (states[ph] == kAbsent) continue;
            double* lnk = ph == 1 ? lnK1 : lnK2;
            const double* prev = ph == 1 ? prev1 : prev2;
            double* dl = ph == 1 ? dl1 : dl2;
            const double* x = cs[ph];
            int counted = 0;
            for (int i = 0; i < n; ++i)
                if (z[i] < 1e-12 || std::fabs(lnk[i]) > kLnKLimit) ++counted;
            const bool all = counted == n;
            StepStats& s = st[ph];
            for (int i = 0; i < n; ++i) {
                bool usable;
                if (all) {
                    usable = z[i] >= kZAbsent;
                    if (usable) lnk[i] = Clip(lnk[i], -kLnKLimit, kLnKLimit);
                } else {
                    usable = z[i] >= 1e-12 && std::fabs(lnk[i]) <= kLnKLimit;
                }
                if (!usable || !(z[i] >= kZAbsent)) {
                    dl[i] = 0.0;
                    continue;
                }
                const double d = lnk[i] - prev[i];
                if (x[i] >= 1e-12) {
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
        if (it == 1) continue;

        // Three phases: watch the two liquids against each other.
        double maxd = 0.0, mind = 0.0;
        if (states[0] != kAbsent && states[1] != kAbsent && states[2] != kAbsent) {
            bool alike = true;
            for (int i = 0; i < n; ++i) {
                if (z[i] >= 1e-12 && std::fabs(lnK1[i] - lnK2[i]) <= kLnKLimit && x1[i] >= 1e-12 &&
                    x2[i] >= 1e-12) {
                    const double dd = dl1[i] - dl2[i];
                    if (dd > maxd) maxd = dd;
                    if (dd < mind) mind = dd;
                }
                if (std::fabs(x1[i] - x2[i]) > 1e-4) alike = false;
            }
            if (alike) {
                const int gone = betas[1] < betas[2] ? 1 : 2;
                MergePhase(ws, cs, states, betas, 3 - gone, gone);
            }
            bool reset = alike;
            if (it >= 30) {
                if (!(st[2].min < -1e-4 || maxd > 1e-4 || betas[2] >= 0.01)) {
                    states[2] = kAbsent;
                    reset = true;
                } else if (!(st[1].max > 1e-4 || st[2].max > 1e-4 || betas[0] >= 0.01)) {
                    states[0] = kAbsent;
                    reset = true;
                } else if (!(st[1].min < -1e-4 || mind < -1e-4 || betas[1] >= 0.01)) {
                    states[1] = kAbsent;
                    reset = true;
                } else if (it > 125) {
                    for (int k = 2; k >= 0; --k)
                        if (betas[k] < 1e-6) {
                            states[k] = kAbsent;
                            reset = true;
                            break;
                        }
                }
            }
            if (reset) {
                it = 0;  // a changed phase set gets a fresh iteration budget
                continue;
            }
        }

        const bool s0 = states[0] != kAbsent, s1 = states[1] != kAbsent, s2 = states[2] != kAbsent;
        const double sp1 = Spread(st[1].max, st[1].min), sp2 = Spread(st[2].max, st[2].min);
        const double sp12 = Spread(maxd, mind);
        if ((sp12 <= 1e-4 && !s0) || (sp2 <= 1e-4 && !s1) ||
            (sp1 <= 1e-4 && (!s2 || (sp2 <= 1e-4 && sp12 <= 1e-4))) || (!s0 && (!s1 || !s2)) ||
            (!s1 && !s2))
            break;

        // Vanishing phases.
        const bool vanishing = (s1 && betas[1] < 1e-6) || (s2 && betas[2] < 1e-6);
        if (s0 && betas[0] < 1e-6 && st[1].max <= 1e-4 && st[2].max <= 1e-4 && it > 3 &&
            !vanishing) {
            states[0] = kAbsent;
            continue;
        }
        if (s1 && betas[1] < 1e-6 && st[1].min >= -1e-4 && mind >= -1e-4 && it > 3)
            states[1] = kAbsent;
        else if (betas[2] < 1e-6 && st[2].min >= -1e-4 && maxd <= 1e-4)
            states[2] = kAbsent;
        if (states[0] == kAbsent) continue;

        // Dominant-eigenvalue acceleration of each liquid's ln K.
        const bool three = states[1] != kAbsent && states[2] != kAbsent;
        const bool nearlyOne = betas[0] > 0.99 || betas[1] > 0.99 || betas[2] > 0.99;
        for (int ph = 1; ph <= 2; ++ph) {
            if (states[ph] == kAbsent) continue;
            StepStats& s = st[ph];
            if (std::fabs(s.s1) < 1e-100) s.s1 = 1e-100;
            if (std::fabs(s.s2) < 1e-100) s.s2 = 1e-100;
            const double lambda = std::fmax(std::fabs(1.0 - s.s2 / s.s1), 1e-100);
            double cap = 10.0, mult = 1.0;
            if (three && it < 50) {
                cap = 3.0;
                mult = 2.0;
            } else if (nearlyOne && it > 25) {
                cap = 30.0;
            }
            double fmax = 6.0 / (s.m + 1e-5);
            if (it < 8) fmax *= mult;
            double f = acc[ph] / lambda;
            if (fmax < f) f = fmax;
            if (cap < f) f = cap;
            acc[ph] = f;
            double* lnk = ph == 1 ? lnK1 : lnK2;
            const double* prev = ph == 1 ? prev1 : prev2;
            const double* dl = ph == 1 ? dl1 : dl2;
            const double* x = cs[ph];
            // The factor is estimated from, and its step limit set by, the
            // components present in the phase (x >= 1e-12). A component
            // practically absent from it takes the plain substitution step:
            // its ln K may sit on an absence marker that the split cannot
            // reproduce (e.g. 115.15 against the split's exp limit of 50),
            // and an extrapolated step would throw it far outside the ln K
            // range.
            for (int i = 0; i < n; ++i)
                if (z[i] >= kZAbsent) lnk[i] = prev[i] + (x[i] >= 1e-12 ? f : 1.0) * dl[i];
        }
    }

    double sum = 0.0;
    for (int k = 0; k < 3; ++k) {
        if (states[k] == kAbsent) betas[k] = 0.0;
        sum += betas[k];
    }
    if (sum != 0.0)
        for (int k = 0; k < 3; ++k) betas[k] /= sum;
    int present = 0, only = 0;
    for (int k = 0; k < 3; ++k)
        if (states[k] != kAbsent) {
            ++present;
            only = k;
        }
    if (sum == 0.0 || present == 0) {
        // Every fraction went to absent slots: keep the material in slot 0.
        only = 0;
        states[0] = kVapour;
        states[1] = states[2] = kAbsent;
        present = 1;
    }
    if (present == 1) SinglePhaseIsFeed(ws, method, t, p, cs, states, betas, only);
    FlashFinish(ws, method, freeWater, t, p, cs, states, betas);
    // Merging in the finish may leave one phase of a not fully converged
    // split: it is the feed as well.
    present = 0;
    for (int k = 0; k < 3; ++k)
        if (states[k] != kAbsent) {
            ++present;
            only = k;
        }
    if (present == 1) SinglePhaseIsFeed(ws, method, t, p, cs, states, betas, only);
}

}  // namespace vt
