// ANTEX line records: one class per kind of header or antenna-block line, each
// parsing its fixed columns in Set(line) and printing in layout 0 (the ANTEX line,
// label from column 61) or 1 (a labelled summary line); plus the antenna counts.
// Angles in degrees, epochs as mjd. References: [1] ANTEX: The Antenna Exchange
// Format, Version 1.4 (R. Schmid, IGS, 2010), section "Format definition".
#pragma once

#include <cmath>     // fabs, floor, isfinite
#include <cstdio>    // snprintf
#include <cstdlib>   // strtod, strtol
#include <cstring>   // strlen, strstr, strcpy
#include <iomanip>   // setw, setprecision, setfill
#include <istream>   // istream
#include <ostream>   // ostream

#include "functions/cstrings.h"   // substr, trim, sreplace, GetFileLine, DecimalField
#include "gdata/GNSSsys.h"        // gnss::Member, gnss::HeaderText
#include "gdata/mjd.h"            // mjd
#include "gdata/rSat.h"           // rSat
#include "gdata/timeconv.h"       // ymdhms2mjd, mjd2ymdhms
#include "gdata/ymdhms.h"         // ymdhms, ymdhmsns
#include "pgminc/ProgramError.h"  // ProgramError

// Reading helpers shared by the ANTEX records, frequency sections and reader.
namespace atxfmt {
constexpr int LineSize = 511;    // room of one line: at most 510 characters and the NUL
constexpr int LabelColumn = 61;  // labels start here in written lines
constexpr int TextSize = 32;     // room of the 20-character text fields

// One fixed-column field of a record line: first column (1-based) and width.
struct Field {
  int col;
  int width;
};

// Cuts a field out of a line (fewer characters when the line is shorter).
inline void Cut(const char* line, Field f, char* out) { substr(line, f.col - 1, f.width, out); }

// Number read from column col on (0 when the line ends before it or holds no number).
inline double Num(const char* line, int col) {
  if (static_cast<int>(strlen(line)) < col) return 0.0;
  return strtod(line + col - 1, nullptr);
}

// Field f of line as a number: true when it holds one finite decimal number with
// nothing but blanks around it (DecimalField); false for a blank field, "nan",
// "inf", hexadecimal or any other text, and for a number beyond the range of
// double. The value is taken by strtod in double precision, as atof takes it.
inline bool Decimal(const char* line, Field f, double& v) {
  char text[LineSize];
  Cut(line, f, text);
  long double check = 0;
  if (!DecimalField(text, check)) return false;
  const double d = strtod(text, nullptr);
  if (!std::isfinite(d)) return false;
  v = d;
  return true;
}

// Whole number read from column col on, held within the range of int.
inline int Int(const char* line, int col) {
  if (static_cast<int>(strlen(line)) < col) return 0;
  long v = strtol(line + col - 1, nullptr, 10);
  if (v > 2147483647L) v = 2147483647L;
  if (v < -2147483647L) v = -2147483647L;
  return static_cast<int>(v);
}

inline bool Has(const char* line, const char* label) { return strstr(line, label) != nullptr; }

// Ends the run when a line lacks the label of the record it is given to.
inline void RequireLabel(const char* line, const char* label, const char* place) {
  if (Has(line, label)) return;
  char msg[128];
  snprintf(msg, sizeof msg, "Input STRING not a >%s<!", label);
  ProgramError(place, msg, false);
}

// Reads one line of an ANTEX file; false at end of file. A line longer than 510
// characters is refused: cut, it would be read as another record.
inline bool GetLine(std::istream& in, char* buf, const char* place) {
  bool isLong = false;
  bool ok = GetFileLine(in, buf, LineSize, &isLong);
  if (isLong) {
    char msg[160];
    snprintf(msg, sizeof msg,
             "GNSS ANTENNA CALIBRATION (ANTEX) file line longer than %d characters: >%.40s<!",
             LineSize - 1, buf);
    ProgramError(place, msg, false);
  }
  return ok;
}

// Writes n blanks.
inline void Blanks(std::ostream& os, int n) {
  for (int i = 0; i < n; i++) os << ' ';
}

// Writes text left-justified in width columns (longer text is written whole).
inline void Left(std::ostream& os, const char* text, int width) {
  os << text;
  Blanks(os, width - static_cast<int>(strlen(text)));
}

}  // namespace atxfmt

// ANTEX VERSION / SYST: format version and satellite system of the file.
class atxVersionSystem {
 public:
  short Version;    // 0, 1, 2, 3 for versions 1.1, 1.2, 1.3, 1.4
  char SatSystem;   // system letter of column 21
  short PrintType;  // 0 ANTEX line, 1 summary line

  atxVersionSystem() : Version(0), SatSystem(0), PrintType(0), bIsSet(false) {
    strcpy(pcvLine, "ANTEX VERSION / SYST");
  }

  void Set(const char* line) {
    static const char* const versions[4] = {"     1.1", "     1.2", "     1.3", "     1.4"};
    atxfmt::RequireLabel(line, pcvLine, "Function:   atxVersionSystem::Set(char*)");
    char text[atxfmt::TextSize];
    atxfmt::Cut(line, fVersion, text);
    SatSystem = static_cast<int>(strlen(line)) >= fSystem.col ? line[fSystem.col - 1] : 0;
    for (short v = 0; v < 4; v++)
      if (strstr(text, versions[v]) != nullptr) {
        Version = v;
        bIsSet = true;
        return;
      }
    char msg[128];
    snprintf(msg, sizeof msg, "ANTEX VERSION: %s - not 1.[1|2|3|4] version!", text);
    ProgramError("Function:   atxVersionSystem::Set(char*)", msg, false);
  }

  friend std::ostream& operator<<(std::ostream& os, atxVersionSystem& a) {
    static const char* const vLine[4] = {"     1.1", "     1.2", "     1.3", "     1.4"};
    static const char* const vSumm[4] = {" 1.1", " 1.2", " 1.3", " 1.4"};
    if (!a.bIsSet) return os;
    const char* sys = gnss::HeaderText(a.SatSystem);
    if (a.PrintType == 0) {
      os << vLine[a.Version];
      atxfmt::Blanks(os, 12);
      if (sys != nullptr) atxfmt::Left(os, sys, 40);
      os << a.pcvLine << std::endl;
    } else if (a.PrintType == 1) {
      os << "  Version/System: " << vSumm[a.Version] << " / ";
      if (sys != nullptr) atxfmt::Left(os, sys, 20);
      os << std::endl;
    }
    return os;
  }

 private:
  static constexpr atxfmt::Field fVersion{1, 9};
  static constexpr atxfmt::Field fSystem{21, 1};
  bool bIsSet;
  char pcvLine[64];
};

// PCV TYPE / REFANT: absolute or relative values and the reference antenna.
class atxTypeRefAnt {
 public:
  short Version;                          // carried by assignment only
  char Type;                              // A absolute, R relative
  char RefAnt[atxfmt::TextSize];          // reference antenna type, columns 21-40
  char RefAntSerial[atxfmt::TextSize];    // its serial number, columns 41-60
  short PrintType;

  atxTypeRefAnt() : Version(0), Type(0), PrintType(0), bIsSet(false) {
    RefAnt[0] = 0;
    RefAntSerial[0] = 0;
    strcpy(pcvLine, "PCV TYPE / REFANT");
  }

  void Set(const char* line) {
    atxfmt::RequireLabel(line, pcvLine, "Function:   atxTypeRefAnt::Set(char*)");
    Type = line[0];
    atxfmt::Cut(line, fRefAnt, RefAnt);
    atxfmt::Cut(line, fRefSerial, RefAntSerial);
    bIsSet = true;
  }

  friend std::ostream& operator<<(std::ostream& os, atxTypeRefAnt& a) {
    if (!a.bIsSet) return os;
    if (a.PrintType == 0) {
      os << a.Type;
      atxfmt::Blanks(os, 19);
      atxfmt::Left(os, a.RefAnt, 20);
      atxfmt::Left(os, a.RefAntSerial, 20);
      os << a.pcvLine << std::endl;
    } else if (a.PrintType == 1) {
      os << "  Type/Ref.Antenna/Serial: " << a.Type << " / " << a.RefAnt << " / "
         << a.RefAntSerial << std::endl;
    }
    return os;
  }

 private:
  static constexpr atxfmt::Field fRefAnt{21, 20};
  static constexpr atxfmt::Field fRefSerial{41, 20};
  bool bIsSet;
  char pcvLine[64];
};

// Counts of the antenna blocks of a file, by kind.
class atxDataSum {
 public:
  int nAntennae;                                    // antenna blocks
  int nGPS, nGLN, nGAL, nBDS, nQZS, nSBS, nIRN;     // satellite antennas per system
  int nREC;                                         // receiver antennas

  atxDataSum()
      : nAntennae(0), nGPS(0), nGLN(0), nGAL(0), nBDS(0), nQZS(0), nSBS(0), nIRN(0), nREC(0) {}

  // The satellite-antenna count of a system by its letter; null for any other letter.
  int* Count(char sys) { return gnss::Member(*this, sys, kCounts); }

  // The summary block: total, each non-zero count, an empty line. The systems
  // stand in the order of the summary, QZSS before SBAS.
  friend std::ostream& operator<<(std::ostream& os, atxDataSum& s) {
    static const struct {
      char sys;
      const char* label;
    } rows[gnss::NSYS] = {{'G', "   GPS     : "}, {'R', "   GLONASS : "}, {'E', "   Galileo : "},
                          {'C', "   BeiDou  : "}, {'J', "   QZSS    : "}, {'S', "   SBAS    : "},
                          {'I', "   IRNSS   : "}};
    os << "  #GNSS Antennae: " << std::setw(6) << s.nAntennae << std::endl;
    for (const auto& r : rows) s.Row(os, r.label, *s.Count(r.sys));
    s.Row(os, "   Receiver: ", s.nREC);
    os << std::endl;
    return os;
  }

 private:
  static void Row(std::ostream& os, const char* label, int count) {
    if (count != 0) os << label << std::setw(11) << count << std::endl;
  }

  static constexpr gnss::LetterMember<atxDataSum, int> kCounts[] = {
      {'G', &atxDataSum::nGPS}, {'R', &atxDataSum::nGLN}, {'E', &atxDataSum::nGAL}, {'C', &atxDataSum::nBDS},
      {'S', &atxDataSum::nSBS}, {'J', &atxDataSum::nQZS}, {'I', &atxDataSum::nIRN}};
  static_assert(gnss::OnceEach(kCounts), "a letter of no system or twice");
};

// TYPE / SERIAL NO: antenna type and serial number, or satellite code for a
// satellite antenna (recognised by a type word in columns 1-20).
class gpcvTypeSerial {
 public:
  char Type[atxfmt::TextSize];       // columns 1-20 as cut
  char Serial[atxfmt::TextSize];     // receiver: columns 21-40, trimmed
  rSat satID;                        // satellite: code of columns 21-23
  char satOption[atxfmt::TextSize];  // satellite: columns 41-60 (SVN, COSPAR ID)
  short PrintType;
  short PCVType;                     // 1 satellite, 0 receiver, -1 not read
  // Columns of the type, which also tell a satellite antenna (read by the counting pass too).
  static constexpr atxfmt::Field fType{1, 20};

  gpcvTypeSerial() : PrintType(0), PCVType(-1), bIsSet(false) {
    Type[0] = 0;
    Serial[0] = 0;
    satOption[0] = 0;
    satID = "G01";
    strcpy(pcvLine, "TYPE / SERIAL NO");
  }
  // Copies every member but the satellite code, which only the copy of a satellite
  // antenna takes: a receiver's copy leaves the code this record holds.
  gpcvTypeSerial& operator=(const gpcvTypeSerial& a) {
    if (this == &a) return *this;
    bIsSet = a.bIsSet;
    strcpy(pcvLine, a.pcvLine);
    strcpy(Type, a.Type);
    strcpy(Serial, a.Serial);
    if (a.PCVType == 1) satID = a.satID;
    strcpy(satOption, a.satOption);
    PrintType = a.PrintType;
    PCVType = a.PCVType;
    return *this;
  }

  // The type words of satellite antennas, each with the system whose count it
  // adds to; the first word found in the 20 type characters decides. No word
  // names SBAS.
  struct SatType {
    const char* word;
    char sys;
  };
  static const SatType* SatelliteType(const char* type) {
    static const SatType words[6] = {{"BLOCK", 'G'},  {"GLONASS", 'R'}, {"GALILEO", 'E'},
                                     {"BEIDOU", 'C'}, {"QZSS", 'J'},    {"IRNSS", 'I'}};
    for (const SatType& w : words)
      if (strstr(type, w.word) != nullptr) return &w;
    return nullptr;
  }
  static bool IsSatelliteType(const char* type) { return SatelliteType(type) != nullptr; }

  void Set(const char* line) {
    atxfmt::RequireLabel(line, pcvLine, "Function:   gpcvTypeSerial::Set(char*)");
    atxfmt::Cut(line, fType, Type);
    if (IsSatelliteType(Type)) {
      char code[atxfmt::TextSize];
      atxfmt::Cut(line, fSat, code);
      if (!IsSatelliteCode(code)) {
        char msg[128];
        snprintf(msg, sizeof msg, "Satellite code >%s< of TYPE / SERIAL NO line UNDEFINED!", code);
        ProgramError("Function:   gpcvTypeSerial::Set(char*)", msg, false);
      }
      satID = code;
      atxfmt::Cut(line, fOption, satOption);
      PCVType = 1;
    } else {
      atxfmt::Cut(line, fSerial, Serial);
      trim(Serial);
      PCVType = 0;
    }
    bIsSet = true;
  }

  // The antenna as messages name it: "satellite G01 >G063      2011-036A<" (code
  // and columns 41-60 trimmed), "antenna >type< >serial<" (the 20 type characters
  // as they stand; no serial when it is blank), "" before the line was read.
  void Name(char* out, size_t size) const {
    char text[atxfmt::TextSize];
    if (PCVType == 1) {
      strcpy(text, satOption);
      trim(text);
      snprintf(out, size, "satellite %c%02u >%s<", satID.GetISys(),
               static_cast<unsigned>(satID.GetSPrn()), text);
    } else if (PCVType == 0) {
      if (Serial[0] != 0)
        snprintf(out, size, "antenna >%s< >%s<", Type, Serial);
      else
        snprintf(out, size, "antenna >%s<", Type);
    } else if (size > 0) {
      out[0] = 0;
    }
  }

  friend std::ostream& operator<<(std::ostream& os, gpcvTypeSerial& a) {
    if (!a.bIsSet) return os;
    if (a.PrintType == 0) {
      atxfmt::Left(os, a.Type, 20);
      if (a.PCVType == 1) {
        WriteSat(os, a.satID);
        atxfmt::Blanks(os, 17);
        atxfmt::Left(os, a.satOption, 20);
      } else {
        atxfmt::Left(os, a.Serial, 20);
        atxfmt::Blanks(os, 20);
      }
      os << a.pcvLine << std::endl;
    } else if (a.PrintType == 1) {
      if (a.PCVType == 1) {
        os << "  Type/Sat.code/Opt.data: " << a.Type << " / ";
        WriteSat(os, a.satID);
        os << " / " << a.satOption << std::endl;
      } else {
        os << "  Type/Serial: " << a.Type << " / " << a.Serial << std::endl << std::endl;
      }
    }
    return os;
  }

 private:
  static constexpr atxfmt::Field fSat{21, 3};
  static constexpr atxfmt::Field fSerial{21, 20};
  static constexpr atxfmt::Field fOption{41, 20};
  bool bIsSet;
  char pcvLine[64];

  // A satellite code of three characters whose number is written in digits (a
  // blank tens digit counts as 0); the letter and the range 1-99 are tested by
  // the satellite parser.
  static bool IsSatelliteCode(const char* c) { return strlen(c) == 3 && rSat::NumberDigits(c[1], c[2]); }

  // The satellite code as letter and two digits, whatever the rSat style setting.
  static void WriteSat(std::ostream& os, rSat& s) {
    os << s.GetISys() << std::setw(2) << std::setfill('0') << s.GetSPrn() << std::setfill(' ');
  }
};

// METH / BY / # / DATE: calibration method, agency, number of antennas, date.
class gpcvMethodBy {
 public:
  char Method[atxfmt::TextSize];  // columns 1-20
  char AgName[atxfmt::TextSize];  // columns 21-40
  int nAnts;                      // from column 41
  char Date[16];                  // columns 51-60
  short PrintType;

  gpcvMethodBy() : nAnts(0), PrintType(0), bIsSet(false) {
    Method[0] = 0;
    AgName[0] = 0;
    Date[0] = 0;
    strcpy(pcvLine, "METH / BY / # / DATE");
  }

  void Set(const char* line) {
    atxfmt::RequireLabel(line, pcvLine, "Function:   gpcvMethodBy::Set(char*)");
    atxfmt::Cut(line, fMethod, Method);
    atxfmt::Cut(line, fAgency, AgName);
    nAnts = atxfmt::Int(line, fNAnts.col);
    atxfmt::Cut(line, fDate, Date);
    bIsSet = true;
  }

  friend std::ostream& operator<<(std::ostream& os, gpcvMethodBy& a) {
    if (!a.bIsSet) return os;
    if (a.PrintType == 0) {
      atxfmt::Left(os, a.Method, 20);
      atxfmt::Left(os, a.AgName, 20);
      os << std::setw(6) << a.nAnts;
      atxfmt::Blanks(os, 4);
      atxfmt::Left(os, a.Date, 10);
      os << a.pcvLine << std::endl;
    } else if (a.PrintType == 1) {
      os << "  Method/Agency/Date/#Antennae: " << a.Method << " / " << a.AgName << " / "
         << a.Date << " / " << a.nAnts << std::endl
         << std::endl;
    }
    return os;
  }

 private:
  static constexpr atxfmt::Field fMethod{1, 20};
  static constexpr atxfmt::Field fAgency{21, 20};
  static constexpr atxfmt::Field fNAnts{41, 6};
  static constexpr atxfmt::Field fDate{51, 10};
  bool bIsSet;
  char pcvLine[64];
};

// # OF FREQUENCIES.
class gpcvNFreq {
 public:
  int nFrequency;
  short PrintType;

  gpcvNFreq() : nFrequency(0), PrintType(0), bIsSet(false) { strcpy(pcvLine, "# OF FREQUENCIES"); }

  void Set(const char* line) {
    atxfmt::RequireLabel(line, pcvLine, "Function:   gpcvNFreq::Set(char*)");
    nFrequency = atxfmt::Int(line, 1);
    bIsSet = true;
  }

  friend std::ostream& operator<<(std::ostream& os, gpcvNFreq& a) {
    if (!a.bIsSet) return os;
    if (a.PrintType == 0) {
      os << std::setw(6) << a.nFrequency;
      atxfmt::Blanks(os, 54);
      os << a.pcvLine << std::endl;
    } else if (a.PrintType == 1) {
      os << "  # Frequency: " << std::setw(6) << a.nFrequency << std::endl << std::endl;
    }
    return os;
  }

 private:
  bool bIsSet;
  char pcvLine[64];
};

// SINEX CODE: name of the calibration model.
class gpcvSinexC {
 public:
  char SinexCode[16];  // columns 1-10
  short PrintType;

  gpcvSinexC() : PrintType(0), bIsSet(false) {
    SinexCode[0] = 0;
    strcpy(pcvLine, "SINEX CODE");
  }

  void Set(const char* line) {
    atxfmt::RequireLabel(line, pcvLine, "Function:   gpcvSinexC::Set(char*)");
    atxfmt::Cut(line, fCode, SinexCode);
    bIsSet = true;
  }

  friend std::ostream& operator<<(std::ostream& os, gpcvSinexC& a) {
    if (!a.bIsSet) return os;
    if (a.PrintType == 0) {
      atxfmt::Left(os, a.SinexCode, 10);
      atxfmt::Blanks(os, 50);
      os << a.pcvLine << std::endl;
    } else if (a.PrintType == 1) {
      os << "  Sinex code " << a.SinexCode << std::endl << std::endl;
    }
    return os;
  }

 private:
  static constexpr atxfmt::Field fCode{1, 10};
  bool bIsSet;
  char pcvLine[64];
};

// DAZI and ZEN1 / ZEN2 / DZEN: the azimuth step and the zenith grid (degrees).
class gpcvAziZen {
 public:
  float Zen1, Zen2, dZen;  // first and last zenith node and the step
  float dAzi;              // azimuth step; 0 = no azimuth dependence
  short PrintType;

  gpcvAziZen()
      : Zen1(0), Zen2(0), dZen(0), dAzi(0), PrintType(0), bIsSetAzi(false), bIsSetZen(false) {}

  void Set(const char* line) {
    if (atxfmt::Has(line, "DAZI")) {
      dAzi = static_cast<float>(atxfmt::Num(line, 3));
      if (!std::isfinite(dAzi))
        ProgramError("Function:   gpcvAziZen::Set(char*)", "DAZI value is not a number!", false);
      if (std::fabs(dAzi) > 0.1) {
        double q = 360.0 / dAzi;
        if (std::fabs(q - std::floor(q)) > 0.0001)
          ProgramError("Function:   gpcvAziZen::Set(char*)",
                       "DAZI value is not devisible by 360 degrees!", false);
      }
      bIsSetAzi = true;
    } else if (atxfmt::Has(line, "ZEN1 / ZEN2 / DZEN")) {
      Zen1 = static_cast<float>(atxfmt::Num(line, 3));
      Zen2 = static_cast<float>(atxfmt::Num(line, 9));
      dZen = static_cast<float>(atxfmt::Num(line, 15));
      if (!std::isfinite(Zen1) || !std::isfinite(Zen2) || !std::isfinite(dZen))
        ProgramError("Function:   gpcvDZen::Set(char*)",
                     "ZEN1 / ZEN2 / DZEN values are not numbers!", false);
      if (Zen1 > Zen2)
        ProgramError("Function:   gpcvDZen::Set(char*)",
                     "ZEN1 value must be SMALLER than ZEN2 value!", false);
      // A step of 0 (or below) gives no finite zenith grid.
      if (!(dZen > 0.0f))
        ProgramError("Function:   gpcvDZen::Set(char*)", "DZEN value must be GREATER than 0!",
                     false);
      float q = (Zen2 - Zen1) / dZen;
      if (std::fabs(q - std::floor(q)) > 0.0001f)
        ProgramError("Function:   gpcvDZen::Set(char*)",
                     "DZEN value is not devisible by (ZEN2-ZEN1)!", false);
      bIsSetZen = true;
    } else {
      char msg[128];
      snprintf(msg, sizeof msg, "Input STRING not a %s!", ">DAZI< or >ZEN1 / ZEN2 / DZEN< line!");
      ProgramError("Function:   gpcvAziZen::Set(char*)", msg, false);
    }
  }
  bool IsSetZen() const { return bIsSetZen; }

  // One decimal in fixed notation: the writer and the summary set the fixed-point
  // flag on their stream.
  friend std::ostream& operator<<(std::ostream& os, gpcvAziZen& a) {
    if (!a.bIsSetAzi && !a.bIsSetZen) return os;
    os << std::setprecision(1);
    if (a.PrintType == 0) {
      if (a.bIsSetAzi) {
        os << "  " << std::setw(6) << a.dAzi;
        atxfmt::Blanks(os, 52);
        os << "DAZI" << std::endl;
      }
      if (a.bIsSetZen) {
        os << "  " << std::setw(6) << a.Zen1 << std::setw(6) << a.Zen2 << std::setw(6) << a.dZen;
        atxfmt::Blanks(os, 40);
        os << "ZEN1 / ZEN2 / DZEN" << std::endl;
      }
    } else if (a.PrintType == 1) {
      if (a.bIsSetAzi) os << "  d Azimuth: " << std::setw(6) << a.dAzi << std::endl << std::endl;
      if (a.bIsSetZen)
        os << "  Zenith 1 / Zenith 2 / d Zenith: " << std::setw(6) << a.Zen1 << std::setw(6)
           << a.Zen2 << std::setw(6) << a.dZen << std::endl
           << std::endl;
    }
    return os;
  }

 private:
  bool bIsSetAzi, bIsSetZen;
};

// VALID FROM and VALID UNTIL: the validity span of an antenna block; without
// the lines MJD 44250 to MJD 85000.
class gpcvValidFromTo {
 public:
  mjd eFrom, eUntil;
  short PrintType;

  gpcvValidFromTo()
      : eFrom(44250, 0), eUntil(85000, 0), PrintType(0), bIsSetFrom(false), bIsSetUntil(false) {}

  void Set(const char* line) {
    if (atxfmt::Has(line, "VALID FROM")) {
      eFrom = ReadEpoch(line);
      bIsSetFrom = true;
    } else if (atxfmt::Has(line, "VALID UNTIL")) {
      eUntil = ReadEpoch(line);
      bIsSetUntil = true;
    } else {
      char msg[128];
      snprintf(msg, sizeof msg, "Input STRING not a %s!", ">VALID FROM< or >VALID UNTIL< line!");
      ProgramError("Function:   gpcvValidFromTo::Set(char*)", msg, false);
    }
  }

  // True when eFrom <= e <= eUntil (both ends belong to the span).
  bool IsValid(mjd& e) { return eFrom <= e && e <= eUntil; }

  friend std::ostream& operator<<(std::ostream& os, gpcvValidFromTo& a) {
    if (a.PrintType == 0) {
      if (a.bIsSetFrom) WriteLine(os, a.eFrom, "VALID FROM");
      if (a.bIsSetUntil) WriteLine(os, a.eUntil, "VALID UNTIL");
    } else if (a.PrintType == 1) {
      if (a.bIsSetFrom) {
        ymdhms d = mjd2ymdhms(a.eFrom);
        os << "  Valid from: " << d << std::endl << std::endl;
      }
      if (a.bIsSetUntil) {
        ymdhms d = mjd2ymdhms(a.eUntil);
        os << "  Valid until: " << d << std::endl << std::endl;
      }
    }
    return os;
  }

 private:
  // Columns of year, month, day, hour, minute and second.
  static constexpr int cYear = 1, cMonth = 7, cDay = 13, cHour = 19, cMinute = 25, cSecond = 31;
  bool bIsSetFrom, bIsSetUntil;

  // A calendar field as the 16-bit value the setters test; a value outside 0-65535
  // becomes 65535, which every setter refuses (wrapped, it could pass as valid).
  static unsigned short Field16(const char* line, int col) {
    int v = atxfmt::Int(line, col);
    return (v < 0 || v > 65535) ? 65535 : static_cast<unsigned short>(v);
  }

  // Epoch of a VALID FROM / VALID UNTIL line; each setter ends the run on an invalid field.
  static mjd ReadEpoch(const char* line) {
    ymdhms d;
    d.SetYear(Field16(line, cYear));
    d.SetMonth(Field16(line, cMonth));
    d.SetDay(Field16(line, cDay));
    d.SetHour(Field16(line, cHour));
    d.SetMinute(Field16(line, cMinute));
    d.SetSecond(atxfmt::Num(line, cSecond));
    return ymdhms2mjd(d);
  }

  static void WriteLine(std::ostream& os, mjd& e, const char* label) {
    ymdhmsns::PrintType = ymdhmsns::RINEXHEADER;
    ymdhms d = mjd2ymdhms(e);
    os << d;
    atxfmt::Blanks(os, 17);
    os << label << std::endl;
  }
};
