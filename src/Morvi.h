// The application state of Morvi: every command-line parameter and every reader
// of one run (SP3 precise orbits, RINEX 3 broadcast ephemerides, ANTEX antenna
// offsets, ITRS-to-GCRS rotation matrices, the sun model), and the two files
// that standard output (-wo) and standard error (-we) can be redirected to.
// Times in seconds, epochs as mjd in the time scale of the ephemeris.
#pragma once

#include <fstream>   // ofstream

#include "gdata/GNSSc.h"              // gConst (constructed before the objects below)
#include "gdata/GNSSsys.h"            // gnss::systems
#include "functions/CppCas.h"         // prgutil::ctm
#include "gdata/LuniSolarPosition.h"  // LuniSolarPosition
#include "igsforms/antex.h"           // antex
#include "igsforms/sp3.h"             // sp3, sp3ns
#include "igsforms/toGCRS.h"          // toGCRS
#include "pgminc/ProgramOut.h"        // ProgramCerrPrintItem
#include "pgminc/ProgramParms.h"      // pChars, pBool, pDate, pSats, pGSys, pFloat, pInteger
#include "rinex/rxN.h"                // rxN, rxcalc

// The redirection files of standard output (-wo) and standard error (-we);
// constructed after gConst and prgutil::ctm, closed at exit.
inline std::ofstream coutRedirect;
inline std::ofstream cerrRedirect;

// Defaults of the numerical parameters. The Lagrange point counts are the most
// that the ends of a precise orbit file bear, which the checks also hold them to.
namespace morvidef {
constexpr long double Interval = 300.0L;                      // step between epochs, s
constexpr long NPtsLIpos = sp3ns::MAX_PTS_POS;                // Lagrange points, SP3 positions
constexpr long NPtsLIclk = sp3ns::MAX_PTS_TIME;               // Lagrange points, SP3 clocks
constexpr long double IntegStep = rxcalc::DEFAULT_INTEG_STEP;  // GLONASS integration step, s
}  // namespace morvidef

// The application state: one object lives for the whole run; every step takes it
// by reference. A parameter counts as given only when its IsSet() is true.
class Morvi {
 public:
  pChars CoutFile;     // -wo: standard-output redirection file
  pChars CerrFile;     // -we: standard-error redirection file
  pChars atxFileName;  // -a: ANTEX antenna-calibration file
  pChars beFileName;   // -sb: broadcast ephemeris (RINEX 3 navigation)
  pChars peFileName;   // -sp: precise ephemeris (SP3)
  pChars tcFileName;   // -t: ITRS-to-GCRS rotation-matrix file
  antex atx;
  rxN beData;
  sp3 peData;
  toGCRS t2cData;
  LuniSolarPosition lsp;
  pInteger<long> nPtsLIpos;      // -np: Lagrange points for SP3 positions
  pInteger<long> nPtsLIclk;      // -nc: Lagrange points for SP3 clocks
  pFloat<long double> IntegStep; // -ni: GLONASS integration step, s
  pChars resFile;                // -r: results file
  pSats Sat;                     // -p: satellites to compute
  pGSys gSys;                    // -gs: systems to compute
  pDate eStart;                  // -es: first epoch
  pDate eEnd;                    // -ee: last epoch
  pFloat<long double> Interval;  // -ei: step between epochs, s
  pBool rOrient;                 // -o: remove the Earth's rotation
  pBool Verbose;                 // -v: verbose trace on standard error
  pBool Help;                    // -h: help text only
  // The command line as given (arguments 1 to nArgs - 1; they live for the
  // whole run): the names of the input files that a later token replaced count
  // too when the results file is checked.
  int nArgs = 0;
  const char* const* args = nullptr;
  // The ephemeris that serves the run, decided once the names are checked (the
  // precise one where both are given), and whether the satellite list is the
  // ephemeris file's.
  enum class Ephemeris { Precise, Broadcast };
  Ephemeris ephemeris = Ephemeris::Precise;
  bool satsFromFile = false;

  Morvi() {
    Interval.SetDefault(morvidef::Interval);
    Interval.SetUnit("s");
    nPtsLIpos.SetDefault(morvidef::NPtsLIpos);
    nPtsLIclk.SetDefault(morvidef::NPtsLIclk);
    IntegStep.SetDefault(morvidef::IntegStep);
    IntegStep.SetUnit("s");
  }
};

// Queries of the state that several steps ask.
namespace morvistate {

// Whether the satellite's system is selected; a satellite of no known system is
// not refused here.
inline bool IsSelected(const rSat& s, const pGSys& g) {
  return gnss::Of(s.GetISys()) == nullptr || g.IsSys(s.GetISys());
}

// Whether the broadcast ephemeris serves the run.
inline bool Broadcast(const Morvi& mcs) { return mcs.ephemeris == Morvi::Ephemeris::Broadcast; }

// The name of the ephemeris file in use.
inline const char* EphemerisName(const Morvi& mcs) {
  return Broadcast(mcs) ? mcs.beFileName.Rec : mcs.peFileName.Rec;
}

// f applied to the reader of the ephemeris in use (rxN or sp3, which answer alike).
template <class F>
inline auto OnEphemeris(Morvi& mcs, F f) {
  return Broadcast(mcs) ? f(mcs.beData) : f(mcs.peData);
}

// Whether the ephemeris file in use holds the satellite.
inline bool HasSatellite(Morvi& mcs, rSat& sat) {
  return OnEphemeris(mcs, [&](auto& reader) { return reader.Check4Sat(sat); });
}

// Echo line with an empty value (verbose mode only).
inline void Echo(Morvi& mcs, const char* fun, const char* text) {
  if (mcs.Verbose.IsSet()) ProgramCerrPrintItem("Morvi", fun, text, "", 0, 0);
}

// The letters of the selected systems, in the order G, R, E, C, S, J, I, into
// out (room for gnss::NSYS + 1 characters).
inline const char* SelectedLetters(const pGSys& g, char* out) {
  int n = 0;
  for (const GNSSsys& s : gnss::systems)
    if (g.IsSys(s.letter)) out[n++] = s.letter;
  out[n] = 0;
  return out;
}

}  // namespace morvistate
