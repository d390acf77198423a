#pragma once
// rSat: satellite identifier, system letter (G GPS, R GLONASS, E Galileo, C BeiDou,
// S SBAS, J QZSS, I IRNSS) and number 1..99 (PRN, or slot for GLONASS).
// Read from the three-character code of satellite files ("G01", "R24"), including the
// old numeric system code ("_01" GPS, "124" GLONASS ...), and written back in either form.
// [1] RINEX 3.05, 3.5 satellite numbers; [2] RINEX 2.11, 9.2 (old system codes); [3] SP3-d.
#include <cstdio>   // snprintf
#include <iomanip>  // setw, setfill
#include <ostream>  // ostream

#include "gdata/GNSSsys.h"        // gnss::systems: letters and old-style codes
#include "pgminc/ProgramError.h"  // ProgramError

namespace rSns {
enum { NEWSTYLE = 0, OLDSTYLE = 1 };
// Output style of operator<<: NEWSTYLE "G01", OLDSTYLE " 01" / "124".
inline unsigned short StyleType = NEWSTYLE;
}  // namespace rSns

class rSat {
 public:
  rSat() : iSys(0), sPrn(0) {}
  // Copies validate: through the constructor with values and through Set.
  rSat(const rSat& rs) : rSat(rs.iSys, rs.sPrn) {}
  rSat(char c, unsigned short n) : iSys(c), sPrn(n) { TestSat(); }
  ~rSat() {}

  rSat& operator=(const rSat& rs) {
    if (this != &rs) Set(rs.iSys, rs.sPrn);
    return *this;
  }

  // Parses the first three characters of chs: letter (or old-style code), tens digit
  // (a blank counts as 0), units digit. A code whose number is not written in digits
  // ("G0?", "E2 ", or a text shorter than three characters, which is not read past its
  // end) has no number: it gets 0 and is refused as an invalid number, rather than
  // the arithmetic on its characters making another, valid satellite of it.
  rSat& operator=(const char* chs) {
    char c[3];
    Code3(chs, c);
    iSys = c[0];
    if (!NumberDigits(c[1], c[2]))
      sPrn = 0;
    else
      sPrn = (unsigned short)(10 * (c[1] == ' ' ? 0 : c[1] - '0') + (c[2] - '0'));
    for (const GNSSsys& s : gnss::systems)
      if (iSys == s.oldCode) {
        iSys = s.letter;
        break;
      }
    TestSat();
    return *this;
  }

  bool operator==(const rSat& rs) const { return iSys == rs.iSys && sPrn == rs.sPrn; }
  // Exact text compare: no old-style mapping and no blank-as-zero in the tens position;
  // a number not written in two digits equals no satellite.
  bool operator==(const char* chs) const {
    char c[3];
    Code3(chs, c);
    return iSys == c[0] && IsDigit(c[1]) && IsDigit(c[2]) && (int)sPrn == 10 * (c[1] - '0') + (c[2] - '0');
  }
  bool operator!=(const rSat& rs) const { return !(*this == rs); }

  // Order by letter (signed char compare: C < E < G < I < J < R < S), then by number.
  bool operator<(const rSat& rs) const {
    if (this == &rs) return false;
    if (iSys != rs.iSys) return (signed char)iSys < (signed char)rs.iSys;
    return sPrn < rs.sPrn;
  }
  bool operator>(const rSat& rs) const {
    if (this == &rs) return false;
    if (iSys != rs.iSys) return (signed char)iSys > (signed char)rs.iSys;
    return sPrn > rs.sPrn;
  }

  void Set(char c, unsigned short n) {
    iSys = c;
    sPrn = n;
    TestSat();
  }
  char GetISys() const { return iSys; }
  unsigned short GetSPrn() const { return sPrn; }

  // System tests know the upper-case letters only.
  bool isGPSSat() const { return iSys == 'G'; }
  bool isGLNSat() const { return iSys == 'R'; }
  bool isGALSat() const { return iSys == 'E'; }
  bool isBDSSat() const { return iSys == 'C'; }
  bool isSBSSat() const { return iSys == 'S'; }
  bool isQZSSat() const { return iSys == 'J'; }
  bool isIRNSat() const { return iSys == 'I'; }

  // True when tens and units are the number of a satellite code: the units a digit,
  // the tens a digit or a blank (old-style codes write " 5" for 05) [1, 2].
  static bool NumberDigits(char tens, char units) { return IsDigit(units) && (tens == ' ' || IsDigit(tens)); }

  friend std::ostream& operator<<(std::ostream& output, const rSat& rs);

 private:
  char iSys;            // system letter, 0 when not set
  unsigned short sPrn;  // satellite number 1..99, 0 when not set

  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  // The first three characters of chs; those after its terminating NUL read as NUL.
  static void Code3(const char* chs, char c[3]) {
    c[0] = chs[0];
    c[1] = c[0] ? chs[1] : 0;
    c[2] = c[1] ? chs[2] : 0;
  }

  void TestSat() const {
    if (gnss::OfEitherCase(iSys) == nullptr) {
      // A letter of code 0 would end the message text; it is shown as nothing instead.
      char shown[2] = {iSys, 0};
      char msg[80];
      snprintf(msg, sizeof msg, "Satellite system identificator >%s< UNDEFINED!", shown);
      ProgramError("Function:   rSat::TestSat()", msg, false);
    }
    if (sPrn == 0 || sPrn > 99) {
      char msg[80];
      snprintf(msg, sizeof msg, "Satellite number (PRN/SLOT) >%d< UNDEFINED!", (int)sPrn);
      ProgramError("Function:   rSat::TestSat()", msg, false);
    }
  }
};

// NEWSTYLE: letter and two-digit number; OLDSTYLE: old system code (nothing for a letter
// outside the seven) and two-digit number. A width set before the call applies to the
// first character; the fill is back to blank afterwards.
inline std::ostream& operator<<(std::ostream& output, const rSat& rs) {
  if (rSns::StyleType == rSns::OLDSTYLE) {
    const GNSSsys* s = gnss::Of(rs.iSys);
    if (s != nullptr) output << s->oldCode;
  } else {
    output << rs.iSys;
  }
  output << std::setw(2) << std::setfill('0') << rs.sPrn << std::setfill(' ');
  return output;
}
