// End-to-end runs of morvi on real files of 2023-07-08: the SP3 orbit at its own
// nodes and between them, the GCRS and Earth-rotation-free columns, the results
// file layout, the loop's edge cases, the notes of the ephemeris input, the
// fatal paths of files that cannot be written or named, and broadcast epochs far
// from their records.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "MorviEpochs.h"
#include "app/app_support.h"
#include "support/capture.h"

using apptest::Contains;
using apptest::Count;
using apptest::EndsWith;
using apptest::Scratch;
using apptest::kData;
using apptest::kSp3;
using apptest::kGcrs;
using apptest::ReadResults;
using apptest::Results;
using apptest::Row;

namespace {

const double kC = 299792458.0;  // speed of light, m/s (IERS Conventions 2010)



// The SP3 nodes of the test file: per satellite and epoch index, x y z (km) and clock (microseconds).
std::map<std::string, std::vector<std::vector<double>>> ReadSp3Nodes(const std::string& file) {
  std::map<std::string, std::vector<std::vector<double>>> nodes;
  std::ifstream in(file);
  std::string line;
  int epoch = -1;
  while (std::getline(in, line)) {
    if (line.rfind("*  ", 0) == 0) epoch++;
    if (line.size() > 4 && line[0] == 'P' && epoch >= 0) {
      std::istringstream ss(line.substr(4));
      std::vector<double> v(4);
      ss >> v[0] >> v[1] >> v[2] >> v[3];
      auto& list = nodes[line.substr(1, 3)];
      list.resize(epoch + 1);
      list[epoch] = v;
    }
  }
  return nodes;
}

// The rotation matrices of a rotation file of 2023-07-08 by the TAI second of
// the day of their records (the first column, a decimal MJD), rounded.
std::map<long, std::vector<double>> ReadRotations(const std::string& file) {
  std::map<long, std::vector<double>> m;
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::istringstream ss(line);
    double tai, y, mo, d, h, mi, s;
    ss >> tai >> y >> mo >> d >> h >> mi >> s;
    std::vector<double> r(9);
    for (double& e : r) ss >> e;
    m[std::lround((tai - 60133.0) * 86400.0)] = r;
  }
  return m;
}

// TAI - GPS time (s) and the Earth's rotation rate (rad/s, IS-GPS-200).
const long kTaiMinusGps = 19;
const double kOmegaE = 7.2921151467e-5;

// Checks the GCRS group (row values 7..12) of every row against the record of
// the rotation file whose TAI epoch is the row's epoch (GPS time) + 19 s: the
// position R r_T and the velocity R (v_T + w x r_T), w = (0, 0, wE), from the
// printed Earth-fixed columns, within the printed millimetre and its rounding.
void ExpectInertialGcrs(const std::vector<Row>& rows, const std::map<long, std::vector<double>>& rot) {
  for (const Row& row : rows) {
    ASSERT_GE(row.v.size(), 13u) << row.line;
    ASSERT_EQ(row.mday, 60133) << row.line;
    auto it = rot.find(std::lround(row.msec) + kTaiMinusGps);
    ASSERT_NE(it, rot.end()) << "no record of the instant of " << row.line;
    const std::vector<double>& m = it->second;
    const double r[3] = {row.v[0], row.v[1], row.v[2]};
    const double vi[3] = {row.v[4] - kOmegaE * r[1], row.v[5] + kOmegaE * r[0], row.v[6]};
    for (int i = 0; i < 3; i++) {
      double p = m[3 * i] * r[0] + m[3 * i + 1] * r[1] + m[3 * i + 2] * r[2];
      double v = m[3 * i] * vi[0] + m[3 * i + 1] * vi[1] + m[3 * i + 2] * vi[2];
      EXPECT_NEAR(row.v[7 + i], p, 0.0015) << "position " << i << " of " << row.line;
      EXPECT_NEAR(row.v[10 + i], v, 0.0015) << "velocity " << i << " of " << row.line;
    }
  }
}

const char* kHeaderT =
    "#     DATUM     CLOCK     MDAY    MSEC     PRN        X-T[m]          Y-T[m]          Z-T[m]        DT[msec]   "
    "VX-T[m/s]   VY-T[m/s]   VZ-T[m/s]";
const char* kHeaderC = "        X-C[m]          Y-C[m]          Z-C[m]     VX-C[m/s]   VY-C[m/s]   VZ-C[m/s]";
const char* kHeaderR = "        X-R[m]          Y-R[m]          Z-R[m]     VX-R[m/s]   VY-R[m/s]   VZ-R[m/s]";

}  // namespace

// At the SP3's own epochs the rows reproduce the file: positions to the printed
// millimetre, clocks (less the periodic relativistic term 2 x.v / c^2) to the
// printed nanosecond; a clock the file marks missing comes out as 0.
TEST(AppRun, Sp3NodesReproduceTheFile) {
  Scratch tmp;
  std::string res = tmp("res.txt");
  CaptureResult r = RunMorvi({"-gsGRECJ", "-sp" + kSp3, "-r" + res});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  Results out = ReadResults(res);
  EXPECT_EQ(out.header, kHeaderT);
  auto nodes = ReadSp3Nodes(kSp3);
  ASSERT_EQ(nodes.size(), 33u);
  ASSERT_EQ(out.rows.size(), 33u * 85u);

  // The first row, byte for byte up to the clock.
  const std::string first =
      " 2023-07-08 00:00:00.0   60133     0.0     G01   -13318697.830     8985725.273    20730005.017";
  EXPECT_EQ(out.rows[0].line.substr(0, first.size()), first);

  int checked = 0, missingClocks = 0;
  for (const Row& row : out.rows) {
    ASSERT_EQ(row.v.size(), 7u) << row.line;
    int k = static_cast<int>(std::lround(row.msec / 300.0));
    ASSERT_EQ(row.mday, 60133);
    const std::vector<double>& n = nodes.at(row.prn).at(k);
    for (int c = 0; c < 3; c++) EXPECT_NEAR(row.v[c], n[c] * 1000.0, 0.0011) << row.line;
    // The 4-point clock window of node k holds the records k-1 to k+2, kept inside the file.
    int ix = std::min(std::max(k - 1, 0), 85 - 4);
    bool clockMissing = false;
    for (int j = ix; j < ix + 4; j++) clockMissing = clockMissing || nodes.at(row.prn).at(j)[3] > 999999.0;
    if (clockMissing) {
      EXPECT_EQ(row.v[3], 0.0) << row.line;
      missingClocks++;
    } else {
      double rel = 2.0 * (row.v[0] * row.v[4] + row.v[1] * row.v[5] + row.v[2] * row.v[6]) / (kC * kC);
      double wantMs = (n[3] * 1e-6 - rel) * 1000.0;
      EXPECT_NEAR(row.v[3], wantMs, 1.5e-6) << row.line;
    }
    checked++;
  }
  EXPECT_EQ(checked, 33 * 85);
  EXPECT_GT(missingClocks, 0);

  // One summary line per satellite, in the order of the file's list.
  EXPECT_TRUE(Contains(r.out, "  Satellite: G01 ->         85 ITRS positions/velocities\n"));
  EXPECT_EQ(Count(r.out, "  Satellite: "), 33u);
  EXPECT_LT(r.out.find("  Satellite: G30"), r.out.find("  Satellite: R07"));
}

// Between the nodes the velocity column is the rate of the position column:
// the central difference over 2 s of positions printed to the millimetre.
TEST(AppRun, Sp3VelocityMatchesPositionChange) {
  Scratch tmp;
  std::string res = tmp("res.txt");
  CaptureResult r = RunMorvi({"-gsGRE", "-sp" + kSp3, "-r" + res, "-pG05,R21,E26", "-es2023-07-08,02:02:10.0",
                              "-ee2023-07-08,02:02:30.5", "-ei1"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  Results out = ReadResults(res);
  ASSERT_EQ(out.rows.size(), 3u * 21u);
  for (size_t b = 0; b < 3; b++) {
    for (size_t i = 21 * b + 1; i + 1 < 21 * (b + 1); i++) {
      const Row &a = out.rows[i - 1], &m = out.rows[i], &e = out.rows[i + 1];
      for (int c = 0; c < 3; c++) EXPECT_NEAR((e.v[c] - a.v[c]) / 2.0, m.v[4 + c], 0.0012) << m.line;
    }
  }
  // An interval that does not divide the span: the last row is the last epoch
  // not later than the end, 02:02:30.0.
  EXPECT_EQ(out.rows[20].time, "02:02:30.0");
  EXPECT_EQ(out.lines.size(), 1u + 3u * 22u);
}

// -t: the GCRS columns are the state of the record of the same instant; -o: at
// the first epoch the Earth-rotation-free columns equal the Earth-fixed ones,
// 21600 s later X-R = -Y-T and Y-R = X-T (their velocity only turned).
TEST(AppRun, GcrsAndEarthRotationFreeColumns) {
  Scratch tmp;
  std::string res = tmp("res.txt");
  CaptureResult r = RunMorvi({"-gsGE", "-sp" + kSp3, "-r" + res, "-t" + kGcrs, "-o", "-pG13,E08"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  Results out = ReadResults(res);
  EXPECT_EQ(out.header, std::string(kHeaderT) + kHeaderC + kHeaderR);
  ASSERT_EQ(out.rows.size(), 2u * 85u);
  ExpectInertialGcrs(out.rows, ReadRotations(kGcrs));
  for (const Row& row : out.rows) {
    ASSERT_EQ(row.v.size(), 19u) << row.line;
    if (row.msec == 0.0) {
      for (int i = 0; i < 3; i++) EXPECT_EQ(row.v[13 + i], row.v[i]) << row.line;
      for (int i = 0; i < 3; i++) EXPECT_EQ(row.v[16 + i], row.v[4 + i]) << row.line;
    }
    if (row.msec == 21600.0) {
      EXPECT_NEAR(row.v[13], -row.v[1], 0.0011) << row.line;
      EXPECT_NEAR(row.v[14], row.v[0], 0.0011) << row.line;
      EXPECT_EQ(row.v[15], row.v[2]) << row.line;
      EXPECT_NEAR(row.v[16], -row.v[5], 0.0011) << row.line;
      EXPECT_NEAR(row.v[17], row.v[4], 0.0011) << row.line;
    }
  }
  // 85 epochs, each with its rotation record.
  EXPECT_TRUE(Contains(r.out, "  Satellite: G13 ->         85 ITRS positions/velocities        85 GCRS positions/velocities "
                              "[     0 problematic!]        85 EARTH FIXED positions/velocities\n"));
  EXPECT_TRUE(Contains(r.out, "  FINAL RESULTS:          0 PROBLEMATIC EPOCH!\n"));
}

// The GCRS columns of a broadcast run and of an SP3 run (both GPS time) at 30 s
// take, for every epoch, the rotation record of the same instant (TAI epoch =
// epoch + 19 s) and give the inertial state: the velocity agrees with the
// central difference of the printed GCRS positions 30 s either side (whose own
// error is about 0.01 m/s), where the matrix alone on the Earth-fixed velocity
// misses by some 2 km/s.
TEST(AppRun, GcrsColumnsAreTheInertialStateOfTheSameInstant) {
  const std::string rotFile = std::string(MORVI_TEST_DATA) + "/gcrs/GCRS_20231890_30S_GPST.txt";
  auto rot = ReadRotations(rotFile);
  const std::vector<std::string> span = {"-es2023-07-08,04:00:00.0", "-ee2023-07-08,05:00:00.0", "-ei30", "-t" + rotFile};
  const std::vector<std::vector<std::string>> runs = {
      {"-gsGRE", "-sb" + apptest::kNav, "-pG05,R07,E08"},
      {"-gsGRECJ", "-sp" + kSp3, "-pG13,R21,E26,C19,J02"}};
  for (const auto& run : runs) {
    Scratch tmp;
    std::vector<std::string> args = run;
    args.insert(args.end(), span.begin(), span.end());
    args.push_back("-r" + tmp("res.txt"));
    CaptureResult r = RunMorvi(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Contains(r.out, "  FINAL RESULTS:          0 PROBLEMATIC EPOCH!\n")) << run[1];
    EXPECT_EQ(Count(r.out, "       121 GCRS positions/velocities [     0 problematic!]"), run.size() == 3 && run[0] == "-gsGRE" ? 3u : 5u);
    Results out = ReadResults(tmp("res.txt"));
    ExpectInertialGcrs(out.rows, rot);
    double worst = 0;
    for (size_t i = 1; i + 1 < out.rows.size(); i++) {
      const Row &a = out.rows[i - 1], &m = out.rows[i], &e = out.rows[i + 1];
      if (a.prn != m.prn || e.prn != m.prn) continue;
      for (int c = 0; c < 3; c++) {
        double diff = (e.v[7 + c] - a.v[7 + c]) / 60.0;
        worst = std::max(worst, std::fabs(diff - m.v[10 + c]));
        EXPECT_NEAR(m.v[10 + c], diff, 0.05) << m.line;
      }
    }
    EXPECT_GT(worst, 0.0) << run[1];
  }
  // 5e9 m out (the S30 record of 04:00 moved there) w x r is 3.6e5 m/s: a rate
  // of rotation 1.5e-12 rad/s off would move the velocity by 7 mm/s.
  Scratch tmp;
  std::string far = ReadWholeFile(apptest::kNav);
  std::ofstream(tmp("far.nav")) << far.replace(far.find("\n    -3.226796040000E+04"), 24, "\n     5.000000000000E+06");
  CaptureResult r = RunMorvi({"-gsS", "-pS30", "-sb" + tmp("far.nav"), "-es2023-07-08,04:00:00.0",
                              "-ee2023-07-08,04:01:00.0", "-ei30", "-t" + rotFile, "-r" + tmp("far.txt")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  Results out = ReadResults(tmp("far.txt"));
  ASSERT_EQ(out.rows.size(), 3u);
  EXPECT_GT(out.rows[0].v[0], 4.9e9) << out.rows[0].line;
  ExpectInertialGcrs(out.rows, rot);
}

// The rotation file is searched by the instant in the SP3 file's time system: a
// copy of the GPS-time file whose header names UTC takes the record of the same
// label in UTC, 18 s after the one of the GPS-time file (GPS - UTC = 18 s in
// 2023); an unknown time system is taken as GPS time with a warning. Rotation
// records at whole UTC half-minutes serve no GPS-time epoch at whole half-minutes:
// every row is problematic.
TEST(AppRun, RotationRecordOfTheSp3TimeSystem) {
  Scratch tmp;
  const std::string gpst = kGcrs;
  const std::string utc = kData + "GCRS_20231890_0-7H_300S_UTC.txt";
  // One rotation file with the records of both: 03:59:42 and 04:00:00 UTC, ...
  std::ifstream a(gpst), b(utc);
  std::vector<std::string> la, lb;
  for (std::string l; std::getline(a, l);) la.push_back(l);
  for (std::string l; std::getline(b, l);) lb.push_back(l);
  std::ofstream both(tmp("both.txt"));
  both << la[0] << "\n" << la[1] << "\n";
  for (size_t k = 2; k < la.size() && k < lb.size(); k++) both << la[k] << "\n" << lb[k] << "\n";
  both.close();
  auto rot = ReadRotations(tmp("both.txt"));

  std::string sp3 = ReadWholeFile(kSp3);
  const std::string field = "%c M  cc GPS ";
  ASSERT_NE(sp3.find(field), std::string::npos);
  auto copyWith = [&](const std::string& sys) {
    std::string text = sp3;
    text.replace(text.find(field), field.size(), "%c M  cc " + sys + " ");
    std::string name = tmp("orbit_" + sys + ".sp3");
    std::ofstream(name) << text;
    return name;
  };
  const std::vector<std::string> common = {"-gsG", "-pG13", "-es2023-07-08,04:00:00.0", "-ee2023-07-08,05:00:00.0",
                                           "-ei300", "-t" + tmp("both.txt")};
  std::map<std::string, Results> res;
  std::map<std::string, CaptureResult> cap;
  for (const std::string sys : {"GPS", "UTC", "XYZ"}) {
    std::vector<std::string> args = common;
    args.push_back("-sp" + copyWith(sys));
    args.push_back("-r" + tmp("res_" + sys + ".txt"));
    cap[sys] = RunMorvi(args);
    ASSERT_EQ(cap[sys].exitCode, 0) << sys << cap[sys].err;
    res[sys] = ReadResults(tmp("res_" + sys + ".txt"));
    ASSERT_EQ(res[sys].rows.size(), 13u) << sys;
    EXPECT_TRUE(Contains(cap[sys].out, "  FINAL RESULTS:          0 PROBLEMATIC EPOCH!\n")) << sys;
  }
  // GPS: the record of TAI = epoch + 19 s; UTC: of TAI = epoch + 37 s.
  ExpectInertialGcrs(res["GPS"].rows, rot);
  std::map<long, std::vector<double>> rotUtc;
  for (const auto& [tai, m] : rot) rotUtc[tai - 37 + kTaiMinusGps] = m;
  ExpectInertialGcrs(res["UTC"].rows, rotUtc);
  for (size_t i = 0; i < 13; i++) {
    const Row &g = res["GPS"].rows[i], &u = res["UTC"].rows[i];
    for (int c = 0; c < 7; c++) EXPECT_EQ(g.v[c], u.v[c]) << u.line;  // the same orbit
    // 18 s of the Earth's turn apart (22 to 30 km for G13 here)
    double d = std::hypot(g.v[7] - u.v[7], g.v[8] - u.v[8]);
    EXPECT_NEAR(d / std::hypot(g.v[7], g.v[8]), 18 * kOmegaE, 0.01 * 18 * kOmegaE) << u.line;
  }
  // An unknown time system: a warning naming it, then the rows of GPS time.
  EXPECT_TRUE(Contains(cap["XYZ"].err,
                       "#### Morvi: Warning -> SP3 TIME SYSTEM >XYZ< NOT KNOWN - EPOCHS TAKEN AS GPS TIME FOR "
                       "ITRS>GCRS ROTATION! ####"))
      << cap["XYZ"].err;
  EXPECT_EQ(ReadWholeFile(tmp("res_XYZ.txt")), ReadWholeFile(tmp("res_GPS.txt")));
  EXPECT_FALSE(Contains(cap["GPS"].err, "Warning"));

  // Records at whole UTC half-minutes, GPS-time epochs at whole half-minutes: none found.
  CaptureResult r = RunMorvi({"-gsG", "-pG13", "-sb" + apptest::kNav, "-es2023-07-08,04:00:00.0",
                              "-ee2023-07-08,05:00:00.0", "-ei300", "-t" + utc, "-r" + tmp("res_whole.txt")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "  FINAL RESULTS:         13 PROBLEMATIC EPOCH!\n"));
  EXPECT_TRUE(Contains(r.out, "  Satellite: G13 ->         13 ITRS positions/velocities         0 GCRS positions/velocities "
                              "[    13 problematic!]\n"));
  EXPECT_EQ(Count(r.err, "#### Function:   toGCRS::SetEpoch(mjd&): Warning -> "), 13u);
}

// Epochs between the rotation records are counted as problematic, per row and
// in the check before the loop; the rows are written all the same.
TEST(AppRun, RotationFileMissingEpochs) {
  Scratch tmp;
  std::string res = tmp("res.txt");
  CaptureResult r = RunMorvi({"-v", "-gsG", "-sp" + kSp3, "-r" + res, "-t" + kGcrs, "-pG02",
                              "-es2023-07-08,06:00:00.0", "-ei150"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadResults(res).rows.size(), 25u);
  EXPECT_TRUE(Contains(r.out, "  Satellite: G02 ->         25 ITRS positions/velocities        13 GCRS positions/velocities "
                              "[    12 problematic!]\n"));
  EXPECT_TRUE(Contains(r.out, "  FINAL RESULTS:         12 PROBLEMATIC EPOCH!\n"));
  EXPECT_TRUE(Contains(r.err, "Morvi :: CheckTransformEpochs() : Number of problematic epochs: 12  \n"));
  EXPECT_TRUE(Contains(r.err, "Morvi :: CalcPos() :   G02:         25 ITRS           13 GCRS [        12 problems!] \n"));
  EXPECT_EQ(Count(r.err, "#### Function:   toGCRS::SetEpoch(mjd&): Warning -> "), 12u);
}

// The notes of the ephemeris input are written without -v; a given first epoch
// leaves only the last one and the list to the file.
TEST(AppRun, NotesOfSettingsTakenFromTheEphemeris) {
  Scratch tmp;
  CaptureResult all = RunMorvi({"-gsJ", "-sp" + kSp3, "-r" + tmp("a.txt"), "-ei3600"});
  ASSERT_EQ(all.exitCode, 0) << all.err;
  EXPECT_EQ(all.err,
            "Morvi :: SetProcessingParms() : Setting START epoch from PRECISE EPHEMERIS \n"
            "Morvi :: SetProcessingParms() : Setting END epoch from PRECISE EPHEMERIS \n"
            "Morvi :: SetProcessingParms() : Setting LIST OF SATELLITES from PRECISE EPHEMERIS \n");
  // The list of the file, the span of the file: the QZSS satellites, 00:00 to 07:00.
  EXPECT_TRUE(Contains(all.out, "  Satellite: J02 ->          8 ITRS positions/velocities\n"));
  EXPECT_FALSE(Contains(all.out, "  Satellite: G"));
  // The report shows the parameters as given, before they are taken from the file.
  EXPECT_TRUE(Contains(all.out, "  First epoch of calculated results :  ---\n"));

  CaptureResult one = RunMorvi({"-gsG", "-sp" + kSp3, "-r" + tmp("b.txt"), "-es2023-07-08,06:00:00.0", "-pG01"});
  ASSERT_EQ(one.exitCode, 0) << one.err;
  EXPECT_EQ(one.err, "Morvi :: SetProcessingParms() : Setting END epoch from PRECISE EPHEMERIS \n");
}

// The loop's edge cases: a satellite listed twice, one missing from the file,
// one of an unselected system (told once, however often listed).
TEST(AppRun, SatelliteLoopEdgeCases) {
  Scratch tmp;
  std::string res = tmp("res.txt");
  CaptureResult r = RunMorvi({"-gsG", "-sp" + kSp3, "-r" + res, "-pG07,G10,E07,G07,E07", "-es2023-07-08,01:00:00.0",
                              "-ee2023-07-08,01:10:00.0"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, WarningFrame("Morvi", "Satellite >E07< of LIST OF SATELLITES NOT OF A SELECTED GNSS SYSTEM - NOT "
                                         "CALCULATED!"));
  EXPECT_TRUE(Contains(r.out, "  Satellite: G07 ->          3 ITRS positions/velocities\n"
                              "  Satellite: G10 NOT IN EPHEMERIS FILE!\n"
                              "  Satellite: G07 ->          3 ITRS positions/velocities\n"));
  EXPECT_FALSE(Contains(r.out, "Satellite: E07"));
  Results out = ReadResults(res);
  EXPECT_EQ(out.lines.size(), 1u + 2u * 4u);
  EXPECT_EQ(out.lines[4], "");
  EXPECT_EQ(out.lines[1], out.lines[5]);
}

// A results file that cannot be created ends the run before any computation;
// one that cannot store its rows ends it with the same kind of frame.
TEST(AppRun, ResultsFileCannotBeCreated) {
  Scratch tmp;
  std::string res = tmp("no/such/dir/res.txt");
  CaptureResult r = RunMorvi({"-gsG", "-sp" + kSp3, "-r" + res, "-pG01"});
  EXPECT_EQ(r.exitCode, 1);
  std::string frame = ErrorFrame("Morvi", "Output file name >" + res + "< CAN NOT BE OPENED FOR WRITING!");
  ASSERT_GE(r.err.size(), frame.size());
  EXPECT_EQ(r.err.substr(r.err.size() - frame.size()), frame);
  EXPECT_TRUE(Contains(r.out, "CALCULATING POSITIONS OF SATELLITES:\n"));
  EXPECT_FALSE(Contains(r.out, "  Satellite: "));

  // A file that is opened but cannot take the rows (a full disk) is fatal too:
  // at the header line already, or at the end when the file grew too large.
  CaptureResult full = RunMorvi({"-gsG", "-sp" + kSp3, "-r/dev/full", "-pG01"});
  EXPECT_EQ(full.exitCode, 1);
  EXPECT_TRUE(EndsWith(full.err, ErrorFrame("Morvi", "Output file name >/dev/full< CAN NOT BE WRITTEN COMPLETELY!")))
      << full.err;
  EXPECT_FALSE(Contains(full.out, "  Satellite: "));

  std::string big = tmp("big.txt");
  CaptureResult cut = RunCaptured([&] {
    struct rlimit lim = {64 * 1024, 64 * 1024};  // bytes per file
    setrlimit(RLIMIT_FSIZE, &lim);
    signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of killing
    std::vector<std::string> args = {MORVI_EXE, "-gsG", "-sp" + kSp3, "-r" + big};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    execv(MORVI_EXE, argv.data());
  });
  EXPECT_EQ(cut.exitCode, 1);
  EXPECT_TRUE(EndsWith(cut.err, ErrorFrame("Morvi", "Output file name >" + big + "< CAN NOT BE WRITTEN COMPLETELY!")))
      << cut.err;
  EXPECT_TRUE(Contains(cut.out, "  Satellite: G30 ->         85 ITRS positions/velocities\n"));
  EXPECT_EQ(ReadWholeFile(big).size(), 64u * 1024u);
}

// A name longer than the readers' 255-character field is refused before any
// output, even when the file exists.
TEST(AppRun, FileNameLongerThanReaderField) {
  Scratch tmp;
  std::string dir = tmp.dir;
  for (int i = 0; i < 6; i++) {
    dir += "/" + std::string(50, 'd');
    mkdir(dir.c_str(), 0755);
  }
  const std::string nav = kData + "SEPT1890.23P", atx = kData + "M14_satellites_2023-189.atx";
  std::string sp3 = dir + "/orbit.sp3", gcrs = dir + "/gcrs.txt", longNav = dir + "/nav.rnx", longAtx = dir + "/sat.atx";
  std::system(("cp '" + kSp3 + "' '" + sp3 + "' && cp '" + kGcrs + "' '" + gcrs + "' && cp '" + nav + "' '" + longNav +
               "' && cp '" + atx + "' '" + longAtx + "'")
                  .c_str());
  ASSERT_GT(sp3.size(), 255u);
  ASSERT_TRUE(ReadWholeFile(longAtx).size() > 0);

  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"-sp" + sp3}, "GNSS PRECISE EPHEMERIS FILE NAME TOO LONG (" + std::to_string(sp3.size())},
      {{"-sb" + longNav}, "GNSS BROADCAST EPHEMERIS FILE NAME TOO LONG (" + std::to_string(longNav.size())},
      {{"-sp" + kSp3, "-t" + gcrs}, "ITRS>GCRS FILE NAME TOO LONG (" + std::to_string(gcrs.size())},
      {{"-sb" + nav, "-a" + longAtx}, "ANTEX FILE NAME TOO LONG (" + std::to_string(longAtx.size())}};
  for (const auto& c : cases) {
    std::vector<std::string> args = c.first;
    args.push_back("-gsG");
    args.push_back("-r" + tmp("res.txt"));
    CaptureResult r = RunMorvi(args);
    EXPECT_EQ(r.exitCode, 1) << c.second;
    EXPECT_EQ(r.err, ErrorFrame("Morvi", c.second + " > 255 characters) - NOT VALID!"));
    EXPECT_EQ(r.out, "");
  }
}

// Intervals far beyond the span end the loop after the first epoch; invalid
// dates and satellite codes on the command line end the run in their checks.
TEST(AppRun, ExtremeIntervalsAndInvalidValues) {
  Scratch tmp;
  CaptureResult big = RunMorvi({"-gsG", "-sp" + kSp3, "-r" + tmp("big.txt"), "-pG01", "-ei1e30"});
  ASSERT_EQ(big.exitCode, 0) << big.err;
  EXPECT_TRUE(Contains(big.out, "  Satellite: G01 ->          1 ITRS positions/velocities\n"));

  CaptureResult date = RunMorvi({"-gsG", "-sp" + kSp3, "-r" + tmp("d.txt"), "-es2023-13-01,00:00:00"});
  EXPECT_EQ(date.exitCode, 1);
  EXPECT_TRUE(EndsWith(date.err, "     Exiting Function:   ymdhms::SetMonth() ... \n\n")) << date.err;

  CaptureResult sat = RunMorvi({"-gsG", "-sp" + kSp3, "-r" + tmp("s.txt"), "-pG01,X05"});
  EXPECT_EQ(sat.exitCode, 1);
  EXPECT_EQ(sat.err, ErrorFrame("Function:   pSats::Parse(...)",
                                "Entry >X05< of LIST OF SATELLITES NOT VALID - form as >G01,G02,J12,R03<!"));
}

// A fatal error after the report: the redirected standard output holds the
// whole report and the redirected standard error ends with the frame.
TEST(AppRun, FatalInReaderKeepsRedirectedOutput) {
  Scratch tmp;
  std::string bad = tmp("bad.sp3"), out = tmp("out.txt"), err = tmp("err.txt");
  {
    std::ofstream f(bad);
    f << "this is not an orbit file\n";
  }
  CaptureResult r = RunMorvi({"-wo" + out, "-we" + err, "-gsG", "-sp" + bad, "-r" + tmp("res.txt")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  std::string o = ReadWholeFile(out), e = ReadWholeFile(err);
  EXPECT_TRUE(Contains(o, "  Output file name                 : " + tmp("res.txt") + "\n\n"));
  EXPECT_TRUE(Contains(o, "READING ALL INPUT DATA FILES:\n"));
  EXPECT_TRUE(Contains(e, "\n**** Function:   sp3::")) << e;
  EXPECT_EQ(e.substr(e.size() - 2), "\n\n");
}

namespace {

// Days from 1970-01-01 of a Gregorian date (the civil-from-days inverse of
// H. Hinnant's chrono algorithms), for the MJD of a printed date: MJD 40587.
long DaysFromCivil(long y, long m, long d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

// The epoch series over a whole day at steps of tenths: every epoch is the
// first plus k intervals, the last (24:00) belongs to it, no second prints as
// 60.0, and the calendar columns and the MJD columns of each row name the same
// tenth of a second; likewise across midnight from a first epoch with tenths.
// An epoch that rounds to 24:00:00.0 prints as the next day's 00:00:00.0.
TEST(AppRun, EpochSeriesOfTenthsOverAWholeDay) {
  Scratch tmp;
  struct Series {
    std::string interval, first, last;
    long tenths, n, lastTenth;  // step, epochs, last epoch in tenths of a second from MJD 0
  };
  for (const Series& c : std::vector<Series>{
           {"0.2", "2023-07-08,00:00:00", "2023-07-09,00:00:00", 2, 432001, 60134L * 864000L},
           {"1.2", "2023-07-08,00:00:00", "2023-07-09,00:00:00", 12, 72001, 60134L * 864000L},
           {"0.1", "2023-07-08,23:59:58.7", "2023-07-09,00:00:01.30", 1, 27, 60134L * 864000L + 13}}) {
    const std::string res = tmp("res" + c.interval);
    // The broadcast records end at 06:00: each later row warns; those warnings go away.
    CaptureResult r = RunMorvi({"-gsG", "-sb" + kData + "SEPT1890.23P", "-pG05", "-es" + c.first, "-ee" + c.last,
                                "-ei" + c.interval, "-r" + res, "-we/dev/null"});
    ASSERT_EQ(r.exitCode, 0) << c.interval;
    std::ifstream in(res);
    std::string line;
    std::getline(in, line);
    long n = 0, last = -1;
    bool allSame = true, allSteps = true;
    while (std::getline(in, line) && !line.empty()) {
      int y, mo, d, h, mi, mjdDay;
      double s, sec;
      ASSERT_EQ(sscanf(line.c_str(), " %d-%d-%d %d:%d:%lf %d %lf", &y, &mo, &d, &h, &mi, &s, &mjdDay, &sec), 8) << line;
      ASSERT_LT(s, 60.0) << line;
      const long fromDate = (DaysFromCivil(y, mo, d) + 40587) * 864000L + (h * 3600L + mi * 60L) * 10L + std::lround(s * 10);
      const long fromMjd = mjdDay * 864000L + std::lround(sec * 10);
      if (fromDate != fromMjd) allSame = false;
      if (last >= 0 && fromMjd - last != c.tenths) allSteps = false;
      last = fromMjd;
      n++;
    }
    EXPECT_TRUE(allSame) << c.interval;
    EXPECT_TRUE(allSteps) << c.interval;
    EXPECT_EQ(n, c.n) << c.interval;
    EXPECT_EQ(last, c.lastTenth) << c.interval;
  }
  for (const auto& [second, day, printed] : std::vector<std::tuple<long double, uint32_t, long double>>{
           {86399.96L, 60134, 0.0L}, {86399.94L, 60133, 86399.9L}, {43200.04L, 60133, 43200.0L}}) {
    const mjd p = morviepochs::PrintedEpoch(mjd(60133, second));
    EXPECT_EQ(p.GetMJDay(), day) << static_cast<double>(second);
    EXPECT_NEAR(static_cast<double>(p.GetSecond()), static_cast<double>(printed), 1e-9) << static_cast<double>(second);
  }
}

// Epochs far from the broadcast records end no run. A GLONASS epoch more than 3
// days after R07's last record (04:45 UTC, 04:45:18 GPS time) has no position
// and no clock, told once, and the run goes on; Keplerian epochs decades before
// the records are computed, each with the interval warning.
TEST(AppRun, BroadcastEpochsFarFromTheRecords) {
  Scratch tmp;
  const std::string nav = "-sb" + kData + "SEPT1890.23P";
  CaptureResult r = RunMorvi({"-gsGR", nav, "-pG05,R07", "-ee2023-07-12,04:00:00", "-ei3600", "-r" + tmp("glo.txt")});
  ASSERT_EQ(r.exitCode, 0) << r.err.substr(0, 2000);
  Results glo = ReadResults(tmp("glo.txt"));
  ASSERT_EQ(glo.rows.size(), 2u * 101u);  // 2023-07-08 00:00 to 2023-07-12 04:00
  const long reach = 3 * 86400 + 4 * 3600 + 45 * 60 + 18;
  int absent = 0;
  for (const Row& row : glo.rows) {
    const long t = (row.mday - 60133) * 86400 + std::lround(row.msec);
    const bool beyond = row.prn == "R07" && t > reach;
    const double radius = std::hypot(row.v[0], row.v[1], row.v[2]);
    if (beyond) absent++;
    EXPECT_TRUE(beyond ? radius == 0 && row.v[3] == 0 && row.v[4] == 0 : radius > 2e7) << row.line;
  }
  EXPECT_EQ(absent, 24);  // 05:00 of the 11th on
  EXPECT_EQ(Count(r.err, "R07: Calculation epoch [ 2023-07-11/05:00:00] MORE THAN 3 DAYS"), 1u);
  // Up to 18 s inside the reach of the last record, every row has its position.
  CaptureResult in = RunMorvi({"-gsR", nav, "-pR07", "-es2023-07-11,04:20:00", "-ee2023-07-11,04:45:00", "-r" + tmp("in.txt")});
  ASSERT_EQ(in.exitCode, 0) << in.err;
  std::vector<Row> inRows = ReadResults(tmp("in.txt")).rows;
  EXPECT_EQ(inRows.size(), 6u);
  for (const Row& row : inRows) EXPECT_GT(std::hypot(row.v[0], row.v[1], row.v[2]), 2e7) << row.line;

  CaptureResult k = RunMorvi({"-gsGE", nav, "-pG05,E08", "-es1980-01-06,00:00:00", "-ee2023-07-08,05:00:00", "-ei86400",
                              "-r" + tmp("kep.txt"), "-we" + tmp("kep.err")});
  ASSERT_EQ(k.exitCode, 0) << ReadWholeFile(tmp("kep.err")).substr(0, 2000);
  Results kep = ReadResults(tmp("kep.txt"));
  ASSERT_EQ(kep.rows.size(), 2u * 15890u);  // MJD 44244 to 60133
  EXPECT_TRUE(Contains(ReadWholeFile(tmp("kep.err")), "GPS satellite G05: Calculation epoch [ 1980-01-06/00:00:00] NOT "
                                                      "in epoch interval [ 2023-07-08/06:00:00] of input NAVIGATION "
                                                      "file (dt = -381342:00:00.0)"));
}
