// Tests of the ANTEX reader on real CODE M14 satellite blocks: counts per system,
// summary, the block valid at an epoch among blocks of one satellite that follow
// each other, touch or overlap (the first valid one in the file), offsets in metres and the frequency of
// each system's correction, the GPS stand-in for E1, R1 and R2, key texts,
// and the writer round trip.
#include "igsforms/antex.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "gdata/GNSSsys.h"
#include "support/capture.h"

namespace {

const std::string kData = std::string(MORVI_TEST_DATA) + "/antex/";

antex& Trimmed() {
  static antex* a = [] {
    auto* x = new antex;
    x->SetFile((kData + "M14_sats_trim.atx").c_str());
    x->ReadFile();
    return x;
  }();
  return *a;
}

mjd Epoch(int y, int mo, int d, int h = 0, int mi = 0, long double s = 0) {
  return ymdhms2mjd(ymdhms(y, mo, d, h, mi, s));
}

// Selects sat at the epoch and returns the SVN of the chosen block ("" for none).
std::string Chosen(antex& a, const char* sat, mjd t) {
  rSat s;
  s = sat;
  a.SetSatellite(s, t);
  if (a.GetAtxIndex() == -1) return "";
  std::string opt = a.AtxData(a.GetAtxIndex()).pcvTypeSer.satOption;
  return opt.substr(0, 4);
}

void ExpectOffset(const neu& o, double n, double e, double u, const char* what) {
  EXPECT_NEAR(static_cast<double>(o.GetN()), n, 1e-12) << what;
  EXPECT_NEAR(static_cast<double>(o.GetE()), e, 1e-12) << what;
  EXPECT_NEAR(static_cast<double>(o.GetU()), u, 1e-12) << what;
  EXPECT_EQ(o.GetT(), 0) << what;
}

TEST(AntexReaderTest, CountsAndSummaryOfTheRealFile) {
  antex& a = Trimmed();
  EXPECT_EQ(a.atxSum.nAntennae, 27);
  EXPECT_EQ(a.AtxData.Length(), 27);
  EXPECT_EQ(a.atxSum.nGPS, 18);
  EXPECT_EQ(a.atxSum.nGLN, 3);
  EXPECT_EQ(a.atxSum.nGAL, 2);
  EXPECT_EQ(a.atxSum.nBDS, 1);
  EXPECT_EQ(a.atxSum.nQZS, 2);
  EXPECT_EQ(a.atxSum.nIRN, 1);
  EXPECT_EQ(a.atxSum.nSBS, 0);
  EXPECT_EQ(a.atxSum.nREC, 0);
  EXPECT_EQ(a.aVersSys.Version, 3);
  EXPECT_EQ(a.aVersSys.SatSystem, 'M');
  EXPECT_EQ(a.aTypeRef.Type, 'A');

  CaptureResult r = RunCaptured([&] { a.PrintSummary(); });
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out,
            "  Version/System:  1.4 / M: MIXED            \n"
            "  Type/Ref.Antenna/Serial: A /                      /                     \n"
            "  #GNSS Antennae:     27\n"
            "   GPS     :          18\n"
            "   GLONASS :           3\n"
            "   Galileo :           2\n"
            "   BeiDou  :           1\n"
            "   QZSS    :           2\n"
            "   IRNSS   :           1\n"
            "\n");
}

TEST(AntexReaderTest, BlockValidAtAnEpochAmongFollowingBlocks) {
  antex& a = Trimmed();
  // G01: G032 to 2008-10-16, G037 2008-10-23 to 2009-01-06, G049 2009-03-24 to 2011-05-06,
  // G035 2011-06-02 to 2011-07-12, G063 from 2011-07-16 (each until 23:59:59.9999999).
  EXPECT_EQ(Chosen(a, "G01", Epoch(2000, 1, 1)), "G032");
  EXPECT_EQ(Chosen(a, "G01", Epoch(2009, 1, 6, 12)), "G037");
  EXPECT_EQ(Chosen(a, "G01", Epoch(2009, 2, 1)), "");  // between two blocks
  EXPECT_EQ(Chosen(a, "G01", Epoch(2011, 7, 12, 23, 59, 59.9999999L)), "G035");  // at eUntil
  EXPECT_EQ(Chosen(a, "G01", Epoch(2011, 7, 16)), "G063");                       // at eFrom
  EXPECT_EQ(Chosen(a, "G01", Epoch(2023, 7, 8)), "G063");
  // G04: G074 (IIIA) to 2019-07-12, G036 (IIA) 2019-07-13 to 2019-10-08, G074 again from 2019-10-21.
  EXPECT_EQ(Chosen(a, "G04", Epoch(2019, 7, 12, 12)), "G074");
  EXPECT_EQ(Chosen(a, "G04", Epoch(2019, 7, 13)), "G036");
  EXPECT_EQ(Chosen(a, "G04", Epoch(2019, 10, 15)), "");
  EXPECT_EQ(Chosen(a, "G04", Epoch(2023, 7, 8)), "G074");
  EXPECT_EQ(Chosen(a, "G02", Epoch(2023, 7, 8)), "");  // not in the file
  // A missing selection gives zero offsets and variations.
  ExpectOffset(a.GetPhCOffset(GNSSc::G1), 0, 0, 0, "no block");
  EXPECT_EQ(a.GetPhCVariation(GNSSc::G1, 5.0f, 0.0f), 0.0);
}

TEST(AntexReaderTest, FirstValidBlockInTheFileWinsWhereBlocksTouchOrOverlap) {
  // Three G04 blocks in this file order: G034 2010-01-01 to 2015-01-01 00:00,
  // G049 from 2015-01-01 00:00 to 2020 (touching the first), G001 2005 to 2012
  // (overlapping the first, though it begins earlier).
  antex a;
  a.SetFile((kData + "touching.atx").c_str());
  a.ReadFile();
  ASSERT_EQ(a.atxSum.nAntennae, 3);
  struct Case {
    mjd t;
    const char* svn;
    double up;  // G01 offset of the block (m)
  } cases[] = {{Epoch(2015, 1, 1), "G034", 2.3524},               // the shared boundary: the first
               {Epoch(2014, 12, 31, 23, 59, 59), "G034", 2.3524},
               {Epoch(2015, 1, 1, 0, 0, 1), "G049", 0.9632},      // inside the second only
               {Epoch(2020, 1, 1), "G049", 0.9632},
               {Epoch(2011, 6, 1), "G034", 2.3524},               // both valid: the first in the file
               {Epoch(2010, 1, 1), "G034", 2.3524},
               {Epoch(2009, 12, 31, 23, 59, 59), "G001", 1.9},    // the third alone
               {Epoch(2004, 12, 31), "", 0},
               {Epoch(2020, 1, 1, 0, 0, 1), "", 0}};
  for (Case& c : cases) {
    const std::string svn = Chosen(a, "G04", c.t);
    EXPECT_EQ(svn, c.svn) << "MJD " << c.t.GetMJDay() << " " << static_cast<double>(c.t.GetSecond());
    EXPECT_NEAR(static_cast<double>(a.GetPhCOffset(GNSSc::G1).GetU()), c.up, 1e-12) << svn;
  }
}

TEST(AntexReaderTest, OffsetsInMetresPerFrequency) {
  antex& a = Trimmed();
  mjd t = Epoch(2023, 7, 8);
  Chosen(a, "G01", t);  // BLOCK IIF G063: 394.00, 0.00, 1501.80 mm on G01 and G02
  ExpectOffset(a.GetPhCOffset(GNSSc::G1), 0.394, 0.0, 1.5018, "G01 G1");
  ExpectOffset(a.GetPhCOffset(GNSSc::G2), 0.394, 0.0, 1.5018, "G01 G2");
  ExpectOffset(a.GetPhCOffset(GNSSc::G5), 0, 0, 0, "G01 has no G05");
  ExpectOffset(a.GetPhCOffset(-1), 0, 0, 0, "identifier below range");
  ExpectOffset(a.GetPhCOffset(28), 0, 0, 0, "identifier above range");
  Chosen(a, "G04", t);  // BLOCK IIIA G074: G01 3.80, -18.10, 1232.40 mm; G02 3.10, -16.20, 740.50; G05
  ExpectOffset(a.GetPhCOffset(GNSSc::G1), 0.0038, -0.0181, 1.2324, "G04 G1");
  ExpectOffset(a.GetPhCOffset(GNSSc::G2), 0.0031, -0.0162, 0.7405, "G04 G2");
  ExpectOffset(a.GetPhCOffset(GNSSc::G5), 0.0032, -0.0163, 0.7787, "G04 G5");
  // The frequency that corrects a broadcast position: G01, E01 of a block whose E05 is 1351.20 mm up.
  auto ofSystem = [](antex& x, char sys) { return x.GetPhCOffset(antex::FrequencyOf(gnss::Of(sys)->antexFreq)); };
  ExpectOffset(ofSystem(a, 'G'), 0.0038, -0.0181, 1.2324, "G04 by the GPS frequency");
  antex e52;
  e52.SetFile((kData + "E52_frequencies.atx").c_str());
  e52.ReadFile();
  EXPECT_EQ(Chosen(e52, "E52", Epoch(2010, 1, 1)), "E002");
  ExpectOffset(ofSystem(e52, 'E'), -0.0032, 0.0034, 1.3517, "E52 by the Galileo frequency");
  EXPECT_EQ(Chosen(a, "E01", t), "E210");  // 120.00, -10.00, 1100.00 mm
  ExpectOffset(a.GetPhCOffset(GNSSc::E1), 0.12, -0.01, 1.1, "E01 E1");
  EXPECT_EQ(Chosen(a, "R01", t), "R730");  // own R01 / R02 sections
  neu r1 = a.GetPhCOffset(GNSSc::R1);
  EXPECT_NE(r1.GetU(), 0);
  ExpectOffset(a.GetPhCOffset(GNSSc::G1), 0, 0, 0, "a GLONASS block has no G01");
  EXPECT_EQ(Chosen(a, "J02", t), "J002");  // QZSS offsets written with one decimal
  ExpectOffset(a.GetPhCOffset(GNSSc::J1), 0.003, -0.0019, 2.39439, "J02 J1");
  ExpectOffset(a.GetPhCOffset(GNSSc::J6), 0.003, -0.0019, 3.31439, "J02 J6");
  EXPECT_EQ(Chosen(a, "C01", t), "C003");
  EXPECT_NE(a.GetPhCOffset(GNSSc::C2).GetU(), 0);
  EXPECT_NE(Chosen(a, "I01", t), "");
  EXPECT_NE(a.GetPhCOffset(GNSSc::I5).GetU(), 0);
}

TEST(AntexReaderTest, GpsSectionsStandInForE1R1R2Only) {
  antex a;
  a.SetFile((kData + "fallback.atx").c_str());
  a.ReadFile();
  ASSERT_EQ(a.atxSum.nAntennae, 2);
  // GLONASS R01 block with sections G01 (0, 0, 2084.10 mm) and G02 (11, -22, 2184.10 mm).
  EXPECT_EQ(Chosen(a, "R01", Epoch(2000, 1, 1)), "R779");
  ExpectOffset(a.GetPhCOffset(GNSSc::R1), 0.0, 0.0, 2.0841, "R1 from G01");
  ExpectOffset(a.GetPhCOffset(GNSSc::R2), 0.011, -0.022, 2.1841, "R2 from G02");
  ExpectOffset(a.GetPhCOffset(GNSSc::R3), 0, 0, 0, "R3 has no stand-in");
  EXPECT_NEAR(a.GetPhCVariation(GNSSc::R1, 0.0f, 0.0f), 0.0019, 1e-12);
  // Galileo E11 block with sections G01 (-170, 30, 950 mm) and C05 (-171, 31, 951 mm).
  EXPECT_EQ(Chosen(a, "E11", Epoch(2020, 1, 1)), "E101");
  ExpectOffset(a.GetPhCOffset(GNSSc::E1), -0.17, 0.03, 0.95, "E1 from G01");
  ExpectOffset(a.GetPhCOffset(GNSSc::E5), 0, 0, 0, "E5 has no stand-in");
  ExpectOffset(a.GetPhCOffset(GNSSc::C5), -0.171, 0.031, 0.951, "C5 answers from its own section");
}

TEST(AntexReaderTest, KeyTextsOfSatelliteAndReceiverBlocks) {
  antex& a = Trimmed();
  // First G01 block: 1992-11-22 (MJD 48948) to 2008-10-16 23:59:59.9999999 (MJD 54755).
  EXPECT_STREQ(a.AtxData(0).aDataS, "00101   48948         0.0   54755     86400.0");
  // Last G01 block: open end, MJD 85000.
  EXPECT_STREQ(a.AtxData(4).aDataS, "00101   55758         0.0   85000         0.0");

  std::string name = ::testing::TempDir() + "atx_rec_" + std::to_string(getpid());
  std::ofstream(name)
      << "     1.4            M                                       ANTEX VERSION / SYST\n"
         "A                                                           PCV TYPE / REFANT\n"
         "                                                            END OF HEADER\n"
         "                                                            START OF ANTENNA\n"
         "AOAD/M_T        NONE    12345                               TYPE / SERIAL NO\n"
         "                                                            END OF ANTENNA\n";
  antex r;
  r.SetFile(name.c_str());
  r.ReadFile();
  unlink(name.c_str());
  EXPECT_EQ(r.atxSum.nREC, 1);
  gAntPCV& b = r.AtxData(0);
  EXPECT_EQ(b.pcvTypeSer.PCVType, 0);
  EXPECT_STREQ(b.pcvTypeSer.Serial, "12345");
  EXPECT_STREQ(b.aDataS, "1AOAD/M_T            12345   44250         0.0   85000         0.0");
  EXPECT_TRUE(r.HasRecAntenna("AOAD/M_T        NONE"));
  EXPECT_TRUE(r.HasRecAntenna("AOAD/M_T        NONE", "12345"));
  EXPECT_FALSE(r.HasRecAntenna("AOAD/M_T        NONE", "99"));
  rSat g;
  g = "G01";
  mjd t = Epoch(2020, 1, 1);
  r.SetSatellite(g, t);
  EXPECT_EQ(r.GetAtxIndex(), -1);  // receiver blocks are never chosen for a satellite
  r.SetAntenna("AOAD/M_T        NONE");
  EXPECT_EQ(r.GetAtxIndex(), 0);
}

TEST(AntexReaderTest, EmptyFileWrittenAndReadBack) {
  // The header of an empty file, written and read again: no blocks, no selection.
  std::string name = ::testing::TempDir() + "atx_empty_" + std::to_string(getpid());
  antex e;
  e.CreateEmpty();
  e.PrintFile(name.c_str());
  antex a;
  a.SetFile(name.c_str());
  a.ReadFile();
  unlink(name.c_str());
  EXPECT_EQ(a.atxSum.nAntennae, 0);
  EXPECT_EQ(a.AtxData.Length(), 0);
  rSat g;
  g = "G01";
  mjd t = Epoch(2020, 1, 1);
  a.SetSatellite(g, t);
  EXPECT_EQ(a.GetAtxIndex(), -1);
  ExpectOffset(a.GetPhCOffset(GNSSc::G1), 0, 0, 0, "empty file");
  CaptureResult r = RunCaptured([&] { a.PrintSummary(); });
  EXPECT_EQ(r.out,
            "  Version/System:  1.4 / M: MIXED            \n"
            "  Type/Ref.Antenna/Serial: A /                      /                     \n"
            "  #GNSS Antennae:      0\n"
            "\n");
}

TEST(AntexReaderTest, WriterRoundTripOfTheSatelliteBlocks) {
  antex a;
  a.SetFile((kData + "M14_sats_trim.atx").c_str());
  a.ReadFile();
  std::string f1 = ::testing::TempDir() + "atx_rt1_" + std::to_string(getpid());
  std::string f2 = ::testing::TempDir() + "atx_rt2_" + std::to_string(getpid());
  // A summary before the writer leaves the header records in their summary layout;
  // the written header must still be ANTEX lines.
  std::string fs = ::testing::TempDir() + "atx_sum_" + std::to_string(getpid());
  a.PrintSummary(fs.c_str());
  unlink(fs.c_str());
  a.PrintFile(f1.c_str());
  EXPECT_EQ(a.aVersSys.PrintType, 1);
  EXPECT_EQ(a.aTypeRef.PrintType, 1);
  antex b;
  b.SetFile(f1.c_str());
  b.ReadFile();
  b.PrintFile(f2.c_str());

  ASSERT_EQ(b.atxSum.nAntennae, a.atxSum.nAntennae);
  EXPECT_EQ(b.atxSum.nGPS, a.atxSum.nGPS);
  EXPECT_EQ(b.atxSum.nQZS, a.atxSum.nQZS);
  for (long i = 0; i < a.AtxData.Length(); i++) {
    gAntPCV& x = a.AtxData(i);
    gAntPCV& y = b.AtxData(i);
    EXPECT_STREQ(x.aDataS, y.aDataS) << "block " << i;  // satellite, number, validity
    EXPECT_STREQ(x.pcvTypeSer.satOption, y.pcvTypeSer.satOption);
    EXPECT_STREQ(x.pcvMethBy.AgName, y.pcvMethBy.AgName);
    EXPECT_STREQ(x.pcvSNXc.SinexCode, y.pcvSNXc.SinexCode);
    EXPECT_EQ(x.pcvAziZen.dAzi, y.pcvAziZen.dAzi);
    EXPECT_EQ(x.pcvAziZen.dZen, y.pcvAziZen.dZen);
    for (int s = 0; s < gpcvData::NSections; s++) {
      const gpcvData::Section& sec = gpcvData::Sections()[s];
      ASSERT_EQ(x.pcvData.*(sec.flag), y.pcvData.*(sec.flag)) << sec.code;
      if (!(x.pcvData.*(sec.flag))) continue;
      gpcvFreqData& p = x.pcvData.*(sec.data);
      gpcvFreqData& q = y.pcvData.*(sec.data);
      EXPECT_NEAR(static_cast<double>(p.dNEU.GetU()), static_cast<double>(q.dNEU.GetU()), 1e-12);
      EXPECT_NEAR(static_cast<double>(p.dNEU.GetN()), static_cast<double>(q.dNEU.GetN()), 1e-12);
      ASSERT_EQ(p.pvZEN.Length(), q.pvZEN.Length());
      for (long k = 0; k < p.pvZEN.Length(); k++) EXPECT_NEAR(p.pvZEN(k), q.pvZEN(k), 1e-12);
      ASSERT_EQ(p.pvAZI.Length(), q.pvAZI.Length());
      for (long k = 0; k < p.pvAZI.Length(); k++) EXPECT_NEAR(p.pvAZI(k), q.pvAZI(k), 1e-12);
    }
  }
  std::ifstream i1(f1), i2(f2);
  std::stringstream s1, s2;
  s1 << i1.rdbuf();
  s2 << i2.rdbuf();
  EXPECT_EQ(s1.str(), s2.str());  // a written file reads and writes back byte for byte
  const std::string header =
      "     1.4            M: MIXED                                ANTEX VERSION / SYST\n"
      "A                                                           PCV TYPE / REFANT\n"
      "                                                            END OF HEADER\n";
  EXPECT_EQ(s1.str().substr(0, header.size()), header);
  // The written lines of the first G01 block, as in the source file.
  EXPECT_NE(s1.str().find("BLOCK IIA           G01                 G032      1992-079A TYPE / SERIAL NO\n"
                          "                                             0    29-JAN-17 METH / BY / # / DATE\n"
                          "     0.0                                                    DAZI\n"
                          "     0.0  17.0   1.0                                        ZEN1 / ZEN2 / DZEN\n"
                          "     2                                                      # OF FREQUENCIES\n"
                          "  1992    11    22     0     0    0.0000000                 VALID FROM\n"
                          "  2008    10    16    23    59   59.9999999                 VALID UNTIL\n"
                          "IGS14_2132                                                  SINEX CODE\n"
                          "   G01                                                      START OF FREQUENCY\n"
                          "    279.00      0.00   2319.50                              NORTH / EAST / UP\n"
                          "   NOAZI   -0.80   -0.90   -0.90   -0.80   -0.40    0.20    0.80    1.30    1.40"
                          "    1.20    0.70    0.00   -0.40   -0.70   -0.90   -0.90   -0.90   -0.90\n"),
            std::string::npos);
  EXPECT_NE(s1.str().find("    10.0    0.00   -0.29   -0.78   -1.40   -2.15"), std::string::npos);
  unlink(f1.c_str());
  unlink(f2.c_str());
}

}  // namespace
