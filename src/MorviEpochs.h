// The epoch series of a run: epoch k is the first epoch plus k intervals
// (never a running sum, whose rounding errors would drift over a day), up to
// the last epoch (SeriesLength). The epoch columns of the results print
// tenths of a second, so the interval must be a whole number of tenths, and an
// epoch is printed rounded to the tenth with the carry into minute, hour and
// day, the same instant in both epoch columns. Times in seconds.
#pragma once

#include <cmath>    // roundl, fabsl
#include <cstdint>  // uint32_t

#include "gdata/mjd.h"  // mjd, tcns

namespace morviepochs {

// Resolution of the printed epochs: tenths of a second per second.
inline constexpr long double TenthsPerSecond = 10.0L;

// The interval (s) as a whole number of tenths of a second; -1 when it is not a
// positive multiple of 0.1 s (a relative 1e-9 covers the decimal text's
// conversion to a binary number).
inline long double EpochTenths(long double interval) {
  const long double tenths = roundl(interval * TenthsPerSecond);
  if (!(tenths >= 1)) return -1;
  if (fabsl(interval * TenthsPerSecond - tenths) > 1e-9L * tenths) return -1;
  return tenths;
}

// Number of epochs from first to last (a long double: it may exceed any integer
// type for a tiny interval); 0 when last lies before first. The interval is one
// EpochTenths accepts.
inline long double EpochCount(const mjd& first, const mjd& last, long double interval) {
  const long double step = EpochTenths(interval) / TenthsPerSecond;
  if (!(step > 0)) return 0;
  const long double n = SeriesLength(first, last, step);
  return n > 0 ? n : 0;
}

// Epoch k of the series: the first epoch plus k intervals, the interval taken
// as its whole number of tenths.
inline mjd EpochAt(const mjd& first, long k, long double interval) {
  mjd e = first;
  e += (static_cast<long double>(k) * EpochTenths(interval)) / TenthsPerSecond;
  return e;
}

// The epoch as the results print it: rounded to a tenth of a second, carried
// into the next day where the rounding reaches 86400 s.
inline mjd PrintedEpoch(const mjd& e) {
  uint32_t day = e.GetMJDay();
  long double s = roundl(e.GetSecond() * TenthsPerSecond) / TenthsPerSecond;
  if (s >= tcns::SECDAY) {
    s -= tcns::SECDAY;
    day++;
  }
  return mjd(day, s);
}

}  // namespace morviepochs
