// Cartesian vector xyz (x, y, z and a fourth component t), all long double.
// Positions in metres with the satellite clock correction (s) in t, velocities
// in metres per second with t = 0; t never carries an epoch. Text output and
// input follow the process-wide settings of namespace xyzns (fixed-point,
// right-aligned fields, no separator and no end of line).
#pragma once

#include <cmath>     // fabs, sqrt, sin, cos (long double overloads)
#include <cstdint>   // uint16_t
#include <iostream>  // istream, ostream

#include "gdata/coord4.h"  // arithmetic, comparison and text layout shared by xyz, neu, flh

// Print and read settings of xyz; a writer sets them before it prints.
namespace xyzns {
// Unit factors: MM/CM/M (and KM, sharing 1000 with MM) for Unit,
// S/MS/MCS/NS for UnitT.
enum { MM = 1000, CM = 100, M = 1, KM = 1000, S = 1, MS = 1000, MCS = 1000000, NS = 1000000000 };

inline uint16_t NDec = 4;         // decimals of x, y, z
inline uint16_t NDecT = 6;        // decimals of t
inline uint16_t Width = 14;       // field width of x, y, z
inline uint16_t WidthT = 12;      // field width of t
inline bool PrintTime = false;    // output appends t
inline bool ReadTime = false;     // input reads t
inline long double Unit = 1;      // factor of x, y, z (see ScaleOut)
inline long double UnitT = 1;     // t is printed times UnitT, read divided by UnitT

// Output and input scaling by Unit (the unit rule of coord4).
inline long double ScaleOut(long double v) { return coord4::ScaleOut(v, Unit); }
}  // namespace xyzns

class xyz {
 public:
  xyz() : x(0), y(0), z(0), t(0) {}
  xyz(long double xx, long double yy, long double zz) : x(xx), y(yy), z(zz), t(0) {}
  xyz(long double xx, long double yy, long double zz, long double tt)
      : x(xx), y(yy), z(zz), t(tt) {}

  void Set(long double xx, long double yy, long double zz) { Set(xx, yy, zz, 0); }
  void Set(long double xx, long double yy, long double zz, long double tt) {
    x = xx;
    y = yy;
    z = zz;
    t = tt;
  }
  void ReSet() { Set(0, 0, 0, 0); }
  void SetX(long double v) { x = v; }
  void SetY(long double v) { y = v; }
  void SetZ(long double v) { z = v; }
  void SetT(long double v) { t = v; }
  long double GetX() const { return x; }
  long double GetY() const { return y; }
  long double GetZ() const { return z; }
  long double GetT() const { return t; }

  // Euclidean length of (x, y, z), t ignored. The components are divided by the
  // largest one first, so squares of very large components cannot overflow.
  // The zero vector has length 0; a vector with a NaN component has length NaN.
  long double GetLength() const {
    long double m = std::fabs(x) > std::fabs(y) ? std::fabs(x) : std::fabs(y);
    if (std::fabs(z) > m) m = std::fabs(z);
    // m is 0 for the zero vector, and also for a NaN beside zeros (NaN never
    // wins a comparison): the sum of the magnitudes gives 0 or NaN.
    if (m == 0) return std::fabs(x) + std::fabs(y) + std::fabs(z);
    const long double xm = x / m, ym = y / m, zm = z / m;
    return m * std::sqrt(xm * xm + ym * ym + zm * zm);
  }

  // sign * (x, y, z) / length with t = 0; sign -1 gives the opposite direction.
  // The zero vector (no direction) gives the zero vector.
  xyz GetUnitVector(long double sign) const {
    const long double len = GetLength();
    if (len == 0) return xyz();
    return xyz(x * sign / len, y * sign / len, z * sign / len);
  }

  // Active right-handed rotations by a (radians) about one axis; t copied.
  xyz RotateX(long double a) const {
    const long double c = std::cos(a), s = std::sin(a);
    return xyz(x, c * y - s * z, s * y + c * z, t);
  }
  xyz RotateY(long double a) const {
    const long double c = std::cos(a), s = std::sin(a);
    return xyz(c * x + s * z, y, -s * x + c * z, t);
  }
  xyz RotateZ(long double a) const {
    const long double c = std::cos(a), s = std::sin(a);
    return xyz(c * x - s * y, s * x + c * y, z, t);
  }

  // Compound arithmetic acts on all four components, t included.
  xyz& operator+=(const xyz& p) { return coord4::Ops::Add(*this, p); }
  xyz& operator-=(const xyz& p) { return coord4::Ops::Sub(*this, p); }
  xyz& operator*=(long double k) { return coord4::Ops::Mul(*this, k); }
  xyz& operator/=(long double k) { return coord4::Ops::Div(*this, k); }

  // Same object, or every component (t included) closer than coord4::EQUAL_TOL.
  bool operator==(const xyz& p) const { return coord4::Ops::Equal(*this, p); }
  bool operator!=(const xyz& p) const { return !(*this == p); }

  friend std::ostream& operator<<(std::ostream& os, const xyz& p);
  friend std::istream& operator>>(std::istream& is, xyz& p);

 private:
  long double x;
  long double y;
  long double z;
  long double t;

  friend struct coord4::Ops;
  using Members = long double xyz::* const[4];
  static const Members& Components() {
    static constexpr long double xyz::*m[4] = {&xyz::x, &xyz::y, &xyz::z, &xyz::t};
    return m;
  }
};

inline xyz operator+(const xyz& p1, const xyz& p2) { return coord4::Sum(p1, p2); }
inline xyz operator-(const xyz& p1, const xyz& p2) { return coord4::Difference(p1, p2); }
inline xyz operator*(const xyz& p1, long double a) { return coord4::Scaled(p1, a); }
inline xyz operator*(long double a, const xyz& p1) { return p1 * a; }

// Dot product of (x, y, z); t ignored.
inline long double operator*(const xyz& p1, const xyz& p2) {
  return p1.GetX() * p2.GetX() + p1.GetY() * p2.GetY() + p1.GetZ() * p2.GetZ();
}

// Cross product p1 x p2, t = 0.
inline xyz CrossP(const xyz& p1, const xyz& p2) {
  return xyz(p1.GetY() * p2.GetZ() - p1.GetZ() * p2.GetY(),
             p1.GetZ() * p2.GetX() - p1.GetX() * p2.GetZ(),
             p1.GetX() * p2.GetY() - p1.GetY() * p2.GetX());
}

// Element-wise product of (x, y, z), t = 0.
inline xyz ElementP(const xyz& p1, const xyz& p2) {
  return xyz(p1.GetX() * p2.GetX(), p1.GetY() * p2.GetY(), p1.GetZ() * p2.GetZ());
}

// Square roots of x, y, z, t = 0.
inline xyz sqrt(const xyz& p1) {
  return xyz(std::sqrt(p1.GetX()), std::sqrt(p1.GetY()), std::sqrt(p1.GetZ()));
}

// x, y, z in fields of xyzns::Width with xyzns::NDec decimals, scaled by
// xyzns::Unit; then, with xyzns::PrintTime, t * UnitT in width WidthT with
// NDecT decimals. Leaves the stream in fixed notation.
inline std::ostream& operator<<(std::ostream& os, const xyz& p) {
  coord4::WriteCoords(os, xyzns::ScaleOut(p.x), xyzns::ScaleOut(p.y), xyzns::ScaleOut(p.z),
                      xyzns::Width, xyzns::NDec, xyzns::Width, xyzns::NDec);
  coord4::WriteT(os, xyzns::PrintTime, p.t, xyzns::UnitT, xyzns::WidthT, xyzns::NDecT);
  return os;
}

// Reads x, y, z (white-space separated) in the unit of xyzns::Unit; t = 0, or,
// with xyzns::ReadTime, a fourth number divided by UnitT. A failed read leaves
// the stream failed; the scaling is applied all the same.
inline std::istream& operator>>(std::istream& is, xyz& p) {
  coord4::ReadCoords(is, p.x, p.y, p.z, xyzns::Unit);
  coord4::ReadT(is, xyzns::ReadTime, p.t, xyzns::UnitT);
  return is;
}
