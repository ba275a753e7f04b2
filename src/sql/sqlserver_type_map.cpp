#include "sql/sqlserver_type_map.h"

#include <array>

namespace dorvane::sql::to_sqlserver {
namespace {

using enum db::AdoType;
using enum Size;
// The rules as R::Int and so on: several share a name with an ADO type.
using R = TypeRule;
using Row = TypeMapRow<CopyColumn>;

// Derived from the copy's original substring tests on the lower-cased ADO type name, in
// their order (see TypeRule): the rule each type fell to, and the column that rule wrote.
// Two rules came later: 64-bit integers need all their digits, where a FLOAT keeps only
// 53 bits; and SQL Server has no OLEOBJECT type, so a CREATE naming it could never succeed.
// The dialog offers SQL Server's real, float and exact numbers, keeping their precision
// where a bare NUMERIC would be read as NUMERIC(18,0) and round to whole numbers.
// Where the copy and the dialog disagree, the row says how: "FLOAT", the copy widens to
// FLOAT; "text", the copy keeps the values as VARCHAR(8000); "size", for a source of
// unknown size the copy writes (38,16) where the dialog gives the bare name; "sampled",
// the dialog sizes a VARCHAR by the first row's value (past 255 characters, TEXT);
// "TEXT", the dialog's long text type.
// clang-format off
constexpr std::array<Row, 39> kTypeMap{{
    // source type     copy: column       size        rule                 dialog proposal
    {TinyInt,          {"FLOAT",          None,       R::Int},             fixed("TINYINT")},       // differs: FLOAT
    {UnsignedTinyInt,  {"FLOAT",          None,       R::Int},             fixed("TINYINT")},       // differs: FLOAT
    {SmallInt,         {"FLOAT",          None,       R::Int},             fixed("SMALLINT")},      // differs: FLOAT
    {UnsignedSmallInt, {"FLOAT",          None,       R::Int},             fixed("SMALLINT")},      // differs: FLOAT
    {Integer,          {"FLOAT",          None,       R::Int},             fixed("INT")},           // differs: FLOAT
    {UnsignedInt,      {"FLOAT",          None,       R::Int},             fixed("INT")},           // differs: FLOAT
    {BigInt,           {"BIGINT",         None,       R::Int},             fixed("BIGINT")},
    {UnsignedBigInt,   {"BIGINT",         None,       R::Int},             fixed("BIGINT")},
    {Currency,         {"VARCHAR(8000)",  None,       R::Fallback},        fixed("NUMERIC(19,4)")}, // differs: text
    {Numeric,          {"NUMERIC",        FromSource, R::Numeric},         exact("NUMERIC")},       // differs: size
    {Decimal,          {"DECIMAL",        FromSource, R::Decimal},         exact("DECIMAL")},       // differs: size
    {VarNumeric,       {"NUMERIC",        FromSource, R::Numeric},         sampled("TEXT")},        // differs: sampled
    {Single,           {"FLOAT",          None,       R::Single},          fixed("REAL")},          // differs: FLOAT
    {Double,           {"FLOAT",          None,       R::Double},          fixed("FLOAT")},
    {Boolean,          {"VARCHAR(8000)",  None,       R::Fallback},        fixed("BIT")},           // differs: text
    {Date,             {"DATETIME",       None,       R::Date},            fixed("DATETIME")},
    {DBDate,           {"DATETIME",       None,       R::Date},            fixed("DATETIME")},
    {DBTime,           {"VARCHAR(8000)",  None,       R::Fallback},        fixed("DATETIME")},      // differs: text
    {DBTimeStamp,      {"DATETIME",       None,       R::Timestamp},       fixed("DATETIME")},
    {FileTime,         {"VARCHAR(8000)",  None,       R::Fallback},        fixed("DATETIME")},      // differs: text
    {Char,             {"VARCHAR(8000)",  None,       R::Char},            sampled("TEXT")},        // differs: sampled
    {VarChar,          {"VARCHAR(8000)",  None,       R::Char},            sampled("TEXT")},        // differs: sampled
    {LongVarChar,      {"VARCHAR(8000)",  None,       R::Char},            fixed("TEXT")},          // differs: TEXT
    {WChar,            {"VARCHAR(8000)",  None,       R::Char},            sampled("TEXT")},        // differs: sampled
    {VarWChar,         {"VARCHAR(8000)",  None,       R::Char},            sampled("TEXT")},        // differs: sampled
    {LongVarWChar,     {"VARCHAR(8000)",  None,       R::Char},            fixed("TEXT")},          // differs: TEXT
    {BSTR,             {"VARCHAR(8000)",  None,       R::Fallback},        sampled("TEXT")},        // differs: sampled
    {Binary,           {"VARCHAR(8000)",  None,       R::Fallback},        sampled("TEXT")},        // differs: sampled
    {VarBinary,        {"VARCHAR(8000)",  None,       R::Fallback},        sampled("TEXT")},        // differs: sampled
    {LongVarBinary,    {"VARBINARY(MAX)", None,       R::AdLongVarBinary}, sampled("TEXT")},        // differs: sampled
    {Guid,             {"VARCHAR(8000)",  None,       R::Fallback},        sampled("TEXT")},        // differs: sampled
    {Empty,            {"VARCHAR(8000)",  None,       R::Fallback},        sampled("TEXT")},        // differs: sampled
    {Error,            {"VARCHAR(8000)",  None,       R::Fallback},        sampled("TEXT")},        // differs: sampled
    {Variant,          {"VARCHAR(8000)",  None,       R::Fallback},        sampled("TEXT")},        // differs: sampled
    {PropVariant,      {"VARCHAR(8000)",  None,       R::Fallback},        sampled("TEXT")},        // differs: sampled
    {IDispatch,        {"VARCHAR(8000)",  None,       R::Fallback},        sampled("TEXT")},        // differs: sampled
    {IUnknown,         {"VARCHAR(8000)",  None,       R::Fallback},        sampled("TEXT")},        // differs: sampled
    {UserDefined,      {"VARCHAR(8000)",  None,       R::Fallback},        sampled("TEXT")},        // differs: sampled
    {Chapter,          {"VARCHAR(8000)",  None,       R::Fallback},        sampled("TEXT")},        // differs: sampled
}};
// A number ADO gives no name has no name to test: the fallback.
constexpr Row kOtherType{Empty, {"VARCHAR(8000)", None, R::Fallback}, sampled("TEXT")};
// clang-format on

}  // namespace

const TargetTypes<CopyColumn>& targetTypes() {
    static constexpr TargetTypes<CopyColumn> kTypes{kTypeMap, kOtherType};
    return kTypes;
}

}  // namespace dorvane::sql::to_sqlserver
