// Help text of Morvi (Slovenian, single-byte Windows-1250 text: the one
// non-ASCII letter is c with caron, byte 0xE8) and the run without arguments,
// which shows the help, waits for one key press and ends with exit code 1.
#pragma once

#include <cstdlib>   // exit
#include <iomanip>   // setw
#include <iostream>  // cout

#include "pgminc/ProgramError.h"  // WaitForKeyPress

namespace morvihelp {

inline const char* const rule = "===========================================================================";

// The title of the help text and what the program does.
inline void Purpose(std::ostream& os) {
  os << std::endl;
  os << rule << std::endl;
  os << "PROGRAM: " << "Morvi" << std::endl;
  os << "NAMEN:   Izracun koordinat in ur satelitov GNSS." << std::endl;
  os << rule << std::endl;
  os << std::endl;
  os << "UPORABA:" << std::endl;
  os << "========" << std::endl;
  os << "Program izracuna koordinate in popravke ur satelitov GNSS z uporabo razli-" << std::endl;
  os << "cnih vrst efemerid - preciznimi ali (s satelita) oddanimi efemeridami." << std::endl;
  os << "Pri oddanih efemeridah je mozno uporabiti le format datoteke RINEX 3.xx!" << std::endl;
  os << "S podajanjem datoteke rotacijskih matrik lahko polozaje transformiramo" << std::endl;
  os << "v nebesni sistem (iz ITRS v GCRS)! Z nastavitvijo parametra -o pa lahko" << std::endl;
  os << "iz izracunanih polozajev odstranimo vpliv rotacije Zemlje." << std::endl;
  os << "Program deluje tako, da se ga klice iz ukazne vrstice DOS-a s podanimi" << std::endl;
  os << "parametri. V izogib klicanju programa iz DOS-a je mozno napisati datoteko" << std::endl;
  // 0xE8 is the Windows-1250 c with caron ("koncnico").
  os << "s kon\xE8" "nico *.bat (angl. batch file), kamor vnesemo vse ukaze." << std::endl;
  os << std::endl;
}

// The command line in one picture.
inline void Usage(std::ostream& os) {
  os << "UPORABA PROGRAMA:" << std::endl;
  os << std::setw(12) << "Morvi" << " -gs[GRECSIJ] -s[b|p]EFEMERIDE -aANTEX -tGCRS -o -pSATELITI " << std::endl;
  os << "             -n[i|p|c]PIZRACUN -e[s|e|i]EPOHE -v -h -rREZULTATI > IZHOD" << std::endl;
  os << std::endl;
}

// Each option, the mandatory ones first.
inline void Parameters(std::ostream& os) {
  os << "PARAMETRI:" << std::endl;
  os << "==========" << std::endl;
  os << "Obvezni parametri" << std::endl;
  os << "-----------------" << std::endl;
  os << "-s*  Podaja ime datoteke efemerid:" << std::endl;
  os << " -sp   precizne efemeride" << std::endl;
  os << " -sb   s satelita oddane (\"broadcast\") efemeride (le RINEX 3.xx)" << std::endl;
  os << "-r   Podaja ime izhodne datoteke z rezultati (v pregledni/tabelaricni obliki" << std::endl;
  os << "     podane koordinate in popravki ur satelitov):" << std::endl;
  os << "      - *-T: vrednostt * podana v ITRF sestavu" << std::endl;
  os << "      - *-C: vrednostt * podana v ICRF sestavu" << std::endl;
  os << "      - *-R: vrednostt * podana v ITRF sestavu brez rotacije Zemlje" << std::endl;
  os << "        (* predstavlja koordinato X,Y,Z, ali komponento hitrosti VX,VY,VZ)" << std::endl;
  os << "Neobvezni parametri" << std::endl;
  os << "-------------------" << std::endl;
  os << "-gs  Podaja, katere sisteme GNSS naj pri izracunu uposteva" << std::endl;
  os << "-a   Podaja ime datoteke ANTEX s kalibracijskimi parametri anten satelitov" << std::endl;
  os << "-t   Podaja ime datoteke rotacijskih matrik za transformacijo iz ITRS v" << std::endl;
  os << "     GCTRS" << std::endl;
  os << "-o   S to nastavitvijo se odstrani rotacija Zemlje iz polozajev satelitov" << std::endl;
  os << "-p   Podaja seznam satelitov ( -pG01,G02,E10,E15,R24,R09,C05 )" << std::endl;
  os << "-e*  Podaja casovne nastavitve" << std::endl;
  os << " -es   zacetni trenutek ( -es2017-02-19,01:13:56.0 )" << std::endl;
  os << " -ee   koncni trenutek ( -ee2017-02-19,22:56:13.7 )" << std::endl;
  os << " -ei   interval opazovanj ( -ei60.0 )" << std::endl;
  os << "-n*  Podaja parametre izracuna polozajev satelita" << std::endl;
  os << " -ni   inkrement v sekundah pri numericni integraciji Runge-Kutta (GLONASS" << std::endl;
  os << "       oddane efmeride) ( -ni30.0 )" << std::endl;
  os << " -np   stevilo tock za interpolacijo polozaja z Lagrangejevimi polinomi" << std::endl;
  os << "       (precizne efemeride) ( -np10 )" << std::endl;
  os << " -nc   stevilo tock za interpolacijo pogreska ure satelita z Lagrangejevi-" << std::endl;
  os << "       mi polinomi (precizne efemeride) ( -nc4 )" << std::endl;
  os << "-v   Izpisni nacin na ekrat \"Verbose mode\"" << std::endl;
  os << "-h   Izpisni pomoc programa" << std::endl;
  os << rule << std::endl;
  os << std::endl;
}

}  // namespace morvihelp

// Writes the help text to standard output, line by line.
inline void pHelp() {
  morvihelp::Purpose(std::cout);
  morvihelp::Usage(std::cout);
  morvihelp::Parameters(std::cout);
}

// A run without any argument: the help text, one key press, exit code 1.
inline void ValidateArgs(int argc) {
  if (argc != 1) return;
  pHelp();
  std::cout.flush();
  WaitForKeyPress();
  std::exit(1);
}
