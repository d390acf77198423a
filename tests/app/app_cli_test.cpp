// End-to-end tests of morvi's command line: help text (bytes), the run without
// arguments, the verbose trace, the settings report, the checks that repair or
// refuse parameters, the -wo/-we redirections and over-long tokens.
#include <gtest/gtest.h>
#include <sys/stat.h>  // mkdir, mkfifo
#include <unistd.h>

#include <cstdlib>  // system
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "app/app_support.h"
#include "support/capture.h"

using apptest::Contains;
using apptest::Count;
using apptest::EndsWith;
using apptest::Scratch;
using apptest::kData;
using apptest::kSp3;
using apptest::kNav;

namespace {



// The settings report of standard output, from its sub-title to its end (the
// title block before it carries the date of the run).
std::string Report(const std::string& out) {
  size_t from = out.find("==========\nPROGRAM SETTINGS AND INPUT PARAMETERS:");
  if (from == std::string::npos) return "";
  from = out.rfind('\n', from) + 1;
  size_t to = out.find("  Output file name                 : ", from);
  to = out.find('\n', to);
  return out.substr(from, to + 1 - from);
}

const std::string kRule110(110, '=');

}  // namespace

// The help text is the single-byte Windows-1250 text, byte for byte (line 17
// holds 0xE8); -h prints only it and returns 0; without arguments the program
// waits for a key and returns 1, without title block or timer line.
TEST(AppCli, HelpTextAndRunWithoutArguments) {
  std::string want = ReadWholeFile(kData + "help_cp1250.txt");
  ASSERT_EQ(want.size(), 2688u) << "golden help text changed";

  CaptureResult h = RunMorvi({"-h"});
  EXPECT_EQ(h.exitCode, 0);
  EXPECT_EQ(h.out, want);
  EXPECT_EQ(h.err, "");
  size_t line17 = 0;
  for (int i = 0; i < 16; i++) line17 = h.out.find('\n', line17) + 1;
  EXPECT_EQ(h.out.substr(line17, 6), std::string("s kon\xE8"));

  CaptureResult none = RunMorvi({}, "x\n");
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(none.out, want);
  EXPECT_EQ(none.err, "");

  // Upper-case option letters are the same options.
  CaptureResult upper = RunMorvi({"-H"});
  EXPECT_EQ(upper.exitCode, 0);
  EXPECT_EQ(upper.out, want);
}

// -h with -v: the start line, the parse trace and the closing run-time line
// surround the help text on standard error.
TEST(AppCli, VerboseHelpTrace) {
  CaptureResult r = RunMorvi({"-h", "-v"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, ReadWholeFile(kData + "help_cp1250.txt"));
  const std::string head =
      "\nMorvi ++ ***** GNSS SATELLITE POSITIONING - STARTING APPLICATION *****\n"
      "Morvi -- ParseArguments() - PARSING INPUT PARAMETERS \n"
      "Morvi :: ParseArguments() : Print HELP to stdout:   Y\n"
      "Morvi :: ParseArguments() : VERBOSE mode:   Y\n"
      "Morvi -- ParseArguments() - ++- \n"
      "Morvi ++  ***** SUCCESFULLY ENDING PROGRAM [  0h   0m ";
  EXPECT_EQ(r.err.substr(0, head.size()), head) << r.err;
  EXPECT_TRUE(EndsWith(r.err, "s] *****\n\n")) << r.err;

  // A token without "-" is no option: it sets no verbose mode, only its warning.
  CaptureResult xv = RunMorvi({"xv", "-h"});
  EXPECT_EQ(xv.exitCode, 0);
  EXPECT_EQ(xv.err, WarningFrame("Morvi", "Input command line parameter unknown: >xv<!"));
}

// Stray tokens (a file name whose option was lost, a word) never redirect a
// stream: files named by their second and third letters keep every byte.
TEST(AppCli, StrayTokensNeverRedirect) {
  Scratch tmp;
  for (const char* name : {"_days.sp3", "ll.txt", "two_days.sp3", "swell.txt"})
    std::ofstream(tmp(name)) << "kept " << name << "\n";
  CaptureResult r = RunMorvi({"two_days.sp3", "swell.txt", "xwe", "-h"}, "", tmp.dir);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, ReadWholeFile(kData + "help_cp1250.txt"));
  EXPECT_EQ(r.err, WarningFrame("Morvi", "Input command line parameter unknown: >two_days.sp3<!") +
                       WarningFrame("Morvi", "Input command line parameter unknown: >swell.txt<!") +
                       WarningFrame("Morvi", "Input command line parameter unknown: >xwe<!"));
  for (const char* name : {"_days.sp3", "ll.txt", "two_days.sp3", "swell.txt"})
    EXPECT_EQ(ReadWholeFile(tmp(name)), std::string("kept ") + name + "\n") << name;
  EXPECT_FALSE(std::ifstream(tmp("e")).good());
}

// Option letters that name no option are told and passed over; -wo and -we
// belong to the first pass and are not told again.
TEST(AppCli, UnknownOptionsAreTold) {
  CaptureResult r = RunMorvi({"-q5", "-int300", "-gx", "-Sx", "-nx5", "-", "-wx", "-wo/dev/null", "-h"});
  EXPECT_EQ(r.exitCode, 0);
  std::string want;
  for (const char* t : {"-q5", "-int300", "-gx", "-Sx", "-nx5", "-", "-wx"})
    want += WarningFrame("Morvi", std::string("Input command line parameter unknown: >") + t + "<!");
  EXPECT_EQ(r.err, want);
  EXPECT_EQ(r.out, "");
}

// Missing ephemeris, results file or system, and every input file that cannot
// serve the run: the fatal frame, exit code 1, nothing on standard output (the
// report comes after the checks), and a results file of an earlier run keeps
// every byte.
TEST(AppCli, UnusableInputsAreRefusedBeforeAnyOutput) {
  Scratch tmp;
  const std::string res = tmp("res.txt"), earlier = "rows of an earlier run\n";
  ASSERT_EQ(mkdir(tmp("dir.sp3").c_str(), 0755), 0);
  ASSERT_EQ(mkfifo(tmp("fifo.sp3").c_str(), 0644), 0);
  std::ofstream(tmp("empty.sp3")).close();
  const std::string longName = tmp(std::string(250, 'n') + ".sp3");
  // The SP3 file with every epoch 0.05 s later: its span is not on the printed tenths.
  std::string at05 = ReadWholeFile(kSp3);
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"  0.00000000\n", "  0.05000000\n"}, {"0  0.00000000 ", "0  0.05000000 "},
           {"518400.00000000   300.00000000 60133 0.0000000000000", "518400.05000000   300.00000000 60133 0.0000005787037"}})
    for (size_t p = at05.find(from); p != std::string::npos; p = at05.find(from, p)) at05.replace(p, from.size(), to);
  std::ofstream(tmp("at05.sp3")) << at05;
  std::ofstream(tmp("hdr.rnx")) << ReadWholeFile(kNav).substr(0, 810);  // its 10 header lines alone
  // the SP3 file without its position lines, and without those of GPS
  std::ofstream(tmp("noP.sp3")) << std::regex_replace(ReadWholeFile(kSp3), std::regex("\nP[^\n]*"), "");
  std::ofstream(tmp("noPG.sp3")) << std::regex_replace(ReadWholeFile(kSp3), std::regex("\nPG[^\n]*"), "");
  // A refusal after the files are read (afterReport) follows the settings
  // report and the notes of the settings taken from the file.
  struct Case {
    std::vector<std::string> args;
    std::string message;
    std::string where = "Morvi";
    bool afterReport = false;
  };
  const std::string sp3 = "-sp" + kSp3, nav = "-sb" + kNav, noValue = " - NO POSITIONS TO CALCULATE!";
  const std::string multiple = "NOT A MULTIPLE OF 0.1 s, THE RESOLUTION OF THE EPOCHS!",
                    tenths = "< NOT VALID - SECONDS " + multiple, after = "< - NO EPOCH TO CALCULATE!";
  const std::string outsideSp3 = "< WITHIN ONE INTERVAL OF THE EPOCHS >2023-07-08 00:00:00.0< TO >2023-07-08 "
                                 "07:00:00.0< OF PRECISE EPHEMERIS FILE >" + kSp3 + "<" + noValue,
                    beyondGlonass = "< WITHIN 3 DAYS OF A GLONASS RECORD OF THE SATELLITES IN BROADCAST EPHEMERIS "
                                    "FILE >" + kNav + "<" + noValue;
  const std::vector<Case> cases = {
      {{"-gsG"}, "NO EPHEMERIS FILE SET [PRECISE OR BROADCAST]!"},
      {{"-gsG", "-spTYPO.SP3"}, "GNSS PRECISE EPHEMERIS FILE >TYPO.SP3< CAN NOT BE OPENED!"},
      {{"-gsG", "-sp3file.sp3"}, "GNSS PRECISE EPHEMERIS FILE >3file.sp3< CAN NOT BE OPENED!"},
      {{"-gsG", "-sbTYPO.rnx"}, "GNSS BROADCAST EPHEMERIS FILE >TYPO.rnx< CAN NOT BE OPENED!"},
      {{"-gsG", "-sp"}, "GNSS PRECISE EPHEMERIS FILE NAME EMPTY!"},
      {{"-gsG", "-sb", "-sp" + kSp3}, "GNSS BROADCAST EPHEMERIS FILE NAME EMPTY!"},
      {{"-gsG", "-sp" + tmp("dir.sp3")}, "GNSS PRECISE EPHEMERIS FILE >" + tmp("dir.sp3") + "< NOT VALID - NOT A REGULAR FILE!"},
      {{"-gsG", "-sp" + tmp("fifo.sp3")}, "GNSS PRECISE EPHEMERIS FILE >" + tmp("fifo.sp3") + "< NOT VALID - NOT A REGULAR FILE!"},
      {{"-gsG", "-sp/dev/null"}, "GNSS PRECISE EPHEMERIS FILE >/dev/null< NOT VALID - NOT A REGULAR FILE!"},
      {{"-gsG", "-sp" + tmp("empty.sp3")}, "GNSS PRECISE EPHEMERIS FILE >" + tmp("empty.sp3") + "< NOT VALID - EMPTY FILE!"},
      {{"-gsG", "-sp" + longName},
       "GNSS PRECISE EPHEMERIS FILE NAME TOO LONG (" + std::to_string(longName.size()) + " > 255 characters) - NOT VALID!"},
      {{"-gsG", "-sp" + kSp3, "-a"}, "ANTEX FILE NAME EMPTY!"},
      {{"-gsG", "-sb" + kNav, "-aTYPO.atx"}, "ANTEX FILE >TYPO.atx< CAN NOT BE OPENED!"},
      {{"-gsG", "-sb" + kNav, "-a" + tmp("dir.sp3")}, "ANTEX FILE >" + tmp("dir.sp3") + "< NOT VALID - NOT A REGULAR FILE!"},
      {{"-gsG", "-sp" + kSp3, "-t"}, "ITRS>GCRS FILE NAME EMPTY!"},
      {{"-gsG", "-sp" + kSp3, "-tTYPO.txt"}, "ITRS>GCRS FILE >TYPO.txt< CAN NOT BE OPENED!"},
      {{"-gsG", "-sp" + kSp3, "-t" + tmp("empty.sp3")}, "ITRS>GCRS FILE >" + tmp("empty.sp3") + "< NOT VALID - EMPTY FILE!"},
      {{"-sp" + kSp3}, "NO GNSS SYSTEM SET [G|R|E|C|S|J|I]!"},
      {{"-gs", "-sp" + kSp3}, "NO GNSS SYSTEM SET [G|R|E|C|S|J|I]!"},
      {{"-gsG", sp3, "-ei0.15"}, "Observation interval >-ei0.15< NOT VALID - " + multiple},
      {{"-gsG", sp3, "-ei100000000.05"}, "Observation interval >-ei100000000.05< NOT VALID - " + multiple},
      {{"-gsG", sp3, "-ei0.10000001"}, "Observation interval >-ei0.10000001< NOT VALID - " + multiple},
      // misspelled values: each option's own frame
      {{"-gsGPS", sp3}, "Input GNSS SYSTEM >P< of >-gsGPS< NOT VALID - from list [G|R|E|C|S|J|I]!",
       "Function:   pGSys::Parse(...)"},
      {{"-gsG", sp3, "-pG05,"}, "Entry >< of LIST OF SATELLITES NOT VALID - form as >G01,G02,J12,R03<!",
       "Function:   pSats::Parse(...)"},
      {{"-gsG", sp3, "-es2023-7-08,04:30:00"},
       "Input DATE >-es2023-7-08,04:30:00< NOT VALID - form as >2017-02-19,01:13:56.0<!", "Function:   pDate::Parse(...)"},
      {{"-gsG", sp3, "-ei1,5"}, "Value of command line parameter >-ei1,5< NOT VALID - A DECIMAL NUMBER ONLY!",
       "Function:   pFloat::Parse(...)"},
      {{"-gsG", sp3, "-ni30s"}, "Value of command line parameter >-ni30s< NOT VALID - A DECIMAL NUMBER ONLY!",
       "Function:   pFloat::Parse(...)"},
      {{"-gsG", sp3, "-nc4,"}, "Value of command line parameter >-nc4,< NOT VALID - A WHOLE NUMBER ONLY!",
       "Function:   pInteger::Parse(...)"},
      // epochs finer than the printed tenth
      {{"-gsG", sp3, "-es2023-07-08,04:00:00.05"}, "Input DATE >-es2023-07-08,04:00:00.05" + tenths,
       "Function:   pDate::Parse(...)"},
      {{"-gsG", "-sp" + tmp("at05.sp3")},
       "FIRST epoch >2023-07-08 00:00:00.05< OF EPHEMERIS FILE >" + tmp("at05.sp3") + tenths, "Morvi", true},
      // runs that could write no value
      {{"-gsG", sp3, "-pE08"}, "LIST OF SATELLITES HOLDS NO SATELLITE OF THE SELECTED GNSS SYSTEMS >G<" + noValue},
      {{"-gsG", sp3, "-es2023-07-08,05:00:00", "-ee2023-07-08,04:00:00"},
       "FIRST epoch >2023-07-08 05:00:00.0< AFTER LAST epoch >2023-07-08 04:00:00.0" + after, "Morvi", true},
      {{"-gsG", sp3, "-es2023-07-08,07:00:00.1"},
       "FIRST epoch >2023-07-08 07:00:00.1< AFTER LAST epoch >2023-07-08 07:00:00.0" + after, "Morvi", true},
      {{"-gsG", nav, "-ee2023-07-07,23:59:59.9"},
       "FIRST epoch >2023-07-08 00:00:00.0< AFTER LAST epoch >2023-07-07 23:59:59.9" + after, "Morvi", true},
      {{"-gsG", sp3, "-pG10,G15"}, "NO SATELLITE OF LIST OF SATELLITES IN EPHEMERIS FILE >" + kSp3 + "<" + noValue,
       "Morvi", true},
      {{"-gsSI", sp3}, "EPHEMERIS FILE >" + kSp3 + "< HOLDS NO SATELLITE OF THE SELECTED GNSS SYSTEMS >SI<" + noValue,
       "Morvi", true},
      {{"-gsG", "-sb" + tmp("hdr.rnx")}, "EPHEMERIS FILE >" + tmp("hdr.rnx") + "< HOLDS NO SATELLITE DATA" + noValue, "Morvi", true},
      {{"-gsGRE", "-sp" + tmp("noP.sp3")}, "NO EPOCH FROM >2023-07-08 00:00:00.0< TO >2023-07-08 07:00:00.0< HAS A "
       "POSITION OF THE SELECTED SATELLITES IN PRECISE EPHEMERIS FILE >" + tmp("noP.sp3") + "<" + noValue, "Morvi", true},
      {{"-gsG", "-sp" + tmp("noPG.sp3"), "-ee2023-07-08,01:00:00"}, "NO EPOCH FROM >2023-07-08 00:00:00.0< TO >2023-07-08 "
       "01:00:00.0< HAS A POSITION OF THE SELECTED SATELLITES IN PRECISE EPHEMERIS FILE >" + tmp("noPG.sp3") + "<" + noValue,
       "Morvi", true},
      {{"-gsGR", sp3, "-es2023-07-10,00:00:00", "-ee2023-07-10,06:00:00"},
       "NO EPOCH FROM >2023-07-10 00:00:00.0< TO >2023-07-10 06:00:00.0" + outsideSp3, "Morvi", true},
      {{"-gsGR", sp3, "-es2023-07-07,23:54:59.9", "-ee2023-07-08,07:05:00.1", "-ei36000"},
       "NO EPOCH FROM >2023-07-07 23:54:59.9< TO >2023-07-07 23:54:59.9" + outsideSp3, "Morvi", true},
      {{"-gsRE", nav, "-pR07", "-es2023-07-12,04:00:00", "-ee2023-07-13,00:00:00"},
       "NO EPOCH FROM >2023-07-12 04:00:00.0< TO >2023-07-13 00:00:00.0" + beyondGlonass, "Morvi", true},
      // from 2 s beyond 3 days after R07's last record (04:45:18 GPS time)
      {{"-gsR", nav, "-pR07", "-es2023-07-11,04:45:20", "-ee2023-07-11,05:00:00"},
       "NO EPOCH FROM >2023-07-11 04:45:20.0< TO >2023-07-11 04:55:20.0" + beyondGlonass, "Morvi", true},
      // the results file on an input named before another of its option
      {{"-gsG", "-sb" + tmp("res.txt"), nav}, "Output file name >" + tmp("res.txt") +
       "< IS THE SAME FILE AS INPUT FILE >" + tmp("res.txt") + "< - NOT OVERWRITING IT!", "Morvi", true}};
  for (const Case& c : cases) {
    std::ofstream(res) << earlier;
    std::vector<std::string> args = c.args;
    args.push_back("-r" + res);
    CaptureResult r = RunMorvi(args);
    EXPECT_EQ(r.exitCode, 1) << c.message;
    if (c.afterReport) {
      EXPECT_FALSE(Contains(r.out, "CALCULATING POSITIONS")) << c.message;
      EXPECT_TRUE(EndsWith(r.err, ErrorFrame(c.where, c.message))) << r.err;
    } else {
      EXPECT_EQ(r.out, "") << c.message;
      EXPECT_EQ(r.err, ErrorFrame(c.where, c.message));
    }
    EXPECT_EQ(ReadWholeFile(res), earlier) << c.message;
  }

  CaptureResult noRes = RunMorvi({"-gsG", "-sp" + kSp3});
  EXPECT_EQ(noRes.exitCode, 1);
  EXPECT_EQ(noRes.out, "");
  EXPECT_EQ(noRes.err, ErrorFrame("Morvi", "NO OUTPUT FILE SET - FILE WITH RESULTS!"));

  CaptureResult emptyRes = RunMorvi({"-gsG", "-sp" + kSp3, "-r"});
  EXPECT_EQ(emptyRes.exitCode, 1);
  EXPECT_EQ(emptyRes.err, ErrorFrame("Morvi", "Output file name set AS EMPTY STRING - UNSETTING PARAMETER!"));

  // A process substitution is a pipe: refused at once, not read twice.
  CaptureResult sub = RunCaptured([&] {
    std::string cmd = "exec bash -c '" + std::string(MORVI_EXE) + " -gsG -sp<(cat " + kSp3 + ") -r" + res + "'";
    std::ofstream(res) << earlier;
    exit(std::system(cmd.c_str()) == 256 ? 1 : 0);
  });
  EXPECT_EQ(sub.exitCode, 1);
  EXPECT_TRUE(Contains(sub.err, "< NOT VALID - NOT A REGULAR FILE! ****\n")) << sub.err;
  EXPECT_EQ(ReadWholeFile(res), earlier);
}

// The settings report for a command line with odd, negative and zero numbers,
// an unknown token, an unknown epoch option, upper-case option letters, system
// letters in two tokens and an option given three times.
TEST(AppCli, SettingsReportAndRepairs) {
  Scratch tmp;
  std::string res = tmp("res.txt");
  CaptureResult r = RunMorvi({"-GSg", "-gse", "-SP" + kSp3, "-r" + tmp("other.txt"), "-R" + res, "-np7", "-nc-4",
                              "-ei600", "-ei60.5", "-ei0", "-ni0", "-ex60", "stray", "-pG05", "-pG01,G02,E10", "-es2023-07-08,01:13:56.0",
                              "-o"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string want =
      kRule110 + "\nPROGRAM SETTINGS AND INPUT PARAMETERS:\n" + kRule110 +
      "\n\n\n"
      "INPUT FILES:\n============\n\n"
      "  GNSS systems for sat. positions   : ge - GPS GALILEO \n"
      "  GNSS precise ephemeris file [SP3] : " + kSp3 + "\n"
      "  GNSS broadcast ephem. file [RINEX]:  ---\n"
      "  ANTEX calibration data file       :  ---\n"
      "  ITRS>GCRS transformation data file:  ---\n\n"
      "SATELLITE SYSTEM PARAMETERS:\n============================\n\n"
      "  List of GNSS satellites           :   3 > G01 G02 E10\n\n"
      "OBSERVATION EPOCH PARAMETERS:\n=============================\n\n"
      "  First epoch of calculated results :  2023-07-08 01:13:56.0\n"
      "  Last epoch of calculated results  :  ---\n"
      "  Interval of calculated positions  : 300.0 s [default!]\n\n"
      "SATELLITE POSITION CALCULATION PARAMETERS:\n==========================================\n\n"
      "  Numerical integration step       : 30.0 s [default!]\n"
      "  Number of Lagrange points - pos. : 14  [default!]\n"
      "  Number of Lagrange points - clk. : 4  [default!]\n"
      "  Remove Earth rotation from coords:  YES\n\n"
      "RESULTED FILES:\n===============\n\n"
      "  Output file name                 : " + res + "\n";
  EXPECT_EQ(Report(r.out), want);
  // The zero interval is replaced: 01:13:56 to the file's last epoch 07:00 in 300 s steps.
  EXPECT_TRUE(Contains(r.out, "  Satellite: G01 ->         70 ITRS positions/velocities        70 EARTH FIXED positions/velocities\n"));
  EXPECT_TRUE(Contains(r.out, "  Satellite: E10 NOT IN EPHEMERIS FILE!\n"));

  // Warnings in the order of parsing, then of the checks; an option given
  // again names the value not used, and its file is not written.
  EXPECT_FALSE(std::ifstream(tmp("other.txt")).good());
  const std::vector<std::string> warnings = {
      "Command line parameter >-r< GIVEN AGAIN - VALUE >" + tmp("other.txt") + "< NOT USED!",
      "Command line parameter >-ei< GIVEN AGAIN - VALUE >600< NOT USED!",
      "Command line parameter >-ei< GIVEN AGAIN - VALUE >60.5< NOT USED!",
      "EPOCH command line parameter unknown: >-ex60<!",
      "Input command line parameter unknown: >stray<!",
      "Command line parameter >-p< GIVEN AGAIN - VALUE >G05< NOT USED!",
      "NUMERICAL INTEGRATION STEP SET ZERO - USING DEFAULT 30!",
      "NUMBER OF POINTS FOR LAGRANGE INTERPOLATION (POSITION) SET ODD NUMBER - USING DEFAULT (EVEN) 14!",
      "NUMBER OF POINTS FOR LAGRANGE INTERPOLATION (CLOCK ERROR) SET NEGATIVE - USING DEFAULT 4!",
      "Observation interval MUST NOT BE ZERO - UNSETTING PARAMETER!"};
  size_t at = 0;
  for (const std::string& w : warnings) {
    size_t p = r.err.find(WarningFrame("Morvi", w), at);
    EXPECT_NE(p, std::string::npos) << "missing or out of order: " << w << "\n" << r.err;
    if (p != std::string::npos) at = p;
  }
}

// Negative interval and step, -np-4, -nc2 (accepted as given), both ephemeris
// files (the broadcast one is dropped); -nc0, -np400 and a step below 1 ms fall
// back to their defaults, in a broadcast run too (where they play no part) and
// before any output.
TEST(AppCli, NegativeNumbersBothEphemeridesAndCountsReplaced) {
  Scratch tmp;
  CaptureResult r = RunMorvi({"-gsG", "-sp" + kSp3, "-sb" + kNav, "-r" + tmp("res.txt"), "-ei-60", "-ni-5",
                              "-np-4", "-nc2"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Count(r.err, "\n#### "), 4u) << r.err;
  for (const char* w : {"BOTH GNSS EPHEMERIS FILES SET [PRECISE AND BROADCAST] - NOT USING BROADCAST EPHEMERIS!",
                        "NUMERICAL INTEGRATION STEP SET NEGATIVE - USING DEFAULT 30!",
                        "NUMBER OF POINTS FOR LAGRANGE INTERPOLATION (POSITION) SET NEGATIVE - USING DEFAULT 14!",
                        "Observation interval MUST NOT BE NEGATIVE - UNSETTING PARAMETER!"})
    EXPECT_TRUE(Contains(r.err, WarningFrame("Morvi", w))) << w;
  std::string rep = Report(r.out);
  EXPECT_TRUE(Contains(rep, "  GNSS broadcast ephem. file [RINEX]:  ---\n"));
  EXPECT_TRUE(Contains(rep, "  Interval of calculated positions  : 300.0 s [default!]\n"));
  EXPECT_TRUE(Contains(rep, "  Numerical integration step       : 30.0 s [default!]\n"));
  EXPECT_TRUE(Contains(rep, "  Number of Lagrange points - pos. : 14  [default!]\n"));
  EXPECT_TRUE(Contains(rep, "  Number of Lagrange points - clk. : 2 \n"));

  for (const std::string& eph : {"-sp" + kSp3, "-sb" + kNav}) {
    CaptureResult z = RunMorvi({"-gsG", eph, "-pG05", "-r" + tmp("res0.txt"), "-nc0", "-np400", "-ni0.0009",
                                "-es2023-07-08,04:00:00.0", "-ee2023-07-08,04:10:00.0"});
    EXPECT_EQ(z.exitCode, 0) << z.err;
    EXPECT_EQ(z.err, WarningFrame("Morvi", "NUMERICAL INTEGRATION STEP SET BELOW 0.001 s - USING DEFAULT 30!") +
                         WarningFrame("Morvi", "NUMBER OF POINTS FOR LAGRANGE INTERPOLATION (POSITION) SET ABOVE 14 - "
                                               "USING DEFAULT 14!") +
                         WarningFrame("Morvi", "NUMBER OF POINTS FOR LAGRANGE INTERPOLATION (CLOCK ERROR) SET ZERO - "
                                               "USING DEFAULT 4!"));
    EXPECT_TRUE(Contains(Report(z.out), "  Number of Lagrange points - clk. : 4  [default!]\n"));
    EXPECT_TRUE(Contains(z.out, "  Satellite: G05 ->          3 ITRS positions/velocities\n")) << eph;
  }

  // A count the file cannot serve (4 points, 3 epochs) ends an SP3 run before the
  // results file is opened.
  std::ofstream(tmp("res3.txt")) << "earlier\n";
  CaptureResult few = RunMorvi({"-gsG", "-sp" + std::string(MORVI_TEST_DATA) + "/sp3/gnsstk_test_input_SP3c_3ep.sp3",
                                "-np4", "-r" + tmp("res3.txt")});
  EXPECT_EQ(few.exitCode, 1);
  EXPECT_TRUE(EndsWith(few.err, ErrorFrame("Function:   sp3::SetInterpolation(long,long)",
                                           "Number of EPOCHS >3< in ORBIT SP3 file smaller than NUMBER OF POINTS >4< "
                                           "of Lagrangian polynomial!")))
      << few.err;
  EXPECT_EQ(ReadWholeFile(tmp("res3.txt")), "earlier\n");

  // A given value is shown without the default mark.
  CaptureResult g = RunMorvi({"-gsG", "-sp" + kSp3, "-r" + tmp("res2.txt"), "-ei60", "-np10", "-ni10"});
  ASSERT_EQ(g.exitCode, 0) << g.err;
  std::string rep2 = Report(g.out);
  EXPECT_TRUE(Contains(rep2, "  Interval of calculated positions  : 60.0 s\n"));
  EXPECT_TRUE(Contains(rep2, "  Numerical integration step       : 10.0 s\n"));
  EXPECT_TRUE(Contains(rep2, "  Number of Lagrange points - pos. : 10 \n"));
}

// Verbose parse and check trace of one command line, line by line.
TEST(AppCli, VerboseParseAndCheckTrace) {
  Scratch tmp;
  std::string res = tmp("res.txt");
  CaptureResult r = RunMorvi({"-v", "-gsGr", "-sp" + kSp3, "-r" + res, "-ei60", "-np10", "-ni30",
                              "-es2023-07-08,00:00:00.0", "-pG01,R07"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string want =
      "\nMorvi ++ ***** GNSS SATELLITE POSITIONING - STARTING APPLICATION *****\n"
      "Morvi -- ParseArguments() - PARSING INPUT PARAMETERS \n"
      "Morvi :: ParseArguments() : VERBOSE mode:   Y\n"
      "Morvi :: ParseArguments() : GNSS systems to use:  GPS GLONASS \n"
      "Morvi :: ParseArguments() : Precise ephemeris [SP3] file name:  " + kSp3 + "\n"
      "Morvi :: ParseArguments() : Output file name with results:  " + res + "\n"
      "Morvi :: ParseArguments() : Time INTERVAL [s]:  60.00\n"
      "Morvi :: ParseArguments() : Number of points for Lagrange interpolation (position):  10\n"
      "Morvi :: ParseArguments() : Numerical integration step (GLONASS b.c.):  30.0\n"
      "Morvi :: ParseArguments() : FIRST epoch:   2023-07-08 00:00:00.0\n"
      "Morvi :: ParseArguments() : List of satellites:    2 > G01 R07\n"
      "Morvi -- ParseArguments() - ++- \n"
      "Morvi -- CheckArguments() - CHECKING INPUT PARAMETERS \n"
      "Morvi :: CheckArguments() : GNSS ephemeris file \n"
      "Morvi :: CheckArguments() : GNSS broadcast ephemeris file \n"
      "Morvi :: CheckArguments() : GNSS precise ephemeris file \n"
      "Morvi :: CheckArguments() : GNSS precise AND broadcast ephemeris file \n"
      "Morvi :: CheckArguments() : Output file name with results \n"
      "Morvi :: CheckArguments() : Observation INTERVAL \n"
      "Morvi -- CheckArguments() - ++- \n"
      "Morvi -- PrintArguments() - PRINTING INPUT PARAMETERS TO STDOUT \n"
      "Morvi -- PrintArguments() - ++- \n";
  EXPECT_EQ(r.err.substr(0, want.size()), want);
}

// -wo/-we: everything after the first pass goes to the files; equal names give
// the .CERR file; a file that cannot be opened keeps its stream on the terminal.
TEST(AppCli, Redirections) {
  Scratch tmp;
  std::string out = tmp("out.txt"), err = tmp("err.txt");
  CaptureResult r = RunMorvi({"-wo" + out, "-we" + err, "-v", "-gsG", "-r" + tmp("res.txt")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  std::string e = ReadWholeFile(err);
  EXPECT_EQ(e.substr(0, 72), "\nMorvi ++ ***** GNSS SATELLITE POSITIONING - STARTING APPLICATION *****\n");
  EXPECT_TRUE(EndsWith(e, ErrorFrame("Morvi", "NO EPHEMERIS FILE SET [PRECISE OR BROADCAST]!"))) << e;
  EXPECT_EQ(ReadWholeFile(out), "");

  // -wo given again: the earlier file is not used, and not made; nor when the
  // later name is refused (standard output stays on the terminal).
  CaptureResult twice = RunMorvi({"-wo" + out, "-WO" + tmp("out2.txt"), "-h"});
  EXPECT_EQ(twice.err, WarningFrame("Morvi", "Command line parameter >-wo< GIVEN AGAIN - VALUE >" + out + "< NOT USED!"));
  EXPECT_EQ(ReadWholeFile(tmp("out2.txt")), ReadWholeFile(kData + "help_cp1250.txt"));
  EXPECT_EQ(ReadWholeFile(out), "");
  CaptureResult refused = RunMorvi({"-wo" + tmp("out3.txt"), "-wo/" + std::string(2100, 'a'), "-h"});
  EXPECT_EQ(refused.out, ReadWholeFile(kData + "help_cp1250.txt"));
  EXPECT_FALSE(std::ifstream(tmp("out3.txt")).good());

  std::string same = tmp("file.txt");
  CaptureResult s = RunMorvi({"-wo" + same, "-WE" + same, "-h"});
  EXPECT_EQ(s.exitCode, 0);
  EXPECT_EQ(s.out, "");
  EXPECT_EQ(s.err, WarningFrame("Morvi", "COUT AND CERR REDIRECTION FILE SET EQUALLY: APPENDING .CERR TO CERR FILENAME!"));
  EXPECT_EQ(ReadWholeFile(same), ReadWholeFile(kData + "help_cp1250.txt"));
  EXPECT_EQ(ReadWholeFile(same + ".CERR"), "");

  CaptureResult empty = RunMorvi({"-wo", "-we", "-h"});
  EXPECT_EQ(empty.exitCode, 0);
  EXPECT_EQ(empty.err, WarningFrame("Morvi", "CERR REDIRECTION FILE SET WITHOUT FILENAME: CERR GOES TO TERMINAL!") +
                           WarningFrame("Morvi", "COUT REDIRECTION FILE SET WITHOUT FILENAME: COUT GOES TO TERMINAL!"));
  EXPECT_EQ(empty.out, ReadWholeFile(kData + "help_cp1250.txt"));

  // A redirection file that cannot be opened: a warning naming it, the stream
  // stays on the terminal.
  std::string bad = tmp("no/such/dir/out.txt");
  CaptureResult b = RunMorvi({"-wo" + bad, "-we" + bad + "e", "-h"});
  EXPECT_EQ(b.exitCode, 0);
  EXPECT_EQ(b.err, WarningFrame("Morvi", "CERR REDIRECTION FILE >" + bad + "e< CAN NOT BE OPENED: CERR GOES TO TERMINAL!") +
                       WarningFrame("Morvi", "COUT REDIRECTION FILE >" + bad + "< CAN NOT BE OPENED: COUT GOES TO TERMINAL!"));
  EXPECT_EQ(b.out, ReadWholeFile(kData + "help_cp1250.txt"));

  // Standard error redirected, standard output not: its warning still reaches the terminal.
  CaptureResult half = RunMorvi({"-wo" + bad, "-we" + err, "-h"});
  EXPECT_EQ(half.err, WarningFrame("Morvi", "COUT REDIRECTION FILE >" + bad + "< CAN NOT BE OPENED: COUT GOES TO TERMINAL!"));
  EXPECT_EQ(ReadWholeFile(err), "");
}

// A redirection or results file that is the same file as an input file, by any
// spelling (through "..", a symbolic or a hard link): the redirection is refused
// with a warning and its stream stays on the terminal, the results file ends the
// run; no input changes by a byte. A redirection onto the results file is
// refused the same way, and the results stay whole.
TEST(AppCli, OutputsThatAreInputsAreRefused) {
  Scratch tmp;
  ASSERT_EQ(std::system(("mkdir '" + tmp("sub") + "'").c_str()), 0);
  const std::string nav = ReadWholeFile(kNav), sp3 = ReadWholeFile(kSp3), atx = ReadWholeFile(apptest::kAtx),
                    gcrs = ReadWholeFile(apptest::kGcrs);
  ASSERT_FALSE(nav.empty() || sp3.empty() || atx.empty() || gcrs.empty());
  auto put = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(tmp(name), std::ios::binary) << bytes;
  };
  put("copy.nav", nav);
  put("copy.sp3", sp3);
  put("copy.atx", atx);
  put("copy.gcrs", gcrs);
  ASSERT_EQ(symlink(tmp("copy.atx").c_str(), tmp("sub/atx.link").c_str()), 0);
  ASSERT_EQ(link(tmp("copy.sp3").c_str(), tmp("sub/sp3.hard").c_str()), 0);
  auto unchanged = [&]() {
    return ReadWholeFile(tmp("copy.nav")) == nav && ReadWholeFile(tmp("copy.sp3")) == sp3 &&
           ReadWholeFile(tmp("copy.atx")) == atx && ReadWholeFile(tmp("copy.gcrs")) == gcrs;
  };
  const std::vector<std::string> span = {"-es2023-07-08,04:00:00.0", "-ee2023-07-08,05:00:00.0"};
  auto run = [&](std::vector<std::string> args) {
    args.insert(args.end(), span.begin(), span.end());
    return RunMorvi(args, "", tmp.dir);
  };

  // -wo on the navigation file, -we on the rotation file through "..": the run
  // reads both files whole and computes.
  CaptureResult wo = run({"-wocopy.nav", "-we./sub/../copy.gcrs", "-gsG", "-sbcopy.nav", "-tcopy.gcrs", "-pG05",
                          "-rres.txt"});
  EXPECT_EQ(wo.exitCode, 0) << wo.err;
  std::string frames = WarningFrame("Morvi", "CERR REDIRECTION FILE >./sub/../copy.gcrs< IS THE SAME FILE AS INPUT "
                                              "FILE >copy.gcrs<: CERR GOES TO TERMINAL!") +
                       WarningFrame("Morvi", "COUT REDIRECTION FILE >copy.nav< IS THE SAME FILE AS INPUT FILE "
                                              ">copy.nav<: COUT GOES TO TERMINAL!");
  EXPECT_EQ(wo.err.substr(0, frames.size()), frames);
  EXPECT_TRUE(Contains(wo.out, "  Satellite: G05 ->         13 ITRS positions/velocities        13 GCRS "
                               "positions/velocities [     0 problematic!]\n"));
  EXPECT_TRUE(unchanged());

  // -wo through a symbolic link to the ANTEX file, -we on the SP3 file by its
  // absolute name.
  CaptureResult links = run({"-wosub/atx.link", "-we" + tmp("copy.sp3"), "-gsG", "-spcopy.sp3", "-acopy.atx",
                             "-pG05", "-rres.txt"});
  EXPECT_EQ(links.exitCode, 0) << links.err;
  EXPECT_TRUE(Contains(links.err, "CERR REDIRECTION FILE >" + tmp("copy.sp3") +
                                      "< IS THE SAME FILE AS INPUT FILE >copy.sp3<: CERR GOES TO TERMINAL!"));
  EXPECT_TRUE(Contains(links.err, "COUT REDIRECTION FILE >sub/atx.link< IS THE SAME FILE AS INPUT FILE "
                                  ">copy.atx<: COUT GOES TO TERMINAL!"));
  EXPECT_TRUE(Contains(links.out, "PROGRAM SETTINGS AND INPUT PARAMETERS:"));
  EXPECT_TRUE(unchanged());

  // The results file on an input: the fatal frame before the report, for each
  // input option and each spelling, the broadcast file that a precise one
  // replaces included.
  struct Case {
    std::vector<std::string> args;
    std::string res, input, warnings = "";
  };
  const std::string sbAgain = WarningFrame("Morvi", "Command line parameter >-sb< GIVEN AGAIN - VALUE >copy.nav< NOT USED!");
  const std::vector<Case> fatal = {
      {{"-sbcopy.nav"}, "sub/../copy.nav", "copy.nav"},
      {{"-sbcopy.nav", "-sb" + kNav}, "copy.nav", "copy.nav", sbAgain},
      {{"-spcopy.sp3"}, "sub/sp3.hard", "copy.sp3"},
      {{"-spcopy.sp3", "-asub/atx.link"}, tmp("copy.atx"), "sub/atx.link"},
      {{"-spcopy.sp3", "-tcopy.gcrs"}, "./copy.gcrs", "copy.gcrs"},
      {{"-spcopy.sp3", "-sbcopy.nav"}, "copy.nav", "copy.nav"},
  };
  for (const Case& c : fatal) {
    std::vector<std::string> args = c.args;
    args.push_back("-gsG");
    args.push_back("-r" + c.res);
    CaptureResult r = run(args);
    EXPECT_EQ(r.exitCode, 1) << c.res;
    EXPECT_EQ(r.out, "") << c.res;
    EXPECT_EQ(r.err, c.warnings + ErrorFrame("Morvi", "Output file name >" + c.res + "< IS THE SAME FILE AS INPUT FILE >" +
                                                          c.input + "< - NOT OVERWRITING IT!"));
    EXPECT_TRUE(unchanged()) << c.res;
  }

  // -wo on an input file that a later -a replaces: the stream stays on the terminal.
  CaptureResult earlier = run({"-wocopy.atx", "-acopy.atx", "-a" + apptest::kAtx, "-h"});
  EXPECT_EQ(earlier.exitCode, 0);
  EXPECT_EQ(earlier.err, WarningFrame("Morvi", "COUT REDIRECTION FILE >copy.atx< IS THE SAME FILE AS INPUT FILE "
                                               ">copy.atx<: COUT GOES TO TERMINAL!") +
                             WarningFrame("Morvi", "Command line parameter >-a< GIVEN AGAIN - VALUE >copy.atx< NOT USED!"));
  EXPECT_TRUE(unchanged());

  // -wo on the results file (spelled otherwise, not yet existing) and -we on
  // the same file as -wo: the results are those of a run without redirection.
  CaptureResult plain = run({"-gsG", "-spcopy.sp3", "-pG05", "-rplain.txt"});
  ASSERT_EQ(plain.exitCode, 0) << plain.err;
  CaptureResult onRes = run({"-wo./sub/../res2.txt", "-gsG", "-spcopy.sp3", "-pG05", "-rres2.txt"});
  EXPECT_EQ(onRes.exitCode, 0) << onRes.err;
  frames = WarningFrame("Morvi", "COUT REDIRECTION FILE >./sub/../res2.txt< IS THE SAME FILE AS RESULTS FILE "
                                 ">res2.txt<: COUT GOES TO TERMINAL!");
  EXPECT_EQ(onRes.err.substr(0, frames.size()), frames);
  EXPECT_TRUE(Contains(onRes.out, "PROGRAM SETTINGS AND INPUT PARAMETERS:"));
  EXPECT_EQ(ReadWholeFile(tmp("res2.txt")), ReadWholeFile(tmp("plain.txt")));
  CaptureResult both = run({"-wolog.txt", "-we./sub/../log.txt", "-h"});
  EXPECT_EQ(both.err, WarningFrame("Morvi", "COUT AND CERR REDIRECTION FILE SET EQUALLY: APPENDING .CERR TO CERR FILENAME!"));
  EXPECT_EQ(ReadWholeFile(tmp("log.txt")), ReadWholeFile(kData + "help_cp1250.txt"));
  EXPECT_EQ(ReadWholeFile(tmp("sub/../log.txt.CERR")), "");
  EXPECT_TRUE(unchanged());
}

// Tokens longer than their fields are refused with a warning naming the option
// and leave the parameter unset; an unknown token too long for the message is
// quoted cut.
TEST(AppCli, OverlongTokens) {
  Scratch tmp;
  std::string longName = "/" + std::string(2100, 'a');
  // -r given before, -r given again: that value is not used either.
  CaptureResult r = RunMorvi({"-gsG", "-sp" + kSp3, "-r" + tmp("res.txt"), "-r" + longName});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, WarningFrame("Morvi", "Command line parameter >-r< GIVEN AGAIN - VALUE >" + tmp("res.txt") + "< NOT USED!") +
                       WarningFrame("Function:   pChars::Parse(...)",
                                    "Value of command line parameter >-r< TOO LONG (2101 > 2047 characters) - PARAMETER NOT SET!") +
                       ErrorFrame("Morvi", "NO OUTPUT FILE SET - FILE WITH RESULTS!"));
  EXPECT_FALSE(std::ifstream(tmp("res.txt")).good());

  std::string sats = "G01";
  for (int i = 0; i < 300; i++) sats += ",G02";
  // A satellite list too long to hold is refused: left unset, it would widen
  // to every satellite of the file.
  CaptureResult p = RunMorvi({"-gsG", "-sp" + kSp3, "-r" + tmp("res.txt"), "-p" + sats});
  EXPECT_EQ(p.exitCode, 1);
  EXPECT_EQ(p.err, ErrorFrame("Function:   pSats::Parse(...)",
                              "LIST OF SATELLITES TOO LONG (1203 > 1027 characters) - NOT VALID!"));
  // The letters of -gs add up, each system once, however long and often given.
  CaptureResult gs = RunMorvi({"-gsG", "-sp" + kSp3, "-r" + tmp("res.txt"), "-pG01", "-gsERECSJIGRECSJIGR", "-gsE"});
  ASSERT_EQ(gs.exitCode, 0) << gs.err;
  EXPECT_TRUE(Contains(Report(gs.out), "  GNSS systems for sat. positions   : GERCSJI - GPS GLONASS GALILEO BDS SBAS QZSS NavIC \n"));

  std::string stray(300, 'x');
  CaptureResult u = RunMorvi({"-h", stray});
  EXPECT_EQ(u.exitCode, 0);
  EXPECT_EQ(u.err, WarningFrame("Morvi", "Input command line parameter unknown: >" + std::string(200, 'x') + "...<!"));
}

TEST(AppCli, IntervalTooSmallForTheSpanIsRefusedBeforeAnyRow) {
  Scratch tmp;
  // 188 days at 0.1 s would be 1.6e8 epochs a satellite: refused at once
  CaptureResult r = RunMorvi({"-gsG", "-sp" + kSp3, "-r" + tmp("res.txt"), "-pG05", "-ei0.1",
                              "-es2023-01-01,00:00:00", "-ee2023-07-08,00:00:00"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(EndsWith(r.err, ErrorFrame("Morvi", "Observation interval >1.000e-01< s TOO SMALL - MORE THAN "
                                                  "100000000 EPOCHS BETWEEN FIRST AND LAST EPOCH!")))
      << r.err;
  EXPECT_FALSE(Contains(r.out, "CALCULATING POSITIONS"));
  // a short span at the smallest step still runs
  CaptureResult ok = RunMorvi({"-gsG", "-sp" + kSp3, "-r" + tmp("ok.txt"), "-pG05", "-ei0.1",
                               "-es2023-07-08,04:00:00.0", "-ee2023-07-08,04:00:01.0"});
  EXPECT_EQ(ok.exitCode, 0) << ok.err;
  EXPECT_EQ(Count(ReadWholeFile(tmp("ok.txt")), "\n 2023-07-08 04:00:0"), 11u);
}
