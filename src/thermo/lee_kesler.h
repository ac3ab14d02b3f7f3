// Lee-Kesler enthalpy departures: enthalpy method 3 of PhaseProperties.
#pragma once
#include <cstdint>

namespace vt {

// False until the Lee-Kesler departures are built: LkEnthalpies then reports
// every value as MISSING, and the property driver refuses enthalpy and
// entropy specifications with enthalpy method 3.
inline constexpr bool kLeeKeslerAvailable = false;

// Phase enthalpies, entropies and heat capacities (ideal gas plus Lee-Kesler
// departures) of the three phases and their phase-fraction-weighted mixture.
void LkEnthalpies(int method, double t, double p, const int32_t* states, double* const* comps,
                  const double* betas, double* h, double* s, double* cp);

}  // namespace vt
