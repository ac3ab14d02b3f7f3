// Superheat correction factor: every grid point against the published table
// (tests/data/ksh.csv), interpolation, clamping and the NaN signal.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../support/csv.h"
#include "vantaro/vantaro.h"

namespace {

TEST(Superheat, EveryGridPointOfTheStandardsTable) {
    const auto rows = vt::test::ReadCsv("tests/data/ksh.csv");
    ASSERT_EQ(rows.size(), 28u);
    for (const auto& row : rows)
        for (int c = 0; c < 10; ++c) {
            const std::string t = std::to_string(300 + 100 * c);
            EXPECT_NEAR(SuperheatCoefficient(300.0 + 100.0 * c, row["psig"]), row[t], 1e-12)
                << row["psig"] << " psig, " << t << " F";
        }
}

// Bilinear between grid points (650 F, 700 psig: the corners 0.92, 0.87 at
// 600 psig and 0.95, 0.88 at 800 psig); clamped to the grid; NaN gives 9.99.
TEST(Superheat, InterpolationClampingAndNan) {
    const struct {
        double t, p, k;
    } cases[] = {{350, 15, 0.99}, {650, 700, 0.25 * (0.92 + 0.87 + 0.95 + 0.88)}, {825, 3000, 0.82 - 0.25 * 0.08},
                 {250, 0, 1.0}, {250, 15, 1.0}, {250, 600, 1.0}, {250, 3000, 1.0}, {250, 9999, 1.0}, {1200, 3000, 0.62},
                 {5000, 10000, 0.62}, {1200, 15, 0.70}, {INFINITY, -INFINITY, 0.70}, {NAN, 100, 9.99},
                 {500, NAN, 9.99}};
    for (const auto& c : cases)
        EXPECT_NEAR(SuperheatCoefficient(c.t, c.p), c.k, 1e-12) << c.t << " F " << c.p << " psig";
}

}  // namespace
