// ANTEX frequency sections: the mean phase-centre offset (north, east, up) and the
// phase-centre variations on the zenith grid (NOAZI row) and azimuth x zenith grid
// of one carrier, read in millimetres and held in metres; Lagrange interpolation
// in zenith, linear in azimuth (degrees). References: [1] ANTEX 1.4 (R. Schmid, IGS, 2010).
#pragma once

#include <cmath>     // fabs, floor, isfinite, round
#include <cstdio>    // snprintf
#include <cstring>   // strcpy, strncpy, strstr
#include <iomanip>   // setw, setprecision
#include <istream>   // istream
#include <limits>    // quiet_NaN
#include <ostream>   // ostream

#include "functions/angles.h"      // LagrangePolynomial
#include "functions/cstrings.h"    // substr, trim
#include "gdata/neu.h"             // neu
#include "igsforms/atxRecords.h"   // gpcvAziZen, atxfmt
#include "matrix/matrix.h"         // matrix
#include "pgminc/ProgramError.h"   // ProgramError, ProgramWarning

namespace gpcvc {
constexpr double MmPerM = 1000.0;       // the file gives millimetres
constexpr float EndTol = 0.001f;        // a zenith or azimuth this close to a grid end is at it (deg)
constexpr double FullCircle = 360.0;    // degrees
constexpr int ValueWidth = 8;           // width of one grid value (F8.2)
constexpr int FirstValueCol = 9;        // grid values start after the 8-column row head
constexpr long MaxGridCells = 1000000;  // azimuth rows x zenith nodes accepted in one section
// NORTH / EAST / UP: three F10.2 fields in columns 1-30 (millimetres).
constexpr atxfmt::Field NEUFields[3] = {{1, 10}, {11, 10}, {21, 10}};
// START OF FREQUENCY and END OF FREQUENCY: the frequency code (3X, A1, I2).
constexpr atxfmt::Field CodeField{4, 3};

// Zenith nodes of a grid: (ZEN2 - ZEN1) / DZEN rounded (single precision, halves
// away from zero) + 1; 0 when the step gives no finite grid of accepted size.
inline long ZenNodes(const gpcvAziZen& g) {
  if (!(g.dZen > 0.0f)) return 0;
  float q = (g.Zen2 - g.Zen1) / g.dZen;
  if (!(q >= 0.0f && q < static_cast<float>(MaxGridCells))) return 0;
  return static_cast<long>(std::round(q)) + 1;
}

// Azimuth rows of a grid: 360 / DAZI rounded (double precision) + 1, so DAZI 5
// gives 73 rows (0 to 360); -1 for a DAZI of 0; beyond the accepted size the
// count is held just above MaxGridCells.
inline long AziRows(const gpcvAziZen& g) {
  if (!(std::fabs(g.dAzi) > 0.0001)) return -1;
  double q = FullCircle / g.dAzi;
  if (q > MaxGridCells) q = MaxGridCells;
  if (q < -MaxGridCells) q = -MaxGridCells;
  return static_cast<long>(std::round(q)) + 1;
}
}  // namespace gpcvc

// One frequency section: offset and variations of one carrier.
class gpcvFreqData {
 private:
  bool bIsSet;
  char pcvLine[64];
  long nAzi;  // azimuth rows; not positive without azimuth dependence (-1 for DAZI 0)
  long nZen;  // zenith nodes
  long iZ0, iZ1, iZ2, iZ3;  // zenith nodes of the last interpolation; -1 = none
  long iA1, iA2;            // azimuth rows of the last interpolation
  bool isBelow, isAbove;    // zenith at the lower or upper grid end
  float aThres;             // end tolerance (deg)
  matrix<double> xi, yi;    // interpolation nodes and values (4 x 1)

 public:
  char sFlag[4];          // frequency code, such as G01
  neu dNEU;               // offset north, east, up (m)
  matrix<double> pvZEN;   // NOAZI variations, nZen x 1 (m)
  matrix<double> pvAZI;   // variations nAzi x nZen: row r azimuth r*DAZI, column k zenith ZEN1+k*DZEN (m)
  bool isAZI;             // pvAZI was read
  short PrintType;        // 0 ANTEX layout

  gpcvFreqData()
      : bIsSet(false), nAzi(0), nZen(0), iZ0(-1), iZ1(-1), iZ2(-1), iZ3(-1), iA1(-1), iA2(-1),
        isBelow(false), isAbove(false), aThres(gpcvc::EndTol), isAZI(false), PrintType(0) {
    strcpy(pcvLine, "END OF FREQUENCY");
    sFlag[0] = 0;
    xi.Resize(4, 1, 0.0);
    yi.Resize(4, 1, 0.0);
  }

  // Copies the section; the interpolation work state stays this object's own.
  gpcvFreqData& operator=(const gpcvFreqData& f) {
    if (this == &f) return *this;
    bIsSet = f.bIsSet;
    strcpy(pcvLine, f.pcvLine);
    strcpy(sFlag, f.sFlag);
    dNEU = f.dNEU;
    pvZEN = f.pvZEN;
    pvAZI = f.pvAZI;
    isAZI = f.isAZI;
    PrintType = f.PrintType;
    nAzi = f.nAzi;
    nZen = f.nZen;
    return *this;
  }

  // Reads one section from behind its START OF FREQUENCY line up to its
  // END OF FREQUENCY line: nZ zenith nodes, nA azimuth rows (none when nA <= 0).
  // antenna names the block in messages (gpcvTypeSerial::Name); may be empty.
  void Set(const char* fCodeIn, std::istream& atxI, long nZ, long nA, const char* antenna = "") {
    static const char* const place = "Function:   gpcvFreqData::Set()";
    nAzi = nA;
    nZen = nZ;
    strncpy(sFlag, fCodeIn, 3);
    sFlag[3] = 0;
    pvZEN.Resize(nZ, 1, 0.0);
    isAZI = false;
    if (nA > 0) {
      isAZI = true;
      pvAZI.Resize(nA, nZ, 0.0);
    }
    char line[atxfmt::LineSize];
    while (true) {
      if (!atxfmt::GetLine(atxI, line, place)) UnexpectedEnd();
      if (atxfmt::Has(line, pcvLine)) break;
      if (atxfmt::Has(line, "END OF ANTENNA") || atxfmt::Has(line, "START OF ANTENNA") ||
          atxfmt::Has(line, "START OF FREQUENCY"))
        ProgramError(place,
                     "GNSS ANTENNA CALIBRATION (ANTEX) file - frequency section without its "
                     "END OF FREQUENCY line!",
                     false);
      if (!atxfmt::Has(line, "NORTH / EAST / UP")) continue;  // COMMENT and other lines
      double mm[3];
      for (int i = 0; i < 3; i++)
        if (!atxfmt::Decimal(line, gpcvc::NEUFields[i], mm[i]))
          NotANumber(antenna, line, gpcvc::NEUFields[i], false);
      dNEU.Set(mm[0] / gpcvc::MmPerM, mm[1] / gpcvc::MmPerM, mm[2] / gpcvc::MmPerM);
      if (!atxfmt::GetLine(atxI, line, place)) UnexpectedEnd();
      ReadRow(line, -1, antenna);
      for (long r = 0; isAZI && r < nAzi; r++) {
        if (!atxfmt::GetLine(atxI, line, place)) UnexpectedEnd();
        ReadRow(line, r, antenna);
      }
    }
    char code[8];
    atxfmt::Cut(line, gpcvc::CodeField, code);
    if (strstr(sFlag, code) == nullptr)
      ProgramError(place,
                   "Frequency codes of GNSS ANTENNA CALIBRATION (ANTEX) file - between "
                   "start/end of frequency section - DO NOT MATCH!",
                   false);
    bIsSet = true;
  }

  // Phase-centre variation (m) at zenith zen and azimuth azm (deg) on the grid
  // pAZ of the same antenna block; NaN for a zenith or azimuth that is no
  // number, and for a grid that no longer matches the section's sizes.
  double GetPhCVariation(float zen, float azm, gpcvAziZen& pAZ) {
    isBelow = false;
    isAbove = false;
    if (!std::isfinite(zen) || !std::isfinite(azm)) return std::numeric_limits<double>::quiet_NaN();
    if (gpcvc::ZenNodes(pAZ) != nZen || (isAZI && gpcvc::AziRows(pAZ) != nAzi))
      return std::numeric_limits<double>::quiet_NaN();
    if (isAZI) return GetPhCVariation_AZ(zen, azm, pAZ);
    return GetPhCVariation_Z(zen, azm, pAZ);
  }

  // Writes the section in ANTEX form (the caller sets the fixed-point flag).
  friend std::ostream& operator<<(std::ostream& os, gpcvFreqData& f) {
    if (!f.bIsSet || f.PrintType != 0) return os;
    f.WriteCodeLine(os, "START OF FREQUENCY");
    os << std::setprecision(2) << std::setw(10) << f.dNEU.GetN() * gpcvc::MmPerM << std::setw(10)
       << f.dNEU.GetE() * gpcvc::MmPerM << std::setw(10) << f.dNEU.GetU() * gpcvc::MmPerM;
    atxfmt::Blanks(os, 30);
    os << "NORTH / EAST / UP" << std::endl;
    os << "   NOAZI";
    for (long k = 0; k < f.nZen; k++)
      os << std::setw(8) << std::setprecision(2) << f.pvZEN(k) * gpcvc::MmPerM;
    os << std::endl;
    if (f.isAZI) {
      double azm = 0.0;
      const double dA = gpcvc::FullCircle / (f.nAzi - 1);
      for (long r = 0; r < f.nAzi; r++) {
        os << std::setw(8) << std::setprecision(1) << azm;
        for (long k = 0; k < f.nZen; k++)
          os << std::setw(8) << std::setprecision(2) << f.pvAZI(r, k) * gpcvc::MmPerM;
        os << std::endl;
        azm += dA;
      }
    }
    f.WriteCodeLine(os, "END OF FREQUENCY");
    return os;
  }

 private:
  // A START OF FREQUENCY or END OF FREQUENCY line: the code in its columns, the label
  // from the label column.
  void WriteCodeLine(std::ostream& os, const char* label) const {
    atxfmt::Blanks(os, gpcvc::CodeField.col - 1);
    os << sFlag;
    atxfmt::Blanks(os, atxfmt::LabelColumn - gpcvc::CodeField.col - gpcvc::CodeField.width);
    os << label << std::endl;
  }

  [[noreturn]] static void UnexpectedEnd() {
    ProgramError("Function:   gpcvFreqData::Set()",
                 "Unexpected end of GNSS ANTENNA CALIBRATION (ANTEX) file - between start/end of "
                 "frequency section!",
                 false);
  }

  // Ends the run on value field f of line (a NORTH / EAST / UP line, or a grid
  // row when isRow) that holds no finite decimal number, naming the frequency,
  // the antenna (when given), the row head, the columns and the field's text.
  [[noreturn]] void NotANumber(const char* antenna, const char* line, atxfmt::Field f,
                               bool isRow) const {
    char text[atxfmt::LineSize];
    atxfmt::Cut(line, f, text);
    trim(text);
    const char* of = antenna[0] != 0 ? " of " : "";
    const int last = f.col + f.width - 1;
    char msg[320];
    if (isRow)
      snprintf(msg, sizeof msg,
               "Frequency %s%s%s: grid row >%.8s< columns %d-%d >%.40s< NOT A FINITE DECIMAL "
               "NUMBER!",
               sFlag, of, antenna, line, f.col, last, text);
    else
      snprintf(msg, sizeof msg,
               "Frequency %s%s%s: NORTH / EAST / UP columns %d-%d >%.40s< NOT A FINITE DECIMAL "
               "NUMBER!",
               sFlag, of, antenna, f.col, last, text);
    ProgramError("Function:   gpcvFreqData::Set()", msg, false);
  }

  // One grid row (NOAZI for row -1, else azimuth row r): nZen values of 8
  // columns from column 9, millimetres. A row with fewer values is refused, and
  // so is a value that is no finite decimal number.
  void ReadRow(const char* line, long r, const char* antenna) {
    for (long k = 0; k < nZen; k++) {
      const atxfmt::Field f{static_cast<int>(gpcvc::FirstValueCol + gpcvc::ValueWidth * k),
                            gpcvc::ValueWidth};
      double v = 0;
      if (!atxfmt::Decimal(line, f, v)) {
        char field[16];
        atxfmt::Cut(line, f, field);
        trim(field);
        if (field[0] != 0) NotANumber(antenna, line, f, true);
        char msg[200];
        snprintf(msg, sizeof msg,
                 "Frequency %s: grid row >%.8s< holds %ld values, fewer than the %ld zenith nodes!",
                 sFlag, line, k, nZen);
        ProgramError("Function:   gpcvFreqData::Set()", msg, false);
      }
      v /= gpcvc::MmPerM;
      if (r < 0)
        pvZEN(k) = v;
      else
        pvAZI(r, k) = v;
    }
  }

  // Zenith nodes around zen (see GetPhCVariation).
  void SetIndexZen(float zen, gpcvAziZen& pAZ) {
    iZ0 = iZ1 = iZ2 = iZ3 = -1;
    if (pAZ.Zen1 + aThres > zen) {
      isBelow = true;
    } else if (zen > pAZ.Zen2 - aThres) {
      isAbove = true;
    } else {
      long k = static_cast<long>((zen - pAZ.Zen1) / pAZ.dZen);
      iZ0 = k - 1;
      iZ1 = k;
      iZ2 = k + 1;
      iZ3 = k + 2;
      if (k == nZen - 2) iZ3 = -1;
    }
  }

  // Azimuth rows on both sides of azm.
  void SetIndexAzm(float azm, gpcvAziZen& pAZ) {
    iA1 = iA2 = -1;
    if (aThres > azm) {
      iA1 = 0;
      iA2 = 1;
    } else if (azm > gpcvc::FullCircle - aThres) {
      iA1 = nAzi - 2;
      iA2 = nAzi - 1;
    } else {
      iA1 = static_cast<long>(azm / pAZ.dAzi);
      iA2 = iA1 + 1;
    }
  }

  // Value of grid row r (-1 = NOAZI) at zenith node i.
  double RowValue(long r, long i) { return r < 0 ? pvZEN(i) : pvAZI(r, i); }

  // Lagrange interpolation in zenith of one grid row, with the nodes set by
  // SetIndexZen: linear beyond the grid ends, cubic with the point in the middle
  // interval, quadratic in the first and last interval.
  double InterpolateZen(float zen, gpcvAziZen& pAZ, long r) {
    if (nZen == 1) return RowValue(r, 0);  // a one-node grid is constant
    long n = 0;
    if (isBelow || isAbove) {
      long i0 = isBelow ? 0 : nZen - 2;
      xi(0) = isBelow ? pAZ.Zen1 : pAZ.Zen2 - pAZ.dZen;
      xi(1) = isBelow ? pAZ.Zen1 + pAZ.dZen : pAZ.Zen2;
      yi(0) = RowValue(r, i0);
      yi(1) = RowValue(r, i0 + 1);
      n = 2;
    } else {
      long nodes[4];
      if (iZ0 == -1 && iZ3 == -1) {  // two-node grid: its only interval is first and last
        nodes[0] = iZ1;
        nodes[1] = iZ2;
        n = 2;
      } else if (iZ0 == -1) {
        nodes[0] = iZ1;
        nodes[1] = iZ2;
        nodes[2] = iZ3;
        n = 3;
      } else if (iZ3 != -1) {
        nodes[0] = iZ0;
        nodes[1] = iZ1;
        nodes[2] = iZ2;
        nodes[3] = iZ3;
        n = 4;
      } else {
        nodes[0] = iZ0;
        nodes[1] = iZ1;
        nodes[2] = iZ2;
        n = 3;
      }
      for (long j = 0; j < n; j++) {
        xi(j) = pAZ.dZen * static_cast<float>(nodes[j]) + pAZ.Zen1;
        yi(j) = RowValue(r, nodes[j]);
      }
    }
    return LagrangePolynomial(xi, yi, zen, n);
  }

  double GetPhCVariation_Z(float zen, float /*azm*/, gpcvAziZen& pAZ) {
    SetIndexZen(zen, pAZ);
    return InterpolateZen(zen, pAZ, -1);
  }

  // Zenith interpolation on the two azimuth rows around azm, then the straight
  // line between them in azimuth.
  double GetPhCVariation_AZ(float zen, float azm, gpcvAziZen& pAZ) {
    SetIndexZen(zen, pAZ);
    SetIndexAzm(azm, pAZ);
    double p1 = InterpolateZen(zen, pAZ, iA1);
    double p2 = InterpolateZen(zen, pAZ, iA2);
    xi(0) = pAZ.dAzi * static_cast<float>(iA1);
    xi(1) = pAZ.dAzi * static_cast<float>(iA2);
    yi(0) = p1;
    yi(1) = p2;
    return LagrangePolynomial(xi, yi, azm, 2);
  }
};

// The frequency sections of one antenna block, one member per known code.
class gpcvData {
 private:
  bool bIsSet;
  char pcvLine[64];

 public:
  gpcvFreqData G1, G2, G5, R1, R2, R3, R4, R6, E1, E5, E6, E7, E8, C1, C2, C5, C6, C7, C8, J1, J2,
      J5, J6, I1, I5, I9, S1, S5;
  bool isG1, isG2, isG5, isR1, isR2, isR3, isR4, isR6, isE1, isE5, isE6, isE7, isE8, isC1, isC2,
      isC5, isC6, isC7, isC8, isJ1, isJ2, isJ5, isJ6, isI1, isI5, isI9, isS1, isS5;
  short PrintType;

  // The known frequency codes with their section and presence flag, in member order.
  struct Section {
    const char* code;
    gpcvFreqData gpcvData::*data;
    bool gpcvData::*flag;
  };
  static constexpr int NSections = 28;
  static const Section* Sections() {
    static const Section table[NSections] = {
        {"G01", &gpcvData::G1, &gpcvData::isG1}, {"G02", &gpcvData::G2, &gpcvData::isG2},
        {"G05", &gpcvData::G5, &gpcvData::isG5}, {"R01", &gpcvData::R1, &gpcvData::isR1},
        {"R02", &gpcvData::R2, &gpcvData::isR2}, {"R03", &gpcvData::R3, &gpcvData::isR3},
        {"R04", &gpcvData::R4, &gpcvData::isR4}, {"R06", &gpcvData::R6, &gpcvData::isR6},
        {"E01", &gpcvData::E1, &gpcvData::isE1}, {"E05", &gpcvData::E5, &gpcvData::isE5},
        {"E06", &gpcvData::E6, &gpcvData::isE6}, {"E07", &gpcvData::E7, &gpcvData::isE7},
        {"E08", &gpcvData::E8, &gpcvData::isE8}, {"C01", &gpcvData::C1, &gpcvData::isC1},
        {"C02", &gpcvData::C2, &gpcvData::isC2}, {"C05", &gpcvData::C5, &gpcvData::isC5},
        {"C06", &gpcvData::C6, &gpcvData::isC6}, {"C07", &gpcvData::C7, &gpcvData::isC7},
        {"C08", &gpcvData::C8, &gpcvData::isC8}, {"J01", &gpcvData::J1, &gpcvData::isJ1},
        {"J02", &gpcvData::J2, &gpcvData::isJ2}, {"J05", &gpcvData::J5, &gpcvData::isJ5},
        {"J06", &gpcvData::J6, &gpcvData::isJ6}, {"I01", &gpcvData::I1, &gpcvData::isI1},
        {"I05", &gpcvData::I5, &gpcvData::isI5}, {"I09", &gpcvData::I9, &gpcvData::isI9},
        {"S01", &gpcvData::S1, &gpcvData::isS1}, {"S05", &gpcvData::S5, &gpcvData::isS5}};
    return table;
  }

  gpcvData() : bIsSet(false), PrintType(0) {
    strcpy(pcvLine, "START OF FREQUENCY");
    for (int s = 0; s < NSections; s++) this->*(Sections()[s].flag) = false;
  }

  // Reads the section that starts with line (its START OF FREQUENCY line) into
  // the member of its code, with the grid sizes of dAZ. An unknown code is
  // warned about and its lines are left to the caller, which skips them.
  // antenna names the block in messages (gpcvTypeSerial::Name); may be empty.
  void Set(const char* line, std::istream& atxI, gpcvAziZen& dAZ, const char* antenna = "") {
    static const char* const place = "Function:   gpcvData::Set(char*)";
    atxfmt::RequireLabel(line, pcvLine, place);
    char code[8];
    atxfmt::Cut(line, gpcvc::CodeField, code);
    // Without a ZEN1 / ZEN2 / DZEN line before it the section has no zenith grid.
    if (!dAZ.IsSetZen() || !(dAZ.dZen > 0.0f))
      ProgramError(place,
                   "Frequency section before ZEN1 / ZEN2 / DZEN line: no zenith grid in GNSS "
                   "ANTENNA CALIBRATION (ANTEX) file!",
                   false);
    const long nAzi = gpcvc::AziRows(dAZ);
    const long nZen = gpcvc::ZenNodes(dAZ);
    if (nZen == 0 || nZen * (nAzi > 0 ? nAzi : 1) > gpcvc::MaxGridCells) {
      char msg[160];
      snprintf(msg, sizeof msg, "Frequency %s: grid of DAZI / ZEN1 / ZEN2 / DZEN too large!", code);
      ProgramError(place, msg, false);
    }
    for (int s = 0; s < NSections; s++) {
      const Section& sec = Sections()[s];
      if (strstr(code, sec.code) == nullptr) continue;
      (this->*(sec.data)).Set(code, atxI, nZen, nAzi, antenna);
      this->*(sec.flag) = true;
      bIsSet = true;
      return;
    }
    char msg[128];
    snprintf(msg, sizeof msg, "Frequency code >%s< UNDEFINED!", code);
    ProgramWarning(place, msg);
    bIsSet = true;
  }

  // Writes every present section in member order.
  friend std::ostream& operator<<(std::ostream& os, gpcvData& d) {
    if (!d.bIsSet) return os;
    for (int s = 0; s < NSections; s++)
      if (d.*(Sections()[s].flag)) os << d.*(Sections()[s].data);
    return os;
  }
};
