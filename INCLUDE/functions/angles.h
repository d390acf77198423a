// Angle conversions (radians, degrees, gon, packed sexagesimal DD.MMSSsss), the
// radius of curvature in the prime vertical, and the Lagrange interpolation
// polynomial. Every radian/degree conversion uses pi of numfun.h.
#pragma once

#include <cmath>   // floor, fabs, sin, sqrt
#include <cstdio>  // snprintf
#include <string>  // std::string

#include "functions/numfun.h"  // pi
#include "matrix/matrix.h"     // matrix

// Radians to degrees: 180 * num / pi.
template <class T>
inline T rad2deg(T num) {
  return 180 * num / pi;
}

// Degrees to radians: pi * num / 180.
template <class T>
inline T deg2rad(T num) {
  return pi * num / 180;
}

// Degrees to gon, with the double-precision value of 10/9.
template <class T>
inline T deg2gon(T kot) {
  return kot * static_cast<long double>(1.1111111111111112);
}

template <class T>
inline T rad2gon(T kot) {
  return deg2gon(rad2deg(kot));
}

// Seconds that come out a hair below a full minute (full = 60, or 100 in the
// packed decimal form) by rounding count as the next minute, and 60 minutes as
// the next degree. The tolerance, 1e-9 of a second, covers the rounding of the
// degrees (up to 360) in double as in long double once it is multiplied into the
// seconds field (some 3e-10 s in double), and moves no value by more than 1e-9 s.
template <class T>
inline void CarrySexagesimal(long& d, long& m, T& s, T full) {
  const T carryTol = static_cast<T>(1e-9);
  if (std::fabs(s - full) < carryTol) {
    s = 0;
    m = m + 1;
  }
  if (m == 60) {
    m = 0;
    d = d + 1;
  }
}

// Splits a packed sexagesimal value |x| (DD.MMSSsss) into degrees, minutes and
// seconds, counting seconds a hair below 100 (by rounding) as the next minute.
template <class T>
inline void SplitPackedDMS(T x, long& d, long& m, T& s) {
  d = static_cast<long>(std::floor(x));
  m = static_cast<long>(std::floor(100 * (x - d)));
  s = 100 * (100 * (x - d) - m);
  CarrySexagesimal<T>(d, m, s, 100);
}

// Radians to packed sexagesimal degrees.
template <class T>
inline T rad2dms(T kotv) {
  T g = rad2deg(kotv);
  T x = std::fabs(g);
  long d = static_cast<long>(std::floor(x));
  long m = static_cast<long>(std::floor(60 * (x - d)));
  T s = 60 * (60 * (x - d) - m);
  CarrySexagesimal<T>(d, m, s, 60);
  T res = s / 10000 + static_cast<T>(m) / 100 + d;
  return g < 0 ? -res : res;
}

// Packed sexagesimal degrees to radians.
template <class T>
inline T dms2rad(T kotv) {
  long d, m;
  T s;
  SplitPackedDMS<T>(std::fabs(kotv), d, m, s);
  T res = deg2rad(s / 3600 + static_cast<T>(m) / 60 + d);
  return kotv < 0 ? -res : res;
}

// Packed sexagesimal degrees as text: degrees (3), minutes (3), seconds
// (ndec + 4 wide with ndec decimals); " -0" form for angles between -1 and 0.
template <class T>
inline std::string dms2dms(T dms, int ndec) {
  long d, m;
  T s;
  SplitPackedDMS<T>(std::fabs(dms), d, m, s);
  if (dms < 0) d = -d;
  char fmt[64], out[128];
  if (dms < 0 && dms > -1)
    snprintf(fmt, sizeof fmt, " -%%1d%%3d%%%d.%dlf", ndec + 4, ndec);
  else
    snprintf(fmt, sizeof fmt, "%%3d%%3d%%%d.%dlf", ndec + 4, ndec);
  snprintf(out, sizeof out, fmt, static_cast<int>(d), static_cast<int>(m),
           static_cast<double>(s));
  return std::string(out);
}

// Degrees, minutes, seconds to radians (double).
inline double dms2deg(short d, short m, double s) {
  double deg = d < 0 ? d - m / 60.0 - s / 3600.0 : d + m / 60.0 + s / 3600.0;
  return static_cast<double>(pi * deg / 180);
}

// Radius of curvature in the prime vertical (m) at latitude fi (rad) for the
// semi-major axis a (m) and the first eccentricity e (not its square).
template <class T>
inline T PolmerN(T fi, T a, T e) {
  return a / std::sqrt((1 + e * std::sin(fi)) * (1 - e * std::sin(fi)));
}

// Lagrange interpolation polynomial through the n first points (x(i), y(i)),
// evaluated at xi; n = -1 takes every point of x. Abscissae must be distinct.
inline double LagrangePolynomial(const matrix<double>& x, const matrix<double>& y,
                                 double xi, long n) {
  if (n == -1) n = x.Length();
  double sum = 0.0;
  for (long i = 0; i < n; i++) {
    double p = 1.0;
    for (long j = 0; j < n; j++)
      if (j != i) p *= (xi - x(j)) / (x(i) - x(j));
    sum += y(i) * p;
  }
  return sum;
}
