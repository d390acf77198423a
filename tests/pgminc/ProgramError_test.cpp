// The fatal and warning frames, byte for byte, and the exit code of a fatal report.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>

#include "MorviHelp.h"
#include "pgminc/ProgramError.h"
#include "support/capture.h"

TEST(ProgramError, FatalFrameOnStandardErrorAndExitCodeOne) {
  CaptureResult r = RunCaptured([] {
    std::cout << "before";
    ProgramError("Function:   rSat::TestSat()", "Satellite system identificator >X< UNDEFINED!", false);
  });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "before");  // stdout flushed through the normal exit path
  EXPECT_EQ(r.err,
            "\n**** Function:   rSat::TestSat(): Error -> Satellite system identificator >X< "
            "UNDEFINED! ****\n     Exiting Function:   rSat::TestSat() ... \n\n");

  CaptureResult empty = RunCaptured([] { ProgramError("Morvi", "", false); });
  EXPECT_EQ(empty.exitCode, 1);
  EXPECT_EQ(empty.err, "\n**** Morvi: Error ->  ****\n     Exiting Morvi ... \n\n");
}

TEST(ProgramError, WaitReadsOneCharacterAndStillExitsOne) {
  // stdin of the child is empty: the wait must end at end of input, not hang
  CaptureResult r = RunCaptured([] { ProgramError("Morvi", "x", true); });
  EXPECT_EQ(r.exitCode, 1);
}

TEST(ProgramError, WarningReturnsAndCallerOutputFollows) {
  CaptureResult r = RunCaptured([] {
    ProgramWarning("Morvi", "Input command line parameter unknown: >x<!");
    std::cerr << "after";
  });
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err,
            "\n#### Morvi: Warning -> Input command line parameter unknown: >x<! ####\n"
            "     Continuing Morvi ... \n\nafter");
}

TEST(ProgramError, CoutTwinsWriteTheSameFramesToStandardOutput) {
  CaptureResult w = RunCaptured([] { ProgramWarningCout("Morvi", "w"); });
  EXPECT_EQ(w.out, WarningFrame("Morvi", "w"));
  EXPECT_EQ(w.err, "");
  CaptureResult e = RunCaptured([] { ProgramErrorCout("Morvi", "e", false); });
  EXPECT_EQ(e.exitCode, 1);
  EXPECT_EQ(e.out, ErrorFrame("Morvi", "e"));
}

TEST(ProgramError, FrameLandsInRedirectedStandardError) {
  std::string file = "/tmp/morvi_err_redirect_" + std::to_string(getpid()) + ".txt";
  CaptureResult r = RunCaptured([file] {
    static std::ofstream red(file);
    std::cerr.rdbuf(red.rdbuf());
    ProgramError("Morvi", "to file", false);
  });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(ReadWholeFile(file), ErrorFrame("Morvi", "to file"));
  std::remove(file.c_str());
}

TEST(ProgramError, WarningFrameIsWholeAndFlushedAtOnceAndHonoursAPendingWidth) {
  // redirected to a buffered file, the frame is in the file when the call returns
  std::string file = "/tmp/morvi_warn_flush_" + std::to_string(getpid()) + ".txt";
  CaptureResult r = RunCaptured([file] {
    std::ofstream red(file);
    std::streambuf* old = std::cerr.rdbuf(red.rdbuf());
    ProgramWarning("Function:   toGCRS::SetEpoch(mjd&)", "epoch [ 2023-07-08/04:00:30] not found");
    std::cout << ReadWholeFile(file);
    std::cerr.rdbuf(old);
  });
  unlink(file.c_str());
  EXPECT_EQ(r.out, WarningFrame("Function:   toGCRS::SetEpoch(mjd&)", "epoch [ 2023-07-08/04:00:30] not found"));
  // a field width left on the stream pads the opening mark "#### " (or "**** ")
  // as one piece, the blank with it, as stream output does
  CaptureResult w = RunCaptured([] {
    std::cerr.width(8);
    ProgramWarning("Morvi", "w");
    ProgramWarning("Morvi", "v");
  });
  EXPECT_EQ(w.err, "\n   #### Morvi: Warning -> w ####\n     Continuing Morvi ... \n\n" + WarningFrame("Morvi", "v"));
  CaptureResult e = RunCaptured([] {
    std::cout.width(7);
    ProgramErrorCout("Morvi", "e", false);
  });
  EXPECT_EQ(e.out, "\n  **** Morvi: Error -> e ****\n     Exiting Morvi ... \n\n");
}

namespace {

// What a wait for a key press did on a terminal.
struct TerminalRun {
  bool waitedForFreshKey = false;  // still waiting after what was typed before
  int exitCode = -1;
};

// Runs f in a child whose standard input is a fresh pseudo-terminal on which
// "abc" and Enter were typed before f starts, and whose standard output and error
// go to files. Once `shown` appears in the child's output the child is given
// 300 ms; if it is still running then (waiting, not satisfied by the old line),
// a fresh line "k" is typed every 100 ms until it ends (at most 20 s).
TerminalRun RunOnTerminal(const std::function<void()>& f, const std::string& shown) {
  TerminalRun res;
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    ADD_FAILURE() << "no pseudo-terminal";
    return res;
  }
  const int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
  termios tio;
  tcgetattr(slave, &tio);
  tio.c_lflag &= ~static_cast<tcflag_t>(ECHO);  // nobody reads the echo
  tcsetattr(slave, TCSANOW, &tio);
  if (write(master, "abc\n", 4) != 4) ADD_FAILURE() << "typing failed";
  const std::string out = "/tmp/morvi_tty_" + std::to_string(getpid()) + ".txt";
  std::cout.flush();
  std::cerr.flush();
  fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(slave, 0);
    const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(o, 1);
    dup2(o, 2);
    close(master);
    f();
    std::exit(0);
  }
  close(slave);
  auto ended = [&](int& st) { return waitpid(pid, &st, WNOHANG) == pid; };
  int st = 0;
  bool done = false;
  for (int i = 0; i < 2000 && !done && ReadWholeFile(out).find(shown) == std::string::npos; i++) {
    done = ended(st);
    if (!done) usleep(10000);
  }
  if (!done) {
    usleep(300000);
    done = ended(st);
    res.waitedForFreshKey = !done;
  }
  for (int i = 0; i < 200 && !done; i++) {
    if (write(master, "k\n", 2) != 2) ADD_FAILURE() << "typing failed";
    usleep(100000);
    done = ended(st);
  }
  if (!done) {
    kill(pid, SIGKILL);
    waitpid(pid, &st, 0);
    ADD_FAILURE() << "the wait did not end on a fresh key";
  }
  res.exitCode = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  close(master);
  unlink(out.c_str());
  return res;
}

}  // namespace

TEST(ProgramError, WaitOnATerminalIsForAFreshKeyPress) {
  // The fatal frame with wait: the line typed before does not end the wait.
  TerminalRun e = RunOnTerminal([] { ProgramError("Morvi", "x", true); }, "Exiting Morvi ... ");
  EXPECT_TRUE(e.waitedForFreshKey);
  EXPECT_EQ(e.exitCode, 1);
  // The run without arguments: help text, then the same wait.
  TerminalRun h = RunOnTerminal([] { ValidateArgs(1); }, "=====\n\n");
  EXPECT_TRUE(h.waitedForFreshKey);
  EXPECT_EQ(h.exitCode, 1);
  // A pipe is read as it stands: what was written into it before ends the wait,
  // while its writing end is still open.
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  ASSERT_EQ(write(fds[1], "abc\n", 4), 4);
  fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[0], 0);
    close(fds[1]);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 2);
    ProgramError("Morvi", "x", true);
  }
  close(fds[0]);
  int st = 0;
  bool done = false;
  for (int i = 0; i < 500 && !done; i++) {
    done = waitpid(pid, &st, WNOHANG) == pid;
    if (!done) usleep(10000);
  }
  close(fds[1]);  // ends a wait that ignored the pipe's contents
  if (!done) waitpid(pid, &st, 0);
  EXPECT_TRUE(done) << "the wait on a pipe ignored what the pipe held";
  EXPECT_EQ(WIFEXITED(st) ? WEXITSTATUS(st) : -1, 1);
}
