// sp3EData: one epoch block of an SP3 precise-orbit file (versions a, c, d), with
// the fixed-column layouts of the SP3 lines that the reader and the writer share.
// Positions are held in metres, clock corrections in seconds (the file has
// kilometres and microseconds).
// References: [1] S. Hilla, The Extended Standard Product 3 Orbit Format (SP3-c),
// 2010; [2] S. Hilla, The Extended Standard Product 3 Orbit Format (SP3-d), 2016.
#pragma once

#include <cmath>     // fabsl, isfinite
#include <cstdio>    // snprintf
#include <cstdlib>   // atol, atof, strtod
#include <cstring>   // strlen, strstr
#include <fstream>   // ifstream
#include <iomanip>   // setw, setprecision
#include <ostream>   // ostream
#include <string>    // string

#include "functions/cstrings.h"  // substr, GetFileLine, DecimalField
#include "gdata/gDataSum.h"      // gDataSum
#include "gdata/mjd.h"           // mjd
#include "gdata/myList.h"        // myList
#include "gdata/rSat.h"          // rSat
#include "gdata/timeconv.h"      // mjd2ymdhms, ymdhms2mjd, TestYear ... TestSecond
#include "gdata/xyz.h"           // xyz
#include "gdata/ymdhms.h"        // ymdhms
#include "pgminc/ProgramError.h"  // ProgramError

namespace sp3ns {

// Line buffer: lines of up to 511 characters are accepted, longer ones refused.
inline constexpr int LINE_SIZE = 512;
// Marker of a missing position or clock value [1, 2].
inline constexpr const char* MISSING = "999999.999999";
// File units to system units: kilometres to metres, microseconds to seconds;
// and back, for the writer.
inline constexpr double KM2M = 1000.0;
inline constexpr double MCS2S = 1e-6;
inline constexpr double S2MCS = 1e6;
// Largest difference (s) between the epoch of a '*' line and the epoch that the
// header's first epoch and interval give for it.
inline constexpr long double EPOCH_TOL = 1e-6L;
// A 'P' line holds the satellite, x, y, z and the clock: 60 columns at least.
inline constexpr int P_LINE_MIN = 60;

// One fixed-column field: first column (1-based, as [1, 2] count them) and width;
// width 0 takes the rest of the line.
struct Col {
  int first;
  int width;
};

// Header line 1 ("#"), line 2 ("##"), the satellite lines ("+", "++"), the first
// "%c" and "%f" lines.
inline constexpr Col H1_VERSION{2, 1}, H1_FLAG{3, 1}, H1_NEPOCH{33, 0}, H1_COORDSYS{47, 5};
inline constexpr Col H2_INTERVAL{24, 0}, H2_MJDAY{39, 0}, H2_FRACTION{45, 0};
inline constexpr Col SL_NSAT{3, 0};
inline constexpr int SL_FIRST = 10;    // first column of the 17 three-column fields
inline constexpr int SL_FIELDS = 17;   // satellite or accuracy fields per line
inline constexpr int SL_WIDTH = 3;
inline constexpr Col C1_TYPE{4, 1}, C1_TIMESYS{10, 3};
inline constexpr Col F1_POSBASE{3, 0}, F1_CLKBASE{14, 0};
// Epoch line "*  yyyy mm dd hh mm ss.ssssssss".
inline constexpr Col E_YEAR{4, 4}, E_MONTH{9, 2}, E_DAY{12, 2}, E_HOUR{15, 2}, E_MINUTE{18, 2},
    E_SECOND{21, 11};
// Position and clock line "P".
inline constexpr Col P_SAT{2, 3}, P_X{5, 14}, P_Y{19, 14}, P_Z{33, 14}, P_CLK{47, 14};

// Copies field f of line into out (LINE_SIZE characters at least); a field that
// lies beyond the end of the line gives an empty text.
inline char* Field(const char* line, const Col& f, char* out) {
  if (f.width > 0)
    substr(line, f.first - 1, f.width, out);
  else
    substr(line, f.first - 1, out);
  return out;
}

// True when the field holds one finite decimal number and nothing else but blanks
// (an empty field is no number): atof alone would take letters as 0 or stop
// half-way, and would take "nan", "inf" and hexadecimal text as values.
inline bool IsNumber(const char* field) {
  long double v = 0;
  // finite also in double, the precision atof takes it in
  return DecimalField(field, v) && std::isfinite(strtod(field, nullptr));
}

// The character of column col (1-based), a blank beyond the end of the line.
inline char Column(const char* line, int col) {
  return (int)strlen(line) >= col ? line[col - 1] : ' ';
}

// Epoch as "yyyy-mm-dd hh:mm:ss.ssssssss" for messages (text of 40 characters at least).
inline void EpochText(ymdhms& d, char* text, int size) {
  snprintf(text, size, "%04u-%02u-%02u %02u:%02u:%011.8Lf", (unsigned)d.GetYear(),
           (unsigned)d.GetMonth(), (unsigned)d.GetDay(), (unsigned)d.GetHour(),
           (unsigned)d.GetMinute(), d.GetSecond());
}

}  // namespace sp3ns

// One epoch record: for each satellite of the header list (entry i belongs to
// satellite i of that list) the position in metres with the clock correction in
// seconds in t, and the presence flags of both.
class sp3EData {
 public:
  sp3EData() : bIsSet(false) {}
  ~sp3EData() {}

  // Reads one epoch block from in: the '*' line, then every line up to the next
  // '*' line or "EOF". e is the epoch the block must carry (the header's first
  // epoch advanced by whole intervals); sum gives the satellite list.
  void Set(std::ifstream& in, gDataSum& sum, mjd& e) {
    char line[sp3ns::LINE_SIZE];
    char msg[2 * sp3ns::LINE_SIZE];
    bool isLong = false;

    // The epoch line.
    if (!GetFileLine(in, line, sp3ns::LINE_SIZE, &isLong) || strstr(line, "EOF") != nullptr)
      ProgramError("Function:   sp3EData::Set()", "Unexpected EOF of ORBIT SP3 file!", false);
    if (isLong) RefuseLongLine();
    if (line[0] != '*') {
      snprintf(msg, sizeof msg,
               "Unexpected first character >%c< of ORBIT SP3 file - data section!",
               line[0] != 0 ? line[0] : ' ');
      ProgramError("Function:   sp3EData::Set()", msg, false);
    }
    TestEpoch(line, e);

    eph = e;
    const long n = sum.nSat;
    Sat.Resize(n);
    Pos.Resize(n);
    Sig.Resize(n);
    isOKPos.Resize(n, 1, false);
    isOKTime.Resize(n, 1, false);

    // The lines of the block; only 'P' lines are read. A block without lines
    // (every satellite absent) ends at once: the next '*' line opens the next block.
    long nPLines = 0;
    if (in.peek() == '*') return;
    while (GetFileLine(in, line, sp3ns::LINE_SIZE, &isLong)) {
      if (isLong) RefuseLongLine();
      if (strstr(line, "EOF") != nullptr) return;
      if (line[0] == 'P') {
        if (nPLines >= sum.nSat)
          ProgramError("Function:   sp3EData::Set()",
                       "Number of satellites in ORBIT SP3 data section greater than in the "
                       "beginning of the file!",
                       false);
        SetPLine(line, sum);
        nPLines++;
      }
      if (in.peek() == '*') return;
    }
    // The physical end of the file closes the block as the "EOF" line does.
  }

  // Writes the block: the epoch line, then one 'P' line per satellite in header
  // order, missing values as the marker. A satellite that had no 'P' line in the
  // block read has no identifier here and gets no line, so it reads back absent.
  void Print(std::ostream& os) {
    ymdhms d = mjd2ymdhms(eph);
    os << "*  " << d << '\n';
    os << std::fixed << std::setprecision(6);
    for (long k = 0; k < Sat.Length(); k++) {
      if (Sat(k).GetISys() == 0) continue;
      os << 'P' << Sat(k);
      const xyz& p = Pos(k);
      PrintValue(os, sp3ns::P_X, isOKPos(k), p.GetX() / sp3ns::KM2M);
      PrintValue(os, sp3ns::P_Y, isOKPos(k), p.GetY() / sp3ns::KM2M);
      PrintValue(os, sp3ns::P_Z, isOKPos(k), p.GetZ() / sp3ns::KM2M);
      PrintValue(os, sp3ns::P_CLK, isOKTime(k), p.GetT() * sp3ns::S2MCS);
      os << '\n';
    }
  }

  mjd eph;                  // epoch of the record
  myList<rSat> Sat;         // satellite of each header position once it had a 'P' line
  myList<xyz> Pos;          // x, y, z (m) and clock correction t (s)
  myList<xyz> Sig;          // sized like Pos, not filled
  myList<bool> isOKPos;     // position present
  myList<bool> isOKTime;    // clock correction present

 private:
  bool bIsSet;

  // One value field f of a 'P' line: the value right-aligned in the field's width
  // (the stream's precision), or, without one, the missing-value marker at the
  // field's end.
  static void PrintValue(std::ostream& os, const sp3ns::Col& f, bool present, long double v) {
    if (present)
      os << std::setw(f.width) << v;
    else
      os << std::string(static_cast<size_t>(f.width) - strlen(sp3ns::MISSING), ' ') << sp3ns::MISSING;
  }

  [[noreturn]] static void RefuseLongLine() {
    ProgramError("Function:   sp3EData::Set()",
                 "Line of ORBIT SP3 file - data section longer than 511 characters!", false);
  }

  // Reads the epoch of a '*' line and refuses an epoch that is not the expected
  // one: a missing or irregular epoch would put every later record at a wrong time.
  static void TestEpoch(const char* line, mjd& e) {
    char f[sp3ns::LINE_SIZE];
    char msg[3 * sp3ns::LINE_SIZE];
    // A field outside 0 ... 65534 becomes 65535, which no calendar test accepts.
    auto Number = [&](const sp3ns::Col& c) -> unsigned short {
      const long n = atol(sp3ns::Field(line, c, f));
      return (unsigned short)(n >= 0 && n < 65535 ? n : 65535);
    };
    const unsigned short year = Number(sp3ns::E_YEAR), month = Number(sp3ns::E_MONTH),
                         day = Number(sp3ns::E_DAY), hour = Number(sp3ns::E_HOUR),
                         minute = Number(sp3ns::E_MINUTE);
    const long double second = atof(sp3ns::Field(line, sp3ns::E_SECOND, f));
    if (!TestYear(year) || !TestMonth(month) || !TestDay(day, month, year) || !TestHour(hour) ||
        !TestMinute(minute) || !TestSecond(second)) {
      snprintf(msg, sizeof msg, "Epoch line >%s< of ORBIT SP3 file - data section NOT valid!",
               line);
      ProgramError("Function:   sp3EData::Set()", msg, false);
    }
    ymdhms found(year, month, day, hour, minute, second);
    mjd mFound = ymdhms2mjd(found);
    if (fabsl(mFound - e) > sp3ns::EPOCH_TOL) {
      char sFound[64], sExpected[64];
      ymdhms expected = mjd2ymdhms(e);
      sp3ns::EpochText(found, sFound, sizeof sFound);
      sp3ns::EpochText(expected, sExpected, sizeof sExpected);
      snprintf(msg, sizeof msg,
               "Epoch >%s< of ORBIT SP3 data section NOT the expected epoch >%s< - missing "
               "or irregular epoch!",
               sFound, sExpected);
      ProgramError("Function:   sp3EData::Set()", msg, false);
    }
  }

  // One 'P' line: satellite, x, y, z (km) and clock (microseconds) [1, 2].
  void SetPLine(const char* line, gDataSum& sum) {
    char f[sp3ns::LINE_SIZE];
    char msg[2 * sp3ns::LINE_SIZE];
    if ((int)strlen(line) < sp3ns::P_LINE_MIN) {
      snprintf(msg, sizeof msg, "Position line >%s< of ORBIT SP3 data section cut short!",
               line);
      ProgramError("Function:   sp3EData::Set()", msg, false);
    }
    char ssat[sp3ns::LINE_SIZE];
    sp3ns::Field(line, sp3ns::P_SAT, ssat);
    rSat s;
    s = ssat;
    const long i = sum.lSat.IndexFirst(s);
    if (i < 0) {
      snprintf(msg, sizeof msg,
               "Satellite >%s< in ORBIT SP3 data section not listed in the beginning of the "
               "file!",
               ssat);
      ProgramError("Function:   sp3EData::Set()", msg, false);
    }
    Sat(i) = s;

    char fx[sp3ns::LINE_SIZE], fy[sp3ns::LINE_SIZE], fz[sp3ns::LINE_SIZE];
    sp3ns::Field(line, sp3ns::P_X, fx);
    sp3ns::Field(line, sp3ns::P_Y, fy);
    sp3ns::Field(line, sp3ns::P_Z, fz);
    sp3ns::Field(line, sp3ns::P_CLK, f);
    const bool clkMissing = strstr(f, sp3ns::MISSING) != nullptr;
    const bool posMissing =
        strstr(fx, sp3ns::MISSING) || strstr(fy, sp3ns::MISSING) || strstr(fz, sp3ns::MISSING);
    // A garbled number would otherwise become a wrong position without a word.
    const bool blankClk = strspn(f, " ") == strlen(f);
    if ((!posMissing && (!sp3ns::IsNumber(fx) || !sp3ns::IsNumber(fy) || !sp3ns::IsNumber(fz))) ||
        (!clkMissing && !blankClk && !sp3ns::IsNumber(f))) {
      snprintf(msg, sizeof msg, "Position line >%s< of ORBIT SP3 data section NOT valid!", line);
      ProgramError("Function:   sp3EData::Set()", msg, false);
    }
    const double x = atof(fx), y = atof(fy), z = atof(fz);
    // x, y and z all 0.000000 is the other mark of a bad or absent position [1, 2]
    // (IGS files use it); a single zero component is a value. Taken as a position
    // at the geocentre it would bend every interpolation window that holds it.
    if (posMissing || (x == 0 && y == 0 && z == 0)) {
      isOKPos(i) = false;
      Pos(i).Set(0, 0, 0);
    } else {
      isOKPos(i) = true;
      Pos(i).Set(x * sp3ns::KM2M, y * sp3ns::KM2M, z * sp3ns::KM2M);
    }
    // A blank clock field is absent, as the marker is.
    if (clkMissing || blankClk) {
      isOKTime(i) = false;
      Pos(i).SetT(0);
    } else {
      isOKTime(i) = true;
      Pos(i).SetT(atof(f) * sp3ns::MCS2S);
    }
  }
};
