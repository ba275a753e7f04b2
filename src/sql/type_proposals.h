#pragma once
// The target type proposed for one source column, from its ADO type and the value it
// holds in the table's first row.

#include <QString>

#include "db/odbc/recordset.h"
#include "db/values/value.h"

namespace dorvane::sql {

// The server the table will be created on.
enum class TargetServer { PostgreSQL, SqlServer };

// `firstRowValue` is null when the table has no rows.
QString proposedType(TargetServer target, const db::FieldInfo& field,
                     const db::Value* firstRowValue);

// VARCHAR sized to the sample: "VARCHAR(255)" without a usable sample, the long-text
// type past 255 characters.
QString sampledTextType(const db::Value* firstRowValue, const QString& longTextType);

}  // namespace dorvane::sql
