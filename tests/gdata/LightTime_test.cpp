// The light-time iteration shared by the broadcast and the SP3 orbit sources:
// passes, the epoch it leaves, and its warning after the 15th pass.
#include "gdata/LightTime.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/capture.h"

namespace {

const char* kPlace = "Function:   rxN::CalcSatPosition(rSat&,mjd&,xyz&,xyz&,xyz&)";

// Runs the iteration for a receiver at the Earth's centre and a "satellite" on
// the X axis at the distances dist(pass) (m), one per pass; returns the range,
// and the passes made and the epoch left in te.
long double Iterate(const std::vector<long double>& dist, int& passes, mjd& te) {
  const mjd t(60133, 14400);
  xyz x;
  passes = 0;
  return LightTimeRange(t, xyz(0, 0, 0), kPlace, te, x, [&](mjd&) {
    const size_t k = static_cast<size_t>(passes++);
    x.Set(k < dist.size() ? dist[k] : dist.back(), 0, 0);
  });
}

TEST(LightTime, PassesAndTheWarningAfterTheFifteenth) {
  const long double c = 299792458.0L;
  int passes = 0;
  mjd te;
  // A satellite at rest 20 000 km away: the second pass finds the same range.
  long double D = 0;
  CaptureResult still = RunCaptured([&] { Iterate({2e7L}, passes, te); });
  EXPECT_EQ(still.err, "");
  D = Iterate({2e7L}, passes, te);
  EXPECT_EQ(passes, 2);
  EXPECT_EQ(D, 2e7L);
  EXPECT_NEAR(static_cast<double>(te - mjd(60133, 14400)), static_cast<double>(-2e7L / c), 1e-15);

  // Ranges that jump by 1 km from pass to pass never agree: the 16th pass ends
  // the loop with the warning and its range is returned.
  std::vector<long double> jumping;
  for (int k = 0; k < 40; k++) jumping.push_back(2e7L + 1000 * (k % 2));
  CaptureResult r = RunCaptured([&] {
    int n = 0;
    mjd e;
    const long double d = Iterate(jumping, n, e);
    printf("%d %.1Lf", n, d);
  });
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "16 20001000.0");  // the 16th pass (odd k = 15) is the far one
  EXPECT_EQ(r.err, WarningFrame(kPlace, "TO MANY ITERATION STEPS > 15!"));

  // Agreement reached at the 15th pass ends the loop without a warning; reached
  // only at the 16th, the warning comes all the same.
  for (int agree : {15, 16}) {
    std::vector<long double> d(jumping.begin(), jumping.begin() + agree - 1);
    d.push_back(d.back());  // pass `agree` repeats the range of the pass before
    CaptureResult a = RunCaptured([&] {
      int n = 0;
      mjd e;
      Iterate(d, n, e);
      printf("%d", n);
    });
    EXPECT_EQ(a.out, std::to_string(agree));
    EXPECT_EQ(a.err, agree == 15 ? "" : WarningFrame(kPlace, "TO MANY ITERATION STEPS > 15!"));
  }
}

}  // namespace
