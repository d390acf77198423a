// Morvi: GNSS satellite positions, velocities and clock corrections at a regular
// series of epochs, from SP3 precise orbits or RINEX 3 broadcast ephemerides.
// The program entry: the application state and the fixed run sequence.
#include "Morvi.h"
#include "MorviArgs.h"
#include "MorviCalc.h"
#include "MorviFiles.h"
#include "MorviHelp.h"
#include "pgminc/ProgramStartEnd.h"  // EndProg

int main(int argc, char* argv[]) {
  Morvi mcs;
  ValidateArgs(argc);
  ParseArgumentsFirst(mcs, argc, argv);
  ParseArguments(mcs, argc, argv);
  // The order matters: the report shows the parameters as given, before the
  // ephemeris fills the span and the satellites; the readers get only names
  // that passed the checks; the rotation check needs the final span. Every
  // refusal comes before CalcPos opens the results file, so a refused run
  // leaves the file of an earlier run as it was: CheckArguments refuses what
  // the command line cannot serve, the readers what they cannot read,
  // RefuseRunWithoutValue a run that could write no value, and
  // SetUpOrbitSource numbers the orbit source cannot take.
  if (!mcs.Help.IsSet()) {
    CheckArguments(mcs);
    PrintArguments(mcs);
    SetFiles(mcs);
    ReadFiles(mcs);
    SetProcessingParms(mcs);
    RefuseRunWithoutValue(mcs);
    SetUpOrbitSource(mcs);
    CheckTransformEpochs(mcs);
    CalcPos(mcs);
  } else {
    pHelp();
  }
  EndProg(mcs.Verbose.IsSet(), false);
  return 0;
}
