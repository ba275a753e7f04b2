// "Rename Table" on both sides: the user types the new name into an input box that
// offers the old one; the list entry is replaced by the new name.

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
namespace mssql_rename {
enum Line : int {
    CreateConnection = 100,
    NothingSelectedCheck = 102,
    CountEntries = 104,
    EntrySelectedCheck = 106,
    TakeOldName = 108,
    TakeIndex = 110,
    CountSelected = 112,
    NotJustOneCheck = 116,
    BusyPointer = 118,
    AskNewName = 120,
    NoNewNameCheck = 122,
    DefaultPointerWithoutName = NoNewNameCheck,  // on the test's own line
    LocalConnectionCheck = 124,
    OpenLocal = 126,
    OpenWithPort = 128,
    RenameTable = 130,
    CloseConnection = 132,
    RemoveOldEntry = 134,
    AddNewEntry = 136,
    DefaultPointer = 138,
    AskToSelectJustOne = 140,
    AskToSelectTable = 142,
};
}  // namespace mssql_rename

namespace postgres_rename {
enum Line : int {
    CreateConnection = 100,
    BusyPointer = 102,
    OpenConnection = 104,
    NothingSelectedCheck = 106,
    NotJustOneCheck = 108,
    CountEntries = 110,
    EntrySelectedCheck = 112,
    TakeOldName = 114,
    AskNewName = 116,
    NoNewNameCheck = 118,
    RenameTable = 120,
    RemoveOldEntry = 122,
    AddNewEntry = 124,
    SelectFirstEntry = 126,
    AskToSelectJustOne = 130,
    AskToSelectTable = 132,
    DefaultPointer = 134,
};
}  // namespace postgres_rename

QString renamePrompt(const QString& oldName) {
    return QStringLiteral("Enter new name of ") + oldName + u':';
}

}  // namespace

void renameMssqlTable(transfer::CommandContext& context) {
    core::Procedure p(context.platform, QStringLiteral("Form2"),
                      QStringLiteral("PushButton6_Click"));
    core::ListBox& mssqlTables = context.transferScreen.mssqlTables;
    core::Platform& platform = context.platform;
    std::optional<db::Connection> connection;
    using enum mssql_rename::Line;

    p.step(CreateConnection, [&] { makeConnection(connection, context.platform); });
    if (p.test(NothingSelectedCheck, [&] { return !core::hasCurrentOrSelected(mssqlTables); })) {
        p.step(AskToSelectTable,
               [&] { platform.messageBox(QStringLiteral("Please select a table")); });
        return;
    }
    QString oldName;
    int index = 0;
    std::int16_t selectedCount = 0;
    int count = 0;
    p.step(CountEntries, [&] { count = mssqlTables.count(); });
    for (int i = 0; i < count; ++i) {
        if (p.test(EntrySelectedCheck, [&] { return mssqlTables.selected(i); })) {
            p.step(TakeOldName, [&] { oldName = mssqlTables.text(i); });
            p.step(TakeIndex, [&] { index = i; });
            p.step(CountSelected, [&] { ++selectedCount; });
        }
    }
    if (p.test(NotJustOneCheck, [&] { return selectedCount != 1; })) {
        p.step(AskToSelectJustOne, [&] {
            platform.messageBox(QStringLiteral("Please select just one table to rename"));
        });
        return;
    }
    p.step(BusyPointer,
           [&] { context.transferScreen.pointer.setPointer(core::MousePointer::Busy); });
    QString newName;
    p.step(AskNewName, [&] { newName = platform.inputBox(renamePrompt(oldName), oldName); });
    if (p.test(NoNewNameCheck, [&] { return newName.isEmpty(); })) {
        p.step(DefaultPointerWithoutName,
               [&] { context.transferScreen.pointer.setPointer(core::MousePointer::Default); });
        return;
    }
    openMssql<mssql_rename::Line>(p, connection, context.profiles.mssql());
    p.step(RenameTable,
           [&] { connection->execute(sql::to_sqlserver::renameStatement(oldName, newName)); });
    p.step(CloseConnection, [&] { connection->close(); });
    p.step(RemoveOldEntry, [&] { mssqlTables.remove(index); });
    p.step(AddNewEntry, [&] { mssqlTables.add(newName); });
    p.step(DefaultPointer,
           [&] { context.transferScreen.pointer.setPointer(core::MousePointer::Default); });
}

void renamePostgresTable(transfer::CommandContext& context) {
    core::Procedure p(context.platform, QStringLiteral("Form2"),
                      QStringLiteral("PushButton7_Click"));
    core::ListBox& postgresTables = context.transferScreen.postgresTables;
    core::Platform& platform = context.platform;
    std::optional<db::Connection> connection;
    using enum postgres_rename::Line;

    p.step(CreateConnection, [&] { makeConnection(connection, context.platform); });
    p.step(BusyPointer,
           [&] { context.transferScreen.pointer.setPointer(core::MousePointer::Busy); });
    p.step(OpenConnection,
           [&] { connection->open(db::postgresConnectionString(context.profiles.postgres())); });
    const auto restorePointer = [&] {
        p.step(DefaultPointer,
               [&] { context.transferScreen.pointer.setPointer(core::MousePointer::Default); });
    };
    if (p.test(NothingSelectedCheck, [&] { return !core::hasCurrentOrSelected(postgresTables); })) {
        p.step(AskToSelectTable,
               [&] { platform.messageBox(QStringLiteral("Please select a table to rename.")); });
        restorePointer();
        return;
    }
    if (p.test(NotJustOneCheck, [&] { return postgresTables.selectedCount() != 1; })) {
        p.step(AskToSelectJustOne, [&] {
            platform.messageBox(QStringLiteral("Please select just one table to rename."));
        });
        restorePointer();
        return;
    }
    int count = 0;
    p.step(CountEntries, [&] { count = postgresTables.count(); });
    for (int i = count - 1; i >= 0; --i) {
        if (!p.test(EntrySelectedCheck, [&] { return postgresTables.selected(i); })) continue;
        QString oldName;
        QString newName;
        p.step(TakeOldName, [&] { oldName = postgresTables.text(i); });
        p.step(AskNewName, [&] { newName = platform.inputBox(renamePrompt(oldName), oldName); });
        if (p.test(NoNewNameCheck, [&] { return newName.isEmpty(); })) continue;
        p.step(RenameTable,
               [&] { connection->execute(sql::to_postgres::renameStatement(oldName, newName)); });
        p.step(RemoveOldEntry, [&] { postgresTables.remove(i); });
        p.step(AddNewEntry, [&] { postgresTables.add(newName); });
        p.step(SelectFirstEntry, [&] {
            if (postgresTables.count() > 0) postgresTables.setCurrentIndex(0);
        });
    }
    restorePointer();
}

}  // namespace dorvane::maintenance
