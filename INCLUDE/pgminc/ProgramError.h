// Fatal-error and warning frames of the whole system.
// Every failure is reported here: ProgramError writes its frame and ends the
// process with exit code 1; ProgramWarning writes its frame and returns.
// The *Cout twins write the same frames to standard output.
#pragma once

#include <cstdio>    // getchar
#include <cstdlib>   // exit
#include <cstring>   // strlen
#include <iostream>  // cerr, cout, cin
#include <string>    // string

namespace prgerr {

// Writes one frame: empty line, "<mark> prog: <kind> -> text <mark>",
// "     <verb> prog ... ", empty line; the frame is made whole and written and
// flushed at once (one system call on an unbuffered stream instead of ten).
// A field width left pending on the stream would pad the mark: then the
// frame goes out piece by piece as the width asks.
inline void WriteFrame(std::ostream& os, const char* mark, const char* kind,
                       const char* verb, const char* prog, const char* text) {
  if (os.width() != 0) {
    os << std::endl;
    os << mark << " " << prog << ": " << kind << " -> " << text << " " << mark
       << std::endl;
    os << "     " << verb << " " << prog << " ... " << std::endl;
    os << std::endl;
    return;
  }
  std::string frame;
  frame.reserve(64 + 2 * std::strlen(prog) + std::strlen(text));
  frame.append("\n").append(mark).append(" ").append(prog).append(": ").append(kind);
  frame.append(" -> ").append(text).append(" ").append(mark).append("\n");
  frame.append("     ").append(verb).append(" ").append(prog).append(" ... \n\n");
  os.write(frame.data(), static_cast<std::streamsize>(frame.size()));
  os.flush();
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
