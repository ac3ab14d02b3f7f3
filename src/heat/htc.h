// Film heat-transfer coefficients of a pipe wall, W/(m2 K).
#pragma once
#include <cstdint>

namespace vt {

// Inside the pipe, turbulent forced convection. Velocity m/s, viscosity cP,
// conductivity W/(m K), heat capacity kJ/(kg K), density kg/m3 (a value
// <= 0 is taken as 0.001), temperatures K, diameter m. Returns -1.
int32_t HtcInternal(double velocity, double viscosity, double conductivity, double heatCapacity,
                    double density, double tFluid, double tWall, double diameter, double* h);

// External media.
inline constexpr int kMediumAir = 0;
inline constexpr int kMediumWater = 1;

// Outside the pipe, air or water at the ambient temperature, forced or
// natural convection. Velocity m/s, temperatures K, outer diameter m;
// orientation 0 or other selects the natural-convection fit. Returns -1, or
// 0 for a medium that has no properties (h untouched).
int32_t HtcExternal(double velocity, double tAmbient, double tSurface, double diameter,
                    int orientation, int medium, double* h);

// Properties of the external media at temperature t (K): density kg/m3, heat
// capacity kJ/(kg K), conductivity W/(m K), viscosity cP.
struct MediumProps {
    double density, heatCapacity, conductivity, viscosity;
};
MediumProps AirProps(double t);
MediumProps WaterProps(double t);

}  // namespace vt
