// Each common column type of both servers: its ADO code, precision and scale, and a
// value of it read back exactly (and NULL as NULL).
#include <cctype>

#include "db/odbc/ado_types.h"
#include "db/odbc/recordset.h"
#include "server_fixture.h"
#include "sql/general_value_text.h"

namespace dorvane::testing {
namespace {

using db::Value;
namespace ado = db::ado;

struct TypeCase {
    DbServer server;
    const char* declaration;
    const char* literal;
    db::AdoType adoType;
    int precision;
    int scale;
    db::Value expected;
    const char* typeName = nullptr;  // the driver's name of the type, where checked
};

void PrintTo(const TypeCase& c, std::ostream* os) {
    *os << c.declaration;
}

db::DateTimeParts at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ns = 0) {
    return {y, mo, d, h, mi, s, ns};
}
db::DateTimeParts clock(int h, int mi, int s, int ns = 0) {
    return {0, 0, 0, h, mi, s, ns};
}
db::Value text(const char* s) {
    return db::Value::text(QString::fromUtf8(s));
}
db::Value digits(const char* s) {
    return db::Value::decimal(QString::fromLatin1(s));
}
db::Value bytes(const char* hex) {
    return db::Value::binary(QByteArray::fromHex(hex));
}

constexpr DbServer PG = DbServer::Postgres;
constexpr DbServer MS = DbServer::Mssql;

const TypeCase kCases[] = {
    {PG, "int2", "-32768", ado::kSmallInt, 0, 0, db::Value::integer(-32768)},
    {PG, "int4", "2147483647", ado::kInteger, 0, 0, db::Value::integer(2147483647), "int4"},
    {PG, "int8", "-9223372036854775807", ado::kBigInt, 0, 0,
     db::Value::integer(-9223372036854775807)},
    {PG, "numeric(10,2)", "-12345678.90", ado::kNumeric, 10, 2, digits("-12345678.90")},
    {PG, "float4", "0.1", ado::kSingle, 0, 0, db::Value::single(0.1f)},
    {PG, "float8", "0.1", ado::kDouble, 0, 0, db::Value::dbl(0.1)},
    {PG, "money", "-1234567.89", ado::kCurrency, 19, 4, digits("-1234567.89")},
    {PG, "bool", "true", ado::kBoolean, 0, 0, db::Value::boolean(true)},
    {PG, "text", "'two\nlines'", ado::kLongVarWChar, 0, 0, text("two\nlines")},
    {PG, "varchar(20)", "'abc'", ado::kVarWChar, 20, 0, text("abc"), "varchar"},
    {PG, "bpchar(3)", "'ab'", ado::kWChar, 3, 0, text("ab ")},
    {PG, "bytea", "'\\x00ff10'", ado::kLongVarBinary, 0, 0, bytes("00ff10")},
    {PG, "date", "'2024-02-29'", ado::kDBDate, 0, 0, db::Value::date(at(2024, 2, 29)), "date"},
    {PG, "time", "'13:14:15.123456'", ado::kDBTime, 0, 0,
     db::Value::time(clock(13, 14, 15, 123456000))},
    {PG, "timestamp", "'2024-02-29 13:14:15.123456'", ado::kDBTimeStamp, 0, 0,
     db::Value::timestamp(at(2024, 2, 29, 13, 14, 15, 123456000))},
    {PG, "timestamptz", "'2024-02-29 13:14:15.5'", ado::kDBTimeStamp, 0, 0,
     db::Value::timestamp(at(2024, 2, 29, 13, 14, 15, 500000000)), "timestamptz"},
    // Bit strings have no counterpart: their text, never a boolean.
    {PG, "bit(5)", "B'10000'", ado::kVarChar, 0, 0, text("10000")},
    // varbit is one of the types psqlODBC names "unknown" and reports as text.
    {PG, "varbit", "B'00001'", ado::kVarWChar, 255, 0, text("00001")},
    // psqlODBC writes uuids in upper case.
    {PG, "uuid", "'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11'", ado::kGuid, 0, 0,
     db::Value::guid(QStringLiteral("A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11"))},

    {MS, "int", "-2147483648", ado::kInteger, 0, 0, db::Value::integer(-2147483647 - 1), "int"},
    {MS, "bigint", "9223372036854775807", ado::kBigInt, 0, 0,
     db::Value::integer(9223372036854775807)},
    {MS, "smallint", "-32768", ado::kSmallInt, 0, 0, db::Value::integer(-32768)},
    {MS, "tinyint", "255", ado::kUnsignedTinyInt, 0, 0, db::Value::integer(255)},
    {MS, "bit", "1", ado::kBoolean, 0, 0, db::Value::boolean(true)},
    {MS, "decimal(10,2)", "-12345678.90", ado::kNumeric, 10, 2, digits("-12345678.90")},
    {MS, "numeric(18,4)", "12.5", ado::kNumeric, 18, 4, digits("12.5000")},
    {MS, "money", "-1234567.89", ado::kCurrency, 19, 4, digits("-1234567.8900")},
    {MS, "smallmoney", "12.5", ado::kCurrency, 10, 4, digits("12.5000")},
    {MS, "float", "0.1", ado::kDouble, 0, 0, db::Value::dbl(0.1)},
    {MS, "real", "0.1", ado::kSingle, 0, 0, db::Value::single(0.1f)},
    {MS, "datetime", "'2024-02-29T13:14:15.123'", ado::kDBTimeStamp, 0, 0,
     db::Value::timestamp(at(2024, 2, 29, 13, 14, 15, 123000000)), "datetime"},
    {MS, "smalldatetime", "'2024-02-29T13:14:00'", ado::kDBTimeStamp, 0, 0,
     db::Value::timestamp(at(2024, 2, 29, 13, 14, 0))},
    {MS, "datetime2", "'2024-02-29T13:14:15.1234567'", ado::kDBTimeStamp, 0, 0,
     db::Value::timestamp(at(2024, 2, 29, 13, 14, 15, 123456700))},
    {MS, "date", "'2024-02-29'", ado::kDBDate, 0, 0, db::Value::date(at(2024, 2, 29))},
    {MS, "time", "'13:14:15.1234567'", ado::kDBTime, 0, 0,
     db::Value::time(clock(13, 14, 15, 123456700))},
    {MS, "char(4)", "'ab'", ado::kChar, 4, 0, text("ab  ")},
    {MS, "varchar(10)", "'abc'", ado::kVarChar, 10, 0, text("abc"), "varchar"},
    {MS, "varchar(max)", "'abc'", ado::kLongVarChar, 0, 0, text("abc")},
    {MS, "text", "'abc'", ado::kLongVarChar, 0, 0, text("abc")},
    {MS, "nchar(3)", "N'Ωa'", ado::kWChar, 3, 0, text("Ωa ")},
    {MS, "nvarchar(10)", "N'中文'", ado::kVarWChar, 10, 0, text("中文"), "nvarchar"},
    {MS, "nvarchar(max)", "N'😀'", ado::kLongVarWChar, 0, 0, text("😀")},
    {MS, "ntext", "N'Ω'", ado::kLongVarWChar, 0, 0, text("Ω")},
    {MS, "xml", "N'<a>x</a>'", ado::kLongVarWChar, 0, 0, text("<a>x</a>")},
    {MS, "binary(3)", "0x00FF10", ado::kBinary, 3, 0, bytes("00ff10")},
    {MS, "varbinary(10)", "0x00FF10", ado::kVarBinary, 10, 0, bytes("00ff10")},
    {MS, "varbinary(max)", "0x00FF10", ado::kLongVarBinary, 0, 0, bytes("00ff10")},
    {MS, "image", "0x00FF10", ado::kLongVarBinary, 0, 0, bytes("00ff10")},
    {MS, "uniqueidentifier", "'6F9619FF-8B86-D011-B42D-00C04FC964FF'", ado::kGuid, 0, 0,
     db::Value::guid(QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF"))},
};

class DbColumnTypeCase : public ::testing::TestWithParam<TypeCase> {};

TEST_P(DbColumnTypeCase, ReportsTypeAndReadsValueBack) {
    const TypeCase& c = GetParam();
    if (c.server == MS && !mssqlAvailable()) GTEST_SKIP() << "no SQL Server in this run";
    db::Connection conn;
    conn.open(connectionStringFor(c.server));
    const ScratchTable table(conn, QStringLiteral("typed"),
                             QStringLiteral("id int, c ") + QString::fromLatin1(c.declaration));
    conn.execute(QStringLiteral("INSERT INTO %1 VALUES (1, %2), (2, NULL)")
                     .arg(table.name(), QString::fromUtf8(c.literal)));
    db::Recordset rs = conn.query(selectAllSql(c.server, table.name()));
    ASSERT_EQ(rs.fieldCount(), 2);
    EXPECT_EQ(rs.field(1).name, QStringLiteral("c"));
    EXPECT_EQ(rs.field(1).adoType, c.adoType);
    EXPECT_EQ(rs.field(1).precision, c.precision);
    EXPECT_EQ(rs.field(1).scale, c.scale);
    if (c.typeName) {
        EXPECT_EQ(rs.field(1).typeName, QString::fromLatin1(c.typeName));
    }
    EXPECT_EQ(rs.field(0).typeName,
              c.server == PG ? QStringLiteral("int4") : QStringLiteral("int"));
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.value(1), c.expected) << "read " << sql::valueText(rs.value(1)).toStdString()
                                       << ", expected " << sql::valueText(c.expected).toStdString();
    rs.moveNext();
    EXPECT_TRUE(rs.value(QStringLiteral("C")).isNull());
}

INSTANTIATE_TEST_SUITE_P(Cases, DbColumnTypeCase, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             std::string name = (info.param.server == PG ? "Postgres_" : "Mssql_") +
                                                std::string(info.param.declaration);
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

}  // namespace
}  // namespace dorvane::testing
