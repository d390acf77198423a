// Fixed-point text of long doubles against printf "%*.*Lf": random values of
// every magnitude the results tables hold, exact ties, carries, signed zeros,
// widths narrower than the text, and the values left to printf.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "functions/fixedfmt.h"

namespace {

std::string ViaPrintf(long double v, int w, int p) {
  char b[8192];
  snprintf(b, sizeof b, "%*.*Lf", w, p, v);
  return b;
}

std::string ViaFixed(long double v, int w, int p) {
  char b[8192];
  int n = FixedText(b, sizeof b, v, w, p);
  return n < 0 ? std::string("<none>") : std::string(b, static_cast<size_t>(n));
}

}  // namespace

TEST(FixedText, SameBytesAsPrintf) {
  std::mt19937_64 rng(20230708);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_int_distribution<int> ex(-30, 70);
  const int widths[] = {0, 6, 12, 14, 16, 40};
  long cases = 0;
  for (int i = 0; i < 200000; i++) {
    // a 64-bit mantissa from two doubles, scaled over a wide range of magnitudes
    long double v = std::ldexp(static_cast<long double>(unit(rng)) + std::ldexp(static_cast<long double>(unit(rng)), -40),
                               ex(rng));
    int p = i % 8;
    int w = widths[i % 6];
    ASSERT_EQ(ViaFixed(v, w, p), ViaPrintf(v, w, p)) << "value " << static_cast<double>(v) << " prec " << p;
    cases++;
  }
  // exact ties at the last decimal: (k + 1/2) 10^-p is a binary fraction for these
  const long double ties[] = {0.5L, 1.5L, 2.5L, 0.125L, 0.375L, 0.0625L, 0.1875L, -0.0625L, -2.5L, 1e6L + 0.5L,
                              12345678.0625L, -0.03125L, 0.0009765625L, 4503599627370496.5L};
  for (long double t : ties)
    for (int p = 0; p <= 10; p++) {
      ASSERT_EQ(ViaFixed(t, 0, p), ViaPrintf(t, 0, p)) << static_cast<double>(t) << " prec " << p;
      cases++;
    }
  // carries into a new digit, signed zeros, tiny values, the width narrower than the text
  const long double edges[] = {0.0L, -0.0L, 0.9999996L, 9.9995L, 999.9995L, -999.9995L, 99999999.99951L,
                               -1e-7L, 1e-7L, -4e-4L, 5e-4L, 1e-4000L, -1e-4000L, 18446744073709551615.0L,
                               std::numeric_limits<long double>::denorm_min(), 0.000500000000000000001L};
  for (long double x : edges)
    for (int p = 0; p <= fixedfmt::MaxDecimals; p++)
      for (int w : {0, 3, 16}) {
        ASSERT_EQ(ViaFixed(x, w, p), ViaPrintf(x, w, p)) << static_cast<double>(x) << " prec " << p;
        cases++;
      }
  // left to printf: not finite, 2^64 and above, more decimals than the integer path holds
  const long double others[] = {std::numeric_limits<long double>::infinity(), -std::numeric_limits<long double>::infinity(),
                                std::numeric_limits<long double>::quiet_NaN(), 18446744073709551616.0L, -1e30L, 1e300L};
  for (long double x : others) {
    EXPECT_EQ(ViaFixed(x, 16, 3), ViaPrintf(x, 16, 3));
    EXPECT_EQ(ViaFixed(0.1L, 30, 25), ViaPrintf(0.1L, 30, 25));
  }
  // a text longer than the room is refused, never cut
  char small[8];
  const int cap = sizeof small;
  EXPECT_EQ(FixedText(small, cap, 123456.789L, 0, 3), -1);
  EXPECT_EQ(FixedText(small, cap, 1e30L, 0, 3), -1);
  EXPECT_EQ(FixedText(small, cap, 1.5L, 9, 1), -1);
  EXPECT_EQ(FixedText(small, cap, 1.5L, 8, 1), 8);
  EXPECT_GT(cases, 200000);
}

TEST(FixedText, ZeroFilledAsPrintf) {
  std::mt19937_64 rng(5);
  std::uniform_real_distribution<double> sec(0.0, 100.0);
  char a[256], b[256];
  for (int i = 0; i < 50000; i++) {
    long double v = static_cast<long double>(sec(rng)) * (i % 3 == 0 ? 1e-3L : 1.0L);
    if (i % 7 == 0) v = -v;
    const int w = i % 9, p = i % 4;
    snprintf(a, sizeof a, "%0*.*Lf", w, p, v);
    const int n = FixedTextZeroFilled(b, sizeof b, v, w, p);
    ASSERT_EQ(std::string(b, static_cast<size_t>(n)), std::string(a)) << static_cast<double>(v);
  }
  for (long double v : {0.0L, -0.0L, 59.96L, 9.95L, std::numeric_limits<long double>::infinity(),
                        std::numeric_limits<long double>::quiet_NaN(), 1e30L}) {
    snprintf(a, sizeof a, "%04.1Lf", v);
    const int n = FixedTextZeroFilled(b, sizeof b, v, 4, 1);
    EXPECT_EQ(std::string(b, static_cast<size_t>(n)), std::string(a));
  }
}
