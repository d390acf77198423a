// Fatal-error and warning frames of the whole system.
// Every failure is reported here: ProgramError writes its frame and ends the
// process with exit code 1; ProgramWarning writes its frame and returns.
// The *Cout twins write the same frames to standard output.
#pragma once

#include <cstdio>    // getchar
#include <cstdlib>   // exit
#include <iostream>  // cerr, cout, cin

namespace prgerr {

// Writes one frame: empty line, "<mark> prog: <kind> -> text <mark>",
// "     <verb> prog ... ", empty line; each line end flushes.
inline void WriteFrame(std::ostream& os, const char* mark, const char* kind,
                       const char* verb, const char* prog, const char* text) {
  os << std::endl;
  os << mark << " " << prog << ": " << kind << " -> " << text << " " << mark
     << std::endl;
  os << "     " << verb << " " << prog << " ... " << std::endl;
  os << std::endl;
}

// Ends the run after a fatal frame; waits for one fresh key press first when asked.
[[noreturn]] inline void Finish(bool wait) {
  if (wait) {
    std::cin.clear();
    std::cin.ignore(std::cin.rdbuf()->in_avail());
    std::getchar();
  }
  std::exit(1);  // normal exit path: static objects are destroyed, streams flushed
}

}  // namespace prgerr

// Fatal report on standard error; never returns (exit code 1).
[[noreturn]] inline void ProgramError(const char* prog, const char* error, bool wait) {
  prgerr::WriteFrame(std::cerr, "****", "Error", "Exiting", prog, error);
  prgerr::Finish(wait);
}

// Fatal report on standard output; never returns (exit code 1).
[[noreturn]] inline void ProgramErrorCout(const char* prog, const char* error, bool wait) {
  prgerr::WriteFrame(std::cout, "****", "Error", "Exiting", prog, error);
  prgerr::Finish(wait);
}

// Warning on standard error; the caller goes on.
inline void ProgramWarning(const char* prog, const char* warn) {
  prgerr::WriteFrame(std::cerr, "####", "Warning", "Continuing", prog, warn);
}

// Warning on standard output; the caller goes on.
inline void ProgramWarningCout(const char* prog, const char* warn) {
  prgerr::WriteFrame(std::cout, "####", "Warning", "Continuing", prog, warn);
}
