// getK13 / getK23 through the C interface: network N, the case table's
// charts, bounds and range status, the blend, the area floor and the guards.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fittings/tee_model.h"
#include "fittings/tee_networks.h"
#include "vantaro/vantaro.h"

namespace {

constexpr double kUnset = -777.0;

struct Out {
    int32_t rc;
    double k;
    int32_t status;
    double hi, lo;
};

using TeeFn = int32_t (*)(double, double, int32_t, int32_t, double*, int32_t, int32_t, int32_t*, double*,
                          double*);

Out Call(TeeFn fn, double a, double q, int type, int pattern, int mode = 1, int areaFloor = 1) {
    Out o{-1, kUnset, -5, kUnset, kUnset};
    o.rc = fn(a, q, type, pattern, &o.k, mode, areaFloor, &o.status, &o.hi, &o.lo);
    return o;
}

// K of one chart as the engine looks it up (shift 1 for a blend's second chart).
double ChartK(char letter, double q, double a, double shift) {
    const int idx = vt::TeeChartIndex(letter);
    return vt::LevelLookup(*vt::TeeLevels(idx), vt::EvalTeeNetwork(*vt::FittedTeeNetwork(idx), q, a) - shift);
}

TEST(TeeK23, DividingRunIsNetworkNForAnyTypeAndArea) {
    struct Case {
        double q, k;
        int status;
    };
    const Case cases[] = {{0.0, 0.040208, 1}, {0.25, -0.034185, 0}, {0.5, 0.027028, 0},
                          {0.75, 0.181515, 1}, {1.0, 0.396391, 1}};
    for (const Case& c : cases)
        for (int type : {0, 3, 6})
            for (double a : {0.05, 0.5, 1.0}) {
                const Out o = Call(getK23, a, c.q, type, 0);
                EXPECT_EQ(o.rc, 0);
                EXPECT_NEAR(o.k, c.k, 1e-6) << "q=" << c.q << " type=" << type;
                EXPECT_EQ(o.status, c.status) << "q=" << c.q;
                EXPECT_EQ(o.hi, 0.4);
                EXPECT_EQ(o.lo, 0.03);
            }
}

TEST(TeeModel, LevelLookupOnTableJ) {
    const vt::KLevels& j = *vt::TeeLevels(vt::TeeChartIndex('J'));
    struct Case {
        double x, k;
    };
    const Case cases[] = {
        {4.5, 1.25},   // between levels 1 and 1.5
        {0.0, 0.4},    {0.5, 0.45},
        {-0.01, 0.4},  // below position 0: lo
        {8.5, 4.0},    // between 4 and 6, confined to hi = 4
        {9.99, 4.0},   // last interval
        {10.0, 4.0},   // position n - 1 already reads hi
        {1e300, 4.0},  {-1e300, 0.4},
        {std::numeric_limits<double>::quiet_NaN(), 0.4},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(vt::LevelLookup(j, c.x), c.k) << "x=" << c.x;
}

TEST(TeeModel, LevelPositionInvertsLookupInsideTheBounds) {
    for (int idx = 0; idx < vt::kTeeChartCount; ++idx) {
        const vt::KLevels* t = vt::TeeLevels(idx);
        if (!t) continue;
        for (double x = 0.05; x < t->n - 1; x += 0.1) {
            const double k = vt::LevelLookup(*t, x);
            if (k <= t->lo || k >= t->hi) continue;
            EXPECT_NEAR(vt::LevelPosition(*t, k), x, 1e-12) << char('A' + idx) << " x=" << x;
        }
    }
}

TEST(TeeK13, JunctionTypeWithoutChart) {
    for (TeeFn fn : {getK13, getK23})
        for (int type : {7, 100, -1})
            for (int pattern : {0, 1}) {
                const Out o = Call(fn, 0.5, 0.5, type, pattern);
                EXPECT_EQ(o.rc, 0);
                EXPECT_EQ(o.k, 9e99);
                EXPECT_EQ(o.status, 1);
                EXPECT_EQ(o.hi, kUnset);  // bounds not written
                EXPECT_EQ(o.lo, kUnset);
            }
}

TEST(TeeK13, BoundsOfEveryCaseTableRow) {
    struct Row {
        TeeFn fn;
        int type, pattern, mode;
        double lo, hi;
    };
    const Row rows[] = {
        {getK13, 0, 1, 1, -0.6, 6},   {getK13, 0, 2, 0, -0.6, 6},   {getK13, 1, 1, 1, -0.6, 8},
        {getK13, 1, 1, 2, -0.6, 8},   {getK13, 2, 1, 1, -0.6, 5},   {getK13, 2, -1, 0, -0.6, 5},
        {getK13, 3, 1, 1, -0.6, 8},   {getK13, 3, 1, 0, -0.6, 8},   {getK13, 4, 1, 1, -0.4, 5},
        {getK13, 5, 1, 0, -0.4, 5},   {getK13, 6, 1, 1, -0.4, 5},   {getK13, 0, 0, 1, 0.4, 4},
        {getK13, 1, 0, 0, 0.4, 4},    {getK13, 2, 0, 1, 0.6, 3},    {getK13, 3, 0, 0, 0.85, 6},
        {getK13, 4, 0, 1, 0.93, 4},   {getK13, 6, 0, 0, 0.93, 4},   {getK23, 0, 1, 1, -4, 0.15},
        {getK23, 0, 1, 0, -4, 0.15},  {getK23, 1, 1, 1, -3, 0.2},   {getK23, 1, 1, 0, -3, 0.2},
        {getK23, 2, 1, 1, -1, 0.3},   {getK23, 2, 1, 0, -1, 0.3},   {getK23, 3, 1, 0, 0.2, 0.9},
        {getK23, 4, 1, 1, 0.2, 2.6},  {getK23, 6, 1, 0, 0.2, 2.6},
    };
    for (const Row& r : rows)
        for (double q : {0.0, 0.3, 0.7, 1.0})
            for (double a : {0.1, 0.45, 1.0}) {
                const Out o = Call(r.fn, a, q, r.type, r.pattern, r.mode);
                EXPECT_EQ(o.lo, r.lo);
                EXPECT_EQ(o.hi, r.hi);
                EXPECT_GE(o.k, r.lo);
                EXPECT_LE(o.k, r.hi);
                EXPECT_EQ(o.status, (o.k > r.lo && o.k < r.hi) ? 1 : 0)
                    << "type " << r.type << " q=" << q << " a=" << a << " K=" << o.k;
            }
}

TEST(TeeK13, ChartsSaturateAtTheirBounds) {
    // Combining 90-degree branch, all flow from a small branch: K far above hi.
    Out o = Call(getK13, 0.1, 1.0, 3, 1);
    EXPECT_EQ(o.k, 8.0);
    EXPECT_EQ(o.status, 0);
    // Combining 30-degree run, same flow: strong ejector effect, K far below lo.
    o = Call(getK23, 0.1, 1.0, 0, 1);
    EXPECT_EQ(o.k, -4.0);
    EXPECT_EQ(o.status, 0);
}

TEST(TeeK13, BlendWeightsTheChartsByFlowRatio) {
    struct Row {
        TeeFn fn;
        int type;
        char first, second;
    };
    const Row rows[] = {{getK13, 0, 'A', 'B'}, {getK13, 1, 'C', 'D'}, {getK13, 2, 'E', 'F'},
                        {getK13, 3, 'G', 'H'}, {getK23, 0, 'O', 'P'}, {getK23, 1, 'Q', 'R'},
                        {getK23, 2, 'S', 'T'}};
    for (const Row& r : rows)
        for (double q : {0.0, 0.2, 0.5, 1.0})
            for (double a : {0.2, 0.6}) {
                const double k1 = ChartK(r.first, q, a, 0.0);
                const double k2 = ChartK(r.second, q, a, 1.0);
                const Out single = Call(r.fn, a, q, r.type, 1, 1);
                const Out blend = Call(r.fn, a, q, r.type, 1, 0);
                EXPECT_EQ(single.k, k1);
                EXPECT_DOUBLE_EQ(blend.k, q * k1 + (1.0 - q) * k2) << r.first << " q=" << q;
            }
    // Rows without a blend ignore the mode.
    for (int type : {4, 5, 6}) {
        EXPECT_EQ(Call(getK13, 0.4, 0.3, type, 1, 0).k, Call(getK13, 0.4, 0.3, type, 1, 1).k);
        EXPECT_EQ(Call(getK13, 0.4, 0.3, type, 0, 0).k, Call(getK13, 0.4, 0.3, type, 0, 1).k);
        EXPECT_EQ(Call(getK23, 0.4, 0.3, type, 1, 0).k, Call(getK23, 0.4, 0.3, type, 1, 1).k);
    }
    EXPECT_EQ(Call(getK23, 0.4, 0.3, 3, 1, 0).k, Call(getK23, 0.4, 0.3, 3, 1, 1).k);
    // Types 4, 5 and 6 are one chart.
    EXPECT_EQ(Call(getK13, 0.4, 0.3, 4, 1).k, Call(getK13, 0.4, 0.3, 6, 1).k);
    EXPECT_EQ(Call(getK13, 0.4, 0.3, 0, 0).k, Call(getK13, 0.4, 0.3, 1, 0).k);
}

TEST(TeeK13, AreaFloorOnlyWithFlagOne) {
    for (double a : {0.05, 0.0, -3.0}) {
        EXPECT_EQ(Call(getK13, a, 0.4, 2, 1, 1, 1).k, Call(getK13, 0.1, 0.4, 2, 1, 1, 1).k);
        EXPECT_EQ(Call(getK23, a, 0.4, 2, 1, 1, 1).k, Call(getK23, 0.1, 0.4, 2, 1, 1, 1).k);
    }
    // Without the floor the chart is read at a itself.
    EXPECT_EQ(Call(getK13, 0.05, 0.4, 2, 0, 1, 0).k, ChartK('K', 0.4, 0.05, 0.0));
    EXPECT_EQ(Call(getK13, 0.05, 0.4, 2, 0, 1, 2).k, ChartK('K', 0.4, 0.05, 0.0));
}

TEST(TeeK13, CraneWorkedExamples) {
    // Crane TP-410 (2009) Example 7-35: equal DN100 tee, 1135 l/min in the
    // run and 380 l/min from the 90-degree branch (q = 0.2508, a = 1):
    // K_branch -0.04026, K_run 0.3258.
    const double q35 = 380.0 / 1515.0;
    EXPECT_NEAR(Call(getK13, 1.0, q35, 3, 1).k, -0.04026, 0.05);
    EXPECT_NEAR(Call(getK23, 1.0, q35, 3, 1).k, 0.3258, 0.02);
    // Example 7-36: 45-degree wye of equal legs, dividing, 1515 l/min on in
    // the run and 950 l/min out of the branch (q = 0.3854): K_branch 0.4640.
    EXPECT_NEAR(Call(getK13, 1.0, 950.0 / 2465.0, 1, 0).k, 0.4640, 0.03);
}

TEST(TeeK13, GuardsAgainstNullAndNonFiniteInput) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (TeeFn fn : {getK13, getK23}) {
        EXPECT_EQ(fn(0.5, 0.5, 3, 1, nullptr, 1, 1, nullptr, nullptr, nullptr), 0);
        double k = kUnset;
        EXPECT_EQ(fn(0.5, 0.5, 3, 1, &k, 1, 1, nullptr, nullptr, nullptr), 0);
        EXPECT_NE(k, kUnset);
        for (int pattern : {0, 1})
            for (double bad : {nan, inf, -inf}) {
                const Out byA = Call(fn, bad, 0.5, 3, pattern, 1, 1);
                const Out byQ = Call(fn, 0.5, bad, 3, pattern, 1, 1);
                EXPECT_EQ(byQ.k, 9e99);
                EXPECT_EQ(byQ.status, 0);
                EXPECT_NE(byQ.hi, kUnset);
                if (fn == getK23 && pattern == 0) continue;  // N does not read a
                EXPECT_EQ(byA.k, 9e99);
                EXPECT_EQ(byA.status, 0);
            }
    }
    // Huge finite input stays bounded.
    const Out o = Call(getK13, 1e200, 1e200, 3, 1);
    EXPECT_TRUE(std::isfinite(o.k));
    EXPECT_GE(o.k, -0.6);
    EXPECT_LE(o.k, 8.0);
}

}  // namespace
