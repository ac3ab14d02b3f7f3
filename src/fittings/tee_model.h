// Tee charts as the engine stores them: a contour-level table per chart and a
// small tanh network that maps (q, a) to a fractional position in that table.
// This file has no other engine dependency; the fitting tool compiles it too.
#pragma once
#include <cstdint>

namespace vt {

// Contour levels of one chart (ascending) and the range of K it covers.
struct KLevels {
    int32_t n;
    const double* levels;
    double lo, hi;
};

// One hidden layer: h_k = tanh(c_k + sum_m w[k*5+m] * f_m), y = b + sum_k v_k h_k,
// over the features f = (q, a, q^2, a^2, a*q).
struct TeeNetwork {
    int32_t hidden;
    const double* c;
    const double* w;
    const double* v;
    double b;
};

// Charts by letter: index 0 = A ... 21 = V. N (index 13) has no level table.
constexpr int kTeeChartCount = 22;
constexpr int TeeChartIndex(char letter) { return letter - 'A'; }

// The level table of chart `index`, or nullptr (N, or out of range).
const KLevels* TeeLevels(int index);
// Hidden units of chart `index` (what the fitting tool builds).
int32_t TeeHiddenUnits(int index);

// K at fractional position x of the level list: linear between neighbouring
// levels, lo below position 0 (and for NaN), hi from position n-1 on, and
// confined to [lo, hi].
double LevelLookup(const KLevels& t, double x);

// The inverse on [levels[0], levels[n-1]]: the position of K in the list,
// extended linearly by the end intervals beyond it.
double LevelPosition(const KLevels& t, double k);

// Network output for flow ratio q and area ratio a.
double EvalTeeNetwork(const TeeNetwork& net, double q, double a);

}  // namespace vt
