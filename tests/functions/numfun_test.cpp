// Sec2HMS carries, SQR, and the run timer and date texts of CppCas.
#include <gtest/gtest.h>

#include <cstring>

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

TEST(numfun, CppCasStopwatchAndDateTexts) {
  CppCas c;
  EXPECT_EQ(c.Stop(), 0.0);  // not started
  c.Start();
  volatile double x = 0;
  for (int i = 0; i < 20000000; i++) x = x + 1e-9;
  double dt = c.Stop();
  EXPECT_GT(dt, 0.0);
  EXPECT_LT(dt, 60.0);  // seconds, not thousands of seconds
  EXPECT_EQ(c.Stop(), 0.0);
  const char* a = c.Ascii();
  ASSERT_EQ(strlen(a), 20u);
  EXPECT_EQ(a[4], '-');
  EXPECT_EQ(a[10], ' ');
  EXPECT_EQ(a[11], ' ');
  EXPECT_EQ(a[14], ':');
  const char* u = c.rxAscii();
  ASSERT_EQ(strlen(u), 19u);
  EXPECT_STREQ(u + 15, " UTC");
  EXPECT_EQ(strlen(c.AsciiDate()), 10u);
  EXPECT_GE(c.LetoDt(), 2024);
  EXPECT_GE(c.MesecDt(), 1);
  EXPECT_LE(c.MesecDt(), 12);
}
