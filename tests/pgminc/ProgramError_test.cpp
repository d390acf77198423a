// The fatal and warning frames, byte for byte, and the exit code of a fatal report.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "pgminc/ProgramError.h"
#include "support/capture.h"

TEST(ProgramError, FatalFrameOnStandardErrorAndExitCodeOne) {
  CaptureResult r = RunCaptured([] {
    std::cout << "before";
    ProgramError("Function:   rSat::TestSat()", "Satellite system identificator >X< UNDEFINED!", false);
  });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "before");  // stdout flushed through the normal exit path
  EXPECT_EQ(r.err,
            "\n**** Function:   rSat::TestSat(): Error -> Satellite system identificator >X< "
            "UNDEFINED! ****\n     Exiting Function:   rSat::TestSat() ... \n\n");

  CaptureResult empty = RunCaptured([] { ProgramError("Morvi", "", false); });
  EXPECT_EQ(empty.exitCode, 1);
  EXPECT_EQ(empty.err, "\n**** Morvi: Error ->  ****\n     Exiting Morvi ... \n\n");
}

TEST(ProgramError, WaitReadsOneCharacterAndStillExitsOne) {
  // stdin of the child is empty: the wait must end at end of input, not hang
  CaptureResult r = RunCaptured([] { ProgramError("Morvi", "x", true); });
  EXPECT_EQ(r.exitCode, 1);
}

TEST(ProgramError, WarningReturnsAndCallerOutputFollows) {
  CaptureResult r = RunCaptured([] {
    ProgramWarning("Morvi", "Input command line parameter unknown: >x<!");
    std::cerr << "after";
  });
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err,
            "\n#### Morvi: Warning -> Input command line parameter unknown: >x<! ####\n"
            "     Continuing Morvi ... \n\nafter");
}

TEST(ProgramError, CoutTwinsWriteTheSameFramesToStandardOutput) {
  CaptureResult w = RunCaptured([] { ProgramWarningCout("Morvi", "w"); });
  EXPECT_EQ(w.out, WarningFrame("Morvi", "w"));
  EXPECT_EQ(w.err, "");
  CaptureResult e = RunCaptured([] { ProgramErrorCout("Morvi", "e", false); });
  EXPECT_EQ(e.exitCode, 1);
  EXPECT_EQ(e.out, ErrorFrame("Morvi", "e"));
}

TEST(ProgramError, FrameLandsInRedirectedStandardError) {
  std::string file = "/tmp/morvi_err_redirect_" + std::to_string(getpid()) + ".txt";
  CaptureResult r = RunCaptured([file] {
    static std::ofstream red(file);
    std::cerr.rdbuf(red.rdbuf());
    ProgramError("Morvi", "to file", false);
  });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(ReadWholeFile(file), ErrorFrame("Morvi", "to file"));
  std::remove(file.c_str());
}

TEST(ProgramError, WarningFrameIsWholeAndFlushedAtOnceAndHonoursAPendingWidth) {
  // redirected to a buffered file, the frame is in the file when the call returns
  std::string file = "/tmp/morvi_warn_flush_" + std::to_string(getpid()) + ".txt";
  CaptureResult r = RunCaptured([file] {
    std::ofstream red(file);
    std::streambuf* old = std::cerr.rdbuf(red.rdbuf());
    ProgramWarning("Function:   toGCRS::SetEpoch(mjd&)", "epoch [ 2023-07-08/04:00:30] not found");
    std::cout << ReadWholeFile(file);
    std::cerr.rdbuf(old);
  });
  unlink(file.c_str());
  EXPECT_EQ(r.out, WarningFrame("Function:   toGCRS::SetEpoch(mjd&)", "epoch [ 2023-07-08/04:00:30] not found"));
  // a field width left on the stream pads the first mark, as stream output does
  CaptureResult w = RunCaptured([] {
    std::cerr.width(8);
    ProgramWarning("Morvi", "w");
    ProgramWarning("Morvi", "v");
  });
  EXPECT_EQ(w.err, "\n    #### Morvi: Warning -> w ####\n     Continuing Morvi ... \n\n" + WarningFrame("Morvi", "v"));
}
