#pragma once
// The user tables of a server, by name, in the order its catalogue gives them. Failures
// propagate as DbError. `whileWaiting` runs while the server is waited for (see
// Connection::setWhileWaiting).

#include <QStringList>

#include "db/odbc/waiting_call.h"
#include "db/values/connection_strings.h"

namespace dorvane::db {

// Tables of type "TABLE", as named, leaving out names that carry the letters S, Y, S.
QStringList mssqlTableNames(const MssqlProfile& profile, const WhileWaiting& whileWaiting = {});
// Every row of pg_tables, unfiltered.
QStringList postgresTableNames(const PostgresProfile& profile,
                               const WhileWaiting& whileWaiting = {});

}  // namespace dorvane::db
