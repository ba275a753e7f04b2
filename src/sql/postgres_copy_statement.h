#pragma once
// The COPY statement that starts a copy of rows into a PostgreSQL table (see
// copy_text.h for the rows and db/bulk/postgres_copy.h for sending them).

#include <QString>
#include <span>

namespace dorvane::sql::to_postgres {

// COPY "t" FROM STDIN, taking the rows' fields by position as the INSERT does; with
// `columns`, COPY "t" ("a","b") FROM STDIN. Every name stands between double quotes.
QString copyStatement(const QString& table, std::span<const QString> columns = {});

}  // namespace dorvane::sql::to_postgres
