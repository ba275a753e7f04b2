#pragma once

#include "byte_buffer.hpp"

#include <optional>
#include <string>
#include <vector>

namespace standin {

// TDS data type numbers, as COLMETADATA names them.
namespace tds {
constexpr uint8_t kIntN = 0x26, kBitN = 0x68, kDecimalN = 0x6A, kNumericN = 0x6C, kMoneyN = 0x6E,
                  kFloatN = 0x6D, kDateTimeN = 0x6F, kDate = 0x28, kTime = 0x29, kDateTime2 = 0x2A,
                  kDateTimeOffset = 0x2B, kBigChar = 0xAF, kBigVarChar = 0xA7, kText = 0x23,
                  kNChar = 0xEF, kNVarChar = 0xE7, kNText = 0x63, kBigBinary = 0xAD,
                  kBigVarBinary = 0xA5, kImage = 0x22, kGuid = 0x24, kXml = 0xF1;
constexpr uint16_t kPlpMarker = 0xFFFF;
}  // namespace tds

enum class SqlType {
    TinyInt,
    SmallInt,
    Int,
    BigInt,
    Bit,
    Decimal,
    Numeric,
    Money,
    SmallMoney,
    Float,
    Real,
    DateTime,
    SmallDateTime,
    DateTime2,
    Date,
    Time,
    DateTimeOffset,
    Char,
    VarChar,
    Text,
    NChar,
    NVarChar,
    NText,
    Binary,
    VarBinary,
    Image,
    UniqueIdentifier,
    Xml
};

// A column type as declared in CREATE TABLE; PostgreSQL cannot tell these apart, so the
// stand-in keeps them in its side catalogue.
struct DeclaredType {
    static constexpr int kMax = -1;

    SqlType type = SqlType::Int;
    int length = 0;     // characters (char, nchar) or bytes (binary); kMax for (max)
    int precision = 0;  // decimal, numeric, float
    int scale = 0;      // decimal, numeric, time, datetime2

    bool isMax() const { return length == kMax; }
    // The type as SQL Server names it in messages, e.g. "varchar(10)" or "int".
    std::string displayName() const;
    // The lowercase keyword, as kept in the side catalogue.
    std::string keyword() const;
};

// IDENTITY [(seed, increment)] of a column; both are 1 when not written.
struct IdentityProperty {
    int64_t seed = 1;
    int64_t increment = 1;
};

bool isUnicodeType(SqlType t);
// char, varchar, nchar and nvarchar: compared under the database collation.
bool isCharacterType(SqlType t);

// Builds a declared type from its name and parenthesised arguments ("max" is passed as
// kMax); throws the SqlError SQL Server raises for unknown types or bad arguments.
DeclaredType declareType(const std::string& name, const std::vector<int>& args, int columnOrdinal,
                         const std::string& columnName);
DeclaredType typeFromCatalogue(const std::string& keyword, int length, int precision, int scale);

// The PostgreSQL column type that holds the values without loss.
std::string backendStorageType(const DeclaredType& t);

// TYPE_INFO of COLMETADATA for the type; text types also name their table.
void writeTypeInfo(ByteWriter& out, const DeclaredType& t, const std::u16string& tableName);

// The database collation as the five bytes of a TDS collation.
const Bytes& collationBytes();

}  // namespace standin
