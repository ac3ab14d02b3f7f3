// Tee coefficients stay within the bounds of the chart used for any finite
// input, the dividing-flow run inside its flow range excepted (network N is
// returned as fitted there); junction types without a chart and non-finite
// ratios give 9e99.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "fittings/tee.h"
#include "vantaro/vantaro.h"

namespace {

using TeeFn = int32_t (*)(double, double, int32_t, int32_t, double*, int32_t, int32_t, int32_t*,
                          double*, double*);
constexpr double kUnset = -123.0;

struct Out {
    double k = kUnset, hi = kUnset, lo = kUnset;
    int32_t status = -7;
};

Out Call(TeeFn fn, double a, double q, int type, int pattern, int mode, int floor) {
    Out o;
    EXPECT_EQ(fn(a, q, type, pattern, &o.k, mode, floor, &o.status, &o.hi, &o.lo), 0);
    return o;
}

// The reported calls that left the bounds, each with its result now.
TEST(TeeBounds, ReportedCalls) {
    // The blend of two charts with q far outside 0..1: the first chart alone.
    Out o = Call(getK23, 0.5, 1000, 0, 1, 0, 0);
    EXPECT_EQ(o.lo, -4.0);
    EXPECT_EQ(o.hi, 0.15);
    EXPECT_EQ(o.k, vt::TeeK23(0.5, 1000, 0, 1, 1, 0).k) << "weight 1 on the single chart";
    EXPECT_GE(o.k, o.lo);
    EXPECT_LE(o.k, o.hi);
    // Overflowing features gave NaN with status 1.
    o = Call(getK23, 1.29e-13, DBL_MAX, 0, 32767, 0, 0);
    EXPECT_TRUE(std::isfinite(o.k));
    EXPECT_GE(o.k, -4.0);
    EXPECT_LE(o.k, 0.15);
    EXPECT_EQ(o.status, o.k > o.lo && o.k < o.hi ? 1 : 0);
    // Dividing run far outside the flow range: confined to [0.03, 0.4].
    o = Call(getK23, 0.5, 1000, 4, 0, 3, 1);
    EXPECT_EQ(o.k, 0.4);
    EXPECT_EQ(o.status, 0);
    o = Call(getK23, 0.5, -1000, 4, 0, 3, 1);
    EXPECT_GE(o.k, 0.03);
    EXPECT_LE(o.k, 0.4);
    // Dividing run of a junction type without a chart.
    for (int type : {7, -1, 32767}) {
        o = Call(getK23, 0.5, 0.5, type, 0, 1, 1);
        EXPECT_EQ(o.k, 9e99) << type;
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.hi, kUnset) << "bounds not written";
        EXPECT_EQ(o.lo, kUnset);
    }
    // -inf is not raised to 0.1 by the area floor.
    o = Call(getK13, -INFINITY, 0.5, 0, 1, 1, 1);
    EXPECT_EQ(o.k, 9e99);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.hi, 6.0);
}

// Every case-table row over extreme finite ratios: K within [lo, hi] and the
// status saying whether it lies strictly inside.
TEST(TeeBounds, EveryRowStaysWithinItsBoundsForFiniteInput) {
    // 0.1252...: both charts at their upper bound, where the rounding of the
    // blend's sum passed it.
    const double values[] = {-DBL_MAX, -1e6, -2.0, -1e-300, 0.0, 1e-300, 0.05, 0.12522316319523921,
                             0.25,     0.5,  1.0,  1.5,     1e6, DBL_MAX};
    int checked = 0;
    for (TeeFn fn : {getK13, getK23})
        for (int type = 0; type <= 6; ++type)
            for (int pattern : {0, 1})
                for (int mode : {0, 1})
                    for (int floor : {0, 1})
                        for (double a : values)
                            for (double q : values) {
                                const Out o = Call(fn, a, q, type, pattern, mode, floor);
                                ASSERT_TRUE(std::isfinite(o.k));
                                EXPECT_EQ(o.status, o.k > o.lo && o.k < o.hi ? 1 : 0);
                                const bool fitted =
                                    fn == getK23 && pattern == 0 && q >= 0.0 && q <= 1.0;
                                if (fitted) continue;
                                ++checked;
                                EXPECT_GE(o.k, o.lo) << type << " " << pattern << " a=" << a
                                                     << " q=" << q;
                                EXPECT_LE(o.k, o.hi) << type << " " << pattern << " a=" << a
                                                     << " q=" << q;
                            }
    EXPECT_GT(checked, 10000);
}

// Inside its flow range the dividing run is network N as fitted, below the
// lowest contour where the fit dips (status 0 there).
TEST(TeeBounds, DividingRunInsideItsRangeIsUnclamped) {
    const Out o = Call(getK23, 0.5, 0.25, 3, 0, 1, 1);
    EXPECT_NEAR(o.k, -0.034185, 1e-6);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(Call(getK23, 0.5, 1.0, 3, 0, 1, 1).k, vt::TeeDividingRunK(1.0));
}

}  // namespace
