// ITRS-to-GCRS rotation file: one 3 x 3 rotation matrix (r_GCRS = R r_ITRS)
// and its quaternion per epoch, no interpolation. A record serves an epoch whose
// instant, turned into TAI from the epoch's time scale, lies less than 0.1 s from
// its TAI epoch, a tenth away being another instant (see Tenth).
// Format: two free header lines, then one record per line of 20 values: TAI epoch
// (decimal MJD), UTC year month day hour minute second, R11..R33, Q1..Q4.
// References: [1] IERS Conventions (2010), ch. 5 (the rotation the file tabulates).
#pragma once

#include <algorithm> // sort
#include <cmath>     // fabs, floor, roundl
#include <cstdio>    // snprintf
#include <cstdlib>   // strtold
#include <cstring>   // strlen, strncpy
#include <fstream>   // ifstream
#include <iomanip>   // setw, setprecision
#include <iostream>  // cout, istream, ostream
#include <sstream>   // istringstream

#include "functions/cstrings.h"   // FileExists, GetFileLine, IsWhite, DecimalLength, cwords
#include "gdata/mjd.h"            // mjd, SeriesTenths, SeriesCount, SeriesEpoch
#include "gdata/myList.h"         // myList
#include "gdata/timeconv.h"       // ymdhms2mjd, mjd2ymdhms, TimeScale, TAIMinus, PastLeapSecondTable
#include "gdata/xyz.h"            // xyz
#include "gdata/ymdhms.h"         // ymdhms, ymdhmsns
#include "pgminc/ProgramError.h"  // ProgramError, ProgramWarning

namespace tgcrsc {
constexpr int FileNameSize = MaxFileName + 1;  // room of the file name, NUL included
constexpr int LineSize = 512;           // room of one line, NUL included
constexpr int ValuesPerRecord = 20;     // TAI, 6 UTC fields, 9 matrix, 4 quaternion
// Epoch selection window (s) of a record: 0.1 s less a margin that covers the
// rounding of its TAI epoch as written, half a unit of the last decimal of its
// MJD (43 ns for 12 decimals, 4.3 us for 10), and at least MinDigitMargin.
// Epochs and records lie on tenths, so a record a tenth away is another instant,
// never selected whatever the last digit of its MJD; one 0.05 s away still is.
// An MJD of fewer than MinMjdDecimals decimals (a unit of 0.86 s) cannot tell
// a tenth and is refused.
constexpr long double Tenth = 0.1L;
constexpr long double MinDigitMargin = 1e-6L;
constexpr long double SelectTol = Tenth - MinDigitMargin;  // the widest window
constexpr int MinMjdDecimals = 6;
constexpr long double DigitSlack = 1e-9L;  // s, the arithmetic beyond the rounding of written digits
constexpr long double NoIntervalYet = 10000000000.0L;  // start of the smallest-step search (s)
constexpr long double WholeSecondTol = 0.0001L;  // steps this close to whole seconds are whole
constexpr long double OrderedGap = 4 * SelectTol;  // smallest step of a file searched by halving (s)
constexpr long double RotationTol = 1e-6L;  // rows of a record's matrix orthonormal within this
}  // namespace tgcrsc

// One record of the rotation file; all members public.
class toGCRSmatrix {
 public:
  mjd eph_TAI;  // epoch in TAI, from the decimal MJD
  mjd eph_UTC;  // epoch in UTC, from the calendar fields
  long double R11, R12, R13, R21, R22, R23, R31, R32, R33;  // rotation ITRS -> GCRS, by rows
  long double Q1, Q2, Q3, Q4;                               // the same rotation, stored only

  toGCRSmatrix()
      : R11(0), R12(0), R13(0), R21(0), R22(0), R23(0), R31(0), R32(0), R33(0),
        Q1(0), Q2(0), Q3(0), Q4(0) {}
};

// Reads one record in the file layout: TAI decimal MJD, UTC calendar fields,
// nine matrix elements, four quaternion components.
inline std::istream& operator>>(std::istream& in, toGCRSmatrix& m) {
  long double tai = 0;
  in >> tai;
  m.eph_TAI = tai;
  ymdhms utc;
  in >> utc;
  m.eph_UTC = ymdhms2mjd(utc);
  in >> m.R11 >> m.R12 >> m.R13 >> m.R21 >> m.R22 >> m.R23 >> m.R31 >> m.R32 >> m.R33;
  in >> m.Q1 >> m.Q2 >> m.Q3 >> m.Q4;
  return in;
}

// Writes one record: TAI as decimal MJD, UTC in the RINEXDATA3 layout, then the
// 13 numbers in 18 columns with 14 decimals; no line end.
inline std::ostream& operator<<(std::ostream& os, toGCRSmatrix& m) {
  os << std::fixed << std::setw(18) << std::setprecision(12) << m.eph_TAI.GetMJDDec();
  ymdhmsns::PrintType = ymdhmsns::RINEXDATA3;
  ymdhms utc = mjd2ymdhms(m.eph_UTC);
  os << utc;
  const long double* vals[13] = {&m.R11, &m.R12, &m.R13, &m.R21, &m.R22, &m.R23, &m.R31,
                                 &m.R32, &m.R33, &m.Q1,  &m.Q2,  &m.Q3,  &m.Q4};
  for (const long double* v : vals) os << std::setw(18) << std::setprecision(14) << *v;
  return os;
}

// The rotation file: its header lines and records in file order.
class toGCRS {
 public:
  toGCRS() : nEph(0), iX(-1), Interval(0), ordered(false), scale(TimeScale::GPS) {
    file[0] = 0;
    header[0][0] = 0;
    header[1][0] = 0;
  }

  // Takes the file name; a name that does not fit or a file that cannot be opened is fatal.
  void SetFile(const char* name) {
    if (strlen(name) >= static_cast<size_t>(tgcrsc::FileNameSize))
      ProgramError("Function:   toGCRS::SetFile()",
                   "Input ITRS>GCRS matrix file can not be opened!", false);
    strncpy(file, name, tgcrsc::FileNameSize - 1);
    file[tgcrsc::FileNameSize - 1] = 0;
    if (!FileExists(file))
      ProgramError("Function:   toGCRS::SetFile()",
                   "Input ITRS>GCRS matrix file can not be opened!", false);
  }

  // Reads the whole file: line count, records, first/last epochs and the
  // interval; a file without records is fatal, a record of the instant of an
  // earlier one is warned about.
  void ReadFile() {
    ReadFile_Check();
    if (nEph == 0)
      ProgramError("Function:   toGCRS::ReadFile()",
                   "Input ITRS>GCRS matrix file holds NO records!", false);
    toGCRSdata.Resize(nEph, 1);
    window.Resize(nEph);
    ReadFile_Read();
    GetInfoData();
    WarnDuplicates();
  }

  long GetNEph() const { return nEph; }
  long double GetInterval() const { return Interval; }
  // Record k in file order (validated access), to be read: the epoch search
  // relies on the order found when the file was read.
  toGCRSmatrix& GetRecord(long k) { return toGCRSdata(k); }

  // Summary on standard output: counts, TAI and UTC spans, interval.
  void PrintSummary() {
    char s1[64], s2[64];
    std::cout << std::fixed;
    std::cout << "  Number of epochs: " << nEph << std::endl;
    DateText(eph_TAI_first, 8, s1);
    DateText(eph_TAI_last, 8, s2);
    std::cout << "  TAI epochs      : " << s1 << "  - " << s2 << std::endl;
    DateText(eph_UTC_first, 8, s1);
    DateText(eph_UTC_last, 8, s2);
    std::cout << "  UTC epochs      : " << s1 << "  - " << s2 << std::endl;
    std::cout << "  Interval        : " << std::setw(12) << std::setprecision(3) << Interval
              << " s" << std::endl;
    std::cout << std::endl;
  }

  // Writes the header lines and every record to standard output.
  void PrintFile() {
    std::cout << header[0] << std::endl << header[1] << std::endl;
    for (long k = 0; k < nEph; k++) std::cout << toGCRSdata(k) << std::endl;
  }

  // Time scale of the epochs given to SetEpoch and CheckExternalEpochs (GPS time
  // until set): the ephemeris' own, so that a record of the same instant is found.
  void SetTimeScale(TimeScale s) { scale = s; }

  // Selects the first record of the instant of t (its TAI epoch less than 0.1 s
  // from t turned into TAI, less the record's margin); warns, showing t as given,
  // when none is.
  void SetEpoch(mjd& t) {
    iX = FindEpoch(t);
    if (iX != -1) return;
    char sdate[64], msg[256];
    DateText(t, 0, sdate);
    snprintf(msg, sizeof msg,
             "Input satellite position epoch [%s] CAN NOT be found in ITRS>GCRS rotation file",
             sdate);
    ProgramWarning("Function:   toGCRS::SetEpoch(mjd&)", msg);
  }

  bool IsValidEpoch() const { return iX != -1; }

  // out = R in for the selected record (x, y, z only; t of out is kept).
  // Without a selection out stays as it was. The three products are formed
  // before out is written, so in and out may be the same object.
  void Rotate(xyz& in, xyz& out) {
    if (iX == -1) return;
    const toGCRSmatrix& R = toGCRSdata(iX);
    const long double x = in.GetX(), y = in.GetY(), z = in.GetZ();
    const long double ox = R.R11 * x + R.R12 * y + R.R13 * z;
    const long double oy = R.R21 * x + R.R22 * y + R.R23 * z;
    const long double oz = R.R31 * x + R.R32 * y + R.R33 * z;
    out.SetX(ox);
    out.SetY(oy);
    out.SetZ(oz);
  }

  // Counts and lists on standard output the epochs from..to in steps of step
  // seconds that no record covers; returns that count. The epochs are those of
  // the series of SeriesEpoch, which the position loop computes: step a whole
  // number of tenths of a second, epoch k from plus k steps.
  long CheckExternalEpochs(mjd& from, mjd& to, long double step) {
    if (!(step > 0))
      ProgramError("Function:   toGCRS::CheckExternalEpochs()",
                   "Interval of epochs for ITRS>GCRS check must be GREATER than 0!", false);
    if (SeriesTenths(step) < 0)
      ProgramError("Function:   toGCRS::CheckExternalEpochs()",
                   step < 1 / tcns::TENTHS_PER_SECOND
                       ? "Interval of epochs for ITRS>GCRS check too small to step the epochs!"
                       : "Interval of epochs for ITRS>GCRS check NOT a multiple of 0.1 s!",
                   false);
    char sdate[64];
    const long double n = SeriesCount(from, to, step);  // 0 when to < from
    std::cout << "  Number of epochs: " << std::fixed << std::setprecision(0) << std::setw(10) << n
              << std::endl;
    DateText(from, 1, sdate);
    std::cout << "  FROM epoch      : " << sdate << " [" << from << "]" << std::endl;
    DateText(to, 1, sdate);
    std::cout << "  TO   epoch      : " << sdate << " [" << to << "]" << std::endl;
    std::cout << "  Interval        : " << std::fixed << std::setw(10) << std::setprecision(1)
              << step << " s" << std::endl;
    long count = 0;
    for (long double k = 0; k == 0 || k < n; k++) {  // from itself is always checked
      mjd e = SeriesEpoch(from, k, step);
      if (FindEpoch(e) == -1) {
        count++;
        DateText(e, 1, sdate);
        std::cout << std::endl
                  << "    Epoch: " << sdate << " [" << e
                  << "]    NOT FOUND IN ITRS>CGRS LIST OF EPOCHS!!";
      }
    }
    if (count != 0) std::cout << std::endl;
    std::cout << std::endl
              << "  FINAL RESULTS: " << std::setw(10) << count << " PROBLEMATIC EPOCH!"
              << std::endl
              << std::endl;
    return count;
  }

 private:
  char file[tgcrsc::FileNameSize];
  char header[2][tgcrsc::LineSize];
  long nEph;
  myList<toGCRSmatrix> toGCRSdata;
  long iX;
  mjd eph_TAI_first, eph_TAI_last, eph_UTC_first, eph_UTC_last;
  long double Interval;
  myList<long double> window;  // per record, its selection window (s; see tgcrsc::Tenth)
  bool ordered;  // TAI epochs increasing by more than OrderedGap (FindEpoch)
  TimeScale scale;  // time scale of the epochs asked for

  // Date text of an epoch with n decimals of the second.
  static void DateText(mjd& t, int n, char* s) {
    ymdhms d = mjd2ymdhms(t);
    d.GetDateString(s, n);
  }

  // The same text without its leading blanks (a pointer into s).
  static const char* BareDateText(mjd& t, int n, char* s) {
    DateText(t, n, s);
    while (*s == ' ') s++;
    return s;
  }

  // Seconds from record k's TAI epoch to the instant of t, where t - eph_TAI
  // is the difference of the day counts and taiMinus brings t's scale to TAI.
  long double Offset(const mjd& t, long double taiMinus, long k) {
    return (t - toGCRSdata(k).eph_TAI) + taiMinus;
  }

  // Index of the first record within its window of the instant of t, or -1.
  // Records in increasing order, each farther than OrderedGap from the one
  // before, hold one such record at most: a binary search by the widest window
  // (SelectTol) finds it, checked with its neighbours by the very test of the
  // scan; other files are scanned from the first record.
  long FindEpoch(mjd& t) {
    const long double taiMinus = TAIMinus(t, scale);
    if (ordered) {
      long lo = 0, hi = nEph;  // first record whose epoch lies less than SelectTol before t
      while (lo < hi) {
        const long mid = lo + (hi - lo) / 2;
        if (Offset(t, taiMinus, mid) < tgcrsc::SelectTol) hi = mid;
        else lo = mid + 1;
      }
      for (long k = (lo > 0 ? lo - 1 : 0); k <= lo + 1 && k < nEph; k++)
        if (std::fabs(Offset(t, taiMinus, k)) < window(k)) return k;
      return -1;
    }
    for (long k = 0; k < nEph; k++)
      if (std::fabs(Offset(t, taiMinus, k)) < window(k)) return k;
    return -1;
  }

  // Reads one line; a line that does not fit the buffer is fatal, naming it.
  bool ReadLine(std::istream& in, char* buf, long lineNo) {
    bool isLong = false;
    bool ok = GetFileLine(in, buf, tgcrsc::LineSize, &isLong);
    if (isLong) {
      char msg[256];
      snprintf(msg, sizeof msg,
               "Line %ld of ITRS>GCRS matrix file longer than %d characters!", lineNo,
               tgcrsc::LineSize - 1);
      ProgramError("Function:   toGCRS::ReadFile()", msg, false);
    }
    return ok;
  }

  // Header lines, then the number of record lines (every line after line 2).
  void ReadFile_Check() {
    std::ifstream in(file);
    char buf[tgcrsc::LineSize];
    for (int i = 0; i < 2; i++) {
      header[i][0] = 0;
      if (ReadLine(in, buf, i + 1)) strncpy(header[i], buf, tgcrsc::LineSize);
      header[i][tgcrsc::LineSize - 1] = 0;
    }
    nEph = 0;
    while (ReadLine(in, buf, nEph + 3)) nEph++;
  }

  // A record line must hold exactly 20 numbers, the five calendar fields after
  // the TAI epoch as whole numbers; anything else (a blank line, a record broken
  // over two lines, a missing value) would shift every later record. places gets
  // the decimal places of the last digits of the TAI epoch and of the UTC second.
  static void CheckRecordLine(const char* line, long lineNo, int places[2]) {
    char msg[256];
    int nw = cwords(line);
    if (nw != tgcrsc::ValuesPerRecord) {
      snprintf(msg, sizeof msg,
               "Line %ld of ITRS>GCRS matrix file holds %d values, not %d!", lineNo, nw,
               tgcrsc::ValuesPerRecord);
      ProgramError("Function:   toGCRS::ReadFile()", msg, false);
    }
    const char* p = line;
    for (int k = 0; k < nw; k++) {
      while (IsWhite(*p)) p++;
      const char* start = p;
      while (*p != 0 && !IsWhite(*p)) p++;
      bool good = true;
      if (k >= 1 && k <= 5) {
        for (const char* q = start; q < p; q++)
          if (*q < '0' || *q > '9') good = false;
      } else {
        // plain finite decimal numbers only: no hex, inf or nan, which the stream reads otherwise
        int digits = 0;
        good = DecimalLength(start, &digits) == p - start && std::isfinite(strtold(start, nullptr));
        if (k == 0) places[0] = digits;
        if (k == 6) places[1] = digits;
      }
      if (!good) {
        snprintf(msg, sizeof msg,
                 "Line %ld of ITRS>GCRS matrix file: value %d >%.*s< not valid!", lineNo,
                 k + 1, static_cast<int>(p - start > 40 ? 40 : p - start), start);
        ProgramError("Function:   toGCRS::ReadFile()", msg, false);
      }
    }
  }

  // Records in file order, each line checked before it is read.
  void ReadFile_Read() {
    std::ifstream in(file);
    char buf[tgcrsc::LineSize];
    ReadLine(in, buf, 1);
    ReadLine(in, buf, 2);
    toGCRSmatrix work;
    for (long k = 0; k < nEph; k++) {
      ReadLine(in, buf, k + 3);
      int places[2] = {0, 0};
      CheckRecordLine(buf, k + 3, places);
      std::istringstream rec(buf);
      rec >> work;
      window(k) = CheckRecord(work, k + 3, places);
      toGCRSdata(k) = work;
    }
  }

  // Refuses, naming the line, a record that could serve no epoch or another one
  // than its own: a matrix that is no rotation, a TAI epoch of too few decimals
  // to tell a tenth, two epochs that are not one instant (a changed digit of the
  // MJD moves the record onto another epoch, where it can displace the true
  // record of that instant). places: decimals of the TAI epoch and of the UTC
  // second as written. Returns the record's selection window (s).
  long double CheckRecord(const toGCRSmatrix& m, long lineNo, const int places[2]) const {
    char msg[768];
    const char* where = "Function:   toGCRS::ReadFile()";
    if (!IsRotation(m)) {
      snprintf(msg, sizeof msg,
               "Line %ld of ITRS>GCRS matrix file >%s<: the nine matrix elements are NOT A ROTATION (rows not "
               "orthonormal within %.0Le, or a reflection)!",
               lineNo, file, tgcrsc::RotationTol);
      ProgramError(where, msg, false);
    }
    if (places[0] < tgcrsc::MinMjdDecimals) {
      snprintf(msg, sizeof msg,
               "Line %ld of ITRS>GCRS matrix file >%s<: its TAI epoch of %d decimals CAN NOT TELL A TENTH of a "
               "second (%d decimals at least)!",
               lineNo, file, places[0], tgcrsc::MinMjdDecimals);
      ProgramError(where, msg, false);
    }
    // half a unit of the last written digit of each epoch (s)
    const long double mjdRounding = 0.5L * powl(10.0L, -places[0]) * tcns::SECDAY;
    const long double secRounding = 0.5L * powl(10.0L, -places[1]);
    // TAI - UTC of the table on the UTC date; past the table a leap second may
    // have come since, one either way
    const long double diff = m.eph_TAI - m.eph_UTC, taiUtc = TAIMinus(m.eph_UTC, TimeScale::UTC);
    const long double tol = mjdRounding + secRounding + tgcrsc::DigitSlack;
    const bool past = PastLeapSecondTable(m.eph_UTC);
    bool agree = false;
    for (int leap = past ? -1 : 0; leap <= (past ? 1 : 0); leap++)
      if (std::fabs(diff - (taiUtc + leap)) <= tol) agree = true;
    if (!agree) {
      char expected[64];
      if (past) snprintf(expected, sizeof expected, "%.0Lf, %.0Lf or %.0Lf", taiUtc - 1, taiUtc, taiUtc + 1);
      else snprintf(expected, sizeof expected, "%.0Lf", taiUtc);
      snprintf(msg, sizeof msg,
               "Line %ld of ITRS>GCRS matrix file >%s<: its TAI and UTC epochs DISAGREE - TAI-UTC %.6Lf s, on "
               "that date %s s!",
               lineNo, file, diff, expected);
      ProgramError(where, msg, false);
    }
    const long double margin = mjdRounding + tgcrsc::DigitSlack;
    return tgcrsc::Tenth - (margin > tgcrsc::MinDigitMargin ? margin : tgcrsc::MinDigitMargin);
  }

  // Whether a record's matrix is a rotation: rows orthonormal within RotationTol
  // and a right-handed frame. A damaged element (a lost decimal point makes
  // 0.0019 into 1.9e13) would turn every position into numbers of no meaning.
  static bool IsRotation(const toGCRSmatrix& m) {
    const long double r[3][3] = {{m.R11, m.R12, m.R13}, {m.R21, m.R22, m.R23}, {m.R31, m.R32, m.R33}};
    for (int i = 0; i < 3; i++)
      for (int j = i; j < 3; j++) {
        const long double dot = r[i][0] * r[j][0] + r[i][1] * r[j][1] + r[i][2] * r[j][2];
        if (!(std::fabs(dot - (i == j ? 1 : 0)) <= tgcrsc::RotationTol)) return false;
      }
    const long double det = r[0][0] * (r[1][1] * r[2][2] - r[1][2] * r[2][1]) -
                            r[0][1] * (r[1][0] * r[2][2] - r[1][2] * r[2][0]) +
                            r[0][2] * (r[1][0] * r[2][1] - r[1][1] * r[2][0]);
    return det > 0;
  }

  // First and last epochs, the interval as the smallest UTC step, and whether
  // the TAI epochs may be searched by halving.
  void GetInfoData() {
    eph_TAI_first = toGCRSdata(0).eph_TAI;
    eph_UTC_first = toGCRSdata(0).eph_UTC;
    eph_TAI_last = toGCRSdata(nEph - 1).eph_TAI;
    eph_UTC_last = toGCRSdata(nEph - 1).eph_UTC;
    long double m = tgcrsc::NoIntervalYet;
    ordered = true;
    for (long k = 1; k < nEph; k++) {
      long double d = toGCRSdata(k).eph_UTC - toGCRSdata(k - 1).eph_UTC;
      if (d < m) m = d;
      if (!(toGCRSdata(k).eph_TAI - toGCRSdata(k - 1).eph_TAI > tgcrsc::OrderedGap)) ordered = false;
    }
    long double r = roundl(m);
    if (std::fabs(m - r) < tgcrsc::WholeSecondTol) m = r;
    Interval = m;
  }

  // Warns for each record that an earlier record of the file takes the place
  // of at an instant both could serve. Epochs lie on tenths of a second, and so
  // do their instants in TAI (every time scale of the epochs differs from TAI by
  // whole seconds); a record can serve only the tenths within its window, two at
  // most, and each goes to the first record of the file whose window holds it
  // (as FindEpoch selects). A record that keeps none of its tenths is not used;
  // one that keeps some serves those, and the warning says so. Sorting the
  // (tenth, record) pairs finds the first record of every tenth, so a file of
  // many records of one instant costs no more than an ordinary one.
  void WarnDuplicates() {
    if (ordered) return;  // steps of more than OrderedGap: no two records share a tenth
    struct Claim {
      long double tenth;  // the instant, in tenths of a second from 0 h TAI of record 0's day
      long rec;
    };
    myList<Claim> claims;
    claims.Resize(2 * nEph);
    long n = 0;
    const mjd origin(toGCRSdata(0).eph_TAI.GetMJDay(), 0);
    for (long k = 0; k < nEph; k++) {
      const long double key = (toGCRSdata(k).eph_TAI - origin) * tcns::TENTHS_PER_SECOND;
      // the tenths either side of the epoch, the only ones a window below 0.1 s can hold
      for (long double m = floorl(key); m <= floorl(key) + 1; m++)
        if (fabsl(m - key) / tcns::TENTHS_PER_SECOND < window(k)) claims(n++) = {m, k};
    }
    std::sort(&claims(0), &claims(0) + n, [](const Claim& a, const Claim& b) {
      return a.tenth < b.tenth || (a.tenth == b.tenth && a.rec < b.rec);
    });
    myList<char> served;  // per record, whether it keeps one of its tenths
    myList<long> taker;   // per record, the first record that takes one of its tenths, or -1
    myList<long double> lost;  // that tenth
    served.Resize(nEph, 1, 0);
    taker.Resize(nEph, 1, -1);
    lost.Resize(nEph, 1, 0);
    for (long i = 0, first = 0; i < n; i++) {
      if (i == 0 || claims(i).tenth != claims(i - 1).tenth) first = claims(i).rec;
      const long k = claims(i).rec;
      if (k == first) served(k) = 1;
      else if (taker(k) == -1) {
        taker(k) = first;
        lost(k) = claims(i).tenth;
      }
    }
    for (long k = 0; k < nEph; k++)
      if (taker(k) != -1) WarnDuplicate(k, taker(k), served(k) != 0, lost(k), origin);
  }

  // The warning of record k, one of whose tenths record j takes (lines: two
  // header lines before record 0).
  void WarnDuplicate(long k, long j, bool served, long double tenth, const mjd& origin) {
    char sdate[64], sshared[64], msg[384];
    const char* d = BareDateText(toGCRSdata(k).eph_UTC, 3, sdate);
    if (!served) {
      snprintf(msg, sizeof msg,
               "Line %ld of ITRS>GCRS matrix file: epoch >%s< UTC DUPLICATES line %ld - record NOT used!", k + 3, d,
               j + 3);
    } else {
      // the shared instant in UTC: the record's UTC epoch moved as far as the tenth lies from its TAI epoch
      mjd shared = toGCRSdata(k).eph_UTC;
      shared += tenth / tcns::TENTHS_PER_SECOND - (toGCRSdata(k).eph_TAI - origin);
      snprintf(msg, sizeof msg,
               "Line %ld of ITRS>GCRS matrix file: epoch >%s< UTC SHARES the instant >%s< UTC with line %ld, which "
               "serves it - record used at its other instants only!",
               k + 3, d, BareDateText(shared, 1, sshared), j + 3);
    }
    ProgramWarning("Function:   toGCRS::ReadFile()", msg);
  }
};
