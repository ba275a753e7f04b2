// `dorvane copy --to postgres|sqlserver …`: the selected tables sent as the transfer
// screen's button sends them, with the boxes ticked as the options say. The summary, a
// line per table, goes to standard output.
#include <cstdio>

#include "cli/command_session.h"
#include "cli/copy_outcomes.h"
#include "cli/exit_status.h"

namespace dorvane::cli {
namespace {

// Every listed table; from PostgreSQL without its own catalogues.
QStringList everyTable(CommandSession& session, Server source) {
    const core::ListBox& list = session.headless.tables(source);
    const QStringList catalogues =
        source == Server::Postgres ? session.headless.postgresCatalogueTables() : QStringList();
    QStringList names;
    for (int i = 0; i < list.count(); ++i)
        if (!catalogues.contains(list.text(i))) names << list.text(i);
    return names;
}

// The selected tables in the order the transfer takes them: from the list's bottom.
QStringList runOrder(const core::ListBox& list) {
    QStringList names;
    for (int i = list.count() - 1; i >= 0; --i)
        if (list.selected(i)) names << list.text(i);
    return names;
}

void tickBoxes(const CommandLine& command, transfer::TransferScreenControls& boxes) {
    const bool toPostgres = command.server == Server::Postgres;
    const auto tick = [](core::CheckBox* box, bool ticked) {
        if (box) box->setValue(ticked ? 1 : 0);
    };
    tick(&boxes.customizeToPostgres, toPostgres && command.customizeAsProposed);
    tick(&boxes.customizeToSqlServer, !toPostgres && command.customizeAsProposed);
    tick(boxes.fastCopyToPostgres, toPostgres && command.fast);
    tick(boxes.fastCopyToSqlServer, !toPostgres && command.fast);
    tick(boxes.naturalTypesToPostgres, toPostgres && command.naturalTypes);
    tick(boxes.naturalTypesToSqlServer, !toPostgres && command.naturalTypes);
}

}  // namespace

int runCopy(const CommandLine& command, CommandSession& session) {
    const Server target = command.server;
    const Server source = target == Server::Postgres ? Server::SqlServer : Server::Postgres;
    if (!session.reach(Server::Postgres) || !session.reach(Server::SqlServer))
        return kExitUsageOrConnection;
    try {
        const QStringList names = command.all ? everyTable(session, source) : command.tables;
        if (!session.select(source, names)) return kExitUsageOrConnection;
    } catch (const std::exception& e) {
        session.errors.message(serverTitle(source) + QStringLiteral(": ") +
                               QString::fromUtf8(e.what()));
        return kExitUsageOrConnection;
    }
    const core::ListBox& sourceList = session.headless.tables(source);
    if (sourceList.selectedCount() == 0) {
        session.errors.message(serverTitle(source) + QStringLiteral(" lists no tables to copy."));
        return kExitCopied;
    }

    tickBoxes(command, session.headless.controls());
    CopyOutcomes outcomes(runOrder(sourceList));
    session.platform.onKept = [&](const QString& table) { outcomes.kept(table); };
    session.platform.onNotCopied = [&](const QStringList& tables) { outcomes.notCopied(tables); };
    session.progress.onTableEnded = [&] { return outcomes.tableEnded(); };
    if (target == Server::Postgres)
        session.headless.transferScreen().sendToPostgres();
    else
        session.headless.transferScreen().sendToSqlServer();

    for (const QString& line : outcomes.summary()) std::printf("%s\n", line.toUtf8().constData());
    return outcomes.allDone(command.overwrite == OverwriteAnswer::KeepExisting) ? kExitCopied
                                                                                : kExitIncomplete;
}

}  // namespace dorvane::cli
