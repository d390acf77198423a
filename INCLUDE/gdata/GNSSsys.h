#pragma once
// GNSSsys: the seven satellite systems, one row each, with what the program knows of
// a system: its letter and old-style code, its names in the messages, how far (s) from
// its record epoch a broadcast record serves without a warning, the kind of its
// broadcast records and their choice, its code in the key of an ANTEX satellite block
// and the frequency of the ANTEX offset that corrects its broadcast positions. The
// rows stand in the order G, R, E, C, S, J, I, the order of the per-system counts,
// lists, summaries and written records. gnss::Member reaches the per-system
// members of a class (nSatG ... nSatI and the like) by letter, through a table that
// names the letter of each member.
// [1] RINEX 3.05, 3.5 (system letters); [2] RINEX 2.11, 9.2 (old system codes).

// One system. A broadcast record is chosen as the nearest one or (pastToe) as the
// latest whose TOE lies at or before the epoch. Galileo records fit their orbit
// from TOE onwards and drift fast before it (on 2020-06-25 against precise orbits:
// 0.4 m up to 3 h after TOE, 8 m 1-2 h before, 39 m 2-4 h before); GPS, BeiDou and
// QZSS records fit an interval centred on TOE, where the nearest record serves best.
struct GNSSsys {
  char letter;        // system letter, upper case [1]
  char oldCode;       // old-style (numeric) system code [2]
  const char* name;   // in the broadcast-orbit warnings and the system selection
  const char* label;  // in the per-system counts echoed when a file is read
  const char* text;   // system text of RINEX and ANTEX header lines
  long double dtMax;  // s, largest distance from the record epoch without a warning
  bool kepler;        // broadcast as Keplerian elements, else as a state vector
  bool integrated;    // a state vector carried by numerical integration, else by its broadcast model
  bool pastToe;       // record choice: the latest TOE at or before the epoch, else the nearest record
  int antexKey;       // system code of an ANTEX satellite block key (no system has 5)
  const char* antexFreq;  // ANTEX frequency code of the phase-centre offset that corrects a broadcast position
};

namespace gnss {

inline constexpr int NSYS = 7;

// NavIC is named "NavIC" in the warnings and the selection and "IRNSS" elsewhere.
inline constexpr GNSSsys systems[NSYS] = {
    {'G', ' ', "GPS", "GPS", "G: GPS", 7200.0L, true, false, false, 1, "G01"},
    {'R', '1', "GLONASS", "GLONASS", "R: GLONASS", 1800.0L, false, true, false, 2, "R01"},
    {'E', '2', "GALILEO", "GALILEO", "E: GALILEO", 14400.0L, true, false, true, 3, "E01"},
    {'C', '3', "BDS", "BDS", "C: BDS", 3600.0L, true, false, false, 4, "C02"},
    {'S', '4', "SBAS", "SBAS", "S: SBAS", 900.0L, false, false, false, 7, "S01"},
    {'J', '5', "QZSS", "QZSS", "J: QZSS", 3600.0L, true, false, false, 6, "J01"},
    {'I', '6', "NavIC", "IRNSS", "I: IRNSS", 3600.0L, true, false, false, 8, "I05"}};

// Row of a system letter (upper case only) in systems; -1 for any other character.
constexpr int Index(char letter) {
  for (int i = 0; i < NSYS; ++i)
    if (systems[i].letter == letter) return i;
  return -1;
}

// The system of a letter (upper case only), null for any other character.
inline const GNSSsys* Of(char letter) {
  const int i = Index(letter);
  return i < 0 ? nullptr : &systems[i];
}

// The system of a letter in either case, null for any other character.
inline const GNSSsys* OfEitherCase(char c) {
  return Of(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
}

// System text of the system letter of a RINEX or ANTEX header, in either case:
// the system's text, "M: MIXED" for a mixed file, "" for a blank, null for any
// other character.
inline const char* HeaderText(char c) {
  if (c == ' ') return "";
  if (c == 'M' || c == 'm') return "M: MIXED";
  const GNSSsys* s = OfEitherCase(c);
  return s != nullptr ? s->text : nullptr;
}

// One entry of a per-system member table: the member of class T that belongs to
// the system of letter. A table lists the systems the class has a member for, in
// any order; a system it does not list has no member.
template <class T, class M>
struct LetterMember {
  char letter;   // system letter, upper case
  M T::*member;  // the system's member of T
};

// Whether each entry of table names a system letter and no letter stands twice,
// for a static_assert beside each table.
template <class T, class M, int N>
constexpr bool OnceEach(const LetterMember<T, M> (&table)[N]) {
  for (int i = 0; i < N; ++i) {
    if (Index(table[i].letter) < 0 || table[i].member == nullptr) return false;
    for (int j = 0; j < i; ++j)
      if (table[j].letter == table[i].letter) return false;
  }
  return true;
}

// The tables of a data summary S that counts and lists its satellites per system
// in nSatG ... nSatI and lSatG ... lSatI (the product and the navigation summaries).
template <class S>
inline constexpr LetterMember<S, decltype(S::nSatG)> kSatCounts[] = {
    {'G', &S::nSatG}, {'R', &S::nSatR}, {'E', &S::nSatE}, {'C', &S::nSatC},
    {'S', &S::nSatS}, {'J', &S::nSatJ}, {'I', &S::nSatI}};
template <class S>
inline constexpr LetterMember<S, decltype(S::lSatG)> kSatLists[] = {
    {'G', &S::lSatG}, {'R', &S::lSatR}, {'E', &S::lSatE}, {'C', &S::lSatC},
    {'S', &S::lSatS}, {'J', &S::lSatJ}, {'I', &S::lSatI}};

// The member of obj that belongs to the system of letter (upper case only), from
// the entry of table that names the letter; null for a system the table does not
// list and for any other character.
template <class Obj, class T, class M, int N>
auto Member(Obj& obj, char letter, const LetterMember<T, M> (&table)[N]) -> decltype(&(obj.*table[0].member)) {
  for (const LetterMember<T, M>& e : table)
    if (e.letter == letter) return &(obj.*e.member);
  return nullptr;
}

}  // namespace gnss
