// Exports of the stream-property family: the liquid characteristic volume.
#include <cmath>

#include "api/guard.h"
#include "props/liquid_density.h"
#include "vantaro/vantaro.h"

using vt::api::FpExit;
using vt::api::Guarded;

extern "C" {

VANTARO_API int32_t PureVchar(double liqden, double omegasrk, double mw, double tc, double pc,
                              double tref, double omega, double* vstar) {
    if (!vstar) return -1;
    const double positive[] = {liqden, mw, tc, pc};
    for (double v : positive)
        if (!std::isfinite(v) || v <= 0.0) {
            *vstar = VANTARO_MISSING;
            return -1;
        }
    const bool trefUsed = tc < 288.7055;
    if (!std::isfinite(omegasrk) || !std::isfinite(omega) ||
        (trefUsed && (!std::isfinite(tref) || tref <= 0.0))) {
        *vstar = VANTARO_MISSING;
        return -1;
    }
    return Guarded(FpExit::Keep, int32_t{-1}, [&] {
        return vt::PureVchar(liqden, omegasrk, mw, tc, pc, tref, omega, vstar);
    });
}

}  // extern "C"
