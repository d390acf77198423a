// Tests of the ITRS-to-GCRS rotation file on the ERFA-made file of 2023-07-08
// (records at the UTC instants of GPS-time half-minutes): summary, interval,
// epoch selection by the instant in each time scale, orthonormal matrices,
// Rotate against the matrix product of the file's own numbers, the epoch check
// report, and the refusal of files whose lines do not hold one record each.
#include "igsforms/toGCRS.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/capture.h"

namespace {

const std::string kFile = std::string(MORVI_TEST_DATA) + "/gcrs/GCRS_20231890_30S_GPST.txt";

// The file's lines, read independently of the reader.
std::vector<std::string> FileLines() {
  std::ifstream in(kFile);
  std::vector<std::string> lines;
  std::string s;
  while (std::getline(in, s)) lines.push_back(s);
  return lines;
}

std::string TempName(const std::string& tag) { return ::testing::TempDir() + "gcrs_" + std::to_string(getpid()) + "_" + tag; }

std::string WriteTemp(const std::string& tag, const std::string& text) {
  std::string name = TempName(tag);
  std::ofstream(name) << text;
  return name;
}

toGCRS& RealFile() {
  static toGCRS* t = [] {
    auto* g = new toGCRS;
    g->SetFile(kFile.c_str());
    g->ReadFile();
    return g;
  }();
  return *t;
}

// An epoch of 2023-07-08 (in whatever time scale the caller means).
mjd On0708(int h, int m, long double s) { return ymdhms2mjd(ymdhms(2023, 7, 8, h, m, s)); }
mjd Gps(int h, int m, long double s) { return On0708(h, m, s); }

TEST(ToGCRSTest, SummaryOfTheRealFile) {
  toGCRS& g = RealFile();
  EXPECT_EQ(g.GetNEph(), 2881);
  EXPECT_EQ(g.GetInterval(), 30.0L);  // steps within 1e-4 s of 30 s become exactly 30
  ::testing::internal::CaptureStdout();
  g.PrintSummary();
  std::string out = ::testing::internal::GetCapturedStdout();
  // TAI of the first record: 0.000219907408 d x 86400 = 19.00000005 s after 00:00 TAI.
  EXPECT_EQ(out,
            "  Number of epochs: 2881\n"
            "  TAI epochs      :  2023-07-08/00:00:19.00000005  -  2023-07-09/00:00:19.00000005\n"
            "  UTC epochs      :  2023-07-07/23:59:42.00000000  -  2023-07-08/23:59:42.00000000\n"
            "  Interval        :       30.000 s\n"
            "\n");
}

TEST(ToGCRSTest, EveryMatrixIsOrthonormal) {
  toGCRS& g = RealFile();
  double worst = 0;
  for (long k = 0; k < g.GetNEph(); k++) {
    toGCRSmatrix& m = g.GetRecord(k);
    long double R[3][3] = {{m.R11, m.R12, m.R13}, {m.R21, m.R22, m.R23}, {m.R31, m.R32, m.R33}};
    for (int i = 0; i < 3; i++)
      for (int j = 0; j < 3; j++) {
        long double s = 0;
        for (int l = 0; l < 3; l++) s += R[i][l] * R[j][l];
        double dev = static_cast<double>(std::fabs(s - (i == j ? 1 : 0)));
        if (dev > worst) worst = dev;
      }
  }
  EXPECT_LT(worst, 1e-12) << "largest deviation of R R^T from I";
}

TEST(ToGCRSTest, EpochSelectionWithinATenthOfASecond) {
  toGCRS& g = RealFile();
  mjd t = Gps(12, 0, 0.05L);
  g.SetEpoch(t);
  EXPECT_TRUE(g.IsValidEpoch());
  mjd early = Gps(11, 59, 59.95L);
  g.SetEpoch(early);
  EXPECT_TRUE(g.IsValidEpoch());

  // 0.1 s away (the record's instant is 12:00:00.00000005, its TAI epoch being
  // written to 1e-12 day), and half-way between two records: no record, one
  // warning each, showing the epoch as given.
  for (mjd miss : {Gps(11, 59, 59.9L), Gps(12, 0, 0.1L), Gps(12, 0, 15.0L)}) {
    ::testing::internal::CaptureStderr();
    g.SetEpoch(miss);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(g.IsValidEpoch());
    EXPECT_NE(err.find("#### Function:   toGCRS::SetEpoch(mjd&): Warning -> Input satellite "
                       "position epoch [ 2023-07-08/1"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("] CAN NOT be found in ITRS>GCRS rotation file ####"), std::string::npos);
  }
  // After a failed selection Rotate leaves the output as the caller set it.
  xyz in(1, 2, 3), out(7, 8, 9, 4);
  g.Rotate(in, out);
  EXPECT_EQ(out.GetX(), 7);
  EXPECT_EQ(out.GetY(), 8);
  EXPECT_EQ(out.GetZ(), 9);
  EXPECT_EQ(out.GetT(), 4);

  // Two records within 0.1 s of t: the earlier in the file wins, though the
  // later one lies closer; the unordered step is kept as the interval. The
  // second record is moved to 0.05 s after the first, in TAI and in UTC, and
  // comes first in the file; the first record follows twice. Both later lines
  // are of the instant of line 3: one warning each, naming line and epoch. A
  // record 0.07 s before the first serves 23:59:41.9 UTC, not 42.0. The last
  // one's MJD of 10 decimals (rounding up to 4.3 us) writes 00:00:30 GPS time
  // 2.6 us early: 00:00:29.9 is still another instant, 00:00:29.95 not.
  std::vector<std::string> L = FileLines();
  std::string first = L[3];
  first.replace(0, 18, "60133.000220486111");  // 00:00:19.05 TAI
  first.replace(first.find("2023  7  8  0  0 12.000"), 23, "2023  7  7 23 59 42.050");
  std::string before = L[2];
  before.replace(0, 18, "60133.000219097222").replace(before.find("59 42.000"), 9, "59 41.930");
  std::string f =
      WriteTemp("two", L[0] + "\n" + L[1] + "\n" + first + "\n" + L[2] + "\n" + L[2] + "\n" + before + "\n" +
                           std::string(L[3]).replace(0, 18, "60133.0005671296") + "\n");
  toGCRS two;
  two.SetFile(f.c_str());
  ::testing::internal::CaptureStderr();
  two.ReadFile();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            WarningFrame("Function:   toGCRS::ReadFile()",
                         "Line 4 of ITRS>GCRS matrix file: epoch >2023-07-07/23:59:42.000< UTC "
                         "DUPLICATES line 3 - record NOT used!") +
                WarningFrame("Function:   toGCRS::ReadFile()",
                             "Line 5 of ITRS>GCRS matrix file: epoch >2023-07-07/23:59:42.000< UTC "
                             "DUPLICATES line 3 - record NOT used!") +
                WarningFrame("Function:   toGCRS::ReadFile()",
                             "Line 6 of ITRS>GCRS matrix file: epoch >2023-07-07/23:59:41.930< UTC SHARES the instant "
                             ">2023-07-07/23:59:42.0< UTC with line 3, which serves it - record used at its other "
                             "instants only!"));
  EXPECT_NEAR(static_cast<double>(two.GetInterval()), -0.07, 1e-9);
  mjd near = Gps(0, 0, 0.02L);
  two.SetEpoch(near);
  xyz ex(1, 0, 0), rx;
  two.Rotate(ex, rx);
  EXPECT_EQ(rx.GetX(), two.GetRecord(0).R11);
  EXPECT_NEAR(static_cast<double>(rx.GetX()), 0.2662594972365599, 1e-16);
  ::testing::internal::CaptureStderr();
  for (const auto& [s, taken] : std::vector<std::pair<long double, bool>>{{29.9L, false}, {29.95L, true}}) {
    mjd e = Gps(0, 0, s);
    two.SetEpoch(e);
    EXPECT_EQ(two.IsValidEpoch(), taken) << static_cast<double>(s);
  }
  ::testing::internal::GetCapturedStderr();
  unlink(f.c_str());
}

// Every time scale finds the record of the same instant: 04:00:00 GPS time is
// 03:59:42 UTC (TAI - UTC = 37 s in 2023), 04:00:19 TAI, 03:59:46 BeiDou time
// and 06:59:42 GLONASS time (UTC + 3 h). TAI - scale at the leap second of
// 2017-01-01 (TAI - UTC 36 s before it, 37 s after it).
TEST(ToGCRSTest, EachTimeScaleFindsTheRecordOfTheSameInstant) {
  EXPECT_EQ(TAIMinus(On0708(4, 0, 0), TimeScale::GPS), 19.0L);
  EXPECT_EQ(TAIMinus(On0708(4, 0, 0), TimeScale::TAI), 0.0L);
  EXPECT_EQ(TAIMinus(On0708(4, 0, 0), TimeScale::BDT), 33.0L);
  const mjd before = ymdhms2mjd(ymdhms(2016, 12, 31, 23, 59, 59));
  const mjd after = ymdhms2mjd(ymdhms(2017, 1, 1, 0, 0, 0));
  EXPECT_EQ(TAIMinus(before, TimeScale::UTC), 36.0L);
  EXPECT_EQ(TAIMinus(after, TimeScale::UTC), 37.0L);
  // 02:59:59 GLONASS time of 2017-01-01 is still 2016 in UTC; 03:00:00 is not.
  EXPECT_EQ(TAIMinus(ymdhms2mjd(ymdhms(2017, 1, 1, 2, 59, 59)), TimeScale::GLO), 36.0L - 10800.0L);
  EXPECT_EQ(TAIMinus(ymdhms2mjd(ymdhms(2017, 1, 1, 3, 0, 0)), TimeScale::GLO), 37.0L - 10800.0L);

  toGCRS& g = RealFile();
  // The record of 03:59:42 UTC: line 483 (2 header lines + 480 records before it).
  std::istringstream rec(FileLines().at(482));
  long double tai, R11;
  int y, mo, d, h, mi;
  long double s;
  rec >> tai >> y >> mo >> d >> h >> mi >> s >> R11;
  ASSERT_EQ(h * 3600 + mi * 60 + s, 3 * 3600 + 59 * 60 + 42);
  struct Case {
    TimeScale scale;
    mjd t;
  } cases[] = {{TimeScale::GPS, On0708(4, 0, 0)},   {TimeScale::UTC, On0708(3, 59, 42)},
               {TimeScale::TAI, On0708(4, 0, 19)},  {TimeScale::BDT, On0708(3, 59, 46)},
               {TimeScale::GLO, On0708(6, 59, 42)}, {TimeScale::GPS, On0708(4, 0, 0.09L)}};
  for (Case& c : cases) {
    g.SetTimeScale(c.scale);
    g.SetEpoch(c.t);
    ASSERT_TRUE(g.IsValidEpoch()) << static_cast<int>(c.scale);
    xyz ex(1, 0, 0), rx;
    g.Rotate(ex, rx);
    EXPECT_EQ(rx.GetX(), R11) << static_cast<int>(c.scale);
  }
  // The whole UTC half-minute is no instant of a record: no record, and the
  // warning shows the epoch as given.
  g.SetTimeScale(TimeScale::UTC);
  mjd whole = On0708(4, 0, 0);
  ::testing::internal::CaptureStderr();
  g.SetEpoch(whole);
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(g.IsValidEpoch());
  EXPECT_NE(err.find("epoch [ 2023-07-08/04:00:00] CAN NOT be found"), std::string::npos) << err;
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(g.CheckExternalEpochs(whole, whole, 30.0L), 1);
  std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("    Epoch:  2023-07-08/04:00:00.0 [ 60133 14400.0]    NOT FOUND"), std::string::npos)
      << out;
  g.SetTimeScale(TimeScale::GPS);
}

TEST(ToGCRSTest, RotateIsTheMatrixProductOfTheFileRecord) {
  toGCRS& g = RealFile();
  // Record of 12:00:00 GPS time (11:59:42 UTC) is line 1443 (2 header lines +
  // 1440 records before it).
  std::istringstream rec(FileLines().at(1442));
  long double tai, R[9];
  int y, mo, d, h, mi;
  long double s;
  rec >> tai >> y >> mo >> d >> h >> mi >> s;
  for (auto& r : R) rec >> r;
  ASSERT_EQ(h, 11);
  ASSERT_EQ(mi, 59);
  ASSERT_EQ(s, 42);

  mjd t = Gps(12, 0, 0);
  g.SetEpoch(t);
  ASSERT_TRUE(g.IsValidEpoch());
  const long double p[3] = {15600000.0L, -21300000.0L, 7400000.0L};  // a GPS-like position (m)
  xyz in(p[0], p[1], p[2], 1.25e-4L), out(0, 0, 0, 0.5L);
  g.Rotate(in, out);
  const long double got[3] = {out.GetX(), out.GetY(), out.GetZ()};
  for (int i = 0; i < 3; i++) {
    long double want = R[3 * i] * p[0] + R[3 * i + 1] * p[1] + R[3 * i + 2] * p[2];
    EXPECT_NEAR(static_cast<double>(got[i]), static_cast<double>(want), 1e-7) << "row " << i;
  }
  EXPECT_EQ(out.GetT(), 0.5L);  // t of the output is never touched
  EXPECT_NEAR(static_cast<double>(out.GetLength()), static_cast<double>(in.GetLength()), 1e-6);

  // The same object as input and output gives the same product.
  xyz same = in;
  g.Rotate(same, same);
  EXPECT_EQ(same.GetX(), out.GetX());
  EXPECT_EQ(same.GetY(), out.GetY());
  EXPECT_EQ(same.GetZ(), out.GetZ());

  // A record printed and read back keeps its numbers.
  std::ostringstream os;
  os << g.GetRecord(1440);
  std::istringstream back(os.str());
  toGCRSmatrix m;
  back >> m;
  EXPECT_NEAR(static_cast<double>(m.R12), static_cast<double>(R[1]), 1e-14);
  EXPECT_NEAR(static_cast<double>(m.R33), static_cast<double>(R[8]), 1e-14);
  EXPECT_TRUE(m.eph_UTC == g.GetRecord(1440).eph_UTC);
}

TEST(ToGCRSTest, CheckExternalEpochsReport) {
  toGCRS& g = RealFile();
  mjdns::PrintFormat = mjdns::MJDSEC;
  mjdns::NDecSecond = 1;
  // 23:59:00 to 24:00:45 GPS time by 30 s: 23:59:00, 23:59:30, 00:00:00 are in the file,
  // 00:00:30 is not; 3.5 steps give 4 epochs.
  mjd from = Gps(23, 59, 0), to = from;
  to += 105.0L;
  ::testing::internal::CaptureStdout();
  long n = g.CheckExternalEpochs(from, to, 30.0L);
  std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(n, 1);
  EXPECT_EQ(out,
            "  Number of epochs:          4\n"
            "  FROM epoch      :  2023-07-08/23:59:00.0 [ 60133 86340.0]\n"
            "  TO   epoch      :  2023-07-09/00:00:45.0 [ 60134    45.0]\n"
            "  Interval        :       30.0 s\n"
            "\n"
            "    Epoch:  2023-07-09/00:00:30.0 [ 60134    30.0]    NOT FOUND IN ITRS>CGRS LIST OF "
            "EPOCHS!!\n"
            "\n"
            "  FINAL RESULTS:          1 PROBLEMATIC EPOCH!\n"
            "\n");

  // from = to tests exactly that epoch.
  ::testing::internal::CaptureStdout();
  n = g.CheckExternalEpochs(from, from, 30.0L);
  out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(n, 0);
  EXPECT_NE(out.find("       30.0 s\n\n  FINAL RESULTS:          0 PROBLEMATIC EPOCH!\n\n"),
            std::string::npos)
      << out;

  // A step that is not positive would never reach `to`: refused.
  CaptureResult r = RunCaptured([&] { g.CheckExternalEpochs(from, to, 0.0L); });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, ErrorFrame("Function:   toGCRS::CheckExternalEpochs()",
                              "Interval of epochs for ITRS>GCRS check must be GREATER than 0!"));
  r = RunCaptured([&] { g.CheckExternalEpochs(from, to, 1e-30L); });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Interval of epochs for ITRS>GCRS check too small to step the epochs!"),
            std::string::npos);
}

TEST(ToGCRSTest, IntervalIsTheSmallestStepRoundedWithinATenThousandth) {
  std::vector<std::string> L = FileLines();
  std::string head = L[0] + "\n" + L[1] + "\n";
  // UTC steps of 30.00005 s: 30 exactly; of 29.9 s: stays 29.9 (the TAI epoch moved alike).
  std::string r1 = L[2];
  std::string r2 = L[3];
  r2.replace(r2.find(" 0  0 12.000"), 12, " 0  0 12.00005").replace(0, 18, "60133.000567130210");
  toGCRS g1;
  std::string f1 = WriteTemp("i1", head + r1 + "\n" + r2 + "\n");
  g1.SetFile(f1.c_str());
  g1.ReadFile();
  EXPECT_EQ(g1.GetInterval(), 30.0L);
  r2 = L[3];
  r2.replace(r2.find(" 0  0 12.000"), 12, " 0  0 11.900").replace(0, 18, "60133.000565972224");
  toGCRS g2;
  std::string f2 = WriteTemp("i2", head + r1 + "\n" + r2 + "\n");
  g2.SetFile(f2.c_str());
  g2.ReadFile();
  EXPECT_NEAR(static_cast<double>(g2.GetInterval()), 29.9, 1e-9);
  unlink(f1.c_str());
  unlink(f2.c_str());
}

TEST(ToGCRSTest, LinesThatAreNotOneRecordEachAreRefused) {
  std::vector<std::string> L = FileLines();
  std::string head = L[0] + "\n" + L[1] + "\n";
  const std::string place = "Function:   toGCRS::ReadFile()";
  std::string cut = L[3].substr(0, 200);  // the record broken after its 200th character
  auto named = [](const char* tag) { return "Line 4 of ITRS>GCRS matrix file >" + TempName(tag) + "<: "; };
  const std::string notRotation =
      "the nine matrix elements are NOT A ROTATION (rows not orthonormal within 1e-06, or a reflection)!";
  auto changed = [&](const std::string& from, const std::string& to) {
    return head + L[2] + "\n" + std::string(L[3]).replace(L[3].find(from), from.size(), to) + "\n";
  };
  struct Case {
    const char* tag;
    std::string text;
    std::string msg;
  } cases[] = {
      {"blank", head + "\n" + L[2] + "\n" + L[3] + "\n",
       "Line 3 of ITRS>GCRS matrix file holds 0 values, not 20!"},
      {"broken", head + L[2] + "\n" + cut + "\n" + L[3].substr(200) + "\n",
       "Line 4 of ITRS>GCRS matrix file holds " + std::to_string(cwords(cut.c_str())) +
           " values, not 20!"},
      {"short", head + L[2] + "\n" + L[3].substr(0, L[3].rfind(' ')) + "\n",
       "Line 4 of ITRS>GCRS matrix file holds 19 values, not 20!"},
      {"garbled", head + L[2] + "\n" + L[3].substr(0, 25) + "x" + L[3].substr(26)  /* the month */ + "\n",
       "Line 4 of ITRS>GCRS matrix file: value 3 >x< not valid!"},
      {"long", head + L[2] + "\n" + L[3] + std::string(200, ' ') + "\n",
       "Line 4 of ITRS>GCRS matrix file longer than 511 characters!"},
      {"point", changed(" 0.00227", " 000227"), named("point") + notRotation},  // R13 read as 2.3e13
      {"reflection", changed("-0.0005749582501996  -0.0021962059352750   0.9999974230479298",  // third row negated
                             " 0.0005749582501996   0.0021962059352750  -0.9999974230479298"),
       named("reflection") + notRotation},
      {"digit", changed("60133.000567", "60133.100567"),  // the TAI epoch 2.4 h on: TAI - UTC 8640 + 37 s
       named("digit") + "its TAI and UTC epochs DISAGREE - TAI-UTC 8677.000000 s, on that date 36, 37 or 38 s!"},
      {"decimals", changed("60133.000567129631", "60133.00057"),
       named("decimals") + "its TAI epoch of 5 decimals CAN NOT TELL A TENTH of a second (6 decimals at least)!"},
  };
  for (const Case& c : cases) {
    std::string f = WriteTemp(c.tag, c.text);
    CaptureResult r = RunCaptured([&] {
      toGCRS g;
      g.SetFile(f.c_str());
      g.ReadFile();
    });
    EXPECT_EQ(r.exitCode, 1) << c.tag;
    EXPECT_EQ(r.err, ErrorFrame(place, c.msg)) << c.tag;
    unlink(f.c_str());
  }

  // A missing file, and a file of only the two header lines (no record).
  CaptureResult r = RunCaptured([] {
    toGCRS g;
    g.SetFile("/nonexistent/GCRS.txt");
  });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, ErrorFrame("Function:   toGCRS::SetFile()",
                              "Input ITRS>GCRS matrix file can not be opened!"));
  std::string f = WriteTemp("empty", head);
  r = RunCaptured([&] {
    toGCRS g;
    g.SetFile(f.c_str());
    g.ReadFile();
  });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, ErrorFrame(place, "Input ITRS>GCRS matrix file holds NO records!"));
  unlink(f.c_str());
}

}  // namespace
