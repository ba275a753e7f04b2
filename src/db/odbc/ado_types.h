#pragma once
// The translation of an ODBC result column into an ADO type.

#include <QString>
#include <cstdint>

#include "db/values/ado_type.h"

namespace dorvane::db {

// Short names of the types a driver's column translates into.
namespace ado {
constexpr AdoType kSmallInt = AdoType::SmallInt, kInteger = AdoType::Integer,
                  kSingle = AdoType::Single, kDouble = AdoType::Double,
                  kCurrency = AdoType::Currency, kBoolean = AdoType::Boolean,
                  kTinyInt = AdoType::TinyInt, kUnsignedTinyInt = AdoType::UnsignedTinyInt,
                  kUnsignedSmallInt = AdoType::UnsignedSmallInt,
                  kUnsignedInt = AdoType::UnsignedInt, kBigInt = AdoType::BigInt,
                  kUnsignedBigInt = AdoType::UnsignedBigInt, kGuid = AdoType::Guid,
                  kBinary = AdoType::Binary, kChar = AdoType::Char, kWChar = AdoType::WChar,
                  kNumeric = AdoType::Numeric, kDBDate = AdoType::DBDate, kDBTime = AdoType::DBTime,
                  kDBTimeStamp = AdoType::DBTimeStamp, kVarChar = AdoType::VarChar,
                  kLongVarChar = AdoType::LongVarChar, kVarWChar = AdoType::VarWChar,
                  kLongVarWChar = AdoType::LongVarWChar, kVarBinary = AdoType::VarBinary,
                  kLongVarBinary = AdoType::LongVarBinary;
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
    AdoType adoType = AdoType::Empty;
    int precision = 0;
    int scale = 0;
    FetchKind fetch = FetchKind::Text;
    friend bool operator==(const ColumnType&, const ColumnType&) = default;
};

ColumnType translateColumnType(const OdbcColumn& column);

}  // namespace dorvane::db
