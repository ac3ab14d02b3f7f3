#include "hydraulics/mandhane.h"

#include <algorithm>
#include <cmath>

namespace vt {

namespace {

// Hidden layer: h_k = tanh(a_k X + b_k Y + c_k), X, Y = log10 of the gas and
// liquid superficial velocities (ft/s).
constexpr double kHidden[4][3] = {
    {0.603674397, -2.14757099, -0.392775855},
    {1.22406846, 0.00100576538, -2.26744736},
    {-1.43016763, -344.078231, 396.410452},
    {1.44671754, 2.3194598, -0.237717611},
};

// Output layer: o_j = bias_j + sum_k w_jk h_k.
constexpr double kOutput[6][5] = {
    {-31.0454958, -8.67055079, -74.9579277, -304.146074, 18.4728635},
    {-205.440909, -173.833222, -416.121809, 6.15268853, -13.8543679},
    {122.077849, -42.3109532, 181.405374, 187.608902, 172.169357},
    {-231.973557, 107.394009, -425.567103, -246.082818, -329.748475},
    {168.590085, 70.4585869, 329.791435, 166.806205, 69.2229234},
    {177.646283, 47.131916, 405.182739, 190.3026, 84.3327937},
};

}  // namespace

// Network fitted to the map of Mandhane, Gregory & Aziz (1974), Int. J.
// Multiphase Flow 1, 537; softmax over the six outputs.
int32_t Mandhane(double vsg, double vsl, double scores[6]) {
    const double x = std::log10(vsg);
    const double y = std::log10(vsl);
    double h[4];
    for (int k = 0; k < 4; ++k)
        h[k] = std::tanh(kHidden[k][0] * x + kHidden[k][1] * y + kHidden[k][2]);
    double o[6];
    double m = -HUGE_VAL;
    for (int j = 0; j < 6; ++j) {
        o[j] = kOutput[j][0];
        for (int k = 0; k < 4; ++k) o[j] += kOutput[j][k + 1] * h[k];
        m = std::max(m, o[j]);
    }
    // Keep the largest exponent at most exp(700) so that nothing overflows,
    // and lift very negative outputs so that the sum cannot underflow to 0.
    const double shift = m > 700.0 ? m - 700.0 : (m < -700.0 ? m : 0.0);
    if (shift != 0.0)
        for (double& oj : o) oj -= shift;
    double sum = 0.0;
    for (int j = 0; j < 6; ++j) {
        o[j] = std::exp(o[j]);
        sum += o[j];
    }
    for (int j = 0; j < 6; ++j) scores[j] = o[j] / sum;
    return 0;
}

}  // namespace vt
