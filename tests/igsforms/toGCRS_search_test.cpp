// The epoch search of the rotation file: on the real 30 s file and on files out
// of order or with records closer than the search assumes, the record chosen
// (or none) is the first in file order within the window (SelectTol), as a scan finds it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "igsforms/toGCRS.h"

namespace {

const std::string kFile = std::string(MORVI_TEST_DATA) + "/gcrs/GCRS_20231890_30S_GPST.txt";

std::vector<std::string> Lines(const std::string& f) {
  std::ifstream in(f);
  std::vector<std::string> v;
  std::string s;
  while (std::getline(in, s)) v.push_back(s);
  return v;
}

std::string Write(const std::string& tag, const std::vector<std::string>& lines) {
  std::string name = ::testing::TempDir() + "gcrs_search_" + std::to_string(getpid()) + "_" + tag;
  std::ofstream out(name);
  for (const auto& l : lines) out << l << "\n";
  return name;
}

// The record a scan from the first one picks for t (GPS time, 19 s behind TAI),
// -1 for none.
long Scan(toGCRS& g, const mjd& t) {
  for (long k = 0; k < g.GetNEph(); k++)
    if (std::fabs((t - g.GetRecord(k).eph_TAI) + 19.0L) < tgcrsc::SelectTol) return k;
  return -1;
}

// The record SetEpoch picked: the one whose matrix turns (1, 2, 3) as it did.
long Picked(toGCRS& g, mjd t) {
  g.SetEpoch(t);
  if (!g.IsValidEpoch()) return -1;
  xyz in(1, 2, 3), out;
  g.Rotate(in, out);
  for (long k = 0; k < g.GetNEph(); k++) {
    const toGCRSmatrix& m = g.GetRecord(k);
    if (out.GetX() == m.R11 * 1 + m.R12 * 2 + m.R13 * 3 && out.GetY() == m.R21 * 1 + m.R22 * 2 + m.R23 * 3 &&
        out.GetZ() == m.R31 * 1 + m.R32 * 2 + m.R33 * 3 && std::fabs((t - m.eph_TAI) + 19.0L) < tgcrsc::SelectTol)
      return k;
  }
  return -2;
}

void Compare(const std::string& file, long& compared) {
  toGCRS g;
  g.SetFile(file.c_str());
  g.ReadFile();
  mjd t0 = g.GetRecord(0).eph_TAI;  // the earliest record, as GPS time
  for (long k = 1; k < g.GetNEph(); k++)
    if (g.GetRecord(k).eph_TAI < t0) t0 = g.GetRecord(k).eph_TAI;
  t0 -= 19.0L;
  // on records, 0.05 s and 0.0999 s from them, exactly 0.1 s off, between them,
  // before the first and after the last
  for (long double off : {0.0L, 0.05L, -0.05L, 0.0999L, -0.0999L, 0.1L, -0.1L, 0.1001L, 7.5L, 15.0L}) {
    for (long k = -3; k < g.GetNEph() + 3; k += (k < 5 || k > g.GetNEph() - 5) ? 1 : 97) {
      mjd t = t0;
      t += 30.0L * k + off;
      ASSERT_EQ(Picked(g, t), Scan(g, t)) << file << " k " << k << " offset " << static_cast<double>(off);
      compared++;
    }
  }
}

}  // namespace

TEST(ToGCRSSearch, ChosenRecordIsTheFirstWithinTheWindowInFileOrder) {
  std::ostringstream sink;  // warnings of epochs without a record
  std::streambuf* err = std::cerr.rdbuf(sink.rdbuf());
  long compared = 0;
  Compare(kFile, compared);
  std::vector<std::string> l = Lines(kFile);
  // records out of order: two swapped
  std::vector<std::string> swapped = l;
  std::swap(swapped[10], swapped[400]);
  Compare(Write("swapped", swapped), compared);
  // a record repeated right after itself: the first of the two is chosen
  std::vector<std::string> repeated = l;
  repeated.insert(repeated.begin() + 50, l[49]);
  Compare(Write("repeated", repeated), compared);
  // the file backwards
  std::vector<std::string> backwards = {l[0], l[1]};
  for (size_t k = l.size() - 1; k >= 2; k--) backwards.push_back(l[k]);
  Compare(Write("backwards", backwards), compared);
  std::cerr.rdbuf(err);
  EXPECT_GT(compared, 1000);
}
