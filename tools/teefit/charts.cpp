// Tee-loss correlations and the chart table.
//
// Where a correlation switches a coefficient at an area ratio, the chart
// ramps that coefficient linearly across a narrow band around the switch so
// that the chart is continuous (a fitted surface cannot follow a jump); the
// band is named at each switch. Outside the bands the values are the
// published ones.
#include "charts.h"

#include <cmath>

namespace teefit {
namespace {

constexpr double kPi = 3.14159265358979323846;

double CosDeg(double angle) { return std::cos(angle * kPi / 180.0); }
double SinDeg(double angle) { return std::sin(angle * kPi / 180.0); }

// 0 below a0, 1 above a1, linear in between.
double Ramp(double a, double a0, double a1) {
    if (a <= a0) return 0.0;
    if (a >= a1) return 1.0;
    return (a - a0) / (a1 - a0);
}

// Crane's F of the converging tee: 1.74, 1.41, 1 and 0 at 30, 45, 60 and
// 90 degrees (about 2 cos(angle)); 2 cos(angle) beyond the tabulated angles.
double CraneF(double angle) {
    if (angle == 30) return 1.74;
    if (angle == 45) return 1.41;
    if (angle == 60) return 1.0;
    if (angle == 90) return 0.0;
    return 2.0 * CosDeg(angle);
}

// Coefficient C (Crane) = A (Idelchik, Table 7-1) of the converging branch:
// 1 for a <= 0.35; above, 0.9 (1 - q) for q <= 0.4 and 0.55 beyond.
// The step at a = 0.35 is ramped over 0.30 to 0.40.
double CombiningBranchC(double q, double a) {
    const double large = q <= 0.4 ? 0.9 * (1.0 - q) : 0.55;
    return 1.0 + (large - 1.0) * Ramp(a, 0.30, 0.40);
}

}  // namespace

// Crane Co., Flow of Fluids Through Valves, Fittings, and Pipe, Technical
// Paper 410 (2009), converging tees and wyes, branch:
// K = C [1 + (q/a)^2 - 2 (1 - q)^2 - F q^2 / a].
double CraneCombiningBranch(double q, double a, double angle) {
    const double v = q / a;
    return CombiningBranchC(q, a) * (1.0 + v * v - 2.0 * (1.0 - q) * (1.0 - q) - CraneF(angle) * q * q / a);
}

// Crane TP-410 (2009), converging tees and wyes, run: K = 1 - (1 - q)^2 -
// F q^2 / a below 75 degrees; K = 1.55 q - q^2 for the 90-degree tee.
double CraneCombiningRun(double q, double a, double angle) {
    if (angle >= 75 && angle <= 90) return 1.55 * q - q * q;
    return 1.0 - (1.0 - q) * (1.0 - q) - CraneF(angle) * q * q / a;
}

// Crane TP-410 (2009), diverging tees and wyes, branch:
// K = G [1 + H (q/a)^2 - J (q/a) cos(angle)], H = 1 and J = 2 except for the
// equal 90-degree tee (H = 0.3, J = 0; reached by a ramp over a = 0.9 to 1).
// G below 75 degrees: a <= 0.35: 1.1 - 0.7 q (q <= 0.4) or 0.85; a > 0.35:
// 1 - 0.6 q (q <= 0.6) or 0.6 (step ramped over a = 0.30 to 0.40). From 75
// degrees: 1 for a <= 2/3, 1 + 0.3 q^2 above (ramped over a = 0.62 to 0.71).
double CraneDividingBranch(double q, double a, double angle) {
    double g;
    if (angle < 75) {
        const double small = q <= 0.4 ? 1.1 - 0.7 * q : 0.85;
        const double large = q <= 0.6 ? 1.0 - 0.6 * q : 0.6;
        g = small + (large - small) * Ramp(a, 0.30, 0.40);
    } else {
        g = 1.0 + 0.3 * q * q * Ramp(a, 0.62, 0.71);
    }
    double h = 1.0, j = 2.0;
    if (angle == 90) {
        const double w = Ramp(a, 0.9, 1.0);
        h = 1.0 - 0.7 * w;
        j = 2.0 * (1.0 - w);
    }
    const double v = q / a;
    return g * (1.0 + h * v * v - j * v * CosDeg(angle));
}

// Crane TP-410 (2009), diverging tees and wyes, run: K = M q^2 with M = 0.4
// for a <= 0.4; above, M = 2 (2q - 1) for q <= 0.5 and 0.3 (2q - 1) beyond.
double CraneDividingRun(double q, double a) {
    double m;
    if (a <= 0.4)
        m = 0.4;
    else if (q <= 0.5)
        m = 2.0 * (2.0 * q - 1.0);
    else
        m = 0.3 * (2.0 * q - 1.0);
    return m * q * q;
}

// Idelchik, Handbook of Hydraulic Resistance, 3rd ed. (1994/2006), Diagram
// 7-1 (Gardel's converging tee, run area = common area), side branch:
// K = A [1 + (q/a)^2 - 2 (1 - q)^2 - 2 (q^2 / a) cos(angle)], A as Crane's C.
double IdelchikCombiningBranch(double q, double a, double angle) {
    const double v = q / a;
    return CombiningBranchC(q, a) *
           (1.0 + v * v - 2.0 * (1.0 - q) * (1.0 - q) - 2.0 * q * q / a * CosDeg(angle));
}

// Idelchik (1994/2006), Diagram 7-1, straight passage:
// K = 1 - (1 - q)^2 - (1.4 - q) q^2 sin(angle) - 2 K's (q / a) cos(angle),
// K's (Table 7-3) = 0.8 q for a <= 0.35; above, 0.5 for q <= 0.6 and 0.8 q
// beyond (step ramped over a = 0.20 to 0.50). Transcribed as in the
// FluidDissipation Modelica library's dp_Tjoin.
double IdelchikCombiningRun(double q, double a, double angle) {
    const double large = q <= 0.6 ? 0.5 : 0.8 * q;
    const double ks = 0.8 * q + (large - 0.8 * q) * Ramp(a, 0.20, 0.50);
    return 1.0 - (1.0 - q) * (1.0 - q) - (1.4 - q) * q * q * SinDeg(angle) -
           2.0 * ks * q / a * CosDeg(angle);
}

const std::vector<Chart>& Charts() {
    static const char* kCrane = "Crane TP-410 (2009)";
    static const char* kIdelchik = "Idelchik, Handbook of Hydraulic Resistance, Diagram 7-1 (Gardel)";
    static const std::vector<Chart> charts = {
        {'A', "K13 combining, branch, type 0 (30 deg)", kCrane, 30, 0, CraneCombiningBranch},
        {'B', "K13 combining, branch, type 0 (30 deg), blend chart", kIdelchik, 30, 1, IdelchikCombiningBranch},
        {'C', "K13 combining, branch, type 1 (45 deg)", kCrane, 45, 0, CraneCombiningBranch},
        {'D', "K13 combining, branch, type 1 (45 deg), blend chart", kIdelchik, 45, 1, IdelchikCombiningBranch},
        {'E', "K13 combining, branch, type 2 (60 deg)", kCrane, 60, 0, CraneCombiningBranch},
        {'F', "K13 combining, branch, type 2 (60 deg), blend chart", kIdelchik, 60, 1, IdelchikCombiningBranch},
        {'G', "K13 combining, branch, type 3 (90 deg)", kCrane, 90, 0, CraneCombiningBranch},
        {'H', "K13 combining, branch, type 3 (90 deg), blend chart", kIdelchik, 90, 1, IdelchikCombiningBranch},
        {'I', "K13 combining, branch, types 4-6 (135 deg)", kCrane, 135, 0, CraneCombiningBranch},
        {'J', "K13 dividing, branch, types 0-1 (45 deg)", kCrane, 45, 0, CraneDividingBranch},
        {'K', "K13 dividing, branch, type 2 (60 deg)", kCrane, 60, 0, CraneDividingBranch},
        {'L', "K13 dividing, branch, type 3 (90 deg)", kCrane, 90, 0, CraneDividingBranch},
        {'M', "K13 dividing, branch, types 4-6 (135 deg)", kCrane, 135, 0, CraneDividingBranch},
        {'O', "K23 combining, run, type 0 (30 deg)", kCrane, 30, 0, CraneCombiningRun},
        {'P', "K23 combining, run, type 0 (30 deg), blend chart", kIdelchik, 30, 1, IdelchikCombiningRun},
        {'Q', "K23 combining, run, type 1 (45 deg)", kCrane, 45, 0, CraneCombiningRun},
        {'R', "K23 combining, run, type 1 (45 deg), blend chart", kIdelchik, 45, 1, IdelchikCombiningRun},
        {'S', "K23 combining, run, type 2 (60 deg)", kCrane, 60, 0, CraneCombiningRun},
        {'T', "K23 combining, run, type 2 (60 deg), blend chart", kIdelchik, 60, 1, IdelchikCombiningRun},
        {'U', "K23 combining, run, type 3 (90 deg)", kCrane, 90, 0, CraneCombiningRun},
        {'V', "K23 combining, run, types 4-6 (135 deg)", kCrane, 135, 0, CraneCombiningRun},
    };
    return charts;
}

std::vector<double> GridQ() {
    std::vector<double> g;
    for (int i = 0; i <= 20; ++i) g.push_back(i / 20.0);
    return g;
}

std::vector<double> GridA() {
    std::vector<double> g;
    for (int i = 4; i <= 40; ++i) g.push_back(i / 40.0);
    return g;
}

}  // namespace teefit
