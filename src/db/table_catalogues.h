#pragma once
// The user tables of a server, by name, in the order its catalogue gives them. Failures
// propagate as DbError.

#include <QStringList>

#include "db/connection_strings.h"

namespace dorvane::db {

// Tables of type "TABLE", as named, leaving out names that carry the letters S, Y, S.
QStringList mssqlTableNames(const MssqlProfile& profile);
// Every row of pg_tables, unfiltered.
QStringList postgresTableNames(const PostgresProfile& profile);

}  // namespace dorvane::db
