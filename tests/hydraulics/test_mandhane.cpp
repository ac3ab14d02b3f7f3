// Flow-regime map: the winning regime at points well inside each region of
// the published Mandhane-Gregory-Aziz map, the softmax properties and the
// export's guards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "../support/csv.h"
#include "hydraulics/mandhane.h"
#include "vantaro/vantaro.h"

namespace {

TEST(Mandhane, RegionsOfThePublishedMap) {
    const std::string regimes[] = {"dispersed bubble", "elongated bubble", "slug", "stratified", "wave", "annular"};
    ASSERT_EQ(regimes[vt::kSlug], "slug");
    ASSERT_EQ(regimes[vt::kAnnular], "annular");
    for (const vt::test::CsvRow& p : vt::test::ReadCsv("tests/data/mandhane_map.csv")) {
        double s[6];
        EXPECT_EQ(Mandhane(p["gas"], p["liquid"], s), 0);
        const int win = static_cast<int>(std::max_element(s, s + 6) - s);
        EXPECT_EQ(regimes[win], p.Str("regime")) << p["gas"] << ", " << p["liquid"];
        EXPECT_NEAR(s[win], 1.0, 5e-5) << p["gas"] << ", " << p["liquid"];
    }
}

// Scores are a probability vector everywhere, also for velocities far
// beyond exp's range.
TEST(Mandhane, ScoresAreAProbabilityVectorEverywhere) {
    std::vector<double> v;
    for (double lg = -3; lg <= 3.01; lg += 0.25) v.push_back(std::pow(10, lg));
    for (double x : {1e-300, 1e-30, 1e30, 1e300}) v.push_back(x);
    for (double g : v)
        for (double l : v) {
            double s[6], sum = 0;
            vt::Mandhane(g, l, s);
            for (double x : s) {
                EXPECT_TRUE(std::isfinite(x) && x >= 0.0 && x <= 1.0) << g << " " << l;
                sum += x;
            }
            EXPECT_NEAR(sum, 1.0, 1e-12) << g << " " << l;
        }
}

TEST(Mandhane, UnusableVelocitiesGiveMissingScores) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Mandhane(1, 1, nullptr), 0);
    for (auto [g, l] : {std::pair{0.0, 1.0}, {1.0, 0.0}, {-1.0, 1.0}, {nan, 1.0}, {1.0, INFINITY}}) {
        double s[6] = {};
        EXPECT_EQ(Mandhane(g, l, s), 0);
        for (double x : s) EXPECT_EQ(x, VANTARO_MISSING);
    }
}

}  // namespace
