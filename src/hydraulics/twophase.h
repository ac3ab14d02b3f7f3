// Two-phase pipe segments: the four segment methods (Beggs-Brill, Dukler,
// Lockhart-Martinelli, Orkiszewski) and their building blocks.
//
// A segment lies between two nodes of a pipe divided into n equal parts.
// Each method takes the properties of both nodes and returns the pressure at
// the upstream node from the one at the downstream node. Units: bar, m,
// inches for diameter and roughness (PipeSegment), m3/s, kg/m3, cP, dyn/cm.
#pragma once
#include <cstdint>

#include "vantaro/vantaro.h"

namespace vt {

// Flow-regime codes written by the methods.
inline constexpr int32_t kRegimeUndetermined = 0;
inline constexpr int32_t kRegimeSinglePhase = 1;
inline constexpr int32_t kRegimeBubble = 3;
inline constexpr int32_t kRegimeSlug = 4;
inline constexpr int32_t kRegimeSegregated = 8;
inline constexpr int32_t kRegimeDistributed = 9;
inline constexpr int32_t kRegimeIntermittent = 10;
inline constexpr int32_t kRegimeTransition = 11;
inline constexpr int32_t kRegimeMist = 12;

// Elevation options: static head both ways; no recovery downhill; none.
inline constexpr int32_t kElevationBoth = 0;
inline constexpr int32_t kElevationNoRecovery = 1;
inline constexpr int32_t kElevationNone = 2;

// The two nodes of a segment. Volume flows [0] downstream, [1] upstream;
// property arrays hold slots 0-4 (vapour, liquid, aqueous, mixture,
// combined liquid) of the downstream node, then the same of the upstream
// node. A phase absent from a node has MISSING properties and zero flow.
struct SegmentNodes {
    double qv[2];      // vapour volume flow, m3/s
    double ql[2];      // liquid volume flow (both liquids), m3/s
    double rho[10];    // densities, kg/m3
    double mu[10];     // viscosities, cP
    double sigma[10];  // surface tensions, dyn/cm (liquid slots)
};

// What a method reports for its segment besides the upstream pressure.
struct SegmentResult {
    double leq;     // equivalent length of the segment's share of the fittings, m
    double re;      // Reynolds number
    double fric;    // Darcy friction factor
    double dpacc;   // acceleration drop, bar
    double dpfric;  // friction drop, bar
    double dpelev;  // static-head drop, bar
    double holdup;  // liquid holdup (MISSING where the method gives none)
};

// The segment as every method sees it: friction-factor method, downstream
// pressure (bar), number of segments of the pipe, the pipe, elevation option.
struct SegmentCall {
    int32_t friction;
    double pd;
    int32_t n;
    const PipeSegment* pipe;
    int32_t elevation;
};

// Beggs-Brill acceleration variants.
inline constexpr int32_t kBeggsBrillKineticEnergy = 0;
inline constexpr int32_t kBeggsBrillNoAcceleration = 1;
inline constexpr int32_t kBeggsBrillDensityChange = 2;

// Dukler static-head modes.
inline constexpr int32_t kDuklerFlanigan = 0;
inline constexpr int32_t kDuklerTwoPhaseDensity = 1;

// Froude number vm^2 / (g D) of mixture velocity vm (m/s) in a pipe of
// diameter dia (in). Returns 1.
int32_t FroudeNumber(double vm, double dia, double* fr);

// Beggs-Brill horizontal flow-regime map: no-slip liquid fraction, Froude
// number and regime code (1, 8, 9, 10, or 0 on a boundary) for vapour and
// liquid volume flows qv, ql and mixture velocity vm. Returns 1.
int32_t BeggsBrillRegime(double qv, double ql, double vm, double dia, double* lambda, double* fr,
                         int32_t* code);

// Upstream pressure of a segment by Beggs-Brill. `pest` is the current
// estimate of the upstream pressure (bar, for the kinetic-energy variant);
// a non-zero holdupCorrection applies the uphill/downhill factors.
double BeggsBrillSegment(int32_t variant, double pest, const SegmentCall& call,
                         const SegmentNodes& nodes, SegmentResult& out, int32_t* regime,
                         int32_t holdupCorrection);

// Liquid holdup from the Dukler chart at no-slip liquid fraction lambda and
// two-phase Reynolds number re.
double DuklerHoldup(double lambda, double re);

// Acceleration drop (bar) from the momentum flux of the downstream node
// exceeding that of the upstream one; rho is the segment's density array,
// the other pairs are {downstream, upstream}. Returns 1.
int32_t MomentumFluxDrop(const double rho[10], const double holdup[2], const double vsg[2],
                         const double vsl[2], double* out);

// Upstream pressure of a segment by Dukler (constant slip) with the static
// head of mode 0 (Flanigan) or 1 (two-phase density).
double DuklerSegment(const SegmentCall& call, const SegmentNodes& nodes, SegmentResult& out,
                     int32_t* regime, int32_t mode);

// Upstream pressure of a segment by Lockhart-Martinelli (friction only; the
// regime code is left as it is).
double LockhartMartinelliSegment(const SegmentCall& call, const SegmentNodes& nodes,
                                 SegmentResult& out);

// Upstream pressure of a vertical upward segment by Orkiszewski.
double OrkiszewskiSegment(const SegmentCall& call, const SegmentNodes& nodes, SegmentResult& out,
                          int32_t* regime);

// Orkiszewski's building blocks, in field units (ft, ft/s, lb/ft3, cP).
// Taylor-bubble rise velocity in slug flow, ft/s.
double BubbleRiseVelocity(double d, double vm, double rhoL, double muL);
// Liquid distribution coefficient of slug flow for an oil-continuous liquid;
// vb and the slug density without the coefficient (rhoSlug0) set its lower
// bound above 10 ft/s.
double LiquidDistributionCoefficient(double d, double vm, double muL, double vb, double qt,
                                     double ap, double rhoL, double rhoSlug0);

}  // namespace vt
