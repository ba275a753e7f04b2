#pragma once
// What every subcommand runs on: standard error as the desktop, the progress line, and
// both screens on controls held in memory, filled with the command's profiles.

#include "cli/command_line.h"
#include "cli/connection_profile.h"
#include "cli/headless_screens.h"
#include "cli/interrupt_as_stop.h"
#include "cli/progress_line.h"
#include "cli/terminal_output.h"
#include "cli/terminal_platform.h"
#include "screens/app_context.h"

namespace dorvane::cli {

class CommandSession {
  public:
    CommandSession(const CommandLine& command, core::SettingsStore& settings,
                   const ProfileValues& profile, TerminalOutput& errors);

    // Opens the server and fills its list; false once it has told why not.
    bool reach(Server server);
    // Selects exactly these tables of the server's list, the last one current; false once
    // it has told which one is not there. Names are matched exactly, or else ignoring case.
    bool select(Server server, const QStringList& names);
    // Whether the server lists the table, spelt so, now: its list is read afresh.
    bool listsNow(Server server, const QString& table);

    TerminalOutput& errors;
    TerminalPlatform platform;
    ProgressLine progress;
    screens::CommandGuard commands;
    screens::OdbcDatabaseGateway databases;
    screens::AppContext app;
    HeadlessScreens headless;
    InterruptAsStop interrupt;
};

QString serverTitle(Server server);

// The subcommands; each returns the exit status.
int runTables(const CommandLine& command, CommandSession& session);
int runCopy(const CommandLine& command, CommandSession& session);
int runDrop(const CommandLine& command, CommandSession& session);
int runRename(const CommandLine& command, CommandSession& session);

}  // namespace dorvane::cli
