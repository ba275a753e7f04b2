#include "sql/sqlserver_type_map.h"

#include <array>

namespace dorvane::sql::to_sqlserver {
namespace {

using enum db::AdoType;
using enum Values;

// clang-format off
// The lines of each side: the test and the append.
//   contained           fragment              exact   automatic   customized
constexpr std::array<ColumnRule, 11> kRules{{
    {u"char",            u"] VARCHAR(8000),",  false, {250, 252}, {194, 196}},
    {u"decimal",         u"] DECIMAL",         true,  {254, 256}, {198, 200}},
    {u"single",          u"] FLOAT,",          false, {258, 260}, {202, 204}},
    // 64-bit integers need all their digits; a FLOAT keeps only 53 bits.
    {u"bigint",          u"] BIGINT,",         false, {262, 264}, {206, 208}},
    {u"int",             u"] FLOAT,",          false, {262, 264}, {206, 208}},
    // SQL Server has no OLEOBJECT type: a CREATE naming it could never succeed.
    {u"adlongvarbinary", u"] VARBINARY(MAX),", false, {266, 268}, {210, 212}},
    {u"longvar",         u"] MEMO,",           false, {270, 272}, {214, 216}},
    {u"numeric",         u"] NUMERIC",         true,  {274, 276}, {218, 220}},
    {u"date",            u"] DATETIME,",       false, {278, 280}, {222, 224}},
    {u"timestamp",       u"] DATETIME,",       false, {282, 284}, {226, 228}},
    {u"double",          u"] FLOAT,",          false, {286, 288}, {230, 232}},
}};
// Taken when no test holds; it has no test of its own.
constexpr ColumnRule kFallback{nullptr, u"] VARCHAR(8000),", false, {290, 290}, {234, 234}};

// The dialog offers SQL Server's real, float and exact numbers, keeping their precision
// where a bare NUMERIC would be read as NUMERIC(18,0) and round to whole numbers.
// Where the copy and the dialog disagree, the row says how: "FLOAT", the copy widens to
// FLOAT; "text", the copy keeps the values as VARCHAR(8000); "size", for a source of
// unknown size the copy writes (38,16) where the dialog gives the bare name; "sampled",
// the dialog sizes a VARCHAR by the first row's value (past 255 characters, TEXT);
// "TEXT", the dialog's long text type.
constexpr std::array<TypeMapRow, 39> kTypeMap{{
    // source type     copy column       values  dialog proposal
    {TinyInt,          "FLOAT",          Quoted, fixed("TINYINT")},        // differs: FLOAT
    {UnsignedTinyInt,  "FLOAT",          Quoted, fixed("TINYINT")},        // differs: FLOAT
    {SmallInt,         "FLOAT",          Quoted, fixed("SMALLINT")},       // differs: FLOAT
    {UnsignedSmallInt, "FLOAT",          Quoted, fixed("SMALLINT")},       // differs: FLOAT
    {Integer,          "FLOAT",          Quoted, fixed("INT")},            // differs: FLOAT
    {UnsignedInt,      "FLOAT",          Quoted, fixed("INT")},            // differs: FLOAT
    {BigInt,           "BIGINT",         Quoted, fixed("BIGINT")},
    {UnsignedBigInt,   "BIGINT",         Quoted, fixed("BIGINT")},
    {Currency,         "VARCHAR(8000)",  Quoted, fixed("NUMERIC(19,4)")},  // differs: text
    {Numeric,          "NUMERIC(p,s)",   Quoted, exact("NUMERIC")},        // differs: size
    {Decimal,          "DECIMAL(p,s)",   Quoted, exact("DECIMAL")},        // differs: size
    {VarNumeric,       "NUMERIC(p,s)",   Quoted, sampled("TEXT")},         // differs: sampled
    {Single,           "FLOAT",          Quoted, fixed("REAL")},           // differs: FLOAT
    {Double,           "FLOAT",          Quoted, fixed("FLOAT")},
    {Boolean,          "VARCHAR(8000)",  Quoted, fixed("BIT")},            // differs: text
    {Date,             "DATETIME",       Quoted, fixed("DATETIME")},
    {DBDate,           "DATETIME",       Quoted, fixed("DATETIME")},
    {DBTime,           "VARCHAR(8000)",  Quoted, fixed("DATETIME")},       // differs: text
    {DBTimeStamp,      "DATETIME",       Quoted, fixed("DATETIME")},
    {FileTime,         "VARCHAR(8000)",  Quoted, fixed("DATETIME")},       // differs: text
    {Char,             "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
    {VarChar,          "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
    {LongVarChar,      "VARCHAR(8000)",  Quoted, fixed("TEXT")},           // differs: TEXT
    {WChar,            "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
    {VarWChar,         "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
    {LongVarWChar,     "VARCHAR(8000)",  Quoted, fixed("TEXT")},           // differs: TEXT
    {BSTR,             "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
    {Binary,           "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
    {VarBinary,        "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
    {LongVarBinary,    "VARBINARY(MAX)", Quoted, sampled("TEXT")},         // differs: sampled
    {Guid,             "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
    {Empty,            "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
    {Error,            "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
    {Variant,          "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
    {PropVariant,      "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
    {IDispatch,        "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
    {IUnknown,         "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
    {UserDefined,      "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
    {Chapter,          "VARCHAR(8000)",  Quoted, sampled("TEXT")},         // differs: sampled
}};
// A number ADO gives no name takes the fallback rule.
constexpr TypeMapRow kOtherType{Empty, "VARCHAR(8000)", Quoted, sampled("TEXT")};
// clang-format on

}  // namespace

const TargetTypes<ColumnRule>& targetTypes() {
    static constexpr TargetTypes<ColumnRule> kTypes{kRules, kFallback, kTypeMap, kOtherType};
    return kTypes;
}

}  // namespace dorvane::sql::to_sqlserver
