// Tests of the Cartesian vector xyz: what each operation does with t, length and unit vector,
// rotations, products, equality tolerance, and the text layouts of xyzns.
#include "gdata/xyz.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>

#include "support/near.h"

namespace {

const long double kPi = static_cast<long double>(3.141592653589793116);

// Restores the process-wide print settings after each test.
class XyzTest : public ::testing::Test {
 protected:
  void TearDown() override {
    xyzns::NDec = 4;
    xyzns::NDecT = 6;
    xyzns::Width = 14;
    xyzns::WidthT = 12;
    xyzns::PrintTime = false;
    xyzns::ReadTime = false;
    xyzns::Unit = 1;
    xyzns::UnitT = 1;
  }
};

void ExpectXyz(const xyz& p, long double x, long double y, long double z, long double t,
               long double tol) {
  EXPECT_NEAR_L(p.GetX(), x, tol);
  EXPECT_NEAR_L(p.GetY(), y, tol);
  EXPECT_NEAR_L(p.GetZ(), z, tol);
  EXPECT_NEAR_L(p.GetT(), t, tol);
}

TEST_F(XyzTest, FourthComponentFollowsEachOperation) {
  ExpectXyz(xyz(1, 2, 3), 1, 2, 3, 0, 0);
  xyz p(1, 2, 3, 5);
  p.Set(1, 2, 3);
  EXPECT_EQ(p.GetT(), 0);
  p.Set(4, 5, 6, 7);
  p.SetX(7);
  ExpectXyz(p, 7, 5, 6, 7, 0);

  // Subtracting an antenna offset keeps the clock correction of a position.
  xyz pos(20000000, 1000, -5000, 1e-4L), off(0.1L, 0.2L, 0.3L);
  ExpectXyz(pos - off, 19999999.9L, 999.8L, -5000.3L, 1e-4L, 1e-9);
  ExpectXyz(pos + off, 20000000.1L, 1000.2L, -4999.7L, 1e-4L, 1e-9);
  ExpectXyz(pos * 2, 40000000, 2000, -10000, 2e-4L, 0);
  ExpectXyz(2 * pos, 40000000, 2000, -10000, 2e-4L, 0);
  xyz q(4, 8, 12, 16);
  q *= 2;
  ExpectXyz(q, 8, 16, 24, 32, 0);
  q /= 4;
  ExpectXyz(q, 2, 4, 6, 8, 0);
  q -= xyz(1, 1, 1, 1);
  q += xyz(0, 0, 0, 2);
  ExpectXyz(q, 1, 3, 5, 9, 0);

  // Derived vectors carry t = 0, rotations copy it.
  EXPECT_EQ(ElementP(xyz(1, 2, 3, 4), xyz(5, 6, 7, 8)).GetT(), 0);
  ExpectXyz(ElementP(xyz(1, 2, 3, 4), xyz(5, 6, 7, 8)), 5, 12, 21, 0, 0);
  ExpectXyz(sqrt(xyz(4, 9, 16, 25)), 2, 3, 4, 0, 0);
  EXPECT_EQ(xyz(1, 2, 3, 9).RotateX(0.3).GetT(), 9);
  EXPECT_EQ(xyz(1, 2, 3, 9).RotateY(0.3).GetT(), 9);
  xyz self(1, 2, 3, 4);
  self = self;
  ExpectXyz(self, 1, 2, 3, 4, 0);
}

TEST_F(XyzTest, LengthAndUnitVector) {
  EXPECT_EQ(xyz(3, 4, 0).GetLength(), 5);
  EXPECT_EQ(xyz(3, 4, 0, 100).GetLength(), 5);
  EXPECT_EQ(xyz(0, 0, -7).GetLength(), 7);
  // Squares of 1e3000 overflow even extended precision; the scaled form does not.
  const long double a = 1e3000L;
  const long double len = xyz(a, a, 0).GetLength();
  EXPECT_TRUE(std::isfinite(len));
  EXPECT_NEAR_L(len / a, std::sqrt(2.0L), 1e-18L);

  ExpectXyz(xyz(0, 0, 2, 9).GetUnitVector(-1), 0, 0, -1, 0, 0);
  xyz u = xyz(1, 2, 2, 3).GetUnitVector(1);
  ExpectXyz(u, 1 / 3.0L, 2 / 3.0L, 2 / 3.0L, 0, 1e-18L);
  EXPECT_NEAR_L(xyz(-26000000, 12345678, 3000000).GetUnitVector(1).GetLength(), 1, 1e-18L);
  // The zero vector has no direction: length 0 and a zero unit vector, no NaN.
  EXPECT_EQ(xyz().GetLength(), 0);
  EXPECT_EQ(xyz(-0.0L, 0, -0.0L, 5).GetLength(), 0);
  ExpectXyz(xyz(0, 0, 0, 4).GetUnitVector(1), 0, 0, 0, 0, 0);
  // A NaN component is no zero vector: NaN length and unit vector, wherever it stands.
  const long double nan = std::numeric_limits<long double>::quiet_NaN();
  for (const xyz& p : {xyz(nan, 0, 0), xyz(0, nan, 0), xyz(0, 0, nan), xyz(nan, 3, 4), xyz(3, 0, nan)}) {
    EXPECT_TRUE(std::isnan(p.GetLength()));
    const xyz u = p.GetUnitVector(1);
    EXPECT_TRUE(std::isnan(u.GetX()) && std::isnan(u.GetY()) && std::isnan(u.GetZ()));
  }
}

TEST_F(XyzTest, RotationsAreActiveAndRightHanded) {
  ExpectXyz(xyz(1, 0, 0, 7).RotateZ(kPi / 2), 0, 1, 0, 7, 1e-15L);
  ExpectXyz(xyz(0, 1, 0).RotateX(kPi / 2), 0, 0, 1, 0, 1e-15L);
  ExpectXyz(xyz(0, 0, 1).RotateY(kPi / 2), 1, 0, 0, 0, 1e-15L);
  // A rotation keeps the length and a rotation back restores the vector.
  xyz p(-15123456.789L, 21987654.321L, 3456789.012L, 1e-5L);
  xyz r = p.RotateZ(0.7L).RotateX(-1.1L).RotateY(2.3L);
  EXPECT_NEAR_L(r.GetLength(), p.GetLength(), 1e-8L);
  ExpectXyz(r.RotateY(-2.3L).RotateX(1.1L).RotateZ(-0.7L), p.GetX(), p.GetY(), p.GetZ(),
            p.GetT(), 1e-8L);
  // The object itself is unchanged.
  ExpectXyz(p, -15123456.789L, 21987654.321L, 3456789.012L, 1e-5L, 0);
}

TEST_F(XyzTest, DotAndCrossProducts) {
  EXPECT_EQ(xyz(1, 2, 3, 9) * xyz(4, 5, 6, 9), 32);
  ExpectXyz(CrossP(xyz(1, 0, 0), xyz(0, 1, 0)), 0, 0, 1, 0, 0);
  ExpectXyz(CrossP(xyz(0, 1, 0, 3), xyz(0, 0, 1, 3)), 1, 0, 0, 0, 0);
  ExpectXyz(CrossP(xyz(1, 2, 3), xyz(4, 5, 6)), -3, 6, -3, 0, 0);
}

TEST_F(XyzTest, EqualityTolerance) {
  xyz a(1, 2, 3, 4);
  EXPECT_TRUE(a == xyz(1 + 1e-15L, 2, 3, 4));
  // 0 and 1e-14 differ by exactly the tolerance: unequal.
  EXPECT_FALSE(xyz(0, 0, 0) == xyz(1e-14, 0, 0));
  EXPECT_TRUE(xyz(0, 0, 0) != xyz(0, 0, 1e-14));
  EXPECT_FALSE(a == xyz(1, 2, 3, 5));
  xyz n(NAN, 0, 0);
  EXPECT_TRUE(n == n);
  EXPECT_FALSE(n == xyz(NAN, 0, 0));
}

TEST_F(XyzTest, OutputLayouts) {
  std::ostringstream os;
  os << xyz(1.23456L, 0, 0);
  EXPECT_EQ(os.str(), "        1.2346        0.0000        0.0000");

  xyzns::Unit = xyzns::CM;
  os.str("");
  os << xyz(1.23456L, 0, -2);
  EXPECT_EQ(os.str(), "      123.4560        0.0000     -200.0000");

  // Results-file settings: 16.3 coordinates, clock in ms in 14.6.
  xyzns::Unit = xyzns::M;
  xyzns::NDec = 3;
  xyzns::Width = 16;
  xyzns::PrintTime = true;
  xyzns::WidthT = 14;
  xyzns::UnitT = xyzns::MS;
  os.str("");
  os << xyz(-12345678.12345L, 23456789.5L, 1234.0004L, 0.000123456789L);
  EXPECT_EQ(os.str(), "   -12345678.123    23456789.500        1234.000      0.123457");
  EXPECT_TRUE(os.flags() & std::ios::fixed);

  // Factors other than 100 and 1000 divide: 1e-3 turns metres into kilometres.
  xyzns::PrintTime = false;
  xyzns::Unit = 0.001L;
  os.str("");
  os << xyz(1, 2, 3);
  EXPECT_EQ(os.str(), "        1000.000        2000.000        3000.000");
}

TEST_F(XyzTest, InputAndRoundTrip) {
  xyz p(9, 9, 9, 9);
  xyzns::Unit = xyzns::MM;
  std::istringstream("1 2 3") >> p;
  ExpectXyz(p, 0.001L, 0.002L, 0.003L, 0, 1e-18L);

  xyzns::ReadTime = true;
  xyzns::UnitT = xyzns::MS;
  std::istringstream("1 2 3 5") >> p;
  EXPECT_NEAR_L(p.GetT(), 0.005L, 1e-18L);

  // Without ReadTime a fourth number stays unread.
  xyzns::ReadTime = false;
  xyzns::Unit = 1;
  std::istringstream is("1 2 3 5");
  is >> p;
  long double rest = 0;
  is >> rest;
  EXPECT_EQ(rest, 5);
  EXPECT_EQ(p.GetT(), 0);

  // A value written and read back with the same settings agrees within the decimals.
  xyzns::Unit = xyzns::CM;
  xyzns::PrintTime = xyzns::ReadTime = true;
  xyzns::UnitT = xyzns::MCS;
  xyz w(-21234567.891234L, 12345.678901L, 7.000049L, 2.5e-4L), back;
  std::stringstream ss;
  ss << w;
  ss >> back;
  ExpectXyz(back, w.GetX(), w.GetY(), w.GetZ(), w.GetT(), 1e-6L);

  // A failed read leaves the stream failed.
  std::istringstream bad("1 x 3");
  bad >> p;
  EXPECT_TRUE(bad.fail());
}

}  // namespace
