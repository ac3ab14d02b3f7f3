#include <cmath>
#include <vector>

#include "fixtures.h"

using namespace vt_test;

namespace {

constexpr double M = VANTARO_MISSING;

double Hard(int c1, int f1, int c2, int f2) {
    double k = -99;
    GetKijHardWired(1, c1, f1, c2, f2, &k);
    return k;
}

TEST(GetKijHardWiredTest, RulesInOrder) {
    struct Case { int c1, f1, c2, f2; double k; const char* why; } cases[] = {
        {61, 5, 1, 0, 0.5, "water first, light hydrocarbon"},
        {61, 5, 3, 0, 0.48, "water first, heavier hydrocarbon"},
        {1, 0, 61, 11, 0.5, "water second"},
        {8, 0, 61, 11, 0.48, "water second, heavy"},
        {61, 11, 1, 4, 0.0, "water with a non-zero class"},
        {758, 3, 7, 0, 0.32, "code 758 with class 0"},
        {758, 0, 758, 3, 0.32, "758 pair, first class 0"},
        {758, 3, 758, 3, 0.0, "758 pair, no class 0"},
        {7, 0, 758, 3, 0.32, "758 second"},
        {61, 11, 53, 10, 0.0445, "water / CO2"},
        {53, 10, 61, 0, 0.101, "CO2 then class-0 water code"},
        {61, 11, 59, 10, -0.4348, "water / nitrogen"},
        {59, 1, 53, 1, -0.02, "nitrogen then CO2"},
        {59, 1, 53, 0, 0.1, "nitrogen then class-0 CO2: rule 12 overrides"},
        {53, 10, 20, 0, 0.101, "CO2 with class 0"},
        {20, 0, 53, 10, 0.101, "class 0 with CO2"},
        {53, 10, 1, 0, 0.1, "CO2 / methane"},
        {2, 0, 53, 10, 0.1298, "ethane / CO2"},
        {53, 10, 3, 0, 0.135, "CO2 / propane"},
        {53, 10, 4, 0, 0.1298, "CO2 / i-butane"},
        {5, 0, 53, 10, 0.1298, "n-butane / CO2"},
        {53, 10, 7, 0, 0.125, "CO2 / C6-8 codes"},
        {1, 1, 54, 1, 0.085, "methane / H2S stops at rule 10"},
        {1, 0, 54, 1, 0.08, "class 0 before H2S"},
        {54, 1, 1, 1, 0.085, "H2S / methane"},
        {54, 1, 20, 0, 0.08, "H2S then class 0"},
        {54, 10, 53, 10, 0.1, "H2S / CO2"},
        {53, 10, 54, 10, 0.1, "CO2 / H2S"},
        {54, 10, 61, 11, 0.0819, "H2S / water"},
        {61, 11, 54, 10, 0.0819, "water / H2S"},
        {54, 1, 59, 1, 0.1676, "H2S / nitrogen"},
        {59, 1, 54, 1, 0.1676, "nitrogen / H2S"},
        {59, 10, 20, 0, 0.1, "nitrogen / class 0"},
        {20, 0, 59, 10, 0.1, "class 0 / nitrogen"},
        {59, 10, 1, 1, 0.036, "nitrogen / methane"},
        {2, 1, 59, 10, 0.05, "ethane / nitrogen"},
        {59, 10, 3, 0, 0.08, "nitrogen / propane (rule 13 after 12)"},
        {59, 10, 4, 1, 0.09, "nitrogen / i-butane"},
        {5, 1, 59, 10, 0.095, "n-butane / nitrogen"},
        {100, 1, 200, 1, 0.0, "codes in no rule"},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(Hard(c.c1, c.f1, c.c2, c.f2), c.k) << c.why;
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

TEST_F(EstimateKijTest, IndexRules) {
    Open({Methane(), Propane()});
    int32_t s = 5;
    EXPECT_EQ(Est(1, 0, 0, &s), -99);  // i = j leaves kij
    EXPECT_EQ(s, -1);
    EXPECT_EQ(Est(1, -1, 0, &s), 0.0);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(Est(1, 0, 2, &s), 0.0);
    EXPECT_EQ(s, 0);
    CloseProps();
    EXPECT_EQ(Est(1, 0, 1, &s), 0.0);  // no workspace: out of range
    EXPECT_EQ(s, 0);
}

TEST_F(EstimateKijTest, CriticalVolumeRuleWithDecimalExponents) {
    CompRecord a = Methane(), b = Methane();
    a.vc = b.vc = 0.3;
    Open({a, b, Propane()});
    EXPECT_NEAR(Est(1, 0, 1), 1.0 - std::pow(0.3, 0.00034), 1e-15);
    EXPECT_GT(Est(1, 0, 1), 0.0);
    const double vi = 0.3, vj = 0.2;
    EXPECT_NEAR(Est(2, 0, 2), 1.0 - 2 * std::pow(vi * vj, 0.16667) / (std::pow(vi, 0.333) + std::pow(vj, 0.333)),
                1e-15);
}

TEST_F(EstimateKijTest, WaterAndSpecialPairs) {
    CompRecord h2s = Make(54, 10, 34.08, 212.855, 9000, 373.1, 0.0981, 0.1005, 0.1, 800.0);
    CompRecord co2 = Make(53, 10, 44.01, 194.67, 7377.3, 304.128, 0.094, 0.224, 0.22);
    CompRecord meoh = Make(50, 3, 32.04, 337.8, 8084, 512.5, 0.117, 0.565, M);
    CompRecord meg = Make(130, 7, 62.07, 470.4, 8200, 720.0, 0.191, 0.507, M);
    CompRecord deg = Make(131, 7, 106.1, 518.0, 4600, 744.6, 0.316, 0.62, M);
    CompRecord teg = Make(132, 7, 150.2, 560.0, 3320, 769.5, 0.443, 0.758, M);
    Open({Methane(), Propane(), Water(), h2s, co2, meoh, meg, deg, teg});
    EXPECT_DOUBLE_EQ(Est(1, 0, 2), 0.5);   // methane / water
    EXPECT_DOUBLE_EQ(Est(1, 2, 1), 0.48);  // water / propane (fj = 0, ci = 61)
    // H2S correlation in tb and liqden of the second component.
    const double x = std::pow(1.8 * 212.855, 2) * 800.0 / 1000.0;
    const double api = 141500.0 / 800.0 - 131.5;
    EXPECT_NEAR(Est(1, 1, 3), 0.059 + 4.5e-8 * x - 9.27e-14 * x * x - 43.18 / (api * api + 1), 1e-15);
    const double xp = std::pow(1.8 * 231.0362, 2) * 506.69 / 1000.0;
    const double apip = 141500.0 / 506.69 - 131.5;
    EXPECT_NEAR(Est(1, 3, 1), 0.0883 - 2.06e-8 * xp - 4e-14 * xp * xp + 2.252 / (apip * apip + 1), 1e-15);
    // Water pairs by method.
    EXPECT_DOUBLE_EQ(Est(1, 4, 2), 0.0445);
    EXPECT_DOUBLE_EQ(Est(2, 2, 4), 0.0392);
    EXPECT_EQ(Est(3, 4, 2), M);           // method 3 falls through to MISSING
    EXPECT_DOUBLE_EQ(Est(1, 5, 2), -0.18);
    EXPECT_DOUBLE_EQ(Est(2, 2, 5), -0.09);
    int32_t s = 0;
    EXPECT_EQ(Est(3, 5, 2, &s), -99);     // methanol/water, method 3: unchanged
    EXPECT_EQ(s, -1);
    EXPECT_DOUBLE_EQ(Est(1, 6, 2), -0.1);
    EXPECT_DOUBLE_EQ(Est(1, 2, 7), 0.25);
    EXPECT_DOUBLE_EQ(Est(2, 8, 2), -0.5531);
    EXPECT_EQ(Est(1, 4, 5), M);           // no rule
}

}  // namespace
