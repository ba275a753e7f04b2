// A server that is down or refuses the login, a table gone between listing and copying,
// and a statement the server cancels: each is reported, nothing hangs, and the lists
// and the progress bar are left as a finished copy leaves them.

#include <gtest/gtest.h>

#include "copy_check.h"
#include "db/odbc/connection.h"
#include "directions.h"
#include "loopback_ports.h"
#include "private_standin.h"
#include "sql/sql_quoting.h"
#include "transfer/send_tables.h"
#include "transfer_harness.h"

namespace dorvane::testing {
namespace {

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

class ServerFaults : public ::testing::Test {
  protected:
    TransferHarness h;

    void toPostgres() { transfer::sendTablesToPostgres(h.context, core::YieldPolicy::everyCall()); }
    void toSqlServer() {
        transfer::sendTablesToSqlServer(h.context, core::YieldPolicy::everyCall());
    }

    void expectReportAt(const QString& where) {
        const auto reports = h.platform.errorReports();
        ASSERT_FALSE(reports.empty());
        EXPECT_TRUE(reports[0].contains(where)) << reports[0].toStdString();
    }
    void expectProgressAtRest() {
        EXPECT_EQ(h.progressBar.value(), 0);
        EXPECT_EQ(h.progressBar.text(), "Progress Bar");
        EXPECT_EQ(h.pointer.pointer(), core::MousePointer::Default);
    }
};

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

// What each direction's faults look like: the source table it copies, the target's details
// to spoil, and where the reports are labelled (empty: any report will do).
struct DirectionFaults {
    Direction d;
    QString (*sourceTable)();
    QString& (*targetPort)(EnvProfiles& profiles);
    QString& (*targetPassword)(EnvProfiles& profiles);
    const char* targetDownAt;
    const char* loginRefusedAt;
    const char* sourceDroppedAt;
};

void PrintTo(const DirectionFaults& faults, std::ostream* out) {
    *out << faults.d.name;
}

class EitherDirection : public ServerFaults, public ::testing::WithParamInterface<DirectionFaults> {
  protected:
    const Direction& d = GetParam().d;
};

TEST_P(EitherDirection, TargetDownIsReportedWhereItIsOpened) {
    const QString t = GetParam().sourceTable();
    GetParam().targetPort(h.profiles) = closedPort();
    h.select(h.*d.source.list, {t});

    d.send(h.context, core::YieldPolicy::everyCall());

    expectReportAt(QString::fromLatin1(GetParam().targetDownAt));
    expectProgressAtRest();
    EXPECT_EQ((h.*d.source.list).texts(), (std::vector<QString>{t}));
    EXPECT_FALSE(d.target.exists(t));
}

TEST_P(EitherDirection, WrongTargetPasswordIsReported) {
    const QString t = GetParam().sourceTable();
    GetParam().targetPassword(h.profiles) = QStringLiteral("not-the-password");
    h.select(h.*d.source.list, {t});

    d.send(h.context, core::YieldPolicy::everyCall());

    expectReportAt(QString::fromLatin1(GetParam().loginRefusedAt));
    EXPECT_FALSE(d.target.exists(t));
    EXPECT_EQ(h.progressBar.text(), "Progress Bar");
}

TEST_P(EitherDirection, SourceDroppedAfterListingIsReportedAndNothingIsCreated) {
    const QString t = GetParam().sourceTable();
    h.select(h.*d.source.list, {t});
    d.source.exec(QStringLiteral("DROP TABLE ") + d.source.quote(t));

    d.send(h.context, core::YieldPolicy::everyCall());

    expectReportAt(QString::fromLatin1(GetParam().sourceDroppedAt));
    EXPECT_FALSE(d.target.exists(t));
    expectProgressAtRest();
}

INSTANTIATE_TEST_SUITE_P(
    BothDirections, EitherDirection,
    ::testing::Values(
        DirectionFaults{kToPostgres, mssqlTable,
                        [](EnvProfiles& profiles) -> QString& { return profiles.pg.port; },
                        [](EnvProfiles& profiles) -> QString& { return profiles.pg.password; },
                        "PushButton3_Click at line 124", "PushButton3_Click at line 124",
                        "PushButton3_Click at line 164"},
        DirectionFaults{kToSqlServer, postgresTable,
                        [](EnvProfiles& profiles) -> QString& { return profiles.ms.port; },
                        [](EnvProfiles& profiles) -> QString& { return profiles.ms.password; },
                        "PushButton4_Click at line", "PushButton4_Click", ""}),
    [](const auto& info) { return std::string(info.param.d.name); });

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
