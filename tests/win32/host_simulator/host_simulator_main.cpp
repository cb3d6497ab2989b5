// host_simulator.exe: plays the host program Tulm for Stats.dll under Wine (or Windows), from
// a scenario file, and prints every step with what the module answered.
//
//   host_simulator.exe [--module PATH] SCENARIO
//
// PATH defaults to Stats.dll beside this program. Exit code 0 when every step ran and every
// check held, 1 when one failed, 2 when the scenario cannot be read (then nothing runs).
//
// Scenario format: one command per line. Blank lines and everything from a # that starts a
// word are ignored. Words are separated by blanks; double quotes keep blanks and read the
// escapes \" \\ \t \r \n. The unquoted word (null) stands for a null pointer.
//
// The host's automation object "Tulm2.Application" (made when the run starts, not running):
//   host running              registers it as the running object (RegisterActiveObject)
//   host stopped              revokes it: the module finds no running host
//   host unregistered         removes the ProgID from the registry (host running restores it)
//   host failing on|off       every member call fails with an exception / answers again
//   host frequency HZ         what member 2 (frequency) answers, VT_R8
//   host call TEXT            what member 8 (call being entered) answers
//
// The module, on this thread (the host's):
//   load [PATH]               LoadLibraryA and the ten entry points by their export names
//   unload                    FreeLibrary
//   call NAME ARGUMENTS...    calls an entry point by its export name and prints its result,
//                             its out arguments and the commands the host received
//   pump MS                   dispatches this thread's messages for MS milliseconds, as an
//                             idle host does (the window's thread reaches the host this way)
// A module still loaded at the end stays loaded until the process ends.
//
// Arguments of `call`: NAME=VALUE for the arguments the module reads, argN=VALUE for any
// argument by position (from 1), or bare values in order. Everything not given is "" for
// texts, 0 for numbers, a null date-time for dates, an empty 100-byte buffer for out texts.
//   GetNumberOfSets
//   GetSetName set
//   GetExchgCount0
//   IsValidExchg0 exchange field
//   ResetStats0 export call start end name
//   AddData0, RemoveData0 own call time freq mode rsts rstr sent rcvd area prefix continent
//                         band
//   CheckCall0 call mode area prefix band other previous      (other is (null) unless given)
//   GetResult0 exported
//   SetupSet0
// Dates: "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS", or null / invalid for a
// date-time with that status.
//
// The operator, on a thread of its own: operator lines queue actions that run while the next
// load, unload, call or pump runs; that step ends when they are done.
//   operator wait "CAPTION" [MS]    wait for a visible top-level window of this process with
//                                   this caption (default 5000 ms); the next actions act on it
//   operator closed [MS]            wait until that window is gone
//   operator text ID "TEXT"         put TEXT into control ID
//   operator check ID 0|1           set check box ID
//   operator combo ID "TEXT"        select the combo box entry that begins with TEXT
//   operator press ID               click button ID
//   operator close                  the close box;   operator escape   the Esc key
//   operator read ID                print the text of control ID
//   operator expect ID "TEXT"       fail unless control ID holds TEXT
//   operator capture FILE.bmp       save the window as a 24-bit BMP
//   operator sleep MS
// The first action that fails ends the operator's turn.
//
// Checks (a failed one is printed and makes the exit code 1):
//   expect return N             the integer the last call returned
//   expect text "TEXT"          the text the last call returned ((null) for a null pointer)
//   expect out NAME "VALUE"     an out argument of the last call, as printed
//   expect commands "TEXT"...   the commands the host received since the previous
//                               `expect commands`, all of them, in order (none: no words)
#include <fstream>
#include <iostream>
#include <string>

#include "scenario.h"
#include "stats_module.h"

int main(int argc, char** argv) {
  ScenarioOptions options;
  options.modulePath = ProgramDirectory() + "Stats.dll";
  std::string scenarioPath;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--module" && i + 1 < argc) {
      options.modulePath = argv[++i];
    } else if (scenarioPath.empty() && argument.rfind("--", 0) != 0) {
      scenarioPath = argument;
    } else {
      scenarioPath.clear();
      break;
    }
  }
  if (scenarioPath.empty()) {
    std::cerr << "usage: host_simulator.exe [--module PATH] SCENARIO\n";
    return kScenarioUnreadable;
  }
  std::ifstream scenario(scenarioPath, std::ios::binary);
  if (!scenario) {
    std::cerr << "cannot open " << scenarioPath << "\n";
    return kScenarioUnreadable;
  }
  return RunScenario(scenario, scenarioPath, options, std::cout);
}
