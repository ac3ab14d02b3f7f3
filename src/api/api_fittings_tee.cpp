// Exports of the tee family: getK13 and getK23.
#include "api/guard.h"
#include "fittings/tee.h"
#include "vantaro/vantaro.h"

using vt::api::FpExit;
using vt::api::GuardedVoid;

namespace {

// Writes the outputs the host gave pointers for; bounds only when a chart was used.
void Deliver(const vt::TeeResult& r, double* K, int32_t* status, double* hi, double* lo) {
    if (K) *K = r.k;
    if (status) *status = r.status;
    if (r.boundsSet) {
        if (hi) *hi = r.hi;
        if (lo) *lo = r.lo;
    }
}

}  // namespace

extern "C" {

VANTARO_API int32_t getK13(double a, double q, int32_t type, int32_t pattern, double* K, int32_t mode,
                           int32_t areaFloor, int32_t* status, double* hi, double* lo) {
    GuardedVoid(__func__, FpExit::Keep, [&] {
        Deliver(vt::TeeK13(a, q, type, pattern, mode, areaFloor), K, status, hi, lo);
    });
    return 0;
}

VANTARO_API int32_t getK23(double a, double q, int32_t type, int32_t pattern, double* K, int32_t mode,
                           int32_t areaFloor, int32_t* status, double* hi, double* lo) {
    GuardedVoid(__func__, FpExit::Keep, [&] {
        Deliver(vt::TeeK23(a, q, type, pattern, mode, areaFloor), K, status, hi, lo);
    });
    return 0;
}

}  // extern "C"
