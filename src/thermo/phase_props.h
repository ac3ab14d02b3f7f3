// Phase molar volumes and enthalpies: the equation-of-state evaluations, the
// liquid volumes from COSTALD and the water correlation, ideal-gas
// properties, the Berthelot vapour volume, and the dispatcher the property
// driver calls.
#pragma once
#include <cstdint>
#include "workspace/workspace.h"

namespace vt {

// Phase arrays below have four elements: phases 0, 1, 2 and the
// phase-fraction-weighted mixture (3). comps holds x0, x1, x2 (and z).

// Molar volumes of the three phases and the mixture by equation of state
// (liquids from LiquidMolarDensity).
void EosVolumes(const Workspace& ws, int method, double t, double p, const int32_t* states,
                double* const* comps, const double* betas, double* vol);

// Liquid molar density (kmol/m3): COSTALD for the water-free part, the water
// correlation for the free-water component; 0 when COSTALD has none.
double LiquidMolarDensity(const Workspace& ws, int method, double t, double p, const double* x);

// Molar volume of liquid water (below 646 K) or of water above it (m3/kmol).
double WaterMolarVolume(double t, double p);

// Saturation temperature of water (K) at p (kPa).
double WaterTsat(double p);

// Phase enthalpies, entropies and heat capacities: ideal gas plus the
// departures of the equation of state `method` (1 or 2).
void EosEnthalpies(const Workspace& ws, int method, double t, double p, const int32_t* states,
                   double* const* comps, const double* betas, double* h, double* s, double* cp);

// Ideal-gas heat capacity, enthalpy and entropy of composition x at t. An
// output is computed only when preset to MISSING; all three are zeroed.
// Returns the Cp sum if requested, else H, else S, else 0.
double IdealGasProps(const Workspace& ws, double t, const double* x, double* cp, double* h,
                     double* s);

// IdealGasProps for the three phases, mixture values weighted by betas.
void IdealGasPhases(const Workspace& ws, double t, double* const* comps, const double* betas,
                    double* h, double* s, double* cp);

// Berthelot vapour volume of phase 0 (phases 1, 2: MISSING).
void BerthelotVolume(const Workspace& ws, double t, double p, double* const* comps, double* vol);

// Volumes by `method` (0 Berthelot, 1-3 equation of state, 3 on the
// Peng-Robinson blocks) and enthalpies by `hmethod` (0 ideal gas, 1-2
// equation-of-state departures, 3 Lee-Kesler). Slot 3 of v is the
// phase-fraction-weighted sum. A non-positive or non-finite t or p, or an
// unknown method, gives MISSING for the outputs concerned.
void PhaseProperties(const Workspace& ws, int method, int hmethod, double t, double p,
                     double* const* comps, const int32_t* states, const double* betas, double* h,
                     double* s, double* cp, double* v);

}  // namespace vt
