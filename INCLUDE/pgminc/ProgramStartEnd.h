// Start and end of a run: the run timer is started when the arguments are
// parsed and stopped at the end of main; in verbose mode both are traced.
#pragma once

#include <cstdio>    // snprintf
#include <iomanip>   // setw
#include <iostream>  // cerr, cout

#include "functions/CppCas.h"   // prgutil::ctm
#include "functions/numfun.h"   // Sec2HMS
#include "pgminc/ProgramOut.h"  // ProgramSubTitle

inline void StartProg(bool verbose, const char* line) {
  prgutil::ctm.Start();
  if (verbose) std::cerr << std::endl << "Morvi" << " ++" << line << std::endl;
}

// Stops the run timer; in verbose mode writes the run time to standard error.
inline void EndProg(bool verbose, bool PrintCout) {
  long double dt = prgutil::ctm.Stop();
  unsigned short h, m;
  long double s;
  Sec2HMS(dt, h, m, s);
  if (verbose) {
    std::cerr.setf(std::ios::fixed, std::ios::floatfield);
    std::cerr.precision(1);
    std::cerr << "Morvi" << " ++ " << " ***** SUCCESFULLY ENDING PROGRAM [" << std::setw(3) << h
              << "h " << std::setw(3) << m << "m " << std::setw(5) << s << "s] *****" << std::endl
              << std::endl;
  }
  char text[512];
  snprintf(text, sizeof text, "PROGRAM:     %s     ***** SUCCESFULLY ENDED [%2uh %2um %5.1Lfs] *****",
           "Morvi", static_cast<unsigned>(h), static_cast<unsigned>(m), s);
  if (PrintCout) ProgramSubTitle(text, 0);
}
