// Values at the edges, copied in both directions through the real commands: every value
// arrives equal (in the form its target column holds), or the failure is reported.

#include <gtest/gtest.h>

#include <algorithm>

#include "copy_check.h"
#include "sql/sql_quoting.h"
#include "transfer/send_tables.h"
#include "transfer_harness.h"

namespace dorvane::testing {
namespace {

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

// The awkward texts, as SQL literals of both servers.
const char* const kTexts[] = {"O'Brien ''",
                              "C:\\data\\",
                              "\\'",
                              "\"quoted\" [br]] ]",
                              "semi; DROP TABLE x; --",
                              "Ωμέγα 中文 😀 été",
                              "\t\r\n",
                              " ",
                              "E'x'",
                              "N'x'",
                              "$$ dollar $$",
                              "é\\x41\\101"};

bool inLatin1(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
}

class HostileValues : public ::testing::Test {
  protected:
    TransferHarness h;

    std::vector<QString> reports() const { return h.platform.errorReports(); }
};

TEST_F(HostileValues, ExtremesOfEveryTypeReachPostgresUnchanged) {
    const QString t = uniqueName(QStringLiteral("edges_to_pg"));
    execMssql(QStringLiteral("CREATE TABLE [%1]([k] INT, [txt] NVARCHAR(MAX), [i] INT, [b] BIGINT, "
                             "[s] SMALLINT, [y] TINYINT, [f] FLOAT, [r] REAL, [d] DECIMAL(38,10), "
                             "[m] MONEY, [bt] BIT, [dt] DATE, [ts] DATETIME)")
                  .arg(t));
    execMssql(
        QStringLiteral(
            "INSERT INTO [%1] VALUES(1, N'', -2147483648, -9223372036854775808, -32768, 0, "
            "-1.7976931348623157E308, -3.4028234E38, -9999999999999999999999999999.9999999999,"
            " -922337203685477.5808, 0, '0001-01-01', '1753-01-01T00:00:00')")
            .arg(t));
    execMssql(QStringLiteral(
                  "INSERT INTO [%1] VALUES(2, NULL, 2147483647, 9223372036854775807, 32767, 255, "
                  "1.7976931348623157E308, 3.4028234E38, 9999999999999999999999999999.9999999999, "
                  "922337203685477.5807, 1, '9999-12-31', '9999-12-31T23:59:59.997')")
                  .arg(t));
    execMssql(QStringLiteral("INSERT INTO [%1]([k], [f], [r]) VALUES(3, 2.2250738585072014E-308, "
                             "1.17549435E-38)")
                  .arg(t));
    int k = 10;
    for (const char* text : kTexts)
        execMssql(QStringLiteral("INSERT INTO [%1]([k], [txt]) VALUES(%2, N%3)")
                      .arg(t)
                      .arg(k++)
                      .arg(sql::singleQuotedText(utf8(text))));
    h.select(h.mssqlTables, {t});

    transfer::sendTablesToPostgres(h.context, core::YieldPolicy::everyCall());

    EXPECT_TRUE(reports().empty()) << reports().front().toStdString();
    EXPECT_TRUE(copiedToPostgres(t, t));
    EXPECT_EQ(h.progressBar.value(), 0);
    EXPECT_EQ(h.progressBar.text(), "Progress Bar");
}

TEST_F(HostileValues, ExtremesOfEveryTypeReachSqlServerUnchanged) {
    const QString t = uniqueName(QStringLiteral("edges_to_ms"));
    execPostgres(QStringLiteral("CREATE TABLE \"%1\"(k INT4, txt TEXT, i INT4, b INT8, s INT2, "
                                "f FLOAT8, r FLOAT4, d NUMERIC(38,10), bt BOOL, dt DATE, "
                                "ts TIMESTAMP)")
                     .arg(t));
    execPostgres(QStringLiteral(
                     "INSERT INTO \"%1\" VALUES(1, '', -2147483648, -9223372036854775808, -32768, "
                     "-1.7976931348623157e308, -3.4028235e38, "
                     "-9999999999999999999999999999.9999999999, false, '1753-01-01', "
                     "'1753-01-01 00:00:00'), "
                     "(2, NULL, 2147483647, 9223372036854775807, 32767, 1.7976931348623157e308, "
                     "3.4028235e38, 9999999999999999999999999999.9999999999, true, '9999-12-31', "
                     "'9999-12-31 23:59:59.997'), "
                     "(3, NULL, 0, 0, 0, 2.2250738585072014e-308, 1.1754944e-38, 0, NULL, NULL, "
                     "'2262-04-12 00:00:00.0004')")
                     .arg(t));
    int k = 10;
    for (const char* text : kTexts)
        if (inLatin1(utf8(text)))  // the varchar column refuses the others (type matrix)
            execPostgres(
                QStringLiteral("INSERT INTO \"%1\"(k, txt) VALUES(%2, E%3)")
                    .arg(t)
                    .arg(k++)
                    .arg(sql::singleQuotedText(utf8(text).replace(u'\\', QStringLiteral("\\\\")))));
    h.select(h.postgresTables, {t});

    transfer::sendTablesToSqlServer(h.context, core::YieldPolicy::everyCall());

    EXPECT_TRUE(reports().empty()) << reports().front().toStdString();
    EXPECT_TRUE(copiedToSqlServer(t, t));
}

TEST_F(HostileValues, TenMegabytesOfTextReachPostgresWhole) {
    const QString t = uniqueName(QStringLiteral("big_text"));
    QString big;
    const QString piece = utf8("ab'c\\d😀é ");
    while (big.size() < 10 * 1024 * 1024) big += piece;
    execMssql(QStringLiteral("CREATE TABLE [%1]([v] NVARCHAR(MAX))").arg(t));
    execMssql(QStringLiteral("INSERT INTO [%1] VALUES(N%2)").arg(t, sql::singleQuotedText(big)));
    h.select(h.mssqlTables, {t});

    transfer::sendTablesToPostgres(h.context, core::YieldPolicy::everyCall());

    EXPECT_TRUE(reports().empty()) << reports().front().toStdString();
    const Rows rows =
        postgresRows(QStringLiteral("SELECT length(v) FROM ") + sql::doubleQuotedName(t));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(copiedToPostgres(t, t));
}

TEST_F(HostileValues, DatesSqlServerCannotHoldAreReportedNotShifted) {
    // DATETIME starts in 1753: an earlier date is refused aloud, where it sits, and
    // nothing arrives in its place.
    const QString t = uniqueName(QStringLiteral("early"));
    execPostgres(QStringLiteral("CREATE TABLE \"%1\"(d DATE)").arg(t));
    execPostgres(QStringLiteral("INSERT INTO \"%1\" VALUES('0001-01-01')").arg(t));
    h.select(h.postgresTables, {t});

    transfer::sendTablesToSqlServer(h.context, core::YieldPolicy::everyCall());

    ASSERT_EQ(reports().size(), 1u);
    EXPECT_TRUE(reports()[0].startsWith("Table " + t +
                                        ", column d, row 1: The value 0001-01-01 "
                                        "cannot be held by a SQL Server datetime column"))
        << reports()[0].toStdString();
    EXPECT_EQ(mssqlRowCount(t), 0);
}

}  // namespace
}  // namespace dorvane::testing
