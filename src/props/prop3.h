// The stream-property driver: phase split and phase properties of a stream
// at given T and P, or the T or P that meets a vapour-fraction, enthalpy or
// entropy specification.
#pragma once
#include <cstdint>
#include "workspace/workspace.h"

namespace vt {

// Status results.
inline constexpr int32_t kProp3Ok = 0;
inline constexpr int32_t kProp3NoTemperature = 1;
inline constexpr int32_t kProp3NoPressure = 2;
inline constexpr int32_t kProp3NoSolution = 3;
inline constexpr int32_t kProp3Invalid = 4;
inline constexpr int32_t kProp3LeverRejected = -32767;

// Smallest search tolerances (tol[0] in K, tol[1] in kJ/kmol, tol[2] in
// kJ/(kmol K)); smaller positive ones are raised to it. The temperature
// bracket reaches 4000 K, where neighbouring doubles lie 9e-13 K apart, and
// the enthalpy and entropy searches narrow it to a hundredth of tol[0]: a
// finer tolerance could never be met and the search would run to its cap.
inline constexpr double kProp3MinTolerance = 1e-9;

// Arguments as the export Prop3: phase arrays of five slots (vapour,
// liquid, aqueous, overall, combined liquid), phase flags of three.
int32_t Prop3(const Workspace& ws, int32_t method, int32_t hmethod, double* t, double* p,
              const double* z, double* y, double* x, double* xw, double* xl, int32_t* phases,
              double* frac, double* h, double* s, double* cp, double* v, double* molwt,
              double tguess, const double* tol);

}  // namespace vt
