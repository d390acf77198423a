// Command-line parameter types of the application: a text (pChars), a flag
// (pBool), an epoch (pDate), a satellite list (pSats), a system selection
// (pGSys), a real number with unit (pFloat) and an integer with unit (pInteger).
// Each holds a private set flag that only the user's option or SetManually sets,
// parses its option token, echoes it to standard error in verbose mode and
// prints one line of the settings report (" ---" when unset).
#pragma once

#include <cctype>    // toupper
#include <cerrno>    // errno, ERANGE
#include <cmath>     // isfinite
#include <cstdio>    // snprintf
#include <cstdlib>   // atof, atoi, atol, strtol
#include <cstring>   // strlen, strchr, strstr, strcpy, strcat, strncpy, memset
#include <iomanip>   // setw, setprecision
#include <ostream>   // ostream

#include "functions/cstrings.h"  // FileExists, DecimalLength
#include "gdata/GNSSsys.h"       // gnss::systems, gnss::Member
#include "gdata/mjd.h"           // mjd
#include "gdata/myList.h"        // myList, iomlns
#include "gdata/rSat.h"          // rSat
#include "gdata/timeconv.h"      // ymdhms2mjd, mjd2ymdhms
#include "gdata/ymdhms.h"        // ymdhms, ymdhmsns
#include "pgminc/ProgramError.h" // ProgramWarning, ProgramError
#include "pgminc/ProgramOut.h"   // ProgramCerrPrintItem

namespace prgparms {

// Room of the fixed text fields (characters, without the terminating NUL).
constexpr long MaxChars = 2047;     // pChars::Rec
constexpr long MaxSatList = 1027;   // work buffer of pSats::Parse
constexpr long MaxUnit = 63;        // pFloat::Unit, pInteger::Unit

// A value of length len does not fit a field of room max: warns, naming the
// option (the token's characters before the value, at most four).
inline bool RefuseLongValue(const char* place, const char* token, const char* value, long len, long max) {
  if (len <= max) return false;
  int optLen = static_cast<int>(value - token);
  if (optLen < 0 || optLen > 4) optLen = 4;
  char warn[256];
  snprintf(warn, sizeof(warn),
           "Value of command line parameter >%.*s< TOO LONG (%ld > %ld characters) - PARAMETER NOT SET!",
           optLen, token, len, max);
  ProgramWarning(place, warn);
  return true;
}

// A decimal digit 0 to 9 (isdigit depends on the locale and on the sign of char).
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A value of the command line that is not what its option takes ends the run
// before any output: the fatal frame names the whole token and what was wanted.
[[noreturn]] inline void RefuseValue(const char* place, const char* format, const char* token) {
  char err[512];
  snprintf(err, sizeof(err), format, static_cast<int>(strlen(token) > 300 ? 300 : strlen(token)), token);
  ProgramError(place, err, false);
}

// True when value is one finite decimal number and nothing else: no blank,
// unit, comma or other text around it ("60", "0.5", "-1", "1e2"; not "1,5",
// "5min", "nan", "0x10" or a number too large for a double).
inline bool IsDecimalNumber(const char* value) {
  const int n = DecimalLength(value);
  return n > 0 && value[n] == 0 && std::isfinite(atof(value));
}

// True when the decimal number value (one IsDecimalNumber takes) has no digit
// but 0 below the tenths, read from its text: "0.5", "1.50", "2e1" and "15e-1"
// are whole tenths; "0.15", "100000000.05" and "1e-2" are not, however close
// their binary value comes to a tenth.
inline bool WholeTenths(const char* value) {
  const char* p = (*value == '+' || *value == '-') ? value + 1 : value;
  const char* end = p;
  while (IsDigit(*end) || *end == '.') end++;
  const char* point = p;
  while (point < end && *point != '.') point++;
  // the exponent, bounded: a digit 10^5 places down is below the tenths anyway
  long exp = (*end == 'e' || *end == 'E') ? strtol(end + 1, nullptr, 10) : 0;
  exp = exp > 100000 ? 100000 : (exp < -100000 ? -100000 : exp);
  for (const char* q = p; q < end; q++) {
    if (q == point || *q == '0') continue;
    const long place = q < point ? static_cast<long>(point - q) - 1 : static_cast<long>(point - q);  // -1: tenths
    if (place + exp < -1) return false;
  }
  return true;
}

// True when value is a whole number and nothing else: an optional sign and
// digits, within the range of long.
inline bool IsWholeNumber(const char* value) {
  const char* p = (*value == '+' || *value == '-') ? value + 1 : value;
  if (*p == 0) return false;
  for (; *p != 0; p++)
    if (!IsDigit(*p)) return false;
  errno = 0;
  strtol(value, nullptr, 10);
  return errno != ERANGE;
}

// True when text has exactly the form of pattern: 'd' a decimal digit, '.'
// an optional fraction at the end (a point and one digit at least), any other
// character itself.
inline bool HasForm(const char* text, const char* pattern) {
  for (; *pattern != 0 && *pattern != '.'; pattern++, text++) {
    if (*pattern == 'd' ? !IsDigit(*text) : *text != *pattern) return false;
  }
  if (*pattern == '.' && *text == '.') {
    text++;
    if (!IsDigit(*text)) return false;
    while (IsDigit(*text)) text++;
  }
  return *text == 0;
}

// The text of token from index col on; an index past its end gives the empty text.
inline const char* ValueAt(const char* token, int col) {
  long len = static_cast<long>(strlen(token));
  if (col < 0) col = 0;
  return (col <= len) ? token + col : token + len;
}

}  // namespace prgparms

// Text parameter: a file name or any text of at most 2047 characters.
class pChars {
 private:
  bool isSet;

 public:
  char Rec[2048];

  pChars() : isSet(false) { Rec[0] = 0; }

  bool IsSet() const { return isSet; }

  // Rec = the token from index col to its end; echo of Rec.
  void Parse(const char* token, int col, bool verbose, const char* fun, const char* prt) {
    if (!Store(prgparms::ValueAt(token, col), token)) return;
    if (verbose) ProgramCerrPrintItem("Morvi", fun, prt, Rec, 0, 0);
  }
  // As above, the echo showing text instead of Rec.
  void Parse(const char* token, int col, bool verbose, const char* fun, const char* prt,
             const char* text) {
    if (!Store(prgparms::ValueAt(token, col), token)) return;
    if (verbose) ProgramCerrPrintItem("Morvi", fun, prt, text, 0, 0);
  }
  // Rec = everything after the first occurrence of c; nothing when c is absent.
  void Parse(const char* token, char c, bool verbose, const char* fun, const char* prt) {
    const char* p = strchr(token, c);
    if (p == nullptr || c == 0) return;
    if (!Store(p + 1, token)) return;
    if (verbose) ProgramCerrPrintItem("Morvi", fun, prt, Rec, 0, 0);
  }
  void Parse(const char* token, char c, bool verbose, const char* fun, const char* prt,
             const char* text) {
    const char* p = strchr(token, c);
    if (p == nullptr || c == 0) return;
    if (!Store(p + 1, token)) return;
    if (verbose) ProgramCerrPrintItem("Morvi", fun, prt, text, 0, 0);
  }

  void Print(const char* label, std::ostream& os) const {
    os << label;
    if (isSet) os << Rec;
    else os << " ---";
    os << std::endl;
  }
  void Print(const char* label, std::ostream& os, const char* text) const {
    os << label;
    if (isSet) os << text;
    else os << " ---";
    os << std::endl;
  }

  // True when the file named Rec can be opened for reading.
  bool IfExistF() const { return FileExists(Rec); }
  bool CheckEmpty() const { return Rec[0] == 0; }
  void Reset() {
    isSet = false;
    Rec[0] = 0;
  }

 private:
  // Copies a value that fits; a longer one is refused and leaves the parameter
  // unset, as that token alone would: a value given before it is not used
  // either, the user having been told so.
  bool Store(const char* value, const char* token) {
    if (prgparms::RefuseLongValue("Function:   pChars::Parse(...)", token, value,
                                  static_cast<long>(strlen(value)), prgparms::MaxChars)) {
      Reset();
      return false;
    }
    strcpy(Rec, value);
    isSet = true;
    return true;
  }
};

// Flag parameter: set or not.
class pBool {
 private:
  bool isSet;

 public:
  pBool() : isSet(false) {}

  bool IsSet() const { return isSet; }

  // Sets the flag; the column is not examined.
  void Parse(const char*, int, bool verbose, const char* fun, const char* prt) { Accept(verbose, fun, prt); }
  // Sets the flag only when the text from index col occurs inside list.
  void Parse(const char* token, int col, bool verbose, const char* fun, const char* prt,
             const char* list) {
    if (strstr(list, prgparms::ValueAt(token, col)) != nullptr) Accept(verbose, fun, prt);
  }
  // Sets the flag only when c occurs in the token.
  void Parse(const char* token, char c, bool verbose, const char* fun, const char* prt) {
    if (c != 0 && strchr(token, c) != nullptr) Accept(verbose, fun, prt);
  }
  // Sets the flag only when c occurs and the text after it occurs inside list.
  void Parse(const char* token, char c, bool verbose, const char* fun, const char* prt,
             const char* list) {
    const char* p = (c != 0) ? strchr(token, c) : nullptr;
    if (p != nullptr && strstr(list, p + 1) != nullptr) Accept(verbose, fun, prt);
  }

  void Print(const char* label, std::ostream& os) const {
    os << label << (isSet ? " YES" : " ---") << std::endl;
  }
  void Reset() { isSet = false; }

 private:
  void Accept(bool verbose, const char* fun, const char* prt) {
    if (verbose) ProgramCerrPrintItem("Morvi", fun, prt, " Y", 0, 0);
    isSet = true;
  }
};

// Epoch parameter: the epoch as mjd and as calendar time, with its input format.
class pDate {
 private:
  bool isSet;

 public:
  int DFormat;  // format code of the input, an enumerator of ymdhmsns
  mjd Rec;      // the epoch
  ymdhms dRec;  // the same epoch as calendar time

  pDate() : isSet(false), DFormat(0), Rec(51544, 0.0L), dRec(2000, 1, 1, 0, 0, 0.0L) {}

  bool IsSet() const { return isSet; }

  // Reads the epoch from index col in format fmt (YMDHMS "2017-02-19,01:13:56.0",
  // YMD "2017-02-19", HMS "01:13:56", seconds with an optional fraction); each
  // field is stored through the validating setter of ymdhms, year to second, so
  // a field out of its range ("2023-02-29", "24:00:00") ends the run there with
  // that setter's place and message ("Input DAY not valid!"). A text of any
  // other form (a one-digit month, another separator, text behind) ends the
  // run, naming the form: fields read at fixed offsets from it would be other
  // numbers than the user wrote. So does a second finer than a tenth ("56.05"):
  // the epochs are printed to the tenth, and it would be printed as another
  // instant.
  void Parse(const char* token, int col, bool verbose, const char* fun, const char* prt, int fmt) {
    const char* value = prgparms::ValueAt(token, col);
    if (fmt == ymdhmsns::YMDHMS && !prgparms::HasForm(value, "dddd-dd-dd,dd:dd:dd."))
      prgparms::RefuseValue("Function:   pDate::Parse(...)",
                            "Input DATE >%.*s< NOT VALID - form as >2017-02-19,01:13:56.0<!", token);
    if (fmt == ymdhmsns::YMD && !prgparms::HasForm(value, "dddd-dd-dd"))
      prgparms::RefuseValue("Function:   pDate::Parse(...)", "Input DATE >%.*s< NOT VALID - form as >2017-02-19<!",
                            token);
    if (fmt == ymdhmsns::HMS && !prgparms::HasForm(value, "dd:dd:dd."))
      prgparms::RefuseValue("Function:   pDate::Parse(...)", "Input DATE >%.*s< NOT VALID - form as >01:13:56<!",
                            token);
    const char* seconds = fmt == ymdhmsns::YMDHMS ? value + 17 : (fmt == ymdhmsns::HMS ? value + 6 : nullptr);
    if (seconds != nullptr && !prgparms::WholeTenths(seconds))
      prgparms::RefuseValue("Function:   pDate::Parse(...)",
                            "Input DATE >%.*s< NOT VALID - SECONDS NOT A MULTIPLE OF 0.1 s, THE RESOLUTION OF THE "
                            "EPOCHS!",
                            token);
    char val[128];
    memset(val, 0, sizeof(val));
    strncpy(val, value, sizeof(val) - 1);
    if (fmt == ymdhmsns::YMDHMS || fmt == ymdhmsns::YMD) {
      dRec.SetYear(static_cast<unsigned short>(atoi(val)));
      dRec.SetMonth(static_cast<unsigned short>(atoi(val + 5)));
      dRec.SetDay(static_cast<unsigned short>(atoi(val + 8)));
    }
    if (fmt == ymdhmsns::YMDHMS) {
      dRec.SetHour(static_cast<unsigned short>(atoi(val + 11)));
      dRec.SetMinute(static_cast<unsigned short>(atoi(val + 14)));
      dRec.SetSecond(static_cast<long double>(atof(val + 17)));
    }
    if (fmt == ymdhmsns::HMS) {
      dRec.SetHour(static_cast<unsigned short>(atoi(val)));
      dRec.SetMinute(static_cast<unsigned short>(atoi(val + 3)));
      dRec.SetSecond(static_cast<long double>(atof(val + 6)));
    }
    if (fmt == ymdhmsns::YMDHMS || fmt == ymdhmsns::YMD || fmt == ymdhmsns::HMS) {
      ymdhmsns::PrintFormat = static_cast<unsigned short>(fmt);
      DFormat = fmt;
      isSet = true;
      Rec = ymdhms2mjd(dRec);
    } else {
      ProgramWarning("Function:   pDate::Parse(...)",
                     "Format of input date not defined correctly  - from list [YMDHMS,YMD,HMS]!");
    }
    if (verbose) ProgramCerrPrintItem("Morvi", fun, prt, dRec, 0, 0);
  }

  void Print(const char* label, std::ostream& os) {
    ymdhmsns::PrintFormat = static_cast<unsigned short>(DFormat);
    os << label;
    if (isSet) os << dRec;
    else os << " ---";
    os << std::endl;
  }

  void SetManually(mjd e) {
    isSet = true;
    Rec = e;
    dRec = mjd2ymdhms(e);
    DFormat = 0;
  }

  void Reset() {
    isSet = false;
    DFormat = 0;
    Rec = mjd(51544, 0.0L);
    dRec = ymdhms(2000, 1, 1, 0, 0, 0.0L);
  }
};

// Satellite-list parameter: the list in input order and one list per system.
class pSats {
 private:
  bool isSet;

 public:
  myList<rSat> Rec;  // the list in input order
  myList<rSat> RecG, RecR, RecE, RecC, RecS, RecJ, RecI;
  long nRec, nRecG, nRecR, nRecE, nRecC, nRecS, nRecJ, nRecI;

  pSats() : isSet(false), nRec(0), nRecG(0), nRecR(0), nRecE(0), nRecC(0), nRecS(0), nRecJ(0), nRecI(0) {}

  bool IsSet() const { return isSet; }

  // Reads a list written as "G01,G02,E10": entries of a system letter (either
  // case, taken as upper case) and two digits, separated by commas. A list with
  // any other entry (a one-digit number, an empty entry, another separator) or
  // longer than the work buffer ends the run naming it: a list read otherwise,
  // or not at all, would compute other satellites than the user asked for.
  void Parse(const char* token, int col, bool verbose, const char* fun, const char* prt) {
    const char* value = prgparms::ValueAt(token, col);
    long len = static_cast<long>(strlen(value));
    if (len > prgparms::MaxSatList) {
      char err[256];
      snprintf(err, sizeof(err), "LIST OF SATELLITES TOO LONG (%ld > %ld characters) - NOT VALID!", len,
               prgparms::MaxSatList);
      ProgramError("Function:   pSats::Parse(...)", err, false);
    }
    char work[1028];
    strcpy(work, value);
    for (long i = 0; i <= len; i += 4) {
      char* e = work + i;
      e[0] = static_cast<char>(toupper(static_cast<unsigned char>(e[0])));
      if (len - i >= 3 && e[0] != 0 && gnss::Of(e[0]) != nullptr && prgparms::IsDigit(e[1]) &&
          prgparms::IsDigit(e[2]) && !(e[1] == '0' && e[2] == '0') && (e[3] == ',' || e[3] == 0))
        continue;
      const char* comma = strchr(e, ',');
      const int n = static_cast<int>(comma != nullptr ? comma - e : static_cast<long>(strlen(e)));
      char err[512];
      snprintf(err, sizeof(err), "Entry >%.*s< of LIST OF SATELLITES NOT VALID - form as >G01,G02,J12,R03<!",
               n < 300 ? n : 300, value + i);
      ProgramError("Function:   pSats::Parse(...)", err, false);
    }
    nRec = (len + 1) / 4;
    Rec.Resize(nRec);
    for (long i = 0; i < nRec; i++) Rec(i) = work + 4 * i;
    iomlns::PrintType = iomlns::RAW;
    if (verbose) ProgramCerrPrintItem("Morvi", fun, prt, Rec, 0, 0);
    isSet = true;
    SplitBySystem();
  }

  // Takes the list as given (no echo).
  void SetManually(myList<rSat>& list) {
    nRec = list.Length();
    Rec = list;
    SplitBySystem();
    isSet = true;
  }

  void Print(const char* label, std::ostream& os) const {
    os << label;
    if (isSet) {
      iomlns::PrintType = iomlns::RAW;
      os << Rec;
    } else {
      os << " ---";
    }
    os << std::endl;
  }

  // flags(i) becomes true when the i-th satellite of system sys occurs in list.
  void Check(myList<rSat>& list, myList<bool>& flags, char sys) {
    long* n = nullptr;
    myList<rSat>* sl = SystemList(sys, &n);
    if (sl == nullptr) FatalSystem("Function:   pSats::Check(...)", sys);
    if (*n == 0) return;
    flags.Resize(*n, 1, false);
    for (long i = 0; i < *n; i++) flags(i) = list.Find((*sl)(i));
  }

  // Writes the list of system sys and a row of "X" (available) or "-".
  void PrintAvailable(const char* label, myList<bool>& flags, char sys, std::ostream& os) {
    // First, second and third label per system, in the order of gnss::systems.
    static const char* const labels[gnss::NSYS][3] = {
        {"  List of GPS satellites  : ", "  GPS satellites          : ", "  Available               :      "},
        {"  List of GLONASS satellites  : ", "  GLONASS satellites          : ",
         "  Available                   :      "},
        {"  List of GALILEO satellites  : ", "  GALILEO satellites          : ",
         "  Available                   :      "},
        {"  List of BDS satellites  : ", "  BDS satellites          : ", "  Available               :      "},
        {"  List of SBAS satellites  : ", "  SBAS satellites          : ", "  Available                :      "},
        {"  List of QZSS satellites  : ", "  QZSS satellites          : ", "  Available                :      "},
        {"  List of IRNSS satellites  : ", "  IRNSS satellites          : ", "  Available                :      "}};
    iomlns::PrintType = iomlns::RAW;
    long* n = nullptr;
    myList<rSat>* sl = SystemList(sys, &n);
    if (sl == nullptr) FatalSystem("Function:   pSats::PrintAvailable(...)", sys);
    const char* const* lb = labels[gnss::Index(sys)];
    os << lb[0] << label << std::endl;
    os << lb[1] << *sl << std::endl;
    os << lb[2];
    for (long i = 0; i < flags.Length(); i++) os << std::setw(4) << (flags(i) ? "X" : "-");
    os << std::endl << std::endl;
  }

  void Reset() {
    isSet = false;
    myList<rSat> empty;
    Rec = empty;
    for (const GNSSsys& s : gnss::systems) {
      long* n = nullptr;
      *SystemList(s.letter, &n) = empty;
      *n = 0;
    }
    nRec = 0;
  }

  // Removes the first occurrence of s from the list and from its system's list.
  void ExcludeSatellite(rSat& s) {
    long ix = Rec.IndexFirst(s);
    if (ix < 0) return;
    Rec.Remove(ix);
    nRec--;
    long* n = nullptr;
    myList<rSat>* sl = SystemList(s.GetISys(), &n);
    if (sl == nullptr) return;
    long jx = sl->IndexFirst(s);
    if (jx < 0) return;
    sl->Remove(jx);
    (*n)--;
  }

 private:
  // The list and the count of system sys; null for a letter of no system.
  myList<rSat>* SystemList(char sys, long** n) {
    static constexpr gnss::LetterMember<pSats, myList<rSat>> lists[] = {
        {'G', &pSats::RecG}, {'R', &pSats::RecR}, {'E', &pSats::RecE}, {'C', &pSats::RecC},
        {'S', &pSats::RecS}, {'J', &pSats::RecJ}, {'I', &pSats::RecI}};
    static constexpr gnss::LetterMember<pSats, long> counts[] = {
        {'G', &pSats::nRecG}, {'R', &pSats::nRecR}, {'E', &pSats::nRecE}, {'C', &pSats::nRecC},
        {'S', &pSats::nRecS}, {'J', &pSats::nRecJ}, {'I', &pSats::nRecI}};
    static_assert(gnss::OnceEach(lists) && gnss::OnceEach(counts), "a letter of no system or twice");
    *n = gnss::Member(*this, sys, counts);
    return gnss::Member(*this, sys, lists);
  }
  [[noreturn]] static void FatalSystem(const char* place, char sys) {
    char err[256];
    snprintf(err, sizeof(err), "Input satellite system >%c< not defined i.e. from list [G|R|E|C|S|J|I]!", sys);
    ProgramError(place, err, false);
  }
  // Appends each satellite of Rec to the list of its system (upper-case letters only).
  void SplitBySystem() {
    for (long i = 0; i < nRec; i++) {
      long* n = nullptr;
      myList<rSat>* sl = SystemList(Rec(i).GetISys(), &n);
      if (sl != nullptr) sl->PushBack(Rec(i));
    }
    for (const GNSSsys& s : gnss::systems) {
      long* n = nullptr;
      myList<rSat>* sl = SystemList(s.letter, &n);
      *n = sl->Length();
    }
  }
};

// System-selection parameter: the letters the user wrote and one flag per system.
class pGSys {
 private:
  bool isSet;

 public:
  bool isG, isR, isE, isC, isS, isI, isJ;
  char Rec[16];       // the letters as written
  char RecDesc[128];  // the words of the selected systems

  pGSys() : isSet(false), isG(false), isR(false), isE(false), isC(false), isS(false), isI(false), isJ(false) {
    Rec[0] = 0;
    RecDesc[0] = 0;
  }

  bool IsSet() const { return isSet; }

  // Selects every system whose letter occurs in the text from index col, in
  // either case; letters add up over the tokens (see Choose). Any other
  // character ends the run naming it: "-gsGPS" would otherwise select GPS and
  // SBAS, and "-gsBDS" SBAS only.
  void Parse(const char* token, int col, bool verbose, const char* fun, const char* prt) {
    const char* value = prgparms::ValueAt(token, col);
    for (const char* p = value; *p != 0; p++) {
      if (gnss::OfEitherCase(*p) != nullptr) continue;
      char err[512];
      snprintf(err, sizeof(err), "Input GNSS SYSTEM >%c< of >%.300s< NOT VALID - from list [G|R|E|C|S|J|I]!", *p,
               token);
      ProgramError("Function:   pGSys::Parse(...)", err, false);
    }
    Choose(value);
    isSet = true;
    if (verbose) ProgramCerrPrintItem("Morvi", fun, prt, RecDesc, 0, 0);
  }

  void Print(const char* label, std::ostream& os) const {
    os << label;
    if (isSet) os << Rec << " - " << RecDesc;
    else os << " ---";
    os << std::endl;
  }

  // Selects all seven systems, as a user's "GRECSIJ" would.
  void SetManually() {
    isSet = true;
    Choose("GRECSIJ");
  }

  bool IsSysG() const { return isG; }
  bool IsSysR() const { return isR; }
  bool IsSysE() const { return isE; }
  bool IsSysC() const { return isC; }
  bool IsSysS() const { return isS; }
  bool IsSysJ() const { return isJ; }
  bool IsSysI() const { return isI; }
  // The flag of the system of letter sys (upper case); false for any other letter.
  bool IsSys(char sys) const {
    const bool* f = gnss::Member(*this, sys, kFlags);
    return f != nullptr && *f;
  }

  void Reset() {
    isSet = false;
    isG = isR = isE = isC = isS = isI = isJ = false;
    Rec[0] = 0;
    RecDesc[0] = 0;
  }

 private:
  // Selects the system of each letter of value. Rec keeps, as written, the
  // first letter of every system selected, so the report shows all the letters
  // of all the tokens; a letter of a system selected before adds nothing.
  // RecDesc names the selected systems in the order of gnss::systems. Seven
  // letters and words at most: both always fit.
  void Choose(const char* value) {
    size_t n = strlen(Rec);
    for (const char* p = value; *p != 0; p++) {
      const GNSSsys* s = gnss::OfEitherCase(*p);
      if (s == nullptr || IsSys(s->letter)) continue;
      *gnss::Member(*this, s->letter, kFlags) = true;
      Rec[n++] = *p;
    }
    Rec[n] = 0;
    RecDesc[0] = 0;
    for (const GNSSsys& s : gnss::systems) {
      if (!IsSys(s.letter)) continue;
      strcat(RecDesc, s.name);
      strcat(RecDesc, " ");
    }
  }

  static constexpr gnss::LetterMember<pGSys, bool> kFlags[] = {
      {'G', &pGSys::isG}, {'R', &pGSys::isR}, {'E', &pGSys::isE}, {'C', &pGSys::isC},
      {'S', &pGSys::isS}, {'J', &pGSys::isJ}, {'I', &pGSys::isI}};
  static_assert(gnss::OnceEach(kFlags), "a letter of no system or twice");
};

// Real-number parameter with unit (used with long double).
template <class T>
class pFloat {
 private:
  bool isSet;

 public:
  char Unit[64];
  T Rec;

  pFloat() : isSet(false), Rec(0) { Unit[0] = 0; }

  bool IsSet() const { return isSet; }
  void SetDefault(T v) { Rec = v; }
  void SetUnit(const char* text) {
    strncpy(Unit, text, prgparms::MaxUnit);
    Unit[prgparms::MaxUnit] = 0;
  }

  // Rec = the number (atof) right after the first occurrence of c; nothing when
  // absent.
  void Parse(const char* token, char c, bool verbose, const char* fun, const char* prt, int nw, int nd) {
    const char* p = (c != 0) ? strchr(token, c) : nullptr;
    if (p == nullptr) return;
    Accept(p + 1, token, verbose, fun, prt, nw, nd);
  }
  // Rec = the number (atof) from index col.
  void Parse(const char* token, int col, bool verbose, const char* fun, const char* prt, int nw, int nd) {
    Accept(prgparms::ValueAt(token, col), token, verbose, fun, prt, nw, nd);
  }

  // The value with width nw and nd decimals, a blank and the unit; a default is
  // shown with " [default!]" when showDefault, else " ---".
  void Print(const char* label, std::ostream& os, int nw, int nd, bool showDefault) const {
    os << label;
    if (isSet || showDefault) {
      os << std::setw(nw) << std::setprecision(nd) << Rec << " " << Unit;
      if (!isSet) os << " [default!]";
    } else {
      os << " ---";
    }
    os << std::endl;
  }

  bool IsNegative() const { return Rec < 0; }
  // The token whose value Rec holds, as typed (for the checks of its text);
  // null until one is parsed and after Reset.
  const char* GetToken() const { return token; }
  void Reset() {
    isSet = false;
    Rec = 0;
    token = nullptr;
  }

 private:
  const char* token = nullptr;

  // The value must be one decimal number and nothing else ("1,5", "5min" and
  // "1h" would read as 1, 5 and 1); anything else ends the run.
  void Accept(const char* value, const char* tok, bool verbose, const char* fun, const char* prt, int nw, int nd) {
    if (!prgparms::IsDecimalNumber(value))
      prgparms::RefuseValue("Function:   pFloat::Parse(...)",
                            "Value of command line parameter >%.*s< NOT VALID - A DECIMAL NUMBER ONLY!", tok);
    Rec = static_cast<T>(atof(value));
    token = tok;
    if (verbose) ProgramCerrPrintItem("Morvi", fun, prt, Rec, nw, nd);
    isSet = true;
  }
};

// Integer parameter with unit (used with long).
template <class T>
class pInteger {
 private:
  bool isSet;

 public:
  char Unit[64];
  T Rec;

  pInteger() : isSet(false), Rec(0) { Unit[0] = 0; }

  bool IsSet() const { return isSet; }
  void SetDefault(T v) { Rec = v; }
  void SetUnit(const char* text) {
    strncpy(Unit, text, prgparms::MaxUnit);
    Unit[prgparms::MaxUnit] = 0;
  }

  // Rec = the integer (atol) right after the first occurrence of c; nothing when absent.
  void Parse(const char* token, char c, bool verbose, const char* fun, const char* prt) {
    const char* p = (c != 0) ? strchr(token, c) : nullptr;
    if (p == nullptr) return;
    // A whole number and nothing else: "4x" or "1e2" would read as 4 and 1.
    if (!prgparms::IsWholeNumber(p + 1))
      prgparms::RefuseValue("Function:   pInteger::Parse(...)",
                            "Value of command line parameter >%.*s< NOT VALID - A WHOLE NUMBER ONLY!", token);
    Rec = static_cast<T>(atol(p + 1));
    if (verbose) ProgramCerrPrintItem("Morvi", fun, prt, static_cast<long>(Rec), 0, 0);
    isSet = true;
  }

  // The value, a blank and the unit (no field width); a default is shown with
  // " [default!]" when showDefault, else " ---".
  void Print(const char* label, std::ostream& os, bool showDefault) const {
    os << label;
    if (isSet || showDefault) {
      os << Rec << " " << Unit;
      if (!isSet) os << " [default!]";
    } else {
      os << " ---";
    }
    os << std::endl;
  }

  void Reset() {
    isSet = false;
    Rec = 0;
  }
};
