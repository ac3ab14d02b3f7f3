// Numerical guards shared by the property correlations: the logarithm of a
// non-positive number is -1000, exponent arguments of fitted correlations are
// clipped to [-50, 50], ln K values are confined to [-230.3, 230.3].
#pragma once
#include <cmath>

namespace vt {

inline constexpr double kLnFloor = -1000.0;
inline constexpr double kExpArgLimit = 50.0;
inline constexpr double kLnKLimit = 230.3;

// Natural logarithm, -1000 for a non-positive (or NaN) argument.
inline double SafeLn(double v) { return v > 0.0 ? std::log(v) : kLnFloor; }

// Limits x to [lo, hi]; NaN passes through unchanged.
inline double Clip(double x, double lo, double hi) { return x < lo ? lo : (x > hi ? hi : x); }

// exp with its argument clipped to [-limit, limit] (by default [-50, 50]).
inline double ClippedExp(double a, double limit = kExpArgLimit) { return std::exp(Clip(a, -limit, limit)); }

}  // namespace vt
