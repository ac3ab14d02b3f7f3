// Finite but extreme inputs through the C interface: the results stay what
// the header promises (a number, or MISSING), never an infinity or NaN.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>

#include "vantaro/vantaro.h"

namespace {

// V* from finite positive constants: the back-calculated volume when the
// iteration converges, else the critical-compressibility estimate
// z R Tc / Pc with z = 1 / (3.41 + 1.28 omegasrk), else MISSING.
TEST(ExtremeInputs, PureVcharGivesAPositiveVolumeOrMissing) {
    struct Case {
        double liqden, omegasrk, mw, tc, pc, tref, omega;
        bool estimate;  // the iteration cannot converge: the estimate
    } cases[] = {
        {1e-300, 8.3142, 1000, 2, 8.3142, 8.3142, 8.3142, true},
        {1.0, 273.15, 1e300, 481.04, 4836.5, 400, 273.15, true},
        {506.69, 0.1532, 44.09562, 369.89, 4251.2, 288.7, 0.1521, false},  // propane
    };
    for (const Case& c : cases) {
        double v = 0;
        EXPECT_EQ(PureVchar(c.liqden, c.omegasrk, c.mw, c.tc, c.pc, c.tref, c.omega, &v), -1);
        ASSERT_TRUE(std::isfinite(v) && v > 0.0) << c.liqden << " " << c.mw;
        const double z = 1.0 / (3.41 + 1.28 * c.omegasrk);
        if (c.estimate) {
            EXPECT_DOUBLE_EQ(v, z * 8.31434 * c.tc / c.pc);
        }
    }
    // Propane's V* (Hankinson and Thomson 1979, table 1: 0.2001 m3/kmol).
    double v = 0;
    PureVchar(506.69, 0.1532, 44.09562, 369.89, 4251.2, 288.7, 0.1521, &v);
    EXPECT_NEAR(v, 0.2001, 0.002);
    // Even the estimate overflows: MISSING.
    PureVchar(1.0, 0.1, 1.0, DBL_MAX, 1e-300, 300, 0.1, &v);
    EXPECT_EQ(v, VANTARO_MISSING);
}

StreamState Gas() {
    StreamState gas;
    std::memset(&gas, 0, sizeof gas);
    gas.pref = 5;
    gas.vfrac = 1;
    gas.mixmw = gas.vapmw = gas.liqmw = 20;
    gas.mixden = gas.vapden = 5;
    gas.liqden = 500;
    gas.mixvisc = gas.vapvisc = 0.011;
    gas.mixcp = gas.vapcp = 40;
    return gas;
}

// P2 at the top of the double range: nothing to compute, P2 written as it is.
TEST(ExtremeInputs, IsoVapDpAtHugeDownstreamPressure) {
    const StreamState gas = Gas();
    const PipeSegment pipe = {100, 6, 0, 0, 0, 0.0018, 0.0018, 1};
    for (double p2 : {1000.0, 1e304, DBL_MAX}) {
        FlowResult r;
        EXPECT_EQ(IsoVapDp(0, p2, 20000, &gas, &gas, &pipe, &r, 0, VANTARO_MISSING, 1e-6), -1);
        EXPECT_EQ(r.p, p2);
        EXPECT_TRUE(std::isfinite(r.vin));
    }
}

// A line whose friction term overflows: without flow no drop (P2), with
// flow an answer above the range (1000 bar, status 0).
TEST(ExtremeInputs, VapourLineOfOverflowingLength) {
    const StreamState gas = Gas();
    const PipeSegment pipe = {1, 6, 0, 0, 0, 0.0018, 0.0018, DBL_MAX};
    for (auto fn : {IsoVapDp, AdiaVapDp}) {
        FlowResult r;
        EXPECT_EQ(fn(1, 50, 0, &gas, &gas, &pipe, &r, 1, VANTARO_MISSING, 1e-6), -1);
        EXPECT_EQ(r.regime, 0);
        EXPECT_EQ(r.p, 50.0);
    }
    FlowResult r;
    EXPECT_EQ(IsoVapDp(1, 50, 1000, &gas, &gas, &pipe, &r, 1, VANTARO_MISSING, 1e-6), 0);
    EXPECT_EQ(r.p, 1000.0);
}

// Without flow there is no drop: P2 comes back, never a rounding below it
// through the conversion to pascals.
TEST(ExtremeInputs, VapourLineWithoutFlow) {
    const StreamState gas = Gas();
    const PipeSegment pipe = {100, 6, 0, 0, 0, 0.0018, 0.0018, 1};
    for (double p2 : {99.608285648889904, 1.1, 3.3, 7.7}) {
        FlowResult r;
        EXPECT_EQ(IsoVapDp(1, p2, 0, &gas, &gas, &pipe, &r, 1, VANTARO_MISSING, 1e-6), -1);
        EXPECT_GE(r.p, p2);
        EXPECT_LE(r.p, std::nextafter(p2, 2 * p2));
    }
}

}  // namespace
