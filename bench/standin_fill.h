#pragma once
// A large SQL Server table in little time: made through the stand-in, then filled in
// the PostgreSQL database behind it with generate_series. Inserting millions of rows
// one statement at a time over TDS would take hours; this works with the stand-in only.

#include <QString>

#include "bench_servers.h"

namespace dorvane::bench {

// False when the SQL Server is not the stand-in (DORVANE_STANDIN_LOG unset).
bool standinInUse();

// Creates `table` on the SQL Server side with `columns` (as CREATE TABLE lists them)
// and `rows` rows, made by `selectList` over generate_series(1, rows) g.
void makeMssqlTable(const EnvProfiles& profiles, const QString& table, const QString& columns,
                    const QString& selectList, long rows);

}  // namespace dorvane::bench
