// myList: the array container of the whole system, a dense r x c table held in
// one exactly sized heap array, row-major, with validated element access.
// One-dimensional lists are n x 1 (or 1 x n); PushBack and Remove change them by
// one element; out-of-range access is fatal, impossible changes warn.
#pragma once

#include <cstdio>    // snprintf
#include <ostream>   // operator<<

#include "pgminc/ProgramError.h"  // ProgramError, ProgramWarning

// Print settings of the stream output of a list.
namespace iomlns {
enum { ORIGINAL = 0, RAW = 1, EMPTY = 2 };
inline short PrintType = ORIGINAL;  // layout of operator<<
inline int ndec = 4;                // decimals set on the stream (ORIGINAL)
inline int width = 10;              // field width of each element (ORIGINAL)
inline char title[256] = "";        // title of the ORIGINAL header line
}  // namespace iomlns

template <class T>
class myList {
 public:
  myList() : r(0), c(0), v(nullptr) {}
  myList(const myList& rhs) : r(0), c(0), v(nullptr) { *this = rhs; }
  ~myList() { delete[] v; }

  long Length() const { return r * c; }
  long NRow() const { return r; }
  long NCol() const { return c; }

  // Shape newRows x 1; the contents stay only when the shape is unchanged.
  void Resize(long newRows) { Resize(newRows, 1); }

  // Shape newRows x newCols; the contents stay only when the shape is unchanged.
  void Resize(long newRows, long newCols) {
    if (v != nullptr && newRows == r && newCols == c) return;
    delete[] v;
    r = newRows;
    c = newCols;
    v = Alloc(r * c);
  }

  // Shape newRows x newCols with every element set to value.
  void Resize(long newRows, long newCols, const T& value) {
    Resize(newRows, newCols);
    for (long i = 0; i < r * c; i++) v[i] = value;
  }

  // Validated access by linear index.
  T& operator()(long i) { return v[Index(i)]; }
  const T& operator()(long i) const { return v[Index(i)]; }

  // Deep copy; element assignment is the element type's own.
  myList& operator=(const myList& rhs) {
    if (&rhs == this) return *this;
    if (rhs.r != r || rhs.c != c || v == nullptr) {
      delete[] v;
      r = rhs.r;
      c = rhs.c;
      v = Alloc(r * c);
    }
    for (long i = 0; i < r * c; i++) v[i] = rhs.v[i];
    return *this;
  }

  bool Find(const T& val) const { return IndexFirst(val) >= 0; }

  // Index of the first element equal to val, or -1.
  long IndexFirst(const T& val) const {
    for (long i = 0; i < r * c; i++)
      if (v[i] == val) return i;
    return -1;
  }

  // Appends val to a one-dimensional list.
  void PushBack(T val) {
    if (c >= 2 && r >= 2) {
      ProgramWarning("Function:   myList::PushBack(IT)",
                     "PushBack function works for 1-D lists!");
      return;
    }
    long n = r * c;
    T* nv = new T[n + 1]();
    for (long i = 0; i < n; i++) nv[i] = v[i];
    nv[n] = val;
    delete[] v;
    v = nv;
    if (r == 0 && c == 0) {
      r = 1;
      c = 1;
    } else if (c == 1) {
      r++;
    } else if (r == 1) {
      c++;
    } else {
      r = 1;  // 1 x 0 list
      c = 1;
    }
  }

  // Removes the element of index ix from a one-dimensional list.
  void Remove(long ix) {
    char msg[256];
    if (c > 1 && r > 1) {
      ProgramWarning("Function:   myList::Remove(long)",
                     "Remove function works for 1-D lists!");
      return;
    }
    if (ix < 0) {
      snprintf(msg, sizeof msg,
               "Index of to-be-removed item must not be negative: i=%ld", ix);
      ProgramWarning("Function:   myList::Remove(long)", msg);
      return;
    }
    long n = r * c;
    if (ix >= n) {
      snprintf(msg, sizeof msg,
               "Index of to-be-removed item not in range: i=%ld not in [0,%ld]",
               ix, n - 1);
      ProgramWarning("Function:   myList::Remove(long)", msg);
      return;
    }
    T* nv = Alloc(n - 1);
    for (long i = 0, k = 0; i < n; i++)
      if (i != ix) nv[k++] = v[i];
    delete[] v;
    v = nv;
    if (c == 1)
      r--;
    else
      c--;
    if (r == 0 || c == 0) {
      r = 0;
      c = 0;
    }
  }

  template <class U>
  friend std::ostream& operator<<(std::ostream& os, const myList<U>& M);

 private:
  long r;  // rows
  long c;  // columns
  T* v;    // r * c elements, row-major

  // A fresh array of n default elements; no array at all for n = 0, since a
  // zero-length array is an allocation that nothing can address.
  static T* Alloc(long n) { return n > 0 ? new T[n]() : nullptr; }

  long Index(long i) const {
    char msg[256];
    if (c == 0 || r == 0)
      ProgramError("Operator:   myList::()", "List is not set: dim = (0,0)", false);
    if (i < 0 || i >= r * c) {
      snprintf(msg, sizeof msg, "List index not in range: i=%ld not in [0,%ld]",
               i, r * c - 1);
      ProgramError("Operator:   myList::()", msg, false);
    }
    return i;
  }
};

// Prints the list in the layout of iomlns::PrintType.
template <class T>
std::ostream& operator<<(std::ostream& os, const myList<T>& M) {
  switch (iomlns::PrintType) {
    case iomlns::ORIGINAL:
      os << std::endl;
      os << "LIST: [ " << M.r << " , " << M.c << " ]-> " << iomlns::title << std::endl;
      os.setf(std::ios::fixed);
      os.precision(iomlns::ndec);
      if (M.r + M.c != 0) {
        for (long i = 0; i < M.r; i++) {
          for (long j = 0; j < M.c; j++) {
            os.width(iomlns::width);
            os << M.v[j + M.c * i];
          }
          os << std::endl;
        }
      } else {
        os << std::endl << "\t... UNDEFINED ..." << std::endl;
      }
      break;
    case iomlns::RAW: {
      os.width(3);
      os << M.r * M.c << " > ";
      long n = M.r * M.c;
      if (n > 0) {
        for (long i = 0; i < n - 1; i++) os << M.v[i] << " ";
        os << M.v[n - 1];
      } else {
        os << std::endl << "\t... UNDEFINED ...";
      }
      break;
    }
    case iomlns::EMPTY:
      if (M.r + M.c != 0) {
        for (long i = 0; i < M.r * M.c; i++) os << M.v[i];
      } else {
        os << std::endl << "\t... UNDEFINED ...";
      }
      break;
    default:
      break;
  }
  return os;
}
