// Rows counted in a snapshot and read while the caller works through them: the count,
// the rows and their order must be those of one moment, and the connection must come
// back to ordinary use however the reading ends.
#include <QDir>
#include <QFile>
#include <algorithm>
#include <vector>

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "db/odbc/recordset.h"
#include "db/values/db_error.h"
#include "server_fixture.h"
#include "sql/general_value_text.h"

namespace dorvane::testing {
namespace {

using db::DbError;

// More rows than one chunk and more bytes than the reading may queue, so the reading
// pauses while the test holds the recordset.
constexpr int kRows = 6000;
constexpr int kTextLength = 400;

QString textOf(int id) {
    return QStringLiteral("row %1 ").arg(id).leftJustified(kTextLength, u'x');
}

class ReadAheadTest : public DbServerTest {
  protected:
    void SetUp() override {
        DbServerTest::SetUp();
        if (IsSkipped()) return;
        if (!isPostgres())
            exec(QStringLiteral("ALTER DATABASE CURRENT SET ALLOW_SNAPSHOT_ISOLATION ON"));
        table_ = createTable(QStringLiteral("ahead"),
                             isPostgres() ? QStringLiteral("id INT, note TEXT")
                                          : QStringLiteral("id INT, note VARCHAR(MAX)"));
        fill(table_, 1, kRows);
    }

    // Rows `from` to `to`, every seventh note NULL.
    void fill(const QString& table, int from, int to) {
        db::Connection connection = connect();
        for (int id = from; id <= to; id += 500) {
            QString sql = QStringLiteral("INSERT INTO %1 VALUES ").arg(table);
            for (int i = id; i < id + 500 && i <= to; ++i) {
                if (i != id) sql += u',';
                sql += QStringLiteral("(%1, %2)")
                           .arg(i)
                           .arg(i % 7 == 0 ? QStringLiteral("NULL") : u'\'' + textOf(i) + u'\'');
            }
            connection.execute(sql);
        }
    }

    db::Connection readingConnection() {
        db::Connection connection = connect();
        connection.setReadAhead(true);
        connection.setRowMemoryBound(std::size_t{1} << 20);
        return connection;
    }

    // Reads every row, checking ids and notes in order; returns how many.
    static int readAll(db::Recordset& rows, int firstId = 1) {
        int id = firstId;
        for (; !rows.eof(); rows.moveNext(), ++id) {
            EXPECT_EQ(sql::valueText(rows.value(0)), QString::number(id));
            if (id % 7 == 0)
                EXPECT_TRUE(rows.value(1).isNull()) << id;
            else
                EXPECT_EQ(sql::valueText(rows.value(1)), textOf(id)) << id;
            if (::testing::Test::HasFailure()) break;
        }
        return id - firstId;
    }

    QString table_;
};

INSTANTIATE_TEST_SUITE_P(Servers, ReadAheadTest,
                         ::testing::Values(DbServer::Postgres, DbServer::Mssql), serverLabel);

// Rows in the table as another connection sees them.
std::int64_t rowsSeenElsewhere(db::Connection other, const QString& table) {
    db::Recordset rows;
    rows.open(QStringLiteral("SELECT COUNT(*) FROM ") + table, other);
    return sql::valueText(rows.value(0)).toLongLong();
}

TEST_P(ReadAheadTest, GivesEveryRowInOrderWithTheCountKnownFirst) {
    db::Connection connection = readingConnection();
    db::Recordset rows;
    rows.open(selectAll(table_), connection);
    EXPECT_EQ(rows.recordCount(), kRows);
    EXPECT_EQ(rows.fieldCount(), 2);
    EXPECT_EQ(readAll(rows), kRows);
    EXPECT_THROW(rows.moveNext(), db::DbError);
    rows.close();
    // Back to a transaction per statement: another connection sees the row at once.
    connection.execute(QStringLiteral("INSERT INTO %1 VALUES (0, NULL)").arg(table_));
    EXPECT_EQ(rowsSeenElsewhere(connect(), table_), kRows + 1);
}

TEST_P(ReadAheadTest, CountAndRowsAreOfOneMomentWhileOthersWrite) {
    db::Connection connection = readingConnection();
    db::Recordset rows;
    rows.open(selectAll(table_), connection);
    fill(table_, kRows + 1, kRows + 700);
    EXPECT_EQ(rows.recordCount(), kRows);
    EXPECT_EQ(readAll(rows), kRows);
    rows.close();
    EXPECT_EQ(rowsSeenElsewhere(connect(), table_), kRows + 700);
}

TEST_P(ReadAheadTest, AnotherStatementMeanwhileKeepsTheRowsAndIsNotHeldBack) {
    db::Connection connection = readingConnection();
    db::Recordset rows;
    rows.open(selectAll(table_), connection);
    for (int i = 0; i < 5; ++i) rows.moveNext();
    // The rest of the rows are read first; the statement is committed on its own.
    connection.execute(QStringLiteral("INSERT INTO %1 VALUES (-1, NULL)").arg(table_));
    EXPECT_EQ(rowsSeenElsewhere(connect(), table_), kRows + 1);
    EXPECT_EQ(readAll(rows, 6), kRows - 5);
}

TEST_P(ReadAheadTest, ASecondQueryOnTheConnectionLeavesTheFirstWhole) {
    db::Connection connection = readingConnection();
    db::Recordset first;
    first.open(selectAll(table_), connection);
    db::Recordset second;
    second.open(selectAll(table_), connection);
    EXPECT_EQ(readAll(second), kRows);
    EXPECT_EQ(readAll(first), kRows);
}

TEST_P(ReadAheadTest, ClosingEarlyOrClosingTheConnectionEndsTheReading) {
    {
        db::Connection connection = readingConnection();
        db::Recordset rows;
        rows.open(selectAll(table_), connection);
        rows.moveNext();
        rows.close();
        connection.execute(QStringLiteral("INSERT INTO %1 VALUES (%2, '%3')")
                               .arg(table_)
                               .arg(kRows + 1)
                               .arg(textOf(kRows + 1)));
        EXPECT_EQ(rowsSeenElsewhere(connect(), table_), kRows + 1);
    }
    db::Recordset kept;
    {
        db::Connection connection = readingConnection();
        kept.open(selectAll(table_), connection);
        connection.close();  // the rows stay readable, as a client cursor's do
    }
    EXPECT_EQ(readAll(kept), kRows + 1);
    if (isPostgres()) {
        // No transaction was left holding the table: changing it needs every lock.
        db::Connection other = connect();
        other.execute(QStringLiteral("SET lock_timeout = '5s'"));
        other.execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN extra INT").arg(table_));
    }
}

#if defined(__linux__)
// The niceness of each of this process's threads, from /proc.
std::vector<int> threadNiceness() {
    std::vector<int> found;
    for (const QString& task : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(task));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        const QByteArray line = stat.readAll();
        // After the name in parentheses: state is the third field, niceness the 19th.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 16) found.push_back(fields[16].toInt());
    }
    return found;
}

TEST_P(ReadAheadTest, TheReadingThreadGivesWayToTheCaller) {
    const int own = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    const std::vector<int> before = threadNiceness();
    const int usual = *std::max_element(before.begin(), before.end());
    if (usual >= 19) GTEST_SKIP() << "already at the lowest priority";
    db::Connection connection = readingConnection();
    db::Recordset rows;
    rows.open(selectAll(table_), connection);
    const std::vector<int> reading = threadNiceness();
    EXPECT_GT(*std::max_element(reading.begin(), reading.end()), usual);
    EXPECT_EQ(readAll(rows), kRows);
    EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())), own);
}
#endif

TEST_P(ReadAheadTest, WaitingForSlowRowsCallsBackMeanwhile) {
    if (!isPostgres()) GTEST_SKIP() << "needs a statement whose rows come slowly";
    db::Connection connection = readingConnection();
    int calls = 0;
    connection.setWhileWaiting([&] { ++calls; });
    db::Recordset rows;
    // The driver fetches 256 rows at a time; the next 40 come 10 ms apart.
    rows.open(QStringLiteral("SELECT g AS id FROM generate_series(1, 296) g "
                             "WHERE pg_sleep(CASE WHEN g > 256 THEN 0.01 ELSE 0 END) IS NOT NULL"),
              connection);
    int id = 1;
    for (; !rows.eof(); rows.moveNext(), ++id)
        EXPECT_EQ(sql::valueText(rows.value(0)), QString::number(id));
    EXPECT_EQ(id, 297);
    EXPECT_GE(calls, 10);
    rows.close();

    // Rows already there are handed over without calling back: a call a row would make
    // kRows calls; a loaded machine's reading thread can fall behind now and then.
    rows.open(selectAll(table_), connection);
    calls = 0;  // opening waits on the server
    EXPECT_EQ(readAll(rows), kRows);
    EXPECT_LT(calls, kRows / 10);
}

TEST_P(ReadAheadTest, EmptyTablesAndErrorsBehaveAsWithoutReadingAhead) {
    const QString empty = createTable(QStringLiteral("ahead_empty"), QStringLiteral("id INT"));
    db::Connection connection = readingConnection();
    db::Recordset rows;
    rows.open(selectAll(empty), connection);
    EXPECT_EQ(rows.recordCount(), 0);
    EXPECT_TRUE(rows.eof());
    rows.close();
    db::Recordset missing;
    try {
        missing.open(selectAll(QStringLiteral("no_such_table_here")), connection);
        ADD_FAILURE() << "a missing table opened";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("no_such_table_here"))) << e.what();
    }
    // The failed count left no transaction behind.
    connection.execute(QStringLiteral("INSERT INTO %1 VALUES (1)").arg(empty));
    EXPECT_EQ(rowsSeenElsewhere(connect(), empty), 1);
}

// PostgreSQL always keeps a snapshot; a SQL Server database only when allowed to.
class ReadAheadWithoutSnapshotsTest : public ReadAheadTest {};
INSTANTIATE_TEST_SUITE_P(Servers, ReadAheadWithoutSnapshotsTest, ::testing::Values(DbServer::Mssql),
                         serverLabel);

TEST_P(ReadAheadWithoutSnapshotsTest,
       TheRowsAreReadWholeAndStillExactTheRowsAreReadWholeAndStillExact) {
    exec(QStringLiteral("ALTER DATABASE CURRENT SET ALLOW_SNAPSHOT_ISOLATION OFF"));
    db::Connection connection = readingConnection();
    db::Recordset rows;
    rows.open(selectAll(table_), connection);
    exec(QStringLiteral("ALTER DATABASE CURRENT SET ALLOW_SNAPSHOT_ISOLATION ON"));
    fill(table_, kRows + 1, kRows + 10);
    EXPECT_EQ(rows.recordCount(), kRows);
    EXPECT_EQ(readAll(rows), kRows);
}

}  // namespace
}  // namespace dorvane::testing
