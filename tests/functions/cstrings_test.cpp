// Fixed-column cutting, trimming, words, replacing, number formatting, paths and
// the line reader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <sstream>

#include "functions/cstrings.h"
#include "support/capture.h"

TEST(cstrings, SubstrNeverReadsPastTheSource) {
  char out[32];
  substr("ABCDEF", 2, 3, out);
  EXPECT_STREQ(out, "CDE");
  substr("ABCDEF", 2, 10, out);
  EXPECT_STREQ(out, "CDEF");
  substr("ABCDEF", 6, 3, out);
  EXPECT_STREQ(out, "");
  substr("ABCDEF", 9, 3, out);
  EXPECT_STREQ(out, "");
  substr("ABCDEF", 1, 0, out);
  EXPECT_STREQ(out, "");
  substr("ABCDEF", 4, out);
  EXPECT_STREQ(out, "EF");
  substr("ABCDEF", 9, out);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(indexLast("a.b.c", '.'), 3);
  EXPECT_EQ(indexLast("abc", 0), 3);
  EXPECT_EQ(indexLast("abc", 'x'), -1);
}

TEST(cstrings, FillTrimAndCase) {
  char s[32] = "AB";
  fillstr(s, 5, '*');
  EXPECT_STREQ(s, "AB***");
  char t[32] = "ABCDEF";
  fillstr(t, 3, '*');
  EXPECT_STREQ(t, "ABC");
  char b[8] = "   ";
  trim(b);
  EXPECT_STREQ(b, "");
  char e[8] = "";
  trim(e);
  EXPECT_STREQ(e, "");
  char tab[16] = "\t ab  \t";
  trim(tab);
  EXPECT_STREQ(tab, "\t ab  \t");
  char m[16] = "  a b  ";
  trim(m);
  EXPECT_STREQ(m, "a b");
  char st[8];
  strng(st, '-', 3);
  EXPECT_STREQ(st, "---");
  strcopy(st, '-', 0);
  EXPECT_STREQ(st, "");
  char c[8] = "aBc";
  supper(c);
  EXPECT_STREQ(c, "ABC");
  slower(c);
  EXPECT_STREQ(c, "abc");
}

TEST(cstrings, WordsReplaceAndInsert) {
  EXPECT_EQ(cwords(" one two"), 2);
  EXPECT_EQ(cwords(""), 0);
  EXPECT_EQ(cwords("a\tb\nc"), 3);
  char w[32];
  gword(" one two", 1, w);
  EXPECT_STREQ(w, "one");
  gword(" one two", 2, w);
  EXPECT_STREQ(w, "two");
  gword(" one two", 3, w);
  EXPECT_STREQ(w, "");
  gword("x", 0, w);
  EXPECT_STREQ(w, "");
  char s[32] = "1.0D+01 2.0D-02";
  creplace(s, 'D', 'E');
  EXPECT_STREQ(s, "1.0E+01 2.0E-02");
  char p[32] = "DDDD";
  creplace(p, 'D', 'x', 2);
  EXPECT_STREQ(p, "xxDD");
  creplace(p, 'D', 'y', 0);  // position 0 is examined even for n <= 0
  EXPECT_STREQ(p, "xxDD");
  char q[32] = "aaa";
  sreplace(q, "aa", "ba");
  EXPECT_STREQ(q, "bba");
  char same[8] = "abab";
  sreplace(same, "ab", "ab");  // must end
  EXPECT_STREQ(same, "abab");
  char r[16] = "hello";
  instr(r, 3, "XYZ");
  EXPECT_STREQ(r, "helXY");
}

TEST(cstrings, SciNotationLayout) {
  char s[64];
  EXPECT_STREQ(sciNotation(1234.5, 20, 12, 4, s), " 1.234500000000e+003");
  EXPECT_STREQ(sciNotation(0.0, 20, 12, 4, s), " 0.000000000000e+000");
  EXPECT_STREQ(sciNotation(-1234.5L, 20, 12, 4, s), "-1.234500000000e+003");
  EXPECT_STREQ(sciNotation(9.9999999999999e5, 10, 3, 3, s), "10.000e+05");
  EXPECT_STREQ(sciNotation(-2.5e-7, 19, 12, 3, s), "-2.500000000000e-07");
  // No exponent for a value that has none; an extended value beyond the double range
  // keeps its mantissa.
  EXPECT_STREQ(sciNotation(std::numeric_limits<double>::quiet_NaN(), 19, 12, 3, s), "            nane+00");
  EXPECT_STREQ(sciNotation(std::numeric_limits<long double>::infinity(), 19, 12, 3, s), "            infe+00");
  EXPECT_STREQ(sciNotation(-std::numeric_limits<double>::infinity(), 19, 12, 3, s), "           -infe+00");
  EXPECT_STREQ(sciNotation(2.5e600L, 20, 12, 4, s), " 2.500000000000e+600");
  // Every nonzero value keeps its exponent, however small (a Galileo clock drift
  // rate of a real file, a double below the normal range, an extended one far below
  // the double range); only zero has the exponent 0.
  EXPECT_STREQ(sciNotation(-5.204170427930e-18L, 19, 12, 3, s), "-5.204170427930e-18");
  EXPECT_STREQ(sciNotation(9.99e-16, 19, 12, 3, s), " 9.990000000000e-16");
  EXPECT_STREQ(sciNotation(2.5e-308, 20, 12, 4, s), " 2.500000000000e-308");
  EXPECT_STREQ(sciNotation(std::numeric_limits<double>::denorm_min(), 20, 12, 4, s), " 4.940656458412e-324");
  EXPECT_STREQ(sciNotation(-2.5e-4000L, 20, 12, 5, s), "-2.500000000000e-4000");
  EXPECT_STREQ(sciNotation(-0.0, 19, 12, 3, s), " 0.000000000000e+00");
}

TEST(cstrings, DecimalNumbersOnly) {
  // The length strtod takes from a decimal number; what is no decimal number gives 0.
  const struct {
    const char* text;
    int len;
  } cases[] = {{"1", 1},           {"-12.5", 5},        {"+.5", 3},           {"5.", 2},
               {"1.5e+03x", 7},    {"1.5E-3", 6},       {"2e", 1},            {"2e+", 1},
               {"1.0e+00-2.0", 7}, {"0x1p3", 1},        {"-0X10", 2},         {"nan", 0},
               {"-inf", 0},        {"infinity", 0},     {".", 0},             {"-", 0},
               {"", 0},            {" 1", 0},           {"e5", 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(DecimalLength(c.text), c.len) << c.text;
    char* end = nullptr;
    strtod(c.text, &end);
    // strtod agrees wherever the text begins with a decimal number
    if (c.len > 0 && strpbrk(c.text, "xX") == nullptr) {
      EXPECT_EQ(end - c.text, c.len) << c.text;
    }
  }
  int places = -99;  // decimal places of the last written digit
  for (const auto& [text, want] : std::vector<std::pair<const char*, int>>{{"60133.10438", 5}, {"6.0133e4", 0}, {"1e-3", 3}})
    EXPECT_EQ((DecimalLength(text, &places), places), want) << text;
  long double v = 7;
  EXPECT_TRUE(DecimalField("  -6383.661000  ", v));
  EXPECT_EQ(v, -6383.661L);
  for (const char* bad : {"", "   ", "nan", " inf ", "0x1p3", "1e99999", "1.0 2.0", "12.5x", "\t1.0"}) {
    v = 7;
    EXPECT_FALSE(DecimalField(bad, v)) << bad;
    EXPECT_EQ(v, 7) << bad;  // untouched
  }
}

TEST(cstrings, PathsAndFiles) {
  char out[64];
  GetBasename("a/b\\c/d.txt", out);
  EXPECT_STREQ(out, "d.txt");
  GetBasename("d.txt", out);
  EXPECT_STREQ(out, "d.txt");
  GetDirname("a/b\\c/d.txt", out);
  EXPECT_STREQ(out, "a/b\\c");
  GetDirname("d.txt", out);
  EXPECT_STREQ(out, "");
  EXPECT_FALSE(FileExists("/nonexistent/file"));
  EXPECT_TRUE(RemFile("/tmp/morvi_surely_not_here_123"));
  // the process id keeps runs of other users and side by side apart
  const std::string made = "/tmp/morvi_cstrings_test_" + std::to_string(getpid()) + ".txt";
  {
    std::ofstream f(made);
    f << "x";
  }
  EXPECT_TRUE(FileExists(made));
  EXPECT_TRUE(RemFile(made.c_str()));
  EXPECT_FALSE(FileExists(made.c_str()));
}

TEST(cstrings, GetFileLineDropsCrAndCutsLongLines) {
  std::istringstream in("ab\r\n\ncdefghij\r\nlast");
  char buf[6];
  bool isLong = true;
  ASSERT_TRUE(GetFileLine(in, buf, sizeof buf, &isLong));
  EXPECT_STREQ(buf, "ab");
  EXPECT_FALSE(isLong);
  ASSERT_TRUE(GetFileLine(in, buf, sizeof buf, &isLong));
  EXPECT_STREQ(buf, "");
  ASSERT_TRUE(GetFileLine(in, buf, sizeof buf, &isLong));
  EXPECT_STREQ(buf, "cdefg");
  EXPECT_TRUE(isLong);
  ASSERT_TRUE(GetFileLine(in, buf, sizeof buf, &isLong));
  EXPECT_STREQ(buf, "last");
  EXPECT_FALSE(isLong);
  EXPECT_FALSE(GetFileLine(in, buf, sizeof buf, &isLong));
  EXPECT_STREQ(buf, "");

  std::istringstream exact("abcde\nxy");  // exactly the buffer's capacity
  ASSERT_TRUE(GetFileLine(exact, buf, sizeof buf, &isLong));
  EXPECT_STREQ(buf, "abcde");
  EXPECT_FALSE(isLong);
  ASSERT_TRUE(GetFileLine(exact, buf, sizeof buf));
  EXPECT_STREQ(buf, "xy");
  std::istringstream none("");
  EXPECT_FALSE(GetFileLine(none, buf, sizeof buf));

  // A CR LF line that fits without its CR is not long, whatever follows it.
  std::istringstream crlf("abcde\r\nxy\r\nabcde\r");
  ASSERT_TRUE(GetFileLine(crlf, buf, sizeof buf, &isLong));
  EXPECT_STREQ(buf, "abcde");
  EXPECT_FALSE(isLong);
  ASSERT_TRUE(GetFileLine(crlf, buf, sizeof buf, &isLong));
  EXPECT_STREQ(buf, "xy");
  ASSERT_TRUE(GetFileLine(crlf, buf, sizeof buf, &isLong));
  EXPECT_STREQ(buf, "abcde");
  EXPECT_FALSE(isLong);
  EXPECT_FALSE(GetFileLine(crlf, buf, sizeof buf, &isLong));
  std::istringstream cr("abcde\rfg\nz");  // a CR inside a long line is content
  ASSERT_TRUE(GetFileLine(cr, buf, sizeof buf, &isLong));
  EXPECT_STREQ(buf, "abcde");
  EXPECT_TRUE(isLong);
  ASSERT_TRUE(GetFileLine(cr, buf, sizeof buf, &isLong));
  EXPECT_STREQ(buf, "z");
}

TEST(cstrings, OpenForWritingOpensOrEndsInTheFatalFrame) {
  std::string name = "/tmp/morvi_open_" + std::to_string(getpid()) + ".txt";
  {
    std::ofstream out;
    OpenForWriting(out, name.c_str(), "Function:   x::PrintFile(char*)", "Output file: %s can not be opened!");
    out << "ok";
  }
  EXPECT_EQ(ReadWholeFile(name), "ok");
  std::remove(name.c_str());
  CaptureResult r = RunCaptured([] {
    std::ofstream out;
    OpenForWriting(out, "/tmp/no/such/dir/f.txt", "Function:   x::PrintFile(char*)",
                   "Output file: %s for X print can not be opened for writing!");
  });
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, ErrorFrame("Function:   x::PrintFile(char*)",
                              "Output file: /tmp/no/such/dir/f.txt for X print can not be opened for writing!"));
}
