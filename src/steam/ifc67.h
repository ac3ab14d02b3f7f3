// Water and steam by the 1967 IFC Formulation for Industrial Use (IFC-67):
// saturation line, region selection, molar enthalpy, molar isobaric heat
// capacity and molar volume.
//
// Reduced variables: theta = T / 647.3 K, beta = P / 22120 kPa,
// chi = v / 0.00317 m3/kg. Results are molar (M = 18.02 kg/kmol).
#pragma once

namespace vt {

// Reduced saturation pressure p_sat / 22120 kPa at T (K).
double SaturationPressure(double T);

// Region of (theta, beta): 1 compressed water, 2 steam, 3 near-critical fluid
// on the vapour side, 4 near-critical liquid between 623.15 K and the
// critical temperature; -1 outside every region. phase: 0 vapour, 1 liquid,
// anything else undecided.
int WaterRegion(double theta, double beta, int phase);

// Molar enthalpy, kJ/kmol: 0.0 outside every region, MISSING when the
// region's volume cannot be found.
double WaterEnthalpy(double T, double P, int phase);

// Molar isobaric heat capacity, kJ/(kmol K), or MISSING.
double WaterHeatCapacity(double T, double P, int phase);

// Molar volume, m3/kmol, or MISSING.
double SteamMolarVolume(double T, double P, int phase);

namespace ifc67 {

// Reduced Gibbs function zeta(theta, beta) and the derivatives the
// properties need.
struct Gibbs {
    double g, gt, gtt, gb;
};

// Reduced Helmholtz function psi(theta, chi) and its derivatives
// (t: theta, c: chi).
struct Helmholtz {
    double f, ft, fc, ftt, ftc, fcc;
};

Gibbs Region1(double theta, double beta);
Gibbs Region2(double theta, double beta);
// Subregion 3 function; liquidSide adds the subregion 4 terms.
Helmholtz Region3(double theta, double chi, bool liquidSide);

// The published L-function (boundary of subregions 2 and 3) in reduced form.
double BoundaryL(double theta);
// The interpolation form of the boundary that the region selection uses.
double SelectionBoundaryL(double theta);

// Specific volume (m3/kg) at (T, P) in region 3 (liquidSide false) or
// region 4 (true) by secant iteration on the pressure; MISSING on failure.
double NearCriticalVolume(double T, double P, bool liquidSide);

}  // namespace ifc67
}  // namespace vt
