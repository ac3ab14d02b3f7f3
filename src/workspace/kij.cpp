#include "workspace/kij.h"

#include <cmath>

#include "platform/constants.h"
#include "workspace/workspace.h"

namespace vt {

namespace {
// True when {c1, c2} is the unordered pair {a, b}.
bool Pair(int c1, int c2, int a, int b) { return (c1 == a && c2 == b) || (c1 == b && c2 == a); }

// Code of the partner of `a` in the pair, or -1 when neither code is `a`.
int Partner(int c1, int c2, int a) { return c1 == a ? c2 : (c2 == a ? c1 : -1); }
}  // namespace

int32_t EstimateKij(int32_t method, int32_t i, int32_t j, double* kij) {
    const int n = g_ws.ncomp;
    if (i < 0 || j < 0 || i >= n || j >= n) {
        *kij = 0.0;
        return 0;
    }
    if (i == j) return -1;
    const CompRecord& a = g_ws.cd[i];
    const CompRecord& b = g_ws.cd[j];
    const int ci = a.code, fi = a.family, cj = b.code, fj = b.family;

    // Water with a saturated hydrocarbon.
    if ((fi == 0 && cj == kCodeWater) || (fj == 0 && ci == kCodeWater)) {
        *kij = (ci == 1 || ci == 2 || cj == 1 || cj == 2) ? 0.5 : 0.48;
        return -1;
    }
    // Correlation in the boiling point and liquid density of component j.
    if ((fi == 0 && cj == kCodeHydrogenSulfide) ||
        (fj == 0 && (ci == kCodeHydrogenSulfide || ci == kCodeKijBoiling735 ||
                     ci == kCodeKijBoiling736 || ci == kCodeKijBoiling761))) {
        const double x = std::pow(1.8 * b.tb, 2) * b.liqden / 1000.0;
        const double api = 141500.0 / b.liqden - 131.5;
        if (ci == kCodeKijBoiling361)
            *kij = 0.021 + 1.06e-7 * x - 1.05e-13 * x * x;
        else if (ci == kCodeHydrogenSulfide)
            *kij = 0.0883 - 2.06e-8 * x - 4e-14 * x * x + 2.252 / (api * api + 1.0);
        else
            *kij = 0.059 + 4.5e-8 * x - 9.27e-14 * x * x - 43.18 / (api * api + 1.0);
        return -1;
    }
    // Two saturated hydrocarbons: critical-volume rule with decimal exponents.
    if (fi == 0 && fj == 0) {
        *kij = 1.0 - 2.0 * std::pow(a.vc * b.vc, 0.16667) /
                         (std::pow(a.vc, 0.333) + std::pow(b.vc, 0.333));
        return -1;
    }
    // Water pairs.
    switch (Partner(ci, cj, kCodeWater)) {
        case kCodeCarbonDioxide:
            if (method == 1) { *kij = 0.0445; return -1; }
            if (method == 2) { *kij = 0.0392; return -1; }
            break;
        case kCodeEthyleneGlycol: *kij = -0.1; return -1;
        case kCodeDiethyleneGlycol: *kij = 0.25; return -1;
        case kCodeTriethyleneGlycol: *kij = -0.5531; return -1;
        case kCodeMethanol:
            if (method == 1) *kij = -0.18;
            else if (method == 2) *kij = -0.09;
            return -1;
        default: break;
    }
    *kij = MISSING;
    return -1;
}

void GetKijHardWired(int32_t /*method*/, int32_t c1, int32_t f1, int32_t c2, int32_t f2,
                     double* kij) {
    double k = 0.0;
    // 1. water with a saturated hydrocarbon
    if (c1 == kCodeWater && f2 == 0)
        k = c2 < 3 ? 0.5 : 0.48;
    else if (c2 == kCodeWater && f1 == 0)
        k = c1 < 3 ? 0.5 : 0.48;
    // 2
    if (c1 == kCodeKijFixed758) {
        if (f2 == 0 || (c2 == kCodeKijFixed758 && f1 == 0)) k = 0.32;
    } else if (c2 == kCodeKijFixed758 && f1 == 0) {
        k = 0.32;
    }
    // 3
    if (Pair(c1, c2, kCodeWater, kCodeCarbonDioxide)) k = 0.0445;
    // 4
    if (c1 == kCodeCarbonDioxide && c2 == kCodeWater && f2 == 0)
        k = 0.101;
    else if (Pair(c1, c2, kCodeWater, kCodeNitrogen))
        k = -0.4348;
    else if (c1 == kCodeNitrogen && c2 == kCodeCarbonDioxide)
        k = -0.02;
    else if (c1 == kCodeCarbonDioxide && f2 == 0 && c2 != kCodeWater)
        k = 0.101;
    else if (c2 == kCodeCarbonDioxide && f1 == 0)
        k = 0.101;
    // 5
    switch (Partner(c1, c2, kCodeCarbonDioxide)) {
        case 1: k = 0.1; break;
        case 2: k = 0.1298; break;
        case 3: k = 0.135; break;
        case 4: k = 0.1298; break;
        case 5: k = 0.1298; break;
        case 6: case 7: case 8: k = 0.125; break;
        default: break;
    }
    // 6
    if (Pair(c1, c2, kCodeHydrogenSulfide, kCodeMethane)) k = 0.085;
    // 7
    if (c1 == kCodeHydrogenSulfide && f2 == 0)
        k = 0.08;
    else if (c2 == kCodeHydrogenSulfide && f1 == 0)
        k = 0.08;
    // 8, 9
    if (Pair(c1, c2, kCodeHydrogenSulfide, kCodeCarbonDioxide)) k = 0.1;
    if (Pair(c1, c2, kCodeHydrogenSulfide, kCodeWater)) k = 0.0819;
    // 10
    if (c2 == kCodeHydrogenSulfide && c1 != kCodeNitrogen) {
        *kij = k;
        return;
    }
    // 11, 12
    if (Pair(c1, c2, kCodeHydrogenSulfide, kCodeNitrogen)) k = 0.1676;
    if (c1 == kCodeNitrogen && f2 == 0)
        k = 0.1;
    else if (c2 == kCodeNitrogen && f1 == 0)
        k = 0.1;
    // 13
    switch (Partner(c1, c2, kCodeNitrogen)) {
        case 1: k = 0.036; break;
        case 2: k = 0.05; break;
        case 3: k = 0.08; break;
        case 4: k = 0.09; break;
        case 5: k = 0.095; break;
        default: break;
    }
    *kij = k;
}

}  // namespace vt
