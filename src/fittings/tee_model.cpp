// Contour-level tables of the tee charts, the level lookup and the network
// evaluation shared by the engine and the fitting tool.
#include "fittings/tee_model.h"

#include <cmath>

namespace vt {
namespace {

constexpr double kLevAB[] = {-0.8, -0.7, -0.6, -0.4, -0.2, -0.1, 0, 0.1, 0.2, 0.25, 0.3, 0.4,
                             0.6,  0.8,  1,    1.5,  2,    3,    4, 5,   6,   7,    8};
constexpr double kLevCD[] = {-0.6, -0.4, -0.2, 0, 0.2, 0.3, 0.4, 0.6, 0.8, 1,
                             1.5,  2,    2.5,  3, 4,   5,   6,   8,   10,  15};
constexpr double kLevE[] = {-0.6, -0.4, -0.2, 0, 0.2, 0.4, 0.6, 0.8, 1, 1.5, 2, 3, 4, 5, 7, 8, 10};
constexpr double kLevF[] = {-0.8, -0.6, -0.4, -0.2, 0, 0.2, 0.4, 0.6, 0.8, 1,
                            1.5,  2,    3,    4,    5, 6,   7,   8,   10};
constexpr double kLevG[] = {-0.8, -0.6, -0.4, -0.2, 0, 0.2, 0.4, 0.6, 0.8, 1, 1.5,
                            2,    2.5,  3,    4,    5, 6,   8,   10,  12,  15};
constexpr double kLevH[] = {-0.7, -0.6, -0.4, -0.2, 0, 0.2, 0.4, 0.6, 0.8, 1, 1.5,
                            2,    2.5,  3,    4,    5, 6,   8,   10,  12,  15};
constexpr double kLevI[] = {-0.8, -0.4, -0.2, 0, 0.2, 0.4, 0.6, 0.8, 1,
                            1.5,  2,    2.5,  3, 4,   5,   6,   8,   10};
constexpr double kLevJ[] = {0.4, 0.5, 0.6, 0.8, 1, 1.5, 2, 3, 4, 6, 8};
constexpr double kLevK[] = {0.6, 0.7, 0.8, 0.9, 1, 1.5, 2, 3, 4, 6, 8};
constexpr double kLevL[] = {0.85, 0.9, 0.95, 0.975, 1, 1.2, 1.4, 1.6, 2, 3, 6, 10};
constexpr double kLevM[] = {0.93, 0.95, 1, 1.1, 1.2, 1.4, 1.6, 1.8, 2, 2.25, 2.5, 3, 4, 5, 6};
constexpr double kLevOP[] = {-8,   -6,   -5,     -4,    -2,     -1.5,  -1,    -0.8,
                             -0.6, -0.4, -0.2,   -0.1,  0,      0.0125, 0.025, 0.0375,
                             0.05, 0.0625, 0.075, 0.1,  0.125,  0.15};
constexpr double kLevQR[] = {-6, -4, -3, -2, -1.5, -1, -0.8, -0.6, -0.4, -0.2, -0.1, 0, 0.1, 0.15, 0.2};
constexpr double kLevST[] = {-1.4, -1.2, -1, -0.8, -0.6, -0.4, -0.2, 0, 0.1, 0.2, 0.25, 0.3};
constexpr double kLevU[] = {0.1, 0.2, 0.3, 0.4, 0.45, 0.5, 0.525, 0.55, 0.6, 0.7, 0.8, 0.9, 1, 1.2, 1.5};
constexpr double kLevV[] = {0, 0.2, 0.4, 0.6, 0.8, 1, 1.2, 1.4, 1.6, 1.8, 2, 2.2, 2.4, 2.6, 3, 3.4};

template <int N>
constexpr KLevels Table(const double (&lev)[N], double lo, double hi) {
    return {N, lev, lo, hi};
}

// Each table carries the bounds of the case-table row it serves.
const KLevels kTables[kTeeChartCount] = {
    Table(kLevAB, -0.6, 6),    Table(kLevAB, -0.6, 6),    // A, B
    Table(kLevCD, -0.6, 8),    Table(kLevCD, -0.6, 8),    // C, D
    Table(kLevE, -0.6, 5),     Table(kLevF, -0.6, 5),     // E, F
    Table(kLevG, -0.6, 8),     Table(kLevH, -0.6, 8),     // G, H
    Table(kLevI, -0.4, 5),                                // I
    Table(kLevJ, 0.4, 4),      Table(kLevK, 0.6, 3),      // J, K
    Table(kLevL, 0.85, 6),     Table(kLevM, 0.93, 4),     // L, M
    KLevels{0, nullptr, 0, 0},                            // N: no table
    Table(kLevOP, -4, 0.15),   Table(kLevOP, -4, 0.15),   // O, P
    Table(kLevQR, -3, 0.2),    Table(kLevQR, -3, 0.2),    // Q, R
    Table(kLevST, -1, 0.3),    Table(kLevST, -1, 0.3),    // S, T
    Table(kLevU, 0.2, 0.9),    Table(kLevV, 0.2, 2.6),    // U, V
};

}  // namespace

const KLevels* TeeLevels(int index) {
    if (index < 0 || index >= kTeeChartCount || kTables[index].n == 0) return nullptr;
    return &kTables[index];
}

int32_t TeeHiddenUnits(int index) {
    switch (index) {
        case TeeChartIndex('L'): return 32;
        case TeeChartIndex('N'): return 15;
        case TeeChartIndex('Q'):
        case TeeChartIndex('S'): return 20;
        default: return 16;
    }
}

double LevelLookup(const KLevels& t, double x) {
    // Compare as doubles before converting: x may be huge or NaN.
    if (!(x >= 0.0)) return t.lo;
    if (x >= static_cast<double>(t.n - 1)) return t.hi;
    const int i = static_cast<int>(std::floor(x));
    double v = t.levels[i] + (t.levels[i + 1] - t.levels[i]) * (x - i);
    if (v > t.hi) v = t.hi;
    if (v < t.lo) v = t.lo;
    return v;
}

double LevelPosition(const KLevels& t, double k) {
    const int last = t.n - 1;
    int i = 0;
    if (k >= t.levels[last]) {
        i = last - 1;
    } else {
        while (i < last - 1 && k >= t.levels[i + 1]) ++i;
    }
    return i + (k - t.levels[i]) / (t.levels[i + 1] - t.levels[i]);
}

double EvalTeeNetwork(const TeeNetwork& net, double q, double a) {
    const double f[5] = {q, a, q * q, a * a, a * q};
    double y = net.b;
    for (int k = 0; k < net.hidden; ++k) {
        const double* wk = net.w + 5 * k;
        double s = net.c[k];
        for (int m = 0; m < 5; ++m) s += wk[m] * f[m];
        y += net.v[k] * std::tanh(s);
    }
    return y;
}

}  // namespace vt
