// Tests of the system table's header texts as the RINEX and ANTEX version lines
// write them: each system letter in either case, the mixed-file letter, a blank
// and a letter of no system; the per-system member tables reached by letter.
#include "gdata/GNSSsys.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "igsforms/atxRecords.h"
#include "rinex/rxHeader.h"

namespace {

// The version line of a file with system letter c, written back (PrintType 0).
std::string RinexLine(char c) {
  std::string line = "     3.04           N: GNSS NAV DATA    X                   RINEX VERSION / TYPE";
  line[40] = c;
  rxVersionType v;
  v.Set(&line[0]);
  std::ostringstream os;
  os << v;
  return os.str();
}
std::string AntexLine(char c) {
  std::string line = "     1.4            X                                       ANTEX VERSION / SYST";
  line[20] = c;
  atxVersionSystem v;
  v.Set(line.c_str());
  std::ostringstream os;
  os << v;
  return os.str();
}

TEST(GNSSsys, HeaderSystemTextsInBothFormats) {
  // The texts of the formats' system letters (RINEX 3.05, ANTEX 1.4), in
  // 20 and 40 columns.
  const struct {
    char letter;
    const char* text;
  } cases[] = {{'G', "G: GPS"},  {'r', "R: GLONASS"}, {'E', "E: GALILEO"}, {'c', "C: BDS"},
               {'S', "S: SBAS"}, {'j', "J: QZSS"},    {'I', "I: IRNSS"},   {'i', "I: IRNSS"},
               {'M', "M: MIXED"}, {'m', "M: MIXED"},  {' ', ""}};
  for (const auto& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(RinexLine(c.letter), "     3.04           N: GNSS NAV. DATA   " + text + std::string(20 - text.size(), ' ') +
                                       "RINEX VERSION / TYPE\n")
        << "letter >" << c.letter << "<";
    EXPECT_EQ(AntexLine(c.letter), "     1.4            " + text + std::string(40 - text.size(), ' ') +
                                       "ANTEX VERSION / SYST\n")
        << "letter >" << c.letter << "<";
  }
  // A letter of no system has no text: the label follows the field before.
  EXPECT_EQ(RinexLine('X'), "     3.04           N: GNSS NAV. DATA   RINEX VERSION / TYPE\n");
  EXPECT_EQ(AntexLine('x'), "     1.4            ANTEX VERSION / SYST\n");
  EXPECT_EQ(gnss::HeaderText('X'), nullptr);
}

// A table in another order than the systems, without BeiDou, still gives each
// listed system its own member and no member to any other character.
struct Counts {
  int g = 1, r = 2, e = 3, s = 5, j = 6, i = 7;
};
constexpr gnss::LetterMember<Counts, int> kShuffled[] = {
    {'J', &Counts::j}, {'S', &Counts::s}, {'I', &Counts::i}, {'G', &Counts::g}, {'E', &Counts::e}, {'R', &Counts::r}};
static_assert(gnss::OnceEach(kShuffled), "each letter once");
constexpr gnss::LetterMember<Counts, int> kTwice[] = {{'G', &Counts::g}, {'G', &Counts::r}};
constexpr gnss::LetterMember<Counts, int> kLowerCase[] = {{'g', &Counts::g}};
static_assert(!gnss::OnceEach(kTwice) && !gnss::OnceEach(kLowerCase), "refused tables");

TEST(GNSSsys, MemberByLetter) {
  Counts c;
  const struct {
    char letter;
    int want;  // 0: no member
  } cases[] = {{'G', 1}, {'R', 2}, {'E', 3}, {'C', 0}, {'S', 5}, {'J', 6}, {'I', 7},
               {'g', 0}, {'j', 0}, {'M', 0}, {'X', 0}, {' ', 0}, {'\0', 0}};
  for (const auto& k : cases) {
    const int* m = gnss::Member(c, k.letter, kShuffled);
    EXPECT_EQ(m == nullptr ? 0 : *m, k.want) << "letter >" << k.letter << "<";
  }
}

}  // namespace
