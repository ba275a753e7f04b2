// sp_columns and sp_pkeys, through the driver's SQLColumns and SQLPrimaryKeys and as EXEC
// statements: how a copy learns a source table's types, sizes, NULL rules, identity and key.
#include "odbc_client.h"

#include <gtest/gtest.h>

using namespace standin_test;

namespace {

// How a result set is asked for: through the driver's catalogue call, or as a statement.
enum class Asked { ByDriver, ByExec };

class StandinCatalogueProcedures : public ::testing::TestWithParam<Asked> {
  protected:
    void SetUp() override { conn = std::make_unique<Connection>(detailsFromEnvironment()); }
    void TearDown() override {
        for (const auto& t : made) conn->dropTableIfExists("[" + t + "]");
    }

    std::string table(const std::string& stem, const std::string& columns) {
        std::string t = uniqueName(stem);
        conn->dropTableIfExists("[" + t + "]");
        conn->exec("CREATE TABLE [" + t + "](" + columns + ")");
        made.push_back(t);
        return t;
    }

    std::vector<Row> columnsOf(const std::string& t) {
        if (GetParam() == Asked::ByExec)
            return conn->query("EXEC sp_columns @table_name = N'" + t + "', @ODBCVer = 3");
        Statement s(*conn);
        std::u16string name = utf8ToUtf16(t);
        check(SQLColumnsW(s.handle(), nullptr, 0, nullptr, 0,
                          reinterpret_cast<SQLWCHAR*>(name.data()),
                          static_cast<SQLSMALLINT>(name.size()), nullptr, 0),
              SQL_HANDLE_STMT, s.handle(), "SQLColumnsW");
        return s.fetchAll();
    }

    std::vector<Row> primaryKeyOf(const std::string& t) {
        if (GetParam() == Asked::ByExec)
            return conn->query("EXEC sp_pkeys @table_name = N'" + t + "'");
        Statement s(*conn);
        std::u16string name = utf8ToUtf16(t);
        check(SQLPrimaryKeysW(s.handle(), nullptr, 0, nullptr, 0,
                              reinterpret_cast<SQLWCHAR*>(name.data()),
                              static_cast<SQLSMALLINT>(name.size())),
              SQL_HANDLE_STMT, s.handle(), "SQLPrimaryKeysW");
        return s.fetchAll();
    }

    std::unique_ptr<Connection> conn;
    std::vector<std::string> made;
};

}  // namespace

TEST_P(StandinCatalogueProcedures, SpColumnsDescribesEachTypeAsDocumented) {
    struct Case {
        std::string declared;
        // DATA_TYPE, TYPE_NAME, PRECISION, LENGTH, SCALE, RADIX, NULLABLE
        Row described;
        // SQL_DATA_TYPE, SQL_DATETIME_SUB, CHAR_OCTET_LENGTH, IS_NULLABLE
        Row odbc;
    };
    const Cell none;
    const std::vector<Case> cases = {
        {"INT IDENTITY(1,1) NOT NULL",
         {"4", "int identity", "10", "4", "0", "10", "0"},
         {"4", none, none, "NO"}},
        {"NVARCHAR(40) NULL",
         {"-9", "nvarchar", "40", "80", none, none, "1"},
         {"-9", none, "80", "YES"}},
        {"NVARCHAR(MAX)", {"-9", "nvarchar", "0", "0", none, none, "1"}, {"-9", none, "0", "YES"}},
        {"VARCHAR(10) NOT NULL",
         {"12", "varchar", "10", "10", none, none, "0"},
         {"12", none, "10", "NO"}},
        {"CHAR(3)", {"1", "char", "3", "3", none, none, "1"}, {"1", none, "3", "YES"}},
        {"VARBINARY(16)",
         {"-3", "varbinary", "16", "16", none, none, "1"},
         {"-3", none, "16", "YES"}},
        {"DECIMAL(10,2)", {"3", "decimal", "10", "12", "2", "10", "1"}, {"3", none, none, "YES"}},
        {"NUMERIC(5,0)", {"2", "numeric", "5", "7", "0", "10", "1"}, {"2", none, none, "YES"}},
        {"BIGINT", {"-5", "bigint", "19", "8", "0", "10", "1"}, {"-5", none, none, "YES"}},
        {"SMALLINT", {"5", "smallint", "5", "2", "0", "10", "1"}, {"5", none, none, "YES"}},
        {"TINYINT", {"-6", "tinyint", "3", "1", "0", "10", "1"}, {"-6", none, none, "YES"}},
        {"BIT", {"-7", "bit", "1", "1", none, none, "1"}, {"-7", none, none, "YES"}},
        {"FLOAT", {"6", "float", "53", "8", none, "2", "1"}, {"6", none, none, "YES"}},
        {"REAL", {"7", "real", "24", "4", none, "2", "1"}, {"7", none, none, "YES"}},
        {"MONEY", {"3", "money", "19", "21", "4", "10", "1"}, {"3", none, none, "YES"}},
        {"DATETIME", {"93", "datetime", "23", "16", "3", none, "1"}, {"9", "3", none, "YES"}},
        {"DATETIME2(7)", {"93", "datetime2", "27", "16", "7", none, "1"}, {"9", "3", none, "YES"}},
        {"DATETIME2(0)", {"93", "datetime2", "19", "16", "0", none, "1"}, {"9", "3", none, "YES"}},
        {"DATE", {"91", "date", "10", "6", "0", none, "1"}, {"9", "1", none, "YES"}},
        {"TIME(3)", {"-154", "time", "12", "10", "3", none, "1"}, {"-154", none, none, "YES"}},
        {"DATETIMEOFFSET(7)",
         {"-155", "datetimeoffset", "34", "20", "7", none, "1"},
         {"-155", none, none, "YES"}},
        {"UNIQUEIDENTIFIER",
         {"-11", "uniqueidentifier", "36", "16", none, none, "1"},
         {"-11", none, none, "YES"}},
    };
    std::string columns;
    for (size_t i = 0; i < cases.size(); ++i)
        columns += (i ? ", [c" : "[c") + std::to_string(i) + "] " + cases[i].declared;
    const std::string t = table("cp_columns", columns);

    const std::vector<Row> rows = columnsOf(t);
    ASSERT_EQ(rows.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        const Row& r = rows[i];
        EXPECT_EQ(r.at(2), t);
        EXPECT_EQ(r.at(3), "c" + std::to_string(i));
        EXPECT_EQ(Row(r.begin() + 4, r.begin() + 11), cases[i].described) << cases[i].declared;
        EXPECT_EQ((Row{r.at(13), r.at(14), r.at(15), r.at(17)}), cases[i].odbc)
            << cases[i].declared;
        EXPECT_EQ(r.at(16), std::to_string(i + 1));
    }
}

TEST_P(StandinCatalogueProcedures, SpPkeysListsTheKeyColumnsInKeyOrder) {
    const std::string keyed =
        table("cp_keyed", "[a] INT NOT NULL, [b] NVARCHAR(10) NOT NULL, [c] INT, CONSTRAINT [" +
                              uniqueName("pk_cp") + "] PRIMARY KEY ([b], [a])");
    const std::string unkeyed = table("cp_unkeyed", "[a] INT NOT NULL UNIQUE");

    const std::vector<Row> rows = primaryKeyOf(keyed);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(Row(rows[0].begin() + 2, rows[0].end()), (Row{keyed, "b", "1", uniqueName("pk_cp")}));
    EXPECT_EQ(Row(rows[1].begin() + 2, rows[1].end()), (Row{keyed, "a", "2", uniqueName("pk_cp")}));
    EXPECT_TRUE(primaryKeyOf(unkeyed).empty());
}

INSTANTIATE_TEST_SUITE_P(BothWays, StandinCatalogueProcedures,
                         ::testing::Values(Asked::ByDriver, Asked::ByExec),
                         [](const ::testing::TestParamInfo<Asked>& info) {
                             return info.param == Asked::ByDriver ? "ByDriver" : "ByExec";
                         });
