#pragma once
// A transaction on one connection: statements sent after the begin take effect together
// at the commit, or not at all. Both servers undo DDL on rollback as well.

#include "db/odbc/snapshot_transaction.h"

namespace dorvane::db {

class OdbcConnection;

// Throws DbError when the server refuses, or gives no transactions (ServerKind::Other).
void beginTransaction(OdbcConnection& connection, ServerKind kind, int queryTimeoutSeconds);

// Commits or rolls back and leaves the connection committing each statement again.
void endTransaction(OdbcConnection& connection, ServerKind kind, int queryTimeoutSeconds,
                    bool commit);

}  // namespace dorvane::db
