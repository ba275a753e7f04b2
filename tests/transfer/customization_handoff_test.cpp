// The customization hand-off of both transfers, with a scripted dialog.

#include <gtest/gtest.h>

#include "copy_check.h"
#include "db/odbc/ado_types.h"
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

TEST_F(TransferCustomization, ToPostgresCancelOnTheSecondTableEndsTheRun) {
    const QString stem = uniqueName(QStringLiteral("cancel"));
    const QString first = stem + "_c", second = stem + "_b", third = stem + "_a";
    for (const QString& t : {first, second, third}) {
        execMssql(QStringLiteral("CREATE TABLE [%1]([n] INT)").arg(t));
        execMssql(QStringLiteral("INSERT INTO [%1] VALUES(4)").arg(t));
    }
    execPostgres(QStringLiteral("CREATE TABLE \"%1\"(old TEXT)").arg(second));
    h.select(h.mssqlTables, {third, second, first});
    h.postgresTables.add(second);
    h.customizeToPostgres.setValue(1);
    h.platform.answers = {core::kAnswerYes};
    h.customizationDialog.answers = {ScriptedDialog::okUnchanged(), ScriptedDialog::cancel()};

    transfer::sendTablesToPostgres(h.context);

    ASSERT_EQ(h.customizationDialog.shown.size(), 2u);
    EXPECT_EQ(h.customizationDialog.shown[0].direction, transfer::Direction::ToPostgres);
    EXPECT_EQ(h.customizationDialog.shown[0].tableName, first);
    EXPECT_EQ(h.customizationDialog.shown[0].createTableSql, "CREATE TABLE \"" + first + "\"(");
    EXPECT_EQ(h.customizationDialog.shown[0].numericColumns, "");
    EXPECT_EQ(h.customizationDialog.shown[1].tableName, second);
    EXPECT_TRUE(h.customizationCancelled);

    EXPECT_EQ(postgresRows("SELECT * FROM \"" + first + "\""), (Rows{{db::Value::decimal("4")}}));
    EXPECT_EQ(postgresColumns(second), QStringList{"old text"});  // not dropped
    EXPECT_FALSE(postgresTableExists(third));
    EXPECT_EQ(h.postgresTables.texts(), (std::vector<QString>{second, first}));
    EXPECT_EQ(h.pointer.pointer(), core::MousePointer::Default);
}

TEST_F(TransferCustomization, ToPostgresUnchangedHeadIsTheAutomaticCopy) {
    const QString t = uniqueName(QStringLiteral("same"));
    execMssql(QStringLiteral("CREATE TABLE [%1]([s] NVARCHAR(10), [n] INT)").arg(t));
    execMssql(QStringLiteral("INSERT INTO [%1] VALUES(N'1+1', 5)").arg(t));
    h.select(h.mssqlTables, {t});
    h.customizeToPostgres.setValue(1);
    // A stray numeric list must not count when the head comes back unchanged.
    h.customizationDialog.answers = {ScriptedDialog::ok("CREATE TABLE \"" + t + "\"(", "0,")};

    transfer::sendTablesToPostgres(h.context);

    EXPECT_TRUE(h.platform.messages.empty()) << h.platform.messages.front().text.toStdString();
    EXPECT_TRUE(copiedToPostgres(t, t));
    EXPECT_EQ(postgresColumns(t), (QStringList{"s text", "n numeric"}));
    EXPECT_EQ(postgresRows("SELECT * FROM \"" + t + "\""),
              (Rows{{db::Value::text("1+1"), db::Value::decimal("5")}}));
}

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

TEST_F(TransferCustomization, ToSqlServerCancelOnTheSecondTableEndsTheRun) {
    const QString stem = uniqueName(QStringLiteral("cancel"));
    const QString first = stem + "_c", second = stem + "_b", third = stem + "_a";
    for (const QString& t : {first, second, third}) {
        execPostgres(QStringLiteral("CREATE TABLE \"%1\"(s TEXT)").arg(t));
        execPostgres(QStringLiteral("INSERT INTO \"%1\" VALUES('new')").arg(t));
    }
    execMssql(QStringLiteral("CREATE TABLE [%1]([old] VARCHAR(5))").arg(second));
    h.select(h.postgresTables, {third, second, first});
    h.mssqlTables.add(second);
    h.customizeToSqlServer.setValue(1);
    h.platform.answers = {core::kAnswerYes};
    h.customizationDialog.answers = {ScriptedDialog::okUnchanged(), ScriptedDialog::cancel()};
    h.customizationDialog.members().numericColumns = "untouched";

    transfer::sendTablesToSqlServer(h.context);

    ASSERT_EQ(h.customizationDialog.shown.size(), 2u);
    EXPECT_EQ(h.customizationDialog.shown[0].direction, transfer::Direction::ToSqlServer);
    EXPECT_EQ(h.customizationDialog.shown[0].tableName, first);
    EXPECT_EQ(h.customizationDialog.shown[0].createTableSql, "CREATE TABLE [" + first + "](");
    EXPECT_EQ(h.customizationDialog.shown[0].numericColumns, "untouched");
    EXPECT_EQ(mssqlRows("SELECT * FROM [" + first + "]"), (Rows{{db::Value::text("new")}}));
    EXPECT_EQ(mssqlRowCount(second), 0);  // the old table, not dropped
    EXPECT_FALSE(mssqlTableExists(third));
    EXPECT_EQ(h.mssqlTables.texts(), (std::vector<QString>{second, first}));
}

TEST_F(TransferCustomization, ToSqlServerUnchangedHeadIsTheAutomaticCopy) {
    const QString t = uniqueName(QStringLiteral("same"));
    execPostgres(QStringLiteral("CREATE TABLE \"%1\"(n INT4, s TEXT)").arg(t));
    execPostgres(QStringLiteral("INSERT INTO \"%1\" VALUES(5, 'x')").arg(t));
    h.select(h.postgresTables, {t});
    h.customizeToSqlServer.setValue(1);
    h.customizationDialog.answers = {ScriptedDialog::okUnchanged()};

    transfer::sendTablesToSqlServer(h.context);

    EXPECT_TRUE(h.platform.messages.empty()) << h.platform.messages.front().text.toStdString();
    EXPECT_TRUE(copiedToSqlServer(t, t));
    EXPECT_EQ(mssqlRows("SELECT * FROM [" + t + "]"),
              (Rows{{db::Value::dbl(5), db::Value::text("x")}}));
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
