#include "props/search.h"

#include <cmath>

#include "numerics/guards.h"
#include "thermo/eos.h"
#include "thermo/flash.h"
#include "thermo/phase_props.h"
#include "workspace/workspace.h"

namespace vt {

void SearchStep(double* x, double f, double target, double* lower, double* upper, double* xprev,
                double* fprev, double step, double dir) {
    double d = target - f;
    if (d == 0.0) d = f == *fprev ? dir : *fprev - target;
    d *= dir;
    const double x0 = *x;
    if (d < 0.0) {
        *upper = x0;
        if (x0 - *lower > 1.1 * step) {
            if (f != target) {
                *xprev = x0;
                *fprev = f;
            }
            *x = x0 - step;
            return;
        }
    } else {
        *lower = x0;
        if (*upper - x0 > 1.1 * step) {
            if (f != target) {
                *xprev = x0;
                *fprev = f;
            }
            *x = x0 + step;
            return;
        }
    }
    // Bracketed: secant inside the central 98 %, else bisection.
    const double width = *upper - *lower;
    double next = 0.5 * (*lower + *upper);
    if (*fprev != f && width > 0.0) {
        const double xs = x0 + (*xprev - x0) * (target - f) / (*fprev - f);
        const double rel = (xs - *lower) / width;
        if (rel >= 0.01 && rel <= 0.99) next = xs;
    }
    if (*fprev == target || (std::fabs(*fprev - target) > std::fabs(f - target) && f != target)) {
        *xprev = x0;
        *fprev = f;
    }
    *x = next;
}

int32_t IsTrivialSplit(const Workspace& ws, const double* a, const double* b) {
    const int n = ws.ncomp;
    bool same = true;
    for (int i = 0; i < n && same; ++i) {
        if (!(b[i] > 0.0)) continue;
        const double r = a[i] / b[i];
        if (!(r > 0.995 && r < 1.005)) same = false;
    }
    if (same) return 1;
    // The same pure phase on both sides.
    for (int i = 0; i < n; ++i)
        if (a[i] > 0.0 && b[i] > 0.0 && std::fabs(a[i] - 1.0) < 1e-8 && std::fabs(b[i] - 1.0) < 1e-8)
            return 1;
    return 0;
}

double ClampPhaseFraction(double fraction, double slack) {
    if (fraction > 1.0 + slack || fraction < -slack) return MISSING;
    if (fraction > 1.0) return 1.0;
    return fraction;
}

namespace {

// One end of a collapsed bracket: its phases and the overall value.
struct EndState {
    int32_t ph[3];
    double frac[3];
    double* x[3];  // compositions, in workspace vectors
    double q;
};

struct Blend {
    int method, freeWater, hmethod;
    double t, p;
    double* const* comps;
    int32_t* phases;
    double *frac, *h, *s, *cp, *v;
    int which;
};

void EvaluateEnd(const Workspace& ws, Blend& b, double xv, int overt, EndState& e) {
    const double t = overt ? xv : b.t;
    const double p = overt ? b.p : ClippedExp(xv);
    Flash(ws, b.method, b.freeWater, t, p, b.comps, b.phases, b.frac);
    PhaseProperties(ws, b.method, b.hmethod, t, p, b.comps, b.phases, b.frac, b.h, b.s, b.cp, b.v);
    for (int k = 0; k < 3; ++k) {
        e.ph[k] = b.phases[k];
        e.frac[k] = b.frac[k];
        for (int i = 0; i < ws.ncomp; ++i) e.x[k][i] = b.comps[k][i];
    }
    e.q = b.which ? b.h[3] : b.s[3];
}

double Distance(const Workspace& ws, const double* a, const double* c) {
    double d = 0.0;
    for (int i = 0; i < ws.ncomp; ++i) d += std::fabs(a[i] - c[i]);
    return d;
}

// slotOf[k]: the blended slot that phase k of the second end joins.
void MatchPhases(const Workspace& ws, const EndState& a, const EndState& b, int* slotOf) {
    int na = 0, nb = 0;
    for (int k = 0; k < 3; ++k) {
        na += a.ph[k] != 0;
        nb += b.ph[k] != 0;
    }
    bool used[3] = {false, false, false};
    for (int k = 0; k < 3; ++k) {
        slotOf[k] = k;
        if (!b.ph[k]) continue;
        int best = -1;
        double dmin = 1e20;
        for (int m = 0; m < 3; ++m) {
            if (!a.ph[m] || used[m]) continue;
            const double d = Distance(ws, a.x[m], b.x[k]);
            if (d < dmin) {
                dmin = d;
                best = m;
            }
        }
        // A distinct phase keeps a slot of its own when that slot is free:
        // one end with more phases and no close match, or a vapour meeting
        // only a liquid (and the reverse).
        const bool otherKind = best >= 0 && (a.ph[best] == kVapour) != (b.ph[k] == kVapour);
        const bool distinct = !a.ph[k] && ((nb > na && dmin > 0.001) || otherKind);
        if (best >= 0 && !distinct) {
            slotOf[k] = best;
            used[best] = true;
        }
    }
}

// The blended state of weight lambda on the second end, evaluated at the
// current T and P; returns its overall enthalpy or entropy.
double MixtureSpecValue(const Workspace& ws, Blend& b, const EndState& e1, const EndState& e2,
                        const int* slotOf, double lambda) {
    const int n = ws.ncomp;
    double amount[3] = {0.0, 0.0, 0.0};
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < n; ++i) b.comps[k][i] = 0.0;
    auto add = [&](const EndState& e, int k, int slot, double w) {
        const double a = w * e.frac[k];
        if (!e.ph[k] || a <= 0.0) return;
        for (int i = 0; i < n; ++i) b.comps[slot][i] += a * e.x[k][i];
        amount[slot] += a;
    };
    for (int k = 0; k < 3; ++k) {
        add(e1, k, k, 1.0 - lambda);
        add(e2, k, slotOf[k], lambda);
    }
    for (int k = 0; k < 3; ++k) {
        b.frac[k] = amount[k];
        b.phases[k] = amount[k] > 0.0 ? (k == 0 ? kVapour : kLiquid) : kAbsent;
        if (amount[k] > 0.0)
            for (int i = 0; i < n; ++i) b.comps[k][i] /= amount[k];
    }
    PhaseProperties(ws, b.method, b.hmethod, b.t, b.p, b.comps, b.phases, b.frac, b.h, b.s, b.cp,
                    b.v);
    return b.which ? b.h[3] : b.s[3];
}

bool Encloses(double qa, double qb, double target) {
    return (qa - target) * (qb - target) <= 0.0;
}

}  // namespace

int32_t BoundaryInterpolation(const Workspace& ws, int method, int32_t freeWater, int hmethod,
                              double* t, double* p, double target, double* const* comps,
                              int32_t* phases, double* frac, double* h, double* s, double* cp,
                              double* v, double lower, double upper, int32_t which, int32_t overt) {
    Blend b{method, freeWater, hmethod, *t, *p, comps, phases, frac, h, s, cp, v, which};
    EndState e1{}, e2{};
    for (int k = 0; k < 3; ++k) {
        e1.x[k] = ws.prop3.ends[k];
        e2.x[k] = ws.prop3.ends[3 + k];
    }
    double lo = lower, hi = upper;
    EvaluateEnd(ws, b, lo, overt, e1);
    EvaluateEnd(ws, b, hi, overt, e2);
    // Further pairs: the current state moved to the midpoint, the upper and
    // the lower end; then the bracket widened twice.
    for (int attempt = 2; attempt <= 6 && !Encloses(e1.q, e2.q, target); ++attempt) {
        if (attempt == 2) {
            EvaluateEnd(ws, b, 0.5 * (lo + hi), overt, e2);
        } else if (attempt == 3) {
            EvaluateEnd(ws, b, hi, overt, e2);
        } else if (attempt == 4) {
            EvaluateEnd(ws, b, lo, overt, e1);
        } else {
            const double widen = attempt == 5 ? 1e-7 : 1e-5;
            lo -= widen;
            hi += widen;
            EvaluateEnd(ws, b, lo, overt, e1);
            EvaluateEnd(ws, b, hi, overt, e2);
        }
    }
    int slotOf[3];
    MatchPhases(ws, e1, e2, slotOf);
    double den = e2.q - e1.q;
    if (std::fabs(den) < 1e-30) den = den < 0.0 ? -1e-30 : 1e-30;
    const double lambda0 = Clip((target - e1.q) / den, 0.0, 1.0);
    const double tolq = which ? 0.1 : 0.01;
    double q = MixtureSpecValue(ws, b, e1, e2, slotOf, lambda0);
    if (std::fabs(q - target) < tolq) return 1;
    double lam = lambda0, lamLo = 0.0, lamHi = 1.0, lamPrev = lambda0, qPrev = -1e30;
    const double dir = e2.q > e1.q ? 1.0 : -1.0;
    for (int k = 0; k < 30; ++k) {
        SearchStep(&lam, q, target, &lamLo, &lamHi, &lamPrev, &qPrev, 0.2, dir);
        lam = Clip(lam, 0.0, 1.0);
        q = MixtureSpecValue(ws, b, e1, e2, slotOf, lam);
        if (std::fabs(q - target) < tolq) return 1;
    }
    return 0;
}

}  // namespace vt
