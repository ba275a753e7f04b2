#pragma once
// ADO DataTypeEnum codes and the translation of an ODBC result column into one.

#include <QString>
#include <cstdint>

namespace dorvane::db {

namespace ado {
constexpr std::int16_t kSmallInt = 2, kInteger = 3, kSingle = 4, kDouble = 5, kCurrency = 6,
                       kBoolean = 11, kTinyInt = 16, kUnsignedTinyInt = 17, kUnsignedSmallInt = 18,
                       kUnsignedInt = 19, kBigInt = 20, kUnsignedBigInt = 21, kGuid = 72,
                       kBinary = 128, kChar = 129, kWChar = 130, kNumeric = 131, kDBDate = 133,
                       kDBTime = 134, kDBTimeStamp = 135, kVarChar = 200, kLongVarChar = 201,
                       kVarWChar = 202, kLongVarWChar = 203, kVarBinary = 204, kLongVarBinary = 205;
}  // namespace ado

// How a column's values are fetched and kept.
enum class FetchKind : std::uint8_t {
    Integer,    // SQL_C_SBIGINT
    Single,     // SQL_C_DOUBLE, kept at 4-byte width
    Double,     // SQL_C_DOUBLE
    Decimal,    // exact digits as text
    Money,      // text normalised to plain digits
    Boolean,    // SQL_C_BIT
    Date,       // SQL_C_TYPE_DATE
    Time,       // text parsed into parts (keeps the fraction drivers drop from SQL_C_TYPE_TIME)
    Timestamp,  // SQL_C_TYPE_TIMESTAMP
    // PostgreSQL's own text of a date or timestamp, cast so by the query (see
    // postgres_date_text.h): keeps what the driver's date structures lose.
    PostgresDate,
    PostgresTimestamp,
    // SQL Server's datetimeoffset as text, its year made four digits at least: FreeTDS
    // writes the year 1 as "1", which PostgreSQL would read as 2001.
    OffsetTimestamp,
    Binary,  // SQL_C_BINARY
    Guid,    // canonical text
    Text,    // SQL_C_WCHAR
};

// What the driver says about a result column.
struct OdbcColumn {
    int sqlType = 0;   // SQL_* type code
    QString typeName;  // SQL_DESC_TYPE_NAME, the server's name for the type
    std::uint64_t columnSize = 0;
    int decimalDigits = 0;
    bool isUnsigned = false;
};

struct ColumnType {
    std::int16_t adoType = 0;
    int precision = 0;
    int scale = 0;
    FetchKind fetch = FetchKind::Text;
    friend bool operator==(const ColumnType&, const ColumnType&) = default;
};

ColumnType translateColumnType(const OdbcColumn& column);

}  // namespace dorvane::db
