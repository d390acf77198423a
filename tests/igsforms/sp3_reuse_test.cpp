// The Lagrange factors kept between calls of the SP3 interpolation (by
// interpolation factor) must give the bits a first computation gives, whatever
// the order of satellites and epochs, for every number of points and interval.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <iostream>
#include <random>
#include <sstream>
#include <vector>

#include "igsforms/sp3_fixture.h"

namespace {

struct Query {
  rSat sat;
  mjd t;
};

struct State {
  long double v[7];
  bool operator==(const State& o) const {
    for (int k = 0; k < 7; k++)
      if (!(v[k] == o.v[k])) return false;
    return true;
  }
};

State At(sp3& s, Query q) {
  xyz x, v;
  s.CalcSatPosition(q.sat, q.t, x, v);
  return {{x.GetX(), x.GetY(), x.GetZ(), x.GetT(), v.GetX(), v.GetY(), v.GetZ()}};
}

}  // namespace

TEST(Sp3Reuse, KeptLagrangeFactorsGiveTheBitsOfAFirstComputation) {
  std::ostringstream sink;  // warnings of the epochs near the file ends
  std::streambuf* err = std::cerr.rdbuf(sink.rdbuf());
  const std::string file = sp3test::Data("COD0MGXFIN_20231890000_01D_05M_ORB_sub16.SP3");
  sp3 a, b;
  for (sp3* s : {&a, &b}) {
    s->SetFile(file.c_str());
    s->ReadFile();
  }
  const char* ids[] = {"G01", "G05", "R01", "E02", "C06", "J02"};
  std::vector<Query> qs;
  mjd t0 = a.GetStartEpoch();
  for (const char* id : ids) {
    rSat s;
    s = id;
    // regular 10 s and 60 s steps over the first and the last hours, and odd steps
    for (long double dt : {10.0L, 60.0L, 37.1L}) {
      mjd t = t0;
      for (int k = 0; k * dt < 3600; k++, t += dt) qs.push_back({s, t});
      t = t0;
      t += 86400.0L - 3600.0L;
      for (int k = 0; k * dt < 3600; k++, t += dt) qs.push_back({s, t});
    }
  }
  std::vector<size_t> order(qs.size());
  for (size_t i = 0; i < order.size(); i++) order[i] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(2023));
  long compared = 0;
  for (long npos : {14L, 8L, 2L}) {
    a.SetInterpolation(npos, 4);
    b.SetInterpolation(npos, 4);
    std::vector<State> first;
    for (const Query& q : qs) first.push_back(At(a, q));
    // b in another order, each query after one for a far factor that may take its slot
    for (size_t i = 0; i < order.size(); i++) {
      At(b, qs[order[(i * 7919) % order.size()]]);
      ASSERT_TRUE(At(b, qs[order[i]]) == first[order[i]]) << "points " << npos << " query " << i;
      compared++;
    }
    // and a again in its first order
    for (size_t i = 0; i < qs.size(); i += 5) ASSERT_TRUE(At(a, qs[i]) == first[i]) << npos;
  }
  std::cerr.rdbuf(err);
  EXPECT_GT(compared, 5000);
}
