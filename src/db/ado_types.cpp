#include "db/ado_types.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace dorvane::db {
namespace {

// SQL Server types FreeTDS reports with codes of its own (from Microsoft's sqlncli.h).
constexpr int kSqlSsXml = -152;
constexpr int kSqlSsTime2 = -154;
constexpr int kSqlSsTimestampOffset = -155;

struct TypeRow {
    int sqlType;
    std::int16_t adoType;
    std::int16_t unsignedAdoType;  // 0: same as adoType
    std::int16_t maxAdoType;       // for column size 0, the (max) types; 0: same as adoType
    FetchKind fetch;
};

//  ODBC SQL type            ADO type         unsigned          size 0 (max)     fetched as
//  SQL_BIT                  Boolean                                              Boolean
//  SQL_TINYINT              TinyInt          UnsignedTinyInt                     Integer
//  SQL_SMALLINT             SmallInt         UnsignedSmallInt                    Integer
//  SQL_INTEGER              Integer          UnsignedInt                         Integer
//  SQL_BIGINT               BigInt           UnsignedBigInt                      Integer
//  SQL_DECIMAL, SQL_NUMERIC Numeric                                              Decimal
//  SQL_REAL                 Single                                               Single
//  SQL_FLOAT, SQL_DOUBLE    Double                                               Double
//  SQL_(TYPE_)DATE          DBDate                                               Date
//  SQL_(TYPE_)TIME, TIME2   DBTime                                               Time
//  SQL_(TYPE_)TIMESTAMP     DBTimeStamp                                          Timestamp
//  SQL_GUID                 GUID                                                 Guid
//  SQL_CHAR                 Char                                                 Text
//  SQL_VARCHAR              VarChar                            LongVarChar       Text
//  SQL_LONGVARCHAR          LongVarChar                                          Text
//  SQL_WCHAR                WChar                                                Text
//  SQL_WVARCHAR             VarWChar                           LongVarWChar      Text
//  SQL_WLONGVARCHAR, XML    LongVarWChar                                         Text
//  SQL_BINARY               Binary                                               Binary
//  SQL_VARBINARY            VarBinary                          LongVarBinary     Binary
//  SQL_LONGVARBINARY        LongVarBinary                                        Binary
//  anything else            VarWChar                                             Text
// Refined by the server's type name where the SQL type misleads:
//  money, smallmoney        Currency, precision 19/10, scale 4                   Money
//    (psqlODBC says FLOAT, FreeTDS says DECIMAL and names a nullable smallmoney "money")
//  bool                     Boolean (psqlODBC says VARCHAR, or BIT)              Boolean
//  bytea                    LongVarBinary (psqlODBC says VARBINARY or LONGVARBINARY)
//  bit strings              VarChar, no declared length                          Text
//    (psqlODBC names bit and varbit "unknown", and says BIT for bit(5))
constexpr std::array kTypeRows{
    TypeRow{SQL_BIT, ado::kBoolean, 0, 0, FetchKind::Boolean},
    TypeRow{SQL_TINYINT, ado::kTinyInt, ado::kUnsignedTinyInt, 0, FetchKind::Integer},
    TypeRow{SQL_SMALLINT, ado::kSmallInt, ado::kUnsignedSmallInt, 0, FetchKind::Integer},
    TypeRow{SQL_INTEGER, ado::kInteger, ado::kUnsignedInt, 0, FetchKind::Integer},
    // An unsigned 64-bit value may not fit SQL_C_SBIGINT: fetched as digits.
    TypeRow{SQL_BIGINT, ado::kBigInt, ado::kUnsignedBigInt, 0, FetchKind::Integer},
    TypeRow{SQL_DECIMAL, ado::kNumeric, 0, 0, FetchKind::Decimal},
    TypeRow{SQL_NUMERIC, ado::kNumeric, 0, 0, FetchKind::Decimal},
    TypeRow{SQL_REAL, ado::kSingle, 0, 0, FetchKind::Single},
    TypeRow{SQL_FLOAT, ado::kDouble, 0, 0, FetchKind::Double},
    TypeRow{SQL_DOUBLE, ado::kDouble, 0, 0, FetchKind::Double},
    TypeRow{SQL_TYPE_DATE, ado::kDBDate, 0, 0, FetchKind::Date},
    TypeRow{SQL_DATE, ado::kDBDate, 0, 0, FetchKind::Date},
    TypeRow{SQL_TYPE_TIME, ado::kDBTime, 0, 0, FetchKind::Time},
    TypeRow{SQL_TIME, ado::kDBTime, 0, 0, FetchKind::Time},
    TypeRow{kSqlSsTime2, ado::kDBTime, 0, 0, FetchKind::Time},
    TypeRow{SQL_TYPE_TIMESTAMP, ado::kDBTimeStamp, 0, 0, FetchKind::Timestamp},
    TypeRow{SQL_TIMESTAMP, ado::kDBTimeStamp, 0, 0, FetchKind::Timestamp},
    TypeRow{SQL_GUID, ado::kGuid, 0, 0, FetchKind::Guid},
    TypeRow{SQL_CHAR, ado::kChar, 0, 0, FetchKind::Text},
    TypeRow{SQL_VARCHAR, ado::kVarChar, 0, ado::kLongVarChar, FetchKind::Text},
    TypeRow{SQL_LONGVARCHAR, ado::kLongVarChar, 0, 0, FetchKind::Text},
    TypeRow{SQL_WCHAR, ado::kWChar, 0, 0, FetchKind::Text},
    TypeRow{SQL_WVARCHAR, ado::kVarWChar, 0, ado::kLongVarWChar, FetchKind::Text},
    TypeRow{SQL_WLONGVARCHAR, ado::kLongVarWChar, 0, 0, FetchKind::Text},
    TypeRow{kSqlSsXml, ado::kLongVarWChar, 0, 0, FetchKind::Text},
    TypeRow{SQL_BINARY, ado::kBinary, 0, 0, FetchKind::Binary},
    TypeRow{SQL_VARBINARY, ado::kVarBinary, 0, ado::kLongVarBinary, FetchKind::Binary},
    TypeRow{SQL_LONGVARBINARY, ado::kLongVarBinary, 0, 0, FetchKind::Binary},
    // datetimeoffset has no ADO date type: its text keeps the offset.
    TypeRow{kSqlSsTimestampOffset, ado::kVarWChar, 0, 0, FetchKind::OffsetTimestamp},
};

// A PostgreSQL bit string: psqlODBC knows no name for bit and varbit ("unknown") and
// reports bit(5) as BIT, whose values would read as booleans. A boolean is always named.
bool isBitString(const QString& lowerName, int sqlType) {
    return lowerName == u"varbit" || lowerName == u"bit varying" ||
           (lowerName == u"unknown" && sqlType == SQL_BIT);
}

bool isExactNumber(FetchKind fetch) {
    return fetch == FetchKind::Decimal;
}

bool isLong(std::int16_t adoType) {
    return adoType == ado::kLongVarChar || adoType == ado::kLongVarWChar ||
           adoType == ado::kLongVarBinary;
}

}  // namespace

ColumnType translateColumnType(const OdbcColumn& column) {
    const QString name = column.typeName.trimmed().toLower();
    // FreeTDS names a nullable smallmoney column "money"; its size of 10 digits tells.
    if (name == u"smallmoney" ||
        (name == u"money" && column.sqlType == SQL_DECIMAL && column.columnSize == 10))
        return {ado::kCurrency, 10, 4, FetchKind::Money};
    if (name == u"money") return {ado::kCurrency, 19, 4, FetchKind::Money};
    if (name == u"bool" || name == u"boolean") return {ado::kBoolean, 0, 0, FetchKind::Boolean};
    if (name == u"bytea") return {ado::kLongVarBinary, 0, 0, FetchKind::Binary};
    if (isBitString(name, column.sqlType)) return {ado::kVarChar, 0, 0, FetchKind::Text};

    ColumnType result{ado::kVarWChar, 0, 0, FetchKind::Text};
    for (const TypeRow& row : kTypeRows) {
        if (row.sqlType != column.sqlType) continue;
        result.adoType = row.adoType;
        result.fetch = row.fetch;
        if (column.isUnsigned && row.unsignedAdoType != 0) result.adoType = row.unsignedAdoType;
        if (column.columnSize == 0 && row.maxAdoType != 0) result.adoType = row.maxAdoType;
        break;
    }
    if (result.adoType == ado::kUnsignedBigInt) result.fetch = FetchKind::Decimal;
    if (isExactNumber(result.fetch)) {
        result.precision = static_cast<int>(column.columnSize);
        result.scale = column.decimalDigits;
    } else if (isLong(result.adoType)) {
        result.precision = 0;  // no declared length: drivers report a nominal maximum
    } else if (result.fetch == FetchKind::Text || result.fetch == FetchKind::Binary) {
        result.precision = static_cast<int>(std::min<std::uint64_t>(column.columnSize, INT32_MAX));
    }
    return result;
}

}  // namespace dorvane::db
