// Helpers of the end-to-end tests of morvi: a scratch directory per test,
// searches in captured output and the rows of a results file.
#pragma once

#include <stdlib.h>  // mkdtemp

#include <cstdlib>  // system, atof
#include <fstream>  // ifstream
#include <sstream>  // istringstream
#include <string>
#include <vector>

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

// One row of a results file, split into its values.
struct Row {
  std::string line, date, time, prn;
  long mday = 0;
  double msec = 0;
  std::vector<double> v;  // X Y Z DT VX VY VZ, then the optional groups (atof of each token)
};

// A results file: the header line, the rows of each satellite block, and every line.
struct Results {
  std::string header;
  std::vector<Row> rows;
  std::vector<std::string> lines;
};

inline Results ReadResults(const std::string& file) {
  Results r;
  std::ifstream in(file);
  std::string line;
  for (bool first = true; std::getline(in, line); first = false) {
    r.lines.push_back(line);
    if (first) r.header = line;
    if (first || line.empty()) continue;
    Row row;
    row.line = line;
    std::istringstream ss(line);
    ss >> row.date >> row.time >> row.mday >> row.msec >> row.prn;
    for (std::string tok; ss >> tok;) row.v.push_back(atof(tok.c_str()));
    r.rows.push_back(row);
  }
  return r;
}

}  // namespace apptest
