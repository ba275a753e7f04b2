#include "column_description.hpp"

namespace standin {
namespace {

// ODBC type codes, SQL Server's own among them.
constexpr int kChar = 1, kNumeric = 2, kDecimal = 3, kInteger = 4, kSmallInt = 5, kFloat = 6,
              kReal = 7, kDateTime = 9, kVarChar = 12, kTypeDate = 91, kTypeTimestamp = 93,
              kLongVarChar = -1, kBinary = -2, kVarBinary = -3, kLongVarBinary = -4, kBigInt = -5,
              kTinyInt = -6, kBit = -7, kWChar = -8, kWVarChar = -9, kWLongVarChar = -10,
              kGuid = -11, kSsXml = -152, kSsTime2 = -154, kSsTimestampOffset = -155;
// ODBC 2 codes for the date and time types.
constexpr int kOdbc2Date = 9, kOdbc2Timestamp = 11;
constexpr int kCodeDate = 1, kCodeTimestamp = 3;
constexpr int64_t kLongLength = 2147483647;

// The type's TDS code in SS_DATA_TYPE: that of a nullable column.
int ssDataType(SqlType t) {
    switch (t) {
        case SqlType::TinyInt:
        case SqlType::SmallInt:
        case SqlType::Int:
        case SqlType::BigInt:
            return 38;
        case SqlType::Bit:
            return 50;
        case SqlType::Decimal:
            return 106;
        case SqlType::Numeric:
            return 108;
        case SqlType::Money:
        case SqlType::SmallMoney:
            return 110;
        case SqlType::Float:
        case SqlType::Real:
            return 109;
        case SqlType::DateTime:
        case SqlType::SmallDateTime:
            return 111;
        case SqlType::Char:
        case SqlType::VarChar:
        case SqlType::NChar:
        case SqlType::NVarChar:
            return 39;
        case SqlType::Text:
        case SqlType::NText:
            return 35;
        case SqlType::Binary:
        case SqlType::VarBinary:
        case SqlType::UniqueIdentifier:
            return 37;
        case SqlType::Image:
            return 34;
        default:
            return 0;  // date, time, datetime2, datetimeoffset, xml
    }
}

// Exact numbers: precision, length in bytes, scale, radix 10.
void exact(ColumnDescription& d, int code, int64_t precision, int64_t length, int scale) {
    d.dataType = d.sqlDataType = code;
    d.precision = precision;
    d.length = length;
    d.scale = scale;
    d.radix = 10;
}

// Characters and bytes: the declared length, or 0 for (max) as SQL Server reports it.
void sized(ColumnDescription& d, int code, const DeclaredType& t, int bytesPerUnit) {
    d.dataType = d.sqlDataType = code;
    d.precision = t.isMax() ? 0 : t.length;
    d.length = t.isMax() ? 0 : int64_t{t.length} * bytesPerUnit;
    d.charOctetLength = d.length;
}

void fixedSize(ColumnDescription& d, int code, int64_t precision, int64_t length) {
    d.dataType = d.sqlDataType = code;
    d.precision = precision;
    d.length = length;
}

// Date and time types: characters of the text form with `scale` fraction digits.
int withFraction(int baseWidth, int scale) {
    return scale == 0 ? baseWidth : baseWidth + 1 + scale;
}

}  // namespace

ColumnDescription describeColumn(const CatalogueColumn& column, int odbcVersion) {
    const DeclaredType& t = column.type;
    ColumnDescription d;
    d.typeName = t.keyword();
    d.ssDataType = ssDataType(t.type);
    switch (t.type) {
        case SqlType::TinyInt:
            exact(d, kTinyInt, 3, 1, 0);
            break;
        case SqlType::SmallInt:
            exact(d, kSmallInt, 5, 2, 0);
            break;
        case SqlType::Int:
            exact(d, kInteger, 10, 4, 0);
            break;
        case SqlType::BigInt:
            exact(d, kBigInt, 19, 8, 0);
            break;
        case SqlType::Decimal:
            exact(d, kDecimal, t.precision, t.precision + 2, t.scale);
            break;
        case SqlType::Numeric:
            exact(d, kNumeric, t.precision, t.precision + 2, t.scale);
            break;
        case SqlType::Money:
            exact(d, kDecimal, 19, 21, 4);
            break;
        case SqlType::SmallMoney:
            exact(d, kDecimal, 10, 12, 4);
            break;
        case SqlType::Bit:
            fixedSize(d, kBit, 1, 1);
            break;
        case SqlType::Float:
            fixedSize(d, kFloat, 53, 8);
            d.radix = 2;
            break;
        case SqlType::Real:
            fixedSize(d, kReal, 24, 4);
            d.radix = 2;
            break;
        case SqlType::DateTime:
        case SqlType::SmallDateTime:
        case SqlType::DateTime2: {
            const bool classic = t.type != SqlType::DateTime2;
            const int scale = t.type == SqlType::DateTime ? 3 : classic ? 0 : t.scale;
            const int width = t.type == SqlType::DateTime        ? 23
                              : t.type == SqlType::SmallDateTime ? 16
                                                                 : withFraction(19, scale);
            fixedSize(d, kTypeTimestamp, width, 16);
            d.scale = scale;
            d.sqlDataType = kDateTime;
            d.dateTimeSub = kCodeTimestamp;
            if (odbcVersion < 3) d.dataType = kOdbc2Timestamp;
            break;
        }
        case SqlType::Date:
            fixedSize(d, kTypeDate, 10, 6);
            d.scale = 0;
            d.sqlDataType = kDateTime;
            d.dateTimeSub = kCodeDate;
            if (odbcVersion < 3) d.dataType = kOdbc2Date;
            break;
        case SqlType::Time:
            fixedSize(d, kSsTime2, withFraction(8, t.scale), 10);
            d.scale = t.scale;
            break;
        case SqlType::DateTimeOffset:
            fixedSize(d, kSsTimestampOffset, withFraction(26, t.scale), 20);
            d.scale = t.scale;
            break;
        case SqlType::Char:
            sized(d, kChar, t, 1);
            break;
        case SqlType::VarChar:
            sized(d, kVarChar, t, 1);
            break;
        case SqlType::NChar:
            sized(d, kWChar, t, 2);
            break;
        case SqlType::NVarChar:
            sized(d, kWVarChar, t, 2);
            break;
        case SqlType::Binary:
            sized(d, kBinary, t, 1);
            break;
        case SqlType::VarBinary:
            sized(d, kVarBinary, t, 1);
            break;
        case SqlType::Text:
            fixedSize(d, kLongVarChar, kLongLength, kLongLength);
            d.charOctetLength = kLongLength;
            break;
        case SqlType::NText:
            fixedSize(d, kWLongVarChar, kLongLength / 2, kLongLength - 1);
            d.charOctetLength = kLongLength - 1;
            break;
        case SqlType::Image:
            fixedSize(d, kLongVarBinary, kLongLength, kLongLength);
            d.charOctetLength = kLongLength;
            break;
        case SqlType::UniqueIdentifier:
            fixedSize(d, kGuid, 36, 16);
            break;
        case SqlType::Xml:
            fixedSize(d, kSsXml, 0, 0);
            d.charOctetLength = 0;
            break;
    }
    if (column.identity) {
        const bool decimal = t.type == SqlType::Decimal || t.type == SqlType::Numeric;
        d.typeName += decimal ? "() identity" : " identity";
    }
    return d;
}

}  // namespace standin
