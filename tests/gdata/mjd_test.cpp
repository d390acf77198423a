// Tests of the Modified Julian date mjd: validation, carries of the second arithmetic,
// differences, comparison tolerances, decimal assignment, input, print layouts, tenths.
#include "gdata/mjd.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/capture.h"
#include "support/near.h"

namespace {

const char* kPlace = "Function:   mjd::TestDatum()";

class MjdTest : public ::testing::Test {
 protected:
  void TearDown() override {
    mjdns::PrintFormat = mjdns::MJDSEC;
    mjdns::NDecSecond = 1;
  }
};

void ExpectMjd(const mjd& m, uint32_t day, long double sec, long double tol = 0) {
  EXPECT_EQ(m.GetMJDay(), day);
  EXPECT_NEAR_L(m.GetSecond(), sec, tol) << "day " << m.GetMJDay();
}

void ExpectFatal(const std::function<void()>& f, const std::string& msg) {
  CaptureResult r = RunCaptured(f);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, ErrorFrame(kPlace, msg));
}

std::string Print(const mjd& m) {
  std::ostringstream os;
  os << m;
  return os.str();
}

TEST_F(MjdTest, ValidatingOperations) {
  ExpectFatal([] { mjd m(59000, 86400.0L); }, "Input SECOND not valid!");
  ExpectFatal([] { mjd m(59000, -1e-30L); }, "Input SECOND not valid!");
  ExpectFatal([] { mjd m(59000, std::numeric_limits<long double>::quiet_NaN()); }, "Input SECOND not valid!");
  ExpectFatal([] { mjd m(200000, 0.0L); }, "Input MJ DAY not valid!");
  ExpectFatal([] { mjd m(200000, 86400.0L); }, "Input MJ DAY not valid!");  // day tested first
  ExpectFatal([] { mjd m; m.Set(59000, 90000.0L); }, "Input SECOND not valid!");
  mjd top(199999, 86399.9L);
  ExpectMjd(top, 199999, 86399.9L);

  // Arithmetic does not validate; the copy does.
  mjd zero;
  zero -= 1.0L;
  ExpectMjd(zero, 4294967295u, 86399.0L);
  ExpectFatal([&zero] { mjd copy(zero); }, "Input MJ DAY not valid!");
  ExpectFatal([&zero] { mjd copy; copy = zero; }, "Input MJ DAY not valid!");
  mjd self(59000, 5);
  self = self;
  ExpectMjd(self, 59000, 5);
  // A default value (day 0, second 0) is a valid epoch.
  mjd def, copy(def);
  ExpectMjd(copy, 0, 0);
}

TEST_F(MjdTest, AddingSecondsCarriesIntoTheDay) {
  mjd m(59000, 0);
  m += 86400.0L;
  ExpectMjd(m, 59001, 0);
  m.Set(59000, 0);
  m += -0.5L;
  ExpectMjd(m, 58999, 86399.5L);
  m.Set(59000, 86399.9999999999999L);
  m += 0.0L;
  ExpectMjd(m, 59001, 0);
  m.Set(59000, 100);
  m += 3 * 86400.0L + 50;
  ExpectMjd(m, 59003, 150);
  m.Set(59000, 100);
  m -= 200.0L;
  ExpectMjd(m, 58999, 86300);
  m.Set(59000, 86399.5L);
  m += 0.5L;  // exactly 86400 after the carry test is caught by the end-of-day rounding
  ExpectMjd(m, 59001, 0);
  m.Set(59000, 10);
  m -= 10 * 86400.0L + 20;
  ExpectMjd(m, 58989, 86390);
  // Whole days.
  m.Set(59000, 10);
  m += 5L;
  ExpectMjd(m, 59005, 10);
  m -= 10L;
  ExpectMjd(m, 58995, 10);
  m += -3L;
  ExpectMjd(m, 58992, 10);

  // Stepping 30 s over a day lands exactly on the next day.
  mjd e(59000, 0);
  for (int i = 0; i < 2880; ++i) e += 30.0L;
  ExpectMjd(e, 59001, 0);
}

TEST_F(MjdTest, DifferenceInSeconds) {
  EXPECT_EQ(mjd(59000, 10) - mjd(59001, 5), -86395.0L);
  EXPECT_EQ(mjd(59001, 5) - mjd(59000, 10), 86395.0L);
  EXPECT_EQ(mjd(59000, 0.25L) - mjd(59000, 0.75L), -0.5L);
  EXPECT_EQ(mjd(199999, 0) - mjd(0, 0), 199999 * 86400.0L);
  EXPECT_EQ(mjd(0, 0) - mjd(199999, 0), -199999 * 86400.0L);
}

TEST_F(MjdTest, ComparisonTolerances) {
  const mjd a(59000, 100), b(59000, 100 + 5e-14L), c(59000, 100 + 2e-13L);
  EXPECT_TRUE(b == a);  // within 1e-13 ...
  EXPECT_TRUE(b > a);   // ... and still later
  EXPECT_TRUE(a < b);
  EXPECT_FALSE(c == a);
  EXPECT_FALSE(a >= b);  // 5e-14 below is beyond the 1e-14 of >=
  EXPECT_FALSE(mjd(59000, 100) >= mjd(59000, 100 + 2e-14L));
  EXPECT_TRUE(mjd(59000, 100) >= mjd(59000, 100 + 5e-15L));
  EXPECT_TRUE(mjd(59000, 100 + 5e-15L) <= mjd(59000, 100));
  EXPECT_FALSE(mjd(59000, 100 + 2e-14L) <= mjd(59000, 100));

  // Days decide before seconds.
  EXPECT_TRUE(mjd(59001, 0) > mjd(59000, 86399.9L));
  EXPECT_FALSE(mjd(59001, 0) == mjd(59000, 0));
  EXPECT_TRUE(mjd(59000, 86399.9L) <= mjd(59001, 0));
  EXPECT_FALSE(mjd(59001, 0) <= mjd(59000, 86399.9L));
  EXPECT_TRUE(mjd(59001, 0) >= mjd(59000, 86399.9L));

  // An object compared with itself.
  EXPECT_TRUE(a == a);
  EXPECT_TRUE(a >= a);
  EXPECT_TRUE(a <= a);
  EXPECT_FALSE(a > a);
  EXPECT_FALSE(a < a);
}

TEST_F(MjdTest, DecimalAssignmentAndInput) {
  mjd m;
  m = 59000.25L;
  ExpectMjd(m, 59000, 21600);
  m = -0.25L;
  ExpectMjd(m, 0, 64800);
  EXPECT_EQ(mjd(59000, 21600).GetMJDDec(), 59000.25L);
  ExpectFatal([] { mjd x; x = 250000.5L; }, "Input MJ DAY not valid!");
  ExpectFatal([] { mjd x; x = -5.5L; }, "Input MJ DAY not valid!");
  ExpectFatal([] { mjd x; x = 1e30L; }, "Input MJ DAY not valid!");

  std::istringstream in("59000 3661.5");
  in >> m;
  ExpectMjd(m, 59000, 3661.5L);
  ExpectFatal(
      [] {
        std::istringstream bad("59000 86400");
        mjd x;
        bad >> x;
      },
      "Input SECOND not valid!");
}

TEST_F(MjdTest, PrintLayouts) {
  const mjd m(59000, 3661.5L);
  EXPECT_EQ(Print(m), " 59000  3661.5");
  mjdns::PrintFormat = mjdns::MJDDEC;
  EXPECT_EQ(Print(m), " 59000.0");
  mjdns::NDecSecond = 6;
  EXPECT_EQ(Print(m), " 59000.042378");
  mjdns::NDecSecond = 1;
  mjdns::PrintFormat = mjdns::MJDHMS;
  EXPECT_EQ(Print(m), " 59000  01:01:01.5");
  mjdns::PrintFormat = mjdns::MJD;
  EXPECT_EQ(Print(m), " 59000");
  mjdns::PrintFormat = mjdns::SP3;
  EXPECT_EQ(Print(mjd(59000, 43200)), " 59000 0.5000000000000");
  mjdns::PrintFormat = 5;
  EXPECT_EQ(Print(m), "");

  mjdns::PrintFormat = mjdns::MJDHMS;
  mjdns::NDecSecond = 0;
  EXPECT_EQ(Print(mjd(59000, 3661)), " 59000  01:01:001");
  mjdns::NDecSecond = 3;
  EXPECT_EQ(Print(mjd(1234, 86399.9996L)), "  1234  23:59:60.000");  // rounded at output, no carry
  mjdns::PrintFormat = mjdns::MJDSEC;
  EXPECT_EQ(Print(mjd(5, 0.25L)), "     5     0.250");

  // The fill is blank and the fixed flag stays set afterwards.
  mjdns::PrintFormat = mjdns::MJDHMS;
  std::ostringstream os;
  os << mjd(59000, 5) << std::setw(4) << 7 << " " << 2.5L;
  EXPECT_EQ(os.str(), " 59000  00:00:05.000   7 2.500");
}

// Seconds read by atof: on a tenth within 10 ns, or a double's rounding where larger.
TEST_F(MjdTest, TenthsOfDecimalSeconds) {
  for (const auto& [text, tenths] : std::vector<std::pair<const char*, long double>>{
           {"0.1", 1}, {"0", 0}, {"86399.9", 863999}, {"12.000000009", 120}, {"12.00000002", -1},
           {"0.15", -1}, {"1000000000.1", 10000000001}, {"-0.1", -1}})
    EXPECT_EQ(TenthsOf(atof(text)), tenths) << text;
}

}  // namespace
