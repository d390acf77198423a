// sp3: an SP3 precise-orbit file (versions a, c, d) read whole into memory, the
// Lagrange interpolation of positions, velocities and clocks from its records,
// and a writer of the file. Positions in metres, velocities in metres per second,
// clock corrections in seconds; epochs as mjd in the file's own time system.
// References: [1] S. Hilla, The Extended Standard Product 3 Orbit Format (SP3-c),
// 2010; [2] S. Hilla, The Extended Standard Product 3 Orbit Format (SP3-d), 2016;
// [3] IS-GPS-200, 20.3.3.3.3.1 (relativistic clock correction -2 r.v / c^2).
#pragma once

#include <cmath>     // fabs, fabsl, sqrt, isfinite, frexp, ldexp
#include <cstdint>   // uint32_t
#include <cstdio>    // snprintf
#include <cstdlib>   // atoi, atol, atof
#include <cstring>   // strlen, strcmp, strncmp, strcpy, strncpy
#include <fstream>   // ifstream, ofstream
#include <iomanip>   // setw, setprecision
#include <iostream>  // cout

#include "functions/CppCas.h"    // CppCas::Ascii
#include "functions/cstrings.h"  // FileExists, GetFileLine, trim, fillstr
#include "gdata/GNSSc.h"         // gConst
#include "gdata/GPSws.h"         // GPSws, gpswsns
#include "gdata/LightTime.h"     // LightTimeRange
#include "gdata/gDataSum.h"      // gDataSum
#include "gdata/mjd.h"           // mjd, mjdns, tcns
#include "gdata/myList.h"        // myList
#include "gdata/rSat.h"          // rSat, rSns
#include "gdata/timeconv.h"      // mjd2ymdhms, mjd2GPSws, TimeScale
#include "gdata/xyz.h"           // xyz
#include "gdata/ymdhms.h"        // ymdhms, ymdhmsns
#include "igsforms/sp3EData.h"   // sp3EData, sp3ns
#include "pgminc/ProgramError.h" // ProgramError, ProgramWarning

namespace sp3ns {
// Default numbers of Lagrange points for positions and clocks.
inline constexpr long DEFAULT_PTS_POS = 12;
inline constexpr long DEFAULT_PTS_TIME = 4;
// Largest numbers of Lagrange points for positions and clocks. An epoch up to one
// interval outside the records is extrapolated, and there the error grows with the
// number of points: on the 5- and 15-minute files of IGS analysis centres more
// position points than 14 (the application's default) and more clock points than
// 4 (its default) give a worse end of the file, one interval out, than the
// defaults do, and no better interior.
inline constexpr long MAX_PTS_POS = 14;
inline constexpr long MAX_PTS_TIME = 4;
// Largest length of a served position (m) and velocity (m/s) and largest clock
// correction (s). Every column of a results row holds them in any frame: X, Y, Z
// in 16 columns with 3 decimals (below 1e11 m), the velocities in 12 columns with
// 3 decimals (below 1e7 m/s, also with the Earth's rotation added for the
// celestial frame), the clock in milliseconds in 14 columns with 6 decimals
// (below 1e6 ms). A larger value is no orbit or clock: the epoch gets none.
inline constexpr long double POS_MAX = 1e10L;
inline constexpr long double VEL_MAX = 1e6L;
inline constexpr long double CLK_MAX = 100.0L;
// File names are held in 256 characters.
inline constexpr int FILE_SIZE = MaxFileName + 1;
// Lagrange factors of the position window kept for this many interpolation
// factors.
inline constexpr int LAGRANGE_SLOTS = 128;
inline constexpr int LAGRANGE_PROBES = 4;  // slots tried from the one an A falls on
}  // namespace sp3ns

// The factors of a Lagrange position window, F_i(A) and dF_i/dA divided by the
// record interval, depend on the interpolation factor A, the number of points
// and the interval only: every satellite at one epoch, and every record interval
// at one offset, has the same. They are kept per A in a small table and made by
// the one routine that made them at every call before, so the bits are the same.
class sp3LagrangeFactors {
 public:
  sp3LagrangeFactors() {
    for (Slot& s : slots) s.n = 0;
  }

  // F and dF (n values each, n at most MAX_PTS_POS) for A.
  void Get(long double A, long n, long double interval, const long double*& F, const long double*& dF) {
    const int home = SlotOf(A);
    for (int k = 0; k < sp3ns::LAGRANGE_PROBES; k++) {
      Slot& s = slots[(home + k) % sp3ns::LAGRANGE_SLOTS];
      if (s.n == n && s.A == A && s.interval == interval) {
        F = s.F;
        dF = s.dF;
        return;
      }
    }
    // made into a free slot of the probed ones, or in turn over an occupied one
    int pick = -1;
    for (int k = 0; k < sp3ns::LAGRANGE_PROBES && pick < 0; k++)
      if (slots[(home + k) % sp3ns::LAGRANGE_SLOTS].n == 0) pick = (home + k) % sp3ns::LAGRANGE_SLOTS;
    if (pick < 0) {
      pick = (home + turn) % sp3ns::LAGRANGE_SLOTS;
      turn = (turn + 1) % sp3ns::LAGRANGE_PROBES;
    }
    Slot& s = slots[pick];
    Make(A, n, interval, s.F, s.dF);
    s.A = A;
    s.n = n;
    s.interval = interval;
    F = s.F;
    dF = s.dF;
  }

 private:
  struct Slot {
    long double A = 0, interval = 0;
    long n = 0;
    long double F[sp3ns::MAX_PTS_POS], dF[sp3ns::MAX_PTS_POS];
  };
  Slot slots[sp3ns::LAGRANGE_SLOTS];

  int turn = 0;

  // Home slot of A: its mantissa and exponent, mixed by a multiplicative hash.
  static int SlotOf(long double A) {
    if (!std::isfinite(A)) return 0;
    int e = 0;
    const long double fr = std::frexp(A, &e);
    const uint64_t m = static_cast<uint64_t>(static_cast<int64_t>(std::ldexp(fr, 62)));
    const uint64_t h = (m ^ (static_cast<uint64_t>(static_cast<uint32_t>(e)) << 32)) * 0x9E3779B97F4A7C15ULL;
    return static_cast<int>((h >> 32) % sp3ns::LAGRANGE_SLOTS);
  }

  // Lagrange basis polynomials F_i(A) = prod over j != i of (A - j) and their
  // derivatives per second: dF_i = sum over j != i of prod over k != i, j of
  // (A - k), divided by the interval.
  static void Make(long double A, long n, long double interval, long double* F, long double* dF) {
    for (long i = 0; i < n; i++) {
      long double f = 1;
      for (long j = 0; j < n; j++)
        if (j != i) f *= (A - j);
      long double d = 0;
      for (long j = 0; j < n; j++) {
        if (j == i) continue;
        long double p = 1;
        for (long k = 0; k < n; k++)
          if (k != i && k != j) p *= (A - k);
        d += p;
      }
      d /= interval;
      F[i] = f;
      dF[i] = d;
    }
  }
};

class sp3 {
 public:
  sp3()
      : Type(0), Version(0), Flag(0), StartEpoch(), EndEpoch(), Interval(0), posBase(0),
        clkBase(0), nComments(0), nSatListLines(0), nEpochLines(0), hasEOF(false), isInterpolSet(false),
        nPtsPos(0), nPtsTime(0), posOK(false), timeOK(false), Relativity(0), CalEph() {
    file[0] = 0;
    TimeSys[0] = 0;
    CoordSys[0] = 0;
  }
  ~sp3() {}

  // ---- Reading --------------------------------------------------------------

  void SetFile(const char* name) {
    if (strlen(name) >= (size_t)sp3ns::FILE_SIZE)
      ProgramError("Function:   sp3::SetFile()",
                   "Input ORBIT SP3 file can not be opened!", false);
    strcpy(file, name);
    if (!FileExists(file))
      ProgramError("Function:   sp3::SetFile()", "Input ORBIT SP3 file can not be opened!",
                   false);
  }

  // Reads the whole file: a counting pass, then the header and the nEph epoch
  // blocks; record k gets the epoch StartEpoch + k x Interval. Warns when the
  // file holds more epochs than the header promises (they are not read), and when
  // it ends without "EOF" inside its last epoch.
  void ReadFile() {
    CountSomeLines();
    std::ifstream in(file);
    if (!in)
      ProgramError("Function:   sp3::ReadFile()", "Input ORBIT SP3 file can not be opened!",
                   false);
    ReadFile_Header(in);
    // A block needs its '*' line: the block after the file's last '*' line ends
    // the run with "Unexpected EOF", so no more records than that are sized,
    // whatever epoch count a damaged header promises.
    long nRec = gDSum.nEph;
    if (nRec > nEpochLines + 1) nRec = nEpochLines + 1;
    sEData.Resize(nRec);
    for (long k = 0; k < nRec; k++) {
      mjd e = RecordEpoch(k);
      sEData(k).Set(in, gDSum, e);
    }
    outsideSide.Resize(gDSum.nSat, 1, 0);
    TestBodyEnd(RecordEpoch(nRec));
  }

  void PrintSummary() { gDSum.Print(); }

  short GetNSat() { return (short)gDSum.nSat; }
  short GetNSatG() { return (short)gDSum.nSatG; }
  short GetNSatR() { return (short)gDSum.nSatR; }
  short GetNSatE() { return (short)gDSum.nSatE; }
  short GetNSatC() { return (short)gDSum.nSatC; }
  short GetNSatS() { return (short)gDSum.nSatS; }
  short GetNSatJ() { return (short)gDSum.nSatJ; }
  short GetNSatI() { return (short)gDSum.nSatI; }
  // Satellites of the system of letter sys (upper case); 0 for any other letter.
  short GetNSat(char sys) {
    const int* n = gDSum.Count(sys);
    return (short)(n != nullptr ? *n : 0);
  }
  int GetNEph() { return gDSum.nEph; }
  void GetSats(myList<rSat>& list) { list = gDSum.lSat; }
  mjd GetStartEpoch() { return StartEpoch; }
  mjd GetEndEpoch() { return EndEpoch; }

  // Time system code of the "%c" line as read (three characters at most).
  const char* GetTimeSys() const { return TimeSys; }
  // Time scale of the epochs: GPS time for SP3-a and -b, which have no time
  // system field, and for a field left "ccc" or blank; by the code otherwise
  // ("GPS", "GAL", "QZS" and "IRN" are GPS time; "BDT", "TAI", "UTC", "GLO").
  // Returns false, with s set to GPS time, for a code it does not know.
  bool GetTimeScale(TimeScale& s) const {
    s = TimeScale::GPS;
    if (Version == 'a' || Version == 'b') return true;
    char code[4];
    strncpy(code, TimeSys, sizeof code);
    code[3] = 0;
    trim(code);
    static const struct {
      const char* code;
      TimeScale scale;
    } known[] = {{"", TimeScale::GPS},    {"ccc", TimeScale::GPS}, {"GPS", TimeScale::GPS},
                 {"GAL", TimeScale::GPS}, {"QZS", TimeScale::GPS}, {"IRN", TimeScale::GPS},
                 {"BDT", TimeScale::BDT}, {"TAI", TimeScale::TAI}, {"UTC", TimeScale::UTC},
                 {"GLO", TimeScale::GLO}};
    for (const auto& k : known)
      if (strcmp(code, k.code) == 0) {
        s = k.scale;
        return true;
      }
    return false;
  }
  bool Check4Sat(rSat& sat) { return gDSum.lSat.Find(sat); }
  // The span from..to of the epochs that the records serve: one interval beyond
  // the first and the last record (see TestSpan), the same for every satellite;
  // false for a file without records.
  bool GetReach(const rSat&, mjd& from, mjd& to) const {
    if (sEData.Length() == 0) return false;
    from = sEData(0).eph;
    from += -(Interval + sp3ns::EPOCH_TOL);
    to = sEData(sEData.Length() - 1).eph;
    to += Interval + sp3ns::EPOCH_TOL;
    return true;
  }

  // Whether one of the n epochs of the series from first in steps of step
  // seconds (SeriesEpoch) can get a position of sat with npos points: the
  // window of npos records that the interpolation takes for it (SetEpochIndex)
  // holds a position at every record, and it lies within the reach. False for a
  // satellite the file lacks; true where the file has fewer than npos records,
  // which SetInterpolation refuses. An epoch on the border of two windows counts
  // for both, so that no run that may hold a position is taken for one without.
  bool ServesPosition(const rSat& sat, const mjd& first, long double n, long double step, long npos) const {
    const long isat = gDSum.lSat.IndexFirst(sat);
    const long nEph = gDSum.nEph;
    if (isat < 0) return false;
    if (nEph < npos) return true;
    mjd reachFrom, reachTo;
    GetReach(sat, reachFrom, reachTo);
    long run = 0;  // records with a position up to k
    for (long k = 0; k < nEph; k++) {
      run = sEData(k).isOKPos(isat) ? run + 1 : 0;
      if (run < npos) continue;
      // window ix = k - npos + 1 serves the epochs whose argument q (in intervals
      // from the first record) has floor(q) - (npos / 2 - 1) = ix, the first and
      // the last window also all those before and after
      const long ix = k - npos + 1;
      mjd from = reachFrom, to = reachTo;
      if (ix > 0) from = RecordEpoch(ix + npos / 2 - 1);
      if (ix < nEph - npos) to = RecordEpoch(ix + npos / 2);
      if (from - reachFrom < 0) from = reachFrom;
      if (reachTo - to < 0) to = reachTo;
      if (!(to - from < 0) && SeriesMeets(first, n, step, from, to)) return true;
    }
    return false;
  }

  // ---- Interpolation --------------------------------------------------------

  void SetInterpolation() { SetInterpolation(sp3ns::DEFAULT_PTS_POS, sp3ns::DEFAULT_PTS_TIME); }

  // Numbers of Lagrange points for positions and clocks, raised to even numbers;
  // from 2 to MAX_PTS_POS and MAX_PTS_TIME.
  void SetInterpolation(long npos, long ntime) {
    char msg[256];
    if (npos < 2)
      ProgramError("Function:   sp3::SetInterpolation(long,long)",
                   "Input NUMBER OF POINTS for positional Lagrangian polynomial too small (<2)!",
                   false);
    if (ntime < 2)
      ProgramError("Function:   sp3::SetInterpolation(long,long)",
                   "Input NUMBER OF POINTS for temporal Lagrangian polynomial too small (<2)!",
                   false);
    if (npos > sp3ns::MAX_PTS_POS) {
      snprintf(msg, sizeof msg,
               "Input NUMBER OF POINTS >%ld< for positional Lagrangian polynomial too large (>%ld)!",
               npos, sp3ns::MAX_PTS_POS);
      ProgramError("Function:   sp3::SetInterpolation(long,long)", msg, false);
    }
    if (ntime > sp3ns::MAX_PTS_TIME) {
      snprintf(msg, sizeof msg,
               "Input NUMBER OF POINTS >%ld< for temporal Lagrangian polynomial too large (>%ld)!",
               ntime, sp3ns::MAX_PTS_TIME);
      ProgramError("Function:   sp3::SetInterpolation(long,long)", msg, false);
    }
    if (npos % 2 != 0) {
      snprintf(msg, sizeof msg,
               "Input NUMBER OF POINTS for positional Lagrangian polynomial odd (n=%ld) - "
               "increasing to even number!",
               npos);
      ProgramWarning("Function:   sp3::SetInterpolation(long,long)", msg);
      npos++;
    }
    if (ntime % 2 != 0) {
      snprintf(msg, sizeof msg,
               "Input NUMBER OF POINTS for temporal Lagrangian polynomial odd (n=%ld) - "
               "increasing to even number!",
               ntime);
      ProgramWarning("Function:   sp3::SetInterpolation(long,long)", msg);
      ntime++;
    }
    // With the file read, more points than records can never be served; refusing
    // them here also keeps an absurd count from sizing the denominator lists.
    if (gDSum.nEph > 0) TestWindowFits(npos, ntime, "Function:   sp3::SetInterpolation(long,long)");
    isInterpolSet = true;
    nPtsPos = npos;
    nPtsTime = ntime;
    SetLFact(posL, nPtsPos);
    SetLFact(timeL, nPtsTime);
  }

  // Position x (m, clock correction in s in t) and velocity v (m/s) of sat at
  // epoch t. x and v are written only where the records allow it: a position
  // window without a missing record, an epoch at most one interval outside the
  // records, values that fit the results columns; the clock comes only with a
  // position, since its relativistic term needs one.
  void CalcSatPosition(rSat& sat, mjd& t, xyz& x, xyz& v) {
    const char* where = "Function:   sp3::CalcSatPosition(rSat&,mjd&,xyz&,xyz&)";
    posOK = timeOK = false;
    Relativity = 0;
    if (!isInterpolSet)
      ProgramError(where, "Interpolation PARAMETERS (# of interpolating points) NOT SET!", false);
    const long isat = gDSum.lSat.IndexFirst(sat);
    if (isat < 0) return;
    TestWindowFits(nPtsPos, nPtsTime, where);
    if (!TestSpan(sat, isat, t, where)) return;

    long ix = SetEpochIndex(t, nPtsPos);
    if (CheckSatelliteDataP(ix, isat)) posOK = CalcSatPositionP(isat, ix, SetAFactor(t, ix), x, v);
    ix = SetEpochIndex(t, nPtsTime);
    if (posOK && CheckSatelliteDataT(ix, isat))
      timeOK = CalcSatPositionT(isat, ix, SetAFactor(t, ix), x);
    CalEph = t;
  }

  // The same state at the transmission epoch of a signal received at t by a
  // receiver at rec (Earth-fixed, m); returns the geometric distance (m), 0 when
  // the satellite or its positions are missing.
  long double CalcSatPosition(rSat& sat, mjd& t, xyz& rec, xyz& x, xyz& v) {
    const char* where = "Function:   sp3::CalcSatPosition(rSat&,mjd&,xyz&,xyz&,xyz&)";
    posOK = timeOK = false;
    if (!isInterpolSet)
      ProgramError(where, "Interpolation PARAMETERS (# of interpolating points) NOT SET!", false);
    const long isat = gDSum.lSat.IndexFirst(sat);
    if (isat < 0) return 0;
    TestWindowFits(nPtsPos, nPtsTime, where);
    if (!TestSpan(sat, isat, t, where)) return 0;

    // Both windows stay at the reception epoch.
    const long ixP = SetEpochIndex(t, nPtsPos);
    const long ixT = SetEpochIndex(t, nPtsTime);
    posOK = CheckSatelliteDataP(ixP, isat);
    timeOK = posOK && CheckSatelliteDataT(ixT, isat);
    if (!posOK) return 0;

    // The state of each pass into xs and vs; x and v get the last one, when every
    // pass gave values that fit the results columns.
    xyz xs, vs;
    bool fits = true, clkFits = true;
    const long double D = LightTimeRange(t, rec, where, CalEph, xs, [&](mjd& te) {
      fits = CalcSatPositionP(isat, ixP, SetAFactor(te, ixP), xs, vs) && fits;
      if (fits && timeOK) clkFits = CalcSatPositionT(isat, ixT, SetAFactor(te, ixT), xs) && clkFits;
    });
    if (!fits) {
      posOK = timeOK = false;
      return 0;
    }
    if (!clkFits) {
      timeOK = false;
      xs.SetT(0);
    }
    x = xs;
    v = vs;
    return D;
  }

  bool GetPositionStatus() { return posOK; }
  bool GetTimeStatus() { return timeOK; }
  mjd GetTransmissionEpoch() { return CalEph; }
  long double GetRelativity() { return Relativity; }

  // ---- Writing --------------------------------------------------------------

  void PrintFile() {
    std::cout << std::fixed;
    PrintFile_All(std::cout);
  }

  void PrintFile(const char* name) {
    WriteTextFile(name, "Function:   sp3::PrintFile(char*)",
                  "Output file: %s for ORBIT SP3 print can not be opened for writing!",
                  [&](std::ostream& os) { PrintFile_All(os); });
  }

  // The whole file: header rebuilt from the stored values (as many satellite
  // lines as the list needs, five at least), four comment lines, the records, EOF.
  void PrintFile_All(std::ostream& os) {
    ymdhmsns::PrintType = ymdhmsns::SP3;
    gpswsns::PrintFormat = gpswsns::SP3;
    mjdns::PrintFormat = mjdns::SP3;
    os << std::fixed;

    ymdhms ys = mjd2ymdhms(StartEpoch);
    os << '#' << Version << Flag << ys << std::setw(8) << gDSum.nEph << " ORBIT " << CoordSys
       << " PRT" << "  TRM" << '\n';
    GPSws gs = mjd2GPSws(StartEpoch);
    os << "##" << gs << std::setw(15) << std::setprecision(8) << Interval << StartEpoch << '\n';

    const long nSat = gDSum.nSat;
    long nLines = (nSat + sp3ns::SL_FIELDS - 1) / sp3ns::SL_FIELDS;
    if (nLines < 5) nLines = 5;
    for (long l = 0; l < nLines; l++) {
      // The count takes columns 4 to 6, which SP3-d needs for more than 99 satellites.
      os << "+  ";
      if (l == 0)
        os << std::setw(3) << nSat;
      else
        os << "   ";
      os << "   ";
      for (long k = l * sp3ns::SL_FIELDS; k < (l + 1) * sp3ns::SL_FIELDS; k++) {
        if (k < nSat && k < gDSum.lSat.Length())
          os << gDSum.lSat(k);
        else
          os << "  0";
      }
      os << '\n';
    }
    for (long l = 0; l < nLines; l++) {
      os << "++       ";
      for (long k = l * sp3ns::SL_FIELDS; k < (l + 1) * sp3ns::SL_FIELDS; k++) {
        if (k < nSat && k < sSat.Length())
          os << std::setw(3) << sSat(k);
        else
          os << "  0";
      }
      os << '\n';
    }
    os << "%c " << Type << "  cc " << TimeSys
       << " ccc cccc cccc cccc cccc ccccc ccccc ccccc ccccc" << '\n';
    os << "%c cc cc ccc ccc cccc cccc cccc cccc ccccc ccccc ccccc ccccc" << '\n';
    os << "%f " << std::setw(10) << std::setprecision(7) << posBase << " " << std::setw(12)
       << std::setprecision(9) << clkBase << "  0.00000000000  0.000000000000000" << '\n';
    os << "%f  0.0000000  0.000000000  0.00000000000  0.000000000000000" << '\n';
    os << "%i    0    0    0    0      0      0      0      0         0" << '\n';
    os << "%i    0    0    0    0      0      0      0      0         0" << '\n';
    CppCas now;
    os << "/* GNSS SATELLITE PRECISE EPHEMERIS FILE:                   " << '\n';
    os << "/*   PRINTING APPLICATION: " << "Morvi" << '\n';
    os << "/*   Author: Imrek Vantok, KQ TRM - ZOBRK" << '\n';
    os << "/*   Date: " << now.Ascii() << "   LOCAL TIME" << '\n';
    for (long k = 0; k < sEData.Length(); k++) sEData(k).Print(os);
    os << "EOF" << '\n';
  }

 private:
  char file[sp3ns::FILE_SIZE];
  char Type;
  char Version;
  char Flag;
  char TimeSys[4];
  char CoordSys[8];
  gDataSum gDSum;
  myList<short> sSat;
  mjd StartEpoch;
  mjd EndEpoch;
  long double Interval;
  long double posBase, clkBase;
  long nComments;
  long nSatListLines;
  long nEpochLines;  // lines beginning with '*' from the first one to "EOF" or the end of the file
  bool hasEOF;       // the data section ends with a line holding "EOF"
  myList<sp3EData> sEData;

  bool isInterpolSet;
  long nPtsPos, nPtsTime;
  myList<long double> posL, timeL;
  sp3LagrangeFactors lagrange;  // factors of the position window by interpolation factor
  bool posOK, timeOK;
  long double Relativity;
  mjd CalEph;
  // Per satellite, the side of the file's span (-1 before, +1 after, 0 inside) of
  // its last epoch: a run of epochs outside is told once.
  myList<short> outsideSide;

  // ---- Reading --------------------------------------------------------------

  // Counting pass: "+ " and "/*" lines before the first '*' line, and the '*'
  // lines from there to the line holding "EOF" (which ends the data section as
  // it does for the blocks) or the end of the file.
  void CountSomeLines() {
    char line[sp3ns::LINE_SIZE];
    std::ifstream in(file);
    if (!in)
      ProgramError("Function:   sp3::ReadFile()", "Input ORBIT SP3 file can not be opened!",
                   false);
    bool inHeader = true;
    while (GetFileLine(in, line, sp3ns::LINE_SIZE)) {
      if (!inHeader && strstr(line, "EOF") != nullptr) {
        hasEOF = true;
        break;
      }
      if (line[0] == '*') {
        inHeader = false;
        nEpochLines++;
      } else if (inHeader) {
        if (strncmp(line, "+ ", 2) == 0) nSatListLines++;
        if (strncmp(line, "/*", 2) == 0) nComments++;
      }
    }
  }

  // Reads one header line; the header ending before its layout is complete, or a
  // line longer than the buffer, is fatal.
  static void ReadHeaderLine(std::ifstream& in, char* line) {
    bool isLong = false;
    if (!GetFileLine(in, line, sp3ns::LINE_SIZE, &isLong))
      ProgramError("Function:   sp3::ReadFile_Header(ifstream&)",
                   "Unexpected EOF of ORBIT SP3 file - header section!", false);
    if (isLong)
      ProgramError("Function:   sp3::ReadFile_Header(ifstream&)",
                   "Line of ORBIT SP3 file - header section longer than 511 characters!", false);
  }

  // The header: 2 + 2 x nSatListLines + 6 + nComments lines, so that the next
  // line is the first '*' line [1, 2].
  void ReadFile_Header(std::ifstream& in) {
    char line[sp3ns::LINE_SIZE];
    char f[sp3ns::LINE_SIZE];
    char msg[2 * sp3ns::LINE_SIZE];

    // Line 1: version, position/velocity flag, number of epochs, coordinate system.
    ReadHeaderLine(in, line);
    Version = sp3ns::Column(line, sp3ns::H1_VERSION.first);
    Flag = sp3ns::Column(line, sp3ns::H1_FLAG.first);
    gDSum.nEph = atoi(sp3ns::Field(line, sp3ns::H1_NEPOCH, f));
    sp3ns::Field(line, sp3ns::H1_COORDSYS, CoordSys);
    if (gDSum.nEph < 1) {
      snprintf(msg, sizeof msg, "Number of epochs >%d< in ORBIT SP3 file header NOT valid!",
               gDSum.nEph);
      ProgramError("Function:   sp3::ReadFile_Header(ifstream&)", msg, false);
    }

    // Line 2: interval, first epoch as MJD day and fraction of day.
    ReadHeaderLine(in, line);
    Interval = atof(sp3ns::Field(line, sp3ns::H2_INTERVAL, f));
    // The span of the epochs must stay inside the days an mjd can hold.
    const long double span = (long double)(gDSum.nEph - 1) * Interval;
    if (!std::isfinite(Interval) || Interval <= 0 ||
        span >= (long double)tcns::MAX_MJD_DAY * tcns::SECDAY) {
      snprintf(msg, sizeof msg, "Epoch interval >%.8Lf< in ORBIT SP3 file header NOT valid!",
               Interval);
      ProgramError("Function:   sp3::ReadFile_Header(ifstream&)", msg, false);
    }
    const uint32_t day = (uint32_t)atol(sp3ns::Field(line, sp3ns::H2_MJDAY, f));
    const double fraction = atof(sp3ns::Field(line, sp3ns::H2_FRACTION, f));
    StartEpoch = mjd(day, (long double)(fraction * static_cast<double>(tcns::SECDAY)));
    mjd e = StartEpoch;
    e += span;
    EndEpoch = e;

    DecodeSats(in);
    DecodesSats(in);

    // "%c" lines: file type and time system.
    ReadHeaderLine(in, line);
    Type = sp3ns::Column(line, sp3ns::C1_TYPE.first);
    sp3ns::Field(line, sp3ns::C1_TIMESYS, TimeSys);
    ReadHeaderLine(in, line);

    // "%f" lines: bases of the accuracy exponents; then the two "%i" lines.
    ReadHeaderLine(in, line);
    posBase = atof(sp3ns::Field(line, sp3ns::F1_POSBASE, f));
    clkBase = atof(sp3ns::Field(line, sp3ns::F1_CLKBASE, f));
    for (int k = 0; k < 3; k++) ReadHeaderLine(in, line);

    for (long k = 0; k < nComments; k++) ReadHeaderLine(in, line);
  }

  // Field k (0-based) of the 17 three-column fields of a "+" or "++" line.
  static char* ListField(const char* line, int k, char* out) {
    return sp3ns::Field(line, sp3ns::Col{sp3ns::SL_FIRST + k * sp3ns::SL_WIDTH, sp3ns::SL_WIDTH},
                        out);
  }

  // The "+" lines: satellite count (first line) and the satellite list. The list
  // ends at the first empty field ("  0"); a count that differs from the
  // satellites listed is fatal, since the records and the list must match.
  void DecodeSats(std::ifstream& in) {
    char line[sp3ns::LINE_SIZE];
    char f[sp3ns::LINE_SIZE];
    char msg[256];
    int taken = 0, listed = 0;
    bool listEnded = false;
    for (long l = 0; l < nSatListLines; l++) {
      ReadHeaderLine(in, line);
      if (l == 0) {
        gDSum.nSat = atoi(sp3ns::Field(line, sp3ns::SL_NSAT, f));
        if (gDSum.nSat < 1) {
          snprintf(msg, sizeof msg,
                   "Number of satellites >%d< in ORBIT SP3 file header NOT valid!", gDSum.nSat);
          ProgramError("Function:   sp3::ReadFile_Header(ifstream&)", msg, false);
        }
      }
      for (int k = 0; k < sp3ns::SL_FIELDS; k++) {
        ListField(line, k, f);
        char code[sp3ns::SL_WIDTH + 1];
        strcpy(code, f);
        trim(code);
        const bool empty = code[0] == 0 || strcmp(code, "0") == 0;
        if (empty) {
          listEnded = true;
          continue;
        }
        listed++;
        if (listEnded || taken >= gDSum.nSat) continue;
        fillstr(f, sp3ns::SL_WIDTH, ' ');
        rSat s;
        s = f;
        gDSum.lSat.PushBack(s);
        int* count = gDSum.Count(s.GetISys());  // null for a letter of no system
        if (count != nullptr) {
          (*count)++;
          gDSum.List(s.GetISys())->PushBack(s);
        }
        taken++;
      }
    }
    if (nSatListLines == 0)
      ProgramError("Function:   sp3::ReadFile_Header(ifstream&)",
                   "Number of satellites >0< in ORBIT SP3 file header NOT valid!", false);
    if (taken != gDSum.nSat || listed != gDSum.nSat) {
      snprintf(msg, sizeof msg,
               "Number of satellites >%d< in ORBIT SP3 file header NOT equal to number of "
               "satellites listed >%d<!",
               gDSum.nSat, taken != gDSum.nSat ? taken : listed);
      ProgramError("Function:   sp3::ReadFile_Header(ifstream&)", msg, false);
    }
    sSat.Resize(gDSum.nSat);
  }

  // The "++" lines: one accuracy code per listed satellite.
  void DecodesSats(std::ifstream& in) {
    char line[sp3ns::LINE_SIZE];
    char f[sp3ns::LINE_SIZE];
    long taken = 0;
    for (long l = 0; l < nSatListLines; l++) {
      ReadHeaderLine(in, line);
      for (int k = 0; k < sp3ns::SL_FIELDS && taken < gDSum.nSat; k++)
        sSat(taken++) = (short)atoi(ListField(line, k, f));
    }
  }

  // The end of the body read, e the epoch after the last record: epochs of the
  // file beyond the header's count are not read; a file without "EOF" whose last
  // epoch lacks satellites may have been cut inside that epoch.
  void TestBodyEnd(mjd e) {
    char msg[512], text[64];
    const long nRec = sEData.Length();
    if (nEpochLines > nRec) {
      ymdhms d = mjd2ymdhms(e);
      sp3ns::EpochText(d, text, sizeof text);
      snprintf(msg, sizeof msg,
               "Number of epochs >%d< in ORBIT SP3 file header smaller than number of epochs in "
               "the file >%ld< - epochs from >%s< on NOT read!",
               gDSum.nEph, nEpochLines, text);
      ProgramWarning("Function:   sp3::ReadFile()", msg);
      return;
    }
    if (hasEOF || nRec == 0) return;
    sp3EData& last = sEData(nRec - 1);
    long nLines = 0;
    for (long k = 0; k < last.Sat.Length(); k++)
      if (last.Sat(k).GetISys() != 0) nLines++;
    if (nLines >= gDSum.nSat) return;
    ymdhms d = mjd2ymdhms(last.eph);
    sp3ns::EpochText(d, text, sizeof text);
    snprintf(msg, sizeof msg,
             "ORBIT SP3 file ends without EOF in its last epoch >%s< with >%ld< of >%d< "
             "satellites - file MAY BE INCOMPLETE!",
             text, nLines, gDSum.nSat);
    ProgramWarning("Function:   sp3::ReadFile()", msg);
  }

  // ---- Interpolation --------------------------------------------------------

  // The interpolation needs at least as many records as points in each window.
  void TestWindowFits(long npos, long ntime, const char* where) {
    const long n = npos > ntime ? npos : ntime;
    if (gDSum.nEph < n) {
      char msg[256];
      snprintf(msg, sizeof msg,
               "Number of EPOCHS >%d< in ORBIT SP3 file smaller than NUMBER OF POINTS >%ld< "
               "of Lagrangian polynomial!",
               gDSum.nEph, n);
      ProgramError(where, msg, false);
    }
  }

  // Epoch of record k: the header's first epoch plus k intervals.
  mjd RecordEpoch(long k) const {
    mjd e = StartEpoch;
    e += static_cast<long double>(k) * Interval;
    return e;
  }

  // Tells the first epoch of each run of epochs of a satellite outside the span of
  // the records (by more than EPOCH_TOL, the play of epochs formed by a sum of
  // rounded seconds); returns false when t lies more than one interval outside, where
  // the satellite gets no position: the polynomial is extrapolated one interval
  // at most.
  bool TestSpan(const rSat& sat, long isat, mjd& t, const char* where) {
    const long double before = sEData(0).eph - t, after = t - sEData(gDSum.nEph - 1).eph;
    const short side = before > sp3ns::EPOCH_TOL ? -1 : (after > sp3ns::EPOCH_TOL ? 1 : 0);
    if (side != 0 && side != outsideSide(isat)) {
      char msg[512], text[64];
      ymdhms d = mjd2ymdhms(t);
      sp3ns::EpochText(d, text, sizeof text);
      snprintf(msg, sizeof msg,
               "Calculation epoch >%s< of satellite >%c%02d< NOT in epoch interval of input "
               "precise orbit file - EXTRAPOLATED up to one interval >%.3Lf< s, NO POSITION "
               "farther out!",
               text, sat.GetISys(), sat.GetSPrn(), Interval);
      ProgramWarning(where, msg);
    }
    outsideSide(isat) = side;
    mjd from, to;
    GetReach(sat, from, to);
    return !(from - t > 0) && !(t - to > 0);
  }

  // Lagrange denominators for the nodes 0 ... n-1: L(i) = prod over j != i of (i - j).
  void SetLFact(myList<long double>& L, long n) {
    L.Resize(n);
    for (long i = 0; i < n / 2; i++) {
      long double p = 1;
      for (long j = 0; j < n; j++)
        if (j != i) p *= (long double)(i - j);
      L(i) = p;
      L(n - 1 - i) = -p;
    }
  }

  // First record of the n-point window: n/2 records at or before t, n/2 after,
  // moved inside the file near its ends.
  long SetEpochIndex(mjd& t, long n) {
    long double q = (t - sEData(0).eph) / Interval;
    // Far outside the file the window sits at an end anyway; the bound keeps the
    // conversion to an integer defined.
    const long double qMax = (long double)gDSum.nEph + n;
    if (q > qMax) q = qMax;
    if (q < -qMax) q = -qMax;
    long ix = (long)q - (n / 2 - 1);
    if (ix < 0) ix = 0;
    if (ix > gDSum.nEph - n) ix = gDSum.nEph - n;
    return ix;
  }

  // Normalised argument of t in the window starting at record ix.
  long double SetAFactor(mjd& t, long ix) { return (t - sEData(ix).eph) / Interval; }

  bool CheckSatelliteDataP(long ix, long isat) {
    for (long k = ix; k < ix + nPtsPos; k++)
      if (!sEData(k).isOKPos(isat)) return false;
    return true;
  }

  bool CheckSatelliteDataT(long ix, long isat) {
    for (long k = ix; k < ix + nPtsTime; k++)
      if (!sEData(k).isOKTime(isat)) return false;
    return true;
  }

  // Lagrange interpolation of the position over nPtsPos records from ix, at the
  // normalised argument A; the velocity is the time derivative of the same
  // polynomial. Sets the relativistic clock term 2 (x . v) / c^2 [3]. Returns
  // false, with x and v untouched and the term 0, when the position or velocity
  // is longer than POS_MAX or VEL_MAX (or not a number).
  bool CalcSatPositionP(long isat, long ix, long double A, xyz& x, xyz& v) {
    const long n = nPtsPos;
    long double X = 0, Y = 0, Z = 0, VX = 0, VY = 0, VZ = 0;
    const long double* Fs = nullptr;
    const long double* dFs = nullptr;
    lagrange.Get(A, n, Interval, Fs, dFs);
    for (long i = 0; i < n; i++) {
      const long double F = Fs[i], dF = dFs[i];
      xyz& P = sEData(ix + i).Pos(isat);
      const long double L = posL(i);
      X += F * P.GetX() / L;
      Y += F * P.GetY() / L;
      Z += F * P.GetZ() / L;
      VX += dF * P.GetX() / L;
      VY += dF * P.GetY() / L;
      VZ += dF * P.GetZ() / L;
    }
    Relativity = 0;
    if (!(std::sqrt(X * X + Y * Y + Z * Z) <= sp3ns::POS_MAX) ||
        !(std::sqrt(VX * VX + VY * VY + VZ * VZ) <= sp3ns::VEL_MAX))
      return false;
    x.Set(X, Y, Z);
    v.Set(VX, VY, VZ);
    const long double c = gConst.GetC();
    Relativity = 2 * ((VX / c) * (X / c) + (VY / c) * (Y / c) + (VZ / c) * (Z / c));
    return true;
  }

  // Lagrange interpolation of the clock over nPtsTime records from ix; the t
  // component of x becomes the clock less the relativistic term. Returns false,
  // with x untouched, when that is larger than CLK_MAX (or not a number).
  bool CalcSatPositionT(long isat, long ix, long double A, xyz& x) {
    const long n = nPtsTime;
    long double clk = 0;
    for (long i = 0; i < n; i++) {
      long double F = 1;
      for (long j = 0; j < n; j++)
        if (j != i) F *= (A - j);
      clk += F * sEData(ix + i).Pos(isat).GetT() / timeL(i);
    }
    const long double dt = clk - Relativity;
    if (!(std::fabs(dt) <= sp3ns::CLK_MAX)) return false;
    x.SetT(dt);
    return true;
  }
};
