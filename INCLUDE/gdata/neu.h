// Local north-east-up vector neu (n, e, u and a fourth component t), all long
// double; holds antenna phase-centre offsets in metres (t = 0). Text output and
// input follow namespace neuns; the RINEX layout writes up, east, north in
// three 14.4 fields, as RINEX antenna values are written.
// [1] RINEX 3.05, antenna height/east/north fields (F14.4)
#pragma once

#include <cmath>     // sqrt (long double overloads)
#include <cstdint>   // uint16_t
#include <iostream>  // istream, ostream

#include "gdata/coord4.h"  // arithmetic, comparison and text layout shared by xyz, neu, flh

// Print and read settings of neu; nothing in the system changes the defaults.
namespace neuns {
// Unit factors (NS does not fit in the 16-bit UnitT).
enum { MM = 1000, CM = 100, M = 1, KM = 1000, S = 1, MS = 1000, NS = 1000000000 };
// Output layouts.
enum { RINEX = 0, NORINEX = 1 };

inline uint16_t NDecNE = 4;          // decimals of n and e
inline uint16_t NDecU = 4;           // decimals of u
inline uint16_t NDecT = 6;           // decimals of t
inline uint16_t WidthNE = 14;        // field width of n and e
inline uint16_t WidthU = 14;         // field width of u
inline uint16_t WidthT = 10;         // field width of t
inline uint16_t Unit = 1;            // factor of n, e, u (the unit rule of coord4)
inline uint16_t UnitT = 1;           // t is printed times UnitT, read divided by it
inline uint16_t PrintType = NORINEX; // RINEX, or any other value
inline bool PrintTime = false;       // output appends t
inline bool ReadTime = false;        // input reads t

// Field layout of RINEX antenna values: width 14, 4 decimals.
constexpr int kRinexWidth = 14;
constexpr int kRinexNDec = 4;
}  // namespace neuns

class neu {
 public:
  neu() : n(0), e(0), u(0), t(0) {}
  neu(long double nn, long double ee, long double uu) : n(nn), e(ee), u(uu), t(0) {}
  neu(long double nn, long double ee, long double uu, long double tt)
      : n(nn), e(ee), u(uu), t(tt) {}

  void Set(long double nn, long double ee, long double uu) { Set(nn, ee, uu, 0); }
  void Set(long double nn, long double ee, long double uu, long double tt) {
    n = nn;
    e = ee;
    u = uu;
    t = tt;
  }
  void SetN(long double v) { n = v; }
  void SetE(long double v) { e = v; }
  void SetU(long double v) { u = v; }
  void SetT(long double v) { t = v; }
  long double GetN() const { return n; }
  long double GetE() const { return e; }
  long double GetU() const { return u; }
  long double GetT() const { return t; }

  // Euclidean length of (n, e, u); t ignored.
  long double GetLength() const { return std::sqrt(n * n + e * e + u * u); }

  // Compound arithmetic acts on all four components, t included.
  neu& operator+=(const neu& p) { return coord4::Ops::Add(*this, p); }
  neu& operator-=(const neu& p) { return coord4::Ops::Sub(*this, p); }
  neu& operator/=(long double k) { return coord4::Ops::Div(*this, k); }

  // Same object, or every component (t included) closer than coord4::EQUAL_TOL.
  bool operator==(const neu& p) const { return coord4::Ops::Equal(*this, p); }
  bool operator!=(const neu& p) const { return !(*this == p); }

  friend std::ostream& operator<<(std::ostream& os, const neu& p);
  friend std::istream& operator>>(std::istream& is, neu& p);

 private:
  long double n;
  long double e;
  long double u;
  long double t;

  friend struct coord4::Ops;
  using Members = long double neu::* const[4];
  static const Members& Components() {
    static constexpr long double neu::*m[4] = {&neu::n, &neu::e, &neu::u, &neu::t};
    return m;
  }
};

inline neu operator+(const neu& p1, const neu& p2) { return coord4::Sum(p1, p2); }
inline neu operator-(const neu& p1, const neu& p2) { return coord4::Difference(p1, p2); }
inline neu operator*(const neu& p1, long double a) { return coord4::Scaled(p1, a); }
inline neu operator*(long double a, const neu& p1) { return p1 * a; }

// Element-wise product of all four components, t included.
inline neu ElementP(const neu& p1, const neu& p2) {
  return neu(p1.GetN() * p2.GetN(), p1.GetE() * p2.GetE(), p1.GetU() * p2.GetU(),
             p1.GetT() * p2.GetT());
}

// Square roots of all four components, t included.
inline neu sqrt(const neu& p1) {
  return neu(std::sqrt(p1.GetN()), std::sqrt(p1.GetE()), std::sqrt(p1.GetU()),
             std::sqrt(p1.GetT()));
}

// RINEX layout: u, e, n unscaled in 14.4 fields. Otherwise n, e (WidthNE,
// NDecNE) and u (WidthU, NDecU) scaled by neuns::Unit. Then, with PrintTime,
// t * UnitT in WidthT with NDecT decimals. Leaves the stream in fixed notation.
inline std::ostream& operator<<(std::ostream& os, const neu& p) {
  if (neuns::PrintType == neuns::RINEX)
    coord4::WriteCoords(os, p.u, p.e, p.n, neuns::kRinexWidth, neuns::kRinexNDec,
                        neuns::kRinexWidth, neuns::kRinexNDec);
  else
    coord4::WriteCoords(os, coord4::ScaleOut(p.n, neuns::Unit), coord4::ScaleOut(p.e, neuns::Unit),
                        coord4::ScaleOut(p.u, neuns::Unit), neuns::WidthNE, neuns::NDecNE,
                        neuns::WidthU, neuns::NDecU);
  coord4::WriteT(os, neuns::PrintTime, p.t, neuns::UnitT, neuns::WidthT, neuns::NDecT);
  return os;
}

// Reads n, e, u (white-space separated, whatever the PrintType) in the unit of
// neuns::Unit; t = 0, or, with ReadTime, a fourth number divided by UnitT.
inline std::istream& operator>>(std::istream& is, neu& p) {
  coord4::ReadCoords(is, p.n, p.e, p.u, neuns::Unit);
  coord4::ReadT(is, neuns::ReadTime, p.t, neuns::UnitT);
  return is;
}
