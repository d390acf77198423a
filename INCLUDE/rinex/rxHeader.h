// Header records of a RINEX 3 navigation file (versions 3.00 to 3.05) and the
// summary of its data section: RINEX VERSION / TYPE, PGM / RUN BY / DATE, the
// time lines (TIME OF FIRST/LAST OBS, INTERVAL, LEAP SECONDS, TIME SYSTEM CORR),
// IONOSPHERIC CORR, and rxDataSum (record counts and satellite lists per system).
// Columns are counted from 1; times in seconds. References: [1] RINEX 3.05.
#pragma once

#include <cerrno>    // errno
#include <cmath>     // std::isfinite
#include <cstdint>   // int32_t
#include <cstdio>    // snprintf
#include <cstdlib>   // atof, atoi, strtod
#include <cstring>   // strstr, strcmp, strncpy, strlen
#include <iomanip>   // setw, setprecision
#include <iostream>  // cout
#include <ostream>   // ostream

#include "functions/CppCas.h"     // CppCas::rxAscii (run date of written headers)
#include "functions/cstrings.h"   // substr, trim, creplace, sciNotation
#include "gdata/GNSSsys.h"        // gnss::systems, gnss::Member, gnss::kSatCounts, gnss::kSatLists, gnss::HeaderText
#include "gdata/mjd.h"            // mjd
#include "gdata/myList.h"         // myList, iomlns
#include "gdata/rSat.h"           // rSat
#include "gdata/timeconv.h"       // ymdhms2mjd, mjd2ymdhms
#include "gdata/ymdhms.h"         // ymdhms, ymdhmsns
#include "pgminc/ProgramError.h"  // ProgramError, ProgramWarning

namespace rxhdr {

// One fixed-column field of a header line: first column (from 1) and width.
struct Col {
  int col;
  int width;
};

// The fields of the header lines as [1] lays them out (format in brackets).
// RINEX VERSION / TYPE: version (F9.2, searched in columns 1-9), file type (A1),
// satellite system (A1).
inline constexpr Col VERSION{1, 9}, VERSION_TYPE{21, 1}, VERSION_SYSTEM{41, 1};
// PGM / RUN BY / DATE: three texts (A20).
inline constexpr Col PGM{1, 20}, RUN_BY{21, 20}, RUN_DATE{41, 20};
// TIME OF FIRST OBS / TIME OF LAST OBS: year, month, day, hour, minute (5I6),
// second (F13.7), time system (A3).
inline constexpr Col OBS_EPOCH[5] = {{1, 6}, {7, 6}, {13, 6}, {19, 6}, {25, 6}};
inline constexpr Col OBS_SECOND{31, 13}, OBS_SYSTEM{49, 3};
// LEAP SECONDS: the current value (I6), then the future or past one (I6), blank
// when the line leaves it out.
inline constexpr Col LEAP_NOW{1, 6}, LEAP_OTHER{7, 6};
// TIME SYSTEM CORR: kind (A4), a blank, a0 (D17.10), a1 (D16.9), then reference
// time (I6) and week (I4), each taken with the blank before it.
inline constexpr Col CORR_KIND{1, 4}, CORR_A0{6, 17}, CORR_A1{23, 16}, CORR_T{39, 7}, CORR_W{46, 5};
// IONOSPHERIC CORR: kind (A4), a blank, four coefficients (4D12.4).
inline constexpr Col IONO_KIND{1, 4};
inline constexpr Col IONO_COEF[4] = {{6, 12}, {18, 12}, {30, 12}, {42, 12}};

// Character at column col (from 1), a blank beyond the end of the line.
inline char ColumnChar(const char* line, int col) {
  return static_cast<int>(strlen(line)) >= col ? line[col - 1] : ' ';
}
// The last character of field f, a blank beyond the end of the line.
inline char LastChar(const char* line, Col f) { return ColumnChar(line, f.col + f.width - 1); }

// Field f copied into out (room for its width + 1).
inline void Field(const char* line, Col f, char* out) { substr(line, f.col - 1, f.width, out); }

// Field f as a number, 'D' exponents taken as 'e'. True when the field is blank
// (value 0) or holds one whole finite number.
inline bool FieldNumber(const char* line, Col f, double& value) {
  char t[64];
  Field(line, {f.col, f.width < 63 ? f.width : 63}, t);
  creplace(t, 'D', 'e');
  trim(t);
  value = 0;
  if (t[0] == 0) return true;
  char* end = nullptr;
  errno = 0;
  double v = strtod(t, &end);
  if (end == t || *end != 0 || !std::isfinite(v)) return false;
  value = v;
  return true;
}

// A number in the written layout: sciNotation with nn characters, nd decimals and
// an exponent field of ne. Where its mantissa rounds up to 10 the text loses its
// leading blank (or grows) and runs into the field before it, and reads back as
// another number; that value is written normalised instead, in the same width.
// So is a value whose exponent needs more digits than the field has room for
// (beyond 1e+-99 with ne = 3): it gives up decimals of its mantissa, one per
// extra digit, so that every nonzero value stays nonzero, in its field and apart
// from the value before it (a blank or its sign first).
inline char* SciField(long double x, int nn, int nd, int ne, char* snum) {
  sciNotation(x, nn, nd, ne, snum);
  const char* dot = strchr(snum, '.');
  const bool tens = dot != nullptr && dot - snum >= 2 && isdigit(static_cast<unsigned char>(dot[-2]));
  auto fits = [&] { return static_cast<int>(strlen(snum)) == nn && (snum[0] == ' ' || snum[0] == '-'); };
  if (tens || !fits()) {
    for (int d = nd; d >= 0; d--) {
      snprintf(snum, 64, "%*.*Le", nn, d, x);
      if (fits()) break;
    }
  }
  return snum;
}

}  // namespace rxhdr

// RINEX VERSION / TYPE: version 3.00 to 3.05 (0 to 5), file type, system letter.
class rxVersionType {
 public:
  rxVersionType() : bIsSet(false), Version(0), Type(0), SatSystem(0), PrintType(0) {
    strcpy(rxLine, "RINEX VERSION / TYPE");
  }

  // Takes the version line: type, system and version text (the version is not
  // read for clock files, type 'C').
  void Set(char* line) {
    char msg[256];
    if (strstr(line, rxLine) == nullptr) {
      snprintf(msg, sizeof msg, "Input STRING not a >%s<!", rxLine);
      ProgramError("Function:   rxVersionType::Set(char*)", msg, false);
    }
    Type = rxhdr::ColumnChar(line, rxhdr::VERSION_TYPE.col);
    SatSystem = rxhdr::ColumnChar(line, rxhdr::VERSION_SYSTEM.col);
    if (Type != 'C') {
      static const char* versions[] = {"3.00", "3.01", "3.02", "3.03", "3.04", "3.05"};
      char first9[rxhdr::VERSION.width + 1];
      rxhdr::Field(line, rxhdr::VERSION, first9);
      short found = -1;
      for (short k = 0; k < 6 && found < 0; k++)
        if (strstr(first9, versions[k]) != nullptr) found = k;
      if (found < 0) {
        snprintf(msg, sizeof msg, "RINEX VERSION: %s - not 3.0[1|2|3|4|5] version!", first9);
        ProgramError("Function:   rxVersionType::Set(char*)", msg, false);
      }
      Version = found;
    }
    bIsSet = true;
  }

  short GetVersion() const { return Version; }
  char GetType() const { return Type; }
  char GetSatSystem() const { return SatSystem; }

  // Type text of the written line (20 characters) or of the summary, "" if unknown.
  static const char* TypeText(char t, bool summary) {
    switch (t) {
      case 'O': case 'o': return summary ? "Observation data" : "OBSERVATION DATA    ";
      case 'N': case 'n': return summary ? "N: GNSS nav. data" : "N: GNSS NAV. DATA   ";
      case 'M': case 'm': return summary ? "Metorological data" : "METOROLOGICAL DATA  ";
      case 'C': case 'c': return summary ? "Clock data" : "CLOCK DATA          ";
    }
    return "";
  }

  // System text of a letter (either case; "M: MIXED" for a mixed file, blanks for
  // a blank) left-justified in 20 columns; nothing for an unknown letter.
  static void WriteSystemText(std::ostream& os, char s) {
    const char* text = gnss::HeaderText(s);
    if (text == nullptr) return;
    os << text;
    for (size_t n = strlen(text); n < 20; n++) os << ' ';
  }


 private:
  bool bIsSet;
  char rxLine[64];
  short Version;
  char Type;
  char SatSystem;

 public:
  short PrintType;  // 0 RINEX header line, 1 summary line

  friend std::ostream& operator<<(std::ostream& os, rxVersionType& r);
};

// PGM / RUN BY / DATE: program, agency and date texts, trimmed.
class rxPgmRunDate {
 public:
  rxPgmRunDate() : PrintType(0), bIsSet(false) {
    strcpy(rxLine, "PGM / RUN BY / DATE");
    Pgm[0] = RunBy[0] = Date[0] = 0;
  }

  void Set(char* line) {
    if (strstr(line, rxLine) == nullptr) {
      char msg[256];
      snprintf(msg, sizeof msg, "Input STRING not a >%s<!", rxLine);
      ProgramError("Function:   rxPgmRunDate::Set(char*,ifstream&)", msg, false);
    }
    rxhdr::Field(line, rxhdr::PGM, Pgm);
    rxhdr::Field(line, rxhdr::RUN_BY, RunBy);
    rxhdr::Field(line, rxhdr::RUN_DATE, Date);
    trim(Pgm);
    trim(RunBy);
    trim(Date);
    bIsSet = true;
  }

  bool IsSet() const { return bIsSet; }

  char Pgm[21];
  char RunBy[21];
  char Date[21];
  short PrintType;

 private:
  bool bIsSet;
  char rxLine[64];
};

// Time lines of a RINEX header, kept for the summary and the writer; none enters
// a computation (the GLONASS clock stays in GLONASS time, without GLUT).
class rxTimeInfo {
 public:
  rxTimeInfo()
      : bIsSetInterval(false), bIsSetFirst(false), bIsSetLast(false), bIsLeapSecond(false),
        isbEU(false), isbGU(false), isbSU(false), isbRU(false), isbGE(false), isbEG(false),
        isbRG(false), isbJG(false), isbJU(false), isbCU(false), isbIU(false), isbIG(false),
        Interval(0), LeapSecond(0), fpLeapSecond(0), PrintType(0) {
    SysFirst[0] = SysLast[0] = 0;
  }

  // Takes a time line of any of the five labels.
  void Set(char* line) {
    if (strstr(line, "TIME OF FIRST OBS") != nullptr) {
      SetEpoch(line, eFirst, SysFirst);
      bIsSetFirst = true;
    } else if (strstr(line, "TIME OF LAST OBS") != nullptr) {
      SetEpoch(line, eLast, SysLast);
      bIsSetLast = true;
    } else if (strstr(line, "INTERVAL") != nullptr) {
      Interval = atof(line);
      bIsSetInterval = true;
    } else if (strstr(line, "LEAP SECONDS") != nullptr) {
      char f[16];
      rxhdr::Field(line, rxhdr::LEAP_NOW, f);
      LeapSecond = atof(f);
      if (rxhdr::LastChar(line, rxhdr::LEAP_OTHER) == ' ') {
        fpLeapSecond = LeapSecond;
      } else {
        rxhdr::Field(line, rxhdr::LEAP_OTHER, f);
        fpLeapSecond = atof(f);
      }
      bIsLeapSecond = true;
    } else if (strstr(line, "TIME SYSTEM CORR") != nullptr) {
      SetCorrection(line);
    } else {
      ProgramError("Function:   rxTimeInfo::Set(char*)",
                   "Input STRING not a >TIME OF [FIRST|LAST] OBS<, >INTERVAL<, >LEAP SECONDS< or "
                   ">TIME SYSTEM CORR<!",
                   false);
    }
  }

  bool GetIsbEU() const { return isbEU; }
  bool GetIsbGU() const { return isbGU; }
  bool GetIsbSU() const { return isbSU; }
  bool GetIsbRU() const { return isbRU; }
  bool GetIsbGE() const { return isbGE; }
  bool GetIsbEG() const { return isbEG; }
  bool GetIsbRG() const { return isbRG; }
  bool GetIsbJG() const { return isbJG; }
  bool GetIsbJU() const { return isbJU; }
  bool GetIsbCU() const { return isbCU; }
  bool GetIsbIU() const { return isbIU; }
  bool GetIsbIG() const { return isbIG; }
  // True once any time line has been taken.
  bool IsSet() const {
    return bIsSetInterval || bIsSetFirst || bIsSetLast || bIsLeapSecond || isbEU || isbGU || isbSU ||
           isbRU || isbGE || isbEG || isbRG || isbJG || isbJU || isbCU || isbIU || isbIG;
  }

 private:
  bool bIsSetInterval, bIsSetFirst, bIsSetLast, bIsLeapSecond;
  bool isbEU, isbGU, isbSU, isbRU, isbGE, isbEG, isbRG, isbJG, isbJU, isbCU, isbIU, isbIG;

 public:
  double Interval;      // observation interval (s)
  double LeapSecond;    // current leap seconds
  double fpLeapSecond;  // future or past leap seconds
  char SysFirst[4], SysLast[4];
  mjd eFirst, eLast;    // first and last epoch as written (no scale change)
  short PrintType;
  // Correction terms a0 (s), a1 (s/s), reference time (s of week) and week per slot.
  double a0_EU = 0, a1_EU = 0, a0_GU = 0, a1_GU = 0, a0_SU = 0, a1_SU = 0, a0_RU = 0, a1_RU = 0,
         a0_GE = 0, a1_GE = 0, a0_RG = 0, a1_RG = 0, a0_JG = 0, a1_JG = 0, a0_JU = 0, a1_JU = 0,
         a0_CU = 0, a1_CU = 0, a0_IU = 0, a1_IU = 0, a0_IG = 0, a1_IG = 0;
  int32_t ts_EU = 0, tw_EU = 0, ts_GU = 0, tw_GU = 0, ts_SU = 0, tw_SU = 0, ts_RU = 0, tw_RU = 0,
          ts_GE = 0, tw_GE = 0, ts_RG = 0, tw_RG = 0, ts_JG = 0, tw_JG = 0, ts_JU = 0, tw_JU = 0,
          ts_CU = 0, tw_CU = 0, ts_IU = 0, tw_IU = 0, ts_IG = 0, tw_IG = 0;

  // One TIME SYSTEM CORR kind: its name, the slot it fills and its flag.
  struct CorrKind {
    const char* name;
    double rxTimeInfo::*a0;
    double rxTimeInfo::*a1;
    int32_t rxTimeInfo::*ts;
    int32_t rxTimeInfo::*tw;
    bool rxTimeInfo::*flag;
  };
  static constexpr int NKINDS = 12;
  // The kinds in the order of search and of writing; GPGA and GAGP share the GE slot.
  static const CorrKind* Kinds() {
    static const CorrKind k[NKINDS] = {
        {"GAUT", &rxTimeInfo::a0_EU, &rxTimeInfo::a1_EU, &rxTimeInfo::ts_EU, &rxTimeInfo::tw_EU, &rxTimeInfo::isbEU},
        {"GPUT", &rxTimeInfo::a0_GU, &rxTimeInfo::a1_GU, &rxTimeInfo::ts_GU, &rxTimeInfo::tw_GU, &rxTimeInfo::isbGU},
        {"SBUT", &rxTimeInfo::a0_SU, &rxTimeInfo::a1_SU, &rxTimeInfo::ts_SU, &rxTimeInfo::tw_SU, &rxTimeInfo::isbSU},
        {"GLUT", &rxTimeInfo::a0_RU, &rxTimeInfo::a1_RU, &rxTimeInfo::ts_RU, &rxTimeInfo::tw_RU, &rxTimeInfo::isbRU},
        {"GPGA", &rxTimeInfo::a0_GE, &rxTimeInfo::a1_GE, &rxTimeInfo::ts_GE, &rxTimeInfo::tw_GE, &rxTimeInfo::isbGE},
        {"GAGP", &rxTimeInfo::a0_GE, &rxTimeInfo::a1_GE, &rxTimeInfo::ts_GE, &rxTimeInfo::tw_GE, &rxTimeInfo::isbEG},
        {"GLGP", &rxTimeInfo::a0_RG, &rxTimeInfo::a1_RG, &rxTimeInfo::ts_RG, &rxTimeInfo::tw_RG, &rxTimeInfo::isbRG},
        {"QZGP", &rxTimeInfo::a0_JG, &rxTimeInfo::a1_JG, &rxTimeInfo::ts_JG, &rxTimeInfo::tw_JG, &rxTimeInfo::isbJG},
        {"QZUT", &rxTimeInfo::a0_JU, &rxTimeInfo::a1_JU, &rxTimeInfo::ts_JU, &rxTimeInfo::tw_JU, &rxTimeInfo::isbJU},
        {"BDUT", &rxTimeInfo::a0_CU, &rxTimeInfo::a1_CU, &rxTimeInfo::ts_CU, &rxTimeInfo::tw_CU, &rxTimeInfo::isbCU},
        {"IRUT", &rxTimeInfo::a0_IU, &rxTimeInfo::a1_IU, &rxTimeInfo::ts_IU, &rxTimeInfo::tw_IU, &rxTimeInfo::isbIU},
        {"IRGP", &rxTimeInfo::a0_IG, &rxTimeInfo::a1_IG, &rxTimeInfo::ts_IG, &rxTimeInfo::tw_IG, &rxTimeInfo::isbIG}};
    return k;
  }

  friend std::ostream& operator<<(std::ostream& os, rxTimeInfo& r);

 private:
  // Epoch of a TIME OF FIRST/LAST OBS line and its time system.
  static void SetEpoch(const char* line, mjd& e, char* sys) {
    unsigned short v[5];
    char f[16];
    for (int k = 0; k < 5; k++) {
      rxhdr::Field(line, rxhdr::OBS_EPOCH[k], f);
      // a value beyond 16 bits becomes 65535, which the date test refuses
      const int n = atoi(f);
      v[k] = (n < 0 || n > 65535) ? 65535 : static_cast<unsigned short>(n);
    }
    rxhdr::Field(line, rxhdr::OBS_SECOND, f);
    ymdhms d;
    d.Set(v[0], v[1], v[2], v[3], v[4], static_cast<long double>(atof(f)));
    e = ymdhms2mjd(d);
    rxhdr::Field(line, rxhdr::OBS_SYSTEM, sys);
  }

  // TIME SYSTEM CORR line: a0, a1, reference time and week. Terms that are not
  // numbers are not stored, so a bad GLUT line cannot shift GLONASS clocks.
  void SetCorrection(const char* line) {
    char msg[256];
    char kind[8];
    rxhdr::Field(line, rxhdr::CORR_KIND, kind);
    const CorrKind* k = Kinds();
    int ik = 0;
    while (ik < NKINDS && strstr(line, k[ik].name) == nullptr) ik++;
    if (ik == NKINDS) {
      snprintf(msg, sizeof msg, "Input TIME SYSTEM CORR line parameter: >%s< undefined!", kind);
      ProgramWarning("Function:   rxTimeInfo::Set(char*)", msg);
      return;
    }
    double a0, a1;
    if (!rxhdr::FieldNumber(line, rxhdr::CORR_A0, a0) || !rxhdr::FieldNumber(line, rxhdr::CORR_A1, a1)) {
      snprintf(msg, sizeof msg, "Input TIME SYSTEM CORR line parameter: >%s< terms not readable!",
               k[ik].name);
      ProgramWarning("Function:   rxTimeInfo::Set(char*)", msg);
      return;
    }
    char f[16];
    this->*(k[ik].a0) = a0;
    this->*(k[ik].a1) = a1;
    rxhdr::Field(line, rxhdr::CORR_T, f);
    this->*(k[ik].ts) = atoi(f);
    rxhdr::Field(line, rxhdr::CORR_W, f);
    this->*(k[ik].tw) = atoi(f);
    this->*(k[ik].flag) = true;
  }
};

// IONOSPHERIC CORR: four coefficients per kind.
class rxIonoCorr {
 public:
  static constexpr int NKINDS = 9;

  rxIonoCorr() { strcpy(rxLine, "IONOSPHERIC CORR"); }

  // Takes one line: the kind and its four coefficients.
  void Set(char* line) {
    char msg[256];
    if (strstr(line, rxLine) == nullptr) {
      snprintf(msg, sizeof msg, "Input STRING not a >%s<!", rxLine);
      ProgramError("Function:   rxIonoCorr::Set(char*)", msg, false);
    }
    char kind[8];
    rxhdr::Field(line, rxhdr::IONO_KIND, kind);
    int ik = 0;
    while (ik < NKINDS && strcmp(kind, KindName(ik)) != 0) ik++;
    if (ik == NKINDS) {
      snprintf(msg, sizeof msg, "IONOSPHERIC CORRECTION TYPE: %s - undefined!", kind);
      ProgramWarning("Function:   rxIonoCorr::Set(char*)", msg);
      return;
    }
    myList<float>& ic = List(ik);
    ic.Resize(4, 1, 0.0f);
    for (int j = 0; j < 4; j++) {
      char f[16];
      rxhdr::Field(line, rxhdr::IONO_COEF[j], f);
      creplace(f, 'D', 'e');
      ic(j) = static_cast<float>(atof(f));
    }
    *Flag(ik) = true;
  }

  // Kind names as written in columns 1-4, in the order of writing.
  static const char* KindName(int ik) {
    static const char* names[NKINDS] = {"GAL ", "GPSA", "GPSB", "QZSA", "QZSB",
                                        "BDSA", "BDSB", "IRNA", "IRNB"};
    return names[ik];
  }
  myList<float>& List(int ik) {
    myList<float>* l[NKINDS] = {&icE, &icGA, &icGB, &icJA, &icJB, &icCA, &icCB, &icIA, &icIB};
    return *l[ik];
  }
  bool IsSet(int ik) { return *Flag(ik); }

  myList<float> icE, icGA, icGB, icJA, icJB, icCA, icCB, icIA, icIB;

 private:
  bool* Flag(int ik) {
    bool* f[NKINDS] = {&bIsSetE, &bIsSetGA, &bIsSetGB, &bIsSetJA, &bIsSetJB,
                       &bIsSetCA, &bIsSetCB, &bIsSetIA, &bIsSetIB};
    return f[ik];
  }

  bool bIsSetE = false, bIsSetGA = false, bIsSetGB = false, bIsSetJA = false, bIsSetJB = false;
  bool bIsSetCA = false, bIsSetCB = false, bIsSetIA = false, bIsSetIB = false;
  char rxLine[64];
};

// Record counts and satellite lists of a navigation file.
class rxDataSum {
 public:
  // Count and list of one system by its letter; null for any other letter.
  int* Count(char sys) {
    static_assert(gnss::OnceEach(gnss::kSatCounts<rxDataSum>) && gnss::OnceEach(gnss::kSatLists<rxDataSum>),
                  "a letter of no system or twice");
    return gnss::Member(*this, sys, gnss::kSatCounts<rxDataSum>);
  }
  myList<rSat>* List(char sys) { return gnss::Member(*this, sys, gnss::kSatLists<rxDataSum>); }

  // Counts one record of sat, whose letter is one of the seven systems.
  void AddRecord(rSat& sat) {
    nSat++;
    (*Count(sat.GetISys()))++;
    if (!lSat.Find(sat)) lSat.PushBack(sat);
    myList<rSat>* l = List(sat.GetISys());
    if (!l->Find(sat)) l->PushBack(sat);
  }

  // Summary to standard output: counts per system, then the satellite lists.
  void Print() {
    std::ostream& os = std::cout;
    if (nEpoch != 0) os << "  nEpoch = " << std::setw(6) << nEpoch << std::endl;
    os << "  nSat = " << std::setw(10) << nSat << " [";
    for (const GNSSsys& s : gnss::systems)
      if (*Count(s.letter) != 0) os << "   " << s.letter << ": " << std::setw(8) << *Count(s.letter);
    os << "]" << std::endl;
    iomlns::PrintType = iomlns::RAW;
    os << "  Sat: " << lSat << std::endl;
    for (const GNSSsys& s : gnss::systems)
      if (*Count(s.letter) != 0) os << "   " << s.letter << ": " << *List(s.letter) << std::endl;
    os << std::endl;
  }

  int nEpoch = 0, nSat = 0;
  int nSatG = 0, nSatR = 0, nSatE = 0, nSatC = 0, nSatS = 0, nSatJ = 0, nSatI = 0;
  myList<rSat> lSat, lSatG, lSatR, lSatE, lSatC, lSatS, lSatJ, lSatI;
};

// Version record: the RINEX line (PrintType 0) or the summary line (1).
inline std::ostream& operator<<(std::ostream& os, rxVersionType& r) {
  if (!r.bIsSet) return os;
  static const char* vtext[6] = {"     3.00", "     3.01", "     3.02",
                                 "     3.03", "     3.04", "     3.05"};
  static const char* vsum[6] = {" 3.00", " 3.01", " 3.02", " 3.03", " 3.04", " 3.05"};
  const bool okV = r.Version >= 0 && r.Version <= 5;
  if (r.PrintType == 0) {
    os << (okV ? vtext[r.Version] : "         ") << "           "
       << rxVersionType::TypeText(r.Type, false);
    rxVersionType::WriteSystemText(os, r.SatSystem);
    os << "RINEX VERSION / TYPE" << std::endl;
  } else if (r.PrintType == 1) {
    os << "  Version/Type/System: " << (okV ? vsum[r.Version] : "") << " / "
       << rxVersionType::TypeText(r.Type, true) << " / ";
    rxVersionType::WriteSystemText(os, r.SatSystem);
    os << std::endl << std::endl;
  }
  return os;
}

// Program record: the line read as a COMMENT and this program's own line.
inline std::ostream& operator<<(std::ostream& os, rxPgmRunDate& r) {
  if (!r.IsSet()) return os;
  if (r.PrintType == 0) {
    CppCas clk;
    os << std::left << std::setw(20) << r.Pgm << std::setw(20) << r.RunBy << std::setw(20)
       << r.Date << "COMMENT" << std::endl;
    os << std::setw(20) << "Morvi" << std::setw(20) << "I.VANTOK KQ-TRM" << std::setw(20)
       << clk.rxAscii() << "PGM / RUN BY / DATE" << std::endl;
    os << std::right;
  } else if (r.PrintType == 1) {
    os << "  Run by/Program/Date: " << r.Pgm << " / " << r.RunBy << " / " << r.Date << std::endl
       << std::endl;
  }
  return os;
}

// Time record: one line per line taken (PrintType 0) or the summary lines (1);
// nothing before a line was taken. Numbers in the stream's notation (the file
// writer sets it to fixed).
inline std::ostream& operator<<(std::ostream& os, rxTimeInfo& r) {
  if (!r.IsSet()) return os;
  if (r.PrintType == 1) {
    // an epoch never read (MJD 0) has no calendar date and is left out
    os << "  Time First/Last/Interval: ";
    if (r.bIsSetFirst) {
      ymdhms f = mjd2ymdhms(r.eFirst);
      os << f;
    }
    os << " / ";
    if (r.bIsSetLast) {
      ymdhms l = mjd2ymdhms(r.eLast);
      os << l;
    }
    os << " / " << r.Interval << std::endl;
    os << "  Leap seconds/Previous: " << r.LeapSecond << " / " << r.fpLeapSecond << std::endl
       << std::endl;
    return os;
  }
  if (r.PrintType != 0) return os;
  os << std::right;
  if (r.bIsSetFirst || r.bIsSetLast) ymdhmsns::PrintType = ymdhmsns::RINEXHEADER;
  if (r.bIsSetFirst) {
    ymdhms f = mjd2ymdhms(r.eFirst);
    os << f << std::setw(8) << r.SysFirst << std::setw(9) << " " << "TIME OF FIRST OBS" << std::endl;
  }
  if (r.bIsSetLast) {
    ymdhms l = mjd2ymdhms(r.eLast);
    os << l << std::setw(8) << r.SysLast << std::setw(9) << " " << "TIME OF LAST OBS" << std::endl;
  }
  if (r.bIsSetInterval)
    os << std::setw(10) << std::setprecision(3) << r.Interval << std::setw(50) << " "
       << "INTERVAL" << std::endl;
  if (r.bIsLeapSecond)
    os << std::setprecision(0) << std::setw(6) << r.LeapSecond << std::setw(6)
       << r.fpLeapSecond << std::setw(48) << " " << "LEAP SECONDS" << std::endl;
  const rxTimeInfo::CorrKind* k = rxTimeInfo::Kinds();
  for (int ik = 0; ik < rxTimeInfo::NKINDS; ik++) {
    if (!(r.*(k[ik].flag))) continue;
    char s0[64], s1[64];
    os << k[ik].name << " " << rxhdr::SciField(r.*(k[ik].a0), rxhdr::CORR_A0.width, 10, 3, s0)
       << rxhdr::SciField(r.*(k[ik].a1), rxhdr::CORR_A1.width, 9, 3, s1) << std::setw(rxhdr::CORR_T.width)
       << r.*(k[ik].ts) << std::setw(rxhdr::CORR_W.width) << r.*(k[ik].tw) << "          TIME SYSTEM CORR"
       << std::endl;
  }
  return os;
}

// Ionosphere record: one RINEX line per kind taken.
inline std::ostream& operator<<(std::ostream& os, rxIonoCorr& r) {
  static const char* text[rxIonoCorr::NKINDS] = {"GAL  ", "GPSA ", "GPSB ", "QZSA ", "QZSB ",
                                                 "BDSA ", "BDSB ", "IRNA ", "IRNB "};
  for (int ik = 0; ik < rxIonoCorr::NKINDS; ik++) {
    if (!r.IsSet(ik)) continue;
    os << text[ik];
    char s[64];
    for (int j = 0; j < 4; j++) os << rxhdr::SciField(r.List(ik)(j), 12, 4, 3, s);
    os << "       " << "IONOSPHERIC CORR" << std::endl;
  }
  return os;
}
