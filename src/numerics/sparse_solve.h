// The sparse linear solve behind the SolveLinearEquations export.
#pragma once
#include <cstdint>

#include "vantaro/vantaro.h"

namespace vt {

// Builds the n x n sparse matrix of the nnz entries, solves with the first
// vector as right-hand side and the second receiving the solution
// (option 1: with the transposed matrix). 1 on success, 0 otherwise.
// Pointers are valid for nnz entries and n doubles (the export checks).
int32_t SolveLinearEquations(int32_t nnz, int32_t n, const SparseEntry* entries, double* vectorA,
                             double* vectorB, int32_t option);

}  // namespace vt
