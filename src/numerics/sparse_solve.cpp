#include "numerics/sparse_solve.h"

#include "vantaro/tnx/matrix.h"

namespace vt {

int32_t SolveLinearEquations(int32_t nnz, int32_t n, const SparseEntry* entries, double* vectorA,
                             double* vectorB, int32_t option) {
    TNX::sparseMatrix matrix(nnz, n, n);
    for (int32_t k = 0; k < nnz; ++k) matrix.SetAt(entries[k].row, entries[k].column, entries[k].value);
    TNX::dynarray<double> viewA(vectorA, n);
    TNX::dynarray<double> viewB(vectorB, n);
    return matrix.Solve(viewA, viewB, option == 1) ? 1 : 0;
}

}  // namespace vt
