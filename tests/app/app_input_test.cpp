// End-to-end runs of morvi on real files whose input must not be read as other,
// valid-looking data: garbled satellite codes in a navigation record line and in
// an SP3 position line, and SP3 positions that the file marks absent by zeros.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_support.h"
#include "support/capture.h"

using apptest::Contains;
using apptest::EndsWith;
using apptest::ReadResults;
using apptest::Row;
using apptest::Scratch;

namespace {

const std::string kTestData = std::string(MORVI_TEST_DATA);

std::string Slurp(const std::string& file) { return ReadWholeFile(file); }

void Write(const std::string& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

// text with its first line that begins with from changed to begin with to.
std::string GarbleFirst(const std::string& text, const std::string& from, const std::string& to) {
  size_t p = text.find("\n" + from);
  EXPECT_NE(p, std::string::npos) << from;
  return text.substr(0, p + 1) + to + text.substr(p + 1 + from.size());
}


const std::string kNumberFrame =
    ErrorFrame("Function:   rSat::TestSat()", "Satellite number (PRN/SLOT) >0< UNDEFINED!");

}  // namespace

// "G0?" would be G15 and "PG0;" G11 by arithmetic on the characters: the run ends
// with the invalid-number frame and no row of another satellite carries the
// garbled one's orbit.
TEST(AppInput, GarbledSatelliteCodesAreRefused) {
  Scratch tmp;
  // Navigation file: the first G05 record line; the file has no G15.
  const std::string nav = kTestData + "/app/SEPT1890.23P";
  std::string navText = Slurp(nav);
  ASSERT_FALSE(Contains(navText, "\nG15 "));
  Write(tmp("g0q.nav"), GarbleFirst(navText, "G05 2023", "G0? 2023"));
  CaptureResult r = RunMorvi({"-gsG", "-pG15", "-sb" + tmp("g0q.nav"), "-r" + tmp("nav.txt")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(EndsWith(r.err, kNumberFrame)) << r.err;
  EXPECT_TRUE(ReadResults(tmp("nav.txt")).rows.empty());
  // The intact file has no G15 to compute: refused, no results file written.
  r = RunMorvi({"-gsG", "-pG15", "-sb" + nav, "-r" + tmp("nav0.txt")});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_TRUE(EndsWith(r.err, ErrorFrame("Morvi", "NO SATELLITE OF LIST OF SATELLITES IN EPHEMERIS FILE >" + nav +
                                                      "< - NO POSITIONS TO CALCULATE!")))
      << r.err;
  EXPECT_FALSE(std::ifstream(tmp("nav0.txt")).good());

  // SP3 file: one G13 position line of the 07:00 orbit; G11 is listed in it.
  const std::string sp3 = kTestData + "/app/COD0MGXFIN_20231890000_07H_05M_ORB.SP3";
  Write(tmp("g0s.sp3"), GarbleFirst(Slurp(sp3), "PG13", "PG0;"));
  r = RunMorvi({"-gsG", "-pG11", "-sp" + tmp("g0s.sp3"), "-r" + tmp("sp3.txt")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(EndsWith(r.err, kNumberFrame)) << r.err;
  EXPECT_TRUE(ReadResults(tmp("sp3.txt")).rows.empty());

  // A satellite list of the command line with such a code ends too, naming it.
  r = RunMorvi({"-gsG", "-pG01,G1A", "-sp" + sp3, "-r" + tmp("cli.txt")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, ErrorFrame("Function:   pSats::Parse(...)",
                              "Entry >G1A< of LIST OF SATELLITES NOT VALID - form as >G01,G02,J12,R03<!"));
}

// igr20354 (IGS rapid, 2019-01-10, 10:00-16:00) marks G27 from 14:30 on with
// positions of 0.000000. Every row is either computed from real positions (no speed
// above 5 km/s; at the nodes the file's own position) or has no position; G27's
// rows are the Lagrange interpolation of 14 real nodes, as an independent
// evaluation here gives it, until the window must hold a zero node.
TEST(AppInput, Sp3PositionsOfZerosAreAbsent) {
  Scratch tmp;
  const std::string file = kTestData + "/sp3/igr20354_10-16h.sp3";
  // The nodes (km) per satellite and epoch index, absent ones marked by NaN.
  std::map<std::string, std::vector<std::vector<double>>> nodes;
  {
    std::istringstream in(Slurp(file));
    std::string l;
    int k = -1;
    while (std::getline(in, l)) {
      if (l.rfind("*  ", 0) == 0) k++;
      if (l.size() < 60 || l[0] != 'P' || k < 0) continue;
      std::vector<double> p(3);
      for (int c = 0; c < 3; c++) p[c] = std::stod(l.substr(4 + 14 * c, 14));
      if (p[0] == 0 && p[1] == 0 && p[2] == 0) p.assign(3, NAN);
      nodes[l.substr(1, 3)].push_back(p);
    }
  }
  ASSERT_EQ(nodes.size(), 32u);
  ASSERT_EQ(nodes["G27"].size(), 25u);
  ASSERT_TRUE(std::isnan(nodes["G27"][18][0]) && !std::isnan(nodes["G27"][17][0]));  // 14:30, 14:15

  CaptureResult r = RunMorvi({"-gsG", "-sp" + file, "-ei150", "-r" + tmp("res.txt")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<Row> rows = ReadResults(tmp("res.txt")).rows;
  ASSERT_EQ(rows.size(), 32u * 145u);
  const double t0 = 36000.0;  // 10:00:00, the first node
  int g27 = 0, g27None = 0, nodesSeen = 0;
  for (const Row& row : rows) {
    const double speed = std::sqrt(row.v[4] * row.v[4] + row.v[5] * row.v[5] + row.v[6] * row.v[6]);
    const bool none = row.v[0] == 0 && row.v[1] == 0 && row.v[2] == 0;
    EXPECT_LE(speed, 5000.0) << row.prn << " " << row.msec;
    if (none) {
      EXPECT_EQ(speed, 0.0) << row.prn << " " << row.msec;
    }
    if (row.prn != "G27") {
      EXPECT_FALSE(none) << row.prn << " " << row.msec;
    }
    const double a = (row.msec - t0) / 900.0;  // node argument
    const int k = static_cast<int>(std::lround(a));
    if (!none && std::fabs(a - k) < 1e-9) {
      for (int c = 0; c < 3; c++) EXPECT_NEAR(row.v[c], nodes[row.prn][k][c] * 1000.0, 0.0011) << row.prn << " " << k;
      nodesSeen++;
    }
    if (row.prn != "G27") continue;
    g27++;
    // The window of 14 nodes from epoch index floor(a) - 6 (kept inside the file)
    // holds a zero node from 12:45 on (index 11, window 5..18).
    if (a >= 11) {
      EXPECT_TRUE(none) << row.msec;
      g27None += none;
      continue;
    }
    ASSERT_FALSE(none) << row.msec;
    // Lagrange over the 14 real nodes of the window.
    const int ix = std::max(0, static_cast<int>(std::floor(a)) - 6);
    for (int c = 0; c < 3; c++) {
      long double p = 0;
      for (int i = 0; i < 14; i++) {
        long double w = 1;
        for (int j = 0; j < 14; j++)
          if (j != i) w *= (static_cast<long double>(a) - ix - j) / (i - j);
        p += w * nodes["G27"][ix + i][c] * 1000.0L;
      }
      EXPECT_NEAR(row.v[c], static_cast<double>(p), 0.0011) << "G27 " << row.msec;
    }
  }
  EXPECT_EQ(g27, 145);
  EXPECT_EQ(g27None, 145 - 66);  // 10:00 to 12:42:30 computed
  EXPECT_EQ(nodesSeen, 31 * 25 + 11);
}

// A value wider than its column is no value: the row keeps the header's fields
// and is written without clock (a damaged record whose clock drift reads 1e30
// s/s) or without position and clock (an SBAS record used three years from its
// epoch, 1.7e14 m out; one 2e10 m out, whose GCRS velocity alone is too wide), told
// once per satellite. Positions as the intact file gives them.
TEST(AppInput, ValuesTooWideForTheirColumnsAreAbsent) {
  Scratch tmp;
  const std::string nav = kTestData + "/app/SEPT1890.23P", g05 = "G05 2023 07 08 06 00 00-1.340638846159E-04";
  Write(tmp("drift.nav"), GarbleFirst(Slurp(nav), g05 + "-1.477928890381E-12", g05 + "-1.477928890381E+30"));
  Write(tmp("far.nav"), GarbleFirst(GarbleFirst(Slurp(nav), "    -3.226796040000E+04", "    -5.000000000000E+06"),
                                    "     2.711700272000E+04", "     1.936000000000E+07"));
  const std::string zeros = "           0.000           0.000           0.000      0.000000       0.000       0.000       0.000",
                    told = "< at epoch >", there = " WRITTEN, there and at every such epoch of the satellite!";
  struct Case {
    std::vector<std::string> args;
    std::string row, warning;
  };
  for (const Case& c : std::vector<Case>{
           {{"-gsG", "-pG05", "-sb" + tmp("drift.nav"), "-es2023-07-08,04:00:00", "-ee2023-07-08,04:10:00"},
            " 2023-07-08 04:10:00.0   60133 15000.0     G05     5259083.094    25895833.380    -2171949.614      "
            "0.000000    -231.314     290.764    3180.197",
            "Satellite >G05" + told + "2023-07-08 04:00:00.0<: CLOCK CORRECTION TOO LARGE FOR ITS COLUMN OF THE "
            "RESULTS - NO CLOCK" + there},
           {{"-gsS", "-pS30", "-sb" + nav, "-es2020-06-25,06:00:00", "-ee2020-06-25,06:10:00", "-o"},
            " 2020-06-25 06:10:00.0   59025 22200.0     S30" + zeros + zeros.substr(0, 48) + zeros.substr(62),
            "Satellite >S30" + told + "2020-06-25 06:00:00.0<: POSITION OR VELOCITY TOO LARGE FOR ITS COLUMN OF THE "
            "RESULTS - NO POSITION AND NO CLOCK" + there},
           // S30 of 04:00 moved 2e10 m out: every Earth-fixed value fits, VX-C (R (v + w x r), -1.46e6 m/s) does not
           {{"-gsS", "-pS30", "-sb" + tmp("far.nav"), "-t" + kTestData + "/gcrs/GCRS_20231890_30S_GPST.txt",
             "-es2023-07-08,04:00:00", "-ee2023-07-08,04:01:00", "-ei30"},
            " 2023-07-08 04:01:00.0   60133 14460.0     S30" + zeros + zeros.substr(0, 48) + zeros.substr(62),
            "Satellite >S30" + told + "2023-07-08 04:00:00.0<: POSITION OR VELOCITY TOO LARGE FOR ITS COLUMN OF THE "
            "RESULTS - NO POSITION AND NO CLOCK" + there}}) {
    std::vector<std::string> args = c.args;
    args.push_back("-r" + tmp("res.txt"));
    CaptureResult r = RunMorvi(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<Row> rows = ReadResults(tmp("res.txt")).rows;
    ASSERT_EQ(rows.size(), 3u) << c.row;
    EXPECT_EQ(rows.back().line, c.row);
    EXPECT_EQ(apptest::Count(r.err, WarningFrame("Morvi", c.warning)), 1u) << r.err;
  }
}
