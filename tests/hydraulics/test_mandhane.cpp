// Flow-regime map: the winning regime at points well inside each region of
// the published Mandhane-Gregory-Aziz map, the softmax properties and the
// export's guards.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "hydraulics/mandhane.h"
#include "vantaro/vantaro.h"

namespace {

int Winner(const double s[6]) {
    int b = 0;
    for (int j = 1; j < 6; ++j)
        if (s[j] > s[b]) b = j;
    return b;
}

TEST(Mandhane, RegionsOfThePublishedMap) {
    // Superficial velocities in ft/s. The first six are the engine's own
    // sample points; the rest lie well inside the regions of Mandhane,
    // Gregory & Aziz (1974), Fig. 5.
    struct Point {
        double gas, liquid;
        int regime;
    } points[] = {
        {1, 0.01, vt::kStratified},
        {30, 0.01, vt::kWave},
        {300, 0.1, vt::kAnnular},
        {0.1, 1, vt::kElongatedBubble},
        {10, 3, vt::kSlug},
        {1, 30, vt::kDispersedBubble},
        {0.5, 0.03, vt::kStratified},
        {3, 0.05, vt::kStratified},
        {50, 0.05, vt::kWave},
        {40, 0.03, vt::kWave},
        {500, 0.05, vt::kAnnular},
        {300, 1, vt::kAnnular},
        {0.3, 2, vt::kElongatedBubble},
        {0.5, 1, vt::kElongatedBubble},
        {10, 1, vt::kSlug},
        {15, 2, vt::kSlug},
        {1, 40, vt::kDispersedBubble},
        {5, 50, vt::kDispersedBubble},
    };
    for (const auto& p : points) {
        double s[6];
        EXPECT_EQ(Mandhane(p.gas, p.liquid, s), 0);
        EXPECT_EQ(Winner(s), p.regime) << p.gas << ", " << p.liquid;
        EXPECT_NEAR(s[Winner(s)], 1.0, 5e-5) << p.gas << ", " << p.liquid;
    }
}

TEST(Mandhane, ScoresAreAProbabilityVectorEverywhere) {
    for (double lg = -3; lg <= 3.01; lg += 0.25)
        for (double ll = -3; ll <= 2.01; ll += 0.25) {
            double s[6];
            vt::Mandhane(std::pow(10, lg), std::pow(10, ll), s);
            double sum = 0;
            for (double x : s) {
                EXPECT_GE(x, 0.0);
                EXPECT_LE(x, 1.0);
                sum += x;
            }
            EXPECT_NEAR(sum, 1.0, 1e-12) << lg << " " << ll;
        }
}

TEST(Mandhane, ExtremeVelocitiesDoNotOverflow) {
    // Outputs far beyond exp's range stay finite.
    for (double g : {1e-300, 1e-30, 1e30, 1e300})
        for (double l : {1e-300, 1e-30, 1e30, 1e300}) {
            double s[6];
            vt::Mandhane(g, l, s);
            double sum = 0;
            for (double x : s) {
                EXPECT_TRUE(std::isfinite(x)) << g << " " << l;
                sum += x;
            }
            EXPECT_NEAR(sum, 1.0, 1e-12);
        }
}

TEST(Mandhane, UnusableVelocitiesGiveMissingScores) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Mandhane(1, 1, nullptr), 0);
    for (auto [g, l] :
         {std::pair{0.0, 1.0}, {1.0, 0.0}, {-1.0, 1.0}, {nan, 1.0}, {1.0, INFINITY}}) {
        double s[6] = {};
        EXPECT_EQ(Mandhane(g, l, s), 0);
        for (double x : s) EXPECT_EQ(x, VANTARO_MISSING);
    }
}

}  // namespace
