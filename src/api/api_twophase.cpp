// Export of the two-phase pipe pressure drop.
#include "api/guard.h"
#include "hydraulics/twophase_driver.h"
#include "hydraulics/vapour.h"
#include "vantaro/vantaro.h"

using vt::api::FpExit;

extern "C" {

VANTARO_API int32_t NewTwoPhaseDp(int32_t frictionMethod, int32_t twoPhaseMethod, int32_t n,
                                  int32_t unused4, int32_t method, int32_t hmethod,
                                  const PipeSegment* pipe, FlowResult* result, double massFlow,
                                  double* pressures, const double* enthalpies,
                                  const double* composition, double* temperatures,
                                  double* velocities, double* unused15, const double* tol,
                                  int32_t unused17, int32_t elevation, int32_t extraPasses,
                                  int32_t holdupCorrection) {
    (void)unused4;
    (void)unused15;
    (void)unused17;
    if (!result) return vt::kTwoPhaseFailed;
    if (!pipe || !pressures || !enthalpies || !composition || !temperatures || !velocities ||
        !tol) {
        vt::MarkFlowResultInvalid(*result);
        return vt::kTwoPhaseFailed;
    }
    const vt::TwoPhaseCase c{frictionMethod, twoPhaseMethod, n,          method,
                             hmethod,        pipe,           massFlow,   pressures,
                             enthalpies,     composition,    temperatures, velocities,
                             tol,            elevation,      extraPasses, holdupCorrection};
    vt::platform::FpScope scope(FpExit::Clear);
    try {
        return vt::NewTwoPhaseDp(vt::g_ws, c, *result);
    } catch (...) {
        vt::api::ReportException(__func__);
        vt::MarkFlowResultInvalid(*result);
        return vt::kTwoPhaseFailed;
    }
}

}  // extern "C"
