// A server that is down or refuses the login, a table gone between listing and copying,
// and a statement the server cancels: each is reported, nothing hangs, and the lists
// and the progress bar are left as a finished copy leaves them.

#include <gtest/gtest.h>

#include "copy_check.h"
#include "db/connection.h"
#include "private_standin.h"
#include "sql/sql_quoting.h"
#include "transfer/send_tables.h"
#include "transfer_harness.h"

namespace dorvane::testing {
namespace {

class ServerFaults : public ::testing::Test {
  protected:
    TransferHarness h;

    void toPostgres() { sendTablesToPostgres(h.context, YieldPolicy::everyCall()); }
    void toSqlServer() { sendTablesToSqlServer(h.context, YieldPolicy::everyCall()); }

    QString mssqlTable() {
        const QString t = uniqueName(QStringLiteral("src"));
        execMssql(QStringLiteral("CREATE TABLE [%1]([n] INT)").arg(t));
        execMssql(QStringLiteral("INSERT INTO [%1] VALUES(1), (2)").arg(t));
        return t;
    }
    QString postgresTable() {
        const QString t = uniqueName(QStringLiteral("src"));
        execPostgres(QStringLiteral("CREATE TABLE \"%1\"(n INT4)").arg(t));
        execPostgres(QStringLiteral("INSERT INTO \"%1\" VALUES(1), (2)").arg(t));
        return t;
    }

    void expectReportAt(const QString& where) {
        const auto reports = h.platform.errorReports();
        ASSERT_FALSE(reports.empty());
        EXPECT_TRUE(reports[0].contains(where)) << reports[0].toStdString();
    }
    void expectProgressAtRest() {
        EXPECT_EQ(h.progressBar.value(), 0);
        EXPECT_EQ(h.progressBar.text(), "Progress Bar");
        EXPECT_EQ(h.pointer.pointer(), MousePointer::Default);
    }
};

TEST_F(ServerFaults, PostgresDownIsReportedWhereItIsOpened) {
    const QString t = mssqlTable();
    h.profiles.pg.port = closedPort();
    h.select(h.mssqlTables, {t});

    toPostgres();

    expectReportAt(QStringLiteral("PushButton3_Click at line 124"));
    expectProgressAtRest();
    EXPECT_EQ(h.mssqlTables.texts(), (std::vector<QString>{t}));
    EXPECT_FALSE(postgresTableExists(t));
}

TEST_F(ServerFaults, SqlServerDownIsReportedWhereItIsOpened) {
    const QString t = postgresTable();
    h.profiles.ms.port = closedPort();
    h.select(h.postgresTables, {t});

    toSqlServer();

    expectReportAt(QStringLiteral("PushButton4_Click at line"));
    expectProgressAtRest();
    EXPECT_EQ(h.postgresTables.texts(), (std::vector<QString>{t}));
}

TEST_F(ServerFaults, WrongPasswordsAreReportedInBothDirections) {
    const QString fromSqlServer = mssqlTable();
    h.profiles.pg.password = QStringLiteral("not-the-password");
    h.select(h.mssqlTables, {fromSqlServer});
    toPostgres();
    expectReportAt(QStringLiteral("PushButton3_Click at line 124"));
    EXPECT_FALSE(postgresTableExists(fromSqlServer));

    TransferHarness other;
    const QString fromPostgres = postgresTable();
    other.profiles.ms.password = QStringLiteral("not-the-password");
    other.select(other.postgresTables, {fromPostgres});
    sendTablesToSqlServer(other.context, YieldPolicy::everyCall());
    const auto reports = other.platform.errorReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_TRUE(reports[0].contains(QStringLiteral("PushButton4_Click")))
        << reports[0].toStdString();
    EXPECT_EQ(other.progressBar.text(), "Progress Bar");
}

// The two logins run at once, yet each failure is reported at its own open, in the
// order of the lines, with the server's own text.
TEST_F(ServerFaults, BothLoginsFailingAreReportedEachAtItsOwnLine) {
    const QString t = mssqlTable();
    h.profiles.pg.password = QStringLiteral("not-the-password");
    h.profiles.ms.password = QStringLiteral("not-the-password");
    h.select(h.mssqlTables, {t});

    toPostgres();

    const auto reports = h.platform.errorReports();
    ASSERT_GE(reports.size(), 2u);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("PushButton3_Click at line 124")))
        << reports[0].toStdString();
    EXPECT_TRUE(reports[0].contains(QStringLiteral("password"))) << reports[0].toStdString();
    EXPECT_TRUE(reports[1].contains(QStringLiteral("PushButton3_Click at line 136")))
        << reports[1].toStdString();
    EXPECT_TRUE(reports[1].contains(QStringLiteral("Login failed"))) << reports[1].toStdString();
    EXPECT_FALSE(postgresTableExists(t));
    expectProgressAtRest();
}

TEST_F(ServerFaults, SqlServerLoginFailingIsReportedAtItsOpen) {
    const QString t = postgresTable();
    h.profiles.ms.password = QStringLiteral("not-the-password");
    h.select(h.postgresTables, {t});

    toSqlServer();

    expectReportAt(QStringLiteral("PushButton4_Click at line 134"));
    const auto reports = h.platform.errorReports();
    EXPECT_TRUE(reports[0].contains(QStringLiteral("Login failed"))) << reports[0].toStdString();
    expectProgressAtRest();
}

TEST_F(ServerFaults, TableDroppedAfterListingIsReportedAndNothingIsCreated) {
    const QString t = mssqlTable();
    h.select(h.mssqlTables, {t});
    execMssql(QStringLiteral("DROP TABLE [%1]").arg(t));

    toPostgres();

    expectReportAt(QStringLiteral("PushButton3_Click at line 164"));
    EXPECT_FALSE(postgresTableExists(t));
    expectProgressAtRest();
}

TEST_F(ServerFaults, TableDroppedAfterListingOnPostgresIsReported) {
    const QString t = postgresTable();
    h.select(h.postgresTables, {t});
    execPostgres(QStringLiteral("DROP TABLE \"%1\"").arg(t));

    toSqlServer();

    ASSERT_FALSE(h.platform.errorReports().empty());
    EXPECT_FALSE(mssqlTableExists(t));
    expectProgressAtRest();
}

TEST_F(ServerFaults, StatementCancelledByTheServerIsReported) {
    // The program's own command time-out is long (and the driver applies it to every
    // statement), so the server cancels on a lock wait instead: a database of its own
    // whose statements wait 300 ms for a lock, and a source another session holds.
    const QString database = uniqueName(QStringLiteral("slow")).toLower();
    execPostgres(QStringLiteral("CREATE DATABASE \"%1\"").arg(database));
    execPostgres(QStringLiteral("ALTER DATABASE \"%1\" SET lock_timeout = '300ms'").arg(database));
    h.profiles.pg.database = database;
    db::Connection holder;
    holder.open(db::postgresConnectionString(h.profiles.pg));
    holder.execute(QStringLiteral("CREATE TABLE locked_source(n INT4)"));
    holder.execute(QStringLiteral("INSERT INTO locked_source VALUES(1)"));
    holder.execute(QStringLiteral("BEGIN"));
    holder.execute(QStringLiteral("LOCK TABLE locked_source IN ACCESS EXCLUSIVE MODE"));
    h.select(h.postgresTables, {QStringLiteral("locked_source")});

    toSqlServer();

    holder.close();
    const auto reports = h.platform.errorReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_TRUE(reports[0].contains(QStringLiteral("lock timeout"))) << reports[0].toStdString();
    expectProgressAtRest();
    execPostgres(QStringLiteral("DROP DATABASE \"%1\" WITH (FORCE)").arg(database));
}

}  // namespace
}  // namespace dorvane::testing
