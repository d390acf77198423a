// Product data summary gDataSum: number of epochs and satellites of a product
// file, and its satellites in total and per system (G, R, E, C, S, J, I order).
// The owner (the SP3 reader) fills it; Print writes it to standard output with
// the satellite lists in the RAW list layout.
#pragma once

#include <iomanip>   // setw
#include <iostream>  // cout, endl

#include "gdata/myList.h"  // myList, iomlns
#include "gdata/rSat.h"    // rSat

class gDataSum {
 public:
  gDataSum()
      : nEph(0), nSat(0), nSatG(0), nSatR(0), nSatE(0), nSatC(0), nSatS(0), nSatJ(0), nSatI(0) {}
  ~gDataSum() = default;  // the lists release themselves

  // "  nEpoch: " (only when nEph is not 0), "  nSat  : ", then one line per
  // system with satellites: "   G: " and its list in the RAW layout; then two
  // empty lines. Leaves iomlns::PrintType at RAW.
  void Print() const {
    struct SysRow {
      const char* label;
      int gDataSum::*count;
      myList<rSat> gDataSum::*list;
    };
    static const SysRow kSystems[] = {
        {"   G: ", &gDataSum::nSatG, &gDataSum::lSatG}, {"   R: ", &gDataSum::nSatR, &gDataSum::lSatR},
        {"   E: ", &gDataSum::nSatE, &gDataSum::lSatE}, {"   C: ", &gDataSum::nSatC, &gDataSum::lSatC},
        {"   S: ", &gDataSum::nSatS, &gDataSum::lSatS}, {"   J: ", &gDataSum::nSatJ, &gDataSum::lSatJ},
        {"   I: ", &gDataSum::nSatI, &gDataSum::lSatI},
    };
    if (nEph != 0) std::cout << "  nEpoch: " << std::setw(6) << nEph << std::endl;
    std::cout << "  nSat  : " << std::setw(6) << nSat << std::endl;
    iomlns::PrintType = iomlns::RAW;
    for (const SysRow& s : kSystems)
      if (this->*s.count != 0) std::cout << s.label << this->*s.list << std::endl;
    std::cout << std::endl << std::endl;
  }

  int nEph;  // number of epochs
  int nSat;  // number of satellites
  int nSatG, nSatR, nSatE, nSatC, nSatS, nSatJ, nSatI;  // satellites per system
  myList<rSat> lSat;                                    // all satellites
  myList<rSat> lSatG, lSatR, lSatE, lSatC, lSatS, lSatJ, lSatI;  // per system
};
