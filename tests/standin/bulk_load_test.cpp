// Bulk load (TDS bulk load messages) through the FreeTDS driver's bulk copy attributes, as
// the program would use them: values arrive as INSERT would store them, inside the
// session's transaction, and refused rows leave nothing behind.
#include "db/bulk/freetds_bulk_copy_abi.h"
#include "odbc_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <tuple>

using namespace standin_test;
namespace bcp = dorvane::db::freetds_bcp;

namespace {

std::unique_ptr<Connection> bulkConnection() {
    return std::make_unique<Connection>(
        detailsFromEnvironment(), 10, Connection::Attributes{{bcp::kEnableAttribute, bcp::kBcpOn}});
}

// One bulk copy into a table: each value is bound with a 4-byte length prefix (-1: NULL),
// as UTF-8 text or, for binary columns, raw bytes.
class BulkCopy {
  public:
    BulkCopy(Connection& conn, const std::string& table, std::vector<int> hostTypes)
        : conn_(conn), hostTypes_(std::move(hostTypes)), buffers_(hostTypes_.size()) {
        std::u16string name = utf8ToUtf16(table);
        bcp::InitParams init{name.c_str()};
        set(bcp::kInitW, &init, "init");
        for (size_t c = 0; c < hostTypes_.size(); ++c) {
            buffers_[c].assign(sizeof(int32_t), 0);
            bcp::BindParams bind{
                buffers_[c].data(), sizeof(int32_t),        bcp::kVariableLength, nullptr, 0,
                hostTypes_[c],      static_cast<int>(c + 1)};
            set(bcp::kBind, &bind, "bind");
        }
    }

    void send(const Row& row) {
        for (size_t c = 0; c < row.size(); ++c) {
            const int32_t length = row[c] ? static_cast<int32_t>(row[c]->size()) : bcp::kNullLength;
            std::vector<unsigned char>& b = buffers_[c];
            b.resize(sizeof length + (row[c] ? row[c]->size() : 0));
            std::memcpy(b.data(), &length, sizeof length);
            if (row[c]) std::memcpy(b.data() + sizeof length, row[c]->data(), row[c]->size());
            bcp::ColumnPointerParams pointer{b.data(), static_cast<int>(c + 1)};
            set(bcp::kColumnPointer, &pointer, "colptr");
        }
        set(bcp::kSendRow, nullptr, "sendrow");
    }

    // The rows the server reports; throws OdbcError when it refused them.
    int done() {
        bcp::RowCountParams count;
        set(bcp::kDone, &count, "done");
        if (count.rows < 0)
            throw OdbcError("bcp done", diagnostics(SQL_HANDLE_DBC, conn_.handle()));
        return count.rows;
    }

  private:
    void set(SQLINTEGER attribute, void* value, const std::string& what) {
        check(SQLSetConnectAttrW(conn_.handle(), attribute, value, SQL_IS_POINTER), SQL_HANDLE_DBC,
              conn_.handle(), "bcp " + what);
    }

    Connection& conn_;
    std::vector<int> hostTypes_;
    std::vector<std::vector<unsigned char>> buffers_;
};

// A column of the wide table: its type, and how a value is written as an INSERT literal.
struct ColumnCase {
    std::string type;
    enum class Kind { Number, Text, NText, Binary } kind;
};

const std::vector<ColumnCase>& wideColumns() {
    using K = ColumnCase::Kind;
    static const std::vector<ColumnCase> columns = {{"INT NOT NULL", K::Number},
                                                    {"TINYINT", K::Number},
                                                    {"SMALLINT", K::Number},
                                                    {"BIGINT", K::Number},
                                                    {"BIT", K::Number},
                                                    {"DECIMAL(38,10)", K::Number},
                                                    {"NUMERIC(38,0)", K::Number},
                                                    {"MONEY", K::Number},
                                                    {"SMALLMONEY", K::Number},
                                                    {"FLOAT", K::Number},
                                                    {"REAL", K::Number},
                                                    {"CHAR(6)", K::Text},
                                                    {"VARCHAR(60)", K::Text},
                                                    {"NCHAR(4)", K::NText},
                                                    {"NVARCHAR(60)", K::NText},
                                                    {"NVARCHAR(MAX)", K::NText},
                                                    {"VARCHAR(MAX)", K::Text},
                                                    {"BINARY(6)", K::Binary},
                                                    {"VARBINARY(40)", K::Binary},
                                                    {"VARBINARY(MAX)", K::Binary},
                                                    {"DATE", K::Text},
                                                    {"TIME(7)", K::Text},
                                                    {"DATETIME", K::Text},
                                                    {"SMALLDATETIME", K::Text},
                                                    {"DATETIME2(7)", K::Text},
                                                    {"DATETIME2(2)", K::Text},
                                                    {"DATETIMEOFFSET(7)", K::Text},
                                                    {"UNIQUEIDENTIFIER", K::Text},
                                                    {"TEXT", K::Text},
                                                    {"NTEXT", K::NText},
                                                    {"IMAGE", K::Binary}};
    return columns;
}

// Lines with `special` among the characters COPY escapes, of at least `size` bytes.
std::string longText(size_t size, const std::string& special) {
    std::string out;
    // Whole lines only: a cut could split a character.
    for (size_t i = 0; out.size() < size; ++i) {
        out += "line " + std::to_string(i) + "\t\\N " + special + "\r\n";
    }
    return out;
}

std::string bytesWithZeros(size_t size) {
    std::string out(size, '\0');
    for (size_t i = 0; i < size; ++i) out[i] = static_cast<char>(i * 7 % 256);
    return out;
}

// Values at the edges of each type, the characters COPY and TDS treat specially, '' next to
// NULL, and a row of NULLs. Long values stay below 4 KB as the server receives them: the
// driver's bulk copy keeps a value in a 4 KB buffer, and a longer one overruns it. The
// driver reads no offset in a datetimeoffset text, so those values are at +00:00, and it
// gives 1900-01-01 for a date text before 1900 (seen for years 1, 100 and 1000).
std::vector<Row> hostileRows() {
    const std::string cp1252 = "é€'\t\n\\N\\";
    return {{"1",
             "255",
             "32767",
             "9223372036854775807",
             "1",
             "9999999999999999999999999999.9999999999",
             "99999999999999999999999999999999999999",
             "922337203685477.5807",
             "214748.3647",
             "-1.7976931348623157E+308",
             "-1.5",
             "a'b",
             cp1252,
             "Ω😀",
             "😀 中文 \\N\t'\n",
             longText(1500, "😀"),
             longText(3500, "€"),
             std::string("\0\1\0", 3),
             std::string("\0\0\xff", 3),
             bytesWithZeros(4000),
             "1901-02-03",
             "23:59:59.9999999",
             "1753-01-01 00:00:00.003",
             "2079-06-06 23:59:00",
             "9999-12-31 23:59:59.9999999",
             "2020-02-29 12:34:56.789",
             "2020-06-30 23:30:00.1234567",
             "6F9619FF-8B86-D011-B42D-00C04FD430C8",
             cp1252 + longText(3500, "€"),
             "ntext 😀" + longText(1500, "😀"),
             bytesWithZeros(4000)},
            {"2",
             "0",
             "-32768",
             "-9223372036854775808",
             "0",
             "-9999999999999999999999999999.9999999999",
             "-99999999999999999999999999999999999999",
             "-922337203685477.5808",
             "-214748.3648",
             "0",
             "0",
             "",
             "",
             "",
             "",
             "",
             "",
             "",
             "",
             "",
             "9999-12-31",
             "00:00:00",
             "9999-12-31 23:59:59.997",
             "1900-01-01 00:00:00",
             "1901-02-03 00:00:00",
             "2020-12-31 23:59:59.999",
             "9999-12-31 23:59:59.9999999",
             "00000000-0000-0000-0000-000000000000",
             "",
             "",
             ""},
            {"3",          std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
             std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
             std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
             std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
             std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
             std::nullopt}};
}

std::string literal(const Cell& value, ColumnCase::Kind kind) {
    if (!value) return "NULL";
    if (kind == ColumnCase::Kind::Number) return *value;
    if (kind == ColumnCase::Kind::Binary) {
        static const char* const kDigits = "0123456789ABCDEF";
        std::string hex = "0x";
        for (unsigned char b : *value) {
            hex += kDigits[b >> 4];
            hex += kDigits[b & 15];
        }
        return hex;
    }
    std::string quoted = kind == ColumnCase::Kind::NText ? "N'" : "'";
    for (char c : *value) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    return quoted + "'";
}

std::string columnsOf(const std::vector<ColumnCase>& columns) {
    std::string out;
    for (size_t i = 0; i < columns.size(); ++i) {
        out += (i ? ",[c" : "[c") + std::to_string(i) + "] " + columns[i].type;
    }
    return out;
}

std::vector<int> hostTypesOf(const std::vector<ColumnCase>& columns) {
    std::vector<int> types;
    for (const auto& c : columns) {
        types.push_back(c.kind == ColumnCase::Kind::Binary ? bcp::kHostBinary : bcp::kHostChar);
    }
    return types;
}

std::vector<Row> sortedById(std::vector<Row> rows) {
    std::sort(rows.begin(), rows.end(),
              [](const Row& a, const Row& b) { return std::stoll(*a[0]) < std::stoll(*b[0]); });
    return rows;
}

class StandinBulkLoad : public ::testing::Test {
  protected:
    void SetUp() override { conn = bulkConnection(); }

    std::string fresh(const std::string& stem) {
        std::string t = "[" + uniqueName(stem) + "]";
        conn->dropTableIfExists(t);
        return t;
    }

    // Loads rows of (id INT, value NVARCHAR(40)) numbered from 1.
    int loadNumbered(const std::string& table, int rows) {
        BulkCopy copy(*conn, table, {bcp::kHostChar, bcp::kHostChar});
        for (int i = 1; i <= rows; ++i)
            copy.send({std::to_string(i), "value " + std::to_string(i)});
        return copy.done();
    }

    std::string countOf(const std::string& table) {
        return *conn->query("SELECT COUNT(*) FROM " + table).at(0).at(0);
    }

    std::unique_ptr<Connection> conn;
};

TEST_F(StandinBulkLoad, HostileValuesOfEveryTypeArriveAsInsertStoresThem) {
    const auto& columns = wideColumns();
    std::string loaded = fresh("bl_loaded");
    std::string inserted = fresh("bl_inserted");
    conn->exec("CREATE TABLE " + loaded + "(" + columnsOf(columns) + ")");
    conn->exec("CREATE TABLE " + inserted + "(" + columnsOf(columns) + ")");
    const std::vector<Row> rows = hostileRows();

    BulkCopy copy(*conn, loaded, hostTypesOf(columns));
    for (const auto& row : rows) copy.send(row);
    EXPECT_EQ(copy.done(), static_cast<int>(rows.size()));
    for (const auto& row : rows) {
        std::string values;
        for (size_t c = 0; c < columns.size(); ++c) {
            values += (c ? "," : "") + literal(row[c], columns[c].kind);
        }
        conn->exec("INSERT INTO " + inserted + " VALUES(" + values + ")");
    }

    std::vector<Row> got = sortedById(conn->query("SELECT * FROM " + loaded));
    std::vector<Row> want = sortedById(conn->query("SELECT * FROM " + inserted));
    ASSERT_EQ(got.size(), want.size());
    for (size_t r = 0; r < got.size(); ++r) {
        for (size_t c = 0; c < columns.size(); ++c) {
            EXPECT_EQ(got[r][c], want[r][c]) << "row " << r + 1 << " column " << columns[c].type;
        }
    }
    conn->exec("DROP TABLE " + loaded);
    conn->exec("DROP TABLE " + inserted);
}

TEST_F(StandinBulkLoad, ThousandsOfRowsInManyPacketsAllArrive) {
    std::string t = fresh("bl_many");
    conn->exec("CREATE TABLE " + t + "([id] INT NOT NULL,[v] NVARCHAR(40))");
    ASSERT_EQ(loadNumbered(t, 3000), 3000);
    auto rows = conn->query("SELECT * FROM " + t);
    ASSERT_EQ(rows.size(), 3000u);
    auto sorted = sortedById(rows);
    EXPECT_EQ(sorted.front(), (Row{"1", "value 1"}));
    EXPECT_EQ(sorted.back(), (Row{"3000", "value 3000"}));
    conn->exec("DROP TABLE " + t);
}

// The driver leaves an identity column out of a load unless told to keep identity values,
// as the server marks it in the columns it describes; the rows are numbered instead.
TEST_F(StandinBulkLoad, AnIdentityColumnIsNumberedByTheServer) {
    std::string t = fresh("bl_identity");
    conn->exec("CREATE TABLE " + t + "([id] INT IDENTITY(100,1),[v] NVARCHAR(40))");
    ASSERT_EQ(loadNumbered(t, 3), 3);
    EXPECT_EQ(sortedById(conn->query("SELECT * FROM " + t)),
              (std::vector<Row>{{"100", "value 1"}, {"101", "value 2"}, {"102", "value 3"}}));
    conn->exec("DROP TABLE " + t);
}

// Whether the table exists before the transaction or is created inside it.
class StandinBulkLoadRollback : public StandinBulkLoad,
                                public ::testing::WithParamInterface<bool> {};

TEST_P(StandinBulkLoadRollback, ALoadInATransactionIsUndoneByItsRollback) {
    const bool createdInside = GetParam();
    std::string t = fresh("bl_rollback");
    const std::string ddl = "CREATE TABLE " + t + "([id] INT NOT NULL,[v] NVARCHAR(40))";
    if (!createdInside) conn->exec(ddl);
    conn->exec("BEGIN TRANSACTION");
    if (createdInside) conn->exec(ddl);
    ASSERT_EQ(loadNumbered(t, 2000), 2000);
    EXPECT_EQ(countOf(t), "2000");
    conn->exec("ROLLBACK TRANSACTION");
    if (createdInside) {
        EXPECT_THROW(conn->query("SELECT * FROM " + t), OdbcError);
    } else {
        EXPECT_EQ(countOf(t), "0");
        conn->exec("DROP TABLE " + t);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, StandinBulkLoadRollback, ::testing::Values(false, true),
                         [](const auto& info) {
                             return info.param ? "CreatedInside" : "Existing";
                         });

// How the driver learns the table's columns before a load.
TEST_F(StandinBulkLoad, FmtOnlyDescribesColumnsWithoutTouchingRows) {
    std::string t = fresh("bl_fmtonly");
    conn->exec("CREATE TABLE " + t + "([id] INT NOT NULL,[v] NVARCHAR(40))");
    conn->exec("INSERT INTO " + t + " VALUES(1, N'kept')");
    {
        Statement s(*conn);
        s.execute("SET FMTONLY ON select * from " + t + " SET FMTONLY OFF");
        auto columns = s.columns();
        ASSERT_EQ(columns.size(), 2u);
        EXPECT_EQ(columns[1].name, "v");
        EXPECT_FALSE(s.fetch());
    }
    conn->exec("SET FMTONLY ON INSERT INTO " + t + " VALUES(2, N'not kept') SET FMTONLY OFF");
    EXPECT_EQ(conn->query("SELECT * FROM " + t), (std::vector<Row>{{"1", "kept"}}));
    conn->exec("DROP TABLE " + t);
}

TEST_F(StandinBulkLoad, NullIntoANotNullColumnIsRefusedAndTheTransactionGoesOn) {
    std::string t = fresh("bl_notnull");
    conn->exec("CREATE TABLE " + t + "([id] INT NOT NULL,[v] NVARCHAR(40) NOT NULL)");
    conn->exec("BEGIN TRANSACTION");
    conn->exec("INSERT INTO " + t + " VALUES(0, N'before')");
    {
        BulkCopy copy(*conn, t, {bcp::kHostChar, bcp::kHostChar});
        for (int i = 1; i <= 1500; ++i) copy.send({std::to_string(i), "v"});
        copy.send({"1501", std::nullopt});
        try {
            copy.done();
            ADD_FAILURE() << "the load was taken";
        } catch (const OdbcError& e) {
            bool refused = std::any_of(e.records.begin(), e.records.end(),
                                       [](const Diagnostic& d) { return d.nativeError == 515; });
            EXPECT_TRUE(refused) << e.what();
        }
    }
    conn->exec("COMMIT TRANSACTION");
    EXPECT_EQ(conn->query("SELECT * FROM " + t), (std::vector<Row>{{"0", "before"}}));
    conn->exec("DROP TABLE " + t);
}

// A duplicate key, refused by INSERT or by a bulk load inside a transaction: the
// statement alone is undone, and the transaction goes on.
enum class Sender { SingleInsert, MultiRowInsert, BulkLoad };
enum class Key { UnnamedPrimaryColumn, NamedUniqueTable };

class StandinDuplicateKey : public StandinBulkLoad,
                            public ::testing::WithParamInterface<std::tuple<Sender, Key>> {};

TEST_P(StandinDuplicateKey, IsRefusedAsSqlServerDoesAndTheTransactionGoesOn) {
    const auto [sender, key] = GetParam();
    const std::string name = uniqueName("bl_key");
    const std::string t = fresh("bl_key");
    const std::string uniqueKey = "uq_" + name;
    const bool primary = key == Key::UnnamedPrimaryColumn;
    conn->exec("CREATE TABLE " + t +
               (primary ? "([a] INT PRIMARY KEY CLUSTERED,[b] NVARCHAR(40))"
                        : "([a] INT,[b] NVARCHAR(40),CONSTRAINT [" + uniqueKey +
                              "] UNIQUE NONCLUSTERED ([a],[b] DESC))"));
    conn->exec("BEGIN TRANSACTION");
    conn->exec("INSERT INTO " + t + " VALUES(1, N'x'),(2, N'y')");
    try {
        if (sender == Sender::BulkLoad) {
            BulkCopy copy(*conn, t, {bcp::kHostChar, bcp::kHostChar});
            copy.send({"3", "z"});
            copy.send({"1", "x"});
            copy.done();
        } else {
            conn->exec("INSERT INTO " + t + " VALUES" +
                       (sender == Sender::MultiRowInsert ? "(3, N'z')," : "") + "(1, N'x')");
        }
        ADD_FAILURE() << "the duplicate was taken";
    } catch (const OdbcError& e) {
        const std::string constraintStart =
            primary ? "Violation of PRIMARY KEY constraint 'PK__" + name.substr(0, 8) + "__"
                    : "Violation of UNIQUE KEY constraint '" + uniqueKey;
        const std::string rest = "'. Cannot insert duplicate key in object 'dbo." + name +
                                 "'. The duplicate key value is " + (primary ? "(1)." : "(1, x).");
        auto refusal = std::find_if(e.records.begin(), e.records.end(),
                                    [](const Diagnostic& d) { return d.nativeError == 2627; });
        ASSERT_NE(refusal, e.records.end()) << e.what();
        EXPECT_NE(refusal->message.find(constraintStart), std::string::npos) << refusal->message;
        EXPECT_NE(refusal->message.find(rest), std::string::npos) << refusal->message;
        bool terminated = std::any_of(e.records.begin(), e.records.end(), [](const Diagnostic& d) {
            return d.nativeError == 3621 &&
                   d.message.find("The statement has been terminated.") != std::string::npos;
        });
        EXPECT_TRUE(terminated) << e.what();
    }
    EXPECT_EQ(conn->query("SELECT XACT_STATE()"), (std::vector<Row>{{"1"}}));
    EXPECT_EQ(sortedById(conn->query("SELECT * FROM " + t)),
              (std::vector<Row>{{"1", "x"}, {"2", "y"}}));
    conn->exec("COMMIT TRANSACTION");
    conn->exec("DROP TABLE " + t);
}

std::string duplicateKeyCaseName(
    const ::testing::TestParamInfo<StandinDuplicateKey::ParamType>& info) {
    static const char* const kSenders[] = {"SingleInsert", "MultiRowInsert", "BulkLoad"};
    static const char* const kKeys[] = {"UnnamedPrimaryColumn", "NamedUniqueTable"};
    return std::string(kSenders[static_cast<int>(std::get<0>(info.param))]) +
           kKeys[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(
    By, StandinDuplicateKey,
    ::testing::Combine(::testing::Values(Sender::SingleInsert, Sender::MultiRowInsert,
                                         Sender::BulkLoad),
                       ::testing::Values(Key::UnnamedPrimaryColumn, Key::NamedUniqueTable)),
    duplicateKeyCaseName);

}  // namespace
