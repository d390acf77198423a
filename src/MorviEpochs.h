// The epochs of a run: the series of SeriesEpoch (mjd.h), epoch k the first
// epoch plus k intervals in whole tenths of a second, up to the last epoch. The
// epoch columns of the results print tenths of a second: an epoch is printed
// rounded to the tenth with the carry into minute, hour and day, the same
// instant in both epoch columns. Times in seconds.
#pragma once

#include <cmath>    // roundl
#include <cstdint>  // uint32_t

#include "gdata/mjd.h"  // mjd, tcns

namespace morviepochs {

// The epoch as the results print it: rounded to a tenth of a second, carried
// into the next day where the rounding reaches 86400 s.
inline mjd PrintedEpoch(const mjd& e) {
  uint32_t day = e.GetMJDay();
  long double s = roundl(e.GetSecond() * tcns::SERIES_TENTHS) / tcns::SERIES_TENTHS;
  if (s >= tcns::SECDAY) {
    s -= tcns::SECDAY;
    day++;
  }
  return mjd(day, s);
}

}  // namespace morviepochs
