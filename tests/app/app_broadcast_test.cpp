// End-to-end runs of morvi on the broadcast ephemeris of 2023-07-08 (RINEX 3.04
// of a Septentrio receiver), compared with CODE's precise orbit of the same day,
// with and without the ANTEX antenna offsets; the notes and the verbose trace of
// the ephemeris input.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_support.h"
#include "support/capture.h"

using apptest::Contains;
using apptest::Count;
using apptest::EndsWith;
using apptest::Scratch;
using apptest::kData;
using apptest::kSp3;
using apptest::kNav;
using apptest::kAtx;

namespace {



// Earth-fixed positions (m) of a results file by satellite and second of day.
using Positions = std::map<std::string, std::map<long, std::vector<double>>>;
Positions ReadPositions(const std::string& file) {
  Positions p;
  for (const apptest::Row& r : apptest::ReadResults(file).rows)
    p[r.prn][static_cast<long>(r.msec)] = {r.v[0], r.v[1], r.v[2]};
  return p;
}

double Distance(const std::vector<double>& a, const std::vector<double>& b) {
  return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

// Mean 3-D distance per satellite between two runs, over their common epochs.
std::map<std::string, double> MeanDistance(const Positions& a, const Positions& b) {
  std::map<std::string, double> d;
  for (const auto& sat : a) {
    auto other = b.find(sat.first);
    if (other == b.end()) continue;
    double sum = 0;
    int n = 0;
    for (const auto& e : sat.second) {
      auto o = other->second.find(e.first);
      if (o == other->second.end()) continue;
      sum += Distance(e.second, o->second);
      n++;
    }
    if (n > 0) d[sat.first] = sum / n;
  }
  return d;
}

const std::vector<std::string> kSpan = {"-es2023-07-08,04:00:00.0", "-ee2023-07-08,05:00:00.0"};

std::vector<std::string> Args(std::vector<std::string> a) {
  a.insert(a.end(), kSpan.begin(), kSpan.end());
  return a;
}

}  // namespace

// Broadcast orbits refer to the antenna phase centre, the precise orbit to the
// centre of mass: with the ANTEX offsets GPS and Galileo come closer to it, for
// every satellite; GLONASS broadcast orbits agree to a few metres.
TEST(AppBroadcast, AntennaOffsetBringsBroadcastCloserToPreciseOrbit) {
  Scratch tmp;
  CaptureResult pe = RunMorvi(Args({"-gsGER", "-sp" + kSp3, "-r" + tmp("pe.txt")}));
  CaptureResult b0 = RunMorvi(Args({"-gsGER", "-sb" + kNav, "-r" + tmp("b0.txt")}));
  CaptureResult b1 = RunMorvi(Args({"-gsGER", "-sb" + kNav, "-r" + tmp("b1.txt"), "-a" + kAtx}));
  ASSERT_EQ(pe.exitCode, 0) << pe.err;
  ASSERT_EQ(b0.exitCode, 0) << b0.err;
  ASSERT_EQ(b1.exitCode, 0) << b1.err;
  Positions precise = ReadPositions(tmp("pe.txt"));
  std::map<std::string, double> plain = MeanDistance(ReadPositions(tmp("b0.txt")), precise);
  std::map<std::string, double> corrected = MeanDistance(ReadPositions(tmp("b1.txt")), precise);

  std::map<char, double> sumPlain, sumCorrected;
  std::map<char, int> n;
  for (const auto& s : plain) {
    char sys = s.first[0];
    double c = corrected.at(s.first);
    if (sys == 'R') {
      EXPECT_LT(s.second, 10.0) << s.first;
      continue;
    }
    EXPECT_LT(s.second, 3.0) << s.first;
    EXPECT_LT(c, s.second) << s.first << " with ANTEX " << c << " m, without " << s.second << " m";
    sumPlain[sys] += s.second;
    sumCorrected[sys] += c;
    n[sys]++;
  }
  EXPECT_EQ(n['G'], 17);
  EXPECT_EQ(n['E'], 7);
  for (char sys : {'G', 'E'}) {
    double p = sumPlain[sys] / n[sys], c = sumCorrected[sys] / n[sys];
    EXPECT_LT(c, 0.75 * p) << sys << ": mean with ANTEX " << c << " m, without " << p << " m";
  }
  // GLONASS satellites with a block are corrected too; those without get the warning.
  EXPECT_FALSE(Contains(b1.err, "ANTEX data for satellite R07"));
  EXPECT_EQ(Count(b1.err, "#### Morvi: Warning -> ANTEX data for satellite R06 ####\n"), 13u);
}

// A satellite without a calibration block keeps its uncorrected position and
// gets the warning at every epoch; with a precise orbit nothing is corrected.
TEST(AppBroadcast, AntexWithoutBlockAndWithPreciseOrbit) {
  Scratch tmp;
  CaptureResult b0 = RunMorvi(Args({"-gsJ", "-sb" + kNav, "-r" + tmp("b0.txt"), "-pJ02"}));
  CaptureResult b1 = RunMorvi(Args({"-gsJ", "-sb" + kNav, "-r" + tmp("b1.txt"), "-pJ02", "-a" + kAtx}));
  ASSERT_EQ(b1.exitCode, 0) << b1.err;
  EXPECT_EQ(ReadWholeFile(tmp("b0.txt")), ReadWholeFile(tmp("b1.txt")));
  EXPECT_EQ(Count(b1.err, WarningFrame("Morvi", "ANTEX data for satellite J02")), 13u);

  CaptureResult p0 = RunMorvi(Args({"-gsGE", "-sp" + kSp3, "-r" + tmp("p0.txt"), "-pG05,E08"}));
  CaptureResult p1 = RunMorvi(Args({"-gsGE", "-sp" + kSp3, "-r" + tmp("p1.txt"), "-pG05,E08", "-a" + kAtx}));
  ASSERT_EQ(p1.exitCode, 0) << p1.err;
  EXPECT_EQ(ReadWholeFile(tmp("p0.txt")), ReadWholeFile(tmp("p1.txt")));
  EXPECT_FALSE(Contains(p1.err, "ANTEX data"));
}

// Without -es, -ee and -p the run spans the earliest to the latest record of the
// file (00:00 to 06:00 GPS time) for every satellite of a selected system, and
// the three notes are written without -v.
TEST(AppBroadcast, SpanAndSatellitesFromTheNavigationFile) {
  Scratch tmp;
  CaptureResult r = RunMorvi({"-gsG", "-sb" + kNav, "-r" + tmp("res.txt"), "-ei600"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Contains(r.err,
                       "Morvi :: SetProcessingParms() : Setting START epoch from BROADCAST EPHEMERIS \n"
                       "Morvi :: SetProcessingParms() : Setting END epoch from BROADCAST EPHEMERIS \n"
                       "Morvi :: SetProcessingParms() : Setting LIST OF SATELLITES from BROADCAST EPHEMERIS \n"));
  EXPECT_EQ(Count(r.out, "  Satellite: "), 17u);
  EXPECT_TRUE(Contains(r.out, "  Satellite: G19 ->         37 ITRS positions/velocities\n"));
  EXPECT_FALSE(Contains(r.out, "  Satellite: E"));
  Positions p = ReadPositions(tmp("res.txt"));
  EXPECT_EQ(p.size(), 17u);
  EXPECT_EQ(p["G19"].begin()->first, 0);
  EXPECT_EQ(p["G19"].rbegin()->first, 21600);

  CaptureResult one = RunMorvi({"-gsG", "-sb" + kNav, "-r" + tmp("one.txt"), "-ee2023-07-08,04:00:00.0"});
  ASSERT_EQ(one.exitCode, 0) << one.err;
  EXPECT_FALSE(Contains(one.err, "Setting END epoch"));
  EXPECT_TRUE(Contains(one.err, "Setting START epoch from BROADCAST EPHEMERIS"));
}

// The verbose trace of the input steps: the navigation counts per system (no
// line for a system without records), the ANTEX counts.
TEST(AppBroadcast, VerboseTraceOfTheInput) {
  Scratch tmp;
  CaptureResult r = RunMorvi(Args({"-v", "-gsS", "-sb" + kNav, "-r" + tmp("res.txt"), "-a" + kAtx, "-pS37"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string want =
      "Morvi -- SetFiles() - SETTING ALL INPUT DATA FILES \n"
      "Morvi :: SetFiles() : Setting broadcast ephemeris file name \n"
      "Morvi :: SetFiles() : Setting ANTEX file name \n"
      "Morvi -- SetFiles() - ++- \n"
      "Morvi -- ReadFiles() - READING ALL INPUT DATA FILES \n"
      "Morvi :: ReadFiles() : Reading broadcast ephemeris file: 350 satellites \n"
      "Morvi :: ReadFiles() :                        :   17 GPS \n"
      "Morvi :: ReadFiles() :                        :   12 GLONASS \n"
      "Morvi :: ReadFiles() :                        :   82 GALILEO \n"
      "Morvi :: ReadFiles() :                        :   42 BDS \n"
      "Morvi :: ReadFiles() :                        :   193 SBAS \n"
      "Morvi :: ReadFiles() :                        :   4 QZSS \n"
      "Morvi :: ReadFiles() : Reading ANTEX file: 31 ants \n"
      "Morvi :: ReadFiles() :                        : 0 recs \n"
      "Morvi :: ReadFiles() :                        : 31 sats \n"
      "Morvi -- ReadFiles() - ++- \n"
      "Morvi -- SetProcessingParms() - SETTING PROCESSING PARAMETERS \n"
      "Morvi -- CalcPos() - CALCULATING POSITIONS OF SATELLITES \n";
  EXPECT_TRUE(Contains(r.err, want)) << r.err;
  EXPECT_TRUE(Contains(r.out, "Brodcast ephemeris file: " + kNav + "\n"));
  EXPECT_TRUE(Contains(r.out, "ANTEX file: " + kAtx + "\n"));
  EXPECT_TRUE(Contains(r.err, "Morvi :: CalcPos() :   S37:         13 ITRS \n"));
}

// SBAS rows are the broadcast model of the nearest record (the earlier on a
// tie), X0 + V0 dt + A0 dt^2 / 2 and V0 + A0 dt, with the clock aGf0 + aGf1 dt
// less 2 r.v / c^2, to the printed digits: two hours at 30 s of the four GEO
// satellites of a receiver's file of 2020-06-25, records 64 to 256 s apart.
TEST(AppBroadcast, SbasRowsAreTheBroadcastModelOfTheNearestRecord) {
  struct Rec {
    std::string sat;
    double t;  // seconds from 2020-06-25 00:00 GPS time
    double v[15];  // the values of the record line and its three continuation lines
  };
  const std::string file = std::string(MORVI_TEST_DATA) + "/rinex/MOJN00DNK_R_20201770000_SBAS.rnx";
  std::vector<Rec> recs;
  {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line) && line.find("END OF HEADER") == std::string::npos) {
    }
    while (std::getline(in, line)) {
      Rec r;
      r.sat = line.substr(0, 3);
      int y, mo, d, h, mi;
      double s;
      std::istringstream(line.substr(4, 19)) >> y >> mo >> d >> h >> mi >> s;
      r.t = (d - 25) * 86400.0 + h * 3600.0 + mi * 60.0 + s;
      for (int k = 0; k < 3; k++) r.v[k] = std::stod(line.substr(23 + 19 * k, 19));
      for (int l = 0; l < 3; l++) {
        std::getline(in, line);
        for (int k = 0; k < 4; k++) r.v[3 + 4 * l + k] = std::stod(line.substr(4 + 19 * k, 19));
      }
      recs.push_back(r);
    }
  }
  Scratch tmp;
  CaptureResult r = RunMorvi({"-gsS", "-sb" + file, "-es2020-06-25,03:00:00.0", "-ee2020-06-25,05:00:00.0", "-ei30",
                              "-r" + tmp("res.txt")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::ifstream in(tmp("res.txt"));
  std::string line;
  std::getline(in, line);
  const double c = 299792458.0;
  int rows = 0;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    std::istringstream ss(line);
    std::string date, time, prn;
    long mday;
    double msec, X[7];
    ss >> date >> time >> mday >> msec >> prn;
    for (double& x : X) ss >> x;
    const Rec* best = nullptr;
    for (const Rec& rec : recs)
      if (rec.sat == prn && (best == nullptr || std::fabs(msec - rec.t) < std::fabs(msec - best->t))) best = &rec;
    ASSERT_NE(best, nullptr) << line;
    const double dt = msec - best->t;
    // position (km) at 3, 7, 11, velocity at 4, 8, 12, acceleration at 5, 9, 13
    double p[3], v[3];
    for (int i = 0; i < 3; i++) {
      const double* e = best->v + 3 + 4 * i;
      p[i] = 1000.0 * (e[0] + e[1] * dt + 0.5 * e[2] * dt * dt);
      v[i] = 1000.0 * (e[1] + e[2] * dt);
      EXPECT_NEAR(X[i], p[i], 0.0015) << line;
      EXPECT_NEAR(X[4 + i], v[i], 0.0015) << line;
    }
    const double clock = best->v[0] + best->v[1] * dt - 2.0 * (p[0] * v[0] + p[1] * v[1] + p[2] * v[2]) / (c * c);
    EXPECT_NEAR(X[3], clock * 1000.0, 1.5e-6) << line;
    rows++;
  }
  EXPECT_EQ(rows, 4 * 241);
}

// A fine GLONASS integration step over a distance within the validity limit
// completes (04:00 lies 918 s before the R07 record of 04:15:18 GPS time: 459 000
// steps of 2 ms) and agrees with a step of 10 ms to the printed millimetre.
TEST(AppBroadcast, FineGlonassStepCompletes) {
  Scratch tmp;
  for (const std::string step : {"0.002", "0.01"}) {
    CaptureResult r = RunMorvi({"-gsR", "-pR07", "-sb" + kNav, "-ni" + step, "-es2023-07-08,04:00:00.0",
                                "-ee2023-07-08,04:30:00.0", "-ei900", "-r" + tmp("res" + step)});
    ASSERT_EQ(r.exitCode, 0) << step << r.err;
  }
  Positions fine = ReadPositions(tmp("res0.002")), coarse = ReadPositions(tmp("res0.01"));
  ASSERT_EQ(fine["R07"].size(), 3u);
  for (const auto& [sec, p] : fine["R07"]) EXPECT_LE(Distance(p, coarse["R07"].at(sec)), 0.0011) << sec;
}
