// "Delete Table/s" on both sides: one DROP per selected entry, walking the list from
// the bottom so that removing an entry never shifts one still to be visited.

#include "maintenance/table_command.h"
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
    TableCommand p(context, QStringLiteral("PushButton1_Click"));
    core::ListBox& mssqlTables = context.transferScreen.mssqlTables;
    using enum mssql_delete::Line;
    if (!startMssqlCommand<mssql_delete::Line>(p, mssqlTables)) return;
    p.setPointer(BusyPointer, core::MousePointer::Busy);
    int count = 0;
    p.step(CountEntries, [&] { count = mssqlTables.count(); });
    for (int i = count - 1; i >= 0; --i) {
        p.step(LetEventsRun, [&] { context.platform.processEvents(); });
        // Stopped meanwhile: the selected tables not yet dropped are kept.
        if (context.stop.requested()) break;
        if (p.test(EntrySelectedCheck, [&] { return mssqlTables.selected(i); })) {
            openMssql<mssql_delete::Line>(p);
            // This command has always ended its DROP with a semicolon.
            p.step(DropTable, [&] {
                p.connection->execute(sql::to_sqlserver::dropStatement(mssqlTables.text(i)) + u';');
            });
            p.step(CloseConnection, [&] { p.connection->close(); });
            p.step(RemoveEntry, [&] { mssqlTables.remove(i); });
        }
    }
    p.setPointer(DefaultPointer, core::MousePointer::Default);
}

void deletePostgresTables(transfer::CommandContext& context) {
    TableCommand p(context, QStringLiteral("PushButton5_Click"));
    core::ListBox& postgresTables = context.transferScreen.postgresTables;
    using enum postgres_delete::Line;
    if (!startPostgresCommand<postgres_delete::Line>(p, postgresTables,
                                                     QStringLiteral("Please select a table")))
        return;
    int count = 0;
    p.step(CountEntries, [&] { count = postgresTables.count(); });
    for (int i = count - 1; i >= 0; --i) {
        if (p.test(EntrySelectedCheck, [&] { return postgresTables.selected(i); })) {
            p.step(DropTable, [&] {
                p.connection->execute(sql::to_postgres::dropStatement(postgresTables.text(i)));
            });
            p.step(RemoveEntry, [&] { postgresTables.remove(i); });
        }
    }
    p.setPointer(DefaultPointer, core::MousePointer::Default);
}

}  // namespace dorvane::maintenance
