// Tests of the satellite identifier rSat: parsing of new- and old-style codes,
// validation on construction and copy, comparisons and order, and both output styles.
#include "gdata/rSat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "support/capture.h"

namespace {

const char* kPlace = "Function:   rSat::TestSat()";

class RSatTest : public ::testing::Test {
 protected:
  void TearDown() override { rSns::StyleType = rSns::NEWSTYLE; }
};

void ExpectSat(const char* text, char sys, unsigned short prn) {
  rSat s;
  s = text;
  EXPECT_EQ(s.GetISys(), sys) << "text >" << text << "<";
  EXPECT_EQ(s.GetSPrn(), prn) << "text >" << text << "<";
}

void ExpectParseFatal(const char* text, const std::string& msg) {
  CaptureResult r = RunCaptured([&] {
    rSat s;
    s = text;
  });
  EXPECT_EQ(r.exitCode, 1) << "text >" << text << "<";
  EXPECT_EQ(r.err, ErrorFrame(kPlace, msg)) << "text >" << text << "<";
}

std::string Print(const rSat& s) {
  std::ostringstream os;
  os << s;
  return os.str();
}

TEST_F(RSatTest, ParsesNewAndOldStyleCodes) {
  ExpectSat("G01", 'G', 1);
  ExpectSat(" 01", 'G', 1);
  ExpectSat("G 1", 'G', 1);
  ExpectSat(" 05", 'G', 5);
  ExpectSat("R24", 'R', 24);
  ExpectSat("124", 'R', 24);
  ExpectSat("205", 'E', 5);
  ExpectSat("312", 'C', 12);
  ExpectSat("433", 'S', 33);
  ExpectSat("502", 'J', 2);
  ExpectSat("612", 'I', 12);
  ExpectSat("E99", 'E', 99);
  // Only the first three characters count.
  ExpectSat("C19xyz", 'C', 19);

  // A lower-case letter is accepted but belongs to no system.
  rSat g;
  g = "g07";
  EXPECT_EQ(g.GetISys(), 'g');
  EXPECT_EQ(g.GetSPrn(), 7);
  EXPECT_FALSE(g.isGPSSat());

  rSat all[7];
  const char* codes[7] = {"G01", "R01", "E01", "C01", "S20", "J01", "I01"};
  for (int i = 0; i < 7; ++i) all[i] = codes[i];
  EXPECT_TRUE(all[0].isGPSSat() && all[1].isGLNSat() && all[2].isGALSat() && all[3].isBDSSat() &&
              all[4].isSBSSat() && all[5].isQZSSat() && all[6].isIRNSat());
  EXPECT_FALSE(all[0].isGLNSat() || all[1].isGPSSat() || all[6].isQZSSat());
}

TEST_F(RSatTest, InvalidIdentifiersAreFatal) {
  ExpectParseFatal("G00", "Satellite number (PRN/SLOT) >0< UNDEFINED!");
  ExpectParseFatal("G 0", "Satellite number (PRN/SLOT) >0< UNDEFINED!");
  ExpectParseFatal("X01", "Satellite system identificator >X< UNDEFINED!");
  ExpectParseFatal("701", "Satellite system identificator >7< UNDEFINED!");
  // A number not written in digits (the units a digit, the tens a digit or a blank) is
  // no number: by arithmetic on the characters "G0?" would be G15, "G1A" G27, "E2 "
  // E04 and "R5" R02; each is refused as number 0. A text shorter than three
  // characters is not read past its end.
  for (const char* code : {"G0?", "G1A", "E2 ", "E1 ", "R5", "G1", "G", "G:1", "C/5", "J ?", "S\t1"})
    ExpectParseFatal(code, "Satellite number (PRN/SLOT) >0< UNDEFINED!");
  ExpectParseFatal("Q0?", "Satellite system identificator >Q< UNDEFINED!");

  CaptureResult r = RunCaptured([] { rSat s('G', 100); });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, ErrorFrame(kPlace, "Satellite number (PRN/SLOT) >100< UNDEFINED!"));

  // The system letter is tested before the number.
  r = RunCaptured([] { rSat s('Q', 0); });
  EXPECT_EQ(r.err, ErrorFrame(kPlace, "Satellite system identificator >Q< UNDEFINED!"));
}

TEST_F(RSatTest, CopyingValidates) {
  rSat a('E', 11);
  rSat b(a);
  rSat c;
  c = a;
  EXPECT_TRUE(b == a && c == a);
  c = c;  // self-assignment does nothing
  EXPECT_TRUE(c == a);

  // A default identifier (letter 0) must receive a value before it is copied; the letter
  // of code 0 shows as nothing rather than ending the message text.
  const std::string msg = "Satellite system identificator >< UNDEFINED!";
  CaptureResult r = RunCaptured([] {
    rSat empty;
    rSat copy(empty);
  });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, ErrorFrame(kPlace, msg));
  r = RunCaptured([] {
    rSat empty, target('G', 1);
    target = empty;
  });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, ErrorFrame(kPlace, msg));
}

TEST_F(RSatTest, ComparisonsAndOrder) {
  rSat g01('G', 1);
  EXPECT_TRUE(g01 == "G01");
  EXPECT_FALSE(g01 == " 01");  // no old-style mapping in the text compare
  EXPECT_FALSE(g01 == "G 1");  // no blank-as-zero either
  EXPECT_FALSE(g01 == "g01");
  EXPECT_FALSE(g01 == "G");
  EXPECT_FALSE(rSat('G', 15) == "G0?");  // '?' is no digit, though '?' - '0' is 15
  EXPECT_FALSE(rSat('G', 5) == "G 5");
  EXPECT_TRUE(rSat('R', 24) == "R24");
  EXPECT_TRUE(g01 != rSat('G', 2));
  EXPECT_TRUE(g01 != rSat('R', 1));
  EXPECT_FALSE(g01 != rSat('G', 1));

  EXPECT_FALSE(g01 < g01);
  EXPECT_FALSE(g01 > g01);
  EXPECT_TRUE(rSat('G', 2) > rSat('G', 1));
  EXPECT_TRUE(rSat('C', 99) < rSat('E', 1));

  std::vector<rSat> v = {rSat('G', 2), rSat('C', 1), rSat('R', 1), rSat('E', 5), rSat('G', 1),
                         rSat('S', 20), rSat('J', 3), rSat('I', 2)};
  std::sort(v.begin(), v.end(), [](const rSat& a, const rSat& b) { return a < b; });
  std::string order;
  for (const rSat& s : v) order += Print(s) + " ";
  EXPECT_EQ(order, "C01 E05 G01 G02 I02 J03 R01 S20 ");
  std::sort(v.begin(), v.end(), [](const rSat& a, const rSat& b) { return a > b; });
  EXPECT_EQ(Print(v.front()), "S20");
  EXPECT_EQ(Print(v.back()), "C01");
}

TEST_F(RSatTest, OutputStyles) {
  EXPECT_EQ(Print(rSat('G', 1)), "G01");
  EXPECT_EQ(Print(rSat('R', 24)), "R24");
  EXPECT_EQ(Print(rSat('g', 7)), "g07");

  rSns::StyleType = rSns::OLDSTYLE;
  EXPECT_EQ(Print(rSat('G', 1)), " 01");
  EXPECT_EQ(Print(rSat('R', 24)), "124");
  EXPECT_EQ(Print(rSat('E', 5)), "205");
  EXPECT_EQ(Print(rSat('C', 12)), "312");
  EXPECT_EQ(Print(rSat('S', 33)), "433");
  EXPECT_EQ(Print(rSat('J', 2)), "502");
  EXPECT_EQ(Print(rSat('I', 9)), "609");
  EXPECT_EQ(Print(rSat('j', 2)), "02");  // no code for a lower-case letter

  // A width set before applies to the first character; the fill is blank afterwards.
  rSns::StyleType = rSns::NEWSTYLE;
  std::ostringstream os;
  os << std::setw(4) << rSat('E', 3) << std::setw(3) << 7;
  EXPECT_EQ(os.str(), "   E03  7");
}

}  // namespace
