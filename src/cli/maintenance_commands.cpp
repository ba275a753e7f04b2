// `dorvane drop` and `dorvane rename`: the screen's "Delete Table/s" and "Rename Table"
// on the selected tables, asking nothing. Whether each table went is read afresh from the
// server, a line per table on standard output.
#include <cstdio>

#include "cli/command_session.h"
#include "cli/exit_status.h"

namespace dorvane::cli {
namespace {

screens::TableSide sideOf(Server server) {
    return server == Server::Postgres ? screens::TableSide::Postgres
                                      : screens::TableSide::SqlServer;
}

void printLine(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
}

}  // namespace

int runDrop(const CommandLine& command, CommandSession& session) {
    const Server server = command.server;
    if (!session.reach(server)) return kExitUsageOrConnection;
    if (!session.select(server, command.tables)) return kExitUsageOrConnection;
    const core::ListBox& list = session.headless.tables(server);
    QStringList selected;
    for (int i = 0; i < list.count(); ++i)
        if (list.selected(i)) selected << list.text(i);
    session.headless.transferScreen().deleteTables(sideOf(server));
    bool allDropped = true;
    for (const QString& table : selected) {
        const bool dropped = !session.listsNow(server, table);
        allDropped = allDropped && dropped;
        printLine((dropped ? QStringLiteral("dropped\t") : QStringLiteral("not-dropped\t")) +
                  table);
    }
    return allDropped ? kExitCopied : kExitIncomplete;
}

int runRename(const CommandLine& command, CommandSession& session) {
    const Server server = command.server;
    if (!session.reach(server)) return kExitUsageOrConnection;
    if (!session.select(server, {command.tables.first()})) return kExitUsageOrConnection;
    const core::ListBox& list = session.headless.tables(server);
    const QString oldName = list.text(list.currentIndex());
    const QString& newName = command.tables.at(1);
    session.headless.transferScreen().renameTable(sideOf(server));
    const bool renamed = !session.listsNow(server, oldName) || oldName == newName;
    printLine((renamed ? QStringLiteral("renamed\t") : QStringLiteral("not-renamed\t")) + oldName +
              u'\t' + newName);
    return renamed ? kExitCopied : kExitIncomplete;
}

}  // namespace dorvane::cli
