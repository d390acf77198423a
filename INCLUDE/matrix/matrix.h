// matrix: dense row-major matrix of floating-point numbers (double or long double)
// with validated access by linear index or by row and column, deep copy, and
// element-wise and scalar arithmetic. Size and index errors are fatal.
#pragma once

#include <cstdio>  // snprintf

#include "pgminc/ProgramError.h"  // ProgramError

template <class T>
class matrix {
 public:
  matrix() : r(0), c(0), v(nullptr) {}
  matrix(long newRows, long newCols) : r(newRows), c(newCols), v(new T[newRows * newCols]()) {}
  matrix(const matrix& m) : r(m.r), c(m.c), v(new T[m.r * m.c]) {
    for (long i = 0; i < r * c; i++) v[i] = m.v[i];
  }
  ~matrix() { delete[] v; }

  long NRow() const { return r; }
  long NCol() const { return c; }
  long Length() const { return r * c; }

  // Shape newRows x newCols, every element set to value.
  void Resize(long newRows, long newCols, T value) {
    if (v == nullptr || newRows != r || newCols != c) {
      delete[] v;
      r = newRows;
      c = newCols;
      v = new T[r * c];
    }
    for (long i = 0; i < r * c; i++) v[i] = value;
  }

  matrix& operator=(const matrix& rhs) {
    if (&rhs == this) return *this;
    if (v == nullptr || rhs.r != r || rhs.c != c) {
      delete[] v;
      r = rhs.r;
      c = rhs.c;
      v = new T[r * c];
    }
    for (long i = 0; i < r * c; i++) v[i] = rhs.v[i];
    return *this;
  }

  // Access by linear index.
  T& operator()(long i) { return v[Index(i)]; }
  const T& operator()(long i) const { return v[Index(i)]; }

  // Access by row and column; the row is tested before the column.
  T& operator()(long i, long j) { return v[Index(i, j)]; }
  const T& operator()(long i, long j) const { return v[Index(i, j)]; }

  matrix& operator*=(T value) {
    for (long i = 0; i < r * c; i++) v[i] = value * v[i];
    return *this;
  }

  matrix& operator+=(const matrix& rhs) {
    if (r != rhs.r || c != rhs.c) {
      char msg[256];
      snprintf(msg, sizeof msg, "Matrix dimensions do not agree: [%ld,%ld] and [%ld,%ld]",
               r, c, rhs.r, rhs.c);
      ProgramError("Operator:   matrix::+=", msg, false);
    }
    for (long i = 0; i < r * c; i++) v[i] = rhs.v[i] + v[i];
    return *this;
  }

  template <class U>
  friend matrix<U> operator*(U value, const matrix<U>& m);
  template <class U>
  friend matrix<U> operator+(const matrix<U>& A, const matrix<U>& B);

 private:
  long r;  // rows
  long c;  // columns
  T* v;    // r * c elements, row-major

  void NotSet() const {
    if (c == 0 || r == 0)
      ProgramError("Operator:   matrix::()", "Matrix is not set: dim = (0,0)", false);
  }
  long Index(long i) const {
    NotSet();
    if (i < 0 || i >= r * c) {
      char msg[256];
      snprintf(msg, sizeof msg, "Matrix index not in range: i=%ld not in [0,%ld]", i, r * c - 1);
      ProgramError("Operator:   matrix::()", msg, false);
    }
    return i;
  }
  long Index(long i, long j) const {
    char msg[256];
    NotSet();
    if (i < 0 || i >= r) {
      snprintf(msg, sizeof msg, "Row index not in range: i=%ld not in [0,%ld]", i, r - 1);
      ProgramError("Operator:   matrix::()", msg, false);
    }
    if (j < 0 || j >= c) {
      snprintf(msg, sizeof msg, "Column index not in range: j=%ld not in [0,%ld]", j, c - 1);
      ProgramError("Operator:   matrix::()", msg, false);
    }
    return j + c * i;
  }
};

// value times every element of m.
template <class T>
matrix<T> operator*(T value, const matrix<T>& m) {
  if (m.r == 0 && m.c == 0)
    ProgramError("Operator:   matrix::*", "Matrix is not set: dim = (0,0)", false);
  matrix<T> res(m);
  for (long i = 0; i < res.r * res.c; i++) res.v[i] = value * res.v[i];
  return res;
}

// Element-wise sum of two matrices of one shape.
template <class T>
matrix<T> operator+(const matrix<T>& A, const matrix<T>& B) {
  if (A.r != B.r || A.c != B.c) {
    char msg[256];
    snprintf(msg, sizeof msg, "Matrix dimensions do not agree: [%ld,%ld] and [%ld,%ld]",
             A.r, A.c, B.r, B.c);
    ProgramError("Operator:   matrix::+", msg, false);
  }
  matrix<T> res(A);
  for (long i = 0; i < res.r * res.c; i++) res.v[i] = B.v[i] + A.v[i];
  return res;
}
