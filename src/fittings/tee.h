// Tee loss coefficients K13 (leg 1, the branch, to leg 3, the common leg) and
// K23 (leg 2, the run, to leg 3) from the fitted tee charts.
#pragma once
#include <cstdint>

namespace vt {

// K when no chart applies (junction type outside 0..6).
constexpr double kTeeNoCoefficient = 9e99;

struct TeeResult {
    double k = 0;
    int32_t status = 1;       // 1: K strictly inside (lo, hi); 0: at or beyond a bound
    bool boundsSet = false;   // lo and hi are written only when a chart was used
    double hi = 0, lo = 0;
};

// The dividing-flow run coefficient (network N, single input q), unclamped.
double TeeDividingRunK(double q);

// a: area ratio, q: flow ratio, type 0..6, pattern 0 (dividing) or non-zero
// (combining), mode 1 = single chart (else blend where the case has one),
// areaFloor 1 = raise a below 0.1 to 0.1.
TeeResult TeeK13(double a, double q, int32_t type, int32_t pattern, int32_t mode, int32_t areaFloor);
TeeResult TeeK23(double a, double q, int32_t type, int32_t pattern, int32_t mode, int32_t areaFloor);

}  // namespace vt
