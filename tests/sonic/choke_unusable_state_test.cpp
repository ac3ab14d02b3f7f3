// Choke pressure on states that give no usable velocity: a corrupted
// component row (zero or negative molecular weight, so no density) or an
// area so small that the mass flux overflows must give the documented
// failure, never an infinite or negative velocity or Mach number.
#include <gtest/gtest.h>

#include <limits>

#include "../support/component_table.h"
#include "../support/stream.h"

namespace vt {
namespace {

TEST(ChokeUnusableState, FailsWithMissingOutputs) {
    const struct {
        double mw, area;
    } cases[] = {{0.0, 0.01}, {-46.07, 0.01}, {46.07, std::numeric_limits<double>::denorm_min()}};
    for (const auto& k : cases) {
        CompRecord row = test::Component("ethanol");
        row.mw = k.mw;
        const double kij = 0.0, z = 1.0, p0 = 1000.0, t = 400.0;
        ::OpenProps(1, &row, &kij, &kij);
        double p = p0, tguess = t, rho = 7.0, vel = 7.0, mach = 7.0;
        EXPECT_EQ(::PressureChoke(1, 1, k.area, 1e4, -30000.0, &p, &tguess, &z, test::kTol, &rho, &vel,
                                  &mach, 0, 0),
                  0);
        EXPECT_EQ(p, p0);
        EXPECT_TRUE(rho == MISSING && vel == MISSING && mach == MISSING) << k.mw << " " << k.area << ": " << vel;
        ::CloseProps();
    }
}

}  // namespace
}  // namespace vt
