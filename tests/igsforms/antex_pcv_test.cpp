// Tests of the phase-centre variation interpolation on real M14 blocks, against
// values worked out by hand from the file's NOAZI and azimuth rows (millimetres):
// at nodes, in the middle of an interval (Lagrange weights -1/16, 9/16, 9/16,
// -1/16), in the first and last interval (3/8, 6/8, -1/8), and beyond the grid
// ends (linear), then linear in azimuth between two rows.
#include "igsforms/antex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

namespace {

antex& Trimmed() {
  static antex* a = [] {
    auto* x = new antex;
    x->SetFile((std::string(MORVI_TEST_DATA) + "/antex/M14_sats_trim.atx").c_str());
    x->ReadFile();
    return x;
  }();
  return *a;
}

void Select(antex& a, const char* sat) {
  rSat s;
  s = sat;
  mjd t = ymdhms2mjd(ymdhms(2023, 7, 8, 0, 0, 0));
  a.SetSatellite(s, t);
  ASSERT_NE(a.GetAtxIndex(), -1);
}

const double kTol = 1e-9;  // m

TEST(AntexPcvTest, ZenithInterpolationOfANoaziRow) {
  // G01 BLOCK IIF G063, G01, ZEN 0-17 by 1; NOAZI (mm):
  //  6.10 4.40 2.80 1.30 -0.20 -1.40 -2.80 -3.90 -4.40 -4.40 -3.70 -2.30 -0.20 3.00 5.70 12.40 18.20 23.50
  antex& a = Trimmed();
  Select(a, "G01");
  struct {
    float zen;
    double mm;
    const char* how;
  } cases[] = {
      {5.0f, -1.40, "node 5 (cubic through 4..7)"},
      {5.5f, (0.20 - 9 * 1.40 - 9 * 2.80 + 3.90) / 16, "middle of 5..6, nodes 4..7"},
      {12.5f, (2.30 - 9 * 0.20 + 9 * 3.00 - 5.70) / 16, "middle of 12..13, nodes 11..14"},
      {0.5f, 0.375 * 6.10 + 0.75 * 4.40 - 0.125 * 2.80, "first interval, nodes 0..2"},
      {16.5f, -0.125 * 12.40 + 0.75 * 18.20 + 0.375 * 23.50, "last interval, nodes 15..17"},
      {0.0005f, 6.10 + (4.40 - 6.10) * 0.0005, "below ZEN1 + 0.001: linear on 0, 1"},
      {17.5f, 23.50 + 0.5 * (23.50 - 18.20), "above: linear extrapolation on 16, 17"},
      {0.0f, 6.10, "ZEN1 itself"},
      {17.0f, 23.50, "ZEN2 itself"},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(a.GetPhCVariation(GNSSc::G1, c.zen, 123.0f), c.mm / 1000, kTol)
        << c.how << " zen " << c.zen;
  // The same block answers G2 from its own section, and nothing for G5.
  EXPECT_NEAR(a.GetPhCVariation(GNSSc::G2, 5.0f, 0.0f), -0.0014, kTol);
  EXPECT_EQ(a.GetPhCVariation(GNSSc::G5, 5.0f, 0.0f), 0.0);
}

TEST(AntexPcvTest, AzimuthAndZenithInterpolationOfAGrid) {
  // J02 QZSS-2I J002, J01, DAZI 10, ZEN 0-10 by 0.5; rows (mm) at nodes 1..4 (0.5 to 2.0 deg):
  //   0 deg: -0.28 -0.76 -1.37 -2.12   10 deg: -0.29 -0.78 -1.40 -2.15
  //  20 deg: -0.31 -0.79 -1.44 -2.18  350 deg: -0.25 -0.70 -1.30 -1.99   360 deg = 0 deg
  antex& a = Trimmed();
  Select(a, "J02");
  const double row10 = (0.29 - 9 * 0.78 - 9 * 1.40 + 2.15) / 16;  // zen 1.25 on row 10 deg
  const double row20 = (0.31 - 9 * 0.79 - 9 * 1.44 + 2.18) / 16;
  struct {
    float zen, azm;
    double mm;
    const char* how;
  } cases[] = {
      {1.0f, 10.0f, -0.78, "node, row 10 deg"},
      {1.0f, 15.0f, (-0.78 - 0.79) / 2, "node, half-way between rows 10 and 20 deg"},
      {1.25f, 10.0f, row10, "between nodes, on row 10 deg"},
      {1.25f, 12.5f, row10 + 0.25 * (row20 - row10), "between nodes and rows"},
      {1.0f, 0.0005f, -0.76 + (-0.78 + 0.76) * 0.00005, "first pair of rows"},
      {1.0f, 359.9995f, -0.70 + (-0.76 + 0.70) * (9.9995 / 10), "last pair of rows"},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(a.GetPhCVariation(GNSSc::J1, c.zen, c.azm), c.mm / 1000, 1e-8)
        << c.how << " zen " << c.zen << " azm " << c.azm;
  // The NOAZI row is not used when the grid has azimuth rows.
  EXPECT_NE(a.GetPhCVariation(GNSSc::J1, 1.0f, 10.0f), -0.00038);
}

TEST(AntexPcvTest, GridsOfOneAndTwoNodesAndNonNumbers) {
  // Two nodes: an interior zenith lies in an interval that is first and last: linear.
  gpcvAziZen g2;
  g2.Set("     0.0   5.0   5.0                                        ZEN1 / ZEN2 / DZEN");
  std::istringstream s2("      0.00      0.00    100.00                              NORTH / EAST / UP\n"
                        "   NOAZI    1.00    3.00\n"
                        "   G01                                                      END OF FREQUENCY\n");
  gpcvFreqData f2;
  f2.Set("G01", s2, 2, -1);
  EXPECT_NEAR(f2.GetPhCVariation(2.5f, 0.0f, g2), 0.002, 1e-12);
  EXPECT_NEAR(f2.GetPhCVariation(6.0f, 0.0f, g2), 0.0034, 1e-12);  // above: same line
  // One node (ZEN1 = ZEN2): the single value holds everywhere.
  gpcvAziZen g1;
  g1.Set("     5.0   5.0   1.0                                        ZEN1 / ZEN2 / DZEN");
  std::istringstream s1("      0.00      0.00    100.00                              NORTH / EAST / UP\n"
                        "   NOAZI    4.00\n   G01                                                      END OF FREQUENCY\n");
  gpcvFreqData f1;
  f1.Set("G01", s1, 1, -1);
  EXPECT_EQ(f1.GetPhCVariation(0.0f, 0.0f, g1), 0.004);
  EXPECT_EQ(f1.GetPhCVariation(9.0f, 0.0f, g1), 0.004);
  // A zenith or azimuth that is no number, or a grid changed after the section was read
  // (a second ZEN1 / ZEN2 / DZEN line), has no variation.
  EXPECT_TRUE(std::isnan(f2.GetPhCVariation(std::nanf(""), 0.0f, g2)));
  g2.Set("     0.0  10.0   5.0                                        ZEN1 / ZEN2 / DZEN");
  EXPECT_TRUE(std::isnan(f2.GetPhCVariation(2.5f, 0.0f, g2)));
}

}  // namespace
