// Helpers shared by the two-phase segment methods.
#pragma once
#include <algorithm>
#include <cmath>
#include <numbers>

#include "hydraulics/twophase.h"
#include "numerics/guards.h"
#include "platform/constants.h"

namespace vt::twophase {

inline constexpr double kGravity = 9.80665;  // m/s2
inline constexpr double kInch = 0.0254;      // m per inch

inline double Diameter(const PipeSegment& pipe) { return kInch * pipe.dia; }
inline double Area(const PipeSegment& pipe) {
    const double d = Diameter(pipe);
    return std::numbers::pi / 4.0 * d * d;
}

// A segment's share of the pipe.
inline double SegmentLength(const SegmentCall& c) { return c.pipe->len / c.n; }
inline double SegmentK(const SegmentCall& c) { return c.pipe->kfit / c.n; }
inline double SegmentLD(const SegmentCall& c) { return c.pipe->ldfit / c.n; }

// Inclination from the rise over the (unmultiplied) length; a rise beyond
// the length counts as vertical, a pipe without length as horizontal.
inline double Inclination(const PipeSegment& pipe) {
    if (!(pipe.len > 0.0)) return 0.0;
    return std::asin(Clip(pipe.rise / pipe.len, -1.0, 1.0));
}

// Property of a phase over the segment: the mean of the two nodes where the
// phase flows at both, the one node's value where it flows at one only,
// MISSING where it flows at neither.
inline double PhaseMean(double down, double up, double flowDown, double flowUp) {
    const bool d = flowDown > 0.0, u = flowUp > 0.0;
    if (d && u) return 0.5 * (down + up);
    if (d) return down;
    if (u) return up;
    return MISSING;
}

inline bool Missing(double x) { return x == MISSING; }

// Static head (bar) of density rho over segment length ls at inclination
// theta under the elevation option.
inline double StaticHead(double rho, double theta, double ls, int32_t elevation) {
    if (elevation == kElevationNone) return 0.0;
    if (elevation == kElevationNoRecovery && theta < 0.0) return 0.0;
    return std::sin(theta) * rho * kGravity * ls * 1e-5;
}

// The result of a segment that carries nothing.
inline double NoFlow(const SegmentCall& c, SegmentResult& out) {
    out = SegmentResult{0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    return c.pd;
}

}  // namespace vt::twophase
