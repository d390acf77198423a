// Tests of the GNSS constants GNSSc: per-system constants, the precision of the
// decimal constants, carrier frequencies and wavelengths, GLONASS channels, names.
#include "gdata/GNSSc.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "support/capture.h"

namespace {

TEST(GNSScTest, PerSystemConstants) {
  GNSSc k;
  EXPECT_EQ(k.GetC(), 299792458.0L);
  EXPECT_EQ(k.GetGMEarth('G'), 3.986005e14L);
  EXPECT_EQ(k.GetGMEarth('J'), 3.986005e14L);
  EXPECT_EQ(k.GetGMEarth('I'), 3.986005e14L);
  EXPECT_EQ(k.GetGMEarth('S'), 3.986004418e14L);
  EXPECT_EQ(k.GetGMEarth('R'), 3.986004418e14L);
  EXPECT_EQ(k.GetGMEarth('E'), 3.986004418e14L);
  EXPECT_EQ(k.GetGMEarth('C'), 3.986004418e14L);
  EXPECT_EQ(k.GetGMEarth('r'), 3.986005e14L);  // lower case: the GPS value

  // The decimal constants are the double-precision values held in extended precision.
  const long double wG = 7.2921151467e-5, wR = 7.292115e-5;
  EXPECT_EQ(k.GetWEarth('G'), wG);
  EXPECT_NE(k.GetWEarth('G'), 7.2921151467e-5L);
  EXPECT_EQ(k.GetWEarth('E'), wG);
  EXPECT_EQ(k.GetWEarth('J'), wG);
  EXPECT_EQ(k.GetWEarth('R'), wR);
  EXPECT_EQ(k.GetWEarth('S'), wR);
  EXPECT_EQ(k.GetWEarth('C'), wR);
  EXPECT_EQ(k.GetWEarth('x'), wG);

  const long double kG = -4.442807633e-10, kE = -4.442807309e-10;
  EXPECT_EQ(k.GetkRelativity('G'), kG);
  EXPECT_NE(k.GetkRelativity('G'), -4.442807633e-10L);
  EXPECT_EQ(k.GetkRelativity('R'), kG);
  EXPECT_EQ(k.GetkRelativity('S'), kG);
  EXPECT_EQ(k.GetkRelativity('C'), kG);
  EXPECT_EQ(k.GetkRelativity('E'), kE);
  EXPECT_EQ(k.GetkRelativity('?'), kG);

  // The global instance is ready before main.
  EXPECT_EQ(gConst.GetC(), 299792458.0L);
}

TEST(GNSScTest, FrequenciesAndWavelengths) {
  GNSSc k;
  struct { int id; long double hz; } bands[] = {
      {GNSSc::G1, 1575420000}, {GNSSc::G2, 1227600000}, {GNSSc::G5, 1176450000},
      {GNSSc::E1, 1575420000}, {GNSSc::E5, 1176450000}, {GNSSc::E6, 1278750000},
      {GNSSc::E7, 1207140000}, {GNSSc::E8, 1191795000}, {GNSSc::C1, 1575420000},
      {GNSSc::C2, 1561098000}, {GNSSc::C5, 1176450000}, {GNSSc::C6, 1268520000},
      {GNSSc::C7, 1207140000}, {GNSSc::C8, 1191795000}, {GNSSc::S1, 1575420000},
      {GNSSc::S5, 1176450000}, {GNSSc::J1, 1575420000}, {GNSSc::J2, 1227600000},
      {GNSSc::J5, 1176450000}, {GNSSc::J6, 1278750000}, {GNSSc::I5, 1176450000},
      {GNSSc::R3, 1202025000}, {GNSSc::R4, 1600995000}, {GNSSc::R6, 1248060000},
  };
  for (const auto& b : bands) {
    EXPECT_EQ(k.GetFrequency(b.id), b.hz) << "identifier " << b.id;
    EXPECT_EQ(k.GetWaveLength(b.id), 299792458.0L / b.hz) << "identifier " << b.id;
  }
  EXPECT_EQ(GNSSc::G1, 0);
  EXPECT_EQ(GNSSc::R6, 27);
  // 243.6 f0, with the factor at double precision.
  EXPECT_NEAR((double)k.GetFrequency(GNSSc::I9), 2492028000.0, 1e-3);
  EXPECT_NEAR((double)(k.GetWaveLength(GNSSc::I9) * k.GetFrequency(GNSSc::I9)), 299792458.0, 1e-6);
  // The satellite-independent bands give the same with a satellite.
  EXPECT_EQ(k.GetFrequency(GNSSc::E6, rSat('E', 1)), 1278750000.0L);
}

TEST(GNSScTest, SatelliteDependentAndWrongIdentifiersWarn) {
  CaptureResult r = RunCaptured([] {
    GNSSc k;
    const long double a = k.GetFrequency(23), b = k.GetFrequency(28), c = k.GetFrequency(-1);
    printf("%.1Lf %.1Lf %.1Lf\n", a, b, c);
  });
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "0.0 0.0 0.0\n");
  EXPECT_EQ(r.err, WarningFrame("Function:   GNSSc::GetFrequency(FI)", "GLONASS G1 freqency satellite dependent!") +
                       WarningFrame("Function:   GNSSc::GetFrequency(FI)", "Wrong input frequency identifier!") +
                       WarningFrame("Function:   GNSSc::GetFrequency(FI)", "Wrong input frequency identifier!"));

  r = RunCaptured([] {
    GNSSc k;
    const long double a = k.GetWaveLength(24), b = k.GetWaveLength(28), c = k.GetWaveLength(28, rSat('R', 1));
    printf("%.1Lf %.1Lf %.1Lf\n", a, b, c);
  });
  EXPECT_EQ(r.out, "0.0 0.0 0.0\n");
  EXPECT_EQ(r.err, WarningFrame("Function:   GNSSc::GetWaveLength(WI)", "GLONASS G2 wavelength satellite dependent!") +
                       WarningFrame("Function:   GNSSc::GetWaveLength", "Wrong input wavelength identifier!") +
                       WarningFrame("Function:   GNSSc::GetWaveLength", "Wrong input wavelength identifier!"));
}

TEST(GNSScTest, GlonassChannels) {
  // Channel -7 of R05: 1602 - 7 * 0.5625 MHz on G1 and 1246 - 7 * 0.4375 MHz on G2.
  CaptureResult r = RunCaptured([] {
    GNSSc k;
    rSat r05('R', 5), r06('R', 6), g05('G', 5);
    k.SetRFreqChannel(r05, -7);
    printf("%.1Lf %.1Lf %d %d %.1Lf\n", k.GetFrequency(23, r05), k.GetFrequency(24, r05), k.IsRFreqChannSet(r05),
           k.IsRFreqChannSet(r06), k.GetRFreqChannel(r05));
    printf("%.12Lf\n", k.GetWaveLength(23, r05) * 1598062500.0L);
    fflush(stdout);
    const long double f06 = k.GetFrequency(23, r06), w05 = k.GetWaveLength(24, g05);
    printf("%.1Lf %.1Lf\n", f06, w05);
  });
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "1598062500.0 1242937500.0 1 0 -7.0\n299792458.000000000000\n0.0 0.0\n");
  EXPECT_EQ(r.err, WarningFrame("Function:   GNSSc::GetFrequency(FI,S)",
                                "GLONASS FREQUENCY CHANNEL not set for satellite: R06!") +
                       WarningFrame("Function:   GNSSc::GetWaveLength(FI,S)",
                                    "Input sattelite not GLONASS satellite: G05!"));

  // The lists hold satellite numbers below 50.
  r = RunCaptured([] {
    GNSSc k;
    k.SetRFreqChannel(rSat('R', 50), 1);
  });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, ErrorFrame("Operator:   myList::()", "List index not in range: i=50 not in [0,49]"));
}

TEST(GNSScTest, CarrierNames) {
  GNSSc k;
  char cn[32];
  EXPECT_STREQ(k.SetCarrierName(GNSSc::J5, cn), "QZSS L5 (X[CLDS]5x)");
  EXPECT_STREQ(k.SetCarrierName(GNSSc::G1, cn), "GPS L1 ([CLDS]1x)");
  EXPECT_STREQ(k.SetCarrierName(GNSSc::C8, cn), "BDS B2A+B2B ([CLDS]8x)");
  EXPECT_STREQ(k.SetCarrierName(GNSSc::R6, cn), "GLONASS G6 ([CLDS]6x)");
  for (int t = 0; t < 28; ++t) EXPECT_LT(strlen(k.SetCarrierName(t, cn)), 23u) << "identifier " << t;

  CaptureResult r = RunCaptured([] {
    GNSSc k;
    char buf[32] = "unchanged";
    printf("%s\n", k.SetCarrierName(30, buf));
  });
  EXPECT_EQ(r.out, "unchanged\n");
  EXPECT_EQ(r.err, WarningFrame("Function:   GNSSc::SetCarrierName(FI,name)", "Wrong input frequency identifier!"));
}

}  // namespace
