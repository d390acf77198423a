// Tests of the sun and moon model and the satellite body frame against
// published values: IAU 1982 mean sidereal time, the sun's declination and
// distance over the year 2000, the moon's distance range.
#include "gdata/LuniSolarPosition.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const long double kPi = static_cast<long double>(3.141592653589793116);
const long double kR2D = 180 / kPi;
const long double kAU = 149597870700.0L;  // m (IAU 2012)

TEST(LuniSolarPositionTest, MeanSiderealTime) {
  LuniSolarPosition lsp;
  // 2000-01-01 12:00 UTC is 12:00:13 GPS time (13 leap seconds): T = 0 and
  // GMST = 67310.54841 s of sidereal time = 280.460618375 deg.
  const mjd j2000(51544, 43213);
  const long double gst = lsp.GSTime(j2000);
  EXPECT_NEAR(gst * kR2D, 280.460618375L, 1e-9);
  EXPECT_NEAR(gst * kR2D, 280.46061837L, 1e-8);

  // Vallado, Fundamentals of Astrodynamics, example 3-5: 1992-08-20 12:14 UT1
  // (12:14:08 GPS time) gives GMST 152.578787810 deg; at longitude -104 deg
  // the local sidereal time is 48.578787810 deg.
  const mjd ex35(48854, 12 * 3600 + 14 * 60 + 8);
  EXPECT_NEAR(lsp.GSTime(ex35) * kR2D, 152.578787810L, 1e-6);
  EXPECT_NEAR(lsp.LSTime(ex35, flh(0.7, -104 / kR2D, 0)) * kR2D, 48.578787810L, 1e-6);
  // Wrapped into [0, 2 pi): +250 deg of longitude passes 360.
  EXPECT_NEAR(lsp.LSTime(ex35, flh(0, kPi, 0)) * kR2D, 332.578787810L, 1e-6);

  // Every value lies in [0, 2 pi), also before J2000.
  for (uint32_t d = 15385; d < 124592; d += 977) {
    const long double g = lsp.GSTime(mjd(d, 12345.5));
    EXPECT_GE(g, 0);
    EXPECT_LT(g, 2 * kPi);
  }
}

TEST(LuniSolarPositionTest, SunDirectionAndDistance) {
  LuniSolarPosition lsp;
  xyz u(0, 0, 0, 7.5);
  long double dist = 0;
  lsp.SunPosition(mjd(51544, 43213), u, dist);
  EXPECT_NEAR(u.GetLength(), 1, 1e-15);
  EXPECT_EQ(u.GetT(), 7.5);
  // At noon UTC on 2000-01-01 the sun stands near the Greenwich meridian
  // (equation of time -3 min) at declination -23.0 deg.
  EXPECT_NEAR(std::asin(u.GetZ()) * kR2D, -23.0, 0.05);
  EXPECT_LT(std::fabs(std::atan2(u.GetY(), u.GetX()) * kR2D), 1.5);

  // Over the year 2000: perihelion 2000-01-03 at 0.98333 AU, aphelion
  // 2000-07-04 at 1.01668 AU, June solstice declination +23.44 deg.
  long double minD = 1e300L, maxD = 0, maxDecl = -90, minDecl = 90;
  double minDay = 0, maxDay = 0;
  for (uint32_t day = 51544; day < 51910; day++) {
    for (int q = 0; q < 4; q++) {
      lsp.SunPosition(mjd(day, q * 21600.0L), u, dist);
      ASSERT_NEAR(u.GetLength(), 1, 1e-15);
      EXPECT_GT(dist, 1.47e11);
      EXPECT_LT(dist, 1.53e11);
      const long double decl = std::asin(u.GetZ()) * kR2D;
      if (dist < minD) minD = dist, minDay = day + q / 4.0;
      if (dist > maxD) maxD = dist, maxDay = day + q / 4.0;
      if (decl > maxDecl) maxDecl = decl;
      if (decl < minDecl) minDecl = decl;
    }
  }
  EXPECT_NEAR(minD / kAU, 0.98333, 2e-4);
  EXPECT_NEAR(maxD / kAU, 1.01668, 2e-4);
  EXPECT_NEAR(minDay, 51546.3, 2.0);  // 2000-01-03 05 h
  EXPECT_NEAR(maxDay, 51729.0, 3.0);  // 2000-07-04 00 h
  EXPECT_NEAR(maxDecl, 23.44, 0.02);
  EXPECT_NEAR(minDecl, -23.44, 0.02);

  // The Earth-fixed direction turns once per solar day: six hours later the
  // sun stands about 90 deg further west.
  xyz u6;
  lsp.SunPosition(mjd(51544, 43213 + 21600), u6, dist);
  lsp.SunPosition(mjd(51544, 43213), u, dist);
  const long double dlon = std::atan2(u6.GetY(), u6.GetX()) - std::atan2(u.GetY(), u.GetX());
  EXPECT_NEAR(dlon * kR2D, -90, 0.1);
}

TEST(LuniSolarPositionTest, MoonDistanceRange) {
  LuniSolarPosition lsp;
  xyz u(0, 0, 0, -1);
  long double dist = 0, minD = 1e300L, maxD = 0;
  for (uint32_t day = 51544; day < 51910; day++) {
    lsp.MoonPosition(mjd(day, 3600.0L * (day % 24)), u, dist);
    ASSERT_NEAR(u.GetLength(), 1, 1e-15);
    EXPECT_EQ(u.GetT(), -1);
    if (dist < minD) minD = dist;
    if (dist > maxD) maxD = dist;
  }
  EXPECT_GT(minD, 3.55e8);
  EXPECT_LT(minD, 3.62e8);
  EXPECT_GT(maxD, 4.03e8);
  EXPECT_LT(maxD, 4.07e8);
  // The moon stays within about 28.6 deg of the equator (5.1 deg + 23.4 deg).
  lsp.MoonPosition(mjd(51544, 0), u, dist);
  EXPECT_LT(std::fabs(std::asin(u.GetZ()) * kR2D), 28.8);
}

void ExpectXyz(const xyz& p, long double x, long double y, long double z, double tol = 1e-15) {
  EXPECT_NEAR(p.GetX(), x, tol);
  EXPECT_NEAR(p.GetY(), y, tol);
  EXPECT_NEAR(p.GetZ(), z, tol);
  EXPECT_EQ(p.GetT(), 0);
}

TEST(LuniSolarPositionTest, SatelliteBodyFrame) {
  xyz X(9, 9, 9, 9), Y(9, 9, 9, 9), Z(9, 9, 9, 9);
  GNSSSatBasis(X, Y, Z, xyz(0, 0, 26000000, 1e-4), xyz(1.5e11, 0, 0));
  ExpectXyz(Z, 0, 0, -1);
  ExpectXyz(Y, 0, -1, 0);
  ExpectXyz(X, 1, 0, 0);

  // Real geometry: a GPS satellite and the sun of 2023-07-08 (mjd 60133).
  LuniSolarPosition lsp;
  xyz sunU;
  long double sunM = 0;
  lsp.SunPosition(mjd(60133, 7200), sunU, sunM);
  const xyz sat(-13936590.1234L, 8273646.7890L, 21071735.3456L, 2.3e-4L);
  // The sun in metres, and (as the position loop passes it) its unit vector:
  // the same axes, the unit vector costing some digits in the cross product.
  struct Case {
    xyz sun;
    double tol;
  };
  for (const Case& c : {Case{sunU * sunM, 1e-15}, Case{sunU, 1e-12}}) {
    GNSSSatBasis(X, Y, Z, sat, c.sun);
    EXPECT_NEAR(X.GetLength(), 1, 1e-15);
    EXPECT_NEAR(Y.GetLength(), 1, 1e-15);
    EXPECT_NEAR(Z.GetLength(), 1, 1e-15);
    EXPECT_NEAR(X * Y, 0, c.tol);
    EXPECT_NEAR(Y * Z, 0, c.tol);
    EXPECT_NEAR(Z * X, 0, c.tol);
    const xyz XxY = CrossP(X, Y);  // right-handed: X x Y = Z
    ExpectXyz(XxY, Z.GetX(), Z.GetY(), Z.GetZ(), c.tol);
    EXPECT_EQ(X.GetT(), 0);
    // Z points to the Earth's centre; the sun lies in the +X half of the X-Z plane.
    EXPECT_NEAR(Z * sat.GetUnitVector(1), -1, 1e-15);
    const xyz toSun = (sunU * sunM - sat).GetUnitVector(1);
    EXPECT_GT(X * toSun, 0);
    EXPECT_NEAR(Y * toSun, 0, c.tol);
  }

  // Sun in line with the satellite: no defined frame, zero axes, no NaN.
  GNSSSatBasis(X, Y, Z, xyz(26000000, 0, 0), xyz(1.5e11, 0, 0));
  ExpectXyz(Z, -1, 0, 0);
  ExpectXyz(Y, 0, 0, 0);
  ExpectXyz(X, 0, 0, 0);
}

}  // namespace
