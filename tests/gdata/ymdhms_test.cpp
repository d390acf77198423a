// Tests of the calendar date and time ymdhms: validation with the place of each setter,
// day of year and decimal year, stream input, the date text and every print layout.
#include "gdata/ymdhms.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/capture.h"
#include "support/near.h"

namespace {

const char* kDatum = "Function:   ymdhms::TestDatum()";

class YmdhmsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ymdhmsns::PrintType = ymdhmsns::NORINEX;
    ymdhmsns::PrintFormat = ymdhmsns::YMDHMS;
    ymdhmsns::NDecSecond = 1;
  }
};

void ExpectFatal(const std::function<void()>& f, const std::string& place, const std::string& msg) {
  CaptureResult r = RunCaptured(f);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, ErrorFrame(place, msg));
}

std::string Print(const ymdhms& t) {
  std::ostringstream os;
  os << t;
  return os.str();
}

// Date and time as "yyyy-mm-dd hh:mm:ss.s" independent of the print settings.
std::string Fields(const ymdhms& t) {
  char buf[64];
  snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%04.1Lf", t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(),
           t.GetMinute(), t.GetSecond());
  return buf;
}

TEST_F(YmdhmsTest, ValidationOfTheWholeDate) {
  EXPECT_EQ(Fields(ymdhms()), "1980-01-01 00:00:00.0");
  EXPECT_EQ(Fields(ymdhms(2000, 2, 29, 0, 0, 0)), "2000-02-29 00:00:00.0");
  EXPECT_EQ(Fields(ymdhms(2024, 2, 29, 0, 0, 0)), "2024-02-29 00:00:00.0");
  EXPECT_EQ(Fields(ymdhms(2199, 12, 31, 23, 59, 59.9L)), "2199-12-31 23:59:59.9");
  EXPECT_EQ(Fields(ymdhms(1901, 1, 1, 0, 0, 0)), "1901-01-01 00:00:00.0");

  ExpectFatal([] { ymdhms t(1900, 1, 1, 0, 0, 0); }, kDatum, "Input YEAR not valid!");
  ExpectFatal([] { ymdhms t(2200, 1, 1, 0, 0, 0); }, kDatum, "Input YEAR not valid!");
  ExpectFatal([] { ymdhms t(2100, 2, 29, 0, 0, 0); }, kDatum, "Input DAY not valid!");
  ExpectFatal([] { ymdhms t(2021, 4, 31, 0, 0, 0); }, kDatum, "Input DAY not valid!");
  ExpectFatal([] { ymdhms t(2021, 1, 0, 0, 0, 0); }, kDatum, "Input DAY not valid!");
  ExpectFatal([] { ymdhms t(2021, 0, 40, 0, 0, 0); }, kDatum, "Input MONTH not valid!");
  ExpectFatal([] { ymdhms t(2021, 13, 1, 0, 0, 0); }, kDatum, "Input MONTH not valid!");
  ExpectFatal([] { ymdhms t(2021, 1, 1, 24, 0, 0); }, kDatum, "Input HOUR not valid!");
  ExpectFatal([] { ymdhms t(2021, 1, 1, 0, 60, 0); }, kDatum, "Input MINUTE not valid!");
  ExpectFatal([] { ymdhms t(2021, 1, 1, 0, 0, 60); }, kDatum, "Input SECOND not valid!");
  ExpectFatal([] { ymdhms t(2021, 1, 1, 0, 0, -0.1L); }, kDatum, "Input SECOND not valid!");
  ExpectFatal([] { ymdhms t; t.Set(2021, 2, 29, 0, 0, 0); }, kDatum, "Input DAY not valid!");

  // Copies validate: a time made invalid by SetDaySecond cannot be copied.
  ExpectFatal(
      [] {
        ymdhms t(2021, 1, 1, 0, 0, 0);
        t.SetDaySecond(86400.0L);
        ymdhms copy(t);
      },
      kDatum, "Input HOUR not valid!");
}

TEST_F(YmdhmsTest, SingleFieldSetters) {
  ymdhms t(2021, 3, 31, 0, 0, 0);
  t.SetHMS(23, 59, 59.5L);
  t.SetYear(2024);
  t.SetMonth(1);
  t.SetDay(31);
  EXPECT_EQ(Fields(t), "2024-01-31 23:59:59.5");
  t.SetDaySecond(3661.5L);
  EXPECT_EQ(Fields(t), "2024-01-31 01:01:01.5");
  EXPECT_NEAR((double)t.GetDaySecond(), 3661.5, 1e-12);

  ExpectFatal([] { ymdhms t; t.SetYear(2200); }, "Function:   ymdhms::SetYear()", "Input YEAR not valid!");
  ExpectFatal([] { ymdhms t; t.SetMonth(0); }, "Function:   ymdhms::SetMonth()", "Input MONTH not valid!");
  // The day is tested against the month the object holds now.
  ExpectFatal(
      [] {
        ymdhms t(2021, 2, 1, 0, 0, 0);
        t.SetDay(29);
      },
      "Function:   ymdhms::SetDay()", "Input DAY not valid!");
  ExpectFatal([] { ymdhms t; t.SetHMS(12, 60, 0); }, "Function:   ymdhms::SetMinute()", "Input MINUTE not valid!");
  ExpectFatal([] { ymdhms t; t.SetHMS(24, 0, 0); }, "Function:   ymdhms::SetHour()", "Input HOUR not valid!");
  ExpectFatal([] { ymdhms t; t.SetSecond(60); }, "Function:   ymdhms::SetSecond()", "Input SECOND not valid!");
}

TEST_F(YmdhmsTest, DayOfYearAndDecimalYear) {
  ymdhms t;
  t.SetDayOfYear(2020, 60);
  EXPECT_EQ(Fields(t), "2020-02-29 00:00:00.0");
  t.SetDayOfYear(2021, 60);
  EXPECT_EQ(Fields(t), "2021-03-01 00:00:00.0");
  t.SetDayOfYear(2020, 366);
  EXPECT_EQ(Fields(t), "2020-12-31 00:00:00.0");
  t.SetDayOfYear(2021, 1);
  EXPECT_EQ(Fields(t), "2021-01-01 00:00:00.0");
  EXPECT_EQ(ymdhms(2020, 12, 31, 0, 0, 0).GetDayOfYear(), 366);
  EXPECT_EQ(ymdhms(2021, 3, 1, 0, 0, 0).GetDayOfYear(), 60);

  const char* place = "Function:   ymdhms::SetDayOfYear()";
  ExpectFatal([] { ymdhms x; x.SetDayOfYear(2021, 366); }, place, "Input MONTH not valid!");
  ExpectFatal([] { ymdhms x; x.SetDayOfYear(2021, 0); }, place, "Input MONTH not valid!");
  ExpectFatal([] { ymdhms x; x.SetDayOfYear(1900, 10); }, place, "Input YEAR not valid!");
  ExpectFatal([] { ymdhms x; x.SetYDec(2200.5); }, place, "Input YEAR not valid!");
  ExpectFatal([] { ymdhms x; x.SetYDec(-3.0); }, place, "Input YEAR not valid!");

  t.SetYDec(2020.5);
  EXPECT_EQ(Fields(t), "2020-07-02 00:00:00.0");
  EXPECT_EQ(t.GetYearDec(), 2020.5L);
  t.SetYDec(2021.0 + 0.5 / 365);  // noon of 1 January, to the precision of a double year
  EXPECT_EQ(t.GetDayOfYear(), 1);
  EXPECT_NEAR((double)t.GetDaySecond(), 43200.0, 1e-5);
  EXPECT_NEAR_L(ymdhms(2020, 1, 5, 12, 0, 0).GetYearDec(), 2020 + 4.5L / 366, 1e-13L);
}

TEST_F(YmdhmsTest, StreamInput) {
  ymdhms t;
  std::istringstream a("5 1 5 12 0 0");
  a >> t;
  EXPECT_EQ(Fields(t), "2005-01-05 12:00:00.0");
  std::istringstream b("80 1 1 0 0 0");
  b >> t;
  EXPECT_EQ(Fields(t), "1980-01-01 00:00:00.0");
  std::istringstream c("2020 2 29 23 59 59.5");
  c >> t;
  EXPECT_EQ(Fields(t), "2020-02-29 23:59:59.5");
  ExpectFatal(
      [] {
        std::istringstream d("100 1 1 0 0 0");
        ymdhms x;
        d >> x;
      },
      kDatum, "Input YEAR not valid!");
}

TEST_F(YmdhmsTest, FileLayouts) {
  const ymdhms t(2020, 1, 5, 12, 0, 0);
  const struct { uint16_t type; const char* want; } rows[] = {
      {ymdhmsns::RINEXHEADER, "  2020     1     5    12     0    0.0000000"},
      {ymdhmsns::RINEXDATA, " 20  1  5 12  0  0.0000000"},
      {ymdhmsns::RINEXDATA3, " 2020  1  5 12  0  0.0000000"},
      {ymdhmsns::RINEXNAV3, " 2020  1  5 12  0  0"},
      {ymdhmsns::RINEXCLK3, " 2020  1  5 12  0  0.000000"},
      {ymdhmsns::SP3, "2020  1  5 12  0  0.00000000"},
      {ymdhmsns::SINEX, "20:005:43200"},
      {ymdhmsns::GNSSLOG, "2020-01-05 12:00:00"},
      {ymdhmsns::BERNSTA, "  2020 01 05 12 00 00"},
      {ymdhmsns::RENSTA, " 2020-01-05/12:00:00"},
  };
  for (const auto& r : rows) {
    ymdhmsns::PrintType = r.type;
    EXPECT_EQ(Print(t), r.want) << "PrintType " << r.type;
  }

  ymdhmsns::PrintType = ymdhmsns::RINEXDATA;
  EXPECT_EQ(Print(ymdhms(1999, 12, 31, 23, 59, 30.5L)), " 99 12 31 23 59 30.5000000");
  EXPECT_EQ(Print(ymdhms(2000, 1, 1, 0, 0, 0)), "  0  1  1  0  0  0.0000000");
  EXPECT_EQ(Print(ymdhms(2009, 1, 1, 0, 0, 0)), "  9  1  1  0  0  0.0000000");
  ymdhmsns::PrintType = ymdhmsns::SINEX;
  EXPECT_EQ(Print(ymdhms(2000, 3, 1, 0, 0, 7)), "00:061:00007");
  EXPECT_EQ(Print(ymdhms(1999, 12, 31, 0, 0, 0)), "99:365:00000");
  ymdhmsns::PrintType = ymdhmsns::RINEXNAV3;
  EXPECT_EQ(Print(ymdhms(2021, 11, 30, 22, 45, 30)), " 2021 11 30 22 45 30");
  ymdhmsns::PrintType = ymdhmsns::SP3;
  EXPECT_EQ(Print(ymdhms(2021, 11, 30, 22, 45, 30.125L)), "2021 11 30 22 45 30.12500000");
}

TEST_F(YmdhmsTest, FormatLayouts) {
  const ymdhms t(2020, 1, 5, 12, 0, 0);
  const struct { uint16_t format; const char* want; } rows[] = {
      {ymdhmsns::YMDHMS, " 2020-01-05 12:00:00.0"}, {ymdhmsns::YDHMS, " 2020-005 12:00:00.0"},
      {ymdhmsns::YDSEC, " 2020-005  43200.0"},      {ymdhmsns::YMD, " 2020-01-05"},
      {ymdhmsns::YDEC, " 2020.0122951"},            {ymdhmsns::YD, " 2020-005"},
      {ymdhmsns::HMS, " 12:00:00.0"},               {ymdhmsns::APRCRD, ""},
      {42, ""},
  };
  for (uint16_t type : {(uint16_t)ymdhmsns::NORINEX, (uint16_t)11, (uint16_t)500})
    for (const auto& r : rows) {
      ymdhmsns::PrintType = type;
      ymdhmsns::PrintFormat = r.format;
      EXPECT_EQ(Print(t), r.want) << "PrintType " << type << " PrintFormat " << r.format;
    }

  const ymdhms s(2020, 1, 5, 12, 0, 5);
  ymdhmsns::NDecSecond = 0;
  ymdhmsns::PrintFormat = ymdhmsns::YMDHMS;
  EXPECT_EQ(Print(s), " 2020-01-05 12:00:05");
  ymdhmsns::PrintFormat = ymdhmsns::YDHMS;
  EXPECT_EQ(Print(s), " 2020-005 12:00:005");
  ymdhmsns::PrintFormat = ymdhmsns::HMS;
  EXPECT_EQ(Print(s), " 12:00:005");
  ymdhmsns::PrintFormat = ymdhmsns::YDSEC;
  EXPECT_EQ(Print(s), " 2020-005   43205");

  // No rounding into range: 59.96 with one decimal shows as 60.0.
  ymdhmsns::NDecSecond = 1;
  ymdhmsns::PrintFormat = ymdhmsns::YMDHMS;
  EXPECT_EQ(Print(ymdhms(2020, 1, 5, 12, 0, 59.96L)), " 2020-01-05 12:00:60.0");

  // The fill is blank and the fixed flag stays set afterwards.
  std::ostringstream os;
  os << s << std::setw(3) << 7 << " " << 1.5L;
  EXPECT_EQ(os.str(), " 2020-01-05 12:00:05.0  7 1.5");
}

TEST_F(YmdhmsTest, DateString) {
  const ymdhms t(2020, 1, 5, 12, 0, 5);
  char buf[40];
  EXPECT_STREQ(t.GetDateString(buf, 0), " 2020-01-05/12:00:05");
  EXPECT_STREQ(t.GetDateString(buf, 1), " 2020-01-05/12:00:05.0");
  EXPECT_STREQ(t.GetDateString(buf, 8), " 2020-01-05/12:00:05.00000000");
  EXPECT_EQ(strlen(t.GetDateString(buf, 8)), 29u);
}

TEST(CalendarRules, LeapYearsAndFieldTests) {
  EXPECT_FALSE(LeapYear((uint16_t)0));
  EXPECT_FALSE(LeapYear((int32_t)-4));
  EXPECT_TRUE(LeapYear((uint16_t)2000));
  EXPECT_FALSE(LeapYear((uint16_t)1900));
  EXPECT_FALSE(LeapYear((uint16_t)2100));
  EXPECT_TRUE(LeapYear((int32_t)2024));
  EXPECT_FALSE(LeapYear((int32_t)2023));
  EXPECT_TRUE(TestYear(1901) && TestYear(2199) && !TestYear(1900) && !TestYear(2200));
  EXPECT_TRUE(TestMonth(1) && TestMonth(12) && !TestMonth(0) && !TestMonth(13));
  EXPECT_TRUE(TestDay(31, 12, 2021) && !TestDay(31, 11, 2021) && TestDay(29, 2, 2024) && !TestDay(29, 2, 2023));
  EXPECT_TRUE(TestDay(29, 0, 2024) && !TestDay(29, 13, 2023));  // other month values: February
  EXPECT_TRUE(TestHour(23) && !TestHour(24) && TestMinute(59) && !TestMinute(60));
  EXPECT_TRUE(TestSecond(0) && TestSecond(59.999L) && !TestSecond(60) && !TestSecond(-1e-20L));
  EXPECT_TRUE(TestDOY(366, 2024) && !TestDOY(366, 2023) && !TestDOY(0, 2024));
}

}  // namespace
