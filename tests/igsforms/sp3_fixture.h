// Shared pieces of the SP3 tests: test-file paths, temporary files, the fatal
// frame text, an independent parse of 'P' lines, and small synthetic SP3 files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "igsforms/sp3.h"
#include "support/capture.h"

namespace sp3test {

inline std::string Data(const std::string& name) {
  return std::string(MORVI_TEST_DATA) + "/sp3/" + name;
}

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline std::string Temp(const std::string& name, const std::string& text) {
  // the process id keeps tests that run side by side apart
  std::string path = testing::TempDir() + "sp3_" + std::to_string(getpid()) + "_" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

inline std::string Frame(const std::string& place, const std::string& msg, bool error = true) {
  return error ? "\n**** " + place + ": Error -> " + msg + " ****\n     Exiting " + place + " ... \n\n"
               : "\n#### " + place + ": Warning -> " + msg + " ####\n     Continuing " + place +
                     " ... \n\n";
}

// One 'P' line as the file has it: satellite (old numeric codes mapped to G),
// x, y, z (km), clock (microseconds), and which of them carry the missing marker.
struct PLine {
  std::string sat;
  double v[4];
  bool missing[4];
};

// The 'P' lines of every epoch block of an SP3 text, read independently of sp3.
inline std::vector<std::vector<PLine>> Blocks(const std::string& text) {
  std::vector<std::vector<PLine>> blocks;
  std::istringstream in(text);
  std::string l;
  while (std::getline(in, l)) {
    if (l.compare(0, 3, "EOF") == 0) break;
    if (!l.empty() && l[0] == '*') blocks.emplace_back();
    if (l.empty() || l[0] != 'P' || blocks.empty()) continue;
    PLine p;
    p.sat = l.substr(1, 3);
    if (p.sat[0] == ' ') p.sat[0] = 'G';
    if (p.sat[1] == ' ') p.sat[1] = '0';
    for (int i = 0; i < 4; i++) {
      std::string f = l.substr(4 + 14 * i, 14);
      p.missing[i] = f.find("999999.999999") != std::string::npos;
      p.v[i] = atof(f.c_str());
    }
    blocks.back().push_back(p);
  }
  return blocks;
}

// A small SP3-c text: start 2020-06-25 00:00 (MJD 59025), nEph epochs of 900 s,
// the given GPS satellites; line(k, s) gives the 'P' line of satellite s in block k.
inline std::string Synth(int nEph, const std::vector<std::string>& sats,
                         const std::function<std::string(int, int)>& line) {
  char b[128];
  std::string t;
  snprintf(b, sizeof b, "#cP2020  6 25  0  0  0.00000000 %7d ORBIT IGS14 HLM  IGS\n", nEph);
  t += b;
  t += "## 2111 345600.00000000   900.00000000 59025 0.0000000000000\n";
  std::string list, acc;
  for (int i = 0; i < 85; i++) {
    list += i < (int)sats.size() ? sats[i] : "  0";
    acc += i < (int)sats.size() ? "  5" : "  0";
  }
  for (int l = 0; l < 5; l++) {
    snprintf(b, sizeof b, "+   %2s   ", l == 0 ? std::to_string(sats.size()).c_str() : "");
    t += b + list.substr(51 * l, 51) + "\n";
  }
  for (int l = 0; l < 5; l++) t += "++       " + acc.substr(51 * l, 51) + "\n";
  t += "%c G  cc GPS ccc cccc cccc cccc cccc ccccc ccccc ccccc ccccc\n"
       "%c cc cc ccc ccc cccc cccc cccc cccc ccccc ccccc ccccc ccccc\n"
       "%f  1.2500000  1.025000000  0.00000000000  0.000000000000000\n"
       "%f  0.0000000  0.000000000  0.00000000000  0.000000000000000\n"
       "%i    0    0    0    0      0      0      0      0         0\n"
       "%i    0    0    0    0      0      0      0      0         0\n"
       "/* SYNTHETIC TEST FILE\n";
  for (int k = 0; k < nEph; k++) {
    int s = k * 900;
    snprintf(b, sizeof b, "*  2020  6 %2d %2d %2d  0.00000000\n", 25 + s / 86400, s % 86400 / 3600,
             s % 3600 / 60);
    t += b;
    for (int i = 0; i < (int)sats.size(); i++) t += line(k, i);
  }
  return t + "EOF\n";
}

// 'P' line with x, y, z in km and the clock in microseconds (or the marker).
inline std::string P(const std::string& sat, double x, double y, double z, double clk,
                     bool posMissing = false, bool clkMissing = false) {
  char b[128];
  if (posMissing)
    snprintf(b, sizeof b, "P%s 999999.999999 999999.999999 999999.999999", sat.c_str());
  else
    snprintf(b, sizeof b, "P%s%14.6f%14.6f%14.6f", sat.c_str(), x, y, z);
  std::string s = b;
  snprintf(b, sizeof b, "%14.6f\n", clk);
  return s + (clkMissing ? " 999999.999999\n" : b);
}

}  // namespace sp3test
