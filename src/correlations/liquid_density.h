// Liquid density and vapour pressure: COSTALD saturated volumes
// (Hankinson-Thomson) with the Hankinson-Brobst-Thomson mixing rules, the
// Chueh-Prausnitz compression correction and the Lee-Kesler vapour pressure.
#pragma once
#include <cstdint>

#include "vantaro/vantaro.h"
#include "workspace/workspace.h"

namespace vt {

// COSTALD reduced volumes V_R(0) and V_R(delta) at reduced temperature tr
// (Hankinson & Thomson, AIChE J. 25 (1979) 653). No clipping: callers keep
// tr within [0.251, 0.9999].
void CostaldReducedVolumes(double tr, double* vr0, double* vrdelta);

// Lee-Kesler reduced vapour pressure (Lee & Kesler, AIChE J. 21 (1975) 510),
// at most 5. Clears the floating-point status flags before returning.
double LeeKeslerReducedPsat(double tr, double omega);

// ln of the Lee-Kesler vapour pressure (kPa) of a component at t (K);
// ln Pr clipped to [-10, 10]; -1000 when Pr pc is not positive.
double LeeKeslerLnPsat(const CompRecord& c, double t);
inline double LeeKeslerLnPsat(const Workspace& ws, int32_t i, double t) {
    return LeeKeslerLnPsat(ws.cd[i], t);
}

// Saturated molar density of the methane reference fluid (kmol/m3), tr
// clipped to [0.251, 0.9999].
double ReferenceLiquidDensity(double tr);

// Separates water component iw (negative: none) from composition x: *w =
// its fraction (0 without one), xdry = the water-free composition
// renormalised (all zeros when the liquid is water alone).
void SplitWaterAt(const Workspace& ws, int iw, const double* x, double* w, double* xdry);

// Chueh-Prausnitz compressed-liquid coefficient N(Tr), exponent clipped.
double ChuehPrausnitzN(double tr);

// Exponent 1/9 of the compression factor, in the form each use was fitted
// with (the results depend on the last digits): the mixture density, the
// reference density of the liquid-viscosity correlation, and the
// characteristic-volume back-calculation.
inline constexpr double kCompressionExpMixture = 0.111111;
inline constexpr double kCompressionExpViscosity = 0.11111;
inline constexpr double kCompressionExpVchar = 1.0 / 9.0;

// Compressed over saturated liquid density (Chueh-Prausnitz form of the
// COSTALD compression): (1 + c)^exponent, where the caller forms
// c = 9 N(Tr) (1 - 0.89 omega) V (P - Psat)/(R Tc) in its own units and
// limits it at 0.
double CompressionFactor(double c, double exponent);

// COSTALD acentric factor of a record (omega when omegasrk is MISSING).
double CostaldOmega(const CompRecord& c);

// COSTALD molar density (kmol/m3) of liquid x at t (K) and p (kPa) for
// method 1, 2 or 3; 0 at or above the mixture pseudo-critical temperature
// (and for an empty composition); MISSING for any other method. Ethylene and
// triethylene glycol take constants fitted to their own fraction (the table
// is not changed).
double LiquidDensity(const Workspace& ws, int32_t method, double t, double p, const double* x);

// Back-calculates the COSTALD characteristic volume (m3/kmol) of a pure
// component from its liquid density liqden (kg/m3) measured at 288.70555 K,
// or at tref when tc is below that. Returns -1 and writes *vstar.
int32_t PureVchar(double liqden, double omegasrk, double mw, double tc, double pc, double tref,
                  double omega, double* vstar);

}  // namespace vt
