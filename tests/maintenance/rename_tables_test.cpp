#include <gtest/gtest.h>

#include "maintenance/table_maintenance.h"
#include "server_lists.h"
#include "transfer_harness.h"

namespace dorvane::testing {
namespace {

// What differs between the two servers' "Rename Table".
struct RenameOn {
    ServerSide server;
    void (*renameTable)(transfer::CommandContext&);
    const char* selectATable;
    const char* selectJustOne;
    // Another entry of the list, sorting before or after the renamed one.
    const char* otherEntry;
    bool renamedSortsFirst;
    int currentAfterRename;
    // Old and new names that would end a naively quoted literal or identifier early.
    const char* hostileOldStem;
    const char* hostileNewStem;
};

void PrintTo(const RenameOn& on, std::ostream* os) {
    PrintTo(on.server, os);
}

const RenameOn kOnSqlServer{
    .server = kSqlServerSide,
    .renameTable = maintenance::renameMssqlTable,
    .selectATable = "Please select a table",
    .selectJustOne = "Please select just one table to rename",
    .otherEntry = "zzz",
    .renamedSortsFirst = true,
    .currentAfterRename = -1,  // the SQL Server side leaves no current entry
    .hostileOldStem = "it's; x",
    .hostileNewStem = "o'clock]'; DROP TABLE x; --",
};
const RenameOn kOnPostgres{
    .server = kPostgresSide,
    .renameTable = maintenance::renamePostgresTable,
    .selectATable = "Please select a table to rename.",
    .selectJustOne = "Please select just one table to rename.",
    .otherEntry = "aaa",
    .renamedSortsFirst = false,
    .currentAfterRename = 0,  // the first entry, whichever it is
    .hostileOldStem = "say \"hi\"",
    .hostileNewStem = "x\" RENAME TO \"y",
};

class RenameTables : public OnEachServer<RenameOn> {
  protected:
    void renameTable() { on.renameTable(f.context); }
};

TEST_P(RenameTables, NoCurrentEntryAsksForATable) {
    list().add(QStringLiteral("a"));
    renameTable();
    EXPECT_EQ(f.platform.messageTexts(),
              std::vector<QString>{QString::fromLatin1(on.selectATable)});
    EXPECT_TRUE(f.platform.inputPrompts.empty());
}

TEST_P(RenameTables, NotExactlyOneSelectedEntry) {
    addSelected(list(), QStringLiteral("a"));
    addSelected(list(), QStringLiteral("b"));
    list().setCurrentIndex(0);
    renameTable();
    // A current entry with nothing selected gets the same answer.
    for (int i = 0; i < list().count(); ++i) list().setSelected(i, false);
    renameTable();
    const QString justOne = QString::fromLatin1(on.selectJustOne);
    EXPECT_EQ(f.platform.messageTexts(), (std::vector<QString>{justOne, justOne}));
    EXPECT_TRUE(f.platform.inputPrompts.empty());
    EXPECT_EQ(list().texts(), (std::vector<QString>{"a", "b"}));
}

TEST_P(RenameTables, RenamesAndReplacesTheEntry) {
    const QString oldName = uniqueName(QStringLiteral("old"));
    const QString newName = uniqueName(QStringLiteral("new"));
    const QString other = QString::fromLatin1(on.otherEntry);
    createTable(oldName);
    list().add(other);
    list().add(oldName);
    list().click(indexOf(list(), oldName));
    f.platform.typed.push_back(newName);

    renameTable();

    EXPECT_EQ(f.platform.inputPrompts, std::vector<QString>{"Enter new name of " + oldName + ":"});
    EXPECT_EQ(f.platform.inputDefaults, std::vector<QString>{oldName});
    EXPECT_TRUE(f.platform.errorReports().empty());
    EXPECT_FALSE(on.server.exists(oldName));
    EXPECT_TRUE(on.server.exists(newName));
    EXPECT_EQ(list().texts(), on.renamedSortsFirst ? (std::vector<QString>{newName, other})
                                                   : (std::vector<QString>{other, newName}));
    EXPECT_EQ(list().currentIndex(), on.currentAfterRename);
    EXPECT_EQ(f.pointer.pointer(), core::MousePointer::Default);
}

TEST_P(RenameTables, CancelledInputChangesNothing) {
    addSelected(list(), QStringLiteral("t1"));
    list().setCurrentIndex(0);
    f.platform.typed = {QString()};
    renameTable();
    EXPECT_TRUE(f.platform.messages.empty());
    EXPECT_EQ(list().texts(), std::vector<QString>{"t1"});
    EXPECT_EQ(f.pointer.pointer(), core::MousePointer::Default);
}

// Quotes and brackets inside old or new names stay inside their literal or identifier.
TEST_P(RenameTables, HostileNames) {
    const QString oldName = uniqueName(QString::fromLatin1(on.hostileOldStem));
    const QString newName = uniqueName(QString::fromLatin1(on.hostileNewStem));
    createTable(oldName);
    addSelected(list(), oldName);
    list().setCurrentIndex(0);
    f.platform.typed.push_back(newName);
    renameTable();
    EXPECT_EQ(f.platform.errorReports(), std::vector<QString>{});
    EXPECT_TRUE(on.server.exists(newName));
    EXPECT_FALSE(on.server.exists(oldName));
}

INSTANTIATE_TEST_SUITE_P(EachServer, RenameTables, ::testing::Values(kOnSqlServer, kOnPostgres),
                         ServerName());

TEST(RenamePostgresTable, UnchangedNameIsStillSentAndTheServerDecides) {
    TransferHarness f;
    const QString name = uniqueName(QStringLiteral("same"));
    execPostgres(QStringLiteral("CREATE TABLE \"%1\"(id int)").arg(name));
    addSelected(f.postgresTables, name);
    f.postgresTables.setCurrentIndex(0);
    f.platform.typed.push_back(name);
    maintenance::renamePostgresTable(f.context);
    // PostgreSQL refuses a rename onto the same name: reported at line 120, entry kept.
    ASSERT_EQ(f.platform.errorReports().size(), 1u);
    EXPECT_TRUE(f.platform.errorReports()[0].contains(
        QStringLiteral("in Ambrelin2021/08/31.Form2.PushButton7_Click at line 120")));
    EXPECT_EQ(f.postgresTables.texts(), std::vector<QString>{name});
    EXPECT_TRUE(postgresTableExists(name));
}

TEST(RenameMssqlTable, RefusedRenameStillReplacesTheEntry) {
    TransferHarness f;
    const QString missing = uniqueName(QStringLiteral("missing"));
    addSelected(f.mssqlTables, missing);
    f.mssqlTables.setCurrentIndex(0);
    f.platform.typed.push_back(QStringLiteral("renamed"));
    maintenance::renameMssqlTable(f.context);
    ASSERT_EQ(f.platform.errorReports().size(), 1u);
    EXPECT_TRUE(
        f.platform.errorReports()[0].contains(QStringLiteral("PushButton6_Click at line 130")));
    EXPECT_EQ(f.mssqlTables.texts(), std::vector<QString>{"renamed"});
}

}  // namespace
}  // namespace dorvane::testing
