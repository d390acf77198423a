// Work kept between epochs by the broadcast computation (the whole integration
// steps of a GLONASS or SBAS record, the records of each satellite) must give
// the state a computation from scratch gives, to the last bit, in any order of
// the epochs, and must follow a changed integration step or a file read again.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "rinex/rx_fixture.h"

using namespace rxtest;

namespace {

struct State {
  long double v[7];
};

// The state of sat at ceph from nav; fresh clears the kept work first.
State At(rxN& nav, const char* id, const mjd& ceph, bool fresh, long double step = 30) {
  if (fresh) nav.SetIntegrationStep(step);
  rSat s;
  s = id;
  mjd t = ceph;
  xyz x, v;
  nav.CalcSatPosition(s, t, x, v);
  return {{x.GetX(), x.GetY(), x.GetZ(), x.GetT(), v.GetX(), v.GetY(), v.GetZ()}};
}

bool Same(const State& a, const State& b) {
  for (int k = 0; k < 7; k++)
    if (!(a.v[k] == b.v[k])) return false;
  return true;
}

}  // namespace

TEST(rxNReuse, KeptWorkGivesTheStateOfAComputationFromScratch) {
  // the interval warnings of the epochs far from a record are not the point here
  std::ostringstream sink;
  std::streambuf* err = std::cerr.rdbuf(sink.rdbuf());
  rxN nav, ref;
  for (rxN* n : {&nav, &ref}) {
    n->SetFile(Data("SEPT1890.23P").c_str());
    n->ReadFile();
    n->SetIntegrationStep(30);
  }
  // epochs at 5 s and at an odd 7.3 s over 04:00 to 05:30, on and between steps
  std::vector<mjd> epochs;
  mjd first = ymdhms2mjd(ymdhms(2023, 7, 8, 4, 0, 0));
  for (long double dt : {5.0L, 7.3L}) {
    mjd t = first;
    for (int i = 0; i < 5400 / dt; i++) {
      epochs.push_back(t);
      t += dt;
    }
  }
  std::vector<mjd> backward(epochs.rbegin(), epochs.rend()), shuffled = epochs;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(189));
  const char* sats[] = {"R07", "R08", "S30", "S37", "G19", "E03", "C01", "J03"};
  long compared = 0;
  ymdhmsns::NDecSecond = 1;
  for (const auto* order : {&epochs, &backward, &shuffled})
    for (const char* id : sats)
      for (const mjd& t : *order) {
        State kept = At(nav, id, t, false), scratch = At(ref, id, t, true);
        ASSERT_TRUE(Same(kept, scratch)) << id << " at " << mjd2ymdhms(t);
        compared++;
      }
  // two satellites in turn, epoch by epoch
  for (const mjd& t : epochs) {
    ASSERT_TRUE(Same(At(nav, "R07", t, false), At(ref, "R07", t, true)));
    ASSERT_TRUE(Same(At(nav, "R21", t, false), At(ref, "R21", t, true)));
  }
  // a changed step is followed, and so is a file read again
  for (long double step : {10.0L, 45.0L}) {
    nav.SetIntegrationStep(step);
    for (size_t i = 0; i < epochs.size(); i += 37)
      ASSERT_TRUE(Same(At(nav, "R07", epochs[i], false), At(ref, "R07", epochs[i], true, step)));
  }
  nav.ReadFile();
  for (size_t i = 0; i < epochs.size(); i += 37)
    ASSERT_TRUE(Same(At(nav, "R07", epochs[i], false), At(ref, "R07", epochs[i], true, 45)));
  EXPECT_GT(compared, 40000);
  std::cerr.rdbuf(err);
}
