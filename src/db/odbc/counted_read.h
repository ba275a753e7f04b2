#pragma once
// Opening a statement's rows so that the caller can start on them before the last has
// arrived: inside a snapshot transaction the rows are counted, then read on a thread of
// their own (RowStream) while the caller works through them. The count is exact because
// both statements see the same snapshot.

#include <QString>
#include <cstddef>
#include <memory>

#include "db/odbc/row_source.h"
#include "db/odbc/row_stream.h"
#include "db/odbc/snapshot_transaction.h"

namespace dorvane::db {

class OdbcConnection;

// Null when the server gives no snapshot here, or the statement cannot be counted; the
// caller then reads the rows whole, which also reports any error the statement has.
// `stream` receives the reading, which the connection must settle before its next use.
std::unique_ptr<RowSource> openCounted(OdbcConnection& connection, ServerKind kind,
                                       const QString& sql, int queryTimeoutSeconds,
                                       std::size_t rowMemoryBound, ReaderPriority priority,
                                       std::shared_ptr<RowStream>& stream);

}  // namespace dorvane::db
