// Morvi: GNSS satellite positions, velocities and clock corrections at a regular
// series of epochs, from SP3 precise orbits or RINEX 3 broadcast ephemerides.
// The program entry: static objects, the application state and the run sequence.
#include <cstdio>    // getchar
#include <cstdlib>   // exit
#include <fstream>   // ofstream
#include <iostream>  // cin, cout

#include "functions/CppCas.h"         // prgutil::ctm
#include "pgminc/ProgramError.h"      // ProgramError
#include "pgminc/ProgramStartEnd.h"   // StartProg, EndProg

// The redirection files of standard output (-wo) and standard error (-we).
std::ofstream coutRedirect;
std::ofstream cerrRedirect;

// The application state: every setting and every reader of one run.
class Morvi {
 public:
  bool verbose = false;
  bool help = false;
};

// Help text on standard output.
void pHelp() { std::cout << "Morvi: GNSS satellite position calculator" << std::endl; }

// No argument at all: the help text, one key press, exit code 1.
void ValidateArgs(int argc) {
  if (argc != 1) return;
  pHelp();
  std::cin.clear();
  std::getchar();
  std::exit(1);
}

void ParseArgumentsFirst(Morvi& mcs, int argc, char* argv[]) {
  (void)mcs;
  (void)argc;
  (void)argv;
}

void ParseArguments(Morvi& mcs, int argc, char* argv[]) {
  for (int i = 1; i < argc; i++)
    if ((argv[i][0] == '-') && (argv[i][1] == 'h' || argv[i][1] == 'H')) mcs.help = true;
  StartProg(mcs.verbose, " ***** GNSS SATELLITE POSITIONING - STARTING APPLICATION *****");
}

void CheckArguments(Morvi&) {}
void PrintArguments(Morvi&) {}
void SetFiles(Morvi&) {}
void ReadFiles(Morvi&) {}
void SetProcessingParms(Morvi&) {}
void CheckTransformEpochs(Morvi&) {}
void CalcPos(Morvi&) {}

int main(int argc, char* argv[]) {
  Morvi mcs;
  ValidateArgs(argc);
  ParseArgumentsFirst(mcs, argc, argv);
  ParseArguments(mcs, argc, argv);
  if (!mcs.help) {
    CheckArguments(mcs);
    PrintArguments(mcs);
    SetFiles(mcs);
    ReadFiles(mcs);
    SetProcessingParms(mcs);
    CheckTransformEpochs(mcs);
    CalcPos(mcs);
  } else {
    pHelp();
  }
  EndProg(mcs.verbose, false);
  return 0;
}
