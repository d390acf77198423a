// Utilities on NUL-terminated character arrays, the string form of file lines,
// labels and fixed-column fields, and on file names. None allocates or knows the
// size of a destination (the caller's duty); none reads past a source's NUL.
// GetFileLine is the one line reader of every input file (CR LF tolerant).
#pragma once

#include <cctype>    // isspace, tolower, toupper
#include <cerrno>    // errno, ENOENT
#include <cmath>     // floor, log10, pow, fabs
#include <cstdio>    // sprintf, remove
#include <cstdlib>   // strtold
#include <cstring>   // strlen, strstr
#include <fstream>   // ifstream, ofstream
#include <istream>   // istream
#include <limits>    // numeric_limits
#include <string>    // std::string

#include "pgminc/ProgramError.h"  // ProgramError

// Copies at most dol characters of str1 from position pos into str2.
inline void substr(const char* str1, int pos, int dol, char* str2) {
  str2[0] = 0;
  if (dol <= 0 || pos < 0) return;
  int len = static_cast<int>(strlen(str1));
  if (pos >= len) return;
  int i = 0;
  while (i < dol && str1[pos + i] != 0) {
    str2[i] = str1[pos + i];
    i++;
  }
  str2[i] = 0;
}

// Copies str1 from position pos to its end into str2.
inline void substr(const char* str1, int pos, char* str2) {
  str2[0] = 0;
  int len = static_cast<int>(strlen(str1));
  if (pos < 0 || pos >= len) return;
  strcpy(str2, str1 + pos);
}

// Last position of c in str (the NUL counts, so c = 0 gives the length), or -1.
inline int indexLast(const char* str, char c) {
  for (int i = static_cast<int>(strlen(str)); i >= 0; i--)
    if (str[i] == c) return i;
  return -1;
}

// nznak copies of znak, terminated.
inline void strng(char* niz, char znak, long nznak) {
  long i = 0;
  for (; i < nznak; i++) niz[i] = znak;
  niz[i > 0 ? i : 0] = 0;
}

// nx copies of c, terminated (the same operation as strng).
inline void strcopy(char* str, char c, int nx) { strng(str, c, nx); }

// Makes cstr exactly finlen characters long: padded with c or cut.
inline void fillstr(char* cstr, long finlen, char c) {
  long len = static_cast<long>(strlen(cstr));
  for (long i = len; i < finlen; i++) cstr[i] = c;
  if (finlen >= 0) cstr[finlen] = 0;
}

// Removes trailing blanks (code 32 only).
inline void trimr(char* niz) {
  long i = static_cast<long>(strlen(niz)) - 1;
  while (i >= 0 && niz[i] == ' ') i--;
  niz[i + 1] = 0;
}

// Removes leading blanks (code 32 only).
inline void triml(char* niz) {
  long n = 0;
  while (niz[n] == ' ') n++;
  if (n == 0) return;
  long i = 0;
  do {
    niz[i] = niz[i + n];
  } while (niz[i++] != 0);
}

inline void trim(char* niz) {
  trimr(niz);
  triml(niz);
}

inline bool IsWhite(char ch) { return isspace(static_cast<unsigned char>(ch)) != 0; }

// Number of white-space separated words.
inline int cwords(const char* niz) {
  if (niz[0] == 0) return 0;
  int n = IsWhite(niz[0]) ? 0 : 1;
  for (int i = 1; niz[i] != 0; i++)
    if (IsWhite(niz[i - 1]) && !IsWhite(niz[i])) n++;
  return n;
}

// Word number iw (1-based) of niz into wrd; empty when there is no such word.
inline void gword(const char* niz, long iw, char* wrd) {
  wrd[0] = 0;
  if (niz[0] == 0 || iw <= 0) return;
  long start = -1;
  if (iw == 1) {
    long i = 0;
    while (niz[i] != 0 && IsWhite(niz[i])) i++;
    if (niz[i] == 0) return;
    start = i;
  } else {
    long n = IsWhite(niz[0]) ? 0 : 1;
    for (long i = 1; niz[i] != 0 && start < 0; i++)
      if (IsWhite(niz[i - 1]) && !IsWhite(niz[i]) && ++n == iw) start = i;
    if (start < 0) return;
  }
  long k = 0;
  while (niz[start + k] != 0 && !IsWhite(niz[start + k])) {
    wrd[k] = niz[start + k];
    k++;
  }
  wrd[k] = 0;
}

// Replaces every orig by rep.
inline void creplace(char* niz, char orig, char rep) {
  for (long i = 0; niz[i] != 0; i++)
    if (niz[i] == orig) niz[i] = rep;
}

// Replaces orig by rep in positions 0 to n-1 (position 0 always examined).
inline void creplace(char* niz, char orig, char rep, long n) {
  long i = 0;
  do {
    if (niz[i] == 0) return;
    if (niz[i] == orig) niz[i] = rep;
    i++;
  } while (i < n);
}

// Overwrites every occurrence of ssOrig by ssRep of the same length.
inline void sreplace(char* nizOrig, const char* ssOrig, const char* ssRep) {
  size_t lo = strlen(ssOrig);
  if (lo == 0 || lo != strlen(ssRep) || strlen(nizOrig) < lo) return;
  if (strcmp(ssOrig, ssRep) == 0) return;  // would never end
  // The search restarts after the place just written, so a replacement that
  // forms the pattern again cannot loop for ever.
  char* p = strstr(nizOrig, ssOrig);
  while (p != nullptr) {
    memcpy(p, ssRep, lo);
    p = strstr(p + 1, ssOrig);
  }
}

// Length of the decimal number at the start of p, as strtod would take it: an
// optional sign, digits with at most one decimal point (one digit at least), and
// an exponent (e or E, optional sign, digits) when digits follow the letter; 0 when
// p does not begin with one. "nan", "inf" and hexadecimal text are no decimal
// numbers ("0x1p3" gives 1, the length of its "0"). places, where given, gets the
// decimal places of the number's last written digit: its fraction digits less
// its exponent ("60133.1043865" 7, "6.0133e4" 0, "42" 0, "1e-3" 3).
inline int DecimalLength(const char* p, int* places = nullptr) {
  auto digits = [](const char* q) {
    int n = 0;
    while (q[n] >= '0' && q[n] <= '9') n++;
    return n;
  };
  int i = (*p == '+' || *p == '-') ? 1 : 0;
  const int whole = digits(p + i);
  i += whole;
  int frac = 0;
  if (p[i] == '.') {
    frac = digits(p + i + 1);
    if (whole + frac > 0) i += 1 + frac;
  }
  if (places != nullptr) *places = frac;
  if (whole + frac == 0) return 0;
  if (p[i] == 'e' || p[i] == 'E') {
    int j = i + 1;
    const bool minus = p[j] == '-';
    if (p[j] == '+' || p[j] == '-') j++;
    const int ex = digits(p + j);
    if (ex > 0) {
      i = j + ex;
      long e = 0;  // held below any line's reach, so that the sum cannot overflow
      for (int k = 0; k < ex && e < 100000; k++) e = 10 * e + (p[j + k] - '0');
      if (places != nullptr) *places = static_cast<int>(minus ? frac + e : frac - e);
    }
  }
  return i;
}

// True when text holds one finite decimal number (DecimalLength) with nothing but
// blanks around it; value = that number. An empty text is no number.
inline bool DecimalField(const char* text, long double& value) {
  while (*text == ' ') text++;
  const int n = DecimalLength(text);
  if (n == 0) return false;
  for (const char* p = text + n; *p != 0; p++)
    if (*p != ' ') return false;
  const long double v = strtold(text, nullptr);
  if (!std::isfinite(v)) return false;
  value = v;
  return true;
}

// Formats x as a mantissa of nn-ne-1 characters with nd decimals, "e" and a
// signed exponent of ne characters, e.g. " 1.234500000000e+003" for 1234.5.
// Every nonzero finite value keeps its exponent, however small (a clock drift
// rate of 5e-18 s/s is a value); only zero is written with the exponent 0.
template <class T>
inline char* sciNotationT(T x, int nn, int nd, int ne, char* snum) {
  snum[0] = 0;
  int e = 0;
  double m = 0.0;
  if (!std::isfinite(x)) {
    m = static_cast<double>(x);  // NaN or infinity: no exponent to take, shown as it is
  } else if (x != 0) {
    e = static_cast<int>(std::floor(std::log10(std::fabs(x))));
    // The power of ten in double; only a value whose power lies beyond the double
    // range (0 or infinite there) takes it in extended precision.
    if (e <= 308 && e >= -307)
      m = static_cast<double>(x * static_cast<T>(std::pow(10.0, -e)));
    else
      m = static_cast<double>(static_cast<long double>(x) * std::pow(10.0L, static_cast<long double>(-e)));
  }
  char fmt[64];
  sprintf(fmt, "%%%d.%dlfe%%+0%dd", nn - ne - 1, nd, ne);
  sprintf(snum, fmt, m, e);
  return snum;
}
inline char* sciNotation(double x, int nn, int nd, int ne, char* snum) {
  return sciNotationT<double>(x, nn, nd, ne, snum);
}
inline char* sciNotation(long double x, int nn, int nd, int ne, char* snum) {
  return sciNotationT<long double>(x, nn, nd, ne, snum);
}

// Overwrites niz from position ix with iniz; never lengthens niz.
inline void instr(char* niz, int ix, const char* iniz) {
  if (ix < 0 || ix > static_cast<int>(strlen(niz))) return;
  for (int k = 0; iniz[k] != 0 && niz[ix + k] != 0; k++) niz[ix + k] = iniz[k];
}

inline void slower(char* niz) {
  for (long i = 0; niz[i] != 0; i++)
    niz[i] = static_cast<char>(tolower(static_cast<unsigned char>(niz[i])));
}
inline void supper(char* niz) {
  for (long i = 0; niz[i] != 0; i++)
    niz[i] = static_cast<char>(toupper(static_cast<unsigned char>(niz[i])));
}

// The longest file name the readers hold (characters, without the NUL); the
// command line refuses a longer input name before any reader sees it.
inline constexpr int MaxFileName = 255;

// True when the file can be opened for reading.
inline bool FileExists(const char* f) {
  std::ifstream in(f);
  if (!in.is_open()) return false;
  in.close();
  return true;
}
inline bool FileExists(const std::string& f) { return FileExists(f.c_str()); }

// Deletes a file; true also when it did not exist.
inline bool RemFile(const char* file) {
  if (std::remove(file) == 0) return true;
  return errno == ENOENT;
}

// Position of the later of the last '/' and the last '\', or -1.
inline int LastPathSeparator(const char* file) {
  int a = indexLast(file, '/');
  int b = indexLast(file, '\\');
  return a > b ? a : b;
}

// The part of a path after its last separator.
inline void GetBasename(const char* file, char* bname) {
  int k = LastPathSeparator(file);
  strcpy(bname, file + k + 1);
}

// The part of a path before its last separator; empty for a bare name.
inline void GetDirname(const char* file, char* dname) {
  int k = LastPathSeparator(file);
  dname[0] = 0;
  if (k >= 0) substr(file, 0, k, dname);
}

// Opens out for writing (created or truncated); a file that cannot be opened
// ends the program under the place `where` with the message fmt, whose one %s
// is the file name.
inline void OpenForWriting(std::ofstream& out, const char* name, const char* where, const char* fmt) {
  out.open(name);
  if (out) return;
  char msg[2400];
  snprintf(msg, sizeof msg, fmt, name);
  ProgramError(where, msg, false);
}

// Writes the file name (created or truncated) in fixed notation by write(out);
// a file that cannot be opened ends the program as OpenForWriting says.
template <class Write>
inline void WriteTextFile(const char* name, const char* where, const char* fmt, Write write) {
  std::ofstream out;
  OpenForWriting(out, name, where, fmt);
  out << std::fixed;
  write(out);
}

// Reads one line of a text file into buf (at most bufSize-1 characters, always
// terminated) and drops a trailing CR, so CR LF files read as LF files do. A
// longer line is cut to the buffer, the rest of it consumed, and *isLong set.
// Returns false only at end of file with nothing read.
inline bool GetFileLine(std::istream& in, char* buf, int bufSize, bool* isLong = nullptr) {
  if (isLong != nullptr) *isLong = false;
  buf[0] = 0;
  if (!in.good()) return false;
  in.getline(buf, bufSize);
  std::streamsize got = in.gcount();
  if (in.eof() && got == 0) return false;
  if (in.fail() && !in.eof()) {
    in.clear();
    // The buffer is full. A CR that ends the line (LF or end of file after it) is
    // no content, so a CR LF line that fits without it is not long.
    bool crEnd = false;
    if (in.peek() == '\r') {
      in.get();
      const int next = in.peek();
      if (next == '\n') in.get();
      crEnd = next == '\n' || next == std::char_traits<char>::eof();
    }
    if (!crEnd) {
      in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
      if (isLong != nullptr) *isLong = true;
    }
  }
  size_t len = strlen(buf);
  if (len > 0 && buf[len - 1] == '\r') buf[len - 1] = 0;
  return true;
}
