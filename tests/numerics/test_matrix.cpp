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

TEST(Matrix, StoresColumnByColumn) {
    Matrix<double> m = Sample();
    EXPECT_EQ(m.Height(), 2);
    EXPECT_EQ(m.Width(), 3);
    EXPECT_EQ(m.Size().height, 2);
    EXPECT_EQ(m.Size().width, 3);
    EXPECT_EQ(m.Data().size, 6);
    EXPECT_TRUE(m.Data().ownData);
    const double expected[] = {0, 10, 1, 11, 2, 12};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(m.Array()[k], expected[k]) << k;
        EXPECT_EQ(m(k), expected[k]) << k;
    }
    const Matrix<double>& c = m;
    EXPECT_EQ(c(1, 2), 12.0);
    EXPECT_EQ(m[1][2], 12.0);
    m[0][1] = -5.0;
    EXPECT_EQ(m(0, 1), -5.0);
}

TEST(Matrix, ConstructorsOwnOrView) {
    const long live = vt::platform::LiveAllocations();
    {
        Matrix<double> d;
        EXPECT_EQ(d.Height(), 1);
        EXPECT_EQ(d.Width(), 1);
        EXPECT_TRUE(d.Data().ownData);

        Matrix<double> s(TNX::mSize{4, 5});
        EXPECT_EQ(s.Data().size, 20);

        double store[6] = {1, 2, 3, 4, 5, 6};
        Matrix<double> v(3, 2, store);
        EXPECT_FALSE(v.Data().ownData);
        EXPECT_EQ(v.Array(), store);
        EXPECT_EQ(v(2, 1), 6.0);
        v(0, 1) = 40.0;
        EXPECT_EQ(store[3], 40.0);

        // From an array: a deep copy shaped as asked; short arrays are padded
        // with zeros, long ones cut.
        TNX::dynarray<double> a(store, 6);
        Matrix<double> fromArray(2, 3, a);
        EXPECT_TRUE(fromArray.Data().ownData);
        EXPECT_NE(fromArray.Array(), store);
        EXPECT_EQ(fromArray(1, 2), 6.0);
        Matrix<double> padded(2, 4, a), cut(2, 2, a);
        EXPECT_EQ(padded.Data().size, 8);
        EXPECT_EQ(padded(1, 2), 6.0);
        EXPECT_EQ(padded(1, 3), 0.0);
        EXPECT_EQ(cut.Data().size, 4);
        EXPECT_EQ(cut(1, 1), 40.0);

        Matrix<double> copyOfView(v);
        EXPECT_TRUE(copyOfView.Data().ownData);
        copyOfView(0, 0) = -1.0;
        EXPECT_EQ(store[0], 1.0);
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
    Matrix<double> m = Sample();
    Matrix<double> target(4, 4);
    vt::platform::FailAllocationAt(1);
    EXPECT_THROW(target = m, std::bad_alloc);  // reallocation fails: target kept
    vt::platform::FailAllocationAt(0);
    EXPECT_EQ(target.Data().size, 16);
    EXPECT_EQ(target.Height(), 4);
    EXPECT_EQ(vt::platform::LiveAllocations(), live + 2);
}

TEST(Matrix, AssignmentCopiesElementsAndShape) {
    Matrix<double> src = Sample();
    // Same element count: copied in place, the shape follows the source.
    Matrix<double> same(3, 2);
    double* before = same.Array();
    same = src;
    EXPECT_EQ(same.Array(), before);
    EXPECT_EQ(same.Height(), 2);
    EXPECT_EQ(same(1, 2), 12.0);
    // Different count: an owning target is reallocated.
    Matrix<double> other(5, 5);
    other = src;
    EXPECT_EQ(other.Data().size, 6);
    EXPECT_EQ(other.Width(), 3);
    EXPECT_EQ(other(1, 1), 11.0);
    src(0, 0) = 99.0;
    EXPECT_EQ(other(0, 0), 0.0) << "a copy, not a view";
    // A view target of the same size writes through to the viewed storage.
    double store[6] = {};
    Matrix<double> view(3, 2, store);
    view = other;
    EXPECT_EQ(store[5], 12.0);
    // Self-assignment and assignment of a scalar.
    other = other;
    EXPECT_EQ(other(1, 2), 12.0);
    other = 2.5;
    for (int k = 0; k < 6; ++k) EXPECT_EQ(other(k), 2.5);
}

TEST(Matrix, AddAndSubtractElementWise) {
    Matrix<double> a = Sample(), b = Sample();
    b = 1.0;
    a += b;
    EXPECT_EQ(a(1, 2), 13.0);
    EXPECT_EQ(a(0, 0), 1.0);
    a -= b;
    a -= b;
    EXPECT_EQ(a(1, 2), 11.0);
    EXPECT_EQ(a(0, 0), -1.0);
}

TEST(Matrix, RowAndColumnViews) {
    Matrix<double> m = Sample();
    TNX::Vector<double> c = m.Column(2);
    EXPECT_EQ(c.Length(), 2);
    EXPECT_EQ(c.Stride(), 1);
    EXPECT_EQ(c(0), 2.0);
    EXPECT_EQ(c(1), 12.0);
    TNX::Vector<double> r = m.Row(1);
    EXPECT_EQ(r.Length(), 3);
    EXPECT_EQ(r.Stride(), 2);
    EXPECT_EQ(r(0), 10.0);
    EXPECT_EQ(r(2), 12.0);
    r[1] = -7.0;  // writes reach the matrix
    EXPECT_EQ(m(1, 1), -7.0);
    TNX::Vector<double> alias(r);  // copies of a view view the same storage
    alias = 3.0;
    EXPECT_EQ(m(1, 0), 3.0);
    EXPECT_EQ(m(1, 2), 3.0);
    EXPECT_EQ(m(0, 2), 2.0) << "other rows untouched";
}

TEST(RMatrix, FlagsInfoAndBoundsCheckedStore) {
    TNX::RMatrix d;
    EXPECT_EQ(d.Height(), 1);
    EXPECT_EQ(d.Width(), 1);
    EXPECT_TRUE(d.isOK());
    EXPECT_EQ(d.getInfo(), 0);

    TNX::RMatrix r(2, 3);
    r.SetValue(1, 2, 4.5);
    EXPECT_EQ(r(1, 2), 4.5);
    EXPECT_EQ(r.Array()[5], 4.5);
    EXPECT_TRUE(r.isOK());
    for (auto [i, j] : {std::pair{2, 0}, {0, 3}, {-1, 0}, {0, -1}}) {
        TNX::RMatrix t(2, 3);
        t.SetValue(i, j, 1.0);
        EXPECT_FALSE(t.isOK()) << i << "," << j;
    }
    r.setInfo(-3);
    r.setBad();
    TNX::RMatrix copy(r), assigned;
    assigned = r;
    for (const TNX::RMatrix* m : {&copy, &assigned}) {
        EXPECT_FALSE(m->isOK());
        EXPECT_EQ(m->getInfo(), -3);
        EXPECT_EQ(m->Height(), 2);
        EXPECT_EQ((*m)(1, 2), 4.5);
    }
    r.setOK();
    EXPECT_TRUE(r.isOK());
}

TEST(LazyMatrix, EvaluatesThroughTheVirtualOperation) {
    TNX::lazyMatrix base(2, 2);
    TNX::sparseMatrix sparse(3, 2, 3);
    sparse.SetAt(0, 2, 1.5);
    sparse.SetAt(1, 0, -2.0);
    sparse.SetAt(0, 2, 1.0);
    TNX::RMatrix out;
    const TNX::lazyMatrix& lazy = sparse;
    lazy.KickAss(out);
    EXPECT_TRUE(out.isOK());
    EXPECT_EQ(out.Height(), 2);
    EXPECT_EQ(out.Width(), 3);
    EXPECT_EQ(out(0, 2), 2.5);
    EXPECT_EQ(out(1, 0), -2.0);
    EXPECT_EQ(out(1, 1), 0.0);
    base.KickAss(out);
    EXPECT_EQ(out.Height(), 2);
    EXPECT_EQ(out.Width(), 2);
    EXPECT_EQ(out(1, 1), 0.0);
    TNX::lazyMatrix copy(base), moved(std::move(copy));
    moved = TNX::lazyMatrix(4, 1);
    moved.KickAss(out);
    EXPECT_EQ(out.Height(), 4);
}

#ifndef NDEBUG
// The array's assertions fire on caller errors in builds that keep them.
TEST(MatrixDeathTest, AssertionsNameTheBrokenPrecondition) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Matrix<double> m = Sample(), small(1, 2);
    EXPECT_DEATH(m(6), "i>=0 && i<size");
    EXPECT_DEATH(m(-1, 0), "i>=0 && i<size");
    EXPECT_DEATH(m += small, "size == d.size");
    double store[2] = {};
    Matrix<double> view(1, 2, store);
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
        EXPECT_EQ(view(1, 2), 12.0);
        EXPECT_TRUE(view.Data().ownData);
    }
    EXPECT_EQ(store[0], 7.0);
    EXPECT_EQ(store[1], 8.0);
}
#endif

}  // namespace
