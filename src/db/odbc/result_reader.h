#pragma once
// Runs statements on an open ODBC connection.

#include <QString>
#include <cstddef>
#include <memory>

#include "db/odbc/ado_types.h"
#include "db/odbc/odbc_handle.h"
#include "db/odbc/row_source.h"
#include "db/odbc/snapshot_transaction.h"

namespace dorvane::db {

class OdbcConnection;

struct DescribedColumns {
    std::vector<FieldInfo> fields;
    std::vector<FetchKind> kinds;
};

// Runs the statement and moves to its first result that has columns, described in
// `columns` (left empty when no result has any). The statement's rows are still to be read.
// `kind` is the server the connection talks to: on PostgreSQL a single query's dates and
// timestamps are read as the server's text (see postgres_date_query.h).
OdbcHandle executeForRows(OdbcConnection& connection, ServerKind kind, const QString& sql,
                          int queryTimeoutSeconds, DescribedColumns& columns);
// Works through the statement's remaining results, so an error in any of them is thrown.
void finishResults(SQLHSTMT statement);

// Runs the statement and works through all its results, so an error in any of them
// is thrown; rows are discarded.
void executeDiscarding(OdbcConnection& connection, const QString& sql, int queryTimeoutSeconds);

// Runs the statement and reads every row of its first result that has columns; the
// remaining results are worked through for their errors.
// `kind` is the server the connection talks to.
std::unique_ptr<RowSource> executeReading(OdbcConnection& connection, ServerKind kind,
                                          const QString& sql, int queryTimeoutSeconds,
                                          std::size_t rowMemoryBound);

// The tables catalogue (SQLTables without restrictions), read completely.
std::unique_ptr<RowSource> readTablesCatalogue(OdbcConnection& connection, int queryTimeoutSeconds,
                                               std::size_t rowMemoryBound);

}  // namespace dorvane::db
