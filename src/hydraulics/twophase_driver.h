// The two-phase pressure-drop march: the pressure profile of a pipe carrying
// a gas-liquid stream, from the known downstream end towards the upstream
// end, node by node, re-establishing the stream's state at every node by a
// pressure-enthalpy flash.
#pragma once
#include <cstdint>

#include "hydraulics/twophase.h"
#include "vantaro/vantaro.h"
#include "workspace/workspace.h"

namespace vt {

// Two-phase method codes.
inline constexpr int32_t kTwoPhaseBeggsBrill = 2;
inline constexpr int32_t kTwoPhaseDukler = 3;
inline constexpr int32_t kTwoPhaseOrkiszewski = 4;  // Dukler on downhill pipes
inline constexpr int32_t kTwoPhaseLockhartMartinelli = 5;
inline constexpr int32_t kTwoPhaseBeggsBrillNoAcceleration = 6;
inline constexpr int32_t kTwoPhaseBeggsBrillDensityChange = 7;
inline constexpr int32_t kTwoPhaseDuklerDensity = 8;

// Extra passes per segment beyond this bound change nothing (each pass
// halves the distance to the method's answer) and are not run.
inline constexpr int32_t kMaxExtraPasses = 100;

// Everything the march takes, in the export's terms.
struct TwoPhaseCase {
    int32_t friction;     // friction-factor method, 0 or 1
    int32_t method;       // two-phase method code (2-8; others only flash the nodes)
    int32_t n;            // segments; the node arrays have n + 1 entries
    int32_t thermo;       // thermodynamic method of the flashes
    int32_t hmethod;      // enthalpy method of the flashes
    const PipeSegment* pipe;
    double w;             // mass flow, kg/h
    double* p;            // node pressures, bar: [n] given, [0..n-1] estimates in, results out
    const double* h;      // node molar enthalpies, kJ/kmol
    const double* z;      // feed mole fractions
    double* t;            // out: node temperatures, degC
    double* v;            // out: node mixture velocities, m/s
    const double* tol;    // tolerance block of the flashes
    int32_t elevation;    // elevation option
    int32_t extraPasses;  // extra evaluations of each segment
    int32_t holdupCorrection;
};

// Status: -1 the profile was computed; 0 it was not (invalid input, or a
// node whose flash gives no usable state: the result is then all MISSING
// with regime -32767).
inline constexpr int32_t kTwoPhaseOk = -1;
inline constexpr int32_t kTwoPhaseFailed = 0;

// Runs the march. With useTemperatureEstimate, each node's flash starts its
// temperature search from the temperature last found at that node or at its
// downstream neighbour.
int32_t TwoPhaseMarch(const Workspace& ws, const TwoPhaseCase& c, FlowResult& res,
                      bool useTemperatureEstimate);

// The march as the export runs it.
int32_t NewTwoPhaseDp(const Workspace& ws, const TwoPhaseCase& c, FlowResult& res);

}  // namespace vt
