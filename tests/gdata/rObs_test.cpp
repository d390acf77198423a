// Tests of the observation value rObs: parsing the 16-column RINEX field,
// arithmetic with missing values, and the four print layouts.
#include "gdata/rObs.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

std::string Print(const rObs& o, unsigned short layout) {
  rObsns::PrintType = layout;
  std::ostringstream os;
  os << o;
  rObsns::PrintType = rObsns::NORINEX;
  return os.str();
}

TEST(rObsTest, ParsesTheRinexField) {
  rObs o;
  o = "  23619095.450 7";
  EXPECT_NEAR(o.GetObs(), 23619095.450L, 1e-6);
  EXPECT_EQ(o.GetLli(), 0);
  EXPECT_EQ(o.GetSs(), 7);
  o >> "  -1234567.890 5";
  EXPECT_NEAR(o.GetObs(), -1234567.890L, 1e-6);
  EXPECT_EQ(o.GetLli(), 0);
  EXPECT_EQ(o.GetSs(), 5);
  o = "     12345.67815";
  EXPECT_EQ(o.GetLli(), 1);
  EXPECT_EQ(o.GetSs(), 5);

  // A blank field: value 0, flags 0, printed in RINEX as 16 blanks.
  o = "                ";
  EXPECT_EQ(o.GetObs(), 0);
  EXPECT_EQ(o.GetLli(), 0);
  EXPECT_EQ(o.GetSs(), 0);
  EXPECT_EQ(Print(o, rObsns::RINEX), std::string(16, ' '));

  // A line cut short after the value, or an empty text, has no flags; a flag
  // that is not a digit reads as 0.
  o = "  20000000.125";
  EXPECT_NEAR(o.GetObs(), 20000000.125L, 1e-6);
  EXPECT_EQ(o.GetLli(), 0);
  EXPECT_EQ(o.GetSs(), 0);
  o = "  20000000.1253";
  EXPECT_EQ(o.GetLli(), 3);
  EXPECT_EQ(o.GetSs(), 0);
  o = "";
  EXPECT_EQ(o.GetObs(), 0);
  o = "  20000000.125X#";
  EXPECT_EQ(o.GetLli(), 0);
  EXPECT_EQ(o.GetSs(), 0);
}

TEST(rObsTest, ArithmeticWithMissingValues) {
  rObs a, b, tiny;
  a = "      1000.50012";
  b = 250.25L;
  EXPECT_EQ(b.GetLli(), 0);
  tiny = 0.00005L;
  EXPECT_TRUE(tiny.IsNull());
  EXPECT_FALSE(a.IsNull());

  rObs s = a + b;
  EXPECT_NEAR(s.GetObs(), 1250.75L, 1e-12);
  EXPECT_EQ(s.GetLli(), 0);
  EXPECT_EQ(s.GetSs(), 0);
  EXPECT_NEAR((a - b).GetObs(), 750.25L, 1e-12);
  EXPECT_EQ((a + tiny).GetObs(), 0);
  EXPECT_EQ((tiny - a).GetObs(), 0);

  rObs k = 2 * a;
  EXPECT_NEAR(k.GetObs(), 2001, 1e-12);
  EXPECT_EQ(k.GetLli(), 1);
  EXPECT_EQ(k.GetSs(), 2);
  EXPECT_EQ((a * 0.5L).GetSs(), 2);
  a += 1;
  a -= 0.5L;
  EXPECT_NEAR(a.GetObs(), 1001, 1e-12);
  EXPECT_EQ(a.GetLli(), 1);
}

TEST(rObsTest, PrintLayouts) {
  rObs o;
  o = "  23619095.450 7";
  EXPECT_EQ(Print(o, rObsns::RINEX), "  23619095.450 7");
  EXPECT_EQ(Print(o, rObsns::NORINEX), "  23619095.450 0 7");
  EXPECT_EQ(Print(o, rObsns::NOLLISSI), "  23619095.450");
  EXPECT_EQ(Print(o, rObsns::SDFILE), "     23619095.450");
  EXPECT_EQ(Print(o, 4), "");
  o = "      -12.34561 ";
  EXPECT_EQ(Print(o, rObsns::RINEX), "       -12.3461 ");

  rObs none;
  EXPECT_EQ(Print(none, rObsns::NORINEX), "         *.*** * *");
  EXPECT_EQ(Print(none, rObsns::NOLLISSI), "         *.***");
  EXPECT_EQ(Print(none, rObsns::SDFILE), "            0.000");
  rObsns::Width = 8;
  EXPECT_EQ(Print(none, rObsns::NOLLISSI), "   *.***");
  rObsns::Width = 14;

  // 0.00005 exceeds the print threshold although IsNull holds for it.
  rObs tiny;
  tiny = 0.00005L;
  EXPECT_EQ(Print(tiny, rObsns::NOLLISSI), "         0.000");
  std::ostringstream os;
  os << tiny;
  EXPECT_TRUE(os.flags() & std::ios::fixed);

  // A stream left in scientific notation still gets the fixed-point field,
  // not a hexadecimal one.
  rObsns::PrintType = rObsns::RINEX;
  std::ostringstream sci;
  sci << std::scientific << o;
  rObsns::PrintType = rObsns::NORINEX;
  EXPECT_EQ(sci.str(), "       -12.3461 ");
  EXPECT_EQ(sci.flags() & std::ios::floatfield, std::ios::fixed);
}

}  // namespace
