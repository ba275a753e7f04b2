#pragma once
// Fill a list box with the user tables of a server. Failures propagate as DbError.

#include "db/connection_strings.h"

namespace dorvane {
class ListBox;
class Platform;
}  // namespace dorvane

namespace dorvane::db {

// Tables of type "TABLE", as named, leaving out names that carry the letters S, Y, S.
void listMssqlTables(const MssqlProfile& profile, ListBox& list, Platform& platform);
// Every row of pg_tables, unfiltered.
void listPostgresTables(const PostgresProfile& profile, ListBox& list, Platform& platform);

}  // namespace dorvane::db
