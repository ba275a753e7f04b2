// Explicit transactions, isolation levels and counting a query, as the program uses them to
// read a consistent table.
#include "odbc_client.h"

#include <gtest/gtest.h>

#include <ostream>
#include <utility>

using namespace standin_test;

namespace {

class StandinTransactions : public ::testing::Test {
  protected:
    void SetUp() override { conn = std::make_unique<Connection>(detailsFromEnvironment()); }

    static Diagnostic failure(Connection& c, const std::string& sql) {
        try {
            c.exec(sql);
        } catch (const OdbcError& e) {
            return e.first();
        }
        ADD_FAILURE() << "no error from: " << sql;
        return {};
    }
    Diagnostic failure(const std::string& sql) { return failure(*conn, sql); }

    std::string fresh(const std::string& stem) {
        std::string name = "[" + uniqueName(stem) + "]";
        conn->dropTableIfExists(name);
        return name;
    }

    static std::string countOf(Connection& c, const std::string& table) {
        auto rows = c.query("SELECT COUNT_BIG(*) FROM (SELECT * FROM " + table + ") AS [n]");
        return rows.size() == 1 && rows[0].size() == 1 ? rows[0][0].value_or("NULL") : "?";
    }

    std::unique_ptr<Connection> conn;
};

bool mentions(const Diagnostic& d, const std::string& text) {
    return d.message.find(text) != std::string::npos;
}

// Leaves the database as other tests expect it: snapshot isolation not allowed.
struct SnapshotSettingRestorer {
    Connection& conn;
    ~SnapshotSettingRestorer() {
        try {
            conn.exec("ALTER DATABASE CURRENT SET ALLOW_SNAPSHOT_ISOLATION OFF");
        } catch (const OdbcError& e) {
            ADD_FAILURE() << "snapshot isolation left allowed: " << e.what();
        }
    }
};

}  // namespace

TEST_F(StandinTransactions, CountOfAQueryIsOneUnnamedRowOfBigintOrInt) {
    std::string t = fresh("tx_count");
    conn->exec("CREATE TABLE " + t + "([a] INT)");
    EXPECT_EQ(countOf(*conn, "[dbo]." + t), "0");
    conn->exec("INSERT INTO " + t + " VALUES(1),(2),(3)");
    {
        Statement s(*conn);
        s.execute("SELECT COUNT_BIG(*) FROM (SELECT * FROM [dbo]." + t + ") AS [count]");
        auto columns = s.columns();
        ASSERT_EQ(columns.size(), 1u);
        EXPECT_EQ(columns[0].name, "");
        EXPECT_EQ(columns[0].sqlType, SQL_BIGINT);
        EXPECT_EQ(s.fetchAll(), (std::vector<Row>{{"3"}}));
    }
    {
        Statement s(*conn);
        s.execute("SELECT COUNT(*) FROM (SELECT TOP 2 * FROM " + t + ") c");
        EXPECT_EQ(s.columns().at(0).sqlType, SQL_INTEGER);
        EXPECT_EQ(s.fetchAll(), (std::vector<Row>{{"2"}}));
    }
    conn->exec("DROP TABLE " + t);
}

TEST_F(StandinTransactions, CountOfAMissingTableFailsAsItsSelectWould) {
    std::string missing = uniqueName("tx_missing");
    Diagnostic alone = failure("SELECT * FROM [dbo].[" + missing + "]");
    Diagnostic counted =
        failure("SELECT COUNT_BIG(*) FROM (SELECT * FROM [dbo].[" + missing + "]) AS [c]");
    EXPECT_EQ(counted.nativeError, 208);
    EXPECT_EQ(counted.sqlState, alone.sqlState);
    EXPECT_EQ(counted.message, alone.message);
}

TEST_F(StandinTransactions, CommitOrRollbackWithoutATransactionIsRefused) {
    Diagnostic d = failure("COMMIT");
    EXPECT_EQ(d.nativeError, 3902);
    EXPECT_TRUE(
        mentions(d, "The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."))
        << d.message;
    d = failure("ROLLBACK TRANSACTION;");
    EXPECT_EQ(d.nativeError, 3903);
    EXPECT_TRUE(
        mentions(d, "The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION."))
        << d.message;

    // Each BEGIN needs its own COMMIT; the one after that has nothing left.
    conn->exec("BEGIN TRAN");
    conn->exec("BEGIN TRANSACTION;");
    conn->exec("COMMIT TRAN");
    conn->exec("COMMIT TRANSACTION");
    EXPECT_EQ(failure("COMMIT").nativeError, 3902);
}

TEST_F(StandinTransactions, RollbackUndoesCreateTableAndInsertThroughAnInnerCommit) {
    std::string t = fresh("tx_undone");
    conn->exec("BEGIN TRANSACTION");
    conn->exec("CREATE TABLE " + t + "([a] INT)");
    conn->exec("BEGIN TRAN");
    conn->exec("INSERT INTO " + t + " VALUES(1)");
    conn->exec("COMMIT");
    EXPECT_EQ(countOf(*conn, t), "1");
    conn->exec("ROLLBACK");
    EXPECT_EQ(failure("SELECT * FROM " + t).nativeError, 208);
    // The declared name went with it: it can be taken again.
    conn->exec("CREATE TABLE " + t + "([b] INT)");
    conn->exec("DROP TABLE " + t);
}

TEST_F(StandinTransactions, AFailingStatementLeavesTheRestOfTheTransaction) {
    std::string t = fresh("tx_partial");
    conn->exec("BEGIN TRAN");
    conn->exec("CREATE TABLE " + t + "([a] INT)");
    conn->exec("INSERT INTO " + t + " VALUES(1)");
    EXPECT_EQ(failure("CREATE TABLE " + t + "([a] INT)").nativeError, 2714);
    EXPECT_EQ(failure("SELECT * FROM [" + uniqueName("tx_nowhere") + "]").nativeError, 208);
    conn->exec("INSERT INTO " + t + " VALUES(2)");
    conn->exec("COMMIT");

    Connection other(detailsFromEnvironment());
    EXPECT_EQ(other.query("SELECT * FROM " + t), (std::vector<Row>{{"1"}, {"2"}}));
    conn->exec("DROP TABLE " + t);
}

TEST_F(StandinTransactions, XactStateTellsWhetherTheTransactionCanStillCommit) {
    std::string t = fresh("tx_state");
    auto state = [&] { return conn->query("SELECT XACT_STATE()").at(0).at(0).value_or("NULL"); };
    EXPECT_EQ(state(), "0");
    conn->exec("BEGIN TRAN");
    conn->exec("CREATE TABLE " + t + "([a] INT)");
    EXPECT_EQ(state(), "1");
    EXPECT_EQ(failure("CREATE TABLE " + t + "([a] INT)").nativeError, 2714);
    EXPECT_EQ(state(), "1");  // only the statement was undone
    conn->exec("ROLLBACK");
    EXPECT_EQ(state(), "0");
}

// 1000 rows of 70 values: more than PostgreSQL takes in one command, still one statement.
TEST_F(StandinTransactions, AWideInsertOfAThousandRowsIsTakenWholeOrNotAtAll) {
    std::string t = fresh("tx_wide");
    std::string columns, row;
    for (int c = 0; c < 70; ++c) {
        columns += (c ? ", [c" : "[c") + std::to_string(c) + "] INT";
        row += c ? ", 7" : "(7";
    }
    row += ")";
    auto rows = [&](const std::string& last) {
        std::string values;
        for (int r = 0; r < 999; ++r) values += row + ",";
        return values + last;
    };
    std::string refused = row;
    refused.replace(refused.size() - 2, 1, "'x'");  // the last value of the last row
    conn->exec("CREATE TABLE " + t + "(" + columns + ")");
    conn->exec("INSERT INTO " + t + " VALUES" + rows(row));
    EXPECT_EQ(countOf(*conn, t), "1000");

    EXPECT_EQ(failure("INSERT INTO " + t + " VALUES" + rows(refused)).nativeError, 245);
    EXPECT_EQ(countOf(*conn, t), "1000");
    conn->exec("BEGIN TRAN");
    EXPECT_EQ(failure("INSERT INTO " + t + " VALUES" + rows(refused)).nativeError, 245);
    conn->exec("INSERT INTO " + t + " VALUES" + row);
    conn->exec("COMMIT");
    EXPECT_EQ(countOf(*conn, t), "1001");
    conn->exec("DROP TABLE " + t);
}

TEST_F(StandinTransactions, XactAbortRollsBackTheWholeTransactionOnAnError) {
    std::string t = fresh("tx_xact_abort");
    conn->exec("SET XACT_ABORT ON");
    conn->exec("BEGIN TRAN");
    conn->exec("CREATE TABLE " + t + "([a] INT NOT NULL)");
    conn->exec("INSERT INTO " + t + " VALUES(1)");
    EXPECT_EQ(failure("INSERT INTO " + t + " VALUES(NULL)").nativeError, 515);
    EXPECT_EQ(failure("ROLLBACK").nativeError, 3903);
    EXPECT_EQ(failure("SELECT * FROM " + t).nativeError, 208);
}

TEST_F(StandinTransactions, DisconnectRollsBackTheOpenTransaction) {
    std::string t = fresh("tx_left_open");
    {
        Connection leaving(detailsFromEnvironment());
        leaving.exec("BEGIN TRAN");
        leaving.exec("CREATE TABLE " + t + "([a] INT)");
        leaving.exec("INSERT INTO " + t + " VALUES(1)");
    }
    // Waits for the abandoned transaction to end; it must not have been committed.
    conn->exec("CREATE TABLE " + t + "([a] INT)");
    EXPECT_EQ(countOf(*conn, t), "0");
    conn->exec("DROP TABLE " + t);
}

TEST_F(StandinTransactions, EveryIsolationLevelRunsATransaction) {
    std::string t = fresh("tx_levels");
    conn->exec("CREATE TABLE " + t + "([a] INT)");
    for (const char* level :
         {"READ UNCOMMITTED", "READ COMMITTED", "REPEATABLE READ", "SERIALIZABLE"}) {
        SCOPED_TRACE(level);
        conn->exec(std::string("SET TRANSACTION ISOLATION LEVEL ") + level);
        conn->exec("BEGIN TRAN");
        conn->exec("INSERT INTO " + t + " VALUES(1)");
        EXPECT_NE(countOf(*conn, t), "0");
        conn->exec("COMMIT");
    }
    EXPECT_EQ(countOf(*conn, t), "4");
    conn->exec("DROP TABLE " + t);
}

// One test, since the setting belongs to the database that every test shares.
TEST_F(StandinTransactions, SnapshotIsolationFollowsTheDatabaseSetting) {
    std::string database = detailsFromEnvironment().database;
    std::string t = fresh("tx_snapshot");
    conn->exec("CREATE TABLE " + t + "([a] INT)");
    conn->exec("INSERT INTO " + t + " VALUES(1),(2),(3)");
    SnapshotSettingRestorer restorer{*conn};
    conn->exec("ALTER DATABASE CURRENT SET ALLOW_SNAPSHOT_ISOLATION OFF");

    Diagnostic d = failure("ALTER DATABASE [" + uniqueName("tx_no_such_db") +
                           "] SET ALLOW_SNAPSHOT_ISOLATION ON");
    EXPECT_EQ(d.nativeError, 911);
    EXPECT_TRUE(mentions(d, "Make sure that the name is entered correctly.")) << d.message;

    // Refused at the first read, and the transaction stays open until rolled back.
    Connection reader(detailsFromEnvironment());
    reader.exec("SET TRANSACTION ISOLATION LEVEL SNAPSHOT");
    reader.exec("BEGIN TRAN");
    d = failure(reader, "SELECT COUNT_BIG(*) FROM (SELECT * FROM " + t + ") AS [c]");
    EXPECT_EQ(d.nativeError, 3952);
    EXPECT_TRUE(mentions(d, "Snapshot isolation transaction failed accessing database '" +
                                database +
                                "' because snapshot isolation is not allowed in this database."))
        << d.message;
    EXPECT_EQ(failure(reader, "ALTER DATABASE CURRENT SET ALLOW_SNAPSHOT_ISOLATION ON").nativeError,
              226);
    reader.exec("ROLLBACK");
    EXPECT_EQ(failure(reader, "ROLLBACK").nativeError, 3903);

    // Allowed, the snapshot holds while another session adds rows.
    conn->exec("ALTER DATABASE [" + database + "] SET ALLOW_SNAPSHOT_ISOLATION ON");
    reader.exec("BEGIN TRAN");
    EXPECT_EQ(countOf(reader, t), "3");
    conn->exec("INSERT INTO " + t + " VALUES(4),(5)");
    EXPECT_EQ(countOf(*conn, t), "5");
    EXPECT_EQ(reader.query("SELECT * FROM " + t).size(), 3u);
    EXPECT_EQ(countOf(reader, t), "3");
    reader.exec("COMMIT");
    EXPECT_EQ(countOf(reader, t), "5");
    conn->exec("DROP TABLE " + t);
}

namespace {

// Replacing a table with autocommit off, as the program does before a copy: DROP and
// CREATE in one transaction that SQLEndTran commits or rolls back.
struct ReplacementCase {
    const char* name;
    bool failedDropFirst;  // a DROP of a missing table, rolled back before the real work
    std::string newColumns;
    long createError;  // 0 when CREATE succeeds
    SQLSMALLINT completion;
    std::string columnAfter;
    std::vector<Row> rowsAfter;
};

void PrintTo(const ReplacementCase& c, std::ostream* out) {
    *out << c.name;
}

class StandinAutocommit : public StandinTransactions,
                          public ::testing::WithParamInterface<ReplacementCase> {};

}  // namespace

TEST_P(StandinAutocommit, DropAndCreateEndTogetherAndAutocommitResumes) {
    const ReplacementCase& c = GetParam();
    std::string t = fresh("tx_replace");
    conn->exec("CREATE TABLE " + t + "([a] INT)");
    conn->exec("INSERT INTO " + t + " VALUES(1),(2)");

    conn->setAutocommit(false);
    if (c.failedDropFirst) {
        EXPECT_EQ(failure("DROP TABLE [" + uniqueName("tx_absent") + "]").nativeError, 3701);
        conn->endTransaction(SQL_ROLLBACK);
    }
    conn->exec("DROP TABLE " + t);
    std::string create = "CREATE TABLE " + t + c.newColumns + ";";
    if (c.createError) {
        EXPECT_EQ(failure(create).nativeError, c.createError);
    } else {
        conn->exec(create);
    }
    conn->endTransaction(c.completion);
    conn->setAutocommit(true);

    Connection other(detailsFromEnvironment());
    {
        Statement s(other);
        s.execute("SELECT * FROM " + t);
        ASSERT_EQ(s.columns().size(), 1u);
        EXPECT_EQ(s.columns()[0].name, c.columnAfter);
        EXPECT_EQ(s.fetchAll(), c.rowsAfter);
    }
    // Autocommit again: each statement is committed as it ends.
    conn->exec("INSERT INTO " + t + " VALUES('7')");
    EXPECT_EQ(countOf(other, t), std::to_string(c.rowsAfter.size() + 1));
    conn->exec("DROP TABLE " + t);
}

INSTANTIATE_TEST_SUITE_P(
    Replacements, StandinAutocommit,
    ::testing::Values(
        ReplacementCase{"Commit", false, "([b] NVARCHAR(10))", 0, SQL_COMMIT, "b", {}},
        ReplacementCase{"RollbackAfterFailedCreate",
                        false,
                        "([b] INT, [B] INT)",
                        2705,
                        SQL_ROLLBACK,
                        "a",
                        {{"1"}, {"2"}}},
        ReplacementCase{
            "CommitAfterFailedDropRolledBack", true, "([b] NVARCHAR(10))", 0, SQL_COMMIT, "b", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A T-SQL COMMIT ends the driver's transaction behind its back; SQLEndTran then finds none.
TEST_F(StandinTransactions, EndingATransactionThatIsGoneIsRefused) {
    for (auto [completion, number] :
         {std::pair<SQLSMALLINT, long>{SQL_COMMIT, 3902}, {SQL_ROLLBACK, 3903}}) {
        SCOPED_TRACE(number);
        Connection c(detailsFromEnvironment());
        c.setAutocommit(false);
        c.exec("COMMIT");
        try {
            c.endTransaction(completion);
            ADD_FAILURE() << "SQLEndTran ended a transaction that was gone";
        } catch (const OdbcError& e) {
            EXPECT_EQ(e.first().nativeError, number) << e.what();
        }
    }
}
