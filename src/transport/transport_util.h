// Guards shared by the transport correlations.
#pragma once
#include <cmath>

#include "numerics/guards.h"
#include "workspace/workspace.h"

namespace vt {

// A transport result that is not a finite number (zero critical constants,
// an all-zero composition, non-finite input) is reported as MISSING.
inline double FiniteOrMissing(double v) { return std::isfinite(v) ? v : MISSING; }

}  // namespace vt
