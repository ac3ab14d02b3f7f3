// Viscosity of pure water and steam by region.
#pragma once

namespace vt {

// Viscosity (cP) of water at T (K), P (kPa) and molar volume v (m3/kmol);
// MISSING outside every region or when the steam density is unavailable.
// Clears the floating-point status flags.
double WaterViscosity(double T, double P, double v);

// The region WaterViscosity uses (0 = none, 2..8).
int WaterViscosityRegion(double T, double P, double v);

}  // namespace vt
