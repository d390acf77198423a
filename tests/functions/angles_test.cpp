// Angle units, packed sexagesimal angles, PolmerN and the Lagrange polynomial.
#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>

#include "functions/angles.h"
#include "support/capture.h"
#include "support/near.h"

TEST(angles, PiIsTheDoubleValueAndConversionsAreExactAtHalfTurn) {
  EXPECT_EQ(pi, static_cast<long double>(3.141592653589793116));
  EXPECT_NE(pi, 3.14159265358979323846264338327950288L);
  EXPECT_EQ(rad2deg(pi), 180.0L);
  EXPECT_EQ(deg2rad(180.0L), pi);
  EXPECT_NEAR(static_cast<double>(deg2gon(90.0L)), 100.0, 1e-12);
  EXPECT_NEAR(static_cast<double>(rad2gon(pi)), 200.0, 1e-12);
  EXPECT_EQ(deg2gon(9.0L), 9.0L * static_cast<long double>(1.1111111111111112));
}

TEST(angles, PackedSexagesimal) {
  EXPECT_NEAR_L(rad2dms(deg2rad(10.5L)), 10.3L, 1e-15L);
  EXPECT_NEAR_L(rad2dms(deg2rad(-0.5L)), -0.3L, 1e-15L);
  // 10 deg 29 min 59.99999999999999 s comes out as the next full minute
  long double almost = deg2rad(10.0L + 29.0L / 60 + 59.99999999999999L / 3600);
  EXPECT_NEAR_L(rad2dms(almost), 10.30L, 1e-14L);
  EXPECT_NEAR_L(dms2rad(10.3L), deg2rad(10.5L), 1e-15L);
  EXPECT_NEAR_L(dms2rad(10.29L), deg2rad(10.0L + 29.0L / 60), 1e-15L);
  EXPECT_NEAR_L(dms2rad(-10.3L), -deg2rad(10.5L), 1e-15L);
  // the double 10.29 lies 9e-16 below 10.29: still 10 deg 29 min, not 28 min 100 s
  EXPECT_NEAR(dms2rad(10.29), static_cast<double>(deg2rad(10.0L + 29.0L / 60)), 1e-15);
  EXPECT_EQ(dms2dms(10.29, 4), " 10 29  0.0000");
  EXPECT_EQ(dms2dms(10.29305L, 4), " 10 29 30.5000");
  EXPECT_EQ(dms2dms(-0.3L, 4), " -0 30  0.0000");
  EXPECT_EQ(dms2dms(-10.3L, 2), "-10 30  0.00");
  EXPECT_NEAR(dms2deg(10, 30, 0.0), static_cast<double>(deg2rad(10.5L)), 1e-15);
  EXPECT_NEAR(dms2deg(-10, 30, 0.0), -static_cast<double>(deg2rad(10.5L)), 1e-15);
}

// Every whole second of 0 to 359 deg 59 min 59 s, packed -> radians and radians ->
// packed, with double and with long double numbers. The packed value is the number
// nearest to the decimal DDD.MMSS; the radians are seconds * pi / 648000. Without
// a carry tolerance that covers the rounding, some 10 000 double values came out
// 40 s too large (28 min 100 s for 29 min) and some hundreds kept 60 s.
template <class T>
void CheckEveryWholeSecond(const char* kind, long double tolRad, long double tolPacked) {
  long bad = 0;
  for (long n = 0; n < 360L * 3600; n++) {
    const long d = n / 3600, m = (n / 60) % 60, s = n % 60;
    const T packed = static_cast<T>(d * 10000 + m * 100 + s) / static_cast<T>(10000);
    const long double rad = static_cast<long double>(n) * (pi / 648000);
    const long double toRad = dms2rad(packed);
    const long double toPacked = rad2dms(static_cast<T>(rad));
    if (std::fabs(toRad - rad) <= tolRad && std::fabs(toPacked - packed) <= tolPacked) continue;
    if (++bad <= 5)
      ADD_FAILURE() << kind << " " << d << " deg " << m << " min " << s << " s: dms2rad gives "
                    << std::fixed << std::setprecision(9) << static_cast<double>(rad2deg(toRad))
                    << " deg, rad2dms gives " << static_cast<double>(toPacked);
  }
  EXPECT_EQ(bad, 0) << kind << ": values off";
}

TEST(angles, PackedSexagesimalEveryWholeSecondBothWays) {
  CheckEveryWholeSecond<double>("double", 1e-14L, 1e-13L);
  CheckEveryWholeSecond<long double>("long double", 1e-17L, 1e-16L);
}

TEST(angles, PolmerN) {
  EXPECT_EQ(PolmerN(0.7L, 6378137.0L, 0.0L), 6378137.0L);
  // WGS84 at 45 degrees: N = a / sqrt(1 - e^2 sin^2 phi) = 6388838.29 m
  long double e = std::sqrt(0.00669437999014L);
  EXPECT_NEAR(static_cast<double>(PolmerN(deg2rad(45.0L), 6378137.0L, e)), 6388838.2901, 1e-3);
}

TEST(angles, LagrangePolynomial) {
  matrix<double> x, y;
  x.Resize(3, 1, 0.0);
  y.Resize(3, 1, 0.0);
  double xs[] = {0, 1, 2}, ys[] = {1, 3, 7};
  for (int i = 0; i < 3; i++) {
    x(i) = xs[i];
    y(i) = ys[i];
  }
  EXPECT_DOUBLE_EQ(LagrangePolynomial(x, y, 3.0, -1), 13.0);
  EXPECT_DOUBLE_EQ(LagrangePolynomial(x, y, 3.0, 2), 7.0);
  EXPECT_DOUBLE_EQ(LagrangePolynomial(x, y, 1.0, -1), 3.0);
  CaptureResult r = RunCaptured([&] { LagrangePolynomial(x, y, 3.0, 4); });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, ErrorFrame("Operator:   matrix::()", "Matrix index not in range: i=3 not in [0,2]"));
}
