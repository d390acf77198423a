// Reading RINEX 3 navigation files: real files against what grep says of them,
// header records, CR LF files, and damaged files (refused records, fatal frames).
#include <gtest/gtest.h>

#include <sstream>

#include "rinex/rx_fixture.h"

using namespace rxtest;

namespace {

struct Expected {
  int n, g, r, e, c, s, j, i;
};

void ExpectCounts(rxN& nav, const Expected& x) {
  EXPECT_EQ(nav.GetNSat(), x.n);
  EXPECT_EQ(nav.GetNSatG(), x.g);
  EXPECT_EQ(nav.GetNSatR(), x.r);
  EXPECT_EQ(nav.GetNSatE(), x.e);
  EXPECT_EQ(nav.GetNSatC(), x.c);
  EXPECT_EQ(nav.GetNSatS(), x.s);
  EXPECT_EQ(nav.GetNSatJ(), x.j);
  EXPECT_EQ(nav.GetNSatI(), x.i);
}

std::string SatText(myList<rSat>& l, long n) {
  std::ostringstream os;
  for (long k = 0; k < n && k < l.Length(); k++) os << l(k) << " ";
  return os.str();
}

// A file text, and the counts it gives (as ReadCounts writes them) with the
// warnings of its reading.
struct Case {
  const char* tag;
  std::string text;
  const char* counts;
  std::string err;
};

// Reads a file in a child process and prints its counts; returns what it wrote.
CaptureResult ReadCounts(const std::string& name) {
  return RunCaptured([&] {
    rxN nav;
    nav.SetFile(name.c_str());
    nav.ReadFile();
    std::cout << nav.GetNSat() << " G" << nav.GetNSatG() << " R" << nav.GetNSatR() << " S"
              << nav.GetNSatS();
  });
}

// The file of a case, written under the name prefix + tag, reads without a fatal
// error, with the counts and warnings of the case.
void ExpectReadCase(const Case& c, const std::string& prefix) {
  CaptureResult res = ReadCounts(WriteTemp(prefix + c.tag, c.text));
  EXPECT_EQ(res.exitCode, 0) << c.tag;
  EXPECT_EQ(res.out, c.counts) << c.tag;
  EXPECT_EQ(res.err, c.err) << c.tag;
}

}  // namespace

TEST(rxNRead, RealFilesGiveTheCountsSatellitesAndSpanThatGrepShows) {
  // SEPT1890.23P: a receiver file of 2023-07-08, 00-06 h, RINEX 3.04.
  rxN sept;
  sept.SetFile(Data("SEPT1890.23P").c_str());
  sept.ReadFile();
  ExpectCounts(sept, {350, 17, 12, 82, 42, 193, 4, 0});
  rxDataSum& ds = sept.GetDataSum();
  EXPECT_EQ(ds.lSat.Length(), 67);
  EXPECT_EQ(ds.lSatG.Length(), 17);
  EXPECT_EQ(ds.lSatR.Length(), 6);
  EXPECT_EQ(ds.lSatE.Length(), 11);
  EXPECT_EQ(ds.lSatC.Length(), 23);
  EXPECT_EQ(ds.lSatS.Length(), 6);
  EXPECT_EQ(ds.lSatJ.Length(), 4);
  EXPECT_EQ(SatText(ds.lSat, 5), "G19 G06 G09 G17 G04 ");
  EXPECT_EQ(SatText(ds.lSatC, 4), "C01 C02 C03 C04 ");
  // Earliest record S at 00:00:00, latest G at 06:00:00 (R at 04:45 UTC and C at
  // 04:00 BDT are 04:45:18 and 04:00:14 GPS time).
  EXPECT_TRUE(sept.GetStartEpoch() == Epoch(2023, 7, 8, 0, 0, 0));
  EXPECT_TRUE(sept.GetEndEpoch() == Epoch(2023, 7, 8, 6, 0, 0));
  rSat c01, x05;
  c01 = "C01";
  x05 = "J05";
  EXPECT_TRUE(sept.Check4Sat(c01));
  EXPECT_FALSE(sept.Check4Sat(x05));
  myList<rSat> sats;
  sept.GetSats(sats);
  EXPECT_EQ(sats.Length(), 67);

  // The BeiDou epoch is moved by 14 s, the GLONASS epoch by the 18 leap seconds.
  myList<rxENavDataKE>& c = sept.GetKeplerRecords('C');
  EXPECT_TRUE(c(0).eph == Epoch(2023, 7, 8, 3, 0, 14));  // C01 at 03:00:00 BDT
  EXPECT_EQ(c(0).GetDiff2GPSTime(), 14.0L);
  myList<rxENavDataNI>& r = sept.GetStateRecords('R');
  EXPECT_TRUE(r(0).eph == Epoch(2023, 7, 8, 4, 15, 18));
  EXPECT_EQ(r(0).GetDiff2GPSTime(), 18.0L);
  EXPECT_EQ(sept.GetKeplerRecords('I').Length(), 0);

  // Values as written, D-free here; sqrt(A) squared.
  myList<rxENavDataKE>& g = sept.GetKeplerRecords('G');
  EXPECT_EQ(g(0).Sat.GetSPrn(), 19);
  EXPECT_DOUBLE_EQ(static_cast<double>(g(0).A0), 3.409683704376E-04);
  EXPECT_DOUBLE_EQ(static_cast<double>(g(0).AS), 5.153633523941E+03);
  EXPECT_DOUBLE_EQ(static_cast<double>(g(0).A), 5.153633523941E+03 * 5.153633523941E+03);
  EXPECT_DOUBLE_EQ(static_cast<double>(g(0).TODD), 5.328180000000E+05);

  // ESBC00DNK, 2020-06-25, RINEX 3.05 merged file, trimmed: 4-line GLONASS records.
  rxN esbc;
  esbc.SetFile(Data("ESBC00DNK_R_20201770000_MN_00-12h.rnx").c_str());
  esbc.ReadFile();
  ExpectCounts(esbc, {1057, 137, 271, 422, 184, 35, 8, 0});
  rxDataSum& de = esbc.GetDataSum();
  EXPECT_EQ(de.lSat.Length(), 31 + 23 + 24 + 29 + 4 + 3);
  EXPECT_EQ(SatText(de.lSat, 3), "C05 C06 C07 ");
  EXPECT_TRUE(esbc.GetStartEpoch() == Epoch(2020, 6, 24, 23, 0, 0));
  EXPECT_TRUE(esbc.GetEndEpoch() == Epoch(2020, 6, 25, 12, 30, 0));

  // The summary of the counts and lists.
  CaptureResult sum = RunCaptured([&] { sept.PrintSummary(); });
  EXPECT_EQ(sum.out.substr(0, sum.out.find('\n') + 1),
            "  nSat =        350 [   G:       17   R:       12   E:       82   C:       42   S:      193"
            "   J:        4]\n");
  EXPECT_NE(sum.out.find("\n   R:   6 > R07 R21 R22 R06 R08 R23\n"), std::string::npos) << sum.out;
}

TEST(rxNRead, HeaderRecordsKeepTheirFields) {
  std::string text = std::string(kHeader) + G19();
  // GPGA then GAGP share a slot; GPIR is no known kind; GAL with three terms.
  text.insert(text.find("    18 "),
              "GPGA  1.0000000000E-09 2.000000000E-15 432000 2269          TIME SYSTEM CORR    \n"
              "GAGP  3.0000000000E-09 4.000000000E-15 345600 2269          TIME SYSTEM CORR    \n"
              "GPIR  1.0000000000E-09 2.000000000E-15 432000 2269          TIME SYSTEM CORR    \n"
              "GAL    2.8250e+01  7.8125e-03  1.0071e-02                   IONOSPHERIC CORR    \n"
              "QZUT  1.00000000x0E-09 2.000000000E-15 432000 2269          TIME SYSTEM CORR    \n");
  std::string name = WriteTemp("hdr", text);
  CaptureResult res = RunCaptured([&] {
    rxN nav;
    nav.SetFile(name.c_str());
    nav.ReadFile();
    rxVersionType& v = nav.GetVersionType();
    rxTimeInfo& t = nav.GetTimeInfo();
    rxIonoCorr& io = nav.GetIonoCorr();
    rxPgmRunDate& p = nav.GetPgmRunDate();
    printf("%d %c %c|%s|%s|%s|\n", v.GetVersion(), v.GetType(), v.GetSatSystem(), p.Pgm, p.RunBy, p.Date);
    printf("%.10e %.9e\n", t.a0_RU, t.a1_RU);
    printf("%.10e %d %d %.0f %.0f\n", t.a0_GE, t.ts_GE, t.tw_GE, t.LeapSecond, t.fpLeapSecond);
    printf("%.4e %.4e %.4e %.4e\n", io.icE(0), io.icE(1), io.icE(2), io.icE(3));
    printf("%.4e %.4e\n", io.icGA(0), io.icGA(3));
    // GAUT GPUT SBUT GLUT GPGA GAGP GLGP QZGP QZUT BDUT IRUT IRGP: GPUT, GLUT, GPGA, GAGP and a QZUT not read
    printf("%d%d%d%d %d%d%d%d %d%d%d%d\n", t.GetIsbEU(), t.GetIsbGU(), t.GetIsbSU(), t.GetIsbRU(), t.GetIsbGE(),
           t.GetIsbEG(), t.GetIsbRG(), t.GetIsbJG(), t.GetIsbJU(), t.GetIsbCU(), t.GetIsbIU(), t.GetIsbIG());
  });
  EXPECT_EQ(res.exitCode, 0);
  EXPECT_EQ(res.out,
            "4 N M|sbf2rin-15.6.1||20230708 065048 UTC|\n"
            "-9.3132257462e-10 0.000000000e+00\n"
            "3.0000000000e-09 345600 2269 18 18\n"
            "2.8250e+01 7.8125e-03 1.0071e-02 0.0000e+00\n"
            "1.1176e-08 -5.9605e-08\n"
            "0101 1100 0000\n");
  EXPECT_EQ(res.err, Warning("Function:   rxTimeInfo::Set(char*)",
                             "Input TIME SYSTEM CORR line parameter: >GPIR< undefined!") +
                         Warning("Function:   rxTimeInfo::Set(char*)",
                                 "Input TIME SYSTEM CORR line parameter: >QZUT< terms not readable!"));
}

TEST(rxNRead, CrLfFileReadsAsTheLfFile) {
  std::ifstream in(Data("SEPT1890.23P"));
  std::string text, line;
  while (std::getline(in, line)) text += line + "\r\n";
  std::string name = WriteTemp("crlf", text);
  rxN a, b;
  a.SetFile(Data("SEPT1890.23P").c_str());
  a.ReadFile();
  b.SetFile(name.c_str());
  b.ReadFile();
  ExpectCounts(b, {350, 17, 12, 82, 42, 193, 4, 0});
  myList<rxENavDataKE>& ea = a.GetKeplerRecords('E');
  myList<rxENavDataKE>& eb = b.GetKeplerRecords('E');
  for (long k = 0; k < ea.Length(); k++) {
    EXPECT_EQ(ea(k).TODD, eb(k).TODD) << k;  // the last value of a trimmed last line
    EXPECT_EQ(ea(k).OMEGADOT, eb(k).OMEGADOT) << k;
  }
}

TEST(rxNRead, FilesThatCannotBeReadEndInTheFatalFrame) {
  struct Case {
    const char* tag;
    std::string text;
    const char* where;
    const char* msg;
  };
  std::string longHeader = std::string(kHeader);
  longHeader.insert(longHeader.find("    18 "), std::string(3000, 'x') + "\n");
  const Case cases[] = {
      {"obs", "     3.04           O: OBSERVATION DATA M: MIXED            RINEX VERSION / TYPE\n",
       "Function:   rxN::ReadFile_Header()", "INPUT FILE IS NOT A RINEX NAVIGATION FILE - RINEX TYPE IS NOT 'N'"},
      {"short", "N\n", "Function:   rxN::ReadFile_Header()",
       "INPUT FILE IS NOT A RINEX NAVIGATION FILE - RINEX TYPE IS NOT 'N'"},
      {"empty", "", "Function:   rxN::ReadFile_Header()",
       "Unexpected end of RINEX NAVIGATION file - within header section!"},
      {"noend", "     3.04           N: GNSS NAV DATA    M: MIXED            RINEX VERSION / TYPE\n"
                "    18                                                      LEAP SECONDS        \n",
       "Function:   rxN::ReadFile_Header()", "Unexpected end of RINEX NAVIGATION file - within header section!"},
      {"v211", "     2.11           N: GNSS NAV DATA    M: MIXED            RINEX VERSION / TYPE\n",
       "Function:   rxVersionType::Set(char*)", "RINEX VERSION:      2.11 - not 3.0[1|2|3|4|5] version!"},
      {"long", longHeader + G19(), "Function:   rxN::ReadFile_Header()",
       "Unexpected end of RINEX NAVIGATION file - within header section!"},
      {"badsat", std::string(kPlainHeader) + "G00 2023 07 08 06 00 00 3.4E-04 5.1E-12 0.0E+00\n",
       "Function:   rSat::TestSat()", "Satellite number (PRN/SLOT) >0< UNDEFINED!"},
      // month 65543 is no month, though it is 7 in 16 bits
      {"month", std::string(kPlainHeader) + "G19 2023 65543 8 6 0  0" + std::string(kG19Line).substr(23) + kG19Body,
       "Function:   ymdhms::TestDatum()", "Input MONTH not valid!"},
  };
  for (const Case& c : cases) {
    std::string name = WriteTemp(c.tag, c.text);
    CaptureResult res = RunCaptured([&] {
      rxN nav;
      nav.SetFile(name.c_str());
      nav.ReadFile();
    });
    EXPECT_EQ(res.exitCode, 1) << c.tag;
    EXPECT_EQ(res.err, Error(c.where, c.msg)) << c.tag;
  }
  CaptureResult missing = RunCaptured([] {
    rxN nav;
    nav.SetFile("/tmp/no/such/nav.rnx");
  });
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err, Error("Function:   rxN::SetFile()", "Input RINEX NAVIGATION file can not be opened!"));
  CaptureResult tooLong = RunCaptured([] {
    rxN nav;
    nav.SetFile(std::string(300, 'n').c_str());
  });
  EXPECT_EQ(tooLong.err, Error("Function:   rxN::SetFile()", "Input RINEX NAVIGATION file can not be opened!"));
}

TEST(rxNRead, DamagedRecordsAreLeftOutWithAWarningNamingSatelliteAndLine) {
  // The header holds 7 lines: the first record line is line 8, the R07 record
  // after G19 starts at line 16, the S30 record after both at line 20.
  const std::string h = kHeader, g = G19(), r = kR07, s = kS30;
  const std::string body = g.substr(strlen(kG19Line));
  auto lineOf = [](const std::string& rec, int k) {  // k-th line (0 = record line) of a record
    size_t p = 0;
    for (int i = 0; i < k; i++) p = rec.find('\n', p) + 1;
    return std::make_pair(p, rec.find('\n', p));
  };
  std::string cut = g;  // third continuation line ends inside its second field
  auto l3 = lineOf(cut, 3);
  cut.erase(l3.first + 30, l3.second - l3.first - 30);
  std::string bad = g;  // a value that is no number
  auto l2 = lineOf(bad, 2);
  bad.replace(l2.first + 23, 19, " 9.48516034986XE-03");
  std::string longLine = g;  // a continuation line longer than the buffer
  auto l4 = lineOf(longLine, 4);
  longLine.insert(l4.second, std::string(2100, '0'));
  std::string shortRec = "G19 2023 07 08 06 00 00 3.409683704376E-04\n" + body;
  std::string ecc = g;  // eccentricity above 1
  ecc.replace(lineOf(ecc, 2).first + 23, 19, " 1.000000000000E+00");
  std::string gap = g;  // an empty line in place of the fifth continuation line
  gap.insert(lineOf(gap, 5).first, "\n");
  std::string inside = r;  // a GLONASS position at the Earth's centre
  for (int k = 1; k <= 3; k++) inside.replace(lineOf(inside, k).first + 4, 19, " 0.000000000000E+00");
  std::string spare = g;  // a dropped blank last field of line 6 reads as 0
  auto l6 = lineOf(spare, 6);
  spare.erase(l6.first + 61, l6.second - l6.first - 61);

  const Case cases[] = {
      {"cut", h + cut + r, "1 G0 R1 S0",
       CountWarning("NAVIGATION DATA - SATELLITE G19: line 11 cut short - record skipped!")},
      {"bad", h + r + bad, "1 G0 R1 S0",
       CountWarning("NAVIGATION DATA - SATELLITE G19: value not readable in line 14 - record skipped!")},
      {"long", h + longLine + s, "1 G0 R0 S1",
       CountWarning("NAVIGATION DATA - SATELLITE G19: line 12 longer than 2046 characters - record skipped!")},
      {"shortrec", h + shortRec + r, "1 G0 R1 S0",
       CountWarning("NAVIGATION DATA - SATELLITE G19: line 8 cut short - record skipped!")},
      {"eof", h + r + g.substr(0, lineOf(g, 5).first), "1 G0 R1 S0",
       CountWarning("NAVIGATION DATA - SATELLITE G19: record of line 12 incomplete (5 lines) - record skipped!")},
      {"next", h + g.substr(0, lineOf(g, 6).first) + r, "1 G0 R1 S0",
       CountWarning("NAVIGATION DATA - SATELLITE G19: record of line 8 incomplete (6 lines) - record skipped!")},
      {"gap", h + gap + r, "1 G0 R1 S0",
       CountWarning("NAVIGATION DATA - SATELLITE G19: record of line 8 incomplete (5 lines) - record skipped!") +
           CountWarning("NAVIGATION DATA - EMPTY LINE 13 - skipped!")},
      {"between", h + g + "\n" + r, "2 G1 R1 S0", CountWarning("NAVIGATION DATA - EMPTY LINE 16 - skipped!")},
      {"ecc", h + ecc + s, "1 G0 R0 S1",
       CountWarning("NAVIGATION DATA - SATELLITE G19: record of line 8 gives no orbit - record skipped!")},
      {"inside", h + inside + s, "1 G0 R0 S1",
       CountWarning("NAVIGATION DATA - SATELLITE R07: record of line 8 gives no orbit - record skipped!")},
      {"lower", h + "g19 2023 07 08 06 00 00\n" + r, "1 G0 R1 S0",
       CountWarning("NAVIGATION DATA - SATELLITE IDENTIFIER: >g< - undefined!") +
           Warning("Function:   rxN::ReadFile_Data()", "NAVIGATION DATA - SATELLITE IDENTIFIER: >g< - undefined!")},
      {"spare", h + spare + r + s, "3 G1 R1 S1", ""},
  };
  for (const Case& c : cases) ExpectReadCase(c, "");

  // The records around a refused one are read whole; the lists hold only good ones.
  rxN nav;
  std::string name = WriteTemp("around", h + r + cut + s);
  CaptureResult quiet = RunCaptured([&] {
    nav.SetFile(name.c_str());
    nav.ReadFile();
    std::cout << nav.GetStateRecords('R').Length() << nav.GetStateRecords('S').Length()
              << nav.GetKeplerRecords('G').Length();
    rSat g19;
    g19 = "G19";
    std::cout << nav.Check4Sat(g19);
  });
  EXPECT_EQ(quiet.out, "1100");
  std::string sp = WriteTemp("spare2", h + spare);
  rxN ok;
  ok.SetFile(sp.c_str());
  ok.ReadFile();
  ASSERT_EQ(ok.GetNSatG(), 1);
  EXPECT_EQ(ok.GetKeplerRecords('G')(0).TGD2, 0.0L);
  EXPECT_DOUBLE_EQ(static_cast<double>(ok.GetKeplerRecords('G')(0).TGD1), -1.536682248116E-08);
}

// Version 3.05 GLONASS records have a fourth continuation line (status flags,
// L1/L2 group delay difference, URAI, health flags): it is read into the record,
// each field on its own columns and a blank field as absent; the record after it
// reads as before. 3.04 files and GLONASS records without the line read as before.
TEST(rxNRead, FourthGlonassLineOfVersion305) {
  std::string h305 = kHeader;
  h305.replace(h305.find("3.04"), 4, "3.05");
  const std::string r = kR07, g = G19(), s = kS30;
  const std::string line4 = "                         .999999999999e+09 1.500000000000e+01                   \n";
  const std::string full4 = "     1.000000000000e+00 2.793967723846D-09 0.000000000000e+00 3.000000000000E+00\n";

  // Real file: the first R01 record (fourth line as above) and the R01 record after it.
  rxN esbc;
  esbc.SetFile(Data("ESBC00DNK_R_20201770000_MN_00-12h.rnx").c_str());
  esbc.ReadFile();
  myList<rxENavDataNI>& rr = esbc.GetStateRecords('R');
  long k = 0;
  while (k < rr.Length() && !(rr(k).Sat == rSat('R', 1))) k++;
  ASSERT_LT(k + 1, rr.Length());
  EXPECT_FALSE(rr(k).hasLine4[0] || rr(k).hasLine4[3]);
  EXPECT_TRUE(rr(k).hasLine4[1] && rr(k).hasLine4[2]);
  EXPECT_EQ(rr(k).DTAU, 999999999.999L);
  EXPECT_EQ(rr(k).URAI, 15.0L);
  EXPECT_TRUE(rr(k + 1).Sat == rSat('R', 1));
  EXPECT_DOUBLE_EQ(static_cast<double>(rr(k + 1).DT0), 6.355997174978e-05);
  EXPECT_DOUBLE_EQ(static_cast<double>(rr(k + 1).X0), 1.372008105469e+04);

  const Case cases[] = {
      {"v305", h305 + r + line4 + g + s, "3 G1 R1 S1", ""},
      {"v304", kHeader + r + line4 + g + s, "3 G1 R1 S1", ""},
      {"none", h305 + r + g + s, "3 G1 R1 S1", ""},
      {"full", h305 + r + full4 + s, "2 G0 R1 S1", ""},
      {"bad", h305 + r + "                        1.5X0000000000e+01\n" + g, "1 G1 R0 S0",
       CountWarning("NAVIGATION DATA - SATELLITE R07: value not readable in line 12 - record skipped!")},
      {"hex", h305 + r + "                        0x1.dcd64fffbep+29\n" + g, "1 G1 R0 S0",
       CountWarning("NAVIGATION DATA - SATELLITE R07: value not readable in line 12 - record skipped!")},
      {"cut", h305 + r + "                         .999999999999e+0\n" + g, "1 G1 R0 S0",
       CountWarning("NAVIGATION DATA - SATELLITE R07: line 12 cut short - record skipped!")},
      // hexadecimal text is no value of a continuation line either
      {"hex304", std::string(kHeader) + r.substr(0, r.rfind(" 0.000000000000E+00")) + " 0x1.0000000000p+00\n" + g,
       "1 G1 R0 S0", CountWarning("NAVIGATION DATA - SATELLITE R07: value not readable in line 11 - record skipped!")},
  };
  for (const Case& c : cases) ExpectReadCase(c, "l4_");

  // The fourth-line values as read: all four of a full line (a D exponent too), none
  // from a 3.04 file or from a record without the line; the record after it intact.
  for (int i = 1; i < 4; i++) {
    rxN nav;
    nav.SetFile(WriteTemp(std::string("l4v_") + cases[i].tag, cases[i].text).c_str());
    nav.ReadFile();
    rxENavDataNI& rec = nav.GetStateRecords('R')(0);
    EXPECT_DOUBLE_EQ(static_cast<double>(rec.Z0), 1.260640380859E+04) << cases[i].tag;
    const bool full = i == 3;
    for (int j = 0; j < 4; j++) EXPECT_EQ(rec.hasLine4[j], full) << cases[i].tag << " field " << j;
    if (full) {
      EXPECT_EQ(rec.STATUS, 1.0L);
      EXPECT_EQ(rec.DTAU, 2.793967723846e-09L);
      EXPECT_EQ(rec.URAI, 0.0L);
      EXPECT_EQ(rec.HFLAGS, 3.0L);
    } else {
      EXPECT_DOUBLE_EQ(static_cast<double>(nav.GetKeplerRecords('G')(0).A0), 3.409683704376E-04) << cases[i].tag;
    }
  }
}
