// Loss coefficient of a flow contraction (reducer).
#pragma once
#include <cstdint>

namespace vt {

// K of a contraction with area ratio r (0..1, 1 = no contraction) and
// included angle theta (degrees). Returns -1.
int32_t ContractionLossCoefficientBenedict(double ratio, double angleDeg, double* k);

}  // namespace vt
