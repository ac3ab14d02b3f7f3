// The backward error a solve reports stays a number when the right-hand side
// or the solution lies near the top of the double range.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "vantaro/tnx/matrix.h"

namespace {

TEST(SparseBackwardError, HugeRightHandSide) {
    for (double big : {DBL_MAX, -DBL_MAX, 1e300}) {
        TNX::sparseMatrix m(2, 2, 2);
        ASSERT_TRUE(m.SetAt(0, 0, 60.0));
        ASSERT_TRUE(m.SetAt(1, 1, 0.5));
        double b[2] = {big, 100.0}, x[2] = {0.0, 0.0};
        TNX::dynarray<double> rb(b, 2), rx(x, 2);
        ASSERT_TRUE(m.Solve(rb, rx, false)) << big;
        EXPECT_DOUBLE_EQ(x[0], big / 60.0);
        EXPECT_DOUBLE_EQ(x[1], 200.0);
        EXPECT_TRUE(m.BackwardError() >= 0.0 && m.BackwardError() < 1e-15) << m.BackwardError();
    }
}

}  // namespace
