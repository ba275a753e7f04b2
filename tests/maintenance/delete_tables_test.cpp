#include <gtest/gtest.h>

#include "transfer_harness.h"
#include "maintenance/table_maintenance.h"

namespace dorvane::testing {
namespace {

// Adds a table name to a list and selects it, without making it current.
void addSelected(MemoryListBox& list, const QString& name) {
    list.add(name);
    for (int i = 0; i < list.count(); ++i)
        if (list.text(i) == name) list.setSelected(i, true);
}

int indexOf(const MemoryListBox& list, const QString& name) {
    for (int i = 0; i < list.count(); ++i)
        if (list.text(i) == name) return i;
    return -1;
}

class DeleteTables : public ::testing::Test {
protected:
    TransferHarness f;
};

TEST_F(DeleteTables, MssqlWithoutCurrentEntryOnlyAsksForASelection) {
    const QString t = uniqueName(QStringLiteral("keep"));
    execMssql(QStringLiteral("CREATE TABLE [%1]([id] INT)").arg(t));
    addSelected(f.list1, t);  // selected but not current

    deleteMssqlTables(f.context);

    EXPECT_EQ(f.platform.messageTexts(), std::vector<QString>{QStringLiteral("Please select a table")});
    EXPECT_EQ(f.platform.messages[0].title, f.platform.appTitle());
    EXPECT_EQ(f.platform.messages[0].icon, MsgIcon::None);
    EXPECT_TRUE(mssqlTableExists(t));
    EXPECT_EQ(f.list1.count(), 1);
    EXPECT_EQ(f.pointer.pointer(), MousePointer::Default);
}

TEST_F(DeleteTables, PostgresWithoutCurrentEntryAsksWithTheSameText) {
    f.list2.add(QStringLiteral("whatever"));
    deletePostgresTables(f.context);
    EXPECT_EQ(f.platform.messageTexts(), std::vector<QString>{QStringLiteral("Please select a table")});
    EXPECT_EQ(f.pointer.pointer(), MousePointer::Default);
    EXPECT_EQ(f.list2.count(), 1);
}

TEST_F(DeleteTables, CurrentEntryButNoSelectionDropsNothing) {
    const QString t = uniqueName(QStringLiteral("unselected"));
    execPostgres(QStringLiteral("CREATE TABLE \"%1\"(id int)").arg(t));
    f.list2.add(t);
    f.list2.setCurrentIndex(0);

    deletePostgresTables(f.context);

    EXPECT_TRUE(f.platform.messages.empty());
    EXPECT_TRUE(postgresTableExists(t));
    EXPECT_EQ(f.list2.count(), 1);
}

TEST_F(DeleteTables, MssqlDropsEverySelectedTableBottomUp) {
    const QString keep = uniqueName(QStringLiteral("b_keep"));
    const QStringList drop{uniqueName(QStringLiteral("a_drop")), uniqueName(QStringLiteral("c_drop")),
                           uniqueName(QStringLiteral("d_drop"))};
    for (const QString& t : drop + QStringList{keep}) {
        execMssql(QStringLiteral("CREATE TABLE [%1]([id] INT)").arg(t));
        f.list1.add(t);
    }
    for (const QString& t : drop) f.list1.setSelected(indexOf(f.list1, t), true);
    f.list1.setCurrentIndex(0);
    std::vector<QString> yieldsSeenWith;
    f.platform.onProcessEvents = [&] { yieldsSeenWith.push_back(QString::number(f.list1.count())); };

    deleteMssqlTables(f.context);

    EXPECT_TRUE(f.platform.messages.empty());
    for (const QString& t : drop) EXPECT_FALSE(mssqlTableExists(t)) << t.toStdString();
    EXPECT_TRUE(mssqlTableExists(keep));
    EXPECT_EQ(f.list1.texts(), std::vector<QString>{keep});
    // One yield per entry, selected or not.
    EXPECT_EQ(yieldsSeenWith.size(), 4u);
    EXPECT_EQ(f.pointer.pointer(), MousePointer::Default);
}

TEST_F(DeleteTables, PostgresDropsEverySelectedTable) {
    const QStringList drop{uniqueName(QStringLiteral("p1")), uniqueName(QStringLiteral("p2")),
                           uniqueName(QStringLiteral("p3"))};
    for (const QString& t : drop) {
        execPostgres(QStringLiteral("CREATE TABLE \"%1\"(id int)").arg(t));
        addSelected(f.list2, t);
    }
    f.list2.setCurrentIndex(1);

    deletePostgresTables(f.context);

    EXPECT_TRUE(f.platform.messages.empty());
    for (const QString& t : drop) EXPECT_FALSE(postgresTableExists(t));
    EXPECT_EQ(f.list2.count(), 0);
}

TEST_F(DeleteTables, FailingDropIsReportedAndTheEntryStillGoes) {
    const QString gone = uniqueName(QStringLiteral("gone"));
    addSelected(f.list2, gone);
    f.list2.setCurrentIndex(0);
    deletePostgresTables(f.context);
    ASSERT_EQ(f.platform.errorReports().size(), 1u);
    EXPECT_TRUE(f.platform.errorReports()[0].contains(
        QStringLiteral("\r\nin Ambrelin2021/08/31.Form2.PushButton5_Click at line 112\r\r")));
    EXPECT_FALSE(f.platform.errorReports()[0].contains(QStringLiteral("sql: ")));
    EXPECT_EQ(f.list2.count(), 0);

    addSelected(f.list1, gone);
    f.list1.setCurrentIndex(0);
    deleteMssqlTables(f.context);
    ASSERT_EQ(f.platform.errorReports().size(), 2u);
    EXPECT_TRUE(f.platform.errorReports()[1].contains(
        QStringLiteral("in Ambrelin2021/08/31.Form2.PushButton1_Click at line 118\r\r")));
    EXPECT_EQ(f.list1.count(), 0);
}

TEST_F(DeleteTables, UnreachableServerReportsEachStepAndStillPrunesTheList) {
    f.profiles.pg.port = QStringLiteral("1");  // nothing listens there
    addSelected(f.list2, QStringLiteral("one"));
    addSelected(f.list2, QStringLiteral("two"));
    f.list2.setCurrentIndex(0);
    deletePostgresTables(f.context);
    const auto reports = f.platform.errorReports();
    ASSERT_EQ(reports.size(), 3u);  // the open, then each DROP
    EXPECT_TRUE(reports[0].contains(QStringLiteral("at line 104")));
    EXPECT_TRUE(reports[1].contains(QStringLiteral("at line 112")));
    EXPECT_TRUE(reports[2].contains(QStringLiteral("at line 112")));
    EXPECT_EQ(f.list2.count(), 0);
    EXPECT_EQ(f.pointer.pointer(), MousePointer::Default);
}

// Names that would end their identifier early drop exactly the named table.
TEST_F(DeleteTables, HostileNamesDropOnlyTheNamedTable) {
    const QString victim = uniqueName(QStringLiteral("victim"));
    execPostgres(QStringLiteral("CREATE TABLE \"%1\"(id int)").arg(victim));
    const QString hostilePg = QStringLiteral("x\"; DROP TABLE \"%1\"; --").arg(victim);
    execPostgres(QStringLiteral("CREATE TABLE \"%1\"(id int)").arg(QString(hostilePg).replace("\"", "\"\"")));
    addSelected(f.list2, hostilePg);
    f.list2.setCurrentIndex(0);
    deletePostgresTables(f.context);
    EXPECT_TRUE(f.platform.errorReports().empty());
    EXPECT_FALSE(postgresTableExists(hostilePg));
    EXPECT_TRUE(postgresTableExists(victim));

    const QString msVictim = uniqueName(QStringLiteral("msvictim"));
    execMssql(QStringLiteral("CREATE TABLE [%1]([id] INT)").arg(msVictim));
    const QString hostileMs = QStringLiteral("y]; DROP TABLE [%1]; --").arg(msVictim);
    execMssql(QStringLiteral("CREATE TABLE [%1]([id] INT)").arg(QString(hostileMs).replace("]", "]]")));
    addSelected(f.list1, hostileMs);
    f.list1.setCurrentIndex(0);
    deleteMssqlTables(f.context);
    EXPECT_TRUE(f.platform.errorReports().empty());
    EXPECT_FALSE(mssqlTableExists(hostileMs));
    EXPECT_TRUE(mssqlTableExists(msVictim));
}

}  // namespace
}  // namespace dorvane::testing
