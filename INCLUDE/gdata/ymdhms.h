#pragma once
// ymdhms: Gregorian calendar date and time of day (year 1901..2199, month, day, hour,
// minute as unsigned 16-bit; second 0 <= s < 60 as long double), printed in the epoch
// layouts of RINEX, SP3, SINEX and log files selected by ymdhmsns. Also the calendar rules
// shared with the conversions: month_day, LeapYear and the single-field tests.
// [1] RINEX 3.05, A.4 epoch fields; [2] SP3-d, epoch header line; [3] SINEX 2.02, time fields.
#include <cmath>    // trunc, fmod
#include <cstdint>  // uint16_t, int32_t
#include <cstdio>   // snprintf
#include <cstring>  // strcpy
#include <iomanip>  // setw, setfill, setprecision
#include <istream>  // istream
#include <ostream>  // ostream
#include <sstream>  // ostringstream

#include "functions/fixedfmt.h"   // FixedTextZeroFilled
#include "functions/numfun.h"     // Sec2HMS
#include "gdata/mjd.h"            // tcns
#include "pgminc/ProgramError.h"  // ProgramError

// Days before each month (the 13th entry is the year length); row 0 common, row 1 leap year.
inline constexpr uint16_t month_day[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366}};

// Gregorian rule: divisible by 4 and either not by 100 or by 400; year 0 is common.
inline bool LeapYear(uint16_t yr) { return yr != 0 && yr % 4 == 0 && (yr % 100 != 0 || yr % 400 == 0); }
inline bool LeapYear(int32_t year) { return year > 0 && year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

// Single calendar fields.
inline bool TestYear(uint16_t year) { return year > tcns::MinYear && year < tcns::MaxYear; }
inline bool TestMonth(uint16_t month) { return month >= 1 && month <= tcns::MaxMonth; }
inline bool TestDay(uint16_t day, uint16_t month, uint16_t year) {
  uint16_t last;
  switch (month) {
    case 1: case 3: case 5: case 7: case 8: case 10: case 12: last = 31; break;
    case 4: case 6: case 9: case 11: last = 30; break;
    default: last = LeapYear(year) ? 29 : 28; break;
  }
  return day >= 1 && day <= last;
}
inline bool TestHour(uint16_t hour) { return hour < tcns::MaxHour; }
inline bool TestMinute(uint16_t minute) { return minute < tcns::MaxMinute; }
// Second of a minute; a NaN fails.
inline bool TestSecond(long double second) { return second >= tcns::MinSecond && second < tcns::MaxSecond; }
inline bool TestDOY(uint16_t doy, uint16_t year) { return doy >= 1 && doy <= (LeapYear(year) ? 366 : 365); }

namespace ymdhmsns {
enum {
  RINEXHEADER = 0, RINEXDATA = 1, RINEXDATA3 = 2, RINEXNAV3 = 3, RINEXCLK3 = 4, SP3 = 5,
  SINEX = 6, GNSSLOG = 7, BERNSTA = 8, NORINEX = 9, RENSTA = 10
};
enum { YMDHMS = 0, YDHMS = 1, YDSEC = 2, YMD = 3, YDEC = 4, YD = 5, HMS = 6, APRCRD = 7 };
inline uint16_t PrintType = NORINEX;  // file layout, or NORINEX for the PrintFormat layouts
inline uint16_t PrintFormat = YMDHMS;
inline uint16_t NDecSecond = 1;       // decimals of the second in the PrintFormat layouts
}  // namespace ymdhmsns

class ymdhms {
 public:
  ymdhms() : year(1980), month(1), day(1), hour(0), minute(0), second(0.0L) {}
  ymdhms(uint16_t y, uint16_t mo, uint16_t d, uint16_t h, uint16_t mi, long double s)
      : year(y), month(mo), day(d), hour(h), minute(mi), second(s) {
    TestDatum();
  }
  // Copies validate: through the constructor with values and through Set.
  ymdhms(const ymdhms& t) : ymdhms(t.year, t.month, t.day, t.hour, t.minute, t.second) {}
  ~ymdhms() {}

  ymdhms& operator=(const ymdhms& t) {
    if (this != &t) Set(t.year, t.month, t.day, t.hour, t.minute, t.second);
    return *this;
  }

  void Set(uint16_t y, uint16_t mo, uint16_t d, uint16_t h, uint16_t mi, long double s) {
    year = y;
    month = mo;
    day = d;
    hour = h;
    minute = mi;
    second = s;
    TestDatum();
  }
  void SetYear(uint16_t y) {
    year = y;
    TestField(FYEAR, "Function:   ymdhms::SetYear()");
  }
  void SetMonth(uint16_t m) {
    month = m;
    TestField(FMONTH, "Function:   ymdhms::SetMonth()");
  }
  // Tested against the month and year the object holds now.
  void SetDay(uint16_t d) {
    day = d;
    TestField(FDAY, "Function:   ymdhms::SetDay()");
  }
  void SetHour(uint16_t h) {
    hour = h;
    TestField(FHOUR, "Function:   ymdhms::SetHour()");
  }
  void SetMinute(uint16_t m) {
    minute = m;
    TestField(FMINUTE, "Function:   ymdhms::SetMinute()");
  }
  void SetSecond(long double s) {
    second = s;
    TestField(FSECOND, "Function:   ymdhms::SetSecond()");
  }
  void SetHMS(uint16_t h, uint16_t m, long double s) {
    SetHour(h);
    SetMinute(m);
    SetSecond(s);
  }
  // Time of day from seconds of day; not validated.
  void SetDaySecond(long double s) { Sec2HMS(s, hour, minute, second); }

  // Date from year and day of year, time 00:00:00; doy 0 gives month 0 and a doy past the
  // year's end month 13, both fatal.
  void SetDayOfYear(uint16_t y, uint16_t doy) {
    year = y;
    TestField(FYEAR, "Function:   ymdhms::SetDayOfYear()");
    const int leap = LeapYear(year) ? 1 : 0;
    hour = 0;
    minute = 0;
    second = 0.0L;
    uint16_t m = 0;
    while (m < 13 && month_day[leap][m] < doy) ++m;
    month = m;
    TestField(FMONTH, "Function:   ymdhms::SetDayOfYear()");
    day = (uint16_t)(doy - month_day[leap][month - 1]);
    TestField(FDAY, "Function:   ymdhms::SetDayOfYear()");
  }

  // Date and time from a decimal year (double precision); the time is not validated.
  void SetYDec(double ydec) {
    const double t = std::trunc(ydec);
    // A year outside 16 bits (or NaN) is stored as 0, which the year test rejects.
    const uint16_t y = (t >= 0.0 && t < 65536.0) ? (uint16_t)t : 0;
    const int leap = LeapYear(y) ? 1 : 0;
    const double d = 1.0 + (365 + leap) * std::fmod(ydec, 1.0);
    const uint16_t doy = (d >= 0.0 && d < 65536.0) ? (uint16_t)d : 0;
    SetDayOfYear(y, doy);
    Sec2HMS((long double)((d - doy) * static_cast<double>(tcns::SECDAY)), hour, minute, second);
  }

  uint16_t GetYear() const { return year; }
  uint16_t GetMonth() const { return month; }
  uint16_t GetDay() const { return day; }
  uint16_t GetHour() const { return hour; }
  uint16_t GetMinute() const { return minute; }
  long double GetSecond() const { return second; }
  long double GetDaySecond() const { return (long double)(3600 * hour + 60 * minute) + second; }
  uint16_t GetDayOfYear() const { return (uint16_t)(month_day[Leap()][month - 1] + day); }
  long double GetYearDec() const {
    return year + (GetDayOfYear() - 1 + GetDaySecond() / tcns::SECDAY) / (365 + Leap());
  }

  // Date text " yyyy-mm-dd/hh:mm:ss.sss" with n decimals of the second (width n+3, or 2
  // without decimals); sdate must hold 21 + n characters.
  char* GetDateString(char* sdate, int n) const {
    const int nd = n > 0 ? n : 0;
    // A second of ordinary size and sign, by snprintf and FixedText: the text
    // of the stream layout below (blank-filled year, zero-filled fields),
    // without a stream made for every call.
    if (std::isfinite(second) && !std::signbit(second) && second < 1e6L && nd <= fixedfmt::MaxDecimals) {
      char text[128];
      const int n0 = snprintf(text, sizeof text, "%5u-%02u-%02u/%02u:%02u:", static_cast<unsigned>(year),
                              static_cast<unsigned>(month), static_cast<unsigned>(day),
                              static_cast<unsigned>(hour), static_cast<unsigned>(minute));
      const int n1 = FixedTextZeroFilled(text + n0, static_cast<int>(sizeof text) - n0 - 1, second,
                                         nd > 0 ? nd + 3 : 2, nd);
      if (n0 > 0 && n1 > 0) {
        text[n0 + n1] = 0;
        strcpy(sdate, text);
        return sdate;
      }
    }
    std::ostringstream os;
    os << std::fixed;
    PutDateClock(os, 5, "-", "/", ":", nd > 0 ? nd + 3 : 2, nd);
    strcpy(sdate, os.str().c_str());
    return sdate;
  }

  friend std::istream& operator>>(std::istream& is, ymdhms& t);
  friend std::ostream& operator<<(std::ostream& os, const ymdhms& t);

 private:
  uint16_t year, month, day, hour, minute;
  long double second;

  enum Field { FYEAR, FMONTH, FDAY, FHOUR, FMINUTE, FSECOND };

  int Leap() const { return LeapYear(year) ? 1 : 0; }
  bool TestYear() const { return ::TestYear(year); }
  bool TestMonth() const { return ::TestMonth(month); }
  bool TestDay() const { return ::TestDay(day, month, year); }
  bool TestHour() const { return ::TestHour(hour); }
  bool TestMinute() const { return ::TestMinute(minute); }
  bool TestSecond() const { return ::TestSecond(second); }

  // Tests one field; a failure is fatal with the field's message under the caller's place.
  void TestField(Field f, const char* place) const {
    switch (f) {
      case FYEAR: if (!TestYear()) ProgramError(place, "Input YEAR not valid!", false); break;
      case FMONTH: if (!TestMonth()) ProgramError(place, "Input MONTH not valid!", false); break;
      case FDAY: if (!TestDay()) ProgramError(place, "Input DAY not valid!", false); break;
      case FHOUR: if (!TestHour()) ProgramError(place, "Input HOUR not valid!", false); break;
      case FMINUTE: if (!TestMinute()) ProgramError(place, "Input MINUTE not valid!", false); break;
      case FSECOND: if (!TestSecond()) ProgramError(place, "Input SECOND not valid!", false); break;
    }
  }
  void TestDatum() const {
    for (Field f : {FYEAR, FMONTH, FDAY, FHOUR, FMINUTE, FSECOND}) TestField(f, "Function:   ymdhms::TestDatum()");
  }

  // Two-digit year of RINEX 2 and SINEX: year - 1900 up to 1999, year - 2000 from 2000 on.
  uint16_t TwoDigitYear() const { return (uint16_t)(year < 2000 ? year - 1900 : year - 2000); }
  // Second of day of SINEX and YDSEC: hours and minutes in double precision plus the second.
  long double SinexDaySecond() const { return (long double)(3600.0 * hour + 60.0 * minute) + second; }
  // Zero-filled "hh<sep>mm<sep>ss" with the second in width secW and secP decimals;
  // the caller has set the fill to '0'.
  void PutClock(std::ostream& os, const char* sep, int secW, int secP) const {
    os << std::setw(2) << hour << sep << std::setw(2) << minute << sep << std::setw(secW)
       << std::setprecision(secP) << second;
  }
  // Year in width yearW, then zero-filled month and day, each after dateSep.
  void PutDate(std::ostream& os, int yearW, const char* dateSep) const {
    os << std::setw(yearW) << year << dateSep << std::setfill('0') << std::setw(2) << month << dateSep
       << std::setw(2) << day;
  }
  // Date, mid, zero-filled clock; the fill is blank again at the end.
  void PutDateClock(std::ostream& os, int yearW, const char* dateSep, const char* mid, const char* clockSep,
                    int secW, int secP) const {
    PutDate(os, yearW, dateSep);
    os << mid;
    PutClock(os, clockSep, secW, secP);
    os << std::setfill(' ');
  }
};

// Reads year, month, day, hour, minute and second, white-space separated; two-digit years
// 0..79 are 2000..2079 and 80..99 are 1980..1999; then validates.
inline std::istream& operator>>(std::istream& is, ymdhms& t) {
  is >> t.year >> t.month >> t.day >> t.hour >> t.minute >> t.second;
  if (t.year < 80)
    t.year = (uint16_t)(t.year + 2000);
  else if (t.year < 100)
    t.year = (uint16_t)(t.year + 1900);
  t.TestDatum();
  return is;
}

// Layout by ymdhmsns::PrintType, or with NORINEX (or an unlisted value) by
// ymdhmsns::PrintFormat (N = ymdhmsns::NDecSecond). For 2020-01-05 12:00:00, N 1:
//   RINEXHEADER "  2020     1     5    12     0    0.0000000"  year w6, fields w6, second w13.7
//   RINEXDATA   " 20  1  5 12  0  0.0000000"  two-digit year w3, fields w3, second w11.7
//   RINEXDATA3  " 2020  1  5 12  0  0.0000000" year w5, fields w3, second w11.7
//   RINEXNAV3   " 2020  1  5 12  0  0"         year w5, fields w3, second w3.0
//   RINEXCLK3   " 2020  1  5 12  0  0.000000"  year w5, fields w3, second w10.6
//   SP3         "2020  1  5 12  0  0.00000000" year w4, fields w3, second w12.8
//   SINEX       "20:005:43200"                 zero-filled yy:doy:second of day
//   GNSSLOG     "2020-01-05 12:00:00"          BERNSTA "  2020 01 05 12 00 00"
//   RENSTA      " 2020-01-05/12:00:00"
//   YMDHMS " 2020-01-05 12:00:00.0"  YDHMS " 2020-005 12:00:00.0"  YDSEC " 2020-005  43200.0"
//   YMD " 2020-01-05"  YDEC " 2020.0122951"  YD " 2020-005"  HMS " 12:00:00.0"  APRCRD nothing
// Every layout sets the fixed flag (left set); a zero fill is set back to blank at the end.
inline std::ostream& operator<<(std::ostream& os, const ymdhms& t) {
  // Numeric epoch lines of the file formats: year width, two-digit year, field width,
  // second width and decimals.
  struct EpochColumns { int yearW; bool twoDigit; int fieldW; int secW; int secP; };
  static const EpochColumns fileLayout[ymdhmsns::SP3 + 1] = {
      {6, false, 6, 13, 7},  // RINEXHEADER
      {3, true, 3, 11, 7},   // RINEXDATA
      {5, false, 3, 11, 7},  // RINEXDATA3
      {5, false, 3, 3, 0},   // RINEXNAV3
      {5, false, 3, 10, 6},  // RINEXCLK3
      {4, false, 3, 12, 8},  // SP3
  };
  const int n = ymdhmsns::NDecSecond;
  os << std::fixed;
  const uint16_t type = ymdhmsns::PrintType;
  if (type <= ymdhmsns::SP3) {
    const EpochColumns& L = fileLayout[type];
    os << std::setw(L.yearW) << (L.twoDigit ? t.TwoDigitYear() : t.year) << std::setw(L.fieldW) << t.month
       << std::setw(L.fieldW) << t.day << std::setw(L.fieldW) << t.hour << std::setw(L.fieldW) << t.minute
       << std::setw(L.secW) << std::setprecision(L.secP) << t.second;
    return os;
  }
  switch (type) {
    case ymdhmsns::SINEX:
      os << std::setfill('0') << std::setw(2) << t.TwoDigitYear() << ":" << std::setw(3) << t.GetDayOfYear() << ":"
         << std::setw(5) << std::setprecision(0) << t.SinexDaySecond() << std::setfill(' ');
      return os;
    case ymdhmsns::GNSSLOG:
      t.PutDateClock(os, 4, "-", " ", ":", 2, 0);
      return os;
    case ymdhmsns::BERNSTA:
      t.PutDateClock(os, 6, " ", " ", " ", 2, 0);
      return os;
    case ymdhmsns::RENSTA:
      t.PutDateClock(os, 5, "-", "/", ":", 2, 0);
      return os;
    default:
      break;
  }
  switch (ymdhmsns::PrintFormat) {
    case ymdhmsns::YMDHMS:
      t.PutDateClock(os, 5, "-", " ", ":", n > 0 ? n + 3 : 2, n);
      break;
    case ymdhmsns::YDHMS:
      os << std::setw(5) << t.year << "-" << std::setfill('0') << std::setw(3) << t.GetDayOfYear() << " ";
      t.PutClock(os, ":", n + 3, n);
      break;
    case ymdhmsns::YDSEC:
      os << std::setw(5) << t.year << "-" << std::setfill('0') << std::setw(3) << t.GetDayOfYear() << " "
         << std::setfill(' ') << std::setw(n + 7) << std::setprecision(n) << t.SinexDaySecond();
      break;
    case ymdhmsns::YMD:
      t.PutDate(os, 5, "-");
      break;
    case ymdhmsns::YDEC:
      os << std::setw(n + 12) << std::setprecision(n + 6) << t.GetYearDec();
      break;
    case ymdhmsns::YD:
      os << std::setw(5) << t.year << "-" << std::setfill('0') << std::setw(3) << t.GetDayOfYear();
      break;
    case ymdhmsns::HMS:
      os << " " << std::setfill('0');
      t.PutClock(os, ":", n + 3, n);
      break;
    default:
      return os;
  }
  os << std::setfill(' ');
  return os;
}
