#pragma once

#include "byte_buffer.hpp"

#include <optional>
#include <string>
#include <vector>

namespace standin {

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

bool isUnicodeType(SqlType t);

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
