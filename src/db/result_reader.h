#pragma once
// Runs statements on an open ODBC connection.

#include <QString>
#include <cstddef>
#include <memory>

#include "db/row_source.h"

namespace dorvane::db {

class OdbcConnection;

// Runs the statement and works through all its results, so an error in any of them
// is thrown; rows are discarded.
void executeDiscarding(OdbcConnection& connection, const QString& sql, int queryTimeoutSeconds);

// Runs the statement and reads every row of its first result that has columns; the
// remaining results are worked through for their errors.
std::unique_ptr<RowSource> executeReading(OdbcConnection& connection, const QString& sql,
                                          int queryTimeoutSeconds, std::size_t rowMemoryBound);

// The tables catalogue (SQLTables without restrictions), read completely.
std::unique_ptr<RowSource> readTablesCatalogue(OdbcConnection& connection, int queryTimeoutSeconds,
                                               std::size_t rowMemoryBound);

}  // namespace dorvane::db
