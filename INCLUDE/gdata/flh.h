// Reference ellipsoid (semi-major axis in metres, flattening) with five
// predefined ellipsoids, geodetic position flh (latitude and longitude in
// radians, ellipsoidal height in metres, fourth component t) with its range
// test and six angle layouts of namespace flhns, and the conversions between
// flh and the Cartesian xyz.
// [1] NIMA TR8350.2, WGS 84 (3rd ed.); [2] H. Moritz, Geodetic Reference System 1980;
// [3] PZ-90.11 reference document; [4] B. Hofmann-Wellenhof et al., GNSS (2008), 10.2.1
#pragma once

#include <cmath>     // fabs, sqrt, sin, cos, atan
#include <cstdint>   // uint16_t
#include <cstdlib>   // strtol
#include <iomanip>   // setw, setprecision
#include <iostream>  // istream, ostream
#include <string>    // string

#include "functions/angles.h"    // rad2deg, deg2rad, rad2gon, rad2dms, dms2rad, dms2dms, PolmerN
#include "functions/numfun.h"    // pi
#include "gdata/coord4.h"        // arithmetic, comparison and text layout shared by xyz, neu, flh
#include "gdata/xyz.h"           // xyz
#include "pgminc/ProgramError.h" // ProgramError

namespace elipsoidns {
// Predefined ellipsoids accepted by elipsoid::Set.
enum { GRS80 = 0, WGS84 = 1, PZ90 = 2, BESSEL = 3, SPHERE = 4 };

// Their semi-major axes and inverse flattenings, by enumerator.
struct Row {
  double a;     // semi-major axis, m
  double invF;  // inverse flattening; 0 stands for a sphere (f = 0)
};
inline constexpr Row TABLE[SPHERE + 1] = {
    {6378137.0, 298.257222101},  // GRS80 [2]
    {6378137.0, 298.257223563},  // WGS84 [1]
    {6378136.0, 298.257839303},  // PZ-90 [3]
    {6377397.155, 299.1528128},  // Bessel 1841
    {6371000.0, 0.0},            // sphere of mean Earth radius
};
}  // namespace elipsoidns

// Rotational ellipsoid given by its semi-major axis a (m) and flattening f.
class elipsoid {
 public:
  elipsoid() : a(0), f(0) {}  // Set must be called before use
  elipsoid(const elipsoid& el) = default;
  elipsoid& operator=(const elipsoid& el) = default;
  ~elipsoid() = default;

  // Takes a and f of a predefined ellipsoid (elipsoidns); f = 1 / (1/f) in double.
  void Set(int elp) {
    if (elp < elipsoidns::GRS80 || elp > elipsoidns::SPHERE)
      ProgramError("Function:   elipsoid::Set()", "Improper ELLIPSOID setting!", false);
    const elipsoidns::Row& row = elipsoidns::TABLE[elp];
    a = row.a;
    f = row.invF == 0.0 ? 0.0 : 1.0 / row.invF;
  }

  long double GetA() const { return a; }
  long double GetF() const { return f; }
  long double GetESQR() const { return f + f - f * f; }   // first eccentricity squared
  long double GetE() const { return std::sqrt(GetESQR()); }  // first eccentricity
  long double GetB() const { return a * (1 - f); }         // semi-minor axis, m
  long double GetE2() const {                              // second eccentricity
    return std::sqrt(GetESQR()) / (1 - f);
  }
  long double GetF2() const { return f / (1 - f); }        // second flattening (a-b)/b

 private:
  long double a;
  long double f;
};

// Print and read settings of flh; nothing in the system changes the defaults.
namespace flhns {
// Angle layouts (Unit) and time factors (UnitT; NS does not fit in 16 bits).
enum { RAD = 0, DEG = 1, GON = 2, DMS = 3, DMSV = 4, SINEX = 5, S = 1, MS = 1000, NS = 1000000000 };

inline uint16_t NDecFL = 8;     // decimals of latitude and longitude
inline uint16_t NDecH = 4;      // decimals of the height
inline uint16_t NDecT = 6;      // decimals of t
inline uint16_t WidthFL = 14;   // field width of latitude and longitude
inline uint16_t WidthH = 14;    // field width of the height
inline uint16_t WidthT = 12;    // field width of t
inline bool PrintTime = false;  // output appends t
inline bool ReadTime = false;   // input reads t
inline uint16_t Unit = RAD;     // angle layout of output and input
inline uint16_t UnitT = 1;      // t is printed times UnitT, read divided by it

// SINEX site-identification layout: angles 11 wide with 1 decimal of seconds,
// height 7 wide with 1 decimal.
constexpr int kSinexAngleWidth = 11;
constexpr int kSinexAngleNDec = 1;
constexpr int kSinexHeightWidth = 7;
constexpr int kSinexHeightNDec = 1;
}  // namespace flhns

// Geodetic position: latitude f (rad, -pi/2..pi/2), longitude l (rad, -pi..pi),
// ellipsoidal height h (m) and a fourth component t carried through.
class flh {
 public:
  flh() : f(0), l(0), h(0), t(0) {}
  flh(long double fi, long double la, long double hh) : f(fi), l(la), h(hh), t(0) { TestPos(); }
  flh(long double fi, long double la, long double hh, long double tt)
      : f(fi), l(la), h(hh), t(tt) {
    TestPos();
  }
  // Copies validate, as the constructor with values does.
  flh(const flh& p) : flh(p.f, p.l, p.h, p.t) {}
  ~flh() = default;

  // Setters do not test the range.
  void Set(long double fi, long double la, long double hh) { Set(fi, la, hh, 0); }
  void Set(long double fi, long double la, long double hh, long double tt) {
    f = fi;
    l = la;
    h = hh;
    t = tt;
  }
  void SetF(long double v) { f = v; }
  void SetL(long double v) { l = v; }
  void SetH(long double v) { h = v; }
  void SetT(long double v) { t = v; }
  long double GetF() const { return f; }
  long double GetL() const { return l; }
  long double GetH() const { return h; }
  long double GetT() const { return t; }

  // Ranges use pi of double precision; a NaN fails.
  bool TestFi() const { return f >= -pi / 2 && f <= pi / 2; }
  bool TestLa() const { return l >= -pi && l <= pi; }
  void TestPos() const {
    if (!TestFi()) ProgramError("Function:   flh::TestPos()", "Input LATITUDE not valid", false);
    if (!TestLa()) ProgramError("Function:   flh::TestPos()", "Input LONGITUDE not valid", false);
  }

  flh& operator=(const flh& p) {
    if (this == &p) return *this;
    Set(p.f, p.l, p.h, p.t);
    TestPos();
    return *this;
  }
  // Sum and difference of all four components, t included, then the range test.
  flh& operator+=(const flh& p) {
    coord4::Ops::Add(*this, p);
    TestPos();
    return *this;
  }
  flh& operator-=(const flh& p) {
    coord4::Ops::Sub(*this, p);
    TestPos();
    return *this;
  }

  // Same object, or every component (t included) closer than coord4::EQUAL_TOL.
  bool operator==(const flh& p) const { return coord4::Ops::Equal(*this, p); }
  bool operator!=(const flh& p) const { return !(*this == p); }

  friend std::ostream& operator<<(std::ostream& os, const flh& p);
  friend std::istream& operator>>(std::istream& is, flh& p);

 private:
  long double f;
  long double l;
  long double h;
  long double t;

  friend struct coord4::Ops;
  using Members = long double flh::* const[4];
  static const Members& Components() {
    static constexpr long double flh::*m[4] = {&flh::f, &flh::l, &flh::h, &flh::t};
    return m;
  }
};

// Built from a zero position: the assignment of p1 and the sum each run the range test.
inline flh operator+(const flh& p1, const flh& p2) { return coord4::Sum(p1, p2); }
inline flh operator-(const flh& p1, const flh& p2) { return coord4::Difference(p1, p2); }

namespace flhns {
// An angle of the numeric layouts (RAD, DEG, GON, DMS: the packed degrees-minutes-
// seconds number) from radians, and back.
inline long double AngleOut(long double rad) {
  switch (Unit) {
    case DEG: return rad2deg(rad);
    case GON: return rad2gon(rad);
    case DMS: return rad2dms(rad);
    default: return rad;
  }
}
inline long double AngleIn(long double a) {
  switch (Unit) {
    case DEG: return deg2rad(a);
    case GON: return deg2rad(a * 9 / 10);  // gon -> degrees by the factor 0.9
    case DMS: return dms2rad(a);
    default: return a;
  }
}

// Reads one angle written as integer degrees, integer minutes and seconds and
// returns it in degrees. The sign comes from the text of the degrees, so an
// angle between -1 and 0 degrees written as "-0 30 0" keeps its sign.
inline long double ReadDMSAngle(std::istream& is) {
  std::string deg;
  long m = 0;
  double s = 0;
  is >> deg >> m >> s;
  char* end = nullptr;
  const long d = std::strtol(deg.c_str(), &end, 10);
  if (deg.empty() || *end != '\0') is.setstate(std::ios::failbit);
  const bool negative = !deg.empty() && deg[0] == '-';
  const long double ad = std::fabs(static_cast<long double>(d));
  const long double angle = ad + m / 60.0L + s / 3600.0L;
  return negative ? -angle : angle;
}

// Writes a radian angle as the text of its packed degrees-minutes-seconds,
// right-aligned in width. With apart, a text that fills its field and starts
// with a digit or sign gets one blank before it, so that it cannot run into
// the seconds of the field before (three-digit or negative two-digit degrees
// are longer than the default width).
inline void WriteDMSAngle(std::ostream& os, long double rad, int width, int ndec,
                          bool apart = false) {
  const std::string text = dms2dms(rad2dms(rad), ndec);
  if (apart && static_cast<int>(text.size()) >= width && text[0] != ' ') os << ' ';
  os << std::setw(width) << text;
}
}  // namespace flhns

// Latitude, longitude and height in the layout of flhns::Unit (SINEX writes the
// longitude first), then with PrintTime t * UnitT. Leaves the stream fixed.
inline std::ostream& operator<<(std::ostream& os, const flh& p) {
  using namespace flhns;
  os << std::fixed;
  switch (Unit) {
    case RAD:
    case DEG:
    case GON:
    case DMS:
      coord4::WriteCoords(os, AngleOut(p.f), AngleOut(p.l), p.h, WidthFL, NDecFL, WidthH, NDecH);
      break;
    case DMSV:
      WriteDMSAngle(os, p.f, WidthFL, NDecFL);
      WriteDMSAngle(os, p.l, WidthFL, NDecFL, true);
      coord4::WriteField(os, p.h, WidthH, NDecH);
      break;
    case SINEX:
      WriteDMSAngle(os, p.l, kSinexAngleWidth, kSinexAngleNDec);
      os << " ";
      WriteDMSAngle(os, p.f, kSinexAngleWidth, kSinexAngleNDec);
      os << " ";
      coord4::WriteField(os, p.h, kSinexHeightWidth, kSinexHeightNDec);
      break;
    default:
      break;
  }
  coord4::WriteT(os, PrintTime, p.t, UnitT, WidthT, NDecT);
  return os;
}

// Reads latitude, longitude and height in the layout of flhns::Unit (each
// layout reads what its output writes; SINEX longitude first), then t when
// ReadTime, and ends the program on an angle out of range.
inline std::istream& operator>>(std::istream& is, flh& p) {
  using namespace flhns;
  switch (Unit) {
    case RAD:
    case DEG:
    case GON:
    case DMS:
      is >> p.f >> p.l >> p.h;
      p.f = AngleIn(p.f);
      p.l = AngleIn(p.l);
      break;
    case DMSV:
      p.f = deg2rad(ReadDMSAngle(is));
      p.l = deg2rad(ReadDMSAngle(is));
      is >> p.h;
      break;
    case SINEX:
      p.l = deg2rad(ReadDMSAngle(is));
      p.f = deg2rad(ReadDMSAngle(is));
      is >> p.h;
      break;
    default:
      break;
  }
  coord4::ReadT(is, ReadTime, p.t, UnitT);
  p.TestPos();
  return is;
}

// Geodetic to Cartesian coordinates on the ellipsoid elps [4]; t carried over.
inline xyz flh2xyz(const flh& pos, const elipsoid& elps) {
  const long double e = elps.GetE();
  const long double N = PolmerN(pos.GetF(), elps.GetA(), e);
  const long double cf = std::cos(pos.GetF());
  return xyz((N + pos.GetH()) * cf * std::cos(pos.GetL()),
             (N + pos.GetH()) * cf * std::sin(pos.GetL()),
             ((1 - e * e) * N + pos.GetH()) * std::sin(pos.GetF()), pos.GetT());
}

// Cartesian to geodetic coordinates on the ellipsoid elps by fixed-point
// iteration of the latitude [4]; t carried over, no range test on the result.
inline flh xyz2flh(const xyz& ecef, const elipsoid& elps) {
  const long double kLatTol = 1e-14;  // rad; double value of 1e-14
  const int kMaxPasses = 100;         // converges in a handful of passes
  const long double x = ecef.GetX(), y = ecef.GetY(), z = ecef.GetZ();
  const long double e = elps.GetE();
  flh res;

  // On the Z axis the longitude is undefined: take 0, and the pole (or, at the
  // centre, the north pole) with the height above the semi-minor axis.
  if (x == 0 && y == 0) {
    const long double b = elps.GetA() * std::sqrt(1 - e * e);
    res.Set(z < 0 ? -pi / 2 : pi / 2, 0, std::fabs(z) - b, ecef.GetT());
  } else {
    // Longitude in [-pi, pi): -pi (not +pi) on the negative X axis.
    long double l = std::atan(y / x);
    if (x < 0) l = y > 0 ? l + pi : l - pi;

    const long double p = std::sqrt(x * x + y * y);
    long double fi0 = std::atan(z / ((1 - e) * p * (1 + e)));
    long double fi = fi0, h = 0, change = 0;
    int pass = 0;
    do {
      const long double N = PolmerN(fi0, elps.GetA(), e);
      h = p / std::cos(fi0) - N;
      fi = std::atan(z / ((1 - e * e * N / (N + h)) * p));
      change = std::fabs(fi - fi0);
      fi0 = fi;
    } while (change > kLatTol && ++pass < kMaxPasses);
    res.Set(fi, l, h, ecef.GetT());
  }
  return res;  // one named result: returned without a (range-testing) copy
}
