// Isothermal three-phase flash: vapour (slot 0), hydrocarbon liquid (slot 1)
// and aqueous liquid (slot 2), with K-values from an equation of state
// (methods 1, 2) or from vapour pressures with free water (method 3).
//
// comps is a block of at least four composition pointers x0, x1, x2, z
// (n doubles each); states[3] receive 4 (vapour), 1 (liquid) or 0 (absent),
// betas[3] the phase mole fractions. ln K arrays hold ln(x0/x1), ln(x0/x2).
// Scratch lives in the workspace (its flash and equation-of-state scratch
// vectors); nothing is allocated. freeWater is the free-water component of
// the vapour-pressure method (FreeWaterComponent), kNoWater for none.
#pragma once
#include <cstdint>
#include "workspace/workspace.h"

namespace vt {

inline constexpr int kFlashMaxIter = 150;

// Splits feed z at (t K, p kPa). Method 0: the feed as one phase in slot 0.
// A non-positive or non-finite t or p, or a feed without any positive
// fraction, also gives the feed (negative and non-finite fractions taken as
// 0) as a vapour in slot 0 with slots 1 and 2 absent and zero-filled.
void Flash(const Workspace& ws, int method, int32_t freeWater, double t, double p,
           double* const* comps, int32_t* states, double* betas);

// New ln K from the current phase compositions, or initial estimates when
// lnK1[0] is MISSING (which may make slot 2 absent).
void KUpdate(const Workspace& ws, int method, int32_t freeWater, double t, double p,
             double* const* comps, double* lnK1, double* lnK2, int32_t* states);

// ln K correction of the water component between a liquid of water
// fraction xw and the vapour of water fraction xw0.
double WaterLnK(double t, double p, double xw, double xw0);

// Water vapour pressure (kPa), the correlation of WaterLnK.
double WaterPsat(double t);

// Three-phase Rachford-Rice split for the present slots: new betas,
// compositions and ln K. 0, or -3 when the Newton iteration limit was hit.
int PhaseSplit(const Workspace& ws, double* const* comps, double* lnK1, double* lnK2,
               const int32_t* states, double* betas);

// Nested bisection for (beta1, beta2) of the three-phase split with K1, K2.
void SplitBisect(const Workspace& ws, double* const* comps, const double* k1, const double* k2,
                 double* beta1, double* beta2, double tol);

// Two-phase Rachford-Rice: the fraction of the phase in the numerator of K
// (K limited in place to [9e-101, 1.1e100]).
double RachfordRice2(const Workspace& ws, const double* z, double* k);

// Final clean-up: merges identical phases, orders slots by density (slot 0
// the lightest) and labels the vapour.
void FlashFinish(const Workspace& ws, int method, int32_t freeWater, double t, double p,
                 double* const* comps, int32_t* states, double* betas);

// Adds phase slot `from` to slot `into` (fractions summed, compositions
// mixed by fraction); `from` becomes absent.
void MergePhase(const Workspace& ws, double* const* comps, int32_t* states, double* betas, int into,
                int from);

// Exchanges phase slots a and b: states, fractions, compositions, the
// per-phase equation-of-state values (method 3: the vapour-pressure model's
// values) and, when given, one more per-phase array `extra`.
void SwapPhases(const Workspace& ws, int method, double* const* comps, int32_t* states,
                double* betas, int a, int b, double* extra = nullptr);

}  // namespace vt
