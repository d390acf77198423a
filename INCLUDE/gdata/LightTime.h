// Light-time iteration of the two orbit sources (broadcast and SP3): the state of
// a satellite at the transmission epoch of a signal received at epoch t by a
// receiver at a given Earth-fixed position (m); the receiver turns with the
// Earth during the travel time. Ranges in metres, times in seconds.
#pragma once

#include <cmath>  // fabs

#include "gdata/GNSSc.h"          // gConst: speed of light, Earth rotation rate
#include "gdata/mjd.h"            // mjd
#include "gdata/xyz.h"            // xyz
#include "pgminc/ProgramError.h"  // ProgramWarning

namespace lighttime {
inline constexpr long double START = -0.075L;  // first guess of the travel time (s)
inline constexpr long double TOL = 1e-6L;       // two successive ranges agree (m)
inline constexpr int MAXIT = 15;                // passes before the loop gives up
}  // namespace lighttime

// Iterates the travel time dt: state(te) evaluates the orbit at te = t + dt into x,
// the range D to the receiver turned by -dt wE gives the next dt = -D / c, until
// D + dt c is within TOL; after MAXIT passes it warns under the place `where` and
// stops. te keeps the last transmission epoch. Returns the geometric range D.
template <class State>
inline long double LightTimeRange(const mjd& t, const xyz& rec, const char* where, mjd& te,
                                  const xyz& x, State state) {
  const long double c = gConst.GetC();
  const long double wE = gConst.GetWEarth('G');
  long double dt = lighttime::START, conv = 1, D = 0;
  int pass = 0;
  while (conv > lighttime::TOL) {
    te = t;
    te += dt;
    state(te);
    const xyz r = rec.RotateZ(-dt * wE);
    D = (r - x).GetLength();
    conv = std::fabs(D + dt * c);
    dt = -D / c;
    if (++pass > lighttime::MAXIT) {
      ProgramWarning(where, "TO MANY ITERATION STEPS > 15!");
      break;
    }
  }
  return D;
}
