// Lee-Kesler enthalpy departures: enthalpy method 3 of PhaseProperties.
#pragma once
#include <cstdint>

namespace vt {

// Phase enthalpies, entropies and heat capacities (ideal gas plus Lee-Kesler
// departures) of the three phases and their phase-fraction-weighted mixture.
void LkEnthalpies(int method, double t, double p, const int32_t* states, double* const* comps,
                  const double* betas, double* h, double* s, double* cp);

}  // namespace vt
