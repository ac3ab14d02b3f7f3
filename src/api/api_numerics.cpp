// Exports of the numerics family: the sparse linear solve. (The matrix
// classes export their members directly.)
#include "api/guard.h"
#include "numerics/sparse_solve.h"
#include "vantaro/vantaro.h"

using vt::api::FpExit;
using vt::api::Guarded;

extern "C" {

VANTARO_API int32_t SolveLinearEquations(int32_t nnz, int32_t n, const SparseEntry* entries,
                                         double* vectorA, double* vectorB, int32_t option) {
    if (n <= 0 || nnz < 0 || !vectorA || !vectorB || (nnz > 0 && !entries)) return 0;
    return Guarded(__func__, FpExit::Keep, int32_t{0}, [&] {
        return vt::SolveLinearEquations(nnz, n, entries, vectorA, vectorB, option);
    });
}

}  // extern "C"
