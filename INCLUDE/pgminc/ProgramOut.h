// Console layout of the program: character rules, the title block, sub-titles
// and underlined headings on standard output (110 characters wide), and the two
// verbose trace lines on standard error (step line and echo line).
#pragma once

#include <cstring>   // strlen
#include <fstream>   // fstream
#include <iomanip>   // setw, setfill
#include <iostream>  // cout, cerr
#include <string>    // std::string

#include "functions/CppCas.h"  // CppCas (date of the title block)

// The texts of the title block, filled by the application.
namespace POut {
inline char ProgramName[128] = "";
inline char ProgramDescription[128] = "";
inline char Author[64] = "";
inline char ValidationDate[64] = "";
inline char Release[64] = "";
}  // namespace POut

namespace pout {
inline constexpr int TitleWidth = 110;  // width of every rule and title

// nblank blanks, then n copies of chr (as a field of width n filled with chr).
inline void Rule(std::ostream& os, char chr, int n, int nblank) {
  if (nblank > 0) os << std::string(static_cast<size_t>(nblank), ' ');
  if (n > 0) os << std::setfill(chr) << std::setw(n) << "" << std::setfill(' ');
}
}  // namespace pout

// nblank blanks and n copies of chr with a line end (nothing more when n <= 0).
inline void PrintChar(char chr, int n, int nblank) {
  pout::Rule(std::cout, chr, n, nblank);
  if (n > 0) std::cout << std::endl;
}
inline void PrintCharNoEndl(char chr, int n, int nblank) { pout::Rule(std::cout, chr, n, nblank); }
inline void PrintChar(char chr, int n, std::ostream& os, int nblank) {
  pout::Rule(os, chr, n, nblank);
  if (n > 0) os << std::endl;
}
inline void PrintChar(char chr, int n, std::fstream& os, int nblank) {
  PrintChar(chr, n, static_cast<std::ostream&>(os), nblank);
}
inline void PrintCharNoEndl(char chr, int n, std::fstream& os, int nblank) {
  pout::Rule(os, chr, n, nblank);
}

// The title block: rules, program, authors and release lines with the date.
inline void ProgramTitle() {
  CppCas cas;
  std::string date = std::string("DATE: ") + cas.Ascii();
  std::cout.setf(std::ios::fixed, std::ios::floatfield);
  PrintChar('_', pout::TitleWidth, 0);
  PrintChar('*', pout::TitleWidth, 0);
  auto line = [](const char* label, const char* first, const char* second) {
    std::cout << label << std::left << std::setw(35) << first << std::right << std::setw(45)
              << second << std::endl;
  };
  line("          PROGRAM:            ", POut::ProgramName, POut::ProgramDescription);
  line("          AUTHORS:            ", POut::Author, POut::ValidationDate);
  line("          RELEASE:            ", POut::Release, date.c_str());
  PrintChar('_', pout::TitleWidth, 0);
  PrintChar('*', pout::TitleWidth, 0);
  std::cout << std::endl << std::endl;
}

inline void ProgramSubTitle(const char* subtitle, int nblak) {
  PrintChar('=', pout::TitleWidth, nblak);
  PrintCharNoEndl(' ', 0, nblak);
  std::cout << subtitle << std::endl;
  PrintChar('=', pout::TitleWidth, nblak);
  std::cout << std::endl;
}

// nblak blanks + subtitle, then a rule of chr as long as the subtitle.
inline void pUnderlined(const char* subtitle, int nblak, char chr) {
  int n = static_cast<int>(strlen(subtitle));
  PrintCharNoEndl(' ', 0, nblak);
  std::cout << subtitle << std::endl;
  PrintCharNoEndl(' ', 0, nblak);
  pout::Rule(std::cout, chr, n, 0);
  std::cout << std::endl;
}

inline void ProgramSubSubTitle(const char* subtitle, int nblak) {
  pUnderlined(subtitle, nblak, '=');
  std::cout << std::endl;
}

inline void ProgramSubSubTitleOver(const char* subtitle, int nblak) {
  PrintCharNoEndl(' ', 0, nblak);
  pout::Rule(std::cout, '=', static_cast<int>(strlen(subtitle)), 0);
  std::cout << std::endl;
  pUnderlined(subtitle, nblak, '=');
  std::cout << std::endl;
}

inline void ProgramSubSubSubTitle(const char* subtitle, int nblak) {
  pUnderlined(subtitle, nblak, '-');
  std::cout << std::endl;
}

inline void TableLabelLine(const char* subtitle) { pUnderlined(subtitle, 0, '-'); }
inline void TableLabelLine(const char* subtitle, int nblak) { pUnderlined(subtitle, nblak, '-'); }

// Step line of the verbose trace: "pgm dd fun() d prt ".
inline void ProgramCerrPrint(const char* pgm, const char* fun, const char* prt, char dlm) {
  std::cerr << pgm << " " << dlm << dlm << " " << fun << "() " << dlm << " " << prt << " "
            << std::endl;
  std::cerr << std::right;
}

// Echo line of the verbose trace: "pgm :: fun() : prt " and the item in a field
// of width nw with precision nd; standard error stays fixed with that precision.
template <class T>
inline void ProgramCerrPrintItem(const char* pgm, const char* fun, const char* prt, const T& Item,
                                 int nw, int nd) {
  std::cerr.setf(std::ios::fixed, std::ios::floatfield);
  std::cerr << pgm << " :: " << fun << "() : " << prt << " ";
  std::cerr.precision(nd);
  std::cerr.width(nw);
  std::cerr << Item << std::endl;
}
