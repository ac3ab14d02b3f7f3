// The TNX layer: allocator, the exported instantiations of the array and
// matrix templates, and the members of the result, lazy and sparse matrices.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "numerics/sparse_lu.h"
#include "platform/alloc.h"
#include "vantaro/tnx/matrix.h"

namespace TNX {

void* TNXmalloc(std::size_t bytes) { return vt::platform::Allocate(bytes, 1); }

void TNXfree(void* p, std::size_t) { vt::platform::Release(p); }

template class dynarray<double>;
template class dynarray<int>;
template class Vector<double>;
template struct Matrix_Row<double>;
template class Matrix<double>;

// ---- RMatrix ------------------------------------------------------------------

RMatrix::RMatrix() : RMatrix(1, 1) {}

RMatrix::RMatrix(int rows, int cols) : Matrix<double>(rows, cols), ok(true), info(0) {}

RMatrix::RMatrix(const RMatrix& r) : Matrix<double>(r), ok(r.ok), info(r.info) {}

RMatrix::~RMatrix() = default;

RMatrix& RMatrix::operator=(const RMatrix& r) {
    Matrix<double>::operator=(r);
    ok = r.ok;
    info = r.info;
    return *this;
}

void RMatrix::SetValue(int i, int j, double v) {
    if (i < 0 || i >= height || j < 0 || j >= width) {
        ok = false;
        return;
    }
    d(i + height * j) = v;
}

int RMatrix::getInfo() const { return info; }
void RMatrix::setInfo(int code) { info = code; }
bool RMatrix::isOK() const { return ok; }
void RMatrix::setOK() { ok = true; }
void RMatrix::setBad() { ok = false; }

// ---- lazyMatrix -----------------------------------------------------------------

lazyMatrix::lazyMatrix(int rows, int cols) : rows(rows), cols(cols) {}
lazyMatrix::lazyMatrix(const lazyMatrix& m) : rows(m.rows), cols(m.cols) {}
lazyMatrix::lazyMatrix(lazyMatrix&& m) noexcept : rows(m.rows), cols(m.cols) {}
lazyMatrix& lazyMatrix::operator=(const lazyMatrix& m) {
    rows = m.rows;
    cols = m.cols;
    return *this;
}
lazyMatrix::~lazyMatrix() = default;

void lazyMatrix::KickAss(RMatrix& result) const {
    if (rows < 0 || cols < 0) {
        result.setBad();
        return;
    }
    result = RMatrix(rows, cols);
    result.Data() = 0.0;
}

// ---- sparseMatrix ---------------------------------------------------------------

namespace {
int Capacity(int nnz) { return nnz > 0 ? nnz : 0; }
}  // namespace

sparseMatrix::sparseMatrix(int nnz, int rows, int cols)
    : lazyMatrix(rows, cols),
      jcn(Capacity(nnz)),
      nz(0),
      capacity(Capacity(nnz)),
      values(Capacity(nnz)),
      irn(Capacity(nnz)),
      ip(),
      invalid(nnz < 0 || rows < 0 || cols < 0),
      fillIn(static_cast<int>(vt::LuOrdering::ColumnAmd)),
      factorNz(0),
      backwardError(-1.0),
      logging(nullptr) {}

sparseMatrix::sparseMatrix(const sparseMatrix& m)
    : lazyMatrix(m),
      jcn(m.jcn),
      nz(m.nz),
      capacity(m.capacity),
      values(m.values),
      irn(m.irn),
      ip(m.ip),
      invalid(m.invalid),
      fillIn(m.fillIn),
      factorNz(m.factorNz),
      backwardError(m.backwardError),
      logging(m.logging) {}

sparseMatrix& sparseMatrix::operator=(const sparseMatrix& m) {
    if (this == &m) return *this;
    // Copies rather than element assignment: the arrays differ in size as a
    // rule, and the accessors may have put views in them.
    sparseMatrix copy(m);
    rows = m.rows;
    cols = m.cols;
    jcn.Swap(copy.jcn);
    values.Swap(copy.values);
    irn.Swap(copy.irn);
    ip.Swap(copy.ip);
    nz = m.nz;
    capacity = m.capacity;
    invalid = m.invalid;
    fillIn = m.fillIn;
    factorNz = m.factorNz;
    backwardError = m.backwardError;
    logging = m.logging;
    return *this;
}

sparseMatrix::~sparseMatrix() = default;

bool sparseMatrix::SetAt(int row, int column, double value) {
    if (row < 0 || row >= rows || column < 0 || column >= cols || !std::isfinite(value) ||
        nz < 0) {
        invalid = true;
        return false;
    }
    if (nz >= capacity || nz >= jcn.size || nz >= irn.size || nz >= values.size) {
        if (nz == INT32_MAX) {
            invalid = true;
            return false;
        }
        const int grown = nz < 4 ? 8 : (nz > INT32_MAX / 2 ? INT32_MAX : 2 * nz);
        jcn.Resize(grown);
        irn.Resize(grown);
        values.Resize(grown);
        capacity = grown;
    }
    irn(nz) = row;
    jcn(nz) = column;
    values(nz) = value;
    ++nz;
    return true;
}

void sparseMatrix::SetValue(int row, int column, double value) { SetAt(row, column, value); }

// The stored entries are checked again before use: the accessors hand out
// the arrays and the count by reference.
bool sparseMatrix::EntriesValid() const {
    if (invalid || nz < 0 || nz > jcn.size || nz > irn.size || nz > values.size) return false;
    for (int k = 0; k < nz; ++k) {
        if (irn.data[k] < 0 || irn.data[k] >= rows || jcn.data[k] < 0 || jcn.data[k] >= cols ||
            !std::isfinite(values.data[k]))
            return false;
    }
    return true;
}

bool sparseMatrix::Solve(dynarray<double>& rhs, dynarray<double>& x, bool transpose) {
    factorNz = 0;
    backwardError = -1.0;
    const int n = rows;
    // Fewer entries than columns leave a column empty: singular before any
    // vector is read.
    bool ok = n > 0 && rows == cols && nz >= n && rhs.data && x.data && rhs.size >= n &&
              x.size >= n && EntriesValid();
    for (int i = 0; ok && i < n; ++i) ok = std::isfinite(rhs.data[i]);
    if (ok) {
        dynarray<int> perm(n);
        vt::LuStats stats;
        ok = vt::SparseLuSolve(n, nz, irn.data, jcn.data, values.data, rhs.data, x.data,
                               transpose, static_cast<vt::LuOrdering>(fillIn), perm.data, stats);
        if (ok) {
            ip.Swap(perm);
            factorNz = stats.factorNz;
            backwardError = stats.backwardError;
        }
    }
    if (logging) {
        if (std::FILE* f = std::fopen(logging, "a")) {
            std::fprintf(f, "sparse solve: order %d, entries %d, transpose %d, %s, factor non-zeros %lld, backward error %.3e\n",
                         n, nz, transpose ? 1 : 0, ok ? "solved" : "failed", factorNz, backwardError);
            std::fclose(f);
        }
    }
    return ok;
}

void sparseMatrix::KickAss(RMatrix& result) const {
    if (!EntriesValid()) {
        result.setBad();
        return;
    }
    result = RMatrix(rows, cols);
    result.Data() = 0.0;
    for (int k = 0; k < nz; ++k) result(irn.data[k], jcn.data[k]) += values.data[k];
}

dynarray<double>& sparseMatrix::Data() { return values; }
dynarray<int>& sparseMatrix::Irn() { return irn; }
dynarray<int>& sparseMatrix::Jcn() { return jcn; }
dynarray<int>& sparseMatrix::Ip() { return ip; }
int sparseMatrix::Nr() const { return rows; }
int sparseMatrix::Nc() const { return cols; }
int& sparseMatrix::Nz() { return nz; }

void sparseMatrix::SetFillIn(int setting) {
    fillIn = static_cast<int>(setting == 0 ? vt::LuOrdering::Natural : vt::LuOrdering::ColumnAmd);
}

void sparseMatrix::SetLogging(char* target) { logging = target; }

long long sparseMatrix::FactorNonZeros() const { return factorNz; }
double sparseMatrix::BackwardError() const { return backwardError; }
bool sparseMatrix::IsValid() const { return !invalid; }

}  // namespace TNX
