// Writing a navigation file back: the written lines, and a round trip (read,
// write, read) that gives the same records to the written decimals.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "rinex/rx_fixture.h"

using namespace rxtest;

namespace {

std::vector<std::string> Lines(const std::string& file) {
  std::ifstream in(file);
  std::vector<std::string> v;
  std::string l;
  while (std::getline(in, l)) v.push_back(l);
  return v;
}

// Values written with 12 decimals of the mantissa agree to half a unit of the last;
// the layout writes values below 1e-15 in magnitude as 0.
void ExpectSame(long double a, long double b, const char* what, long k) {
  if (std::fabs(a) < 1e-15L) {
    EXPECT_EQ(b, 0.0L) << what << " record " << k;
    return;
  }
  EXPECT_LE(std::fabs(a - b), 5.0000001e-13L * std::fabs(a)) << what << " record " << k;
}

void ExpectSameRecords(rxN& a, rxN& b) {
  for (const rxSystem& s : rxSystems) {
    if (s.kepler) {
      myList<rxENavDataKE>& la = a.GetKeplerRecords(s.letter);
      myList<rxENavDataKE>& lb = b.GetKeplerRecords(s.letter);
      ASSERT_EQ(la.Length(), lb.Length()) << s.letter;
      for (long k = 0; k < la.Length(); k++) {
        rxENavDataKE &ra = la(k), &rb = lb(k);
        EXPECT_TRUE(ra.Sat == rb.Sat && ra.eph == rb.eph) << s.letter << k;
        const long double va[] = {ra.A0,  ra.A1,  ra.A2,    ra.XODE, ra.CRS,  ra.DN,       ra.M0,   ra.CUC,
                                  ra.E,   ra.CUS, ra.AS,    ra.TOE,  ra.CIC,  ra.OMEGA,    ra.CIS,  ra.I0,
                                  ra.CRC, ra.W,   ra.OMEGADOT, ra.IDOT, ra.DMY1, ra.SYSW, ra.DMY2, ra.SVACC,
                                  ra.SVHEALTH, ra.TGD1, ra.TGD2, ra.TODD, ra.FINT};
        const long double vb[] = {rb.A0,  rb.A1,  rb.A2,    rb.XODE, rb.CRS,  rb.DN,       rb.M0,   rb.CUC,
                                  rb.E,   rb.CUS, rb.AS,    rb.TOE,  rb.CIC,  rb.OMEGA,    rb.CIS,  rb.I0,
                                  rb.CRC, rb.W,   rb.OMEGADOT, rb.IDOT, rb.DMY1, rb.SYSW, rb.DMY2, rb.SVACC,
                                  rb.SVHEALTH, rb.TGD1, rb.TGD2, rb.TODD, rb.FINT};
        for (int j = 0; j < 29; j++) ExpectSame(va[j], vb[j], "KE value", k * 100 + j);
      }
    } else {
      myList<rxENavDataNI>& la = a.GetStateRecords(s.letter);
      myList<rxENavDataNI>& lb = b.GetStateRecords(s.letter);
      ASSERT_EQ(la.Length(), lb.Length()) << s.letter;
      for (long k = 0; k < la.Length(); k++) {
        rxENavDataNI &ra = la(k), &rb = lb(k);
        EXPECT_TRUE(ra.Sat == rb.Sat && ra.eph == rb.eph) << s.letter << k;
        const long double va[] = {ra.DT0, ra.DT1, ra.TK,   ra.X0,   ra.XD0, ra.XDD0, ra.HEALTH, ra.Y0,
                                  ra.YD0, ra.YDD0, ra.DMY1, ra.Z0,  ra.ZD0, ra.ZDD0, ra.DMY2};
        const long double vb[] = {rb.DT0, rb.DT1, rb.TK,   rb.X0,   rb.XD0, rb.XDD0, rb.HEALTH, rb.Y0,
                                  rb.YD0, rb.YDD0, rb.DMY1, rb.Z0,  rb.ZD0, rb.ZDD0, rb.DMY2};
        for (int j = 0; j < 15; j++) ExpectSame(va[j], vb[j], "NI value", k * 100 + j);
      }
    }
  }
}

}  // namespace

TEST(rxNWriter, RoundTripKeepsRecordsAndTheSystemsOwnTimeScales) {
  for (const char* f : {"SEPT1890.23P", "ESBC00DNK_R_20201770000_MN_00-12h.rnx"}) {
    rxN a;
    a.SetFile(Data(f).c_str());
    a.ReadFile();
    std::string out = WriteTemp(std::string("w_") + f, "");
    a.PrintFile(out.c_str());
    rxN b;
    b.SetFile(out.c_str());
    b.ReadFile();
    EXPECT_EQ(a.GetNSat(), b.GetNSat()) << f;
    EXPECT_TRUE(a.GetStartEpoch() == b.GetStartEpoch()) << f;
    EXPECT_TRUE(a.GetEndEpoch() == b.GetEndEpoch()) << f;
    ExpectSameRecords(a, b);
  }

  rxN a;
  a.SetFile(Data("SEPT1890.23P").c_str());
  a.ReadFile();
  std::string out = WriteTemp("w_lines", "");
  a.PrintFile(out.c_str());
  std::vector<std::string> l = Lines(out);
  ASSERT_GT(l.size(), 10u);
  EXPECT_EQ(l[0], "     3.04           N: GNSS NAV. DATA   M: MIXED            RINEX VERSION / TYPE");
  EXPECT_EQ(l[1], "sbf2rin-15.6.1                          20230708 065048 UTC COMMENT");
  EXPECT_EQ(l[2].substr(0, 40), "Morvi               I.VANTOK KQ-TRM     ");
  EXPECT_EQ(l[2].substr(56), "UTC PGM / RUN BY / DATE");
  EXPECT_EQ(l[3], "    18    18                                                LEAP SECONDS");
  EXPECT_EQ(l[4], "GPUT  1.8626451492e-09 4.440892099e-15  61440 2270          TIME SYSTEM CORR");
  EXPECT_EQ(l[5], std::string(60, ' ') + "END OF HEADER");
  EXPECT_EQ(l[6], "G19 2023  7  8  6  0  0 3.409683704376e-04 5.115907697473e-12 0.000000000000e+00");
  EXPECT_EQ(l[7], "     6.300000000000e+01-4.187500000000e+00 4.182317067436e-09 1.417174771178e+00");
  EXPECT_EQ(l[13], "     5.328180000000e+05 4.000000000000e+00");
  // Systems in the order G, R, E, C, S, J; GLONASS in UTC, BeiDou in BDT again.
  const size_t firstR = 6 + 17 * 8;
  EXPECT_EQ(l[firstR], "R07 2023  7  8  4 15  0 5.969312041998e-05 9.094947017729e-13 5.328000000000e+05");
  const size_t firstC = firstR + 12 * 4 + 82 * 8;
  EXPECT_EQ(l[firstC].substr(0, 23), "C01 2023  7  8  3  0  0");
  EXPECT_EQ(l[firstC + 42 * 8].substr(0, 3), "S34");
  EXPECT_EQ(l.back().substr(0, 4), "    ");
  // 1e-7 of S44 whose mantissa rounds up to 10 is written normalised, in its field.
  int tens = 0, normal = 0;
  for (const std::string& s : l) {
    if (s.find("10.000000000000e") != std::string::npos) tens++;
    if (s == "     4.149640032000e+04-2.298750000000e-03 1.000000000000e-07 3.276700000000e+04") normal++;
  }
  EXPECT_EQ(tens, 0);
  EXPECT_EQ(normal, 1);

  // A header of the version line only writes that, the program lines and the end.
  std::string bare = WriteTemp("bare", "     3.02           N: GNSS NAV DATA    G: GPS              RINEX VERSION / TYPE\n"
                                        "                                                            END OF HEADER\n" +
                                            G19());
  rxN c;
  c.SetFile(bare.c_str());
  c.ReadFile();
  CaptureResult res = RunCaptured([&] { c.PrintFile(); });
  std::istringstream os(res.out);
  std::string first, second;
  std::getline(os, first);
  std::getline(os, second);
  EXPECT_EQ(first, "     3.02           N: GNSS NAV. DATA   G: GPS              RINEX VERSION / TYPE");
  EXPECT_EQ(second, std::string(60, ' ') + "END OF HEADER");  // no program line was read

  CaptureResult bad = RunCaptured([&] { c.PrintFile("/tmp/no/such/dir/out.rnx"); });
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.err, Error("Function:   rxN::PrintFile(char*)",
                           "Output file: /tmp/no/such/dir/out.rnx for RINEX NAVIGATION print can not be "
                           "opened for writing!"));
}

TEST(rxNWriter, HeaderRecordsInBothFormsAndNothingBeforeTheirLines) {
  rxN nav;
  std::string name = WriteTemp("sum", std::string(kHeader) + G19());
  nav.SetFile(name.c_str());
  nav.ReadFile();
  nav.GetVersionType().PrintType = 1;
  nav.GetPgmRunDate().PrintType = 1;
  nav.GetTimeInfo().PrintType = 1;
  std::ostringstream os;
  os << nav.GetVersionType() << nav.GetPgmRunDate() << nav.GetTimeInfo();
  EXPECT_EQ(os.str(),
            "  Version/Type/System:  3.04 / N: GNSS nav. data / M: MIXED            \n\n"
            "  Run by/Program/Date: sbf2rin-15.6.1 /  / 20230708 065048 UTC\n\n"
            "  Time First/Last/Interval:  /  / 0\n"
            "  Leap seconds/Previous: 18 / 18\n\n");

  // The RINEX lines take the notation of the stream they go to: the file writer
  // sets it to fixed, the records leave it as they find it.
  nav.GetTimeInfo().PrintType = 0;
  std::ostringstream plain;
  plain << nav.GetTimeInfo();
  EXPECT_EQ(plain.flags() & std::ios::floatfield, std::ios::fmtflags(0));
  EXPECT_NE(plain.str().find("GLUT -9.3132257462e-10 0.000000000e+00      0    0          TIME SYSTEM CORR\n"),
            std::string::npos)
      << plain.str();

  // The time lines of observation headers, as taken and written back.
  rxTimeInfo obs;
  char first[] = "  2023     7     8     0     0    0.0000000     GPS         TIME OF FIRST OBS   ";
  char interval[] = "    30.000                                                  INTERVAL            ";
  obs.Set(first);
  obs.Set(interval);
  std::ostringstream ob;
  ob << std::fixed << obs;
  EXPECT_EQ(ob.str(),
            "  2023     7     8     0     0    0.0000000     GPS         TIME OF FIRST OBS\n"
            "    30.000                                                  INTERVAL\n");
  // A calendar field beyond 16 bits is no valid value (month 65543 is not 7).
  CaptureResult wide = RunCaptured([] {
    rxTimeInfo t;
    char l[] = "  2023 65543     8     0     0    0.0000000     GPS         TIME OF FIRST OBS   ";
    t.Set(l);
  });
  EXPECT_EQ(wide.exitCode, 1);
  EXPECT_EQ(wide.err, Error("Function:   ymdhms::TestDatum()", "Input MONTH not valid!"));

  // A header without time lines: no time record in either form.
  rxN bare;
  std::string bname = WriteTemp("sum_bare",
                                "     3.02           N: GNSS NAV DATA    G: GPS              RINEX VERSION / TYPE\n"
                                "                                                            END OF HEADER\n" +
                                    G19());
  bare.SetFile(bname.c_str());
  bare.ReadFile();
  std::ostringstream none;
  none << bare.GetTimeInfo() << bare.GetPgmRunDate();
  bare.GetTimeInfo().PrintType = 1;
  bare.GetPgmRunDate().PrintType = 1;
  none << bare.GetTimeInfo() << bare.GetPgmRunDate() << bare.GetIonoCorr();
  EXPECT_EQ(none.str(), "");
}
