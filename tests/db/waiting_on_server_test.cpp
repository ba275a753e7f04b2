// A statement that waits on its server, here for a table another session holds, keeps its
// caller going: the connection's while-waiting function runs on the caller's thread until
// the statement is done, which it can only be once the other session lets the table go.
#include <thread>

#include "db/odbc/recordset.h"
#include "server_fixture.h"
#include "sql/general_value_text.h"

namespace dorvane::testing {
namespace {

using WaitingOnServer = DbServerTest;

INSTANTIATE_TEST_SUITE_P(Servers, WaitingOnServer,
                         ::testing::Values(DbServer::Postgres, DbServer::Mssql), serverLabel);

TEST_P(WaitingOnServer, TheCallerTakesTurnsWhileAReadOrADropWaitsForAHeldTable) {
    // Read ahead as a copy reads its source; on SQL Server that is inside a snapshot.
    if (!isPostgres())
        exec(QStringLiteral("ALTER DATABASE CURRENT SET ALLOW_SNAPSHOT_ISOLATION ON"));
    const QString table = createTable(QStringLiteral("held"), QStringLiteral("n INT"));
    exec(QStringLiteral("INSERT INTO %1 VALUES (7)").arg(table));

    // A DROP not yet rolled back holds the table against readers and other DROPs alike.
    db::Connection holder = connect();
    const auto hold = [&] {
        holder.beginTransaction();
        holder.execute(QStringLiteral("DROP TABLE ") + table);
    };
    constexpr int kTurns = 3;  // taken before the table is let go
    int turns = 0;
    bool onCallersThread = true;
    const std::thread::id caller = std::this_thread::get_id();
    db::Connection waiting = connect();
    waiting.setReadAhead(true);
    waiting.setWhileWaiting([&] {
        onCallersThread = onCallersThread && std::this_thread::get_id() == caller;
        if (++turns == kTurns) holder.endTransaction(false);
    });

    hold();
    db::Recordset rows = waiting.query(selectAll(table));
    EXPECT_GE(turns, kTurns);
    ASSERT_FALSE(rows.eof());
    EXPECT_EQ(sql::valueText(rows.value(0)), QStringLiteral("7"));
    rows.close();

    turns = 0;
    hold();
    waiting.execute(QStringLiteral("DROP TABLE ") + table);
    EXPECT_GE(turns, kTurns);
    EXPECT_TRUE(onCallersThread);
    exec(QStringLiteral("CREATE TABLE %1 (n INT)").arg(table));  // for the fixture to drop
}

// A turn that throws gives the wait up: the DROP is cancelled while the table is still held,
// the transaction it ran in stays open to be rolled back, and the connection goes on.
TEST_P(WaitingOnServer, ATurnThatThrowsCancelsADropWaitingForAHeldTable) {
    const QString table = createTable(QStringLiteral("held_cancel"), QStringLiteral("n INT"));
    exec(QStringLiteral("INSERT INTO %1 VALUES (7)").arg(table));
    db::Connection holder = connect();
    holder.beginTransaction();
    holder.execute(QStringLiteral("DROP TABLE ") + table);
    struct GaveUp {};
    constexpr int kTurns = 3;  // taken while the DROP waits, before it is given up
    int turns = 0;
    db::Connection waiting = connect();
    waiting.beginTransaction();
    // Set only now: on a busy machine the BEGIN may take turns of its own.
    waiting.setWhileWaiting([&] {
        if (++turns == kTurns) throw GaveUp{};
    });

    EXPECT_THROW(waiting.execute(QStringLiteral("DROP TABLE ") + table), GaveUp);
    EXPECT_EQ(turns, kTurns);
    waiting.endTransaction(false);

    holder.endTransaction(false);
    db::Recordset rows = waiting.query(selectAll(table));
    ASSERT_FALSE(rows.eof());
    EXPECT_EQ(sql::valueText(rows.value(0)), QStringLiteral("7"));
}

}  // namespace
}  // namespace dorvane::testing
