// The program entry: a run without arguments ends with exit code 1 after the
// help text and one key press; a help run returns 0.
#include <gtest/gtest.h>

#include "support/capture.h"

TEST(entry, NoArgumentPrintsHelpWaitsAndExitsOne) {
  CaptureResult r = RunMorvi({}, "");  // stdin at end of file: must not hang
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_FALSE(r.out.empty());
  CaptureResult k = RunMorvi({}, "x\n");
  EXPECT_EQ(k.exitCode, 1);
  EXPECT_EQ(k.out, r.out);
}

TEST(entry, HelpRunReturnsZero) {
  CaptureResult r = RunMorvi({"-h"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_FALSE(r.out.empty());
}
