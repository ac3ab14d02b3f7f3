// Choke pressure on states that have a molar volume but no usable density: a
// corrupted component row (zero or negative molecular weight) must give the
// documented failure, never an infinite velocity or Mach number.
#include <gtest/gtest.h>

#include "../support/component_table.h"
#include "../support/stream.h"

namespace vt {
namespace {

TEST(ChokeUnusableState, NoDensityFailsWithMissingOutputs) {
    for (double mw : {0.0, -46.07}) {
        CompRecord row = test::Component("ethanol");
        row.mw = mw;
        const double kij = 0.0, z = 1.0, p0 = 1000.0, t = 400.0;
        ::OpenProps(1, &row, &kij, &kij);
        double p = p0, tguess = t, rho = 7.0, vel = 7.0, mach = 7.0;
        EXPECT_EQ(::PressureChoke(1, 1, 0.01, 1e4, -30000.0, &p, &tguess, &z, test::kTol, &rho, &vel,
                                  &mach, 0, 0),
                  0);
        EXPECT_EQ(p, p0);
        EXPECT_TRUE(rho == MISSING && vel == MISSING && mach == MISSING) << mw << " " << rho << " " << vel;
        ::CloseProps();
    }
}

}  // namespace
}  // namespace vt
