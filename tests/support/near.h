// EXPECT_NEAR_L(a, b, tol): EXPECT_NEAR in long double. gtest's EXPECT_NEAR takes
// doubles, so a tolerance finer than the resolution of double (1e-18 at 1, 1e-9
// at 2e7) checks nothing of the 80-bit value; here difference and tolerance stay
// long double, and a failure shows both values with 21 digits.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

inline ::testing::AssertionResult NearLongDouble(const char* ea, const char* eb, const char* et,
                                                 long double a, long double b, long double tol) {
  const long double diff = std::fabs(a - b);
  if (diff <= tol) return ::testing::AssertionSuccess();
  char text[512];
  snprintf(text, sizeof text,
           "%s and %s differ by %.6Lg, more than %s (%.6Lg)\n  %s = %.21Lg\n  %s = %.21Lg", ea, eb,
           diff, et, tol, ea, a, eb, b);
  return ::testing::AssertionFailure() << text;
}

#define EXPECT_NEAR_L(a, b, tol) EXPECT_PRED_FORMAT3(NearLongDouble, a, b, tol)
#define ASSERT_NEAR_L(a, b, tol) ASSERT_PRED_FORMAT3(NearLongDouble, a, b, tol)
