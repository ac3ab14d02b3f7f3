#include "fittings/contraction.h"

#include <cmath>

namespace vt {

namespace {

// Angle factor, 1 at 90 degrees (t = theta / 90).
double ContractionAngleFactor(double t) {
    return std::pow(0.03614 * std::pow(t * (1.0 + t), 4.79028) + 0.01791 * std::exp(-9.624 * t),
                    0.25);
}

// Sudden-contraction coefficient against the area ratio, a polynomial in its
// square root.
double ContractionRatioPolynomial(double r) {
    return 0.57806 + 0.39543 * std::pow(r, 0.5) - 4.5385 * r + 14.24265 * std::pow(r, 1.5) -
           19.2211 * r * r + 8.54038 * std::pow(r, 2.5);
}

}  // namespace

// Closed-form contraction loss in the manner of Benedict, Fundamentals of Pipe
// Flow (Wiley, 1980): sudden-contraction polynomial scaled by an angle factor.
int32_t ContractionLossCoefficientBenedict(double ratio, double angleDeg, double* k) {
    const double t = angleDeg / 90.0;
    *k = ContractionAngleFactor(t) * ContractionRatioPolynomial(ratio);
    return -1;
}

}  // namespace vt
