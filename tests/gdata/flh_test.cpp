// Tests of the reference ellipsoid, the geodetic position flh (range test,
// layouts, input) and the conversions flh <-> xyz, against published values.
#include "gdata/flh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "support/capture.h"
#include "support/near.h"

namespace {

const long double kPi = static_cast<long double>(3.141592653589793116);
const long double kD2R = kPi / 180;

std::string Frame(const char* place, const char* msg) {
  return std::string("\n**** ") + place + ": Error -> " + msg + " ****\n     Exiting " + place +
         " ... \n\n";
}

class FlhTest : public ::testing::Test {
 protected:
  void TearDown() override {
    flhns::Unit = flhns::RAD;
    flhns::PrintTime = false;
    flhns::ReadTime = false;
    flhns::UnitT = 1;
  }
};

TEST_F(FlhTest, EllipsoidTable) {
  elipsoid el;
  el.Set(elipsoidns::WGS84);
  EXPECT_EQ(el.GetA(), 6378137);
  // WGS 84 first eccentricity 0.0818191908426215 (NIMA TR8350.2, table 3.3).
  EXPECT_NEAR_L(el.GetE(), 0.0818191908426215L, 1e-16);
  EXPECT_NEAR_L(el.GetB(), 6356752.314245L, 1e-6);
  EXPECT_NEAR_L(el.GetE2(), 0.0820944379496957L, 1e-15);
  EXPECT_EQ(el.GetF(), static_cast<long double>(1.0 / 298.257223563));
  el.Set(elipsoidns::GRS80);
  EXPECT_NEAR_L(el.GetB(), 6356752.314140L, 1e-6);  // Moritz, GRS 1980
  el.Set(elipsoidns::PZ90);
  EXPECT_EQ(el.GetA(), 6378136);
  el.Set(elipsoidns::BESSEL);
  EXPECT_EQ(el.GetA(), static_cast<long double>(6377397.155));
  el.Set(elipsoidns::SPHERE);
  EXPECT_EQ(el.GetE(), 0);
  EXPECT_EQ(el.GetA(), 6371000);

  for (int bad : {5, -1}) {
    CaptureResult r = RunCaptured([bad] {
      elipsoid e;
      e.Set(bad);
    });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, Frame("Function:   elipsoid::Set()", "Improper ELLIPSOID setting!"));
  }
}

TEST_F(FlhTest, RangeTestUsesDoublePrecisionPi) {
  const long double halfPiDouble = static_cast<long double>(3.141592653589793116) / 2;
  EXPECT_TRUE(flh(halfPiDouble, 0, 0).TestFi());
  EXPECT_TRUE(flh(0, -kPi, 0).TestLa());
  flh p;
  p.Set(1.5707963267948966192L, 0, 0, 0);  // pi/2 in extended precision: above the limit
  EXPECT_FALSE(p.TestFi());
  p.Set(NAN, 0, 0, 0);
  EXPECT_FALSE(p.TestFi());
  p.Set(0, NAN, 0, 0);
  EXPECT_FALSE(p.TestLa());

  const std::string lat = Frame("Function:   flh::TestPos()", "Input LATITUDE not valid");
  const std::string lon = Frame("Function:   flh::TestPos()", "Input LONGITUDE not valid");
  CaptureResult r = RunCaptured([] { flh q(1.5707963267948966192L, 0, 0); });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, lat);
  // Both out of range: only the latitude is reported.
  r = RunCaptured([] { flh q(2, 4, 0); });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, lat);
  r = RunCaptured([] { flh q(0, -3.2L, 0); });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, lon);
  // The second addition of a latitude of 1 rad leaves the range.
  r = RunCaptured([] {
    flh q(0, 0, 0), one(1, 0, 0);
    q += one;
    std::cout << "first ok";
    q += one;
  });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "first ok");
  EXPECT_EQ(r.err, lat);
  // Copies test; plain setters do not.
  r = RunCaptured([] {
    flh q;
    q.Set(0, 4, 0, 0);
    std::cout << "set ok";
    flh c(q);
  });
  EXPECT_EQ(r.out, "set ok");
  EXPECT_EQ(r.err, lon);

  flh a(0.5, 1, 100, 2), b(0.25, -2, 50, 1);
  flh s = a + b, d = a - b;
  EXPECT_TRUE(s == flh(0.75, -1, 150, 3));
  EXPECT_TRUE(d == flh(0.25, 3, 50, 1));
  EXPECT_TRUE(a != flh(0.5, 1, 100, 2.5));
  EXPECT_TRUE(a == flh(0.5 + 1e-15L, 1, 100, 2));
}

TEST_F(FlhTest, ConversionsOnWgs84) {
  elipsoid w;
  w.Set(elipsoidns::WGS84);
  xyz p = flh2xyz(flh(0, 0, 0), w);
  EXPECT_NEAR_L(p.GetX(), 6378137, 1e-9);
  EXPECT_NEAR_L(p.GetY(), 0, 1e-9);
  EXPECT_NEAR_L(p.GetZ(), 0, 1e-9);
  p = flh2xyz(flh(kPi / 2, 0, 0), w);
  EXPECT_NEAR_L(p.GetZ(), 6356752.314245L, 1e-6);
  EXPECT_NEAR_L(p.GetX(), 0, 1e-6);

  flh g = xyz2flh(xyz(6378137, 0, 0, 0.5), w);
  EXPECT_NEAR_L(g.GetF(), 0, 1e-15);
  EXPECT_NEAR_L(g.GetL(), 0, 1e-15);
  EXPECT_NEAR_L(g.GetH(), 0, 1e-9);
  EXPECT_EQ(g.GetT(), 0.5);
  // The arctangent is of full extended precision; the quadrant rule adds the
  // double value of pi, 1.2e-16 below pi.
  const long double exactPi = 3.14159265358979323846264338327950288L;
  EXPECT_NEAR_L(xyz2flh(xyz(0, 6378137, 0), w).GetL(), exactPi / 2, 1e-18L);
  EXPECT_EQ(xyz2flh(xyz(-6378137, 0, 0), w).GetL(), -kPi);
  EXPECT_NEAR_L(xyz2flh(xyz(-1, 1, 0), w).GetL(), 3 * exactPi / 4, 1.3e-16L);
  EXPECT_NEAR_L(xyz2flh(xyz(-1, -1, 0), w).GetL(), -3 * exactPi / 4, 1.3e-16L);

  // Worked values of the ERFA test suite (eraGc2gd, eraGd2gc), WGS84 and GRS80.
  flh z = xyz2flh(xyz(2e6, 3e6, 5.244e6), w);
  EXPECT_NEAR_L(z.GetL(), 0.9827937232473290680L, 1e-14);
  EXPECT_NEAR_L(z.GetF(), 0.97160184819075459L, 1e-14);
  EXPECT_NEAR_L(z.GetH(), 331.4172461426059892L, 1e-8);
  p = flh2xyz(flh(-0.5, 3.1, 2500), w);
  EXPECT_NEAR_L(p.GetX(), -5599000.5577049947L, 1e-7);
  EXPECT_NEAR_L(p.GetY(), 233011.67223479203L, 1e-7);
  EXPECT_NEAR_L(p.GetZ(), -3040909.4706983363L, 1e-7);
  elipsoid grs;
  grs.Set(elipsoidns::GRS80);
  z = xyz2flh(xyz(2e6, 3e6, 5.244e6), grs);
  EXPECT_NEAR_L(z.GetF(), 0.97160184820607853L, 1e-14);
  EXPECT_NEAR_L(z.GetH(), 331.41731754844348L, 1e-8);
  p = flh2xyz(flh(-0.5, 3.1, 2500), grs);
  EXPECT_NEAR_L(p.GetX(), -5599000.5577260984L, 1e-7);
  EXPECT_NEAR_L(p.GetY(), 233011.6722356702949L, 1e-7);
  EXPECT_NEAR_L(p.GetZ(), -3040909.4706095479L, 1e-7);

  // Round trip of satellite positions to better than a micrometre.
  const xyz sats[] = {xyz(-13936590.123456L, 8273646.789012L, 21071735.345678L, 1.2e-4L),
                      xyz(26559800.5L, -1000.25L, -150.75L),
                      xyz(-5000000.0L, -25000000.0L, -6000000.0L),
                      xyz(42164000.0L, 10.0L, 5.0L)};
  for (const xyz& s : sats) {
    xyz back = flh2xyz(xyz2flh(s, w), w);
    EXPECT_LT((back - s).GetLength(), 1e-6);
    EXPECT_EQ(back.GetT(), s.GetT());
  }
  // Points on the Z axis: longitude 0, the pole, height above the minor axis.
  flh np = xyz2flh(xyz(0, 0, 6356852.314245L), w);
  EXPECT_EQ(np.GetL(), 0);
  EXPECT_TRUE(np.TestFi());
  EXPECT_NEAR_L(np.GetF(), kPi / 2, 1e-18);
  EXPECT_NEAR_L(np.GetH(), 100, 1e-6);
  flh sp = xyz2flh(xyz(0, 0, -6356752.314245L), w);
  EXPECT_NEAR_L(sp.GetF(), -kPi / 2, 1e-18);
  EXPECT_NEAR_L(sp.GetH(), 0, 1e-6);
}

TEST_F(FlhTest, OutputLayouts) {
  const flh p(46.05L * kD2R, 14.5L * kD2R, 100.12346L, 0.0015L);
  std::ostringstream os;
  os << p;
  EXPECT_EQ(os.str(), "    0.80372412    0.25307274      100.1235");
  flhns::Unit = flhns::DEG;
  os.str("");
  os << p;
  EXPECT_EQ(os.str(), "   46.05000000   14.50000000      100.1235");
  flhns::Unit = flhns::GON;
  os.str("");
  os << p;
  EXPECT_EQ(os.str(), "   51.16666667   16.11111111      100.1235");
  flhns::Unit = flhns::DMS;
  os.str("");
  os << p;
  EXPECT_EQ(os.str(), "   46.03000000   14.30000000      100.1235");
  flhns::Unit = flhns::DMSV;
  flhns::PrintTime = true;
  flhns::UnitT = flhns::MS;
  os.str("");
  os << p;
  EXPECT_EQ(os.str(), " 46  3  0.00000000 14 30  0.00000000      100.1235    1.500000");
  // Fields that fill their width are kept apart by one blank.
  flhns::PrintTime = false;
  os.str("");
  os << flh(-33.5L * kD2R, 151.25L * kD2R, 0);
  EXPECT_EQ(os.str(), "-33 30  0.00000000 151 15  0.00000000        0.0000");
  flhns::Unit = flhns::SINEX;
  os.str("");
  os << flh(-46.05L * kD2R, -0.5L * kD2R, 1234.56L);
  EXPECT_EQ(os.str(), " -0 30  0.0 -46  3  0.0  1234.6");
  flhns::Unit = 9;
  os.str("");
  os << p;
  EXPECT_EQ(os.str(), "");
  EXPECT_TRUE(os.flags() & std::ios::fixed);
}

TEST_F(FlhTest, InputLayouts) {
  flh p;
  flhns::Unit = flhns::DMSV;
  std::istringstream("46 3 0 14 30 0 100") >> p;
  EXPECT_NEAR_L(p.GetF(), 46.05L * kD2R, 1e-15);
  EXPECT_NEAR_L(p.GetL(), 14.5L * kD2R, 1e-15);
  EXPECT_EQ(p.GetH(), 100);
  std::istringstream("-46 3 0 14 30 0 100") >> p;
  EXPECT_NEAR_L(p.GetF(), -46.05L * kD2R, 1e-15);
  // Degrees written as -0 keep their sign, as the output writes them.
  std::istringstream("-0 30 0 -0 15 36 5") >> p;
  EXPECT_NEAR_L(p.GetF(), -0.5L * kD2R, 1e-15);
  EXPECT_NEAR_L(p.GetL(), -0.26L * kD2R, 1e-15);

  flhns::Unit = flhns::DEG;
  flhns::ReadTime = true;
  flhns::UnitT = flhns::MS;
  std::istringstream("45 -90 10 2") >> p;
  EXPECT_NEAR_L(p.GetF(), kPi / 4, 1e-18);
  EXPECT_NEAR_L(p.GetL(), -kPi / 2, 1e-18);
  EXPECT_EQ(p.GetT(), 0.002L);
  flhns::ReadTime = false;
  flhns::Unit = flhns::DMS;
  std::istringstream("10.3 -10.29 0") >> p;
  EXPECT_NEAR_L(p.GetF(), 10.5L * kD2R, 1e-15);
  EXPECT_NEAR_L(p.GetL(), -(10 + 29 / 60.0L) * kD2R, 1e-15);
  flhns::Unit = flhns::RAD;
  std::istringstream("0.5 -1.5 7.25") >> p;
  EXPECT_TRUE(p == flh(0.5, -1.5, 7.25));

  // Every layout reads back what it writes.
  const flh w(-33.8567844L * kD2R, 151.2152967L * kD2R, 58.5L);
  for (uint16_t u : {flhns::RAD, flhns::DEG, flhns::GON, flhns::DMS, flhns::DMSV, flhns::SINEX}) {
    flhns::Unit = u;
    std::stringstream ss;
    ss << w;
    flh back;
    ss >> back;
    const long double tol = u == flhns::SINEX ? 0.06L / 3600 * kD2R : 1e-8L;
    EXPECT_NEAR_L(back.GetF(), w.GetF(), tol) << "layout " << u;
    EXPECT_NEAR_L(back.GetL(), w.GetL(), tol) << "layout " << u;
    EXPECT_NEAR_L(back.GetH(), w.GetH(), 0.06) << "layout " << u;
  }

  // An angle out of range read from text ends the program.
  CaptureResult r = RunCaptured([] {
    flhns::Unit = flhns::DEG;
    flh q;
    std::istringstream("91 0 0") >> q;
  });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, Frame("Function:   flh::TestPos()", "Input LATITUDE not valid"));
}

}  // namespace
