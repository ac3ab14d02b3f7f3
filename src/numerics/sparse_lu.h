// Direct solution of a sparse square system by LU factorisation with partial
// pivoting, behind the sparse matrix class of the TNX layer.
#pragma once

namespace vt {

// Fill-reducing column orderings of the factorisation.
enum class LuOrdering { Natural = 0, ColumnAmd = 1 };

struct LuStats {
    long long factorNz = 0;       // non-zeros of L and U
    double backwardError = -1.0;  // |b - A x| / (|A| |x| + |b|), infinity norm
};

// Solves A x = b (transpose false) or A^T x = b for the n x n matrix whose
// elements are the sums of the nz entries (rows[k], cols[k], vals[k]),
// 0-based, all within the matrix and finite (the caller checks). x is
// written only on success and may alias b; colPerm (n ints, may be null)
// then receives the position at which each column was factorised.
// Fails when the matrix is structurally or numerically singular (see the
// sparse matrix class), an element overflows when its entries are summed,
// or the solution is not finite.
bool SparseLuSolve(int n, int nz, const int* rows, const int* cols, const double* vals,
                   const double* b, double* x, bool transpose, LuOrdering ordering,
                   int* colPerm, LuStats& stats);

}  // namespace vt
