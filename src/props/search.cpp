#include "props/search.h"

#include <cmath>

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

int32_t SameComposition(const double* a, const double* b) {
    const int n = g_ws.ncomp;
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

double CompositionMolWeight(const double* x) {
    double m = 0.0;
    for (int i = 0; i < g_ws.ncomp; ++i) m += x[i] * g_ws.cd[i].mw;
    return m;
}

double ClampPhaseFraction(double fraction, double slack) {
    if (fraction > 1.0 + slack || fraction < -slack) return MISSING;
    if (fraction > 1.0) return 1.0;
    return fraction;
}

}  // namespace vt
