#include "sql/postgres_type_map.h"

#include <array>

namespace dorvane::sql::to_postgres {
namespace {

using enum db::AdoType;
using enum Values;
// The rules as R::Int and so on: several share a name with an ADO type.
using R = TypeRule;
using Row = TypeMapRow<CopyColumn>;

// Derived from the copy's original substring tests on the lower-cased ADO type name, in
// their order (see TypeRule): the rule each type fell to, and the column that rule wrote.
// Floating and exact decimal types fall through to TEXT and keep all their digits.
// Where the copy and the dialog disagree, the row says how: "width", the dialog keeps an
// integer's width; "digits", the copy keeps every digit of a number as TEXT; "time", the
// dialog gives a date a time of day; "text", the copy keeps a time as TEXT; "sampled", the
// dialog sizes a VARCHAR by the first row's value (past 255 characters, MEMO); "MEMO", the
// dialog's long text type.
// clang-format off
constexpr std::array<Row, 39> kTypeMap{{
    // source type     copy: column  values    rule            dialog proposal
    {TinyInt,          {"NUMERIC",   Unquoted, R::Int},        fixed("SMALLINT")},  // differs: width
    {UnsignedTinyInt,  {"NUMERIC",   Unquoted, R::Int},        fixed("SMALLINT")},  // differs: width
    {SmallInt,         {"NUMERIC",   Unquoted, R::Int},        fixed("SMALLINT")},  // differs: width
    {UnsignedSmallInt, {"NUMERIC",   Unquoted, R::Int},        fixed("SMALLINT")},  // differs: width
    {Integer,          {"NUMERIC",   Unquoted, R::Int},        fixed("INT")},       // differs: width
    {UnsignedInt,      {"NUMERIC",   Unquoted, R::Int},        fixed("INT")},       // differs: width
    {BigInt,           {"NUMERIC",   Unquoted, R::Int},        fixed("BIGINT")},    // differs: width
    {UnsignedBigInt,   {"NUMERIC",   Unquoted, R::Int},        fixed("BIGINT")},    // differs: width
    {Currency,         {"NUMERIC",   Unquoted, R::Currency},   fixed("NUMERIC")},
    {Numeric,          {"TEXT",      Quoted,   R::Fallback},   fixed("NUMERIC")},   // differs: digits
    {Decimal,          {"TEXT",      Quoted,   R::Fallback},   fixed("NUMERIC")},   // differs: digits
    {VarNumeric,       {"TEXT",      Quoted,   R::Fallback},   sampled("MEMO")},    // differs: sampled
    {Single,           {"TEXT",      Quoted,   R::Fallback},   fixed("NUMERIC")},   // differs: digits
    {Double,           {"TEXT",      Quoted,   R::Fallback},   fixed("NUMERIC")},   // differs: digits
    {Boolean,          {"BOOL",      Quoted,   R::Bool},       fixed("bool")},
    {Date,             {"DATE",      Quoted,   R::Date},       fixed("timestamp")}, // differs: time
    {DBDate,           {"DATE",      Quoted,   R::Date},       fixed("timestamp")}, // differs: time
    {DBTime,           {"TEXT",      Quoted,   R::Fallback},   fixed("timestamp")}, // differs: text
    {DBTimeStamp,      {"TIMESTAMP", Quoted,   R::BTimestamp}, fixed("timestamp")},
    {FileTime,         {"TEXT",      Quoted,   R::Fallback},   fixed("timestamp")}, // differs: text
    {Char,             {"TEXT",      Quoted,   R::Char},       sampled("MEMO")},    // differs: sampled
    {VarChar,          {"TEXT",      Quoted,   R::Char},       sampled("MEMO")},    // differs: sampled
    {LongVarChar,      {"TEXT",      Quoted,   R::Char},       fixed("MEMO")},      // differs: MEMO
    {WChar,            {"TEXT",      Quoted,   R::Char},       sampled("MEMO")},    // differs: sampled
    {VarWChar,         {"TEXT",      Quoted,   R::Char},       sampled("MEMO")},    // differs: sampled
    {LongVarWChar,     {"TEXT",      Quoted,   R::Char},       fixed("MEMO")},      // differs: MEMO
    {BSTR,             {"TEXT",      Quoted,   R::Fallback},   sampled("MEMO")},    // differs: sampled
    {Binary,           {"TEXT",      Quoted,   R::Fallback},   sampled("MEMO")},    // differs: sampled
    {VarBinary,        {"TEXT",      Quoted,   R::Fallback},   sampled("MEMO")},    // differs: sampled
    {LongVarBinary,    {"TEXT",      Quoted,   R::LongVar},    sampled("MEMO")},    // differs: sampled
    {Guid,             {"TEXT",      Quoted,   R::Fallback},   sampled("MEMO")},    // differs: sampled
    {Empty,            {"TEXT",      Quoted,   R::Fallback},   sampled("MEMO")},    // differs: sampled
    {Error,            {"TEXT",      Quoted,   R::Fallback},   sampled("MEMO")},    // differs: sampled
    {Variant,          {"TEXT",      Quoted,   R::Fallback},   sampled("MEMO")},    // differs: sampled
    {PropVariant,      {"TEXT",      Quoted,   R::Fallback},   sampled("MEMO")},    // differs: sampled
    {IDispatch,        {"TEXT",      Quoted,   R::Fallback},   sampled("MEMO")},    // differs: sampled
    {IUnknown,         {"TEXT",      Quoted,   R::Fallback},   sampled("MEMO")},    // differs: sampled
    {UserDefined,      {"TEXT",      Quoted,   R::Fallback},   sampled("MEMO")},    // differs: sampled
    {Chapter,          {"TEXT",      Quoted,   R::Fallback},   sampled("MEMO")},    // differs: sampled
}};
// A number ADO gives no name has no name to test: the fallback.
constexpr Row kOtherType{Empty, {"TEXT", Quoted, R::Fallback}, sampled("MEMO")};
// clang-format on

}  // namespace

const TargetTypes<CopyColumn>& targetTypes() {
    static constexpr TargetTypes<CopyColumn> kTypes{kTypeMap, kOtherType};
    return kTypes;
}

}  // namespace dorvane::sql::to_postgres
