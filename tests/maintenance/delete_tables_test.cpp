#include <gtest/gtest.h>

#include "db/odbc/connection.h"
#include "maintenance/table_maintenance.h"
#include "server_lists.h"
#include "transfer_harness.h"

namespace dorvane::testing {
namespace {

// What differs between the two servers' "Delete Table/s".
struct DeleteOn {
    ServerSide server;
    void (*deleteTables)(transfer::CommandContext&);
    // Where the report of a DROP the server refuses points.
    const char* failedDropAt;
    // A table name that would end a naively quoted identifier early and drop %1.
    const char* hostileName;
    const char* victimStem;
    // Only the SQL Server side lets events run for each entry it walks past.
    bool yieldsPerEntry;
};

void PrintTo(const DeleteOn& on, std::ostream* os) {
    PrintTo(on.server, os);
}

const DeleteOn kOnSqlServer{
    .server = kSqlServerSide,
    .deleteTables = maintenance::deleteMssqlTables,
    .failedDropAt = "in Ambrelin2021/08/31.Form2.PushButton1_Click at line 118\r\r",
    .hostileName = "y]; DROP TABLE [%1]; --",
    .victimStem = "msvictim",
    .yieldsPerEntry = true,
};
const DeleteOn kOnPostgres{
    .server = kPostgresSide,
    .deleteTables = maintenance::deletePostgresTables,
    .failedDropAt = "\r\nin Ambrelin2021/08/31.Form2.PushButton5_Click at line 112\r\r",
    .hostileName = "x\"; DROP TABLE \"%1\"; --",
    .victimStem = "victim",
    .yieldsPerEntry = false,
};

class DeleteTables : public OnEachServer<DeleteOn> {
  protected:
    void deleteTables() { on.deleteTables(f.context); }
};

TEST_P(DeleteTables, WithNeitherCurrentNorSelectedEntryOnlyAsksForASelection) {
    const QString t = uniqueName(QStringLiteral("keep"));
    createTable(t);
    list().add(t);

    deleteTables();

    // The same text on both servers.
    EXPECT_EQ(f.platform.messageTexts(),
              std::vector<QString>{QStringLiteral("Please select a table")});
    EXPECT_EQ(f.platform.messages[0].title, f.platform.appTitle());
    EXPECT_EQ(f.platform.messages[0].icon, core::MsgIcon::None);
    EXPECT_TRUE(on.server.exists(t));
    EXPECT_EQ(list().count(), 1);
    EXPECT_EQ(f.pointer.pointer(), core::MousePointer::Default);
}

TEST_P(DeleteTables, CurrentEntryButNoSelectionDropsNothing) {
    const QString t = uniqueName(QStringLiteral("unselected"));
    createTable(t);
    list().add(t);
    list().setCurrentIndex(0);

    deleteTables();

    EXPECT_TRUE(f.platform.messages.empty());
    EXPECT_TRUE(on.server.exists(t));
    EXPECT_EQ(list().count(), 1);
    // One yield for the entry, though it is not selected; no server was waited for.
    if (on.yieldsPerEntry) {
        EXPECT_EQ(f.platform.processEventsCalls, 1);
    }
}

TEST_P(DeleteTables, DropsEverySelectedTable) {
    const QString keep = uniqueName(QStringLiteral("b_keep"));
    const QStringList drop{uniqueName(QStringLiteral("a_drop")),
                           uniqueName(QStringLiteral("c_drop")),
                           uniqueName(QStringLiteral("d_drop"))};
    for (const QString& t : drop + QStringList{keep}) {
        createTable(t);
        list().add(t);
    }
    for (const QString& t : drop) list().setSelected(indexOf(list(), t), true);
    list().setCurrentIndex(0);
    int yields = 0;
    f.platform.onProcessEvents = [&] { ++yields; };

    deleteTables();

    EXPECT_TRUE(f.platform.messages.empty());
    for (const QString& t : drop) EXPECT_FALSE(on.server.exists(t)) << t.toStdString();
    EXPECT_TRUE(on.server.exists(keep));
    EXPECT_EQ(list().texts(), std::vector<QString>{keep});
    // One yield per entry, selected or not, and more while a server is waited for.
    if (on.yieldsPerEntry) {
        EXPECT_GE(yields, 4);
    }
    EXPECT_EQ(f.pointer.pointer(), core::MousePointer::Default);
}

// Another session holds the table (its DROP not yet rolled back): the command's DROP
// waits, and events run meanwhile; from inside them the table is let go after a few. A
// command that let no events run while it waited would wait for ever.
TEST_P(DeleteTables, EventsRunWhileTheDropWaitsForAHeldTable) {
    const QString t = uniqueName(QStringLiteral("held"));
    createTable(t);
    addSelected(list(), t);
    list().setCurrentIndex(0);
    db::Connection holder;
    holder.open(on.server.server == Server::Postgres
                    ? db::postgresConnectionString(f.profiles.postgres())
                    : db::mssqlConnectionString(f.profiles.mssql()));
    holder.beginTransaction();
    holder.execute("DROP TABLE " + on.server.quote(t));
    constexpr int kTurns = 5;
    f.platform.onProcessEvents = [&] {
        if (f.platform.processEventsCalls == kTurns) holder.endTransaction(false);
    };

    deleteTables();

    EXPECT_GE(f.platform.processEventsCalls, kTurns);
    EXPECT_TRUE(f.platform.messages.empty());
    EXPECT_FALSE(on.server.exists(t));
    EXPECT_EQ(list().count(), 0);
    EXPECT_EQ(f.pointer.pointer(), core::MousePointer::Default);
}

TEST_P(DeleteTables, FailingDropIsReportedAndTheEntryStillGoes) {
    const QString gone = uniqueName(QStringLiteral("gone"));
    addSelected(list(), gone);
    list().setCurrentIndex(0);

    deleteTables();

    ASSERT_EQ(f.platform.errorReports().size(), 1u);
    EXPECT_TRUE(f.platform.errorReports()[0].contains(QString::fromLatin1(on.failedDropAt)));
    EXPECT_FALSE(f.platform.errorReports()[0].contains(QStringLiteral("sql: ")));
    EXPECT_EQ(list().count(), 0);
}

// Names that would end their identifier early drop exactly the named table.
TEST_P(DeleteTables, HostileNamesDropOnlyTheNamedTable) {
    const QString victim = uniqueName(QString::fromLatin1(on.victimStem));
    createTable(victim);
    const QString hostile = QString::fromLatin1(on.hostileName).arg(victim);
    createTable(hostile);
    addSelected(list(), hostile);
    list().setCurrentIndex(0);

    deleteTables();

    EXPECT_TRUE(f.platform.errorReports().empty());
    EXPECT_FALSE(on.server.exists(hostile));
    EXPECT_TRUE(on.server.exists(victim));
}

INSTANTIATE_TEST_SUITE_P(EachServer, DeleteTables, ::testing::Values(kOnSqlServer, kOnPostgres),
                         ServerName());

TEST(DeletePostgresTables, UnreachableServerReportsEachStepAndStillPrunesTheList) {
    TransferHarness f;
    f.profiles.pg.port = QStringLiteral("1");  // nothing listens there
    addSelected(f.postgresTables, QStringLiteral("one"));
    addSelected(f.postgresTables, QStringLiteral("two"));
    f.postgresTables.setCurrentIndex(0);
    maintenance::deletePostgresTables(f.context);
    const auto reports = f.platform.errorReports();
    ASSERT_EQ(reports.size(), 3u);  // the open, then each DROP
    EXPECT_TRUE(reports[0].contains(QStringLiteral("at line 104")));
    EXPECT_TRUE(reports[1].contains(QStringLiteral("at line 112")));
    EXPECT_TRUE(reports[2].contains(QStringLiteral("at line 112")));
    EXPECT_EQ(f.postgresTables.count(), 0);
    EXPECT_EQ(f.pointer.pointer(), core::MousePointer::Default);
}

}  // namespace
}  // namespace dorvane::testing
