// Exports of the stream-property family: the stream-property driver and the
// liquid characteristic volume.
#include <cmath>

#include "api/guard.h"
#include "correlations/liquid_density.h"
#include "platform/constants.h"
#include "props/prop3.h"
#include "vantaro/vantaro.h"

using vt::api::FpExit;
using vt::api::Guarded;

extern "C" {

VANTARO_API int32_t Prop3(int32_t method, int32_t hmethod, double* t, double* p, const double* z,
                          double* y, double* x, double* xw, double* xl, int32_t* phases,
                          double* frac, double* h, double* s, double* cp, double* v,
                          double* molwt, double tguess, const double* tol) {
    if (!t || !p || !z || !y || !x || !xw || !xl || !phases || !frac || !h || !s || !cp || !v ||
        !molwt || !tol)
        return vt::kProp3Invalid;
    return Guarded(__func__, FpExit::Clear, vt::kProp3Invalid, [&] {
        return vt::Prop3(vt::g_ws, method, hmethod, t, p, z, y, x, xw, xl, phases, frac, h, s, cp,
                         v, molwt, tguess, tol);
    });
}

VANTARO_API int32_t PureVchar(double liqden, double omegasrk, double mw, double tc, double pc,
                              double tref, double omega, double* vstar) {
    if (!vstar) return -1;
    return Guarded(__func__, FpExit::Keep, int32_t{-1}, [&] {
        const double positive[] = {liqden, mw, tc, pc};
        const bool trefUsed = tc < vt::kStdTempLimit;
        bool usable = std::isfinite(omegasrk) && std::isfinite(omega) &&
                      !(trefUsed && (!std::isfinite(tref) || tref <= 0.0));
        for (double v : positive) usable = usable && std::isfinite(v) && v > 0.0;
        if (!usable) {
            *vstar = VANTARO_MISSING;
            return int32_t{-1};
        }
        return vt::PureVchar(liqden, omegasrk, mw, tc, pc, tref, omega, vstar);
    });
}

}  // extern "C"
