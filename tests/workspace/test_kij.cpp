#include <cmath>
#include <vector>

#include "../support/csv.h"
#include "fixtures.h"

using namespace vt_test;

namespace {

constexpr double M = VANTARO_MISSING;

TEST(GetKijHardWiredTest, RulesInOrder) {
    for (const vt::test::CsvRow& r : vt::test::ReadCsv("tests/data/kij_rules.csv")) {
        double k = -99;
        GetKijHardWired(1, static_cast<int>(r["c1"]), static_cast<int>(r["f1"]), static_cast<int>(r["c2"]),
                        static_cast<int>(r["f2"]), &k);
        EXPECT_DOUBLE_EQ(k, r["kij"]) << r.Str("why");
    }
}

class EstimateKijTest : public ::testing::Test {
protected:
    void TearDown() override { CloseProps(); }
    double Est(int method, int i, int j, int32_t* status = nullptr) {
        double k = -99;
        const int32_t s = EstimateKij(method, i, j, &k);
        if (status) *status = s;
        return k;
    }
};

TEST_F(EstimateKijTest, IndexRulesAndCriticalVolumeRule) {
    CompRecord a = Methane(), b = Methane();
    a.vc = b.vc = 0.3;
    Open({a, b, Propane()});
    int32_t s = 5;
    EXPECT_EQ(Est(1, 0, 0, &s), -99);  // i = j leaves kij
    EXPECT_EQ(s, -1);
    EXPECT_EQ(Est(1, -1, 0, &s), 0.0);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(Est(1, 0, 3, &s), 0.0);
    EXPECT_EQ(s, 0);
    // Decimal exponents: equal critical volumes give a small positive kij.
    EXPECT_NEAR(Est(1, 0, 1), 1.0 - std::pow(0.3, 0.00034), 1e-15);
    EXPECT_GT(Est(1, 0, 1), 0.0);
    const double vi = 0.3, vj = 0.2;
    EXPECT_NEAR(Est(2, 0, 2), 1.0 - 2 * std::pow(vi * vj, 0.16667) / (std::pow(vi, 0.333) + std::pow(vj, 0.333)),
                1e-15);
    CloseProps();
    EXPECT_EQ(Est(1, 0, 1, &s), 0.0);  // no workspace: out of range
    EXPECT_EQ(s, 0);
}

TEST_F(EstimateKijTest, WaterAndSpecialPairs) {
    CompRecord h2s = Make(54, 10, 34.08, 212.855, 9000, 373.1, 0.0981, 0.1005, 0.1, 800.0);
    CompRecord co2 = Make(53, 10, 44.01, 194.67, 7377.3, 304.128, 0.094, 0.224, 0.22);
    CompRecord meoh = Make(50, 3, 32.04, 337.8, 8084, 512.5, 0.117, 0.565, M);
    CompRecord meg = Make(130, 7, 62.07, 470.4, 8200, 720.0, 0.191, 0.507, M);
    CompRecord deg = Make(131, 7, 106.1, 518.0, 4600, 744.6, 0.316, 0.62, M);
    CompRecord teg = Make(132, 7, 150.2, 560.0, 3320, 769.5, 0.443, 0.758, M);
    Open({Methane(), Propane(), Water(), h2s, co2, meoh, meg, deg, teg});
    // H2S correlations in tb and liqden of the second component.
    const double x = std::pow(1.8 * 212.855, 2) * 800.0 / 1000.0, api = 141500.0 / 800.0 - 131.5;
    EXPECT_NEAR(Est(1, 1, 3), 0.059 + 4.5e-8 * x - 9.27e-14 * x * x - 43.18 / (api * api + 1), 1e-15);
    const double xp = std::pow(1.8 * 231.0362, 2) * 506.69 / 1000.0, apip = 141500.0 / 506.69 - 131.5;
    EXPECT_NEAR(Est(1, 3, 1), 0.0883 - 2.06e-8 * xp - 4e-14 * xp * xp + 2.252 / (apip * apip + 1), 1e-15);
    const struct { int method, i, j; double k; } cases[] = {
        {1, 0, 2, 0.5},  {1, 2, 1, 0.48}, {1, 4, 2, 0.0445}, {2, 2, 4, 0.0392}, {3, 4, 2, M},  // method 3: none
        {1, 5, 2, -0.18}, {2, 2, 5, -0.09}, {3, 5, 2, -99},  // methanol/water, method 3: unchanged
        {1, 6, 2, -0.1}, {1, 2, 7, 0.25}, {2, 8, 2, -0.5531}, {1, 4, 5, M},  // no rule
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(Est(c.method, c.i, c.j), c.k) << c.method << " " << c.i << " " << c.j;
}

}  // namespace
