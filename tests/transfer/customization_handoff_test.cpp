// The customization hand-off of both transfers, with a scripted dialog.

#include <gtest/gtest.h>

#include "copy_check.h"
#include "db/odbc/ado_types.h"
#include "directions.h"
#include "sql/sql_quoting.h"
#include "transfer/send_tables.h"
#include "transfer_harness.h"

namespace dorvane::testing {
namespace {

using db::Value;

class TransferCustomization : public ::testing::Test {
  protected:
    TransferHarness h;
};

// What differs between the directions in the cases run once per direction.
struct CustomizationCase {
    Direction d;
    transfer::Direction direction;
    // The first statement the dialog shows for a table.
    std::function<QString(const QString&)> createHead;
    // A one-column source table and the value of its one row, as the row reads on the target.
    const char* sourceColumn;
    const char* sourceValue;
    Rows copiedRow;
    // A table already on the target, of another shape, and the check that it is still there.
    const char* oldTableColumns;
    std::function<void(const QString&)> expectOldTableKept;
    // The numeric column list the dialog holds before it is first shown, and as it shows it.
    const char* numericColumnsBefore;
    const char* numericColumnsShown;
    // A two-column source table, its row, and the dialog's answer that leaves its head as it
    // was; then what the target holds.
    const char* unchangedColumns;
    const char* unchangedValues;
    std::function<ScriptedDialog::Answer(const QString&)> unchangedAnswer;
    std::function<void(const QString&)> expectAutomaticCopy;
};

void PrintTo(const CustomizationCase& c, std::ostream* os) {
    PrintTo(c.d, os);
}

const CustomizationCase kToPostgresCustomization{
    .d = kToPostgres,
    .direction = transfer::Direction::ToPostgres,
    .createHead = [](const QString& t) { return "CREATE TABLE \"" + t + "\"("; },
    .sourceColumn = "[n] INT",
    .sourceValue = "4",
    .copiedRow = Rows{{Value::decimal("4")}},
    .oldTableColumns = "old TEXT",
    .expectOldTableKept =
        [](const QString& t) { EXPECT_EQ(postgresColumns(t), QStringList{"old text"}); },
    .numericColumnsBefore = "",
    .numericColumnsShown = "",
    .unchangedColumns = "[s] NVARCHAR(10), [n] INT",
    .unchangedValues = "N'1+1', 5",
    // A stray numeric list must not count when the head comes back unchanged.
    .unchangedAnswer =
        [](const QString& t) { return ScriptedDialog::ok("CREATE TABLE \"" + t + "\"(", "0,"); },
    .expectAutomaticCopy =
        [](const QString& t) {
            EXPECT_TRUE(copiedToPostgres(t, t));
            EXPECT_EQ(postgresColumns(t), (QStringList{"s text", "n numeric"}));
            EXPECT_EQ(postgresRows("SELECT * FROM \"" + t + "\""),
                      (Rows{{Value::text("1+1"), Value::decimal("5")}}));
        },
};

const CustomizationCase kToSqlServerCustomization{
    .d = kToSqlServer,
    .direction = transfer::Direction::ToSqlServer,
    .createHead = [](const QString& t) { return "CREATE TABLE [" + t + "]("; },
    .sourceColumn = "s TEXT",
    .sourceValue = "'new'",
    .copiedRow = Rows{{Value::text("new")}},
    .oldTableColumns = "[old] VARCHAR(5)",
    .expectOldTableKept = [](const QString& t) { EXPECT_EQ(mssqlRowCount(t), 0); },
    .numericColumnsBefore = "untouched",
    .numericColumnsShown = "untouched",
    .unchangedColumns = "n INT4, s TEXT",
    .unchangedValues = "5, 'x'",
    .unchangedAnswer = [](const QString&) { return ScriptedDialog::okUnchanged(); },
    .expectAutomaticCopy =
        [](const QString& t) {
            EXPECT_TRUE(copiedToSqlServer(t, t));
            EXPECT_EQ(mssqlRows("SELECT * FROM [" + t + "]"),
                      (Rows{{Value::dbl(5), Value::text("x")}}));
        },
};

class CustomizationEitherWay : public ::testing::TestWithParam<CustomizationCase> {
  protected:
    TransferHarness h;
    const CustomizationCase& c = GetParam();
    const Direction& d = c.d;
    core::MemoryListBox& sourceList() { return h.*d.source.list; }
    core::MemoryListBox& targetList() { return h.*d.target.list; }
    void send() { d.send(h.context, {}); }
};

TEST_P(CustomizationEitherWay, CancelOnTheSecondTableEndsTheRun) {
    const QString stem = uniqueName(QStringLiteral("cancel"));
    const QString first = stem + "_c", second = stem + "_b", third = stem + "_a";
    for (const QString& t : {first, second, third}) {
        d.source.exec(QStringLiteral("CREATE TABLE %1(%2)").arg(d.source.quote(t), c.sourceColumn));
        d.source.exec(
            QStringLiteral("INSERT INTO %1 VALUES(%2)").arg(d.source.quote(t), c.sourceValue));
    }
    d.target.exec(
        QStringLiteral("CREATE TABLE %1(%2)").arg(d.target.quote(second), c.oldTableColumns));
    h.select(sourceList(), {third, second, first});
    targetList().add(second);
    (h.*d.customizeBox).setValue(1);
    h.platform.answers = {core::kAnswerYes};
    h.customizationDialog.answers = {ScriptedDialog::okUnchanged(), ScriptedDialog::cancel()};
    h.customizationDialog.members().numericColumns = c.numericColumnsBefore;

    send();

    ASSERT_EQ(h.customizationDialog.shown.size(), 2u);
    EXPECT_EQ(h.customizationDialog.shown[0].direction, c.direction);
    EXPECT_EQ(h.customizationDialog.shown[0].tableName, first);
    EXPECT_EQ(h.customizationDialog.shown[0].createTableSql, c.createHead(first));
    EXPECT_EQ(h.customizationDialog.shown[0].numericColumns, c.numericColumnsShown);
    EXPECT_EQ(h.customizationDialog.shown[1].tableName, second);
    EXPECT_TRUE(h.customizationCancelled);

    EXPECT_EQ(d.target.rows(first), c.copiedRow);
    c.expectOldTableKept(second);  // not dropped
    EXPECT_FALSE(d.target.exists(third));
    EXPECT_EQ(targetList().texts(), (std::vector<QString>{second, first}));
    EXPECT_EQ(h.pointer.pointer(), core::MousePointer::Default);
}

TEST_P(CustomizationEitherWay, UnchangedHeadIsTheAutomaticCopy) {
    const QString t = uniqueName(QStringLiteral("same"));
    d.source.exec(QStringLiteral("CREATE TABLE %1(%2)").arg(d.source.quote(t), c.unchangedColumns));
    d.source.exec(
        QStringLiteral("INSERT INTO %1 VALUES(%2)").arg(d.source.quote(t), c.unchangedValues));
    h.select(sourceList(), {t});
    (h.*d.customizeBox).setValue(1);
    h.customizationDialog.answers = {c.unchangedAnswer(t)};

    send();

    EXPECT_TRUE(h.platform.messages.empty()) << h.platform.messages.front().text.toStdString();
    c.expectAutomaticCopy(t);
}

INSTANTIATE_TEST_SUITE_P(BothDirections, CustomizationEitherWay,
                         ::testing::Values(kToPostgresCustomization, kToSqlServerCustomization),
                         [](const auto& info) { return std::string(info.param.d.name); });

TEST_F(TransferCustomization, ToPostgresReturnedStatementAndNumericListAreUsed) {
    const QString t = uniqueName(QStringLiteral("typed"));
    execMssql(
        QStringLiteral("CREATE TABLE [%1]([id] INT, [expr] NVARCHAR(10), [name] NVARCHAR(10))")
            .arg(t));
    execMssql(QStringLiteral("INSERT INTO [%1] VALUES(1, N'6*7', N'abc')").arg(t));
    h.select(h.mssqlTables, {t});
    h.customizeToPostgres.setValue(1);
    const QString statement =
        "CREATE TABLE \"" + t + "\"(\"id\" INT,\"expr\" INT,\"name\" VARCHAR(5))";
    // Column 1 named as numeric: a value that is no number is never read as SQL; it
    // goes in quotes and the INT column refuses it aloud.
    h.customizationDialog.answers = {ScriptedDialog::ok(statement, "0,1,")};

    transfer::sendTablesToPostgres(h.context);

    const auto reports = h.platform.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].contains(R"(invalid input syntax for type integer: "6*7")"))
        << reports[0].toStdString();
    EXPECT_EQ(postgresColumns(t),
              (QStringList{"id integer", "expr integer", "name character varying"}));
    EXPECT_EQ(postgresRowCount(t), 0);
}

TEST_F(TransferCustomization, ToSqlServerReturnedStatementIsSentUnchanged) {
    const QString t = uniqueName(QStringLiteral("typed"));
    execPostgres(QStringLiteral("CREATE TABLE \"%1\"(n INT4, s TEXT)").arg(t));
    execPostgres(
        QStringLiteral("INSERT INTO \"%1\" VALUES(5, '%2')").arg(t, QString::fromUtf8("Αθήνα")));
    h.select(h.postgresTables, {t});
    h.customizeToSqlServer.setValue(1);
    h.customizationDialog.answers = {
        ScriptedDialog::ok("CREATE TABLE \"" + t + "\"(\"n\" INT,\"s\" NVARCHAR(20))", "")};

    transfer::sendTablesToSqlServer(h.context);

    EXPECT_TRUE(h.platform.messages.empty()) << h.platform.messages.front().text.toStdString();
    // The national column keeps the Greek text the automatic varchar column could not.
    EXPECT_EQ(mssqlRows("SELECT * FROM [" + t + "]"),
              (Rows{{db::Value::integer(5), db::Value::text(QString::fromUtf8("Αθήνα"))}}));
}

}  // namespace
}  // namespace dorvane::testing
