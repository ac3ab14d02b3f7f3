#include <cmath>
#include <vector>

#include "fixtures.h"
#include "workspace/mixture.h"
#include "workspace/workspace.h"

using namespace vt_test;

namespace {

constexpr double M = VANTARO_MISSING;

class MixtureTest : public ::testing::Test {
protected:
    void SetUp() override { Open({Methane(), Propane(), Water()}); }
    void TearDown() override { CloseProps(); }
};

// Mole-fraction sums without normalisation (fractions summing to 2 give
// twice the value); an absent composition (MISSING first) gives 0 and
// MISSING, a MISSING element further on is summed like a number.
TEST_F(MixtureTest, ExportsAreUnnormalisedSums) {
    const double x[3] = {1.0, 0.6, 0.4}, absent[3] = {M, 0.5, 0.5}, later[3] = {0.0, M, 0.0}, pure[3] = {0, 1, 0};
    double r = 0;
    EXPECT_TRUE(MolWeight(x, &r) == 1 && std::fabs(r - (16.04246 + 0.6 * 44.09562 + 0.4 * 18.01528)) < 1e-9);
    EXPECT_TRUE(PseudoPc(x, &r) == 1 && std::fabs(r - (4599.2 + 0.6 * 4251.2 + 0.4 * 22064.0)) < 1e-9);
    EXPECT_TRUE(PseudoTc(later, &r) == 1 && std::fabs(r - M * 369.89) < 1e-6);
    EXPECT_TRUE(PseudoTc(absent, &r) == 0 && r == M);
    EXPECT_TRUE(vt::MixVc(pure, &r) == 1 && r == 0.2);
    EXPECT_TRUE(MolWeight(nullptr, &r) == 0 && r == M);
    EXPECT_EQ(PseudoTc(x, nullptr), 0);
}

// A zero fraction skips a MISSING constant; the internal sum stops at a
// MISSING fraction.
TEST_F(MixtureTest, ZeroFractionSkipsMissingConstant) {
    CompRecord odd = Propane();
    odd.mw = M;
    Open({Methane(), odd});
    const double x[2] = {1.0, 0.0}, y[2] = {0.5, M}, z[2] = {0.25, 0.75};
    double r = 0;
    EXPECT_EQ(MolWeight(x, &r), 1);
    EXPECT_DOUBLE_EQ(r, 16.04246);
    EXPECT_EQ(vt::MixMw(y), M);
    EXPECT_DOUBLE_EQ(vt::MixMw(z), 0.25 * 16.04246 + 0.75 * M);
}

TEST(Interp2Test, NodesInteriorAndOutside) {
    const double xs[3] = {0.0, 1.0, 3.0}, ys[3] = {10.0, 20.0, 40.0};
    // z(x, y) = 2 x + y / 10 at the nodes, row by row with row length 3: a
    // bilinear function is reproduced everywhere inside, nodes exactly.
    double z[9];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) z[3 * i + j] = 2 * xs[i] + ys[j] / 10;
    for (auto [x, y] : {std::pair{0.0, 10.0}, {1.0, 20.0}, {3.0, 40.0}, {0.5, 15.0}, {2.0, 30.0}, {3.0, 25.0},
                        {0.25, 40.0}, {1.0, 33.0}})
        EXPECT_NEAR(vt::Interp2(x, y, 3, 3, xs, ys, z), 2 * x + y / 10, 1e-12) << x << "," << y;
    EXPECT_EQ(vt::Interp2(1.0, 20.0, 3, 3, xs, ys, z), z[4]);
    EXPECT_EQ(vt::Interp2(3.0, 40.0, 3, 3, xs, ys, z), z[8]);
    for (auto [x, y] : {std::pair{-1e-9, 20.0}, {3.0000001, 20.0}, {1.0, 9.999}, {1.0, 40.001}})
        EXPECT_EQ(vt::Interp2(x, y, 3, 3, xs, ys, z), M) << x << "," << y;
    EXPECT_NEAR(vt::Interp2(2.0, 15.0, 3, 2, xs, ys, z), 4.0 + 1.5, 1e-12);  // ny = 2 reads no third column
}

}  // namespace
