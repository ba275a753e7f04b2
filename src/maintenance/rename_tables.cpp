// "Rename Table" on both sides: the user types the new name into an input box that
// offers the old one; the list entry is replaced by the new name.

#include <cstdint>

#include "maintenance/table_command.h"
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
    TableCommand p(context, QStringLiteral("PushButton6_Click"));
    core::ListBox& mssqlTables = context.transferScreen.mssqlTables;
    using enum mssql_rename::Line;
    if (!startMssqlCommand<mssql_rename::Line>(p, mssqlTables)) return;
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
        p.tell(AskToSelectJustOne, QStringLiteral("Please select just one table to rename"));
        return;
    }
    p.setPointer(BusyPointer, core::MousePointer::Busy);
    QString newName;
    p.step(AskNewName,
           [&] { newName = context.platform.inputBox(renamePrompt(oldName), oldName); });
    if (p.test(NoNewNameCheck, [&] { return newName.isEmpty(); })) {
        p.setPointer(DefaultPointerWithoutName, core::MousePointer::Default);
        return;
    }
    openMssql<mssql_rename::Line>(p);
    p.step(RenameTable,
           [&] { p.connection->execute(sql::to_sqlserver::renameStatement(oldName, newName)); });
    p.step(CloseConnection, [&] { p.connection->close(); });
    p.step(RemoveOldEntry, [&] { mssqlTables.remove(index); });
    p.step(AddNewEntry, [&] { mssqlTables.add(newName); });
    p.setPointer(DefaultPointer, core::MousePointer::Default);
}

void renamePostgresTable(transfer::CommandContext& context) {
    TableCommand p(context, QStringLiteral("PushButton7_Click"));
    core::ListBox& postgresTables = context.transferScreen.postgresTables;
    using enum postgres_rename::Line;
    if (!startPostgresCommand<postgres_rename::Line>(
            p, postgresTables, QStringLiteral("Please select a table to rename.")))
        return;
    if (p.test(NotJustOneCheck, [&] { return postgresTables.selectedCount() != 1; })) {
        p.tell(AskToSelectJustOne, QStringLiteral("Please select just one table to rename."));
        p.setPointer(DefaultPointer, core::MousePointer::Default);
        return;
    }
    int count = 0;
    p.step(CountEntries, [&] { count = postgresTables.count(); });
    for (int i = count - 1; i >= 0; --i) {
        if (!p.test(EntrySelectedCheck, [&] { return postgresTables.selected(i); })) continue;
        QString oldName;
        QString newName;
        p.step(TakeOldName, [&] { oldName = postgresTables.text(i); });
        p.step(AskNewName,
               [&] { newName = context.platform.inputBox(renamePrompt(oldName), oldName); });
        if (p.test(NoNewNameCheck, [&] { return newName.isEmpty(); })) continue;
        p.step(RenameTable,
               [&] { p.connection->execute(sql::to_postgres::renameStatement(oldName, newName)); });
        p.step(RemoveOldEntry, [&] { postgresTables.remove(i); });
        p.step(AddNewEntry, [&] { postgresTables.add(newName); });
        p.step(SelectFirstEntry, [&] {
            if (postgresTables.count() > 0) postgresTables.setCurrentIndex(0);
        });
    }
    p.setPointer(DefaultPointer, core::MousePointer::Default);
}

}  // namespace dorvane::maintenance
