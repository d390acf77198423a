// Epochs as Morvi prints them: the results and the messages show an epoch to
// the tenth of a second, rounded with the carry into minute, hour and day, so
// that both epoch columns of a row name the same instant.
#pragma once

#include <cmath>    // roundl
#include <cstddef>  // size_t
#include <cstdint>  // uint32_t
#include <cstdio>   // snprintf

#include "gdata/mjd.h"       // mjd, tcns
#include "gdata/timeconv.h"  // mjd2ymdhms
#include "gdata/ymdhms.h"    // ymdhms

namespace morviepochs {

// The epoch as the results print it: rounded to a tenth of a second, carried
// into the next day where the rounding reaches 86400 s.
inline mjd PrintedEpoch(const mjd& e) {
  uint32_t day = e.GetMJDay();
  long double s = roundl(e.GetSecond() * tcns::TENTHS_PER_SECOND) / tcns::TENTHS_PER_SECOND;
  if (s >= tcns::SECDAY) {
    s -= tcns::SECDAY;
    day++;
  }
  return mjd(day, s);
}

// Date and time of an epoch with n decimals of the second ("2023-07-08
// 04:00:00.0" for n = 1); returns the length of the text.
inline int DateTimeText(const mjd& e, int n, char* out, size_t size) {
  const ymdhms d = mjd2ymdhms(e);
  const int len = snprintf(out, size, "%04u-%02u-%02u %02u:%02u:%0*.*Lf", static_cast<unsigned>(d.GetYear()),
                           static_cast<unsigned>(d.GetMonth()), static_cast<unsigned>(d.GetDay()),
                           static_cast<unsigned>(d.GetHour()), static_cast<unsigned>(d.GetMinute()), n + 3, n,
                           d.GetSecond());
  return len < static_cast<int>(size) ? len : static_cast<int>(size) - 1;
}

// Date and time of an epoch as it stands, seconds to 8 decimals less their
// trailing zeros ("2023-07-08 00:00:00.05"), for an epoch not on a tenth.
inline const char* ExactEpochText(const mjd& e, char* out, size_t size) {
  int n = DateTimeText(e, 8, out, size);
  while (n > 2 && out[n - 1] == '0' && out[n - 2] != '.') out[--n] = 0;
  return out;
}

// Date and time of an epoch as the results print it ("2023-07-08 04:00:00.0").
inline const char* EpochText(const mjd& e, char* out, size_t size) {
  DateTimeText(PrintedEpoch(e), 1, out, size);
  return out;
}

}  // namespace morviepochs
