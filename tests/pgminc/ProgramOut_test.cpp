// Rules, title block, headings and the verbose trace lines.
#include <gtest/gtest.h>

#include <string>

#include "pgminc/ProgramOut.h"
#include "pgminc/ProgramStartEnd.h"
#include "support/capture.h"

static std::string Rule(char c) { return std::string(110, c) + "\n"; }

TEST(ProgramOut, RulesAndHeadings) {
  CaptureResult r = RunCaptured([] {
    PrintChar('=', 0, 4);
    std::cout << "|";
    PrintChar('-', 3, 2);
    ProgramSubSubTitle("INPUT FILES:", 0);
    ProgramSubTitle("SETTINGS", 0);
    ProgramSubSubSubTitle("ab", 1);
    ProgramSubSubTitleOver("ab", 0);
    TableLabelLine("xyz");
    std::cout << std::setw(3) << 7;  // fill is a blank again
  });
  EXPECT_EQ(r.out, "    |  ---\nINPUT FILES:\n============\n\n" + Rule('=') + "SETTINGS\n" + Rule('=') +
                       "\n ab\n --\n\n==\nab\n==\n\nxyz\n---\n  7");
}

TEST(ProgramOut, TitleBlockIs110Wide) {
  CaptureResult r = RunCaptured([] {
    strcpy(POut::ProgramName, "Morvi");
    strcpy(POut::ProgramDescription, "GNSS SATELLITE POSITION CALCULATOR");
    strcpy(POut::Author, "Imrek Vantok, TRM - Nabu ZOBRK");
    strcpy(POut::ValidationDate, "2020 - 20XX");
    strcpy(POut::Release, "23 MAY 2025");
    ProgramTitle();
    std::cout << 1.5;  // fixed notation stays
  });
  std::istringstream in(r.out);
  std::string l[10];
  for (auto& s : l) std::getline(in, s);
  EXPECT_EQ(l[0], std::string(110, '_'));
  EXPECT_EQ(l[1], std::string(110, '*'));
  std::string prog = "          PROGRAM:            Morvi" + std::string(30, ' ') +
                     std::string(45 - 34, ' ') + "GNSS SATELLITE POSITION CALCULATOR";
  EXPECT_EQ(l[2], prog);
  EXPECT_EQ(l[3].size(), 110u);
  EXPECT_EQ(l[3].substr(0, 65), "          AUTHORS:            Imrek Vantok, TRM - Nabu ZOBRK     ");
  EXPECT_EQ(l[4].size(), 110u);
  EXPECT_EQ(l[4].substr(0, 41), "          RELEASE:            23 MAY 2025");
  EXPECT_EQ(l[4].substr(84, 6), "DATE: ");
  EXPECT_EQ(l[5], std::string(110, '_'));
  EXPECT_EQ(l[6], std::string(110, '*'));
  EXPECT_EQ(l[7], "");
  EXPECT_EQ(l[8], "");
  EXPECT_EQ(l[9], "1.500000");
}

TEST(ProgramOut, TraceLines) {
  CaptureResult r = RunCaptured([] {
    ProgramCerrPrint("Morvi", "ParseArguments", "PARSING INPUT PARAMETERS", '-');
    ProgramCerrPrint("Morvi", "ParseArguments", "++-", '-');
    ProgramCerrPrintItem("Morvi", "ParseArguments", "Time INTERVAL [s]:", 60.0L, 0, 2);
    ProgramCerrPrintItem("Morvi", "SetProcessingParms", "note", "", 0, 0);
    ProgramCerrPrintItem("Morvi", "ParseArguments", "Verbose:", " Y", 0, 0);
    ProgramCerrPrintItem("Morvi", "ParseArguments", "n:", 14L, 4, 0);
    ProgramCerrPrintItem("Morvi", "x", "p:", 1.0L, 0, 1);
    std::cerr << 2.25L;  // precision 1 stays
  });
  EXPECT_EQ(r.err,
            "Morvi -- ParseArguments() - PARSING INPUT PARAMETERS \n"
            "Morvi -- ParseArguments() - ++- \n"
            "Morvi :: ParseArguments() : Time INTERVAL [s]: 60.00\n"
            "Morvi :: SetProcessingParms() : note \n"
            "Morvi :: ParseArguments() : Verbose:  Y\n"
            "Morvi :: ParseArguments() : n:   14\n"
            "Morvi :: x() : p: 1.0\n2.2");
}

TEST(ProgramOut, StartAndEndOfARun) {
  CaptureResult r = RunCaptured([] {
    StartProg(true, " ***** GNSS SATELLITE POSITIONING - STARTING APPLICATION *****");
    EndProg(true, true);
  });
  EXPECT_EQ(r.err.substr(0, 72),
            "\nMorvi ++ ***** GNSS SATELLITE POSITIONING - STARTING APPLICATION *****\n");
  EXPECT_NE(r.err.find("Morvi ++  ***** SUCCESFULLY ENDING PROGRAM [  0h   0m   0.0s] *****\n\n"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(r.out, Rule('=') + "PROGRAM:     Morvi     ***** SUCCESFULLY ENDED [ 0h  0m   0.0s] *****\n" +
                       Rule('=') + "\n");
  CaptureResult q = RunCaptured([] {
    StartProg(false, "x");
    EndProg(false, false);
  });
  EXPECT_EQ(q.err, "");
  EXPECT_EQ(q.out, "");
}
