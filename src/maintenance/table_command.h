#pragma once
// What the table commands share: the procedure, under the transfer screen's name, and the
// connection each makes at its first line, which lets events run while it waits on its
// server so that the window goes on meanwhile; and the start each side's commands make
// alike. Each command numbers these lines its own way (its `Line`).

#include <optional>

#include "core/list_helpers.h"
#include "core/procedure.h"
#include "db/odbc/connection.h"
#include "db/values/connection_strings.h"
#include "transfer/command_context.h"

namespace dorvane::maintenance {

class TableCommand : public core::Procedure {
  public:
    TableCommand(transfer::CommandContext& context, const QString& handler)
        : core::Procedure(context.platform, QStringLiteral("Form2"), handler), context(context) {}

    void makeConnection(int line) {
        step(line, [&] {
            connection.emplace();
            connection->setWhileWaiting([this] { context.platform.processEvents(); });
        });
    }

    void setPointer(int line, core::MousePointer pointer) {
        step(line, [&] { context.transferScreen.pointer.setPointer(pointer); });
    }

    void tell(int line, const QString& message) {
        step(line, [&] { context.platform.messageBox(message); });
    }

    bool nothingSelected(int line, const core::ListBox& tables) {
        return test(line, [&] { return !core::hasCurrentOrSelected(tables); });
    }

    transfer::CommandContext& context;
    std::optional<db::Connection> connection;
};

// SQL Server's commands make their connection and, with no table selected, ask for one and
// go no further (false). They open the connection later, for each statement.
template <class Line>
bool startMssqlCommand(TableCommand& p, const core::ListBox& tables) {
    p.makeConnection(Line::CreateConnection);
    if (!p.nothingSelected(Line::NothingSelectedCheck, tables)) return true;
    p.tell(Line::AskToSelectTable, QStringLiteral("Please select a table"));
    return false;
}

// Opening SQL Server as the saved profile says: through the local connection or by host
// and port.
template <class Line>
void openMssql(TableCommand& p) {
    const db::MssqlProfile profile = p.context.profiles.mssql();
    if (p.test(Line::LocalConnectionCheck, [&] { return profile.localConnection; })) {
        p.step(Line::OpenLocal,
               [&] { p.connection->open(db::mssqlLocalConnectionString(profile)); });
    } else {
        p.step(Line::OpenWithPort,
               [&] { p.connection->open(db::mssqlPortConnectionString(profile)); });
    }
}

// PostgreSQL's commands open their connection at once, under the busy pointer, and with no
// table selected ask for one, put the pointer back and go no further (false).
template <class Line>
bool startPostgresCommand(TableCommand& p, const core::ListBox& tables,
                          const QString& askToSelect) {
    p.makeConnection(Line::CreateConnection);
    p.setPointer(Line::BusyPointer, core::MousePointer::Busy);
    p.step(Line::OpenConnection, [&] {
        p.connection->open(db::postgresConnectionString(p.context.profiles.postgres()));
    });
    if (!p.nothingSelected(Line::NothingSelectedCheck, tables)) return true;
    p.tell(Line::AskToSelectTable, askToSelect);
    p.setPointer(Line::DefaultPointer, core::MousePointer::Default);
    return false;
}

}  // namespace dorvane::maintenance
