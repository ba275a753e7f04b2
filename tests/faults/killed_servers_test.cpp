// A server that goes away in the middle of a copy, in both directions: the target's
// session ended by PostgreSQL, a private stand-in killed. The failure is reported, no
// further statement is sent, nothing hangs, and the screen is left at rest.

#include <gtest/gtest.h>

#include <exception>
#include <functional>

#include "copy_check.h"
#include "db/odbc/connection.h"
#include "private_standin.h"
#include "sql/sql_quoting.h"
#include "transfer/send_tables.h"
#include "transfer_harness.h"

namespace dorvane::testing {
namespace {

constexpr int kRows = 60;

class KilledServers : public ::testing::Test {
  protected:
    TransferHarness h;

    // Runs `kill` once, after the copy has yielded this many times in its row loop (the
    // bar has moved): before it, it yields for as long as each server keeps it waiting.
    void killAfter(int yields, std::function<void()> kill) {
        h.platform.onProcessEvents = [this, yields, kill = std::move(kill), seen = 0]() mutable {
            if (h.progressBar.value() > 0 && ++seen == yields) kill();
        };
    }
    // The source lives in a database of its own, so the only session there to end is
    // the copy's. Returns the database's name.
    QString useOwnSourceDatabase() {
        const QString database = uniqueName(QStringLiteral("src_db")).toLower();
        execPostgres(QStringLiteral("CREATE DATABASE \"%1\"").arg(database));
        h.profiles.pg.database = database;
        return database;
    }
    void execInSource(const QString& sql) {
        db::Connection c;
        c.open(db::postgresConnectionString(h.profiles.pg));
        c.execute(sql);
    }
    // Ends every other session in the database; returns how many.
    static std::size_t endSessionsIn(const QString& database) {
        return postgresRows(QStringLiteral("SELECT pg_terminate_backend(pid) FROM "
                                           "pg_stat_activity WHERE pid <> pg_backend_pid() "
                                           "AND datname = ") +
                            sql::singleQuotedText(database))
            .size();
    }
    void expectAtRest() {
        EXPECT_EQ(h.progressBar.value(), 0);
        EXPECT_EQ(h.progressBar.text(), "Progress Bar");
        EXPECT_EQ(h.pointer.pointer(), core::MousePointer::Default);
    }
};

QString rowsOfNumbers(int rows = kRows) {
    QString values;
    for (int i = 1; i <= rows; ++i) values += QStringLiteral("%1(%2)").arg(i > 1 ? "," : "").arg(i);
    return values;
}

TEST_F(KilledServers, PostgresEndingTheTargetSessionStopsTheCopyAloud) {
    const QString t = uniqueName(QStringLiteral("cut_pg"));
    constexpr int kManyRows = 2000;
    execMssql(QStringLiteral("CREATE TABLE [%1]([n] INT)").arg(t));
    // SQL Server takes at most 1 000 rows in one VALUES list.
    for (int i = 0; i < kManyRows / 1000; ++i)
        execMssql(QStringLiteral("INSERT INTO [%1] VALUES%2").arg(t, rowsOfNumbers(1000)));
    h.select(h.mssqlTables, {t});
    // INSERTs run while later rows are read and built: the session is ended once one has
    // run, not after a number of turns, by which none may have run yet.
    std::size_t ended = 0;
    h.platform.onProcessEvents = [&] {
        if (ended > 0 || h.progressBar.value() == 0) return;
        ended = postgresRows(QStringLiteral("SELECT pg_terminate_backend(pid) FROM "
                                            "pg_stat_activity WHERE pid <> pg_backend_pid() "
                                            "AND query LIKE ") +
                             sql::singleQuotedText(QStringLiteral("%INSERT INTO \"") + t + u'%'))
                    .size();
    };

    transfer::sendTablesToPostgres(h.context, core::YieldPolicy::everyCall());

    EXPECT_EQ(ended, 1u);
    const auto reports = h.platform.errorReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_TRUE(reports[0].contains(QStringLiteral("Main.ExecuteSQL at line 100")))
        << reports[0].toStdString();
    const long long arrived = postgresRowCount(t);
    EXPECT_GT(arrived, 0);
    EXPECT_LT(arrived, kManyRows);
    EXPECT_EQ(h.postgresTables.texts(), (std::vector<QString>{t.toLower()}));
    expectAtRest();
}

TEST_F(KilledServers, StandinKilledAsTargetStopsTheCopyAloud) {
    PrivateStandin standin;
    const QString t = uniqueName(QStringLiteral("cut_ms"));
    constexpr int kManyRows = 2000;
    execPostgres(QStringLiteral("CREATE TABLE \"%1\"(n INT4)").arg(t));
    execPostgres(QStringLiteral("INSERT INTO \"%1\" VALUES%2").arg(t, rowsOfNumbers(kManyRows)));
    h.profiles.ms = standin.profile();
    h.select(h.postgresTables, {t});
    // Statements run while later rows are built: wait until some have arrived. Events
    // are processed before the table exists too, and counting then fails: that is no
    // fault of the copy's, and must not reach it.
    h.platform.onProcessEvents = [&] {
        if (!standin.running()) return;
        try {
            if (mssqlRowCount(t) > 0) standin.kill();
        } catch (const std::exception&) {
        }
    };

    transfer::sendTablesToSqlServer(h.context, core::YieldPolicy::everyCall());

    EXPECT_FALSE(standin.running());
    const auto reports = h.platform.errorReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_TRUE(reports[0].contains(QStringLiteral("Main.ExecuteSQL at line 100")))
        << reports[0].toStdString();
    const long long arrived = mssqlRowCount(t);  // through the shared stand-in
    EXPECT_GT(arrived, 0);
    EXPECT_LT(arrived, kManyRows);
    expectAtRest();
}

TEST_F(KilledServers, StandinKilledAsSourceAfterReadingLosesNoRow) {
    // The source's rows are all read when its recordset opens.
    PrivateStandin standin;
    const QString t = uniqueName(QStringLiteral("src_gone"));
    execMssql(QStringLiteral("CREATE TABLE [%1]([n] INT)").arg(t));
    execMssql(QStringLiteral("INSERT INTO [%1] VALUES%2").arg(t, rowsOfNumbers()));
    h.profiles.ms = standin.profile();
    h.select(h.mssqlTables, {t});
    killAfter(40, [&] { standin.kill(); });

    transfer::sendTablesToPostgres(h.context, core::YieldPolicy::everyCall());

    EXPECT_TRUE(copiedToPostgres(t, t));
    // Only closing the dead connection may fail, and that is shown.
    for (const QString& report : h.platform.errorReports())
        EXPECT_TRUE(report.contains(QStringLiteral("at line 412"))) << report.toStdString();
    expectAtRest();
}

TEST_F(KilledServers, PostgresEndingTheSourceSessionAfterReadingLosesNoRow) {
    const QString database = useOwnSourceDatabase();
    const QString t = uniqueName(QStringLiteral("pg_src_gone"));
    execInSource(QStringLiteral("CREATE TABLE \"%1\"(n INT4)").arg(t));
    execInSource(QStringLiteral("INSERT INTO \"%1\" VALUES%2").arg(t, rowsOfNumbers()));
    h.select(h.postgresTables, {t});
    std::size_t ended = 0;
    killAfter(40, [&] { ended = endSessionsIn(database); });

    transfer::sendTablesToSqlServer(h.context, core::YieldPolicy::everyCall());

    EXPECT_EQ(ended, 1u);
    EXPECT_EQ(mssqlRowCount(t), kRows);
    for (const QString& report : h.platform.errorReports())
        EXPECT_TRUE(report.contains(QStringLiteral("PushButton4_Click"))) << report.toStdString();
    expectAtRest();
    execPostgres(QStringLiteral("DROP DATABASE \"%1\" WITH (FORCE)").arg(database));
}

TEST_F(KilledServers, PostgresEndingTheSourceSessionWhileRowsArriveStopsTheCopyOnce) {
    // More rows than the copy reads ahead, so most are still on the server when it goes.
    constexpr int kLongRows = 3000;
    const QString database = useOwnSourceDatabase();
    const QString t = uniqueName(QStringLiteral("pg_src_cut"));
    execInSource(QStringLiteral("CREATE TABLE \"%1\"(n INT4, note TEXT)").arg(t));
    execInSource(QStringLiteral("INSERT INTO \"%1\" SELECT g, repeat('x', 4000) FROM "
                                "generate_series(1, %2) g")
                     .arg(t)
                     .arg(kLongRows));
    h.select(h.postgresTables, {t});
    killAfter(40, [&] { endSessionsIn(database); });

    transfer::sendTablesToSqlServer(h.context, core::YieldPolicy::everyCall());

    // One report where the copy moves to the next row, not one for every value left;
    // closing the dead connection may fail too, and that is shown.
    const auto reports = h.platform.errorReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_TRUE(reports[0].contains(QStringLiteral("PushButton4_Click at line 354")))
        << reports[0].toStdString();
    for (std::size_t i = 1; i < reports.size(); ++i)
        EXPECT_TRUE(reports[i].contains(QStringLiteral("at line 376"))) << reports[i].toStdString();
    const long long arrived = mssqlRowCount(t);
    EXPECT_GT(arrived, 0);
    EXPECT_LT(arrived, kLongRows);
    expectAtRest();
    execPostgres(QStringLiteral("DROP DATABASE \"%1\" WITH (FORCE)").arg(database));
}

}  // namespace
}  // namespace dorvane::testing
