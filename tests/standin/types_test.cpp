// Each SQL Server column type: what the driver reports for it, and how literals convert.
#include "odbc_client.h"

#include <gtest/gtest.h>

using namespace standin_test;

namespace {

// SQL Server's driver-specific ODBC types, which FreeTDS reports too.
constexpr SQLSMALLINT kSqlServerTime = -154;
constexpr SQLSMALLINT kSqlServerXml = -152;
constexpr SQLSMALLINT kSqlServerDateTimeOffset = -155;

// FreeTDS reports the (max) types as their short kinds with column size 0.
struct TypeCase {
    std::string declared;
    std::string literal;
    Cell expected;  // as text through SQL_C_WCHAR
    SQLSMALLINT sqlType;
};

class StandinTypes : public ::testing::Test {
  protected:
    void SetUp() override { conn = std::make_unique<Connection>(detailsFromEnvironment()); }

    // Creates a one-column table of the type; returns its bracketed name.
    std::string tableOf(const std::string& declared) {
        std::string t = "[" + uniqueName("ty") + "]";
        conn->dropTableIfExists(t);
        conn->exec("CREATE TABLE " + t + "([v] " + declared + ")");
        return t;
    }

    Diagnostic insertFailure(const std::string& declared, const std::string& literal) {
        std::string t = tableOf(declared);
        Diagnostic d;
        try {
            conn->exec("INSERT INTO " + t + " VALUES(" + literal + ")");
            ADD_FAILURE() << "no error inserting " << literal << " into " << declared;
        } catch (const OdbcError& e) {
            d = e.first();
        }
        conn->exec("DROP TABLE " + t);
        return d;
    }

    std::unique_ptr<Connection> conn;
};

}  // namespace

TEST_F(StandinTypes, EachTypeReportsTheDriversSqlTypeAndRoundTrips) {
    const std::vector<TypeCase> cases = {
        {"int", "'-2147483648'", "-2147483648", SQL_INTEGER},
        {"bigint", "'9223372036854775807'", "9223372036854775807", SQL_BIGINT},
        {"smallint", "'-32768'", "-32768", SQL_SMALLINT},
        {"tinyint", "'255'", "255", SQL_TINYINT},
        {"bit", "'True'", "1", SQL_BIT},
        {"bit", "'0'", "0", SQL_BIT},
        {"decimal", "'12.5'", "13", SQL_NUMERIC},
        {"decimal(18, 2)", "'-12.345'", "-12.35", SQL_NUMERIC},
        {"numeric(38,10)", "'1234567890123456789012345678.0123456789'",
         "1234567890123456789012345678.0123456789", SQL_NUMERIC},
        {"money", "'922337203685477.5807'", "922337203685477.5807", SQL_DECIMAL},
        {"smallmoney", "'-214748.3648'", "-214748.3648", SQL_DECIMAL},
        {"float", "'1.5e10'", "15000000000", SQL_DOUBLE},
        {"real", "'0.5'", "0.5", SQL_REAL},
        {"datetime", "'2024-02-29T13:14:15.123'", "2024-02-29 13:14:15.123", SQL_TYPE_TIMESTAMP},
        {"datetime", "'2024-01-01 23:59:59.999'", "2024-01-02 00:00:00.000", SQL_TYPE_TIMESTAMP},
        {"datetime", "'2024-01-01 00:00:00.002'", "2024-01-01 00:00:00.003", SQL_TYPE_TIMESTAMP},
        {"smalldatetime", "'2024-05-06 07:08:31'", "2024-05-06 07:09:00", SQL_TYPE_TIMESTAMP},
        {"datetime2", "'2024-05-06 07:08:09.1234567'", "2024-05-06 07:08:09.1234567",
         SQL_TYPE_TIMESTAMP},
        {"date", "'2024-05-06'", "2024-05-06", SQL_TYPE_DATE},
        {"char(4)", "'ab'", "ab  ", SQL_CHAR},
        {"VarChar (50)", "'hello'", "hello", SQL_VARCHAR},
        {"text", "'long text'", "long text", SQL_LONGVARCHAR},
        {"nchar(3)", "N'é'", "é  ", SQL_WCHAR},
        {"nvarchar(10)", "N'ω'", "ω", SQL_WVARCHAR},
        {"ntext", "N'ωω'", "ωω", SQL_WLONGVARCHAR},
        {"binary(3)", "0x0102", "010200", SQL_BINARY},
        {"varbinary(10)", "0xCAFE", "cafe", SQL_VARBINARY},
        {"image", "0xBEEF", "beef", SQL_LONGVARBINARY},
        {"time", "'07:08:09.1234567'", "07:08:09.1234567", kSqlServerTime},
        {"time(0)", "'07:08:09.6'", "07:08:10", kSqlServerTime},
        {"datetimeoffset", "'2024-05-06 07:08:09.1234567 +02:00'",
         "2024-05-06 07:08:09.1234567 +02:00", kSqlServerDateTimeOffset},
        {"datetimeoffset(0)", "'2024-12-31T23:59:59.6-05:30'", "2025-01-01 00:00:00 -05:30",
         kSqlServerDateTimeOffset},
        {"varchar(max)", "'big'", "big", SQL_VARCHAR},
        {"nvarchar(max)", "N'ωbig'", "ωbig", SQL_WVARCHAR},
        {"varbinary(max)", "0x00ff", "00ff", SQL_VARBINARY},
        {"xml", "N'<a>ω</a>'", "<a>ω</a>", kSqlServerXml},
        {"uniqueidentifier", "'6F9619FF-8B86-D011-B42D-00C04FC964FF'",
         "6F9619FF-8B86-D011-B42D-00C04FC964FF", SQL_GUID},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.declared + " <- " + c.literal);
        std::string t = tableOf(c.declared);
        conn->exec("INSERT INTO " + t + " VALUES(" + c.literal + ")");
        conn->exec("INSERT INTO " + t + " VALUES(NULL)");
        {
            Statement s(*conn);
            s.execute("SELECT * FROM " + t);
            EXPECT_EQ(s.columns().at(0).sqlType, c.sqlType);
            auto rows = s.fetchAll();
            ASSERT_EQ(rows.size(), 2u);
            EXPECT_EQ(rows[0][0], c.expected);
            EXPECT_EQ(rows[1][0], std::nullopt);
        }
        conn->exec("DROP TABLE " + t);
    }
}

TEST_F(StandinTypes, DecimalColumnsReportPrecisionAndScale) {
    std::string t = tableOf("decimal(12,3)");
    Statement s(*conn);
    s.execute("SELECT * FROM " + t);
    auto columns = s.columns();
    EXPECT_EQ(columns.at(0).size, 12u);
    EXPECT_EQ(columns.at(0).decimalDigits, 3);
}

TEST_F(StandinTypes, ConversionsFailAsSqlServerDoes) {
    struct Case {
        std::string declared, literal;
        long native;
    };
    const std::vector<Case> cases = {
        {"int", "'abc'", 245},
        {"int", "'3000000000'", 248},
        {"smallint", "'40000'", 244},
        {"tinyint", "'256'", 244},
        {"tinyint", "300", 220},
        {"int", "3000000000", 8115},
        {"decimal(5,2)", "'abc'", 8114},
        {"decimal(5,2)", "'12345.6'", 8115},
        {"float", "'abc'", 8114},
        {"datetime", "'not a date'", 241},
        {"datetime", "'2024-01-01T10:00:00.1234'", 241},
        {"date", "'2024-13-01'", 241},
        {"nvarchar(2)", "N'abc'", 8152},
        {"varbinary(1)", "0x0102", 8152},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.declared + " <- " + c.literal);
        EXPECT_EQ(insertFailure(c.declared, c.literal).nativeError, c.native);
    }

    Diagnostic d = insertFailure("int", "'x1'");
    EXPECT_EQ(d.sqlState, "22018");
    EXPECT_NE(d.message.find(
                  "Conversion failed when converting the varchar value 'x1' to data type int."),
              std::string::npos)
        << d.message;
    d = insertFailure("varbinary(10)", "'abc'");
    EXPECT_EQ(d.nativeError, 257);
    EXPECT_NE(
        d.message.find("Implicit conversion from data type varchar to varbinary is not allowed."),
        std::string::npos)
        << d.message;
    d = insertFailure("varchar(3)", "'abcd'");
    EXPECT_EQ(d.nativeError, 8152);
    EXPECT_EQ(d.sqlState, "22001");
}

TEST_F(StandinTypes, NotNullColumnsRefuseNull) {
    std::string t = "[" + uniqueName("ty_nn") + "]";
    conn->dropTableIfExists(t);
    conn->exec("CREATE TABLE " + t + "([v] INT NOT NULL)");
    try {
        conn->exec("INSERT INTO " + t + " VALUES(NULL)");
        ADD_FAILURE() << "NULL accepted";
    } catch (const OdbcError& e) {
        EXPECT_EQ(e.first().nativeError, 515);
        EXPECT_EQ(e.first().sqlState, "23000");
    }
    conn->exec("DROP TABLE " + t);
}

TEST_F(StandinTypes, TrailingBlanksBeyondTheLengthAreDroppedSilently) {
    std::string t = tableOf("varchar(3)");
    conn->exec("INSERT INTO " + t + " VALUES('abc   ')");
    auto rows = conn->query("SELECT * FROM " + t);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "abc");
    conn->exec("DROP TABLE " + t);
}

TEST_F(StandinTypes, EveryInsertErrorCarriesItsNativeNumberAndSqlState) {
    struct Case {
        std::string column, literal;
        long native;
        std::string sqlState;
    };
    // The SQLSTATEs are FreeTDS's mapping of SQL Server's message numbers.
    const std::vector<Case> cases = {
        {"dt", "'bad'", 241, "22007"},      {"i", "'bad'", 245, "22018"},
        {"d", "'bad'", 8114, "42000"},      {"d", "'12345'", 8115, "HY019"},
        {"v", "'abc'", 8152, "22001"},      {"n", "NULL", 515, "23000"},
        {"b", "'x'", 257, "22018"},         {"i", "'3000000000'", 248, "HY019"},
        {"t", "'300'", 244, "HY019"},       {"t", "300", 220, "HY019"},
        {"i", "3000000000", 8115, "HY019"}, {"f", "'x'", 8114, "42000"},
    };
    std::string t = "[" + uniqueName("ty_err") + "]";
    conn->dropTableIfExists(t);
    conn->exec("CREATE TABLE " + t +
               "([i] INT,[d] DECIMAL(5,2),[dt] DATETIME,[v] VARCHAR(2),[b] VARBINARY(2),[n] INT "
               "NOT NULL,[t] TINYINT,[f] FLOAT)");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column + " <- " + c.literal);
        std::string sql = "INSERT INTO " + t + "([" + c.column + "]" +
                          (c.column == "n" ? "" : ",[n]") + ") VALUES(" + c.literal +
                          (c.column == "n" ? "" : ",1") + ")";
        try {
            conn->exec(sql);
            ADD_FAILURE() << "accepted: " << sql;
        } catch (const OdbcError& e) {
            EXPECT_EQ(e.first().nativeError, c.native) << e.what();
            EXPECT_EQ(e.first().sqlState, c.sqlState) << e.what();
        }
    }
    EXPECT_EQ(conn->query("SELECT * FROM " + t).size(), 0u);
    conn->exec("DROP TABLE " + t);
}

// What the program asks of every table it has just created or filled: the driver's name for
// each column's type (from a query without rows) and the row count as bigint.
TEST_F(StandinTypes, AnEmptySelectNamesEachColumnTypeAndCountBigCountsRows) {
    // FreeTDS names smalldatetime "datetime" (and smallmoney "money"), from SQL Server too.
    const std::vector<std::pair<std::string, std::string>> columns = {
        {"datetime", "datetime"},
        {"smalldatetime", "datetime"},
        {"date", "date"},
        {"datetime2(3)", "datetime2"},
        {"datetimeoffset", "datetimeoffset"},
        {"time", "time"},
        {"char(3)", "char"},
        {"varchar(20)", "varchar"},
        {"text", "text"},
        {"nchar(2)", "nchar"},
        {"nvarchar(20)", "nvarchar"},
        {"ntext", "ntext"},
        {"varchar(max)", "varchar"},
        {"nvarchar(max)", "nvarchar"},
        {"int", "int"},
        {"bigint", "bigint"},
        {"decimal(10,2)", "decimal"},
        {"bit", "bit"},
        {"float", "float"},
        {"money", "money"},
        {"varbinary(max)", "varbinary"},
        {"uniqueidentifier", "uniqueidentifier"},
    };
    std::string t = "[" + uniqueName("ty_names") + "]";
    conn->dropTableIfExists(t);
    std::string create = "CREATE TABLE " + t + "(";
    for (size_t i = 0; i < columns.size(); ++i) {
        create += (i ? ",[c" : "[c") + std::to_string(i) + "] " + columns[i].first;
    }
    conn->exec(create + ");");
    conn->exec("INSERT INTO " + t + "([c0]) VALUES('2024-01-02'),(NULL)");
    {
        Statement s(*conn);
        s.execute("SELECT * FROM " + t + " WHERE 1 = 0");
        ASSERT_EQ(s.columns().size(), columns.size());
        for (size_t i = 0; i < columns.size(); ++i) {
            EXPECT_EQ(s.typeName(static_cast<SQLUSMALLINT>(i + 1)), columns[i].second)
                << columns[i].first;
        }
        EXPECT_FALSE(s.fetch());
    }
    {
        Statement s(*conn);
        s.execute("SELECT COUNT_BIG(*) FROM " + t);
        EXPECT_EQ(s.columns().at(0).sqlType, SQL_BIGINT);
        EXPECT_EQ(s.typeName(1), "bigint");
        EXPECT_EQ(s.fetchAll(), (std::vector<Row>{{"2"}}));
    }
    conn->exec("DROP TABLE " + t);
}
