// Prop3's search tolerances: a tolerance the search uses must be positive
// (otherwise status 4, nothing written); a positive one finer than the search
// can resolve is raised to kProp3MinTolerance and gives exactly the result of
// that floor.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "props/prop3.h"
#include "../support/component_table.h"
#include "vantaro/vantaro.h"

namespace vt {
namespace {

constexpr double kUnset = 7.0;  // what the outputs hold before the call

struct Result {
    int32_t status;
    double t, p;
    double frac[5], h[5], s[5];
    std::vector<double> y;
};

struct Spec {
    int method, hmethod;
    double t, p, vf, h, s;
};

Result Evaluate(const Spec& c, const std::vector<double>& z, const double tol[4]) {
    const size_t n = z.size();
    Result r{};
    r.y.assign(n, kUnset);
    std::vector<double> x(n, kUnset), xw(n, kUnset), xl(n, kUnset);
    double cp[5], v[5], mw[5];
    int32_t ph[3];
    r.t = c.t;
    r.p = c.p;
    r.frac[0] = c.vf;
    r.h[3] = c.h;
    r.s[3] = c.s;
    r.status = ::Prop3(c.method, c.hmethod, &r.t, &r.p, z.data(), r.y.data(), x.data(), xw.data(),
                       xl.data(), ph, r.frac, r.h, r.s, cp, v, mw, MISSING, tol);
    return r;
}

class Prop3Tolerance : public ::testing::Test {
protected:
    void TearDown() override { vt::CloseProps(); }
};

const double kDenormal = std::numeric_limits<double>::denorm_min();

// The two reproductions of the endless temperature search: an 8-component
// entropy search at 2000 kPa, and the retrograde dew point of methanol and
// ethylene (kij 0 in both).
struct Repro {
    std::vector<std::string> names;
    std::vector<double> z;
    Spec spec;
    int tolIndex;  // the tolerance that gets the bad values
};

std::vector<Repro> Repros() {
    return {
        {{"methane", "ethane", "propane", "n-butane", "n-hexane", "n-decane", "nitrogen", "water"},
         {0.5, 0.1, 0.08, 0.07, 0.06, 0.05, 0.04, 0.1},
         {1, 1, MISSING, 2000.0, MISSING, MISSING, -50.0},
         0},
        {{"methanol", "ethylene"}, {0.5, 0.5}, {1, 0, MISSING, 119.74043399516259, -1.0, MISSING, MISSING}, 0},
        // The same entropy search with the entropy tolerance spoiled.
        {{"methane", "ethane", "propane", "n-butane", "n-hexane", "n-decane", "nitrogen", "water"},
         {0.5, 0.1, 0.08, 0.07, 0.06, 0.05, 0.04, 0.1},
         {1, 1, MISSING, 2000.0, MISSING, MISSING, -50.0},
         2},
    };
}

TEST_F(Prop3Tolerance, NonPositiveTolerancesAreInvalid) {
    for (const Repro& r : Repros()) {
        test::OpenTable(r.names, true);
        for (double bad : {0.0, -0.0, -1e-3, -kDenormal, MISSING}) {
            double tol[4] = {0.01, 0.1, 0.001, 1e-4};
            tol[r.tolIndex] = bad;
            const Result o = Evaluate(r.spec, r.z, tol);
            EXPECT_EQ(o.status, 4) << r.names[0] << " tol[" << r.tolIndex << "] = " << bad;
            EXPECT_EQ(o.y[0], kUnset);
            EXPECT_EQ(o.t, MISSING) << "T not written";
        }
        // The issue's own call: every tolerance zero.
        const double zeros[4] = {0.0, 0.0, 0.0, 0.0};
        EXPECT_EQ(Evaluate(r.spec, r.z, zeros).status, 4);
    }
}

TEST_F(Prop3Tolerance, FineTolerancesAreRaisedToTheFloor) {
    for (const Repro& r : Repros()) {
        test::OpenTable(r.names, true);
        double floorTol[4] = {0.01, 0.1, 0.001, 1e-4};
        floorTol[r.tolIndex] = kProp3MinTolerance;
        const Result ref = Evaluate(r.spec, r.z, floorTol);
        ASSERT_NE(ref.status, 4);
        for (double fine : {kDenormal, 1e-300, 1e-15, 0.5 * kProp3MinTolerance}) {
            double tol[4] = {0.01, 0.1, 0.001, 1e-4};
            tol[r.tolIndex] = fine;
            const Result o = Evaluate(r.spec, r.z, tol);
            EXPECT_EQ(o.status, ref.status) << fine;
            EXPECT_EQ(o.t, ref.t) << fine;  // the same search, step for step
            EXPECT_EQ(o.frac[0], ref.frac[0]) << fine;
        }
    }
}

// What the fine-tolerance searches find is the specification: the entropy of
// a TP evaluation at the temperature found, and the retrograde dew point
// (status 3 there: the stream has no retrograde dew point at that pressure,
// reported as such rather than searched for endlessly).
TEST_F(Prop3Tolerance, FineToleranceResultsMeetTheSpecification) {
    const std::vector<Repro> repros = Repros();
    const Repro& entropy = repros[0];
    test::OpenTable(entropy.names, true);
    const double tol[4] = {1e-300, 0.1, 1e-300, 1e-4};
    const Result o = Evaluate(entropy.spec, entropy.z, tol);
    ASSERT_EQ(o.status, 0);
    const Result tp = Evaluate({1, 1, o.t, 2000.0, MISSING, MISSING, MISSING}, entropy.z, tol);
    ASSERT_EQ(tp.status, 0);
    EXPECT_NEAR(tp.s[3], -50.0, 1e-6);

    const Repro& dew = repros[1];
    test::OpenTable(dew.names, true);
    const double fine[4] = {1e-300, 0.1, 0.001, 1e-4};
    EXPECT_EQ(Evaluate(dew.spec, dew.z, fine).status, 3);
}

// The lever-rule slack may be 0 but not negative; the TP evaluation and the
// pressure search use no temperature tolerance.
TEST_F(Prop3Tolerance, SlackAndUnusedTolerances) {
    test::OpenTable({"propane", "n-butane"});
    const std::vector<double> z = {0.5, 0.5};
    const Spec ph{1, 1, MISSING, 500.0, MISSING, -5000.0, MISSING};
    const double zeroSlack[4] = {0.01, 0.1, 0.001, 0.0};
    EXPECT_NE(Evaluate(ph, z, zeroSlack).status, 4);
    const double negativeSlack[4] = {0.01, 0.1, 0.001, -1e-4};
    EXPECT_EQ(Evaluate(ph, z, negativeSlack).status, 4);
    const double noT[4] = {0.0, 0.1, 0.001, 1e-4};
    EXPECT_EQ(Evaluate({1, 1, 300.0, 500.0, MISSING, MISSING, MISSING}, z, noT).status, 0);
    EXPECT_EQ(Evaluate({1, 1, 300.0, MISSING, 0.5, MISSING, MISSING}, z, noT).status, 0);
}

}  // namespace
}  // namespace vt
