// Tests of the product data summary gDataSum: the printed summary lines and
// the list layout it leaves behind.
#include "gdata/gDataSum.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// Runs Print with standard output captured into a string.
std::string PrintToString(gDataSum& s) {
  std::ostringstream buf;
  std::streambuf* old = std::cout.rdbuf(buf.rdbuf());
  s.Print();
  std::cout.rdbuf(old);
  return buf.str();
}

void Add(myList<rSat>& all, myList<rSat>& sys, int& count, const char* code) {
  rSat s;
  s = code;
  all.PushBack(s);
  sys.PushBack(s);
  count++;
}

TEST(gDataSumTest, PrintsCountsAndSystemsWithSatellites) {
  gDataSum s;
  EXPECT_EQ(s.lSat.Length(), 0);
  s.nEph = 96;
  for (const char* c : {"G01", "G05", "G12"}) Add(s.lSat, s.lSatG, s.nSatG, c);
  for (const char* c : {"R01", "R24"}) Add(s.lSat, s.lSatR, s.nSatR, c);
  s.nSat = 5;
  iomlns::PrintType = iomlns::ORIGINAL;
  EXPECT_EQ(PrintToString(s),
            "  nEpoch:     96\n"
            "  nSat  :      5\n"
            "   G:   3 > G01 G05 G12\n"
            "   R:   2 > R01 R24\n"
            "\n\n");
  // The list layout stays RAW for every later list output.
  EXPECT_EQ(iomlns::PrintType, iomlns::RAW);
  std::ostringstream os;
  os << s.lSatR;
  EXPECT_EQ(os.str(), "  2 > R01 R24");
}

TEST(gDataSumTest, ZeroCountsPrintNoLine) {
  gDataSum s;
  EXPECT_EQ(PrintToString(s), "  nSat  :      0\n\n\n");
  // A system whose count is 0 gets no line whatever its list holds; the
  // order of the lines is G, R, E, C, S, J, I.
  int unused = 0;
  Add(s.lSat, s.lSatE, unused, "E11");
  Add(s.lSat, s.lSatI, s.nSatI, "I03");
  Add(s.lSat, s.lSatC, s.nSatC, "C20");
  Add(s.lSat, s.lSatJ, s.nSatJ, "J02");
  Add(s.lSat, s.lSatS, s.nSatS, "S27");
  s.nSat = 1234567;
  EXPECT_EQ(PrintToString(s),
            "  nSat  : 1234567\n"
            "   C:   1 > C20\n"
            "   S:   1 > S27\n"
            "   J:   1 > J02\n"
            "   I:   1 > I03\n"
            "\n\n");
}

}  // namespace
