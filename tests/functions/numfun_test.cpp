// Sec2HMS carries, SQR, and the run timer and date texts of CppCas (against the
// C library's own clock and conversions).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "functions/CppCas.h"
#include "functions/numfun.h"

TEST(numfun, Sec2HMSCarriesSecondsAndMinutes) {
  unsigned short h, m;
  long double s;
  Sec2HMS(3599.99999999999L, h, m, s);
  EXPECT_EQ(h, 1);
  EXPECT_EQ(m, 0);
  EXPECT_EQ(s, 0.0L);
  Sec2HMS(0.0L, h, m, s);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(m, 0);
  EXPECT_EQ(s, 0.0L);
  Sec2HMS(75.25L, h, m, s);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(m, 1);
  EXPECT_NEAR(static_cast<double>(s), 15.25, 1e-12);
  Sec2HMS(59.96L, h, m, s);  // no carry: printed as 60.0 with one decimal
  EXPECT_EQ(m, 0);
  EXPECT_NEAR(static_cast<double>(s), 59.96, 1e-12);
  Sec2HMS(86399.5L, h, m, s);
  EXPECT_EQ(h, 23);
  EXPECT_EQ(m, 59);
  EXPECT_NEAR(static_cast<double>(s), 59.5, 1e-9);
  Sec2HMS(3600.0L * 70000 + 61.5L, h, m, s);  // hours beyond 16 bits wrap, no undefined cast
  EXPECT_EQ(h, 70000 % 65536);
  EXPECT_EQ(m, 1);
  EXPECT_NEAR(static_cast<double>(s), 1.5, 1e-6);
  EXPECT_EQ(SQR(3.0L), 9.0L);
}

TEST(numfun, CppCasStopwatchCountsSecondsOfProcessorTime) {
  CppCas c;
  EXPECT_EQ(c.Stop(), 0.0);  // not started
  // The stopwatch runs over 0.2 s of processor time as the C library counts it:
  // its seconds lie between the clock readings inside and outside it, whatever
  // the speed of the machine.
  const clock_t outer0 = clock();
  c.Start();
  const clock_t inner0 = clock();
  volatile double x = 0;
  while (clock() - inner0 < CLOCKS_PER_SEC / 5) x = x + 1e-9;
  const clock_t inner1 = clock();
  const double dt = c.Stop();
  const clock_t outer1 = clock();
  const double perTick = 1.0 / static_cast<double>(CLOCKS_PER_SEC);
  EXPECT_GE(dt, static_cast<double>(inner1 - inner0) * perTick);
  EXPECT_LE(dt, static_cast<double>(outer1 - outer0) * perTick);
  EXPECT_EQ(c.Stop(), 0.0);  // a second Stop
}

// The broken-down time of t by the C library, formatted by strftime.
std::string LibraryText(time_t t, bool utc, const char* fmt) {
  struct tm b;
  if (utc)
    gmtime_r(&t, &b);
  else
    localtime_r(&t, &b);
  char text[64];
  strftime(text, sizeof text, fmt, &b);
  return text;
}

// Expects text to be the C library's text of one of the seconds from t0 to t1.
void ExpectTextOfSecond(const std::string& text, time_t t0, time_t t1, bool utc, const char* fmt) {
  std::string want;
  for (time_t t = t0; t <= t1; t++) {
    want = LibraryText(t, utc, fmt);
    if (text == want) return;
  }
  ADD_FAILURE() << "got \"" << text << "\", the C library gives \"" << want << "\"";
}

TEST(numfun, CppCasDateTextsAreTheCLibrarysOwn) {
  // A zone east of Greenwich with summer time, so that local and UTC texts differ.
  const char* old = getenv("TZ");
  const std::string saved = old != nullptr ? old : "";
  setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  tzset();
  CppCas c;
  const time_t t0 = time(nullptr);
  const std::string local = c.Ascii(), utc = c.rxAscii(), date = c.AsciiDate();
  const int year = c.LetoDt(), month = c.MesecDt(), day = c.DanDt(), hour = c.Ura(), minute = c.Min(),
            second = c.Sec();
  const time_t t1 = time(nullptr);
  ExpectTextOfSecond(local, t0, t1, false, "%Y-%m-%d  %H:%M:%S");
  ExpectTextOfSecond(utc, t0, t1, true, "%Y%m%d %H%M%S UTC");
  ExpectTextOfSecond(date, t0, t1, false, "%Y-%m-%d");
  // Each field on its own call, so each is the library's field of one of the seconds.
  const int got[6] = {year, month, day, hour, minute, second};
  const char* fmt[6] = {"%Y", "%m", "%d", "%H", "%M", "%S"};
  for (int k = 0; k < 6; k++) {
    const std::string text = k == 0 ? std::to_string(got[k]) : std::to_string(100 + got[k]).substr(1);
    ExpectTextOfSecond(text, t0, t1, false, fmt[k]);
  }
  // The same instant an hour or two apart in the two texts.
  EXPECT_NE(local.substr(12, 2), utc.substr(9, 2));
  if (old != nullptr)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}
