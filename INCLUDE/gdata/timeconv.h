#pragma once
// Conversions between the time types mjd, ymdhms and GPSws, and GPS - UTC from the built-in
// leap-second table. They change the representation of an epoch, never its time scale;
// TAIMinus gives the offset of an epoch's time scale from TAI.
// Valid calendar range 1901-01-01 .. 2199-12-31 (MJD 15385 .. 124592); every result is
// built through the validating Set of its type. The single-field tests live with their types.
// [1] IERS Bulletin C (leap seconds); [2] IS-GPS-200, 20.3.3.5.2.4 (GPS week and time of week).
#include <cmath>    // fabs, fmod
#include <cstdint>  // int32_t, int64_t, uint16_t, uint32_t

#include "functions/numfun.h"  // Sec2HMS
#include "gdata/GPSws.h"       // GPSws, TestGPSWeek, TestGPSDayOfWeek
#include "gdata/mjd.h"         // mjd, tcns, TestMJDay
#include "gdata/ymdhms.h"      // ymdhms, month_day, LeapYear, TestYear ... TestDOY

namespace leapsec {
struct LeapStep { uint32_t mjday; int32_t gpsMinusUtc; };  // first day of validity, s
// GPS - UTC from 1972 on [1], one row per change.
inline constexpr LeapStep table[] = {
    {41317, -9}, {41499, -8}, {41683, -7}, {42048, -6}, {42413, -5}, {42778, -4}, {43144, -3},
    {43509, -2}, {43874, -1}, {44239, 0},  {44786, 1},  {45151, 2},  {45516, 3},  {46247, 4},
    {47161, 5},  {47892, 6},  {48257, 7},  {48804, 8},  {49169, 9},  {49534, 10}, {50083, 11},
    {50630, 12}, {51179, 13}, {53736, 14}, {54832, 15}, {56109, 16}, {57204, 17}, {57754, 18},
};
inline constexpr int rows = sizeof table / sizeof table[0];
}  // namespace leapsec

// GPS - UTC in whole seconds for the day of mjdd (the second of day never matters):
// the first row's value before 1972, the last row's value from 2017-01-01 on.
inline int32_t LeapSecond(const mjd& mjdd) {
  using leapsec::table;
  const int rows = leapsec::rows;
  const uint32_t d = mjdd.GetMJDay();
  if (d < table[0].mjday) return table[0].gpsMinusUtc;
  if (d >= table[rows - 1].mjday) return table[rows - 1].gpsMinusUtc;
  for (int i = 0; i < rows - 1; ++i)
    if (table[i].mjday <= d && d < table[i + 1].mjday) return table[i].gpsMinusUtc;
  return table[rows - 1].gpsMinusUtc;
}

// Whether the day of mjdd lies after the first day of the table's last row: a
// leap second announced after the table was made may hold there.
inline bool PastLeapSecondTable(const mjd& mjdd) {
  return mjdd.GetMJDay() > leapsec::table[leapsec::rows - 1].mjday;
}

// Time scales in which an ephemeris gives its epochs (GPS time also for Galileo,
// QZSS and NavIC system times, which are kept aligned with it).
enum class TimeScale { GPS, TAI, UTC, GLO, BDT };

namespace tscale {
inline constexpr long double TAI_MINUS_GPS = 19.0L;     // s, fixed since 1980-01-06 [1]
inline constexpr long double GPS_MINUS_BDT = 14.0L;     // s, fixed since 2006-01-01 (BDT origin)
inline constexpr long double GLO_MINUS_UTC = 10800.0L;  // s, GLONASS time is UTC(SU) + 3 h
}  // namespace tscale

// TAI - s in seconds at the epoch t given in scale s: added to t it gives the
// same instant in TAI. UTC and GLONASS time take the leap seconds of t's UTC day.
inline long double TAIMinus(const mjd& t, TimeScale s) {
  switch (s) {
    case TimeScale::GPS: return tscale::TAI_MINUS_GPS;
    case TimeScale::TAI: return 0.0L;
    case TimeScale::BDT: return tscale::TAI_MINUS_GPS + tscale::GPS_MINUS_BDT;
    case TimeScale::UTC: return tscale::TAI_MINUS_GPS + LeapSecond(t);
    case TimeScale::GLO: {
      mjd utc = t;
      utc -= tscale::GLO_MINUS_UTC;
      return tscale::TAI_MINUS_GPS + LeapSecond(utc) - tscale::GLO_MINUS_UTC;
    }
  }
  return tscale::TAI_MINUS_GPS;
}

namespace timeconv {
// MJD of 2101-01-01: the four-year cycle counts 2100 as a leap year, so day counts from
// here on are one day less than the cycle gives.
inline constexpr int32_t JAN12101 = 88434;
inline constexpr int32_t DAYS4YEARS = 1461;             // days of a four-year cycle
inline constexpr long double DAY_CARRY_TOL = 1e-10;     // s, second of day taken as the next day
inline constexpr double MINUTE_CARRY_TOL = 1e-5;        // s, second taken as the next minute
// Day and week lengths (s) of the conversions computed in double precision.
inline constexpr double SECDAY_D = static_cast<double>(tcns::SECDAY);
inline constexpr double SECWEEK_D = static_cast<double>(tcns::SECWEEK);

// MJD day number of the calendar date of datum (time of day not used).
inline int32_t DayNumber(const ymdhms& datum) {
  const int leap = LeapYear(datum.GetYear()) ? 1 : 0;
  const int32_t doy = month_day[leap][datum.GetMonth() - 1] + datum.GetDay();
  const int32_t n = datum.GetYear() - 1901;
  int32_t mjday = tcns::JAN11901 - 1 + doy + DAYS4YEARS * (n / 4) + 365 * (n % 4);
  if (datum.GetYear() >= 2101) mjday -= 1;
  return mjday;
}

// Year and day of year of an MJD day number. A day outside the calendar range gives a year
// outside 1901..2199 (which the calendar test rejects) and still a day of year 1..366.
inline void YearDayOfYear(uint32_t day, uint16_t& year, uint16_t& doy) {
  int64_t d = day;
  if (d >= JAN12101) d += 1;
  const int64_t n = d - tcns::JAN11901;
  if (n < 0) {
    year = tcns::MinYear;
    doy = 1;
    return;
  }
  const int64_t q = n / DAYS4YEARS;
  const int64_t r = n - DAYS4YEARS * q;
  const int64_t yy = r / 365 - r / 1460;  // 0..3; r = 1460, the last day of a leap year, gives 3
  const int64_t y = 1901 + 4 * q + yy;
  year = y < tcns::MaxYear ? (uint16_t)y : tcns::MaxYear;
  doy = (uint16_t)(r - 365 * yy + 1);
}

// Month and day of a day of year: the estimate doy * 0.032 is at most one month low,
// and one comparison with the month table corrects it.
inline void MonthDay(uint16_t year, uint16_t doy, uint16_t& month, uint16_t& day) {
  const int leap = LeapYear(year) ? 1 : 0;
  const int m = (int)(doy * 0.032);
  const int a = (doy - month_day[leap][m + 1] > 0) ? 1 : 0;
  month = (uint16_t)(m + a + 1);
  day = (uint16_t)(doy - month_day[leap][m + a]);
}

// Day number and second of day of a GPS week and second. Both come from the second of week
// rounded to double, so that a second just below a day boundary cannot lose the day.
inline void GPSDaySecond(const GPSws& gws, uint32_t& mjday, double& sod) {
  const double sow = (double)gws.GetSecond();
  sod = std::fmod(sow, SECDAY_D);
  const uint32_t days = (uint32_t)((sow - sod) / SECDAY_D);
  mjday = days + 7u * gws.GetWeek() + (uint32_t)tcns::JAN61980;
}

// Calendar date and time of a day number and a time of day. 24:00:00, which the carries
// give for a time within rounding of the end of the day, is 00:00:00 of the next day.
inline ymdhms CalendarEpoch(uint32_t day, uint16_t hour, uint16_t minute, long double second) {
  if (hour == tcns::MaxHour && minute == 0 && second == 0.0L) {
    hour = 0;
    day += 1;
  }
  uint16_t year, doy, month, dom;
  YearDayOfYear(day, year, doy);
  MonthDay(year, doy, month, dom);
  ymdhms result;
  result.Set(year, month, dom, hour, minute, second);
  return result;
}
}  // namespace timeconv

// Calendar date and time to MJD; a time within 1e-10 s of 24:00 is the next day's 00:00.
inline mjd ymdhms2mjd(const ymdhms& datum) {
  uint32_t mjday = (uint32_t)timeconv::DayNumber(datum);
  long double sod = 3600.0L * datum.GetHour() + 60.0L * datum.GetMinute() + datum.GetSecond();
  if (fabsl(sod - tcns::SECDAY) < timeconv::DAY_CARRY_TOL) {
    sod = 0.0L;
    mjday += 1;
  }
  mjd result;
  result.Set(mjday, sod);
  return result;
}

// MJD to calendar date and time.
inline ymdhms mjd2ymdhms(const mjd& mjdd) {
  uint16_t h, mi;
  long double s;
  Sec2HMS(mjdd.GetSecond(), h, mi, s);
  return timeconv::CalendarEpoch(mjdd.GetMJDay(), h, mi, s);
}

// MJD to GPS week and second of week.
inline GPSws mjd2GPSws(const mjd& dt) {
  const int64_t d = (int64_t)(int32_t)(dt.GetMJDay() - (uint32_t)tcns::JAN61980);  // 32-bit difference
  const uint16_t week = (uint16_t)(int32_t)(d / 7);
  // The stored (16-bit) week is used, so a week that does not fit leaves an invalid second.
  const long double sow = (long double)(d - 7 * (int64_t)week) * tcns::SECDAY + dt.GetSecond();
  GPSws result;
  result.Set(week, sow);
  return result;
}

// GPS week and second of week to MJD; the second of day is taken at double precision.
inline mjd GPSws2mjd(const GPSws& gws) {
  uint32_t mjday;
  double sod;
  timeconv::GPSDaySecond(gws, mjday, sod);
  mjd result;
  result.Set(mjday, (long double)sod);
  return result;
}

// GPS week and second of week to calendar date and time (double-precision fraction of day).
inline ymdhms GPSws2ymdhms(const GPSws& gws) {
  uint32_t day;
  double sod;
  timeconv::GPSDaySecond(gws, day, sod);
  const double f = sod / timeconv::SECDAY_D;
  int hour = (int)(f * 24);
  int minute = (int)(f * 1440) - 60 * hour;
  double second = f * timeconv::SECDAY_D - 3600 * hour - 60 * minute;
  // Just below a whole minute, f * 1440 can round up to it while f * 86400 does not: the
  // second comes out a rounding error below 0 and is the minute's start.
  if (second < 0) second = 0;
  if (fabs(second - 60) < timeconv::MINUTE_CARRY_TOL) {
    second = 0;
    minute += 1;
  }
  if (minute == 60) {
    minute = 0;
    hour += 1;
  }
  if (hour >= 24) {  // f within rounding of 1: the end of the day
    hour = 24;
    minute = 0;
    second = 0;
  }
  return timeconv::CalendarEpoch(day, (uint16_t)hour, (uint16_t)minute, (long double)second);
}

// Calendar date and time to GPS week and second of week (double-precision fraction of day).
inline GPSws ymdhms2GPSws(const ymdhms& datum) {
  const int32_t d = timeconv::DayNumber(datum) - tcns::JAN61980;
  int32_t week = d / 7;
  const double f = (double)(((datum.GetSecond() / 60 + datum.GetMinute()) / 60 + datum.GetHour()) / 24);
  double sow = ((double)(d - 7 * week) + f) * timeconv::SECDAY_D;
  if (sow >= timeconv::SECWEEK_D) {  // a time within rounding of the week's end is the next week's start
    sow -= timeconv::SECWEEK_D;
    week += 1;
  }
  GPSws result;
  result.Set((uint16_t)week, (long double)sow);
  return result;
}
