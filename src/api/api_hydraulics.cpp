// Exports of the pipe-hydraulics family: friction, vapour pressure drop and
// the flow-regime map.
#include <cmath>

#include "api/guard.h"
#include "hydraulics/friction.h"
#include "hydraulics/mandhane.h"
#include "hydraulics/vapour.h"
#include "platform/constants.h"
#include "vantaro/vantaro.h"

using vt::api::FpExit;
using vt::api::Guarded;

namespace {

using VapourRoutine = int32_t (*)(int32_t, double, double, const StreamState&, const StreamState&,
                                  const PipeSegment&, FlowResult&, int32_t, double, double);

// Both vapour-line exports: the flags are cleared except on the zero-length
// exit, which leaves them as the host had them.
int32_t VapourExport(const char* name, VapourRoutine routine, int32_t method, double p2, double w,
                     const StreamState* up, const StreamState* down, const PipeSegment* pipe,
                     FlowResult* res, int32_t rescale, double p1guess, double tol) {
    if (!res) return 0;
    if (!up || !down || !pipe) {
        vt::MarkFlowResultInvalid(*res);
        return 0;
    }
    vt::platform::FpScope scope(FpExit::Clear);
    try {
        const int32_t st = routine(method, p2, w, *up, *down, *pipe, *res, rescale, p1guess, tol);
        if (st == vt::kVapourOk && res->regime == vt::kMissingCode) scope.SetExit(FpExit::Keep);
        return st;
    } catch (...) {
        vt::api::ReportException(name);
        vt::MarkFlowResultInvalid(*res);
        return 0;
    }
}

}  // namespace

extern "C" {

VANTARO_API int32_t TurbulentFrictionFactor(int32_t method, double diameter, double roughness,
                                            double* f) {
    if (!f) return 0;
    return Guarded(__func__, FpExit::Keep, int32_t{0}, [&] {
        if ((method != vt::kFrictionRound && method != vt::kFrictionChen) ||
            !std::isfinite(diameter) || !(diameter > 0.0) || !std::isfinite(roughness) ||
            roughness < 0.0) {
            *f = VANTARO_MISSING;
            return int32_t{0};
        }
        const int32_t status = vt::TurbulentFriction(method, diameter, roughness, f);
        // Extreme ratios (roughness/diameter near the double range) can
        // overflow the correlation's logarithms.
        if (!std::isfinite(*f)) {
            *f = VANTARO_MISSING;
            return int32_t{0};
        }
        return status;
    });
}

VANTARO_API int32_t IsoVapDp(int32_t method, double p2, double w, const StreamState* upstream,
                             const StreamState* downstream, const PipeSegment* pipe,
                             FlowResult* result, int32_t rescale, double p1estimate,
                             double tolerance) {
    return VapourExport(__func__, vt::IsoVapDp, method, p2, w, upstream, downstream, pipe, result,
                        rescale, p1estimate, tolerance);
}

VANTARO_API int32_t AdiaVapDp(int32_t method, double p2, double w, const StreamState* upstream,
                              const StreamState* downstream, const PipeSegment* pipe,
                              FlowResult* result, int32_t rescale, double p1estimate,
                              double tolerance) {
    return VapourExport(__func__, vt::AdiaVapDp, method, p2, w, upstream, downstream, pipe, result,
                        rescale, p1estimate, tolerance);
}

VANTARO_API int32_t Mandhane(double gasVelocity, double liquidVelocity, double* scores) {
    if (!scores) return 0;
    return Guarded(__func__, FpExit::Keep, int32_t{0}, [&] {
        const auto usable = [](double v) { return std::isfinite(v) && v > 0.0; };
        if (!usable(gasVelocity) || !usable(liquidVelocity)) {
            for (int j = 0; j < 6; ++j) scores[j] = VANTARO_MISSING;
            return int32_t{0};
        }
        return vt::Mandhane(gasVelocity, liquidVelocity, scores);
    });
}

}  // extern "C"
