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

TEST(Matrix, ConstructorsAssignmentAndOwnership) {
    const long live = vt::platform::LiveAllocations();
    {
        double store[6] = {1, 2, 3, 4, 5, 6};
        Matrix<double> v(3, 2, store);  // a view of the caller's storage
        EXPECT_TRUE(!v.Data().ownData && v.Array() == store && v(2, 1) == 6.0);
        v(0, 1) = 40.0;
        EXPECT_EQ(store[3], 40.0);
        // From an array: a deep copy shaped as asked; short arrays are padded
        // with zeros, long ones cut.
        TNX::dynarray<double> a(store, 6);
        Matrix<double> padded(2, 4, a), cut(2, 2, a), copyOfView(v);
        EXPECT_TRUE(padded.Data().ownData && padded.Array() != store && padded(1, 2) == 6.0 && padded(1, 3) == 0.0);
        EXPECT_TRUE(cut.Data().size == 4 && cut(1, 1) == 40.0);
        copyOfView(0, 0) = -1.0;
        EXPECT_TRUE(copyOfView.Data().ownData && store[0] == 1.0);
        // Same element count: copied in place, the shape follows the source;
        // a different count reallocates an owning target; a view target of
        // the same size writes through to the viewed storage.
        Matrix<double> src = Sample(), same(3, 2), other(5, 5);
        double* before = same.Array();
        same = src;
        other = src;
        EXPECT_TRUE(same.Array() == before && same.Height() == 2 && same(1, 2) == 12.0);
        EXPECT_TRUE(other.Data().size == 6 && other.Width() == 3 && other(1, 1) == 11.0);
        src(0, 0) = 99.0;
        EXPECT_EQ(other(0, 0), 0.0) << "a copy, not a view";
        v = other;
        EXPECT_EQ(store[5], 12.0);
        other = other;
        EXPECT_EQ(other(1, 2), 12.0);
    }
    EXPECT_EQ(vt::platform::LiveAllocations(), live) << "owned storage freed, viewed storage not";
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
