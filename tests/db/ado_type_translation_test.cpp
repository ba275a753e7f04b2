// The column type translation, row by row, with the reports psqlODBC and FreeTDS give.
#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

#include "db/odbc/ado_types.h"

namespace dorvane::db {
namespace {

struct TranslationRow {
    const char* label;
    db::OdbcColumn column;
    db::ColumnType expected;
};

void PrintTo(const TranslationRow& row, std::ostream* os) {
    *os << row.label;
}

db::OdbcColumn col(int sqlType, const char* typeName, std::uint64_t size = 10, int digits = 0,
                   bool isUnsigned = false) {
    return {sqlType, QString::fromLatin1(typeName), size, digits, isUnsigned};
}

using F = db::FetchKind;
const TranslationRow kRows[] = {
    // psqlODBC
    {"pg_int2", col(SQL_SMALLINT, "int2", 5), {ado::kSmallInt, 0, 0, F::Integer}},
    {"pg_int4", col(SQL_INTEGER, "int4", 10), {ado::kInteger, 0, 0, F::Integer}},
    {"pg_int8", col(SQL_BIGINT, "int8", 19), {ado::kBigInt, 0, 0, F::Integer}},
    {"pg_numeric", col(SQL_NUMERIC, "numeric", 10, 2), {ado::kNumeric, 10, 2, F::Decimal}},
    {"pg_float4", col(SQL_REAL, "float4", 7), {ado::kSingle, 0, 0, F::Single}},
    {"pg_float8", col(SQL_FLOAT, "float8", 15), {ado::kDouble, 0, 0, F::Double}},
    {"pg_money_as_float", col(SQL_FLOAT, "money", 15), {ado::kCurrency, 19, 4, F::Money}},
    {"pg_bool_as_char", col(SQL_VARCHAR, "bool", 5), {ado::kBoolean, 0, 0, F::Boolean}},
    {"pg_bool_as_wchar", col(SQL_WVARCHAR, "bool", 5), {ado::kBoolean, 0, 0, F::Boolean}},
    {"pg_bool_as_bit", col(SQL_BIT, "bool", 1), {ado::kBoolean, 0, 0, F::Boolean}},
    {"pg_text", col(SQL_WLONGVARCHAR, "text", 8190), {ado::kLongVarWChar, 0, 0, F::Text}},
    {"pg_varchar", col(SQL_WVARCHAR, "varchar", 20), {ado::kVarWChar, 20, 0, F::Text}},
    {"pg_bpchar", col(SQL_WCHAR, "bpchar", 3), {ado::kWChar, 3, 0, F::Text}},
    {"pg_bytea_varbinary",
     col(SQL_VARBINARY, "bytea", 255),
     {ado::kLongVarBinary, 0, 0, F::Binary}},
    {"pg_date", col(SQL_TYPE_DATE, "date"), {ado::kDBDate, 0, 0, F::Date}},
    {"pg_time", col(SQL_TYPE_TIME, "time"), {ado::kDBTime, 0, 0, F::Time}},
    {"pg_timestamptz",
     col(SQL_TYPE_TIMESTAMP, "timestamptz"),
     {ado::kDBTimeStamp, 0, 0, F::Timestamp}},
    {"pg_uuid", col(SQL_GUID, "uuid", 37), {ado::kGuid, 0, 0, F::Guid}},
    {"pg_interval_unknown",
     col(SQL_INTERVAL_DAY_TO_SECOND, "interval", 25),
     {ado::kVarWChar, 25, 0, F::Text}},
    // FreeTDS
    {"ms_tinyint_unsigned",
     col(SQL_TINYINT, "tinyint", 3, 0, true),
     {ado::kUnsignedTinyInt, 0, 0, F::Integer}},
    {"signed_tinyint", col(SQL_TINYINT, "tinyint", 3), {ado::kTinyInt, 0, 0, F::Integer}},
    {"unsigned_bigint_as_digits",
     col(SQL_BIGINT, "bigint", 20, 0, true),
     {ado::kUnsignedBigInt, 20, 0, F::Decimal}},
    {"ms_bit", col(SQL_BIT, "bit", 1), {ado::kBoolean, 0, 0, F::Boolean}},
    {"ms_decimal", col(SQL_DECIMAL, "decimal", 18, 4), {ado::kNumeric, 18, 4, F::Decimal}},
    {"ms_money_as_decimal", col(SQL_DECIMAL, "money", 19, 4), {ado::kCurrency, 19, 4, F::Money}},
    {"ms_smallmoney", col(SQL_DECIMAL, "smallmoney", 10, 4), {ado::kCurrency, 10, 4, F::Money}},
    {"ms_nullable_smallmoney", col(SQL_DECIMAL, "money", 10, 4), {ado::kCurrency, 10, 4, F::Money}},
    {"pg_money_size_10_float", col(SQL_FLOAT, "money", 10), {ado::kCurrency, 19, 4, F::Money}},
    {"ms_float", col(SQL_FLOAT, "float", 53), {ado::kDouble, 0, 0, F::Double}},
    {"ms_real", col(SQL_REAL, "real", 24), {ado::kSingle, 0, 0, F::Single}},
    {"ms_datetime",
     col(SQL_TYPE_TIMESTAMP, "datetime", 23, 3),
     {ado::kDBTimeStamp, 0, 0, F::Timestamp}},
    {"ms_time2", col(-154, "time", 16, 7), {ado::kDBTime, 0, 0, F::Time}},
    {"ms_char", col(SQL_CHAR, "char", 4), {ado::kChar, 4, 0, F::Text}},
    {"ms_varchar", col(SQL_VARCHAR, "varchar", 30), {ado::kVarChar, 30, 0, F::Text}},
    {"ms_varchar_max", col(SQL_VARCHAR, "varchar", 0), {ado::kLongVarChar, 0, 0, F::Text}},
    {"ms_text", col(SQL_LONGVARCHAR, "text", 2147483647), {ado::kLongVarChar, 0, 0, F::Text}},
    {"ms_nchar", col(SQL_WCHAR, "nchar", 2), {ado::kWChar, 2, 0, F::Text}},
    {"ms_nvarchar", col(SQL_WVARCHAR, "nvarchar", 40), {ado::kVarWChar, 40, 0, F::Text}},
    {"ms_nvarchar_max", col(SQL_WVARCHAR, "nvarchar", 0), {ado::kLongVarWChar, 0, 0, F::Text}},
    {"ms_ntext", col(SQL_WLONGVARCHAR, "ntext", 1073741823), {ado::kLongVarWChar, 0, 0, F::Text}},
    {"ms_xml", col(-152, "xml", 0), {ado::kLongVarWChar, 0, 0, F::Text}},
    {"ms_binary", col(SQL_BINARY, "binary", 16), {ado::kBinary, 16, 0, F::Binary}},
    {"ms_varbinary", col(SQL_VARBINARY, "varbinary", 50), {ado::kVarBinary, 50, 0, F::Binary}},
    {"ms_varbinary_max",
     col(SQL_VARBINARY, "varbinary", 0),
     {ado::kLongVarBinary, 0, 0, F::Binary}},
    {"ms_image",
     col(SQL_LONGVARBINARY, "image", 2147483647),
     {ado::kLongVarBinary, 0, 0, F::Binary}},
    {"ms_uniqueidentifier", col(SQL_GUID, "uniqueidentifier", 36), {ado::kGuid, 0, 0, F::Guid}},
};

class DbTypeTranslation : public ::testing::TestWithParam<TranslationRow> {};

TEST_P(DbTypeTranslation, GivesAdoCodeSizeAndFetchKind) {
    const db::ColumnType got = db::translateColumnType(GetParam().column);
    EXPECT_EQ(got.adoType, GetParam().expected.adoType);
    EXPECT_EQ(got.precision, GetParam().expected.precision);
    EXPECT_EQ(got.scale, GetParam().expected.scale);
    EXPECT_EQ(got.fetch, GetParam().expected.fetch);
}

INSTANTIATE_TEST_SUITE_P(Rows, DbTypeTranslation, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace dorvane::db
