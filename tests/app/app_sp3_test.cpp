// End-to-end runs of morvi at and beyond the ends of a real 15-minute SP3 file
// (GRG, 2020-06-24, its records 20:30 to 23:45): one warning per satellite and
// run of epochs outside the records, rows extrapolated up to one interval out
// (24:00 against the next day's file), rows without position and clock farther
// out, and every row in its columns, also when a garbled file gives values no
// column can hold.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_support.h"
#include "support/capture.h"

using apptest::Count;
using apptest::ReadResults;
using apptest::Row;
using apptest::Scratch;

namespace {

const std::string kSp3Data = std::string(MORVI_TEST_DATA) + "/sp3/";
const std::string kDay1 = kSp3Data + "GRG0MGXFIN_20201760000_01D_15M_ORB_20-24h.SP3";
const std::string kDay2 = kSp3Data + "GRG0MGXFIN_20201770000_01D_15M_ORB_0-3h.SP3";


// x, y, z (m) of each satellite in the first block of an SP3 file.
std::map<std::string, std::vector<double>> FirstBlock(const std::string& file) {
  std::map<std::string, std::vector<double>> m;
  std::ifstream in(file);
  std::string l;
  int blocks = 0;
  while (std::getline(in, l) && blocks < 2) {
    if (l[0] == '*') blocks++;
    if (blocks == 1 && l[0] == 'P')
      for (int c = 0; c < 3; c++) m[l.substr(1, 3)].push_back(atof(l.substr(4 + 14 * c, 14).c_str()) * 1000);
  }
  return m;
}

// Row width with -o: epoch 22 + 2, MJD 14, satellite 8, X Y Z 48, DT 14, velocities
// 36, the rotation-free group 84.
const size_t kRowWidth = 228;

}  // namespace

TEST(AppSp3, RowsAtAndBeyondTheEndsOfA15MinuteFile) {
  Scratch tmp;
  // 20:00 to 00:30 at 450 s: two intervals before the first record to three after the last
  CaptureResult r = RunMorvi({"-gsGRE", "-sp" + kDay1, "-pG28,R18,E01", "-o", "-es2020-06-24,20:00:00.0",
                              "-ee2020-06-25,00:30:00.0", "-ei450", "-r" + tmp("res.txt")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // one warning for the run before the records and one for the run after, per satellite
  EXPECT_EQ(Count(r.err, "#### "), 6u) << r.err;
  EXPECT_TRUE(apptest::Contains(
      r.err, "Warning -> Calculation epoch >2020-06-24 20:00:00.00000000< of satellite >G28< NOT in epoch interval of "
             "input precise orbit file - EXTRAPOLATED up to one interval >900.000< s, NO POSITION farther out! ####"))
      << r.err;
  EXPECT_TRUE(apptest::Contains(r.err, "Calculation epoch >2020-06-24 23:52:30.00000000< of satellite >E01<")) << r.err;
  const std::vector<Row> rows = ReadResults(tmp("res.txt")).rows;
  ASSERT_EQ(rows.size(), 3u * 37u);
  const auto next = FirstBlock(kDay2);
  int extrapolated = 0, absent = 0;
  for (const Row& row : rows) {
    ASSERT_EQ(row.line.size(), kRowWidth) << row.line;
    ASSERT_EQ(row.v.size(), 13u) << row.line;  // 18 tokens: epoch, satellite, two groups
    // seconds after the last record (23:45), negative before it; the first record is at 20:30
    const double s = row.msec < 43200 ? row.msec + 900 : row.msec - 85500;
    const bool far = s > 900 || s < -(3 * 3600 + 15 * 60) - 900;
    const bool none = row.line.find("         0.000           0.000           0.000      0.000000       0.000       "
                                    "0.000       0.000") != std::string::npos;
    EXPECT_EQ(none, far) << row.line;
    if (far) {
      for (double v : row.v) EXPECT_EQ(v, 0.0) << row.line;
      absent++;
      continue;
    }
    EXPECT_GT(std::hypot(row.v[0], row.v[1], row.v[2]), 19e6) << row.line;
    EXPECT_NE(row.v[3], 0.0) << row.line;  // the clock
    if (s > 0 || s < -(3 * 3600 + 15 * 60)) extrapolated++;
    if (s == 900) {
      const std::vector<double>& p = next.at(row.prn);
      EXPECT_LT(std::hypot(row.v[0] - p[0], row.v[1] - p[1], row.v[2] - p[2]), 25.0) << row.line;
    }
  }
  EXPECT_EQ(absent, 3 * 6);        // 20:00, 20:07:30, 00:07:30 ... 00:30
  EXPECT_EQ(extrapolated, 3 * 4);  // 20:15, 20:22:30, 23:52:30, 24:00

  // G28 with an x of 1e9 km in one record: every 14-point window holds it, so no
  // row has a position, and none runs over its columns.
  std::string garbled = ReadWholeFile(kDay1);
  const size_t g28 = garbled.find("PG28", garbled.find("*  2020  6 24 22  0"));
  garbled.replace(g28 + 4, 14, "           1e9");
  std::ofstream(tmp("garbled.sp3")) << garbled;
  r = RunMorvi({"-gsG", "-sp" + tmp("garbled.sp3"), "-pG28,G01", "-o", "-es2020-06-24,20:30:00.0",
                "-ee2020-06-25,00:00:00.0", "-ei900", "-r" + tmp("garbled.txt")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<Row> g = ReadResults(tmp("garbled.txt")).rows;
  ASSERT_EQ(g.size(), 2u * 15u);
  for (const Row& row : g) {
    ASSERT_EQ(row.line.size(), kRowWidth) << row.line;
    EXPECT_EQ(row.v[0] == 0 && row.v[3] == 0 && row.v[12] == 0, row.prn == "G28") << row.line;
  }
}
