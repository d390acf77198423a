// Bad ANTEX input ends in the fatal frame with a clear message, never in a crash
// or silently wrong values: a zenith grid without a finite step, truncated
// files, short grid rows, offsets and grid values that are no finite decimal
// numbers, over-long lines, bad satellite codes, merged blocks; and the checks
// of the line records themselves.
#include "igsforms/antex.h"
#include "igsforms/toGCRS.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "support/capture.h"

namespace {

// One GPS block with a four-node zenith grid (from block G063 of M14).
const std::string kGood =
    "     1.4            M                                       ANTEX VERSION / SYST\n"
    "A                                                           PCV TYPE / REFANT\n"
    "                                                            END OF HEADER\n"
    "                                                            START OF ANTENNA\n"
    "BLOCK IIF           G01                 G063      2011-036A TYPE / SERIAL NO\n"
    "                                             0    29-JAN-17 METH / BY / # / DATE\n"
    "     0.0                                                    DAZI\n"
    "     0.0   3.0   1.0                                        ZEN1 / ZEN2 / DZEN\n"
    "     1                                                      # OF FREQUENCIES\n"
    "  2011     7    16     0     0    0.0000000                 VALID FROM\n"
    "IGS14_2132                                                  SINEX CODE\n"
    "   G01                                                      START OF FREQUENCY\n"
    "    394.00      0.00   1501.80                              NORTH / EAST / UP\n"
    "   NOAZI    6.10    4.40    2.80    1.30\n"
    "   G01                                                      END OF FREQUENCY\n"
    "                                                            END OF ANTENNA\n";

// kGood with the first occurrence of `from` replaced by `to`.
std::string Edit(const std::string& from, const std::string& to) {
  std::string s = kGood;
  size_t p = s.find(from);
  EXPECT_NE(p, std::string::npos) << from;
  if (p != std::string::npos) s.replace(p, from.size(), to);
  return s;
}

// kGood with an azimuth grid of DAZI 180 (rows 0, 180 and 360) whose row of
// 180 degrees is `row`; the other two rows repeat the NOAZI values.
std::string Azimuth(const std::string& row) {
  const std::string noazi = "   NOAZI    6.10    4.40    2.80    1.30\n";
  std::string s = Edit("     0.0                                                    DAZI",
                       "   180.0                                                    DAZI");
  s.replace(s.find(noazi), noazi.size(),
            noazi + "     0.0    6.10    4.40    2.80    1.30\n" + row +
                "   360.0    6.10    4.40    2.80    1.30\n");
  return s;
}

// The start of the messages on a value of kGood's frequency section.
const std::string kSat = "Frequency G01 of satellite G01 >G063      2011-036A<: ";

// kGood cut before the first line that contains `label`.
std::string CutBefore(const std::string& label) {
  size_t p = kGood.find(label);
  return kGood.substr(0, kGood.rfind('\n', p) + 1);
}

CaptureResult ReadText(const std::string& text) {
  std::string name = ::testing::TempDir() + "atx_bad_" + std::to_string(getpid());
  std::ofstream(name) << text;
  CaptureResult r = RunCaptured([&] {
    antex a;
    a.SetFile(name.c_str());
    a.ReadFile();
    std::cout << a.atxSum.nAntennae;
  });
  unlink(name.c_str());
  return r;
}

TEST(AntexBadInputTest, RefusedWithTheFatalFrame) {
  const std::string longLine = "   NOAZI    6.10    4.40    2.80    1.30" + std::string(600, ' ') + "\n";
  // The block of a receiver antenna, named by type and serial.
  std::string receiver = Edit("BLOCK IIF           G01                 G063      2011-036A",
                              "AOAD/M_T        NONE12345" + std::string(34, ' '));
  receiver.replace(receiver.find("    6.10"), 8, "    abcd");
  struct {
    const char* what;
    std::string text;
    std::string place, msg;
  } cases[] = {
      {"DZEN 0", Edit("     0.0   3.0   1.0  ", "     0.0   3.0   0.0  "),
       "Function:   gpcvDZen::Set(char*)", "DZEN value must be GREATER than 0!"},
      {"ZEN1 = ZEN2 with DZEN 0", Edit("     0.0   3.0   1.0  ", "     3.0   3.0   0.0  "),
       "Function:   gpcvDZen::Set(char*)", "DZEN value must be GREATER than 0!"},
      {"frequency section before ZEN1 / ZEN2 / DZEN",
       Edit("     0.0   3.0   1.0                                        ZEN1 / ZEN2 / DZEN\n", ""),
       "Function:   gpcvData::Set(char*)",
       "Frequency section before ZEN1 / ZEN2 / DZEN line: no zenith grid in GNSS ANTENNA "
       "CALIBRATION (ANTEX) file!"},
      {"NOAZI row shorter than the grid", Edit("    2.80    1.30\n", "    2.80\n"),
       "Function:   gpcvFreqData::Set()",
       "Frequency G01: grid row >   NOAZI< holds 3 values, fewer than the 4 zenith nodes!"},
      {"file ends inside a frequency section", CutBefore("END OF FREQUENCY"),
       "Function:   gpcvFreqData::Set()",
       "Unexpected end of GNSS ANTENNA CALIBRATION (ANTEX) file - between start/end of frequency "
       "section!"},
      {"file ends inside an antenna block", CutBefore("END OF ANTENNA"),
       "Function:   gAntPCV::ReadFile()",
       "Unexpected end of GNSS ANTENNA CALIBRATION (ANTEX) file - within antenna data section!"},
      {"file ends inside the header", CutBefore("END OF HEADER"),
       "Function:   antex::ReadFile_Header()",
       "Unexpected end of GNSS ANTENNA CALIBRATION (ANTEX) file - within header section!"},
      {"over-long line", Edit("   NOAZI    6.10    4.40    2.80    1.30\n", longLine),
       "Function:   antex::CountAData()",
       "GNSS ANTENNA CALIBRATION (ANTEX) file line longer than 510 characters: >   NOAZI    6.10  "
       "  4.40    2.80    1.30<!"},
      {"satellite code that does not parse", Edit("BLOCK IIF           G01 ", "BLOCK IIF           GX1 "),
       "Function:   gpcvTypeSerial::Set(char*)",
       "Satellite code >GX1< of TYPE / SERIAL NO line UNDEFINED!"},
      {"satellite code with a letter in its number", Edit("BLOCK IIF           G01 ", "BLOCK IIF           G0A "),
       "Function:   gpcvTypeSerial::Set(char*)",
       "Satellite code >G0A< of TYPE / SERIAL NO line UNDEFINED!"},
      {"satellite number 0", Edit("BLOCK IIF           G01 ", "BLOCK IIF           G00 "),
       "Function:   rSat::TestSat()", "Satellite number (PRN/SLOT) >0< UNDEFINED!"},
      {"unknown system letter", Edit("BLOCK IIF           G01 ", "BLOCK IIF           X01 "),
       "Function:   rSat::TestSat()", "Satellite system identificator >X< UNDEFINED!"},
      {"END OF ANTENNA missing", Edit("                                                            END OF ANTENNA\n",
                                      "                                                            START OF ANTENNA\n"),
       "Function:   gAntPCV::ReadFile()",
       "GNSS ANTENNA CALIBRATION (ANTEX) file - antenna data section without its END OF ANTENNA "
       "line!"},
      {"END OF FREQUENCY missing", Edit("   G01                                                      END OF FREQUENCY\n", ""),
       "Function:   gpcvFreqData::Set()",
       "GNSS ANTENNA CALIBRATION (ANTEX) file - frequency section without its END OF FREQUENCY "
       "line!"},
      {"codes of start and end differ", Edit("   G01                                                      END", "   G02                                                      END"),
       "Function:   gpcvFreqData::Set()",
       "Frequency codes of GNSS ANTENNA CALIBRATION (ANTEX) file - between start/end of frequency "
       "section - DO NOT MATCH!"},
      {"version 1.5", Edit("     1.4  ", "     1.5  "), "Function:   atxVersionSystem::Set(char*)",
       "ANTEX VERSION:      1.5  - not 1.[1|2|3|4] version!"},
      {"first line without its label", Edit("ANTEX VERSION / SYST", "ANTEX VERSION"),
       "Function:   atxVersionSystem::Set(char*)", "Input STRING not a >ANTEX VERSION / SYST<!"},
      {"DAZI 7", Edit("     0.0                                                    DAZI",
                      "     7.0                                                    DAZI"),
       "Function:   gpcvAziZen::Set(char*)", "DAZI value is not devisible by 360 degrees!"},
      {"DAZI 0.1 (not divisible in single precision)",
       Edit("     0.0                                                    DAZI",
            "     0.1                                                    DAZI"),
       "Function:   gpcvAziZen::Set(char*)", "DAZI value is not devisible by 360 degrees!"},
      {"DZEN 0.7", Edit("     0.0   3.0   1.0  ", "     0.0   3.0   0.7  "),
       "Function:   gpcvDZen::Set(char*)", "DZEN value is not devisible by (ZEN2-ZEN1)!"},
      {"ZEN1 above ZEN2", Edit("     0.0   3.0   1.0  ", "    10.0   3.0   1.0  "),
       "Function:   gpcvDZen::Set(char*)", "ZEN1 value must be SMALLER than ZEN2 value!"},
      {"DAZI far too fine", Edit("     0.0                                                    DAZI",
                                 "  0.0002                                                    DAZI"),
       "Function:   gpcvData::Set(char*)", "Frequency G01: grid of DAZI / ZEN1 / ZEN2 / DZEN too large!"},
      // Only finite decimal numbers are offsets and grid values: nan, inf,
      // hexadecimal text, letters and a blank field are refused, naming the field.
      {"north nan", Edit("    394.00      0.00", "       nan      0.00"), "Function:   gpcvFreqData::Set()",
       kSat + "NORTH / EAST / UP columns 1-10 >nan< NOT A FINITE DECIMAL NUMBER!"},
      {"east inf", Edit("    394.00      0.00", "    394.00      -inf"), "Function:   gpcvFreqData::Set()",
       kSat + "NORTH / EAST / UP columns 11-20 >-inf< NOT A FINITE DECIMAL NUMBER!"},
      {"up hexadecimal", Edit("   1501.80", "    0x1p10"), "Function:   gpcvFreqData::Set()",
       kSat + "NORTH / EAST / UP columns 21-30 >0x1p10< NOT A FINITE DECIMAL NUMBER!"},
      {"up letters", Edit("   1501.80", "       abc"), "Function:   gpcvFreqData::Set()",
       kSat + "NORTH / EAST / UP columns 21-30 >abc< NOT A FINITE DECIMAL NUMBER!"},
      {"north blank", Edit("    394.00      0.00", "                0.00"), "Function:   gpcvFreqData::Set()",
       kSat + "NORTH / EAST / UP columns 1-10 >< NOT A FINITE DECIMAL NUMBER!"},
      {"up beyond double", Edit("   1501.80", "    1e9999"), "Function:   gpcvFreqData::Set()",
       kSat + "NORTH / EAST / UP columns 21-30 >1e9999< NOT A FINITE DECIMAL NUMBER!"},
      {"NOAZI nan", Edit("    6.10    4.40", "     nan    4.40"), "Function:   gpcvFreqData::Set()",
       kSat + "grid row >   NOAZI< columns 9-16 >nan< NOT A FINITE DECIMAL NUMBER!"},
      {"NOAZI inf", Edit("    2.80    1.30\n", "    2.80     inf\n"), "Function:   gpcvFreqData::Set()",
       kSat + "grid row >   NOAZI< columns 33-40 >inf< NOT A FINITE DECIMAL NUMBER!"},
      {"NOAZI hexadecimal", Edit("    4.40    2.80", "  0x1p10    2.80"), "Function:   gpcvFreqData::Set()",
       kSat + "grid row >   NOAZI< columns 17-24 >0x1p10< NOT A FINITE DECIMAL NUMBER!"},
      {"NOAZI letters", Edit("    4.40    2.80", "    4.40     abc"), "Function:   gpcvFreqData::Set()",
       kSat + "grid row >   NOAZI< columns 25-32 >abc< NOT A FINITE DECIMAL NUMBER!"},
      {"azimuth row nan", Azimuth("   180.0    6.10     nan    2.80    1.30\n"), "Function:   gpcvFreqData::Set()",
       kSat + "grid row >   180.0< columns 17-24 >nan< NOT A FINITE DECIMAL NUMBER!"},
      {"azimuth row hexadecimal", Azimuth("   180.0    6.10    4.40    2.80  0x1p10\n"),
       "Function:   gpcvFreqData::Set()",
       kSat + "grid row >   180.0< columns 33-40 >0x1p10< NOT A FINITE DECIMAL NUMBER!"},
      {"receiver antenna, letters", receiver, "Function:   gpcvFreqData::Set()",
       "Frequency G01 of antenna >AOAD/M_T        NONE< >12345<: grid row >   NOAZI< columns 9-16 "
       ">abcd< NOT A FINITE DECIMAL NUMBER!"},
      {"VALID FROM month 13", Edit("  2011     7    16", "  2011    13    16"),
       "Function:   ymdhms::SetMonth()", "Input MONTH not valid!"},
      {"VALID FROM hour -1", Edit("    16     0     0 ", "    16    -1     0 "),
       "Function:   ymdhms::SetHour()", "Input HOUR not valid!"},
      {"VALID FROM minute beyond 16 bits", Edit("    16     0     0 ", "    16     0 65545 "),
       "Function:   ymdhms::SetMinute()", "Input MINUTE not valid!"},
  };
  for (const auto& c : cases) {
    CaptureResult r = ReadText(c.text);
    EXPECT_EQ(r.exitCode, 1) << c.what;
    EXPECT_EQ(r.err, ErrorFrame(c.place, c.msg)) << c.what;
  }
  // The untouched text reads, and so does its azimuth grid.
  CaptureResult ok = ReadText(kGood);
  EXPECT_EQ(ok.exitCode, 0) << ok.err;
  EXPECT_EQ(ok.out, "1");
  ok = ReadText(Azimuth("   180.0    6.10    4.40    2.80    1.30\n"));
  EXPECT_EQ(ok.exitCode, 0) << ok.err;
  EXPECT_EQ(ok.out, "1");
}

TEST(AntexBadInputTest, FileNamesThatDoNotFitAreRefused) {
  const std::string name(300, 'a');
  CaptureResult r = RunCaptured([&] { antex().SetFile(name.c_str()); });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, ErrorFrame("Function:   antex::SetFile()",
                              "Input GNSS ANTENNA CALIBRATION (ANTEX) file can not be opened!"));
  r = RunCaptured([&] { toGCRS().SetFile(name.c_str()); });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, ErrorFrame("Function:   toGCRS::SetFile()",
                              "Input ITRS>GCRS matrix file can not be opened!"));
}

TEST(AntexBadInputTest, UnknownFrequencyCodeIsWarnedAndSkipped) {
  std::string text = Edit("   G01                                                      START",
                          "   S02                                                      START");
  const std::string end = "   G01                                                      END";
  text = text.replace(text.find(end), end.size(), "   S02                                                      END");
  std::string name = ::testing::TempDir() + "atx_s02_" + std::to_string(getpid());
  std::ofstream(name) << text;
  CaptureResult r = RunCaptured([&] {
    antex a;
    a.SetFile(name.c_str());
    a.ReadFile();
    rSat g;
    g = "G01";
    mjd t(60000, 0);
    a.SetSatellite(g, t);
    std::cout << a.GetAtxIndex() << " " << a.GetPhCOffset(GNSSc::G1).GetU();
  });
  unlink(name.c_str());
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, WarningFrame("Function:   gpcvData::Set(char*)", "Frequency code >S02< UNDEFINED!"));
  EXPECT_EQ(r.out, "0 0");  // block read, no G01 section
}

TEST(AntexBadInputTest, LineRecordsParseTheirColumns) {
  gpcvTypeSerial ts;
  std::ostringstream none;
  none << ts;  // nothing before Set
  EXPECT_EQ(none.str(), "");
  ts.Set("AOAD/M_T        NONE12345                               TYPE / SERIAL NO");
  EXPECT_EQ(ts.PCVType, 0);
  EXPECT_STREQ(ts.Serial, "12345");
  ts.Set("BLOCK IIF           G01                 G063      2011-036A TYPE / SERIAL NO");
  EXPECT_EQ(ts.PCVType, 1);
  EXPECT_TRUE(ts.satID == "G01");
  std::ostringstream line;
  line << ts;
  EXPECT_EQ(line.str(), "BLOCK IIF           G01                 G063      2011-036A TYPE / SERIAL NO\n");

  gpcvAziZen az;
  az.Set("     5.0                                                    DAZI");
  az.Set("     0.0  90.0   5.0                                        ZEN1 / ZEN2 / DZEN");
  EXPECT_EQ(az.dAzi, 5.0f);
  EXPECT_EQ(az.dZen, 5.0f);
  az.PrintType = 1;
  std::ostringstream summ;
  summ << std::fixed << az;
  EXPECT_EQ(summ.str(), "  d Azimuth:    5.0\n\n  Zenith 1 / Zenith 2 / d Zenith:    0.0  90.0   5.0\n\n");
  std::ostringstream plain;
  plain << az;  // the notation is the caller's: no fixed-point flag left behind
  EXPECT_EQ(plain.flags() & std::ios::floatfield, std::ios::fmtflags(0));

  gpcvValidFromTo v;
  mjd before(44249, 86399.9L), first(44250, 0), last(85000, 0), after(85000, 0.001L);
  EXPECT_FALSE(v.IsValid(before));
  EXPECT_TRUE(v.IsValid(first));
  EXPECT_TRUE(v.IsValid(last));
  EXPECT_FALSE(v.IsValid(after));

  gpcvMethodBy mb;
  mb.Set("                    DLR/GFZ                  0    09-JUN-16 METH / BY / # / DATE");
  EXPECT_STREQ(mb.AgName, "DLR/GFZ             ");
  EXPECT_STREQ(mb.Date, "09-JUN-16 ");
  EXPECT_EQ(mb.nAnts, 0);

  // A frequency section with a DAZI of 0: NOAZI only, offsets in metres.
  std::istringstream sec(
      "      1.50     -0.70    120.30                              NORTH / EAST / UP\n"
      "   NOAZI    1.00    2.00    3.00\n"
      "   G05                                                      END OF FREQUENCY\n");
  gpcvFreqData f;
  f.Set("G05", sec, 3, -1);
  EXPECT_FALSE(f.isAZI);
  EXPECT_NEAR(static_cast<double>(f.dNEU.GetN()), 0.0015, 1e-15);
  EXPECT_NEAR(static_cast<double>(f.dNEU.GetE()), -0.0007, 1e-15);
  EXPECT_NEAR(static_cast<double>(f.dNEU.GetU()), 0.1203, 1e-15);
  EXPECT_NEAR(f.pvZEN(2), 0.003, 1e-15);
}

}  // namespace
