// The process-wide workspace: component table, interaction matrices,
// equation-of-state constant blocks, work vectors and named vectors.
//
// Opened by OpenProps and released by CloseProps. The routines below the
// export layer take the workspace as an argument (never the global): they
// read the component table and write only the working slots and the scratch
// vectors, so one workspace serves one thread at a time.
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

// Named views of the work vectors (n doubles each), one set per routine
// family, bound when the workspace opens. Vectors of different sets may be
// the same memory where their uses never overlap in time.
struct FlashScratch {
    double* feed;         // working feed: negative and non-finite fractions as 0
    double* feedTrimmed;  // the feed without traces, for the initial estimates
    double* lnK1;         // ln K of the liquid (slot 1) against the vapour
    double* lnK2;         // ln K of the aqueous liquid (slot 2)
    double* step1;        // last substitution step of lnK1
    double* step2;        // last substitution step of lnK2
    double* prev1;        // lnK1 before the step
    double* prev2;        // lnK2 before the step
    double* dry[3];       // water-free phase compositions of the free-water model
    double* splitRatio;   // split fallback: ratio and K-values
    double* splitK1;
    double* splitK2;
    double* splitTerms[3];  // Rachford-Rice terms of the three-phase split
};

struct EosScratch {
    double* sumax;        // sum_j a_ij x_j of a phase solved outside the flash
    double* lnphiA;       // ln fugacity coefficients of a liquid
    double* lnphiB;       // ... and of a vapour (ln K pair)
    double* alphaSlope;   // departures: m_j x_j/sqrt(Tc_j) of the alpha derivative
    double* alphaCurve;   // departures: x_j (c_j + m_j)/sqrt(T) of its second derivative
};

struct PhaseScratch {
    double* dryA;  // water-free compositions: liquid densities, ln K pair
    double* dryB;
    double* lkUnit;  // Lee-Kesler: pure water as a composition
    double* lkVc13;  // Lee-Kesler: Vc^(1/3) of each component
};

struct Prop3Scratch {
    double* splitFeed;  // the liquid split on its own at a vapour-fraction finish
    double* phase;      // composition of a phase taken from a perturbed state
    double* lnK1;       // ln K of the liquids against the vapour (balance repair)
    double* lnK2;
    double* sub[3];   // phases of the liquid split (phase, lnK1, lnK2 reused)
    double* ends[6];  // compositions at the two ends of a property jump
};

struct TransportScratch {
    double* csA;  // corresponding-states terms of the liquid viscosity
    double* csB;
};

// Prop3 phase compositions that the sonic and choke routines discard.
struct StreamScratch {
    double* y;
    double* x;
    double* xw;
    double* xl;
};

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
    FlashScratch flash{};
    EosScratch eos{};
    PhaseScratch phase{};
    Prop3Scratch prop3{};
    TransportScratch transport{};
    StreamScratch stream{};
};

// The one workspace of the process.
extern Workspace g_ws;

// Parameter and component blocks of an equation of state: method 2 selects
// Soave-Redlich-Kwong, anything else Peng-Robinson.
inline double* EosPar(const Workspace& ws, int method) {
    return method == 2 ? ws.srkpar : ws.prpar;
}
inline CompBlock** EosInfo(const Workspace& ws, int method) {
    return method == 2 ? ws.srkinfo : ws.prinfo;
}
inline double** EosKij(const Workspace& ws, int method) {
    return method == 2 ? ws.kijsrk : ws.kijpr;
}

void OpenProps(int32_t n, const CompRecord* records, const double* kijpr, const double* kijsrk);
void CloseProps();

// Acentric factor the equations of state and COSTALD use for a component.
double SrkAcentric(int method, const CompRecord& c);
inline double SrkAcentric(const Workspace& ws, int method, int i) {
    return SrkAcentric(method, ws.cd[i]);
}

// Index of the first water component of the table, kNoWater for none.
int32_t WaterComponent(const Workspace& ws);

// The free-water component of K-value method `method`: the water component
// for the vapour-pressure method (3), none (kNoWater) for the others.
int32_t FreeWaterComponent(const Workspace& ws, int method);

}  // namespace vt
