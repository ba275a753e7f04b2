// The transfers with the real dialog logic: the box ticked, the user (scripted) changes
// types and confirms or cancels, and the target tables show the outcome.

#include <gtest/gtest.h>

#include "copy_check.h"
#include "db/odbc/ado_types.h"
#include "db/odbc/connection.h"
#include "qstring_printer.h"
#include "scripted_dialog_host.h"
#include "sql/general_value_text.h"
#include "sql/sql_quoting.h"
#include "transfer/send_tables.h"
#include "transfer_harness.h"

namespace dorvane::testing {
namespace {

std::vector<db::FieldInfo> mssqlFields(const QString& table) {
    db::Connection c;
    c.setCursorLocation(db::kUseClient);
    c.open(db::mssqlConnectionString(mssqlProfile()));
    db::Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM ") + sql::bracketedName(table), c);
    std::vector<db::FieldInfo> fields;
    for (int i = 0; i < rs.fieldCount(); ++i) fields.push_back(rs.field(i));
    return fields;
}

class CustomizedTransfer : public ::testing::Test {
  protected:
    void sendToPostgres() {
        transfer::sendTablesToPostgres(context, core::YieldPolicy::everyCall());
    }
    void sendToSqlServer() {
        transfer::sendTablesToSqlServer(context, core::YieldPolicy::everyCall());
    }
    // The n-th showing (from 0) plays `user`; a showing without a script fails the test.
    void script(std::vector<std::function<void(ScriptedDialogHost&)>> users) {
        customizationDialog.onShow = [users = std::move(users)](ScriptedDialogHost& dialog) {
            const auto shown = static_cast<std::size_t>(dialog.showCount - 1);
            if (shown >= users.size()) {
                ADD_FAILURE() << "unexpected showing " << dialog.showCount;
                dialog.cancel();
                return;
            }
            users[shown](dialog);
        };
    }
    static void pressOk(ScriptedDialogHost& dialog) { dialog.ok(); }
    static void pressCancel(ScriptedDialogHost& dialog) { dialog.cancel(); }

    ScriptedPlatform platform;
    EnvProfiles profiles;
    core::MemoryListBox mssqlTables;
    core::MemoryListBox postgresTables;
    core::MemoryCheckBox customizeToPostgres, customizeToSqlServer;
    core::MemoryProgressBar progressBar;
    core::MemoryPointer pointer;
    transfer::TransferScreenControls transferScreen{mssqlTables,         postgresTables,
                                                    customizeToPostgres, customizeToSqlServer,
                                                    progressBar,         pointer};
    bool customizationCancelled = false;
    ScriptedDialogHost customizationDialog{platform, profiles, customizationCancelled};
    transfer::StopRequest stop;
    transfer::CommandContext context{
        platform, profiles, transferScreen, customizationDialog, customizationCancelled, stop};
};

TEST_F(CustomizedTransfer, AChangedTypeReachesThePostgresTable) {
    const QString t = uniqueName(QStringLiteral("cust_pg"));
    execMssql(
        QStringLiteral("CREATE TABLE [%1](id INT, name NVARCHAR(40), price DECIMAL(10,2))").arg(t));
    execMssql(QStringLiteral("INSERT INTO [%1] VALUES (1, N'Ann', 2.5), (2, N'Bo', 3.25)").arg(t));
    customizeToPostgres.setValue(1);
    TransferHarness::select(mssqlTables, {t});
    script({[](ScriptedDialogHost& dialog) {
        EXPECT_EQ(dialog.fields.texts(), (std::vector<QString>{"id", "name", "price"}));
        EXPECT_EQ(dialog.dataTypes.texts(), (std::vector<QString>{"INT", "VARCHAR(3)", "NUMERIC"}));
        dialog.clickField(1);
        dialog.change(QStringLiteral("Text"));
        dialog.clickField(2);
        dialog.change(QStringLiteral("numeric(12,3)"));
        dialog.ok();
    }});

    sendToPostgres();

    EXPECT_EQ(customizationDialog.showCount, 1);
    EXPECT_EQ(customizationDialog.members().direction, transfer::Direction::ToPostgres);
    EXPECT_EQ(customizationDialog.members().tableName, t);
    EXPECT_EQ(customizationDialog.members().numericColumns, "0,");
    EXPECT_TRUE(platform.messages.empty()) << platform.messages.front().text.toStdString();
    EXPECT_TRUE(copiedToPostgres(t, t));
    EXPECT_EQ(postgresColumns(t), (QStringList{"id integer", "name text", "price numeric"}));
    const Rows rows = postgresRows(QStringLiteral("SELECT id, name, price::text FROM ") +
                                   sql::doubleQuotedName(t) + QStringLiteral(" ORDER BY id"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(sql::valueText(rows[1][1]), "Bo");
    EXPECT_EQ(sql::valueText(rows[1][2]), "3.250") << "the chosen scale";
    execMssql(QStringLiteral("DROP TABLE [%1]").arg(t));
    execPostgres(QStringLiteral("DROP TABLE ") + sql::doubleQuotedName(t));
}

TEST_F(CustomizedTransfer, ProposalsTowardsSqlServerKeepFractionsAndAChangedTypeArrives) {
    const QString t = uniqueName(QStringLiteral("cust_ms"));
    execPostgres(
        QStringLiteral("CREATE TABLE %1(id integer, amount numeric(10,5), label varchar(30))")
            .arg(sql::doubleQuotedName(t)));
    execPostgres(
        QStringLiteral("INSERT INTO %1 VALUES (1, 3.14159, 'pi')").arg(sql::doubleQuotedName(t)));
    customizeToSqlServer.setValue(1);
    TransferHarness::select(postgresTables, {t});
    script({[](ScriptedDialogHost& dialog) {
        EXPECT_EQ(dialog.dataTypes.texts(),
                  (std::vector<QString>{"INT", "NUMERIC(10,5)", "VARCHAR(2)"}));
        dialog.clickDataType(2);
        dialog.change(QStringLiteral("nvarchar(100)"));
        dialog.ok();
    }});

    sendToSqlServer();

    EXPECT_TRUE(platform.messages.empty()) << platform.messages.front().text.toStdString();
    EXPECT_TRUE(copiedToSqlServer(t, t));
    const auto fields = mssqlFields(t);
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[1].adoType, db::ado::kNumeric);
    EXPECT_EQ(fields[1].precision, 10);
    EXPECT_EQ(fields[1].scale, 5);
    EXPECT_EQ(fields[2].adoType, db::ado::kVarWChar);
    EXPECT_EQ(fields[2].precision, 100);
    const Rows rows = mssqlRows(QStringLiteral("SELECT * FROM ") + sql::bracketedName(t));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(sql::valueText(rows[0][1]), "3.14159");
    EXPECT_EQ(sql::valueText(rows[0][2]), "pi");
    execPostgres(QStringLiteral("DROP TABLE ") + sql::doubleQuotedName(t));
    execMssql(QStringLiteral("DROP TABLE ") + sql::bracketedName(t));
}

TEST_F(CustomizedTransfer, CancellingTheSecondOfThreeTablesLeavesOnlyTheFirstCopied) {
    // Processed from the bottom of the list: c first, then b, then a.
    const QString stem = uniqueName(QStringLiteral("cancel"));
    const QString a = stem + QStringLiteral("_a"), b = stem + QStringLiteral("_b"),
                  c = stem + QStringLiteral("_c");
    for (const QString& name : {a, b, c}) {
        execMssql(QStringLiteral("CREATE TABLE [%1](id INT)").arg(name));
        execMssql(QStringLiteral("INSERT INTO [%1] VALUES (1)").arg(name));
    }
    // b is on PostgreSQL already, and the user agrees to overwrite it.
    execPostgres(QStringLiteral("CREATE TABLE %1(kept text)").arg(sql::doubleQuotedName(b)));
    execPostgres(QStringLiteral("INSERT INTO %1 VALUES ('old')").arg(sql::doubleQuotedName(b)));
    postgresTables.add(b);
    platform.answers = {core::kAnswerYes};
    customizeToPostgres.setValue(1);
    TransferHarness::select(mssqlTables, {a, b, c});
    script({pressOk, pressCancel});

    sendToPostgres();

    EXPECT_EQ(customizationDialog.showCount, 2);
    EXPECT_TRUE(customizationCancelled);
    EXPECT_TRUE(platform.errorReports().empty());
    EXPECT_TRUE(postgresTableExists(c));
    EXPECT_EQ(postgresRowCount(c), 1);
    EXPECT_EQ(postgresColumns(b), QStringList{"kept text"}) << "nothing dropped for b";
    EXPECT_EQ(postgresRowCount(b), 1);
    EXPECT_FALSE(postgresTableExists(a));
    EXPECT_EQ(postgresTables.texts(), (std::vector<QString>{b, c}));
    for (const QString& name : {a, b, c}) execMssql(QStringLiteral("DROP TABLE [%1]").arg(name));
    for (const QString& name : {b, c})
        execPostgres(QStringLiteral("DROP TABLE ") + sql::doubleQuotedName(name));
}

TEST_F(CustomizedTransfer, ClosingAfterAChangeAndAnsweringYesEndsTheRunWithNothingCreated) {
    const QString t = uniqueName(QStringLiteral("cust_close"));
    execPostgres(QStringLiteral("CREATE TABLE %1(id integer)").arg(sql::doubleQuotedName(t)));
    customizeToSqlServer.setValue(1);
    TransferHarness::select(postgresTables, {t});
    platform.answers = {core::kAnswerNo, core::kAnswerYes};
    script({[](ScriptedDialogHost& dialog) {
        dialog.clickField(0);
        dialog.change(QStringLiteral("bigint"));
        dialog.closeBox();  // No: back in the dialog
        EXPECT_TRUE(dialog.open);
        dialog.closeBox();  // Yes
    }});

    sendToSqlServer();

    EXPECT_EQ(customizationDialog.showCount, 1);
    EXPECT_TRUE(customizationCancelled);
    EXPECT_FALSE(mssqlTableExists(t));
    EXPECT_EQ(mssqlTables.count(), 0);
    execPostgres(QStringLiteral("DROP TABLE ") + sql::doubleQuotedName(t));
}

TEST_F(CustomizedTransfer, WithTheBoxUntickedTheDialogIsNeverShown) {
    const QString t = uniqueName(QStringLiteral("cust_off"));
    execMssql(QStringLiteral("CREATE TABLE [%1](id INT)").arg(t));
    TransferHarness::select(mssqlTables, {t});
    customizationDialog.members().createTableSql = QStringLiteral("untouched");

    sendToPostgres();

    EXPECT_EQ(customizationDialog.showCount, 0);
    EXPECT_EQ(customizationDialog.members().createTableSql, "untouched");
    EXPECT_TRUE(postgresTableExists(t));
    execMssql(QStringLiteral("DROP TABLE [%1]").arg(t));
    execPostgres(QStringLiteral("DROP TABLE ") + sql::doubleQuotedName(t));
}

}  // namespace
}  // namespace dorvane::testing
