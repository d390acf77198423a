// Reading SP3 files: real SP3-a, SP3-c and SP3-d files (headers, counts,
// satellite lists, missing values, skipped velocity and correlation lines), and
// damaged files that must end in the fatal frame.
#include "igsforms/sp3_fixture.h"

using namespace sp3test;

namespace {

const char* kSet = "Function:   sp3EData::Set()";
const char* kHeader = "Function:   sp3::ReadFile_Header(ifstream&)";

// f reads the file path; the 'P' lines of its blocks as the writer gives them back.
std::vector<std::vector<PLine>> ReadAndWrite(sp3& f, const std::string& path) {
  f.SetFile(path.c_str());
  f.ReadFile();
  std::ostringstream os;
  f.PrintFile_All(os);
  return Blocks(os.str());
}

// The records as the writer gives them back, compared with the file's own 'P'
// lines: same satellites in the same order, values and missing markers.
void ExpectRecordsAsInFile(const std::string& name) {
  sp3 f;
  auto want = Blocks(Slurp(Data(name))), got = ReadAndWrite(f, Data(name));
  ASSERT_EQ(got.size(), want.size()) << name;
  for (size_t k = 0; k < want.size(); k++) {
    ASSERT_EQ(got[k].size(), want[k].size()) << name << " block " << k;
    for (size_t i = 0; i < want[k].size(); i++)
      for (int j = 0; j < 4; j++) {
        EXPECT_EQ(got[k][i].sat, want[k][i].sat);
        EXPECT_EQ(got[k][i].missing[j], want[k][i].missing[j]) << want[k][i].sat << " " << k;
        if (!want[k][i].missing[j]) {
          EXPECT_NEAR(got[k][i].v[j], want[k][i].v[j], 5e-7);
        }
      }
  }
}

// Child run of reading a file: exit code and standard error.
CaptureResult ReadText(const std::string& text) {
  std::string path = Temp("bad.sp3", text);
  return RunCaptured([path] {
    sp3 f;
    f.SetFile(path.c_str());
    f.ReadFile();
  });
}

std::string Good(int nEph = 4) {
  return Synth(nEph, {"G01", "G02"}, [](int k, int s) {
    return P(s ? "G02" : "G01", 1000 + k, 2000, 3000, 10);
  });
}

std::string Replace(std::string t, const std::string& from, const std::string& to) {
  return t.replace(t.find(from), from.size(), to);
}

}  // namespace

TEST(Sp3Read, RealSp3dWithMoreThan85Satellites) {
  sp3 f;
  f.SetFile(Data("COD0MGXFIN_20231890000_01D_05M_ORB_1h.SP3").c_str());
  f.ReadFile();
  EXPECT_EQ(f.GetNEph(), 13);
  EXPECT_EQ(f.GetNSat(), 118);
  EXPECT_EQ(f.GetNSatG() * 10000 + f.GetNSatR() * 100 + f.GetNSatE(), 322224);
  EXPECT_EQ(f.GetNSatC() * 10000 + f.GetNSatJ() * 100 + f.GetNSatS() + f.GetNSatI(), 370300);
  mjd s = f.GetStartEpoch(), e = f.GetEndEpoch();
  EXPECT_EQ(s.GetMJDay(), 60133u);
  EXPECT_EQ(s.GetSecond(), 0);
  EXPECT_EQ(e - s, 3600);
  myList<rSat> l;
  f.GetSats(l);
  ASSERT_EQ(l.Length(), 118);
  rSat r01, c46, c01;
  r01 = "R01";
  c46 = "C46";
  c01 = "C01";
  EXPECT_TRUE(l(32) == r01 && l(117) == "J04");
  EXPECT_TRUE(f.Check4Sat(c46));
  EXPECT_FALSE(f.Check4Sat(c01));
  testing::internal::CaptureStdout();
  f.PrintSummary();
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.substr(0, 62), "  nEpoch:     13\n  nSat  :    118\n   G:  32 > G01 G02 G03 G04 ");
  EXPECT_NE(out.find("\n   J:   3 > J02 J03 J04\n\n\n"), std::string::npos);
  ExpectRecordsAsInFile("COD0MGXFIN_20231890000_01D_05M_ORB_1h.SP3");
}

TEST(Sp3Read, RealSp3aAndSp3cRecordsMissingValuesAndSkippedLines) {
  ExpectRecordsAsInFile("igr20354_3h.sp3");                 // SP3-c, missing clocks
  ExpectRecordsAsInFile("gnsstk_test_input_SP3c_3ep.sp3");  // V, EP, EV lines
  ExpectRecordsAsInFile("gnsstk_test_input_SP3a.sp3");      // numeric codes, V lines
  ExpectRecordsAsInFile("COD0MGXFIN_20231890000_01D_05M_ORB_sub16.SP3");
  // CR LF line ends read as LF ones.
  std::string t = Slurp(Data("igr20354_3h.sp3")), crlf;
  for (char c : t) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  sp3 f;
  f.SetFile(Temp("crlf.sp3", crlf).c_str());
  f.ReadFile();
  EXPECT_EQ(f.GetNSatG(), 32);
  EXPECT_EQ(f.GetEndEpoch() - f.GetStartEpoch(), 12 * 900);
}

TEST(Sp3Read, EpochGapsAndIrregularEpochsAreRefused) {
  CaptureResult r = ReadText(Replace(Good(), "*  2020  6 25  0 30", "*  2020  6 25  0 45"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, Frame(kSet, "Epoch >2020-06-25 00:45:00.00000000< of ORBIT SP3 data section "
                               "NOT the expected epoch >2020-06-25 00:30:00.00000000< - missing "
                               "or irregular epoch!"));
  r = ReadText(Replace(Good(), "0 15  0.00000000", "0 15  0.00001000"));
  EXPECT_EQ(r.exitCode, 1);
  r = ReadText(Replace(Good(), "0 15  0.00000000", "0 15  0.00000010"));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  r = ReadText(Replace(Good(), "*  2020  6 25  0 15", "*  2020 13 25  0 15"));
  EXPECT_EQ(r.err, Frame(kSet, "Epoch line >*  2020 13 25  0 15  0.00000000< of ORBIT SP3 file - "
                               "data section NOT valid!"));
}

TEST(Sp3Read, NoonStartCarriesTheLastEpochIntoTheNextDay) {
  // 96 epochs of 900 s from 12:00: the last record is at 11:45 of the next day.
  std::istringstream in(Synth(96, {"G01"}, [](int k, int) { return P("G01", k, 0, 0, 0); }));
  std::string text, l;
  int k = 0;
  char b[64];
  while (std::getline(in, l)) {
    if (l[0] == '*') {
      const int s = 43200 + 900 * k++;
      snprintf(b, sizeof b, "*  2020  6 %2d %2d %2d  0.00000000", 25 + s / 86400, s % 86400 / 3600,
               s % 3600 / 60);
      l = b;
    }
    text += l + "\n";
  }
  sp3 f;
  f.SetFile(Temp("noon.sp3", Replace(text, "59025 0.0000000000000", "59025 0.5000000000000")).c_str());
  f.ReadFile();
  mjd s = f.GetStartEpoch(), e = f.GetEndEpoch();
  EXPECT_EQ(s.GetMJDay(), 59025u);
  EXPECT_EQ(s.GetSecond(), 43200);
  EXPECT_EQ(e.GetMJDay(), 59026u);
  EXPECT_EQ(e.GetSecond(), 42300);
}

TEST(Sp3Read, BlockWithoutPositionLinesKeepsLaterBlocksAtTheirEpochs) {
  // Block 1 (00:15) has no line at all: its satellites are absent, and the
  // '*' line that follows opens block 2 instead of being taken into block 1.
  const std::string text = Synth(4, {"G01", "G02"}, [](int k, int s) {
    return k == 1 ? std::string() : P(s ? "G02" : "G01", 1000 + k, 2000 + s, 3000, 10 + k);
  });
  sp3 f;
  f.SetFile(Temp("empty_block.sp3", text).c_str());
  f.ReadFile();
  std::ostringstream os;
  f.PrintFile_All(os);
  auto got = Blocks(os.str());
  ASSERT_EQ(got.size(), 4u);
  EXPECT_TRUE(got[1].empty());
  for (int k : {0, 2, 3}) {
    ASSERT_EQ(got[k].size(), 2u) << k;
    EXPECT_EQ(got[k][1].sat, "G02");
    EXPECT_EQ(got[k][1].v[0], 1000 + k);
    EXPECT_EQ(got[k][1].v[3], 10 + k);
  }
  EXPECT_NE(os.str().find("*  2020  6 25  0 15  0.00000000\n*  2020  6 25  0 30"), std::string::npos);
}

TEST(Sp3Read, DamagedFilesEndInTheFatalFrame) {
  const std::string good = Good();
  struct Case {
    std::string text, place, msg;
  } cases[] = {
      {good.substr(0, good.find("%f")), kHeader, "Unexpected EOF of ORBIT SP3 file - header section!"},
      {"#cP2020\n" + good.substr(good.find("##")), kHeader,
       "Number of epochs >0< in ORBIT SP3 file header NOT valid!"},
      {Replace(good, "   900.00000000", "     0.00000000"), kHeader,
       "Epoch interval >0.00000000< in ORBIT SP3 file header NOT valid!"},
      {Replace(good, "+    2   G01G02", "+    3   G01G02"), kHeader,
       "Number of satellites >3< in ORBIT SP3 file header NOT equal to number of satellites listed >2<!"},
      {Replace(good, "+    2   G01G02", "+        G01G02"), kHeader,
       "Number of satellites >0< in ORBIT SP3 file header NOT valid!"},
      {Replace(good, "+    2   G01G02", "+    1   G01G02"), kHeader,
       "Number of satellites >1< in ORBIT SP3 file header NOT equal to number of satellites listed >2<!"},
      {Replace(good, "/* SYNTHETIC", "/* " + std::string(600, 'x')), kHeader,
       "Line of ORBIT SP3 file - header section longer than 511 characters!"},
      {Replace(good, "PG02   1002.000000   2000.000000   3000.000000     10.000000",
               "PG02   1002.000000   2000.0"),
       kSet, "Position line >PG02   1002.000000   2000.0< of ORBIT SP3 data section cut short!"},
      {Replace(good, "PG02   1002.000000   2000.000000", "PG02   1002.000000   20X0.000000"), kSet,
       "Position line >PG02   1002.000000   20X0.000000   3000.000000     10.000000< of ORBIT SP3 "
       "data section NOT valid!"},
      {Replace(good, "PG02   1002.000000", "PG02              "), kSet,
       "Position line >PG02                 2000.000000   3000.000000     10.000000< of ORBIT SP3 "
       "data section NOT valid!"},
      {Replace(good, "3000.000000     10.000000\n*  2020  6 25  0 30", "3000.000000     1O.000000\n*  2020  6 25  0 30"), kSet,
       "Position line >PG02   1001.000000   2000.000000   3000.000000     1O.000000< of ORBIT SP3 "
       "data section NOT valid!"},
      {Replace(good, "PG02   1001.000000", "PG02   1001.000000" + std::string(600, ' ')), kSet,
       "Line of ORBIT SP3 file - data section longer than 511 characters!"},
      {Replace(good, "PG02   1003", "PG03   1003"), kSet,
       "Satellite >G03< in ORBIT SP3 data section not listed in the beginning of the file!"},
      {Replace(good, "10.000000\n*", "10.000000\nPG01\n*"), kSet,
       "Number of satellites in ORBIT SP3 data section greater than in the beginning of the file!"},
      {Replace(good, "TEST FILE\n", "TEST FILE\n\n"), kSet,
       "Unexpected first character > < of ORBIT SP3 file - data section!"},
      {Replace(good, "/* SYNTHETIC", "%i\n/* SYNTHETIC"), kSet,
       "Unexpected first character >/< of ORBIT SP3 file - data section!"},
      {good.substr(0, good.find("*  2020  6 25  0 45")), kSet, "Unexpected EOF of ORBIT SP3 file!"},
      {Slurp(Data("igs19016_truncated.sp3")), kSet, "Unexpected EOF of ORBIT SP3 file!"},
      {Slurp(Data("grg21553_nodata.sp3")), kHeader,
       "Number of epochs >0< in ORBIT SP3 file header NOT valid!"},
  };
  for (const Case& c : cases) {
    CaptureResult r = ReadText(c.text);
    EXPECT_EQ(r.exitCode, 1) << c.msg;
    EXPECT_EQ(r.err, Frame(c.place, c.msg));
  }
  // A file that cannot be opened is fatal.
  CaptureResult r = RunCaptured([] { sp3().SetFile("/nonexistent/x.sp3"); });
  EXPECT_EQ(r.err, Frame("Function:   sp3::SetFile()", "Input ORBIT SP3 file can not be opened!"));
  r = RunCaptured([] { sp3().SetFile(std::string(256, 'a').c_str()); });
  EXPECT_EQ(r.err, Frame("Function:   sp3::SetFile()",
                         "Input ORBIT SP3 file can not be opened!"));
}

// Epochs beyond the header's count are not read, and a file that ends without
// "EOF" inside its last epoch may be cut: both are told, and the rest is read as
// before. A file whose "EOF" line alone is missing is complete.
TEST(Sp3Read, BodyBeyondTheHeaderAndACutLastEpochAreTold) {
  const std::string kRead = "Function:   sp3::ReadFile()";
  const std::string good = Good(), igr = Slurp(Data("igr20354_3h.sp3")),
                    cod = Slurp(Data("COD0MGXFIN_20231890000_01D_05M_ORB_1h.SP3"));
  const std::string lastIgr = igr.substr(igr.find("*  2019  1 10  3  0"));
  const struct {
    std::string text, warning;
    int nEph;
  } cases[] = {
      {Replace(good, "      4 ORBIT", "      3 ORBIT"),
       "Number of epochs >3< in ORBIT SP3 file header smaller than number of epochs in the file >4< - "
       "epochs from >2020-06-25 00:45:00.00000000< on NOT read!", 3},
      {Replace(cod, "     13 d+D", "     12 d+D"),
       "Number of epochs >12< in ORBIT SP3 file header smaller than number of epochs in the file >13< - "
       "epochs from >2023-07-08 01:00:00.00000000< on NOT read!", 12},
      // also without "EOF": the unread epochs are the news
      {Replace(good, "      4 ORBIT", "      2 ORBIT").substr(0, good.size() - 4),
       "Number of epochs >2< in ORBIT SP3 file header smaller than number of epochs in the file >4< - "
       "epochs from >2020-06-25 00:30:00.00000000< on NOT read!", 2},
      {good.substr(0, good.find("PG02   1003")),
       "ORBIT SP3 file ends without EOF in its last epoch >2020-06-25 00:45:00.00000000< with >1< of >2< "
       "satellites - file MAY BE INCOMPLETE!", 4},
      // the real file cut after G20 of its last epoch (32 satellites)
      {igr.substr(0, igr.size() - lastIgr.size() + lastIgr.find("PG21")),
       "ORBIT SP3 file ends without EOF in its last epoch >2019-01-10 03:00:00.00000000< with >20< of >32< "
       "satellites - file MAY BE INCOMPLETE!", 13},
      {good.substr(0, good.size() - 4), "", 4},
      {Replace(good, "PG02   1003.000000   2000.000000   3000.000000     10.000000\n", ""), "", 4},
  };
  for (const auto& c : cases) {
    const std::string path = Temp("body.sp3", c.text);
    CaptureResult r = RunCaptured([path] {
      sp3 f;
      f.SetFile(path.c_str());
      f.ReadFile();
      std::cout << f.GetNEph();
    });
    EXPECT_EQ(r.exitCode, 0) << c.warning;
    EXPECT_EQ(r.out, std::to_string(c.nEph));
    EXPECT_EQ(r.err, c.warning.empty() ? "" : Frame(kRead, c.warning, false));
  }
}

// A 'P' line of x, y and z all zero marks an absent position, as the marker does:
// the writer gives it back as the marker. One zero component is a value, and the
// clock of such a line keeps its own rule. A blank clock field is an absent clock.
// Numbers are finite decimal numbers only.
TEST(Sp3Read, ZeroPositionsAreAbsentAndNumbersAreDecimal) {
  const std::string good = Good(3);
  std::string t = Replace(good, "PG01   1001.000000   2000.000000   3000.000000     10.000000",
                          "PG01      0.000000      0.000000      0.000000      0.000000");
  t = Replace(t, "PG02   1001.000000   2000.000000   3000.000000",
              "PG02      0.000000   2000.000000   3000.000000");
  t = Replace(t, "PG01   1002.000000   2000.000000   3000.000000",
              "PG01     -0.000000      0.000000     -0.000000");
  t = Replace(t, "PG02   1002.000000   2000.000000   3000.000000     10.000000",
              "PG02   1002.000000   2000.000000   3000.000000              ");
  sp3 f;
  auto b = ReadAndWrite(f, Temp("zero.sp3", t));
  ASSERT_EQ(b.size(), 3u);
  // block 1: G01 absent, its clock 0 present; G02 at x = 0
  EXPECT_TRUE(b[1][0].missing[0] && b[1][0].missing[1] && b[1][0].missing[2]);
  EXPECT_FALSE(b[1][0].missing[3]);
  EXPECT_EQ(b[1][0].v[3], 0.0);
  EXPECT_FALSE(b[1][1].missing[0]);
  EXPECT_EQ(b[1][1].v[0], 0.0);
  EXPECT_EQ(b[1][1].v[1], 2000.0);
  // block 2: negative zeros are zeros; G02's blank clock is written back as the marker
  EXPECT_TRUE(b[2][0].missing[0]);
  EXPECT_TRUE(b[2][1].missing[3] && !b[2][1].missing[0]);
  EXPECT_FALSE(b[0][0].missing[0]);

  // Interpolated through, the zero node would bend every window holding it: no
  // position (x and v untouched), and without a position no clock, though the
  // clocks of the window are there.
  f.SetInterpolation(2, 2);
  rSat g01('G', 1), g02('G', 2);
  mjd e = f.GetStartEpoch();
  e += 1350.0L;  // between blocks 1 and 2
  xyz x(7, 7, 7, 7), v(7, 7, 7, 7);
  f.CalcSatPosition(g01, e, x, v);
  EXPECT_EQ(x.GetX(), 7);
  EXPECT_EQ(v.GetZ(), 7);
  EXPECT_EQ(x.GetT(), 7);
  EXPECT_FALSE(f.GetPositionStatus() || f.GetTimeStatus());
  f.CalcSatPosition(g02, e, x, v);
  EXPECT_NEAR(x.GetX(), 501000.0, 1e-6);  // halfway from the x = 0 of block 1 (a value) to 1002 km
  EXPECT_TRUE(f.GetPositionStatus() && !f.GetTimeStatus());  // no clock in block 2
  EXPECT_EQ(x.GetT(), 0);

  // "nan", "inf", hexadecimal text and a number beyond the double range are no numbers.
  const char* line = "PG02   1002.000000   2000.000000   3000.000000     10.000000";
  for (const char* bad : {"           nan", "          -inf", "      infinity", "    0x3e8p+0  ",
                          "        1e9999", "       NAN(12)"}) {
    std::string l = line;
    l.replace(19, 14, bad);  // y
    CaptureResult r = ReadText(Replace(good, line, l));
    EXPECT_EQ(r.exitCode, 1) << bad;
    EXPECT_EQ(r.err, Frame(kSet, "Position line >" + l + "< of ORBIT SP3 data section NOT valid!")) << bad;
    l = line;
    l.replace(47, 14, bad);  // clock
    r = ReadText(Replace(good, line, l));
    EXPECT_EQ(r.err, Frame(kSet, "Position line >" + l + "< of ORBIT SP3 data section NOT valid!")) << bad;
  }
}
