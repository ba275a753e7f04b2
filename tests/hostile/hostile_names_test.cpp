// Table and column names that hold every character with a meaning in SQL, copied in
// both directions through the real commands: each arrives under its own name, with
// every value, and no statement breaks out of its quoting.

#include <gtest/gtest.h>

#include "copy_check.h"
#include "directions.h"
#include "sql/sql_quoting.h"
#include "sql/value_text.h"
#include "transfer/send_tables.h"
#include "transfer_harness.h"

namespace dorvane::testing {
namespace {

// Stems of the names; each test makes them unique. PostgreSQL keeps 63 bytes of a name,
// so the names copied there stay within that.
QStringList hostileStems() {
    return {QStringLiteral("dq\"x\"\"y"),  QStringLiteral("br]x[y]]"),
            QStringLiteral("ap'x''y"),     QStringLiteral("semi;drop table x;"),
            QStringLiteral("two  words"),  QStringLiteral("--dash/*c*/"),
            QStringLiteral("back\\slash"), QString::fromUtf8("Ωμέγα表😀")};
}

QString sqlServerLiteral(const QString& text) {
    return u'N' + sql::singleQuotedText(text);
}

class HostileNames : public ::testing::Test {
  protected:
    TransferHarness h;

    void expectNoReports() {
        const auto reports = h.platform.errorReports();
        EXPECT_TRUE(reports.empty()) << reports.front().toStdString();
    }
};

class HostileNameCopy : public ::testing::TestWithParam<Direction> {};

TEST_P(HostileNameCopy, EveryNameArrivesWithItsRows) {
    const Direction& d = GetParam();
    const ServerSide& from = d.source;
    const bool fromSqlServer = from.server == Server::SqlServer;
    for (const QString& stem : hostileStems()) {
        SCOPED_TRACE(stem.toStdString());
        TransferHarness fresh;
        const QString t = uniqueName(stem);
        const QString column = stem + QStringLiteral("_col");
        from.exec(QStringLiteral("CREATE TABLE %1(%2 %3)")
                      .arg(from.quote(t), from.quote(column),
                           fromSqlServer ? QStringLiteral("NVARCHAR(60), [n] INT")
                                         : QStringLiteral("TEXT, n INT4")));
        // A varchar column takes no text outside its code page (see the type matrix).
        const QString value =
            fromSqlServer ? sqlServerLiteral(stem)
                          : sql::singleQuotedText(sql::isAscii(stem) ? stem : QStringLiteral("x"));
        from.exec(
            QStringLiteral("INSERT INTO %1 VALUES(%2, 1), (NULL, NULL)").arg(from.quote(t), value));
        fresh.select(fresh.*from.list, {t});

        d.send(fresh.context, core::YieldPolicy::everyCall());

        const auto reports = fresh.platform.errorReports();
        EXPECT_TRUE(reports.empty()) << reports.front().toStdString();
        EXPECT_TRUE(d.target.exists(t));
        if (fromSqlServer) {
            EXPECT_EQ(postgresColumns(t).value(0), column + QStringLiteral(" text"));
        }
        EXPECT_TRUE(d.copied(t, t));
        EXPECT_EQ((fresh.*d.target.list).texts(), (std::vector<QString>{t}));
    }
}

INSTANTIATE_TEST_SUITE_P(BothDirections, HostileNameCopy,
                         ::testing::Values(kToPostgres, kToSqlServer),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostileNames, NamesOf128CharactersAreRefusedByPostgres) {
    // SQL Server allows 128 characters; PostgreSQL would keep only the first 63 bytes of
    // each name, so the table is refused before anything is created.
    QString t = uniqueName(QStringLiteral("long"));
    t += QString(128 - t.size(), u'L');
    const QString column = QString(120, u'c') + QStringLiteral("'\"];x");
    ASSERT_EQ(t.size(), 128);
    execMssql(QStringLiteral("CREATE TABLE %1(%2 INT)")
                  .arg(sql::bracketedName(t), sql::bracketedName(column)));
    execMssql(QStringLiteral("INSERT INTO %1 VALUES(42)").arg(sql::bracketedName(t)));
    h.select(h.mssqlTables, {t});

    transfer::sendTablesToPostgres(h.context, core::YieldPolicy::everyCall());

    const auto reports = h.platform.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].contains("first 63 bytes")) << reports[0].toStdString();
    EXPECT_FALSE(postgresTableExists(t.left(63)));
    EXPECT_TRUE(h.postgresTables.texts().empty());
}

}  // namespace
}  // namespace dorvane::testing
