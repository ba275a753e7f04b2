#pragma once
// A transaction in which every read sees the same snapshot of the database, so that a
// table's rows can be counted first and then read while the count still holds. SQL
// Server gives one only where the database allows snapshot isolation; PostgreSQL always
// does (repeatable read).

#include <QString>

namespace dorvane::db {

class OdbcConnection;

enum class ServerKind { SqlServer, Postgres, Other };

// Asks the driver which server it is connected to.
ServerKind serverKindOf(OdbcConnection& connection);

// Whether the server kind can give such a transaction at all.
bool offersSnapshots(ServerKind kind);

// Starts the transaction (throws DbError when the server refuses). Whether a SQL Server
// database allows it shows only at the first statement that reads.
void beginSnapshot(OdbcConnection& connection, ServerKind kind, int queryTimeoutSeconds);

// Commits or rolls back, and leaves the connection as it was before beginSnapshot.
// Throws DbError; on rollback the caller usually has a better error to report.
void endSnapshot(OdbcConnection& connection, ServerKind kind, int queryTimeoutSeconds, bool commit);

// A statement returning, as its one value, the number of rows of `query`.
QString countStatement(ServerKind kind, const QString& query);

}  // namespace dorvane::db
