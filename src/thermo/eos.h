// Generalised two-parameter cubic equations of state,
//   P = R T/(V - b) - a/((V + delta1 b)(V + delta2 b)),
// Peng-Robinson (method 1) and Soave-Redlich-Kwong (method 2), with their
// constants in the workspace parameter blocks. Any other method number uses
// the Peng-Robinson blocks. Every call writes the working slots of the
// method's block and the per-component blocks.
#pragma once
#include <cstdint>

#include "platform/constants.h"
#include "workspace/workspace.h"

namespace vt {

// Working slots of a parameter block (after the constants 0..10).
enum EosSlot : int {
    kSlotT = 11,
    kSlotP = 12,
    kSlotRT = 13,
    kSlotAP = 14,  // P/(R T)^2
    kSlotBP = 15,  // P/(R T)
    kAlphaT = 16,  // temperature of the current sqrt(alpha) and a_ij (0: none yet)
    kBmix = 36,    // 36..38: mixture b of phases 0, 1, 2
    kAmix = 39,    // 39..41: mixture a
    kVmol = 42,    // 42..44: molar volume, m3/kmol
    kZfac = 45,    // 45..47: compressibility factor
    kAcub = 48,
    kBcub = 49,
    kCubic = 50,   // 50..52: c2, c1, c0
    kZmb = 53,
    kQneg = 54,
    kZd1 = 55,
    kZd2 = 56,
    kLnratio = 57,
    kQln = 58,
};

// Sets the state slots T, P, RT, BP, AP of the method's parameter block.
void EosSetState(const Workspace& ws, int method, double t, double p);

// sqrt(alpha) of every component and the a_ij matrix at slot T; nothing to
// do when they are already at that temperature.
void EosAlpha(const Workspace& ws, int method);

// Mixture a, b and the chosen root (liquidRoot > 0: liquid) of composition
// x at the state in the block; sumax receives sum_j a_ij x_j.
void EosMixSolve(const Workspace& ws, int method, double* a, double* b, double* v, double* z,
                 int liquidRoot, const double* x, double* sumax);

// Real roots of Z^3 + c[0] Z^2 + c[1] Z + c[2] = 0. Returns 1 (roots[0]
// real, roots[1] and roots[2] the real and imaginary parts of the complex
// pair), 2 (a double root) or 3 (largest, smallest, middle).
int CubicRoots(const double* c, double* roots);

// Mixture solve of composition x (liquidRoot > 0: liquid root) and the ln
// fugacity coefficients of its components: 230.3 for a component with x <
// 1e-100, 500 for every component when the root is not above the
// co-volume (v is then set to b).
void EosPhaseLnPhi(const Workspace& ws, int method, const double* x, int liquidRoot, double* a,
                   double* b, double* v, double* z, double* s, double* lnphi);

// Fugacity coefficients of the present phases of comps (x0, x1, x2, z) and
// ln K of the liquids against the vapour; initial estimates instead when
// lnK1[0] is MISSING (which may set states[2] to absent).
void EosLnK(const Workspace& ws, int method, double t, double p, double* const* comps,
            int32_t* states, double* lnK1, double* lnK2);

// Initial ln K of component i for liquid phase 1 or 2 (Wilson form for
// methods 1, 2; vapour pressure for method 3); MISSING for another method.
double InitLnK(int method, const CompRecord& c, double t, double p, int phase);
inline double InitLnK(const Workspace& ws, int method, int i, double t, double p, int phase) {
    return InitLnK(method, ws.cd[i], t, p, phase);
}

// Enthalpy, entropy and heat-capacity departures of one phase of volume v,
// mixture a, b, composition x, at the state in the block.
void EosDeparture(const Workspace& ws, int method, double* cp, double* h, double* s, double v,
                  double a, double b, const double* x);

}  // namespace vt
