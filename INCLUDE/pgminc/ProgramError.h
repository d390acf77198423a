// Fatal-error and warning frames of the whole system.
// Every failure is reported here: ProgramError writes its frame and ends the
// process with exit code 1; ProgramWarning writes its frame and returns.
// The *Cout twins write the same frames to standard output.
#pragma once

#include <stdio_ext.h>  // __fpurge
#include <termios.h>    // tcflush
#include <unistd.h>     // isatty, STDIN_FILENO

#include <cstdio>    // getchar
#include <cstdlib>   // exit
#include <cstring>   // strlen
#include <iostream>  // cerr, cout
#include <string>    // string

// Waits for one key press on standard input. On a terminal, what was typed
// before the wait is discarded first (the terminal's input queue and any unread
// rest of a line in the stdio buffer), so that the wait is for a fresh key; a
// pipe or a file is read as it stands, one character (at its end, none).
inline void WaitForKeyPress() {
  if (isatty(STDIN_FILENO)) {
    __fpurge(stdin);
    tcflush(STDIN_FILENO, TCIFLUSH);
  }
  std::getchar();
}

namespace prgerr {

// Writes one frame: empty line, "<open>prog: <kind> -> text<close>",
// "     <verb> prog ... ", empty line, where open is "**** " or "#### " and close
// " ****" or " ####"; the frame is made whole and written and flushed at once
// (one system call on an unbuffered stream instead of ten). A field width left
// pending on the stream pads the opening mark with its blank, as one piece: then
// the frame goes out piece by piece as the width asks.
inline void WriteFrame(std::ostream& os, const char* open, const char* kind, const char* verb,
                       const char* prog, const char* text, const char* close) {
  if (os.width() != 0) {
    os << std::endl;
    os << open << prog << ": " << kind << " -> " << text << close << std::endl;
    os << "     " << verb << " " << prog << " ... " << std::endl;
    os << std::endl;
    return;
  }
  std::string frame;
  frame.reserve(64 + 2 * std::strlen(prog) + std::strlen(text));
  frame.append("\n").append(open).append(prog).append(": ").append(kind);
  frame.append(" -> ").append(text).append(close).append("\n");
  frame.append("     ").append(verb).append(" ").append(prog).append(" ... \n\n");
  os.write(frame.data(), static_cast<std::streamsize>(frame.size()));
  os.flush();
}

// Ends the run after a fatal frame; waits for one fresh key press first when asked.
[[noreturn]] inline void Finish(bool wait) {
  if (wait) WaitForKeyPress();
  std::exit(1);  // normal exit path: static objects are destroyed, streams flushed
}

}  // namespace prgerr

// Fatal report on standard error; never returns (exit code 1).
[[noreturn]] inline void ProgramError(const char* prog, const char* error, bool wait) {
  prgerr::WriteFrame(std::cerr, "**** ", "Error", "Exiting", prog, error, " ****");
  prgerr::Finish(wait);
}

// Fatal report on standard output; never returns (exit code 1).
[[noreturn]] inline void ProgramErrorCout(const char* prog, const char* error, bool wait) {
  prgerr::WriteFrame(std::cout, "**** ", "Error", "Exiting", prog, error, " ****");
  prgerr::Finish(wait);
}

// Warning on standard error; the caller goes on.
inline void ProgramWarning(const char* prog, const char* warn) {
  prgerr::WriteFrame(std::cerr, "#### ", "Warning", "Continuing", prog, warn, " ####");
}

// Warning on standard output; the caller goes on.
inline void ProgramWarningCout(const char* prog, const char* warn) {
  prgerr::WriteFrame(std::cout, "#### ", "Warning", "Continuing", prog, warn, " ####");
}
