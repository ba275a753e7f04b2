// What a copy does to tables that already exist, and to tables it cannot make whole: an
// old table is never lost to a copy that fails, the lists name only tables that exist,
// and a table that is not copied completely is named.

#include <gtest/gtest.h>

#include "copy_check.h"
#include "directions.h"
#include "old_target.h"
#include "sql/sql_quoting.h"
#include "transfer/send_tables.h"
#include "transfer_harness.h"

namespace dorvane::testing {
namespace {

const QString kNotCopied = QStringLiteral("These tables were not copied, or not completely:");

class TableSafety : public ::testing::TestWithParam<Direction> {
  protected:
    TransferHarness h;
    const Direction& d = GetParam();
    core::MemoryListBox& sourceList() { return h.*d.source.list; }
    core::MemoryListBox& targetList() { return h.*d.target.list; }
    void send() { d.send(h.context, core::YieldPolicy::everyCall()); }

    // A source table of two rows, and a listed target table of the same name holding 'old'.
    QString tablesOnBothSides(const char* stem) {
        const QString t = uniqueName(QString::fromLatin1(stem));
        d.source.exec("CREATE TABLE " + d.source.quote(t) + "(n INT)");
        d.source.exec("INSERT INTO " + d.source.quote(t) + " VALUES(1)");
        d.source.exec("INSERT INTO " + d.source.quote(t) + " VALUES(2)");
        createOldTarget(t);
        return t;
    }
    void createOldTarget(const QString& t) { testing::createOldTarget(d, h, t); }
    void expectOldTableKept(const QString& t) { testing::expectOldTableKept(d, h, t); }
};

TEST_P(TableSafety, AnOverwriteWhoseCreateFailsKeepsTheOldTable) {
    const QString t = tablesOnBothSides("refused_create");
    TransferHarness::select(sourceList(), {t});
    (h.*d.customizeBox).setValue(1);
    h.customizationDialog.answers = {
        ScriptedDialog::ok(d.columnHead(t) + "n NO_SUCH_TYPE)", QString())};
    h.platform.answers = {core::kAnswerYes};

    send();

    const auto reports = h.platform.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].contains("Main.ExecuteSQL at line 100")) << reports[0].toStdString();
    expectOldTableKept(t);
}

TEST_P(TableSafety, AnOverwriteWhoseSourceCannotBeReadDropsNothing) {
    const QString t = uniqueName(QStringLiteral("unreadable"));
    createOldTarget(t);
    TransferHarness::select(sourceList(), {t});
    h.platform.answers = {core::kAnswerYes};

    send();

    EXPECT_TRUE(d.target.exists(t));
    expectOldTableKept(t);
}

INSTANTIATE_TEST_SUITE_P(BothDirections, TableSafety, ::testing::Values(kToPostgres, kToSqlServer),
                         [](const auto& info) { return std::string(info.param.name); });

// A view that selects from the old table makes PostgreSQL refuse its DROP; the CREATE TABLE
// is then refused too, and the old table stays, listed, whichever way the rows were to go.
class RefusedDrop : public ::testing::TestWithParam<bool> {};

TEST_P(RefusedDrop, KeepsTheOldTableListed) {
    const Direction& d = kToPostgres;
    TransferHarness h;
    const QString t = uniqueName(QStringLiteral("viewed"));
    d.source.exec("CREATE TABLE " + d.source.quote(t) + "(n INT)");
    d.source.exec("INSERT INTO " + d.source.quote(t) + " VALUES(1)");
    createOldTarget(d, h, t);
    const QString view = t + "_v";
    execPostgres("CREATE VIEW " + sql::doubleQuotedName(view) + " AS SELECT * FROM " +
                 sql::doubleQuotedName(t));
    TransferHarness::select(h.*d.source.list, {t});
    (h.*d.fastCopyBox).setValue(GetParam() ? 1 : 0);
    h.platform.answers = {core::kAnswerYes};

    d.send(h.context, core::YieldPolicy::everyCall());

    execPostgres("DROP VIEW " + sql::doubleQuotedName(view));
    EXPECT_FALSE(h.platform.errorReports().empty());
    expectOldTableKept(d, h, t);
}

INSTANTIATE_TEST_SUITE_P(TowardsPostgres, RefusedDrop, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Fast" : "RowByRow"; });

// PostgreSQL would keep only the first 63 bytes of a longer column name, silently.
TEST(LongNamesTowardsPostgres, AColumnNameIsRefusedBeforeAnythingIsCreated) {
    const QString t = uniqueName(QStringLiteral("long_column"));
    execMssql("CREATE TABLE " + sql::bracketedName(t) + "(" +
              sql::bracketedName(QString(64, u'c')) + " INT)");
    execMssql("INSERT INTO " + sql::bracketedName(t) + " VALUES(1)");
    TransferHarness h;
    TransferHarness::select(h.mssqlTables, {t});

    transfer::sendTablesToPostgres(h.context, core::YieldPolicy::everyCall());

    const auto reports = h.platform.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].contains("first 63 bytes")) << reports[0].toStdString();
    EXPECT_FALSE(postgresTableExists(t));
    EXPECT_TRUE(h.postgresTables.texts().empty());
}

// Rows the target swallows (here a trigger made while the copy runs) are found by the
// count after the table.
TEST(RowCountCheck, RowsThatDoNotArriveAreReported) {
    const QString t = uniqueName(QStringLiteral("swallowed"));
    execMssql("CREATE TABLE " + sql::bracketedName(t) + "([n] INT)");
    for (int i = 1; i <= 3; ++i) execMssql("INSERT INTO " + sql::bracketedName(t) + " VALUES(1)");
    execPostgres(
        "CREATE OR REPLACE FUNCTION swallow_row() RETURNS trigger "
        "LANGUAGE plpgsql AS $$BEGIN RETURN NULL; END$$");
    TransferHarness h;
    TransferHarness::select(h.mssqlTables, {t});
    bool triggerMade = false;
    h.platform.onProcessEvents = [&] {
        if (triggerMade || !postgresTableExists(t)) return;
        execPostgres("CREATE TRIGGER swallow BEFORE INSERT ON " + sql::doubleQuotedName(t) +
                     " FOR EACH ROW EXECUTE FUNCTION swallow_row()");
        triggerMade = true;
    };

    transfer::sendTablesToPostgres(h.context, core::YieldPolicy::everyCall());

    ASSERT_TRUE(triggerMade);
    const auto reports = h.platform.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].startsWith("Table " + t + ": 3 rows were sent, but the table holds 0."))
        << reports[0].toStdString();
    EXPECT_EQ(h.platform.messages.back().text, kNotCopied + "\r\n\r\n" + t);
}

}  // namespace
}  // namespace dorvane::testing
