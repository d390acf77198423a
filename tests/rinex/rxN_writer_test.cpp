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

// Values written with 12 decimals of the mantissa agree to half a unit of the last,
// however small; zero stays zero.
void ExpectSame(long double a, long double b, const char* what, long k) {
  if (a == 0) {
    EXPECT_EQ(b, 0.0L) << what << " record " << k;
    return;
  }
  EXPECT_LE(std::fabs(a - b), 5.0000001e-13L * std::fabs(a)) << what << " record " << k << ": " << a << " " << b;
}

void ExpectSameRecords(rxN& a, rxN& b) {
  for (const GNSSsys& s : gnss::systems) {
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
        // the fourth GLONASS line of 3.05 files, field by field
        const long double a4[] = {ra.STATUS, ra.DTAU, ra.URAI, ra.HFLAGS};
        const long double b4[] = {rb.STATUS, rb.DTAU, rb.URAI, rb.HFLAGS};
        for (int j = 0; j < 4; j++) {
          EXPECT_EQ(ra.hasLine4[j], rb.hasLine4[j]) << s.letter << k << " line 4 field " << j;
          ExpectSame(a4[j], b4[j], "NI line 4 value", k * 100 + j);
        }
      }
    }
  }
}

// nav reads the test file f and writes it to a temporary file named by tag; that name.
std::string ReadAndWrite(rxN& nav, const char* f, const std::string& tag) {
  nav.SetFile(Data(f).c_str());
  nav.ReadFile();
  std::string out = WriteTemp(tag, "");
  nav.PrintFile(out.c_str());
  return out;
}

// Continuation lines after each record line of a written file: four for GLONASS in
// 3.05 (whether a record had the fourth line or not), else three or seven; nR
// GLONASS records in all.
void ExpectContinuationLines(const std::string& file, bool v305, int nR) {
  std::vector<std::string> l = Lines(file);
  size_t i = 0;
  while (i < l.size() && l[i].find("END OF HEADER") == std::string::npos) i++;
  int seenR = 0;
  for (size_t r = i + 1; r < l.size();) {
    size_t n = 1;
    while (r + n < l.size() && l[r + n][0] == ' ') n++;
    const char sys = l[r][0];
    const size_t want = sys == 'R' ? (v305 ? 5 : 4) : sys == 'S' ? 4 : 8;
    ASSERT_EQ(n, want) << file << " line " << r << ": " << l[r];
    seenR += sys == 'R';
    r += n;
  }
  EXPECT_EQ(seenR, nR) << file;
}

}  // namespace

// Read, write, read: the same records (in 3.05 files with the fourth GLONASS line
// they had; values of every magnitude, such as the Galileo and BeiDou clock drift
// rates of 1e-18 to 1e-20 s/s), and each record with the lines of its version.
TEST(rxNWriter, RoundTripKeepsRecordsAndTheSystemsOwnTimeScales) {
  for (const char* f : {"SEPT1890.23P", "ESBC00DNK_R_20201770000_MN_00-12h.rnx", "CORD00ARG_R_20240920000_MN_G05R06E11.rnx"}) {
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
    ExpectContinuationLines(out, a.GetVersionType().GetVersion() == 5, a.GetNSatR());
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

// Version 3.05: a GLONASS record's fourth line is written as read (a field it had
// blank stays blank); values below 1e-15 keep their digits: the Galileo clock drift
// rate -5.204170427930e-18 s/s of E11 (1.08e-9 s, 0.32 m, after four hours), a BeiDou
// one of 1e-20 and a TIME SYSTEM CORR drift.
TEST(rxNWriter, FourthGlonassLineOf305AndValuesBelow1e15) {
  // The first R01 record of the 3.05 file, whose fourth line holds the group delay
  // difference .999999999999e+09 and URAI 15 with status and health flags blank.
  rxN a;
  std::vector<std::string> l = Lines(ReadAndWrite(a, "ESBC00DNK_R_20201770000_MN_00-12h.rnx", "w4_lines"));
  size_t r01 = 0;
  while (r01 < l.size() && l[r01].rfind("R01 ", 0) != 0) r01++;
  ASSERT_LT(r01 + 4, l.size());
  EXPECT_EQ(l[r01], "R01 2020  6 24 23 15  0 6.355904042721e-05 0.000000000000e+00 3.420000000000e+05");
  EXPECT_EQ(l[r01 + 4], "                        9.999999999990e+08 1.500000000000e+01");
  bool c11 = false;
  for (const std::string& s : l) c11 = c11 || s == "C11 2020  6 25 12  0  0-4.506245022640e-04-2.404831889180e-11-4.065758146821e-20";
  EXPECT_TRUE(c11);

  // E11: the drift rate is written, and the clock four hours on is that of the file
  // read (the drift rate alone makes 1.08e-9 s there).
  rxN e;
  const std::string eout = ReadAndWrite(e, "CORD00ARG_R_20240920000_MN_G05R06E11.rnx", "w4_e11");
  std::vector<std::string> el = Lines(eout);
  int e11 = 0;
  for (const std::string& s : el)
    e11 += s == "E11 2024  4  1  0  0  0 3.103679337073e-03-5.047695594840e-11-5.204170427930e-18";
  EXPECT_EQ(e11, 1);
  rxN eb;
  eb.SetFile(eout.c_str());
  eb.ReadFile();
  rSat sat('E', 11);
  mjd t = Epoch(2024, 4, 1, 3, 59, 0);
  xyz xa, va, xb, vb;
  e.CalcSatPosition(sat, t, xa, va);
  eb.CalcSatPosition(sat, t, xb, vb);
  EXPECT_NEAR(static_cast<double>(xb.GetT()), static_cast<double>(xa.GetT()), 1e-14);
  EXPECT_NEAR(static_cast<double>(xb.GetX()), static_cast<double>(xa.GetX()), 1e-6);

  // Values beyond 1e+-99 give up a decimal for the third exponent digit: in their
  // 19 columns, apart from the value before them, read back as written.
  std::string g = G19();
  g.replace(g.find(" 0.000000000000E+00-1.536682248116E-08 6.300000000000E+01"), 57,
            " 1.00000000000E-120-1.536682248116E-08-2.50000000000E+200");
  rxN big;
  big.SetFile(WriteTemp("w4_big", std::string(kHeader) + g).c_str());
  big.ReadFile();
  std::string bigOut = WriteTemp("w4_big2", "");
  big.PrintFile(bigOut.c_str());
  l = Lines(bigOut);
  EXPECT_EQ(l[l.size() - 2], "     2.000000000000e+00 1.00000000000e-120-1.536682248116e-08-2.50000000000e+200");
  rxN bigRead;
  bigRead.SetFile(bigOut.c_str());
  bigRead.ReadFile();
  ASSERT_EQ(bigRead.GetNSatG(), 1);
  EXPECT_EQ(bigRead.GetKeplerRecords('G')(0).SVHEALTH, 1e-120L);
  EXPECT_EQ(bigRead.GetKeplerRecords('G')(0).TGD2, -2.5e200L);

  // A TIME SYSTEM CORR drift below 1e-15 keeps its value.
  std::string h = kHeader;
  h.replace(h.find("0.000000000E+00"), 15, "8.881784197E-16");
  std::string name = WriteTemp("w4_tsc", h + G19());
  rxN c;
  c.SetFile(name.c_str());
  c.ReadFile();
  std::ostringstream os;
  c.GetTimeInfo().PrintType = 0;
  os << c.GetTimeInfo();
  EXPECT_NE(os.str().find("GLUT -9.3132257462e-10 8.881784197e-16      0    0          TIME SYSTEM CORR\n"),
            std::string::npos)
      << os.str();
}
