// The process-wide workspace: component table, interaction matrices,
// equation-of-state constant blocks, work vectors and named vectors.
//
// Opened by OpenProps and released by CloseProps. Every property routine
// reads it and the equation-of-state routines write their working slots into
// it, so the engine is strictly single-threaded.
#pragma once
#include <cstdint>

#include "platform/constants.h"
#include "vantaro/vantaro.h"

namespace vt {

// Equation-of-state parameter block: 60 doubles. Slots 0..10 are constants
// filled by OpenProps; 11..58 are working values of the current state;
// 59 is the alpha constant term of the water component.
inline constexpr int kParSlots = 60;
enum ParSlot : int {
    kOmegaA = 0,
    kOmegaB = 1,
    kM0 = 2,
    kM1 = 3,
    kM2 = 4,
    kDelta1 = 5,
    kDelta2 = 6,
    kDdiff = 7,   // delta2 - delta1
    kUsum = 8,    // delta2 + delta1
    kWprod = 9,   // delta2 * delta1
    kRgasSlot = 10,
    kAlpha0 = 59,
};

// Per-component equation-of-state block (12 slots of 8 bytes).
struct CompBlock {
    double b;         // co-volume, m3/kmol
    double m;         // slope of the alpha function
    double ac;        // attraction parameter at the critical point
    double sqalpha;   // sqrt(alpha) at the current temperature
    double* aij;      // row i of the mixture a_ij matrix (n doubles)
    double sumax[3];  // sum_j a_ij x_j for phases 0, 1, 2
    double lnphi[3];  // ln fugacity coefficient in phases 0, 1, 2
    double dterm;     // 2 sumax/a_m - b_i/b_m of the phase being evaluated
};
static_assert(sizeof(CompBlock) == 12 * 8, "component block is 12 slots");

inline constexpr int kWork1 = 40, kWork2 = 5, kWork3 = 5, kWork4 = 10;

struct Workspace {
    int32_t ncomp = 0;
    CompRecord* cd = nullptr;
    double** kijpr = nullptr;
    double** kijsrk = nullptr;
    double* work1[kWork1] = {};
    double* work2[kWork2] = {};
    double* work3[kWork3] = {};
    double* work4[kWork4] = {};
    double* prpar = nullptr;
    CompBlock** prinfo = nullptr;
    double* acrootsPR = nullptr;
    double* acotrootsPR = nullptr;
    double* srkpar = nullptr;
    CompBlock** srkinfo = nullptr;
    double* acrootsSRK = nullptr;
    double* acotrootsSRK = nullptr;
    double* vp_parm = nullptr;  // 6 doubles
    double* molev = nullptr;
    double* mole1 = nullptr;
    double* molew = nullptr;
    double* molem = nullptr;
    double* mw12 = nullptr;  // mw^0.5
    double* mw13 = nullptr;  // mw^0.33333
    double* pc23 = nullptr;  // pc^0.66667
    double* tc16 = nullptr;  // tc^0.16667
    int32_t iwater = kNoWater;  // free-water component index
};

// The one workspace of the process.
extern Workspace g_ws;

// Parameter and component blocks of an equation of state: method 2 selects
// Soave-Redlich-Kwong, anything else Peng-Robinson.
inline double* EosPar(int method) { return method == 2 ? g_ws.srkpar : g_ws.prpar; }
inline CompBlock** EosInfo(int method) { return method == 2 ? g_ws.srkinfo : g_ws.prinfo; }
inline double** EosKij(int method) { return method == 2 ? g_ws.kijsrk : g_ws.kijpr; }

void OpenProps(int32_t n, const CompRecord* records, const double* kijpr, const double* kijsrk);
void CloseProps();

// Acentric factor the equations of state and COSTALD use for component i.
double SrkAcentric(int method, int i);

}  // namespace vt
