// Binary interaction parameters for the host to fill the kij matrices with.
#pragma once
#include <cstdint>

namespace vt {

// Estimate for components i and j of the open table; see the rules in kij.cpp.
int32_t EstimateKij(int32_t method, int32_t i, int32_t j, double* kij);

// Built-in value for a pair given by codes only (no workspace needed).
void GetKijHardWired(int32_t method, int32_t code1, int32_t family1, int32_t code2,
                     int32_t family2, double* kij);

}  // namespace vt
