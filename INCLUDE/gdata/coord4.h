// What the four-component coordinate types xyz, neu and flh share: the
// component-wise arithmetic and comparison of their four components (three
// coordinates and t), and their text output and input, three coordinates in
// right-aligned fixed-point fields and then t, under the unit factors of each
// type's print-setting namespace (xyzns, neuns, flhns). No separator and no end
// of line is written; the caller ends the line.
#pragma once

#include <cmath>    // fabs (long double overload)
#include <iomanip>  // setw, setprecision
#include <istream>  // istream
#include <ostream>  // ostream

namespace coord4 {

// Tolerance of the equality of two values: the double value of 1e-14, compared in
// long double.
inline constexpr long double EQUAL_TOL = 1e-14;

// Component-wise operations on a type V that lists its four components, in
// order, in a private static V::Components() and names Ops a friend.
struct Ops {
  // a += b, a -= b on every component, t included.
  template <class V>
  static V& Add(V& a, const V& b) {
    for (auto m : V::Components()) a.*m += b.*m;
    return a;
  }
  template <class V>
  static V& Sub(V& a, const V& b) {
    for (auto m : V::Components()) a.*m -= b.*m;
    return a;
  }
  // a *= k, a /= k on every component, t included.
  template <class V>
  static V& Mul(V& a, long double k) {
    for (auto m : V::Components()) a.*m *= k;
    return a;
  }
  template <class V>
  static V& Div(V& a, long double k) {
    for (auto m : V::Components()) a.*m /= k;
    return a;
  }
  // The same object, or every component (t included) closer than EQUAL_TOL; a
  // NaN component is close to nothing.
  template <class V>
  static bool Equal(const V& a, const V& b) {
    if (&a == &b) return true;
    for (auto m : V::Components())
      if (!(std::fabs(a.*m - b.*m) < EQUAL_TOL)) return false;
    return true;
  }
};

// p1 + p2 and p1 - p2, built as a zero value that is assigned p1 and then
// combined with p2 (a type that tests its assignments tests both steps).
template <class V>
V Sum(const V& p1, const V& p2) {
  V r;
  r = p1;
  r += p2;
  return r;
}
template <class V>
V Difference(const V& p1, const V& p2) {
  V r;
  r = p1;
  r -= p2;
  return r;
}
// p with every component, t included, multiplied by a.
template <class V>
V Scaled(const V& p, long double a) {
  V r(p);
  Ops::Mul(r, a);
  return r;
}

// Unit rule of the coordinates: the factors 100 and 1000 multiply on output
// (metres print as centimetres or millimetres), any other factor divides; input
// applies the inverse.
inline long double ScaleOut(long double v, long double unit) {
  return (unit == 100 || unit == 1000) ? v * unit : v / unit;
}
inline long double ScaleIn(long double v, long double unit) {
  return (unit == 100 || unit == 1000) ? v / unit : v * unit;
}

// One value in a field of width w with d decimals.
inline void WriteField(std::ostream& os, long double v, int w, int d) {
  os << std::setprecision(d) << std::setw(w) << v;
}

// Three coordinates: a and b in width w12 with d12 decimals, c in width w3 with
// d3 decimals. Switches the stream to fixed notation, which stays set.
inline void WriteCoords(std::ostream& os, long double a, long double b, long double c, int w12,
                        int d12, int w3, int d3) {
  os << std::fixed;
  WriteField(os, a, w12, d12);
  WriteField(os, b, w12, d12);
  WriteField(os, c, w3, d3);
}

// With print, the fourth component t times factor in width w with d decimals.
inline void WriteT(std::ostream& os, bool print, long double t, long double factor, int w, int d) {
  if (print) WriteField(os, t * factor, w, d);
}

// Three white-space separated coordinates given in the unit of unit. A failed
// read leaves the stream failed; the scaling is applied all the same.
inline void ReadCoords(std::istream& is, long double& a, long double& b, long double& c,
                       long double unit) {
  is >> a >> b >> c;
  a = ScaleIn(a, unit);
  b = ScaleIn(b, unit);
  c = ScaleIn(c, unit);
}

// t = 0, or, with read, a further number divided by factor.
inline void ReadT(std::istream& is, bool read, long double& t, long double factor) {
  t = 0;
  if (read) {
    is >> t;
    t /= factor;
  }
}

}  // namespace coord4
