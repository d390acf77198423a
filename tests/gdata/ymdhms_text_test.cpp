// The date string of ymdhms against the stream layout it stands for (year in
// five blank-filled columns, zero-filled two-digit fields and second), over
// random epochs, every number of decimals and the seconds that round up.
#include <gtest/gtest.h>

#include <iomanip>
#include <random>
#include <sstream>
#include <string>

#include "gdata/ymdhms.h"

namespace {

std::string ByStream(int y, int mo, int d, int h, int mi, long double s, int n) {
  const int nd = n > 0 ? n : 0;
  std::ostringstream os;
  os << std::fixed << std::setw(5) << y << "-" << std::setfill('0') << std::setw(2) << mo << "-" << std::setw(2)
     << d << "/" << std::setw(2) << h << ":" << std::setw(2) << mi << ":" << std::setw(nd > 0 ? nd + 3 : 2)
     << std::setprecision(nd) << s;
  return os.str();
}

}  // namespace

TEST(YmdhmsText, DateStringIsTheStreamLayout) {
  std::mt19937_64 rng(189);
  std::uniform_int_distribution<int> year(1980, 2100), month(1, 12), day(1, 28), hour(0, 23), minute(0, 59);
  std::uniform_real_distribution<double> sec(0.0, 60.0);
  char buf[160];
  long n = 0;
  for (int i = 0; i < 20000; i++) {
    const int y = year(rng), mo = month(rng), d = day(rng), h = hour(rng), mi = minute(rng);
    const long double s = sec(rng);
    const ymdhms t(y, mo, d, h, mi, s);
    const int nd = i % 12 - 1;  // -1 (no decimals) to 10
    ASSERT_EQ(std::string(t.GetDateString(buf, nd)), ByStream(y, mo, d, h, mi, s, nd)) << i;
    n++;
  }
  for (long double s : {0.0L, 9.95L, 9.96L, 59.96L, 59.9999999L, 0.05L, 0.5L, 1.5L, 2.5L, 1e-30L})
    for (int nd = 0; nd <= 9; nd++) {
      const ymdhms t(2023, 7, 8, 23, 59, s);
      ASSERT_EQ(std::string(t.GetDateString(buf, nd)), ByStream(2023, 7, 8, 23, 59, s, nd)) << static_cast<double>(s);
      n++;
    }
  EXPECT_GT(n, 20000);
}
