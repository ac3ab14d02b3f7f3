// ln equilibrium ratios between a given liquid and a given vapour
// composition, without a phase split, and their temperature derivative.
#pragma once
#include <cstdint>
#include "workspace/workspace.h"

namespace vt {

// out_i = ln(xb_i/xa_i) at equilibrium-ratio level: xa is evaluated as a
// liquid, xb as a vapour; method 1, 2 by equation of state, 3 by vapour
// pressures; any other method leaves out unchanged.
void LnKPair(const Workspace& ws, int method, double t, double p, const double* xa,
             const double* xb, double* out);

// LnKPair with the free-water treatment of the flash; mode > 2 also gives
// d lnK/d(1/T) (forward difference) in dout, otherwise dout is untouched.
void LnKAt(const Workspace& ws, int method, int32_t freeWater, double t, double p, const double* xa,
           const double* xb, double* out, double* dout, int mode);

}  // namespace vt
