#include "sql/postgres_type_map.h"

#include <array>

namespace dorvane::sql::to_postgres {
namespace {

using enum db::AdoType;
using enum Values;

// Floating and exact decimal types fall through to TEXT and keep all their digits.
// clang-format off
// The lines of each side: the test, the append and, for a numeric column, its index.
//   contained      fragment        numeric automatic        customized
constexpr std::array<ColumnRule, 7> kRules{{
    {u"btimestamp", u" TIMESTAMP,", false, {260, 262},      {206, 208}},
    {u"char",       u" TEXT,",      false, {264, 266},      {210, 212}},
    {u"longvar",    u" TEXT,",      false, {272, 274},      {218, 220}},
    {u"int",        u" NUMERIC,",   true,  {276, 278, 280}, {222, 224, 226}},
    {u"currency",   u" NUMERIC,",   true,  {282, 284, 286}, {228, 230, 232}},
    {u"date",       u" DATE,",      false, {288, 290},      {234, 236}},
    {u"bool",       u" BOOL,",      false, {292, 294},      {238, 240}},
}};
// Taken when no test holds; it has no test of its own.
constexpr ColumnRule kFallback{nullptr, u" TEXT,", false, {296, 296}, {242, 242}};

// Where the copy and the dialog disagree, the row says how: "width", the dialog keeps an
// integer's width; "digits", the copy keeps every digit of a number as TEXT; "time", the
// dialog gives a date a time of day; "text", the copy keeps a time as TEXT; "sampled", the
// dialog sizes a VARCHAR by the first row's value (past 255 characters, MEMO); "MEMO", the
// dialog's long text type.
constexpr std::array<TypeMapRow, 39> kTypeMap{{
    // source type     copy column  values    dialog proposal
    {TinyInt,          "NUMERIC",   Unquoted, fixed("SMALLINT")},   // differs: width
    {UnsignedTinyInt,  "NUMERIC",   Unquoted, fixed("SMALLINT")},   // differs: width
    {SmallInt,         "NUMERIC",   Unquoted, fixed("SMALLINT")},   // differs: width
    {UnsignedSmallInt, "NUMERIC",   Unquoted, fixed("SMALLINT")},   // differs: width
    {Integer,          "NUMERIC",   Unquoted, fixed("INT")},        // differs: width
    {UnsignedInt,      "NUMERIC",   Unquoted, fixed("INT")},        // differs: width
    {BigInt,           "NUMERIC",   Unquoted, fixed("BIGINT")},     // differs: width
    {UnsignedBigInt,   "NUMERIC",   Unquoted, fixed("BIGINT")},     // differs: width
    {Currency,         "NUMERIC",   Unquoted, fixed("NUMERIC")},
    {Numeric,          "TEXT",      Quoted,   fixed("NUMERIC")},    // differs: digits
    {Decimal,          "TEXT",      Quoted,   fixed("NUMERIC")},    // differs: digits
    {VarNumeric,       "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {Single,           "TEXT",      Quoted,   fixed("NUMERIC")},    // differs: digits
    {Double,           "TEXT",      Quoted,   fixed("NUMERIC")},    // differs: digits
    {Boolean,          "BOOL",      Quoted,   fixed("bool")},
    {Date,             "DATE",      Quoted,   fixed("timestamp")},  // differs: time
    {DBDate,           "DATE",      Quoted,   fixed("timestamp")},  // differs: time
    {DBTime,           "TEXT",      Quoted,   fixed("timestamp")},  // differs: text
    {DBTimeStamp,      "TIMESTAMP", Quoted,   fixed("timestamp")},
    {FileTime,         "TEXT",      Quoted,   fixed("timestamp")},  // differs: text
    {Char,             "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {VarChar,          "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {LongVarChar,      "TEXT",      Quoted,   fixed("MEMO")},       // differs: MEMO
    {WChar,            "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {VarWChar,         "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {LongVarWChar,     "TEXT",      Quoted,   fixed("MEMO")},       // differs: MEMO
    {BSTR,             "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {Binary,           "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {VarBinary,        "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {LongVarBinary,    "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {Guid,             "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {Empty,            "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {Error,            "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {Variant,          "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {PropVariant,      "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {IDispatch,        "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {IUnknown,         "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {UserDefined,      "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
    {Chapter,          "TEXT",      Quoted,   sampled("MEMO")},     // differs: sampled
}};
// A number ADO gives no name takes the fallback rule.
constexpr TypeMapRow kOtherType{Empty, "TEXT", Quoted, sampled("MEMO")};
// clang-format on

}  // namespace

const TargetTypes<ColumnRule>& targetTypes() {
    static constexpr TargetTypes<ColumnRule> kTypes{kRules, kFallback, kTypeMap, kOtherType};
    return kTypes;
}

}  // namespace dorvane::sql::to_postgres
