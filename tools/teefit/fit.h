// Levenberg-Marquardt fit of one tee network to its chart data.
#pragma once
#include <cstdint>
#include <vector>

namespace teefit {

// One chart point: target position t in the level list. side = +1 when the
// chart is at or above the table's upper bound (any output >= t is exact),
// -1 at or below the lower bound (any output <= t is exact), else 0.
struct Sample {
    double q, a, t;
    int side;
};

struct Network {
    int hidden = 0;
    std::vector<double> c, w, v;  // w: hidden x 5, row-major
    double b = 0;
};

struct Budget {
    int starts = 5;         // random starts
    int startIters = 60;    // iterations of each start
    int finalIters = 600;   // further iterations of the best start
};

// The residual the fit minimises: output minus target, zero on the open
// side of a bound.
double Residual(const Sample& s, double y);

Network FitNetwork(const std::vector<Sample>& data, int hidden, uint64_t seed, const Budget& budget);

}  // namespace teefit
