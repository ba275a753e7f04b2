#pragma once
// The program's connection strings adapted to the ODBC driver that will read them,
// just before connecting. The strings the program builds and shows stay unchanged.

#include <QString>

namespace dorvane::db {

// psqlODBC fetches this many rows per round trip in its cursor mode.
constexpr int kPostgresFetchRows = 256;

// For {SQL Server} (FreeTDS) and the PostgreSQL drivers (psqlODBC); other strings are
// returned as given.
QString adaptConnectionString(const QString& connectionString);

// True when the string names {SQL Server}, which FreeTDS serves.
bool namesFreeTds(const QString& connectionString);

}  // namespace dorvane::db
