// "Delete Table/s" on both sides: one DROP per selected entry, walking the list from
// the bottom so that removing an entry never shifts one still to be visited.

#include <optional>

#include "core/list_helpers.h"
#include "core/procedure.h"
#include "db/odbc/connection.h"
#include "maintenance/command_connection.h"
#include "maintenance/mssql_opening.h"
#include "maintenance/table_maintenance.h"
#include "sql/postgres_statements.h"
#include "sql/sqlserver_statements.h"

namespace dorvane::maintenance {
namespace {

// The numbered lines of each command, in the order of their numbers.
namespace mssql_delete {
enum Line : int {
    CreateConnection = 100,
    NothingSelectedCheck = 102,
    BusyPointer = 104,
    CountEntries = 106,
    LetEventsRun = 108,
    EntrySelectedCheck = 110,
    LocalConnectionCheck = 112,
    OpenLocal = 114,
    OpenWithPort = 116,
    DropTable = 118,
    CloseConnection = 120,
    RemoveEntry = 122,
    DefaultPointer = 126,
    AskToSelectTable = 128,
};
}  // namespace mssql_delete

namespace postgres_delete {
enum Line : int {
    CreateConnection = 100,
    BusyPointer = 102,
    OpenConnection = 104,
    NothingSelectedCheck = 106,
    CountEntries = 108,
    EntrySelectedCheck = 110,
    DropTable = 112,
    RemoveEntry = 114,
    AskToSelectTable = 118,
    DefaultPointer = 120,
};
}  // namespace postgres_delete

}  // namespace

void deleteMssqlTables(transfer::CommandContext& context) {
    core::Procedure p(context.platform, QStringLiteral("Form2"),
                      QStringLiteral("PushButton1_Click"));
    core::ListBox& mssqlTables = context.transferScreen.mssqlTables;
    std::optional<db::Connection> connection;
    using enum mssql_delete::Line;

    p.step(CreateConnection, [&] { makeConnection(connection, context.platform); });
    if (p.test(NothingSelectedCheck, [&] { return !core::hasCurrentOrSelected(mssqlTables); })) {
        p.step(AskToSelectTable,
               [&] { context.platform.messageBox(QStringLiteral("Please select a table")); });
        return;
    }
    p.step(BusyPointer,
           [&] { context.transferScreen.pointer.setPointer(core::MousePointer::Busy); });
    int count = 0;
    p.step(CountEntries, [&] { count = mssqlTables.count(); });
    for (int i = count - 1; i >= 0; --i) {
        p.step(LetEventsRun, [&] { context.platform.processEvents(); });
        // Stopped meanwhile: the selected tables not yet dropped are kept.
        if (context.stop.requested()) break;
        if (p.test(EntrySelectedCheck, [&] { return mssqlTables.selected(i); })) {
            openMssql<mssql_delete::Line>(p, connection, context.profiles.mssql());
            // This command has always ended its DROP with a semicolon.
            p.step(DropTable, [&] {
                connection->execute(sql::to_sqlserver::dropStatement(mssqlTables.text(i)) + u';');
            });
            p.step(CloseConnection, [&] { connection->close(); });
            p.step(RemoveEntry, [&] { mssqlTables.remove(i); });
        }
    }
    p.step(DefaultPointer,
           [&] { context.transferScreen.pointer.setPointer(core::MousePointer::Default); });
}

void deletePostgresTables(transfer::CommandContext& context) {
    core::Procedure p(context.platform, QStringLiteral("Form2"),
                      QStringLiteral("PushButton5_Click"));
    core::ListBox& postgresTables = context.transferScreen.postgresTables;
    std::optional<db::Connection> connection;
    using enum postgres_delete::Line;

    p.step(CreateConnection, [&] { makeConnection(connection, context.platform); });
    p.step(BusyPointer,
           [&] { context.transferScreen.pointer.setPointer(core::MousePointer::Busy); });
    p.step(OpenConnection,
           [&] { connection->open(db::postgresConnectionString(context.profiles.postgres())); });
    if (p.test(NothingSelectedCheck, [&] { return !core::hasCurrentOrSelected(postgresTables); })) {
        p.step(AskToSelectTable,
               [&] { context.platform.messageBox(QStringLiteral("Please select a table")); });
        p.step(DefaultPointer,
               [&] { context.transferScreen.pointer.setPointer(core::MousePointer::Default); });
        return;
    }
    int count = 0;
    p.step(CountEntries, [&] { count = postgresTables.count(); });
    for (int i = count - 1; i >= 0; --i) {
        if (p.test(EntrySelectedCheck, [&] { return postgresTables.selected(i); })) {
            p.step(DropTable, [&] {
                connection->execute(sql::to_postgres::dropStatement(postgresTables.text(i)));
            });
            p.step(RemoveEntry, [&] { postgresTables.remove(i); });
        }
    }
    p.step(DefaultPointer,
           [&] { context.transferScreen.pointer.setPointer(core::MousePointer::Default); });
}

}  // namespace dorvane::maintenance
