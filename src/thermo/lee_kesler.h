// Lee-Kesler enthalpy departures: enthalpy method 3 of PhaseProperties.
//
// Phase enthalpies, entropies and heat capacities are ideal-gas values plus
// Lee-Kesler departures on the pseudo-critical constants of the phase. Water
// (code 61) is blended in from steam correlations in proportion to its mole
// fraction; a phase of at least 99.9 % water takes the steam values alone.
#pragma once
#include <cstdint>
#include "workspace/workspace.h"

namespace vt {

namespace lk {

// Constants of one of the two Lee-Kesler fluids.
struct Fluid {
    double b1, b2, b3, b4, c1, c2, c3, c4, d1, d2, beta, gamma;
};

// B. I. Lee and M. G. Kesler, AIChE J. 21 (1975) 510, Table 1: the simple
// fluid (omega = 0) and the reference fluid n-octane (omega = 0.3978).
inline constexpr Fluid kSimple{0.1181193, 0.265728, 0.154790, 0.030323, 0.0236744, 0.0186984,
                               0.0,       0.042724, 0.155488e-4, 0.623689e-4, 0.65392, 0.060167};
inline constexpr Fluid kReference{0.2026579, 0.331511,  0.027655,  0.203488,
                                  0.0313385, 0.0503618, 0.016901,  0.041577,
                                  0.48736e-4, 0.0740336e-4, 1.226, 0.03754};
inline constexpr double kOmegaReference = 0.3978;

// One fluid at (Tr, Vr): Z and the dimensionless departures from the ideal
// gas at the same T and P, (H - H0)/(R Tc), (S - S0)/R, (Cp - Cp0)/R.
struct Departures {
    double z, h, s, cp;
};

// Reduced volume Vr = Pc V/(R Tc) of one fluid at (Tr, Pr) by damped Newton
// on Pr Vr/Tr - Z(Tr, Vr), started at 10 Tr/Pr (vapour) or 0.05 (liquid);
// a positive vrRetry is a second start when the first does not converge.
// *converged tells whether either start met the tolerance.
double ReducedVolume(const Fluid& f, double tr, double pr, bool liquid, double vrRetry,
                     bool* converged);

// Closed-form departures of one fluid at (Tr, Vr), Z = Pr Vr/Tr.
Departures FluidDepartures(const Fluid& f, double tr, double pr, double vr);

}  // namespace lk

// Pseudo-critical constants of composition x by the Lee-Kesler mixing rules
// (critical volumes from Zc = 0.2905 - 0.085 omega). Components below 1e-7
// and a code-19 component are left out; the rest are renormalised.
void LkMixing(const Workspace& ws, const double* x, double* tcm, double* pcm, double* vcm,
              double* omegam);

// Departures of one phase of composition x at t (K), p (kPa): enthalpy
// (kJ/kmol), heat capacity and entropy (kJ/(kmol K)), with the entropy on the
// scale of the ideal-gas entropy (-R ln p[kPa] for an ideal gas). liquid
// selects the liquid root; startVolume (m3/kmol, <= 0 for none) is a second
// start for the volume solve. Water is blended in from the steam values.
void LkDeparture(const Workspace& ws, double t, double p, const double* x, double* h, double* cp,
                 double* s, int liquid, double startVolume);

// Phase enthalpies, entropies and heat capacities (ideal gas plus Lee-Kesler
// departures) of the three phases and their phase-fraction-weighted mixture.
void LkEnthalpies(const Workspace& ws, int method, double t, double p, const int32_t* states,
                  double* const* comps, const double* betas, double* h, double* s, double* cp);

// Molar enthalpy (kJ/kmol, on the ideal-gas scale), heat capacity and
// entropy (kJ/(kmol K), steam-table scale) of water at t, p as used in the
// blend: vapour at the partial pressure xw p (at most the saturation
// pressure), liquid at its saturation pressure; extrapolated linearly in t
// beyond 275 to 1070 K.
struct WaterBlendValues {
    double h, cp, s;
};
WaterBlendValues WaterBlend(double t, double p, double xw, bool liquid);

// Water correlations of the blend (t in K, p in kPa): liquid enthalpy on the
// ideal-gas scale, liquid and vapour heat capacities, vapour and liquid
// entropies on the steam-table scale.
double WaterLiquidEnthalpy(double t, double p);
double WaterLiquidCp(double t, double p);
double WaterVapourCp(double t, double p);
double WaterVapourEntropy(double t, double p);
double WaterLiquidEntropy(double t, double p);

// Offset between the steam-table enthalpy (zero for the liquid at the triple
// point) and the ideal-gas enthalpy scale of the component table, kJ/kmol.
inline constexpr double kSteamEnthalpyOffset = 36537.0;

}  // namespace vt
