// Test support: run a piece of code, or the built morvi, in a child process and
// capture its exit code and the exact bytes of its standard output and error.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

struct CaptureResult {
  int exitCode = -1;  // exit status; 128 + signal number when killed by a signal
  std::string out;    // standard output
  std::string err;    // standard error
};

namespace capture_detail {
inline std::string TempName(const char* tag) {
  char name[128];
  snprintf(name, sizeof name, "/tmp/morvi_cap_%d_%s_XXXXXX", static_cast<int>(getpid()), tag);
  int fd = mkstemp(name);
  if (fd >= 0) close(fd);
  return name;
}
inline std::string Slurp(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return s;
}
inline int Status(int st) {
  if (WIFEXITED(st)) return WEXITSTATUS(st);
  if (WIFSIGNALED(st)) return 128 + WTERMSIG(st);
  return -1;
}
}  // namespace capture_detail

namespace capture_detail {
// In a child of RunCaptured or SpawnMorvi: processor time and the size of each file written bounded far above
// what a test needs (15 s, 6 MB at most), so that a fault that loops or fills the disk fails in seconds; no core.
inline void Bound() {
  const struct rlimit cpu = {120, 130}, size = {256L << 20, 256L << 20}, core = {0, 0};
  setrlimit(RLIMIT_CPU, &cpu);
  setrlimit(RLIMIT_FSIZE, &size);
  setrlimit(RLIMIT_CORE, &core);
}

// In a child: standard input, output and error from and to the named files
// (output and error created or truncated).
inline void Redirect(const std::string& in, const std::string& out, const std::string& err) {
  int i = open(in.c_str(), O_RDONLY);
  int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(i, 0);
  dup2(o, 1);
  dup2(e, 2);
}

// Waits for the child and takes its exit code and the two captured files.
inline CaptureResult Collect(pid_t pid, const std::string& fo, const std::string& fe) {
  int st = 0;
  waitpid(pid, &st, 0);
  CaptureResult r;
  r.exitCode = Status(st);
  r.out = Slurp(fo);
  r.err = Slurp(fe);
  unlink(fo.c_str());
  unlink(fe.c_str());
  return r;
}
}  // namespace capture_detail

// Runs f in a forked child with stdin empty; the child exits 0 when f returns.
inline CaptureResult RunCaptured(const std::function<void()>& f) {
  using namespace capture_detail;
  std::string fo = TempName("out"), fe = TempName("err");
  std::cout.flush();
  std::cerr.flush();
  fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    Bound();
    Redirect("/dev/null", fo, fe);
    f();
    std::exit(0);
  }
  return Collect(pid, fo, fe);
}

// Starts the built morvi with the given arguments (not including the program
// name), standard input, output and error from and to the named files, in the
// working directory cwd if given; returns the child's process id.
inline pid_t SpawnMorvi(const std::vector<std::string>& args, const std::string& in,
                        const std::string& out, const std::string& err, const std::string& cwd = "") {
  fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    capture_detail::Bound();
    capture_detail::Redirect(in, out, err);
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
    std::vector<char*> argv;
    std::string exe = MORVI_EXE;
    argv.push_back(const_cast<char*>(exe.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  return pid;
}

// Runs the built morvi with the given arguments (not including the program name),
// feeding stdinText on its standard input, in the working directory cwd if given.
inline CaptureResult RunMorvi(const std::vector<std::string>& args,
                              const std::string& stdinText = "", const std::string& cwd = "") {
  using namespace capture_detail;
  std::string fi = TempName("in"), fo = TempName("out"), fe = TempName("err");
  {
    std::ofstream in(fi, std::ios::binary);
    in << stdinText;
  }
  CaptureResult r = Collect(SpawnMorvi(args, fi, fo, fe, cwd), fo, fe);
  unlink(fi.c_str());
  return r;
}

// The fatal frame that ProgramError writes.
inline std::string ErrorFrame(const std::string& prog, const std::string& msg) {
  return "\n**** " + prog + ": Error -> " + msg + " ****\n     Exiting " + prog + " ... \n\n";
}

// The warning frame that ProgramWarning writes.
inline std::string WarningFrame(const std::string& prog, const std::string& msg) {
  return "\n#### " + prog + ": Warning -> " + msg + " ####\n     Continuing " + prog + " ... \n\n";
}

// Whole contents of a file.
inline std::string ReadWholeFile(const std::string& file) { return capture_detail::Slurp(file); }
