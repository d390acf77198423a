// Tests of the GPS week and second GPSws: validation, day of week, the carries of
// adding seconds and weeks, stream input and the print layouts.
#include "gdata/GPSws.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>

#include "support/capture.h"

namespace {

const char* kPlace = "Function:   GPSws::TestDatum()";

class GPSwsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    gpswsns::PrintFormat = gpswsns::GPSWS;
    gpswsns::NDecSecond = 1;
  }
};

void ExpectWs(const GPSws& g, uint16_t week, long double sec) {
  EXPECT_EQ(g.GetWeek(), week);
  EXPECT_EQ(g.GetSecond(), sec) << "week " << g.GetWeek();
}

void ExpectFatal(const std::function<void()>& f, const std::string& msg) {
  CaptureResult r = RunCaptured(f);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, ErrorFrame(kPlace, msg));
}

std::string Print(const GPSws& g) {
  std::ostringstream os;
  os << g;
  return os.str();
}

TEST_F(GPSwsTest, Validation) {
  ExpectFatal([] { GPSws g(12000, 0); }, "Input GPS WEEK not valid!");
  ExpectFatal([] { GPSws g(12000, -1); }, "Input GPS WEEK not valid!");  // week tested first
  ExpectFatal([] { GPSws g(0, 604800); }, "Input GPS SECOND not valid!");
  ExpectFatal([] { GPSws g(0, -0.001L); }, "Input GPS SECOND not valid!");
  ExpectFatal([] { GPSws g(0, std::numeric_limits<long double>::quiet_NaN()); }, "Input GPS SECOND not valid!");
  ExpectFatal([] { GPSws g; g.Set(2108, 700000); }, "Input GPS SECOND not valid!");
  ExpectFatal(
      [] {
        std::istringstream in("12001 5");
        GPSws g;
        in >> g;
      },
      "Input GPS WEEK not valid!");
  ExpectWs(GPSws(11999, 604799.9L), 11999, 604799.9L);

  // Arithmetic does not validate; the copy does.
  GPSws g(11999, 604799);
  g += 2.0L;
  ExpectWs(g, 12000, 1);
  ExpectFatal([&g] { GPSws copy(g); }, "Input GPS WEEK not valid!");
  ExpectFatal([&g] { GPSws copy; copy = g; }, "Input GPS WEEK not valid!");

  std::istringstream in("2108 262800.5");
  GPSws r;
  in >> r;
  ExpectWs(r, 2108, 262800.5L);
  EXPECT_TRUE(TestGPSWeek(11999) && !TestGPSWeek(12000));
  EXPECT_TRUE(TestGPSDayOfWeek(6) && !TestGPSDayOfWeek(7));
}

TEST_F(GPSwsTest, DayOfWeek) {
  EXPECT_EQ(GPSws(2108, 86399.9L).GetWeekDay(), 0);
  EXPECT_EQ(GPSws(2108, 86400).GetWeekDay(), 1);
  EXPECT_EQ(GPSws(2108, 604799.9L).GetWeekDay(), 6);
  EXPECT_EQ(GPSws(2108, 262800.5L).GetDaySecond(), 3600.5L);
}

TEST_F(GPSwsTest, AddingSecondsAndWeeks) {
  GPSws g(2108, 600000);
  g += 10000.0L;
  ExpectWs(g, 2109, 5200);
  g.Set(2108, 100);
  g += -200.0L;
  ExpectWs(g, 2107, 604700);
  g.Set(2108, 0);
  g += 3 * 604800.0L + 5;
  ExpectWs(g, 2111, 5);
  g.Set(2108, 5);
  g += -(3 * 604800.0L + 10);
  ExpectWs(g, 2104, 604795);
  g.Set(2108, 604799.5L);
  g += 0.5L;  // exactly the end of the week
  ExpectWs(g, 2109, 0);
  g.Set(2108, 604799.9999999999999L);
  g += 0.0L;
  ExpectWs(g, 2109, 0);
  g.Set(2108, 17);
  g += (unsigned short)3;
  ExpectWs(g, 2111, 17);
  g.Set(0, 1);
  g += -2.0L;  // 16-bit wrap below week 0, left to the next validation
  ExpectWs(g, 65535, 604799);
}

TEST_F(GPSwsTest, PrintLayouts) {
  const GPSws g(2108, 262800.5L);
  const struct { uint16_t format; const char* want; } rows[] = {
      {gpswsns::GPSWS, " 2108 262800.5"},     {gpswsns::GPSWDS, " 2108 3  3600.5"},
      {gpswsns::GPSWDHMS, " 2108 3  01:00:00.5"}, {gpswsns::GPSWD, " 2108 3"},
      {gpswsns::SP3, " 2108 262800.50000000"}, {5, ""},
  };
  for (const auto& r : rows) {
    gpswsns::PrintFormat = r.format;
    EXPECT_EQ(Print(g), r.want) << "PrintFormat " << r.format;
  }
  gpswsns::PrintFormat = gpswsns::GPSWD;
  EXPECT_EQ(Print(GPSws(5, 0)), " 0005 0");
  gpswsns::PrintFormat = gpswsns::GPSWDHMS;
  gpswsns::NDecSecond = 0;
  EXPECT_EQ(Print(GPSws(2108, 3 * 86400 + 3605)), " 2108 3  01:00:005");
  gpswsns::PrintFormat = gpswsns::GPSWS;
  gpswsns::NDecSecond = 3;
  EXPECT_EQ(Print(GPSws(7, 0.25L)), "    7      0.250");

  // The fill is blank afterwards.
  gpswsns::PrintFormat = gpswsns::GPSWDHMS;
  std::ostringstream os;
  os << GPSws(2108, 5) << std::setw(3) << 9;
  EXPECT_EQ(os.str(), " 2108 0  00:00:05.000  9");
}

}  // namespace
