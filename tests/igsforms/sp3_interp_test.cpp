// Interpolation from SP3 records: accuracy on a real file thinned to 10 minutes,
// velocity as the derivative of the position polynomial, window placement at
// both ends, the 900 s warning, the numbers of points, and the light-time form.
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
bool Served(int gap, long n, long double t) {
  sp3 f;
  Probe(f, gap, n, 2);
  rSat s = Sat("G02");
  mjd e = At(f, t);
  xyz x, v;
  f.CalcSatPosition(s, e, x, v);
  return f.GetPositionStatus();
}

TEST(Sp3Interp, WindowPlacementInsideAndAtBothEnds) {
  // 2 h 10 min: window 4 ... 13 of 10 points.
  EXPECT_TRUE(Served(3, 10, 7800) && Served(14, 10, 7800));
  EXPECT_FALSE(Served(4, 10, 7800) || Served(13, 10, 7800));
  // 10 s before the first record: records 0 ... 3 of 4 points.
  EXPECT_FALSE(Served(3, 4, -10));
  EXPECT_TRUE(Served(4, 4, -10));
  // 901 s after the last record (17100 s): records 16 ... 19.
  EXPECT_FALSE(Served(16, 4, 17100 + 901));
  EXPECT_TRUE(Served(15, 4, 17100 + 901));
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

TEST(Sp3Interp, WarningOnlyBeyond900SecondsOutside) {
  for (long double dt : {-900.0L, -900.001L, 17100 + 900.0L, 17100 + 900.001L}) {
    CaptureResult r = RunCaptured([dt] {
      sp3 f;
      Probe(f, 99, 4, 4);
      rSat s = Sat("G01");
      mjd t = At(f, dt);
      xyz x, v;
      f.CalcSatPosition(s, t, x, v);
      std::cout << (f.GetPositionStatus() ? "served" : "none");
    });
    bool outside = dt < -900 || dt > 18000;
    EXPECT_EQ(r.err, outside ? Frame(kCalc, "Calculation epoch NOT in epoch interval of input "
                                            "precise orbit file!", false)
                             : "")
        << (double)dt;
    EXPECT_EQ(r.out, "served");
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
  // Fewer records than points: refused cleanly when set, and when computing with
  // points set before the file was read.
  r = RunCaptured([] { sp3 f; Probe(f, 99, 22, 4); });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, Frame(where, "Number of EPOCHS >20< in ORBIT SP3 file smaller than NUMBER OF "
                                "POINTS >22< of Lagrangian polynomial!"));
  r = RunCaptured([] {
    sp3 f;
    f.SetInterpolation(4, 24);
    f.SetFile(Temp("few.sp3", Synth(20, {"G01"}, [](int k, int) { return P("G01", k, 0, 0, 0); })).c_str());
    f.ReadFile();
    rSat s = Sat("G01");
    mjd t = f.GetStartEpoch();
    xyz x, v;
    f.CalcSatPosition(s, t, x, v);
  });
  EXPECT_EQ(r.err, Frame(kCalc, "Number of EPOCHS >20< in ORBIT SP3 file smaller than NUMBER OF "
                                "POINTS >24< of Lagrangian polynomial!"));
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
