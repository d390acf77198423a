#pragma once
// GNSSc: physical constants per satellite system (speed of light m/s, Earth rotation
// rate rad/s, GM m^3/s^2, relativistic clock constant s/sqrt(m)) and the carrier
// frequencies (Hz), wavelengths (m) and names of every signal band; one global instance
// gConst. The frequency identifier is the enumeration G1 = 0 ... R6 = 27 (ANTEX "G01" ... "R06").
// [1] IS-GPS-200, 20.3.3.3.3.1; [2] Galileo OS SIS ICD, 5.1.1; [3] BDS-SIS-ICD-B1I, 5.2.4;
// [4] GLONASS ICD 5.1, 3.3.1.1; [5] RINEX 3.05, 5.1 (frequency bands); [6] ANTEX 1.4.
#include <cstdio>   // snprintf
#include <cstring>  // strcpy

#include "gdata/myList.h"        // myList
#include "gdata/rSat.h"          // rSat
#include "pgminc/ProgramError.h" // ProgramWarning

class GNSSc {
 public:
  // Frequency identifiers, in the order of the ANTEX frequency blocks.
  enum {
    G1 = 0, G2, G5,
    E1, E5, E6, E7, E8,
    C1, C2, C5, C6, C7, C8,
    S1, S5,
    J1, J2, J5, J6,
    I1, I5, I9,
    R1, R2, R3, R4, R6,
    NFREQ
  };

  GNSSc() {
    c = 299792458.0L;  // m/s, exact by definition
    // Non-integral constants are the double-precision values of the published decimals.
    wEarthG = (long double)7.2921151467e-5;  // rad/s, ref [1]
    wEarthE = (long double)7.2921151467e-5;  // rad/s, ref [2]
    wEarthC = (long double)7.292115e-5;      // rad/s, ref [3] (CGCS2000)
    wEarthR = (long double)7.292115e-5;      // rad/s, ref [4] (PZ-90)
    GMEarthG = 3.986005e14L;                 // m^3/s^2, ref [1] (WGS84), integral
    GMEarthE = 3.986004418e14L;              // m^3/s^2, ref [2], integral
    GMEarthC = 3.986004418e14L;              // m^3/s^2, ref [3], integral
    GMEarthR = 3.986004418e14L;              // m^3/s^2, ref [4], integral
    kRelativityG = (long double)-4.442807633e-10;  // s/sqrt(m), ref [1] and [3]
    kRelativityC = (long double)-4.442807633e-10;
    kRelativityE = (long double)-4.442807309e-10;  // s/sqrt(m), ref [2]
    aEarthR = 0.0L;
    C20R = 0.0L;

    const long double f0 = 10230000.0L;  // Hz, fundamental frequency of GPS-like signals
    gfr0 = f0;
    gfr1 = 154 * f0;
    gfr2 = 120 * f0;
    gfr5 = 115 * f0;
    gwl1 = c / gfr1;
    gwl2 = c / gfr2;
    gwl5 = c / gfr5;

    efr0 = f0;
    efr1 = 154 * f0;
    efr5 = 115 * f0;
    efr6 = 125 * f0;
    efr7 = 118 * f0;
    efr8 = 116.5L * f0;
    ewl1 = c / efr1;
    ewl5 = c / efr5;
    ewl6 = c / efr6;
    ewl7 = c / efr7;
    ewl8 = c / efr8;

    cfr1 = 1575420000.0L;
    cfr2 = 1561098000.0L;
    cfr5 = 1176450000.0L;
    cfr6 = 1268520000.0L;
    cfr7 = 1207140000.0L;
    cfr8 = 1191795000.0L;
    cwl1 = c / cfr1;
    cwl2 = c / cfr2;
    cwl5 = c / cfr5;
    cwl6 = c / cfr6;
    cwl7 = c / cfr7;
    cwl8 = c / cfr8;

    sfr0 = f0;
    sfr1 = 154 * f0;
    sfr5 = 115 * f0;
    swl1 = c / sfr1;
    swl5 = c / sfr5;

    jfr0 = f0;
    jfr1 = 154 * f0;
    jfr2 = 120 * f0;
    jfr5 = 115 * f0;
    jfr6 = 125 * f0;
    jwl1 = c / jfr1;
    jwl2 = c / jfr2;
    jwl5 = c / jfr5;
    jwl6 = c / jfr6;

    ifr0 = f0;
    ifr1 = 154 * f0;  // L1 of the other systems; no computation reads it
    ifr5 = 115 * f0;
    ifr9 = (long double)243.6 * f0;  // S band, factor held at double precision
    iwl1 = c / ifr1;
    iwl5 = c / ifr5;
    iwl9 = c / ifr9;

    rfr0 = 178000000.0L;  // Hz, base of the GLONASS channel formula, ref [4]
    rfr3 = 1202025000.0L;
    rfr4 = 1600995000.0L;
    rfr6 = 1248060000.0L;
    rwl3 = c / rfr3;
    rwl4 = c / rfr4;
    rwl6 = c / rfr6;

    brfrc.Resize(NGLNLIST, 1, false);
    rfrc.Resize(NGLNLIST, 1, 0.0L);
    rfr1.Resize(NGLNLIST, 1, 0.0L);
    rfr2.Resize(NGLNLIST, 1, 0.0L);
    rwl1.Resize(NGLNLIST, 1, 0.0L);
    rwl2.Resize(NGLNLIST, 1, 0.0L);
  }
  ~GNSSc() {}

  long double GetC() const { return c; }

  // Per-system constants; SBAS takes the GLONASS values, QZSS, IRNSS and any other
  // letter the GPS values.
  long double GetWEarth(char s) const {
    switch (s) {
      case 'R': case 'S': return wEarthR;
      case 'E': return wEarthE;
      case 'C': return wEarthC;
      default: return wEarthG;
    }
  }
  long double GetGMEarth(char s) const {
    switch (s) {
      case 'R': case 'S': return GMEarthR;
      case 'E': return GMEarthE;
      case 'C': return GMEarthC;
      default: return GMEarthG;
    }
  }
  long double GetkRelativity(char s) const {
    switch (s) {
      case 'E': return kRelativityE;
      case 'C': return kRelativityC;
      default: return kRelativityG;
    }
  }

  // GLONASS FDMA channel k of satellite S: G1 = 9 (k/16 MHz + rfr0), G2 = 7 (k/16 MHz + rfr0),
  // that is 1602 + 0.5625 k MHz and 1246 + 0.4375 k MHz, ref [4].
  // The satellite number indexes the lists; 50 and above end the program by the list check.
  void SetRFreqChannel(const rSat& S, long double gfcval) {
    const long i = S.GetSPrn();
    brfrc(i) = true;
    rfrc(i) = gfcval;
    rfr1(i) = 9 * (1000000 * gfcval / 16 + rfr0);
    rfr2(i) = 7 * (1000000 * gfcval / 16 + rfr0);
    rwl1(i) = c / rfr1(i);
    rwl2(i) = c / rfr2(i);
  }
  long double GetRFreqChannel(const rSat& S) { return rfrc((long)S.GetSPrn()); }
  bool IsRFreqChannSet(const rSat& S) { return brfrc((long)S.GetSPrn()); }

  long double GetFrequency(int T) {
    if (T < 0 || T >= NFREQ) {
      ProgramWarning("Function:   GNSSc::GetFrequency(FI)", "Wrong input frequency identifier!");
      return 0.0L;
    }
    if (T == R1) {
      ProgramWarning("Function:   GNSSc::GetFrequency(FI)", "GLONASS G1 freqency satellite dependent!");
      return 0.0L;
    }
    if (T == R2) {
      ProgramWarning("Function:   GNSSc::GetFrequency(FI)", "GLONASS G2 freqency satellite dependent!");
      return 0.0L;
    }
    return this->*(Band(T).fr);
  }
  long double GetFrequency(int T, const rSat& S) {
    if (T == R1) return GlonassBySat(rfr1, S, "Function:   GNSSc::GetFrequency(FI,S)");
    if (T == R2) return GlonassBySat(rfr2, S, "Function:   GNSSc::GetFrequency(FI,S)");
    return GetFrequency(T);
  }

  long double GetWaveLength(int T) {
    if (T < 0 || T >= NFREQ) {
      ProgramWarning("Function:   GNSSc::GetWaveLength", "Wrong input wavelength identifier!");
      return 0.0L;
    }
    if (T == R1) {
      ProgramWarning("Function:   GNSSc::GetWaveLength(WI)", "GLONASS G1 wavelength satellite dependent!");
      return 0.0L;
    }
    if (T == R2) {
      ProgramWarning("Function:   GNSSc::GetWaveLength(WI)", "GLONASS G2 wavelength satellite dependent!");
      return 0.0L;
    }
    return this->*(Band(T).wl);
  }
  long double GetWaveLength(int T, const rSat& S) {
    if (T == R1) return GlonassBySat(rwl1, S, "Function:   GNSSc::GetWaveLength(FI,S)");
    if (T == R2) return GlonassBySat(rwl2, S, "Function:   GNSSc::GetWaveLength(FI,S)");
    return GetWaveLength(T);
  }

  // Copies the carrier name of T (at most 23 characters with the NUL) into cn.
  char* SetCarrierName(int T, char* cn) {
    if (T < 0 || T >= NFREQ) {
      ProgramWarning("Function:   GNSSc::SetCarrierName(FI,name)", "Wrong input frequency identifier!");
      return cn;
    }
    strcpy(cn, Band(T).name);
    return cn;
  }

 private:
  static constexpr long NGLNLIST = 50;  // GLONASS lists, indexed by satellite number 1..49

  long double c;
  long double wEarthG, wEarthE, wEarthC, wEarthR;
  long double GMEarthG, GMEarthE, GMEarthC, GMEarthR;
  long double kRelativityG, kRelativityC, kRelativityE;
  long double aEarthR, C20R;
  long double gfr0, gfr1, gfr2, gfr5;
  long double gwl1, gwl2, gwl5;
  long double efr0, efr1, efr5, efr6, efr7, efr8;
  long double ewl1, ewl5, ewl6, ewl7, ewl8;
  long double cfr1, cfr2, cfr5, cfr6, cfr7, cfr8;
  long double cwl1, cwl2, cwl5, cwl6, cwl7, cwl8;
  long double sfr0, sfr1, sfr5;
  long double swl1, swl5;
  long double jfr0, jfr1, jfr2, jfr5, jfr6;
  long double jwl1, jwl2, jwl5, jwl6;
  long double ifr0, ifr1, ifr5, ifr9;
  long double iwl1, iwl5, iwl9;
  long double rfr0;
  long double rfr3, rfr4, rfr6;
  long double rwl3, rwl4, rwl6;
  myList<bool> brfrc;          // channel set, by satellite number
  myList<long double> rfrc;    // channel number k, by satellite number
  myList<long double> rfr1, rfr2;  // G1, G2 frequency (Hz), by satellite number
  myList<long double> rwl1, rwl2;  // G1, G2 wavelength (m), by satellite number

  // One row per frequency identifier: frequency and wavelength members (null for the
  // satellite-dependent GLONASS G1 and G2) and the carrier name, ref [5].
  struct BandRow {
    long double GNSSc::*fr;
    long double GNSSc::*wl;
    const char* name;
  };
  static const BandRow& Band(int T) {
    static const BandRow table[NFREQ] = {
        {&GNSSc::gfr1, &GNSSc::gwl1, "GPS L1 ([CLDS]1x)"},
        {&GNSSc::gfr2, &GNSSc::gwl2, "GPS L2 ([CLDS]2x)"},
        {&GNSSc::gfr5, &GNSSc::gwl5, "GPS L5 ([CLDS]5x)"},
        {&GNSSc::efr1, &GNSSc::ewl1, "GALILEO E1 ([CLDS]1x)"},
        {&GNSSc::efr5, &GNSSc::ewl5, "GALILEO E5a ([CLDS]5x)"},
        {&GNSSc::efr6, &GNSSc::ewl6, "GALILEO E6 ([CLDS]6x)"},
        {&GNSSc::efr7, &GNSSc::ewl7, "GALILEO E5b ([CLDS]7x)"},
        {&GNSSc::efr8, &GNSSc::ewl8, "GALILEO E5 ([CLDS]8x)"},
        {&GNSSc::cfr1, &GNSSc::cwl1, "BDS B1A+B1C ([CLDS]1x)"},
        {&GNSSc::cfr2, &GNSSc::cwl2, "BDS B1 ([CLDS]1x)"},
        {&GNSSc::cfr5, &GNSSc::cwl5, "BDS B2A ([CLDS]5x)"},
        {&GNSSc::cfr6, &GNSSc::cwl6, "BDS B3+B3A ([CLDS]6x)"},
        {&GNSSc::cfr7, &GNSSc::cwl7, "BDS B2+B2B ([CLDS]7x)"},
        {&GNSSc::cfr8, &GNSSc::cwl8, "BDS B2A+B2B ([CLDS]8x)"},
        {&GNSSc::sfr1, &GNSSc::swl1, "SBAS L1 ([CLDS]1x)"},
        {&GNSSc::sfr5, &GNSSc::swl5, "SBAS L5 ([CLDS]5x)"},
        {&GNSSc::jfr1, &GNSSc::jwl1, "QZSS L1 ([CLDS]1x)"},
        {&GNSSc::jfr2, &GNSSc::jwl2, "QZSS L2 ([CLDS]2x)"},
        {&GNSSc::jfr5, &GNSSc::jwl5, "QZSS L5 (X[CLDS]5x)"},
        {&GNSSc::jfr6, &GNSSc::jwl6, "QZSS LEX(6) ([CLDS]6x)"},
        {&GNSSc::ifr1, &GNSSc::iwl1, "IRNSS L1 ([CLDS]1x)"},
        {&GNSSc::ifr5, &GNSSc::iwl5, "IRNSS L5 ([CLDS]5x)"},
        {&GNSSc::ifr9, &GNSSc::iwl9, "IRNSS S ([CLDS]9x)"},
        {nullptr, nullptr, "GLONASS G1 ([CLDS]1x)"},
        {nullptr, nullptr, "GLONASS G2 ([CLDS]2x)"},
        {&GNSSc::rfr3, &GNSSc::rwl3, "GLONASS G3 ([CLDS]3x)"},
        {&GNSSc::rfr4, &GNSSc::rwl4, "GLONASS G4 ([CLDS]4x)"},
        {&GNSSc::rfr6, &GNSSc::rwl6, "GLONASS G6 ([CLDS]6x)"},
    };
    return table[T];
  }

  // Value of a GLONASS per-satellite list for S: 0 with a warning for a satellite of
  // another system; the stored value (0 if never set) with a warning when no channel is set.
  long double GlonassBySat(myList<long double>& list, const rSat& S, const char* place) {
    char msg[80];
    if (!S.isGLNSat()) {
      snprintf(msg, sizeof msg, "Input sattelite not GLONASS satellite: %c%02d!", S.GetISys(), (int)S.GetSPrn());
      ProgramWarning(place, msg);
      return 0.0L;
    }
    const long i = S.GetSPrn();
    if (!brfrc(i)) {
      snprintf(msg, sizeof msg, "GLONASS FREQUENCY CHANNEL not set for satellite: %c%02d!", S.GetISys(), (int)S.GetSPrn());
      ProgramWarning(place, msg);
    }
    return list(i);
  }
};

// The one instance, built before main and read by every orbit computation.
inline GNSSc gConst;
