// The one-dimensional search of the stream-property driver and its helpers:
// the step rule, the trivial-split test, a composition's molecular weight,
// the acceptance of a lever-rule fraction and the interpolation across a
// property jump.
#pragma once
#include <cstdint>

namespace vt {

// One step of x towards f = target: fixed steps of `step` until the root is
// bracketed in (lower, upper), then a secant step inside the central 98 %
// of the bracket, else bisection. dir is +1 when f rises with x, -1 when it
// falls. Keeps the better of the last two points in (xprev, fprev).
void SearchStep(double* x, double f, double target, double* lower, double* upper, double* xprev,
                double* fprev, double step, double dir);

// 1 when the two compositions are the same (a trivial split), else 0.
int32_t SameComposition(const double* a, const double* b);

// sum x_i mw_i, as given (no normalisation, no MISSING check).
double CompositionMolWeight(const double* x);

// A lever-rule fraction: MISSING outside [-slack, 1 + slack], 1 above 1,
// otherwise unchanged.
double ClampPhaseFraction(double fraction, double slack);

}  // namespace vt
