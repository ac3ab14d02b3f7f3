// Horizontal gas-liquid flow regime on the Mandhane map, from a small fitted
// network over the logarithms of the superficial velocities.
#pragma once
#include <cstdint>

namespace vt {

// Regime indices of the six scores.
enum MandhaneRegime : int {
    kDispersedBubble = 0,
    kElongatedBubble = 1,
    kSlug = 2,
    kStratified = 3,
    kWave = 4,
    kAnnular = 5,
};

// Scores (summing to 1) of the six regimes at superficial gas and liquid
// velocities vsg, vsl in ft/s (both positive). Returns 0.
int32_t Mandhane(double vsg, double vsl, double scores[6]);

}  // namespace vt
