// TNX matrix classes (C++ only): a column-major dense matrix that owns or
// views its elements, strided row and column views, a polymorphic "lazy"
// matrix, the dense result matrix RMatrix and the sparse matrix with its
// direct solver. The engine exports every member declared here.
//
// Indices are 0-based throughout. Element (i, j) of a Matrix is element
// i + Height() * j of its array.
#pragma once

#include <cstdint>

#include "vantaro/tnx/dyn_include/array"

namespace TNX {

// Shape of a matrix: rows and columns (fits one 64-bit register).
struct mSize {
    int height;
    int width;
};

// A strided view of a matrix row or column: element k is at k * stride of
// the viewed storage. Writes go through to the matrix. Copies of a view are
// views of the same storage; the view must not outlive its matrix.
template <class T>
class Vector {
public:
    Vector(T* start, int size, int length, int stride) noexcept
        : d(start, size), length(length), stride(stride) {}
    Vector(const Vector& v) noexcept : d(v.d.data, v.d.size), length(v.length), stride(v.stride) {}
    Vector& operator=(const Vector&) = delete;

    T& operator()(int k) noexcept { return d(k * stride); }
    T& operator[](int k) noexcept { return d(k * stride); }
    int Length() const noexcept { return length; }
    int Stride() const noexcept { return stride; }
    // Sets every element of the view.
    Vector& operator=(const T& v) noexcept {
        for (int k = 0; k < length; ++k) d(k * stride) = v;
        return *this;
    }

private:
    dynarray<T> d;  // view (ownData false) from the first element to the end of the matrix
    int length;
    int stride;
};

template <class T>
class Matrix;

// Row proxy of m[i]: m[i][j] is m(i, j).
template <class T>
struct Matrix_Row {
    Matrix<T>& m;
    int i;
    T& operator[](int j) noexcept { return m(i, j); }
};

template <class T>
class Matrix {
public:
    // 1 x 1, owning.
    Matrix() : Matrix(1, 1) {}
    // rows x cols owned elements (contents unspecified). Throws
    // std::bad_array_new_length for a negative or too large shape.
    Matrix(int rows, int cols) : d(Count(rows, cols)), height(rows), width(cols) {}
    // Views the caller's rows * cols elements at `data` (not owned, not freed).
    Matrix(int rows, int cols, T* data) : d(data, Count(rows, cols)), height(rows), width(cols) {}
    // A copy of the array's elements, shaped rows x cols: missing elements
    // are zero, surplus ones are dropped.
    Matrix(int rows, int cols, const dynarray<T>& a) : d(a), height(rows), width(cols) {
        const int n = Count(rows, cols);
        if (d.size != n) d.Resize(n);
    }
    explicit Matrix(mSize s) : Matrix(s.height, s.width) {}
    // Deep copy of elements and shape.
    Matrix(const Matrix& m) : d(m.d), height(m.height), width(m.width) {}
    ~Matrix() = default;

    // Element copy, then the shape. When the element counts differ the
    // target must own its elements (assertion "ownData"); they are
    // reallocated.
    Matrix& operator=(const Matrix& m) {
        d = m.d;
        height = m.height;
        width = m.width;
        return *this;
    }
    // Sets every element.
    Matrix& operator=(const T& v) noexcept {
        d = v;
        return *this;
    }

    T& operator()(int i) noexcept { return d(i); }
    T& operator()(int i, int j) noexcept { return d(i + height * j); }
    T operator()(int i, int j) const noexcept { return d(i + height * j); }
    Matrix_Row<T> operator[](int i) noexcept { return Matrix_Row<T>{*this, i}; }

    // Element-wise; the element counts must be equal ("size == d.size"),
    // otherwise the target is left unchanged.
    Matrix& operator+=(const Matrix& m) noexcept {
        d += m.d;
        return *this;
    }
    Matrix& operator-=(const Matrix& m) noexcept {
        d -= m.d;
        return *this;
    }

    T* Array() noexcept { return d.data; }
    dynarray<T>& Data() noexcept { return d; }
    int Height() const noexcept { return height; }
    int Width() const noexcept { return width; }
    mSize Size() const noexcept { return mSize{height, width}; }

    // Column j: Height() elements, stride 1.
    Vector<T> Column(int j) noexcept { return Vector<T>(d.data + height * j, height, height, 1); }
    // Row i: Width() elements, stride Height(). The view reaches from
    // element (i, 0) to the end of the matrix.
    Vector<T> Row(int i) noexcept {
        return Vector<T>(d.data + i, height * width - i, width, height);
    }

protected:
    static int Count(int rows, int cols) {
        if (rows < 0 || cols < 0 || (cols > 0 && rows > INT32_MAX / cols))
            throw std::bad_array_new_length();
        return rows * cols;
    }

    dynarray<T> d;
    int height;
    int width;
};

extern template class VANTARO_API Vector<double>;
extern template struct VANTARO_API Matrix_Row<double>;
extern template class VANTARO_API Matrix<double>;

// Dense result of a solver or of evaluating a lazyMatrix: the elements with
// an ok flag and an info code (0 unless set).
class VANTARO_API RMatrix : public Matrix<double> {
public:
    RMatrix();  // 1 x 1
    RMatrix(int rows, int cols);
    RMatrix(const RMatrix& r);
    virtual ~RMatrix();
    // Copies elements, shape, ok flag and info code.
    RMatrix& operator=(const RMatrix& r);

    // Stores v at (i, j). An index outside the matrix stores nothing and
    // clears the ok flag.
    virtual void SetValue(int i, int j, double v);

    int getInfo() const;
    void setInfo(int info);
    bool isOK() const;
    void setOK();
    void setBad();

private:
    bool ok;
    int info;
};

// A matrix known by its shape whose elements are produced on demand by
// KickAss. The base class has no elements: it evaluates to zeros.
class VANTARO_API lazyMatrix {
public:
    lazyMatrix(int rows, int cols);
    lazyMatrix(const lazyMatrix& m);
    lazyMatrix(lazyMatrix&& m) noexcept;
    lazyMatrix& operator=(const lazyMatrix& m);
    virtual ~lazyMatrix();

    // Evaluates into `result`, which is reshaped to rows x cols; the ok flag
    // tells whether the evaluation succeeded.
    virtual void KickAss(RMatrix& result) const;

protected:
    int rows;
    int cols;
};

// Sparse matrix stored as a list of (row, column, value) entries, with a
// direct solver (sparse LU with partial pivoting). Members are defined in
// the library (not inline).
//
// Contract:
//  - Indices are 0-based: 0 <= row < Nr(), 0 <= column < Nc().
//  - Entries accumulate: a repeated (row, column) adds its value to the
//    earlier ones (the sum is the matrix element).
//  - SetAt rejects an entry outside the matrix or a non-finite value: it
//    stores nothing, returns false and marks the matrix invalid; every later
//    Solve then fails. A negative shape or entry count also makes the
//    matrix invalid.
//  - Solve(rhs, x, transpose) solves A x = rhs (transpose false) or
//    A^T x = rhs (transpose true) for a square A of order n = Nr() = Nc().
//    The first vector is the right-hand side and is only read; the second
//    receives the solution. Both must hold at least n elements (only the
//    first n are used) and may be the same array (solution in place).
//  - Solve returns false, leaving x untouched, when the matrix is invalid
//    or not square, n <= 0, a vector is shorter than n or null, the
//    right-hand side is not finite, the matrix is structurally singular
//    (an empty row or column, or no full matching of rows to columns) or
//    numerically singular: a pivot of the row- and column-equilibrated
//    matrix is zero or below n * machine epsilon times the largest pivot,
//    or an element or the solution overflows. Elements whose entries cancel
//    to zero count as absent.
//  - Every Solve factorises afresh (nothing is cached); the entries stay.
//  - Rows and columns are equilibrated by powers of two before the
//    factorisation (exact), which makes the singularity test independent of
//    the scaling of the equations and of the unknowns.
class VANTARO_API sparseMatrix : public lazyMatrix {
public:
    // Room for nnz entries (more grow the storage) of a rows x cols matrix.
    sparseMatrix(int nnz, int rows, int cols);
    sparseMatrix(const sparseMatrix& m);
    sparseMatrix& operator=(const sparseMatrix& m);
    ~sparseMatrix() override;

    // Adds value at (row, column); false when rejected (see above).
    bool SetAt(int row, int column, double value);
    // SetAt without the result.
    virtual void SetValue(int row, int column, double value);

    // Factorises and solves (see above); true on success.
    bool Solve(dynarray<double>& rhs, dynarray<double>& x, bool transpose);

    // The dense matrix of the entries; not ok when the matrix is invalid.
    void KickAss(RMatrix& result) const override;

    // The entries: values, row and column indices of the first Nz() slots.
    dynarray<double>& Data();
    dynarray<int>& Irn();
    dynarray<int>& Jcn();
    // The column permutation of the last successful Solve: Ip()(j) is the
    // position at which column j of the factorised matrix (A, or A^T in a
    // transposed solve) was eliminated. Empty before the first solve.
    dynarray<int>& Ip();
    int Nr() const;
    int Nc() const;
    int& Nz();

    // Fill-reducing column ordering of the factorisation: 0 none (the
    // natural order), any other value column approximate minimum degree
    // (the default, 1).
    void SetFillIn(int fillIn);
    // A file to which every Solve appends one line of statistics; null (the
    // default) logs nothing. The string is not copied and must outlive the
    // matrix.
    void SetLogging(char* target);

    // Statistics of the last Solve: non-zeros of the L and U factors, and
    // the normwise backward error |rhs - A x| / (|A| |x| + |rhs|) in the
    // infinity norm (-1 before a successful solve).
    long long FactorNonZeros() const;
    double BackwardError() const;
    // False once an entry or the shape was rejected.
    bool IsValid() const;

private:
    bool EntriesValid() const;

    dynarray<int> jcn;
    int nz;
    int capacity;
    dynarray<double> values;
    dynarray<int> irn;
    dynarray<int> ip;
    bool invalid;
    int fillIn;
    long long factorNz;
    double backwardError;
    char* logging;
};

}  // namespace TNX
