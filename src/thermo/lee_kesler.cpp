#include "thermo/lee_kesler.h"

#include "workspace/workspace.h"

namespace vt {

// The Lee-Kesler departure functions are not part of the engine yet: every
// value is reported as unavailable.
void LkEnthalpies(int, double, double, const int32_t*, double* const*, const double*, double* h,
                  double* s, double* cp) {
    for (int k = 0; k < 4; ++k) h[k] = s[k] = cp[k] = MISSING;
}

}  // namespace vt
