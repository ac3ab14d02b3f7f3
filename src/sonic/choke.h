// Choke pressure: the pressure at which a stream of given mass flux and
// enthalpy reaches Mach 1 after an isenthalpic expansion.
#pragma once
#include <cstdint>
#include "workspace/workspace.h"

namespace vt {

// Status results of PressureChoke.
inline constexpr int32_t kChokeFound = 1;
inline constexpr int32_t kChokeFailed = 0;

// The Mach residual of a trial pressure p (kPa) for mass flux g (kg/(m2 s))
// and overall molar enthalpy hin: f = 1 - Mach (> 0 subsonic, < 0
// supersonic), with the trial state's density, sonic velocity, velocity and
// Mach number. False, f = 0 and the outputs untouched when the state cannot
// be evaluated (Prop3 fails, or no sonic velocity).
bool ChokeResidual(const Workspace& ws, double* f, int32_t method, int32_t hmethod, double g,
                   double hin, double p, double tguess, const double* z, const double* tol,
                   double* rhoout, double* c, double* vel, double* mach);

// The pressure at which massflow (kg/h) through area (m2) is sonic, searched
// from *p above it (dir = 1) or below it (any other dir); *t is the
// temperature estimate of every trial state. On success (1) *p is the choke
// pressure and rhoout, vel, mach describe it (mach = 1 and vel the sonic
// velocity when the search stalled at a jump of the Mach number). On failure
// (0) *p is unchanged and the outputs describe the starting state (MISSING
// when that cannot be evaluated either). precise = 1: Mach tolerance 1e-6,
// otherwise 1e-4.
int32_t PressureChoke(const Workspace& ws, int32_t method, int32_t hmethod, double area,
                      double massflow, double hin, double* p, const double* t, const double* z,
                      const double* tol, double* rhoout, double* vel, double* mach, int32_t precise,
                      int32_t dir);

}  // namespace vt
