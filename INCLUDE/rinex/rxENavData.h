// Broadcast records of a RINEX 3 navigation file: rxENavDataKE for the Keplerian
// systems (G, E, C, J, I: record line and seven continuation lines), rxENavDataNI for
// GLONASS and SBAS (record line and three; a fourth for GLONASS in version 3.05),
// values in the file's units (s, m, rad; km, km/s, km/s2); the epoch moved to GPS
// time as read (BeiDou +14 s, GLONASS + the leap seconds of the day).
// References: [1] RINEX 3.05, 5.4 and appendix A.
#pragma once

#include <cerrno>    // errno
#include <cmath>     // std::isfinite, std::sqrt, std::fabs, std::lround
#include <cstdio>    // sscanf
#include <cstdlib>   // strtold
#include <cstring>   // strlen, strspn
#include <iomanip>   // setw
#include <istream>   // istream
#include <ostream>   // ostream

#include "functions/cstrings.h"   // GetFileLine, creplace, fillstr, instr, substr, DecimalLength, DecimalField
#include "gdata/flh.h"            // elipsoidns (the PZ-90 semi-major axis)
#include "gdata/mjd.h"            // mjd
#include "gdata/rSat.h"           // rSat, rSns
#include "gdata/timeconv.h"       // ymdhms2mjd, mjd2ymdhms, LeapSecond, tscale
#include "gdata/ymdhms.h"         // ymdhms, ymdhmsns
#include "pgminc/ProgramError.h"  // ProgramError
#include "rinex/rxHeader.h"       // rxhdr::SciField

// Fixed-column layout of the data section [1]: a record line holds the satellite
// (columns 1-3), the epoch (4-23) and three values of 19 characters from column
// 24; a continuation line holds four blanks and four values of 19 characters
// from columns 5, 24, 43 and 62. A full line is 80 characters long. A value is
// written as D19.12: its decimal point the third character, the exponent letter
// the sixteenth, a three-character exponent.
namespace rxnav {
inline constexpr int LINE_LEN = 2046;          // longest line read whole (characters)
inline constexpr int LINE_BUF = LINE_LEN + 1;  // line buffer with its NUL
inline constexpr int SAT_WIDTH = 3;            // the satellite, columns 1-3 of a record line
inline constexpr int FIELD_WIDTH = 19;         // width of one value
inline constexpr int FIELD_DECIMALS = 12;      // decimals of a written value
inline constexpr int FIELD_EXPONENT = 3;       // width of its exponent, sign included
inline constexpr int FIELD_POINT = 3;          // character of a value holding the decimal point
inline constexpr int FIELD_LETTER = 16;        // character of a value holding the exponent letter
inline constexpr int FIELD_COL[4] = {5, 24, 43, 62};
inline constexpr const char* CONT_LEAD = "    ";  // columns 1-4 of a continuation line
inline constexpr int EPOCH_COL = 4;            // first column of the record epoch
inline constexpr int CLOCK_COL = 24;           // first column of the clock values
inline constexpr int VALUE_COL = 4;            // values of a continuation line are read from here
inline constexpr int FULL_LINE = 80;           // length of a complete line
inline constexpr const char* ZERO_FIELD = " 0.000000000000e+00";  // a blank field, filled

// Outcome of reading one record; any other than OK leaves the record out.
enum Fault {
  OK = 0,  // every value read
  CUT,     // a line ends inside a field, or before a value the computation needs
  BAD,     // a field holds something that is not one whole finite number
  END,     // the file or the record's continuation lines end before its last line
  LONG,    // a line of the record is longer than the line buffer
  RANGE    // values read, but no orbit can be computed from them
};

// Values per line and how many of them must be present (the rest, when the line
// ends before them, as writers that drop trailing blank fields leave it, read 0).
// Entry 0 is the record line (clock values), entries 1 to nCont its continuation lines.
struct RecordLayout {
  int nCont;
  int nVal[8];
  int nReq[8];
};
// Keplerian records: the orbit terms of lines 1 to 4 and IDOT are needed, the
// flags, accuracy, group delays and transmission time of lines 5 to 7 are not.
inline constexpr RecordLayout KE_LAYOUT = {7, {3, 4, 4, 4, 4, 4, 4, 2}, {3, 4, 4, 4, 4, 1, 0, 0}};
// State-vector records: the clock bias and frequency bias, then position, velocity
// and acceleration of each axis; message time, health and the fourth values are not needed.
inline constexpr RecordLayout NI_LAYOUT = {3, {3, 4, 4, 4}, {2, 3, 3, 3}};

// True when a line ends inside a field: its length without trailing blanks is
// neither 0, nor at the end of one of its 19-character fields, nor a full line.
inline bool LineCutShort(const char* line) {
  int len = static_cast<int>(strlen(line));
  while (len > 0 && line[len - 1] == ' ') len--;
  if (len == 0 || len >= FULL_LINE) return false;
  return len < VALUE_COL || (len - VALUE_COL) % FIELD_WIDTH != 0;
}

// Reads up to n numbers one after the other from text into *val[0..n-1], as the
// format "%Le%Le..." would (a value may follow the one before without a blank).
// Returns false when something that is not a whole finite number stands in the way
// of the n values (what follows them is not read); got = the number of values read.
inline bool ReadValues(const char* text, long double* const* val, int n, int& got) {
  got = 0;
  const char* p = text;
  while (got < n) {
    while (*p == ' ') p++;
    if (*p == 0) return true;
    char* end = nullptr;
    errno = 0;
    long double v = strtold(p, &end);
    // strtold also takes "nan", "inf" and hexadecimal text, which are no file values
    if (end == p || end - p != DecimalLength(p) || !std::isfinite(v)) return false;
    if (*end != 0 && *end != ' ' && *end != '-' && *end != '+') return false;
    *val[got++] = v;
    p = end;
  }
  return true;
}

// A health field as the integer the format writes in it ("FLOAT converted to
// INTEGER" [1]): the nearest integer; a value beyond 32 bits gives -1 (all bits set).
inline long HealthBits(long double h) {
  if (!(std::fabs(h) < 2147483647.0L)) return -1;
  return static_cast<long>(std::lround(h));
}

// One value as written: FIELD_WIDTH characters (text of 64 characters at least).
inline const char* ValueText(long double v, char* s) {
  return rxhdr::SciField(v, FIELD_WIDTH, FIELD_DECIMALS, FIELD_EXPONENT, s);
}

// Exponent letters D and d become e, from the second character on (the first is
// the system letter of a record line).
inline void ExponentToE(char* line) {
  if (line[0] == 0) return;
  creplace(line + 1, 'D', 'e');
  creplace(line + 1, 'd', 'e');
}
}  // namespace rxnav

// Fills each blank field of a continuation line with a written zero, so that the
// values after it keep their places: a field whose third (decimal point) and
// sixteenth (exponent letter) characters are blanks, on a line long enough to hold it.
inline void fillNAVLine(char* line) {
  const int len = static_cast<int>(strlen(line));
  for (int col : rxnav::FIELD_COL) {
    const int i = col - 1;
    if (len > i + rxnav::FIELD_WIDTH - 1 && line[i + rxnav::FIELD_POINT - 1] == ' ' &&
        line[i + rxnav::FIELD_LETTER - 1] == ' ')
      instr(line, i, rxnav::ZERO_FIELD);
  }
}

namespace rxnav {

// Takes the next line of in as a continuation line of a record (it begins with a
// blank) into line, exponents D and d turned into e; END when there is none, LONG
// when it does not fit the buffer. nLines counts the line read.
inline Fault NextContinuationLine(std::istream& in, char* line, int& nLines) {
  if (in.peek() != ' ') return END;
  bool longLine = false;
  if (!GetFileLine(in, line, LINE_BUF, &longLine)) return END;
  nLines++;
  if (longLine) return LONG;
  ExponentToE(line);
  return OK;
}

// Reads one record of the given layout: the record line in line (isLong when it
// was longer than the buffer), then its continuation lines from in. The satellite
// and the epoch (as written) go to sat and epoch, the values in file order to
// *val[]; values not read stay 0. A line is taken as a continuation line only
// when it begins with a blank, so a record cut short never swallows the record
// line after it. nLines = lines read, faultLine = the record's line (0 = record
// line) where a fault lies.
inline Fault ReadRecord(char* line, bool isLong, std::istream& in, const RecordLayout& lay,
                        long double* const* val, rSat& sat, ymdhms& epoch, int& nLines,
                        int& faultLine) {
  nLines = 1;
  faultLine = 0;
  int nAll = 0;
  for (int k = 0; k <= lay.nCont; k++) nAll += lay.nVal[k];
  for (int k = 0; k < nAll; k++) *val[k] = 0;

  // Satellite; a shorter line is padded, so that its identifier is refused by
  // the identifier test rather than read from beyond the line.
  char id[SAT_WIDTH + 1];
  substr(line, 0, SAT_WIDTH, id);
  fillstr(id, SAT_WIDTH, ' ');
  sat = id;
  if (isLong) return LONG;

  // Epoch: year, month, day, hour, minute, second in columns 4-23.
  if (static_cast<int>(strlen(line)) < CLOCK_COL - 1) return CUT;
  char etext[32];
  substr(line, EPOCH_COL - 1, CLOCK_COL - EPOCH_COL, etext);
  // The fields are scanned wide and taken into 16 bits only when they fit: a
  // value beyond them becomes 65535, which the date test refuses (wrapped, a
  // garbled year such as 67559 would pass as 2023).
  long f[5];
  double s;
  int used = 0;
  if (sscanf(etext, "%ld %ld %ld %ld %ld %lf%n", &f[0], &f[1], &f[2], &f[3], &f[4], &s, &used) != 6)
    return BAD;
  for (const char* p = etext + used; *p != 0; p++)
    if (*p != ' ') return BAD;
  unsigned short v[5];
  for (int k = 0; k < 5; k++) v[k] = (f[k] < 0 || f[k] > 65535) ? 65535 : static_cast<unsigned short>(f[k]);
  epoch.Set(v[0], v[1], v[2], v[3], v[4], static_cast<long double>(s));

  // Clock values from column 24.
  ExponentToE(line);
  if (LineCutShort(line)) return CUT;
  int got = 0;
  if (!ReadValues(line + CLOCK_COL - 1, val, lay.nVal[0], got)) return BAD;
  if (got < lay.nReq[0]) return CUT;

  int iv = lay.nVal[0];
  for (int k = 1; k <= lay.nCont; k++) {
    faultLine = k;
    const Fault next = NextContinuationLine(in, line, nLines);
    if (next != OK) return next;
    fillNAVLine(line);
    if (LineCutShort(line)) return CUT;
    if (!ReadValues(line + VALUE_COL - 1, val + iv, lay.nVal[k], got)) return BAD;
    if (got < lay.nReq[k]) return CUT;
    iv += lay.nVal[k];
  }
  faultLine = 0;
  return OK;
}

// Writes one record in the layout above: the satellite, the epoch (written in the
// system's own time scale) and the values, each as a 19-character number.
inline void PrintRecord(std::ostream& os, rSat& sat, mjd& eph, long double diff2GPSTime,
                        const RecordLayout& lay, long double* const* val) {
  mjd e(eph);
  e += -diff2GPSTime;
  ymdhms d = mjd2ymdhms(e);
  ymdhmsns::PrintType = ymdhmsns::RINEXNAV3;
  rSns::StyleType = rSns::NEWSTYLE;
  os << std::right << sat << d;
  char s[64];
  int iv = 0;
  for (int k = 0; k <= lay.nCont; k++) {
    if (k > 0) os << CONT_LEAD;
    for (int j = 0; j < lay.nVal[k]; j++) os << ValueText(*val[iv++], s);
    os << std::endl;
  }
}

}  // namespace rxnav

// One Keplerian broadcast record (GPS, Galileo, BeiDou, QZSS, NavIC).
class rxENavDataKE {
 public:
  rxENavDataKE() : bIsSet(false), sysIdent(0), diff2GPSTime(0) {}

  // Reads the record from its record line and the seven continuation lines of in.
  // Returns false, with the record not set and the fault kept, when a value cannot
  // be read or the elements give no orbit (eccentricity outside [0, 1), sqrt(A) <= 0,
  // A within the Earth's radius).
  bool Set(char sys, char* line, std::istream& in, bool isLong = false) {
    if (line[0] != sys) {
      char msg[256];
      snprintf(msg, sizeof msg,
               "Input [GPS|GALILEO|BDS|QZSS|IRNSS] NAVIGATION STRING does not start with a >%c< - "
               "not a [GPS|GALILEO|BDS|QZSS|IRNSS] satellite!",
               sys);
      ProgramError("Function:   rxENavDataKE::Set(char,char*,ifstream&)", msg, false);
    }
    bIsSet = false;
    sysIdent = sys;
    long double* val[NVAL];
    Values(val);
    ymdhms epoch;
    fault = rxnav::ReadRecord(line, isLong, in, rxnav::KE_LAYOUT, val, Sat, epoch, nLines, faultLine);
    if (fault != rxnav::OK) return false;
    eph = ymdhms2mjd(epoch);
    diff2GPSTime = 0;
    if (sysIdent == 'C') {  // BeiDou time is GPS time less 14 s
      diff2GPSTime = tscale::GPS_MINUS_BDT;
      eph += diff2GPSTime;
    }
    A = AS * AS;
    if (!(AS > 0) || !(A > MIN_A && std::isfinite(A)) || !(E >= 0) || !(E < 1)) {
      fault = rxnav::RANGE;
      return false;
    }
    bIsSet = true;
    return true;
  }

  // Writes the record back (epoch in the system's own time scale).
  void Print(std::ostream& os) {
    if (!bIsSet) return;
    long double* val[NVAL];
    Values(val);
    rxnav::PrintRecord(os, Sat, eph, diff2GPSTime, rxnav::KE_LAYOUT, val);
  }

  char GetSysIdent() const { return sysIdent; }
  long double GetDiff2GPSTime() const { return diff2GPSTime; }
  // Whether the health field flags the record unhealthy [1]: any bit set of the
  // GPS and QZSS SV health (6 bits of subframe 1), the Galileo SV health (data
  // validity and signal health of E1-B, E5a, E5b), the BeiDou SatH1 and the
  // NavIC health (L5 and S).
  bool IsFlaggedUnhealthy() const { return rxnav::HealthBits(SVHEALTH) != 0; }
  int GetFault() const { return fault; }          // rxnav::Fault of the last Set
  int GetFaultLine() const { return faultLine; }  // line of the fault within the record
  int GetLinesRead() const { return nLines; }     // lines the last Set read

  static constexpr int NVAL = 29;  // values of the record line and its continuation lines
  // No orbit below the Earth's radius (m), taken as the equatorial radius of PZ-90.
  static constexpr long double MIN_A = elipsoidns::TABLE[elipsoidns::PZ90].a;

 private:
  // The values in file order: record line, then continuation lines 1 to 7.
  void Values(long double** val) {
    long double* const v[NVAL] = {&A0,  &A1,  &A2,       &XODE, &CRS,  &DN,   &M0,    &CUC,
                                  &E,   &CUS, &AS,       &TOE,  &CIC,  &OMEGA, &CIS,  &I0,
                                  &CRC, &W,   &OMEGADOT, &IDOT, &DMY1, &SYSW, &DMY2,  &SVACC,
                                  &SVHEALTH, &TGD1, &TGD2, &TODD, &FINT};
    for (int k = 0; k < NVAL; k++) val[k] = v[k];
  }

  bool bIsSet;
  char sysIdent;
  long double diff2GPSTime;

 public:
  rSat Sat;
  mjd eph;  // epoch of the record line (time of clock), GPS time
  long double A0 = 0, A1 = 0, A2 = 0;                // clock bias (s), drift (s/s), drift rate (s/s2)
  long double XODE = 0, CRS = 0, DN = 0, M0 = 0;     // issue of data, Crs (m), delta n (rad/s), M0 (rad)
  long double CUC = 0, E = 0, CUS = 0, AS = 0;       // Cuc (rad), e, Cus (rad), sqrt(A) (m^0.5)
  long double TOE = 0, CIC = 0, OMEGA = 0, CIS = 0;  // toe (s of week), Cic (rad), OMEGA0 (rad), Cis (rad)
  long double I0 = 0, CRC = 0, W = 0, OMEGADOT = 0;  // i0 (rad), Crc (m), omega (rad), OMEGA dot (rad/s)
  long double IDOT = 0, DMY1 = 0, SYSW = 0, DMY2 = 0;         // IDOT (rad/s), codes/sources, week, flag/spare
  long double SVACC = 0, SVHEALTH = 0, TGD1 = 0, TGD2 = 0;    // accuracy (m), health, group delays (s)
  long double TODD = 0, FINT = 0;                    // transmission time (s of week), fit interval/age
  long double A = 0;                                 // semi-major axis (m) = AS * AS

 private:
  int fault = rxnav::OK;
  int faultLine = 0;
  int nLines = 0;
};

// One state-vector broadcast record (GLONASS, SBAS), in km, km/s, km/s2.
class rxENavDataNI {
 public:
  rxENavDataNI() : bIsSet(false), sysIdent(0), diff2GPSTime(0), aE(AE_PZ90), C20(C20_PZ90) {}

  // Reads the record from its record line and three continuation lines of in; with
  // line4 (a version 3.05 file) a GLONASS record also takes a fourth continuation
  // line when one follows. Returns false, with the record not set and the fault
  // kept, when a value cannot be read or the position lies within the Earth's
  // radius (no orbit to integrate).
  bool Set(char sys, char* line, std::istream& in, bool isLong = false, bool line4 = false) {
    if (line[0] != sys) {
      char msg[256];
      snprintf(msg, sizeof msg,
               "Input [GLONASS|SBAS] NAVIGATION STRING does not start with a >%c< - not a "
               "[GLONASS|SBAS] satellite!",
               sys);
      ProgramError("Function:   rxENavDataNI::Set(char,char*,ifstream&)", msg, false);
    }
    bIsSet = false;
    sysIdent = sys;
    long double* val[NVAL];
    Values(val);
    ymdhms epoch;
    fault = rxnav::ReadRecord(line, isLong, in, rxnav::NI_LAYOUT, val, Sat, epoch, nLines, faultLine);
    for (int k = 0; k < NLINE4; k++) {
      *Line4(k) = 0;
      hasLine4[k] = false;
    }
    if (fault == rxnav::OK && line4 && sysIdent == 'R') fault = ReadLine4(line, in);
    if (fault != rxnav::OK) return false;
    eph = ymdhms2mjd(epoch);
    diff2GPSTime = 0;
    if (sysIdent == 'R') {
      diff2GPSTime = static_cast<long double>(LeapSecond(eph));
      eph += diff2GPSTime;
    }
    if (!(KM * std::sqrt(X0 * X0 + Y0 * Y0 + Z0 * Z0) > aE)) {
      fault = rxnav::RANGE;
      return false;
    }
    bIsSet = true;
    return true;
  }

  // Writes the record back (GLONASS epochs in UTC again); with line4 (a version
  // 3.05 file) a GLONASS record gets its fourth continuation line, a field the
  // record did not have left blank (and the line ends after its last value).
  void Print(std::ostream& os, bool line4 = false) {
    if (!bIsSet) return;
    long double* val[NVAL];
    Values(val);
    rxnav::PrintRecord(os, Sat, eph, diff2GPSTime, rxnav::NI_LAYOUT, val);
    if (!line4 || sysIdent != 'R') return;
    char s[64];
    int n = NLINE4;
    while (n > 0 && !hasLine4[n - 1]) n--;
    os << rxnav::CONT_LEAD;
    for (int k = 0; k < n; k++) {
      if (hasLine4[k])
        os << rxnav::ValueText(*Line4(k), s);
      else
        os << std::setw(rxnav::FIELD_WIDTH) << "";
    }
    os << std::endl;
  }

  char GetSysIdent() const { return sysIdent; }
  long double GetAEllipsoid() const { return aE; }
  long double GetC20() const { return C20; }
  long double GetDiff2GPSTime() const { return diff2GPSTime; }
  // Whether the health field flags the record unhealthy [1]. GLONASS: 1 (the MSB
  // of Bn) unhealthy, 0 healthy. SBAS [1, 8.3.3]: bits 0 to 3 the health of
  // message type 17 (ranging, corrections, integrity, reserved), valid only when
  // bit 4 (health not available) is clear, and bit 5 set for URA index 15 (do
  // not use); so a record with bit 5 set, or with health available and ranging,
  // corrections or integrity off.
  bool IsFlaggedUnhealthy() const {
    const long h = rxnav::HealthBits(HEALTH);
    if (sysIdent != 'S') return h != 0;
    if (h < 0) return true;
    return (h & SBAS_URA15) != 0 || ((h & SBAS_NO_HEALTH) == 0 && (h & SBAS_OFF) != 0);
  }
  int GetFault() const { return fault; }
  int GetFaultLine() const { return faultLine; }
  int GetLinesRead() const { return nLines; }

  static constexpr long double AE_PZ90 = elipsoidns::TABLE[elipsoidns::PZ90].a;  // Earth radius of the integration (m)
  static constexpr long double C20_PZ90 = -0.00108263L;  // second zonal harmonic (-J2), PZ-90
  static constexpr long double KM = 1000.0L;             // metres per kilometre of the record units
  static constexpr int NVAL = 15;  // values of the record line and its continuation lines
  static constexpr int NLINE4 = 4;  // values of the fourth GLONASS continuation line (3.05)
  // SBAS health bits [1, 8.3.3]: ranging, corrections, integrity off; health not available; URA index 15
  static constexpr long SBAS_OFF = 0x7, SBAS_NO_HEALTH = 0x10, SBAS_URA15 = 0x20;

 private:
  // The values of the fourth line in file order.
  long double* Line4(int k) {
    long double* const v[NLINE4] = {&STATUS, &DTAU, &URAI, &HFLAGS};
    return v[k];
  }

  // The fourth continuation line of a GLONASS record of a 3.05 file, when the next
  // line is a continuation line (it begins with a blank): each field read on its
  // own columns, a blank field or one beyond the end of the line taken as absent.
  rxnav::Fault ReadLine4(char* line, std::istream& in) {
    if (in.peek() != ' ') return rxnav::OK;  // the record has no fourth line
    faultLine = rxnav::NI_LAYOUT.nCont + 1;
    const rxnav::Fault next = rxnav::NextContinuationLine(in, line, nLines);
    if (next != rxnav::OK) return next;
    if (rxnav::LineCutShort(line)) return rxnav::CUT;
    for (int k = 0; k < NLINE4; k++) {
      char f[rxnav::FIELD_WIDTH + 1];
      substr(line, rxnav::FIELD_COL[k] - 1, rxnav::FIELD_WIDTH, f);
      if (strspn(f, " ") == strlen(f)) continue;
      if (!DecimalField(f, *Line4(k))) return rxnav::BAD;
      hasLine4[k] = true;
    }
    faultLine = 0;
    return rxnav::OK;
  }

  // The values in file order: record line, then continuation lines 1 to 3.
  void Values(long double** val) {
    long double* const v[NVAL] = {&DT0, &DT1,  &TK,   &X0, &XD0, &XDD0, &HEALTH, &Y0,
                                  &YD0, &YDD0, &DMY1, &Z0, &ZD0, &ZDD0, &DMY2};
    for (int k = 0; k < NVAL; k++) val[k] = v[k];
  }

  bool bIsSet;
  char sysIdent;
  long double diff2GPSTime;
  long double aE;
  long double C20;

 public:
  rSat Sat;
  mjd eph;  // epoch of the record line, GPS time
  long double DT0 = 0, DT1 = 0, TK = 0;              // -TauN / aGf0 (s), +GammaN / aGf1, frame time (s)
  long double X0 = 0, XD0 = 0, XDD0 = 0, HEALTH = 0;
  long double Y0 = 0, YD0 = 0, YDD0 = 0, DMY1 = 0;   // DMY1: frequency number / accuracy code
  long double Z0 = 0, ZD0 = 0, ZDD0 = 0, DMY2 = 0;   // DMY2: age of information / IODN
  // Fourth GLONASS line of version 3.05 [1, appendix A]: status flags, L1/L2 group
  // delay difference (s), URAI (raw accuracy index), health flags; hasLine4 tells
  // which of them the record gave (a 3.04 file or a blank field gives none).
  long double STATUS = 0, DTAU = 0, URAI = 0, HFLAGS = 0;
  bool hasLine4[NLINE4] = {false, false, false, false};

 private:
  int fault = rxnav::OK;
  int faultLine = 0;
  int nLines = 0;
};
