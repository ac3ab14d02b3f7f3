// Dimensionless groups from engineering quantities (viscosity in cP, heat
// capacity in kJ/(kg K), SI otherwise). Pure arithmetic: a zero divisor gives
// the IEEE infinity or NaN. Each returns -1.
#pragma once
#include <cstdint>

namespace vt {

// Re = v d rho / (mu * 0.001).
int32_t Reynolds(double velocity, double diameter, double density, double viscosity, double* re);

// Pr = (mu * 0.001) (cp * 1000) / k.
int32_t Prandtl(double heatCapacity, double viscosity, double conductivity, double* pr);

// Grashof number with the expansion coefficient taken from the specific
// volumes at the two temperatures.
int32_t Grashof(double t1, double t2, double length, double viscosity, double rho1, double rho2,
                double* gr);

}  // namespace vt
