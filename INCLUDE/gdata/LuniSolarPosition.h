// Low-precision sun and moon directions (unit vectors, Earth-fixed) and
// distances (m), Greenwich and local mean sidereal time (rad), and the body
// axes of a GNSS satellite from its and the sun's positions. Epochs are GPS
// time (mjd); the series run in UTC via the leap-second table.
// [1] D. A. Vallado, Fundamentals of Astrodynamics and Applications, 2nd ed.,
//     algorithms 15 (GSTIME), 29 (SUN) and 31 (MOON), after the Astronomical Almanac
// [2] S. Aoki et al. (1982), The new definition of universal time, A&A 105 (IAU 1982 GMST)
// [3] IGS/RINEX satellite body frame convention (Z to the Earth, Y along Z x sun)
#pragma once

#include <cmath>  // fmod, sin, cos

#include "gdata/flh.h"       // flh, elipsoidns
#include "gdata/mjd.h"       // mjd, tcns
#include "gdata/timeconv.h"  // LeapSecond
#include "gdata/xyz.h"       // xyz

// Every constant below is the double nearest to the decimal written, widened
// to long double; the arithmetic is long double.
class LuniSolarPosition {
 public:
  LuniSolarPosition()
      : twopi(6.283185307179586),
        AU(149597870.0),
        RE(elipsoidns::TABLE[elipsoidns::WGS84].a / 1000.0),  // km; the double of 6378.137
        d2r(0.017453292519943295),
        SECDAY(tcns::SECDAY) {}
  ~LuniSolarPosition() = default;

  // Greenwich mean sidereal time (rad, [0, 2 pi)) by the IAU 1982 series [1, 2].
  long double GSTime(const mjd& ephUT1) const {
    const long double T = TUT1(ephUT1);
    // Sidereal seconds; the linear term is 876600 h * 3600 s + 8640184.812866 s.
    const long double g = 67310.54841 + 3164400184.812866 * T + 0.093104 * T * T -
                          6.2e-6 * T * T * T;
    long double gst = std::fmod(g * d2r / 240, twopi);  // 240 s of time per degree
    if (gst < 0) gst += twopi;
    return gst;
  }

  // Local mean sidereal time (rad, [0, 2 pi)) at the longitude of gpos.
  long double LSTime(const mjd& ephUT1, const flh& gpos) const {
    long double lst = std::fmod(GSTime(ephUT1) + gpos.GetL(), twopi);
    if (lst < 0) lst += twopi;
    return lst;
  }

  // Sun direction uvec (Earth-fixed unit vector; its t is left as it was) and
  // distance magr (m) at the epoch eph [1, alg. 29].
  void SunPosition(const mjd& eph, xyz& uvec, long double& magr) const {
    const long double T = TUT1(eph);
    const long double gst = std::fmod(GSTime(eph), twopi);

    // Mean longitude (deg) and mean anomaly M (rad) of the sun.
    const long double meanlong = std::fmod(280.4606184 + 36000.77005361 * T, 360);
    long double meananomaly = std::fmod((357.5277233 + 35999.05034 * T) * d2r, twopi);
    if (meananomaly < 0) meananomaly += twopi;

    // Ecliptic longitude (rad) and obliquity of the ecliptic (rad).
    long double eclplong = meanlong + 1.914666471 * std::sin(meananomaly) +
                           0.019994643 * std::sin(2 * meananomaly);
    eclplong = eclplong * d2r;
    const long double obliquity = (23.439291 - 0.0130042 * T) * d2r;

    magr = ((1.000140612 - 0.016708617 * std::cos(meananomaly)) -
            0.000139589 * std::cos(2 * meananomaly)) *
           AU * 1000;

    // Celestial direction, then turned into the Earth-fixed frame.
    uvec.SetX(std::cos(eclplong));
    uvec.SetY(std::cos(obliquity) * std::sin(eclplong));
    uvec.SetZ(std::sin(obliquity) * std::sin(eclplong));
    uvec = uvec.RotateZ(-gst);
  }

  // Moon direction uvec (Earth-fixed unit vector; its t is left as it was) and
  // distance magr (m) at the epoch eph [1, alg. 31].
  void MoonPosition(const mjd& eph, xyz& uvec, long double& magr) const {
    const long double T = TUT1(eph);
    const long double gst = std::fmod(GSTime(eph), twopi);

    // Ecliptic longitude, latitude and horizontal parallax (deg).
    long double eclplong = 218.32 + 481267.8813 * T + 6.29 * Sin(134.9, 477198.85, T) -
                           1.27 * Sin(259.2, -413335.38, T) + 0.66 * Sin(235.7, 890534.23, T) +
                           0.21 * Sin(269.9, 954397.70, T) - 0.19 * Sin(357.5, 35999.05, T) -
                           0.11 * Sin(186.6, 966404.05, T);
    long double eclplat = 5.13 * Sin(93.3, 483202.03, T) + 0.28 * Sin(228.2, 960400.87, T) -
                          0.28 * Sin(318.3, 6003.18, T) - 0.17 * Sin(217.6, -407332.20, T);
    long double hzparal = 0.9508 + 0.0518 * Cos(134.9, 477198.85, T) +
                          0.0095 * Cos(259.2, -413335.38, T) + 0.0078 * Cos(235.7, 890534.23, T) +
                          0.0028 * Cos(269.9, 954397.70, T);

    eclplong = std::fmod(eclplong * d2r, twopi);
    eclplat = std::fmod(eclplat * d2r, twopi);
    hzparal = std::fmod(hzparal * d2r, twopi);
    const long double obliquity = (23.439291 - 0.0130042 * T) * d2r;

    magr = (RE / std::sin(hzparal)) * 1000;

    const long double cb = std::cos(eclplat), sb = std::sin(eclplat);
    const long double ce = std::cos(obliquity), se = std::sin(obliquity);
    uvec.SetX(cb * std::cos(eclplong));
    uvec.SetY(ce * cb * std::sin(eclplong) - se * sb);
    uvec.SetZ(se * cb * std::sin(eclplong) + ce * sb);
    uvec = uvec.RotateZ(-gst);
  }

 private:
  static constexpr long double kJDofMJD0 = 2400000.5;  // Julian date of MJD 0
  static constexpr long double kJ2000 = 2451545.0;     // Julian date of J2000.0
  static constexpr long double kDaysPerCentury = 36525.0;

  // Julian centuries of UT1 (taken as UTC) from J2000.0 for a GPS-time epoch.
  long double TUT1(const mjd& t) const {
    const long double leap = LeapSecond(t);
    return (((kJDofMJD0 + t.GetMJDay()) - kJ2000) + t.GetSecond() / SECDAY - leap / SECDAY) /
           kDaysPerCentury;
  }
  // sin and cos of the angle (a + b T) degrees.
  long double Sin(long double a, long double b, long double T) const {
    return std::sin((a + b * T) * d2r);
  }
  long double Cos(long double a, long double b, long double T) const {
    return std::cos((a + b * T) * d2r);
  }

  long double twopi;   // 2 pi
  long double AU;      // astronomical unit, km
  long double RE;      // Earth radius, km
  long double d2r;     // degrees to radians
  long double SECDAY;  // seconds per day
};

// Body axes of a GNSS satellite [3]: Zv from the satellite towards the Earth's
// centre, Yv = unit(Zv x satellite-to-sun), Xv = unit(Yv x Zv); right-handed,
// t = 0 in each. pSat and pSun are positions in one frame and unit. With the
// sun in line with the satellite and the Earth's centre the frame is undefined
// and Xv and Yv come out zero.
inline void GNSSSatBasis(xyz& Xv, xyz& Yv, xyz& Zv, const xyz& pSat, const xyz& pSun) {
  Zv = pSat.GetUnitVector(-1);
  const xyz Sat2Sun = (pSun - pSat).GetUnitVector(1);
  Yv = CrossP(Zv, Sat2Sun).GetUnitVector(1);
  Xv = CrossP(Yv, Zv).GetUnitVector(1);
}
