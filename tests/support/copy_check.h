#pragma once
// After a copy that reported no failure: does the target hold every source row? Both
// tables are read through the database layer; per column, the values of the source are
// brought into the form the target column's type holds, and an order-independent
// checksum of each side is compared, together with the row counts.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include "db/values/ado_type.h"
#include "db/values/value.h"

namespace dorvane::testing {

enum class Server { Postgres, SqlServer };

// What kind of value a target column holds, from its ADO type code.
// NarrowText: a SQL Server char/varchar column, which keeps code page 1252 only.
enum class ColumnKind {
    Exact,
    Single,
    Double,
    Boolean,
    Date,
    Time,
    Timestamp,
    Binary,
    Text,
    NarrowText
};
ColumnKind columnKindOf(db::AdoType adoType, Server server);

// The comparable form of a value once it sits in a column of `kind` on `server`. A null
// is the empty QString (isNull), never confused with an empty text. `singleSource`: the
// source column held 4-byte floats, compared at that width.
QString comparableForm(const db::Value& value, ColumnKind kind, Server server,
                       bool singleSource = false);

// Success when both tables have the same number of rows and columns and every column's
// checksum matches; otherwise names the columns that differ (and, for small tables,
// values found on one side only).
::testing::AssertionResult sameContents(Server from, const QString& sourceTable, Server to,
                                        const QString& targetTable);

// The usual check after a copy between the two test servers.
::testing::AssertionResult copiedToPostgres(const QString& sqlServerTable,
                                            const QString& postgresTable);
::testing::AssertionResult copiedToSqlServer(const QString& postgresTable,
                                             const QString& sqlServerTable);

}  // namespace dorvane::testing
