// Helpers of the end-to-end tests of morvi: a scratch directory per test and
// searches in captured output.
#pragma once

#include <stdlib.h>  // mkdtemp

#include <cstdlib>  // system
#include <string>

namespace apptest {

// The sample files of the end-to-end tests (tests/data/app, README there).
inline const std::string kData = std::string(MORVI_TEST_DATA) + "/app/";
inline const std::string kSp3 = kData + "COD0MGXFIN_20231890000_07H_05M_ORB.SP3";
inline const std::string kNav = kData + "SEPT1890.23P";
inline const std::string kAtx = kData + "M14_satellites_2023-189.atx";
inline const std::string kGcrs = kData + "GCRS_20231890_0-7H_300S_GPST.txt";

// A fresh directory below /tmp, removed with its files at the end of the test.
struct Scratch {
  std::string dir;
  Scratch() {
    char tmpl[] = "/tmp/morvi_app_XXXXXX";
    const char* made = mkdtemp(tmpl);
    dir = made ? made : "/tmp";
  }
  ~Scratch() {
    if (dir != "/tmp") std::system(("rm -rf '" + dir + "'").c_str());
  }
  std::string operator()(const std::string& name) const { return dir + "/" + name; }
};

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

inline bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

inline size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) n++;
  return n;
}

}  // namespace apptest
