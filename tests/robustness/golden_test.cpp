// Golden results: shorter runs of the three benchmark kinds (broadcast, all
// systems; SP3, all satellites; broadcast with ANTEX offsets, GCRS rotation and
// Earth-rotation removal) must give results files, and warnings on standard
// error, byte for byte as recorded. A changed checksum means a changed output
// byte: a speed-up must never cause one.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/app_support.h"
#include "support/capture.h"

using apptest::Scratch;

namespace {

const std::string kData = std::string(MORVI_TEST_DATA);
const std::string kNav = kData + "/rinex/SEPT1890.23P";
const std::string kSp3 = kData + "/app/COD0MGXFIN_20231890000_07H_05M_ORB.SP3";
const std::string kAtx = kData + "/app/M14_satellites_2023-189.atx";
const std::string kRot = kData + "/app/GCRS_20231890_0-7H_300S_GPST.txt";

// FNV-1a, 64 bit, of the bytes of s.
uint64_t Fnv1a(const std::string& s) {
  uint64_t h = 14695981039346656037ULL;
  for (unsigned char c : s) {
    h ^= c;
    h *= 1099511628211ULL;
  }
  return h;
}

// Rows of a results file: non-empty lines after the header line.
long Rows(const std::string& s) {
  long n = 0;
  size_t a = s.find('\n');
  while (a != std::string::npos && a + 1 < s.size()) {
    size_t b = s.find('\n', a + 1);
    if (b == std::string::npos) b = s.size();
    if (b > a + 1) n++;
    a = (b < s.size()) ? b : std::string::npos;
  }
  return n;
}

struct Golden {
  const char* name;
  std::vector<std::string> args;  // without -r
  long rows;                      // rows of the results file
  uint64_t results;               // checksum of the results file
  uint64_t err;                   // checksum of standard error
  int exitCode = 0;
};

}  // namespace

TEST(Golden, ResultsOfTheThreeBenchmarkKindsAreUnchanged) {
  const std::vector<Golden> runs = {
      {"broadcast, all systems, 04:00-06:00 at 30 s",
       {"-gsGRECSJI", "-sb" + kNav, "-es2023-07-08,04:00:00.0", "-ee2023-07-08,06:00:00.0", "-ei30"},
       16147, 16756545987789928232ULL, 18274308806286785721ULL},
      {"broadcast, all systems, whole span at 300 s",
       {"-gsGRECSJI", "-sb" + kNav, "-ei300"},
       4891, 9375693274462121185ULL, 8938378960401541489ULL},
      {"SP3, all satellites, whole file at 60 s",
       {"-gsGRECSJI", "-sp" + kSp3, "-ei60"},
       13893, 5112874082923566322ULL, 5132965598944540200ULL},
      {"broadcast, -a -t -o, 04:00-06:00 at 30 s",
       {"-gsGRECSJI", "-sb" + kNav, "-a" + kAtx, "-t" + kRot, "-o", "-es2023-07-08,04:00:00.0",
        "-ee2023-07-08,06:00:00.0", "-ei30"},
       16147, 298405178038675522ULL, 9988085924131640026ULL},
      // an integration step below 1 ms is replaced by the default before any output
      {"broadcast, GPS and GLONASS, integration step too small for GLONASS",
       {"-gsGR", "-sb" + kNav, "-ni0.00001", "-ei600"},
       851, 10341579103768181696ULL, 4624527464529482131ULL},
  };
  Scratch tmp;
  for (size_t i = 0; i < runs.size(); i++) {
    const Golden& g = runs[i];
    std::vector<std::string> args = g.args;
    std::string res = tmp("res" + std::to_string(i) + ".txt");
    args.push_back("-r" + res);
    CaptureResult r = RunMorvi(args);
    std::string text = ReadWholeFile(res);
    EXPECT_EQ(r.exitCode, g.exitCode) << g.name << "\n" << r.err.substr(0, 2000);
    EXPECT_EQ(Rows(text), g.rows) << g.name;
    EXPECT_EQ(Fnv1a(text), g.results) << g.name << ": results file changed";
    EXPECT_EQ(Fnv1a(r.err), g.err) << g.name << ": standard error changed";
  }
}
