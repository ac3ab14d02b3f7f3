// Single-phase vapour lines: the upstream pressure of a pipe from its
// downstream pressure, for isothermal and for adiabatic compressible flow.
//
// Units on this interface: bar absolute, kg/h, metres for lengths, inches for
// diameter and roughness, kg/m3, cP, kJ/(kmol K).
#pragma once
#include <cstdint>

#include "vantaro/vantaro.h"

namespace vt {

// Status of the vapour-line routines: -1 computed; 0 not computed (invalid
// input, a density or viscosity that cannot be used) or no answer found
// (no convergence, no root in the bracket). The result record says which.
inline constexpr int32_t kVapourOk = -1;
inline constexpr int32_t kVapourFailed = 0;

// Mean velocity (m/s) of mass flow w (kg/h) at density rho in a pipe of
// internal diameter dia (in). Returns -1.
int32_t PipeVelocity(double w, double rho, double dia, double* v);

// Densities {mixture, vapour, liquid} of a stream at pressure p, from the
// values at pref: the vapour density scales with pressure, the liquid is
// incompressible. mw and rho are {mixture, vapour, liquid}. Returns 1.
int32_t DensityAtPressure(double w, double vfrac, const double mw[3], const double rho[3],
                          double pref, double p, double out[3]);

// Mixture density of a stream state rescaled to pressure p (bar).
double StateDensityAt(const StreamState& s, double w, double p);

// Upstream pressure of a pipe carrying gas in isothermal flow. Arguments:
// friction method, downstream pressure p2 (bar), mass flow w (kg/h), the
// upstream and downstream states, the pipe, the result, the rescale flag
// (1 = rescale the densities to the actual pressures), an estimate of the
// upstream pressure (bar, or MISSING) and the relative tolerance.
int32_t IsoVapDp(int32_t method, double p2, double w, const StreamState& up,
                 const StreamState& down, const PipeSegment& pipe, FlowResult& res, int32_t rescale,
                 double p1guess, double tol);

// The same for adiabatic flow of an ideal gas, bracketed by the isothermal
// answer and found by bisection.
int32_t AdiaVapDp(int32_t method, double p2, double w, const StreamState& up,
                  const StreamState& down, const PipeSegment& pipe, FlowResult& res,
                  int32_t rescale, double p1guess, double tol);

// Writes the "not computed" result: MISSING everywhere, regime -32767.
void MarkFlowResultInvalid(FlowResult& res);

}  // namespace vt
