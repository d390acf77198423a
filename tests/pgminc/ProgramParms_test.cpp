// Parameter types of the command line, on the parts the program's own runs do
// not reach: the date formats YMD and HMS, the satellite-list checks, exclusion
// and availability table, and the markers of the number types.
#include <gtest/gtest.h>

#include <sstream>

#include "pgminc/ProgramParms.h"
#include "support/capture.h"

TEST(ProgramParms, DateFormatsKeepTheOtherPart) {
  pDate d;
  d.Parse("-es2017-02-19,01:13:56.0", 3, false, "F", "", ymdhmsns::YMDHMS);
  EXPECT_EQ(d.Rec.GetMJDay(), 57803u);
  EXPECT_NEAR(static_cast<double>(d.Rec.GetSecond()), 4436.0, 1e-9);
  d.Parse("-es18:00:30.9", 3, false, "F", "", ymdhmsns::HMS);  // whole seconds, date kept
  EXPECT_EQ(d.Rec.GetMJDay(), 57803u);
  EXPECT_NEAR(static_cast<double>(d.Rec.GetSecond()), 64830.0, 1e-9);
  d.Parse("-es2020-01-05", 3, false, "F", "", ymdhmsns::YMD);  // time kept
  EXPECT_EQ(d.Rec.GetMJDay(), 58853u);
  EXPECT_NEAR(static_cast<double>(d.Rec.GetSecond()), 64830.0, 1e-9);

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

  CaptureResult bad = RunCaptured([] {
    pSats t;
    t.Parse("-pG01,G2", 2, false, "F", "");
    std::cout << (t.IsSet() ? "set" : "unset");
    myList<rSat> l;
    myList<bool> f;
    t.Check(l, f, 'X');
  });
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.out, "unset");
  EXPECT_EQ(bad.err,
            WarningFrame("Function:   pSats::Parse(...)",
                         "Format of input LIST OF SATELLITES not defined correctly  - form as >G01,G02,J12,R03<!") +
                ErrorFrame("Function:   pSats::Check(...)",
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
  g.Parse("-gsx", 3, false, "F", "");  // set, nothing added, nothing cleared
  EXPECT_STREQ(g.Rec, "x");
  EXPECT_STREQ(g.RecDesc, "GPS GALILEO ");
  g.Reset();
  g.SetManually();
  EXPECT_STREQ(g.RecDesc, "GPS GLONASS GALILEO BDS SBAS QZSS NavIC ");
}
