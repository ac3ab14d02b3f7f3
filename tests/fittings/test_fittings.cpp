// The contraction loss coefficient through the export; the fitted tee
// networks against the published correlations they chart, in level positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "charts.h"
#include "fittings/tee_model.h"
#include "fittings/tee_networks.h"
#include "vantaro/vantaro.h"

namespace {

double K(double r, double theta) {
    double k = 0;
    EXPECT_EQ(ContractionLossCoefficientBenedict(r, theta, &k), -1);
    return k;
}

// Values (the angle factor 1 at 90 degrees to within 4e-6, a minimum near
// 30, above 1 beyond 90); no clamping at zero.
TEST(Contraction, ValuesAngleFactorAndGuards) {
    for (auto [r, t, k] : {std::tuple{0.0, 90.0, 0.57806}, {0.5, 90.0, 0.32842}, {0.5, 30.0, 0.06428},
                           {0.5, 0.0, 0.12015}, {0.25, 180.0, 1.81535}, {1.0, 90.0, -0.00308}})
        EXPECT_NEAR(K(r, t), k, 5e-6) << r << " " << t;
    EXPECT_TRUE(K(0.3, 30) < K(0.3, 15) && K(0.3, 30) < K(0.3, 45));
    // At 90 degrees K falls as the area ratio approaches 1.
    for (double r = 0.1; r <= 0.9001; r += 0.1) EXPECT_LT(K(r, 90), K(r - 0.1, 90)) << r;
    // Out of range or NaN: status 0 and MISSING.
    EXPECT_EQ(ContractionLossCoefficientBenedict(0.5, 90, nullptr), 0);
    for (auto [r, t] : {std::pair{-0.1, 90.0}, {1.1, 90.0}, {NAN, 90.0}, {0.5, -1.0}, {0.5, 181.0}, {0.5, NAN}}) {
        double k = 0;
        EXPECT_TRUE(ContractionLossCoefficientBenedict(r, t, &k) == 0 && k == VANTARO_MISSING) << r << " " << t;
    }
}

// Position error of the network at (q, a): zero where the chart is held at a
// bound and the network is beyond it on the same side.
double PositionError(const teefit::Chart& ch, double q, double a) {
    const int idx = vt::TeeChartIndex(ch.letter);
    const vt::KLevels& t = *vt::TeeLevels(idx);
    const double k = ch.k(q, a, ch.angle);
    const double target = vt::LevelPosition(t, std::clamp(k, t.lo, t.hi)) + ch.shift;
    const double r = vt::EvalTeeNetwork(*vt::FittedTeeNetwork(idx), q, a) - target;
    if (k >= t.hi && r > 0) return 0;
    if (k <= t.lo && r < 0) return 0;
    return std::fabs(r);
}

// Within a quarter position (RMS) over the chart grid, one at worst; on a
// grid four times finer, within two (the steepest charts, level lists dense
// near zero, move by several positions within one grid cell) and K inside
// the chart's bounds.
TEST(TeeCharts, EveryNetworkReproducesItsChartWithoutOscillation) {
    ASSERT_EQ(teefit::Charts().size(), 21u);
    for (const teefit::Chart& ch : teefit::Charts()) {
        const int idx = vt::TeeChartIndex(ch.letter);
        const vt::KLevels& t = *vt::TeeLevels(idx);
        double sum = 0, worst = 0, fine = 0;
        for (double a : teefit::GridA())
            for (double q : teefit::GridQ()) {
                const double e = PositionError(ch, q, a);
                sum += e * e;
                worst = std::max(worst, e);
            }
        for (int i = 0; i <= 80; ++i)
            for (int j = 0; j <= 144; ++j) {
                const double q = i / 80.0, a = 0.1 + j * 0.00625;
                fine = std::max(fine, PositionError(ch, q, a));
                const double k = vt::LevelLookup(t, vt::EvalTeeNetwork(*vt::FittedTeeNetwork(idx), q, a) - ch.shift);
                ASSERT_TRUE(std::isfinite(k) && k >= t.lo && k <= t.hi) << ch.letter << " q=" << q << " a=" << a;
            }
        const double n = static_cast<double>(teefit::GridA().size() * teefit::GridQ().size());
        EXPECT_TRUE(std::sqrt(sum / n) <= 0.25 && worst <= 1.0 && fine <= 2.0) << ch.letter << " " << worst << " " << fine;
    }
}

}  // namespace
