// Tests of the time conversions and the leap-second table: every calendar day of the
// valid range both ways, against an independent day count and the Fliegel - Van Flandern
// Julian day formula; GPS week and second over every day from 1980 on; the leap-second
// steps of IERS Bulletin C; known epochs; the fatal ends of the ranges.
#include "gdata/timeconv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "support/capture.h"

namespace {

// MJD of a Gregorian date by Fliegel and Van Flandern, Comm. ACM 11 (1968) 657.
long FvFMjd(long y, long m, long d) {
  const long jdn = (1461 * (y + 4800 + (m - 14) / 12)) / 4 + (367 * (m - 2 - 12 * ((m - 14) / 12))) / 12 -
                   (3 * ((y + 4900 + (m - 14) / 12) / 100)) / 4 + d - 32075;
  return jdn - 2400001;
}

int DaysInMonth(int y, int m) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : days[m - 1];
}

std::string Fields(const ymdhms& t) {
  char buf[64];
  snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%07.4Lf", t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(),
           t.GetMinute(), t.GetSecond());
  return buf;
}

// A time of day that differs from day to day, with a fraction of a second.
long double TimeOfDay(long i) { return (long double)((i * 7919) % 86400) + 0.375L; }

TEST(TimeConversions, EveryCalendarDayBothWays) {
  int fails = 0;
  long mjday = 15385, i = 0;
  for (int y = 1901; y <= 2199; ++y)
    for (int m = 1; m <= 12; ++m)
      for (int d = 1; d <= DaysInMonth(y, m); ++d, ++mjday, ++i) {
        ASSERT_EQ(FvFMjd(y, m, d), mjday) << y << "-" << m << "-" << d;
        const long double sod = TimeOfDay(i);
        ymdhms t(y, m, d, 0, 0, 0);
        t.SetDaySecond(sod);
        const mjd a = ymdhms2mjd(t);
        const ymdhms b = mjd2ymdhms(mjd(mjday, sod));
        const bool ok = a.GetMJDay() == (uint32_t)mjday && fabsl(a.GetSecond() - sod) < 1e-9L && b.GetYear() == y &&
                        b.GetMonth() == m && b.GetDay() == d && fabsl(b.GetDaySecond() - sod) < 1e-9L;
        if (!ok) {
          ADD_FAILURE() << "want " << Fields(t) << " = MJD " << mjday << " " << (double)sod << ", got MJD "
                        << a.GetMJDay() << " " << (double)a.GetSecond() << " and " << Fields(b);
          ASSERT_LT(++fails, 10);
        }
      }
  EXPECT_EQ(mjday - 1, 124592);  // 2199-12-31
  EXPECT_EQ(i, 124592 - 15385 + 1);
}

TEST(TimeConversions, EveryGPSDayBothWays) {
  int fails = 0;
  for (long d = 44244; d <= 124592; ++d) {
    const long double sod = TimeOfDay(d);
    const mjd m(d, sod);
    const GPSws g = mjd2GPSws(m);
    const long week = (d - 44244) / 7;
    const long double sow = (d - 44244 - 7 * week) * 86400.0L + sod;
    const mjd back = GPSws2mjd(g);
    const ymdhms cal = mjd2ymdhms(m);
    const ymdhms viaWeek = GPSws2ymdhms(g);
    const GPSws fromCal = ymdhms2GPSws(cal);
    const bool ok = g.GetWeek() == week && g.GetSecond() == sow && back.GetMJDay() == (uint32_t)d &&
                    fabsl(back.GetSecond() - sod) < 1e-9L && Fields(viaWeek) == Fields(cal) &&
                    fromCal.GetWeek() == week && fabsl(fromCal.GetSecond() - sow) < 1e-9L;
    if (!ok) {
      ADD_FAILURE() << "MJD " << d << " " << (double)sod << ": week " << g.GetWeek() << " " << (double)g.GetSecond()
                    << ", back " << back.GetMJDay() << " " << (double)back.GetSecond() << ", " << Fields(viaWeek)
                    << " vs " << Fields(cal) << ", from calendar " << fromCal.GetWeek() << " "
                    << (double)fromCal.GetSecond();
      ASSERT_LT(++fails, 10);
    }
  }
}

TEST(TimeConversions, KnownEpochs) {
  mjd j2000;
  j2000 = 51544.5L;
  EXPECT_EQ(Fields(mjd2ymdhms(j2000)), "2000-01-01 12:00:00.0000");
  const mjd noon = ymdhms2mjd(ymdhms(2000, 1, 1, 12, 0, 0));
  EXPECT_EQ(noon.GetMJDay(), 51544u);
  EXPECT_EQ(noon.GetSecond(), 43200.0L);

  const mjd w2108 = GPSws2mjd(GPSws(2108, 3600));
  EXPECT_EQ(w2108.GetMJDay(), 59000u);
  EXPECT_EQ(w2108.GetSecond(), 3600.0L);
  EXPECT_EQ(Fields(GPSws2ymdhms(GPSws(2108, 3600))), "2020-05-31 01:00:00.0000");

  const mjd a = ymdhms2mjd(ymdhms(1901, 1, 1, 0, 0, 0));
  EXPECT_EQ(a.GetMJDay(), 15385u);
  EXPECT_EQ(a.GetSecond(), 0.0L);
  EXPECT_EQ(ymdhms2mjd(ymdhms(1980, 1, 6, 0, 0, 0)).GetMJDay(), 44244u);
  // A time within 1e-10 s of midnight is the next day.
  const mjd carry = ymdhms2mjd(ymdhms(2020, 1, 5, 23, 59, 59.99999999999L));
  EXPECT_EQ(carry.GetMJDay(), 58854u);
  EXPECT_EQ(carry.GetSecond(), 0.0L);

  EXPECT_EQ(Fields(mjd2ymdhms(mjd(58849, 0))), "2020-01-01 00:00:00.0000");
  EXPECT_EQ(Fields(mjd2ymdhms(mjd(58908, 0))), "2020-02-29 00:00:00.0000");
  EXPECT_EQ(Fields(mjd2ymdhms(mjd(124592, 0))), "2199-12-31 00:00:00.0000");
  EXPECT_EQ(Fields(mjd2ymdhms(mjd(15385, 0))), "1901-01-01 00:00:00.0000");

  const struct { uint32_t day; long double sod; uint16_t week; long double sow; } gps[] = {
      {44244, 0, 0, 0}, {59000, 3600, 2108, 3600}, {59003, 0, 2108, 259200}, {109780, 0, 9362, 172800},
      {44250, 86399.5L, 0, 604799.5L},
  };
  for (const auto& c : gps) {
    const GPSws g = mjd2GPSws(mjd(c.day, c.sod));
    EXPECT_EQ(g.GetWeek(), c.week) << "MJD " << c.day;
    EXPECT_EQ(g.GetSecond(), c.sow) << "MJD " << c.day;
  }
  const mjd b = GPSws2mjd(GPSws(2108, 262800));
  EXPECT_EQ(b.GetMJDay(), 59003u);
  EXPECT_EQ(b.GetSecond(), 3600.0L);
}

TEST(TimeConversions, CenturyBoundaries2100And2101) {
  const struct { uint16_t y, m, d; uint32_t day; } rows[] = {
      {2100, 2, 28, 88127}, {2100, 3, 1, 88128}, {2100, 12, 31, 88433}, {2101, 1, 1, 88434},
      {2101, 3, 1, 88493},  {2000, 2, 29, 51603}, {2000, 3, 1, 51604},  {1904, 2, 29, 16539},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ymdhms2mjd(ymdhms(r.y, r.m, r.d, 0, 0, 0)).GetMJDay(), r.day) << r.y << "-" << r.m << "-" << r.d;
    const ymdhms t = mjd2ymdhms(mjd(r.day, 0));
    EXPECT_TRUE(t.GetYear() == r.y && t.GetMonth() == r.m && t.GetDay() == r.d) << "MJD " << r.day << ": " << Fields(t);
  }
  CaptureResult res = RunCaptured([] { ymdhms t(2100, 2, 29, 0, 0, 0); });
  EXPECT_EQ(res.err, ErrorFrame("Function:   ymdhms::TestDatum()", "Input DAY not valid!"));
}

TEST(LeapSeconds, EveryStepOfTheTable) {
  // GPS - UTC from each date on, IERS Bulletin C (TAI - UTC minus 19 s).
  const struct { int y, m, d, value; } steps[] = {
      {1972, 1, 1, -9},  {1972, 7, 1, -8},  {1973, 1, 1, -7},  {1974, 1, 1, -6},  {1975, 1, 1, -5},
      {1976, 1, 1, -4},  {1977, 1, 1, -3},  {1978, 1, 1, -2},  {1979, 1, 1, -1},  {1980, 1, 1, 0},
      {1981, 7, 1, 1},   {1982, 7, 1, 2},   {1983, 7, 1, 3},   {1985, 7, 1, 4},   {1988, 1, 1, 5},
      {1990, 1, 1, 6},   {1991, 1, 1, 7},   {1992, 7, 1, 8},   {1993, 7, 1, 9},   {1994, 7, 1, 10},
      {1996, 1, 1, 11},  {1997, 7, 1, 12},  {1999, 1, 1, 13},  {2006, 1, 1, 14},  {2009, 1, 1, 15},
      {2012, 7, 1, 16},  {2015, 7, 1, 17},  {2017, 1, 1, 18},
  };
  ASSERT_EQ(sizeof steps / sizeof steps[0], 28u);
  int before = -9;
  for (const auto& s : steps) {
    const uint32_t day = (uint32_t)FvFMjd(s.y, s.m, s.d);
    EXPECT_EQ(LeapSecond(mjd(day - 1, 86399.9L)), before) << "day before " << s.y << "-" << s.m;
    EXPECT_EQ(LeapSecond(mjd(day, 0)), s.value) << s.y << "-" << s.m;
    EXPECT_EQ(LeapSecond(mjd(day, 86399.9L)), s.value) << s.y << "-" << s.m;
    before = s.value;
  }
  EXPECT_EQ(LeapSecond(mjd(41316, 0)), -9);
  EXPECT_EQ(LeapSecond(mjd(0, 0)), -9);
  EXPECT_EQ(LeapSecond(mjd(57753, 0)), 17);
  EXPECT_EQ(LeapSecond(mjd(57754, 0)), 18);
  EXPECT_EQ(LeapSecond(mjd(199999, 0)), 18);
}

TEST(TimeConversions, ResultsOutsideTheRangesAreFatal) {
  const struct { std::function<void()> f; const char* place; const char* msg; } cases[] = {
      {[] { mjd2ymdhms(mjd(15384, 0)); }, "Function:   ymdhms::TestDatum()", "Input YEAR not valid!"},
      {[] { mjd2ymdhms(mjd(0, 0)); }, "Function:   ymdhms::TestDatum()", "Input YEAR not valid!"},
      {[] { mjd2ymdhms(mjd(124593, 0)); }, "Function:   ymdhms::TestDatum()", "Input YEAR not valid!"},
      {[] {
         mjd m(0, 0);
         m -= 1.0L;  // day 4294967295, never validated
         mjd2ymdhms(m);
       },
       "Function:   ymdhms::TestDatum()", "Input YEAR not valid!"},
      {[] { mjd2GPSws(mjd(44243, 0)); }, "Function:   GPSws::TestDatum()", "Input GPS SECOND not valid!"},
      {[] { mjd2GPSws(mjd(44236, 0)); }, "Function:   GPSws::TestDatum()", "Input GPS WEEK not valid!"},
      {[] { mjd2GPSws(mjd(44244 + 7 * 12000, 0)); }, "Function:   GPSws::TestDatum()", "Input GPS WEEK not valid!"},
      // A week that wraps in 16 bits leaves a second of week that is out of range.
      {[] {
         mjd m(109780, 0);
         m += (long)(7 * 65536);
         mjd2GPSws(m);
       },
       "Function:   GPSws::TestDatum()", "Input GPS SECOND not valid!"},
      {[] { ymdhms2GPSws(ymdhms(1980, 1, 5, 0, 0, 0)); }, "Function:   GPSws::TestDatum()",
       "Input GPS SECOND not valid!"},
      {[] { ymdhms2GPSws(ymdhms(1979, 12, 1, 0, 0, 0)); }, "Function:   GPSws::TestDatum()",
       "Input GPS WEEK not valid!"},
      {[] { GPSws2ymdhms(GPSws(11999, 0)); }, "Function:   ymdhms::TestDatum()", "Input YEAR not valid!"},
  };
  for (const auto& c : cases) {
    CaptureResult r = RunCaptured(c.f);
    EXPECT_EQ(r.exitCode, 1) << c.msg;
    EXPECT_EQ(r.err, ErrorFrame(c.place, c.msg));
  }
}

// Valid epochs within rounding of the end of a day or week give the next day or week,
// rather than an hour 24, a lost day or a second of week of 604800.
TEST(TimeConversions, EpochsAtTheEndOfADay) {
  EXPECT_EQ(Fields(mjd2ymdhms(mjd(59000, 86399.99999999995L))), "2020-06-01 00:00:00.0000");
  EXPECT_EQ(Fields(mjd2ymdhms(mjd(88433, 86399.99999999995L))), "2101-01-01 00:00:00.0000");
  EXPECT_EQ(Fields(mjd2ymdhms(mjd(59000, 86399.9999L))), "2020-05-31 23:59:59.9999");

  // 86400 - 1e-12 s rounds to 86400 in double: the day must follow the rounded second.
  const mjd m = GPSws2mjd(GPSws(2108, 86400 - 1e-12L));
  EXPECT_EQ(m.GetMJDay(), 59001u);
  EXPECT_EQ(m.GetSecond(), 0.0L);
  EXPECT_EQ(Fields(GPSws2ymdhms(GPSws(2108, 86400 - 1e-12L))), "2020-06-01 00:00:00.0000");
  EXPECT_EQ(Fields(GPSws2ymdhms(GPSws(2108, 86399.999999L))), "2020-06-01 00:00:00.0000");
  EXPECT_EQ(Fields(GPSws2ymdhms(GPSws(2108, 604799.999999L))), "2020-06-07 00:00:00.0000");
  // Just below a whole minute the minute can round up while the second comes out a
  // rounding error below 0: the minute's start, not a fatal second.
  EXPECT_EQ(Fields(GPSws2ymdhms(GPSws(2108, 1979.9999999999998L))), "2020-05-31 00:33:00.0000");
  EXPECT_EQ(Fields(GPSws2ymdhms(GPSws(2108, 31619.999999999996L))), "2020-05-31 08:47:00.0000");
  EXPECT_EQ(Fields(GPSws2ymdhms(GPSws(2108, 61199.999999999993L))), "2020-05-31 17:00:00.0000");

  // Saturday 23:59:59.99999999999999 is within rounding of the week's end.
  const GPSws g = ymdhms2GPSws(ymdhms(2020, 6, 6, 23, 59, 59.99999999999999L));
  EXPECT_EQ(g.GetWeek(), 2109);
  EXPECT_EQ(g.GetSecond(), 0.0L);
  const GPSws h = ymdhms2GPSws(ymdhms(2020, 6, 6, 23, 59, 59.5L));
  EXPECT_EQ(h.GetWeek(), 2108);
  EXPECT_NEAR((double)h.GetSecond(), 604799.5, 1e-9);
}

}  // namespace
