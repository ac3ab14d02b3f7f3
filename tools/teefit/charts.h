// The published tee-loss correlations behind the engine's tee charts, and the
// table that says which correlation each chart (network letter) stands for.
//
// Convention: leg 3 is the common leg (it carries the total flow), leg 2 the
// straight run, leg 1 the branch. q = Q_branch / Q_common, a = A_branch /
// A_common, the run has the common leg's area, and every K refers to the
// velocity head of the common leg. Flow pattern 0 is dividing flow (leg 3 in),
// non-zero is combining flow (leg 3 out).
#pragma once
#include <string>
#include <vector>

namespace teefit {

// ---- the correlations (angle in degrees) ----------------------------------
double CraneCombiningBranch(double q, double a, double angle);
double CraneCombiningRun(double q, double a, double angle);
double CraneDividingBranch(double q, double a, double angle);
double CraneDividingRun(double q, double a);
double IdelchikCombiningBranch(double q, double a, double angle);
double IdelchikCombiningRun(double q, double a, double angle);

// ---- the charts ------------------------------------------------------------
struct Chart {
    char letter;
    const char* what;    // which coefficient, which junction
    const char* source;  // published correlation
    double angle;        // branch angle, degrees
    int shift;           // 1 for a blend's second chart (its output is looked up at y - 1)
    double (*k)(double q, double a, double angle);
};
const std::vector<Chart>& Charts();

// The chart grid: q from 0 to 1 by 0.05, a from 0.1 to 1 by 0.025.
std::vector<double> GridQ();
std::vector<double> GridA();

}  // namespace teefit
