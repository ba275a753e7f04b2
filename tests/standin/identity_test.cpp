// IDENTITY columns and SET IDENTITY_INSERT, as a copy that keeps its identity values uses them.
#include "odbc_client.h"

#include <gtest/gtest.h>

using namespace standin_test;

namespace {

class StandinIdentity : public ::testing::Test {
  protected:
    void SetUp() override { conn = std::make_unique<Connection>(detailsFromEnvironment()); }
    void TearDown() override {
        for (const auto& t : made) conn->dropTableIfExists(t);
    }

    std::string table(const std::string& stem, const std::string& columns) {
        std::string t = "[" + uniqueName(stem) + "]";
        conn->dropTableIfExists(t);
        conn->exec("CREATE TABLE " + t + "(" + columns + ")");
        made.push_back(t);
        return t;
    }

    // The first failing statement's diagnostic; native error 0 when all succeed.
    Diagnostic failureOf(const std::vector<std::string>& statements) {
        try {
            for (const auto& sql : statements) conn->exec(sql);
        } catch (const OdbcError& e) {
            return e.first();
        }
        return {};
    }
    long errorOf(const std::vector<std::string>& statements) {
        return failureOf(statements).nativeError;
    }

    std::vector<std::string> ids(const std::string& t) {
        std::vector<std::string> out;
        for (const auto& row : conn->query("SELECT * FROM " + t)) out.push_back(*row.at(0));
        return out;
    }

    std::unique_ptr<Connection> conn;
    std::vector<std::string> made;
};

}  // namespace

TEST_F(StandinIdentity, ExplicitValuesNeedIdentityInsertOnAndAColumnList) {
    struct Case {
        bool identityInsert;
        std::string insert;  // {t} stands for the table
        long expectedError;
    };
    const std::vector<Case> cases = {
        {false, "INSERT INTO {t} VALUES (N'a')", 0},
        {false, "INSERT INTO {t} VALUES (5, N'a')", 8101},
        {true, "INSERT INTO {t} VALUES (5, N'a')", 8101},
        {false, "INSERT INTO {t}([id], [name]) VALUES (5, N'a')", 544},
        {true, "INSERT INTO {t}([name]) VALUES (N'a')", 545},
        {true, "INSERT INTO {t} VALUES (N'a')", 545},
        {true, "INSERT INTO {t}([id], [name]) VALUES (5, N'a'), (6, N'b')", 0},
    };
    const std::string t =
        table("id_rules", "[id] INT IDENTITY(1,1) NOT NULL, [name] NVARCHAR(40) NULL");
    const std::string bare = t.substr(1, t.size() - 2);
    for (const auto& c : cases) {
        std::string insert = c.insert;
        insert.replace(insert.find("{t}"), 3, t);
        conn->exec("SET IDENTITY_INSERT " + t + (c.identityInsert ? " ON" : " OFF"));
        Diagnostic d = failureOf({insert});
        EXPECT_EQ(d.nativeError, c.expectedError) << insert << " ON=" << c.identityInsert;
        // Messages name the table as declared, without brackets.
        if (c.expectedError) {
            EXPECT_NE(d.message.find("table '" + bare + "'"), std::string::npos) << d.message;
        }
    }
    conn->exec("SET IDENTITY_INSERT " + t + " OFF");
}

TEST_F(StandinIdentity, RowsAreNumberedAndExplicitValuesMoveTheCurrentValueOnward) {
    const std::string t = table("id_numbers", "[id] INT IDENTITY(10,5), [v] INT");
    const std::string current = "SELECT IDENT_CURRENT('" + t.substr(1, t.size() - 2) + "')";
    EXPECT_EQ(conn->query(current).at(0).at(0), "10");  // the seed, before any row
    conn->exec("INSERT INTO " + t + "([v]) VALUES (1), (2)");
    conn->exec("SET IDENTITY_INSERT " + t + " ON");
    conn->exec("INSERT INTO " + t + "([id], [v]) VALUES (100, 3), (40, 4)");
    conn->exec("SET IDENTITY_INSERT " + t + " OFF");
    conn->exec("INSERT INTO " + t + "([v]) VALUES (5)");
    conn->exec("SET IDENTITY_INSERT " + t + " ON");
    conn->exec("INSERT INTO " + t + "([id], [v]) VALUES (50, 6)");  // below the current value
    conn->exec("SET IDENTITY_INSERT " + t + " OFF");
    // A value drawn by a rolled back insert is not drawn again.
    conn->setAutocommit(false);
    conn->exec("INSERT INTO " + t + "([v]) VALUES (7)");
    conn->endTransaction(SQL_ROLLBACK);
    conn->setAutocommit(true);
    conn->exec("INSERT INTO " + t + "([v]) VALUES (8)");
    EXPECT_EQ(ids(t), (std::vector<std::string>{"10", "15", "100", "40", "105", "50", "115"}));
    EXPECT_EQ(conn->query(current).at(0).at(0), "115");
    {
        Statement s(*conn);
        s.execute("SELECT * FROM " + t);
        SQLLEN autoUnique[2] = {-1, -1};
        for (SQLUSMALLINT c = 1; c <= 2; ++c) {
            check(SQLColAttributeW(s.handle(), c, SQL_DESC_AUTO_UNIQUE_VALUE, nullptr, 0, nullptr,
                                   &autoUnique[c - 1]),
                  SQL_HANDLE_STMT, s.handle(), "SQLColAttributeW");
        }
        EXPECT_EQ(autoUnique[0], SQL_TRUE);
        EXPECT_EQ(autoUnique[1], SQL_FALSE);
    }

    const std::string tiny = table("id_tiny", "[id] TINYINT IDENTITY(255,1), [v] INT");
    conn->exec("INSERT INTO " + tiny + "([v]) VALUES (1)");
    EXPECT_EQ(errorOf({"INSERT INTO " + tiny + "([v]) VALUES (2)"}), 8115);
}

TEST_F(StandinIdentity, DeclarationsAndSettingsSqlServerRefuses) {
    const std::string withIdentity = table("id_one", "[id] INT IDENTITY, [v] INT");
    const std::string other = table("id_two", "[id] BIGINT IDENTITY(1,1), [v] INT");
    const std::string plain = table("id_plain", "[v] INT");
    const std::string fresh = "[" + uniqueName("id_refused") + "]";
    made.push_back(fresh);
    struct Case {
        std::vector<std::string> statements;
        long expectedError;
    };
    const std::vector<Case> cases = {
        {{"CREATE TABLE " + fresh + "([a] VARCHAR(3) IDENTITY)"}, 2749},
        {{"CREATE TABLE " + fresh + "([a] DECIMAL(9,2) IDENTITY)"}, 2749},
        {{"CREATE TABLE " + fresh + "([a] INT IDENTITY, [b] BIGINT IDENTITY(5,2))"}, 2744},
        {{"CREATE TABLE " + fresh + "([a] INT IDENTITY NULL)"}, 8147},
        {{"SET IDENTITY_INSERT " + plain + " ON"}, 8106},
        {{"SET IDENTITY_INSERT " + withIdentity + " ON", "SET IDENTITY_INSERT " + other + " ON"},
         8107},
        {{"SET IDENTITY_INSERT " + withIdentity + " OFF", "SET IDENTITY_INSERT " + other + " ON",
          "SET IDENTITY_INSERT " + other + " ON", "SET IDENTITY_INSERT " + other + " OFF"},
         0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorOf(c.statements), c.expectedError) << c.statements[0];
}
