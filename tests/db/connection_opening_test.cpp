// A login begun on a thread of its own is taken by the open it was begun for: that open
// gives a working connection, or fails with the login's own text; any other open logs
// in afresh.
#include <gtest/gtest.h>

#include "db/odbc/connection.h"
#include "db/odbc/connection_opening.h"
#include "db/odbc/recordset.h"
#include "db/values/connection_strings.h"
#include "db/values/db_error.h"
#include "server_fixture.h"
#include "sql/general_value_text.h"
#include "test_servers.h"

namespace dorvane::testing {
namespace {

constexpr int kLoginSeconds = 30;

class DbConnectionOpening : public DbServerTest {
  protected:
    QString wrongPasswordString() const {
        if (isPostgres()) {
            db::PostgresProfile p = postgresProfile();
            p.password += QStringLiteral("-wrong");
            return db::postgresConnectionString(p);
        }
        db::MssqlProfile p = mssqlProfile();
        p.password += QStringLiteral("-wrong");
        return db::mssqlConnectionString(p);
    }
    static db::Connection closedConnection() {
        db::Connection c;
        c.setConnectionTimeout(kLoginSeconds);
        return c;
    }
    static QString openFailure(db::Connection& c, const QString& string,
                               db::ConnectionOpening* started) {
        try {
            c.open(string, started);
        } catch (const db::DbError& e) {
            return e.description();
        }
        return QStringLiteral("(opened)");
    }
};

INSTANTIATE_TEST_SUITE_P(Servers, DbConnectionOpening,
                         ::testing::Values(DbServer::Postgres, DbServer::Mssql), serverLabel);

TEST_P(DbConnectionOpening, TheOpenItWasBegunForTakesIt) {
    db::ConnectionOpening started(connectionString(), kLoginSeconds);
    db::Connection c = closedConnection();
    c.open(connectionString(), &started);
    EXPECT_EQ(c.state(), db::kStateOpen);
    EXPECT_FALSE(started.opens(connectionString(), kLoginSeconds));
    {
        ScratchTable table(c, QStringLiteral("opened_ahead"), QStringLiteral("n INT"));
        c.execute(QStringLiteral("INSERT INTO %1 VALUES (42)").arg(table.name()));
        db::Recordset rows = c.query(selectAll(table.name()));
        ASSERT_FALSE(rows.eof());
        EXPECT_EQ(sql::valueText(rows.value(0)), QStringLiteral("42"));
    }

    // Taken once: a second connection given the same opening logs in by itself.
    db::Connection second = closedConnection();
    second.open(connectionString(), &started);
    EXPECT_EQ(second.state(), db::kStateOpen);
}

TEST_P(DbConnectionOpening, AFailedLoginFailsTheOpenWithItsOwnText) {
    db::Connection direct = closedConnection();
    const QString expected = openFailure(direct, wrongPasswordString(), nullptr);
    ASSERT_NE(expected, QStringLiteral("(opened)"));

    db::ConnectionOpening started(wrongPasswordString(), kLoginSeconds);
    db::Connection c = closedConnection();
    EXPECT_EQ(openFailure(c, wrongPasswordString(), &started), expected);
    EXPECT_EQ(c.state(), db::kStateClosed);
}

TEST_P(DbConnectionOpening, AnotherLoginIsNotTaken) {
    // The other server's login: the two drivers' logins may run at once (see
    // startMssqlLogin), two of psqlODBC's are not.
    const QString otherString =
        connectionStringFor(isPostgres() ? DbServer::Mssql : DbServer::Postgres);
    db::ConnectionOpening other(otherString, kLoginSeconds);
    db::Connection c = closedConnection();
    c.open(connectionString(), &other);
    EXPECT_EQ(c.state(), db::kStateOpen);
    EXPECT_TRUE(other.opens(otherString, kLoginSeconds));
    // Nor is one begun with another time-out than the connection's.
    EXPECT_FALSE(other.opens(otherString, kLoginSeconds + 1));

    db::Connection d = closedConnection();
    d.open(otherString, &other);  // the one it was begun for
    EXPECT_EQ(d.state(), db::kStateOpen);
    EXPECT_FALSE(other.opens(otherString, kLoginSeconds));
}

}  // namespace
}  // namespace dorvane::testing
