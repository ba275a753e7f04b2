#pragma once
// The two test servers, and the two directions of a copy between them, as parameters
// of the tests that run one case against each.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "copy_check.h"
#include "sql/postgres_statements.h"
#include "sql/sql_quoting.h"
#include "sql/sqlserver_statements.h"
#include "test_servers.h"
#include "transfer/send_tables.h"
#include "transfer_harness.h"

namespace dorvane::testing {

// One server as a test reaches it: directly, for setup and checks, and through its list
// on the transfer screen.
struct ServerSide {
    const char* name;
    Server server;
    std::function<void(const QString&)> exec;
    std::function<QString(const QString&)> quote;
    std::function<bool(const QString&)> exists;
    std::function<long long(const QString&)> rowCount;
    // Every row of a table, in whatever order the server returns them.
    std::function<Rows(const QString&)> rows;
    core::MemoryListBox TransferHarness::*list;
};

inline const ServerSide kSqlServerSide{
    "SqlServer",
    Server::SqlServer,
    execMssql,
    [](const QString& t) { return sql::bracketedName(t); },
    mssqlTableExists,
    mssqlRowCount,
    [](const QString& t) { return mssqlRows("SELECT * FROM " + sql::bracketedName(t)); },
    &TransferHarness::mssqlTables};

inline const ServerSide kPostgresSide{
    "Postgres",
    Server::Postgres,
    execPostgres,
    [](const QString& t) { return sql::doubleQuotedName(t); },
    postgresTableExists,
    postgresRowCount,
    [](const QString& t) { return postgresRows("SELECT * FROM " + sql::doubleQuotedName(t)); },
    &TransferHarness::postgresTables};

// One direction of the copy.
struct Direction {
    const char* name;
    ServerSide source;
    ServerSide target;
    std::function<QString(const QString&)> columnHead;
    // The usual check that a source table arrived whole as a target table.
    std::function<::testing::AssertionResult(const QString&, const QString&)> copied;
    core::MemoryCheckBox TransferHarness::*customizeBox;
    core::MemoryCheckBox TransferHarness::*fastCopyBox;
    core::MemoryCheckBox TransferHarness::*naturalTypesBox;
    void (*send)(transfer::CommandContext&, core::YieldPolicy);
};

inline const Direction kToPostgres{
    .name = "ToPostgres",
    .source = kSqlServerSide,
    .target = kPostgresSide,
    .columnHead = sql::to_postgres::columnHead,
    .copied = copiedToPostgres,
    .customizeBox = &TransferHarness::customizeToPostgres,
    .fastCopyBox = &TransferHarness::fastCopyToPostgres,
    .naturalTypesBox = &TransferHarness::naturalTypesToPostgres,
    .send = transfer::sendTablesToPostgres,
};

inline const Direction kToSqlServer{
    .name = "ToSqlServer",
    .source = kPostgresSide,
    .target = kSqlServerSide,
    .columnHead = sql::to_sqlserver::columnHead,
    .copied = copiedToSqlServer,
    .customizeBox = &TransferHarness::customizeToSqlServer,
    .fastCopyBox = &TransferHarness::fastCopyToSqlServer,
    .naturalTypesBox = &TransferHarness::naturalTypesToSqlServer,
    .send = transfer::sendTablesToSqlServer,
};

// Failure output names the parameter rather than dumping its bytes.
inline void PrintTo(const ServerSide& side, std::ostream* os) {
    *os << side.name;
}
inline void PrintTo(const Direction& direction, std::ostream* os) {
    *os << direction.name;
}

}  // namespace dorvane::testing
