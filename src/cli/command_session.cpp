#include "cli/command_session.h"

#include <stdexcept>

namespace dorvane::cli {

QString serverTitle(Server server) {
    return server == Server::Postgres ? QStringLiteral("PostgreSQL") : QStringLiteral("SQL Server");
}

CommandSession::CommandSession(const CommandLine& command, core::SettingsStore& settings,
                               const ProfileValues& profile, TerminalOutput& errors)
    : errors(errors),
      platform(errors, command.overwrite,
               command.subcommand == Subcommand::Rename ? command.tables.value(1) : QString()),
      progress(errors),
      app{platform, settings, commands, databases},
      headless(app, progress, profile) {
    platform.eachTurn = [this] {
        if (interrupt.takeRequest()) headless.transferScreen().escapePressed();
    };
}

bool CommandSession::reach(Server server) {
    if (const std::optional<QString> reason = headless.connectionFailure(server)) {
        errors.message(serverTitle(server) +
                       QStringLiteral(": Could not connect. Please check with your "
                                      "administrator.\n") +
                       *reason);
        return false;
    }
    try {
        headless.listTables(server);
        return true;
    } catch (const std::exception& e) {
        errors.message(serverTitle(server) + QStringLiteral(": ") + QString::fromUtf8(e.what()));
        return false;
    }
}

bool CommandSession::select(Server server, const QStringList& names) {
    core::ListBox& list = headless.tables(server);
    for (int i = 0; i < list.count(); ++i) list.setSelected(i, false);
    for (const QString& name : names) {
        int found = -1;
        for (int i = 0; i < list.count() && found < 0; ++i)
            if (list.text(i) == name) found = i;
        for (int i = 0; i < list.count() && found < 0; ++i)
            if (list.text(i).compare(name, Qt::CaseInsensitive) == 0) found = i;
        if (found < 0) {
            errors.message(serverTitle(server) + QStringLiteral(" lists no table ") + name);
            return false;
        }
        list.setSelected(found, true);
        list.setCurrentIndex(found);
    }
    return true;
}

bool CommandSession::listsNow(Server server, const QString& table) {
    headless.listTables(server);
    const core::ListBox& list = headless.tables(server);
    for (int i = 0; i < list.count(); ++i)
        if (list.text(i) == table) return true;
    return false;
}

}  // namespace dorvane::cli
