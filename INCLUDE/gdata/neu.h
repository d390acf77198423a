// Local north-east-up vector neu (n, e, u and a fourth component t), all long
// double; holds antenna phase-centre offsets in metres (t = 0). Text output and
// input follow namespace neuns; the RINEX layout writes up, east, north in
// three 14.4 fields, as RINEX antenna values are written.
// [1] RINEX 3.05, antenna height/east/north fields (F14.4)
#pragma once

#include <cmath>     // fabs, sqrt (long double overloads)
#include <cstdint>   // uint16_t
#include <iomanip>   // setw, setprecision
#include <iostream>  // istream, ostream

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
inline uint16_t Unit = 1;            // factor of n, e, u (see ScaleOut/ScaleIn)
inline uint16_t UnitT = 1;           // t is printed times UnitT, read divided by it
inline uint16_t PrintType = NORINEX; // RINEX, or any other value
inline bool PrintTime = false;       // output appends t
inline bool ReadTime = false;        // input reads t

// Output scaling: 1000 and 100 multiply (metres print as mm or cm), any other
// factor divides; input applies the inverse.
inline long double ScaleOut(long double v) {
  return (Unit == 1000 || Unit == 100) ? v * Unit : v / Unit;
}
inline long double ScaleIn(long double v) {
  return (Unit == 1000 || Unit == 100) ? v / Unit : v * Unit;
}

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
  neu(const neu& p) = default;
  ~neu() = default;

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

  neu& operator=(const neu& p) {
    if (this != &p) Set(p.n, p.e, p.u, p.t);
    return *this;
  }
  // Compound arithmetic acts on all four components, t included.
  neu& operator+=(const neu& p) {
    n += p.n;
    e += p.e;
    u += p.u;
    t += p.t;
    return *this;
  }
  neu& operator-=(const neu& p) {
    n -= p.n;
    e -= p.e;
    u -= p.u;
    t -= p.t;
    return *this;
  }
  neu& operator/=(long double k) {
    n /= k;
    e /= k;
    u /= k;
    t /= k;
    return *this;
  }

  // Same object, or every component (t included) closer than kEqualTol.
  bool operator==(const neu& p) const {
    if (this == &p) return true;
    return std::fabs(n - p.n) < kEqualTol && std::fabs(e - p.e) < kEqualTol &&
           std::fabs(u - p.u) < kEqualTol && std::fabs(t - p.t) < kEqualTol;
  }
  bool operator!=(const neu& p) const { return !(*this == p); }

  friend std::ostream& operator<<(std::ostream& os, const neu& p);
  friend std::istream& operator>>(std::istream& is, neu& p);

 private:
  // Equality tolerance: the double value of 1e-14, compared in long double.
  static constexpr long double kEqualTol = 1e-14;

  long double n;
  long double e;
  long double u;
  long double t;
};

inline neu operator+(const neu& p1, const neu& p2) {
  neu r;
  r = p1;
  r += p2;
  return r;
}
inline neu operator-(const neu& p1, const neu& p2) {
  neu r;
  r = p1;
  r -= p2;
  return r;
}
inline neu operator*(const neu& p1, long double a) {
  return neu(p1.GetN() * a, p1.GetE() * a, p1.GetU() * a, p1.GetT() * a);
}
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
  os << std::fixed;
  if (neuns::PrintType == neuns::RINEX) {
    os << std::setprecision(neuns::kRinexNDec);
    os << std::setw(neuns::kRinexWidth) << p.u;
    os << std::setw(neuns::kRinexWidth) << p.e;
    os << std::setw(neuns::kRinexWidth) << p.n;
  } else {
    os << std::setprecision(neuns::NDecNE);
    os << std::setw(neuns::WidthNE) << neuns::ScaleOut(p.n);
    os << std::setw(neuns::WidthNE) << neuns::ScaleOut(p.e);
    os << std::setw(neuns::WidthU) << std::setprecision(neuns::NDecU) << neuns::ScaleOut(p.u);
  }
  if (neuns::PrintTime)
    os << std::setw(neuns::WidthT) << std::setprecision(neuns::NDecT) << p.t * neuns::UnitT;
  return os;
}

// Reads n, e, u (white-space separated, whatever the PrintType) in the unit of
// neuns::Unit; t = 0, or, with ReadTime, a fourth number divided by UnitT.
inline std::istream& operator>>(std::istream& is, neu& p) {
  is >> p.n >> p.e >> p.u;
  p.n = neuns::ScaleIn(p.n);
  p.e = neuns::ScaleIn(p.e);
  p.u = neuns::ScaleIn(p.u);
  p.t = 0;
  if (neuns::ReadTime) {
    is >> p.t;
    p.t /= neuns::UnitT;
  }
  return is;
}
