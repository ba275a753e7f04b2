#pragma once
// The program's command mode: `dorvane SUBCOMMAND …` runs one command without windows.

#include <QString>

namespace dorvane::cli {

// True when the arguments ask for the command mode rather than the windows.
bool wantsCommandLine(int argc, char** argv);
// Runs it and returns the exit status; makes its own QCoreApplication, never a window.
int runCommandLine(int argc, char** argv);

}  // namespace dorvane::cli
