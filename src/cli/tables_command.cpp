// `dorvane tables postgres|sqlserver`: the server's tables as the transfer screen lists
// them, one a line.
#include <cstdio>

#include "cli/command_session.h"
#include "cli/exit_status.h"

namespace dorvane::cli {

int runTables(const CommandLine& command, CommandSession& session) {
    if (!session.reach(command.server)) return kExitUsageOrConnection;
    const core::ListBox& list = session.headless.tables(command.server);
    for (int i = 0; i < list.count(); ++i) std::printf("%s\n", list.text(i).toUtf8().constData());
    return kExitCopied;
}

}  // namespace dorvane::cli
