// CppCas: wall-clock date texts (local and UTC) and the processor-time stopwatch
// that times a run; prgutil::ctm is the program's one run timer.
#pragma once

#include <cstdio>   // snprintf
#include <cstring>  // strlen, memcpy
#include <ctime>   // time, localtime, gmtime, clock, CLOCKS_PER_SEC

class CppCas {
 public:
  CppCas() : rawtime(0), startUra(0), stopUra(0), timeinfo(nullptr), casTece(false) {
    ascii[0] = 0;
    Update();
  }
  CppCas(const CppCas& o)
      : rawtime(o.rawtime), startUra(0), stopUra(0), timeinfo(o.timeinfo), casTece(o.casTece) {
    ascii[0] = 0;
  }
  CppCas& operator=(const CppCas&) = delete;
  ~CppCas() { casTece = false; }

  int LetoDt() { Update(); return timeinfo->tm_year + 1900; }
  int MesecDt() { Update(); return timeinfo->tm_mon + 1; }
  int DanDt() { Update(); return timeinfo->tm_mday; }
  int Ura() { Update(); return timeinfo->tm_hour; }
  int Min() { Update(); return timeinfo->tm_min; }
  int Sec() { Update(); return timeinfo->tm_sec; }

  void Start() {
    casTece = true;
    startUra = clock();
  }

  // Seconds of processor time since Start; 0 when the stopwatch is not running.
  double Stop() {
    if (!casTece) return 0.0;
    casTece = false;
    stopUra = clock();
    return static_cast<double>(stopUra - startUra) / static_cast<double>(CLOCKS_PER_SEC);
  }

  // Local date and time "YYYY-MM-DD  hh:mm:ss".
  const char* Ascii() {
    Update();
    Format("%4d-%02d-%02d  %02d:%02d:%02d", timeinfo->tm_year + 1900,
             timeinfo->tm_mon + 1, timeinfo->tm_mday, timeinfo->tm_hour, timeinfo->tm_min,
             timeinfo->tm_sec);
    return ascii;
  }

  // UTC date and time "YYYYMMDD hhmmss UTC" (RINEX run-date form).
  const char* rxAscii() {
    rxUpdate();
    Format("%4d%02d%02d %02d%02d%02d UTC", timeinfo->tm_year + 1900,
             timeinfo->tm_mon + 1, timeinfo->tm_mday, timeinfo->tm_hour, timeinfo->tm_min,
             timeinfo->tm_sec);
    return ascii;
  }

  // Local date "YYYY-MM-DD".
  const char* AsciiDate() {
    Update();
    Format("%4d-%02d-%02d", timeinfo->tm_year + 1900,
             timeinfo->tm_mon + 1, timeinfo->tm_mday);
    return ascii;
  }

  // Waits, polling the processor clock, for n seconds of processor time.
  void Pocakaj(int n) {
    clock_t t0 = clock();
    while (clock() - t0 < static_cast<clock_t>(n) * CLOCKS_PER_SEC) {
    }
  }

 private:
  time_t rawtime;
  clock_t startUra;
  clock_t stopUra;
  struct tm* timeinfo;  // not owned: the runtime's static broken-down time
  bool casTece;         // true while the stopwatch runs
  char ascii[25];

  // printf into ascii; the texts always fit, the cut only guards the buffer.
  template <class... A>
  void Format(const char* fmt, A... args) {
    char tmp[96];
    snprintf(tmp, sizeof tmp, fmt, args...);
    size_t n = strlen(tmp);
    if (n > sizeof ascii - 1) n = sizeof ascii - 1;
    memcpy(ascii, tmp, n);
    ascii[n] = 0;
  }

  void Update() {
    time(&rawtime);
    timeinfo = localtime(&rawtime);
  }
  void rxUpdate() {
    time(&rawtime);
    timeinfo = gmtime(&rawtime);
  }
};

namespace prgutil {
inline CppCas ctm;  // the run timer
}  // namespace prgutil
