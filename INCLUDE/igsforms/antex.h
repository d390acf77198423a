// ANTEX antenna-calibration file (versions 1.1 to 1.4): header records, one gAntPCV
// per antenna block, selection of the satellite antenna valid at an epoch, its
// phase-centre offset (north, east, up; m) and variation per frequency identifier
// of GNSSc; summary and writer. References: [1] ANTEX 1.4 (R. Schmid, IGS, 2010).
#pragma once

#include <cstdio>    // snprintf
#include <cstring>   // strcmp, strcpy, strlen, strstr
#include <fstream>   // ifstream, ofstream
#include <iostream>  // cout
#include <ostream>   // ostream

#include "functions/cstrings.h"   // FileExists, trim
#include "gdata/GNSSc.h"          // frequency identifiers
#include "gdata/GNSSsys.h"        // gnss::systems: ANTEX block key codes
#include "gdata/mjd.h"            // mjd
#include "gdata/myList.h"         // myList
#include "gdata/neu.h"            // neu
#include "gdata/rSat.h"           // rSat
#include "igsforms/atxRecords.h"  // header and block records, atxfmt
#include "igsforms/gpcvData.h"    // gpcvData, gpcvFreqData
#include "pgminc/ProgramError.h"  // ProgramError

// One antenna block, from START OF ANTENNA to END OF ANTENNA.
class gAntPCV {
 private:
  bool bIsSet;

 public:
  gpcvTypeSerial pcvTypeSer;
  gpcvMethodBy pcvMethBy;
  gpcvNFreq pcvNFreq;
  gpcvAziZen pcvAziZen;
  gpcvValidFromTo pcvFromTo;
  gpcvSinexC pcvSNXc;
  gpcvData pcvData;
  short PrintType;    // 0 ANTEX layout
  char aDataS[512];   // key text of the block, built when it has been read

  gAntPCV() : bIsSet(false), PrintType(0) { aDataS[0] = 0; }

  // Reads the block from the line after START OF ANTENNA up to END OF ANTENNA;
  // each line goes to every record whose label it contains.
  void ReadFile(std::istream& atxI) {
    static const char* const place = "Function:   gAntPCV::ReadFile()";
    char line[atxfmt::LineSize];
    line[0] = 0;
    while (!atxfmt::Has(line, "END OF ANTENNA")) {
      if (!atxfmt::GetLine(atxI, line, place))
        ProgramError(place,
                     "Unexpected end of GNSS ANTENNA CALIBRATION (ANTEX) file - within antenna "
                     "data section!",
                     false);
      // A new block inside this one would silently merge the two.
      if (atxfmt::Has(line, "START OF ANTENNA"))
        ProgramError(place,
                     "GNSS ANTENNA CALIBRATION (ANTEX) file - antenna data section without its "
                     "END OF ANTENNA line!",
                     false);
      if (atxfmt::Has(line, "TYPE / SERIAL NO")) pcvTypeSer.Set(line);
      if (atxfmt::Has(line, "METH / BY / # / DATE")) pcvMethBy.Set(line);
      if (atxfmt::Has(line, "DAZI")) pcvAziZen.Set(line);
      if (atxfmt::Has(line, "ZEN1 / ZEN2 / DZEN")) pcvAziZen.Set(line);
      if (atxfmt::Has(line, "# OF FREQUENCIES")) pcvNFreq.Set(line);
      if (atxfmt::Has(line, "VALID FROM")) pcvFromTo.Set(line);
      if (atxfmt::Has(line, "VALID UNTIL")) pcvFromTo.Set(line);
      if (atxfmt::Has(line, "SINEX CODE")) pcvSNXc.Set(line);
      if (atxfmt::Has(line, "START OF FREQUENCY")) {
        char name[2 * atxfmt::TextSize + 32];
        pcvTypeSer.Name(name, sizeof name);
        pcvData.Set(line, atxI, pcvAziZen, name);
      }
    }
    bIsSet = true;
    BuildKey();
  }

  // Writes the block in ANTEX form (no COMMENT lines, no RMS sections).
  friend std::ostream& operator<<(std::ostream& os, gAntPCV& a) {
    if (!a.bIsSet || a.PrintType != 0) return os;
    atxfmt::Blanks(os, atxfmt::LabelColumn - 1);
    os << "START OF ANTENNA" << std::endl;
    os << a.pcvTypeSer << a.pcvMethBy << a.pcvAziZen << a.pcvNFreq << a.pcvFromTo << a.pcvSNXc
       << a.pcvData;
    atxfmt::Blanks(os, atxfmt::LabelColumn - 1);
    os << "END OF ANTENNA" << std::endl;
    return os;
  }

 private:
  // Key text: satellite blocks by system code, number and validity span;
  // receiver blocks by type (radome NONE blanked), serial and validity span.
  void BuildKey() {
    const unsigned long d1 = pcvFromTo.eFrom.GetMJDay(), d2 = pcvFromTo.eUntil.GetMJDay();
    const long double s1 = pcvFromTo.eFrom.GetSecond(), s2 = pcvFromTo.eUntil.GetSecond();
    aDataS[0] = 0;
    if (pcvTypeSer.PCVType == 1) {
      const GNSSsys* sys = gnss::Of(pcvTypeSer.satID.GetISys());
      if (sys != nullptr)
        snprintf(aDataS, sizeof aDataS, "%03d%02d%8lu%12.1Lf%8lu%12.1Lf", sys->antexKey,
                 static_cast<int>(pcvTypeSer.satID.GetSPrn()), d1, s1, d2, s2);
    } else if (pcvTypeSer.PCVType == 0) {
      char type[atxfmt::TextSize], serial[atxfmt::TextSize];
      strcpy(type, pcvTypeSer.Type);
      char* none = strstr(type, "NONE");
      if (none != nullptr) memcpy(none, "    ", 4);
      strcpy(serial, pcvTypeSer.Serial);
      trim(serial);
      snprintf(aDataS, sizeof aDataS, "1%s%s%8lu%12.1Lf%8lu%12.1Lf", type, serial, d1, s1, d2, s2);
    }
  }
};

// The ANTEX file: header records, counts, and its antenna blocks in file order.
class antex {
 private:
  char file[MaxFileName + 1];
  long IxAnt;  // selected block, -1 = none

 public:
  atxDataSum atxSum;
  atxVersionSystem aVersSys;
  atxTypeRefAnt aTypeRef;
  myList<gAntPCV> AtxData;

  antex() : IxAnt(-1) { file[0] = 0; }

  // Takes the file name; a name that does not fit or a missing file is fatal.
  void SetFile(const char* infile) {
    if (strlen(infile) >= sizeof file)
      ProgramError("Function:   antex::SetFile()",
                   "Input GNSS ANTENNA CALIBRATION (ANTEX) file can not be opened!",
                   false);
    strcpy(file, infile);
    if (!FileExists(file))
      ProgramError("Function:   antex::SetFile()",
                   "Input GNSS ANTENNA CALIBRATION (ANTEX) file can not be opened!", false);
  }

  // Header, count of blocks, then the blocks (three passes over the file).
  void ReadFile() {
    ReadFile_Header();
    CountAData();
    AtxData.Resize(atxSum.nAntennae, 1);
    ReadAData();
  }

  void PrintSummary() {
    std::cout << std::fixed;
    PrintSumm_All(std::cout);
  }
  void PrintSummary(const char* fout) {
    WriteTextFile(fout, "Function:   antex::PrintSummary(char*)",
                  "Output file: %s for ANTEX SUMMARY print can not be opened for writing!",
                  [&](std::ostream& os) { PrintSumm_All(os); });
  }

  void PrintFile() {
    std::cout << std::fixed;
    PrintFile_All(std::cout);
  }
  void PrintFile(const char* fout) {
    WriteTextFile(fout, "Function:   rxO::antex::PrintFile(char*)",
                  "Output file: %s for GNSS ANTENNA CALIBRATION (ANTEX) can not be opened for writing!",
                  [&](std::ostream& os) { PrintFile_All(os); });
  }

  // Header records of an empty version 1.4 mixed-system file with absolute values.
  void CreateEmpty() {
    aVersSys.Set("     1.4            M                                       ANTEX VERSION / SYST");
    aTypeRef.Set("A                                                           PCV TYPE / REFANT");
  }

  bool HasRecAntenna(const char* type) { return FindReceiver(type, nullptr, true) != -1; }
  bool HasRecAntenna(const char* type, const char* serial) {
    return FindReceiver(type, serial, true) != -1;
  }
  void SetAntenna(const char* ant) { IxAnt = FindReceiver(ant, nullptr, false); }
  void SetAntenna(const char* ant, const char* ser) { IxAnt = FindReceiver(ant, ser, false); }

  // Selects the first satellite block of rs valid at eph; -1 when there is none.
  void SetSatellite(rSat& rs, mjd& eph) {
    IxAnt = -1;
    for (long i = 0; i < AtxData.Length(); i++) {
      gAntPCV& a = AtxData(i);
      if (a.pcvTypeSer.PCVType == 1 && a.pcvTypeSer.satID == rs && a.pcvFromTo.IsValid(eph)) {
        IxAnt = i;
        return;
      }
    }
  }

  long GetAtxIndex() const { return IxAnt; }

  // Offset (m) of the selected block for frequency identifier freq; zero when
  // nothing is selected or the block lacks that frequency.
  neu GetPhCOffset(int freq) {
    neu r(0, 0, 0, 0);
    gpcvFreqData* f = SelectFrequency(freq);
    if (f != nullptr) r = f->dNEU;
    return r;
  }

  // The frequency identifier of an ANTEX frequency code ("G01"); -1 for none.
  static int FrequencyOf(const char* code) {
    for (const FreqCode* f = FreqCodes(); f->code != nullptr; f++)
      if (strcmp(f->code, code) == 0) return f->id;
    return -1;
  }

  // Variation (m) of the selected block at zenith zen, azimuth azm (deg); 0 when
  // nothing is selected or the block lacks that frequency.
  double GetPhCVariation(int freq, float zen, float azm) {
    gpcvFreqData* f = SelectFrequency(freq);
    if (f == nullptr) return 0.0;
    return f->GetPhCVariation(zen, azm, AtxData(IxAnt).pcvAziZen);
  }

 private:
  // Frequency identifier, its ANTEX code, and the code that stands in when the
  // block lacks its own (GPS L1/L2 for Galileo E1 and GLONASS G1/G2).
  struct FreqCode {
    int id;
    const char* code;
    const char* fallback;
  };
  static const FreqCode* FreqCodes() {
    static const FreqCode table[] = {
        {GNSSc::G1, "G01", nullptr}, {GNSSc::G2, "G02", nullptr}, {GNSSc::G5, "G05", nullptr},
        {GNSSc::E1, "E01", "G01"},   {GNSSc::E5, "E05", nullptr}, {GNSSc::E6, "E06", nullptr},
        {GNSSc::E7, "E07", nullptr}, {GNSSc::E8, "E08", nullptr}, {GNSSc::C1, "C01", nullptr},
        {GNSSc::C2, "C02", nullptr}, {GNSSc::C5, "C05", nullptr}, {GNSSc::C6, "C06", nullptr},
        {GNSSc::C7, "C07", nullptr}, {GNSSc::C8, "C08", nullptr}, {GNSSc::S1, "S01", nullptr},
        {GNSSc::S5, "S05", nullptr}, {GNSSc::J1, "J01", nullptr}, {GNSSc::J2, "J02", nullptr},
        {GNSSc::J5, "J05", nullptr}, {GNSSc::J6, "J06", nullptr}, {GNSSc::I1, "I01", nullptr},
        {GNSSc::I5, "I05", nullptr}, {GNSSc::I9, "I09", nullptr}, {GNSSc::R1, "R01", "G01"},
        {GNSSc::R2, "R02", "G02"},   {GNSSc::R3, "R03", nullptr}, {GNSSc::R4, "R04", nullptr},
        {GNSSc::R6, "R06", nullptr}, {-1, nullptr, nullptr}};
    return table;
  }

  // The present section of code in block a, or nullptr.
  static gpcvFreqData* PresentSection(gAntPCV& a, const char* code) {
    const gpcvData::Section* s = gpcvData::Sections();
    for (int k = 0; k < gpcvData::NSections; k++)
      if (strcmp(s[k].code, code) == 0)
        return (a.pcvData.*(s[k].flag)) ? &(a.pcvData.*(s[k].data)) : nullptr;
    return nullptr;
  }

  // The frequency section of the selected block that answers identifier freq.
  gpcvFreqData* SelectFrequency(int freq) {
    if (IxAnt == -1) return nullptr;
    gAntPCV& a = AtxData(IxAnt);
    for (const FreqCode* f = FreqCodes(); f->code != nullptr; f++) {
      if (f->id != freq) continue;
      gpcvFreqData* s = PresentSection(a, f->code);
      if (s == nullptr && f->fallback != nullptr) s = PresentSection(a, f->fallback);
      return s;
    }
    return nullptr;
  }

  // First block with this type (and serial, when given); receivers only when asked.
  long FindReceiver(const char* type, const char* serial, bool receiversOnly) {
    for (long i = 0; i < AtxData.Length(); i++) {
      gpcvTypeSerial& t = AtxData(i).pcvTypeSer;
      if (receiversOnly && t.PCVType != 0) continue;
      if (strcmp(t.Type, type) != 0) continue;
      if (serial != nullptr && strcmp(t.Serial, serial) != 0) continue;
      return i;
    }
    return -1;
  }

  // First line (ANTEX VERSION / SYST), then PCV TYPE / REFANT up to END OF HEADER.
  void ReadFile_Header() {
    static const char* const place = "Function:   antex::ReadFile_Header()";
    static const char* const early =
        "Unexpected end of GNSS ANTENNA CALIBRATION (ANTEX) file - within header section!";
    std::ifstream in(file);
    char line[atxfmt::LineSize];
    if (!atxfmt::GetLine(in, line, place)) ProgramError(place, early, false);
    aVersSys.Set(line);
    while (true) {
      if (!atxfmt::GetLine(in, line, place)) ProgramError(place, early, false);
      if (atxfmt::Has(line, "END OF HEADER")) break;
      if (atxfmt::Has(line, "PCV TYPE / REFANT")) aTypeRef.Set(line);
    }
  }

  // Counts the blocks, and the satellite antennas per system by the type word.
  void CountAData() {
    std::ifstream in(file);
    char line[atxfmt::LineSize], type[atxfmt::TextSize];
    while (atxfmt::GetLine(in, line, "Function:   antex::CountAData()")) {
      if (atxfmt::Has(line, "START OF ANTENNA")) atxSum.nAntennae++;
      if (!atxfmt::Has(line, "TYPE / SERIAL NO")) continue;
      atxfmt::Cut(line, gpcvTypeSerial::fType, type);
      const gpcvTypeSerial::SatType* k = gpcvTypeSerial::SatelliteType(type);
      (k != nullptr ? *atxSum.Count(k->sys) : atxSum.nREC)++;
    }
  }

  // Hands the stream behind each START OF ANTENNA line to the next block.
  void ReadAData() {
    std::ifstream in(file);
    char line[atxfmt::LineSize];
    long i = 0;
    while (atxfmt::GetLine(in, line, "Function:   antex::ReadAData()")) {
      if (!atxfmt::Has(line, "START OF ANTENNA")) continue;
      AtxData(i).ReadFile(in);
      i++;
    }
  }

  void PrintSumm_All(std::ostream& os) {
    aVersSys.PrintType = 1;
    aTypeRef.PrintType = 1;
    os << aVersSys << aTypeRef << atxSum;
  }

  // The header records are written as ANTEX lines whatever layout a summary left
  // them in (summary lines would make the written file unreadable); their layout
  // is restored afterwards.
  void PrintFile_All(std::ostream& os) {
    const short vType = aVersSys.PrintType, rType = aTypeRef.PrintType;
    aVersSys.PrintType = 0;
    aTypeRef.PrintType = 0;
    os << aVersSys << aTypeRef;
    aVersSys.PrintType = vType;
    aTypeRef.PrintType = rType;
    atxfmt::Blanks(os, atxfmt::LabelColumn - 1);
    os << "END OF HEADER" << std::endl;
    for (long i = 0; i < AtxData.Length(); i++) os << AtxData(i);
  }
};
