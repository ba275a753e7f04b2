#pragma once
// What the catalogue of each server says of a source table's columns and primary key, as
// "Natural types" reads it: the queries, and their rows read into a SourceTable.

#include <QString>
#include <span>
#include <vector>

#include "db/odbc/connection.h"
#include "db/values/value.h"
#include "sql/natural_types.h"

namespace dorvane::sql {

using CatalogueRow = std::vector<db::Value>;

namespace from_sqlserver {
// The documented catalogue procedures; sp_columns takes a LIKE pattern, so the name's
// wildcards are escaped, and its rows are then matched to the name exactly.
QString columnsStatement(const QString& table);
QString primaryKeyStatement(const QString& table);
// `columns`: the rows of columnsStatement; `key`: those of primaryKeyStatement.
SourceTable sourceTable(const QString& table, std::span<const CatalogueRow> columns,
                        std::span<const CatalogueRow> key);
}  // namespace from_sqlserver

namespace from_postgres {
QString columnsStatement(const QString& table);
QString primaryKeyStatement(const QString& table);
SourceTable sourceTable(std::span<const CatalogueRow> columns, std::span<const CatalogueRow> key);
}  // namespace from_postgres

// The table `table` as the catalogue of `source` describes it, a SQL Server when
// `sqlServer`; throws when it describes no column.
SourceTable describeTable(db::Connection& source, bool sqlServer, const QString& table);

}  // namespace dorvane::sql
