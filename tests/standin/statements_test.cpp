// The T-SQL statements the program sends, and SQL Server's errors for them.
#include "odbc_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>

using namespace standin_test;

namespace {

class StandinStatements : public ::testing::Test {
  protected:
    void SetUp() override { conn = std::make_unique<Connection>(detailsFromEnvironment()); }

    // Runs sql expecting a failure; returns the first diagnostic.
    Diagnostic failure(const std::string& sql) {
        try {
            conn->exec(sql);
        } catch (const OdbcError& e) {
            return e.first();
        }
        ADD_FAILURE() << "no error from: " << sql;
        return {};
    }

    std::string fresh(const std::string& stem) {
        std::string name = "[" + uniqueName(stem) + "]";
        conn->dropTableIfExists(name);
        return name;
    }

    std::unique_ptr<Connection> conn;
};

}  // namespace

TEST_F(StandinStatements, CreateInsertSelectAndDropAcceptTheProgramsSpellings) {
    std::string t = fresh("st_basic");
    conn->exec("CREATE TABLE " + t + "(\"id\" INT,\"name\" VARCHAR(5));");
    conn->exec("INSERT INTO " + t + " VALUES('1', N'one')");
    conn->exec("INSERT INTO " + t + " VALUES('2', 'two');");
    conn->exec("INSERT INTO " + t + " VALUES(NULL, NULL)");
    std::string bare = t.substr(1, t.size() - 2);
    auto rows = conn->query("SELECT * FROM " + bare);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Row{"1", "one"}));
    EXPECT_EQ(rows[1], (Row{"2", "two"}));
    EXPECT_EQ(rows[2], (Row{std::nullopt, std::nullopt}));
    EXPECT_EQ(conn->query("SELECT * FROM \"" + bare + "\"").size(), 3u);
    EXPECT_EQ(conn->query("SELECT top 2 * FROM " + t).size(), 2u);
    conn->exec("DROP TABLE " + t + ";");
    EXPECT_EQ(failure("SELECT * FROM " + t).nativeError, 208);
}

TEST_F(StandinStatements, RowCountsFollowSqlServer) {
    std::string t = fresh("st_counts");
    Statement create(*conn);
    create.execute("CREATE TABLE " + t + "([a] INT)");
    EXPECT_EQ(create.rowCount(), -1);
    Statement insert(*conn);
    insert.execute("INSERT INTO " + t + " VALUES('7')");
    EXPECT_EQ(insert.rowCount(), 1);
    conn->exec("DROP TABLE " + t);
}

TEST_F(StandinStatements, IdentifiersCompareCaseInsensitivelyAndKeepTheirSpelling) {
    std::string name = uniqueName("St_MiXed");
    conn->dropTableIfExists("[" + name + "]");
    conn->exec("CREATE TABLE [" + name + "]([Col] INT)");
    std::string lower = name;
    for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    conn->exec("INSERT INTO [" + lower + "] VALUES('5')");
    {
        Statement s(*conn);
        s.execute("SELECT * FROM [" + lower + "]");
        EXPECT_EQ(s.columns().at(0).name, "Col");
    }
    Diagnostic d = failure("CREATE TABLE [" + lower + "]([x] INT)");
    EXPECT_EQ(d.nativeError, 2714);
    EXPECT_EQ(d.sqlState, "42S01");
    EXPECT_NE(d.message.find("There is already an object named '" + lower + "' in the database."),
              std::string::npos)
        << d.message;
    conn->exec("DROP TABLE [" + lower + "]");
}

TEST_F(StandinStatements, TableNamesMayHoldAnyCharacter) {
    std::string odd = uniqueName("we\"ird]] na'me; ünï ωμέγα 表");
    std::string bracketed = "[" + odd + "]";
    conn->dropTableIfExists(bracketed);
    conn->exec("CREATE TABLE " + bracketed + "([v] NVARCHAR(10))");
    conn->exec("INSERT INTO " + bracketed + " VALUES(N'x')");
    EXPECT_EQ(conn->query("SELECT * FROM " + bracketed).size(), 1u);
    conn->exec("DROP TABLE " + bracketed);

    std::string longName(128 - 0, 'L');
    conn->dropTableIfExists("[" + longName + "]");
    conn->exec("CREATE TABLE [" + longName + "]([v] INT)");
    conn->exec("DROP TABLE [" + longName + "]");
    EXPECT_EQ(failure("CREATE TABLE [" + longName + "L]([v] INT)").nativeError, 103);
}

TEST_F(StandinStatements, DoubleQuotedIdentifiersDoubleTheirQuote) {
    std::string name = uniqueName("dq\"name");
    std::string quoted = "\"" + name.substr(0, 2) + "\"\"" + name.substr(3) + "\"";
    conn->dropTableIfExists("[" + name + "]");
    conn->exec("CREATE TABLE " + quoted + "(\"a\"\"b\" INT)");
    {
        Statement s(*conn);
        s.execute("SELECT * FROM [" + name + "]");
        EXPECT_EQ(s.columns().at(0).name, "a\"b");
    }
    conn->exec("DROP TABLE [" + name + "]");
}

TEST_F(StandinStatements, RenameCautionsAndMovesTheTable) {
    std::string from = uniqueName("st_from"), to = uniqueName("st_to");
    conn->dropTableIfExists("[" + from + "]");
    conn->dropTableIfExists("[" + to + "]");
    conn->exec("CREATE TABLE [" + from + "]([a] INT)");
    auto info = conn->exec("sp_rename '" + from + "', '" + to + "'");
    bool caution = false;
    for (const auto& d : info) {
        caution |= d.nativeError == 15477 &&
                   d.message.find(
                       "Caution: Changing any part of an object name could break scripts and "
                       "stored procedures.") != std::string::npos;
    }
    EXPECT_TRUE(caution);
    EXPECT_EQ(conn->query("SELECT * FROM [" + to + "]").size(), 0u);
    EXPECT_EQ(failure("SELECT * FROM [" + from + "]").nativeError, 208);
    conn->exec("DROP TABLE [" + to + "]");
}

TEST_F(StandinStatements, ErrorsCarrySqlServerNumbersAndTexts) {
    std::string missing = uniqueName("st_missing");
    Diagnostic d = failure("SELECT * FROM [" + missing + "]");
    EXPECT_EQ(d.nativeError, 208);
    EXPECT_EQ(d.sqlState, "42S02");
    EXPECT_NE(d.message.find("Invalid object name '" + missing + "'."), std::string::npos)
        << d.message;

    d = failure("DROP TABLE [" + missing + "]");
    EXPECT_EQ(d.nativeError, 3701);
    EXPECT_EQ(d.sqlState, "42S02");
    EXPECT_NE(d.message.find("Cannot drop the table '" + missing +
                             "', because it does not exist or you do not have permission."),
              std::string::npos)
        << d.message;

    d = failure("CREATE TABLE [" + missing + "]([a] INT,[b] OLEOBJECT)");
    EXPECT_EQ(d.nativeError, 2715);
    EXPECT_EQ(d.sqlState, "42000");
    EXPECT_NE(d.message.find("Column, parameter, or variable #2: Cannot find data type OLEOBJECT."),
              std::string::npos)
        << d.message;
    EXPECT_EQ(failure("CREATE TABLE [" + missing + "]([a] MEMO)").nativeError, 2715);

    d = failure("SELEKT 1");
    EXPECT_EQ(d.nativeError, 102);
    EXPECT_EQ(d.sqlState, "42000");
    EXPECT_NE(d.message.find("Incorrect syntax near"), std::string::npos) << d.message;
}

TEST_F(StandinStatements, TablesAndViewsAreListedBySqlTables) {
    std::string table = uniqueName("st_listed") + "_t", view = uniqueName("st_listed") + "_v";
    try {
        conn->exec("DROP VIEW [" + view + "]");
    } catch (const OdbcError&) {
    }
    conn->dropTableIfExists("[" + table + "]");
    conn->exec("CREATE TABLE [" + table + "]([a] INT)");
    conn->exec("CREATE VIEW [" + view + "] AS SELECT * FROM [" + table + "]");

    Statement s(*conn);
    std::u16string pattern = utf8ToUtf16(uniqueName("st_listed") + "%");
    ASSERT_TRUE(SQL_SUCCEEDED(SQLTablesW(s.handle(), nullptr, 0, nullptr, 0,
                                         reinterpret_cast<SQLWCHAR*>(pattern.data()),
                                         static_cast<SQLSMALLINT>(pattern.size()), nullptr, 0)));
    std::map<std::string, std::string> types;
    for (const auto& row : s.fetchAll()) types[row.at(2).value_or("")] = row.at(3).value_or("");
    EXPECT_EQ(types[table], "TABLE");
    EXPECT_EQ(types[view], "VIEW");

    conn->exec("DROP VIEW [" + view + "]");
    conn->exec("DROP TABLE [" + table + "]");
}

TEST_F(StandinStatements, WaitForDelayPausesAndReturnsNothing) {
    Statement s(*conn);
    auto start = std::chrono::steady_clock::now();
    s.execute("WAITFOR DELAY '00:00:00.200'");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_TRUE(s.columns().empty());
    EXPECT_EQ(s.rowCount(), -1);
}

TEST_F(StandinStatements, QueryTimeoutCancelsAWaitAndTheConnectionGoesOn) {
    auto start = std::chrono::steady_clock::now();
    {
        Statement s(*conn, 1);
        try {
            s.execute("WAITFOR DELAY '00:00:30'");
            ADD_FAILURE() << "the wait was not cancelled";
        } catch (const OdbcError& e) {
            EXPECT_EQ(e.first().sqlState, "HYT00") << e.first().message;
        }
    }
    // Far below the 30 s wait, far above a cancel on a busy machine.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));

    std::string t = fresh("st_after_wait");
    conn->exec("CREATE TABLE " + t + "([a] INT)");
    conn->exec("INSERT INTO " + t + " VALUES(1)");
    auto rows = conn->query("SELECT * FROM " + t);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (Row{"1"}));
    conn->exec("DROP TABLE " + t);
}

TEST_F(StandinStatements, MalformedWaitForDelayIsRefused) {
    auto start = std::chrono::steady_clock::now();
    Diagnostic d = failure("WAITFOR DELAY 'half a second'");
    EXPECT_EQ(d.nativeError, 148);
    EXPECT_NE(
        d.message.find("Incorrect time syntax in time string 'half a second' used with WAITFOR."),
        std::string::npos)
        << d.message;
    d = failure("WAITFOR DELAY '24:00:00'");
    EXPECT_EQ(d.nativeError, 148);
    // Refused at once: a wait of 24 hours would show; a busy machine would not.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

// The program learns the code page of VARCHAR data from the database's collation.
TEST_F(StandinStatements, TheDatabaseCodePageIsOneUnnamedIntAndItsFunctionsNeedConvert) {
    const std::string collation = "DATABASEPROPERTYEX(DB_NAME(), 'Collation')";
    {
        Statement s(*conn);
        s.execute("SELECT CONVERT(int, COLLATIONPROPERTY(CONVERT(nvarchar(128), " + collation +
                  "), 'CodePage'))");
        auto columns = s.columns();
        ASSERT_EQ(columns.size(), 1u);
        EXPECT_EQ(columns[0].name, "");
        EXPECT_EQ(columns[0].sqlType, SQL_INTEGER);
        EXPECT_EQ(s.fetchAll(), (std::vector<Row>{{"1252"}}));
    }
    // Both property functions return sql_variant, which is no name without CONVERT.
    EXPECT_EQ(failure("SELECT CONVERT(int, COLLATIONPROPERTY(" + collation + ", 'CodePage'))")
                  .nativeError,
              257);
}

// Keys share the tables' namespace but are not tables: they are not listed, a second
// table's keys do not clash with the first's, and their tables rename and drop.
TEST_F(StandinStatements, TablesWithKeysAreListedRenamedAndDroppedAlone) {
    const std::string stem = uniqueName("st_keyed");
    const std::string first = stem + "_1", second = stem + "_2", renamed = stem + "_r";
    const std::string key = stem + "_pk";
    for (const auto& t : {first, second, renamed, stem + "_3"}) {
        conn->dropTableIfExists("[" + t + "]");
    }
    conn->exec("CREATE TABLE [" + first + "]([a] INT NOT NULL,[b] INT UNIQUE,CONSTRAINT [" + key +
               "] PRIMARY KEY ([a]))");
    conn->exec("CREATE TABLE [" + second +
               "]([a] INT PRIMARY KEY,[b] NVARCHAR(10) UNIQUE NONCLUSTERED)");
    // Keys compare as the case-insensitive collation does, trailing spaces aside.
    conn->exec("INSERT INTO [" + second + "] VALUES(1, N'Ab')");
    EXPECT_EQ(failure("INSERT INTO [" + second + "] VALUES(2, N'aB  ')").nativeError, 2627);
    conn->exec("INSERT INTO [" + second + "] VALUES(3, N'Abc')");
    Diagnostic d =
        failure("CREATE TABLE [" + stem + "_3]([a] INT CONSTRAINT [" + key + "] PRIMARY KEY)");
    EXPECT_EQ(d.nativeError, 2714);
    EXPECT_NE(d.message.find("There is already an object named '" + key + "' in the database."),
              std::string::npos)
        << d.message;
    EXPECT_EQ(failure("CREATE TABLE [" + key + "]([a] INT)").nativeError, 2714);
    EXPECT_EQ(failure("CREATE TABLE [" + stem + "_3]([a] INT NULL PRIMARY KEY)").nativeError, 8111);

    conn->exec("sp_rename '" + first + "', '" + renamed + "'");
    conn->exec("INSERT INTO [" + renamed + "] VALUES(1, NULL)");
    EXPECT_EQ(failure("INSERT INTO [" + renamed + "] VALUES(2, NULL)").nativeError, 2627);

    Statement s(*conn);
    std::u16string pattern = utf8ToUtf16(stem + "%");
    ASSERT_TRUE(SQL_SUCCEEDED(SQLTablesW(s.handle(), nullptr, 0, nullptr, 0,
                                         reinterpret_cast<SQLWCHAR*>(pattern.data()),
                                         static_cast<SQLSMALLINT>(pattern.size()), nullptr, 0)));
    std::vector<std::string> listed;
    for (const auto& row : s.fetchAll()) listed.push_back(row.at(2).value_or(""));
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{second, renamed}));

    conn->exec("DROP TABLE [" + renamed + "]");
    conn->exec("DROP TABLE [" + second + "]");
    // The dropped table's key name is free again.
    conn->exec("CREATE TABLE [" + first + "]([a] INT CONSTRAINT [" + key + "] PRIMARY KEY)");
    conn->exec("DROP TABLE [" + first + "]");
}
