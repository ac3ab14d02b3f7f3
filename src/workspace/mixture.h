// Mole-fraction-weighted averages of component constants, and the bilinear
// table interpolation used by the water-viscosity correlation.
#pragma once
#include <cstdint>

namespace vt {
struct Workspace;
}

namespace vt {

// Sum of x_i * constant_i over the table, fractions used as given (not
// normalised); zero fractions are skipped. 1 on success; 0 when x[0] is
// MISSING, with *result = MISSING.
int32_t MolWeight(const Workspace& ws, const double* x, double* result);
int32_t PseudoPc(const Workspace& ws, const double* x, double* result);
int32_t PseudoTc(const Workspace& ws, const double* x, double* result);
int32_t MixVc(const Workspace& ws, const double* x, double* result);

// Molar mass sum for the equilibrium and property code: MISSING as soon as
// any fraction is MISSING; zero fractions are added like any other.
double MixMw(const Workspace& ws, const double* x);

// sum x_i mw_i, as given (no normalisation, no MISSING check).
double CompositionMolWeight(const Workspace& ws, const double* x);

// Bilinear interpolation in z (row length fixed at 3: z[3 i + j] belongs to
// (xs[i], ys[j])); MISSING outside the grid.
double Interp2(double x, double y, int nx, int ny, const double* xs, const double* ys,
               const double* z);

}  // namespace vt
