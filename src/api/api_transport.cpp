// Exports of the transport family: viscosities, surface tension, thermal
// conductivities and the liquid-viscosity coefficient fit.
#include <bit>
#include <cstdint>

#include "api/guard.h"
#include "transport/transport.h"
#include "vantaro/vantaro.h"
#include "workspace/workspace.h"

using vt::api::FpExit;
using vt::api::Guarded;

namespace {
// The sentinel compared by its bits: a floating-point comparison with a
// signalling NaN would raise the invalid exception outside any scope.
bool IsMissing(double v) {
    return std::bit_cast<std::uint64_t>(v) == std::bit_cast<std::uint64_t>(vt::MISSING);
}

// Absent composition: MISSING and 0, without touching the floating-point
// environment. Otherwise the routine runs and the flags are cleared.
template <class F>
int32_t TransportExport(const char* name, const double* x, double* out, F body) {
    if (!out) return 0;
    if (!x || IsMissing(x[0])) {
        *out = vt::MISSING;
        return 0;
    }
    return Guarded(name, FpExit::Clear, int32_t{0}, body);
}
}  // namespace

extern "C" {

VANTARO_API int32_t ViscVapour(const double* composition, double temperature, double* out) {
    return TransportExport(__func__, composition, out,
                           [&] { return vt::ViscVapour(vt::g_ws, composition, temperature, out); });
}

VANTARO_API int32_t ViscLiquid(const double* composition, double pressure, double temperature,
                               double density, double* out) {
    return TransportExport(__func__, composition, out, [&] {
        return vt::ViscLiquid(vt::g_ws, composition, pressure, temperature, density, out);
    });
}

VANTARO_API int32_t SurfTenLiquid(const double* composition, double temperature, double* out) {
    return TransportExport(__func__, composition, out, [&] {
        return vt::SurfTenLiquid(vt::g_ws, composition, temperature, out);
    });
}

VANTARO_API int32_t ThermCondLiquid(const double* composition, double temperature, double* out) {
    return TransportExport(__func__, composition, out, [&] {
        return vt::ThermCondLiquid(vt::g_ws, composition, temperature, out);
    });
}

VANTARO_API int32_t ThermCondVapour(const double* composition, double temperature,
                                    double density, double* out) {
    return TransportExport(__func__, composition, out, [&] {
        return vt::ThermCondVapour(vt::g_ws, composition, temperature, density, out);
    });
}

VANTARO_API int32_t ViscParam(int32_t kind, double mw, double tc, double pc, double vc,
                              double vstar, double omega, double omegasrk, double tb,
                              double liqden, double* outA, double* outB) {
    if (!outA || !outB) return -1;
    return Guarded(__func__, FpExit::Clear, int32_t{-1}, [&] {
        return vt::ViscParam(kind, mw, tc, pc, vc, vstar, omega, omegasrk, tb, liqden, outA,
                             outB);
    });
}

}  // extern "C"
