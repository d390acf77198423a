// Shared pieces of the navigation-file tests: paths of the real files, small
// hand-made files built from real records, and the expected warning frame.
#pragma once

#include <unistd.h>  // getpid

#include <fstream>
#include <string>

#include "rinex/rxN.h"
#include "support/capture.h"

namespace rxtest {

inline std::string Data(const char* name) { return std::string(MORVI_TEST_DATA) + "/rinex/" + name; }

// Writes text into a fresh file of the temporary folder and returns its name.
inline std::string WriteTemp(const std::string& tag, const std::string& text) {
  std::string name = "/tmp/morvi_rx_" + std::to_string(getpid()) + "_" + tag + ".rnx";
  std::ofstream out(name, std::ios::binary);
  out << text;
  return name;
}

// Header of a mixed 3.04 file with a GLUT correction of -9.3132257462e-10 s.
inline const char* kHeader =
    "     3.04           N: GNSS NAV DATA    M: MIXED            RINEX VERSION / TYPE\n"
    "sbf2rin-15.6.1                          20230708 065048 UTC PGM / RUN BY / DATE \n"
    "GPSA   1.1176e-08  7.4506e-09 -5.9605e-08 -5.9605e-08       IONOSPHERIC CORR    \n"
    "GPUT  1.8626451492E-09 4.440892099E-15  61440 2270          TIME SYSTEM CORR    \n"
    "GLUT -9.3132257462D-10 0.000000000E+00      0    0          TIME SYSTEM CORR    \n"
    "    18                                                      LEAP SECONDS        \n"
    "                                                            END OF HEADER       \n";

// A header without time corrections.
inline const char* kPlainHeader =
    "     3.04           N: GNSS NAV DATA    M: MIXED            RINEX VERSION / TYPE\n"
    "    18                                                      LEAP SECONDS        \n"
    "                                                            END OF HEADER       \n";

// Real records of SEPT1890.23P: G19 at 06:00, R07 at 04:15 UTC, S30 at 04:00,
// C01 (geostationary) at 03:00 BDT. The G19 record line is given apart so that
// tests can change its epoch or clock.
inline const char* kG19Line = "G19 2023 07 08 06 00 00 3.409683704376E-04 5.115907697473E-12 0.000000000000E+00\n";
inline const char* kG19Body =
    "     6.300000000000E+01-4.187500000000E+00 4.182317067436E-09 1.417174771178E+00\n"
    "    -3.352761268616E-07 9.485160349868E-03 8.862465620041E-06 5.153633523941E+03\n"
    "     5.400000000000E+05 1.788139343262E-07 6.816847807359E-01 1.490116119385E-08\n"
    "     9.729559425604E-01 2.108437500000E+02 2.348928279960E+00-7.888542875189E-09\n"
    "    -5.546659612065E-10 1.000000000000E+00 2.269000000000E+03 0.000000000000E+00\n"
    "     2.000000000000E+00 0.000000000000E+00-1.536682248116E-08 6.300000000000E+01\n"
    "     5.328180000000E+05 4.000000000000E+00\n";
inline const char* kR07 =
    "R07 2023 07 08 04 15 00 5.969312041998E-05 9.094947017729E-13 5.328000000000E+05\n"
    "    -1.578653662109E+04 9.842853546143E-01-3.725290298462E-09 0.000000000000E+00\n"
    "     1.564080419922E+04-1.415607452393E+00 0.000000000000E+00 5.000000000000E+00\n"
    "     1.260640380859E+04 2.993906974792E+00-0.000000000000E+00 0.000000000000E+00\n";
inline const char* kS30 =
    "S30 2023 07 08 04 00 00 3.566965460777E-07 0.000000000000E+00 5.328320000000E+05\n"
    "    -3.226796040000E+04-1.320625000000E-03 3.750000000000E-08 6.300000000000E+01\n"
    "     2.711700272000E+04-7.206250000000E-04 1.250000000000E-08 3.276700000000E+04\n"
    "    -3.525840000000E+01 7.474000000000E-02 6.250000000000E-08 5.900000000000E+01\n";

inline std::string G19() { return std::string(kG19Line) + kG19Body; }

// The frame of one warning of the navigation reader.
inline std::string Warning(const char* where, const std::string& msg) {
  return std::string("\n#### ") + where + ": Warning -> " + msg + " ####\n     Continuing " + where +
         " ... \n\n";
}
inline std::string CountWarning(const std::string& msg) {
  return Warning("Function:   rxN::CountNData()", msg);
}
inline std::string Error(const char* where, const std::string& msg) {
  return std::string("\n**** ") + where + ": Error -> " + msg + " ****\n     Exiting " + where +
         " ... \n\n";
}

// An epoch of GPS time.
inline mjd Epoch(int y, int mo, int d, int h, int mi, long double s) {
  ymdhms t;
  t.Set(y, mo, d, h, mi, s);
  return ymdhms2mjd(t);
}

}  // namespace rxtest
