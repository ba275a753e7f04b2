// What only the copy from SQL Server to PostgreSQL does, against both test servers (what
// both directions do alike: either_direction_test.cpp).

#include <gtest/gtest.h>

#include "copy_check.h"
#include "db/odbc/connection.h"
#include "sql/general_value_text.h"
#include "sql/sql_quoting.h"
#include "transfer/send_tables.h"
#include "transfer_harness.h"

namespace dorvane::testing {
namespace {

using db::Value;

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

class TransferToPostgres : public ::testing::Test {
  protected:
    TransferHarness h;
    void send() { transfer::sendTablesToPostgres(h.context, core::YieldPolicy::everyCall()); }
    static Rows pgRows(const QString& table, const QString& orderBy = QStringLiteral("1")) {
        return postgresRows(QStringLiteral("SELECT * FROM ") + sql::doubleQuotedName(table) +
                            QStringLiteral(" ORDER BY ") + orderBy);
    }
};

TEST_F(TransferToPostgres, SevenColumnTableGetsTheAutomaticTypesAndItsRows) {
    const QString t = uniqueName(QStringLiteral("seven"));
    execMssql(QStringLiteral("CREATE TABLE [%1]([id] INT, [name] NVARCHAR(40), [born] DATETIME, "
                             "[ok] BIT, [price] MONEY, [day] DATE, [score] FLOAT)")
                  .arg(t));
    execMssql(QStringLiteral("INSERT INTO [%1] VALUES(7, N'O''Brien', '2024-01-02T03:04:05.123', "
                             "1, 12.5, '2024-02-29', 0.1)")
                  .arg(t));
    execMssql(
        QStringLiteral("INSERT INTO [%1] VALUES(8, '', NULL, 0, -1234.5678, NULL, NULL)").arg(t));
    h.select(h.mssqlTables, {t});

    send();

    EXPECT_TRUE(h.platform.messages.empty()) << h.platform.messages.front().text.toStdString();
    EXPECT_TRUE(copiedToPostgres(t, t));
    EXPECT_EQ(postgresColumns(t),
              (QStringList{"id numeric", "name text", "born timestamp without time zone",
                           "ok boolean", "price numeric", "day date", "score text"}));
    const Rows rows = pgRows(t);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(sql::valueText(rows[0][0]), "7");
    EXPECT_EQ(sql::valueText(rows[0][1]), "O'Brien");
    EXPECT_EQ(sql::valueText(rows[0][2]), "2024-01-02 03:04:05.123000");
    EXPECT_EQ(rows[0][3], db::Value::boolean(true));
    EXPECT_EQ(sql::valueText(rows[0][4]), "12.5000");
    EXPECT_EQ(sql::valueText(rows[0][5]), "2024-02-29");
    EXPECT_EQ(sql::valueText(rows[0][6]), "0.1");
    // An empty text stays a text; nulls stay nulls.
    EXPECT_EQ(rows[1][1], db::Value::text(""));
    EXPECT_TRUE(rows[1][2].isNull());
    EXPECT_EQ(rows[1][3], db::Value::boolean(false));
    EXPECT_EQ(sql::valueText(rows[1][4]), "-1234.5678");
    EXPECT_TRUE(rows[1][6].isNull());

    EXPECT_EQ(h.postgresTables.texts(), (std::vector<QString>{t}));
    EXPECT_EQ(h.progressBar.value(), 0);
    EXPECT_EQ(h.progressBar.text(), "Progress Bar");
    EXPECT_EQ(h.pointer.pointer(), core::MousePointer::Default);
}

TEST_F(TransferToPostgres, OverwriteUsesTheSpellingListedOnThePostgresSide) {
    const QString base = uniqueName(QStringLiteral("customers"));
    const QString upper = base.toUpper();
    const QString listed = QStringLiteral("Customers") + base.mid(9);
    execMssql(QStringLiteral("CREATE TABLE [%1]([n] INT)").arg(upper));
    execMssql(QStringLiteral("INSERT INTO [%1] VALUES(1)").arg(upper));
    execPostgres(QStringLiteral("CREATE TABLE \"%1\"(old TEXT)").arg(listed));
    execPostgres(QStringLiteral("INSERT INTO \"%1\" VALUES('old')").arg(listed));
    h.select(h.mssqlTables, {upper});
    h.postgresTables.add(listed);
    h.platform.answers = {core::kAnswerYes};

    send();
    EXPECT_TRUE(copiedToPostgres(upper, listed));

    ASSERT_EQ(h.platform.messages.size(), 1u);
    EXPECT_EQ(h.platform.messages[0].text, "Would you like to overwrite " + listed + "?");
    EXPECT_EQ(h.platform.messages[0].title, "Overwrite?");
    EXPECT_EQ(h.platform.messages[0].buttons, core::MsgButtons::YesNo);
    EXPECT_EQ(h.platform.messages[0].icon, core::MsgIcon::None);
    EXPECT_EQ(postgresColumns(listed), QStringList{"n numeric"});
    EXPECT_EQ(pgRows(listed), (Rows{{db::Value::decimal("1")}}));
    EXPECT_FALSE(postgresTableExists(base.toLower()));
    // Listed as it was created: a lower-cased entry would name no table.
    EXPECT_EQ(h.postgresTables.texts(), (std::vector<QString>{listed}));
}

// A source table that is gone by the time it is copied: each step that needs it is
// reported once, and nothing is listed.
TEST_F(TransferToPostgres, AMissingSourceTableIsReportedStepByStep) {
    const QString gone = uniqueName(QStringLiteral("gone"));
    TransferHarness::select(h.mssqlTables, {gone});

    send();

    std::vector<QString> lines;
    for (const QString& report : h.platform.errorReports()) {
        const auto at = report.indexOf(QStringLiteral(" at line "));
        const auto end = report.indexOf(u'\r', at);
        lines.push_back(report.mid(at + 9, end - at - 9) +
                        (report.contains(QStringLiteral("Main.ExecuteSQL")) ? "/ExecuteSQL" : ""));
    }
    EXPECT_EQ(lines, (std::vector<QString>{"164", "252", "100/ExecuteSQL", "322"}));
    EXPECT_TRUE(h.postgresTables.texts().empty());
    EXPECT_EQ(h.progressBar.value(), 0);
    EXPECT_EQ(h.progressBar.text(), QStringLiteral("Progress Bar"));
    EXPECT_EQ(h.pointer.pointer(), core::MousePointer::Default);
}

TEST_F(TransferToPostgres, QuotesAndBackslashesInNamesAndValuesArriveIntact) {
    const QString t = uniqueName(QStringLiteral("we\"ird"));
    execMssql(QStringLiteral("CREATE TABLE [%1]([col\"x] NVARCHAR(40), [n] INT)").arg(t));
    execMssql(QStringLiteral("INSERT INTO [%1] VALUES(N'C:\\data', 1)").arg(t));
    execMssql(QStringLiteral("INSERT INTO [%1] VALUES(N'it''s \\''quoted\\''', 2)").arg(t));
    execMssql(QStringLiteral("INSERT INTO [%1] VALUES(N'plain', 3)").arg(t));
    h.select(h.mssqlTables, {t});

    send();

    EXPECT_TRUE(h.platform.messages.empty());
    EXPECT_TRUE(copiedToPostgres(t, t));
    EXPECT_EQ(postgresColumns(t), (QStringList{"col\"x text", "n numeric"}));
    const Rows rows = pgRows(t, QStringLiteral("2"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(sql::valueText(rows[0][0]), "C:\\data");
    EXPECT_EQ(sql::valueText(rows[1][0]), "it's \\'quoted\\'");
    EXPECT_EQ(sql::valueText(rows[2][0]), "plain");
}

TEST_F(TransferToPostgres, EveryKindOfValueArrivesAsFarAsTheTargetTypesHoldIt) {
    const QString t = uniqueName(QStringLiteral("kinds"));
    execMssql(
        QStringLiteral("CREATE TABLE [%1]([k] INT, [big] BIGINT, [small] SMALLINT, [tiny] TINYINT, "
                       "[flag] BIT, [dec] DECIMAL(28,13), [cash] MONEY, [f] FLOAT, [r] REAL, "
                       "[at] DATETIME, [d] DATE, [c] CHAR(5), [vc] VARCHAR(20), [nv] NVARCHAR(40), "
                       "[long] TEXT, [bin] VARBINARY(10), [id] UNIQUEIDENTIFIER)")
            .arg(t));
    const QString longText = QString(120 * 1024, u'x') + QStringLiteral("end");
    execMssql(QStringLiteral("INSERT INTO [%1] VALUES(1, 9007199254740993, -32768, 255, 1, "
                             "123456789012345.1234567890123, 922337203685477.5807, "
                             "-2.5E-7, 0.1, '1999-12-31T23:59:59.997', '0001-01-01', 'ab', "
                             "'x''y', N'%2', '%3', 0x01AB00, "
                             "'6F9619FF-8B86-D011-B42D-00C04FC964FF')")
                  .arg(t, utf8("Αθήνα 中文 😀"), longText));
    execMssql(QStringLiteral("INSERT INTO [%1] VALUES(2, NULL, NULL, NULL, NULL, NULL, NULL, "
                             "NULL, NULL, NULL, NULL, '', '', N'', '', 0x, NULL)")
                  .arg(t));
    execMssql(QStringLiteral("INSERT INTO [%1]([k]) VALUES(3)").arg(t));
    h.select(h.mssqlTables, {t});

    send();

    EXPECT_TRUE(h.platform.messages.empty()) << h.platform.messages.front().text.toStdString();
    EXPECT_TRUE(copiedToPostgres(t, t));
    const Rows rows = pgRows(t);
    ASSERT_EQ(rows.size(), 3u);
    const auto& full = rows[0];
    EXPECT_EQ(sql::valueText(full[1]), "9007199254740993");
    EXPECT_EQ(sql::valueText(full[2]), "-32768");
    EXPECT_EQ(sql::valueText(full[3]), "255");
    EXPECT_EQ(full[4], db::Value::boolean(true));
    EXPECT_EQ(sql::valueText(full[5]), "123456789012345.1234567890123");
    EXPECT_EQ(sql::valueText(full[6]), "922337203685477.5807");
    EXPECT_EQ(sql::valueText(full[7]), "-2.5e-07");
    EXPECT_EQ(sql::valueText(full[8]), "0.1");
    EXPECT_EQ(sql::valueText(full[9]), "1999-12-31 23:59:59.997000");
    EXPECT_EQ(sql::valueText(full[10]), "0001-01-01");
    EXPECT_EQ(sql::valueText(full[11]), "ab   ");
    EXPECT_EQ(sql::valueText(full[12]), "x'y");
    EXPECT_EQ(sql::valueText(full[13]), utf8("Αθήνα 中文 😀"));
    EXPECT_EQ(sql::valueText(full[14]), longText);
    EXPECT_EQ(sql::valueText(full[15]), "\\x01ab00");
    EXPECT_EQ(sql::valueText(full[16]).toUpper(), "6F9619FF-8B86-D011-B42D-00C04FC964FF");

    // The empty texts of the second row stay empty texts, its nulls stay nulls.
    const auto& empties = rows[1];
    for (int i = 1; i <= 10; ++i) EXPECT_TRUE(empties[i].isNull()) << i;
    EXPECT_EQ(sql::valueText(empties[11]), "     ");
    for (int i = 12; i <= 14; ++i) EXPECT_EQ(empties[i], db::Value::text("")) << i;
    EXPECT_EQ(sql::valueText(empties[15]), "\\x");
    EXPECT_TRUE(empties[16].isNull());
    for (int i = 1; i < 17; ++i) EXPECT_TRUE(rows[2][i].isNull()) << i;
}

TEST_F(TransferToPostgres, HandlersRunningInsideTheCopyCannotRedirectIt) {
    const QString stem = uniqueName(QStringLiteral("busy"));
    const QString first = stem + "_b", second = stem + "_a";
    for (const QString& t : {first, second}) {
        execMssql(QStringLiteral("CREATE TABLE [%1]([n] INT)").arg(t));
        for (int i = 1; i <= 3; ++i)
            execMssql(QStringLiteral("INSERT INTO [%1] VALUES(%2)").arg(t).arg(i));
    }
    h.select(h.mssqlTables, {second, first});
    h.mssqlTables.add(stem + "_z_other");
    // Mid-copy the user clicks another entry, then the list is emptied by another handler.
    int yields = 0;
    h.platform.onProcessEvents = [&] {
        ++yields;
        if (h.progressBar.value() > 0 && h.mssqlTables.count() == 3)
            h.mssqlTables.click(2);
        else if (h.progressBar.value() >= 100 && h.mssqlTables.count() > 0)
            h.mssqlTables.clear();
    };

    send();

    EXPECT_TRUE(h.platform.messages.empty());
    EXPECT_TRUE(copiedToPostgres(first, first));
    EXPECT_EQ(pgRows(first).size(), 3u);
    EXPECT_FALSE(postgresTableExists(second));
    EXPECT_FALSE(postgresTableExists((stem + "_z_other").toLower()));
    EXPECT_EQ(h.postgresTables.texts(), (std::vector<QString>{first}));
    EXPECT_GT(yields, 3);
}

// The fast copy's own session lets events run while the server makes it wait, as the
// command's connections do: its DROP waits for a table another session holds until an event
// lets the table go.
TEST_F(TransferToPostgres, AFastCopyWaitingForAHeldTableLetsEventsRun) {
    const QString t = uniqueName(QStringLiteral("held_target"));
    const QString quoted = sql::doubleQuotedName(t);
    execMssql(QStringLiteral("CREATE TABLE [%1]([n] INT)").arg(t));
    execMssql(QStringLiteral("INSERT INTO [%1] VALUES(1),(2),(3)").arg(t));
    execPostgres(QStringLiteral("CREATE TABLE ") + quoted + QStringLiteral("(old TEXT)"));
    const QString held = sql::valueText(postgresRows(
        QStringLiteral("SELECT %1::regclass::oid").arg(sql::singleQuotedText(quoted)))[0][0]);
    h.select(h.mssqlTables, {t});
    h.postgresTables.add(t);
    h.platform.answers = {core::kAnswerYes};
    h.fastCopyToPostgres.setValue(1);
    // A DROP not yet rolled back holds the table. Should the events stop, the server ends the
    // holder once it has sat idle a while.
    db::Connection holder;
    holder.open(db::postgresConnectionString(postgresProfile()));
    holder.execute(QStringLiteral("SET idle_in_transaction_session_timeout = '60s'"));
    holder.beginTransaction();
    holder.execute(QStringLiteral("DROP TABLE ") + quoted);
    constexpr int kTurns = 3;  // taken while a session waits for the table, before it is let go
    int turns = 0;
    h.platform.onProcessEvents = [&] {
        if (turns == kTurns) return;
        const db::Recordset waiting = holder.query(
            QStringLiteral("SELECT 1 FROM pg_locks WHERE NOT granted AND relation = ") + held);
        if (!waiting.eof() && ++turns == kTurns) holder.endTransaction(false);
    };

    send();

    EXPECT_EQ(turns, kTurns);
    EXPECT_TRUE(h.platform.errorReports().empty());
    EXPECT_TRUE(copiedToPostgres(t, t));
}

}  // namespace
}  // namespace dorvane::testing
