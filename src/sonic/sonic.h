// Sonic velocity of a stream: the square root of the isentropic dP/drho,
// estimated by one finite difference between the state and a second state
// at a perturbed pressure and the same molar entropy (both from Prop3), or
// the ideal-gas formula when either method code is 0.
#pragma once
#include <cstdint>
#include "workspace/workspace.h"

namespace vt {

// Gas constant of the ideal-gas formula, kJ/(kmol K).

// Reported when the two states have exactly the same density: a Mach number
// computed from it is practically zero.
inline constexpr double kSonicUnbounded = 1e20;

// Status results of both routines.
inline constexpr int32_t kSonicOk = 1;
inline constexpr int32_t kSonicFailed = 0;  // no usable molar volume: c = MISSING

// c = sqrt(|gamma p 1000 / rho|), gamma = cp/(cp - R), R = kRgasCpRatio; p kPa, rho
// kg/m3, cp kJ/(kmol K); m/s.
double IdealGasSonicVelocity(double p, double rho, double cp);

// Sonic velocity (m/s) of the stream z at p (kPa) and t (K), or at the
// overall molar enthalpy hin (kJ/kmol) when t is MISSING. mwin is the
// stream's molecular weight; rho and cpin feed only the ideal-gas formula.
// Returns kSonicOk, or kSonicFailed with c = MISSING when a state that the
// estimate needs has no molar volume (the property evaluation refused it).
int32_t SonicVelocity(const Workspace& ws, int32_t method, int32_t hmethod, double p, double t,
                      double hin, const double* z, double mwin, double rho, double cpin, double* c,
                      const double* tol);

// The same from a base state the caller already has: vapour fraction vf,
// overall molar entropy sin (kJ/(kmol K)) and density rho (kg/m3) at p; t is
// the temperature estimate of the perturbed evaluations (MISSING allowed).
int32_t FastSonicVelocity(const Workspace& ws, int32_t method, int32_t hmethod, double p, double t,
                          double vf, double sin, const double* z, double mwin, double rho,
                          double cpin, double* c, const double* tol);

}  // namespace vt
