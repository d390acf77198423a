// The position loop of Morvi: for every selected satellite present in the
// ephemeris, position (m), clock correction (s, written in ms) and velocity
// (m/s), Earth-fixed, at every epoch from the first to the last in steps of the
// interval; broadcast positions moved from the antenna phase centre to the centre
// of mass (ANTEX); optional GCRS and Earth-rotation-free columns.
#pragma once

#include <cmath>     // fabs, isfinite
#include <cstdint>   // uint32_t
#include <cstdio>    // snprintf
#include <cstdlib>   // atexit
#include <cstring>   // strcat, memcpy
#include <fstream>   // ofstream
#include <iomanip>   // setw
#include <iostream>  // cout
#include <sstream>   // ostringstream

#include "Morvi.h"
#include "MorviEpochs.h"               // PrintedEpoch, EpochText
#include "gdata/mjd.h"                 // SeriesCount, SeriesEpoch
#include "functions/fixedfmt.h"        // FixedText
#include "functions/numfun.h"          // pi
#include "gdata/GNSSc.h"               // gConst
#include "gdata/GNSSsys.h"             // gnss::Of
#include "gdata/LuniSolarPosition.h"   // GNSSSatBasis
#include "gdata/neu.h"                 // neu
#include "igsforms/antex.h"            // antex::FrequencyOf
#include "gdata/timeconv.h"            // mjd2ymdhms
#include "gdata/xyz.h"                 // xyz, xyzns
#include "pgminc/ProgramError.h"       // ProgramError, ProgramWarning
#include "pgminc/ProgramOut.h"         // ProgramCerrPrint, ProgramCerrPrintItem, ProgramSubTitle

namespace morvicalc {

// Seconds of one Earth turn in the Earth-rotation-free columns (not the sidereal day).
constexpr long double SecondsPerTurn = tcns::SECDAY;

// Frequency identifier whose phase-centre offset corrects a broadcast position:
// the system's ANTEX frequency (gnss::systems); -1 for none.
inline int AntexFrequency(const rSat& s) {
  const GNSSsys* sys = gnss::Of(s.GetISys());
  return sys == nullptr ? -1 : antex::FrequencyOf(sys->antexFreq);
}

// The sun's direction (Earth-fixed unit vector) and distance (m) at the epochs of
// the loop, computed for the first satellite that needs them and reused by the
// next ones, which run through the same epochs; an epoch beyond the kept ones,
// or not the one kept under its number, is computed afresh.
class EpochSun {
 public:
  static constexpr long MaxSunEpochs = 50000;  // 5 MB at most, half a day at 1 s

  explicit EpochSun(long nEpochs)
      : n(nEpochs < MaxSunEpochs ? (nEpochs > 0 ? nEpochs : 0) : MaxSunEpochs) {}

  void Get(const LuniSolarPosition& lsp, long k, const mjd& epoch, xyz& uvec, long double& magr) {
    if (k >= 0 && k < n) {
      if (have.Length() == 0) {  // room made when the sun is first needed
        have.Resize(n, 1, 0);
        val.Resize(5 * n);
        day.Resize(n);
        sec.Resize(n);
      }
      if (have(k) && day(k) == epoch.GetMJDay() && sec(k) == epoch.GetSecond()) {
        uvec.Set(val(5 * k), val(5 * k + 1), val(5 * k + 2), val(5 * k + 3));
        magr = val(5 * k + 4);
        return;
      }
    }
    lsp.SunPosition(epoch, uvec, magr);
    if (k >= 0 && k < n) {
      have(k) = 1;
      day(k) = epoch.GetMJDay();
      sec(k) = epoch.GetSecond();
      val(5 * k) = uvec.GetX();
      val(5 * k + 1) = uvec.GetY();
      val(5 * k + 2) = uvec.GetZ();
      val(5 * k + 3) = uvec.GetT();
      val(5 * k + 4) = magr;
    }
  }

 private:
  long n;
  myList<char> have;
  myList<long double> val;  // x, y, z, t of the direction, the distance
  myList<uint32_t> day;
  myList<long double> sec;
};

// Moves a broadcast position from the antenna phase centre to the centre of mass
// by the ANTEX offset turned from the satellite body frame (built from the
// satellite's and the sun's positions) into the Earth-fixed frame. The axes
// carry 0 in t, so the clock correction in sPos.t is unchanged. freq is the
// satellite's AntexFrequency; k numbers the epoch in the loop (for the sun kept
// per epoch).
inline void ApplyAntennaOffset(Morvi& mcs, rSat& sat, int freq, mjd& epoch, long k, EpochSun& sun, xyz& sPos) {
  mcs.atx.SetSatellite(sat, epoch);
  if (mcs.atx.GetAtxIndex() == -1) {
    char warn[64];
    snprintf(warn, sizeof(warn), "ANTEX data for satellite %c%02d", sat.GetISys(), static_cast<int>(sat.GetSPrn()));
    ProgramWarning("Morvi", warn);
    return;
  }
  if (freq < 0) return;
  neu aEcc = mcs.atx.GetPhCOffset(freq);
  xyz SunPosU(0, 0, 0, 0);
  long double SunPosM = 0;
  sun.Get(mcs.lsp, k, epoch, SunPosU, SunPosM);
  xyz SatX(0, 0, 0, 0), SatY(0, 0, 0, 0), SatZ(0, 0, 0, 0);
  GNSSSatBasis(SatX, SatY, SatZ, sPos, SunPosU);
  xyz atxdPos = (aEcc.GetN() * SatX + aEcc.GetE() * SatY) + aEcc.GetU() * SatZ;
  sPos -= atxdPos;
}

// The velocity of an Earth-fixed state in a frame that does not turn with the
// Earth, still in Earth-fixed axes: v + w x r with w = (0, 0, wE), wE the Earth's
// rotation rate (rad/s). Turned into GCRS by the rotation matrix it is the GCRS
// velocity but for the rates of precession, nutation and polar motion (below
// 1 cm/s at GNSS altitudes).
inline xyz InertialVelocity(const xyz& pos, const xyz& vel) {
  const long double wE = gConst.GetWEarth('G');
  return xyz(vel.GetX() - wE * pos.GetY(), vel.GetY() + wE * pos.GetX(), vel.GetZ());
}

// Column widths of the results rows: X, Y, Z and the clock, VX, VY, VZ.
constexpr unsigned short WidthPos = 16;
constexpr unsigned short WidthVel = 12;

// Whether v, printed with prec decimals right-aligned in width characters,
// leaves one blank at least before it: a wider text would run into the column
// before it, and the row would lose a field. Values far below the limit (every
// real orbit, velocity and clock) are told by their size, the rest by their text.
inline bool FitsColumn(long double v, int width, int prec) {
  static constexpr long double pow10[] = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L, 1e9L, 1e10L};
  const int digits = width - prec - 4;  // whole digits that fit with a sign and a spare one
  if (digits >= 0 && digits <= 10 && std::fabs(v) < pow10[digits]) return true;
  char text[64];
  const int n = std::isfinite(v) ? FixedText(text, sizeof text, v, 0, prec) : -1;
  return n > 0 && n < width;
}

// One results row gathered in a character buffer and handed to the stream at
// its end, byte for byte as the stream operators of xyz would write it.
class ResultRow {
 public:
  explicit ResultRow(std::ostream& out) : os(out), n(0) {}

  void Text(const char* s, int len) {
    if (len > Size - n) Flush();
    if (len > Size) {
      os.write(s, len);
      return;
    }
    memcpy(buf + n, s, static_cast<size_t>(len));
    n += len;
  }

  // v fixed-point with prec decimals, right-aligned in width columns; a value
  // that FitsColumn accepts, whose text is shorter than the room kept here.
  void Fixed(long double v, int width, int prec) {
    if (Size - n < Room) Flush();
    const int k = FixedText(buf + n, Size - n, v, width, prec);
    if (k > 0) n += k;
  }

  // The end of the row: the line end, then the whole row to the stream.
  void End() {
    Text("\n", 1);
    Flush();
  }

 private:
  static constexpr int Size = 1024;
  static constexpr int Room = 64;  // room for one value
  std::ostream& os;
  char buf[Size];
  int n;

  void Flush() {
    os.write(buf, n);
    n = 0;
  }
};

// One group of a results row: X, Y, Z (m, 3 decimals), the clock correction (ms,
// 6 decimals) when withClock, then VX, VY, VZ (m/s, 3 decimals); the layout of
// xyz's stream output with the xyzns settings of the table.
inline void WriteGroup(ResultRow& row, const xyz& pos, const xyz& vel, bool withClock) {
  row.Fixed(xyzns::ScaleOut(pos.GetX()), WidthPos, xyzns::NDec);
  row.Fixed(xyzns::ScaleOut(pos.GetY()), WidthPos, xyzns::NDec);
  row.Fixed(xyzns::ScaleOut(pos.GetZ()), WidthPos, xyzns::NDec);
  if (withClock) row.Fixed(pos.GetT() * xyzns::UnitT, xyzns::WidthT, xyzns::NDecT);
  row.Fixed(xyzns::ScaleOut(vel.GetX()), WidthVel, xyzns::NDec);
  row.Fixed(xyzns::ScaleOut(vel.GetY()), WidthVel, xyzns::NDec);
  row.Fixed(xyzns::ScaleOut(vel.GetZ()), WidthVel, xyzns::NDec);
}

// Texts of the epoch columns of the rows (date and clock, MJD day and second of
// day), made by the stream operators of ymdhms and mjd once per epoch and reused
// by the next satellites, which run through the same epochs. An epoch beyond
// the kept ones, or not the one kept under its number, is made afresh.
class EpochTexts {
 public:
  static constexpr long MaxTextEpochs = 100000;  // a day at 1 s, 7 MB

  // Room for the first nEpochs epochs (at most MaxTextEpochs).
  explicit EpochTexts(long nEpochs) : made(0) {
    n = nEpochs < MaxTextEpochs ? nEpochs : MaxTextEpochs;
    if (n < 0) n = 0;
    if (n > 0) {
      text.Resize(n * Stride);
      len.Resize(n);
      day.Resize(n);
      sec.Resize(n);
    }
  }

  // Appends the text of epoch number k (0 for the first) to row.
  void Put(ResultRow& row, long k, const mjd& epoch) {
    if (k < made && day(k) == epoch.GetMJDay() && sec(k) == epoch.GetSecond()) {
      row.Text(&text(k * Stride), len(k));
      return;
    }
    const std::string s = Make(epoch);
    const int l = static_cast<int>(s.size());
    if (k == made && k < n && l <= Stride) {
      memcpy(&text(k * Stride), s.data(), static_cast<size_t>(l));
      len(k) = l;
      day(k) = epoch.GetMJDay();
      sec(k) = epoch.GetSecond();
      made++;
    }
    row.Text(s.data(), l);
  }

 private:
  static constexpr int Stride = 48;          // room of one text (38 characters at 1 decimal)
  long n;
  long made;
  myList<char> text;
  myList<int> len;
  myList<uint32_t> day;
  myList<long double> sec;
  std::ostringstream fmt;

  std::string Make(const mjd& epoch) {
    fmt.str("");
    mjd printed = morviepochs::PrintedEpoch(epoch);
    ymdhms datum = mjd2ymdhms(printed);
    fmt << datum << "  " << printed;
    return fmt.str();
  }
};

// The results stream while the table is written: a fatal error ends the process
// through exit(), and FlushResults (run at exit) writes out every row finished
// by then.
inline std::ofstream* openResults = nullptr;
inline void FlushResults() {
  if (openResults != nullptr) openResults->flush();
}

// A results file that took the rows but could not store them (disk full, write
// error): the run must not end as if the table were complete.
inline void CheckResultsWritten(const std::ofstream& fRes, const char* name) {
  if (!fRes.fail()) return;
  char err[2200];
  snprintf(err, sizeof(err), "Output file name >%s< CAN NOT BE WRITTEN COMPLETELY!", name);
  ProgramError("Morvi", err, false);
}

}  // namespace morvicalc

namespace morvicalc {

// Counts of one satellite's rows: all rows (nCalc), rows with GCRS columns whose
// rotation record was found (nCalcC) or not (nProbC), rows with Earth-rotation-
// free columns (nCalcR).
struct SatCounts {
  long nCalc = 0, nCalcC = 0, nProbC = 0, nCalcR = 0;
};

// Opens the results file (overwriting it) and writes its header line with the
// column groups of the options; a file that cannot be created ends the run
// before any computation.
inline void OpenResults(Morvi& mcs, std::ofstream& fRes) {
  fRes.open(mcs.resFile.Rec, std::ios::out | std::ios::trunc);
  if (!fRes.is_open()) {
    char err[2200];
    snprintf(err, sizeof(err), "Output file name >%s< CAN NOT BE OPENED FOR WRITING!", mcs.resFile.Rec);
    ProgramError("Morvi", err, false);
  }
  fRes << "#     DATUM     CLOCK     MDAY    MSEC     PRN        X-T[m]          Y-T[m]          Z-T[m]        "
          "DT[msec]   VX-T[m/s]   VY-T[m/s]   VZ-T[m/s]";
  if (mcs.tcFileName.IsSet())
    fRes << "        X-C[m]          Y-C[m]          Z-C[m]     VX-C[m/s]   VY-C[m/s]   VZ-C[m/s]";
  if (mcs.rOrient.IsSet())
    fRes << "        X-R[m]          Y-R[m]          Z-R[m]     VX-R[m/s]   VY-R[m/s]   VZ-R[m/s]";
  fRes << std::endl;
  CheckResultsWritten(fRes, mcs.resFile.Rec);
}

// Print settings of the rows: positions and velocities with 3 decimals, the
// clock in milliseconds with 6, epochs with one decimal of the second.
inline void SetRowPrintSettings() {
  xyzns::NDec = 3;
  xyzns::WidthT = 14;
  xyzns::NDecT = 6;
  xyzns::UnitT = 1000;
  ymdhmsns::NDecSecond = 1;
  mjdns::NDecSecond = 1;
  mjdns::PrintFormat = mjdns::MJDSEC;
}

// A satellite missing from the ephemeris: its lines on standard error
// (verbose) and standard output, nothing in the results file.
inline void ReportMissing(Morvi& mcs, rSat& sat) {
  if (mcs.Verbose.IsSet()) {
    char line[64];
    snprintf(line, sizeof(line), "  %c%02u: NOT IN EPHEMERIS FILE!", sat.GetISys(),
             static_cast<unsigned>(sat.GetSPrn()));
    ProgramCerrPrintItem("Morvi", "CalcPos", line, "", 0, 0);
  }
  std::cout << "  Satellite: " << sat << " NOT IN EPHEMERIS FILE!" << std::endl;
}

// One row's state: position (m, clock correction in s in t) and velocity (m/s),
// Earth-fixed, from the ephemeris in use; a broadcast position moved to the
// centre of mass with an ANTEX file (freq: the satellite's AntexFrequency).
// Zeros where the source gives nothing.
inline void RowState(Morvi& mcs, rSat& sat, int freq, mjd& CalcEpoch, long k, EpochSun& sun, xyz& sPos,
                     xyz& sVel) {
  sPos = xyz(0, 0, 0, 0);
  sVel = xyz(0, 0, 0, 0);
  if (morvistate::Broadcast(mcs)) {
    mcs.beData.CalcSatPosition(sat, CalcEpoch, sPos, sVel);
    if (mcs.atxFileName.IsSet()) ApplyAntennaOffset(mcs, sat, freq, CalcEpoch, k, sun, sPos);
  } else {
    mcs.peData.CalcSatPosition(sat, CalcEpoch, sPos, sVel);
  }
}

// One row's values in their column groups: the Earth-fixed state (the clock
// correction in pos.t), the GCRS state (-t) and the Earth-rotation-free state (-o).
struct RowGroups {
  xyz pos, vel, posC, velC, posR, velR;
};

// The groups of one row from its Earth-fixed state; rows whose rotation record
// was found or not are counted in n.
inline RowGroups RowValues(Morvi& mcs, mjd& CalcEpoch, const xyz& sPos, const xyz& sVel, SatCounts& n) {
  RowGroups g;
  g.pos = sPos;
  g.vel = sVel;
  if (mcs.tcFileName.IsSet()) {
    mcs.t2cData.SetEpoch(CalcEpoch);
    mcs.t2cData.Rotate(g.pos, g.posC);
    xyz sVelI = InertialVelocity(sPos, sVel);
    mcs.t2cData.Rotate(sVelI, g.velC);
    if (mcs.t2cData.IsValidEpoch()) n.nCalcC++;
    else n.nProbC++;
  }
  if (mcs.rOrient.IsSet()) {
    // One turn per 86400 s since the first epoch, no extra velocity term.
    long double dt = CalcEpoch - mcs.eStart.Rec;
    long double rotA = pi * (2.0L * (dt / SecondsPerTurn));
    g.posR = sPos.RotateZ(rotA);
    g.velR = sVel.RotateZ(rotA);
    n.nCalcR++;
  }
  return g;
}

// Whether the positions and velocities of a group fit their columns.
inline bool StateFits(const xyz& pos, const xyz& vel) {
  const long double v[] = {pos.GetX(), pos.GetY(), pos.GetZ(), vel.GetX(), vel.GetY(), vel.GetZ()};
  for (int i = 0; i < 6; i++)
    if (!FitsColumn(xyzns::ScaleOut(v[i]), i < 3 ? WidthPos : WidthVel, xyzns::NDec)) return false;
  return true;
}

// Values too wide for their columns (see FitsColumn) are no values: a row whose
// position or velocity does not fit, in any group, is written without position
// and clock (every value 0), one whose clock does not fit without clock (DT 0).
// The first such epoch of each kind is told once per satellite.
class WideValues {
 public:
  void Check(Morvi& mcs, const rSat& sat, const mjd& epoch, RowGroups& g) {
    const bool stateFits = StateFits(g.pos, g.vel) && (!mcs.tcFileName.IsSet() || StateFits(g.posC, g.velC)) &&
                           (!mcs.rOrient.IsSet() || StateFits(g.posR, g.velR));
    if (!stateFits) {
      g = RowGroups();
      Tell(toldState, sat, epoch, "POSITION OR VELOCITY", "NO POSITION AND NO CLOCK");
    } else if (!FitsColumn(g.pos.GetT() * xyzns::UnitT, xyzns::WidthT, xyzns::NDecT)) {
      g.pos.SetT(0);
      Tell(toldClock, sat, epoch, "CLOCK CORRECTION", "NO CLOCK");
    }
  }

 private:
  bool toldState = false, toldClock = false;

  static void Tell(bool& told, const rSat& sat, const mjd& epoch, const char* what, const char* written) {
    if (told) return;
    told = true;
    char t[64], warn[512];
    snprintf(warn, sizeof warn,
             "Satellite >%c%02d< at epoch >%s<: %s TOO LARGE FOR ITS COLUMN OF THE RESULTS - %s WRITTEN, there and "
             "at every such epoch of the satellite!",
             sat.GetISys(), static_cast<int>(sat.GetSPrn()), morviepochs::EpochText(epoch, t, sizeof t), what,
             written);
    ProgramWarning("Morvi", warn);
  }
};

// One row's columns after the satellite: the Earth-fixed group, then the GCRS
// group (-t) and the Earth-rotation-free group (-o), counted in n.
inline void RowColumns(Morvi& mcs, ResultRow& row, const rSat& sat, mjd& CalcEpoch, const xyz& sPos,
                       const xyz& sVel, SatCounts& n, WideValues& wide) {
  RowGroups g = RowValues(mcs, CalcEpoch, sPos, sVel, n);
  wide.Check(mcs, sat, CalcEpoch, g);
  WriteGroup(row, g.pos, g.vel, true);
  if (mcs.tcFileName.IsSet()) WriteGroup(row, g.posC, g.velC, false);
  if (mcs.rOrient.IsSet()) WriteGroup(row, g.posR, g.velR, false);
}

// The rows of one satellite at the nEpochs epochs of the run, then the empty
// line that ends them.
inline SatCounts SatelliteRows(Morvi& mcs, rSat& sat, long nEpochs, ResultRow& row, EpochTexts& texts,
                               EpochSun& sun, std::ofstream& fRes) {
  // the satellite column, the same for every row of the satellite
  std::ostringstream satText;
  satText << std::setw(6) << sat;
  const std::string satCol = satText.str();
  SatCounts n;
  WideValues wide;
  const int freq = AntexFrequency(sat);
  for (long k = 0; k < nEpochs; k++) {
    mjd CalcEpoch = SeriesEpoch(mcs.eStart.Rec, k, mcs.Interval.Rec);
    texts.Put(row, k, CalcEpoch);
    row.Text(satCol.data(), static_cast<int>(satCol.size()));
    xyz sPos, sVel;
    RowState(mcs, sat, freq, CalcEpoch, k, sun, sPos, sVel);
    RowColumns(mcs, row, sat, CalcEpoch, sPos, sVel, n, wide);
    n.nCalc++;
    row.End();
  }
  fRes << '\n';
  return n;
}

// One satellite's summary: the echo line (verbose) and the standard-output line.
inline void SatelliteSummary(Morvi& mcs, rSat& sat, const SatCounts& n) {
  const bool useGCRS = mcs.tcFileName.IsSet(), useRot = mcs.rOrient.IsSet();
  if (mcs.Verbose.IsSet()) {
    char line[2048];
    snprintf(line, sizeof(line), "  %c%02u: %10ld ITRS", sat.GetISys(), static_cast<unsigned>(sat.GetSPrn()),
             n.nCalc);
    char part[128];
    if (useGCRS) {
      snprintf(part, sizeof(part), "   %10ld GCRS [%10ld problems!]", n.nCalcC, n.nProbC);
      strcat(line, part);
    }
    if (useRot) {
      snprintf(part, sizeof(part), "   %10ld EARTH FIXED", n.nCalcR);
      strcat(line, part);
    }
    ProgramCerrPrintItem("Morvi", "CalcPos", line, "", 0, 0);
  }
  std::cout << "  Satellite: " << sat << " -> " << std::setw(10) << n.nCalc << " ITRS positions/velocities";
  if (useGCRS)
    std::cout << std::setw(10) << n.nCalcC << " GCRS positions/velocities [" << std::setw(6) << n.nProbC
              << " problematic!]";
  if (useRot) std::cout << std::setw(10) << n.nCalcR << " EARTH FIXED positions/velocities";
  std::cout << std::endl;
}

}  // namespace morvicalc

// The orbit source takes its numbers before the results file is opened: a
// point count the SP3 file cannot serve ends the run with the file untouched.
// The point counts concern an SP3 run, the step a broadcast one.
inline void SetUpOrbitSource(Morvi& mcs) {
  if (morvistate::Broadcast(mcs)) mcs.beData.SetIntegrationStep(mcs.IntegStep.Rec);
  else mcs.peData.SetInterpolation(mcs.nPtsLIpos.Rec, mcs.nPtsLIclk.Rec);
}

// Computes and writes the results table, one row per satellite and epoch.
inline void CalcPos(Morvi& mcs) {
  const char* fun = "CalcPos";
  bool vb = mcs.Verbose.IsSet();
  if (vb) ProgramCerrPrint("Morvi", fun, "CALCULATING POSITIONS OF SATELLITES", '-');
  ProgramSubTitle("CALCULATING POSITIONS OF SATELLITES:", 0);
  std::cout << std::endl;

  std::ofstream fRes;
  morvicalc::OpenResults(mcs, fRes);
  morvicalc::SetRowPrintSettings();

  // The run's epochs (their number bounded by RefuseRunWithoutValue).
  const long nEpochs = static_cast<long>(SeriesCount(mcs.eStart.Rec, mcs.eEnd.Rec, mcs.Interval.Rec));
  morvicalc::ResultRow row(fRes);
  morvicalc::EpochTexts epochTexts(nEpochs);
  morvicalc::EpochSun epochSun(nEpochs);
  morvicalc::openResults = &fRes;
  static bool flushAtExit = false;
  if (!flushAtExit) flushAtExit = (std::atexit(morvicalc::FlushResults) == 0);

  for (long i = 0; i < mcs.Sat.Rec.Length(); i++) {
    rSat sat = mcs.Sat.Rec(i);
    if (!morvistate::IsSelected(sat, mcs.gSys)) continue;
    if (!morvistate::HasSatellite(mcs, sat)) {
      morvicalc::ReportMissing(mcs, sat);
      continue;
    }
    morvicalc::SatCounts n = morvicalc::SatelliteRows(mcs, sat, nEpochs, row, epochTexts, epochSun, fRes);
    morvicalc::SatelliteSummary(mcs, sat, n);
  }
  fRes.close();
  morvicalc::openResults = nullptr;
  morvicalc::CheckResultsWritten(fRes, mcs.resFile.Rec);
  if (vb) ProgramCerrPrint("Morvi", fun, "++-", '-');
}
