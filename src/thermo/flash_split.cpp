// Phase-fraction solvers of the flash: the three-phase Rachford-Rice Newton
// iteration with its bisection fallback, and the two-phase Rachford-Rice.
#include <cmath>

#include "numerics/guards.h"
#include "thermo/flash.h"
#include "workspace/workspace.h"

namespace vt {

namespace {

constexpr double kZAbsent = 1e-30;

// K from ln K: exp of the clipped value inside the ln K range, 1e-99 / 1e99
// outside it.
double KFromLn(double lnk) {
    if (lnk < -kLnKLimit) return 1e-99;
    if (lnk > kLnKLimit) return 1e99;
    return ClippedExp(lnk);
}

double Bounded(double v, double lim) { return v > lim ? lim : (v < -lim ? -lim : v); }

double FloorMagnitude(double d, double floor) {
    if (std::fabs(d) >= floor) return d;
    return d < 0.0 ? -floor : floor;
}

// G1 rises with beta1 (beta0 taking up the change) and G2 with beta2:
// dG/dbeta = sum z (1 - 1/K)^2/den^2 >= 0. A positive residual therefore
// moves the upper end down, and without a root in the interval the search
// ends at the end the residual points to (a phase that is not there gets the
// fraction 0, not the whole feed).
//
// The searches below find the points a nested bisection finds, in far fewer
// residual evaluations: a flash whose Newton split keeps failing falls back
// on this at every iteration.

// The present components' feed fractions and reciprocal K-values, gathered
// once per split into work vectors 37 to 39.
struct SplitTerms {
    int m;
    double *z, *r1, *r2;
};

SplitTerms Gather(const Workspace& ws, const double* z, const double* k1, const double* k2) {
    SplitTerms t{0, ws.flash.splitTerms[0], ws.flash.splitTerms[1], ws.flash.splitTerms[2]};
    for (int i = 0; i < ws.ncomp; ++i) {
        if (!(z[i] > 0.0)) continue;
        t.z[t.m] = z[i];
        t.r1[t.m] = 1.0 / k1[i];
        t.r2[t.m] = 1.0 / k2[i];
        ++t.m;
    }
    return t;
}

// G1 and G2 at (b1, b2); with slope, also dG2/db2.
void Residuals(const SplitTerms& t, double b1, double b2, double* g1, double* g2,
               double* slope = nullptr) {
    const double b0 = Clip(1.0 - b1 - b2, 0.0, 1.0);
    double s1 = 0.0, s2 = 0.0, d2 = 0.0;
    for (int j = 0; j < t.m; ++j) {
        double den = b1 * t.r1[j] + b0 + b2 * t.r2[j];
        if (den < 1e-100) den = 1e-100;
        const double x0 = t.z[j] / den;
        const double c2 = 1.0 - t.r2[j];
        s1 += x0 * (1.0 - t.r1[j]);
        s2 += x0 * c2;
        if (slope) d2 += x0 * c2 * c2 / den;
    }
    *g1 = s1;
    *g2 = s2;
    if (slope) *slope = d2;
}

// beta2 in [0, 1 - beta1] where G2 turns positive: the ends first (no root
// inside gives the end the residual points to), then Newton steps from the
// estimate, kept inside the bracket that the signs leave and replaced by
// bisection where they would leave it.
double InnerSolve(const SplitTerms& t, double b1, double estimate, double tol) {
    double lo = 0.0, hi = 1.0 - b1, g1, g, slope;
    Residuals(t, b1, lo, &g1, &g);
    if (g > 0.0) return lo;
    Residuals(t, b1, hi, &g1, &g);
    if (!(g > 0.0)) return hi;
    double x = estimate > lo && estimate < hi ? estimate : 0.5 * (lo + hi);
    for (int k = 0; k < 200; ++k) {
        Residuals(t, b1, x, &g1, &g, &slope);
        if (g > 0.0) hi = x;
        else lo = x;
        if (hi - lo <= tol) break;
        double next = slope > 0.0 ? x - g / slope : lo - 1.0;
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (std::fabs(next - x) <= 0.5 * tol) {
            // A short Newton step says little far from the root (steep
            // terms make every step short): the sign change must lie within
            // half a tolerance of it.
            const double a = std::fmax(lo, next - 0.5 * tol), b = std::fmin(hi, next + 0.5 * tol);
            Residuals(t, b1, a, &g1, &g);
            if (g > 0.0) {
                hi = a;
            } else {
                lo = a;
                Residuals(t, b1, b, &g1, &g);
                if (g > 0.0) return next;
                lo = b;
            }
            next = 0.5 * (lo + hi);
        }
        x = next;
    }
    return 0.5 * (lo + hi);
}

// beta1 in [0, 1] where G1 (at the matching beta2) turns positive, to within
// tol: the bracket follows the sign as a bisection's does, its points from
// the Illinois variant of the false-position rule (Dowell & Jarratt, BIT 11
// (1971) 168), with a bisection whenever two points have not halved it.
double OuterSolve(const SplitTerms& t, double tol, double* b2) {
    double lo = 0.0, hi = 1.0, g1, g2;
    const auto g = [&](double b1) {
        *b2 = InnerSolve(t, b1, *b2, tol);
        Residuals(t, b1, *b2, &g1, &g2);
        return g1;
    };
    double glo = g(lo);
    if (glo > 0.0) return lo;
    double ghi = g(hi);
    if (!(ghi > 0.0)) return hi;
    int side = 0, slow = 0;
    double width = hi - lo;
    while (hi - lo > tol) {
        double x = lo - glo * (hi - lo) / (ghi - glo);
        if (slow >= 2 || !(x > lo && x < hi)) {
            x = 0.5 * (lo + hi);
            slow = 0;
        }
        const double gx = g(x);
        if (gx > 0.0) {
            hi = x;
            ghi = gx;
            if (side > 0) glo *= 0.5;
            side = 1;
        } else {
            lo = x;
            glo = gx;
            if (side < 0) ghi *= 0.5;
            side = -1;
        }
        if (hi - lo > 0.5 * width) {
            ++slow;
        } else {
            width = hi - lo;
            slow = 0;
        }
    }
    return 0.5 * (lo + hi);
}

}  // namespace

void SplitBisect(const Workspace& ws, double* const* comps, const double* k1, const double* k2,
                 double* beta1, double* beta2, double tol) {
    const SplitTerms t = Gather(ws, comps[3], k1, k2);
    double b2 = -1.0;  // no estimate yet
    *beta1 = OuterSolve(t, tol, &b2);
    *beta2 = InnerSolve(t, *beta1, b2, tol);
}

// Rachford & Rice (J. Petrol. Technol. 4 (1952) 19), safeguarded Newton on
// the bracket (-1, 2) with jumps that test the ends of [0, 1] first.
double RachfordRice2(const Workspace& ws, const double* z, double* k) {
    const int n = ws.ncomp;
    for (int i = 0; i < n; ++i)
        if (z[i] > kZAbsent) k[i] = Clip(k[i], 9.000000000000001e-101, 1.1e100);
    double beta = 0.5, lo = -1.0, hi = 2.0;
    for (int step = 1; step <= 1000; ++step) {
        double g = 0.0, h = 0.0;
        for (int i = 0; i < n; ++i) {
            if (!(z[i] > kZAbsent)) continue;
            const double km1 = k[i] - 1.0;
            // 1 + beta (K - 1), formed without the cancellation that loses a
            // K far below the rounding unit as beta approaches 1.
            const double den = (1.0 - beta) + beta * k[i];
            if (std::fabs(km1) > 1e51 * std::fabs(den)) continue;
            const double r = km1 / den;
            g -= z[i] * r;
            h += z[i] * r * r;
        }
        if (step >= 2 && (std::fabs(g) < 1e-7 || hi - lo < 1e-15)) {
            // Apply the pending Newton correction: the material balance of
            // the compositions then holds to rounding.
            if (h != 0.0) {
                const double nt = beta - g / h;
                if (nt >= lo && nt <= hi) beta = nt;
            }
            break;
        }
        bool jumped = false;
        if (g > 0.0) {
            hi = beta;
            if (beta - lo > 0.6) {
                beta -= 0.5;
                jumped = true;
            }
        } else {
            lo = beta;
            if (hi - beta > 0.6) {
                beta += 0.5;
                jumped = true;
            }
        }
        if (!jumped) {
            double next = 0.5 * (lo + hi);
            if (std::fabs(g) < 10.0 && h != 0.0) {
                const double nt = beta - g / h;
                if (nt > lo && nt < hi) next = nt;
            }
            beta = next;
        }
        if (beta < -1e-30) {
            if (step >= 3 || hi <= 0.0) return 0.0;
            beta = 0.0;
        } else if (beta > 1.0 + 1e-30) {
            if (step >= 3 || lo >= 1.0) return 1.0;
            beta = 1.0;
        }
    }
    return beta;
}

namespace {

double NonNegative(double v) { return v < 0.0 ? 0.0 : v; }

// Two-phase solution after phase `gone` (0, 1 or 2) has left the split.
void TwoPhaseRemainder(const Workspace& ws, const double* z, double* k1, double* k2, double* ratio,
                       int gone, double* b0, double* b2) {
    const int n = ws.ncomp;
    if (gone == 0) {
        for (int i = 0; i < n; ++i) ratio[i] = k2[i] < 1e-100 ? 1.1e100 : k1[i] / k2[i];
        *b0 = 0.0;
        *b2 = NonNegative(RachfordRice2(ws, z, ratio));
    } else if (gone == 1) {
        *b0 = NonNegative(RachfordRice2(ws, z, k2));
        *b2 = 1.0 - *b0;
    } else {
        *b2 = 0.0;
        *b0 = NonNegative(RachfordRice2(ws, z, k1));
    }
}

// Newton iteration on (beta0, beta2) of the three-phase Rachford-Rice
// equations. Returns false when the iteration limit is reached.
bool ThreePhaseNewton(const Workspace& ws, double* const* comps, double* k1, double* k2,
                      double* ratio, double* b0, double* b2) {
    const int n = ws.ncomp;
    const double* z = comps[3];
    double limit = 10.0;
    bool bisected = false;
    auto bisect = [&](double tol) {
        double bb1, bb2;
        SplitBisect(ws, comps, k1, k2, &bb1, &bb2, tol);
        *b2 = bb2;
        *b0 = Clip(1.0 - bb1 - bb2, 0.0, 1.0);
    };
    for (int iter = 1; iter <= kFlashMaxIter; ++iter) {
        const double b1 = 1.0 - *b0 - *b2;
        double f1 = 0.0, f2 = 0.0, j11 = 0.0, j12 = 0.0, j21 = 0.0, j22 = 0.0;
        for (int i = 0; i < n; ++i) {
            if (!(z[i] > 0.0)) continue;
            const double K1 = k1[i], K2 = k2[i];
            const double d = FloorMagnitude(K1 * K2 * *b0 + K2 * b1 + K1 * *b2, 1e-90);
            const double a1 = Bounded((K1 - 1.0) * K2 / d, 1e90);
            const double a2 = Bounded((K2 - 1.0) * K1 / d, 1e90);
            const double e2 = Bounded((K1 - K2) / d, 1e90);  // d(ln D)/d beta2
            f1 += z[i] * a1;
            f2 += z[i] * a2;
            j11 -= z[i] * a1 * a1;
            j12 -= z[i] * a1 * e2;
            j21 -= z[i] * a2 * a1;
            j22 -= z[i] * a2 * e2;
        }
        const double res = std::fabs(f1) + std::fabs(f2);
        const double det = j11 * j22 - j12 * j21;
        const double d0 = -(j22 * f1 - j12 * f2) / det;
        const double d2 = -(j11 * f2 - j21 * f1) / det;
        if (res < 1e-6) {
            // Converged: take the last Newton correction when it stays inside.
            const double nb0 = *b0 + d0, nb2 = *b2 + d2;
            if (std::isfinite(nb0) && std::isfinite(nb2) && nb0 >= 0.0 && nb2 >= 0.0 &&
                nb0 + nb2 <= 1.0) {
                *b0 = nb0;
                *b2 = nb2;
            }
            return true;
        }
        if (!(res <= limit)) {
            if (!bisected) {
                bisect(0.001);
                limit = res;
                bisected = true;
                continue;
            }
            bisect(1e-15);
            return true;
        }
        if (det == 0.0 || !std::isfinite(d0) || !std::isfinite(d2)) {
            bisect(1e-15);
            return true;
        }
        const double d1 = -(d0 + d2);
        // Shorten the step to keep all three fractions in [0, 1].
        double t = 1.0;
        int bound = -1;
        const double cur[3] = {*b0, b1, *b2};
        const double dir[3] = {d0, d1, d2};
        for (int k = 0; k < 3; ++k) {
            double tk = 1.0;
            if (cur[k] + dir[k] < 0.0 && dir[k] < 0.0) tk = -cur[k] / dir[k];
            else if (cur[k] + dir[k] > 1.0 && dir[k] > 0.0) tk = (1.0 - cur[k]) / dir[k];
            if (tk < t) {
                t = tk;
                bound = cur[k] + dir[k] < 0.0 ? k : -1;
            }
        }
        if (t < 0.0) t = 0.0;
        const double len = t * std::fmax(std::fabs(d0), std::fabs(d2));
        if (t < 1.0 && len < 1e-6 && bound >= 0) {
            TwoPhaseRemainder(ws, z, k1, k2, ratio, bound, b0, b2);
            return true;
        }
        const double nb0 = *b0 + t * d0, nb2 = *b2 + t * d2;
        const bool stalled = std::fabs(nb0 - *b0) <= 1e-15 && std::fabs(nb2 - *b2) <= 1e-15;
        *b0 = nb0;
        *b2 = nb2;
        if (stalled) {
            bisect(1e-15);
            return true;
        }
    }
    return false;
}

void Normalise(double* x, int n) {
    double sum = 0.0;
    for (int i = 0; i < n; ++i) sum += x[i];
    if (!(sum > 0.0)) return;
    for (int i = 0; i < n; ++i) {
        x[i] /= sum;
        if (x[i] < 0.0) x[i] = 0.0;
    }
}

}  // namespace

int PhaseSplit(const Workspace& ws, double* const* comps, double* lnK1, double* lnK2,
               const int32_t* states, double* betas) {
    const int n = ws.ncomp;
    double* x0 = comps[0];
    double* x1 = comps[1];
    double* x2 = comps[2];
    const double* z = comps[3];
    double* ratio = ws.flash.splitRatio;
    double* k1 = ws.flash.splitK1;
    double* k2 = ws.flash.splitK2;
    for (int i = 0; i < n; ++i) {
        k1[i] = KFromLn(lnK1[i]);
        k2[i] = KFromLn(lnK2[i]);
    }
    double b0 = betas[0] > 0.01 ? betas[0] : 0.01;
    double b2 = betas[2] > 0.01 ? betas[2] : 0.01;
    if (b0 + b2 > 0.99) {
        if (b0 >= b2) b0 = 0.99 - b2;
        else b2 = 0.99 - b0;
    }
    const bool st0 = states[0] != 0, st1 = states[1] != 0, st2 = states[2] != 0;
    const double cur2 = betas[2];
    int status = 0;
    if (!st2) {
        b0 = st0 && st1 ? NonNegative(RachfordRice2(ws, z, k1)) : (st0 ? 1.0 : 0.0);
        b2 = 0.0;
    } else if (!st1) {
        if (!st0) {
            b2 = 1.0;
            b0 = 0.0;
        } else if (cur2 >= 1e-6) {
            b0 = NonNegative(RachfordRice2(ws, z, k2));
            b2 = 1.0 - b0;
        } else {
            // A vanished aqueous phase comes back when its K-values call for
            // it (a vapour-aqueous split inside (0, 1)); otherwise it stays
            // at its fraction.
            const double bv = RachfordRice2(ws, z, k2);
            if (bv > 0.0 && bv < 1.0) {
                b0 = bv;
                b2 = 1.0 - bv;
            } else {
                b0 = NonNegative(RachfordRice2(ws, z, k1));
                b2 = cur2;
            }
        }
    } else if (!st0) {
        if (cur2 >= 1e-6 && cur2 <= 1.0 - 1e-6) {
            for (int i = 0; i < n; ++i) ratio[i] = k2[i] < 1e-100 ? 1.1e100 : k1[i] / k2[i];
            b2 = NonNegative(RachfordRice2(ws, z, ratio));
            b0 = 0.0;
        } else if (cur2 > 1.0 - 1e-6) {
            b0 = NonNegative(RachfordRice2(ws, z, k2));
            b2 = 1.0 - b0;
        } else {
            b0 = NonNegative(RachfordRice2(ws, z, k1));
            b2 = cur2;
        }
    } else if (!ThreePhaseNewton(ws, comps, k1, k2, ratio, &b0, &b2)) {
        status = -3;
    }

    const double b1 = Clip(1.0 - b0 - b2, 0.0, 1.0);
    betas[0] = b0;
    betas[1] = b1;
    betas[2] = b2;
    for (int i = 0; i < n; ++i) {
        if (!(z[i] >= kZAbsent)) {
            x0[i] = x1[i] = x2[i] = 0.0;
            continue;
        }
        double den = b1 / k1[i] + b0 + b2 / k2[i];
        if (den < 1e-100) den = 1e-100;
        x0[i] = NonNegative(z[i] / den);
        if (st1) x1[i] = x0[i] / k1[i];
        if (st2) x2[i] = x0[i] / k2[i];
    }
    Normalise(x0, n);
    Normalise(x1, n);
    Normalise(x2, n);
    for (int i = 0; i < n; ++i) {
        const double l0 = std::log(x0[i] > 1e-100 ? x0[i] : 1e-100);
        lnK1[i] = l0 - std::log(x1[i] > 1e-100 ? x1[i] : 1e-100);
        if (st2) lnK2[i] = l0 - std::log(x2[i] > 1e-100 ? x2[i] : 1e-100);
    }
    return status;
}

}  // namespace vt
