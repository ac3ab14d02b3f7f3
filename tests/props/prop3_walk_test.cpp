// Prop3's temperature walk above 3000 kPa with a vapour-fraction
// specification: from a cold estimate it steps at least 5 K at a time and
// finds what it finds from its own start.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "../support/component_table.h"
#include "vantaro/vantaro.h"

namespace vt {
namespace {

struct Found {
    int32_t status;
    double t, vf;
};

Found DewPoint(const std::vector<double>& z, double p, double tguess) {
    const size_t n = z.size();
    std::vector<double> y(n), x(n), xw(n), xl(n);
    double frac[5] = {1.0}, h[5], s[5], cp[5], v[5], mw[5], t = MISSING;
    h[3] = s[3] = MISSING;
    int32_t ph[3];
    const double tol[4] = {0.01, 0.1, 0.001, 1e-4};
    const int32_t st = ::Prop3(1, 1, &t, &p, z.data(), y.data(), x.data(), xw.data(), xl.data(),
                               ph, frac, h, s, cp, v, mw, tguess, tol);
    return {st, t, frac[0]};
}

TEST(Prop3Walk, ColdEstimateAtHighPressure) {
    test::OpenTable({"methane", "ethane", "propane", "n-butane", "n-hexane"});
    const std::vector<double> z = {0.8, 0.08, 0.06, 0.04, 0.02};
    const Found ref = DewPoint(z, 5000.0, MISSING);
    ASSERT_EQ(ref.status, 0);
    for (double tguess : {-19.0, -10.0, 1.0, 30.0}) {
        const Found f = DewPoint(z, 5000.0, tguess);
        EXPECT_EQ(f.status, 0) << tguess;
        EXPECT_NEAR(f.t, ref.t, 0.02) << tguess;
        EXPECT_EQ(f.vf, 1.0);
    }
    CloseProps();
}

}  // namespace
}  // namespace vt
