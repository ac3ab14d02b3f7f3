// Superheat correction factor for steam relief-valve capacity.
#pragma once

namespace vt {

// Returned when no table cell brackets the input (a NaN argument).
inline constexpr double kSuperheatNotFound = 9.99;

// KSH at the relieving temperature (degF) and set pressure (psig), bilinear
// in the table; inputs are clamped to 300-1200 degF and 15-3000 psig.
double SuperheatCoefficient(double tempF, double pressPsig);

}  // namespace vt
