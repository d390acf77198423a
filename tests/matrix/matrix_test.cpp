// matrix: validated access, copies, arithmetic and the fatal size messages.
#include <gtest/gtest.h>

#include "matrix/matrix.h"
#include "support/capture.h"

TEST(matrix, RowColumnAccessIsRowMajor) {
  matrix<double> m;
  m.Resize(2, 3, 0.0);
  m(1, 2) = 5.0;
  EXPECT_EQ(m(5), 5.0);
  EXPECT_EQ(m.NRow(), 2);
  EXPECT_EQ(m.NCol(), 3);
  m.Resize(2, 3, 1.0);
  EXPECT_EQ(m(5), 1.0);
  matrix<double> c(m);
  c(0) = 9.0;
  EXPECT_EQ(m(0), 1.0);
  m = m;
  EXPECT_EQ(m.Length(), 6);
  matrix<double> d;
  d = c;
  EXPECT_EQ(d(0), 9.0);
}

TEST(matrix, ArithmeticInExtendedPrecision) {
  matrix<long double> a(3, 1), b(3, 1);
  for (long i = 0; i < 3; i++) {
    a(i) = i + 1;
    b(i) = 10 * (i + 1);
  }
  matrix<long double> s = a + b;
  EXPECT_EQ(s(2), 33.0L);
  a += b;
  EXPECT_EQ(a(1), 22.0L);
  a *= 0.5L;
  EXPECT_EQ(a(1), 11.0L);
  matrix<long double> k = 2.0L * b;
  EXPECT_EQ(k(2), 60.0L);
  matrix<long double> z(3, 0);
  matrix<long double> kz = 2.0L * z;  // one zero dimension passes
  EXPECT_EQ(kz.Length(), 0);
}

TEST(matrix, SizeAndIndexErrorsAreFatal) {
  auto err = [](std::function<void()> f) {
    CaptureResult r = RunCaptured(f);
    EXPECT_EQ(r.exitCode, 1);
    return r.err;
  };
  EXPECT_EQ(err([] { matrix<double> m; m(0) = 1; }),
            ErrorFrame("Operator:   matrix::()", "Matrix is not set: dim = (0,0)"));
  EXPECT_EQ(err([] { volatile long zero = 0; matrix<double> m(3, zero); m(0, 0) = 1; }),
            ErrorFrame("Operator:   matrix::()", "Matrix is not set: dim = (0,0)"));
  EXPECT_EQ(err([] { matrix<double> m(2, 3); m(2, 0) = 1; }),
            ErrorFrame("Operator:   matrix::()", "Row index not in range: i=2 not in [0,1]"));
  EXPECT_EQ(err([] { matrix<double> m(2, 3); m(0, 3) = 1; }),
            ErrorFrame("Operator:   matrix::()", "Column index not in range: j=3 not in [0,2]"));
  EXPECT_EQ(err([] { matrix<double> m(2, 3); m(6) = 1; }),
            ErrorFrame("Operator:   matrix::()", "Matrix index not in range: i=6 not in [0,5]"));
  EXPECT_EQ(err([] { matrix<long double> a(3, 1), b(1, 3); a + b; }),
            ErrorFrame("Operator:   matrix::+", "Matrix dimensions do not agree: [3,1] and [1,3]"));
  EXPECT_EQ(err([] { matrix<long double> a(3, 1), b(1, 3); a += b; }),
            ErrorFrame("Operator:   matrix::+=", "Matrix dimensions do not agree: [3,1] and [1,3]"));
  EXPECT_EQ(err([] { matrix<long double> a; 2.0L * a; }),
            ErrorFrame("Operator:   matrix::*", "Matrix is not set: dim = (0,0)"));
}
