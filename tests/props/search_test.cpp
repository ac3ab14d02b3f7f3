// The search step and the small helpers of the property driver.
#include <gtest/gtest.h>

#include <cmath>

#include "../support/component_table.h"
#include "props/search.h"
#include "thermo/flash.h"
#include "thermo/phase_props.h"

namespace vt {
namespace {

TEST(SearchStep, FixedStepUntilBracketed) {
    double x = 423.0, lo = 0.0, hi = 4000.0, xp = 0.0, fp = -1e30;
    SearchStep(&x, 0.2, 0.5, &lo, &hi, &xp, &fp, 70.0, 1.0);
    EXPECT_EQ(x, 493.0);
    EXPECT_EQ(lo, 423.0);
    EXPECT_EQ(xp, 423.0);
    EXPECT_EQ(fp, 0.2);
    // Falling function (dir -1), value below the target: x must decrease.
    x = 423.0, lo = 0.0, hi = 4000.0;
    SearchStep(&x, 0.2, 0.5, &lo, &hi, &xp, &fp, 70.0, -1.0);
    EXPECT_EQ(x, 353.0);
    EXPECT_EQ(hi, 423.0);
}

TEST(SearchStep, SecantInsideTheBracketElseMidpoint) {
    // f = x - 450 crossed between 423 and 493: the secant lands on 450.
    double x = 493.0, lo = 423.0, hi = 4000.0, xp = 423.0, fp = -27.0;
    SearchStep(&x, 43.0, 0.0, &lo, &hi, &xp, &fp, 70.0, 1.0);
    EXPECT_EQ(hi, 493.0);
    EXPECT_NEAR(x, 450.0, 1e-12);
    EXPECT_EQ(xp, 423.0);  // the better point is kept: |-27| < |43|
    // A secant point outside the central 98 %: bisection.
    x = 493.0, lo = 423.0, hi = 4000.0, xp = 423.0, fp = -0.1;
    SearchStep(&x, 500.0, 0.0, &lo, &hi, &xp, &fp, 70.0, 1.0);
    EXPECT_EQ(x, 458.0);
    EXPECT_EQ(xp, 423.0);  // the previous point was closer to the target
}

TEST(SearchStep, PlateauStepsByThePreviousPoint) {
    // f on a plateau equal to the target, same as before: d = dir, x rises.
    double x = 300.0, lo = 0.0, hi = 4000.0, xp = 250.0, fp = 1.0;
    SearchStep(&x, 1.0, 1.0, &lo, &hi, &xp, &fp, 40.0, 1.0);
    EXPECT_EQ(x, 340.0);
    EXPECT_EQ(xp, 250.0);  // f = target: the previous point is not replaced
}

TEST(SameComposition, RatioWithinHalfAPercent) {
    test::OpenTable({"methane", "ethane", "propane"});
    const double a[] = {0.5, 0.3, 0.2}, b[] = {0.5, 0.3, 0.2};
    EXPECT_EQ(SameComposition(a, b), 1);
    const double c[] = {0.5, 0.3, 0.2 * 1.006};
    EXPECT_EQ(SameComposition(c, b), 0);
    const double d[] = {0.5, 0.3, 0.2 * 1.004};
    EXPECT_EQ(SameComposition(d, b), 1);
    const double pure[] = {1.0, 0.0, 0.0}, nearly[] = {1.0 - 1e-9, 1e-9, 0.0};
    EXPECT_EQ(SameComposition(pure, nearly), 1);  // the same pure phase
    EXPECT_NEAR(CompositionMolWeight(a), 0.5 * 16.04246 + 0.3 * 30.06904 + 0.2 * 44.09562, 1e-12);
    vt::CloseProps();
}

TEST(ClampPhaseFraction, Slack) {
    EXPECT_EQ(ClampPhaseFraction(1.00005, 0.0001), 1.0);
    EXPECT_EQ(ClampPhaseFraction(1.0002, 0.0001), MISSING);
    EXPECT_EQ(ClampPhaseFraction(-0.00005, 0.0001), -0.00005);
    EXPECT_EQ(ClampPhaseFraction(-0.0002, 0.0001), MISSING);
    EXPECT_EQ(ClampPhaseFraction(0.4, 0.0001), 0.4);
}

}  // namespace
}  // namespace vt

namespace vt {
namespace {

// A bracket whose ends are a liquid and a vapour of the same composition:
// the blend of the two meets an enthalpy between theirs.
TEST(BoundaryInterpolation, BlendsTheTwoEnds) {
    test::OpenTable({"propane", "n-butane"});
    std::vector<double> z = {0.5, 0.5}, y(2), x(2), xw(2), xl(2);
    double* c[5] = {y.data(), x.data(), xw.data(), z.data(), xl.data()};
    int32_t ph[3];
    double frac[5], h[5], s[5], cp[5], v[5];
    double t = 299.0, p = 500.0;
    // Enthalpies of the two ends.
    Flash(1, 280.0, p, c, ph, frac);
    PhaseProperties(1, 1, 280.0, p, c, ph, frac, h, s, cp, v);
    const double hl = h[3];
    Flash(1, 320.0, p, c, ph, frac);
    PhaseProperties(1, 1, 320.0, p, c, ph, frac, h, s, cp, v);
    const double hv = h[3];
    const double target = hl + 0.3 * (hv - hl);
    EXPECT_EQ(BoundaryInterpolation(1, 1, &t, &p, target, c, ph, frac, h, s, cp, v, 280.0, 320.0, 1,
                                    1),
              1);
    EXPECT_NEAR(h[3], target, 0.1);
    EXPECT_NE(ph[0], 0);
    EXPECT_NE(ph[1], 0);
    EXPECT_NEAR(frac[0] + frac[1] + frac[2], 1.0, 1e-12);
    vt::CloseProps();
}

}  // namespace
}  // namespace vt
