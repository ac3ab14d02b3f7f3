// The three-phase split's fallback search finds the point a plain nested
// bisection to 1e-15 finds (the textbook form, written out here), over
// K-values from mild to the extremes the flash clips them to; at the coarse
// tolerance of the flash's first fallback it lands within ten times that
// tolerance of it (a nested bisection at that tolerance can miss it by far
// more: its inner searches are as coarse as its outer one).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "../support/component_table.h"
#include "numerics/guards.h"
#include "thermo/flash.h"

namespace vt {
namespace {

// sum (x0 - x1) and sum (x0 - x2) at (b1, b2), x0 = z / (b1/K1 + b0 + b2/K2).
void Residuals(const std::vector<double>& z, const std::vector<double>& k1,
               const std::vector<double>& k2, double b1, double b2, double* g1, double* g2) {
    const double b0 = std::clamp(1.0 - b1 - b2, 0.0, 1.0);
    *g1 = *g2 = 0.0;
    for (size_t i = 0; i < z.size(); ++i) {
        if (!(z[i] > 0.0)) continue;
        const double den = std::max(b1 / k1[i] + b0 + b2 / k2[i], 1e-100);
        const double x0 = z[i] / den;
        *g1 += x0 - x0 / k1[i];
        *g2 += x0 - x0 / k2[i];
    }
}

// Bisection of b2 in [0, 1 - b1] on the sign of G2 inside a bisection of b1
// in [0, 1] on the sign of G1.
void NestedBisection(const std::vector<double>& z, const std::vector<double>& k1,
                     const std::vector<double>& k2, double tol, double* b1, double* b2) {
    const auto inner = [&](double x1) {
        double lo = 0.0, hi = 1.0 - x1, g1, g2;
        while (hi - lo > tol) {
            const double mid = 0.5 * (lo + hi);
            Residuals(z, k1, k2, x1, mid, &g1, &g2);
            (g2 > 0.0 ? hi : lo) = mid;
        }
        return 0.5 * (lo + hi);
    };
    double lo = 0.0, hi = 1.0, g1, g2;
    while (hi - lo > tol) {
        const double mid = 0.5 * (lo + hi);
        Residuals(z, k1, k2, mid, inner(mid), &g1, &g2);
        (g1 > 0.0 ? hi : lo) = mid;
    }
    *b1 = 0.5 * (lo + hi);
    *b2 = inner(*b1);
}

TEST(SplitSearch, FindsTheNestedBisectionsPoint) {
    const int n = 12;
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) names.push_back(test::ComponentNames()[i]);
    test::OpenTable(names);
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    // Spread of ln K: mild, wide, and out to the flash's clipping of K.
    for (double spread : {2.0, 10.0, 60.0, 228.0}) {
        for (int trial = 0; trial < 40; ++trial) {
            std::vector<double> z(n), k1(n), k2(n);
            for (int i = 0; i < n; ++i) {
                z[i] = u(rng) < 0.2 ? 0.0 : u(rng);
                k1[i] = std::exp(spread * (2.0 * u(rng) - 1.0));
                k2[i] = std::exp(spread * (2.0 * u(rng) - 1.0));
            }
            z[0] += 0.1;
            std::vector<double> x0(n), x1(n), x2(n);
            double* c[4] = {x0.data(), x1.data(), x2.data(), z.data()};
            // The exact point, and the search at the tolerance of the
            // flash's final fallback and of its coarse first one.
            double r1, r2;
            NestedBisection(z, k1, k2, 1e-15, &r1, &r2);
            double h1, h2;
            Residuals(z, k1, k2, r1, r2, &h1, &h2);
            for (double tol : {1e-15, 1e-3}) {
                double b1, b2;
                SplitBisect(vt::g_ws, c, k1.data(), k2.data(), &b1, &b2, tol);
                // Within the tolerance of the same sign change, or (where G1
                // is flat around it: a phase with next to no material) at a
                // point with the same residuals.
                double g1, g2;
                Residuals(z, k1, k2, b1, b2, &g1, &g2);
                const double scale = 1e-9 * (1.0 + std::fabs(h1) + std::fabs(h2));
                const double near = tol < 1e-9 ? 1e-9 : 10 * tol;
                const bool samePoint = std::fabs(b1 - r1) <= near && std::fabs(b2 - r2) <= near;
                const bool sameResidual = std::fabs(g1 - h1) <= scale && std::fabs(g2 - h2) <= scale;
                EXPECT_TRUE(samePoint || sameResidual)
                    << "spread " << spread << " trial " << trial << " tol " << tol << ": (" << b1
                    << ", " << b2 << ") against (" << r1 << ", " << r2 << ")";
                EXPECT_GE(b1, 0.0);
                EXPECT_GE(b2, 0.0);
                EXPECT_LE(b1 + b2, 1.0 + 1e-12);
            }
        }
    }
    CloseProps();
}

}  // namespace
}  // namespace vt
