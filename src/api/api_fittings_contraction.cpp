// Export of the contraction loss coefficient.
#include <cmath>

#include "api/guard.h"
#include "fittings/contraction.h"
#include "vantaro/vantaro.h"

using vt::api::FpExit;
using vt::api::Guarded;

extern "C" {

VANTARO_API int32_t ContractionLossCoefficientBenedict(double ratio, double angle, double* k) {
    if (!k) return 0;
    return Guarded(__func__, FpExit::Clear, int32_t{0}, [&] {
        if (!(ratio >= 0.0 && ratio <= 1.0) || !(angle >= 0.0 && angle <= 180.0)) {
            *k = VANTARO_MISSING;
            return int32_t{0};
        }
        return vt::ContractionLossCoefficientBenedict(ratio, angle, k);
    });
}

}  // extern "C"
