// Command line of Morvi: the first pass (verbose flag and the -wo/-we
// redirections of standard output and standard error), the second pass (every
// option into its parameter), the checks that repair or refuse parameters, and
// the settings report with the title block on standard output.
// Options: a "-", one or two letters (either case) and the value right behind.
#pragma once

#include <sys/stat.h>        // stat, S_ISREG

#include <cctype>            // tolower
#include <cstdio>            // snprintf
#include <cstdlib>           // atexit
#include <cstring>           // strcmp, strlen, strcpy, strcat
#include <filesystem>        // weakly_canonical
#include <iostream>          // cout, cerr
#include <system_error>      // error_code

#include "Morvi.h"
#include "pgminc/ProgramError.h"      // ProgramError, ProgramWarning
#include "pgminc/ProgramOut.h"        // ProgramCerrPrint, ProgramCerrPrintItem, titles
#include "pgminc/ProgramStartEnd.h"   // StartProg

namespace morviargs {

// The stream buffers of standard output and standard error before redirection.
inline std::streambuf* coutTerminal = nullptr;
inline std::streambuf* cerrTerminal = nullptr;

// Runs at exit before the redirection files are destroyed: flushes both streams
// and points them back at the terminal, so nothing writes into a closed file.
inline void RestoreStreams() {
  std::cout.flush();
  std::cerr.flush();
  if (coutTerminal != nullptr) std::cout.rdbuf(coutTerminal);
  if (cerrTerminal != nullptr) std::cerr.rdbuf(cerrTerminal);
}

// Opens a redirection file (overwriting it); a file that cannot be opened gives
// a warning naming it, and its stream stays on the terminal.
inline bool OpenRedirect(std::ofstream& file, const char* name, const char* failFormat) {
  file.open(name, std::ios::out | std::ios::trunc);
  if (file.is_open()) return true;
  char warn[2300];
  snprintf(warn, sizeof(warn), failFormat, name);
  ProgramWarning("Morvi", warn);
  return false;
}

// Points the stream at an opened redirection file.
inline void PointStream(std::ofstream& file, std::ostream& stream, std::streambuf*& saved) {
  if (coutTerminal == nullptr && cerrTerminal == nullptr) std::atexit(RestoreStreams);
  saved = stream.rdbuf(file.rdbuf());
}

// True when the two names are one file: the same regular file (device and
// inode, whatever the spelling, links included), or, where neither exists yet,
// the same path once "." and ".." and the links of its directories are
// resolved. Devices and other special files are never the same file here:
// writing to them destroys nothing.
inline bool SameFile(const char* a, const char* b) {
  if (a[0] == 0 || b[0] == 0) return false;
  struct stat sa, sb;
  bool existsA = stat(a, &sa) == 0;
  bool existsB = stat(b, &sb) == 0;
  if (existsA && existsB)
    return S_ISREG(sa.st_mode) && S_ISREG(sb.st_mode) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  if (existsA || existsB) return false;
  // Made absolute first: a relative path none of whose parts exists would
  // otherwise stay as it is spelled.
  std::error_code err;
  std::filesystem::path pathA = std::filesystem::absolute(a, err);
  if (!err) pathA = std::filesystem::weakly_canonical(pathA, err);
  if (err) return strcmp(a, b) == 0;
  std::filesystem::path pathB = std::filesystem::absolute(b, err);
  if (!err) pathB = std::filesystem::weakly_canonical(pathB, err);
  if (err) return strcmp(a, b) == 0;
  return pathA == pathB;
}

// An input file of the run (ephemeris, ANTEX, rotation file) and the fatal
// messages that refuse it: a name that is empty or longer than the readers hold
// (MaxFileName), a file that cannot be opened, is no regular file (a directory,
// a pipe: each reader opens its file several times) or is empty.
struct InputKind {
  const char* nameEmpty;
  const char* nameTooLong;  // format: length, limit
  const char* cannotOpen;   // format: name
  const char* notRegular;   // format: name
  const char* fileEmpty;    // format: name
};

inline constexpr InputKind BroadcastInput = {
    "GNSS BROADCAST EPHEMERIS FILE NAME EMPTY!",
    "GNSS BROADCAST EPHEMERIS FILE NAME TOO LONG (%ld > %d characters) - NOT VALID!",
    "GNSS BROADCAST EPHEMERIS FILE >%s< CAN NOT BE OPENED!",
    "GNSS BROADCAST EPHEMERIS FILE >%s< NOT VALID - NOT A REGULAR FILE!",
    "GNSS BROADCAST EPHEMERIS FILE >%s< NOT VALID - EMPTY FILE!"};
inline constexpr InputKind PreciseInput = {
    "GNSS PRECISE EPHEMERIS FILE NAME EMPTY!",
    "GNSS PRECISE EPHEMERIS FILE NAME TOO LONG (%ld > %d characters) - NOT VALID!",
    "GNSS PRECISE EPHEMERIS FILE >%s< CAN NOT BE OPENED!",
    "GNSS PRECISE EPHEMERIS FILE >%s< NOT VALID - NOT A REGULAR FILE!",
    "GNSS PRECISE EPHEMERIS FILE >%s< NOT VALID - EMPTY FILE!"};
inline constexpr InputKind AntexInput = {
    "ANTEX FILE NAME EMPTY!",
    "ANTEX FILE NAME TOO LONG (%ld > %d characters) - NOT VALID!",
    "ANTEX FILE >%s< CAN NOT BE OPENED!",
    "ANTEX FILE >%s< NOT VALID - NOT A REGULAR FILE!",
    "ANTEX FILE >%s< NOT VALID - EMPTY FILE!"};
inline constexpr InputKind RotationInput = {
    "ITRS>GCRS FILE NAME EMPTY!",
    "ITRS>GCRS FILE NAME TOO LONG (%ld > %d characters) - NOT VALID!",
    "ITRS>GCRS FILE >%s< CAN NOT BE OPENED!",
    "ITRS>GCRS FILE >%s< NOT VALID - NOT A REGULAR FILE!",
    "ITRS>GCRS FILE >%s< NOT VALID - EMPTY FILE!"};

// A file option of the command line (-sb, -sp, -a, -t, -r, letters in either
// case): the parameter it sets, the column where the name starts, the echo
// label of the second pass and, for an input file, its kind; param is nullptr
// for every other token.
struct FileOption {
  pChars* param;
  int col;
  const char* label;
  const InputKind* input;
};

inline FileOption FileOptionOf(Morvi& mcs, const char* token) {
  if (token[0] != '-' || token[1] == 0) return {nullptr, 0, nullptr, nullptr};
  char c1 = static_cast<char>(tolower(static_cast<unsigned char>(token[1])));
  char c2 = static_cast<char>(tolower(static_cast<unsigned char>(token[2])));
  if (c1 == 's' && c2 == 'b')
    return {&mcs.beFileName, 3, "Broadcast ephemeris [RINEX-NAV] file name: ", &BroadcastInput};
  if (c1 == 's' && c2 == 'p') return {&mcs.peFileName, 3, "Precise ephemeris [SP3] file name: ", &PreciseInput};
  if (c1 == 'a') return {&mcs.atxFileName, 2, "ANTEX calibration data file name: ", &AntexInput};
  if (c1 == 't') return {&mcs.tcFileName, 2, "ITRS>GCRS rotation matrices file name: ", &RotationInput};
  if (c1 == 'r') return {&mcs.resFile, 2, "Output file name with results: ", nullptr};
  return {nullptr, 0, nullptr, nullptr};
}

// An input file name longer than the readers hold ends the run: the file could
// not be read under it.
inline void RefuseLongInputName(const InputKind& kind, const char* name) {
  const long len = static_cast<long>(strlen(name));
  if (len <= MaxFileName) return;
  char err[256];
  snprintf(err, sizeof(err), kind.nameTooLong, len, MaxFileName);
  ProgramError("Morvi", err, false);
}

// An input file that cannot serve the run ends it before any output (see
// InputKind); a name that passes is one the reader can take and read (a name
// too long for the readers was refused when its token was parsed).
inline void CheckInputFile(const pChars& name, const InputKind& kind) {
  if (name.CheckEmpty()) ProgramError("Morvi", kind.nameEmpty, false);
  // The name as tried, so that a name the option letters cut short is seen.
  auto refuse = [&](const char* format) {
    char err[512];
    snprintf(err, sizeof(err), format, name.Rec);
    ProgramError("Morvi", err, false);
  };
  // stat first: opening a pipe for reading would wait for a writer.
  struct stat st;
  if (stat(name.Rec, &st) != 0) refuse(kind.cannotOpen);
  if (!S_ISREG(st.st_mode)) refuse(kind.notRegular);
  if (!name.IfExistF()) refuse(kind.cannotOpen);
  if (st.st_size == 0) refuse(kind.fileEmpty);
}

// The first token of the command line that names the same file as file, among
// every token of an input option (-sb, -sp, -a, -t, those a later token of the
// option replaces too) and the token of index results (a -r, where above 0):
// its index, with its name in name; 0 for none.
inline int GivenFileSameAs(Morvi& mcs, const char* file, int results, const char*& name) {
  for (int i = 1; i < mcs.nArgs; i++) {
    const FileOption f = FileOptionOf(mcs, mcs.args[i]);
    if (f.param == nullptr || (f.input == nullptr && i != results)) continue;
    name = prgparms::ValueAt(mcs.args[i], f.col);
    if (SameFile(file, name)) return i;
  }
  return 0;
}

// A redirection file that is also an input file or the results file would
// destroy that file or mix two outputs in one: the redirection is refused with
// a warning naming both, and its stream stays on the terminal. The input files
// are every name given to -sb, -sp, -a and -t, those a later token of the
// option replaces too; the results file is the one used (the last -r).
inline void RefuseRedirectOnGivenFile(pChars& redirect, Morvi& mcs, const char* inputFormat,
                                      const char* resultsFormat) {
  int lastResults = 0;
  for (int i = 1; i < mcs.nArgs; i++)
    if (FileOptionOf(mcs, mcs.args[i]).param == &mcs.resFile) lastResults = i;
  const char* name = nullptr;
  const int i = GivenFileSameAs(mcs, redirect.Rec, lastResults, name);
  if (i == 0) return;
  char warn[4400];
  snprintf(warn, sizeof(warn), i == lastResults ? resultsFormat : inputFormat, redirect.Rec, name);
  ProgramWarning("Morvi", warn);
  redirect.Reset();
}

// 'o' for a -wo token, 'e' for a -we token (recognised as "wo"/"WO" and
// "we"/"WE" only), 0 for any other.
inline char Redirection(const char* token) {
  if (token[0] != '-') return 0;
  if ((token[1] == 'w' && token[2] == 'o') || (token[1] == 'W' && token[2] == 'O')) return 'o';
  if ((token[1] == 'w' && token[2] == 'e') || (token[1] == 'W' && token[2] == 'E')) return 'e';
  return 0;
}

// A message that quotes a whole token, cut with "..." where it would not fit
// the 255-character warning buffer.
inline void TokenMessage(char* out, size_t size, const char* format, const char* token) {
  const size_t room = 200;
  char shown[room + 4];
  if (strlen(token) > room) {
    memcpy(shown, token, room);
    strcpy(shown + room, "...");
  } else {
    strcpy(shown, token);
  }
  snprintf(out, size, format, shown);
}

// The value options given so far in one pass, by the parameter they set. A
// token of an option given before replaces its value: the user is told which
// value is not used. (-gs adds its letters up and flags have no value: they are
// not offered.)
class GivenOptions {
 public:
  // Before param takes the value of token, which starts at column col.
  void Take(const void* param, const char* token, int col) {
    for (int k = 0; k < n; k++) {
      if (given[k].param != param) continue;
      Tell(given[k]);
      given[k] = {param, token, col};
      return;
    }
    if (n < Most) given[n++] = {param, token, col};
  }

 private:
  static constexpr int Most = 16;  // room for every value option of the command line
  struct Given {
    const void* param;
    const char* token;
    int col;
  };
  Given given[Most];
  int n = 0;

  static void Tell(const Given& g) {
    const char* value = prgparms::ValueAt(g.token, g.col);
    char warn[512];
    snprintf(warn, sizeof(warn), "Command line parameter >%.*s< GIVEN AGAIN - VALUE >%.300s< NOT USED!",
             static_cast<int>(value - g.token), g.token, value);
    ProgramWarning("Morvi", warn);
  }
};

}  // namespace morviargs

namespace morviargs {

// Redirection names that cannot be used: empty, or the same file for both
// streams (standard error then goes to the name with ".CERR").
inline void CheckRedirectNames(Morvi& mcs) {
  if (mcs.CerrFile.IsSet() && mcs.CerrFile.CheckEmpty()) {
    ProgramWarning("Morvi", "CERR REDIRECTION FILE SET WITHOUT FILENAME: CERR GOES TO TERMINAL!");
    mcs.CerrFile.Reset();
  }
  if (mcs.CoutFile.IsSet() && mcs.CoutFile.CheckEmpty()) {
    ProgramWarning("Morvi", "COUT REDIRECTION FILE SET WITHOUT FILENAME: COUT GOES TO TERMINAL!");
    mcs.CoutFile.Reset();
  }
  if (mcs.CoutFile.IsSet() && mcs.CerrFile.IsSet() &&
      (strcmp(mcs.CoutFile.Rec, mcs.CerrFile.Rec) == 0 || SameFile(mcs.CoutFile.Rec, mcs.CerrFile.Rec))) {
    ProgramWarning("Morvi", "COUT AND CERR REDIRECTION FILE SET EQUALLY: APPENDING .CERR TO CERR FILENAME!");
    if (strlen(mcs.CerrFile.Rec) + strlen(".CERR") > prgparms::MaxChars) {
      ProgramWarning("Morvi", "CERR REDIRECTION FILE NAME TOO LONG FOR .CERR: CERR GOES TO TERMINAL!");
      mcs.CerrFile.Reset();
    } else {
      strcat(mcs.CerrFile.Rec, ".CERR");
    }
  }
}

// A redirection onto an input file or the results file is refused before
// anything is opened: opening a redirection truncates its file.
inline void RefuseRedirectsOnGivenFiles(Morvi& mcs) {
  if (mcs.CerrFile.IsSet())
    RefuseRedirectOnGivenFile(
        mcs.CerrFile, mcs,
        "CERR REDIRECTION FILE >%s< IS THE SAME FILE AS INPUT FILE >%s<: CERR GOES TO TERMINAL!",
        "CERR REDIRECTION FILE >%s< IS THE SAME FILE AS RESULTS FILE >%s<: CERR GOES TO TERMINAL!");
  if (mcs.CoutFile.IsSet())
    RefuseRedirectOnGivenFile(
        mcs.CoutFile, mcs,
        "COUT REDIRECTION FILE >%s< IS THE SAME FILE AS INPUT FILE >%s<: COUT GOES TO TERMINAL!",
        "COUT REDIRECTION FILE >%s< IS THE SAME FILE AS RESULTS FILE >%s<: COUT GOES TO TERMINAL!");
}

// Opens the redirection files and points the streams at them.
inline void OpenRedirects(Morvi& mcs) {
  // Both files are opened before either stream moves, so that the warning of a
  // file that cannot be opened reaches the terminal.
  if (mcs.CerrFile.IsSet() &&
      !OpenRedirect(cerrRedirect, mcs.CerrFile.Rec,
                    "CERR REDIRECTION FILE >%s< CAN NOT BE OPENED: CERR GOES TO TERMINAL!"))
    mcs.CerrFile.Reset();
  if (mcs.CoutFile.IsSet() &&
      !OpenRedirect(coutRedirect, mcs.CoutFile.Rec,
                    "COUT REDIRECTION FILE >%s< CAN NOT BE OPENED: COUT GOES TO TERMINAL!"))
    mcs.CoutFile.Reset();
  if (mcs.CerrFile.IsSet()) PointStream(cerrRedirect, std::cerr, cerrTerminal);
  if (mcs.CoutFile.IsSet()) PointStream(coutRedirect, std::cout, coutTerminal);
}

}  // namespace morviargs

// First pass: -v, -wo and -we only (letters two and three of each option), then
// the redirection of standard error and standard output.
inline void ParseArgumentsFirst(Morvi& mcs, int nargc, const char* const* cargv) {
  mcs.nArgs = nargc;
  mcs.args = cargv;
  morviargs::GivenOptions given;
  for (int i = 1; i < nargc; i++) {
    const char* token = cargv[i];
    // Only an option sets verbose mode or a redirection: a file name such as
    // "two_days.sp3" left without its option must not send standard output
    // into "_days.sp3".
    if (token[0] != '-' || strlen(token) < 2) continue;
    const char r = morviargs::Redirection(token);
    pChars* redirect = r == 'o' ? &mcs.CoutFile : (r == 'e' ? &mcs.CerrFile : nullptr);
    if (token[1] == 'v' || token[1] == 'V') {
      mcs.Verbose.Parse(token, 1, false, "ParseArgumentsFirst", "");
    } else if (redirect != nullptr) {
      given.Take(redirect, token, 3);
      redirect->Parse(token, 3, false, "ParseArgumentsFirst", "");
    }
  }

  morviargs::CheckRedirectNames(mcs);
  morviargs::RefuseRedirectsOnGivenFiles(mcs);
  morviargs::OpenRedirects(mcs);
}

namespace morviargs {

// One token of the second pass into its parameter: the file options
// (FileOptionOf) first, then -gs, -es, -ee, -ei, -ni, -np, -nc, -p, -o, -v, -h;
// a token without "-" or an option letter that names no option gets the
// unknown-parameter warning.
inline void ParseOption(Morvi& mcs, const char* token, bool vb, const char* fun, GivenOptions& given) {
  char c1 = (token[0] == '-') ? static_cast<char>(tolower(static_cast<unsigned char>(token[1]))) : 0;
  char c2 = (c1 != 0) ? static_cast<char>(tolower(static_cast<unsigned char>(token[2]))) : 0;
  // -sb, -sp, -a, -t, -r
  FileOption file = FileOptionOf(mcs, token);
  if (file.param != nullptr) {
    if (file.input != nullptr) RefuseLongInputName(*file.input, prgparms::ValueAt(token, file.col));
    given.Take(file.param, token, file.col);
    file.param->Parse(token, file.col, vb, fun, file.label);
  } else if (c1 == 'g' && c2 == 's') {
    mcs.gSys.Parse(token, 3, vb, fun, "GNSS systems to use: ");
  } else if (c1 == 'e' && c2 == 's') {
    given.Take(&mcs.eStart, token, 3);
    mcs.eStart.Parse(token, 3, vb, fun, "FIRST epoch: ", ymdhmsns::YMDHMS);
  } else if (c1 == 'e' && c2 == 'e') {
    given.Take(&mcs.eEnd, token, 3);
    mcs.eEnd.Parse(token, 3, vb, fun, "LAST epoch: ", ymdhmsns::YMDHMS);
  } else if (c1 == 'e' && c2 == 'i') {
    given.Take(&mcs.Interval, token, 3);
    mcs.Interval.Parse(token, 3, vb, fun, "Time INTERVAL [s]: ", 0, 2);
  } else if (c1 == 'e') {
    char warn[256];
    TokenMessage(warn, sizeof(warn), "EPOCH command line parameter unknown: >%s<!", token);
    ProgramWarning("Morvi", warn);
  } else if (c1 == 'n' && c2 == 'i') {
    // The marker is the third letter as written: its value follows it.
    given.Take(&mcs.IntegStep, token, 3);
    mcs.IntegStep.Parse(token, token[2], vb, fun, "Numerical integration step (GLONASS b.c.): ", 0, 1);
  } else if (c1 == 'n' && c2 == 'p') {
    given.Take(&mcs.nPtsLIpos, token, 3);
    mcs.nPtsLIpos.Parse(token, token[2], vb, fun, "Number of points for Lagrange interpolation (position): ");
  } else if (c1 == 'n' && c2 == 'c') {
    given.Take(&mcs.nPtsLIclk, token, 3);
    mcs.nPtsLIclk.Parse(token, token[2], vb, fun, "Number of points for Lagrange interpolation (clock error): ");
  } else if (c1 == 'p') {
    given.Take(&mcs.Sat, token, 2);
    mcs.Sat.Parse(token, 2, vb, fun, "List of satellites: ");
  } else if (c1 == 'o') {
    mcs.rOrient.Parse(token, 2, vb, fun, "Remove Earth rotation from satellite coordinates: ");
  } else if (c1 == 'v') {
    mcs.Verbose.Parse(token, 2, vb, fun, "VERBOSE mode: ");
  } else if (c1 == 'h') {
    mcs.Help.Parse(token, 2, vb, fun, "Print HELP to stdout: ");
  } else if (Redirection(token) == 0) {
    // A token without "-" or an option letter that names no option (the
    // redirections belong to the first pass).
    char warn[256];
    TokenMessage(warn, sizeof(warn), "Input command line parameter unknown: >%s<!", token);
    ProgramWarning("Morvi", warn);
  }
}

}  // namespace morviargs

// Second pass: every option into its parameter; echoes in verbose mode.
inline void ParseArguments(Morvi& mcs, int nargc, const char* const* cargv) {
  const char* fun = "ParseArguments";
  StartProg(mcs.Verbose.IsSet(), " ***** GNSS SATELLITE POSITIONING - STARTING APPLICATION *****");
  if (mcs.Verbose.IsSet()) ProgramCerrPrint("Morvi", fun, "PARSING INPUT PARAMETERS", '-');

  morviargs::GivenOptions given;
  for (int i = 1; i < nargc; i++) morviargs::ParseOption(mcs, cargv[i], mcs.Verbose.IsSet(), fun, given);
  if (mcs.Verbose.IsSet()) ProgramCerrPrint("Morvi", fun, "++-", '-');
}

namespace morviargs {

// A number of Lagrange points the interpolation cannot take (negative, odd,
// zero, or more than the ends of a precise orbit file bear) falls back to the
// default, with the warning of its kind.
inline void CheckLagrangePoints(pInteger<long>& n, long def, long most, const char* negativeWarn,
                                const char* oddWarn, const char* zeroWarn, const char* tooManyWarn) {
  if (!n.IsSet()) return;
  const char* warn = nullptr;
  if (n.Rec < 0) warn = negativeWarn;
  else if (n.Rec % 2 != 0) warn = oddWarn;
  else if (n.Rec == 0) warn = zeroWarn;
  else if (n.Rec > most) warn = tooManyWarn;
  if (warn == nullptr) return;
  ProgramWarning("Morvi", warn);
  n.Reset();
  n.SetDefault(def);
}

// A given number that is negative, zero or (with a smallWarn) below its least
// value is replaced by its default, with the warning of its kind.
inline void CheckPositive(pFloat<long double>& p, long double def, long double least, const char* negativeWarn,
                          const char* zeroWarn, const char* smallWarn) {
  if (!p.IsSet()) return;
  const char* warn = nullptr;
  if (p.IsNegative()) warn = negativeWarn;
  else if (p.Rec == 0) warn = zeroWarn;
  else if (smallWarn != nullptr && p.Rec < least) warn = smallWarn;
  if (warn == nullptr) return;
  ProgramWarning("Morvi", warn);
  p.Reset();
  p.SetDefault(def);
}

// The results file must not be a file named as an input: writing it would
// destroy that file. Every name given to an input option counts, the one used
// and those a later token replaced, and the broadcast file that a precise one
// replaces too.
inline void RefuseResultsOnInput(Morvi& mcs) {
  const char* input = nullptr;
  if (!mcs.resFile.IsSet() || GivenFileSameAs(mcs, mcs.resFile.Rec, 0, input) == 0) return;
  char err[4400];
  snprintf(err, sizeof(err), "Output file name >%s< IS THE SAME FILE AS INPUT FILE >%s< - NOT OVERWRITING IT!",
           mcs.resFile.Rec, input);
  ProgramError("Morvi", err, false);
}

// The ephemeris files: one at least, each usable; of both, the precise one.
inline void CheckEphemerisFiles(Morvi& mcs, const char* fun) {
  morvistate::Echo(mcs, fun, "GNSS ephemeris file");
  if (!mcs.beFileName.IsSet() && !mcs.peFileName.IsSet())
    ProgramError("Morvi", "NO EPHEMERIS FILE SET [PRECISE OR BROADCAST]!", false);
  RefuseResultsOnInput(mcs);
  morvistate::Echo(mcs, fun, "GNSS broadcast ephemeris file");
  if (mcs.beFileName.IsSet()) CheckInputFile(mcs.beFileName, BroadcastInput);
  morvistate::Echo(mcs, fun, "GNSS precise ephemeris file");
  if (mcs.peFileName.IsSet()) CheckInputFile(mcs.peFileName, PreciseInput);
  morvistate::Echo(mcs, fun, "GNSS precise AND broadcast ephemeris file");
  if (mcs.beFileName.IsSet() && mcs.peFileName.IsSet()) {
    ProgramWarning("Morvi", "BOTH GNSS EPHEMERIS FILES SET [PRECISE AND BROADCAST] - NOT USING BROADCAST EPHEMERIS!");
    mcs.beFileName.Reset();
  }
  mcs.ephemeris = mcs.peFileName.IsSet() ? Morvi::Ephemeris::Precise : Morvi::Ephemeris::Broadcast;
}

// The results file, then the optional ANTEX and rotation files.
inline void CheckOtherFiles(Morvi& mcs, const char* fun) {
  morvistate::Echo(mcs, fun, "Output file name with results");
  if (!mcs.resFile.IsSet()) ProgramError("Morvi", "NO OUTPUT FILE SET - FILE WITH RESULTS!", false);
  if (mcs.resFile.CheckEmpty())
    ProgramError("Morvi", "Output file name set AS EMPTY STRING - UNSETTING PARAMETER!", false);
  if (mcs.atxFileName.IsSet()) {
    morvistate::Echo(mcs, fun, "ANTEX calibration data file");
    CheckInputFile(mcs.atxFileName, AntexInput);
  }
  if (mcs.tcFileName.IsSet()) {
    morvistate::Echo(mcs, fun, "ITRS>GCRS rotation matrices file");
    CheckInputFile(mcs.tcFileName, RotationInput);
  }
}

// The systems: a run that selects none would compute nothing.
inline void CheckSystems(Morvi& mcs) {
  char letters[gnss::NSYS + 1];
  if (morvistate::SelectedLetters(mcs.gSys, letters)[0] == 0)
    ProgramError("Morvi", "NO GNSS SYSTEM SET [G|R|E|C|S|J|I]!", false);
}

// The satellites of a given list: one of a system that is not selected is told
// once and not computed; a list without a satellite of a selected system would
// compute nothing and ends the run.
inline void CheckListedSystems(Morvi& mcs) {
  if (!mcs.Sat.IsSet()) return;
  const myList<rSat>& list = mcs.Sat.Rec;
  long selected = 0;
  for (long i = 0; i < list.Length(); i++)
    if (morvistate::IsSelected(list(i), mcs.gSys)) selected++;
  char text[256];
  if (selected == 0) {
    char letters[gnss::NSYS + 1];
    snprintf(text, sizeof(text),
             "LIST OF SATELLITES HOLDS NO SATELLITE OF THE SELECTED GNSS SYSTEMS >%s< - NO POSITIONS TO CALCULATE!",
             morvistate::SelectedLetters(mcs.gSys, letters));
    ProgramError("Morvi", text, false);
  }
  for (long i = 0; i < list.Length(); i++) {
    const rSat& s = list(i);
    if (morvistate::IsSelected(s, mcs.gSys) || list.IndexFirst(s) != i) continue;
    snprintf(text, sizeof(text),
             "Satellite >%c%02d< of LIST OF SATELLITES NOT OF A SELECTED GNSS SYSTEM - NOT CALCULATED!", s.GetISys(),
             static_cast<int>(s.GetSPrn()));
    ProgramWarning("Morvi", text);
  }
}

// The numbers of the computation: integration step and Lagrange point counts.
inline void CheckNumbers(Morvi& mcs) {
  CheckPositive(mcs.IntegStep, morvidef::IntegStep, rxcalc::MIN_INTEG_STEP,
                "NUMERICAL INTEGRATION STEP SET NEGATIVE - USING DEFAULT 30!",
                "NUMERICAL INTEGRATION STEP SET ZERO - USING DEFAULT 30!",
                "NUMERICAL INTEGRATION STEP SET BELOW 0.001 s - USING DEFAULT 30!");
  CheckLagrangePoints(
      mcs.nPtsLIpos, morvidef::NPtsLIpos, sp3ns::MAX_PTS_POS,
      "NUMBER OF POINTS FOR LAGRANGE INTERPOLATION (POSITION) SET NEGATIVE - USING DEFAULT 14!",
      "NUMBER OF POINTS FOR LAGRANGE INTERPOLATION (POSITION) SET ODD NUMBER - USING DEFAULT (EVEN) 14!",
      "NUMBER OF POINTS FOR LAGRANGE INTERPOLATION (POSITION) SET ZERO - USING DEFAULT 14!",
      "NUMBER OF POINTS FOR LAGRANGE INTERPOLATION (POSITION) SET ABOVE 14 - USING DEFAULT 14!");
  CheckLagrangePoints(
      mcs.nPtsLIclk, morvidef::NPtsLIclk, sp3ns::MAX_PTS_TIME,
      "NUMBER OF POINTS FOR LAGRANGE INTERPOLATION (CLOCK ERROR) SET NEGATIVE - USING DEFAULT 4!",
      "NUMBER OF POINTS FOR LAGRANGE INTERPOLATION (CLOCK ERROR) SET ODD NUMBER - USING DEFAULT (EVEN) 4!",
      "NUMBER OF POINTS FOR LAGRANGE INTERPOLATION (CLOCK ERROR) SET ZERO - USING DEFAULT 4!",
      "NUMBER OF POINTS FOR LAGRANGE INTERPOLATION (CLOCK ERROR) SET ABOVE 4 - USING DEFAULT 4!");
}

// The interval: negative or zero falls back to the default; one that the epoch
// columns (0.1 s) cannot print exactly ends the run, told by its text: a digit
// below the tenths, whatever the size of the interval ("100000000.05").
inline void CheckInterval(Morvi& mcs, const char* fun) {
  if (!mcs.Interval.IsSet()) return;
  morvistate::Echo(mcs, fun, "Observation INTERVAL");
  CheckPositive(mcs.Interval, morvidef::Interval, 0, "Observation interval MUST NOT BE NEGATIVE - UNSETTING PARAMETER!",
                "Observation interval MUST NOT BE ZERO - UNSETTING PARAMETER!", nullptr);
  const char* token = mcs.Interval.GetToken();
  if (mcs.Interval.IsSet() && !prgparms::WholeTenths(prgparms::ValueAt(token, 3)))
    prgparms::RefuseValue("Morvi",
                          "Observation interval >%.*s< NOT VALID - NOT A MULTIPLE OF 0.1 s, THE RESOLUTION OF THE "
                          "EPOCHS!",
                          token);
}

}  // namespace morviargs

// Checks the parameters before any output: refuses a run without ephemeris,
// results file or system, and every input file that cannot serve it; replaces
// invalid numbers by their defaults.
inline void CheckArguments(Morvi& mcs) {
  const char* fun = "CheckArguments";
  bool vb = mcs.Verbose.IsSet();
  if (vb) ProgramCerrPrint("Morvi", fun, "CHECKING INPUT PARAMETERS", '-');
  morviargs::CheckEphemerisFiles(mcs, fun);
  morviargs::CheckOtherFiles(mcs, fun);
  morviargs::CheckSystems(mcs);
  morviargs::CheckListedSystems(mcs);
  morviargs::CheckNumbers(mcs);
  morviargs::CheckInterval(mcs, fun);
  if (vb) ProgramCerrPrint("Morvi", fun, "++-", '-');
}

// The settings report: the title block and the parameters as the user gave them.
inline void PrintArguments(Morvi& mcs) {
  const char* fun = "PrintArguments";
  bool vb = mcs.Verbose.IsSet();
  if (vb) ProgramCerrPrint("Morvi", fun, "PRINTING INPUT PARAMETERS TO STDOUT", '-');
  strcpy(POut::ProgramName, "Morvi");
  strcpy(POut::ProgramDescription, "GNSS SATELLITE POSITION CALCULATOR");
  strcpy(POut::Author, "Imrek Vantok, TRM - Nabu ZOBRK");
  strcpy(POut::ValidationDate, "2020 - 20XX");
  strcpy(POut::Release, "23 MAY 2025");
  ProgramTitle();
  std::ostream& os = std::cout;
  ProgramSubTitle("PROGRAM SETTINGS AND INPUT PARAMETERS:", 0);
  os << std::endl;

  ProgramSubSubTitle("INPUT FILES:", 0);
  mcs.gSys.Print("  GNSS systems for sat. positions   : ", os);
  mcs.peFileName.Print("  GNSS precise ephemeris file [SP3] : ", os);
  mcs.beFileName.Print("  GNSS broadcast ephem. file [RINEX]: ", os);
  mcs.atxFileName.Print("  ANTEX calibration data file       : ", os);
  mcs.tcFileName.Print("  ITRS>GCRS transformation data file: ", os);
  os << std::endl;

  ProgramSubSubTitle("SATELLITE SYSTEM PARAMETERS:", 0);
  mcs.Sat.Print("  List of GNSS satellites           : ", os);
  os << std::endl;

  ProgramSubSubTitle("OBSERVATION EPOCH PARAMETERS:", 0);
  mcs.eStart.Print("  First epoch of calculated results : ", os);
  mcs.eEnd.Print("  Last epoch of calculated results  : ", os);
  mcs.Interval.Print("  Interval of calculated positions  : ", os, 0, 1, true);
  os << std::endl;

  ProgramSubSubTitle("SATELLITE POSITION CALCULATION PARAMETERS:", 0);
  mcs.IntegStep.Print("  Numerical integration step       : ", os, 0, 1, true);
  mcs.nPtsLIpos.Print("  Number of Lagrange points - pos. : ", os, true);
  mcs.nPtsLIclk.Print("  Number of Lagrange points - clk. : ", os, true);
  mcs.rOrient.Print("  Remove Earth rotation from coords: ", os);
  os << std::endl;

  ProgramSubSubTitle("RESULTED FILES:", 0);
  mcs.resFile.Print("  Output file name                 : ", os);
  os << std::endl;
  if (vb) ProgramCerrPrint("Morvi", fun, "++-", '-');
}
