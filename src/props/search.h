// The one-dimensional search of the stream-property driver and its helpers:
// the step rule, the trivial-split test,
// the acceptance of a lever-rule fraction and the interpolation across a
// property jump.
#pragma once
#include <cstdint>
#include "workspace/workspace.h"

namespace vt {

// One step of x towards f = target: fixed steps of `step` until the root is
// bracketed in (lower, upper), then a secant step inside the central 98 %
// of the bracket, else bisection. dir is +1 when f rises with x, -1 when it
// falls. Keeps the better of the last two points in (xprev, fprev).
void SearchStep(double* x, double f, double target, double* lower, double* upper, double* xprev,
                double* fprev, double step, double dir);

// 1 when two phase compositions are one phase (a trivial split): every
// fraction within 0.5 % of the other's, or the same pure component; else 0.
int32_t IsTrivialSplit(const Workspace& ws, const double* a, const double* b);

// A lever-rule fraction: MISSING outside [-slack, 1 + slack], 1 above 1,
// otherwise unchanged.
double ClampPhaseFraction(double fraction, double slack);

// When an enthalpy (which = 1) or entropy (which = 0) search has closed its
// bracket [lower, upper] (in T when overt = 1, in ln P otherwise) on a jump
// of the property: blends the phases of the two ends, by the weight that
// meets `target`, into one state at the current *t, *p, written to the
// output arrays. 1 when the target is met, 0 when not.
int32_t BoundaryInterpolation(const Workspace& ws, int method, int32_t freeWater, int hmethod,
                              double* t, double* p, double target, double* const* comps,
                              int32_t* phases, double* frac, double* h, double* s, double* cp,
                              double* v, double lower, double upper, int32_t which, int32_t overt);

}  // namespace vt
