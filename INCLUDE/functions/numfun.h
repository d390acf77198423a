// Small numeric helpers shared by the time types and the orbit integration:
// the value of pi used throughout, the split of seconds into h/m/s, and SQR.
#pragma once

#include <cmath>  // floor, fabs

// pi as the double-precision value 3.141592653589793116 held in extended
// precision (not the full 80-bit pi): every radian/degree conversion and the
// Earth-rotation angle use exactly this value.
inline constexpr long double pi = static_cast<long double>(3.141592653589793116);

// Splits a number of seconds into whole hours h, whole minutes m and seconds s.
// Seconds within 1e-10 of 60 carry into the minutes, and 60 minutes into the hours.
inline void Sec2HMS(long double second, unsigned short& h, unsigned short& m, long double& s) {
  const long double carryTol = static_cast<long double>(1e-10);
  long double q = second / 3600.0L;
  long double H = std::floor(q);
  long double rm = 60.0L * (q - H);
  long double M = std::floor(rm);
  s = 60.0L * (rm - M);
  // Whole values convert exactly; hours beyond 16 bits (or no number at all)
  // wrap or give 0 instead of an undefined conversion.
  h = (H >= 0 && H < 1e18L) ? static_cast<unsigned short>(static_cast<unsigned long long>(H)) : 0;
  m = (M >= 0 && M < 60) ? static_cast<unsigned short>(M) : 0;
  if (std::fabs(s - 60.0L) < carryTol) {
    s = 0.0L;
    m = m + 1;
  }
  if (m == 60) {
    m = 0;
    h = h + 1;
  }
}

// x squared.
template <class T>
inline T SQR(T x) {
  return x * x;
}
