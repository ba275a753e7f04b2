#pragma once
// The types of a copy from SQL Server to PostgreSQL: what each source type becomes.

#include <cstddef>
#include <cstdint>

#include "db/values/ado_type.h"
#include "sql/type_map.h"

namespace dorvane::sql::to_postgres {

// The copy's type rules, in their order. The copy once chose a column's type by testing
// the lower-cased ADO type name for "btimestamp", "char", "longvar", "int", "currency",
// "date" and "bool" in turn, the first that held choosing, else the fallback; the table
// was derived from those tests. Each rule appends its column at a step of its own, which
// the error report names (docs/error-reports.md).
enum class TypeRule : std::uint8_t {
    BTimestamp,
    Char,
    LongVar,
    Int,
    Currency,
    Date,
    Bool,
    Fallback
};
inline constexpr std::size_t kTypeRules = 8;

// How the copy writes a column's values into its INSERT statements: numeric columns
// without quotes.
enum class Values : std::uint8_t { Quoted, Unquoted };

// The column the copy writes for a source type; its detail says how its values are written.
using CopyColumn = CopyColumnOf<Values, TypeRule>;

// A row for every named ADO type, side by side with the dialog's proposal.
const TargetTypes<CopyColumn>& targetTypes();

inline const TypeMapRow<CopyColumn>& rowFor(db::AdoType source) {
    return targetTypes().rowFor(source);
}

}  // namespace dorvane::sql::to_postgres
