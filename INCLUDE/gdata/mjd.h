#pragma once
// mjd: epoch as Modified Julian Day number (unsigned 32-bit, 0..199999) and second of that
// day (long double, 0 <= s < 86400); the difference of two epochs is in seconds.
// tcns: time constants shared by mjd, ymdhms, GPSws and the conversions; mjdns: print settings.
// The type carries no time scale. [1] IERS Conventions 2010, ch. 5 (MJD = JD - 2400000.5).
#include <cmath>    // ceill, fabsl, floorl, roundl, truncl, fmodl, isfinite
#include <cstdint>  // uint16_t, uint32_t, int32_t
#include <iomanip>  // setw, setfill, setprecision
#include <istream>  // istream
#include <ostream>  // ostream

#include "functions/numfun.h"     // Sec2HMS
#include "pgminc/ProgramError.h"  // ProgramError

namespace tcns {
inline constexpr int32_t JAN61980 = 44244;       // MJD of 1980-01-06, day 0 of GPS week 0
inline constexpr int32_t JAN11901 = 15385;       // MJD of 1901-01-01, origin of calendar counts
inline constexpr long double SECDAY = 86400.0L;  // s per day
inline constexpr long double SECWEEK = 604800.0L;  // s per week
inline constexpr uint16_t MAX_GPS_WEEK = 12000;  // GPS weeks valid below this
inline constexpr int32_t MAX_MJD_DAY = 200000;   // MJD days valid below this
inline constexpr uint16_t MinYear = 1900;        // years valid above this
inline constexpr uint16_t MaxYear = 2200;        // years valid below this
inline constexpr uint16_t MaxMonth = 12;
inline constexpr uint16_t MaxHour = 24;          // hours valid below this
inline constexpr uint16_t MaxMinute = 60;        // minutes valid below this
inline long double MinSecond = 0.0L;             // second of minute valid from this on
inline long double MaxSecond = 60.0L;            // second of minute valid below this
inline constexpr uint16_t MaxDOY = 366;
inline constexpr long double SERIES_END_TOL = 1e-6L;  // s, the last epoch belongs to a series within this
inline constexpr long double TENTHS_PER_SECOND = 10.0L;  // tenths of a second per second, the resolution of a series
inline constexpr long double TENTH_TOL = 1e-8L;       // s, a value lies on a tenth within this (10 ns)...
inline constexpr long double TENTH_REL_TOL = 1e-15L;  // ...or within this part of it (a double's rounding)
}  // namespace tcns

namespace mjdns {
enum { MJDSEC = 0, MJDDEC = 1, MJDHMS = 2, MJD = 3, SP3 = 4 };
inline uint16_t PrintFormat = MJDSEC;  // layout of operator<<
inline uint16_t NDecSecond = 1;        // decimals of the second
}  // namespace mjdns

// True for an MJD day number 0..199999.
inline bool TestMJDay(uint32_t mjday) { return mjday < (uint32_t)tcns::MAX_MJD_DAY; }

class mjd {
 public:
  mjd() : mjday(0), second(0.0L) {}
  mjd(uint32_t day, long double sec) : mjday(day), second(sec) { TestDatum(); }
  // Copies validate: through the constructor with values and through Set.
  mjd(const mjd& m) : mjd(m.mjday, m.second) {}
  ~mjd() {}

  mjd& operator=(const mjd& m) {
    if (this != &m) Set(m.mjday, m.second);
    return *this;
  }

  // Decimal MJD: day = integer part (cut toward zero, kept in 32 bits),
  // second = fraction above floor(x) times 86400.
  mjd& operator=(long double x) {
    const long double t = truncl(x);
    // Beyond the 32-bit range (or NaN) the day is set to a value the test rejects.
    mjday = (t > -4294967296.0L && t < 4294967296.0L) ? (uint32_t)(int64_t)t : UINT32_MAX;
    second = (x - floorl(x)) * tcns::SECDAY;
    TestDatum();
    return *this;
  }

  // Adds seconds with a carry into the day; not validated. The result is brought into
  // 0..86400 by at most one borrow and one carry; a second within CARRY_TOL below 86400
  // becomes the next day's 0.
  mjd& operator+=(long double dsec) {
    const int sign = dsec < 0 ? -1 : 1;
    const long double a = fabsl(dsec);
    const long double days = std::isfinite(a) ? floorl(a / tcns::SECDAY) : 0.0L;
    const long double rest = a - days * tcns::SECDAY;
    const uint32_t days32 = (uint32_t)(uint64_t)fmodl(days, 4294967296.0L);  // 32-bit wrap
    mjday = sign < 0 ? mjday - days32 : mjday + days32;
    second = second + sign * rest;
    if (second < 0) {
      mjday -= 1;
      second += tcns::SECDAY;
    }
    if (second > tcns::SECDAY) {
      mjday += 1;
      second -= tcns::SECDAY;
    }
    if (fabsl(second - tcns::SECDAY) < CARRY_TOL) {
      mjday += 1;
      second = 0.0L;
    }
    return *this;
  }
  mjd& operator-=(long double dsec) { return *this += -dsec; }
  // Whole days, signed 32-bit, wrapping; the second is untouched; not validated.
  mjd& operator+=(long days) {
    mjday += (uint32_t)(int32_t)days;
    return *this;
  }
  mjd& operator-=(long days) {
    mjday -= (uint32_t)(int32_t)days;
    return *this;
  }

  // Comparisons test identity first; days compare as unsigned, seconds only on equal days.
  // == has a tolerance of EQ_TOL, >= and <= of ORD_TOL, > and < none, so two epochs
  // 5e-14 s apart are == and also > (or <).
  bool operator==(const mjd& m) const {
    if (this == &m) return true;
    return mjday == m.mjday && fabsl(second - m.second) < EQ_TOL;
  }
  bool operator>(const mjd& m) const {
    if (this == &m) return false;
    if (mjday != m.mjday) return mjday > m.mjday;
    return second > m.second;
  }
  bool operator<(const mjd& m) const {
    if (this == &m) return false;
    if (mjday != m.mjday) return mjday < m.mjday;
    return second < m.second;
  }
  bool operator>=(const mjd& m) const {
    if (this == &m) return true;
    if (mjday != m.mjday) return mjday > m.mjday;
    return second - m.second > -ORD_TOL;
  }
  bool operator<=(const mjd& m) const {
    if (this == &m) return true;
    if (mjday != m.mjday) return mjday < m.mjday;
    return second - m.second < ORD_TOL;
  }

  void Set(uint32_t day, long double sec) {
    mjday = day;
    second = sec;
    TestDatum();
  }
  uint32_t GetMJDay() const { return mjday; }
  long double GetSecond() const { return second; }
  long double GetMJDDec() const { return mjday + second / tcns::SECDAY; }

  friend std::istream& operator>>(std::istream& is, mjd& m);

 private:
  // Tolerances in s: the double-precision values of the decimals, compared in extended precision.
  static constexpr long double CARRY_TOL = 1e-12;  // end-of-day carry of operator+=
  static constexpr long double EQ_TOL = 1e-13;     // operator==
  static constexpr long double ORD_TOL = 1e-14;    // operator>= and operator<=

  uint32_t mjday;      // Modified Julian Day number
  long double second;  // second of day

  bool TestMJDay() const { return ::TestMJDay(mjday); }
  bool TestSecond() const { return second >= 0.0L && second < tcns::SECDAY; }
  void TestDatum() const {
    if (!TestMJDay()) ProgramError("Function:   mjd::TestDatum()", "Input MJ DAY not valid!", false);
    if (!TestSecond()) ProgramError("Function:   mjd::TestDatum()", "Input SECOND not valid!", false);
  }
};

// d1 - d2 in seconds; the day difference is taken larger minus smaller, so it never wraps.
inline long double operator-(const mjd& d1, const mjd& d2) {
  if (d1.GetMJDay() >= d2.GetMJDay())
    return (long double)(d1.GetMJDay() - d2.GetMJDay()) * tcns::SECDAY + (d1.GetSecond() - d2.GetSecond());
  return (d1.GetSecond() - d2.GetSecond()) - (long double)(d2.GetMJDay() - d1.GetMJDay()) * tcns::SECDAY;
}

// Number of epochs of the series from, from + step, ... up to to (included within
// tcns::SERIES_END_TOL), step in seconds above 0; 0 or less when to lies before from.
inline long double SeriesLength(const mjd& from, const mjd& to, long double step) {
  return floorl(((to - from) + tcns::SERIES_END_TOL) / step) + 1;
}

// Series of epochs at the resolution of a tenth of a second, the resolution of
// the printed epochs: the step is a whole number of tenths, and epoch k is the
// first epoch plus k steps formed from that number (never a running sum, whose
// rounding errors would drift over a day).

// Seconds s (0 or more) as a whole number of tenths of a second; -1 when s
// lies off a tenth by more than tcns::TENTH_TOL, or, for an s so large that a
// double holds no 10 ns of it (a step of decades read by atof), by more than
// tcns::TENTH_REL_TOL of it. The test of "on a tenth" for the epochs and steps
// of a series, both of which a decimal text gave.
inline long double TenthsOf(long double s) {
  if (!(s >= 0)) return -1;
  const long double tenths = roundl(s * tcns::TENTHS_PER_SECOND);
  const long double tol = (tcns::TENTH_TOL + tcns::TENTH_REL_TOL * s) * tcns::TENTHS_PER_SECOND;
  return fabsl(s * tcns::TENTHS_PER_SECOND - tenths) <= tol ? tenths : -1;
}

// The step (s) as a whole number of tenths of a second; -1 when it is not a
// positive multiple of 0.1 s.
inline long double SeriesTenths(long double step) {
  const long double tenths = TenthsOf(step);
  return tenths >= 1 ? tenths : -1;
}

// Number of epochs from first to last (a long double: it may exceed any integer
// type for a tiny step); 0 when last lies before first or the step is not one
// SeriesTenths accepts.
inline long double SeriesCount(const mjd& first, const mjd& last, long double step) {
  const long double tenths = SeriesTenths(step);
  if (!(tenths > 0)) return 0;
  const long double n = SeriesLength(first, last, tenths / tcns::TENTHS_PER_SECOND);
  return n > 0 ? n : 0;
}

// Epoch k of the series from first in steps of step seconds (one SeriesTenths
// accepts).
inline mjd SeriesEpoch(const mjd& first, long double k, long double step) {
  mjd e = first;
  e += (k * SeriesTenths(step)) / tcns::TENTHS_PER_SECOND;
  return e;
}

// Whether one of the n epochs of the series from first in steps of interval
// seconds lies within from..to: the epoch at or after from, and its neighbours
// for the rounding of the division.
inline bool SeriesMeets(const mjd& first, long double n, long double interval, const mjd& from, const mjd& to) {
  const long double step = SeriesTenths(interval) / tcns::TENTHS_PER_SECOND;
  long double k = ceill((from - first) / step) - 1;
  if (!(k >= 0)) k = 0;
  for (const long double end = k + 3; k < end && k < n; k++) {
    const mjd e = SeriesEpoch(first, k, interval);
    if (!(e - from < 0) && !(to - e < 0)) return true;
  }
  return false;
}

// Reads day and second, white-space separated, then validates what was read.
inline std::istream& operator>>(std::istream& is, mjd& m) {
  is >> m.mjday >> m.second;
  m.TestDatum();
  return is;
}

// Layout by mjdns::PrintFormat (N = mjdns::NDecSecond), e.g. day 59000, second 3661.5, N 1:
//   MJDSEC " 59000  3661.5"   day w6, second w N+7
//   MJDDEC " 59000.0"         decimal MJD w N+7
//   MJDHMS " 59000  01:01:01.5" day w6, 2 blanks, zero-filled hh:mm:ss w N+3
//   MJD    " 59000"           day w6
//   SP3    " 59000 0.0423784722222" day w6, fraction of day w16 with 13 decimals
// Each sets the fixed flag (left set) and leaves the fill blank; another value writes nothing.
inline std::ostream& operator<<(std::ostream& os, const mjd& m) {
  const int n = mjdns::NDecSecond;
  switch (mjdns::PrintFormat) {
    case mjdns::MJDSEC:
      os << std::fixed << std::setw(6) << m.GetMJDay() << std::setw(n + 7) << std::setprecision(n)
         << m.GetSecond() << std::setfill(' ');
      break;
    case mjdns::MJDDEC:
      os << std::fixed << std::setw(n + 7) << std::setprecision(n) << m.GetMJDDec();
      break;
    case mjdns::MJDHMS: {
      unsigned short h, mi;
      long double s;
      Sec2HMS(m.GetSecond(), h, mi, s);
      os << std::fixed << std::setw(6) << m.GetMJDay() << "  " << std::setfill('0') << std::setw(2) << h << ":"
         << std::setw(2) << mi << ":" << std::setw(n + 3) << std::setprecision(n) << s << std::setfill(' ');
      break;
    }
    case mjdns::MJD:
      os << std::fixed << std::setw(6) << m.GetMJDay();
      break;
    case mjdns::SP3:
      os << std::fixed << std::setw(6) << m.GetMJDay() << std::setw(16) << std::setprecision(13)
         << m.GetSecond() / tcns::SECDAY << std::setfill(' ');
      break;
    default:
      break;
  }
  return os;
}
