// Parameter types of the command line, on the parts the program's own runs do
// not reach: the date formats YMD and HMS, the satellite-list checks, exclusion
// and availability table, and the markers of the number types.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "pgminc/ProgramParms.h"
#include "support/capture.h"

TEST(ProgramParms, DateFormatsKeepTheOtherPart) {
  pDate d;
  d.Parse("-es2017-02-19,01:13:56.0", 3, false, "F", "", ymdhmsns::YMDHMS);
  EXPECT_EQ(d.Rec.GetMJDay(), 57803u);
  EXPECT_NEAR(static_cast<double>(d.Rec.GetSecond()), 4436.0, 1e-9);
  d.Parse("-es18:00:30.5", 3, false, "F", "", ymdhmsns::HMS);  // the fraction too, date kept
  EXPECT_EQ(d.Rec.GetMJDay(), 57803u);
  EXPECT_EQ(d.Rec.GetSecond(), 64830.5L);
  d.Parse("-es2020-01-05", 3, false, "F", "", ymdhmsns::YMD);  // time kept
  EXPECT_EQ(d.Rec.GetMJDay(), 58853u);
  EXPECT_EQ(d.Rec.GetSecond(), 64830.5L);

  CaptureResult bad = RunCaptured([] {
    pDate e;
    e.Parse("-es2017-02-19", 3, false, "F", "", 1);
    std::cout << (e.IsSet() ? "set" : "unset") << e.Rec.GetMJDay();
  });
  EXPECT_EQ(bad.out, "unset51544");
  EXPECT_EQ(bad.err, WarningFrame("Function:   pDate::Parse(...)",
                                  "Format of input date not defined correctly  - from list [YMDHMS,YMD,HMS]!"));
}

TEST(ProgramParms, SatelliteListSplitCheckExclude) {
  pSats s;
  s.Parse("-pG01,R02,E10,G05", 2, false, "F", "");
  ASSERT_TRUE(s.IsSet());
  EXPECT_EQ(s.nRec, 4);
  EXPECT_EQ(s.nRecG, 2);
  EXPECT_EQ(s.nRecR, 1);
  EXPECT_EQ(s.nRecE, 1);

  myList<rSat> have;
  have.PushBack(rSat('G', 5));
  myList<bool> flags;
  s.Check(have, flags, 'G');
  ASSERT_EQ(flags.Length(), 2);
  EXPECT_FALSE(flags(0));
  EXPECT_TRUE(flags(1));
  std::ostringstream os;
  s.PrintAvailable("in file", flags, 'G', os);
  EXPECT_EQ(os.str(), "  List of GPS satellites  : in file\n  GPS satellites          :   2 > G01 G05\n"
                      "  Available               :         -   X\n\n");

  rSat g1('G', 1);
  s.ExcludeSatellite(g1);
  EXPECT_EQ(s.nRec, 3);
  EXPECT_EQ(s.nRecG, 1);
  EXPECT_EQ(s.RecG(0), rSat('G', 5));

  // Lower-case system letters are read as upper case.
  pSats lower;
  lower.Parse("-pe08,g05", 2, false, "F", "");
  ASSERT_EQ(lower.nRec, 2);
  EXPECT_EQ(lower.Rec(0), rSat('E', 8));
  EXPECT_EQ(lower.nRecG, 1);

  // A malformed list ends the run naming its first bad entry; nothing is widened.
  const std::vector<std::pair<std::string, std::string>> malformed = {
      {"-pG01,G2", "G2"},     {"-pG1", "G1"},     {"-pG01,", ""},           {"-p", ""},
      {"-p G05", " G05"},     {"-pG01;G02", "G01;G02"}, {"-pG01,,G02", ""}, {"-pX05", "X05"},
      {"-pG00", "G00"},       {"-pG01X", "G01X"}, {"-pG0A,G01", "G0A"}};
  for (const auto& [token, entry] : malformed) {
    CaptureResult bad = RunCaptured([&] {
      pSats t;
      t.Parse(token.c_str(), 2, false, "F", "");
    });
    EXPECT_EQ(bad.exitCode, 1) << token;
    EXPECT_EQ(bad.err, ErrorFrame("Function:   pSats::Parse(...)",
                                  "Entry >" + entry + "< of LIST OF SATELLITES NOT VALID - form as >G01,G02,J12,R03<!"))
        << token;
  }

  CaptureResult badSys = RunCaptured([] {
    pSats t;
    myList<rSat> l;
    myList<bool> f;
    t.Check(l, f, 'X');
  });
  EXPECT_EQ(badSys.exitCode, 1);
  EXPECT_EQ(badSys.err, ErrorFrame("Function:   pSats::Check(...)",
                                   "Input satellite system >X< not defined i.e. from list [G|R|E|C|S|J|I]!"));
}

TEST(ProgramParms, MarkersAndSystemLetters) {
  pFloat<long double> step;
  step.Parse("-np10", 'i', false, "F", "", 0, 1);
  EXPECT_FALSE(step.IsSet());
  step.Parse("-ni30", 'i', false, "F", "", 0, 1);
  EXPECT_EQ(step.Rec, 30.0L);

  pGSys g;
  g.Parse("-gsge", 3, false, "F", "");
  EXPECT_TRUE(g.IsSysG() && g.IsSysE());
  EXPECT_FALSE(g.IsSysR() || g.IsSysC() || g.IsSysS() || g.IsSysJ() || g.IsSysI());
  g.Parse("-gs", 3, false, "F", "");  // set, nothing added, nothing cleared
  g.Parse("-gsEcG", 3, false, "F", "");  // the letters add up, a system selected before adds none
  EXPECT_STREQ(g.Rec, "gec");
  EXPECT_STREQ(g.RecDesc, "GPS GALILEO BDS ");
  g.Reset();
  g.SetManually();
  EXPECT_TRUE(g.IsSet() && g.IsSysG() && g.IsSysR() && g.IsSysE() && g.IsSysC() && g.IsSysS() && g.IsSysJ() &&
              g.IsSysI());
  EXPECT_STREQ(g.Rec, "GRECSIJ");
  EXPECT_STREQ(g.RecDesc, "GPS GLONASS GALILEO BDS SBAS QZSS NavIC ");
  g.Parse("-gsc", 3, false, "F", "");  // the words grow; all systems again gives the seven alone
  g.SetManually();
  EXPECT_STREQ(g.RecDesc, "GPS GLONASS GALILEO BDS SBAS QZSS NavIC ");
}

// A value of another form than its option takes ends the run naming the token:
// read at fixed columns or by atof it would be another value than the user wrote
// (2023-7-08,04:30:00 as 04:00:00, 1,5 as 1, 5min as 5 s, GPS as GPS and SBAS).
TEST(ProgramParms, ValuesOfAnotherFormEndTheRun) {
  const std::string dateForm = "< NOT VALID - form as >2017-02-19,01:13:56.0<!";
  const std::string tenths = "< NOT VALID - SECONDS NOT A MULTIPLE OF 0.1 s, THE RESOLUTION OF THE EPOCHS!";
  struct Case {
    std::string token;
    char kind;  // d date, h time of day, f real number, i whole number, g systems
    std::string where, message;
  };
  const std::vector<Case> cases = {
      {"-es2023-7-08,04:30:00", 'd', "pDate", "Input DATE >-es2023-7-08,04:30:00" + dateForm},
      {"-es2023-07-08,4:30:15", 'd', "pDate", "Input DATE >-es2023-07-08,4:30:15" + dateForm},
      {"-es2023-07-08 04:30:15", 'd', "pDate", "Input DATE >-es2023-07-08 04:30:15" + dateForm},
      {"-es2023-07-08,04:30:15.", 'd', "pDate", "Input DATE >-es2023-07-08,04:30:15." + dateForm},
      {"-es2023-07-08,04:30:15.0Z", 'd', "pDate", "Input DATE >-es2023-07-08,04:30:15.0Z" + dateForm},
      {"-es2023-07-08", 'd', "pDate", "Input DATE >-es2023-07-08" + dateForm},
      {"-es2023-07-08,04:30:15.05", 'd', "pDate", "Input DATE >-es2023-07-08,04:30:15.05" + tenths},
      {"-es2023-07-08,04:30:15.149", 'd', "pDate", "Input DATE >-es2023-07-08,04:30:15.149" + tenths},
      {"-es01:13:56.25", 'h', "pDate", "Input DATE >-es01:13:56.25" + tenths},
      // a field out of its range: the calendar's own setter, year to second
      {"-es1900-07-08,04:30:15", 'd', "ymdhms::SetYear()", "Input YEAR not valid!"},
      {"-es2023-13-08,04:30:15", 'd', "ymdhms::SetMonth()", "Input MONTH not valid!"},
      {"-es2023-02-29,04:30:15", 'd', "ymdhms::SetDay()", "Input DAY not valid!"},
      {"-es2023-04-31,04:30:15", 'd', "ymdhms::SetDay()", "Input DAY not valid!"},
      {"-es2023-07-08,24:00:00", 'd', "ymdhms::SetHour()", "Input HOUR not valid!"},
      {"-es2023-07-08,04:60:15", 'd', "ymdhms::SetMinute()", "Input MINUTE not valid!"},
      {"-es2023-07-08,04:30:60", 'd', "ymdhms::SetSecond()", "Input SECOND not valid!"},
      {"-ei1,5", 'f', "pFloat", "Value of command line parameter >-ei1,5< NOT VALID - A DECIMAL NUMBER ONLY!"},
      {"-ei5min", 'f', "pFloat", "Value of command line parameter >-ei5min< NOT VALID - A DECIMAL NUMBER ONLY!"},
      {"-ei1h", 'f', "pFloat", "Value of command line parameter >-ei1h< NOT VALID - A DECIMAL NUMBER ONLY!"},
      {"-ei", 'f', "pFloat", "Value of command line parameter >-ei< NOT VALID - A DECIMAL NUMBER ONLY!"},
      {"-einan", 'f', "pFloat", "Value of command line parameter >-einan< NOT VALID - A DECIMAL NUMBER ONLY!"},
      {"-ei1e999", 'f', "pFloat", "Value of command line parameter >-ei1e999< NOT VALID - A DECIMAL NUMBER ONLY!"},
      {"-ei0x10", 'f', "pFloat", "Value of command line parameter >-ei0x10< NOT VALID - A DECIMAL NUMBER ONLY!"},
      {"-np4x", 'i', "pInteger", "Value of command line parameter >-np4x< NOT VALID - A WHOLE NUMBER ONLY!"},
      {"-np1e2", 'i', "pInteger", "Value of command line parameter >-np1e2< NOT VALID - A WHOLE NUMBER ONLY!"},
      {"-np", 'i', "pInteger", "Value of command line parameter >-np< NOT VALID - A WHOLE NUMBER ONLY!"},
      {"-np99999999999999999999", 'i', "pInteger",
       "Value of command line parameter >-np99999999999999999999< NOT VALID - A WHOLE NUMBER ONLY!"},
      {"-gsGPS", 'g', "pGSys", "Input GNSS SYSTEM >P< of >-gsGPS< NOT VALID - from list [G|R|E|C|S|J|I]!"},
      {"-gsBDS", 'g', "pGSys", "Input GNSS SYSTEM >B< of >-gsBDS< NOT VALID - from list [G|R|E|C|S|J|I]!"},
      {"-gsG,E", 'g', "pGSys", "Input GNSS SYSTEM >,< of >-gsG,E< NOT VALID - from list [G|R|E|C|S|J|I]!"}};
  for (const Case& c : cases) {
    CaptureResult r = RunCaptured([&] {
      if (c.kind == 'd') pDate().Parse(c.token.c_str(), 3, false, "F", "", ymdhmsns::YMDHMS);
      if (c.kind == 'h') pDate().Parse(c.token.c_str(), 3, false, "F", "", ymdhmsns::HMS);
      if (c.kind == 'f') pFloat<long double>().Parse(c.token.c_str(), 3, false, "F", "", 0, 1);
      if (c.kind == 'i') pInteger<long>().Parse(c.token.c_str(), 'p', false, "F", "");
      if (c.kind == 'g') pGSys().Parse(c.token.c_str(), 3, false, "F", "");
    });
    EXPECT_EQ(r.exitCode, 1) << c.token;
    const std::string where = c.where.find("::") == std::string::npos ? c.where + "::Parse(...)" : c.where;
    EXPECT_EQ(r.err, ErrorFrame("Function:   " + where, c.message)) << c.token;
  }

  // The forms that are taken: 2023-07-08 is MJD 60133, 04:30:15.50 the second 16215.5;
  // the leap day 2024-02-29 is MJD 60369.
  pDate d;
  d.Parse("-es2024-02-29,00:00:00", 3, false, "F", "", ymdhmsns::YMDHMS);
  EXPECT_EQ(d.Rec.GetMJDay(), 60369u);
  d.Parse("-es2023-07-08,04:30:15.50", 3, false, "F", "", ymdhmsns::YMDHMS);
  EXPECT_EQ(d.Rec.GetMJDay(), 60133u);
  EXPECT_EQ(d.Rec.GetSecond(), 16215.5L);
  d.Parse("-es2023-07-08,04:30:15", 3, false, "F", "", ymdhmsns::YMDHMS);
  EXPECT_EQ(d.Rec.GetSecond(), 16215.0L);
  pFloat<long double> f;
  for (const auto& [token, value] : std::vector<std::pair<std::string, long double>>{
           {"-ei60", 60.0L}, {"-ei0.5", 0.5L}, {"-ei1e2", 100.0L}, {"-ei-60", -60.0L}, {"-ei.5", 0.5L}}) {
    f.Parse(token.c_str(), 3, false, "F", "", 0, 1);
    EXPECT_EQ(f.Rec, value) << token;
  }
  // Whole tenths by the text, whatever the size or the nearness of the binary value.
  for (const auto& [text, tenths] : std::vector<std::pair<std::string, bool>>{
           {"0.5", true}, {"1.50", true}, {"2e1", true}, {"-15e-1", true}, {"0.15", false}, {"100000000.05", false},
           {"0.1000000000001", false}, {"1e-2", false}, {"1.5e-1", false}})
    EXPECT_EQ(prgparms::WholeTenths(text.c_str()), tenths) << text;
  pInteger<long> n;
  n.Parse("-np+4", 'p', false, "F", "");
  EXPECT_EQ(n.Rec, 4);
  n.Parse("-np-4", 'p', false, "F", "");
  EXPECT_EQ(n.Rec, -4);
}
