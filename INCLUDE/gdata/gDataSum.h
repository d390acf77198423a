// Product data summary gDataSum: number of epochs and satellites of a product
// file, and its satellites in total and per system (G, R, E, C, S, J, I order).
// The owner (the SP3 reader) fills it; Print writes it to standard output with
// the satellite lists in the RAW list layout.
#pragma once

#include <iomanip>   // setw
#include <iostream>  // cout, endl

#include "gdata/GNSSsys.h"  // gnss::systems, gnss::Member, gnss::kSatCounts, gnss::kSatLists
#include "gdata/myList.h"   // myList, iomlns
#include "gdata/rSat.h"     // rSat

class gDataSum {
 public:
  gDataSum()
      : nEph(0), nSat(0), nSatG(0), nSatR(0), nSatE(0), nSatC(0), nSatS(0), nSatJ(0), nSatI(0) {}
  ~gDataSum() = default;  // the lists release themselves

  // "  nEpoch: " (only when nEph is not 0), "  nSat  : ", then one line per
  // system with satellites: "   G: " and its list in the RAW layout; then two
  // empty lines. Leaves iomlns::PrintType at RAW.
  void Print() const {
    if (nEph != 0) std::cout << "  nEpoch: " << std::setw(6) << nEph << std::endl;
    std::cout << "  nSat  : " << std::setw(6) << nSat << std::endl;
    iomlns::PrintType = iomlns::RAW;
    for (const GNSSsys& s : gnss::systems)
      if (*gnss::Member(*this, s.letter, gnss::kSatCounts<gDataSum>) != 0)
        std::cout << "   " << s.letter << ": " << *gnss::Member(*this, s.letter, gnss::kSatLists<gDataSum>)
                  << std::endl;
    std::cout << std::endl << std::endl;
  }

  // The count and the list of a system by its letter; null for any other letter.
  int* Count(char sys) {
    static_assert(gnss::OnceEach(gnss::kSatCounts<gDataSum>) && gnss::OnceEach(gnss::kSatLists<gDataSum>),
                  "a letter of no system or twice");
    return gnss::Member(*this, sys, gnss::kSatCounts<gDataSum>);
  }
  myList<rSat>* List(char sys) { return gnss::Member(*this, sys, gnss::kSatLists<gDataSum>); }

  int nEph;  // number of epochs
  int nSat;  // number of satellites
  int nSatG, nSatR, nSatE, nSatC, nSatS, nSatJ, nSatI;  // satellites per system
  myList<rSat> lSat;                                    // all satellites
  myList<rSat> lSatG, lSatR, lSatE, lSatC, lSatS, lSatJ, lSatI;  // per system
};
