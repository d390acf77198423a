// Robustness sweep: malformed inputs derived from each real input kind (RINEX
// navigation, SP3, ANTEX, rotation file) and command lines with one token
// mistyped are fed to the built morvi. Every run must end within 10 s with exit
// code 0 or 1, without a sanitizer report, and a run that ends with 1 must have
// written the fatal frame, left the results file of an earlier run byte for byte
// (a refusal comes before the results file is opened) and made no new file. A
// run that ends with 0 must have written rows of as many fields as the header has
// column names: a value that runs into its neighbour shows as a field short.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <regex>
#include <thread>

#include "support/capture.h"

namespace {

struct Case {
  std::string kind;     // which input is malformed: nav, sp3, atx, gcrs, or cli (the command line)
  std::string what;     // how it was malformed, for the report
  std::string content;  // the malformed file
  bool isDir = false;   // a directory in place of the file
  std::vector<std::string> args = {};  // cli: the command line, kOut standing for the results file
};

const char kOut[] = "@OUT@";
// What stands in the results file before every run.
const char kEarlier[] = "rows of an earlier run\n";
// A command line asking for more epochs than this is not run: it would only take time.
const double kMaxEpochs = 20000;

struct Outcome {
  int status = -1;
  bool timedOut = false;
  bool filesKept = true;  // the earlier results file unchanged and, for cli, no file made in its directory
  std::string err;
  size_t columns = 0;  // exit code 0: the column names of the results header, its leading "#" not counted
  std::string badRow;  // exit code 0: the first row of another number of fields, or empty
};

const std::string kData = std::string(MORVI_TEST_DATA) + "/robustness/";

std::vector<std::string> SplitLines(const std::string& s) {
  std::vector<std::string> v;
  size_t a = 0;
  while (a < s.size()) {
    size_t b = s.find('\n', a);
    if (b == std::string::npos) b = s.size();
    v.push_back(s.substr(a, b - a));
    a = b + 1;
  }
  return v;
}

// Blank-separated fields of one line.
size_t Fields(const std::string& line) {
  size_t n = 0;
  for (size_t k = 0; k < line.size(); k++)
    if (line[k] != ' ' && (k == 0 || line[k - 1] == ' ')) n++;
  return n;
}

std::string JoinLines(const std::vector<std::string>& v) {
  std::string s;
  for (const auto& l : v) s += l + "\n";
  return s;
}

// Every malformed variant of one file, in a fixed order with a fixed seed.
std::vector<Case> Derive(const std::string& kind, const std::string& text, unsigned seed) {
  std::vector<Case> cs;
  std::mt19937 rng(seed);
  auto add = [&](const std::string& what, const std::string& c) { cs.push_back({kind, what, c}); };
  std::vector<std::string> lines = SplitLines(text);
  const long nl = static_cast<long>(lines.size());
  const long len = static_cast<long>(text.size());

  // cut at many offsets: densely in the first 1500 bytes (the header), then spread
  for (long off = 0; off < std::min(len, 1500L); off += 7) add("cut at " + std::to_string(off), text.substr(0, off));
  for (int k = 0; k < 150; k++) {
    long off = static_cast<long>(rng() % len);
    add("cut at " + std::to_string(off), text.substr(0, off));
  }
  // lines deleted, duplicated, swapped
  for (int k = 0; k < 130; k++) {
    long i = k < 40 ? k % nl : static_cast<long>(rng() % nl);
    std::vector<std::string> v = lines;
    v.erase(v.begin() + i);
    add("line " + std::to_string(i + 1) + " deleted", JoinLines(v));
  }
  for (int k = 0; k < 90; k++) {
    long i = k < 30 ? k % nl : static_cast<long>(rng() % nl);
    std::vector<std::string> v = lines;
    v.insert(v.begin() + i, lines[i]);
    add("line " + std::to_string(i + 1) + " duplicated", JoinLines(v));
  }
  for (int k = 0; k < 90; k++) {
    long i = k < 30 ? k % (nl - 1) : static_cast<long>(rng() % (nl - 1));
    std::vector<std::string> v = lines;
    std::swap(v[i], v[i + 1]);
    add("lines " + std::to_string(i + 1) + "/" + std::to_string(i + 2) + " swapped", JoinLines(v));
  }
  // a numeric field replaced by letters or blanks
  for (int k = 0; k < 260; k++) {
    std::string c = text;
    long p = static_cast<long>(rng() % len), tries = 0;
    while (!isdigit(static_cast<unsigned char>(c[p])) && tries++ < 200) p = (p + 1) % len;
    long w = 1 + static_cast<long>(rng() % 12);
    char fill = (k % 3 == 0) ? ' ' : (k % 3 == 1 ? 'X' : '-');
    for (long j = p; j < std::min(len, p + w) && c[j] != '\n'; j++) c[j] = fill;
    add(std::string("field at ") + std::to_string(p) + " set to '" + fill + "'", c);
  }
  // a 5000-character line, inserted or replacing a line
  for (int k = 0; k < 30; k++) {
    long i = static_cast<long>(rng() % nl);
    std::vector<std::string> v = lines;
    std::string longLine = (k % 2 == 0) ? std::string(5000, 'A') : lines[i] + std::string(5000 - lines[i].size() % 5000, '9');
    if (k % 3 == 0)
      v.insert(v.begin() + i, longLine);
    else
      v[i] = longLine;
    add("5000-character line at " + std::to_string(i + 1), JoinLines(v));
  }
  // CR LF line ends, an empty file, binary files, a directory
  std::string crlf;
  for (const auto& l : lines) crlf += l + "\r\n";
  add("CR LF line ends", crlf);
  add("empty file", "");
  std::string bin;
  for (int k = 0; k < 4096; k++) bin += static_cast<char>(rng() & 0xff);
  add("binary file", bin);
  add("header then binary", text.substr(0, std::min(len, 2000L)) + bin);
  add("NUL bytes", std::string(300, '\0') + text.substr(0, std::min(len, 3000L)));
  cs.push_back({kind, "directory in place of the file", "", true});
  return cs;
}

std::string Read(const std::string& f) { return ReadWholeFile(f); }

// The epochs a command line asks for, (last - first) / interval + 1, computed
// from its -es, -ee and -ei values; 0 when one is missing or not of the form
// "YYYY-MM-DD,hh:mm:ss[.f]" and a number (the run then refuses the line or takes
// a default). A month or day out of range still counts its days on, roughly.
double Epochs(const std::vector<std::string>& args) {
  const std::string opts = "sei";  // -es, -ee, -ei, of any case; the last of each counts
  std::string v[3];
  for (const std::string& a : args) {
    const size_t k = (a.size() > 2 && a[0] == '-' && tolower(a[1]) == 'e') ? opts.find(tolower(a[2])) : opts.npos;
    if (k != opts.npos) v[k] = a.substr(3);
  }
  static const std::regex form(R"((\d{4})-(\d\d)-(\d\d),(\d\d):(\d\d):(\d\d(\.\d+)?))");
  double t[2];
  for (int k = 0; k < 2; k++) {
    std::smatch m;
    if (!std::regex_match(v[k], m, form)) return 0;
    long y = std::stol(m[1]), mo = std::stol(m[2]);
    if (mo <= 2) y--, mo += 12;  // days counted from 1 March of year 0
    const long days = 365 * y + y / 4 - y / 100 + y / 400 + (153 * (mo - 3) + 2) / 5 + std::stol(m[3]);
    t[k] = days * 86400.0 + std::stol(m[4]) * 3600.0 + std::stol(m[5]) * 60.0 + std::stod(m[6]);
  }
  char* end;
  const double step = strtod(v[2].c_str(), &end);  // its leading number: a whole decimal number or more
  return (end == v[2].c_str() || step <= 0) ? 0 : (t[1] - t[0]) / step + 1;
}

// Command lines of a full run with one token mistyped: a character deleted,
// inserted or replaced, the dash dropped, the token cut in two, upper case.
// 400 lines mistype any token with letters and separators; 200 more delete,
// insert or replace a digit or point in the value of a span token (-es, -ee,
// -ei), and a line whose span would exceed kMaxEpochs epochs is passed over.
// File tokens are mistyped only in their option letters, so that no run writes
// outside its own directory; no mistyping makes a -wo or -we redirection.
std::vector<Case> DeriveCommandLines(unsigned seed) {
  const std::vector<std::string> base = {
      "-gsGRECSJI", "-sb" + kData + "nav.rnx", "-a" + kData + "sat.atx", "-t" + kData + "gcrs.txt", "-o",
      "-pG05,E08,R07,C19", "-r" + std::string(kOut), "-es2023-07-08,02:00:00.0", "-ee2023-07-08,03:00:00.0",
      "-ei600", "-ni30", "-np10", "-nc4"};
  const std::string chars = "abcegimnoprstvxzABGSP-,:/ _";
  std::mt19937 rng(seed);
  std::vector<Case> cs;
  const size_t firstSpan = 7;  // base[7..9]: -es, -ee, -ei
  for (int k = 0; cs.size() < 600 && k < 8000; k++) {
    const bool span = cs.size() >= 400;
    const size_t t = span ? firstSpan + rng() % 3 : rng() % base.size();
    const std::string& tok = base[t];
    const bool file = tok.size() > 3 && (tok[1] == 's' || tok[1] == 'a' || tok[1] == 't' || tok[1] == 'r');
    const size_t room = file ? 3 : tok.size();
    const size_t at = span ? 3 + rng() % (tok.size() - 3) : rng() % room;  // span: in the value
    const std::string pool = span ? "0123456789." : chars;
    const char c = pool[rng() % pool.size()];
    std::vector<std::string> args = base;
    std::string what;
    switch (rng() % (span ? 3 : 6)) {
      case 0:
        args[t].erase(at, 1);
        what = "character " + std::to_string(at) + " deleted";
        break;
      case 1:
        args[t].insert(at, 1, c);
        what = std::string("'") + c + "' inserted at " + std::to_string(at);
        break;
      case 2:
        args[t][at] = c;
        what = std::string("character ") + std::to_string(at) + " set to '" + c + "'";
        break;
      case 3:
        args[t].erase(0, 1);
        what = "dash dropped";
        break;
      case 4:
        if (file) continue;
        args[t] = tok.substr(0, at);
        args.insert(args.begin() + static_cast<long>(t) + 1, tok.substr(at));
        what = "cut in two at " + std::to_string(at);
        break;
      default:
        for (size_t j = 0; j < room; j++) args[t][j] = static_cast<char>(toupper(static_cast<unsigned char>(args[t][j])));
        what = "upper case";
    }
    bool redirects = false;
    for (const std::string& a : args)
      if (a.size() >= 3 && a[0] == '-' && (a[1] == 'w' || a[1] == 'W')) redirects = true;
    if (redirects || Epochs(args) > kMaxEpochs) continue;
    Case c1{"cli", "token " + std::to_string(t + 1) + " (" + tok.substr(0, 4) + "...): " + what, "", false, args};
    cs.push_back(c1);
  }
  return cs;
}

// The arguments of a run in which file is the malformed input of the given kind.
std::vector<std::string> Args(const Case& c, const std::string& file, const std::string& out) {
  const std::string span[] = {"-es2023-07-08,02:00:00.0", "-ee2023-07-08,03:00:00.0", "-ei600"};
  if (c.kind == "nav") return {"-gsGRECSJI", "-sb" + file, "-r" + out, span[0], span[1], span[2]};
  if (c.kind == "sp3") return {"-gsGRECSJI", "-sp" + file, "-r" + out, "-ei300"};
  if (c.kind == "atx")
    return {"-gsGRECSJI", "-sb" + kData + "nav.rnx", "-a" + file, "-r" + out, span[0], span[1], span[2]};
  return {"-gsGRECSJI", "-sb" + kData + "nav.rnx", "-t" + file, "-o", "-r" + out, span[0], span[1], span[2]};
}

pid_t Spawn(const std::vector<std::string>& args, const std::string& errFile) {
  return SpawnMorvi(args, "/dev/null", "/dev/null", errFile);
}

// Runs every case, several at a time, and returns their outcomes.
std::vector<Outcome> RunAll(const std::vector<Case>& cases, const std::string& dir) {
  std::vector<Outcome> res(cases.size());
  struct Running {
    pid_t pid;
    size_t idx;
    std::chrono::steady_clock::time_point start;
  };
  std::vector<Running> run;
  // as many at once as make test's JOBS allows (MORVI_JOBS), else one per core
  const int jobs = std::getenv("MORVI_JOBS") != nullptr ? std::atoi(std::getenv("MORVI_JOBS")) : 0;
  const unsigned par = jobs > 0 ? static_cast<unsigned>(jobs) : std::max(2u, std::thread::hardware_concurrency());
  size_t next = 0;
  auto name = [&](size_t i, const char* ext) { return dir + "/c" + std::to_string(i) + ext; };
  while (next < cases.size() || !run.empty()) {
    while (next < cases.size() && run.size() < par) {
      const Case& c = cases[next];
      std::string in = name(next, c.kind == "sp3" ? ".sp3" : ".in");
      std::ofstream(name(next, ".res"), std::ios::binary) << kEarlier;
      pid_t pid;
      if (c.kind == "cli") {
        // a directory of its own: a mistyped token may name files in it
        mkdir(in.c_str(), 0755);
        std::vector<std::string> args = c.args;
        for (std::string& a : args)
          if (a.size() >= 2 + strlen(kOut) && a.compare(2, std::string::npos, kOut) == 0) a = a.substr(0, 2) + name(next, ".res");
        pid = SpawnMorvi(args, "/dev/null", "/dev/null", name(next, ".err"), in);
      } else {
        if (c.isDir) {
          mkdir(in.c_str(), 0755);
        } else {
          std::ofstream f(in, std::ios::binary);
          f << c.content;
        }
        pid = Spawn(Args(c, in, name(next, ".res")), name(next, ".err"));
      }
      run.push_back({pid, next, std::chrono::steady_clock::now()});
      next++;
    }
    bool any = false;
    for (size_t k = 0; k < run.size();) {
      int st = 0;
      pid_t w = waitpid(run[k].pid, &st, WNOHANG);
      Outcome& o = res[run[k].idx];
      if (w == 0 && std::chrono::steady_clock::now() - run[k].start > std::chrono::seconds(10)) {
        kill(run[k].pid, SIGKILL);
        waitpid(run[k].pid, &st, 0);
        o.timedOut = true;
        w = run[k].pid;
      }
      if (w == run[k].pid) {
        size_t i = run[k].idx;
        o.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
        o.err = Read(name(i, ".err"));
        std::string in = name(i, cases[i].kind == "sp3" ? ".sp3" : ".in");
        const std::string out = Read(name(i, ".res"));
        o.filesKept = out == kEarlier && (cases[i].kind != "cli" || std::filesystem::is_empty(in));
        if (o.status == 0) {
          // empty lines part the satellites; every other line after the header is a row
          const std::vector<std::string> lines = SplitLines(out);
          const size_t head = lines.empty() ? 0 : Fields(lines[0]);
          o.columns = head > 0 ? head - 1 : 0;
          for (size_t r = 1; r < lines.size() && o.badRow.empty(); r++)
            if (!lines[r].empty() && Fields(lines[r]) != o.columns) o.badRow = lines[r];
        }
        if (cases[i].kind == "cli")
          std::filesystem::remove_all(in);
        else if (cases[i].isDir)
          rmdir(in.c_str());
        else
          unlink(in.c_str());
        unlink(name(i, ".err").c_str());
        unlink(name(i, ".res").c_str());
        run.erase(run.begin() + k);
        any = true;
      } else {
        k++;
      }
    }
    if (!any) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return res;
}

// What is wrong with an outcome, or an empty text.
std::string Verdict(const Outcome& o) {
  if (o.timedOut) return "did not end within 10 s";
  if (o.err.find("Sanitizer") != std::string::npos || o.err.find("runtime error") != std::string::npos)
    return "sanitizer report: " + o.err.substr(0, 600);
  if (o.status != 0 && o.status != 1) return "exit code " + std::to_string(o.status) + ": " + o.err.substr(0, 300);
  if (o.status == 1 && (o.err.find("**** ") == std::string::npos || o.err.find(": Error -> ") == std::string::npos ||
                        o.err.find("     Exiting ") == std::string::npos))
    return "exit code 1 without the fatal frame: " + o.err.substr(0, 300);
  if (o.status == 1 && !o.filesKept)
    return "exit code 1 after the results file was opened/changed: " + o.err.substr(o.err.find("**** "), 300);
  if (o.status == 0 && !o.badRow.empty())
    return "row with " + std::to_string(Fields(o.badRow)) + " fields under a header of " + std::to_string(o.columns) +
           ": " + o.badRow.substr(0, 200);
  return "";
}

}  // namespace

TEST(robustness, MalformedInputsEndCleanly) {
  struct Seed {
    const char* kind;
    const char* file;
  } seeds[] = {{"nav", "nav.rnx"}, {"sp3", "orbit.sp3"}, {"atx", "sat.atx"}, {"gcrs", "gcrs.txt"}};
  std::vector<Case> cases;
  unsigned s = 1;
  for (const Seed& sd : seeds) {
    std::string text = Read(kData + sd.file);
    ASSERT_FALSE(text.empty()) << sd.file;
    std::vector<Case> v = Derive(sd.kind, text, s++);
    cases.insert(cases.end(), v.begin(), v.end());
  }
  std::vector<Case> cli = DeriveCommandLines(s);
  cases.insert(cases.end(), cli.begin(), cli.end());
  char tmpl[] = "/tmp/morvi_sweep_XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  std::vector<Outcome> res = RunAll(cases, tmpl);
  rmdir(tmpl);

  int fails = 0, fatal = 0;
  for (size_t i = 0; i < cases.size(); i++) {
    std::string v = Verdict(res[i]);
    if (res[i].status == 1) fatal++;
    if (!v.empty() && ++fails <= 25) ADD_FAILURE() << cases[i].kind << ", " << cases[i].what << ": " << v;
  }
  std::cout << "robustness sweep: " << cases.size() << " cases, " << fatal << " ended by a fatal frame, "
            << fails << " failed" << std::endl;
  EXPECT_EQ(fails, 0);
}
