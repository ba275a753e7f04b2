#pragma once
// The types of a copy from PostgreSQL to SQL Server: what each source type becomes.
// Every value is quoted on SQL Server.

#include <cstddef>
#include <cstdint>

#include "db/values/ado_type.h"
#include "sql/type_map.h"

namespace dorvane::sql::to_sqlserver {

// The copy's type rules, in their order. The copy once chose a column's type by testing
// the lower-cased ADO type name for "char", "decimal", "single", "bigint" and "int" (one
// rule, at one step), "adlongvarbinary", "longvar", "numeric", "date", "timestamp" and
// "double" in turn, the first that held choosing, else the fallback; the table was derived
// from those tests. Each rule appends its column at a step of its own, which the error
// report names (docs/error-reports.md).
enum class TypeRule : std::uint8_t {
    Char,
    Decimal,
    Single,
    Int,
    AdLongVarBinary,
    LongVar,
    Numeric,
    Date,
    Timestamp,
    Double,
    Fallback,
};
inline constexpr std::size_t kTypeRules = 11;

// Whether the column's type is followed by a size of its own.
enum class Size : std::uint8_t {
    None,
    FromSource,  // the source's "(precision,scale)" (exactSizeOf)
};

// The column the copy writes for a source type; its detail says whether a size follows.
using CopyColumn = CopyColumnOf<Size, TypeRule>;

// A row for every named ADO type, side by side with the dialog's proposal.
const TargetTypes<CopyColumn>& targetTypes();

inline const TypeMapRow<CopyColumn>& rowFor(db::AdoType source) {
    return targetTypes().rowFor(source);
}

}  // namespace dorvane::sql::to_sqlserver
