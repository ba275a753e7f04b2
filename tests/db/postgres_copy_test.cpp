// The libpq copy session against the test PostgreSQL: rows copied inside a transaction
// arrive as the row-by-row INSERT stores them, and a refused row undoes the whole
// transaction and is named.

#include <gtest/gtest.h>

#include <QString>
#include <thread>
#include <vector>

#include "db/bulk/postgres_copy.h"
#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"
#include "sql/copy_text.h"
#include "sql/general_value_text.h"
#include "sql/postgres_copy_statement.h"
#include "sql/postgres_statements.h"
#include "sql/sql_quoting.h"
#include "test_servers.h"

namespace dorvane::testing {
namespace {

using db::Value;

QString odbcString() {
    return db::postgresConnectionString(postgresProfile());
}

class PostgresCopyTest : public ::testing::Test {
  protected:
    // The session must log in with the profile's password, not the one the test script
    // leaves in the environment for psql.
    void SetUp() override {
        savedPassword_ = qgetenv("PGPASSWORD");
        qunsetenv("PGPASSWORD");
    }
    void TearDown() override {
        qputenv("PGPASSWORD", savedPassword_);
        for (const QString& t : tables_)
            execPostgres(QStringLiteral("DROP TABLE IF EXISTS ") + sql::doubleQuotedName(t));
    }
    QString table(const QString& stem) {
        tables_.push_back(uniqueName(stem));
        return tables_.back();
    }

  private:
    QByteArray savedPassword_;
    std::vector<QString> tables_;
};

// Every row of a table by its first column, each value as ODBC reads it.
std::vector<std::vector<Value>> rowsOf(const QString& table) {
    db::Connection c;
    c.open(odbcString());
    db::Recordset rs = c.query(QStringLiteral("SELECT * FROM ") + sql::doubleQuotedName(table) +
                               QStringLiteral(" ORDER BY 1"));
    std::vector<std::vector<Value>> rows;
    for (; !rs.eof(); rs.moveNext()) {
        std::vector<Value>& row = rows.emplace_back();
        for (int i = 0; i < rs.fieldCount(); ++i) row.push_back(rs.value(i));
    }
    return rows;
}

const QString kColumns = QStringLiteral(R"(("id" NUMERIC,"v" TEXT,"bytes" BYTEA,"ok" BOOL))");

TEST_F(PostgresCopyTest, CopiedRowsEqualInsertedRows) {
    QString longText;
    for (int i = 0; i < 300'000; ++i) longText += QStringLiteral("\\\t\n\r'") + QChar(0x4e2d);
    const std::vector<Value> texts{
        Value(),
        Value::text(QString()),
        Value::text(QStringLiteral("\\")),
        Value::text(QStringLiteral("\\N")),
        Value::text(QStringLiteral("\\.")),
        Value::text(QStringLiteral("a\tb\nc\rd\r\n")),
        Value::text(QStringLiteral("O'Brien ''; DROP TABLE x; --")),
        Value::text(QString::fromUtf8("é中😀𝄞")),
        Value::text(longText),
        Value::decimal(QStringLiteral("-12.3400")),
    };
    const std::vector<bool> unquoted{true};
    const QString copied = table(QStringLiteral("copy\"ed t"));
    const QString inserted = table(QStringLiteral("inserted"));
    execPostgres(QStringLiteral("CREATE TABLE ") + sql::doubleQuotedName(inserted) + kColumns);

    db::PostgresCopySession session(odbcString());
    session.begin();
    session.execute(QStringLiteral("CREATE TABLE ") + sql::doubleQuotedName(copied) + kColumns);
    session.startCopy(sql::to_postgres::copyStatement(copied), copied);
    const QString names[] = {QStringLiteral("id"), QStringLiteral("v"), QStringLiteral("bytes"),
                             QStringLiteral("ok")};
    db::Connection odbc;
    odbc.open(odbcString());
    QByteArray buffer;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::vector<Value> row{
            Value::integer(static_cast<std::int64_t>(i)), texts[i],
            Value::binary(i % 2 ? QByteArray("\0\\'\xff\n", 5) : QByteArray()),
            i % 3 ? Value::boolean(i % 2) : Value()};
        sql::RowValues values{row};
        sql::appendCopyRow(buffer, values, unquoted,
                           {copied, names, static_cast<std::int64_t>(i + 1)});
        // Bounded pieces, as a caller streams them.
        if (buffer.size() > 64 * 1024) {
            session.putRows(buffer);
            buffer.clear();
        }
        odbc.execute(sql::to_postgres::insertStatement(inserted, row, unquoted));
    }
    session.putRows(buffer);
    EXPECT_EQ(session.endCopy(), static_cast<std::int64_t>(texts.size()));
    session.commit();

    const auto copiedRows = rowsOf(copied);
    ASSERT_EQ(copiedRows.size(), texts.size());
    EXPECT_TRUE(copiedRows == rowsOf(inserted));
    // A text column reads every value back as text.
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(copiedRows[i][1],
                  texts[i].isNull() ? Value() : Value::text(sql::valueText(texts[i])))
            << i;
}

enum class Ending { Rollback, Commit, SessionEnds };

class FailedCopyTest : public PostgresCopyTest, public ::testing::WithParamInterface<Ending> {};

std::string endingName(const ::testing::TestParamInfo<Ending>& info) {
    constexpr const char* kNames[] = {"Rollback", "Commit", "SessionEnds"};
    return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Endings, FailedCopyTest,
                         ::testing::Values(Ending::Rollback, Ending::Commit, Ending::SessionEnds),
                         endingName);

TEST_P(FailedCopyTest, RefusedRowUndoesTheTransactionAndIsNamed) {
    const QString t = table(QStringLiteral("kept"));
    const QString quoted = sql::doubleQuotedName(t);
    execPostgres(QStringLiteral("CREATE TABLE ") + quoted + QStringLiteral("(old TEXT)"));
    execPostgres(QStringLiteral("INSERT INTO ") + quoted + QStringLiteral(" VALUES ('a'), ('b')"));
    {
        db::PostgresCopySession session(odbcString());
        session.begin();
        session.execute(QStringLiteral("DROP TABLE ") + quoted);
        session.execute(QStringLiteral("CREATE TABLE ") + quoted +
                        QStringLiteral(R"(("id" NUMERIC,"v" TEXT))"));
        session.startCopy(sql::to_postgres::copyStatement(t), t);
        // The third row's id is no number: quoted by the INSERT, refused by the column.
        const QString names[] = {QStringLiteral("id"), QStringLiteral("v")};
        QByteArray rows;
        for (int r = 1; r <= 4; ++r) {
            const std::vector<Value> row{
                Value::text(r == 3 ? QStringLiteral("three") : QString::number(r)),
                Value::text(QStringLiteral("x"))};
            sql::RowValues values{row};
            sql::appendCopyRow(rows, values, {true}, {t, names, r});
        }
        session.putRows(rows);
        try {
            session.endCopy();
            ADD_FAILURE() << "the copy was not refused";
        } catch (const db::PostgresCopyError& e) {
            EXPECT_EQ(e.row(), 3);
            EXPECT_TRUE(e.description().contains(QStringLiteral("three"))) << e.what();
            EXPECT_EQ(e.sqlState(), QStringLiteral("22P02"));  // invalid text representation
        }
        if (GetParam() == Ending::Rollback) session.rollback();
        if (GetParam() == Ending::Commit) {
            EXPECT_THROW(session.commit(), db::DbError);
        }
        EXPECT_EQ(session.inTransaction(), GetParam() == Ending::SessionEnds);
    }
    const auto rows = rowsOf(t);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], std::vector<Value>{Value::text(QStringLiteral("a"))});
}

TEST_F(PostgresCopyTest, CopyCancelledMidwayLeavesNothing) {
    const QString t = table(QStringLiteral("cancelled"));
    db::PostgresCopySession session(odbcString());
    session.begin();
    session.execute(QStringLiteral("CREATE TABLE ") + sql::doubleQuotedName(t) + kColumns);
    session.startCopy(sql::to_postgres::copyStatement(t), t);
    session.putRows("1\tx\t\\N\t\\N\n");
    session.rollback();
    EXPECT_FALSE(session.copying());
    // The session is ready for the next transaction.
    session.begin();
    session.execute(QStringLiteral("SELECT 1"));
    session.commit();
    EXPECT_FALSE(postgresTableExists(t));
}

// A call that waits on the server, here for a table another session holds, keeps its caller
// going: the while-waiting function runs on the caller's thread until the call is done, which
// it can only be once the other session lets the table go.
TEST_F(PostgresCopyTest, TheCallerTakesTurnsWhileACopyOrADropWaitsForAHeldTable) {
    const QString t = table(QStringLiteral("held"));
    const QString quoted = sql::doubleQuotedName(t);
    execPostgres(QStringLiteral("CREATE TABLE ") + quoted + QStringLiteral("(n INT)"));
    // A DROP not yet rolled back holds the table against a COPY and another DROP alike. Should
    // no turn ever let it go, the server ends the holder once it has sat idle a while.
    db::Connection holder;
    holder.open(odbcString());
    holder.execute(QStringLiteral("SET idle_in_transaction_session_timeout = '60s'"));
    constexpr int kTurns = 3;  // taken before the table is let go
    int turns = 0;
    bool held = false;
    const auto hold = [&] {
        holder.beginTransaction();
        holder.execute(QStringLiteral("DROP TABLE ") + quoted);
        held = true;
        turns = 0;
    };
    bool onCallersThread = true;
    const std::thread::id caller = std::this_thread::get_id();
    db::PostgresCopySession session(odbcString());
    session.setWhileWaiting([&] {
        onCallersThread = onCallersThread && std::this_thread::get_id() == caller;
        if (held && ++turns == kTurns) {
            held = false;
            holder.endTransaction(false);
        }
    });

    session.begin();
    hold();
    session.startCopy(sql::to_postgres::copyStatement(t), t);
    EXPECT_EQ(turns, kTurns);
    session.putRows("7\n");
    EXPECT_EQ(session.endCopy(), 1);
    session.commit();

    session.begin();
    hold();
    session.execute(QStringLiteral("DROP TABLE ") + quoted);
    EXPECT_EQ(turns, kTurns);
    session.commit();
    EXPECT_TRUE(onCallersThread);
    EXPECT_FALSE(postgresTableExists(t));
}

TEST_F(PostgresCopyTest, WrongPasswordIsReportedWithoutIt) {
    db::PostgresProfile profile = postgresProfile();
    profile.password = QStringLiteral("wrong 'pw' \\ x");
    try {
        db::PostgresCopySession session(db::postgresConnectionString(profile));
        ADD_FAILURE() << "opened with a wrong password";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("password authentication failed")))
            << e.what();
        EXPECT_FALSE(e.description().contains(profile.password));
    }
}

}  // namespace
}  // namespace dorvane::testing
