// What only the copy from PostgreSQL to SQL Server does, against both test servers (what
// both directions do alike: either_direction_test.cpp).

#include <gtest/gtest.h>

#include <algorithm>

#include "copy_check.h"
#include "db/odbc/ado.h"
#include "db/odbc/ado_types.h"
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

struct Column {
    QString name;
    db::AdoType adoType;
    int precision;
    int scale;
    friend bool operator==(const Column&, const Column&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Column& c) {
        return os << c.name.toStdString() << ' ' << static_cast<int>(c.adoType) << '('
                  << c.precision << ',' << c.scale << ')';
    }
};

class TransferToSqlServer : public ::testing::Test {
  protected:
    TransferHarness h;
    void send() { transfer::sendTablesToSqlServer(h.context, core::YieldPolicy::everyCall()); }
    // Sorted on the first column here: the stand-in takes no ORDER BY.
    static Rows msRows(const QString& table) {
        Rows rows = mssqlRows(QStringLiteral("SELECT * FROM ") + sql::bracketedName(table));
        std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            const db::Value &x = a[0], &y = b[0];
            if (x.kind() == db::Value::Kind::Double) return x.asDouble() < y.asDouble();
            if (x.kind() == db::Value::Kind::Integer) return x.asInteger() < y.asInteger();
            return sql::valueText(x) < sql::valueText(y);
        });
        return rows;
    }
    // The target's columns as the driver describes them: what the CREATE TABLE made.
    static std::vector<Column> msColumns(const QString& table) {
        db::Connection c;
        c.open(db::mssqlConnectionString(mssqlProfile()));
        db::Recordset rs;
        rs.open(QStringLiteral("SELECT * FROM ") + sql::bracketedName(table), c);
        std::vector<Column> columns;
        for (int i = 0; i < rs.fieldCount(); ++i) {
            const db::FieldInfo& f = rs.field(i);
            const bool exact = f.adoType == db::ado::kNumeric;
            columns.push_back({f.name, f.adoType,
                               exact || f.adoType == db::ado::kVarChar ? f.precision : 0,
                               exact ? f.scale : 0});
        }
        return columns;
    }
};

namespace ado = db::ado;

TEST_F(TransferToSqlServer, TwoColumnTableGetsFloatAndVarchar) {
    const QString t = uniqueName(QStringLiteral("two"));
    execPostgres(QStringLiteral("CREATE TABLE \"%1\"(id INT4, name TEXT)").arg(t));
    execPostgres(
        QStringLiteral("INSERT INTO \"%1\" VALUES(1, 'a'), (2, NULL), (3, 'O''Brien'), (4, '')")
            .arg(t));
    h.select(h.postgresTables, {t});

    send();

    EXPECT_TRUE(h.platform.messages.empty()) << h.platform.messages.front().text.toStdString();
    EXPECT_TRUE(copiedToSqlServer(t, t));
    EXPECT_EQ(msColumns(t),
              (std::vector<Column>{{"id", ado::kDouble, 0, 0}, {"name", ado::kVarChar, 8000, 0}}));
    EXPECT_EQ(msRows(t), (Rows{{db::Value::dbl(1), db::Value::text("a")},
                               {db::Value::dbl(2), db::Value()},
                               {db::Value::dbl(3), db::Value::text("O'Brien")},
                               {db::Value::dbl(4), db::Value::text("")}}));
    EXPECT_EQ(h.mssqlTables.texts(), (std::vector<QString>{t}));
    EXPECT_EQ(h.progressBar.value(), 0);
    EXPECT_EQ(h.progressBar.text(), "Progress Bar");
    EXPECT_EQ(h.pointer.pointer(), core::MousePointer::Default);
}

// The list loses the entry the DROP removed, spelt otherwise as it is: SQL Server, as set up
// by default, takes both spellings for one table.
TEST_F(TransferToSqlServer, OverwriteKeepsThePostgresSpelling) {
    for (const bool fast : {false, true}) {
        SCOPED_TRACE(fast ? "fast copy" : "row by row");
        const QString lower = uniqueName(QStringLiteral("customers"));
        const QString upper = lower.toUpper();
        execPostgres(QStringLiteral("CREATE TABLE \"%1\"(n INT8)").arg(lower));
        execPostgres(QStringLiteral("INSERT INTO \"%1\" VALUES(1)").arg(lower));
        execMssql(QStringLiteral("CREATE TABLE [%1]([old] VARCHAR(5))").arg(upper));
        h.postgresTables.clear();
        h.mssqlTables.clear();
        h.platform.messages.clear();
        h.select(h.postgresTables, {lower});
        h.mssqlTables.add(upper);
        h.fastCopyToSqlServer.setValue(fast ? 1 : 0);
        h.platform.answers = {core::kAnswerYes};

        send();
        EXPECT_TRUE(copiedToSqlServer(lower, lower));

        ASSERT_EQ(h.platform.messages.size(), 1u);
        EXPECT_EQ(h.platform.messages[0].text, "Would you like to overwrite " + lower + "?");
        EXPECT_EQ(h.platform.messages[0].title, "Overwrite?");
        EXPECT_EQ(msColumns(lower), (std::vector<Column>{{"n", ado::kBigInt, 0, 0}}));
        EXPECT_EQ(msRows(lower), (Rows{{db::Value::integer(1)}}));
        EXPECT_EQ(h.mssqlTables.texts(), (std::vector<QString>{lower}));
    }
}

TEST_F(TransferToSqlServer, BracketsAndQuotesInNamesArriveIntact) {
    const QString t = uniqueName(QStringLiteral("a]b\"c"));
    execPostgres(QStringLiteral("CREATE TABLE %1(\"x]y\" TEXT)").arg(sql::doubleQuotedName(t)));
    execPostgres(QStringLiteral("INSERT INTO %1 VALUES('v')").arg(sql::doubleQuotedName(t)));
    h.select(h.postgresTables, {t});

    send();

    EXPECT_TRUE(h.platform.messages.empty()) << h.platform.messages.front().text.toStdString();
    EXPECT_TRUE(copiedToSqlServer(t, t));
    EXPECT_EQ(msColumns(t), (std::vector<Column>{{"x]y", ado::kVarChar, 8000, 0}}));
    EXPECT_EQ(msRows(t), (Rows{{db::Value::text("v")}}));
}

TEST_F(TransferToSqlServer, EveryKindOfValueArrivesAsFarAsTheTargetTypesHoldIt) {
    const QString t = uniqueName(QStringLiteral("kinds"));
    execPostgres(QStringLiteral(
                     "CREATE TABLE \"%1\"(k INT4, s INT2, big INT8, price NUMERIC(10,2), f FLOAT8, "
                     "flag BOOL, txt TEXT, vc VARCHAR(20), d DATE, at TIMESTAMP, cash MONEY)")
                     .arg(t));
    execPostgres(
        QStringLiteral("INSERT INTO \"%1\" VALUES(1, -32768, 9007199254740993, 12.99, 0.1, "
                       "true, '%2', 'x''y\\z', '2024-02-29', '2024-02-29 13:05:09.123456', "
                       "'-1234.56')")
            .arg(t, utf8("été € Zürich")));
    execPostgres(
        QStringLiteral("INSERT INTO \"%1\" VALUES(2, NULL, -9223372036854775808, -99999999.99, "
                       "-2.5e-7, false, '', '', NULL, '1999-12-31 23:59:59.9996', NULL)")
            .arg(t));
    execPostgres(QStringLiteral("INSERT INTO \"%1\"(k) VALUES(3)").arg(t));
    h.select(h.postgresTables, {t});

    send();

    EXPECT_TRUE(h.platform.messages.empty()) << h.platform.messages.front().text.toStdString();
    EXPECT_TRUE(copiedToSqlServer(t, t));
    EXPECT_EQ(msColumns(t), (std::vector<Column>{{"k", ado::kDouble, 0, 0},
                                                 {"s", ado::kDouble, 0, 0},
                                                 {"big", ado::kBigInt, 0, 0},
                                                 {"price", ado::kNumeric, 10, 2},
                                                 {"f", ado::kDouble, 0, 0},
                                                 {"flag", ado::kVarChar, 8000, 0},
                                                 {"txt", ado::kVarChar, 8000, 0},
                                                 {"vc", ado::kVarChar, 8000, 0},
                                                 {"d", ado::kDBTimeStamp, 0, 0},
                                                 {"at", ado::kDBTimeStamp, 0, 0},
                                                 {"cash", ado::kVarChar, 8000, 0}}));
    const Rows rows = msRows(t);
    ASSERT_EQ(rows.size(), 3u);
    // Text outside the varchar column's code page is refused (see the type matrix).
    EXPECT_EQ(rows[0],
              (std::vector<db::Value>{
                  db::Value::dbl(1), db::Value::dbl(-32768), db::Value::integer(9007199254740993),
                  db::Value::decimal("12.99"), db::Value::dbl(0.1), db::Value::text("True"),
                  db::Value::text(utf8("été € Zürich")), db::Value::text("x'y\\z"),
                  db::Value::timestamp({2024, 2, 29, 0, 0, 0, 0}),
                  db::Value::timestamp({2024, 2, 29, 13, 5, 9, 123000000}),
                  db::Value::text("-1234.56")}));
    EXPECT_EQ(rows[1][2], db::Value::integer(INT64_MIN));
    EXPECT_EQ(rows[1][3], db::Value::decimal("-99999999.99"));
    EXPECT_EQ(rows[1][4], db::Value::dbl(-2.5e-7));
    EXPECT_EQ(rows[1][5], db::Value::text("False"));
    EXPECT_EQ(rows[1][6], db::Value::text(""));
    EXPECT_EQ(rows[1][7], db::Value::text(""));
    EXPECT_EQ(rows[1][9], db::Value::timestamp({2000, 1, 1, 0, 0, 0, 0}));
    for (int i = 1; i < 11; ++i) EXPECT_TRUE(rows[2][i].isNull()) << i;
}

TEST_F(TransferToSqlServer, NumericWithoutPrecisionLosesNoDigitSilently) {
    const QString t = uniqueName(QStringLiteral("wide"));
    execPostgres(QStringLiteral("CREATE TABLE \"%1\"(k INT4, n NUMERIC)").arg(t));
    execPostgres(QStringLiteral("INSERT INTO \"%1\" VALUES(1, 1234567890123456789012.5), "
                                "(2, -0.1234567890123456), (3, 0.000000000123456789), (4, 7)")
                     .arg(t));
    h.select(h.postgresTables, {t});

    send();

    EXPECT_EQ(msColumns(t),
              (std::vector<Column>{{"k", ado::kDouble, 0, 0}, {"n", ado::kNumeric, 38, 16}}));
    // What fits arrives with every digit; the first value that does not is refused
    // aloud and the copy sends nothing more.
    const Rows rows = msRows(t);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][1], db::Value::decimal("1234567890123456789012.5000000000000000"));
    EXPECT_EQ(rows[1][1], db::Value::decimal("-0.1234567890123456"));
    const auto reports = h.platform.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].startsWith(
        "Table " + t +
        ", column n, row 3: The value 0.000000000123456789 has more digits than a column of "
        "precision 38 and scale 16 holds.\r\nin Ambrelin2021/08/31.Form2.PushButton4_Click at "
        "line 330"))
        << reports[0].toStdString();
}

}  // namespace
}  // namespace dorvane::testing
