// Input files of Morvi: hands each name to its reader, reads the files whole and
// prints their summaries, takes the first and last epoch and the satellite list
// from the ephemeris file where the user gave none, refuses a run that could
// write no value, and checks that the rotation file covers every epoch of the
// run. Epochs stay in the ephemeris' time scale; the rotation file turns them
// into TAI to find the record of the same instant.
#pragma once

#include <cstdio>    // snprintf
#include <iostream>  // cout, cerr

#include "Morvi.h"
#include "MorviEpochs.h"        // EpochText, ExactEpochText
#include "gdata/mjd.h"          // SeriesCount, SeriesEpoch, SeriesMeets, TenthsOf
#include "gdata/GNSSsys.h"      // gnss::systems
#include "pgminc/ProgramOut.h"  // ProgramCerrPrint, ProgramCerrPrintItem, ProgramSubTitle

namespace morvifiles {

// Most epochs a run may compute per satellite (0.1 s steps over 115 days): a
// tiny interval over a long span would keep the loops going for days.
inline constexpr long double MaxRunEpochs = 1e8L;

// A given file name to its reader (rxN, sp3, antex or toGCRS), with the echo
// line of SetFiles.
template <class Reader>
inline void HandOver(Morvi& mcs, const pChars& name, Reader& reader, const char* echo) {
  if (!name.IsSet()) return;
  reader.SetFile(name.Rec);
  morvistate::Echo(mcs, "SetFiles", echo);
}

// Reads one ephemeris file, prints its title, (verbose) its satellite counts
// per system and its summary. Reader is rxN or sp3, which answer alike.
template <class Reader>
inline void ReadEphemeris(Morvi& mcs, Reader& reader, const char* name, const char* titleFormat,
                          const char* countFormat) {
  const char* fun = "ReadFiles";
  char line[2048 + 64];  // a title with a name of up to 2047 characters
  reader.ReadFile();
  snprintf(line, sizeof(line), titleFormat, name);
  ProgramSubSubTitle(line, 0);
  if (mcs.Verbose.IsSet()) {
    snprintf(line, sizeof(line), countFormat, static_cast<int>(reader.GetNSat()));
    morvistate::Echo(mcs, fun, line);
    // Count lines in the order of gnss::systems, only for systems present.
    for (const GNSSsys& s : gnss::systems) {
      const int n = reader.GetNSat(s.letter);
      if (n == 0) continue;
      snprintf(line, sizeof(line), "                       :   %d %s", n, s.label);
      morvistate::Echo(mcs, fun, line);
    }
  }
  reader.PrintSummary();
}

// Note on standard error, written also without verbose mode.
inline void Note(const char* text) { ProgramCerrPrintItem("Morvi", "SetProcessingParms", text, "", 0, 0); }

// An epoch the user did not give ("FIRST" or "LAST") is taken from the
// ephemeris file in use; get reads it from the reader (rxN or sp3). It must lie
// on a tenth of a second (TenthsOf: within 10 ns, the file's decimal seconds
// turned into binary), as a typed one must: the rows print tenths and would
// name another instant than the one computed.
template <class Get>
inline void EpochFromFile(Morvi& mcs, pDate& epoch, const char* which, const char* broadcastNote,
                          const char* preciseNote, Get get) {
  if (epoch.IsSet()) return;
  Note(morvistate::Broadcast(mcs) ? broadcastNote : preciseNote);
  const mjd e = morvistate::OnEphemeris(mcs, get);
  if (TenthsOf(e.GetSecond()) < 0) {
    char msg[2400], t[64];  // a name of up to 2047 characters
    snprintf(msg, sizeof msg,
             "%s epoch >%s< OF EPHEMERIS FILE >%s< NOT VALID - SECONDS NOT A MULTIPLE OF 0.1 s, THE RESOLUTION OF THE "
             "EPOCHS!",
             which, morviepochs::ExactEpochText(e, t, sizeof t), morvistate::EphemerisName(mcs));
    ProgramError("Morvi", msg, false);
  }
  epoch.SetManually(e);
}

// The rotation file looks for the record of the same instant: it learns the time
// scale of the epochs, GPS time for broadcast orbits (the navigation reader keeps
// every system in it), the header's time system for an SP3 file. A time system
// the SP3 reader does not know is taken as GPS time, with a warning.
inline void SetTransformTimeScale(Morvi& mcs) {
  TimeScale scale = TimeScale::GPS;
  if (!morvistate::Broadcast(mcs) && !mcs.peData.GetTimeScale(scale)) {
    char msg[256];
    snprintf(msg, sizeof msg,
             "SP3 TIME SYSTEM >%s< NOT KNOWN - EPOCHS TAKEN AS GPS TIME FOR ITRS>GCRS ROTATION!",
             mcs.peData.GetTimeSys());
    ProgramWarning("Morvi", msg);
  }
  mcs.t2cData.SetTimeScale(scale);
}

}  // namespace morvifiles

// Hands the file names to their readers (a missing file is fatal there).
inline void SetFiles(Morvi& mcs) {
  const char* fun = "SetFiles";
  bool vb = mcs.Verbose.IsSet();
  if (vb) ProgramCerrPrint("Morvi", fun, "SETTING ALL INPUT DATA FILES", '-');
  if (morvistate::Broadcast(mcs))
    morvifiles::HandOver(mcs, mcs.beFileName, mcs.beData, "Setting broadcast ephemeris file name");
  else
    morvifiles::HandOver(mcs, mcs.peFileName, mcs.peData, "Setting precise ephemeris file name");
  morvifiles::HandOver(mcs, mcs.atxFileName, mcs.atx, "Setting ANTEX file name");
  morvifiles::HandOver(mcs, mcs.tcFileName, mcs.t2cData, "Setting ITRS>GCRS rotations file name");
  if (vb) ProgramCerrPrint("Morvi", fun, "++-", '-');
}

// Reads every given file whole and prints its summary on standard output.
inline void ReadFiles(Morvi& mcs) {
  const char* fun = "ReadFiles";
  bool vb = mcs.Verbose.IsSet();
  char line[2048 + 64];  // a title with a name of up to 2047 characters
  if (vb) ProgramCerrPrint("Morvi", fun, "READING ALL INPUT DATA FILES", '-');
  ProgramSubTitle("READING ALL INPUT DATA FILES:", 0);
  std::cout << std::endl;
  if (morvistate::Broadcast(mcs))
    morvifiles::ReadEphemeris(mcs, mcs.beData, mcs.beFileName.Rec, "Brodcast ephemeris file: %s",
                              "Reading broadcast ephemeris file: %d satellites");
  else
    morvifiles::ReadEphemeris(mcs, mcs.peData, mcs.peFileName.Rec, "Precise ephemeris file: %s",
                              "Reading precise ephemeris file: %d satellites");
  if (mcs.atxFileName.IsSet()) {
    mcs.atx.ReadFile();
    snprintf(line, sizeof(line), "ANTEX file: %s", mcs.atxFileName.Rec);
    ProgramSubSubTitle(line, 0);
    if (vb) {
      snprintf(line, sizeof(line), "Reading ANTEX file: %d ants", static_cast<int>(mcs.atx.atxSum.nAntennae));
      morvistate::Echo(mcs, fun, line);
      snprintf(line, sizeof(line), "                       : %d recs", static_cast<int>(mcs.atx.atxSum.nREC));
      morvistate::Echo(mcs, fun, line);
      int nSats = 0;
      for (const GNSSsys& s : gnss::systems) nSats += *mcs.atx.atxSum.Count(s.letter);
      if (nSats != 0) {
        snprintf(line, sizeof(line), "                       : %d sats", nSats);
        morvistate::Echo(mcs, fun, line);
      }
    }
    mcs.atx.PrintSummary();
  }
  if (mcs.tcFileName.IsSet()) {
    mcs.t2cData.ReadFile();
    snprintf(line, sizeof(line), "ITRS>GCRS rotations file: %s", mcs.tcFileName.Rec);
    ProgramSubSubTitle(line, 0);
    if (vb) {
      snprintf(line, sizeof(line), "Reading ITRS>GCRS rotations file: %ld epochs",
               static_cast<long>(mcs.t2cData.GetNEph()));
      morvistate::Echo(mcs, fun, line);
    }
    mcs.t2cData.PrintSummary();
  }
  if (vb) ProgramCerrPrint("Morvi", fun, "++-", '-');
}

// First and last epoch and the satellite list from the ephemeris file where the
// user gave none; the notes go to standard error in any mode. No end line.
inline void SetProcessingParms(Morvi& mcs) {
  if (mcs.Verbose.IsSet()) ProgramCerrPrint("Morvi", "SetProcessingParms", "SETTING PROCESSING PARAMETERS", '-');
  // A file without any satellite has no span and no list to give (its epochs
  // are not set): RefuseRunWithoutValue ends the run.
  if (morvistate::OnEphemeris(mcs, [](auto& reader) { return reader.GetNSat(); }) == 0) {
    ProgramWarning("Morvi", "EPHEMERIS FILE HOLDS NO SATELLITE DATA - NO POSITIONS WILL BE CALCULATED!");
    return;
  }
  morvifiles::EpochFromFile(mcs, mcs.eStart, "FIRST", "Setting START epoch from BROADCAST EPHEMERIS",
                            "Setting START epoch from PRECISE EPHEMERIS",
                            [](auto& reader) { return reader.GetStartEpoch(); });
  morvifiles::EpochFromFile(mcs, mcs.eEnd, "LAST", "Setting END epoch from BROADCAST EPHEMERIS",
                            "Setting END epoch from PRECISE EPHEMERIS",
                            [](auto& reader) { return reader.GetEndEpoch(); });
  if (!mcs.Sat.IsSet()) {
    morvifiles::Note(morvistate::Broadcast(mcs) ? "Setting LIST OF SATELLITES from BROADCAST EPHEMERIS"
                                                : "Setting LIST OF SATELLITES from PRECISE EPHEMERIS");
    myList<rSat> s;
    morvistate::OnEphemeris(mcs, [&](auto& reader) { reader.GetSats(s); });
    mcs.Sat.SetManually(s);
    mcs.satsFromFile = true;
  }
}

namespace morvifiles {

// What the satellites of a run of n epochs can give: whether one of them is
// selected and in the ephemeris file (sat), whether an epoch of the run lies
// within the reach of one (epoch: beyond one interval of an SP3 file, beyond 3
// days of the GLONASS records, none does), and whether such an epoch can carry
// a position (value: an SP3 file may hold no position of them there, or none
// at all; a broadcast record always gives one).
struct RunReach {
  bool sat = false, epoch = false, value = false;
};

inline RunReach ReachOfRun(Morvi& mcs, long double n) {
  RunReach r;
  const mjd& first = mcs.eStart.Rec;
  for (long i = 0; i < mcs.Sat.Rec.Length() && !r.value; i++) {
    rSat sat = mcs.Sat.Rec(i);
    if (!morvistate::IsSelected(sat, mcs.gSys) || !morvistate::HasSatellite(mcs, sat)) continue;
    r.sat = true;
    mjd from, to;
    const bool bounded = morvistate::OnEphemeris(mcs, [&](auto& reader) { return reader.GetReach(sat, from, to); });
    if (bounded && !SeriesMeets(first, n, mcs.Interval.Rec, from, to)) continue;
    r.epoch = true;
    r.value = morvistate::Broadcast(mcs) ||
              mcs.peData.ServesPosition(sat, first, n, mcs.Interval.Rec, mcs.nPtsLIpos.Rec);
  }
  return r;
}

// Ends a run of n epochs none of which can carry a value: outside the reach of
// every satellite (epoch false) or without a position of any (value false).
inline void RefuseEpochsWithoutValue(Morvi& mcs, long double n, const RunReach& r) {
  char msg[2600], t1[64], t2[64], t3[64], t4[64];  // a name of up to 2047 characters
  const char* file = morvistate::EphemerisName(mcs);
  const mjd& first = mcs.eStart.Rec;
  morviepochs::EpochText(first, t1, sizeof t1);
  morviepochs::EpochText(SeriesEpoch(first, n - 1, mcs.Interval.Rec), t2, sizeof t2);
  if (morvistate::Broadcast(mcs))
    snprintf(msg, sizeof msg,
             "NO EPOCH FROM >%s< TO >%s< WITHIN %.0Lf DAYS OF A GLONASS RECORD OF THE SATELLITES IN BROADCAST "
             "EPHEMERIS FILE >%s< - NO POSITIONS TO CALCULATE!",
             t1, t2, rxcalc::MAX_INTEG_DISTANCE / tcns::SECDAY, file);
  else if (!r.epoch)
    snprintf(msg, sizeof msg,
             "NO EPOCH FROM >%s< TO >%s< WITHIN ONE INTERVAL OF THE EPOCHS >%s< TO >%s< OF PRECISE EPHEMERIS FILE "
             ">%s< - NO POSITIONS TO CALCULATE!",
             t1, t2, morviepochs::EpochText(mcs.peData.GetStartEpoch(), t3, sizeof t3),
             morviepochs::EpochText(mcs.peData.GetEndEpoch(), t4, sizeof t4), file);
  else
    snprintf(msg, sizeof msg,
             "NO EPOCH FROM >%s< TO >%s< HAS A POSITION OF THE SELECTED SATELLITES IN PRECISE EPHEMERIS FILE >%s< - "
             "NO POSITIONS TO CALCULATE!",
             t1, t2, file);
  ProgramError("Morvi", msg, false);
}

}  // namespace morvifiles

// The span and the satellites are set: a run that could write no value ends
// here, before the results file of an earlier run is replaced by an empty
// table. Refused: a last epoch before the first, a list none of whose selected
// satellites is in the file (a list of the file: none of a selected system),
// epochs that no record of any of them serves or none of whose rows can carry
// a position (see ReachOfRun); also a series too long to compute, and a file
// without satellite data where no list is given (the file gave no list,
// SetProcessingParms leaving it unset).
inline void RefuseRunWithoutValue(Morvi& mcs) {
  const char* file = morvistate::EphemerisName(mcs);
  char msg[2600], t1[64], t2[64];  // a name of up to 2047 characters
  if (!mcs.Sat.IsSet()) {
    snprintf(msg, sizeof msg, "EPHEMERIS FILE >%s< HOLDS NO SATELLITE DATA - NO POSITIONS TO CALCULATE!", file);
    ProgramError("Morvi", msg, false);
  }
  mjd& first = mcs.eStart.Rec;
  mjd& last = mcs.eEnd.Rec;
  const long double n = SeriesCount(first, last, mcs.Interval.Rec);
  const morvifiles::RunReach reach = morvifiles::ReachOfRun(mcs, n);
  if (!reach.sat) {
    char letters[gnss::NSYS + 1];
    if (!mcs.satsFromFile)
      snprintf(msg, sizeof msg,
               "NO SATELLITE OF LIST OF SATELLITES IN EPHEMERIS FILE >%s< - NO POSITIONS TO CALCULATE!", file);
    else
      snprintf(msg, sizeof msg,
               "EPHEMERIS FILE >%s< HOLDS NO SATELLITE OF THE SELECTED GNSS SYSTEMS >%s< - NO POSITIONS TO CALCULATE!",
               file, morvistate::SelectedLetters(mcs.gSys, letters));
    ProgramError("Morvi", msg, false);
  }
  if (n == 0) {
    snprintf(msg, sizeof msg, "FIRST epoch >%s< AFTER LAST epoch >%s< - NO EPOCH TO CALCULATE!",
             morviepochs::EpochText(first, t1, sizeof t1), morviepochs::EpochText(last, t2, sizeof t2));
    ProgramError("Morvi", msg, false);
  }
  // An interval tiny against the span (-ei1e-12 over a day: 1e17 epochs) would
  // keep the epoch loops going practically for ever, filling the disk.
  if (n > morvifiles::MaxRunEpochs) {
    snprintf(msg, sizeof msg,
             "Observation interval >%.3Le< s TOO SMALL - MORE THAN %.0Lf EPOCHS BETWEEN FIRST AND LAST EPOCH!",
             mcs.Interval.Rec, morvifiles::MaxRunEpochs);
    ProgramError("Morvi", msg, false);
  }
  if (!reach.value) morvifiles::RefuseEpochsWithoutValue(mcs, n, reach);
}

// Counts the epochs of the run that the rotation file does not cover (the
// reader lists them); the run goes on whatever the count. No end line.
inline void CheckTransformEpochs(Morvi& mcs) {
  if (!mcs.tcFileName.IsSet()) return;
  const char* fun = "CheckTransformEpochs";
  if (mcs.Verbose.IsSet()) ProgramCerrPrint("Morvi", fun, "CHECKING EPOCHS FOR ITRF>GCRS TRANSFORMATION", '-');
  morvifiles::SetTransformTimeScale(mcs);
  ProgramSubTitle("CHECKING EPOCHS FOR ITRF>GCRS TRANSFORMATION:", 0);
  std::cout << std::endl;
  long nProb = mcs.t2cData.CheckExternalEpochs(mcs.eStart.Rec, mcs.eEnd.Rec, mcs.Interval.Rec);
  if (mcs.Verbose.IsSet()) {
    char line[128];
    snprintf(line, sizeof(line), "Number of problematic epochs: %ld ", nProb);
    morvistate::Echo(mcs, fun, line);
  }
}
