// Superheat correction factor: every grid point against the published table
// in the reference directory, interpolation, clamping and the NaN signal.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "vantaro/vantaro.h"

namespace {

// Rows of the published table: {psig, value at 300, 400, ..., 1200 degF}.
std::vector<std::vector<double>> ReadKshTable() {
    std::ifstream in(std::string(VANTARO_SOURCE_DIR) + "/tests/data/ksh.csv");
    std::vector<std::vector<double>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || !std::isdigit(static_cast<unsigned char>(line[0]))) continue;
        std::vector<double> row;
        std::stringstream ss(line);
        std::string cell;
        while (std::getline(ss, cell, ',')) row.push_back(std::stod(cell));
        if (row.size() == 11) rows.push_back(row);
    }
    return rows;
}

TEST(Superheat, EveryGridPointOfTheStandardsTable) {
    const auto rows = ReadKshTable();
    ASSERT_EQ(rows.size(), 28u);
    for (const auto& row : rows)
        for (int c = 0; c < 10; ++c)
            EXPECT_NEAR(SuperheatCoefficient(300.0 + 100.0 * c, row[0]), row[c + 1], 1e-12)
                << row[0] << " psig, " << 300 + 100 * c << " F";
}

TEST(Superheat, BilinearBetweenGridPoints) {
    EXPECT_NEAR(SuperheatCoefficient(350, 15), 0.99, 1e-12);
    // 650 F, 700 psig: the four corners 0.92, 0.87 (600 psig), 0.95, 0.88 (800 psig).
    EXPECT_NEAR(SuperheatCoefficient(650, 700), 0.25 * (0.92 + 0.87 + 0.95 + 0.88), 1e-12);
    // Along a row, a quarter of the way.
    EXPECT_NEAR(SuperheatCoefficient(825, 3000), 0.82 - 0.25 * 0.08, 1e-12);
}

TEST(Superheat, ClampingAndCorners) {
    for (double p : {0.0, 15.0, 600.0, 3000.0, 9999.0})
        EXPECT_EQ(SuperheatCoefficient(250, p), 1.0);
    EXPECT_NEAR(SuperheatCoefficient(1200, 3000), 0.62, 1e-12);
    EXPECT_NEAR(SuperheatCoefficient(5000, 10000), 0.62, 1e-12);
    EXPECT_NEAR(SuperheatCoefficient(1200, 15), 0.70, 1e-12);
    EXPECT_NEAR(SuperheatCoefficient(INFINITY, -INFINITY), 0.70, 1e-12);
}

TEST(Superheat, NanSignalsNoCell) {
    EXPECT_EQ(SuperheatCoefficient(NAN, 100), 9.99);
    EXPECT_EQ(SuperheatCoefficient(500, NAN), 9.99);
}

}  // namespace
