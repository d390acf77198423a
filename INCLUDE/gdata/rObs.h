// Observation value rObs of a RINEX observation record: the value with its
// loss-of-lock indicator and signal-strength digit, read from and printed to
// the 16-column field (F14.3, I1, I1); a value of 0 stands for a missing one.
// [1] RINEX 3.05, observation data record
#pragma once

#include <cmath>     // fabs
#include <cstdlib>   // atof
#include <iomanip>   // setw, setprecision
#include <iostream>  // ostream

#include "functions/cstrings.h"  // substr

// Print settings of rObs.
namespace rObsns {
// Layouts: RINEX field, plain columns, value only, single-difference file.
enum { RINEX = 0, NORINEX = 1, NOLLISSI = 2, SDFILE = 3 };
inline unsigned short PrintType = NORINEX;
inline int Width = 14;  // field width of the NOLLISSI layout
}  // namespace rObsns

class rObs {
 public:
  rObs() : obs(0), lli(0), ss(0) {}

  // A bare value: both flags 0.
  rObs& operator=(long double gobs) {
    obs = gobs;
    lli = 0;
    ss = 0;
    return *this;
  }
  rObs& operator+=(long double gobs) {
    obs += gobs;
    return *this;
  }
  rObs& operator-=(long double gobs) {
    obs -= gobs;
    return *this;
  }
  // Parses the 16-column field: value in columns 1-14, the two flag digits in
  // columns 15 and 16. A flag that is blank, not a digit, or beyond the end of
  // a shorter text reads as 0.
  rObs& operator=(const char* line) {
    char field[kValueWidth + 1];
    substr(line, 0, kValueWidth, field);
    obs = static_cast<long double>(atof(field));
    char flags[kFlagCount + 1];
    substr(line, kValueWidth, kFlagCount, flags);
    lli = FlagDigit(flags[0]);
    ss = flags[0] != 0 ? FlagDigit(flags[1]) : 0;
    return *this;
  }
  rObs& operator>>(const char* line) { return *this = line; }

  // True for |obs| below kNullTol.
  bool IsNull() const { return std::fabs(obs) < kNullTol; }

  void SetObs(long double v) { obs = v; }
  void SetLli(unsigned short v) { lli = v; }
  void SetSs(unsigned short v) { ss = v; }
  long double GetObs() const { return obs; }
  unsigned short GetLli() const { return lli; }
  unsigned short GetSs() const { return ss; }

  friend std::ostream& operator<<(std::ostream& os, const rObs& go);

 private:
  static constexpr int kValueWidth = 14;            // columns of the value
  static constexpr int kFlagCount = 2;              // LLI and signal-strength columns
  static constexpr long double kNullTol = 1e-4;     // IsNull threshold
  static constexpr long double kPresentTol = 1e-5;  // output: a value is present above this

  // The value of a flag digit; a blank, the end of the text or any other
  // character gives 0.
  static unsigned short FlagDigit(char c) {
    return (c >= '0' && c <= '9') ? static_cast<unsigned short>(c - '0') : 0;
  }

  long double obs;     // observation value; 0 when missing
  unsigned short lli;  // loss-of-lock indicator 0..9
  unsigned short ss;   // signal-strength indicator 0..9
};

// Scaling keeps the flags.
inline rObs operator*(long double k, const rObs& go) {
  rObs r(go);
  r.SetObs(k * go.GetObs());
  return r;
}
inline rObs operator*(const rObs& go, long double k) {
  rObs r(go);
  r.SetObs(go.GetObs() * k);
  return r;
}

// Sum and difference clear the flags; a missing operand gives a missing result.
inline rObs operator+(const rObs& o1, const rObs& o2) {
  rObs r;
  r = (o1.IsNull() || o2.IsNull()) ? 0.0L : o1.GetObs() + o2.GetObs();
  return r;
}
inline rObs operator-(const rObs& o1, const rObs& o2) {
  rObs r;
  r = (o1.IsNull() || o2.IsNull()) ? 0.0L : o1.GetObs() - o2.GetObs();
  return r;
}

// Prints the field in the layout of rObsns::PrintType (3 decimals); leaves the
// stream in fixed notation. The fixed flag replaces a scientific one rather than
// joining it, since both together would print the value in hexadecimal.
inline std::ostream& operator<<(std::ostream& os, const rObs& go) {
  os.setf(std::ios::fixed, std::ios::floatfield);
  const bool present = std::fabs(go.obs) > rObs::kPresentTol;
  os << std::setprecision(3);
  switch (rObsns::PrintType) {
    case rObsns::RINEX:
      if (!present) {
        os << "                ";
        break;
      }
      os << std::setw(14) << go.obs;
      if (go.lli == 0) os << ' '; else os << std::setw(1) << go.lli;
      if (go.ss == 0) os << ' '; else os << std::setw(1) << go.ss;
      break;
    case rObsns::NORINEX:
      if (present)
        os << std::setw(14) << go.obs << std::setw(2) << go.lli << std::setw(2) << go.ss;
      else
        os << std::setw(14) << "*.***" << " * *";
      break;
    case rObsns::NOLLISSI:
      if (present)
        os << std::setw(rObsns::Width) << go.obs;
      else
        os << std::setw(rObsns::Width) << "*.***";
      break;
    case rObsns::SDFILE:
      if (present)
        os << std::setw(17) << go.obs;
      else
        os << "            0.000";
      break;
    default:
      break;
  }
  return os;
}
