// The dense matrix template, its views, the result and lazy matrices and the
// array underneath.
#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "platform/alloc.h"
#include "vantaro/tnx/matrix.h"

namespace {

using TNX::Matrix;

// A 2 x 3 matrix with m(i, j) = 10 i + j.
Matrix<double> Sample() {
    Matrix<double> m(2, 3);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j) m(i, j) = 10.0 * i + j;
    return m;
}

TEST(Matrix, StoresColumnByColumnAndViewsWriteThrough) {
    Matrix<double> m = Sample();
    const double expected[] = {0, 10, 1, 11, 2, 12};
    for (int k = 0; k < 6; ++k) EXPECT_TRUE(m.Array()[k] == expected[k] && m(k) == expected[k]) << k;
    EXPECT_TRUE(m.Height() == 2 && m.Width() == 3 && m[1][2] == 12.0);
    TNX::Vector<double> c = m.Column(2), r = m.Row(1);
    EXPECT_TRUE(c.Length() == 2 && c.Stride() == 1 && c(1) == 12.0);
    EXPECT_TRUE(r.Length() == 3 && r.Stride() == 2 && r(0) == 10.0 && r(2) == 12.0);
    r[1] = -7.0;
    EXPECT_EQ(m(1, 1), -7.0);
    TNX::Vector<double> alias(r);  // copies of a view view the same storage
    alias = 3.0;
    EXPECT_TRUE(m(1, 0) == 3.0 && m(1, 2) == 3.0 && m(0, 2) == 2.0);
    Matrix<double> ones = Sample();
    ones = 1.0;
    m += ones;
    m -= ones;
    m -= ones;
    EXPECT_TRUE(m(1, 2) == 2.0 && m(0, 0) == -1.0);
}

// A view writes through to the caller's storage; copies (of views too) own
// their elements; assigning a different count reallocates an owning target,
// the same count into a view writes through. Owned storage is freed, viewed
// storage is not.
TEST(Matrix, ViewsCopiesAndOwnership) {
    const long live = vt::platform::LiveAllocations();
    {
        double store[6] = {1, 2, 3, 4, 5, 6};
        Matrix<double> v(3, 2, store), copy(v), other(5, 5);
        v(0, 1) = 40.0;
        copy(0, 0) = -1.0;
        EXPECT_TRUE(!v.Data().ownData && store[3] == 40.0 && copy.Data().ownData && store[0] == 1.0);
        other = Sample();
        EXPECT_TRUE(other.Data().size == 6 && other.Width() == 3 && other(1, 1) == 11.0);
        v = other;
        EXPECT_EQ(store[5], 12.0);
    }
    EXPECT_EQ(vt::platform::LiveAllocations(), live);
}

TEST(Matrix, ImpossibleShapesAndFailedAllocationsThrowAndLeakNothing) {
    const long live = vt::platform::LiveAllocations();
    EXPECT_THROW(Matrix<double>(-1, 3), std::bad_array_new_length);
    EXPECT_THROW(Matrix<double>(70000, 70000), std::bad_array_new_length);
    vt::platform::FailAllocationAt(1);
    EXPECT_THROW(Matrix<double>(3, 3), std::bad_alloc);
    vt::platform::FailAllocationAt(0);
    Matrix<double> m = Sample(), target(4, 4);
    vt::platform::FailAllocationAt(1);
    EXPECT_THROW(target = m, std::bad_alloc);  // reallocation fails: target kept
    vt::platform::FailAllocationAt(0);
    EXPECT_TRUE(target.Data().size == 16 && target.Height() == 4);
    EXPECT_EQ(vt::platform::LiveAllocations(), live + 2);
}

TEST(RMatrix, FlagsInfoAndBoundsCheckedStore) {
    TNX::RMatrix r(2, 3);
    r.SetValue(1, 2, 4.5);
    EXPECT_TRUE(r(1, 2) == 4.5 && r.Array()[5] == 4.5 && r.isOK() && r.getInfo() == 0);
    for (auto [i, j] : {std::pair{2, 0}, {0, 3}, {-1, 0}, {0, -1}}) {
        TNX::RMatrix t(2, 3);
        t.SetValue(i, j, 1.0);
        EXPECT_FALSE(t.isOK()) << i << "," << j;
    }
    r.setInfo(-3);
    r.setBad();
    TNX::RMatrix copy(r), assigned;
    assigned = r;  // copies keep the flags
    for (const TNX::RMatrix* m : {&copy, &assigned})
        EXPECT_TRUE(!m->isOK() && m->getInfo() == -3 && m->Height() == 2 && (*m)(1, 2) == 4.5);
}

#ifndef NDEBUG
// The array's assertions fire on caller errors in builds that keep them.
TEST(MatrixDeathTest, AssertionsNameTheBrokenPrecondition) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Matrix<double> m = Sample(), small(1, 2);
    double store[2] = {};
    Matrix<double> view(1, 2, store);
    EXPECT_DEATH(m(6), "i>=0 && i<size");
    EXPECT_DEATH(m(-1, 0), "i>=0 && i<size");
    EXPECT_DEATH(m += small, "size == d.size");
    EXPECT_DEATH(view = m, "ownData");
}
#else
// Without the assertions the same errors stay harmless.
TEST(Matrix, CallerErrorsStaySafeWithoutAssertions) {
    Matrix<double> m = Sample(), small(1, 2);
    small = 1.0;
    m += small;
    EXPECT_EQ(m(1, 2), 12.0) << "sizes differ: unchanged";
    double store[2] = {7, 8};
    {
        Matrix<double> view(1, 2, store);
        view = m;  // detaches instead of freeing the caller's storage
        EXPECT_TRUE(view(1, 2) == 12.0 && view.Data().ownData);
    }
    EXPECT_TRUE(store[0] == 7.0 && store[1] == 8.0);
}
#endif

}  // namespace
