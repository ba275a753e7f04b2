#include "db/odbc/ado_types.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace dorvane::db {
namespace {

using enum AdoType;
// In the unsigned and (max) columns: the type is the same as the first.
constexpr AdoType kSame = Empty;

// SQL Server types FreeTDS reports with codes of its own (from Microsoft's sqlncli.h).
constexpr int kSqlSsXml = -152;
constexpr int kSqlSsTime2 = -154;
constexpr int kSqlSsTimestampOffset = -155;

struct TypeRow {
    int sqlType;
    AdoType adoType;
    AdoType unsignedAdoType;  // Empty: same as adoType
    AdoType maxAdoType;       // for column size 0, the (max) types; Empty: same as adoType
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
    TypeRow{SQL_BIT, Boolean, kSame, kSame, FetchKind::Boolean},
    TypeRow{SQL_TINYINT, TinyInt, UnsignedTinyInt, kSame, FetchKind::Integer},
    TypeRow{SQL_SMALLINT, SmallInt, UnsignedSmallInt, kSame, FetchKind::Integer},
    TypeRow{SQL_INTEGER, Integer, UnsignedInt, kSame, FetchKind::Integer},
    // An unsigned 64-bit value may not fit SQL_C_SBIGINT: fetched as digits.
    TypeRow{SQL_BIGINT, BigInt, UnsignedBigInt, kSame, FetchKind::Integer},
    TypeRow{SQL_DECIMAL, Numeric, kSame, kSame, FetchKind::Decimal},
    TypeRow{SQL_NUMERIC, Numeric, kSame, kSame, FetchKind::Decimal},
    TypeRow{SQL_REAL, Single, kSame, kSame, FetchKind::Single},
    TypeRow{SQL_FLOAT, Double, kSame, kSame, FetchKind::Double},
    TypeRow{SQL_DOUBLE, Double, kSame, kSame, FetchKind::Double},
    TypeRow{SQL_TYPE_DATE, DBDate, kSame, kSame, FetchKind::Date},
    TypeRow{SQL_DATE, DBDate, kSame, kSame, FetchKind::Date},
    TypeRow{SQL_TYPE_TIME, DBTime, kSame, kSame, FetchKind::Time},
    TypeRow{SQL_TIME, DBTime, kSame, kSame, FetchKind::Time},
    TypeRow{kSqlSsTime2, DBTime, kSame, kSame, FetchKind::Time},
    TypeRow{SQL_TYPE_TIMESTAMP, DBTimeStamp, kSame, kSame, FetchKind::Timestamp},
    TypeRow{SQL_TIMESTAMP, DBTimeStamp, kSame, kSame, FetchKind::Timestamp},
    TypeRow{SQL_GUID, Guid, kSame, kSame, FetchKind::Guid},
    TypeRow{SQL_CHAR, Char, kSame, kSame, FetchKind::Text},
    TypeRow{SQL_VARCHAR, VarChar, kSame, LongVarChar, FetchKind::Text},
    TypeRow{SQL_LONGVARCHAR, LongVarChar, kSame, kSame, FetchKind::Text},
    TypeRow{SQL_WCHAR, WChar, kSame, kSame, FetchKind::Text},
    TypeRow{SQL_WVARCHAR, VarWChar, kSame, LongVarWChar, FetchKind::Text},
    TypeRow{SQL_WLONGVARCHAR, LongVarWChar, kSame, kSame, FetchKind::Text},
    TypeRow{kSqlSsXml, LongVarWChar, kSame, kSame, FetchKind::Text},
    TypeRow{SQL_BINARY, Binary, kSame, kSame, FetchKind::Binary},
    TypeRow{SQL_VARBINARY, VarBinary, kSame, LongVarBinary, FetchKind::Binary},
    TypeRow{SQL_LONGVARBINARY, LongVarBinary, kSame, kSame, FetchKind::Binary},
    // datetimeoffset has no ADO date type: its text keeps the offset.
    TypeRow{kSqlSsTimestampOffset, VarWChar, kSame, kSame, FetchKind::OffsetTimestamp},
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

bool isLong(AdoType adoType) {
    return adoType == LongVarChar || adoType == LongVarWChar || adoType == LongVarBinary;
}

}  // namespace

ColumnType translateColumnType(const OdbcColumn& column) {
    const QString name = column.typeName.trimmed().toLower();
    // FreeTDS names a nullable smallmoney column "money"; its size of 10 digits tells.
    if (name == u"smallmoney" ||
        (name == u"money" && column.sqlType == SQL_DECIMAL && column.columnSize == 10))
        return {Currency, 10, 4, FetchKind::Money};
    if (name == u"money") return {Currency, 19, 4, FetchKind::Money};
    if (name == u"bool" || name == u"boolean") return {Boolean, 0, 0, FetchKind::Boolean};
    if (name == u"bytea") return {LongVarBinary, 0, 0, FetchKind::Binary};
    if (isBitString(name, column.sqlType)) return {VarChar, 0, 0, FetchKind::Text};

    ColumnType result{VarWChar, 0, 0, FetchKind::Text};
    for (const TypeRow& row : kTypeRows) {
        if (row.sqlType != column.sqlType) continue;
        result.adoType = row.adoType;
        result.fetch = row.fetch;
        if (column.isUnsigned && row.unsignedAdoType != kSame) result.adoType = row.unsignedAdoType;
        if (column.columnSize == 0 && row.maxAdoType != kSame) result.adoType = row.maxAdoType;
        break;
    }
    if (result.adoType == UnsignedBigInt) result.fetch = FetchKind::Decimal;
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
