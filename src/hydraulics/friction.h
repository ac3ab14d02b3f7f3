// Pipe friction: the Darcy friction factor of a pipe and the equivalent
// length of its fittings.
#pragma once
#include <cmath>
#include <cstdint>

namespace vt {

// Friction-factor method codes (fully turbulent zone only).
inline constexpr int32_t kFrictionRound = 0;
inline constexpr int32_t kFrictionChen = 1;

// Logarithms of a non-positive argument are replaced by -1000 (a NaN stays NaN).
inline double GuardedLog10(double x) { return x <= 0.0 ? -1000.0 : std::log10(x); }
inline double GuardedLn(double x) { return x <= 0.0 ? -1000.0 : std::log(x); }

// Darcy friction factor at Reynolds number `re` for a pipe of diameter `d`
// with absolute roughness `eps` (same unit). Laminar below 2100, the
// Zigrang-Sylvester transition form up to 4000, then Round (code 0) or Chen
// (code 1); any other code gives 0 in the turbulent zone. The Fanning value
// is capped at 1 (Darcy 4). Returns 1.
int32_t FrictionFactor(int32_t method, double re, double d, double eps, double* f);

// The fully turbulent Darcy factor (Re = 1e10).
int32_t TurbulentFriction(int32_t method, double d, double eps, double* f);

// Equivalent pipe length (m) of fittings with fixed loss coefficient `k` and
// L/D ratio `ld`, on a line of diameter `dia` (in) and Darcy factor `fline`;
// the L/D part uses the fully turbulent factor for roughness `epsft` (in).
// Returns 1.
int32_t FittingEquivalentLength(int32_t method, double k, double ld, double dia, double epsft,
                                double fline, double* leq);

// The two halves of FittingEquivalentLength, for callers that evaluate it
// repeatedly on one pipe: the total loss coefficient K + ft L/D (independent
// of the flow), and the pipe length (m) with that loss at Darcy factor fline.
double FittingLossCoefficient(int32_t method, double k, double ld, double dia, double epsft);
double EquivalentLength(double ktot, double dia, double fline);

}  // namespace vt
