#pragma once
// The source table's columns with a proposed target type for each, from one sampled
// row. Failures propagate to the caller (the dialog's load step reports them).

#include <QString>

#include "core/controls.h"
#include "db/odbc/waiting_call.h"
#include "db/values/connection_strings.h"

namespace dorvane::customize {

// The one-row queries. The name is quoted as everywhere else: "]" doubled inside the
// brackets, '"' doubled inside the double quotes; other names appear exactly as held.
QString mssqlSampleQuery(const QString& tableName);
QString postgresSampleQuery(const QString& tableName);

// Reads a SQL Server table and appends, per column, its name to `fields` and a
// PostgreSQL type to `dataTypes`, so row i of both lists describes column i.
// `whileWaiting` runs while the server is waited for (see Connection::setWhileWaiting).
// With `natural`, the types proposed are the natural ones, with the NULL rule, identity
// and a one-column primary key.
void LoadMSSQLFields(const db::MssqlProfile& profile, const QString& tableName,
                     core::ListBox& fields, core::ListBox& dataTypes,
                     const db::WhileWaiting& whileWaiting = {}, bool natural = false);
// The same for a PostgreSQL table, proposing SQL Server types.
void LoadPostgreSQLFields(const db::PostgresProfile& profile, const QString& tableName,
                          core::ListBox& fields, core::ListBox& dataTypes,
                          const db::WhileWaiting& whileWaiting = {}, bool natural = false);

}  // namespace dorvane::customize
