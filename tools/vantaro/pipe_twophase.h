// The two-phase part of the pipe command: a relief line from a valve outlet
// to a header carrying the case's stream, marched with NewTwoPhaseDp.
#pragma once
#include <string>
#include <vector>

#include "cli.h"

namespace vantaro_cli {

struct TwoPhaseOptions {
    std::string method;  // name or code; empty: not asked for
    int segments = 10;
    int passes = 2;      // extra passes per segment
    double rise = 0.0;   // m
    int elevation = 0;
    bool correction = false;
    int thermo = 1;      // Peng-Robinson
    int hmethod = 1;
};

void ConfigureTwoPhase(CLI::App& sub, TwoPhaseOptions& o);

// The line's node profile and summary for one method, and with allMethods a
// summary row for every method code. The relieving state (the stream's
// enthalpy at every node) is the case's T and P.
std::vector<Table> TwoPhaseTables(const Session& s, PipeSegment pipe, double flow, double p2,
                                  int friction, const TwoPhaseOptions& o, bool allMethods);

}  // namespace vantaro_cli
