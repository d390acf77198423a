// rxN: a RINEX 3 navigation file (3.00 to 3.05, type N) read whole, and the broadcast
// state of its satellites at any epoch (GPS time): position (m, Earth-fixed) with the
// clock correction (s) in t, velocity (m/s); Kepler in closed form, GLONASS by
// Runge-Kutta integration, SBAS by its broadcast model; and the file written back.
// References: [1] RINEX 3.05; [2] IS-GPS-200, 20.3.3.4.3; [3] BDS-SIS-ICD-B1I 3.0,
// 5.2.4.12; [4] GLONASS ICD 5.1, A.3.1.2; [5] RTCA DO-229, message type 9 (GEO navigation).
#pragma once

#include <cmath>     // std::sin, std::cos, std::atan2, std::sqrt, std::fabs, std::modf
#include <cstdint>   // int32_t
#include <cstdio>    // snprintf
#include <cstring>   // strlen, strstr, strcpy
#include <fstream>   // ifstream, ofstream
#include <iomanip>   // setw
#include <iostream>  // cout
#include <ostream>   // ostream
#include <type_traits>  // is_same_v

#include "functions/angles.h"     // deg2rad
#include "functions/cstrings.h"   // GetFileLine, FileExists
#include "functions/fixedfmt.h"   // FixedTextZeroFilled
#include "functions/numfun.h"     // Sec2HMS
#include "gdata/GNSSc.h"          // gConst
#include "gdata/GNSSsys.h"        // gnss::systems: validity limit, record kind and choice per system
#include "gdata/LightTime.h"      // LightTimeRange
#include "gdata/mjd.h"            // mjd
#include "gdata/myList.h"         // myList
#include "gdata/rSat.h"           // rSat
#include "gdata/timeconv.h"       // mjd2ymdhms
#include "gdata/xyz.h"            // xyz
#include "gdata/ymdhms.h"         // ymdhms
#include "pgminc/ProgramError.h"  // ProgramError, ProgramWarning
#include "rinex/rxENavData.h"     // rxENavDataKE, rxENavDataNI
#include "rinex/rxHeader.h"       // header records, rxDataSum

namespace rxcalc {
inline constexpr long double KEPLER_TOL = 1e-14;     // convergence of Kepler's equation (rad)
inline constexpr int KEPLER_MAXIT = 100;             // passes of the anomaly iteration
// One turn (rad), 2 pi to the full 80 bits: a mean anomaly of many turns is
// brought into one turn with it, off by no more than its rounding per turn.
inline constexpr long double KEPLER_TURN = 6.283185307179586476925286766559L;
inline constexpr long double STEP_REST_MIN = 1e-10;  // a shorter remainder is no partial step (s)
// The integration step (s) of GLONASS orbits until one is set.
inline constexpr long double DEFAULT_INTEG_STEP = 30.0L;
// The reach of a GLONASS record (s): an epoch farther from its nearest record
// (valid for 15 min) gets no state, instead of an integration over days.
inline constexpr long double MAX_INTEG_DISTANCE = 3 * tcns::SECDAY;
// Whether an epoch dt seconds from a GLONASS record lies within its reach.
inline bool WithinReach(long double dt) { return std::fabs(dt) <= MAX_INTEG_DISTANCE; }
// The shortest integration step (s): a shorter one gains no accuracy and only
// multiplies the work (at most MAX_INTEG_DISTANCE / MIN_INTEG_STEP steps).
inline constexpr long double MIN_INTEG_STEP = 0.001L;
inline constexpr long double BDS_GEO_TILT_DEG = -5.0L;  // BeiDou GEO element frame about X [3] (deg)
inline constexpr long double HMS_HOURS_MAX = 65535.0L;  // most whole hours Sec2HMS holds (16 bits)
inline constexpr int32_t SAVED_STEPS = 4096;  // integration states kept for the next epochs (96 bytes each)
}  // namespace rxcalc

// The states after whole Runge-Kutta steps from one GLONASS record in one
// direction, as the integration computed them: an epoch of the same record
// starts from the furthest one it needs instead of from the record epoch, and
// reaches the same state to the last bit, the steps being the same arithmetic.
// The record's values are kept to recognise it.
class rxStepStates {
 public:
  rxStepStates() : rec(nullptr), step(0), sign(0), n(0) {}

  void Clear() { n = 0; rec = nullptr; }

  // Whether the states are those of rNav with the step h0 (s) in direction sg.
  bool Holds(const rxENavDataNI& rNav, long double h0, int16_t sg) const {
    if (n == 0 || rec != &rNav || !(step == h0) || sign != sg) return false;
    long double v[NKEY];
    Key(rNav, v);
    for (int k = 0; k < NKEY; k++)
      if (!(v[k] == key[k])) return false;
    return true;
  }

  // Starts afresh for rNav with the record state s0 (step 0).
  void Start(const rxENavDataNI& rNav, long double h0, int16_t sg, const long double* s0) {
    if (states.Length() == 0) states.Resize(6L * rxcalc::SAVED_STEPS);
    rec = &rNav;
    step = h0;
    sign = sg;
    Key(rNav, key);
    n = 0;
    Save(s0);
  }

  int32_t Count() const { return n; }  // states kept: steps 0 to Count() - 1

  // Appends the state after step Count(), while there is room.
  void Save(const long double* s) {
    if (n >= rxcalc::SAVED_STEPS) return;
    for (int j = 0; j < 6; j++) states(6L * n + j) = s[j];
    n++;
  }

  // The state after step k (0 <= k < Count()) into s.
  void Load(int32_t k, long double* s) {
    for (int j = 0; j < 6; j++) s[j] = states(6L * k + j);
  }

 private:
  static constexpr int NKEY = 12;
  static void Key(const rxENavDataNI& r, long double* v) {
    const long double k[NKEY] = {r.X0,   r.Y0,   r.Z0,   r.XD0,  r.YD0,  r.ZD0, r.XDD0, r.YDD0, r.ZDD0,
                                 r.GetAEllipsoid(), r.GetC20(), static_cast<long double>(r.GetSysIdent())};
    for (int i = 0; i < NKEY; i++) v[i] = k[i];
  }

  const rxENavDataNI* rec;
  long double step;
  int16_t sign;
  int32_t n;
  long double key[NKEY];
  myList<long double> states;
};

// The records of each satellite of one record list, in file order, so that the
// record choice goes through the satellite's own records instead of the whole
// list. Built when the file has been read; a list of another length than the
// one indexed, or with a satellite number beyond the table, is searched whole.
class rxRecordIndex {
 public:
  rxRecordIndex() : n(-1) {}

  template <class T>
  void Build(const myList<T>& list) {
    n = -1;
    long cnt[NPRN] = {};
    const long len = list.Length();
    for (long i = 0; i < len; i++) {
      const unsigned p = list(i).Sat.GetSPrn();
      if (p >= static_cast<unsigned>(NPRN)) return;
      cnt[p]++;
    }
    long at = 0;
    for (int p = 0; p < NPRN; p++) {
      first[p] = at;
      count[p] = cnt[p];
      at += cnt[p];
    }
    if (len > 0) order.Resize(len);
    long next[NPRN];
    for (int p = 0; p < NPRN; p++) next[p] = first[p];
    for (long i = 0; i < len; i++) order(next[list(i).Sat.GetSPrn()]++) = i;
    n = len;
  }

  // Whether the index serves a list of this length.
  bool Covers(long length) const { return n >= 0 && n == length; }
  // The records of satellite number prn: list indices At(First) .. At(First + Count - 1).
  long First(unsigned prn) const { return prn < static_cast<unsigned>(NPRN) ? first[prn] : 0; }
  long Count(unsigned prn) const { return prn < static_cast<unsigned>(NPRN) ? count[prn] : 0; }
  long At(long k) const { return order(k); }

 private:
  static constexpr int NPRN = 100;  // satellite numbers 0 to 99
  long n;
  long first[NPRN] = {};
  long count[NPRN] = {};
  myList<long> order;
};

// The warnings already given for each record of one record list (a bit per kind
// of warning), so that a record is told of once, not at every epoch it serves.
class rxToldRecords {
 public:
  static constexpr unsigned char BEFORE_TOE = 1;  // used before its reference epoch
  static constexpr unsigned char UNHEALTHY = 2;   // flagged unhealthy
  static constexpr unsigned char BEYOND_REACH = 4;  // nearest record of an epoch it cannot serve

  void Reset(long n) {
    told = myList<unsigned char>();
    if (n > 0) told.Resize(n, 1, 0);
  }

  // True the first time for record ix and the kind, false after; always true for
  // a record beyond the list (told again rather than never).
  bool First(long ix, unsigned char kind) {
    if (ix < 0 || ix >= told.Length()) return true;
    if (told(ix) & kind) return false;
    told(ix) = static_cast<unsigned char>(told(ix) | kind);
    return true;
  }

 private:
  myList<unsigned char> told;
};

class rxN {
 public:
  rxN() : NumIntStep(rxcalc::DEFAULT_INTEG_STEP), isNumIntStep(false), posOK(false), timeOK(false), Relativity(0) {
    file[0] = 0;
  }

  // Remembers the file name; the file must exist and be readable.
  void SetFile(const char* name) {
    if (strlen(name) >= sizeof file)
      ProgramError("Function:   rxN::SetFile()",
                   "Input RINEX NAVIGATION file can not be opened!", false);
    strcpy(file, name);
    if (!FileExists(file))
      ProgramError("Function:   rxN::SetFile()", "Input RINEX NAVIGATION file can not be opened!",
                   false);
  }

  // Reads the whole file: header, record count, list sizing, records.
  void ReadFile() {
    steps.Clear();
    rDSum = rxDataSum();
    for (const GNSSsys& s : gnss::systems) {
      if (s.kepler) *KeplerList(s.letter) = myList<rxENavDataKE>();
      else *StateList(s.letter) = myList<rxENavDataNI>();
    }
    ReadFile_Header();
    CountNData();
    for (const GNSSsys& s : gnss::systems) {
      const int n = *rDSum.Count(s.letter);
      if (n == 0) continue;
      if (s.kepler) KeplerList(s.letter)->Resize(n);
      else StateList(s.letter)->Resize(n);
    }
    ReadFile_Data();
    for (const GNSSsys& s : gnss::systems) {
      rxRecordIndex& ri = recIndex[&s - gnss::systems];
      if (s.kepler) ri.Build(*KeplerList(s.letter));
      else ri.Build(*StateList(s.letter));
      told[&s - gnss::systems].Reset(s.kepler ? KeplerList(s.letter)->Length() : StateList(s.letter)->Length());
      if (s.kepler) KeepToeOffsets(s);
    }
  }

  void PrintSummary() { rDSum.Print(); }

  int GetNSat() { return rDSum.nSat; }
  int GetNSatG() { return rDSum.nSatG; }
  int GetNSatR() { return rDSum.nSatR; }
  int GetNSatE() { return rDSum.nSatE; }
  int GetNSatC() { return rDSum.nSatC; }
  int GetNSatS() { return rDSum.nSatS; }
  int GetNSatJ() { return rDSum.nSatJ; }
  int GetNSatI() { return rDSum.nSatI; }
  // Satellites of the system of letter sys (upper case); 0 for any other letter.
  int GetNSat(char sys) {
    const int* n = rDSum.Count(sys);
    return n != nullptr ? *n : 0;
  }

  void GetSats(myList<rSat>& out) { out = rDSum.lSat; }
  void GetSatsG(myList<rSat>& out) { out = rDSum.lSatG; }
  void GetSatsR(myList<rSat>& out) { out = rDSum.lSatR; }
  void GetSatsE(myList<rSat>& out) { out = rDSum.lSatE; }
  void GetSatsC(myList<rSat>& out) { out = rDSum.lSatC; }
  void GetSatsS(myList<rSat>& out) { out = rDSum.lSatS; }
  void GetSatsJ(myList<rSat>& out) { out = rDSum.lSatJ; }
  void GetSatsI(myList<rSat>& out) { out = rDSum.lSatI; }

  mjd GetStartEpoch() { return StartEpoch; }
  mjd GetEndEpoch() { return EndEpoch; }

  bool Check4Sat(rSat& sat) { return rDSum.lSat.Find(sat); }

  // Header records and record lists, read-only use (writers, checks).
  rxVersionType& GetVersionType() { return rVrsType; }
  rxPgmRunDate& GetPgmRunDate() { return rPgRbDate; }
  rxTimeInfo& GetTimeInfo() { return rTime; }
  rxIonoCorr& GetIonoCorr() { return rIonC; }
  rxDataSum& GetDataSum() { return rDSum; }
  // The record list of a system; an empty list for a letter of the other kind.
  myList<rxENavDataKE>& GetKeplerRecords(char sys) {
    static myList<rxENavDataKE> none;
    return KeplerList(sys) != nullptr ? *KeplerList(sys) : none;
  }
  myList<rxENavDataNI>& GetStateRecords(char sys) {
    static myList<rxENavDataNI> none;
    return StateList(sys) != nullptr ? *StateList(sys) : none;
  }

  // Integration step (s) of GLONASS orbits; must be set before the first GLONASS
  // or SBAS computation, and above 0 when one is made (SBAS orbits, evaluated in
  // closed form, do not use it but are checked alike).
  void SetIntegrationStep(long double step) {
    NumIntStep = step;
    isNumIntStep = true;
    steps.Clear();
  }

  bool GetPositionStatus() const { return posOK; }
  bool GetTimeStatus() const { return timeOK; }
  mjd GetTransmissionEpoch() { return CalEph; }
  long double GetRelativity() const { return Relativity; }

  // The span from..to of the epochs that rs's records serve, where it is bounded:
  // a GLONASS satellite's records reach MAX_INTEG_DISTANCE either side. False
  // for a satellite of another system, whose records serve any epoch, and for
  // one without records.
  bool GetReach(rSat& rs, mjd& from, mjd& to) {
    const GNSSsys* sys = gnss::Of(rs.GetISys());
    if (sys == nullptr || !sys->integrated) return false;
    myList<rxENavDataNI>& l = *StateList(sys->letter);
    long first = -1, last = -1;
    ForEachRecordOf(rs, l, recIndex[sys - gnss::systems], [&](long i) {
      if (first < 0 || l(i).eph - l(first).eph < 0) first = i;
      if (last < 0 || l(i).eph - l(last).eph > 0) last = i;
    });
    if (first < 0) return false;
    from = l(first).eph;
    from += -rxcalc::MAX_INTEG_DISTANCE;
    to = l(last).eph;
    to += rxcalc::MAX_INTEG_DISTANCE;
    return true;
  }

  // Broadcast state of rs at ceph (GPS time) from the record of the system's
  // choice (the nearest; Galileo the latest from TOE): x position (m) with the
  // clock correction (s) in t, v velocity (m/s). A satellite without records,
  // or a GLONASS epoch beyond the reach of the nearest record, gives
  // (0, 0, 0, 0) for both.
  void CalcSatPosition(rSat& rs, mjd& ceph, xyz& x, xyz& v) {
    const GNSSsys* sys = nullptr;
    const long ix = StartCalculation(rs, ceph, x, v, sys);
    if (ix < 0) return;
    EvaluateRecord(*sys, ix, ceph, x, v);
    CalEph = ceph;
  }

  // As above at the transmission epoch of a signal received at ceph by a receiver
  // at xr (m, Earth-fixed), found by iterating the light time; returns the
  // geometric range (m), 0 for a satellite without records.
  long double CalcSatPosition(rSat& rs, mjd& ceph, xyz& xr, xyz& x, xyz& v) {
    const GNSSsys* sys = nullptr;
    const long ix = StartCalculation(rs, ceph, x, v, sys);
    if (ix < 0) return 0;
    return LightTimeRange(ceph, xr, "Function:   rxN::CalcSatPosition(rSat&,mjd&,xyz&,xyz&,xyz&)", CalEph, x,
                          [&](mjd& te) { EvaluateRecord(*sys, ix, te, x, v); });
  }

  // Writes the file to standard output, or to the file name (created or truncated).
  void PrintFile() {
    std::cout << std::fixed;
    PrintFile_All(std::cout);
  }
  void PrintFile(const char* name) {
    WriteTextFile(name, "Function:   rxN::PrintFile(char*)",
                  "Output file: %s for RINEX NAVIGATION print can not be opened for writing!",
                  [&](std::ostream& os) { PrintFile_All(os); });
  }

 private:
  // ---- reading ----

  // Header pass: version line, then the kept records up to END OF HEADER.
  void ReadFile_Header() {
    std::ifstream in(file);
    char line[rxnav::LINE_BUF];
    bool isLong = false;
    if (!in)
      ProgramError("Function:   rxN::ReadFile_Header()",
                   "Input RINEX NAVIGATION file can not be opened!", false);
    if (!GetFileLine(in, line, rxnav::LINE_BUF, &isLong))
      ProgramError("Function:   rxN::ReadFile_Header()",
                   "Unexpected end of RINEX NAVIGATION file - within header section!", false);
    if (isLong) HeaderLineTooLong();
    if (rxhdr::ColumnChar(line, rxhdr::VERSION_TYPE.col) != 'N')
      ProgramError("Function:   rxN::ReadFile_Header()",
                   "INPUT FILE IS NOT A RINEX NAVIGATION FILE - RINEX TYPE IS NOT 'N'", false);
    rVrsType.Set(line);
    while (true) {
      if (!GetFileLine(in, line, rxnav::LINE_BUF, &isLong))
        ProgramError("Function:   rxN::ReadFile_Header()",
                     "Unexpected end of RINEX NAVIGATION file - within header section!", false);
      if (isLong) HeaderLineTooLong();
      if (strstr(line, "END OF HEADER") != nullptr) break;
      if (strstr(line, "PGM / RUN BY / DATE") != nullptr) rPgRbDate.Set(line);
      if (strstr(line, "LEAP SECONDS") != nullptr) rTime.Set(line);
      if (strstr(line, "IONOSPHERIC CORR") != nullptr) rIonC.Set(line);
      if (strstr(line, "TIME SYSTEM CORR") != nullptr) rTime.Set(line);
    }
  }

  // A header line that does not fit the buffer may hide a label or a value: it
  // cannot be read whole, and the header ends there as at the end of the file.
  static void HeaderLineTooLong() {
    ProgramError("Function:   rxN::ReadFile_Header()",
                 "Unexpected end of RINEX NAVIGATION file - within header section!", false);
  }

  // GLONASS records of version 3.05 have a fourth continuation line [1].
  bool HasGlonassLine4() const { return rVrsType.GetVersion() >= 5; }

  // Counting pass: records that can be read, per system, and the satellite lists.
  void CountNData() { ScanData(false, "Function:   rxN::CountNData()"); }

  // Data pass: the records into their lists, and the span of their epochs.
  void ReadFile_Data() { ScanData(true, "Function:   rxN::ReadFile_Data()"); }

  // One pass over the data section. Every record is read whole in both passes;
  // one that cannot be read is reported (counting pass) and left out of the counts
  // and the lists (both passes), so counts and lists always agree.
  void ScanData(bool store, const char* where) {
    std::ifstream in(file);
    if (!in) ProgramError(where, "Input RINEX NAVIGATION file can not be opened!", false);
    char line[rxnav::LINE_BUF];
    bool isLong = false;
    long lineNo = 0;
    while (true) {
      if (!GetFileLine(in, line, rxnav::LINE_BUF, &isLong))
        ProgramError(where, "Unexpected end of RINEX NAVIGATION file - within header section!",
                     false);
      lineNo++;
      if (strstr(line, "END OF HEADER") != nullptr) break;
    }
    long index[gnss::NSYS] = {};
    bool first = true;
    while (GetFileLine(in, line, rxnav::LINE_BUF, &isLong)) {
      lineNo++;
      const char c = line[0];
      const GNSSsys* sys = gnss::Of(c);
      if (sys != nullptr) {
        long& ix = index[sys - gnss::systems];
        if (sys->kepler)
          TakeRecord(c, line, isLong, in, lineNo, store, *KeplerList(c), ix, first);
        else
          TakeRecord(c, line, isLong, in, lineNo, store, *StateList(c), ix, first);
      } else if (c == ' ') {
        continue;
      } else if (c == 0) {
        if (!store) {
          char msg[128];
          snprintf(msg, sizeof msg, "NAVIGATION DATA - EMPTY LINE %ld - skipped!", lineNo);
          ProgramWarning(where, msg);
        }
      } else {
        char msg[128];
        snprintf(msg, sizeof msg, "NAVIGATION DATA - SATELLITE IDENTIFIER: >%c< - undefined!", c);
        ProgramWarning(where, msg);
      }
    }
  }

  // Reads the record of the record line in line; counts it (counting pass) or
  // stores it at index ix of list and widens the span (data pass).
  template <class T>
  void TakeRecord(char sys, char* line, bool isLong, std::ifstream& in, long& lineNo, bool store,
                  myList<T>& list, long& ix, bool& first) {
    T rec;
    const long recLine = lineNo;
    bool ok;
    if constexpr (std::is_same_v<T, rxENavDataNI>)
      ok = rec.Set(sys, line, in, isLong, HasGlonassLine4());
    else
      ok = rec.Set(sys, line, in, isLong);
    lineNo += rec.GetLinesRead() - 1;
    if (!ok) {
      if (!store) RecordWarning(rec.Sat, rec.GetFault(), recLine, rec.GetFaultLine(), rec.GetLinesRead());
      return;
    }
    if (!store) {
      rDSum.AddRecord(rec.Sat);
      return;
    }
    if (ix >= list.Length()) return;  // the file grew between the passes
    list(ix++) = rec;
    if (first) {
      StartEpoch = rec.eph;
      EndEpoch = rec.eph;
      first = false;
    } else {
      if (rec.eph < StartEpoch) StartEpoch = rec.eph;
      if (rec.eph > EndEpoch) EndEpoch = rec.eph;
    }
  }

  // Warning for a record left out, naming the satellite and the line.
  static void RecordWarning(rSat& sat, int fault, long recLine, int faultLine, int nRead) {
    const char* where = "Function:   rxN::CountNData()";
    const char sc = sat.GetISys();
    const int sn = sat.GetSPrn();
    const long at = recLine + faultLine;
    char msg[256];
    switch (fault) {
      case rxnav::CUT:
        snprintf(msg, sizeof msg, "NAVIGATION DATA - SATELLITE %c%02d: line %ld cut short - record skipped!", sc, sn, at);
        break;
      case rxnav::BAD:
        snprintf(msg, sizeof msg, "NAVIGATION DATA - SATELLITE %c%02d: value not readable in line %ld - record skipped!", sc, sn, at);
        break;
      case rxnav::END:
        snprintf(msg, sizeof msg, "NAVIGATION DATA - SATELLITE %c%02d: record of line %ld incomplete (%d lines) - record skipped!", sc, sn, recLine, nRead);
        break;
      case rxnav::LONG:
        snprintf(msg, sizeof msg, "NAVIGATION DATA - SATELLITE %c%02d: line %ld longer than 2046 characters - record skipped!", sc, sn, at);
        break;
      default:
        snprintf(msg, sizeof msg, "NAVIGATION DATA - SATELLITE %c%02d: record of line %ld gives no orbit - record skipped!", sc, sn, recLine);
        break;
    }
    ProgramWarning(where, msg);
  }

  // Record lists of a Keplerian and of a state-vector system; null for others.
  myList<rxENavDataKE>* KeplerList(char sys) {
    static constexpr gnss::LetterMember<rxN, myList<rxENavDataKE>> lists[] = {
        {'G', &rxN::rNavDG}, {'E', &rxN::rNavDE}, {'C', &rxN::rNavDC}, {'J', &rxN::rNavDJ}, {'I', &rxN::rNavDI}};
    static_assert(gnss::OnceEach(lists), "a letter of no system or twice");
    return gnss::Member(*this, sys, lists);
  }
  myList<rxENavDataNI>* StateList(char sys) {
    static constexpr gnss::LetterMember<rxN, myList<rxENavDataNI>> lists[] = {{'R', &rxN::rNavDR}, {'S', &rxN::rNavDS}};
    static_assert(gnss::OnceEach(lists), "a letter of no system or twice");
    return gnss::Member(*this, sys, lists);
  }

  // ---- record choice and evaluation ----

  // Calls consider(i) for the index i of every record of rs in ndata, in file
  // order. The satellite's own records come from the index, so a choice made
  // over them is the one of the whole list.
  template <class T, class F>
  static void ForEachRecordOf(rSat& rs, myList<T>& ndata, const rxRecordIndex& ri, F consider) {
    if (ri.Covers(ndata.Length())) {
      const long f = ri.First(rs.GetSPrn()), n = ri.Count(rs.GetSPrn());
      for (long k = f; k < f + n; k++)
        if (ndata(ri.At(k)).Sat == rs) consider(ri.At(k));
    } else {
      for (long i = 0; i < ndata.Length(); i++)
        if (ndata(i).Sat == rs) consider(i);
    }
  }

  // Index of the record of rs whose epoch lies nearest to ceph (the earlier in
  // the file on a tie), -1 when the list holds none of rs.
  template <class T>
  long FindEpochIx(rSat& rs, mjd& ceph, myList<T>& ndata, const rxRecordIndex& ri) {
    long ix = -1;
    double best = 0;
    ForEachRecordOf(rs, ndata, ri, [&](long i) {
      const double d = static_cast<double>(std::fabs(ceph - ndata(i).eph));
      if (ix < 0 || d < best) {
        ix = i;
        best = d;
      }
    });
    return ix;
  }

  // The ToeOffset of every record of the Keplerian list of sys, taken once when
  // the file has been read: every evaluation of a record needs its own, and the
  // record choice of a pastToe system those of all the satellite's records.
  void KeepToeOffsets(const GNSSsys& sys) {
    myList<rxENavDataKE>& l = *KeplerList(sys.letter);
    myList<long double>& off = toeOffsets[&sys - gnss::systems];
    off = myList<long double>();
    if (l.Length() > 0) off.Resize(l.Length());
    for (long i = 0; i < l.Length(); i++) off(i) = ToeOffset(l(i));
  }

  // Seconds from the TOE of record ix of the Keplerian list of sys to ceph
  // (negative before TOE).
  long double ToeAge(const GNSSsys& sys, long ix, mjd& ceph) {
    return (ceph - (*KeplerList(sys.letter))(ix).eph) + toeOffsets[&sys - gnss::systems](ix);
  }

  // Index of the record of rs whose TOE is the latest at or before ceph and at
  // most dtMax seconds before it (the earlier in the file of records with the
  // same TOE), -1 when there is none.
  long FindPastToeIx(const GNSSsys& sys, rSat& rs, mjd& ceph) {
    long ix = -1;
    long double best = 0;
    ForEachRecordOf(rs, *KeplerList(sys.letter), recIndex[&sys - gnss::systems], [&](long i) {
      const long double age = ToeAge(sys, i, ceph);
      if (!(age >= 0 && age <= sys.dtMax)) return;
      if (ix < 0 || age < best) {
        ix = i;
        best = age;
      }
    });
    return ix;
  }

  // The record of the system's choice; for pastToe systems the nearest record
  // stands in where no record lies at or before the epoch within the limit.
  long ChooseRecord(const GNSSsys& sys, rSat& rs, mjd& ceph) {
    const rxRecordIndex& ri = recIndex[&sys - gnss::systems];
    if (sys.kepler && sys.pastToe) {
      const long ix = FindPastToeIx(sys, rs, ceph);
      if (ix >= 0) return ix;
    }
    if (sys.kepler) return FindEpochIx(rs, ceph, *KeplerList(sys.letter), ri);
    return FindEpochIx(rs, ceph, *StateList(sys.letter), ri);
  }

  mjd& RecordEpoch(const GNSSsys& sys, long ix) {
    if (sys.kepler) return (*KeplerList(sys.letter))(ix).eph;
    return (*StateList(sys.letter))(ix).eph;
  }

  void EvaluateRecord(const GNSSsys& sys, long ix, mjd& ceph, xyz& x, xyz& v) {
    if (sys.kepler) cSatPosKepler((*KeplerList(sys.letter))(ix), toeOffsets[&sys - gnss::systems](ix), ceph, x, v);
    else if (sys.integrated) cSatPosNumInteg((*StateList(sys.letter))(ix), ceph, x, v);
    else cSatPosSBAS((*StateList(sys.letter))(ix), ceph, x, v);
  }

  // The steps before an evaluation: status cleared, the step test, the record
  // choice (a satellite without records, or an epoch its nearest record cannot
  // serve, gets the zero state and -1), the interval warning with ceph, status
  // set. Returns the record index in sys's list.
  long StartCalculation(rSat& rs, mjd& ceph, xyz& x, xyz& v, const GNSSsys*& sys) {
    timeOK = posOK = false;
    Relativity = 0;
    CheckIntegrationStep(rs);
    sys = gnss::Of(rs.GetISys());
    long ix = sys != nullptr ? ChooseRecord(*sys, rs, ceph) : -1;
    if (ix >= 0 && !Reaches(*sys, ix, rs, ceph)) ix = -1;
    if (ix < 0) {
      x.Set(0, 0, 0, 0);
      v.Set(0, 0, 0, 0);
      return -1;
    }
    CIntervalWarning(rs, ceph, RecordEpoch(*sys, ix), sys->dtMax, sys->name);
    RecordWarnings(*sys, ix, rs, ceph);
    timeOK = posOK = true;
    return ix;
  }

  // Whether record ix serves ceph: a GLONASS record only within
  // MAX_INTEG_DISTANCE. The first epoch it cannot serve is told, once per
  // record: it is the nearest record of every farther epoch on that side.
  bool Reaches(const GNSSsys& sys, long ix, rSat& rs, mjd& ceph) {
    if (!sys.integrated || rxcalc::WithinReach(ceph - RecordEpoch(sys, ix))) return true;
    if (told[&sys - gnss::systems].First(ix, rxToldRecords::BEYOND_REACH)) {
      char tc[64], msg[512];
      mjd2ymdhms(ceph).GetDateString(tc, 0);
      snprintf(msg, sizeof msg,
               "%s satellite %c%02d: Calculation epoch [%s] MORE THAN %.0Lf DAYS FROM the nearest record [%s] of "
               "input NAVIGATION file - NO POSITION AND NO CLOCK there and farther out!",
               sys.name, rs.GetISys(), rs.GetSPrn(), tc, rxcalc::MAX_INTEG_DISTANCE / tcns::SECDAY,
               RecordText(RecordEpoch(sys, ix)));
      ProgramWarning("Function:   rxN::CalcSatPosition(rSat&,mjd&,xyz&,xyz&)", msg);
    }
    return false;
  }

  // The warnings on the record used, once per record: a pastToe record used
  // before its TOE (no record at or before the epoch within the limit), and a
  // record flagged unhealthy by its health field (computed all the same).
  void RecordWarnings(const GNSSsys& sys, long ix, rSat& rs, mjd& ceph) {
    const char* where = "Function:   rxN::CalcSatPosition(rSat&,mjd&,xyz&,xyz&)";
    rxToldRecords& tr = told[&sys - gnss::systems];
    char msg[512];
    if (sys.kepler && sys.pastToe && ToeAge(sys, ix, ceph) < 0 && tr.First(ix, rxToldRecords::BEFORE_TOE)) {
      char tc[64], tl[64];
      mjd2ymdhms(ceph).GetDateString(tc, 0);
      unsigned short h = 0, m = 0;
      long double sec = 0;
      Sec2HMS(sys.dtMax, h, m, sec);
      snprintf(tl, sizeof tl, "%02hu:%02hu:%02.0Lf", h, m, sec);
      snprintf(msg, sizeof msg,
               "%s satellite %c%02d: record of epoch [%s] USED BEFORE ITS REFERENCE EPOCH (TOE), first at calculation "
               "epoch [%s] - no earlier record within %s!",
               sys.name, rs.GetISys(), rs.GetSPrn(), RecordText(RecordEpoch(sys, ix)), tc, tl);
      ProgramWarning(where, msg);
    }
    long double health = 0;
    bool unhealthy = false;
    if (sys.kepler) {
      rxENavDataKE& rec = (*KeplerList(sys.letter))(ix);
      health = rec.SVHEALTH;
      unhealthy = rec.IsFlaggedUnhealthy();
    } else {
      rxENavDataNI& rec = (*StateList(sys.letter))(ix);
      health = rec.HEALTH;
      unhealthy = rec.IsFlaggedUnhealthy();
    }
    if (unhealthy && tr.First(ix, rxToldRecords::UNHEALTHY)) {
      char hv[64];
      snprintf(hv, sizeof hv, "%.0Lf", health);
      snprintf(msg, sizeof msg,
               "%s satellite %c%02d: record of epoch [%s] FLAGGED UNHEALTHY (health >%s<) - computed all the same!",
               sys.name, rs.GetISys(), rs.GetSPrn(), RecordText(RecordEpoch(sys, ix)), hv);
      ProgramWarning(where, msg);
    }
  }

  // GLONASS and SBAS need a step set by the caller, above 0 (SBAS only by the check).
  void CheckIntegrationStep(rSat& rs) {
    if (rs.isGLNSat() && !isNumIntStep) NumInterpolationError(rs, "GLONAS");
    if (rs.isSBSSat() && !isNumIntStep) NumInterpolationError(rs, "SBAS");
    if ((rs.isGLNSat() || rs.isSBSSat()) && !(NumIntStep > 0 && std::isfinite(NumIntStep))) {
      char msg[256];
      snprintf(msg, sizeof msg,
               "Numerical integration step %.3Lf s NOT valid for %s satellite %c%02d position "
               "determination!",
               NumIntStep, rs.isGLNSat() ? "GLONAS" : "SBAS", rs.GetISys(), rs.GetSPrn());
      ProgramError("Function:   rxN::CalcSatPosition(rSat&,mjd&,xyz&,xyz&)", msg, false);
    }
  }

  static void NumInterpolationError(rSat& rs, const char* SYS) {
    char msg[256];
    snprintf(msg, sizeof msg,
             "Interpolation PARAMETERS (numerical interpolation step) NOT SET for %s satellite "
             "%c%02d position determination!",
             SYS, rs.GetISys(), rs.GetSPrn());
    ProgramError("Function:   rxN::CalcSatPosition(rSat&,mjd&,xyz&,xyz&)", msg, false);
  }

  // Warns when the record epoch ieph lies more than dtMax seconds from ceph.
  void CIntervalWarning(rSat& rs, mjd& ceph, mjd& ieph, long double dtMax, const char* SYS) {
    const long double dt = ceph - ieph;
    const char sign = dt < 0 ? '-' : ' ';
    const long double adt = std::fabs(dt);
    if (!(adt > dtMax)) return;
    // An epoch years from the record lies more hours away than Sec2HMS holds:
    // those whole hours are counted apart, so that the text shows them all.
    const long double wholeH = std::floor(adt / 3600.0L);
    // (from 65535 h on, so that a carry into the next hour cannot wrap either)
    const long double apartH = wholeH >= rxcalc::HMS_HOURS_MAX ? wholeH : 0;
    unsigned short h = 0, m = 0;
    long double s = 0;
    Sec2HMS(adt - apartH * 3600.0L, h, m, s);
    const unsigned long hours = static_cast<unsigned long>(apartH) + h;
    ymdhms dc = mjd2ymdhms(ceph);
    char tc[64], msg[512];
    dc.GetDateString(tc, 0);
    const char* ti = RecordText(ieph);
    char ts[64];  // the seconds as "%04.1Lf" writes them (below 60, or not a number)
    const int nts = FixedTextZeroFilled(ts, sizeof ts - 1, s, 4, 1);
    ts[nts > 0 ? nts : 0] = 0;
    snprintf(msg, sizeof msg,
             "%s satellite %c%02d: Calculation epoch [%s] NOT in epoch interval [%s] of input "
             "NAVIGATION file (dt = %c%02lu:%02hu:%s)",
             SYS, rs.GetISys(), rs.GetSPrn(), tc, ti, sign, hours, m, ts);
    ProgramWarning("Function:   rxN::CalcSatPosition(rSat&,mjd&,xyz&,xyz&)", msg);
  }

  // The date text of a record epoch; it serves the run of warnings of one record.
  const char* RecordText(mjd& ieph) {
    if (!(recText.day == ieph.GetMJDay() && recText.sec == ieph.GetSecond() && recText.text[0] != 0)) {
      ymdhms di = mjd2ymdhms(ieph);
      di.GetDateString(recText.text, 0);
      recText.day = ieph.GetMJDay();
      recText.sec = ieph.GetSecond();
    }
    return recText.text;
  }

  // BeiDou geostationary satellites: C01 to C05 and C59 to C63 [3].
  static bool IsBDSGeo(rSat& s) {
    const int n = s.GetSPrn();
    return s.isBDSSat() && ((n >= 1 && n <= 5) || (n >= 59 && n <= 63));
  }

  // Seconds from TOE to the epoch of the record line, both in the system's own
  // time scale and second of week, taken into [-302400, 302400) across a week end.
  static long double ToeOffset(rxENavDataKE& rNav) {
    mjd own = rNav.eph;
    own += -rNav.GetDiff2GPSTime();
    long double d = mjd2GPSws(own).GetSecond() - rNav.TOE;
    const long double halfWeek = tcns::SECWEEK / 2;
    if (d >= halfWeek) d -= tcns::SECWEEK;
    if (d < -halfWeek) d += tcns::SECWEEK;
    return d;
  }

  // Eccentric anomaly E (rad) of Kepler's equation M = E - e sin E by fixed-point
  // iteration from E = M [2]; false where the change is not below KEPLER_TOL
  // within KEPLER_MAXIT passes.
  static bool KeplerFixedPoint(long double M, long double e, long double& E) {
    long double change = 1;
    int count = 1;
    E = M;
    while (change > rxcalc::KEPLER_TOL) {
      const long double En = M + e * std::sin(E);
      change = std::fabs(En - E);
      E = En;
      if (++count > rxcalc::KEPLER_MAXIT) return false;
    }
    return true;
  }

  // Eccentric anomaly (rad, within one turn of 0) of Kepler's equation for any
  // mean anomaly M and eccentricity 0 <= e < 1: M brought into [-pi, pi], then
  // Newton's method from M, or from pi for e >= 0.8, which converges for every
  // such M and e. Its sine and cosine are those of the anomaly of M itself.
  static long double KeplerInOneTurn(long double M, long double e) {
    const long double Mr = std::remainder(M, rxcalc::KEPLER_TURN);
    long double E = e < 0.8L ? Mr : (Mr < 0 ? -rxcalc::KEPLER_TURN / 2 : rxcalc::KEPLER_TURN / 2);
    for (int k = 0; k < rxcalc::KEPLER_MAXIT; k++) {
      const long double dE = (E - e * std::sin(E) - Mr) / (1 - e * std::cos(E));
      E -= dE;
      if (!(std::fabs(dE) > rxcalc::KEPLER_TOL)) break;
    }
    return E;
  }

  // Keplerian broadcast orbit and clock [2], time argument from the epoch of the
  // record line; BeiDou GEO satellites in their element frame, turned by -5 deg
  // about X and by the Earth rotation since the record epoch [3]. toeOffset is
  // the record's ToeOffset (s).
  void cSatPosKepler(rxENavDataKE& rNav, long double toeOffset, mjd& ceph, xyz& x, xyz& v) {
    const char sys = rNav.GetSysIdent();
    const long double GM = gConst.GetGMEarth(sys);
    const long double wE = gConst.GetWEarth(sys);
    const long double F = gConst.GetkRelativity(sys);
    // Clock time from the epoch of the record line (toc); orbit time from the
    // reference epoch TOE [2]. Broadcast files give both the same epoch; a record
    // whose TOE differs must still not be propagated from the wrong reference,
    // which would put it kilometres off per minute of difference.
    const long double t = ceph - rNav.eph;
    const long double tk = t + toeOffset;
    const long double e = rNav.E;
    const long double A = rNav.A;
    Relativity = 0;
    // Corrected mean motion
    const long double n = std::sqrt(GM / A) / A + rNav.DN;
    // Mean anomaly
    const long double M = rNav.M0 + n * tk;
    // Eccentric anomaly: Kepler's equation by fixed-point iteration; where it
    // does not settle (a mean anomaly of many turns, whose rounding keeps the
    // change above the tolerance, or an eccentricity near 1), in one turn
    long double Ek = 0;
    if (!KeplerFixedPoint(M, e, Ek)) Ek = KeplerInOneTurn(M, e);
    const long double sinE = std::sin(Ek), cosE = std::cos(Ek);
    const long double Edot = n / (1 - e * cosE);
    // Relativistic clock term and clock correction (no group delay)
    Relativity = F * e * rNav.AS * sinE;
    const long double DT = rNav.A0 + rNav.A1 * t + rNav.A2 * t * t + Relativity;
    // True anomaly and its rate
    const long double nu = std::atan2(std::sqrt((1 + e) * (1 - e)) * sinE, cosE - e);
    const long double sinNu = std::sin(nu);
    // where sin(nu) vanishes the quotient is replaced by its closed form
    const long double nuDot = sinNu != 0 && sinE != 0
                                  ? (sinE * Edot * (1 + e * std::cos(nu))) / (sinNu * (1 - e * cosE))
                                  : Edot * std::sqrt((1 + e) * (1 - e)) / (1 - e * cosE);
    // Argument of latitude and second-harmonic corrections
    const long double Phi = nu + rNav.W;
    const long double s2P = std::sin(2 * Phi), c2P = std::cos(2 * Phi);
    const long double du = rNav.CUS * s2P + rNav.CUC * c2P;
    const long double dr = rNav.CRS * s2P + rNav.CRC * c2P;
    const long double di = rNav.CIS * s2P + rNav.CIC * c2P;
    const long double u = Phi + du;
    const long double r = A * (1 - e * cosE) + dr;
    const long double i = rNav.I0 + di + rNav.IDOT * tk;
    // Rates of u, r and i
    const long double s2u = std::sin(2 * u), c2u = std::cos(2 * u);
    const long double uDot = nuDot + 2 * nuDot * (rNav.CUS * c2u - rNav.CUC * s2u);
    const long double rDot = A * e * n * sinE / (1 - e * cosE) + 2 * nuDot * (rNav.CRS * c2u - rNav.CRC * s2u);
    const long double iDot = rNav.IDOT + 2 * nuDot * (rNav.CIS * c2u - rNav.CIC * s2u);
    // Longitude of the node: Earth-fixed, or inertial in the GEO element frame
    const bool geo = IsBDSGeo(rNav.Sat);
    const long double Om = geo ? rNav.OMEGA + rNav.OMEGADOT * tk - wE * rNav.TOE
                               : rNav.OMEGA + (rNav.OMEGADOT - wE) * tk - wE * rNav.TOE;
    const long double OmDot = geo ? rNav.OMEGADOT : rNav.OMEGADOT - wE;
    // Position and velocity in the orbital plane
    const long double xp = r * std::cos(u), yp = r * std::sin(u);
    const long double xpDot = rDot * std::cos(u) - uDot * yp;
    const long double ypDot = uDot * xp + rDot * std::sin(u);
    // Position and velocity in the frame of the node
    const long double cO = std::cos(Om), sO = std::sin(Om), ci = std::cos(i), si = std::sin(i);
    long double X = xp * cO - yp * ci * sO;
    long double Y = xp * sO + yp * ci * cO;
    long double Z = yp * si;
    const long double P = xpDot - OmDot * yp * ci;
    const long double Q = OmDot * xp + ypDot * ci - iDot * yp * si;
    long double VX = P * cO - Q * sO;
    long double VY = P * sO + Q * cO;
    long double VZ = ypDot * si + iDot * yp * ci;
    if (geo) {
      // R_X(-5 deg): from the element frame to the inertial frame of the record epoch
      const long double phi = deg2rad(rxcalc::BDS_GEO_TILT_DEG);
      const long double cx = std::cos(phi), sx = std::sin(phi);
      const long double Y1 = cx * Y + sx * Z, Z1 = -sx * Y + cx * Z;
      const long double VY1 = cx * VY + sx * VZ, VZ1 = -sx * VY + cx * VZ;
      // R_Z(wE t): the Earth's rotation since the record epoch
      const long double cz = std::cos(wE * tk), sz = std::sin(wE * tk);
      const long double X2 = cz * X + sz * Y1, Y2 = -sz * X + cz * Y1;
      const long double VX2 = cz * VX + sz * VY1, VY2 = -sz * VX + cz * VY1;
      X = X2;
      Y = Y2;
      Z = Z1;
      // the rate of R_Z adds wE (Y, -X, 0)
      VX = VX2 + wE * Y2;
      VY = VY2 - wE * X2;
      VZ = VZ1;
    }
    x.Set(X, Y, Z, DT);
    v.Set(VX, VY, VZ);
  }

  // Equations of motion of a GLONASS satellite in the rotating Earth-fixed
  // frame [4]: central force, J2 (C20 = -J2), centrifugal and Coriolis terms, and
  // the record's constant luni-solar accelerations (km/s2). y receives dx/dt.
  void DiffEqTwoBody(rxENavDataNI& rNav, const long double* x, long double* y) {
    const long double aE = rNav.GetAEllipsoid();
    const long double C20 = rNav.GetC20();
    const long double GM = gConst.GetGMEarth(rNav.GetSysIdent());
    const long double wE = gConst.GetWEarth(rNav.GetSysIdent());
    const long double X = x[0], Y = x[1], Z = x[2], Vx = x[3], Vy = x[4], Vz = x[5];
    const long double r = std::sqrt(X * X + Y * Y + Z * Z);
    const long double km = rxENavDataNI::KM;
    y[0] = Vx;
    y[1] = Vy;
    y[2] = Vz;
    const long double K = 1.5L * C20 * (GM / (r * r)) * (aE / r) * (aE / r);
    const long double zr2 = (Z / r) * (Z / r);
    const long double r3 = r * r * r;
    y[3] = km * rNav.XDD0 - GM * X / r3 + K * (X / r) * (1 - 5 * zr2) + wE * wE * X + 2 * wE * Vy;
    y[4] = km * rNav.YDD0 - GM * Y / r3 + K * (Y / r) * (1 - 5 * zr2) + wE * wE * Y - 2 * wE * Vx;
    y[5] = km * rNav.ZDD0 - GM * Z / r3 + K * (Z / r) * (3 - 5 * zr2);
  }

  // Position (m), velocity (m/s) and clock correction (s) of a state-vector
  // record's state s (m, m/s) and clock DT (s): the relativistic term is formed
  // from the state and taken from the clock.
  void SetStateAndClock(const long double* s, long double DT, xyz& x, xyz& v) {
    x.Set(s[0], s[1], s[2]);
    v.Set(s[3], s[4], s[5]);
    const long double c = gConst.GetC();
    Relativity = 2 * ((s[3] / c) * (s[0] / c) + (s[4] / c) * (s[1] / c) + (s[5] / c) * (s[2] / c));
    x.SetT(DT - Relativity);
  }

  // State of an SBAS record at ceph by the broadcast model [5]: the record's
  // Earth-fixed position, velocity and total acceleration at its epoch carried
  // by X = X0 + V0 dt + A0 dt^2 / 2 and V = V0 + A0 dt, dt from the record epoch
  // (no force model: the acceleration already holds gravity); the clock
  // correction aGf0 + aGf1 dt less the relativistic term.
  void cSatPosSBAS(rxENavDataNI& rNav, mjd& ceph, xyz& x, xyz& v) {
    Relativity = 0;
    const long double dt = ceph - rNav.eph;
    const long double km = rxENavDataNI::KM;
    const long double s[6] = {
        km * (rNav.X0 + rNav.XD0 * dt + 0.5L * rNav.XDD0 * dt * dt),
        km * (rNav.Y0 + rNav.YD0 * dt + 0.5L * rNav.YDD0 * dt * dt),
        km * (rNav.Z0 + rNav.ZD0 * dt + 0.5L * rNav.ZDD0 * dt * dt),
        km * (rNav.XD0 + rNav.XDD0 * dt),
        km * (rNav.YD0 + rNav.YDD0 * dt),
        km * (rNav.ZD0 + rNav.ZDD0 * dt)};
    SetStateAndClock(s, rNav.DT0 + rNav.DT1 * dt, x, v);
  }

  // The step of an integration must be within its bound, which keeps the work
  // finite.
  void CheckStepBound(rxENavDataNI& rNav) {
    char msg[256];
    if (!(NumIntStep >= rxcalc::MIN_INTEG_STEP)) {
      snprintf(msg, sizeof msg,
               "Numerical integration step %.3Le s TOO SMALL for GLONAS satellite %c%02d position "
               "determination - AT LEAST %.3Lf s!",
               NumIntStep, rNav.Sat.GetISys(), rNav.Sat.GetSPrn(), rxcalc::MIN_INTEG_STEP);
      ProgramError("Function:   rxN::cSatPosNumInteg(rNav&,mjd&,xyz&,xyz&)", msg, false);
    }
  }

  // State of a GLONASS record carried to ceph by the classical fourth-order
  // Runge-Kutta method in steps of NumIntStep, all full steps first; the clock
  // correction -TauN + GammaN (t - tb) = DT0 + DT1 dt relative to GLONASS time [4].
  // The broadcast clock terms already hold the periodic relativistic effect (the
  // clock model of [4] has no term of its own), so Relativity stays 0; and no
  // time-system correction of the header (GLUT) is added.
  void cSatPosNumInteg(rxENavDataNI& rNav, mjd& ceph, xyz& x, xyz& v) {
    Relativity = 0;
    const long double dt = ceph - rNav.eph;
    CheckStepBound(rNav);
    // Beyond the record's reach (a light-time epoch just past it): no state.
    if (!rxcalc::WithinReach(dt)) {
      x.Set(0, 0, 0, 0);
      v.Set(0, 0, 0, 0);
      timeOK = posOK = false;
      return;
    }
    const int16_t sign = dt < 0 ? -1 : 1;
    long double whole = 0;
    const long double f = std::modf(std::fabs(dt) / NumIntStep, &whole);
    const long double DT = rNav.DT0 + rNav.DT1 * dt;
    const bool partial = f * NumIntStep > rxcalc::STEP_REST_MIN;
    const int32_t n = static_cast<int32_t>(whole) + (partial ? 1 : 0);
    const long double km = rxENavDataNI::KM;
    long double s[6], k1[6], k2[6], k3[6], k4[6], tmp[6];  // state (m, m/s) and the stages
    // from the furthest whole step already made from this record, if any
    int32_t k0 = 0;
    if (steps.Holds(rNav, NumIntStep, sign)) {
      const int32_t full = static_cast<int32_t>(whole);
      k0 = full < steps.Count() - 1 ? full : steps.Count() - 1;
      steps.Load(k0, s);
    } else {
      s[0] = km * rNav.X0;
      s[1] = km * rNav.Y0;
      s[2] = km * rNav.Z0;
      s[3] = km * rNav.XD0;
      s[4] = km * rNav.YD0;
      s[5] = km * rNav.ZD0;
      steps.Start(rNav, NumIntStep, sign, s);
    }
    for (int32_t k = k0; k < n; k++) {
      const bool last = partial && k == n - 1;
      const long double h = last ? sign * f * NumIntStep : sign * NumIntStep;
      DiffEqTwoBody(rNav, s, k1);
      for (int j = 0; j < 6; j++) tmp[j] = s[j] + (h / 2) * k1[j];
      DiffEqTwoBody(rNav, tmp, k2);
      for (int j = 0; j < 6; j++) tmp[j] = s[j] + (h / 2) * k2[j];
      DiffEqTwoBody(rNav, tmp, k3);
      for (int j = 0; j < 6; j++) tmp[j] = s[j] + h * k3[j];
      DiffEqTwoBody(rNav, tmp, k4);
      for (int j = 0; j < 6; j++)
        s[j] = s[j] + ((h / 6) * k1[j] + (h / 3) * k2[j] + (h / 3) * k3[j] + (h / 6) * k4[j]);
      if (!last && k + 1 == steps.Count()) steps.Save(s);
    }
    x.Set(s[0], s[1], s[2], DT);
    v.Set(s[3], s[4], s[5]);
  }

  // ---- writing ----

  // Header records, END OF HEADER, then the records system by system.
  void PrintFile_All(std::ostream& os) {
    os << rVrsType << rPgRbDate << rTime << rIonC;
    os << std::setw(60) << " " << "END OF HEADER" << std::endl;
    for (const GNSSsys& s : gnss::systems) {
      if (s.kepler) {
        myList<rxENavDataKE>& l = *KeplerList(s.letter);
        for (long i = 0; i < l.Length(); i++) l(i).Print(os);
      } else {
        myList<rxENavDataNI>& l = *StateList(s.letter);
        for (long i = 0; i < l.Length(); i++) l(i).Print(os, HasGlonassLine4());
      }
    }
  }

  char file[MaxFileName + 1];
  mjd StartEpoch;
  mjd EndEpoch;
  rxVersionType rVrsType;
  rxPgmRunDate rPgRbDate;
  rxTimeInfo rTime;
  rxIonoCorr rIonC;
  rxDataSum rDSum;
  myList<rxENavDataKE> rNavDG, rNavDE, rNavDC, rNavDJ, rNavDI;
  myList<rxENavDataNI> rNavDR, rNavDS;
  long double NumIntStep;
  bool isNumIntStep;
  bool posOK, timeOK;
  long double Relativity;
  mjd CalEph;
  rxStepStates steps;  // whole steps of the last GLONASS record integrated
  rxRecordIndex recIndex[gnss::NSYS];  // records by satellite, per system of gnss::systems
  rxToldRecords told[gnss::NSYS];      // warnings given per record, per system of gnss::systems
  struct {
    uint32_t day = 0;
    long double sec = 0;
    char text[64] = "";
  } recText;  // date text of the record epoch of the last interval warning
  myList<long double> toeOffsets[gnss::NSYS];  // ToeOffset of each record of a Keplerian system's list
};
