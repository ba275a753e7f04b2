// Values, long values, errors and the row count, the same on both servers.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "db/odbc/ado_types.h"
#include "db/odbc/recordset.h"
#include "db/odbc/row_buffer.h"
#include "db/values/db_error.h"
#include "server_fixture.h"
#include "sql/general_value_text.h"

namespace dorvane::testing {
namespace {

using db::DbError;
using db::Value;

// Points the process's temporary folder elsewhere for one test.
class TempDirOverride {
  public:
    explicit TempDirOverride(const QString& path)
        : had_(qEnvironmentVariableIsSet("TMPDIR")), saved_(qgetenv("TMPDIR")) {
        qputenv("TMPDIR", path.toLocal8Bit());
    }
    ~TempDirOverride() {
        if (had_)
            qputenv("TMPDIR", saved_);
        else
            qunsetenv("TMPDIR");
    }

  private:
    bool had_;
    QByteArray saved_;
};

INSTANTIATE_TEST_SUITE_P(Servers, DbServerTest,
                         ::testing::Values(DbServer::Postgres, DbServer::Mssql), serverLabel);

// Files this process holds open in the folder, named or not (unnamed ones show as
// "<folder>/#inode (deleted)").
int openFilesUnder(const QString& folder) {
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (QFile::symLinkTarget(fds.filePath(fd)).startsWith(folder + u'/')) ++count;
    }
    return count;
}

TEST_P(DbServerTest, NullStaysApartFromEmptyText) {
    const QString t =
        createTable(QStringLiteral("nulls"), QStringLiteral("id int, t ") + longTextType());
    exec(QStringLiteral("INSERT INTO %1 VALUES (1, NULL), (2, '')").arg(t));
    db::Connection c = connect();
    db::Recordset rs = c.query(selectAll(t));
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_TRUE(rs.value(1).isNull());
    rs.moveNext();
    EXPECT_EQ(rs.value(1), db::Value::text(QString()));
}

TEST_P(DbServerTest, LongTextComesBackWhole) {
    // 18 UTF-16 units with a surrogate pair, so pieces of any even size split it somewhere.
    const QString chunk = QStringLiteral("αβγ中文😀0123456789-");
    const int repeats = 10 * 1024 * 1024 / chunk.size();
    const QString t =
        createTable(QStringLiteral("longtext"), QStringLiteral("t ") + longTextType());
    exec(QStringLiteral("INSERT INTO %1 VALUES (%2)")
             .arg(t, unicodeLiteral(chunk.repeated(repeats))));
    db::Connection c = connect();
    db::Recordset rs = c.query(selectAll(t));
    ASSERT_FALSE(rs.eof());
    const QString got = rs.value(0).asString();
    ASSERT_EQ(got.size(), chunk.size() * repeats);
    EXPECT_TRUE(got == chunk.repeated(repeats));
}

TEST_P(DbServerTest, LongBinaryComesBackWhole) {
    QByteArray bytes(1024 * 1024 + 7, '\0');
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7919LL) % 251);
    const QString t =
        createTable(QStringLiteral("longbin"), QStringLiteral("b ") + longBinaryType());
    exec(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(t, binaryLiteral(bytes)));
    db::Connection c = connect();
    db::Recordset rs = c.query(selectAll(t));
    ASSERT_FALSE(rs.eof());
    ASSERT_EQ(rs.value(0).kind(), db::Value::Kind::Binary);
    EXPECT_EQ(rs.value(0).asBinary().size(), bytes.size());
    EXPECT_TRUE(rs.value(0).asBinary() == bytes);
}

TEST_P(DbServerTest, UnicodeTextComesBackIntact) {
    const QString text = QStringLiteral("Ελληνικά · 中文字符 · 😀🎉𝄞 · ñ «»");
    const QString t =
        createTable(QStringLiteral("unicode"),
                    QStringLiteral("t ") + (isPostgres() ? QStringLiteral("varchar(60)")
                                                         : QStringLiteral("nvarchar(60)")));
    exec(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(t, unicodeLiteral(text)));
    db::Connection c = connect();
    db::Recordset rs = c.query(selectAll(t));
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.value(QStringLiteral("T")), db::Value::text(text));
}

TEST_P(DbServerTest, RecordCountIsExactBeforeTheFirstRow) {
    constexpr int kRows = 250;
    const QString t = createTable(QStringLiteral("counted"), QStringLiteral("id int"));
    QStringList values;
    for (int i = 1; i <= kRows; ++i) values << QStringLiteral("(%1)").arg(i);
    exec(QStringLiteral("INSERT INTO %1 VALUES %2").arg(t, values.join(u',')));
    db::Connection c = connect();
    db::Recordset rs;
    rs.open(selectAll(t), c, db::kOpenStatic, db::kLockOptimistic);
    ASSERT_EQ(rs.recordCount(), kRows);
    std::int64_t sum = 0;
    for (int i = 0; i < kRows; ++i) {
        sum += rs.value(QStringLiteral("ID")).asInteger();
        rs.moveNext();
    }
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(sum, kRows * (kRows + 1) / 2);
    EXPECT_THROW(rs.value(0), db::DbError);
    EXPECT_THROW(rs.moveNext(), db::DbError);
    EXPECT_EQ(rs.recordCount(), kRows);
}

TEST_P(DbServerTest, RejectedStatementThrowsTheServersText) {
    db::Connection c = connect();
    try {
        c.execute(QStringLiteral("SELECT * FROM dorvane_no_such_table"));
        FAIL() << "no error";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.sqlState(), isPostgres() ? QStringLiteral("42P01") : QStringLiteral("42S02"));
        EXPECT_TRUE(e.description().contains(QStringLiteral("dorvane_no_such_table"))) << e.what();
    }
    EXPECT_EQ(c.state(), db::kStateOpen);
}

TEST_P(DbServerTest, ErrorInALaterResultSurfaces) {
    db::Connection c = connect();
    const QString t = createTable(QStringLiteral("first"), QStringLiteral("id int"));
    const QString batch = selectAll(t) + QStringLiteral("; SELECT * FROM dorvane_no_such_table");
    EXPECT_THROW(c.execute(batch), db::DbError);
    EXPECT_THROW(c.query(batch), db::DbError);
}

TEST_P(DbServerTest, CommandTimeOutStopsALongStatement) {
    db::Connection c = connect();
    c.setCommandTimeout(1);
    QElapsedTimer timer;
    timer.start();
    EXPECT_THROW(c.execute(isPostgres() ? QStringLiteral("SELECT pg_sleep(20)")
                                        : QStringLiteral("WAITFOR DELAY '00:00:20'")),
                 db::DbError);
    EXPECT_LT(timer.elapsed(), 10000);
}

TEST_P(DbServerTest, SpilledRowsReadBackAndTheirFileGoesOnClose) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const TempDirOverride useTmp(tmp.path());
    const QString t =
        createTable(QStringLiteral("spill"), QStringLiteral("id int, t ") + longTextType());
    QStringList values;
    for (int i = 0; i < 300; ++i)
        values << QStringLiteral("(%1, '%2')").arg(i).arg(QString(i, u'x'));
    exec(QStringLiteral("INSERT INTO %1 VALUES %2").arg(t, values.join(u',')));
    db::Connection c = connect();
    c.setRowMemoryBound(1024);
    db::Recordset rs = c.query(selectAll(t));
    EXPECT_EQ(openFilesUnder(tmp.path()), 1);
    int row = 0;
    for (; !rs.eof(); rs.moveNext(), ++row) {
        ASSERT_EQ(rs.value(0), db::Value::integer(row));
        ASSERT_EQ(rs.value(1), db::Value::text(QString(row, u'x')));
    }
    EXPECT_EQ(row, 300);
    rs.close();
    EXPECT_EQ(openFilesUnder(tmp.path()), 0);
    EXPECT_TRUE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// Dates and timestamps only PostgreSQL holds, read for what they are on every path a row
// takes (read whole, spilled to the temporary file, read ahead), and written back in a
// text PostgreSQL reads as the same value.
TEST(DbPostgresDates, OutOfTheOrdinaryValuesReadBackAsTheyAre) {
    using P = db::DateTimeParts;
    struct Case {
        const char* literal;
        P date, timestamp;
        const char* dateText;
        const char* timestampText;
    };
    const P inf = P::infinite(1), minusInf = P::infinite(-1);
    const Case cases[] = {
        {"infinity", inf, inf, "infinity", "infinity"},
        {"-infinity", minusInf, minusInf, "-infinity", "-infinity"},
        {"2000-01-01 12:34:56.789 BC",
         {-1999, 1, 1},
         {-1999, 1, 1, 12, 34, 56, 789000000},
         "2000-01-01 BC",
         "2000-01-01 12:34:56.789000 BC"},
        {"0001-12-31 23:59:59.999999 BC",
         {0, 12, 31},
         {0, 12, 31, 23, 59, 59, 999999000},
         "0001-12-31 BC",
         "0001-12-31 23:59:59.999999 BC"},
        {"19990-07-04 01:02:03",
         {19990, 7, 4},
         {19990, 7, 4, 1, 2, 3},
         "19990-07-04",
         "19990-07-04 01:02:03"},
        {"12000-01-01", {12000, 1, 1}, {12000, 1, 1}, "12000-01-01", "12000-01-01 00:00:00"},
        {"2024-02-29 13:14:15.000001",
         {2024, 2, 29},
         {2024, 2, 29, 13, 14, 15, 1000},
         "2024-02-29",
         "2024-02-29 13:14:15.000001"},
    };
    const DbServer pg = DbServer::Postgres;
    db::Connection c;
    c.open(connectionStringFor(pg));
    const ScratchTable t(c, QStringLiteral("hostile_dates"),
                         QStringLiteral("id int, d date, ts timestamp, tz timestamptz"));
    QStringList rows;
    for (int i = 0; i < std::ssize(cases); ++i)
        rows
            << QStringLiteral("(%1, '%2', '%2', '%2')").arg(i).arg(QLatin1String(cases[i].literal));
    c.execute(QStringLiteral("SET TimeZone = 'UTC'; INSERT INTO %1 VALUES %2")
                  .arg(t.name(), rows.join(u',')));

    for (const bool ahead : {false, true}) {
        for (const std::size_t bound : {db::kDefaultRowMemoryBound, std::size_t{16}}) {
            SCOPED_TRACE(::testing::Message() << "ahead " << ahead << ", bound " << bound);
            c.setReadAhead(ahead);
            c.setRowMemoryBound(bound);
            db::Recordset rs = c.query(selectAllSql(pg, t.name()));
            ASSERT_EQ(rs.recordCount(), std::ssize(cases));
            EXPECT_EQ(rs.field(1).adoType, db::ado::kDBDate);
            EXPECT_EQ(rs.field(3).adoType, db::ado::kDBTimeStamp);
            EXPECT_EQ(rs.field(3).typeName, QStringLiteral("timestamptz"));
            for (const Case& k : cases) {
                SCOPED_TRACE(k.literal);
                ASSERT_FALSE(rs.eof());
                EXPECT_EQ(rs.value(1), db::Value::date(k.date));
                EXPECT_EQ(rs.value(2), db::Value::timestamp(k.timestamp));
                EXPECT_EQ(rs.value(3), db::Value::timestamp(k.timestamp));
                EXPECT_EQ(sql::valueText(rs.value(1)), QLatin1String(k.dateText));
                EXPECT_EQ(sql::valueText(rs.value(2)), QLatin1String(k.timestampText));
                rs.moveNext();
            }
        }
    }
    // Each text names the value it came from.
    for (int i = 0; i < std::ssize(cases); ++i) {
        db::Recordset same = c.query(
            QStringLiteral("SELECT count(*) FROM %1 WHERE id = %2 AND d = '%3' AND ts = '%4' "
                           "AND tz = '%4'")
                .arg(t.name())
                .arg(i)
                .arg(QLatin1String(cases[i].dateText), QLatin1String(cases[i].timestampText)));
        EXPECT_EQ(same.value(0), db::Value::integer(1)) << cases[i].literal;
    }
}

}  // namespace
}  // namespace dorvane::testing
