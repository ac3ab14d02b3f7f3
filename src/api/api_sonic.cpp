// Exports of the sonic-flow family: sonic velocity and choke pressure.
//
// Arguments that cannot describe a state (non-finite or non-positive
// pressure, area, flow, molecular weight or density, no open workspace for a
// routine that evaluates properties) give status 0 instead of a number: a
// host comparing line velocities with a made-up sonic velocity would draw a
// wrong conclusion. Every double comparison runs inside the floating-point
// scope.
#include <cmath>

#include "api/guard.h"
#include "sonic/choke.h"
#include "sonic/sonic.h"
#include "vantaro/vantaro.h"
#include "workspace/workspace.h"

using vt::api::FpExit;
using vt::api::Guarded;

namespace {

bool Positive(double v) { return std::isfinite(v) && v > 0.0; }

bool WorkspaceOpen() { return vt::g_ws.ncomp > 0 && vt::g_ws.cd != nullptr; }

bool IdealGasFormula(int32_t method, int32_t hmethod) { return method == 0 || hmethod == 0; }

// Arguments of the ideal-gas formula: pressure and density positive, the
// heat capacity finite.
bool IdealGasArguments(double p, double rho, double cpin) {
    return Positive(p) && Positive(rho) && std::isfinite(cpin);
}

int32_t SonicFailed(double* c) {
    *c = VANTARO_MISSING;
    return vt::kSonicFailed;
}

}  // namespace

extern "C" {

VANTARO_API int32_t SonicVelocity(int32_t method, int32_t hmethod, double p, double t, double hin,
                                  const double* z, double mwin, double rho, double cpin,
                                  double* c, const double* tol) {
    if (!c) return vt::kSonicFailed;
    const bool ideal = IdealGasFormula(method, hmethod);
    if (!ideal && (!z || !tol)) return SonicFailed(c);
    return Guarded(__func__, FpExit::Clear, vt::kSonicFailed, [&] {
        if (ideal) {
            if (!IdealGasArguments(p, rho, cpin)) return SonicFailed(c);
        } else {
            const bool stateGiven = t == VANTARO_MISSING ? std::isfinite(hin) : Positive(t);
            if (!WorkspaceOpen() || !Positive(p) || !Positive(mwin) || !stateGiven)
                return SonicFailed(c);
        }
        return vt::SonicVelocity(vt::g_ws, method, hmethod, p, t, hin, z, mwin, rho, cpin, c, tol);
    });
}

VANTARO_API int32_t FastSonicVelocity(int32_t method, int32_t hmethod, double p, double t,
                                      double vf, double sin, const double* z, double mwin,
                                      double rho, double cpin, double* c, const double* tol) {
    if (!c) return vt::kSonicFailed;
    const bool ideal = IdealGasFormula(method, hmethod);
    if (!ideal && (!z || !tol)) return SonicFailed(c);
    return Guarded(__func__, FpExit::Clear, vt::kSonicFailed, [&] {
        if (ideal) {
            if (!IdealGasArguments(p, rho, cpin)) return SonicFailed(c);
        } else if (!WorkspaceOpen() || !Positive(p) || !Positive(mwin) || !Positive(rho) ||
                   !std::isfinite(vf) || !std::isfinite(sin)) {
            return SonicFailed(c);
        }
        return vt::FastSonicVelocity(vt::g_ws, method, hmethod, p, t, vf, sin, z, mwin, rho, cpin,
                                     c, tol);
    });
}

VANTARO_API int32_t PressureChoke(int32_t method, int32_t hmethod, double area, double massflow,
                                  double hin, double* p, const double* t, const double* z,
                                  const double* tol, double* rhoout, double* vel, double* mach,
                                  int32_t precise, int32_t dir) {
    if (!p || !rhoout || !vel || !mach) return vt::kChokeFailed;
    const auto refuse = [&] {
        *rhoout = *vel = *mach = VANTARO_MISSING;
        return vt::kChokeFailed;
    };
    if (!t || !z || !tol) return refuse();
    return Guarded(__func__, FpExit::Clear, vt::kChokeFailed, [&] {
        if (!WorkspaceOpen() || !Positive(area) || !Positive(massflow) || !std::isfinite(hin) ||
            !Positive(*p))
            return refuse();
        return vt::PressureChoke(vt::g_ws, method, hmethod, area, massflow, hin, p, t, z, tol,
                                 rhoout, vel, mach, precise, dir);
    });
}

}  // extern "C"
