// Interpolation from SP3 records: accuracy on a real file thinned to 10 minutes,
// velocity as the derivative of the position polynomial, window placement at
// both ends, epochs outside the records of a real 15-minute file against the
// next and the previous day's files, the numbers of points, and the light-time form.
#include <cmath>

#include "igsforms/sp3_fixture.h"

using namespace sp3test;

namespace {

const char* kCalc = "Function:   sp3::CalcSatPosition(rSat&,mjd&,xyz&,xyz&)";

rSat Sat(const char* s) {
  rSat r;
  r = s;
  return r;
}

mjd At(sp3& f, long double seconds) {
  mjd t = f.GetStartEpoch();
  t += seconds;
  return t;
}

// The real 5-minute file without its odd epochs: 145 epochs of 600 s.
std::string Thinned(const std::string& text) {
  std::istringstream in(text);
  std::string l, out;
  int block = -1;
  while (std::getline(in, l)) {
    if (l[0] == '*') block++;
    if (l.compare(0, 3, "EOF") == 0) block = 0;
    if (block % 2 == 1) continue;
    if (l.compare(0, 2, "#d") == 0) l.replace(32, 7, "    145");
    if (l.compare(0, 2, "##") == 0) l.replace(23, 15, "   600.00000000");
    out += l + "\n";
  }
  return out;
}

}  // namespace

TEST(Sp3Interp, ThinnedRealFileReproducesDroppedEpochs) {
  const std::string text = Slurp(Data("COD0MGXFIN_20231890000_01D_05M_ORB_sub16.SP3"));
  auto ref = Blocks(text);
  sp3 f;
  f.SetFile(Temp("thinned.sp3", Thinned(text)).c_str());
  f.ReadFile();
  ASSERT_EQ(f.GetNEph(), 145);
  f.SetInterpolation(14, 4);
  const char systems[] = "GECRJ";
  for (const char* sys = systems; *sys; sys++) {
    double sum2 = 0, max = 0, clk2 = 0, in2 = 0, inMax = 0;
    int n = 0, nClk = 0, nIn = 0;
    for (int k = 1; k < 288; k += 2)
      for (const PLine& p : ref[k]) {
        if (p.sat[0] != *sys || p.missing[0]) continue;
        xyz x, v;
        rSat s = Sat(p.sat.c_str());
        mjd t = At(f, 300.0L * k);
        f.CalcSatPosition(s, t, x, v);
        ASSERT_TRUE(f.GetPositionStatus()) << p.sat << " at epoch " << k;
        const double d2 = std::pow(x.GetX() - p.v[0] * 1000, 2) +
                          std::pow(x.GetY() - p.v[1] * 1000, 2) + std::pow(x.GetZ() - p.v[2] * 1000, 2);
        sum2 += d2;
        max = std::fmax(max, std::sqrt(d2));
        n++;
        // Windows centred on the epoch: 6 records before it and 7 after.
        if (k > 12 && k < 276) {
          in2 += d2;
          inMax = std::fmax(inMax, std::sqrt(d2));
          nIn++;
        }
        if (f.GetTimeStatus() && !p.missing[3]) {
          clk2 += std::pow((x.GetT() + f.GetRelativity()) - p.v[3] * 1e-6, 2);
          nClk++;
        }
      }
    const double rms = std::sqrt(sum2 / n), rmsIn = std::sqrt(in2 / nIn),
                 rmsClk = std::sqrt(clk2 / nClk);
    printf("%c: %4d positions RMS %.2f mm max %.2f mm, centred %.2f mm max %.2f mm; "
           "%4d clocks RMS %.3f ns\n",
           *sys, n, rms * 1000, max * 1000, rmsIn * 1000, inMax * 1000, nClk, rmsClk * 1e9);
    if (*sys == 'G' || *sys == 'E') {
      EXPECT_LT(rms, 0.005) << *sys;
      EXPECT_LT(rmsIn, 0.001) << *sys;
    }
    EXPECT_LT(rmsClk, 0.3e-9) << *sys;
  }
}

TEST(Sp3Interp, VelocityIsDerivativeOfPositionPolynomial) {
  sp3 f;
  f.SetFile(Data("COD0MGXFIN_20231890000_01D_05M_ORB_sub16.SP3").c_str());
  f.ReadFile();
  f.SetInterpolation(14, 4);
  for (const char* name : {"G05", "E24", "R14", "C06", "J02"})
    for (long double s : {2000.0L, 43210.0L, 86390.0L}) {
      rSat sat = Sat(name);
      xyz x, v, xm, xp, dummy;
      mjd t = At(f, s), tm = At(f, s - 0.5L), tp = At(f, s + 0.5L);
      f.CalcSatPosition(sat, t, x, v);
      f.CalcSatPosition(sat, tm, xm, dummy);
      f.CalcSatPosition(sat, tp, xp, dummy);
      EXPECT_NEAR(v.GetX(), xp.GetX() - xm.GetX(), 1e-5) << name << " " << (double)s;
      EXPECT_NEAR(v.GetY(), xp.GetY() - xm.GetY(), 1e-5) << name << " " << (double)s;
      EXPECT_NEAR(v.GetZ(), xp.GetZ() - xm.GetZ(), 1e-5) << name << " " << (double)s;
      EXPECT_EQ(v.GetT(), 0);
    }
}

// 20 records of 900 s; G01 moves uniformly, G02 lacks its position in record
// `gap` and its clock in record 3, G03 is in the header list only.
sp3& Probe(sp3& f, int gap, long npos, long ntime) {
  std::string text = Synth(20, {"G01", "G02", "G03"}, [gap](int k, int s) {
    if (s == 2) return std::string();
    return P(s == 0 ? "G01" : "G02", 20000 + k, 1000, -5000, 10 + 0.001 * k, s == 1 && k == gap,
             s == 1 && k == 3);
  });
  f.SetFile(Temp("probe.sp3", text).c_str());
  f.ReadFile();
  f.SetInterpolation(npos, ntime);
  return f;
}

// Whether G02's position at t (s after the first record) is served with the
// position of record `gap` missing: false exactly when that record is in the window.
// Without a position there is no clock either: x is left as it was.
bool Served(int gap, long n, long double t) {
  sp3 f;
  Probe(f, gap, n, 2);
  rSat s = Sat("G02");
  mjd e = At(f, t);
  xyz x(7, 7, 7, 7), v;
  f.CalcSatPosition(s, e, x, v);
  if (!f.GetPositionStatus()) {
    EXPECT_FALSE(f.GetTimeStatus()) << gap << " " << (double)t;
    EXPECT_EQ(x.GetT(), 7) << gap << " " << (double)t;
  }
  return f.GetPositionStatus();
}

TEST(Sp3Interp, WindowPlacementInsideAndAtBothEnds) {
  // 2 h 10 min: window 4 ... 13 of 10 points.
  EXPECT_TRUE(Served(3, 10, 7800) && Served(14, 10, 7800));
  EXPECT_FALSE(Served(4, 10, 7800) || Served(13, 10, 7800));
  // 10 s before the first record: records 0 ... 3 of 4 points.
  EXPECT_FALSE(Served(3, 4, -10));
  EXPECT_TRUE(Served(4, 4, -10));
  // 899 s after the last record (17100 s): records 16 ... 19.
  EXPECT_FALSE(Served(16, 4, 17100 + 899));
  EXPECT_TRUE(Served(15, 4, 17100 + 899));
  // Exactly at a record the record comes back; G01 is linear, so every epoch is exact.
  sp3 f;
  Probe(f, 99, 8, 4);
  rSat g1 = Sat("G01"), g2 = Sat("G02"), g3 = Sat("G03");
  mjd t = At(f, 4500);
  xyz x, v, y(1, 2, 3, 4), w(5, 6, 7, 0);
  f.CalcSatPosition(g1, t, x, v);
  EXPECT_NEAR(x.GetX(), 20005000, 1e-6);
  EXPECT_NEAR(v.GetX(), 1000.0 / 900, 1e-12);
  EXPECT_NEAR(x.GetT() + f.GetRelativity(), 10.005e-6, 1e-18);
  // G02: positions present, clock missing in the clock window: t of x is 0.
  mjd t3 = At(f, 2000);
  x.SetT(9);
  f.CalcSatPosition(g2, t3, x, v);
  EXPECT_TRUE(f.GetPositionStatus() && !f.GetTimeStatus());
  EXPECT_EQ(x.GetT(), 0);
  // G03 has no records and a satellite not in the file: caller's vectors untouched.
  f.CalcSatPosition(g3, t, y, w);
  rSat g9 = Sat("G09");
  f.CalcSatPosition(g9, t, y, w);
  EXPECT_EQ(y.GetX() + y.GetT() + w.GetX(), 1 + 4 + 5);
}

// The last 14 records of 2020-06-24 (GRG, 15 minutes, 20:30 to 23:45) and the
// first 14 of the next day (00:00 to 03:15), each with all its 75 satellites. Every
// epoch outside the records is told, once per satellite and run of such epochs;
// one interval out the polynomial is extrapolated, and there it meets the other
// day's record at metres; farther out there is no position and no clock.
TEST(Sp3Interp, EpochsOutsideTheRecordsOfA15MinuteFile) {
  std::ostringstream warnings;
  std::streambuf* err = std::cerr.rdbuf(warnings.rdbuf());
  const std::string day1 = Data("GRG0MGXFIN_20201760000_01D_15M_ORB_20-24h.SP3"),
                    day2 = Data("GRG0MGXFIN_20201770000_01D_15M_ORB_0-3h.SP3");
  const struct End {
    std::string file, other;
    int sign;           // +1: after the last record, -1: before the first
    size_t otherBlock;  // the other day's record one interval out
    double rms, max;    // bounds of the error there (m)
  } ends[] = {{day1, day2, +1, 0, 5.0, 25.0}, {day2, day1, -1, 13, 8.5, 65.0}};
  for (const End& e : ends) {
    sp3 f;
    f.SetFile(e.file.c_str());
    f.ReadFile();
    f.SetInterpolation(14, 4);
    const mjd edge = e.sign > 0 ? f.GetEndEpoch() : f.GetStartEpoch();
    const std::vector<PLine> truth = Blocks(Slurp(e.other))[e.otherBlock];
    ASSERT_EQ(truth.size(), 75u);
    warnings.str("");
    double sum2 = 0, max = 0;
    for (const PLine& p : truth) {
      rSat s = Sat(p.sat.c_str());
      // an epoch inside, one run outside (served, then absent), inside, outside again
      for (long double dt : {0.0L, 450.0L, 900.0L, 901.0L, 1800.0L, -3600.0L, 900.0L}) {
        mjd t = edge;
        t += e.sign * dt;
        xyz x(7, 7, 7, 7), v(7, 7, 7, 7);
        f.CalcSatPosition(s, t, x, v);
        if (dt > 900) {
          EXPECT_FALSE(f.GetPositionStatus() || f.GetTimeStatus()) << p.sat << " " << (double)dt;
          EXPECT_TRUE(x.GetX() == 7 && x.GetT() == 7 && v.GetZ() == 7) << p.sat << " " << (double)dt;
          continue;
        }
        ASSERT_TRUE(f.GetPositionStatus() && f.GetTimeStatus()) << p.sat << " " << (double)dt;
        if (dt != 900) continue;
        const double d2 = std::pow(x.GetX() - p.v[0] * 1000, 2) + std::pow(x.GetY() - p.v[1] * 1000, 2) +
                          std::pow(x.GetZ() - p.v[2] * 1000, 2);
        sum2 += d2 / 2;  // each epoch one interval out is computed twice
        max = std::fmax(max, std::sqrt(d2));
      }
    }
    const double rms = std::sqrt(sum2 / truth.size());
    printf("one interval %s: 75 satellites, RMS %.3f m, max %.3f m\n", e.sign > 0 ? "after" : "before", rms, max);
    EXPECT_LT(rms, e.rms);
    EXPECT_LT(max, e.max);
    // two runs outside for each satellite
    const std::string text = warnings.str();
    size_t frames = 0;
    for (size_t k = text.find("\n#### "); k != std::string::npos; k = text.find("\n#### ", k + 1)) frames++;
    EXPECT_EQ(frames, 150u);
    const std::string first = "2020-06-24 23:52:30.00000000";
    EXPECT_EQ(text.substr(0, text.find(" ... \n\n") + 7),
              Frame(kCalc, "Calculation epoch >" + first + "< of satellite >E01< NOT in epoch interval of input "
                           "precise orbit file - EXTRAPOLATED up to one interval >900.000< s, NO POSITION "
                           "farther out!", false));
  }
  std::cerr.rdbuf(err);
}

// A value no results column can hold (X, Y, Z below 1e11 m in 16 columns, velocities
// below 1e7 m/s in 12, the clock below 1e6 ms in 14) is no value: in record 2 G01
// has a clock of 1e9 microseconds, G02 an x of 1e9 km, G03 an x of 5e6 km (a
// position that fits, at a speed that does not).
TEST(Sp3Interp, ValuesTooLargeForTheirColumnsAreAbsent) {
  const std::string text = Synth(6, {"G01", "G02", "G03"}, [](int k, int s) {
    const char* name[] = {"G01", "G02", "G03"};
    std::string l = P(name[s], 20000 + k, 1000, -5000, 10);
    if (k == 2 && s == 0) l.replace(46, 14, "           1e9");
    if (k == 2 && s == 1) l.replace(4, 14, "           1e9");
    if (k == 2 && s == 2) l.replace(4, 14, "           5e6");
    return l;
  });
  sp3 f;
  f.SetFile(Temp("wide.sp3", text).c_str());
  f.ReadFile();
  f.SetInterpolation(2, 2);
  for (const char* name : {"G01", "G02", "G03"})
    for (long double dt : {1350.0L, 3150.0L}) {  // windows of records 1, 2 and 3, 4
      rSat s = Sat(name);
      mjd t = At(f, dt);
      xyz x(7, 7, 7, 7), v(7, 7, 7, 7);
      f.CalcSatPosition(s, t, x, v);
      const bool wide = dt < 2000 && name[2] != '1';
      EXPECT_EQ(f.GetPositionStatus(), !wide) << name << " " << (double)dt;
      EXPECT_EQ(f.GetTimeStatus(), !(dt < 2000)) << name << " " << (double)dt;
      if (wide) {
        EXPECT_TRUE(x.GetX() == 7 && x.GetT() == 7 && v.GetX() == 7) << name;
      } else {
        EXPECT_NEAR(x.GetX(), (20000 + dt / 900) * 1000, 1e-6) << name << " " << (double)dt;
        EXPECT_EQ(x.GetT() == 0, dt < 2000) << name << " " << (double)dt;
      }
    }
}

TEST(Sp3Interp, NumbersOfPointsAndTheirFailures) {
  const std::string where = "Function:   sp3::SetInterpolation(long,long)";
  // Odd numbers are raised: with 10 points the window at 2 h 10 min is records
  // 4 ... 13 and misses G02's record 4 (9 points would start at record 5).
  CaptureResult r = RunCaptured([] {
    sp3 f;
    Probe(f, 4, 9, 3);
    rSat s = Sat("G02");
    mjd t = At(f, 7800);
    xyz x, v;
    f.CalcSatPosition(s, t, x, v);
    std::cout << f.GetPositionStatus();
  });
  EXPECT_EQ(r.out, "0");
  EXPECT_EQ(r.err, Frame(where, "Input NUMBER OF POINTS for positional Lagrangian polynomial odd "
                                "(n=9) - increasing to even number!", false) +
                       Frame(where, "Input NUMBER OF POINTS for temporal Lagrangian polynomial odd "
                                    "(n=3) - increasing to even number!", false));
  r = RunCaptured([] { sp3().SetInterpolation(1, 1); });
  EXPECT_EQ(r.err, Frame(where, "Input NUMBER OF POINTS for positional Lagrangian polynomial too "
                                "small (<2)!"));
  r = RunCaptured([] { sp3().SetInterpolation(4, 1); });
  EXPECT_EQ(r.err, Frame(where, "Input NUMBER OF POINTS for temporal Lagrangian polynomial too "
                                "small (<2)!"));
  // More points than the largest numbers (14 for positions, 4 for clocks), an odd
  // one above them included, are refused.
  const struct {
    long npos, ntime;
    std::string msg;
  } big[] = {{16, 4, "Input NUMBER OF POINTS >16< for positional Lagrangian polynomial too large (>14)!"},
             {15, 3, "Input NUMBER OF POINTS >15< for positional Lagrangian polynomial too large (>14)!"},
             {60, 4, "Input NUMBER OF POINTS >60< for positional Lagrangian polynomial too large (>14)!"},
             {14, 6, "Input NUMBER OF POINTS >6< for temporal Lagrangian polynomial too large (>4)!"},
             {13, 5, "Input NUMBER OF POINTS >5< for temporal Lagrangian polynomial too large (>4)!"}};
  for (const auto& c : big) {
    r = RunCaptured([&c] { sp3().SetInterpolation(c.npos, c.ntime); });
    EXPECT_EQ(r.exitCode, 1) << c.msg;
    EXPECT_EQ(r.err, Frame(where, c.msg));
  }
  // Fewer records than points: refused cleanly when set, and when computing with
  // points set before the file was read.
  const std::string few = Temp("few.sp3", Synth(10, {"G01"}, [](int k, int) { return P("G01", k, 0, 0, 0); }));
  r = RunCaptured([few] {
    sp3 f;
    f.SetFile(few.c_str());
    f.ReadFile();
    f.SetInterpolation(12, 4);
  });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, Frame(where, "Number of EPOCHS >10< in ORBIT SP3 file smaller than NUMBER OF "
                                "POINTS >12< of Lagrangian polynomial!"));
  r = RunCaptured([few] {
    sp3 f;
    f.SetInterpolation(14, 4);
    f.SetFile(few.c_str());
    f.ReadFile();
    rSat s = Sat("G01");
    mjd t = f.GetStartEpoch();
    xyz x, v;
    f.CalcSatPosition(s, t, x, v);
  });
  EXPECT_EQ(r.err, Frame(kCalc, "Number of EPOCHS >10< in ORBIT SP3 file smaller than NUMBER OF "
                                "POINTS >14< of Lagrangian polynomial!"));
  r = RunCaptured([] {
    sp3 f;
    f.SetFile(Data("igr20354_3h.sp3").c_str());
    f.ReadFile();
    rSat s = Sat("G01");
    mjd t = f.GetStartEpoch();
    xyz x, v;
    f.CalcSatPosition(s, t, x, v);
  });
  EXPECT_EQ(r.err, Frame(kCalc, "Interpolation PARAMETERS (# of interpolating points) NOT SET!"));
}

TEST(Sp3Interp, LightTimeFormSolvesTravelTime) {
  sp3 f;
  f.SetFile(Data("COD0MGXFIN_20231890000_01D_05M_ORB_sub16.SP3").c_str());
  f.ReadFile();
  f.SetInterpolation(14, 4);
  rSat s = Sat("G13"), none = Sat("G02");
  xyz rec(4194424.0, 1162702.0, 4647245.0), x, v, xe, ve;
  mjd t = At(f, 3750);
  long double D = f.CalcSatPosition(s, t, rec, x, v);
  mjd te = f.GetTransmissionEpoch();
  const long double c = gConst.GetC();
  EXPECT_NEAR((double)(t - te), (double)(D / c), 1e-12);
  // The state is the one at the transmission epoch, and D its distance to the
  // receiver turned with the Earth over the travel time.
  f.CalcSatPosition(s, te, xe, ve);
  EXPECT_NEAR(x.GetX(), xe.GetX(), 1e-6);
  EXPECT_NEAR(x.GetT(), xe.GetT(), 1e-18);
  xyz r = rec.RotateZ((D / c) * gConst.GetWEarth('G'));
  EXPECT_NEAR((double)(r - x).GetLength(), (double)D, 1e-4);
  EXPECT_EQ(f.CalcSatPosition(none, t, rec, x, v), 0);
}
