// Transport properties of vapour and liquid mixtures: viscosity, surface
// tension, thermal conductivity, and the fitting of the liquid-viscosity
// coefficients (visca, viscb) of a component.
//
// Compositions are mole fractions in table order. The routines return -1
// after a computation and 0 for an absent composition (x[0] == MISSING, the
// result then MISSING); they read the open component table.
#pragma once
#include <cstdint>
#include "workspace/workspace.h"

namespace vt {

// Acentric factor of component i used by the transport correlations.
double TransportOmega(const Workspace& ws, int i);

// Low-pressure vapour viscosity, cP, from the pseudo-critical constants.
int32_t ViscVapour(const Workspace& ws, const double* x, double T, double* out);

// Liquid surface tension, dyn/cm; MISSING (status -1) when no component
// contributes.
int32_t SurfTenLiquid(const Workspace& ws, const double* x, double T, double* out);

// Liquid viscosity, cP, at P (kPa), T (K) and mass density (kg/m3).
int32_t ViscLiquid(const Workspace& ws, const double* x, double P, double T, double density,
                   double* out);

// Liquid and vapour thermal conductivity, W/(m K); the vapour routine takes
// the vapour mass density (kg/m3).
int32_t ThermCondLiquid(const Workspace& ws, const double* x, double T, double* out);
int32_t ThermCondVapour(const Workspace& ws, const double* x, double T, double density,
                        double* out);

// Fitted visca (intercept) and viscb (slope) of one component; pc in bar.
// kind 1 = petroleum pseudo-component. Returns -1.
int32_t ViscParam(int32_t kind, double mw, double tc, double pc, double vc, double vstar,
                  double omega, double omegasrk, double tb, double liqden, double* outA,
                  double* outB);

// Building blocks shared by the liquid-viscosity routines.

// Compressed-liquid molar density of a pure component, kmol/m3 (COSTALD
// saturated volume with the Chueh-Prausnitz pressure correction).
void CompressedLiquidDensity(double T, double P, double tc, double pc, double vstar,
                             double omegasrk, double omega, double* out);

// State of the corresponding-states mapping onto methane.
struct CsState {
    double f;   // energy ratio
    double h;   // size ratio
    double mx;  // mixture molar mass of the mapping, kg/kmol
    double zx;  // critical compressibility
    double g;   // temperature correction of f
};

// Viscosity in micropoise of the mixture mapped by `s`, at molar density
// rhom (kmol/m3) and T (K).
double ReferenceViscosity(const CsState& s, double rhom, double T);

// The methane reference model at reduced state T0 (K), rho0 (g/cm3), with
// dense-fluid factor X and scaling factor F; micropoise.
double MethaneViscosity(double T0, double rho0, double X, double F);

}  // namespace vt
