// Contraction loss coefficient through the export.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

#include "vantaro/vantaro.h"

namespace {

double K(double r, double theta) {
    double k = 0;
    EXPECT_EQ(ContractionLossCoefficientBenedict(r, theta, &k), -1);
    return k;
}

// Values and the angle factor: 1 at 90 degrees (to within 4e-6), a minimum
// near 30, above 1 beyond 90; no clamping at zero.
TEST(Contraction, ValuesAndTheAngleFactor) {
    for (auto [r, t, k] : {std::tuple{0.0, 90.0, 0.57806}, {0.5, 90.0, 0.32842}, {0.5, 30.0, 0.06428},
                           {0.5, 0.0, 0.12015}, {0.25, 180.0, 1.81535}, {1.0, 90.0, -0.00308}})
        EXPECT_NEAR(K(r, t), k, 5e-6) << r << " " << t;
    EXPECT_NEAR(K(0.5, 30) / K(0.5, 90), 0.19571, 5e-5);
    EXPECT_NEAR(K(0.5, 0) / K(0.5, 90), 0.36583, 5e-5);
    EXPECT_NEAR(K(0.25, 180) / K(0.25, 90), 3.72724, 5e-5);
    EXPECT_TRUE(K(0.3, 30) < K(0.3, 15) && K(0.3, 30) < K(0.3, 45));
    // At 90 degrees K falls as the area ratio approaches 1.
    for (double r = 0.1; r <= 0.9001; r += 0.1) EXPECT_LT(K(r, 90), K(r - 0.1, 90)) << r;
}

TEST(Contraction, OutOfRangeIsRefusedAndFlagsAreCleared) {
    EXPECT_EQ(ContractionLossCoefficientBenedict(0.5, 90, nullptr), 0);
    for (auto [r, t] : {std::pair{-0.1, 90.0}, {1.1, 90.0}, {NAN, 90.0}, {0.5, -1.0}, {0.5, 181.0}, {0.5, NAN}}) {
        double k = 0;
        EXPECT_EQ(ContractionLossCoefficientBenedict(r, t, &k), 0);
        EXPECT_EQ(k, VANTARO_MISSING);
    }
    std::feraiseexcept(FE_INEXACT | FE_OVERFLOW);
    K(0.5, 90);
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
}

}  // namespace
