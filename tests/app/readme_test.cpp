// The README shows the example runs and rows of their output: they must be what
// morvi prints today. Runs the two commands of example/run.sh and looks for the
// first rows of each results file (the broadcast rows cut at 118 columns, and
// their GCRS columns, as the README shows them) and the broadcast summary line of G05.
#include <gtest/gtest.h>

#include <string>

#include "app/app_support.h"
#include "support/capture.h"

TEST(Readme, ExampleRowsAreWhatMorviPrints) {
  const std::string top = std::string(MORVI_TEST_DATA) + "/../../";
  const std::string readme = ReadWholeFile(top + "README.md");
  const std::string data = top + "example/data/";
  ASSERT_FALSE(readme.empty());
  apptest::Scratch tmp;
  CaptureResult b = RunMorvi({"-gsGE", "-sb" + data + "SEPT1890.23P", "-a" + data + "M14_satellites_2023-189.atx",
                              "-t" + data + "GCRS_20231890_0-7H_300S_GPST.txt", "-o", "-pG05,G17,E08,E13",
                              "-es2023-07-08,04:00:00.0", "-ee2023-07-08,05:00:00.0", "-ei300",
                              "-r" + tmp("broadcast.txt")});
  CaptureResult p = RunMorvi({"-gsGRECJ", "-sp" + data + "COD0MGXFIN_20231890000_07H_05M_ORB.SP3",
                              "-pG05,R07,E08,C19,J02", "-es2023-07-08,04:00:00.0", "-ee2023-07-08,05:00:00.0",
                              "-ei600", "-r" + tmp("precise.txt")});
  ASSERT_EQ(b.exitCode, 0) << b.err;
  ASSERT_EQ(p.exitCode, 0) << p.err;
  auto lines = [](const std::string& text, size_t n) {
    std::vector<std::string> v;
    size_t a = 0;
    while (v.size() < n && a < text.size()) {
      size_t e = text.find('\n', a);
      v.push_back(text.substr(a, e - a));
      a = e + 1;
    }
    return v;
  };
  for (const std::string& l : lines(ReadWholeFile(tmp("precise.txt")), 3))
    EXPECT_TRUE(apptest::Contains(readme, "    " + l + "\n")) << l;
  for (const std::string& l : lines(ReadWholeFile(tmp("broadcast.txt")), 3)) {
    EXPECT_TRUE(apptest::Contains(readme, "    " + l.substr(0, 118) + "\n")) << l;
    // the GCRS group: 84 columns after the 144 of the epoch and the Earth-fixed group
    EXPECT_TRUE(apptest::Contains(readme, "    " + l.substr(144, 84) + "\n")) << l;
  }
  const size_t g = b.out.find("  Satellite: G05 ->");
  ASSERT_NE(g, std::string::npos);
  EXPECT_TRUE(apptest::Contains(readme, "    " + b.out.substr(g, b.out.find('\n', g) - g) + "\n"));
}
