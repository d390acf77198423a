#pragma once
// GPSws: GPS week (unsigned 16-bit, 0..11999) and second of week (long double,
// 0 <= s < 604800), counted from 1980-01-06 00:00 (MJD 44244); print settings gpswsns.
// [1] IS-GPS-200, 20.3.3.5.2.4 (GPS week and time of week); [2] SP3-d, second header line.
#include <cmath>    // fabsl, floorl, isfinite
#include <cstdint>  // uint16_t
#include <iomanip>  // setw, setfill, setprecision
#include <istream>  // istream
#include <ostream>  // ostream

#include "functions/numfun.h"     // Sec2HMS
#include "gdata/mjd.h"            // tcns
#include "pgminc/ProgramError.h"  // ProgramError

namespace gpswsns {
enum { GPSWS = 0, GPSWDS = 1, GPSWDHMS = 2, GPSWD = 3, SP3 = 4 };
inline uint16_t PrintFormat = GPSWS;  // layout of operator<<
inline uint16_t NDecSecond = 1;       // decimals of the second
}  // namespace gpswsns

// True for a GPS week 0..11999.
inline bool TestGPSWeek(uint16_t week) { return week < tcns::MAX_GPS_WEEK; }
// True for a day of week 0 (Sunday) .. 6.
inline bool TestGPSDayOfWeek(uint16_t dw) { return dw <= 6; }

class GPSws {
 public:
  GPSws() : week(0), second(0.0L) {}
  GPSws(uint16_t w, long double s) : week(w), second(s) { TestDatum(); }
  // Copies validate: through the constructor with values and through Set.
  GPSws(const GPSws& g) : GPSws(g.week, g.second) {}
  ~GPSws() {}

  GPSws& operator=(const GPSws& g) {
    if (this != &g) Set(g.week, g.second);
    return *this;
  }

  void Set(uint16_t w, long double s) {
    week = w;
    second = s;
    TestDatum();
  }
  uint16_t GetWeek() const { return week; }
  long double GetSecond() const { return second; }
  // Day of week 0..6 (whole days of the second of week).
  uint16_t GetWeekDay() const {
    const long double d = second / tcns::SECDAY;
    return (d >= 0.0L && d < 65536.0L) ? (uint16_t)d : 0;
  }
  long double GetDaySecond() const { return second - tcns::SECDAY * GetWeekDay(); }

  // Adds seconds with a carry into the week, as mjd::operator+= does into the day;
  // not validated.
  GPSws& operator+=(long double dsec) {
    const int sign = dsec < 0 ? -1 : 1;
    const long double a = fabsl(dsec);
    const long double weeks = std::isfinite(a) ? floorl(a / tcns::SECWEEK) : 0.0L;
    const long double rest = a - weeks * tcns::SECWEEK;
    const uint16_t weeks16 = (uint16_t)(uint64_t)fmodl(weeks, 65536.0L);  // 16-bit wrap
    week = (uint16_t)(sign < 0 ? week - weeks16 : week + weeks16);
    second = second + sign * rest;
    if (second < 0) {
      week = (uint16_t)(week - 1);
      second += tcns::SECWEEK;
    }
    if (second > tcns::SECWEEK) {
      week = (uint16_t)(week + 1);
      second -= tcns::SECWEEK;
    }
    if (fabsl(second - tcns::SECWEEK) < CARRY_TOL) {
      week = (uint16_t)(week + 1);
      second = 0.0L;
    }
    return *this;
  }
  // Whole weeks, 16-bit wrapping; the second is untouched; not validated.
  GPSws& operator+=(unsigned short weeks) {
    week = (uint16_t)(week + weeks);
    return *this;
  }

  friend std::istream& operator>>(std::istream& is, GPSws& g);

 private:
  static constexpr long double CARRY_TOL = 1e-12;  // s, end-of-week carry (double value)

  uint16_t week;       // GPS week
  long double second;  // second of week

  bool TestWeek() const { return TestGPSWeek(week); }
  bool TestSecond() const { return second >= 0.0L && second < tcns::SECWEEK; }
  void TestDatum() const {
    if (!TestWeek()) ProgramError("Function:   GPSws::TestDatum()", "Input GPS WEEK not valid!", false);
    if (!TestSecond()) ProgramError("Function:   GPSws::TestDatum()", "Input GPS SECOND not valid!", false);
  }
};

// Reads week and second, white-space separated, then validates what was read.
inline std::istream& operator>>(std::istream& is, GPSws& g) {
  is >> g.week >> g.second;
  g.TestDatum();
  return is;
}

// Layout by gpswsns::PrintFormat (N = gpswsns::NDecSecond); week 2108, second 262800.5, N 1:
//   GPSWS    " 2108 262800.5"       week w5, second w N+8
//   GPSWDS   " 2108 3  3600.5"      week w5, day of week w2, second of day w N+7
//   GPSWDHMS " 2108 3  01:00:00.5"  week w5, day w2, 2 blanks, zero-filled hh:mm:ss w N+3
//   GPSWD    " 2108 3"              blank, zero-filled week w4, day w2
//   SP3      " 2108 262800.50000000" week w5, second w16 with 8 decimals
// The fixed flag is left set and the fill is blank afterwards; another value writes nothing.
inline std::ostream& operator<<(std::ostream& os, const GPSws& g) {
  const int n = gpswsns::NDecSecond;
  switch (gpswsns::PrintFormat) {
    case gpswsns::GPSWS:
      os << std::fixed << std::setw(5) << g.GetWeek() << std::setw(n + 8) << std::setprecision(n) << g.GetSecond()
         << std::setfill(' ');
      break;
    case gpswsns::GPSWDS:
      os << std::fixed << std::setw(5) << g.GetWeek() << std::setw(2) << g.GetWeekDay() << std::setw(n + 7)
         << std::setprecision(n) << g.GetDaySecond() << std::setfill(' ');
      break;
    case gpswsns::GPSWDHMS: {
      unsigned short h, m;
      long double s;
      Sec2HMS(g.GetDaySecond(), h, m, s);
      os << std::fixed << std::setw(5) << g.GetWeek() << std::setw(2) << g.GetWeekDay() << "  " << std::setfill('0')
         << std::setw(2) << h << ":" << std::setw(2) << m << ":" << std::setw(n + 3) << std::setprecision(n) << s
         << std::setfill(' ');
      break;
    }
    case gpswsns::GPSWD:
      os << " " << std::setw(4) << std::setfill('0') << g.GetWeek() << std::setfill(' ') << std::setw(2)
         << g.GetWeekDay();
      break;
    case gpswsns::SP3:
      os << std::fixed << std::setw(5) << g.GetWeek() << std::setw(16) << std::setprecision(8) << g.GetSecond()
         << std::setfill(' ');
      break;
    default:
      break;
  }
  return os;
}
