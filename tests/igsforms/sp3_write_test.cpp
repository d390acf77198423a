// Writing SP3 files: header layout against real headers, record lines, missing
// markers, more than 85 satellites, the read-write-read round trip, and an
// output file that cannot be opened.
#include "igsforms/sp3_fixture.h"

using namespace sp3test;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> v;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) v.push_back(l);
  return v;
}

std::string Written(const std::string& path) {
  sp3 f;
  f.SetFile(path.c_str());
  f.ReadFile();
  std::ostringstream os;
  f.PrintFile_All(os);
  return os.str();
}

}  // namespace

TEST(Sp3Write, HeaderLinesMatchRealHeaders) {
  // 32 satellites in five lines (SP3-c) and 118 in seven (SP3-d).
  for (const char* name : {"igr20354_3h.sp3", "COD0MGXFIN_20231890000_01D_05M_ORB_1h.SP3"}) {
    auto in = Lines(Slurp(Data(name))), out = Lines(Written(Data(name)));
    const size_t nList = name[0] == 'i' ? 5 : 7;
    EXPECT_EQ(out[0].substr(0, 39), in[0].substr(0, 39)) << name;
    EXPECT_EQ(out[0].substr(39), " ORBIT " + in[0].substr(46, 5) + " PRT  TRM");
    EXPECT_EQ(out[1], in[1]);
    for (size_t l = 2; l < 2 + 2 * nList; l++) EXPECT_EQ(out[l], in[l]) << name << " line " << l;
    const size_t c = 2 + 2 * nList;
    EXPECT_EQ(out[c].substr(0, 12), in[c].substr(0, 12));
    for (size_t l = c + 1; l < c + 6; l++) EXPECT_EQ(out[l], in[l]) << name << " line " << l;
    EXPECT_EQ(out[c + 6], "/* GNSS SATELLITE PRECISE EPHEMERIS FILE:                   ");
    EXPECT_EQ(out[c + 7], "/*   PRINTING APPLICATION: Morvi");
    EXPECT_EQ(out[c + 8], "/*   Author: Imrek Vantok, KQ TRM - ZOBRK");
    EXPECT_EQ(out[c + 9].substr(0, 11), "/*   Date: ");
    EXPECT_EQ(out[c + 9].substr(31), "   LOCAL TIME");
    EXPECT_EQ(out[c + 10].substr(0, 31), in[c + 6 + (name[0] == 'i' ? 4 : 6)].substr(0, 31));
    EXPECT_EQ(out.back(), "EOF");
  }
}

TEST(Sp3Write, RecordLinesMarkersAndAbsentSatellites) {
  std::string text = Synth(3, {"G01", "G02", "G03"}, [](int k, int s) {
    // Block 2 in reverse order, G02 with only its z missing and a clock of 0.
    if (k == 2)
      return s == 0 ? P("G03", 1, 2, 3, 4)
                    : s == 1 ? "PG02      7.000000      8.000000 999999.999999      0.000000\n"
                             : P("G01", 0.5, -0.5, 0, 12);
    if (s == 2) return k == 1 ? std::string() : P("G03", 1, 2, 3, 4);
    return s == 0 ? P("G01", 0.5, -0.5, 0, 12) : P("G02", 0, 0, 0, 10, true);
  });
  auto out = Lines(Written(Temp("records.sp3", text)));
  const size_t b = 22;  // first epoch line
  EXPECT_EQ(out[b], "*  2020  6 25  0  0  0.00000000");
  EXPECT_EQ(out[b + 1], "PG01      0.500000     -0.500000      0.000000     12.000000");
  EXPECT_EQ(out[b + 2], "PG02 999999.999999 999999.999999 999999.999999     10.000000");
  EXPECT_EQ(out[b + 3], "PG03      1.000000      2.000000      3.000000      4.000000");
  // G03 had no line in the second block: none is written, so it reads back absent.
  EXPECT_EQ(out[b + 4], "*  2020  6 25  0 15  0.00000000");
  EXPECT_EQ(out[b + 7], "*  2020  6 25  0 30  0.00000000");
  // Each line lands at its header position; one missing coordinate drops the
  // whole position, the clock of 0 stays present.
  EXPECT_EQ(out[b + 8], out[b + 1]);
  EXPECT_EQ(out[b + 9], "PG02 999999.999999 999999.999999 999999.999999      0.000000");
  EXPECT_EQ(out[b + 10], out[b + 3]);
  EXPECT_EQ(out[b + 11], "EOF");
}

TEST(Sp3Write, RoundTripKeepsHeaderAndRecords) {
  sp3 a, b;
  a.SetFile(Data("COD0MGXFIN_20231890000_01D_05M_ORB_sub16.SP3").c_str());
  a.ReadFile();
  const std::string p1 = Temp("round1.sp3", "");
  a.PrintFile(p1.c_str());
  b.SetFile(p1.c_str());
  b.ReadFile();
  EXPECT_EQ(b.GetNEph(), a.GetNEph());
  EXPECT_EQ(b.GetNSat(), 16);
  EXPECT_EQ(b.GetNSatE(), a.GetNSatE());
  EXPECT_TRUE(b.GetStartEpoch() == a.GetStartEpoch() && b.GetEndEpoch() == a.GetEndEpoch());
  myList<rSat> la, lb;
  a.GetSats(la);
  b.GetSats(lb);
  for (long i = 0; i < 16; i++) EXPECT_TRUE(la(i) == lb(i));
  // Written twice, the files differ at most in the date comment.
  auto first = Lines(Slurp(p1)), second = Lines(Written(p1));
  ASSERT_EQ(first.size(), second.size());
  for (size_t l = 0; l < first.size(); l++)
    if (first[l].compare(0, 11, "/*   Date: ") != 0) {
      EXPECT_EQ(first[l], second[l]) << l;
    }
  auto want = Blocks(Slurp(Data("COD0MGXFIN_20231890000_01D_05M_ORB_sub16.SP3")));
  EXPECT_EQ(Blocks(Slurp(p1)).size(), want.size());
  // The satellite style is the caller's (only the navigation writer sets it):
  // old-style codes are written as such, left so, and read back the same.
  rSns::StyleType = rSns::OLDSTYLE;
  const std::string p2 = Temp("round2.sp3", "");
  a.PrintFile(p2.c_str());
  EXPECT_EQ(rSns::StyleType, rSns::OLDSTYLE);
  rSns::StyleType = rSns::NEWSTYLE;
  EXPECT_NE(Slurp(p2).find("\nP 01 "), std::string::npos);
  sp3 c;
  c.SetFile(p2.c_str());
  c.ReadFile();
  myList<rSat> lc;
  c.GetSats(lc);
  ASSERT_EQ(lc.Length(), 16);
  for (long i = 0; i < 16; i++) EXPECT_TRUE(la(i) == lc(i));
  std::remove(p1.c_str());
  std::remove(p2.c_str());
  CaptureResult r = RunCaptured([&a] { a.PrintFile("/nonexistent/dir/out.sp3"); });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, Frame("Function:   sp3::PrintFile(char*)",
                         "Output file: /nonexistent/dir/out.sp3 for ORBIT SP3 print can not be "
                         "opened for writing!"));
}
