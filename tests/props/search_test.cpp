// The search step and the small helpers of the property driver.
#include <gtest/gtest.h>

#include <cmath>

#include "../support/component_table.h"
#include "props/search.h"
#include "thermo/flash.h"
#include "thermo/phase_props.h"

namespace vt {
namespace {

// One step from x with value f against the target; returns {x, lo, hi, xprev, fprev}.
struct Step {
    double x, lo, hi, xp, fp;
};
Step StepFrom(Step s, double f, double target, double step, double dir) {
    SearchStep(&s.x, f, target, &s.lo, &s.hi, &s.xp, &s.fp, step, dir);
    return s;
}

TEST(SearchStep, FixedStepsSecantBisectionAndPlateau) {
    const struct { Step in; double f, target, step, dir; Step out; } cases[] = {
        // Not bracketed: a fixed step in the direction of the target.
        {{423.0, 0.0, 4000.0, 0.0, -1e30}, 0.2, 0.5, 70.0, 1.0, {493.0, 423.0, 4000.0, 423.0, 0.2}},
        {{423.0, 0.0, 4000.0, 0.0, -1e30}, 0.2, 0.5, 70.0, -1.0, {353.0, 0.0, 423.0, 423.0, 0.2}},
        // f = x - 450 crossed between 423 and 493: the secant lands on 450 and
        // the better point is kept (|-27| < |43|).
        {{493.0, 423.0, 4000.0, 423.0, -27.0}, 43.0, 0.0, 70.0, 1.0, {450.0, 423.0, 493.0, 423.0, -27.0}},
        // A secant point outside the central 98 %: bisection.
        {{493.0, 423.0, 4000.0, 423.0, -0.1}, 500.0, 0.0, 70.0, 1.0, {458.0, 423.0, 493.0, 423.0, -0.1}},
        // A plateau equal to the target, as before: x rises by the step, the
        // previous point is not replaced.
        {{300.0, 0.0, 4000.0, 250.0, 1.0}, 1.0, 1.0, 40.0, 1.0, {340.0, 300.0, 4000.0, 250.0, 1.0}},
    };
    for (const auto& c : cases) {
        const Step s = StepFrom(c.in, c.f, c.target, c.step, c.dir);
        EXPECT_NEAR(s.x, c.out.x, 1e-12) << c.in.x << " f " << c.f;
        EXPECT_TRUE(s.lo == c.out.lo && s.hi == c.out.hi && s.xp == c.out.xp && s.fp == c.out.fp)
            << c.in.x << " f " << c.f;
    }
}

TEST(SearchHelpers, SameCompositionAndClampedFractions) {
    test::OpenTable({"methane", "ethane", "propane"});
    const double a[] = {0.5, 0.3, 0.2}, c[] = {0.5, 0.3, 0.2 * 1.006}, d[] = {0.5, 0.3, 0.2 * 1.004};
    const double pure[] = {1.0, 0.0, 0.0}, nearly[] = {1.0 - 1e-9, 1e-9, 0.0};
    EXPECT_EQ(SameComposition(a, a), 1);
    EXPECT_EQ(SameComposition(c, a), 0);  // ratios within half a per cent
    EXPECT_EQ(SameComposition(d, a), 1);
    EXPECT_EQ(SameComposition(pure, nearly), 1);  // the same pure phase
    EXPECT_NEAR(CompositionMolWeight(a), 0.5 * 16.04246 + 0.3 * 30.06904 + 0.2 * 44.09562, 1e-12);
    vt::CloseProps();
    for (auto [in, out] :
         {std::pair{1.00005, 1.0}, {1.0002, MISSING}, {-0.00005, -0.00005}, {-0.0002, MISSING}, {0.4, 0.4}})
        EXPECT_EQ(ClampPhaseFraction(in, 0.0001), out) << in;
}

// A bracket whose ends are a liquid and a vapour of the same composition:
// the blend of the two meets an enthalpy between theirs.
TEST(BoundaryInterpolation, BlendsTheTwoEnds) {
    test::OpenTable({"propane", "n-butane"});
    std::vector<double> z = {0.5, 0.5}, y(2), x(2), xw(2), xl(2);
    double* c[5] = {y.data(), x.data(), xw.data(), z.data(), xl.data()};
    int32_t ph[3];
    double frac[5], h[5], s[5], cp[5], v[5], t = 299.0, p = 500.0, end[2];
    for (int k = 0; k < 2; ++k) {  // enthalpies of the two ends
        Flash(1, k ? 320.0 : 280.0, p, c, ph, frac);
        PhaseProperties(1, 1, k ? 320.0 : 280.0, p, c, ph, frac, h, s, cp, v);
        end[k] = h[3];
    }
    const double target = end[0] + 0.3 * (end[1] - end[0]);
    EXPECT_EQ(BoundaryInterpolation(1, 1, &t, &p, target, c, ph, frac, h, s, cp, v, 280.0, 320.0, 1, 1), 1);
    EXPECT_NEAR(h[3], target, 0.1);
    EXPECT_TRUE(ph[0] != 0 && ph[1] != 0);
    EXPECT_NEAR(frac[0] + frac[1] + frac[2], 1.0, 1e-12);
    vt::CloseProps();
}

}  // namespace
}  // namespace vt
