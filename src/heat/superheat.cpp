#include "heat/superheat.h"

#include <algorithm>

namespace vt {

namespace {

constexpr int kNt = 10;
constexpr int kNp = 28;
constexpr double kTemps[kNt] = {300, 400, 500, 600, 700, 800, 900, 1000, 1100, 1200};  // degF
constexpr double kPress[kNp] = {15,  20,   40,   60,   80,   100,  120,  140, 160, 180,
                                200, 220,  240,  260,  280,  300,  350,  400, 500, 600,
                                800, 1000, 1250, 1500, 1750, 2000, 2500, 3000};  // psig

// Superheat correction factor KSH, API Standard 520 Part I (7th ed.), table of
// KSH: rows by set pressure (psig), columns by relieving temperature (degF).
constexpr double kKsh[kNp][kNt] = {
    {1, 0.98, 0.93, 0.88, 0.84, 0.8, 0.77, 0.74, 0.72, 0.7},   // 15 psig
    {1, 0.98, 0.93, 0.88, 0.84, 0.8, 0.77, 0.74, 0.72, 0.7},   // 20 psig
    {1, 0.99, 0.93, 0.88, 0.84, 0.81, 0.77, 0.74, 0.72, 0.7},  // 40 psig
    {1, 0.99, 0.93, 0.88, 0.84, 0.81, 0.77, 0.75, 0.72, 0.7},  // 60 psig
    {1, 0.99, 0.93, 0.88, 0.84, 0.81, 0.77, 0.75, 0.72, 0.7},  // 80 psig
    {1, 0.99, 0.94, 0.89, 0.84, 0.81, 0.77, 0.75, 0.72, 0.7},  // 100 psig
    {1, 0.99, 0.94, 0.89, 0.84, 0.81, 0.78, 0.75, 0.72, 0.7},  // 120 psig
    {1, 0.99, 0.94, 0.89, 0.85, 0.81, 0.78, 0.75, 0.72, 0.7},  // 140 psig
    {1, 0.99, 0.94, 0.89, 0.85, 0.81, 0.78, 0.75, 0.72, 0.7},  // 160 psig
    {1, 0.99, 0.94, 0.89, 0.85, 0.81, 0.78, 0.75, 0.72, 0.7},  // 180 psig
    {1, 0.99, 0.95, 0.89, 0.85, 0.81, 0.78, 0.75, 0.72, 0.7},  // 200 psig
    {1, 0.99, 0.95, 0.89, 0.85, 0.81, 0.78, 0.75, 0.72, 0.7},  // 220 psig
    {1, 1, 0.95, 0.9, 0.85, 0.81, 0.78, 0.75, 0.72, 0.7},      // 240 psig
    {1, 1, 0.95, 0.9, 0.85, 0.81, 0.78, 0.75, 0.72, 0.7},      // 260 psig
    {1, 1, 0.96, 0.9, 0.85, 0.81, 0.78, 0.75, 0.72, 0.7},      // 280 psig
    {1, 1, 0.96, 0.9, 0.85, 0.81, 0.78, 0.75, 0.72, 0.7},      // 300 psig
    {1, 1, 0.96, 0.9, 0.86, 0.82, 0.78, 0.75, 0.72, 0.7},      // 350 psig
    {1, 1, 0.96, 0.91, 0.86, 0.82, 0.78, 0.75, 0.72, 0.7},     // 400 psig
    {1, 1, 0.96, 0.92, 0.86, 0.82, 0.78, 0.75, 0.73, 0.7},     // 500 psig
    {1, 1, 0.97, 0.92, 0.87, 0.82, 0.79, 0.75, 0.73, 0.7},     // 600 psig
    {1, 1, 1, 0.95, 0.88, 0.83, 0.79, 0.76, 0.73, 0.7},        // 800 psig
    {1, 1, 1, 0.96, 0.89, 0.84, 0.78, 0.76, 0.73, 0.71},       // 1000 psig
    {1, 1, 1, 0.97, 0.91, 0.85, 0.8, 0.77, 0.74, 0.71},        // 1250 psig
    {1, 1, 1, 1, 0.93, 0.86, 0.81, 0.77, 0.74, 0.71},          // 1500 psig
    {1, 1, 1, 1, 0.94, 0.86, 0.81, 0.77, 0.73, 0.7},           // 1750 psig
    {1, 1, 1, 1, 0.95, 0.86, 0.8, 0.76, 0.72, 0.69},           // 2000 psig
    {1, 1, 1, 1, 0.95, 0.85, 0.78, 0.73, 0.69, 0.66},          // 2500 psig
    {1, 1, 1, 1, 1, 0.82, 0.74, 0.69, 0.65, 0.62},             // 3000 psig
};

// Bracket (k, k + 1) of x in the ascending grid: an exact match with the
// last point gives the last interval; -1 when x is not in the grid (NaN).
int Bracket(const double* grid, int n, double x) {
    for (int k = 0; k < n; ++k) {
        if (x == grid[k]) return k < n - 1 ? k : n - 2;
        if (k < n - 1 && x > grid[k] && x < grid[k + 1]) return k;
    }
    return -1;
}

}  // namespace

double SuperheatCoefficient(double tempF, double pressPsig) {
    const double t = std::clamp(tempF, kTemps[0], kTemps[kNt - 1]);
    const double p = std::clamp(pressPsig, kPress[0], kPress[kNp - 1]);
    const int i = Bracket(kTemps, kNt, t);
    const int j = Bracket(kPress, kNp, p);
    if (i < 0 || j < 0) return kSuperheatNotFound;
    const double tl = kTemps[i], th = kTemps[i + 1];
    const double pl = kPress[j], ph = kPress[j + 1];
    const double d = (th - tl) * (ph - pl);
    return ((th - t) * (ph - p) * kKsh[j][i] + (th - t) * (p - pl) * kKsh[j + 1][i] +
            (t - tl) * (ph - p) * kKsh[j][i + 1] + (t - tl) * (p - pl) * kKsh[j + 1][i + 1]) /
           d;
}

}  // namespace vt
