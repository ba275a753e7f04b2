#pragma once
// Filling a table list from a server's catalogue. Failures propagate to the caller.

#include "app/controls.h"
#include "app/platform.h"
#include "db/connection_strings.h"

namespace dorvane::db {

// Tables of type "TABLE" whose upper-cased names do not contain "SYS".
void listMssqlTables(const MssqlProfile& profile, ListBox& list, Platform& platform);
// Every row of pg_tables, system schemas included.
void listPostgresTables(const PostgresProfile& profile, ListBox& list, Platform& platform);

}  // namespace dorvane::db
